// Screen density: the system's and a window's, read through the functions newer
// systems have, looked up at run time so that an older system (or a Wine without
// them) falls back to the screen's device capabilities.
#include "tr_olcek.h"

namespace {

using DpiOkuyucu = UINT(WINAPI*)(void);
using PencereDpiOkuyucu = UINT(WINAPI*)(HWND);

// A function of user32 by name as the pointer type it has, or null where the system
// lacks it. (Through void*: a direct cast between function types draws a warning.)
template <typename Islev>
Islev user32_islevi(const char* ad) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    FARPROC islev = user32 != nullptr ? GetProcAddress(user32, ad) : nullptr;
    return reinterpret_cast<Islev>(reinterpret_cast<void*>(islev));
}

int32_t ekran_dpi() {
    HDC ekran = GetDC(nullptr);
    if (ekran == nullptr) return kTrTemelDpi;
    const int dpi = GetDeviceCaps(ekran, LOGPIXELSX);
    ReleaseDC(nullptr, ekran);
    return tr_gecerli_dpi(dpi);
}

}  // namespace

int32_t tr_sistem_dpi() {
    static int32_t dpi = 0;
    if (dpi != 0) return dpi;
    const auto oku = user32_islevi<DpiOkuyucu>("GetDpiForSystem");
    dpi = oku != nullptr ? tr_gecerli_dpi(oku()) : ekran_dpi();
    return dpi;
}

int32_t tr_pencere_dpi_oku(HWND pencere) {
    if (pencere == nullptr) return kTrTemelDpi;
    static const auto oku = user32_islevi<PencereDpiOkuyucu>("GetDpiForWindow");
    if (oku == nullptr) return tr_sistem_dpi();
    const UINT dpi = oku(pencere);
    return dpi != 0 ? tr_gecerli_dpi(dpi) : tr_sistem_dpi();
}

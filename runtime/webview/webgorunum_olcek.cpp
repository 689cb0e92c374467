// The page's scale: one engine pixel per screen pixel at any DPI.
//
// The view's bounds stay in the host window's own pixels (the engine's raw-pixel
// bounds, its default); the engine is told the scale to render the page at, the
// host window's DPI / 96. The window runtime handles a change of DPI (a window moved
// to another monitor, the user's setting) by laying its window out again, which
// sets the view's bounds: that is when the scale is compared, which costs one call
// for the window's DPI. The runtime is the scale's only source: the engine's own
// following of the monitor is switched off, so the two never disagree.
#include <windows.h>

#include "webview/webgorunum_ic.h"

namespace {

// GetDpiForWindow where the system has it (not before Windows 10), else the
// system's DPI; 96 when neither answers.
UINT host_dpisi(HWND pencere) {
    using DpiIslevi = UINT(WINAPI*)(HWND);
    static const DpiIslevi dpi_islevi = reinterpret_cast<DpiIslevi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    UINT dpi = dpi_islevi != nullptr ? dpi_islevi(pencere) : 0;
    if (dpi == 0) {
        HDC ekran = GetDC(nullptr);
        if (ekran != nullptr) {
            dpi = static_cast<UINT>(GetDeviceCaps(ekran, LOGPIXELSX));
            ReleaseDC(nullptr, ekran);
        }
    }
    return dpi > 0 ? dpi : 96;
}

}  // namespace

void olcegi_esitle(Gorunum& kayit) {
    if (kayit.controller == nullptr || kayit.hwnd == nullptr) return;
    const UINT dpi = host_dpisi(kayit.hwnd);
    if (dpi == kayit.olcek_dpisi) return;
    const bool ilk = kayit.olcek_dpisi == 0;
    // Kept even when the engine has no scale to set (an older one renders at its
    // own): the check stays one call.
    kayit.olcek_dpisi = dpi;
    ICoreWebView2Controller3* denetleyici3 = nullptr;
    if (FAILED(kayit.controller->QueryInterface(IID_ICoreWebView2Controller3,
                                                reinterpret_cast<void**>(&denetleyici3))) ||
        denetleyici3 == nullptr) {
        return;
    }
    if (ilk) denetleyici3->put_ShouldDetectMonitorScaleChanges(FALSE);
    denetleyici3->put_RasterizationScale(dpi / 96.0);
    denetleyici3->Release();
}

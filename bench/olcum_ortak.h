// What Korva's benchmark and the bare-tree reference share: the clock, medians, the
// output lines ("name value unit", collected by bench/run), a completion handler for
// the engine's asynchronous creation calls, and the two ways both programs drive
// and settle the screen (a click on a tab; painting everything that waits).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace olcum {

inline double saniye() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The wall clock in seconds since 1970, as the Linux side reads it (Wine takes the
// system time from the host): a moment this program notes can be matched with the
// time stamps of a screen capture taken beside it.
inline double unix_saniye() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    const uint64_t ticks = (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<double>(ticks) / 1e7 - 11644473600.0;
}

inline double ortanca(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

inline void yaz(const char* name, double value, const char* unit) {
    std::printf("%s %.6g %s\n", name, value, unit);
    std::fflush(stdout);
}

// A completion handler that only notes its result.
template <typename Arayuz, typename Sonuc>
class Tamamlama : public Arayuz {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Invoke(HRESULT, Sonuc* result) override {
        sonuc = result;
        if (result != nullptr) result->AddRef();
        bitti = true;
        return S_OK;
    }
    Sonuc* sonuc = nullptr;
    bool bitti = false;
};

inline void bitene_kadar_pompala(const bool& done) {
    MSG message;
    while (!done) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (!done) MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

// Dispatches messages until `kosul` holds or `ms` pass; whether it holds.
template <class Kosul>
bool kosula_kadar_pompala(Kosul kosul, DWORD ms = 60000) {
    const ULONGLONG son = GetTickCount64() + ms;
    while (!kosul()) {
        if (GetTickCount64() >= son) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    return true;
}

// Paints every window of the tree that waits to be painted, so that a figure ends
// with the screen drawn and not merely invalidated.
inline void cizilene_kadar(HWND top) {
    RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
}

// The whole window, invalidated, erased and painted at once.
inline void tumunu_ciz(HWND top) {
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
}

// A user's click on a tab, on its title or on its close mark, as a press and release.
inline void sekmeye_tikla(HWND strip, int position, bool close_mark) {
    RECT item;
    if (!SendMessageW(strip, TCM_GETITEMRECT, position, reinterpret_cast<LPARAM>(&item))) return;
    const LPARAM point = MAKELPARAM(close_mark ? item.right - 3 : item.left + 6, (item.top + item.bottom) / 2);
    PostMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(strip, WM_LBUTTONUP, 0, point);
}

}  // namespace olcum

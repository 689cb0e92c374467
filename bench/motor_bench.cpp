// The web engine's share of Korva's speed: the same measurements with whichever
// engine library is on the library path (bench/engine runs it once with each).
// Prints "name value unit" lines; asserts nothing.
//
//   motor_bench gezinti URL_A URL_B   navigating between two local pages: to the
//                                     navigation's completion, and to the new page's
//                                     first frame on screen (the pages have plain
//                                     backgrounds of two colours, read back from the
//                                     screen)
//   motor_bench sekme                 opening a tab: a new web view placed in the
//                                     window with the start page loaded into it
//   motor_bench bellek N              N tabs of the start page, then waits: bench/engine
//                                     reads the memory of the process and the engine
//   motor_bench bosta URL             one static page, then 14 s of waiting for input
//   motor_bench kaydirma URL          frames painted per second while the wheel
//                                     scrolls a long page
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "korva.h"
#include "olcum_ortak.h"
#include "webview/webgorunum_win_cz.h"
#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"

namespace {

using olcum::ortanca;
using olcum::saniye;
using olcum::yaz;

void pompala() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Pumps until `done` holds or `limit` seconds pass; false on the time-out.
template <class Condition>
bool bekle(Condition done, double limit = 20) {
    const double start = saniye();
    while (!done()) {
        if (saniye() - start > limit) return false;
        MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        pompala();
    }
    return true;
}

// Waits for input and dispatches it, as a program's idle loop does, without polling.
void bosta_bekle(double seconds) {
    const double end = saniye() + seconds;
    for (double left = seconds; left > 0; left = end - saniye()) {
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left * 1000) + 1, QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
        pompala();
    }
}

int64_t g_pencere = -1;
int64_t g_onceki = -1;

// A shown 1400x900 window whose content is a fresh web view (the one before is
// hidden, as a tab that is not shown); -1 when none was made.
int64_t gorunum_pencerede() {
    if (g_pencere < 0) {
        _tr_pencere_baslat();
        g_pencere = _tr_pencere_olustur("motor", 5, 1400, 900);
        _tr_pencere_goster(g_pencere);
    }
    const int64_t view = _tr_webgorunum_olustur();
    if (view < 0) return -1;
    if (g_onceki >= 0) _tr_arayuz_widget_gizle(_tr_webgorunum_widget_id(g_onceki));
    g_onceki = view;
    _tr_pencere_icerik_ayarla(g_pencere, _tr_webgorunum_widget_id(view));
    pompala();
    return view;
}

bool yuklenene_kadar(int64_t view, double limit = 20) {
    return bekle([view] { return _tr_webgorunum_yuklenme_bitti_mi(view) != 0; }, limit);
}

void yukle(int64_t view, const std::string& address) {
    _tr_webgorunum_yuklenme_bitti_mi(view);
    _tr_webgorunum_yukle(view, address.data(), static_cast<int64_t>(address.size()));
}

HWND host(int64_t view) { return _tr_arayuz_widget_al_hwnd(_tr_webgorunum_widget_id(view)); }

// The colour on screen at the middle of the view.
COLORREF ortadaki_renk(int64_t view) {
    RECT area;
    GetWindowRect(host(view), &area);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, (area.left + area.right) / 2, (area.top + area.bottom) / 2);
    ReleaseDC(nullptr, screen);
    return colour;
}

// The two pages bench/engine serves: plain backgrounds of these colours.
const COLORREF kYesil = RGB(0, 160, 0), kMavi = RGB(0, 0, 160);

bool yakin(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) < 24 && std::abs(GetGValue(a) - GetGValue(b)) < 24 &&
           std::abs(GetBValue(a) - GetBValue(b)) < 24;
}

int gezinti(const char* a, const char* b) {
    const int64_t view = gorunum_pencerede();
    if (view < 0) return 1;
    std::vector<double> completed, painted;
    bool frames_seen = true;
    for (int i = 0; i < 12; ++i) {
        const bool green = i % 2 == 0;
        const double start = saniye();
        yukle(view, green ? a : b);
        double done_at = -1, painted_at = -1;
        bekle([&] {
            if (done_at < 0 && _tr_webgorunum_yuklenme_bitti_mi(view)) done_at = saniye();
            if (painted_at < 0 && yakin(ortadaki_renk(view), green ? kYesil : kMavi)) painted_at = saniye();
            return done_at >= 0 && (painted_at >= 0 || !frames_seen);
        }, 10);
        if (painted_at < 0) frames_seen = false;   // an engine that does not draw pages
        if (i < 2) continue;                        // warming up
        if (done_at >= 0) completed.push_back((done_at - start) * 1000);
        if (painted_at >= 0) painted.push_back((painted_at - start) * 1000);
    }
    yaz("gezinti_tamam_ms", ortanca(completed), "ms");
    if (!painted.empty()) yaz("gezinti_ilk_kare_ms", ortanca(painted), "ms");
    return 0;
}

int sekme() {
    std::vector<double> times;
    for (int i = 0; i < 10; ++i) {
        const double start = saniye();
        const int64_t view = gorunum_pencerede();
        if (view < 0) return 1;
        _tr_webgorunum_html_yukle(view, HIZLI_ERISIM, static_cast<int64_t>(std::strlen(HIZLI_ERISIM)));
        if (!yuklenene_kadar(view)) return 1;
        if (i > 0) times.push_back((saniye() - start) * 1000);   // the first also starts the engine
    }
    yaz("sekme_acma_ms", ortanca(times), "ms");
    return 0;
}

int bellek(int count) {
    for (int i = 0; i < count; ++i) {
        const int64_t view = gorunum_pencerede();
        if (view < 0) return 1;
        _tr_webgorunum_html_yukle(view, HIZLI_ERISIM, static_cast<int64_t>(std::strlen(HIZLI_ERISIM)));
        yuklenene_kadar(view);
    }
    bosta_bekle(2);
    std::printf("hazir %d\n", count);
    std::fflush(stdout);
    bosta_bekle(6);
    return 0;
}

int bosta(const char* address) {
    const int64_t view = gorunum_pencerede();
    if (view < 0) return 1;
    yukle(view, address);
    yuklenene_kadar(view);
    bosta_bekle(2);
    std::printf("hazir\n");
    std::fflush(stdout);
    bosta_bekle(14);
    return 0;
}

int g_boyamalar = 0;

LRESULT CALLBACK boyama_sayaci(HWND window, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) {
    if (message == WM_PAINT) ++g_boyamalar;
    return DefSubclassProc(window, message, w, l);
}

int kaydirma(const char* address) {
    const int64_t view = gorunum_pencerede();
    if (view < 0) return 1;
    yukle(view, address);
    yuklenene_kadar(view);
    bosta_bekle(1);
    // The engine's own window inside the host is the one that paints the page.
    HWND page = GetWindow(host(view), GW_CHILD);
    if (page == nullptr || !SetWindowSubclass(page, boyama_sayaci, 1, 0)) return 1;
    RECT area;
    GetWindowRect(page, &area);
    const LPARAM where = MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    const double seconds = 4;
    g_boyamalar = 0;
    const double start = saniye();
    for (int step = 0; saniye() - start < seconds; ++step) {
        // One notch every 20 ms, down for two seconds and up again.
        const short delta = (saniye() - start) < seconds / 2 ? -WHEEL_DELTA : WHEEL_DELTA;
        PostMessageW(page, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), where);
        const double next = start + (step + 1) * 0.02;
        bekle([next] { return saniye() >= next; }, 1);
    }
    yaz("kaydirma_kare_s", g_boyamalar / seconds, "fps");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "gezinti" && argc > 3) return gezinti(argv[2], argv[3]);
    if (mode == "sekme") return sekme();
    if (mode == "bellek" && argc > 2) return bellek(std::atoi(argv[2]));
    if (mode == "bosta" && argc > 2) return bosta(argv[2]);
    if (mode == "kaydirma" && argc > 2) return kaydirma(argv[2]);
    std::fprintf(stderr, "usage: motor_bench gezinti URL_A URL_B | sekme | bellek N | bosta URL | kaydirma URL\n");
    return 2;
}

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
//                                     window with the start page loaded into it, and
//                                     until that page is on screen (its background
//                                     colour read back inside the view)
//   motor_bench acilir URL            a page's popup: URL is a page whose button over
//                                     its whole area opens b.html (blue) as a popup;
//                                     from the click in the page to the popup's page
//                                     on screen in the view made for it (its colour
//                                     read back as gezinti reads it); the real engine
//                                     only (the stand-in runs no page scripts)
//   motor_bench bellek N              N tabs of the start page, then waits: bench/engine
//                                     reads the memory of the process and the engine
//   motor_bench bosta URL             one static page, then 14 s of waiting for input
//   motor_bench kaydirma URL          frames painted per second while the wheel
//                                     scrolls a long page that fills the window's
//                                     client area, and this process's share of one
//                                     core meanwhile; "kaydirma_basliyor" is printed
//                                     as the wheel starts, for bench/engine to read
//                                     the engine's processor time from then on
//   motor_bench ekran_gezinti URL_A URL_B
//                                     navigating between the two pages of gezinti
//                                     for a screen capture beside it (bench/ekrandan):
//                                     prints the screen point at the middle of the
//                                     view, waits 1.5 s for the capture to start, then
//                                     for each navigation the wall clock as it was
//                                     asked for and the colour its page has; reads
//                                     nothing back itself
//   motor_bench pdf URL PATH RUNS     printing a loaded page to a PDF file (a full
//                                     Windows path) through the runtime, from the
//                                     request to its reported end, RUNS times
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
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

// Sleeps until a message comes or `left` seconds pass, then dispatches what came.
void mesaj_bekle(double left) {
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(std::max(left, 0.0) * 1000) + 1, QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    pompala();
}

// The longest sleep of `bekle` with nothing arriving. Everything its conditions read
// changes through a message to this thread (the engine posts its completions; a frame
// reaches the screen in a WM_PAINT, and Wine puts painted windows on the screen when
// the queue runs empty), so this only bounds the wait for anything that does not.
const double kEnUzunUyku = 0.05;

// Pumps until `done` holds or `limit` seconds pass; false on the time-out. The check
// runs after each batch of messages, not on a timer, so a figure is not rounded up
// to a timer's tick and the process does not spin while it waits.
template <class Condition>
bool bekle(Condition done, double limit = 20) {
    const double end = saniye() + limit;
    while (!done()) {
        const double left = end - saniye();
        if (left <= 0) return false;
        mesaj_bekle(std::min(left, kEnUzunUyku));
    }
    return true;
}

// Waits for input and dispatches it until the moment `an`, as a program's idle loop
// does, without polling.
void ana_kadar_bekle(double an) {
    for (double left = an - saniye(); left > 0; left = an - saniye()) mesaj_bekle(left);
}

void bosta_bekle(double seconds) { ana_kadar_bekle(saniye() + seconds); }

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
        // A pause as the plain client makes, and as a user reads a page before the
        // next: the engine's work after a load is not charged to the next navigation.
        bosta_bekle(0.2);
        if (i < 2) continue;                        // warming up
        if (done_at >= 0) completed.push_back((done_at - start) * 1000);
        if (painted_at >= 0) painted.push_back((painted_at - start) * 1000);
    }
    yaz("gezinti_tamam_ms", ortanca(completed), "ms");
    if (!painted.empty()) yaz("gezinti_ilk_kare_ms", ortanca(painted), "ms");
    return 0;
}

// The same navigations as gezinti, measured from outside: the screen point to
// watch, then one line per navigation, "ekran_gezinti WALL_CLOCK COLOUR" (yesil or
// mavi), the clock read just before the navigation is asked for. The page is left
// to settle after each, as gezinti does, and the screen is not read here, so that
// only the capture's process looks at it.
int ekran_gezinti(const char* a, const char* b) {
    const int64_t view = gorunum_pencerede();
    if (view < 0) return 1;
    yukle(view, b);
    if (!yuklenene_kadar(view)) return 1;
    RECT area;
    GetWindowRect(host(view), &area);
    std::printf("ekran_gezinti_orta %ld %ld\n", (area.left + area.right) / 2, (area.top + area.bottom) / 2);
    std::fflush(stdout);
    bosta_bekle(1.5);
    for (int i = 0; i < 12; ++i) {
        const bool green = i % 2 == 0;
        const double asked = olcum::unix_saniye();
        yukle(view, green ? a : b);
        const bool done = yuklenene_kadar(view, 10);
        bosta_bekle(0.4);
        if (done) std::printf("ekran_gezinti %.6f %s\n", asked, green ? "yesil" : "mavi");
        std::fflush(stdout);
    }
    return 0;
}

// The start page's background (body{background:#1e1e2e} in app/belgeler.cpp), and
// where to read it: inside the view's top left corner, in the page's margin, where
// nothing but the background is drawn. The page window is white until a frame comes.
const COLORREF kBaslangicArkaPlani = RGB(0x1e, 0x1e, 0x2e);

COLORREF kosedeki_renk(int64_t view) {
    RECT area;
    GetWindowRect(host(view), &area);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, area.left + 20, area.top + 20);
    ReleaseDC(nullptr, screen);
    return colour;
}

// Opening a tab until the start page is loaded, and until it is drawn: the page on
// screen, read back as gezinti reads its colours. A paint of the page window after
// the completion is not enough: a new view's first frame may still be the empty
// page the engine made the view with.
int sekme() {
    std::vector<double> loaded, drawn;
    bool frames_seen = true;
    for (int i = 0; i < 11; ++i) {
        const double start = saniye();
        const int64_t view = gorunum_pencerede();
        if (view < 0) return 1;
        _tr_webgorunum_html_yukle(view, HIZLI_ERISIM, static_cast<int64_t>(std::strlen(HIZLI_ERISIM)));
        double loaded_at = -1, drawn_at = -1;
        bekle([&] {
            if (loaded_at < 0 && _tr_webgorunum_yuklenme_bitti_mi(view)) loaded_at = saniye();
            if (loaded_at >= 0 && drawn_at < 0 && frames_seen && yakin(kosedeki_renk(view), kBaslangicArkaPlani))
                drawn_at = saniye();
            // An engine that draws shows the page well within seconds of the completion.
            return loaded_at >= 0 && (drawn_at >= 0 || !frames_seen || saniye() - loaded_at > 5);
        });
        if (loaded_at < 0) return 1;
        if (drawn_at < 0) frames_seen = false;   // an engine that does not draw pages
        bosta_bekle(0.3);                         // as a user opens tabs, not back to back
        if (i == 0) continue;                     // the first also starts the engine
        loaded.push_back((loaded_at - start) * 1000);
        if (drawn_at >= 0) drawn.push_back((drawn_at - start) * 1000);
    }
    yaz("sekme_acma_ms", ortanca(loaded), "ms");
    if (!drawn.empty()) yaz("sekme_cizildi_ms", ortanca(drawn), "ms");
    return 0;
}

// The engine's page window inside a view's host.
HWND sayfa_penceresi(int64_t view) {
    HWND sayfa = GetWindow(host(view), GW_CHILD);
    return sayfa != nullptr ? sayfa : host(view);
}

int acilir(const char* opener) {
    const int64_t view = gorunum_pencerede();
    if (view < 0) return 1;
    std::vector<double> drawn;
    for (int i = 0; i < 8; ++i) {
        // The opener is shown again, as the tab a user clicks in.
        _tr_arayuz_widget_goster(_tr_webgorunum_widget_id(view));
        _tr_pencere_icerik_ayarla(g_pencere, _tr_webgorunum_widget_id(view));
        yukle(view, opener);
        if (!yuklenene_kadar(view)) return 1;
        bosta_bekle(0.3);
        _tr_webgorunum_yeni_pencere_istendi_mi(view);
        const double start = saniye();
        const HWND sayfa = sayfa_penceresi(view);
        PostMessageW(sayfa, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 200));
        PostMessageW(sayfa, WM_LBUTTONUP, 0, MAKELPARAM(200, 200));
        if (!bekle([&] { return _tr_webgorunum_yeni_pencere_istendi_mi(view) != 0; }, 10)) return 1;
        const int64_t popup = _tr_webgorunum_yeni_pencere_olustur(view);
        if (popup < 0) return 1;
        // The popup's view takes the window and the opener's is hidden, as Korva
        // shows a popup in a tab of its own in front of its opener's: a hidden view's
        // page stops sending frames. (The plain client never streams its opener.)
        _tr_pencere_icerik_ayarla(g_pencere, _tr_webgorunum_widget_id(popup));
        _tr_arayuz_widget_gizle(_tr_webgorunum_widget_id(view));
        double drawn_at = -1;
        bekle([&] {
            if (yakin(ortadaki_renk(popup), kMavi)) drawn_at = saniye();
            return drawn_at >= 0;
        }, 10);
        _tr_webgorunum_kapat(popup);
        if (i < 2 || drawn_at < 0) continue;   // warming up, or not drawn
        drawn.push_back((drawn_at - start) * 1000);
    }
    if (!drawn.empty()) yaz("acilir_cizildi_ms", ortanca(drawn), "ms");
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

// User and kernel time of this process so far, in seconds.
double islemci_suresi() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    const auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

int kaydirma(const char* address) {
    const int64_t view = gorunum_pencerede();
    if (view < 0) return 1;
    yukle(view, address);
    yuklenene_kadar(view);
    bosta_bekle(1);
    // The engine's own window inside the host is the one that paints the page. The
    // view is the window's content: host and page fill the whole client area, which
    // the size lines show (1392x873 for a 1400x900 window on Xvfb).
    HWND page = GetWindow(host(view), GW_CHILD);
    if (page == nullptr || !SetWindowSubclass(page, boyama_sayaci, 1, 0)) return 1;
    RECT client, area;
    GetClientRect(GetAncestor(page, GA_ROOT), &client);
    GetWindowRect(page, &area);
    yaz("kaydirma_pencere_genislik", client.right, "px");
    yaz("kaydirma_pencere_yukseklik", client.bottom, "px");
    yaz("kaydirma_sayfa_genislik", area.right - area.left, "px");
    yaz("kaydirma_sayfa_yukseklik", area.bottom - area.top, "px");
    // Where the page is on the screen, for a capture of it started meanwhile
    // (bench/ekrandan), which then counts the pictures between the two wall-clock
    // moments printed at the end.
    yaz("kaydirma_ekran_sol", area.left, "px");
    yaz("kaydirma_ekran_ust", area.top, "px");
    bosta_bekle(1.5);
    const LPARAM where = MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    const double seconds = 4;
    const double wall_start = olcum::unix_saniye();
    std::printf("kaydirma_basliyor\n");
    std::fflush(stdout);
    g_boyamalar = 0;
    const double cpu_start = islemci_suresi();
    const double start = saniye();
    for (int step = 0; saniye() - start < seconds; ++step) {
        // One notch every 20 ms, down for two seconds and up again.
        const short delta = (saniye() - start) < seconds / 2 ? -WHEEL_DELTA : WHEEL_DELTA;
        PostMessageW(page, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), where);
        ana_kadar_bekle(start + (step + 1) * 0.02);
    }
    const double elapsed = saniye() - start;
    const double cpu = islemci_suresi() - cpu_start;
    std::printf("kaydirma_unix_baslangic %.6f s\nkaydirma_unix_bitis %.6f s\n", wall_start, olcum::unix_saniye());
    yaz("kaydirma_kare_s", g_boyamalar / seconds, "fps");
    yaz("kaydirma_korva_cpu", 100 * cpu / elapsed, "%");
    return 0;
}

int pdf(const char* address, const char* path, int runs) {
    const int64_t view = gorunum_pencerede();
    if (view < 0) return 1;
    yukle(view, address);
    if (!yuklenene_kadar(view)) return 1;
    bosta_bekle(0.5);
    std::vector<double> times;
    const int64_t length = static_cast<int64_t>(std::strlen(path));
    for (int i = 0; i < runs; ++i) {
        const double start = saniye();
        if (_tr_webgorunum_pdf_yazdir(view, path, length) != 0) return 1;
        int64_t end = 0;
        if (!bekle([&] { return (end = _tr_webgorunum_kayit_bitti_mi(view)) != 0; }, 60) || end != 1) return 1;
        times.push_back((saniye() - start) * 1000);
    }
    yaz("pdf_ms", ortanca(times), "ms");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "gezinti" && argc > 3) return gezinti(argv[2], argv[3]);
    if (mode == "ekran_gezinti" && argc > 3) return ekran_gezinti(argv[2], argv[3]);
    if (mode == "sekme") return sekme();
    if (mode == "acilir" && argc > 2) return acilir(argv[2]);
    if (mode == "bellek" && argc > 2) return bellek(std::atoi(argv[2]));
    if (mode == "bosta" && argc > 2) return bosta(argv[2]);
    if (mode == "kaydirma" && argc > 2) return kaydirma(argv[2]);
    if (mode == "pdf" && argc > 4) return pdf(argv[2], argv[3], std::atoi(argv[4]));
    std::fprintf(stderr,
                 "usage: motor_bench gezinti URL_A URL_B | ekran_gezinti URL_A URL_B | sekme | acilir URL | bellek N | bosta URL | kaydirma URL | pdf URL PATH RUNS\n");
    return 2;
}

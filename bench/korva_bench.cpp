// Korva's in-process benchmarks, run under Wine by bench/run. Prints one line per
// figure, "name value unit", each value the median of many repetitions; bench/run
// collects the lines of several runs and prints the table.
//
//   korva_bench acilis   starts Korva and exits once the first tab's navigation has
//                        completed (bench/run times the whole process from outside)
//   korva_bench olcum    the times, in one process: opening and switching tabs, the
//                        engine's controller alone, layout, resize, one pass of the
//                        checks with 1 and 64 tabs
//   korva_bench bellek   private memory with 1 and 64 tabs and after 500 tabs were
//                        opened and closed
//
// The stand-in engine is found by its name on the library path (bench/run sets it).
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "korva.h"
#include "webview/webgorunum_win_cz.h"
#include "wv2_arayuz.h"
#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"

namespace {

// ---- Time and figures ------------------------------------------------------------

double saniye() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double ortanca(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void yaz(const char* name, double value, const char* unit) {
    std::printf("%s %.6g %s\n", name, value, unit);
    std::fflush(stdout);
}

// Private memory of the process: PrivateUsage of PROCESS_MEMORY_COUNTERS_EX. Wine
// reports 0 there, so when it does the committed private pages of the address
// space are added up instead, which is what PrivateUsage counts on Windows.
// `source` tells which one was used.
double ozel_bellek_mib(const char** source) {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
    double bytes = static_cast<double>(counters.PrivateUsage);
    *source = "PrivateUsage";
    if (bytes == 0) {
        *source = "VirtualQuery";
        MEMORY_BASIC_INFORMATION region;
        for (const char* at = nullptr; VirtualQuery(at, &region, sizeof(region)) == sizeof(region);
             at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
            if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += static_cast<double>(region.RegionSize);
            if (static_cast<const char*>(region.BaseAddress) + region.RegionSize < at) break;
        }
    }
    return bytes / (1024.0 * 1024.0);
}

void bellek_yaz(const char* name) {
    const char* source = "";
    const double mib = ozel_bellek_mib(&source);
    std::printf("%s %.6g MiB(%s)\n", name, mib, source);
    std::fflush(stdout);
}

// ---- Driving the browser ----------------------------------------------------------

void tur() {
    _tr_pencere_olaylari_isle();
    olaylari_kontrol_et();
}

int64_t secili_gorunum() { return sekme_webgorunumu(_tr_arayuz_sekme_secili(sekme_defteri)); }

// Passes until the web view has completed a navigation; no sleeping in between,
// so the figure is not rounded up to a timer's tick.
void yuklenene_kadar(int64_t view) {
    for (int i = 0; i < 2000000 && _tr_webgorunum_yukleniyor_mu(view) == 1; ++i) tur();
}

HWND serit() { return _tr_arayuz_widget_al_hwnd(sekme_defteri); }

void tiklat(int position, bool close_mark) {
    RECT item;
    if (!SendMessageW(serit(), TCM_GETITEMRECT, position, reinterpret_cast<LPARAM>(&item))) return;
    const LPARAM point = MAKELPARAM(close_mark ? item.right - 3 : item.left + 6, (item.top + item.bottom) / 2);
    PostMessageW(serit(), WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(serit(), WM_LBUTTONUP, 0, point);
}

// Closes the last tab by its close mark, as a user does.
void son_sekmeyi_kapat() {
    const int64_t before = wv_sayisi;
    tiklat(static_cast<int>(wv_sayisi - 1), true);
    for (int i = 0; i < 100 && wv_sayisi == before; ++i) tur();
}

// ---- The engine alone -------------------------------------------------------------

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

using OrtamTamamlama = Tamamlama<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, ICoreWebView2Environment>;
using DenetleyiciTamamlama =
    Tamamlama<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, ICoreWebView2Controller>;

void bitene_kadar_pompala(const bool& done) {
    MSG message;
    while (!done) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (!done) MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

// The median time the stand-in engine takes to make a controller, on its own.
double yalin_denetleyici_ms(int repetitions) {
    HMODULE engine = LoadLibraryW(L"WebView2Loader.dll");
    auto create = reinterpret_cast<wv2_ortam_olustur_secenekli_islev>(
        reinterpret_cast<void*>(GetProcAddress(engine, WV2_ORTAM_OLUSTUR_SECENEKLI_ADI)));
    if (create == nullptr) return -1;
    OrtamTamamlama environment_done;
    if (FAILED(create(nullptr, nullptr, nullptr, &environment_done))) return -1;
    bitene_kadar_pompala(environment_done.bitti);
    ICoreWebView2Environment* environment = environment_done.sonuc;
    if (environment == nullptr) return -1;
    HWND host = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        DenetleyiciTamamlama done;
        const double start = saniye();
        if (FAILED(environment->CreateCoreWebView2Controller(host, &done))) return -1;
        bitene_kadar_pompala(done.bitti);
        times.push_back((saniye() - start) * 1000);
        if (done.sonuc != nullptr) {
            done.sonuc->Close();
            done.sonuc->Release();
        }
    }
    DestroyWindow(host);
    return ortanca(times);
}

// ---- The figures --------------------------------------------------------------------

void sekme_acma_ve_gecis() {
    std::vector<double> opening, switching;
    for (int i = 0; i < 15; ++i) {
        const double start = saniye();
        const int64_t view = hizli_erisim_ac();
        yuklenene_kadar(view);
        opening.push_back((saniye() - start) * 1000);
        // Switch back and forth between the first tab and the new one.
        for (int position : {0, static_cast<int>(wv_sayisi - 1)}) {
            const double from = saniye();
            tiklat(position, false);
            for (int k = 0; k < 100 && _tr_arayuz_sekme_secili(sekme_defteri) != position; ++k) tur();
            switching.push_back((saniye() - from) * 1000);
        }
        son_sekmeyi_kapat();
    }
    yaz("sekme_acma_ms", ortanca(opening), "ms");
    std::vector<double> creating;
    for (int i = 0; i < 15; ++i) {
        const double start = saniye();
        const int64_t view = _tr_webgorunum_olustur();
        creating.push_back((saniye() - start) * 1000);
        _tr_webgorunum_kapat(view);
    }
    yaz("gorunum_olustur_ms", ortanca(creating), "ms");
    // The start page loaded again into the open tab, as Home does.
    std::vector<double> loading;
    const int64_t view = secili_gorunum();
    for (int i = 0; i < 15; ++i) {
        _tr_webgorunum_yuklenme_bitti_mi(view);
        const double start = saniye();
        _tr_webgorunum_html_yukle(view, HIZLI_ERISIM, static_cast<int64_t>(std::strlen(HIZLI_ERISIM)));
        for (int k = 0; k < 2000000 && _tr_webgorunum_yuklenme_bitti_mi(view) == 0; ++k) tur();
        loading.push_back((saniye() - start) * 1000);
    }
    yaz("sayfa_yukleme_ms", ortanca(loading), "ms");
    yaz("yalin_denetleyici_ms", yalin_denetleyici_ms(15), "ms");
    yaz("sekme_gecisi_ms", ortanca(switching), "ms");
}

void yerlesim_ve_boyut() {
    RECT client;
    HWND root = _tr_arayuz_widget_al_hwnd(ana_kutu);
    HWND window = GetAncestor(root, GA_ROOT);
    _tr_pencere_boyut_ayarla(ana_pencere, PENCERE_GENISLIK, PENCERE_YUKSEKLIK);
    tur();
    GetClientRect(window, &client);
    std::vector<double> layout;
    for (int i = 0; i < 200; ++i) {
        const double start = saniye();
        win_layout_yenile(ana_kutu, client.right, client.bottom);
        layout.push_back((saniye() - start) * 1e6);
    }
    yaz("yerlesim_us", ortanca(layout), "us");
    std::vector<double> resize;
    for (int i = 0; i < 30; ++i) {
        const int64_t width = i % 2 == 0 ? 1200 : PENCERE_GENISLIK;
        const int64_t height = i % 2 == 0 ? 800 : PENCERE_YUKSEKLIK;
        const double start = saniye();
        _tr_pencere_boyut_ayarla(ana_pencere, width, height);
        _tr_pencere_olaylari_isle();
        resize.push_back((saniye() - start) * 1000);
    }
    yaz("boyutlama_ms", ortanca(resize), "ms");
}

double kontrol_turu_us() {
    for (int i = 0; i < 50; ++i) tur();
    std::vector<double> passes;
    for (int i = 0; i < 2000; ++i) {
        const double start = saniye();
        olaylari_kontrol_et();
        passes.push_back((saniye() - start) * 1e6);
    }
    return ortanca(passes);
}

// The times: opening, switching and closing tabs, the engine alone, layout, resize
// and one pass of the checks with 1 and 64 tabs.
void olcum() {
    korva_baslat();
    yuklenene_kadar(secili_gorunum());
    for (int i = 0; i < 20; ++i) tur();
    yaz("kontrol_turu_1_sekme_us", kontrol_turu_us(), "us");
    sekme_acma_ve_gecis();
    yerlesim_ve_boyut();
    while (wv_sayisi < MAKS_SEKME) hizli_erisim_ac();
    yuklenene_kadar(secili_gorunum());
    for (int i = 0; i < 20; ++i) tur();
    yaz("kontrol_turu_64_sekme_us", kontrol_turu_us(), "us");
}

// Private memory with 1 and 64 tabs, and after 500 tabs opened and closed.
void bellek() {
    korva_baslat();
    yuklenene_kadar(secili_gorunum());
    for (int i = 0; i < 20; ++i) tur();
    bellek_yaz("bellek_1_sekme");
    while (wv_sayisi < MAKS_SEKME) hizli_erisim_ac();
    yuklenene_kadar(secili_gorunum());
    for (int i = 0; i < 20; ++i) tur();
    bellek_yaz("bellek_64_sekme");

    while (wv_sayisi > 1) son_sekmeyi_kapat();
    // 500 tabs opened and closed, ten at a time.
    for (int round = 0; round < 50; ++round) {
        for (int i = 0; i < 10; ++i) hizli_erisim_ac();
        tur();
        while (wv_sayisi > 1) son_sekmeyi_kapat();
    }
    for (int i = 0; i < 20; ++i) tur();
    bellek_yaz("bellek_500_sonra");
}

// Start-up until the first tab's navigation has completed, then exit.
int acilis() {
    korva_baslat();
    yuklenene_kadar(secili_gorunum());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "acilis") == 0) return acilis();
    if (argc > 1 && std::strcmp(argv[1], "olcum") == 0) {
        olcum();
        return 0;
    }
    if (argc > 1 && std::strcmp(argv[1], "bellek") == 0) {
        bellek();
        return 0;
    }
    std::fprintf(stderr, "usage: korva_bench acilis|olcum|bellek\n");
    return 2;
}

// A large download through Korva: the program's own loop runs (pump, then the
// pass of checks) while the engine on the library path downloads ADDRESS into the
// Downloads folder (KORVA_INDIRME_KLASORU, which bench/indirme sets). Prints
// "name value unit" lines; asserts nothing.
//
//   indirme_bench ADDRESS BYTES
//
//   indirme_sure          from the address entered to the file under its final name
//   indirme_hizi          BYTES over that time, MB/s (MB = 10^6 bytes)
//   indirme_korva_cpu     this process's processor time over that time, % of a core
//   indirme_gecis_ortanca, indirme_gecis_p99, indirme_gecis_en_uzun
//                         one pass of the main loop (pump and checks), ms, from the
//                         address entered until Korva has recorded the download as
//                         done (2 s after the file came at most)
//   indirme_gecis_sayisi  passes made
//   indirme_gecis_uzun    passes longer than 1 ms
//   indirme_gecis_en_uzun_islemci, indirme_gecis_en_uzun_kesinti
//                         the UI thread's own processor time in the longest pass (ms),
//                         and how often the system took the processor from it then:
//                         a pass whose processor time is far below its length waited
//                         for the processor, it did not work
//   indirme_gecis_uzun_islemci
//                         the processor time of all passes over 1 ms over their length, %
//
// With KORVA_BENCH_GECISLER=FILE, every pass over 1 ms is written there, one a line:
// its start from the address entered, its length, its processor time, the times
// it waited of itself (on a lock, a file, Wine's server) and the times the processor
// was taken from it, and its two parts (the pump, the checks), all in ms but the counts.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "korva.h"
#include "olcum_ortak.h"
#include "tarayici_ic.h"
#include "webview/webgorunum_win_cz.h"
#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"

namespace {

// The calling thread's processor time and the times the system took the processor
// from it, straight from the Linux kernel: Wine's GetThreadTimes counts in 10 ms
// ticks and asks its server on every call (some 25 us here), far too coarse and too
// slow for passes of a fraction of a millisecond. Under Wine a program's code runs
// as a Linux thread, so the kernel's own calls answer for it (clock_gettime with
// CLOCK_THREAD_CPUTIME_ID, getrusage with RUSAGE_THREAD); zero when they fail.
int64_t linux_cagrisi(int64_t numara, int64_t a, int64_t b) {
    int64_t sonuc;
    asm volatile("syscall" : "=a"(sonuc) : "a"(numara), "D"(a), "S"(b) : "rcx", "r11", "memory");
    return sonuc;
}

double is_parcacigi_islemci_ms() {
    int64_t an[2] = {0, 0};
    if (linux_cagrisi(228, 3, reinterpret_cast<intptr_t>(an)) != 0) return 0;
    return static_cast<double>(an[0]) * 1e3 + static_cast<double>(an[1]) / 1e6;
}

// (times it waited of itself: ru_nvcsw, times the system took the processor: ru_nivcsw)
std::pair<int64_t, int64_t> birakma_sayilari() {
    int64_t kullanim[18] = {};
    if (linux_cagrisi(98, 1, reinterpret_cast<intptr_t>(kullanim)) != 0) return {0, 0};
    return {kullanim[16], kullanim[17]};
}

struct Gecis {
    double basi, sure, islemci, pompa, denetim;
    int64_t bekleme, kesinti;
};

double islemci_saniyesi() {
    FILETIME olusma, bitis, cekirdek, kullanici;
    GetProcessTimes(GetCurrentProcess(), &olusma, &bitis, &cekirdek, &kullanici);
    auto sayi = [](const FILETIME& f) { return (static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
    return static_cast<double>(sayi(cekirdek) + sayi(kullanici)) / 1e7;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: indirme_bench ADDRESS BYTES\n");
        return 2;
    }
    const std::string adres = argv[1];
    const double bayt = std::atof(argv[2]);
    wchar_t klasor[MAX_PATH] = {};
    GetEnvironmentVariableW(L"KORVA_INDIRME_KLASORU", klasor, MAX_PATH);
    if (klasor[0] == 0) {
        std::fprintf(stderr, "indirme_bench: KORVA_INDIRME_KLASORU is not set\n");
        return 2;
    }
    korva_baslat();
    // The start page first, as a person would have it.
    for (int i = 0; i < 2000 && _tr_webgorunum_yukleniyor_mu(korva::secili_webgorunum()) == 1; ++i) {
        _tr_pencere_olaylari_isle();
        olaylari_kontrol_et();
        _tr_pencere_olay_bekle(5);
    }
    // KORVA_BENCH_PANEL=1: the Downloads panel is open meanwhile, its list following
    // the download.
    char panel[8] = {};
    GetEnvironmentVariableA("KORVA_BENCH_PANEL", panel, sizeof(panel));
    if (panel[0] == '1') korva::indirmeler_paneline_git();
    // KORVA_BENCH_BEKLEME_MS: the loop runs that long more before the address is
    // entered, as while a person reads the start page; the engine finishes starting
    // meanwhile. None by default.
    char bekleme[32] = {};
    GetEnvironmentVariableA("KORVA_BENCH_BEKLEME_MS", bekleme, sizeof(bekleme));
    for (const double bitis = olcum::saniye() + std::atof(bekleme) / 1000; olcum::saniye() < bitis;) {
        _tr_pencere_olaylari_isle();
        olaylari_kontrol_et();
        _tr_pencere_olay_bekle(50);
    }
    const std::wstring dosya = std::wstring(klasor) + L"\\buyuk.bin";
    std::vector<double> gecisler;
    std::vector<Gecis> uzunlar;
    gecisler.reserve(1 << 20);
    Gecis en_uzun = {};
    const double bas = olcum::saniye(), islemci_bas = islemci_saniyesi();
    _tr_webgorunum_yukle(korva::secili_webgorunum(), adres.data(), static_cast<int64_t>(adres.size()));
    double son = bas, islemci = 0;
    bool bitti = false;
    // The passes go on until Korva has recorded the download as done (its list row
    // says so, and the list is being kept), 2 s at most after the file came.
    while (!(bitti && (korva::indirme_durum_metni(0) == "done" || olcum::saniye() - son > 2)) &&
           olcum::saniye() - bas < 600) {
        const double gecis_basi = olcum::saniye(), islemci_basi = is_parcacigi_islemci_ms();
        const std::pair<int64_t, int64_t> birakma_basi = birakma_sayilari();
        _tr_pencere_olaylari_isle();
        const double pompa_sonu = olcum::saniye();
        olaylari_kontrol_et();
        const double gecis_sonu = olcum::saniye();
        const std::pair<int64_t, int64_t> birakma = birakma_sayilari();
        const Gecis gecis = {(gecis_basi - bas) * 1000, (gecis_sonu - gecis_basi) * 1000,
                             is_parcacigi_islemci_ms() - islemci_basi, (pompa_sonu - gecis_basi) * 1000,
                             (gecis_sonu - pompa_sonu) * 1000, birakma.first - birakma_basi.first,
                             birakma.second - birakma_basi.second};
        gecisler.push_back(gecis.sure);
        if (gecis.sure > 1) uzunlar.push_back(gecis);
        if (gecis.sure > en_uzun.sure) en_uzun = gecis;
        // As Korva's loop (korva_dongu): it sleeps until a message comes, 50 ms at most.
        _tr_pencere_olay_bekle(50);
        if (!bitti && GetFileAttributesW(dosya.c_str()) != INVALID_FILE_ATTRIBUTES) {
            son = olcum::saniye();
            islemci = islemci_saniyesi() - islemci_bas;
            bitti = true;
        }
    }
    if (!bitti) {
        std::fprintf(stderr, "indirme_bench: the file did not come within 600 s\n");
        return 1;
    }
    const double sure = son - bas;
    olcum::yaz("indirme_sure", sure * 1000, "ms");
    olcum::yaz("indirme_hizi", bayt / sure / 1e6, "MB/s");
    olcum::yaz("indirme_korva_cpu", islemci / sure * 100, "%");
    std::vector<double> sirali = gecisler;
    std::sort(sirali.begin(), sirali.end());
    olcum::yaz("indirme_gecis_ortanca", olcum::ortanca(gecisler), "ms");
    olcum::yaz("indirme_gecis_p99", sirali[sirali.size() * 99 / 100], "ms");
    olcum::yaz("indirme_gecis_en_uzun", sirali.back(), "ms");
    olcum::yaz("indirme_gecis_sayisi", static_cast<double>(gecisler.size()), "");
    olcum::yaz("indirme_gecis_uzun", static_cast<double>(uzunlar.size()), "");
    olcum::yaz("indirme_gecis_en_uzun_islemci", en_uzun.islemci, "ms");
    olcum::yaz("indirme_gecis_en_uzun_kesinti", static_cast<double>(en_uzun.kesinti), "");
    double uzun_sure = 0, uzun_islemci = 0;
    for (const Gecis& gecis : uzunlar) {
        uzun_sure += gecis.sure;
        uzun_islemci += gecis.islemci;
    }
    if (uzun_sure > 0) olcum::yaz("indirme_gecis_uzun_islemci", uzun_islemci / uzun_sure * 100, "%");
    char yol[MAX_PATH] = {};
    if (GetEnvironmentVariableA("KORVA_BENCH_GECISLER", yol, MAX_PATH) > 0) {
        if (FILE* dosya = std::fopen(yol, "a")) {
            for (const Gecis& gecis : uzunlar)
                std::fprintf(dosya, "%.1f %.3f %.3f %lld %lld %.3f %.3f\n", gecis.basi, gecis.sure, gecis.islemci,
                             static_cast<long long>(gecis.bekleme), static_cast<long long>(gecis.kesinti),
                             gecis.pompa, gecis.denetim);
            std::fclose(dosya);
        }
    }
    return 0;
}

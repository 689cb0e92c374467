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
//                         one pass of the main loop meanwhile (pump and checks), ms
//   indirme_gecis_sayisi  passes made
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "korva.h"
#include "olcum_ortak.h"
#include "tarayici_ic.h"
#include "webview/webgorunum_win_cz.h"
#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"

namespace {

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
    const std::wstring dosya = std::wstring(klasor) + L"\\buyuk.bin";
    std::vector<double> gecisler;
    gecisler.reserve(1 << 20);
    const double bas = olcum::saniye(), islemci_bas = islemci_saniyesi();
    _tr_webgorunum_yukle(korva::secili_webgorunum(), adres.data(), static_cast<int64_t>(adres.size()));
    double son = bas;
    bool bitti = false;
    while (!bitti && olcum::saniye() - bas < 600) {
        const double gecis_basi = olcum::saniye();
        _tr_pencere_olaylari_isle();
        olaylari_kontrol_et();
        gecisler.push_back((olcum::saniye() - gecis_basi) * 1000);
        // As Korva's loop (korva_dongu): it sleeps until a message comes, 50 ms at most.
        _tr_pencere_olay_bekle(50);
        if (GetFileAttributesW(dosya.c_str()) != INVALID_FILE_ATTRIBUTES) {
            son = olcum::saniye();
            bitti = true;
        }
    }
    const double islemci = islemci_saniyesi() - islemci_bas;
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
    return 0;
}

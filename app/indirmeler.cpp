// Downloads: the list of what this run and earlier runs downloaded, the Downloads
// panel that shows it, and the status bar's word while something downloads.
//
// - Each pass asks the web view runtime for downloads that started (in any view,
//   closed tabs' included) and, for the running ones, for bytes, completion and
//   failure. The engine decides where a file goes; Korva only reports it.
// - The list is kept in the profile ("indirmeler.json"), newest last, at most
//   kIndirmeSiniri entries (the oldest go); written at once whenever a download
//   ends or a row is removed. A running download is not written: closing Korva
//   cancels it, and it is kept as canceled. The write at a download's end runs on
//   a thread of its own: it ends with the file flushed to the disk, which right after
//   a large download waits for the disk (40 ms here, far longer on a slow disk), and
//   the loop must not. Every other write first waits for the one under way, so the
//   file always ends as the newest list.
// - The panel: a list, newest first, with the name and its state ("%45 / 3.2 MB",
//   "tamamlandi", "basarisiz: diskte yer yok", "iptal edildi"); Enter or a double click on a finished
//   row opens the file with the system's handler (a file that is gone, or that
//   nothing opens, is named in the status bar); Delete removes the row (never the
//   file); the button cancels the selected running download. Ctrl+J opens it with
//   the keyboard in the list on the newest row.
// - While anything downloads, the status bar names it and the sidebar's Downloads
//   button carries the number running ("↓ 2"), so that it shows with the panel closed.
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include <time.h>

#include <memory>
#include <new>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "gec_yuklenen.h"
#include "korva.h"
#include "profil.h"
#include "tarayici_ic.h"
#include "webview/webgorunum_win_cz.h"
#include "widgets/arayuz_win_cz.h"

namespace korva {

namespace {

using Json = nlohmann::json;

constexpr wchar_t kIndirmeDosyasi[] = L"indirmeler.json";
constexpr size_t kIndirmeSiniri = 1000;
constexpr int64_t kIndirmelerPaneli = 3;
constexpr int64_t kIptalNedeni = 26;   // the engine's reason for a download the user canceled

enum class Durum { suruyor, tamam, basarisiz, iptal };

struct Indirme {
    std::string ad, adres, yol;
    int64_t alinan = 0, toplam = -1;
    Durum durum = Durum::suruyor;
    int64_t neden = 0;
    int64_t zaman = 0;
    int64_t kimlik = -1;   // the runtime's id in this run; -1 for earlier runs
};

std::vector<Indirme> kayitlar;   // oldest first
bool yuklendi = false;
IndirmeWidgetleri w;
uint64_t surum = 0, gosterilen_surum = ~0ull;

const char* durum_adi(Durum durum) {
    switch (durum) {
    case Durum::tamam: return "tamam";
    case Durum::basarisiz: return "basarisiz";
    case Durum::iptal: return "iptal";
    default: return "suruyor";
    }
}

bool coz(const std::string& baytlar, std::vector<Indirme>& sonuc) {
    const Json belge = Json::parse(baytlar, nullptr, false);
    if (!belge.is_object() || belge.value("surum", 0) != 1 || !belge.contains("indirmeler") ||
        !belge["indirmeler"].is_array() || belge["indirmeler"].size() > kIndirmeSiniri) {
        return false;
    }
    for (const Json& oge : belge["indirmeler"]) {
        if (!oge.is_object()) return false;
        Indirme kayit;
        try {
            kayit.ad = oge.at("ad").get<std::string>();
            kayit.adres = oge.at("adres").get<std::string>();
            kayit.yol = oge.at("yol").get<std::string>();
            kayit.alinan = oge.at("boyut").get<int64_t>();
            kayit.neden = oge.value("neden", int64_t{0});
            kayit.zaman = oge.value("zaman", int64_t{0});
            const std::string durum = oge.at("durum").get<std::string>();
            kayit.durum = durum == "tamam" ? Durum::tamam : durum == "basarisiz" ? Durum::basarisiz : Durum::iptal;
        } catch (const Json::exception&) {
            return false;
        }
        kayit.toplam = kayit.alinan;
        sonuc.push_back(std::move(kayit));
    }
    return true;
}

void yukle() {
    if (yuklendi) return;
    yuklendi = true;
    const std::wstring yol = profil_yolu(kIndirmeDosyasi);
    if (yol.empty()) return;
    ProfilKilidi kilit;
    std::string baytlar;
    std::wstring ayrilan;
    OkumaSonucu sonuc = dosyayi_oku(yol, baytlar, ayrilan);
    std::vector<Indirme> okunan;
    if (sonuc == OkumaSonucu::tamam && !coz(baytlar, okunan)) {
        okunan.clear();
        if (dosyayi_kenara_ayir(yol, ayrilan)) bildir("Indirme listesi bozuktu, kenara ayrildi");
    }
    // Downloads of this run (if any came before the list was read) stay after the old ones.
    okunan.insert(okunan.end(), kayitlar.begin(), kayitlar.end());
    kayitlar.swap(okunan);
    ++surum;
}

// The write under way on its own thread, or null.
HANDLE yazici = nullptr;

void yaziciyi_bekle() {
    if (yazici == nullptr) return;
    WaitForSingleObject(yazici, INFINITE);
    CloseHandle(yazici);
    yazici = nullptr;
}

struct ArkaYazma {
    std::wstring yol;
    std::string baytlar;
};

DWORD WINAPI arkada_yaz(void* parametre) {
    std::unique_ptr<ArkaYazma> is(static_cast<ArkaYazma*>(parametre));
    ProfilKilidi kilit;
    dosyayi_degistir(is->yol, is->baytlar);
    return 0;
}

// Only ended downloads are written; the whole list replaces the file. `arkada`: on a
// thread of its own (the write then happens at once here when no thread can be had).
void yaz(bool arkada = false) {
    yaziciyi_bekle();
    const std::wstring yol = profil_yolu(kIndirmeDosyasi);
    if (yol.empty()) return;
    Json liste = Json::array();
    for (const Indirme& kayit : kayitlar) {
        if (kayit.durum == Durum::suruyor) continue;
        liste.push_back({{"ad", kayit.ad},
                         {"adres", kayit.adres},
                         {"yol", kayit.yol},
                         {"boyut", kayit.alinan},
                         {"durum", durum_adi(kayit.durum)},
                         {"neden", kayit.neden},
                         {"zaman", kayit.zaman}});
    }
    std::string baytlar =
        Json{{"surum", 1}, {"indirmeler", liste}}.dump(1, ' ', false, Json::error_handler_t::replace) + "\n";
    if (arkada) {
        auto* is = new (std::nothrow) ArkaYazma{yol, std::move(baytlar)};
        if (is != nullptr) {
            yazici = CreateThread(nullptr, 0, arkada_yaz, is, 0, nullptr);
            if (yazici != nullptr) return;
            baytlar = std::move(is->baytlar);
            delete is;
        }
    }
    ProfilKilidi kilit;
    dosyayi_degistir(yol, baytlar);
}

void degisti() {
    ++surum;
}

void sinirla() {
    while (kayitlar.size() > kIndirmeSiniri) {
        size_t eski = 0;   // the oldest that has ended; a running one stays
        while (eski < kayitlar.size() && kayitlar[eski].durum == Durum::suruyor) ++eski;
        if (eski == kayitlar.size()) break;
        kayitlar.erase(kayitlar.begin() + static_cast<std::ptrdiff_t>(eski));
    }
}

std::string bayt_metni(int64_t bayt) {
    char metin[32];
    if (bayt < 1024) {
        snprintf(metin, sizeof(metin), "%lld B", static_cast<long long>(bayt));
    } else if (bayt < 1024 * 1024) {
        snprintf(metin, sizeof(metin), "%.1f KB", bayt / 1024.0);
    } else if (bayt < 1024ll * 1024 * 1024) {
        snprintf(metin, sizeof(metin), "%.1f MB", bayt / (1024.0 * 1024));
    } else {
        snprintf(metin, sizeof(metin), "%.1f GB", bayt / (1024.0 * 1024 * 1024));
    }
    return metin;
}

std::string neden_metni(int64_t neden) {
    switch (neden) {
    case 3: return "diskte yer yok";
    case 2: return "erisim engellendi";
    case 4: return "ad cok uzun";
    case 5: return "dosya cok buyuk";
    case 12: case 13: case 14: case 15: return "ag hatasi";
    case 16: return "gecersiz istek";
    case 19: return "dosya yok";
    case 20: case 22: return "erisim yasak";
    case 17: case 18: case 23: case 24: case 25: return "sunucu hatasi";
    case 27: return "kapatildi";
    case 29: return "motor durdu";
    default: return "dosya hatasi";
    }
}

Indirme* satirin_kaydi(int64_t satir) {
    if (satir < 0 || satir >= static_cast<int64_t>(kayitlar.size())) return nullptr;
    return &kayitlar[kayitlar.size() - 1 - static_cast<size_t>(satir)];
}

int64_t hucreye_yaz(const std::string& metin, char* buffer, int64_t capacity) {
    const int64_t boy = static_cast<int64_t>(metin.size()) < capacity ? static_cast<int64_t>(metin.size()) : capacity;
    memcpy(buffer, metin.data(), static_cast<size_t>(boy));
    return boy;
}

int64_t indirme_hucresi(void*, int64_t satir, int64_t sutun, char* buffer, int64_t capacity) {
    const Indirme* kayit = satirin_kaydi(satir);
    if (kayit == nullptr) return 0;
    return hucreye_yaz(sutun == 0 ? kayit->ad : indirme_durum_metni(satir), buffer, capacity);
}

int64_t uzunluk(const char* metin) { return static_cast<int64_t>(strlen(metin)); }

void paneli_kur() {
    w.kutu = _tr_arayuz_kutu_dikey();
    _tr_arayuz_pakle(panel_kaydirma, w.kutu, 1, 1, 0);
    _tr_arayuz_widget_gizle(w.kutu);
    w.liste = _tr_arayuz_liste();
    _tr_arayuz_liste_sutun_ekle(w.liste, "Ad", 2, 250);
    _tr_arayuz_liste_sutun_ekle(w.liste, "Durum", 5, 165);
    _tr_arayuz_liste_cagri_ayarla(w.liste, indirme_hucresi, nullptr);
    _tr_arayuz_pakle(w.kutu, w.liste, 1, 1, 0);
    const char etiket[] = "Secileni iptal et";
    w.iptal = _tr_arayuz_dugme(etiket, uzunluk(etiket));
    _tr_arayuz_pakle(w.kutu, w.iptal, 0, 1, 4);
}

void listeyi_guncelle() {
    if (w.liste < 0 || gosterilen_surum == surum) return;
    gosterilen_surum = surum;
    _tr_arayuz_liste_satir_sayisi_ayarla(w.liste, static_cast<int64_t>(kayitlar.size()));
    _tr_arayuz_liste_yenile(w.liste);
}

void sonu_kaydet(Indirme& kayit, Durum durum, int64_t neden) {
    kayit.durum = durum;
    kayit.neden = neden;
    kayit.zaman = static_cast<int64_t>(time(nullptr));
    const std::string yol = al_ve_birak(_tr_webgorunum_indirme_yolu_al(kayit.kimlik));
    if (!yol.empty()) kayit.yol = yol;
    const std::string ad = al_ve_birak(_tr_webgorunum_indirme_adi_al(kayit.kimlik));
    if (!ad.empty()) kayit.ad = ad;
    if (durum == Durum::tamam) {
        kayit.alinan = _tr_webgorunum_indirme_alinan(kayit.kimlik);
        bildir("Indirildi: " + kayit.ad);
    } else if (durum == Durum::basarisiz) {
        bildir("Indirilemedi: " + kayit.ad + " (" + neden_metni(neden) + ")");
    }
    degisti();
    sinirla();
    yaz(true);
}

// The system's handler for the file's kind opens it. ShellExecuteW answers more
// than 32 when it did; its small numbers say why not.
void dosyayi_ac(const Indirme& kayit) {
    const int boy = MultiByteToWideChar(CP_UTF8, 0, kayit.yol.c_str(), -1, nullptr, 0);
    std::wstring yol(static_cast<size_t>(boy > 0 ? boy : 1), L'\0');
    if (boy > 0) MultiByteToWideChar(CP_UTF8, 0, kayit.yol.c_str(), -1, &yol[0], boy);
    const DWORD nitelik = kayit.yol.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(yol.c_str());
    if (nitelik == INVALID_FILE_ATTRIBUTES || (nitelik & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        bildir("Dosya artik yok: " + kayit.ad);
        return;
    }
    const INT_PTR sonuc = kabukla_ac(yol.c_str());
    if (sonuc > 32) {
        bildir("Aciliyor: " + kayit.ad);
    } else if (sonuc == SE_ERR_NOASSOC || sonuc == SE_ERR_ASSOCINCOMPLETE) {
        bildir("Bu tur dosyayi acacak uygulama yok: " + kayit.ad);
    } else if (sonuc == ERROR_FILE_NOT_FOUND || sonuc == ERROR_PATH_NOT_FOUND) {
        bildir("Dosya artik yok: " + kayit.ad);
    } else {
        bildir("Dosya acilamadi: " + kayit.ad);
    }
}

int64_t suren_sayisi() {
    int64_t sayi = 0;
    for (const Indirme& kayit : kayitlar) sayi += kayit.durum == Durum::suruyor ? 1 : 0;
    return sayi;
}

// The Downloads button: its arrow alone while nothing runs, with the number running
// otherwise; changed only when that number changes.
int64_t gosterilen_suren = 0;
constexpr char kIndirmeOku[] = "\xE2\x86\x93";   // U+2193, as the button is made
constexpr char kIndirmeIpucu[] = "Indirmeler";

void indirme_dugmesini_guncelle() {
    const int64_t suren = suren_sayisi();
    if (suren == gosterilen_suren) return;
    gosterilen_suren = suren;
    const std::string etiket = suren == 0 ? kIndirmeOku : std::string(kIndirmeOku) + " " + std::to_string(suren);
    const std::string ipucu = suren == 0 ? kIndirmeIpucu : std::string(kIndirmeIpucu) + " (" + std::to_string(suren) + " suruyor)";
    _tr_arayuz_dugme_etiket_ayarla(sb_indirme, etiket.data(), static_cast<int64_t>(etiket.size()));
    _tr_arayuz_ipucu_ayarla(sb_indirme, ipucu.data(), static_cast<int64_t>(ipucu.size()));
}

}  // namespace

void indirmeleri_denetle() {
    for (int64_t id = _tr_webgorunum_indirme_basladi_mi(-1); id >= 0; id = _tr_webgorunum_indirme_basladi_mi(-1)) {
        yukle();   // the kept list first, so that writing keeps it
        Indirme kayit;
        kayit.kimlik = id;
        kayit.ad = al_ve_birak(_tr_webgorunum_indirme_adi_al(id));
        kayit.adres = al_ve_birak(_tr_webgorunum_indirme_adresi_al(id));
        kayit.yol = al_ve_birak(_tr_webgorunum_indirme_yolu_al(id));
        kayit.toplam = _tr_webgorunum_indirme_toplam(id);
        kayit.zaman = static_cast<int64_t>(time(nullptr));
        kayitlar.push_back(std::move(kayit));
        degisti();
        // A notice of earlier (a bookmark added) gives way: the status bar names the download now.
        bildir("");
    }
    for (Indirme& kayit : kayitlar) {
        if (kayit.durum != Durum::suruyor || kayit.kimlik < 0) continue;
        if (_tr_webgorunum_indirme_ilerledi_mi(kayit.kimlik) == 1) {
            kayit.alinan = _tr_webgorunum_indirme_alinan(kayit.kimlik);
            kayit.toplam = _tr_webgorunum_indirme_toplam(kayit.kimlik);
            degisti();
        }
        if (_tr_webgorunum_indirme_bitti_mi(kayit.kimlik) == 1) {
            sonu_kaydet(kayit, Durum::tamam, 0);
            break;   // the list may have changed: the rest next pass
        }
        const int64_t neden = _tr_webgorunum_indirme_basarisiz_mi(kayit.kimlik);
        if (neden > 0) {
            sonu_kaydet(kayit, neden == kIptalNedeni ? Durum::iptal : Durum::basarisiz, neden);
            break;
        }
    }
    indirme_dugmesini_guncelle();
    if (kenar_acik == 1 && aktif_panel == kIndirmelerPaneli) indirme_panelini_denetle();
}

void indirme_panelini_denetle() {
    if (w.liste < 0) return;
    listeyi_guncelle();
    const int64_t satir = _tr_arayuz_liste_etkinlesti_mi(w.liste);
    if (const Indirme* kayit = satirin_kaydi(satir)) {
        if (kayit->durum == Durum::tamam) dosyayi_ac(*kayit);
    }
    if (_tr_arayuz_liste_silme_istendi_mi(w.liste) == 1) {
        const int64_t secili = _tr_arayuz_liste_secili(w.liste);
        const Indirme* kayit = satirin_kaydi(secili);
        if (kayit != nullptr && kayit->durum != Durum::suruyor) {
            kayitlar.erase(kayitlar.begin() + static_cast<std::ptrdiff_t>(kayitlar.size() - 1 - static_cast<size_t>(secili)));
            degisti();
            yaz();
            listeyi_guncelle();
            const int64_t kalan = static_cast<int64_t>(kayitlar.size());
            if (kalan > 0) _tr_arayuz_liste_sec(w.liste, secili < kalan ? secili : kalan - 1);
        }
    }
    if (_tr_arayuz_dugme_basildi_mi(w.iptal) == 1) {
        const Indirme* kayit = satirin_kaydi(_tr_arayuz_liste_secili(w.liste));
        if (kayit != nullptr && kayit->durum == Durum::suruyor) _tr_webgorunum_indirme_iptal(kayit->kimlik);
    }
}

int64_t indirme_paneli_kutusu() {
    yukle();
    if (w.kutu < 0) paneli_kur();
    listeyi_guncelle();
    return w.kutu;
}

bool indirme_var_mi() {
    yukle();
    return !kayitlar.empty();
}

void indirmeler_paneline_git() {
    if (kenar_acik != 1 || aktif_panel != kIndirmelerPaneli) kenar_paneli_ac(kIndirmelerPaneli);
    _tr_arayuz_odakla(w.liste);
    if (!kayitlar.empty()) _tr_arayuz_liste_sec(w.liste, 0);
}

std::string indirme_durum_metni(int64_t satir) {
    const Indirme* kayit = satirin_kaydi(satir);
    if (kayit == nullptr) return {};
    switch (kayit->durum) {
    case Durum::tamam: return "tamamlandi";
    case Durum::iptal: return "iptal edildi";
    case Durum::basarisiz: return "basarisiz: " + neden_metni(kayit->neden);
    case Durum::suruyor: break;
    }
    if (kayit->toplam <= 0) return bayt_metni(kayit->alinan);
    return "%" + std::to_string(kayit->alinan * 100 / kayit->toplam) + " / " + bayt_metni(kayit->toplam);
}

int64_t indirme_yuzdesi() {
    int64_t alinan = 0, toplam = 0, suren = 0;
    for (const Indirme& kayit : kayitlar) {
        if (kayit.durum != Durum::suruyor) continue;
        ++suren;
        if (kayit.toplam > 0) {
            alinan += kayit.alinan;
            toplam += kayit.toplam;
        }
    }
    if (suren == 0) return -1;
    return toplam > 0 ? alinan * 100 / toplam : 0;
}

std::string suren_indirmeler_metni() {
    const int64_t suren = suren_sayisi();
    if (suren > 1) return std::to_string(suren) + " dosya";
    for (const Indirme& kayit : kayitlar) {
        if (kayit.durum == Durum::suruyor) return kayit.ad;
    }
    return {};
}

void indirmeleri_kapat() {
    yaziciyi_bekle();   // a download that has just ended is kept too
    bool suren_vardi = false;
    for (Indirme& kayit : kayitlar) {
        if (kayit.durum != Durum::suruyor) continue;
        _tr_webgorunum_indirme_iptal(kayit.kimlik);
        kayit.durum = Durum::iptal;
        kayit.neden = kIptalNedeni;
        kayit.zaman = static_cast<int64_t>(time(nullptr));
        suren_vardi = true;
    }
    if (suren_vardi) {
        yukle();
        yaz();
    }
}

const IndirmeWidgetleri& indirme_widgetleri() { return w; }

void indirmeleri_sifirla() {
    yaziciyi_bekle();
    kayitlar.clear();
    yuklendi = false;
    ++surum;
}

}  // namespace korva

// Korva's kept session: reading and writing "oturum.json", the start-up marker,
// the first tabs of a start and the waiting tabs. What is kept, when, and what the
// marker means: oturum.h.
//
// Start with ilk_sekmeleri_ac (start-up) and oturumu_denetle (every pass). The
// session is not read back while Korva runs: each pass compares a small signature
// of the tabs (their count, their web views, the selection and a counter of the
// changes of pages and zooms, which oturum_degisti counts) with the last one, and
// on a change takes a snapshot of the tabs, which is written a second later. The
// snapshot is what Korva writes when it closes too: by then the window and its
// tabs are gone.
#include "oturum.h"

#include <windows.h>

#include <string.h>

#include <nlohmann/json.hpp>

#include "depolar.h"
#include "korva.h"
#include "ozel_erisim.h"
#include "profil.h"
#include "tarayici_ic.h"
#include "webview/webgorunum_win_cz.h"
#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"

namespace korva {

namespace {

using Json = nlohmann::json;

constexpr wchar_t kOturumDosyasi[] = L"oturum.json";
constexpr wchar_t kIsaretDosyasi[] = L"acilis.isaret";
constexpr ULONGLONG kOturumBeklemesiMs = 1000;
// Starts in a row that ended before their first page, from which the session is
// offered instead of opened.
constexpr int64_t kGuvenliAcilisSiniri = 2;
// The file, its list, a tab: three levels, and a little room above for keys a
// later Korva may add (skipped here); anything deeper is not Korva's.
constexpr int kDerinlikSiniri = 8;
constexpr char kHizliErisimBasligi[] = "Hizli Erisim";
constexpr char kGorunumKaynagi[] = "view-source:";

// ---- Addresses and the file's bytes -----------------------------------------------------

bool onekli(const std::string& metin, const char* onek) {
    const size_t boy = strlen(onek);
    if (metin.size() < boy) return false;
    for (size_t i = 0; i < boy; ++i) {
        char c = metin[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != onek[i]) return false;
    }
    return true;
}

// An integer value of a JSON object within [en_az, en_cok]; false for any other.
bool tamsayi_al(const Json& nesne, const char* ad, int64_t en_az, int64_t en_cok, int64_t& deger) {
    const auto bulunan = nesne.find(ad);
    if (bulunan == nesne.end() || !bulunan->is_number_integer()) return false;
    if (bulunan->is_number_unsigned() && bulunan->get<uint64_t>() > static_cast<uint64_t>(INT64_MAX)) return false;
    deger = bulunan->get<int64_t>();
    return deger >= en_az && deger <= en_cok;
}

bool metin_al(const Json& nesne, const char* ad, size_t sinir, std::string& deger) {
    const auto bulunan = nesne.find(ad);
    if (bulunan == nesne.end() || !bulunan->is_string()) return false;
    const std::string& metin = bulunan->get_ref<const std::string&>();
    if (metin.size() > sinir) return false;
    deger = metin;
    return true;
}

bool sekmeyi_coz(const Json& nesne, OturumSekmesi& sekme) {
    if (!nesne.is_object()) return false;
    if (!metin_al(nesne, "adres", kAdresSiniri, sekme.adres)) return false;
    if (!sekme.adres.empty() && !saklanabilir_adres(sekme.adres)) return false;
    if (!metin_al(nesne, "baslik", kBaslikSiniri, sekme.baslik)) return false;
    return tamsayi_al(nesne, "yakinlik", 25, 500, sekme.yakinlik);
}

// ---- The marker -----------------------------------------------------------------------

// How many starts in a row have not drawn their first page: 0 without a marker. A
// marker whose count cannot be read still says one start did not.
int64_t isareti_oku(const std::wstring& yol) {
    HANDLE dosya = CreateFileW(yol.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (dosya == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND ? 0 : 1;
    char metin[8] = {};
    DWORD okunan = 0;
    ReadFile(dosya, metin, sizeof(metin) - 1, &okunan, nullptr);
    CloseHandle(dosya);
    int64_t sayi = 0;
    for (DWORD i = 0; i < okunan && metin[i] >= '0' && metin[i] <= '9'; ++i) sayi = sayi * 10 + (metin[i] - '0');
    return sayi < 1 ? 1 : sayi;
}

// Written straight, without the temporary file and the flush of the kept files:
// a marker cut short still exists, and reads as one start.
void isareti_yaz(const std::wstring& yol, int64_t sayi) {
    const std::string metin = std::to_string(sayi < 1000 ? sayi : 1000);
    OzelErisim ozel(OzelErisim::DOSYA);
    HANDLE dosya =
        CreateFileW(yol.c_str(), GENERIC_WRITE, 0, ozel.nitelikler(), CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (dosya == INVALID_HANDLE_VALUE) return;
    DWORD yazilan = 0;
    WriteFile(dosya, metin.data(), static_cast<DWORD>(metin.size()), &yazilan, nullptr);
    CloseHandle(dosya);
}

// ---- State ----------------------------------------------------------------------------

// The session belongs to the first Korva of a profile folder, which holds this
// mutex from its start to its end (the system lets go of it however the process
// ends): it alone opens the kept tabs, writes them and keeps the marker. A second
// Korva of the same folder starts with the start page and keeps nothing, so that
// the two neither open the same tabs twice nor count each other's starts.
HANDLE sahiplik = nullptr;

bool oturumun_sahibi_ol() {
    sahiplik = CreateMutexW(nullptr, FALSE, profil_nesne_adi(L"KorvaOturumu").c_str());
    if (sahiplik == nullptr) return false;
    const DWORD sonuc = WaitForSingleObject(sahiplik, 0);
    return sonuc == WAIT_OBJECT_0 || sonuc == WAIT_ABANDONED;
}

bool baslatildi = false;
bool yazilamaz = false;          // the file was there but unreadable: never write over it
bool isaret_duruyor = false;     // the marker waits for the first page to be drawn
int cizilmis_turlar = 0;         // passes since the selected page completed its navigation
std::string bekleyen_bildirim;   // said by the first pass, after the first tab's selection

uint64_t son_imza = 0;
uint64_t olay_sayaci = 0;
bool kirli = false;
ULONGLONG degisim_ani = 0;
Oturum anlik;  // the tabs at the last change, as they will be written

Oturum sunulan;
bool sunulan_var = false;

// Waiting tabs, by slot; a slot's id is kBekleyenTabani - slot.
constexpr int64_t kBekleyenTabani = -1000000;
OturumSekmesi bekleyenler[kOturumSekmeSiniri];
bool bekleyen_dolu[kOturumSekmeSiniri];
int64_t bekleyen_etiketi = -1;

int64_t bekleyen_yuvasi(int64_t kimlik) {
    const int64_t yuva = kBekleyenTabani - kimlik;
    if (yuva < 0 || yuva >= static_cast<int64_t>(kOturumSekmeSiniri) || !bekleyen_dolu[yuva]) return -1;
    return yuva;
}

// ---- Reading and writing the session ------------------------------------------------------

// The kept session, with the damaged-file rule of the profile: a damaged file is
// moved aside and said in the status bar; one that cannot be read is never written.
Oturum oturumu_oku(const std::wstring& yol) {
    Oturum oturum;
    std::string baytlar;
    std::wstring ayrilan;
    ProfilKilidi kilit;
    OkumaSonucu sonuc = dosyayi_oku(yol, baytlar, ayrilan);
    if (sonuc == OkumaSonucu::tamam && !oturumu_coz(baytlar, oturum)) {
        sonuc = dosyayi_kenara_ayir(yol, ayrilan) ? OkumaSonucu::bozuk_ayrildi : OkumaSonucu::okunamadi;
    }
    if (sonuc == OkumaSonucu::bozuk_ayrildi) {
        bekleyen_bildirim = "Oturum dosyasi bozuktu: " + utf8(ayrilan) + " olarak ayrildi, baslangic sayfasiyla baslandi";
    } else if (sonuc == OkumaSonucu::okunamadi) {
        yazilamaz = true;
        bekleyen_bildirim = "Oturum dosyasi okunamadi; bu oturumda sekmeler kaydedilmeyecek";
    }
    return oturum;
}

// What the file keeps of the open tabs: an address that may not be kept becomes a
// start page in its place, with no title.
Oturum saklanacak(Oturum oturum) {
    for (OturumSekmesi& sekme : oturum.sekmeler) {
        if (!saklanabilir_adres(sekme.adres)) {
            sekme.adres.clear();
            sekme.baslik.clear();
        }
        if (sekme.baslik.size() > kBaslikSiniri) {
            size_t boy = kBaslikSiniri;
            while (boy > 0 && (static_cast<unsigned char>(sekme.baslik[boy]) & 0xC0) == 0x80) --boy;
            sekme.baslik.resize(boy);
        }
        if (sekme.yakinlik < 25 || sekme.yakinlik > 500) sekme.yakinlik = 100;
    }
    if (oturum.sekmeler.size() > kOturumSekmeSiniri) oturum.sekmeler.resize(kOturumSekmeSiniri);
    const int64_t sayi = static_cast<int64_t>(oturum.sekmeler.size());
    if (oturum.secili < 0 || oturum.secili >= sayi) oturum.secili = 0;
    return oturum;
}

bool oturumu_diske_yaz() {
    if (yazilamaz) return true;
    const std::wstring yol = profil_yolu(kOturumDosyasi);
    if (yol.empty()) return true;
    ProfilKilidi kilit;
    if (!kilit.alindi()) return false;
    yarim_yazilanlari_sil(yol);  // the mutex is held: no writer is at work
    return dosyayi_degistir(yol, oturumu_yaz(anlik));
}

// A signature of what the session keeps, cheap enough for every pass.
uint64_t imza() {
    uint64_t ozet = 1469598103934665603ull;  // FNV-1a over the values
    auto kat = [&ozet](int64_t deger) {
        ozet ^= static_cast<uint64_t>(deger);
        ozet *= 1099511628211ull;
    };
    kat(wv_sayisi);
    kat(_tr_arayuz_sekme_secili(sekme_defteri));
    for (int64_t konum = 0; konum < wv_sayisi; ++konum) kat(sekme_webgorunumu(konum));
    kat(static_cast<int64_t>(olay_sayaci));
    return ozet;
}

// ---- Opening tabs -------------------------------------------------------------------

// The caption of a waiting tab: its title, else its address, else the start page's.
std::string bekleyen_basligi(const OturumSekmesi& sekme) {
    if (!sekme.baslik.empty()) return sekme.baslik;
    if (!sekme.adres.empty()) return sekme.adres;
    return kHizliErisimBasligi;
}

// Adds the session's tabs after the open ones, each waiting, and selects the one
// it had selected, which gets its web view now. The keyboard goes to that page,
// or to the address entry when it is a start page. False when no tab was added.
bool sekmeleri_ekle(const Oturum& oturum) {
    const int64_t ilk = wv_sayisi;
    for (const OturumSekmesi& sekme : oturum.sekmeler) {
        const int64_t kimlik = bekleyen_ekle(sekme);
        if (kimlik == -1) break;
        if (!bekleyen_sekme_ekle(kimlik, bekleyen_basligi(sekme))) {
            bekleyeni_birak(kimlik);
            break;
        }
    }
    const int64_t eklenen = wv_sayisi - ilk;
    if (eklenen <= 0) return false;
    const int64_t hedef = ilk + (oturum.secili < eklenen ? oturum.secili : 0);
    const bool baslangic = oturum.sekmeler[static_cast<size_t>(hedef - ilk)].adres.empty();
    sekmeye_gec(hedef);
    const int64_t view = secili_webgorunum();
    if (baslangic || view < 0) {
        adres_girisine_odaklan();
    } else {
        _tr_arayuz_odakla(_tr_webgorunum_widget_id(view));
    }
    return true;
}

void baslangic_sayfasiyla_ac() {
    if (hizli_erisim_ac() >= 0) adres_girisine_odaklan();
}

// The first page is drawn: the selected tab's navigation completed a pass ago (its
// paint has been pumped), or the tab has no web view to wait for.
bool ilk_sayfa_cizildi() {
    const int64_t view = secili_webgorunum();
    if (view >= 0 && _tr_webgorunum_yuklenme_yuzdesi(view) != 100) return false;
    return ++cizilmis_turlar > 1;
}

}  // namespace

// ---- The file -------------------------------------------------------------------------

bool saklanabilir_adres(const std::string& adres) {
    if (adres.empty() || adres.size() > kAdresSiniri) return false;
    std::string ic = adres;
    if (onekli(ic, kGorunumKaynagi)) ic = ic.substr(strlen(kGorunumKaynagi));
    return onekli(ic, "http://") || onekli(ic, "https://") || onekli(ic, "file:");
}

bool oturumu_coz(const std::string& baytlar, Oturum& oturum) {
    oturum = Oturum();
    try {
        if (baytlar.size() > kOturumDosyaSiniri || !derinlik_uygun(baytlar, kDerinlikSiniri)) return false;
        const Json belge = Json::parse(baytlar, nullptr, false);
        if (belge.is_discarded() || !belge.is_object()) return false;
        int64_t surum = 0;
        if (!tamsayi_al(belge, "surum", 1, 1, surum)) return false;
        const auto sekmeler = belge.find("sekmeler");
        if (sekmeler == belge.end() || !sekmeler->is_array() || sekmeler->size() > kOturumSekmeSiniri) return false;
        Oturum okunan;
        for (const Json& nesne : *sekmeler) {
            OturumSekmesi sekme;
            if (!sekmeyi_coz(nesne, sekme)) return false;
            okunan.sekmeler.push_back(std::move(sekme));
        }
        const int64_t son = okunan.sekmeler.empty() ? 0 : static_cast<int64_t>(okunan.sekmeler.size()) - 1;
        if (!tamsayi_al(belge, "secili", 0, son, okunan.secili)) return false;
        oturum = std::move(okunan);
        return true;
    } catch (...) {
        oturum = Oturum();
        return false;
    }
}

std::string oturumu_yaz(const Oturum& oturum) {
    Json sekmeler = Json::array();
    for (const OturumSekmesi& sekme : oturum.sekmeler) {
        sekmeler.push_back({{"adres", sekme.adres}, {"baslik", sekme.baslik}, {"yakinlik", sekme.yakinlik}});
    }
    const Json belge = {{"surum", 1}, {"secili", oturum.secili}, {"sekmeler", std::move(sekmeler)}};
    return belge.dump(1, ' ', false, Json::error_handler_t::replace) + "\n";
}

// ---- Start, passes, end ------------------------------------------------------------------

void ilk_sekmeleri_ac() {
    baslatildi = true;
    const std::wstring isaret = profil_yolu(kIsaretDosyasi);
    const std::wstring yol = profil_yolu(kOturumDosyasi);
    if (isaret.empty() || yol.empty()) {
        yazilamaz = true;
        baslangic_sayfasiyla_ac();
        return;
    }
    if (!oturumun_sahibi_ol()) {
        yazilamaz = true;
        baslangic_sayfasiyla_ac();
        return;
    }
    const int64_t yarim_kalanlar = isareti_oku(isaret);
    isareti_yaz(isaret, yarim_kalanlar + 1);
    isaret_duruyor = true;
    Oturum kayitli = ayarlar().oturumu_surdur ? oturumu_oku(yol) : Oturum();
    if (kayitli.sekmeler.empty()) {
        baslangic_sayfasiyla_ac();
    } else if (yarim_kalanlar >= kGuvenliAcilisSiniri) {
        sunulan = std::move(kayitli);
        sunulan_var = true;
        bekleyen_bildirim = "Korva iki kez acilirken kapandi: son oturum Gecmis panelinden acilabilir (Ctrl+H)";
        baslangic_sayfasiyla_ac();
    } else if (!sekmeleri_ekle(kayitli)) {
        baslangic_sayfasiyla_ac();
    }
    // What was just opened is what the file holds: nothing to write until it changes.
    son_imza = imza();
}

void oturumu_denetle() {
    if (!baslatildi || _tr_pencere_kapatildi_mi(ana_pencere) != 0) return;
    if (!bekleyen_bildirim.empty()) {
        bildir(bekleyen_bildirim);
        bekleyen_bildirim.clear();
    }
    if (isaret_duruyor && ilk_sayfa_cizildi()) {
        DeleteFileW(profil_yolu(kIsaretDosyasi).c_str());
        isaret_duruyor = false;
    }
    if (yazilamaz) return;
    const uint64_t simdiki = imza();
    const ULONGLONG simdi = GetTickCount64();
    if (simdiki != son_imza) {
        son_imza = simdiki;
        anlik = saklanacak(acik_oturum());
        kirli = true;
        degisim_ani = simdi;
    }
    if (kirli && simdi - degisim_ani >= kOturumBeklemesiMs) {
        if (oturumu_diske_yaz()) {
            kirli = false;
        } else {
            degisim_ani = simdi;  // the mutex was held too long: a second later
        }
    }
}

void oturum_degisti() { ++olay_sayaci; }

void oturumu_kapat() {
    if (!baslatildi) return;
    if (kirli && oturumu_diske_yaz()) kirli = false;
    if (isaret_duruyor) DeleteFileW(profil_yolu(kIsaretDosyasi).c_str());
    isaret_duruyor = false;
}

// ---- The offered session -----------------------------------------------------------------

bool sunulan_oturum_var() { return sunulan_var; }

size_t sunulan_sekme_sayisi() { return sunulan_var ? sunulan.sekmeler.size() : 0; }

void sunulan_oturumu_ac() {
    if (!sunulan_var) return;
    sunulan_var = false;
    if (!sekmeleri_ekle(sunulan)) bildir("Sekme siniri: son oturumun sekmeleri acilamadi");
    sunulan = Oturum();
}

// ---- Waiting tabs ---------------------------------------------------------------------

bool bekleyen_mi(int64_t kimlik) { return bekleyen_yuvasi(kimlik) >= 0; }

int64_t bekleyen_ekle(const OturumSekmesi& sekme) {
    for (size_t yuva = 0; yuva < kOturumSekmeSiniri; ++yuva) {
        if (bekleyen_dolu[yuva]) continue;
        bekleyen_dolu[yuva] = true;
        bekleyenler[yuva] = sekme;
        return kBekleyenTabani - static_cast<int64_t>(yuva);
    }
    return -1;
}

const OturumSekmesi* bekleyen_sekme(int64_t kimlik) {
    const int64_t yuva = bekleyen_yuvasi(kimlik);
    return yuva >= 0 ? &bekleyenler[yuva] : nullptr;
}

void bekleyeni_birak(int64_t kimlik) {
    const int64_t yuva = bekleyen_yuvasi(kimlik);
    if (yuva < 0) return;
    bekleyen_dolu[yuva] = false;
    bekleyenler[yuva] = OturumSekmesi();
}

void bekleyenlere_yakinlik_ver(int64_t yuzde) {
    for (size_t yuva = 0; yuva < kOturumSekmeSiniri; ++yuva) {
        if (bekleyen_dolu[yuva]) bekleyenler[yuva].yakinlik = yuzde;
    }
}

// One empty label serves every waiting tab: such a tab shows it only until the
// pass that gives the tab its web view, and the strip never hides the page it shows.
int64_t bekleyen_sayfasi() {
    if (bekleyen_etiketi < 0) bekleyen_etiketi = _tr_arayuz_etiket("", 0);
    return bekleyen_etiketi;
}

void oturumu_sifirla() {
    if (sahiplik != nullptr) {
        ReleaseMutex(sahiplik);
        CloseHandle(sahiplik);
        sahiplik = nullptr;
    }
    baslatildi = yazilamaz = isaret_duruyor = kirli = sunulan_var = false;
    cizilmis_turlar = 0;
    bekleyen_bildirim.clear();
    son_imza = olay_sayaci = 0;
    anlik = sunulan = Oturum();
    for (size_t yuva = 0; yuva < kOturumSekmeSiniri; ++yuva) bekleyeni_birak(kBekleyenTabani - static_cast<int64_t>(yuva));
}

}  // namespace korva

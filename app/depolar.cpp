// Korva's kept lists and settings in memory, and their merge-and-write into the
// profile's files. What each file holds and when it is written: depolar.h.
//
// Merging. Each list keeps what this process changed since its last write (the
// visits recorded, a clear of the history, the bookmarks added and removed); a
// write takes the profile's mutex, reads the file as it is now (another Korva may
// have written it), applies those changes to it, writes the result and takes it as
// the list in memory. So nothing either process did is lost, and each sees the
// other's entries after its next write.
#include "depolar.h"
#include "tarayici_ic.h"

#include <windows.h>

#include <algorithm>

#include <nlohmann/json.hpp>

namespace korva {

namespace {

using Json = nlohmann::json;

constexpr wchar_t kGecmisDosyasi[] = L"gecmis.json";
constexpr wchar_t kYerImiDosyasi[] = L"yer_imleri.json";
constexpr wchar_t kAyarDosyasi[] = L"ayarlar.json";
constexpr char kGecmisAnahtari[] = "gecmis";
constexpr char kYerImiAnahtari[] = "yer_imleri";
constexpr ULONGLONG kBeklemeMs = 2000;

// A UTF-8 text cut to at most `sinir` bytes, never inside a character.
std::string kirp(const std::string& metin, size_t sinir) {
    if (metin.size() <= sinir) return metin;
    size_t boy = sinir;
    while (boy > 0 && (static_cast<unsigned char>(metin[boy]) & 0xC0) == 0x80) --boy;
    return metin.substr(0, boy);
}

std::vector<std::string> bildirimler;

// One file's state: whether it may be written at all (not when it was there but
// unreadable), and when it was last read or written by us, to know whether another
// process changed it since.
struct DosyaDurumu {
    bool yuklendi = false;
    bool yazilamaz = false;
    FILETIME son_yazma = {};
    bool degisiklik_var = false;
    ULONGLONG degisim_ani = 0;
};

FILETIME yazma_zamani(const std::wstring& yol) {
    WIN32_FILE_ATTRIBUTE_DATA bilgi = {};
    if (!GetFileAttributesExW(yol.c_str(), GetFileExInfoStandard, &bilgi)) return {};
    return bilgi.ftLastWriteTime;
}

bool ayni_zaman(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

// Says what reading a file found, when there is something to say.
void sonucu_bildir(OkumaSonucu sonuc, const char* ne, const std::wstring& ayrilan, DosyaDurumu& durum) {
    if (sonuc == OkumaSonucu::bozuk_ayrildi) {
        bildirimler.push_back(std::string(ne) + " dosyasi bozuktu: " + utf8(ayrilan) +
                              " olarak ayrildi, bos listeyle baslandi");
    } else if (sonuc == OkumaSonucu::okunamadi) {
        durum.yazilamaz = true;
        bildirimler.push_back(std::string(ne) + " dosyasi okunamadi; bu oturumda degisiklikler kaydedilmeyecek");
    }
}

// Said once: without a profile folder nothing is kept.
bool klasorsuz_bildirildi = false;
void klasorsuz_bildir() {
    if (klasorsuz_bildirildi) return;
    klasorsuz_bildirildi = true;
    bildirimler.push_back("Profil klasoru kullanilamiyor; gecmis, yer imleri ve ayarlar kaydedilmeyecek");
}

// Reads a list file (under the mutex the caller holds) with the damaged-file rule.
std::vector<SayfaKaydi> liste_oku(const wchar_t* dosya, const char* anahtar, const char* ne, DosyaDurumu& durum) {
    std::vector<SayfaKaydi> kayitlar;
    std::wstring ayrilan;
    const std::wstring yol = profil_yolu(dosya);
    if (yol.empty()) {
        durum.yazilamaz = true;
        klasorsuz_bildir();
        return kayitlar;
    }
    const OkumaSonucu sonuc = kayit_dosyasini_oku(yol, anahtar, kayitlar, ayrilan);
    sonucu_bildir(sonuc, ne, ayrilan, durum);
    durum.son_yazma = yazma_zamani(yol);
    return kayitlar;
}

bool liste_yaz(const wchar_t* dosya, const char* anahtar, const std::vector<SayfaKaydi>& kayitlar,
               DosyaDurumu& durum) {
    const std::wstring yol = profil_yolu(dosya);
    yarim_yazilanlari_sil(yol);  // the caller holds the mutex: no writer is at work
    if (!dosyayi_degistir(yol, kayitlari_yaz(anahtar, kayitlar))) return false;
    durum.son_yazma = yazma_zamani(yol);
    return true;
}

// ---- History ------------------------------------------------------------------------

std::vector<SayfaKaydi> gecmis_listesi;
size_t gecmis_yazilan = 0;  // entries of gecmis_listesi at its start that the file has
bool gecmis_temizlenecek = false;
DosyaDurumu gecmis_durumu;
uint64_t gecmis_sayaci = 1;

void gecmisi_sinirla(std::vector<SayfaKaydi>& kayitlar) {
    if (kayitlar.size() > kKayitSiniri) kayitlar.erase(kayitlar.begin(), kayitlar.end() - kKayitSiniri);
}

bool gecmisi_yaz() {
    if (gecmis_durumu.yazilamaz) return false;
    ProfilKilidi kilit;
    if (!kilit.alindi()) return false;
    std::vector<SayfaKaydi> yeni(gecmis_listesi.begin() + static_cast<long>(gecmis_yazilan), gecmis_listesi.end());
    std::vector<SayfaKaydi> sonuc;
    if (!gecmis_temizlenecek) {
        const std::wstring yol = profil_yolu(kGecmisDosyasi);
        const bool baskasi_yazdi = !ayni_zaman(yazma_zamani(yol), gecmis_durumu.son_yazma);
        if (baskasi_yazdi) {
            sonuc = liste_oku(kGecmisDosyasi, kGecmisAnahtari, "Gecmis", gecmis_durumu);
            if (gecmis_durumu.yazilamaz) return false;
        } else {
            sonuc.assign(gecmis_listesi.begin(), gecmis_listesi.begin() + static_cast<long>(gecmis_yazilan));
        }
    }
    // Visits of both processes, in the order they happened.
    sonuc.insert(sonuc.end(), yeni.begin(), yeni.end());
    std::stable_sort(sonuc.begin(), sonuc.end(),
                     [](const SayfaKaydi& a, const SayfaKaydi& b) { return a.zaman < b.zaman; });
    gecmisi_sinirla(sonuc);
    if (!liste_yaz(kGecmisDosyasi, kGecmisAnahtari, sonuc, gecmis_durumu)) return false;
    gecmis_listesi = std::move(sonuc);
    gecmis_yazilan = gecmis_listesi.size();
    gecmis_temizlenecek = false;
    gecmis_durumu.degisiklik_var = false;
    ++gecmis_sayaci;
    return true;
}

// ---- Bookmarks ------------------------------------------------------------------------

struct YerImiDegisikligi {
    bool ekle;
    SayfaKaydi kayit;
};

std::vector<SayfaKaydi> yer_imi_listesi;
std::vector<YerImiDegisikligi> yer_imi_degisiklikleri;
DosyaDurumu yer_imi_durumu;
uint64_t yer_imi_sayaci = 1;

void degisikligi_uygula(std::vector<SayfaKaydi>& kayitlar, const YerImiDegisikligi& degisiklik) {
    auto ayni_adres = [&](const SayfaKaydi& kayit) { return kayit.adres == degisiklik.kayit.adres; };
    if (degisiklik.ekle) {
        if (std::none_of(kayitlar.begin(), kayitlar.end(), ayni_adres) && kayitlar.size() < kKayitSiniri) {
            kayitlar.push_back(degisiklik.kayit);
        }
    } else {
        kayitlar.erase(std::remove_if(kayitlar.begin(), kayitlar.end(), ayni_adres), kayitlar.end());
    }
}

bool yer_imlerini_yaz() {
    if (yer_imi_durumu.yazilamaz) return false;
    ProfilKilidi kilit;
    if (!kilit.alindi()) return false;
    std::vector<SayfaKaydi> sonuc = liste_oku(kYerImiDosyasi, kYerImiAnahtari, "Yer imleri", yer_imi_durumu);
    if (yer_imi_durumu.yazilamaz) return false;
    for (const YerImiDegisikligi& degisiklik : yer_imi_degisiklikleri) degisikligi_uygula(sonuc, degisiklik);
    if (!liste_yaz(kYerImiDosyasi, kYerImiAnahtari, sonuc, yer_imi_durumu)) return false;
    yer_imi_listesi = std::move(sonuc);
    yer_imi_degisiklikleri.clear();
    ++yer_imi_sayaci;
    return true;
}

// ---- Settings ---------------------------------------------------------------------------

Ayarlar ayar_degerleri;
DosyaDurumu ayar_durumu;

bool ayarlari_coz(const std::string& baytlar, Ayarlar& sonuc) {
    try {
        if (baytlar.size() > 65536) return false;
        const Json belge = Json::parse(baytlar, nullptr, false);
        if (!belge.is_object()) return false;
        const auto surum = belge.find("surum");
        if (surum == belge.end() || !surum->is_number_integer() || surum->get<int64_t>() != 1) return false;
        const auto sayfa = belge.find("baslangic_sayfasi");
        const auto yakinlik = belge.find("yakinlik");
        if (sayfa == belge.end() || !sayfa->is_string() || sayfa->get_ref<const std::string&>().size() > kAdresSiniri) {
            return false;
        }
        if (yakinlik == belge.end() || !yakinlik->is_number_integer()) return false;
        const int64_t yuzde = yakinlik->get<int64_t>();
        if (yuzde < 25 || yuzde > 500) return false;
        // Optional: files written before the search engine was kept have none.
        const auto arama = belge.find("arama_motoru");
        if (arama != belge.end() &&
            (!arama->is_string() || arama->get_ref<const std::string&>().size() > kAdresSiniri)) {
            return false;
        }
        // Optional too: files written before the start's choice was kept have none.
        const auto surdur = belge.find("oturumu_surdur");
        if (surdur != belge.end() && !surdur->is_boolean()) return false;
        sonuc.oturumu_surdur = surdur != belge.end() ? surdur->get<bool>() : true;
        sonuc.baslangic_sayfasi = sayfa->get<std::string>();
        sonuc.yakinlik = yuzde;
        sonuc.arama_motoru = arama != belge.end() ? arama->get<std::string>() : std::string();
        return true;
    } catch (...) {
        return false;
    }
}

bool ayarlari_yaz() {
    if (ayar_durumu.yazilamaz) return false;
    ProfilKilidi kilit;
    if (!kilit.alindi()) return false;
    Json belge = {{"surum", 1},
                  {"baslangic_sayfasi", ayar_degerleri.baslangic_sayfasi},
                  {"yakinlik", ayar_degerleri.yakinlik},
                  {"arama_motoru", ayar_degerleri.arama_motoru},
                  {"oturumu_surdur", ayar_degerleri.oturumu_surdur}};
    const std::wstring yol = profil_yolu(kAyarDosyasi);
    if (!dosyayi_degistir(yol, belge.dump(1, ' ', false, Json::error_handler_t::replace) + "\n")) return false;
    ayar_durumu.degisiklik_var = false;
    return true;
}

void degisti(DosyaDurumu& durum) {
    durum.degisiklik_var = true;
    durum.degisim_ani = GetTickCount64();
}

bool vakti_geldi(const DosyaDurumu& durum, bool hemen) {
    return durum.degisiklik_var && (hemen || GetTickCount64() - durum.degisim_ani >= kBeklemeMs);
}

}  // namespace

// ---- History ------------------------------------------------------------------------

void gecmisi_yukle() {
    if (gecmis_durumu.yuklendi) return;
    gecmis_durumu.yuklendi = true;
    ProfilKilidi kilit;
    gecmis_listesi = liste_oku(kGecmisDosyasi, kGecmisAnahtari, "Gecmis", gecmis_durumu);
    std::stable_sort(gecmis_listesi.begin(), gecmis_listesi.end(),
                     [](const SayfaKaydi& a, const SayfaKaydi& b) { return a.zaman < b.zaman; });
    gecmis_yazilan = gecmis_listesi.size();
    ++gecmis_sayaci;
}

const std::vector<SayfaKaydi>& gecmis() { return gecmis_listesi; }

bool gecmis_yuklendi_mi() { return gecmis_durumu.yuklendi; }

size_t gecmise_ekle(const std::string& baslik, const std::string& adres) {
    gecmisi_yukle();
    SayfaKaydi kayit;
    kayit.baslik = kirp(baslik, kBaslikSiniri);
    kayit.adres = kirp(adres, kAdresSiniri);
    kayit.zaman = simdiki_zaman();
    gecmis_listesi.push_back(std::move(kayit));
    // Beyond the bound the oldest go; those the file already has go from it too.
    if (gecmis_listesi.size() > kKayitSiniri + kKayitSiniri / 10) {
        const size_t fazla = gecmis_listesi.size() - kKayitSiniri;
        gecmis_listesi.erase(gecmis_listesi.begin(), gecmis_listesi.begin() + static_cast<long>(fazla));
        gecmis_yazilan = gecmis_yazilan > fazla ? gecmis_yazilan - fazla : 0;
    }
    degisti(gecmis_durumu);
    ++gecmis_sayaci;
    return gecmis_listesi.size() - 1;
}

void gecmis_basligini_guncelle(size_t yer, const std::string& adres, const std::string& baslik) {
    // Only an entry not written yet: the written ones are the file's.
    if (yer < gecmis_yazilan || yer >= gecmis_listesi.size()) return;
    SayfaKaydi& kayit = gecmis_listesi[yer];
    if (kayit.adres != adres) return;
    const std::string yeni = kirp(baslik, kBaslikSiniri);
    if (kayit.baslik == yeni) return;
    kayit.baslik = yeni;
    degisti(gecmis_durumu);
    ++gecmis_sayaci;
}

void gecmisi_temizle() {
    gecmisi_yukle();
    const bool bos_zaten = gecmis_listesi.empty() && !gecmis_temizlenecek;
    gecmis_listesi.clear();
    gecmis_yazilan = 0;
    if (bos_zaten && GetFileAttributesW(profil_yolu(kGecmisDosyasi).c_str()) == INVALID_FILE_ATTRIBUTES) return;
    gecmis_temizlenecek = true;
    degisti(gecmis_durumu);
    ++gecmis_sayaci;
}

uint64_t gecmis_surumu() { return gecmis_sayaci; }

// ---- Bookmarks ------------------------------------------------------------------------

void yer_imlerini_yukle() {
    if (yer_imi_durumu.yuklendi) return;
    yer_imi_durumu.yuklendi = true;
    ProfilKilidi kilit;
    yer_imi_listesi = liste_oku(kYerImiDosyasi, kYerImiAnahtari, "Yer imleri", yer_imi_durumu);
    ++yer_imi_sayaci;
}

const std::vector<SayfaKaydi>& yer_imleri() { return yer_imi_listesi; }

bool yer_imi_var_mi(const std::string& adres) {
    return std::any_of(yer_imi_listesi.begin(), yer_imi_listesi.end(),
                       [&](const SayfaKaydi& kayit) { return kayit.adres == adres; });
}

bool yer_imi_ekle(const std::string& baslik, const std::string& adres) {
    yer_imlerini_yukle();
    if (yer_imi_listesi.size() >= kKayitSiniri) return false;
    YerImiDegisikligi degisiklik{true, {kirp(baslik, kBaslikSiniri), kirp(adres, kAdresSiniri), simdiki_zaman()}};
    if (degisiklik.kayit.adres.empty()) return false;
    degisikligi_uygula(yer_imi_listesi, degisiklik);
    yer_imi_degisiklikleri.push_back(std::move(degisiklik));
    ++yer_imi_sayaci;
    return yer_imlerini_yaz();
}

bool yer_imi_kaldir(const std::string& adres) {
    yer_imlerini_yukle();
    YerImiDegisikligi degisiklik{false, {std::string(), adres, 0}};
    degisikligi_uygula(yer_imi_listesi, degisiklik);
    yer_imi_degisiklikleri.push_back(std::move(degisiklik));
    ++yer_imi_sayaci;
    return yer_imlerini_yaz();
}

void yer_imlerini_tazele() {
    yer_imlerini_yukle();
    if (yer_imi_durumu.yazilamaz) return;
    const FILETIME simdi = yazma_zamani(profil_yolu(kYerImiDosyasi));
    if (ayni_zaman(simdi, yer_imi_durumu.son_yazma) && yer_imi_degisiklikleri.empty()) return;
    ProfilKilidi kilit;
    if (!kilit.alindi()) return;
    std::vector<SayfaKaydi> sonuc = liste_oku(kYerImiDosyasi, kYerImiAnahtari, "Yer imleri", yer_imi_durumu);
    for (const YerImiDegisikligi& degisiklik : yer_imi_degisiklikleri) degisikligi_uygula(sonuc, degisiklik);
    yer_imi_listesi = std::move(sonuc);
    ++yer_imi_sayaci;
}

uint64_t yer_imleri_surumu() { return yer_imi_sayaci; }

// ---- Settings ---------------------------------------------------------------------------

void ayarlari_yukle() {
    if (ayar_durumu.yuklendi) return;
    ayar_durumu.yuklendi = true;
    const std::wstring yol = profil_yolu(kAyarDosyasi);
    if (yol.empty()) {
        ayar_durumu.yazilamaz = true;
        klasorsuz_bildir();
        return;
    }
    ProfilKilidi kilit;
    std::string baytlar;
    std::wstring ayrilan;
    OkumaSonucu sonuc = dosyayi_oku(yol, baytlar, ayrilan);
    Ayarlar okunan;
    if (sonuc == OkumaSonucu::tamam && !ayarlari_coz(baytlar, okunan)) {
        // Damaged settings go aside like a damaged list, and the defaults hold.
        sonuc = dosyayi_kenara_ayir(yol, ayrilan) ? OkumaSonucu::bozuk_ayrildi : OkumaSonucu::okunamadi;
        okunan = Ayarlar();
    }
    sonucu_bildir(sonuc, "Ayarlar", ayrilan, ayar_durumu);
    ayar_degerleri = okunan;
}

const Ayarlar& ayarlar() { return ayar_degerleri; }

void ayarlari_degistir(const Ayarlar& yeni) {
    ayarlari_yukle();
    Ayarlar sinirli = yeni;
    sinirli.baslangic_sayfasi = kirp(yeni.baslangic_sayfasi, kAdresSiniri);
    sinirli.arama_motoru = kirp(yeni.arama_motoru, kAdresSiniri);
    if (sinirli.yakinlik < 25) sinirli.yakinlik = 25;
    if (sinirli.yakinlik > 500) sinirli.yakinlik = 500;
    if (sinirli.baslangic_sayfasi == ayar_degerleri.baslangic_sayfasi && sinirli.yakinlik == ayar_degerleri.yakinlik &&
        sinirli.arama_motoru == ayar_degerleri.arama_motoru && sinirli.oturumu_surdur == ayar_degerleri.oturumu_surdur) {
        return;
    }
    ayar_degerleri = sinirli;
    degisti(ayar_durumu);
}

// ---- Writing ---------------------------------------------------------------------------

void depolari_kaydet(bool hemen) {
    if (vakti_geldi(gecmis_durumu, hemen) && !gecmisi_yaz()) gecmis_durumu.degisim_ani = GetTickCount64();
    if (vakti_geldi(ayar_durumu, hemen) && !ayarlari_yaz()) ayar_durumu.degisim_ani = GetTickCount64();
    if (!yer_imi_degisiklikleri.empty() && (hemen || GetTickCount64() - yer_imi_durumu.degisim_ani >= kBeklemeMs)) {
        if (!yer_imlerini_yaz()) yer_imi_durumu.degisim_ani = GetTickCount64();
    }
}

bool yazilacak_var_mi() {
    return (gecmis_durumu.degisiklik_var && !gecmis_durumu.yazilamaz) ||
           (ayar_durumu.degisiklik_var && !ayar_durumu.yazilamaz) ||
           (!yer_imi_degisiklikleri.empty() && !yer_imi_durumu.yazilamaz);
}

std::string depo_bildirimi_al() {
    if (bildirimler.empty()) return {};
    std::string ilk = bildirimler.front();
    bildirimler.erase(bildirimler.begin());
    return ilk;
}

void depolari_sifirla() {
    gecmis_listesi.clear();
    gecmis_yazilan = 0;
    gecmis_temizlenecek = false;
    gecmis_durumu = DosyaDurumu();
    yer_imi_listesi.clear();
    yer_imi_degisiklikleri.clear();
    yer_imi_durumu = DosyaDurumu();
    ayar_degerleri = Ayarlar();
    ayar_durumu = DosyaDurumu();
    bildirimler.clear();
    klasorsuz_bildirildi = false;
    ++gecmis_sayaci;
    ++yer_imi_sayaci;
    profil_klasorunu_unut();
}

}  // namespace korva

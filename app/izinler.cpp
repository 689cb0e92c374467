// Site permissions: the requests of the pages, Korva's prompt, and the answers
// remembered in the profile (see izinler.h). Read top to bottom: the kinds, the
// file, the answers in memory, the prompt, the Settings list, the entry points.
#include "izinler.h"

#include <windows.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "korva.h"
#include "profil.h"
#include "tarayici_ic.h"
#include "webview/webgorunum_win_cz.h"
#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"

namespace korva {

namespace {

using Json = nlohmann::json;

constexpr wchar_t kIzinDosyasi[] = L"izinler.json";
constexpr size_t kIzinDosyaSiniri = 1024 * 1024;
constexpr int kDerinlikSiniri = 8;   // the file, its list, an entry; a little room above
constexpr ULONGLONG kBeklemeMs = 2000;
constexpr int64_t kIstemGenisligi = 640;
constexpr int64_t kIstemYuksekligi = 34;
constexpr int64_t kKenarPayi = 8;
constexpr size_t kGosterilenKaynakSiniri = 64;

// The engine's answers: its default, allow, refuse.
enum : int64_t { kVarsayilan = 0, kIzinVer = 1, kEngelle = 2 };

// The kinds Korva asks about, by the engine's number.
struct IzinTuru {
    int64_t tur;
    const char* ad;
    const char* ifade;
};
const IzinTuru kTurler[] = {
    {4, "bildirim", "bildirim gondermek"},
    {3, "konum", "konumunuzu ogrenmek"},
    {2, "kamera", "kameranizi kullanmak"},
    {1, "mikrofon", "mikrofonunuzu kullanmak"},
    {6, "pano", "panonuzu okumak"},
};

const IzinTuru* tur_bul(int64_t tur) {
    for (const IzinTuru& oge : kTurler)
        if (oge.tur == tur) return &oge;
    return nullptr;
}

const IzinTuru* ad_bul(const std::string& ad) {
    for (const IzinTuru& oge : kTurler)
        if (ad == oge.ad) return &oge;
    return nullptr;
}

// ---- The file ---------------------------------------------------------------------------

bool kaydi_coz(const Json& oge, IzinKaydi& kayit) {
    if (!oge.is_object()) return false;
    const auto kaynak = oge.find("kaynak"), tur = oge.find("tur"), karar = oge.find("karar"), zaman = oge.find("zaman");
    if (kaynak == oge.end() || !kaynak->is_string() || tur == oge.end() || !tur->is_string() ||
        karar == oge.end() || !karar->is_string()) {
        return false;
    }
    const std::string& kaynak_metni = kaynak->get_ref<const std::string&>();
    const IzinTuru* bilinen = ad_bul(tur->get_ref<const std::string&>());
    const std::string& karar_metni = karar->get_ref<const std::string&>();
    if (kaynak_metni.empty() || kaynak_metni.size() > kAdresSiniri || bilinen == nullptr ||
        (karar_metni != "izin" && karar_metni != "engel")) {
        return false;
    }
    if (zaman != oge.end() && !zaman->is_number_integer()) return false;
    kayit.kaynak = kaynak_metni;
    kayit.tur = bilinen->tur;
    kayit.izin = karar_metni == "izin";
    kayit.zaman = zaman != oge.end() ? zaman->get<int64_t>() : 0;
    return true;
}

// ---- The answers in memory ----------------------------------------------------------------

std::vector<IzinKaydi> kayitlar;   // oldest first; one per site and kind
bool yuklendi = false;
bool yazilamaz = false;            // the file is there but unreadable: never written over
bool degisti = false;
ULONGLONG degisim_ani = 0;
uint64_t surum = 0;                // changes with every change of `kayitlar`

void yukle() {
    if (yuklendi) return;
    yuklendi = true;
    const std::wstring yol = profil_yolu(kIzinDosyasi);
    if (yol.empty()) {
        yazilamaz = true;
        return;
    }
    ProfilKilidi kilit;
    std::string baytlar;
    std::wstring ayrilan;
    const OkumaSonucu sonuc = dosyayi_oku(yol, baytlar, ayrilan);
    if (sonuc == OkumaSonucu::okunamadi) {
        yazilamaz = true;
        bildir("Izin dosyasi okunamadi; izinler bu oturumda kaydedilmeyecek");
        return;
    }
    std::vector<IzinKaydi> okunan;
    if (sonuc == OkumaSonucu::tamam && !izinleri_coz(baytlar, okunan)) {
        if (dosyayi_kenara_ayir(yol, ayrilan)) {
            bildir("Izin dosyasi bozuktu, kenara ayrildi");
        } else {
            yazilamaz = true;
            bildir("Izin dosyasi bozuk ve kenara ayrilamadi; izinler kaydedilmeyecek");
        }
    }
    // Answers given before the file was read are newer than the file's.
    for (IzinKaydi& kayit : kayitlar) {
        okunan.erase(std::remove_if(okunan.begin(), okunan.end(),
                                    [&](const IzinKaydi& k) { return k.kaynak == kayit.kaynak && k.tur == kayit.tur; }),
                     okunan.end());
        okunan.push_back(std::move(kayit));
    }
    kayitlar = std::move(okunan);
    ++surum;
}

bool yaz() {
    if (yazilamaz) return false;
    ProfilKilidi kilit;
    if (!kilit.alindi()) return false;
    const std::wstring yol = profil_yolu(kIzinDosyasi);
    if (yol.empty() || !dosyayi_degistir(yol, izinleri_yaz(kayitlar))) return false;
    degisti = false;
    return true;
}

void degisiklik() {
    degisti = true;
    degisim_ani = GetTickCount64();
    ++surum;
}

// ---- The prompt -----------------------------------------------------------------------------

// A request waiting for the user.
struct Bekleyen {
    int64_t istek;
    int64_t gorunum;
    int64_t tur;
    std::string kaynak;
};

std::vector<Bekleyen> bekleyenler;   // in the order they came
IzinWidgetleri w;
int64_t gosterilen = -1;             // the request the prompt shows

int64_t uzunluk(const char* metin) { return static_cast<int64_t>(strlen(metin)); }

int64_t dugme(const char* etiket) { return _tr_arayuz_dugme(etiket, uzunluk(etiket)); }

void istemi_kur() {
    w.pencere = _tr_pencere_kaplama_olustur(ana_pencere, kIstemGenisligi, kIstemYuksekligi);
    if (w.pencere < 0) return;
    const int64_t satir = _tr_arayuz_kutu_yatay();
    w.etiket = _tr_arayuz_etiket("", 0);
    w.izin_ver = dugme("Izin ver");
    w.engelle = dugme("Engelle");
    w.kapat = dugme("x");
    _tr_arayuz_ipucu_ayarla(w.kapat, "Kapat (Esc): bu sefer engellenir", uzunluk("Kapat (Esc): bu sefer engellenir"));
    _tr_arayuz_widget_genislik_ayarla(w.izin_ver, 80);
    _tr_arayuz_widget_genislik_ayarla(w.engelle, 80);
    _tr_arayuz_widget_genislik_ayarla(w.kapat, 30);
    // The question in a column of its own, whose room above and below sets it
    // level with the buttons' captions.
    const int64_t sutun = _tr_arayuz_kutu_dikey();
    _tr_arayuz_pakle(sutun, w.etiket, 1, 1, 8);
    _tr_arayuz_pakle(satir, sutun, 1, 1, 6);
    _tr_arayuz_pakle(satir, w.izin_ver, 0, 1, 2);
    _tr_arayuz_pakle(satir, w.engelle, 0, 1, 2);
    _tr_arayuz_pakle(satir, w.kapat, 0, 1, 2);
    _tr_pencere_icerik_ayarla(w.pencere, satir);
}

// Under the address bar: at the top right corner of the page, below the row of tabs
// (and below the find bar, which sits at the row's right end).
void istemi_yerlestir(int64_t gorunum) {
    _tr_pencere_kaplama_hizala(w.pencere, _tr_arayuz_widget_al_hwnd(_tr_webgorunum_widget_id(gorunum)), kKenarPayi);
}

// A long origin is cut, so that the question stays in view.
std::string istem_metni(const Bekleyen& bekleyen) {
    std::string kaynak = bekleyen.kaynak;
    if (kaynak.size() > kGosterilenKaynakSiniri) kaynak = kaynak.substr(0, kGosterilenKaynakSiniri) + "...";
    const IzinTuru* tur = tur_bul(bekleyen.tur);
    return kaynak + " " + (tur != nullptr ? tur->ifade : "") + " istiyor";
}

// Answers the request, and every other waiting one of the same site and kind.
void yanitla(const Bekleyen& secilen, int64_t durum) {
    const Bekleyen kopya = secilen;
    for (auto it = bekleyenler.begin(); it != bekleyenler.end();) {
        if (it->kaynak == kopya.kaynak && it->tur == kopya.tur) {
            _tr_webgorunum_izin_yanitla(it->istek, durum);
            it = bekleyenler.erase(it);
        } else {
            ++it;
        }
    }
}

void yeni_istek(int64_t istek) {
    const int64_t tur = _tr_webgorunum_izin_turu(istek);
    const std::string kaynak = al_ve_birak(_tr_webgorunum_izin_kaynagi_al(istek));
    if (tur_bul(tur) == nullptr || kaynak.empty()) {
        _tr_webgorunum_izin_yanitla(istek, kVarsayilan);
        return;
    }
    const int64_t hatirlanan = hatirlanan_izin(kaynak, tur);
    if (hatirlanan != 0) {
        _tr_webgorunum_izin_yanitla(istek, hatirlanan);
        return;
    }
    bekleyenler.push_back(Bekleyen{istek, _tr_webgorunum_izin_gorunumu(istek), tur, kaynak});
}

const Bekleyen* gosterilen_bekleyen() {
    for (const Bekleyen& bekleyen : bekleyenler)
        if (bekleyen.istek == gosterilen) return &bekleyen;
    return nullptr;
}

// The prompt follows the selected tab: its oldest waiting request, or nothing.
void istemi_guncelle() {
    const int64_t secili = secili_webgorunum();
    const Bekleyen* gosterilecek = nullptr;
    for (const Bekleyen& bekleyen : bekleyenler) {
        if (bekleyen.gorunum == secili) {
            gosterilecek = &bekleyen;
            break;
        }
    }
    if (gosterilecek == nullptr) {
        if (gosterilen >= 0) _tr_pencere_gizle(w.pencere);
        gosterilen = -1;
        return;
    }
    if (gosterilecek->istek == gosterilen) return;
    if (w.pencere < 0) istemi_kur();
    if (w.pencere < 0) return;
    const std::string metin = istem_metni(*gosterilecek);
    _tr_arayuz_etiket_metni_ayarla(w.etiket, metin.data(), static_cast<int64_t>(metin.size()));
    istemi_yerlestir(secili);
    _tr_pencere_goster(w.pencere);
    gosterilen = gosterilecek->istek;
}

void istemi_denetle() {
    // Presses are read (and cleared) whatever shows, so that none is left for later.
    const bool izin_ver = _tr_arayuz_dugme_basildi_mi(w.izin_ver) == 1;
    const bool engelle = _tr_arayuz_dugme_basildi_mi(w.engelle) == 1;
    const bool kapat = _tr_arayuz_dugme_basildi_mi(w.kapat) == 1;
    const Bekleyen* bekleyen = gosterilen_bekleyen();
    if (bekleyen == nullptr) return;
    if (izin_ver || engelle) {
        izni_hatirla(bekleyen->kaynak, bekleyen->tur, izin_ver);
        yanitla(*bekleyen, izin_ver ? kIzinVer : kEngelle);
    } else if (kapat) {
        yanitla(*bekleyen, kEngelle);
    }
}

// ---- The Settings list ------------------------------------------------------------------------

uint64_t gosterilen_surum = ~0ull;

// Newest first.
const IzinKaydi* liste_satiri(int64_t satir) {
    if (satir < 0 || satir >= static_cast<int64_t>(kayitlar.size())) return nullptr;
    return &kayitlar[kayitlar.size() - 1 - static_cast<size_t>(satir)];
}

int64_t hucreye_yaz(const std::string& metin, char* tampon, int64_t kapasite) {
    if (tampon == nullptr || kapasite <= 0) return 0;
    const size_t boy = std::min(metin.size(), static_cast<size_t>(kapasite - 1));
    memcpy(tampon, metin.data(), boy);
    tampon[boy] = '\0';
    return static_cast<int64_t>(boy);
}

int64_t izin_hucresi(void*, int64_t satir, int64_t sutun, char* tampon, int64_t kapasite) {
    const IzinKaydi* kayit = liste_satiri(satir);
    if (kayit == nullptr) return 0;
    if (sutun == 0) return hucreye_yaz(kayit->kaynak, tampon, kapasite);
    if (sutun == 1) return hucreye_yaz(tur_bul(kayit->tur) != nullptr ? tur_bul(kayit->tur)->ifade : "", tampon, kapasite);
    return hucreye_yaz(kayit->izin ? "izin verildi" : "engellendi", tampon, kapasite);
}

}  // namespace

// ---- Entry points -----------------------------------------------------------------------------

const char* izin_ifadesi(int64_t tur) {
    const IzinTuru* bilinen = tur_bul(tur);
    return bilinen != nullptr ? bilinen->ifade : nullptr;
}

const char* izin_adi(int64_t tur) {
    const IzinTuru* bilinen = tur_bul(tur);
    return bilinen != nullptr ? bilinen->ad : nullptr;
}

bool izinleri_coz(const std::string& baytlar, std::vector<IzinKaydi>& sonuc) {
    sonuc.clear();
    try {
        if (baytlar.size() > kIzinDosyaSiniri || !derinlik_uygun(baytlar, kDerinlikSiniri)) return false;
        const Json belge = Json::parse(baytlar, nullptr, false);
        if (!belge.is_object()) return false;
        const auto surum_ogesi = belge.find("surum"), liste = belge.find("izinler");
        if (surum_ogesi == belge.end() || !surum_ogesi->is_number_integer() || surum_ogesi->get<int64_t>() != 1 ||
            liste == belge.end() || !liste->is_array() || liste->size() > kIzinSiniri) {
            return false;
        }
        std::vector<IzinKaydi> okunan;
        for (const Json& oge : *liste) {
            IzinKaydi kayit;
            if (!kaydi_coz(oge, kayit)) return false;
            // The same site and kind twice: the later answer holds.
            okunan.erase(std::remove_if(okunan.begin(), okunan.end(),
                                        [&](const IzinKaydi& k) { return k.kaynak == kayit.kaynak && k.tur == kayit.tur; }),
                         okunan.end());
            okunan.push_back(std::move(kayit));
        }
        sonuc = std::move(okunan);
        return true;
    } catch (...) {
        sonuc.clear();
        return false;
    }
}

std::string izinleri_yaz(const std::vector<IzinKaydi>& liste) {
    Json dizi = Json::array();
    for (const IzinKaydi& kayit : liste) {
        const IzinTuru* tur = tur_bul(kayit.tur);
        if (tur == nullptr) continue;
        dizi.push_back({{"kaynak", kayit.kaynak}, {"tur", tur->ad}, {"karar", kayit.izin ? "izin" : "engel"},
                        {"zaman", kayit.zaman}});
    }
    const Json belge = {{"surum", 1}, {"izinler", dizi}};
    return belge.dump(1, ' ', false, Json::error_handler_t::replace) + "\n";
}

const std::vector<IzinKaydi>& izin_kayitlari() {
    yukle();
    return kayitlar;
}

int64_t hatirlanan_izin(const std::string& kaynak, int64_t tur) {
    for (const IzinKaydi& kayit : izin_kayitlari())
        if (kayit.kaynak == kaynak && kayit.tur == tur) return kayit.izin ? kIzinVer : kEngelle;
    return 0;
}

void izni_hatirla(const std::string& kaynak, int64_t tur, bool izin) {
    yukle();
    if (tur_bul(tur) == nullptr || kaynak.empty() || kaynak.size() > kAdresSiniri) return;
    izni_unut(kaynak, tur);
    kayitlar.push_back(IzinKaydi{kaynak, tur, izin, simdiki_zaman()});
    if (kayitlar.size() > kIzinSiniri) kayitlar.erase(kayitlar.begin());
    degisiklik();
}

void izni_unut(const std::string& kaynak, int64_t tur) {
    yukle();
    const size_t once = kayitlar.size();
    kayitlar.erase(std::remove_if(kayitlar.begin(), kayitlar.end(),
                                  [&](const IzinKaydi& k) { return k.kaynak == kaynak && k.tur == tur; }),
                   kayitlar.end());
    if (kayitlar.size() != once) degisiklik();
}

void izinleri_unut() {
    yukle();
    if (kayitlar.empty()) return;
    kayitlar.clear();
    degisiklik();
}

void izinleri_denetle() {
    for (int64_t istek = _tr_webgorunum_izin_istendi_mi(-1); istek >= 0; istek = _tr_webgorunum_izin_istendi_mi(-1)) {
        yeni_istek(istek);
    }
    // A closed tab's requests are gone from the runtime.
    bekleyenler.erase(std::remove_if(bekleyenler.begin(), bekleyenler.end(),
                                     [](const Bekleyen& b) { return _tr_webgorunum_izin_turu(b.istek) < 0; }),
                      bekleyenler.end());
    istemi_denetle();
    istemi_guncelle();
    if (degisti && GetTickCount64() - degisim_ani >= kBeklemeMs && !yaz()) degisim_ani = GetTickCount64();
}

bool izin_esc_isle() {
    const Bekleyen* bekleyen = gosterilen_bekleyen();
    if (bekleyen == nullptr) return false;
    yanitla(*bekleyen, kEngelle);
    istemi_guncelle();
    return true;
}

void izinleri_kapat() {
    while (!bekleyenler.empty()) yanitla(bekleyenler.front(), kEngelle);
    if (degisti) yaz();
}

void izin_ayarlarini_kur(int64_t kutu) {
    _tr_arayuz_pakle(kutu, _tr_arayuz_etiket("Site izinleri", uzunluk("Site izinleri")), 0, 1, 4);
    w.liste = _tr_arayuz_liste();
    _tr_arayuz_liste_sutun_ekle(w.liste, "Site", uzunluk("Site"), 180);
    _tr_arayuz_liste_sutun_ekle(w.liste, "Izin", uzunluk("Izin"), 150);
    _tr_arayuz_liste_sutun_ekle(w.liste, "Karar", uzunluk("Karar"), 85);
    _tr_arayuz_liste_cagri_ayarla(w.liste, izin_hucresi, nullptr);
    _tr_arayuz_pakle(kutu, w.liste, 1, 1, 2);
    const int64_t satir = _tr_arayuz_kutu_yatay();
    w.unut = dugme("Secileni unut");
    w.tumunu_unut = dugme("Tumunu unut");
    _tr_arayuz_pakle(satir, w.unut, 1, 1, 2);
    _tr_arayuz_pakle(satir, w.tumunu_unut, 1, 1, 2);
    _tr_arayuz_pakle(kutu, satir, 0, 1, 2);
    gosterilen_surum = ~0ull;
    izin_ayarlarini_denetle();
}

void izin_ayarlarini_denetle() {
    if (w.liste < 0) return;
    yukle();
    const bool sil = _tr_arayuz_liste_silme_istendi_mi(w.liste) == 1;
    if (_tr_arayuz_dugme_basildi_mi(w.unut) == 1 || sil) {
        if (const IzinKaydi* kayit = liste_satiri(_tr_arayuz_liste_secili(w.liste))) {
            const IzinKaydi kopya = *kayit;
            izni_unut(kopya.kaynak, kopya.tur);
        }
    }
    if (_tr_arayuz_dugme_basildi_mi(w.tumunu_unut) == 1) izinleri_unut();
    if (gosterilen_surum != surum) {
        gosterilen_surum = surum;
        _tr_arayuz_liste_satir_sayisi_ayarla(w.liste, static_cast<int64_t>(kayitlar.size()));
        _tr_arayuz_liste_yenile(w.liste);
    }
}

const IzinWidgetleri& izin_widgetleri() { return w; }

int64_t gosterilen_izin_istegi() { return gosterilen; }

void izinleri_sifirla() {
    kayitlar.clear();
    yuklendi = false;
    yazilamaz = false;
    degisti = false;
    bekleyenler.clear();
    gosterilen = -1;
    if (w.pencere >= 0) _tr_pencere_gizle(w.pencere);
    ++surum;
}

}  // namespace korva

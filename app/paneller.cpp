// The side panel's contents: History, Bookmarks and Settings (Downloads has its own
// file, indirmeler.cpp). Each panel is a vertical box in the side panel's scroll box,
// made the first time it is shown and hidden while another panel is; the box with
// the placeholder text is shown whenever the panel open has nothing to show.
//
// The lists hold no rows of their own: a list asks for the text of a cell when it
// draws it (liste_hucresi), so the history's 100,000 entries cost what its visible
// rows cost. The History panel shows the entries whose title or address holds the
// search text (case ignored for ASCII letters), newest first; the matches are the
// indexes of the entries in `eslesenler`, filtered again on each key press from
// the previous matches when the search text only grew.
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <algorithm>
#include <string>
#include <vector>

#include "adres_karari.h"
#include "depolar.h"
#include "korva.h"
#include "oturum.h"
#include "izinler.h"
#include "tarayici_ic.h"
#include "webview/webgorunum_win_cz.h"
#include "widgets/arayuz_win_cz.h"

namespace korva {

int64_t panel_kaydirma = -1;
int64_t panel_yer_tutucu = -1;

namespace {

enum Panel : int64_t { kYerImleri = 1, kGecmis = 2, kIndirmeler = 3, kAyarlar = 4 };

PanelWidgetleri w;

// ---- History's search ---------------------------------------------------------------

// Per entry of gecmis(), its title and address in lower case (ASCII letters), made
// when the history changed and a search needs them.
std::vector<std::string> arama_anahtarlari;
uint64_t anahtar_surumu = 0;
std::vector<uint32_t> eslesenler;  // indexes into gecmis(), newest first
std::string son_arama;
uint64_t eslesme_surumu = 0;
uint64_t gosterilen_yer_imi_surumu = 0;

std::string kucuk_harf(const std::string& metin) {
    std::string sonuc = metin;
    for (char& c : sonuc) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return sonuc;
}

void anahtarlari_hazirla() {
    if (anahtar_surumu == gecmis_surumu()) return;
    const std::vector<SayfaKaydi>& kayitlar = gecmis();
    arama_anahtarlari.resize(kayitlar.size());
    for (size_t i = 0; i < kayitlar.size(); ++i) {
        arama_anahtarlari[i] = kucuk_harf(kayitlar[i].baslik);
        arama_anahtarlari[i] += '\n';
        arama_anahtarlari[i] += kucuk_harf(kayitlar[i].adres);
    }
    anahtar_surumu = gecmis_surumu();
}

// The matches of the search text, newest first. A text that only grew is looked
// for among the previous matches.
void gecmisi_suz(const std::string& arama) {
    const std::string aranan = kucuk_harf(arama);
    const size_t toplam = gecmis().size();
    const bool daraltilabilir = eslesme_surumu == gecmis_surumu() && !son_arama.empty() &&
                                aranan.size() >= son_arama.size() && aranan.compare(0, son_arama.size(), son_arama) == 0;
    if (aranan.empty()) {
        eslesenler.resize(toplam);
        for (size_t i = 0; i < toplam; ++i) eslesenler[i] = static_cast<uint32_t>(toplam - 1 - i);
    } else {
        anahtarlari_hazirla();
        std::vector<uint32_t> sonuc;
        auto uyar = [&](uint32_t i) { return arama_anahtarlari[i].find(aranan) != std::string::npos; };
        if (daraltilabilir) {
            for (uint32_t i : eslesenler) {
                if (uyar(i)) sonuc.push_back(i);
            }
        } else {
            for (size_t k = toplam; k-- > 0;) {
                if (uyar(static_cast<uint32_t>(k))) sonuc.push_back(static_cast<uint32_t>(k));
            }
        }
        eslesenler.swap(sonuc);
    }
    son_arama = aranan;
    eslesme_surumu = gecmis_surumu();
}

// ---- Cells ------------------------------------------------------------------------------

int64_t hucreye_yaz(const std::string& metin, char* buffer, int64_t capacity) {
    const int64_t boy = static_cast<int64_t>(metin.size()) < capacity ? static_cast<int64_t>(metin.size()) : capacity;
    memcpy(buffer, metin.data(), static_cast<size_t>(boy));
    return boy;
}

std::string yerel_zaman(int64_t saniye) {
    const time_t an = static_cast<time_t>(saniye);
    struct tm yerel = {};
    if (localtime_s(&yerel, &an) != 0) return {};
    char metin[32];
    strftime(metin, sizeof(metin), "%d.%m.%Y %H:%M", &yerel);
    return metin;
}

int64_t gecmis_hucresi(void*, int64_t satir, int64_t sutun, char* buffer, int64_t capacity) {
    if (satir < 0 || satir >= static_cast<int64_t>(eslesenler.size())) return 0;
    const uint32_t i = eslesenler[static_cast<size_t>(satir)];
    if (i >= gecmis().size()) return 0;
    const SayfaKaydi& kayit = gecmis()[i];
    if (sutun == 0) return hucreye_yaz(kayit.baslik, buffer, capacity);
    if (sutun == 1) return hucreye_yaz(yerel_zaman(kayit.zaman), buffer, capacity);
    return hucreye_yaz(kayit.adres, buffer, capacity);
}

// Bookmarks show newest first.
const SayfaKaydi* yer_imi_satiri(int64_t satir) {
    const std::vector<SayfaKaydi>& kayitlar = yer_imleri();
    if (satir < 0 || satir >= static_cast<int64_t>(kayitlar.size())) return nullptr;
    return &kayitlar[kayitlar.size() - 1 - static_cast<size_t>(satir)];
}

int64_t yer_imi_hucresi(void*, int64_t satir, int64_t sutun, char* buffer, int64_t capacity) {
    const SayfaKaydi* kayit = yer_imi_satiri(satir);
    if (kayit == nullptr) return 0;
    return hucreye_yaz(sutun == 0 ? kayit->baslik : kayit->adres, buffer, capacity);
}

// ---- Building --------------------------------------------------------------------------

int64_t uzunluk(const char* metin) { return static_cast<int64_t>(strlen(metin)); }
int64_t dugme(const char* etiket) { return _tr_arayuz_dugme(etiket, uzunluk(etiket)); }
int64_t etiket(const char* metin) { return _tr_arayuz_etiket(metin, uzunluk(metin)); }
void sutun(int64_t liste, const char* baslik, int64_t genislik) {
    _tr_arayuz_liste_sutun_ekle(liste, baslik, uzunluk(baslik), genislik);
}

int64_t panel_kutusu() {
    int64_t kutu = _tr_arayuz_kutu_dikey();
    _tr_arayuz_pakle(panel_kaydirma, kutu, 1, 1, 0);
    _tr_arayuz_widget_gizle(kutu);
    return kutu;
}

// The last session, when a start offered it instead of opening it (oturum.h).
std::string son_oturum_metni() {
    return "Son oturumu ac (" + std::to_string(sunulan_sekme_sayisi()) + " sekme)";
}

void gecmis_panelini_kur() {
    w.gecmis_kutusu = panel_kutusu();
    w.son_oturum = dugme(son_oturum_metni().c_str());
    _tr_arayuz_pakle(w.gecmis_kutusu, w.son_oturum, 0, 1, 4);
    if (!sunulan_oturum_var()) _tr_arayuz_widget_gizle(w.son_oturum);
    w.gecmis_arama = _tr_arayuz_giris();
    const char ipucu[] = "Gecmiste ara...";
    _tr_arayuz_giris_ipucu_ayarla(w.gecmis_arama, ipucu, uzunluk(ipucu));
    _tr_arayuz_pakle(w.gecmis_kutusu, w.gecmis_arama, 0, 1, 4);
    w.gecmis_listesi = _tr_arayuz_liste();
    // The columns fill the panel's first width (kPanelGenisligi, less the list's
    // frame and scroll bar); a wider panel shows more of the address.
    sutun(w.gecmis_listesi, "Baslik", 120);
    sutun(w.gecmis_listesi, "Zaman", 140);
    sutun(w.gecmis_listesi, "Adres", 155);
    _tr_arayuz_liste_cagri_ayarla(w.gecmis_listesi, gecmis_hucresi, nullptr);
    _tr_arayuz_pakle(w.gecmis_kutusu, w.gecmis_listesi, 1, 1, 0);
    w.gecmis_temizle = dugme("Gecmisi temizle");
    _tr_arayuz_pakle(w.gecmis_kutusu, w.gecmis_temizle, 0, 1, 4);
}

void yer_imi_panelini_kur() {
    w.yer_imi_kutusu = panel_kutusu();
    w.yer_imi_dugmesi = dugme("Bu sayfayi ekle");
    _tr_arayuz_pakle(w.yer_imi_kutusu, w.yer_imi_dugmesi, 0, 1, 4);
    w.yer_imi_listesi = _tr_arayuz_liste();
    sutun(w.yer_imi_listesi, "Baslik", 160);
    sutun(w.yer_imi_listesi, "Adres", 255);
    _tr_arayuz_liste_cagri_ayarla(w.yer_imi_listesi, yer_imi_hucresi, nullptr);
    _tr_arayuz_pakle(w.yer_imi_kutusu, w.yer_imi_listesi, 1, 1, 0);
}

std::string yuzde_metni(int64_t yuzde) { return "%" + std::to_string(yuzde); }

// What a start opens: two buttons, the chosen one marked.
void baslangic_secimini_goster() {
    const bool surdur = ayarlar().oturumu_surdur;
    const std::string devam = std::string(surdur ? "(*) " : "( ) ") + "Kaldigim yerden devam et";
    const std::string sayfa = std::string(surdur ? "( ) " : "(*) ") + "Baslangic sayfasi";
    _tr_arayuz_dugme_etiket_ayarla(w.oturumu_surdur, devam.data(), static_cast<int64_t>(devam.size()));
    _tr_arayuz_dugme_etiket_ayarla(w.baslangic_sayfasi, sayfa.data(), static_cast<int64_t>(sayfa.size()));
}

void ayar_panelini_kur() {
    w.ayar_kutusu = panel_kutusu();
    _tr_arayuz_pakle(w.ayar_kutusu, etiket("Baslangicta"), 0, 1, 4);
    w.oturumu_surdur = dugme("");
    w.baslangic_sayfasi = dugme("");
    _tr_arayuz_pakle(w.ayar_kutusu, w.oturumu_surdur, 0, 1, 2);
    _tr_arayuz_pakle(w.ayar_kutusu, w.baslangic_sayfasi, 0, 1, 2);
    baslangic_secimini_goster();
    _tr_arayuz_pakle(w.ayar_kutusu, etiket("Baslangic sayfasi"), 0, 1, 4);
    w.baslangic_girisi = _tr_arayuz_giris();
    const char ipucu[] = "Bos: Korva'nin kendi sayfasi";
    _tr_arayuz_giris_ipucu_ayarla(w.baslangic_girisi, ipucu, uzunluk(ipucu));
    const std::string& sayfa = ayarlar().baslangic_sayfasi;
    _tr_arayuz_giris_metni_ayarla(w.baslangic_girisi, sayfa.data(), static_cast<int64_t>(sayfa.size()));
    _tr_arayuz_giris_degisti_mi(w.baslangic_girisi);  // the text set here is no change of the user's
    _tr_arayuz_pakle(w.ayar_kutusu, w.baslangic_girisi, 0, 1, 2);
    // The search engine: an address with %s where the typed words go.
    _tr_arayuz_pakle(w.ayar_kutusu, etiket("Arama motoru (%s: aranan metin)"), 0, 1, 4);
    w.arama_girisi = _tr_arayuz_giris();
    const std::string arama_ipucu = std::string("Bos: ") + kVarsayilanAramaMotoru;
    _tr_arayuz_giris_ipucu_ayarla(w.arama_girisi, arama_ipucu.data(), static_cast<int64_t>(arama_ipucu.size()));
    const std::string& motor = ayarlar().arama_motoru;
    _tr_arayuz_giris_metni_ayarla(w.arama_girisi, motor.data(), static_cast<int64_t>(motor.size()));
    _tr_arayuz_giris_degisti_mi(w.arama_girisi);  // the text set here is no change of the user's
    _tr_arayuz_pakle(w.ayar_kutusu, w.arama_girisi, 0, 1, 2);
    _tr_arayuz_pakle(w.ayar_kutusu, etiket("Varsayilan yakinlik"), 0, 1, 4);
    int64_t satir = _tr_arayuz_kutu_yatay();
    w.yakinlik_azalt = dugme("-");
    w.yakinlik_etiketi = etiket(yuzde_metni(ayarlar().yakinlik).c_str());
    w.yakinlik_artir = dugme("+");
    _tr_arayuz_pakle(satir, w.yakinlik_azalt, 0, 0, 2);
    _tr_arayuz_pakle(satir, w.yakinlik_etiketi, 0, 0, 8);
    _tr_arayuz_pakle(satir, w.yakinlik_artir, 0, 0, 2);
    _tr_arayuz_pakle(w.ayar_kutusu, satir, 0, 1, 2);
    w.verileri_temizle = dugme("Gezinti verilerini temizle");
    _tr_arayuz_pakle(w.ayar_kutusu, w.verileri_temizle, 0, 1, 12);
    izin_ayarlarini_kur(w.ayar_kutusu);
}

// ---- Keeping the panels up to date --------------------------------------------------

void gecmis_listesini_guncelle() {
    const std::string arama = al_ve_birak(_tr_arayuz_giris_metni_al(w.gecmis_arama));
    gecmisi_suz(arama);
    _tr_arayuz_liste_satir_sayisi_ayarla(w.gecmis_listesi, static_cast<int64_t>(eslesenler.size()));
    _tr_arayuz_liste_yenile(w.gecmis_listesi);
}

void yer_imi_listesini_guncelle() {
    _tr_arayuz_liste_satir_sayisi_ayarla(w.yer_imi_listesi, static_cast<int64_t>(yer_imleri().size()));
    _tr_arayuz_liste_yenile(w.yer_imi_listesi);
    gosterilen_yer_imi_surumu = yer_imleri_surumu();
}

// Whether the open panel has something to show; else the placeholder shows.
bool gosterecek_var(int64_t numara) {
    switch (numara) {
    case kGecmis: return !gecmis().empty() || sunulan_oturum_var();
    case kYerImleri: return !yer_imleri().empty();
    case kAyarlar: return true;
    case kIndirmeler: return indirme_var_mi();
    default: return false;
    }
}

void yer_tutucuyu_ayarla(int64_t numara) {
    if (gosterecek_var(numara)) {
        _tr_arayuz_widget_gizle(panel_yer_tutucu);
    } else {
        _tr_arayuz_widget_goster(panel_yer_tutucu);
    }
}

bool yer_tutucu_gorunur = true;

void yer_tutucuyu_izle(int64_t numara) {
    const bool gorunmeli = !gosterecek_var(numara);
    if (gorunmeli == yer_tutucu_gorunur) return;
    yer_tutucu_gorunur = gorunmeli;
    yer_tutucuyu_ayarla(numara);
}

std::string secili_adres() {
    const int64_t view = secili_webgorunum();
    if (view < 0) return {};
    return al_ve_birak(_tr_webgorunum_adres_al(view));
}

// Pages of Korva's own (the start page, a text document) have no address to keep.
bool kaydedilebilir(const std::string& adres) {
    return !adres.empty() && adres.rfind("about:", 0) != 0 && adres.rfind("data:", 0) != 0;
}

// The button says what it would do to the selected page; looked at again only when
// the page or the bookmarks changed.
std::string dugmedeki_adres;
uint64_t dugmedeki_surum = 0;

void yer_imi_dugmesini_guncelle() {
    const std::string adres = secili_adres();
    if (adres == dugmedeki_adres && dugmedeki_surum == yer_imleri_surumu()) return;
    dugmedeki_adres = adres;
    dugmedeki_surum = yer_imleri_surumu();
    const char* etiket_metni = yer_imi_var_mi(adres) ? "Bu sayfayi kaldir" : "Bu sayfayi ekle";
    _tr_arayuz_dugme_etiket_ayarla(w.yer_imi_dugmesi, etiket_metni, uzunluk(etiket_metni));
}

void yakinligi_degistir(int64_t adim) {
    static const int64_t kBasamaklar[] = {25, 33, 50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300, 400, 500};
    const int64_t simdiki = ayarlar().yakinlik;
    int64_t yeni = simdiki;
    if (adim > 0) {
        for (int64_t b : kBasamaklar) {
            if (b > simdiki) {
                yeni = b;
                break;
            }
        }
    } else {
        for (int64_t b : kBasamaklar) {
            if (b < simdiki) yeni = b;
        }
    }
    if (yeni == simdiki) return;
    Ayarlar degisen = ayarlar();
    degisen.yakinlik = yeni;
    ayarlari_degistir(degisen);
    const std::string metin = yuzde_metni(yeni);
    _tr_arayuz_etiket_metni_ayarla(w.yakinlik_etiketi, metin.data(), static_cast<int64_t>(metin.size()));
    yakinligi_uygula(yeni);
}

void gecmis_satirini_ac(int64_t satir, bool yeni_sekmede) {
    if (satir < 0 || satir >= static_cast<int64_t>(eslesenler.size())) return;
    const uint32_t i = eslesenler[static_cast<size_t>(satir)];
    if (i >= gecmis().size()) return;
    const std::string adres = gecmis()[i].adres;  // a copy: opening may record a visit
    adresi_ac(adres, yeni_sekmede);
}

void gecmis_panelini_denetle() {
    if (_tr_arayuz_dugme_basildi_mi(w.son_oturum) == 1) {
        _tr_arayuz_widget_gizle(w.son_oturum);
        sunulan_oturumu_ac();
    }
    if (_tr_arayuz_dugme_basildi_mi(w.gecmis_temizle) == 1) {
        gecmisi_temizle();
        bildir("Gecmis temizlendi");
    }
    if (_tr_arayuz_giris_degisti_mi(w.gecmis_arama) == 1 || eslesme_surumu != gecmis_surumu()) {
        gecmis_listesini_guncelle();
    }
    if (_tr_arayuz_giris_enter_mi(w.gecmis_arama) == 1) gecmis_satirini_ac(0, false);
    if (_tr_arayuz_giris_asagi_mi(w.gecmis_arama) == 1 && !eslesenler.empty()) {
        _tr_arayuz_odakla(w.gecmis_listesi);
        if (_tr_arayuz_liste_secili(w.gecmis_listesi) < 0) _tr_arayuz_liste_sec(w.gecmis_listesi, 0);
    }
    const int64_t satir = _tr_arayuz_liste_etkinlesti_mi(w.gecmis_listesi);
    if (satir >= 0) {
        gecmis_satirini_ac(satir, (_tr_arayuz_liste_etkinlesme_tuslari(w.gecmis_listesi) & TR_LISTE_CTRL) != 0);
    }
}

void yer_imi_panelini_denetle() {
    if (gosterilen_yer_imi_surumu != yer_imleri_surumu()) yer_imi_listesini_guncelle();
    if (_tr_arayuz_dugme_basildi_mi(w.yer_imi_dugmesi) == 1) yer_imini_degistir();
    yer_imi_dugmesini_guncelle();
    const int64_t satir = _tr_arayuz_liste_etkinlesti_mi(w.yer_imi_listesi);
    if (const SayfaKaydi* kayit = yer_imi_satiri(satir)) {
        const std::string adres = kayit->adres;
        adresi_ac(adres, (_tr_arayuz_liste_etkinlesme_tuslari(w.yer_imi_listesi) & TR_LISTE_CTRL) != 0);
    }
    if (_tr_arayuz_liste_silme_istendi_mi(w.yer_imi_listesi) == 1) {
        const int64_t secili = _tr_arayuz_liste_secili(w.yer_imi_listesi);
        if (const SayfaKaydi* kayit = yer_imi_satiri(secili)) {
            const std::string adres = kayit->adres, baslik = kayit->baslik;
            yer_imi_kaldir(adres);
            bildir("Yer imlerinden kaldirildi: " + baslik);
            yer_imi_listesini_guncelle();
            const int64_t kalan = static_cast<int64_t>(yer_imleri().size());
            if (kalan > 0) _tr_arayuz_liste_sec(w.yer_imi_listesi, secili < kalan ? secili : kalan - 1);
        }
    }
}

void ayar_panelini_denetle() {
    izin_ayarlarini_denetle();
    if (_tr_arayuz_giris_degisti_mi(w.baslangic_girisi) == 1) {
        Ayarlar degisen = ayarlar();
        degisen.baslangic_sayfasi = al_ve_birak(_tr_arayuz_giris_metni_al(w.baslangic_girisi));
        ayarlari_degistir(degisen);
    }
    if (_tr_arayuz_giris_degisti_mi(w.arama_girisi) == 1) {
        Ayarlar degisen = ayarlar();
        degisen.arama_motoru = al_ve_birak(_tr_arayuz_giris_metni_al(w.arama_girisi));
        ayarlari_degistir(degisen);
    }
    for (const bool surdur : {true, false}) {
        if (_tr_arayuz_dugme_basildi_mi(surdur ? w.oturumu_surdur : w.baslangic_sayfasi) != 1) continue;
        Ayarlar degisen = ayarlar();
        degisen.oturumu_surdur = surdur;
        ayarlari_degistir(degisen);
        baslangic_secimini_goster();
    }
    if (_tr_arayuz_dugme_basildi_mi(w.yakinlik_azalt) == 1) yakinligi_degistir(-1);
    if (_tr_arayuz_dugme_basildi_mi(w.yakinlik_artir) == 1) yakinligi_degistir(1);
    if (_tr_arayuz_dugme_basildi_mi(w.verileri_temizle) == 1) {
        gecmisi_temizle();
        kapananlari_temizle();
        bildir("Gezinti verileri temizlendi: gecmis ve kapatilan sekmeler");
    }
}

}  // namespace

// ---- Shared with the reactions --------------------------------------------------------

void panel_icerigini_goster(int64_t numara) {
    if (numara == kGecmis && w.gecmis_kutusu < 0) gecmis_panelini_kur();
    if (numara == kYerImleri && w.yer_imi_kutusu < 0) yer_imi_panelini_kur();
    if (numara == kAyarlar && w.ayar_kutusu < 0) ayar_panelini_kur();
    if (numara == kGecmis) {
        gecmisi_yukle();
        gecmis_listesini_guncelle();
    }
    if (numara == kYerImleri) {
        yer_imlerini_tazele();
        yer_imi_listesini_guncelle();
        yer_imi_dugmesini_guncelle();
    }
    const int64_t indirme_kutusu = numara == kIndirmeler ? indirme_paneli_kutusu() : indirme_widgetleri().kutu;
    // The one shown first, then the others hidden: the panel is never empty between.
    const int64_t kutular[] = {w.yer_imi_kutusu, w.gecmis_kutusu, indirme_kutusu, w.ayar_kutusu};
    if (numara >= 1 && numara <= 4 && kutular[numara - 1] >= 0) _tr_arayuz_widget_goster(kutular[numara - 1]);
    for (int64_t i = 0; i < 4; ++i) {
        if (kutular[i] >= 0 && i + 1 != numara) _tr_arayuz_widget_gizle(kutular[i]);
    }
    yer_tutucu_gorunur = !gosterecek_var(numara);
    yer_tutucuyu_ayarla(numara);
}

void paneller_denetle() {
    if (kenar_acik != 1) return;
    switch (aktif_panel) {
    case kGecmis: gecmis_panelini_denetle(); break;
    case kYerImleri: yer_imi_panelini_denetle(); break;
    case kAyarlar: ayar_panelini_denetle(); break;
    default: break;
    }
    yer_tutucuyu_izle(aktif_panel);
}

void gecmis_paneline_git() {
    if (kenar_acik != 1 || aktif_panel != kGecmis) kenar_paneli_ac(kGecmis);
    _tr_arayuz_odakla(w.gecmis_arama);
}

void yer_imleri_paneline_git() {
    if (kenar_acik != 1 || aktif_panel != kYerImleri) kenar_paneli_ac(kYerImleri);
    _tr_arayuz_odakla(w.yer_imi_listesi);
    if (!yer_imleri().empty()) _tr_arayuz_liste_sec(w.yer_imi_listesi, 0);
}

void yer_imini_degistir() {
    const int64_t view = secili_webgorunum();
    const std::string adres = secili_adres();
    if (!kaydedilebilir(adres)) {
        bildir("Bu sayfa yer imlerine eklenemez");
        return;
    }
    yer_imlerini_tazele();
    if (yer_imi_var_mi(adres)) {
        const bool yazildi = yer_imi_kaldir(adres);
        bildir(yazildi ? "Yer imlerinden kaldirildi: " + adres : "Yer imi kaldirildi ama kaydedilemedi: " + adres);
    } else if (yer_imleri().size() >= kKayitSiniri) {
        bildir("Yer imleri dolu: once birini kaldirin");
    } else {
        std::string baslik = al_ve_birak(_tr_webgorunum_baslik_al(view));
        if (baslik.empty()) baslik = adres;
        const bool yazildi = yer_imi_ekle(baslik, adres);
        bildir(yazildi ? "Yer imlerine eklendi: " + baslik : "Yer imi eklendi ama kaydedilemedi: " + baslik);
    }
    if (w.yer_imi_kutusu >= 0) {
        yer_imi_listesini_guncelle();
        yer_imi_dugmesini_guncelle();
    }
}

const PanelWidgetleri& panel_widgetleri() { return w; }

}  // namespace korva

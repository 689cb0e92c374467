// Korva's behaviour: one pass of event checks after every pump, and the small
// functions it calls (opening tabs, the side panel, and copying the selected
// page's title, address and loading state into the window).
//
// Start with olaylari_kontrol_et: it asks, in a fixed order, whether each thing
// the program cares about has happened since the last pass; each question reads
// and clears a flag in the runtime, so every event is seen by exactly one pass.
//
// Tabs and web views. The tab strip numbers tabs by position, the web view
// runtime numbers web views by record; the two agree only until the first tab is
// closed. So the program keeps its own table of the web view shown at each tab
// position: a tab opening appends to it, a close shifts it down, and every per-tab
// step goes through it. A closed tab's web view is closed with its tab, so its page
// stops and its record can serve the next tab.
//
// Texts fetched from the runtime (titles, addresses, the entry's text) are the
// program's to free, and are freed as soon as they have been used.
#include "korva.h"

#include <stdlib.h>
#include <string.h>

#include "core/calismazamani_win.h"
#include "webview/webgorunum_win_cz.h"
#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"

namespace {

// The web view of each open tab, by position; entries 0 to wv_sayisi - 1 are used.
// One entry per tab up to the tab limit, MAKS_SEKME.
constexpr int64_t kSekmeTablosuBoyu = 64;
int64_t sekme_gorunumleri[kSekmeTablosuBoyu];

const char* const kPanelBasliklari[] = {"Yer Imleri", "Gecmis", "Indirmeler", "Ayarlar"};

constexpr char kPencereEki[] = " - Korva";
constexpr char kYalinBaslik[] = "Korva";
constexpr char kYukleniyor[] = "Yukleniyor...";
constexpr char kHazir[] = "Hazir";
constexpr char kHizliErisimBasligi[] = "Hizli Erisim";
constexpr char kYeniSekmeBasligi[] = "Yeni Sekme";

int64_t uzunluk(const char* metin) { return static_cast<int64_t>(strlen(metin)); }

// A text fetched from the runtime, freed when it goes out of scope.
class AlinanMetin {
public:
    explicit AlinanMetin(TrMetin metin) : metin_(metin) {}
    ~AlinanMetin() { free(metin_.ptr); }
    AlinanMetin(const AlinanMetin&) = delete;
    AlinanMetin& operator=(const AlinanMetin&) = delete;

    const char* ptr() const { return metin_.ptr; }
    int64_t len() const { return metin_.len; }
    // An absent text (no storage) counts as empty too.
    bool bos() const { return metin_.ptr == nullptr || metin_.len <= 0; }

private:
    TrMetin metin_;
};

int64_t secili_konum() { return _tr_arayuz_sekme_secili(sekme_defteri); }

int64_t gorunum_at(int64_t konum) {
    if (konum < 0 || konum >= wv_sayisi) return -1;
    return sekme_gorunumleri[konum];
}

// The selected tab's web view, or -1 when no tab is selected.
int64_t secili_gorunum() { return gorunum_at(secili_konum()); }

// How a newly opened tab fills its web view.
using SayfaYukleyici = void (*)(int64_t view, const char* metin, int64_t length);

void baslangic_sayfasini_yukle(int64_t view, const char*, int64_t) {
    _tr_webgorunum_html_yukle(view, HIZLI_ERISIM, uzunluk(HIZLI_ERISIM));
}

void adresi_yukle(int64_t view, const char* address, int64_t length) {
    _tr_webgorunum_yukle(view, address, length);
}

// Opens a tab at the end of the strip with a new web view and selects it. A tab
// that cannot be added gives its web view back, so that the table, the strip and
// wv_sayisi keep counting the same tabs.
int64_t sekme_ac(const char* baslik, int64_t baslik_uzunlugu, SayfaYukleyici yukle,
                 const char* metin, int64_t metin_uzunlugu) {
    if (wv_sayisi >= MAKS_SEKME || wv_sayisi >= kSekmeTablosuBoyu) return -1;
    int64_t view = _tr_webgorunum_olustur();
    if (view < 0) return -1;
    int64_t konum = _tr_arayuz_sekme_kapatmali_ekle(sekme_defteri, _tr_webgorunum_widget_id(view),
                                                    baslik, baslik_uzunlugu);
    if (konum < 0) {
        _tr_webgorunum_kapat(view);
        return -1;
    }
    _tr_arayuz_goster_tumu(sekme_defteri);
    yukle(view, metin, metin_uzunlugu);
    sekme_gorunumleri[wv_sayisi] = view;
    wv_sayisi += 1;
    _tr_arayuz_sekme_sec(sekme_defteri, _tr_arayuz_sekme_sayisi(sekme_defteri) - 1);
    return view;
}

// A close requested on a tab's close mark: the tab goes, then its web view. The
// last tab closed is replaced by a start page, whose selection refreshes the
// window. Otherwise the strip selects a neighbour itself and raises no selection
// flag, so the address and title are refreshed here: they would still show the
// closed page.
void sekmeyi_kapat(int64_t konum) {
    if (konum >= wv_sayisi) return;
    if (_tr_arayuz_sekme_kaldir(sekme_defteri, konum) != 0) return;
    int64_t view = sekme_gorunumleri[konum];
    for (int64_t i = konum; i + 1 < wv_sayisi; ++i) sekme_gorunumleri[i] = sekme_gorunumleri[i + 1];
    wv_sayisi -= 1;
    _tr_webgorunum_kapat(view);
    if (wv_sayisi <= 0) {
        hizli_erisim_ac();
        return;
    }
    adres_cubugunu_guncelle();
    pencere_basligini_guncelle();
}

// A page event of the tab at a position: a new title renames the tab (an empty one
// keeps the caption) and, on the selected tab, the window; a new address reaches
// the entry only from the selected tab.
void sayfa_olaylarini_isle(int64_t konum) {
    int64_t view = sekme_gorunumleri[konum];
    if (_tr_webgorunum_baslik_degisti_mi(view) == 1) {
        AlinanMetin baslik(_tr_webgorunum_baslik_al(view));
        if (!baslik.bos()) {
            _tr_arayuz_sekme_baslik_ayarla(sekme_defteri, konum, baslik.ptr(), baslik.len());
        }
        if (secili_konum() == konum) pencere_basligini_guncelle();
    }
    if (_tr_webgorunum_adres_degisti_mi(view) == 1 && secili_konum() == konum) {
        adres_cubugunu_guncelle();
    }
}

// A toolbar button that acts on the selected tab's web view.
struct GorunumDugmesi {
    const int64_t* dugme;
    int64_t (*eylem)(int64_t view);
};

int64_t ana_sayfaya_don(int64_t view) {
    return _tr_webgorunum_html_yukle(view, HIZLI_ERISIM, uzunluk(HIZLI_ERISIM));
}

void gorunum_dugmesini_denetle(const GorunumDugmesi& oge) {
    if (_tr_arayuz_dugme_basildi_mi(*oge.dugme) != 1) return;
    if (secili_konum() < 0) return;
    oge.eylem(secili_gorunum());
}

void adres_girisini_denetle() {
    if (_tr_arayuz_giris_enter_mi(adres_girisi) != 1) return;
    AlinanMetin metin(_tr_arayuz_giris_metni_al(adres_girisi));
    if (secili_konum() < 0) return;
    _tr_webgorunum_yukle(secili_gorunum(), metin.ptr(), metin.len());
}

// The buttons in the order of the checks: Back, Forward, Reload and Home come
// before New tab, Menu after it; the sidebar buttons open panels 1 to 4.
const GorunumDugmesi kGeriIleriYenileEv[] = {
    {&geri_dugme, _tr_webgorunum_geri},
    {&ileri_dugme, _tr_webgorunum_ileri},
    {&yenile_dugme, _tr_webgorunum_yenile},
    {&ana_sayfa_dugme, ana_sayfaya_don},
};
const GorunumDugmesi kMenu = {&menu_dugme, _tr_webgorunum_yakinlik_sifirla};
const int64_t* const kKenarDugmeleri[] = {&sb_yer_imi, &sb_gecmis, &sb_indirme, &sb_ayar};

}  // namespace

int64_t olaylari_kontrol_et(void) noexcept {
    for (const GorunumDugmesi& oge : kGeriIleriYenileEv) gorunum_dugmesini_denetle(oge);
    if (_tr_arayuz_dugme_basildi_mi(yeni_sekme_dugme) == 1) hizli_erisim_ac();
    gorunum_dugmesini_denetle(kMenu);
    for (int64_t n = 0; n < 4; ++n) {
        if (_tr_arayuz_dugme_basildi_mi(*kKenarDugmeleri[n]) == 1) kenar_paneli_ac(n + 1);
    }
    adres_girisini_denetle();
    int64_t kapanan = _tr_arayuz_sekme_kapandi_mi(sekme_defteri);
    if (kapanan >= 0) sekmeyi_kapat(kapanan);
    if (_tr_arayuz_sekme_degisti_mi(sekme_defteri) == 1) {
        adres_cubugunu_guncelle();
        pencere_basligini_guncelle();
    }
    // The count is read again on every step: no reaction here opens or closes a
    // tab, but the bound must follow the table whatever happens.
    for (int64_t i = 0; i < wv_sayisi; ++i) sayfa_olaylarini_isle(i);
    durum_guncelle();
    return 0;
}

int64_t hizli_erisim_ac(void) noexcept {
    return sekme_ac(kHizliErisimBasligi, uzunluk(kHizliErisimBasligi), baslangic_sayfasini_yukle,
                    nullptr, 0);
}

int64_t yeni_sekme_ac(const char* address, int64_t length) noexcept {
    return sekme_ac(kYeniSekmeBasligi, uzunluk(kYeniSekmeBasligi), adresi_yukle, address, length);
}

int64_t kenar_paneli_ac(int64_t number) noexcept {
    if (kenar_acik == 1 && aktif_panel == number) {
        _tr_arayuz_widget_gizle(kenar_panel);
        kenar_acik = 0;
        aktif_panel = 0;
        return 0;
    }
    // A number outside 1 to 4 opens the panel with its title unchanged.
    if (number >= 1 && number <= 4) {
        const char* baslik = kPanelBasliklari[number - 1];
        _tr_arayuz_etiket_metni_ayarla(kenar_panel_baslik, baslik, uzunluk(baslik));
    }
    _tr_arayuz_widget_goster(kenar_panel);
    kenar_acik = 1;
    aktif_panel = number;
    return 0;
}

int64_t pencere_basligini_guncelle(void) noexcept {
    if (secili_konum() < 0) return 0;
    AlinanMetin baslik(_tr_webgorunum_baslik_al(secili_gorunum()));
    if (baslik.bos()) {
        _tr_pencere_baslik_ayarla(ana_pencere, kYalinBaslik, uzunluk(kYalinBaslik));
        return 0;
    }
    AlinanMetin tam(_metin_birlestir(baslik.ptr(), baslik.len(), kPencereEki, uzunluk(kPencereEki)));
    _tr_pencere_baslik_ayarla(ana_pencere, tam.ptr(), tam.len());
    return 0;
}

int64_t adres_cubugunu_guncelle(void) noexcept {
    if (secili_konum() < 0) return 0;
    AlinanMetin adres(_tr_webgorunum_adres_al(secili_gorunum()));
    _tr_arayuz_giris_metni_ayarla(adres_girisi, adres.ptr(), adres.len());
    return 0;
}

int64_t durum_guncelle(void) noexcept {
    if (secili_konum() < 0) return 0;
    int64_t view = secili_gorunum();
    if (_tr_webgorunum_yukleniyor_mu(view) == 1) {
        _tr_arayuz_ilerleme_ayarla(ilerleme, _tr_webgorunum_yuklenme_yuzdesi(view));
        _tr_arayuz_etiket_metni_ayarla(durum_etiketi, kYukleniyor, uzunluk(kYukleniyor));
    } else {
        _tr_arayuz_ilerleme_ayarla(ilerleme, 0);
        _tr_arayuz_etiket_metni_ayarla(durum_etiketi, kHazir, uzunluk(kHazir));
    }
    return 0;
}

int64_t sekme_webgorunumu(int64_t position) noexcept { return gorunum_at(position); }

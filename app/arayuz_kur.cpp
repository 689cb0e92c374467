// Korva's interface construction: the whole widget tree, built once at start-up
// between the creation of the main window and its showing.
//
// The tree is a column of three rows: the toolbar, the body (icon sidebar, side
// panel, tab strip) and the status bar. Widget ids are handed out in creation
// order, so the order of the steps below is part of the interface: with every
// creation succeeding the root box is 0 and the version label 26. No result is
// examined; a widget that cannot be made leaves -1 behind, which every later call
// ignores.
#include "korva.h"

#include <string.h>

#include "tarayici_ic.h"
#include "widgets/arayuz_win_cz.h"

namespace {

// One control of the toolbar row, in packing order. The entry has no label; its
// hint is the placeholder shown while it is empty.
struct AracCubuguOgesi {
    int64_t* degisken;
    bool giris;
    const char* etiket;
    const char* ipucu;
    int64_t genisle;
    int64_t doldur;
    int64_t bosluk;
};

const AracCubuguOgesi kAracCubugu[] = {
    {&geri_dugme, false, "\xE2\x97\x80", "Geri (Alt+Sol)", 0, 0, 2},             // U+25C0
    {&ileri_dugme, false, "\xE2\x96\xB6", "Ileri (Alt+Sag)", 0, 0, 2},           // U+25B6
    {&yenile_dugme, false, "\xE2\x9F\xB3", "Yenile (F5)", 0, 0, 2},         // U+27F3
    {&ana_sayfa_dugme, false, "\xE2\x8C\x82", "Ana sayfa", 0, 0, 4},   // U+2302
    {&adres_girisi, true, "", "Adres yazin veya arayin...", 1, 1, 6},
    {&yeni_sekme_dugme, false, "+", "Yeni sekme (Ctrl+T)", 0, 0, 2},
    {&menu_dugme, false, "\xE2\x89\xA1", "Menu (Alt+F)", 0, 0, 2},              // U+2261
};

// One button of the icon sidebar; all are packed with expand 0, fill 0, padding 0.
struct KenarDugmesi {
    int64_t* degisken;
    const char* etiket;
    const char* ipucu;
};

const KenarDugmesi kUstKenarDugmeleri[] = {
    {&sb_yer_imi, "\xE2\x98\x85", "Yer imleri (Ctrl+Shift+O)"},  // U+2605
    {&sb_gecmis, "\xE2\x8F\xB1", "Gecmis (Ctrl+H)"},       // U+23F1
    {&sb_indirme, "\xE2\x86\x93", "Indirmeler (Ctrl+J)"},  // U+2193
};
const KenarDugmesi kAltKenarDugmesi = {&sb_ayar, "\xE2\x9A\x99", "Ayarlar"};  // U+2699

// Requested widths of this interface; the sidebar's and the panel's come from
// constants (the panel's in tarayici_ic.h: a drag on its edge changes it).
constexpr int64_t kIlerlemeGenisligi = 200;
constexpr int64_t kIcerikBoslugu = 12;

int64_t uzunluk(const char* metin) { return static_cast<int64_t>(strlen(metin)); }

void sinif_ekle(int64_t widget, const char* sinif) {
    _tr_arayuz_css_sinif_ekle(widget, sinif, uzunluk(sinif));
}

int64_t dugme(const char* etiket, const char* ipucu) {
    int64_t id = _tr_arayuz_dugme(etiket, uzunluk(etiket));
    _tr_arayuz_ipucu_ayarla(id, ipucu, uzunluk(ipucu));
    return id;
}

int64_t etiket(const char* metin) { return _tr_arayuz_etiket(metin, uzunluk(metin)); }

int64_t arac_cubugu_kur() {
    int64_t satir = _tr_arayuz_kutu_yatay();
    sinif_ekle(satir, "toolbar");
    for (const AracCubuguOgesi& oge : kAracCubugu) {
        if (oge.giris) {
            *oge.degisken = _tr_arayuz_giris();
            _tr_arayuz_giris_ipucu_ayarla(*oge.degisken, oge.ipucu, uzunluk(oge.ipucu));
            sinif_ekle(*oge.degisken, "adres-cubugu");
        } else {
            *oge.degisken = dugme(oge.etiket, oge.ipucu);
        }
        _tr_arayuz_pakle(satir, *oge.degisken, oge.genisle, oge.doldur, oge.bosluk);
    }
    return satir;
}

// The icon sidebar: three buttons at the top, an empty label that takes all spare
// height, and the Settings button pushed to the bottom by it.
void kenar_cubugu_kur() {
    kenar_cubugu = _tr_arayuz_kutu_dikey();
    sinif_ekle(kenar_cubugu, "sidebar");
    _tr_arayuz_widget_genislik_ayarla(kenar_cubugu, KENAR_GENISLIK);
    for (const KenarDugmesi& oge : kUstKenarDugmeleri) {
        *oge.degisken = dugme(oge.etiket, oge.ipucu);
        _tr_arayuz_pakle(kenar_cubugu, *oge.degisken, 0, 0, 0);
    }
    _tr_arayuz_pakle(kenar_cubugu, etiket(""), 1, 1, 0);
    *kAltKenarDugmesi.degisken = dugme(kAltKenarDugmesi.etiket, kAltKenarDugmesi.ipucu);
    _tr_arayuz_pakle(kenar_cubugu, *kAltKenarDugmesi.degisken, 0, 0, 0);
}

// The side panel: its title, a separator and a box holding the placeholder. The
// box has no scroll bars of its own: the panels' lists scroll themselves.
void kenar_panel_kur() {
    kenar_panel = _tr_arayuz_kutu_dikey();
    sinif_ekle(kenar_panel, "kenar-panel");
    _tr_arayuz_widget_genislik_ayarla(kenar_panel, korva::kPanelGenisligi);
    kenar_panel_baslik = etiket("Panel");
    sinif_ekle(kenar_panel_baslik, "kenar-panel-baslik");
    _tr_arayuz_pakle(kenar_panel, kenar_panel_baslik, 0, 0, 0);
    _tr_arayuz_pakle(kenar_panel, _tr_arayuz_ayirici(), 0, 0, 0);
    int64_t icerik = _tr_arayuz_kutu_dikey();
    _tr_arayuz_pakle(icerik, etiket("Icerik burada gorunecek"), 0, 0, kIcerikBoslugu);
    int64_t kaydirma = _tr_arayuz_kutu_dikey();
    _tr_arayuz_ekle(kaydirma, icerik);
    _tr_arayuz_pakle(kenar_panel, kaydirma, 1, 1, 0);
    // The panels' own contents join the scroll box when first shown (paneller.cpp).
    korva::panel_kaydirma = kaydirma;
    korva::panel_yer_tutucu = icerik;
}

int64_t govde_kur() {
    int64_t satir = _tr_arayuz_kutu_yatay();
    kenar_cubugu_kur();
    _tr_arayuz_pakle(satir, kenar_cubugu, 0, 0, 0);
    kenar_panel_kur();
    _tr_arayuz_pakle(satir, kenar_panel, 0, 0, korva::kPanelKenarPayi);
    sekme_defteri = _tr_arayuz_sekmeler();
    _tr_arayuz_pakle(satir, sekme_defteri, 1, 1, 0);
    return satir;
}

int64_t durum_cubugu_kur() {
    int64_t satir = _tr_arayuz_kutu_yatay();
    sinif_ekle(satir, "statusbar");
    ilerleme = _tr_arayuz_ilerleme_cubugu();
    sinif_ekle(ilerleme, "progress-thin");
    _tr_arayuz_widget_genislik_ayarla(ilerleme, kIlerlemeGenisligi);
    _tr_arayuz_pakle(satir, ilerleme, 0, 0, 4);
    durum_etiketi = etiket("Hazir");
    _tr_arayuz_pakle(satir, durum_etiketi, 1, 0, 8);
    _tr_arayuz_pakle(satir, etiket("Korva v2.0"), 0, 0, 8);
    return satir;
}

}  // namespace

int64_t arayuz_kur(void) noexcept {
    ana_kutu = _tr_arayuz_kutu_dikey();
    korva::arac_cubugu_satiri = arac_cubugu_kur();
    _tr_arayuz_pakle(ana_kutu, korva::arac_cubugu_satiri, 0, 0, 0);
    _tr_arayuz_pakle(ana_kutu, govde_kur(), 1, 1, 0);
    korva::durum_cubugu_satiri = durum_cubugu_kur();
    _tr_arayuz_pakle(ana_kutu, korva::durum_cubugu_satiri, 0, 0, 0);
    korva::cizimleri_kur();
    return 0;
}

// Korva's start-up, program-wide state and main loop.
//
// The program is flat functions over program-wide variables. Start-up creates the
// main window, has the interface built, shows it and opens the first tab; the loop
// then pumps the window messages and runs the program's checks once per pass
// until the main window reports closed.
#include "korva.h"

#include <string.h>

#include "core/calismazamani_win.h"
#include "depolar.h"
#include "oturum.h"
#include "izinler.h"
#include "tarayici_ic.h"
#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"

const int64_t PENCERE_GENISLIK = 1400;
const int64_t PENCERE_YUKSEKLIK = 900;
const int64_t MAKS_SEKME = 64;
const int64_t KENAR_GENISLIK = 48;

int64_t ana_pencere = -1;
int64_t sekme_defteri = -1;
int64_t adres_girisi = -1;
int64_t geri_dugme = -1;
int64_t ileri_dugme = -1;
int64_t yenile_dugme = -1;
int64_t ana_sayfa_dugme = -1;
int64_t yeni_sekme_dugme = -1;
int64_t menu_dugme = -1;
int64_t durum_etiketi = -1;
int64_t ilerleme = -1;
int64_t ana_kutu = -1;
int64_t kenar_cubugu = -1;
int64_t kenar_panel = -1;
int64_t kenar_panel_baslik = -1;
int64_t sb_yer_imi = -1;
int64_t sb_gecmis = -1;
int64_t sb_indirme = -1;
int64_t sb_ayar = -1;

int64_t wv_sayisi = 0;
int64_t kapanan_sekme_sayisi = 0;
int64_t kenar_acik = 0;
int64_t aktif_panel = 0;

namespace {

// Upper bound of one wait for input between two passes of the loop. Every window
// message wakes the loop at once; the bound only limits how late a flag raised
// outside a message is seen.
constexpr int64_t kDonguBeklemesiMs = 50;

constexpr char kKapanisSatiri[] = "Korva kapatildi.";

}  // namespace

// Start-up checks no results: a piece that could not be made leaves its id at -1,
// and every runtime call given -1 does nothing.
int64_t korva_baslat(void) noexcept {
    _tr_pencere_baslat();
    _tr_arayuz_css_yukle(KOYU_TEMA, static_cast<int64_t>(strlen(KOYU_TEMA)));
    static const char kBaslik[] = "Korva";
    ana_pencere = _tr_pencere_olustur(kBaslik, sizeof(kBaslik) - 1, PENCERE_GENISLIK, PENCERE_YUKSEKLIK);
    // The kept settings and bookmarks before the first tab, which follows the
    // settings; the history is read when first needed.
    korva::ayarlari_yukle();
    korva::yer_imlerini_yukle();
    arayuz_kur();
    kisayollari_kur();
    // The side panel starts closed, in step with kenar_acik = 0. Hidden before the
    // tree is first laid out and shown, so the window is laid out and painted once.
    _tr_arayuz_widget_gizle(kenar_panel);
    _tr_pencere_icerik_ayarla(ana_pencere, ana_kutu);
    _tr_pencere_goster(ana_pencere);
    korva::adres_girisini_kur();
    // The tabs kept from the last run, or the start page as a new tab.
    korva::ilk_sekmeleri_ac();
    return 0;
}

int64_t korva_dongu(void) noexcept {
    while (_tr_pencere_kapatildi_mi(ana_pencere) == 0) {
        _tr_pencere_olaylari_isle();
        olaylari_kontrol_et();
        _tr_pencere_olay_bekle(kDonguBeklemesiMs);
    }
    korva::indirmeleri_kapat();
    korva::oturumu_kapat();
    korva::izinleri_kapat();
    korva::depolari_kaydet(true);
    _yazdir_metin(kKapanisSatiri, sizeof(kKapanisSatiri) - 1);
    return 0;
}

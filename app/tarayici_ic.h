// Inside the browser program: what its files share beyond korva.h. The side
// panel's contents (paneller.cpp), find in page (bul.cpp) and the reactions
// (olaylar.cpp) call each other through these.
#pragma once

#include <stdint.h>

#include <string>

namespace korva {

// Set by arayuz_kur: the side panel's scroll box, and the box in it that holds the
// placeholder text. The panels' own boxes are packed after the placeholder's, on
// first need.
extern int64_t panel_kaydirma;
extern int64_t panel_yer_tutucu;

// ---- Side panel contents (paneller.cpp) ---------------------------------------------
// Shows the contents of panel 1 to 4 (0: none) in the side panel; kenar_paneli_ac
// calls it after every change of state.
void panel_icerigini_goster(int64_t numara);
// One pass of the panels' own checks: the search entry, the lists, the buttons.
void paneller_denetle();
// Ctrl+H: the History panel open, the keyboard in its search entry.
void gecmis_paneline_git();
// Ctrl+Shift+O: the Bookmarks panel open, the keyboard in its list, first row selected.
void yer_imleri_paneline_git();
// Ctrl+D and the panel's button: adds the selected page to the bookmarks, or removes
// it when it is there, and says which in the status bar.
void yer_imini_degistir();
// The panel widgets, for tests; -1 until the panel was first shown.
struct PanelWidgetleri {
    int64_t gecmis_kutusu = -1, gecmis_arama = -1, gecmis_listesi = -1, gecmis_temizle = -1;
    int64_t yer_imi_kutusu = -1, yer_imi_dugmesi = -1, yer_imi_listesi = -1;
    int64_t ayar_kutusu = -1, baslangic_girisi = -1, yakinlik_azalt = -1, yakinlik_etiketi = -1,
            yakinlik_artir = -1, verileri_temizle = -1;
};
const PanelWidgetleri& panel_widgetleri();

// ---- Downloads (indirmeler.cpp) -------------------------------------------------------
// One pass: downloads that started, progressed or ended; the panel's list and button.
void indirmeleri_denetle();
void indirme_panelini_denetle();
// The Downloads panel's box, made on first need (the list read from the profile).
int64_t indirme_paneli_kutusu();
bool indirme_var_mi();
// Ctrl+J: the Downloads panel open, the keyboard in its list on the newest row.
void indirmeler_paneline_git();
// A row's state as the panel shows it ("45% of 3.2 MB", "done", "failed: no space",
// "cancelled"); rows are newest first.
std::string indirme_durum_metni(int64_t satir);
// The overall percentage of the running downloads, -1 when none runs.
int64_t indirme_yuzdesi();
// Korva closes: running downloads are canceled and kept as canceled.
void indirmeleri_kapat();
// Forgets the list held in memory (tests start a fresh profile with it).
void indirmeleri_sifirla();
struct IndirmeWidgetleri {
    int64_t kutu = -1, liste = -1, iptal = -1;
};
const IndirmeWidgetleri& indirme_widgetleri();

// ---- Find in page (bul.cpp) ------------------------------------------------------------
void bul_ac();               // Ctrl+F: the find bar shown, its text selected
void bul_kapat();            // Esc: hidden, the page's highlights removed
void bul_ilerle(int64_t yon);  // F3 (1) and Shift+F3 (-1)
void bul_denetle();          // one pass: typing, Enter, buttons, the page's answer
bool bul_acik_mi();
struct BulWidgetleri {
    int64_t pencere = -1, giris = -1, onceki = -1, sonraki = -1, etiket = -1, kapat = -1;
};
const BulWidgetleri& bul_widgetleri();

// ---- Print and save (yazdir.cpp) -----------------------------------------------------
// Ctrl+P and the menu's Print...: the selected page as a PDF; Ctrl+S and Save page
// as...: as one MHTML file. Both ask where with the save dialog (KORVA_KAYIT_YOLU,
// for tests, names the file instead) and say in the status bar how it ended.
void sayfayi_yazdir();
void sayfayi_kaydet();
// One pass: the end of a print or save is said in the status bar.
void kayitlari_denetle();

// ---- Services of the reactions (olaylar.cpp) -----------------------------------------
// The selected tab's web view, or -1.
int64_t secili_webgorunum();
// Opens an address in the selected tab, or in a new tab after it.
void adresi_ac(const std::string& adres, bool yeni_sekmede);
// Forgets the closed tabs that Ctrl+Shift+T would reopen.
void kapananlari_temizle();
// Sets every open tab's zoom (the default zoom changed).
void yakinligi_uygula(int64_t yuzde);
// A message for the status bar, shown for a few seconds over "Hazir".
void bildir(const std::string& metin);

// The text of a runtime result, freed here.
std::string al_ve_birak(struct TrMetin metin);

}  // namespace korva

// Inside the browser program: what its files share beyond korva.h. The side
// panel's contents (paneller.cpp), find in page (bul.cpp) and the reactions
// (olaylar.cpp) call each other through these.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace korva {

// Set by arayuz_kur: the side panel's content box, and the box in it that holds the
// placeholder text. The panels' own boxes are packed after the placeholder's, on
// first need.
extern int64_t panel_kaydirma;
extern int64_t panel_yer_tutucu;

// ---- Korva's own drawing (cizim.cpp) ---------------------------------------------------
// The side panel: its width when it first opens, the room packed on either side of
// it (the room at its right is the edge a drag moves), the least width a drag
// leaves it and the least width it leaves the page.
constexpr int64_t kPanelGenisligi = 440;
constexpr int64_t kPanelKenarPayi = 3;
constexpr int64_t kPanelEnAz = 200;
constexpr int64_t kPanelSayfaPayi = 300;
// Called once the interface is built: the buttons' symbols and the progress bar
// painted by Korva, the panel's edge made draggable.
void cizimleri_kur();
// A size at 96 dpi in pixels at the main window's screen density (tr_olcekle), for
// what Korva measures and draws itself.
int ekranda(int64_t boyut);

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
    int64_t gecmis_kutusu = -1, gecmis_arama = -1, gecmis_listesi = -1, gecmis_temizle = -1, son_oturum = -1;
    int64_t yer_imi_kutusu = -1, yer_imi_dugmesi = -1, yer_imi_listesi = -1;
    int64_t ayar_kutusu = -1, baslangic_girisi = -1, arama_girisi = -1, yakinlik_azalt = -1, yakinlik_etiketi = -1,
            yakinlik_artir = -1, verileri_temizle = -1, oturumu_surdur = -1, baslangic_sayfasi = -1;
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
// A row's state as the panel shows it ("%45 / 3.2 MB", "tamamlandi",
// "basarisiz: diskte yer yok", "iptal edildi"); rows are newest first.
std::string indirme_durum_metni(int64_t satir);
// The overall percentage of the running downloads, -1 when none runs.
int64_t indirme_yuzdesi();
// What runs, for the status bar: the name of the one download running, "3 dosya"
// when more run, empty when none does.
std::string suren_indirmeler_metni();
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

// ---- The address entry (adres_girisi.cpp) --------------------------------------------
// Set up once after the interface is built: the security mark, the click that selects all.
void adres_girisini_kur();
// Shows the selected page's address (Korva's own pages show none) and its security
// mark. Without `zorla` a text the user is typing in the entry is left alone.
void adres_gosterimini_guncelle(const std::string& sayfa_adresi, bool zorla);
// The security mark drawn before the address: a check mark for https, "Guvenli
// degil" for http and for https of a host whose certificate was refused, "" for
// other pages.
const std::string& guvenlik_isareti();
// A new tab: the keyboard in the empty entry, its hint showing.
void adres_girisine_odaklan();
// One pass: Enter in the entry opens the typed address or searches for the text.
void adres_girisini_denetle();
// Esc while the keyboard is in the entry: true when it was the entry's (the
// suggestions closed, the page's address back, or the keyboard given to the page).
bool adres_esc_isle();
// A navigation of the view completed: a guessed https address that could not
// connect is tried once as http.
void gezinti_sonucunu_isle(int64_t view);
// The view was closed: nothing waits for it any more.
void gorunum_kapandi(int64_t view);

// ---- The certificate warning page (sertifika_uyarisi.cpp) -------------------------------

// A text put into HTML, as text and inside a quoted attribute alike (Korva's own pages).
std::string html_kacisli(const std::string& metin);
// A navigation of the view completed: when the server's certificate was refused,
// Korva's warning page is shown and the refused address returned (malloc'ed, the
// caller's), else null. `onceki_adres`: what the tab showed before ("Geri don").
char* sertifika_uyarisini_goster(int64_t view, const char* onceki_adres);
// The view's address changed: true when it was a button of the warning page, now
// done (the page before loaded again, or the refused address with its host let pass).
bool sertifika_dugmesini_isle(int64_t view, const char* reddedilen_adres);
// An address of a host whose certificate was refused in this run (its warning page,
// or its pages the user went on to).
bool sertifikasi_kotu_adres_mi(const std::string& adres);

// ---- Suggestions under the address entry (oneri_penceresi.cpp) -----------------------
// One pass: a row chosen in the list opened, the index kept fresh while the
// keyboard is in the entry.
void oneriler_denetle();
// Esc: closes the list; true when it was open (then Esc has done its work).
bool oneriler_esc_isle();
// The page or the tab changed: the list closes.
void onerileri_kapat();
// For tests: whether the list shows, its window (an HWND; null before it was first
// shown), its rows (a page's address; the search row's text) and the selected row
// (-1: none, the typed text).
bool oneriler_acik_mi();
void* oneri_penceresi();
std::vector<std::string> oneri_satirlari();
int64_t oneri_secili();
// Searches the text with the search engine of the settings.
void metni_ara(const std::string& metin);

// ---- The menu and the everyday commands (komutlar.cpp) ----------------------------------
// What the menu offers, in its order; each shortcut of these runs the same command.
enum class Komut {
    yeni_sekme, kapanani_ac, gecmis, yer_imleri, indirmeler, uzaklastir, yakinlik_sifirla, yakinlastir,
    bul, yazdir, kaydet, kaynagi_goster, tam_ekran, ayarlar, cikis,
};
void komutu_calistir(Komut komut);
// The menu button, Alt+F and F10: the menu under the button, with the first item
// highlighted when the keyboard opened it. Returns once it is closed and the
// chosen command has run.
void menuyu_ac(bool klavyeyle);
// Ctrl+U: view-source:<address> of the selected page in a new tab right after it.
void kaynagi_goster();


// ---- Print and save (yazdir.cpp) -----------------------------------------------------
// Ctrl+P and the menu's Print...: the selected page as a PDF; Ctrl+S and Save page
// as...: as one MHTML file. Both ask where with the save dialog (KORVA_KAYIT_YOLU,
// for tests, names the file instead) and say in the status bar how it ended.
void sayfayi_yazdir();
void sayfayi_kaydet();
// One pass: the end of a print or save is said in the status bar.
void kayitlari_denetle();

// ---- Full screen (tam_ekran.cpp) ------------------------------------------------------
// Set by arayuz_kur: the toolbar's and the status bar's rows, hidden in full screen.
extern int64_t arac_cubugu_satiri;
extern int64_t durum_cubugu_satiri;
// F11 and the menu's item: the page alone over the whole screen, or the frame back as
// it was; whether the page shows alone (the user's or a page's full screen).
void tam_ekrani_degistir();
bool tam_ekranda_mi();
// Esc: the frame back; false when the page was not shown alone.
bool tam_ekrandan_cik();
// One pass: a page whose element entered or left full screen, the selected tab.
void tam_ekrani_denetle();

// ---- The sound of tabs (ses.cpp) ------------------------------------------------------
// One pass: each tab's speaker mark, a click on a mark, a right click's tab menu.
void sesi_denetle();
// Mutes the tab's page, or unmutes it when muted; nothing for a tab without a page.
void sekme_sesini_degistir(int64_t konum);

// ---- Text for the platform (metin.cpp) ------------------------------------------------
// UTF-8 to UTF-16 and back; invalid sequences become U+FFFD.
std::wstring genis(const std::string& metin);
std::string utf8(const std::wstring& metin);

// ---- Services of the reactions (olaylar.cpp) -----------------------------------------
// The selected tab's web view, or -1.
int64_t secili_webgorunum();
// Opens an address in the selected tab, or in a new tab after it.
void adresi_ac(const std::string& adres, bool yeni_sekmede);
// Forgets the closed tabs that Ctrl+Shift+T would reopen.
void kapananlari_temizle();
// Ctrl+Shift+T: the last closed tab again; whether there is one to reopen.
void kapanan_sekmeyi_ac();
bool kapanan_sekme_var_mi();
// Sets every open tab's zoom (the default zoom changed).
void yakinligi_uygula(int64_t yuzde);
// A message for the status bar, shown for a few seconds over "Hazir".
void bildir(const std::string& metin);

// The text of a runtime result, freed here.
std::string al_ve_birak(struct TrMetin metin);

}  // namespace korva

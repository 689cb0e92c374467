// Korva, the browser program: its constants, program-wide variables and functions.
// Everything here has C linkage so that programs of the language and tests reach
// it by name.
#pragma once

#include "tr_tipler.h"

// Constants.
TR_API const int64_t PENCERE_GENISLIK;   // main window width, 1400
TR_API const int64_t PENCERE_YUKSEKLIK;  // main window height, 900
TR_API const int64_t MAKS_SEKME;         // most tabs open at once, 64
TR_API const int64_t KENAR_GENISLIK;     // icon sidebar width, 48

// The two documents, zero-terminated ASCII: the start page (HTML) and the dark
// theme stylesheet.
TR_API const char HIZLI_ERISIM[];
TR_API const char KOYU_TEMA[];

// Ids set once during start-up; -1 means none.
TR_API int64_t ana_pencere;
TR_API int64_t sekme_defteri;
TR_API int64_t adres_girisi;
TR_API int64_t geri_dugme;
TR_API int64_t ileri_dugme;
TR_API int64_t yenile_dugme;
TR_API int64_t ana_sayfa_dugme;
TR_API int64_t yeni_sekme_dugme;
TR_API int64_t menu_dugme;
TR_API int64_t durum_etiketi;
TR_API int64_t ilerleme;
TR_API int64_t ana_kutu;
TR_API int64_t kenar_cubugu;
TR_API int64_t kenar_panel;
TR_API int64_t kenar_panel_baslik;
TR_API int64_t sb_yer_imi;
TR_API int64_t sb_gecmis;
TR_API int64_t sb_indirme;
TR_API int64_t sb_ayar;

// The browser's own state.
TR_API int64_t wv_sayisi;    // open tabs, each holding one web view
TR_API int64_t kapanan_sekme_sayisi;  // tabs closed since the start (a closed tab's page agrees first)
TR_API int64_t kenar_acik;   // 1 while the side panel is shown
TR_API int64_t aktif_panel;  // panel shown, 1 to 4; 0 when closed

// Interface construction: builds the whole widget tree once and sets the widget
// ids above. Returns 0.
TR_API int64_t arayuz_kur(void) TR_NOEXCEPT;

// Registers the browser's keyboard shortcuts with the main window (Ctrl+T, Ctrl+W,
// Ctrl+Tab, Ctrl+1..9, Ctrl+L, F5, Alt+Left and the others); start-up calls it
// once the main window exists. Returns 0.
TR_API int64_t kisayollari_kur(void) TR_NOEXCEPT;

// Reactions to input and page events. One pass of checks, run after each pump.
TR_API int64_t olaylari_kontrol_et(void) TR_NOEXCEPT;
// Open a tab at the end of the strip and select it: the start page titled
// "Hizli Erisim", or the given address titled "Yeni Sekme". The new web view's
// id, or -1 at the tab limit or when no web view can be made. When the web engine
// cannot be started the tab still opens, titled "Motor baslatilamadi" and saying
// why, without a web view: -1 then too.
TR_API int64_t hizli_erisim_ac(void) TR_NOEXCEPT;
TR_API int64_t yeni_sekme_ac(const char* address, int64_t length) TR_NOEXCEPT;
// Side panel 1 to 4 (Bookmarks, History, Downloads, Settings): opens it, switches
// it, or closes it when that panel is already open. Returns 0.
TR_API int64_t kenar_paneli_ac(int64_t number) TR_NOEXCEPT;
// Copy the selected tab's page title, address and loading state into the window
// title, the address entry and the status bar. Each returns 0.
TR_API int64_t pencere_basligini_guncelle(void) TR_NOEXCEPT;
TR_API int64_t adres_cubugunu_guncelle(void) TR_NOEXCEPT;
TR_API int64_t durum_guncelle(void) TR_NOEXCEPT;
// The web view shown in the tab at a position, 0 to wv_sayisi - 1; -1 for any
// other position and for a tab whose engine could not be started. Tabs and web
// views are paired by this table, never by number.
TR_API int64_t sekme_webgorunumu(int64_t position) TR_NOEXCEPT;

// Start-up (window, interface, first tab) and the main loop until the main window
// is closed; the loop prints the shutdown line and returns the exit code, 0.
TR_API int64_t korva_baslat(void) TR_NOEXCEPT;
TR_API int64_t korva_dongu(void) TR_NOEXCEPT;

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
TR_API int64_t kenar_acik;   // 1 while the side panel is shown
TR_API int64_t aktif_panel;  // panel shown, 1 to 4; 0 when closed

// Start-up (window, interface, first tab) and the main loop until the main window
// is closed; the loop prints the shutdown line and returns the exit code, 0.
TR_API int64_t korva_baslat(void) TR_NOEXCEPT;
TR_API int64_t korva_dongu(void) TR_NOEXCEPT;

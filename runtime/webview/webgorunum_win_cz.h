// Web view runtime: web views drawn by the platform's web engine, each inside a
// host window that the widget runtime places like any other widget. A web view id
// is the index of its record in a table of 256. Page events are recorded as flags
// and read, and cleared, by the queries whose names end in _mi.
//
// Text results here are followed by a zero byte that the length does not count.
#pragma once

#include "tr_tipler.h"

// Creation, closing, and the widget that places the host window.
TR_API int64_t _tr_webgorunum_olustur(void) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_widget_id(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_kapat(int64_t view) TR_NOEXCEPT;

// Navigation and scripts.
TR_API int64_t _tr_webgorunum_yukle(int64_t view, const char* address, int64_t length) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_html_yukle(int64_t view, const char* html, int64_t length) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_js_calistir(int64_t view, const char* script, int64_t length) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_geri(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_ileri(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_yenile(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_durdur(int64_t view) TR_NOEXCEPT;

// Page state.
TR_API int64_t _tr_webgorunum_geri_gidebilir_mi(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_ileri_gidebilir_mi(int64_t view) TR_NOEXCEPT;
TR_API TrMetin _tr_webgorunum_baslik_al(int64_t view) TR_NOEXCEPT;
TR_API TrMetin _tr_webgorunum_adres_al(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_yukleniyor_mu(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_yuklenme_yuzdesi(int64_t view) TR_NOEXCEPT;

// Page events, each reported once.
TR_API int64_t _tr_webgorunum_baslik_degisti_mi(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_adres_degisti_mi(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_yuklenme_bitti_mi(int64_t view) TR_NOEXCEPT;

// Zoom.
TR_API int64_t _tr_webgorunum_yakinlastir(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_uzaklastir(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_yakinlik_sifirla(int64_t view) TR_NOEXCEPT;

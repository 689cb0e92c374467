// Window runtime: top-level windows in a table of 64, addressed by window id,
// and the two message pumps. Ids are handed out in creation order and never reused.
#pragma once

#include <windows.h>

#include "tr_tipler.h"

TR_API int64_t _tr_pencere_baslat(void) TR_NOEXCEPT;
TR_API int64_t _tr_pencere_olustur(const char* title, int64_t title_length, int64_t width,
                                   int64_t height) TR_NOEXCEPT;
TR_API int64_t _tr_pencere_baslik_ayarla(int64_t window, const char* title,
                                         int64_t title_length) TR_NOEXCEPT;
TR_API int64_t _tr_pencere_boyut_ayarla(int64_t window, int64_t width, int64_t height) TR_NOEXCEPT;
TR_API int64_t _tr_pencere_simge_ayarla(int64_t window, const char* path,
                                        int64_t path_length) TR_NOEXCEPT;
TR_API int64_t _tr_pencere_goster(int64_t window) TR_NOEXCEPT;
TR_API int64_t _tr_pencere_gizle(int64_t window) TR_NOEXCEPT;
TR_API int64_t _tr_pencere_kapat(int64_t window) TR_NOEXCEPT;
TR_API int64_t _tr_pencere_tam_ekran(int64_t window) TR_NOEXCEPT;
TR_API int64_t _tr_pencere_tam_ekrandan_cik(int64_t window) TR_NOEXCEPT;
TR_API int64_t _tr_pencere_olaylari_isle(void) TR_NOEXCEPT;
TR_API int64_t _tr_pencere_calistir(void) TR_NOEXCEPT;
TR_API int64_t _tr_pencere_kapatildi_mi(int64_t window) TR_NOEXCEPT;
TR_API int64_t _tr_pencere_icerik_ayarla(int64_t window, int64_t widget) TR_NOEXCEPT;

// Waits until input arrives in the thread's queue or `milliseconds` have passed.
// Dispatches nothing. Returns 1 when input is waiting, 0 on time-out, -1 before
// the runtime is initialised.
TR_API int64_t _tr_pencere_olay_bekle(int64_t milliseconds) TR_NOEXCEPT;

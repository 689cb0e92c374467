// Window runtime: top-level windows in a table of 64, addressed by window id,
// and the two message pumps. Ids are handed out in creation order and never reused.
//
// Keyboard shortcuts. A program registers a key with its modifiers for a window
// (_tr_pencere_kisayol_ekle gives a shortcut id, 0 to 255, or -1 when the table is
// full or the window or key is invalid). Pressed while the keyboard is anywhere in
// that window (an entry, a button, the window itself), the key is taken by the
// pump: the control does not get it, and the shortcut's flag rises. The program's
// pass reads and clears it with _tr_pencere_kisayol_basildi_mi (1 once after one
// or more presses, else 0). _tr_pencere_kisayol_etkin (shortcut, on) switches it:
// 0 off (its key goes through as if there were no shortcut), 1 on (the default:
// the key is taken), 2 on but the key still goes on to where it was going.
// `key` is a virtual-key code (1 to 254); `modifiers` is the sum of the
// TR_KISAYOL_* bits that must be held, and no other of them may be.
// A window inside which the keyboard belongs to something else (a web engine's
// page, which reports its keys itself) carries the property "TrKendiKlavyesi"; the
// pump leaves keys pressed there alone, and whoever owns that window passes them
// on with win_kisayol_tusu.
#pragma once

#include <windows.h>

#include "tr_tipler.h"

TR_API int64_t _tr_pencere_baslat(void) TR_NOEXCEPT;
// Sizes given here (a window's, an overlay's, an overlay's margin) are pixels at 96
// dpi; each window scales them to its screen density, and lays its content out at
// it (see _tr_pencere_dpi).
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

// Overlays: a borderless window of width by height owned by `owner` (it stays above
// it, goes with it and is never in the task bar), hidden until shown, with a
// content widget like any window. The new window id, or -1. Keys pressed in an
// overlay count for its owner's shortcuts. _tr_pencere_kaplama_hizala keeps the
// overlay at the top right corner of `anchor` (any window; null: stop), `margin`
// pixels inside, now and whenever the owner moves or changes size; 0, or -1 for a
// window that is no overlay, an anchor that is no window or a margin outside 0..1000.
TR_API int64_t _tr_pencere_kaplama_olustur(int64_t owner, int64_t width, int64_t height) TR_NOEXCEPT;
TR_API int64_t _tr_pencere_kaplama_hizala(int64_t overlay, HWND anchor, int64_t margin) TR_NOEXCEPT;

// Shortcuts: see the top of this header.
enum : int64_t { TR_KISAYOL_CTRL = 1, TR_KISAYOL_SHIFT = 2, TR_KISAYOL_ALT = 4 };
TR_API int64_t _tr_pencere_kisayol_ekle(int64_t window, int64_t key, int64_t modifiers) TR_NOEXCEPT;
TR_API int64_t _tr_pencere_kisayol_basildi_mi(int64_t shortcut) TR_NOEXCEPT;
TR_API int64_t _tr_pencere_kisayol_etkin(int64_t shortcut, int64_t on) TR_NOEXCEPT;

// Internal, also used by the web view runtime: a key pressed inside `inside` (any
// window within a top-level window of this runtime) with these modifiers. Raises the
// flag of the matching switched-on shortcut and returns 1 when the key is taken,
// 2 when it should still reach the page, 0 when no shortcut matches.
TR_API int64_t win_kisayol_tusu(HWND inside, int64_t key, int64_t modifiers) TR_NOEXCEPT;

// The window's screen density in dots per inch: 96 at 100%, 144 at 150%; it changes
// when the window moves to a monitor of another density. Sizes at 96 dpi scaled by
// it (tr_olcekle in tr_olcek.h) are the window's pixels. -1 for an id that names no
// live window.
TR_API int64_t _tr_pencere_dpi(int64_t window) TR_NOEXCEPT;

// Waits until input arrives in the thread's queue or `milliseconds` have passed.
// Dispatches nothing. Returns 1 when input is waiting, 0 on time-out, -1 before
// the runtime is initialised.
TR_API int64_t _tr_pencere_olay_bekle(int64_t milliseconds) TR_NOEXCEPT;

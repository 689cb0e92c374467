// Widget runtime: the widget table, boxes and their layout, tab strips and the
// leaf controls (buttons, labels, entries, separators, images, progress bars).
//
// A widget id is the index of the widget's record in a table of 4096; ids are
// handed out in registration order and never reused. An id is in range when
// 0 <= id < the count of registered widgets. Given an id out of range an entry
// point does nothing and returns -1, or 0 for a yes/no query or a count, a null
// handle for a lookup, or the empty text for a text query.
//
// Sizes given here (requests, paddings, list columns) are pixels at 96 dpi: each
// widget is laid out at the screen density of its window (win_yogunluk_ayarla),
// so the same program is as large on a screen of 150% as on one of 100%, and sharp.
#pragma once

#include <windows.h>

#include "tr_tipler.h"

// Widget kinds, as recorded in the table.
enum : int64_t {
    KIND_HBOX = 1,
    KIND_VBOX = 2,
    KIND_BUTTON = 3,
    KIND_LABEL = 4,
    KIND_ENTRY = 5,
    KIND_TABS = 6,
    KIND_PROGRESS = 7,
    KIND_SEPARATOR = 8,
    KIND_IMAGE = 10,
    KIND_EXTERNAL = 11,
    KIND_LIST = 12,
};

// ---- Table, lookups, event queries, visibility ----------------------------
TR_API HWND _tr_arayuz_widget_al_hwnd(int64_t widget) TR_NOEXCEPT;
TR_API HWND _tr_arayuz_widget_al(int64_t widget) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_widget_kaydet_harici_win(HWND window, int64_t kind) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_widget_kaydet_harici(HWND window) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_dugme_basildi_mi(int64_t widget) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_giris_enter_mi(int64_t widget) TR_NOEXCEPT;
// 1 once after the entry's text changed (typed, pasted or set by the program), else 0.
TR_API int64_t _tr_arayuz_giris_degisti_mi(int64_t widget) TR_NOEXCEPT;
// 1 once after the Down arrow was pressed in the entry, else 0 (the key is the
// program's: an entry above a list moves the keyboard into the list with it).
TR_API int64_t _tr_arayuz_giris_asagi_mi(int64_t widget) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_sekme_degisti_mi(int64_t widget) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_widget_genislik_ayarla(int64_t widget, int64_t pixels) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_widget_yukseklik_ayarla(int64_t widget, int64_t pixels) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_widget_gizle(int64_t widget) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_widget_goster(int64_t widget) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_css_yukle(const char* sheet, int64_t length) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_css_sinif_ekle(int64_t widget, const char* class_name,
                                         int64_t length) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_css_sinif_kaldir(int64_t widget, const char* class_name,
                                           int64_t length) TR_NOEXCEPT;
// The widget's hover hint, shown by the platform's tooltip control while the
// pointer rests on it; the empty text removes it. Always 0 (a bad id sets nothing).
TR_API int64_t _tr_arayuz_ipucu_ayarla(int64_t widget, const char* tooltip,
                                       int64_t length) TR_NOEXCEPT;
// Internal, called by the window runtime's message loops for every message they
// take from the queue: a mouse message for a widget with a hover hint is passed on
// to the tooltip control, which learns this way where the pointer rests.
TR_API void win_ipucuna_ilet(const MSG* message) TR_NOEXCEPT;

// ---- Boxes and layout -------------------------------------------------------
TR_API int64_t _tr_arayuz_kutu_yatay(void) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_kutu_dikey(void) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_kaydirma(void) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_pakle(int64_t box, int64_t child, int64_t expand, int64_t fill,
                                int64_t padding) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_ekle(int64_t box, int64_t child) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_goster_tumu(int64_t widget) TR_NOEXCEPT;

// Internal, also used by the window runtime: lays out a box's children inside a
// client area of width by height; does nothing for an id out of range or a widget
// that is not a box.
TR_API void win_layout_yenile(int64_t widget, int32_t width, int32_t height) TR_NOEXCEPT;

// Internal, also used by the window runtime: the screen density (dots per inch) of
// the window a widget is the content of. Sizes given to this runtime are pixels at
// 96 dpi; the layout pass scales them to this density and hands it down to every
// widget it places (with the font made for it). Does nothing for an id out of
// range; a density outside 48..960 counts as 96.
TR_API void win_yogunluk_ayarla(int64_t widget, int32_t dpi) TR_NOEXCEPT;

// ---- Tab strips -----------------------------------------------------------
// A strip shows its tabs in one row. The tabs share the strip's width equally, each
// at most 200 and at least 72 pixels wide (room for a closable tab's close mark and a
// few letters); when even that does not fit, arrows at the row's right end scroll it,
// and selecting a tab scrolls it into view. A title too long for its tab is cut with
// "..." and shown whole in a tooltip while the pointer rests on the tab. A closable
// tab's close mark is the "x" in its right end; a left click there, or a middle click
// anywhere on the tab, requests the close (_tr_arayuz_sekme_kapandi_mi). The strip is
// drawn in the dark theme's colours: the selected tab in the window's background,
// joined to its page and lined with the accent colour on top, the others on the
// darker row, the tab under the pointer lighter.
TR_API int64_t _tr_arayuz_sekmeler(void) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_sekme_ekle(int64_t strip, int64_t page, const char* title,
                                     int64_t length) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_sekme_kapatmali_ekle(int64_t strip, int64_t page, const char* title,
                                               int64_t length) TR_NOEXCEPT;
// A closable tab inserted at `index`, 0 to the tab count (later tabs move up one
// place; the selected tab stays selected). The new tab's index, or -1.
TR_API int64_t _tr_arayuz_sekme_kapatmali_araya_ekle(int64_t strip, int64_t index, int64_t page,
                                                     const char* title, int64_t length) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_sekme_kaldir(int64_t strip, int64_t index) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_sekme_sec(int64_t strip, int64_t index) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_sekme_secili(int64_t strip) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_sekme_baslik_ayarla(int64_t strip, int64_t index, const char* title,
                                              int64_t length) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_sekme_sayisi(int64_t strip) TR_NOEXCEPT;
// With `hidden` 1 the row of tabs is left out: the pages cover the whole strip (a
// program's full screen); 0 brings it back. 0, or -1 for an id that is no strip.
TR_API int64_t _tr_arayuz_sekme_satiri_gizle(int64_t strip, int64_t hidden) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_sekme_kapandi_mi(int64_t strip) TR_NOEXCEPT;
// A tab's sound mark, drawn before its title: 0 none, 1 a speaker (the page plays
// sound), 2 a crossed speaker (the tab is muted). ses_isareti_koy answers 0, or -1
// for an id that is no strip, an index that is no tab or another kind; ses_isareti
// answers the kind, or -1 likewise. The mark moves with its tab.
// ses_tiklandi_mi: the index of the tab whose mark the user clicked (once; the
// click selects nothing), or -1. menu_istendi_mi: the index of the tab the user
// right-clicked (once), or -1; the program shows the tab's menu.
TR_API int64_t _tr_arayuz_sekme_ses_isareti_koy(int64_t strip, int64_t index, int64_t kind) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_sekme_ses_isareti(int64_t strip, int64_t index) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_sekme_ses_tiklandi_mi(int64_t strip) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_sekme_menu_istendi_mi(int64_t strip) TR_NOEXCEPT;

// Internal, also used by the web view runtime: 1 when the window is the page of a
// tab of some tab strip, else 0.
TR_API int64_t win_sekme_sayfasi_mi(HWND window) TR_NOEXCEPT;

// ---- Leaf controls ----------------------------------------------------------
// Text results here are followed by a zero byte that the length does not count.
TR_API int64_t _tr_arayuz_dugme(const char* label, int64_t length) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_etiket(const char* text, int64_t length) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_giris(void) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_ayirici(void) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_resim_dosyadan(const char* path, int64_t length) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_ilerleme_cubugu(void) TR_NOEXCEPT;
TR_API TrMetin _tr_arayuz_giris_metni_al(int64_t widget) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_giris_metni_ayarla(int64_t widget, const char* text,
                                             int64_t length) TR_NOEXCEPT;
TR_API TrMetin _tr_arayuz_etiket_metni_al(int64_t widget) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_etiket_metni_ayarla(int64_t widget, const char* text,
                                              int64_t length) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_dugme_etiket_ayarla(int64_t widget, const char* text,
                                              int64_t length) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_giris_ipucu_ayarla(int64_t widget, const char* hint,
                                             int64_t length) TR_NOEXCEPT;
// Puts the keyboard in a widget; an entry's whole text is selected, ready to be
// typed over. 0, or -1 for an id out of range.
TR_API int64_t _tr_arayuz_odakla(int64_t widget) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_ilerleme_ayarla(int64_t widget, int64_t value) TR_NOEXCEPT;

// ---- Lists ------------------------------------------------------------------------
// A list is the platform's list-view control in report mode with columns, holding
// no rows of its own: it asks for the text of a cell only when that cell is drawn,
// so a list of 100,000 rows costs what its visible rows cost. The texts come from
// the program's callback, when one is set, or else from a table the runtime keeps
// (_tr_arayuz_liste_hucre_ayarla). Rows are numbered 0 to the row count - 1; a
// row or column out of range gives -1 (0 for a yes/no query), like a bad id.
//
// The callback writes the UTF-8 text of one cell into `buffer` (at most `capacity`
// bytes, no terminating zero needed) and returns its length; more than capacity is
// cut there, a negative length is the empty text. It is called while the list
// paints, on the program's thread, with the `tag` it was set with.
typedef int64_t (*TrListeHucresi)(void* tag, int64_t row, int64_t column, char* buffer, int64_t capacity);

// Modifier bits of an activation, the same values as the window runtime's shortcuts.
enum : int64_t { TR_LISTE_CTRL = 1, TR_LISTE_SHIFT = 2, TR_LISTE_ALT = 4 };

TR_API int64_t _tr_arayuz_liste(void) TR_NOEXCEPT;
// Appends a column with its title and width in pixels; the column's index, or -1.
TR_API int64_t _tr_arayuz_liste_sutun_ekle(int64_t list, const char* title, int64_t length,
                                           int64_t width) TR_NOEXCEPT;
// Sets the number of rows, 0 to 100,000,000 (-1 for any other count). The
// selection is kept when its row still exists. Every row is drawn again.
TR_API int64_t _tr_arayuz_liste_satir_sayisi_ayarla(int64_t list, int64_t count) TR_NOEXCEPT;
TR_API int64_t _tr_arayuz_liste_satir_sayisi(int64_t list) TR_NOEXCEPT;
// Where the texts come from: the callback with its tag, or (null) the runtime's table.
TR_API int64_t _tr_arayuz_liste_cagri_ayarla(int64_t list, TrListeHucresi callback, void* tag) TR_NOEXCEPT;
// One cell of the runtime's table; the row and column must exist.
TR_API int64_t _tr_arayuz_liste_hucre_ayarla(int64_t list, int64_t row, int64_t column, const char* text,
                                             int64_t length) TR_NOEXCEPT;
// The selected row, or -1 when none is.
TR_API int64_t _tr_arayuz_liste_secili(int64_t list) TR_NOEXCEPT;
// Selects a row (and makes it the focused one, scrolled into view); -1 clears the
// selection. Selecting raises no activation.
TR_API int64_t _tr_arayuz_liste_sec(int64_t list, int64_t row) TR_NOEXCEPT;
// The row the user activated (a double click on it, or Enter while the list has the
// keyboard) once, else -1; with several activations between two queries, the last.
TR_API int64_t _tr_arayuz_liste_etkinlesti_mi(int64_t list) TR_NOEXCEPT;
// The TR_LISTE_* keys held at the last activation (Ctrl+Enter gives TR_LISTE_CTRL).
TR_API int64_t _tr_arayuz_liste_etkinlesme_tuslari(int64_t list) TR_NOEXCEPT;
// 1 once after the Delete key was pressed while the list had the keyboard, else 0.
TR_API int64_t _tr_arayuz_liste_silme_istendi_mi(int64_t list) TR_NOEXCEPT;
// The texts changed but not the count: the visible rows are drawn again.
TR_API int64_t _tr_arayuz_liste_yenile(int64_t list) TR_NOEXCEPT;

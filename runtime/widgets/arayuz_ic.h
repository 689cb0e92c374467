// Inside the widget runtime: the widget record and table, and the operations the
// unit's files share. Not for programs of the language; they use arayuz_win_cz.h.
#pragma once

#include <windows.h>

#include <stdint.h>

#include "widgets/arayuz_win_cz.h"

constexpr int kWidgetSiniri = 4096;
constexpr int kCocukSiniri = 128;
constexpr int kSekmeSiniri = 256;

// One child of a box, in packing order.
struct KutuCocugu {
    HWND hwnd;
    int32_t expand;   // takes an equal share of the space left along the main axis
    int32_t fill;     // stretched across the whole cross axis
    int32_t padding;  // pixels before and after the child along the main axis
};

// One widget. The same record serves every kind; fields a kind does not use keep
// the values registration gives them.
struct Widget {
    HWND hwnd;
    int32_t kind;
    int32_t clicked;              // raised by the parent box on a click; lowered by its query
    int32_t enter_pressed;        // raised by the entry's key watch; lowered by its query
    int32_t text_changed;         // raised by the entry's change notification; lowered by its query
    int32_t down_pressed;         // raised by the entry's key watch on Down; lowered by its query
    int32_t tab_changed;          // raised by a selection change; lowered by its query
    int32_t tab_close_requested;  // raised by a click on a close mark; lowered by its query
    int32_t closed_tab_index;     // -1 = none
    KutuCocugu children[kCocukSiniri];
    int32_t child_count;
    int32_t req_width;   // -1 = no request
    int32_t req_height;  // -1 = no request
    HWND tab_pages[kSekmeSiniri];
    int32_t tab_count;
    int32_t tab_closable[kSekmeSiniri];
    // A tab strip's width of each tab (0 until first set), 1 while a change of its
    // count has not been given to the control yet, the tab under the pointer (-1:
    // none) and 1 while the pointer is on that tab's close mark, and its tooltip
    // window (null until a cut caption is first pointed at).
    int32_t tab_width;
    int32_t tab_width_due;
    int32_t hot_tab;
    int32_t hot_close;
    HWND tab_tooltip;
    // 1 from _tr_arayuz_widget_gizle until _tr_arayuz_widget_goster: the layout
    // then neither shows the widget nor gives it space in its box. Hiding done by
    // the runtime itself (a tab strip hiding other pages) leaves it alone.
    int32_t hidden_by_program;
    // A tab strip's: 1 from _tr_arayuz_sekme_satiri_gizle(strip, 1) until it is
    // given 0: the pages cover the whole strip, its row of tabs included.
    int32_t tab_row_hidden;
    // A tab strip's sound marks, index by index as tab_pages: 0 none, 1 the page
    // plays sound (a speaker), 2 the tab is muted (a crossed speaker). The tab whose
    // mark was clicked and the tab a right click asked a menu of, each as its index
    // plus one (0: none), raised by the strip's window procedure and lowered by its
    // query.
    int32_t tab_sound[kSekmeSiniri];
    int32_t sound_clicked;
    int32_t menu_requested;
    // 1 while the widget's window is a tool of the process's tooltip (it has a
    // hover hint); the message loops pass its mouse messages on to the tooltip.
    int32_t has_tooltip;
    // The screen density the widget was last laid out at (0: not yet, the system's).
    // Its sizes are kept at 96 dpi and scaled at this one (widget_dpi).
    int32_t dpi;
};

extern Widget win_widgetlar[kWidgetSiniri];
extern int32_t win_widget_sayisi;

// The record of an id in range, or null. (Callers that also need a window check
// `hwnd` themselves.)
Widget* widget_bul(int64_t id);

// The record of a valid id: in range and with a window; or null.
Widget* pencereli_widget(int64_t id);

inline bool kutu_turu_mu(int32_t kind) { return kind == KIND_HBOX || kind == KIND_VBOX; }

// The first record, from id 0 upwards, whose window is `hwnd`; -1 when none.
int64_t widget_kimligi(HWND hwnd);

// Registers a window under `kind`; the new id, or -1 for a null handle or a full table.
int64_t widget_kaydet(HWND hwnd, int32_t kind);

// Creates the shared brushes and font when they are missing.
void init_resources();
extern HBRUSH hBrushBg;
extern HBRUSH hBrushSurface;
extern HFONT hDefaultFont;  // the font at the system's density

// Screen density. A widget's sizes (requests, paddings, its kind's defaults, a
// list's columns, a strip's tabs) are kept at 96 dpi and scaled at the density of
// the window it is in, which the layout pass hands down from the window's content
// to every widget it places (`dpi`). A widget not laid out yet counts at the
// system's density, which its font was made for.
int32_t widget_dpi(const Widget* record);
// A size at 96 dpi in pixels at the widget's density.
int32_t olcekli(const Widget* record, int64_t size);
// The shared font made for a density (one per density, kept for the life of the
// process; the system's is hDefaultFont).
HFONT yazi_tipi(int32_t dpi);
// The widget is to be shown at `dpi` from now on: when that differs from its
// density so far, it takes that density's font, a list scales its columns and a
// strip its tabs. Does nothing for a null record.
void yogunlugu_uygula(Widget* record, int32_t dpi);

// The hidden window every widget is made under until a box, tab strip or window
// adopts it (made on first need, kept for the life of the process). Made under the
// desktop window instead, each control would be a top-level window of its own, which
// under Wine's X11 driver means an X window made, shown and destroyed again on the
// move. The tab control keeps notifying the window it was made under; the parking
// window passes those notifications on to the control's parent of the moment.
HWND park_penceresi();

// Registers the window class "TrBox" (once).
extern int32_t box_sinif_kayitli;
void box_sinif_kaydet();

// The window property that holds a box's widget id.
constexpr wchar_t kKutuKimligiOzelligi[] = L"TrBoxId";

// The box record of a window through its "TrBoxId" property, or null when the
// window is not a registered box. A missing property reads as 0, so the record
// must also hold this very window.
Widget* kutu_kaydi(HWND hwnd);

// Whether putting `child` into `container` (packing it into a box, adding it as a
// tab page) would put the container inside itself: the child is the container, or
// the container already lies inside the child, as a native window or through the
// links the layout pass follows (box children, tab pages). The layout would then
// recurse without end.
bool kendi_icine_mi(const Widget* container, const Widget* child);

// Lays a box out again at its window's current client size (hiding or showing one
// of its children changes the room the others get). Does nothing for a null record.
void kutuyu_yeniden_yerlestir(Widget* box);

// A tab strip's display area: its client rectangle through TCM_ADJUSTRECT (wParam
// FALSE), in the coordinates of its pages, which are its child windows.
RECT sekme_gosterim_alani(HWND strip);

// True while a layout pass runs. The pass lays out every box it places itself, once;
// the WM_SIZE that placing a box sends it must not lay it out a second time.
bool yerlesim_suruyor();

// Fits a tab page to its strip's display area, moving it only when its place
// changed, and lays it out when it is a box. Visibility is left as it is.
void sayfayi_sigdir(HWND strip, HWND page);

// Lists (arayuz_liste.cpp): the notifications a list sends to the box it is in.
LRESULT liste_bildirimi(Widget& list, const NMHDR* header);
// A list's columns taken from one density to another.
void liste_sutunlarini_olcekle(Widget& list, int32_t old_dpi, int32_t new_dpi);

// Tab strips (arayuz_sekme.cpp): the tabs take their width again at the strip's
// density and the strip is drawn again.
void seridi_olcekle(Widget& strip);

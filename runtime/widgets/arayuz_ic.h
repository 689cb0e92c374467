// Inside the widget runtime: the widget record and table, and the operations the
// unit's files share. Not for programs of the language; they use arayuz_win_cz.h.
#pragma once

#include <windows.h>

#include <stdint.h>

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
};

extern Widget win_widgetlar[kWidgetSiniri];
extern int32_t win_widget_sayisi;

// The record of an id in range, or null. (Callers that also need a window check
// `hwnd` themselves.)
Widget* widget_bul(int64_t id);

// The first record, from id 0 upwards, whose window is `hwnd`; -1 when none.
int64_t widget_kimligi(HWND hwnd);

// Registers a window under `kind`; the new id, or -1 for a null handle or a full table.
int64_t widget_kaydet(HWND hwnd, int32_t kind);

// Creates the shared brushes and font when they are missing.
void init_resources();
extern HBRUSH hBrushBg;
extern HBRUSH hBrushSurface;
extern HFONT hDefaultFont;

// Registers the window class "TrBox" (once).
extern int32_t box_sinif_kayitli;
void box_sinif_kaydet();

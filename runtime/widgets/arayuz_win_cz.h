// Widget runtime: the widget table, boxes and layout, tab strips and leaf controls.
#pragma once

#include <windows.h>

#include "tr_tipler.h"

TR_API HWND _tr_arayuz_widget_al_hwnd(int64_t widget) TR_NOEXCEPT;

// Internal: lays out a box's children inside a client area of width by height;
// does nothing for an id out of range or a widget that is not a box.
TR_API void win_layout_yenile(int64_t widget, int32_t width, int32_t height) TR_NOEXCEPT;

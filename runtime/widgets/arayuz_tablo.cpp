// Placeholder until the widget table lands: no widget exists yet.
#include "widgets/arayuz_win_cz.h"

HWND _tr_arayuz_widget_al_hwnd(int64_t) noexcept { return nullptr; }
void win_layout_yenile(int64_t, int32_t, int32_t) noexcept {}

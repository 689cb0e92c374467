// Helpers for the widget runtime's tests: a plain top-level host window, the
// message pump, and reading back where a widget's window really is.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "tr_tipler.h"
#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"

namespace arayuz_test {

// A visible top-level window that does nothing of its own, to hold a box under test.
// The window runtime's start also registers the common control classes.
inline HWND ev_sahibi(int width = 900, int height = 700) {
    _tr_pencere_baslat();
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW host_class = {};
        host_class.cbSize = sizeof(host_class);
        host_class.lpfnWndProc = DefWindowProcW;
        host_class.hInstance = GetModuleHandleW(nullptr);
        host_class.lpszClassName = L"ArayuzTestEvi";
        RegisterClassExW(&host_class);
        registered = true;
    }
    return CreateWindowExW(0, L"ArayuzTestEvi", L"test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, width, height,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// Puts a box into a host window and gives it an exact size; the box's own size
// message then lays it out.
inline void kutuyu_yerlestir(HWND host, int64_t box, int width, int height) {
    HWND box_window = _tr_arayuz_widget_al_hwnd(box);
    SetParent(box_window, host);
    ShowWindow(box_window, SW_SHOW);
    MoveWindow(box_window, 0, 0, width, height, TRUE);
}

inline void pompala() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// A widget's window rectangle in its parent's client coordinates.
inline RECT yer(int64_t widget) {
    HWND hwnd = _tr_arayuz_widget_al_hwnd(widget);
    RECT rect = {};
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline int genislik(const RECT& rect) { return rect.right - rect.left; }
inline int yukseklik(const RECT& rect) { return rect.bottom - rect.top; }

// The window's own WS_VISIBLE bit, whatever its parents' state.
inline bool gorunur_bit(int64_t widget) {
    return (GetWindowLongW(_tr_arayuz_widget_al_hwnd(widget), GWL_STYLE) & WS_VISIBLE) != 0;
}

// Takes a text result, checks its terminating zero, frees it and returns its bytes.
inline std::string al_ve_birak(TrMetin text) {
    std::string bytes;
    if (text.ptr != nullptr) {
        bytes.assign(text.ptr, static_cast<size_t>(text.len));
        if (text.ptr[text.len] != '\0') bytes += "<no terminating zero>";
        std::free(text.ptr);
    }
    return bytes;
}

inline int64_t dugme(const char* label) { return _tr_arayuz_dugme(label, static_cast<int64_t>(std::strlen(label))); }
inline int64_t etiket(const char* text) { return _tr_arayuz_etiket(text, static_cast<int64_t>(std::strlen(text))); }

}  // namespace arayuz_test

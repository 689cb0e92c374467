// A page's input: the user's mouse and keyboard in the page window, turned into the
// engine's input events. The wheel is coalesced: one wheel event is in flight at a
// time, and the notches that arrive meanwhile go as one event with their deltas
// summed, so the engine renders one frame for many notches instead of falling
// behind.
#pragma once

#include "giden.h"

#include <windows.h>

class GirdiDinleyicisi {
public:
    // A key that may be the host's shortcut; true when the host handled it (the
    // page does not see it then).
    virtual bool tus_geldi(UINT mesaj, WPARAM tus, LPARAM bilgi) = 0;

protected:
    ~GirdiDinleyicisi() = default;
};

class Girdi {
public:
    Girdi(Giden& giden, GirdiDinleyicisi& dinleyici);

    // The window's pixels are device pixels; the page counts CSS pixels.
    void yakinlik_koy(double yakinlik) { yakinlik_ = yakinlik; }

    // One message of the page window; false when the window should also pass it to
    // DefWindowProc (Alt combinations still reach the system), or when it is no input.
    bool mesaj(HWND pencere, UINT mesaj, WPARAM w, LPARAM l);

private:
    void fare(const char* tur, const char* dugme, int x, int y, WPARAM durum, int tiklama);
    void dugme(HWND pencere, UINT mesaj, WPARAM w, LPARAM l);
    void tekerlek(UINT mesaj, WPARAM w, LPARAM l, HWND pencere);
    void tekerlegi_gonder(const protokol::DispatchMouseEvent& olay);
    void tus(UINT mesaj, WPARAM tus, LPARAM bilgi);
    void karakter(WPARAM karakter);

    Giden& giden_;
    GirdiDinleyicisi& dinleyici_;
    double yakinlik_ = 1.0;
    int son_tiklama_ = 1;
    wchar_t yuksek_vekil_ = 0;
    bool tekerlek_yolda_ = false;
    bool tekerlek_bekliyor_ = false;
    protokol::DispatchMouseEvent bekleyen_tekerlek_;
};

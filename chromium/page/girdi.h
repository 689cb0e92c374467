// A page's input: the user's mouse and keyboard in the page window, turned into the
// engine's input events. Clicks are counted as the system counts them (a double
// or triple click: presses of one button within the double-click time and
// distance of the one before), so the page selects a word or a paragraph. Paste
// keys paste the system clipboard (the view's clipboard manager does it; the
// engine's own clipboard is never pasted); the Menu key and Shift+F10 reach the
// page as its context-menu keys. The wheel is coalesced: one wheel event is in
// flight at a time, and the notches that arrive meanwhile go as one event with
// their deltas summed, so the engine renders one frame for many notches instead
// of falling behind; that one goes as soon as the engine has taken the one before,
// without waiting for this thread (which may be painting).
#pragma once

#include "giden.h"

#include <windows.h>

class GirdiDinleyicisi {
public:
    // A key that may be the host's shortcut; true when the host handled it (the
    // page does not see it then).
    virtual bool tus_geldi(UINT mesaj, WPARAM tus, LPARAM bilgi) = 0;
    // Ctrl+V or Shift+Insert in the page: the system clipboard is pasted.
    virtual void yapistir() = 0;

protected:
    ~GirdiDinleyicisi() = default;
};

class Girdi {
public:
    Girdi(Giden& giden, GirdiDinleyicisi& dinleyici);

    // The window's pixels are device pixels; the page counts CSS pixels, `oran` (the
    // zoom times the screen's scale) device pixels each.
    void oran_koy(double oran) { oran_ = oran; }

    // One message of the page window; false when the window should also pass it to
    // DefWindowProc (Alt combinations still reach the system), or when it is no input.
    bool mesaj(HWND pencere, UINT mesaj, WPARAM w, LPARAM l);

    // An editing shortcut as if pressed: Ctrl with `harf` ('C', 'X', 'A').
    void ctrl_ile(char harf);

    // How many presses a press at (x, y) at `zaman` (ms) makes with those before it.
    struct TiklamaSayaci {
        int say(int dugme, int x, int y, DWORD zaman);
        int dugme = -1, x = 0, y = 0, sayi = 0;
        DWORD zaman = 0;
    };

private:
    void fare(const char* tur, const char* dugme, int x, int y, WPARAM durum, int tiklama);
    void dugme(HWND pencere, UINT mesaj, WPARAM w, LPARAM l);
    void tekerlek(UINT mesaj, WPARAM w, LPARAM l, HWND pencere);
    void tus(UINT mesaj, WPARAM tus, LPARAM bilgi);
    bool yapistirma_mi(UINT mesaj, WPARAM tus) const;
    bool baglam_tusu_mu(WPARAM tus) const;
    void karakter(WPARAM karakter);

    Giden& giden_;
    GirdiDinleyicisi& dinleyici_;
    double oran_ = 1.0;
    TiklamaSayaci sayac_;
    int son_tiklama_ = 1;
    wchar_t yuksek_vekil_ = 0;
};

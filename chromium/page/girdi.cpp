// A page's input (see girdi.h).
#include "girdi.h"
#include "motor_ic.h"

#include <windowsx.h>

#include <cstdlib>
#include <cstring>

using namespace protokol;

// The engine's modifier bits: Alt 1, Ctrl 2, Meta 4, Shift 8.
static int degistiriciler()
{
    return (GetKeyState(VK_MENU) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_LWIN) < 0 || GetKeyState(VK_RWIN) < 0 ? 4 : 0) | (GetKeyState(VK_SHIFT) < 0 ? 8 : 0);
}

// Which buttons are down, as the engine counts them: left 1, right 2, middle 4.
static int basili_dugmeler(WPARAM durum)
{
    return (durum & MK_LBUTTON ? 1 : 0) | (durum & MK_RBUTTON ? 2 : 0) | (durum & MK_MBUTTON ? 4 : 0);
}

// The names the engine knows keys by, for keys that type no text.
static const char* tus_adi(WPARAM tus)
{
    static const struct { WPARAM tus; const char* ad; } ADLAR[] = {
        {VK_BACK, "Backspace"}, {VK_TAB, "Tab"}, {VK_RETURN, "Enter"}, {VK_ESCAPE, "Escape"},
        {VK_LEFT, "ArrowLeft"}, {VK_UP, "ArrowUp"}, {VK_RIGHT, "ArrowRight"}, {VK_DOWN, "ArrowDown"},
        {VK_DELETE, "Delete"}, {VK_HOME, "Home"}, {VK_END, "End"}, {VK_PRIOR, "PageUp"},
        {VK_NEXT, "PageDown"}, {VK_INSERT, "Insert"}, {VK_SHIFT, "Shift"}, {VK_CONTROL, "Control"},
        {VK_MENU, "Alt"}, {VK_SPACE, " "},
    };
    for (const auto& satir : ADLAR)
        if (satir.tus == tus)
            return satir.ad;
    return nullptr;
}

Girdi::Girdi(Giden& giden, GirdiDinleyicisi& dinleyici) : giden_(giden), dinleyici_(dinleyici) {}

bool Girdi::mesaj(HWND pencere, UINT mesaj, WPARAM w, LPARAM l)
{
    switch (mesaj) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
        dugme(pencere, mesaj, w, l);
        return true;
    case WM_MOUSEMOVE: {
        const char* basili = w & MK_LBUTTON ? "left" : w & MK_RBUTTON ? "right" : w & MK_MBUTTON ? "middle" : "none";
        fare("mouseMoved", basili, GET_X_LPARAM(l), GET_Y_LPARAM(l), w, 0);
        return true;
    }
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        tekerlek(mesaj, w, l, pencere);
        return true;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: {
        if (dinleyici_.tus_geldi(mesaj, w, l))
            return true;
        if (yapistirma_mi(mesaj, w)) {
            // The engine would paste its own clipboard, which no other program sees.
            if (mesaj == WM_KEYDOWN)
                dinleyici_.yapistir();
            return true;
        }
        if (baglam_tusu_mu(w)) {
            // F10 comes as a system key, which the page would not take for its menu
            // key, and which would put the window in menu mode.
            tus(mesaj == WM_SYSKEYDOWN ? WM_KEYDOWN : mesaj == WM_SYSKEYUP ? WM_KEYUP : mesaj, w, l);
            return true;
        }
        tus(mesaj, w, l);
        return mesaj == WM_KEYDOWN || mesaj == WM_KEYUP;
    }
    case WM_CHAR:
        karakter(w);
        return true;
    }
    return false;
}

// ---------------------------------------------------------------------------
// The mouse.

void Girdi::fare(const char* tur, const char* dugme, int x, int y, WPARAM durum, int tiklama)
{
    DispatchMouseEvent olay;
    olay.type = tur;
    olay.button = dugme;
    olay.x = x / oran_;
    olay.y = y / oran_;
    olay.buttons = basili_dugmeler(durum);
    olay.modifiers = degistiriciler();
    olay.clickCount = tiklama;
    giden_.gonder(olay);
}

// The system's rule: a press of the same button, within the double-click time of
// the one before and inside the double-click rectangle centred on it, counts on.
int Girdi::TiklamaSayaci::say(int yeni_dugme, int yeni_x, int yeni_y, DWORD yeni_zaman)
{
    int en = GetSystemMetrics(SM_CXDOUBLECLK) / 2, boy = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    bool devam = sayi > 0 && yeni_dugme == dugme && yeni_zaman - zaman <= GetDoubleClickTime() &&
                 abs(yeni_x - x) <= en && abs(yeni_y - y) <= boy;
    sayi = devam ? sayi + 1 : 1;
    dugme = yeni_dugme;
    x = yeni_x;
    y = yeni_y;
    zaman = yeni_zaman;
    return sayi;
}

void Girdi::dugme(HWND pencere, UINT mesaj, WPARAM w, LPARAM l)
{
    static const struct { UINT mesaj; const char* tur; const char* dugme; int sira; } DUGMELER[] = {
        {WM_LBUTTONDOWN, "mousePressed", "left", 0},    {WM_LBUTTONDBLCLK, "mousePressed", "left", 0},
        {WM_LBUTTONUP, "mouseReleased", "left", 0},     {WM_RBUTTONDOWN, "mousePressed", "right", 1},
        {WM_RBUTTONDBLCLK, "mousePressed", "right", 1}, {WM_RBUTTONUP, "mouseReleased", "right", 1},
        {WM_MBUTTONDOWN, "mousePressed", "middle", 2},  {WM_MBUTTONDBLCLK, "mousePressed", "middle", 2},
        {WM_MBUTTONUP, "mouseReleased", "middle", 2},
    };
    for (const auto& satir : DUGMELER) {
        if (satir.mesaj != mesaj)
            continue;
        bool basildi = !strcmp(satir.tur, "mousePressed");
        if (basildi) {
            // A click in the page gives it the keyboard.
            SetFocus(pencere);
            // The system tells the parent of a press from the mouse; a press handed to
            // the window directly (by a test, or another program) skips that, so the
            // page tells its parent itself, as the system would.
            SendMessageW(GetParent(pencere), WM_PARENTNOTIFY, MAKEWPARAM(mesaj, 0), l);
            SetCapture(pencere);
            son_tiklama_ = sayac_.say(satir.sira, GET_X_LPARAM(l), GET_Y_LPARAM(l), GetMessageTime());
        } else if (!(w & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
            ReleaseCapture();
        }
        fare(satir.tur, satir.dugme, GET_X_LPARAM(l), GET_Y_LPARAM(l), w, son_tiklama_);
        return;
    }
}

// Notches that wait behind the one in flight: their deltas summed, at the pointer's
// newest place, with the newest buttons and modifiers.
static void tekerlekleri_topla(Json& bekleyen, const Json& yeni)
{
    const double x = bekleyen.value("deltaX", 0.0) + yeni.value("deltaX", 0.0);
    const double y = bekleyen.value("deltaY", 0.0) + yeni.value("deltaY", 0.0);
    bekleyen = yeni;
    bekleyen["deltaX"] = x;
    bekleyen["deltaY"] = y;
}

// The engine answers a wheel event once the page has handled it; then the next goes.
void Girdi::tekerlek(UINT mesaj, WPARAM w, LPARAM l, HWND pencere)
{
    POINT nokta = {GET_X_LPARAM(l), GET_Y_LPARAM(l)};
    ScreenToClient(pencere, &nokta);
    const double adim = -static_cast<double>(GET_WHEEL_DELTA_WPARAM(w));   // one notch: 120 pixels
    DispatchMouseEvent olay;
    olay.type = "mouseWheel";
    olay.x = nokta.x / oran_;
    olay.y = nokta.y / oran_;
    olay.buttons = basili_dugmeler(GET_KEYSTATE_WPARAM(w));
    olay.modifiers = degistiriciler();
    olay.deltaX = mesaj == WM_MOUSEHWHEEL ? -adim : 0;
    olay.deltaY = mesaj == WM_MOUSEWHEEL ? adim : 0;
    giden_.sirayla_gonder(DispatchMouseEvent::YONTEM, Json(olay), tekerlekleri_topla);
}

// ---------------------------------------------------------------------------
// The keyboard.

void Girdi::tus(UINT mesaj, WPARAM tus, LPARAM bilgi)
{
    bool basildi = mesaj == WM_KEYDOWN || mesaj == WM_SYSKEYDOWN;
    DispatchKeyEvent olay;
    olay.type = basildi ? "rawKeyDown" : "keyUp";
    olay.windowsVirtualKeyCode = static_cast<int>(tus);
    olay.modifiers = degistiriciler();
    olay.isSystemKey = mesaj == WM_SYSKEYDOWN || mesaj == WM_SYSKEYUP;
    olay.autoRepeat = basildi && (bilgi & (1 << 30)) != 0;
    if (tus == VK_APPS)
        olay.key = "ContextMenu";
    else if (const char* ad = tus_adi(tus))
        olay.key = ad;
    else if (tus >= VK_F1 && tus <= VK_F24)
        olay.key = "F" + std::to_string(tus - VK_F1 + 1);
    else if ((tus >= 'A' && tus <= 'Z') || (tus >= '0' && tus <= '9'))
        olay.key = std::string(1, static_cast<char>(tus >= 'A' && tus <= 'Z' ? tus - 'A' + 'a' : tus));
    giden_.gonder(olay);
}

// Ctrl+V and Shift+Insert (Ctrl+Shift+V too, which pastes plain text: all
// pasting is plain text here).
bool Girdi::yapistirma_mi(UINT mesaj, WPARAM tus) const
{
    if (mesaj != WM_KEYDOWN && mesaj != WM_KEYUP)
        return false;
    bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0, alt = GetKeyState(VK_MENU) < 0;
    return !alt && ((tus == 'V' && ctrl) || (tus == VK_INSERT && shift && !ctrl));
}

bool Girdi::baglam_tusu_mu(WPARAM tus) const
{
    bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0, alt = GetKeyState(VK_MENU) < 0;
    if (ctrl || alt)
        return false;
    return (tus == VK_APPS && !shift) || (tus == VK_F10 && shift);
}

void Girdi::ctrl_ile(char harf)
{
    DispatchKeyEvent olay;
    olay.windowsVirtualKeyCode = harf;
    olay.modifiers = 2;
    olay.key = std::string(1, static_cast<char>(harf - 'A' + 'a'));
    olay.type = "rawKeyDown";
    giden_.gonder(olay);
    olay.type = "keyUp";
    giden_.gonder(olay);
}

// Typed text: one character at a time, a surrogate pair kept together.
void Girdi::karakter(WPARAM karakter)
{
    wchar_t c = static_cast<wchar_t>(karakter);
    if (c >= 0xD800 && c <= 0xDBFF) {
        yuksek_vekil_ = c;
        return;
    }
    std::wstring metin;
    if (c >= 0xDC00 && c <= 0xDFFF) {
        if (!yuksek_vekil_)
            return;
        metin = {yuksek_vekil_, c};
        yuksek_vekil_ = 0;
    } else if (c == L'\r' || c >= 0x20) {
        metin = std::wstring(1, c);
    } else {
        return;   // control characters reach the page as keys, not text
    }
    DispatchKeyEvent olay;
    olay.type = "char";
    olay.text = utf8_e(metin);
    olay.modifiers = degistiriciler();
    giden_.gonder(olay);
}

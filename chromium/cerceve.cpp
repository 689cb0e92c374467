// The page window: a child of the host's window that shows the last frame the
// engine sent for the view, and turns the user's mouse and keyboard input into the
// engine's input events. It keeps no page state of its own: the view it serves
// answers what to draw and takes the input.
//
// Frames are JPEG pictures, decoded with stb_image on the connection's reading
// thread (under Wine it decodes a 1400x800 frame in about half the time the
// platform's imaging component takes).
#include "motor_ic.h"

#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmisleading-indentation"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#endif
#include <stb/stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

#include <windowsx.h>

static const wchar_t SAYFA_SINIFI[] = L"KorvaChromiumSayfa";

// ---------------------------------------------------------------------------
// Decoding.

static int base64_degeri(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

static bool base64_coz(const std::string& metin, std::vector<uint8_t>* bayt)
{
    bayt->clear();
    bayt->reserve(metin.size() / 4 * 3);
    uint32_t birikim = 0;
    int bit = 0;
    for (unsigned char c : metin) {
        if (c == '=')
            break;
        int deger = base64_degeri(c);
        if (deger < 0)
            return false;
        birikim = (birikim << 6) | static_cast<uint32_t>(deger);
        bit += 6;
        if (bit >= 8) {
            bit -= 8;
            bayt->push_back(static_cast<uint8_t>(birikim >> bit));
        }
    }
    return true;
}

bool kareyi_coz(const std::string& base64, Kare* kare)
{
    std::vector<uint8_t> jpeg;
    if (!base64_coz(base64, &jpeg) || jpeg.empty())
        return false;
    int genislik = 0, yukseklik = 0, kanal = 0;
    unsigned char* rgb = stbi_load_from_memory(jpeg.data(), static_cast<int>(jpeg.size()), &genislik, &yukseklik,
                                               &kanal, 3);
    if (!rgb)
        return false;
    kare->genislik = genislik;
    kare->yukseklik = yukseklik;
    kare->pikseller.resize(static_cast<size_t>(genislik) * yukseklik * 4);
    const unsigned char* kaynak = rgb;
    uint8_t* hedef = kare->pikseller.data();
    for (size_t i = 0, n = static_cast<size_t>(genislik) * yukseklik; i < n; ++i, kaynak += 3, hedef += 4) {
        hedef[0] = kaynak[2];
        hedef[1] = kaynak[1];
        hedef[2] = kaynak[0];
        hedef[3] = 0xFF;
    }
    stbi_image_free(rgb);
    return true;
}

// ---------------------------------------------------------------------------
// Input.

static SayfaKaynagi* kaynak_al(HWND pencere)
{
    return reinterpret_cast<SayfaKaynagi*>(GetWindowLongPtrW(pencere, GWLP_USERDATA));
}

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

static void fare_gonder(HWND pencere, const char* tur, const char* dugme, int x, int y, WPARAM durum,
                        int tiklama = 0, double dikey = 0, double yatay = 0)
{
    SayfaKaynagi* kaynak = kaynak_al(pencere);
    if (!kaynak)
        return;
    // The window's pixels are device pixels; the page counts CSS pixels.
    double yakinlik = kaynak->cizim_yakinligi();
    Json p = {{"type", tur}, {"x", x / yakinlik}, {"y", y / yakinlik}, {"button", dugme},
              {"buttons", basili_dugmeler(durum)}, {"modifiers", degistiriciler()}};
    if (tiklama > 0)
        p["clickCount"] = tiklama;
    if (dikey != 0 || yatay != 0) {
        p["deltaX"] = yatay;
        p["deltaY"] = dikey;
    }
    kaynak->girdi_gonder("Input.dispatchMouseEvent", std::move(p));
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

static void tus_gonder(HWND pencere, UINT mesaj, WPARAM tus, LPARAM bilgi)
{
    SayfaKaynagi* kaynak = kaynak_al(pencere);
    if (!kaynak)
        return;
    bool basildi = mesaj == WM_KEYDOWN || mesaj == WM_SYSKEYDOWN;
    Json p = {{"type", basildi ? "rawKeyDown" : "keyUp"},
              {"windowsVirtualKeyCode", static_cast<int>(tus)},
              {"nativeVirtualKeyCode", static_cast<int>(tus)},
              {"modifiers", degistiriciler()},
              {"isSystemKey", mesaj == WM_SYSKEYDOWN || mesaj == WM_SYSKEYUP},
              {"autoRepeat", basildi && (bilgi & (1 << 30)) != 0}};
    if (const char* ad = tus_adi(tus))
        p["key"] = ad;
    else if (tus >= VK_F1 && tus <= VK_F24)
        p["key"] = "F" + std::to_string(tus - VK_F1 + 1);
    else if ((tus >= 'A' && tus <= 'Z') || (tus >= '0' && tus <= '9'))
        p["key"] = std::string(1, static_cast<char>(tus >= 'A' && tus <= 'Z' ? tus - 'A' + 'a' : tus));
    kaynak->girdi_gonder("Input.dispatchKeyEvent", std::move(p));
}

// Typed text: one character at a time, a surrogate pair kept together.
static void karakter_gonder(HWND pencere, WPARAM karakter)
{
    static wchar_t yuksek_vekil;
    SayfaKaynagi* kaynak = kaynak_al(pencere);
    if (!kaynak)
        return;
    wchar_t c = static_cast<wchar_t>(karakter);
    if (c >= 0xD800 && c <= 0xDBFF) {
        yuksek_vekil = c;
        return;
    }
    std::wstring metin;
    if (c >= 0xDC00 && c <= 0xDFFF) {
        if (!yuksek_vekil)
            return;
        metin = {yuksek_vekil, c};
        yuksek_vekil = 0;
    } else if (c == L'\r' || c >= 0x20) {
        metin = std::wstring(1, c);
    } else {
        return;   // control characters reach the page as keys, not text
    }
    std::string utf8 = utf8_e(metin);
    kaynak->girdi_gonder("Input.dispatchKeyEvent",
                         {{"type", "char"}, {"text", utf8}, {"unmodifiedText", utf8}, {"modifiers", degistiriciler()}});
}

// ---------------------------------------------------------------------------
// The window procedure.

static void boya(HWND pencere)
{
    PAINTSTRUCT boyama;
    HDC dc = BeginPaint(pencere, &boyama);
    RECT alan;
    GetClientRect(pencere, &alan);
    SayfaKaynagi* kaynak = kaynak_al(pencere);
    const Kare* kare = kaynak ? kaynak->gosterilecek_kare() : nullptr;
    if (!kare) {
        FillRect(dc, &alan, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    } else {
        BITMAPINFO bilgi = {};
        bilgi.bmiHeader.biSize = sizeof(bilgi.bmiHeader);
        bilgi.bmiHeader.biWidth = kare->genislik;
        bilgi.bmiHeader.biHeight = -kare->yukseklik;   // top row first
        bilgi.bmiHeader.biPlanes = 1;
        bilgi.bmiHeader.biBitCount = 32;
        bilgi.bmiHeader.biCompression = BI_RGB;
        if (kare->genislik == alan.right && kare->yukseklik == alan.bottom) {
            SetDIBitsToDevice(dc, 0, 0, kare->genislik, kare->yukseklik, 0, 0, 0, kare->yukseklik,
                              kare->pikseller.data(), &bilgi, DIB_RGB_COLORS);
        } else {
            // A frame of another size (zoomed, or not yet the new size): stretched.
            SetStretchBltMode(dc, COLORONCOLOR);
            StretchDIBits(dc, 0, 0, alan.right, alan.bottom, 0, 0, kare->genislik, kare->yukseklik,
                          kare->pikseller.data(), &bilgi, DIB_RGB_COLORS, SRCCOPY);
        }
    }
    EndPaint(pencere, &boyama);
}

static LRESULT fare_dugmesi(HWND pencere, UINT mesaj, WPARAM w, LPARAM l)
{
    static const struct { UINT mesaj; const char* tur; const char* dugme; int tiklama; } DUGMELER[] = {
        {WM_LBUTTONDOWN, "mousePressed", "left", 1},   {WM_LBUTTONDBLCLK, "mousePressed", "left", 2},
        {WM_LBUTTONUP, "mouseReleased", "left", 1},    {WM_RBUTTONDOWN, "mousePressed", "right", 1},
        {WM_RBUTTONUP, "mouseReleased", "right", 1},   {WM_MBUTTONDOWN, "mousePressed", "middle", 1},
        {WM_MBUTTONUP, "mouseReleased", "middle", 1},
    };
    static int son_tiklama = 1;
    for (const auto& satir : DUGMELER) {
        if (satir.mesaj != mesaj)
            continue;
        bool basildi = !strcmp(satir.tur, "mousePressed");
        if (basildi) {
            // A click in the page gives it the keyboard.
            SetFocus(pencere);
            // The system tells the parent of a press from the mouse; a press handed
            // to the window directly (by a test, or another program) skips that, so
            // the page tells its parent itself, as the system would.
            SendMessageW(GetParent(pencere), WM_PARENTNOTIFY, MAKEWPARAM(mesaj, 0), l);
            SetCapture(pencere);
            son_tiklama = satir.tiklama;
        } else if (!(w & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
            ReleaseCapture();
        }
        fare_gonder(pencere, satir.tur, satir.dugme, GET_X_LPARAM(l), GET_Y_LPARAM(l), w,
                    basildi ? satir.tiklama : son_tiklama);
        break;
    }
    return 0;
}

static LRESULT CALLBACK sayfa_wndproc(HWND pencere, UINT mesaj, WPARAM w, LPARAM l)
{
    switch (mesaj) {
    case WM_PAINT:
        boya(pencere);
        return 0;
    case WM_ERASEBKGND:
        return 1;   // the frame covers everything
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return fare_dugmesi(pencere, mesaj, w, l);
    case WM_MOUSEMOVE: {
        const char* dugme = w & MK_LBUTTON ? "left" : w & MK_RBUTTON ? "right" : w & MK_MBUTTON ? "middle" : "none";
        fare_gonder(pencere, "mouseMoved", dugme, GET_X_LPARAM(l), GET_Y_LPARAM(l), w);
        return 0;
    }
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: {
        POINT nokta = {GET_X_LPARAM(l), GET_Y_LPARAM(l)};
        ScreenToClient(pencere, &nokta);
        double adim = -static_cast<double>(GET_WHEEL_DELTA_WPARAM(w));   // one notch: 120 pixels
        fare_gonder(pencere, "mouseWheel", "none", nokta.x, nokta.y, GET_KEYSTATE_WPARAM(w), 0,
                    mesaj == WM_MOUSEWHEEL ? adim : 0, mesaj == WM_MOUSEHWHEEL ? -adim : 0);
        return 0;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: {
        SayfaKaynagi* kaynak = kaynak_al(pencere);
        if (kaynak && kaynak->tus_geldi(mesaj, w, l))
            return 0;
        tus_gonder(pencere, mesaj, w, l);
        // Alt combinations still reach the system (Alt+F4 closes the window).
        if (mesaj == WM_SYSKEYDOWN || mesaj == WM_SYSKEYUP)
            return DefWindowProcW(pencere, mesaj, w, l);
        return 0;
    }
    case WM_CHAR:
        karakter_gonder(pencere, w);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_WANTTAB;
    case WM_NCDESTROY:
        SetWindowLongPtrW(pencere, GWLP_USERDATA, 0);
        break;
    }
    return DefWindowProcW(pencere, mesaj, w, l);
}

HWND sayfa_penceresi_olustur(HWND ebeveyn, const RECT& alan, SayfaKaynagi* kaynak)
{
    static bool kayitli = false;
    HINSTANCE modul = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&sayfa_wndproc), &modul);
    if (!kayitli) {
        WNDCLASSEXW sinif = {};
        sinif.cbSize = sizeof(sinif);
        sinif.style = CS_DBLCLKS;
        sinif.lpfnWndProc = sayfa_wndproc;
        sinif.hInstance = modul;
        sinif.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        sinif.lpszClassName = SAYFA_SINIFI;
        kayitli = RegisterClassExW(&sinif) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }
    HWND pencere = CreateWindowExW(0, SAYFA_SINIFI, L"", WS_CHILD | WS_VISIBLE, alan.left, alan.top,
                                   std::max<LONG>(0, alan.right - alan.left), std::max<LONG>(0, alan.bottom - alan.top),
                                   ebeveyn, nullptr, modul, nullptr);
    if (pencere)
        SetWindowLongPtrW(pencere, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(kaynak));
    return pencere;
}

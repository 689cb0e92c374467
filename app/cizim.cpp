// Korva's own drawing: the symbols of the toolbar and sidebar buttons, the status
// bar's progress bar, and the side panel's edge that a drag makes wider.
//
// The symbols are drawn with GDI shapes rather than taken from a font: the fonts
// of a Windows system and of Wine differ in which of these characters they hold
// (Wine's lack the stopwatch, U+23F1, and show a box), and shapes look the same
// everywhere. A button keeps its text (the symbol, "↓ 2" for the running
// downloads): painting reads its first character, draws that symbol's shape and
// writes whatever follows it as text; a text without a known symbol is written as
// it is. Each button's window procedure is taken over and calls the one it
// replaced for everything it does not keep, so the runtime's own handling of their
// clicks and colours is left as it is.
//
// The windows drawn here (the buttons, the progress bar and the body box) are taken
// over by replacing their window procedure (GWLP_WNDPROC), not with
// SetWindowSubclass: under Wine every message through a SetWindowSubclass chain
// looks its data up in window properties, each a round trip to the wine server, and
// these windows get many messages each time the window is laid out and painted
// (several hundred look-ups in a start-up). For the same reason a button's hover
// state is kept in the table of taken-over windows, not in a window property.
//
// The progress bar is painted in the theme's colours: the status bar's background
// with the loaded share as a thin line in the accent colour, so an idle bar (0)
// shows nothing.
//
// Sizes here are at 96 dpi and drawn at the window's density (ekranda): the
// symbols are shapes, so they stay sharp at any size.
//
// The panel's edge: the side panel is packed with a few pixels of room on either
// side, and the body box shows the sizing pointer over the room at its right; a
// drag there sets the panel's requested width (kept between kPanelEnAz and what
// leaves the page kPanelSayfaPayi) and lays the body out again.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "korva.h"
#include "tr_olcek.h"
#include "tarayici_ic.h"
#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"

namespace korva {

int ekranda(int64_t boyut) { return static_cast<int>(tr_olcekle(boyut, _tr_pencere_dpi(ana_pencere))); }

namespace {

// The theme's colours (the runtime's and the start page's).
constexpr COLORREF kArkaPlan = RGB(30, 30, 46);     // #1E1E2E
constexpr COLORREF kYuzey = RGB(49, 50, 68);        // #313244
constexpr COLORREF kUstunde = RGB(69, 71, 90);      // #45475A
constexpr COLORREF kBasili = RGB(88, 91, 112);      // #585B70
constexpr COLORREF kYazi = RGB(205, 214, 244);      // #CDD6F4
constexpr COLORREF kSoluk = RGB(108, 112, 134);     // #6C7086
constexpr COLORREF kVurgu = RGB(137, 180, 250);     // #89B4FA


// ---- Taken-over windows ------------------------------------------------------------

// One window whose procedure this file replaced: the procedure it had, and for a
// button whether the pointer is over it.
struct DevralinanPencere {
    HWND pencere;
    WNDPROC onceki;
    bool ustunde;
};

// Ten buttons, the progress bar and the body box; a window past the bound keeps
// its own procedure and looks.
constexpr int kDevralinanSiniri = 16;
DevralinanPencere devralinanlar[kDevralinanSiniri];
int devralinan_sayisi = 0;

DevralinanPencere* devralinan(HWND pencere) {
    for (int i = 0; i < devralinan_sayisi; ++i) {
        if (devralinanlar[i].pencere == pencere) return &devralinanlar[i];
    }
    return nullptr;
}

// Puts `islev` in place of the window's procedure, once per window.
void devral(HWND pencere, WNDPROC islev) {
    if (pencere == nullptr || devralinan(pencere) != nullptr || devralinan_sayisi >= kDevralinanSiniri) return;
    DevralinanPencere& kayit = devralinanlar[devralinan_sayisi];
    kayit = {pencere, nullptr, false};
    kayit.onceki = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(pencere, GWLP_WNDPROC));
    if (kayit.onceki == nullptr) return;
    devralinan_sayisi += 1;
    SetWindowLongPtrW(pencere, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(islev));
}

// The message to the procedure the window had. A destroyed window leaves the table
// (its handle may come back for another window).
LRESULT oncekine_birak(HWND pencere, UINT mesaj, WPARAM wparam, LPARAM lparam) {
    DevralinanPencere* kayit = devralinan(pencere);
    if (kayit == nullptr) return DefWindowProcW(pencere, mesaj, wparam, lparam);
    const WNDPROC onceki = kayit->onceki;
    if (mesaj == WM_NCDESTROY) {
        *kayit = devralinanlar[--devralinan_sayisi];
        SetWindowLongPtrW(pencere, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(onceki));
    }
    return CallWindowProcW(onceki, pencere, mesaj, wparam, lparam);
}

bool ustunde_mi(HWND pencere) {
    const DevralinanPencere* kayit = devralinan(pencere);
    return kayit != nullptr && kayit->ustunde;
}

void ustunde_ayarla(HWND pencere, bool ustunde) {
    if (DevralinanPencere* kayit = devralinan(pencere)) kayit->ustunde = ustunde;
}

constexpr double kPi = 3.14159265358979323846;
constexpr LONG kIlerlemeKalinligi = 3;  // the progress line's height in pixels at 96 dpi
constexpr int kSimgeKenari = 16;        // a symbol's largest side at 96 dpi
constexpr int kSimgeYaziArasi = 3;      // between a symbol and the text after it

// ---- Drawing helpers ----------------------------------------------------------------

// A square of side `s` at (x, y): every symbol is drawn in one, in fractions of s.
struct Kare {
    double x, y, s;
    int px(double oran) const { return static_cast<int>(std::lround(x + oran * s)); }
    int py(double oran) const { return static_cast<int>(std::lround(y + oran * s)); }
    POINT nokta(double ox, double oy) const { return POINT{px(ox), py(oy)}; }
};

// Pens and brushes chosen into the DC for one shape and given back after it.
class Kalem {
public:
    Kalem(HDC dc, COLORREF renk, int kalinlik, bool dolu)
        : dc_(dc), kalem_(CreatePen(PS_SOLID, kalinlik, renk)),
          firca_(dolu ? CreateSolidBrush(renk) : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))), dolu_(dolu) {
        eski_kalem_ = SelectObject(dc_, kalem_);
        eski_firca_ = SelectObject(dc_, firca_);
    }
    ~Kalem() {
        SelectObject(dc_, eski_kalem_);
        SelectObject(dc_, eski_firca_);
        DeleteObject(kalem_);
        if (dolu_) DeleteObject(firca_);
    }
    Kalem(const Kalem&) = delete;
    Kalem& operator=(const Kalem&) = delete;

private:
    HDC dc_;
    HPEN kalem_;
    HBRUSH firca_;
    bool dolu_;
    HGDIOBJ eski_kalem_ = nullptr;
    HGDIOBJ eski_firca_ = nullptr;
};

void cokgen(HDC dc, const POINT* noktalar, int sayi, COLORREF renk) {
    Kalem kalem(dc, renk, 1, true);
    Polygon(dc, noktalar, sayi);
}

void dikdortgen(HDC dc, const Kare& k, double x0, double y0, double x1, double y1, COLORREF renk) {
    RECT alan = {k.px(x0), k.py(y0), k.px(x1), k.py(y1)};
    HBRUSH firca = CreateSolidBrush(renk);
    FillRect(dc, &alan, firca);
    DeleteObject(firca);
}

// Lines of a symbol as large as at 150% or more are two pixels thick.
int kalinlik(const Kare& k) { return k.s >= 20 ? 2 : 1; }

// ---- The symbols --------------------------------------------------------------------

void geri_ciz(HDC dc, const Kare& k, COLORREF renk) {
    const POINT p[] = {k.nokta(0.2, 0.5), k.nokta(0.75, 0.15), k.nokta(0.75, 0.85)};
    cokgen(dc, p, 3, renk);
}

void ileri_ciz(HDC dc, const Kare& k, COLORREF renk) {
    const POINT p[] = {k.nokta(0.8, 0.5), k.nokta(0.25, 0.15), k.nokta(0.25, 0.85)};
    cokgen(dc, p, 3, renk);
}

// A circle open at the top right, its end carrying an arrowhead.
void yenile_ciz(HDC dc, const Kare& k, COLORREF renk) {
    {
        Kalem kalem(dc, renk, kalinlik(k), false);
        // Counterclockwise from the top right round to just right of the top.
        Arc(dc, k.px(0.15), k.py(0.15), k.px(0.85), k.py(0.85), k.px(0.75), k.py(0.1), k.px(0.9), k.py(0.4));
    }
    const POINT p[] = {k.nokta(0.72, 0.02), k.nokta(0.98, 0.3), k.nokta(0.62, 0.36)};
    cokgen(dc, p, 3, renk);
}

void ana_sayfa_ciz(HDC dc, const Kare& k, COLORREF renk) {
    const POINT cati[] = {k.nokta(0.5, 0.1), k.nokta(0.92, 0.5), k.nokta(0.08, 0.5)};
    cokgen(dc, cati, 3, renk);
    dikdortgen(dc, k, 0.2, 0.48, 0.8, 0.9, renk);
    dikdortgen(dc, k, 0.42, 0.62, 0.58, 0.9, kYuzey);
}

void arti_ciz(HDC dc, const Kare& k, COLORREF renk) {
    dikdortgen(dc, k, 0.15, 0.44, 0.85, 0.56, renk);
    dikdortgen(dc, k, 0.44, 0.15, 0.56, 0.85, renk);
}

void menu_ciz(HDC dc, const Kare& k, COLORREF renk) {
    for (double y : {0.2, 0.45, 0.7}) dikdortgen(dc, k, 0.12, y, 0.88, y + 0.11, renk);
}

// Five points on a circle and five between them on a smaller one.
void yildiz_ciz(HDC dc, const Kare& k, COLORREF renk) {
    POINT p[10];
    for (int i = 0; i < 10; ++i) {
        const double yaricap = (i % 2 == 0) ? 0.45 : 0.19;
        const double aci = -kPi / 2 + i * kPi / 5;
        p[i] = k.nokta(0.5 + yaricap * std::cos(aci), 0.53 + yaricap * std::sin(aci));
    }
    cokgen(dc, p, 10, renk);
}

// A stopwatch: a round face with two hands and the crown on top.
void gecmis_ciz(HDC dc, const Kare& k, COLORREF renk) {
    {
        Kalem kalem(dc, renk, kalinlik(k), false);
        Ellipse(dc, k.px(0.15), k.py(0.2), k.px(0.85), k.py(0.9));
        MoveToEx(dc, k.px(0.5), k.py(0.55), nullptr);
        LineTo(dc, k.px(0.5), k.py(0.32));
        MoveToEx(dc, k.px(0.5), k.py(0.55), nullptr);
        LineTo(dc, k.px(0.68), k.py(0.55));
    }
    dikdortgen(dc, k, 0.4, 0.05, 0.6, 0.13, renk);
    dikdortgen(dc, k, 0.46, 0.1, 0.54, 0.2, renk);
}

void indirme_ciz(HDC dc, const Kare& k, COLORREF renk) {
    dikdortgen(dc, k, 0.43, 0.1, 0.57, 0.5, renk);
    const POINT ok[] = {k.nokta(0.2, 0.45), k.nokta(0.8, 0.45), k.nokta(0.5, 0.78)};
    cokgen(dc, ok, 3, renk);
    dikdortgen(dc, k, 0.15, 0.84, 0.85, 0.92, renk);
}

// A wheel of eight teeth with a hole of the button's colour.
void ayar_ciz(HDC dc, const Kare& k, COLORREF renk, COLORREF zemin) {
    POINT p[32];
    for (int dis = 0; dis < 8; ++dis) {
        const double orta = dis * kPi / 4;
        const double acilar[4] = {orta - 0.3, orta - 0.16, orta + 0.16, orta + 0.3};
        const double yaricaplar[4] = {0.32, 0.45, 0.45, 0.32};
        for (int i = 0; i < 4; ++i)
            p[dis * 4 + i] = k.nokta(0.5 + yaricaplar[i] * std::cos(acilar[i]), 0.5 + yaricaplar[i] * std::sin(acilar[i]));
    }
    cokgen(dc, p, 32, renk);
    Kalem kalem(dc, zemin, 1, true);
    Ellipse(dc, k.px(0.36), k.py(0.36), k.px(0.64), k.py(0.64));
}

// The symbols Korva's buttons carry, by their character.
enum class Simge { yok, geri, ileri, yenile, ana_sayfa, arti, menu, yildiz, gecmis, indirme, ayar };

struct SimgeKarakteri {
    wchar_t karakter;
    Simge simge;
};

const SimgeKarakteri kSimgeler[] = {
    {0x25C0, Simge::geri},   {0x25B6, Simge::ileri},  {0x27F3, Simge::yenile},  {0x2302, Simge::ana_sayfa},
    {L'+', Simge::arti},     {0x2261, Simge::menu},   {0x2605, Simge::yildiz},  {0x23F1, Simge::gecmis},
    {0x2193, Simge::indirme}, {0x2699, Simge::ayar},
};

Simge simgesi(wchar_t karakter) {
    for (const SimgeKarakteri& oge : kSimgeler) {
        if (oge.karakter == karakter) return oge.simge;
    }
    return Simge::yok;
}

void simge_ciz(HDC dc, Simge simge, const Kare& k, COLORREF renk, COLORREF zemin) {
    switch (simge) {
    case Simge::geri: geri_ciz(dc, k, renk); break;
    case Simge::ileri: ileri_ciz(dc, k, renk); break;
    case Simge::yenile: yenile_ciz(dc, k, renk); break;
    case Simge::ana_sayfa: ana_sayfa_ciz(dc, k, renk); break;
    case Simge::arti: arti_ciz(dc, k, renk); break;
    case Simge::menu: menu_ciz(dc, k, renk); break;
    case Simge::yildiz: yildiz_ciz(dc, k, renk); break;
    case Simge::gecmis: gecmis_ciz(dc, k, renk); break;
    case Simge::indirme: indirme_ciz(dc, k, renk); break;
    case Simge::ayar: ayar_ciz(dc, k, renk, zemin); break;
    case Simge::yok: break;
    }
}

// ---- Buttons ------------------------------------------------------------------------

COLORREF dugme_zemini(HWND dugme) {
    if ((SendMessageW(dugme, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0) return kBasili;
    if (ustunde_mi(dugme)) return kUstunde;
    return kYuzey;
}

void dugmeyi_ciz(HWND dugme) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(dugme, &ps);
    RECT alan;
    GetClientRect(dugme, &alan);
    const COLORREF zemin = dugme_zemini(dugme);
    HBRUSH firca = CreateSolidBrush(zemin);
    FillRect(dc, &alan, firca);
    DeleteObject(firca);
    const COLORREF renk = IsWindowEnabled(dugme) ? kYazi : kSoluk;

    wchar_t yazi[64] = {};
    const int uzunluk = GetWindowTextW(dugme, yazi, 64);
    const Simge simge = uzunluk > 0 ? simgesi(yazi[0]) : Simge::yok;
    const wchar_t* geri_kalan = simge == Simge::yok ? yazi : yazi + 1;
    while (simge != Simge::yok && *geri_kalan == L' ') ++geri_kalan;

    HGDIOBJ eski_yazi_tipi = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(dugme, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, renk);
    const int genislik = alan.right - alan.left, yukseklik = alan.bottom - alan.top;
    const double kenar = std::min<double>(ekranda(kSimgeKenari), std::min(genislik, yukseklik) * 0.6);
    SIZE yazi_boyu = {0, 0};
    if (*geri_kalan != L'\0') GetTextExtentPoint32W(dc, geri_kalan, lstrlenW(geri_kalan), &yazi_boyu);
    if (simge == Simge::yok) {
        DrawTextW(dc, yazi, -1, &alan, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    } else {
        // The symbol and what follows it ("↓ 2") are centred together.
        const int arasi = yazi_boyu.cx > 0 ? ekranda(kSimgeYaziArasi) : 0;
        const double toplam = kenar + arasi + yazi_boyu.cx;
        const Kare kare = {alan.left + (genislik - toplam) / 2, alan.top + (yukseklik - kenar) / 2, kenar};
        simge_ciz(dc, simge, kare, renk, zemin);
        if (yazi_boyu.cx > 0) {
            RECT yazi_alani = alan;
            yazi_alani.left = kare.px(1.0) + arasi;
            DrawTextW(dc, geri_kalan, -1, &yazi_alani, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
    }
    if (GetFocus() == dugme) {
        HBRUSH cerceve = CreateSolidBrush(kVurgu);
        FrameRect(dc, &alan, cerceve);
        DeleteObject(cerceve);
    }
    SelectObject(dc, eski_yazi_tipi);
    EndPaint(dugme, &ps);
}

LRESULT CALLBACK dugme_islevi(HWND dugme, UINT mesaj, WPARAM wparam, LPARAM lparam) {
    switch (mesaj) {
    case WM_PAINT:
        dugmeyi_ciz(dugme);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        if (!ustunde_mi(dugme)) {
            ustunde_ayarla(dugme, true);
            TRACKMOUSEEVENT izle = {sizeof(izle), TME_LEAVE, dugme, 0};
            TrackMouseEvent(&izle);
            InvalidateRect(dugme, nullptr, FALSE);
        }
        break;
    case WM_MOUSELEAVE:
        ustunde_ayarla(dugme, false);
        InvalidateRect(dugme, nullptr, FALSE);
        break;
    case WM_SETTEXT:
    case WM_ENABLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case BM_SETSTATE: {
        // The default handling paints the button its own way at once; ours follows.
        const LRESULT sonuc = oncekine_birak(dugme, mesaj, wparam, lparam);
        InvalidateRect(dugme, nullptr, FALSE);
        return sonuc;
    }
    default:
        break;
    }
    return oncekine_birak(dugme, mesaj, wparam, lparam);
}

// ---- The progress bar ---------------------------------------------------------------

// Paints the bar into `dc`: on WM_PAINT and for WM_PRINTCLIENT (a picture of the
// window, as tests and the system's thumbnails take).
void ilerlemeyi_ciz(HWND cubuk, HDC dc) {
    RECT alan;
    GetClientRect(cubuk, &alan);
    HBRUSH zemin = CreateSolidBrush(kArkaPlan);
    FillRect(dc, &alan, zemin);
    DeleteObject(zemin);
    const LRESULT konum = SendMessageW(cubuk, PBM_GETPOS, 0, 0);
    if (konum > 0) {
        // A thin line across the middle of the row, as long as the share loaded.
        const LONG kalinlik = ekranda(kIlerlemeKalinligi);
        RECT dolu = alan;
        dolu.top = alan.top + std::max<LONG>(0, (alan.bottom - alan.top - kalinlik) / 2);
        dolu.bottom = std::min<LONG>(alan.bottom, dolu.top + kalinlik);
        dolu.right = alan.left + static_cast<LONG>((alan.right - alan.left) * std::min<LRESULT>(konum, 100) / 100);
        HBRUSH vurgu = CreateSolidBrush(kVurgu);
        FillRect(dc, &dolu, vurgu);
        DeleteObject(vurgu);
    }
}

LRESULT CALLBACK ilerleme_islevi(HWND cubuk, UINT mesaj, WPARAM wparam, LPARAM lparam) {
    switch (mesaj) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        ilerlemeyi_ciz(cubuk, BeginPaint(cubuk, &ps));
        EndPaint(cubuk, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        ilerlemeyi_ciz(cubuk, reinterpret_cast<HDC>(wparam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_NCPAINT:
        return 0;  // no frame: idle, the bar is the status bar's own background
    default:
        break;
    }
    return oncekine_birak(cubuk, mesaj, wparam, lparam);
}

// ---- The side panel's edge ----------------------------------------------------------

int64_t surukleme_baslangici = -1;  // the panel's left edge in the body's client area while dragging

// Whether a point of the body box's client area is on the room right of the open panel.
bool kenar_ustunde_mi(HWND govde, POINT nokta) {
    HWND panel = _tr_arayuz_widget_al_hwnd(kenar_panel);
    if (panel == nullptr || !IsWindowVisible(panel)) return false;
    RECT alan;
    GetWindowRect(panel, &alan);
    MapWindowPoints(nullptr, govde, reinterpret_cast<POINT*>(&alan), 2);
    return nokta.x >= alan.right && nokta.x < alan.right + 2 * ekranda(kPanelKenarPayi) && nokta.y >= alan.top &&
           nokta.y < alan.bottom;
}

// Measured in the screen's pixels; the panel keeps its width at 96 dpi, as every
// size it is given.
void paneli_genislet(HWND govde, int fare_x) {
    RECT govde_alani;
    GetClientRect(govde, &govde_alani);
    int64_t genislik = fare_x - ekranda(kPanelKenarPayi) - surukleme_baslangici;
    const int64_t en_cok =
        govde_alani.right - surukleme_baslangici - ekranda(kPanelKenarPayi) - ekranda(kPanelSayfaPayi);
    if (genislik > en_cok) genislik = en_cok;
    if (genislik < ekranda(kPanelEnAz)) genislik = ekranda(kPanelEnAz);
    _tr_arayuz_widget_genislik_ayarla(kenar_panel, tr_olcekten_geri(genislik, _tr_pencere_dpi(ana_pencere)));
    _tr_arayuz_widget_goster(kenar_panel);  // lays the body out again
}

LRESULT CALLBACK kenar_islevi(HWND govde, UINT mesaj, WPARAM wparam, LPARAM lparam) {
    switch (mesaj) {
    case WM_SETCURSOR: {
        POINT nokta;
        GetCursorPos(&nokta);
        ScreenToClient(govde, &nokta);
        if (reinterpret_cast<HWND>(wparam) == govde && (surukleme_baslangici >= 0 || kenar_ustunde_mi(govde, nokta))) {
            SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
            return TRUE;
        }
        break;
    }
    case WM_LBUTTONDOWN: {
        const POINT nokta = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
        if (kenar_ustunde_mi(govde, nokta)) {
            RECT panel;
            GetWindowRect(_tr_arayuz_widget_al_hwnd(kenar_panel), &panel);
            MapWindowPoints(nullptr, govde, reinterpret_cast<POINT*>(&panel), 2);
            surukleme_baslangici = panel.left;
            SetCapture(govde);
            return 0;
        }
        break;
    }
    case WM_MOUSEMOVE:
        if (surukleme_baslangici >= 0 && GetCapture() == govde) {
            paneli_genislet(govde, static_cast<short>(LOWORD(lparam)));
            return 0;
        }
        break;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (surukleme_baslangici >= 0) {
            surukleme_baslangici = -1;
            if (mesaj == WM_LBUTTONUP) ReleaseCapture();
            return 0;
        }
        break;
    default:
        break;
    }
    return oncekine_birak(govde, mesaj, wparam, lparam);
}

}  // namespace

void cizimleri_kur() {
    for (int64_t dugme : {geri_dugme, ileri_dugme, yenile_dugme, ana_sayfa_dugme, yeni_sekme_dugme, menu_dugme,
                          sb_yer_imi, sb_gecmis, sb_indirme, sb_ayar}) {
        devral(_tr_arayuz_widget_al_hwnd(dugme), dugme_islevi);
    }
    if (HWND cubuk = _tr_arayuz_widget_al_hwnd(ilerleme)) {
        devral(cubuk, ilerleme_islevi);
        // Any frame the class or the system drew goes with the non-client area.
        SetWindowPos(cubuk, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    if (HWND panel = _tr_arayuz_widget_al_hwnd(kenar_panel)) {
        if (HWND govde = GetParent(panel)) devral(govde, kenar_islevi);
    }
}

}  // namespace korva

// Window runtime: the table of top-level windows, their procedure, and the pumps.
//
// Start at the record and table below. A window id is the index of its record;
// records are filled in creation order and never reused. A record is live while
// its `hwnd` is set; WM_DESTROY clears it. The window procedure finds its record
// through the window property "TrPencereId", which is set only after
// CreateWindowExW returns, so messages sent during creation touch no record.
//
// A window's content is a widget (the root of a box tree). The window keeps it
// fitted to its client area on every WM_SIZE and when shown; that is the only
// contact with the widget runtime. When a window moves, every window inside it is
// told so with a registered message (tr_pencere_mesajlari.h); web view hosts pass
// it on to their engine.
#include "window/pencere_win_cz.h"

#include <commctrl.h>
#include <dwmapi.h>

#include "tr_metin_sinir.h"
#include "tr_olcek.h"
#include "tr_pencere_mesajlari.h"
#include "widgets/arayuz_win_cz.h"

namespace {

constexpr int kPencereSiniri = 64;
constexpr wchar_t kSinifAdi[] = L"TrPencere";
constexpr wchar_t kKimlikOzelligi[] = L"TrPencereId";
constexpr COLORREF kArkaPlanRengi = RGB(30, 30, 46);  // #1E1E2E
constexpr COLORREF kYaziRengi = RGB(205, 214, 244);   // #CDD6F4
// Not named by mingw-w64's <dwmapi.h>.
constexpr DWORD kKoyuBaslikCubugu = 20;  // DWMWA_USE_IMMERSIVE_DARK_MODE

struct Pencere {
    HWND hwnd;
    int32_t closed;
    int64_t content_widget;
    // An overlay: the window that owns it (-1 for an ordinary window), and the window
    // whose top right corner it keeps to, `margin` pixels at 96 dpi inside (null:
    // placed by hand).
    int64_t owner;
    HWND anchor;
    int32_t margin;
    int32_t dpi;  // the window's screen density
    // The size last given by the program, at 96 dpi: what the window is scaled from
    // when its density changes without a rectangle from the system.
    int32_t base_width;
    int32_t base_height;
};

Pencere pencereler[kPencereSiniri];
int32_t pencere_sayisi = 0;
int32_t win_baslatildi = 0;

// Full screen: what the entry saved, and whether the window is in full screen now.
// The flag keeps a second entry from overwriting the saved frame with the
// full-screen one, and an exit without an entry from applying an empty frame.
LONG onceki_pencere_stili[kPencereSiniri];
RECT onceki_pencere_konumu[kPencereSiniri];
bool tam_ekranda[kPencereSiniri];

HBRUSH hBrush = nullptr;  // the background; made on first need, never freed

// Shortcuts, in registration order; an id is the index. `basildi` is raised by the
// pump (or by win_kisayol_tusu) and lowered by _tr_pencere_kisayol_basildi_mi.
constexpr int kKisayolSiniri = 256;
constexpr wchar_t kKendiKlavyesiOzelligi[] = L"TrKendiKlavyesi";
struct Kisayol {
    int64_t pencere;
    int32_t tus;
    int32_t degistiriciler;
    int32_t etkin;
    int32_t basildi;
};
Kisayol kisayollar[kKisayolSiniri];
int32_t kisayol_sayisi = 0;

LRESULT CALLBACK pencere_wndproc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

// The live record of a window id, or null for an id out of range or a window that
// no longer exists.
Pencere* pencere_bul(int64_t id) {
    if (id < 0 || id >= pencere_sayisi) return nullptr;
    Pencere* record = &pencereler[id];
    return record->hwnd != nullptr ? record : nullptr;
}

// The live record of a window handle through its id property. A missing property
// reads as 0, like the id of the first window, so the record must also hold this
// very handle: that tells window 0 from a window whose property is not set yet.
Pencere* pencere_kaydi(HWND hwnd) {
    const intptr_t id = reinterpret_cast<intptr_t>(GetPropW(hwnd, kKimlikOzelligi));
    if (id < 0 || id >= pencere_sayisi) return nullptr;
    Pencere* record = &pencereler[id];
    return record->hwnd == hwnd ? record : nullptr;
}

void calisma_zamanini_baslat() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    // No class-wide redraw on resizing: the window paints only its background, and
    // its content covers it.
    WNDCLASSEXW window_class = {};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = pencere_wndproc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = kSinifAdi;
    RegisterClassExW(&window_class);

    win_baslatildi = 1;
    ZeroMemory(pencereler, sizeof(pencereler));
}

HBRUSH arka_plan_fircasi() {
    if (hBrush == nullptr) hBrush = CreateSolidBrush(kArkaPlanRengi);
    return hBrush;
}

// Fits the content widget to the client area and lays it out, once. The size always
// comes from the client rectangle, never from a message, so a minimised window lays
// its content out at 0 by 0 and a restored one at its restored size. A box that is
// resized lays itself out on its WM_SIZE; it is laid out here when its size stays,
// or when a border leaves it a client area smaller than the window's.
void icerigi_sigdir(const Pencere& record) {
    if (record.content_widget < 0) return;
    HWND content = _tr_arayuz_widget_al_hwnd(record.content_widget);
    if (content == nullptr) return;
    win_yogunluk_ayarla(record.content_widget, record.dpi);
    RECT client;
    GetClientRect(record.hwnd, &client);
    RECT current;
    GetWindowRect(content, &current);
    MapWindowPoints(nullptr, record.hwnd, reinterpret_cast<POINT*>(&current), 2);
    const bool resized = current.right - current.left != client.right || current.bottom - current.top != client.bottom;
    if (resized || current.left != 0 || current.top != 0) {
        MoveWindow(content, 0, 0, client.right, client.bottom, TRUE);
    }
    RECT inner;
    GetClientRect(content, &inner);
    if (!resized || inner.right != client.right || inner.bottom != client.bottom) {
        win_layout_yenile(record.content_widget, client.right, client.bottom);
    }
}

LRESULT on_close(HWND hwnd) {
    if (Pencere* record = pencere_kaydi(hwnd)) record->closed = 1;
    ShowWindow(hwnd, SW_HIDE);
    return 0;
}

// Puts an overlay at the top right corner of its anchor, as the anchor is now.
void kaplamayi_yerlestir(const Pencere& overlay) {
    if (overlay.anchor == nullptr || !IsWindow(overlay.anchor)) return;
    RECT anchor;
    GetWindowRect(overlay.anchor, &anchor);
    RECT own;
    GetWindowRect(overlay.hwnd, &own);
    const int width = own.right - own.left;
    const int margin = static_cast<int>(tr_olcekle(overlay.margin, overlay.dpi));
    SetWindowPos(overlay.hwnd, nullptr, anchor.right - margin - width, anchor.top + margin, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

// A window moved or changed size: its overlays follow their anchors.
void kaplamalari_yerlestir(HWND owner_hwnd) {
    const Pencere* owner = pencere_kaydi(owner_hwnd);
    if (owner == nullptr) return;
    const int64_t owner_id = owner - pencereler;
    for (int32_t i = 0; i < pencere_sayisi; ++i) {
        if (pencereler[i].hwnd != nullptr && pencereler[i].owner == owner_id) kaplamayi_yerlestir(pencereler[i]);
    }
}

BOOL CALLBACK tasindigini_bildir(HWND inner, LPARAM) {
    SendMessageW(inner, ust_pencere_tasindi_mesaji(), 0, 0);
    return TRUE;
}

// Every window inside this one, at any depth, hears that it moved.
LRESULT on_move(HWND hwnd) {
    EnumChildWindows(hwnd, tasindigini_bildir, 0);
    kaplamalari_yerlestir(hwnd);
    return 0;
}

LRESULT on_erase_background(HWND hwnd, HDC dc) {
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, arka_plan_fircasi());
    return 1;
}

LRESULT on_control_colour(HDC dc) {
    SetTextColor(dc, kYaziRengi);
    SetBkColor(dc, kArkaPlanRengi);
    return reinterpret_cast<LRESULT>(arka_plan_fircasi());
}

bool tam_ekrana_gec(int64_t id, HWND hwnd) {
    if (tam_ekranda[id]) return true;  // keep the frame saved by the first entry
    onceki_pencere_stili[id] = GetWindowLongW(hwnd, GWL_STYLE);
    GetWindowRect(hwnd, &onceki_pencere_konumu[id]);
    tam_ekranda[id] = true;
    SetWindowLongW(hwnd, GWL_STYLE, onceki_pencere_stili[id] & ~static_cast<LONG>(WS_OVERLAPPEDWINDOW));

    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcMonitor;  // the whole monitor: the task bar is covered too
    SetWindowPos(hwnd, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
    return true;
}

void tam_ekrandan_cik(int64_t id, HWND hwnd) {
    if (!tam_ekranda[id]) return;
    tam_ekranda[id] = false;
    SetWindowLongW(hwnd, GWL_STYLE, onceki_pencere_stili[id]);
    const RECT& saved = onceki_pencere_konumu[id];
    SetWindowPos(hwnd, nullptr, saved.left, saved.top, saved.right - saved.left, saved.bottom - saved.top,
                 SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
}

// A window's density changed: its content takes the new one and is laid out again,
// in the rectangle the system suggests when it gives one (null: the window keeps
// its place and its size is scaled). Its overlays go with it, since they lie on
// the same monitor.
void yogunlugu_degistir(Pencere& record, int32_t dpi, const RECT* suggested) {
    dpi = tr_gecerli_dpi(dpi);
    const int32_t old_dpi = record.dpi;
    if (dpi == old_dpi && suggested == nullptr) return;
    record.dpi = dpi;
    if (record.content_widget >= 0) win_yogunluk_ayarla(record.content_widget, dpi);
    RECT frame;
    if (suggested != nullptr) {
        frame = *suggested;
    } else {
        GetWindowRect(record.hwnd, &frame);
        frame.right = frame.left + static_cast<LONG>(tr_olcekle(record.base_width, dpi));
        frame.bottom = frame.top + static_cast<LONG>(tr_olcekle(record.base_height, dpi));
    }
    SetWindowPos(record.hwnd, nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    // Laid out even when the size stayed: the sizes inside it did not.
    icerigi_sigdir(record);
    const int64_t id = &record - pencereler;
    for (int32_t i = 0; i < pencere_sayisi; ++i) {
        if (pencereler[i].hwnd != nullptr && pencereler[i].owner == id) {
            yogunlugu_degistir(pencereler[i], dpi, nullptr);
            kaplamayi_yerlestir(pencereler[i]);
        }
    }
}

// A window larger than the work area of its monitor (1400 by 900 at 96 dpi is 2100
// by 1350 at 150%, more than a 1920 by 1080 screen) is made as large as that area
// and put inside it, so that no part of it lies off the screen.
void ekrana_sigdir(HWND hwnd) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& area = monitor.rcWork;
    RECT frame;
    GetWindowRect(hwnd, &frame);
    const LONG width = frame.right - frame.left, height = frame.bottom - frame.top;
    const LONG area_width = area.right - area.left, area_height = area.bottom - area.top;
    if (width <= area_width && height <= area_height) return;
    const LONG new_width = width < area_width ? width : area_width;
    const LONG new_height = height < area_height ? height : area_height;
    const LONG left = frame.left + new_width > area.right ? area.right - new_width : frame.left;
    const LONG top = frame.top + new_height > area.bottom ? area.bottom - new_height : frame.top;
    SetWindowPos(hwnd, nullptr, left < area.left ? area.left : left, top < area.top ? area.top : top, new_width,
                 new_height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

LRESULT on_dpi_changed(HWND hwnd, WPARAM wparam, LPARAM lparam) {
    if (Pencere* record = pencere_kaydi(hwnd)) {
        yogunlugu_degistir(*record, LOWORD(wparam), reinterpret_cast<const RECT*>(lparam));
    }
    return 0;
}

LRESULT CALLBACK pencere_wndproc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_DPICHANGED:
        return on_dpi_changed(hwnd, wparam, lparam);
    case WM_DESTROY:
        if (Pencere* record = pencere_kaydi(hwnd)) {
            record->closed = 1;
            record->hwnd = nullptr;
        }
        return 0;
    case WM_SIZE:
        if (Pencere* record = pencere_kaydi(hwnd)) icerigi_sigdir(*record);
        kaplamalari_yerlestir(hwnd);
        return 0;
    case WM_MOVE:
        return on_move(hwnd);
    case WM_CLOSE:
        return on_close(hwnd);
    case WM_ERASEBKGND:
        return on_erase_background(hwnd, reinterpret_cast<HDC>(wparam));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return on_control_colour(reinterpret_cast<HDC>(wparam));
    default:
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
}

}  // namespace

// The modifiers held with a key message: Ctrl and Shift from the keyboard state
// as of the message, Alt from the message itself (its context bit).
int64_t tutulan_degistiriciler(LPARAM bilgi) {
    return (GetKeyState(VK_CONTROL) < 0 ? int64_t{TR_KISAYOL_CTRL} : int64_t{0}) | (GetKeyState(VK_SHIFT) < 0 ? int64_t{TR_KISAYOL_SHIFT} : int64_t{0}) |
           ((bilgi & (1 << 29)) != 0 ? int64_t{TR_KISAYOL_ALT} : int64_t{0});
}

// Raises the flag of the switched-on shortcut that matches; 1 when the key is taken,
// 2 when it is seen and goes on to where it was going, 0 when nothing matched.
int64_t kisayolu_isle(int64_t pencere, int64_t tus, int64_t degistiriciler) {
    for (int32_t i = 0; i < kisayol_sayisi; ++i) {
        Kisayol& kisayol = kisayollar[i];
        if (kisayol.pencere == pencere && kisayol.etkin != 0 && kisayol.tus == tus &&
            kisayol.degistiriciler == degistiriciler) {
            kisayol.basildi = 1;
            return kisayol.etkin;
        }
    }
    return 0;
}

// The id of the top-level window of ours that holds `inside`, or -1.
int64_t tutan_pencere(HWND inside) {
    if (inside == nullptr) return -1;
    HWND kok = GetAncestor(inside, GA_ROOT);
    Pencere* record = kok != nullptr ? pencere_kaydi(kok) : nullptr;
    if (record == nullptr) return -1;
    // Keys pressed in an overlay are its owner's shortcuts.
    return record->owner >= 0 ? record->owner : record - pencereler;
}

// A key press the pump takes for a shortcut instead of handing it on: not when it
// is pressed inside a window whose keyboard belongs to something else.
bool kisayol_olarak_al(const MSG& message) {
    if ((message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) || kisayol_sayisi == 0) return false;
    const int64_t pencere = tutan_pencere(message.hwnd);
    if (pencere < 0) return false;
    for (HWND w = message.hwnd; w != nullptr; w = GetParent(w)) {
        if (GetPropW(w, kKendiKlavyesiOzelligi) != nullptr) return false;
    }
    return kisayolu_isle(pencere, static_cast<int64_t>(message.wParam), tutulan_degistiriciler(message.lParam)) == 1;
}

// ---- Entry points ----------------------------------------------------------

int64_t _tr_pencere_baslat(void) noexcept {
    if (win_baslatildi == 0) calisma_zamanini_baslat();
    return 0;
}

int64_t _tr_pencere_olustur(const char* title, int64_t title_length, int64_t width,
                            int64_t height) noexcept {
    if (win_baslatildi == 0) calisma_zamanini_baslat();
    if (pencere_sayisi >= kPencereSiniri) return -1;
    GenisMetin wide_title(title, title_length);
    if (!wide_title.gecerli()) return -1;
    wide_title.kirp(kEnUzunBaslik);

    const int64_t id = pencere_sayisi;
    // Made at the system's density; a window that opens on a monitor of another
    // density takes that one's size at once.
    const int32_t system_dpi = tr_sistem_dpi();
    HWND hwnd = CreateWindowExW(0, kSinifAdi, wide_title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, static_cast<int>(tr_olcekle(width, system_dpi)),
                                static_cast<int>(tr_olcekle(height, system_dpi)), nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) return -1;
    SetPropW(hwnd, kKimlikOzelligi, reinterpret_cast<HANDLE>(static_cast<intptr_t>(id)));
    BOOL dark = TRUE;
    DwmSetWindowAttribute(hwnd, kKoyuBaslikCubugu, &dark, sizeof(dark));

    pencere_sayisi += 1;
    pencereler[id] = {hwnd, 0, -1, -1, nullptr, 0, system_dpi, static_cast<int32_t>(width),
                      static_cast<int32_t>(height)};
    tam_ekranda[id] = false;
    yogunlugu_degistir(pencereler[id], tr_pencere_dpi_oku(hwnd), nullptr);
    ekrana_sigdir(hwnd);
    return id;
}

int64_t _tr_pencere_kaplama_olustur(int64_t owner, int64_t width, int64_t height) noexcept {
    const Pencere* owner_record = pencere_bul(owner);
    if (owner_record == nullptr || pencere_sayisi >= kPencereSiniri) return -1;
    if (width <= 0 || height <= 0 || width > 10000 || height > 10000) return -1;
    const int64_t id = pencere_sayisi;
    // At its owner's density, the monitor it lies on.
    const int32_t dpi = owner_record->dpi;
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, kSinifAdi, L"", WS_POPUP | WS_BORDER | WS_CLIPCHILDREN, 0, 0,
                                static_cast<int>(tr_olcekle(width, dpi)), static_cast<int>(tr_olcekle(height, dpi)),
                                owner_record->hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) return -1;
    SetPropW(hwnd, kKimlikOzelligi, reinterpret_cast<HANDLE>(static_cast<intptr_t>(id)));
    pencere_sayisi += 1;
    pencereler[id] = {hwnd, 0, -1, owner, nullptr, 0, dpi, static_cast<int32_t>(width), static_cast<int32_t>(height)};
    tam_ekranda[id] = false;
    return id;
}

int64_t _tr_pencere_kaplama_hizala(int64_t overlay, HWND anchor, int64_t margin) noexcept {
    Pencere* record = pencere_bul(overlay);
    if (record == nullptr || record->owner < 0 || (anchor != nullptr && !IsWindow(anchor))) return -1;
    if (margin < 0 || margin > 1000) return -1;
    record->anchor = anchor;
    record->margin = static_cast<int32_t>(margin);
    kaplamayi_yerlestir(*record);
    return 0;
}

int64_t _tr_pencere_baslik_ayarla(int64_t window, const char* title, int64_t title_length) noexcept {
    Pencere* record = pencere_bul(window);
    if (record == nullptr) return -1;
    GenisMetin wide_title(title, title_length);
    if (!wide_title.gecerli()) return -1;
    wide_title.kirp(kEnUzunBaslik);
    pencere_metnini_ayarla(record->hwnd, wide_title);
    return 0;
}

int64_t _tr_pencere_boyut_ayarla(int64_t window, int64_t width, int64_t height) noexcept {
    Pencere* record = pencere_bul(window);
    if (record == nullptr) return -1;
    record->base_width = static_cast<int32_t>(width);
    record->base_height = static_cast<int32_t>(height);
    SetWindowPos(record->hwnd, nullptr, 0, 0, static_cast<int>(tr_olcekle(width, record->dpi)),
                 static_cast<int>(tr_olcekle(height, record->dpi)), SWP_NOMOVE | SWP_NOZORDER);
    return 0;
}

int64_t _tr_pencere_simge_ayarla(int64_t window, const char* path, int64_t path_length) noexcept {
    Pencere* record = pencere_bul(window);
    if (record == nullptr) return -1;
    GenisMetin wide_path(path, path_length);
    if (!wide_path.gecerli()) return -1;
    HANDLE icon = LoadImageW(nullptr, wide_path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE);
    if (icon != nullptr) {
        SendMessageW(record->hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageW(record->hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    return 0;
}

int64_t _tr_pencere_goster(int64_t window) noexcept {
    Pencere* record = pencere_bul(window);
    if (record == nullptr) return -1;
    ShowWindow(record->hwnd, SW_SHOW);
    UpdateWindow(record->hwnd);
    icerigi_sigdir(*record);
    return 0;
}

int64_t _tr_pencere_gizle(int64_t window) noexcept {
    Pencere* record = pencere_bul(window);
    if (record == nullptr) return -1;
    ShowWindow(record->hwnd, SW_HIDE);
    return 0;
}

int64_t _tr_pencere_kapat(int64_t window) noexcept {
    Pencere* record = pencere_bul(window);
    if (record == nullptr) return -1;
    DestroyWindow(record->hwnd);
    record->hwnd = nullptr;
    record->closed = 1;
    return 0;
}

int64_t _tr_pencere_tam_ekran(int64_t window) noexcept {
    Pencere* record = pencere_bul(window);
    if (record == nullptr) return -1;
    tam_ekrana_gec(window, record->hwnd);
    return 0;
}

// Leaving full screen when the window is not in it does nothing and succeeds.
int64_t _tr_pencere_tam_ekrandan_cik(int64_t window) noexcept {
    Pencere* record = pencere_bul(window);
    if (record == nullptr) return -1;
    tam_ekrandan_cik(window, record->hwnd);
    return 0;
}

int64_t _tr_pencere_olaylari_isle(void) noexcept {
    if (win_baslatildi == 0) return 0;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            for (int32_t i = 0; i < pencere_sayisi; ++i) pencereler[i].closed = 1;
            return 0;
        }
        if (kisayol_olarak_al(message)) continue;
        win_ipucuna_ilet(&message);
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    for (int32_t i = 0; i < pencere_sayisi; ++i) {
        if (pencereler[i].closed == 0) return 1;
    }
    return 0;
}

int64_t _tr_pencere_calistir(void) noexcept {
    if (win_baslatildi == 0) return -1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (kisayol_olarak_al(message)) continue;
        win_ipucuna_ilet(&message);
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

int64_t _tr_pencere_kapatildi_mi(int64_t window) noexcept {
    if (window < 0 || window >= pencere_sayisi) return 1;
    return pencereler[window].closed != 0 ? 1 : 0;
}

int64_t _tr_pencere_icerik_ayarla(int64_t window, int64_t widget) noexcept {
    Pencere* record = pencere_bul(window);
    if (record == nullptr) return -1;
    HWND content = _tr_arayuz_widget_al_hwnd(widget);
    if (content == nullptr) return -1;
    SetParent(content, record->hwnd);
    ShowWindow(content, SW_SHOW);
    record->content_widget = widget;
    icerigi_sigdir(*record);
    return 0;
}

int64_t _tr_pencere_dpi(int64_t window) noexcept {
    const Pencere* record = pencere_bul(window);
    return record != nullptr ? record->dpi : -1;
}

int64_t _tr_pencere_olay_bekle(int64_t milliseconds) noexcept {
    if (win_baslatildi == 0) return -1;
    // INFINITE is not a bound; the longest finite wait is one below it.
    const DWORD bound = milliseconds <= 0 ? 0
                        : milliseconds >= static_cast<int64_t>(INFINITE) ? INFINITE - 1
                                                                         : static_cast<DWORD>(milliseconds);
    const DWORD result = MsgWaitForMultipleObjectsEx(0, nullptr, bound, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    return result == WAIT_OBJECT_0 ? 1 : 0;
}

int64_t _tr_pencere_kisayol_ekle(int64_t window, int64_t key, int64_t modifiers) noexcept {
    if (pencere_bul(window) == nullptr || key < 1 || key > 254) return -1;
    if (modifiers < 0 || modifiers > (TR_KISAYOL_CTRL | TR_KISAYOL_SHIFT | TR_KISAYOL_ALT)) return -1;
    if (kisayol_sayisi >= kKisayolSiniri) return -1;
    kisayollar[kisayol_sayisi] = {window, static_cast<int32_t>(key), static_cast<int32_t>(modifiers), 1, 0};
    return kisayol_sayisi++;
}

int64_t _tr_pencere_kisayol_basildi_mi(int64_t shortcut) noexcept {
    if (shortcut < 0 || shortcut >= kisayol_sayisi || kisayollar[shortcut].basildi == 0) return 0;
    kisayollar[shortcut].basildi = 0;
    return 1;
}

int64_t _tr_pencere_kisayol_etkin(int64_t shortcut, int64_t on) noexcept {
    if (shortcut < 0 || shortcut >= kisayol_sayisi) return -1;
    kisayollar[shortcut].etkin = on == 2 ? 2 : on != 0 ? 1 : 0;
    return 0;
}

int64_t win_kisayol_tusu(HWND inside, int64_t key, int64_t modifiers) noexcept {
    const int64_t pencere = tutan_pencere(inside);
    return pencere >= 0 ? kisayolu_isle(pencere, key, modifiers) : 0;
}

// Widget runtime: the widget table, the shared theme resources, the box window
// procedure that turns the controls' notifications into event flags, and the
// entry points that every kind of widget shares (lookups, event queries, size
// requests, visibility, hover hints, and the style-sheet calls that do nothing).
//
// Start at the table below. A widget id is the index of its record in
// `win_widgetlar`; ids are handed out densely in registration order and never
// reused, and records are never removed. An id is in range when
// 0 <= id < `win_widget_sayisi`.
//
// Where widgets are made: under the runtime's hidden parking window (park_penceresi),
// which a box, tab strip or window then adopts them from. The parking window hands
// the tab control's notifications, which always go to the window the control was
// made under, to the control's parent of the moment.
//
// Event flags: `clicked`, `text_changed` and `tab_changed` are raised here in
// `box_wndproc` (`tab_changed` also by a programmatic selection of a tab),
// `enter_pressed` and `down_pressed` by the entry's key watch, `tab_close_requested`
// by the tab strip, a list's by the list's own watch (arayuz_liste.cpp); each is
// lowered only by its query, so several events between two queries are reported once.
#include <windows.h>

#include <commctrl.h>

#include <cstring>

#include "tr_metin_sinir.h"
#include "tr_olcek.h"
#include "widgets/arayuz_ic.h"
#include "widgets/arayuz_win_cz.h"

Widget win_widgetlar[kWidgetSiniri];
int32_t win_widget_sayisi = 0;

HBRUSH hBrushBg = nullptr;
HBRUSH hBrushSurface = nullptr;
HFONT hDefaultFont = nullptr;
int32_t box_sinif_kayitli = 0;

namespace {

constexpr wchar_t kKutuSinifi[] = L"TrBox";
constexpr wchar_t kParkSinifi[] = L"TrPark";
constexpr COLORREF kArkaPlanRengi = RGB(30, 30, 46);  // #1E1E2E
constexpr COLORREF kYuzeyRengi = RGB(49, 50, 68);     // #313244
constexpr COLORREF kYaziRengi = RGB(205, 214, 244);   // #CDD6F4

// Reads a flag and lowers it: the one place where an event is reported.
int64_t bayragi_oku_ve_indir(int32_t& flag) {
    const int64_t was_set = flag != 0 ? 1 : 0;
    flag = 0;
    return was_set;
}

// The box whose child `hwnd` is, when its parent window is a registered box.
Widget* ust_kutu(HWND hwnd) { return kutu_kaydi(GetParent(hwnd)); }

LRESULT on_size(HWND hwnd) {
    // During creation the property is not set yet: such a box is not laid out. Inside
    // a pass, the pass lays the box out itself once it has placed it.
    if (yerlesim_suruyor()) return 0;
    if (Widget* box = kutu_kaydi(hwnd)) kutuyu_yeniden_yerlestir(box);
    return 0;
}

LRESULT on_erase_background(HWND hwnd, HDC dc) {
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, hBrushBg);
    return 1;
}

// A tab strip's selection changed: record it, fit the selected page to the display
// area (laying it out when it is a box), show it, and only then hide the others, so
// that the strip's own empty display area is never uncovered and painted.
void sekme_degisimi(Widget& strip) {
    strip.tab_changed = 1;
    const int32_t selected = static_cast<int32_t>(SendMessageW(strip.hwnd, TCM_GETCURSEL, 0, 0));
    const int32_t tab_count = strip.tab_count < kSekmeSiniri ? strip.tab_count : kSekmeSiniri;
    HWND shown = (selected >= 0 && selected < tab_count) ? strip.tab_pages[selected] : nullptr;
    if (shown != nullptr) {
        sayfayi_sigdir(strip.hwnd, shown);
        ShowWindow(shown, SW_SHOW);
    }
    for (int32_t k = 0; k < tab_count; ++k) {
        if (strip.tab_pages[k] != nullptr && strip.tab_pages[k] != shown) ShowWindow(strip.tab_pages[k], SW_HIDE);
    }
}

LRESULT on_notify(const NMHDR* header) {
    if (header == nullptr) return 0;
    Widget* sender = widget_bul(widget_kimligi(header->hwndFrom));
    if (sender == nullptr) return 0;
    if (sender->kind == KIND_LIST) return liste_bildirimi(*sender, header);
    if (header->code == static_cast<UINT>(TCN_SELCHANGE) && sender->kind == KIND_TABS) sekme_degisimi(*sender);
    return 0;
}

LRESULT on_command(WPARAM wparam, LPARAM lparam) {
    if (lparam == 0) return 0;
    const WORD code = HIWORD(wparam);
    if (code != BN_CLICKED && code != EN_CHANGE) return 0;
    Widget* sender = widget_bul(widget_kimligi(reinterpret_cast<HWND>(lparam)));
    if (sender == nullptr) return 0;
    if (code == BN_CLICKED && sender->kind == KIND_BUTTON) sender->clicked = 1;
    if (code == EN_CHANGE && sender->kind == KIND_ENTRY) sender->text_changed = 1;
    return 0;
}

LRESULT on_control_colour(HDC dc, COLORREF background, HBRUSH brush) {
    SetTextColor(dc, kYaziRengi);
    SetBkColor(dc, background);
    return reinterpret_cast<LRESULT>(brush);
}

// The parking window's procedure. A notification from a control made here goes
// on to the control's parent once a box or window has adopted it; while the control
// is still parked there is nobody to tell.
// The edit control, too, keeps sending its change notifications (WM_COMMAND) to the
// window it was made under.
LRESULT CALLBACK park_wndproc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    HWND sender = nullptr;
    if (message == WM_NOTIFY) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
        sender = header != nullptr ? header->hwndFrom : nullptr;
    } else if (message == WM_COMMAND) {
        sender = reinterpret_cast<HWND>(lparam);
    } else {
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    HWND parent = sender != nullptr ? GetParent(sender) : nullptr;
    if (parent == nullptr || parent == hwnd) return 0;
    return SendMessageW(parent, message, wparam, lparam);
}

LRESULT CALLBACK box_wndproc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_SIZE:
        return on_size(hwnd);
    case WM_ERASEBKGND:
        return on_erase_background(hwnd, reinterpret_cast<HDC>(wparam));
    case WM_NOTIFY:
        return on_notify(reinterpret_cast<const NMHDR*>(lparam));
    case WM_COMMAND:
        return on_command(wparam, lparam);
    case WM_CTLCOLOREDIT:
        return on_control_colour(reinterpret_cast<HDC>(wparam), kYuzeyRengi, hBrushSurface);
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return on_control_colour(reinterpret_cast<HDC>(wparam), kArkaPlanRengi, hBrushBg);
    default:
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
}

}  // namespace

// ---- Internal operations shared by the unit's files --------------------------

Widget* widget_bul(int64_t id) {
    if (id < 0 || id >= win_widget_sayisi) return nullptr;
    return &win_widgetlar[id];
}

Widget* pencereli_widget(int64_t id) {
    Widget* record = widget_bul(id);
    return (record != nullptr && record->hwnd != nullptr) ? record : nullptr;
}

int64_t widget_kimligi(HWND hwnd) {
    if (hwnd == nullptr) return -1;
    for (int32_t id = 0; id < win_widget_sayisi; ++id) {
        if (win_widgetlar[id].hwnd == hwnd) return id;
    }
    return -1;
}

int64_t widget_kaydet(HWND hwnd, int32_t kind) {
    if (hwnd == nullptr || win_widget_sayisi >= kWidgetSiniri) return -1;
    const int64_t id = win_widget_sayisi;
    win_widget_sayisi += 1;
    Widget& record = win_widgetlar[id];
    std::memset(&record, 0, sizeof(record));
    record.hwnd = hwnd;
    record.kind = kind;
    record.closed_tab_index = -1;
    record.req_width = -1;
    record.req_height = -1;
    init_resources();
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(hDefaultFont), TRUE);
    return id;
}

void init_resources() {
    if (hBrushBg == nullptr) hBrushBg = CreateSolidBrush(kArkaPlanRengi);
    if (hBrushSurface == nullptr) hBrushSurface = CreateSolidBrush(kYuzeyRengi);
    if (hDefaultFont == nullptr) hDefaultFont = yazi_tipi(tr_sistem_dpi());
}

int32_t widget_dpi(const Widget* record) {
    return (record != nullptr && record->dpi > 0) ? record->dpi : tr_sistem_dpi();
}

// Clamped to 32 bits: a huge request stays huge rather than wrapping round.
int32_t olcekli(const Widget* record, int64_t size) {
    const int64_t scaled = tr_olcekle(size, widget_dpi(record));
    if (scaled > INT32_MAX) return INT32_MAX;
    return scaled < INT32_MIN ? INT32_MIN : static_cast<int32_t>(scaled);
}

// The fonts made so far, one per density. A process meets one density, or a few
// when its window moves between monitors; past the table's end the last density's
// font is made again for every call, never freed, so the table is large enough.
HFONT yazi_tipi(int32_t dpi) {
    constexpr int kYaziTipiSiniri = 16;
    constexpr int64_t kYaziBoyu = 14;  // pixels of a letter's height at 96 dpi
    static int32_t yogunluklar[kYaziTipiSiniri];
    static HFONT yazi_tipleri[kYaziTipiSiniri];
    static int32_t sayi = 0;
    dpi = tr_gecerli_dpi(dpi);
    for (int32_t i = 0; i < sayi; ++i) {
        if (yogunluklar[i] == dpi) return yazi_tipleri[i];
    }
    HFONT font = CreateFontW(-static_cast<int>(tr_olcekle(kYaziBoyu, dpi)), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, L"Segoe UI");
    if (font != nullptr && sayi < kYaziTipiSiniri) {
        yogunluklar[sayi] = dpi;
        yazi_tipleri[sayi] = font;
        sayi += 1;
    }
    return font;
}

void yogunlugu_uygula(Widget* record, int32_t dpi) {
    if (record == nullptr || record->hwnd == nullptr) return;
    dpi = tr_gecerli_dpi(dpi);
    const int32_t old_dpi = widget_dpi(record);
    record->dpi = dpi;
    if (old_dpi == dpi) return;
    // Only a font the runtime gave is replaced; a widget given its own keeps it.
    const HFONT old_font = reinterpret_cast<HFONT>(SendMessageW(record->hwnd, WM_GETFONT, 0, 0));
    if (old_font == yazi_tipi(old_dpi)) {
        SendMessageW(record->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(yazi_tipi(dpi)), TRUE);
    }
    if (record->kind == KIND_LIST) liste_sutunlarini_olcekle(*record, old_dpi, dpi);
    if (record->kind == KIND_TABS) seridi_olcekle(*record);
}

HWND park_penceresi() {
    static HWND park = nullptr;
    if (park != nullptr) return park;
    WNDCLASSEXW park_class = {};
    park_class.cbSize = sizeof(park_class);
    park_class.lpfnWndProc = park_wndproc;
    park_class.hInstance = GetModuleHandleW(nullptr);
    park_class.lpszClassName = kParkSinifi;
    RegisterClassExW(&park_class);
    // A message-only window: never shown, no X window, and neither are the windows
    // parked under it.
    park = CreateWindowExW(0, kParkSinifi, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    // Without one (tried again next time), the desktop window still works, only slower.
    return park != nullptr ? park : GetDesktopWindow();
}

// No class-wide redraw on resizing: a box paints nothing but its background, so a
// box that grows needs only its new area painted, which the platform does anyway.
void box_sinif_kaydet() {
    WNDCLASSEXW box_class = {};
    box_class.cbSize = sizeof(box_class);
    box_class.style = 0;
    box_class.lpfnWndProc = box_wndproc;
    box_class.hInstance = GetModuleHandleW(nullptr);
    box_class.lpszClassName = kKutuSinifi;
    RegisterClassExW(&box_class);
    box_sinif_kayitli = 1;  // a failed registration is not tried again
}

Widget* kutu_kaydi(HWND hwnd) {
    if (hwnd == nullptr) return nullptr;
    const intptr_t id = reinterpret_cast<intptr_t>(GetPropW(hwnd, kKutuKimligiOzelligi));
    Widget* record = widget_bul(id);
    if (record == nullptr || record->hwnd != hwnd || !kutu_turu_mu(record->kind)) return nullptr;
    return record;
}

void kutuyu_yeniden_yerlestir(Widget* box) {
    if (box == nullptr) return;
    RECT client;
    GetClientRect(box->hwnd, &client);
    win_layout_yenile(box - win_widgetlar, client.right, client.bottom);
}

RECT sekme_gosterim_alani(HWND strip) {
    RECT area;
    GetClientRect(strip, &area);
    const Widget* record = widget_bul(widget_kimligi(strip));
    if (record != nullptr && record->tab_row_hidden != 0) return area;
    SendMessageW(strip, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return area;
}

// ---- Entry points -------------------------------------------------------------

HWND _tr_arayuz_widget_al_hwnd(int64_t widget) noexcept {
    const Widget* record = widget_bul(widget);
    return record != nullptr ? record->hwnd : nullptr;
}

HWND _tr_arayuz_widget_al(int64_t widget) noexcept { return _tr_arayuz_widget_al_hwnd(widget); }

int64_t _tr_arayuz_widget_kaydet_harici_win(HWND window, int64_t kind) noexcept {
    return widget_kaydet(window, static_cast<int32_t>(kind));
}

int64_t _tr_arayuz_widget_kaydet_harici(HWND window) noexcept {
    return widget_kaydet(window, KIND_EXTERNAL);
}

int64_t _tr_arayuz_dugme_basildi_mi(int64_t widget) noexcept {
    Widget* record = widget_bul(widget);
    return record != nullptr ? bayragi_oku_ve_indir(record->clicked) : 0;
}

int64_t _tr_arayuz_giris_enter_mi(int64_t widget) noexcept {
    Widget* record = widget_bul(widget);
    return record != nullptr ? bayragi_oku_ve_indir(record->enter_pressed) : 0;
}

int64_t _tr_arayuz_giris_degisti_mi(int64_t widget) noexcept {
    Widget* record = widget_bul(widget);
    return record != nullptr ? bayragi_oku_ve_indir(record->text_changed) : 0;
}

int64_t _tr_arayuz_giris_asagi_mi(int64_t widget) noexcept {
    Widget* record = widget_bul(widget);
    return record != nullptr ? bayragi_oku_ve_indir(record->down_pressed) : 0;
}

int64_t _tr_arayuz_sekme_degisti_mi(int64_t widget) noexcept {
    Widget* record = widget_bul(widget);
    return record != nullptr ? bayragi_oku_ve_indir(record->tab_changed) : 0;
}

// A request takes effect at the next layout pass of the widget's box.
int64_t _tr_arayuz_widget_genislik_ayarla(int64_t widget, int64_t pixels) noexcept {
    Widget* record = widget_bul(widget);
    if (record == nullptr) return -1;
    record->req_width = static_cast<int32_t>(pixels);
    return 0;
}

int64_t _tr_arayuz_widget_yukseklik_ayarla(int64_t widget, int64_t pixels) noexcept {
    Widget* record = widget_bul(widget);
    if (record == nullptr) return -1;
    record->req_height = static_cast<int32_t>(pixels);
    return 0;
}

// A hidden widget stays in its box but gives up its space there until it is shown
// again; its box is laid out again at once so that its neighbours take the room.
int64_t _tr_arayuz_widget_gizle(int64_t widget) noexcept {
    Widget* record = pencereli_widget(widget);
    if (record == nullptr) return -1;
    ShowWindow(record->hwnd, SW_HIDE);
    record->hidden_by_program = 1;
    kutuyu_yeniden_yerlestir(ust_kutu(record->hwnd));
    return 0;
}

int64_t _tr_arayuz_widget_goster(int64_t widget) noexcept {
    Widget* record = pencereli_widget(widget);
    if (record == nullptr) return -1;
    ShowWindow(record->hwnd, SW_SHOW);
    record->hidden_by_program = 0;
    kutuyu_yeniden_yerlestir(ust_kutu(record->hwnd));
    return 0;
}

// The runtime has a single fixed theme; style sheets are accepted and ignored so
// that programs written for richer toolkits still run.
int64_t _tr_arayuz_css_yukle(const char*, int64_t) noexcept { return 0; }

int64_t _tr_arayuz_css_sinif_ekle(int64_t, const char*, int64_t) noexcept { return 0; }

int64_t _tr_arayuz_css_sinif_kaldir(int64_t, const char*, int64_t) noexcept { return 0; }

// Hover hints are the platform's tooltip control: one for the process, made on
// first need, with one tool per widget window. The tooltip learns of the pointer
// from the message loops (win_ipucuna_ilet), not by subclassing each window
// (TTF_SUBCLASS): under Wine every message through a SetWindowSubclass chain looks
// its data up in window properties, each a round trip to the wine server, and a
// button gets dozens of messages each time its window is laid out and painted. So
// the tool keeps working wherever a box moves the widget, and costs nothing but
// for mouse messages. Like the style-sheet calls, this never fails: a bad id or a
// text that does not convert sets nothing and still answers 0; the empty text
// removes the hint.
namespace {

HWND ipucu_penceresi = nullptr;

// Whether a window is a tool of the tooltip, by its widget record.
bool ipucu_araci_mi(HWND hwnd) {
    const Widget* record = widget_bul(widget_kimligi(hwnd));
    return record != nullptr && record->has_tooltip != 0;
}

}  // namespace

int64_t _tr_arayuz_ipucu_ayarla(int64_t widget, const char* tooltip, int64_t length) noexcept {
    Widget* record = pencereli_widget(widget);
    if (record == nullptr) return 0;
    GenisMetin text(tooltip, length);
    if (!text.gecerli()) return 0;
    if (ipucu_penceresi == nullptr || !IsWindow(ipucu_penceresi)) {
        ipucu_penceresi = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                          WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                          CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                          GetModuleHandleW(nullptr), nullptr);
        if (ipucu_penceresi == nullptr) return 0;
    }
    TOOLINFOW arac = {};
    arac.cbSize = sizeof(arac);
    arac.uFlags = TTF_IDISHWND;
    arac.hwnd = record->hwnd;
    arac.uId = reinterpret_cast<UINT_PTR>(record->hwnd);
    // A hint set again replaces the old one: the tool goes (when there was one) and
    // comes back with the new text.
    SendMessageW(ipucu_penceresi, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&arac));
    arac.lpszText = const_cast<wchar_t*>(text.c_str());
    record->has_tooltip = 0;
    if (text.uzunluk() > 0 && SendMessageW(ipucu_penceresi, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&arac))) {
        record->has_tooltip = 1;
    }
    return 0;
}

void win_ipucuna_ilet(const MSG* message) noexcept {
    if (message == nullptr || ipucu_penceresi == nullptr) return;
    if (message->message < WM_MOUSEFIRST || message->message > WM_MOUSELAST) return;
    if (!ipucu_araci_mi(message->hwnd)) return;
    SendMessageW(ipucu_penceresi, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(message));
}

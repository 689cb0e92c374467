// Tab strips: the Win32 tab control as a widget, one page window per tab. Start at
// the entry points at the bottom; the strip's window procedure above them turns the
// user's clicks into a tab switch and into close requests.
//
// Conventions of this file:
//  - A strip's record keeps, index by index, the native control's tabs: `tab_pages`
//    and `tab_closable` entries 0 to `tab_count` - 1. Removing a tab moves every later
//    entry down by one. Entries past `tab_count` are left empty.
//  - The page of the selected tab is the only page shown. Pages are child windows of
//    the strip for good; removing a tab only hides its page. A page about to be
//    shown is shown before the others are hidden, and the strip clips its pages
//    (WS_CLIPCHILDREN): the strip's own display area, which a page covers, is then
//    never uncovered and painted in between.
//  - A closable tab's text is its title followed by two spaces and a lowercase "x",
//    the close mark. A plain tab's text is its title alone.
//  - The strip's window procedure (put in place of the tab control's own) sets
//    `tab_close_requested` and `closed_tab_index`; `_tr_arayuz_sekme_kapandi_mi`
//    reads and clears them. `tab_changed` is set by the parent box's tab switch on a
//    user's selection and by `_tr_arayuz_sekme_sec`.
//  - Tab indices arriving as 64-bit arguments are taken as their low 32 bits.
//
// A user's selection reaches the strip's box this way: the tab control notifies the
// window it was created under, for good, which is the runtime's parking window, and
// the parking window passes the notification on to the strip's parent of the moment.
//
// The strip is drawn without the visual style (SetWindowTheme with a space, which
// names no theme; an empty text would change nothing). The themed tab control paints
// its display area with a stretched background image, which under Wine costs some
// 16 ms on every repaint of any part of it, although a page covers it.
//
// The strip's window procedure replaces the control's own (which it calls for
// everything it does not keep) rather than going through SetWindowSubclass: under
// Wine every message through a SetWindowSubclass chain looks its data up in two
// window properties, each a round trip to the wine server (about 80 us a message on
// this machine), and a program asks the strip for its selection several times on
// every pass of its loop. The strip's widget id is kept in the window's GWLP_USERDATA.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <uxtheme.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "tr_metin_sinir.h"
#include "widgets/arayuz_ic.h"
#include "widgets/arayuz_win_cz.h"

namespace {

// The three characters that follow a closable tab's title.
constexpr wchar_t kKapatmaIsareti[] = L"  x";
constexpr int kKapatmaIsaretiUzunlugu = 3;
// The close mark's glyph, measured to find the clickable area.
constexpr wchar_t kKapatmaHarfi[] = L"x";
// Pixels left of the glyph that still count as the mark; less than the two spaces
// before it, so a click on the title never closes the tab.
constexpr int kKapatmaPayi = 3;
// Room for reading a tab's text back from the control. A longer text is only ever
// met on tabs far wider than a screen; see kapatma_isareti_sag_kenari.
constexpr int kOkunanEtiketSiniri = 1024;
// The tab control's own padding on either side of a tab's text.
constexpr int kSekmeIcPayi = 6;

// The tab control's own window procedure, the same for every strip.
WNDPROC g_denetim_islevi = nullptr;

// A tab's text as the native control gets it: the title up to its first zero byte,
// with the close mark after it for a closable tab. Invalid when the title could not
// be converted or memory ran out.
class SekmeEtiketi {
public:
    SekmeEtiketi(const char* title, int64_t length, bool closable) {
        GenisMetin baslik(title, length);
        if (!baslik.gecerli()) return;
        baslik.kirp(kEnUzunBaslik);
        const size_t title_length = static_cast<size_t>(baslik.uzunluk());
        const size_t mark_length = closable ? kKapatmaIsaretiUzunlugu : 0;
        text_ = static_cast<wchar_t*>(std::malloc((title_length + mark_length + 1) * sizeof(wchar_t)));
        if (text_ == nullptr) return;
        std::memcpy(text_, baslik.c_str(), title_length * sizeof(wchar_t));
        std::memcpy(text_ + title_length, kKapatmaIsareti, mark_length * sizeof(wchar_t));
        text_[title_length + mark_length] = L'\0';
    }
    ~SekmeEtiketi() { std::free(text_); }
    SekmeEtiketi(const SekmeEtiketi&) = delete;
    SekmeEtiketi& operator=(const SekmeEtiketi&) = delete;

    bool gecerli() const { return text_ != nullptr; }
    wchar_t* metin() const { return text_; }

private:
    wchar_t* text_ = nullptr;
};

// The record behind a strip's window procedure, or null when the id it was given
// no longer names this very window.
Widget* seridin_kaydi(HWND hwnd, DWORD_PTR id) {
    Widget* strip = widget_bul(static_cast<int64_t>(id));
    return (strip != nullptr && strip->hwnd == hwnd) ? strip : nullptr;
}

int32_t secili_sekme(HWND strip) {
    return static_cast<int32_t>(SendMessageW(strip, TCM_GETCURSEL, 0, 0));
}

// Shows the page of tab `selected`, then hides every other page. An index outside
// the strip hides them all.
void yalniz_secili_sayfayi_goster(const Widget& strip, int32_t selected) {
    HWND shown = (selected >= 0 && selected < strip.tab_count) ? strip.tab_pages[selected] : nullptr;
    if (shown != nullptr) ShowWindow(shown, SW_SHOW);
    for (int32_t index = 0; index < strip.tab_count; ++index) {
        HWND page = strip.tab_pages[index];
        if (page != nullptr && page != shown) ShowWindow(page, SW_HIDE);
    }
}

// Inserts a tab at `index` (0 to the tab count; later tabs move up one place).
int64_t sekme_ekle(Widget* strip, int64_t page_id, const char* title, int64_t length, bool closable,
                   int64_t at = -1) {
    if (strip == nullptr) return -1;
    if (at < -1 || at > strip->tab_count) return -1;
    const Widget* page = pencereli_widget(page_id);
    if (page == nullptr) return -1;
    if (strip->tab_count >= kSekmeSiniri) return -1;
    // A page must not be the strip itself or hold it, natively or in the layout's own
    // lists (a strip moved to another box is still listed by its first one): laying
    // the page out would lay out the strip again without end.
    if (kendi_icine_mi(strip, page)) return -1;
    SekmeEtiketi label(title, length, closable);
    if (!label.gecerli()) return -1;

    const int32_t index = at < 0 ? strip->tab_count : static_cast<int32_t>(at);
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = label.metin();
    // A control that refused the tab would fall out of step with the tables.
    if (SendMessageW(strip->hwnd, TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item)) < 0) return -1;
    SetParent(page->hwnd, strip->hwnd);
    const int32_t later = strip->tab_count - index;
    std::memmove(&strip->tab_pages[index + 1], &strip->tab_pages[index], later * sizeof(HWND));
    std::memmove(&strip->tab_closable[index + 1], &strip->tab_closable[index], later * sizeof(int32_t));
    strip->tab_count += 1;
    strip->tab_pages[index] = page->hwnd;
    strip->tab_closable[index] = closable ? 1 : 0;

    // With nothing selected (an empty strip, or after selecting index -1) the new tab
    // becomes the selected one, so that the shown page is always the selected tab's.
    // The page is fitted before it is shown, so it is drawn once, in its place.
    const int32_t current = secili_sekme(strip->hwnd);
    if (current == -1) SendMessageW(strip->hwnd, TCM_SETCURSEL, index, 0);
    sayfayi_sigdir(strip->hwnd, page->hwnd);
    ShowWindow(page->hwnd, (current == -1 || current == index) ? SW_SHOW : SW_HIDE);
    return index;
}

// The removed tab's page is hidden after the newly selected page has been shown.
int64_t sekme_kaldir(Widget* strip, int32_t index) {
    if (strip == nullptr || index < 0 || index >= strip->tab_count) return -1;
    HWND removed_page = strip->tab_pages[index];
    SendMessageW(strip->hwnd, TCM_DELETEITEM, index, 0);

    const int32_t before = strip->tab_count;
    const int32_t later = before - 1 - index;
    std::memmove(&strip->tab_pages[index], &strip->tab_pages[index + 1], later * sizeof(HWND));
    std::memmove(&strip->tab_closable[index], &strip->tab_closable[index + 1], later * sizeof(int32_t));
    strip->tab_pages[before - 1] = nullptr;
    strip->tab_closable[before - 1] = 0;
    strip->tab_count = before - 1;
    HWND shown = nullptr;
    if (strip->tab_count > 0) {
        // The tab that followed the removed one takes its place; after the last tab,
        // the new last tab.
        const int32_t selected = later > 0 ? index : before - 2;
        SendMessageW(strip->hwnd, TCM_SETCURSEL, selected, 0);
        yalniz_secili_sayfayi_goster(*strip, selected);
        shown = strip->tab_pages[selected];
    }
    if (removed_page != nullptr && removed_page != shown) ShowWindow(removed_page, SW_HIDE);
    return 0;
}

// Whether the tab at `index` already shows exactly `label`.
bool sekme_yazisi_ayni_mi(HWND strip, int32_t index, const wchar_t* label) {
    const size_t length = std::wcslen(label);
    if (length + 2 > static_cast<size_t>(kOkunanEtiketSiniri)) return false;
    wchar_t shown[kOkunanEtiketSiniri] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = shown;
    item.cchTextMax = kOkunanEtiketSiniri;
    if (!SendMessageW(strip, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item))) return false;
    return std::wcscmp(item.pszText, label) == 0;
}

int64_t sekme_baslik_ayarla(Widget* strip, int32_t index, const char* title, int64_t length) {
    if (strip == nullptr) return -1;
    const bool closable = index >= 0 && index < strip->tab_count && strip->tab_closable[index] != 0;
    SekmeEtiketi label(title, length, closable);
    if (!label.gecerli()) return -1;
    // The same caption again would only repaint the row of tabs.
    if (sekme_yazisi_ayni_mi(strip->hwnd, index, label.metin())) return 0;
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = label.metin();
    SendMessageW(strip->hwnd, TCM_SETITEMW, index, reinterpret_cast<LPARAM>(&item));
    // A shorter label narrows the tab, and the control repaints only the new extent:
    // the tail of the old label would stay on screen. Repaint the row of tabs only;
    // the display area belongs to the page, which the control would paint over.
    RECT tabs_row;
    GetClientRect(strip->hwnd, &tabs_row);
    tabs_row.bottom = sekme_gosterim_alani(strip->hwnd).top;
    InvalidateRect(strip->hwnd, &tabs_row, TRUE);
    return 0;
}

// ---- Close marks --------------------------------------------------------------

// The tab under a point of the strip's client area, or -1.
int32_t noktadaki_sekme(HWND hwnd, LPARAM point) {
    TCHITTESTINFO hit = {};
    hit.pt.x = GET_X_LPARAM(point);
    hit.pt.y = GET_Y_LPARAM(point);
    return static_cast<int32_t>(SendMessageW(hwnd, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

bool kapatilabilir(const Widget& strip, int32_t index) {
    return index >= 0 && index < strip.tab_count && strip.tab_closable[index] != 0;
}

// Where the close mark's glyph ends. The control centres a tab's text in its item,
// which for a tab as wide as its text plus padding is the same as placing it
// against the padding, so the text's right end is the item's centre plus half the
// text's width, measured in the control's own font. `glyph_width` receives the
// width of the "x".
LONG kapatma_isareti_sag_kenari(HWND hwnd, int32_t index, const RECT& item_rect, LONG* glyph_width) {
    wchar_t text[kOkunanEtiketSiniri] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = kOkunanEtiketSiniri;
    SendMessageW(hwnd, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    const int text_length = lstrlenW(item.pszText);

    HDC dc = GetDC(hwnd);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
    SIZE text_size = {};
    SIZE glyph_size = {};
    GetTextExtentPoint32W(dc, item.pszText, text_length, &text_size);
    GetTextExtentPoint32W(dc, kKapatmaHarfi, 1, &glyph_size);
    if (previous != nullptr) SelectObject(dc, previous);
    ReleaseDC(hwnd, dc);

    *glyph_width = glyph_size.cx;
    // A text that filled the buffer was cut; such a tab is as wide as its text.
    if (text_length >= kOkunanEtiketSiniri - 1) return item_rect.right - kSekmeIcPayi;
    return (item_rect.left + item_rect.right + text_size.cx) / 2;
}

// The closable tab whose close mark is under a point, or -1. The mark's area runs
// from just left of the "x" to the right end of the tab.
int32_t kapatma_isaretindeki_sekme(const Widget& strip, HWND hwnd, LPARAM point) {
    const int32_t index = noktadaki_sekme(hwnd, point);
    if (!kapatilabilir(strip, index)) return -1;
    RECT item_rect;
    if (!SendMessageW(hwnd, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item_rect))) return -1;
    LONG glyph_width = 0;
    const LONG mark_right = kapatma_isareti_sag_kenari(hwnd, index, item_rect, &glyph_width);
    const LONG mark_left = mark_right - glyph_width - kKapatmaPayi;
    const LONG x = GET_X_LPARAM(point);
    return (x >= mark_left && x < item_rect.right) ? index : -1;
}

void kapatma_iste(Widget* strip, int32_t index) {
    strip->tab_close_requested = 1;
    strip->closed_tab_index = index;
}

// ---- The strip's window procedure -----------------------------------------------

LRESULT denetime_birak(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    return CallWindowProcW(g_denetim_islevi, hwnd, message, wparam, lparam);
}

// A left press on a closable tab's close mark requests its close and is kept from
// the control, so the selection stays. A double click counts as a press: closing
// tabs one after another quickly gives the control double clicks.
bool on_left_press(Widget* strip, HWND hwnd, LPARAM point) {
    if (strip == nullptr) return false;
    const int32_t index = kapatma_isaretindeki_sekme(*strip, hwnd, point);
    if (index < 0) return false;
    kapatma_iste(strip, index);
    return true;
}

// A middle press anywhere on a closable tab requests its close.
bool on_middle_press(Widget* strip, HWND hwnd, LPARAM point) {
    if (strip == nullptr) return false;
    const int32_t index = noktadaki_sekme(hwnd, point);
    if (!kapatilabilir(*strip, index)) return false;
    kapatma_iste(strip, index);
    return true;
}

LRESULT CALLBACK serit_wndproc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    const DWORD_PTR id = static_cast<DWORD_PTR>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (on_left_press(seridin_kaydi(hwnd, id), hwnd, lparam)) return 0;
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        if (on_middle_press(seridin_kaydi(hwnd, id), hwnd, lparam)) return 0;
        break;
    }
    return denetime_birak(hwnd, message, wparam, lparam);
}

int64_t serit_olustur() {
    init_resources();
    HWND hwnd = CreateWindowExW(0, WC_TABCONTROLW, L"",
                                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TCS_FOCUSNEVER, 0, 0,
                                400, 300, park_penceresi(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) return -1;
    SetWindowTheme(hwnd, L" ", L" ");
    const int64_t id = widget_kaydet(hwnd, KIND_TABS);
    if (id >= 0) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(id));
        g_denetim_islevi = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(serit_wndproc)));
    }
    return id;
}

}  // namespace

// ---- Entry points ---------------------------------------------------------------

int64_t _tr_arayuz_sekmeler(void) noexcept { return serit_olustur(); }

int64_t _tr_arayuz_sekme_ekle(int64_t strip, int64_t page, const char* title, int64_t length) noexcept {
    return sekme_ekle(pencereli_widget(strip), page, title, length, false);
}

int64_t _tr_arayuz_sekme_kapatmali_ekle(int64_t strip, int64_t page, const char* title,
                                        int64_t length) noexcept {
    return sekme_ekle(pencereli_widget(strip), page, title, length, true);
}

int64_t _tr_arayuz_sekme_kapatmali_araya_ekle(int64_t strip, int64_t index, int64_t page, const char* title,
                                              int64_t length) noexcept {
    const int32_t at = static_cast<int32_t>(index);
    if (at < 0) return -1;
    return sekme_ekle(pencereli_widget(strip), page, title, length, true, at);
}

int64_t _tr_arayuz_sekme_kaldir(int64_t strip, int64_t index) noexcept {
    return sekme_kaldir(pencereli_widget(strip), static_cast<int32_t>(index));
}

int64_t _tr_arayuz_sekme_sec(int64_t strip, int64_t index) noexcept {
    Widget* record = pencereli_widget(strip);
    if (record == nullptr) return -1;
    const int32_t selected = static_cast<int32_t>(index);
    SendMessageW(record->hwnd, TCM_SETCURSEL, selected, 0);
    yalniz_secili_sayfayi_goster(*record, selected);
    record->tab_changed = 1;
    return 0;
}

int64_t _tr_arayuz_sekme_secili(int64_t strip) noexcept {
    const Widget* record = pencereli_widget(strip);
    return record != nullptr ? secili_sekme(record->hwnd) : -1;
}

int64_t _tr_arayuz_sekme_satiri_gizle(int64_t strip, int64_t hidden) noexcept {
    Widget* record = pencereli_widget(strip);
    if (record == nullptr || record->kind != KIND_TABS) return -1;
    record->tab_row_hidden = hidden != 0 ? 1 : 0;
    for (int32_t k = 0; k < record->tab_count; ++k) {
        if (record->tab_pages[k] != nullptr) sayfayi_sigdir(record->hwnd, record->tab_pages[k]);
    }
    return 0;
}

int64_t _tr_arayuz_sekme_baslik_ayarla(int64_t strip, int64_t index, const char* title,
                                       int64_t length) noexcept {
    return sekme_baslik_ayarla(pencereli_widget(strip), static_cast<int32_t>(index), title, length);
}

int64_t _tr_arayuz_sekme_sayisi(int64_t strip) noexcept {
    const Widget* record = pencereli_widget(strip);
    return record != nullptr ? record->tab_count : 0;
}

int64_t win_sekme_sayfasi_mi(HWND window) noexcept {
    if (window == nullptr) return 0;
    for (int32_t id = 0; id < win_widget_sayisi; ++id) {
        const Widget& record = win_widgetlar[id];
        if (record.kind != KIND_TABS) continue;
        for (int32_t k = 0; k < record.tab_count && k < kSekmeSiniri; ++k) {
            if (record.tab_pages[k] == window) return 1;
        }
    }
    return 0;
}

int64_t _tr_arayuz_sekme_kapandi_mi(int64_t strip) noexcept {
    // Only the id's range matters here, not the record's window.
    Widget* record = widget_bul(strip);
    if (record == nullptr || record->tab_close_requested == 0) return -1;
    record->tab_close_requested = 0;
    return record->closed_tab_index;
}

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
//    the close mark. A plain tab's text is its title alone. The strip draws a tab's
//    title alone, cut with "..." when it does not fit, and a closable tab's "x" in
//    the tab's right end, which is the close mark's area (kKapatmaAlani).
//  - Tabs share the strip's width: each is the strip's width divided by the count,
//    at most kEnGenisSekme and at least kEnDarSekme (the close mark and a few
//    letters). When even the narrowest tabs do not fit, the control's own arrows
//    scroll the row. The width is set again whenever the strip's width changes and
//    after the count changed (`tab_width` keeps the last one, so an unchanged one is
//    not sent). A new count is given to the control only when the strip next hears
//    of anything that needs the tabs' places (`tab_width_due` until then): tabs
//    added or removed one after another, as a kept session opens twenty, lay the
//    row out once, not once a tab.
//  - The strip draws itself (the control draws nothing), in the theme's colours:
//    the row of tabs on the header's colour, the selected tab in the window's
//    background joined to the page below it and lined with the accent colour along
//    its top, the tab under the pointer lighter (`hot_tab`, and `hot_close` for its
//    close mark, set by the strip's window procedure), and the margins around the
//    display area in the window's background. A tab whose title is cut shows the
//    whole title in a tooltip (`tab_tooltip`, made on first need).
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
// Room for reading a tab's text back from the control: far more than a tab shows
// or a tooltip is worth.
constexpr int kOkunanEtiketSiniri = 1024;

// Sizes below are in pixels at 96 dpi; the strip scales them to its density
// (olcekli) where it measures and draws.
//
// Widths of a tab. The narrowest holds the close mark and four or five
// letters of the title.
constexpr int kEnGenisSekme = 200;
constexpr int kEnDarSekme = 72;
// A tab's height: a line of the runtime's font and its room. Given to the control
// rather than left to it, since the control adds room of its own that does not
// grow with the density.
constexpr int kSekmeYuksekligi = 21;
// What the control keeps free beside its row of tabs.
constexpr int kSiraPayi = 4;
// The right end of a closable tab that is its close mark; the title stops before it.
constexpr int kKapatmaAlani = 22;
// The room a sound mark takes before the title.
constexpr int kSesAlani = 20;
// Room left of a title, and right of a plain tab's title.
constexpr int kYaziPayi = 8;
// The diameter of the close mark's round background and of the tabs' upper corners.
constexpr int kKapatmaCapi = 16;
constexpr int kKoseCapi = 16;

// The theme's colours for tabs: the row's background, a tab's title, the selected
// tab (the window's background) and the tab under the pointer; the close mark under
// the pointer.
constexpr COLORREF kSiraRengi = RGB(0x11, 0x11, 0x1B);
constexpr COLORREF kSekmeYazisi = RGB(0x6C, 0x70, 0x86);
constexpr COLORREF kSeciliSekme = RGB(0x1E, 0x1E, 0x2E);
constexpr COLORREF kSeciliYazi = RGB(0xCD, 0xD6, 0xF4);
constexpr COLORREF kUzerindekiSekme = RGB(0x18, 0x18, 0x25);
constexpr COLORREF kUzerindekiYazi = RGB(0xA6, 0xAD, 0xC8);
constexpr COLORREF kKapatmaUzerinde = RGB(0xF3, 0x8B, 0xA8);
// The theme's accent (a focused entry's border, the progress bar) marks the selected
// tab with a line along its top, as thick as this.
constexpr COLORREF kVurguRengi = RGB(0x89, 0xB4, 0xFA);
constexpr int kVurguKalinligi = 2;

// The one tool of a strip's tooltip, and the width past which its text wraps.
constexpr UINT_PTR kIpucuAraci = 1;
constexpr int kIpucuGenisligi = 600;

// The tab control's own window procedure, the same for every strip.
WNDPROC g_denetim_islevi = nullptr;

// How many bytes of a UTF-8 title to convert: a tab keeps kEnUzunBaslik characters
// at most, which never take more than four bytes each, so a title of megabytes is
// cut before it is converted, at the start of a character.
int64_t gosterilecek_bayt(const char* title, int64_t length) {
    const int64_t most = 4 * int64_t{kEnUzunBaslik};
    if (title == nullptr || length <= most) return length;
    int64_t kept = most;
    while (kept > 0 && (static_cast<unsigned char>(title[kept]) & 0xC0) == 0x80) --kept;
    return kept;
}

// A tab's text as the native control gets it: the title up to its first zero byte,
// with the close mark after it for a closable tab. Invalid when the title could not
// be converted or memory ran out.
class SekmeEtiketi {
public:
    SekmeEtiketi(const char* title, int64_t length, bool closable) {
        GenisMetin baslik(title, gosterilecek_bayt(title, length));
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

// ---- Widths ---------------------------------------------------------------------

// The width of every tab of a strip `strip_width` wide holding `count` tabs.
int sekme_genisligi(const Widget& strip, int strip_width, int32_t count) {
    const int widest = olcekli(&strip, kEnGenisSekme);
    const int narrowest = olcekli(&strip, kEnDarSekme);
    if (count <= 0) return widest;
    const int share = (strip_width - olcekli(&strip, kSiraPayi)) / count;
    if (share > widest) return widest;
    return share < narrowest ? narrowest : share;
}

// The strip whose tabs are being given a new width, and whether the control asked
// it to paint meanwhile (see genislikleri_ayarla and the strip's WM_PAINT).
HWND g_genislik_verilen = nullptr;
bool g_boyama_ertelendi = false;

// Gives the tabs their width for the strip's count and width; the control lays its
// row out again (and scrolls it when it overflows) only when the width changed.
// Under Wine the control paints the whole strip at once on a new tab size, in the
// middle of whatever asked for it (a layout pass, the strip's own paint, each tab
// of a kept session as it was added). That paint is put off: the strip is only
// marked for the next paint, which draws it once with whatever else changed.
void genislikleri_ayarla(Widget& strip, int strip_width) {
    strip.tab_width_due = 0;
    const int width = sekme_genisligi(strip, strip_width, strip.tab_count);
    if (width == strip.tab_width) return;
    strip.tab_width = width;
    g_genislik_verilen = strip.hwnd;
    g_boyama_ertelendi = false;
    SendMessageW(strip.hwnd, TCM_SETITEMSIZE, 0, MAKELPARAM(width, olcekli(&strip, kSekmeYuksekligi)));
    g_genislik_verilen = nullptr;
    if (g_boyama_ertelendi) InvalidateRect(strip.hwnd, nullptr, FALSE);
}

int istemci_genisligi(HWND hwnd) {
    RECT client;
    GetClientRect(hwnd, &client);
    return client.right;
}

// A tab came or went: the tabs take their new width when next needed, and the tab
// that was under the pointer may be another one now (the next move of the pointer
// finds it).
void sekme_sayisi_degisti(Widget& strip) {
    strip.tab_width_due = 1;
    strip.hot_tab = -1;
    strip.hot_close = 0;
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
    // A page already in the strip (one page may stand for several tabs) stays: under
    // Wine even a move to the same parent costs server round trips.
    if (GetParent(page->hwnd) != strip->hwnd) SetParent(page->hwnd, strip->hwnd);
    const int32_t later = strip->tab_count - index;
    std::memmove(&strip->tab_pages[index + 1], &strip->tab_pages[index], later * sizeof(HWND));
    std::memmove(&strip->tab_closable[index + 1], &strip->tab_closable[index], later * sizeof(int32_t));
    std::memmove(&strip->tab_sound[index + 1], &strip->tab_sound[index], later * sizeof(int32_t));
    strip->tab_sound[index] = 0;
    strip->tab_count += 1;
    strip->tab_pages[index] = page->hwnd;
    strip->tab_closable[index] = closable ? 1 : 0;
    sekme_sayisi_degisti(*strip);

    // With nothing selected (an empty strip, or after selecting index -1) the new tab
    // becomes the selected one, so that the shown page is always the selected tab's.
    // The page is fitted before it is shown, so it is drawn once, in its place.
    // A page that is also the selected tab's (one page standing for several tabs)
    // stays shown.
    const int32_t current = secili_sekme(strip->hwnd);
    if (current == -1) SendMessageW(strip->hwnd, TCM_SETCURSEL, index, 0);
    sayfayi_sigdir(strip->hwnd, page->hwnd);
    const bool shown = current == -1 || (current < strip->tab_count && strip->tab_pages[current] == page->hwnd);
    if (shown != ((GetWindowLongW(page->hwnd, GWL_STYLE) & WS_VISIBLE) != 0)) {
        ShowWindow(page->hwnd, shown ? SW_SHOW : SW_HIDE);
    }
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
    std::memmove(&strip->tab_sound[index], &strip->tab_sound[index + 1], later * sizeof(int32_t));
    strip->tab_pages[before - 1] = nullptr;
    strip->tab_closable[before - 1] = 0;
    strip->tab_sound[before - 1] = 0;
    strip->tab_count = before - 1;
    sekme_sayisi_degisti(*strip);
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
    // The new title may be cut at another place: the row of tabs is drawn again. The
    // display area belongs to the page.
    RECT tabs_row;
    GetClientRect(strip->hwnd, &tabs_row);
    tabs_row.bottom = sekme_gosterim_alani(strip->hwnd).top;
    InvalidateRect(strip->hwnd, &tabs_row, FALSE);
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

// The closable tab whose close mark is under a point, or -1: the mark's area is the
// right end of the tab, where the strip draws the "x".
int32_t kapatma_isaretindeki_sekme(const Widget& strip, HWND hwnd, LPARAM point) {
    const int32_t index = noktadaki_sekme(hwnd, point);
    if (!kapatilabilir(strip, index)) return -1;
    RECT item_rect;
    if (!SendMessageW(hwnd, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item_rect))) return -1;
    const LONG x = GET_X_LPARAM(point);
    return (x >= item_rect.right - olcekli(&strip, kKapatmaAlani) && x < item_rect.right) ? index : -1;
}

void kapatma_iste(Widget* strip, int32_t index) {
    strip->tab_close_requested = 1;
    strip->closed_tab_index = index;
}

// ---- Sound marks ------------------------------------------------------------------

bool ses_isareti_var(const Widget& strip, int32_t index) {
    return index >= 0 && index < strip.tab_count && strip.tab_sound[index] != 0;
}

// The tab whose sound mark is under a point, or -1: the mark's area is the left end
// of the tab, before its title.
int32_t ses_isaretindeki_sekme(const Widget& strip, HWND hwnd, LPARAM point) {
    const int32_t index = noktadaki_sekme(hwnd, point);
    if (!ses_isareti_var(strip, index)) return -1;
    RECT item_rect;
    if (!SendMessageW(hwnd, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item_rect))) return -1;
    const LONG x = GET_X_LPARAM(point);
    return (x >= item_rect.left && x < item_rect.left + olcekli(&strip, kYaziPayi + kSesAlani)) ? index : -1;
}

// A speaker drawn with lines, in the title's colour: a box and its cone, then two
// waves in front of it for a tab that plays, or a cross for a muted one. `left` is
// where the mark's area starts, `centre_y` the tab's middle; the offsets are at
// 96 dpi, scaled to the strip's density (`o`).
void ses_isaretini_ciz(HDC dc, const Widget& strip, int32_t kind, LONG left, LONG centre_y, COLORREF colour) {
    const auto o = [&strip](int pixels) { return static_cast<LONG>(olcekli(&strip, pixels)); };
    SelectObject(dc, GetStockObject(DC_BRUSH));
    SelectObject(dc, GetStockObject(DC_PEN));
    SetDCBrushColor(dc, colour);
    SetDCPenColor(dc, colour);
    const POINT speaker[] = {{left, centre_y - o(2)},        {left + o(3), centre_y - o(2)},
                             {left + o(7), centre_y - o(6)}, {left + o(7), centre_y + o(6)},
                             {left + o(3), centre_y + o(2)}, {left, centre_y + o(2)}};
    Polygon(dc, speaker, static_cast<int>(sizeof speaker / sizeof *speaker));
    if (kind == 2) {
        MoveToEx(dc, left + o(9), centre_y - o(3), nullptr);
        LineTo(dc, left + o(15), centre_y + o(4));
        MoveToEx(dc, left + o(9), centre_y + o(3), nullptr);
        LineTo(dc, left + o(15), centre_y - o(4));
        return;
    }
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Arc(dc, left + o(5), centre_y - o(4), left + o(12), centre_y + o(5), left + o(9), centre_y + o(5), left + o(9),
        centre_y - o(4));
    Arc(dc, left + o(5), centre_y - o(7), left + o(15), centre_y + o(8), left + o(11), centre_y + o(8),
        left + o(11), centre_y - o(7));
}

// ---- Titles as drawn ------------------------------------------------------------

// A tab's title as the strip draws it: its text read back from the control, less
// the close mark of a closable tab. `title` holds kOkunanEtiketSiniri characters.
int sekme_basligi(const Widget& strip, int32_t index, wchar_t* title) {
    title[0] = L'\0';
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = title;
    item.cchTextMax = kOkunanEtiketSiniri;
    if (!SendMessageW(strip.hwnd, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item))) return 0;
    // The control may hand back its own copy instead of filling the buffer.
    if (item.pszText != title) lstrcpynW(title, item.pszText, kOkunanEtiketSiniri);
    int length = lstrlenW(title);
    if (kapatilabilir(strip, index) && length >= kKapatmaIsaretiUzunlugu &&
        std::wcscmp(title + length - kKapatmaIsaretiUzunlugu, kKapatmaIsareti) == 0) {
        length -= kKapatmaIsaretiUzunlugu;
        title[length] = L'\0';
    }
    return length;
}

// Where a tab's title goes inside its item.
RECT baslik_alani(const Widget& strip, int32_t index, const RECT& item_rect) {
    const int right_room = olcekli(&strip, kapatilabilir(strip, index) ? kKapatmaAlani : kYaziPayi);
    const int left_room = olcekli(&strip, ses_isareti_var(strip, index) ? kYaziPayi + kSesAlani : kYaziPayi);
    return {item_rect.left + left_room, item_rect.top, item_rect.right - right_room, item_rect.bottom};
}

// The DC in the strip's font, as long as it lives.
class SeritYazisi {
public:
    SeritYazisi(HWND hwnd, HDC dc) : dc_(dc) {
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
        previous_ = font != nullptr ? SelectObject(dc, font) : nullptr;
    }
    ~SeritYazisi() {
        if (previous_ != nullptr) SelectObject(dc_, previous_);
    }
    SeritYazisi(const SeritYazisi&) = delete;
    SeritYazisi& operator=(const SeritYazisi&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Whether a tab's title is wider than the room it has, so the strip cuts it.
bool baslik_kirpik_mi(const Widget& strip, int32_t index, const wchar_t* title, int length) {
    RECT item_rect;
    if (!SendMessageW(strip.hwnd, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item_rect))) return false;
    const RECT room = baslik_alani(strip, index, item_rect);
    HDC dc = GetDC(strip.hwnd);
    SIZE size = {};
    {
        const SeritYazisi font(strip.hwnd, dc);
        GetTextExtentPoint32W(dc, title, length, &size);
    }
    ReleaseDC(strip.hwnd, dc);
    return size.cx > room.right - room.left;
}

// ---- Drawing ----------------------------------------------------------------------

// Fills a rectangle with rounded upper corners (the lower ones go below `bottom`,
// which the caller's row cuts off).
void ust_koseleri_yuvarlak(HDC dc, const Widget& strip, const RECT& rect, LONG bottom, COLORREF colour) {
    const int corner = olcekli(&strip, kKoseCapi);
    SelectObject(dc, GetStockObject(DC_BRUSH));
    SelectObject(dc, GetStockObject(DC_PEN));
    SetDCBrushColor(dc, colour);
    SetDCPenColor(dc, colour);
    RoundRect(dc, rect.left, rect.top, rect.right, bottom + corner, corner, corner);
}

// One tab into the row's picture. The selected tab reaches down to the row's end,
// where the page begins, so that the two read as one.
void sekmeyi_ciz(HDC dc, const Widget& strip, int32_t index, const RECT& item_rect, LONG row_bottom,
                 bool selected) {
    const bool hot = index == strip.hot_tab;
    COLORREF text_colour = kSekmeYazisi;
    if (selected) {
        ust_koseleri_yuvarlak(dc, strip, item_rect, row_bottom, kSeciliSekme);
        const int inset = olcekli(&strip, kKoseCapi) / 4;
        RECT accent = {item_rect.left + inset, item_rect.top, item_rect.right - inset,
                       item_rect.top + olcekli(&strip, kVurguKalinligi)};
        SetDCBrushColor(dc, kVurguRengi);
        FillRect(dc, &accent, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        text_colour = kSeciliYazi;
    } else if (hot) {
        ust_koseleri_yuvarlak(dc, strip, item_rect, item_rect.bottom, kUzerindekiSekme);
        text_colour = kUzerindekiYazi;
    }
    wchar_t title[kOkunanEtiketSiniri];
    const int length = sekme_basligi(strip, index, title);
    RECT room = baslik_alani(strip, index, item_rect);
    SetTextColor(dc, text_colour);
    DrawTextW(dc, title, length, &room, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (ses_isareti_var(strip, index)) {
        ses_isaretini_ciz(dc, strip, strip.tab_sound[index], item_rect.left + olcekli(&strip, kYaziPayi),
                          (item_rect.top + item_rect.bottom) / 2, text_colour);
    }
    if (!kapatilabilir(strip, index)) return;

    // The close mark: an "x" in the middle of the tab's right end, on a round red
    // background while the pointer is on it.
    const LONG centre_x = item_rect.right - olcekli(&strip, kKapatmaAlani) / 2 - 1;
    const LONG centre_y = (item_rect.top + item_rect.bottom) / 2;
    const LONG radius = olcekli(&strip, kKapatmaCapi) / 2;
    RECT mark = {centre_x - radius, centre_y - radius, centre_x + radius, centre_y + radius};
    if (hot && strip.hot_close != 0) {
        SelectObject(dc, GetStockObject(DC_BRUSH));
        SelectObject(dc, GetStockObject(DC_PEN));
        SetDCBrushColor(dc, kKapatmaUzerinde);
        SetDCPenColor(dc, kKapatmaUzerinde);
        Ellipse(dc, mark.left, mark.top, mark.right, mark.bottom);
        SetTextColor(dc, kSeciliSekme);
    }
    DrawTextW(dc, L"x", 1, &mark, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
}

// The whole strip but its pages: the row of tabs is drawn in a picture of its own
// and put on the screen at once, so no tab is ever seen half drawn; the margins
// around the display area take the window's background. The pages are child
// windows and the strip clips them, so nothing here paints over a page.
void seridi_ciz(const Widget& strip, HDC dc) {
    RECT client;
    GetClientRect(strip.hwnd, &client);
    const RECT area = sekme_gosterim_alani(strip.hwnd);
    const LONG row_bottom = area.top > client.top ? area.top : client.top;

    RECT below = {client.left, row_bottom, client.right, client.bottom};
    SetDCBrushColor(dc, kSeciliSekme);
    FillRect(dc, &below, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    if (row_bottom <= 0 || client.right <= 0) return;

    HDC picture = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, row_bottom);
    if (picture == nullptr || bitmap == nullptr) {
        if (bitmap != nullptr) DeleteObject(bitmap);
        if (picture != nullptr) DeleteDC(picture);
        return;
    }
    HGDIOBJ previous_bitmap = SelectObject(picture, bitmap);
    {
        const SeritYazisi font(strip.hwnd, picture);
        RECT row = {0, 0, client.right, row_bottom};
        SetDCBrushColor(picture, kSiraRengi);
        FillRect(picture, &row, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        SetBkMode(picture, TRANSPARENT);
        const int32_t selected = secili_sekme(strip.hwnd);
        for (int32_t index = 0; index < strip.tab_count; ++index) {
            RECT item_rect;
            if (!SendMessageW(strip.hwnd, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item_rect))) continue;
            // Tabs scrolled out of the row, to either side.
            if (item_rect.right <= 0 || item_rect.left >= client.right) continue;
            sekmeyi_ciz(picture, strip, index, item_rect, row_bottom, index == selected);
        }
    }
    BitBlt(dc, 0, 0, client.right, row_bottom, picture, 0, 0, SRCCOPY);
    SelectObject(picture, previous_bitmap);
    DeleteObject(bitmap);
    DeleteDC(picture);
}

// Marks a tab's place for drawing again (with the row's end below it, where the
// selected tab reaches); nothing for -1.
void sekmeyi_yenile(HWND hwnd, int32_t index) {
    if (index < 0) return;
    RECT item_rect;
    if (!SendMessageW(hwnd, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item_rect))) return;
    item_rect.bottom = sekme_gosterim_alani(hwnd).top;
    InvalidateRect(hwnd, &item_rect, FALSE);
}

// ---- The tooltip of a cut title ----------------------------------------------------

HWND ipucu_penceresi(Widget& strip) {
    if (strip.tab_tooltip != nullptr) return strip.tab_tooltip;
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, strip.hwnd, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (tip == nullptr) return nullptr;
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = strip.hwnd;
    tool.uId = kIpucuAraci;
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // A long title wraps instead of running off the screen.
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, olcekli(&strip, kIpucuGenisligi));
    strip.tab_tooltip = tip;
    return tip;
}

// The pointer moved to another tab (or off the tabs): the tooltip's one tool covers
// that tab and says its whole title when the strip cuts it, else nothing (a tool
// with an empty text shows no tooltip). No tooltip is made before a cut title is
// pointed at.
void ipucunu_guncelle(Widget& strip, int32_t index) {
    wchar_t title[kOkunanEtiketSiniri];
    int length = index >= 0 ? sekme_basligi(strip, index, title) : 0;
    if (length > 0 && !baslik_kirpik_mi(strip, index, title, length)) length = 0;
    if (length == 0 && strip.tab_tooltip == nullptr) return;
    HWND tip = ipucu_penceresi(strip);
    if (tip == nullptr) return;
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = strip.hwnd;
    tool.uId = kIpucuAraci;
    if (length > 0) SendMessageW(strip.hwnd, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&tool.rect));
    SendMessageW(tip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    title[length] = L'\0';
    tool.lpszText = title;
    SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    if (length == 0) SendMessageW(tip, TTM_POP, 0, 0);
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
    // A press on a sound mark is the program's to answer (it mutes or unmutes the
    // tab); the selection stays, as with the close mark.
    const int32_t sounding = ses_isaretindeki_sekme(*strip, hwnd, point);
    if (sounding >= 0) {
        strip->sound_clicked = sounding + 1;
        return true;
    }
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

// A right click on a tab asks the program for the tab's menu.
void on_right_release(Widget* strip, HWND hwnd, LPARAM point) {
    if (strip == nullptr) return;
    const int32_t index = noktadaki_sekme(hwnd, point);
    if (index >= 0) strip->menu_requested = index + 1;
}

// The tab under the pointer, and whether it is on its close mark, are drawn; the
// strip asks to hear when the pointer leaves once it is over a tab.
void on_mouse_move(Widget* strip, HWND hwnd, LPARAM point) {
    if (strip == nullptr) return;
    const int32_t tab = noktadaki_sekme(hwnd, point);
    const int32_t on_mark = tab >= 0 && kapatma_isaretindeki_sekme(*strip, hwnd, point) == tab ? 1 : 0;
    if (tab == strip->hot_tab && on_mark == strip->hot_close) return;
    const int32_t previous = strip->hot_tab;
    strip->hot_tab = tab;
    strip->hot_close = on_mark;
    sekmeyi_yenile(hwnd, previous);
    sekmeyi_yenile(hwnd, tab);
    if (tab == previous) return;
    ipucunu_guncelle(*strip, tab);
    if (previous < 0 && tab >= 0) {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = hwnd;
        TrackMouseEvent(&track);
    }
}

void on_mouse_leave(Widget* strip, HWND hwnd) {
    if (strip == nullptr || strip->hot_tab < 0) return;
    sekmeyi_yenile(hwnd, strip->hot_tab);
    strip->hot_tab = -1;
    strip->hot_close = 0;
    // The tool keeps its tab and title: the pointer coming back to that tab sets them
    // again anyway.
    if (strip->tab_tooltip != nullptr) SendMessageW(strip->tab_tooltip, TTM_POP, 0, 0);
}

// The tooltip learns of the pointer from the strip itself, so that it needs no
// subclass of its own on the strip (see the top of this file).
void ipucuna_ilet(const Widget* strip, HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (strip == nullptr || strip->tab_tooltip == nullptr) return;
    MSG relayed = {};
    relayed.hwnd = hwnd;
    relayed.message = message;
    relayed.wParam = wparam;
    relayed.lParam = lparam;
    SendMessageW(strip->tab_tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

// Paints with the DC a caller gave (WM_PRINTCLIENT, or a WM_PAINT sent with one),
// else with the window's own paint cycle; a paint the control asks for while its
// tabs are given a width waits (genislikleri_ayarla).
LRESULT on_paint(const Widget* strip, HWND hwnd, HDC given) {
    if (given != nullptr) {
        seridi_ciz(*strip, given);
        return 0;
    }
    if (hwnd == g_genislik_verilen) {
        g_boyama_ertelendi = true;
        ValidateRect(hwnd, nullptr);
        return 0;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    if (dc != nullptr) seridi_ciz(*strip, dc);
    EndPaint(hwnd, &paint);
    return 0;
}

// The messages that neither read nor move the tabs' places, which adding, removing
// and renaming tabs send, or bring about (a page placed in the strip has the strip
// erased at once under Wine): the tabs' width waits through them
// (sekme_sayisi_degisti).
bool yerleri_beklemez(UINT message) {
    switch (message) {
    case TCM_INSERTITEMW:
    case TCM_DELETEITEM:
    case TCM_GETITEMW:
    case TCM_SETITEMW:
    case TCM_GETCURSEL:
    case TCM_ADJUSTRECT:
    case WM_GETFONT:
    case WM_ERASEBKGND:
    case WM_NCPAINT:
    case WM_PARENTNOTIFY:
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK serit_wndproc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    const DWORD_PTR id = static_cast<DWORD_PTR>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    Widget* strip = seridin_kaydi(hwnd, id);
    if (strip != nullptr && strip->tab_width_due != 0 && !yerleri_beklemez(message)) {
        genislikleri_ayarla(*strip, istemci_genisligi(hwnd));
    }
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        ipucuna_ilet(strip, hwnd, message, wparam, lparam);
        if (on_left_press(strip, hwnd, lparam)) return 0;
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        if (on_middle_press(strip, hwnd, lparam)) return 0;
        break;
    case WM_RBUTTONUP:
        on_right_release(strip, hwnd, lparam);
        break;
    case WM_MOUSEMOVE:
        ipucuna_ilet(strip, hwnd, message, wparam, lparam);
        on_mouse_move(strip, hwnd, lparam);
        break;
    case WM_MOUSELEAVE:
        on_mouse_leave(strip, hwnd);
        break;
    case WM_SIZE:
        // Before the control lays its row out for the new size.
        if (strip != nullptr) genislikleri_ayarla(*strip, LOWORD(lparam));
        break;
    case WM_ERASEBKGND:
        if (strip != nullptr) return 1;  // painting covers everything
        break;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (strip != nullptr) return on_paint(strip, hwnd, reinterpret_cast<HDC>(wparam));
        break;
    }
    return denetime_birak(hwnd, message, wparam, lparam);
}

int64_t serit_olustur() {
    init_resources();
    HWND hwnd = CreateWindowExW(0, WC_TABCONTROLW, L"",
                                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TCS_FOCUSNEVER |
                                    TCS_FIXEDWIDTH,
                                0, 0, 400, 300, park_penceresi(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) return -1;
    SetWindowTheme(hwnd, L" ", L" ");
    const int64_t id = widget_kaydet(hwnd, KIND_TABS);
    if (id >= 0) {
        Widget& record = win_widgetlar[id];
        record.hot_tab = -1;
        genislikleri_ayarla(record, istemci_genisligi(hwnd));
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(id));
        g_denetim_islevi = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(serit_wndproc)));
    }
    return id;
}

}  // namespace

// ---- Internal operations shared by the unit's files --------------------------

void seridi_olcekle(Widget& strip) {
    strip.tab_width = 0;  // sent again even when the count and the width stayed
    genislikleri_ayarla(strip, istemci_genisligi(strip.hwnd));
    if (strip.tab_tooltip != nullptr) {
        SendMessageW(strip.tab_tooltip, TTM_SETMAXTIPWIDTH, 0, olcekli(&strip, kIpucuGenisligi));
    }
    InvalidateRect(strip.hwnd, nullptr, TRUE);
}

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

int64_t _tr_arayuz_sekme_ses_isareti_koy(int64_t strip, int64_t index, int64_t kind) noexcept {
    Widget* record = pencereli_widget(strip);
    const int32_t at = static_cast<int32_t>(index);
    if (record == nullptr || record->kind != KIND_TABS || at < 0 || at >= record->tab_count) return -1;
    if (kind < 0 || kind > 2) return -1;
    if (record->tab_sound[at] == kind) return 0;
    record->tab_sound[at] = static_cast<int32_t>(kind);
    // The title moves for the mark: the whole row is drawn again.
    RECT tabs_row;
    GetClientRect(record->hwnd, &tabs_row);
    tabs_row.bottom = sekme_gosterim_alani(record->hwnd).top;
    InvalidateRect(record->hwnd, &tabs_row, FALSE);
    return 0;
}

int64_t _tr_arayuz_sekme_ses_isareti(int64_t strip, int64_t index) noexcept {
    const Widget* record = pencereli_widget(strip);
    const int32_t at = static_cast<int32_t>(index);
    if (record == nullptr || record->kind != KIND_TABS || at < 0 || at >= record->tab_count) return -1;
    return record->tab_sound[at];
}

int64_t _tr_arayuz_sekme_ses_tiklandi_mi(int64_t strip) noexcept {
    Widget* record = widget_bul(strip);
    if (record == nullptr || record->sound_clicked == 0) return -1;
    const int64_t index = record->sound_clicked - 1;
    record->sound_clicked = 0;
    return index;
}

int64_t _tr_arayuz_sekme_menu_istendi_mi(int64_t strip) noexcept {
    Widget* record = widget_bul(strip);
    if (record == nullptr || record->menu_requested == 0) return -1;
    const int64_t index = record->menu_requested - 1;
    record->menu_requested = 0;
    return index;
}

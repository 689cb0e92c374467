// Tab strips as a program and a user meet them: tabs added, removed, renamed and
// selected through the entry points, clicks posted to the tab control at its item
// rectangles, and the result read back from the native control and the page windows.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "ortak/pencere_resmi.h"
#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"

namespace {

HWND pencere(int64_t widget) { return _tr_arayuz_widget_al_hwnd(widget); }

// Whether the strip shows the page: the page's own visibility. A strip outside any
// window is not on the screen at all, so IsWindowVisible would say no to every page.
bool gorunur(int64_t widget) { return (GetWindowLongW(pencere(widget), GWL_STYLE) & WS_VISIBLE) != 0; }

void pompala() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

int64_t sekme_ekle(int64_t strip, int64_t page, const std::string& title, bool closable) {
    return closable ? _tr_arayuz_sekme_kapatmali_ekle(strip, page, title.data(), static_cast<int64_t>(title.size()))
                    : _tr_arayuz_sekme_ekle(strip, page, title.data(), static_cast<int64_t>(title.size()));
}

int64_t baslik_ayarla(int64_t strip, int64_t index, const std::string& title) {
    return _tr_arayuz_sekme_baslik_ayarla(strip, index, title.data(), static_cast<int64_t>(title.size()));
}

// A tab's text as the native control reports it.
std::wstring sekme_metni(int64_t strip, int index) {
    wchar_t text[256] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 256;
    if (!SendMessageW(pencere(strip), TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item))) return L"<none>";
    return item.pszText;
}

std::vector<std::wstring> sekme_metinleri(int64_t strip) {
    std::vector<std::wstring> texts;
    const int count = static_cast<int>(SendMessageW(pencere(strip), TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) texts.push_back(sekme_metni(strip, i));
    return texts;
}

RECT gosterim_alani(int64_t strip) {
    RECT area;
    GetClientRect(pencere(strip), &area);
    SendMessageW(pencere(strip), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return area;
}

// A window's rectangle in its parent's client coordinates.
RECT ebeveyndeki_konum(HWND hwnd) {
    RECT rect;
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void esit_dikdortgen(const RECT& expected, const RECT& actual) {
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right, actual.right);
    EXPECT_EQ(expected.bottom, actual.bottom);
}

RECT oge_dikdortgeni(int64_t strip, int index) {
    RECT rect = {};
    EXPECT_TRUE(SendMessageW(pencere(strip), TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect)));
    return rect;
}

void tikla(int64_t strip, POINT at, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP) {
    const LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageW(pencere(strip), down, down == WM_MBUTTONDOWN ? MK_MBUTTON : MK_LBUTTON, where);
    PostMessageW(pencere(strip), up, 0, where);
    pompala();
}

// A point on a tab's title, well left of any close mark.
POINT baslik_noktasi(int64_t strip, int index) {
    const RECT item = oge_dikdortgeni(strip, index);
    return {item.left + 10, (item.top + item.bottom) / 2};
}

// The middle of a closable tab's close mark, the "x" in the tab's right end.
POINT x_noktasi(int64_t strip, int index) {
    const RECT item = oge_dikdortgeni(strip, index);
    return {item.right - 12, (item.top + item.bottom) / 2};
}

// Counts the selection notifications a box receives from a strip.
LRESULT CALLBACK bildirim_sayaci(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                 DWORD_PTR count) {
    if (message == WM_NOTIFY &&
        reinterpret_cast<const NMHDR*>(lparam)->code == static_cast<UINT>(TCN_SELCHANGE)) {
        ++*reinterpret_cast<int*>(count);
    }
    return DefSubclassProc(hwnd, message, wparam, lparam);
}

// One shown top-level window for every test that clicks; each test gives it new
// content: a vertical box holding a strip with three tabs. Tab 0 "Birinci sayfa" is
// closable, tab 1 "Ikinci sayfa" plain, tab 2 "Ucuncu sayfa" closable. Every page is
// a vertical box; page 1 holds a button that its layout stretches over the page.
class SekmeTiklama : public ::testing::Test {
protected:
    void SetUp() override {
        static int64_t shared_window = -1;
        if (shared_window < 0) {
            shared_window = _tr_pencere_olustur("Sekmeler", 8, 800, 600);
            _tr_pencere_goster(shared_window);
        }
        window_ = shared_window;
        ASSERT_GE(window_, 0);
        root_ = _tr_arayuz_kutu_dikey();
        strip_ = _tr_arayuz_sekmeler();
        ASSERT_GE(strip_, 0);
        ASSERT_EQ(0, _tr_arayuz_pakle(root_, strip_, 1, 1, 0));
        for (int64_t& page : pages_) page = _tr_arayuz_kutu_dikey();
        button_ = _tr_arayuz_dugme("Tamam", 5);
        ASSERT_EQ(0, _tr_arayuz_pakle(pages_[1], button_, 1, 1, 0));
        ASSERT_EQ(0, sekme_ekle(strip_, pages_[0], "Birinci sayfa", true));
        ASSERT_EQ(1, sekme_ekle(strip_, pages_[1], "Ikinci sayfa", false));
        ASSERT_EQ(2, sekme_ekle(strip_, pages_[2], "Ucuncu sayfa", true));
        ASSERT_EQ(0, _tr_pencere_icerik_ayarla(window_, root_));
        pompala();
        SetWindowSubclass(pencere(root_), bildirim_sayaci, 1, reinterpret_cast<DWORD_PTR>(&notifications_));
    }

    void TearDown() override {
        RemoveWindowSubclass(pencere(root_), bildirim_sayaci, 1);
        _tr_arayuz_widget_gizle(root_);
        pompala();
    }

    void yalniz_gorunur(int shown) {
        for (int k = 0; k < 3; ++k) EXPECT_EQ(k == shown, gorunur(pages_[k])) << "page " << k;
    }

    int64_t window_ = -1;
    int64_t root_ = -1;
    int64_t strip_ = -1;
    int64_t pages_[3] = {-1, -1, -1};
    int64_t button_ = -1;
    int notifications_ = 0;
};

TEST_F(SekmeTiklama, a_click_on_another_tab_shows_its_page_fitted_and_laid_out) {
    ASSERT_EQ(0, _tr_arayuz_sekme_secili(strip_));
    yalniz_gorunur(0);
    EXPECT_EQ(0, _tr_arayuz_sekme_degisti_mi(strip_));
    // Squeeze the page so that only the switch can bring it back to the display area.
    MoveWindow(pencere(pages_[1]), 0, 0, 10, 10, TRUE);

    tikla(strip_, baslik_noktasi(strip_, 1));

    EXPECT_EQ(1, _tr_arayuz_sekme_secili(strip_));
    yalniz_gorunur(1);
    EXPECT_EQ(1, notifications_);
    EXPECT_EQ(1, _tr_arayuz_sekme_degisti_mi(strip_));
    EXPECT_EQ(0, _tr_arayuz_sekme_degisti_mi(strip_));
    EXPECT_EQ(-1, _tr_arayuz_sekme_kapandi_mi(strip_));
    const RECT area = gosterim_alani(strip_);
    esit_dikdortgen(area, ebeveyndeki_konum(pencere(pages_[1])));
    RECT button = {};
    GetClientRect(pencere(button_), &button);
    EXPECT_EQ(area.right - area.left, button.right);
    EXPECT_EQ(area.bottom - area.top, button.bottom);

    // The title of a closable tab selects it like any other tab.
    tikla(strip_, baslik_noktasi(strip_, 2));
    EXPECT_EQ(2, _tr_arayuz_sekme_secili(strip_));
    yalniz_gorunur(2);
    EXPECT_EQ(2, notifications_);
    EXPECT_EQ(1, _tr_arayuz_sekme_degisti_mi(strip_));
    EXPECT_EQ(-1, _tr_arayuz_sekme_kapandi_mi(strip_));
}

TEST_F(SekmeTiklama, a_click_on_the_selected_tab_changes_nothing) {
    tikla(strip_, baslik_noktasi(strip_, 0));
    EXPECT_EQ(0, _tr_arayuz_sekme_secili(strip_));
    EXPECT_EQ(0, notifications_);
    EXPECT_EQ(0, _tr_arayuz_sekme_degisti_mi(strip_));
    yalniz_gorunur(0);
}

TEST_F(SekmeTiklama, a_click_on_a_close_mark_requests_the_close_and_keeps_the_selection) {
    tikla(strip_, x_noktasi(strip_, 2));
    EXPECT_EQ(2, _tr_arayuz_sekme_kapandi_mi(strip_));
    EXPECT_EQ(-1, _tr_arayuz_sekme_kapandi_mi(strip_));
    EXPECT_EQ(0, _tr_arayuz_sekme_secili(strip_));
    EXPECT_EQ(0, _tr_arayuz_sekme_degisti_mi(strip_));
    EXPECT_EQ(0, notifications_);
    yalniz_gorunur(0);
    EXPECT_EQ(3, _tr_arayuz_sekme_sayisi(strip_));

    // The last pixels of the tab, right of the "x", belong to the mark too; so does
    // the mark of the selected tab.
    const RECT item = oge_dikdortgeni(strip_, 0);
    tikla(strip_, {item.right - 2, (item.top + item.bottom) / 2});
    EXPECT_EQ(0, _tr_arayuz_sekme_kapandi_mi(strip_));
    EXPECT_EQ(0, _tr_arayuz_sekme_secili(strip_));
}

TEST_F(SekmeTiklama, the_same_click_on_a_plain_tab_selects_it_and_requests_nothing) {
    tikla(strip_, x_noktasi(strip_, 1));
    EXPECT_EQ(-1, _tr_arayuz_sekme_kapandi_mi(strip_));
    EXPECT_EQ(1, _tr_arayuz_sekme_secili(strip_));
    EXPECT_EQ(1, _tr_arayuz_sekme_degisti_mi(strip_));
    EXPECT_EQ(1, notifications_);
    yalniz_gorunur(1);

    // A middle click on a plain tab requests nothing either.
    tikla(strip_, baslik_noktasi(strip_, 1), WM_MBUTTONDOWN, WM_MBUTTONUP);
    EXPECT_EQ(-1, _tr_arayuz_sekme_kapandi_mi(strip_));
}

TEST_F(SekmeTiklama, a_middle_click_on_a_closable_tab_requests_its_close) {
    tikla(strip_, baslik_noktasi(strip_, 2), WM_MBUTTONDOWN, WM_MBUTTONUP);
    EXPECT_EQ(2, _tr_arayuz_sekme_kapandi_mi(strip_));
    EXPECT_EQ(-1, _tr_arayuz_sekme_kapandi_mi(strip_));
    EXPECT_EQ(0, _tr_arayuz_sekme_secili(strip_));
    yalniz_gorunur(0);
}

TEST_F(SekmeTiklama, closing_tabs_one_after_another_by_their_marks) {
    // What the browser does with each request: remove the tab, whose place the next
    // tab takes; a quick second click arrives as a double click.
    tikla(strip_, x_noktasi(strip_, 0));
    ASSERT_EQ(0, _tr_arayuz_sekme_kapandi_mi(strip_));
    ASSERT_EQ(0, _tr_arayuz_sekme_kaldir(strip_, 0));
    pompala();
    EXPECT_EQ(std::vector<std::wstring>({L"Ikinci sayfa", L"Ucuncu sayfa  x"}), sekme_metinleri(strip_));
    tikla(strip_, x_noktasi(strip_, 1), WM_LBUTTONDBLCLK, WM_LBUTTONUP);
    EXPECT_EQ(1, _tr_arayuz_sekme_kapandi_mi(strip_));
    EXPECT_EQ(0, _tr_arayuz_sekme_secili(strip_));
}

TEST_F(SekmeTiklama, a_closable_tab_has_its_mark_at_its_right_end_whatever_its_title) {
    ASSERT_EQ(0, baslik_ayarla(strip_, 2, ""));
    pompala();
    const RECT item = oge_dikdortgeni(strip_, 2);
    const LONG middle_y = (item.top + item.bottom) / 2;
    tikla(strip_, x_noktasi(strip_, 2));
    EXPECT_EQ(2, _tr_arayuz_sekme_kapandi_mi(strip_));
    tikla(strip_, {item.right - 2, middle_y});
    EXPECT_EQ(2, _tr_arayuz_sekme_kapandi_mi(strip_));
    EXPECT_EQ(0, _tr_arayuz_sekme_secili(strip_));
    // The middle of the tab, where a centred "  x" would stand, selects it.
    tikla(strip_, {(item.left + item.right) / 2, middle_y});
    EXPECT_EQ(-1, _tr_arayuz_sekme_kapandi_mi(strip_));
    EXPECT_EQ(2, _tr_arayuz_sekme_secili(strip_));
}

// A tab's rectangle whether or not it is scrolled into the row (the control then
// answers false, but fills the rectangle in all the same).
RECT sirada_olmasa_da(int64_t strip, int index) {
    RECT rect = {};
    SendMessageW(pencere(strip), TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

// Widths of the tabs, from the control's item rectangles.
std::vector<LONG> genislikler(int64_t strip) {
    std::vector<LONG> widths;
    const int count = static_cast<int>(SendMessageW(pencere(strip), TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const RECT item = sirada_olmasa_da(strip, i);
        widths.push_back(item.right - item.left);
    }
    return widths;
}

// Whether the control shows its arrows for scrolling the row.
bool oklar_gorunur(int64_t strip) {
    HWND arrows = FindWindowExW(pencere(strip), nullptr, UPDOWN_CLASSW, nullptr);
    return arrows != nullptr && IsWindowVisible(arrows);
}

TEST_F(SekmeTiklama, tabs_share_the_strip_and_scroll_once_at_their_narrowest) {
    RECT client;
    GetClientRect(pencere(strip_), &client);
    EXPECT_EQ(std::vector<LONG>(3, 200), genislikler(strip_));
    EXPECT_FALSE(oklar_gorunur(strip_));

    // Nine tabs share the width, every one of them in the row.
    std::vector<int64_t> extra;
    while (_tr_arayuz_sekme_sayisi(strip_) < 9) {
        extra.push_back(_tr_arayuz_kutu_dikey());
        sekme_ekle(strip_, extra.back(), "Bir sayfa daha", true);
    }
    pompala();
    const LONG shared = (client.right - 4) / 9;
    ASSERT_LT(shared, 200);
    EXPECT_EQ(std::vector<LONG>(9, shared), genislikler(strip_));
    EXPECT_LE(oge_dikdortgeni(strip_, 8).right, client.right);
    EXPECT_FALSE(oklar_gorunur(strip_));

    // Past the narrowest width the row scrolls: its arrows show, and the last tab
    // selected comes into the row.
    while (_tr_arayuz_sekme_sayisi(strip_) < 20) {
        extra.push_back(_tr_arayuz_kutu_dikey());
        sekme_ekle(strip_, extra.back(), "Bir sayfa daha", true);
    }
    pompala();
    EXPECT_EQ(std::vector<LONG>(20, 72), genislikler(strip_));
    EXPECT_GT(sirada_olmasa_da(strip_, 19).right, client.right);
    EXPECT_TRUE(oklar_gorunur(strip_));
    _tr_arayuz_sekme_sec(strip_, 19);
    pompala();
    const RECT last = oge_dikdortgeni(strip_, 19);
    EXPECT_GE(last.left, 0);
    EXPECT_LT(last.left, client.right);

    // Back to three: full width again, no arrows.
    while (_tr_arayuz_sekme_sayisi(strip_) > 3) _tr_arayuz_sekme_kaldir(strip_, 3);
    pompala();
    EXPECT_EQ(std::vector<LONG>(3, 200), genislikler(strip_));
    EXPECT_FALSE(oklar_gorunur(strip_));
}

// Counts the paints a strip is sent.
LRESULT CALLBACK boyama_sayaci(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                               DWORD_PTR count) {
    if (message == WM_PAINT) ++*reinterpret_cast<int*>(count);
    return DefSubclassProc(hwnd, message, wparam, lparam);
}

// Tabs added one after another, as a kept session opens them, are not painted one
// by one: the strip is painted at the next paint, the tabs in their final width,
// which anyone asking for a tab's place before that already gets.
TEST_F(SekmeTiklama, tabs_added_one_after_another_are_painted_later_in_their_final_width) {
    int paints = 0;
    SetWindowSubclass(pencere(strip_), boyama_sayaci, 3, reinterpret_cast<DWORD_PTR>(&paints));
    std::vector<int64_t> extra;
    while (_tr_arayuz_sekme_sayisi(strip_) < 8) {
        extra.push_back(_tr_arayuz_kutu_dikey());
        sekme_ekle(strip_, extra.back(), "Bekleyen sayfa", true);
    }
    EXPECT_EQ(0, paints);
    pompala();
    EXPECT_GE(paints, 1);
    EXPECT_FALSE(GetUpdateRect(pencere(strip_), nullptr, FALSE));
    RECT client;
    GetClientRect(pencere(strip_), &client);
    EXPECT_EQ(std::vector<LONG>(8, (client.right - 4) / 8), genislikler(strip_));

    // Asked before any paint, the places are those of the tabs there are.
    extra.push_back(_tr_arayuz_kutu_dikey());
    sekme_ekle(strip_, extra.back(), "Bekleyen sayfa", true);
    EXPECT_EQ(std::vector<LONG>(9, (client.right - 4) / 9), genislikler(strip_));
    RemoveWindowSubclass(pencere(strip_), boyama_sayaci, 3);
}

// The text of the strip's tooltip, found among the thread's tooltip windows by its
// tool on the strip; "<none>" when the strip has none.
std::wstring ipucu_metni(int64_t strip) {
    struct Arama {
        HWND strip;
        std::wstring text = L"<none>";
    } search{pencere(strip)};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM data) -> BOOL {
            auto* found = reinterpret_cast<Arama*>(data);
            wchar_t class_name[64] = {};
            GetClassNameW(hwnd, class_name, 64);
            if (lstrcmpiW(class_name, TOOLTIPS_CLASSW) != 0) return TRUE;
            static wchar_t text[4096];
            text[0] = L'\0';
            TTTOOLINFOW tool = {};
            tool.cbSize = sizeof(tool);
            tool.hwnd = found->strip;
            tool.uId = 1;
            if (!SendMessageW(hwnd, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) return TRUE;
            tool.lpszText = text;
            SendMessageW(hwnd, TTM_GETTEXTW, 4096, reinterpret_cast<LPARAM>(&tool));
            found->text = text;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.text;
}

void fareyi_gotur(int64_t strip, POINT at) {
    SendMessageW(pencere(strip), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    pompala();
}

TEST_F(SekmeTiklama, a_cut_title_shows_whole_in_the_tooltip_of_its_tab) {
    // Titles that fit need no tooltip.
    fareyi_gotur(strip_, baslik_noktasi(strip_, 1));
    EXPECT_EQ(L"<none>", ipucu_metni(strip_));

    const std::string long_title = "Cok uzun bir sayfa basligi, sekmeye sigmayacak kadar uzun bir baslik";
    ASSERT_EQ(0, baslik_ayarla(strip_, 2, long_title));
    fareyi_gotur(strip_, baslik_noktasi(strip_, 2));
    EXPECT_EQ(std::wstring(long_title.begin(), long_title.end()), ipucu_metni(strip_));
    fareyi_gotur(strip_, baslik_noktasi(strip_, 0));
    EXPECT_EQ(L"", ipucu_metni(strip_));
}

// A pixel of the strip as it draws itself into a picture of its own.
COLORREF piksel(int64_t strip, POINT at) {
    return korva_test::PencereResmi(pencere(strip)).piksel(at.x, at.y);
}

TEST_F(SekmeTiklama, the_selected_tab_is_drawn_in_the_theme_apart_from_the_others) {
    _tr_arayuz_sekme_sec(strip_, 1);
    pompala();
    for (int index = 0; index < 3; ++index) {
        const RECT item = oge_dikdortgeni(strip_, index);
        // Left of the title, low in the tab; and the middle of its top edge.
        const COLORREF body = piksel(strip_, {item.left + 3, item.bottom - 3});
        const COLORREF top = piksel(strip_, {(item.left + item.right) / 2, item.top});
        if (index == 1) {
            EXPECT_EQ(RGB(0x1E, 0x1E, 0x2E), body);
            EXPECT_EQ(RGB(0x89, 0xB4, 0xFA), top);
        } else {
            EXPECT_EQ(RGB(0x11, 0x11, 0x1B), body) << "tab " << index;
            EXPECT_EQ(RGB(0x11, 0x11, 0x1B), top) << "tab " << index;
        }
    }
}

// The tab control notifies the window it was made under, for good; the selection
// must still reach the box the strip is in now.
TEST_F(SekmeTiklama, a_strip_moved_to_another_box_notifies_the_box_it_is_in_now) {
    _tr_arayuz_widget_gizle(root_);
    const int64_t other_root = _tr_arayuz_kutu_dikey();
    ASSERT_EQ(0, _tr_arayuz_pakle(other_root, strip_, 1, 1, 0));
    ASSERT_EQ(0, _tr_pencere_icerik_ayarla(window_, other_root));
    pompala();
    int other_notifications = 0;
    SetWindowSubclass(pencere(other_root), bildirim_sayaci, 1, reinterpret_cast<DWORD_PTR>(&other_notifications));

    tikla(strip_, baslik_noktasi(strip_, 1));

    EXPECT_EQ(1, other_notifications);
    EXPECT_EQ(0, notifications_);
    EXPECT_EQ(1, _tr_arayuz_sekme_degisti_mi(strip_));
    yalniz_gorunur(1);
    RemoveWindowSubclass(pencere(other_root), bildirim_sayaci, 1);
    _tr_arayuz_widget_gizle(other_root);
}

// Every page's visibility changes, in order, as (page widget, shown) pairs.
std::vector<std::pair<int64_t, bool>> gorunum_degisimleri;

LRESULT CALLBACK gorunum_kaydedici(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                   DWORD_PTR page) {
    if (message == WM_SHOWWINDOW) gorunum_degisimleri.emplace_back(static_cast<int64_t>(page), wparam != 0);
    return DefSubclassProc(hwnd, message, wparam, lparam);
}

// Moving from page 0 to page 1 shows page 1 before page 0 is hidden, so the strip
// never has its display area uncovered: by a program's selection, by a user's click
// and by removing the selected tab.
class SekmeGosterimSirasi : public SekmeTiklama, public ::testing::WithParamInterface<int> {};

TEST_P(SekmeGosterimSirasi, the_new_page_is_shown_before_the_old_one_is_hidden) {
    for (int64_t page : pages_) {
        SetWindowSubclass(pencere(page), gorunum_kaydedici, 2, static_cast<DWORD_PTR>(page));
    }
    gorunum_degisimleri.clear();
    switch (GetParam()) {
    case 0:
        _tr_arayuz_sekme_sec(strip_, 1);
        break;
    case 1:
        tikla(strip_, baslik_noktasi(strip_, 1));
        break;
    default:
        _tr_arayuz_sekme_kaldir(strip_, 0);
        break;
    }
    const std::vector<std::pair<int64_t, bool>> expected = {{pages_[1], true}, {pages_[0], false}};
    EXPECT_EQ(expected, gorunum_degisimleri);
    for (int64_t page : pages_) RemoveWindowSubclass(pencere(page), gorunum_kaydedici, 2);
}

INSTANTIATE_TEST_SUITE_P(SecmeTiklamaKaldirma, SekmeGosterimSirasi, ::testing::Values(0, 1, 2));

// ---- Without clicks -------------------------------------------------------------

// A strip of its own (outside any window) with `count` pages, each a vertical box.
struct SerbestSerit {
    explicit SerbestSerit(int count, std::vector<bool> closable = {}) {
        strip = _tr_arayuz_sekmeler();
        for (int i = 0; i < count; ++i) {
            pages.push_back(_tr_arayuz_kutu_dikey());
            const bool mark = i < static_cast<int>(closable.size()) && closable[i];
            titles.push_back(std::wstring(L"Sekme ") + static_cast<wchar_t>(L'A' + i));
            const std::string title = std::string("Sekme ") + static_cast<char>('A' + i);
            EXPECT_EQ(i, sekme_ekle(strip, pages.back(), title, mark));
        }
    }
    ~SerbestSerit() { _tr_arayuz_widget_gizle(strip); }

    // Index of the only visible page, -1 when none, -2 when several.
    int gorunen_sayfa() const {
        int shown = -1;
        for (size_t k = 0; k < pages.size(); ++k) {
            if (!gorunur(pages[k])) continue;
            shown = shown == -1 ? static_cast<int>(k) : -2;
        }
        return shown;
    }

    int64_t strip;
    std::vector<int64_t> pages;
    std::vector<std::wstring> titles;
};

TEST(SekmeEkleme, the_first_tab_is_selected_and_shown_later_ones_hidden_without_a_change) {
    SerbestSerit serit(1);
    EXPECT_EQ(0, _tr_arayuz_sekme_secili(serit.strip));
    EXPECT_EQ(0, serit.gorunen_sayfa());
    esit_dikdortgen(gosterim_alani(serit.strip), ebeveyndeki_konum(pencere(serit.pages[0])));
    EXPECT_EQ(pencere(serit.strip), GetParent(pencere(serit.pages[0])));

    const int64_t second = _tr_arayuz_kutu_dikey();
    EXPECT_EQ(1, sekme_ekle(serit.strip, second, "Ikinci", false));
    EXPECT_EQ(0, _tr_arayuz_sekme_secili(serit.strip));
    EXPECT_FALSE(gorunur(second));
    EXPECT_EQ(0, serit.gorunen_sayfa());
    esit_dikdortgen(gosterim_alani(serit.strip), ebeveyndeki_konum(pencere(second)));
    EXPECT_EQ(0, _tr_arayuz_sekme_degisti_mi(serit.strip));
    EXPECT_EQ(2, _tr_arayuz_sekme_sayisi(serit.strip));
}

// One page may stand for several tabs: adding another tab with the selected tab's
// page leaves that page shown.
TEST(SekmeEkleme, a_page_shared_with_the_selected_tab_stays_shown) {
    SerbestSerit serit(1);
    EXPECT_EQ(1, sekme_ekle(serit.strip, serit.pages[0], "Ayni sayfa", true));
    EXPECT_EQ(0, _tr_arayuz_sekme_secili(serit.strip));
    EXPECT_TRUE(gorunur(serit.pages[0]));
    const int64_t other = _tr_arayuz_kutu_dikey();
    EXPECT_EQ(2, sekme_ekle(serit.strip, other, "Baska", false));
    EXPECT_EQ(0, _tr_arayuz_sekme_sec(serit.strip, 2));
    EXPECT_EQ(0, _tr_arayuz_sekme_kapatmali_araya_ekle(serit.strip, 0, serit.pages[0], "Yine", 4));
    EXPECT_EQ(3, _tr_arayuz_sekme_secili(serit.strip));
    EXPECT_FALSE(gorunur(serit.pages[0]));
    EXPECT_TRUE(gorunur(other));
}

TEST(SekmeEkleme, refuses_bad_ids_and_pages_that_would_hold_the_strip) {
    SerbestSerit serit(1);
    const int64_t box = _tr_arayuz_kutu_dikey();
    ASSERT_EQ(0, _tr_arayuz_pakle(box, serit.strip, 1, 1, 0));
    EXPECT_EQ(-1, sekme_ekle(-1, serit.pages[0], "x", false));
    EXPECT_EQ(-1, sekme_ekle(4096, serit.pages[0], "x", true));
    EXPECT_EQ(-1, sekme_ekle(serit.strip, -1, "x", false));
    EXPECT_EQ(-1, sekme_ekle(serit.strip, 4096, "x", true));
    // The strip as its own page, or the box that holds it, would make the strip its
    // own ancestor.
    EXPECT_EQ(-1, sekme_ekle(serit.strip, serit.strip, "x", false));
    EXPECT_EQ(-1, sekme_ekle(serit.strip, box, "x", true));
    EXPECT_EQ(1, _tr_arayuz_sekme_sayisi(serit.strip));
    EXPECT_EQ(std::vector<std::wstring>({L"Sekme A"}), sekme_metinleri(serit.strip));
    EXPECT_NE(pencere(serit.strip), GetParent(pencere(box)));
}

TEST(SekmeEkleme, refuses_a_page_whose_layout_still_lists_the_strip) {
    SerbestSerit serit(1);
    const int64_t first_box = _tr_arayuz_kutu_dikey();
    const int64_t second_box = _tr_arayuz_kutu_dikey();
    ASSERT_EQ(0, _tr_arayuz_pakle(first_box, serit.strip, 1, 1, 0));
    // Moved on natively, still a child entry of the first box: laying that box out as
    // a page would lay out the strip, and so the box again.
    ASSERT_EQ(0, _tr_arayuz_pakle(second_box, serit.strip, 1, 1, 0));
    ASSERT_FALSE(IsChild(pencere(first_box), pencere(serit.strip)));
    EXPECT_EQ(-1, sekme_ekle(serit.strip, first_box, "x", false));
    EXPECT_EQ(1, _tr_arayuz_sekme_sayisi(serit.strip));
}

TEST(SekmeEkleme, a_full_strip_of_256_tabs_refuses_more) {
    SerbestSerit serit(0);
    const int64_t page = _tr_arayuz_kutu_dikey();
    for (int i = 0; i < 256; ++i) ASSERT_EQ(i, sekme_ekle(serit.strip, page, "s", i % 2 == 0));
    EXPECT_EQ(-1, sekme_ekle(serit.strip, page, "fazla", false));
    EXPECT_EQ(-1, sekme_ekle(serit.strip, page, "fazla", true));
    EXPECT_EQ(256, _tr_arayuz_sekme_sayisi(serit.strip));
    EXPECT_EQ(256, SendMessageW(pencere(serit.strip), TCM_GETITEMCOUNT, 0, 0));
    // The last place still holds the last tab added.
    EXPECT_EQ(0, baslik_ayarla(serit.strip, 255, "son"));
    EXPECT_EQ(L"son", sekme_metni(serit.strip, 255));
}

TEST(SekmeEkleme, with_nothing_selected_a_new_tab_is_selected_and_its_page_shown) {
    SerbestSerit serit(2);
    ASSERT_EQ(0, _tr_arayuz_sekme_sec(serit.strip, -1));
    ASSERT_EQ(-1, _tr_arayuz_sekme_secili(serit.strip));
    const int64_t third = _tr_arayuz_kutu_dikey();
    serit.pages.push_back(third);
    EXPECT_EQ(2, sekme_ekle(serit.strip, third, "Ucuncu", false));
    EXPECT_EQ(2, _tr_arayuz_sekme_secili(serit.strip));
    EXPECT_EQ(2, serit.gorunen_sayfa());
}

TEST(SekmeSecim, selecting_shows_only_that_page_and_reports_one_change) {
    SerbestSerit serit(3);
    EXPECT_EQ(0, _tr_arayuz_sekme_sec(serit.strip, 1));
    EXPECT_EQ(1, _tr_arayuz_sekme_secili(serit.strip));
    EXPECT_EQ(1, serit.gorunen_sayfa());
    EXPECT_EQ(1, _tr_arayuz_sekme_degisti_mi(serit.strip));
    EXPECT_EQ(0, _tr_arayuz_sekme_degisti_mi(serit.strip));

    // An index outside the strip hides every page and still reports a change.
    EXPECT_EQ(0, _tr_arayuz_sekme_sec(serit.strip, 3));
    EXPECT_EQ(-1, serit.gorunen_sayfa());
    EXPECT_EQ(1, _tr_arayuz_sekme_degisti_mi(serit.strip));
    EXPECT_EQ(0, _tr_arayuz_sekme_sec(serit.strip, -5));
    EXPECT_EQ(-1, serit.gorunen_sayfa());
    EXPECT_EQ(1, _tr_arayuz_sekme_degisti_mi(serit.strip));

    EXPECT_EQ(-1, _tr_arayuz_sekme_sec(-1, 0));
    EXPECT_EQ(-1, _tr_arayuz_sekme_sec(4096, 0));
}

TEST(SekmeSecim, invalid_ids_and_an_idle_strip_give_the_failure_values) {
    SerbestSerit serit(1, {true});
    EXPECT_EQ(0, _tr_arayuz_sekme_sayisi(-1));
    EXPECT_EQ(-1, _tr_arayuz_sekme_secili(-1));
    EXPECT_EQ(-1, _tr_arayuz_sekme_kapandi_mi(-1));
    EXPECT_EQ(0, _tr_arayuz_sekme_sayisi(4096));
    EXPECT_EQ(-1, _tr_arayuz_sekme_secili(4096));
    EXPECT_EQ(-1, _tr_arayuz_sekme_kapandi_mi(4096));
    EXPECT_EQ(-1, _tr_arayuz_sekme_kaldir(-1, 0));
    EXPECT_EQ(-1, baslik_ayarla(-1, 0, "x"));
    EXPECT_EQ(-1, _tr_arayuz_sekme_kapandi_mi(serit.strip));
    EXPECT_EQ(-1, _tr_arayuz_sekme_kapandi_mi(serit.strip));
    EXPECT_EQ(1, _tr_arayuz_sekme_sayisi(serit.strip));
}

TEST(SekmeKaldirma, three_tabs_any_removal_with_any_selection) {
    for (int removed = 0; removed < 3; ++removed) {
        for (int selected = 0; selected < 3; ++selected) {
            SCOPED_TRACE("removed " + std::to_string(removed) + ", selected " + std::to_string(selected));
            SerbestSerit serit(3, {true, false, true});
            ASSERT_EQ(0, _tr_arayuz_sekme_sec(serit.strip, selected));
            ASSERT_EQ(1, _tr_arayuz_sekme_degisti_mi(serit.strip));

            ASSERT_EQ(0, _tr_arayuz_sekme_kaldir(serit.strip, removed));

            std::vector<int> left;  // original indices of the remaining tabs, in order
            for (int k = 0; k < 3; ++k)
                if (k != removed) left.push_back(k);
            const int new_selection = removed < 2 ? removed : 1;
            EXPECT_EQ(2, _tr_arayuz_sekme_sayisi(serit.strip));
            EXPECT_EQ(new_selection, _tr_arayuz_sekme_secili(serit.strip));
            EXPECT_EQ(left[new_selection], serit.gorunen_sayfa());
            EXPECT_EQ(0, _tr_arayuz_sekme_degisti_mi(serit.strip));
            const std::wstring mark[3] = {L"  x", L"", L"  x"};
            EXPECT_EQ(std::vector<std::wstring>({serit.titles[left[0]] + mark[left[0]],
                                                 serit.titles[left[1]] + mark[left[1]]}),
                      sekme_metinleri(serit.strip));
            // The pages moved with their tabs.
            for (int i = 0; i < 2; ++i) {
                ASSERT_EQ(0, _tr_arayuz_sekme_sec(serit.strip, i));
                EXPECT_EQ(left[i], serit.gorunen_sayfa()) << "tab " << i;
            }
            // So did the close marks: renaming keeps or omits them by the tab.
            for (int i = 0; i < 2; ++i) ASSERT_EQ(0, baslik_ayarla(serit.strip, i, "Yeni"));
            EXPECT_EQ(std::vector<std::wstring>({L"Yeni" + mark[left[0]], L"Yeni" + mark[left[1]]}),
                      sekme_metinleri(serit.strip));
        }
    }
}

TEST(SekmeKaldirma, the_only_tab_leaves_an_empty_strip_that_takes_new_tabs) {
    SerbestSerit serit(1, {true});
    EXPECT_EQ(0, _tr_arayuz_sekme_kaldir(serit.strip, 0));
    EXPECT_EQ(0, _tr_arayuz_sekme_sayisi(serit.strip));
    EXPECT_EQ(-1, _tr_arayuz_sekme_secili(serit.strip));
    EXPECT_EQ(-1, serit.gorunen_sayfa());
    EXPECT_EQ(0, SendMessageW(pencere(serit.strip), TCM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(-1, _tr_arayuz_sekme_kaldir(serit.strip, 0));

    // The page stays a child of the strip and can come back as a plain tab.
    EXPECT_EQ(pencere(serit.strip), GetParent(pencere(serit.pages[0])));
    EXPECT_EQ(0, sekme_ekle(serit.strip, serit.pages[0], "Geri", false));
    EXPECT_EQ(0, serit.gorunen_sayfa());
    EXPECT_EQ(0, baslik_ayarla(serit.strip, 0, "Geri geldi"));
    EXPECT_EQ(L"Geri geldi", sekme_metni(serit.strip, 0));
}

TEST(SekmeKaldirma, indices_outside_the_strip_change_nothing) {
    SerbestSerit serit(3, {false, true, false});
    ASSERT_EQ(0, _tr_arayuz_sekme_sec(serit.strip, 2));
    const std::vector<std::wstring> before = sekme_metinleri(serit.strip);
    EXPECT_EQ(-1, _tr_arayuz_sekme_kaldir(serit.strip, -1));
    EXPECT_EQ(-1, _tr_arayuz_sekme_kaldir(serit.strip, 3));
    EXPECT_EQ(3, _tr_arayuz_sekme_sayisi(serit.strip));
    EXPECT_EQ(2, _tr_arayuz_sekme_secili(serit.strip));
    EXPECT_EQ(2, serit.gorunen_sayfa());
    EXPECT_EQ(before, sekme_metinleri(serit.strip));
}

TEST(SekmeMetin, closable_tabs_show_their_title_then_two_spaces_and_x) {
    SerbestSerit serit(0);
    const int64_t page = _tr_arayuz_kutu_dikey();
    ASSERT_EQ(0, sekme_ekle(serit.strip, page, "Yeni Sekme", true));
    ASSERT_EQ(1, sekme_ekle(serit.strip, page, "Duz", false));
    EXPECT_EQ(std::vector<std::wstring>({L"Yeni Sekme  x", L"Duz"}), sekme_metinleri(serit.strip));

    EXPECT_EQ(0, baslik_ayarla(serit.strip, 0, "Hizli Erisim"));
    EXPECT_EQ(0, baslik_ayarla(serit.strip, 1, "Hizli Erisim"));
    EXPECT_EQ(std::vector<std::wstring>({L"Hizli Erisim  x", L"Hizli Erisim"}), sekme_metinleri(serit.strip));

    EXPECT_EQ(0, baslik_ayarla(serit.strip, 0, ""));
    EXPECT_EQ(0, _tr_arayuz_sekme_baslik_ayarla(serit.strip, 1, nullptr, 0));
    EXPECT_EQ(std::vector<std::wstring>({L"  x", L""}), sekme_metinleri(serit.strip));

    // UTF-8 titles arrive as UTF-16; a zero byte ends a title.
    EXPECT_EQ(0, baslik_ayarla(serit.strip, 0, "G\xC3\xBCn\xC3\xBC"));
    EXPECT_EQ(0, baslik_ayarla(serit.strip, 1, std::string("ab\0cd", 5)));
    EXPECT_EQ(std::vector<std::wstring>({L"G\u00FCn\u00FC  x", L"ab"}), sekme_metinleri(serit.strip));

    // An index outside the strip is accepted and changes no tab.
    EXPECT_EQ(0, baslik_ayarla(serit.strip, 2, "Yok"));
    EXPECT_EQ(0, baslik_ayarla(serit.strip, -1, "Yok"));
    EXPECT_EQ(std::vector<std::wstring>({L"G\u00FCn\u00FC  x", L"ab"}), sekme_metinleri(serit.strip));
}

}  // namespace

// The pixels of a tab's left end, where a sound mark goes, as the strip paints them.
std::vector<COLORREF> isaret_alani(int64_t strip, int index) {
    const RECT item = oge_dikdortgeni(strip, index);
    const korva_test::PencereResmi resim(pencere(strip));
    std::vector<COLORREF> pikseller;
    for (LONG y = item.top; y < item.bottom; ++y)
        for (LONG x = item.left; x < item.left + 30; ++x) pikseller.push_back(resim.piksel(x, y));
    return pikseller;
}

TEST_F(SekmeTiklama, a_sound_mark_is_drawn_moves_with_its_tab_and_reports_its_clicks) {
    const std::vector<COLORREF> yok = isaret_alani(strip_, 2);
    EXPECT_EQ(0, _tr_arayuz_sekme_ses_isareti_koy(strip_, 2, 1));
    pompala();
    const std::vector<COLORREF> calan = isaret_alani(strip_, 2);
    EXPECT_EQ(0, _tr_arayuz_sekme_ses_isareti_koy(strip_, 2, 2));
    pompala();
    EXPECT_NE(yok, calan);
    EXPECT_NE(calan, isaret_alani(strip_, 2));
    EXPECT_EQ(2, _tr_arayuz_sekme_ses_isareti(strip_, 2));

    // A click on the mark is reported once and selects nothing; one on the title
    // of a tab without a mark selects as before.
    const RECT isaretli = oge_dikdortgeni(strip_, 2);
    tikla(strip_, {isaretli.left + 12, (isaretli.top + isaretli.bottom) / 2});
    EXPECT_EQ(2, _tr_arayuz_sekme_ses_tiklandi_mi(strip_));
    EXPECT_EQ(-1, _tr_arayuz_sekme_ses_tiklandi_mi(strip_));
    EXPECT_EQ(0, _tr_arayuz_sekme_secili(strip_));
    tikla(strip_, {oge_dikdortgeni(strip_, 1).left + 12, oge_dikdortgeni(strip_, 1).top + 5});
    EXPECT_EQ(-1, _tr_arayuz_sekme_ses_tiklandi_mi(strip_));
    EXPECT_EQ(1, _tr_arayuz_sekme_secili(strip_));

    // A right click asks for the tab's menu.
    tikla(strip_, baslik_noktasi(strip_, 0), WM_RBUTTONDOWN, WM_RBUTTONUP);
    EXPECT_EQ(0, _tr_arayuz_sekme_menu_istendi_mi(strip_));
    EXPECT_EQ(-1, _tr_arayuz_sekme_menu_istendi_mi(strip_));

    // The mark moves with its tab when one before it goes; a new tab has none.
    ASSERT_EQ(0, _tr_arayuz_sekme_kaldir(strip_, 0));
    EXPECT_EQ(2, _tr_arayuz_sekme_ses_isareti(strip_, 1));
    EXPECT_EQ(0, _tr_arayuz_sekme_ses_isareti(strip_, 0));
    ASSERT_EQ(0, _tr_arayuz_sekme_kapatmali_araya_ekle(strip_, 0, pages_[0], "Birinci sayfa", 13));
    EXPECT_EQ(0, _tr_arayuz_sekme_ses_isareti(strip_, 0));
    EXPECT_EQ(2, _tr_arayuz_sekme_ses_isareti(strip_, 2));

    // Bad input: no strip, no such tab, no such kind.
    EXPECT_EQ(-1, _tr_arayuz_sekme_ses_isareti_koy(strip_, 3, 1));
    EXPECT_EQ(-1, _tr_arayuz_sekme_ses_isareti_koy(strip_, -1, 1));
    EXPECT_EQ(-1, _tr_arayuz_sekme_ses_isareti_koy(strip_, 0, 3));
    EXPECT_EQ(-1, _tr_arayuz_sekme_ses_isareti_koy(button_, 0, 1));
    EXPECT_EQ(-1, _tr_arayuz_sekme_ses_isareti_koy(-7, 0, 1));
    EXPECT_EQ(-1, _tr_arayuz_sekme_ses_isareti(strip_, 9));
    EXPECT_EQ(-1, _tr_arayuz_sekme_ses_tiklandi_mi(-7));
    EXPECT_EQ(-1, _tr_arayuz_sekme_menu_istendi_mi(99999));
}

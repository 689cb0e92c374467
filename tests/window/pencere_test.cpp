// Top-level windows and the pumps, driven through the window runtime's entry
// points and checked against the native windows. The tests share one process and
// one window table (ids are never reused), so they run in the order written:
// the uninitialised runtime first, the quit message and the full table last.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "tr_olcek.h"
#include "window/pencere_win_cz.h"

namespace {

int64_t pencere_ac(const char* title = "Deneme") {
    return _tr_pencere_olustur(title, static_cast<int64_t>(std::strlen(title)), 640, 480);
}

// The native window behind an id, found through the property the runtime sets.
HWND pencere_hwnd(int64_t id) {
    struct Arama {
        int64_t id;
        HWND found;
    } search = {id, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Arama*>(param);
            wchar_t class_name[32] = {};
            GetClassNameW(hwnd, class_name, 32);
            if (std::wcscmp(class_name, L"TrPencere") == 0 &&
                reinterpret_cast<intptr_t>(GetPropW(hwnd, L"TrPencereId")) == s->id) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring pencere_basligi(HWND hwnd) {
    std::wstring text(GetWindowTextLengthW(hwnd) + 1, L'\0');
    text.resize(GetWindowTextW(hwnd, &text[0], static_cast<int>(text.size())));
    return text;
}

void kuyrugu_bosalt() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// A 16 by 16 icon file with one 32-bit image, written to a temporary file.
std::wstring ikon_dosyasi_yaz() {
    std::vector<unsigned char> file;
    auto put16 = [&](uint16_t v) { file.push_back(v & 0xFF); file.push_back(v >> 8); };
    auto put32 = [&](uint32_t v) { put16(v & 0xFFFF); put16(v >> 16); };
    const uint32_t pixels = 16 * 16 * 4, mask = 16 * 4, image = 40 + pixels + mask;
    put16(0); put16(1); put16(1);                          // icon directory, one image
    file.push_back(16); file.push_back(16); file.push_back(0); file.push_back(0);
    put16(1); put16(32); put32(image); put32(6 + 16);      // directory entry
    put32(40); put32(16); put32(32); put16(1); put16(32);  // BITMAPINFOHEADER (height doubled)
    put32(0); put32(pixels + mask); put32(0); put32(0); put32(0); put32(0);
    for (uint32_t i = 0; i < 16 * 16; ++i) put32(0xFF2080C0);
    for (uint32_t i = 0; i < mask; ++i) file.push_back(0);

    wchar_t folder[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"ico", 0, path);
    HANDLE handle = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(handle, file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
    CloseHandle(handle);
    return path;
}

}  // namespace

TEST(PencereOncesi, pumps_refuse_to_run_before_initialisation) {
    PostThreadMessageW(GetCurrentThreadId(), WM_USER + 7, 0, 0);
    EXPECT_EQ(_tr_pencere_olaylari_isle(), 0);
    EXPECT_EQ(_tr_pencere_calistir(), -1);
    EXPECT_EQ(_tr_pencere_olay_bekle(10), -1);
    MSG message;
    // Neither pump touched the queue: the posted message is still there.
    EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_USER + 7, WM_USER + 7, PM_REMOVE));
    EXPECT_EQ(_tr_pencere_kapatildi_mi(0), 1);
}

TEST(Pencere, creation_gives_hidden_windows_in_order_with_their_titles) {
    EXPECT_EQ(_tr_pencere_baslat(), 0);
    EXPECT_EQ(_tr_pencere_baslat(), 0);

    const int64_t first = pencere_ac("Korva");
    const char turkish[] = "\xC3\x87" "ay g\xC4\x9F\xC3\xBCzel";  // "Çay güzel"
    const int64_t second = pencere_ac(turkish);
    const int64_t empty = _tr_pencere_olustur(nullptr, 5, 300, 200);
    ASSERT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(empty, 2);

    HWND hwnd = pencere_hwnd(first);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_EQ(pencere_basligi(hwnd), L"Korva");
    EXPECT_EQ(pencere_basligi(pencere_hwnd(second)), L"\u00C7ay g\u011F\u00FCzel");
    EXPECT_EQ(pencere_basligi(pencere_hwnd(empty)), L"");
    EXPECT_EQ(_tr_pencere_kapatildi_mi(first), 0);

    RECT outer;
    GetWindowRect(hwnd, &outer);
    EXPECT_EQ(outer.right - outer.left, 640);
    EXPECT_EQ(outer.bottom - outer.top, 480);

    // A title with a zero byte inside ends there.
    EXPECT_EQ(_tr_pencere_baslik_ayarla(first, "Yeni\0gizli", 10), 0);
    EXPECT_EQ(pencere_basligi(hwnd), L"Yeni");

    // A title of megabytes keeps its first 4,096 characters, and a pair of
    // surrogates across that bound is not cut in two.
    const std::string uzun(16 << 20, 'x');
    EXPECT_EQ(_tr_pencere_baslik_ayarla(first, uzun.data(), static_cast<int64_t>(uzun.size())), 0);
    EXPECT_EQ(pencere_basligi(hwnd), std::wstring(4096, L'x'));
    const std::string ciftli = std::string(4095, 'y') + "\xF0\x9F\x98\x80";   // U+1F600 last
    EXPECT_EQ(_tr_pencere_baslik_ayarla(first, ciftli.data(), static_cast<int64_t>(ciftli.size())), 0);
    EXPECT_EQ(pencere_basligi(hwnd), std::wstring(4095, L'y'));
}

TEST(Pencere, size_keeps_the_position_and_show_hide_act_on_the_window) {
    const int64_t id = pencere_ac();
    HWND hwnd = pencere_hwnd(id);
    RECT before;
    GetWindowRect(hwnd, &before);
    EXPECT_EQ(_tr_pencere_boyut_ayarla(id, 500, 400), 0);
    RECT after;
    GetWindowRect(hwnd, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right - after.left, 500);
    EXPECT_EQ(after.bottom - after.top, 400);

    EXPECT_EQ(_tr_pencere_goster(id), 0);  // no content: shown all the same
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(_tr_pencere_gizle(id), 0);
    EXPECT_FALSE(IsWindowVisible(hwnd));
}

TEST(Pencere, ids_outside_the_table_are_refused_everywhere) {
    for (int64_t id : {int64_t{-1}, int64_t{64}, int64_t{1} << 40, INT64_MIN, INT64_MAX}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(_tr_pencere_baslik_ayarla(id, "x", 1), -1);
        EXPECT_EQ(_tr_pencere_boyut_ayarla(id, 10, 10), -1);
        EXPECT_EQ(_tr_pencere_simge_ayarla(id, "x.ico", 5), -1);
        EXPECT_EQ(_tr_pencere_goster(id), -1);
        EXPECT_EQ(_tr_pencere_gizle(id), -1);
        EXPECT_EQ(_tr_pencere_kapat(id), -1);
        EXPECT_EQ(_tr_pencere_tam_ekran(id), -1);
        EXPECT_EQ(_tr_pencere_tam_ekrandan_cik(id), -1);
        EXPECT_EQ(_tr_pencere_icerik_ayarla(id, 0), -1);
        EXPECT_EQ(_tr_pencere_kapatildi_mi(id), 1);
    }
}

TEST(Pencere, the_close_box_hides_and_marks_closed_for_good) {
    const int64_t id = pencere_ac();
    HWND hwnd = pencere_hwnd(id);
    _tr_pencere_goster(id);
    // The system menu's Close is what the close box and Alt+F4 send.
    PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(_tr_pencere_olaylari_isle(), 1);  // other windows are still open
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_EQ(_tr_pencere_kapatildi_mi(id), 1);

    EXPECT_EQ(_tr_pencere_goster(id), 0);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(_tr_pencere_kapatildi_mi(id), 1);
    _tr_pencere_gizle(id);
}

TEST(Pencere, a_destroyed_window_refuses_every_later_call) {
    const int64_t id = pencere_ac();
    HWND hwnd = pencere_hwnd(id);
    EXPECT_EQ(_tr_pencere_kapat(id), 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(_tr_pencere_kapatildi_mi(id), 1);
    EXPECT_EQ(_tr_pencere_goster(id), -1);
    EXPECT_EQ(_tr_pencere_baslik_ayarla(id, "x", 1), -1);
    EXPECT_EQ(_tr_pencere_kapat(id), -1);

    // Destruction by any other way is noticed too.
    const int64_t other = pencere_ac();
    DestroyWindow(pencere_hwnd(other));
    EXPECT_EQ(_tr_pencere_kapatildi_mi(other), 1);
    EXPECT_EQ(_tr_pencere_gizle(other), -1);
}

TEST(Pencere, full_screen_covers_the_monitor_and_leaving_restores_the_frame) {
    const int64_t id = pencere_ac();
    HWND hwnd = pencere_hwnd(id);
    _tr_pencere_goster(id);
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    RECT before;
    GetWindowRect(hwnd, &before);

    // Leaving without entering changes nothing.
    EXPECT_EQ(_tr_pencere_tam_ekrandan_cik(id), 0);
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE), style);

    EXPECT_EQ(_tr_pencere_tam_ekran(id), 0);
    EXPECT_EQ(_tr_pencere_tam_ekran(id), 0);  // a second entry keeps the saved frame
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT full;
    GetWindowRect(hwnd, &full);
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & WS_THICKFRAME, 0);
    EXPECT_TRUE(EqualRect(&full, &monitor.rcMonitor));

    EXPECT_EQ(_tr_pencere_tam_ekrandan_cik(id), 0);
    RECT after;
    GetWindowRect(hwnd, &after);
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & WS_OVERLAPPEDWINDOW, style & WS_OVERLAPPEDWINDOW);
    EXPECT_TRUE(EqualRect(&after, &before));
    _tr_pencere_gizle(id);
}

TEST(Pencere, an_icon_file_becomes_both_icons_and_a_bad_path_changes_nothing) {
    const int64_t id = pencere_ac();
    HWND hwnd = pencere_hwnd(id);
    EXPECT_EQ(_tr_pencere_simge_ayarla(id, "Z:\\yok\\boyle.ico", 16), 0);
    EXPECT_EQ(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0), 0);

    const std::wstring path = ikon_dosyasi_yaz();
    char utf8[MAX_PATH * 3];
    const int length = WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr) - 1;
    EXPECT_EQ(_tr_pencere_simge_ayarla(id, utf8, length), 0);
    const LRESULT big = SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0);
    EXPECT_NE(big, 0);
    EXPECT_EQ(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0), big);
    DeleteFileW(path.c_str());
}

TEST(Pencere, the_window_paints_and_colours_in_the_dark_theme) {
    const int64_t id = pencere_ac();
    HWND hwnd = pencere_hwnd(id);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 700, 500);
    HGDIOBJ old = SelectObject(dc, bitmap);

    EXPECT_EQ(SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    EXPECT_EQ(GetPixel(dc, 10, 10), RGB(30, 30, 46));

    for (UINT message : {WM_CTLCOLOREDIT, WM_CTLCOLORBTN, WM_CTLCOLORSTATIC}) {
        SetTextColor(dc, RGB(0, 0, 0));
        const LRESULT brush = SendMessageW(hwnd, message, reinterpret_cast<WPARAM>(dc), 0);
        EXPECT_NE(brush, 0);
        EXPECT_EQ(GetTextColor(dc), RGB(205, 214, 244));
        EXPECT_EQ(GetBkColor(dc), RGB(30, 30, 46));
    }

    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

TEST(Pencere, waiting_for_input_returns_on_input_or_time_and_dispatches_nothing) {
    // The display may send input at any moment (a repaint, say), so a time-out is
    // expected on one of a few tries, each after emptying the queue.
    auto times_out = [](int64_t ms) {
        for (int attempt = 0; attempt < 20; ++attempt) {
            kuyrugu_bosalt();
            if (_tr_pencere_olay_bekle(ms) == 0) return true;
        }
        return false;
    };
    EXPECT_TRUE(times_out(20));
    EXPECT_TRUE(times_out(-5));

    const int64_t id = pencere_ac();
    PostMessageW(pencere_hwnd(id), WM_CLOSE, 0, 0);
    EXPECT_EQ(_tr_pencere_olay_bekle(5000), 1);
    EXPECT_EQ(_tr_pencere_kapatildi_mi(id), 0);  // nothing was dispatched
    _tr_pencere_olaylari_isle();
    EXPECT_EQ(_tr_pencere_kapatildi_mi(id), 1);
}

TEST(Pencere, a_quit_message_closes_every_window_and_leaves_the_rest_queued) {
    const int64_t id = pencere_ac();
    PostThreadMessageW(GetCurrentThreadId(), WM_QUIT, 3, 0);
    PostThreadMessageW(GetCurrentThreadId(), WM_USER + 9, 0, 0);
    EXPECT_EQ(_tr_pencere_olaylari_isle(), 0);
    for (int64_t i = 0; i <= id; ++i) EXPECT_EQ(_tr_pencere_kapatildi_mi(i), 1);
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_USER + 9, WM_USER + 9, PM_REMOVE));

    // The blocking pump runs until a quit message arrives.
    PostThreadMessageW(GetCurrentThreadId(), WM_USER + 10, 0, 0);
    PostQuitMessage(0);
    EXPECT_EQ(_tr_pencere_calistir(), 0);
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_USER + 10, WM_USER + 10, PM_NOREMOVE));
}

TEST(Pencere, sizes_scale_rounded_once_and_a_bad_density_counts_as_96) {
    EXPECT_EQ(54, tr_olcekle(36, 144));
    EXPECT_EQ(1750, tr_olcekle(1400, 120));
    EXPECT_EQ(4, tr_olcekle(3, 120));    // 3.75
    EXPECT_EQ(2, tr_olcekle(1, 144));    // 1.5, halves away from zero
    EXPECT_EQ(-2, tr_olcekle(-1, 144));
    EXPECT_EQ(36, tr_olcekten_geri(54, 144));
    EXPECT_EQ(37, tr_olcekle(37, 96));
    for (int64_t bad : {int64_t{0}, int64_t{-144}, int64_t{47}, int64_t{961}, INT64_MAX}) {
        EXPECT_EQ(37, tr_olcekle(37, bad)) << bad;
        EXPECT_EQ(37, tr_olcekten_geri(37, bad)) << bad;
    }
    EXPECT_EQ(kTrBoyutSiniri * 10, tr_olcekle(INT64_MAX, 960));
    EXPECT_EQ(-kTrBoyutSiniri * 10, tr_olcekle(INT64_MIN, 960));
}

// The owner moves to a monitor of 144 dpi and back: its overlay goes with it at
// its own size scaled, and comes back to it exactly.
TEST(Pencere, an_overlay_follows_its_owners_density_and_comes_back_exactly) {
    const int64_t owner = pencere_ac();
    const int64_t overlay = _tr_pencere_kaplama_olustur(owner, 380, 34);
    ASSERT_GE(overlay, 0);
    HWND owner_hwnd = pencere_hwnd(owner);
    HWND overlay_hwnd = pencere_hwnd(overlay);
    const int64_t dpi = _tr_pencere_dpi(owner);
    ASSERT_EQ(dpi, _tr_pencere_dpi(overlay));
    RECT frame, own;
    GetWindowRect(owner_hwnd, &frame);
    GetWindowRect(overlay_hwnd, &own);
    const LONG width = own.right - own.left, height = own.bottom - own.top;
    RECT larger = {frame.left, frame.top, frame.left + MulDiv(frame.right - frame.left, 144, static_cast<int>(dpi)),
                   frame.top + MulDiv(frame.bottom - frame.top, 144, static_cast<int>(dpi))};
    SendMessageW(owner_hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&larger));
    EXPECT_EQ(144, _tr_pencere_dpi(owner));
    EXPECT_EQ(144, _tr_pencere_dpi(overlay));
    RECT scaled;
    GetWindowRect(overlay_hwnd, &scaled);
    EXPECT_EQ(570, scaled.right - scaled.left);
    EXPECT_EQ(51, scaled.bottom - scaled.top);
    RECT owner_now;
    GetWindowRect(owner_hwnd, &owner_now);
    EXPECT_TRUE(EqualRect(&larger, &owner_now));

    SendMessageW(owner_hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&frame));
    RECT back;
    GetWindowRect(overlay_hwnd, &back);
    EXPECT_EQ(width, back.right - back.left);
    EXPECT_EQ(height, back.bottom - back.top);
    GetWindowRect(owner_hwnd, &owner_now);
    EXPECT_TRUE(EqualRect(&frame, &owner_now));
    EXPECT_EQ(-1, _tr_pencere_dpi(-1));
    _tr_pencere_kapat(overlay);
    _tr_pencere_kapat(owner);
}

TEST(Pencere, the_sixty_fifth_window_is_refused_and_the_others_keep_working) {
    int64_t last = -1;
    for (int64_t id = pencere_ac(); id != -1; id = pencere_ac()) last = id;
    EXPECT_EQ(last, 63);
    EXPECT_EQ(pencere_ac(), -1);
    EXPECT_EQ(_tr_pencere_baslik_ayarla(63, "son", 3), 0);
    EXPECT_EQ(pencere_basligi(pencere_hwnd(63)), L"son");
    EXPECT_EQ(_tr_pencere_kapatildi_mi(63), 0);
    EXPECT_EQ(_tr_pencere_olaylari_isle(), 1);
}

// Leaf controls: what they are when created, text set and read back byte for byte,
// hints, progress and images, and every text operation given an id that names
// nothing.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "arayuz_yardimci.h"
#include "widgets/arayuz_ic.h"

using namespace arayuz_test;

namespace {

std::wstring sinif_adi(int64_t widget) {
    wchar_t name[64] = {};
    GetClassNameW(_tr_arayuz_widget_al_hwnd(widget), name, 64);
    return name;
}

int64_t metin_ayarla(int64_t widget, const std::string& text) {
    return _tr_arayuz_giris_metni_ayarla(widget, text.data(), static_cast<int64_t>(text.size()));
}

// A file in the build folder, named in UTF-8 for the runtime.
std::string dosya_yaz(const wchar_t* name, const void* bytes, DWORD size) {
    std::wstring path = std::wstring(KORVA_BUILD_DIR_W) + L"\\" + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes, size, &written, nullptr);
    CloseHandle(file);
    char utf8[MAX_PATH * 4] = {};
    WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, utf8, sizeof(utf8), nullptr, nullptr);
    return utf8;
}

// A 2 by 2 bitmap of 24 bits per pixel.
std::string bitmap_dosyasi() {
    struct __attribute__((packed)) Dosya {
        BITMAPFILEHEADER file;
        BITMAPINFOHEADER info;
        BYTE rows[2][8];
    } bitmap = {};
    bitmap.file.bfType = 0x4D42;  // "BM"
    bitmap.file.bfSize = sizeof(bitmap);
    bitmap.file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    bitmap.info.biSize = sizeof(BITMAPINFOHEADER);
    bitmap.info.biWidth = 2;
    bitmap.info.biHeight = 2;
    bitmap.info.biPlanes = 1;
    bitmap.info.biBitCount = 24;
    bitmap.info.biCompression = BI_RGB;
    for (auto& row : bitmap.rows) std::fill(row, row + 6, BYTE{0x80});
    return dosya_yaz(L"arayuz_test_resim.bmp", &bitmap, sizeof(bitmap));
}

}  // namespace

TEST(Kontroller, olusturulunca_sinifi_boyutu_ve_turu_dogru) {
    struct Beklenen {
        int64_t id;
        const wchar_t* class_name;
        int32_t kind;
        int width;
        int height;
    };
    const Beklenen controls[] = {
        {dugme("Geri"), L"Button", KIND_BUTTON, 80, 30},
        {etiket("Hazir"), L"Static", KIND_LABEL, 200, 20},
        {_tr_arayuz_giris(), L"Edit", KIND_ENTRY, 200, 28},
        {_tr_arayuz_ayirici(), L"Static", KIND_SEPARATOR, 0, 2},  // the platform widens an etched line
        {_tr_arayuz_resim_dosyadan("yok.bmp", 7), L"Static", KIND_IMAGE, 64, 64},
        {_tr_arayuz_ilerleme_cubugu(), L"msctls_progress32", KIND_PROGRESS, 100, 4},
    };
    for (const Beklenen& control : controls) {
        ASSERT_GE(control.id, 0);
        EXPECT_EQ(_wcsicmp(sinif_adi(control.id).c_str(), control.class_name), 0) << control.id;
        EXPECT_EQ(widget_bul(control.id)->kind, control.kind);
        const RECT rect = yer(control.id);
        if (control.width > 0) {
            EXPECT_EQ(genislik(rect), control.width) << control.kind;
        }
        EXPECT_EQ(yukseklik(rect), control.height) << control.kind;
        // Not adopted yet: in no widget, and not on the screen.
        EXPECT_EQ(widget_kimligi(GetParent(_tr_arayuz_widget_al_hwnd(control.id))), -1);
        EXPECT_FALSE(IsWindowVisible(_tr_arayuz_widget_al_hwnd(control.id)));
    }
    ASSERT_EQ(_tr_arayuz_dugme_etiket_ayarla(controls[0].id, "Ileri", 5), 0);
    EXPECT_EQ(al_ve_birak(_tr_arayuz_etiket_metni_al(controls[0].id)), "Ileri");
    const HWND entry = _tr_arayuz_widget_al_hwnd(controls[2].id);
    EXPECT_EQ(reinterpret_cast<intptr_t>(GetPropW(entry, L"TrEntryId")), controls[2].id);
    EXPECT_TRUE(GetWindowLongW(entry, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(GetWindowLongW(_tr_arayuz_widget_al_hwnd(controls[3].id), GWL_STYLE) & SS_ETCHEDHORZ);

    const int64_t empty_label = _tr_arayuz_etiket(nullptr, 0);
    ASSERT_GE(empty_label, 0);
    EXPECT_EQ(GetWindowTextLengthW(_tr_arayuz_widget_al_hwnd(empty_label)), 0);
}

TEST(Metin, bayt_bayt_geri_okunur) {
    const int64_t label = etiket("ilk");
    ASSERT_EQ(_tr_arayuz_etiket_metni_ayarla(label, "Hazir", 5), 0);
    TrMetin read = _tr_arayuz_etiket_metni_al(label);
    EXPECT_EQ(read.len, 5);
    EXPECT_EQ(al_ve_birak(read), "Hazir");

    const std::string turkish = "\xC4\xB0stanbul \xC3\xA7\xC4\x9F\xC3\xBC\xC5\x9F \xE2\x80\x94 \xE6\x97\xA5\xE6\x9C\xAC "
                                "\xF0\x9F\x98\x80";  // İstanbul çğüş — 日本 and an emoji beyond 16 bits
    const int64_t entry = _tr_arayuz_giris();
    ASSERT_EQ(metin_ayarla(entry, turkish), 0);
    EXPECT_EQ(al_ve_birak(_tr_arayuz_giris_metni_al(entry)), turkish);

    // The text needs no terminating zero of its own: only `length` bytes are read.
    const char longer[] = "adresXYZ";
    ASSERT_EQ(_tr_arayuz_giris_metni_ayarla(entry, longer, 5), 0);
    EXPECT_EQ(al_ve_birak(_tr_arayuz_giris_metni_al(entry)), "adres");

    // A zero byte inside the text ends it.
    ASSERT_EQ(metin_ayarla(entry, std::string("ab\0cd", 5)), 0);
    read = _tr_arayuz_giris_metni_al(entry);
    EXPECT_EQ(read.len, 2);
    EXPECT_EQ(al_ve_birak(read), "ab");

    // The empty text empties the entry, and an empty entry reads as length 0 with storage.
    ASSERT_EQ(_tr_arayuz_giris_metni_ayarla(entry, nullptr, 0), 0);
    read = _tr_arayuz_giris_metni_al(entry);
    ASSERT_NE(read.ptr, nullptr);
    EXPECT_EQ(read.len, 0);
    EXPECT_EQ(read.ptr[0], '\0');
    std::free(read.ptr);
    ASSERT_EQ(_tr_arayuz_giris_metni_ayarla(entry, "x", -3), 0);  // a negative length is empty too
    EXPECT_EQ(al_ve_birak(_tr_arayuz_giris_metni_al(entry)), "");

    // The text operations act on whatever window the id names.
    const int64_t button = dugme("Yenile");
    EXPECT_EQ(al_ve_birak(_tr_arayuz_giris_metni_al(button)), "Yenile");
    EXPECT_EQ(al_ve_birak(_tr_arayuz_giris_metni_al(label)), "Hazir");
    ASSERT_EQ(_tr_arayuz_dugme_etiket_ayarla(entry, "d", 1), 0);
    EXPECT_EQ(al_ve_birak(_tr_arayuz_giris_metni_al(entry)), "d");
    ASSERT_EQ(_tr_arayuz_etiket_metni_ayarla(entry, "e", 1), 0);
    EXPECT_EQ(al_ve_birak(_tr_arayuz_giris_metni_al(entry)), "e");

    // A long text has no limit of its own.
    const std::string long_text(100000, 'k');
    ASSERT_EQ(metin_ayarla(entry, long_text), 0);
    EXPECT_EQ(al_ve_birak(_tr_arayuz_giris_metni_al(entry)), long_text);
}

TEST(Metin, gecersiz_kimliklerde_hicbir_pencereye_dokunulmaz) {
    const int64_t entry = _tr_arayuz_giris();
    ASSERT_EQ(metin_ayarla(entry, "kalir"), 0);
    const int64_t count = win_widget_sayisi;
    for (int64_t bad : {int64_t{-1}, count, int64_t{1} << 40, INT64_MIN}) {
        EXPECT_EQ(_tr_arayuz_giris_metni_ayarla(bad, "x", 1), -1) << bad;
        EXPECT_EQ(_tr_arayuz_etiket_metni_ayarla(bad, "x", 1), -1) << bad;
        EXPECT_EQ(_tr_arayuz_dugme_etiket_ayarla(bad, "x", 1), -1) << bad;
        EXPECT_EQ(_tr_arayuz_giris_ipucu_ayarla(bad, "x", 1), -1) << bad;
        EXPECT_EQ(_tr_arayuz_ilerleme_ayarla(bad, 50), -1) << bad;
        for (TrMetin read : {_tr_arayuz_giris_metni_al(bad), _tr_arayuz_etiket_metni_al(bad)}) {
            EXPECT_EQ(read.ptr, nullptr) << bad;
            EXPECT_EQ(read.len, 0) << bad;
        }
    }
    EXPECT_EQ(al_ve_birak(_tr_arayuz_giris_metni_al(entry)), "kalir");
}

TEST(Ipucu, bos_girisin_ipucu_geri_okunur_metin_bos_kalir) {
    const int64_t entry = _tr_arayuz_giris();
    const std::string hint = "Adres ara ya da yaz \xE2\x80\xA6";  // ends in an ellipsis
    ASSERT_EQ(_tr_arayuz_giris_ipucu_ayarla(entry, hint.data(), static_cast<int64_t>(hint.size())), 0);
    wchar_t shown[64] = {};
    ASSERT_TRUE(SendMessageW(_tr_arayuz_widget_al_hwnd(entry), EM_GETCUEBANNER, reinterpret_cast<WPARAM>(shown), 64));
    EXPECT_STREQ(shown, L"Adres ara ya da yaz \u2026");
    TrMetin text = _tr_arayuz_giris_metni_al(entry);
    ASSERT_NE(text.ptr, nullptr);
    EXPECT_EQ(text.len, 0);
    std::free(text.ptr);
}

TEST(Ilerleme, aralik_sifirdan_yuze_ve_deger_kirpilir) {
    const int64_t bar = _tr_arayuz_ilerleme_cubugu();
    HWND hwnd = _tr_arayuz_widget_al_hwnd(bar);
    PBRANGE range = {};
    SendMessageW(hwnd, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);
    EXPECT_EQ(SendMessageW(hwnd, PBM_GETPOS, 0, 0), 0);

    const struct {
        int64_t given;
        LRESULT shown;
    } cases[] = {{37, 37}, {-5, 0}, {250, 100}, {100, 100}, {0, 0}, {INT64_MAX, 100}, {INT64_MIN, 0},
                 {(int64_t{1} << 32) + 7, 100}};
    for (const auto& step : cases) {
        ASSERT_EQ(_tr_arayuz_ilerleme_ayarla(bar, step.given), 0);
        EXPECT_EQ(SendMessageW(hwnd, PBM_GETPOS, 0, 0), step.shown) << step.given;
    }
}

TEST(Resim, yuklenmeyen_dosya_bos_resim_verir_bitmap_yuklenir) {
    const int64_t missing = _tr_arayuz_resim_dosyadan("Z:\\yok\\boyle_bir_dosya.bmp", 26);
    ASSERT_GE(missing, 0);
    EXPECT_EQ(SendMessageW(_tr_arayuz_widget_al_hwnd(missing), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(genislik(yer(missing)), 64);
    EXPECT_EQ(yukseklik(yer(missing)), 64);

    const char not_a_bitmap[] = "bu bir resim degil";
    const std::string text_path = dosya_yaz(L"arayuz_test_metin.bmp", not_a_bitmap, sizeof(not_a_bitmap));
    const int64_t wrong = _tr_arayuz_resim_dosyadan(text_path.data(), static_cast<int64_t>(text_path.size()));
    ASSERT_GE(wrong, 0);
    EXPECT_EQ(SendMessageW(_tr_arayuz_widget_al_hwnd(wrong), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);

    const std::string bitmap_path = bitmap_dosyasi();
    const int64_t image = _tr_arayuz_resim_dosyadan(bitmap_path.data(), static_cast<int64_t>(bitmap_path.size()));
    ASSERT_GE(image, 0);
    HBITMAP shown = reinterpret_cast<HBITMAP>(
        SendMessageW(_tr_arayuz_widget_al_hwnd(image), STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(shown, nullptr);
    BITMAP description = {};
    ASSERT_GT(GetObjectW(shown, sizeof(description), &description), 0);
    EXPECT_EQ(description.bmWidth, 2);
    EXPECT_EQ(description.bmHeight, 2);
}

namespace {

// The thread's tooltip control that holds a tool for `tool_window`, or null (tab
// strips have tooltips of their own).
HWND ipucu_penceresi(HWND tool_window) {
    struct Arama {
        HWND tool_window;
        HWND found;
    } search = {tool_window, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND candidate, LPARAM data) -> BOOL {
            Arama& search = *reinterpret_cast<Arama*>(data);
            wchar_t name[32] = {};
            GetClassNameW(candidate, name, 32);
            if (lstrcmpiW(name, TOOLTIPS_CLASSW) != 0) return TRUE;
            TTTOOLINFOW tool = {};
            tool.cbSize = sizeof(tool);
            tool.hwnd = search.tool_window;
            tool.uId = reinterpret_cast<UINT_PTR>(search.tool_window);
            if (!SendMessageW(candidate, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) return TRUE;
            search.found = candidate;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

// The tooltip hears of the pointer through the window runtime's loop: a mouse move
// over a widget with a hint shows that widget's hint (after the tooltip's delay,
// made a millisecond here). Without the loop passing the move on, nothing shows.
TEST(Ipucu, dongu_fareyi_ipucuna_iletir) {
    HWND host = ev_sahibi(400, 300);
    const int64_t box = _tr_arayuz_kutu_yatay();
    const int64_t button = dugme("B");
    ASSERT_EQ(_tr_arayuz_pakle(box, button, 0, 0, 0), 0);
    kutuyu_yerlestir(host, box, 200, 40);
    const std::string hint = "Yenile (F5)";
    ASSERT_EQ(_tr_arayuz_ipucu_ayarla(button, hint.data(), static_cast<int64_t>(hint.size())), 0);
    HWND button_window = _tr_arayuz_widget_al_hwnd(button);
    HWND tip = ipucu_penceresi(button_window);
    ASSERT_NE(tip, nullptr);
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 1);

    // The tooltip checks that the pointer is still on the tool before it shows.
    RECT place;
    GetWindowRect(button_window, &place);
    SetCursorPos(place.left + 5, place.top + 5);
    PostMessageW(button_window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    const ULONGLONG until = GetTickCount64() + 5000;
    while (!IsWindowVisible(tip) && GetTickCount64() < until) {
        _tr_pencere_olaylari_isle();
        Sleep(5);
    }
    ASSERT_TRUE(IsWindowVisible(tip));
    wchar_t text[64] = {};
    TTTOOLINFOW current = {};
    current.cbSize = sizeof(current);
    current.lpszText = text;
    ASSERT_TRUE(SendMessageW(tip, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&current)));
    EXPECT_EQ(current.uId, reinterpret_cast<UINT_PTR>(button_window));
    EXPECT_STREQ(text, L"Yenile (F5)");
    SendMessageW(tip, TTM_POP, 0, 0);
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOMATIC, -1);
    DestroyWindow(host);
}

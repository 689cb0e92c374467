// The widget table and the box window procedure: registration, the shared font and
// colours, clicks and Enter recorded as flags and reported once, the calls that do
// nothing. The registration that finds the table full runs after every other test
// of the program, because the table never shrinks.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "arayuz_yardimci.h"
#include "widgets/arayuz_ic.h"

using namespace arayuz_test;

namespace {

// A button packed into a box that sits in a visible host window.
struct KutudakiDugme {
    int64_t box;
    int64_t button;
};

KutudakiDugme kutudaki_dugme() {
    HWND host = ev_sahibi(400, 200);
    const int64_t box = _tr_arayuz_kutu_yatay();
    const int64_t button = dugme("Tikla");
    _tr_arayuz_ekle(box, button);
    kutuyu_yerlestir(host, box, 300, 40);
    return {box, button};
}

HWND yeni_static() {
    return CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD, 0, 0, 10, 10, GetDesktopWindow(), nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

int64_t sayac() { return win_widget_sayisi; }

// Fills the table to its last record once every test has run.
class DoluTabloOrtami : public ::testing::Environment {
public:
    void TearDown() override {
        HWND window = yeni_static();
        ASSERT_NE(window, nullptr);
        int64_t last = -1;
        for (int64_t id = _tr_arayuz_widget_kaydet_harici(window); id >= 0;
             id = _tr_arayuz_widget_kaydet_harici(window)) {
            ASSERT_EQ(id, last < 0 ? id : last + 1);
            last = id;
        }
        EXPECT_EQ(last, 4095);
        EXPECT_EQ(_tr_arayuz_widget_kaydet_harici_win(window, KIND_BUTTON), -1);
        EXPECT_EQ(_tr_arayuz_kutu_dikey(), -1);
        EXPECT_EQ(_tr_arayuz_dugme("d", 1), -1);
        EXPECT_EQ(_tr_arayuz_giris(), -1);
        EXPECT_EQ(_tr_arayuz_ilerleme_cubugu(), -1);
        EXPECT_EQ(_tr_arayuz_widget_al_hwnd(4095), window);
        EXPECT_EQ(_tr_arayuz_widget_al_hwnd(4096), nullptr);
        EXPECT_EQ(_tr_arayuz_dugme_basildi_mi(4096), 0);
    }
};

[[maybe_unused]] ::testing::Environment* const dolu_tablo =
    ::testing::AddGlobalTestEnvironment(new DoluTabloOrtami);

}  // namespace

TEST(Kayit, dis_pencereler_turleriyle_sirayla_kaydolur) {
    HWND window = yeni_static();
    const int64_t first = _tr_arayuz_widget_kaydet_harici(window);
    ASSERT_GE(first, 0);
    const int64_t second = _tr_arayuz_widget_kaydet_harici_win(window, 7);
    EXPECT_EQ(second, first + 1);
    EXPECT_EQ(widget_bul(first)->kind, KIND_EXTERNAL);
    EXPECT_EQ(widget_bul(second)->kind, 7);
    // The kind is taken as a 32-bit value.
    const int64_t odd = _tr_arayuz_widget_kaydet_harici_win(window, (int64_t{1} << 32) + KIND_LABEL);
    EXPECT_EQ(widget_bul(odd)->kind, KIND_LABEL);
    EXPECT_EQ(_tr_arayuz_widget_al_hwnd(first), window);
    EXPECT_EQ(_tr_arayuz_widget_al(second), window);
    EXPECT_EQ(widget_bul(second)->closed_tab_index, -1);
    EXPECT_EQ(widget_bul(second)->req_width, -1);
    EXPECT_EQ(widget_bul(second)->req_height, -1);

    const int64_t count = sayac();
    EXPECT_EQ(_tr_arayuz_widget_kaydet_harici(nullptr), -1);
    EXPECT_EQ(_tr_arayuz_widget_kaydet_harici_win(nullptr, KIND_BUTTON), -1);
    EXPECT_EQ(sayac(), count);
    for (int64_t bad : {int64_t{-1}, count, int64_t{1} << 40}) {
        EXPECT_EQ(_tr_arayuz_widget_al_hwnd(bad), nullptr);
        EXPECT_EQ(_tr_arayuz_widget_al(bad), nullptr);
    }
}

// Every registered window is sent the font; boxes draw no text and keep none.
TEST(Kayit, her_kayitli_denetim_varsayilan_yaziyi_alir) {
    const int64_t window_widget = _tr_arayuz_widget_kaydet_harici(yeni_static());
    for (int64_t id : {dugme("d"), etiket("e"), _tr_arayuz_giris(), window_widget}) {
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(_tr_arayuz_widget_al_hwnd(id), WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr) << id;
        LOGFONTW description = {};
        ASSERT_GT(GetObjectW(font, sizeof(description), &description), 0);
        EXPECT_STREQ(description.lfFaceName, L"Segoe UI");
        EXPECT_EQ(description.lfHeight, -14);
        EXPECT_EQ(description.lfWeight, FW_NORMAL);
        EXPECT_EQ(description.lfQuality, CLEARTYPE_QUALITY);
    }
}

TEST(Olaylar, gercek_tiklama_bir_kez_bildirilir) {
    const KutudakiDugme pair = kutudaki_dugme();
    HWND button = _tr_arayuz_widget_al_hwnd(pair.button);
    EXPECT_EQ(_tr_arayuz_dugme_basildi_mi(pair.button), 0);

    SendMessageW(button, BM_CLICK, 0, 0);
    pompala();
    EXPECT_EQ(_tr_arayuz_dugme_basildi_mi(pair.button), 1);
    EXPECT_EQ(_tr_arayuz_dugme_basildi_mi(pair.button), 0);

    SendMessageW(button, BM_CLICK, 0, 0);
    SendMessageW(button, BM_CLICK, 0, 0);
    pompala();
    EXPECT_EQ(_tr_arayuz_dugme_basildi_mi(pair.button), 1);
    EXPECT_EQ(_tr_arayuz_dugme_basildi_mi(pair.button), 0);

    // A mouse press and release over the button, as the user makes it.
    const LPARAM inside = MAKELPARAM(10, 10);
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    PostMessageW(button, WM_LBUTTONUP, 0, inside);
    pompala();
    EXPECT_EQ(_tr_arayuz_dugme_basildi_mi(pair.button), 1);
    EXPECT_EQ(_tr_arayuz_dugme_basildi_mi(pair.button), 0);
    EXPECT_EQ(_tr_arayuz_dugme_basildi_mi(pair.box), 0);

    for (int64_t bad : {int64_t{-1}, sayac(), int64_t{1} << 40}) {
        EXPECT_EQ(_tr_arayuz_dugme_basildi_mi(bad), 0);
        EXPECT_EQ(_tr_arayuz_giris_enter_mi(bad), 0);
        EXPECT_EQ(_tr_arayuz_sekme_degisti_mi(bad), 0);
    }
}

TEST(Olaylar, dugme_olmayan_ya_da_tiklama_olmayan_bildirim_kaydedilmez) {
    HWND host = ev_sahibi(400, 200);
    const int64_t first = sayac();
    const int64_t box = _tr_arayuz_kutu_yatay();
    const int64_t label = etiket("e");
    const int64_t entry = _tr_arayuz_giris();
    _tr_arayuz_ekle(box, label);
    _tr_arayuz_ekle(box, entry);
    kutuyu_yerlestir(host, box, 300, 40);
    HWND box_window = _tr_arayuz_widget_al_hwnd(box);

    SendMessageW(box_window, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(_tr_arayuz_widget_al_hwnd(label)));
    EXPECT_EQ(_tr_arayuz_dugme_basildi_mi(label), 0);
    // The entry tells its box about the change with a nonzero notification code.
    ASSERT_EQ(_tr_arayuz_giris_metni_ayarla(entry, "abc", 3), 0);
    pompala();
    EXPECT_EQ(_tr_arayuz_dugme_basildi_mi(entry), 0);

    // A button's click from a window that is not in the table reaches no record.
    HWND stranger = CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, box_window, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
    SendMessageW(stranger, BM_CLICK, 0, 0);
    for (int64_t id = first; id < sayac(); ++id) EXPECT_EQ(_tr_arayuz_dugme_basildi_mi(id), 0) << id;
}

TEST(Olaylar, iki_kez_kaydolan_pencerenin_tiklamasi_kucuk_kimlige_gider) {
    const KutudakiDugme pair = kutudaki_dugme();
    HWND button = _tr_arayuz_widget_al_hwnd(pair.button);
    const int64_t again = _tr_arayuz_widget_kaydet_harici_win(button, KIND_BUTTON);
    ASSERT_GT(again, pair.button);
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(_tr_arayuz_dugme_basildi_mi(again), 0);
    EXPECT_EQ(_tr_arayuz_dugme_basildi_mi(pair.button), 1);
}

TEST(Olaylar, giriste_enter_bir_kez_bildirilir_ve_metin_kalir) {
    HWND host = ev_sahibi(500, 200);
    const int64_t box = _tr_arayuz_kutu_yatay();
    const int64_t entry = _tr_arayuz_giris();
    _tr_arayuz_pakle(box, entry, 1, 1, 0);
    kutuyu_yerlestir(host, box, 400, 30);
    HWND edit = _tr_arayuz_widget_al_hwnd(entry);
    SetFocus(edit);

    // Typed characters are the edit control's own.
    for (wchar_t typed : {L'k', L'o', L'r'}) PostMessageW(edit, WM_CHAR, typed, 1);
    PostMessageW(edit, WM_KEYDOWN, VK_LEFT, 1);
    pompala();
    EXPECT_EQ(al_ve_birak(_tr_arayuz_giris_metni_al(entry)), "kor");
    EXPECT_EQ(_tr_arayuz_giris_enter_mi(entry), 0);

    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
    pompala();
    EXPECT_EQ(_tr_arayuz_giris_enter_mi(entry), 1);
    EXPECT_EQ(_tr_arayuz_giris_enter_mi(entry), 0);
    EXPECT_EQ(al_ve_birak(_tr_arayuz_giris_metni_al(entry)), "kor");

    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(edit, WM_CHAR, VK_RETURN, 1);
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
    pompala();
    EXPECT_EQ(_tr_arayuz_giris_enter_mi(entry), 1);
    EXPECT_EQ(_tr_arayuz_giris_enter_mi(entry), 0);
    EXPECT_EQ(al_ve_birak(_tr_arayuz_giris_metni_al(entry)), "kor");
    EXPECT_EQ(_tr_arayuz_dugme_basildi_mi(entry), 0);
}

TEST(Renkler, kutu_denetimlerin_renk_isteklerini_temayla_yanitlar) {
    const int64_t box = _tr_arayuz_kutu_dikey();
    HWND box_window = _tr_arayuz_widget_al_hwnd(box);
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    auto fircanin_rengi = [](LRESULT result) {
        LOGBRUSH brush = {};
        EXPECT_GT(GetObjectW(reinterpret_cast<HBRUSH>(result), sizeof(brush), &brush), 0);
        return brush.lbColor;
    };

    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    const LRESULT edit = SendMessageW(box_window, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_EQ(GetTextColor(dc), RGB(205, 214, 244));
    EXPECT_EQ(GetBkColor(dc), RGB(49, 50, 68));
    EXPECT_EQ(fircanin_rengi(edit), RGB(49, 50, 68));

    for (UINT message : {UINT{WM_CTLCOLORBTN}, UINT{WM_CTLCOLORSTATIC}}) {
        SetTextColor(dc, RGB(1, 2, 3));
        SetBkColor(dc, RGB(4, 5, 6));
        const LRESULT result = SendMessageW(box_window, message, reinterpret_cast<WPARAM>(dc), 0);
        EXPECT_EQ(GetTextColor(dc), RGB(205, 214, 244)) << message;
        EXPECT_EQ(GetBkColor(dc), RGB(30, 30, 46)) << message;
        EXPECT_EQ(fircanin_rengi(result), RGB(30, 30, 46)) << message;
    }

    // Other colour requests are the platform's: the theme's colours are not set.
    SetTextColor(dc, RGB(1, 2, 3));
    const LRESULT list = SendMessageW(box_window, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_NE(list, edit);

    // The background is painted in the theme's colour.
    HBITMAP canvas = CreateCompatibleBitmap(GetDC(nullptr), 100, 100);
    HGDIOBJ previous = SelectObject(dc, canvas);
    MoveWindow(box_window, 0, 0, 50, 40, FALSE);
    EXPECT_EQ(SendMessageW(box_window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    EXPECT_EQ(GetPixel(dc, 10, 10), RGB(30, 30, 46));
    EXPECT_EQ(GetPixel(dc, 49, 39), RGB(30, 30, 46));
    SelectObject(dc, previous);
    DeleteObject(canvas);
    DeleteDC(dc);
}

TEST(Istekler, boyut_istekleri_ve_bos_cagrilar) {
    const int64_t label = etiket("e");
    EXPECT_EQ(_tr_arayuz_widget_genislik_ayarla(label, 120), 0);  // not in any box: still accepted
    EXPECT_EQ(_tr_arayuz_widget_yukseklik_ayarla(label, (int64_t{1} << 32) + 25), 0);
    EXPECT_EQ(widget_bul(label)->req_width, 120);
    EXPECT_EQ(widget_bul(label)->req_height, 25);  // the low 32 bits
    const int64_t count = sayac();
    for (int64_t bad : {int64_t{-1}, count, int64_t{1} << 40}) {
        EXPECT_EQ(_tr_arayuz_widget_genislik_ayarla(bad, 10), -1);
        EXPECT_EQ(_tr_arayuz_widget_yukseklik_ayarla(bad, 10), -1);
        EXPECT_EQ(_tr_arayuz_css_sinif_ekle(bad, "x", 1), 0);
        EXPECT_EQ(_tr_arayuz_css_sinif_kaldir(bad, "x", 1), 0);
        EXPECT_EQ(_tr_arayuz_ipucu_ayarla(bad, "x", 1), 0);
    }
    EXPECT_EQ(_tr_arayuz_css_yukle(nullptr, 0), 0);
    EXPECT_EQ(_tr_arayuz_css_yukle("body { color: red }", 19), 0);
    EXPECT_EQ(_tr_arayuz_css_sinif_ekle(label, nullptr, -4), 0);
    EXPECT_EQ(_tr_arayuz_ipucu_ayarla(label, "ipucu", 5), 0);
    EXPECT_EQ(sayac(), count);  // nothing registered by the calls that do nothing
}

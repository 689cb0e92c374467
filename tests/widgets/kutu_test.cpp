// Boxes on real windows: where the layout puts each child (read back from the
// native windows), packing rules, showing and hiding, a window's content, and the
// pages of a tab strip inside a box.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "arayuz_yardimci.h"
#include "widgets/arayuz_ic.h"

using namespace arayuz_test;

namespace {

void yer_beklenen(int64_t widget, int x, int y, int width, int height) {
    const RECT rect = yer(widget);
    EXPECT_EQ(rect.left, x) << "widget " << widget;
    EXPECT_EQ(rect.top, y) << "widget " << widget;
    EXPECT_EQ(genislik(rect), width) << "widget " << widget;
    EXPECT_EQ(yukseklik(rect), height) << "widget " << widget;
}

}  // namespace

TEST(Yerlesim, yatay_kutu_payi_dolgulardan_ve_sabitlerden_sonra_boler) {
    HWND host = ev_sahibi();
    const int64_t box = _tr_arayuz_kutu_yatay();
    const int64_t b1 = dugme("1"), b2 = dugme("2"), b3 = dugme("3");
    const int64_t entry = _tr_arayuz_giris();
    ASSERT_EQ(_tr_arayuz_pakle(box, b1, 0, 0, 2), 0);
    ASSERT_EQ(_tr_arayuz_pakle(box, b2, 0, 0, 2), 0);
    ASSERT_EQ(_tr_arayuz_pakle(box, entry, 1, 1, 6), 0);
    ASSERT_EQ(_tr_arayuz_pakle(box, b3, 0, 0, 2), 0);
    kutuyu_yerlestir(host, box, 600, 32);

    yer_beklenen(b1, 2, 0, 36, 32);
    yer_beklenen(b2, 42, 0, 36, 32);
    yer_beklenen(entry, 86, 0, 468, 32);
    yer_beklenen(b3, 562, 0, 36, 32);
    EXPECT_EQ(GetParent(_tr_arayuz_widget_al_hwnd(entry)), _tr_arayuz_widget_al_hwnd(box));
}

TEST(Yerlesim, dikey_kutu_ic_kutulari_yerlestirir_ve_gosterir) {
    HWND host = ev_sahibi();
    const int64_t column = _tr_arayuz_kutu_dikey();
    const int64_t top = _tr_arayuz_kutu_yatay(), middle = _tr_arayuz_kutu_yatay(), bottom = _tr_arayuz_kutu_yatay();
    const int64_t inner = dugme("ic");
    ASSERT_EQ(_tr_arayuz_ekle(middle, inner), 0);
    EXPECT_FALSE(gorunur_bit(top));  // boxes are created hidden
    ASSERT_EQ(_tr_arayuz_ekle(column, top), 0);
    ASSERT_EQ(_tr_arayuz_pakle(column, middle, 1, 1, 0), 0);
    ASSERT_EQ(_tr_arayuz_ekle(column, bottom), 0);
    kutuyu_yerlestir(host, column, 400, 860);

    yer_beklenen(top, 0, 0, 400, 32);
    yer_beklenen(middle, 0, 32, 400, 796);
    yer_beklenen(bottom, 0, 828, 400, 32);
    EXPECT_TRUE(gorunur_bit(top));
    EXPECT_TRUE(gorunur_bit(middle));
    // The nested box was laid out too: its button got the default width and its height.
    yer_beklenen(inner, 0, 0, 36, 796);
}

// A scroll box has a border and scroll bars: what it holds fills its client area,
// the same whether its parent's pass or its own size message lays it out.
TEST(Yerlesim, kaydirma_kutusu_cocuklarini_istemci_alanina_yerlestirir) {
    HWND host = ev_sahibi();
    const int64_t column = _tr_arayuz_kutu_dikey();
    const int64_t scroll = _tr_arayuz_kaydirma();
    const int64_t inner = _tr_arayuz_kutu_dikey();
    ASSERT_EQ(_tr_arayuz_pakle(inner, dugme("ic"), 1, 1, 0), 0);
    ASSERT_EQ(_tr_arayuz_pakle(scroll, inner, 1, 1, 0), 0);
    ASSERT_EQ(_tr_arayuz_pakle(column, scroll, 1, 1, 0), 0);
    kutuyu_yerlestir(host, column, 300, 400);
    RECT client;
    GetClientRect(_tr_arayuz_widget_al_hwnd(scroll), &client);
    ASSERT_LT(client.right, 300);
    yer_beklenen(inner, 0, 0, client.right, client.bottom);
    _tr_arayuz_widget_goster(inner);  // its box laid out again by its own measure
    yer_beklenen(inner, 0, 0, client.right, client.bottom);
}

TEST(Yerlesim, esit_olmayan_payin_artigi_uzak_uctaki_bos_kalir_dolgu_iki_yanda_sayilir) {
    HWND host = ev_sahibi();
    const int64_t row = _tr_arayuz_kutu_yatay();
    const int64_t a = etiket("a"), b = etiket("b"), c = etiket("c");
    for (int64_t child : {a, b, c}) ASSERT_EQ(_tr_arayuz_pakle(row, child, 1, 1, 0), 0);
    kutuyu_yerlestir(host, row, 100, 30);
    yer_beklenen(a, 0, 0, 33, 30);
    yer_beklenen(b, 33, 0, 33, 30);
    yer_beklenen(c, 66, 0, 33, 30);  // pixel 99 belongs to nobody

    const int64_t lone_row = _tr_arayuz_kutu_yatay();
    const int64_t lone = etiket("yalniz");
    ASSERT_EQ(_tr_arayuz_pakle(lone_row, lone, 1, 1, 5), 0);
    kutuyu_yerlestir(host, lone_row, 100, 30);
    yer_beklenen(lone, 5, 0, 90, 30);
}

TEST(Yerlesim, capraz_eksende_istek_yalnizca_dolgusuz_cocukta_sayilir) {
    HWND host = ev_sahibi();
    const int64_t row = _tr_arayuz_kutu_yatay();
    const int64_t no_request = etiket("a"), asks = etiket("b"), fills = etiket("c");
    ASSERT_EQ(_tr_arayuz_widget_yukseklik_ayarla(asks, 10), 0);
    ASSERT_EQ(_tr_arayuz_widget_yukseklik_ayarla(fills, 10), 0);
    ASSERT_EQ(_tr_arayuz_pakle(row, no_request, 0, 0, 0), 0);
    ASSERT_EQ(_tr_arayuz_pakle(row, asks, 0, 0, 0), 0);
    ASSERT_EQ(_tr_arayuz_pakle(row, fills, 0, 1, 0), 0);
    kutuyu_yerlestir(host, row, 300, 50);
    yer_beklenen(no_request, 0, 0, 80, 50);
    yer_beklenen(asks, 80, 0, 80, 10);
    yer_beklenen(fills, 160, 0, 80, 50);

    const int64_t column = _tr_arayuz_kutu_dikey();
    const int64_t narrow = dugme("dar");
    ASSERT_EQ(_tr_arayuz_widget_genislik_ayarla(narrow, 70), 0);
    ASSERT_EQ(_tr_arayuz_pakle(column, narrow, 0, 0, 3), 0);
    kutuyu_yerlestir(host, column, 300, 200);
    yer_beklenen(narrow, 0, 3, 70, 32);
}

TEST(Yerlesim, varsayilan_ana_eksen_boyutlari_ve_istekler) {
    HWND host = ev_sahibi();
    struct Cocuk {
        int64_t id;
        int width_in_row;
        int height_in_column;
    };
    auto cocuklar = [] {
        return std::vector<Cocuk>{
            {dugme("d"), 36, 32},
            {etiket("e"), 80, 20},
            {_tr_arayuz_giris(), 200, 28},
            {_tr_arayuz_ilerleme_cubugu(), 100, 4},
            {_tr_arayuz_ayirici(), 1, 1},
            {_tr_arayuz_kutu_dikey(), 48, 32},
            {_tr_arayuz_resim_dosyadan("yok.bmp", 7), 48, 32},
        };
    };
    const int64_t row = _tr_arayuz_kutu_yatay();
    const std::vector<Cocuk> in_row = cocuklar();
    for (const Cocuk& child : in_row) ASSERT_EQ(_tr_arayuz_ekle(row, child.id), 0);
    kutuyu_yerlestir(host, row, 800, 40);
    int x = 0;
    for (const Cocuk& child : in_row) {
        yer_beklenen(child.id, x, 0, child.width_in_row, 40);
        x += child.width_in_row;
    }

    const int64_t column = _tr_arayuz_kutu_dikey();
    const std::vector<Cocuk> in_column = cocuklar();
    for (const Cocuk& child : in_column) ASSERT_EQ(_tr_arayuz_ekle(column, child.id), 0);
    kutuyu_yerlestir(host, column, 120, 600);
    int y = 0;
    for (const Cocuk& child : in_column) {
        yer_beklenen(child.id, 0, y, 120, child.height_in_column);
        y += child.height_in_column;
    }

    // A request of 0 or below falls back to the default; a positive one wins.
    const int64_t requests = _tr_arayuz_kutu_yatay();
    const int64_t zero = dugme("0"), negative = dugme("-"), wide = dugme("+");
    _tr_arayuz_widget_genislik_ayarla(zero, 0);
    _tr_arayuz_widget_genislik_ayarla(negative, -5);
    _tr_arayuz_widget_genislik_ayarla(wide, 50);
    for (int64_t child : {zero, negative, wide}) ASSERT_EQ(_tr_arayuz_ekle(requests, child), 0);
    kutuyu_yerlestir(host, requests, 300, 30);
    yer_beklenen(zero, 0, 0, 36, 30);
    yer_beklenen(negative, 36, 0, 36, 30);
    yer_beklenen(wide, 72, 0, 50, 30);
}

TEST(Yerlesim, kucuk_kutu_genisleyenlere_sifir_verir_ve_tasani_kirpar) {
    HWND host = ev_sahibi();
    const int64_t row = _tr_arayuz_kutu_yatay();
    const int64_t first = dugme("1"), entry = _tr_arayuz_giris(), second = dugme("2");
    ASSERT_EQ(_tr_arayuz_ekle(row, first), 0);
    ASSERT_EQ(_tr_arayuz_pakle(row, entry, 1, 1, 0), 0);
    ASSERT_EQ(_tr_arayuz_ekle(row, second), 0);
    kutuyu_yerlestir(host, row, 50, 30);
    yer_beklenen(first, 0, 0, 36, 30);
    yer_beklenen(entry, 36, 0, 0, 30);
    yer_beklenen(second, 36, 0, 36, 30);  // runs past the box's end
}

TEST(Yerlesim, kutu_olmayan_ve_cocuksuz_kutu_dokunulmaz) {
    HWND host = ev_sahibi();
    const int64_t empty_box = _tr_arayuz_kutu_yatay();
    kutuyu_yerlestir(host, empty_box, 200, 30);
    win_layout_yenile(empty_box, 10, 10);  // nothing to do, nothing to crash

    const int64_t button = dugme("d");
    const int64_t label = etiket("e");
    ASSERT_EQ(_tr_arayuz_pakle(button, label, 1, 1, 0), 0);  // a button only adopts
    EXPECT_EQ(GetParent(_tr_arayuz_widget_al_hwnd(label)), _tr_arayuz_widget_al_hwnd(button));
    const RECT before = yer(label);
    win_layout_yenile(button, 500, 500);
    win_layout_yenile(-1, 500, 500);
    win_layout_yenile(1 << 30, 500, 500);
    const RECT after = yer(label);
    EXPECT_EQ(genislik(after), genislik(before));
    EXPECT_EQ(genislik(after), 200);
}

TEST(Paketleme, ekle_doldurarak_dolgusuz_ve_genislemeden_ekler) {
    HWND host = ev_sahibi();
    const int64_t row = _tr_arayuz_kutu_yatay();
    const int64_t button = dugme("d");
    ASSERT_EQ(_tr_arayuz_widget_yukseklik_ayarla(button, 10), 0);
    ASSERT_EQ(_tr_arayuz_ekle(row, button), 0);
    kutuyu_yerlestir(host, row, 300, 40);
    yer_beklenen(button, 0, 0, 36, 40);  // fill wins over the height request
    const Widget* record = widget_bul(row);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->children[0].expand, 0);
    EXPECT_EQ(record->children[0].fill, 1);
    EXPECT_EQ(record->children[0].padding, 0);
}

TEST(Paketleme, yuz_yirmi_dokuzuncu_cocuk_yalnizca_tasinir) {
    HWND host = ev_sahibi();
    const int64_t row = _tr_arayuz_kutu_yatay();
    int64_t last_placed = -1;
    for (int i = 0; i < 128; ++i) {
        last_placed = etiket("x");
        _tr_arayuz_widget_genislik_ayarla(last_placed, 1);
        ASSERT_EQ(_tr_arayuz_ekle(row, last_placed), 0);
    }
    const int64_t extra = etiket("fazla");
    ASSERT_EQ(_tr_arayuz_ekle(row, extra), 0);
    EXPECT_EQ(GetParent(_tr_arayuz_widget_al_hwnd(extra)), _tr_arayuz_widget_al_hwnd(row));
    kutuyu_yerlestir(host, row, 400, 30);
    yer_beklenen(last_placed, 127, 0, 1, 30);
    yer_beklenen(extra, 0, 0, 200, 20);  // where it was created: never placed
}

TEST(Paketleme, kutu_kendi_icine_ya_da_torununa_konamaz) {
    const int64_t outer = _tr_arayuz_kutu_dikey();
    const int64_t middle = _tr_arayuz_kutu_yatay();
    const int64_t inner = _tr_arayuz_kutu_dikey();
    ASSERT_EQ(_tr_arayuz_ekle(outer, middle), 0);
    ASSERT_EQ(_tr_arayuz_ekle(middle, inner), 0);

    EXPECT_EQ(_tr_arayuz_ekle(outer, outer), -1);
    EXPECT_EQ(_tr_arayuz_ekle(inner, outer), -1);
    EXPECT_EQ(_tr_arayuz_pakle(middle, outer, 1, 1, 0), -1);
    EXPECT_EQ(widget_bul(inner)->child_count, 0);
    EXPECT_EQ(widget_bul(outer)->child_count, 1);
    EXPECT_NE(GetParent(_tr_arayuz_widget_al_hwnd(outer)), _tr_arayuz_widget_al_hwnd(inner));

    // A child moved to another box keeps its entry in the first one, which the
    // layout still follows: packing the first box into that child is refused too.
    const int64_t first = _tr_arayuz_kutu_yatay();
    const int64_t second = _tr_arayuz_kutu_yatay();
    const int64_t moved = _tr_arayuz_kutu_dikey();
    ASSERT_EQ(_tr_arayuz_ekle(first, moved), 0);
    ASSERT_EQ(_tr_arayuz_ekle(second, moved), 0);
    EXPECT_EQ(_tr_arayuz_ekle(moved, first), -1);
    EXPECT_EQ(widget_bul(moved)->child_count, 0);
    HWND host = ev_sahibi();
    kutuyu_yerlestir(host, first, 200, 100);  // ends: the structure has no loop
    EXPECT_EQ(_tr_arayuz_ekle(moved, second) , -1);
    EXPECT_EQ(_tr_arayuz_ekle(second, first), 0);  // a sibling is no loop
}

TEST(Paketleme, gecersiz_kimlikler_reddedilir) {
    const int64_t box = _tr_arayuz_kutu_yatay();
    const int64_t child = dugme("d");
    const int64_t count = child + 1;
    for (int64_t bad : {int64_t{-1}, count, int64_t{1} << 40}) {
        EXPECT_EQ(_tr_arayuz_pakle(bad, child, 0, 1, 0), -1) << bad;
        EXPECT_EQ(_tr_arayuz_pakle(box, bad, 0, 1, 0), -1) << bad;
        EXPECT_EQ(_tr_arayuz_ekle(box, bad), -1) << bad;
        EXPECT_EQ(_tr_arayuz_goster_tumu(bad), -1) << bad;
    }
    EXPECT_EQ(widget_bul(box)->child_count, 0);
    EXPECT_EQ(widget_kimligi(GetParent(_tr_arayuz_widget_al_hwnd(child))), -1);
}

TEST(Paketleme, ayni_kutuya_iki_kez_konan_iki_kez_yerlesir_sonuncusu_kalir) {
    HWND host = ev_sahibi();
    const int64_t row = _tr_arayuz_kutu_yatay();
    const int64_t twice = _tr_arayuz_kutu_dikey();
    const int64_t between = dugme("d");
    ASSERT_EQ(_tr_arayuz_ekle(row, twice), 0);
    ASSERT_EQ(_tr_arayuz_ekle(row, between), 0);
    ASSERT_EQ(_tr_arayuz_ekle(row, twice), 0);
    kutuyu_yerlestir(host, row, 300, 30);
    yer_beklenen(between, 48, 0, 36, 30);
    yer_beklenen(twice, 84, 0, 48, 30);
}

TEST(Gosterme, goster_tumu_yalnizca_bir_kat_iner) {
    const int64_t column = _tr_arayuz_kutu_dikey();
    const int64_t nested = _tr_arayuz_kutu_yatay();
    const int64_t label = etiket("e");
    const int64_t grandchild = dugme("d");
    ASSERT_EQ(_tr_arayuz_ekle(column, nested), 0);
    ASSERT_EQ(_tr_arayuz_ekle(column, label), 0);
    ASSERT_EQ(_tr_arayuz_ekle(nested, grandchild), 0);
    ShowWindow(_tr_arayuz_widget_al_hwnd(label), SW_HIDE);
    ShowWindow(_tr_arayuz_widget_al_hwnd(grandchild), SW_HIDE);

    ASSERT_EQ(_tr_arayuz_goster_tumu(column), 0);
    EXPECT_TRUE(gorunur_bit(column));
    EXPECT_TRUE(gorunur_bit(nested));
    EXPECT_TRUE(gorunur_bit(label));
    EXPECT_FALSE(gorunur_bit(grandchild));
}

TEST(Gizleme, gizlenen_cocuk_yerini_birakir_ve_gizli_kalir) {
    HWND host = ev_sahibi();
    const int64_t row = _tr_arayuz_kutu_yatay();
    const int64_t panel = _tr_arayuz_kutu_dikey();
    const int64_t content = _tr_arayuz_kutu_dikey();
    _tr_arayuz_widget_genislik_ayarla(panel, 100);
    ASSERT_EQ(_tr_arayuz_ekle(row, panel), 0);
    ASSERT_EQ(_tr_arayuz_pakle(row, content, 1, 1, 0), 0);
    kutuyu_yerlestir(host, row, 400, 300);
    yer_beklenen(panel, 0, 0, 100, 300);
    yer_beklenen(content, 100, 0, 300, 300);

    ASSERT_EQ(_tr_arayuz_widget_gizle(panel), 0);  // the neighbour widens at once
    EXPECT_FALSE(gorunur_bit(panel));
    yer_beklenen(content, 0, 0, 400, 300);

    MoveWindow(_tr_arayuz_widget_al_hwnd(row), 0, 0, 500, 300, TRUE);  // a later pass
    EXPECT_FALSE(gorunur_bit(panel));
    yer_beklenen(content, 0, 0, 500, 300);

    ASSERT_EQ(_tr_arayuz_widget_goster(panel), 0);  // and narrows again at once
    EXPECT_TRUE(gorunur_bit(panel));
    yer_beklenen(panel, 0, 0, 100, 300);
    yer_beklenen(content, 100, 0, 400, 300);

    // Showing with the children counts as shown by the program too.
    ASSERT_EQ(_tr_arayuz_widget_gizle(panel), 0);
    ASSERT_EQ(_tr_arayuz_goster_tumu(row), 0);
    EXPECT_TRUE(gorunur_bit(panel));
    yer_beklenen(content, 100, 0, 400, 300);

    for (int64_t bad : {int64_t{-1}, content + 1000000, int64_t{1} << 50}) {
        EXPECT_EQ(_tr_arayuz_widget_gizle(bad), -1);
        EXPECT_EQ(_tr_arayuz_widget_goster(bad), -1);
    }
}

TEST(PencereIcerigi, kutu_istemci_alanina_sigar_ve_her_boyutta_yeniden_yerlesir) {
    const int64_t window = _tr_pencere_olustur("icerik", 6, 700, 500);
    ASSERT_GE(window, 0);
    const int64_t root = _tr_arayuz_kutu_dikey();
    const int64_t toolbar = _tr_arayuz_kutu_yatay();
    const int64_t address = _tr_arayuz_giris();
    const int64_t side = _tr_arayuz_kutu_dikey();
    const int64_t body = _tr_arayuz_kutu_yatay();
    const int64_t page = _tr_arayuz_kutu_dikey();
    ASSERT_EQ(_tr_arayuz_pakle(toolbar, address, 1, 1, 4), 0);
    ASSERT_EQ(_tr_arayuz_ekle(root, toolbar), 0);
    _tr_arayuz_widget_genislik_ayarla(side, 120);
    ASSERT_EQ(_tr_arayuz_ekle(body, side), 0);
    ASSERT_EQ(_tr_arayuz_pakle(body, page, 1, 1, 0), 0);
    ASSERT_EQ(_tr_arayuz_pakle(root, body, 1, 1, 0), 0);

    ASSERT_EQ(_tr_pencere_icerik_ayarla(window, root), 0);
    ASSERT_EQ(_tr_pencere_goster(window), 0);
    ASSERT_EQ(_tr_arayuz_widget_gizle(side), 0);
    pompala();

    HWND window_handle = GetParent(_tr_arayuz_widget_al_hwnd(root));
    auto istemci = [&] {
        RECT client;
        GetClientRect(window_handle, &client);
        return client;
    };
    auto duzen_beklenen = [&](const RECT& client) {
        yer_beklenen(root, 0, 0, client.right, client.bottom);
        yer_beklenen(toolbar, 0, 0, client.right, 32);
        yer_beklenen(address, 4, 0, client.right - 8, 32);
        yer_beklenen(body, 0, 32, client.right, client.bottom - 32);
        yer_beklenen(page, 0, 0, client.right, client.bottom - 32);  // the hidden side gives up its room
        EXPECT_FALSE(gorunur_bit(side));
    };
    const RECT first = istemci();
    ASSERT_GT(first.right, 300);
    duzen_beklenen(first);

    ASSERT_EQ(_tr_pencere_boyut_ayarla(window, 900, 640), 0);
    pompala();
    const RECT larger = istemci();
    EXPECT_GT(larger.right, first.right);
    duzen_beklenen(larger);

    ShowWindow(window_handle, SW_MINIMIZE);
    pompala();
    ShowWindow(window_handle, SW_RESTORE);
    pompala();
    const RECT restored = istemci();
    EXPECT_EQ(restored.right, larger.right);
    EXPECT_EQ(restored.bottom, larger.bottom);
    duzen_beklenen(restored);

    ASSERT_EQ(_tr_arayuz_widget_goster(side), 0);
    yer_beklenen(side, 0, 0, 120, restored.bottom - 32);
    yer_beklenen(page, 120, 0, restored.right - 120, restored.bottom - 32);
    ShowWindow(window_handle, SW_HIDE);
}

TEST(SekmeSayfalari, kutu_sayfalari_gosterim_alanina_sigdirir_ve_tiklanan_sekmeye_gecer) {
    HWND host = ev_sahibi();
    const int64_t column = _tr_arayuz_kutu_dikey();
    kutuyu_yerlestir(host, column, 500, 400);
    // A tab control made under the box, so that it notifies the box.
    HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_FOCUSNEVER,
                                0, 0, 400, 300, _tr_arayuz_widget_al_hwnd(column), nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(tabs, nullptr);
    const int64_t strip = _tr_arayuz_widget_kaydet_harici_win(tabs, KIND_TABS);
    ASSERT_GE(strip, 0);
    const int64_t pages[2] = {_tr_arayuz_kutu_dikey(), _tr_arayuz_kutu_dikey()};
    const int64_t labels[2] = {etiket("bir"), etiket("iki")};
    Widget* record = widget_bul(strip);
    for (int k = 0; k < 2; ++k) {
        ASSERT_EQ(_tr_arayuz_pakle(pages[k], labels[k], 1, 1, 0), 0);
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(k == 0 ? L"Bir" : L"Iki");
        SendMessageW(tabs, TCM_INSERTITEMW, k, reinterpret_cast<LPARAM>(&item));
        SetParent(_tr_arayuz_widget_al_hwnd(pages[k]), tabs);
        record->tab_pages[k] = _tr_arayuz_widget_al_hwnd(pages[k]);
    }
    record->tab_count = 2;
    ShowWindow(record->tab_pages[0], SW_SHOW);
    ASSERT_EQ(_tr_arayuz_pakle(column, strip, 1, 1, 0), 0);

    MoveWindow(_tr_arayuz_widget_al_hwnd(column), 0, 0, 520, 420, TRUE);
    yer_beklenen(strip, 0, 0, 520, 420);
    RECT area;
    GetClientRect(tabs, &area);
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    for (int k = 0; k < 2; ++k) {
        yer_beklenen(pages[k], area.left, area.top, area.right - area.left, area.bottom - area.top);
        yer_beklenen(labels[k], 0, 0, area.right - area.left, area.bottom - area.top);  // pages are laid out
    }
    EXPECT_TRUE(gorunur_bit(pages[0]));
    EXPECT_FALSE(gorunur_bit(pages[1]));  // the pass leaves the pages' visibility alone

    // A notification other than the selection change does nothing.
    NMHDR changing = {tabs, 0, static_cast<UINT>(TCN_SELCHANGING)};
    SendMessageW(_tr_arayuz_widget_al_hwnd(column), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&changing));
    EXPECT_EQ(_tr_arayuz_sekme_degisti_mi(strip), 0);

    // The page of the second tab was moved away; a click on its tab brings it back.
    MoveWindow(record->tab_pages[1], 0, 0, 10, 10, TRUE);
    RECT tab_rect;
    ASSERT_TRUE(SendMessageW(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab_rect)));
    const LPARAM point = MAKELPARAM((tab_rect.left + tab_rect.right) / 2, (tab_rect.top + tab_rect.bottom) / 2);
    PostMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(tabs, WM_LBUTTONUP, 0, point);
    pompala();
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(_tr_arayuz_sekme_degisti_mi(strip), 1);
    EXPECT_EQ(_tr_arayuz_sekme_degisti_mi(strip), 0);
    EXPECT_FALSE(gorunur_bit(pages[0]));
    EXPECT_TRUE(gorunur_bit(pages[1]));
    yer_beklenen(pages[1], area.left, area.top, area.right - area.left, area.bottom - area.top);
}

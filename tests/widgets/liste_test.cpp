// Lists: rows whose texts come from a callback or the runtime's table, read back
// from the control itself; selection; Enter, Ctrl+Enter, a double click and Delete
// reported once as flags; bad ids, rows and columns; and the entry's change and
// Down flags that a list's search entry uses.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "arayuz_yardimci.h"
#include "widgets/arayuz_ic.h"

using namespace arayuz_test;

namespace {

// "satir R sutun C" for every cell; counts its calls.
int64_t cagri_sayisi = 0;
int64_t ornek_hucre(void* tag, int64_t row, int64_t column, char* buffer, int64_t capacity) {
    ++cagri_sayisi;
    const std::string text = std::string(static_cast<const char*>(tag)) + std::to_string(row) + "/" +
                             std::to_string(column);
    const int64_t length = static_cast<int64_t>(text.size()) < capacity ? static_cast<int64_t>(text.size()) : capacity;
    text.copy(buffer, static_cast<size_t>(length));
    return length;
}

// A list with two columns in a box in a visible window, as the browser's panel has it.
struct KutudakiListe {
    int64_t box;
    int64_t list;
    HWND hwnd;
};

KutudakiListe kutudaki_liste() {
    HWND host = ev_sahibi(500, 400);
    KutudakiListe sonuc;
    sonuc.box = _tr_arayuz_kutu_dikey();
    sonuc.list = _tr_arayuz_liste();
    _tr_arayuz_pakle(sonuc.box, sonuc.list, 1, 1, 0);
    EXPECT_EQ(0, _tr_arayuz_liste_sutun_ekle(sonuc.list, "Baslik", 6, 200));
    EXPECT_EQ(1, _tr_arayuz_liste_sutun_ekle(sonuc.list, "Adres", 5, 200));
    kutuyu_yerlestir(host, sonuc.box, 480, 360);
    sonuc.hwnd = _tr_arayuz_widget_al_hwnd(sonuc.list);
    return sonuc;
}

std::string hucre(HWND list, int row, int column) {
    wchar_t text[256] = {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 256;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    char utf8[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8), nullptr, nullptr);
    return utf8;
}

void tus(HWND hwnd, WPARAM key) {
    SendMessageW(hwnd, WM_KEYDOWN, key, 1);
    SendMessageW(hwnd, WM_KEYUP, key, 0xC0000001);
}

}  // namespace

TEST(Liste, satirlar_cagridan_ya_da_tablodan_okunur) {
    KutudakiListe l = kutudaki_liste();
    EXPECT_EQ(KIND_LIST, win_widgetlar[l.list].kind);
    EXPECT_EQ(0, _tr_arayuz_liste_satir_sayisi(l.list));
    static char onek[] = "h";
    ASSERT_EQ(0, _tr_arayuz_liste_cagri_ayarla(l.list, ornek_hucre, onek));
    ASSERT_EQ(0, _tr_arayuz_liste_satir_sayisi_ayarla(l.list, 100000));
    EXPECT_EQ(100000, SendMessageW(l.hwnd, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ("h0/0", hucre(l.hwnd, 0, 0));
    EXPECT_EQ("h99999/1", hucre(l.hwnd, 99999, 1));
    // Only cells that are drawn or asked for are asked of the program.
    cagri_sayisi = 0;
    UpdateWindow(l.hwnd);
    pompala();
    EXPECT_LT(cagri_sayisi, 200);

    // Without a callback the runtime's table holds the texts; unset cells are empty.
    ASSERT_EQ(0, _tr_arayuz_liste_cagri_ayarla(l.list, nullptr, nullptr));
    ASSERT_EQ(0, _tr_arayuz_liste_satir_sayisi_ayarla(l.list, 3));
    EXPECT_EQ(0, _tr_arayuz_liste_hucre_ayarla(l.list, 2, 1, "\xC3\xA7" "ay", 4));
    EXPECT_EQ("\xC3\xA7" "ay", hucre(l.hwnd, 2, 1));
    EXPECT_EQ("", hucre(l.hwnd, 0, 0));
    EXPECT_EQ(-1, _tr_arayuz_liste_hucre_ayarla(l.list, 3, 0, "x", 1));
    EXPECT_EQ(-1, _tr_arayuz_liste_hucre_ayarla(l.list, 0, 2, "x", 1));
    EXPECT_EQ(-1, _tr_arayuz_liste_hucre_ayarla(l.list, -1, 0, "x", 1));
    // Fewer rows drop the table's rows beyond them.
    ASSERT_EQ(0, _tr_arayuz_liste_satir_sayisi_ayarla(l.list, 2));
    ASSERT_EQ(0, _tr_arayuz_liste_satir_sayisi_ayarla(l.list, 3));
    EXPECT_EQ("", hucre(l.hwnd, 2, 1));
    EXPECT_EQ(-1, _tr_arayuz_liste_satir_sayisi_ayarla(l.list, -1));
    EXPECT_EQ(-1, _tr_arayuz_liste_satir_sayisi_ayarla(l.list, 100000001));
    EXPECT_EQ(3, _tr_arayuz_liste_satir_sayisi(l.list));
    // The table holds only the rows that were set, however many the list has.
    ASSERT_EQ(0, _tr_arayuz_liste_satir_sayisi_ayarla(l.list, 100000000));
    EXPECT_EQ(0, _tr_arayuz_liste_hucre_ayarla(l.list, 99999999, 0, "son", 3));
    EXPECT_EQ("son", hucre(l.hwnd, 99999999, 0));
}

TEST(Liste, secim_etkinlestirme_ve_silme_bir_kez_bildirilir) {
    KutudakiListe l = kutudaki_liste();
    static char onek[] = "s";
    _tr_arayuz_liste_cagri_ayarla(l.list, ornek_hucre, onek);
    _tr_arayuz_liste_satir_sayisi_ayarla(l.list, 50);
    EXPECT_EQ(-1, _tr_arayuz_liste_secili(l.list));
    EXPECT_EQ(-1, _tr_arayuz_liste_etkinlesti_mi(l.list));

    ASSERT_EQ(0, _tr_arayuz_liste_sec(l.list, 40));
    EXPECT_EQ(40, _tr_arayuz_liste_secili(l.list));
    EXPECT_EQ(-1, _tr_arayuz_liste_etkinlesti_mi(l.list)) << "selecting is not activating";
    // The control's own keyboard moves the selection.
    SetFocus(l.hwnd);
    tus(l.hwnd, VK_DOWN);
    EXPECT_EQ(41, _tr_arayuz_liste_secili(l.list));

    tus(l.hwnd, VK_RETURN);
    EXPECT_EQ(41, _tr_arayuz_liste_etkinlesti_mi(l.list));
    EXPECT_EQ(0, _tr_arayuz_liste_etkinlesme_tuslari(l.list));
    EXPECT_EQ(-1, _tr_arayuz_liste_etkinlesti_mi(l.list));

    // Ctrl+Enter: the same activation, with Ctrl held.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    tus(l.hwnd, VK_RETURN);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(41, _tr_arayuz_liste_etkinlesti_mi(l.list));
    EXPECT_EQ(TR_LISTE_CTRL, _tr_arayuz_liste_etkinlesme_tuslari(l.list));

    // A double click on a row activates that row.
    _tr_arayuz_liste_sec(l.list, 0);
    RECT row = {};
    row.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageW(l.hwnd, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row)));
    const LPARAM at = MAKELPARAM(row.left + 10, (row.top + row.bottom) / 2);
    SendMessageW(l.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(l.hwnd, WM_LBUTTONUP, 0, at);
    SendMessageW(l.hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(l.hwnd, WM_LBUTTONUP, 0, at);
    pompala();
    EXPECT_EQ(2, _tr_arayuz_liste_etkinlesti_mi(l.list));
    EXPECT_EQ(2, _tr_arayuz_liste_secili(l.list));

    tus(l.hwnd, VK_DELETE);
    tus(l.hwnd, VK_DELETE);
    EXPECT_EQ(1, _tr_arayuz_liste_silme_istendi_mi(l.list));
    EXPECT_EQ(0, _tr_arayuz_liste_silme_istendi_mi(l.list));

    // The selection goes with its row when the count shrinks; -1 clears it.
    _tr_arayuz_liste_sec(l.list, 30);
    _tr_arayuz_liste_satir_sayisi_ayarla(l.list, 10);
    EXPECT_EQ(-1, _tr_arayuz_liste_secili(l.list));
    _tr_arayuz_liste_sec(l.list, 5);
    _tr_arayuz_liste_satir_sayisi_ayarla(l.list, 20);
    EXPECT_EQ(5, _tr_arayuz_liste_secili(l.list));
    EXPECT_EQ(0, _tr_arayuz_liste_sec(l.list, -1));
    EXPECT_EQ(-1, _tr_arayuz_liste_secili(l.list));
    EXPECT_EQ(-1, _tr_arayuz_liste_sec(l.list, 20));
    EXPECT_EQ(-1, _tr_arayuz_liste_sec(l.list, -2));
}

TEST(Liste, gecersiz_kimlikler_ve_baska_turler_reddedilir) {
    const int64_t button = dugme("d");
    for (int64_t id : {int64_t{-1}, int64_t{4096}, button}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(-1, _tr_arayuz_liste_sutun_ekle(id, "a", 1, 10));
        EXPECT_EQ(-1, _tr_arayuz_liste_satir_sayisi_ayarla(id, 1));
        EXPECT_EQ(0, _tr_arayuz_liste_satir_sayisi(id));
        EXPECT_EQ(-1, _tr_arayuz_liste_cagri_ayarla(id, ornek_hucre, nullptr));
        EXPECT_EQ(-1, _tr_arayuz_liste_hucre_ayarla(id, 0, 0, "a", 1));
        EXPECT_EQ(-1, _tr_arayuz_liste_secili(id));
        EXPECT_EQ(-1, _tr_arayuz_liste_sec(id, 0));
        EXPECT_EQ(-1, _tr_arayuz_liste_etkinlesti_mi(id));
        EXPECT_EQ(0, _tr_arayuz_liste_etkinlesme_tuslari(id));
        EXPECT_EQ(0, _tr_arayuz_liste_silme_istendi_mi(id));
        EXPECT_EQ(-1, _tr_arayuz_liste_yenile(id));
    }
    const int64_t list = _tr_arayuz_liste();
    EXPECT_EQ(-1, _tr_arayuz_liste_sutun_ekle(list, "a", 1, -5));
}

TEST(Giris, degisim_ve_asagi_ok_bir_kez_bildirilir) {
    HWND host = ev_sahibi(400, 100);
    const int64_t box = _tr_arayuz_kutu_yatay();
    const int64_t entry = _tr_arayuz_giris();
    _tr_arayuz_ekle(box, entry);
    kutuyu_yerlestir(host, box, 300, 40);
    HWND edit = _tr_arayuz_widget_al_hwnd(entry);
    EXPECT_EQ(0, _tr_arayuz_giris_degisti_mi(entry));
    SetFocus(edit);
    SendMessageW(edit, WM_CHAR, L'a', 1);
    SendMessageW(edit, WM_CHAR, L'b', 1);
    EXPECT_EQ(1, _tr_arayuz_giris_degisti_mi(entry));
    EXPECT_EQ(0, _tr_arayuz_giris_degisti_mi(entry));
    tus(edit, VK_DOWN);
    EXPECT_EQ(1, _tr_arayuz_giris_asagi_mi(entry));
    EXPECT_EQ(0, _tr_arayuz_giris_asagi_mi(entry));
    EXPECT_EQ(0, _tr_arayuz_giris_enter_mi(entry));
    EXPECT_EQ(0, _tr_arayuz_giris_degisti_mi(-1));
    EXPECT_EQ(0, _tr_arayuz_giris_asagi_mi(4096));
}

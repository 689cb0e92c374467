// Widget runtime: lists. A list is one list-view control in report mode with the
// owner-data style: the control keeps only a row count and a selection, and asks
// for a cell's text (LVN_GETDISPINFOW) when it draws that cell. So setting 100,000
// rows costs the same as setting 10, and scrolling costs what the visible rows cost.
//
// Each list has a record in a table of 64 beside its widget record: the row count,
// where its texts come from (the program's callback, or the runtime's own table of
// cells), and its event flags. The list's window is subclassed: Enter and a double
// click raise `etkinlesen_satir` (with the modifiers held), Delete raises
// `silme_istendi`; each is lowered only by its query. The control's notifications
// reach the box the list is in (through the parking window, which the control
// keeps notifying), and the box hands them to liste_bildirimi here.
#include <windows.h>

#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "tr_metin_sinir.h"
#include "tr_olcek.h"
#include "widgets/arayuz_ic.h"
#include "widgets/arayuz_win_cz.h"

namespace {

constexpr int kListeSiniri = 64;
constexpr int64_t kEnCokSatir = 100000000;
constexpr UINT_PTR kListeGozcusu = 2;  // the subclass id of the list's key and mouse watch
constexpr int kHucreSiniri = 1024;     // bytes of one cell's text asked of the callback
constexpr COLORREF kArkaPlanRengi = RGB(30, 30, 46);  // #1E1E2E
constexpr COLORREF kYaziRengi = RGB(205, 214, 244);   // #CDD6F4

struct Liste {
    int64_t widget;  // -1 for a free record
    int64_t satir_sayisi;
    int32_t sutun_sayisi;
    TrListeHucresi cagri;
    void* etiket;
    std::map<int64_t, std::vector<std::string>> tablo;  // the rows set, by row; then by column
    int64_t etkinlesen_satir;                     // -1 = none since the last query
    int64_t etkinlesme_tuslari;
    int32_t silme_istendi;
    wchar_t hucre[kHucreSiniri];  // the text handed to the control for the cell it draws
};

Liste listeler[kListeSiniri];
int32_t liste_sayisi = 0;

Liste* liste_kaydi(int64_t widget) {
    const Widget* record = pencereli_widget(widget);
    if (record == nullptr || record->kind != KIND_LIST) return nullptr;
    for (int32_t i = 0; i < liste_sayisi; ++i) {
        if (listeler[i].widget == widget) return &listeler[i];
    }
    return nullptr;
}

HWND liste_penceresi(const Liste& liste) { return win_widgetlar[liste.widget].hwnd; }

int64_t tutulan_tuslar() {
    int64_t tuslar = 0;
    if (GetKeyState(VK_CONTROL) < 0) tuslar |= TR_LISTE_CTRL;
    if (GetKeyState(VK_SHIFT) < 0) tuslar |= TR_LISTE_SHIFT;
    if (GetKeyState(VK_MENU) < 0) tuslar |= TR_LISTE_ALT;
    return tuslar;
}

int64_t secili_satir(HWND hwnd) {
    return SendMessageW(hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
}

void etkinlestir(Liste& liste, int64_t satir) {
    if (satir < 0 || satir >= liste.satir_sayisi) return;
    liste.etkinlesen_satir = satir;
    liste.etkinlesme_tuslari = tutulan_tuslar();
}

Liste* pencerenin_listesi(HWND hwnd) {
    const int64_t id = widget_kimligi(hwnd);
    for (int32_t i = 0; i < liste_sayisi; ++i) {
        if (listeler[i].widget == id) return &listeler[i];
    }
    return nullptr;
}

int64_t cift_tiklanan_satir(HWND hwnd, LPARAM lparam) {
    LVHITTESTINFO yer = {};
    yer.pt = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    const int64_t satir = SendMessageW(hwnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&yer));
    return (yer.flags & LVHT_ONITEM) != 0 ? satir : -1;
}

LRESULT CALLBACK liste_gozcusu(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR subclass,
                               DWORD_PTR) {
    switch (message) {
    case WM_KEYDOWN:
        if (wparam == VK_RETURN) {
            if (Liste* liste = pencerenin_listesi(hwnd)) etkinlestir(*liste, secili_satir(hwnd));
            return 0;
        }
        if (wparam == VK_DELETE) {
            if (Liste* liste = pencerenin_listesi(hwnd)) liste->silme_istendi = 1;
            return 0;
        }
        break;
    case WM_CHAR:
        if (wparam == L'\r' || wparam == L'\n') return 0;  // the character of Enter: nothing beeps
        break;
    case WM_LBUTTONDBLCLK: {
        const LRESULT sonuc = DefSubclassProc(hwnd, message, wparam, lparam);
        if (Liste* liste = pencerenin_listesi(hwnd)) etkinlestir(*liste, cift_tiklanan_satir(hwnd, lparam));
        return sonuc;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, liste_gozcusu, subclass);
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, wparam, lparam);
}

// The UTF-8 text of a cell, from the callback or the table, as UTF-16 into the
// record's buffer. A text that is not valid UTF-8 shows as empty.
const wchar_t* hucre_metni(Liste& liste, int64_t satir, int64_t sutun) {
    char utf8[kHucreSiniri];
    int64_t uzunluk = 0;
    if (liste.cagri != nullptr) {
        uzunluk = liste.cagri(liste.etiket, satir, sutun, utf8, kHucreSiniri);
        if (uzunluk < 0) uzunluk = 0;
        if (uzunluk > kHucreSiniri) uzunluk = kHucreSiniri;
    } else if (const auto bulunan = liste.tablo.find(satir);
               bulunan != liste.tablo.end() && sutun < static_cast<int64_t>(bulunan->second.size())) {
        const std::string& metin = bulunan->second[static_cast<size_t>(sutun)];
        uzunluk = static_cast<int64_t>(metin.size() < kHucreSiniri ? metin.size() : kHucreSiniri);
        metin.copy(utf8, static_cast<size_t>(uzunluk));
    }
    // A text cut inside a character loses that character: step back to its start.
    if (uzunluk == kHucreSiniri) {
        while (uzunluk > 0 && (static_cast<unsigned char>(utf8[uzunluk - 1]) & 0xC0) == 0x80) --uzunluk;
        if (uzunluk > 0 && static_cast<unsigned char>(utf8[uzunluk - 1]) >= 0xC0) --uzunluk;
    }
    const int yazilan = uzunluk > 0 ? MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8,
                                                          static_cast<int>(uzunluk), liste.hucre, kHucreSiniri - 1)
                                    : 0;
    liste.hucre[yazilan > 0 ? yazilan : 0] = L'\0';
    return liste.hucre;
}

}  // namespace

// ---- Internal operations shared by the unit's files --------------------------

LRESULT liste_bildirimi(Widget& widget, const NMHDR* header) {
    if (header->code != LVN_GETDISPINFOW) return 0;
    Liste* liste = liste_kaydi(&widget - win_widgetlar);
    if (liste == nullptr) return 0;
    NMLVDISPINFOW* bilgi = reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(header));
    LVITEMW& oge = bilgi->item;
    if ((oge.mask & LVIF_TEXT) == 0 || oge.pszText == nullptr || oge.cchTextMax <= 0) return 0;
    if (oge.iItem < 0 || oge.iItem >= liste->satir_sayisi || oge.iSubItem < 0 || oge.iSubItem >= liste->sutun_sayisi) {
        oge.pszText[0] = L'\0';
        return 0;
    }
    const wchar_t* metin = hucre_metni(*liste, oge.iItem, oge.iSubItem);
    lstrcpynW(oge.pszText, metin, oge.cchTextMax);
    return 0;
}

// ---- Internal operations shared by the unit's files --------------------------

// The user may have dragged a column's edge: each column keeps its width as it is
// now, taken from one density to the other.
void liste_sutunlarini_olcekle(Widget& list, int32_t old_dpi, int32_t new_dpi) {
    const Liste* liste = liste_kaydi(&list - win_widgetlar);
    if (liste == nullptr || old_dpi <= 0 || new_dpi <= 0) return;
    for (int32_t sutun = 0; sutun < liste->sutun_sayisi; ++sutun) {
        const LRESULT genislik = SendMessageW(list.hwnd, LVM_GETCOLUMNWIDTH, sutun, 0);
        SendMessageW(list.hwnd, LVM_SETCOLUMNWIDTH, sutun, MulDiv(static_cast<int>(genislik), new_dpi, old_dpi));
    }
}

// ---- Entry points ---------------------------------------------------------------

int64_t _tr_arayuz_liste(void) noexcept {
    init_resources();
    if (liste_sayisi >= kListeSiniri) return -1;
    HWND hwnd = CreateWindowExW(0, WC_LISTVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL |
                                    LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                                0, 0, 200, 200, park_penceresi(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) return -1;
    const int64_t id = widget_kaydet(hwnd, KIND_LIST);
    if (id < 0) {
        DestroyWindow(hwnd);
        return -1;
    }
    SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
                 LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    SendMessageW(hwnd, LVM_SETBKCOLOR, 0, kArkaPlanRengi);
    SendMessageW(hwnd, LVM_SETTEXTBKCOLOR, 0, kArkaPlanRengi);
    SendMessageW(hwnd, LVM_SETTEXTCOLOR, 0, kYaziRengi);
    Liste& liste = listeler[liste_sayisi++];
    liste.widget = id;
    liste.satir_sayisi = 0;
    liste.sutun_sayisi = 0;
    liste.cagri = nullptr;
    liste.etiket = nullptr;
    liste.etkinlesen_satir = -1;
    liste.etkinlesme_tuslari = 0;
    liste.silme_istendi = 0;
    SetWindowSubclass(hwnd, liste_gozcusu, kListeGozcusu, 0);
    return id;
}

int64_t _tr_arayuz_liste_sutun_ekle(int64_t list, const char* title, int64_t length, int64_t width) noexcept {
    Liste* liste = liste_kaydi(list);
    if (liste == nullptr || width < 0 || width > 100000) return -1;
    GenisMetin baslik(title, length);
    if (!baslik.gecerli()) return -1;
    LVCOLUMNW sutun = {};
    sutun.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    sutun.pszText = const_cast<wchar_t*>(baslik.c_str());
    sutun.cx = olcekli(&win_widgetlar[list], width);
    sutun.iSubItem = liste->sutun_sayisi;
    const LRESULT konum =
        SendMessageW(liste_penceresi(*liste), LVM_INSERTCOLUMNW, liste->sutun_sayisi, reinterpret_cast<LPARAM>(&sutun));
    if (konum < 0) return -1;
    return liste->sutun_sayisi++;
}

int64_t _tr_arayuz_liste_satir_sayisi_ayarla(int64_t list, int64_t count) noexcept {
    Liste* liste = liste_kaydi(list);
    if (liste == nullptr || count < 0 || count > kEnCokSatir) return -1;
    HWND hwnd = liste_penceresi(*liste);
    // The same count again: only the rows are drawn anew. (Setting a count makes the
    // control measure and redraw its scroll bars, a cost of its own.)
    if (count == liste->satir_sayisi) {
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    const int64_t secili = secili_satir(hwnd);
    liste->satir_sayisi = count;
    liste->tablo.erase(liste->tablo.lower_bound(count), liste->tablo.end());
    SendMessageW(hwnd, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), LVSICF_NOSCROLL);
    if (secili >= count) {
        LVITEMW durum = {};
        durum.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&durum));
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
}

int64_t _tr_arayuz_liste_satir_sayisi(int64_t list) noexcept {
    const Liste* liste = liste_kaydi(list);
    return liste != nullptr ? liste->satir_sayisi : 0;
}

int64_t _tr_arayuz_liste_cagri_ayarla(int64_t list, TrListeHucresi callback, void* tag) noexcept {
    Liste* liste = liste_kaydi(list);
    if (liste == nullptr) return -1;
    liste->cagri = callback;
    liste->etiket = tag;
    InvalidateRect(liste_penceresi(*liste), nullptr, TRUE);
    return 0;
}

int64_t _tr_arayuz_liste_hucre_ayarla(int64_t list, int64_t row, int64_t column, const char* text,
                                      int64_t length) noexcept {
    Liste* liste = liste_kaydi(list);
    if (liste == nullptr || row < 0 || row >= liste->satir_sayisi || column < 0 || column >= liste->sutun_sayisi) {
        return -1;
    }
    try {
        std::vector<std::string>& satir = liste->tablo[row];
        if (static_cast<int64_t>(satir.size()) <= column) satir.resize(static_cast<size_t>(column) + 1);
        satir[static_cast<size_t>(column)].assign(text != nullptr && length > 0 ? text : "",
                                                  text != nullptr && length > 0 ? static_cast<size_t>(length) : 0);
    } catch (...) {
        return -1;
    }
    SendMessageW(liste_penceresi(*liste), LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
    return 0;
}

int64_t _tr_arayuz_liste_secili(int64_t list) noexcept {
    const Liste* liste = liste_kaydi(list);
    if (liste == nullptr) return -1;
    const int64_t satir = secili_satir(liste_penceresi(*liste));
    return satir >= 0 && satir < liste->satir_sayisi ? satir : -1;
}

int64_t _tr_arayuz_liste_sec(int64_t list, int64_t row) noexcept {
    Liste* liste = liste_kaydi(list);
    if (liste == nullptr || row < -1 || row >= liste->satir_sayisi) return -1;
    HWND hwnd = liste_penceresi(*liste);
    LVITEMW durum = {};
    durum.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&durum));
    if (row < 0) return 0;
    durum.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&durum));
    SendMessageW(hwnd, LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(row));
    SendMessageW(hwnd, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    return 0;
}

int64_t _tr_arayuz_liste_etkinlesti_mi(int64_t list) noexcept {
    Liste* liste = liste_kaydi(list);
    if (liste == nullptr) return -1;
    const int64_t satir = liste->etkinlesen_satir;
    liste->etkinlesen_satir = -1;
    return satir < liste->satir_sayisi ? satir : -1;
}

int64_t _tr_arayuz_liste_etkinlesme_tuslari(int64_t list) noexcept {
    const Liste* liste = liste_kaydi(list);
    return liste != nullptr ? liste->etkinlesme_tuslari : 0;
}

int64_t _tr_arayuz_liste_silme_istendi_mi(int64_t list) noexcept {
    Liste* liste = liste_kaydi(list);
    if (liste == nullptr) return 0;
    const int64_t istendi = liste->silme_istendi != 0 ? 1 : 0;
    liste->silme_istendi = 0;
    return istendi;
}

int64_t _tr_arayuz_liste_yenile(int64_t list) noexcept {
    Liste* liste = liste_kaydi(list);
    if (liste == nullptr) return -1;
    InvalidateRect(liste_penceresi(*liste), nullptr, TRUE);
    return 0;
}

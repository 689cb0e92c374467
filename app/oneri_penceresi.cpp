// The suggestion list under the address entry: an owned popup window that never
// takes the keyboard, and the watch on the entry's keys that drives it. What is
// suggested, and in which order, is oneriler.cpp's.
//
// The keyboard stays in the entry all along: the list is a WS_POPUP window with
// WS_EX_NOACTIVATE, shown with SW_SHOWNOACTIVATE, and it answers a click with
// MA_NOACTIVATE. The entry's window gets a subclass of ours, installed on the first
// pass of the checks; being the last one installed, it sees each key before the
// entry and the runtime's own watch do:
// - a typed character: the list searched again, and inline completion when the
//   caret is at the end of the text;
// - Backspace, Delete, cut, paste, undo: the list searched again, never completed,
//   so that the completion just removed does not come back;
// - Up and Down: the selected row (none: the typed text), its address shown in the
//   entry; Enter: the selected row opened, or else the entry's own Enter, the text
//   counted as typed first;
// - the keyboard leaving the entry: the list closes.
// Esc reaches the program as a shortcut, whose handler asks oneriler_esc_isle
// first. A chosen row is opened on the next pass of the checks, out of the window
// procedures.
//
// The index (oneri_bakimi.cpp) is brought up to date on a pass of the checks while
// the keyboard is in the entry, so mostly not on a key press; a whole new index is
// built on a thread of its own, and an open list shows its rows when it is ready.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "depolar.h"
#include "korva.h"
#include "oneriler.h"
#include "tarayici_ic.h"
#include "widgets/arayuz_win_cz.h"

namespace korva {

namespace {

constexpr size_t kEnCokSatir = 8;  // the search row among them
constexpr UINT_PTR kGozcuKimligi = 0x4F4E;
constexpr wchar_t kPencereSinifi[] = L"KorvaOneriListesi";

struct GosterilenSatir {
    std::string baslik;
    std::string adres;  // the search row: the text to search
    bool arama = false;
};

enum class Bekleyen { yok, adres, arama };

HWND giris = nullptr;
HWND liste = nullptr;
int satir_yuksekligi = 22;


std::vector<GosterilenSatir> satirlar;
int secili = -1;
std::string yazilan;  // the text as the user typed it, without the completion

Bekleyen bekleyen = Bekleyen::yok;
std::string bekleyen_metin;

// ---- Text ------------------------------------------------------------------------------

std::wstring giris_metni() {
    const int boy = GetWindowTextLengthW(giris);
    std::wstring metin(static_cast<size_t>(boy > 0 ? boy : 0) + 1, L'\0');
    const int n = GetWindowTextW(giris, metin.data(), boy + 1);
    metin.resize(static_cast<size_t>(n > 0 ? n : 0));
    return metin;
}

bool bosluktan_ibaret(const std::string& metin) {
    return metin.find_first_not_of(" \t") == std::string::npos;
}

// The user opened this text from the entry: it counts as typed from now on.
void yazildi_say(const std::string& metin) {
    const std::string anahtar = yazilan_anahtari(metin.substr(std::min(metin.size(), metin.find_first_not_of(' '))));
    oneri_dizinine_yazildi(anahtar);
}

// ---- The list window ---------------------------------------------------------------------

bool acik() { return liste != nullptr && IsWindowVisible(liste); }

bool kapat() {
    const bool acikti = acik();
    if (acikti) ShowWindow(liste, SW_HIDE);
    satirlar.clear();
    secili = -1;
    return acikti;
}

HFONT yazi_tipi() {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(giris, WM_GETFONT, 0, 0));
    return font != nullptr ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void yaz(HDC dc, const std::string& metin, RECT alan) {
    const std::wstring metin_genis = genis(metin);
    DrawTextW(dc, metin_genis.c_str(), static_cast<int>(metin_genis.size()), &alan,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

// A page's row: its title on the left, its address in grey on the right; the
// search row: its one text.
void satiri_ciz(HDC dc, const RECT& alan, const GosterilenSatir& satir, bool secilmis) {
    FillRect(dc, &alan, GetSysColorBrush(secilmis ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const COLORREF yazi = GetSysColor(secilmis ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    SetTextColor(dc, yazi);
    RECT metin = alan;
    metin.left += ekranda(8);
    metin.right -= ekranda(8);
    if (satir.arama) {
        yaz(dc, satir.baslik, metin);
        return;
    }
    RECT baslik = metin, adres = metin;
    baslik.right = metin.left + (metin.right - metin.left) * 45 / 100;
    adres.left = baslik.right + ekranda(12);
    yaz(dc, satir.baslik, baslik);
    SetTextColor(dc, secilmis ? yazi : GetSysColor(COLOR_GRAYTEXT));
    yaz(dc, satir.adres, adres);
}

void ciz(HWND pencere) {
    PAINTSTRUCT boya;
    HDC dc = BeginPaint(pencere, &boya);
    RECT alan;
    GetClientRect(pencere, &alan);
    HGDIOBJ eski = SelectObject(dc, yazi_tipi());
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = 0; i < satirlar.size(); ++i) {
        const RECT satir = {0, static_cast<LONG>(i) * satir_yuksekligi, alan.right,
                            static_cast<LONG>(i + 1) * satir_yuksekligi};
        satiri_ciz(dc, satir, satirlar[i], static_cast<int>(i) == secili);
    }
    RECT kalan = {0, static_cast<LONG>(satirlar.size()) * satir_yuksekligi, alan.right, alan.bottom};
    if (kalan.top < kalan.bottom) FillRect(dc, &kalan, GetSysColorBrush(COLOR_WINDOW));
    SelectObject(dc, eski);
    EndPaint(pencere, &boya);
}

void secimi_degistir(int yeni) {
    if (yeni == secili) return;
    secili = yeni;
    if (liste != nullptr) InvalidateRect(liste, nullptr, FALSE);
}

// A row chosen: the entry shows what is opened, and the next pass opens it.
void secimi_bekle(int yer) {
    if (yer < 0 || yer >= static_cast<int>(satirlar.size())) return;
    const GosterilenSatir satir = satirlar[static_cast<size_t>(yer)];
    kapat();
    if (satir.arama) {
        bekleyen = Bekleyen::arama;
    } else {
        bekleyen = Bekleyen::adres;
        yazildi_say(satir.adres);
        SetWindowTextW(giris, genis(satir.adres).c_str());
    }
    bekleyen_metin = satir.adres;
}

int satir_at(LPARAM nokta) {
    const int y = static_cast<short>(HIWORD(nokta));
    const int yer = y >= 0 ? y / satir_yuksekligi : -1;
    return yer < static_cast<int>(satirlar.size()) ? yer : -1;
}

LRESULT CALLBACK liste_islemi(HWND pencere, UINT mesaj, WPARAM wparam, LPARAM lparam) {
    switch (mesaj) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_PAINT: ciz(pencere); return 0;
    case WM_ERASEBKGND: return 1;  // painted whole by WM_PAINT
    case WM_MOUSEMOVE: {
        const int yer = satir_at(lparam);
        if (yer >= 0) secimi_degistir(yer);
        return 0;
    }
    case WM_LBUTTONDOWN: secimi_bekle(satir_at(lparam)); return 0;
    default: break;
    }
    return DefWindowProcW(pencere, mesaj, wparam, lparam);
}

bool listeyi_yarat() {
    if (liste != nullptr) return true;
    WNDCLASSW sinif = {};
    sinif.lpfnWndProc = liste_islemi;
    sinif.hInstance = GetModuleHandleW(nullptr);
    sinif.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    sinif.lpszClassName = kPencereSinifi;
    RegisterClassW(&sinif);  // fails harmlessly when already registered
    liste = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kPencereSinifi, L"", WS_POPUP | WS_BORDER, 0, 0, 10,
                            10, GetAncestor(giris, GA_ROOT), nullptr, GetModuleHandleW(nullptr), nullptr);
    return liste != nullptr;
}

// A row is a line of the entry's font and some room; measured each time the list
// shows, since the font follows the window's density.
void satir_yuksekligini_olc() {
    HDC dc = GetDC(liste);
    HGDIOBJ eski = SelectObject(dc, yazi_tipi());
    TEXTMETRICW olcu = {};
    if (GetTextMetricsW(dc, &olcu)) satir_yuksekligi = olcu.tmHeight + ekranda(8);
    SelectObject(dc, eski);
    ReleaseDC(liste, dc);
}

// Under the entry, as wide as it, one line per row; drawn before this returns.
void goster() {
    if (!listeyi_yarat()) return;
    satir_yuksekligini_olc();
    RECT alan;
    GetWindowRect(giris, &alan);
    const int yukseklik = static_cast<int>(satirlar.size()) * satir_yuksekligi + 2 * GetSystemMetrics(SM_CYBORDER);
    SetWindowPos(liste, nullptr, alan.left, alan.bottom, alan.right - alan.left, yukseklik,
                 SWP_NOACTIVATE | SWP_NOZORDER);
    if (!IsWindowVisible(liste)) ShowWindow(liste, SW_SHOWNOACTIVATE);
    InvalidateRect(liste, nullptr, FALSE);
    UpdateWindow(liste);
}

// The rows for the text as the user typed it, and the search row last.
void listeyi_doldur(OneriDizini& dizin, const std::string& metin) {
    yazilan = metin;
    satirlar.clear();
    for (size_t yer : dizin.ara(metin, kEnCokSatir - 1)) {
        const OneriSatiri& satir = dizin.satir(yer);
        satirlar.push_back({satir.baslik, satir.adres, false});
    }
    satirlar.push_back({"\"" + metin + "\" icin ara", metin, true});
    secili = -1;
    goster();
}

// The typed text changed: completion when asked, then the list for the text as
// the user typed it, and the search row last.
void metin_degisti(bool tamamlansin) {
    const std::wstring metin_genis = giris_metni();
    const std::string metin = utf8(metin_genis);
    if (bosluktan_ibaret(metin)) {
        kapat();
        return;
    }
    if (!gecmis_yuklendi_mi()) gecmisi_yukle();
    OneriDizini& dizin = oneri_dizini(true);
    DWORD bas = 0, son = 0;
    SendMessageW(giris, EM_GETSEL, reinterpret_cast<WPARAM>(&bas), reinterpret_cast<LPARAM>(&son));
    if (tamamlansin && bas == son && son == metin_genis.size()) {
        const std::wstring tam = genis(dizin.tamamla(metin));
        if (tam.size() > metin_genis.size()) {
            SetWindowTextW(giris, tam.c_str());
            SendMessageW(giris, EM_SETSEL, metin_genis.size(), tam.size());
        }
    }
    listeyi_doldur(dizin, metin);
}

// Up and Down: none selected is a place in the cycle, the typed text's. The entry
// shows the selected page's address, or the typed text again.
void secimi_kaydir(int yon) {
    const int sayi = static_cast<int>(satirlar.size());
    secimi_degistir((secili + 1 + yon + sayi + 1) % (sayi + 1) - 1);
    const bool sayfa = secili >= 0 && !satirlar[static_cast<size_t>(secili)].arama;
    const std::wstring gosterilen = genis(sayfa ? satirlar[static_cast<size_t>(secili)].adres : yazilan);
    SetWindowTextW(giris, gosterilen.c_str());
    SendMessageW(giris, EM_SETSEL, gosterilen.size(), gosterilen.size());
}

// A key going down in the entry; true when it is ours alone.
bool tusu_isle(WPARAM tus) {
    switch (tus) {
    case VK_DOWN:
    case VK_UP:
        if (!acik()) {
            if (tus != VK_DOWN) return false;
            metin_degisti(false);
            return acik();
        }
        secimi_kaydir(tus == VK_DOWN ? 1 : -1);
        return true;
    case VK_RETURN:
        if (acik() && secili >= 0) {
            secimi_bekle(secili);
            return true;
        }
        yazildi_say(utf8(giris_metni()));
        kapat();
        return false;
    default: return false;
    }
}

LRESULT CALLBACK giris_gozcusu(HWND pencere, UINT mesaj, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
    switch (mesaj) {
    case WM_CHAR: {
        const bool yazi = wparam >= 0x20 && wparam != 0x7F;
        const bool silme = wparam == 0x08 || wparam == 0x7F;
        // The first half of a character beyond U+FFFF: the text is whole only with
        // the second, so it is looked at then (completing half a character would
        // put a replacement character in the entry).
        const bool yarim = wparam >= 0xD800 && wparam <= 0xDBFF;
        if ((!yazi && !silme) || yarim) break;
        const LRESULT sonuc = DefSubclassProc(pencere, mesaj, wparam, lparam);
        metin_degisti(yazi);
        return sonuc;
    }
    case WM_KEYDOWN:
        if (wparam == VK_DELETE) {
            const LRESULT sonuc = DefSubclassProc(pencere, mesaj, wparam, lparam);
            metin_degisti(false);
            return sonuc;
        }
        if (tusu_isle(wparam)) return 0;
        break;
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO: {
        const LRESULT sonuc = DefSubclassProc(pencere, mesaj, wparam, lparam);
        metin_degisti(false);
        return sonuc;
    }
    case WM_KILLFOCUS: kapat(); break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(pencere, giris_gozcusu, kGozcuKimligi);
        kapat();
        if (liste != nullptr) DestroyWindow(liste);
        liste = nullptr;
        giris = nullptr;
        break;
    default: break;
    }
    return DefSubclassProc(pencere, mesaj, wparam, lparam);
}

void gozcuyu_kur() {
    if (giris != nullptr || adres_girisi < 0) return;
    HWND pencere = _tr_arayuz_widget_al_hwnd(adres_girisi);
    if (pencere == nullptr || !SetWindowSubclass(pencere, giris_gozcusu, kGozcuKimligi, 0)) return;
    giris = pencere;
}

// The list follows the entry when the window moves or changes size.
void yerini_koru() {
    if (!acik()) return;
    RECT giris_alani, liste_alani;
    GetWindowRect(giris, &giris_alani);
    GetWindowRect(liste, &liste_alani);
    if (giris_alani.left != liste_alani.left || giris_alani.bottom != liste_alani.top ||
        giris_alani.right - giris_alani.left != liste_alani.right - liste_alani.left) {
        goster();
    }
}

}  // namespace

void oneriler_denetle() {
    gozcuyu_kur();
    if (giris == nullptr) return;
    const Bekleyen ne = bekleyen;
    bekleyen = Bekleyen::yok;
    if (ne == Bekleyen::adres) adresi_ac(bekleyen_metin, false);
    if (ne == Bekleyen::arama) metni_ara(bekleyen_metin);
    if (GetFocus() == giris && gecmis_yuklendi_mi()) {
        OneriDizini& dizin = oneri_dizini(false);
        // A list shown from the index that was replaced shows the new one's rows,
        // unless the user is moving through it.
        if (oneri_dizini_yenilendi() && acik() && secili < 0) listeyi_doldur(dizin, yazilan);
    }
    yerini_koru();
}

bool oneriler_esc_isle() { return kapat(); }

void onerileri_kapat() { kapat(); }

bool oneriler_acik_mi() { return acik(); }

void* oneri_penceresi() { return liste; }

std::vector<std::string> oneri_satirlari() {
    std::vector<std::string> sonuc;
    for (const GosterilenSatir& satir : satirlar) sonuc.push_back(satir.arama ? satir.baslik : satir.adres);
    return sonuc;
}

int64_t oneri_secili() { return secili; }

}  // namespace korva

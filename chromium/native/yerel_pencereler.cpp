// The native windows a page asks the user through (see yerel_pencereler.h).
//
// Each list or dialog window owns a record (its GWLP_USERDATA) holding what it
// shows and the function that hears the answer; the record goes with the window
// (WM_NCDESTROY). An answer is given by taking the function out, destroying the
// window and only then calling it, so that whatever the function does (close the
// page, open the next dialog) finds no half-closed window.
#include "yerel_pencereler.h"
#include "metinler.h"

#include "ekran_dpisi.h"
#include "gec_yuklenen.h"

#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace yerel {
namespace {

const wchar_t LISTE_SINIFI[] = L"KorvaSecimListesi";
const wchar_t DIYALOG_SINIFI[] = L"KorvaSayfaDiyalogu";

// A list shows this many rows at most; longer lists scroll.
const int EN_COK_SATIR = 20;
// A message taller than this scrolls inside the dialog.
const int EN_YUKSEK_MESAJ = 320;
const int DIYALOG_GENISLIGI = 440, KENAR = 12, DUGME_GENISLIGI = 84, DUGME_YUKSEKLIGI = 26;

enum : int { KIMLIK_LISTE = 100, KIMLIK_MESAJ, KIMLIK_METIN, KIMLIK_KUTU };

// Posted by a list that lost the keyboard: it is left once the activation is over.
const UINT WM_LISTE_BIRAKILDI = WM_APP + 40;

HINSTANCE modul()
{
    HINSTANCE m = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&modul), &m);
    return m;
}

// The system's font for messages, and its bold form for a group's label.
HFONT yazi_tipi(bool kalin)
{
    static HFONT duz = nullptr, koyu = nullptr;
    if (!duz) {
        NONCLIENTMETRICSW olcu = {};
        olcu.cbSize = sizeof(olcu);
        if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(olcu), &olcu, 0))
            GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(olcu.lfMessageFont), &olcu.lfMessageFont);
        duz = CreateFontIndirectW(&olcu.lfMessageFont);
        olcu.lfMessageFont.lfWeight = FW_BOLD;
        koyu = CreateFontIndirectW(&olcu.lfMessageFont);
    }
    return kalin ? koyu : duz;
}

int yazi_yuksekligi()
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ eski = SelectObject(dc, yazi_tipi(false));
    TEXTMETRICW olcu = {};
    GetTextMetricsW(dc, &olcu);
    SelectObject(dc, eski);
    ReleaseDC(nullptr, dc);
    return olcu.tmHeight;
}

void sinif_kaydet(const wchar_t* ad, WNDPROC islev, HBRUSH zemin)
{
    WNDCLASSEXW sinif = {};
    sinif.cbSize = sizeof(sinif);
    if (GetClassInfoExW(modul(), ad, &sinif))
        return;
    sinif.lpfnWndProc = islev;
    sinif.hInstance = modul();
    sinif.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    sinif.hbrBackground = zemin;
    sinif.lpszClassName = ad;
    RegisterClassExW(&sinif);
}

// The work area of the screen that holds a point.
RECT calisma_alani(POINT nokta)
{
    MONITORINFO bilgi = {};
    bilgi.cbSize = sizeof(bilgi);
    if (GetMonitorInfoW(MonitorFromPoint(nokta, MONITOR_DEFAULTTONEAREST), &bilgi))
        return bilgi.rcWork;
    RECT alan = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return alan;
}

// ---------------------------------------------------------------------------
// The list of a <select>: a borderless popup holding an owner-drawn list box.

struct Liste {
    std::vector<SecenekSatiri> satirlar;
    std::function<void(int)> secildi;
    HWND kutu = nullptr;
    bool bitti = false;
};

WNDPROC g_kutu_islevi;   // the system list box's own procedure, the same for every list

Liste* liste_kaydi(HWND pencere)
{
    return reinterpret_cast<Liste*>(GetWindowLongPtrW(pencere, GWLP_USERDATA));
}

bool secilebilir(const Liste& liste, int satir)
{
    return satir >= 0 && satir < static_cast<int>(liste.satirlar.size()) && liste.satirlar[satir].secenek >= 0 &&
           !liste.satirlar[satir].devre_disi;
}

void listeyi_bitir(HWND pencere, int satir)
{
    Liste* liste = liste_kaydi(pencere);
    if (!liste || liste->bitti)
        return;
    liste->bitti = true;
    int secenek = secilebilir(*liste, satir) ? liste->satirlar[satir].secenek : -1;
    auto secildi = std::move(liste->secildi);
    DestroyWindow(pencere);
    if (secildi)
        secildi(secenek);
}

// The next row the keyboard may stop on, from `satir` in direction `yon`; `satir`
// itself when there is none.
int sonraki_secilebilir(const Liste& liste, int satir, int yon)
{
    for (int i = satir + yon; i >= 0 && i < static_cast<int>(liste.satirlar.size()); i += yon)
        if (secilebilir(liste, i))
            return i;
    return satir;
}

int noktadaki_satir(HWND kutu, LPARAM l)
{
    LRESULT sonuc = SendMessageW(kutu, LB_ITEMFROMPOINT, 0, l);
    return HIWORD(sonuc) ? -1 : static_cast<int>(LOWORD(sonuc));
}

// The list box's keys and clicks: the pointer marks the row under it, a release
// over a row chooses it, Enter (and the keys that opened the list) choose the marked
// row, Esc leaves; arrows pass over labels and disabled options.
LRESULT CALLBACK kutu_islevi(HWND kutu, UINT mesaj, WPARAM w, LPARAM l)
{
    HWND pencere = GetParent(kutu);
    Liste* liste = liste_kaydi(pencere);
    if (liste) {
        int imlec = static_cast<int>(SendMessageW(kutu, LB_GETCURSEL, 0, 0));
        switch (mesaj) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_MOUSEMOVE: {
            int satir = noktadaki_satir(kutu, l);
            if (satir != imlec && secilebilir(*liste, satir))
                SendMessageW(kutu, LB_SETCURSEL, satir, 0);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetCapture(kutu);
            return 0;
        case WM_LBUTTONUP: {
            ReleaseCapture();
            int satir = noktadaki_satir(kutu, l);
            RECT alan;
            GetClientRect(kutu, &alan);
            POINT nokta = {GET_X_LPARAM(l), GET_Y_LPARAM(l)};
            if (PtInRect(&alan, nokta) && secilebilir(*liste, satir))
                listeyi_bitir(pencere, satir);
            return 0;
        }
        case WM_SYSKEYDOWN:
        case WM_KEYDOWN:
            switch (w) {
            case VK_ESCAPE:
                listeyi_bitir(pencere, -1);
                return 0;
            case VK_RETURN:
            case VK_TAB:
            case VK_F4:
                listeyi_bitir(pencere, imlec);
                return 0;
            case VK_UP:
            case VK_DOWN:
                if (mesaj == WM_SYSKEYDOWN) {
                    listeyi_bitir(pencere, imlec);
                    return 0;
                }
                SendMessageW(kutu, LB_SETCURSEL, sonraki_secilebilir(*liste, imlec, w == VK_UP ? -1 : 1), 0);
                return 0;
            }
            break;
        case WM_CHAR:
            if (w == L' ') {
                listeyi_bitir(pencere, imlec);
                return 0;
            }
            break;
        }
    }
    return CallWindowProcW(g_kutu_islevi, kutu, mesaj, w, l);
}

void satir_ciz(const Liste& liste, const DRAWITEMSTRUCT& ciz)
{
    if (ciz.itemID == static_cast<UINT>(-1) || ciz.itemID >= liste.satirlar.size())
        return;
    const SecenekSatiri& satir = liste.satirlar[ciz.itemID];
    bool isaretli = (ciz.itemState & ODS_SELECTED) && secilebilir(liste, static_cast<int>(ciz.itemID));
    FillRect(ciz.hDC, &ciz.rcItem, GetSysColorBrush(isaretli ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(ciz.hDC, TRANSPARENT);
    SetTextColor(ciz.hDC, GetSysColor(satir.devre_disi ? COLOR_GRAYTEXT
                                      : isaretli       ? COLOR_HIGHLIGHTTEXT
                                                       : COLOR_WINDOWTEXT));
    HGDIOBJ eski = SelectObject(ciz.hDC, yazi_tipi(satir.secenek < 0));
    RECT yazi = ciz.rcItem;
    const UINT dpi = pencerenin_dpisi(ciz.hwndItem);
    yazi.left += dpi_ile(satir.grupta ? 18 : 4, dpi);
    yazi.right -= dpi_ile(4, dpi);
    DrawTextW(ciz.hDC, satir.metin.c_str(), static_cast<int>(satir.metin.size()), &yazi,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(ciz.hDC, eski);
}

LRESULT CALLBACK liste_islevi(HWND pencere, UINT mesaj, WPARAM w, LPARAM l)
{
    Liste* liste = liste_kaydi(pencere);
    switch (mesaj) {
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(l)->itemHeight = yazi_yuksekligi() + dpi_ile(6, pencerenin_dpisi(pencere));
        return TRUE;
    case WM_DRAWITEM:
        if (liste)
            satir_ciz(*liste, *reinterpret_cast<DRAWITEMSTRUCT*>(l));
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(w) == WA_INACTIVE && liste && !liste->bitti)
            PostMessageW(pencere, WM_LISTE_BIRAKILDI, 0, 0);
        else if (LOWORD(w) != WA_INACTIVE && liste)
            SetFocus(liste->kutu);
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_ACTIVATE;
    case WM_LISTE_BIRAKILDI:
        if (GetActiveWindow() != pencere)
            listeyi_bitir(pencere, -1);
        return 0;
    case WM_CLOSE:
        listeyi_bitir(pencere, -1);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(pencere, GWLP_USERDATA, 0);
        delete liste;
        break;
    }
    return DefWindowProcW(pencere, mesaj, w, l);
}

// ---------------------------------------------------------------------------
// Script dialogs: a captioned popup built here, served by IsDialogMessage through
// a message hook while any is open.

struct Diyalog {
    std::function<void(const DiyalogYaniti&)> yanit;
    HWND odak = nullptr;   // the control that had the keyboard when the dialog lost it
    bool bitti = false;
};

int g_acik_diyaloglar;
HHOOK g_kanca;

Diyalog* diyalog_kaydi(HWND pencere)
{
    return reinterpret_cast<Diyalog*>(GetWindowLongPtrW(pencere, GWLP_USERDATA));
}

bool sinifi_mi(HWND pencere, const wchar_t* ad)
{
    wchar_t sinif[64] = {};
    return pencere && GetClassNameW(pencere, sinif, 64) && !wcscmp(sinif, ad);
}

bool diyalog_mi(HWND pencere)
{
    return sinifi_mi(pencere, DIYALOG_SINIFI) && diyalog_kaydi(pencere);
}

// The host's loop knows nothing of dialogs: Tab, Enter and Esc for ours are served
// here, before the host sees the message.
LRESULT CALLBACK mesaj_kancasi(int kod, WPARAM w, LPARAM l)
{
    if (kod == HC_ACTION && w == PM_REMOVE) {
        MSG* ileti = reinterpret_cast<MSG*>(l);
        if (ileti->message >= WM_KEYFIRST && ileti->message <= WM_KEYLAST && ileti->hwnd) {
            HWND kok = GetAncestor(ileti->hwnd, GA_ROOT);
            if (diyalog_mi(kok) && IsDialogMessageW(kok, ileti))
                ileti->message = WM_NULL;
        }
    }
    return CallNextHookEx(g_kanca, kod, w, l);
}

void diyalogu_bitir(HWND pencere, bool kabul)
{
    Diyalog* diyalog = diyalog_kaydi(pencere);
    if (!diyalog || diyalog->bitti)
        return;
    diyalog->bitti = true;
    DiyalogYaniti yanit;
    yanit.kabul = kabul;
    if (HWND metin = GetDlgItem(pencere, KIMLIK_METIN)) {
        std::wstring tampon(static_cast<size_t>(GetWindowTextLengthW(metin)) + 1, L'\0');
        tampon.resize(static_cast<size_t>(GetWindowTextW(metin, tampon.data(), static_cast<int>(tampon.size()))));
        yanit.metin = std::move(tampon);
    }
    if (HWND kutu = GetDlgItem(pencere, KIMLIK_KUTU))
        yanit.durdur = SendMessageW(kutu, BM_GETCHECK, 0, 0) == BST_CHECKED;
    auto isleyici = std::move(diyalog->yanit);
    DestroyWindow(pencere);
    if (isleyici)
        isleyici(yanit);
}

LRESULT CALLBACK diyalog_islevi(HWND pencere, UINT mesaj, WPARAM w, LPARAM l)
{
    Diyalog* diyalog = diyalog_kaydi(pencere);
    switch (mesaj) {
    case WM_COMMAND:
        if (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL) {
            diyalogu_bitir(pencere, LOWORD(w) == IDOK);
            return 0;
        }
        break;
    case DM_GETDEFID:
        return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_CLOSE:
        diyalogu_bitir(pencere, false);
        return 0;
    case WM_ACTIVATE:
        if (!diyalog)
            break;
        if (LOWORD(w) == WA_INACTIVE) {
            HWND odak = GetFocus();
            if (odak && IsChild(pencere, odak))
                diyalog->odak = odak;
        } else if (diyalog->odak && IsWindow(diyalog->odak)) {
            SetFocus(diyalog->odak);
        }
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(pencere, GWLP_USERDATA, 0);
        delete diyalog;
        if (--g_acik_diyaloglar == 0 && g_kanca) {
            UnhookWindowsHookEx(g_kanca);
            g_kanca = nullptr;
        }
        break;
    }
    return DefWindowProcW(pencere, mesaj, w, l);
}

HWND denetim(HWND ebeveyn, const wchar_t* sinif, const std::wstring& metin, DWORD bicim, int kimlik, int x, int y,
             int genislik, int yukseklik, DWORD ek_bicim = 0)
{
    HWND pencere = CreateWindowExW(ek_bicim, sinif, metin.c_str(), WS_CHILD | WS_VISIBLE | bicim, x, y, genislik,
                                   yukseklik, ebeveyn, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kimlik)),
                                   modul(), nullptr);
    if (pencere)
        SendMessageW(pencere, WM_SETFONT, reinterpret_cast<WPARAM>(yazi_tipi(false)), FALSE);
    return pencere;
}

// A read-only edit shows the message: it wraps, scrolls when long, and its text can
// be selected and copied. Line ends become the edit's own.
std::wstring satir_sonlari(const std::wstring& metin)
{
    std::wstring sonuc;
    for (size_t i = 0; i < metin.size(); ++i) {
        if (metin[i] == L'\n' && (i == 0 || metin[i - 1] != L'\r'))
            sonuc += L'\r';
        sonuc += metin[i];
    }
    return sonuc;
}

int mesaj_yuksekligi(const std::wstring& mesaj, int genislik)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ eski = SelectObject(dc, yazi_tipi(false));
    RECT alan = {0, 0, genislik, 0};
    DrawTextW(dc, mesaj.empty() ? L" " : mesaj.c_str(), -1, &alan, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    SelectObject(dc, eski);
    ReleaseDC(nullptr, dc);
    return alan.bottom;
}

}  // namespace

// ---------------------------------------------------------------------------

RECT kontrolun_ekrandaki_yeri(HWND sayfa_penceresi, const RECT& kontrol, double oran)
{
    POINT kose[2] = {{static_cast<LONG>(std::lround(kontrol.left * oran)),
                      static_cast<LONG>(std::lround(kontrol.top * oran))},
                     {static_cast<LONG>(std::lround(kontrol.right * oran)),
                      static_cast<LONG>(std::lround(kontrol.bottom * oran))}};
    MapWindowPoints(sayfa_penceresi, nullptr, kose, 2);
    return RECT{kose[0].x, kose[0].y, kose[1].x, kose[1].y};
}

HWND secim_listesi_ac(HWND sahip, const RECT& kontrol, std::vector<SecenekSatiri> satirlar, int secili,
                      std::function<void(int secenek)> secildi)
{
    if (satirlar.empty())
        return nullptr;
    sinif_kaydet(LISTE_SINIFI, liste_islevi, GetSysColorBrush(COLOR_WINDOW));
    auto liste = std::make_unique<Liste>();
    liste->satirlar = std::move(satirlar);
    liste->secildi = std::move(secildi);

    // As wide as the control, wider for long options; as many rows as fit, up to
    // the bound, below the control or above it.
    const UINT dpi = pencerenin_dpisi(sahip);
    int satir_yuksekligi = yazi_yuksekligi() + dpi_ile(6, dpi);
    int genislik = static_cast<int>(kontrol.right - kontrol.left);
    HDC dc = GetDC(nullptr);
    for (const auto& satir : liste->satirlar) {
        HGDIOBJ eski = SelectObject(dc, yazi_tipi(satir.secenek < 0));
        SIZE boyut = {};
        GetTextExtentPoint32W(dc, satir.metin.c_str(), static_cast<int>(std::min<size_t>(satir.metin.size(), 500)),
                              &boyut);
        SelectObject(dc, eski);
        genislik = std::max(genislik, static_cast<int>(boyut.cx) + dpi_ile(30, dpi) + GetSystemMetrics(SM_CXVSCROLL));
    }
    ReleaseDC(nullptr, dc);
    RECT ekran = calisma_alani(POINT{kontrol.left, kontrol.bottom});
    genislik = std::min(genislik, static_cast<int>(ekran.right - ekran.left));
    int sayi = static_cast<int>(liste->satirlar.size());
    int asagida = static_cast<int>(ekran.bottom - kontrol.bottom), yukarida = static_cast<int>(kontrol.top - ekran.top);
    int sigan = std::max(asagida, yukarida) / satir_yuksekligi;
    int gorunen = std::max(1, std::min({sayi, EN_COK_SATIR, sigan}));
    int yukseklik = gorunen * satir_yuksekligi + 2;
    int x = std::max(static_cast<int>(ekran.left), std::min(static_cast<int>(kontrol.left),
                                                           static_cast<int>(ekran.right) - genislik));
    int y = yukseklik <= asagida || asagida >= yukarida ? static_cast<int>(kontrol.bottom)
                                                        : static_cast<int>(kontrol.top) - yukseklik;

    HWND pencere = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, LISTE_SINIFI, metin(Metin::secim_listesi), WS_POPUP | WS_BORDER, x, y,
                                   genislik, yukseklik, sahip, nullptr, modul(), nullptr);
    if (!pencere)
        return nullptr;
    Liste* kayit = liste.release();
    SetWindowLongPtrW(pencere, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(kayit));
    RECT ic;
    GetClientRect(pencere, &ic);
    kayit->kutu = CreateWindowExW(0, L"LISTBOX", L"",
                                  WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                                      LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
                                  0, 0, ic.right, ic.bottom, pencere,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(KIMLIK_LISTE)), modul(), nullptr);
    if (!kayit->kutu) {
        pencereyi_kapat(pencere);
        return nullptr;
    }
    g_kutu_islevi = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(kayit->kutu, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(kutu_islevi)));
    SendMessageW(kayit->kutu, WM_SETFONT, reinterpret_cast<WPARAM>(yazi_tipi(false)), FALSE);
    int isaretli = -1;
    for (int i = 0; i < sayi; ++i) {
        SendMessageW(kayit->kutu, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kayit->satirlar[i].metin.c_str()));
        if (kayit->satirlar[i].secenek == secili && secilebilir(*kayit, i))
            isaretli = i;
    }
    if (isaretli < 0)
        isaretli = sonraki_secilebilir(*kayit, -1, 1);
    SendMessageW(kayit->kutu, LB_SETCURSEL, isaretli, 0);
    ShowWindow(pencere, SW_SHOW);
    SetForegroundWindow(pencere);
    SetFocus(kayit->kutu);
    return pencere;
}

HWND diyalog_ac(HWND sahip, const RECT& alan, const DiyalogIstegi& istek, bool gizli,
                std::function<void(const DiyalogYaniti&)> yanit)
{
    sinif_kaydet(DIYALOG_SINIFI, diyalog_islevi, GetSysColorBrush(COLOR_BTNFACE));
    static const struct {
        Metin kabul;
        Metin iptal;   // Metin::sayi: no second button
    } DUGMELER[] = {{Metin::tamam, Metin::sayi},
                    {Metin::tamam, Metin::iptal},
                    {Metin::tamam, Metin::iptal},
                    {Metin::ayril, Metin::kal}};
    const auto& dugmeler = DUGMELER[static_cast<int>(istek.tur)];
    std::wstring mesaj = istek.tur == DiyalogTuru::AYRILMA
                             ? std::wstring(metin(Metin::ayrilma_sorusu))
                             : satir_sonlari(istek.mesaj);

    // The lengths are for 96 DPI; the system's font has the screen's size already.
    const UINT dpi = pencerenin_dpisi(sahip);
    const int diyalog_genisligi = dpi_ile(DIYALOG_GENISLIGI, dpi), kenar = dpi_ile(KENAR, dpi);
    const int dugme_genisligi = dpi_ile(DUGME_GENISLIGI, dpi), dugme_yuksekligi = dpi_ile(DUGME_YUKSEKLIGI, dpi);
    const int en_yuksek_mesaj = dpi_ile(EN_YUKSEK_MESAJ, dpi);
    int ic_genislik = diyalog_genisligi - 2 * kenar;
    int satir = yazi_yuksekligi();
    int mesaj_boyu = std::min(mesaj_yuksekligi(mesaj, ic_genislik - GetSystemMetrics(SM_CXVSCROLL)), en_yuksek_mesaj);
    bool kayar = mesaj_yuksekligi(mesaj, ic_genislik) > en_yuksek_mesaj;
    int y = kenar;
    int mesaj_y = y;
    y += mesaj_boyu + kenar;
    int metin_y = y;
    if (istek.tur == DiyalogTuru::SORU)
        y += satir + dpi_ile(10, dpi) + kenar;
    int kutu_y = y;
    if (istek.durdurma_kutusu)
        y += satir + dpi_ile(6, dpi) + kenar;
    int dugme_y = y;
    y += dugme_yuksekligi + kenar;

    const DWORD bicim = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD ek_bicim = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT cerceve = {0, 0, diyalog_genisligi, y};
    AdjustWindowRectEx(&cerceve, bicim, FALSE, ek_bicim);
    int genislik = cerceve.right - cerceve.left, yukseklik = cerceve.bottom - cerceve.top;
    int x = static_cast<int>(alan.left + alan.right) / 2 - genislik / 2;
    int ust = static_cast<int>(alan.top) + dpi_ile(24, dpi);
    RECT ekran = calisma_alani(POINT{x, ust});
    x = std::max(static_cast<int>(ekran.left), std::min(x, static_cast<int>(ekran.right) - genislik));
    ust = std::max(static_cast<int>(ekran.top), std::min(ust, static_cast<int>(ekran.bottom) - yukseklik));

    HWND pencere = CreateWindowExW(ek_bicim, DIYALOG_SINIFI, istek.baslik.c_str(), bicim, x, ust, genislik, yukseklik,
                                   sahip, nullptr, modul(), nullptr);
    if (!pencere)
        return nullptr;
    auto* kayit = new Diyalog;
    kayit->yanit = std::move(yanit);
    SetWindowLongPtrW(pencere, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(kayit));
    if (++g_acik_diyaloglar == 1 && !g_kanca)
        g_kanca = SetWindowsHookExW(WH_GETMESSAGE, mesaj_kancasi, nullptr, GetCurrentThreadId());

    denetim(pencere, L"EDIT", mesaj, ES_MULTILINE | ES_READONLY | (kayar ? WS_VSCROLL : 0), KIMLIK_MESAJ, kenar,
            mesaj_y, ic_genislik, mesaj_boyu);
    HWND yazi_kutusu = nullptr;
    if (istek.tur == DiyalogTuru::SORU)
        yazi_kutusu = denetim(pencere, L"EDIT", istek.varsayilan, WS_TABSTOP | ES_AUTOHSCROLL, KIMLIK_METIN, kenar,
                        metin_y, ic_genislik, satir + dpi_ile(10, dpi), WS_EX_CLIENTEDGE);
    if (istek.durdurma_kutusu)
        denetim(pencere, L"BUTTON", metin(Metin::diyaloglari_durdur), WS_TABSTOP | BS_AUTOCHECKBOX, KIMLIK_KUTU, kenar, kutu_y,
                ic_genislik, satir + dpi_ile(6, dpi));
    int dugme_x = diyalog_genisligi - kenar - dugme_genisligi;
    if (dugmeler.iptal != Metin::sayi) {
        denetim(pencere, L"BUTTON", metin(dugmeler.iptal), WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, dugme_x, dugme_y,
                dugme_genisligi, dugme_yuksekligi);
        dugme_x -= dugme_genisligi + dpi_ile(8, dpi);
    }
    HWND tamam = denetim(pencere, L"BUTTON", metin(dugmeler.kabul), WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, dugme_x, dugme_y,
                         dugme_genisligi, dugme_yuksekligi);
    // The OK button comes first when Tab moves on from the text.
    if (tamam && yazi_kutusu)
        SetWindowPos(tamam, yazi_kutusu, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    kayit->odak = yazi_kutusu ? yazi_kutusu : tamam;
    if (yazi_kutusu)
        SendMessageW(yazi_kutusu, EM_SETSEL, 0, -1);
    if (gizli)
        return pencere;
    ShowWindow(pencere, SW_SHOW);
    SetForegroundWindow(pencere);
    if (kayit->odak)
        SetFocus(kayit->odak);
    return pencere;
}

void pencereyi_kapat(HWND pencere)
{
    if (!pencere || !IsWindow(pencere))
        return;
    if (Liste* liste = sinifi_mi(pencere, LISTE_SINIFI) ? liste_kaydi(pencere) : nullptr) {
        liste->bitti = true;
        liste->secildi = nullptr;
    }
    if (diyalog_mi(pencere)) {
        Diyalog* diyalog = diyalog_kaydi(pencere);
        diyalog->bitti = true;
        diyalog->yanit = nullptr;
    }
    DestroyWindow(pencere);
}

bool dosya_sec(HWND sahip, bool coklu, const std::wstring& desenler, std::vector<std::wstring>* dosyalar)
{
    // Pairs of a name and its patterns, each ended by a zero, the list by a second.
    std::wstring suzgec;
    if (!desenler.empty())
        suzgec += std::wstring(metin(Metin::kabul_edilen_dosyalar)) + L" (" + desenler + L")" + L'\0' + desenler + L'\0';
    suzgec += metin(Metin::tum_dosyalar);
    suzgec += L'\0';
    suzgec += L"*.*";
    suzgec += L'\0';
    // Room for many names: a multiple choice writes the folder and every name.
    std::vector<wchar_t> tampon(1 << 16, L'\0');
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = sahip;
    ofn.lpstrFilter = suzgec.c_str();   // the string's own ending zero is the list's second
    ofn.lpstrTitle = metin(coklu ? Metin::dosyalari_sec : Metin::dosya_sec);
    ofn.lpstrFile = tampon.data();
    ofn.nMaxFile = static_cast<DWORD>(tampon.size());
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                (coklu ? OFN_ALLOWMULTISELECT : 0);
    if (!acilacak_dosyayi_sor(&ofn))
        return false;
    // One file: its full path. Several: the folder, then each name, each ended by a
    // zero, the list by a second zero.
    std::vector<std::wstring> parcalar;
    for (const wchar_t* p = tampon.data(); *p; p += wcslen(p) + 1)
        parcalar.emplace_back(p);
    dosyalar->clear();
    if (parcalar.size() == 1) {
        dosyalar->push_back(parcalar[0]);
    } else {
        std::wstring klasor = parcalar[0];
        if (!klasor.empty() && klasor.back() != L'\\')
            klasor += L'\\';
        for (size_t i = 1; i < parcalar.size(); ++i)
            dosyalar->push_back(klasor + parcalar[i]);
    }
    return !dosyalar->empty();
}

}  // namespace yerel

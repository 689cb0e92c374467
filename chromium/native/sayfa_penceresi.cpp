// The page window: a child of the host's window in which the view paints the page's
// newest frame and receives the user's mouse and keyboard. It keeps no state of its
// own; its owner (the view) paints and takes the input.
#include "motor_ic.h"

static const wchar_t SAYFA_SINIFI[] = L"KorvaChromiumSayfa";

static SayfaPenceresiSahibi* sahibi(HWND pencere)
{
    return reinterpret_cast<SayfaPenceresiSahibi*>(GetWindowLongPtrW(pencere, GWLP_USERDATA));
}

static void boya(HWND pencere)
{
    PAINTSTRUCT boyama;
    HDC dc = BeginPaint(pencere, &boyama);
    RECT alan;
    GetClientRect(pencere, &alan);
    if (SayfaPenceresiSahibi* sahip = sahibi(pencere))
        sahip->boya(dc, alan);
    else
        FillRect(dc, &alan, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EndPaint(pencere, &boyama);
}

static LRESULT CALLBACK sayfa_wndproc(HWND pencere, UINT mesaj, WPARAM w, LPARAM l)
{
    switch (mesaj) {
    case WM_PAINT:
        boya(pencere);
        return 0;
    case WM_PRINTCLIENT: {
        // The newest frame into another device context (PrintWindow, a snapshot).
        RECT alan;
        GetClientRect(pencere, &alan);
        if (SayfaPenceresiSahibi* sahip = sahibi(pencere))
            sahip->boya(reinterpret_cast<HDC>(w), alan);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;   // the frame covers everything
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_WANTTAB;
    case WM_NCDESTROY:
        SetWindowLongPtrW(pencere, GWLP_USERDATA, 0);
        break;
    default:
        if (SayfaPenceresiSahibi* sahip = sahibi(pencere))
            if (sahip->girdi(pencere, mesaj, w, l))
                return 0;
        break;
    }
    return DefWindowProcW(pencere, mesaj, w, l);
}

HWND sayfa_penceresi_olustur(HWND ebeveyn, const RECT& alan, SayfaPenceresiSahibi* sahip)
{
    static bool kayitli = false;
    HINSTANCE modul = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&sayfa_wndproc), &modul);
    if (!kayitli) {
        WNDCLASSEXW sinif = {};
        sinif.cbSize = sizeof(sinif);
        sinif.style = CS_DBLCLKS;
        sinif.lpfnWndProc = sayfa_wndproc;
        sinif.hInstance = modul;
        sinif.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        sinif.lpszClassName = SAYFA_SINIFI;
        kayitli = RegisterClassExW(&sinif) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }
    HWND pencere = CreateWindowExW(0, SAYFA_SINIFI, L"", WS_CHILD | WS_VISIBLE, alan.left, alan.top,
                                   std::max<LONG>(0, alan.right - alan.left), std::max<LONG>(0, alan.bottom - alan.top),
                                   ebeveyn, nullptr, modul, nullptr);
    if (pencere)
        SetWindowLongPtrW(pencere, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(sahip));
    return pencere;
}

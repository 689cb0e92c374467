// The page window: a child of the controller's parent window, covering the view's
// bounds. It draws the title, the address and the document's text as wrapped lines
// with links underlined, all scaled by the zoom factor, and turns a click on a link
// into a navigation as a user's click would. Its window text is what it shows (title,
// address, a blank line, then the text), so a test can read the page back.
//
// The layout is not stored: one function walks the document and reports every piece
// of text with its rectangle, and both painting and hit-testing use it. It stops at
// the bottom of the window, so a huge document costs only what precedes the view.
#include "motor_ic.h"

#include <windowsx.h>

static const wchar_t SAYFA_SINIFI[] = L"KorvaStandinSayfasi";
static const wchar_t YAZI_TIPI[] = L"Tahoma";

// Sizes in pixels at zoom 1.
static const int KENAR = 12, BASLIK_BOYU = 22, ADRES_BOYU = 13, GOVDE_BOYU = 16, SATIR_ARALIGI = 4;
static const COLORREF ZEMIN = RGB(255, 255, 255), YAZI = RGB(20, 20, 20), SOLUK = RGB(110, 110, 110),
                      BAGLANTI = RGB(0, 70, 200), CIZGI = RGB(210, 210, 210);

struct SayfaPenceresi {
    CizimKaynagi* kaynak;
    int kaydirma = 0;          // pixels of the body scrolled away above the top
};

// A GDI object deleted when it goes out of scope.
template <class T>
struct GdiNesnesi {
    T tutamac;
    explicit GdiNesnesi(T t) : tutamac(t) {}
    ~GdiNesnesi()
    {
        if (tutamac)
            DeleteObject(tutamac);
    }
    GdiNesnesi(const GdiNesnesi&) = delete;
    GdiNesnesi& operator=(const GdiNesnesi&) = delete;
};

struct YaziTipleri {
    GdiNesnesi<HFONT> baslik, adres, govde, baglanti;
    int govde_satiri;
    explicit YaziTipleri(double yakinlik)
        : baslik(yap(BASLIK_BOYU, yakinlik, FW_BOLD, FALSE)), adres(yap(ADRES_BOYU, yakinlik, FW_NORMAL, FALSE)),
          govde(yap(GOVDE_BOYU, yakinlik, FW_NORMAL, FALSE)), baglanti(yap(GOVDE_BOYU, yakinlik, FW_NORMAL, TRUE)),
          govde_satiri(olcek(GOVDE_BOYU + SATIR_ARALIGI, yakinlik)) {}

    static int olcek(int piksel, double yakinlik)
    {
        double deger = piksel * yakinlik;
        return deger < 1 ? 1 : deger > 4000 ? 4000 : static_cast<int>(deger + 0.5);
    }
    static HFONT yap(int piksel, double yakinlik, int kalinlik, BOOL alti_cizili)
    {
        return CreateFontW(-olcek(piksel, yakinlik), 0, 0, 0, kalinlik, FALSE, alti_cizili, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, YAZI_TIPI);
    }
};

static SayfaPenceresi* sayfa_kaydi(HWND pencere)
{
    return reinterpret_cast<SayfaPenceresi*>(GetWindowLongPtrW(pencere, GWLP_USERDATA));
}

// Where the body starts below the title and the address.
static int govde_basi(double yakinlik)
{
    return YaziTipleri::olcek(KENAR + BASLIK_BOYU + SATIR_ARALIGI + ADRES_BOYU + KENAR, yakinlik) + 1;
}

// Walks the body's text as it is laid out in `istemci`, calling
// parca(text, length, rectangle, link index) for every piece that lies on screen.
template <class Islev>
static void yerlestir(HDC dc, const RECT& istemci, const SayfaPenceresi& sayfa, const YaziTipleri& tipler,
                      Islev&& parca)
{
    const Belge& belge = sayfa.kaynak->cizilecek_belge();
    double yakinlik = sayfa.kaynak->cizim_yakinligi();
    int sol = istemci.left + YaziTipleri::olcek(KENAR, yakinlik);
    int sag = istemci.right - YaziTipleri::olcek(KENAR, yakinlik);
    if (sag <= sol + 1)
        sag = sol + 1;
    int satir = tipler.govde_satiri;
    int x = sol, y = govde_basi(yakinlik) - sayfa.kaydirma;
    for (const Parca& p : belge.parcalar) {
        if (y > istemci.bottom)
            return;
        if (p.satir_sonu) {
            x = sol;
            y += satir;
            continue;
        }
        SelectObject(dc, p.baglanti >= 0 ? tipler.baglanti.tutamac : tipler.govde.tutamac);
        const wchar_t* metin = p.metin.c_str();
        size_t kalan = p.metin.size();
        while (kalan > 0 && y <= istemci.bottom) {
            // One word with the spaces after it.
            size_t boy = 0;
            while (boy < kalan && metin[boy] != L' ')
                ++boy;
            while (boy < kalan && metin[boy] == L' ')
                ++boy;
            int parca_boyu = boy > 4096 ? 4096 : static_cast<int>(boy);
            SIZE olcu = {};
            GetTextExtentPoint32W(dc, metin, parca_boyu, &olcu);
            if (x + olcu.cx > sag && x > sol) {
                x = sol;
                y += satir;
                continue;
            }
            if (x + olcu.cx > sag) {
                // A word wider than the line is cut where the line ends.
                int sigan = 0;
                GetTextExtentExPointW(dc, metin, parca_boyu, sag - x, &sigan, nullptr, &olcu);
                parca_boyu = sigan < 1 ? 1 : sigan;
                GetTextExtentPoint32W(dc, metin, parca_boyu, &olcu);
            }
            RECT kutu = {x, y, x + olcu.cx, y + satir};
            if (kutu.bottom > istemci.top)
                parca(metin, parca_boyu, kutu, p.baglanti);
            x += olcu.cx;
            metin += parca_boyu;
            kalan -= static_cast<size_t>(parca_boyu);
        }
    }
}

static void ciz(HWND pencere, HDC hedef)
{
    SayfaPenceresi* sayfa = sayfa_kaydi(pencere);
    RECT istemci;
    GetClientRect(pencere, &istemci);
    int genislik = istemci.right > 0 ? istemci.right : 1, yukseklik = istemci.bottom > 0 ? istemci.bottom : 1;
    HDC dc = CreateCompatibleDC(hedef);
    GdiNesnesi<HBITMAP> tuval(CreateCompatibleBitmap(hedef, genislik, yukseklik));
    HGDIOBJ eski_tuval = SelectObject(dc, tuval.tutamac);
    HGDIOBJ eski_yazi = GetCurrentObject(dc, OBJ_FONT);

    GdiNesnesi<HBRUSH> zemin(CreateSolidBrush(ZEMIN));
    FillRect(dc, &istemci, zemin.tutamac);
    if (sayfa && sayfa->kaynak) {
        double yakinlik = sayfa->kaynak->cizim_yakinligi();
        YaziTipleri tipler(yakinlik);
        SetBkMode(dc, TRANSPARENT);

        int kenar = YaziTipleri::olcek(KENAR, yakinlik);
        int ust = govde_basi(yakinlik);
        RECT govde = {0, ust, istemci.right, istemci.bottom};
        SaveDC(dc);
        IntersectClipRect(dc, govde.left, govde.top, govde.right, govde.bottom);
        yerlestir(dc, istemci, *sayfa, tipler, [&](const wchar_t* metin, int boy, const RECT& kutu, int baglanti) {
            SetTextColor(dc, baglanti >= 0 ? BAGLANTI : YAZI);
            TextOutW(dc, kutu.left, kutu.top, metin, boy);
        });
        RestoreDC(dc, -1);

        RECT baslik = {kenar, kenar, istemci.right - kenar, ust};
        SelectObject(dc, tipler.baslik.tutamac);
        SetTextColor(dc, YAZI);
        const std::wstring& baslik_metni = sayfa->kaynak->cizilecek_baslik();
        DrawTextW(dc, baslik_metni.c_str(), static_cast<int>(baslik_metni.size()), &baslik,
                  DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        RECT adres = {kenar, kenar + YaziTipleri::olcek(BASLIK_BOYU + SATIR_ARALIGI, yakinlik),
                      istemci.right - kenar, ust};
        SelectObject(dc, tipler.adres.tutamac);
        SetTextColor(dc, SOLUK);
        const std::wstring& adres_metni = sayfa->kaynak->cizilecek_adres();
        DrawTextW(dc, adres_metni.c_str(), static_cast<int>(adres_metni.size()), &adres,
                  DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_NOPREFIX);
        RECT cizgi = {0, ust - 1, istemci.right, ust};
        GdiNesnesi<HBRUSH> cizgi_fircasi(CreateSolidBrush(CIZGI));
        FillRect(dc, &cizgi, cizgi_fircasi.tutamac);
        SelectObject(dc, eski_yazi);   // before the fonts are deleted
    }
    BitBlt(hedef, 0, 0, genislik, yukseklik, dc, 0, 0, SRCCOPY);
    SelectObject(dc, eski_tuval);
    DeleteDC(dc);
}

// The href of the link under a point, or "" if there is none.
static std::wstring baglanti_bul(HWND pencere, POINT nokta)
{
    SayfaPenceresi* sayfa = sayfa_kaydi(pencere);
    if (!sayfa || !sayfa->kaynak)
        return std::wstring();
    RECT istemci;
    GetClientRect(pencere, &istemci);
    int bulunan = -1;
    HDC dc = GetDC(pencere);
    {
        YaziTipleri tipler(sayfa->kaynak->cizim_yakinligi());
        HGDIOBJ eski_yazi = GetCurrentObject(dc, OBJ_FONT);
        yerlestir(dc, istemci, *sayfa, tipler, [&](const wchar_t*, int, const RECT& kutu, int baglanti) {
            if (baglanti >= 0 && PtInRect(&kutu, nokta))
                bulunan = baglanti;
        });
        SelectObject(dc, eski_yazi);
    }
    ReleaseDC(pencere, dc);
    if (nokta.y < govde_basi(sayfa->kaynak->cizim_yakinligi()))
        return std::wstring();
    const auto& baglantilar = sayfa->kaynak->cizilecek_belge().baglantilar;
    return bulunan >= 0 && static_cast<size_t>(bulunan) < baglantilar.size() ? baglantilar[bulunan] : std::wstring();
}

static void kaydir(HWND pencere, int fark)
{
    SayfaPenceresi* sayfa = sayfa_kaydi(pencere);
    if (!sayfa)
        return;
    sayfa->kaydirma += fark;
    if (sayfa->kaydirma < 0)
        sayfa->kaydirma = 0;
    InvalidateRect(pencere, nullptr, FALSE);
}

static void tiklandi(HWND pencere, LPARAM konum, bool yeni_pencere)
{
    SayfaPenceresi* sayfa = sayfa_kaydi(pencere);
    POINT nokta = {GET_X_LPARAM(konum), GET_Y_LPARAM(konum)};
    std::wstring href = baglanti_bul(pencere, nokta);
    if (sayfa && sayfa->kaynak && !href.empty())
        sayfa->kaynak->baglantiya_tiklandi(href, yeni_pencere);
}

static bool tus_kaydirmasi(HWND pencere, WPARAM tus)
{
    RECT istemci;
    GetClientRect(pencere, &istemci);
    int sayfa_boyu = istemci.bottom > 80 ? istemci.bottom - 40 : 40;
    switch (tus) {
    case VK_DOWN: kaydir(pencere, 40); return true;
    case VK_UP: kaydir(pencere, -40); return true;
    case VK_NEXT: case VK_SPACE: kaydir(pencere, sayfa_boyu); return true;
    case VK_PRIOR: kaydir(pencere, -sayfa_boyu); return true;
    case VK_HOME: kaydir(pencere, -0x3fffffff); return true;
    }
    return false;
}

static LRESULT CALLBACK sayfa_wndproc(HWND pencere, UINT mesaj, WPARAM w, LPARAM l)
{
    SayfaPenceresi* sayfa = sayfa_kaydi(pencere);
    switch (mesaj) {
    case WM_NCCREATE: {
        // The record is made here so that WM_NCDESTROY, which frees it, always pairs with it.
        auto* kaynak = static_cast<CizimKaynagi*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        auto* yeni = new (std::nothrow) SayfaPenceresi{kaynak};
        if (!yeni)
            return FALSE;
        SetWindowLongPtrW(pencere, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(yeni));
        break;
    }
    case WM_NCDESTROY:
        SetWindowLongPtrW(pencere, GWLP_USERDATA, 0);
        delete sayfa;
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT boya;
        HDC dc = BeginPaint(pencere, &boya);
        ciz(pencere, dc);
        EndPaint(pencere, &boya);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
        SetFocus(pencere);
        // The system tells the parent of a press from the mouse; a press handed to
        // the window directly (by a test, or another program) skips that, so the
        // page tells its parent itself, as the system would.
        SendMessageW(GetParent(pencere), WM_PARENTNOTIFY, MAKEWPARAM(mesaj, 0), l);
        return 0;
    case WM_MOUSEMOVE:
        if (sayfa && sayfa->kaynak) {
            TRACKMOUSEEVENT izle = {sizeof izle, TME_LEAVE, pencere, 0};
            TrackMouseEvent(&izle);
            POINT nokta = {GET_X_LPARAM(l), GET_Y_LPARAM(l)};
            sayfa->kaynak->baglanti_ustunde(baglanti_bul(pencere, nokta));
        }
        return 0;
    case WM_MOUSELEAVE:
        if (sayfa && sayfa->kaynak)
            sayfa->kaynak->baglanti_ustunde(std::wstring());
        return 0;
    case WM_LBUTTONUP:
        tiklandi(pencere, l, (w & MK_CONTROL) != 0);
        return 0;
    case WM_MBUTTONUP:
        tiklandi(pencere, l, true);
        return 0;
    case WM_MOUSEWHEEL: {
        int adim = GET_WHEEL_DELTA_WPARAM(w) / WHEEL_DELTA;
        if (GET_KEYSTATE_WPARAM(w) & MK_CONTROL) {
            if (sayfa && sayfa->kaynak)
                sayfa->kaynak->tekerlekle_yakinlastir(adim);
        } else {
            kaydir(pencere, -adim * 3 * GOVDE_BOYU);
        }
        return 0;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        if (sayfa && sayfa->kaynak && sayfa->kaynak->tus_geldi(mesaj, w, l))
            return 0;
        if (mesaj == WM_KEYDOWN && tus_kaydirmasi(pencere, w))
            return 0;
        break;
    }
    return DefWindowProcW(pencere, mesaj, w, l);
}

HWND sayfa_penceresi_olustur(HWND ebeveyn, const RECT& alan, bool gorunur, CizimKaynagi* kaynak)
{
    static bool kayitli = false;
    if (!kayitli) {
        WNDCLASSEXW sinif = {};
        sinif.cbSize = sizeof sinif;
        sinif.style = CS_HREDRAW | CS_VREDRAW;
        sinif.lpfnWndProc = sayfa_wndproc;
        sinif.hInstance = g_modul;
        sinif.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        sinif.lpszClassName = SAYFA_SINIFI;
        RegisterClassExW(&sinif);
        kayitli = true;
    }
    return CreateWindowExW(0, SAYFA_SINIFI, L"", WS_CHILD | WS_CLIPSIBLINGS | (gorunur ? WS_VISIBLE : 0),
                           alan.left, alan.top, alan.right - alan.left, alan.bottom - alan.top, ebeveyn, nullptr,
                           g_modul, kaynak);
}

void sayfa_penceresini_yenile(HWND pencere)
{
    SayfaPenceresi* sayfa = sayfa_kaydi(pencere);
    if (sayfa)
        sayfa->kaydirma = 0;
    InvalidateRect(pencere, nullptr, FALSE);
}

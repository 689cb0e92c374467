// A controller and its view: one object that implements both interfaces and owns
// the page window, the history and the event subscriptions.
//
// A navigation goes in three deliveries, each from the message loop: the start
// (NavigationStarting, which a handler may cancel), the commit (history, document
// and the events SourceChanged, ContentLoading, HistoryChanged, DocumentTitleChanged,
// NavigationCompleted), and for a canceled or stopped navigation its completion. At
// most one navigation is under way; a new one completes the old as canceled. Every
// step checks that the view is still open and the navigation still the current one,
// because any handler may close the view or navigate elsewhere.
//
// A navigation to a bad-certificate server (belge.cpp) stops before its document:
// ServerCertificateErrorDetected decides (its handlers, or a deferral they took),
// while the navigation waits. ALWAYS_ALLOW loads the page and lets the host pass
// until ClearServerCertificateErrorActions; CANCEL ends the navigation there;
// DEFAULT, and a view nobody listens to, shows the engine's warning page. Both
// failures complete with the certificate's status.
//
// Calls the host makes are logged and checked (thread, closed) by GIRIS; what the
// page does by itself (a link click, F5) uses the same internal functions unlogged.
#include "motor_ic.h"
#include "gorunum_yuzu.h"
#include "yerine_yazma.h"
#include "sertifika_argumanlari.h"

#include <cmath>
#include <cwctype>
#include <cstring>
#include <memory>

// One history entry. An entry made from a string keeps its document.
struct Kayit {
    std::wstring adres;
    bool dizeden = false;
    std::wstring html;
};

enum class GezintiTuru { yeni, yenileme, geri, ileri };

struct Gezinti {
    UINT64 kimlik;
    GezintiTuru tur;
    Kayit hedef;
    BOOL kullanici;
    bool sertifika_soruldu = false;   // the host is deciding about its server's certificate
};

// What a script of one of the understood forms asks for.
struct BetikEylemi {
    enum { yok, baslik, adres, kapat, ac, tam_ekran, tam_ekrandan_cik, izin, cal, durdur } tur = yok;
    std::wstring deger;
    std::vector<COREWEBVIEW2_PERMISSION_KIND> izinler;   // asked in this order
};

static const double EN_AZ_TEKERLEK_YAKINLIGI = 0.25, EN_COK_TEKERLEK_YAKINLIGI = 5.0;
static const size_t EN_COK_DIZE_BAYTI = 2u * 1024 * 1024;

static int64_t g_sonraki_no;
static int64_t g_acik;
static UINT64 g_sonraki_gezinti;

// ---------------------------------------------------------------------------
// Scripts: `document.title = '...'`, `location.href = '...'`, `window.close()`,
// `<element>.requestFullscreen()`, `document.exitFullscreen()`,
// `<element>.play()` / `<element>.pause()`, which start and stop the page's sound,
// and the calls that ask for a permission (see izin_betigi).

static std::wstring kirp(const std::wstring& metin)
{
    size_t bas = metin.find_first_not_of(L" \t\r\n");
    if (bas == std::wstring::npos)
        return std::wstring();
    size_t son = metin.find_last_not_of(L" \t\r\n;");
    return son == std::wstring::npos || son < bas ? std::wstring() : metin.substr(bas, son - bas + 1);
}

// A quoted string literal that makes up the whole text; false otherwise.
static bool dize_degismezi(const std::wstring& metin, std::wstring* deger)
{
    if (metin.size() < 2 || (metin[0] != L'\'' && metin[0] != L'"'))
        return false;
    wchar_t tirnak = metin[0];
    std::wstring sonuc;
    size_t i = 1;
    for (; i < metin.size() && metin[i] != tirnak; ++i) {
        wchar_t c = metin[i];
        if (c == L'\\' && i + 1 < metin.size()) {
            c = metin[++i];
            c = c == L'n' ? L'\n' : c == L't' ? L'\t' : c;
        }
        sonuc += c;
    }
    if (i + 1 != metin.size())
        return false;
    *deger = sonuc;
    return true;
}

// A call that asks for a permission: Notification.requestPermission(),
// navigator.geolocation.getCurrentPosition(...) or .watchPosition(...),
// navigator.mediaDevices.getUserMedia({...}) (the camera when the text names
// "video", the microphone when it names "audio", in that order) and
// navigator.clipboard.readText() or .read(). False for any other text.
static bool izin_betigi(const std::wstring& metin, std::vector<COREWEBVIEW2_PERMISSION_KIND>* izinler)
{
    static const struct { const wchar_t* bas; COREWEBVIEW2_PERMISSION_KIND tur; } CAGRILAR[] = {
        {L"Notification.requestPermission(", COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS},
        {L"navigator.geolocation.getCurrentPosition(", COREWEBVIEW2_PERMISSION_KIND_GEOLOCATION},
        {L"navigator.geolocation.watchPosition(", COREWEBVIEW2_PERMISSION_KIND_GEOLOCATION},
        {L"navigator.clipboard.readText(", COREWEBVIEW2_PERMISSION_KIND_CLIPBOARD_READ},
        {L"navigator.clipboard.read(", COREWEBVIEW2_PERMISSION_KIND_CLIPBOARD_READ},
        {L"navigator.mediaDevices.getUserMedia(", COREWEBVIEW2_PERMISSION_KIND_UNKNOWN_PERMISSION},
    };
    if (metin.empty() || metin.back() != L')')
        return false;
    for (const auto& cagri : CAGRILAR) {
        size_t boy = wcslen(cagri.bas);
        if (metin.compare(0, boy, cagri.bas) != 0)
            continue;
        if (cagri.tur != COREWEBVIEW2_PERMISSION_KIND_UNKNOWN_PERMISSION) {
            izinler->push_back(cagri.tur);
            return true;
        }
        std::wstring istenen = metin.substr(boy);
        if (istenen.find(L"video") != std::wstring::npos)
            izinler->push_back(COREWEBVIEW2_PERMISSION_KIND_CAMERA);
        if (istenen.find(L"audio") != std::wstring::npos)
            izinler->push_back(COREWEBVIEW2_PERMISSION_KIND_MICROPHONE);
        return !izinler->empty();
    }
    return false;
}

// The origin a permission is asked for: scheme, host and port of a network or
// file address; empty for an address without one (about:, data:), whose page
// gets no permission.
static std::wstring adresin_kaynagi(const std::wstring& adres)
{
    size_t iki_nokta = adres.find(L"://");
    if (iki_nokta == std::wstring::npos || iki_nokta == 0)
        return std::wstring();
    std::wstring sema = adres.substr(0, iki_nokta);
    for (auto& c : sema)
        c = towlower(c);
    if (sema == L"file")
        return L"file://";
    if (sema != L"http" && sema != L"https")
        return std::wstring();
    size_t son = adres.find_first_of(L"/?#", iki_nokta + 3);
    std::wstring ev = adres.substr(iki_nokta + 3, son == std::wstring::npos ? std::wstring::npos : son - iki_nokta - 3);
    size_t kullanici = ev.rfind(L'@');
    if (kullanici != std::wstring::npos)
        ev = ev.substr(kullanici + 1);
    for (auto& c : ev)
        c = towlower(c);
    return ev.empty() ? std::wstring() : sema + L"://" + ev;
}

static BetikEylemi betigi_coz(const std::wstring& betik)
{
    static const struct { const wchar_t* sol; decltype(BetikEylemi::tur) tur; } ATAMALAR[] = {
        {L"document.title", BetikEylemi::baslik},
        {L"window.location.href", BetikEylemi::adres},
        {L"location.href", BetikEylemi::adres},
    };
    static const wchar_t ACMA[] = L"window.open(";
    BetikEylemi eylem;
    std::wstring metin = kirp(betik);
    if (metin == L"window.close()") {
        eylem.tur = BetikEylemi::kapat;
        return eylem;
    }
    // The page has no elements of its own: any element's full screen is the page's.
    static const wchar_t TAM_EKRAN[] = L".requestFullscreen()";
    const size_t tam_ekran_boyu = wcslen(TAM_EKRAN);
    if (metin.size() > tam_ekran_boyu && metin.compare(metin.size() - tam_ekran_boyu, tam_ekran_boyu, TAM_EKRAN) == 0) {
        eylem.tur = BetikEylemi::tam_ekran;
        return eylem;
    }
    if (metin == L"document.exitFullscreen()") {
        eylem.tur = BetikEylemi::tam_ekrandan_cik;
        return eylem;
    }
    if (izin_betigi(metin, &eylem.izinler)) {
        eylem.tur = BetikEylemi::izin;
        return eylem;
    }
    // As with full screen, any element's sound is the page's.
    static const struct { const wchar_t* son; decltype(BetikEylemi::tur) tur; } SESLER[] = {
        {L".play()", BetikEylemi::cal},
        {L".pause()", BetikEylemi::durdur},
    };
    for (const auto& ses : SESLER) {
        const size_t boy = wcslen(ses.son);
        if (metin.size() > boy && metin.compare(metin.size() - boy, boy, ses.son) == 0) {
            eylem.tur = ses.tur;
            return eylem;
        }
    }
    // window.open('address'): a popup no click started.
    if (metin.compare(0, wcslen(ACMA), ACMA) == 0 && metin.back() == L')') {
        if (dize_degismezi(kirp(metin.substr(wcslen(ACMA), metin.size() - wcslen(ACMA) - 1)), &eylem.deger))
            eylem.tur = BetikEylemi::ac;
        return eylem;
    }
    for (const auto& atama : ATAMALAR) {
        size_t boy = wcslen(atama.sol);
        if (metin.compare(0, boy, atama.sol) != 0)
            continue;
        std::wstring sag = kirp(metin.substr(boy));
        if (sag.empty() || sag[0] != L'=')
            return eylem;
        if (dize_degismezi(kirp(sag.substr(1)), &eylem.deger))
            eylem.tur = atama.tur;
        return eylem;
    }
    return eylem;
}

// ---------------------------------------------------------------------------
// The controller and its view.

#define GIRIS(yontem, bagimsiz)                  \
    {                                            \
        HRESULT giris_sonucu = giris(yontem, bagimsiz); \
        if (FAILED(giris_sonucu))                \
            return giris_sonucu;                 \
    }

class Sayfa;
static std::vector<Sayfa*> g_acik_sayfalar;   // for the end of the whole engine

class Sayfa final : public GorunumYuzu<Sayfa>, public CizimKaynagi {
public:
    Sayfa(int64_t numara, HWND ebeveyn_) : no(numara), ebeveyn(ebeveyn_)
    {
        GetClientRect(ebeveyn, &alan);
        verilen_alan = alan;
        olcegi_baslat(ebeveyn);
        pencere = sayfa_penceresi_olustur(ebeveyn, alan, true, this);
        ekrani_yenile();
        g_acik_sayfalar.push_back(this);
    }

    const int64_t no;

    // ---- What the shared face asks.

    // Every call of the host is logged, then checked: thread, closed, engine gone.
    HRESULT giris(const char* yontem, const std::string& ayrinti)
    {
        gunluk_yaz(no, yontem, ayrinti);
        if (!dogru_is_parcacigi())
            return RPC_E_WRONG_THREAD;
        if (kapali)
            return WV2_E_KAPALI;
        if (motoru_gitti && strcmp(yontem, "Close") != 0)
            return E_FAIL;
        return S_OK;
    }
    bool kapali_mi() const { return kapali; }
    // The stand-in makes no sound: the switch is only kept and reported.
    void sessizlik_uygula(bool) {}
    // The page is drawn at the scale times the zoom, in the bounds for the scale.
    void rasterlestirme_uygula()
    {
        alani_koy(fiziksel_alan(verilen_alan));
        InvalidateRect(pencere, nullptr, TRUE);
    }

    // Taken as a page's new window: only while it has never navigated, and once.
    HRESULT yeni_pencereye_ayir()
    {
        if (kapali || gezindi || yeni_pencereye_ayrildi)
            return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
        yeni_pencereye_ayrildi = true;
        return S_OK;
    }

    // ---- ICoreWebView2Controller.

    HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL* deger) override
    {
        GIRIS("get_IsVisible", std::string());
        if (!deger)
            return E_POINTER;
        *deger = gorunur;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL deger) override
    {
        GIRIS("put_IsVisible", deger ? "1" : "0");
        gorunur = deger ? TRUE : FALSE;
        ShowWindow(pencere, gorunur ? SW_SHOWNA : SW_HIDE);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Bounds(RECT* deger) override
    {
        GIRIS("get_Bounds", std::string());
        if (!deger)
            return E_POINTER;
        *deger = verilen_alan;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Bounds(RECT deger) override
    {
        GIRIS("put_Bounds", alan_metni(deger));
        sinirlari_koy(deger);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_ZoomFactor(double* deger) override
    {
        GIRIS("get_ZoomFactor", std::string());
        if (!deger)
            return E_POINTER;
        *deger = yakinlik;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_ZoomFactor(double deger) override
    {
        GIRIS("put_ZoomFactor", gunluk_sayisi(deger));
        if (!std::isfinite(deger) || deger <= 0)
            return E_INVALIDARG;
        yakinligi_koy(deger);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetBoundsAndZoomFactor(RECT sinirlar, double deger) override
    {
        GIRIS("SetBoundsAndZoomFactor", alan_metni(sinirlar) + " " + gunluk_sayisi(deger));
        if (!std::isfinite(deger) || deger <= 0)
            return E_INVALIDARG;
        sinirlari_koy(sinirlar);
        yakinligi_koy(deger);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON neden) override
    {
        GIRIS("MoveFocus", std::to_string(static_cast<int>(neden)));
        SetFocus(pencere);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_ParentWindow(HWND* deger) override
    {
        GIRIS("get_ParentWindow", std::string());
        if (!deger)
            return E_POINTER;
        *deger = ebeveyn;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_ParentWindow(HWND deger) override
    {
        GIRIS("put_ParentWindow", std::string());
        if (!IsWindow(deger))
            return E_INVALIDARG;
        ebeveyn = deger;
        SetParent(pencere, ebeveyn);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE NotifyParentWindowPositionChanged() override
    {
        GIRIS("NotifyParentWindowPositionChanged", std::string());
        monitor_olcegini_denetle(ebeveyn);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Close() override
    {
        GIRIS("Close", std::string());
        kapat();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_CoreWebView2(ICoreWebView2** gorunum) override
    {
        GIRIS("get_CoreWebView2", std::string());
        if (!gorunum)
            return E_POINTER;
        *gorunum = nullptr;
        if (g_denetim.denetleyici == Davranis::gorunumsuz)
            return S_OK;
        *gorunum = static_cast<ICoreWebView2*>(this);
        AddRef();
        return S_OK;
    }

    // ---- ICoreWebView2.

    HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings** deger) override
    {
        GIRIS("get_Settings", std::string());
        if (!deger)
            return E_POINTER;
        if (!ayarlar)
            ayarlar = sahiplen(Argumanlar::ayarlar(no));
        *deger = ayarlar.Get();
        if (!*deger)
            return E_OUTOFMEMORY;
        (*deger)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* deger) override
    {
        GIRIS("get_Source", std::string());
        return metin_ver(deger, adres, g_denetim.adres_yok);
    }
    HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) override
    {
        GIRIS("Navigate", gunluk_metni(uri));
        if (!uri || !mutlak_adres_mi(uri))
            return E_INVALIDARG;
        Kayit hedef;
        hedef.adres = uri;
        return gezinti_baslat(GezintiTuru::yeni, std::move(hedef), FALSE);
    }
    HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR html) override
    {
        GIRIS("NavigateToString", std::to_string(html ? wcslen(html) : 0));
        if (!html)
            return E_INVALIDARG;
        size_t boy = wcslen(html);
        if (boy > EN_COK_DIZE_BAYTI)
            return E_INVALIDARG;   // more than 2 MB in any encoding
        int bayt = WideCharToMultiByte(CP_UTF8, 0, html, static_cast<int>(boy), nullptr, 0, nullptr, nullptr);
        if (bayt < 0 || static_cast<size_t>(bayt) > EN_COK_DIZE_BAYTI)
            return E_INVALIDARG;
        try {
            Kayit hedef;
            hedef.adres = L"about:blank";
            hedef.dizeden = true;
            hedef.html.assign(html, boy);
            return gezinti_baslat(GezintiTuru::yeni, std::move(hedef), FALSE);
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }
    HRESULT STDMETHODCALLTYPE ExecuteScript(LPCWSTR betik, ICoreWebView2ExecuteScriptCompletedHandler* isleyici) override
    {
        GIRIS("ExecuteScript", gunluk_metni(betik));
        if (!betik)
            return E_INVALIDARG;
        BetikEylemi eylem = betigi_coz(betik);
        ComPtr<Sayfa> koru(this);
        ComPtr<ICoreWebView2ExecuteScriptCompletedHandler> tamamlayici(isleyici);
        teslim_et(this, [koru, eylem, tamamlayici] { koru->betigi_calistir(eylem, tamamlayici.Get()); });
        return S_OK;
    }
    // The stand-in speaks no engine protocol and runs no page scripts: every call
    // fails at once with E_NOTIMPL and its handler is never invoked (logged with
    // the method's name, for tests that check a caller reached here).
    HRESULT STDMETHODCALLTYPE CallDevToolsProtocolMethod(
        LPCWSTR yontem, LPCWSTR, ICoreWebView2CallDevToolsProtocolMethodCompletedHandler*) override
    {
        GIRIS("CallDevToolsProtocolMethod", gunluk_metni(yontem));
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Reload() override
    {
        GIRIS("Reload", std::string());
        return yenile();
    }
    HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL* deger) override
    {
        GIRIS("get_CanGoBack", std::string());
        if (!deger)
            return E_POINTER;
        *deger = !geri.empty();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL* deger) override
    {
        GIRIS("get_CanGoForward", std::string());
        if (!deger)
            return E_POINTER;
        *deger = !ileri.empty();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GoBack() override
    {
        GIRIS("GoBack", std::string());
        return gecmise_git(GezintiTuru::geri);
    }
    HRESULT STDMETHODCALLTYPE GoForward() override
    {
        GIRIS("GoForward", std::string());
        return gecmise_git(GezintiTuru::ileri);
    }
    HRESULT STDMETHODCALLTYPE Stop() override
    {
        GIRIS("Stop", std::string());
        if (suren) {
            UINT64 kimlik = suren->kimlik;
            suren.reset();
            iptali_teslim_et(kimlik);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR* deger) override
    {
        GIRIS("get_DocumentTitle", std::string());
        if (g_denetim.baslik_bos)
            return metin_ver(deger, std::wstring(), false);
        return metin_ver(deger, baslik, g_denetim.baslik_yok);
    }
    HRESULT STDMETHODCALLTYPE get_ContainsFullScreenElement(BOOL* deger) override
    {
        GIRIS("get_ContainsFullScreenElement", std::string());
        if (!deger)
            return E_POINTER;
        *deger = tam_ekran ? TRUE : FALSE;
        return S_OK;
    }

    // ---- ICoreWebView2_7: the page as a small PDF holding its title, written from
    // message dispatch as the real engine does (the call itself only checks the
    // path: a full one). The handler hears S_OK and TRUE, or the system's error
    // and FALSE.

    HRESULT STDMETHODCALLTYPE PrintToPdf(LPCWSTR yol, ICoreWebView2PrintSettings*,
                                         ICoreWebView2PrintToPdfCompletedHandler* isleyici) override
    {
        GIRIS("PrintToPdf", gunluk_metni(yol));
        if (!tam_yol_mu(yol))
            return E_INVALIDARG;
        ComPtr<Sayfa> koru(this);
        ComPtr<ICoreWebView2PrintToPdfCompletedHandler> tamamlayici(isleyici);
        std::wstring hedef = yol;
        std::wstring yazilacak = baslik;
        teslim_et(this, [koru, tamamlayici, hedef, yazilacak] {
            DWORD hata = standin_pdf_yaz(hedef, yazilacak);
            if (tamamlayici)
                tamamlayici->Invoke(yazma_sonucu(hata), hata == 0 ? TRUE : FALSE);
        });
        return S_OK;
    }

    // ---- ICoreWebView2_12: only the status-bar text; the versions between answer
    // E_NOTIMPL.

    HRESULT STDMETHODCALLTYPE get_StatusBarText(LPWSTR* deger) override
    {
        GIRIS("get_StatusBarText", std::string());
        return metin_ver(deger, durum_metni, false);
    }

    // ---- ICoreWebView2_14: the hosts let pass are forgotten; the handler hears
    // S_OK from the message loop.

    HRESULT STDMETHODCALLTYPE ClearServerCertificateErrorActions(
        ICoreWebView2ClearServerCertificateErrorActionsCompletedHandler* isleyici) override
    {
        GIRIS("ClearServerCertificateErrorActions", std::string());
        izinli_sertifika_hostlari().clear();
        ComPtr<ICoreWebView2ClearServerCertificateErrorActionsCompletedHandler> tamamlayici(isleyici);
        ComPtr<Sayfa> koru(this);
        teslim_et(this, [koru, tamamlayici] {
            if (tamamlayici)
                tamamlayici->Invoke(S_OK);
        });
        return S_OK;
    }

    // ---- What the page window asks.

    const Belge& cizilecek_belge() override { return belge; }
    const std::wstring& cizilecek_baslik() override { return baslik; }
    const std::wstring& cizilecek_adres() override { return adres; }
    double cizim_yakinligi() override { return yakinlik * rasterlestirme_olcegi(); }

    void baglantiya_tiklandi(const std::wstring& href, bool yeni_pencere) override
    {
        std::wstring parca = bosluklari_daralt(href);
        if (!kapali && !yeni_pencere && parca.size() > 1 && parca[0] == L'#') {
            ComPtr<Sayfa> koru(this);
            teslim_et(this, [koru, parca] { koru->belge_icinde_git(parca); });
            return;
        }
        std::wstring hedef_adres = baglantiyi_coz(adres, href);
        if (kapali || hedef_adres.empty())
            return;
        if (yeni_pencere && abonesi_var(OLAY_NEW_WINDOW_REQUESTED)) {
            ComPtr<Sayfa> koru(this);
            teslim_et(this, [koru, hedef_adres] { koru->yeni_pencere_iste(hedef_adres, TRUE); });
            return;
        }
        Kayit hedef;
        hedef.adres = hedef_adres;
        gezinti_baslat(GezintiTuru::yeni, std::move(hedef), TRUE);
    }

    bool tus_geldi(UINT mesaj, WPARAM tus, LPARAM bilgi) override
    {
        bool sistem = mesaj == WM_SYSKEYDOWN || mesaj == WM_SYSKEYUP;
        bool basildi = mesaj == WM_KEYDOWN || mesaj == WM_SYSKEYDOWN;
        bool hizlandirici = sistem || GetKeyState(VK_CONTROL) < 0 || (tus >= VK_F1 && tus <= VK_F24) ||
                            tus == VK_ESCAPE;
        if (kapali || !hizlandirici)
            return false;
        static const COREWEBVIEW2_KEY_EVENT_KIND TURLER[2][2] = {
            {COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP, COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN},
            {COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_UP, COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN},
        };
        ComPtr<ICoreWebView2AcceleratorKeyPressedEventArgs> arguman;
        arguman = sahiplen(Argumanlar::tus(TURLER[sistem][basildi], static_cast<UINT>(tus), bilgi, no));
        if (!arguman)
            return false;
        // Raised at once: the host decides here whether the page sees the key.
        ComPtr<Sayfa> koru(this);
        olay_yay<ICoreWebView2AcceleratorKeyPressedEventHandler>(
            OLAY_ACCELERATOR_KEY_PRESSED, static_cast<ICoreWebView2Controller*>(this), arguman.Get());
        if (Argumanlar::tus_islendi_mi(arguman.Get()))
            return true;
        if (kapali || !basildi)
            return false;
        // The page's own shortcuts, for keys the host left alone. Esc ends an
        // element's full screen, as a browser's does.
        if (tus == VK_F5 && !sistem)
            yenile();
        else if (tus == VK_ESCAPE && !sistem && tam_ekran)
            tam_ekrani_koy(false);
        else if (tus == VK_LEFT && sistem)
            gecmise_git(GezintiTuru::geri);
        else if (tus == VK_RIGHT && sistem)
            gecmise_git(GezintiTuru::ileri);
        else
            return false;
        return true;
    }

    // The status-bar text follows the link under the pointer: its resolved address,
    // or nothing; a change reaches the host later, from the message loop.
    void baglanti_ustunde(const std::wstring& href) override
    {
        std::wstring yeni = href.empty() ? std::wstring() : baglantiyi_coz(adres, href);
        if (kapali || yeni == durum_metni)
            return;
        durum_metni = yeni;
        ComPtr<Sayfa> koru(this);
        teslim_et(this, [koru] {
            koru->bos_olay_yay<ICoreWebView2StatusBarTextChangedEventHandler>(OLAY_STATUS_BAR_TEXT_CHANGED);
        });
    }

    // The whole engine ended: every view hears it, and answers nothing more.
    void motor_coktu()
    {
        if (kapali || motoru_gitti)
            return;
        motoru_gitti = true;
        suren.reset();
        ComPtr<ICoreWebView2ProcessFailedEventArgs> arguman;
        arguman = sahiplen(Argumanlar::surec(COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED, no));
        olay_yay<ICoreWebView2ProcessFailedEventHandler>(
            OLAY_PROCESS_FAILED, static_cast<ICoreWebView2*>(this), arguman.Get());
    }

    void tekerlekle_yakinlastir(int adim) override
    {
        if (kapali || !Argumanlar::yakinlik_denetimi_acik_mi(ayarlar.Get()) || adim == 0)
            return;
        double yeni = yakinlik * (adim > 0 ? 1.1 : 1 / 1.1);
        yeni = yeni < EN_AZ_TEKERLEK_YAKINLIGI ? EN_AZ_TEKERLEK_YAKINLIGI
               : yeni > EN_COK_TEKERLEK_YAKINLIGI ? EN_COK_TEKERLEK_YAKINLIGI : yeni;
        if (yeni == yakinlik)
            return;
        yakinligi_koy(yeni);
        ComPtr<Sayfa> koru(this);
        teslim_et(this, [koru] {
            ComPtr<IUnknown> arguman;
            arguman = sahiplen(Argumanlar::bos());
            koru->olay_yay<ICoreWebView2ZoomFactorChangedEventHandler>(
                OLAY_ZOOM_FACTOR_CHANGED, static_cast<ICoreWebView2Controller*>(koru.Get()), arguman.Get());
        });
    }

private:
    friend class GorunumYuzu<Sayfa>;

    HWND ebeveyn;
    HWND pencere = nullptr;
    RECT alan = {};          // the page window's place, in the screen's pixels
    RECT verilen_alan = {};  // the bounds as the host gave them
    BOOL gorunur = TRUE;
    double yakinlik = 1.0;
    bool kapali = false;
    bool motoru_gitti = false;
    std::wstring durum_metni;
    ComPtr<ICoreWebView2Settings> ayarlar;

    bool kayit_var = false;      // false until the first navigation commits
    bool gezindi = false;        // a navigation has started (a fresh view has none)
    bool yeni_pencereye_ayrildi = false;   // given as a page's new window
    Kayit mevcut;
    std::vector<Kayit> geri, ileri;
    std::unique_ptr<Gezinti> suren;

    Belge belge;
    bool tam_ekran = false;   // an element of the document is in full screen
    uint64_t belge_nesli_ = 0;   // counts committed documents: a permission answer is its document's
    std::wstring adres = L"about:blank";
    std::wstring baslik = L"about:blank";

    static std::string alan_metni(const RECT& r)
    {
        return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
               std::to_string(r.bottom);
    }

    static HRESULT metin_ver(LPWSTR* deger, const std::wstring& metin, bool bos_ver)
    {
        if (!deger)
            return E_POINTER;
        *deger = nullptr;
        if (bos_ver)
            return S_OK;
        *deger = gorev_kopyasi(metin);
        return *deger ? S_OK : E_OUTOFMEMORY;
    }

    template <class Isleyici>
    void bos_olay_yay(GorunumOlayi olay)
    {
        ComPtr<IUnknown> arguman;
        arguman = sahiplen(Argumanlar::bos());
        olay_yay<Isleyici>(olay, static_cast<ICoreWebView2*>(this), arguman.Get());
    }

    // A document's full screen ends with it, as it does on a new document.
    void tam_ekrani_koy(bool yeni)
    {
        if (yeni == tam_ekran || kapali)
            return;
        tam_ekran = yeni;
        bos_olay_yay<ICoreWebView2ContainsFullScreenElementChangedEventHandler>(
            OLAY_CONTAINS_FULL_SCREEN_ELEMENT_CHANGED);
    }

    void alani_koy(const RECT& yeni)
    {
        alan = yeni;
        MoveWindow(pencere, alan.left, alan.top, alan.right > alan.left ? alan.right - alan.left : 0,
                   alan.bottom > alan.top ? alan.bottom - alan.top : 0, TRUE);
    }

    // A new size or place may have taken the host's window to another monitor.
    void sinirlari_koy(const RECT& yeni)
    {
        verilen_alan = yeni;
        monitor_olcegini_denetle(ebeveyn);
        alani_koy(fiziksel_alan(verilen_alan));
    }

    void yakinligi_koy(double yeni)
    {
        yakinlik = yeni;
        InvalidateRect(pencere, nullptr, TRUE);
    }

    void ekrani_yenile()
    {
        std::wstring metin = baslik + L"\n" + adres + L"\n\n" + belge.duz_metin;
        SetWindowTextW(pencere, metin.c_str());
        sayfa_penceresini_yenile(pencere);
    }

    void kapat()
    {
        kapali = true;
        for (auto it = g_acik_sayfalar.begin(); it != g_acik_sayfalar.end(); ++it)
            if (*it == this) {
                g_acik_sayfalar.erase(it);
                break;
            }
        suren.reset();
        sahibin_teslimatlarini_sil(this);
        aboneleri_birak();
        if (pencere) {
            DestroyWindow(pencere);
            pencere = nullptr;
        }
        ayarlar.Reset();
        denetleyici_kapandi();
    }

    // ---- Navigation.

    HRESULT gezinti_baslat(GezintiTuru tur, Kayit hedef, BOOL kullanici)
    {
        gezindi = true;
        if (suren) {
            UINT64 eski = suren->kimlik;
            suren.reset();
            iptali_teslim_et(eski);
        }
        suren.reset(new Gezinti{++g_sonraki_gezinti, tur, std::move(hedef), kullanici});
        UINT64 kimlik = suren->kimlik;
        ComPtr<Sayfa> koru(this);
        teslim_et(this, [koru, kimlik] { koru->baslama_adimi(kimlik); });
        return S_OK;
    }

    HRESULT yenile()
    {
        if (kayit_var)
            gezinti_baslat(GezintiTuru::yenileme, mevcut, FALSE);
        return S_OK;
    }

    HRESULT gecmise_git(GezintiTuru tur)
    {
        std::vector<Kayit>& yigin = tur == GezintiTuru::geri ? geri : ileri;
        if (!yigin.empty())
            gezinti_baslat(tur, yigin.back(), FALSE);
        return S_OK;
    }

    bool suren_mi(UINT64 kimlik) const { return !kapali && suren && suren->kimlik == kimlik; }

    void iptali_teslim_et(UINT64 kimlik)
    {
        ComPtr<Sayfa> koru(this);
        teslim_et(this, [koru, kimlik] {
            koru->tamamlandi_yay(FALSE, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED, kimlik);
        });
    }

    void tamamlandi_yay(BOOL basarili, COREWEBVIEW2_WEB_ERROR_STATUS durum, UINT64 kimlik)
    {
        ComPtr<ICoreWebView2NavigationCompletedEventArgs> arguman;
        arguman = sahiplen(Argumanlar::tamamlanma(basarili, durum, kimlik, no));
        olay_yay<ICoreWebView2NavigationCompletedEventHandler>(
            OLAY_NAVIGATION_COMPLETED, static_cast<ICoreWebView2*>(this), arguman.Get());
    }

    void baslama_adimi(UINT64 kimlik)
    {
        if (!suren_mi(kimlik))
            return;
        ComPtr<ICoreWebView2NavigationStartingEventArgs> arguman;
        arguman = sahiplen(Argumanlar::baslama(suren->hedef.adres, suren->kullanici, FALSE, kimlik, no));
        olay_yay<ICoreWebView2NavigationStartingEventHandler>(
            OLAY_NAVIGATION_STARTING, static_cast<ICoreWebView2*>(this), arguman.Get());
        if (!suren_mi(kimlik))
            return;    // a handler stopped it, navigated elsewhere or closed the view
        ComPtr<Sayfa> koru(this);
        if (arguman && Argumanlar::iptal_mi(arguman.Get())) {
            suren.reset();
            iptali_teslim_et(kimlik);
            return;
        }
        teslim_et(this, [koru, kimlik] { koru->isleme_adimi(kimlik); });
    }

    void gecmisi_isle(const Gezinti& gezinti)
    {
        switch (gezinti.tur) {
        case GezintiTuru::yeni:
            if (kayit_var)
                geri.push_back(std::move(mevcut));
            ileri.clear();
            mevcut = gezinti.hedef;
            kayit_var = true;
            break;
        case GezintiTuru::yenileme:
            break;
        case GezintiTuru::geri:
        case GezintiTuru::ileri: {
            std::vector<Kayit>& kaynak = gezinti.tur == GezintiTuru::geri ? geri : ileri;
            std::vector<Kayit>& hedef = gezinti.tur == GezintiTuru::geri ? ileri : geri;
            hedef.push_back(std::move(mevcut));
            mevcut = std::move(kaynak.back());
            kaynak.pop_back();
            break;
        }
        }
    }

    void isleme_adimi(UINT64 kimlik)
    {
        if (!suren_mi(kimlik))
            return;
        if (!suren->hedef.dizeden && !suren->sertifika_soruldu) {
            COREWEBVIEW2_WEB_ERROR_STATUS durum = sertifika_hatasi(suren->hedef.adres);
            if (durum != COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN && !sertifikasi_izinli_mi(suren->hedef.adres)) {
                sertifikayi_sor(durum);
                return;
            }
        }
        std::unique_ptr<Gezinti> gezinti = std::move(suren);
        if (!gezinti->hedef.dizeden && indirme_adresi_mi(gezinti->hedef.adres)) {
            // A download, not a page: the page stays, and the navigation ends there.
            ComPtr<Sayfa> koru(this);
            indirme_baslat(gezinti->hedef.adres, [koru](ICoreWebView2DownloadStartingEventArgs* arguman) {
                if (!koru->kapali)
                    koru->indirme_baslangicini_yay(arguman);
            });
            if (!kapali)
                tamamlandi_yay(FALSE, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED, kimlik);
            return;
        }
        Yukleme yukleme;
        if (gezinti->hedef.dizeden)
            yukleme.belge = html_coz(gezinti->hedef.html);
        else
            yukleme = adresi_yukle(gezinti->hedef.adres);
        isle(std::move(gezinti), std::move(yukleme));
    }

    // The navigation stops at its server's certificate: the host decides, and
    // the decision (now, or when a deferral completes) takes it on.
    void sertifikayi_sor(COREWEBVIEW2_WEB_ERROR_STATUS durum)
    {
        suren->sertifika_soruldu = true;
        UINT64 kimlik = suren->kimlik;
        std::wstring hedef_adres = suren->hedef.adres;
        SertifikaBilgisi bilgi;
        std::wstring host = sertifika_hostu(hedef_adres);
        bilgi.konu = bilgi.gorunen_ad = host.substr(0, host.find(L':'));
        bilgi.veren = L"Korva Test CA";
        ComPtr<Sayfa> koru(this);
        ComPtr<ICoreWebView2ServerCertificateErrorDetectedEventArgs> arguman;
        arguman = sahiplen(SertifikaArgumanlari<StandinKaydi>::olustur(
            durum, hedef_adres, bilgi,
            [koru, kimlik, durum, hedef_adres](COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION eylem) {
                koru->sertifika_karari(kimlik, durum, hedef_adres, eylem);
            },
            no));
        if (!arguman) {
            sertifika_karari(kimlik, durum, hedef_adres, COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_DEFAULT);
            return;
        }
        sertifika_hatasini_yay(arguman.Get());
        SertifikaArgumanlari<StandinKaydi>::isleyiciler_bitti(arguman.Get());
    }

    void sertifika_karari(UINT64 kimlik, COREWEBVIEW2_WEB_ERROR_STATUS durum, const std::wstring& hedef_adres,
                          COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION eylem)
    {
        if (eylem == COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_ALWAYS_ALLOW)
            sertifikaya_izin_ver(hedef_adres);
        if (!suren_mi(kimlik))
            return;   // stopped, replaced or closed meanwhile
        if (eylem == COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_ALWAYS_ALLOW) {
            isleme_adimi(kimlik);
            return;
        }
        std::unique_ptr<Gezinti> gezinti = std::move(suren);
        if (eylem == COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_CANCEL) {
            tamamlandi_yay(FALSE, durum, kimlik);
            return;
        }
        Yukleme uyari;
        uyari.basarili = FALSE;
        uyari.durum = durum;
        uyari.belge = sertifika_uyarisi_belgesi(hedef_adres);
        isle(std::move(gezinti), std::move(uyari));
    }

    // Commits what the navigation loaded (a page, or an error document) and
    // completes it.
    void isle(std::unique_ptr<Gezinti> gezinti, Yukleme yukleme)
    {
        UINT64 kimlik = gezinti->kimlik;
        gecmisi_isle(*gezinti);
        ++belge_nesli_;
        ComPtr<Sayfa> koru(this);
        tam_ekrani_koy(false);
        if (kapali)
            return;
        std::wstring eski_baslik = baslik;
        belge = std::move(yukleme.belge);
        adres = mevcut.adres;
        baslik = belge.baslik.empty() ? adres : belge.baslik;
        ekrani_yenile();
        // The old document's sound ends with it; the new one's starts once it loaded.
        ses_caliyor_koy(false);
        if (kapali)
            return;

        if (gezinti->tur != GezintiTuru::yenileme) {
            ComPtr<ICoreWebView2SourceChangedEventArgs> arguman;
            arguman = sahiplen(Argumanlar::kaynak(TRUE, no));
            olay_yay<ICoreWebView2SourceChangedEventHandler>(
                OLAY_SOURCE_CHANGED, static_cast<ICoreWebView2*>(this), arguman.Get());
        }
        bos_olay_yay<ICoreWebView2ContentLoadingEventHandler>(OLAY_CONTENT_LOADING);
        bos_olay_yay<ICoreWebView2HistoryChangedEventHandler>(OLAY_HISTORY_CHANGED);
        if (baslik != eski_baslik)
            bos_olay_yay<ICoreWebView2DocumentTitleChangedEventHandler>(OLAY_DOCUMENT_TITLE_CHANGED);
        if (kapali)
            return;
        tamamlandi_yay(yukleme.basarili, yukleme.durum, kimlik);
        if (!kapali)
            ses_caliyor_koy(belge.ses_caliyor);
        if (yukleme.motor_coktu && !kapali) {
            std::vector<ComPtr<Sayfa>> hepsi(g_acik_sayfalar.begin(), g_acik_sayfalar.end());
            for (auto& sayfa : hepsi)
                sayfa->motor_coktu();
        }
        if (yukleme.surec_coktu && !kapali) {
            ComPtr<ICoreWebView2ProcessFailedEventArgs> arguman;
            arguman = sahiplen(Argumanlar::surec(COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED, no));
            olay_yay<ICoreWebView2ProcessFailedEventHandler>(
                OLAY_PROCESS_FAILED, static_cast<ICoreWebView2*>(this), arguman.Get());
        }
    }

    // A link to a part of the document ("#part"): as a browser does, no new
    // document and no navigation, but a new address and a history entry of its own.
    void belge_icinde_git(const std::wstring& parca)
    {
        if (kapali)
            return;
        if (suren) {
            // The navigation under way ends, as for a new one.
            UINT64 eski = suren->kimlik;
            suren.reset();
            iptali_teslim_et(eski);
        }
        std::wstring yeni = adres.substr(0, adres.find(L'#')) + parca;
        if (kayit_var)
            geri.push_back(mevcut);
        ileri.clear();
        mevcut.adres = yeni;
        kayit_var = true;
        adres = yeni;
        ekrani_yenile();
        ComPtr<Sayfa> koru(this);
        ComPtr<ICoreWebView2SourceChangedEventArgs> arguman;
        arguman = sahiplen(Argumanlar::kaynak(FALSE, no));
        olay_yay<ICoreWebView2SourceChangedEventHandler>(
            OLAY_SOURCE_CHANGED, static_cast<ICoreWebView2*>(this), arguman.Get());
        bos_olay_yay<ICoreWebView2HistoryChangedEventHandler>(OLAY_HISTORY_CHANGED);
    }

    void betigi_calistir(const BetikEylemi& eylem, ICoreWebView2ExecuteScriptCompletedHandler* isleyici)
    {
        if (kapali)
            return;
        ComPtr<Sayfa> koru(this);
        if (eylem.tur == BetikEylemi::izin && Argumanlar::betik_acik_mi(ayarlar.Get())) {
            izinleri_sor(eylem.izinler, 0, ComPtr<ICoreWebView2ExecuteScriptCompletedHandler>(isleyici));
            return;
        }
        if (Argumanlar::betik_acik_mi(ayarlar.Get())) {
            if (eylem.tur == BetikEylemi::baslik) {
                std::wstring eski = baslik;
                belge.baslik = bosluklari_daralt(eylem.deger);
                baslik = belge.baslik.empty() ? adres : belge.baslik;
                ekrani_yenile();
                if (baslik != eski)
                    bos_olay_yay<ICoreWebView2DocumentTitleChangedEventHandler>(OLAY_DOCUMENT_TITLE_CHANGED);
            } else if (eylem.tur == BetikEylemi::adres && eylem.deger.size() > 1 && eylem.deger[0] == L'#') {
                belge_icinde_git(eylem.deger);
            } else if (eylem.tur == BetikEylemi::adres) {
                std::wstring hedef_adres = baglantiyi_coz(adres, eylem.deger);
                if (hedef_adres.empty() && mutlak_adres_mi(eylem.deger))
                    hedef_adres = eylem.deger;
                if (!hedef_adres.empty()) {
                    Kayit hedef;
                    hedef.adres = hedef_adres;
                    gezinti_baslat(GezintiTuru::yeni, std::move(hedef), FALSE);
                }
            } else if (eylem.tur == BetikEylemi::ac) {
                std::wstring hedef_adres = baglantiyi_coz(adres, eylem.deger);
                if (hedef_adres.empty() && mutlak_adres_mi(eylem.deger))
                    hedef_adres = eylem.deger;
                if (!hedef_adres.empty())
                    yeni_pencere_iste(hedef_adres, FALSE);
            } else if (eylem.tur == BetikEylemi::kapat) {
                bos_olay_yay<ICoreWebView2WindowCloseRequestedEventHandler>(OLAY_WINDOW_CLOSE_REQUESTED);
            } else if (eylem.tur == BetikEylemi::tam_ekran || eylem.tur == BetikEylemi::tam_ekrandan_cik) {
                tam_ekrani_koy(eylem.tur == BetikEylemi::tam_ekran);
            } else if (eylem.tur == BetikEylemi::cal || eylem.tur == BetikEylemi::durdur) {
                ses_caliyor_koy(eylem.tur == BetikEylemi::cal);
            }
        }
        if (isleyici && !kapali)
            isleyici->Invoke(S_OK, L"null");
    }

    // The page's permission calls ask in turn; the script's value is "granted" once
    // every one was allowed, else "denied" (DEFAULT is this engine's default: deny).
    // A page without an origin is denied without asking. The page waits for the
    // answer, held by a deferral as long as the host keeps it; a page gone
    // meanwhile (closed, navigated) hears nothing.
    void izinleri_sor(std::vector<COREWEBVIEW2_PERMISSION_KIND> izinler, size_t sira,
                      ComPtr<ICoreWebView2ExecuteScriptCompletedHandler> isleyici)
    {
        if (kapali)
            return;
        const std::wstring kaynak = adresin_kaynagi(adres);
        if (sira == izinler.size() || kaynak.empty()) {
            if (isleyici)
                isleyici->Invoke(S_OK, sira == izinler.size() && !kaynak.empty() ? L"\"granted\"" : L"\"denied\"");
            return;
        }
        ComPtr<Sayfa> koru(this);
        const uint64_t belge_nesli = belge_nesli_;
        ComPtr<ICoreWebView2PermissionRequestedEventArgs> arguman;
        arguman = sahiplen(Argumanlar::izin(
            kaynak, izinler[sira], FALSE,
            [koru, izinler, sira, isleyici, belge_nesli](COREWEBVIEW2_PERMISSION_STATE durum) {
                if (koru->kapali || koru->belge_nesli_ != belge_nesli)
                    return;
                if (durum == COREWEBVIEW2_PERMISSION_STATE_ALLOW)
                    koru->izinleri_sor(izinler, sira + 1, isleyici);
                else if (isleyici)
                    isleyici->Invoke(S_OK, L"\"denied\"");
            },
            no));
        if (!arguman) {
            if (isleyici)
                isleyici->Invoke(E_OUTOFMEMORY, L"null");
            return;
        }
        izin_istegini_yay(arguman.Get());
        Argumanlar::izin_isleyicileri_bitti(arguman.Get());
    }

    void yeni_pencere_iste(const std::wstring& hedef_adres, BOOL kullanici)
    {
        if (kapali)
            return;
        ComPtr<Sayfa> koru(this);
        ComPtr<ICoreWebView2NewWindowRequestedEventArgs> arguman;
        arguman = sahiplen(Argumanlar::yeni_pencere(
            hedef_adres, kullanici, [koru, hedef_adres](ICoreWebView2* yeni, BOOL islendi) {
                if (yeni) {
                    yeni->Navigate(hedef_adres.c_str());
                } else if (!islendi && !koru->kapali) {
                    // No window of its own to open: the page follows the link itself.
                    Kayit hedef;
                    hedef.adres = hedef_adres;
                    koru->gezinti_baslat(GezintiTuru::yeni, std::move(hedef), TRUE);
                }
            },
            no));
        if (!arguman)
            return;
        olay_yay<ICoreWebView2NewWindowRequestedEventHandler>(
            OLAY_NEW_WINDOW_REQUESTED, static_cast<ICoreWebView2*>(this), arguman.Get());
        Argumanlar::yeni_pencere_isleyicileri_bitti(arguman.Get());
    }
};

HRESULT yeni_pencere_icin_al(ICoreWebView2* gorunum)
{
    for (Sayfa* sayfa : g_acik_sayfalar)
        if (static_cast<ICoreWebView2*>(sayfa) == gorunum)
            return sayfa->yeni_pencereye_ayir();
    return E_INVALIDARG;
}

ICoreWebView2Controller* denetleyici_olustur(HWND ebeveyn)
{
    int64_t no = g_sonraki_no++;
    auto* sayfa = new (std::nothrow) Sayfa(no, ebeveyn);
    if (!sayfa)
        return nullptr;
    ++g_acik;
    gunluk_yaz(no, "created");
    return sayfa;
}

int64_t acik_denetleyici_sayisi()
{
    return g_acik;
}

void denetleyici_kapandi()
{
    --g_acik;
}

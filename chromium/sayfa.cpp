// A controller and its view: one object over one page target of the engine, that
// implements both interfaces and owns the page window.
//
// How the engine's protocol becomes the interface's events, for one navigation:
//   Fetch.requestPaused (main frame)     -> NavigationStarting; the answer continues
//                                           or fails the request (cancel)
//   Page.frameStartedNavigating          -> NavigationStarting, for addresses the
//                                           Fetch domain never pauses (about:, data:)
//   Page.frameNavigated (main frame)     -> SourceChanged (not for a reload),
//                                           ContentLoading, then HistoryChanged once the
//                                           history has been read again
//   Network.loadingFailed (the document) -> the navigation failed, with its status
//   Page.frameStoppedLoading             -> NavigationCompleted (after HistoryChanged)
//   Runtime.bindingCalled                -> DocumentTitleChanged, from a script that
//                                           watches the title in every new document
// A text document (NavigateToString) loads about:blank, replaces its content and
// raises the events itself, since the engine raises none for that.
//
// Every step checks that the view is still open and the navigation still the
// current one, because any handler may close the view or navigate elsewhere.
#include "motor_ic.h"

#include <cmath>
#include <map>
#include <mutex>
#include <new>

enum Olay {
    OLAY_NAVIGATION_STARTING,
    OLAY_CONTENT_LOADING,
    OLAY_SOURCE_CHANGED,
    OLAY_HISTORY_CHANGED,
    OLAY_NAVIGATION_COMPLETED,
    OLAY_DOCUMENT_TITLE_CHANGED,
    OLAY_PROCESS_FAILED,
    OLAY_WINDOW_CLOSE_REQUESTED,
    OLAY_ZOOM_FACTOR_CHANGED,
    OLAY_ACCELERATOR_KEY_PRESSED,
    OLAY_NEW_WINDOW_REQUESTED,
    OLAY_STATUS_BAR_TEXT_CHANGED,
    OLAY_SAYISI
};

// The navigation under way: from its start to its completion.
struct Gezinti {
    UINT64 kimlik = 0;
    std::string ana_istek;     // the request id of its document, once known
    bool basarisiz = false;
    COREWEBVIEW2_WEB_ERROR_STATUS durum = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
    bool bitti = false;        // the load stopped; its completion waits for the title
};

// A text document on its way in: about:blank is loading, then gets the content.
struct DizeYuklemesi {
    UINT64 kimlik = 0;
    std::string html;
};

static const double EN_AZ_YAKINLIK = 0.25, EN_COK_YAKINLIK = 5.0;
static const size_t EN_COK_DIZE_BAYTI = 2u * 1024 * 1024;
static const char BASLIK_BAGI[] = "__korvaBaslik";
static const char KAPAT_BAGI[] = "__korvaKapat";
static const char DURUM_BAGI[] = "__korvaDurum";
static const char YENI_PENCERE_BAGI[] = "__korvaYeniPencere";

// Runs in every new document before its own scripts: reports the top document's
// title whenever it changes, turns window.close() into a request to the host, and
// reports the address of the link under the pointer (the status-bar text). A middle
// or Ctrl click on a link, which this engine would otherwise drop (it has no tab to
// open behind), becomes a request for a new window.
static const char BELGE_BETIGI[] = R"JS((() => {
  if (window !== window.top) return;
  const baslik = window.__korvaBaslik, kapat = window.__korvaKapat, durum = window.__korvaDurum;
  const yeni = window.__korvaYeniPencere;
  let bag = '';
  const bagla = (h) => { if (h !== bag) { bag = h; try { durum(h); } catch (e) {} } };
  const baglanti = (n) => {
    for (; n; n = n.parentNode) if (n.tagName === 'A' && typeof n.href === 'string' && n.href) return n.href;
    return '';
  };
  document.addEventListener('mouseover', (e) => bagla(baglanti(e.target)), true);
  document.addEventListener('mouseout', (e) => { if (!e.relatedTarget) bagla(''); }, true);
  const arkada = (e) => {
    const h = baglanti(e.target);
    if (!h) return;
    e.preventDefault();
    try { yeni(h); } catch (x) {}
  };
  document.addEventListener('auxclick', (e) => { if (e.button === 1) arkada(e); }, true);
  document.addEventListener('click', (e) => { if (e.button === 0 && (e.ctrlKey || e.metaKey)) arkada(e); }, true);
  let son = null;
  const bildir = () => {
    const t = document.title;
    if (t !== son) { son = t; try { baslik(t); } catch (e) {} }
  };
  new MutationObserver(bildir).observe(document, {subtree: true, childList: true, characterData: true});
  document.addEventListener('DOMContentLoaded', bildir);
  window.close = () => { try { kapat(''); } catch (e) {} };
})();)JS";

static UINT64 g_sonraki_gezinti;

// With KORVA_CHROMIUM_LOG naming a file, every event a view receives and every command it sends is
// appended
// to it, one line each: for finding out what the engine said.
static void olayi_gunluge_yaz(const std::string& oturum, const std::string& yontem, const Json& p)
{
    static FILE* gunluk = [] {
        const char* yol = getenv("KORVA_CHROMIUM_LOG");
        return yol && *yol ? fopen(yol, "ab") : nullptr;
    }();
    if (!gunluk)
        return;
    std::string metin = p.dump();
    if (metin.size() > 600)
        metin.resize(600);
    fprintf(gunluk, "%lu %s %s %s\n", GetTickCount(), oturum.substr(0, 8).c_str(), yontem.c_str(), metin.c_str());
    fflush(gunluk);
}

class Sayfa;
static std::map<std::string, Sayfa*> g_oturumlar;   // open views by session id
// Decoded frames on their way from the reading thread to the UI thread, by session.
static std::mutex g_kare_kilidi;
static std::map<std::string, std::shared_ptr<Kare>> g_bekleyen_kareler;

static bool adres_mi(const std::string& adres, const char* sema)
{
    return adres.compare(0, strlen(sema), sema) == 0;
}

// True for an absolute address: a scheme, a colon, and for the network schemes a host.
static bool mutlak_adres_mi(const std::wstring& adres)
{
    size_t iki_nokta = adres.find(L':');
    if (iki_nokta == 0 || iki_nokta == std::wstring::npos || !iswalpha(adres[0]))
        return false;
    for (size_t i = 0; i < iki_nokta; ++i)
        if (!iswalnum(adres[i]) && adres[i] != L'+' && adres[i] != L'-' && adres[i] != L'.')
            return false;
    std::wstring sema = adres.substr(0, iki_nokta);
    for (auto& c : sema)
        c = towlower(c);
    if (sema == L"http" || sema == L"https" || sema == L"ws" || sema == L"wss" || sema == L"ftp") {
        if (adres.compare(iki_nokta, 3, L"://") != 0)
            return false;
        size_t ev = iki_nokta + 3;
        return ev < adres.size() && adres[ev] != L'/' && adres[ev] != L'?' && adres[ev] != L'#';
    }
    return iki_nokta + 1 < adres.size();
}

#define GIRIS()                \
    if (kapali)                \
        return WV2_E_KAPALI;

#define OLAY_CIFTI(ad, isleyici_turu, olay)                                                  \
    HRESULT STDMETHODCALLTYPE add_##ad(isleyici_turu* isleyici, EventRegistrationToken* jeton) override \
    {                                                                                        \
        GIRIS();                                                                             \
        return abone_ekle(olay, isleyici, jeton);                                            \
    }                                                                                        \
    HRESULT STDMETHODCALLTYPE remove_##ad(EventRegistrationToken jeton) override             \
    {                                                                                        \
        GIRIS();                                                                             \
        return abone_sil(olay, jeton);                                                       \
    }

#define DESTEKSIZ_OLAY(ad, isleyici_turu)                                                    \
    HRESULT STDMETHODCALLTYPE add_##ad(isleyici_turu*, EventRegistrationToken* jeton) override \
    {                                                                                        \
        GIRIS();                                                                             \
        if (jeton)                                                                           \
            jeton->value = 0;                                                                \
        return E_NOTIMPL;                                                                    \
    }                                                                                        \
    HRESULT STDMETHODCALLTYPE remove_##ad(EventRegistrationToken) override                   \
    {                                                                                        \
        GIRIS();                                                                             \
        return E_NOTIMPL;                                                                    \
    }

#define DESTEKSIZ(ad, ...)                                                                   \
    HRESULT STDMETHODCALLTYPE ad(__VA_ARGS__) override                                       \
    {                                                                                        \
        GIRIS();                                                                             \
        return E_NOTIMPL;                                                                    \
    }

class Sayfa final : public ICoreWebView2Controller, public ICoreWebView2_12, public SayfaKaynagi {
public:
    Sayfa(HWND ebeveyn_, std::shared_ptr<Baglanti> baglanti_, std::string hedef_, std::string oturum_)
        : ebeveyn(ebeveyn_), baglanti(std::move(baglanti_)), hedef(std::move(hedef_)), oturum(std::move(oturum_))
    {
        GetClientRect(ebeveyn, &alan);
        g_oturumlar[oturum] = this;
    }

    // ---- IUnknown, shared by both interfaces.

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID kimlik, void** nesne) override
    {
        if (!nesne)
            return E_POINTER;
        if (IsEqualIID(kimlik, IID_IUnknown) || IsEqualIID(kimlik, IID_ICoreWebView2Controller))
            *nesne = static_cast<ICoreWebView2Controller*>(this);
        else if (IsEqualIID(kimlik, IID_ICoreWebView2))
            *nesne = static_cast<ICoreWebView2*>(this);
        else if (IsEqualIID(kimlik, IID_ICoreWebView2_12))
            *nesne = static_cast<ICoreWebView2_12*>(this);
        else {
            *nesne = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&sayac)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG kalan = InterlockedDecrement(&sayac);
        if (kalan == 0) {
            // The host let go of a view it never closed: tear it down as Close would.
            sayac = 1;
            if (!kapali)
                kapat();
            delete this;
        }
        return static_cast<ULONG>(kalan);
    }

    // ---- ICoreWebView2Controller.

    HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL* deger) override
    {
        GIRIS();
        if (!deger)
            return E_POINTER;
        *deger = gorunur;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL deger) override
    {
        GIRIS();
        BOOL yeni = deger ? TRUE : FALSE;
        if (yeni == gorunur)
            return S_OK;
        gorunur = yeni;
        ShowWindow(pencere, gorunur ? SW_SHOWNA : SW_HIDE);
        kareleri_ayarla();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Bounds(RECT* deger) override
    {
        GIRIS();
        if (!deger)
            return E_POINTER;
        *deger = alan;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Bounds(RECT deger) override
    {
        GIRIS();
        alani_koy(deger);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_ZoomFactor(double* deger) override
    {
        GIRIS();
        if (!deger)
            return E_POINTER;
        *deger = yakinlik;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_ZoomFactor(double deger) override
    {
        GIRIS();
        if (!std::isfinite(deger) || deger <= 0)
            return E_INVALIDARG;
        yakinligi_koy(deger);
        return S_OK;
    }
    OLAY_CIFTI(ZoomFactorChanged, ICoreWebView2ZoomFactorChangedEventHandler, OLAY_ZOOM_FACTOR_CHANGED)
    HRESULT STDMETHODCALLTYPE SetBoundsAndZoomFactor(RECT sinirlar, double deger) override
    {
        GIRIS();
        if (!std::isfinite(deger) || deger <= 0)
            return E_INVALIDARG;
        yakinligi_koy(deger);
        alani_koy(sinirlar);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON) override
    {
        GIRIS();
        SetFocus(pencere);
        return S_OK;
    }
    DESTEKSIZ_OLAY(MoveFocusRequested, ICoreWebView2MoveFocusRequestedEventHandler)
    DESTEKSIZ_OLAY(GotFocus, ICoreWebView2FocusChangedEventHandler)
    DESTEKSIZ_OLAY(LostFocus, ICoreWebView2FocusChangedEventHandler)
    OLAY_CIFTI(AcceleratorKeyPressed, ICoreWebView2AcceleratorKeyPressedEventHandler, OLAY_ACCELERATOR_KEY_PRESSED)
    HRESULT STDMETHODCALLTYPE get_ParentWindow(HWND* deger) override
    {
        GIRIS();
        if (!deger)
            return E_POINTER;
        *deger = ebeveyn;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_ParentWindow(HWND deger) override
    {
        GIRIS();
        if (!IsWindow(deger))
            return E_INVALIDARG;
        ebeveyn = deger;
        SetParent(pencere, ebeveyn);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE NotifyParentWindowPositionChanged() override
    {
        GIRIS();
        return S_OK;   // nothing of ours is placed in screen coordinates
    }
    HRESULT STDMETHODCALLTYPE Close() override
    {
        GIRIS();
        kapat();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_CoreWebView2(ICoreWebView2** gorunum) override
    {
        GIRIS();
        if (!gorunum)
            return E_POINTER;
        *gorunum = static_cast<ICoreWebView2*>(this);
        AddRef();
        return S_OK;
    }

    // ---- ICoreWebView2.

    HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings** deger) override
    {
        GIRIS();
        if (!deger)
            return E_POINTER;
        if (!ayarlar)
            ayarlar = sahiplen(ayarlar_olustur());
        *deger = ayarlar.Get();
        if (!*deger)
            return E_OUTOFMEMORY;
        (*deger)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* deger) override
    {
        GIRIS();
        return metin_ver(deger, adres);
    }
    HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) override
    {
        GIRIS();
        if (!uri || !mutlak_adres_mi(uri))
            return E_INVALIDARG;
        // A text document still on its way in is given up, its empty page too, and
        // one not yet started never starts (it completes as canceled): the later
        // call wins.
        dize.reset();
        bekleyen_dizeyi_birak();
        dize_bos_sayfa_yukleniyor = false;
        kendi_gezintimiz = true;
        coktu_ise_canlandir();
        komut("Page.navigate", {{"url", motora_adres(uri)}});
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR html) override
    {
        GIRIS();
        if (!html)
            return E_INVALIDARG;
        std::string metin = utf8_e(html);
        if (metin.size() > EN_COK_DIZE_BAYTI)
            return E_INVALIDARG;
        auto yukleme = std::make_shared<DizeYuklemesi>();
        yukleme->kimlik = ++g_sonraki_gezinti;
        yukleme->html = std::move(metin);
        ComPtr<Sayfa> koru(this);
        bekleyen_dizeyi_birak();
        bekleyen_dize = yukleme;
        // Later, from the message loop, as every event.
        return Baglanti::ui_da_calistir([koru, yukleme] { koru->dize_baslat(yukleme); }) ? S_OK : E_FAIL;
    }
    OLAY_CIFTI(NavigationStarting, ICoreWebView2NavigationStartingEventHandler, OLAY_NAVIGATION_STARTING)
    OLAY_CIFTI(ContentLoading, ICoreWebView2ContentLoadingEventHandler, OLAY_CONTENT_LOADING)
    OLAY_CIFTI(SourceChanged, ICoreWebView2SourceChangedEventHandler, OLAY_SOURCE_CHANGED)
    OLAY_CIFTI(HistoryChanged, ICoreWebView2HistoryChangedEventHandler, OLAY_HISTORY_CHANGED)
    OLAY_CIFTI(NavigationCompleted, ICoreWebView2NavigationCompletedEventHandler, OLAY_NAVIGATION_COMPLETED)
    DESTEKSIZ_OLAY(FrameNavigationStarting, ICoreWebView2NavigationStartingEventHandler)
    DESTEKSIZ_OLAY(FrameNavigationCompleted, ICoreWebView2NavigationCompletedEventHandler)
    DESTEKSIZ_OLAY(ScriptDialogOpening, ICoreWebView2ScriptDialogOpeningEventHandler)
    DESTEKSIZ_OLAY(PermissionRequested, ICoreWebView2PermissionRequestedEventHandler)
    OLAY_CIFTI(ProcessFailed, ICoreWebView2ProcessFailedEventHandler, OLAY_PROCESS_FAILED)
    DESTEKSIZ(AddScriptToExecuteOnDocumentCreated, LPCWSTR, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler*)
    DESTEKSIZ(RemoveScriptToExecuteOnDocumentCreated, LPCWSTR)
    HRESULT STDMETHODCALLTYPE ExecuteScript(LPCWSTR betik, ICoreWebView2ExecuteScriptCompletedHandler* isleyici) override
    {
        GIRIS();
        if (!betik)
            return E_INVALIDARG;
        ComPtr<ICoreWebView2ExecuteScriptCompletedHandler> tamamlayici(isleyici);
        Json parametreler = {{"expression", utf8_e(betik)}, {"returnByValue", true}, {"userGesture", true}};
        komut("Runtime.evaluate", std::move(parametreler), [tamamlayici](Sayfa&, const Json& sonuc, const Json* hata) {
            if (!tamamlayici)
                return;
            if (hata) {
                tamamlayici->Invoke(E_FAIL, L"null");
                return;
            }
            // A value JSON cannot carry (undefined, NaN, a throw) reads as null.
            std::string json = "null";
            const Json& deger = sonuc.value("result", Json::object());
            if (!sonuc.contains("exceptionDetails") && deger.contains("value"))
                json = deger["value"].dump();
            tamamlayici->Invoke(S_OK, utf8_den(json).c_str());
        });
        return S_OK;
    }
    DESTEKSIZ(CapturePreview, COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT, IStream*, ICoreWebView2CapturePreviewCompletedHandler*)
    HRESULT STDMETHODCALLTYPE Reload() override
    {
        GIRIS();
        yenile();
        return S_OK;
    }
    DESTEKSIZ(PostWebMessageAsJson, LPCWSTR)
    DESTEKSIZ(PostWebMessageAsString, LPCWSTR)
    DESTEKSIZ_OLAY(WebMessageReceived, ICoreWebView2WebMessageReceivedEventHandler)
    DESTEKSIZ(CallDevToolsProtocolMethod, LPCWSTR, LPCWSTR, ICoreWebView2CallDevToolsProtocolMethodCompletedHandler*)
    DESTEKSIZ(get_BrowserProcessId, UINT32*)
    HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL* deger) override
    {
        GIRIS();
        if (!deger)
            return E_POINTER;
        *deger = gecmis_kaydi(-1) != nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL* deger) override
    {
        GIRIS();
        if (!deger)
            return E_POINTER;
        *deger = gecmis_kaydi(+1) != nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GoBack() override
    {
        GIRIS();
        gecmise_git(-1);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GoForward() override
    {
        GIRIS();
        gecmise_git(+1);
        return S_OK;
    }
    DESTEKSIZ(GetDevToolsProtocolEventReceiver, LPCWSTR, ICoreWebView2DevToolsProtocolEventReceiver**)
    HRESULT STDMETHODCALLTYPE Stop() override
    {
        GIRIS();
        if (dize) {
            UINT64 kimlik = dize->kimlik;
            dize.reset();
            iptali_teslim_et(kimlik);
        }
        komut("Page.stopLoading");
        return S_OK;
    }
    OLAY_CIFTI(NewWindowRequested, ICoreWebView2NewWindowRequestedEventHandler, OLAY_NEW_WINDOW_REQUESTED)
    OLAY_CIFTI(DocumentTitleChanged, ICoreWebView2DocumentTitleChangedEventHandler, OLAY_DOCUMENT_TITLE_CHANGED)
    HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR* deger) override
    {
        GIRIS();
        return metin_ver(deger, baslik);
    }
    DESTEKSIZ(AddHostObjectToScript, LPCWSTR, VARIANT*)
    DESTEKSIZ(RemoveHostObjectFromScript, LPCWSTR)
    DESTEKSIZ(OpenDevToolsWindow)
    DESTEKSIZ_OLAY(ContainsFullScreenElementChanged, ICoreWebView2ContainsFullScreenElementChangedEventHandler)
    DESTEKSIZ(get_ContainsFullScreenElement, BOOL*)
    DESTEKSIZ_OLAY(WebResourceRequested, ICoreWebView2WebResourceRequestedEventHandler)
    DESTEKSIZ(AddWebResourceRequestedFilter, LPCWSTR, COREWEBVIEW2_WEB_RESOURCE_CONTEXT)
    DESTEKSIZ(RemoveWebResourceRequestedFilter, LPCWSTR, COREWEBVIEW2_WEB_RESOURCE_CONTEXT)
    OLAY_CIFTI(WindowCloseRequested, ICoreWebView2WindowCloseRequestedEventHandler, OLAY_WINDOW_CLOSE_REQUESTED)

    // ---- ICoreWebView2_12: only the status-bar text; the versions between answer
    // E_NOTIMPL.

    DESTEKSIZ_OLAY(WebResourceResponseReceived, IUnknown)
    DESTEKSIZ(NavigateWithWebResourceRequest, IUnknown*)
    DESTEKSIZ_OLAY(DOMContentLoaded, IUnknown)
    DESTEKSIZ(get_CookieManager, IUnknown**)
    DESTEKSIZ(get_Environment, ICoreWebView2Environment**)
    DESTEKSIZ(TrySuspend, IUnknown*)
    DESTEKSIZ(Resume)
    DESTEKSIZ(get_IsSuspended, BOOL*)
    DESTEKSIZ(SetVirtualHostNameToFolderMapping, LPCWSTR, LPCWSTR, INT32)
    DESTEKSIZ(ClearVirtualHostNameToFolderMapping, LPCWSTR)
    DESTEKSIZ_OLAY(FrameCreated, IUnknown)
    DESTEKSIZ_OLAY(DownloadStarting, IUnknown)
    DESTEKSIZ_OLAY(ClientCertificateRequested, IUnknown)
    DESTEKSIZ(OpenTaskManagerWindow)
    DESTEKSIZ(PrintToPdf, LPCWSTR, IUnknown*, IUnknown*)
    DESTEKSIZ_OLAY(IsMutedChanged, IUnknown)
    DESTEKSIZ(get_IsMuted, BOOL*)
    DESTEKSIZ(put_IsMuted, BOOL)
    DESTEKSIZ_OLAY(IsDocumentPlayingAudioChanged, IUnknown)
    DESTEKSIZ(get_IsDocumentPlayingAudio, BOOL*)
    DESTEKSIZ_OLAY(IsDefaultDownloadDialogOpenChanged, IUnknown)
    DESTEKSIZ(get_IsDefaultDownloadDialogOpen, BOOL*)
    DESTEKSIZ(OpenDefaultDownloadDialog)
    DESTEKSIZ(CloseDefaultDownloadDialog)
    DESTEKSIZ(get_DefaultDownloadDialogCornerAlignment, INT32*)
    DESTEKSIZ(put_DefaultDownloadDialogCornerAlignment, INT32)
    DESTEKSIZ(get_DefaultDownloadDialogMargin, POINT*)
    DESTEKSIZ(put_DefaultDownloadDialogMargin, POINT)
    DESTEKSIZ_OLAY(BasicAuthenticationRequested, IUnknown)
    DESTEKSIZ(CallDevToolsProtocolMethodForSession, LPCWSTR, LPCWSTR, LPCWSTR, IUnknown*)
    DESTEKSIZ_OLAY(ContextMenuRequested, IUnknown)
    OLAY_CIFTI(StatusBarTextChanged, ICoreWebView2StatusBarTextChangedEventHandler, OLAY_STATUS_BAR_TEXT_CHANGED)
    HRESULT STDMETHODCALLTYPE get_StatusBarText(LPWSTR* deger) override
    {
        GIRIS();
        return metin_ver(deger, durum_metni);
    }

    // ---- What the page window asks.

    const Kare* gosterilecek_kare() override { return kare.genislik > 0 ? &kare : nullptr; }
    double cizim_yakinligi() override { return yakinlik; }

    void girdi_gonder(const char* yontem, Json parametreler) override
    {
        if (!kapali && !coktu)
            komut(yontem, std::move(parametreler));
    }

    bool tus_geldi(UINT mesaj, WPARAM tus, LPARAM bilgi) override
    {
        bool sistem = mesaj == WM_SYSKEYDOWN || mesaj == WM_SYSKEYUP;
        bool basildi = mesaj == WM_KEYDOWN || mesaj == WM_SYSKEYDOWN;
        bool hizlandirici = sistem || GetKeyState(VK_CONTROL) < 0 || (tus >= VK_F1 && tus <= VK_F24) ||
                            tus == VK_ESCAPE;
        if (kapali || !hizlandirici || aboneler[OLAY_ACCELERATOR_KEY_PRESSED].bos())
            return false;
        static const COREWEBVIEW2_KEY_EVENT_KIND TURLER[2][2] = {
            {COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP, COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN},
            {COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_UP, COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN},
        };
        auto arguman = sahiplen(tus_argumani_olustur(TURLER[sistem][basildi], static_cast<UINT>(tus), bilgi));
        if (!arguman)
            return false;
        // Raised at once: the host decides here whether the page sees the key.
        olay_yay<ICoreWebView2AcceleratorKeyPressedEventHandler>(
            OLAY_ACCELERATOR_KEY_PRESSED, static_cast<ICoreWebView2Controller*>(this), arguman.Get());
        return tus_islendi_mi(arguman.Get());
    }

    // ---- From the engine.

    // Sets the page target up; `bitti` hears whether it worked once the last answer
    // is in.
    void kur(std::function<void(HRESULT)> bitti)
    {
        // The engine answers Page.enable, and the commands after it, only once the
        // page has its renderer: later than the history. The view is ready when every
        // answer is in; a navigation started before could commit unseen.
        struct Kurulum {
            bool basarisiz = false;
            int bekleyen = 0;
            std::function<void(HRESULT)> bitti;
        };
        auto kurulum = std::make_shared<Kurulum>();
        kurulum->bitti = std::move(bitti);
        auto yanit = [kurulum](Sayfa& sayfa, const Json&, const Json* hata) {
            if (hata)
                kurulum->basarisiz = true;
            if (--kurulum->bekleyen > 0)
                return;
            if (kurulum->basarisiz) {
                kurulum->bitti(E_FAIL);
                return;
            }
            sayfa.pencere = sayfa_penceresi_olustur(sayfa.ebeveyn, sayfa.alan, &sayfa);
            sayfa.kareleri_ayarla();
            kurulum->bitti(sayfa.pencere ? S_OK : E_FAIL);
        };
        auto gonder = [&](const char* yontem, Json parametreler) {
            ++kurulum->bekleyen;
            komut(yontem, std::move(parametreler), yanit);
        };
        gonder("Page.enable", Json::object());
        gonder("Network.enable", Json::object());
        gonder("Runtime.enable", Json::object());
        gonder("Inspector.enable", Json::object());
        gonder("Runtime.addBinding", {{"name", BASLIK_BAGI}});
        gonder("Runtime.addBinding", {{"name", KAPAT_BAGI}});
        gonder("Runtime.addBinding", {{"name", DURUM_BAGI}});
        gonder("Runtime.addBinding", {{"name", YENI_PENCERE_BAGI}});
        // A window the page opens is held before it loads anything; the view raises
        // NewWindowRequested from Page.windowOpen and closes the held one.
        Json sayfalar = {{"type", "page"}, {"exclude", false}};
        gonder("Target.setAutoAttach", {{"autoAttach", true}, {"waitForDebuggerOnStart", true}, {"flatten", true},
                                        {"filter", Json::array({sayfalar})}});
        gonder("Page.addScriptToEvaluateOnNewDocument", {{"source", BELGE_BETIGI}});
        Json desen = {{"urlPattern", "*"}, {"resourceType", "Document"}, {"requestStage", "Request"}};
        gonder("Fetch.enable", {{"patterns", Json::array({desen})}});
        olcuyu_gonder();
        ++kurulum->bekleyen;
        komut("Page.getNavigationHistory", Json::object(),
              [yanit](Sayfa& sayfa, const Json& sonuc, const Json* hata) {
                  if (!hata) {
                      // The target's first entry is its empty start, not a page to go back to.
                      sayfa.gecmis = sonuc;
                      const Json& kayitlar = sonuc.value("entries", Json::array());
                      if (!kayitlar.empty())
                          sayfa.ilk_kayit = kayitlar[0].value("id", -1);
                  }
                  yanit(sayfa, sonuc, hata);
              });
    }

    void olay(const std::string& yontem, const Json& p)
    {
        if (kapali)
            return;
        ComPtr<Sayfa> koru(this);
        if (yontem == "Fetch.requestPaused")
            istek_durdu(p);
        else if (yontem == "Page.frameStartedNavigating")
            cerceve_gezinmeye_basladi(p);
        else if (yontem == "Network.requestWillBeSent")
            istek_gidiyor(p);
        else if (yontem == "Network.loadingFailed")
            yukleme_basarisiz(p);
        else if (yontem == "Page.frameNavigated")
            cerceve_gezindi(p);
        else if (yontem == "Page.navigatedWithinDocument")
            belge_icinde_gezindi(p);
        else if (yontem == "Page.frameStoppedLoading")
            cerceve_durdu(p);
        else if (yontem == "Runtime.bindingCalled")
            bag_cagrildi(p);
        else if (yontem == "Page.windowOpen")
            pencere_acilmak_istendi(p);
        else if (yontem == "Target.attachedToTarget")
            hedef_baglandi(p);
        else if (yontem == "Inspector.targetCrashed")
            surec_coktu(COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED);
        else if (yontem == "Inspector.targetReloadedAfterCrash")
            coktu_ise_canlandir();
        else if (yontem == "Page.javascriptDialogOpening")
            // There is no dialog to show: the page would wait for ever, so it gets
            // the answer a user who clicks OK gives.
            komut("Page.handleJavaScriptDialog", {{"accept", true}, {"promptText", p.value("defaultPrompt", "")}});
    }

    void kare_geldi(Kare yeni)
    {
        if (kapali || !gorunur || yeni.genislik <= 0)
            return;
        kare = std::move(yeni);
        InvalidateRect(pencere, nullptr, FALSE);
    }

    void surec_coktu(COREWEBVIEW2_PROCESS_FAILED_KIND tur)
    {
        if (kapali)
            return;
        coktu = true;
        kareler_akiyor = false;   // the frames ended with the page's process
        gezinti.reset();
        dize.reset();
        auto arguman = sahiplen(surec_argumani_olustur(tur));
        olay_yay<ICoreWebView2ProcessFailedEventHandler>(OLAY_PROCESS_FAILED, static_cast<ICoreWebView2*>(this),
                                                         arguman.Get());
    }

private:
    LONG sayac = 1;
    HWND ebeveyn;
    HWND pencere = nullptr;
    RECT alan = {};
    BOOL gorunur = TRUE;
    bool kareler_akiyor = false;
    double yakinlik = 1.0;
    bool kapali = false;
    bool coktu = false;            // the page's process died; only a load brings it back
    std::shared_ptr<Baglanti> baglanti;
    const std::string hedef, oturum;
    ComPtr<ICoreWebView2Settings> ayarlar;
    AboneListesi aboneler[OLAY_SAYISI];

    std::wstring adres = L"about:blank";
    std::wstring baslik = L"about:blank";
    std::wstring durum_metni;
    Kare kare;

    std::unique_ptr<Gezinti> gezinti;
    std::shared_ptr<DizeYuklemesi> dize;
    std::shared_ptr<DizeYuklemesi> bekleyen_dize;   // asked for, not yet started
    bool dize_bos_sayfa_yukleniyor = false;
    bool kendi_gezintimiz = false;        // the next start is the host's, not the user's
    Json gecmis = Json::object();         // the last Page.getNavigationHistory
    int64_t ilk_kayit = -1;
    std::map<int64_t, std::string> dize_kayitlari;   // history entry id -> its text document
    bool gecmis_okunuyor = false;
    bool gecmis_eskidi = false;           // the last read failed: read again at the stop
    bool tamamlanma_bekliyor = false;

    // ---- Commands.

    using SayfaYaniti = std::function<void(Sayfa&, const Json&, const Json*)>;

    // Sends a command to this view's target. Its answer comes only while the view is
    // open; to a target whose process died nothing is sent but a load (which brings
    // it back), and the answer is a failure at once, since the engine would not
    // answer until a load.
    void komut(const char* yontem, Json parametreler = Json::object(), SayfaYaniti yanit = nullptr)
    {
        ComPtr<Sayfa> koru(this);
        bool yukleme = !strcmp(yontem, "Page.reload") || !strcmp(yontem, "Page.navigate");
        if (coktu && !yukleme) {
            if (yanit)
                Baglanti::ui_da_calistir([koru, yanit] {
                    Json hata = {{"code", -1}, {"message", "the page's process has exited"}};
                    if (!koru->kapali)
                        yanit(*koru.Get(), Json::object(), &hata);
                });
            return;
        }
        Baglanti::Yanit sarili;
        if (yanit)
            sarili = [koru, yanit, yontem](const Json& sonuc, const Json* hata) {
                olayi_gunluge_yaz(koru->oturum, std::string("<- ") + yontem, hata ? *hata : sonuc);
                if (!koru->kapali)
                    yanit(*koru.Get(), sonuc, hata);
            };
        olayi_gunluge_yaz(oturum, std::string("-> ") + yontem, parametreler);
        baglanti->gonder(yontem, std::move(parametreler), oturum, std::move(sarili));
    }

    static HRESULT metin_ver(LPWSTR* deger, const std::wstring& metin)
    {
        if (!deger)
            return E_POINTER;
        *deger = gorev_kopyasi(metin);
        return *deger ? S_OK : E_OUTOFMEMORY;
    }

    HRESULT abone_ekle(Olay olay, IUnknown* isleyici, EventRegistrationToken* jeton)
    {
        return aboneler[olay].ekle(isleyici, jeton);
    }

    HRESULT abone_sil(Olay olay, EventRegistrationToken jeton)
    {
        return aboneler[olay].sil(jeton);
    }

    // Calls every handler of one event, for as long as the view stays open.
    template <class Isleyici, class Gonderen, class Arguman>
    void olay_yay(Olay olay, Gonderen* gonderen, Arguman* arguman)
    {
        if (!arguman)
            return;
        ComPtr<Sayfa> koru(this);
        aboneler[olay].template yay<Isleyici>(gonderen, arguman, [this] { return !kapali; });
    }

    template <class Isleyici>
    void bos_olay_yay(Olay olay)
    {
        auto arguman = sahiplen(bos_arguman_olustur());
        olay_yay<Isleyici>(olay, static_cast<ICoreWebView2*>(this), arguman.Get());
    }

    void kapat()
    {
        kapali = true;
        gezinti.reset();
        dize.reset();
        g_oturumlar.erase(oturum);
        if (baglanti->acik_mi())
            baglanti->gonder("Target.closeTarget", {{"targetId", hedef}});
        AboneListesi birakilacaklar[OLAY_SAYISI];
        for (int i = 0; i < OLAY_SAYISI; ++i)
            birakilacaklar[i] = aboneler[i].bosalt();
        if (pencere) {
            DestroyWindow(pencere);
            pencere = nullptr;
        }
        ayarlar.Reset();
    }

    // ---- Size, zoom and frames.

    void alani_koy(const RECT& yeni)
    {
        bool boyut_degisti = yeni.right - yeni.left != alan.right - alan.left ||
                             yeni.bottom - yeni.top != alan.bottom - alan.top;
        alan = yeni;
        if (pencere)
            MoveWindow(pencere, alan.left, alan.top, std::max<LONG>(0, alan.right - alan.left),
                       std::max<LONG>(0, alan.bottom - alan.top), TRUE);
        if (boyut_degisti) {
            olcuyu_gonder();
            if (kareler_akiyor) {
                kareler_akiyor = false;   // again, with the new largest size
                kareleri_ayarla();
            }
        }
    }

    void yakinligi_koy(double yeni)
    {
        yeni = std::min(EN_COK_YAKINLIK, std::max(EN_AZ_YAKINLIK, yeni));
        if (yeni == yakinlik)
            return;
        yakinlik = yeni;
        olcuyu_gonder();
    }

    // The page is laid out for the view's size in CSS pixels at the zoom factor, as
    // a browser's zoom does: fewer, larger CSS pixels.
    void olcuyu_gonder()
    {
        LONG genislik = alan.right - alan.left, yukseklik = alan.bottom - alan.top;
        if (genislik <= 0 || yukseklik <= 0)
            return;
        komut("Emulation.setDeviceMetricsOverride",
              {{"width", std::max(1L, std::lround(genislik / yakinlik))},
               {"height", std::max(1L, std::lround(yukseklik / yakinlik))},
               {"deviceScaleFactor", yakinlik},
               {"mobile", false}});
    }

    // Frames flow while the view is visible and has a size; a hidden view costs none.
    void kareleri_ayarla()
    {
        LONG genislik = alan.right - alan.left, yukseklik = alan.bottom - alan.top;
        bool akmali = pencere && gorunur && genislik > 0 && yukseklik > 0 && !coktu;
        if (akmali == kareler_akiyor)
            return;
        kareler_akiyor = akmali;
        if (akmali)
            komut("Page.startScreencast", {{"format", "jpeg"}, {"quality", 80},
                                           {"maxWidth", genislik}, {"maxHeight", yukseklik}});
        else
            komut("Page.stopScreencast");
    }

    // ---- History.

    // The history entry `adim` steps from the current one, or null; the target's
    // empty first entry does not count.
    const Json* gecmis_kaydi(int adim) const
    {
        static const Json BOS = Json::array();
        const Json& kayitlar = gecmis.contains("entries") ? gecmis["entries"] : BOS;
        int64_t sira = gecmis.value("currentIndex", 0) + adim;
        if (sira < 0 || sira >= static_cast<int64_t>(kayitlar.size()))
            return nullptr;
        if (kayitlar[sira].value("id", -2) == ilk_kayit)
            return nullptr;
        return &kayitlar[sira];
    }

    void gecmise_git(int adim)
    {
        const Json* kayit = gecmis_kaydi(adim);
        if (!kayit)
            return;
        dize.reset();
        bekleyen_dizeyi_birak();
        dize_bos_sayfa_yukleniyor = false;
        kendi_gezintimiz = true;
        coktu_ise_canlandir();
        komut("Page.navigateToHistoryEntry", {{"entryId", kayit->value("id", 0)}});
    }

    void yenile()
    {
        if (dize)
            return;
        kendi_gezintimiz = true;
        coktu_ise_canlandir();
        komut("Page.reload");
    }

    void coktu_ise_canlandir()
    {
        if (!coktu)
            return;
        coktu = false;
        kareleri_ayarla();
    }

    // Reads the history again after a commit; HistoryChanged follows when it differs,
    // and a completion that arrived meanwhile waits for it, to keep the order.
    void gecmisi_oku()
    {
        gecmis_okunuyor = true;
        komut("Page.getNavigationHistory", Json::object(), [](Sayfa& sayfa, const Json& sonuc, const Json* hata) {
            sayfa.gecmis_okunuyor = false;
            // Right after a commit that changed the page's renderer the engine may
            // answer "Not attached to an active page"; the stop of the load reads again.
            sayfa.gecmis_eskidi = hata != nullptr;
            if (!hata && sonuc != sayfa.gecmis) {
                sayfa.gecmis = sonuc;
                sayfa.bos_olay_yay<ICoreWebView2HistoryChangedEventHandler>(OLAY_HISTORY_CHANGED);
            }
            if (sayfa.kapali)
                return;
            sayfa.dize_kaydini_geri_getir();
            if (sayfa.tamamlanma_bekliyor) {
                sayfa.tamamlanma_bekliyor = false;
                sayfa.tamamla();
            }
        });
    }

    // Going back or forward to an entry that held a text document: the engine keeps
    // only an empty about:blank there, so the text is put back.
    void dize_kaydini_geri_getir()
    {
        if (dize || adres != L"about:blank")
            return;
        const Json* kayit = gecmis_kaydi(0);
        if (!kayit)
            return;
        auto bulunan = dize_kayitlari.find(kayit->value("id", -1));
        if (bulunan != dize_kayitlari.end())
            belge_icerigini_koy(bulunan->second, nullptr);
    }

    // ---- Navigation.

    // A new navigation ends the one under way: one whose load had stopped completes
    // as it went, any other as canceled.
    void eski_gezintiyi_bitir()
    {
        if (!gezinti)
            return;
        std::unique_ptr<Gezinti> eski = std::move(gezinti);
        bool basarili = eski->bitti && !eski->basarisiz;
        tamamlanmayi_yay(basarili ? TRUE : FALSE,
                         basarili ? COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN
                         : eski->bitti ? eski->durum : COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED,
                         eski->kimlik);
    }

    void yeni_gezinti_baslat(UINT64 kimlik)
    {
        eski_gezintiyi_bitir();
        gezinti.reset(new Gezinti());
        gezinti->kimlik = kimlik;
    }

    // Raises NavigationStarting; true when the navigation may go on.
    bool baslamayi_yay(const std::wstring& hedef_adres, BOOL yonlendirme, UINT64 kimlik, BOOL kullanici)
    {
        olayi_gunluge_yaz(oturum, "** NavigationStarting", {{"id", kimlik}, {"uri", utf8_e(hedef_adres)}});
        auto arguman = sahiplen(baslama_argumani_olustur(hedef_adres, kullanici, yonlendirme, kimlik));
        olay_yay<ICoreWebView2NavigationStartingEventHandler>(OLAY_NAVIGATION_STARTING,
                                                              static_cast<ICoreWebView2*>(this), arguman.Get());
        return !arguman || !baslama_iptal_mi(arguman.Get());
    }

    bool gezinti_mi(UINT64 kimlik) const { return !kapali && gezinti && gezinti->kimlik == kimlik; }

    BOOL kullanici_mi()
    {
        BOOL kullanici = kendi_gezintimiz ? FALSE : TRUE;
        kendi_gezintimiz = false;
        return kullanici;
    }

    void tamamlanmayi_yay(BOOL basarili, COREWEBVIEW2_WEB_ERROR_STATUS durum, UINT64 kimlik)
    {
        olayi_gunluge_yaz(oturum, "** NavigationCompleted",
                          {{"id", kimlik}, {"success", basarili != FALSE}, {"status", static_cast<int>(durum)}});
        auto arguman = sahiplen(tamamlanma_argumani_olustur(basarili, durum, kimlik));
        olay_yay<ICoreWebView2NavigationCompletedEventHandler>(OLAY_NAVIGATION_COMPLETED,
                                                               static_cast<ICoreWebView2*>(this), arguman.Get());
    }

    void iptali_teslim_et(UINT64 kimlik)
    {
        ComPtr<Sayfa> koru(this);
        Baglanti::ui_da_calistir([koru, kimlik] {
            if (!koru->kapali)
                koru->tamamlanmayi_yay(FALSE, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED, kimlik);
        });
    }

    // The load stopped: the title is read first, so that a host that looks at the
    // title when the navigation completes finds the new page's.
    void tamamla()
    {
        if (!gezinti || gezinti->bitti)
            return;
        gezinti->bitti = true;
        UINT64 kimlik = gezinti->kimlik;
        basligi_sor([kimlik](Sayfa& sayfa) {
            if (!sayfa.gezinti_mi(kimlik))
                return;
            std::unique_ptr<Gezinti> biten = std::move(sayfa.gezinti);
            sayfa.tamamlanmayi_yay(biten->basarisiz ? FALSE : TRUE,
                                   biten->basarisiz ? biten->durum : COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN, kimlik);
        });
    }

    bool ana_cerceve(const Json& p, const char* alan_adi = "frameId") const
    {
        return p.value(alan_adi, "") == hedef;
    }

    void istek_durdu(const Json& p)
    {
        std::string istek = p.value("requestId", "");
        if (!ana_cerceve(p)) {
            komut("Fetch.continueRequest", {{"requestId", istek}});
            return;
        }
        std::wstring hedef_adres = hostun_adresi(p["request"].value("url", ""));
        bool yonlendirme = p.contains("redirectedRequestId") && gezinti;
        if (!yonlendirme)
            yeni_gezinti_baslat(++g_sonraki_gezinti);
        // The document's Network.requestWillBeSent came before this pause, while the
        // navigation before was still the current one: its id is taken from here.
        gezinti->ana_istek = p.value("networkId", gezinti->ana_istek);
        UINT64 kimlik = gezinti->kimlik;
        bool devam = baslamayi_yay(hedef_adres, yonlendirme ? TRUE : FALSE, kimlik, yonlendirme ? FALSE : kullanici_mi());
        if (kapali)
            return;
        if (!devam || !gezinti_mi(kimlik)) {
            // Canceled, or a handler started something else: the old page stays.
            komut("Fetch.failRequest", {{"requestId", istek}, {"errorReason", "Aborted"}});
            if (gezinti_mi(kimlik)) {
                gezinti.reset();
                iptali_teslim_et(kimlik);
            }
            return;
        }
        komut("Fetch.continueRequest", {{"requestId", istek}});
    }

    void cerceve_gezinmeye_basladi(const Json& p)
    {
        if (!ana_cerceve(p) || dize_bos_sayfa_yukleniyor)
            return;
        std::string url = p.value("url", "");
        std::string tur = p.value("navigationType", "");
        // Network addresses and files pause in Fetch, where their start is raised.
        if (adres_mi(url, "http:") || adres_mi(url, "https:") || adres_mi(url, "file:") ||
            adres_mi(url, "chrome-error:") || tur == "sameDocument" || tur == "historySameDocument")
            return;
        yeni_gezinti_baslat(++g_sonraki_gezinti);
        UINT64 kimlik = gezinti->kimlik;
        if (!baslamayi_yay(hostun_adresi(url), FALSE, kimlik, kullanici_mi()) && gezinti_mi(kimlik)) {
            gezinti.reset();
            komut("Page.stopLoading");
            iptali_teslim_et(kimlik);
        }
    }

    void istek_gidiyor(const Json& p)
    {
        if (gezinti && ana_cerceve(p) && p.value("type", "") == "Document")
            gezinti->ana_istek = p.value("requestId", "");
    }

    void yukleme_basarisiz(const Json& p)
    {
        if (!gezinti || p.value("type", "") != "Document" || p.value("requestId", "") != gezinti->ana_istek)
            return;
        gezinti->basarisiz = true;
        gezinti->durum = hata_durumu(p.value("errorText", ""));
    }

    void cerceve_gezindi(const Json& p)
    {
        const Json& cerceve = p.value("frame", Json::object());
        if (cerceve.contains("parentId") || cerceve.value("id", "") != hedef || dize_bos_sayfa_yukleniyor)
            return;
        coktu_ise_canlandir();
        std::string url = cerceve.value("url", "");
        bool hata_sayfasi = adres_mi(url, "chrome-error:");
        if (hata_sayfasi)
            url = cerceve.value("unreachableUrl", url);
        if (!gezinti) {
            // A start the engine did not show us (a restored history entry, say).
            yeni_gezinti_baslat(++g_sonraki_gezinti);
            UINT64 kimlik = gezinti->kimlik;
            baslamayi_yay(hostun_adresi(url), FALSE, kimlik, kullanici_mi());
            if (!gezinti_mi(kimlik))
                return;
        }
        if (hata_sayfasi && !gezinti->basarisiz) {
            gezinti->basarisiz = true;
            gezinti->durum = COREWEBVIEW2_WEB_ERROR_STATUS_UNEXPECTED_ERROR;
        }
        UINT64 kimlik = gezinti->kimlik;
        std::wstring yeni_adres = hostun_adresi(url);
        if (yeni_adres != adres) {
            adres = yeni_adres;
            auto arguman = sahiplen(kaynak_argumani_olustur(TRUE));
            olay_yay<ICoreWebView2SourceChangedEventHandler>(OLAY_SOURCE_CHANGED, static_cast<ICoreWebView2*>(this),
                                                             arguman.Get());
            if (!gezinti_mi(kimlik))
                return;
        }
        bos_olay_yay<ICoreWebView2ContentLoadingEventHandler>(OLAY_CONTENT_LOADING);
        if (!kapali)
            gecmisi_oku();
    }

    void belge_icinde_gezindi(const Json& p)
    {
        if (!ana_cerceve(p))
            return;
        std::wstring yeni_adres = hostun_adresi(p.value("url", ""));
        if (yeni_adres != adres) {
            adres = yeni_adres;
            auto arguman = sahiplen(kaynak_argumani_olustur(FALSE));
            olay_yay<ICoreWebView2SourceChangedEventHandler>(OLAY_SOURCE_CHANGED, static_cast<ICoreWebView2*>(this),
                                                             arguman.Get());
        }
        if (!kapali)
            gecmisi_oku();
    }

    void cerceve_durdu(const Json& p)
    {
        if (!ana_cerceve(p))
            return;
        if (dize_bos_sayfa_yukleniyor) {
            dize_bos_sayfa_yukleniyor = false;
            if (dize)
                belge_icerigini_koy(dize->html, dize);
            return;
        }
        if (!gezinti)
            return;
        if (gecmis_eskidi && !gecmis_okunuyor)
            gecmisi_oku();
        if (gecmis_okunuyor)
            tamamlanma_bekliyor = true;
        else
            tamamla();
    }

    // ---- Text documents.

    void bekleyen_dizeyi_birak()
    {
        if (!bekleyen_dize)
            return;
        iptali_teslim_et(bekleyen_dize->kimlik);
        bekleyen_dize.reset();
    }

    void dize_baslat(std::shared_ptr<DizeYuklemesi> yukleme)
    {
        if (kapali || bekleyen_dize != yukleme)
            return;
        bekleyen_dize.reset();
        eski_gezintiyi_bitir();
        if (dize)
            tamamlanmayi_yay(FALSE, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED, dize->kimlik);
        dize = yukleme;
        if (kapali || dize != yukleme)
            return;
        bool devam = baslamayi_yay(L"about:blank", FALSE, yukleme->kimlik, FALSE);
        if (kapali || dize != yukleme)
            return;
        if (!devam) {
            dize.reset();
            tamamlanmayi_yay(FALSE, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED, yukleme->kimlik);
            return;
        }
        coktu_ise_canlandir();
        // Always a navigation of its own, even in a view that shows nothing yet: the
        // engine replaces a view's first, empty entry on the next navigation, and the
        // text would then be lost to Back.
        dize_bos_sayfa_yukleniyor = true;
        komut("Page.navigate", {{"url", "about:blank"}});
    }

    // Puts a text document into the loaded about:blank. With `yukleme` (a load of
    // our own) the events of a new document follow; without, it is a history entry
    // coming back and only its title is read.
    void belge_icerigini_koy(const std::string& html, std::shared_ptr<DizeYuklemesi> yukleme)
    {
        komut("Page.setDocumentContent", {{"frameId", hedef}, {"html", html}},
              [yukleme](Sayfa& sayfa, const Json&, const Json* hata) {
                  if (!yukleme) {
                      sayfa.basligi_sor();
                      return;
                  }
                  if (sayfa.dize != yukleme)
                      return;
                  sayfa.dize_yuklendi(*yukleme, hata == nullptr);
              });
    }

    void dize_yuklendi(const DizeYuklemesi& yukleme, bool basarili)
    {
        UINT64 kimlik = yukleme.kimlik;
        std::string html = yukleme.html;
        adres = L"about:blank";
        auto arguman = sahiplen(kaynak_argumani_olustur(TRUE));
        olay_yay<ICoreWebView2SourceChangedEventHandler>(OLAY_SOURCE_CHANGED, static_cast<ICoreWebView2*>(this),
                                                         arguman.Get());
        if (kapali || !dize || dize->kimlik != kimlik)
            return;
        bos_olay_yay<ICoreWebView2ContentLoadingEventHandler>(OLAY_CONTENT_LOADING);
        if (kapali || !dize || dize->kimlik != kimlik)
            return;
        // The history is read first, so that the entry can keep its text and the
        // order stays that of any other document.
        komut("Page.getNavigationHistory", Json::object(),
              [kimlik, html, basarili](Sayfa& sayfa, const Json& sonuc, const Json* hata) {
                  if (!sayfa.dize || sayfa.dize->kimlik != kimlik)
                      return;
                  if (!hata) {
                      sayfa.gecmis = sonuc;
                      if (const Json* kayit = sayfa.gecmis_kaydi(0))
                          sayfa.dize_kayitlari[kayit->value("id", -1)] = html;
                      sayfa.bos_olay_yay<ICoreWebView2HistoryChangedEventHandler>(OLAY_HISTORY_CHANGED);
                      if (sayfa.kapali || !sayfa.dize || sayfa.dize->kimlik != kimlik)
                          return;
                  }
                  sayfa.basligi_sor([kimlik, basarili](Sayfa& sayfa) {
                      if (!sayfa.dize || sayfa.dize->kimlik != kimlik)
                          return;
                      sayfa.dize.reset();
                      sayfa.tamamlanmayi_yay(basarili ? TRUE : FALSE,
                                             basarili ? COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN
                                                      : COREWEBVIEW2_WEB_ERROR_STATUS_UNEXPECTED_ERROR,
                                             kimlik);
                  });
              });
    }

    // ---- Title and window.close().

    void basligi_koy(const std::wstring& yeni)
    {
        if (yeni == baslik)
            return;
        baslik = yeni;
        bos_olay_yay<ICoreWebView2DocumentTitleChangedEventHandler>(OLAY_DOCUMENT_TITLE_CHANGED);
    }

    // The document's title, or for a page without one the engine's own default
    // (the target's title, which is then its address).
    // `sonra` runs once the title is known (or could not be read), if the view is
    // still open.
    void basligi_sor(std::function<void(Sayfa&)> sonra = nullptr)
    {
        komut("Runtime.evaluate", {{"expression", "document.title"}, {"returnByValue", true}},
              [sonra](Sayfa& sayfa, const Json& sonuc, const Json* hata) {
                  const Json& deger = sonuc.value("result", Json::object()).value("value", Json());
                  std::string metin = deger.is_string() ? deger.get<std::string>() : std::string();
                  // A page without a title shows the engine's default; a page that could
                  // not be asked (its document was just replaced) keeps what it had.
                  if (!hata && metin.empty()) {
                      sayfa.hedef_basligini_sor(sonra);
                      return;
                  }
                  if (!hata)
                      sayfa.basligi_koy(utf8_den(metin));
                  if (sonra && !sayfa.kapali)
                      sonra(sayfa);
              });
    }

    void hedef_basligini_sor(std::function<void(Sayfa&)> sonra = nullptr)
    {
        ComPtr<Sayfa> koru(this);
        baglanti->gonder("Target.getTargetInfo", {{"targetId", hedef}}, std::string(),
                         [koru, sonra](const Json& sonuc, const Json* hata) {
                             if (koru->kapali)
                                 return;
                             if (!hata) {
                                 std::string metin =
                                     sonuc.value("targetInfo", Json::object()).value("title", "");
                                 koru->basligi_koy(utf8_den(metin.empty() ? utf8_e(koru->adres) : metin));
                             }
                             if (sonra && !koru->kapali)
                                 sonra(*koru.Get());
                         });
    }

    void bag_cagrildi(const Json& p)
    {
        std::string ad = p.value("name", "");
        if (ad == BASLIK_BAGI) {
            std::string metin = p.value("payload", "");
            if (metin.empty())
                hedef_basligini_sor();
            else
                basligi_koy(utf8_den(metin));
        } else if (ad == KAPAT_BAGI) {
            bos_olay_yay<ICoreWebView2WindowCloseRequestedEventHandler>(OLAY_WINDOW_CLOSE_REQUESTED);
        } else if (ad == YENI_PENCERE_BAGI) {
            pencere_acilmak_istendi({{"url", p.value("payload", "")}, {"userGesture", true}});
        } else if (ad == DURUM_BAGI) {
            std::wstring yeni = utf8_den(p.value("payload", ""));
            if (yeni != durum_metni) {
                durum_metni = yeni;
                bos_olay_yay<ICoreWebView2StatusBarTextChangedEventHandler>(OLAY_STATUS_BAR_TEXT_CHANGED);
            }
        }
    }

    // ---- New windows.

    // The engine made a window for the page (held before it loads, by the auto-attach
    // set up in kur): it is never shown; the host decides from Page.windowOpen.
    void hedef_baglandi(const Json& p)
    {
        const Json& bilgi = p.value("targetInfo", Json::object());
        if (bilgi.value("type", "") != "page")
            return;
        baglanti->gonder("Target.closeTarget", {{"targetId", bilgi.value("targetId", "")}});
    }

    // The page asked for a new window: the host may give a view for it (which then
    // loads the address), handle it itself, or leave it, and the page then follows
    // the link itself, having no window of its own to open.
    void pencere_acilmak_istendi(const Json& p)
    {
        std::wstring hedef_adres = utf8_den(p.value("url", ""));
        if (hedef_adres.empty())
            return;
        BOOL kullanici = p.value("userGesture", false) ? TRUE : FALSE;
        ComPtr<Sayfa> koru(this);
        auto arguman = sahiplen(yeni_pencere_argumani_olustur(
            hedef_adres, kullanici, [koru, hedef_adres](ICoreWebView2* yeni, BOOL islendi) {
                if (yeni) {
                    yeni->Navigate(hedef_adres.c_str());
                } else if (!islendi && !koru->kapali) {
                    koru->kendi_gezintimiz = false;
                    koru->komut("Page.navigate", {{"url", utf8_e(hedef_adres)}});
                }
            }));
        if (!arguman)
            return;
        olay_yay<ICoreWebView2NewWindowRequestedEventHandler>(OLAY_NEW_WINDOW_REQUESTED,
                                                              static_cast<ICoreWebView2*>(this), arguman.Get());
        yeni_pencere_isleyicileri_bitti(arguman.Get());
    }
};

// ---------------------------------------------------------------------------
// Making views, and the connection's events.

void denetleyici_olustur(HWND ebeveyn, std::function<void(HRESULT, ICoreWebView2Controller*)> bitti)
{
    std::shared_ptr<Baglanti> baglanti = motor_baglantisi();
    if (!baglanti) {
        Baglanti::ui_da_calistir([bitti] { bitti(E_FAIL, nullptr); });
        return;
    }
    baglanti->gonder("Target.createTarget", {{"url", "about:blank"}}, std::string(),
                     [baglanti, ebeveyn, bitti](const Json& sonuc, const Json* hata) {
        std::string hedef = sonuc.value("targetId", "");
        if (hata || hedef.empty()) {
            bitti(E_FAIL, nullptr);
            return;
        }
        baglanti->gonder("Target.attachToTarget", {{"targetId", hedef}, {"flatten", true}}, std::string(),
                         [baglanti, ebeveyn, bitti, hedef](const Json& sonuc, const Json* hata) {
            std::string oturum = sonuc.value("sessionId", "");
            if (hata || oturum.empty() || !IsWindow(ebeveyn)) {
                baglanti->gonder("Target.closeTarget", {{"targetId", hedef}});
                bitti(hata ? E_FAIL : E_INVALIDARG, nullptr);
                return;
            }
            auto sayfa = sahiplen(new (std::nothrow) Sayfa(ebeveyn, baglanti, hedef, oturum));
            if (!sayfa) {
                baglanti->gonder("Target.closeTarget", {{"targetId", hedef}});
                bitti(E_OUTOFMEMORY, nullptr);
                return;
            }
            sayfa->kur([sayfa, bitti](HRESULT hr) {
                if (FAILED(hr)) {
                    sayfa->Close();
                    bitti(hr, nullptr);
                    return;
                }
                bitti(S_OK, static_cast<ICoreWebView2Controller*>(sayfa.Get()));
            });
        });
    });
}

static Sayfa* oturumun_sayfasi(const std::string& oturum)
{
    auto bulunan = g_oturumlar.find(oturum);
    return bulunan == g_oturumlar.end() ? nullptr : bulunan->second;
}

void sayfalari_bagla(Baglanti& baglanti)
{
    baglanti.olay_dinle([](const std::string& oturum, const std::string& yontem, const Json& p) {
        olayi_gunluge_yaz(oturum, yontem, p);
        if (Sayfa* sayfa = oturumun_sayfasi(oturum))
            sayfa->olay(yontem, p);
    });
    // Frames are decoded on the reading thread, which then acknowledges them: the
    // engine sends the next one while the UI thread paints this one, and never more
    // than can be decoded. The UI thread takes only the newest frame of a view; one
    // it has not taken yet is replaced.
    Baglanti* kaynak = &baglanti;
    baglanti.on_isleyici("Page.screencastFrame", [kaynak](const std::string& oturum, Json& ileti) {
        const Json& p = ileti["params"];
        kaynak->gonder("Page.screencastFrameAck", {{"sessionId", p.value("sessionId", 0)}}, oturum);
        auto kare = std::make_shared<Kare>();
        if (!kareyi_coz(p.value("data", ""), kare.get()))
            return true;
        bool bekleyen_vardi;
        {
            std::lock_guard<std::mutex> kilit(g_kare_kilidi);
            auto& yer = g_bekleyen_kareler[oturum];
            bekleyen_vardi = yer != nullptr;
            yer = std::move(kare);
        }
        if (!bekleyen_vardi)
            Baglanti::ui_da_calistir([oturum] {
                std::shared_ptr<Kare> en_yeni;
                {
                    std::lock_guard<std::mutex> kilit(g_kare_kilidi);
                    auto bulunan = g_bekleyen_kareler.find(oturum);
                    if (bulunan == g_bekleyen_kareler.end())
                        return;
                    en_yeni = std::move(bulunan->second);
                    g_bekleyen_kareler.erase(bulunan);
                }
                if (Sayfa* sayfa = oturumun_sayfasi(oturum)) {
                    ComPtr<Sayfa> koru(sayfa);
                    koru->kare_geldi(std::move(*en_yeni));
                }
            });
        return true;
    });
    baglanti.kapaninca([] {
        std::vector<ComPtr<Sayfa>> sayfalar;
        for (auto& cift : g_oturumlar)
            sayfalar.emplace_back(cift.second);
        for (auto& sayfa : sayfalar)
            sayfa->surec_coktu(COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED);
    });
}

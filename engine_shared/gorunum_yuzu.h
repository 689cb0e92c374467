// The face both engine libraries show the host for one controller and its view:
// IUnknown over the two interfaces, the subscriptions of the events an engine
// raises, and every method neither engine supports (they answer E_NOTIMPL). An
// engine's view derives from GorunumYuzu<ItsView> and writes only what it does.
//
// What the view gives the face:
//   HRESULT giris(const char* yontem, const std::string& ayrinti)
//       the check every call of the host passes first (an engine may log the call
//       there); a failure code is answered as it is;
//   bool kapali_mi() const      true once the view has been closed;
//   void kapat()                closes the view (Close does the same), called when
//                               the host lets go of a view it never closed;
//   void sessizlik_uygula(bool) puts the view's mute switch into effect in its page
//                               (the face keeps the switch and raises its event).
//
//   void rasterlestirme_uygula()  the scale or the bounds mode changed: the view
//                               renders at rasterlestirme_olcegi() and lays its
//                               bounds out again through fiziksel_alan().
//
// The page's sound: the engine tells the face with ses_caliyor_koy whether the
// document plays audio; the face raises the change events only on a change.
//
// The screen's scale (ICoreWebView2Controller3): the page is rendered at the
// rasterization scale, one of the view's pixels per screen pixel at any DPI. A view
// starts at its window's DPI / 96 (olcegi_baslat) and, while it detects monitor
// changes, follows its window's DPI when the engine is told of a new size or place
// (monitor_olcegini_denetle); a host that sets the scale itself may switch that off.
// A scale that is not a finite number above 0, or above EN_COK_RASTERLESTIRME (no
// screen comes near it, and a page rendered at it would need gigabytes), is refused
// with E_INVALIDARG and nothing changes. In the raw-pixels bounds mode the bounds
// are the screen's pixels; in the scale mode they are multiplied by the scale. The
// default background colour is the engines' white, which they cannot change:
// putting one answers E_NOTIMPL.
#pragma once

#include "abone_listesi.h"
#include "com_nesnesi.h"
#include "ekran_dpisi.h"
#include "wv2_arayuz.h"

#include <cmath>
#include <new>
#include <string>

// The events a view raises; each has its own list of subscriptions.
enum GorunumOlayi {
    OLAY_NAVIGATION_STARTING,
    OLAY_CONTENT_LOADING,
    OLAY_SOURCE_CHANGED,
    OLAY_HISTORY_CHANGED,
    OLAY_NAVIGATION_COMPLETED,
    OLAY_DOCUMENT_TITLE_CHANGED,
    OLAY_NEW_WINDOW_REQUESTED,
    OLAY_PROCESS_FAILED,
    OLAY_WINDOW_CLOSE_REQUESTED,
    OLAY_ZOOM_FACTOR_CHANGED,
    OLAY_ACCELERATOR_KEY_PRESSED,
    OLAY_STATUS_BAR_TEXT_CHANGED,
    OLAY_DOWNLOAD_STARTING,
    OLAY_CONTAINS_FULL_SCREEN_ELEMENT_CHANGED,
    OLAY_PERMISSION_REQUESTED,
    OLAY_IS_MUTED_CHANGED,
    OLAY_IS_DOCUMENT_PLAYING_AUDIO_CHANGED,
    OLAY_SERVER_CERTIFICATE_ERROR_DETECTED,
    OLAY_RASTERIZATION_SCALE_CHANGED,
    OLAY_SAYISI
};

#define GORUNUM_GIRIS(yontem, ayrinti)                                                       \
    {                                                                                        \
        HRESULT giris_sonucu = static_cast<Gorunum*>(this)->giris(yontem, ayrinti);          \
        if (FAILED(giris_sonucu))                                                            \
            return giris_sonucu;                                                             \
    }

#define GORUNUM_OLAYI(ad, isleyici_turu, olay)                                               \
    HRESULT STDMETHODCALLTYPE add_##ad(isleyici_turu* isleyici, EventRegistrationToken* jeton) override \
    {                                                                                        \
        GORUNUM_GIRIS("add_" #ad, std::string());                                            \
        return aboneler[olay].ekle(isleyici, jeton);                                         \
    }                                                                                        \
    HRESULT STDMETHODCALLTYPE remove_##ad(EventRegistrationToken jeton) override             \
    {                                                                                        \
        GORUNUM_GIRIS("remove_" #ad, std::to_string(jeton.value));                           \
        return aboneler[olay].sil(jeton);                                                    \
    }

#define GORUNUM_DESTEKSIZ_OLAY(ad, isleyici_turu)                                            \
    HRESULT STDMETHODCALLTYPE add_##ad(isleyici_turu*, EventRegistrationToken* jeton) override \
    {                                                                                        \
        GORUNUM_GIRIS("add_" #ad, std::string());                                            \
        if (jeton)                                                                           \
            jeton->value = 0;                                                                \
        return E_NOTIMPL;                                                                    \
    }                                                                                        \
    HRESULT STDMETHODCALLTYPE remove_##ad(EventRegistrationToken jeton) override             \
    {                                                                                        \
        GORUNUM_GIRIS("remove_" #ad, std::to_string(jeton.value));                           \
        return E_NOTIMPL;                                                                    \
    }

#define GORUNUM_DESTEKSIZ(ad, ...)                                                           \
    HRESULT STDMETHODCALLTYPE ad(__VA_ARGS__) override                                       \
    {                                                                                        \
        GORUNUM_GIRIS(#ad, std::string());                                                   \
        return E_NOTIMPL;                                                                    \
    }

inline constexpr double EN_COK_RASTERLESTIRME = 10.0;

template <class Gorunum>
class GorunumYuzu : public ICoreWebView2Controller3, public ICoreWebView2_14 {
public:
    // ---- IUnknown, shared by both interfaces.

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID kimlik, void** nesne) override
    {
        if (!nesne)
            return E_POINTER;
        if (IsEqualIID(kimlik, IID_IUnknown) || IsEqualIID(kimlik, IID_ICoreWebView2Controller) ||
            IsEqualIID(kimlik, IID_ICoreWebView2Controller2) || IsEqualIID(kimlik, IID_ICoreWebView2Controller3))
            *nesne = static_cast<ICoreWebView2Controller3*>(this);
        else if (IsEqualIID(kimlik, IID_ICoreWebView2))
            *nesne = static_cast<ICoreWebView2*>(this);
        else if (IsEqualIID(kimlik, IID_ICoreWebView2_14) || IsEqualIID(kimlik, IID_ICoreWebView2_13))
            *nesne = static_cast<ICoreWebView2_14*>(this);
        // One chain: each of these is the start of _14's table.
        else if (IsEqualIID(kimlik, IID_ICoreWebView2_12) || IsEqualIID(kimlik, IID_ICoreWebView2_8) ||
                 IsEqualIID(kimlik, IID_ICoreWebView2_7) || IsEqualIID(kimlik, IID_ICoreWebView2_6) ||
                 IsEqualIID(kimlik, IID_ICoreWebView2_5))
            *nesne = static_cast<ICoreWebView2_12*>(this);
        else if (IsEqualIID(kimlik, IID_ICoreWebView2_4))
            *nesne = static_cast<ICoreWebView2_4*>(this);
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
            // The host let go of a view it never closed: torn down as Close would.
            sayac = 1;   // keeps the object alive through the teardown's own references
            Gorunum* gorunum = static_cast<Gorunum*>(this);
            if (!gorunum->kapali_mi())
                gorunum->kapat();
            delete gorunum;
        }
        return static_cast<ULONG>(kalan);
    }

    // ---- The controller's events.

    GORUNUM_OLAYI(ZoomFactorChanged, ICoreWebView2ZoomFactorChangedEventHandler, OLAY_ZOOM_FACTOR_CHANGED)
    GORUNUM_DESTEKSIZ_OLAY(MoveFocusRequested, ICoreWebView2MoveFocusRequestedEventHandler)
    GORUNUM_DESTEKSIZ_OLAY(GotFocus, ICoreWebView2FocusChangedEventHandler)
    GORUNUM_DESTEKSIZ_OLAY(LostFocus, ICoreWebView2FocusChangedEventHandler)
    GORUNUM_OLAYI(AcceleratorKeyPressed, ICoreWebView2AcceleratorKeyPressedEventHandler,
                  OLAY_ACCELERATOR_KEY_PRESSED)

    // ---- ICoreWebView2Controller2 and 3: the background and the screen's scale.

    HRESULT STDMETHODCALLTYPE get_DefaultBackgroundColor(COREWEBVIEW2_COLOR* deger) override
    {
        GORUNUM_GIRIS("get_DefaultBackgroundColor", std::string());
        if (!deger)
            return E_POINTER;
        *deger = COREWEBVIEW2_COLOR{255, 255, 255, 255};
        return S_OK;
    }
    GORUNUM_DESTEKSIZ(put_DefaultBackgroundColor, COREWEBVIEW2_COLOR)
    HRESULT STDMETHODCALLTYPE get_RasterizationScale(double* deger) override
    {
        GORUNUM_GIRIS("get_RasterizationScale", std::string());
        if (!deger)
            return E_POINTER;
        *deger = olcek_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_RasterizationScale(double deger) override
    {
        GORUNUM_GIRIS("put_RasterizationScale", std::to_string(deger));
        if (!std::isfinite(deger) || deger <= 0 || deger > EN_COK_RASTERLESTIRME)
            return E_INVALIDARG;
        olcegi_degistir(deger);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_ShouldDetectMonitorScaleChanges(BOOL* deger) override
    {
        GORUNUM_GIRIS("get_ShouldDetectMonitorScaleChanges", std::string());
        if (!deger)
            return E_POINTER;
        *deger = monitoru_izle_ ? TRUE : FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_ShouldDetectMonitorScaleChanges(BOOL deger) override
    {
        GORUNUM_GIRIS("put_ShouldDetectMonitorScaleChanges", deger ? "1" : "0");
        monitoru_izle_ = deger != FALSE;
        return S_OK;
    }
    GORUNUM_OLAYI(RasterizationScaleChanged, ICoreWebView2RasterizationScaleChangedEventHandler,
                  OLAY_RASTERIZATION_SCALE_CHANGED)
    HRESULT STDMETHODCALLTYPE get_BoundsMode(COREWEBVIEW2_BOUNDS_MODE* deger) override
    {
        GORUNUM_GIRIS("get_BoundsMode", std::string());
        if (!deger)
            return E_POINTER;
        *deger = sinir_kipi_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_BoundsMode(COREWEBVIEW2_BOUNDS_MODE deger) override
    {
        GORUNUM_GIRIS("put_BoundsMode", std::to_string(static_cast<int>(deger)));
        if (deger != COREWEBVIEW2_BOUNDS_MODE_USE_RAW_PIXELS && deger != COREWEBVIEW2_BOUNDS_MODE_USE_RASTERIZATION_SCALE)
            return E_INVALIDARG;
        if (deger == sinir_kipi_)
            return S_OK;
        sinir_kipi_ = deger;
        static_cast<Gorunum*>(this)->rasterlestirme_uygula();
        return S_OK;
    }

    // ---- ICoreWebView2: its events, and what neither engine does.

    GORUNUM_OLAYI(NavigationStarting, ICoreWebView2NavigationStartingEventHandler, OLAY_NAVIGATION_STARTING)
    GORUNUM_OLAYI(ContentLoading, ICoreWebView2ContentLoadingEventHandler, OLAY_CONTENT_LOADING)
    GORUNUM_OLAYI(SourceChanged, ICoreWebView2SourceChangedEventHandler, OLAY_SOURCE_CHANGED)
    GORUNUM_OLAYI(HistoryChanged, ICoreWebView2HistoryChangedEventHandler, OLAY_HISTORY_CHANGED)
    GORUNUM_OLAYI(NavigationCompleted, ICoreWebView2NavigationCompletedEventHandler, OLAY_NAVIGATION_COMPLETED)
    GORUNUM_DESTEKSIZ_OLAY(FrameNavigationStarting, ICoreWebView2NavigationStartingEventHandler)
    GORUNUM_DESTEKSIZ_OLAY(FrameNavigationCompleted, ICoreWebView2NavigationCompletedEventHandler)
    GORUNUM_DESTEKSIZ_OLAY(ScriptDialogOpening, ICoreWebView2ScriptDialogOpeningEventHandler)
    GORUNUM_OLAYI(PermissionRequested, ICoreWebView2PermissionRequestedEventHandler, OLAY_PERMISSION_REQUESTED)
    GORUNUM_OLAYI(ProcessFailed, ICoreWebView2ProcessFailedEventHandler, OLAY_PROCESS_FAILED)
    GORUNUM_DESTEKSIZ(AddScriptToExecuteOnDocumentCreated, LPCWSTR,
                      ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler*)
    GORUNUM_DESTEKSIZ(RemoveScriptToExecuteOnDocumentCreated, LPCWSTR)
    GORUNUM_DESTEKSIZ(CapturePreview, COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT, IStream*,
                      ICoreWebView2CapturePreviewCompletedHandler*)
    GORUNUM_DESTEKSIZ(PostWebMessageAsJson, LPCWSTR)
    GORUNUM_DESTEKSIZ(PostWebMessageAsString, LPCWSTR)
    GORUNUM_DESTEKSIZ_OLAY(WebMessageReceived, ICoreWebView2WebMessageReceivedEventHandler)
    GORUNUM_DESTEKSIZ(get_BrowserProcessId, UINT32*)
    GORUNUM_DESTEKSIZ(GetDevToolsProtocolEventReceiver, LPCWSTR, ICoreWebView2DevToolsProtocolEventReceiver**)
    GORUNUM_OLAYI(NewWindowRequested, ICoreWebView2NewWindowRequestedEventHandler, OLAY_NEW_WINDOW_REQUESTED)
    GORUNUM_OLAYI(DocumentTitleChanged, ICoreWebView2DocumentTitleChangedEventHandler,
                  OLAY_DOCUMENT_TITLE_CHANGED)
    GORUNUM_DESTEKSIZ(AddHostObjectToScript, LPCWSTR, VARIANT*)
    GORUNUM_DESTEKSIZ(RemoveHostObjectFromScript, LPCWSTR)
    GORUNUM_DESTEKSIZ(OpenDevToolsWindow)
    GORUNUM_OLAYI(ContainsFullScreenElementChanged, ICoreWebView2ContainsFullScreenElementChangedEventHandler,
                  OLAY_CONTAINS_FULL_SCREEN_ELEMENT_CHANGED)
    GORUNUM_DESTEKSIZ_OLAY(WebResourceRequested, ICoreWebView2WebResourceRequestedEventHandler)
    GORUNUM_DESTEKSIZ(AddWebResourceRequestedFilter, LPCWSTR, COREWEBVIEW2_WEB_RESOURCE_CONTEXT)
    GORUNUM_DESTEKSIZ(RemoveWebResourceRequestedFilter, LPCWSTR, COREWEBVIEW2_WEB_RESOURCE_CONTEXT)
    GORUNUM_OLAYI(WindowCloseRequested, ICoreWebView2WindowCloseRequestedEventHandler,
                  OLAY_WINDOW_CLOSE_REQUESTED)

    // ---- ICoreWebView2_4's downloads, ICoreWebView2_7's PrintToPdf (each engine
    // writes its own), ICoreWebView2_8's sound and ICoreWebView2_12's status-bar
    // text; the versions between answer E_NOTIMPL.

    GORUNUM_DESTEKSIZ_OLAY(WebResourceResponseReceived, IUnknown)
    GORUNUM_DESTEKSIZ(NavigateWithWebResourceRequest, IUnknown*)
    GORUNUM_DESTEKSIZ_OLAY(DOMContentLoaded, IUnknown)
    GORUNUM_DESTEKSIZ(get_CookieManager, IUnknown**)
    GORUNUM_DESTEKSIZ(get_Environment, ICoreWebView2Environment**)
    GORUNUM_DESTEKSIZ(TrySuspend, IUnknown*)
    GORUNUM_DESTEKSIZ(Resume)
    GORUNUM_DESTEKSIZ(get_IsSuspended, BOOL*)
    GORUNUM_DESTEKSIZ(SetVirtualHostNameToFolderMapping, LPCWSTR, LPCWSTR, INT32)
    GORUNUM_DESTEKSIZ(ClearVirtualHostNameToFolderMapping, LPCWSTR)
    GORUNUM_DESTEKSIZ_OLAY(FrameCreated, IUnknown)
    GORUNUM_OLAYI(DownloadStarting, ICoreWebView2DownloadStartingEventHandler, OLAY_DOWNLOAD_STARTING)
    GORUNUM_DESTEKSIZ_OLAY(ClientCertificateRequested, IUnknown)
    GORUNUM_DESTEKSIZ(OpenTaskManagerWindow)
    GORUNUM_OLAYI(IsMutedChanged, ICoreWebView2IsMutedChangedEventHandler, OLAY_IS_MUTED_CHANGED)
    GORUNUM_OLAYI(IsDocumentPlayingAudioChanged, ICoreWebView2IsDocumentPlayingAudioChangedEventHandler,
                  OLAY_IS_DOCUMENT_PLAYING_AUDIO_CHANGED)
    HRESULT STDMETHODCALLTYPE get_IsMuted(BOOL* deger) override
    {
        GORUNUM_GIRIS("get_IsMuted", std::string());
        if (!deger)
            return E_POINTER;
        *deger = sessiz_ ? TRUE : FALSE;
        return S_OK;
    }
    // The switch belongs to the view, not to its document: it stays over navigations.
    HRESULT STDMETHODCALLTYPE put_IsMuted(BOOL deger) override
    {
        GORUNUM_GIRIS("put_IsMuted", deger ? "1" : "0");
        const bool yeni = deger != FALSE;
        if (yeni == sessiz_)
            return S_OK;
        sessiz_ = yeni;
        Gorunum* gorunum = static_cast<Gorunum*>(this);
        Microsoft::WRL::ComPtr<Gorunum> koru(gorunum);
        gorunum->sessizlik_uygula(yeni);
        bos_olay_yay_<ICoreWebView2IsMutedChangedEventHandler>(OLAY_IS_MUTED_CHANGED);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_IsDocumentPlayingAudio(BOOL* deger) override
    {
        GORUNUM_GIRIS("get_IsDocumentPlayingAudio", std::string());
        if (!deger)
            return E_POINTER;
        *deger = caliyor_ ? TRUE : FALSE;
        return S_OK;
    }
    GORUNUM_DESTEKSIZ_OLAY(IsDefaultDownloadDialogOpenChanged, IUnknown)
    GORUNUM_DESTEKSIZ(get_IsDefaultDownloadDialogOpen, BOOL*)
    GORUNUM_DESTEKSIZ(OpenDefaultDownloadDialog)
    GORUNUM_DESTEKSIZ(CloseDefaultDownloadDialog)
    GORUNUM_DESTEKSIZ(get_DefaultDownloadDialogCornerAlignment, INT32*)
    GORUNUM_DESTEKSIZ(put_DefaultDownloadDialogCornerAlignment, INT32)
    GORUNUM_DESTEKSIZ(get_DefaultDownloadDialogMargin, POINT*)
    GORUNUM_DESTEKSIZ(put_DefaultDownloadDialogMargin, POINT)
    GORUNUM_DESTEKSIZ_OLAY(BasicAuthenticationRequested, IUnknown)
    GORUNUM_DESTEKSIZ(CallDevToolsProtocolMethodForSession, LPCWSTR, LPCWSTR, LPCWSTR, IUnknown*)
    GORUNUM_DESTEKSIZ_OLAY(ContextMenuRequested, IUnknown)
    GORUNUM_OLAYI(StatusBarTextChanged, ICoreWebView2StatusBarTextChangedEventHandler,
                  OLAY_STATUS_BAR_TEXT_CHANGED)
    // ICoreWebView2_14's certificate errors; each engine writes its own Clear.
    GORUNUM_DESTEKSIZ(get_Profile, IUnknown**)
    GORUNUM_OLAYI(ServerCertificateErrorDetected, ICoreWebView2ServerCertificateErrorDetectedEventHandler,
                  OLAY_SERVER_CERTIFICATE_ERROR_DETECTED)

    // A download of this view's page starts: its handlers decide on it now.
    void indirme_baslangicini_yay(ICoreWebView2DownloadStartingEventArgs* arguman)
    {
        olay_yay<ICoreWebView2DownloadStartingEventHandler>(OLAY_DOWNLOAD_STARTING,
                                                            static_cast<ICoreWebView2*>(this), arguman);
    }

    // A page asks for a permission: its handlers answer now or take a deferral.
    void izin_istegini_yay(ICoreWebView2PermissionRequestedEventArgs* arguman)
    {
        olay_yay<ICoreWebView2PermissionRequestedEventHandler>(OLAY_PERMISSION_REQUESTED,
                                                               static_cast<ICoreWebView2*>(this), arguman);
    }

    // A server's certificate of this view's page cannot be verified: its handlers
    // decide now (or through a deferral).
    void sertifika_hatasini_yay(ICoreWebView2ServerCertificateErrorDetectedEventArgs* arguman)
    {
        olay_yay<ICoreWebView2ServerCertificateErrorDetectedEventHandler>(
            OLAY_SERVER_CERTIFICATE_ERROR_DETECTED, static_cast<ICoreWebView2*>(this), arguman);
    }

protected:
    GorunumYuzu() = default;
    virtual ~GorunumYuzu() = default;

    // Calls every handler of one event, for as long as the view stays open.
    template <class Isleyici, class Gonderen, class Arguman>
    void olay_yay(GorunumOlayi olay, Gonderen* gonderen, Arguman* arguman)
    {
        if (!arguman)
            return;
        Gorunum* gorunum = static_cast<Gorunum*>(this);
        Microsoft::WRL::ComPtr<Gorunum> koru(gorunum);
        aboneler[olay].template yay<Isleyici>(gonderen, arguman, [gorunum] { return !gorunum->kapali_mi(); });
    }

    bool abonesi_var(GorunumOlayi olay) const { return !aboneler[olay].bos(); }

    // The scale of a view placed in `pencere` (its window's DPI / 96), before the
    // host can have asked for another: no event, and the view applies it itself.
    void olcegi_baslat(HWND pencere)
    {
        izlenen_dpi_ = pencerenin_dpisi(pencere);
        olcek_ = izlenen_dpi_ / 96.0;
    }
    // The host told the view of a new size or place: a window moved to a monitor of
    // another DPI takes that DPI's scale, while the view detects monitor changes.
    // The DPI last seen is kept, so a scale the host set stays until the DPI changes.
    void monitor_olcegini_denetle(HWND pencere)
    {
        if (!monitoru_izle_ || !pencere)
            return;
        const UINT dpi = pencerenin_dpisi(pencere);
        if (dpi == izlenen_dpi_)
            return;
        izlenen_dpi_ = dpi;
        olcegi_degistir(dpi / 96.0);
    }
    double rasterlestirme_olcegi() const { return olcek_; }
    // The screen's pixels the bounds the host gave cover (see the bounds modes above).
    RECT fiziksel_alan(const RECT& verilen) const
    {
        if (sinir_kipi_ == COREWEBVIEW2_BOUNDS_MODE_USE_RAW_PIXELS)
            return verilen;
        auto carp = [this](LONG deger) {
            const double sonuc = std::round(deger * olcek_);
            return static_cast<LONG>(std::fmax(-2147483647.0, std::fmin(2147483647.0, sonuc)));
        };
        return RECT{carp(verilen.left), carp(verilen.top), carp(verilen.right), carp(verilen.bottom)};
    }

    bool sessiz_mi() const { return sessiz_; }
    // The engine learned whether the document plays audio now.
    void ses_caliyor_koy(bool yeni)
    {
        if (yeni == caliyor_ || static_cast<Gorunum*>(this)->kapali_mi())
            return;
        caliyor_ = yeni;
        bos_olay_yay_<ICoreWebView2IsDocumentPlayingAudioChangedEventHandler>(OLAY_IS_DOCUMENT_PLAYING_AUDIO_CHANGED);
    }

    // Lets go of every handler (at close); they are released after the call.
    void aboneleri_birak()
    {
        AboneListesi birakilacaklar[OLAY_SAYISI];
        for (int i = 0; i < OLAY_SAYISI; ++i)
            birakilacaklar[i] = aboneler[i].bosalt();
    }

    LONG sayac = 1;
    AboneListesi aboneler[OLAY_SAYISI];

private:
    void olcegi_degistir(double yeni)
    {
        if (yeni == olcek_)
            return;
        olcek_ = yeni;
        Gorunum* gorunum = static_cast<Gorunum*>(this);
        Microsoft::WRL::ComPtr<Gorunum> koru(gorunum);
        gorunum->rasterlestirme_uygula();
        Microsoft::WRL::ComPtr<IUnknown> arguman = sahiplen<IUnknown>(new (std::nothrow) TekArayuz<IUnknown>());
        olay_yay<ICoreWebView2RasterizationScaleChangedEventHandler>(
            OLAY_RASTERIZATION_SCALE_CHANGED, static_cast<ICoreWebView2Controller*>(this), arguman.Get());
    }

    // The sound events carry an argument object with nothing in it.
    template <class Isleyici>
    void bos_olay_yay_(GorunumOlayi olay)
    {
        // Not ComPtr::Attach, which adds a reference here (see sahiplen).
        Microsoft::WRL::ComPtr<IUnknown> arguman = sahiplen<IUnknown>(new (std::nothrow) TekArayuz<IUnknown>());
        olay_yay<Isleyici>(olay, static_cast<ICoreWebView2*>(this), arguman.Get());
    }

    double olcek_ = 1.0;     // the rasterization scale
    bool monitoru_izle_ = true;
    UINT izlenen_dpi_ = 96;  // the window's DPI the view last took its scale from
    COREWEBVIEW2_BOUNDS_MODE sinir_kipi_ = COREWEBVIEW2_BOUNDS_MODE_USE_RAW_PIXELS;
    bool sessiz_ = false;    // the view's mute switch
    bool caliyor_ = false;   // the document plays audio (muted or not)
};

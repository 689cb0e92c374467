// The engine's smaller objects: the environment, a view's settings, and the
// argument objects handed to event handlers. Every method they receive is logged
// with the number of the view it concerns, so a test can see what a host asked.
#include "motor_ic.h"

const wchar_t MOTOR_SURUMU[] = L"1.0.0.0";

// A getter that logs itself and copies a field out.
#define ALICI(yontem, tur, alan)                                      \
    HRESULT STDMETHODCALLTYPE yontem(tur* deger) override             \
    {                                                                 \
        gunluk_yaz(no, #yontem);                                      \
        if (!deger)                                                   \
            return E_POINTER;                                         \
        *deger = alan;                                                \
        return S_OK;                                                  \
    }

// The same for a string, handed out in CoTaskMemAlloc memory.
#define METIN_ALICI(yontem, alan)                                     \
    HRESULT STDMETHODCALLTYPE yontem(LPWSTR* deger) override          \
    {                                                                 \
        gunluk_yaz(no, #yontem);                                      \
        if (!deger)                                                   \
            return E_POINTER;                                         \
        *deger = gorev_kopyasi(alan);                                 \
        return *deger ? S_OK : E_OUTOFMEMORY;                         \
    }

// ---------------------------------------------------------------------------
// The environment.

class Ortam final : public TekArayuz<ICoreWebView2Environment> {
public:
    static constexpr int64_t no = GUNLUK_MOTOR;

    HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
        HWND ebeveyn, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* isleyici) override
    {
        gunluk_yaz(no, "CreateCoreWebView2Controller");
        if (!dogru_is_parcacigi())
            return RPC_E_WRONG_THREAD;
        if (!isleyici)
            return E_POINTER;
        if (!IsWindow(ebeveyn))
            return E_INVALIDARG;
        return olusturmayi_yanitla<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler,
                                   ICoreWebView2Controller>(
            g_denetim.denetleyici, isleyici, [ebeveyn](ComPtr<ICoreWebView2Controller>& denetleyici) {
                denetleyici = sahiplen(denetleyici_olustur(ebeveyn));
                return denetleyici ? S_OK : E_OUTOFMEMORY;
            });
    }

    HRESULT STDMETHODCALLTYPE CreateWebResourceResponse(IStream*, int, LPCWSTR, LPCWSTR,
                                                        ICoreWebView2WebResourceResponse** yanit) override
    {
        gunluk_yaz(no, "CreateWebResourceResponse");
        if (yanit)
            *yanit = nullptr;
        return E_NOTIMPL;
    }

    METIN_ALICI(get_BrowserVersionString, std::wstring(MOTOR_SURUMU))

    HRESULT STDMETHODCALLTYPE add_NewBrowserVersionAvailable(
        ICoreWebView2NewBrowserVersionAvailableEventHandler*, EventRegistrationToken* jeton) override
    {
        gunluk_yaz(no, "add_NewBrowserVersionAvailable");
        if (jeton)
            jeton->value = 0;
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE remove_NewBrowserVersionAvailable(EventRegistrationToken jeton) override
    {
        gunluk_yaz(no, "remove_NewBrowserVersionAvailable", std::to_string(jeton.value));
        return E_NOTIMPL;
    }
};

HRESULT ortam_olustur(ICoreWebView2Environment** ortam)
{
    *ortam = new (std::nothrow) Ortam();
    return *ortam ? S_OK : E_OUTOFMEMORY;
}

// ---------------------------------------------------------------------------
// Settings: stored, every one TRUE at first. The view consults two of them.

#define AYAR(ad)                                                          \
    HRESULT STDMETHODCALLTYPE get_##ad(BOOL* deger) override              \
    {                                                                     \
        gunluk_yaz(no, "get_" #ad);                                       \
        if (!deger)                                                       \
            return E_POINTER;                                             \
        *deger = ad;                                                      \
        return S_OK;                                                      \
    }                                                                     \
    HRESULT STDMETHODCALLTYPE put_##ad(BOOL deger) override               \
    {                                                                     \
        gunluk_yaz(no, "put_" #ad, deger ? "1" : "0");                    \
        ad = deger ? TRUE : FALSE;                                        \
        return S_OK;                                                      \
    }                                                                     \
    BOOL ad = TRUE;

class Ayarlar final : public TekArayuz<ICoreWebView2Settings> {
public:
    explicit Ayarlar(int64_t gorunum_no) : no(gorunum_no) {}
    const int64_t no;

    AYAR(IsScriptEnabled)
    AYAR(IsWebMessageEnabled)
    AYAR(AreDefaultScriptDialogsEnabled)
    AYAR(IsStatusBarEnabled)
    AYAR(AreDevToolsEnabled)
    AYAR(AreDefaultContextMenusEnabled)
    AYAR(AreHostObjectsAllowed)
    AYAR(IsZoomControlEnabled)
    AYAR(IsBuiltInErrorPageEnabled)
};

ICoreWebView2Settings* ayarlar_olustur(int64_t gorunum_no)
{
    return new (std::nothrow) Ayarlar(gorunum_no);
}

bool betik_acik_mi(ICoreWebView2Settings* ayarlar)
{
    return !ayarlar || static_cast<Ayarlar*>(ayarlar)->IsScriptEnabled;
}

bool yakinlik_denetimi_acik_mi(ICoreWebView2Settings* ayarlar)
{
    return !ayarlar || static_cast<Ayarlar*>(ayarlar)->IsZoomControlEnabled;
}

// ---------------------------------------------------------------------------
// Event arguments.

class BosArguman final : public TekArayuz<IUnknown> {
};

IUnknown* bos_arguman_olustur(int64_t)
{
    return new (std::nothrow) BosArguman();
}

class BaslamaArgumani final : public TekArayuz<ICoreWebView2NavigationStartingEventArgs> {
public:
    BaslamaArgumani(int64_t gorunum_no, const std::wstring& adres_, BOOL kullanici_, UINT64 kimlik_)
        : no(gorunum_no), adres(adres_), kullanici(kullanici_), kimlik(kimlik_) {}
    const int64_t no;
    std::wstring adres;
    BOOL kullanici;
    UINT64 kimlik;
    BOOL iptal = FALSE;

    METIN_ALICI(get_Uri, adres)
    ALICI(get_IsUserInitiated, BOOL, kullanici)
    ALICI(get_IsRedirected, BOOL, FALSE)
    HRESULT STDMETHODCALLTYPE get_RequestHeaders(ICoreWebView2HttpRequestHeaders** basliklar) override
    {
        gunluk_yaz(no, "get_RequestHeaders");
        if (basliklar)
            *basliklar = nullptr;
        return E_NOTIMPL;
    }
    ALICI(get_Cancel, BOOL, iptal)
    HRESULT STDMETHODCALLTYPE put_Cancel(BOOL deger) override
    {
        gunluk_yaz(no, "put_Cancel", deger ? "1" : "0");
        iptal = deger ? TRUE : FALSE;
        return S_OK;
    }
    ALICI(get_NavigationId, UINT64, kimlik)
};

ICoreWebView2NavigationStartingEventArgs* baslama_argumani_olustur(
    int64_t gorunum_no, const std::wstring& adres, BOOL kullanici, UINT64 kimlik)
{
    return new (std::nothrow) BaslamaArgumani(gorunum_no, adres, kullanici, kimlik);
}

BOOL baslama_iptal_mi(ICoreWebView2NavigationStartingEventArgs* arguman)
{
    return static_cast<BaslamaArgumani*>(arguman)->iptal;
}

class TamamlanmaArgumani final : public TekArayuz<ICoreWebView2NavigationCompletedEventArgs> {
public:
    TamamlanmaArgumani(int64_t gorunum_no, BOOL basarili_, COREWEBVIEW2_WEB_ERROR_STATUS durum_, UINT64 kimlik_)
        : no(gorunum_no), basarili(basarili_), durum(durum_), kimlik(kimlik_) {}
    const int64_t no;
    BOOL basarili;
    COREWEBVIEW2_WEB_ERROR_STATUS durum;
    UINT64 kimlik;

    ALICI(get_IsSuccess, BOOL, basarili)
    ALICI(get_WebErrorStatus, COREWEBVIEW2_WEB_ERROR_STATUS, durum)
    ALICI(get_NavigationId, UINT64, kimlik)
};

ICoreWebView2NavigationCompletedEventArgs* tamamlanma_argumani_olustur(
    int64_t gorunum_no, BOOL basarili, COREWEBVIEW2_WEB_ERROR_STATUS durum, UINT64 kimlik)
{
    return new (std::nothrow) TamamlanmaArgumani(gorunum_no, basarili, durum, kimlik);
}

class KaynakArgumani final : public TekArayuz<ICoreWebView2SourceChangedEventArgs> {
public:
    KaynakArgumani(int64_t gorunum_no, BOOL yeni) : no(gorunum_no), yeni_belge(yeni) {}
    const int64_t no;
    BOOL yeni_belge;
    ALICI(get_IsNewDocument, BOOL, yeni_belge)
};

ICoreWebView2SourceChangedEventArgs* kaynak_argumani_olustur(int64_t gorunum_no, BOOL yeni_belge)
{
    return new (std::nothrow) KaynakArgumani(gorunum_no, yeni_belge);
}

class SurecArgumani final : public TekArayuz<ICoreWebView2ProcessFailedEventArgs> {
public:
    SurecArgumani(int64_t gorunum_no, COREWEBVIEW2_PROCESS_FAILED_KIND tur_) : no(gorunum_no), tur(tur_) {}
    const int64_t no;
    COREWEBVIEW2_PROCESS_FAILED_KIND tur;
    ALICI(get_ProcessFailedKind, COREWEBVIEW2_PROCESS_FAILED_KIND, tur)
};

ICoreWebView2ProcessFailedEventArgs* surec_argumani_olustur(int64_t gorunum_no,
                                                            COREWEBVIEW2_PROCESS_FAILED_KIND tur)
{
    return new (std::nothrow) SurecArgumani(gorunum_no, tur);
}

class TusArgumani final : public TekArayuz<ICoreWebView2AcceleratorKeyPressedEventArgs> {
public:
    TusArgumani(int64_t gorunum_no, COREWEBVIEW2_KEY_EVENT_KIND tur_, UINT tus_, LPARAM bilgi_)
        : no(gorunum_no), tur(tur_), tus(tus_), bilgi(static_cast<INT>(bilgi_))
    {
        // The physical state is what the window message's lParam says.
        durum.RepeatCount = static_cast<UINT32>(bilgi_ & 0xFFFF);
        durum.ScanCode = static_cast<UINT32>((bilgi_ >> 16) & 0xFF);
        durum.IsExtendedKey = (bilgi_ >> 24) & 1;
        durum.IsMenuKeyDown = (bilgi_ >> 29) & 1;
        durum.WasKeyDown = (bilgi_ >> 30) & 1;
        durum.IsKeyReleased = (bilgi_ >> 31) & 1;
    }
    const int64_t no;
    COREWEBVIEW2_KEY_EVENT_KIND tur;
    UINT tus;
    INT bilgi;
    COREWEBVIEW2_PHYSICAL_KEY_STATUS durum = {};
    BOOL islendi = FALSE;

    ALICI(get_KeyEventKind, COREWEBVIEW2_KEY_EVENT_KIND, tur)
    ALICI(get_VirtualKey, UINT, tus)
    ALICI(get_KeyEventLParam, INT, bilgi)
    ALICI(get_PhysicalKeyStatus, COREWEBVIEW2_PHYSICAL_KEY_STATUS, durum)
    ALICI(get_Handled, BOOL, islendi)
    HRESULT STDMETHODCALLTYPE put_Handled(BOOL deger) override
    {
        gunluk_yaz(no, "put_Handled", deger ? "1" : "0");
        islendi = deger ? TRUE : FALSE;
        return S_OK;
    }
};

ICoreWebView2AcceleratorKeyPressedEventArgs* tus_argumani_olustur(
    int64_t gorunum_no, COREWEBVIEW2_KEY_EVENT_KIND tur, UINT tus, LPARAM bilgi)
{
    return new (std::nothrow) TusArgumani(gorunum_no, tur, tus, bilgi);
}

BOOL tus_islendi_mi(ICoreWebView2AcceleratorKeyPressedEventArgs* arguman)
{
    return static_cast<TusArgumani*>(arguman)->islendi;
}

// ---------------------------------------------------------------------------
// New-window requests and their deferral.

class YeniPencereArgumani;

class Erteleme final : public TekArayuz<ICoreWebView2Deferral> {
public:
    Erteleme(int64_t gorunum_no, YeniPencereArgumani* arguman);
    ~Erteleme() override;
    const int64_t no;
    YeniPencereArgumani* sahip;
    HRESULT STDMETHODCALLTYPE Complete() override;
};

class YeniPencereArgumani final : public TekArayuz<ICoreWebView2NewWindowRequestedEventArgs> {
public:
    YeniPencereArgumani(int64_t gorunum_no, const std::wstring& adres_, BOOL kullanici_,
                        std::function<void(ICoreWebView2*, BOOL)> sonuc_)
        : no(gorunum_no), adres(adres_), kullanici(kullanici_), sonuc(std::move(sonuc_)) {}
    const int64_t no;
    std::wstring adres;
    BOOL kullanici;
    std::function<void(ICoreWebView2*, BOOL)> sonuc;
    ComPtr<ICoreWebView2> yeni;
    BOOL islendi = FALSE;
    bool ertelendi = false;
    bool karar_verildi = false;

    void karar_ver()
    {
        if (karar_verildi)
            return;
        karar_verildi = true;
        // Moved out first: the decision may release the last reference to us.
        auto is = std::move(sonuc);
        ComPtr<ICoreWebView2> verilen = yeni;
        if (is)
            is(verilen.Get(), islendi);
    }

    METIN_ALICI(get_Uri, adres)
    HRESULT STDMETHODCALLTYPE put_NewWindow(ICoreWebView2* pencere) override
    {
        gunluk_yaz(no, "put_NewWindow");
        yeni = pencere;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_NewWindow(ICoreWebView2** pencere) override
    {
        gunluk_yaz(no, "get_NewWindow");
        if (!pencere)
            return E_POINTER;
        *pencere = yeni.Get();
        if (*pencere)
            (*pencere)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Handled(BOOL deger) override
    {
        gunluk_yaz(no, "put_Handled", deger ? "1" : "0");
        islendi = deger ? TRUE : FALSE;
        return S_OK;
    }
    ALICI(get_Handled, BOOL, islendi)
    ALICI(get_IsUserInitiated, BOOL, kullanici)
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** erteleme) override
    {
        gunluk_yaz(no, "GetDeferral");
        if (!erteleme)
            return E_POINTER;
        if (karar_verildi) {
            *erteleme = nullptr;
            return E_UNEXPECTED;   // the request is already decided
        }
        *erteleme = new (std::nothrow) Erteleme(no, this);
        if (!*erteleme)
            return E_OUTOFMEMORY;
        ertelendi = true;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_WindowFeatures(ICoreWebView2WindowFeatures** ozellikler) override
    {
        gunluk_yaz(no, "get_WindowFeatures");
        if (ozellikler)
            *ozellikler = nullptr;
        return E_NOTIMPL;
    }
};

Erteleme::Erteleme(int64_t gorunum_no, YeniPencereArgumani* arguman) : no(gorunum_no), sahip(arguman)
{
    sahip->AddRef();
}

Erteleme::~Erteleme()
{
    sahip->Release();
}

HRESULT STDMETHODCALLTYPE Erteleme::Complete()
{
    gunluk_yaz(no, "Complete");
    // Later than the handler: the request is decided from the message loop, as
    // everything else the engine does.
    ComPtr<YeniPencereArgumani> arguman(sahip);
    teslim_et(nullptr, [arguman] { arguman->karar_ver(); });
    return S_OK;
}

ICoreWebView2NewWindowRequestedEventArgs* yeni_pencere_argumani_olustur(
    int64_t gorunum_no, const std::wstring& adres, BOOL kullanici, std::function<void(ICoreWebView2*, BOOL)> sonuc)
{
    return new (std::nothrow) YeniPencereArgumani(gorunum_no, adres, kullanici, std::move(sonuc));
}

void yeni_pencere_isleyicileri_bitti(ICoreWebView2NewWindowRequestedEventArgs* arguman)
{
    auto* istek = static_cast<YeniPencereArgumani*>(arguman);
    if (!istek->ertelendi)
        istek->karar_ver();
}

// The small objects a view hands to its host: event arguments and settings, plus
// the text helpers every file uses.
#include "motor_ic.h"

#include <new>

std::wstring utf8_den(const std::string& metin)
{
    if (metin.empty())
        return std::wstring();
    int boy = MultiByteToWideChar(CP_UTF8, 0, metin.data(), static_cast<int>(metin.size()), nullptr, 0);
    std::wstring sonuc(boy > 0 ? boy : 0, L'\0');
    if (boy > 0)
        MultiByteToWideChar(CP_UTF8, 0, metin.data(), static_cast<int>(metin.size()), &sonuc[0], boy);
    return sonuc;
}

std::string utf8_e(const std::wstring& metin)
{
    if (metin.empty())
        return std::string();
    int boy = WideCharToMultiByte(CP_UTF8, 0, metin.data(), static_cast<int>(metin.size()), nullptr, 0,
                                  nullptr, nullptr);
    std::string sonuc(boy > 0 ? boy : 0, '\0');
    if (boy > 0)
        WideCharToMultiByte(CP_UTF8, 0, metin.data(), static_cast<int>(metin.size()), &sonuc[0], boy, nullptr,
                            nullptr);
    return sonuc;
}

LPWSTR gorev_kopyasi(const std::wstring& metin)
{
    auto* kopya = static_cast<LPWSTR>(CoTaskMemAlloc((metin.size() + 1) * sizeof(wchar_t)));
    if (kopya) {
        memcpy(kopya, metin.c_str(), (metin.size() + 1) * sizeof(wchar_t));
    }
    return kopya;
}

COREWEBVIEW2_WEB_ERROR_STATUS hata_durumu(const std::string& hata_metni)
{
    static const struct { const char* metin; COREWEBVIEW2_WEB_ERROR_STATUS durum; } TABLO[] = {
        {"net::ERR_NAME_NOT_RESOLVED", COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED},
        {"net::ERR_NAME_RESOLUTION_FAILED", COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED},
        {"net::ERR_CONNECTION_REFUSED", COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT},
        {"net::ERR_ADDRESS_UNREACHABLE", COREWEBVIEW2_WEB_ERROR_STATUS_SERVER_UNREACHABLE},
        {"net::ERR_CONNECTION_TIMED_OUT", COREWEBVIEW2_WEB_ERROR_STATUS_TIMEOUT},
        {"net::ERR_TIMED_OUT", COREWEBVIEW2_WEB_ERROR_STATUS_TIMEOUT},
        {"net::ERR_CONNECTION_RESET", COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_RESET},
        {"net::ERR_CONNECTION_ABORTED", COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED},
        {"net::ERR_CONNECTION_CLOSED", COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED},
        {"net::ERR_INTERNET_DISCONNECTED", COREWEBVIEW2_WEB_ERROR_STATUS_DISCONNECTED},
        {"net::ERR_EMPTY_RESPONSE", COREWEBVIEW2_WEB_ERROR_STATUS_ERROR_HTTP_INVALID_SERVER_RESPONSE},
        {"net::ERR_INVALID_HTTP_RESPONSE", COREWEBVIEW2_WEB_ERROR_STATUS_ERROR_HTTP_INVALID_SERVER_RESPONSE},
        {"net::ERR_TOO_MANY_REDIRECTS", COREWEBVIEW2_WEB_ERROR_STATUS_REDIRECT_FAILED},
        {"net::ERR_ABORTED", COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED},
        {"net::ERR_CERT_COMMON_NAME_INVALID", COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_COMMON_NAME_IS_INCORRECT},
        {"net::ERR_CERT_DATE_INVALID", COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_EXPIRED},
        {"net::ERR_CERT_AUTHORITY_INVALID", COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID},
        {"net::ERR_CERT_INVALID", COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID},
        {"net::ERR_CERT_REVOKED", COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_REVOKED},
    };
    for (const auto& satir : TABLO)
        if (hata_metni == satir.metin)
            return satir.durum;
    return COREWEBVIEW2_WEB_ERROR_STATUS_UNEXPECTED_ERROR;
}

// A getter that copies a field out.
#define ALICI(yontem, tur, alan)                                      \
    HRESULT STDMETHODCALLTYPE yontem(tur* deger) override             \
    {                                                                 \
        if (!deger)                                                   \
            return E_POINTER;                                         \
        *deger = alan;                                                \
        return S_OK;                                                  \
    }

class BosArguman final : public TekArayuz<IUnknown> {
};

IUnknown* bos_arguman_olustur()
{
    return new (std::nothrow) BosArguman();
}

class BaslamaArgumani final : public TekArayuz<ICoreWebView2NavigationStartingEventArgs> {
public:
    BaslamaArgumani(const std::wstring& adres_, BOOL kullanici_, BOOL yonlendirme_, UINT64 kimlik_)
        : adres(adres_), kullanici(kullanici_), yonlendirme(yonlendirme_), kimlik(kimlik_) {}
    std::wstring adres;
    BOOL kullanici, yonlendirme;
    UINT64 kimlik;
    BOOL iptal = FALSE;

    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* deger) override
    {
        if (!deger)
            return E_POINTER;
        *deger = gorev_kopyasi(adres);
        return *deger ? S_OK : E_OUTOFMEMORY;
    }
    ALICI(get_IsUserInitiated, BOOL, kullanici)
    ALICI(get_IsRedirected, BOOL, yonlendirme)
    HRESULT STDMETHODCALLTYPE get_RequestHeaders(ICoreWebView2HttpRequestHeaders** basliklar) override
    {
        if (basliklar)
            *basliklar = nullptr;
        return E_NOTIMPL;
    }
    ALICI(get_Cancel, BOOL, iptal)
    HRESULT STDMETHODCALLTYPE put_Cancel(BOOL deger) override
    {
        iptal = deger ? TRUE : FALSE;
        return S_OK;
    }
    ALICI(get_NavigationId, UINT64, kimlik)
};

ICoreWebView2NavigationStartingEventArgs* baslama_argumani_olustur(const std::wstring& adres, BOOL kullanici,
                                                                  BOOL yonlendirme, UINT64 kimlik)
{
    return new (std::nothrow) BaslamaArgumani(adres, kullanici, yonlendirme, kimlik);
}

BOOL baslama_iptal_mi(ICoreWebView2NavigationStartingEventArgs* arguman)
{
    return static_cast<BaslamaArgumani*>(arguman)->iptal;
}

class TamamlanmaArgumani final : public TekArayuz<ICoreWebView2NavigationCompletedEventArgs> {
public:
    TamamlanmaArgumani(BOOL basarili_, COREWEBVIEW2_WEB_ERROR_STATUS durum_, UINT64 kimlik_)
        : basarili(basarili_), durum(durum_), kimlik(kimlik_) {}
    BOOL basarili;
    COREWEBVIEW2_WEB_ERROR_STATUS durum;
    UINT64 kimlik;
    ALICI(get_IsSuccess, BOOL, basarili)
    ALICI(get_WebErrorStatus, COREWEBVIEW2_WEB_ERROR_STATUS, durum)
    ALICI(get_NavigationId, UINT64, kimlik)
};

ICoreWebView2NavigationCompletedEventArgs* tamamlanma_argumani_olustur(BOOL basarili,
                                                                      COREWEBVIEW2_WEB_ERROR_STATUS durum,
                                                                      UINT64 kimlik)
{
    return new (std::nothrow) TamamlanmaArgumani(basarili, durum, kimlik);
}

class KaynakArgumani final : public TekArayuz<ICoreWebView2SourceChangedEventArgs> {
public:
    explicit KaynakArgumani(BOOL yeni) : yeni_belge(yeni) {}
    BOOL yeni_belge;
    ALICI(get_IsNewDocument, BOOL, yeni_belge)
};

ICoreWebView2SourceChangedEventArgs* kaynak_argumani_olustur(BOOL yeni_belge)
{
    return new (std::nothrow) KaynakArgumani(yeni_belge);
}

class SurecArgumani final : public TekArayuz<ICoreWebView2ProcessFailedEventArgs> {
public:
    explicit SurecArgumani(COREWEBVIEW2_PROCESS_FAILED_KIND tur_) : tur(tur_) {}
    COREWEBVIEW2_PROCESS_FAILED_KIND tur;
    ALICI(get_ProcessFailedKind, COREWEBVIEW2_PROCESS_FAILED_KIND, tur)
};

ICoreWebView2ProcessFailedEventArgs* surec_argumani_olustur(COREWEBVIEW2_PROCESS_FAILED_KIND tur)
{
    return new (std::nothrow) SurecArgumani(tur);
}

class TusArgumani final : public TekArayuz<ICoreWebView2AcceleratorKeyPressedEventArgs> {
public:
    TusArgumani(COREWEBVIEW2_KEY_EVENT_KIND tur_, UINT tus_, LPARAM bilgi_)
        : tur(tur_), tus(tus_), bilgi(static_cast<INT>(bilgi_))
    {
        // The physical state is what the window message's lParam says.
        durum.RepeatCount = static_cast<UINT32>(bilgi_ & 0xFFFF);
        durum.ScanCode = static_cast<UINT32>((bilgi_ >> 16) & 0xFF);
        durum.IsExtendedKey = (bilgi_ >> 24) & 1;
        durum.IsMenuKeyDown = (bilgi_ >> 29) & 1;
        durum.WasKeyDown = (bilgi_ >> 30) & 1;
        durum.IsKeyReleased = (bilgi_ >> 31) & 1;
    }
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
        islendi = deger ? TRUE : FALSE;
        return S_OK;
    }
};

ICoreWebView2AcceleratorKeyPressedEventArgs* tus_argumani_olustur(COREWEBVIEW2_KEY_EVENT_KIND tur, UINT tus,
                                                                 LPARAM bilgi)
{
    return new (std::nothrow) TusArgumani(tur, tus, bilgi);
}

BOOL tus_islendi_mi(ICoreWebView2AcceleratorKeyPressedEventArgs* arguman)
{
    return static_cast<TusArgumani*>(arguman)->islendi;
}

// Settings are stored and every one is TRUE at first; the engine itself is not told
// of them. The view reads AreDefaultContextMenusEnabled before it shows a page's
// context menu.
#define AYAR(ad)                                                          \
    HRESULT STDMETHODCALLTYPE get_##ad(BOOL* deger) override              \
    {                                                                     \
        if (!deger)                                                       \
            return E_POINTER;                                             \
        *deger = ad;                                                      \
        return S_OK;                                                      \
    }                                                                     \
    HRESULT STDMETHODCALLTYPE put_##ad(BOOL deger) override               \
    {                                                                     \
        ad = deger ? TRUE : FALSE;                                        \
        return S_OK;                                                      \
    }                                                                     \
    BOOL ad = TRUE;

class Ayarlar final : public TekArayuz<ICoreWebView2Settings> {
public:
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

ICoreWebView2Settings* ayarlar_olustur()
{
    return new (std::nothrow) Ayarlar();
}

// ---------------------------------------------------------------------------
// A new-window request and its deferral. The host decides in its handler, or later
// by completing a deferral it took; either way the decision runs once.

class YeniPencereArgumani;

class Erteleme final : public TekArayuz<ICoreWebView2Deferral> {
public:
    explicit Erteleme(YeniPencereArgumani* istek);
    ~Erteleme() override;
    HRESULT STDMETHODCALLTYPE Complete() override;

private:
    YeniPencereArgumani* istek_;
};

class YeniPencereArgumani final : public TekArayuz<ICoreWebView2NewWindowRequestedEventArgs> {
public:
    YeniPencereArgumani(const std::wstring& adres, BOOL kullanici, std::function<void(ICoreWebView2*, BOOL)> sonuc)
        : adres_(adres), kullanici_(kullanici), sonuc_(std::move(sonuc)) {}

    bool ertelendi = false;

    void karar_ver()
    {
        if (karar_verildi_)
            return;
        karar_verildi_ = true;
        // Moved out first: the decision may release the last reference to us.
        auto is = std::move(sonuc_);
        ComPtr<ICoreWebView2> verilen = yeni_;
        if (is)
            is(verilen.Get(), islendi_);
    }

    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* deger) override
    {
        if (!deger)
            return E_POINTER;
        *deger = gorev_kopyasi(adres_);
        return *deger ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE put_NewWindow(ICoreWebView2* pencere) override
    {
        yeni_ = pencere;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_NewWindow(ICoreWebView2** pencere) override
    {
        if (!pencere)
            return E_POINTER;
        *pencere = yeni_.Get();
        if (*pencere)
            (*pencere)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Handled(BOOL deger) override
    {
        islendi_ = deger ? TRUE : FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Handled(BOOL* deger) override
    {
        if (!deger)
            return E_POINTER;
        *deger = islendi_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* deger) override
    {
        if (!deger)
            return E_POINTER;
        *deger = kullanici_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** erteleme) override
    {
        if (!erteleme)
            return E_POINTER;
        *erteleme = nullptr;
        if (karar_verildi_)
            return E_UNEXPECTED;   // the request is already decided
        *erteleme = new (std::nothrow) Erteleme(this);
        if (!*erteleme)
            return E_OUTOFMEMORY;
        ertelendi = true;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_WindowFeatures(ICoreWebView2WindowFeatures** ozellikler) override
    {
        if (ozellikler)
            *ozellikler = nullptr;
        return E_NOTIMPL;
    }

private:
    std::wstring adres_;
    BOOL kullanici_;
    std::function<void(ICoreWebView2*, BOOL)> sonuc_;
    ComPtr<ICoreWebView2> yeni_;
    BOOL islendi_ = FALSE;
    bool karar_verildi_ = false;
};

Erteleme::Erteleme(YeniPencereArgumani* istek) : istek_(istek)
{
    istek_->AddRef();
}

Erteleme::~Erteleme()
{
    istek_->Release();
}

HRESULT STDMETHODCALLTYPE Erteleme::Complete()
{
    // Decided later, from the message loop, as everything else the engine does.
    ComPtr<YeniPencereArgumani> istek(istek_);
    return Baglanti::ui_da_calistir([istek] { istek->karar_ver(); }) ? S_OK : E_FAIL;
}

ICoreWebView2NewWindowRequestedEventArgs* yeni_pencere_argumani_olustur(
    const std::wstring& adres, BOOL kullanici, std::function<void(ICoreWebView2*, BOOL)> sonuc)
{
    return new (std::nothrow) YeniPencereArgumani(adres, kullanici, std::move(sonuc));
}

void yeni_pencere_isleyicileri_bitti(ICoreWebView2NewWindowRequestedEventArgs* arguman)
{
    auto* istek = static_cast<YeniPencereArgumani*>(arguman);
    if (!istek->ertelendi)
        istek->karar_ver();
}

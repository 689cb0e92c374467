// The small objects both engine libraries hand the host: event arguments and a
// view's settings. Header-only, like the rest of engine_shared/.
//
// `Kayit` is what the engine adds of its own, two static functions:
//   static void yaz(int64_t gorunum_no, const char* yontem, const std::string& deger);
//       called with every method the host calls on these objects (the stand-in logs
//       them, with the number of the view they belong to, for its tests);
//   static bool ui_da(std::function<void()> is);
//       runs `is` later from the message loop (a completed deferral); false when it
//       cannot;
//   static HRESULT yeni_pencere_al(ICoreWebView2* gorunum);
//       takes a view the host offers as a new window: S_OK and the view is spoken
//       for from then on (no second request may take it), or the failure that
//       put_NewWindow returns (see YeniPencere).
// The engine reaches them through OlayArgumanlari<Kayit>; `no` is the view's number
// in what `yaz` receives.
#pragma once

#include "com_nesnesi.h"
#include "wv2_arayuz.h"

#include <cstdint>
#include <functional>
#include <new>
#include <string>

template <class Kayit>
struct OlayArgumanlari {
    static IUnknown* bos() { return new (std::nothrow) Bos(); }

    static ICoreWebView2NavigationStartingEventArgs* baslama(const std::wstring& adres, BOOL kullanici,
                                                             BOOL yonlendirme, UINT64 kimlik, int64_t no = 0)
    {
        return new (std::nothrow) Baslama(no, adres, kullanici, yonlendirme, kimlik);
    }
    static BOOL iptal_mi(ICoreWebView2NavigationStartingEventArgs* arguman)
    {
        return static_cast<Baslama*>(arguman)->iptal;
    }

    static ICoreWebView2NavigationCompletedEventArgs* tamamlanma(BOOL basarili, COREWEBVIEW2_WEB_ERROR_STATUS durum,
                                                                 UINT64 kimlik, int64_t no = 0)
    {
        return new (std::nothrow) Tamamlanma(no, basarili, durum, kimlik);
    }

    static ICoreWebView2SourceChangedEventArgs* kaynak(BOOL yeni_belge, int64_t no = 0)
    {
        return new (std::nothrow) Kaynak(no, yeni_belge);
    }

    static ICoreWebView2ProcessFailedEventArgs* surec(COREWEBVIEW2_PROCESS_FAILED_KIND tur, int64_t no = 0)
    {
        return new (std::nothrow) Surec(no, tur);
    }

    static ICoreWebView2AcceleratorKeyPressedEventArgs* tus(COREWEBVIEW2_KEY_EVENT_KIND tur, UINT tus, LPARAM bilgi,
                                                            int64_t no = 0)
    {
        return new (std::nothrow) Tus(no, tur, tus, bilgi);
    }
    static BOOL tus_islendi_mi(ICoreWebView2AcceleratorKeyPressedEventArgs* arguman)
    {
        return static_cast<Tus*>(arguman)->islendi;
    }

    // Settings are stored and every one is TRUE at first; the engine itself is not
    // told of them. The views read the few they honour.
    static ICoreWebView2Settings* ayarlar(int64_t no = 0) { return new (std::nothrow) Ayarlar(no); }
    static bool betik_acik_mi(ICoreWebView2Settings* ayarlar)
    {
        return !ayarlar || static_cast<Ayarlar*>(ayarlar)->IsScriptEnabled;
    }
    static bool yakinlik_denetimi_acik_mi(ICoreWebView2Settings* ayarlar)
    {
        return !ayarlar || static_cast<Ayarlar*>(ayarlar)->IsZoomControlEnabled;
    }

    // A new-window request. `sonuc` runs once the host has decided (at once, or when
    // it completes a deferral it took) with the view the host gave, if any, and
    // Handled.
    static ICoreWebView2NewWindowRequestedEventArgs* yeni_pencere(
        const std::wstring& adres, BOOL kullanici, std::function<void(ICoreWebView2* yeni, BOOL islendi)> sonuc,
        int64_t no = 0)
    {
        return new (std::nothrow) YeniPencere(no, adres, kullanici, std::move(sonuc));
    }
    // Called after the handlers ran: decides now unless a deferral is pending.
    static void yeni_pencere_isleyicileri_bitti(ICoreWebView2NewWindowRequestedEventArgs* arguman)
    {
        auto* istek = static_cast<YeniPencere*>(arguman);
        if (!istek->ertelendi)
            istek->karar_ver();
    }

    // A page's permission request. `sonuc` runs once with the host's state: after
    // the handlers, or when a deferral they took is completed or let go of
    // uncompleted (then with the state as it stands), so the page never waits for
    // good.
    static ICoreWebView2PermissionRequestedEventArgs* izin(const std::wstring& kaynak,
                                                           COREWEBVIEW2_PERMISSION_KIND tur, BOOL kullanici,
                                                           std::function<void(COREWEBVIEW2_PERMISSION_STATE)> sonuc,
                                                           int64_t no = 0)
    {
        return new (std::nothrow) IzinIstegi(no, kaynak, tur, kullanici, std::move(sonuc));
    }
    static void izin_isleyicileri_bitti(ICoreWebView2PermissionRequestedEventArgs* arguman)
    {
        auto* istek = static_cast<IzinIstegi*>(arguman);
        if (!istek->ertelendi)
            istek->karar_ver();
    }

// A getter that reports itself and copies a field out.
#define KORVA_ALICI(yontem, tur, alan)                                \
    HRESULT STDMETHODCALLTYPE yontem(tur* deger) override             \
    {                                                                 \
        Kayit::yaz(no, #yontem, std::string());                       \
        if (!deger)                                                   \
            return E_POINTER;                                         \
        *deger = alan;                                                \
        return S_OK;                                                  \
    }

// The same for a string, handed out in CoTaskMemAlloc memory.
#define KORVA_METIN_ALICI(yontem, alan)                               \
    HRESULT STDMETHODCALLTYPE yontem(LPWSTR* deger) override          \
    {                                                                 \
        Kayit::yaz(no, #yontem, std::string());                       \
        if (!deger)                                                   \
            return E_POINTER;                                         \
        *deger = metin_kopyasi(alan);                                 \
        return *deger ? S_OK : E_OUTOFMEMORY;                         \
    }

// A setting: stored, TRUE at first.
#define KORVA_AYAR(ad)                                                \
    HRESULT STDMETHODCALLTYPE get_##ad(BOOL* deger) override          \
    {                                                                 \
        Kayit::yaz(no, "get_" #ad, std::string());                    \
        if (!deger)                                                   \
            return E_POINTER;                                         \
        *deger = ad;                                                  \
        return S_OK;                                                  \
    }                                                                 \
    HRESULT STDMETHODCALLTYPE put_##ad(BOOL deger) override           \
    {                                                                 \
        Kayit::yaz(no, "put_" #ad, deger ? "1" : "0");                \
        ad = deger ? TRUE : FALSE;                                    \
        return S_OK;                                                  \
    }                                                                 \
    BOOL ad = TRUE;

private:
    static LPWSTR metin_kopyasi(const std::wstring& metin)
    {
        auto* kopya = static_cast<LPWSTR>(CoTaskMemAlloc((metin.size() + 1) * sizeof(wchar_t)));
        if (kopya)
            memcpy(kopya, metin.c_str(), (metin.size() + 1) * sizeof(wchar_t));
        return kopya;
    }

    class Bos final : public TekArayuz<IUnknown> {};

    class Baslama final : public TekArayuz<ICoreWebView2NavigationStartingEventArgs> {
    public:
        Baslama(int64_t no_, const std::wstring& adres_, BOOL kullanici_, BOOL yonlendirme_, UINT64 kimlik_)
            : no(no_), adres(adres_), kullanici(kullanici_), yonlendirme(yonlendirme_), kimlik(kimlik_) {}
        const int64_t no;
        std::wstring adres;
        BOOL kullanici, yonlendirme;
        UINT64 kimlik;
        BOOL iptal = FALSE;

        KORVA_METIN_ALICI(get_Uri, adres)
        KORVA_ALICI(get_IsUserInitiated, BOOL, kullanici)
        KORVA_ALICI(get_IsRedirected, BOOL, yonlendirme)
        HRESULT STDMETHODCALLTYPE get_RequestHeaders(ICoreWebView2HttpRequestHeaders** basliklar) override
        {
            Kayit::yaz(no, "get_RequestHeaders", std::string());
            if (basliklar)
                *basliklar = nullptr;
            return E_NOTIMPL;
        }
        KORVA_ALICI(get_Cancel, BOOL, iptal)
        HRESULT STDMETHODCALLTYPE put_Cancel(BOOL deger) override
        {
            Kayit::yaz(no, "put_Cancel", deger ? "1" : "0");
            iptal = deger ? TRUE : FALSE;
            return S_OK;
        }
        KORVA_ALICI(get_NavigationId, UINT64, kimlik)
    };

    class Tamamlanma final : public TekArayuz<ICoreWebView2NavigationCompletedEventArgs> {
    public:
        Tamamlanma(int64_t no_, BOOL basarili_, COREWEBVIEW2_WEB_ERROR_STATUS durum_, UINT64 kimlik_)
            : no(no_), basarili(basarili_), durum(durum_), kimlik(kimlik_) {}
        const int64_t no;
        BOOL basarili;
        COREWEBVIEW2_WEB_ERROR_STATUS durum;
        UINT64 kimlik;

        KORVA_ALICI(get_IsSuccess, BOOL, basarili)
        KORVA_ALICI(get_WebErrorStatus, COREWEBVIEW2_WEB_ERROR_STATUS, durum)
        KORVA_ALICI(get_NavigationId, UINT64, kimlik)
    };

    class Kaynak final : public TekArayuz<ICoreWebView2SourceChangedEventArgs> {
    public:
        Kaynak(int64_t no_, BOOL yeni) : no(no_), yeni_belge(yeni) {}
        const int64_t no;
        BOOL yeni_belge;
        KORVA_ALICI(get_IsNewDocument, BOOL, yeni_belge)
    };

    class Surec final : public TekArayuz<ICoreWebView2ProcessFailedEventArgs> {
    public:
        Surec(int64_t no_, COREWEBVIEW2_PROCESS_FAILED_KIND tur_) : no(no_), tur(tur_) {}
        const int64_t no;
        COREWEBVIEW2_PROCESS_FAILED_KIND tur;
        KORVA_ALICI(get_ProcessFailedKind, COREWEBVIEW2_PROCESS_FAILED_KIND, tur)
    };

    class Tus final : public TekArayuz<ICoreWebView2AcceleratorKeyPressedEventArgs> {
    public:
        Tus(int64_t no_, COREWEBVIEW2_KEY_EVENT_KIND tur_, UINT tus_, LPARAM bilgi_)
            : no(no_), tur(tur_), tus(tus_), bilgi(static_cast<INT>(bilgi_))
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

        KORVA_ALICI(get_KeyEventKind, COREWEBVIEW2_KEY_EVENT_KIND, tur)
        KORVA_ALICI(get_VirtualKey, UINT, tus)
        KORVA_ALICI(get_KeyEventLParam, INT, bilgi)
        KORVA_ALICI(get_PhysicalKeyStatus, COREWEBVIEW2_PHYSICAL_KEY_STATUS, durum)
        KORVA_ALICI(get_Handled, BOOL, islendi)
        HRESULT STDMETHODCALLTYPE put_Handled(BOOL deger) override
        {
            Kayit::yaz(no, "put_Handled", deger ? "1" : "0");
            islendi = deger ? TRUE : FALSE;
            return S_OK;
        }
    };

    class Ayarlar final : public TekArayuz<ICoreWebView2Settings> {
    public:
        explicit Ayarlar(int64_t no_) : no(no_) {}
        const int64_t no;
        KORVA_AYAR(IsScriptEnabled)
        KORVA_AYAR(IsWebMessageEnabled)
        KORVA_AYAR(AreDefaultScriptDialogsEnabled)
        KORVA_AYAR(IsStatusBarEnabled)
        KORVA_AYAR(AreDevToolsEnabled)
        KORVA_AYAR(AreDefaultContextMenusEnabled)
        KORVA_AYAR(AreHostObjectsAllowed)
        KORVA_AYAR(IsZoomControlEnabled)
        KORVA_AYAR(IsBuiltInErrorPageEnabled)
    };

    // A new-window request and its deferral. The host decides in its handler, or
    // later by completing a deferral it took; either way the decision runs once.
    class YeniPencere;

    class Erteleme final : public TekArayuz<ICoreWebView2Deferral> {
    public:
        Erteleme(int64_t no_, YeniPencere* istek) : no(no_), istek_(istek) { istek_->AddRef(); }
        ~Erteleme() override { istek_->Release(); }
        const int64_t no;

        HRESULT STDMETHODCALLTYPE Complete() override
        {
            Kayit::yaz(no, "Complete", std::string());
            // Decided later, from the message loop, as everything else the engine does.
            Microsoft::WRL::ComPtr<YeniPencere> istek(istek_);
            return Kayit::ui_da([istek] { istek->karar_ver(); }) ? S_OK : E_FAIL;
        }

    private:
        YeniPencere* istek_;
    };

    class YeniPencere final : public TekArayuz<ICoreWebView2NewWindowRequestedEventArgs> {
    public:
        YeniPencere(int64_t no_, const std::wstring& adres_, BOOL kullanici_,
                    std::function<void(ICoreWebView2*, BOOL)> sonuc)
            : no(no_), adres(adres_), kullanici(kullanici_), sonuc_(std::move(sonuc)) {}
        const int64_t no;
        std::wstring adres;
        BOOL kullanici;
        BOOL islendi = FALSE;
        bool ertelendi = false;

        void karar_ver()
        {
            if (karar_verildi_)
                return;
            karar_verildi_ = true;
            // Moved out first: the decision may release the last reference to us.
            auto is = std::move(sonuc_);
            Microsoft::WRL::ComPtr<ICoreWebView2> verilen = yeni_;
            if (is)
                is(verilen.Get(), islendi);
        }

        KORVA_METIN_ALICI(get_Uri, adres)
        // The view given must be a fresh one of this engine: E_INVALIDARG for null, a
        // view of another engine or one closed, HRESULT_FROM_WIN32(ERROR_INVALID_STATE)
        // for one that has navigated or was given to another request, and the same
        // once NewWindow is set or the request is decided. Setting it decides the
        // request (a deferral taken completes nothing more).
        HRESULT STDMETHODCALLTYPE put_NewWindow(ICoreWebView2* pencere) override
        {
            Kayit::yaz(no, "put_NewWindow", std::string());
            if (!pencere)
                return E_INVALIDARG;
            if (yeni_ || karar_verildi_)
                return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
            HRESULT hr = Kayit::yeni_pencere_al(pencere);
            if (FAILED(hr))
                return hr;
            yeni_ = pencere;
            if (ertelendi) {
                Microsoft::WRL::ComPtr<YeniPencere> istek(this);
                Kayit::ui_da([istek] { istek->karar_ver(); });
            }
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE get_NewWindow(ICoreWebView2** pencere) override
        {
            Kayit::yaz(no, "get_NewWindow", std::string());
            if (!pencere)
                return E_POINTER;
            *pencere = yeni_.Get();
            if (*pencere)
                (*pencere)->AddRef();
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE put_Handled(BOOL deger) override
        {
            Kayit::yaz(no, "put_Handled", deger ? "1" : "0");
            islendi = deger ? TRUE : FALSE;
            return S_OK;
        }
        KORVA_ALICI(get_Handled, BOOL, islendi)
        KORVA_ALICI(get_IsUserInitiated, BOOL, kullanici)
        HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** erteleme) override
        {
            Kayit::yaz(no, "GetDeferral", std::string());
            if (!erteleme)
                return E_POINTER;
            *erteleme = nullptr;
            if (karar_verildi_)
                return E_UNEXPECTED;   // the request is already decided
            *erteleme = new (std::nothrow) Erteleme(no, this);
            if (!*erteleme)
                return E_OUTOFMEMORY;
            ertelendi = true;
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE get_WindowFeatures(ICoreWebView2WindowFeatures** ozellikler) override
        {
            Kayit::yaz(no, "get_WindowFeatures", std::string());
            if (ozellikler)
                *ozellikler = nullptr;
            return E_NOTIMPL;
        }

    private:
        std::function<void(ICoreWebView2*, BOOL)> sonuc_;
        Microsoft::WRL::ComPtr<ICoreWebView2> yeni_;
        bool karar_verildi_ = false;
    };

    // A permission request and its deferral, decided once.
    class IzinIstegi;

    class IzinErtelemesi final : public TekArayuz<ICoreWebView2Deferral> {
    public:
        IzinErtelemesi(int64_t no_, IzinIstegi* istek) : no(no_), istek_(istek) { istek_->AddRef(); }
        ~IzinErtelemesi() override
        {
            if (!tamamlandi_)
                tamamla();
            istek_->Release();
        }
        const int64_t no;

        HRESULT STDMETHODCALLTYPE Complete() override
        {
            Kayit::yaz(no, "Complete", std::string());
            if (tamamlandi_)
                return E_UNEXPECTED;
            return tamamla() ? S_OK : E_FAIL;
        }

    private:
        bool tamamla()
        {
            tamamlandi_ = true;
            Microsoft::WRL::ComPtr<IzinIstegi> istek(istek_);
            return Kayit::ui_da([istek] { istek->karar_ver(); });
        }
        IzinIstegi* istek_;
        bool tamamlandi_ = false;
    };

    class IzinIstegi final : public TekArayuz<ICoreWebView2PermissionRequestedEventArgs> {
    public:
        IzinIstegi(int64_t no_, const std::wstring& kaynak_, COREWEBVIEW2_PERMISSION_KIND tur_, BOOL kullanici_,
                   std::function<void(COREWEBVIEW2_PERMISSION_STATE)> sonuc)
            : no(no_), kaynak(kaynak_), tur(tur_), kullanici(kullanici_), sonuc_(std::move(sonuc)) {}
        const int64_t no;
        std::wstring kaynak;
        COREWEBVIEW2_PERMISSION_KIND tur;
        BOOL kullanici;
        COREWEBVIEW2_PERMISSION_STATE durum = COREWEBVIEW2_PERMISSION_STATE_DEFAULT;
        bool ertelendi = false;

        void karar_ver()
        {
            if (karar_verildi_)
                return;
            karar_verildi_ = true;
            auto is = std::move(sonuc_);   // the decision may release the last reference to us
            if (is)
                is(durum);
        }

        KORVA_METIN_ALICI(get_Uri, kaynak)
        KORVA_ALICI(get_PermissionKind, COREWEBVIEW2_PERMISSION_KIND, tur)
        KORVA_ALICI(get_IsUserInitiated, BOOL, kullanici)
        KORVA_ALICI(get_State, COREWEBVIEW2_PERMISSION_STATE, durum)
        HRESULT STDMETHODCALLTYPE put_State(COREWEBVIEW2_PERMISSION_STATE deger) override
        {
            Kayit::yaz(no, "put_State", std::to_string(static_cast<int>(deger)));
            if (deger < COREWEBVIEW2_PERMISSION_STATE_DEFAULT || deger > COREWEBVIEW2_PERMISSION_STATE_DENY)
                return E_INVALIDARG;
            if (karar_verildi_)
                return E_UNEXPECTED;   // the page has its answer already
            durum = deger;
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** erteleme) override
        {
            Kayit::yaz(no, "GetDeferral", std::string());
            if (!erteleme)
                return E_POINTER;
            *erteleme = nullptr;
            if (karar_verildi_ || ertelendi)
                return E_UNEXPECTED;   // decided, or one deferral holds it already
            *erteleme = new (std::nothrow) IzinErtelemesi(no, this);
            if (!*erteleme)
                return E_OUTOFMEMORY;
            ertelendi = true;
            return S_OK;
        }

    private:
        std::function<void(COREWEBVIEW2_PERMISSION_STATE)> sonuc_;
        bool karar_verildi_ = false;
    };

#undef KORVA_ALICI
#undef KORVA_METIN_ALICI
#undef KORVA_AYAR
};

// The download objects both engine libraries hand the host. Header-only, like the
// rest of engine_shared/.
//
// - IndirmeIslemi: one download (ICoreWebView2DownloadOperation). The engine feeds
//   it (ilerledi, tamamlandi, kesildi) on the UI thread, and each change reaches the
//   host's handlers at once, from there. Cancel asks the engine through the function
//   it gave (iptal_islevi); the engine then reports the end with kesildi. There is
//   no pause: Pause and Resume answer E_NOTIMPL and CanResume is FALSE.
// - IndirmeBaslamaArgumani: DownloadStarting's arguments. The host decides in its
//   handler, or later by completing a deferral; the engine's `karar` runs once with
//   Cancel and ResultFilePath.
// - indirme_islemi_olustur: a new operation with the path the engine proposes (see
//   indirme_yolu.h for where files go).
#pragma once

#include "abone_listesi.h"
#include "com_nesnesi.h"
#include "indirme_yolu.h"
#include "wv2_arayuz.h"

#include <functional>
#include <new>
#include <string>

// ---------------------------------------------------------------------------
// The download.

class IndirmeIslemi final : public TekArayuz<ICoreWebView2DownloadOperation> {
public:
    IndirmeIslemi(std::wstring adres, std::wstring tur, std::wstring yol)
        : adres_(std::move(adres)), tur_(std::move(tur)), yol_(std::move(yol)) {}

    // ---- For the engine.
    void iptal_islevi_koy(std::function<void()> islev) { iptal_islevi_ = std::move(islev); }
    void yol_koy(const std::wstring& yol) { yol_ = yol; }
    const std::wstring& yol() const { return yol_; }
    bool suruyor() const { return durum_ == COREWEBVIEW2_DOWNLOAD_STATE_IN_PROGRESS; }
    bool iptal_istendi() const { return iptal_istendi_; }

    void ilerledi(int64_t alinan, int64_t toplam)
    {
        if (!suruyor())
            return;
        toplam_ = toplam;
        if (alinan == alinan_)
            return;
        alinan_ = alinan;
        Microsoft::WRL::ComPtr<IndirmeIslemi> koru(this);
        aboneler_[BAYT].yay<ICoreWebView2BytesReceivedChangedEventHandler>(this, bos_arguman(), [] { return true; });
    }
    void tamamlandi(const std::wstring& yol)
    {
        if (!suruyor())
            return;
        yol_ = yol;
        if (toplam_ < 0 || toplam_ < alinan_)
            toplam_ = alinan_;
        durum_degisti(COREWEBVIEW2_DOWNLOAD_STATE_COMPLETED, COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_NONE);
    }
    void kesildi(COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON neden)
    {
        if (suruyor())
            durum_degisti(COREWEBVIEW2_DOWNLOAD_STATE_INTERRUPTED, neden);
    }

    // ---- ICoreWebView2DownloadOperation.
    HRESULT STDMETHODCALLTYPE add_BytesReceivedChanged(ICoreWebView2BytesReceivedChangedEventHandler* isleyici,
                                                       EventRegistrationToken* jeton) override
    {
        return aboneler_[BAYT].ekle(isleyici, jeton);
    }
    HRESULT STDMETHODCALLTYPE remove_BytesReceivedChanged(EventRegistrationToken jeton) override
    {
        return aboneler_[BAYT].sil(jeton);
    }
    // No estimate is ever made, so this event never fires; subscribing still works.
    HRESULT STDMETHODCALLTYPE add_EstimatedEndTimeChanged(ICoreWebView2EstimatedEndTimeChangedEventHandler* isleyici,
                                                          EventRegistrationToken* jeton) override
    {
        return aboneler_[SURE].ekle(isleyici, jeton);
    }
    HRESULT STDMETHODCALLTYPE remove_EstimatedEndTimeChanged(EventRegistrationToken jeton) override
    {
        return aboneler_[SURE].sil(jeton);
    }
    HRESULT STDMETHODCALLTYPE add_StateChanged(ICoreWebView2StateChangedEventHandler* isleyici,
                                               EventRegistrationToken* jeton) override
    {
        return aboneler_[DURUM].ekle(isleyici, jeton);
    }
    HRESULT STDMETHODCALLTYPE remove_StateChanged(EventRegistrationToken jeton) override
    {
        return aboneler_[DURUM].sil(jeton);
    }
    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* deger) override { return metin_ver(deger, adres_); }
    HRESULT STDMETHODCALLTYPE get_ContentDisposition(LPWSTR* deger) override { return metin_ver(deger, L""); }
    HRESULT STDMETHODCALLTYPE get_MimeType(LPWSTR* deger) override { return metin_ver(deger, tur_); }
    HRESULT STDMETHODCALLTYPE get_TotalBytesToReceive(INT64* deger) override { return sayi_ver(deger, toplam_); }
    HRESULT STDMETHODCALLTYPE get_BytesReceived(INT64* deger) override { return sayi_ver(deger, alinan_); }
    HRESULT STDMETHODCALLTYPE get_EstimatedEndTime(LPWSTR* deger) override { return metin_ver(deger, L""); }
    HRESULT STDMETHODCALLTYPE get_ResultFilePath(LPWSTR* deger) override { return metin_ver(deger, yol_); }
    HRESULT STDMETHODCALLTYPE get_State(COREWEBVIEW2_DOWNLOAD_STATE* deger) override
    {
        if (!deger)
            return E_POINTER;
        *deger = durum_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_InterruptReason(COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON* deger) override
    {
        if (!deger)
            return E_POINTER;
        *deger = neden_;
        return S_OK;
    }
    // A download that has ended stays as it ended; a running one stops, and its end
    // is reported by the engine later, from the message loop.
    HRESULT STDMETHODCALLTYPE Cancel() override
    {
        if (!suruyor() || iptal_istendi_)
            return S_OK;
        iptal_istendi_ = true;
        if (iptal_islevi_)
            iptal_islevi_();
        else
            kesildi(COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_USER_CANCELED);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Pause() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Resume() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_CanResume(BOOL* deger) override
    {
        if (!deger)
            return E_POINTER;
        *deger = FALSE;
        return S_OK;
    }

private:
    enum { BAYT, SURE, DURUM, OLAY_SAYISI };

    class BosArguman final : public TekArayuz<IUnknown> {};
    static IUnknown* bos_arguman()
    {
        static BosArguman* arguman = new BosArguman();   // shared, never freed
        return arguman;
    }
    static HRESULT metin_ver(LPWSTR* deger, const std::wstring& metin) { return com_metni_ver(deger, metin); }
    static HRESULT sayi_ver(INT64* deger, int64_t sayi)
    {
        if (!deger)
            return E_POINTER;
        *deger = sayi;
        return S_OK;
    }
    void durum_degisti(COREWEBVIEW2_DOWNLOAD_STATE durum, COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON neden)
    {
        durum_ = durum;
        neden_ = neden;
        iptal_islevi_ = nullptr;
        Microsoft::WRL::ComPtr<IndirmeIslemi> koru(this);
        aboneler_[DURUM].yay<ICoreWebView2StateChangedEventHandler>(this, bos_arguman(), [] { return true; });
    }

    std::wstring adres_, tur_, yol_;
    int64_t toplam_ = -1, alinan_ = 0;
    COREWEBVIEW2_DOWNLOAD_STATE durum_ = COREWEBVIEW2_DOWNLOAD_STATE_IN_PROGRESS;
    COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON neden_ = COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_NONE;
    bool iptal_istendi_ = false;
    std::function<void()> iptal_islevi_;
    AboneListesi aboneler_[OLAY_SAYISI];
};

// ---------------------------------------------------------------------------
// DownloadStarting's arguments and their deferral.

class IndirmeBaslamaArgumani final : public TekArayuz<ICoreWebView2DownloadStartingEventArgs> {
public:
    // `karar` runs once, with Cancel and ResultFilePath; `sonra` runs work from the
    // engine's message loop (a deferral's completion decides from there).
    using Karar = std::function<void(bool iptal, const std::wstring& yol)>;
    IndirmeBaslamaArgumani(Microsoft::WRL::ComPtr<IndirmeIslemi> islem, Karar karar,
                           std::function<bool(std::function<void()>)> sonra)
        : islem_(std::move(islem)), karar_(std::move(karar)), sonra_(std::move(sonra)), yol_(islem_->yol()) {}

    // Called once the handlers ran: decides now unless one took a deferral.
    void isleyiciler_bitti()
    {
        if (!ertelendi_)
            karar_ver();
    }
    bool islendi() const { return islendi_ != FALSE; }

    HRESULT STDMETHODCALLTYPE get_DownloadOperation(ICoreWebView2DownloadOperation** deger) override
    {
        if (!deger)
            return E_POINTER;
        *deger = islem_.Get();
        (*deger)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Cancel(BOOL* deger) override
    {
        if (!deger)
            return E_POINTER;
        *deger = iptal_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Cancel(BOOL deger) override
    {
        iptal_ = deger ? TRUE : FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_ResultFilePath(LPWSTR* deger) override
    {
        if (!deger)
            return E_POINTER;
        *deger = static_cast<LPWSTR>(CoTaskMemAlloc((yol_.size() + 1) * sizeof(wchar_t)));
        if (!*deger)
            return E_OUTOFMEMORY;
        memcpy(*deger, yol_.c_str(), (yol_.size() + 1) * sizeof(wchar_t));
        return S_OK;
    }
    // Only a full path is taken (a drive and a folder, or a share).
    HRESULT STDMETHODCALLTYPE put_ResultFilePath(LPCWSTR deger) override
    {
        if (!deger)
            return E_INVALIDARG;
        std::wstring yol = deger;
        bool tam = (yol.size() > 3 && yol[1] == L':' && (yol[2] == L'\\' || yol[2] == L'/')) ||
                   yol.compare(0, 2, L"\\\\") == 0;
        if (!tam || yol.back() == L'\\' || yol.back() == L'/')
            return E_INVALIDARG;
        yol_ = yol;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Handled(BOOL* deger) override
    {
        if (!deger)
            return E_POINTER;
        *deger = islendi_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Handled(BOOL deger) override
    {
        islendi_ = deger ? TRUE : FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deger) override
    {
        if (!deger)
            return E_POINTER;
        *deger = nullptr;
        if (karar_verildi_)
            return E_UNEXPECTED;
        *deger = new (std::nothrow) Erteleme(this);
        if (!*deger)
            return E_OUTOFMEMORY;
        ertelendi_ = true;
        return S_OK;
    }

private:
    class Erteleme final : public TekArayuz<ICoreWebView2Deferral> {
    public:
        explicit Erteleme(IndirmeBaslamaArgumani* arguman) : arguman_(arguman) {}
        HRESULT STDMETHODCALLTYPE Complete() override
        {
            if (!arguman_)
                return E_UNEXPECTED;   // completed once already
            Microsoft::WRL::ComPtr<IndirmeBaslamaArgumani> arguman = std::move(arguman_);
            return arguman->sonra_([arguman] { arguman->karar_ver(); }) ? S_OK : E_FAIL;
        }

    private:
        Microsoft::WRL::ComPtr<IndirmeBaslamaArgumani> arguman_;
    };

    void karar_ver()
    {
        if (karar_verildi_)
            return;
        karar_verildi_ = true;
        auto karar = std::move(karar_);   // may release the last reference to us
        if (karar)
            karar(iptal_ != FALSE, yol_);
    }

    Microsoft::WRL::ComPtr<IndirmeIslemi> islem_;
    Karar karar_;
    std::function<bool(std::function<void()>)> sonra_;
    std::wstring yol_;
    BOOL iptal_ = FALSE, islendi_ = FALSE;
    bool ertelendi_ = false, karar_verildi_ = false;
};

inline Microsoft::WRL::ComPtr<IndirmeIslemi> indirme_islemi_olustur(const std::wstring& adres, const std::wstring& tur,
                                                    const std::wstring& onerilen_ad)
{
    std::wstring klasor = indirme_klasoru();
    std::wstring yol = klasor.empty() ? std::wstring() : bos_yol(klasor + L"\\" + guvenli_dosya_adi(onerilen_ad));
    return sahiplen(new (std::nothrow) IndirmeIslemi(adres, tur, yol));
}

// What both engine libraries hand the host when a server's certificate cannot be
// verified, and the hosts whose bad certificate the host let pass. Header-only,
// like the rest of engine_shared/.
//
// - SertifikaArgumanlari<Kayit>::olustur makes the event's arguments (Kayit as in
//   olay_argumanlari.h: `yaz` logs every call, `ui_da` runs work later from the
//   message loop). The decision (the Action the host left, DEFAULT at first) runs
//   once: when the engine calls isleyiciler_bitti after the handlers, or, when a
//   handler took a deferral, once that deferral is completed.
// - The allowed hosts last for the engine's run (the library's life in the process)
//   until the host clears them. A host is the address's host with its port when the
//   address names one, in lower case: a server on another port is another server.
#pragma once

#include "com_nesnesi.h"
#include "wv2_arayuz.h"

#include <cstdint>
#include <cwctype>
#include <functional>
#include <new>
#include <set>
#include <string>

// What a certificate says of itself; empty where the engine does not know it.
struct SertifikaBilgisi {
    std::wstring konu, veren, gorunen_ad, pem, seri_no;
    double baslangic = 0, bitis = 0;   // seconds since 1970-01-01 UTC
};

// "host[:port]" of an absolute address, in lower case; empty when it has none.
inline std::wstring sertifika_hostu(const std::wstring& adres)
{
    size_t sema = adres.find(L"://");
    if (sema == std::wstring::npos || sema == 0)
        return std::wstring();
    size_t bas = sema + 3;
    size_t son = adres.find_first_of(L"/?#", bas);
    std::wstring yetki = adres.substr(bas, son == std::wstring::npos ? std::wstring::npos : son - bas);
    size_t kullanici = yetki.rfind(L'@');
    if (kullanici != std::wstring::npos)
        yetki = yetki.substr(kullanici + 1);
    for (wchar_t& c : yetki)
        c = static_cast<wchar_t>(std::towlower(c));
    return yetki;
}

inline std::set<std::wstring>& izinli_sertifika_hostlari()
{
    static std::set<std::wstring> hostlar;
    return hostlar;
}

inline bool sertifikasi_izinli_mi(const std::wstring& adres)
{
    std::wstring host = sertifika_hostu(adres);
    return !host.empty() && izinli_sertifika_hostlari().count(host) != 0;
}

inline void sertifikaya_izin_ver(const std::wstring& adres)
{
    std::wstring host = sertifika_hostu(adres);
    if (!host.empty())
        izinli_sertifika_hostlari().insert(host);
}

template <class Kayit>
struct SertifikaArgumanlari {
    using Sonuc = std::function<void(COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION)>;

    static ICoreWebView2ServerCertificateErrorDetectedEventArgs* olustur(
        COREWEBVIEW2_WEB_ERROR_STATUS durum, const std::wstring& adres, const SertifikaBilgisi& bilgi, Sonuc sonuc,
        int64_t no = 0)
    {
        return new (std::nothrow) Hata(no, durum, adres, bilgi, std::move(sonuc));
    }

    // Called after the handlers ran: decides now unless a deferral is pending.
    static void isleyiciler_bitti(ICoreWebView2ServerCertificateErrorDetectedEventArgs* arguman)
    {
        auto* hata = static_cast<Hata*>(arguman);
        if (!hata->ertelendi)
            hata->karar_ver();
    }

private:
    static HRESULT metin_ver(int64_t no, const char* yontem, const std::wstring& metin, LPWSTR* deger)
    {
        Kayit::yaz(no, yontem, std::string());
        return com_metni_ver(deger, metin);
    }

    class Sertifika final : public TekArayuz<ICoreWebView2Certificate> {
    public:
        Sertifika(int64_t no_, const SertifikaBilgisi& bilgi_) : no(no_), bilgi(bilgi_) {}
        const int64_t no;
        const SertifikaBilgisi bilgi;

        HRESULT STDMETHODCALLTYPE get_Subject(LPWSTR* d) override { return metin_ver(no, "get_Subject", bilgi.konu, d); }
        HRESULT STDMETHODCALLTYPE get_Issuer(LPWSTR* d) override { return metin_ver(no, "get_Issuer", bilgi.veren, d); }
        HRESULT STDMETHODCALLTYPE get_ValidFrom(double* d) override { return sayi_ver("get_ValidFrom", bilgi.baslangic, d); }
        HRESULT STDMETHODCALLTYPE get_ValidTo(double* d) override { return sayi_ver("get_ValidTo", bilgi.bitis, d); }
        HRESULT STDMETHODCALLTYPE get_DerEncodedSerialNumber(LPWSTR* d) override
        {
            return metin_ver(no, "get_DerEncodedSerialNumber", bilgi.seri_no, d);
        }
        HRESULT STDMETHODCALLTYPE get_DisplayName(LPWSTR* d) override
        {
            return metin_ver(no, "get_DisplayName", bilgi.gorunen_ad, d);
        }
        HRESULT STDMETHODCALLTYPE ToPemEncoding(LPWSTR* d) override { return metin_ver(no, "ToPemEncoding", bilgi.pem, d); }
        HRESULT STDMETHODCALLTYPE get_PemEncodedIssuerCertificateChain(IUnknown** zincir) override
        {
            Kayit::yaz(no, "get_PemEncodedIssuerCertificateChain", std::string());
            if (zincir)
                *zincir = nullptr;
            return E_NOTIMPL;
        }

    private:
        HRESULT sayi_ver(const char* yontem, double sayi, double* deger)
        {
            Kayit::yaz(no, yontem, std::string());
            if (!deger)
                return E_POINTER;
            *deger = sayi;
            return S_OK;
        }
    };

    class Hata;

    class Erteleme final : public TekArayuz<ICoreWebView2Deferral> {
    public:
        Erteleme(int64_t no_, Hata* hata) : no(no_), hata_(hata) { hata_->AddRef(); }
        ~Erteleme() override { hata_->Release(); }
        const int64_t no;

        HRESULT STDMETHODCALLTYPE Complete() override
        {
            Kayit::yaz(no, "Complete", std::string());
            Microsoft::WRL::ComPtr<Hata> hata(hata_);
            return Kayit::ui_da([hata] { hata->karar_ver(); }) ? S_OK : E_FAIL;
        }

    private:
        Hata* hata_;
    };

    class Hata final : public TekArayuz<ICoreWebView2ServerCertificateErrorDetectedEventArgs> {
    public:
        Hata(int64_t no_, COREWEBVIEW2_WEB_ERROR_STATUS durum_, const std::wstring& adres_,
             const SertifikaBilgisi& bilgi_, Sonuc sonuc)
            : no(no_), durum(durum_), adres(adres_), bilgi(bilgi_), sonuc_(std::move(sonuc)) {}
        const int64_t no;
        const COREWEBVIEW2_WEB_ERROR_STATUS durum;
        const std::wstring adres;
        const SertifikaBilgisi bilgi;
        COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION eylem = COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_DEFAULT;
        bool ertelendi = false;

        void karar_ver()
        {
            if (karar_verildi_)
                return;
            karar_verildi_ = true;
            // Moved out first: the decision may release the last reference to us.
            Sonuc is = std::move(sonuc_);
            if (is)
                is(eylem);
        }

        HRESULT STDMETHODCALLTYPE get_ErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* deger) override
        {
            Kayit::yaz(no, "get_ErrorStatus", std::string());
            if (!deger)
                return E_POINTER;
            *deger = durum;
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE get_RequestUri(LPWSTR* deger) override
        {
            return metin_ver(no, "get_RequestUri", adres, deger);
        }
        HRESULT STDMETHODCALLTYPE get_ServerCertificate(ICoreWebView2Certificate** deger) override
        {
            Kayit::yaz(no, "get_ServerCertificate", std::string());
            if (!deger)
                return E_POINTER;
            *deger = new (std::nothrow) Sertifika(no, bilgi);
            return *deger ? S_OK : E_OUTOFMEMORY;
        }
        HRESULT STDMETHODCALLTYPE get_Action(COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION* deger) override
        {
            Kayit::yaz(no, "get_Action", std::string());
            if (!deger)
                return E_POINTER;
            *deger = eylem;
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE put_Action(COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION deger) override
        {
            Kayit::yaz(no, "put_Action", std::to_string(static_cast<int>(deger)));
            if (deger < COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_ALWAYS_ALLOW ||
                deger > COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_DEFAULT)
                return E_INVALIDARG;
            eylem = deger;
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** erteleme) override
        {
            Kayit::yaz(no, "GetDeferral", std::string());
            if (!erteleme)
                return E_POINTER;
            *erteleme = nullptr;
            if (karar_verildi_)
                return E_UNEXPECTED;   // already decided
            *erteleme = new (std::nothrow) Erteleme(no, this);
            if (!*erteleme)
                return E_OUTOFMEMORY;
            ertelendi = true;
            return S_OK;
        }

    private:
        Sonuc sonuc_;
        bool karar_verildi_ = false;
    };
};

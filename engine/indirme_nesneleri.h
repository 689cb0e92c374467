// The download objects both engine libraries hand the host, and the rules for where
// a downloaded file goes. Header-only, like the rest of engine/.
//
// - IndirmeIslemi: one download (ICoreWebView2DownloadOperation). The engine feeds
//   it (ilerledi, tamamlandi, kesildi) on the UI thread, and each change reaches the
//   host's handlers at once, from there. Cancel asks the engine through the function
//   it gave (iptal_islevi); the engine then reports the end with kesildi. There is
//   no pause: Pause and Resume answer E_NOTIMPL and CanResume is FALSE.
// - IndirmeBaslamaArgumani: DownloadStarting's arguments. The host decides in its
//   handler, or later by completing a deferral; the engine's `karar` runs once with
//   Cancel and ResultFilePath.
// - The user's Downloads folder (KORVA_INDIRME_KLASORU names another, for tests and
//   portable use), a file name made safe for it, a free name (" (1)", " (2)" before
//   the extension), and the final move: a file is written under a temporary name in
//   the engine's own folder and takes its final name only once complete, never over
//   a file that is there.
#pragma once

#include "abone_listesi.h"
#include "com_nesnesi.h"
#include "wv2_arayuz.h"

#include <shlobj.h>

#include <functional>
#include <new>
#include <string>

// ---------------------------------------------------------------------------
// Where files go.

// The user's Downloads folder, made when missing; empty when there is none.
inline std::wstring indirme_klasoru()
{
    wchar_t ortam[MAX_PATH];
    DWORD boy = GetEnvironmentVariableW(L"KORVA_INDIRME_KLASORU", ortam, MAX_PATH);
    std::wstring klasor;
    if (boy > 0 && boy < MAX_PATH) {
        klasor = ortam;
    } else {
        // FOLDERID_Downloads, written out so that no import library must carry it.
        static const GUID INDIRILENLER = {0x374de290, 0x123f, 0x4565, {0x91, 0x64, 0x39, 0xc4, 0x92, 0x5e, 0x46, 0x7b}};
        PWSTR yol = nullptr;
        if (SUCCEEDED(SHGetKnownFolderPath(INDIRILENLER, KF_FLAG_CREATE, nullptr, &yol)) && yol)
            klasor = yol;
        CoTaskMemFree(yol);
    }
    while (!klasor.empty() && (klasor.back() == L'\\' || klasor.back() == L'/'))
        klasor.pop_back();
    if (klasor.empty())
        return klasor;
    if (GetFileAttributesW(klasor.c_str()) == INVALID_FILE_ATTRIBUTES)
        SHCreateDirectoryExW(nullptr, klasor.c_str(), nullptr);
    return klasor;
}

// A suggested name as a file name of this folder: no folder part, no character
// Windows refuses, no trailing dots or spaces, no device name, at most 200
// characters (the extension kept); "indirme" when nothing is left.
inline std::wstring guvenli_dosya_adi(const std::wstring& onerilen)
{
    std::wstring ad = onerilen.substr(onerilen.find_last_of(L"\\/") == std::wstring::npos
                                          ? 0
                                          : onerilen.find_last_of(L"\\/") + 1);
    for (wchar_t& c : ad)
        if (c < 32 || wcschr(L"<>:\"|?*", c))
            c = L'_';
    while (!ad.empty() && (ad.back() == L'.' || ad.back() == L' '))
        ad.pop_back();
    while (!ad.empty() && ad.front() == L' ')
        ad.erase(0, 1);
    if (ad.empty())
        return L"indirme";
    std::wstring govde = ad.substr(0, ad.find(L'.'));
    for (wchar_t& c : govde)
        c = towupper(c);
    static const wchar_t* const AYGITLAR[] = {L"CON", L"PRN", L"AUX", L"NUL", L"COM1", L"COM2", L"COM3", L"COM4",
                                              L"COM5", L"COM6", L"COM7", L"COM8", L"COM9", L"LPT1", L"LPT2",
                                              L"LPT3", L"LPT4", L"LPT5", L"LPT6", L"LPT7", L"LPT8", L"LPT9"};
    for (const wchar_t* aygit : AYGITLAR)
        if (govde == aygit)
            ad = L"_" + ad;
    if (ad.size() > 200) {
        size_t nokta = ad.rfind(L'.');
        std::wstring uzanti = nokta != std::wstring::npos && ad.size() - nokta <= 16 ? ad.substr(nokta) : L"";
        ad = ad.substr(0, 200 - uzanti.size()) + uzanti;
    }
    return ad;
}

// The path with " (n)" before the extension: n = 0 gives the path itself.
inline std::wstring numarali_yol(const std::wstring& yol, int numara)
{
    if (numara == 0)
        return yol;
    size_t ayrac = yol.find_last_of(L"\\/");
    size_t nokta = yol.rfind(L'.');
    if (nokta == std::wstring::npos || (ayrac != std::wstring::npos && nokta < ayrac) ||
        nokta == (ayrac == std::wstring::npos ? 0 : ayrac + 1))
        nokta = yol.size();
    return yol.substr(0, nokta) + L" (" + std::to_wstring(numara) + L")" + yol.substr(nokta);
}

// The first of the path, "name (1).ext", "name (2).ext"... that is free; empty
// when 10,000 are taken.
inline std::wstring bos_yol(const std::wstring& yol)
{
    for (int numara = 0; numara < 10000; ++numara) {
        std::wstring aday = numarali_yol(yol, numara);
        if (GetFileAttributesW(aday.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND)
            return aday;
    }
    return std::wstring();
}

// Moves a complete file from the engine's folder to its final path, or to the first
// free name after it ("name (1).ext"...). A move to another drive copies first under a
// temporary name beside the final one, so the final name only ever holds a whole
// file. Runs on a worker thread (a copy takes time); sets `yol` to the path taken and
// answers the interruption reason (NONE on success).
inline COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON dosyayi_yerine_tasi(const std::wstring& gecici, std::wstring& yol)
{
    auto neden = [](DWORD hata) {
        switch (hata) {
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_NO_SPACE;
        case ERROR_ACCESS_DENIED: return COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_ACCESS_DENIED;
        case ERROR_FILENAME_EXCED_RANGE: return COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_NAME_TOO_LONG;
        default: return COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_FAILED;
        }
    };
    std::wstring kaynak = gecici;
    std::wstring ara;   // the copy beside the final name, when the drives differ
    for (int numara = 0; numara < 10000; ++numara) {
        std::wstring aday = numarali_yol(yol, numara);
        if (MoveFileExW(kaynak.c_str(), aday.c_str(), MOVEFILE_WRITE_THROUGH)) {
            yol = aday;
            return COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_NONE;
        }
        DWORD hata = GetLastError();
        if (hata == ERROR_ALREADY_EXISTS || hata == ERROR_FILE_EXISTS)
            continue;
        if (hata != ERROR_NOT_SAME_DEVICE || !ara.empty()) {
            if (!ara.empty())
                DeleteFileW(ara.c_str());
            return neden(hata);
        }
        size_t ayrac = yol.find_last_of(L"\\/");
        ara = (ayrac == std::wstring::npos ? std::wstring() : yol.substr(0, ayrac + 1)) + L".korva-indiriliyor-" +
              std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64());
        if (!MoveFileExW(kaynak.c_str(), ara.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH)) {
            DWORD kopya_hatasi = GetLastError();
            DeleteFileW(ara.c_str());
            return neden(kopya_hatasi);
        }
        kaynak = ara;
        --numara;   // the same name again, now from the same drive
    }
    if (!ara.empty())
        DeleteFileW(ara.c_str());
    return COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_FAILED;
}

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
    static HRESULT metin_ver(LPWSTR* deger, const std::wstring& metin)
    {
        if (!deger)
            return E_POINTER;
        *deger = static_cast<LPWSTR>(CoTaskMemAlloc((metin.size() + 1) * sizeof(wchar_t)));
        if (!*deger)
            return E_OUTOFMEMORY;
        memcpy(*deger, metin.c_str(), (metin.size() + 1) * sizeof(wchar_t));
        return S_OK;
    }
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

// Test downloads. The stand-in has no network, so it serves one kind of address
// itself, as a file whose size and speed the test chooses:
//
//   http://indirme.standin/NAME?boyut=BYTES&hiz=BYTES_PER_SECOND&hata=BYTES
//
// (https too; any other host of the scheme still fails as having no network).
// NAME is the suggested file name; boyut its size (default 1024); hiz how fast it
// comes (0 or missing: as fast as it can, in 1 MiB steps); hata, when given, breaks
// the transfer once that many bytes came (NETWORK_FAILED). Byte i of the file is
// (i * 7 + 3) mod 256, so a test can check every byte. A navigation to such an
// address does not change the page: it starts a download and completes as canceled.
//
// The file is written on the engine's thread, in steps every 50 ms, under a
// temporary name in a folder of this process inside the temporary folder, and
// moved to its final name (a free one) once whole.
#include "motor_ic.h"

#include "indirme_nesneleri.h"

#include <map>

namespace {

const wchar_t* const ONEKLER[] = {L"http://indirme.standin/", L"https://indirme.standin/"};

size_t onek_boyu(const std::wstring& adres)
{
    for (const wchar_t* onek : ONEKLER)
        if (adres.compare(0, wcslen(onek), onek) == 0)
            return wcslen(onek);
    return 0;
}
const UINT ADIM_MS = 50;
const int64_t EN_BUYUK_ADIM = 1 << 20;

struct Aktarim {
    ComPtr<IndirmeIslemi> islem;
    HANDLE dosya = INVALID_HANDLE_VALUE;
    std::wstring gecici, yol;
    int64_t boyut = 0, hiz = 0, hata = -1, yazilan = 0;
};

std::map<UINT_PTR, Aktarim> g_aktarimlar;   // by timer

int64_t parametre(const std::wstring& adres, const wchar_t* ad, int64_t varsayilan)
{
    size_t soru = adres.find(L'?');
    if (soru == std::wstring::npos)
        return varsayilan;
    std::wstring aranan = std::wstring(ad) + L"=";
    for (size_t yer = soru + 1; yer < adres.size();) {
        size_t son = adres.find(L'&', yer);
        if (son == std::wstring::npos)
            son = adres.size();
        if (adres.compare(yer, aranan.size(), aranan) == 0)
            return _wtoi64(adres.substr(yer + aranan.size(), son - yer - aranan.size()).c_str());
        yer = son + 1;
    }
    return varsayilan;
}

std::wstring gecici_klasor()
{
    wchar_t yol[MAX_PATH];
    DWORD boy = GetTempPathW(MAX_PATH, yol);
    std::wstring klasor = (boy > 0 && boy < MAX_PATH ? std::wstring(yol) : std::wstring(L".\\")) +
                          L"korva-standin-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(klasor.c_str(), nullptr);
    return klasor;
}

void bitir(UINT_PTR zamanlayici, COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON neden)
{
    KillTimer(nullptr, zamanlayici);
    auto bulunan = g_aktarimlar.find(zamanlayici);
    if (bulunan == g_aktarimlar.end())
        return;
    Aktarim aktarim = std::move(bulunan->second);
    g_aktarimlar.erase(bulunan);
    if (aktarim.dosya != INVALID_HANDLE_VALUE)
        CloseHandle(aktarim.dosya);
    if (neden == COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_NONE) {
        std::wstring yol = aktarim.yol;
        neden = yol.empty() ? COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_FAILED
                            : dosyayi_yerine_tasi(aktarim.gecici, yol);
        if (neden == COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_NONE) {
            aktarim.islem->tamamlandi(yol);
            return;
        }
    }
    DeleteFileW(aktarim.gecici.c_str());
    aktarim.islem->kesildi(neden);
}

void CALLBACK adim(HWND, UINT, UINT_PTR zamanlayici, DWORD)
{
    auto bulunan = g_aktarimlar.find(zamanlayici);
    if (bulunan == g_aktarimlar.end()) {
        KillTimer(nullptr, zamanlayici);
        return;
    }
    Aktarim& a = bulunan->second;
    int64_t adim_boyu = a.hiz > 0 ? std::max<int64_t>(1, a.hiz * ADIM_MS / 1000) : EN_BUYUK_ADIM;
    int64_t son = std::min(a.boyut, a.yazilan + adim_boyu);
    if (a.hata >= 0)
        son = std::min(son, a.hata);
    std::string parca(static_cast<size_t>(son - a.yazilan), '\0');
    for (int64_t i = a.yazilan; i < son; ++i)
        parca[static_cast<size_t>(i - a.yazilan)] = static_cast<char>((i * 7 + 3) & 0xFF);
    DWORD yazildi = 0;
    if (!parca.empty() && (!WriteFile(a.dosya, parca.data(), static_cast<DWORD>(parca.size()), &yazildi, nullptr) ||
                           yazildi != parca.size())) {
        bitir(zamanlayici, GetLastError() == ERROR_DISK_FULL ? COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_NO_SPACE
                                                              : COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_FAILED);
        return;
    }
    a.yazilan = son;
    ComPtr<IndirmeIslemi> islem = a.islem;
    islem->ilerledi(son, a.boyut);   // a handler may cancel it: look it up again
    if (g_aktarimlar.find(zamanlayici) == g_aktarimlar.end())
        return;
    if (a.hata >= 0 && son >= a.hata)
        bitir(zamanlayici, COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_NETWORK_FAILED);
    else if (son >= a.boyut)
        bitir(zamanlayici, COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_NONE);
}

void baslat(ComPtr<IndirmeIslemi> islem, const std::wstring& adres, const std::wstring& yol)
{
    static int64_t sayac;
    Aktarim aktarim;
    aktarim.islem = islem;
    aktarim.yol = yol;
    aktarim.boyut = std::max<int64_t>(0, parametre(adres, L"boyut", 1024));
    aktarim.hiz = std::max<int64_t>(0, parametre(adres, L"hiz", 0));
    aktarim.hata = parametre(adres, L"hata", -1);
    aktarim.gecici = gecici_klasor() + L"\\" + std::to_wstring(++sayac) + L".indiriliyor";
    aktarim.dosya = CreateFileW(aktarim.gecici.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    UINT_PTR zamanlayici = aktarim.dosya == INVALID_HANDLE_VALUE ? 0 : SetTimer(nullptr, 0, ADIM_MS, adim);
    if (!zamanlayici) {
        if (aktarim.dosya != INVALID_HANDLE_VALUE)
            CloseHandle(aktarim.dosya);
        DeleteFileW(aktarim.gecici.c_str());
        teslim_et(nullptr, [islem] { islem->kesildi(COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_FILE_FAILED); });
        return;
    }
    g_aktarimlar[zamanlayici] = std::move(aktarim);
    // Cancel stops the writing now; the end reaches the host later, as every event.
    islem->iptal_islevi_koy([zamanlayici, islem] {
        auto bulunan = g_aktarimlar.find(zamanlayici);
        if (bulunan == g_aktarimlar.end())
            return;
        KillTimer(nullptr, zamanlayici);
        CloseHandle(bulunan->second.dosya);
        DeleteFileW(bulunan->second.gecici.c_str());
        g_aktarimlar.erase(bulunan);
        teslim_et(nullptr, [islem] { islem->kesildi(COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_USER_CANCELED); });
    });
}

}  // namespace

bool indirme_adresi_mi(const std::wstring& adres)
{
    return onek_boyu(adres) > 0;
}

void indirme_baslat(const std::wstring& adres, std::function<void(ICoreWebView2DownloadStartingEventArgs*)> yay)
{
    std::wstring ad = adres.substr(onek_boyu(adres));
    ad = ad.substr(0, ad.find_first_of(L"?#"));
    ComPtr<IndirmeIslemi> islem = indirme_islemi_olustur(adres, L"application/octet-stream", ad);
    if (!islem)
        return;
    auto arguman = sahiplen(new (std::nothrow) IndirmeBaslamaArgumani(
        islem,
        [islem, adres](bool iptal, const std::wstring& yol) {
            if (iptal)
                islem->kesildi(COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_USER_CANCELED);
            else
                baslat(islem, adres, yol);
        },
        [](std::function<void()> is) {
            teslim_et(nullptr, std::move(is));
            return true;
        }));
    if (!arguman)
        return;
    yay(arguman.Get());
    arguman->isleyiciler_bitti();
}

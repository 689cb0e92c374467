// Where a downloaded file goes, shared by both engine libraries (header-only, like
// the rest of engine_shared/): the user's Downloads folder (KORVA_INDIRME_KLASORU names
// another, for tests and portable use), a suggested name made safe for it, a free
// name (" (1)", " (2)" before the extension), and the final move. A file is written
// under a temporary name in the engine's own folder and takes its final name only
// once complete, never over anything that is there: a file, a folder, or a symbolic
// link, even one whose target is missing.
#pragma once

#include "wv2_arayuz.h"

#include "gec_yuklenen.h"

#include <cwctype>
#include <string>

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
        if (SUCCEEDED(bilinen_klasor_al(INDIRILENLER, KF_FLAG_CREATE, &yol)) && yol)
            klasor = yol;
        CoTaskMemFree(yol);
    }
    while (!klasor.empty() && (klasor.back() == L'\\' || klasor.back() == L'/'))
        klasor.pop_back();
    if (klasor.empty())
        return klasor;
    if (GetFileAttributesW(klasor.c_str()) == INVALID_FILE_ATTRIBUTES)
        klasor_yolunu_olustur(klasor.c_str(), nullptr);
    return klasor;
}

// How long a name may be. NTFS takes 255 UTF-16 units a name, but under Wine the
// name is a Unix one, and Linux file systems take 255 bytes of UTF-8: a Turkish,
// Greek or CJK letter counts two or three. Both bounds are kept below 255 so that
// " (9999)" still fits.
constexpr size_t EN_UZUN_AD_BIRIMI = 200;   // UTF-16 units
constexpr size_t EN_UZUN_AD_BAYTI = 240;    // UTF-8 bytes

// The length of a name in UTF-8 (a lone surrogate counts as the three bytes of
// the replacement character it becomes).
inline size_t utf8_boyu(const std::wstring& ad)
{
    size_t bayt = 0;
    for (size_t i = 0; i < ad.size(); ++i) {
        const wchar_t c = ad[i];
        if (c < 0x80)
            bayt += 1;
        else if (c < 0x800)
            bayt += 2;
        else if (c >= 0xD800 && c < 0xDC00 && i + 1 < ad.size() && ad[i + 1] >= 0xDC00 && ad[i + 1] < 0xE000)
            bayt += 4, ++i;
        else
            bayt += 3;
    }
    return bayt;
}

// A name cut to both bounds, keeping its extension (16 units at most, else it goes
// with the rest), never between the two halves of a surrogate pair.
inline std::wstring adi_kisalt(const std::wstring& ad)
{
    if (ad.size() <= EN_UZUN_AD_BIRIMI && utf8_boyu(ad) <= EN_UZUN_AD_BAYTI)
        return ad;
    size_t nokta = ad.rfind(L'.');
    std::wstring uzanti = nokta != std::wstring::npos && nokta > 0 && ad.size() - nokta <= 16 ? ad.substr(nokta) : L"";
    std::wstring govde = ad.substr(0, ad.size() - uzanti.size());
    while (!govde.empty() &&
           (govde.size() + uzanti.size() > EN_UZUN_AD_BIRIMI || utf8_boyu(govde) + utf8_boyu(uzanti) > EN_UZUN_AD_BAYTI)) {
        govde.pop_back();
        if (!govde.empty() && govde.back() >= 0xD800 && govde.back() < 0xDC00)
            govde.pop_back();   // the pair's first half, whose second half just went
    }
    while (!govde.empty() && (govde.back() == L'.' || govde.back() == L' '))
        govde.pop_back();
    return govde.empty() ? L"indirme" + uzanti : govde + uzanti;
}

// A suggested name as a file name of this folder: no folder part, no character
// Windows refuses, no trailing dots or spaces, no device name, within the bounds
// above (the extension kept); "indirme" when nothing is left.
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
    return adi_kisalt(ad);
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

// Gives the file `kaynak` the name `aday` unless something is there; answers 0 or
// the error (ERROR_ALREADY_EXISTS when the name is taken). A hard link never takes
// the place of anything, and only the temporary name goes after it. A plain move
// that may not replace is not enough under Wine: it looks for what the name points
// to, and a symbolic link whose target is missing looks free and is renamed over.
// Where the file system has no hard links, the move follows a probe that creates
// the name exclusively (refused by any entry, a dangling link included) and goes
// again when closed.
inline DWORD yeni_ada_koy(const std::wstring& kaynak, const std::wstring& aday)
{
    if (CreateHardLinkW(aday.c_str(), kaynak.c_str(), nullptr)) {
        DeleteFileW(kaynak.c_str());
        return 0;
    }
    DWORD hata = GetLastError();
    if (hata == ERROR_ALREADY_EXISTS || hata == ERROR_FILE_EXISTS || hata == ERROR_NOT_SAME_DEVICE)
        return hata == ERROR_FILE_EXISTS ? ERROR_ALREADY_EXISTS : hata;
    HANDLE deneme = CreateFileW(aday.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (deneme == INVALID_HANDLE_VALUE) {
        hata = GetLastError();
        return hata == ERROR_FILE_EXISTS ? ERROR_ALREADY_EXISTS : hata;
    }
    CloseHandle(deneme);
    if (MoveFileExW(kaynak.c_str(), aday.c_str(), MOVEFILE_WRITE_THROUGH))
        return 0;
    hata = GetLastError();
    return hata == ERROR_FILE_EXISTS ? ERROR_ALREADY_EXISTS : hata;
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
        DWORD hata = yeni_ada_koy(kaynak, aday);
        if (hata == 0) {
            yol = aday;
            return COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON_NONE;
        }
        if (hata == ERROR_ALREADY_EXISTS)
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

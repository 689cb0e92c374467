// Where a downloaded file goes, shared by both engine libraries (header-only, like
// the rest of engine/): the user's Downloads folder (KORVA_INDIRME_KLASORU names
// another, for tests and portable use), a suggested name made safe for it, a free
// name (" (1)", " (2)" before the extension), and the final move. A file is written
// under a temporary name in the engine's own folder and takes its final name only
// once complete, never over a file that is there.
#pragma once

#include "wv2_arayuz.h"

#include <shlobj.h>

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

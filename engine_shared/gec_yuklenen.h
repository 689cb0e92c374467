// The few functions of shell32 and comdlg32 that Korva and its engine libraries
// use, loaded on their first call instead of with the program (header-only, like
// the rest of engine_shared/).
//
// Why: a library a program imports is loaded, with everything it imports in turn,
// before the program's main runs. Under Wine that costs far more than the calls
// ever do: measured on this project's machine, an empty program takes 7.5 ms from
// its process's creation to main, 26 ms when it imports shell32, and 62 ms when it
// imports comdlg32 (which brings shell32 and more). Korva needs them only when a
// folder must be found or made, a download is opened, a page is saved or a file is
// chosen for a page, never to show its first page. Each function here answers as
// the one it stands for would fail when its library or the function cannot be had.
#pragma once

#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

// The address of a function of a system library, the library loaded on first need;
// null when either is missing.
template <class Islev>
Islev gec_yuklenen_islev(const wchar_t* kutuphane, const char* ad)
{
    HMODULE modul = GetModuleHandleW(kutuphane);
    if (modul == nullptr)
        modul = LoadLibraryExW(kutuphane, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (modul == nullptr)
        return nullptr;
    return reinterpret_cast<Islev>(reinterpret_cast<void*>(GetProcAddress(modul, ad)));
}

// SHGetKnownFolderPath; *yol is null on failure, else the caller's to CoTaskMemFree.
inline HRESULT bilinen_klasor_al(REFKNOWNFOLDERID kimlik, DWORD bayraklar, PWSTR* yol)
{
    using Islev = HRESULT(WINAPI*)(REFKNOWNFOLDERID, DWORD, HANDLE, PWSTR*);
    static const Islev islev = gec_yuklenen_islev<Islev>(L"shell32.dll", "SHGetKnownFolderPath");
    *yol = nullptr;
    return islev != nullptr ? islev(kimlik, bayraklar, nullptr, yol) : E_NOTIMPL;
}

// SHCreateDirectoryExW: the folder and every missing one above it.
inline int klasor_yolunu_olustur(const wchar_t* yol, const SECURITY_ATTRIBUTES* nitelikler)
{
    using Islev = int(WINAPI*)(HWND, LPCWSTR, const SECURITY_ATTRIBUTES*);
    static const Islev islev = gec_yuklenen_islev<Islev>(L"shell32.dll", "SHCreateDirectoryExW");
    return islev != nullptr ? islev(nullptr, yol, nitelikler) : ERROR_PROC_NOT_FOUND;
}

// ShellExecuteW with "open": greater than 32 when the file was handed to its program.
inline INT_PTR kabukla_ac(const wchar_t* yol)
{
    using Islev = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    static const Islev islev = gec_yuklenen_islev<Islev>(L"shell32.dll", "ShellExecuteW");
    if (islev == nullptr)
        return SE_ERR_NOASSOC;
    return reinterpret_cast<INT_PTR>(islev(nullptr, L"open", yol, nullptr, nullptr, SW_SHOWNORMAL));
}

// GetSaveFileNameW: false when the user canceled or the dialog could not be shown.
inline bool kayit_dosyasi_sor(OPENFILENAMEW* secenekler)
{
    using Islev = BOOL(WINAPI*)(OPENFILENAMEW*);
    static const Islev islev = gec_yuklenen_islev<Islev>(L"comdlg32.dll", "GetSaveFileNameW");
    return islev != nullptr && islev(secenekler) != FALSE;
}

// GetOpenFileNameW: false when the user canceled or the dialog could not be shown.
inline bool acilacak_dosyayi_sor(OPENFILENAMEW* secenekler)
{
    using Islev = BOOL(WINAPI*)(OPENFILENAMEW*);
    static const Islev islev = gec_yuklenen_islev<Islev>(L"comdlg32.dll", "GetOpenFileNameW");
    return islev != nullptr && islev(secenekler) != FALSE;
}

// Helpers for the stand-in engine's tests. The engine is reached as any host would
// reach it: LoadLibraryW on the DLL in the build folder, GetProcAddress for the
// exports, and COM calls. Handlers are plain structs with a hand-made table of
// QueryInterface, AddRef, Release, Invoke, so the engine's calls to them do not
// depend on our own interface declarations.
#pragma once

#include <gtest/gtest.h>

#include "wv2_arayuz.h"

#include <wrl/client.h>

#include <functional>
#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;

// A handler whose Invoke calls a function with its two arguments as raw words.
struct HamIsleyici {
    const void* const* tablo;
    LONG sayac;
    std::function<void(intptr_t, intptr_t)> cagri;
};

// Live handler objects; every one freed brings it back down.
extern LONG g_canli_isleyici;

// A new handler with one reference, owned by the ComPtr.
template <class Arayuz>
ComPtr<Arayuz> isleyici(std::function<void(intptr_t, intptr_t)> cagri)
{
    extern const void* const HAM_ISLEYICI_TABLOSU[];
    InterlockedIncrement(&g_canli_isleyici);
    ComPtr<Arayuz> sonuc;
    // Not Attach: mingw-w64's ComPtr::Attach adds a reference of its own.
    *sonuc.GetAddressOf() = reinterpret_cast<Arayuz*>(new HamIsleyici{HAM_ISLEYICI_TABLOSU, 1, std::move(cagri)});
    return sonuc;
}

struct Motor {
    HMODULE dll = nullptr;
    wv2_ortam_olustur_secenekli_islev ortam_olustur = nullptr;
    wv2_acik_denetleyici_sayisi_islev acik_denetleyiciler = nullptr;
    std::wstring gunluk;
};

// Loads the library once (with a call log in a temporary file, unless the parent
// process chose one) and makes this thread a single-threaded apartment.
Motor& motor();

// Pumps this thread's messages until the condition holds; false after 15 s.
bool pompala(const std::function<bool()>& kosul);
// Pumps until a message posted now has come back: everything queued before it,
// at no delay, has been delivered by then.
void kuyrugu_bosalt();

std::vector<std::string> gunluk_satirlari();

HWND ebeveyn_penceresi();   // a visible top-level window, 900 by 700
HWND sayfa_penceresi(HWND ebeveyn);

ComPtr<ICoreWebView2Environment> ortam_al();
ComPtr<ICoreWebView2Controller> denetleyici_al(ICoreWebView2Environment* ortam, HWND ebeveyn, int64_t* no);

std::string utf8(const wchar_t* metin);
std::string al_ve_birak(LPWSTR metin);   // UTF-8 copy, CoTaskMemFree'd; "<null>" for null

// A view with every page event recorded by name, in order.
struct IzlenenGorunum {
    HWND ebeveyn = nullptr;
    ComPtr<ICoreWebView2Controller> denetleyici;
    ComPtr<ICoreWebView2> gorunum;
    int64_t no = -1;
    std::vector<std::string> olaylar;
    int tamamlanan = 0;
    BOOL son_basari = FALSE;
    COREWEBVIEW2_WEB_ERROR_STATUS son_durum = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
    UINT64 son_kimlik = 0;
    std::vector<UINT64> baslama_kimlikleri;
    std::vector<BOOL> kullanici_baslatti;

    void kur(ICoreWebView2Environment* ortam);
    // Navigates (or loads HTML) and pumps until that navigation has completed.
    HRESULT git(const wchar_t* adres);
    HRESULT html(const wchar_t* belge);
    void tamamlanmayi_bekle(int onceki);
    std::string baslik();
    std::string adres();
    std::string ekran();      // what the page window shows
};

// The Chromium engine library's internal declarations, shared by its source files.
//
// The library is a WebView2Loader.dll whose objects are implemented over headless
// Chromium's DevTools protocol. Where to start reading: yukleyici.cpp (the exports
// and the environment), then sayfa.cpp (a controller and its view: one page target
// of the engine), cerceve.cpp (the window that shows the page's frames and takes the
// user's input), baglanti.h (the connection to the engine process).
//
// Threads: every object here lives on the host's UI thread; only the connection's
// reading thread runs elsewhere, and it reaches these objects by posting to the UI
// thread (frames are decoded on it first, see cerceve.cpp).
#pragma once

#include "baglanti.h"
#include "abone_listesi.h"
#include "com_nesnesi.h"
#include "wv2_arayuz.h"

#include <wrl/client.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;

// ---------------------------------------------------------------------------
// Small helpers.

std::wstring utf8_den(const std::string& metin);
std::string utf8_e(const std::wstring& metin);
// A host's address as the engine needs it (file:///C:/... becomes the Unix path Wine
// maps the drive to), and an engine's address as the host knows it.
std::string motora_adres(const std::wstring& adres);
std::wstring hostun_adresi(const std::string& adres);
// A copy in CoTaskMemAlloc memory, as every string the engine hands out; null on failure.
LPWSTR gorev_kopyasi(const std::wstring& metin);

// ---------------------------------------------------------------------------
// The engine process: one per host process, shared by every environment object.

// The connection, or null before the engine has started and after it has gone.
std::shared_ptr<Baglanti> motor_baglantisi();
// Starts the engine once (later calls wait for the same start, or answer at once
// when it is running). `bitti` runs on the UI thread, never inside this call.
HRESULT motoru_baslat(const std::wstring& kullanici_klasoru, std::function<void(HRESULT)> bitti);

// Subscribes the views to a new connection: every page target's events reach its
// view (sayfa.cpp keeps the table of sessions), frames are decoded on the reading
// thread, and the end of the connection reaches every open view as a process failure.
void sayfalari_bagla(Baglanti& baglanti);

// ---------------------------------------------------------------------------
// Event arguments.

IUnknown* bos_arguman_olustur();
ICoreWebView2NavigationStartingEventArgs* baslama_argumani_olustur(const std::wstring& adres, BOOL kullanici,
                                                                  BOOL yonlendirme, UINT64 kimlik);
BOOL baslama_iptal_mi(ICoreWebView2NavigationStartingEventArgs* arguman);
ICoreWebView2NavigationCompletedEventArgs* tamamlanma_argumani_olustur(BOOL basarili,
                                                                      COREWEBVIEW2_WEB_ERROR_STATUS durum,
                                                                      UINT64 kimlik);
ICoreWebView2SourceChangedEventArgs* kaynak_argumani_olustur(BOOL yeni_belge);
ICoreWebView2ProcessFailedEventArgs* surec_argumani_olustur(COREWEBVIEW2_PROCESS_FAILED_KIND tur);
ICoreWebView2AcceleratorKeyPressedEventArgs* tus_argumani_olustur(COREWEBVIEW2_KEY_EVENT_KIND tur, UINT tus,
                                                                 LPARAM bilgi);
BOOL tus_islendi_mi(ICoreWebView2AcceleratorKeyPressedEventArgs* arguman);
ICoreWebView2Settings* ayarlar_olustur();
// A new-window request. `sonuc` runs once the host has decided (at once, or when it
// completes a deferral it took) with the view the host gave, if any, and Handled.
ICoreWebView2NewWindowRequestedEventArgs* yeni_pencere_argumani_olustur(
    const std::wstring& adres, BOOL kullanici, std::function<void(ICoreWebView2* yeni, BOOL islendi)> sonuc);
// Called after the handlers ran: decides now unless a deferral is pending.
void yeni_pencere_isleyicileri_bitti(ICoreWebView2NewWindowRequestedEventArgs* arguman);

// The engine's error text for a failed load (net::ERR_...) as the interface's status.
COREWEBVIEW2_WEB_ERROR_STATUS hata_durumu(const std::string& hata_metni);

// ---------------------------------------------------------------------------
// Controllers and views.

// Makes a controller and its view inside `ebeveyn`: a page target of the engine is
// created and set up first; `bitti` runs on the UI thread with the result.
void denetleyici_olustur(HWND ebeveyn,
                         std::function<void(HRESULT, ICoreWebView2Controller*)> bitti);

// ---------------------------------------------------------------------------
// The page window: shows the view's frames and turns the user's input into the
// engine's input events.

// A decoded frame: 32-bit BGRA pixels, top row first.
struct Kare {
    int genislik = 0, yukseklik = 0;
    std::vector<uint8_t> pikseller;
};

// What the page window asks of the view it shows.
struct SayfaKaynagi {
    virtual const Kare* gosterilecek_kare() = 0;
    virtual double cizim_yakinligi() = 0;
    // One input event for the engine: the method and its parameters.
    virtual void girdi_gonder(const char* yontem, Json parametreler) = 0;
    // A key reached the page window; true when the host handled it (the page does
    // not see it then).
    virtual bool tus_geldi(UINT mesaj, WPARAM tus, LPARAM bilgi) = 0;
};

HWND sayfa_penceresi_olustur(HWND ebeveyn, const RECT& alan, SayfaKaynagi* kaynak);

// Decodes a screencast frame (base64 of a JPEG) into BGRA; false when it is not one.
bool kareyi_coz(const std::string& base64, Kare* kare);

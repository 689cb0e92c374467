// The Chromium engine library's internal declarations, shared by its source files.
//
// The library is a WebView2Loader.dll whose objects are implemented over headless
// Chromium's DevTools protocol. Where to start reading: yukleyici.cpp (the exports
// and the environment), hedefler.cpp (page targets: made, set up in advance, and
// their events routed to their views), gorunum.h (a controller and its view over
// one page target: a thin object over one manager per concern, gezinti.h for
// navigation and history, ekran.h for size, zoom and frames, girdi.h for input,
// betikler.h for the page's scripts), protokol.h (every protocol message used),
// baglanti.h (the connection to the engine process).
//
// Threads: every object here lives on the host's UI thread; only the connection's
// reading thread runs elsewhere, and it reaches these objects by posting to the UI
// thread (frames are decoded on it first, see hedefler.cpp).
#pragma once

#include "baglanti.h"
#include "com_nesnesi.h"
#include "kare.h"
#include "olay_argumanlari.h"
#include "protokol_gunlugu.h"
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
// view (targets/hedefler.cpp keeps the table of sessions), frames are decoded on the reading
// thread, and the end of the connection reaches every open view as a process failure.
void sayfalari_bagla(Baglanti& baglanti);

// ---------------------------------------------------------------------------
// Event arguments.

// A view the host offers as a page's new window (targets/hedefler.cpp): S_OK when it
// is an open, fresh view of this library, now spoken for; else the failure the
// host's put_NewWindow returns.
HRESULT yeni_pencere_icin_al(ICoreWebView2* gorunum);

// Nothing is logged of what the host calls on them; a deferral completes through the
// connection's way onto the UI thread.
struct ChromiumKaydi {
    static void yaz(int64_t, const char*, const std::string&) {}
    static bool ui_da(std::function<void()> is) { return Baglanti::ui_da_calistir(std::move(is)); }
    static HRESULT yeni_pencere_al(ICoreWebView2* gorunum) { return yeni_pencere_icin_al(gorunum); }
};
using Argumanlar = OlayArgumanlari<ChromiumKaydi>;

// The engine's error text for a failed load (net::ERR_...) as the interface's status.
COREWEBVIEW2_WEB_ERROR_STATUS hata_durumu(const std::string& hata_metni);

// ---------------------------------------------------------------------------
// Controllers and views.

// Makes a controller and its view inside `ebeveyn`: a page target of the engine,
// created and set up in advance when one is ready, else now; `bitti` runs on the UI
// thread with the result.
void denetleyici_olustur(HWND ebeveyn,
                         std::function<void(HRESULT, ICoreWebView2Controller*)> bitti);

// ---------------------------------------------------------------------------
// The page window: a child of the host's window in which the view paints and takes
// the user's input.


class SayfaPenceresiSahibi {
public:
    virtual void boya(HDC dc, const RECT& alan) = 0;
    // One message of the window; true when it was input the owner took in full.
    virtual bool girdi(HWND pencere, UINT mesaj, WPARAM w, LPARAM l) = 0;

protected:
    ~SayfaPenceresiSahibi() = default;
};

HWND sayfa_penceresi_olustur(HWND ebeveyn, const RECT& alan, SayfaPenceresiSahibi* sahip);


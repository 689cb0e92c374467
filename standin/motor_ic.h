// The stand-in web engine's internal declarations, shared by its few source files.
//
// The engine is a DLL named WebView2Loader.dll that answers the real loader's exports
// and implements the engine's COM objects with the real one's asynchronous manners:
// every completion and event reaches the host from inside DispatchMessageW, through a
// message-only window of the engine's own (teslimat.cpp). Where to start reading:
// yukleyici.cpp (the exports), then sayfa.cpp (the controller and its view).
//
// Files: denetimler.cpp (test controls read at load, the call log), teslimat.cpp
// (the delivery queue), belge.cpp (addresses, documents, HTML text), cizim.cpp (the
// page window), nesneler.cpp (environment, settings, event arguments), sayfa.cpp.
#pragma once

#include "abone_listesi.h"
#include "com_nesnesi.h"
#include "olay_argumanlari.h"
#include "wv2_arayuz.h"

#include <wrl/client.h>

#include <functional>
#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;

// ---------------------------------------------------------------------------
// Test controls (KORVA_STANDIN) and the call log (KORVA_STANDIN_LOG).

// How a create call behaves: as the real engine, or in one of the ways it fails.
enum class Davranis { olagan, basarisiz, hata, hic, eszamanli, gorunumsuz };

struct Denetimler {
    Davranis ortam = Davranis::olagan;
    Davranis denetleyici = Davranis::olagan;
    bool baslik_yok = false;   // get_DocumentTitle gives S_OK and null
    bool baslik_bos = false;   // get_DocumentTitle gives S_OK and ""
    bool adres_yok = false;    // get_Source gives S_OK and null
    DWORD gecikme = 0;         // milliseconds added to every delivery
};

extern Denetimler g_denetim;
extern HMODULE g_modul;

// Reads both variables; called once, when the library is loaded.
void denetimleri_oku();

// The log's view number for the loader and the environment.
constexpr int64_t GUNLUK_MOTOR = -1;

// Appends "<view> <method>[ <arguments>]" as one line, written through at once.
void gunluk_yaz(int64_t gorunum_no, const char* yontem, const std::string& bagimsiz = std::string());
std::string gunluk_metni(const wchar_t* metin);    // UTF-8, line breaks made spaces
std::string gunluk_sayisi(double deger);           // shortest text that reads back the same

// ---------------------------------------------------------------------------
// Delivery: completions and events reach the host from inside message dispatch.

// Makes the message-only window on the calling thread, once. That thread becomes the
// engine's thread; calls from any other thread get RPC_E_WRONG_THREAD.
HRESULT dagitici_hazirla();
bool dogru_is_parcacigi();

// Queues work for the engine's thread, g_denetim.gecikme milliseconds from now. The
// owner (may be null) lets Close drop everything still queued for a view.
void teslim_et(const void* sahip, std::function<void()> is);
void sahibin_teslimatlarini_sil(const void* sahip);

// Answers a create call (environment or controller) the way the test control says:
// fail at once, never complete, complete with an error, complete before the call
// returns, or, as the real engine, complete later from message dispatch with what
// `olustur` made. Returns what the create call itself returns.
template <class Isleyici, class Nesne, class Olustur>
HRESULT olusturmayi_yanitla(Davranis davranis, Isleyici* isleyici, Olustur olustur)
{
    ComPtr<Isleyici> tutulan(isleyici);
    switch (davranis) {
    case Davranis::basarisiz:
        return E_FAIL;
    case Davranis::hic:
        return S_OK;
    case Davranis::hata:
        teslim_et(nullptr, [tutulan] { tutulan->Invoke(E_FAIL, nullptr); });
        return S_OK;
    default:
        break;
    }
    ComPtr<Nesne> nesne;
    HRESULT sonuc = olustur(nesne);
    if (davranis == Davranis::eszamanli)
        isleyici->Invoke(sonuc, nesne.Get());
    else
        teslim_et(nullptr, [tutulan, nesne, sonuc] { tutulan->Invoke(sonuc, nesne.Get()); });
    return S_OK;
}

// ---------------------------------------------------------------------------
// Documents.

// A run of text in a document's body: plain, part of a link, or a line break.
struct Parca {
    std::wstring metin;
    int baglanti = -1;         // index into Belge::baglantilar, or -1
    bool satir_sonu = false;
};

struct Belge {
    std::wstring baslik;       // the title element's text, entities decoded, spaces collapsed
    std::vector<Parca> parcalar;
    std::vector<std::wstring> baglantilar;   // href of each link, entities decoded
    std::wstring duz_metin;    // the body as plain text, for reading back
    bool ses_caliyor = false;  // an <audio> or <video autoplay> plays from the start
};

// What loading an address gave.
struct Yukleme {
    Belge belge;
    BOOL basarili = TRUE;
    COREWEBVIEW2_WEB_ERROR_STATUS durum = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
    bool surec_coktu = false;  // the address asked the page's process to die
    bool motor_coktu = false;  // ... or the whole engine
};

// True for an absolute address that Navigate accepts.
bool mutlak_adres_mi(const std::wstring& adres);
Yukleme adresi_yukle(const std::wstring& adres);
// The bad-certificate servers: an https address whose host is kotu-sertifika.test or
// a name under it. Its status by the first label: "suresi-gecmis" expired,
// "ad-uyusmuyor" a name that does not match, "iptal" revoked, any other invalid;
// UNKNOWN for every other address. Their page loads only once the host let it pass.
COREWEBVIEW2_WEB_ERROR_STATUS sertifika_hatasi(const std::wstring& adres);
// The engine's own warning page for such a server.
Belge sertifika_uyarisi_belgesi(const std::wstring& adres);
Belge html_coz(const std::wstring& html);
Belge duz_metin_belgesi(const std::wstring& metin);
// An href as a click would resolve it against the page's address; "" when it cannot.
std::wstring baglantiyi_coz(const std::wstring& taban, const std::wstring& href);
// White space collapsed to single spaces and trimmed.
std::wstring bosluklari_daralt(const std::wstring& metin);

std::wstring utf8_den(const char* bayt, size_t uzunluk);
std::string utf8_e(const std::wstring& metin);
// A copy in CoTaskMemAlloc memory, as every string the engine hands out; null on failure.
LPWSTR gorev_kopyasi(const std::wstring& metin);

// ---------------------------------------------------------------------------
// The page window that draws a view.

// What the page window asks of the view it draws.
struct CizimKaynagi {
    virtual const Belge& cizilecek_belge() = 0;
    virtual const std::wstring& cizilecek_baslik() = 0;
    virtual const std::wstring& cizilecek_adres() = 0;
    virtual double cizim_yakinligi() = 0;
    virtual void baglantiya_tiklandi(const std::wstring& href, bool yeni_pencere) = 0;
    // A key reached the focused page; true when the host handled it.
    virtual bool tus_geldi(UINT mesaj, WPARAM tus, LPARAM bilgi) = 0;
    virtual void tekerlekle_yakinlastir(int adim) = 0;
    // The pointer moved: over the link with this href, or over no link ("").
    virtual void baglanti_ustunde(const std::wstring& href) = 0;
};

HWND sayfa_penceresi_olustur(HWND ebeveyn, const RECT& alan, bool gorunur, CizimKaynagi* kaynak);
// The document changed: start at the top again and repaint.
void sayfa_penceresini_yenile(HWND pencere);

// ---------------------------------------------------------------------------
// Engine objects.

HRESULT ortam_olustur(ICoreWebView2Environment** ortam);
// Makes a controller with its view; logs "N created". Null on failure.
ICoreWebView2Controller* denetleyici_olustur(HWND ebeveyn);
int64_t acik_denetleyici_sayisi();
// A view the host offers as a page's new window (see olay_argumanlari.h): only an
// open view of this engine that has not navigated, nor been offered before.
HRESULT yeni_pencere_icin_al(ICoreWebView2* gorunum);
void denetleyici_kapandi();    // one fewer open controller

// Event arguments and settings: every method the host calls on them is logged with
// the number of the view they belong to; a deferral completes from the message loop.
struct StandinKaydi {
    static void yaz(int64_t gorunum_no, const char* yontem, const std::string& deger)
    {
        gunluk_yaz(gorunum_no, yontem, deger);
    }
    static bool ui_da(std::function<void()> is)
    {
        teslim_et(nullptr, std::move(is));
        return true;
    }
    static HRESULT yeni_pencere_al(ICoreWebView2* gorunum) { return yeni_pencere_icin_al(gorunum); }
};
using Argumanlar = OlayArgumanlari<StandinKaydi>;

// Test downloads (indirme.cpp): an address of the download scheme starts one,
// raised through `yay` as DownloadStarting, instead of a navigation.
bool indirme_adresi_mi(const std::wstring& adres);
void indirme_baslat(const std::wstring& adres, std::function<void(ICoreWebView2DownloadStartingEventArgs*)> yay);

// The version the loader and the environment report.
extern const wchar_t MOTOR_SURUMU[];


// ---------------------------------------------------------------------------
// Printing (pdf.cpp): a one-page PDF holding the title, written whole to `yol`;
// 0 or the system's error, and then nothing remains at `yol` from this call.
DWORD standin_pdf_yaz(const std::wstring& yol, const std::wstring& baslik);

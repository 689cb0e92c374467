// Web view runtime, creation and closing: the web view table, the one engine
// environment every web view shares, the host windows of class "TrWebViewHost",
// the synchronous wait that turns the engine's asynchronous creation into a call
// that returns an id, and the three page-event handlers that raise the record's
// flags. Start reading at gorunum_olustur.
//
// Conventions of this unit:
//  - A web view id is the index of its record. Records are appended in order; a
//    closed record is taken again, lowest first, by the next creation, together
//    with its host window and widget id. A creation that fails after taking a
//    record leaves it spent for the life of the process.
//  - The engine calls back only on this thread, from inside DispatchMessageW (a
//    completion may also come before the creating call returns). Handlers only set
//    flags; the program reads and clears them with the queries in webgorunum_sayfa.cpp.
//  - The loader, its entry and the environment are made once, on first need, and
//    kept for the life of the process; a failed step is retried by the next creation
//    asked for after the failure has been remembered for 5 s (until then every
//    creation fails at once, with the same reason).
//  - Besides the three page events, a view reports what its page asks of the
//    browser: to close (window.close()), to open a new window (only requests a
//    click started are kept, and the engine is told each request is handled, so
//    that nothing opens by itself: the program opens the tab), that its process or
//    the whole engine failed, and the status-bar text (the link under the pointer).
//    Keys the engine reports as accelerators go to the window runtime's shortcuts;
//    one that a shortcut takes is marked handled, and the page never sees it.
//  - The host window speaks for the view to the engine: the engine hears when the
//    host is shown or hidden (a hidden page is throttled, or not drawn at all), when
//    the top-level window around it moved, and, before the host is destroyed with
//    whatever window holds it, that the view is closed; its record then counts as
//    closed and is never taken again.
#include "webview/webgorunum_win_cz.h"

#include <objbase.h>
#include <strsafe.h>
#include <wrl/client.h>

#include <cstdlib>
#include <cwchar>

#include "gec_yuklenen.h"
#include "tr_metin_sinir.h"
#include "tr_pencere_mesajlari.h"
#include "webview/webgorunum_ic.h"
#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"

using Microsoft::WRL::ComPtr;

Gorunum gorunumler[kGorunumSiniri];
int32_t gorunum_sayisi = 0;

namespace {

constexpr DWORD kBeklemeSiniriMs = 30000;
constexpr DWORD kUykuMs = 10;
constexpr int kHostGenislik = 800;
constexpr int kHostYukseklik = 600;
constexpr wchar_t kHostSinifi[] = L"TrWebViewHost";
constexpr wchar_t kYukleyiciAdi[] = L"WebView2Loader.dll";
constexpr wchar_t kVeriKlasoruAdi[] = L"WebView2";
constexpr DWORD kYolSiniri = MAX_PATH;
// Marks the host as a window whose keyboard belongs to the engine's page: the window
// runtime's pump then leaves its keys to the engine, which reports them itself.
constexpr wchar_t kKendiKlavyesiOzelligi[] = L"TrKendiKlavyesi";

// What a creation step's completion brings: the created object on success, and
// `bitti` once the engine has answered at all. It lives inside the handler object,
// so an answer that comes after the wait gave up still lands in valid storage, and
// the object it brings is released with the handler.
template <class T>
struct Tamamlanma {
    ComPtr<T> sonuc;
    int32_t bitti = 0;
};

using OrtamIsleyicisi =
    KomIsleyici<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler,
                Tamamlanma<ICoreWebView2Environment>, HRESULT, ICoreWebView2Environment*>;
using DenetleyiciIsleyicisi =
    KomIsleyici<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler,
                Tamamlanma<ICoreWebView2Controller>, HRESULT, ICoreWebView2Controller*>;

HMODULE g_loader_dll = nullptr;
wv2_ortam_olustur_secenekli_islev g_create_env_fn = nullptr;
ICoreWebView2Environment* g_environment = nullptr;
int32_t wv_host_sinif_kayitli = 0;

// Why the last creation failed (TR_WEBGORUNUM_... of the public header).
int64_t g_son_hata = 0;
int32_t g_ortam_istendi = 0;

// ---- Handler functions ----------------------------------------------------------

template <class T>
HRESULT tamamlanma_kaydet(Tamamlanma<T>& tamamlanma, HRESULT kod, T* sonuc) {
    if (SUCCEEDED(kod) && sonuc != nullptr) tamamlanma.sonuc = sonuc;
    tamamlanma.bitti = 1;
    return S_OK;
}

// A page event: neither the sender nor the arguments matter, only that it came.
// A failed navigation therefore counts as completed like a successful one.
template <class Argumanlar>
HRESULT olay_kaydet(int32_t*& bayrak, ICoreWebView2*, Argumanlar*) {
    if (bayrak != nullptr) *bayrak = 1;
    return S_OK;
}

// A navigation completed: the loading state's flag and the program's own, how it
// ended, and perhaps the answer of a page asked whether it may close.
HRESULT gezinti_kaydet(Gorunum*& kayit, ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs* argumanlar) {
    if (kayit == nullptr) return S_OK;
    kayit->yuklenme_bitti = 1;
    kayit->gezinti_tamamlandi = 1;
    BOOL basarili = TRUE;
    COREWEBVIEW2_WEB_ERROR_STATUS durum = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
    if (argumanlar != nullptr) {
        argumanlar->get_IsSuccess(&basarili);
        if (basarili == FALSE) argumanlar->get_WebErrorStatus(&durum);
    }
    kayit->gezinti_hatasi = basarili != FALSE ? 0 : static_cast<int32_t>(durum) + 1;
    kapanis_gezintisi_bitti(*kayit, argumanlar);
    return S_OK;
}

HRESULT baslangic_kaydet(Gorunum*& kayit, ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs* argumanlar) {
    if (kayit != nullptr) kapanis_gezintisi_basladi(*kayit, argumanlar);
    return S_OK;
}

// A process of the page failed: 1 for the page's own process (the page can be
// loaded again), 2 for the whole engine (the view is gone for good).
HRESULT cokme_kaydet(int32_t*& bayrak, ICoreWebView2*, ICoreWebView2ProcessFailedEventArgs* argumanlar) {
    if (bayrak == nullptr || argumanlar == nullptr) return S_OK;
    COREWEBVIEW2_PROCESS_FAILED_KIND tur = COREWEBVIEW2_PROCESS_FAILED_KIND_UNKNOWN_PROCESS_EXITED;
    argumanlar->get_ProcessFailedKind(&tur);
    if (tur == COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED) {
        *bayrak = 2;
    } else if (tur == COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED ||
               tur == COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_UNRESPONSIVE) {
        if (*bayrak == 0) *bayrak = 1;
    }
    return S_OK;
}

// A new-window request waits this long for the program's view: the page's
// window.open waits with it.
constexpr UINT kYeniPencereBeklemesiMs = 2000;

// The waiting request of a record is answered as it stands (without a view unless
// one was given) and let go.
void yeni_pencere_istegini_birak(Gorunum& kayit) {
    if (kayit.yeni_pencere_zamanlayicisi != 0) KillTimer(nullptr, kayit.yeni_pencere_zamanlayicisi);
    kayit.yeni_pencere_zamanlayicisi = 0;
    ICoreWebView2Deferral* erteleme = kayit.yeni_pencere_ertelemesi;
    ICoreWebView2NewWindowRequestedEventArgs* istek = kayit.yeni_pencere_istegi;
    kayit.yeni_pencere_ertelemesi = nullptr;
    kayit.yeni_pencere_istegi = nullptr;
    if (erteleme != nullptr) {
        erteleme->Complete();
        erteleme->Release();
    }
    if (istek != nullptr) istek->Release();
}

void CALLBACK yeni_pencere_suresi_doldu(HWND, UINT, UINT_PTR zamanlayici, DWORD) {
    KillTimer(nullptr, zamanlayici);
    for (int index = 0; index < gorunum_sayisi; ++index) {
        if (gorunumler[index].yeni_pencere_zamanlayicisi != zamanlayici) continue;
        gorunumler[index].yeni_pencere_zamanlayicisi = 0;
        yeni_pencere_istegini_birak(gorunumler[index]);
        return;
    }
}

// A page asks for a new window. Whatever is decided, the engine hears that the
// request is handled: the program opens the tab itself, and a popup that no click
// started is refused, as browsers block them. A request the program hears of waits,
// under a deferral, for the view the program may make for it.
HRESULT yeni_pencere_kaydet(Gorunum*& kayit, ICoreWebView2*, ICoreWebView2NewWindowRequestedEventArgs* argumanlar) {
    if (argumanlar == nullptr) return S_OK;
    argumanlar->put_Handled(TRUE);
    if (kayit == nullptr) return S_OK;
    BOOL kullanici = FALSE;
    argumanlar->get_IsUserInitiated(&kullanici);
    LPWSTR adres = nullptr;
    argumanlar->get_Uri(&adres);
    if (kullanici == FALSE || adres == nullptr) {
        CoTaskMemFree(adres);
        return S_OK;
    }
    TrMetin metin = utf8_metin(adres, -1, true);
    CoTaskMemFree(adres);
    if (metin.ptr == nullptr) return S_OK;
    std::free(kayit->yeni_pencere_adresi);
    kayit->yeni_pencere_adresi = metin.ptr;
    kayit->yeni_pencere_arkada = kayit->arkada_acan_basis;
    kayit->yeni_pencere_istendi = 1;
    yeni_pencere_istegini_birak(*kayit);  // only the last request is kept
    ICoreWebView2Deferral* erteleme = nullptr;
    if (SUCCEEDED(argumanlar->GetDeferral(&erteleme)) && erteleme != nullptr) {
        argumanlar->AddRef();
        kayit->yeni_pencere_istegi = argumanlar;
        kayit->yeni_pencere_ertelemesi = erteleme;
        kayit->yeni_pencere_zamanlayicisi =
            SetTimer(nullptr, 0, kYeniPencereBeklemesiMs, yeni_pencere_suresi_doldu);
        // No timer: the request is answered now rather than wait for ever.
        if (kayit->yeni_pencere_zamanlayicisi == 0) yeni_pencere_istegini_birak(*kayit);
    }
    return S_OK;
}

// A key the engine reports from its page: on a press, a shortcut of the window
// around the host may take it.
HRESULT tus_kaydet(HWND& host, ICoreWebView2Controller*, ICoreWebView2AcceleratorKeyPressedEventArgs* argumanlar) {
    if (host == nullptr || argumanlar == nullptr) return S_OK;
    COREWEBVIEW2_KEY_EVENT_KIND tur = COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP;
    argumanlar->get_KeyEventKind(&tur);
    if (tur != COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN && tur != COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN) return S_OK;
    UINT tus = 0;
    INT bilgi = 0;
    argumanlar->get_VirtualKey(&tus);
    argumanlar->get_KeyEventLParam(&bilgi);
    const int64_t degistiriciler = (GetKeyState(VK_CONTROL) < 0 ? int64_t{TR_KISAYOL_CTRL} : int64_t{0}) |
                                   (GetKeyState(VK_SHIFT) < 0 ? int64_t{TR_KISAYOL_SHIFT} : int64_t{0}) |
                                   ((bilgi & (1 << 29)) != 0 ? int64_t{TR_KISAYOL_ALT} : int64_t{0});
    if (win_kisayol_tusu(host, tus, degistiriciler) == 1) argumanlar->put_Handled(TRUE);
    return S_OK;
}

// ---- The wait -----------------------------------------------------------------------

// Dispatches the thread's messages until `*bayrak` is set or 30 seconds have passed.
// The flag is looked at after every emptying of the queue, so a completion that
// arrived with a message ends the wait at once; between two looks the thread
// sleeps until input arrives, at most kUykuMs. A quit request that arrives
// meanwhile is held back and posted again at the end, so that the program's own
// loop still sees it.
void mesaj_pompala_bekle(const int32_t* bayrak) {
    const DWORD baslangic = GetTickCount();
    if (*bayrak != 0) return;
    bool cikis_istendi = false;
    int cikis_kodu = 0;
    for (;;) {
        MSG mesaj;
        while (PeekMessageW(&mesaj, nullptr, 0, 0, PM_REMOVE)) {
            if (mesaj.message == WM_QUIT) {
                cikis_istendi = true;
                cikis_kodu = static_cast<int>(mesaj.wParam);
                continue;
            }
            TranslateMessage(&mesaj);
            DispatchMessageW(&mesaj);
        }
        if (*bayrak != 0) break;
        // Unsigned difference: the tick counter's wrap-around does no harm.
        if (GetTickCount() - baslangic > kBeklemeSiniriMs) break;
        MsgWaitForMultipleObjectsEx(0, nullptr, kUykuMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (*bayrak != 0) break;
    }
    if (cikis_istendi) PostQuitMessage(cikis_kodu);
}

// ---- Loader and environment -------------------------------------------------------

// The program file's full path; false when it does not fit.
bool program_yolu(wchar_t (&yol)[kYolSiniri]) {
    const DWORD uzunluk = GetModuleFileNameW(nullptr, yol, kYolSiniri);
    return uzunluk > 0 && uzunluk < kYolSiniri;
}

// The loader is never taken from the current folder: whoever can put a file there
// (a download folder, the folder of a document opened with the program) would have
// it run. The plain library search looks there, and under Wine an empty
// SetDllDirectoryW does not stop it, so the search is made here in its own order
// without that folder: the program's folder, System32 and the folders the program
// added (LoadLibraryExW with the default safe folders), then every folder on PATH
// by its full path, then beside the program.
constexpr DWORD kGuvenliArama = LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS;

// "C:\..." or "\\server\...": a folder that does not depend on the current one.
bool mutlak_klasor_mu(const wchar_t* klasor, size_t uzunluk) {
    if (uzunluk >= 3 && klasor[1] == L':' && (klasor[2] == L'\\' || klasor[2] == L'/')) {
        return (klasor[0] >= L'A' && klasor[0] <= L'Z') || (klasor[0] >= L'a' && klasor[0] <= L'z');
    }
    return uzunluk >= 2 && klasor[0] == L'\\' && klasor[1] == L'\\';
}

// The loader in one folder of PATH (`uzunluk` characters, perhaps quoted); a
// relative entry names the current folder in disguise and is passed over.
HMODULE yukleyiciyi_klasorden_yukle(const wchar_t* klasor, size_t uzunluk) {
    if (uzunluk >= 2 && klasor[0] == L'"' && klasor[uzunluk - 1] == L'"') {
        klasor += 1;
        uzunluk -= 2;
    }
    if (!mutlak_klasor_mu(klasor, uzunluk)) return nullptr;
    wchar_t yol[kYolSiniri];
    if (FAILED(StringCchCopyNW(yol, kYolSiniri, klasor, uzunluk))) return nullptr;
    if (klasor[uzunluk - 1] != L'\\' && FAILED(StringCchCatW(yol, kYolSiniri, L"\\"))) return nullptr;
    if (FAILED(StringCchCatW(yol, kYolSiniri, kYukleyiciAdi))) return nullptr;
    return LoadLibraryExW(yol, nullptr, kGuvenliArama);
}

HMODULE yukleyiciyi_yol_klasorlerinden_yukle() {
    const DWORD gereken = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    if (gereken == 0) return nullptr;
    wchar_t* yollar = static_cast<wchar_t*>(std::malloc(gereken * sizeof(wchar_t)));
    if (yollar == nullptr) return nullptr;
    HMODULE yukleyici = nullptr;
    const DWORD okunan = GetEnvironmentVariableW(L"PATH", yollar, gereken);
    if (okunan > 0 && okunan < gereken) {
        for (const wchar_t* klasor = yollar; yukleyici == nullptr && *klasor != L'\0';) {
            const size_t uzunluk = std::wcscspn(klasor, L";");
            yukleyici = yukleyiciyi_klasorden_yukle(klasor, uzunluk);
            klasor += uzunluk;
            if (*klasor == L';') ++klasor;
        }
    }
    std::free(yollar);
    return yukleyici;
}

HMODULE yukleyiciyi_aramayla_yukle() {
    HMODULE yukleyici = LoadLibraryExW(kYukleyiciAdi, nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    return yukleyici != nullptr ? yukleyici : yukleyiciyi_yol_klasorlerinden_yukle();
}

HMODULE yukleyiciyi_program_yanindan_yukle() {
    wchar_t yol[kYolSiniri];
    if (!program_yolu(yol)) return nullptr;
    wchar_t* ters_bolu = wcsrchr(yol, L'\\');
    if (ters_bolu == nullptr) return nullptr;
    ters_bolu[1] = L'\0';
    if (FAILED(StringCchCatW(yol, kYolSiniri, kYukleyiciAdi))) return nullptr;
    return LoadLibraryExW(yol, nullptr, kGuvenliArama);
}

bool yukleyiciyi_hazirla() {
    if (g_create_env_fn != nullptr) return true;
    if (g_loader_dll == nullptr) {
        HMODULE yukleyici = yukleyiciyi_aramayla_yukle();
        if (yukleyici == nullptr) yukleyici = yukleyiciyi_program_yanindan_yukle();
        if (yukleyici == nullptr) return false;
        g_loader_dll = yukleyici;
    }
    // Through a plain function pointer type, which g++ accepts between any two.
    const auto giris = reinterpret_cast<void (*)()>(
        GetProcAddress(g_loader_dll, WV2_ORTAM_OLUSTUR_SECENEKLI_ADI));
    g_create_env_fn = reinterpret_cast<wv2_ortam_olustur_secenekli_islev>(giris);
    return g_create_env_fn != nullptr;
}

// The engine needs a single-threaded apartment on the creating thread. One is made
// when the thread has none; a thread that already is a multithreaded apartment
// cannot host web views.
bool com_apartmani_hazirla() {
    return SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

// %LOCALAPPDATA%\<program file name without extension>\WebView2, made when missing.
// Without a folder of its own the engine writes beside the program, which fails
// wherever the user may not write (Program Files). False when it cannot be had.
// The variable LOCALAPPDATA, which Windows sets in every user's session (and Wine
// too), names the folder; only without it is the shell asked, whose library costs
// the first tab tens of milliseconds to load (gec_yuklenen.h).
bool kullanici_veri_klasoru(wchar_t (&klasor)[kYolSiniri]) {
    wchar_t program[kYolSiniri];
    if (!program_yolu(program)) return false;
    wchar_t* ters_bolu = wcsrchr(program, L'\\');
    wchar_t* ad = ters_bolu != nullptr ? ters_bolu + 1 : program;
    wchar_t* nokta = wcsrchr(ad, L'.');
    if (nokta != nullptr) *nokta = L'\0';
    if (ad[0] == L'\0') return false;

    const DWORD ortamdaki = GetEnvironmentVariableW(L"LOCALAPPDATA", klasor, kYolSiniri);
    bool sigdi = ortamdaki > 0 && ortamdaki < kYolSiniri;
    if (!sigdi) {
        PWSTR yerel = nullptr;
        if (FAILED(bilinen_klasor_al(FOLDERID_LocalAppData, KF_FLAG_CREATE, &yerel))) return false;
        sigdi = SUCCEEDED(StringCchCopyW(klasor, kYolSiniri, yerel));
        CoTaskMemFree(yerel);
    }
    if (!sigdi || FAILED(StringCchCatW(klasor, kYolSiniri, L"\\")) ||
        FAILED(StringCchCatW(klasor, kYolSiniri, ad))) {
        return false;
    }
    CreateDirectoryW(klasor, nullptr);
    if (FAILED(StringCchCatW(klasor, kYolSiniri, L"\\")) ||
        FAILED(StringCchCatW(klasor, kYolSiniri, kVeriKlasoruAdi))) {
        return false;
    }
    CreateDirectoryW(klasor, nullptr);
    const DWORD nitelik = GetFileAttributesW(klasor);
    return nitelik != INVALID_FILE_ATTRIBUTES && (nitelik & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// g_ortam_istendi tells the caller whether the engine itself was asked.
bool ortami_hazirla() {
    g_ortam_istendi = 0;
    if (g_environment != nullptr) return true;
    if (!com_apartmani_hazirla() || !yukleyiciyi_hazirla()) return false;

    wchar_t klasor[kYolSiniri];
    const wchar_t* veri_klasoru = kullanici_veri_klasoru(klasor) ? klasor : nullptr;

    ComPtr<OrtamIsleyicisi> isleyici =
        OrtamIsleyicisi::olustur(&tamamlanma_kaydet<ICoreWebView2Environment>, {});
    if (isleyici == nullptr) return false;
    g_ortam_istendi = 1;
    if (FAILED(g_create_env_fn(nullptr, veri_klasoru, nullptr, isleyici.Get()))) return false;
    mesaj_pompala_bekle(&isleyici->durum().bitti);
    if (isleyici->durum().sonuc == nullptr) return false;
    g_environment = isleyici->durum().sonuc.Detach();
    return true;
}

// ---- Host windows and records ---------------------------------------------------

LRESULT CALLBACK wv_host_wndproc(HWND pencere, UINT mesaj, WPARAM wparam, LPARAM lparam);

void host_sinifini_kaydet() {
    if (wv_host_sinif_kayitli != 0) return;
    WNDCLASSEXW sinif = {};
    sinif.cbSize = sizeof(sinif);
    sinif.lpfnWndProc = wv_host_wndproc;
    sinif.hInstance = GetModuleHandleW(nullptr);
    sinif.lpszClassName = kHostSinifi;
    RegisterClassExW(&sinif);
    // Not tried again even when it failed: creating the window then fails instead.
    wv_host_sinif_kayitli = 1;
}

// Hidden, and a child of the desktop window until the widget runtime places it.
HWND host_penceresi_olustur() {
    HWND host = CreateWindowExW(0, kHostSinifi, nullptr, WS_CHILD | WS_CLIPCHILDREN, 0, 0, kHostGenislik,
                                kHostYukseklik, GetDesktopWindow(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (host != nullptr) SetPropW(host, kKendiKlavyesiOzelligi, reinterpret_cast<HANDLE>(1));
    return host;
}

// The lowest closed record whose host window still exists and is no tab's page:
// a view closed while its tab stays would otherwise come back in a second tab with
// the same window. -1 when there is none.
int bos_kayit_bul() {
    for (int index = 0; index < gorunum_sayisi; ++index) {
        const Gorunum& kayit = gorunumler[index];
        if (kayit.bos != 0 && IsWindow(kayit.hwnd) && win_sekme_sayfasi_mi(kayit.hwnd) == 0) return index;
    }
    return -1;
}

// Takes a closed record again, or appends one with a new host window; -1 when
// neither is possible. From here on the index is spent, whatever follows.
int kayit_al() {
    const int bos = bos_kayit_bul();
    HWND host = nullptr;
    int64_t widget_id = -1;
    int index = bos;
    if (bos >= 0) {
        host = gorunumler[bos].hwnd;
        widget_id = gorunumler[bos].widget_id;
    } else {
        if (gorunum_sayisi >= kGorunumSiniri) return -1;
        host = host_penceresi_olustur();
        if (host == nullptr) return -1;
        index = gorunum_sayisi++;
    }
    gorunumler[index] = Gorunum{};
    gorunumler[index].hwnd = host;
    gorunumler[index].widget_id = widget_id;
    return index;
}

// Gives the engine the host window's own visibility when it differs from what the
// engine was last given.
void gorunurlugu_bildir(Gorunum& kayit) {
    const int32_t gorunur = (GetWindowLongW(kayit.hwnd, GWL_STYLE) & WS_VISIBLE) != 0 ? 1 : 0;
    if (gorunur == kayit.motor_gorunur) return;
    kayit.motor_gorunur = gorunur;
    kayit.controller->put_IsVisible(gorunur != 0 ? TRUE : FALSE);
}

// What the page asks of its browser, and its keys. An engine without the later
// view interface simply has no status-bar text.
void istek_olaylarina_abone_ol(Gorunum& kayit) {
    EventRegistrationToken belirtec = {};
    kayit.kapatma_isleyicisi =
        KapatmaIsleyicisi::olustur(&olay_kaydet<IUnknown>, &kayit.kapatma_istendi).Detach();
    if (kayit.kapatma_isleyicisi != nullptr) {
        kayit.webview->add_WindowCloseRequested(kayit.kapatma_isleyicisi, &belirtec);
    }
    kayit.cokme_isleyicisi = CokmeIsleyicisi::olustur(&cokme_kaydet, &kayit.cokme).Detach();
    if (kayit.cokme_isleyicisi != nullptr) kayit.webview->add_ProcessFailed(kayit.cokme_isleyicisi, &belirtec);
    kayit.yeni_pencere_isleyicisi = YeniPencereIsleyicisi::olustur(&yeni_pencere_kaydet, &kayit).Detach();
    if (kayit.yeni_pencere_isleyicisi != nullptr) {
        kayit.webview->add_NewWindowRequested(kayit.yeni_pencere_isleyicisi, &belirtec);
    }
    kayit.tam_ekran_isleyicisi =
        TamEkranIsleyicisi::olustur(&olay_kaydet<IUnknown>, &kayit.tam_ekran_degisti).Detach();
    if (kayit.tam_ekran_isleyicisi != nullptr) {
        kayit.webview->add_ContainsFullScreenElementChanged(kayit.tam_ekran_isleyicisi, &belirtec);
    }
    kayit.tus_isleyicisi = TusIsleyicisi::olustur(&tus_kaydet, kayit.hwnd).Detach();
    if (kayit.tus_isleyicisi != nullptr) {
        kayit.controller->add_AcceleratorKeyPressed(kayit.tus_isleyicisi, &belirtec);
    }
    indirmelere_abone_ol(static_cast<int>(&kayit - gorunumler), kayit.webview);
    izinlere_abone_ol(static_cast<int>(&kayit - gorunumler), kayit.webview);
    sertifikalara_abone_ol(static_cast<int>(&kayit - gorunumler), kayit.webview);
    ICoreWebView2_12* webview12 = nullptr;
    if (SUCCEEDED(kayit.webview->QueryInterface(IID_ICoreWebView2_12, reinterpret_cast<void**>(&webview12))) &&
        webview12 != nullptr) {
        kayit.webview12 = webview12;
        kayit.durum_metni_isleyicisi =
            DurumMetniIsleyicisi::olustur(&olay_kaydet<IUnknown>, &kayit.durum_metni_degisti).Detach();
        if (kayit.durum_metni_isleyicisi != nullptr) {
            webview12->add_StatusBarTextChanged(kayit.durum_metni_isleyicisi, &belirtec);
        }
    }
}

// The page's sound: an engine without the interface has none to tell.
void ses_olaylarina_abone_ol(Gorunum& kayit) {
    ICoreWebView2_8* webview8 = nullptr;
    if (FAILED(kayit.webview->QueryInterface(IID_ICoreWebView2_8, reinterpret_cast<void**>(&webview8))) ||
        webview8 == nullptr) {
        return;
    }
    kayit.webview8 = webview8;
    EventRegistrationToken belirtec = {};
    kayit.sessizlik_isleyicisi =
        SessizlikIsleyicisi::olustur(&olay_kaydet<IUnknown>, &kayit.ses_degisti).Detach();
    if (kayit.sessizlik_isleyicisi != nullptr) webview8->add_IsMutedChanged(kayit.sessizlik_isleyicisi, &belirtec);
    kayit.ses_calma_isleyicisi = SesCalmaIsleyicisi::olustur(&olay_kaydet<IUnknown>, &kayit.ses_degisti).Detach();
    if (kayit.ses_calma_isleyicisi != nullptr) {
        webview8->add_IsDocumentPlayingAudioChanged(kayit.ses_calma_isleyicisi, &belirtec);
    }
}

void olaylara_abone_ol(Gorunum& kayit) {
    // Neither the result nor the token is kept: the subscriptions last as long as
    // the view, and closing the view ends them all.
    EventRegistrationToken belirtec = {};
    kayit.baslik_isleyicisi =
        BaslikIsleyicisi::olustur(&olay_kaydet<IUnknown>, &kayit.baslik_degisti).Detach();
    if (kayit.baslik_isleyicisi != nullptr) {
        kayit.webview->add_DocumentTitleChanged(kayit.baslik_isleyicisi, &belirtec);
    }
    belirtec = {};
    kayit.adres_isleyicisi = AdresIsleyicisi::olustur(
        &olay_kaydet<ICoreWebView2SourceChangedEventArgs>, &kayit.adres_degisti).Detach();
    if (kayit.adres_isleyicisi != nullptr) {
        kayit.webview->add_SourceChanged(kayit.adres_isleyicisi, &belirtec);
    }
    belirtec = {};
    kayit.tamamlanma_isleyicisi = TamamlanmaIsleyicisi::olustur(
        &gezinti_kaydet, &kayit).Detach();
    if (kayit.tamamlanma_isleyicisi != nullptr) {
        kayit.webview->add_NavigationCompleted(kayit.tamamlanma_isleyicisi, &belirtec);
    }
    kayit.baslangic_isleyicisi = BaslangicIsleyicisi::olustur(&baslangic_kaydet, &kayit).Detach();
    if (kayit.baslangic_isleyicisi != nullptr) {
        kayit.webview->add_NavigationStarting(kayit.baslangic_isleyicisi, &belirtec);
    }
    istek_olaylarina_abone_ol(kayit);
    ses_olaylarina_abone_ol(kayit);
}

// The engine was asked and did not start. The next creation asks it again: an
// engine that is slow to fail (a start bound of 20 s and more) answers repeated
// requests at once itself while its failure is fresh. A record the engine answered
// about is given back, so repeated failures do not use up the table; one it never
// answered about stays spent, as a controller that comes late must find no other
// view in its host window.
int64_t motor_baslatilamadi(int index = -1) {
    g_son_hata = TR_WEBGORUNUM_MOTOR_BASLATILAMADI;
    if (index >= 0 && gorunumler[index].hwnd != nullptr) gorunumler[index].bos = 1;
    return -1;
}

int64_t gorunum_olustur() {
    g_son_hata = TR_WEBGORUNUM_YER_YOK;
    if (gorunum_sayisi >= kGorunumSiniri && bos_kayit_bul() < 0) return -1;
    if (!ortami_hazirla()) {
        // A missing loader or entry, or a thread that cannot host the engine, is
        // known at once and not remembered; an environment the engine refused is.
        if (g_ortam_istendi == 0) {
            g_son_hata = TR_WEBGORUNUM_MOTOR_BASLATILAMADI;
            return -1;
        }
        return motor_baslatilamadi();
    }
    host_sinifini_kaydet();
    const int index = kayit_al();
    if (index < 0) return -1;
    Gorunum& kayit = gorunumler[index];

    ComPtr<DenetleyiciIsleyicisi> isleyici =
        DenetleyiciIsleyicisi::olustur(&tamamlanma_kaydet<ICoreWebView2Controller>, {});
    if (isleyici == nullptr) return -1;
    if (FAILED(g_environment->CreateCoreWebView2Controller(kayit.hwnd, isleyici.Get()))) {
        return motor_baslatilamadi(index);
    }
    mesaj_pompala_bekle(&isleyici->durum().bitti);
    // A host destroyed during the wait left the record closed; the controller that
    // came anyway goes with the handler.
    if (kayit.hwnd == nullptr) return -1;
    if (isleyici->durum().sonuc == nullptr) {
        return isleyici->durum().bitti != 0 ? motor_baslatilamadi(index) : motor_baslatilamadi();
    }
    kayit.controller = isleyici->durum().sonuc.Detach();
    kayit.motor_gorunur = 1;
    gorunurlugu_bildir(kayit);

    ICoreWebView2* webview = nullptr;
    kayit.controller->get_CoreWebView2(&webview);
    // The record keeps the controller that came without a view: it stays spent.
    if (webview == nullptr) return motor_baslatilamadi();
    kayit.webview = webview;

    RECT alan = {};
    GetClientRect(kayit.hwnd, &alan);
    olcegi_esitle(kayit);
    kayit.controller->put_Bounds(alan);
    olaylara_abone_ol(kayit);
    kayit.hazir = 1;
    g_son_hata = TR_WEBGORUNUM_HATA_YOK;
    return index;
}

template <class Isleyici>
void isleyiciyi_birak(Isleyici*& isleyici) {
    if (isleyici == nullptr) return;
    isleyici->durum() = nullptr;  // whatever the engine still holds writes nowhere now
    isleyici->Release();
    isleyici = nullptr;
}

// Tears the page down (its media stop and its engine resources go). The record is
// cleared first, keeping `kalan_host` (the host window, or null when it is being
// destroyed) and the widget id, and marked closed; only then are the engine's
// objects closed and released, so that no message arriving meanwhile (the host
// being hidden or destroyed, the engine's own windows going) finds them in the
// record. A record from a creation that stopped half way is closed as far as it got.
void gorunum_kapat(Gorunum& kayit, HWND kalan_host) {
    Gorunum eski = kayit;
    kayit = Gorunum{};
    kayit.hwnd = kalan_host;
    kayit.widget_id = eski.widget_id;
    kayit.bos = 1;

    isleyiciyi_birak(eski.baslik_isleyicisi);
    isleyiciyi_birak(eski.adres_isleyicisi);
    isleyiciyi_birak(eski.tamamlanma_isleyicisi);
    isleyiciyi_birak(eski.baslangic_isleyicisi);
    isleyiciyi_birak(eski.kapatma_isleyicisi);
    isleyiciyi_birak(eski.durum_metni_isleyicisi);
    isleyiciyi_birak(eski.cokme_isleyicisi);
    isleyiciyi_birak(eski.yeni_pencere_isleyicisi);
    isleyiciyi_birak(eski.tus_isleyicisi);
    isleyiciyi_birak(eski.tam_ekran_isleyicisi);
    isleyiciyi_birak(eski.sessizlik_isleyicisi);
    isleyiciyi_birak(eski.ses_calma_isleyicisi);
    indirme_aboneligini_birak(static_cast<int>(&kayit - gorunumler));
    izin_aboneligini_birak(static_cast<int>(&kayit - gorunumler));
    yeni_pencere_istegini_birak(eski);
    sertifika_aboneligini_birak(static_cast<int>(&kayit - gorunumler));
    std::free(eski.yeni_pencere_adresi);
    std::free(eski.betik_sonucu);
    std::free(eski.kapanis_adresi);
    std::free(eski.kapanis_basligi);
    if (eski.controller != nullptr) eski.controller->Close();
    if (eski.webview12 != nullptr) eski.webview12->Release();
    if (eski.webview8 != nullptr) eski.webview8->Release();
    if (eski.webview != nullptr) eski.webview->Release();
    if (eski.controller != nullptr) eski.controller->Release();
}

// ---- Window procedure -------------------------------------------------------------

// The record of a host window whose view has a controller, or null.
Gorunum* denetleyicili_kayit(HWND pencere) {
    for (int index = 0; index < gorunum_sayisi; ++index) {
        Gorunum& kayit = gorunumler[index];
        if (kayit.hwnd == pencere && kayit.controller != nullptr) return &kayit;
    }
    return nullptr;
}

// The view always covers the host window's whole client area, so whoever sizes the
// host (a box's layout, a tab strip) sizes the view.
void host_boyutlandi(HWND pencere) {
    Gorunum* kayit = denetleyicili_kayit(pencere);
    if (kayit == nullptr) return;
    RECT alan = {};
    GetClientRect(pencere, &alan);
    olcegi_esitle(*kayit);
    kayit->controller->put_Bounds(alan);
}

void host_konumlandi(HWND pencere, const WINDOWPOS* konum) {
    if (konum == nullptr || (konum->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) == 0) return;
    if (Gorunum* kayit = denetleyicili_kayit(pencere)) gorunurlugu_bildir(*kayit);
}

// The engine places its popups, menus and input-method window by its parent's
// place on the screen; a view that is not on screen has nothing to place.
void ust_pencere_tasindi(HWND pencere) {
    Gorunum* kayit = denetleyicili_kayit(pencere);
    if (kayit != nullptr && IsWindowVisible(pencere)) kayit->controller->NotifyParentWindowPositionChanged();
}

// The engine's rule: a controller is closed before its parent window is destroyed.
// WM_DESTROY reaches the host while it and every window inside it still exist,
// whoever destroys it (the window runtime closing the top-level window, or anyone
// destroying a window that holds the host).
void host_yok_ediliyor(HWND pencere) {
    for (int index = 0; index < gorunum_sayisi; ++index) {
        if (gorunumler[index].hwnd == pencere) {
            gorunum_kapat(gorunumler[index], nullptr);
            return;
        }
    }
}

// The system tells a window of every mouse press in a window inside it: the host
// learns how the page was last clicked, which decides where a link that the click
// opens in a new window goes (a middle press or Ctrl with a press: behind).
void host_basis_duydu(HWND pencere, UINT basis) {
    if (basis != WM_LBUTTONDOWN && basis != WM_MBUTTONDOWN && basis != WM_RBUTTONDOWN) return;
    for (int index = 0; index < gorunum_sayisi; ++index) {
        if (gorunumler[index].hwnd == pencere) {
            gorunumler[index].arkada_acan_basis =
                basis == WM_MBUTTONDOWN || (basis == WM_LBUTTONDOWN && GetKeyState(VK_CONTROL) < 0) ? 1 : 0;
            return;
        }
    }
}

LRESULT CALLBACK wv_host_wndproc(HWND pencere, UINT mesaj, WPARAM wparam, LPARAM lparam) {
    // Registered messages lie above 0xC000; the others need no look-up.
    if (mesaj >= 0xC000 && mesaj == ust_pencere_tasindi_mesaji()) {
        ust_pencere_tasindi(pencere);
        return 0;
    }
    switch (mesaj) {
    case WM_SIZE:
        host_boyutlandi(pencere);
        return 0;
    case WM_WINDOWPOSCHANGED:
        // Then on to DefWindowProcW, which sends WM_SIZE and WM_MOVE.
        host_konumlandi(pencere, reinterpret_cast<const WINDOWPOS*>(lparam));
        break;
    case WM_DESTROY:
        host_yok_ediliyor(pencere);
        return 0;
    case WM_PARENTNOTIFY:
        host_basis_duydu(pencere, LOWORD(wparam));
        break;
    case WM_SETFOCUS:
        // The keyboard given to the web view's widget goes on to its page.
        if (Gorunum* kayit = denetleyicili_kayit(pencere)) {
            kayit->controller->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(pencere, mesaj, wparam, lparam);
}

}  // namespace

Gorunum* gorunum_bul(int64_t id) {
    if (id < 0 || id >= gorunum_sayisi) return nullptr;
    return &gorunumler[id];
}

// ---- Entry points -------------------------------------------------------------------

int64_t _tr_webgorunum_olustur(void) noexcept { return gorunum_olustur(); }

int64_t _tr_webgorunum_olusturma_hatasi(void) noexcept { return g_son_hata; }

int64_t _tr_webgorunum_widget_id(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    if (kayit == nullptr || kayit->hwnd == nullptr) return -1;
    if (kayit->widget_id < 0) {
        // A full widget table gives -1, kept as it is, so the next call tries again.
        kayit->widget_id = _tr_arayuz_widget_kaydet_harici_win(kayit->hwnd, KIND_EXTERNAL);
    }
    return kayit->widget_id;
}

int64_t _tr_webgorunum_kapat(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    if (kayit == nullptr || kayit->hazir == 0) return -1;
    const HWND host = kayit->hwnd;
    gorunum_kapat(*kayit, host);
    ShowWindow(host, SW_HIDE);
    return 0;
}

// The request is taken out of the record first: making the view pumps messages,
// and the record may change meanwhile (a newer request, its closing).
int64_t _tr_webgorunum_yeni_pencere_olustur(int64_t view) noexcept {
    Gorunum* acan = gorunum_bul(view);
    if (acan == nullptr || acan->yeni_pencere_istegi == nullptr) return -1;
    Gorunum istek = {};
    istek.yeni_pencere_istegi = acan->yeni_pencere_istegi;
    istek.yeni_pencere_ertelemesi = acan->yeni_pencere_ertelemesi;
    istek.yeni_pencere_zamanlayicisi = acan->yeni_pencere_zamanlayicisi;
    acan->yeni_pencere_istegi = nullptr;
    acan->yeni_pencere_ertelemesi = nullptr;
    acan->yeni_pencere_zamanlayicisi = 0;
    int64_t yeni = gorunum_olustur();
    if (yeni >= 0 && FAILED(istek.yeni_pencere_istegi->put_NewWindow(gorunumler[yeni].webview))) {
        gorunum_kapat(gorunumler[yeni], gorunumler[yeni].hwnd);
        ShowWindow(gorunumler[yeni].hwnd, SW_HIDE);
        yeni = -1;
    }
    yeni_pencere_istegini_birak(istek);
    return yeni;
}

int64_t _tr_webgorunum_yeni_pencere_birak(int64_t view) noexcept {
    Gorunum* kayit = gorunum_bul(view);
    if (kayit == nullptr || kayit->yeni_pencere_istegi == nullptr) return -1;
    yeni_pencere_istegini_birak(*kayit);
    return 0;
}

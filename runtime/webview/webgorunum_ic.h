// Inside the web view runtime: the web view record and table that creation
// (webgorunum_olustur.cpp) and the page operations (webgorunum_sayfa.cpp) share.
// Programs of the language use webgorunum_win_cz.h instead.
#pragma once

#include <windows.h>

#include <stdint.h>

#include "webview/com_isleyici.h"
#include "wv2_arayuz.h"

constexpr int kGorunumSiniri = 256;

// The three page-event handlers. Their state is the address of one flag in a
// record; closing a web view sets it to null so that nothing can write there again.
using BaslikIsleyicisi =
    KomIsleyici<ICoreWebView2DocumentTitleChangedEventHandler, int32_t*, ICoreWebView2*, IUnknown*>;
using AdresIsleyicisi = KomIsleyici<ICoreWebView2SourceChangedEventHandler, int32_t*,
                                    ICoreWebView2*, ICoreWebView2SourceChangedEventArgs*>;
struct Gorunum;
// The completion handler's state is the record: a completion raises two flags.
using TamamlanmaIsleyicisi = KomIsleyici<ICoreWebView2NavigationCompletedEventHandler, Gorunum*,
                                         ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs*>;
// A script whose result is wanted: which view asked, and which of its requests.
struct BetikIstegi {
    int64_t gorunum;
    int64_t istek;
};
using BaslangicIsleyicisi = KomIsleyici<ICoreWebView2NavigationStartingEventHandler, Gorunum*, ICoreWebView2*,
                                         ICoreWebView2NavigationStartingEventArgs*>;
using BetikSonucuIsleyicisi =
    KomIsleyici<ICoreWebView2ExecuteScriptCompletedHandler, BetikIstegi, HRESULT, LPCWSTR>;

// The handlers of what a page asks of its browser. Their state is, as above, a
// flag's address (or the record's), nulled on close; the key handler's is the host
// window, through which a key reaches the window runtime's shortcuts.
using KapatmaIsleyicisi =
    KomIsleyici<ICoreWebView2WindowCloseRequestedEventHandler, int32_t*, ICoreWebView2*, IUnknown*>;
using TamEkranIsleyicisi = KomIsleyici<ICoreWebView2ContainsFullScreenElementChangedEventHandler, int32_t*,
                                        ICoreWebView2*, IUnknown*>;
using DurumMetniIsleyicisi =
    KomIsleyici<ICoreWebView2StatusBarTextChangedEventHandler, int32_t*, ICoreWebView2*, IUnknown*>;
using CokmeIsleyicisi = KomIsleyici<ICoreWebView2ProcessFailedEventHandler, int32_t*, ICoreWebView2*,
                                    ICoreWebView2ProcessFailedEventArgs*>;
using YeniPencereIsleyicisi = KomIsleyici<ICoreWebView2NewWindowRequestedEventHandler, Gorunum*, ICoreWebView2*,
                                          ICoreWebView2NewWindowRequestedEventArgs*>;
// Both sound events raise the one flag of the page's sound.
using SessizlikIsleyicisi =
    KomIsleyici<ICoreWebView2IsMutedChangedEventHandler, int32_t*, ICoreWebView2*, IUnknown*>;
using SesCalmaIsleyicisi =
    KomIsleyici<ICoreWebView2IsDocumentPlayingAudioChangedEventHandler, int32_t*, ICoreWebView2*, IUnknown*>;
using TusIsleyicisi = KomIsleyici<ICoreWebView2AcceleratorKeyPressedEventHandler, HWND, ICoreWebView2Controller*,
                                  ICoreWebView2AcceleratorKeyPressedEventArgs*>;

// One web view. The engine objects are plain references that the record owns:
// kept for the life of the process, released only when the web view is closed.
// The flags are raised by the page-event handlers during message dispatch and
// lowered only by the read-and-clear queries.
struct Gorunum {
    ICoreWebView2Controller* controller;  // null until controller creation has completed
    ICoreWebView2* webview;               // null until then; every page operation needs it
    HWND hwnd;                            // the host window, parent of the controller
    int64_t widget_id;                    // -1 until first asked for
    int32_t baslik_degisti;               // the document title changed since the last query
    int32_t adres_degisti;                // the source address changed since the last query
    int32_t yuklenme_bitti;               // a navigation completed since the last query
    int32_t gezinti_tamamlandi;           // the same, for its own query (_tr_webgorunum_gezinti_tamamlandi_mi)
    int32_t gezinti_hatasi;               // the last completed navigation: 0 succeeded, else its web error status + 1
    int32_t hazir;                        // 1 once creation has succeeded, until closed

    // Our own reference to each page-event handler (null when its allocation
    // failed), kept so that closing can detach them.
    BaslikIsleyicisi* baslik_isleyicisi;
    AdresIsleyicisi* adres_isleyicisi;
    TamamlanmaIsleyicisi* tamamlanma_isleyicisi;
    BaslangicIsleyicisi* baslangic_isleyicisi;
    // 1 after the web view was closed: the next creation takes this record, with
    // its host window and widget id, before appending a new one.
    int32_t bos;
    // The visibility the engine was last given: 1 (visible, its default) or 0. The
    // engine follows the host window's own visibility.
    int32_t motor_gorunur;

    // What the page asked of its browser, each raised by its handler and read and
    // cleared by a query of webgorunum_sayfa.cpp:
    int32_t kapatma_istendi;       // the page called window.close()
    int32_t durum_metni_degisti;   // the status-bar text (the link under the pointer) changed
    int32_t cokme;                 // 0; 1 the page's process failed; 2 the whole engine did
    int32_t yeni_pencere_istendi;  // a click asked for a new window (the last one is kept)
    int32_t yeni_pencere_arkada;   // ... one that is to open behind the current tab
    char* yeni_pencere_adresi;     // ... its address, UTF-8 from malloc; freed on close
    // ... and the request itself with its deferral, our references, while it waits
    // for a view (_tr_webgorunum_yeni_pencere_olustur); the timer that ends the wait.
    ICoreWebView2NewWindowRequestedEventArgs* yeni_pencere_istegi;
    ICoreWebView2Deferral* yeni_pencere_ertelemesi;
    UINT_PTR yeni_pencere_zamanlayicisi;
    // The host heard the last mouse press in the page: 1 when it was a middle press
    // or a press with Ctrl held, which open a link behind the current tab.
    int32_t arkada_acan_basis;
    ICoreWebView2_12* webview12;   // the later view interface, when the engine has it
    int32_t tam_ekran_degisti;     // an element of the page entered or left full screen

    KapatmaIsleyicisi* kapatma_isleyicisi;
    DurumMetniIsleyicisi* durum_metni_isleyicisi;
    CokmeIsleyicisi* cokme_isleyicisi;
    YeniPencereIsleyicisi* yeni_pencere_isleyicisi;
    TusIsleyicisi* tus_isleyicisi;
    TamEkranIsleyicisi* tam_ekran_isleyicisi;

    // The page's sound, when the engine has the interface for it: whether the page
    // plays audio and whether the view is muted. Either changing raises the flag.
    ICoreWebView2_8* webview8;
    int32_t ses_degisti;
    SessizlikIsleyicisi* sessizlik_isleyicisi;
    SesCalmaIsleyicisi* ses_calma_isleyicisi;

    // Scripts run for their result: the number of the latest request (only its
    // result is kept), that result as JSON text (UTF-8 from malloc, freed on close),
    // and the flag raised when it came.
    int64_t betik_istegi;
    char* betik_sonucu;
    int32_t betik_sonucu_geldi;

    // Asked whether it may close (_tr_webgorunum_kapanmayi_sor): the view is on its
    // way to an empty page, which its page may refuse. Meanwhile the program sees
    // the page as it was: its address and title as they were asked (UTF-8 from
    // malloc, freed when the asking ends or the view closes), and no page events.
    int32_t kapanis_soruluyor;
    UINT64 kapanis_gezintisi;  // the empty page's navigation, once it started; else 0
    char* kapanis_adresi;
    char* kapanis_basligi;

    // The DPI the page's scale was last set from (0: not yet); see olcegi_esitle.
    uint32_t olcek_dpisi;
};

// The table never moves, so the handlers may point at flags inside it.
extern Gorunum gorunumler[kGorunumSiniri];
extern int32_t gorunum_sayisi;

// The record of a valid id (0 <= id < gorunum_sayisi), or null.
Gorunum* gorunum_bul(int64_t id);

// Scripts run for their result (webgorunum_sayfa.cpp): a new request of the view
// (the result of any earlier one is dropped from now on), whether a request is
// still the view's latest, and a result kept when it answers the latest ("null" for
// a failure or a missing text).
BetikIstegi betik_istegi_baslat(Gorunum& kayit, int64_t view);
bool son_betik_istegi_mi(const BetikIstegi& istek);
HRESULT betik_sonucunu_kaydet(BetikIstegi& istek, HRESULT kod, LPCWSTR json);

// Closing asked of the page (webgorunum_kapanis.cpp): the navigation events that
// answer it, and the end of an asking the program gave up (a new load, closing).
void kapanis_gezintisi_basladi(Gorunum& kayit, ICoreWebView2NavigationStartingEventArgs* argumanlar);
void kapanis_gezintisi_bitti(Gorunum& kayit, ICoreWebView2NavigationCompletedEventArgs* argumanlar);
void kapanis_sorusunu_birak(Gorunum& kayit);

// Downloads (webgorunum_indirme.cpp): a new view's DownloadStarting is listened to,
// and a closed view's listener let go.
void indirmelere_abone_ol(int index, ICoreWebView2* webview);
void indirme_aboneligini_birak(int index);

// Permissions (webgorunum_izin.cpp): a new view's PermissionRequested is listened
// to; a closed view's listener goes, and its waiting requests are answered.
void izinlere_abone_ol(int index, ICoreWebView2* webview);
void izin_aboneligini_birak(int index);
// Certificates the engine cannot verify (webgorunum_sertifika.cpp): a new view's
// ServerCertificateErrorDetected is listened to, and a closed view's listener let go.
void sertifikalara_abone_ol(int index, ICoreWebView2* webview);
void sertifika_aboneligini_birak(int index);
// The page's scale (webgorunum_olcek.cpp): set from the host window's DPI when the
// view is made and whenever its bounds are set on a window of another DPI since.
void olcegi_esitle(Gorunum& kayit);

// Web view runtime: web views drawn by the platform's web engine, each inside a
// host window that the widget runtime places like any other widget. A web view id
// is the index of its record in a table of 256. Page events are recorded as flags
// and read, and cleared, by the queries whose names end in _mi.
//
// Text results here are followed by a zero byte that the length does not count.
#pragma once

#include "tr_tipler.h"

// Creation, closing, and the widget that places the host window.
TR_API int64_t _tr_webgorunum_olustur(void) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_widget_id(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_kapat(int64_t view) TR_NOEXCEPT;
// Asks the page whether it may close, as browsers ask before closing a tab: 0 when
// asked. A page that agrees (most do at once; one with a "leave this page?" question
// once the user chose to leave) is reported by kapatma_istendi_mi, and the program
// then closes the view; one the user kept is not reported and stays as it was. Until
// it has answered, the view reports the page as it was asked (address, title, not
// loading) and no page events; a new load ends the asking. 1 when the page is still
// being asked (nothing is asked again: a program may close the view outright); -1
// for an unknown or unready view (close it outright).
TR_API int64_t _tr_webgorunum_kapanmayi_sor(int64_t view) TR_NOEXCEPT;
// Why the last creation gave -1: TR_WEBGORUNUM_HATA_YOK (0) after a success or
// before any creation; TR_WEBGORUNUM_MOTOR_BASLATILAMADI (1) when the engine could
// not be started (no loader or entry, a thread that cannot host it, or an
// environment or view the engine refused or never answered about). A failure of the
// engine itself, once asked, is remembered for 5 s (KORVA_MOTOR_HATA_SURESI_MS, read
// once, sets another time up to 60000 ms, for tests): every creation meanwhile fails
// at once with it, and the first one after tries the engine again.
// TR_WEBGORUNUM_YER_YOK (2) when there was no room (256 web views, no host window).
#define TR_WEBGORUNUM_HATA_YOK 0
#define TR_WEBGORUNUM_MOTOR_BASLATILAMADI 1
#define TR_WEBGORUNUM_YER_YOK 2
TR_API int64_t _tr_webgorunum_olusturma_hatasi(void) TR_NOEXCEPT;

// Navigation and scripts.
TR_API int64_t _tr_webgorunum_yukle(int64_t view, const char* address, int64_t length) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_html_yukle(int64_t view, const char* html, int64_t length) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_js_calistir(int64_t view, const char* script, int64_t length) TR_NOEXCEPT;
// Runs a script for its result: js_sonucu_geldi_mi is 1 once when the result of the
// latest such script of the view has come (an earlier one still on its way is
// dropped), and js_sonucu_al gives it as JSON text ("null" when the value has no
// JSON form or the script failed; empty before any result).
TR_API int64_t _tr_webgorunum_js_sonuclu_calistir(int64_t view, const char* script, int64_t length) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_js_sonucu_geldi_mi(int64_t view) TR_NOEXCEPT;
TR_API TrMetin _tr_webgorunum_js_sonucu_al(int64_t view) TR_NOEXCEPT;
// Runs a script for its result out of the page's reach: in a world of the runtime's
// own in the page's top document, which shares the document but none of the page
// scripts' globals (what the script leaves on its `window` is there for the next
// such script of the same document), and without a user gesture, so that the page
// neither sees the script nor gains user activation from it. The result comes as
// for js_sonuclu_calistir, through the same two queries (the latest script of either
// kind is the one whose result is kept). -1 for an unknown or unready view, or an
// engine that does not offer this (the stand-in engine runs no page scripts).
TR_API int64_t _tr_webgorunum_js_ayri_calistir(int64_t view, const char* script, int64_t length) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_geri(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_ileri(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_yenile(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_durdur(int64_t view) TR_NOEXCEPT;

// Page state.
TR_API int64_t _tr_webgorunum_geri_gidebilir_mi(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_ileri_gidebilir_mi(int64_t view) TR_NOEXCEPT;
TR_API TrMetin _tr_webgorunum_baslik_al(int64_t view) TR_NOEXCEPT;
TR_API TrMetin _tr_webgorunum_adres_al(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_yukleniyor_mu(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_yuklenme_yuzdesi(int64_t view) TR_NOEXCEPT;

// Page events, each reported once.
TR_API int64_t _tr_webgorunum_baslik_degisti_mi(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_adres_degisti_mi(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_yuklenme_bitti_mi(int64_t view) TR_NOEXCEPT;
// 1 once after each completed navigation, whoever reads the flag above (which the
// loading state also reads).
TR_API int64_t _tr_webgorunum_gezinti_tamamlandi_mi(int64_t view) TR_NOEXCEPT;
// How the view's last completed navigation ended: -1 when it succeeded (or none has
// completed, or the view is unknown), else the engine's web error status
// (COREWEBVIEW2_WEB_ERROR_STATUS: 0 unknown, 12 cannot connect, 13 host name not
// resolved, 14 canceled...).
TR_API int64_t _tr_webgorunum_gezinti_hatasi(int64_t view) TR_NOEXCEPT;

// What a page asks of its browser, each reported once by its _mi query:
//  - kapatma_istendi_mi: the page called window.close(), or agreed to close when
//    asked by kapanmayi_sor (or its process failed while it was being asked).
//  - yeni_pencere_istendi_mi: a click in the page asked for a new window (a link
//    with a target, window.open, a middle or Ctrl click). Only the last request
//    since the previous query is kept; its address is yeni_pencere_adresi_al, and
//    yeni_pencere_arkada_mi is 1 when a middle or Ctrl click asked for it (it then
//    opens behind the current tab). Requests no click started are refused and never
//    reported. The engine opens nothing itself: the program decides. The request
//    waits meanwhile (the page's window.open with it): yeni_pencere_olustur makes
//    the new window's web view, which gets the page's own window (the page that
//    opened it is its window.opener, and it may close itself with window.close());
//    yeni_pencere_birak answers it without one. It is answered without one by
//    itself too after 2 s, when a newer request comes, or when the view closes.
//  - coktu_mu: 0, or 1 once after the page's process failed (loading a page again
//    brings it back), or 2 once after the whole engine failed (the view is gone;
//    close it; a new web view starts a new engine).
//  - durum_metni_degisti_mi: the status-bar text changed (the address of the link
//    under the pointer, or empty when the pointer left it); durum_metni_al reads it.
//  - tam_ekran_degisti_mi: an element of the page entered or left full screen (a
//    video's button, element.requestFullscreen(), document.exitFullscreen(), Esc in
//    the page, a new document); tam_ekranda_mi says whether one is in it now (0 for
//    an unknown or unready view). The engine only reports it: the program decides
//    what the view covers meanwhile.
TR_API int64_t _tr_webgorunum_kapatma_istendi_mi(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_yeni_pencere_istendi_mi(int64_t view) TR_NOEXCEPT;
TR_API TrMetin _tr_webgorunum_yeni_pencere_adresi_al(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_yeni_pencere_arkada_mi(int64_t view) TR_NOEXCEPT;
// Makes a web view (as _tr_webgorunum_olustur) for the waiting new-window request of
// `view` and hands it to the engine: the new view's id, whose page loads the address
// itself (the program does not load it). -1 when the view is unknown or no request
// of it waits (none came, or it was answered), when no view could be made
// (olusturma_hatasi says why), or when the engine refused it; the request is then
// answered without a view, and the program may open the address itself.
TR_API int64_t _tr_webgorunum_yeni_pencere_olustur(int64_t view) TR_NOEXCEPT;
// Answers the waiting new-window request of `view` without a view: 0, or -1 when
// the view is unknown or none waits.
TR_API int64_t _tr_webgorunum_yeni_pencere_birak(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_coktu_mu(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_durum_metni_degisti_mi(int64_t view) TR_NOEXCEPT;
TR_API TrMetin _tr_webgorunum_durum_metni_al(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_tam_ekran_degisti_mi(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_tam_ekranda_mi(int64_t view) TR_NOEXCEPT;

// The page's sound.
//  - ses_degisti_mi: 1 once after the page started or stopped playing audio, or the
//    view was muted or unmuted; 0 otherwise and for an unknown view.
//  - ses_caliyor_mu: 1 while the page plays audio (also while the view is muted:
//    it plays, unheard); 0 when not, and for an unknown or unready view or an
//    engine that cannot tell.
//  - sessiz_mi: 1 while the view is muted; 0 when not, and for an unknown or
//    unready view.
//  - sessiz_yap: mutes the view (sessiz not 0) or unmutes it (0), for its later
//    pages too until it is changed; 1 when done, 0 for an unknown or unready view or
//    an engine without the switch.
TR_API int64_t _tr_webgorunum_ses_degisti_mi(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_ses_caliyor_mu(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_sessiz_mi(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_sessiz_yap(int64_t view, int64_t sessiz) TR_NOEXCEPT;
// Servers whose certificate the engine cannot verify. The runtime refuses every
// such request, so the engine shows no warning page of its own: a navigation there
// completes with the certificate's status (gezinti_hatasi: 1 the name does not
// match, 2 expired, 4 revoked, 5 invalid), and sertifika_adresi_al gives the view's
// latest refused address (empty when none, or for an unknown view). sertifika_izni_ver
// lets the host of an address ("host[:port]", any case) pass from then on, for
// this run of the process only; 0, or -1 for a text that names no host. An engine
// without this event shows its own warning page instead.
TR_API int64_t _tr_webgorunum_sertifika_izni_ver(const char* address, int64_t length) TR_NOEXCEPT;
TR_API TrMetin _tr_webgorunum_sertifika_adresi_al(int64_t view) TR_NOEXCEPT;

// Downloads a page starts. Each gets an id of its own (in the order they start,
// never reused; the first 4096 of the process are recorded, later ones go on
// unreported). The engine decides where the file goes (the user's Downloads folder;
// a name that is taken gets " (1)", " (2)" before the extension) and writes it
// under its final name only once complete; the runtime changes nothing of that.
//  - indirme_basladi_mi(view): the id of the view's oldest download not yet
//    reported, once; -1 when there is none. A negative view asks for any view's
//    (closed ones' included).
//  - indirme_ilerledi_mi, indirme_bitti_mi: 1 once after bytes came, after it
//    completed. indirme_basarisiz_mi: its interruption reason once after it ended
//    without completing (1 to 29, the engine's numbering: 3 no space, 26 canceled,
//    27 shut down...), else 0.
//  - indirme_durumu: 0 running, 1 interrupted, 2 completed; alinan and toplam are
//    bytes (toplam -1 when unknown); gorunumu the view that started it.
//  - adi_al, adresi_al, yolu_al: the file's name, the address it came from, its
//    full path (its final one once completed).
//  - indirme_iptal: stops a running download (0; the end comes as basarisiz with
//    26), -1 for an unknown id or one that has ended.
// Unknown ids give -1 (0 for the _mi queries, the empty text for texts).
TR_API int64_t _tr_webgorunum_indirme_basladi_mi(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_indirme_ilerledi_mi(int64_t download) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_indirme_bitti_mi(int64_t download) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_indirme_basarisiz_mi(int64_t download) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_indirme_durumu(int64_t download) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_indirme_alinan(int64_t download) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_indirme_toplam(int64_t download) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_indirme_gorunumu(int64_t download) TR_NOEXCEPT;
TR_API TrMetin _tr_webgorunum_indirme_adi_al(int64_t download) TR_NOEXCEPT;
TR_API TrMetin _tr_webgorunum_indirme_adresi_al(int64_t download) TR_NOEXCEPT;
TR_API TrMetin _tr_webgorunum_indirme_yolu_al(int64_t download) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_indirme_iptal(int64_t download) TR_NOEXCEPT;

// Permissions a page asks for. Each request waits, and its page with it, until
// the program answers it, the view gets a new document (a reload too) or the view
// closes (those two answer it with the engine's default, and its id is unknown after).
//  - izin_istendi_mi(view): the id of the view's oldest request not yet reported,
//    once; -1 when there is none. A negative view asks for any view's.
//  - izin_turu: what is asked, in the engine's numbering (1 microphone, 2 camera,
//    3 location, 4 notifications, 6 reading the clipboard); izin_kaynagi_al: the
//    origin asking ("https://example.com:8443"); izin_kullanici_mi: 1 when the
//    user's action in the page started it; izin_gorunumu: its view.
//  - izin_yanitla(request, state): 0 the engine's default (a refusal for a headless
//    engine), 1 allow, 2 refuse; 0 when answered, -1 for an unknown or already
//    answered request or another state.
// Unknown ids give -1 (0 for _mi, the empty text for texts). At most 256 requests
// wait at once; more are answered with the engine's default and not reported.
TR_API int64_t _tr_webgorunum_izin_istendi_mi(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_izin_turu(int64_t request) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_izin_kullanici_mi(int64_t request) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_izin_gorunumu(int64_t request) TR_NOEXCEPT;
TR_API TrMetin _tr_webgorunum_izin_kaynagi_al(int64_t request) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_izin_yanitla(int64_t request, int64_t state) TR_NOEXCEPT;

// Writing the page to a file the program chose (a full Windows path in UTF-8;
// a file there is replaced): pdf_yazdir as a PDF (the engine's printing, its
// default page settings), mhtml_kaydet as one MHTML file holding the page and its
// resources. Either is written under a temporary name beside the file and takes
// the name only when whole: a failure leaves nothing under it. 0 when asked; -1
// for an unknown or unready view, or a path that is empty or not a full one.
// The view's latest request is the one reported: kayit_bitti_mi is 1 once after
// it was written, 2 once after it failed (else 0), and kayit_hatasi says why the
// latest failed: the engine failed (1), the engine does not offer it (2: the
// stand-in cannot save MHTML), no room on the disk (3), the folder cannot be
// written (4: missing, no access, a bad name), another file error (5); 0 else.
#define TR_WEBGORUNUM_KAYIT_HATA_YOK 0
#define TR_WEBGORUNUM_KAYIT_MOTOR 1
#define TR_WEBGORUNUM_KAYIT_DESTEKSIZ 2
#define TR_WEBGORUNUM_KAYIT_YER_YOK 3
#define TR_WEBGORUNUM_KAYIT_YAZILAMIYOR 4
#define TR_WEBGORUNUM_KAYIT_DOSYA 5
TR_API int64_t _tr_webgorunum_pdf_yazdir(int64_t view, const char* path, int64_t length) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_mhtml_kaydet(int64_t view, const char* path, int64_t length) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_kayit_bitti_mi(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_kayit_hatasi(int64_t view) TR_NOEXCEPT;

// Zoom.
TR_API int64_t _tr_webgorunum_yakinlastir(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_uzaklastir(int64_t view) TR_NOEXCEPT;
TR_API int64_t _tr_webgorunum_yakinlik_sifirla(int64_t view) TR_NOEXCEPT;
// Sets the zoom to a percentage, 25 to 500 (-1 for any other).
TR_API int64_t _tr_webgorunum_yakinlik_ayarla(int64_t view, int64_t percent) TR_NOEXCEPT;
// The zoom as a percentage rounded to a whole number (the menu shows it), or -1.
TR_API int64_t _tr_webgorunum_yakinlik_al(int64_t view) TR_NOEXCEPT;

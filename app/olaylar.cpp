// Korva's behaviour: one pass of event checks after every pump, and the small
// functions it calls (opening tabs, the side panel, and copying the selected
// page's title, address and loading state into the window).
//
// Start with olaylari_kontrol_et: it asks, in a fixed order, whether each thing
// the program cares about has happened since the last pass; each question reads
// and clears a flag in the runtime, so every event is seen by exactly one pass.
//
// Tabs and web views. The tab strip numbers tabs by position, the web view
// runtime numbers web views by record; the two agree only until the first tab is
// closed. So the program keeps its own table of the web view shown at each tab
// position: a tab opening appends to it, a close shifts it down, and every per-tab
// step goes through it. A closed tab's web view is closed with its tab, so its page
// stops and its record can serve the next tab.
//
// Texts fetched from the runtime (titles, addresses, the entry's text) are the
// program's to free, and are freed as soon as they have been used.
//
// Beyond the buttons, the browser answers what people expect of one: keyboard
// shortcuts wherever the keyboard is (the window runtime takes them in its pump,
// the web view runtime passes on those pressed in a page), pages that ask for a new
// window get a tab right after theirs, a page's window.close() closes its tab, a
// page whose process failed shows Korva's own error page until it is reloaded, and
// the status bar shows the address of the link under the pointer.
#include "korva.h"

#include <stdlib.h>
#include <string.h>

#include <string>

#include "core/calismazamani_win.h"
#include "depolar.h"
#include "oturum.h"
#include "sekme_sirasi.h"
#include "izinler.h"
#include "tarayici_ic.h"
#include "webview/webgorunum_win_cz.h"
#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"

namespace {

// ---- The history's first reading ----------------------------------------------------

// The history is read a second after the first page has loaded (or sooner, when
// something needs it): the first page does not wait for it, and a damaged file is
// still reported right after start-up.
constexpr ULONGLONG kGecmisBeklemesiMs = 1000;
ULONGLONG ilk_sayfa_ani = 0;

// ---- Shortcuts -------------------------------------------------------------------

enum class Eylem {
    yeni_sekme, sekmeyi_kapat, sonraki_sekme, onceki_sekme, sekmeye_git, son_sekme, adrese_git, yenile,
    durdur, geri, ileri, yakinlastir, uzaklastir, yakinlik_sifirla, tam_ekran, kapanani_ac,
    gecmis_paneli, yer_imleri_paneli, yer_imi, bul, sonraki_bul, onceki_bul, indirmeler_paneli, kaynak, menu,
    yazdir, kaydet,
};

struct Kisayol {
    int64_t tus;
    int64_t degistiriciler;
    Eylem eylem;
    int64_t sekme;  // for sekmeye_git: the position
};

constexpr int64_t kCtrl = TR_KISAYOL_CTRL, kShift = TR_KISAYOL_SHIFT, kAlt = TR_KISAYOL_ALT;
constexpr Kisayol kKisayollar[] = {
    {'T', kCtrl, Eylem::yeni_sekme, 0},
    {'W', kCtrl, Eylem::sekmeyi_kapat, 0},
    {VK_TAB, kCtrl, Eylem::sonraki_sekme, 0},
    {VK_TAB, kCtrl | kShift, Eylem::onceki_sekme, 0},
    {'1', kCtrl, Eylem::sekmeye_git, 0}, {'2', kCtrl, Eylem::sekmeye_git, 1},
    {'3', kCtrl, Eylem::sekmeye_git, 2}, {'4', kCtrl, Eylem::sekmeye_git, 3},
    {'5', kCtrl, Eylem::sekmeye_git, 4}, {'6', kCtrl, Eylem::sekmeye_git, 5},
    {'7', kCtrl, Eylem::sekmeye_git, 6}, {'8', kCtrl, Eylem::sekmeye_git, 7},
    {'9', kCtrl, Eylem::son_sekme, 0},
    {'L', kCtrl, Eylem::adrese_git, 0},
    {'D', kAlt, Eylem::adrese_git, 0},
    {VK_F6, 0, Eylem::adrese_git, 0},
    {VK_F5, 0, Eylem::yenile, 0},
    {'R', kCtrl, Eylem::yenile, 0},
    {VK_ESCAPE, 0, Eylem::durdur, 0},
    {VK_LEFT, kAlt, Eylem::geri, 0},
    {VK_RIGHT, kAlt, Eylem::ileri, 0},
    // "+" is Shift and "=" on most keyboards; a browser takes either, and the keypad's.
    {VK_OEM_PLUS, kCtrl, Eylem::yakinlastir, 0},
    {VK_OEM_PLUS, kCtrl | kShift, Eylem::yakinlastir, 0},
    {VK_ADD, kCtrl, Eylem::yakinlastir, 0},
    {VK_OEM_MINUS, kCtrl, Eylem::uzaklastir, 0},
    {VK_SUBTRACT, kCtrl, Eylem::uzaklastir, 0},
    {'0', kCtrl, Eylem::yakinlik_sifirla, 0},
    {VK_NUMPAD0, kCtrl, Eylem::yakinlik_sifirla, 0},
    {VK_F11, 0, Eylem::tam_ekran, 0},
    {'T', kCtrl | kShift, Eylem::kapanani_ac, 0},
    {'H', kCtrl, Eylem::gecmis_paneli, 0},
    {'O', kCtrl | kShift, Eylem::yer_imleri_paneli, 0},
    {'D', kCtrl, Eylem::yer_imi, 0},
    {'J', kCtrl, Eylem::indirmeler_paneli, 0},
    {'F', kCtrl, Eylem::bul, 0},
    {VK_F3, 0, Eylem::sonraki_bul, 0},
    {VK_F3, kShift, Eylem::onceki_bul, 0},
    {'U', kCtrl, Eylem::kaynak, 0},
    {'F', kAlt, Eylem::menu, 0},
    {VK_F10, 0, Eylem::menu, 0},
    {'P', kCtrl, Eylem::yazdir, 0},
    {'S', kCtrl, Eylem::kaydet, 0},
};
constexpr int64_t kKisayolSayisi = sizeof(kKisayollar) / sizeof(kKisayollar[0]);
int64_t kisayol_kimlikleri[kKisayolSayisi];
bool kisayollar_kuruldu = false;

// ---- Closed tabs -----------------------------------------------------------------

// The addresses of the last tabs closed and the positions they had, newest last;
// Ctrl+Shift+T takes them back to their places.
constexpr int kKapananSiniri = 16;
char* kapanan_adresler[kKapananSiniri];
int64_t kapanan_yerler[kKapananSiniri];
int kapanan_sayisi = 0;

// The run of tabs the selected page is opening (sekme_sirasi.h).
korva::AcilisDizisi acilis_dizisi;

// ---- Pages whose process failed ----------------------------------------------------

// By web view id: the address a page had when its process failed, shown again by
// Reload (the view meanwhile shows the error page). Null when the view's page is fine.
constexpr int64_t kGorunumSiniri = 256;
char* cokme_adresleri[kGorunumSiniri];
// By web view id: the address each page last reported, kept because a view whose
// engine is gone may no longer answer with it.
char* son_adresler[kGorunumSiniri];
// By web view id: the view's whole engine is gone. Its tab keeps its place (and
// says so) until Reload gives it a web view of a new engine; nothing starts an
// engine by itself, so a failing engine cannot keep Korva busy.
bool olu_gorunumler[kGorunumSiniri];
// When a tab behind the selected one was asked to close (0: none waits): its page
// shows a question only once shown, so a page that has not answered soon is shown.
ULONGLONG kapanis_soruldugu_an[kGorunumSiniri];
constexpr ULONGLONG kKapanisSorusuBeklemesiMs = 300;
// By web view id: the view whose page opened this one as its own window (its
// window.opener), plus one; 0 for any other page. A popup that closes itself while
// its tab is selected gives the selection back to it; one closing behind another
// tab leaves the selection where the user has it, and one the user closes leaves
// the selection to the strip, as any tab (kullanici_kapatiyor: the user asked it
// to close).
int64_t acan_gorunumler[kGorunumSiniri];
bool kullanici_kapatiyor[kGorunumSiniri];
constexpr char kMotorCoktuBasligi[] = "Motor coktu";
constexpr char kMotorCoktuDurumu[] = "Web motoru coktu: sayfayi yeni bir motorda acmak icin Yenile (F5)";

// ---- Tabs whose engine could not be started --------------------------------------

// A tab asked for while the web engine cannot start has no web view. Its page is a
// label of Korva's own that says why, and its table entry is that label's id
// turned below -1 (hata_sekmesi_kimligi): every runtime call given it fails
// harmlessly, and every table by web view id leaves it alone. Its caption, the
// window title and the status bar say so too; Reload and Home try the engine again
// for it (the runtime answers at once while it still remembers the failure, for
// 5 s). The labels of closed ones wait for the next such tab, as the widget table
// cannot take them back.
constexpr char kBaslatilamadiBasligi[] = "Motor baslatilamadi";
constexpr char kBaslatilamadiDurumu[] = "Web motoru baslatilamadi: yeniden denemek icin Yenile (F5)";
constexpr char kBaslatilamadiSayfasi[] =
    "Web motoru baslatilamadi. Motor bulunamamis, calisamamis, yanit vermiyor ya da profil klasorune yazamamis olabilir. "
    "Yeniden denemek icin Yenile'ye (F5) basin.";
constexpr int kBosEtiketSiniri = 64;
int64_t bos_hata_etiketleri[kBosEtiketSiniri];
int bos_hata_etiketi_sayisi = 0;

bool hata_sekmesi_mi(int64_t view) { return view <= -2 && !korva::bekleyen_mi(view); }
int64_t hata_sekmesi_kimligi(int64_t etiket) { return -2 - etiket; }
int64_t hata_etiketi(int64_t view) { return -2 - view; }

// A label for a new such tab: one left by a closed one, else a new one; -1 when
// the widget table is full.
int64_t hata_etiketi_al() {
    if (bos_hata_etiketi_sayisi > 0) return bos_hata_etiketleri[--bos_hata_etiketi_sayisi];
    return _tr_arayuz_etiket(kBaslatilamadiSayfasi, static_cast<int64_t>(sizeof(kBaslatilamadiSayfasi) - 1));
}

void hata_etiketini_birak(int64_t etiket) {
    if (etiket < 0) return;
    _tr_arayuz_widget_gizle(etiket);
    if (bos_hata_etiketi_sayisi < kBosEtiketSiniri) bos_hata_etiketleri[bos_hata_etiketi_sayisi++] = etiket;
}

// The status bar's text while the pointer is over a link of the selected page.
char* baglanti_metni = nullptr;

// A message of the program's own (a bookmark added, a damaged file set aside),
// shown over "Hazir" until it is this old or the selected tab changes.
constexpr ULONGLONG kBildirimSuresiMs = 8000;
std::string bildirim_metni;
ULONGLONG bildirim_ani = 0;

// By web view id: the history entry of the view's last visit, which the page's
// title, when it comes later, completes. -1: none.
int64_t gecmis_yerleri[kGorunumSiniri];
// The engine's status of a navigation that ended as canceled (gezinti_hatasi).
constexpr int64_t kIptalDurumu = 14;

// The web view of each open tab, by position; entries 0 to wv_sayisi - 1 are used.
// One entry per tab up to the tab limit, MAKS_SEKME.
constexpr int64_t kSekmeTablosuBoyu = 64;
int64_t sekme_gorunumleri[kSekmeTablosuBoyu];

const char* const kPanelBasliklari[] = {"Yer Imleri", "Gecmis", "Indirmeler", "Ayarlar"};

constexpr char kYukleniyor[] = "Yukleniyor...";
constexpr char kHazir[] = "Hazir";
constexpr char kHizliErisimBasligi[] = "Hizli Erisim";
constexpr char kYeniSekmeBasligi[] = "Yeni Sekme";

int64_t uzunluk(const char* metin) { return static_cast<int64_t>(strlen(metin)); }

// A text fetched from the runtime, freed when it goes out of scope.
class AlinanMetin {
public:
    explicit AlinanMetin(TrMetin metin) : metin_(metin) {}
    ~AlinanMetin() { free(metin_.ptr); }
    AlinanMetin(const AlinanMetin&) = delete;
    AlinanMetin& operator=(const AlinanMetin&) = delete;

    const char* ptr() const { return metin_.ptr; }
    int64_t len() const { return metin_.len; }
    // An absent text (no storage) counts as empty too.
    bool bos() const { return metin_.ptr == nullptr || metin_.len <= 0; }

private:
    TrMetin metin_;
};

int64_t secili_konum() { return _tr_arayuz_sekme_secili(sekme_defteri); }

int64_t gorunum_at(int64_t konum) {
    if (konum < 0 || konum >= wv_sayisi) return -1;
    return sekme_gorunumleri[konum];
}

// The selected tab's web view, or -1 when no tab is selected.
int64_t secili_gorunum() { return gorunum_at(secili_konum()); }

// How a newly opened tab fills its web view.
using SayfaYukleyici = void (*)(int64_t view, const char* metin, int64_t length);

// The start page: Korva's own, or the address the settings name.
int64_t baslangic_sayfasini_ac(int64_t view) {
    const std::string& adres = korva::ayarlar().baslangic_sayfasi;
    if (!adres.empty()) return _tr_webgorunum_yukle(view, adres.data(), static_cast<int64_t>(adres.size()));
    return _tr_webgorunum_html_yukle(view, HIZLI_ERISIM, uzunluk(HIZLI_ERISIM));
}

void baslangic_sayfasini_yukle(int64_t view, const char*, int64_t) { baslangic_sayfasini_ac(view); }

void adresi_yukle(int64_t view, const char* address, int64_t length) {
    _tr_webgorunum_yukle(view, address, length);
}

// Opens a tab with a new web view at position `yer` (-1: at the end of the strip)
// and selects it when asked. A tab that cannot be added gives its web view back, so
// that the table, the strip and wv_sayisi keep counting the same tabs. With `acan`,
// the web view is the one made for that view's waiting new-window request, whose
// page loads itself; when none could be made, a plain one loads the text as usual.
int64_t sekme_ac(const char* baslik, int64_t baslik_uzunlugu, SayfaYukleyici yukle,
                 const char* metin, int64_t metin_uzunlugu, int64_t yer = -1, bool sec = true,
                 int64_t acan = -1) {
    if (wv_sayisi >= MAKS_SEKME || wv_sayisi >= kSekmeTablosuBoyu) return -1;
    int64_t view = acan >= 0 ? _tr_webgorunum_yeni_pencere_olustur(acan) : -1;
    if (view >= 0 && view < kGorunumSiniri) {
        yukle = nullptr;  // the page's own window loads itself
    } else {
        view = _tr_webgorunum_olustur();
    }
    int64_t sayfa = -1;
    if (view >= 0) {
        sayfa = _tr_webgorunum_widget_id(view);
    } else {
        // An engine that cannot start still gives the tab, which says so.
        if (_tr_webgorunum_olusturma_hatasi() != TR_WEBGORUNUM_MOTOR_BASLATILAMADI) return -1;
        sayfa = hata_etiketi_al();
        if (sayfa < 0) return -1;
        view = hata_sekmesi_kimligi(sayfa);
        baslik = kBaslatilamadiBasligi;
        baslik_uzunlugu = uzunluk(kBaslatilamadiBasligi);
    }
    if (yer < 0 || yer > wv_sayisi) yer = wv_sayisi;
    int64_t konum = _tr_arayuz_sekme_kapatmali_araya_ekle(sekme_defteri, yer, sayfa, baslik, baslik_uzunlugu);
    if (konum != yer) {
        if (konum >= 0) _tr_arayuz_sekme_kaldir(sekme_defteri, konum);
        if (hata_sekmesi_mi(view)) {
            hata_etiketini_birak(sayfa);
        } else {
            _tr_webgorunum_kapat(view);
        }
        return -1;
    }
    _tr_arayuz_goster_tumu(sekme_defteri);
    if (!hata_sekmesi_mi(view)) {
        if (korva::ayarlar().yakinlik != 100) _tr_webgorunum_yakinlik_ayarla(view, korva::ayarlar().yakinlik);
        if (view < kGorunumSiniri) gecmis_yerleri[view] = -1;
        if (yukle != nullptr) yukle(view, metin, metin_uzunlugu);
    }
    for (int64_t i = wv_sayisi; i > konum; --i) sekme_gorunumleri[i] = sekme_gorunumleri[i - 1];
    sekme_gorunumleri[konum] = view;
    wv_sayisi += 1;
    if (yukle == nullptr) acan_gorunumler[view] = acan + 1;
    if (sec) _tr_arayuz_sekme_sec(sekme_defteri, konum);
    return view;
}

void metni_birak(char*& metin) {
    free(metin);
    metin = nullptr;
}

// Remembers a closed tab's address (malloc'ed, taken over) and position for
// Ctrl+Shift+T; the oldest of 16 goes.
void kapanan_adresi_ekle(char* adres, int64_t konum) {
    if (adres == nullptr) return;
    if (kapanan_sayisi == kKapananSiniri) {
        free(kapanan_adresler[0]);
        memmove(&kapanan_adresler[0], &kapanan_adresler[1], (kKapananSiniri - 1) * sizeof(char*));
        memmove(&kapanan_yerler[0], &kapanan_yerler[1], (kKapananSiniri - 1) * sizeof(int64_t));
        kapanan_sayisi -= 1;
    }
    kapanan_yerler[kapanan_sayisi] = konum;
    kapanan_adresler[kapanan_sayisi++] = adres;
}

void kapananlara_ekle(int64_t view, int64_t konum) {
    TrMetin adres = _tr_webgorunum_adres_al(view);
    if (cokme_adresleri[view] != nullptr) {
        // A tab closed on its error page comes back with the page it had.
        free(adres.ptr);
        adres.ptr = cokme_adresleri[view];
        cokme_adresleri[view] = nullptr;
    }
    kapanan_adresi_ekle(adres.ptr, konum);
}

char* kopya(const char* metin);

// The last closed tab comes back where it was (at the end, when fewer tabs are left
// than its position), selected. A tab whose page has no address of its own (the
// start page, a text document) comes back as the start page.
void kapanani_ac() {
    if (kapanan_sayisi == 0) return;
    char* adres = kapanan_adresler[kapanan_sayisi - 1];
    const int64_t yer = kapanan_yerler[kapanan_sayisi - 1] < wv_sayisi ? kapanan_yerler[kapanan_sayisi - 1] : wv_sayisi;
    bool baslangic = adres[0] == '\0' || strcmp(adres, "about:blank") == 0;
    int64_t view = baslangic ? sekme_ac(kHizliErisimBasligi, uzunluk(kHizliErisimBasligi), baslangic_sayfasini_yukle,
                                        nullptr, 0, yer)
                             : sekme_ac(kYeniSekmeBasligi, uzunluk(kYeniSekmeBasligi), adresi_yukle, adres,
                                        uzunluk(adres), yer);
    if (view < 0) return;  // at the tab limit the address stays for later
    kapanan_sayisi -= 1;
    kapanan_adresler[kapanan_sayisi] = nullptr;
    free(adres);
}

// A closed view opened nothing any more, nor was opened: an id used again later is
// another page.
void acan_unut(int64_t view) {
    if (view < 0 || view >= kGorunumSiniri) return;
    acan_gorunumler[view] = 0;
    kullanici_kapatiyor[view] = false;
    for (int64_t& acan : acan_gorunumler) {
        if (acan == view + 1) acan = 0;
    }
}

// A popup closed itself: the tab of the page that opened it is selected again, and
// its page has the keyboard, as the user left it.
void acana_don(int64_t acan) {
    for (int64_t konum = 0; acan >= 0 && konum < wv_sayisi; ++konum) {
        if (sekme_gorunumleri[konum] != acan) continue;
        if (konum != secili_konum()) _tr_arayuz_sekme_sec(sekme_defteri, konum);
        _tr_arayuz_odakla(_tr_webgorunum_widget_id(acan));
        return;
    }
}

// A tab behind the selected one closed itself: the strip moved the selection to
// the tab after it, and the tab the user had selected gets it back.
void secimi_geri_ver(int64_t view) {
    for (int64_t konum = 0; konum < wv_sayisi; ++konum) {
        if (sekme_gorunumleri[konum] != view) continue;
        if (konum != secili_konum()) _tr_arayuz_sekme_sec(sekme_defteri, konum);
        return;
    }
}

// A close requested on a tab's close mark: the tab goes, then its web view. The
// last tab closed is replaced by a start page, whose selection refreshes the
// window. Otherwise the strip selects a neighbour itself and raises no selection
// flag, so the address and title are refreshed here: they would still show the
// closed page.
void sekmeyi_kapat(int64_t konum) {
    if (konum < 0 || konum >= wv_sayisi) return;
    if (_tr_arayuz_sekme_kaldir(sekme_defteri, konum) != 0) return;
    int64_t view = sekme_gorunumleri[konum];
    const korva::OturumSekmesi* bekleyen = korva::bekleyen_sekme(view);
    if (bekleyen != nullptr) {
        // A tab restored from the last session and never shown comes back the same way.
        kapanan_adresi_ekle(kopya(bekleyen->adres.c_str()), konum);
    } else if (!hata_sekmesi_mi(view)) {
        kapananlara_ekle(view, konum);
    }
    acilis_dizisi.kapandi(view);
    acan_unut(view);
    for (int64_t i = konum; i + 1 < wv_sayisi; ++i) sekme_gorunumleri[i] = sekme_gorunumleri[i + 1];
    wv_sayisi -= 1;
    kapanan_sekme_sayisi += 1;
    if (bekleyen != nullptr) {
        korva::bekleyeni_birak(view);
    } else if (hata_sekmesi_mi(view)) {
        hata_etiketini_birak(hata_etiketi(view));
    } else {
        metni_birak(son_adresler[view]);
        olu_gorunumler[view] = false;
        kapanis_soruldugu_an[view] = 0;
        korva::gorunum_kapandi(view);
        _tr_webgorunum_kapat(view);
    }
    if (wv_sayisi <= 0) {
        hizli_erisim_ac();
        return;
    }
    adres_cubugunu_guncelle();
    pencere_basligini_guncelle();
}

// The user closes a tab: its page is asked first, since a page may want to ask
// before it is left; the tab goes once the page agrees (its close request). A tab
// whose page cannot be asked goes at once: an error tab, a view of a failed
// engine, one not ready, and one asked again before it answered (the user insists,
// or the engine is stuck).
void sekmeyi_kapatmayi_iste(int64_t konum) {
    if (konum < 0 || konum >= wv_sayisi) return;
    const int64_t view = sekme_gorunumleri[konum];
    if (hata_sekmesi_mi(view) || korva::bekleyen_mi(view) || olu_gorunumler[view] ||
        _tr_webgorunum_kapanmayi_sor(view) != 0) {
        sekmeyi_kapat(konum);
        return;
    }
    if (konum != secili_konum()) kapanis_soruldugu_an[view] = GetTickCount64();
    if (view >= 0 && view < kGorunumSiniri) kullanici_kapatiyor[view] = true;
}

// A tab asked to close from behind that has not answered is shown, and its question with it.
void kapanis_sorusunu_goster(int64_t konum, int64_t view) {
    if (kapanis_soruldugu_an[view] == 0) return;
    if (konum == secili_konum()) {
        kapanis_soruldugu_an[view] = 0;
    } else if (GetTickCount64() - kapanis_soruldugu_an[view] >= kKapanisSorusuBeklemesiMs) {
        kapanis_soruldugu_an[view] = 0;
        _tr_arayuz_sekme_sec(sekme_defteri, konum);
    }
}

// Korva's own error page for a page whose process failed, in the dark theme, with
// the address it had and a link that loads it again. Words wrap whole; only the
// address, which may be one long word, breaks wherever it must.
constexpr char kHataSayfasiBasi[] =
    "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Sayfa coktu</title><style>"
    "body{background:#1E1E2E;color:#CDD6F4;font-family:'Segoe UI',sans-serif;margin:15% auto;max-width:560px}"
    "h1{font-weight:400;font-size:28px}p{color:#A6ADC8}p.adres{overflow-wrap:anywhere}"
    "a{display:inline-block;margin-top:16px;padding:8px 16px;background:#313244;color:#89B4FA;"
    "border-radius:6px;text-decoration:none}</style></head><body><h1>Bu sayfa coktu</h1><p>";
constexpr char kSayfaSureciMetni[] =
    "Sayfayi gosteren surec beklenmedik bicimde sonlandi. Diger sekmeler calismaya devam ediyor.";
constexpr char kAdresBasi[] = "</p><p class=\"adres\">";
constexpr char kHataSayfasiOrtasi[] = "</p><a href=\"";
constexpr char kHataSayfasiSonu[] = "\">Yeniden yukle</a> <p>Ya da F5'e basin.</p></body></html>";

void hata_sayfasini_goster(int64_t view) {
    const char* adres = cokme_adresleri[view] != nullptr ? cokme_adresleri[view] : "";
    const std::string kacisli = korva::html_kacisli(adres);
    // Korva's own pages (the start page, a text document) have no address to show
    // or load again: the page names none, as the address entry does, and the link
    // leads nowhere new.
    const bool kendi_sayfasi = kacisli.empty() || kacisli == "about:blank";
    std::string sayfa = kHataSayfasiBasi;
    sayfa += kSayfaSureciMetni;
    if (!kendi_sayfasi) {
        sayfa += kAdresBasi;
        sayfa += kacisli;
    }
    sayfa += kHataSayfasiOrtasi;
    sayfa += kendi_sayfasi ? "#" : kacisli;
    sayfa += kHataSayfasiSonu;
    _tr_webgorunum_html_yukle(view, sayfa.data(), static_cast<int64_t>(sayfa.size()));
}

char* kopya(const char* metin) {
    const size_t boy = strlen(metin) + 1;
    char* sonuc = static_cast<char*>(malloc(boy));
    if (sonuc != nullptr) memcpy(sonuc, metin, boy);
    return sonuc;
}

// Keeps the address a failed page had (asked afresh, else the last one it reported);
// a page that failed again keeps the first.
void cokme_adresini_kaydet(int64_t view) {
    if (cokme_adresleri[view] != nullptr) return;
    TrMetin adres = _tr_webgorunum_adres_al(view);
    if (adres.ptr != nullptr && adres.len > 0) {
        cokme_adresleri[view] = adres.ptr;
        return;
    }
    free(adres.ptr);
    cokme_adresleri[view] = kopya(son_adresler[view] != nullptr ? son_adresler[view] : "");
}

// A tab whose whole engine failed has a view that is gone for good: Reload gives
// the tab a new web view in its place (the first one starts a new engine) and loads
// the page it had. A tab whose engine could not start gets one the same way, with
// the start page. false when no new web view could be made; the tab stays, or
// comes back saying again that the engine could not start.
bool sekmeye_yeni_gorunum_ver(int64_t konum) {
    int64_t eski = sekme_gorunumleri[konum];
    const bool baslatilamadi = hata_sekmesi_mi(eski);
    const bool secili = secili_konum() == konum;
    char* adres = nullptr;
    if (!baslatilamadi) {
        adres = cokme_adresleri[eski];
        cokme_adresleri[eski] = nullptr;
    }
    if (_tr_arayuz_sekme_kaldir(sekme_defteri, konum) != 0) {
        if (!baslatilamadi) cokme_adresleri[eski] = adres;
        return false;
    }
    for (int64_t i = konum; i + 1 < wv_sayisi; ++i) sekme_gorunumleri[i] = sekme_gorunumleri[i + 1];
    wv_sayisi -= 1;
    acilis_dizisi.kapandi(eski);
    acan_unut(eski);
    if (baslatilamadi) {
        hata_etiketini_birak(hata_etiketi(eski));
    } else {
        metni_birak(son_adresler[eski]);
        olu_gorunumler[eski] = false;
        _tr_webgorunum_kapat(eski);
    }
    const bool baslangic = adres == nullptr || adres[0] == '\0' || strcmp(adres, "about:blank") == 0;
    int64_t yeni = baslangic ? sekme_ac(kHizliErisimBasligi, uzunluk(kHizliErisimBasligi), baslangic_sayfasini_yukle,
                                        nullptr, 0, konum, secili)
                             : sekme_ac(kYeniSekmeBasligi, uzunluk(kYeniSekmeBasligi), adresi_yukle, adres,
                                        uzunluk(adres), konum, secili);
    free(adres);
    if (yeni == -1 && wv_sayisi <= 0) hizli_erisim_ac();
    return yeni >= 0;
}

// Reload: a page on its error page gets back the page it had; a tab whose engine
// is gone, or could not start, gets a new web view.
int64_t yeniden_yukle(int64_t view) {
    if (hata_sekmesi_mi(view) || (view >= 0 && view < kGorunumSiniri && olu_gorunumler[view])) {
        for (int64_t konum = 0; konum < wv_sayisi; ++konum) {
            if (sekme_gorunumleri[konum] == view) return sekmeye_yeni_gorunum_ver(konum) ? 0 : -1;
        }
        return -1;
    }
    if (view < 0 || view >= kGorunumSiniri || cokme_adresleri[view] == nullptr) return _tr_webgorunum_yenile(view);
    char* adres = cokme_adresleri[view];
    cokme_adresleri[view] = nullptr;
    const bool baslangic = adres[0] == '\0' || strcmp(adres, "about:blank") == 0;
    int64_t sonuc = baslangic ? baslangic_sayfasini_ac(view) : _tr_webgorunum_yukle(view, adres, uzunluk(adres));
    free(adres);
    return sonuc;
}

// A page asked for a new window: a tab after its own (after the tabs it opened
// before in the same run, sekme_sirasi.h), selected unless a middle or Ctrl click
// asked for it; at the tab limit the page opens in its own tab.
void yeni_pencereyi_ac(int64_t view) {
    AlinanMetin adres(_tr_webgorunum_yeni_pencere_adresi_al(view));
    if (adres.bos()) return;
    const bool arkada = _tr_webgorunum_yeni_pencere_arkada_mi(view) == 1;
    if (wv_sayisi >= MAKS_SEKME) {
        _tr_webgorunum_yeni_pencere_birak(view);
        _tr_webgorunum_yukle(view, adres.ptr(), adres.len());
        return;
    }
    const int64_t yer = acilis_dizisi.yeni_sekme_yeri(view, sekme_gorunumleri, wv_sayisi);
    const int64_t yeni = sekme_ac(kYeniSekmeBasligi, uzunluk(kYeniSekmeBasligi), adresi_yukle, adres.ptr(),
                                  adres.len(), yer, !arkada, view);
    if (yeni >= 0) acilis_dizisi.acildi(view, yeni);
}

// The status-bar text of the selected page: the link under the pointer.
void baglanti_metnini_al(int64_t view) {
    metni_birak(baglanti_metni);
    TrMetin metin = _tr_webgorunum_durum_metni_al(view);
    if (metin.ptr != nullptr && metin.len > 0) {
        baglanti_metni = metin.ptr;
    } else {
        free(metin.ptr);
    }
}

// A navigation that ended as canceled while the view still shows the page of its
// last visit showed nothing new: it was stopped, turned into a download, or ended
// by the next one before its document came. (The completion of a page that did
// come, ended by the next navigation before its load stopped, is canceled too, and
// is that page's visit.)
bool ayni_sayfada_iptal(int64_t view, int64_t son_ziyaret, const std::string& adres) {
    if (_tr_webgorunum_gezinti_hatasi(view) != kIptalDurumu || son_ziyaret < 0) return false;
    const std::vector<korva::SayfaKaydi>& gecmis = korva::gecmis();
    return static_cast<size_t>(son_ziyaret) < gecmis.size() && gecmis[static_cast<size_t>(son_ziyaret)].adres == adres;
}

// A completed navigation goes into the history, unless its page is one of Korva's
// own: the start page and text documents (about:blank), and the error page shown
// for a page whose process failed; nor when it left the page as it was.
void gezintiyi_kaydet(int64_t view) {
    if (view < 0 || view >= kGorunumSiniri) return;
    const int64_t son_ziyaret = gecmis_yerleri[view];
    gecmis_yerleri[view] = -1;
    if (cokme_adresleri[view] != nullptr || olu_gorunumler[view]) return;
    AlinanMetin adres(_tr_webgorunum_adres_al(view));
    if (adres.bos()) return;
    const std::string metin(adres.ptr(), static_cast<size_t>(adres.len()));
    if (metin.rfind("about:", 0) == 0 || metin.rfind("data:", 0) == 0) return;
    if (ayni_sayfada_iptal(view, son_ziyaret, metin)) {
        gecmis_yerleri[view] = son_ziyaret;   // a late title still completes that visit
        return;
    }
    AlinanMetin baslik(_tr_webgorunum_baslik_al(view));
    const std::string baslik_metni = baslik.bos() ? metin : std::string(baslik.ptr(), static_cast<size_t>(baslik.len()));
    gecmis_yerleri[view] = static_cast<int64_t>(korva::gecmise_ekle(baslik_metni, metin));
}

// A title that came after its page's visit was recorded completes that entry.
void basligi_gecmise_yaz(int64_t view, const AlinanMetin& baslik) {
    if (view < 0 || view >= kGorunumSiniri || gecmis_yerleri[view] < 0) return;
    AlinanMetin adres(_tr_webgorunum_adres_al(view));
    if (adres.bos()) return;
    korva::gecmis_basligini_guncelle(static_cast<size_t>(gecmis_yerleri[view]),
                                     std::string(adres.ptr(), static_cast<size_t>(adres.len())),
                                     std::string(baslik.ptr(), static_cast<size_t>(baslik.len())));
}

void gecmisi_vakti_gelince_oku() {
    if (korva::gecmis_yuklendi_mi()) return;
    if (ilk_sayfa_ani == 0) {
        if (secili_konum() >= 0 && _tr_webgorunum_yukleniyor_mu(secili_gorunum()) == 0) ilk_sayfa_ani = GetTickCount64();
        return;
    }
    if (GetTickCount64() - ilk_sayfa_ani >= kGecmisBeklemesiMs) korva::gecmisi_yukle();
}

// The selected page's address in the entry: a page on its error page shows the
// address that failed there.
void sayfa_adresini_goster(bool zorla) {
    if (secili_konum() < 0) return;
    const int64_t view = secili_gorunum();
    std::string adres;
    if (view >= 0 && view < kGorunumSiniri && cokme_adresleri[view] != nullptr) {
        adres = cokme_adresleri[view];
    } else {
        adres = korva::al_ve_birak(_tr_webgorunum_adres_al(view));
    }
    korva::adres_gosterimini_guncelle(adres, zorla);
}

// Page events of the tab at a position: a new title renames the tab (an empty one
// keeps the caption) and, on the selected tab, the window; a new address reaches
// the entry only from the selected tab. Then what the page asked of the browser.
// Returns false when the tab at that position was closed (the next tab has moved
// into its place).
bool sayfa_olaylarini_isle(int64_t konum) {
    int64_t view = sekme_gorunumleri[konum];
    if (view < 0) return true;  // no page (its engine could not start, or it waits), no events
    if (_tr_webgorunum_gezinti_tamamlandi_mi(view) == 1) {
        // A refused certificate: the warning page stands for the failed address,
        // and no visit happened.
        char* reddedilen = korva::sertifika_uyarisini_goster(view, son_adresler[view]);
        if (reddedilen == nullptr) gezintiyi_kaydet(view);
        korva::gezinti_sonucunu_isle(view);
        if (reddedilen != nullptr) {
            metni_birak(cokme_adresleri[view]);
            cokme_adresleri[view] = reddedilen;
            if (secili_konum() == konum) sayfa_adresini_goster(false);
        }
    }
    if (_tr_webgorunum_baslik_degisti_mi(view) == 1) {
        AlinanMetin baslik(_tr_webgorunum_baslik_al(view));
        if (!baslik.bos()) {
            _tr_arayuz_sekme_baslik_ayarla(sekme_defteri, konum, baslik.ptr(), baslik.len());
            basligi_gecmise_yaz(view, baslik);
        }
        korva::oturum_degisti();
        if (secili_konum() == konum) pencere_basligini_guncelle();
    }
    const bool adres_degisti = _tr_webgorunum_adres_degisti_mi(view) == 1;
    if (adres_degisti && korva::sertifika_dugmesini_isle(view, cokme_adresleri[view])) {
        metni_birak(cokme_adresleri[view]);
    } else if (adres_degisti) {
        acilis_dizisi.gezindi(view);
        if (secili_konum() == konum) sayfa_adresini_goster(false);
        metni_birak(son_adresler[view]);
        son_adresler[view] = _tr_webgorunum_adres_al(view).ptr;
        korva::oturum_degisti();
        // Gone from the error page to another page: Reload is a plain reload again.
        const char* adres = son_adresler[view];
        if (cokme_adresleri[view] != nullptr && adres != nullptr && adres[0] != '\0' &&
            strcmp(adres, "about:blank") != 0 && strcmp(adres, cokme_adresleri[view]) != 0) {
            metni_birak(cokme_adresleri[view]);
        }
    }
    if (_tr_webgorunum_durum_metni_degisti_mi(view) == 1 && secili_konum() == konum) baglanti_metnini_al(view);
    const int64_t cokme = _tr_webgorunum_coktu_mu(view);
    if (cokme == 1) {
        cokme_adresini_kaydet(view);
        hata_sayfasini_goster(view);
    } else if (cokme == 2) {
        cokme_adresini_kaydet(view);
        olu_gorunumler[view] = true;
        _tr_arayuz_sekme_baslik_ayarla(sekme_defteri, konum, kMotorCoktuBasligi, uzunluk(kMotorCoktuBasligi));
        return true;
    }
    if (_tr_webgorunum_yeni_pencere_istendi_mi(view) == 1) yeni_pencereyi_ac(view);
    if (_tr_webgorunum_kapatma_istendi_mi(view) == 1) {
        const int64_t secili = secili_gorunum();
        const int64_t acan =
            secili == view && view < kGorunumSiniri && !kullanici_kapatiyor[view] ? acan_gorunumler[view] - 1 : -1;
        sekmeyi_kapat(konum);
        if (secili == view) {
            acana_don(acan);
        } else {
            secimi_geri_ver(secili);
        }
        return false;
    }
    kapanis_sorusunu_goster(konum, view);
    return true;
}

// A toolbar button that acts on the selected tab's web view.
struct GorunumDugmesi {
    const int64_t* dugme;
    int64_t (*eylem)(int64_t view);
};

int64_t ana_sayfaya_don(int64_t view) {
    if (hata_sekmesi_mi(view)) return yeniden_yukle(view);
    if (view >= 0 && view < kGorunumSiniri) metni_birak(cokme_adresleri[view]);
    return baslangic_sayfasini_ac(view);
}

void gorunum_dugmesini_denetle(const GorunumDugmesi& oge) {
    if (_tr_arayuz_dugme_basildi_mi(*oge.dugme) != 1) return;
    if (secili_konum() < 0) return;
    oge.eylem(secili_gorunum());
}

// As browsers do: once an address is opened from the entry or a panel, the keys
// typed next are the page's (its autofocus field's), not the entry's. A tab with no
// web view keeps the keyboard where it is.
void sayfaya_odaklan(int64_t view) {
    if (!hata_sekmesi_mi(view) && view >= 0) _tr_arayuz_odakla(_tr_webgorunum_widget_id(view));
}

// The buttons in the order of the checks: Back, Forward, Reload and Home come
// before New tab, Menu after it; the sidebar buttons open panels 1 to 4.
const GorunumDugmesi kGeriIleriYenileEv[] = {
    {&geri_dugme, _tr_webgorunum_geri},
    {&ileri_dugme, _tr_webgorunum_ileri},
    {&yenile_dugme, yeniden_yukle},
    {&ana_sayfa_dugme, ana_sayfaya_don},
};
const int64_t* const kKenarDugmeleri[] = {&sb_yer_imi, &sb_gecmis, &sb_indirme, &sb_ayar};

void sekmeyi_sec(int64_t konum) {
    if (konum >= 0 && konum < wv_sayisi && konum != secili_konum()) _tr_arayuz_sekme_sec(sekme_defteri, konum);
}

// The commands the menu offers too go through komutu_calistir, so that a shortcut and
// its menu item do the same.
void kisayolu_uygula(const Kisayol& kisayol) {
    using korva::Komut;
    const int64_t secili = secili_konum();
    const int64_t view = secili_gorunum();
    switch (kisayol.eylem) {
    case Eylem::yeni_sekme: korva::komutu_calistir(korva::Komut::yeni_sekme); break;
    case Eylem::sekmeyi_kapat: sekmeyi_kapatmayi_iste(secili); break;
    case Eylem::sonraki_sekme: if (wv_sayisi > 0) sekmeyi_sec((secili + 1) % wv_sayisi); break;
    case Eylem::onceki_sekme: if (wv_sayisi > 0) sekmeyi_sec((secili + wv_sayisi - 1) % wv_sayisi); break;
    case Eylem::sekmeye_git: sekmeyi_sec(kisayol.sekme); break;
    case Eylem::son_sekme: sekmeyi_sec(wv_sayisi - 1); break;
    case Eylem::adrese_git: _tr_arayuz_odakla(adres_girisi); break;
    case Eylem::yenile: if (view != -1) yeniden_yukle(view); break;
    case Eylem::durdur:
        if (korva::izin_esc_isle()) break;   // the permission prompt refused
        if (korva::adres_esc_isle()) break;  // the suggestions closed, or the entry's own Esc
        if (korva::tam_ekrandan_cik()) break;  // the frame back (the page hears Esc too)
        if (view >= 0) _tr_webgorunum_durdur(view);
        korva::bul_kapat();
        break;
    case Eylem::geri: if (view >= 0) _tr_webgorunum_geri(view); break;
    case Eylem::ileri: if (view >= 0) _tr_webgorunum_ileri(view); break;
    case Eylem::yakinlastir: korva::komutu_calistir(Komut::yakinlastir); break;
    case Eylem::uzaklastir: korva::komutu_calistir(Komut::uzaklastir); break;
    case Eylem::yakinlik_sifirla: korva::komutu_calistir(Komut::yakinlik_sifirla); break;
    case Eylem::tam_ekran: korva::komutu_calistir(Komut::tam_ekran); break;
    case Eylem::kapanani_ac: korva::komutu_calistir(Komut::kapanani_ac); break;
    case Eylem::gecmis_paneli: korva::komutu_calistir(Komut::gecmis); break;
    case Eylem::yer_imleri_paneli: korva::komutu_calistir(Komut::yer_imleri); break;
    case Eylem::yer_imi: korva::yer_imini_degistir(); break;
    case Eylem::bul: korva::komutu_calistir(Komut::bul); break;
    case Eylem::sonraki_bul: korva::bul_ilerle(1); break;
    case Eylem::onceki_bul: korva::bul_ilerle(-1); break;
    case Eylem::indirmeler_paneli: korva::komutu_calistir(Komut::indirmeler); break;
    case Eylem::kaynak: korva::komutu_calistir(Komut::kaynagi_goster); break;
    case Eylem::menu: korva::menuyu_ac(true); break;
    case Eylem::yazdir: korva::komutu_calistir(Komut::yazdir); break;
    case Eylem::kaydet: korva::komutu_calistir(Komut::kaydet); break;
    }
}

// While something downloads, the status bar shows the overall percentage, moved at
// most four times a second: every change repaints the label and the bar, which costs
// a pass of the loop far more than the rest of it. -1 while nothing downloads.
constexpr ULONGLONG kIndirmeYuzdesiAraligiMs = 250;
int64_t gosterilen_indirme_yuzdesi = -1;
ULONGLONG indirme_yuzdesi_ani = 0;

int64_t gosterilecek_indirme_yuzdesi() {
    const int64_t yuzde = korva::indirme_yuzdesi();
    const ULONGLONG simdi = GetTickCount64();
    if (yuzde < 0 || gosterilen_indirme_yuzdesi < 0 || simdi - indirme_yuzdesi_ani >= kIndirmeYuzdesiAraligiMs) {
        if (yuzde != gosterilen_indirme_yuzdesi) indirme_yuzdesi_ani = simdi;
        gosterilen_indirme_yuzdesi = yuzde;
    }
    return gosterilen_indirme_yuzdesi;
}

void kisayollari_denetle() {
    if (!kisayollar_kuruldu) return;
    for (int64_t i = 0; i < kKisayolSayisi; ++i) {
        if (_tr_pencere_kisayol_basildi_mi(kisayol_kimlikleri[i]) == 1) kisayolu_uygula(kKisayollar[i]);
    }
}

}  // namespace

int64_t olaylari_kontrol_et(void) noexcept {
    for (const GorunumDugmesi& oge : kGeriIleriYenileEv) gorunum_dugmesini_denetle(oge);
    if (_tr_arayuz_dugme_basildi_mi(yeni_sekme_dugme) == 1) korva::komutu_calistir(korva::Komut::yeni_sekme);
    if (_tr_arayuz_dugme_basildi_mi(menu_dugme) == 1) korva::menuyu_ac(false);
    for (int64_t n = 0; n < 4; ++n) {
        if (_tr_arayuz_dugme_basildi_mi(*kKenarDugmeleri[n]) == 1) kenar_paneli_ac(n + 1);
    }
    korva::adres_girisini_denetle();
    korva::oneriler_denetle();
    kisayollari_denetle();
    int64_t kapanan = _tr_arayuz_sekme_kapandi_mi(sekme_defteri);
    if (kapanan >= 0) sekmeyi_kapatmayi_iste(kapanan);
    // A tab restored from the last session gets its web view when first selected.
    if (korva::bekleyen_mi(secili_gorunum())) korva::bekleyen_sekmeyi_ac(secili_konum());
    if (_tr_arayuz_sekme_degisti_mi(sekme_defteri) == 1) {
        acilis_dizisi.secildi(secili_gorunum());
        metni_birak(baglanti_metni);
        bildirim_metni.clear();
        adres_cubugunu_guncelle();
        pencere_basligini_guncelle();
    }
    // The count is read again on every step: a page may close its tab or open one.
    for (int64_t i = 0; i < wv_sayisi;) {
        if (sayfa_olaylarini_isle(i)) ++i;
    }
    korva::tam_ekrani_denetle();
    korva::sesi_denetle();
    korva::indirmeleri_denetle();
    korva::izinleri_denetle();
    korva::paneller_denetle();
    korva::bul_denetle();
    korva::kayitlari_denetle();
    gecmisi_vakti_gelince_oku();
    korva::depolari_kaydet(false);
    const std::string depo_bildirimi = korva::depo_bildirimi_al();
    if (!depo_bildirimi.empty()) korva::bildir(depo_bildirimi);
    korva::oturumu_denetle();
    durum_guncelle();
    return 0;
}

int64_t kisayollari_kur(void) noexcept {
    if (kisayollar_kuruldu) return 0;
    for (int64_t i = 0; i < kKisayolSayisi; ++i) {
        kisayol_kimlikleri[i] = _tr_pencere_kisayol_ekle(ana_pencere, kKisayollar[i].tus, kKisayollar[i].degistiriciler);
        // Escape stops a loading page and still reaches the page (and closes its dialogs).
        if (kKisayollar[i].eylem == Eylem::durdur) _tr_pencere_kisayol_etkin(kisayol_kimlikleri[i], 2);
    }
    kisayollar_kuruldu = true;
    return 0;
}

int64_t hizli_erisim_ac(void) noexcept {
    const int64_t view = sekme_ac(kHizliErisimBasligi, uzunluk(kHizliErisimBasligi), baslangic_sayfasini_yukle,
                                  nullptr, 0);
    return view >= 0 ? view : -1;
}

int64_t yeni_sekme_ac(const char* address, int64_t length) noexcept {
    const int64_t view = sekme_ac(kYeniSekmeBasligi, uzunluk(kYeniSekmeBasligi), adresi_yukle, address, length);
    return view >= 0 ? view : -1;
}

int64_t kenar_paneli_ac(int64_t number) noexcept {
    if (kenar_acik == 1 && aktif_panel == number) {
        _tr_arayuz_widget_gizle(kenar_panel);
        kenar_acik = 0;
        aktif_panel = 0;
        return 0;
    }
    // A number outside 1 to 4 opens the panel with its title unchanged.
    if (number >= 1 && number <= 4) {
        const char* baslik = kPanelBasliklari[number - 1];
        _tr_arayuz_etiket_metni_ayarla(kenar_panel_baslik, baslik, uzunluk(baslik));
    }
    _tr_arayuz_widget_goster(kenar_panel);
    kenar_acik = 1;
    aktif_panel = number;
    korva::panel_icerigini_goster(number);
    return 0;
}

int64_t pencere_basligini_guncelle(void) noexcept {
    if (secili_konum() < 0) return 0;
    if (hata_sekmesi_mi(secili_gorunum())) {
        const std::string tam = korva::pencere_basligi(kBaslatilamadiBasligi, uzunluk(kBaslatilamadiBasligi));
        _tr_pencere_baslik_ayarla(ana_pencere, tam.data(), static_cast<int64_t>(tam.size()));
        return 0;
    }
    AlinanMetin baslik(_tr_webgorunum_baslik_al(secili_gorunum()));
    const std::string tam = korva::pencere_basligi(baslik.ptr(), baslik.len());
    _tr_pencere_baslik_ayarla(ana_pencere, tam.data(), static_cast<int64_t>(tam.size()));
    return 0;
}

int64_t adres_cubugunu_guncelle(void) noexcept {
    korva::onerileri_kapat();  // another page, or another tab: the suggestions were for none
    sayfa_adresini_goster(true);
    return 0;
}

int64_t durum_guncelle(void) noexcept {
    const int64_t indirme = gosterilecek_indirme_yuzdesi();
    if (secili_konum() < 0) return 0;
    int64_t view = secili_gorunum();
    if (hata_sekmesi_mi(view)) {
        _tr_arayuz_ilerleme_ayarla(ilerleme, 0);
        _tr_arayuz_etiket_metni_ayarla(durum_etiketi, kBaslatilamadiDurumu, uzunluk(kBaslatilamadiDurumu));
    } else if (view >= 0 && view < kGorunumSiniri && olu_gorunumler[view]) {
        _tr_arayuz_ilerleme_ayarla(ilerleme, 0);
        _tr_arayuz_etiket_metni_ayarla(durum_etiketi, kMotorCoktuDurumu, uzunluk(kMotorCoktuDurumu));
    } else if (baglanti_metni != nullptr) {
        _tr_arayuz_etiket_metni_ayarla(durum_etiketi, baglanti_metni, uzunluk(baglanti_metni));
    } else if (!bildirim_metni.empty() && GetTickCount64() - bildirim_ani < kBildirimSuresiMs) {
        _tr_arayuz_ilerleme_ayarla(ilerleme, 0);
        _tr_arayuz_etiket_metni_ayarla(durum_etiketi, bildirim_metni.data(),
                                       static_cast<int64_t>(bildirim_metni.size()));
    } else if (indirme >= 0) {
        const int64_t yuzde = indirme;
        const std::string metin = "Indiriliyor: " + korva::suren_indirmeler_metni() + " (%" + std::to_string(yuzde) + ")";
        _tr_arayuz_ilerleme_ayarla(ilerleme, yuzde);
        _tr_arayuz_etiket_metni_ayarla(durum_etiketi, metin.data(), static_cast<int64_t>(metin.size()));
    } else if (_tr_webgorunum_yukleniyor_mu(view) == 1) {
        _tr_arayuz_ilerleme_ayarla(ilerleme, _tr_webgorunum_yuklenme_yuzdesi(view));
        _tr_arayuz_etiket_metni_ayarla(durum_etiketi, kYukleniyor, uzunluk(kYukleniyor));
    } else {
        _tr_arayuz_ilerleme_ayarla(ilerleme, 0);
        _tr_arayuz_etiket_metni_ayarla(durum_etiketi, kHazir, uzunluk(kHazir));
    }
    return 0;
}

// A tab whose engine could not start, or that waits for its first selection, has
// no web view: -1, as for no tab.
int64_t sekme_webgorunumu(int64_t position) noexcept {
    const int64_t view = gorunum_at(position);
    return view < 0 ? -1 : view;
}

// ---- Services for the side panel and the find bar ------------------------------------------

namespace korva {

int64_t secili_webgorunum() {
    const int64_t view = secili_gorunum();
    return view < 0 ? -1 : view;
}

void adresi_ac(const std::string& adres, bool yeni_sekmede) {
    const int64_t konum = secili_konum();
    if (adres.empty()) return;
    if (yeni_sekmede || konum < 0) {
        sekme_ac(kYeniSekmeBasligi, uzunluk(kYeniSekmeBasligi), adresi_yukle, adres.data(),
                 static_cast<int64_t>(adres.size()), konum + 1, true);
        return;
    }
    _tr_webgorunum_yukle(secili_gorunum(), adres.data(), static_cast<int64_t>(adres.size()));
    sayfaya_odaklan(secili_gorunum());
}

void kapananlari_temizle() {
    for (int i = 0; i < kapanan_sayisi; ++i) metni_birak(kapanan_adresler[i]);
    kapanan_sayisi = 0;
}

void kapanan_sekmeyi_ac() { kapanani_ac(); }

bool kapanan_sekme_var_mi() { return kapanan_sayisi > 0; }

void yakinligi_uygula(int64_t yuzde) {
    for (int64_t i = 0; i < wv_sayisi; ++i) _tr_webgorunum_yakinlik_ayarla(sekme_gorunumleri[i], yuzde);
    bekleyenlere_yakinlik_ver(yuzde);
    oturum_degisti();
}

void bildir(const std::string& metin) {
    bildirim_metni = metin;
    bildirim_ani = GetTickCount64();
}

std::string al_ve_birak(TrMetin metin) {
    std::string sonuc;
    if (metin.ptr != nullptr && metin.len > 0) sonuc.assign(metin.ptr, static_cast<size_t>(metin.len));
    free(metin.ptr);
    return sonuc;
}

}  // namespace korva

// ---- Services for the kept session (oturum.cpp) ----------------------------------------------

namespace korva {

// A page on its error page, or whose engine is gone, is kept with the address it had.
Oturum acik_oturum() {
    Oturum oturum;
    oturum.secili = secili_konum();
    for (int64_t konum = 0; konum < wv_sayisi; ++konum) {
        const int64_t view = sekme_gorunumleri[konum];
        OturumSekmesi sekme;
        if (const OturumSekmesi* bekleyen = bekleyen_sekme(view)) {
            sekme = *bekleyen;
        } else if (view >= 0 && view < kGorunumSiniri) {
            sekme.adres = cokme_adresleri[view] != nullptr ? cokme_adresleri[view]
                                                           : al_ve_birak(_tr_webgorunum_adres_al(view));
            sekme.baslik = al_ve_birak(_tr_webgorunum_baslik_al(view));
            const int64_t yakinlik = _tr_webgorunum_yakinlik_al(view);
            sekme.yakinlik = yakinlik > 0 ? yakinlik : ayarlar().yakinlik;
        }
        oturum.sekmeler.push_back(std::move(sekme));
    }
    return oturum;
}

bool bekleyen_sekme_ekle(int64_t kimlik, const std::string& baslik) {
    if (wv_sayisi >= MAKS_SEKME || wv_sayisi >= kSekmeTablosuBoyu || !bekleyen_mi(kimlik)) return false;
    const int64_t konum = _tr_arayuz_sekme_kapatmali_araya_ekle(sekme_defteri, wv_sayisi, bekleyen_sayfasi(),
                                                                 baslik.data(), static_cast<int64_t>(baslik.size()));
    if (konum != wv_sayisi) {
        if (konum >= 0) _tr_arayuz_sekme_kaldir(sekme_defteri, konum);
        return false;
    }
    sekme_gorunumleri[wv_sayisi] = kimlik;
    wv_sayisi += 1;
    return true;
}

void sekmeye_gec(int64_t konum) {
    if (konum < 0 || konum >= wv_sayisi) return;
    if (bekleyen_mi(sekme_gorunumleri[konum])) {
        bekleyen_sekmeyi_ac(konum);
    } else {
        _tr_arayuz_sekme_sec(sekme_defteri, konum);
    }
}

// The tab is taken out and opened again in its place with a web view, as Reload
// does for a tab whose engine is gone; its caption shows the kept title until the
// page names itself.
bool bekleyen_sekmeyi_ac(int64_t konum) {
    if (konum < 0 || konum >= wv_sayisi) return false;
    const int64_t kimlik = sekme_gorunumleri[konum];
    const OturumSekmesi* bekleyen = bekleyen_sekme(kimlik);
    if (bekleyen == nullptr) return false;
    const OturumSekmesi sekme = *bekleyen;
    if (_tr_arayuz_sekme_kaldir(sekme_defteri, konum) != 0) return false;
    bekleyeni_birak(kimlik);
    for (int64_t i = konum; i + 1 < wv_sayisi; ++i) sekme_gorunumleri[i] = sekme_gorunumleri[i + 1];
    wv_sayisi -= 1;
    const int64_t view =
        sekme.adres.empty()
            ? sekme_ac(kHizliErisimBasligi, uzunluk(kHizliErisimBasligi), baslangic_sayfasini_yukle, nullptr, 0, konum)
            : sekme_ac(kYeniSekmeBasligi, uzunluk(kYeniSekmeBasligi), adresi_yukle, sekme.adres.data(),
                       static_cast<int64_t>(sekme.adres.size()), konum);
    if (view >= 0) {
        if (sekme.yakinlik != ayarlar().yakinlik) _tr_webgorunum_yakinlik_ayarla(view, sekme.yakinlik);
        if (!sekme.adres.empty() && !sekme.baslik.empty()) {
            _tr_arayuz_sekme_baslik_ayarla(sekme_defteri, konum, sekme.baslik.data(),
                                           static_cast<int64_t>(sekme.baslik.size()));
        }
    } else if (view == -1 && wv_sayisi <= 0) {
        hizli_erisim_ac();
    }
    return true;
}

}  // namespace korva

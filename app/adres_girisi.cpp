// The address entry: what it shows, what Enter does with what was typed, Esc, the
// keyboard on a new tab, and the page's security mark before the address.
//
// - Shown: the selected page's address, except that Korva's own pages show none
//   (the start page, about:blank) and the error page of a failed page shows the
//   address that failed (the caller passes that one). While the keyboard is in the
//   entry and the user has typed something else, a page reporting a new address
//   leaves the typed text alone; a tab switch replaces it.
// - Enter: adres_karari decides between an address and a search; a guessed
//   "https://" that cannot connect is tried once more as "http://" when its
//   navigation completes (gezinti_sonucunu_isle). A text that cannot be opened
//   stays in the entry and the status bar says why.
// - Esc: the suggestions list first (oneriler_esc_isle); then the page's address
//   comes back; a second Esc gives the page the keyboard.
// - A click that brings the keyboard into the entry selects the whole address.
// - The mark: drawn inside the entry's left margin, a check mark for https and
//   "Guvenli degil" for http and for https of a host whose certificate was
//   refused (sertifika_uyarisi.cpp), nothing for other pages.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "adres_karari.h"
#include "depolar.h"
#include "korva.h"
#include "tarayici_ic.h"
#include "webview/webgorunum_win_cz.h"
#include "widgets/arayuz_win_cz.h"

namespace korva {

namespace {

constexpr int64_t kGorunumSiniri = 256;
constexpr UINT_PTR kGirisGozcusu = 0x4B41;  // this file's subclass of the entry

constexpr char kGuvenliIsareti[] = "\xE2\x9C\x93";  // U+2713, a check mark: fonts everywhere have it
constexpr char kGuvensizIsareti[] = "Guvenli degil";
constexpr char kCokUzunBildirimi[] = "Yazilan metin cok uzun (en fazla 2 MB); acilmadi, girdide duruyor";
constexpr char kGecersizAramaBildirimi[] =
    "Ayarlardaki arama motoru gecersiz (%s iceren bir http(s) adresi olmali): varsayilan kullanildi";

// The page address the entry shows for the selected tab, as last shown; Esc
// brings it back.
std::string gosterilen_adres;
// The mark shown before the address ("" for none).
std::string gosterilen_isaret;
// A click that brings the keyboard into the entry: its button-up selects all.
bool tiklamayla_odaklaniyor = false;
// By web view id: the "http://" address to try once when the guessed "https://"
// one fails to connect; empty when none waits.
std::string http_yedekleri[kGorunumSiniri];

HWND giris_penceresi() { return _tr_arayuz_widget_al_hwnd(adres_girisi); }

std::string giristeki_metin() { return al_ve_birak(_tr_arayuz_giris_metni_al(adres_girisi)); }

void giris_metnini_yaz(const std::string& metin) {
    _tr_arayuz_giris_metni_ayarla(adres_girisi, metin.data(), static_cast<int64_t>(metin.size()));
}

bool giris_odakta() {
    HWND giris = giris_penceresi();
    return giris != nullptr && GetFocus() == giris;
}

// Korva's own pages have no address worth showing.
std::string gosterilecek_adres(const std::string& sayfa_adresi) {
    if (sayfa_adresi == "about:blank") return {};
    return sayfa_adresi;
}

const char* isaret_metni(const std::string& adres) {
    if (adres.rfind("https://", 0) == 0) {
        return sertifikasi_kotu_adres_mi(adres) ? kGuvensizIsareti : kGuvenliIsareti;
    }
    if (adres.rfind("http://", 0) == 0) return kGuvensizIsareti;
    return "";
}

// The mark is drawn in the entry's left margin, which is made as wide as the mark
// so that the typed text starts after it; with no mark the margin is the entry's own
// again (the narrow one its font gives, as when it was made).
int isaret_genisligi(HWND giris, HDC dc) {
    const std::wstring metin = genis(gosterilen_isaret);
    if (metin.empty()) return 0;
    HGDIOBJ eski = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(giris, WM_GETFONT, 0, 0)));
    SIZE boyut = {};
    GetTextExtentPoint32W(dc, metin.c_str(), static_cast<int>(metin.size()), &boyut);
    SelectObject(dc, eski);
    return boyut.cx;
}

void kenar_boslugunu_ayarla() {
    HWND giris = giris_penceresi();
    if (giris == nullptr) return;
    HDC dc = GetDC(giris);
    const int genislik = isaret_genisligi(giris, dc);
    ReleaseDC(giris, dc);
    SendMessageW(giris, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(genislik > 0 ? genislik + ekranda(10) : EC_USEFONTINFO, 0));
    InvalidateRect(giris, nullptr, TRUE);
}

// Drawn after the entry has painted itself, in the entry's own colours (which its
// parent gives, as for the entry).
void isareti_ciz(HWND giris) {
    if (gosterilen_isaret.empty()) return;
    HDC dc = GetDC(giris);
    if (dc == nullptr) return;
    HWND ust = GetParent(giris);
    HBRUSH firca = ust != nullptr ? reinterpret_cast<HBRUSH>(SendMessageW(ust, WM_CTLCOLOREDIT,
                                                                          reinterpret_cast<WPARAM>(dc),
                                                                          reinterpret_cast<LPARAM>(giris)))
                                  : nullptr;
    RECT alan = {};
    GetClientRect(giris, &alan);
    const int genislik = isaret_genisligi(giris, dc);
    RECT kenar = {0, 0, genislik + ekranda(8), alan.bottom};
    FillRect(dc, &kenar, firca != nullptr ? firca : GetSysColorBrush(COLOR_WINDOW));
    HGDIOBJ eski = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(giris, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    const std::wstring metin = genis(gosterilen_isaret);
    DrawTextW(dc, metin.c_str(), static_cast<int>(metin.size()), &kenar,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, eski);
    ReleaseDC(giris, dc);
}

void isareti_guncelle(const std::string& sayfa_adresi) {
    const std::string yeni = isaret_metni(sayfa_adresi);
    if (yeni == gosterilen_isaret) return;
    gosterilen_isaret = yeni;
    kenar_boslugunu_ayarla();
}

// The entry's own handling, after the runtime's: a click that brings the keyboard
// in selects the whole address (a later click places the caret, as usual); the
// mark is drawn over each painting of the entry.
LRESULT CALLBACK giris_gozcusu(HWND hwnd, UINT mesaj, WPARAM wparam, LPARAM lparam, UINT_PTR kimlik, DWORD_PTR) {
    switch (mesaj) {
    case WM_LBUTTONDOWN:
        tiklamayla_odaklaniyor = GetFocus() != hwnd;
        break;
    case WM_LBUTTONUP: {
        const LRESULT sonuc = DefSubclassProc(hwnd, mesaj, wparam, lparam);
        if (tiklamayla_odaklaniyor) SendMessageW(hwnd, EM_SETSEL, 0, -1);
        tiklamayla_odaklaniyor = false;
        return sonuc;
    }
    case WM_PAINT: {
        const LRESULT sonuc = DefSubclassProc(hwnd, mesaj, wparam, lparam);
        isareti_ciz(hwnd);
        return sonuc;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, giris_gozcusu, kimlik);
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, mesaj, wparam, lparam);
}

// Loads a decided address in the selected tab and gives the page the keyboard.
void ac(const AdresKarari& karar) {
    const int64_t view = secili_webgorunum();
    if (view >= 0 && view < kGorunumSiniri) http_yedekleri[view] = karar.yedek_adres;
    adresi_ac(karar.adres, false);
}

}  // namespace

void adres_girisini_kur() {
    HWND giris = giris_penceresi();
    if (giris == nullptr) return;
    // The control's own limit (about 32,000 characters) would cut a long paste
    // without a word; Enter refuses what is too long, and says so.
    SendMessageW(giris, EM_SETLIMITTEXT, 0, 0);
    SetWindowSubclass(giris, giris_gozcusu, kGirisGozcusu, 0);
}

const std::string& guvenlik_isareti() { return gosterilen_isaret; }

void adres_gosterimini_guncelle(const std::string& sayfa_adresi, bool zorla) {
    const std::string yeni = gosterilecek_adres(sayfa_adresi);
    isareti_guncelle(sayfa_adresi);
    // What the user is typing stays until a tab switch or Esc.
    const bool yaziliyor = giris_odakta() && giristeki_metin() != gosterilen_adres;
    gosterilen_adres = yeni;
    if (!zorla && yaziliyor) return;
    giris_metnini_yaz(yeni);
}

void adres_girisine_odaklan() {
    // The new tab's page has no address yet; its own comes when it reports one.
    gosterilen_adres.clear();
    isareti_guncelle("");
    giris_metnini_yaz("");
    _tr_arayuz_odakla(adres_girisi);
}

namespace {

void karari_uygula(const AdresKarari& karar) {
    switch (karar.tur) {
    case AdresTuru::bos: return;
    case AdresTuru::cok_uzun: bildir(kCokUzunBildirimi); return;
    case AdresTuru::adres:
    case AdresTuru::arama: break;
    }
    if (karar.varsayilan_arama) bildir(kGecersizAramaBildirimi);
    ac(karar);
}

}  // namespace

void adres_girisini_denetle() {
    if (_tr_arayuz_giris_enter_mi(adres_girisi) != 1) return;
    karari_uygula(adres_karari(giristeki_metin(), ayarlar().arama_motoru));
}

void metni_ara(const std::string& metin) { karari_uygula(arama_karari(metin, ayarlar().arama_motoru)); }

bool adres_esc_isle() {
    if (!giris_odakta()) return false;
    if (oneriler_esc_isle()) return true;
    if (giristeki_metin() != gosterilen_adres) {
        giris_metnini_yaz(gosterilen_adres);
        SendMessageW(giris_penceresi(), EM_SETSEL, 0, -1);
        return true;
    }
    const int64_t view = secili_webgorunum();
    if (view >= 0) _tr_arayuz_odakla(_tr_webgorunum_widget_id(view));
    return true;
}

void gezinti_sonucunu_isle(int64_t view) {
    if (view < 0 || view >= kGorunumSiniri || http_yedekleri[view].empty()) return;
    const int64_t durum = _tr_webgorunum_gezinti_hatasi(view);
    // A navigation the attempt replaced (canceled) says nothing about the attempt.
    if (durum == 14) return;
    std::string yedek;
    yedek.swap(http_yedekleri[view]);
    if (http_yedegi_denenir_mi(durum)) _tr_webgorunum_yukle(view, yedek.data(), static_cast<int64_t>(yedek.size()));
}

void gorunum_kapandi(int64_t view) {
    if (view >= 0 && view < kGorunumSiniri) http_yedekleri[view].clear();
}

}  // namespace korva

// The everyday commands and the menu (≡) that lists them.
//
// Every command a person can give from the menu has one function here, reached by
// komutu_calistir; the keyboard shortcuts in olaylar.cpp call the same function, so
// a menu item and its shortcut can never drift apart. The table kKomutlar is the
// menu: its order, its texts (with the letter that picks the item from the
// keyboard after "&"), the shortcut shown at the right and whether the item needs a
// page in the selected tab.
//
// The menu is the system's own popup menu, shown under the button and tracked by
// the system's modal loop, which keeps dispatching the window messages of the
// engines meanwhile; their events are handled by the first pass after it closes.
// Opened from the keyboard (Alt+F, F10) its first item is highlighted, as a menu
// bar's would be, so the arrows and Enter work at once.
#include <windows.h>

#include <string>

#include "korva.h"
#include "oturum.h"
#include "tarayici_ic.h"
#include "webview/webgorunum_win_cz.h"
#include "widgets/arayuz_win_cz.h"

namespace korva {

namespace {

constexpr int64_t kAyarlarPaneli = 4;
constexpr char kKaynakOneki[] = "view-source:";

int64_t secili_sayfa() { return secili_webgorunum(); }

// A tab's zoom is kept with the session (oturum.h).
void yakinlastir() {
    if (secili_sayfa() >= 0) _tr_webgorunum_yakinlastir(secili_sayfa());
    oturum_degisti();
}

void uzaklastir() {
    if (secili_sayfa() >= 0) _tr_webgorunum_uzaklastir(secili_sayfa());
    oturum_degisti();
}

void yakinligi_sifirla() {
    if (secili_sayfa() >= 0) _tr_webgorunum_yakinlik_sifirla(secili_sayfa());
    oturum_degisti();
}

// The start page in a new tab, the keyboard in the address entry, ready for typing.
void yeni_sekme() {
    if (hizli_erisim_ac() >= 0) adres_girisine_odaklan();
}

// Settings from the menu opens the panel; it never closes an open one, as the
// sidebar's button does.
void ayarlar() {
    if (kenar_acik != 1 || aktif_panel != kAyarlarPaneli) kenar_paneli_ac(kAyarlarPaneli);
}

HWND ana_pencere_hwnd() {
    HWND kutu = _tr_arayuz_widget_al_hwnd(ana_kutu);
    return kutu != nullptr ? GetAncestor(kutu, GA_ROOT) : nullptr;
}

// Exit goes the way of the window's close box: the loop ends and saves as always.
void cikis() {
    if (HWND pencere = ana_pencere_hwnd()) PostMessageW(pencere, WM_CLOSE, 0, 0);
}

// One item of the menu. `ayrac_once`: a separator line comes before it.
struct KomutOgesi {
    Komut komut;
    const char* metin;
    const char* kisayol;
    void (*calistir)();
    bool sayfa_ister;
    bool ayrac_once;
};

// In menu order; the zoom percentage item's text is made when the menu opens.
const KomutOgesi kKomutlar[] = {
    {Komut::yeni_sekme, "&Yeni sekme", "Ctrl+T", yeni_sekme, false, false},
    {Komut::kapanani_ac, "&Kapatilan sekmeyi geri ac", "Ctrl+Shift+T", kapanan_sekmeyi_ac, false, false},
    {Komut::gecmis, "&Gecmis", "Ctrl+H", gecmis_paneline_git, false, true},
    {Komut::yer_imleri, "Yer i&mleri", "Ctrl+Shift+O", yer_imleri_paneline_git, false, false},
    {Komut::indirmeler, "&Indirmeler", "Ctrl+J", indirmeler_paneline_git, false, false},
    {Komut::uzaklastir, "&Uzaklastir", "Ctrl+-", uzaklastir, true, true},
    {Komut::yakinlik_sifirla, nullptr, "Ctrl+0", yakinligi_sifirla, true, false},
    {Komut::yakinlastir, "Y&akinlastir", "Ctrl++", yakinlastir, true, false},
    {Komut::bul, "Sayfada &bul", "Ctrl+F", bul_ac, true, true},
    {Komut::yazdir, "Yaz&dir...", "Ctrl+P", sayfayi_yazdir, true, false},
    {Komut::kaydet, "&Farkli kaydet...", "Ctrl+S", sayfayi_kaydet, true, false},
    {Komut::kaynagi_goster, "Kaynagi g&oster", "Ctrl+U", kaynagi_goster, true, false},
    {Komut::tam_ekran, "&Tam ekran", "F11", tam_ekrani_degistir, false, true},
    {Komut::ayarlar, "Ayar&lar", "", ayarlar, false, false},
    {Komut::cikis, "&Cikis", "Alt+F4", cikis, false, true},
};

const KomutOgesi* komutun_ogesi(Komut komut) {
    for (const KomutOgesi& oge : kKomutlar) {
        if (oge.komut == komut) return &oge;
    }
    return nullptr;
}

// The zoom item names the selected page's zoom and resets it: "Yakinlik %110 (sifirla)".
std::string yakinlik_metni() {
    const int64_t yuzde = secili_sayfa() >= 0 ? _tr_webgorunum_yakinlik_al(secili_sayfa()) : -1;
    if (yuzde < 0) return "Yakinlik (&sifirla)";
    return "Yakinlik %" + std::to_string(yuzde) + " (&sifirla)";
}

// Item ids are the command's number plus one: TrackPopupMenuEx answers 0 for none.
UINT oge_kimligi(Komut komut) { return static_cast<UINT>(komut) + 1; }

HMENU menuyu_kur() {
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) return nullptr;
    const bool sayfa_var = secili_sayfa() >= 0;
    for (const KomutOgesi& oge : kKomutlar) {
        if (oge.ayrac_once) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        std::string metin = oge.metin != nullptr ? oge.metin : yakinlik_metni();
        // Wine's menus start the shortcut column right where the longest text
        // ends; the spaces keep a gap there (trailing spaces show nothing anywhere).
        if (oge.kisayol[0] != '\0') metin = metin + "   \t" + oge.kisayol;
        UINT bayraklar = MF_STRING;
        if ((oge.sayfa_ister && !sayfa_var) || (oge.komut == Komut::kapanani_ac && !kapanan_sekme_var_mi())) {
            bayraklar |= MF_GRAYED;
        }
        if (oge.komut == Komut::tam_ekran && tam_ekranda_mi()) bayraklar |= MF_CHECKED;
        AppendMenuW(menu, bayraklar, oge_kimligi(oge.komut), genis(metin).c_str());
    }
    return menu;
}

// Where the menu opens: under the button, its right edge at the button's; with the
// button out of sight, at the top right corner of the window.
RECT menu_yeri(HWND dugme, HWND sahip) {
    RECT alan = {};
    if (dugme != nullptr && IsWindowVisible(dugme)) {
        GetWindowRect(dugme, &alan);
        return alan;
    }
    GetClientRect(sahip, &alan);
    POINT kose = {alan.right, alan.top};
    ClientToScreen(sahip, &kose);
    return RECT{kose.x, kose.y, kose.x, kose.y};
}

}  // namespace

void komutu_calistir(Komut komut) {
    if (const KomutOgesi* oge = komutun_ogesi(komut)) oge->calistir();
}

void menuyu_ac(bool klavyeyle) {
    HWND dugme = _tr_arayuz_widget_al_hwnd(menu_dugme);
    HWND sahip = ana_pencere_hwnd();
    if (sahip == nullptr) return;
    HMENU menu = menuyu_kur();
    if (menu == nullptr) return;
    const RECT alan = menu_yeri(dugme, sahip);
    TPMPARAMS haric = {};
    haric.cbSize = sizeof(haric);
    haric.rcExclude = alan;
    // The menu's own loop reads this key first: the first item is highlighted.
    if (klavyeyle) PostMessageW(sahip, WM_KEYDOWN, VK_DOWN, 0);
    const UINT secilen = static_cast<UINT>(TrackPopupMenuEx(
        menu, TPM_RIGHTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_RETURNCMD | TPM_NONOTIFY, alan.right, alan.bottom,
        sahip, &haric));
    DestroyMenu(menu);
    if (secilen != 0) komutu_calistir(static_cast<Komut>(secilen - 1));
}

// The source of the selected page in a new tab right after it. A source view shows
// its own page's source again rather than a source of a source, which engines
// refuse; Korva's own start page has no source to show.
void kaynagi_goster() {
    const int64_t view = secili_sayfa();
    if (view < 0) {
        bildir("Kaynak gosterilemiyor: bu sekmede sayfa yok");
        return;
    }
    const std::string adres = al_ve_birak(_tr_webgorunum_adres_al(view));
    if (adres.empty() || adres.rfind("about:", 0) == 0) {
        bildir("Bu sayfanin gosterilecek kaynagi yok");
        return;
    }
    adresi_ac(adres.rfind(kKaynakOneki, 0) == 0 ? adres : kKaynakOneki + adres, true);
}

}  // namespace korva

// Full screen: the selected page alone over the whole screen, with no title bar,
// toolbar, row of tabs, sidebar, side panel or status bar, and the frame back
// exactly as it was afterwards.
//
// Two things ask for it: the user (F11, the menu's item) and a page, when one of its
// elements goes full screen (a video's button, element.requestFullscreen()), which
// the web view runtime reports. Full screen shows while either asks. F11 again, or
// Esc, leaves it whoever asked (Esc also ends the page's own full screen: the engine
// hears the key too); the page's own exit (document.exitFullscreen(), a new
// document) leaves the full screen it asked for, not the user's. Selecting or
// closing the page's tab ends the page's part too: only the selected page shows.
//
// What the frame was is kept by the runtimes themselves: the window runtime keeps the
// window's style and rectangle (and so whether it was maximized), the widgets keep
// their sizes while hidden; the side panel's state (kenar_acik) is not touched, so
// leaving shows the panel again when it was open. The keyboard never stays in a
// hidden part of the frame: a shortcut that puts it there (Ctrl+L, Ctrl+T) brings the
// frame back.
#include "korva.h"

#include <windows.h>

#include "tarayici_ic.h"
#include "webview/webgorunum_win_cz.h"
#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"

namespace korva {

int64_t arac_cubugu_satiri = -1;
int64_t durum_cubugu_satiri = -1;

}  // namespace korva

namespace {

bool kullanici_istedi = false;  // F11 or the menu's item
int64_t sayfa_gorunumu = -1;    // the web view whose element is in full screen; -1: none
bool gosteriliyor = false;      // the page is shown alone

// The rows and columns around the page, hidden and shown together.
void cerceveyi_goster(bool gorunsun) {
    auto uygula = gorunsun ? _tr_arayuz_widget_goster : _tr_arayuz_widget_gizle;
    uygula(korva::arac_cubugu_satiri);
    uygula(korva::durum_cubugu_satiri);
    uygula(kenar_cubugu);
    // The side panel shows again only when it was open.
    if (!gorunsun || kenar_acik == 1) uygula(kenar_panel);
    _tr_arayuz_sekme_satiri_gizle(sekme_defteri, gorunsun ? 0 : 1);
}

void goster() {
    if (gosteriliyor) return;
    gosteriliyor = true;
    // The address suggestions and the find bar belong to the frame that goes.
    korva::onerileri_kapat();
    korva::bul_kapat();
    cerceveyi_goster(false);
    _tr_pencere_tam_ekran(ana_pencere);
    // The keys are the page's (the window's, for a tab without one): the address
    // entry the keyboard may be in is hidden.
    const int64_t view = korva::secili_webgorunum();
    if (view >= 0) {
        _tr_arayuz_odakla(_tr_webgorunum_widget_id(view));
    } else {
        SetFocus(GetAncestor(_tr_arayuz_widget_al_hwnd(ana_kutu), GA_ROOT));
    }
}

void birak() {
    if (!gosteriliyor) return;
    gosteriliyor = false;
    _tr_pencere_tam_ekrandan_cik(ana_pencere);
    cerceveyi_goster(true);
}

// Shows or leaves full screen as the two askers say.
void guncelle() {
    if (kullanici_istedi || sayfa_gorunumu >= 0) {
        goster();
    } else {
        birak();
    }
}

}  // namespace

namespace korva {

void tam_ekrani_degistir() {
    if (gosteriliyor) {
        tam_ekrandan_cik();
        return;
    }
    kullanici_istedi = true;
    guncelle();
}

bool tam_ekranda_mi() { return gosteriliyor; }

bool tam_ekrandan_cik() {
    if (!gosteriliyor) return false;
    kullanici_istedi = false;
    sayfa_gorunumu = -1;
    guncelle();
    return true;
}

void tam_ekrani_denetle() {
    const int64_t secili = secili_webgorunum();
    for (int64_t konum = 0; konum < wv_sayisi; ++konum) {
        const int64_t view = sekme_webgorunumu(konum);
        if (view < 0 || _tr_webgorunum_tam_ekran_degisti_mi(view) != 1) continue;
        const bool tam = _tr_webgorunum_tam_ekranda_mi(view) == 1;
        // A page behind the selected one is not shown: its full screen changes nothing.
        if (tam && view == secili) {
            sayfa_gorunumu = view;
        } else if (!tam && view == sayfa_gorunumu) {
            sayfa_gorunumu = -1;
        }
    }
    if (sayfa_gorunumu >= 0 && sayfa_gorunumu != secili) sayfa_gorunumu = -1;
    guncelle();
    // The keyboard went to a hidden part of the frame (Ctrl+L, Ctrl+T and F6 put it
    // in the address entry): the frame comes back, so that nothing is typed where it
    // cannot be seen.
    HWND odak = GetFocus();
    if (gosteriliyor && odak != nullptr && !IsWindowVisible(odak)) tam_ekrandan_cik();
}

}  // namespace korva

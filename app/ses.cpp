// The sound of tabs. A tab whose page plays sound shows a speaker before its title;
// a muted tab shows a crossed speaker whether or not its page plays, so that the
// switch stays in sight. Clicking the mark, or the tab's menu item ("Sesi kapat",
// "Sesi ac"; a right click on a tab opens that small menu), mutes and unmutes the
// tab's page. The tab strip draws the mark and reports the clicks; the web view
// runtime says what the page does, and keeps the switch for the page's later
// documents.
#include "korva.h"

#include <windows.h>

#include <vector>

#include "tarayici_ic.h"
#include "webview/webgorunum_win_cz.h"
#include "widgets/arayuz_win_cz.h"

namespace korva {

namespace {

// The strip's kinds of mark.
constexpr int64_t kIsaretYok = 0, kCaliyor = 1, kSessiz = 2;
// The menu's one item; TrackPopupMenuEx answers 0 for none.
constexpr UINT kSesOgesi = 1;

int64_t isaret_turu(int64_t view) {
    if (view < 0) return kIsaretYok;
    if (_tr_webgorunum_sessiz_mi(view) == 1) return kSessiz;
    return _tr_webgorunum_ses_caliyor_mu(view) == 1 ? kCaliyor : kIsaretYok;
}

// The web view each tab position showed when its mark was last set: a tab whose
// view changed (a page that got its view on first selection, a new engine's view,
// tabs moved) has its mark set again even when its new view raised no flag.
std::vector<int64_t> isaretli_gorunumler;

void isareti_guncelle(int64_t konum) {
    _tr_arayuz_sekme_ses_isareti_koy(sekme_defteri, konum, isaret_turu(sekme_webgorunumu(konum)));
}

}  // namespace

void sekme_sesini_degistir(int64_t konum) {
    const int64_t view = sekme_webgorunumu(konum);
    if (view < 0) return;
    _tr_webgorunum_sessiz_yap(view, _tr_webgorunum_sessiz_mi(view) == 1 ? 0 : 1);
    isareti_guncelle(konum);
}

// At the pointer, as a right click's menu is. A tab without a page (one waiting for
// its first selection) has nothing to mute: the item is grayed.
void sekme_menusunu_ac(int64_t konum) {
    const int64_t view = sekme_webgorunumu(konum);
    HWND serit = _tr_arayuz_widget_al_hwnd(sekme_defteri);
    HWND sahip = serit != nullptr ? GetAncestor(serit, GA_ROOT) : nullptr;
    HMENU menu = CreatePopupMenu();
    if (sahip == nullptr || menu == nullptr) {
        if (menu != nullptr) DestroyMenu(menu);
        return;
    }
    const bool sessiz = view >= 0 && _tr_webgorunum_sessiz_mi(view) == 1;
    AppendMenuW(menu, MF_STRING | (view < 0 ? MF_GRAYED : 0u), kSesOgesi, sessiz ? L"Sesi ac" : L"Sesi kapat");
    POINT nokta = {};
    GetCursorPos(&nokta);
    const UINT secilen = static_cast<UINT>(TrackPopupMenuEx(
        menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY, nokta.x, nokta.y, sahip, nullptr));
    DestroyMenu(menu);
    // The tab may have gone while the menu was open: only the same page is changed.
    if (secilen == kSesOgesi && sekme_webgorunumu(konum) == view) sekme_sesini_degistir(konum);
}

void sesi_denetle() {
    // The engine is asked only about a tab whose sound changed or whose view is
    // another now.
    if (wv_sayisi < 0) return;
    isaretli_gorunumler.resize(static_cast<size_t>(wv_sayisi), -2);
    for (int64_t konum = 0; konum < wv_sayisi; ++konum) {
        const int64_t view = sekme_webgorunumu(konum);
        int64_t& bilinen = isaretli_gorunumler[static_cast<size_t>(konum)];
        if (_tr_webgorunum_ses_degisti_mi(view) == 1 || view != bilinen) {
            bilinen = view;
            isareti_guncelle(konum);
        }
    }
    const int64_t tiklanan = _tr_arayuz_sekme_ses_tiklandi_mi(sekme_defteri);
    if (tiklanan >= 0) sekme_sesini_degistir(tiklanan);
    const int64_t menusu = _tr_arayuz_sekme_menu_istendi_mi(sekme_defteri);
    if (menusu >= 0) sekme_menusunu_ac(menusu);
}

}  // namespace korva

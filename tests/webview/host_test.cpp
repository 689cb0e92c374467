// What a view's host window tells the engine, and when a closed view's record may
// serve again: a window holding a tab strip with two views, the first selected.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"
#include "webview/webgorunum_win_cz.h"
#include "yardimci.h"

namespace {

HWND host_of(int64_t gorunum) { return _tr_arayuz_widget_al_hwnd(_tr_webgorunum_widget_id(gorunum)); }

// The lines of one controller that begin with `yontem`, without it.
std::vector<std::string> cagrilar(int denetleyici, const std::string& yontem) {
    std::vector<std::string> sonuc;
    for (const std::string& satir : gorunum_satirlari(denetleyici)) {
        if (satir.rfind(yontem, 0) == 0) sonuc.push_back(satir.substr(yontem.size()));
    }
    return sonuc;
}

struct IkiSekmeliPencere {
    IkiSekmeliPencere() {
        motoru_hazirla();
        _tr_pencere_baslat();
        pencere = _tr_pencere_olustur("Iki sekme", 9, 800, 600);
        const int64_t kutu = _tr_arayuz_kutu_dikey();
        serit = _tr_arayuz_sekmeler();
        _tr_arayuz_pakle(kutu, serit, 1, 1, 0);
        _tr_pencere_icerik_ayarla(pencere, kutu);
        _tr_pencere_goster(pencere);
        ust = GetAncestor(_tr_arayuz_widget_al_hwnd(kutu), GA_ROOT);
        for (int i = 0; i < 2; ++i) {
            gorunumler[i] = _tr_webgorunum_olustur();
            denetleyiciler[i] = son_denetleyici();
            EXPECT_EQ(_tr_arayuz_sekme_ekle(serit, _tr_webgorunum_widget_id(gorunumler[i]), "W", 1), i);
        }
        bekleyenleri_isle();
    }

    int64_t pencere = -1;
    int64_t serit = -1;
    HWND ust = nullptr;
    int64_t gorunumler[2] = {-1, -1};
    int denetleyiciler[2] = {-1, -1};
};

// How many controllers were still open when the first host window got WM_NCDESTROY.
long long yikimda_acik = -1;

LRESULT CALLBACK yikimi_izle(HWND pencere, UINT mesaj, WPARAM wparam, LPARAM lparam, UINT_PTR kimlik, DWORD_PTR) {
    if (mesaj == WM_NCDESTROY) {
        if (yikimda_acik < 0) yikimda_acik = acik_denetleyici_sayisi();
        RemoveWindowSubclass(pencere, yikimi_izle, kimlik);
    }
    return DefSubclassProc(pencere, mesaj, wparam, lparam);
}

// What the zoom call on the watched view answered while the engine was closing it
// (its page window going tells the host with WM_PARENTNOTIFY); 99 until then.
int64_t izlenen_gorunum = -1;
int64_t kapanirken_yakinlik = 99;

LRESULT CALLBACK kapanisi_izle(HWND pencere, UINT mesaj, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
    if (mesaj == WM_PARENTNOTIFY && LOWORD(wparam) == WM_DESTROY) {
        kapanirken_yakinlik = _tr_webgorunum_yakinlastir(izlenen_gorunum);
    }
    return DefSubclassProc(pencere, mesaj, wparam, lparam);
}

}  // namespace

TEST(Host, GizlenenVeGosterilenHostMotoraBildirilir) {
    YALNIZ_VEKIL_MOTORLA("reads the visibility calls in the call log");
    IkiSekmeliPencere p;
    // Both hosts were made hidden; the first tab's page was shown when it was added.
    EXPECT_EQ(cagrilar(p.denetleyiciler[0], "put_IsVisible "), (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(cagrilar(p.denetleyiciler[1], "put_IsVisible "), (std::vector<std::string>{"0"}));

    _tr_arayuz_sekme_sec(p.serit, 1);
    EXPECT_EQ(cagrilar(p.denetleyiciler[0], "put_IsVisible "), (std::vector<std::string>{"0", "1", "0"}));
    EXPECT_EQ(cagrilar(p.denetleyiciler[1], "put_IsVisible "), (std::vector<std::string>{"0", "1"}));
    // The stand-in engine no longer draws the hidden page.
    const HWND cizim = GetWindow(host_of(p.gorunumler[0]), GW_CHILD);
    ASSERT_NE(cizim, nullptr);
    EXPECT_EQ(GetWindowLongW(cizim, GWL_STYLE) & WS_VISIBLE, 0);
}

TEST(Host, AnaPencereTasininacaGorunenGorunumeBildirilir) {
    YALNIZ_VEKIL_MOTORLA("reads the calls in the call log");
    IkiSekmeliPencere p;
    RECT yer = {};
    GetWindowRect(p.ust, &yer);
    SetWindowPos(p.ust, nullptr, yer.left + 40, yer.top + 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    bekleyenleri_isle();
    EXPECT_EQ(cagrilar(p.denetleyiciler[0], "NotifyParentWindowPositionChanged").size(), 1u);
    EXPECT_EQ(cagrilar(p.denetleyiciler[1], "NotifyParentWindowPositionChanged").size(), 0u);
}

TEST(Host, PencereYokEdilmedenOnceDenetleyicilerKapanir) {
    YALNIZ_VEKIL_MOTORLA("counts the engine's open controllers");
    // By the window runtime's close, and by a plain DestroyWindow of the window.
    for (const bool kapat : {true, false}) {
        IkiSekmeliPencere p;
        const long long acik = acik_denetleyici_sayisi();
        yikimda_acik = -1;
        SetWindowSubclass(host_of(p.gorunumler[0]), yikimi_izle, 1, 0);
        if (kapat) {
            EXPECT_EQ(_tr_pencere_kapat(p.pencere), 0);
        } else {
            DestroyWindow(p.ust);
        }
        EXPECT_EQ(yikimda_acik, acik - 2) << kapat;
        // The records count as closed, and are never taken again.
        EXPECT_EQ(_tr_webgorunum_kapat(p.gorunumler[0]), -1);
        EXPECT_EQ(_tr_webgorunum_kapat(p.gorunumler[1]), -1);
        EXPECT_GT(_tr_webgorunum_olustur(), p.gorunumler[1]);
    }
}

TEST(Host, KapatmaKaydiMotorKapanmadanTemizler) {
    YALNIZ_VEKIL_MOTORLA("reads the last call in the call log");
    IkiSekmeliPencere p;
    izlenen_gorunum = p.gorunumler[0];
    const HWND host = host_of(izlenen_gorunum);
    SetWindowSubclass(host, kapanisi_izle, 1, 0);
    ASSERT_EQ(_tr_webgorunum_kapat(izlenen_gorunum), 0);
    RemoveWindowSubclass(host, kapanisi_izle, 1);
    // While the engine closed, the record already answered as closed; nothing
    // reached the controller after its Close, the host's hiding included.
    EXPECT_EQ(kapanirken_yakinlik, -1);
    EXPECT_EQ(gorunum_satirlari(p.denetleyiciler[0]).back(), "Close");
}

TEST(Host, SekmedeKalanKapaliGorunumunKaydiAlinmaz) {
    IkiSekmeliPencere p;
    ASSERT_EQ(_tr_webgorunum_kapat(p.gorunumler[0]), 0);  // its tab stays
    const int64_t yeni = _tr_webgorunum_olustur();
    ASSERT_GE(yeni, 0);
    EXPECT_NE(yeni, p.gorunumler[0]);
    EXPECT_NE(host_of(yeni), host_of(p.gorunumler[0]));
    // Once the tab is gone, the record serves again.
    ASSERT_EQ(_tr_arayuz_sekme_kaldir(p.serit, 0), 0);
    EXPECT_EQ(_tr_webgorunum_olustur(), p.gorunumler[0]);
}

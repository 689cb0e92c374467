// The browser when its web engine fails: one child process per failure control of
// the stand-in engine (KORVA_STANDIN, read once when the engine loads). In each,
// start-up and a click on New tab must leave Korva running, answering its buttons,
// and closing as a user closes it, with "Korva kapatildi." and exit code 0.
#include <gtest/gtest.h>

#include <string>

#include "korva.h"
#include "ortak.h"
#include "webview/webgorunum_win_cz.h"
#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"

namespace {

std::string denetimler() {
    char value[256] = {};
    GetEnvironmentVariableA("KORVA_STANDIN", value, sizeof(value));
    return value;
}

// Whether a web view can be made at all under these controls.
bool sekme_acilir(const std::string& controls) {
    for (const char* failing : {"env=fail", "env=error", "env=never", "controller=fail", "controller=error",
                                "controller=never", "controller=noview"}) {
        if (controls == failing) return false;
    }
    return true;
}

std::wstring etiket_metni(int64_t widget) { return pencere_metni(widget_penceresi(widget)); }

bool gorunur(int64_t widget) { return (GetWindowLongW(widget_penceresi(widget), GWL_STYLE) & WS_VISIBLE) != 0; }

// With no engine every tab still opens, without a web view, and says why: its
// caption, the window title and the status bar.
void motorsuz_sekmeler(int64_t tabs, const char* when) {
    EXPECT_EQ(tabs, wv_sayisi) << when;
    EXPECT_EQ(tabs, _tr_arayuz_sekme_sayisi(sekme_defteri)) << when;
    EXPECT_EQ(tabs, native_sekme_sayisi()) << when;
    for (int64_t p = 0; p < tabs; ++p) EXPECT_EQ(-1, sekme_webgorunumu(p)) << when << ", tab " << p;
    EXPECT_EQ(L"Motor baslatilamadi - Korva", pencere_metni(ana_pencere_hwnd())) << when;
    EXPECT_EQ(L"Web motoru baslatilamadi: yeniden denemek icin Yenile (F5)", etiket_metni(durum_etiketi)) << when;
    EXPECT_EQ(TR_WEBGORUNUM_MOTOR_BASLATILAMADI, _tr_webgorunum_olusturma_hatasi()) << when;
}

// The window title and address entry once the selected start page has loaded.
void baslik_ve_adres(const std::string& controls) {
    if (controls == "title=empty") {
        // An empty page title leaves the caption and gives the bare program name.
        EXPECT_EQ(L"Korva", pencere_metni(ana_pencere_hwnd()));
    } else if (controls == "title=none") {
        EXPECT_EQ(L"Yeni Sekme - Korva", pencere_metni(ana_pencere_hwnd()));
    } else {
        EXPECT_EQ(L"Hizli Erisim - Korva", pencere_metni(ana_pencere_hwnd()));
    }
    if (controls == "source=none") {
        EXPECT_EQ(L"", etiket_metni(adres_girisi));
    }
}

}  // namespace

// Runs in a child, with KORVA_STANDIN set by the parent.
TEST(MotorHatasiCocuk, KorvaCalisirVeKapanir) {
    const std::string controls = denetimler();
    const bool opens = sekme_acilir(controls);
    ASSERT_TRUE(motoru_yukle());
    korvayi_baslat();
    HWND window = ana_pencere_hwnd();
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(IsWindowVisible(window));
    ASSERT_EQ(0, _tr_pencere_kapatildi_mi(ana_pencere));
    yuklenene_kadar();
    if (opens) {
        EXPECT_EQ(1, wv_sayisi);
        EXPECT_EQ("", sekme_degismezleri());
        baslik_ve_adres(controls);
        EXPECT_EQ(L"Hazir", etiket_metni(durum_etiketi));
    } else {
        motorsuz_sekmeler(1, "after start-up");
    }

    // It answers its buttons: Bookmarks opens the side panel.
    dugmeye_tikla(sb_yer_imi);
    tur();
    EXPECT_EQ(1, kenar_acik);
    EXPECT_TRUE(gorunur(kenar_panel));
    EXPECT_EQ(L"Yer Imleri", etiket_metni(kenar_panel_baslik));

    // New tab: a second start page, or, with no engine, a second tab saying so.
    dugmeye_tikla(yeni_sekme_dugme);
    tur();
    yuklenene_kadar();
    if (opens) {
        EXPECT_EQ(2, wv_sayisi);
        EXPECT_EQ(1, _tr_arayuz_sekme_secili(sekme_defteri));
        EXPECT_EQ("", sekme_degismezleri());
        baslik_ve_adres(controls);
    } else {
        motorsuz_sekmeler(2, "after New tab");
    }

    // Every other control once; nothing may break or open a tab.
    const int64_t tabs = wv_sayisi;
    for (int64_t button : {geri_dugme, ileri_dugme, yenile_dugme, ana_sayfa_dugme, menu_dugme}) {
        dugmeye_tikla(button);
        tur();
    }
    adres_yaz_enter(L"ornek");
    tur();
    if (opens && wv_sayisi > 1) {
        const int64_t kapanan = kapanan_sekme_sayisi;
        kapatma_isaretine_tikla(0);
        kapanana_kadar(kapanan);
        EXPECT_EQ(tabs - 1, wv_sayisi);
        EXPECT_EQ("", sekme_degismezleri());
    } else {
        EXPECT_EQ(tabs, wv_sayisi);
    }

    // And Bookmarks again closes the panel.
    dugmeye_tikla(sb_yer_imi);
    tur();
    EXPECT_EQ(0, kenar_acik);
    EXPECT_FALSE(gorunur(kenar_panel));

    // Closed as a user closes it: Alt+F4 reaches the window as WM_CLOSE.
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, korva_dongu());
    EXPECT_EQ(1, _tr_pencere_kapatildi_mi(ana_pencere));
    fflush(stdout);
}

void motor_cocuklarini_denetle() {
    for (const CocukTanimi& definition : cocuk_tanimlari()) {
        if (definition.filter != "MotorHatasiCocuk.*") continue;
        SCOPED_TRACE("KORVA_STANDIN=" + definition.standin_controls);
        Cocuk* child = cocuk(definition.ad);
        ASSERT_NE(nullptr, child);
        ASSERT_TRUE(child->basladi());
        // Four waits of 30 s each at most (start-up, New tab, Reload and Home, each
        // when the failure is no longer remembered), with room to spare.
        const long code = child->bekle(200000);
        const std::string& out = child->cikti();
        EXPECT_EQ(0, code) << out << child->hata_ciktisi();
        EXPECT_NE(std::string::npos, out.find("\nKorva kapatildi.\n")) << out;
        EXPECT_NE(std::string::npos, out.find("[  PASSED  ] 1 test")) << out;
    }
}

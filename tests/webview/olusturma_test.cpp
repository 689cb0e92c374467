// Creating web views against either engine: the shared environment, ids, host
// windows placed in boxes and tab pages and the view following their size, the
// widget id, and closing with the reuse of records.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"
#include "webview/webgorunum_win_cz.h"
#include "yardimci.h"

namespace {

HWND host_penceresi(int64_t gorunum) {
    return _tr_arayuz_widget_al_hwnd(_tr_webgorunum_widget_id(gorunum));
}

std::string istemci_alani(HWND pencere) {
    RECT alan = {};
    GetClientRect(pencere, &alan);
    return std::to_string(alan.left) + " " + std::to_string(alan.top) + " " +
           std::to_string(alan.right) + " " + std::to_string(alan.bottom);
}

}  // namespace

TEST(Olusturma, OrtakOrtamSiraliKimliklerHostPenceresi) {
    motoru_hazirla();
    const int64_t ilk = _tr_webgorunum_olustur();
    ASSERT_GE(ilk, 0);
    const int ilk_denetleyici = son_denetleyici();
    const int64_t ikinci = _tr_webgorunum_olustur();
    ASSERT_EQ(ikinci, ilk + 1);
    const int ikinci_denetleyici = son_denetleyici();
    EXPECT_NE(denetleyicisi(ilk), denetleyicisi(ikinci));

    // One environment for the process, one controller per web view.
    if (gunluk_var()) {
        EXPECT_NE(ilk_denetleyici, ikinci_denetleyici);
        EXPECT_EQ(gunluk_sayisi("CreateCoreWebView2EnvironmentWithOptions"), 1);
        EXPECT_EQ(gunluk_sayisi("- CreateCoreWebView2Controller"), ikinci_denetleyici + 1);
    }

    // Each starts with its own hidden 800 by 600 host window, and the view covers it.
    const HWND host = host_penceresi(ilk);
    ASSERT_NE(host, nullptr);
    EXPECT_NE(host, host_penceresi(ikinci));
    wchar_t sinif[64] = {};
    GetClassNameW(host, sinif, 64);
    EXPECT_STREQ(sinif, L"TrWebViewHost");
    EXPECT_FALSE(IsWindowVisible(host));
    EXPECT_EQ(istemci_alani(host), "0 0 800 600");
    EXPECT_EQ(denetleyici_siniri(ilk), "0 0 800 600");

    // The engine writes into a folder of the user's, made for this program.
    wchar_t yerel[MAX_PATH] = {};
    GetEnvironmentVariableW(L"LOCALAPPDATA", yerel, MAX_PATH);
    const std::wstring veri = std::wstring(yerel) + L"\\korva_webview_tests\\WebView2";
    const DWORD nitelik = GetFileAttributesW(veri.c_str());
    EXPECT_TRUE(nitelik != INVALID_FILE_ATTRIBUTES && (nitelik & FILE_ATTRIBUTE_DIRECTORY));
}

TEST(Olusturma, WidgetKimligiKalici) {
    motoru_hazirla();
    const int64_t gorunum = _tr_webgorunum_olustur();
    ASSERT_GE(gorunum, 0);
    const int64_t widget = _tr_webgorunum_widget_id(gorunum);
    ASSERT_GE(widget, 0);
    // Asking again registers nothing new.
    EXPECT_EQ(_tr_webgorunum_widget_id(gorunum), widget);
    const int64_t sonraki = _tr_arayuz_etiket("x", 1);
    EXPECT_EQ(sonraki, widget + 1);

    EXPECT_EQ(_tr_webgorunum_widget_id(-1), -1);
    EXPECT_EQ(_tr_webgorunum_widget_id(256), -1);
    EXPECT_EQ(_tr_webgorunum_widget_id(INT64_MAX), -1);
}

TEST(Olusturma, GorunumHostunBoyutunuIzler) {
    motoru_hazirla();
    const int64_t gorunum = _tr_webgorunum_olustur();
    ASSERT_GE(gorunum, 0);
    const HWND host = host_penceresi(gorunum);

    // Sized directly.
    MoveWindow(host, 0, 0, 640, 480, TRUE);
    EXPECT_EQ(denetleyici_siniri(gorunum), "0 0 640 480");

    // Packed into a box that fills a window, and the window resized.
    ASSERT_EQ(_tr_pencere_baslat(), 0);
    const int64_t pencere = _tr_pencere_olustur("Kutu", 4, 900, 700);
    const int64_t kutu = _tr_arayuz_kutu_dikey();
    const int64_t dugme = _tr_arayuz_dugme("Ust", 3);
    _tr_arayuz_pakle(kutu, dugme, 0, 1, 0);
    _tr_arayuz_pakle(kutu, _tr_webgorunum_widget_id(gorunum), 1, 1, 0);
    _tr_pencere_icerik_ayarla(pencere, kutu);
    _tr_pencere_goster(pencere);
    _tr_arayuz_goster_tumu(kutu);
    _tr_pencere_boyut_ayarla(pencere, 1000, 650);
    bekleyenleri_isle();
    EXPECT_EQ(GetParent(host), _tr_arayuz_widget_al_hwnd(kutu));
    const std::string kutudaki = istemci_alani(host);
    EXPECT_NE(kutudaki, "0 0 640 480");
    EXPECT_EQ(denetleyici_siniri(gorunum), kutudaki);

    // A second view as the page of a tab strip: selecting its tab fits it into
    // the strip's display area.
    const int64_t sekmeli = _tr_webgorunum_olustur();
    ASSERT_GE(sekmeli, 0);
    const int64_t pencere2 = _tr_pencere_olustur("Sekme", 5, 800, 600);
    const int64_t kutu2 = _tr_arayuz_kutu_dikey();
    const int64_t sekmeler = _tr_arayuz_sekmeler();
    _tr_arayuz_pakle(kutu2, sekmeler, 1, 1, 0);
    _tr_pencere_icerik_ayarla(pencere2, kutu2);
    _tr_pencere_goster(pencere2);
    ASSERT_EQ(_tr_arayuz_sekme_ekle(sekmeler, _tr_webgorunum_widget_id(sekmeli), "Web", 3), 0);
    _tr_arayuz_sekme_sec(sekmeler, 0);
    bekleyenleri_isle();
    const HWND sekme_host = host_penceresi(sekmeli);
    EXPECT_EQ(GetParent(sekme_host), _tr_arayuz_widget_al_hwnd(sekmeler));
    EXPECT_TRUE(IsWindowVisible(sekme_host));
    const std::string sekmedeki = istemci_alani(sekme_host);
    EXPECT_NE(sekmedeki, "0 0 800 600");
    EXPECT_EQ(denetleyici_siniri(sekmeli), sekmedeki);
}

TEST(Kapatma, MotorKapatirKayitYenidenKullanilir) {
    motoru_hazirla();
    const int64_t gorunum = _tr_webgorunum_olustur();
    ASSERT_GE(gorunum, 0);
    const int denetleyici = son_denetleyici();
    const int64_t widget = _tr_webgorunum_widget_id(gorunum);
    const HWND host = host_penceresi(gorunum);
    ShowWindow(host, SW_SHOW);
    ASSERT_EQ(_tr_webgorunum_html_yukle(gorunum, "<title>A</title>", 16), 0);
    ASSERT_TRUE(pompala_kadar([&] { return _tr_webgorunum_yuklenme_yuzdesi(gorunum) == 100; }));
    const long long acik = acik_denetleyici_sayisi();

    // A navigation under way when the view closes reports nothing afterwards.
    _tr_webgorunum_yukle(gorunum, "about:blank", 11);
    EXPECT_EQ(_tr_webgorunum_kapat(gorunum), 0);
    if (gunluk_var()) {
        EXPECT_EQ(gorunum_satirlari(denetleyici).back(), "Close");
        EXPECT_EQ(acik_denetleyici_sayisi(), acik - 1);
    }
    EXPECT_FALSE(IsWindowVisible(host));
    bekleyenleri_isle();

    // Everything now answers as for a missing view.
    EXPECT_EQ(_tr_webgorunum_yukle(gorunum, "about:blank", 11), -1);
    EXPECT_EQ(_tr_webgorunum_yakinlastir(gorunum), -1);
    EXPECT_EQ(_tr_webgorunum_yenile(gorunum), -1);
    const TrMetin baslik = _tr_webgorunum_baslik_al(gorunum);
    EXPECT_EQ(baslik.ptr, nullptr);
    EXPECT_EQ(_tr_webgorunum_yukleniyor_mu(gorunum), 0);
    EXPECT_EQ(_tr_webgorunum_yuklenme_yuzdesi(gorunum), 0);
    EXPECT_EQ(_tr_webgorunum_baslik_degisti_mi(gorunum), 0);
    EXPECT_EQ(_tr_webgorunum_adres_degisti_mi(gorunum), 0);
    EXPECT_EQ(_tr_webgorunum_yuklenme_bitti_mi(gorunum), 0);
    EXPECT_EQ(_tr_webgorunum_kapat(gorunum), -1);
    EXPECT_EQ(_tr_webgorunum_kapat(-1), -1);
    EXPECT_EQ(_tr_webgorunum_kapat(256), -1);
    for (const int64_t kimlik : {gorunum, int64_t{-1}, int64_t{256}}) {
        EXPECT_EQ(_tr_webgorunum_yeni_pencere_olustur(kimlik), -1);
        EXPECT_EQ(_tr_webgorunum_yeni_pencere_birak(kimlik), -1);
    }

    // The next creation takes the same record, host window and widget.
    const int64_t yeni = _tr_webgorunum_olustur();
    EXPECT_EQ(yeni, gorunum);
    EXPECT_EQ(_tr_webgorunum_widget_id(yeni), widget);
    EXPECT_EQ(host_penceresi(yeni), host);
    if (gunluk_var()) {
        EXPECT_NE(son_denetleyici(), denetleyici);
    }
    EXPECT_EQ(denetleyici_siniri(yeni), istemci_alani(host));
    EXPECT_EQ(_tr_webgorunum_yukleniyor_mu(yeni), 1);
    EXPECT_EQ(_tr_webgorunum_yakinlastir(yeni), 0);
}

TEST(Kapatma, BinGorunumAcilipKapanir) {
    motoru_hazirla();
    ASSERT_GE(_tr_webgorunum_olustur(), 0);  // the engine is loaded from here on
    const long long acik = acik_denetleyici_sayisi();
    std::set<int64_t> kimlikler;
    // A real engine makes and closes a page of its own each time, some tens of
    // milliseconds apiece: fewer rounds show the same reuse.
    const int turlar = gunluk_var() ? 1000 : 40;
    for (int tur = 0; tur < turlar; ++tur) {
        const int64_t gorunum = _tr_webgorunum_olustur();
        ASSERT_GE(gorunum, 0) << "tur " << tur;
        kimlikler.insert(gorunum);
        ASSERT_EQ(_tr_webgorunum_kapat(gorunum), 0) << "tur " << tur;
    }
    EXPECT_EQ(kimlikler.size(), 1u);
    EXPECT_EQ(acik_denetleyici_sayisi(), acik);
    // Leave no closed record behind for the other tests.
    EXPECT_EQ(_tr_webgorunum_olustur(), *kimlikler.begin());
}

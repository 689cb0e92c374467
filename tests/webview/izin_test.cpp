// Permissions a page asks for, as the runtime reports them and the page hears the
// answer: on the stand-in (its page calls are scripts of the understood forms,
// whose value is the answer) and on the real engine (a page of the loopback
// server, whose calls go on into the engine once answered).
#include <gtest/gtest.h>

#include <string>

#include "webview/webgorunum_win_cz.h"
#include "yardimci.h"

namespace {

class Izin : public ::testing::Test {
protected:
    void SetUp() override {
        motoru_hazirla();
        id = _tr_webgorunum_olustur();
        ASSERT_GE(id, 0);
    }
    void TearDown() override {
        if (id >= 0) {
            EXPECT_EQ(_tr_webgorunum_kapat(id), 0);
        }
    }

    bool git(const std::string& adres) {
        bool bitti = false;
        return _tr_webgorunum_yukle(id, adres.data(), static_cast<int64_t>(adres.size())) == 0 &&
               pompala_kadar([&] { return bitti = bitti || _tr_webgorunum_yuklenme_bitti_mi(id) == 1; });
    }
    bool yenile() {
        bool bitti = false;
        return _tr_webgorunum_yenile(id) == 0 &&
               pompala_kadar([&] { return bitti = bitti || _tr_webgorunum_yuklenme_bitti_mi(id) == 1; });
    }
    void calistir(const std::string& betik) {
        ASSERT_EQ(_tr_webgorunum_js_sonuclu_calistir(id, betik.data(), static_cast<int64_t>(betik.size())), 0);
    }
    // The next request of the view, once it is reported; -1 when none comes.
    int64_t istek_bekle() {
        int64_t istek = -1;
        pompala_kadar([&] { return istek >= 0 || (istek = _tr_webgorunum_izin_istendi_mi(id)) >= 0; });
        return istek;
    }
    std::string sonuc_bekle() {
        bool geldi = false;
        if (!pompala_kadar([&] { return geldi = geldi || _tr_webgorunum_js_sonucu_geldi_mi(id) == 1; })) return "?";
        return metin_al_birak(_tr_webgorunum_js_sonucu_al(id));
    }
    std::string baslik_bekle(const std::string& beklenen) {
        std::string baslik;
        pompala_kadar([&] { return (baslik = metin_al_birak(_tr_webgorunum_baslik_al(id))) == beklenen; });
        return baslik;
    }

    int64_t id = -1;
};

TEST_F(Izin, VekilMotordaTurKaynakDurumVeErteleme) {
    YALNIZ_VEKIL_MOTORLA("its page calls are scripts of its own forms");
    ASSERT_TRUE(git("http://izin.standin:8080/sayfa?x=1"));

    // Camera and microphone are asked in turn; the page waits for every answer.
    calistir("navigator.mediaDevices.getUserMedia({video: true, audio: true})");
    int64_t istek = istek_bekle();
    ASSERT_GE(istek, 0);
    EXPECT_EQ(_tr_webgorunum_izin_turu(istek), 2);
    EXPECT_EQ(metin_al_birak(_tr_webgorunum_izin_kaynagi_al(istek)), "http://izin.standin:8080");
    EXPECT_EQ(_tr_webgorunum_izin_gorunumu(istek), id);
    EXPECT_EQ(_tr_webgorunum_izin_kullanici_mi(istek), 0);
    bekleyenleri_isle();
    EXPECT_EQ(_tr_webgorunum_js_sonucu_geldi_mi(id), 0) << "the deferral holds the page";
    EXPECT_EQ(_tr_webgorunum_izin_yanitla(istek, 3), -1);
    EXPECT_EQ(_tr_webgorunum_izin_yanitla(istek, 1), 0);
    EXPECT_EQ(_tr_webgorunum_izin_yanitla(istek, 1), -1) << "answered once";
    const int64_t mikrofon = istek_bekle();
    ASSERT_GT(mikrofon, istek);
    EXPECT_EQ(_tr_webgorunum_izin_turu(mikrofon), 1);
    EXPECT_EQ(_tr_webgorunum_izin_yanitla(mikrofon, 2), 0);
    EXPECT_EQ(sonuc_bekle(), "\"denied\"");

    // Allowed; and DEFAULT is this engine's default, a refusal.
    calistir("Notification.requestPermission()");
    istek = istek_bekle();
    EXPECT_EQ(_tr_webgorunum_izin_turu(istek), 4);
    EXPECT_EQ(_tr_webgorunum_izin_yanitla(istek, 1), 0);
    EXPECT_EQ(sonuc_bekle(), "\"granted\"");
    calistir("navigator.clipboard.readText()");
    istek = istek_bekle();
    EXPECT_EQ(_tr_webgorunum_izin_turu(istek), 6);
    EXPECT_EQ(_tr_webgorunum_izin_yanitla(istek, 0), 0);
    EXPECT_EQ(sonuc_bekle(), "\"denied\"");

    // A page without an origin is refused without asking; unknown ids are no request.
    ASSERT_TRUE(git("about:blank"));
    calistir("navigator.geolocation.getCurrentPosition(function () {})");
    EXPECT_EQ(sonuc_bekle(), "\"denied\"");
    EXPECT_EQ(_tr_webgorunum_izin_istendi_mi(id), -1);
    EXPECT_EQ(_tr_webgorunum_izin_turu(12345), -1);
    EXPECT_EQ(metin_al_birak(_tr_webgorunum_izin_kaynagi_al(-1)), "");
}

// A request still waiting when its view goes to another document (a reload of the
// same address too), or closes, is gone with its page, answered with the engine's
// default.
TEST_F(Izin, VekilMotordaGidilenVeKapananSayfaninIstegiKalmaz) {
    YALNIZ_VEKIL_MOTORLA("its page calls are scripts of its own forms");
    ASSERT_TRUE(git("https://izin.standin/"));
    calistir("Notification.requestPermission()");
    int64_t istek = istek_bekle();
    ASSERT_GE(istek, 0);
    ASSERT_TRUE(yenile());
    EXPECT_EQ(_tr_webgorunum_izin_turu(istek), -1) << "a reloaded page asks anew";

    calistir("Notification.requestPermission()");
    istek = istek_bekle();
    ASSERT_GE(istek, 0);
    ASSERT_TRUE(git("https://izin.standin/baska"));
    EXPECT_EQ(_tr_webgorunum_izin_turu(istek), -1);
    EXPECT_EQ(_tr_webgorunum_izin_yanitla(istek, 1), -1);

    calistir("Notification.requestPermission()");
    istek = istek_bekle();
    ASSERT_GE(istek, 0);
    EXPECT_EQ(_tr_webgorunum_izin_turu(istek), 4) << "the new document's request waits";
    EXPECT_EQ(_tr_webgorunum_kapat(id), 0);
    id = -1;
    EXPECT_EQ(_tr_webgorunum_izin_turu(istek), -1);
    EXPECT_EQ(_tr_webgorunum_izin_yanitla(istek, 1), -1);
}

// The real engine: the page's call waits for the answer, then gets the engine's
// own result; the page can neither reach the binding nor grant itself anything.
TEST_F(Izin, GercekMotordaSayfaYanitiMotordanAlir) {
    const std::string sayfa = korva_test::sunucu_adresi("/");
    if (sayfa.empty()) GTEST_SKIP() << "needs the loopback server of real pages (the *_chromium run)";
    ASSERT_TRUE(git(sayfa));
    const std::string kaynak = sayfa.substr(0, sayfa.size() - 1);

    calistir("Notification.requestPermission().then(r => document.title = r)");
    int64_t istek = istek_bekle();
    ASSERT_GE(istek, 0);
    EXPECT_EQ(_tr_webgorunum_izin_turu(istek), 4);
    EXPECT_EQ(metin_al_birak(_tr_webgorunum_izin_kaynagi_al(istek)), kaynak);
    EXPECT_EQ(_tr_webgorunum_izin_kullanici_mi(istek), 1) << "the host's script runs as the user's gesture";
    EXPECT_EQ(_tr_webgorunum_izin_yanitla(istek, 1), 0);
    EXPECT_EQ(baslik_bekle("granted"), "granted");

    // Refused now; what the page can reach of the library does not change that.
    calistir("Notification.requestPermission().then(r => document.title = r + ' ' + typeof __korvaIzin)");
    istek = istek_bekle();
    ASSERT_GE(istek, 0);
    EXPECT_EQ(_tr_webgorunum_izin_yanitla(istek, 2), 0);
    EXPECT_EQ(baslik_bekle("denied undefined"), "denied undefined");
    calistir("__korvaIzinDevam(1); __korvaIzinDevam = null; document.title = Notification.permission");
    EXPECT_EQ(baslik_bekle("denied"), "denied");

    // The camera allowed, with no camera here: the engine's own error.
    calistir("navigator.mediaDevices.getUserMedia({video: true}).then(() => document.title = 'var', "
             "e => document.title = e.name)");
    istek = istek_bekle();
    ASSERT_GE(istek, 0);
    EXPECT_EQ(_tr_webgorunum_izin_turu(istek), 2);
    EXPECT_EQ(_tr_webgorunum_izin_yanitla(istek, 1), 0);
    EXPECT_EQ(baslik_bekle("NotFoundError"), "NotFoundError");
}

// The real engine: the page's own reload, and the host's load of the same address,
// end the request of the document before.
TEST_F(Izin, GercekMotordaYenilenenSayfaninIstegiKalmaz) {
    const std::string sayfa = korva_test::sunucu_adresi("/");
    if (sayfa.empty()) GTEST_SKIP() << "needs the loopback server of real pages (the *_chromium run)";
    ASSERT_TRUE(git(sayfa));
    calistir("Notification.requestPermission()");
    int64_t istek = istek_bekle();
    ASSERT_GE(istek, 0);
    calistir("location.reload()");
    bool bitti = false;
    EXPECT_TRUE(pompala_kadar([&] { return bitti = bitti || _tr_webgorunum_yuklenme_bitti_mi(id) == 1; }));
    EXPECT_EQ(_tr_webgorunum_izin_turu(istek), -1) << "the page's reload";
    EXPECT_EQ(_tr_webgorunum_izin_yanitla(istek, 1), -1);

    calistir("Notification.requestPermission()");
    istek = istek_bekle();
    ASSERT_GE(istek, 0);
    ASSERT_TRUE(git(sayfa));
    EXPECT_EQ(_tr_webgorunum_izin_turu(istek), -1) << "the same address loaded again";
}

// The real engine: a page that asks as it loads, with what its scripts can change
// claiming the user's gesture, gets a request without it: the gesture is the
// engine's record of the frame, not the page's word.
TEST_F(Izin, GercekMotordaSayfaKullaniciIsaretiniUyduramaz) {
    const std::string sayfa = korva_test::sunucu_adresi("/izin-sahte");
    if (sayfa.empty()) GTEST_SKIP() << "needs the loopback server of real pages (the *_chromium run)";
    ASSERT_TRUE(git(sayfa));
    EXPECT_EQ(baslik_bekle("Sahte: soruldu"), "Sahte: soruldu");
    const int64_t istek = istek_bekle();
    ASSERT_GE(istek, 0);
    EXPECT_EQ(_tr_webgorunum_izin_turu(istek), 4);
    EXPECT_EQ(_tr_webgorunum_izin_kullanici_mi(istek), 0);
    EXPECT_EQ(_tr_webgorunum_izin_yanitla(istek, 2), 0);
    EXPECT_EQ(baslik_bekle("Sahte: denied"), "Sahte: denied");
}

}  // namespace

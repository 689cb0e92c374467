// Real pages through the real engine: the loopback server's pages (a link, a form,
// a redirect, a 404, a slow page, script dialogs turned off), a file:// page, a
// closed port and a host name that does not resolve, as the runtime reports them (title, address, history,
// the page-event flags). How a navigation ended, success and error status, the
// runtime keeps to itself: a handler of the test's own reads it from the view.
// Without the server (the stand-in's run) these tests skip themselves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <string>
#include <vector>

#include <wrl/client.h>

#include "webview/webgorunum_ic.h"
#include "webview/webgorunum_win_cz.h"
#include "widgets/arayuz_win_cz.h"
#include "window/pencere_win_cz.h"
#include "yardimci.h"

namespace {

// What the test's own handlers saw of the view's navigations.
struct Gezintiler {
    int baslayan = 0;
    int biten = 0;
    UINT64 son_baslayan = 0;   // navigation ids
    UINT64 son_biten = 0;
    BOOL basarili = FALSE;
    COREWEBVIEW2_WEB_ERROR_STATUS durum = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
};

using BaslamaDinleyicisi = KomIsleyici<ICoreWebView2NavigationStartingEventHandler, Gezintiler*, ICoreWebView2*,
                                       ICoreWebView2NavigationStartingEventArgs*>;
using BitisDinleyicisi = KomIsleyici<ICoreWebView2NavigationCompletedEventHandler, Gezintiler*, ICoreWebView2*,
                                     ICoreWebView2NavigationCompletedEventArgs*>;

HRESULT basladi(Gezintiler*& gezintiler, ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs* arguman) {
    ++gezintiler->baslayan;
    arguman->get_NavigationId(&gezintiler->son_baslayan);
    return S_OK;
}

HRESULT bitti(Gezintiler*& gezintiler, ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs* arguman) {
    ++gezintiler->biten;
    arguman->get_NavigationId(&gezintiler->son_biten);
    arguman->get_IsSuccess(&gezintiler->basarili);
    arguman->get_WebErrorStatus(&gezintiler->durum);
    return S_OK;
}

// A host that cancels every navigation whose address holds "iptal" as it starts.
HRESULT iptal_eden(int*& iptaller, ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs* arguman) {
    LPWSTR adres = nullptr;
    arguman->get_Uri(&adres);
    if (adres != nullptr && std::wcsstr(adres, L"iptal") != nullptr) {
        arguman->put_Cancel(TRUE);
        ++*iptaller;
    }
    CoTaskMemFree(adres);
    return S_OK;
}
using IptalDinleyicisi = KomIsleyici<ICoreWebView2NavigationStartingEventHandler, int*, ICoreWebView2*,
                                     ICoreWebView2NavigationStartingEventArgs*>;

std::string dosya_adresi(const std::wstring& yol) {
    std::string adres = "file:///";
    for (const wchar_t c : yol) adres += c == L'\\' ? '/' : static_cast<char>(c);
    return adres;
}

class GercekSayfa : public ::testing::Test {
protected:
    void SetUp() override {
        if (korva_test::sunucu_adresi().empty()) {
            GTEST_SKIP() << "needs the loopback server of real pages (the *_chromium run)";
        }
        motoru_hazirla();
        id = _tr_webgorunum_olustur();
        ASSERT_GE(id, 0);
        gorunum = gorunum_bul(id)->webview;
        auto baslama = BaslamaDinleyicisi::olustur(basladi, &gezintiler);
        auto bitis = BitisDinleyicisi::olustur(bitti, &gezintiler);
        ASSERT_EQ(gorunum->add_NavigationStarting(baslama.Get(), &baslama_jetonu), S_OK);
        ASSERT_EQ(gorunum->add_NavigationCompleted(bitis.Get(), &bitis_jetonu), S_OK);
    }

    // The view in a shown window of its own (its content); the window's id.
    int64_t pencerede_goster(const char* ad, int64_t uzunluk, int64_t genislik, int64_t yukseklik) {
        _tr_pencere_baslat();
        const int64_t pencere = _tr_pencere_olustur(ad, uzunluk, genislik, yukseklik);
        _tr_pencere_goster(pencere);
        _tr_pencere_icerik_ayarla(pencere, _tr_webgorunum_widget_id(id));
        bekleyenleri_isle();
        return pencere;
    }

    void TearDown() override {
        if (gorunum == nullptr) return;
        gorunum->remove_NavigationStarting(baslama_jetonu);
        gorunum->remove_NavigationCompleted(bitis_jetonu);
        EXPECT_EQ(_tr_webgorunum_kapat(id), 0);
    }

    // Waits until the navigation started last has completed, after `once`
    // completions, as the engine and the runtime report it, and takes the
    // runtime's report.
    bool tamamlanmayi_bekle(int once) {
        return pompala_kadar([&] {
                   return gezintiler.biten > once && gezintiler.son_biten == gezintiler.son_baslayan &&
                          _tr_webgorunum_yuklenme_yuzdesi(id) == 100;
               }) &&
               _tr_webgorunum_yuklenme_bitti_mi(id) == 1;
    }
    bool git(const std::string& adres) {
        const int once = gezintiler.biten;
        return _tr_webgorunum_yukle(id, adres.data(), static_cast<int64_t>(adres.size())) == 0 &&
               tamamlanmayi_bekle(once);
    }
    bool betikle_git(const std::string& betik) {
        const int once = gezintiler.biten;
        return _tr_webgorunum_js_calistir(id, betik.data(), static_cast<int64_t>(betik.size())) == 0 &&
               tamamlanmayi_bekle(once);
    }
    // The title may come before or after the completion.
    bool baslik_olur(const std::string& beklenen) {
        return pompala_kadar([&] { return baslik() == beklenen; });
    }
    std::string baslik() { return metin_al_birak(_tr_webgorunum_baslik_al(id)); }
    std::string adres() { return metin_al_birak(_tr_webgorunum_adres_al(id)); }

    int64_t id = -1;
    ICoreWebView2* gorunum = nullptr;
    Gezintiler gezintiler;
    EventRegistrationToken baslama_jetonu = {}, bitis_jetonu = {};
};

}  // namespace

TEST_F(GercekSayfa, BaglantiGecmisBaslikVeAdres) {
    const std::string ana = korva_test::sunucu_adresi("/");
    const std::string ikinci = korva_test::sunucu_adresi("/ikinci.html");
    ASSERT_TRUE(git(ana));
    EXPECT_TRUE(gezintiler.basarili);
    EXPECT_TRUE(baslik_olur("Ana Sayfa")) << baslik();
    EXPECT_EQ(adres(), ana);
    EXPECT_EQ(_tr_webgorunum_adres_degisti_mi(id), 1);
    // The view's empty first entry is no page to go back to.
    EXPECT_EQ(_tr_webgorunum_geri_gidebilir_mi(id), 0);
    // An address keeps its fragment.
    const std::string parcali = korva_test::sunucu_adresi("/ikinci.html?x=1#parca");
    ASSERT_TRUE(git(parcali));
    EXPECT_EQ(adres(), parcali);
    ASSERT_TRUE(git(ana));
    EXPECT_EQ(_tr_webgorunum_baslik_degisti_mi(id), 1);

    // A click on the page's link.
    ASSERT_TRUE(betikle_git("document.getElementById('bag').click()"));
    EXPECT_TRUE(baslik_olur("Ikinci Sayfa")) << baslik();
    EXPECT_EQ(adres(), ikinci);
    EXPECT_EQ(_tr_webgorunum_adres_degisti_mi(id), 1);
    EXPECT_EQ(_tr_webgorunum_geri_gidebilir_mi(id), 1);
    EXPECT_EQ(_tr_webgorunum_ileri_gidebilir_mi(id), 0);

    // One history step (or a reload) to its completion, and the page it shows.
    auto adim = [&](int64_t (*islem)(int64_t), const char* beklenen_baslik, const std::string& beklenen_adres) {
        const int once = gezintiler.biten;
        ASSERT_EQ(islem(id), 0);
        ASSERT_TRUE(tamamlanmayi_bekle(once));
        EXPECT_TRUE(baslik_olur(beklenen_baslik)) << baslik();
        EXPECT_EQ(adres(), beklenen_adres);
    };
    adim(_tr_webgorunum_geri, "Ana Sayfa", ana);
    EXPECT_EQ(_tr_webgorunum_ileri_gidebilir_mi(id), 1);
    adim(_tr_webgorunum_ileri, "Ikinci Sayfa", ikinci);
    EXPECT_EQ(_tr_webgorunum_ileri_gidebilir_mi(id), 0);
    // Back again from the entry that Forward reached: one step, not two.
    adim(_tr_webgorunum_geri, "Ana Sayfa", ana);
    adim(_tr_webgorunum_ileri, "Ikinci Sayfa", ikinci);
    // A reload keeps the entry.
    adim(_tr_webgorunum_yenile, "Ikinci Sayfa", ikinci);
    EXPECT_EQ(_tr_webgorunum_ileri_gidebilir_mi(id), 0);
    EXPECT_EQ(_tr_webgorunum_geri_gidebilir_mi(id), 1);
}

// The host decides before anything is fetched: a navigation it cancels as it starts,
// asked for by the host or by the page, never reaches the server and leaves the page
// as it was; every navigation, canceled or let go, starts once.
TEST_F(GercekSayfa, IptalEdilenGezintiSunucuyaGitmezHerGezintiBirKezBaslar) {
    const std::string izinli = korva_test::sunucu_adresi("/iz?k=izinli");
    int iptaller = 0;
    auto iptal = IptalDinleyicisi::olustur(iptal_eden, &iptaller);
    EventRegistrationToken jeton = {};
    ASSERT_EQ(gorunum->add_NavigationStarting(iptal.Get(), &jeton), S_OK);
    ASSERT_TRUE(git(izinli));
    EXPECT_TRUE(gezintiler.basarili);
    const int baslayan = gezintiler.baslayan;
    ASSERT_TRUE(git(korva_test::sunucu_adresi("/iz?k=iptal_host")));
    EXPECT_FALSE(gezintiler.basarili);
    EXPECT_EQ(gezintiler.durum, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED);
    ASSERT_TRUE(betikle_git("location.href = '/iz?k=iptal_sayfa'"));
    EXPECT_EQ(gezintiler.durum, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED);
    EXPECT_EQ(adres(), izinli);
    EXPECT_EQ(iptaller, 2);
    gorunum->remove_NavigationStarting(jeton);

    ASSERT_TRUE(git(korva_test::sunucu_adresi("/izler")));
    EXPECT_TRUE(gezintiler.basarili);
    EXPECT_EQ(gezintiler.baslayan, baslayan + 3);
    ASSERT_TRUE(pompala_kadar([&] { return baslik().rfind("Izler:", 0) == 0; })) << baslik();
    EXPECT_NE(baslik().find("izinli"), std::string::npos) << baslik();
    EXPECT_EQ(baslik().find("iptal"), std::string::npos) << baslik();
}

// A page that logs a string larger than the engine library takes costs nothing but
// that message: the engine goes on, and this tab and a new one load their pages.
TEST_F(GercekSayfa, DevKonsolIletisiMotoruDusurmez) {
    ASSERT_TRUE(git(korva_test::sunucu_adresi("/")));
    const std::string betik = "console.log('a'.repeat(258 * 1024 * 1024)); 7";
    ASSERT_EQ(_tr_webgorunum_js_sonuclu_calistir(id, betik.data(), static_cast<int64_t>(betik.size())), 0);
    // The engine takes seconds (some 15 here) to build and send the message.
    bool geldi = false;
    for (int tur = 0; tur < 6 && !geldi; ++tur)
        pompala_kadar([&] { return geldi = geldi || _tr_webgorunum_js_sonucu_geldi_mi(id) == 1; });
    ASSERT_TRUE(geldi);
    EXPECT_EQ(metin_al_birak(_tr_webgorunum_js_sonucu_al(id)), "7");

    const int64_t diger = _tr_webgorunum_olustur();
    ASSERT_GE(diger, 0);
    const std::string ikinci = korva_test::sunucu_adresi("/ikinci.html");
    ASSERT_EQ(_tr_webgorunum_yukle(diger, ikinci.data(), static_cast<int64_t>(ikinci.size())), 0);
    EXPECT_TRUE(pompala_kadar([&] { return metin_al_birak(_tr_webgorunum_baslik_al(diger)) == "Ikinci Sayfa"; }));
    EXPECT_EQ(_tr_webgorunum_kapat(diger), 0);
    ASSERT_TRUE(git(ikinci));
    EXPECT_TRUE(gezintiler.basarili);
    EXPECT_TRUE(baslik_olur("Ikinci Sayfa")) << baslik();
}

TEST_F(GercekSayfa, FormGonderilir) {
    ASSERT_TRUE(git(korva_test::sunucu_adresi("/")));
    ASSERT_TRUE(betikle_git("document.getElementById('alan').value = 'merhaba dunya';"
                            "document.getElementById('form').submit()"));
    EXPECT_TRUE(gezintiler.basarili);
    EXPECT_TRUE(baslik_olur("Arama: merhaba dunya")) << baslik();
    EXPECT_EQ(adres(), korva_test::sunucu_adresi("/ara?q=merhaba+dunya"));
}

// A host that turned the engine's own script dialogs off gets none shown, and the
// page does not wait: its confirm() and prompt() are answered at once as dismissed.
TEST_F(GercekSayfa, VarsayilanDiyaloglarKapaliysaSayfaBeklemez) {
    ICoreWebView2Settings* ayarlar = nullptr;
    ASSERT_EQ(gorunum->get_Settings(&ayarlar), S_OK);
    EXPECT_EQ(ayarlar->put_AreDefaultScriptDialogsEnabled(FALSE), S_OK);
    ayarlar->Release();
    ASSERT_TRUE(git(korva_test::sunucu_adresi("/ikinci.html")));
    const std::string betik = "document.title = 'Yanit: ' + confirm('Silinsin mi?') + ' ' + prompt('Ad?', 'x')";
    ASSERT_EQ(_tr_webgorunum_js_calistir(id, betik.data(), static_cast<int64_t>(betik.size())), 0);
    EXPECT_TRUE(baslik_olur("Yanit: false null")) << baslik();
}

TEST_F(GercekSayfa, HerGezintiBirSonuclaBiter) {
    const std::wstring klasor = gecici_klasor(L"gercek");
    std::ofstream((klasor + L"\\dosya.html").c_str()) << "<title>Dosya Sayfasi</title><p>dosya</p>";
    const std::string dosya = dosya_adresi(klasor + L"\\dosya.html");
    const std::string cozulmez = "https://olmayan-bir-ad.invalid/";
    const std::string kapali_kapi = "http://127.0.0.1:3/";

    const struct {
        std::string adres;
        std::string son_adres;
        const char* baslik;   // null: not checked
        BOOL basarili;
        COREWEBVIEW2_WEB_ERROR_STATUS durum;
    } durumlar[] = {
        {korva_test::sunucu_adresi("/yonlendir"), korva_test::sunucu_adresi("/ikinci.html"), "Ikinci Sayfa", TRUE,
         COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN},
        {dosya, dosya, "Dosya Sayfasi", TRUE, COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN},
        {cozulmez, cozulmez, nullptr, FALSE, COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED},
        {kapali_kapi, kapali_kapi, nullptr, FALSE, COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT},
    };
    for (const auto& durum : durumlar) {
        SCOPED_TRACE(durum.adres);
        ASSERT_TRUE(git(durum.adres));
        EXPECT_EQ(gezintiler.basarili, durum.basarili);
        EXPECT_EQ(gezintiler.durum, durum.durum);
        EXPECT_EQ(adres(), durum.son_adres);
        if (durum.baslik != nullptr) {
            EXPECT_TRUE(baslik_olur(durum.baslik)) << baslik();
        }
    }

    // A missing page is the server's page, shown like any other.
    ASSERT_TRUE(git(korva_test::sunucu_adresi("/yok")));
    EXPECT_TRUE(baslik_olur("Bulunamadi")) << baslik();
    EXPECT_EQ(adres(), korva_test::sunucu_adresi("/yok"));
}

TEST_F(GercekSayfa, YavasSayfaBeklenirDurdurEskiSayfadaBirakir) {
    const std::string ana = korva_test::sunucu_adresi("/");
    const std::string yavas = korva_test::sunucu_adresi("/yavas");
    ASSERT_TRUE(git(ana));
    ASSERT_TRUE(baslik_olur("Ana Sayfa"));

    // Stopped while the server holds the page back: the old page stays.
    const int baslayan = gezintiler.baslayan, biten = gezintiler.biten;
    ASSERT_EQ(_tr_webgorunum_yukle(id, yavas.data(), static_cast<int64_t>(yavas.size())), 0);
    ASSERT_TRUE(pompala_kadar([&] { return gezintiler.baslayan > baslayan; }));
    bekleyenleri_isle();
    EXPECT_EQ(_tr_webgorunum_yuklenme_yuzdesi(id), 50);
    ASSERT_EQ(_tr_webgorunum_durdur(id), 0);
    ASSERT_TRUE(tamamlanmayi_bekle(biten));
    EXPECT_FALSE(gezintiler.basarili);
    EXPECT_EQ(gezintiler.durum, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED);
    EXPECT_EQ(adres(), ana);
    EXPECT_EQ(baslik(), "Ana Sayfa");

    // Left alone, it arrives.
    ASSERT_TRUE(git(yavas));
    EXPECT_TRUE(gezintiler.basarili);
    EXPECT_TRUE(baslik_olur("Yavas Sayfa")) << baslik();
    EXPECT_EQ(adres(), yavas);
}

// A server slower than the watch for pages that stop answering: the page is waited
// for, never taken for a hung one.
TEST_F(GercekSayfa, SunucusuYavasSayfaDonmusSayilmaz) {
    const std::string yavas = korva_test::sunucu_adresi("/yavas?sure=5");
    ASSERT_TRUE(git(korva_test::sunucu_adresi("/")));
    ASSERT_TRUE(git(yavas));
    EXPECT_TRUE(gezintiler.basarili);
    EXPECT_TRUE(baslik_olur("Yavas Sayfa")) << baslik();
    EXPECT_EQ(adres(), yavas);
    EXPECT_EQ(_tr_webgorunum_coktu_mu(id), 0);
}

TEST_F(GercekSayfa, YakinlastirmaSayfayiYenidenDizer) {
    ASSERT_TRUE(git(korva_test::sunucu_adresi("/ikinci.html")));
    const std::string olcu = "document.title = devicePixelRatio.toFixed(2) + ' ' + innerWidth";
    const auto olc = [&] {
        const std::string once = baslik();
        EXPECT_EQ(_tr_webgorunum_js_calistir(id, olcu.data(), static_cast<int64_t>(olcu.size())), 0);
        pompala_kadar([&] { return baslik() != once; });
        return baslik();
    };
    // The host window is 800 pixels wide.
    EXPECT_EQ(olc(), "1.00 800");
    ASSERT_EQ(_tr_webgorunum_yakinlastir(id), 0);
    ASSERT_EQ(_tr_webgorunum_yakinlastir(id), 0);
    // Two steps of a tenth: larger pixels, fewer of them across, the page laid out
    // again, as a browser's zoom does.
    const std::string yakin = olc();
    EXPECT_EQ(yakin.substr(0, 5), "1.20 ") << yakin;
    EXPECT_NEAR(std::atof(yakin.c_str() + 5), 800 / 1.2, 1.0) << yakin;
    ASSERT_EQ(_tr_webgorunum_yakinlik_sifirla(id), 0);
    EXPECT_EQ(olc(), "1.00 800");
}

namespace {

// Black stripes one device pixel wide on white across the page, drawn again at every
// size and zoom: every second pixel unzoomed, every third zoomed (so that a zoomed
// frame is told from the last unzoomed one). The title says the ratio and the
// width in device pixels.
const char CIZGILER[] = R"(<body style="margin:0"><canvas id="c"></canvas><script>
function ciz() {
  const c = document.getElementById('c'), r = devicePixelRatio, adim = r === 1 ? 2 : 3;
  // A width in CSS pixels that is a whole number of device pixels at 1 and 1.5.
  const w = Math.floor(innerWidth / 2) * 2;
  c.width = Math.round(w * r); c.height = Math.round(200 * r);
  c.style.width = w + 'px'; c.style.height = '200px';
  const x = c.getContext('2d');
  x.fillStyle = '#fff'; x.fillRect(0, 0, c.width, c.height);
  x.fillStyle = '#000'; for (let i = 0; i < c.width; i += adim) x.fillRect(i, 0, 1, c.height);
  document.title = 'ciz ' + r.toFixed(2) + ' ' + c.width;
}
ciz(); addEventListener('resize', ciz);
</script></body>)";

HWND sayfa_penceresi(int64_t id) {
    return GetWindow(_tr_arayuz_widget_al_hwnd(_tr_webgorunum_widget_id(id)), GW_CHILD);
}

int genislik(int64_t id) {
    RECT alan = {};
    GetClientRect(sayfa_penceresi(id), &alan);
    return alan.right;
}

// The pixels of one row of the view's picture, as the mean of their channels.
std::vector<int> satir(int64_t id, int y) {
    HWND sayfa = sayfa_penceresi(id);
    RECT alan;
    std::vector<int> sonuc;
    if (!sayfa || !GetClientRect(sayfa, &alan) || y >= alan.bottom) return sonuc;
    HDC ekran = GetDC(nullptr);
    HDC bellek = CreateCompatibleDC(ekran);
    HBITMAP resim = CreateCompatibleBitmap(ekran, alan.right, alan.bottom);
    HGDIOBJ eski = SelectObject(bellek, resim);
    SendMessageW(sayfa, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(bellek), PRF_CLIENT);
    for (int x = 0; x < alan.right; ++x) {
        const COLORREF c = GetPixel(bellek, x, y);
        sonuc.push_back((GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3);
    }
    SelectObject(bellek, eski);
    DeleteObject(resim);
    DeleteDC(bellek);
    ReleaseDC(nullptr, ekran);
    return sonuc;
}

// The row as text for a failure's message: '#' for a dark pixel, '.' for a light one.
std::string desen(const std::vector<int>& pikseller) {
    std::string metin;
    for (int deger : pikseller) metin += deger < 128 ? '#' : '.';
    return metin;
}

// How well one row of the view's picture, from `bas` to `son`, shows dark stripes
// every `adim` pixels: the share of its pixels that are dark as the pixel `adim`
// further on is, 0 when about one pixel in `adim` is not dark. About 1 for the
// stripes drawn at the view's own resolution (a column may slip where the page's
// width in CSS pixels is not whole), far less for a picture stretched from fewer
// pixels, or for the other stripes.
double keskinlik(int64_t id, int y, int bas, int son, int adim) {
    const std::vector<int> pikseller = satir(id, y);
    if (son > static_cast<int>(pikseller.size()) || son - bas <= adim) return 0;
    const size_t n = son - bas - adim;
    size_t koyular = 0, tutanlar = 0;
    for (size_t i = bas; i < bas + n; ++i) {
        koyular += pikseller[i] < 128;
        tutanlar += (pikseller[i] < 128) == (pikseller[i + adim] < 128);
    }
    const double pay = static_cast<double>(koyular) * adim / n;
    return pay < 0.8 || pay > 1.2 ? 0 : static_cast<double>(tutanlar) / n;
}

}  // namespace

// The picture always has the view's device pixels: at first, zoomed (as sharp as
// unzoomed), and after the window grows.
TEST_F(GercekSayfa, KareHerBoyuttaCihazPikselinde) {
    const int64_t pencere = pencerede_goster("Kare", 4, 900, 700);
    const int once = genislik(id);
    const auto keskin = [&](int y, int bas, int adim) {
        return pompala_kadar([&] { return keskinlik(id, y, bas, genislik(id) - 10, adim) > 0.9; });
    };
    ASSERT_EQ(_tr_webgorunum_html_yukle(id, CIZGILER, static_cast<int64_t>(sizeof CIZGILER - 1)), 0);
    ASSERT_TRUE(baslik_olur("ciz 1.00 " + std::to_string(once / 2 * 2)));
    EXPECT_TRUE(keskin(100, 10, 2)) << baslik() << "\n" << desen(satir(id, 100));

    ASSERT_EQ(_tr_webgorunum_yakinlastir(id), 0);
    ASSERT_TRUE(pompala_kadar([&] { return baslik().rfind("ciz 1.10 ", 0) == 0; })) << baslik();
    EXPECT_TRUE(keskin(150, 10, 3)) << baslik() << "\n" << desen(satir(id, 150));

    ASSERT_EQ(_tr_webgorunum_yakinlik_sifirla(id), 0);
    ASSERT_EQ(_tr_pencere_boyut_ayarla(pencere, 1400, 900), 0);
    ASSERT_TRUE(pompala_kadar([&] { return genislik(id) > once; }));
    ASSERT_TRUE(baslik_olur("ciz 1.00 " + std::to_string(genislik(id) / 2 * 2)));
    EXPECT_TRUE(keskin(100, once, 2)) << baslik() << "\n" << desen(satir(id, 100));
    _tr_pencere_gizle(pencere);
}

namespace {

// Black vertical lines of one CSS pixel (borders, which the engine puts on whole
// device pixels) every 10 CSS pixels, 300 CSS pixels high, on white.
const char IZGARA[] = R"(<body style="margin:0;background:#fff"><script>
for (let i = 0; i < 400; ++i) {
  const d = document.createElement('div');
  d.style.cssText = 'position:absolute;top:0;height:300px;width:0;border-left:1px solid #000;left:' + i * 10 + 'px';
  document.body.appendChild(d);
}
document.title = 'izgara ' + devicePixelRatio.toFixed(2);
</script></body>)";

// Whether the row shows the lines as the engine drew them, one engine pixel per
// screen pixel: each line one near-black pixel, `adim` pixels apart (11 for 10 CSS
// pixels at 1.1), none grey, across the whole row. A frame stretched or shrunk by a
// fraction of a pixel greys some lines or moves one a pixel off the pattern.
bool izgara_keskin(const std::vector<int>& pikseller, int adim = 11) {
    int ilk = -1, siyah = 0;
    for (size_t x = 0; x < pikseller.size(); ++x) {
        const int deger = pikseller[x];
        if (deger > 192) continue;
        if (deger >= 64) return false;
        if (ilk < 0) ilk = static_cast<int>(x);
        if ((static_cast<int>(x) - ilk) % adim != 0) return false;
        ++siyah;
    }
    return siyah >= static_cast<int>(pikseller.size()) / adim - 1;
}

}  // namespace

// At a zoom where the view's width is no whole number of CSS pixels, the picture
// still has one engine pixel per screen pixel: 1-pixel lines stay black to the right
// edge (the JPEG frames leave them near black, never grey), none blurred by a frame
// stretched or shrunk by a fraction of a pixel.
TEST_F(GercekSayfa, YakinliktaIncecizgilerSiyahKalir) {
    const int64_t pencere = pencerede_goster("Izgara", 6, 900, 700);
    ASSERT_EQ(_tr_webgorunum_yakinlik_ayarla(id, 110), 0);
    ASSERT_EQ(_tr_webgorunum_html_yukle(id, IZGARA, static_cast<int64_t>(sizeof IZGARA - 1)), 0);
    ASSERT_TRUE(baslik_olur("izgara 1.10")) << baslik();
    ASSERT_NE(genislik(id) * 10 % 11, 0) << genislik(id);
    std::vector<int> pikseller;
    const auto koyular = [&] {
        std::string koyu;
        for (size_t x = 0; x < pikseller.size(); ++x)
            if (pikseller[x] <= 192) koyu += " " + std::to_string(x) + ":" + std::to_string(pikseller[x]);
        return koyu;
    };
    EXPECT_TRUE(pompala_kadar([&] {
        pikseller = satir(id, 150);
        return izgara_keskin(pikseller);
    })) << koyular();
    // And it stays so once the engine's frames for the zoom have all come (a frame on
    // its way may still be one of the first, right size).
    for (int tur = 0; tur < 5; ++tur) bekleyenleri_isle();
    pikseller = satir(id, 150);
    EXPECT_TRUE(izgara_keskin(pikseller)) << koyular();
    _tr_pencere_gizle(pencere);
}

// The pointer's shape follows the page under it: a hand over the link, an I-beam
// over the paragraph's letters, the arrow beside them (the /metin page's places).
TEST_F(GercekSayfa, ImlecSayfayiIzler) {
    const int64_t pencere = pencerede_goster("Imlec", 5, 1000, 600);
    ASSERT_TRUE(git(korva_test::sunucu_adresi("/metin")));
    const HWND sayfa = FindWindowExW(gorunum_bul(id)->hwnd, nullptr, L"KorvaChromiumSayfa", nullptr);
    ASSERT_NE(sayfa, nullptr);
    // The cursor the page window shows once the pointer moved to (x, y).
    const auto imlec_olur = [&](int x, int y, LPCWSTR beklenen) {
        PostMessageW(sayfa, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        return pompala_kadar([&] {
            SendMessageW(sayfa, WM_SETCURSOR, reinterpret_cast<WPARAM>(sayfa), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            return GetCursor() == LoadCursorW(nullptr, beklenen);
        });
    };
    EXPECT_TRUE(imlec_olur(20, 215, IDC_HAND));
    EXPECT_TRUE(imlec_olur(10, 115, IDC_IBEAM));
    EXPECT_TRUE(imlec_olur(900, 400, IDC_ARROW));
    EXPECT_TRUE(imlec_olur(30, 215, IDC_HAND));
    _tr_pencere_gizle(pencere);
}

namespace {

// Context menus seen on screen (and closed at once), counted by a thread timer
// that runs inside the menu's own loop too.
int g_acilan_menuler = 0;
void CALLBACK menuyu_kapat(HWND, UINT, UINT_PTR, DWORD) {
    const HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu != nullptr && IsWindowVisible(menu)) {
        ++g_acilan_menuler;
        EndMenu();
    }
}

}  // namespace

// A right click opens the context menu unless the page takes the event over, or
// the host turned the default menus off; the page sees its event either way.
TEST_F(GercekSayfa, BaglamMenusuSayfayaVeAyaraUyar) {
    const int64_t pencere = pencerede_goster("Menu", 4, 1000, 600);
    ASSERT_TRUE(git(korva_test::sunucu_adresi("/metin")));
    const HWND sayfa = FindWindowExW(gorunum_bul(id)->hwnd, nullptr, L"KorvaChromiumSayfa", nullptr);
    ASSERT_NE(sayfa, nullptr);
    const std::string dinle =
        "window.sag = 0; addEventListener('contextmenu', (e) => {"
        " document.title = 'sag ' + (++window.sag); if (window.engelle) e.preventDefault(); });"
        "document.title = 'dinliyor'";
    ASSERT_EQ(_tr_webgorunum_js_calistir(id, dinle.data(), static_cast<int64_t>(dinle.size())), 0);
    ASSERT_TRUE(baslik_olur("dinliyor"));
    const UINT_PTR zamanlayici = SetTimer(nullptr, 0, 50, menuyu_kapat);
    g_acilan_menuler = 0;
    // A right click on the paragraph; the menu's report follows the page's event
    // within a second.
    int tiklama = 0;
    const auto sag_tikla = [&] {
        PostMessageW(sayfa, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 115));
        PostMessageW(sayfa, WM_RBUTTONUP, 0, MAKELPARAM(10, 115));
        EXPECT_TRUE(baslik_olur("sag " + std::to_string(++tiklama)));
        const DWORD son = GetTickCount() + 1000;
        pompala_kadar([&] { return g_acilan_menuler > 0 || GetTickCount() > son; });
    };
    sag_tikla();
    EXPECT_EQ(g_acilan_menuler, 1);

    Microsoft::WRL::ComPtr<ICoreWebView2Settings> ayarlar;
    ASSERT_EQ(gorunum->get_Settings(&ayarlar), S_OK);
    ASSERT_EQ(ayarlar->put_AreDefaultContextMenusEnabled(FALSE), S_OK);
    g_acilan_menuler = 0;
    sag_tikla();
    EXPECT_EQ(g_acilan_menuler, 0);

    ASSERT_EQ(ayarlar->put_AreDefaultContextMenusEnabled(TRUE), S_OK);
    const std::string engelle = "window.engelle = true; document.title = 'engelliyor'";
    ASSERT_EQ(_tr_webgorunum_js_calistir(id, engelle.data(), static_cast<int64_t>(engelle.size())), 0);
    ASSERT_TRUE(baslik_olur("engelliyor"));
    sag_tikla();
    EXPECT_EQ(g_acilan_menuler, 0);
    KillTimer(nullptr, zamanlayici);
    _tr_pencere_gizle(pencere);
}

// A sign-in popup a click opens gets the web view made for its request: the page
// that opened it is its window.opener (it hears the popup's message), the popup has
// one entry of history, and its window.close() is let through. A view with no
// request waiting gets none; one made for something else while the popup waits
// (it starts without a page of its own) still loads what it is given.
TEST_F(GercekSayfa, TiklananGirisPenceresiAcanaYazarVeKendiniKapatir) {
    const int64_t pencere = pencerede_goster("Giris", 5, 1000, 600);
    ASSERT_TRUE(git(korva_test::sunucu_adresi("/giris")));
    EXPECT_EQ(_tr_webgorunum_yeni_pencere_olustur(id), -1);
    const HWND sayfa = FindWindowExW(gorunum_bul(id)->hwnd, nullptr, L"KorvaChromiumSayfa", nullptr);
    ASSERT_NE(sayfa, nullptr);
    PostMessageW(sayfa, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    PostMessageW(sayfa, WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
    bool istendi = false;
    ASSERT_TRUE(pompala_kadar([&] { return istendi = istendi || _tr_webgorunum_yeni_pencere_istendi_mi(id) == 1; }));
    EXPECT_EQ(metin_al_birak(_tr_webgorunum_yeni_pencere_adresi_al(id)), korva_test::sunucu_adresi("/giris-penceresi"));
    const int64_t baska = _tr_webgorunum_olustur();
    ASSERT_GE(baska, 0);
    const char baska_sayfa[] = "<title>Baska</title>";
    ASSERT_EQ(_tr_webgorunum_html_yukle(baska, baska_sayfa, static_cast<int64_t>(strlen(baska_sayfa))), 0);
    const int64_t acilan = _tr_webgorunum_yeni_pencere_olustur(id);
    ASSERT_GE(acilan, 0);
    EXPECT_EQ(_tr_webgorunum_yeni_pencere_olustur(id), -1) << "one request made two views";
    bool kapatma = false;
    EXPECT_TRUE(pompala_kadar([&] { return kapatma = kapatma || _tr_webgorunum_kapatma_istendi_mi(acilan) == 1; }));
    EXPECT_TRUE(baslik_olur("Giris: tamam 1"));
    EXPECT_TRUE(pompala_kadar([&] { return metin_al_birak(_tr_webgorunum_baslik_al(baska)) == "Baska"; }));
    EXPECT_EQ(_tr_webgorunum_kapat(acilan), 0);
    EXPECT_EQ(_tr_webgorunum_kapat(baska), 0);
    _tr_pencere_gizle(pencere);
}

namespace {

// The screen's DPI of this process (Wine reads one for the whole process as it starts).
int sistem_dpisi() {
    HDC ekran = GetDC(nullptr);
    const int dpi = GetDeviceCaps(ekran, LOGPIXELSX);
    ReleaseDC(nullptr, ekran);
    return dpi;
}

// A 60 by 40 box at 400, 200 in CSS pixels whose click names where it landed.
const char KUTU[] = R"(<body style="margin:0"><div id="k" style="position:absolute;left:400px;top:200px;
width:60px;height:40px;background:#08f"></div><script>
document.getElementById('k').addEventListener('click', (e) => { document.title = 'tik ' + e.clientX + ' ' + e.clientY; });
document.title = 'kutu';
</script></body>)";

}  // namespace

// On a screen of 150% (the webview_144_chromium run) the page renders at 1.5 device
// pixels per CSS pixel, 1.65 at 110% zoom, laid out for the view's width in those
// pixels; a grid of 1-pixel borders shows as black lines of one pixel, none grey;
// and a click lands where the user clicked.
TEST_F(GercekSayfa, Dpi144SayfaKeskinVeTiklamaYerinde) {
    if (sistem_dpisi() != 144) GTEST_SKIP() << "needs a screen of 144 DPI (the webview_144_chromium run)";
    const int64_t pencere = pencerede_goster("Olcek", 5, 900, 700);
    const std::string olcu = "document.title = 'oran ' + devicePixelRatio.toFixed(2) + ' ' + innerWidth";
    const auto olc = [&] {
        const std::string once = baslik();
        EXPECT_EQ(_tr_webgorunum_js_calistir(id, olcu.data(), static_cast<int64_t>(olcu.size())), 0);
        pompala_kadar([&] { return baslik() != once; });
        return baslik();
    };
    ASSERT_EQ(_tr_webgorunum_html_yukle(id, IZGARA, static_cast<int64_t>(sizeof IZGARA - 1)), 0);
    ASSERT_TRUE(baslik_olur("izgara 1.50")) << baslik();
    // The CSS width is the view's pixels over the ratio, a CSS pixel more where they
    // do not divide (the frame is cut, never stretched).
    const int css = static_cast<int>(std::ceil(genislik(id) / 1.5 - 1e-6));
    EXPECT_EQ(olc(), "oran 1.50 " + std::to_string(css));

    // 10 CSS pixels are 15 screen pixels.
    std::vector<int> pikseller;
    EXPECT_TRUE(pompala_kadar([&] {
        pikseller = satir(id, 150);
        return izgara_keskin(pikseller, 15);
    })) << desen(pikseller);

    ASSERT_EQ(_tr_webgorunum_yakinlik_ayarla(id, 110), 0);
    EXPECT_TRUE(pompala_kadar([&] { return olc().rfind("oran 1.65 ", 0) == 0; })) << baslik();
    ASSERT_EQ(_tr_webgorunum_yakinlik_sifirla(id), 0);

    ASSERT_EQ(_tr_webgorunum_html_yukle(id, KUTU, static_cast<int64_t>(sizeof KUTU - 1)), 0);
    ASSERT_TRUE(baslik_olur("kutu")) << baslik();
    ASSERT_TRUE(pompala_kadar([&] { return olc().rfind("oran 1.50 ", 0) == 0; })) << baslik();
    // The box's middle, 430, 220 CSS pixels, in the page window's pixels.
    const HWND sayfa = FindWindowExW(gorunum_bul(id)->hwnd, nullptr, L"KorvaChromiumSayfa", nullptr);
    ASSERT_NE(sayfa, nullptr);
    PostMessageW(sayfa, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(645, 330));
    PostMessageW(sayfa, WM_LBUTTONUP, 0, MAKELPARAM(645, 330));
    EXPECT_TRUE(baslik_olur("tik 430 220")) << baslik();
    _tr_pencere_gizle(pencere);
}

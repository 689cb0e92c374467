// A page's new window given a view of the host's: NewWindow set and read back under
// a deferral, which views the request refuses, and the view given loading the page.
#include "motor_yardim.h"

namespace {

class YeniPencere : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(motor().dll) << "WebView2Loader.dll did not load";
        ortam = ortam_al();
        ASSERT_TRUE(ortam);
        acan.kur(ortam.Get());
        taze.kur(ortam.Get());
        gezmis.kur(ortam.Get());
    }
    void TearDown() override
    {
        for (IzlenenGorunum* v : {&acan, &taze, &gezmis})
            if (v->denetleyici)
                v->denetleyici->Close();
    }

    ComPtr<ICoreWebView2Environment> ortam;
    IzlenenGorunum acan, taze, gezmis;
};

TEST_F(YeniPencere, AFreshViewTakesTheRequestOnceAndLoadsItsAddress)
{
    ASSERT_EQ(S_OK, acan.html(L"<title>acan</title>"));
    ASSERT_EQ(S_OK, gezmis.html(L"<title>gezmis</title>"));
    ComPtr<ICoreWebView2NewWindowRequestedEventArgs> istek;
    ComPtr<ICoreWebView2Deferral> erteleme;
    EventRegistrationToken belirtec = {};
    acan.gorunum->add_NewWindowRequested(
        isleyici<ICoreWebView2NewWindowRequestedEventHandler>([&](intptr_t, intptr_t a) {
            istek = reinterpret_cast<ICoreWebView2NewWindowRequestedEventArgs*>(a);
            EXPECT_EQ(S_OK, istek->GetDeferral(&erteleme));
        }).Get(),
        &belirtec);
    ASSERT_EQ(S_OK, acan.gorunum->ExecuteScript(L"window.open('https://example.com/giris')", nullptr));
    ASSERT_TRUE(pompala([&] { return istek != nullptr; }));
    ASSERT_TRUE(erteleme);

    // Deferred: nothing is decided until the host says so.
    kuyrugu_bosalt();
    EXPECT_EQ("acan", acan.baslik());
    EXPECT_EQ(0, taze.tamamlanan);

    const HRESULT GECERSIZ_DURUM = HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
    EXPECT_EQ(E_INVALIDARG, istek->put_NewWindow(nullptr));
    EXPECT_EQ(GECERSIZ_DURUM, istek->put_NewWindow(gezmis.gorunum.Get())) << "a view that navigated was taken";
    ComPtr<ICoreWebView2> verilen;
    ASSERT_EQ(S_OK, istek->get_NewWindow(&verilen));
    EXPECT_FALSE(verilen);

    ASSERT_EQ(S_OK, istek->put_NewWindow(taze.gorunum.Get()));
    ASSERT_EQ(S_OK, istek->get_NewWindow(&verilen));
    EXPECT_EQ(taze.gorunum.Get(), verilen.Get());
    EXPECT_EQ(GECERSIZ_DURUM, istek->put_NewWindow(taze.gorunum.Get())) << "NewWindow was set twice";
    ASSERT_EQ(S_OK, erteleme->Complete());

    taze.tamamlanmayi_bekle(0);
    EXPECT_EQ("https://example.com/giris", taze.adres());
    EXPECT_EQ("acan", acan.baslik()) << "the opener followed the link itself";
    EXPECT_EQ(GECERSIZ_DURUM, istek->put_NewWindow(gezmis.gorunum.Get())) << "a decided request took a view";
}

// A view given to one request is spoken for: a second request refuses it, before it
// has loaded anything as after.
TEST_F(YeniPencere, AViewGivenOnceIsRefusedByTheNextRequest)
{
    ASSERT_EQ(S_OK, acan.html(L"<title>acan</title>"));
    std::vector<ComPtr<ICoreWebView2NewWindowRequestedEventArgs>> istekler;
    std::vector<HRESULT> sonuclar;
    EventRegistrationToken belirtec = {};
    acan.gorunum->add_NewWindowRequested(
        isleyici<ICoreWebView2NewWindowRequestedEventHandler>([&](intptr_t, intptr_t a) {
            auto* istek = reinterpret_cast<ICoreWebView2NewWindowRequestedEventArgs*>(a);
            istekler.emplace_back(istek);
            sonuclar.push_back(istek->put_NewWindow(taze.gorunum.Get()));
        }).Get(),
        &belirtec);
    ASSERT_EQ(S_OK, acan.gorunum->ExecuteScript(L"window.open('https://example.com/bir')", nullptr));
    ASSERT_EQ(S_OK, acan.gorunum->ExecuteScript(L"window.open('https://example.com/iki')", nullptr));
    ASSERT_TRUE(pompala([&] { return sonuclar.size() == 2; }));
    EXPECT_EQ(S_OK, sonuclar[0]);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INVALID_STATE), sonuclar[1]);
    taze.tamamlanmayi_bekle(0);
    EXPECT_EQ("https://example.com/bir", taze.adres());
}

}  // namespace

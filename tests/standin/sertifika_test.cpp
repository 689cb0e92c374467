// A host's view of the stand-in engine's servers with a bad certificate: what the
// event says, the three decisions, a deferral that holds the navigation, and the
// hosts let pass forgotten when the host clears them.
#include "motor_yardim.h"

namespace {

// What the test's handler saw, and what it answers.
struct Sorular {
    int sayi = 0;
    COREWEBVIEW2_WEB_ERROR_STATUS durum = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
    COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION ilk_eylem = COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_ALWAYS_ALLOW;
    std::string adres, konu;
    HRESULT gecersiz_eylem = S_OK;
    COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION yanit = COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_DEFAULT;
    bool ertele = false;
    ComPtr<ICoreWebView2Deferral> erteleme;
};

class Sertifika : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(motor().dll) << "WebView2Loader.dll did not load";
        ortam = ortam_al();
        ASSERT_TRUE(ortam);
        v.kur(ortam.Get());
        ASSERT_EQ(S_OK, v.gorunum.As(&gorunum14));
        EventRegistrationToken jeton;
        ASSERT_EQ(S_OK, gorunum14->add_ServerCertificateErrorDetected(
                            isleyici<ICoreWebView2ServerCertificateErrorDetectedEventHandler>(
                                [this](intptr_t, intptr_t a) { sor(reinterpret_cast<
                                    ICoreWebView2ServerCertificateErrorDetectedEventArgs*>(a)); })
                                .Get(),
                            &jeton));
    }
    void TearDown() override
    {
        // The hosts let pass are the engine's, not the view's: the next test starts clean.
        if (gorunum14)
            temizle();
        if (v.denetleyici)
            v.denetleyici->Close();
        DestroyWindow(v.ebeveyn);
    }

    void sor(ICoreWebView2ServerCertificateErrorDetectedEventArgs* arguman)
    {
        ++s.sayi;
        arguman->get_ErrorStatus(&s.durum);
        arguman->get_Action(&s.ilk_eylem);
        LPWSTR adres = nullptr;
        arguman->get_RequestUri(&adres);
        s.adres = al_ve_birak(adres);
        ComPtr<ICoreWebView2Certificate> sertifika;
        if (SUCCEEDED(arguman->get_ServerCertificate(&sertifika)) && sertifika) {
            LPWSTR konu = nullptr;
            sertifika->get_Subject(&konu);
            s.konu = al_ve_birak(konu);
        }
        s.gecersiz_eylem = arguman->put_Action(static_cast<COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION>(7));
        arguman->put_Action(s.yanit);
        if (s.ertele)
            arguman->GetDeferral(&s.erteleme);
    }

    void temizle()
    {
        HRESULT sonuc = E_PENDING;
        ASSERT_EQ(S_OK, gorunum14->ClearServerCertificateErrorActions(
                            isleyici<ICoreWebView2ClearServerCertificateErrorActionsCompletedHandler>(
                                [&sonuc](intptr_t kod, intptr_t) { sonuc = static_cast<HRESULT>(kod); })
                                .Get()));
        EXPECT_TRUE(pompala([&] { return sonuc != E_PENDING; }));
        EXPECT_EQ(S_OK, sonuc);
    }

    ComPtr<ICoreWebView2Environment> ortam;
    IzlenenGorunum v;
    ComPtr<ICoreWebView2_14> gorunum14;
    Sorular s;
};

}  // namespace

TEST_F(Sertifika, TheEventNamesTheServerAndDefaultShowsTheEnginesWarning)
{
    ASSERT_EQ(S_OK, v.git(L"https://suresi-gecmis.kotu-sertifika.test:8443/a?b"));
    EXPECT_EQ(1, s.sayi);
    EXPECT_EQ(COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_EXPIRED, s.durum);
    EXPECT_EQ(COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_DEFAULT, s.ilk_eylem);
    EXPECT_EQ("https://suresi-gecmis.kotu-sertifika.test:8443/a?b", s.adres);
    EXPECT_EQ("suresi-gecmis.kotu-sertifika.test", s.konu);
    EXPECT_EQ(E_INVALIDARG, s.gecersiz_eylem);
    EXPECT_FALSE(v.son_basari);
    EXPECT_EQ(COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_EXPIRED, v.son_durum);
    EXPECT_NE(std::string::npos, v.ekran().find("CERT_INVALID")) << v.ekran();

    // The status by the server's name; other hosts, and http, are no such servers.
    const struct { const wchar_t* adres; COREWEBVIEW2_WEB_ERROR_STATUS durum; } SUNUCULAR[] = {
        {L"https://ad-uyusmuyor.kotu-sertifika.test/", COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_COMMON_NAME_IS_INCORRECT},
        {L"https://iptal.kotu-sertifika.test/", COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_REVOKED},
        {L"https://KOTU-sertifika.test/", COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID},
        {L"https://baska-kotu-sertifika.test/", COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED},
        {L"http://kotu-sertifika.test/", COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED},
    };
    for (const auto& sunucu : SUNUCULAR) {
        ASSERT_EQ(S_OK, v.git(sunucu.adres));
        EXPECT_EQ(sunucu.durum, v.son_durum) << utf8(sunucu.adres);
    }
    EXPECT_EQ(4, s.sayi);
}

TEST_F(Sertifika, CancelEndsTheNavigationWhereTheHostWas)
{
    ASSERT_EQ(S_OK, v.html(L"<title>ilk</title>burada"));
    s.yanit = COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_CANCEL;
    v.olaylar.clear();
    ASSERT_EQ(S_OK, v.git(L"https://kotu-sertifika.test/"));
    EXPECT_EQ((std::vector<std::string>{"NavigationStarting", "NavigationCompleted"}), v.olaylar);
    EXPECT_FALSE(v.son_basari);
    EXPECT_EQ(COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID, v.son_durum);
    EXPECT_EQ("ilk", v.baslik());
    EXPECT_EQ("about:blank", v.adres());
}

TEST_F(Sertifika, AlwaysAllowLoadsThePageAndIsRememberedForTheHostUntilCleared)
{
    s.yanit = COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_ALWAYS_ALLOW;
    ASSERT_EQ(S_OK, v.git(L"https://kotu-sertifika.test/"));
    EXPECT_TRUE(v.son_basari);
    EXPECT_EQ("https://kotu-sertifika.test/", v.adres());
    EXPECT_EQ("Sertifikas\xC4\xB1 do\xC4\x9Frulanamayan sunucu", v.baslik());

    // The same host again, in another case and path: not asked. Another host is.
    s.yanit = COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_CANCEL;
    ASSERT_EQ(S_OK, v.git(L"https://Kotu-Sertifika.test/baska"));
    EXPECT_EQ(1, s.sayi);
    EXPECT_TRUE(v.son_basari);
    ASSERT_EQ(S_OK, v.git(L"https://iptal.kotu-sertifika.test/"));
    EXPECT_EQ(2, s.sayi);
    EXPECT_FALSE(v.son_basari);

    // Cleared: asked again, and this time refused.
    temizle();
    ASSERT_EQ(S_OK, v.git(L"https://kotu-sertifika.test/"));
    EXPECT_EQ(3, s.sayi);
    EXPECT_FALSE(v.son_basari);
    EXPECT_EQ(COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID, v.son_durum);
}

TEST_F(Sertifika, ADeferralHoldsTheNavigationUntilItCompletes)
{
    s.ertele = true;
    s.yanit = COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_ALWAYS_ALLOW;
    int onceki = v.tamamlanan;
    ASSERT_EQ(S_OK, v.gorunum->Navigate(L"https://kotu-sertifika.test/bekle"));
    ASSERT_TRUE(pompala([&] { return s.erteleme != nullptr; }));
    kuyrugu_bosalt();
    kuyrugu_bosalt();
    EXPECT_EQ(onceki, v.tamamlanan) << "the navigation went on before the host decided";
    ASSERT_EQ(S_OK, s.erteleme->Complete());
    v.tamamlanmayi_bekle(onceki);
    EXPECT_TRUE(v.son_basari);
    EXPECT_EQ("https://kotu-sertifika.test/bekle", v.adres());
}

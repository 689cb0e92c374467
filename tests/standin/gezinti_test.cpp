// A host's view of the stand-in engine: the order of a navigation's events, history,
// titles, the kinds of address, refusals, zoom, scripts, the page window, Close and
// the call log.
#include "motor_yardim.h"

#include <algorithm>

namespace {

class Gezinti : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(motor().dll) << "WebView2Loader.dll did not load";
        ortam = ortam_al();
        ASSERT_TRUE(ortam);
        v.kur(ortam.Get());
    }
    void TearDown() override
    {
        if (v.denetleyici)
            v.denetleyici->Close();
        DestroyWindow(v.ebeveyn);
    }
    ComPtr<ICoreWebView2Environment> ortam;
    IzlenenGorunum v;
};

std::vector<std::string> YENI_BELGE_SIRASI = {"NavigationStarting", "SourceChanged", "ContentLoading",
                                               "HistoryChanged", "DocumentTitleChanged", "NavigationCompleted"};

bool iceriyor(const std::string& metin, const std::string& parca)
{
    return metin.find(parca) != std::string::npos;
}

std::wstring gecici_dosya(const wchar_t* ad, const char* icerik)
{
    wchar_t klasor[MAX_PATH];
    GetTempPathW(MAX_PATH, klasor);
    std::wstring yol = std::wstring(klasor) + ad;
    HANDLE dosya = CreateFileW(yol.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD yazilan = 0;
    WriteFile(dosya, icerik, static_cast<DWORD>(strlen(icerik)), &yazilan, nullptr);
    CloseHandle(dosya);
    return yol;
}

std::wstring dosya_adresi(std::wstring yol)
{
    std::replace(yol.begin(), yol.end(), L'\\', L'/');
    return L"file:///" + yol;
}

}  // namespace

TEST_F(Gezinti, EventsArriveFromTheMessageLoopInTheEnginesOrder)
{
    ASSERT_EQ(S_OK, v.gorunum->NavigateToString(L"<title>Bir</title>merhaba"));
    EXPECT_TRUE(v.olaylar.empty()) << "an event was raised inside the call";
    v.tamamlanmayi_bekle(0);
    EXPECT_EQ(YENI_BELGE_SIRASI, v.olaylar);
    EXPECT_TRUE(v.son_basari);
    ASSERT_EQ(1u, v.baslama_kimlikleri.size());
    EXPECT_EQ(v.baslama_kimlikleri[0], v.son_kimlik);
    EXPECT_FALSE(v.kullanici_baslatti[0]);

    // A reload repeats the entry: no SourceChanged, and the title did not change.
    v.olaylar.clear();
    ASSERT_EQ(S_OK, v.gorunum->Reload());
    v.tamamlanmayi_bekle(1);
    EXPECT_EQ((std::vector<std::string>{"NavigationStarting", "ContentLoading", "HistoryChanged",
                                        "NavigationCompleted"}),
              v.olaylar);
    EXPECT_NE(v.baslama_kimlikleri[0], v.son_kimlik);
    EXPECT_EQ("Bir", v.baslik());
    BOOL geri = TRUE;
    v.gorunum->get_CanGoBack(&geri);
    EXPECT_FALSE(geri) << "a reload made a history entry";
}

TEST_F(Gezinti, HistoryGoesBackAndForwardAndANewNavigationClearsTheForwardStack)
{
    BOOL geri = TRUE, ileri = TRUE;
    ASSERT_EQ(S_OK, v.gorunum->GoBack());   // nothing to go back to: nothing happens
    ASSERT_EQ(S_OK, v.html(L"<title>A</title>a"));
    EXPECT_EQ(1u, v.baslama_kimlikleri.size());
    ASSERT_EQ(S_OK, v.git(L"data:text/html,<title>B</title>b"));
    ASSERT_EQ(S_OK, v.git(L"data:text/html,<title>C</title>c"));
    v.gorunum->get_CanGoBack(&geri);
    v.gorunum->get_CanGoForward(&ileri);
    EXPECT_TRUE(geri);
    EXPECT_FALSE(ileri);

    int onceki = v.tamamlanan;
    ASSERT_EQ(S_OK, v.gorunum->GoBack());
    v.tamamlanmayi_bekle(onceki);
    EXPECT_EQ("B", v.baslik());
    EXPECT_EQ("data:text/html,<title>B</title>b", v.adres());
    onceki = v.tamamlanan;
    ASSERT_EQ(S_OK, v.gorunum->GoBack());
    v.tamamlanmayi_bekle(onceki);
    // The entry made from a string shows its document again, title included.
    EXPECT_EQ("A", v.baslik());
    EXPECT_EQ("about:blank", v.adres());
    v.gorunum->get_CanGoBack(&geri);
    v.gorunum->get_CanGoForward(&ileri);
    EXPECT_FALSE(geri);
    EXPECT_TRUE(ileri);

    onceki = v.tamamlanan;
    ASSERT_EQ(S_OK, v.gorunum->GoForward());
    v.tamamlanmayi_bekle(onceki);
    EXPECT_EQ("B", v.baslik());
    ASSERT_EQ(S_OK, v.git(L"data:text/html,<title>D</title>d"));
    v.gorunum->get_CanGoForward(&ileri);
    EXPECT_FALSE(ileri) << "a new navigation kept the forward stack";
    onceki = v.tamamlanan;
    ASSERT_EQ(S_OK, v.gorunum->GoBack());
    v.tamamlanmayi_bekle(onceki);
    EXPECT_EQ("B", v.baslik());
}

TEST_F(Gezinti, TitlesComeFromTheTitleElementOrElseTheAddress)
{
    ASSERT_EQ(S_OK, v.html(L"<html><head><title>  Tom &amp;\n  Jerry &lt;3 &quot;x&quot; &#39;y&#39; </title>"
                           L"</head><body>b</body></html>"));
    EXPECT_EQ("Tom & Jerry <3 \"x\" 'y'", v.baslik());
    ASSERT_EQ(S_OK, v.html(L"<p>no title</p>"));
    EXPECT_EQ("about:blank", v.baslik());
    ASSERT_EQ(S_OK, v.git(L"data:text/html,<title> </title>empty"));
    EXPECT_EQ("data:text/html,<title> </title>empty", v.baslik());

    // A title the same as before raises no DocumentTitleChanged.
    ASSERT_EQ(S_OK, v.html(L"<title>Same</title>1"));
    v.olaylar.clear();
    ASSERT_EQ(S_OK, v.html(L"<title>Same</title>2"));
    EXPECT_EQ(0, std::count(v.olaylar.begin(), v.olaylar.end(), "DocumentTitleChanged"));
}

TEST_F(Gezinti, FileAndDataAddressesShowTheirContent)
{
    std::wstring html = gecici_dosya(L"korva standin sayfa.html",
                                     "<title>Dosya</title><p>ilk paragraf</p><script>gizli()</script>ikinci");
    std::wstring adres = dosya_adresi(html);
    ASSERT_EQ(S_OK, v.git(adres.c_str()));
    EXPECT_TRUE(v.son_basari);
    EXPECT_EQ("Dosya", v.baslik());
    EXPECT_EQ(utf8(adres.c_str()), v.adres());
    std::string ekran = v.ekran();
    EXPECT_TRUE(iceriyor(ekran, "ilk paragraf\nikinci")) << ekran;
    EXPECT_FALSE(iceriyor(ekran, "gizli")) << ekran;

    std::wstring metin = gecici_dosya(L"korva_standin_metin.txt", "<b>not html</b>\nline two");
    std::wstring metin_adresi = dosya_adresi(metin);
    ASSERT_EQ(S_OK, v.git(metin_adresi.c_str()));
    EXPECT_TRUE(iceriyor(v.ekran(), "<b>not html</b>\nline two")) << v.ekran();
    EXPECT_EQ(utf8(metin_adresi.c_str()), v.baslik());

    ASSERT_EQ(S_OK, v.git(L"data:text/html,%3Ctitle%3EVeri%20%C3%A7%3C%2Ftitle%3Egovde"));
    EXPECT_EQ("Veri \xC3\xA7", v.baslik());
    EXPECT_TRUE(iceriyor(v.ekran(), "govde"));
    ASSERT_EQ(S_OK, v.git(L"data:text/html;base64,PHRpdGxlPjY0PC90aXRsZT4="));
    EXPECT_EQ("64", v.baslik());

    ASSERT_EQ(S_OK, v.git(L"file:///Z:/no/such/korva/file.html"));
    EXPECT_FALSE(v.son_basari);

    // A source view shows the file as it came, titled with its own address; a source
    // of a source is refused.
    const std::wstring kaynak = L"view-source:" + adres;
    ASSERT_EQ(S_OK, v.git(kaynak.c_str()));
    EXPECT_TRUE(v.son_basari);
    EXPECT_EQ(utf8(kaynak.c_str()), v.adres());
    EXPECT_EQ(utf8(kaynak.c_str()), v.baslik());
    EXPECT_TRUE(iceriyor(v.ekran(), "<title>Dosya</title><p>ilk paragraf</p><script>gizli()</script>")) << v.ekran();
    ASSERT_EQ(S_OK, v.git((L"view-source:" + kaynak).c_str()));
    EXPECT_FALSE(v.son_basari);
    DeleteFileW(html.c_str());
    DeleteFileW(metin.c_str());
}

TEST_F(Gezinti, NetworkAddressesEndInAnErrorDocumentAndKeepTheAddress)
{
    ASSERT_EQ(S_OK, v.git(L"https://abc"));
    EXPECT_FALSE(v.son_basari);
    EXPECT_EQ(COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED, v.son_durum);
    EXPECT_EQ("https://abc", v.adres());
    EXPECT_EQ("https://abc", v.baslik());
    EXPECT_TRUE(iceriyor(v.ekran(), "HOST_NAME_NOT_RESOLVED")) << v.ekran();
    EXPECT_EQ(YENI_BELGE_SIRASI, v.olaylar);
}

TEST_F(Gezinti, BadArgumentsAreRefusedWithoutSideEffects)
{
    for (const wchar_t* adres : {L"abc", L"", L" https://x", L"https://", L"https://a b", L"C:\\x.html"})
        EXPECT_EQ(E_INVALIDARG, v.gorunum->Navigate(adres)) << utf8(adres);
    EXPECT_EQ(E_INVALIDARG, v.gorunum->Navigate(nullptr));
    EXPECT_EQ(E_INVALIDARG, v.gorunum->NavigateToString(nullptr));
    std::wstring iki_mb(2u * 1024 * 1024, L'x');
    std::wstring fazlasi = iki_mb + L"x";
    EXPECT_EQ(E_INVALIDARG, v.gorunum->NavigateToString(fazlasi.c_str()));
    // Two bytes each in UTF-8: a million and one of them is over the limit too.
    std::wstring genis(1024u * 1024 + 1, L'\x011f');
    EXPECT_EQ(E_INVALIDARG, v.gorunum->NavigateToString(genis.c_str()));
    EXPECT_EQ(E_POINTER, v.gorunum->get_Source(nullptr));
    kuyrugu_bosalt();
    EXPECT_TRUE(v.olaylar.empty());
    ASSERT_EQ(S_OK, v.html(iki_mb.c_str()));   // exactly 2 MB is accepted, and drawn
    UpdateWindow(sayfa_penceresi(v.ebeveyn));

    double yakinlik = 0;
    int degisti = 0;
    EventRegistrationToken jeton;
    v.denetleyici->add_ZoomFactorChanged(
        isleyici<ICoreWebView2ZoomFactorChangedEventHandler>([&](intptr_t, intptr_t) { ++degisti; }).Get(), &jeton);
    EXPECT_EQ(E_INVALIDARG, v.denetleyici->put_ZoomFactor(0));
    EXPECT_EQ(E_INVALIDARG, v.denetleyici->put_ZoomFactor(-1));
    v.denetleyici->get_ZoomFactor(&yakinlik);
    EXPECT_EQ(1.0, yakinlik);
    for (double deger : {1.1, 0.20000000000000015, 7.5, 0.01}) {
        EXPECT_EQ(S_OK, v.denetleyici->put_ZoomFactor(deger));
        v.denetleyici->get_ZoomFactor(&yakinlik);
        EXPECT_EQ(deger, yakinlik);
    }
    ASSERT_EQ(S_OK, v.html(L"<title>z</title>"));
    v.denetleyici->get_ZoomFactor(&yakinlik);
    EXPECT_EQ(0.01, yakinlik) << "the zoom did not persist across a navigation";
    EXPECT_EQ(0, degisti) << "put_ZoomFactor raised ZoomFactorChanged";
}

TEST_F(Gezinti, ScriptsSetTheTitleOrTheAddressAndAlwaysAnswerNull)
{
    ASSERT_EQ(S_OK, v.html(L"<title>once</title>"));
    std::vector<std::string> sonuclar;
    auto tamam = isleyici<ICoreWebView2ExecuteScriptCompletedHandler>([&](intptr_t hata, intptr_t json) {
        sonuclar.push_back(std::to_string(static_cast<HRESULT>(hata)) + " " +
                           utf8(reinterpret_cast<const wchar_t*>(json)));
    });
    v.olaylar.clear();
    ASSERT_EQ(S_OK, v.gorunum->ExecuteScript(L"document.title = \"Yeni \\\"baslik\\\"\";", tamam.Get()));
    EXPECT_TRUE(sonuclar.empty());
    ASSERT_TRUE(pompala([&] { return sonuclar.size() == 1; }));
    EXPECT_EQ("0 null", sonuclar[0]);
    EXPECT_EQ("Yeni \"baslik\"", v.baslik());
    EXPECT_EQ(std::vector<std::string>{"DocumentTitleChanged"}, v.olaylar);

    ASSERT_EQ(S_OK, v.gorunum->ExecuteScript(L"alert(1)", tamam.Get()));
    ASSERT_TRUE(pompala([&] { return sonuclar.size() == 2; }));
    EXPECT_EQ("0 null", sonuclar[1]);

    int onceki = v.tamamlanan;
    ASSERT_EQ(S_OK, v.gorunum->ExecuteScript(L"location.href = 'data:text/html,<title>gitti</title>'", nullptr));
    v.tamamlanmayi_bekle(onceki);
    EXPECT_EQ("gitti", v.baslik());
}

TEST_F(Gezinti, StopAndACanceledStartCompleteAsCanceled)
{
    ASSERT_EQ(S_OK, v.html(L"<title>ilk</title>"));
    ASSERT_EQ(S_OK, v.gorunum->Navigate(L"data:text/html,<title>yarim</title>"));
    ASSERT_EQ(S_OK, v.gorunum->Stop());
    v.tamamlanmayi_bekle(1);
    EXPECT_FALSE(v.son_basari);
    EXPECT_EQ(COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED, v.son_durum);
    kuyrugu_bosalt();
    EXPECT_EQ("ilk", v.baslik());
    EXPECT_EQ(2, v.tamamlanan);

    EventRegistrationToken jeton;
    v.gorunum->add_NavigationStarting(isleyici<ICoreWebView2NavigationStartingEventHandler>([](intptr_t, intptr_t a) {
        reinterpret_cast<ICoreWebView2NavigationStartingEventArgs*>(a)->put_Cancel(TRUE);
    }).Get(), &jeton);
    ASSERT_EQ(S_OK, v.git(L"data:text/html,<title>iptal</title>"));
    EXPECT_EQ(COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED, v.son_durum);
    EXPECT_EQ("ilk", v.baslik());
}

TEST_F(Gezinti, AClickOnALinkNavigatesAndKeysReachTheHostFirst)
{
    std::wstring belge = L"<title>Bağlantılar</title>";
    for (int i = 0; i < 200; ++i)
        belge += L"<a href=\"data:text/html,&lt;title&gt;Hedef&lt;/title&gt;\">tıkla tıkla tıkla</a> ";
    ASSERT_EQ(S_OK, v.html(belge.c_str()));
    HWND sayfa = sayfa_penceresi(v.ebeveyn);
    ASSERT_TRUE(IsWindowVisible(sayfa));
    RECT alan;
    GetClientRect(sayfa, &alan);
    int onceki = v.tamamlanan;
    LPARAM orta = MAKELPARAM(20, alan.bottom / 2);
    SendMessageW(sayfa, WM_LBUTTONDOWN, MK_LBUTTON, orta);
    SendMessageW(sayfa, WM_LBUTTONUP, 0, orta);
    v.tamamlanmayi_bekle(onceki);
    EXPECT_EQ("Hedef", v.baslik());
    EXPECT_TRUE(v.kullanici_baslatti.back());

    // F5 goes to the host first; handled there, the page does not reload.
    std::vector<UINT> tuslar;
    BOOL isle = TRUE;
    EventRegistrationToken jeton;
    v.denetleyici->add_AcceleratorKeyPressed(
        isleyici<ICoreWebView2AcceleratorKeyPressedEventHandler>([&](intptr_t, intptr_t a) {
            auto* arguman = reinterpret_cast<ICoreWebView2AcceleratorKeyPressedEventArgs*>(a);
            UINT tus = 0;
            arguman->get_VirtualKey(&tus);
            tuslar.push_back(tus);
            arguman->put_Handled(isle);
        }).Get(), &jeton);
    size_t baslama = v.baslama_kimlikleri.size();
    SendMessageW(sayfa, WM_KEYDOWN, VK_F5, 1);
    kuyrugu_bosalt();
    EXPECT_EQ(std::vector<UINT>{VK_F5}, tuslar);
    EXPECT_EQ(baslama, v.baslama_kimlikleri.size());
    isle = FALSE;
    onceki = v.tamamlanan;
    SendMessageW(sayfa, WM_KEYDOWN, VK_F5, 1);
    v.tamamlanmayi_bekle(onceki);
    EXPECT_EQ(baslama + 1, v.baslama_kimlikleri.size());
}

TEST_F(Gezinti, CloseTearsDownAtOnceAndLaterCallsFail)
{
    const HRESULT KAPALI = static_cast<HRESULT>(0x8007139F);
    int64_t acik = motor().acik_denetleyiciler();
    ASSERT_EQ(S_OK, v.html(L"<title>x</title>"));
    LONG canli = g_canli_isleyici;
    ASSERT_EQ(S_OK, v.gorunum->Navigate(L"data:text/html,later"));   // never delivered
    ASSERT_EQ(S_OK, v.denetleyici->Close());
    EXPECT_EQ(canli - 6, g_canli_isleyici) << "Close kept some of the view's handlers";
    EXPECT_EQ(nullptr, sayfa_penceresi(v.ebeveyn));
    EXPECT_EQ(acik - 1, motor().acik_denetleyiciler());

    LPWSTR metin = nullptr;
    EXPECT_EQ(KAPALI, v.gorunum->Navigate(L"about:blank"));
    EXPECT_EQ(KAPALI, v.gorunum->get_Source(&metin));
    EXPECT_EQ(KAPALI, v.gorunum->Reload());
    EXPECT_EQ(KAPALI, v.denetleyici->put_ZoomFactor(2));
    EXPECT_EQ(KAPALI, v.denetleyici->put_Bounds(RECT{0, 0, 10, 10}));
    EXPECT_EQ(KAPALI, v.denetleyici->Close());
    ComPtr<ICoreWebView2> gorunum;
    EXPECT_EQ(KAPALI, v.denetleyici->get_CoreWebView2(&gorunum));

    // Another view's navigation is a marker: the closed one's would have come first.
    IzlenenGorunum baska;
    baska.kur(ortam.Get());
    size_t olay_sayisi = v.olaylar.size();
    ASSERT_EQ(S_OK, baska.html(L"marker"));
    EXPECT_EQ(olay_sayisi, v.olaylar.size());
    baska.denetleyici->Close();
    DestroyWindow(baska.ebeveyn);
    v.denetleyici.Reset();
}

TEST_F(Gezinti, TheLogNamesEveryCallWithItsViewAndArguments)
{
    size_t onceki = gunluk_satirlari().size();
    v.gorunum->Navigate(L"https://abc");
    v.gorunum->NavigateToString(L"<b>12345678</b>");
    v.denetleyici->put_ZoomFactor(1.1);
    v.denetleyici->put_ZoomFactor(0.20000000000000015);
    v.denetleyici->put_Bounds(RECT{0, 0, 800, 600});
    v.gorunum->ExecuteScript(L"a\nb", nullptr);
    v.denetleyici->Close();
    int64_t yeni = -1;
    auto denetleyici = denetleyici_al(ortam.Get(), v.ebeveyn, &yeni);
    ASSERT_TRUE(denetleyici);
    denetleyici->Close();

    auto satirlar = gunluk_satirlari();
    std::vector<std::string> yeni_satirlar(satirlar.begin() + static_cast<long>(onceki), satirlar.end());
    std::string n = std::to_string(v.no) + " ";
    std::vector<std::string> beklenen = {
        n + "Navigate https://abc", n + "NavigateToString 15", n + "put_ZoomFactor 1.1",
        n + "put_ZoomFactor 0.20000000000000015", n + "put_Bounds 0 0 800 600", n + "ExecuteScript a b",
        n + "Close", "- CreateCoreWebView2Controller", std::to_string(v.no + 1) + " created",
        std::to_string(v.no + 1) + " Close"};
    EXPECT_EQ(beklenen, yeni_satirlar);
    EXPECT_EQ(v.no + 1, yeni);
    v.denetleyici.Reset();
}

// An element's full screen: a script's requestFullscreen() and exitFullscreen(), Esc
// in the page and a new document each raise ContainsFullScreenElementChanged once,
// with get_ContainsFullScreenElement saying which; asking again for the state the
// page is in raises nothing.
TEST_F(Gezinti, AnElementsFullScreenIsReportedUntilExitEscOrANewDocument)
{
    ASSERT_EQ(S_OK, v.html(L"<title>video</title>"));
    std::vector<BOOL> durumlar;
    EventRegistrationToken jeton;
    ASSERT_EQ(S_OK, v.gorunum->add_ContainsFullScreenElementChanged(
                        isleyici<ICoreWebView2ContainsFullScreenElementChangedEventHandler>([&](intptr_t, intptr_t) {
                            BOOL tam = 2;
                            v.gorunum->get_ContainsFullScreenElement(&tam);
                            durumlar.push_back(tam);
                        }).Get(),
                        &jeton));
    BOOL tam = TRUE;
    ASSERT_EQ(S_OK, v.gorunum->get_ContainsFullScreenElement(&tam));
    EXPECT_EQ(FALSE, tam);
    EXPECT_EQ(E_POINTER, v.gorunum->get_ContainsFullScreenElement(nullptr));

    auto betik = [&](const wchar_t* metin, size_t beklenen) {
        ASSERT_EQ(S_OK, v.gorunum->ExecuteScript(metin, nullptr));
        kuyrugu_bosalt();
        ASSERT_EQ(beklenen, durumlar.size()) << utf8(metin);
    };
    betik(L"document.querySelector('video').requestFullscreen()", 1);
    betik(L"document.body.requestFullscreen()", 1);   // already in it
    betik(L"document.exitFullscreen()", 2);
    betik(L"document.exitFullscreen()", 2);
    EXPECT_EQ((std::vector<BOOL>{TRUE, FALSE}), durumlar);

    betik(L"document.documentElement.requestFullscreen()", 3);
    HWND sayfa = sayfa_penceresi(v.ebeveyn);
    SendMessageW(sayfa, WM_KEYDOWN, VK_ESCAPE, 1);
    kuyrugu_bosalt();
    ASSERT_EQ(4u, durumlar.size());
    EXPECT_EQ(FALSE, durumlar[3]);

    betik(L"document.body.requestFullscreen()", 5);
    ASSERT_EQ(S_OK, v.html(L"<title>sonraki</title>"));
    ASSERT_EQ(6u, durumlar.size());
    EXPECT_EQ(FALSE, durumlar[5]);

    ASSERT_EQ(S_OK, v.gorunum->remove_ContainsFullScreenElementChanged(jeton));
    betik(L"document.body.requestFullscreen()", 6);
}

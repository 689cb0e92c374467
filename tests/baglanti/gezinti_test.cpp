// A page's navigations without the engine: recorded sequences of the engine's
// messages (the order and shape Chromium sends them in, trimmed to the fields that
// are read) are played into the navigation manager, and the interface events it
// hands back, and the commands it sends, are compared with what a host must see.
//
// A sequence is a list of steps:
//   "> Method {params}"    an event from the engine
//   "< Method {result}"    the answer to the oldest unanswered command of that method
//   "~"                    the message loop runs the work that waits for it
#include "gezinti.h"
#include "kayitli_giden.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>

namespace {

const char HEDEF[] = "T1";

class KayitliDinleyici : public GezintiDinleyicisi {
public:
    std::vector<std::string> olaylar;
    bool iptal_et = false;          // the next start is canceled by its handler
    bool baslarken_kapat = false;   // a handler closes the view at the next start
    bool kapali = false;

    bool basliyor(const std::wstring& adres, bool yonlendirme, UINT64 kimlik, bool kullanici) override
    {
        yaz("basliyor " + std::string(adres.begin(), adres.end()) + (yonlendirme ? " yonlendirme" : "") +
            (kullanici ? " kullanici" : "") + " #" + sira(kimlik));
        if (baslarken_kapat)
            kapali = true;
        bool devam = !iptal_et;
        iptal_et = false;
        return devam;
    }
    void kaynak_degisti(bool yeni_belge) override { yaz(yeni_belge ? "kaynak yeni" : "kaynak ayni"); }
    void icerik_yukleniyor() override { yaz("icerik"); }
    void gecmis_degisti() override { yaz("gecmis"); }
    void tamamlandi(bool basarili, COREWEBVIEW2_WEB_ERROR_STATUS durum, UINT64 kimlik) override
    {
        yaz(std::string("tamamlandi ") + (basarili ? "basarili" : "basarisiz " + std::to_string(durum)) + " #" +
            sira(kimlik));
    }
    void basligi_oku(std::function<void()> sonra, bool) override
    {
        yaz("baslik");
        if (sonra)
            sonra();
    }
    void yukleme_basliyor() override {}
    bool kapali_mi() const override { return kapali; }

private:
    // Navigation ids are unique in the process; the sequences name them by order.
    std::string sira(UINT64 kimlik)
    {
        for (size_t i = 0; i < gorulen_.size(); ++i)
            if (gorulen_[i] == kimlik)
                return std::to_string(i + 1);
        gorulen_.push_back(kimlik);
        return std::to_string(gorulen_.size());
    }
    void yaz(std::string olay) { olaylar.push_back(std::move(olay)); }

    std::vector<UINT64> gorulen_;
};

class Gezinti : public ::testing::Test {
protected:
    KayitliGiden giden;
    KayitliDinleyici dinleyici;
    Gezintiler gezintiler{giden, dinleyici, HEDEF};
    YardimciBaglam yardimci{HEDEF};
    bool kapali = false;
    Yonlendirici yonlendirici{yardimci, kapali};

    // Sets the manager up with a new target's history, as the view does; the
    // events the view hands on to several parts come to this one alone.
    void SetUp() override
    {
        gezintiler.yonlendir(yonlendirici);
        yonlendirici.sahiplen(&gezintiler, &Gezintiler::cerceve_gezindi);
        yonlendirici.sahiplen(&gezintiler, &Gezintiler::diyalog_acildi);
        yonlendirici.sahiplen(&gezintiler, &Gezintiler::diyalog_kapandi);
        gezintiler.kur([](const Json&, const Json*) {});
        oynat({R"(< Page.getNavigationHistory {"currentIndex":0,"entries":[{"id":1,"url":"about:blank"}]})"});
        giden.komutlar.clear();
    }

    void oynat(const std::vector<std::string>& adimlar)
    {
        for (std::string adim : adimlar) {
            for (size_t i; (i = adim.find("$T")) != std::string::npos;)
                adim.replace(i, 2, HEDEF);
            if (adim == "~") {
                while (!giden.sonrakiler.empty()) {
                    auto is = std::move(giden.sonrakiler.front());
                    giden.sonrakiler.pop_front();
                    is();
                }
                continue;
            }
            std::istringstream okuyucu(adim.substr(2));
            std::string yontem;
            okuyucu >> yontem;
            std::string govde;
            std::getline(okuyucu, govde);
            Json json = Json::parse(govde);
            if (adim[0] == '>') {
                yonlendirici.ilet(yontem, json);
                continue;
            }
            auto komut = std::find_if(giden.komutlar.begin(), giden.komutlar.end(),
                                      [&](const KayitliGiden::Komut& k) { return k.yontem == yontem && !k.yanitlandi; });
            ASSERT_NE(komut, giden.komutlar.end()) << "no command waits for " << adim;
            komut->yanitlandi = true;
            if (komut->yanit)
                komut->yanit(json, nullptr);
        }
    }

    // An http page loaded after the view's first entry, as navigation #1.
    void sayfa_yuklu(const char* adres = "http://a/")
    {
        gezintiler.git(std::wstring(adres, adres + strlen(adres)));
        std::string a = adres;
        oynat({R"(> Network.requestWillBeSent {"requestId":"R1","frameId":"$T","type":"Document"})",
               R"(> Fetch.requestPaused {"requestId":"F1","frameId":"$T","networkId":"R1","request":{"url":")" + a +
                   R"("}})",
               R"(> Page.frameNavigated {"frame":{"id":"$T","url":")" + a + R"("}})",
               R"(< Page.getNavigationHistory {"currentIndex":1,"entries":[{"id":1,"url":"about:blank"},{"id":2,"url":")" +
                   a + R"("}]})",
               R"(> Page.frameStoppedLoading {"frameId":"$T"})"});
        dinleyici.olaylar.clear();
        giden.komutlar.clear();
    }
};

TEST_F(Gezinti, YonlendirmeAyniGezintidir)
{
    gezintiler.git(L"http://a/");
    oynat({R"(> Page.frameStartedNavigating {"frameId":"$T","url":"http://a/","navigationType":"differentDocument"})",
           R"(> Network.requestWillBeSent {"requestId":"R1","frameId":"$T","type":"Document"})",
           R"(> Fetch.requestPaused {"requestId":"F1","frameId":"$T","networkId":"R1","request":{"url":"http://a/"}})",
           R"(> Fetch.requestPaused {"requestId":"F2","frameId":"I9","request":{"url":"http://a/frame"}})",
           R"(> Fetch.requestPaused {"requestId":"F3","frameId":"$T","networkId":"R1","redirectedRequestId":"F1","request":{"url":"http://b/"}})",
           R"(> Page.frameNavigated {"frame":{"id":"$T","url":"http://b/"}})",
           R"(> Page.frameNavigated {"frame":{"id":"I9","parentId":"$T","url":"http://a/frame"}})",
           R"(< Page.getNavigationHistory {"currentIndex":1,"entries":[{"id":1,"url":"about:blank"},{"id":2,"url":"http://b/"}]})",
           R"(> Page.frameStoppedLoading {"frameId":"$T"})"});
    EXPECT_EQ(dinleyici.olaylar, (std::vector<std::string>{"basliyor http://a/ #1", "basliyor http://b/ yonlendirme #1",
                                                          "kaynak yeni", "icerik", "gecmis", "baslik",
                                                          "tamamlandi basarili #1"}));
    EXPECT_EQ(giden.gonderilenler(),
              (std::vector<std::string>{R"(Page.navigate "http://a/")", R"(Fetch.continueRequest "F1")",
                                        R"(Fetch.continueRequest "F2")", R"(Fetch.continueRequest "F3")",
                                        "Page.getNavigationHistory"}));
    EXPECT_EQ(gezintiler.adres(), L"http://b/");
    EXPECT_FALSE(gezintiler.gidebilir_mi(-1));   // the target's empty first entry is no page
}

TEST_F(Gezinti, YenilemeKaynagiDegistirmezKullaniciTiklamasiSayilir)
{
    sayfa_yuklu();
    gezintiler.yenile();
    oynat({R"(> Fetch.requestPaused {"requestId":"F4","frameId":"$T","request":{"url":"http://a/"}})",
           R"(> Page.frameNavigated {"frame":{"id":"$T","url":"http://a/"}})",
           R"(< Page.getNavigationHistory {"currentIndex":1,"entries":[{"id":1,"url":"about:blank"},{"id":2,"url":"http://a/"}]})",
           R"(> Page.frameStoppedLoading {"frameId":"$T"})",
           // A link the user clicks: a start the host did not ask for.
           R"(> Fetch.requestPaused {"requestId":"F5","frameId":"$T","request":{"url":"http://c/"}})"});
    EXPECT_EQ(dinleyici.olaylar, (std::vector<std::string>{"basliyor http://a/ #2", "icerik", "baslik",
                                                          "tamamlandi basarili #2", "basliyor http://c/ kullanici #3"}));
}

TEST_F(Gezinti, MetinBelgesiIlkBelgeyeSonraYeniKayda)
{
    ASSERT_EQ(gezintiler.metin_yukle("<title>Bir</title>"), S_OK);
    EXPECT_TRUE(dinleyici.olaylar.empty());   // nothing inside the call
    oynat({"~", R"(< Page.setDocumentContent {})",
           R"(< Page.getNavigationHistory {"currentIndex":0,"entries":[{"id":1,"url":"about:blank"}]})"});
    EXPECT_EQ(dinleyici.olaylar, (std::vector<std::string>{"basliyor about:blank #1", "kaynak yeni", "icerik", "gecmis",
                                                          "baslik", "tamamlandi basarili #1"}));
    // Straight into the first document: no navigation of its own.
    EXPECT_EQ(giden.gonderilenler(), (std::vector<std::string>{"Page.setDocumentContent", "Page.getNavigationHistory"}));

    sayfa_yuklu();
    EXPECT_TRUE(gezintiler.gidebilir_mi(-1));   // the text's entry is a page to go back to
    ASSERT_EQ(gezintiler.metin_yukle("<title>Iki</title>"), S_OK);
    oynat({"~", R"(> Page.frameStartedNavigating {"frameId":"$T","url":"about:blank","navigationType":"differentDocument"})",
           R"(> Page.frameNavigated {"frame":{"id":"$T","url":"about:blank"}})",
           R"(> Page.frameStoppedLoading {"frameId":"$T"})", R"(< Page.setDocumentContent {})",
           R"(< Page.getNavigationHistory {"currentIndex":2,"entries":[{"id":1,"url":"about:blank"},{"id":2,"url":"http://a/"},{"id":3,"url":"about:blank"}]})"});
    EXPECT_EQ(dinleyici.olaylar, (std::vector<std::string>{"basliyor about:blank #3", "kaynak yeni", "icerik", "gecmis",
                                                          "baslik", "tamamlandi basarili #3"}));
    EXPECT_EQ(giden.gonderilenler(), (std::vector<std::string>{R"(Page.navigate "about:blank")", "Page.setDocumentContent",
                                                              "Page.getNavigationHistory"}));
}

TEST_F(Gezinti, BasarisizYuklemeHataSayfasiylaGelir)
{
    gezintiler.git(L"http://x/");
    oynat({R"(> Network.requestWillBeSent {"requestId":"R1","frameId":"$T","type":"Document"})",
           R"(> Fetch.requestPaused {"requestId":"F1","frameId":"$T","networkId":"R1","request":{"url":"http://x/"}})",
           R"(> Network.loadingFailed {"requestId":"R1","type":"Document","errorText":"net::ERR_CONNECTION_REFUSED"})",
           R"(> Page.frameNavigated {"frame":{"id":"$T","url":"chrome-error://chromewebdata/","unreachableUrl":"http://x/"}})",
           R"(< Page.getNavigationHistory {"currentIndex":1,"entries":[{"id":1,"url":"about:blank"},{"id":2,"url":"http://x/"}]})",
           R"(> Page.frameStoppedLoading {"frameId":"$T"})"});
    EXPECT_EQ(dinleyici.olaylar.back(),
              "tamamlandi basarisiz " + std::to_string(COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT) + " #1");
    EXPECT_EQ(gezintiler.adres(), L"http://x/");   // the address asked for, not the error page's
}

TEST_F(Gezinti, YeniGezintiEskisiniIptalEder)
{
    gezintiler.git(L"http://a/");
    oynat({R"(> Fetch.requestPaused {"requestId":"F1","frameId":"$T","request":{"url":"http://a/"}})"});
    gezintiler.git(L"http://b/");
    oynat({R"(> Fetch.requestPaused {"requestId":"F2","frameId":"$T","request":{"url":"http://b/"}})",
           R"(> Page.frameNavigated {"frame":{"id":"$T","url":"http://b/"}})",
           R"(> Page.frameStoppedLoading {"frameId":"$T"})",
           R"(< Page.getNavigationHistory {"currentIndex":1,"entries":[{"id":1,"url":"about:blank"},{"id":2,"url":"http://b/"}]})"});
    // The completion that came during the history read waited for it.
    EXPECT_EQ(dinleyici.olaylar,
              (std::vector<std::string>{"basliyor http://a/ #1",
                                        "tamamlandi basarisiz " +
                                            std::to_string(COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED) + " #1",
                                        "basliyor http://b/ #2", "kaynak yeni", "icerik", "gecmis", "baslik",
                                        "tamamlandi basarili #2"}));
}

TEST_F(Gezinti, IptalEdilenBaslangicIstegiDurdururEskiSayfaKalir)
{
    sayfa_yuklu();
    dinleyici.iptal_et = true;
    oynat({R"(> Fetch.requestPaused {"requestId":"F7","frameId":"$T","request":{"url":"http://c/"}})"});
    EXPECT_EQ(giden.gonderilenler(), (std::vector<std::string>{R"(Fetch.failRequest "F7")"}));
    EXPECT_EQ(dinleyici.olaylar.size(), 1u);   // the completion comes later, from the loop
    oynat({"~"});
    EXPECT_EQ(dinleyici.olaylar.back(),
              "tamamlandi basarisiz " + std::to_string(COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED) + " #2");
    EXPECT_EQ(gezintiler.adres(), L"http://a/");
}

// A page that asks before it is left, in the engine's own order: staying stops the
// navigation it held before the question is said to be closed, and nothing more
// comes for it; leaving lets it commit. A confirm() answered "no" is no question
// about leaving.
TEST_F(Gezinti, AyrilmaSorusundaKalmakGezintiyiIptalEder)
{
    const std::string iptal = "tamamlandi basarisiz " + std::to_string(COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED);
    for (const char* tur : {"beforeunload", "confirm"}) {
        for (bool kal : {true, false}) {
            sayfa_yuklu();
            gezintiler.git(L"about:blank");
            oynat({R"(> Page.frameStartedNavigating {"frameId":"$T","url":"about:blank","navigationType":"differentDocument"})",
                   std::string(R"(> Page.javascriptDialogOpening {"url":"http://a/","type":")") + tur + R"("})"});
            if (kal) {
                oynat({R"(> Page.frameStoppedLoading {"frameId":"$T"})", R"(> Page.javascriptDialogClosed {"result":false})",
                       "~"});
            } else {
                oynat({R"(> Page.javascriptDialogClosed {"result":true})",
                       R"(> Page.frameNavigated {"frame":{"id":"$T","url":"about:blank"}})"});
            }
            const std::string& baslangic = dinleyici.olaylar.at(0);
            if (kal && std::string(tur) == "beforeunload") {
                ASSERT_EQ(dinleyici.olaylar.size(), 2u);
                EXPECT_EQ(dinleyici.olaylar[1], iptal + baslangic.substr(baslangic.rfind(' ')));
            } else {
                for (const std::string& olay : dinleyici.olaylar)
                    EXPECT_EQ(olay.find("basarisiz"), std::string::npos) << tur << " " << kal << ": " << olay;
            }
            if (!kal) {
                EXPECT_EQ(gezintiler.adres(), L"about:blank");
            }
        }
    }
}

// The request is neither continued nor failed: the view's end closes the target.
TEST_F(Gezinti, BaslarkenKapananGorunumIstegeDokunmaz)
{
    dinleyici.baslarken_kapat = true;
    gezintiler.git(L"http://a/");
    oynat({R"(> Fetch.requestPaused {"requestId":"F1","frameId":"$T","request":{"url":"http://a/"}})"});
    EXPECT_EQ(dinleyici.olaylar, (std::vector<std::string>{"basliyor http://a/ #1"}));
    EXPECT_EQ(giden.gonderilenler(), (std::vector<std::string>{R"(Page.navigate "http://a/")"}));
}

// A navigation whose document's request went out waits for the network until the
// response to that request (a redirect's is no response to it) or its failure: a
// page that merely waits for its server is slow, not hung.
TEST_F(Gezinti, BelgeninYanitiGelenedekAgBeklenir)
{
    EXPECT_FALSE(gezintiler.agi_bekliyor());
    gezintiler.git(L"http://a/");
    oynat({R"(> Page.frameStartedNavigating {"frameId":"$T","url":"http://a/","navigationType":"differentDocument"})",
           R"(> Network.requestWillBeSent {"requestId":"R1","frameId":"$T","type":"Document"})"});
    EXPECT_FALSE(gezintiler.agi_bekliyor());   // held before it goes out
    oynat({R"(> Fetch.requestPaused {"requestId":"F1","frameId":"$T","networkId":"R1","request":{"url":"http://a/"}})",
           R"(> Fetch.requestPaused {"requestId":"F2","frameId":"$T","networkId":"R1","redirectedRequestId":"F1","request":{"url":"http://b/"}})",
           R"(> Network.responseReceived {"requestId":"R7","frameId":"$T","type":"Image"})",
           R"(> Network.responseReceived {"requestId":"R8","frameId":"$T","type":"Document"})"});
    EXPECT_TRUE(gezintiler.agi_bekliyor());
    oynat({R"(> Network.responseReceived {"requestId":"R1","frameId":"$T","type":"Document"})"});
    EXPECT_FALSE(gezintiler.agi_bekliyor());

    gezintiler.git(L"http://c/");
    oynat({R"(> Fetch.requestPaused {"requestId":"F3","frameId":"$T","networkId":"R2","request":{"url":"http://c/"}})"});
    EXPECT_TRUE(gezintiler.agi_bekliyor());
    oynat({R"(> Network.loadingFailed {"requestId":"R2","type":"Document","errorText":"net::ERR_TIMED_OUT"})"});
    EXPECT_FALSE(gezintiler.agi_bekliyor());
}

TEST_F(Gezinti, YanlisBicimliOlayGormezdenGelinir)
{
    // A field of another type: the event is dropped, never half-read.
    EXPECT_TRUE(yonlendirici.ilet("Fetch.requestPaused", Json::parse(R"({"requestId":5,"frameId":"T1"})")));
    EXPECT_TRUE(yonlendirici.ilet("Page.frameNavigated", Json::parse(R"({"frame":"x"})")));
    EXPECT_FALSE(yonlendirici.ilet("Page.loadEventFired", Json::object()));
    EXPECT_TRUE(dinleyici.olaylar.empty());
    EXPECT_TRUE(giden.komutlar.empty());
}

}  // namespace

namespace {

// A text goes into whatever document the page has when it gets to it: a load asked
// for meanwhile waits until the text is in, or the text would replace the new page.
TEST_F(Gezinti, MetinYerlesmedenYuklemeBekler)
{
    ASSERT_EQ(gezintiler.metin_yukle("<title>Bir</title>"), S_OK);
    oynat({"~"});
    gezintiler.git(L"http://a/");
    gezintiler.git(L"http://b/");
    EXPECT_EQ(giden.gonderilenler(), (std::vector<std::string>{"Page.setDocumentContent"}));
    oynat({R"(< Page.setDocumentContent {})"});
    EXPECT_EQ(giden.gonderilenler(),
              (std::vector<std::string>{"Page.setDocumentContent", R"(Page.navigate "http://b/")"}));
}

}  // namespace

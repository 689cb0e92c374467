// A page target's router without the engine: recorded events (the shape Chromium
// sends them in) are handed to it, and what each owner received is compared.
#include "yonlendirici.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using protokol::BindingCalled;

// The helpers' world of the top frame is context 7; the page's own world is 1.
const int64_t YARDIMCI = 7, SAYFA = 1;

class Yonlendirme : public ::testing::Test {
protected:
    YardimciBaglam yardimci{"T1"};
    bool kapali = false;
    Yonlendirici yonlendirici{yardimci, kapali};
    std::vector<std::string> alinanlar;   // "owner: what", in the order received

    void SetUp() override
    {
        protokol::ExecutionContextDescription baglam;
        baglam.id = YARDIMCI;
        baglam.name = protokol::YARDIMCI_DUNYA;
        baglam.auxData.frameId = "T1";
        yardimci.olustu(baglam);
        // The same world in a subframe is not the top frame's.
        baglam.id = 8;
        baglam.auxData.frameId = "F2";
        yardimci.olustu(baglam);
        auto kaydeden = [this](std::string sahip) {
            return [this, sahip](const Json& p) { alinanlar.push_back(sahip + ": " + p.dump()); };
        };
        EXPECT_TRUE(yonlendirici.sahiplen("Network.loadingFailed", kaydeden("gezinti")));
        EXPECT_TRUE(yonlendirici.sahiplen("Security.certificateError", kaydeden("sertifika")));
        for (const char* ad : {"__korvaBaslik", "__korvaPano"})
            EXPECT_TRUE(yonlendirici.bag_sahiplen(ad, [this, ad](const BindingCalled& cagri) {
                alinanlar.push_back(std::string(ad) + ": " + cagri.payload);
            }));
        EXPECT_TRUE(yonlendirici.bag_sahiplen(
            "__korvaIzin", [this](const BindingCalled& cagri) { alinanlar.push_back("izin: " + cagri.payload); },
            Yonlendirici::Dunya::her_yer));
    }

    bool bag_cagir(const char* ad, int64_t baglam, const char* yuk = "x")
    {
        return yonlendirici.ilet(BindingCalled::YONTEM,
                                 {{"name", ad}, {"payload", yuk}, {"executionContextId", baglam}});
    }
};

TEST_F(Yonlendirme, BirOlayYalnizSahibineGider)
{
    // A second owner for a method is refused; the first keeps it.
    EXPECT_FALSE(yonlendirici.sahiplen("Network.loadingFailed", [this](const Json&) { alinanlar.push_back("ikinci"); }));
    EXPECT_FALSE(yonlendirici.bag_sahiplen("__korvaPano", [this](const BindingCalled&) { alinanlar.push_back("ikinci"); }));
    EXPECT_TRUE(yonlendirici.ilet("Network.loadingFailed", {{"requestId", "5"}}));
    EXPECT_TRUE(yonlendirici.ilet("Security.certificateError", {{"eventId", 3}}));
    EXPECT_FALSE(yonlendirici.ilet("Page.loadEventFired", Json::object()));
    EXPECT_EQ(alinanlar, (std::vector<std::string>{R"(gezinti: {"requestId":"5"})", R"(sertifika: {"eventId":3})"}));
}

TEST_F(Yonlendirme, BagCagrisiAdinaGoreSahibineGider)
{
    EXPECT_TRUE(bag_cagir("__korvaPano", YARDIMCI, "kopya"));
    EXPECT_TRUE(bag_cagir("__korvaBaslik", YARDIMCI, "Baslik"));
    // A name nobody owns, and a call of the wrong shape, reach nobody.
    EXPECT_FALSE(bag_cagir("__korvaYok", YARDIMCI));
    EXPECT_FALSE(yonlendirici.ilet(BindingCalled::YONTEM, {{"name", "__korvaPano"}, {"payload", 5}}));
    EXPECT_FALSE(yonlendirici.ilet(BindingCalled::YONTEM, "bozuk"));
    EXPECT_EQ(alinanlar, (std::vector<std::string>{"__korvaPano: kopya", "__korvaBaslik: Baslik"}));
}

TEST_F(Yonlendirme, YardimciDisindanCagriKimseyeGitmez)
{
    // The page's own scripts, and a subframe's helpers, call the helpers' bindings
    // by name: nobody hears of it. The permissions' binding is the page world's own.
    EXPECT_FALSE(bag_cagir("__korvaBaslik", SAYFA));
    EXPECT_FALSE(bag_cagir("__korvaPano", 8));
    EXPECT_FALSE(bag_cagir("__korvaPano", 0));
    EXPECT_TRUE(bag_cagir("__korvaIzin", SAYFA, "bildirim"));
    // Once the engine ends the helpers' context, its calls are no longer theirs.
    yardimci.bitti(YARDIMCI);
    EXPECT_FALSE(bag_cagir("__korvaBaslik", YARDIMCI));
    EXPECT_EQ(alinanlar, (std::vector<std::string>{"izin: bildirim"}));
}

TEST_F(Yonlendirme, KapaliGorunumeHicbirSeyGitmez)
{
    kapali = true;
    EXPECT_FALSE(yonlendirici.ilet("Network.loadingFailed", {{"requestId", "5"}}));
    EXPECT_FALSE(bag_cagir("__korvaBaslik", YARDIMCI));
    EXPECT_FALSE(bag_cagir("__korvaIzin", SAYFA));
    EXPECT_TRUE(alinanlar.empty());
}

}   // namespace

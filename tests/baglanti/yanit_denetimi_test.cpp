// The unresponsive-page watch without the engine or a clock: its timers wait in the
// recorded outbox until the test runs them, its pings are answered (or not) by hand,
// and a stand-in view writes down what it was told to do.
#include "kayitli_giden.h"
#include "yanit_denetimi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class SahteGorunum : public YanitDinleyicisi {
public:
    bool ag_bekleniyor = false;
    std::vector<std::string> adimlar;
    std::function<void(std::string, std::string)> taze_hedef;

    bool denetlenebilir() const override { return true; }
    bool agi_bekliyor() const override { return ag_bekleniyor; }
    void hedeften_ayril() override { adimlar.push_back("ayril"); }
    void taze_hedef_iste(std::function<void(std::string, std::string)> geldi) override
    {
        adimlar.push_back("iste");
        taze_hedef = std::move(geldi);
    }
    void taze_hedefe_gec(std::string hedef, std::string) override { adimlar.push_back("gec " + hedef); }
};

class Denetim : public ::testing::Test {
protected:
    KayitliGiden giden;
    SahteGorunum gorunum;
    YanitDenetimi denetim{giden, gorunum};

    // The timers due now run (what they schedule waits for the next call).
    void zaman_gecsin()
    {
        auto isler = std::move(giden.sonrakiler);
        giden.sonrakiler.clear();
        for (auto& is : isler)
            is();
    }
    size_t pingler() { return giden.hepsi(protokol::Evaluate::YONTEM).size(); }
    void yanitla(const char* yontem)
    {
        for (auto* komut : giden.hepsi(yontem))
            if (!komut->yanitlandi) {
                komut->yanitlandi = true;
                komut->yanit(Json::object(), nullptr);
            }
    }
};

TEST_F(Denetim, AgiBekleyenGezintiyePingGitmez)
{
    gorunum.ag_bekleniyor = true;
    denetim.kur();
    zaman_gecsin();
    zaman_gecsin();
    EXPECT_EQ(pingler(), 0u);
    // The response came: the few seconds count from now, and only then is it pinged.
    gorunum.ag_bekleniyor = false;
    zaman_gecsin();
    EXPECT_EQ(pingler(), 0u);
    zaman_gecsin();
    EXPECT_EQ(pingler(), 1u);
    EXPECT_EQ(giden.hepsi(protokol::GetVersion::YONTEM).size(), 1u);
}

TEST_F(Denetim, SessizSayfaTazeHedefeTasinir)
{
    denetim.kur();
    zaman_gecsin();
    yanitla(protokol::GetVersion::YONTEM);   // the engine answers, the page does not
    zaman_gecsin();
    EXPECT_EQ(gorunum.adimlar, (std::vector<std::string>{"ayril", "iste"}));
    // A command given while the view moves waits for the fresh target.
    ASSERT_TRUE(denetim.tasiniyor_mu());
    Json parametreler = Json::object();
    Giden::Yanit yanit;
    EXPECT_TRUE(denetim.beklet("Page.reload", parametreler, yanit));
    EXPECT_TRUE(giden.hepsi("Page.reload").empty());
    ASSERT_TRUE(gorunum.taze_hedef);
    gorunum.taze_hedef("T2", "S2");
    EXPECT_FALSE(denetim.tasiniyor_mu());
    EXPECT_EQ(gorunum.adimlar.back(), "gec T2");
    EXPECT_EQ(giden.hepsi("Page.reload").size(), 1u);
}

TEST_F(Denetim, MotorSessizseYaDaSayfaYanitlarsaTasinmaz)
{
    // The engine does not answer either: it stalls, not the page.
    denetim.kur();
    zaman_gecsin();
    zaman_gecsin();
    // The page answers.
    denetim.kur();
    zaman_gecsin();
    yanitla(protokol::Evaluate::YONTEM);
    yanitla(protokol::GetVersion::YONTEM);
    zaman_gecsin();
    // The navigation committed before the check.
    denetim.kur();
    denetim.taahhut_edildi();
    zaman_gecsin();
    EXPECT_EQ(pingler(), 2u);
    EXPECT_TRUE(gorunum.adimlar.empty());
    EXPECT_FALSE(denetim.tasiniyor_mu());
}

}   // namespace

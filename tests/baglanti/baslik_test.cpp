// A page's title without the engine: the helper script's reports and the engine's
// document events are played into the scripts' manager, and what it asks the engine
// is recorded instead of sent.
#include "betikler.h"
#include "kayitli_giden.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const char HEDEF[] = "T1";

class KayitliDinleyici : public BetikDinleyicisi {
public:
    int baslik_degisimi = 0;

    void baslik_degisti() override { ++baslik_degisimi; }
    void durum_metni_degisti() override {}
    void pencere_istendi(const std::wstring&, bool, bool) override {}
    std::vector<bool> tam_ekranlar;
    void tam_ekran_degisti(bool tam) override { tam_ekranlar.push_back(tam); }
    std::wstring sayfa_adresi() const override { return L"about:blank"; }
    bool kapali_mi() const override { return false; }
};

void baslik_bildirildi(Betikler& betikler, const char* baslik)
{
    betikler.olay(protokol::BindingCalled::YONTEM, {{"name", "__korvaBaslik"}, {"payload", baslik}});
}

void belge_acildi(Betikler& betikler)
{
    betikler.olay(protokol::DocumentOpened::YONTEM, {{"frame", {{"id", HEDEF}, {"url", "about:blank"}}}});
}

}  // namespace

// A text put into the document there: the title its script reports once the document
// opened is the new one, and the load completes on it without asking the engine; a
// report from before is the old document's, and the engine is asked.
TEST(Baslik, KonanMetninBasliginiKendiBetigiBildirir)
{
    KayitliGiden giden;
    KayitliDinleyici dinleyici;
    Betikler betikler{giden, dinleyici, HEDEF};
    bool bitti = false;

    baslik_bildirildi(betikler, "Eski");
    belge_acildi(betikler);
    betikler.basligi_oku([&] { bitti = true; }, true);
    ASSERT_EQ(giden.hepsi(protokol::Evaluate::YONTEM).size(), 1u);
    EXPECT_FALSE(bitti);
    giden.hepsi(protokol::Evaluate::YONTEM)[0]->yanit({{"result", {{"type", "string"}, {"value", "Eski"}}}}, nullptr);
    EXPECT_TRUE(bitti);

    bitti = false;
    belge_acildi(betikler);
    baslik_bildirildi(betikler, "Yeni");
    betikler.basligi_oku([&] { bitti = true; }, true);
    EXPECT_TRUE(bitti);
    EXPECT_EQ(giden.hepsi(protokol::Evaluate::YONTEM).size(), 1u);
    EXPECT_EQ(betikler.baslik(), L"Yeni");
    EXPECT_EQ(dinleyici.baslik_degisimi, 2);
}

// The helper script reports an element's full screen ("1") and its end (empty); the
// way out is asked in the helpers' world, never the page's.
TEST(Baslik, TamEkranBildirimiDinleyiciyeUlasirCikisYardimciDunyada)
{
    KayitliGiden giden;
    KayitliDinleyici dinleyici;
    Betikler betikler{giden, dinleyici, HEDEF};
    betikler.olay(protokol::BindingCalled::YONTEM, {{"name", "__korvaTamEkran"}, {"payload", "1"}});
    betikler.olay(protokol::BindingCalled::YONTEM, {{"name", "__korvaTamEkran"}, {"payload", ""}});
    EXPECT_EQ(dinleyici.tam_ekranlar, (std::vector<bool>{true, false}));

    betikler.olay(protokol::ExecutionContextCreated::YONTEM,
                  {{"context", {{"id", 7}, {"name", protokol::YARDIMCI_DUNYA}, {"auxData", {{"frameId", HEDEF}}}}}});
    betikler.tam_ekrandan_cik();
    auto istekler = giden.hepsi(protokol::Evaluate::YONTEM);
    ASSERT_EQ(istekler.size(), 1u);
    EXPECT_EQ(istekler[0]->parametreler.value("contextId", 0), 7);
    EXPECT_NE(istekler[0]->parametreler.value("expression", std::string()).find("exitFullscreen"), std::string::npos);
}

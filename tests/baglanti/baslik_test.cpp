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

// The scripts' manager as the view sets it up: its events come through a router,
// and the helpers' world of the top frame is context 7.
struct SayfaBetikleri {
    KayitliGiden giden;
    KayitliDinleyici dinleyici;
    YardimciBaglam yardimci{HEDEF};
    bool kapali = false;
    Yonlendirici yonlendirici{yardimci, kapali};
    Betikler betikler{giden, dinleyici, HEDEF, yardimci};

    SayfaBetikleri()
    {
        betikler.yonlendir(yonlendirici);
        yardimci.ekle(7);
    }
    void bildir(const char* bag, const char* yuk)
    {
        yonlendirici.ilet(protokol::BindingCalled::YONTEM, {{"name", bag}, {"payload", yuk}, {"executionContextId", 7}});
    }
    void baslik_bildirildi(const char* baslik) { bildir("__korvaBaslik", baslik); }
    void belge_acildi()
    {
        protokol::Cerceve cerceve;
        cerceve.id = HEDEF;
        betikler.belge_acildi(cerceve);
    }
};

}  // namespace

// A text put into the document there: the title its script reports once the document
// opened is the new one, and the load completes on it without asking the engine; a
// report from before is the old document's, and the engine is asked.
TEST(Baslik, KonanMetninBasliginiKendiBetigiBildirir)
{
    SayfaBetikleri sayfa;
    KayitliGiden& giden = sayfa.giden;
    Betikler& betikler = sayfa.betikler;
    bool bitti = false;

    sayfa.baslik_bildirildi("Eski");
    sayfa.belge_acildi();
    betikler.basligi_oku([&] { bitti = true; }, true);
    ASSERT_EQ(giden.hepsi(protokol::Evaluate::YONTEM).size(), 1u);
    EXPECT_FALSE(bitti);
    giden.hepsi(protokol::Evaluate::YONTEM)[0]->yanit({{"result", {{"type", "string"}, {"value", "Eski"}}}}, nullptr);
    EXPECT_TRUE(bitti);

    bitti = false;
    sayfa.belge_acildi();
    sayfa.baslik_bildirildi("Yeni");
    betikler.basligi_oku([&] { bitti = true; }, true);
    EXPECT_TRUE(bitti);
    EXPECT_EQ(giden.hepsi(protokol::Evaluate::YONTEM).size(), 1u);
    EXPECT_EQ(betikler.baslik(), L"Yeni");
    EXPECT_EQ(sayfa.dinleyici.baslik_degisimi, 2);
}

// The helper script reports an element's full screen ("1") and its end (empty); the
// way out is asked in the helpers' world, never the page's.
TEST(Baslik, TamEkranBildirimiDinleyiciyeUlasirCikisYardimciDunyada)
{
    SayfaBetikleri sayfa;
    sayfa.bildir("__korvaTamEkran", "1");
    sayfa.bildir("__korvaTamEkran", "");
    EXPECT_EQ(sayfa.dinleyici.tam_ekranlar, (std::vector<bool>{true, false}));

    sayfa.betikler.tam_ekrandan_cik();
    auto istekler = sayfa.giden.hepsi(protokol::Evaluate::YONTEM);
    ASSERT_EQ(istekler.size(), 1u);
    EXPECT_EQ(istekler[0]->parametreler.value("contextId", 0), 7);
    EXPECT_NE(istekler[0]->parametreler.value("expression", std::string()).find("exitFullscreen"), std::string::npos);
}

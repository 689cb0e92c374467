// A page's screen without the engine: a stream whose picture of the size asked for
// does not come is started again, a few times, and no more once it has come.
#include "ekran.h"
#include "kare.h"
#include "kayitli_giden.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct EkranDuzeni : ::testing::Test {
    KayitliGiden giden;
    Ekran ekran{giden};
    HWND pencere = nullptr;

    void SetUp() override
    {
        pencere = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_NE(pencere, nullptr);
        ekran.kur(RECT{0, 0, 400, 300}, nullptr);
        ekran.kuruldu();
        ekran.pencere_hazir(pencere);
        isle();
    }
    void TearDown() override { DestroyWindow(pencere); }

    // Runs the work left for later, what it leaves too, until none is left.
    void isle()
    {
        for (int tur = 0; tur < 100 && !giden.sonrakiler.empty(); ++tur) {
            auto is = std::move(giden.sonrakiler.front());
            giden.sonrakiler.pop_front();
            is();
        }
    }
    // Runs the first piece of work left for later alone.
    void bir_isle()
    {
        auto is = std::move(giden.sonrakiler.front());
        giden.sonrakiler.pop_front();
        is();
    }
    size_t baslatilan() { return giden.hepsi(protokol::StartScreencast::YONTEM).size(); }
    void kare_ver(int genislik, int yukseklik)
    {
        auto kare = std::make_shared<Kare>();
        kare->genislik = genislik;
        kare->yukseklik = yukseklik;
        kare->pikseller.assign(static_cast<size_t>(genislik) * yukseklik * 4, 0);
        ekran.kare_geldi(kare);
    }
};

}  // namespace

TEST_F(EkranDuzeni, ResmiGelmeyenAkisBirkacKezYenidenBaslar)
{
    // No frame ever: the first stream and four more, each with the size given again
    // (one more size: the setup's).
    EXPECT_EQ(baslatilan(), 5u);
    EXPECT_EQ(giden.hepsi(protokol::SetDeviceMetricsOverride::YONTEM).size(), 6u);
    EXPECT_EQ(giden.hepsi(protokol::StopScreencast::YONTEM).size(), 4u);
}

TEST_F(EkranDuzeni, UygunKareGelinceDenemeBiter)
{
    // Each try waits for its own stream: a frame of the old size does not end them,
    // one of the view's size does.
    giden = KayitliGiden{};
    ekran.alan_koy(RECT{0, 0, 500, 300});
    bir_isle();   // the new stream starts
    kare_ver(400, 300);
    isle();
    const size_t denemeler = baslatilan();
    EXPECT_GT(denemeler, 1u);

    giden = KayitliGiden{};
    ekran.alan_koy(RECT{0, 0, 600, 300});
    bir_isle();
    kare_ver(600, 300);
    isle();
    EXPECT_EQ(baslatilan(), 1u);
}

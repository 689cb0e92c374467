// Where the tabs a page opens go, and the window's title, checked alone: the tabs are
// a table of web view ids by position, as Korva keeps them.
#include <gtest/gtest.h>

#include <stdint.h>

#include <string>
#include <utility>
#include <vector>

#include "sekme_sirasi.h"

namespace {

using korva::AcilisDizisi;

// The strip as Korva's table: the web view of each tab by position. A page opens a
// tab: its place is asked of the rule, the tab goes there, and the rule hears of it.
struct Serit {
    explicit Serit(std::vector<int64_t> ilk) : gorunumler(std::move(ilk)) {}

    std::vector<int64_t> gorunumler;
    AcilisDizisi dizi;
    int64_t sonraki = 100;

    int64_t ac(int64_t kaynak) {
        const int64_t yer = dizi.yeni_sekme_yeri(kaynak, gorunumler.data(), static_cast<int64_t>(gorunumler.size()));
        const int64_t yeni = sonraki++;
        gorunumler.insert(gorunumler.begin() + yer, yeni);
        dizi.acildi(kaynak, yeni);
        return yeni;
    }
    void kapat(int64_t gorunum) {
        for (size_t i = 0; i < gorunumler.size(); ++i) {
            if (gorunumler[i] == gorunum) gorunumler.erase(gorunumler.begin() + static_cast<int64_t>(i));
        }
        dizi.kapandi(gorunum);
    }
};

TEST(AcilisDizisi, BirSayfaninActigiSekmelerIstendikleriSiradaOnunArdindaDurur) {
    Serit serit({1, 2, 3});
    const int64_t a = serit.ac(2);
    const int64_t b = serit.ac(2);
    const int64_t c = serit.ac(2);
    EXPECT_EQ((std::vector<int64_t>{1, 2, a, b, c, 3}), serit.gorunumler);

    // Another page's run starts right after that page, and ends the first one.
    const int64_t d = serit.ac(1);
    EXPECT_EQ((std::vector<int64_t>{1, d, 2, a, b, c, 3}), serit.gorunumler);
    const int64_t e = serit.ac(2);
    EXPECT_EQ((std::vector<int64_t>{1, d, 2, e, a, b, c, 3}), serit.gorunumler);

    // A page in no tab (closed meanwhile) opens at the end.
    EXPECT_EQ(8, serit.dizi.yeni_sekme_yeri(77, serit.gorunumler.data(), 8));
}

TEST(AcilisDizisi, SecimGezintiVeKapananSekmeDiziyiBitirir) {
    // Selecting another tab and coming back: a new run.
    Serit serit({1, 2});
    const int64_t a = serit.ac(1);
    serit.dizi.secildi(2);
    serit.dizi.secildi(1);
    const int64_t b = serit.ac(1);
    EXPECT_EQ((std::vector<int64_t>{1, b, a, 2}), serit.gorunumler);

    // Selecting the page's own tab again keeps the run.
    serit.dizi.secildi(1);
    const int64_t c = serit.ac(1);
    EXPECT_EQ((std::vector<int64_t>{1, b, c, a, 2}), serit.gorunumler);

    // A tab of the run loading its page keeps the run; the page navigating ends it.
    serit.dizi.gezindi(c);
    const int64_t d = serit.ac(1);
    EXPECT_EQ((std::vector<int64_t>{1, b, c, d, a, 2}), serit.gorunumler);
    serit.dizi.gezindi(1);
    const int64_t e = serit.ac(1);
    EXPECT_EQ((std::vector<int64_t>{1, e, b, c, d, a, 2}), serit.gorunumler);

    // The run's last tab closed: its id may serve another tab anywhere, so the run ends.
    serit.kapat(e);
    const int64_t f = serit.ac(1);
    EXPECT_EQ((std::vector<int64_t>{1, f, b, c, d, a, 2}), serit.gorunumler);
}

TEST(PencereBasligi, SayfaBasligiKesilirEkHepSondadir) {
    EXPECT_EQ("Haberler - Korva", korva::pencere_basligi("Haberler", 8));
    EXPECT_EQ("Korva", korva::pencere_basligi("", 0));
    EXPECT_EQ("Korva", korva::pencere_basligi(nullptr, 5));

    // 100 characters are kept whole; the 101st is cut with the rest.
    const std::string yuz(100, 'a');
    EXPECT_EQ(yuz + " - Korva", korva::pencere_basligi(yuz.data(), 100));
    const std::string uzun = yuz + "b";
    EXPECT_EQ(yuz + "... - Korva", korva::pencere_basligi(uzun.data(), 101));

    // Characters, not bytes, and none cut in two: 99 "a" then "ş" (two bytes) fit.
    const std::string turkce = std::string(99, 'a') + "\xC5\x9F" + "\xC3\xBC";
    EXPECT_EQ(std::string(99, 'a') + "\xC5\x9F" + "... - Korva",
              korva::pencere_basligi(turkce.data(), static_cast<int64_t>(turkce.size())));

    // 16 MB: the same 100 characters and the suffix.
    const std::string dev(16 * 1024 * 1024, 'x');
    EXPECT_EQ(std::string(100, 'x') + "... - Korva",
              korva::pencere_basligi(dev.data(), static_cast<int64_t>(dev.size())));
}

}  // namespace

// The address entry's suggestions without their window: the order of a recorded
// history's matches, and the inline completion rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "oneriler.h"

namespace {

using korva::OneriDizini;
using korva::SayfaKaydi;

constexpr int64_t kSimdi = 1800000000;
constexpr int64_t kGun = 86400;

// `ziyaret` visits of an address, the last `gun_once` days before kSimdi.
void ziyaret_et(std::vector<SayfaKaydi>& gecmis, const std::string& baslik, const std::string& adres, int ziyaret,
                int64_t gun_once) {
    for (int i = ziyaret - 1; i >= 0; --i) gecmis.push_back({baslik, adres, kSimdi - gun_once * kGun - i * 60});
}

std::vector<std::string> adresler(OneriDizini& dizin, const std::string& metin, size_t en_cok = 8) {
    std::vector<std::string> sonuc;
    for (size_t yer : dizin.ara(metin, en_cok)) sonuc.push_back(dizin.satir(yer).adres);
    return sonuc;
}

}  // namespace

TEST(OneriSiralamasi, YazilanlarOnceSonraFrekansEsitlerdeYerImi) {
    std::vector<SayfaKaydi> gecmis;
    ziyaret_et(gecmis, "Ornek Haber", "https://haber.ornek.com/", 3, 1);      // 3 x 100
    ziyaret_et(gecmis, "Maclar", "https://spor.ornek.com/maclar", 5, 60);     // 5 x 30
    ziyaret_et(gecmis, "Kitaplar", "https://ornek.com/kitap", 3, 2);          // 3 x 100, bookmarked
    ziyaret_et(gecmis, "Yazilan", "https://ornek.org/yazilan", 1, 200);       // 1 x 10, typed
    ziyaret_et(gecmis, "ŞEHİR Rehberi", "https://baska.net/", 10, 0);        // no "ornek"
    ziyaret_et(gecmis, "Eski", "https://www.ornek.com.tr/eski", 1, 20);       // 1 x 50
    const std::vector<SayfaKaydi> yer_imleri = {{"Kitap", "https://ornek.com/kitap", 1},
                                                {"Yer imi", "https://ornek.net/yer-imi", 2}};  // never visited
    OneriDizini dizin;
    dizin.kur(gecmis, yer_imleri, {{korva::yazilan_anahtari("ornek.org/yazilan"), 1}}, kSimdi);

    const std::vector<std::string> beklenen = {"https://ornek.org/yazilan", "https://ornek.com/kitap",
                                               "https://haber.ornek.com/", "https://spor.ornek.com/maclar",
                                               "https://www.ornek.com.tr/eski", "https://ornek.net/yer-imi"};
    EXPECT_EQ(beklenen, adresler(dizin, "ORNEK"));
    EXPECT_EQ(std::vector<std::string>(beklenen.begin(), beklenen.begin() + 3), adresler(dizin, "ornek", 3));
    // A text that grew is searched among the last matches, with the same order.
    EXPECT_EQ((std::vector<std::string>{"https://ornek.com/kitap", "https://haber.ornek.com/",
                                        "https://spor.ornek.com/maclar", "https://www.ornek.com.tr/eski"}),
              adresler(dizin, "ornek.co"));
    // Titles too, Turkish letters in either case; a visit's row shows its newest title.
    EXPECT_EQ(std::vector<std::string>{"https://baska.net/"}, adresler(dizin, "şehir"));
    EXPECT_EQ(std::vector<std::string>{"https://baska.net/"}, adresler(dizin, "Şehİr"));
    EXPECT_TRUE(adresler(dizin, "sehir").empty());
    EXPECT_TRUE(adresler(dizin, "").empty());
    EXPECT_EQ("Kitaplar", dizin.satir(dizin.ara("kitap", 1).at(0)).baslik);

    // Typed from the entry now: the old page goes above the bookmark, and among the
    // typed ones frecency decides.
    dizin.yazildi(korva::yazilan_anahtari("https://www.ornek.com.tr/eski"));
    EXPECT_EQ((std::vector<std::string>{"https://www.ornek.com.tr/eski", "https://ornek.org/yazilan"}),
              adresler(dizin, "ornek", 2));

    EXPECT_EQ(300, korva::frekans_puani(3, kSimdi - 4 * kGun, kSimdi));
    EXPECT_EQ(210, korva::frekans_puani(3, kSimdi - 5 * kGun, kSimdi));
    EXPECT_EQ(10, korva::frekans_puani(1, 0, kSimdi));
    EXPECT_EQ(0, korva::frekans_puani(0, kSimdi, kSimdi));
}

TEST(SatirIciTamamlama, YazilanAdresinBasiysaOnceHostSonraYol) {
    std::vector<SayfaKaydi> gecmis;
    ziyaret_et(gecmis, "Haber", "https://www.ornek.com.tr/haber/1", 2, 1);
    ziyaret_et(gecmis, "Panel", "http://localhost:8080/panel", 1, 1);
    ziyaret_et(gecmis, "Ornek", "https://ornek.org/", 1, 100);
    ziyaret_et(gecmis, "Kitap", "https://kitap.example/a/b?c=d", 1, 1);
    ziyaret_et(gecmis, "Ikinci", "http://127.0.0.1:8000/ikinci.html", 3, 1);
    ziyaret_et(gecmis, "Ikinci sorulu", "http://127.0.0.1:8000/ikinci.html?x=1", 9, 1);
    OneriDizini dizin;
    dizin.kur(gecmis, {{"Yer imi", "https://yerimi.test/", 1}}, {{"ornek.org", 1}}, kSimdi);

    struct Durum {
        const char* yazilan;
        const char* beklenen;  // "" for none
    };
    const Durum durumlar[] = {
        {"orn", "ornek.org"},               // the typed one before the more visited
        {"Orn", "Ornek.org"},               // what the user typed stays as typed
        {"ornek.c", "ornek.com.tr"},        // the host first...
        {"ornek.com.tr/h", "ornek.com.tr/haber/1"},  // ...then the path
        {"www.orn", "www.ornek.org"},
        {"https://orn", "https://ornek.org"},
        {"http://orn", ""},                 // no address of that scheme
        {"local", "localhost:8080"},
        {"localhost:8080/p", "localhost:8080/panel"},
        {"kitap.example/a", "kitap.example/a/b?c=d"},
        {"127.0.0.1:8000/ik", "127.0.0.1:8000/ikinci.html?x=1"},
        {"http://127.0.0.1:8000/", ""},     // a "/" just typed: the user goes on or goes there
        {"127.0.0.1:8000/ikinci.html", ""},  // an address opened before, as it is
        {"localhost:8080", ""},             // the host typed whole
        {"ornek.org", ""},                  // nothing left to add
        {"yer", ""},                        // a bookmark never opened
        {"hava durumu", ""},
        {"xyz", ""},
        {"", ""},
        {"https://", ""},
    };
    for (const Durum& durum : durumlar) EXPECT_EQ(durum.beklenen, dizin.tamamla(durum.yazilan)) << durum.yazilan;
}

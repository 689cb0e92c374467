// The remembered site permissions' file: what Korva writes reads back the same,
// and the reader refuses every other input (cut short, wrongly typed, unknown
// kinds or answers, too many, too deep, not UTF-8, another version) without a crash.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "izinler.h"
#include "profil.h"

using korva::IzinKaydi;

namespace {

std::vector<IzinKaydi> ornek() {
    return {{"http://127.0.0.1:8080", 4, true, 1765000000},
            {"https://\xC3\xB6rnek.test", 3, false, 0},
            {"file://", 6, true, 42},
            {"https://a.test", 2, false, 7},
            {"https://a.test", 1, true, 8}};
}

bool ayni(const std::vector<IzinKaydi>& a, const std::vector<IzinKaydi>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].kaynak != b[i].kaynak || a[i].tur != b[i].tur || a[i].izin != b[i].izin || a[i].zaman != b[i].zaman)
            return false;
    }
    return true;
}

std::string tek(const std::string& oge) { return "{\"surum\":1,\"izinler\":[" + oge + "]}"; }

}  // namespace

TEST(IzinOkuyucu, yazilani_aynen_okur_ve_ayni_siteyi_bir_kez_tutar) {
    std::vector<IzinKaydi> okunan;
    ASSERT_TRUE(korva::izinleri_coz(korva::izinleri_yaz(ornek()), okunan));
    EXPECT_TRUE(ayni(ornek(), okunan));
    ASSERT_TRUE(korva::izinleri_coz(korva::izinleri_yaz({}), okunan));
    EXPECT_TRUE(okunan.empty());
    // The same site and kind twice: the later answer; no time is a time of 0.
    ASSERT_TRUE(korva::izinleri_coz(tek("{\"kaynak\":\"https://a.test\",\"tur\":\"konum\",\"karar\":\"izin\"},"
                                        "{\"kaynak\":\"https://a.test\",\"tur\":\"konum\",\"karar\":\"engel\"}"),
                                    okunan));
    ASSERT_EQ(1u, okunan.size());
    EXPECT_FALSE(okunan[0].izin);
    EXPECT_EQ(3, okunan[0].tur);
    EXPECT_EQ(0, okunan[0].zaman);
    EXPECT_STREQ("bildirim gondermek", korva::izin_ifadesi(4));
    EXPECT_EQ(nullptr, korva::izin_ifadesi(5));
}

TEST(IzinOkuyucu, bozuk_her_girdiyi_reddeder_ve_cokmez) {
    const std::string gecerli = korva::izinleri_yaz(ornek());
    const std::string oge = "{\"kaynak\":\"https://a.test\",\"tur\":\"bildirim\",\"karar\":\"izin\",\"zaman\":1}";
    std::vector<std::string> bozuklar = {
        "", "null", "[]", "{}", "\xEF\xBB\xBF", "{\"surum\":1}",
        "{\"surum\":2,\"izinler\":[]}", "{\"surum\":\"1\",\"izinler\":[]}", "{\"surum\":1,\"izinler\":{}}",
        tek("1"), tek("[]"), tek("null"),
        tek("{\"tur\":\"bildirim\",\"karar\":\"izin\"}"),
        tek("{\"kaynak\":\"\",\"tur\":\"bildirim\",\"karar\":\"izin\"}"),
        tek("{\"kaynak\":7,\"tur\":\"bildirim\",\"karar\":\"izin\"}"),
        tek("{\"kaynak\":\"https://a.test\",\"tur\":4,\"karar\":\"izin\"}"),
        tek("{\"kaynak\":\"https://a.test\",\"tur\":\"ses\",\"karar\":\"izin\"}"),
        tek("{\"kaynak\":\"https://a.test\",\"tur\":\"bildirim\",\"karar\":\"belki\"}"),
        tek("{\"kaynak\":\"https://a.test\",\"tur\":\"bildirim\",\"karar\":true}"),
        tek("{\"kaynak\":\"https://a.test\",\"tur\":\"bildirim\",\"karar\":\"izin\",\"zaman\":\"1\"}"),
        tek("{\"kaynak\":\"https://a.test\",\"tur\":\"bildirim\",\"karar\":\"izin\",\"zaman\":1.5}"),
        tek("{\"kaynak\":\"https://a.test/\xC3\x28\",\"tur\":\"bildirim\",\"karar\":\"izin\"}"),   // invalid UTF-8
        tek("{\"kaynak\":\"https://a.test/\xED\xA0\x80\",\"tur\":\"bildirim\",\"karar\":\"izin\"}"),  // a surrogate
        tek("{\"kaynak\":\"https://" + std::string(korva::kAdresSiniri, 'a') + "\",\"tur\":\"bildirim\",\"karar\":\"izin\"}"),
        tek("{\"kaynak\":\"https://a.test\",\"tur\":\"bildirim\",\"karar\":\"izin\",\"x\":" + std::string(8, '[') +
            std::string(8, ']') + "}"),
        std::string(100000, '[') + std::string(100000, ']'),
        std::string(2 * 1024 * 1024, ' ') + tek(oge),
    };
    for (size_t boy = 0; boy + 2 < gecerli.size(); boy += 3) bozuklar.push_back(gecerli.substr(0, boy));
    std::string cok = oge;
    for (size_t i = 0; i < korva::kIzinSiniri; ++i) cok += "," + oge;
    bozuklar.push_back(tek(cok));
    for (size_t i = 0; i < bozuklar.size(); ++i) {
        std::vector<IzinKaydi> okunan = ornek();
        EXPECT_FALSE(korva::izinleri_coz(bozuklar[i], okunan)) << "input " << i;
        EXPECT_TRUE(okunan.empty()) << "input " << i;
    }

    // Random damage to a valid file: read or refused, never a crash; what is read
    // holds only kinds Korva asks about.
    std::mt19937 rastgele(20261208);
    int okunanlar = 0;
    for (int deneme = 0; deneme < 3000; ++deneme) {
        std::string bayt = gecerli;
        for (int k = 0; k < 1 + deneme % 4; ++k) bayt[rastgele() % bayt.size()] = static_cast<char>(rastgele() % 256);
        std::vector<IzinKaydi> okunan;
        if (!korva::izinleri_coz(bayt, okunan)) continue;
        ++okunanlar;
        for (const IzinKaydi& kayit : okunan) EXPECT_NE(nullptr, korva::izin_ifadesi(kayit.tur));
    }
    EXPECT_LT(okunanlar, 3000);
}

// The kept session's file: what Korva writes reads back the same, and the reader
// refuses every other input (cut short, wrongly typed, too large or too deep, not
// UTF-8, another version, addresses that may not be kept) without a crash.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "oturum.h"
#include "profil.h"

using korva::Oturum;
using korva::OturumSekmesi;

namespace {

Oturum ornek() {
    Oturum oturum;
    oturum.sekmeler = {{"https://ornek.test/haber?a=1&b=\"2\"", "Haberler \xC3\xA7\xC4\xB1kt\xC4\xB1", 150},
                       {"", "", 100},
                       {"view-source:file:///Z:/yol/sayfa.html", "", 25}};
    oturum.secili = 2;
    return oturum;
}

bool ayni(const Oturum& a, const Oturum& b) {
    if (a.secili != b.secili || a.sekmeler.size() != b.sekmeler.size()) return false;
    for (size_t i = 0; i < a.sekmeler.size(); ++i) {
        const OturumSekmesi &x = a.sekmeler[i], &y = b.sekmeler[i];
        if (x.adres != y.adres || x.baslik != y.baslik || x.yakinlik != y.yakinlik) return false;
    }
    return true;
}

std::string tek_sekme(const std::string& sekme, const std::string& secili = "0") {
    return "{\"surum\":1,\"secili\":" + secili + ",\"sekmeler\":[" + sekme + "]}";
}

}  // namespace

TEST(OturumOkuyucu, yazilani_aynen_okur_ve_yalniz_saklanabilir_adresleri_kabul_eder) {
    Oturum okunan;
    ASSERT_TRUE(korva::oturumu_coz(korva::oturumu_yaz(ornek()), okunan));
    EXPECT_TRUE(ayni(ornek(), okunan));
    ASSERT_TRUE(korva::oturumu_coz(korva::oturumu_yaz(Oturum()), okunan));
    EXPECT_TRUE(okunan.sekmeler.empty());
    // Unknown keys are skipped, as in the other profile files.
    EXPECT_TRUE(korva::oturumu_coz(
        tek_sekme("{\"adres\":\"http://a.test/\",\"baslik\":\"\",\"yakinlik\":100,\"yeni\":[1]}"), okunan));

    for (const char* adres : {"http://a.test/", "HTTPS://a.test/", "file:///Z:/a.html", "view-source:https://a.test/"}) {
        EXPECT_TRUE(korva::saklanabilir_adres(adres)) << adres;
    }
    for (const std::string& adres :
         {std::string(), std::string("data:text/html,<p>gizli"), std::string("view-source:data:text/html,x"),
          std::string("about:blank"), std::string("javascript:alert(1)"), std::string("view-source:view-source:http://a/"),
          std::string("ftp://a.test/"), "https://a.test/" + std::string(korva::kAdresSiniri, 'a')}) {
        EXPECT_FALSE(korva::saklanabilir_adres(adres)) << adres.substr(0, 40);
    }
}

TEST(OturumOkuyucu, bozuk_her_girdiyi_reddeder_ve_cokmez) {
    const std::string gecerli = korva::oturumu_yaz(ornek());
    const std::string sekme = "{\"adres\":\"http://a.test/\",\"baslik\":\"b\",\"yakinlik\":100}";
    std::vector<std::string> bozuklar = {
        "", "null", "[]", "{}", "\xEF\xBB\xBF", "{\"surum\":1}",
        "{\"surum\":2,\"secili\":0,\"sekmeler\":[]}",    // a version this Korva does not know
        "{\"surum\":\"1\",\"secili\":0,\"sekmeler\":[]}",
        "{\"surum\":1,\"secili\":0,\"sekmeler\":{}}",
        "{\"surum\":1,\"sekmeler\":[]}",
        tek_sekme(sekme, "1"), tek_sekme(sekme, "-1"), tek_sekme(sekme, "\"0\""), tek_sekme(sekme, "0.0"),
        tek_sekme(sekme, "18446744073709551615"),
        tek_sekme("1"), tek_sekme("[]"),
        tek_sekme("{\"adres\":7,\"baslik\":\"b\",\"yakinlik\":100}"),
        tek_sekme("{\"baslik\":\"b\",\"yakinlik\":100}"),
        tek_sekme("{\"adres\":\"http://a.test/\",\"baslik\":null,\"yakinlik\":100}"),
        tek_sekme("{\"adres\":\"http://a.test/\",\"baslik\":\"b\",\"yakinlik\":\"100\"}"),
        tek_sekme("{\"adres\":\"http://a.test/\",\"baslik\":\"b\",\"yakinlik\":24}"),
        tek_sekme("{\"adres\":\"http://a.test/\",\"baslik\":\"b\",\"yakinlik\":501}"),
        tek_sekme("{\"adres\":\"http://a.test/\",\"baslik\":\"b\",\"yakinlik\":100.5}"),
        tek_sekme("{\"adres\":\"data:text/html,x\",\"baslik\":\"b\",\"yakinlik\":100}"),
        tek_sekme("{\"adres\":\"http://a.test/\",\"baslik\":\"\xC3\x28\",\"yakinlik\":100}"),   // invalid UTF-8
        tek_sekme("{\"adres\":\"http://a.test/\xED\xA0\x80\",\"baslik\":\"\",\"yakinlik\":100}"),  // a surrogate
        tek_sekme("{\"adres\":\"http://a.test/\",\"baslik\":\"" + std::string(korva::kBaslikSiniri + 1, 'u') +
                  "\",\"yakinlik\":100}"),
        tek_sekme("{\"adres\":\"http://a.test/\",\"baslik\":\"b\",\"yakinlik\":100,\"x\":" + std::string(6, '[') +
                  std::string(6, ']') + "}"),
        std::string(100000, '[') + std::string(100000, ']'),
        std::string(korva::kOturumDosyaSiniri + 1, ' ') + tek_sekme(sekme),
    };
    // Every cut of a valid file.
    for (size_t boy = 0; boy + 2 < gecerli.size(); boy += 3) bozuklar.push_back(gecerli.substr(0, boy));
    // One tab over the bound.
    std::string cok = sekme;
    for (size_t i = 0; i < korva::kOturumSekmeSiniri; ++i) cok += "," + sekme;
    bozuklar.push_back(tek_sekme(cok));
    for (size_t i = 0; i < bozuklar.size(); ++i) {
        Oturum okunan = ornek();
        EXPECT_FALSE(korva::oturumu_coz(bozuklar[i], okunan)) << "input " << i;
        EXPECT_TRUE(okunan.sekmeler.empty()) << "input " << i;
        EXPECT_EQ(0, okunan.secili) << "input " << i;
    }

    // Random damage to a valid file: read or refused, never a crash, and what is
    // read has a selection among its tabs.
    std::mt19937 rastgele(20261208);
    int okunanlar = 0;
    for (int deneme = 0; deneme < 3000; ++deneme) {
        std::string bayt = gecerli;
        for (int k = 0; k < 1 + deneme % 4; ++k) bayt[rastgele() % bayt.size()] = static_cast<char>(rastgele() % 256);
        Oturum okunan;
        if (!korva::oturumu_coz(bayt, okunan)) continue;
        ++okunanlar;
        EXPECT_LT(okunan.secili, static_cast<int64_t>(okunan.sekmeler.size()));
    }
    EXPECT_LT(okunanlar, 3000);
}

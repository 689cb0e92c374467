// The address entry's decision between an address and a search, case by case.
#include <gtest/gtest.h>

#include <string>

#include "adres_karari.h"

namespace {

using korva::AdresTuru;

constexpr char kSablon[] = "http://127.0.0.1:9/ara?q=%s";

TEST(AdresKarari, YazilanMetinAdresYaDaAramaOlur) {
    const struct {
        std::string yazilan;
        AdresTuru tur;
        std::string adres;
        std::string yedek;
    } durumlar[] = {
        // Schemes are kept as typed, their letters made small.
        {"http://a.com/x", AdresTuru::adres, "http://a.com/x", ""},
        {"HTTPS://A.com", AdresTuru::adres, "https://A.com", ""},
        {"file:///C:/a.html", AdresTuru::adres, "file:///C:/a.html", ""},
        {"view-source:http://x", AdresTuru::adres, "view-source:http://x", ""},
        {"about:blank", AdresTuru::adres, "about:blank", ""},
        {"data:text/html,<b>hi</b>", AdresTuru::adres, "data:text/html,<b>hi</b>", ""},
        // Local servers: http.
        {"localhost", AdresTuru::adres, "http://localhost", ""},
        {"localhost:3000", AdresTuru::adres, "http://localhost:3000", ""},
        {"127.0.0.1:8080/x", AdresTuru::adres, "http://127.0.0.1:8080/x", ""},
        {"10.0.0.1", AdresTuru::adres, "http://10.0.0.1", ""},
        {"[::1]:8080", AdresTuru::adres, "http://[::1]:8080", ""},
        {"[::1]/yol", AdresTuru::adres, "http://[::1]/yol", ""},
        {"::1", AdresTuru::adres, "http://[::1]/", ""},
        {"sunucu:8080/a", AdresTuru::adres, "http://sunucu:8080/a", ""},
        {"uygulama.localhost", AdresTuru::adres, "http://uygulama.localhost", ""},
        // Dotted names: https, then http once.
        {"example.org/path", AdresTuru::adres, "https://example.org/path", "http://example.org/path"},
        {"  example.org  ", AdresTuru::adres, "https://example.org", "http://example.org"},
        {"\xC3\xA7" "ay.com.tr", AdresTuru::adres, "https://\xC3\xA7" "ay.com.tr", "http://\xC3\xA7" "ay.com.tr"},
        // Everything else is searched, percent-encoded.
        {"hava durumu", AdresTuru::arama, "http://127.0.0.1:9/ara?q=hava%20durumu", ""},
        {"\xC3\xA7" "ay", AdresTuru::arama, "http://127.0.0.1:9/ara?q=%C3%A7ay", ""},
        {"ornek", AdresTuru::arama, "http://127.0.0.1:9/ara?q=ornek", ""},
        {"1.5", AdresTuru::arama, "http://127.0.0.1:9/ara?q=1.5", ""},
        {"c++ & a=b", AdresTuru::arama, "http://127.0.0.1:9/ara?q=c%2B%2B%20%26%20a%3Db", ""},
        {"a\x01" "b.com", AdresTuru::arama, "http://127.0.0.1:9/ara?q=a%01b.com", ""},
        {"javascript:alert(1)", AdresTuru::arama, "http://127.0.0.1:9/ara?q=javascript%3Aalert%281%29", ""},
        {"ftp://a.com", AdresTuru::arama, "http://127.0.0.1:9/ara?q=ftp%3A%2F%2Fa.com", ""},
        {"foo:bar", AdresTuru::arama, "http://127.0.0.1:9/ara?q=foo%3Abar", ""},
        {"a.com:99999", AdresTuru::arama, "http://127.0.0.1:9/ara?q=a.com%3A99999", ""},
        {"-a-.com", AdresTuru::arama, "http://127.0.0.1:9/ara?q=-a-.com", ""},
        {"kisi@ornek.com", AdresTuru::arama, "http://127.0.0.1:9/ara?q=kisi%40ornek.com", ""},
        // Nothing at all.
        {"", AdresTuru::bos, "", ""},
        {" \t\r\n", AdresTuru::bos, "", ""},
    };
    for (const auto& durum : durumlar) {
        const korva::AdresKarari karar = korva::adres_karari(durum.yazilan, kSablon);
        EXPECT_EQ(durum.tur, karar.tur) << durum.yazilan;
        EXPECT_EQ(durum.adres, karar.adres) << durum.yazilan;
        EXPECT_EQ(durum.yedek, karar.yedek_adres) << durum.yazilan;
        EXPECT_FALSE(karar.varsayilan_arama) << durum.yazilan;
    }
}

TEST(AdresKarari, UzunMetinAranirCokUzunuReddedilir) {
    const std::string uzun(10000, 'a');
    const korva::AdresKarari aranan = korva::adres_karari(uzun, kSablon);
    EXPECT_EQ(AdresTuru::arama, aranan.tur);
    EXPECT_EQ(std::string("http://127.0.0.1:9/ara?q=") + uzun, aranan.adres);

    const korva::AdresKarari reddedilen = korva::adres_karari(std::string(korva::kEnUzunAdres, 'b'), kSablon);
    EXPECT_EQ(AdresTuru::cok_uzun, reddedilen.tur);
    EXPECT_EQ(AdresTuru::cok_uzun,
              korva::adres_karari("http://a.com/" + std::string(korva::kEnUzunAdres, 'c'), kSablon).tur);
}

TEST(AdresKarari, GecersizAramaSablonuYerineVarsayilanKullanilir) {
    EXPECT_TRUE(korva::arama_sablonu_gecerli("https://ara.example/?q=%s"));
    for (const char* sablon : {"", "https://ara.example/?q=", "ftp://a/%s", "ara %s", "https://a/?q=%s b"}) {
        EXPECT_FALSE(korva::arama_sablonu_gecerli(sablon)) << sablon;
        const korva::AdresKarari karar = korva::adres_karari("iki kelime", sablon);
        EXPECT_EQ(AdresTuru::arama, karar.tur) << sablon;
        EXPECT_TRUE(karar.varsayilan_arama) << sablon;
        EXPECT_EQ("https://duckduckgo.com/?q=iki%20kelime", karar.adres) << sablon;
    }
}

TEST(AdresKarari, HttpYalnizBaglanilamayincaDenenir) {
    // Refused, reset, aborted (a handshake with a server speaking plain http).
    for (int64_t durum : {6, 8, 9, 10, 12, 16}) EXPECT_TRUE(korva::http_yedegi_denenir_mi(durum)) << durum;
    // Success, certificate errors, no such host, canceled, timeout.
    for (int64_t durum : {-1, 0, 1, 2, 4, 5, 7, 13, 14, 15}) EXPECT_FALSE(korva::http_yedegi_denenir_mi(durum)) << durum;
}

}  // namespace

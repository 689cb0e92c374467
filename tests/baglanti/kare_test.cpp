// Screencast frames without the engine: a frame message cut apart without parsing
// it (chromium/protocol/kare.h, over the scanner in chromium/protocol/json_tarama.h), the scanner
// against the full parser on malformed text, and small JPEGs decoded to BGRA.
#include "json_tarama.h"
#include "kare.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

// Made with ImageMagick: `convert -size 8x4 xc:red -quality 90 -strip`, and a 16x16
// picture red above blue: `convert -size 16x8 xc:red -size 16x8 xc:blue -append
// -sampling-factor 1x1 -quality 95 -strip`.
const char KIRMIZI_8X4[] =
    "/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAMCAgMCAgMDAwMEAwMEBQgFBQQEBQoHBwYIDAoMDAsKCwsNDhIQDQ4RDgsLEBYQERMU"
    "FRUVDA8XGBYUGBIUFRT/2wBDAQMEBAUEBQkFBQkUDQsNFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQU"
    "FBQUFBQUFBT/wAARCAAEAAgDAREAAhEBAxEB/8QAFAABAAAAAAAAAAAAAAAAAAAACP/EABQQAQAAAAAAAAAAAAAAAAAAAAD/xAAV"
    "AQEBAAAAAAAAAAAAAAAAAAAHCf/EABQRAQAAAAAAAAAAAAAAAAAAAAD/2gAMAwEAAhEDEQA/ADoDFU3/2Q==";
const char KIRMIZI_MAVI_16X16[] =
    "/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAIBAQEBAQIBAQECAgICAgQDAgICAgUEBAMEBgUGBgYFBgYGBwkIBgcJBwYGCAsICQoK"
    "CgoKBggLDAsKDAkKCgr/2wBDAQICAgICAgUDAwUKBwYHCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoK"
    "CgoKCgoKCgr/wAARCAAQABADAREAAhEBAxEB/8QAFQABAQAAAAAAAAAAAAAAAAAAAAj/xAAUEAEAAAAAAAAAAAAAAAAAAAAA/8QA"
    "FwEBAQEBAAAAAAAAAAAAAAAAAAoICf/EABQRAQAAAAAAAAAAAAAAAAAAAAD/2gAMAwEAAhEDEQA/AIvZTd/AEhqqE14D/9k=";

// The frame message with its keys in another order than the engine's, escapes and
// nested values before the data, and `veri` as the data's raw text.
std::string ileti(const std::string& veri)
{
    return " {\"\\u0073essionId\" : \"AB\\\"C\\u0044\\/\",\n"
           "  \"params\": {\"metadata\": {\"offsetTop\": 0, \"ic\": {\"a\": [1, {\"b\": \"}\\\"]\"}], \"c\": null},"
           " \"deviceWidth\": 8, \"deviceHeight\": 4.5e0, \"pageScaleFactor\": 1},"
           " \"sessionId\": 42, \"data\": \"" + veri + "\"},\n"
           "  \"\\u006dethod\": \"Page.screencastFrame\", \"ek\": [true, false, null, -1.5E+3, \"\\u00e7\\\\\", {}, []]}\r\n";
}

// A pixel's BGRA bytes.
std::vector<int> piksel(const Kare& kare, int x, int y)
{
    const uint8_t* p = kare.pikseller.data() + (static_cast<size_t>(y) * kare.genislik + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

bool yakin(const std::vector<int>& bgra, int b, int g, int r)
{
    return std::abs(bgra[0] - b) <= 8 && std::abs(bgra[1] - g) <= 8 && std::abs(bgra[2] - r) <= 8 && bgra[3] == 255;
}

std::vector<uint8_t> jpeg_baytlari(const char* base64)
{
    std::vector<uint8_t> bayt;
    EXPECT_TRUE(base64_coz(base64, &bayt));
    return bayt;
}

TEST(KareIletisi, IsCutApartWhateverTheKeysOrderAndEscapes)
{
    KareIletisi kare;
    ASSERT_TRUE(kare_iletisini_ayir(ileti(KIRMIZI_8X4), &kare));
    EXPECT_EQ(kare.oturum, "AB\"CD/");
    EXPECT_EQ(kare.onay, 42);
    EXPECT_EQ(kare.veri, KIRMIZI_8X4);
    EXPECT_EQ(kare.cihaz_genisligi, 8);
    EXPECT_EQ(kare.cihaz_yuksekligi, 4.5);

    // The engine's own order, and no metadata and no session.
    const std::string sade = "{\"method\":\"Page.screencastFrame\",\"params\":{\"data\":\"QUJD\",\"sessionId\":3}}";
    ASSERT_TRUE(kare_iletisini_ayir(sade, &kare));
    EXPECT_EQ(kare.oturum, "");
    EXPECT_EQ(kare.onay, 3);
    EXPECT_EQ(kare.veri, "QUJD");
    EXPECT_EQ(kare.cihaz_genisligi, 0);

    // The scanner agrees with the parser on the message.
    const nlohmann::json json = nlohmann::json::parse(ileti(KIRMIZI_8X4));
    EXPECT_EQ(json["sessionId"], "AB\"CD/");
    EXPECT_EQ(json["method"], "Page.screencastFrame");
}

TEST(KareIletisi, OtherMessagesAreNotFrames)
{
    KareIletisi kare;
    kare.onay = 99;
    const char* olmayanlar[] = {
        "{\"method\":\"Page.frameNavigated\",\"params\":{\"data\":\"QUJD\",\"sessionId\":3}}",
        "{\"id\":5,\"method\":\"Page.screencastFrame\",\"params\":{\"data\":\"QUJD\",\"sessionId\":3}}",
        "{\"method\":7,\"params\":{\"data\":\"QUJD\",\"sessionId\":3}}",
        "{\"method\":\"Page.screencastFrame\"}",
        "{\"method\":\"Page.screencastFrame\",\"params\":[]}",
        "{\"method\":\"Page.screencastFrame\",\"params\":{\"sessionId\":3}}",
        "{\"method\":\"Page.screencastFrame\",\"params\":{\"data\":5,\"sessionId\":3}}",
        "{\"method\":\"Page.screencastFrame\",\"params\":{\"data\":\"QUJD\"}}",
        "{\"method\":\"Page.screencastFrame\",\"params\":{\"data\":\"QUJD\",\"sessionId\":\"3\"}}",
        "{\"method\":\"Page.screencastFrame\",\"params\":{\"data\":\"QUJD\",\"sessionId\":3.5}}",
        "{\"method\":\"Page.screencastFrame\",\"params\":{\"data\":\"QUJD\",\"sessionId\":99999999999999999999}}",
        // The last of a repeated key counts, as with the parser.
        "{\"method\":\"Page.screencastFrame\",\"params\":{\"data\":\"QUJD\",\"sessionId\":3},\"method\":\"X\"}",
        "[\"Page.screencastFrame\"]",
        "\"Page.screencastFrame\"",
        "",
    };
    for (const char* metin : olmayanlar)
        EXPECT_FALSE(kare_iletisini_ayir(metin, &kare)) << metin;
    EXPECT_EQ(kare.onay, 99) << "a refused message changed the result";
}

TEST(KareIletisi, MalformedTextIsRefused)
{
    KareIletisi kare;
    const std::string tam = ileti(KIRMIZI_8X4);
    // Every message cut short.
    for (size_t n = 0; n + 2 < tam.size(); ++n)
        EXPECT_FALSE(kare_iletisini_ayir(std::string_view(tam).substr(0, n), &kare)) << n;
    const char* bozuklar[] = {
        "{\"method\":\"Page.screencastFrame\",\"params\":{\"data\":\"QUJD\",\"sessionId\":3}} x",
        "{\"method\":\"Page.screencastFrame\",\"params\":{\"data\":\"QUJD\",\"sessionId\":3},}",
        "{\"method\":\"Page.screencastFrame\",\"params\":{\"data\":\"QU\\xJD\",\"sessionId\":3}}",
        "{\"method\":\"Page.screencastFrame\",\"params\":{\"data\":\"QU\\u12G4\",\"sessionId\":3}}",
        "{\"method\":\"Page.screencastFrame\",\"params\":{\"data\":\"QU\tJD\",\"sessionId\":3}}",
        "{\"method\":\"Page.screencastFrame\",\"params\":{\"data\":\"QUJD\",\"sessionId\":03}}",
        "{\"method\":\"Page.screencastFrame\",\"params\":{\"data\":\"QUJD\",\"sessionId\":3,\"x\":[}}}",
        "{\"method\":\"Page.screencastFrame\",\"params\":{\"data\":\"QUJD\",\"sessionId\":3,\"x\":tru}}",
        "{\"method\":\"Page.screencastFrame\",\"params\":{\"data\":\"QUJD\",\"sessionId\":3,\"x\":-}}",
        "{\"method\":\"Page.screencastFrame\" \"params\":{\"data\":\"QUJD\",\"sessionId\":3}}",
        "{\"method\":\"Page.screencastFrame\",\"params\":{\"data\":\"QUJD\",\"sessionId\":3}",
        "{\"method\"=\"Page.screencastFrame\",\"params\":{\"data\":\"QUJD\",\"sessionId\":3}}",
        "{method:\"Page.screencastFrame\",\"params\":{\"data\":\"QUJD\",\"sessionId\":3}}",
    };
    for (const char* metin : bozuklar)
        EXPECT_FALSE(kare_iletisini_ayir(metin, &kare)) << metin;
    // Nesting far deeper than the scanner follows, closed or not: refused, no crash.
    const std::string derin = "{\"method\":\"Page.screencastFrame\",\"x\":" + std::string(100000, '[') +
                              std::string(100000, ']') + ",\"params\":{\"data\":\"QUJD\",\"sessionId\":3}}";
    EXPECT_FALSE(kare_iletisini_ayir(derin, &kare));
    EXPECT_FALSE(kare_iletisini_ayir(derin.substr(0, 50000), &kare));
}

// Whether the scanner finds `metin` one well-formed JSON value.
bool tarayici_kabul_eder(const std::string& metin)
{
    size_t i = metin.find_first_not_of(" \t\r\n");
    if (i == std::string::npos)
        return false;
    i = json_deger_sonu(metin, i);
    return i != std::string::npos && metin.find_first_not_of(" \t\r\n", i) == std::string::npos;
}

// Brackets count only outside strings; a quote ends a string unless an odd number of
// backslashes stands before it.
TEST(JsonTarama, DepthIsCountedOutsideStrings)
{
    const std::string ic_ice = std::string(512, '[') + std::string(512, ']');
    EXPECT_FALSE(json_cok_derin(ic_ice, 512));
    EXPECT_TRUE(json_cok_derin("[" + ic_ice + "]", 512));
    const std::string cok = std::string(600, '[');
    EXPECT_FALSE(json_cok_derin("{\"a\":\"" + cok + "\"}", 512));
    EXPECT_FALSE(json_cok_derin("{\"a\":\"\\\"" + cok + "\"}", 512));
    EXPECT_TRUE(json_cok_derin("{\"a\":\"\\\\\"," + cok + "\"}", 512));
    EXPECT_FALSE(json_cok_derin("{\"a\":\"" + cok, 512));
}

TEST(JsonTarama, AgreesWithTheParserOnDamagedMessages)
{
    // Bytes changed at random in the message, from characters that matter to JSON
    // (no 'u' or 'd': no new \u escape, so no lone surrogate the parser refuses).
    const std::string tam = ileti("QUJD");
    const std::string harfler = "{}[]\":,\\ 0123456789-+.eEtrfalsn\t\x01";
    std::mt19937 rastgele(12345);
    int kabul = 0;
    for (int deneme = 0; deneme < 4000; ++deneme) {
        std::string metin = tam;
        const int degisiklik = 1 + deneme % 3;
        for (int k = 0; k < degisiklik; ++k)
            metin[rastgele() % metin.size()] = harfler[rastgele() % harfler.size()];
        const bool beklenen = nlohmann::json::accept(metin);
        ASSERT_EQ(tarayici_kabul_eder(metin), beklenen) << metin;
        kabul += beklenen;
        KareIletisi kare;
        kare_iletisini_ayir(metin, &kare);   // must not crash
    }
    EXPECT_GT(kabul, 100);   // some damage leaves it valid (a digit for a digit)

    std::string acik;
    EXPECT_TRUE(json_dizesi_ac("a\\ud83d\\ude00\\u00e7\\n", &acik));
    EXPECT_EQ(acik, "a\xF0\x9F\x98\x80\xC3\xA7\n");
    EXPECT_FALSE(json_dizesi_ac("\\ud83d", &acik));
    EXPECT_FALSE(json_dizesi_ac("\\ude00", &acik));
    EXPECT_TRUE(json_anahtar_mi("\\u006dethod", "method"));
    EXPECT_FALSE(json_anahtar_mi("method2", "method"));
}

TEST(KareCozucu, ASmallJpegBecomesBgraTopRowFirst)
{
    KareCozucu cozucu;
    KareIletisi ileti_parcalari;
    ASSERT_TRUE(kare_iletisini_ayir(ileti(KIRMIZI_8X4), &ileti_parcalari));
    std::shared_ptr<Kare> kirmizi = cozucu.coz(ileti_parcalari.veri);
    ASSERT_TRUE(kirmizi);
    EXPECT_EQ(kirmizi->genislik, 8);
    EXPECT_EQ(kirmizi->yukseklik, 4);
    ASSERT_EQ(kirmizi->pikseller.size(), 8u * 4 * 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_TRUE(yakin(piksel(*kirmizi, x, y), 0, 0, 255)) << x << "," << y;

    // Red above blue; the data written with \/ escapes, as JSON allows.
    std::string kacisli;
    for (const char* p = KIRMIZI_MAVI_16X16; *p; ++p)
        kacisli += *p == '/' ? std::string("\\/") : std::string(1, *p);
    ASSERT_TRUE(kare_iletisini_ayir(ileti(kacisli), &ileti_parcalari));
    std::shared_ptr<Kare> iki_renk = cozucu.coz(ileti_parcalari.veri);
    ASSERT_TRUE(iki_renk);
    EXPECT_EQ(iki_renk->genislik, 16);
    EXPECT_EQ(iki_renk->yukseklik, 16);
    EXPECT_TRUE(yakin(piksel(*iki_renk, 0, 0), 0, 0, 255));
    EXPECT_TRUE(yakin(piksel(*iki_renk, 15, 2), 0, 0, 255));
    EXPECT_TRUE(yakin(piksel(*iki_renk, 0, 15), 255, 0, 0));
    EXPECT_TRUE(yakin(piksel(*iki_renk, 12, 12), 255, 0, 0));

    // A released frame is decoded into again.
    const Kare* eski = iki_renk.get();
    iki_renk.reset();
    std::shared_ptr<Kare> yine = cozucu.coz(KIRMIZI_MAVI_16X16);
    EXPECT_EQ(yine.get(), eski);

    // The old entry point, and a frame that outlives its decoder.
    Kare kare;
    ASSERT_TRUE(kareyi_coz(KIRMIZI_8X4, &kare));
    EXPECT_EQ(kare.genislik, 8);
    EXPECT_TRUE(yakin(piksel(kare, 7, 3), 0, 0, 255));
    std::shared_ptr<Kare> kalan;
    {
        KareCozucu gecici;
        kalan = gecici.coz(KIRMIZI_8X4);
    }
    ASSERT_TRUE(kalan);
    EXPECT_TRUE(yakin(piksel(*kalan, 0, 0), 0, 0, 255));
    kalan.reset();
}

TEST(KareCozucu, BadDataIsRefused)
{
    KareCozucu cozucu;
    Kare kare;
    const std::string tam = KIRMIZI_8X4;
    // Base64 that is not: one character too many, a foreign one, padding inside.
    EXPECT_FALSE(cozucu.coz(tam.substr(0, tam.size() - 3), &kare));
    EXPECT_FALSE(cozucu.coz("QU*D" + tam, &kare));
    EXPECT_FALSE(cozucu.coz("QQ==" + tam, &kare));
    EXPECT_FALSE(cozucu.coz("", &kare));
    EXPECT_FALSE(cozucu.coz("QU\\x", &kare));
    // Base64 of what is not a JPEG.
    EXPECT_FALSE(cozucu.coz("aGVsbG8sIHdvcmxk", &kare));
    EXPECT_FALSE(cozucu.coz("/9k=", &kare));   // only an end marker
    EXPECT_EQ(cozucu.coz("aGVsbG8sIHdvcmxk"), nullptr);

    // A JPEG cut short anywhere.
    const std::vector<uint8_t> jpeg = jpeg_baytlari(KIRMIZI_8X4);
    for (size_t n = 0; n < jpeg.size(); ++n)
        EXPECT_FALSE(cozucu.jpeg_coz(jpeg.data(), n, &kare)) << n;
    EXPECT_EQ(kare.genislik, 0) << "a refused frame changed the result";

    // Absurd sizes in the frame header (SOF0: FF C0, length, precision, height, width).
    std::vector<uint8_t> buyuk = jpeg;
    size_t sof = 0;
    for (size_t i = 0; i + 1 < buyuk.size(); ++i)
        if (buyuk[i] == 0xFF && buyuk[i + 1] == 0xC0) {
            sof = i;
            break;
        }
    ASSERT_GT(sof, 0u);
    for (int boyut : {60000, 30000, 0}) {
        buyuk[sof + 5] = buyuk[sof + 7] = static_cast<uint8_t>(boyut >> 8);
        buyuk[sof + 6] = buyuk[sof + 8] = static_cast<uint8_t>(boyut);
        EXPECT_FALSE(cozucu.jpeg_coz(buyuk.data(), buyuk.size(), &kare)) << boyut;
    }

    // Still fine afterwards.
    EXPECT_TRUE(cozucu.jpeg_coz(jpeg.data(), jpeg.size(), &kare));
    EXPECT_EQ(kare.genislik, 8);

    // Picture data cut off by a marker, the end marker still in place: the decoder
    // would make up the rest, so the frame is refused and the one before stays.
    std::vector<uint8_t> kesik = jpeg_baytlari(KIRMIZI_MAVI_16X16);
    size_t sos = 0;
    for (size_t i = 0; i + 3 < kesik.size() && sos == 0; ++i)
        if (kesik[i] == 0xFF && kesik[i + 1] == 0xDA)
            sos = i + 2 + (kesik[i + 2] << 8 | kesik[i + 3]);
    ASSERT_GT(sos, 0u);
    kesik.erase(kesik.begin() + static_cast<std::ptrdiff_t>(sos), kesik.end() - 2);
    const std::vector<uint8_t> onceki = kare.pikseller;
    EXPECT_FALSE(cozucu.jpeg_coz(kesik.data(), kesik.size(), &kare));
    EXPECT_EQ(kare.genislik, 8);
    EXPECT_TRUE(kare.pikseller == onceki);
}

}  // namespace

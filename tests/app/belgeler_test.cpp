// The browser's two documents as a reader of them sees them: the start page's
// structure, links and title, and the theme's size and rules.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "korva.h"

namespace {

std::vector<std::string> parcalar_arasi(const std::string& metin, const std::string& bas,
                                        const std::string& son) {
    std::vector<std::string> sonuc;
    size_t konum = 0;
    while ((konum = metin.find(bas, konum)) != std::string::npos) {
        konum += bas.size();
        size_t bitis = metin.find(son, konum);
        if (bitis == std::string::npos) break;
        sonuc.push_back(metin.substr(konum, bitis - konum));
        konum = bitis + son.size();
    }
    return sonuc;
}

bool yalniz_ascii_tek_satir(const char* metin) {
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(metin); *p; ++p) {
        if (*p >= 0x80 || *p == '\n' || *p == '\r') return false;
    }
    return true;
}

}  // namespace

TEST(Belgeler, KoyuTemaYirmiUcKuraldanOlusurVe1707Bayttir) {
    const std::string tema = KOYU_TEMA;
    EXPECT_EQ(1707u, tema.size());
    EXPECT_TRUE(yalniz_ascii_tek_satir(KOYU_TEMA));

    // Rules are "selector{declarations}" separated by exactly one space.
    std::vector<std::string> kurallar;
    size_t bas = 0;
    while (bas < tema.size()) {
        size_t son = tema.find('}', bas);
        ASSERT_NE(std::string::npos, son);
        kurallar.push_back(tema.substr(bas, son + 1 - bas));
        bas = son + 1;
        if (bas < tema.size()) {
            ASSERT_EQ(' ', tema[bas]) << "after rule " << kurallar.size();
            ++bas;
        }
    }
    ASSERT_EQ(23u, kurallar.size());
    EXPECT_EQ("window{background:#1e1e2e}", kurallar[0]);
    EXPECT_EQ(".adres-cubugu:focus{border-color:#89b4fa;background:#1e1e2e}", kurallar[8]);
    EXPECT_EQ("notebook tab:hover:not(:checked){background:#181825;color:#a6adc8}", kurallar[13]);
    EXPECT_EQ("progressbar progress{min-height:3px;background:#89b4fa;border-radius:0}",
              kurallar[22]);
    for (const std::string& kural : kurallar) {
        EXPECT_EQ(std::string::npos, kural.find(";}")) << kural;
        EXPECT_EQ(std::string::npos, kural.find(": ")) << kural;
    }
    // The classes the interface attaches all have rules, except "progress-thin".
    for (const char* sinif : {".toolbar{", ".adres-cubugu{", ".sidebar{", ".kenar-panel{",
                              ".kenar-panel-baslik{", ".statusbar{"}) {
        EXPECT_NE(std::string::npos, tema.find(sinif)) << sinif;
    }
    EXPECT_EQ(std::string::npos, tema.find("progress-thin"));
}

TEST(Belgeler, BaslangicSayfasiSekizKartVeBaslikTasirBetikTasimaz) {
    const std::string sayfa = HIZLI_ERISIM;
    EXPECT_TRUE(yalniz_ascii_tek_satir(HIZLI_ERISIM));
    EXPECT_EQ(0u, sayfa.find("<!DOCTYPE html><html><head><meta charset='utf-8'>"));
    EXPECT_NE(std::string::npos, sayfa.find("<head><meta charset='utf-8'><title>Hizli Erisim</title><style>*{margin:0;padding:0;box-sizing:border-box}body{"));
    EXPECT_NE(std::string::npos,
              sayfa.find("</style></head><body><h1>KORVA</h1><p class='sub'>Hizli Erisim</p><div class='grid'><a "));
    EXPECT_NE(std::string::npos,
              sayfa.find("</a></div><p class='ft'>Telmurak Programlama Dili ile gelistirilmistir</p></body></html>"));
    EXPECT_EQ(sayfa.size() - strlen("</body></html>"), sayfa.rfind("</body></html>"));
    EXPECT_EQ(std::string::npos, sayfa.find("<script"));
    EXPECT_EQ(1u, parcalar_arasi(sayfa, "<title>", "</title>").size());

    const std::vector<std::string> hedefler = parcalar_arasi(sayfa, "<a class='card' href='", "'>");
    const std::vector<std::string> etiketler = parcalar_arasi(sayfa, "<span>", "</span></a>");
    const std::vector<std::string> renkler = parcalar_arasi(sayfa, "style='background:", "'>");
    ASSERT_EQ(8u, parcalar_arasi(sayfa, "<a ", ">").size());
    ASSERT_EQ(8u, hedefler.size());
    ASSERT_EQ(8u, etiketler.size());
    ASSERT_EQ(8u, renkler.size());
    const char* const beklenen_etiketler[] = {"Google", "YouTube", "GitHub", "X",
                                              "Wikipedia", "Reddit", "Telmurak", "Gmail"};
    const char* const beklenen_renkler[] = {"#4285f4", "#ff0000", "#8b5cf6", "#1d9bf0",
                                            "#636978", "#ff4500", "#f38ba8", "#ea4335"};
    const char* const beklenen_harfler = "GYHXWRTM";
    const char* const beklenen_alanlar[] = {"google.com", "youtube.com", "github.com", "x.com",
                                            "wikipedia.org", "reddit.com", "telmurak", "mail.google.com"};
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(beklenen_etiketler[i], etiketler[i]);
        EXPECT_EQ(beklenen_renkler[i], renkler[i]);
        EXPECT_NE(std::string::npos, sayfa.find(std::string("'>") + beklenen_harfler[i] + "</div><span>" +
                                                beklenen_etiketler[i] + "</span>"));
        EXPECT_EQ(0u, hedefler[i].find("https://")) << hedefler[i];
        EXPECT_NE(std::string::npos, hedefler[i].find(beklenen_alanlar[i])) << hedefler[i];
    }
}

// Page operations against either engine: history; title and address; the loading
// state and the read-and-clear page events; and, where only the stand-in's call log
// shows it, what the engine receives for a typed address, HTML text, scripts and
// zoom steps.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "webview/webgorunum_win_cz.h"
#include "yardimci.h"

namespace {

// A fresh web view and the engine's number for its controller.
struct Gorunum {
    int64_t id = -1;
    int denetleyici = -1;
};

Gorunum yeni_gorunum() {
    motoru_hazirla();
    Gorunum gorunum;
    gorunum.id = _tr_webgorunum_olustur();
    gorunum.denetleyici = son_denetleyici();
    return gorunum;
}

std::string son_satir(int denetleyici, const std::string& yontem) {
    std::string son;
    for (const std::string& satir : gorunum_satirlari(denetleyici)) {
        if (satir.rfind(yontem, 0) == 0) son = satir.substr(yontem.size());
    }
    return son;
}

int satir_sayisi(int denetleyici, const std::string& yontem) {
    int sayi = 0;
    for (const std::string& satir : gorunum_satirlari(denetleyici)) {
        if (satir.rfind(yontem, 0) == 0) ++sayi;
    }
    return sayi;
}

std::string baslik(int64_t id) { return metin_al_birak(_tr_webgorunum_baslik_al(id)); }
std::string adres(int64_t id) { return metin_al_birak(_tr_webgorunum_adres_al(id)); }

// The title may come before or after the navigation's completion.
bool baslik_olur(int64_t id, const std::string& beklenen) {
    return pompala_kadar([&] { return baslik(id) == beklenen; });
}

// Waits for a completed navigation and takes its report.
bool yuklenmeyi_bekle(int64_t id) {
    return pompala_kadar([&] { return _tr_webgorunum_yuklenme_yuzdesi(id) == 100; }) &&
           _tr_webgorunum_yuklenme_bitti_mi(id) == 1;
}

int64_t yukle(int64_t id, const std::string& metin) {
    return _tr_webgorunum_yukle(id, metin.data(), static_cast<int64_t>(metin.size()));
}
int64_t html_yukle(int64_t id, const std::string& metin) {
    return _tr_webgorunum_html_yukle(id, metin.data(), static_cast<int64_t>(metin.size()));
}
int64_t betik(int64_t id, const std::string& metin) {
    return _tr_webgorunum_js_calistir(id, metin.data(), static_cast<int64_t>(metin.size()));
}

// A page written to a file of this process's own; its file:///C:/... address.
std::string dosya_sayfasi(const wchar_t* ad, const char* icerik) {
    const std::wstring yol = gecici_klasor(L"sayfa") + L"\\" + ad;
    std::ofstream(yol.c_str()) << icerik;
    std::string adres = "file:///";
    for (const wchar_t c : yol) adres += c == L'\\' ? '/' : static_cast<char>(c);
    return adres;
}

}  // namespace

TEST(Sayfa, YazilanAdresMotoraDuzeltilmisGider) {
    YALNIZ_VEKIL_MOTORLA("the text the engine receives is read from its call log");
    const Gorunum gorunum = yeni_gorunum();
    ASSERT_GE(gorunum.id, 0);
    const struct {
        std::string yazilan;
        std::string giden;
    } durumlar[] = {
        {"abc", "https://abc"},
        {"example.com", "https://example.com"},
        {"HTTP://A.COM", "https://HTTP://A.COM"},
        {"Https://b.com", "https://Https://b.com"},
        {" http://c.com", "https:// http://c.com"},
        {"ftp://d.com", "https://ftp://d.com"},
        {"mailto:a@b.com", "https://mailto:a@b.com"},
        {"data:text/html,hi", "data:text/html,hi"},
        {"view-source:http://h.com/", "view-source:http://h.com/"},
        {"javascript:void(0)", "https://javascript:void(0)"},
        {"iki kelime", "https://iki kelime"},
        {"http:/", "https://http:/"},
        {"", "https://"},
        {"http://e.com", "http://e.com"},
        {"https://f.com/yol?q=1", "https://f.com/yol?q=1"},
        {"file:///C:/sayfa.html", "file:///C:/sayfa.html"},
        {"about:blank", "about:blank"},
        {"about:", "about:"},
        {std::string("abc\0def", 7), "https://abc"},
        {std::string("http://g.com\0/gizli", 19), "http://g.com"},
        {"ğüşiöç.com", "https://ğüşiöç.com"},
    };
    for (const auto& durum : durumlar) {
        EXPECT_EQ(yukle(gorunum.id, durum.yazilan), 0) << durum.yazilan;
        EXPECT_EQ(son_satir(gorunum.denetleyici, "Navigate "), durum.giden) << durum.yazilan;
    }
    // Only the given length is read; no pointer is the empty text.
    EXPECT_EQ(_tr_webgorunum_yukle(gorunum.id, "https://uzun.com", 5), 0);
    EXPECT_EQ(son_satir(gorunum.denetleyici, "Navigate "), "https://https");
    EXPECT_EQ(_tr_webgorunum_yukle(gorunum.id, nullptr, 12), 0);
    EXPECT_EQ(son_satir(gorunum.denetleyici, "Navigate "), "https://");
    EXPECT_EQ(_tr_webgorunum_yukle(gorunum.id, "about:blank", -4), 0);
    EXPECT_EQ(son_satir(gorunum.denetleyici, "Navigate "), "https://");

    EXPECT_EQ(yukle(-1, "about:blank"), -1);
    EXPECT_EQ(yukle(256, "about:blank"), -1);
}

TEST(Sayfa, HtmlMetniVeBetik) {
    const Gorunum gorunum = yeni_gorunum();
    ASSERT_GE(gorunum.id, 0);
    // HTML text is handed over up to a zero byte, in UTF-16 units.
    EXPECT_EQ(html_yukle(gorunum.id, std::string("<b>ğx</b>\0<i>y</i>", 19)), 0);
    if (gunluk_var()) {
        EXPECT_EQ(son_satir(gorunum.denetleyici, "NavigateToString "), "9");
    }
    ASSERT_TRUE(yuklenmeyi_bekle(gorunum.id));

    // A script is handed over and its effect shows later; no result comes back.
    EXPECT_EQ(betik(gorunum.id, "document.title = 'Betik'"), 0);
    if (gunluk_var()) {
        EXPECT_EQ(son_satir(gorunum.denetleyici, "ExecuteScript "), "document.title = 'Betik'");
    }
    EXPECT_TRUE(pompala_kadar([&] { return baslik(gorunum.id) == "Betik"; }));
    EXPECT_EQ(betik(gorunum.id, "location.href = 'about:blank'"), 0);
    EXPECT_TRUE(pompala_kadar([&] { return baslik(gorunum.id) == "about:blank"; }));

    EXPECT_EQ(html_yukle(-1, "<p>x</p>"), -1);
    EXPECT_EQ(betik(-1, "1"), -1);
    EXPECT_EQ(betik(256, "1"), -1);
}

TEST(Sayfa, GecmisBaslikVeAdres) {
    const Gorunum gorunum = yeni_gorunum();
    ASSERT_GE(gorunum.id, 0);
    // Nothing to go back or forward to: refused without asking the engine to move.
    EXPECT_EQ(_tr_webgorunum_geri(gorunum.id), -1);
    EXPECT_EQ(_tr_webgorunum_ileri(gorunum.id), -1);
    if (gunluk_var()) {
        EXPECT_EQ(satir_sayisi(gorunum.denetleyici, "GoBack"), 0);
        EXPECT_EQ(satir_sayisi(gorunum.denetleyici, "GoForward"), 0);
    }

    ASSERT_EQ(html_yukle(gorunum.id, "<title>Türkçe başlık</title><p>bir</p>"), 0);
    ASSERT_TRUE(yuklenmeyi_bekle(gorunum.id));
    EXPECT_TRUE(baslik_olur(gorunum.id, "Türkçe başlık")) << baslik(gorunum.id);
    EXPECT_EQ(adres(gorunum.id), "about:blank");
    EXPECT_EQ(_tr_webgorunum_geri_gidebilir_mi(gorunum.id), 0);

    // (Another address than about:blank: an engine may take a load of the address
    // shown for a reload, which makes no entry.)
    const std::string dosya = dosya_sayfasi(L"gecmis.html", "<title>Dosya</title><p>iki</p>");
    ASSERT_EQ(yukle(gorunum.id, dosya), 0);
    ASSERT_TRUE(yuklenmeyi_bekle(gorunum.id));
    EXPECT_TRUE(baslik_olur(gorunum.id, "Dosya")) << baslik(gorunum.id);
    EXPECT_EQ(adres(gorunum.id), dosya);
    EXPECT_EQ(_tr_webgorunum_geri_gidebilir_mi(gorunum.id), 1);
    EXPECT_EQ(_tr_webgorunum_ileri_gidebilir_mi(gorunum.id), 0);

    EXPECT_EQ(_tr_webgorunum_geri(gorunum.id), 0);
    ASSERT_TRUE(yuklenmeyi_bekle(gorunum.id));
    EXPECT_TRUE(baslik_olur(gorunum.id, "Türkçe başlık")) << baslik(gorunum.id);
    EXPECT_EQ(_tr_webgorunum_ileri_gidebilir_mi(gorunum.id), 1);
    EXPECT_EQ(_tr_webgorunum_ileri(gorunum.id), 0);
    ASSERT_TRUE(yuklenmeyi_bekle(gorunum.id));
    EXPECT_TRUE(baslik_olur(gorunum.id, "Dosya")) << baslik(gorunum.id);
    EXPECT_EQ(_tr_webgorunum_yenile(gorunum.id), 0);
    EXPECT_EQ(_tr_webgorunum_durdur(gorunum.id), 0);
    if (gunluk_var()) {
        const std::vector<std::string> satirlar = gorunum_satirlari(gorunum.denetleyici);
        EXPECT_EQ(satir_sayisi(gorunum.denetleyici, "GoBack"), 1);
        EXPECT_EQ(satir_sayisi(gorunum.denetleyici, "GoForward"), 1);
        ASSERT_GE(satirlar.size(), 2u);
        EXPECT_EQ(satirlar[satirlar.size() - 2], "Reload");
        EXPECT_EQ(satirlar.back(), "Stop");
    }

    for (const int64_t yanlis : {int64_t{-1}, int64_t{256}, INT64_MIN}) {
        EXPECT_EQ(_tr_webgorunum_geri(yanlis), -1);
        EXPECT_EQ(_tr_webgorunum_ileri(yanlis), -1);
        EXPECT_EQ(_tr_webgorunum_yenile(yanlis), -1);
        EXPECT_EQ(_tr_webgorunum_durdur(yanlis), -1);
        EXPECT_EQ(_tr_webgorunum_geri_gidebilir_mi(yanlis), 0);
        EXPECT_EQ(_tr_webgorunum_ileri_gidebilir_mi(yanlis), 0);
        const TrMetin yok_baslik = _tr_webgorunum_baslik_al(yanlis);
        const TrMetin yok_adres = _tr_webgorunum_adres_al(yanlis);
        EXPECT_TRUE(yok_baslik.ptr == nullptr && yok_baslik.len == 0);
        EXPECT_TRUE(yok_adres.ptr == nullptr && yok_adres.len == 0);
    }
}

TEST(Sayfa, YuklenmeDurumuVeOlayBayraklari) {
    const Gorunum gorunum = yeni_gorunum();
    ASSERT_GE(gorunum.id, 0);
    // A new view counts as loading until a navigation completes.
    EXPECT_EQ(_tr_webgorunum_yukleniyor_mu(gorunum.id), 1);
    EXPECT_EQ(_tr_webgorunum_yuklenme_yuzdesi(gorunum.id), 50);

    ASSERT_EQ(html_yukle(gorunum.id, "<title>Bir</title>"), 0);
    ASSERT_TRUE(pompala_kadar([&] { return _tr_webgorunum_yuklenme_yuzdesi(gorunum.id) == 100; }));
    EXPECT_EQ(_tr_webgorunum_yukleniyor_mu(gorunum.id), 0);
    EXPECT_EQ(_tr_webgorunum_yuklenme_yuzdesi(gorunum.id), 100);
    // Each event is reported once.
    EXPECT_EQ(_tr_webgorunum_yuklenme_bitti_mi(gorunum.id), 1);
    EXPECT_EQ(_tr_webgorunum_yuklenme_bitti_mi(gorunum.id), 0);
    EXPECT_EQ(_tr_webgorunum_yukleniyor_mu(gorunum.id), 1);
    EXPECT_EQ(_tr_webgorunum_yuklenme_yuzdesi(gorunum.id), 50);
    EXPECT_EQ(_tr_webgorunum_baslik_degisti_mi(gorunum.id), 1);
    EXPECT_EQ(_tr_webgorunum_baslik_degisti_mi(gorunum.id), 0);
    EXPECT_EQ(_tr_webgorunum_adres_degisti_mi(gorunum.id), 1);
    EXPECT_EQ(_tr_webgorunum_adres_degisti_mi(gorunum.id), 0);

    // Several title changes and two address changes before the queries: one report each.
    const std::string dosya_adresi = dosya_sayfasi(L"iki.html", "<title>Iki</title><p>iki</p>");
    EXPECT_EQ(betik(gorunum.id, "document.title = 'A'"), 0);
    EXPECT_EQ(betik(gorunum.id, "document.title = 'B'"), 0);
    ASSERT_EQ(yukle(gorunum.id, dosya_adresi), 0);
    ASSERT_TRUE(yuklenmeyi_bekle(gorunum.id));
    EXPECT_EQ(baslik(gorunum.id), "Iki");
    ASSERT_EQ(html_yukle(gorunum.id, "<title>Uc</title>"), 0);
    ASSERT_TRUE(yuklenmeyi_bekle(gorunum.id));
    EXPECT_EQ(_tr_webgorunum_baslik_degisti_mi(gorunum.id), 1);
    EXPECT_EQ(_tr_webgorunum_baslik_degisti_mi(gorunum.id), 0);
    EXPECT_EQ(_tr_webgorunum_adres_degisti_mi(gorunum.id), 1);
    EXPECT_EQ(_tr_webgorunum_adres_degisti_mi(gorunum.id), 0);

    // A navigation that fails completes all the same.
    ASSERT_EQ(yukle(gorunum.id, "bilinmeyen.invalid"), 0);
    EXPECT_TRUE(yuklenmeyi_bekle(gorunum.id));
    // A real engine writes the address in its normal form, with a path.
    EXPECT_EQ(adres(gorunum.id).rfind("https://bilinmeyen.invalid", 0), 0u) << adres(gorunum.id);

    for (const int64_t yanlis : {int64_t{-1}, int64_t{256}}) {
        EXPECT_EQ(_tr_webgorunum_yukleniyor_mu(yanlis), 0);
        EXPECT_EQ(_tr_webgorunum_yuklenme_yuzdesi(yanlis), 0);
        EXPECT_EQ(_tr_webgorunum_yuklenme_bitti_mi(yanlis), 0);
        EXPECT_EQ(_tr_webgorunum_baslik_degisti_mi(yanlis), 0);
        EXPECT_EQ(_tr_webgorunum_adres_degisti_mi(yanlis), 0);
    }
}

TEST(Sayfa, YakinlikAdimlari) {
    YALNIZ_VEKIL_MOTORLA("the factors the runtime asks for are read from the call log");
    const Gorunum gorunum = yeni_gorunum();
    ASSERT_GE(gorunum.id, 0);
    const auto son_yakinlik = [&] {
        return std::strtod(son_satir(gorunum.denetleyici, "put_ZoomFactor ").c_str(), nullptr);
    };

    EXPECT_EQ(_tr_webgorunum_yakinlastir(gorunum.id), 0);
    EXPECT_EQ(son_satir(gorunum.denetleyici, "put_ZoomFactor "), "1.1");
    EXPECT_EQ(_tr_webgorunum_yakinlik_sifirla(gorunum.id), 0);
    EXPECT_EQ(son_satir(gorunum.denetleyici, "put_ZoomFactor "), "1");

    // Eight steps out from 1.0 stay just above the threshold, a ninth goes below
    // it, and a tenth changes nothing.
    for (int adim = 0; adim < 8; ++adim) EXPECT_EQ(_tr_webgorunum_uzaklastir(gorunum.id), 0);
    EXPECT_EQ(son_yakinlik(), 0.20000000000000015);
    EXPECT_EQ(_tr_webgorunum_uzaklastir(gorunum.id), 0);
    EXPECT_NEAR(son_yakinlik(), 0.1, 1e-9);
    const int yazilan = satir_sayisi(gorunum.denetleyici, "put_ZoomFactor ");
    EXPECT_EQ(_tr_webgorunum_uzaklastir(gorunum.id), 0);
    EXPECT_EQ(satir_sayisi(gorunum.denetleyici, "put_ZoomFactor "), yazilan);

    // No upper limit of the runtime's own.
    EXPECT_EQ(_tr_webgorunum_yakinlik_sifirla(gorunum.id), 0);
    for (int adim = 0; adim < 60; ++adim) EXPECT_EQ(_tr_webgorunum_yakinlastir(gorunum.id), 0);
    EXPECT_GT(son_yakinlik(), 6.9);
    EXPECT_EQ(_tr_webgorunum_yakinlik_sifirla(gorunum.id), 0);
    EXPECT_EQ(son_satir(gorunum.denetleyici, "put_ZoomFactor "), "1");

    for (const int64_t yanlis : {int64_t{-1}, int64_t{256}}) {
        EXPECT_EQ(_tr_webgorunum_yakinlastir(yanlis), -1);
        EXPECT_EQ(_tr_webgorunum_uzaklastir(yanlis), -1);
        EXPECT_EQ(_tr_webgorunum_yakinlik_sifirla(yanlis), -1);
    }
}

// Writing the page to a file: what is refused before anything is asked of the
// engine, with nothing reported afterwards.
TEST(Sayfa, KayitIstekleriYanlisGirdiyiReddeder) {
    const Gorunum gorunum = yeni_gorunum();
    ASSERT_GE(gorunum.id, 0);
    const std::string tam = "C:\\korva_kayit_yok\\sayfa.pdf", goreli = "sayfa.pdf";
    for (int64_t bilinmeyen : {int64_t{-1}, int64_t{4096}}) {
        EXPECT_EQ(-1, _tr_webgorunum_pdf_yazdir(bilinmeyen, tam.data(), static_cast<int64_t>(tam.size())));
        EXPECT_EQ(-1, _tr_webgorunum_mhtml_kaydet(bilinmeyen, tam.data(), static_cast<int64_t>(tam.size())));
        EXPECT_EQ(0, _tr_webgorunum_kayit_bitti_mi(bilinmeyen));
        EXPECT_EQ(TR_WEBGORUNUM_KAYIT_HATA_YOK, _tr_webgorunum_kayit_hatasi(bilinmeyen));
    }
    EXPECT_EQ(-1, _tr_webgorunum_pdf_yazdir(gorunum.id, nullptr, 10));
    EXPECT_EQ(-1, _tr_webgorunum_pdf_yazdir(gorunum.id, tam.data(), 0));
    EXPECT_EQ(-1, _tr_webgorunum_pdf_yazdir(gorunum.id, goreli.data(), static_cast<int64_t>(goreli.size())));
    EXPECT_EQ(-1, _tr_webgorunum_mhtml_kaydet(gorunum.id, goreli.data(), static_cast<int64_t>(goreli.size())));
    EXPECT_EQ(0, _tr_webgorunum_kayit_bitti_mi(gorunum.id));
    // A folder that is not there: the request ends, failed, once.
    ASSERT_EQ(0, _tr_webgorunum_pdf_yazdir(gorunum.id, tam.data(), static_cast<int64_t>(tam.size())));
    int64_t son = 0;
    EXPECT_TRUE(pompala_kadar([&] {
        if (son == 0) son = _tr_webgorunum_kayit_bitti_mi(gorunum.id);
        return son != 0;
    }));
    EXPECT_EQ(2, son);
    EXPECT_EQ(TR_WEBGORUNUM_KAYIT_YAZILAMIYOR, _tr_webgorunum_kayit_hatasi(gorunum.id));
    EXPECT_EQ(0, _tr_webgorunum_kayit_bitti_mi(gorunum.id));
    _tr_webgorunum_kapat(gorunum.id);
}

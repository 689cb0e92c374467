// Korva's own warning page for a server whose certificate cannot be verified, and
// the hosts the user chose to visit anyway.
//
// - The web view runtime refuses every such certificate, so a navigation there
//   completes with the certificate's status; Korva then shows this page in the
//   tab (in the dark theme of its other pages), saying what is wrong and naming
//   the host, with two buttons. The tab treats it as the page of a failed address
//   (olaylar.cpp): the address entry shows the refused address and Reload tries it
//   again.
// - The buttons are links to parts of the page itself ("#..."): following one
//   changes the page's address without a new document in either engine, and Korva
//   hears that as the page's new address. "Geri don" loads the page the tab showed
//   before (the start page when it showed none); "Yine de devam et (guvenli
//   degil)" lets the host pass for this run of Korva only (nothing is saved) and
//   loads the refused address again.
// - The warning page, and every page of its host after it (let pass or not), is
//   marked "Guvenli degil" in the address entry, as http pages are, though it is
//   https.
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "depolar.h"
#include "korva.h"
#include "tarayici_ic.h"
#include "webview/webgorunum_win_cz.h"

namespace korva {

namespace {

constexpr int64_t kGorunumSiniri = 256;

// The two buttons' addresses, as the page reports them once followed.
constexpr char kGeriDonAdresi[] = "about:blank#korva-sertifika-geri";
constexpr char kDevamAdresi[] = "about:blank#korva-sertifika-devam";

// Korva's texts of the page, by the certificate's status (the engine's web error
// status 1 to 5; 0 for any other).
constexpr const char* kNedenler[] = {
    "Sunucunun sertifikasi dogrulanamadi.",
    "Sunucunun sertifikasi baska bir ada verilmis: bu sunucu, adresteki site olmayabilir.",
    "Sunucunun sertifikasinin suresi dolmus (ya da bu bilgisayarin saati yanlis).",
    "Sunucu, istemci sertifikasini kabul etmedi.",
    "Sunucunun sertifikasi, onu verenlerce iptal edilmis.",
    "Sunucunun sertifikasi guvenilir bir kurulusca verilmemis.",
};
constexpr char kSayfaBasi[] =
    "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Baglanti guvenli degil</title><style>"
    "body{background:#1E1E2E;color:#CDD6F4;font-family:'Segoe UI',sans-serif;margin:12% auto;max-width:600px}"
    "h1{font-weight:400;font-size:28px;color:#F38BA8}p{color:#A6ADC8}p.host{color:#CDD6F4;overflow-wrap:anywhere}"
    "a{display:inline-block;margin:16px 12px 0 0;padding:8px 16px;border-radius:6px;text-decoration:none}"
    "a.geri{background:#89B4FA;color:#1E1E2E}a.devam{background:#313244;color:#F38BA8}"
    "</style></head><body><h1>Bu baglanti guvenli degil</h1><p>";
constexpr char kHostBasi[] = "</p><p class=\"host\">Sunucu: ";
constexpr char kSayfaSonu[] =
    "</p><p>Bu siteye gonderdiginiz bilgiler (parolalar, kart bilgileri) baskalarinca okunabilir ya da "
    "degistirilebilir.</p>"
    "<a class=\"geri\" href=\"#korva-sertifika-geri\">Geri don</a>"
    "<a class=\"devam\" href=\"#korva-sertifika-devam\">Yine de devam et (guvenli degil)</a>"
    "</body></html>";

// By web view id: the view shows the warning page, and the address the tab showed
// before it ("" for Korva's own pages).
bool uyari_gosteriliyor[kGorunumSiniri];
std::string onceki_adresler[kGorunumSiniri];
// "host[:port]" in lower case of every host whose certificate was refused in this
// run (the user may have let it pass since): its pages are not secure.
std::set<std::string> kotu_hostlar;

// "host[:port]" of an address in lower case, without a user's name; empty when the
// address has no host.
std::string host_anahtari(const std::string& adres) {
    const size_t sema = adres.find("://");
    if (sema == std::string::npos || sema == 0) return {};
    const size_t bas = sema + 3;
    const size_t son = adres.find_first_of("/?#", bas);
    std::string yetki = adres.substr(bas, son == std::string::npos ? std::string::npos : son - bas);
    const size_t kullanici = yetki.rfind('@');
    if (kullanici != std::string::npos) yetki = yetki.substr(kullanici + 1);
    for (char& c : yetki) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return yetki;
}


std::string uyari_sayfasi(int64_t durum, const std::string& adres) {
    const bool bilinen = durum >= 1 && durum <= 5;
    std::string host = host_anahtari(adres);
    std::string sayfa = kSayfaBasi;
    sayfa += kNedenler[bilinen ? durum : 0];
    sayfa += kHostBasi;
    sayfa += html_kacisli(host.empty() ? adres : host);
    sayfa += kSayfaSonu;
    return sayfa;
}

void geri_don(int64_t view) {
    const std::string& onceki = onceki_adresler[view];
    if (onceki.empty() || onceki.rfind("about:", 0) == 0) {
        // The start page: the one the settings name, else Korva's own.
        const std::string& baslangic = ayarlar().baslangic_sayfasi;
        if (!baslangic.empty()) {
            _tr_webgorunum_yukle(view, baslangic.data(), static_cast<int64_t>(baslangic.size()));
        } else {
            _tr_webgorunum_html_yukle(view, HIZLI_ERISIM, static_cast<int64_t>(std::strlen(HIZLI_ERISIM)));
        }
    } else {
        _tr_webgorunum_yukle(view, onceki.data(), static_cast<int64_t>(onceki.size()));
    }
}

}  // namespace

// A text put into HTML, as text and inside a quoted attribute alike.
std::string html_kacisli(const std::string& metin) {
    std::string sonuc;
    for (char c : metin) {
        switch (c) {
        case '&': sonuc += "&amp;"; break;
        case '<': sonuc += "&lt;"; break;
        case '>': sonuc += "&gt;"; break;
        case '"': sonuc += "&quot;"; break;
        case '\'': sonuc += "&#39;"; break;
        default: sonuc += c;
        }
    }
    return sonuc;
}

char* sertifika_uyarisini_goster(int64_t view, const char* onceki_adres) {
    if (view < 0 || view >= kGorunumSiniri) return nullptr;
    const int64_t durum = _tr_webgorunum_gezinti_hatasi(view);
    if (durum < 1 || durum > 5) return nullptr;
    TrMetin reddedilen = _tr_webgorunum_sertifika_adresi_al(view);
    if (reddedilen.ptr == nullptr) return nullptr;
    const std::string host = host_anahtari(reddedilen.ptr);
    if (!host.empty()) kotu_hostlar.insert(host);
    const std::string sayfa = uyari_sayfasi(durum, reddedilen.ptr);
    if (_tr_webgorunum_html_yukle(view, sayfa.data(), static_cast<int64_t>(sayfa.size())) != 0) {
        std::free(reddedilen.ptr);
        return nullptr;
    }
    // Shown again for the same address (Reload): the page before stays the one before.
    if (!uyari_gosteriliyor[view]) onceki_adresler[view] = onceki_adres != nullptr ? onceki_adres : "";
    uyari_gosteriliyor[view] = true;
    return reddedilen.ptr;
}

bool sertifika_dugmesini_isle(int64_t view, const char* reddedilen_adres) {
    if (view < 0 || view >= kGorunumSiniri || !uyari_gosteriliyor[view]) return false;
    const std::string adres = al_ve_birak(_tr_webgorunum_adres_al(view));
    const bool geri = adres == kGeriDonAdresi;
    const bool devam = adres == kDevamAdresi && reddedilen_adres != nullptr && reddedilen_adres[0] != '\0';
    // The warning page itself keeps the state; any other page ends it.
    if (adres == "about:blank") return false;
    uyari_gosteriliyor[view] = false;
    if (geri) {
        geri_don(view);
    } else if (devam) {
        _tr_webgorunum_sertifika_izni_ver(reddedilen_adres, static_cast<int64_t>(std::strlen(reddedilen_adres)));
        _tr_webgorunum_yukle(view, reddedilen_adres, static_cast<int64_t>(std::strlen(reddedilen_adres)));
    }
    return geri || devam;
}

bool sertifikasi_kotu_adres_mi(const std::string& adres) {
    const std::string host = host_anahtari(adres);
    return !host.empty() && kotu_hostlar.count(host) != 0;
}

}  // namespace korva

// The address entry's decision between an address and a search (adres_karari.h
// lists the rules). Works on UTF-8 bytes: letters beyond ASCII may appear in host
// names (the engine turns them into their ASCII form) and are percent-encoded in a
// search; no byte of the text is ever dropped.
#include "adres_karari.h"

#include <stdlib.h>
#include <string.h>

namespace korva {

namespace {

// Schemes loaded as typed.
constexpr const char* kGecerliSemalar[] = {"http", "https", "file", "view-source", "about", "data"};

// The engine's web error statuses (COREWEBVIEW2_WEB_ERROR_STATUS) after which a
// guessed "https://" is tried again as "http://": nothing answered on the TLS port,
// or what answered spoke no TLS (a handshake failure: Chromium's engine reports
// it as an unexpected error). Certificate errors are not among them: a server that
// speaks TLS with a bad certificate must not be quietly downgraded.
constexpr int64_t kYedekDurumlari[] = {
    6,   // SERVER_UNREACHABLE
    8,   // ERROR_HTTP_INVALID_SERVER_RESPONSE
    9,   // CONNECTION_ABORTED
    10,  // CONNECTION_RESET
    12,  // CANNOT_CONNECT
    16,  // UNEXPECTED_ERROR
};

bool bosluk_mu(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
bool denetim_mi(unsigned char c) { return c < 0x20 || c == 0x7F; }
bool rakam_mi(char c) { return c >= '0' && c <= '9'; }
bool harf_mi(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool onaltilik_mi(char c) { return rakam_mi(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
char kucuk(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string kucuk_harfli(const std::string& metin) {
    std::string sonuc = metin;
    for (char& c : sonuc) c = kucuk(c);
    return sonuc;
}

std::string kirpilmis(const std::string& metin) {
    size_t bas = 0, son = metin.size();
    while (bas < son && bosluk_mu(metin[bas])) ++bas;
    while (son > bas && bosluk_mu(metin[son - 1])) --son;
    return metin.substr(bas, son - bas);
}

// The scheme before the first ':' when the text starts with one ("" otherwise).
std::string sema(const std::string& metin) {
    if (metin.empty() || !harf_mi(metin[0])) return {};
    for (size_t i = 1; i < metin.size(); ++i) {
        const char c = metin[i];
        if (c == ':') return metin.substr(0, i);
        if (!harf_mi(c) && !rakam_mi(c) && c != '+' && c != '-' && c != '.') return {};
    }
    return {};
}

bool gecerli_sema(const std::string& ad) {
    for (const char* sema_adi : kGecerliSemalar) {
        if (ad == sema_adi) return true;
    }
    return false;
}

bool hepsi_rakam(const std::string& metin) {
    if (metin.empty()) return false;
    for (char c : metin) {
        if (!rakam_mi(c)) return false;
    }
    return true;
}

bool port_gecerli(const std::string& port) {
    if (!hepsi_rakam(port) || port.size() > 5) return false;
    const long deger = strtol(port.c_str(), nullptr, 10);
    return deger >= 1 && deger <= 65535;
}

bool ipv4_mu(const std::string& ana_makine) {
    int parca = 0;
    size_t bas = 0;
    while (true) {
        const size_t nokta = ana_makine.find('.', bas);
        const std::string sayi = ana_makine.substr(bas, nokta == std::string::npos ? std::string::npos : nokta - bas);
        if (!hepsi_rakam(sayi) || sayi.size() > 3 || strtol(sayi.c_str(), nullptr, 10) > 255) return false;
        ++parca;
        if (nokta == std::string::npos) break;
        bas = nokta + 1;
    }
    return parca == 4;
}

// The inside of "[...]": hexadecimal groups and colons (an IPv4 tail allowed),
// at least two colons.
bool ipv6_mu(const std::string& ic) {
    int iki_nokta = 0;
    for (char c : ic) {
        if (c == ':') {
            ++iki_nokta;
        } else if (!onaltilik_mi(c) && c != '.') {
            return false;
        }
    }
    return iki_nokta >= 2 && ic.size() <= 45;
}

// A host name's labels: letters, digits, '-' and '_', or bytes beyond ASCII (an
// international name); none empty (a final dot aside), none longer than 63 bytes.
bool ana_makine_adi_gecerli(const std::string& ad) {
    if (ad.empty() || ad.size() > 253) return false;
    const std::string govde = ad.back() == '.' ? ad.substr(0, ad.size() - 1) : ad;
    size_t bas = 0;
    while (true) {
        const size_t nokta = govde.find('.', bas);
        const size_t son = nokta == std::string::npos ? govde.size() : nokta;
        if (son == bas || son - bas > 63) return false;
        if (govde[bas] == '-' || govde[son - 1] == '-') return false;
        for (size_t i = bas; i < son; ++i) {
            const unsigned char c = static_cast<unsigned char>(govde[i]);
            if (!(c >= 0x80 || harf_mi(static_cast<char>(c)) || rakam_mi(static_cast<char>(c)) || c == '-' || c == '_')) {
                return false;
            }
        }
        if (nokta == std::string::npos) break;
        bas = nokta + 1;
    }
    return true;
}

// The last label: a name ends in one that is not only digits ("1.5" is no host).
bool son_etiket_harfli(const std::string& ad) {
    std::string govde = ad.back() == '.' ? ad.substr(0, ad.size() - 1) : ad;
    const size_t nokta = govde.rfind('.');
    return !hepsi_rakam(nokta == std::string::npos ? govde : govde.substr(nokta + 1));
}

enum class SemaTahmini { yok, http, https };

// What scheme a text without one gets, judging by the part before its path.
SemaTahmini tahmin_et(const std::string& metin) {
    const size_t yol = metin.find_first_of("/?#");
    const std::string yetki = metin.substr(0, yol);
    if (yetki.empty() || yetki.find('@') != std::string::npos) return SemaTahmini::yok;
    if (yetki[0] == '[') {
        const size_t kapanis = yetki.find(']');
        if (kapanis == std::string::npos || !ipv6_mu(yetki.substr(1, kapanis - 1))) return SemaTahmini::yok;
        const std::string geri = yetki.substr(kapanis + 1);
        if (geri.empty() || (geri[0] == ':' && port_gecerli(geri.substr(1)))) return SemaTahmini::http;
        return SemaTahmini::yok;
    }
    std::string ana_makine = yetki;
    bool portlu = false;
    const size_t iki_nokta = yetki.find(':');
    if (iki_nokta != std::string::npos) {
        if (!port_gecerli(yetki.substr(iki_nokta + 1))) return SemaTahmini::yok;
        ana_makine = yetki.substr(0, iki_nokta);
        portlu = true;
    }
    if (!ana_makine_adi_gecerli(ana_makine)) return SemaTahmini::yok;
    const std::string kucuk_ad = kucuk_harfli(ana_makine);
    if (kucuk_ad == "localhost" || kucuk_ad == "localhost." ||
        (kucuk_ad.size() > 10 && kucuk_ad.compare(kucuk_ad.size() - 10, 10, ".localhost") == 0)) {
        return SemaTahmini::http;
    }
    if (ipv4_mu(ana_makine) || portlu) return SemaTahmini::http;
    if (ana_makine.find('.') != std::string::npos && son_etiket_harfli(ana_makine)) return SemaTahmini::https;
    return SemaTahmini::yok;
}

// An IPv6 address typed without its brackets ("::1", "fe80::1").
bool cipla_ipv6_mi(const std::string& metin) { return metin.find("::") != std::string::npos && ipv6_mu(metin); }

// Every byte but the unreserved ones as %XX.
std::string yuzde_kodla(const std::string& metin) {
    static const char kOnaltilik[] = "0123456789ABCDEF";
    std::string sonuc;
    sonuc.reserve(metin.size() * 3);
    for (char c : metin) {
        if (harf_mi(c) || rakam_mi(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            sonuc += c;
        } else {
            const unsigned char b = static_cast<unsigned char>(c);
            sonuc += '%';
            sonuc += kOnaltilik[b >> 4];
            sonuc += kOnaltilik[b & 0x0F];
        }
    }
    return sonuc;
}

// The template with every "%s" replaced by the encoded query.
std::string arama_adresi(const std::string& sablon, const std::string& sorgu) {
    const std::string kodlu = yuzde_kodla(sorgu);
    std::string sonuc;
    size_t bas = 0;
    while (true) {
        const size_t yer = sablon.find("%s", bas);
        if (yer == std::string::npos) break;
        sonuc.append(sablon, bas, yer - bas);
        sonuc += kodlu;
        bas = yer + 2;
    }
    sonuc.append(sablon, bas, std::string::npos);
    return sonuc;
}

AdresKarari adres_olarak(std::string adres, std::string yedek = {}) {
    AdresKarari karar;
    karar.tur = adres.size() > kEnUzunAdres ? AdresTuru::cok_uzun : AdresTuru::adres;
    karar.adres = std::move(adres);
    if (karar.tur == AdresTuru::adres) karar.yedek_adres = std::move(yedek);
    return karar;
}

AdresKarari arama_olarak(const std::string& sorgu, const std::string& arama_sablonu) {
    AdresKarari karar;
    const bool gecerli = arama_sablonu_gecerli(arama_sablonu);
    karar.varsayilan_arama = !gecerli;
    // The encoded query alone may already be too long; then no address is built.
    if (sorgu.size() > kEnUzunAdres / 3) {
        karar.tur = AdresTuru::cok_uzun;
        return karar;
    }
    karar.adres = arama_adresi(gecerli ? arama_sablonu : std::string(kVarsayilanAramaMotoru), sorgu);
    karar.tur = karar.adres.size() > kEnUzunAdres ? AdresTuru::cok_uzun : AdresTuru::arama;
    return karar;
}

bool bosluk_ya_da_denetim_var(const std::string& metin) {
    for (char c : metin) {
        if (bosluk_mu(c) || denetim_mi(static_cast<unsigned char>(c))) return true;
    }
    return false;
}

}  // namespace

bool arama_sablonu_gecerli(const std::string& sablon) {
    const std::string kucuk_sablon = kucuk_harfli(sablon.substr(0, 8));
    const bool http = kucuk_sablon.rfind("http://", 0) == 0 || kucuk_sablon.rfind("https://", 0) == 0;
    if (!http || sablon.find("%s") == std::string::npos) return false;
    // The template becomes an address: no spaces or control characters in it.
    return !bosluk_ya_da_denetim_var(sablon);
}

bool http_yedegi_denenir_mi(int64_t durum) {
    for (int64_t yedek : kYedekDurumlari) {
        if (durum == yedek) return true;
    }
    return false;
}

AdresKarari arama_karari(const std::string& sorgu, const std::string& arama_sablonu) {
    return arama_olarak(sorgu, arama_sablonu);
}

AdresKarari adres_karari(const std::string& yazilan, const std::string& arama_sablonu) {
    const std::string metin = kirpilmis(yazilan);
    if (metin.empty()) return {};
    // Words, and anything a person would not type as an address.
    if (bosluk_ya_da_denetim_var(metin)) return arama_olarak(metin, arama_sablonu);
    const std::string ad = kucuk_harfli(sema(metin));
    if (gecerli_sema(ad)) return adres_olarak(ad + metin.substr(ad.size()));
    if (cipla_ipv6_mi(metin)) return adres_olarak("http://[" + metin + "]/");
    switch (tahmin_et(metin)) {
    case SemaTahmini::http: return adres_olarak("http://" + metin);
    case SemaTahmini::https: return adres_olarak("https://" + metin, "http://" + metin);
    case SemaTahmini::yok: break;
    }
    return arama_olarak(metin, arama_sablonu);
}

}  // namespace korva

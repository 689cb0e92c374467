// What Enter in the address entry does with the typed text: load it as an address
// (as typed, or with a scheme added) or search for it. One pure function, so that
// every rule is tested on its own; the address entry (adres_girisi.cpp) carries
// the decision out.
//
// The rules, in order:
//  - Spaces, tabs and line breaks around the text are trimmed; what is left empty
//    does nothing.
//  - A text with one of the schemes http, https, file, view-source, about and data
//    is loaded as it is (the scheme's letters made small, as the engine wants).
//  - `localhost` (and names under it), an IPv4 or IPv6 address, and any host with
//    a port get "http://": such servers are local ones, rarely behind TLS.
//  - A dotted host name gets "https://"; when that first attempt cannot connect or
//    fails its TLS handshake, "http://" is tried once (yedek_adres).
//  - Everything else (words, spaces, control characters, a single word without a
//    dot, another scheme) is searched with the search template, a URL with "%s"
//    where the query goes, percent-encoded UTF-8.
//  - A resulting address longer than kEnUzunAdres is not loaded: too_uzun, and the
//    text stays in the entry.
#pragma once

#include <stdint.h>

#include <string>

namespace korva {

// The search engine used when the settings name none, or one that is no http(s)
// address with "%s" in it.
inline constexpr char kVarsayilanAramaMotoru[] = "https://duckduckgo.com/?q=%s";
// The engines take no longer address (Chromium's limit for a URL).
inline constexpr size_t kEnUzunAdres = 2 * 1024 * 1024;

enum class AdresTuru {
    bos,     // nothing but spaces: nothing to do
    adres,   // an address, loaded as `adres`
    arama,   // a search: `adres` is the search engine's address for the text
    cok_uzun // no address this long is loaded
};

struct AdresKarari {
    AdresTuru tur = AdresTuru::bos;
    std::string adres;
    // For a host name given "https://" by guess: the "http://" address to try once
    // when the first attempt cannot connect; empty otherwise.
    std::string yedek_adres;
    // The search template was unusable and the default engine was used instead.
    bool varsayilan_arama = false;
};

AdresKarari adres_karari(const std::string& yazilan, const std::string& arama_sablonu);

// The search for `sorgu` as it is (a suggestion list's "search" row), by the same
// template rules.
AdresKarari arama_karari(const std::string& sorgu, const std::string& arama_sablonu);

// Whether a template can be used: an http or https address holding "%s".
bool arama_sablonu_gecerli(const std::string& sablon);

// Whether a failed first attempt with a guessed "https://" is worth the "http://"
// one: the server could not be reached on the TLS port, or the handshake failed.
// `durum` is the engine's web error status of the failed navigation.
bool http_yedegi_denenir_mi(int64_t durum);

}  // namespace korva

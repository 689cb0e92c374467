// Searching a text from the address entry's list. A minimal search with a fixed
// engine until the address entry's own decision, with the engine chosen in the
// settings, provides metni_ara; this file then goes.
#include <string>

#include "tarayici_ic.h"

namespace korva {

namespace {

constexpr char kAramaSablonu[] = "https://duckduckgo.com/?q=%s";

// Percent-encoding of the UTF-8 bytes; letters, digits and "-._~" stay.
std::string yuzde_kodla(const std::string& metin) {
    static const char kOnaltilik[] = "0123456789ABCDEF";
    std::string sonuc;
    for (unsigned char c : metin) {
        const bool duz = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                         c == '.' || c == '_' || c == '~';
        if (duz) {
            sonuc += static_cast<char>(c);
        } else {
            sonuc += '%';
            sonuc += kOnaltilik[c >> 4];
            sonuc += kOnaltilik[c & 15];
        }
    }
    return sonuc;
}

}  // namespace

void metni_ara(const std::string& metin) {
    std::string adres = kAramaSablonu;
    adres.replace(adres.find("%s"), 2, yuzde_kodla(metin));
    adresi_ac(adres, false);
}

}  // namespace korva

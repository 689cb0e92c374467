// Reading a few members of a JSON message without parsing all of it: a scanner
// that walks one object's members and skips their values (strings with escapes,
// nested objects and arrays, numbers, literals) without building anything. Used on
// the reading thread to recognise an event's method and session before the message
// is parsed (baglanti.cpp), and to cut a screencast frame apart (kare_cozucu.cpp).
//
// Every value is checked against JSON's grammar as it is skipped, except that a
// string's bytes are not checked for valid UTF-8; anything else malformed makes
// the walk fail, and the caller falls back to the full parser. Nothing here
// allocates, except json_dizesi_ac for its result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A hexadecimal digit's value, or -1 for any other byte.
inline int onaltilik(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Walks the members of the object `metin` holds (whitespace around it is allowed,
// nothing else). Keys and values come back as views into `metin`.
class JsonNesneGezgini {
public:
    explicit JsonNesneGezgini(std::string_view metin) : metin_(metin) {}

    // The next member: `anahtar` is the key's raw text between its quotes (escapes
    // as written: compare with json_anahtar_mi), `deger` the value's whole text
    // (a string keeps its quotes). False at the end of the object or at malformed
    // text; tamam() then tells which.
    bool sonraki(std::string_view* anahtar, std::string_view* deger);
    // After sonraki() returned false: the object was well formed to its end and
    // only whitespace follows it.
    bool tamam() const { return durum_ == Durum::Bitti; }

private:
    enum class Durum { Basta, Icinde, Bitti, Hatali };
    std::string_view metin_;
    size_t konum_ = 0;
    Durum durum_ = Durum::Basta;
};

// The end (one past the last byte) of the JSON value that starts at metin[baslangic]
// (no whitespace before it); std::string_view::npos when it is not a well-formed value.
// Nesting is followed without recursion, up to 1024 levels.
size_t json_deger_sonu(std::string_view metin, size_t baslangic);

// Whether `metin` nests objects and arrays more than `sinir` levels deep, brackets
// inside strings not counted. One pass without recursion or allocation, so that it
// can run before a parser that recurses (nlohmann's copies and comparisons do).
// Says nothing of whether the text is otherwise well formed.
bool json_cok_derin(std::string_view metin, size_t sinir);

// A string's raw text between its quotes, unescaped into `deger` (\uXXXX as UTF-8,
// surrogate pairs joined). False on a malformed escape.
bool json_dizesi_ac(std::string_view ham, std::string* deger);
// Whether a key's raw text (escapes as written) names `ad`.
bool json_anahtar_mi(std::string_view ham, std::string_view ad);
// The text of a string value (with its quotes) without its quotes; false when the
// value is not a string.
bool json_dize_mi(std::string_view deger, std::string_view* ham);
// A number value as a double; false when the value is not a number.
bool json_sayi(std::string_view deger, double* sayi);
// A number value that is an integer (no fraction or exponent) within int64_t.
bool json_tamsayi(std::string_view deger, int64_t* sayi);

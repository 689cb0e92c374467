// The JSON scanner (see json_tarama.h).
#include "json_tarama.h"

#include <charconv>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr size_t YOK = std::string_view::npos;
constexpr int EN_DERIN = 1024;

bool bosluk_mu(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

size_t bosluk_atla(std::string_view s, size_t i)
{
    while (i < s.size() && bosluk_mu(s[i]))
        ++i;
    return i;
}

// The first byte from p[0] on that ends a run of plain string bytes: a quote, a
// backslash or a control character (which JSON does not allow in a string); n when
// there is none. Frames carry a few hundred kilobytes of base64 in one string.
size_t ozel_bayt_bul(const char* p, size_t n)
{
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i tirnak = _mm_set1_epi8('"');
    const __m128i egik = _mm_set1_epi8('\\');
    const __m128i denetim = _mm_set1_epi8(0x1F);
    for (; i + 16 <= n; i += 16) {
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i eslesen =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(c, tirnak), _mm_cmpeq_epi8(c, egik)),
                         _mm_cmpeq_epi8(_mm_max_epu8(c, denetim), denetim));
        const int maske = _mm_movemask_epi8(eslesen);
        if (maske != 0)
            return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(maske)));
    }
#endif
    for (; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(p[i]);
        if (c == '"' || c == '\\' || c < 0x20)
            return i;
    }
    return n;
}

// The end of the string whose opening quote is s[i]; YOK when malformed.
size_t dize_sonu(std::string_view s, size_t i)
{
    if (i >= s.size() || s[i] != '"')
        return YOK;
    ++i;
    for (;;) {
        i += ozel_bayt_bul(s.data() + i, s.size() - i);
        if (i >= s.size())
            return YOK;
        const char c = s[i];
        if (c == '"')
            return i + 1;
        if (c != '\\')
            return YOK;   // a control character
        if (i + 1 >= s.size())
            return YOK;
        switch (s[i + 1]) {
        case '"': case '\\': case '/': case 'b': case 'f': case 'n': case 'r': case 't':
            i += 2;
            break;
        case 'u':
            if (i + 6 > s.size())
                return YOK;
            for (size_t k = 2; k < 6; ++k)
                if (onaltilik(s[i + k]) < 0)
                    return YOK;
            i += 6;
            break;
        default:
            return YOK;
        }
    }
}

bool rakam(char c)
{
    return c >= '0' && c <= '9';
}

// The end of the number that starts at s[i]; YOK when malformed.
// -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
size_t sayi_sonu(std::string_view s, size_t i)
{
    const size_t n = s.size();
    if (i < n && s[i] == '-')
        ++i;
    if (i >= n || !rakam(s[i]))
        return YOK;
    if (s[i] == '0') {
        ++i;
    } else {
        while (i < n && rakam(s[i]))
            ++i;
    }
    if (i < n && s[i] == '.') {
        ++i;
        if (i >= n || !rakam(s[i]))
            return YOK;
        while (i < n && rakam(s[i]))
            ++i;
    }
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-'))
            ++i;
        if (i >= n || !rakam(s[i]))
            return YOK;
        while (i < n && rakam(s[i]))
            ++i;
    }
    return i;
}

// A key, the colon and the whitespace after it; s[i] is the key's opening quote.
size_t anahtar_ve_iki_nokta(std::string_view s, size_t i)
{
    i = dize_sonu(s, i);
    if (i == YOK)
        return YOK;
    i = bosluk_atla(s, i);
    if (i >= s.size() || s[i] != ':')
        return YOK;
    return bosluk_atla(s, i + 1);
}

void utf8_yaz(uint32_t kod, std::string* cikti)
{
    if (kod < 0x80) {
        cikti->push_back(static_cast<char>(kod));
    } else if (kod < 0x800) {
        cikti->push_back(static_cast<char>(0xC0 | (kod >> 6)));
        cikti->push_back(static_cast<char>(0x80 | (kod & 0x3F)));
    } else if (kod < 0x10000) {
        cikti->push_back(static_cast<char>(0xE0 | (kod >> 12)));
        cikti->push_back(static_cast<char>(0x80 | ((kod >> 6) & 0x3F)));
        cikti->push_back(static_cast<char>(0x80 | (kod & 0x3F)));
    } else {
        cikti->push_back(static_cast<char>(0xF0 | (kod >> 18)));
        cikti->push_back(static_cast<char>(0x80 | ((kod >> 12) & 0x3F)));
        cikti->push_back(static_cast<char>(0x80 | ((kod >> 6) & 0x3F)));
        cikti->push_back(static_cast<char>(0x80 | (kod & 0x3F)));
    }
}

// Four hex digits at ham[i]; -1 when they are not.
int32_t dort_onaltilik(std::string_view ham, size_t i)
{
    if (i + 4 > ham.size())
        return -1;
    int32_t deger = 0;
    for (size_t k = 0; k < 4; ++k) {
        const int d = onaltilik(ham[i + k]);
        if (d < 0)
            return -1;
        deger = deger * 16 + d;
    }
    return deger;
}

}  // namespace

size_t json_deger_sonu(std::string_view s, size_t i)
{
    // One bit a level: 1 an object, 0 an array.
    uint64_t yigin[EN_DERIN / 64] = {};
    int derinlik = 0;
    const size_t n = s.size();
    for (;;) {
        // A value starts at s[i].
        if (i >= n)
            return YOK;
        const char c = s[i];
        if (c == '{' || c == '[') {
            if (derinlik == EN_DERIN)
                return YOK;
            const bool nesne = c == '{';
            if (nesne)
                yigin[derinlik / 64] |= uint64_t{1} << (derinlik % 64);
            else
                yigin[derinlik / 64] &= ~(uint64_t{1} << (derinlik % 64));
            ++derinlik;
            i = bosluk_atla(s, i + 1);
            if (i < n && s[i] == (nesne ? '}' : ']')) {
                --derinlik;
                ++i;
            } else {
                if (nesne && (i = anahtar_ve_iki_nokta(s, i)) == YOK)
                    return YOK;
                continue;   // the first member's value
            }
        } else if (c == '"') {
            i = dize_sonu(s, i);
        } else if (c == 't') {
            i = s.compare(i, 4, "true") == 0 ? i + 4 : YOK;
        } else if (c == 'f') {
            i = s.compare(i, 5, "false") == 0 ? i + 5 : YOK;
        } else if (c == 'n') {
            i = s.compare(i, 4, "null") == 0 ? i + 4 : YOK;
        } else {
            i = sayi_sonu(s, i);
        }
        if (i == YOK)
            return YOK;
        // A value has ended: close the containers it ends, or go on to the next
        // member of the innermost one.
        for (;;) {
            if (derinlik == 0)
                return i;
            const bool nesne = (yigin[(derinlik - 1) / 64] >> ((derinlik - 1) % 64)) & 1;
            i = bosluk_atla(s, i);
            if (i >= n)
                return YOK;
            if (s[i] == (nesne ? '}' : ']')) {
                --derinlik;
                ++i;
                continue;
            }
            if (s[i] != ',')
                return YOK;
            i = bosluk_atla(s, i + 1);
            if (nesne && (i = anahtar_ve_iki_nokta(s, i)) == YOK)
                return YOK;
            break;
        }
    }
}

bool JsonNesneGezgini::sonraki(std::string_view* anahtar, std::string_view* deger)
{
    const std::string_view s = metin_;
    size_t i = konum_;
    const auto bitir = [&](size_t son) {
        // Only whitespace may follow the object.
        durum_ = bosluk_atla(s, son) == s.size() ? Durum::Bitti : Durum::Hatali;
        return false;
    };
    switch (durum_) {
    case Durum::Bitti:
    case Durum::Hatali:
        return false;
    case Durum::Basta:
        i = bosluk_atla(s, i);
        if (i >= s.size() || s[i] != '{') {
            durum_ = Durum::Hatali;
            return false;
        }
        i = bosluk_atla(s, i + 1);
        if (i < s.size() && s[i] == '}')
            return bitir(i + 1);
        break;
    case Durum::Icinde:
        i = bosluk_atla(s, i);
        if (i < s.size() && s[i] == '}')
            return bitir(i + 1);
        if (i >= s.size() || s[i] != ',') {
            durum_ = Durum::Hatali;
            return false;
        }
        i = bosluk_atla(s, i + 1);
        break;
    }
    // A member: its key, the colon, its value.
    const size_t anahtar_basi = i;
    const size_t anahtar_sonu = dize_sonu(s, i);
    if (anahtar_sonu == YOK) {
        durum_ = Durum::Hatali;
        return false;
    }
    i = bosluk_atla(s, anahtar_sonu);
    if (i >= s.size() || s[i] != ':') {
        durum_ = Durum::Hatali;
        return false;
    }
    i = bosluk_atla(s, i + 1);
    const size_t deger_sonu = json_deger_sonu(s, i);
    if (deger_sonu == YOK) {
        durum_ = Durum::Hatali;
        return false;
    }
    *anahtar = s.substr(anahtar_basi + 1, anahtar_sonu - anahtar_basi - 2);
    *deger = s.substr(i, deger_sonu - i);
    konum_ = deger_sonu;
    durum_ = Durum::Icinde;
    return true;
}

bool json_dizesi_ac(std::string_view ham, std::string* deger)
{
    deger->clear();
    deger->reserve(ham.size());
    size_t i = 0;
    while (i < ham.size()) {
        const size_t duz = ham.find('\\', i);
        if (duz == YOK) {
            deger->append(ham.data() + i, ham.size() - i);
            break;
        }
        deger->append(ham.data() + i, duz - i);
        i = duz;
        if (i + 1 >= ham.size())
            return false;
        const char kacis = ham[i + 1];
        i += 2;
        switch (kacis) {
        case '"': deger->push_back('"'); break;
        case '\\': deger->push_back('\\'); break;
        case '/': deger->push_back('/'); break;
        case 'b': deger->push_back('\b'); break;
        case 'f': deger->push_back('\f'); break;
        case 'n': deger->push_back('\n'); break;
        case 'r': deger->push_back('\r'); break;
        case 't': deger->push_back('\t'); break;
        case 'u': {
            int32_t kod = dort_onaltilik(ham, i);
            if (kod < 0)
                return false;
            i += 4;
            if (kod >= 0xD800 && kod <= 0xDBFF) {
                // A high surrogate must be followed by a low one.
                if (i + 2 > ham.size() || ham[i] != '\\' || ham[i + 1] != 'u')
                    return false;
                const int32_t dusuk = dort_onaltilik(ham, i + 2);
                if (dusuk < 0xDC00 || dusuk > 0xDFFF)
                    return false;
                i += 6;
                kod = 0x10000 + ((kod - 0xD800) << 10) + (dusuk - 0xDC00);
            } else if (kod >= 0xDC00 && kod <= 0xDFFF) {
                return false;
            }
            utf8_yaz(static_cast<uint32_t>(kod), deger);
            break;
        }
        default:
            return false;
        }
    }
    return true;
}

bool json_anahtar_mi(std::string_view ham, std::string_view ad)
{
    if (ham.find('\\') == YOK)
        return ham == ad;
    std::string acik;
    return json_dizesi_ac(ham, &acik) && acik == ad;
}

bool json_dize_mi(std::string_view deger, std::string_view* ham)
{
    if (deger.size() < 2 || deger.front() != '"' || deger.back() != '"')
        return false;
    *ham = deger.substr(1, deger.size() - 2);
    return true;
}

bool json_sayi(std::string_view deger, double* sayi)
{
    if (deger.empty() || sayi_sonu(deger, 0) != deger.size())
        return false;
    // from_chars is independent of the C locale (a host may have set one with a
    // decimal comma).
    const auto sonuc = std::from_chars(deger.data(), deger.data() + deger.size(), *sayi);
    return sonuc.ec == std::errc() && sonuc.ptr == deger.data() + deger.size();
}

bool json_tamsayi(std::string_view deger, int64_t* sayi)
{
    if (deger.empty() || sayi_sonu(deger, 0) != deger.size())
        return false;
    const auto sonuc = std::from_chars(deger.data(), deger.data() + deger.size(), *sayi);
    return sonuc.ec == std::errc() && sonuc.ptr == deger.data() + deger.size();
}

bool json_cok_derin(std::string_view metin, size_t sinir)
{
    const char* const bas = metin.data();
    const char* const son = bas + metin.size();
    size_t derinlik = 0;
    for (const char* p = bas; p < son; ++p) {
        const char c = *p;
        if (c == '"') {
            // A string's bytes are skipped a quote at a time: large strings (a frame's
            // data) cost one memchr. The quote is the string's end unless an odd number
            // of backslashes stands before it.
            for (;;) {
                const char* tirnak = static_cast<const char*>(memchr(p + 1, '"', static_cast<size_t>(son - p - 1)));
                if (tirnak == nullptr)
                    return false;  // an unended string: the parser refuses it
                size_t ters_egik = 0;
                for (const char* q = tirnak - 1; q > p && *q == '\\'; --q)
                    ++ters_egik;
                p = tirnak;
                if (ters_egik % 2 == 0)
                    break;
            }
        } else if (c == '{' || c == '[') {
            if (++derinlik > sinir)
                return true;
        } else if ((c == '}' || c == ']') && derinlik > 0) {
            --derinlik;
        }
    }
    return false;
}

// Screencast frames from message to BGRA pixels (see kare.h): cutting the message
// apart, base64, and JPEG with stb_image.
//
// stb_image allocates through the functions below. While a KareCozucu decodes, big
// blocks (the output, one plane per colour component) are kept when stb frees them
// and handed back when it asks again: a frame of the same size as the last one
// allocates nothing big. Blocks not used by a whole successful decode are freed.
#include "kare.h"

#include "json_tarama.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// ---------------------------------------------------------------------------
// stb_image's memory.

// In front of every block stb gets; 16 bytes keep its alignment.
struct BlokBasi {
    size_t kapasite;
    size_t bos;
};
static_assert(sizeof(BlokBasi) == 16, "stb's blocks must stay 16-byte aligned");

// Below this, the heap does well enough on its own.
constexpr size_t BUYUK_BLOK = 64 * 1024;
constexpr size_t SAKLANAN_BLOK = 8;

struct BlokDeposu {
    struct Saklanan {
        BlokBasi* blok;
        uint64_t tur;   // the decode that last gave it back
    };
    Saklanan bloklar[SAKLANAN_BLOK];
    size_t sayi = 0;
    uint64_t tur = 0;

    ~BlokDeposu()
    {
        for (size_t i = 0; i < sayi; ++i)
            std::free(bloklar[i].blok);
    }

    // The smallest kept block that holds `boy` without wasting more than half.
    BlokBasi* al(size_t boy)
    {
        size_t secilen = sayi;
        for (size_t i = 0; i < sayi; ++i) {
            const size_t k = bloklar[i].blok->kapasite;
            if (k >= boy && k / 2 <= boy && (secilen == sayi || k < bloklar[secilen].blok->kapasite))
                secilen = i;
        }
        if (secilen == sayi)
            return nullptr;
        BlokBasi* blok = bloklar[secilen].blok;
        bloklar[secilen] = bloklar[--sayi];
        return blok;
    }

    bool sakla(BlokBasi* blok)
    {
        if (sayi == SAKLANAN_BLOK)
            return false;
        bloklar[sayi++] = {blok, tur};
        return true;
    }

    // After a successful decode: what it did not use is of another size.
    void eskileri_birak()
    {
        for (size_t i = 0; i < sayi;) {
            if (bloklar[i].tur != tur) {
                std::free(bloklar[i].blok);
                bloklar[i] = bloklar[--sayi];
            } else {
                ++i;
            }
        }
    }
};

// The store of the decoder running on this thread, if any.
thread_local BlokDeposu* t_depo = nullptr;

void* stb_ayir(size_t boy)
{
    BlokDeposu* depo = t_depo;
    if (depo != nullptr && boy >= BUYUK_BLOK)
        if (BlokBasi* blok = depo->al(boy))
            return blok + 1;
    if (boy > SIZE_MAX - sizeof(BlokBasi))
        return nullptr;
    auto* blok = static_cast<BlokBasi*>(std::malloc(sizeof(BlokBasi) + boy));
    if (blok == nullptr)
        return nullptr;
    blok->kapasite = boy;
    return blok + 1;
}

void stb_birak(void* p)
{
    if (p == nullptr)
        return;
    BlokBasi* blok = static_cast<BlokBasi*>(p) - 1;
    BlokDeposu* depo = t_depo;
    if (depo != nullptr && blok->kapasite >= BUYUK_BLOK && depo->sakla(blok))
        return;
    std::free(blok);
}

[[maybe_unused]] void* stb_buyut(void* p, size_t yeni)
{
    if (p == nullptr)
        return stb_ayir(yeni);
    BlokBasi* blok = static_cast<BlokBasi*>(p) - 1;
    if (yeni <= blok->kapasite)
        return p;
    void* yeni_blok = stb_ayir(yeni);
    if (yeni_blok == nullptr)
        return nullptr;
    std::memcpy(yeni_blok, p, blok->kapasite);
    stb_birak(p);
    return yeni_blok;
}

// Binds a store to this thread for one decode.
class DepoBagi {
public:
    explicit DepoBagi(BlokDeposu* depo) : onceki_(t_depo) { t_depo = depo; }
    ~DepoBagi() { t_depo = onceki_; }
    DepoBagi(const DepoBagi&) = delete;
    DepoBagi& operator=(const DepoBagi&) = delete;

private:
    BlokDeposu* onceki_;
};

}  // namespace

// ---------------------------------------------------------------------------
// stb_image itself: JPEG only, its functions private to this file (the benchmark
// links its own copy too).

#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_MAX_DIMENSIONS 32768
#define STBI_MALLOC(boy) stb_ayir(boy)
#define STBI_REALLOC(p, boy) stb_buyut(p, boy)
#define STBI_FREE(p) stb_birak(p)
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmisleading-indentation"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#endif
#include <stb/stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace {

// ---------------------------------------------------------------------------
// Base64.

constexpr uint8_t GECERSIZ = 0x80;

struct Base64Tablosu {
    uint8_t deger[256];
    constexpr Base64Tablosu() : deger()
    {
        for (int i = 0; i < 256; ++i)
            deger[i] = GECERSIZ;
        const char* abece = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        for (int i = 0; i < 64; ++i)
            deger[static_cast<unsigned char>(abece[i])] = static_cast<uint8_t>(i);
    }
};
constexpr Base64Tablosu BASE64;

// RGBA to BGRA, from one buffer to another.
void kirmizi_maviyi_degistir(const uint8_t* kaynak, uint8_t* hedef, size_t piksel)
{
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i yesil_alfa = _mm_set1_epi32(static_cast<int>(0xFF00FF00u));
    const __m128i bayt = _mm_set1_epi32(0xFF);
    for (; i + 4 <= piksel; i += 4) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kaynak + i * 4));
        const __m128i sonuc = _mm_or_si128(
            _mm_and_si128(p, yesil_alfa),
            _mm_or_si128(_mm_and_si128(_mm_srli_epi32(p, 16), bayt), _mm_slli_epi32(_mm_and_si128(p, bayt), 16)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(hedef + i * 4), sonuc);
    }
#endif
    for (; i < piksel; ++i) {
        hedef[i * 4 + 0] = kaynak[i * 4 + 2];
        hedef[i * 4 + 1] = kaynak[i * 4 + 1];
        hedef[i * 4 + 2] = kaynak[i * 4 + 0];
        hedef[i * 4 + 3] = kaynak[i * 4 + 3];
    }
}

// Released frames, waiting to be decoded into again.
struct KareHavuzu {
    std::mutex kilit;
    std::vector<Kare*> bos;
    bool kapali = false;   // the decoder is gone: released frames are freed

    ~KareHavuzu()
    {
        for (Kare* kare : bos)
            delete kare;
    }

    void geri_al(Kare* kare)
    {
        {
            std::lock_guard<std::mutex> k(kilit);
            if (!kapali && bos.size() < KareCozucu::HAVUZ_BOYU) {
                bos.push_back(kare);
                return;
            }
        }
        delete kare;
    }
};

}  // namespace

// ---------------------------------------------------------------------------
// Cutting a frame message apart.

bool kare_iletisini_ayir(std::string_view ileti, KareIletisi* kare)
{
    bool kare_mi = false, id_var = false, parametre_var = false, oturum_var = false;
    std::string_view parametreler, oturum;
    std::string_view anahtar, deger;
    JsonNesneGezgini ust(ileti);
    while (ust.sonraki(&anahtar, &deger)) {
        if (json_anahtar_mi(anahtar, "method")) {
            std::string_view yontem;
            kare_mi = json_dize_mi(deger, &yontem) && json_anahtar_mi(yontem, "Page.screencastFrame");
        } else if (json_anahtar_mi(anahtar, "params")) {
            parametre_var = true;
            parametreler = deger;
        } else if (json_anahtar_mi(anahtar, "sessionId")) {
            oturum_var = json_dize_mi(deger, &oturum);
        } else if (json_anahtar_mi(anahtar, "id")) {
            id_var = true;
        }
    }
    if (!ust.tamam() || !kare_mi || id_var || !parametre_var)
        return false;

    KareIletisi sonuc;
    if (oturum_var && !json_dizesi_ac(oturum, &sonuc.oturum))
        return false;
    bool veri_var = false, onay_var = false;
    JsonNesneGezgini p(parametreler);
    while (p.sonraki(&anahtar, &deger)) {
        if (json_anahtar_mi(anahtar, "data")) {
            veri_var = json_dize_mi(deger, &sonuc.veri);
        } else if (json_anahtar_mi(anahtar, "sessionId")) {
            onay_var = json_tamsayi(deger, &sonuc.onay);
        } else if (json_anahtar_mi(anahtar, "metadata")) {
            sonuc.cihaz_genisligi = sonuc.cihaz_yuksekligi = 0;
            std::string_view m_anahtar, m_deger;
            JsonNesneGezgini m(deger);   // not an object: no sizes
            while (m.sonraki(&m_anahtar, &m_deger)) {
                double sayi = 0;
                if (json_anahtar_mi(m_anahtar, "deviceWidth"))
                    sonuc.cihaz_genisligi = json_sayi(m_deger, &sayi) ? sayi : 0;
                else if (json_anahtar_mi(m_anahtar, "deviceHeight"))
                    sonuc.cihaz_yuksekligi = json_sayi(m_deger, &sayi) ? sayi : 0;
            }
        }
    }
    // params must be an object with both.
    if (!p.tamam() || !veri_var || !onay_var)
        return false;
    *kare = std::move(sonuc);
    return true;
}

// ---------------------------------------------------------------------------
// Base64.

bool base64_coz(std::string_view metin, std::vector<uint8_t>* bayt)
{
    size_t n = metin.size();
    size_t dolgu = 0;
    while (n > 0 && metin[n - 1] == '=' && dolgu < 2) {
        --n;
        ++dolgu;
    }
    // A last group of one character carries no whole byte; padding fills a group.
    if (n % 4 == 1 || (dolgu > 0 && (n + dolgu) % 4 != 0))
        return false;
    const size_t kalan = n % 4;
    const size_t boy = n / 4 * 3 + (kalan == 0 ? 0 : kalan - 1);
    bayt->resize(boy);
    const auto* p = reinterpret_cast<const unsigned char*>(metin.data());
    uint8_t* o = bayt->data();
    const uint8_t* t = BASE64.deger;
    uint32_t hata = 0;
    size_t i = 0;
    for (; i + 4 <= n; i += 4, o += 3) {
        const uint32_t a = t[p[i]], b = t[p[i + 1]], c = t[p[i + 2]], d = t[p[i + 3]];
        hata |= a | b | c | d;
        const uint32_t v = a << 18 | b << 12 | c << 6 | d;
        o[0] = static_cast<uint8_t>(v >> 16);
        o[1] = static_cast<uint8_t>(v >> 8);
        o[2] = static_cast<uint8_t>(v);
    }
    if (kalan > 0) {
        const uint32_t a = t[p[i]], b = t[p[i + 1]], c = kalan == 3 ? t[p[i + 2]] : 0;
        hata |= a | b | c;
        const uint32_t v = a << 18 | b << 12 | c << 6;
        o[0] = static_cast<uint8_t>(v >> 16);
        if (kalan == 3)
            o[1] = static_cast<uint8_t>(v >> 8);
    }
    return (hata & GECERSIZ) == 0;
}

// ---------------------------------------------------------------------------
// The decoder.

struct KareCozucu::Ic {
    std::vector<uint8_t> jpeg;
    std::string kacissiz;   // base64 with JSON escapes taken out (they never come in practice)
    BlokDeposu depo;
    std::shared_ptr<KareHavuzu> havuz = std::make_shared<KareHavuzu>();

    // The base64's bytes in `jpeg`.
    bool base64_ten(std::string_view metin)
    {
        if (metin.find('\\') != std::string_view::npos) {
            if (!json_dizesi_ac(metin, &kacissiz))
                return false;
            metin = kacissiz;
        }
        return base64_coz(metin, &jpeg) && !jpeg.empty();
    }
};

KareCozucu::KareCozucu() : ic_(std::make_unique<Ic>()) {}

KareCozucu::~KareCozucu()
{
    std::lock_guard<std::mutex> k(ic_->havuz->kilit);
    ic_->havuz->kapali = true;
    for (Kare* kare : ic_->havuz->bos)
        delete kare;
    ic_->havuz->bos.clear();
}

bool KareCozucu::jpeg_coz(const uint8_t* jpeg, size_t boy, Kare* kare)
{
    // A frame cut short would still decode, its missing part filled in: it must end
    // with its end-of-image marker, as the engine's always do.
    if (jpeg == nullptr || boy < 4 || boy > static_cast<size_t>(INT32_MAX) || jpeg[boy - 2] != 0xFF ||
        jpeg[boy - 1] != 0xD9)
        return false;
    DepoBagi bag(&ic_->depo);
    int genislik = 0, yukseklik = 0, kanal = 0;
    // The header first: an absurd size is refused before anything is allocated.
    if (!stbi_info_from_memory(jpeg, static_cast<int>(boy), &genislik, &yukseklik, &kanal) || genislik <= 0 ||
        yukseklik <= 0 || static_cast<int64_t>(genislik) * yukseklik > AZAMI_PIKSEL)
        return false;
    ++ic_->depo.tur;
    unsigned char* rgba = stbi_load_from_memory(jpeg, static_cast<int>(boy), &genislik, &yukseklik, &kanal, 4);
    if (rgba == nullptr)
        return false;
    const size_t piksel = static_cast<size_t>(genislik) * static_cast<size_t>(yukseklik);
    const size_t gereken = piksel * 4;
    bool tamam = true;
    try {
        // A buffer far bigger than needed (the view shrank) is given back.
        if (kare->pikseller.capacity() > gereken + gereken / 2)
            std::vector<uint8_t>().swap(kare->pikseller);
        kare->pikseller.resize(gereken);
    } catch (...) {
        tamam = false;
    }
    if (tamam) {
        kirmizi_maviyi_degistir(rgba, kare->pikseller.data(), piksel);
        kare->genislik = genislik;
        kare->yukseklik = yukseklik;
    }
    stbi_image_free(rgba);
    if (tamam)
        ic_->depo.eskileri_birak();
    return tamam;
}

bool KareCozucu::coz(std::string_view base64, Kare* kare)
{
    return ic_->base64_ten(base64) && jpeg_coz(ic_->jpeg.data(), ic_->jpeg.size(), kare);
}

std::shared_ptr<Kare> KareCozucu::coz(std::string_view base64)
{
    if (!ic_->base64_ten(base64))
        return nullptr;
    Kare* kare = nullptr;
    {
        std::lock_guard<std::mutex> k(ic_->havuz->kilit);
        if (!ic_->havuz->bos.empty()) {
            kare = ic_->havuz->bos.back();
            ic_->havuz->bos.pop_back();
        }
    }
    std::shared_ptr<KareHavuzu> havuz = ic_->havuz;
    std::shared_ptr<Kare> sonuc(kare != nullptr ? kare : new Kare,
                                [havuz](Kare* k) { havuz->geri_al(k); });
    if (!jpeg_coz(ic_->jpeg.data(), ic_->jpeg.size(), sonuc.get()))
        return nullptr;   // the frame goes back to the pool
    return sonuc;
}

bool kareyi_coz(const std::string& base64, Kare* kare)
{
    // Never freed: it may be in use by a reading thread while the process ends.
    static std::mutex* kilit = new std::mutex;
    static KareCozucu* cozucu = new KareCozucu;
    std::lock_guard<std::mutex> k(*kilit);
    return cozucu->coz(base64, kare);
}

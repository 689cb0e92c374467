// Screencast frames from message to BGRA pixels (see kare.h): cutting the message
// apart, base64, and JPEG with libjpeg-turbo.
#include "kare.h"

#include "json_tarama.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>
// The codes of libjpeg's messages.
#include <jerror.h>

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
// JPEG.

namespace {

// libjpeg reports a fatal error through error_exit, which must not return: it jumps
// back to the decode under way. A warning that the picture data is damaged (the
// decoder would make up what is missing) ends the decode the same way; other
// warnings (an unknown header revision, a bad colour profile) leave the picture
// whole and are let pass. Nothing is printed.
struct JpegHatalari {
    jpeg_error_mgr ortak;   // first: libjpeg hands back a pointer to it
    std::jmp_buf donus;
};

[[noreturn]] void jpeg_hatasi(j_common_ptr bilgi)
{
    std::longjmp(reinterpret_cast<JpegHatalari*>(bilgi->err)->donus, 1);
}

bool resim_bozuk_mu(int ileti)
{
    switch (ileti) {
    case JWRN_ARITH_BAD_CODE:
    case JWRN_BOGUS_PROGRESSION:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_JPEG_EOF:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
        return true;
    default:
        return false;
    }
}

void jpeg_iletisi(j_common_ptr bilgi, int duzey)
{
    if (duzey < 0 && resim_bozuk_mu(bilgi->err->msg_code))
        jpeg_hatasi(bilgi);
}

void jpeg_sessiz(j_common_ptr) {}

// One decompressor, kept from one frame to the next (its permanent memory with it).
class JpegOkuyucu {
public:
    JpegOkuyucu()
    {
        bilgi_.err = jpeg_std_error(&hatalar_.ortak);
        hatalar_.ortak.error_exit = jpeg_hatasi;
        hatalar_.ortak.emit_message = jpeg_iletisi;
        hatalar_.ortak.output_message = jpeg_sessiz;
        if (setjmp(hatalar_.donus))
            return;   // out of memory: every decode fails
        jpeg_create_decompress(&bilgi_);
        hazir_ = true;
    }
    ~JpegOkuyucu()
    {
        if (hazir_)
            jpeg_destroy_decompress(&bilgi_);
    }
    JpegOkuyucu(const JpegOkuyucu&) = delete;
    JpegOkuyucu& operator=(const JpegOkuyucu&) = delete;

    // The JPEG into `pikseller` (resized to 4 bytes a pixel), its size into the two
    // ints. False on anything libjpeg refuses or warns of, and on a picture of more
    // than `azami_piksel` pixels, which is refused before anything is allocated.
    // Nothing here that has a destructor lives across the jump back from libjpeg.
    bool oku(const uint8_t* jpeg, size_t boy, int64_t azami_piksel, std::vector<uint8_t>* pikseller, int* genislik,
             int* yukseklik)
    {
        if (!hazir_)
            return false;
        if (setjmp(hatalar_.donus)) {
            jpeg_abort_decompress(&bilgi_);
            return false;
        }
        jpeg_mem_src(&bilgi_, jpeg, static_cast<unsigned long>(boy));
        if (jpeg_read_header(&bilgi_, TRUE) != JPEG_HEADER_OK || bilgi_.image_width == 0 ||
            bilgi_.image_height == 0 ||
            static_cast<int64_t>(bilgi_.image_width) * bilgi_.image_height > azami_piksel) {
            jpeg_abort_decompress(&bilgi_);
            return false;
        }
        bilgi_.out_color_space = JCS_EXT_BGRA;   // alpha written as 255
        jpeg_start_decompress(&bilgi_);
        const size_t satir_boyu = static_cast<size_t>(bilgi_.output_width) * 4;
        if (!boyutlandir(pikseller, satir_boyu * bilgi_.output_height)) {
            jpeg_abort_decompress(&bilgi_);
            return false;
        }
        uint8_t* ilk_satir = pikseller->data();
        while (bilgi_.output_scanline < bilgi_.output_height) {
            JSAMPROW satirlar[8];
            const JDIMENSION kalan = bilgi_.output_height - bilgi_.output_scanline;
            const JDIMENSION sayi = kalan < 8 ? kalan : 8;
            for (JDIMENSION i = 0; i < sayi; ++i)
                satirlar[i] = ilk_satir + (bilgi_.output_scanline + i) * satir_boyu;
            jpeg_read_scanlines(&bilgi_, satirlar, sayi);
        }
        *genislik = static_cast<int>(bilgi_.output_width);
        *yukseklik = static_cast<int>(bilgi_.output_height);
        jpeg_finish_decompress(&bilgi_);
        return true;
    }

private:
    // A buffer far bigger than needed (the view shrank) is given back first.
    static bool boyutlandir(std::vector<uint8_t>* pikseller, size_t boy) noexcept
    {
        try {
            if (pikseller->capacity() > boy + boy / 2)
                std::vector<uint8_t>().swap(*pikseller);
            pikseller->resize(boy);
            return true;
        } catch (...) {
            return false;
        }
    }

    jpeg_decompress_struct bilgi_{};
    JpegHatalari hatalar_{};
    bool hazir_ = false;
};

}  // namespace

// ---------------------------------------------------------------------------
// The decoder.

struct KareCozucu::Ic {
    std::vector<uint8_t> jpeg;
    std::string kacissiz;   // base64 with JSON escapes taken out (they never come in practice)
    // Pixels are decoded here and swapped into the frame only when the whole
    // picture came out; the frame's old buffer is decoded into next time.
    std::vector<uint8_t> pikseller;
    JpegOkuyucu okuyucu;
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
    int genislik = 0, yukseklik = 0;
    if (!ic_->okuyucu.oku(jpeg, boy, AZAMI_PIKSEL, &ic_->pikseller, &genislik, &yukseklik))
        return false;
    kare->pikseller.swap(ic_->pikseller);
    kare->genislik = genislik;
    kare->yukseklik = yukseklik;
    return true;
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

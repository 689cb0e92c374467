// Decoding one page frame, a JPEG file. First the decoders the Chromium engine could
// use under Wine: the platform's imaging component (WIC), stb_image (to 4 channels,
// as the engine library used it before) and the library's own, libjpeg-turbo. Then
// the whole way from the engine's message to BGRA pixels, on a Page.screencastFrame
// message made around the file as the engine writes it (data, metadata, sessionId,
// then the page's session): the old way (the whole message parsed, base64 by a
// loop, stb_image to 3 channels in fresh buffers) against the engine library's
// (chromium/protocol/kare.h: the message cut apart, base64 by table, libjpeg-turbo straight
// to BGRA in buffers kept between frames). The same once more on a frame of one
// colour of the same size. Prints the median time of each; bench/engine runs it on
// a real page's picture.
//   kare_cozme FILE.jpg
#include <windows.h>

#include <wincodec.h>

#include "json_tarama.h"
#include "kare.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

// The old way's own stb_image (the library's is private to it, with its own memory).
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmisleading-indentation"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace {

constexpr int TEKRAR = 21;

double saniye() {
    LARGE_INTEGER f, now;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(f.QuadPart);
}

double ortanca(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void yaz(const char* name, double value, const char* unit) {
    std::printf("%s %.6g %s\n", name, value, unit);
    std::fflush(stdout);
}

// Decodes to 32-bit BGRA, as the page window paints it; false on failure.
bool wic_ile(IWICImagingFactory* factory, const std::vector<unsigned char>& jpeg, std::vector<BYTE>* pixels) {
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    bool ok = false;
    UINT width = 0, height = 0;
    if (SUCCEEDED(factory->CreateStream(&stream)) &&
        SUCCEEDED(stream->InitializeFromMemory(const_cast<BYTE*>(jpeg.data()), static_cast<DWORD>(jpeg.size()))) &&
        SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                        WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(converter->GetSize(&width, &height))) {
        pixels->resize(static_cast<size_t>(width) * height * 4);
        ok = SUCCEEDED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels->size()), pixels->data()));
    }
    for (IUnknown* object : {static_cast<IUnknown*>(converter), static_cast<IUnknown*>(frame),
                             static_cast<IUnknown*>(decoder), static_cast<IUnknown*>(stream)})
        if (object) object->Release();
    return ok;
}

bool stb_ile(const std::vector<unsigned char>& jpeg, std::vector<BYTE>* pixels) {
    int width = 0, height = 0, channels = 0;
    unsigned char* rgb = stbi_load_from_memory(jpeg.data(), static_cast<int>(jpeg.size()), &width, &height, &channels, 3);
    if (!rgb) return false;
    pixels->resize(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
        (*pixels)[i * 4] = rgb[i * 3 + 2];
        (*pixels)[i * 4 + 1] = rgb[i * 3 + 1];
        (*pixels)[i * 4 + 2] = rgb[i * 3];
        (*pixels)[i * 4 + 3] = 0xFF;
    }
    stbi_image_free(rgb);
    return true;
}

// ---- The old way, as chromium/cerceve.cpp and sayfa.cpp had it.

int eski_base64_degeri(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

bool eski_base64(const std::string& metin, std::vector<uint8_t>* bayt) {
    bayt->clear();
    bayt->reserve(metin.size() / 4 * 3);
    uint32_t birikim = 0;
    int bit = 0;
    for (unsigned char c : metin) {
        if (c == '=') break;
        int deger = eski_base64_degeri(c);
        if (deger < 0) return false;
        birikim = (birikim << 6) | static_cast<uint32_t>(deger);
        bit += 6;
        if (bit >= 8) {
            bit -= 8;
            bayt->push_back(static_cast<uint8_t>(birikim >> bit));
        }
    }
    return true;
}

// stb_image to 3 channels, then to BGRA in a fresh frame.
bool eski_jpeg(const std::vector<uint8_t>& jpeg, Kare* kare) {
    int genislik = 0, yukseklik = 0, kanal = 0;
    unsigned char* rgb =
        stbi_load_from_memory(jpeg.data(), static_cast<int>(jpeg.size()), &genislik, &yukseklik, &kanal, 3);
    if (!rgb) return false;
    kare->genislik = genislik;
    kare->yukseklik = yukseklik;
    kare->pikseller.resize(static_cast<size_t>(genislik) * yukseklik * 4);
    const unsigned char* kaynak = rgb;
    uint8_t* hedef = kare->pikseller.data();
    for (size_t i = 0, n = static_cast<size_t>(genislik) * yukseklik; i < n; ++i, kaynak += 3, hedef += 4) {
        hedef[0] = kaynak[2];
        hedef[1] = kaynak[1];
        hedef[2] = kaynak[0];
        hedef[3] = 0xFF;
    }
    stbi_image_free(rgb);
    return true;
}

// The message parsed, as the reading thread did, and the data copied out, as the
// frame hook did.
std::string eski_ayir(const std::string& ileti) {
    auto json = std::make_shared<nlohmann::json>(nlohmann::json::parse(ileti, nullptr, false));
    if (json->is_discarded()) return std::string();
    return (*json)["params"].value("data", "");
}

std::shared_ptr<Kare> eski_yol(const std::string& ileti) {
    const std::string veri = eski_ayir(ileti);
    std::vector<uint8_t> jpeg;
    auto kare = std::make_shared<Kare>();
    if (!eski_base64(veri, &jpeg) || jpeg.empty() || !eski_jpeg(jpeg, kare.get())) return nullptr;
    return kare;
}

// ---- The new way: what the connection's reading thread does for a raw hook
// (its walk over the top-level keys), then the hook.

bool ust_duzeyi_gez(std::string_view ileti) {
    JsonNesneGezgini gezgin(ileti);
    std::string_view anahtar, deger;
    int sayi = 0;
    while (gezgin.sonraki(&anahtar, &deger)) ++sayi;
    return gezgin.tamam() && sayi > 0;
}

std::shared_ptr<Kare> yeni_yol(const std::string& ileti, KareCozucu* cozucu) {
    KareIletisi kare;
    if (!ust_duzeyi_gez(ileti) || !kare_iletisini_ayir(ileti, &kare)) return nullptr;
    return cozucu->coz(kare.veri);
}

std::string base64_yaz(const std::vector<unsigned char>& bayt) {
    static const char ABECE[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string metin;
    metin.reserve((bayt.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= bayt.size(); i += 3) {
        const uint32_t v = bayt[i] << 16 | bayt[i + 1] << 8 | bayt[i + 2];
        for (int k = 18; k >= 0; k -= 6) metin.push_back(ABECE[(v >> k) & 63]);
    }
    if (i < bayt.size()) {
        const uint32_t v = bayt[i] << 16 | (i + 1 < bayt.size() ? bayt[i + 1] << 8 : 0);
        metin.push_back(ABECE[(v >> 18) & 63]);
        metin.push_back(ABECE[(v >> 12) & 63]);
        metin.push_back(i + 1 < bayt.size() ? ABECE[(v >> 6) & 63] : '=');
        metin.push_back('=');
    }
    return metin;
}

// A Page.screencastFrame message as the engine writes it.
std::string kare_iletisi(const std::vector<unsigned char>& jpeg, int genislik, int yukseklik) {
    return "{\"method\":\"Page.screencastFrame\",\"params\":{\"data\":\"" + base64_yaz(jpeg) +
           "\",\"metadata\":{\"offsetTop\":0,\"pageScaleFactor\":1,\"deviceWidth\":" + std::to_string(genislik) +
           ",\"deviceHeight\":" + std::to_string(yukseklik) +
           ",\"scrollOffsetX\":0,\"scrollOffsetY\":1234,\"timestamp\":1733616000.123456},\"sessionId\":7},"
           "\"sessionId\":\"3C5A7E0F9B2D4C6E8A1B3D5F7E9C1A2B\"}";
}

template <class Is>
double sure_ms(Is is) {
    std::vector<double> sureler;
    for (int i = 0; i < TEKRAR; ++i) {
        const double basla = saniye();
        if (!is()) return -1;
        sureler.push_back((saniye() - basla) * 1000);
    }
    return ortanca(sureler);
}

// The biggest difference of one channel between two frames; -1 when their sizes differ.
int en_buyuk_fark(const Kare& a, const Kare& b) {
    if (a.genislik != b.genislik || a.yukseklik != b.yukseklik || a.pikseller.size() != b.pikseller.size()) return -1;
    int fark = 0;
    for (size_t i = 0; i < a.pikseller.size(); ++i) fark = std::max(fark, std::abs(a.pikseller[i] - b.pikseller[i]));
    return fark;
}

// Both ways on one message; names get `onek` in front.
bool iki_yol(const std::string& onek, const std::vector<unsigned char>& jpeg) {
    int genislik = 0, yukseklik = 0, kanal = 0;
    if (!stbi_info_from_memory(jpeg.data(), static_cast<int>(jpeg.size()), &genislik, &yukseklik, &kanal)) return false;
    const std::string ileti = kare_iletisi(jpeg, genislik, yukseklik);
    const auto ad = [&](const char* son) { return onek + son; };

    // The old way, step by step and whole.
    const std::string veri = eski_ayir(ileti);
    std::vector<uint8_t> eski_jpeg_baytlari;
    if (!eski_base64(veri, &eski_jpeg_baytlari)) return false;
    const double eski_ayirma = sure_ms([&] { return !eski_ayir(ileti).empty(); });
    const double eski_b64 = sure_ms([&] {
        std::vector<uint8_t> bayt;
        return eski_base64(veri, &bayt);
    });
    const double eski_stb = sure_ms([&] {
        Kare kare;
        return eski_jpeg(eski_jpeg_baytlari, &kare);
    });
    const double eski_toplam = sure_ms([&] { return eski_yol(ileti) != nullptr; });

    // The new way. The previous frame is held while the next is decoded, as the
    // page holds the one it shows.
    KareCozucu cozucu;
    KareIletisi parcalar;
    const double yeni_tarama = sure_ms([&] { return ust_duzeyi_gez(ileti); });
    const double yeni_ayirma = sure_ms([&] { return kare_iletisini_ayir(ileti, &parcalar); });
    std::vector<uint8_t> bayt;
    const double yeni_b64 = sure_ms([&] { return base64_coz(parcalar.veri, &bayt); });
    Kare tek;
    cozucu.jpeg_coz(bayt.data(), bayt.size(), &tek);
    const double yeni_jpeg = sure_ms([&] { return cozucu.jpeg_coz(bayt.data(), bayt.size(), &tek); });
    std::shared_ptr<Kare> gosterilen = yeni_yol(ileti, &cozucu);
    const double yeni_toplam = sure_ms([&] {
        std::shared_ptr<Kare> yeni = yeni_yol(ileti, &cozucu);
        if (!yeni) return false;
        gosterilen = std::move(yeni);
        return true;
    });

    const std::shared_ptr<Kare> eski = eski_yol(ileti);
    if (!eski || !gosterilen) return false;
    yaz(ad("ileti_kb").c_str(), ileti.size() / 1024.0, "KiB");
    yaz(ad("eski_ayirma_ms").c_str(), eski_ayirma, "ms");
    yaz(ad("eski_base64_ms").c_str(), eski_b64, "ms");
    yaz(ad("eski_stb3_ms").c_str(), eski_stb, "ms");
    yaz(ad("eski_toplam_ms").c_str(), eski_toplam, "ms");
    yaz(ad("yeni_tarama_ms").c_str(), yeni_tarama, "ms");
    yaz(ad("yeni_ayirma_ms").c_str(), yeni_ayirma, "ms");
    yaz(ad("yeni_base64_ms").c_str(), yeni_b64, "ms");
    yaz(ad("yeni_jpeg_ms").c_str(), yeni_jpeg, "ms");
    yaz(ad("yeni_toplam_ms").c_str(), yeni_toplam, "ms");
    // The two ways' pixels (the two decoders' colour conversions and upsampling differ).
    yaz(ad("yeni_eski_fark").c_str(), en_buyuk_fark(*eski, *gosterilen), "levels");
    return true;
}

void dosyaya_ekle(void* baglam, void* veri, int boy) {
    auto* cikti = static_cast<std::vector<unsigned char>*>(baglam);
    cikti->insert(cikti->end(), static_cast<unsigned char*>(veri), static_cast<unsigned char*>(veri) + boy);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: kare_cozme FILE.jpg\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    std::vector<unsigned char> jpeg((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* factory = nullptr;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory));
    std::vector<BYTE> pixels;
    std::vector<double> wic, stb, stb4, turbo;
    KareCozucu cozucu;
    Kare kare;
    for (int i = 0; i < 21; ++i) {
        double start = saniye();
        if (factory && wic_ile(factory, jpeg, &pixels)) wic.push_back((saniye() - start) * 1000);
        start = saniye();
        if (stb_ile(jpeg, &pixels)) stb.push_back((saniye() - start) * 1000);
        start = saniye();
        int w = 0, h = 0, c = 0;
        if (unsigned char* rgba = stbi_load_from_memory(jpeg.data(), static_cast<int>(jpeg.size()), &w, &h, &c, 4)) {
            stbi_image_free(rgba);
            stb4.push_back((saniye() - start) * 1000);
        }
        start = saniye();
        if (cozucu.jpeg_coz(jpeg.data(), jpeg.size(), &kare)) turbo.push_back((saniye() - start) * 1000);
    }
    if (!wic.empty()) std::printf("cozme_wic_ms %.6g ms\n", ortanca(wic));
    if (!stb.empty()) std::printf("cozme_stb_ms %.6g ms\n", ortanca(stb));
    if (!stb4.empty()) std::printf("cozme_stb4_ms %.6g ms\n", ortanca(stb4));
    if (!turbo.empty()) std::printf("cozme_turbo_ms %.6g ms\n", ortanca(turbo));
    std::fflush(stdout);

    // From the message: the page's frame, then one colour of the same size.
    bool yollar = iki_yol("kare_", jpeg);
    int genislik = 0, yukseklik = 0, kanal = 0;
    if (stbi_info_from_memory(jpeg.data(), static_cast<int>(jpeg.size()), &genislik, &yukseklik, &kanal)) {
        std::vector<unsigned char> duz(static_cast<size_t>(genislik) * yukseklik * 3);
        for (size_t i = 0; i < duz.size(); i += 3) {
            duz[i] = 0x20;
            duz[i + 1] = 0x60;
            duz[i + 2] = 0xC0;
        }
        std::vector<unsigned char> tek_renk;
        if (stbi_write_jpg_to_func(dosyaya_ekle, &tek_renk, genislik, yukseklik, 3, duz.data(), 80))
            yollar = iki_yol("tek_renk_", tek_renk) && yollar;
    }
    return wic.empty() && stb.empty() && !yollar ? 1 : 0;
}

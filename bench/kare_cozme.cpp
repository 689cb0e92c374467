// Decoding one page frame, a JPEG file, with the two decoders the Chromium engine
// could use under Wine: the platform's imaging component (WIC) and stb_image.
// Prints the median time of each; bench/engine runs it on a real page's picture.
//   kare_cozme FILE.jpg
#include <windows.h>

#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmisleading-indentation"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace {

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
    std::vector<double> wic, stb;
    for (int i = 0; i < 21; ++i) {
        double start = saniye();
        if (factory && wic_ile(factory, jpeg, &pixels)) wic.push_back((saniye() - start) * 1000);
        start = saniye();
        if (stb_ile(jpeg, &pixels)) stb.push_back((saniye() - start) * 1000);
    }
    if (!wic.empty()) std::printf("cozme_wic_ms %.6g ms\n", ortanca(wic));
    if (!stb.empty()) std::printf("cozme_stb_ms %.6g ms\n", ortanca(stb));
    return wic.empty() && stb.empty() ? 1 : 0;
}

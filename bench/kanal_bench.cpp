// The engine's channel under large messages: a string of 0.3, 1 and 5 MB sent to the
// engine in a script and returned by value, timed from the send to the parsed answer
// on the UI thread. Prints "name value unit" lines, each the median of five round
// trips; bench/engine notes them. Asserts nothing.
#include "baglanti.h"
#include "olcum_ortak.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Sends a command and waits for its answer; the result, or null on failure.
bool komut(Baglanti& baglanti, const std::string& yontem, Json parametreler, const std::string& oturum,
           Json* sonuc)
{
    bool geldi = false, basarili = false;
    baglanti.gonder(yontem, std::move(parametreler), oturum, [&](const Json& s, const Json* hata) {
        geldi = true;
        basarili = hata == nullptr;
        if (sonuc)
            *sonuc = s;
    });
    return olcum::kosula_kadar_pompala([&] { return geldi; }) && basarili;
}

}  // namespace

int main()
{
    wchar_t gecici[MAX_PATH];
    GetTempPathW(MAX_PATH, gecici);
    MotorAyari ayar;
    ayar.kullanici_klasoru = std::wstring(gecici) + L"korva_kanal_bench";
    std::shared_ptr<Baglanti> baglanti;
    bool bitti = false;
    if (FAILED(Baglanti::baslat(ayar, [&](HRESULT, std::shared_ptr<Baglanti> b) {
            bitti = true;
            baglanti = b;
        })) ||
        !olcum::kosula_kadar_pompala([&] { return bitti; }) || !baglanti) {
        std::fprintf(stderr, "kanal_bench: the engine did not start\n");
        return 1;
    }
    Json sonuc;
    std::string oturum;
    if (komut(*baglanti, "Target.createTarget", {{"url", "about:blank"}}, {}, &sonuc) &&
        komut(*baglanti, "Target.attachToTarget", {{"targetId", sonuc.value("targetId", "")}, {"flatten", true}}, {},
              &sonuc))
        oturum = sonuc.value("sessionId", "");
    if (oturum.empty()) {
        std::fprintf(stderr, "kanal_bench: no page session\n");
        return 1;
    }
    const struct {
        const char* ad;
        size_t bayt;
    } boylar[] = {{"kanal_gidis_donus_300kb_ms", 300 * 1024}, {"kanal_gidis_donus_1mb_ms", 1024 * 1024},
                  {"kanal_gidis_donus_5mb_ms", 5 * 1024 * 1024}};
    for (const auto& boy : boylar) {
        const std::string ifade = "'" + std::string(boy.bayt, 'a') + "'";
        std::vector<double> sureler;
        for (int tur = 0; tur < 6; ++tur) {
            LARGE_INTEGER siklik, bas, son;
            QueryPerformanceFrequency(&siklik);
            QueryPerformanceCounter(&bas);
            const bool tamam = komut(*baglanti, "Runtime.evaluate", {{"expression", ifade}, {"returnByValue", true}},
                                     oturum, &sonuc);
            QueryPerformanceCounter(&son);
            if (!tamam || sonuc["result"].value("value", "").size() != boy.bayt) {
                std::fprintf(stderr, "kanal_bench: %s came back wrong\n", boy.ad);
                return 1;
            }
            // The first round warms the engine's script compiler; it is not counted.
            if (tur > 0)
                sureler.push_back(1000.0 * static_cast<double>(son.QuadPart - bas.QuadPart) / siklik.QuadPart);
        }
        std::sort(sureler.begin(), sureler.end());
        std::printf("%s %.1f ms\n", boy.ad, sureler[sureler.size() / 2]);
    }
    baglanti->kapat();
    return 0;
}

// The engine's start gate: what its owner check costs, and how long the engine takes
// to start (from the call to its first answer) with and without another local user
// flooding the gate meanwhile. Prints "name value unit" lines, medians; asserts
// nothing. The flood runs as the user nobody, so it needs root; without root only the
// owner check is measured.
#include <winsock2.h>

#include "baglanti.h"
#include "baslangic_kapisi.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "olcum_ortak.h"

namespace {

using olcum::ortanca;
using olcum::saniye;
using olcum::yaz;

// Keeps 40 connections open to the port, each opened again as soon as it is closed,
// until the stop file appears.
const char* const SEL = R"(import os, select, socket, sys
port, dur, hazir = int(sys.argv[1]), sys.argv[2], sys.argv[3]
acik = []
while not os.path.exists(dur):
    for _ in range(40 - len(acik)):
        try:
            s = socket.socket(); s.connect(('127.0.0.1', port)); s.send(b'korva 0'); acik.append(s)
        except OSError:
            pass
    if not os.path.exists(hazir):
        open(hazir, 'w').close()
    for s in select.select(acik, [], [], 0.05)[0]:
        try:
            veri = s.recv(64)
        except OSError:
            veri = b''
        if not veri:
            acik.remove(s); s.close()
)";

bool unix_komutu(std::wstring komut)
{
    STARTUPINFOW baslangic = {};
    baslangic.cb = sizeof(baslangic);
    PROCESS_INFORMATION bilgi = {};
    return CreateProcessW(nullptr, komut.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &baslangic, &bilgi);
}

bool var_mi(const std::wstring& yol) { return GetFileAttributesW(yol.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Milliseconds from the call to the engine's first answer; negative on failure.
double motor_baslat(bool selli)
{
    const std::wstring onek = L"Z:\\tmp\\korva_kapi_bench_" + std::to_wstring(GetCurrentProcessId());
    const std::wstring onek_unix = L"/tmp/korva_kapi_bench_" + std::to_wstring(GetCurrentProcessId());
    DeleteFileW((onek + L".dur").c_str());
    DeleteFileW((onek + L".hazir").c_str());
    wchar_t gecici[MAX_PATH];
    GetTempPathW(MAX_PATH, gecici);
    MotorAyari ayar;
    // A folder of its own each time: the last engine may still be leaving its profile.
    static int sayac = 0;
    ayar.kullanici_klasoru = std::wstring(gecici) + L"korva_kapi_bench_" + std::to_wstring(++sayac);
    // The flood is started inside the call and is in the listener's queue before the
    // shell starts; the time it takes to start is not the gate's and is left out.
    double sel_kurulumu = 0;
    if (selli)
        ayar.dinliyor = [&](int port) {
            const double once = saniye();
            std::ofstream((onek + L".py").c_str(), std::ios::binary) << SEL;
            // Files made under Wine may be this user's alone: the script is opened to
            // the other user first.
            const std::wstring betik = onek_unix + L".py";
            if (unix_komutu(L"Z:\\bin\\sh -c \"chmod 644 " + betik +
                            L" && exec setpriv --reuid=65534 --regid=65534 --clear-groups /usr/bin/python3 " + betik +
                            L" " + std::to_wstring(port) + L" " + onek_unix + L".dur " + onek_unix + L".hazir\""))
                for (int i = 0; i < 500 && !var_mi(onek + L".hazir"); ++i)
                    Sleep(10);
            sel_kurulumu = saniye() - once;
            if (!var_mi(onek + L".hazir"))
                std::fprintf(stderr, "kapi_bench: the flood did not start\n");
        };
    std::shared_ptr<Baglanti> baglanti;
    bool bitti = false;
    const double bas = saniye();
    double son = 0;
    HRESULT sonuc = E_PENDING;
    if (FAILED(Baglanti::baslat(ayar, [&](HRESULT hr, std::shared_ptr<Baglanti> b) {
            sonuc = hr;
            bitti = true;
            baglanti = b;
            son = saniye();
        })) ||
        !olcum::kosula_kadar_pompala([&] { return bitti; }) || !baglanti) {
        std::ofstream((onek + L".dur").c_str()).put('\n');
        std::fprintf(stderr, "kapi_bench: start failed: 0x%08lx\n", static_cast<unsigned long>(sonuc));
        return -1;
    }
    std::ofstream((onek + L".dur").c_str()).put('\n');
    baglanti->kapat();
    baglanti.reset();
    Sleep(300);
    DeleteFileW((onek + L".py").c_str());
    return 1000.0 * (son - bas - sel_kurulumu);
}

}  // namespace

int main()
{
    WSADATA winsock;
    WSAStartup(MAKEWORD(2, 2), &winsock);
    std::vector<double> denetim;
    std::string tablo;
    for (int i = 0; i < 50; ++i) {
        const double bas = saniye();
        tcp_tablosunu_oku(&tablo);
        tcp_sahibi(tablo, TcpUcu{htonl(INADDR_LOOPBACK), 1}, TcpUcu{}, TCP_DINLIYOR);
        denetim.push_back(1000.0 * (saniye() - bas));
    }
    yaz("kapi_sahip_denetimi_ms", ortanca(denetim), "ms");

    wchar_t kim[64];
    const bool root = GetEnvironmentVariableW(L"USERNAME", kim, 64) > 0 && std::wstring(kim) == L"root";
    if (!root) {
        std::fprintf(stderr, "kapi_bench: not root, no flood measured\n");
        return 0;
    }
    std::vector<double> yalin, selli;
    for (int tur = 0; tur < 5; ++tur) {
        const double a = motor_baslat(false), b = motor_baslat(true);
        if (a < 0 || b < 0) {
            std::fprintf(stderr, "kapi_bench: the engine did not start (%s)\n", a < 0 ? "alone" : "in the flood");
            return 1;
        }
        yalin.push_back(a);
        selli.push_back(b);
    }
    yaz("kapi_motor_baslangici_ms", ortanca(yalin), "ms");
    yaz("kapi_motor_baslangici_selde_ms", ortanca(selli), "ms");
    return 0;
}

#include "yardimci.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "webview/webgorunum_ic.h"

namespace {

std::wstring ortam_degiskeni(const wchar_t* ad) {
    wchar_t deger[2048];
    const DWORD uzunluk = GetEnvironmentVariableW(ad, deger, 2048);
    return (uzunluk > 0 && uzunluk < 2048) ? std::wstring(deger, uzunluk) : std::wstring();
}

std::string utf8(const std::wstring& metin) {
    if (metin.empty()) return {};
    const int boyut = WideCharToMultiByte(CP_UTF8, 0, metin.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string sonuc(static_cast<size_t>(boyut), '\0');
    WideCharToMultiByte(CP_UTF8, 0, metin.c_str(), -1, &sonuc[0], boyut, nullptr, nullptr);
    sonuc.resize(static_cast<size_t>(boyut) - 1);
    return sonuc;
}

std::string dosya_oku(const std::wstring& yol) {
    HANDLE dosya = CreateFileW(yol.c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (dosya == INVALID_HANDLE_VALUE) return {};
    std::string icerik;
    char tampon[65536];
    DWORD okunan = 0;
    while (ReadFile(dosya, tampon, sizeof(tampon), &okunan, nullptr) && okunan > 0) {
        icerik.append(tampon, okunan);
    }
    CloseHandle(dosya);
    return icerik;
}

}  // namespace

std::wstring gecici_klasor(const std::wstring& ad) {
    wchar_t gecici[MAX_PATH];
    GetTempPathW(MAX_PATH, gecici);
    const std::wstring klasor =
        std::wstring(gecici) + L"korva_webview_" + std::to_wstring(GetCurrentProcessId()) + L"_" + ad;
    CreateDirectoryW(klasor.c_str(), nullptr);
    return klasor;
}

void motoru_hazirla(const wchar_t* klasor) {
    static bool hazir = false;
    if (hazir) return;
    hazir = true;
    if (ortam_degiskeni(L"KORVA_STANDIN_LOG").empty()) {
        const std::wstring gunluk = gecici_klasor(L"ana") + L"\\motor.log";
        DeleteFileW(gunluk.c_str());
        SetEnvironmentVariableW(L"KORVA_STANDIN_LOG", gunluk.c_str());
    }
    if (klasor != nullptr) {
        SetDllDirectoryW((std::wstring(KORVA_BUILD_DIR_W) + L"\\" + klasor).c_str());
    }
}

ICoreWebView2Controller* denetleyicisi(int64_t gorunum) {
    const Gorunum* kayit = gorunum_bul(gorunum);
    return kayit != nullptr ? kayit->controller : nullptr;
}

std::string denetleyici_siniri(int64_t gorunum) {
    ICoreWebView2Controller* denetleyici = denetleyicisi(gorunum);
    RECT alan = {};
    if (denetleyici == nullptr || FAILED(denetleyici->get_Bounds(&alan))) return "<yok>";
    return std::to_string(alan.left) + " " + std::to_string(alan.top) + " " + std::to_string(alan.right) + " " +
           std::to_string(alan.bottom);
}

std::vector<std::string> gunluk_satirlari() {
    std::istringstream metin(dosya_oku(ortam_degiskeni(L"KORVA_STANDIN_LOG")));
    std::vector<std::string> satirlar;
    std::string satir;
    while (std::getline(metin, satir)) satirlar.push_back(satir);
    return satirlar;
}

std::vector<std::string> gorunum_satirlari(int denetleyici) {
    const std::string onek = std::to_string(denetleyici) + " ";
    std::vector<std::string> sonuc;
    for (const std::string& satir : gunluk_satirlari()) {
        if (satir.compare(0, onek.size(), onek) == 0) sonuc.push_back(satir.substr(onek.size()));
    }
    return sonuc;
}

int gunluk_sayisi(const std::string& parca) {
    int sayi = 0;
    for (const std::string& satir : gunluk_satirlari()) {
        if (satir.find(parca) != std::string::npos) ++sayi;
    }
    return sayi;
}

int son_denetleyici() {
    int son = -1;
    for (const std::string& satir : gunluk_satirlari()) {
        const size_t bosluk = satir.find(' ');
        if (bosluk != std::string::npos && satir.compare(bosluk, std::string::npos, " created") == 0) {
            son = std::atoi(satir.c_str());
        }
    }
    return son;
}

long long acik_denetleyici_sayisi() {
    HMODULE motor = GetModuleHandleW(L"WebView2Loader.dll");
    if (motor == nullptr) return -1;
    const auto islev = reinterpret_cast<wv2_acik_denetleyici_sayisi_islev>(
        reinterpret_cast<void (*)()>(GetProcAddress(motor, WV2_ACIK_DENETLEYICI_SAYISI_ADI)));
    return islev != nullptr ? islev() : -1;
}

void bekleyenleri_isle() {
    for (int tur = 0; tur < 10; ++tur) {
        MSG mesaj;
        while (PeekMessageW(&mesaj, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&mesaj);
            DispatchMessageW(&mesaj);
        }
        Sleep(5);
    }
}

std::string metin_al_birak(TrMetin metin) {
    if (metin.ptr == nullptr) return {};
    EXPECT_EQ(metin.ptr[metin.len], '\0');
    std::string sonuc(metin.ptr, static_cast<size_t>(metin.len));
    std::free(metin.ptr);
    return sonuc;
}

Cocuk cocugu_baslat(const std::wstring& test, const std::wstring& kontroller,
                    const std::wstring& klasor) {
    Cocuk cocuk;
    cocuk.test = test;
    const std::wstring kendi = gecici_klasor(test);
    cocuk.rapor = kendi + L"\\rapor.xml";
    const std::wstring gunluk = kendi + L"\\motor.log";
    DeleteFileW(cocuk.rapor.c_str());
    DeleteFileW(gunluk.c_str());

    std::wstring program = korva_test::kendi_yolu();
    if (!klasor.empty()) program = klasor + program.substr(program.rfind(L'\\'));
    cocuk.surec = korva_test::cocuk_baslat(
        program, L"--gtest_also_run_disabled_tests --gtest_filter=" + test + L" --gtest_output=xml:" + cocuk.rapor,
        {{L"KORVA_STANDIN", kontroller}, {L"KORVA_STANDIN_LOG", gunluk}}, klasor);
    EXPECT_TRUE(cocuk.surec.basladi()) << utf8(test) << ": " << cocuk.surec.baslatma_hatasi();
    return cocuk;
}

void cocugu_bekle(Cocuk& cocuk) {
    if (!cocuk.surec.basladi()) return;
    DWORD cikis = 1;
    cocuk.surec.bekle(INFINITE, &cikis);
    EXPECT_EQ(cikis, 0u) << utf8(cocuk.test);
    // A filter that matched nothing would also exit with 0: the report says what ran.
    const std::string rapor = dosya_oku(cocuk.rapor);
    EXPECT_NE(rapor.find("<testsuites tests=\"1\" failures=\"0\""), std::string::npos)
        << utf8(cocuk.test) << "\n" << rapor.substr(0, 400);
}

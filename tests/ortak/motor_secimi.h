// Which engine a test program runs against. ctest runs the web view and browser
// programs twice: once against the stand-in engine, and once with
// KORVA_TEST_ENGINE=chromium against the engine over headless Chromium, with a
// loopback server of real pages (tests/ortak/sayfa_sunucusu.py) whose address is
// in KORVA_TEST_SUNUCU. Tests that read the stand-in's call log or use its
// controls skip themselves under the real engine, and the real pages skip
// themselves without the server.
#pragma once

#include <windows.h>

#include <string>

namespace korva_test {

inline bool gercek_motor_mu() {
    wchar_t deger[16] = {};
    const DWORD uzunluk = GetEnvironmentVariableW(L"KORVA_TEST_ENGINE", deger, 16);
    return uzunluk > 0 && uzunluk < 16 && std::wstring(deger) == L"chromium";
}

// The folder under the build folder that holds the chosen WebView2Loader.dll.
inline const wchar_t* motor_klasoru() { return gercek_motor_mu() ? L"chromium" : L"standin"; }

// "http://127.0.0.1:PORT" followed by `yol`, or "" when no server runs for this run.
inline std::string sunucu_adresi(const char* yol = "/") {
    char deger[64] = {};
    const DWORD uzunluk = GetEnvironmentVariableA("KORVA_TEST_SUNUCU", deger, sizeof(deger));
    if (uzunluk == 0 || uzunluk >= sizeof(deger)) return {};
    return std::string(deger) + yol;
}

// A server whose certificate the engine cannot verify, followed by `yol`: on the
// real engine the loopback server's TLS port ("https://127.0.0.1:PORT2", "" when
// it is not there), on the stand-in one of its own bad-certificate servers.
inline std::string kotu_sertifikali_adres(const char* yol = "/") {
    if (!gercek_motor_mu()) return std::string("https://kotu-sertifika.test") + yol;
    char deger[64] = {};
    const DWORD uzunluk = GetEnvironmentVariableA("KORVA_TEST_TLS_SUNUCU", deger, sizeof(deger));
    if (uzunluk == 0 || uzunluk >= sizeof(deger)) return {};
    return std::string(deger) + yol;
}

}  // namespace korva_test

// The first statement of a test that needs the stand-in engine's call log or controls.
#define YALNIZ_VEKIL_MOTORLA(neden)                                                        \
    do {                                                                                  \
        if (korva_test::gercek_motor_mu()) GTEST_SKIP() << "stand-in engine only: " neden; \
    } while (0)

// Test controls and the call log. Both environment variables are read once, when
// the library is loaded, so a test that wants another behaviour starts another
// process. Unknown words in KORVA_STANDIN are ignored rather than refused: the
// variable may be shared by several programs of one test run.
#include "motor_ic.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

Denetimler g_denetim;

static HANDLE g_gunluk = INVALID_HANDLE_VALUE;

// The four ways a create call can be told to behave, plus "noview" for controllers.
struct DavranisSozcugu {
    const wchar_t* sozcuk;
    Davranis davranis;
};
static const DavranisSozcugu DAVRANIS_SOZCUKLERI[] = {
    {L"fail", Davranis::basarisiz}, {L"error", Davranis::hata},
    {L"never", Davranis::hic},      {L"sync", Davranis::eszamanli},
    {L"noview", Davranis::gorunumsuz},
};

static std::wstring ortam_degiskeni(const wchar_t* ad)
{
    DWORD gereken = GetEnvironmentVariableW(ad, nullptr, 0);
    if (gereken == 0)
        return std::wstring();
    std::wstring deger(gereken, L'\0');
    DWORD yazilan = GetEnvironmentVariableW(ad, &deger[0], gereken);
    deger.resize(yazilan < gereken ? yazilan : 0);
    return deger;
}

static bool davranis_coz(const std::wstring& deger, bool gorunumsuz_olur, Davranis* sonuc)
{
    for (const DavranisSozcugu& sozcuk : DAVRANIS_SOZCUKLERI) {
        if (deger != sozcuk.sozcuk)
            continue;
        if (sozcuk.davranis == Davranis::gorunumsuz && !gorunumsuz_olur)
            return false;
        *sonuc = sozcuk.davranis;
        return true;
    }
    return false;
}

static void sozcugu_uygula(const std::wstring& sozcuk)
{
    size_t esit = sozcuk.find(L'=');
    if (esit == std::wstring::npos)
        return;
    std::wstring ad = sozcuk.substr(0, esit), deger = sozcuk.substr(esit + 1);
    if (ad == L"env")
        davranis_coz(deger, false, &g_denetim.ortam);
    else if (ad == L"controller")
        davranis_coz(deger, true, &g_denetim.denetleyici);
    else if (ad == L"title" && deger == L"none")
        g_denetim.baslik_yok = true;
    else if (ad == L"title" && deger == L"empty")
        g_denetim.baslik_bos = true;
    else if (ad == L"source" && deger == L"none")
        g_denetim.adres_yok = true;
    else if (ad == L"delay" && !deger.empty() && deger.size() <= 7 &&
             deger.find_first_not_of(L"0123456789") == std::wstring::npos)
        g_denetim.gecikme = static_cast<DWORD>(wcstoul(deger.c_str(), nullptr, 10));
}

void denetimleri_oku()
{
    std::wstring sozcukler = ortam_degiskeni(L"KORVA_STANDIN");
    size_t bas = 0;
    while (bas <= sozcukler.size()) {
        size_t virgul = sozcukler.find(L',', bas);
        if (virgul == std::wstring::npos)
            virgul = sozcukler.size();
        std::wstring sozcuk = bosluklari_daralt(sozcukler.substr(bas, virgul - bas));
        sozcugu_uygula(sozcuk);
        bas = virgul + 1;
    }

    std::wstring gunluk = ortam_degiskeni(L"KORVA_STANDIN_LOG");
    if (!gunluk.empty())
        g_gunluk = CreateFileW(gunluk.c_str(), FILE_APPEND_DATA,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

void gunluk_yaz(int64_t gorunum_no, const char* yontem, const std::string& bagimsiz)
{
    if (g_gunluk == INVALID_HANDLE_VALUE)
        return;
    std::string satir = gorunum_no < 0 ? std::string("-") : std::to_string(gorunum_no);
    satir += ' ';
    satir += yontem;
    if (!bagimsiz.empty()) {
        satir += ' ';
        satir += bagimsiz;
    }
    satir += '\n';
    // One WriteFile per line on an unbuffered handle: the line is in the file when
    // the call returns, even if the process dies next.
    DWORD yazilan = 0;
    WriteFile(g_gunluk, satir.data(), static_cast<DWORD>(satir.size()), &yazilan, nullptr);
}

std::string gunluk_metni(const wchar_t* metin)
{
    if (!metin)
        return std::string();
    std::string sonuc = utf8_e(metin);
    for (char& c : sonuc)
        if (c == '\r' || c == '\n')
            c = ' ';
    return sonuc;
}

std::string gunluk_sayisi(double deger)
{
    char tampon[64];
    for (int basamak = 1; basamak <= 17; ++basamak) {
        snprintf(tampon, sizeof tampon, "%.*g", basamak, deger);
        if (strtod(tampon, nullptr) == deger || std::isnan(deger))
            break;
    }
    return tampon;
}

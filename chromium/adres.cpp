// File addresses between the host and the engine. The host is a Windows program and
// names files as file:///C:/folder/page.html; the engine is a Linux process and
// knows only Unix paths. An address the host navigates to is turned into the Unix
// form Wine maps that drive to, and every address the engine reports under such a
// drive is turned back, so the host sees its own kind of address throughout (links
// between files of one folder included).
#include "motor_ic.h"
#include "json_tarama.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <utility>

namespace {

using UnixAdiIslevi = char*(CDECL*)(LPCWSTR);

// Drives seen so far, as (the drive's folder in Unix form, ending in '/', "C:").
std::vector<std::pair<std::string, std::string>> g_suruculer;
// Every address given to the engine in its Unix form -> the host's own text for it,
// which comes back exactly as the host wrote it (the drive letter's case included).
std::map<std::string, std::wstring> g_verilenler;

std::string yuzde_coz(const std::string& metin)
{
    std::string sonuc;
    for (size_t i = 0; i < metin.size(); ++i) {
        if (metin[i] == '%' && i + 2 < metin.size() && onaltilik(metin[i + 1]) >= 0 && onaltilik(metin[i + 2]) >= 0) {
            sonuc += static_cast<char>(onaltilik(metin[i + 1]) * 16 + onaltilik(metin[i + 2]));
            i += 2;
        } else {
            sonuc += metin[i];
        }
    }
    return sonuc;
}

// A path as a file address writes it: what would end the path or be misread is escaped.
std::string yuzde_kodla(const std::string& yol)
{
    static const char ONALTILIK[] = "0123456789ABCDEF";
    std::string sonuc;
    for (unsigned char c : yol) {
        if (c <= ' ' || c >= 0x7F || c == '%' || c == '#' || c == '?' || c == '"' || c == '<' || c == '>') {
            sonuc += '%';
            sonuc += ONALTILIK[c >> 4];
            sonuc += ONALTILIK[c & 15];
        } else {
            sonuc += static_cast<char>(c);
        }
    }
    return sonuc;
}

// "C:" and the rest of a host file address, when it names a drive.
bool surucu_adresi_mi(const std::string& adres, std::string* surucu, std::string* yol)
{
    static const char ONEK[] = "file:///";
    if (adres.size() < 11 || _strnicmp(adres.c_str(), ONEK, 8) != 0 || !isalpha(static_cast<unsigned char>(adres[8])) ||
        adres[9] != ':' || (adres[10] != '/' && adres[10] != '\\'))
        return false;
    *surucu = std::string(1, static_cast<char>(toupper(adres[8]))) + ":";
    *yol = adres.substr(11);
    return true;
}

// The Unix folder Wine maps a drive to, ending in '/'; "" when Wine does not say.
std::string surucunun_klasoru(const std::string& surucu)
{
    static UnixAdiIslevi unix_adi = reinterpret_cast<UnixAdiIslevi>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unix_adi)
        return std::string();
    std::wstring kok = utf8_den(surucu) + L"\\";
    char* klasor = unix_adi(kok.c_str());
    if (!klasor)
        return std::string();
    std::string sonuc = klasor;
    HeapFree(GetProcessHeap(), 0, klasor);
    if (sonuc.empty() || sonuc.back() != '/')
        sonuc += '/';
    return sonuc;
}

}  // namespace

// A source view's address carries its page's address after the prefix; the page's
// address is translated as it would be alone.
static const char KAYNAK_ONEKI[] = "view-source:";
static const size_t KAYNAK_ONEKI_BOYU = sizeof(KAYNAK_ONEKI) - 1;

static bool kaynak_adresi_mi(const std::string& adres)
{
    if (adres.size() <= KAYNAK_ONEKI_BOYU)
        return false;
    for (size_t i = 0; i < KAYNAK_ONEKI_BOYU; ++i)
        if (tolower(static_cast<unsigned char>(adres[i])) != KAYNAK_ONEKI[i])
            return false;
    return true;
}

std::string motora_adres(const std::wstring& adres)
{
    std::string metin = utf8_e(adres);
    if (kaynak_adresi_mi(metin))
        return KAYNAK_ONEKI + motora_adres(utf8_den(metin.substr(KAYNAK_ONEKI_BOYU)));
    std::string surucu, yol;
    if (!surucu_adresi_mi(metin, &surucu, &yol))
        return metin;
    std::string klasor;
    for (const auto& kayit : g_suruculer)
        if (kayit.second == surucu)
            klasor = kayit.first;
    if (klasor.empty()) {
        klasor = surucunun_klasoru(surucu);
        if (klasor.empty())
            return metin;
        g_suruculer.emplace_back(klasor, surucu);
        // The longest folder first: Z: is usually the whole Unix tree.
        std::sort(g_suruculer.begin(), g_suruculer.end(),
                  [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
    }
    size_t son = yol.find_first_of("?#");
    std::string ek = son == std::string::npos ? std::string() : yol.substr(son);
    std::string cozulmus = yuzde_coz(yol.substr(0, son));
    for (char& c : cozulmus)
        if (c == '\\')
            c = '/';
    std::string sonuc = "file://" + yuzde_kodla(klasor + cozulmus) + ek;
    g_verilenler[sonuc] = adres;
    return sonuc;
}

std::wstring hostun_adresi(const std::string& adres)
{
    static const char ONEK[] = "file://";
    if (kaynak_adresi_mi(adres))
        return utf8_den(KAYNAK_ONEKI) + hostun_adresi(adres.substr(KAYNAK_ONEKI_BOYU));
    if (adres.compare(0, 7, ONEK) != 0)
        return utf8_den(adres);
    auto verilen = g_verilenler.find(adres);
    if (verilen != g_verilenler.end())
        return verilen->second;
    size_t son = adres.find_first_of("?#", 7);
    std::string ek = son == std::string::npos ? std::string() : adres.substr(son);
    std::string yol = yuzde_coz(adres.substr(7, son == std::string::npos ? std::string::npos : son - 7));
    for (const auto& kayit : g_suruculer) {
        if (yol.compare(0, kayit.first.size(), kayit.first) == 0)
            return utf8_den("file:///" + kayit.second + "/" + yuzde_kodla(yol.substr(kayit.first.size())) + ek);
    }
    return utf8_den(adres);
}

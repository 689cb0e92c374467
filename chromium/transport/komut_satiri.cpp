// The engine's command line (see komut_satiri.h).
#include "komut_satiri.h"

#include <cwchar>

namespace {

std::string utf8(const std::wstring& metin)
{
    if (metin.empty())
        return std::string();
    const int n = WideCharToMultiByte(CP_UTF8, 0, metin.data(), static_cast<int>(metin.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string sonuc(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, metin.data(), static_cast<int>(metin.size()), sonuc.data(), n, nullptr,
                        nullptr);
    return sonuc;
}

std::wstring genis(const std::string& metin)
{
    if (metin.empty())
        return std::wstring();
    const int n = MultiByteToWideChar(CP_UTF8, 0, metin.data(), static_cast<int>(metin.size()), nullptr, 0);
    std::wstring sonuc(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, metin.data(), static_cast<int>(metin.size()), sonuc.data(), n);
    return sonuc;
}

FARPROC wine_islevi(const char* ad)
{
    return GetProcAddress(GetModuleHandleW(L"kernel32.dll"), ad);
}

// Wine's own conversions between its drive paths and Unix paths; empty results
// when they are missing (not under Wine) or refuse.
std::string unix_yolu(const std::wstring& yol)
{
    using Islev = char*(CDECL*)(LPCWSTR);
    const Islev cevir = reinterpret_cast<Islev>(reinterpret_cast<void*>(wine_islevi("wine_get_unix_file_name")));
    if (cevir == nullptr)
        return std::string();
    char* sonuc = cevir(yol.c_str());
    if (sonuc == nullptr)
        return std::string();
    std::string kopya = sonuc;
    HeapFree(GetProcessHeap(), 0, sonuc);
    return kopya;
}

std::wstring windows_yolu(const std::string& yol)
{
    using Islev = WCHAR*(CDECL*)(LPCSTR);
    const Islev cevir = reinterpret_cast<Islev>(reinterpret_cast<void*>(wine_islevi("wine_get_dos_file_name")));
    if (cevir == nullptr)
        return std::wstring();
    WCHAR* sonuc = cevir(yol.c_str());
    if (sonuc == nullptr)
        return std::wstring();
    std::wstring kopya = sonuc;
    HeapFree(GetProcessHeap(), 0, sonuc);
    return kopya;
}


//
// The engine's form suggestions and saved form data are off in its profile: a
// headless engine draws its suggestion list in no frame, so Down in a field would
// fill it with a suggestion the user never saw offered. Nothing typed into a form
// is kept either (entries, addresses, cards, passwords).
#define KORVA_PROFIL_AYARLARI                                                                       \
    L"{\"autofill\":{\"profile_enabled\":false,\"credit_card_enabled\":false},"                  \
    L"\"credentials_enable_service\":false}"

// The shell line is constant text; everything variable reaches it as positional
// arguments ($1 profile folder, then the engine's own command) or, for the secret
// parts, in its environment (the port and the token), so no folder name can ever be
// read as shell syntax and no other user can read the secrets in a process list.
// The shell connects back to our listener and proves who it is with the token; makes
// the profile folder, private to this user like everything the engine writes (an
// existing one must be this user's own) with the preferences above in it; starts the engine in a session of its own
// (so that its helper processes can be killed as a group) with that one connection
// as its protocol channel (descriptors 3 and 4); and removes the profile when the
// engine has ended. The engine exits by itself when the channel ends, which happens
// when this process ends in any way; a watcher kills its group all the same once the
// socket is no longer established (checked every two seconds in /proc/net/tcp without
// reading it, since its bytes are the engine's), in case the engine is stuck. That
// file is not read in one piece: a line can be missed while other sockets come and
// go, so only three checks in a row without the socket established count. Each read
// walks the kernel's whole connection table (some 6 ms of a core here), hence the
// two seconds. The
// channel ends for us only once the shell has cleaned up and gone.
// The engine writes a message's ending NUL on its own: without TCP_NODELAY on its
// end (set with perl, which Debian always has), that byte would wait for our delayed
// acknowledgement, some 40 ms per message, frames included.
// The shell lets go of the host's standard handles at once: its complaints (a job it
// killed) do not belong on the host's console, and whoever reads the host's output
// through a pipe must see it end when the host ends.
const wchar_t* const KABUK_SATIRI =
    L"exec </dev/null >/dev/null 2>&1\n"
    L"umask 077\n"
    L"exec 3<>\"/dev/tcp/127.0.0.1/$KORVA_BAGLANTI_PORTU\" || exit 1\n"
    L"printf 'korva %s\\n' \"$KORVA_BAGLANTI_JETONU\" >&3\n"
    L"unset KORVA_BAGLANTI_PORTU KORVA_BAGLANTI_JETONU\n"
    L"perl -e 'use Socket qw(IPPROTO_TCP TCP_NODELAY); open(S, \"+<&=3\") && setsockopt(S, IPPROTO_TCP, TCP_NODELAY, 1)'\n"
    L"p=$1; shift\n"
    L"mkdir -p -- \"$p\" && [ -O \"$p\" ] && [ ! -L \"$p\" ] && chmod 700 -- \"$p\" || exit 1\n"
    L"mkdir -p -- \"$p/Default\" && printf '%s' '" KORVA_PROFIL_AYARLARI "' >\"$p/Default/Preferences\" || exit 1\n"
    L"setsid \"$@\" </dev/null >\"$p/chromium.log\" 2>&1 4>&3 &\n"
    L"m=$!\n"
    L"i=$(readlink /proc/self/fd/3); i=${i#socket:[}; i=${i%]}\n"
    L"{ exec 9<> <(:)\n"
    L"  n=0\n"
    L"  while read -t 2 -u 9; [ $? -gt 128 ]; do\n"
    L"    c=$(awk -v i=\"$i\" '$10 == i { print $4 }' /proc/net/tcp)\n"
    L"    if [ \"$c\" = 01 ]; then n=0; else n=$((n+1)); [ $n -lt 3 ] || break; fi\n"
    L"  done\n"
    L"  kill -9 -- \"-$m\" \"$m\"; } 3>&- &\n"
    L"w=$!\n"
    L"wait \"$m\"\n"
    L"kill -9 -- \"-$m\" \"$w\" 2>/dev/null\n"
    L"wait \"$w\"\n"
    L"rm -rf -- \"$p\"\n";

const wchar_t* const MOTOR_BAYRAKLARI[] = {
    L"--headless",
    L"--no-sandbox",
    // The protocol on descriptors 3 and 4: no port any other process could reach.
    L"--remote-debugging-pipe",
    L"--no-first-run",
    L"--no-default-browser-check",
    L"--disable-background-networking",
    L"--disable-component-update",
    L"--disable-sync",
    L"--disable-default-apps",
    L"--disable-gpu",
    // Otherwise an error page reloads itself after a second or so: phantom navigations.
    L"--disable-auto-reload",
    L"--disable-features=BackForwardCache",
    // The engine's own popup blocker stays on: a window.open() no click started is
    // refused before any page exists for it, so it fetches nothing (Page.windowOpen
    // still tells the host). A popup a click started is held and closed (hedefler).
};

const char* const VARSAYILAN_MOTOR = "/usr/lib/chromium/chromium";
// One profile a process, removed when its engine has ended: two Korva processes
// never share one (the second engine would hand its start to the first and quit),
// and an engine that outlived its process cannot block the next start.
const wchar_t* const PROFIL_KLASORU = L"\\chromium_";

}  // namespace

// One argument quoted so that the command line splits back into exactly it
// (the rules of CommandLineToArgvW, which Wine also uses to build a Unix argv).
std::wstring arguman(const std::wstring& deger)
{
    if (!deger.empty() && deger.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return deger;
    std::wstring sonuc = L"\"";
    size_t ters_egik = 0;
    for (wchar_t harf : deger) {
        if (harf == L'\\') {
            ++ters_egik;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote itself escaped.
        sonuc.append(harf == L'"' ? ters_egik * 2 + 1 : ters_egik, L'\\');
        ters_egik = 0;
        sonuc.push_back(harf);
    }
    sonuc.append(ters_egik * 2, L'\\');
    sonuc.push_back(L'"');
    return sonuc;
}

std::string motor_ikilisi(const MotorAyari& ayar)
{
    if (!ayar.ikili.empty())
        return ayar.ikili;
    wchar_t deger[4096];
    const DWORD n = GetEnvironmentVariableW(L"KORVA_CHROMIUM", deger, 4096);
    if (n > 0 && n < 4096)
        return utf8(deger);
    return VARSAYILAN_MOTOR;
}

bool unix_dosyasi_var(const std::string& unix)
{
    std::wstring yol = windows_yolu(unix);
    if (yol.empty()) {
        // Without Wine's conversion: its default drive for the Unix root.
        yol = L"Z:" + genis(unix);
        for (wchar_t& harf : yol)
            if (harf == L'/')
                harf = L'\\';
    }
    const DWORD nitelik = GetFileAttributesW(yol.c_str());
    return nitelik != INVALID_FILE_ATTRIBUTES && (nitelik & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool klasor_olustur(const std::wstring& yol)
{
    if (yol.empty())
        return false;
    const DWORD nitelik = GetFileAttributesW(yol.c_str());
    if (nitelik != INVALID_FILE_ATTRIBUTES)
        return (nitelik & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const size_t ayrac = yol.find_last_of(L"\\/");
    if (ayrac != std::wstring::npos && ayrac > 0 && yol[ayrac - 1] != L':')
        klasor_olustur(yol.substr(0, ayrac));
    return CreateDirectoryW(yol.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::wstring motor_komutu(const std::wstring& oturumcu, const std::string& kabuk, const std::string& profil_unix,
                          const std::string& ikili)
{
    std::wstring komut = arguman(oturumcu) + L" " + arguman(genis(kabuk)) + L" -c " + arguman(KABUK_SATIRI) +
                         L" korva " + arguman(genis(profil_unix)) + L" " + arguman(genis(ikili));
    for (const wchar_t* bayrak : MOTOR_BAYRAKLARI)
        komut += L" " + arguman(bayrak);
    komut += L" " + arguman(L"--user-data-dir=" + genis(profil_unix)) + L" about:blank";
    return komut;
}

// The host's environment with `ekler` set (a variable of the same name replaced), as
// a block for CreateProcessW.
std::wstring ortam_blogu(const std::vector<std::pair<std::wstring, std::string>>& ekler)
{
    std::wstring blok;
    if (wchar_t* ortam = GetEnvironmentStringsW()) {
        for (const wchar_t* satir = ortam; *satir != L'\0'; satir += wcslen(satir) + 1) {
            bool degisen = false;
            for (const auto& ek : ekler)
                degisen = degisen || (_wcsnicmp(satir, ek.first.c_str(), ek.first.size()) == 0 &&
                                      satir[ek.first.size()] == L'=');
            if (!degisen)
                blok.append(satir).push_back(L'\0');
        }
        FreeEnvironmentStringsW(ortam);
    }
    for (const auto& ek : ekler)
        blok.append(ek.first).append(L"=").append(genis(ek.second)).push_back(L'\0');
    blok.push_back(L'\0');
    return blok;
}

std::wstring motor_profil_klasoru(const std::wstring& kullanici_klasoru)
{
    std::wstring kullanici = kullanici_klasoru;
    while (!kullanici.empty() && (kullanici.back() == L'\\' || kullanici.back() == L'/'))
        kullanici.pop_back();
    if (kullanici.empty())
        return std::wstring();
    return kullanici + PROFIL_KLASORU + std::to_wstring(GetCurrentProcessId());
}

std::string motor_icin_yol(const std::wstring& yol)
{
    return unix_yolu(yol);
}

std::wstring motor_yolundan(const std::string& yol)
{
    return windows_yolu(yol);
}

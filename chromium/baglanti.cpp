// The connection to the engine process (see baglanti.h for the threads and the
// lifetime). This file, top to bottom: the UI thread's work queue behind a
// message-only window; paths and command lines; starting the engine and waiting for
// its first answer; the state shared by the UI thread and the reading thread; the
// reading thread; the public methods.
//
// Who owns what. Baglanti::Ic holds the shared state (Ortak); the reading thread and
// every queued piece of work hold it too, so it lives until the last of them is
// done and nothing ever touches freed memory. The channel belongs to Ortak and is
// closed when Ortak goes; whoever ends the engine only cuts it (which any thread
// may do), so the reading thread never reads a closed socket. Replies awaited and the listeners are touched on the
// UI thread only; on_isleyici and ham_isleyici hooks are read by the reading thread
// under a lock.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "baglanti.h"
#include "baslangic_kapisi.h"
#include "json_tarama.h"
#include "kanal.h"

#include <atomic>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <random>

namespace {

// ---------------------------------------------------------------------------
// The UI thread's queue. Other threads append work and post one wake message;
// the window procedure runs the work in order. Work is taken one piece at a time,
// so a callback that pumps messages (a modal dialog) keeps the order too.

constexpr UINT WM_KORVA_UYAN = WM_APP + 1;

struct UiKuyrugu {
    std::mutex kilit;
    std::deque<std::function<void()>> isler;
    bool uyandirma_bekliyor = false;
    HWND pencere = nullptr;
};

// Never freed: work may still be queued while the process exits, and static
// destructors must not race the threads that are killed at that moment.
UiKuyrugu& kuyruk()
{
    static UiKuyrugu* tek = new UiKuyrugu;
    return *tek;
}

// Set when this module's static objects are destroyed (the process is ending, or
// a program that links these files statically returns from main).
std::atomic<bool> kutuphane_gidiyor{false};
struct KutuphaneBekcisi {
    ~KutuphaneBekcisi() { kutuphane_gidiyor = true; }
} kutuphane_bekcisi;

// True while the process is ending: then the other threads are already gone,
// locks they held stay held, and only the operating system should clean up.
bool surec_bitiyor()
{
    using Islev = BOOLEAN(NTAPI*)();
    static const Islev rtl_bitiyor_mu = reinterpret_cast<Islev>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlDllShutdownInProgress")));
    return kutuphane_gidiyor || (rtl_bitiyor_mu != nullptr && rtl_bitiyor_mu());
}

void kuyrugu_bosalt()
{
    UiKuyrugu& k = kuyruk();
    {
        std::lock_guard<std::mutex> kilit(k.kilit);
        k.uyandirma_bekliyor = false;
    }
    for (;;) {
        std::function<void()> is;
        {
            std::lock_guard<std::mutex> kilit(k.kilit);
            if (k.isler.empty())
                return;
            is = std::move(k.isler.front());
            k.isler.pop_front();
        }
        // An exception must not cross the window procedure into the host's loop.
        try {
            is();
        } catch (...) {
        }
    }
}

LRESULT CALLBACK ui_pencere_yordami(HWND pencere, UINT ileti, WPARAM w, LPARAM l)
{
    if (ileti == WM_KORVA_UYAN) {
        kuyrugu_bosalt();
        return 0;
    }
    return DefWindowProcW(pencere, ileti, w, l);
}

HMODULE bu_modul()
{
    HMODULE modul = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&bu_modul), &modul);
    return modul;
}

// Creates the queue's window on the calling thread, which becomes the UI thread.
bool ui_penceresi_kur()
{
    UiKuyrugu& k = kuyruk();
    {
        std::lock_guard<std::mutex> kilit(k.kilit);
        if (k.pencere != nullptr)
            return true;
    }
    // The window procedure and the threads run this module's code: it must stay
    // loaded for the rest of the process, whatever the host does with FreeLibrary.
    HMODULE sabit = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&bu_modul), &sabit);
    WNDCLASSW sinif = {};
    sinif.lpfnWndProc = ui_pencere_yordami;
    sinif.hInstance = bu_modul();
    sinif.lpszClassName = L"KorvaMotorBaglantisi";
    RegisterClassW(&sinif);
    HWND pencere = CreateWindowExW(0, sinif.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   sinif.hInstance, nullptr);
    if (pencere == nullptr)
        return false;
    std::lock_guard<std::mutex> kilit(k.kilit);
    k.pencere = pencere;
    return true;
}

bool ui_ya_ekle(std::function<void()> is)
{
    if (surec_bitiyor())
        return false;
    UiKuyrugu& k = kuyruk();
    std::lock_guard<std::mutex> kilit(k.kilit);
    if (k.pencere == nullptr)
        return false;
    k.isler.push_back(std::move(is));
    // One wake message for any number of pieces of work: the thread's message
    // queue is bounded and a busy engine sends many messages.
    if (!k.uyandirma_bekliyor && PostMessageW(k.pencere, WM_KORVA_UYAN, 0, 0))
        k.uyandirma_bekliyor = true;
    return true;
}

// ---------------------------------------------------------------------------
// Paths and command lines.

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

// The engine's form suggestions and saved form data are off in its profile: a
// headless engine draws its suggestion list in no frame, so Down in a field would
// fill it with a suggestion the user never saw offered. Nothing typed into a form
// is kept either (entries, addresses, cards, passwords).
#define KORVA_PROFIL_AYARLARI                                                                       \
    L"{\"autofill\":{\"profile_enabled\":false,\"credit_card_enabled\":false},"                  \
    L"\"credentials_enable_service\":false}"

// ---------------------------------------------------------------------------
// Starting the engine.
//
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

// How deeply the engine's messages may nest objects and arrays. Real messages nest a
// few dozen levels; a script's value returned by value is cut by the engine itself
// at far less than this.
constexpr size_t MOTOR_AZAMI_DERINLIK = 512;
// How long one send may wait for the engine to take the bytes.
constexpr DWORD GONDERME_SINIRI_MS = 10000;
const char* const VARSAYILAN_MOTOR = "/usr/lib/chromium/chromium";
// One profile a process, removed when its engine has ended: two Korva processes
// never share one (the second engine would hand its start to the first and quit),
// and an engine that outlived its process cannot block the next start.
const wchar_t* const PROFIL_KLASORU = L"\\chromium_";

class Sinir {
public:
    explicit Sinir(DWORD ms) : bitis_(GetTickCount64() + ms) {}
    DWORD kalan() const
    {
        const ULONGLONG simdi = GetTickCount64();
        return simdi >= bitis_ ? 0 : static_cast<DWORD>(bitis_ - simdi);
    }

private:
    ULONGLONG bitis_;
};

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

bool dosya_var(const std::string& unix)
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

// The host's environment with `ekler` set (a variable of the same name replaced), as
// a block for CreateProcessW.
std::wstring ortam_blogu(const std::vector<std::pair<std::wstring, std::wstring>>& ekler)
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
        blok.append(ek.first).append(L"=").append(ek.second).push_back(L'\0');
    blok.push_back(L'\0');
    return blok;
}

// Sends one command on a fresh channel and waits within `sinir` for its answer: the
// engine has started when its protocol answers. S_OK, ERROR_TIMEOUT, or E_FAIL when
// the channel ended first (the engine, or its shell, gave up).
HRESULT ilk_yaniti_bekle(MotorKanali& kanal, const Sinir& sinir)
{
    if (!kanal.gonder(R"({"id":0,"method":"Browser.getVersion"})"))
        return E_FAIL;
    std::string ileti;
    for (;;) {
        const DWORD kalan = sinir.kalan();
        if (kalan == 0)
            return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
        switch (kanal.ileti_oku(&ileti, kalan)) {
        case MotorKanali::Okuma::Ileti:
            break;
        case MotorKanali::Okuma::ZamanAsimi:
            return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
        default:
            return E_FAIL;
        }
        // Nothing else is expected before it: no domain has been enabled yet.
        std::string_view anahtar, deger;
        JsonNesneGezgini gezgin(ileti);
        int64_t id = -1;
        while (id < 0 && gezgin.sonraki(&anahtar, &deger))
            if (json_anahtar_mi(anahtar, "id") && !json_tamsayi(deger, &id))
                break;
        if (id == 0)
            return S_OK;
    }
}

HRESULT motoru_baslat(const MotorAyari& ayar, std::unique_ptr<MotorKanali>* cikti)
{
    const Sinir sinir(MOTOR_BASLAMA_SURESI_MS);
    const std::string ikili = motor_ikilisi(ayar);
    if (!dosya_var(ikili))
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);

    // The profile: a folder of our own inside the host's, made and locked by the shell.
    const std::wstring profil = motor_profil_klasoru(ayar.kullanici_klasoru);
    if (profil.empty() || !klasor_olustur(profil.substr(0, profil.rfind(L'\\'))))
        return E_FAIL;
    const std::string profil_unix = unix_yolu(profil);
    const std::string kabuk = "/bin/bash";
    const std::wstring oturumcu_windows = windows_yolu("/usr/bin/setsid");
    if (profil_unix.empty() || oturumcu_windows.empty())
        return E_FAIL;

    int dinleme_portu = 0;
    SoketSahibi dinleyen(kapi_dinleyicisi_ac(&dinleme_portu));
    std::string jeton;
    if (dinleyen.soket == INVALID_SOCKET || !jeton_uret(&jeton))
        return E_FAIL;
    if (ayar.dinliyor)
        ayar.dinliyor(dinleme_portu);

    // The shell runs in a session of its own: a signal to this process's group (a
    // Ctrl+C in the terminal, a time-out that kills the group) must not end the shell
    // before this process, or nothing would be left to end the engine. The port and
    // the token go in its environment, which only this user can read, not on its
    // command line, which every user can.
    std::wstring komut = arguman(oturumcu_windows) + L" " + arguman(genis(kabuk)) + L" -c " +
                         arguman(KABUK_SATIRI) + L" korva " + arguman(genis(profil_unix)) + L" " +
                         arguman(genis(ikili));
    for (const wchar_t* bayrak : MOTOR_BAYRAKLARI)
        komut += L" " + arguman(bayrak);
    komut += L" " + arguman(L"--user-data-dir=" + genis(profil_unix)) + L" about:blank";
    std::wstring ortam = ortam_blogu({{L"KORVA_BAGLANTI_PORTU", std::to_wstring(dinleme_portu)},
                                      {L"KORVA_BAGLANTI_JETONU", genis(jeton)}});

    STARTUPINFOW baslangic = {};
    baslangic.cb = sizeof(baslangic);
    PROCESS_INFORMATION bilgi = {};
    if (!CreateProcessW(nullptr, komut.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, ortam.data(),
                        nullptr, &baslangic, &bilgi))
        return E_FAIL;
    // Under Wine a Unix program starts with no process handle: its lifetime is held by
    // the socket below, not by anything CreateProcessW returns. Wine then leaves the
    // rest of the answer as it found it, so the thread handle is closed only beside a
    // real process handle: closing a stale value would close whichever handle of this
    // process has that number now (the listener, once).
    if (bilgi.hProcess != nullptr) {
        CloseHandle(bilgi.hProcess);
        if (bilgi.hThread != nullptr)
            CloseHandle(bilgi.hThread);
    }

    SoketSahibi soket(kabugu_kabul_et(dinleyen.soket, dinleme_portu, jeton, GetTickCount64() + sinir.kalan()));
    if (soket.soket == INVALID_SOCKET)
        return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
    closesocket(dinleyen.birak());

    // Commands are small and wait for their answers: no Nagle delay on them. A send
    // that the engine does not take within the bound cuts the connection instead of
    // holding the UI thread.
    BOOL gecikmesiz = TRUE;
    setsockopt(soket.soket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&gecikmesiz),
               sizeof(gecikmesiz));
    DWORD gonderme = GONDERME_SINIRI_MS;
    setsockopt(soket.soket, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&gonderme), sizeof(gonderme));
    auto kanal = std::make_unique<MotorKanali>(soket.birak());
    const HRESULT sonuc = ilk_yaniti_bekle(*kanal, sinir);
    if (FAILED(sonuc))
        return sonuc;  // the channel closes with `kanal`, and the shell ends the engine
    *cikti = std::move(kanal);
    return S_OK;
}

// ---------------------------------------------------------------------------
// The state the UI thread and the reading thread share.

struct Ortak {
    // The one socket both the protocol and the engine's life hang on: closing it (or
    // cutting it) ends the engine, through its shell.
    std::unique_ptr<MotorKanali> kanal;
    // Set by the reading thread when the channel has ended, before it queues the
    // end; gonder() reads it to fail at once.
    std::atomic<bool> acik{true};
    std::atomic<bool> kapatiliyor{false};
    // Set when the reading thread has finished; kapat() waits on it.
    HANDLE okuma_bitti = CreateEventW(nullptr, TRUE, FALSE, nullptr);

    std::mutex on_kilidi;
    std::map<std::string, std::shared_ptr<Baglanti::OnIsleyici>> on_isleyiciler;
    std::map<std::string, std::shared_ptr<Baglanti::HamIsleyici>> ham_isleyiciler;

    // UI thread only.
    std::atomic<int64_t> son_id{0};   // commands are sent from the UI thread and, for frame acknowledgements, the reading thread
    std::map<int64_t, Baglanti::Yanit> bekleyenler;
    std::shared_ptr<Baglanti::Olay> olay_dinleyici;
    std::function<void()> kapanis_dinleyici;
    bool kapanis_bildirildi = false;
    bool yok_edildi = false;

    ~Ortak()
    {
        if (surec_bitiyor()) {
            // The process is ending; its sockets close with it.
            kanal.release();
            return;
        }
        if (okuma_bitti != nullptr)
            CloseHandle(okuma_bitti);
    }

    // Cutting the channel is what ends the engine: it reads the end and exits, and
    // its shell kills what is left of it.
    void motoru_bitir()
    {
        if (kanal)
            kanal->kes();
    }

    void yanit_teslim(const Json& ileti)
    {
        const auto bulunan = bekleyenler.find(ileti["id"].get<int64_t>());
        if (bulunan == bekleyenler.end())
            return;
        Baglanti::Yanit yanit = std::move(bulunan->second);
        bekleyenler.erase(bulunan);
        static const Json BOS = Json::object();
        const auto sonuc = ileti.find("result");
        const auto hata = ileti.find("error");
        yanit(sonuc != ileti.end() ? *sonuc : BOS, hata != ileti.end() ? &*hata : nullptr);
    }

    // An awaited reply that came unusable fails as if the engine had refused it.
    void yanit_hatasi(int64_t id, const char* neden)
    {
        const auto bulunan = bekleyenler.find(id);
        if (bulunan == bekleyenler.end())
            return;
        Baglanti::Yanit yanit = std::move(bulunan->second);
        bekleyenler.erase(bulunan);
        const Json hata = {{"code", -1}, {"message", neden}};
        yanit(Json::object(), &hata);
    }

    void olay_teslim(const std::string& oturum, const std::string& yontem, const Json& ileti)
    {
        // A copy: the listener may destroy the connection, and with it the member.
        const std::shared_ptr<Baglanti::Olay> dinleyici = olay_dinleyici;
        if (yok_edildi || !dinleyici || !*dinleyici)
            return;
        static const Json BOS = Json::object();
        const auto parametreler = ileti.find("params");
        (*dinleyici)(oturum, yontem, parametreler != ileti.end() ? *parametreler : BOS);
    }

    // The connection has ended: every reply still awaited fails, then the listener
    // hears it, once.
    void kapanisi_bildir(const char* neden)
    {
        if (kapanis_bildirildi)
            return;
        kapanis_bildirildi = true;
        const Json hata = {{"code", -1}, {"message", neden}};
        while (!bekleyenler.empty()) {
            Baglanti::Yanit yanit = std::move(bekleyenler.begin()->second);
            bekleyenler.erase(bekleyenler.begin());
            yanit(Json::object(), &hata);
        }
        std::function<void()> dinleyici = std::move(kapanis_dinleyici);
        kapanis_dinleyici = nullptr;
        if (dinleyici && !yok_edildi)
            dinleyici();
    }
};

}  // namespace

struct Baglanti::Ic {
    std::shared_ptr<Ortak> ortak;
};

namespace {

// ---------------------------------------------------------------------------
// The reading thread: parses every message, lets a hook take it, and queues the
// rest for the UI thread in the order they came. A raw hook may take an event
// before it is parsed.

// True when a raw hook has taken the message. Its top-level keys are walked (the
// values skipped, not parsed) for "method" and "sessionId"; the last of a repeated
// key counts, as with the parser. Anything unexpected leaves it to the parser.
bool ham_isle(const std::shared_ptr<Ortak>& ortak, const std::string& metin)
{
    {
        std::lock_guard<std::mutex> kilit(ortak->on_kilidi);
        if (ortak->ham_isleyiciler.empty())
            return false;
    }
    std::string_view anahtar, deger, yontem_ham, oturum_ham;
    bool yontem_var = false, oturum_var = false;
    JsonNesneGezgini gezgin(metin);
    while (gezgin.sonraki(&anahtar, &deger)) {
        if (json_anahtar_mi(anahtar, "id"))
            return false;   // a reply
        if (json_anahtar_mi(anahtar, "method"))
            yontem_var = json_dize_mi(deger, &yontem_ham);
        else if (json_anahtar_mi(anahtar, "sessionId"))
            oturum_var = json_dize_mi(deger, &oturum_ham);
    }
    std::string yontem, oturum;
    if (!gezgin.tamam() || !yontem_var || !json_dizesi_ac(yontem_ham, &yontem) ||
        (oturum_var && !json_dizesi_ac(oturum_ham, &oturum)))
        return false;
    std::shared_ptr<Baglanti::HamIsleyici> isleyici;
    {
        std::lock_guard<std::mutex> kilit(ortak->on_kilidi);
        const auto bulunan = ortak->ham_isleyiciler.find(yontem);
        if (bulunan == ortak->ham_isleyiciler.end())
            return false;
        isleyici = bulunan->second;
    }
    try {
        return *isleyici && (*isleyici)(oturum, std::string_view(metin));
    } catch (...) {
        return false;
    }
}

// The id of a reply read off its top-level members without parsing their values
// (engines write it first), or false.
bool yanit_kimligi(std::string_view metin, int64_t* id)
{
    std::string_view anahtar, deger;
    JsonNesneGezgini gezgin(metin);
    while (gezgin.sonraki(&anahtar, &deger))
        if (json_anahtar_mi(anahtar, "id"))
            return json_tamsayi(deger, id);
    return false;
}

// A message that cannot be used as it came (nested too deep, not JSON, members of
// the wrong kind): a reply whose id can be read that cheaply fails with `neden`, so
// that nothing waits on it; anything else is dropped. The connection goes on either
// way: the engine said something, just nothing usable.
void kullanilamaz(const std::shared_ptr<Ortak>& ortak, std::string_view metin, const char* neden)
{
    int64_t id = 0;
    if (yanit_kimligi(metin, &id))
        ui_ya_ekle([ortak, id, neden] { ortak->yanit_hatasi(id, neden); });
}

void ileti_isle(const std::shared_ptr<Ortak>& ortak, const std::string& metin)
{
    if (ham_isle(ortak, metin))
        return;
    // nlohmann's parser keeps its own stack, but copying, comparing or destroying
    // what it built recurses once a level: deep enough input would overflow the
    // stack of whichever thread touches it next.
    if (json_cok_derin(metin, MOTOR_AZAMI_DERINLIK)) {
        kullanilamaz(ortak, metin, "the engine's message was nested too deeply");
        return;
    }
    auto ileti = std::make_shared<Json>(Json::parse(metin, nullptr, false));
    if (ileti->is_discarded() || !ileti->is_object()) {
        kullanilamaz(ortak, metin, "the engine's message was not valid JSON");
        return;
    }
    const auto id = ileti->find("id");
    if (id != ileti->end()) {
        if (!id->is_number_integer())
            return;
        // Whoever waits reads "result" and "error" as objects.
        const auto sonuc = ileti->find("result");
        const auto hata = ileti->find("error");
        if ((sonuc != ileti->end() && !sonuc->is_object()) || (hata != ileti->end() && !hata->is_object())) {
            const int64_t kimlik = id->get<int64_t>();
            ui_ya_ekle([ortak, kimlik] { ortak->yanit_hatasi(kimlik, "the engine's reply was malformed"); });
            return;
        }
        ui_ya_ekle([ortak, ileti] { ortak->yanit_teslim(*ileti); });
        return;
    }
    const auto yontem_ogesi = ileti->find("method");
    const auto oturum_ogesi = ileti->find("sessionId");
    const auto parametre_ogesi = ileti->find("params");
    if (yontem_ogesi == ileti->end() || !yontem_ogesi->is_string() ||
        (oturum_ogesi != ileti->end() && !oturum_ogesi->is_string()) ||
        (parametre_ogesi != ileti->end() && !parametre_ogesi->is_object()))
        return;
    std::string yontem = yontem_ogesi->get<std::string>();
    std::string oturum;
    if (oturum_ogesi != ileti->end())
        oturum = oturum_ogesi->get<std::string>();

    std::shared_ptr<Baglanti::OnIsleyici> isleyici;
    {
        std::lock_guard<std::mutex> kilit(ortak->on_kilidi);
        const auto bulunan = ortak->on_isleyiciler.find(yontem);
        if (bulunan != ortak->on_isleyiciler.end())
            isleyici = bulunan->second;
    }
    if (isleyici && *isleyici) {
        bool islendi = false;
        try {
            islendi = (*isleyici)(oturum, *ileti);
        } catch (...) {
        }
        if (islendi)
            return;
    }
    ui_ya_ekle([ortak, oturum = std::move(oturum), yontem = std::move(yontem), ileti] {
        ortak->olay_teslim(oturum, yontem, *ileti);
    });
}

DWORD WINAPI okuma_dongusu(void* parametre)
{
    std::shared_ptr<Ortak> ortak = std::move(*static_cast<std::shared_ptr<Ortak>*>(parametre));
    delete static_cast<std::shared_ptr<Ortak>*>(parametre);
    std::string metin;
    MotorKanali::Okuma okuma;
    while ((okuma = ortak->kanal->ileti_oku(&metin)) != MotorKanali::Okuma::Bitti) {
        try {
            if (okuma == MotorKanali::Okuma::Ileti)
                ileti_isle(ortak, metin);
            else
                kullanilamaz(ortak, metin, "the engine sent a message larger than the bound");
        } catch (...) {
        }
    }
    ortak->kanal->kes();
    ortak->acik = false;
    SetEvent(ortak->okuma_bitti);
    const char* neden = "the connection to the engine has ended";
    ui_ya_ekle([ortak, neden] { ortak->kapanisi_bildir(neden); });
    return 0;
}

struct BaslatmaIsi {
    MotorAyari ayar;
    std::function<void(HRESULT, std::shared_ptr<Baglanti>)> bitti;
};

DWORD WINAPI baslatma_dongusu(void* parametre)
{
    std::unique_ptr<BaslatmaIsi> is(static_cast<BaslatmaIsi*>(parametre));
    std::unique_ptr<MotorKanali> kanal;
    HRESULT sonuc = E_FAIL;
    try {
        sonuc = motoru_baslat(is->ayar, &kanal);
    } catch (...) {
        sonuc = E_FAIL;
    }
    std::shared_ptr<Ortak> ortak;
    std::shared_ptr<Baglanti> baglanti;
    if (SUCCEEDED(sonuc) && kanal) {
        ortak = std::make_shared<Ortak>();
        ortak->kanal = std::move(kanal);
        auto ic = std::make_unique<Baglanti::Ic>();
        ic->ortak = ortak;
        baglanti = std::make_shared<Baglanti>(std::move(ic));
    }
    // The result is queued before the reading thread starts, so the host has its
    // connection (and can listen) before the first event is delivered.
    ui_ya_ekle([bitti = std::move(is->bitti), sonuc, baglanti] { bitti(sonuc, baglanti); });
    if (!ortak)
        return 0;
    auto* kopya = new std::shared_ptr<Ortak>(ortak);
    HANDLE okuyucu = CreateThread(nullptr, 0, okuma_dongusu, kopya, 0, nullptr);
    if (okuyucu == nullptr) {
        delete kopya;
        ortak->kanal->kes();
        ortak->acik = false;
        SetEvent(ortak->okuma_bitti);
        ui_ya_ekle([ortak] { ortak->kapanisi_bildir("the connection to the engine has ended"); });
        return 0;
    }
    CloseHandle(okuyucu);
    return 0;
}

}  // namespace

// ---------------------------------------------------------------------------
// The public methods.

HRESULT Baglanti::baslat(const MotorAyari& ayar, std::function<void(HRESULT, std::shared_ptr<Baglanti>)> bitti)
{
    if (!bitti)
        return E_INVALIDARG;
    static const bool winsock_hazir = [] {
        WSADATA bilgi;
        return WSAStartup(MAKEWORD(2, 2), &bilgi) == 0;
    }();
    if (!winsock_hazir || !ui_penceresi_kur())
        return E_FAIL;
    auto* is = new BaslatmaIsi{ayar, std::move(bitti)};
    HANDLE baslatici = CreateThread(nullptr, 0, baslatma_dongusu, is, 0, nullptr);
    if (baslatici == nullptr) {
        delete is;
        return E_FAIL;
    }
    CloseHandle(baslatici);
    return S_OK;
}

Baglanti::Baglanti(std::unique_ptr<Ic> ic) : ic_(std::move(ic)) {}

Baglanti::~Baglanti()
{
    if (!ic_ || !ic_->ortak || surec_bitiyor())
        return;
    Ortak& ortak = *ic_->ortak;
    // Nothing of the owner's runs after this; replies still awaited are failed
    // later, on the UI thread, when the reading thread reports the end.
    ortak.yok_edildi = true;
    ortak.olay_dinleyici.reset();
    ortak.kapanis_dinleyici = nullptr;
    {
        std::lock_guard<std::mutex> kilit(ortak.on_kilidi);
        ortak.on_isleyiciler.clear();
        ortak.ham_isleyiciler.clear();
    }
    ortak.motoru_bitir();
}

int64_t Baglanti::gonder(const std::string& yontem, Json parametreler, const std::string& oturum, Yanit yanit)
{
    const std::shared_ptr<Ortak>& ortak = ic_->ortak;
    const int64_t id = ++ortak->son_id;
    Json ileti = {{"id", id}, {"method", yontem}, {"params", std::move(parametreler)}};
    if (!oturum.empty())
        ileti["sessionId"] = oturum;
    std::string metin;
    try {
        // Text that is not UTF-8 is replaced rather than refused.
        metin = ileti.dump(-1, ' ', false, Json::error_handler_t::replace);
    } catch (...) {
    }
    if (!ortak->acik || metin.empty()) {
        if (yanit) {
            const char* neden = metin.empty() ? "the command could not be written" : "the connection to the engine has ended";
            ui_ya_ekle([yanit = std::move(yanit), neden] {
                const Json hata = {{"code", -1}, {"message", neden}};
                yanit(Json::object(), &hata);
            });
        }
        return id;
    }
    if (yanit)
        ortak->bekleyenler.emplace(id, std::move(yanit));
    // A failed send cuts the connection; the reading thread then reports the end
    // and the reply fails with all the others.
    ortak->kanal->gonder(metin);
    return id;
}

void Baglanti::olay_dinle(Olay dinleyici)
{
    ic_->ortak->olay_dinleyici = std::make_shared<Olay>(std::move(dinleyici));
}

void Baglanti::on_isleyici(const std::string& yontem, OnIsleyici isleyici)
{
    std::lock_guard<std::mutex> kilit(ic_->ortak->on_kilidi);
    if (isleyici)
        ic_->ortak->on_isleyiciler[yontem] = std::make_shared<OnIsleyici>(std::move(isleyici));
    else
        ic_->ortak->on_isleyiciler.erase(yontem);
}

void Baglanti::ham_isleyici(const std::string& yontem, HamIsleyici isleyici)
{
    std::lock_guard<std::mutex> kilit(ic_->ortak->on_kilidi);
    if (isleyici)
        ic_->ortak->ham_isleyiciler[yontem] = std::make_shared<HamIsleyici>(std::move(isleyici));
    else
        ic_->ortak->ham_isleyiciler.erase(yontem);
}

void Baglanti::kapaninca(std::function<void()> dinleyici)
{
    Ortak& ortak = *ic_->ortak;
    if (ortak.kapanis_bildirildi) {
        // Too late to wait for the end: it has been, so say it now (still later).
        if (dinleyici)
            ui_ya_ekle(std::move(dinleyici));
        return;
    }
    ortak.kapanis_dinleyici = std::move(dinleyici);
}

bool Baglanti::acik_mi() const
{
    return ic_->ortak->acik;
}

bool Baglanti::ui_da_calistir(std::function<void()> is)
{
    return is && ui_ya_ekle(std::move(is));
}

void Baglanti::kapat(DWORD sure_ms)
{
    Ortak& ortak = *ic_->ortak;
    if (surec_bitiyor() || ortak.kapatiliyor.exchange(true))
        return;
    const Sinir sinir(sure_ms);
    if (ortak.acik) {
        const Json ileti = {{"id", ++ortak.son_id}, {"method", "Browser.close"}, {"params", Json::object()}};
        ortak.kanal->gonder(ileti.dump());
        // The channel ends for us once the engine has gone and its shell has
        // removed the profile; until then, or the bound, it is left to finish.
        WaitForSingleObject(ortak.okuma_bitti, sinir.kalan());
    }
    ortak.motoru_bitir();
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

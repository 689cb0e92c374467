// The connection to the engine process (see baglanti.h for the threads and the
// lifetime). This file, top to bottom: the UI thread's work queue behind a
// message-only window; paths and command lines; starting the engine and waiting for
// its port file; the state shared by the UI thread and the reading thread; the
// reading thread; the public methods.
//
// Who owns what. Baglanti::Ic holds the shared state (Ortak); the reading thread and
// every queued piece of work hold it too, so it lives until the last of them is
// done and nothing ever touches freed memory. The WebSocket belongs to Ortak; the
// lifetime socket (the engine's shell holds the other end) is closed under a lock
// by whoever ends the engine. Replies awaited and the listeners are touched on the
// UI thread only; on_isleyici and ham_isleyici hooks are read by the reading thread
// under a lock.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "baglanti.h"
#include "json_tarama.h"
#include "websocket.h"

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

// ---------------------------------------------------------------------------
// Starting the engine.
//
// The shell line is constant text; everything variable reaches it as positional
// arguments ($1 port, $2 token, $3 profile folder, then the engine's own command),
// so no folder name can ever be read as shell syntax. It connects back to our
// lifetime socket and proves who it is with the token; starts the engine in a
// session of its own (so that its helper processes can be killed as a group);
// kills that group as soon as the lifetime socket ends, which happens when this
// process ends in any way; and reports the engine's own end on the socket, so that
// an engine that dies while starting fails at once instead of at the time-out.
// The shell lets go of the host's standard handles at once: its complaints (a job it
// killed) do not belong on the host's console, and whoever reads the host's output
// through a pipe must see it end when the host ends.
const wchar_t* const KABUK_SATIRI =
    L"exec </dev/null >/dev/null 2>&1\n"
    L"exec 3<>\"/dev/tcp/127.0.0.1/$1\" || exit 1\n"
    L"printf 'korva %s\\n' \"$2\" >&3\n"
    L"p=$3; shift 3\n"
    L"setsid \"$@\" </dev/null >\"$p/chromium.log\" 2>&1 3>&- &\n"
    L"m=$!\n"
    L"{ while read -r _; do :; done; kill -9 -- \"-$m\" \"$m\"; } <&3 &\n"
    L"w=$!\n"
    L"wait \"$m\"\n"
    L"printf 'motor-bitti %s\\n' \"$?\" >&3\n"
    L"kill -9 -- \"-$m\" \"$w\" 2>/dev/null\n"
    L"wait \"$w\"\n"
    L"rm -rf -- \"$p\"\n";

const wchar_t* const MOTOR_BAYRAKLARI[] = {
    L"--headless",
    L"--no-sandbox",
    L"--remote-debugging-port=0",
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
    L"--disable-popup-blocking",
};

// How long one send may wait for the engine to take the bytes.
constexpr DWORD GONDERME_SINIRI_MS = 10000;
const char* const VARSAYILAN_MOTOR = "/usr/lib/chromium/chromium";
// One profile a process, removed when its engine has ended: two Korva processes
// never share one (the second engine would hand its start to the first and quit),
// and an engine that outlived its process cannot block the next start.
const wchar_t* const PROFIL_KLASORU = L"\\chromium_";

struct SoketSahibi {
    SOCKET soket = INVALID_SOCKET;
    SoketSahibi() = default;
    explicit SoketSahibi(SOCKET s) : soket(s) {}
    ~SoketSahibi()
    {
        if (soket != INVALID_SOCKET)
            closesocket(soket);
    }
    SoketSahibi(const SoketSahibi&) = delete;
    SoketSahibi& operator=(const SoketSahibi&) = delete;
    SOCKET birak() { return std::exchange(soket, INVALID_SOCKET); }
};

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

// Waits up to `ms` for `soket` to have something to read (or be closed).
bool okunabilir(SOCKET soket, DWORD ms)
{
    fd_set kume;
    FD_ZERO(&kume);
    FD_SET(soket, &kume);
    timeval sure = {static_cast<long>(ms / 1000), static_cast<long>((ms % 1000) * 1000)};
    return select(0, &kume, nullptr, nullptr, &sure) > 0;
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

// Line 1 the port, line 2 the browser's WebSocket path; false until both are there.
bool port_dosyasi_oku(const std::wstring& yol, int* port, std::string* ws_yolu)
{
    HANDLE dosya = CreateFileW(yol.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (dosya == INVALID_HANDLE_VALUE)
        return false;
    char icerik[1024];
    DWORD okunan = 0;
    const BOOL tamam = ReadFile(dosya, icerik, sizeof(icerik) - 1, &okunan, nullptr);
    CloseHandle(dosya);
    if (!tamam)
        return false;
    const std::string metin(icerik, okunan);
    const size_t satir = metin.find('\n');
    if (satir == std::string::npos)
        return false;
    const int deger = atoi(metin.substr(0, satir).c_str());
    std::string ikinci = metin.substr(satir + 1);
    while (!ikinci.empty() && (ikinci.back() == '\n' || ikinci.back() == '\r'))
        ikinci.pop_back();
    if (deger <= 0 || deger > 65535 || ikinci.compare(0, 10, "/devtools/") != 0)
        return false;
    *port = deger;
    *ws_yolu = ikinci;
    return true;
}

SOCKET dinleyen_soket(int* port)
{
    SoketSahibi soket(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (soket.soket == INVALID_SOCKET)
        return INVALID_SOCKET;
    sockaddr_in adres = {};
    adres.sin_family = AF_INET;
    adres.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    adres.sin_port = 0;
    int boy = sizeof(adres);
    if (bind(soket.soket, reinterpret_cast<sockaddr*>(&adres), sizeof(adres)) != 0 || listen(soket.soket, 4) != 0 ||
        getsockname(soket.soket, reinterpret_cast<sockaddr*>(&adres), &boy) != 0)
        return INVALID_SOCKET;
    *port = ntohs(adres.sin_port);
    return soket.birak();
}

// Accepts the shell's connection: the first one that proves itself with `jeton`.
SOCKET kabugu_kabul_et(SOCKET dinleyen, const std::string& jeton, const Sinir& sinir)
{
    const std::string beklenen = "korva " + jeton + "\n";
    while (sinir.kalan() > 0) {
        if (!okunabilir(dinleyen, sinir.kalan()))
            continue;
        SoketSahibi gelen(accept(dinleyen, nullptr, nullptr));
        if (gelen.soket == INVALID_SOCKET)
            continue;
        std::string okunan;
        while (okunan.size() < beklenen.size() && okunabilir(gelen.soket, sinir.kalan())) {
            char parca[64];
            const int n = recv(gelen.soket, parca, static_cast<int>(beklenen.size() - okunan.size()), 0);
            if (n <= 0)
                break;
            okunan.append(parca, n);
        }
        if (okunan == beklenen)
            return gelen.birak();
    }
    return INVALID_SOCKET;
}

struct MotorBaglantisi {
    SOCKET yasam = INVALID_SOCKET;
    std::unique_ptr<WebSoket> websoket;
};

HRESULT motoru_baslat(const MotorAyari& ayar, MotorBaglantisi* cikti)
{
    const Sinir sinir(MOTOR_BASLAMA_SURESI_MS);
    const std::string ikili = motor_ikilisi(ayar);
    if (!dosya_var(ikili))
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);

    // The profile: a folder of our own inside the host's, without the port file a
    // crashed engine may have left behind (its port would be read as ours).
    std::wstring kullanici = ayar.kullanici_klasoru;
    while (!kullanici.empty() && (kullanici.back() == L'\\' || kullanici.back() == L'/'))
        kullanici.pop_back();
    const std::wstring profil = kullanici + PROFIL_KLASORU + std::to_wstring(GetCurrentProcessId());
    if (kullanici.empty() || !klasor_olustur(profil))
        return E_FAIL;
    const std::string profil_unix = unix_yolu(profil);
    const std::string kabuk = "/bin/bash";
    const std::wstring oturumcu_windows = windows_yolu("/usr/bin/setsid");
    if (profil_unix.empty() || oturumcu_windows.empty())
        return E_FAIL;
    const std::wstring port_dosyasi = profil + L"\\DevToolsActivePort";
    DeleteFileW(port_dosyasi.c_str());

    int dinleme_portu = 0;
    SoketSahibi dinleyen(dinleyen_soket(&dinleme_portu));
    if (dinleyen.soket == INVALID_SOCKET)
        return E_FAIL;
    std::random_device rastgele;
    const std::string jeton = std::to_string(rastgele()) + std::to_string(rastgele());

    // The shell runs in a session of its own: a signal to this process's group (a
    // Ctrl+C in the terminal, a time-out that kills the group) must not end the shell
    // before this process, or nothing would be left to end the engine.
    std::wstring komut = arguman(oturumcu_windows) + L" " + arguman(genis(kabuk)) + L" -c " +
                         arguman(KABUK_SATIRI) + L" korva " +
                         std::to_wstring(dinleme_portu) + L" " + arguman(genis(jeton)) + L" " +
                         arguman(genis(profil_unix)) + L" " + arguman(genis(ikili));
    for (const wchar_t* bayrak : MOTOR_BAYRAKLARI)
        komut += L" " + arguman(bayrak);
    komut += L" " + arguman(L"--user-data-dir=" + genis(profil_unix)) + L" about:blank";

    // Under Wine a Unix program starts with no process id and no handle: its
    // lifetime is held by the socket below, not by anything CreateProcessW returns.
    STARTUPINFOW baslangic = {};
    baslangic.cb = sizeof(baslangic);
    PROCESS_INFORMATION bilgi = {};
    if (!CreateProcessW(nullptr, komut.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &baslangic, &bilgi))
        return E_FAIL;
    if (bilgi.hProcess != nullptr)
        CloseHandle(bilgi.hProcess);
    if (bilgi.hThread != nullptr)
        CloseHandle(bilgi.hThread);

    SoketSahibi yasam(kabugu_kabul_et(dinleyen.soket, jeton, sinir));
    if (yasam.soket == INVALID_SOCKET)
        return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
    closesocket(dinleyen.birak());

    // Until the port file is there, wait in short steps on the lifetime socket:
    // the shell writes to it (or closes it) when the engine has already ended.
    int port = 0;
    std::string ws_yolu;
    while (!port_dosyasi_oku(port_dosyasi, &port, &ws_yolu)) {
        if (sinir.kalan() == 0)
            return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
        if (okunabilir(yasam.soket, std::min<DWORD>(sinir.kalan(), 20)))
            return E_FAIL;
    }

    SoketSahibi ws(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (ws.soket == INVALID_SOCKET)
        return E_FAIL;
    // Commands are small and wait for their answers: no Nagle delay on them.
    BOOL gecikmesiz = TRUE;
    setsockopt(ws.soket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&gecikmesiz), sizeof(gecikmesiz));
    DWORD bekleme = std::max<DWORD>(sinir.kalan(), 1);
    setsockopt(ws.soket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&bekleme), sizeof(bekleme));
    sockaddr_in adres = {};
    adres.sin_family = AF_INET;
    adres.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    adres.sin_port = htons(static_cast<u_short>(port));
    if (connect(ws.soket, reinterpret_cast<sockaddr*>(&adres), sizeof(adres)) != 0)
        return E_FAIL;
    const SOCKET soket = ws.birak();
    auto websoket = std::make_unique<WebSoket>(soket);
    std::string neden;
    if (!websoket->el_sik("127.0.0.1:" + std::to_string(port), ws_yolu, &neden))
        return sinir.kalan() == 0 ? HRESULT_FROM_WIN32(ERROR_TIMEOUT) : E_FAIL;
    // From now on the reading thread waits as long as the engine lives; a send
    // that the engine does not take within the bound cuts the connection instead
    // of holding the UI thread.
    bekleme = 0;
    setsockopt(soket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&bekleme), sizeof(bekleme));
    DWORD gonderme = GONDERME_SINIRI_MS;
    setsockopt(soket, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&gonderme), sizeof(gonderme));
    cikti->yasam = yasam.birak();
    cikti->websoket = std::move(websoket);
    return S_OK;
}

// ---------------------------------------------------------------------------
// The state the UI thread and the reading thread share.

struct Ortak {
    std::unique_ptr<WebSoket> websoket;
    // Set by the reading thread when the WebSocket has ended, before it queues the
    // end; gonder() reads it to fail at once.
    std::atomic<bool> acik{true};
    std::atomic<bool> kapatiliyor{false};
    // Set when the reading thread has finished; kapat() waits on it.
    HANDLE okuma_bitti = CreateEventW(nullptr, TRUE, FALSE, nullptr);

    std::mutex yasam_kilidi;
    SOCKET yasam = INVALID_SOCKET;

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
            websoket.release();
            return;
        }
        motoru_bitir();
        if (okuma_bitti != nullptr)
            CloseHandle(okuma_bitti);
    }

    // Closing the lifetime socket is what ends the engine: its shell sees the end
    // and kills the engine's process group.
    void motoru_bitir()
    {
        std::lock_guard<std::mutex> kilit(yasam_kilidi);
        if (yasam != INVALID_SOCKET)
            closesocket(yasam);
        yasam = INVALID_SOCKET;
    }

    // Waits up to `ms` for the shell to report the engine's end (or to go).
    void motor_sonunu_bekle(DWORD ms)
    {
        const Sinir sinir(ms);
        SOCKET soket;
        {
            std::lock_guard<std::mutex> kilit(yasam_kilidi);
            soket = yasam;
        }
        std::string okunan;
        while (soket != INVALID_SOCKET && sinir.kalan() > 0 && okunabilir(soket, sinir.kalan())) {
            char parca[256];
            const int n = recv(soket, parca, sizeof(parca), 0);
            if (n <= 0)
                return;
            okunan.append(parca, n);
            if (okunan.find("motor-bitti") != std::string::npos)
                return;
        }
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
    void kapanisi_bildir()
    {
        if (kapanis_bildirildi)
            return;
        kapanis_bildirildi = true;
        const Json hata = {{"code", -1}, {"message", "the connection to the engine has ended"}};
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

void ileti_isle(const std::shared_ptr<Ortak>& ortak, const std::string& metin)
{
    if (ham_isle(ortak, metin))
        return;
    auto ileti = std::make_shared<Json>(Json::parse(metin, nullptr, false));
    if (ileti->is_discarded() || !ileti->is_object())
        return;
    const auto id = ileti->find("id");
    if (id != ileti->end()) {
        if (id->is_number_integer())
            ui_ya_ekle([ortak, ileti] { ortak->yanit_teslim(*ileti); });
        return;
    }
    const auto yontem_ogesi = ileti->find("method");
    if (yontem_ogesi == ileti->end() || !yontem_ogesi->is_string())
        return;
    std::string yontem = yontem_ogesi->get<std::string>();
    std::string oturum;
    const auto oturum_ogesi = ileti->find("sessionId");
    if (oturum_ogesi != ileti->end() && oturum_ogesi->is_string())
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
    while (ortak->websoket->ileti_oku(&metin)) {
        try {
            ileti_isle(ortak, metin);
        } catch (...) {
        }
    }
    ortak->websoket->kes();
    ortak->acik = false;
    // An engine we can no longer talk to is of no use: end it, unless kapat() is
    // letting it finish by itself.
    if (!ortak->kapatiliyor)
        ortak->motoru_bitir();
    SetEvent(ortak->okuma_bitti);
    ui_ya_ekle([ortak] { ortak->kapanisi_bildir(); });
    return 0;
}

struct BaslatmaIsi {
    MotorAyari ayar;
    std::function<void(HRESULT, std::shared_ptr<Baglanti>)> bitti;
};

DWORD WINAPI baslatma_dongusu(void* parametre)
{
    std::unique_ptr<BaslatmaIsi> is(static_cast<BaslatmaIsi*>(parametre));
    MotorBaglantisi motor;
    HRESULT sonuc = E_FAIL;
    try {
        sonuc = motoru_baslat(is->ayar, &motor);
    } catch (...) {
        sonuc = E_FAIL;
    }
    std::shared_ptr<Ortak> ortak;
    std::shared_ptr<Baglanti> baglanti;
    if (SUCCEEDED(sonuc)) {
        ortak = std::make_shared<Ortak>();
        ortak->websoket = std::move(motor.websoket);
        ortak->yasam = motor.yasam;
        auto ic = std::make_unique<Baglanti::Ic>();
        ic->ortak = ortak;
        baglanti = std::make_shared<Baglanti>(std::move(ic));
    } else if (motor.yasam != INVALID_SOCKET) {
        closesocket(motor.yasam);
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
        ortak->websoket->kes();
        ortak->acik = false;
        ortak->motoru_bitir();
        SetEvent(ortak->okuma_bitti);
        ui_ya_ekle([ortak] { ortak->kapanisi_bildir(); });
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
    ortak.websoket->kes();
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
    ortak->websoket->metin_gonder(metin);
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
        ortak.websoket->metin_gonder(ileti.dump());
        // The engine closes the WebSocket when it goes, then its shell reports the
        // process's end; until both, or the bound, it is left to finish by itself.
        WaitForSingleObject(ortak.okuma_bitti, sinir.kalan());
        ortak.motor_sonunu_bekle(sinir.kalan());
    }
    ortak.websoket->kes();
    ortak.motoru_bitir();
}

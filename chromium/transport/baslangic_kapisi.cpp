// The gate the engine's shell comes in by (see baslangic_kapisi.h). This file, top
// to bottom: the listener and the token; the greeting's check; the system's TCP
// table and the owner check; the wait at the gate.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "baslangic_kapisi.h"
#include "baglanti.h"

#include <algorithm>
#include <memory>
#include <vector>

// ---------------------------------------------------------------------------
// The listener and the token.

SOCKET kapi_dinleyicisi_ac(int* port)
{
    SoketSahibi soket(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (soket.soket == INVALID_SOCKET)
        return INVALID_SOCKET;
    sockaddr_in adres = {};
    adres.sin_family = AF_INET;
    adres.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    adres.sin_port = 0;
    int boy = sizeof(adres);
    // Non-blocking: the gate accepts whatever is queued in one go and must never wait
    // in accept() for a connection another process took back meanwhile.
    u_long engelsiz = 1;
    if (bind(soket.soket, reinterpret_cast<sockaddr*>(&adres), sizeof(adres)) != 0 ||
        listen(soket.soket, SOMAXCONN) != 0 ||
        getsockname(soket.soket, reinterpret_cast<sockaddr*>(&adres), &boy) != 0 ||
        ioctlsocket(soket.soket, FIONBIO, &engelsiz) != 0)
        return INVALID_SOCKET;
    *port = ntohs(adres.sin_port);
    return soket.birak();
}

bool jeton_uret(std::string* jeton)
{
    using Islev = BOOLEAN(WINAPI*)(PVOID, ULONG);
    const Islev uret = reinterpret_cast<Islev>(reinterpret_cast<void*>(
        GetProcAddress(LoadLibraryW(L"advapi32.dll"), "SystemFunction036")));
    unsigned char bayt[JETON_HANESI / 2];
    if (uret == nullptr || !uret(bayt, sizeof(bayt)))
        return false;
    static const char HANE[] = "0123456789abcdef";
    jeton->clear();
    for (unsigned char b : bayt) {
        jeton->push_back(HANE[b >> 4]);
        jeton->push_back(HANE[b & 15]);
    }
    return true;
}

std::string kapi_selami(const std::string& jeton)
{
    return "korva " + jeton + "\n";
}

// ---------------------------------------------------------------------------
// The greeting's check.

SelamDenetcisi::Durum SelamDenetcisi::al(const char* veri, size_t uzunluk)
{
    uzunluk = std::min(uzunluk, eksik());
    // Every byte is compared and the differences are gathered, not acted on: the
    // answer depends only on how many bytes came until the last one is in.
    for (size_t i = 0; i < uzunluk; ++i)
        fark_ |= static_cast<unsigned char>(veri[i] ^ beklenen_[alinan_ + i]);
    alinan_ += uzunluk;
    if (eksik() > 0)
        return Durum::Bekliyor;
    return fark_ == 0 ? Durum::Dogru : Durum::Yanlis;
}

// ---------------------------------------------------------------------------
// The system's TCP table. Each line after the header reads
//   sl: LOCAL REMOTE st tx:rx tr:when retrnsmt uid timeout inode ...
// with an address as 8 hex digits (the four bytes of the address as the machine
// stores them, printed as one native number) and a port as 4 hex digits.

namespace {

bool onaltilik(std::string_view metin, uint32_t* deger)
{
    if (metin.empty() || metin.size() > 8)
        return false;
    uint32_t sonuc = 0;
    for (char harf : metin) {
        int hane;
        if (harf >= '0' && harf <= '9')
            hane = harf - '0';
        else if (harf >= 'A' && harf <= 'F')
            hane = harf - 'A' + 10;
        else if (harf >= 'a' && harf <= 'f')
            hane = harf - 'a' + 10;
        else
            return false;
        sonuc = sonuc << 4 | static_cast<uint32_t>(hane);
    }
    *deger = sonuc;
    return true;
}

bool uc_oku(std::string_view metin, TcpUcu* uc)
{
    const size_t iki_nokta = metin.find(':');
    uint32_t adres = 0, port = 0;
    if (iki_nokta != 8 || !onaltilik(metin.substr(0, 8), &adres) || !onaltilik(metin.substr(9), &port) ||
        metin.size() != 13)
        return false;
    uc->adres = adres;
    uc->port = static_cast<uint16_t>(port);
    return true;
}

// The next field of a line separated by spaces; empty at its end.
std::string_view alan(std::string_view satir, size_t* konum)
{
    size_t bas = satir.find_first_not_of(' ', *konum);
    if (bas == std::string_view::npos) {
        *konum = satir.size();
        return {};
    }
    size_t son = satir.find(' ', bas);
    if (son == std::string_view::npos)
        son = satir.size();
    *konum = son;
    return satir.substr(bas, son - bas);
}

}  // namespace

int64_t tcp_sahibi(std::string_view tablo, TcpUcu yerel, TcpUcu uzak, int durum)
{
    size_t bas = tablo.find('\n');  // the header
    while (bas != std::string_view::npos && bas + 1 < tablo.size()) {
        const size_t son = tablo.find('\n', bas + 1);
        const std::string_view satir = tablo.substr(bas + 1, son == std::string_view::npos ? son : son - bas - 1);
        bas = son;
        size_t konum = 0;
        alan(satir, &konum);  // sl:
        TcpUcu satir_yerel, satir_uzak;
        uint32_t satir_durumu = 0;
        if (!uc_oku(alan(satir, &konum), &satir_yerel) || !uc_oku(alan(satir, &konum), &satir_uzak) ||
            !onaltilik(alan(satir, &konum), &satir_durumu))
            continue;
        if (satir_yerel.adres != yerel.adres || satir_yerel.port != yerel.port || satir_uzak.adres != uzak.adres ||
            satir_uzak.port != uzak.port || static_cast<int>(satir_durumu) != durum)
            continue;
        for (int atla = 0; atla < 3; ++atla)  // tx:rx, tr:when, retrnsmt
            alan(satir, &konum);
        const std::string_view kimlik = alan(satir, &konum);
        if (kimlik.empty() || kimlik.size() > 10 || kimlik.find_first_not_of("0123456789") != std::string_view::npos)
            return -1;
        return std::stoll(std::string(kimlik));
    }
    return -1;
}

bool tcp_tablosunu_oku(std::string* tablo)
{
    // A file of the system's, not of Wine's drive: its size is unknown until read.
    static const std::wstring yol = [] {
        const std::wstring cevrilen = motor_yolundan("/proc/net/tcp");
        return cevrilen.empty() ? std::wstring(L"Z:\\proc\\net\\tcp") : cevrilen;
    }();
    HANDLE dosya = CreateFileW(yol.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (dosya == INVALID_HANDLE_VALUE)
        return false;
    // A table of hundreds of thousands of sockets is still far below this.
    constexpr size_t AZAMI_TABLO = 256u * 1024 * 1024;
    // Large reads: the system fills each one in a single pass over its table, so the
    // fewer reads, the fewer lines missed while sockets come and go.
    tablo->clear();
    std::vector<char> parca(1024 * 1024);
    DWORD okunan = 0;
    bool tamam = true;
    while (tamam && tablo->size() < AZAMI_TABLO) {
        if (!ReadFile(dosya, parca.data(), static_cast<DWORD>(parca.size()), &okunan, nullptr))
            tamam = false;
        else if (okunan == 0)
            break;
        else
            tablo->append(parca.data(), okunan);
    }
    CloseHandle(dosya);
    return tamam && !tablo->empty();
}

// ---------------------------------------------------------------------------
// The wait at the gate.

namespace {

// A connection of this user's that has not presented the whole greeting yet.
struct Aday {
    SoketSahibi soket;
    SelamDenetcisi denetci;
    ULONGLONG son_an;
    Aday(SOCKET s, const std::string& selam, ULONGLONG son) : soket(s), denetci(selam), son_an(son) {}
};

// Takes every connection waiting in the listener's queue. Those whose other end is
// not this user's are closed unread; one look at the TCP table serves the whole batch,
// so a flood costs one read of it per pass, not one per connection.
void yenileri_al(SOCKET dinleyen, int port, const std::string& selam, ULONGLONG simdi,
                 std::vector<std::unique_ptr<Aday>>* adaylar)
{
    struct Gelen {
        SoketSahibi soket;
        TcpUcu uc;
    };
    std::vector<Gelen> gelenler;
    for (;;) {
        sockaddr_in uzak = {};
        int boy = sizeof(uzak);
        const SOCKET soket = accept(dinleyen, reinterpret_cast<sockaddr*>(&uzak), &boy);
        if (soket == INVALID_SOCKET)
            break;
        gelenler.push_back({SoketSahibi(soket), {}});
        if (uzak.sin_family == AF_INET) {
            gelenler.back().uc.adres = uzak.sin_addr.s_addr;
            gelenler.back().uc.port = ntohs(uzak.sin_port);
        }
        if (gelenler.size() >= 1024)
            break;  // the rest on the next pass
    }
    if (gelenler.empty())
        return;
    const TcpUcu biz = {htonl(INADDR_LOOPBACK), static_cast<uint16_t>(port)};
    // The table is not read in one piece: while other sockets come and go a line can
    // be missed, so a connection not found at all is looked for again before it is
    // refused. One found with another owner is refused at once.
    std::string tablo;
    for (int okuma = 0; okuma < 3 && !gelenler.empty(); ++okuma) {
        const int64_t bizim_kullanici =
            tcp_tablosunu_oku(&tablo) ? tcp_sahibi(tablo, biz, TcpUcu{}, TCP_DINLIYOR) : -1;
        for (Gelen& gelen : gelenler) {
            const int64_t sahibi = bizim_kullanici < 0 ? -1 : tcp_sahibi(tablo, gelen.uc, biz, TCP_KURULU);
            if (sahibi >= 0 && sahibi == bizim_kullanici)
                adaylar->push_back(std::make_unique<Aday>(gelen.soket.birak(), selam, simdi + SELAM_SURESI_MS));
            else if (sahibi >= 0)
                gelen.soket = SoketSahibi();  // another user's: closed unread
        }
        gelenler.erase(std::remove_if(gelenler.begin(), gelenler.end(),
                                      [](const Gelen& gelen) { return gelen.soket.soket == INVALID_SOCKET; }),
                       gelenler.end());
    }
    // What is left was never found (the table unreadable, the other end gone, a socket
    // of another family): refused like another user's, as `gelenler` goes.
}

}  // namespace

SOCKET kabugu_kabul_et(SOCKET dinleyen, int port, const std::string& jeton, ULONGLONG bitis)
{
    const std::string selam = kapi_selami(jeton);
    std::vector<std::unique_ptr<Aday>> adaylar;
    std::vector<WSAPOLLFD> izlenen;
    for (;;) {
        ULONGLONG simdi = GetTickCount64();
        if (simdi >= bitis)
            return INVALID_SOCKET;
        ULONGLONG uyanis = bitis;
        izlenen.assign(1, WSAPOLLFD{dinleyen, POLLRDNORM, 0});
        for (const auto& aday : adaylar) {
            izlenen.push_back(WSAPOLLFD{aday->soket.soket, POLLRDNORM, 0});
            uyanis = std::min(uyanis, aday->son_an);
        }
        const int bekleme = static_cast<int>(uyanis > simdi ? uyanis - simdi : 0);
        if (WSAPoll(izlenen.data(), static_cast<ULONG>(izlenen.size()), bekleme) < 0)
            return INVALID_SOCKET;
        simdi = GetTickCount64();
        for (size_t i = 0; i < adaylar.size(); ++i) {
            if ((izlenen[i + 1].revents & (POLLRDNORM | POLLHUP | POLLERR)) == 0)
                continue;
            Aday& aday = *adaylar[i];
            char parca[64];
            const int n = recv(aday.soket.soket, parca, static_cast<int>(std::min(aday.denetci.eksik(), sizeof(parca))), 0);
            if (n < 0 && WSAGetLastError() == WSAEWOULDBLOCK)
                continue;
            if (n <= 0) {
                aday.son_an = 0;  // dropped below
                continue;
            }
            switch (aday.denetci.al(parca, static_cast<size_t>(n))) {
            case SelamDenetcisi::Durum::Dogru: {
                u_long engelli = 0;
                if (ioctlsocket(aday.soket.soket, FIONBIO, &engelli) != 0)
                    return INVALID_SOCKET;
                return aday.soket.birak();
            }
            case SelamDenetcisi::Durum::Yanlis:
                aday.son_an = 0;
                break;
            case SelamDenetcisi::Durum::Bekliyor:
                break;
            }
        }
        adaylar.erase(std::remove_if(adaylar.begin(), adaylar.end(),
                                     [simdi](const auto& aday) { return aday->son_an <= simdi; }),
                      adaylar.end());
        if ((izlenen[0].revents & POLLRDNORM) != 0)
            yenileri_al(dinleyen, port, selam, simdi, &adaylar);
    }
}

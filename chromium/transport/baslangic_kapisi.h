// The gate the engine's shell comes in by. While the engine starts, this library
// listens on a loopback port; the shell line connects to it, says "korva <token>\n"
// and its connection becomes the engine's channel. Any local process can connect to
// a loopback port, so the gate lets a connection in only when
//  - its other end belongs to this process's own user (looked up in the system's
//    TCP table before a single byte of it is read; another user's connection is
//    closed unread), and
//  - it has sent the whole greeting, of a fixed length, and it matched: the bytes are
//    compared without stopping at the first difference, and a wrong greeting is
//    treated exactly like a right one until its last byte is in (or its time is up),
//    so nothing can be learned about the token one character at a time.
// Every connection waiting at the gate has a short deadline of its own and there is
// no fixed table of them: a flood can neither fill the gate nor keep the shell out.
// Start at kabugu_kabul_et.
#pragma once

#include <winsock2.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

// Closes its socket when it goes, unless the socket was handed on with birak().
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
    SoketSahibi(SoketSahibi&& diger) noexcept : soket(diger.birak()) {}
    SoketSahibi& operator=(SoketSahibi&& diger) noexcept
    {
        if (this != &diger) {
            if (soket != INVALID_SOCKET)
                closesocket(soket);
            soket = diger.birak();
        }
        return *this;
    }
    SOCKET birak() { return std::exchange(soket, INVALID_SOCKET); }
};

// The token's length: 128 random bits in hex.
constexpr size_t JETON_HANESI = 32;
// How long a connection to the gate has to present the whole greeting.
constexpr ULONGLONG SELAM_SURESI_MS = 500;

// A listening socket on 127.0.0.1 with a port the system chooses; INVALID_SOCKET on
// failure.
SOCKET kapi_dinleyicisi_ac(int* port);

// A fresh token from the system's generator, JETON_HANESI hex digits; false when the
// generator failed.
bool jeton_uret(std::string* jeton);

// What the shell sends: "korva " + token + "\n".
std::string kapi_selami(const std::string& jeton);

// Reads one connection's greeting as its bytes come. The answer is Bekliyor until
// exactly the greeting's length has been given, whatever the bytes were; then Dogru
// or Yanlis, decided over every byte.
class SelamDenetcisi {
public:
    enum class Durum { Bekliyor, Dogru, Yanlis };
    explicit SelamDenetcisi(std::string beklenen) : beklenen_(std::move(beklenen)) {}
    // How many more bytes the greeting takes; the caller reads no more than that.
    size_t eksik() const { return beklenen_.size() - alinan_; }
    Durum al(const char* veri, size_t uzunluk);

private:
    std::string beklenen_;
    size_t alinan_ = 0;
    unsigned char fark_ = 0;
};

// One end of a TCP connection: an IPv4 address as it lies in sockaddr_in (network
// order) and a port in host order.
struct TcpUcu {
    uint32_t adres = 0;
    uint16_t port = 0;
};

// The states the system's table names in hex.
constexpr int TCP_KURULU = 0x01;
constexpr int TCP_DINLIYOR = 0x0A;

// The user id owning the socket in `tablo` (the text of Linux's /proc/net/tcp) whose
// local end is `yerel`, remote end `uzak` and state `durum`; -1 when there is none or
// the table cannot be read.
int64_t tcp_sahibi(std::string_view tablo, TcpUcu yerel, TcpUcu uzak, int durum);

// The system's table of IPv4 TCP sockets (as this process's network sees them); false
// when it cannot be read.
bool tcp_tablosunu_oku(std::string* tablo);

// Waits until `bitis` (a GetTickCount64 value) for the shell's connection on
// `dinleyen` (listening on 127.0.0.1:`port`) and returns it, in blocking mode, or
// INVALID_SOCKET when none came in time or the wait failed.
SOCKET kabugu_kabul_et(SOCKET dinleyen, int port, const std::string& jeton, ULONGLONG bitis);

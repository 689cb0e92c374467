// A WebSocket client (RFC 6455) over one connected, blocking Winsock socket: the
// opening handshake, then whole messages in and out. Small on purpose: the engine
// is its only peer, so there are no extensions, no subprotocols and no proxies.
//
// Threads: one thread reads (ileti_oku); any thread may send, sends are serialised
// by a lock so that frames never interleave. kes() may be called from any thread
// and makes a blocked read return.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <mutex>
#include <random>
#include <string>
#include <vector>

// The largest message accepted from the peer; a longer one ends the connection
// rather than exhausting memory.
constexpr uint64_t WEBSOKET_AZAMI_ILETI = 512ull * 1024 * 1024;

class WebSoket {
public:
    // Takes ownership of `soket` and closes it when destroyed.
    explicit WebSoket(SOCKET soket);
    ~WebSoket();
    WebSoket(const WebSoket&) = delete;
    WebSoket& operator=(const WebSoket&) = delete;

    // Sends the upgrade request for `yol` on `konak` ("127.0.0.1:PORT") and checks
    // the answer, including Sec-WebSocket-Accept. False with the reason otherwise.
    bool el_sik(const std::string& konak, const std::string& yol, std::string* neden);

    // Reads the next whole text or binary message into `ileti`. Pings are answered
    // and pongs skipped on the way; false once the connection has ended (a close
    // frame, which is answered, the peer gone, a protocol error, or kes()).
    bool ileti_oku(std::string* ileti);

    // Sends one text message, masked as a client must. False when the socket
    // refused it; the connection is then cut, so the reader sees its end.
    bool metin_gonder(const std::string& metin);

    // Cuts the connection both ways; a blocked ileti_oku returns false.
    void kes();

private:
    bool cerceve_gonder(int islem_kodu, const char* veri, size_t uzunluk);
    bool oku(char* hedef, size_t uzunluk);

    SOCKET soket_;
    std::mutex yazma_kilidi_;
    std::mt19937 maske_ureteci_;
    bool kapanis_gonderildi_ = false;
    // Bytes read but not consumed yet (what came after the handshake, small frames).
    std::vector<char> tampon_;
    size_t tampon_basi_ = 0;
    size_t tampon_sonu_ = 0;
};

// The small codecs the handshake needs, exposed for the handshake check alone.
std::string sha1_ozeti(const std::string& veri);  // 20 raw bytes
std::string base64_kodla(const std::string& veri);

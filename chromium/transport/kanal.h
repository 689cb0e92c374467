// The engine's protocol channel: one connected loopback socket whose other end the
// engine's shell gave to Chromium as its descriptors 3 and 4 (--remote-debugging-pipe).
// Messages are JSON texts, each ended by one NUL byte, both ways; there is no framing
// and no announced length, so a message's buffer grows only as its bytes arrive.
//
// Threads: one thread reads (ileti_oku); any thread may send, sends are serialised by
// a lock so that messages never interleave. kes() may be called from any thread and
// makes a blocked read return.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

// The largest message taken from the engine. A longer one (a page can log a string of
// any size) is skipped to its end as its bytes come, before they can exhaust the
// host's memory; only its start is kept, so that a reply can still fail by its id.
// The largest real message Korva asks for is a full-page screenshot of some megabytes.
constexpr size_t KANAL_AZAMI_ILETI = 256u * 1024 * 1024;
constexpr size_t KANAL_ASIRI_BASI = 4096;

class MotorKanali {
public:
    // Takes ownership of `soket` and closes it when destroyed.
    explicit MotorKanali(SOCKET soket);
    ~MotorKanali();
    MotorKanali(const MotorKanali&) = delete;
    MotorKanali& operator=(const MotorKanali&) = delete;

    enum class Okuma {
        Ileti,       // a whole message is in `ileti`
        Bitti,       // the connection has ended (the engine gone, an error, or kes())
        Asiri,       // a message grew past KANAL_AZAMI_ILETI: skipped to its end, its first
                     // KANAL_ASIRI_BASI bytes are in `ileti`; the channel is intact
        ZamanAsimi,  // nothing whole came within `bekleme_ms`; the channel is intact
    };
    // The next message, without its NUL. Empty messages are skipped. Waits up to
    // `bekleme_ms` for bytes (INFINITE: as long as the connection lives).
    Okuma ileti_oku(std::string* ileti, DWORD bekleme_ms = INFINITE);

    // Sends one message and its NUL. False when the socket refused it; the channel is
    // then cut, so the reader sees its end.
    bool gonder(const std::string& metin);

    // Cuts the connection both ways: the engine reads its end and exits, its shell
    // sees the socket closed, and a blocked ileti_oku returns Bitti.
    void kes();

private:
    SOCKET soket_;
    std::mutex yazma_kilidi_;
    bool atlaniyor_ = false;  // reading thread only: in a message too large, up to its NUL
    // Bytes received but not consumed yet, and the message being gathered.
    std::vector<char> parca_;
    size_t parca_basi_ = 0;
    size_t parca_sonu_ = 0;
    std::string birikim_;
};

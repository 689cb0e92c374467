// Screencast frames: the engine sends each as a Page.screencastFrame event whose
// params.data is a JPEG in base64 (about 320 KB of text for a 1392x873 view). This is
// the fast way from that message to BGRA pixels, on the connection's reading
// thread, before (and instead of) parsing the message:
//
//   KareIletisi ileti;                        // cut apart, nothing parsed
//   if (!kare_iletisini_ayir(metin, &ileti))  // not a frame, or not as expected:
//       return false;                         //   let the usual path have it
//   std::shared_ptr<Kare> kare = cozucu.coz(ileti.veri);   // null: bad data
//
// Under Wine, per 1392x873 frame (bench/kare_cozme.cpp): cutting apart 0.04 ms
// instead of a 1.5-6 ms parse and copy; base64 by table 0.13 ms instead of 2.4;
// libjpeg-turbo with its SIMD code straight to BGRA, in buffers kept from one frame
// to the next (fresh multi-megabyte buffers cost page faults every time).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A decoded frame: 32-bit BGRA pixels (alpha 255), top row first, rows genislik * 4
// bytes apart, no padding.
struct Kare {
    int genislik = 0, yukseklik = 0;
    std::vector<uint8_t> pikseller;
};

// A Page.screencastFrame message cut apart. `veri` points into the message's text.
struct KareIletisi {
    // The message's own sessionId: the page's session ("" when there is none).
    std::string oturum;
    // params.sessionId: the number Page.screencastFrameAck gives back.
    int64_t onay = 0;
    // params.data: the JPEG in base64, as written between the quotes (a JSON escape
    // such as \/ is left in; KareCozucu::coz takes it so).
    std::string_view veri;
    // params.metadata.deviceWidth and deviceHeight, in CSS pixels; 0 when absent.
    double cihaz_genisligi = 0, cihaz_yuksekligi = 0;
};

// Cuts `ileti` apart without building a JSON tree. False (and `kare` untouched)
// when it is not a well-formed Page.screencastFrame event with a string params.data
// and an integer params.sessionId. Duplicate keys: the last one counts, as with the
// full parser.
bool kare_iletisini_ayir(std::string_view ileti, KareIletisi* kare);

// Base64 (standard alphabet; the '=' padding optional, no whitespace) into `bayt`,
// resized to the decoded length (its capacity is kept, so a reused vector does not
// allocate again). False on anything else.
bool base64_coz(std::string_view metin, std::vector<uint8_t>* bayt);

// Decodes frames, keeping its buffers from one frame to the next. One thread at a
// time (the reading thread owns it); the frames it hands out may be read and
// released on any thread.
class KareCozucu {
public:
    // The biggest frame it decodes, in pixels (4K is 8.3 million).
    static constexpr int64_t AZAMI_PIKSEL = 40 * 1000 * 1000;
    // Frames kept for reuse once released (the shown one, the one on its way, the
    // one being decoded are all in use; a few tabs may each hold one).
    static constexpr size_t HAVUZ_BOYU = 3;

    KareCozucu();
    ~KareCozucu();
    KareCozucu(const KareCozucu&) = delete;
    KareCozucu& operator=(const KareCozucu&) = delete;

    // A JPEG in base64 (plain, or a JSON string's raw text with escapes) into a
    // frame from the pool; null on bad data. The frame goes back to the pool when
    // its last shared_ptr goes, on whatever thread, so keep the pointer rather than
    // moving the pixels out (that works too, but then they are allocated afresh).
    // The pool outlives the decoder as long as a frame it gave is held.
    std::shared_ptr<Kare> coz(std::string_view base64);
    // The same into a given frame (its pixel buffer reused when big enough).
    bool coz(std::string_view base64, Kare* kare);
    // A JPEG's bytes into a frame. False when it is not a JPEG libjpeg decodes whole,
    // does not end with its end-of-image marker (a frame cut short would decode with
    // its missing part made up), or is larger than AZAMI_PIKSEL; `kare` is then left
    // as it was.
    bool jpeg_coz(const uint8_t* jpeg, size_t boy, Kare* kare);

private:
    struct Ic;
    std::unique_ptr<Ic> ic_;
};

// Decodes a screencast frame (base64 of a JPEG) into BGRA; false when it is not one.
// Shares one KareCozucu under a lock (its buffers stay between calls).
bool kareyi_coz(const std::string& base64, Kare* kare);

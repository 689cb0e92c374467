// The WebSocket client: SHA-1 and base64 for the handshake, the handshake itself,
// then reading and writing frames. Start at WebSoket::el_sik.
#include "websocket.h"

#include <algorithm>
#include <cstring>

namespace {

// The GUID every server appends to the client's key before hashing it.
const char* const WEBSOKET_GUID = "258EAFA5-E914-47DA-95CA-C5AB0DC85B11";
constexpr size_t TAMPON_BOYU = 64 * 1024;
// recv and send take an int length; large buffers go in slices of this size.
constexpr size_t DILIM = 1024 * 1024;

enum IslemKodu { DEVAM = 0x0, METIN = 0x1, IKILI = 0x2, KAPANIS = 0x8, PING = 0x9, PONG = 0xA };

uint32_t sola_dondur(uint32_t deger, int adim)
{
    return (deger << adim) | (deger >> (32 - adim));
}

bool ayni_harfler(const std::string& a, const char* b)
{
    const size_t uzunluk = strlen(b);
    if (a.size() != uzunluk)
        return false;
    for (size_t i = 0; i < uzunluk; ++i)
        if (tolower(static_cast<unsigned char>(a[i])) != tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string kirp(const std::string& metin)
{
    const size_t bas = metin.find_first_not_of(" \t");
    if (bas == std::string::npos)
        return std::string();
    const size_t son = metin.find_last_not_of(" \t\r");
    return metin.substr(bas, son - bas + 1);
}

}  // namespace

std::string sha1_ozeti(const std::string& veri)
{
    uint32_t h[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
    // The message, a 1 bit, zeros, and its length in bits as a big-endian 64-bit
    // number, to a multiple of 64 bytes.
    std::string blok = veri;
    blok.push_back(static_cast<char>(0x80));
    while (blok.size() % 64 != 56)
        blok.push_back('\0');
    const uint64_t bit_sayisi = static_cast<uint64_t>(veri.size()) * 8;
    for (int i = 7; i >= 0; --i)
        blok.push_back(static_cast<char>((bit_sayisi >> (i * 8)) & 0xFF));

    for (size_t bas = 0; bas < blok.size(); bas += 64) {
        uint32_t w[80];
        for (int i = 0; i < 16; ++i) {
            const unsigned char* p = reinterpret_cast<const unsigned char*>(blok.data() + bas + i * 4);
            w[i] = (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
        }
        for (int i = 16; i < 80; ++i)
            w[i] = sola_dondur(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
        uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
        for (int i = 0; i < 80; ++i) {
            uint32_t f, k;
            if (i < 20) {
                f = (b & c) | (~b & d);
                k = 0x5A827999;
            } else if (i < 40) {
                f = b ^ c ^ d;
                k = 0x6ED9EBA1;
            } else if (i < 60) {
                f = (b & c) | (b & d) | (c & d);
                k = 0x8F1BBCDC;
            } else {
                f = b ^ c ^ d;
                k = 0xCA62C1D6;
            }
            const uint32_t gecici = sola_dondur(a, 5) + f + e + k + w[i];
            e = d;
            d = c;
            c = sola_dondur(b, 30);
            b = a;
            a = gecici;
        }
        h[0] += a;
        h[1] += b;
        h[2] += c;
        h[3] += d;
        h[4] += e;
    }
    std::string ozet;
    for (uint32_t parca : h)
        for (int i = 3; i >= 0; --i)
            ozet.push_back(static_cast<char>((parca >> (i * 8)) & 0xFF));
    return ozet;
}

std::string base64_kodla(const std::string& veri)
{
    static const char ALFABE[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string sonuc;
    size_t i = 0;
    for (; i + 3 <= veri.size(); i += 3) {
        const uint32_t uc = (uint32_t(uint8_t(veri[i])) << 16) | (uint32_t(uint8_t(veri[i + 1])) << 8) |
                            uint32_t(uint8_t(veri[i + 2]));
        sonuc += ALFABE[(uc >> 18) & 63];
        sonuc += ALFABE[(uc >> 12) & 63];
        sonuc += ALFABE[(uc >> 6) & 63];
        sonuc += ALFABE[uc & 63];
    }
    const size_t kalan = veri.size() - i;
    if (kalan > 0) {
        uint32_t uc = uint32_t(uint8_t(veri[i])) << 16;
        if (kalan == 2)
            uc |= uint32_t(uint8_t(veri[i + 1])) << 8;
        sonuc += ALFABE[(uc >> 18) & 63];
        sonuc += ALFABE[(uc >> 12) & 63];
        sonuc += kalan == 2 ? ALFABE[(uc >> 6) & 63] : '=';
        sonuc += '=';
    }
    return sonuc;
}

WebSoket::WebSoket(SOCKET soket) : soket_(soket), maske_ureteci_(std::random_device{}()), tampon_(TAMPON_BOYU) {}

WebSoket::~WebSoket()
{
    if (soket_ != INVALID_SOCKET)
        closesocket(soket_);
}

bool WebSoket::el_sik(const std::string& konak, const std::string& yol, std::string* neden)
{
    std::string anahtar_baytlari(16, '\0');
    std::random_device rastgele;
    for (char& bayt : anahtar_baytlari)
        bayt = static_cast<char>(rastgele() & 0xFF);
    const std::string anahtar = base64_kodla(anahtar_baytlari);
    // No Origin header: the engine refuses origins it was not told to allow.
    const std::string istek = "GET " + yol + " HTTP/1.1\r\nHost: " + konak +
                              "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Key: " + anahtar +
                              "\r\nSec-WebSocket-Version: 13\r\n\r\n";
    for (size_t gonderilen = 0; gonderilen < istek.size();) {
        const int n = send(soket_, istek.data() + gonderilen, static_cast<int>(istek.size() - gonderilen), 0);
        if (n <= 0) {
            *neden = "sending the upgrade request failed";
            return false;
        }
        gonderilen += n;
    }

    // The answer's head ends at an empty line; whatever follows it is frames.
    size_t baslik_sonu = std::string::npos;
    while (baslik_sonu == std::string::npos) {
        if (tampon_sonu_ == tampon_.size()) {
            *neden = "the upgrade answer is too long";
            return false;
        }
        const int n = recv(soket_, tampon_.data() + tampon_sonu_, static_cast<int>(tampon_.size() - tampon_sonu_), 0);
        if (n <= 0) {
            *neden = "the engine closed the connection during the upgrade";
            return false;
        }
        tampon_sonu_ += n;
        const std::string okunan(tampon_.data(), tampon_sonu_);
        baslik_sonu = okunan.find("\r\n\r\n");
    }
    const std::string bas(tampon_.data(), baslik_sonu + 2);
    tampon_basi_ = baslik_sonu + 4;

    size_t satir_sonu = bas.find("\r\n");
    const std::string durum = bas.substr(0, satir_sonu);
    if (durum.compare(0, 9, "HTTP/1.1 ") != 0 || durum.compare(9, 3, "101") != 0) {
        *neden = "the engine refused the upgrade: " + durum;
        return false;
    }
    std::string kabul;
    while (satir_sonu + 2 < bas.size()) {
        const size_t bas_i = satir_sonu + 2;
        satir_sonu = bas.find("\r\n", bas_i);
        const std::string satir = bas.substr(bas_i, satir_sonu - bas_i);
        const size_t iki_nokta = satir.find(':');
        if (iki_nokta != std::string::npos && ayni_harfler(kirp(satir.substr(0, iki_nokta)), "Sec-WebSocket-Accept"))
            kabul = kirp(satir.substr(iki_nokta + 1));
    }
    if (kabul != base64_kodla(sha1_ozeti(anahtar + WEBSOKET_GUID))) {
        *neden = "the engine's Sec-WebSocket-Accept does not match the key";
        return false;
    }
    return true;
}

bool WebSoket::oku(char* hedef, size_t uzunluk)
{
    while (uzunluk > 0) {
        if (tampon_basi_ < tampon_sonu_) {
            const size_t parca = std::min(uzunluk, tampon_sonu_ - tampon_basi_);
            memcpy(hedef, tampon_.data() + tampon_basi_, parca);
            tampon_basi_ += parca;
            hedef += parca;
            uzunluk -= parca;
            continue;
        }
        // Large payloads go straight to their place; small reads go through the
        // buffer so that a frame head does not cost a call of its own.
        if (uzunluk >= tampon_.size()) {
            const int n = recv(soket_, hedef, static_cast<int>(std::min(uzunluk, DILIM)), 0);
            if (n <= 0)
                return false;
            hedef += n;
            uzunluk -= n;
            continue;
        }
        const int n = recv(soket_, tampon_.data(), static_cast<int>(tampon_.size()), 0);
        if (n <= 0)
            return false;
        tampon_basi_ = 0;
        tampon_sonu_ = n;
    }
    return true;
}

bool WebSoket::ileti_oku(std::string* ileti)
{
    ileti->clear();
    int mesaj_kodu = -1;  // the opcode of the message being assembled from fragments
    for (;;) {
        unsigned char bas[2];
        if (!oku(reinterpret_cast<char*>(bas), 2))
            return false;
        const bool son_parca = (bas[0] & 0x80) != 0;
        const int kod = bas[0] & 0x0F;
        const bool maskeli = (bas[1] & 0x80) != 0;
        uint64_t uzunluk = bas[1] & 0x7F;
        if (uzunluk >= 126) {
            unsigned char ek[8];
            const int bayt = uzunluk == 126 ? 2 : 8;
            if (!oku(reinterpret_cast<char*>(ek), bayt))
                return false;
            uzunluk = 0;
            for (int i = 0; i < bayt; ++i)
                uzunluk = (uzunluk << 8) | ek[i];
        }
        unsigned char maske[4] = {};
        if (maskeli && !oku(reinterpret_cast<char*>(maske), 4))
            return false;

        if (kod >= KAPANIS) {
            // Control frames are short, whole, and may come between fragments.
            if (!son_parca || uzunluk > 125)
                return false;
            char veri[125];
            if (!oku(veri, uzunluk))
                return false;
            for (uint64_t i = 0; maskeli && i < uzunluk; ++i)
                veri[i] ^= maske[i % 4];
            if (kod == PING) {
                cerceve_gonder(PONG, veri, uzunluk);
                continue;
            }
            if (kod == PONG)
                continue;
            if (kod == KAPANIS)
                cerceve_gonder(KAPANIS, veri, std::min<uint64_t>(uzunluk, 2));
            return false;
        }
        if (kod == DEVAM) {
            if (mesaj_kodu < 0)
                return false;
        } else {
            if (mesaj_kodu >= 0 || (kod != METIN && kod != IKILI))
                return false;
            mesaj_kodu = kod;
        }
        const size_t eski = ileti->size();
        if (uzunluk > WEBSOKET_AZAMI_ILETI - eski)
            return false;
        ileti->resize(eski + uzunluk);
        char* hedef = ileti->data() + eski;
        if (!oku(hedef, uzunluk))
            return false;
        for (uint64_t i = 0; maskeli && i < uzunluk; ++i)
            hedef[i] ^= maske[i % 4];
        if (son_parca)
            return true;
    }
}

bool WebSoket::metin_gonder(const std::string& metin)
{
    return cerceve_gonder(METIN, metin.data(), metin.size());
}

bool WebSoket::cerceve_gonder(int islem_kodu, const char* veri, size_t uzunluk)
{
    std::lock_guard<std::mutex> kilit(yazma_kilidi_);
    // Nothing may follow our close frame.
    if (kapanis_gonderildi_)
        return false;
    if (islem_kodu == KAPANIS)
        kapanis_gonderildi_ = true;

    std::string cerceve;
    cerceve.reserve(uzunluk + 14);
    cerceve.push_back(static_cast<char>(0x80 | islem_kodu));
    if (uzunluk < 126) {
        cerceve.push_back(static_cast<char>(0x80 | uzunluk));
    } else if (uzunluk <= 0xFFFF) {
        cerceve.push_back(static_cast<char>(0x80 | 126));
        cerceve.push_back(static_cast<char>(uzunluk >> 8));
        cerceve.push_back(static_cast<char>(uzunluk & 0xFF));
    } else {
        cerceve.push_back(static_cast<char>(0x80 | 127));
        for (int i = 7; i >= 0; --i)
            cerceve.push_back(static_cast<char>((static_cast<uint64_t>(uzunluk) >> (i * 8)) & 0xFF));
    }
    const uint32_t maske_sayisi = maske_ureteci_();
    char maske[4];
    memcpy(maske, &maske_sayisi, 4);
    cerceve.append(maske, 4);
    const size_t bas = cerceve.size();
    cerceve.append(veri, uzunluk);
    for (size_t i = 0; i < uzunluk; ++i)
        cerceve[bas + i] ^= maske[i % 4];

    for (size_t gonderilen = 0; gonderilen < cerceve.size();) {
        const int n = send(soket_, cerceve.data() + gonderilen,
                           static_cast<int>(std::min(cerceve.size() - gonderilen, DILIM)), 0);
        if (n <= 0) {
            // A frame cut short leaves the stream unreadable for the peer.
            shutdown(soket_, SD_BOTH);
            return false;
        }
        gonderilen += n;
    }
    return true;
}

void WebSoket::kes()
{
    shutdown(soket_, SD_BOTH);
}

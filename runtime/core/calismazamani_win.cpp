// Runtime core, value layer: objects, number/text conversions, concatenation,
// line input and printing. Start with the object header below; the entry points
// follow in the order objects, texts, input, printing.
//
// Conventions of this unit: a text argument with a null pointer or a length of 0
// or less is empty; every text result is a fresh malloc block of exactly its
// length, without a terminating zero, and the empty result is {nullptr, 0}.
#include "core/calismazamani_win.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cinttypes>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The three words in front of every object's payload.
struct NesneBasligi {
    int64_t refcount;
    void* tag;
    int64_t block_size;
};
static_assert(sizeof(NesneBasligi) == 24, "the object header is three 64-bit words");

NesneBasligi* baslik_of(void* payload) {
    return reinterpret_cast<NesneBasligi*>(static_cast<char*>(payload) - sizeof(NesneBasligi));
}

bool metin_bos(const char* bytes, int64_t length) { return bytes == nullptr || length <= 0; }

// Copies `length` bytes into a fresh block; the empty text when there is nothing
// to copy or no memory.
TrMetin metin_kopyala(const char* bytes, int64_t length) {
    if (length <= 0) return {nullptr, 0};
    char* block = static_cast<char*>(std::malloc(static_cast<size_t>(length)));
    if (block == nullptr) return {nullptr, 0};
    std::memcpy(block, bytes, static_cast<size_t>(length));
    return {block, length};
}

// The streams carry bytes unchanged: no CR/LF translation in either direction, so
// what a program prints is exactly its text and line input sees every byte (it
// takes a line's CR LF ending off itself; a stream in text mode would also drop
// other carriage returns and stop at a Ctrl+Z).
void konsolu_hazirla() {
    static bool hazir = false;
    if (hazir) return;
    hazir = true;
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
}

TrMetin bicimli_metin(const char* buffer, int written) {
    if (written <= 0) return {nullptr, 0};
    return metin_kopyala(buffer, written);
}

}  // namespace

// ---- Objects -------------------------------------------------------------

void* _tr_nesne_olustur(void* tag, int64_t payload_size) noexcept {
    if (payload_size < 0 || payload_size > INT64_MAX - static_cast<int64_t>(sizeof(NesneBasligi)))
        return nullptr;
    const int64_t block_size = payload_size + static_cast<int64_t>(sizeof(NesneBasligi));
    if (static_cast<uint64_t>(block_size) > SIZE_MAX) return nullptr;
    // Fresh committed pages are zero-filled by the system.
    void* block = VirtualAlloc(nullptr, static_cast<SIZE_T>(block_size), MEM_RESERVE | MEM_COMMIT,
                               PAGE_READWRITE);
    if (block == nullptr) return nullptr;
    auto* header = static_cast<NesneBasligi*>(block);
    header->refcount = 1;
    header->tag = tag;
    header->block_size = block_size;
    return header + 1;
}

void _tr_ref_artir(void* payload) noexcept {
    if (payload == nullptr) return;
    baslik_of(payload)->refcount += 1;
}

void _tr_ref_azalt(void* payload) noexcept {
    if (payload == nullptr) return;
    NesneBasligi* header = baslik_of(payload);
    header->refcount -= 1;
    if (header->refcount <= 0) VirtualFree(header, 0, MEM_RELEASE);
}

// ---- Numbers and texts ---------------------------------------------------

TrMetin _tr_tam_metin(int64_t value) noexcept {
    char buffer[32];
    return bicimli_metin(buffer, std::snprintf(buffer, sizeof buffer, "%" PRId64, value));
}

TrMetin _tr_ondalik_metin(double value) noexcept {
    char buffer[64];
    return bicimli_metin(buffer, std::snprintf(buffer, sizeof buffer, "%.6g", value));
}

// The leading decimal integer of at most the first 63 bytes: white space, one
// optional sign, digits. A number beyond the 64-bit range saturates at the limit.
int64_t _tr_metin_tam(const char* bytes, int64_t length) noexcept {
    if (metin_bos(bytes, length)) return 0;
    char buffer[64];
    const size_t taken = static_cast<size_t>(length < 63 ? length : 63);
    std::memcpy(buffer, bytes, taken);
    buffer[taken] = '\0';
    const long long value = std::strtoll(buffer, nullptr, 10);
    return static_cast<int64_t>(value);  // strtoll already saturates at LLONG_MIN/LLONG_MAX
}

TrMetin _metin_birlestir(const char* a, int64_t a_length, const char* b, int64_t b_length) noexcept {
    const int64_t a_used = metin_bos(a, a_length) ? 0 : a_length;
    const int64_t b_used = metin_bos(b, b_length) ? 0 : b_length;
    if (a_used > INT64_MAX - b_used) return {nullptr, 0};
    const int64_t total = a_used + b_used;
    if (total == 0 || static_cast<uint64_t>(total) > SIZE_MAX) return {nullptr, 0};
    char* block = static_cast<char*>(std::malloc(static_cast<size_t>(total)));
    if (block == nullptr) return {nullptr, 0};
    if (a_used > 0) std::memcpy(block, a, static_cast<size_t>(a_used));
    if (b_used > 0) std::memcpy(block + a_used, b, static_cast<size_t>(b_used));
    return {block, total};
}

// One line of standard input without its line end; at most 4095 bytes a call. The
// line end is a line feed, or a carriage return and a line feed (a console, a text
// file written on Windows); every other byte stays, a zero byte or a carriage
// return inside the line included. A line longer than 4095 bytes comes back in
// pieces, only the last of which lost its line end.
TrMetin _tr_satiroku(void) noexcept {
    konsolu_hazirla();
    constexpr size_t kParcaSiniri = 4095;
    char buffer[kParcaSiniri];
    size_t length = 0;
    bool line_end = false;
    int byte = EOF;
    while (length < kParcaSiniri && (byte = std::getc(stdin)) != EOF) {
        if (byte == '\n') {
            line_end = true;
            break;
        }
        buffer[length++] = static_cast<char>(byte);
    }
    if (length == 0 && !line_end) return {nullptr, 0};
    // A piece that filled up just before the line feed of a CR LF still ends the line.
    if (!line_end && length == kParcaSiniri && buffer[length - 1] == '\r') {
        byte = std::getc(stdin);
        if (byte == '\n') {
            line_end = true;
        } else if (byte != EOF) {
            std::ungetc(byte, stdin);
        }
    }
    if (line_end && length > 0 && buffer[length - 1] == '\r') length -= 1;
    // An empty line has storage, so that it differs from the end of input.
    char* block = static_cast<char*>(std::malloc(length > 0 ? length : 1));
    if (block == nullptr) return {nullptr, 0};
    std::memcpy(block, buffer, length);
    return {block, static_cast<int64_t>(length)};
}

// ---- Printing ------------------------------------------------------------

void _yazdir_tam(int64_t value) noexcept {
    konsolu_hazirla();
    std::printf("%" PRId64 "\n", value);
}

void _yazdir_metin(const char* bytes, int64_t length) noexcept {
    if (metin_bos(bytes, length)) return;
    konsolu_hazirla();
    std::fwrite(bytes, 1, static_cast<size_t>(length), stdout);
    std::fputc('\n', stdout);
}

void _yazdir_ondalik(double value) noexcept {
    konsolu_hazirla();
    std::printf("%g\n", value);
}

void _yazdir_mantik(int64_t value) noexcept {
    konsolu_hazirla();
    std::fputs(value != 0 ? "dogru\n" : "yanlis\n", stdout);
}

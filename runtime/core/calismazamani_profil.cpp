// Runtime core, diagnostics: the call profiler and the test tally, both reported on
// standard error. Start with the profiler table below; the entry points follow in
// the order entry, exit, report, check, summary.
//
// Conventions of this file: all state is program-wide, zero at process start and
// never reset; one thread only, so plain arithmetic. A name is matched byte for
// byte and stored cut to 127 bytes, so a longer name never finds its own entry
// and every call with it takes a fresh one while the table has room. The counter
// is read on the far side of the table lookup in both calls, so the lookup stays
// out of the measured interval.
#include "core/calismazamani_win.h"
#include "core/calismazamani_ic.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <climits>
#include <cstdio>
#include <cstring>

namespace {

constexpr int PROFIL_KAPASITE = 256;
constexpr int64_t PROFIL_AD_SINIRI = 127;  // bytes of a stored name, before its zero
constexpr int64_t NANOSANIYE = 1000000000;

struct ProfilKaydi {
    char name[PROFIL_AD_SINIRI + 1];
    int64_t total_ns;     // summed over completed calls
    int64_t calls;        // completed calls (exits that had an entry to measure from)
    int64_t start_ticks;  // counter at the latest entry
    bool entered;         // an entry has happened: start_ticks means something
};

ProfilKaydi profil_tablo[PROFIL_KAPASITE];
int32_t profil_islev_sayisi = 0;
int64_t qpc_frekans = 0;  // ticks per second; 0 until the first entry reads it

int32_t _test_basarili = 0;
int32_t _test_basarisiz = 0;

int64_t sayac_oku() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// The reports are exact byte formats: no LF to CR LF translation on the way out,
// the same as for standard output.
void hata_akisini_hazirla() {
    static bool hazir = false;
    if (hazir) return;
    hazir = true;
    _setmode(_fileno(stderr), _O_BINARY);
}

bool ad_eslesir(const ProfilKaydi& kayit, const char* name, int64_t length) {
    if (length > PROFIL_AD_SINIRI) return false;  // its stored form was cut
    const size_t n = static_cast<size_t>(length);
    return std::strncmp(kayit.name, name, n) == 0 && kayit.name[n] == '\0';
}

// The name's entry, a new one when the name is new, or null when the table is full.
ProfilKaydi* profil_bul_veya_ekle(const char* name, int64_t length) {
    if (name == nullptr || length < 0) length = 0;
    for (int i = 0; i < profil_islev_sayisi; ++i)
        if (ad_eslesir(profil_tablo[i], name, length)) return &profil_tablo[i];
    if (profil_islev_sayisi >= PROFIL_KAPASITE) return nullptr;

    ProfilKaydi& kayit = profil_tablo[profil_islev_sayisi++];
    const size_t kopya = static_cast<size_t>(length < PROFIL_AD_SINIRI ? length : PROFIL_AD_SINIRI);
    if (kopya > 0) std::memcpy(kayit.name, name, kopya);
    kayit.name[kopya] = '\0';
    kayit.total_ns = 0;
    kayit.calls = 0;
    return &kayit;
}

int64_t doygun_topla(int64_t a, int64_t b) { return a > INT64_MAX - b ? INT64_MAX : a + b; }

void sayac_artir(int32_t& sayac) {
    if (sayac < INT32_MAX) sayac += 1;
}

}  // namespace

int64_t profil_gecen_ns(int64_t ticks, int64_t frequency) {
    if (ticks <= 0 || frequency <= 0) return 0;
    const int64_t saniye = ticks / frequency;
    const int64_t kalan = ticks % frequency;  // below frequency
    if (saniye > INT64_MAX / NANOSANIYE) return INT64_MAX;
    // The remainder scales exactly in 64 bits for any counter up to about 9.2 GHz;
    // a faster one goes through 80-bit reals, whose 64-bit mantissa keeps it exact
    // to within a nanosecond.
    const int64_t kalan_ns =
        frequency <= INT64_MAX / NANOSANIYE
            ? kalan * NANOSANIYE / frequency
            : static_cast<int64_t>(static_cast<long double>(kalan) * NANOSANIYE / frequency);
    return doygun_topla(saniye * NANOSANIYE, kalan_ns);
}

// ---- Call profiler -------------------------------------------------------

void _tr_profil_giris(const char* name, int64_t length) noexcept {
    if (qpc_frekans == 0) {
        LARGE_INTEGER frekans;
        QueryPerformanceFrequency(&frekans);
        qpc_frekans = frekans.QuadPart;
    }
    ProfilKaydi* kayit = profil_bul_veya_ekle(name, length);
    if (kayit == nullptr) return;
    kayit->start_ticks = sayac_oku();
    kayit->entered = true;
}

// An exit for a name that was never entered adds its entry but has no interval
// to measure, so it records neither a call nor time.
void _tr_profil_cikis(const char* name, int64_t length) noexcept {
    const int64_t now = sayac_oku();
    if (qpc_frekans == 0) return;
    ProfilKaydi* kayit = profil_bul_veya_ekle(name, length);
    if (kayit == nullptr || !kayit->entered) return;
    kayit->total_ns = doygun_topla(kayit->total_ns, profil_gecen_ns(now - kayit->start_ticks, qpc_frekans));
    kayit->calls += 1;
}

void _tr_profil_rapor(void) noexcept {
    if (profil_islev_sayisi == 0) return;
    hata_akisini_hazirla();
    std::fputs("\n=== Profil Raporu ===\n", stderr);
    std::fprintf(stderr, "%-30s %12s %12s %12s\n", "Islev", "Cagri", "Toplam(ms)", "Ort(us)");
    std::fprintf(stderr, "%-30s %12s %12s %12s\n", "-----", "-----", "----------", "------");
    for (int i = 0; i < profil_islev_sayisi; ++i) {
        const ProfilKaydi& kayit = profil_tablo[i];
        const double toplam_ms = static_cast<double>(kayit.total_ns) / 1e6;
        const double ortalama_us =
            kayit.calls > 0 ? static_cast<double>(kayit.total_ns) / static_cast<double>(kayit.calls) / 1e3 : 0.0;
        std::fprintf(stderr, "%-30s %12lld %12.3f %12.3f\n", kayit.name, static_cast<long long>(kayit.calls),
                     toplam_ms, ortalama_us);
    }
    std::fputs("=====================\n", stderr);
    std::fflush(stderr);
}

// ---- Test tally ----------------------------------------------------------

void _tr_dogrula(int64_t condition, const char* message, int64_t length, int64_t source_line) noexcept {
    if (condition != 0) {
        sayac_artir(_test_basarili);
        return;
    }
    sayac_artir(_test_basarisiz);
    hata_akisini_hazirla();
    std::fputs("  BASARISIZ: ", stderr);
    if (message != nullptr && length > 0) std::fwrite(message, 1, static_cast<size_t>(length), stderr);
    std::fprintf(stderr, " (satir %lld)\n", static_cast<long long>(source_line));
    std::fflush(stderr);
}

// The total is summed in 64 bits so that it stays right even near the counters'
// 32-bit limit; below that the line is the same as with 32-bit arithmetic.
void _tr_test_rapor(void) noexcept {
    hata_akisini_hazirla();
    const long long toplam = static_cast<long long>(_test_basarili) + _test_basarisiz;
    std::fputs("\n=== Test Raporu ===\n", stderr);
    std::fprintf(stderr, "Toplam: %lld | Basarili: %d | Basarisiz: %d\n", toplam, _test_basarili, _test_basarisiz);
    std::fputs("===================\n", stderr);
    std::fflush(stderr);
}

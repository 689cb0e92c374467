// The call profiler and the test tally, as a program sees them on standard error.
//
// Their state is program-wide and never reset, so one scenario runs them from a
// fresh start in a child run of this very program (a disabled test that only the
// child runs), marking each step on standard error with "@@step@@". The tests
// below read that output back step by step. The scenario also writes, as steps of
// their own, upper bounds of the intervals it measured, taken with the same
// counter around the profiler's calls, so that no check depends on how fast the
// machine is.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "akis_yardimcilari.h"
#include "core/calismazamani_ic.h"
#include "core/calismazamani_win.h"

namespace {

// ---- The scenario, run in the child ----------------------------------------

int64_t sayac() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

int64_t frekans() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

// Waits until at least `ticks` have passed since `from`.
void bekle(int64_t from, int64_t ticks) {
    while (sayac() - from < ticks) Sleep(1);
}

void adim(const char* name) { std::fprintf(stderr, "@@%s@@", name); }

// An upper bound, in nanoseconds rounded up, of `ticks` counter ticks.
void sinir_yaz(const char* name, int64_t ticks) {
    adim(name);
    std::fprintf(stderr, "%.0f", std::ceil(static_cast<double>(ticks) * 1e9 / static_cast<double>(frekans())) + 1);
}

void giris(const std::string& name) { _tr_profil_giris(name.data(), static_cast<int64_t>(name.size())); }
void cikis(const std::string& name) { _tr_profil_cikis(name.data(), static_cast<int64_t>(name.size())); }

// Names added before the table is filled up: f, g, h, one 127-byte name and
// three entries for the 128-byte name.
constexpr int ONCEDEN_EKLENEN = 7;

}  // namespace

TEST(ProfilSenaryosu, DISABLED_tek_surec) {
    adim("bos_rapor");
    _tr_profil_rapor();

    adim("cikis_once");  // no entry call yet: the exit has nothing to do
    cikis("f");
    _tr_profil_rapor();

    adim("bos_ozet");
    _tr_test_rapor();

    adim("dogrula");
    _tr_dogrula(1, "gecti", 5, 3);
    _tr_dogrula(0, "abc", 3, 12);
    _tr_dogrula(0, nullptr, 5, 7);
    _tr_dogrula(0, "a\0b", 3, -3);
    _tr_dogrula(-1, "gecti", 5, 4);
    _tr_test_rapor();

    adim("iki_ms");
    const int64_t outer_start = sayac();
    giris("f");
    bekle(sayac(), (frekans() * 2 + 999) / 1000);
    cikis("f");
    const int64_t outer_end = sayac();
    _tr_profil_rapor();
    sinir_yaz("iki_ms_sinir", outer_end - outer_start);

    adim("ic_ice");
    giris("g");
    bekle(sayac(), frekans() / 50);  // 20 ms that only the first entry would see
    const int64_t inner_start = sayac();
    giris("g");
    cikis("g");
    cikis("g");
    const int64_t inner_end = sayac();
    _tr_profil_rapor();
    sinir_yaz("ic_ice_sinir", 2 * (inner_end - inner_start));

    adim("girilmemis");
    cikis("h");
    _tr_profil_rapor();
    giris("h");
    cikis("h");

    adim("uzun_ad");
    const std::string name_127(127, 'a');
    const std::string name_128(128, 'b');
    giris(name_127);
    cikis(name_127);
    giris(name_128);
    cikis(name_128);
    giris(name_128);
    _tr_profil_rapor();

    char name[16];
    for (int i = 0; i < 256 - ONCEDEN_EKLENEN; ++i) {
        std::snprintf(name, sizeof name, "n%03d", i);
        giris(name);
        cikis(name);
    }
    adim("dolu_once");
    _tr_profil_rapor();
    adim("dolu_sonra");
    giris("fazla");
    cikis("fazla");
    _tr_profil_rapor();
    adim("dolu_olculen");
    giris("f");
    cikis("f");
    _tr_profil_rapor();
    adim("son");
}

// ---- Reading the scenario's output back --------------------------------------

namespace {

using Adimlar = std::map<std::string, std::string>;

Adimlar adimlara_ayir(const std::string& output) {
    Adimlar steps;
    size_t at = output.find("@@");
    while (at != std::string::npos) {
        const size_t name_end = output.find("@@", at + 2);
        if (name_end == std::string::npos) break;
        const std::string name = output.substr(at + 2, name_end - at - 2);
        const size_t next = output.find("@@", name_end + 2);
        steps[name] = output.substr(name_end + 2, next == std::string::npos ? std::string::npos : next - name_end - 2);
        at = next;
    }
    return steps;
}

struct RaporSatiri {
    std::string name;
    long long calls = 0;
    double total_ms = 0;
    double average_us = 0;
    std::string line;
};

const std::string RAPOR_BASI = "\n=== Profil Raporu ===\n"
                               "Islev" + std::string(25, ' ') + "        Cagri   Toplam(ms)      Ort(us)\n"
                               "-----" + std::string(25, ' ') + "        -----   ----------       ------\n";
const std::string RAPOR_SONU = "=====================\n";

// The rows of one report. Fails the calling test when the frame around the rows
// or the shape of a row is not exact: a row printed again from the values read
// from it must give the same line.
std::vector<RaporSatiri> raporu_coz(const std::string& report) {
    std::vector<RaporSatiri> rows;
    if (report.compare(0, RAPOR_BASI.size(), RAPOR_BASI) != 0 || report.size() < RAPOR_BASI.size() + RAPOR_SONU.size() ||
        report.compare(report.size() - RAPOR_SONU.size(), RAPOR_SONU.size(), RAPOR_SONU) != 0) {
        ADD_FAILURE() << "not a profiler report:\n" << report;
        return rows;
    }
    const std::string body = report.substr(RAPOR_BASI.size(), report.size() - RAPOR_BASI.size() - RAPOR_SONU.size());
    size_t start = 0;
    while (start < body.size()) {
        const size_t end = body.find('\n', start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "row without a line break: " << body.substr(start);
            break;
        }
        RaporSatiri row;
        row.line = body.substr(start, end - start);
        char name[512] = {};
        if (std::sscanf(row.line.c_str(), "%511s %lld %lf %lf", name, &row.calls, &row.total_ms, &row.average_us) != 4) {
            ADD_FAILURE() << "unreadable row: " << row.line;
        }
        row.name = name;
        char again[1024];
        std::snprintf(again, sizeof again, "%-30s %12lld %12.3f %12.3f", name, row.calls, row.total_ms, row.average_us);
        EXPECT_EQ(row.line, again) << "row out of shape";
        rows.push_back(row);
        start = end + 1;
    }
    return rows;
}

const RaporSatiri* satir_bul(const std::vector<RaporSatiri>& rows, const std::string& name) {
    for (const RaporSatiri& row : rows)
        if (row.name == name) return &row;
    return nullptr;
}

class ProfilCiktisi : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const korva_test::CocukSonucu run = korva_test::testi_cocukta_calistir(L"ProfilSenaryosu.DISABLED_tek_surec");
        started_ = run.started;
        exit_code_ = run.exit_code;
        child_output_ = run.standard_output;
        steps_ = adimlara_ayir(run.standard_error);
    }

    void SetUp() override {
        ASSERT_TRUE(started_) << "the scenario did not run to its end";
        ASSERT_EQ(exit_code_, 0u) << child_output_;
        ASSERT_EQ(steps_.count("son"), 1u) << "the scenario stopped early";
    }

    static const std::string& adim(const std::string& name) { return steps_[name]; }

    static double sinir_ms(const std::string& name) { return std::stod(steps_[name]) / 1e6; }

    static inline bool started_ = false;
    static inline DWORD exit_code_ = 0;
    static inline std::string child_output_;
    static inline Adimlar steps_;
};

}  // namespace

TEST_F(ProfilCiktisi, no_report_before_anything_was_measured) {
    EXPECT_EQ(adim("bos_rapor"), "");
    EXPECT_EQ(adim("cikis_once"), "");
}

TEST_F(ProfilCiktisi, one_call_of_two_milliseconds) {
    const auto rows = raporu_coz(adim("iki_ms"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, "f");
    EXPECT_EQ(rows[0].calls, 1);
    // At least the 2 ms waited, at most the time around both calls.
    EXPECT_GE(rows[0].total_ms, 2.0);
    EXPECT_LE(rows[0].total_ms, sinir_ms("iki_ms_sinir") + 0.001);
    // One call: the average in microseconds is the total in another unit.
    EXPECT_NEAR(rows[0].average_us, rows[0].total_ms * 1000.0, 0.5 + 1e-6);
}

TEST_F(ProfilCiktisi, nested_entries_are_measured_from_the_latest) {
    const auto rows = raporu_coz(adim("ic_ice"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name, "f");
    EXPECT_EQ(rows[1].name, "g");
    EXPECT_EQ(rows[1].calls, 2);
    // Both exits lie within the time around the second entry; measured from the
    // first they would include its 20 ms twice.
    EXPECT_LE(rows[1].total_ms, sinir_ms("ic_ice_sinir") + 0.001);
    EXPECT_NEAR(rows[1].average_us, rows[1].total_ms * 1000.0 / 2, 0.5 + 1e-6);
}

TEST_F(ProfilCiktisi, exit_without_entry_adds_the_name_with_no_call_and_no_time) {
    const auto rows = raporu_coz(adim("girilmemis"));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].line, "h" + std::string(29, ' ') + "            0        0.000        0.000");

    // Entered afterwards, the same entry measures as usual.
    const auto later = raporu_coz(adim("uzun_ad"));
    const RaporSatiri* h = satir_bul(later, "h");
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->calls, 1);
}

TEST_F(ProfilCiktisi, long_names_print_whole_and_longer_than_127_bytes_never_match) {
    const auto rows = raporu_coz(adim("uzun_ad"));
    ASSERT_EQ(rows.size(), 7u);
    // A 127-byte name is kept whole, matched by its exit, and not cut in the report.
    EXPECT_EQ(rows[3].name, std::string(127, 'a'));
    EXPECT_EQ(rows[3].calls, 1);
    EXPECT_EQ(rows[3].line.substr(0, 128), std::string(127, 'a') + " ");
    // A 128-byte name is stored cut to 127 and so never finds its entry: the entry,
    // the exit and the second entry each took one; the exit recorded nothing.
    for (size_t i = 4; i < 7; ++i) {
        EXPECT_EQ(rows[i].name, std::string(127, 'b'));
        EXPECT_EQ(rows[i].calls, 0);
        EXPECT_EQ(rows[i].total_ms, 0.0);
    }
}

TEST_F(ProfilCiktisi, full_table_ignores_new_names_and_still_measures_known_ones) {
    const auto full = raporu_coz(adim("dolu_once"));
    ASSERT_EQ(full.size(), 256u);
    EXPECT_EQ(full[0].name, "f");  // order of first appearance
    EXPECT_EQ(full[255].name, "n248");

    // The 257th distinct name leaves the report byte for byte as it was.
    EXPECT_EQ(adim("dolu_sonra"), adim("dolu_once"));

    const auto measured = raporu_coz(adim("dolu_olculen"));
    ASSERT_EQ(measured.size(), 256u);
    EXPECT_EQ(measured[0].name, "f");
    EXPECT_EQ(measured[0].calls, 2);
    EXPECT_GE(measured[0].total_ms, full[0].total_ms);
    for (size_t i = 1; i < 256; ++i) EXPECT_EQ(measured[i].line, full[i].line);
}

TEST_F(ProfilCiktisi, test_summary_with_no_checks) {
    EXPECT_EQ(adim("bos_ozet"),
              "\n=== Test Raporu ===\n"
              "Toplam: 0 | Basarili: 0 | Basarisiz: 0\n"
              "===================\n");
}

TEST_F(ProfilCiktisi, failed_checks_print_one_line_each_and_are_counted) {
    EXPECT_EQ(adim("dogrula"), std::string("  BASARISIZ: abc (satir 12)\n"
                                           "  BASARISIZ:  (satir 7)\n"
                                           "  BASARISIZ: a\0b (satir -3)\n"
                                           "\n=== Test Raporu ===\n"
                                           "Toplam: 5 | Basarili: 2 | Basarisiz: 3\n"
                                           "===================\n",
                                           160));
}

// ---- The elapsed-time arithmetic ---------------------------------------------

TEST(ProfilSuresi, long_intervals_do_not_overflow) {
    // 20 minutes at a 10 MHz counter: ticks times 10^9 alone would pass 2^63.
    EXPECT_EQ(profil_gecen_ns(int64_t{20} * 60 * 10000000, 10000000), int64_t{1200} * 1000000000);
    EXPECT_EQ(profil_gecen_ns(int64_t{20} * 60 * 10000000 + 3, 10000000), int64_t{1200} * 1000000000 + 300);
    // The largest whole-second count that fits, and one more.
    EXPECT_EQ(profil_gecen_ns(9223372036, 1), int64_t{9223372036} * 1000000000);
    EXPECT_EQ(profil_gecen_ns(9223372037, 1), INT64_MAX);
    EXPECT_EQ(profil_gecen_ns(INT64_MAX, 10000000), INT64_MAX);
}

TEST(ProfilSuresi, short_intervals_truncate_to_whole_nanoseconds) {
    EXPECT_EQ(profil_gecen_ns(20000, 10000000), 2000000);
    EXPECT_EQ(profil_gecen_ns(1, 3579545), 279);
    EXPECT_EQ(profil_gecen_ns(3579546, 3579545), 1000000279);
    EXPECT_EQ(profil_gecen_ns(1, 3000000000), 0);
    EXPECT_EQ(profil_gecen_ns(10, 3000000000), 3);
    // A counter faster than 9.2 GHz, whose remainder times 10^9 would not fit.
    EXPECT_EQ(profil_gecen_ns(12345678901, 10000000000), 1234567890);
}

TEST(ProfilSuresi, no_time_without_a_forward_interval_or_a_frequency) {
    EXPECT_EQ(profil_gecen_ns(0, 10000000), 0);
    EXPECT_EQ(profil_gecen_ns(-5, 10000000), 0);
    EXPECT_EQ(profil_gecen_ns(100, 0), 0);
    EXPECT_EQ(profil_gecen_ns(100, -1), 0);
}

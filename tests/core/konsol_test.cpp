// Console printing and line input, read back through files standing in for the
// standard streams.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "akis_yardimcilari.h"
#include "core/calismazamani_win.h"

using korva_test::AkisYakalama;
using korva_test::GirdiBesleme;

namespace {

struct OkunanSatir {
    bool has_storage;
    std::string bytes;
};

// Feeds `input` to standard input and reads lines until the end of input,
// which is reported as the last element (no storage, no bytes).
std::vector<OkunanSatir> satirlari_oku(const std::string& input) {
    std::vector<OkunanSatir> lines;
    GirdiBesleme feed(input);
    for (int guard = 0; guard < 100; ++guard) {
        TrMetin line = _tr_satiroku();
        lines.push_back({line.ptr != nullptr, line.ptr != nullptr ? std::string(line.ptr, static_cast<size_t>(line.len))
                                                                  : std::string()});
        std::free(line.ptr);
        if (!lines.back().has_storage) break;
    }
    return lines;
}

}  // namespace

TEST(Yazdirma, integers_reals_and_booleans_each_on_a_line) {
    AkisYakalama capture(stdout);
    _yazdir_tam(INT64_MIN);
    _yazdir_tam(7);
    _yazdir_ondalik(1000000.0);
    _yazdir_ondalik(0.5);
    _yazdir_ondalik(100000.0);
    _yazdir_ondalik(1e-05);
    _yazdir_mantik(2);
    _yazdir_mantik(-1);
    _yazdir_mantik(0);
    EXPECT_EQ(capture.bitir(),
              "-9223372036854775808\n7\n"
              "1e+06\n0.5\n100000\n1e-05\n"
              "dogru\ndogru\nyanlis\n");
}

TEST(Yazdirma, text_bytes_unchanged_then_a_line_break) {
    AkisYakalama capture(stdout);
    _yazdir_metin("x", 1);
    _yazdir_metin("a\0b%s", 5);      // a zero byte and a format sequence go out as they are
    _yazdir_metin("only-three", 3);  // the length bounds the text
    EXPECT_EQ(capture.bitir(), std::string("x\na\0b%s\nonl\n", 12));
}

TEST(Yazdirma, empty_text_prints_nothing_at_all) {
    AkisYakalama capture(stdout);
    _yazdir_metin(nullptr, 0);
    _yazdir_metin(nullptr, 4);
    _yazdir_metin("abc", 0);
    _yazdir_metin("abc", -2);
    EXPECT_EQ(capture.bitir(), "");
}

TEST(SatirOku, lines_without_their_line_feed_then_end_of_input) {
    const auto lines = satirlari_oku("abc\n\nson");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].bytes, "abc");
    // An empty line has storage, so that a caller can tell it from the end of input.
    EXPECT_TRUE(lines[1].has_storage);
    EXPECT_EQ(lines[1].bytes, "");
    EXPECT_EQ(lines[2].bytes, "son");  // a last line without a line feed
    EXPECT_FALSE(lines[3].has_storage);
}

TEST(SatirOku, carriage_return_and_spaces_stay) {
    // CR LF is a line end like LF; any other byte, a zero or a lone CR, stays. The
    // third line's CR LF falls across the 4095-byte piece boundary.
    const std::string cr_at_boundary = std::string(4094, 'a') + "\r";
    const auto lines = satirlari_oku(std::string(" a b \r\n\t\n\rx\0y\r\r\n", 16) + cr_at_boundary + "\nz\r");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].bytes, " a b ");
    EXPECT_EQ(lines[1].bytes, "\t");
    EXPECT_EQ(lines[2].bytes, std::string("\rx\0y\r", 5));
    EXPECT_EQ(lines[3].bytes, std::string(4094, 'a'));
    EXPECT_EQ(lines[4].bytes, "z\r");  // no line end after it
    EXPECT_FALSE(lines[5].has_storage);
}

TEST(SatirOku, long_line_comes_in_pieces_of_4095_bytes) {
    const std::string long_line = std::string(4095, 'a') + std::string(905, 'b');
    const auto lines = satirlari_oku(long_line + "\nx\n");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].bytes, std::string(4095, 'a'));
    EXPECT_EQ(lines[1].bytes, std::string(905, 'b'));
    EXPECT_EQ(lines[2].bytes, "x");
    EXPECT_FALSE(lines[3].has_storage);
}

TEST(SatirOku, empty_input_is_the_end_at_once) {
    const auto lines = satirlari_oku("");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_FALSE(lines[0].has_storage);
}

// Number/text conversions and concatenation: exact bytes and lengths of the
// results, which carry no terminating zero.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/calismazamani_win.h"

namespace {

// Takes ownership of a text result and returns its bytes.
std::string al(TrMetin text) {
    std::string bytes = text.ptr != nullptr ? std::string(text.ptr, static_cast<size_t>(text.len)) : std::string();
    std::free(text.ptr);
    return bytes;
}

std::string ondalik(double value) { return al(_tr_ondalik_metin(value)); }

int64_t tam(const std::string& text) { return _tr_metin_tam(text.data(), static_cast<int64_t>(text.size())); }

}  // namespace

TEST(SayiMetin, integers_in_decimal_form) {
    EXPECT_EQ(al(_tr_tam_metin(0)), "0");
    EXPECT_EQ(al(_tr_tam_metin(-42)), "-42");
    EXPECT_EQ(al(_tr_tam_metin(INT64_MAX)), "9223372036854775807");

    const TrMetin smallest = _tr_tam_metin(INT64_MIN);
    EXPECT_EQ(smallest.len, 20);
    EXPECT_EQ(al(smallest), "-9223372036854775808");
}

TEST(SayiMetin, reals_with_six_significant_digits) {
    EXPECT_EQ(ondalik(0.1), "0.1");
    EXPECT_EQ(ondalik(1000000.0), "1e+06");
    EXPECT_EQ(ondalik(100000.0), "100000");
    EXPECT_EQ(ondalik(0.0001), "0.0001");
    EXPECT_EQ(ondalik(0.00001), "1e-05");
    EXPECT_EQ(ondalik(3.14159265), "3.14159");
    EXPECT_EQ(ondalik(-2.5), "-2.5");
    EXPECT_EQ(ondalik(1e300), "1e+300");
    EXPECT_EQ(ondalik(0.0), "0");
}

TEST(SayiMetin, leading_integer_of_a_text) {
    EXPECT_EQ(tam("  -42abc"), -42);
    EXPECT_EQ(tam("abc"), 0);
    EXPECT_EQ(tam("+17"), 17);
    EXPECT_EQ(tam("\t\n 8"), 8);
    EXPECT_EQ(tam("--5"), 0);
    EXPECT_EQ(tam("-"), 0);
    EXPECT_EQ(tam(std::string("12\0" "34", 5)), 12);  // a zero byte ends the number
    // The length bounds what is read, not a terminating zero.
    EXPECT_EQ(_tr_metin_tam("123456", 3), 123);
}

TEST(SayiMetin, empty_texts_give_zero) {
    EXPECT_EQ(_tr_metin_tam(nullptr, 5), 0);
    EXPECT_EQ(_tr_metin_tam("77", 0), 0);
    EXPECT_EQ(_tr_metin_tam("77", -3), 0);
}

TEST(SayiMetin, only_the_first_63_bytes_count) {
    // 60 spaces, then digits: the cut after byte 63 leaves "123".
    EXPECT_EQ(tam(std::string(60, ' ') + "1234567"), 123);
    // 63 bytes exactly are all read.
    EXPECT_EQ(tam(std::string(61, ' ') + "45"), 45);
    EXPECT_EQ(tam(std::string(62, ' ') + "45"), 4);
    EXPECT_EQ(tam(std::string(70, ' ') + "9"), 0);
}

TEST(SayiMetin, numbers_beyond_64_bits_saturate) {
    EXPECT_EQ(tam("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(tam("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(tam("9223372036854775808"), INT64_MAX);
    EXPECT_EQ(tam("-9223372036854775809"), INT64_MIN);
    EXPECT_EQ(tam(std::string(70, '9')), INT64_MAX);
    EXPECT_EQ(tam("-" + std::string(40, '7') + "x"), INT64_MIN);
}

TEST(Birlestirme, bytes_of_a_then_b) {
    const TrMetin joined = _metin_birlestir("ab", 2, "cde", 3);
    EXPECT_EQ(joined.len, 5);
    EXPECT_EQ(al(joined), "abcde");

    // Only the given lengths are taken, zero bytes included.
    const TrMetin with_zero = _metin_birlestir("x\0y-unused", 3, "z", 1);
    EXPECT_EQ(al(with_zero), std::string("x\0yz", 4));
}

TEST(Birlestirme, empty_sides_contribute_nothing) {
    const TrMetin left_empty = _metin_birlestir(nullptr, 0, "abc", 3);
    EXPECT_EQ(left_empty.len, 3);
    EXPECT_EQ(al(left_empty), "abc");

    // A null pointer is empty whatever its length says, and so is a length of 0 or less.
    const TrMetin null_with_length = _metin_birlestir("abc", 3, nullptr, 50);
    EXPECT_EQ(null_with_length.len, 3);
    EXPECT_EQ(al(null_with_length), "abc");
    const TrMetin negative = _metin_birlestir("abc", -1, "de", 2);
    EXPECT_EQ(negative.len, 2);
    EXPECT_EQ(al(negative), "de");

    const TrMetin both_empty = _metin_birlestir(nullptr, 0, "", 0);
    EXPECT_EQ(both_empty.ptr, nullptr);
    EXPECT_EQ(both_empty.len, 0);
}

TEST(Birlestirme, result_is_a_fresh_block) {
    const char source[] = "abc";
    TrMetin first = _metin_birlestir(source, 3, nullptr, 0);
    TrMetin second = _metin_birlestir(source, 3, nullptr, 0);
    ASSERT_NE(first.ptr, nullptr);
    EXPECT_NE(first.ptr, source);
    EXPECT_NE(first.ptr, second.ptr);
    first.ptr[0] = 'X';
    EXPECT_EQ(al(second), "abc");
    EXPECT_EQ(al(first), "Xbc");
}

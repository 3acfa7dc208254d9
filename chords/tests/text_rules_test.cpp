#include "chords/text_rules.h"
#include "tests/support/case_name.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

namespace fw {
namespace {

struct IntegerCase {
    std::string text;
    std::optional<int> value;
};

class IntegerTexts : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerTexts, ReadAsTheSharedRuleSays) {
    EXPECT_EQ(ReadInteger(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Table, IntegerTexts,
    ::testing::Values(
        IntegerCase{"0", 0}, IntegerCase{"12", 12}, IntegerCase{"  12", 12}, IntegerCase{"+3", 3},
        IntegerCase{"-5", -5}, IntegerCase{"007", 7}, IntegerCase{"$1F", 31},
        IntegerCase{"$1f", 31}, IntegerCase{"-$10", -16}, IntegerCase{"+$a", 10},
        IntegerCase{"2147483646", 2147483646}, IntegerCase{"-2147483648", INT_MIN},
        IntegerCase{"$7FFFFFFE", 2147483646}, IntegerCase{"-$80000000", INT_MIN},
        // 2147483647 is the "not a number" value itself.
        IntegerCase{"2147483647", std::nullopt}, IntegerCase{"$7FFFFFFF", std::nullopt},
        IntegerCase{"2147483648", std::nullopt}, IntegerCase{"-2147483649", std::nullopt},
        IntegerCase{"$80000000", std::nullopt}, IntegerCase{"99999999999999999999", std::nullopt},
        IntegerCase{"", std::nullopt}, IntegerCase{"   ", std::nullopt},
        IntegerCase{"12 ", std::nullopt}, IntegerCase{"\t12", std::nullopt},
        IntegerCase{"1 2", std::nullopt}, IntegerCase{"+", std::nullopt},
        IntegerCase{"-", std::nullopt}, IntegerCase{"$", std::nullopt},
        IntegerCase{"- 5", std::nullopt}, IntegerCase{"$-5", std::nullopt},
        IntegerCase{"0x1F", std::nullopt}, IntegerCase{"$1G", std::nullopt},
        IntegerCase{"1e3", std::nullopt}, IntegerCase{"abc", std::nullopt},
        IntegerCase{"--5", std::nullopt}, IntegerCase{"+-5", std::nullopt}),
    [](const auto& info) { return fw::cases::IndexedCaseName(info.index, info.param.text); });

TEST(Trim, RemovesCodes0To32FromBothEnds) {
    EXPECT_EQ(Trim("  a b \t"), "a b");
    EXPECT_EQ(Trim(std::string("\0\x01x\x1F ", 5)), "x");
    EXPECT_EQ(Trim(" \t\r\n"), "");
    EXPECT_EQ(Trim(""), "");
    // Bytes of UTF-8 characters are never trimmed; neither is DEL (127).
    EXPECT_EQ(Trim(" \xC2\xA0 "), "\xC2\xA0");
    EXPECT_EQ(Trim("\x7F"), "\x7F");
    EXPECT_EQ(TrimView("  ab  "), "ab");
}

TEST(UpperCase, TouchesOnlyAToZ) {
    EXPECT_EQ(UpperCase("abz-AZ.q"), "ABZ-AZ.Q");
    EXPECT_EQ(UpperCase("\xC3\xA9"), "\xC3\xA9");
}

TEST(FirstChars, CountsCodePoints) {
    EXPECT_EQ(FirstChars("abcdef", 3), "abc");
    EXPECT_EQ(FirstChars("ab", 5), "ab");
    EXPECT_EQ(FirstChars("", 5), "");
    EXPECT_EQ(FirstChars("abc", 0), "");
    EXPECT_EQ(FirstChars("\xC3\xA9\xE2\x99\xAA\xF0\x9F\x8E\xB5x", 3),
              "\xC3\xA9\xE2\x99\xAA\xF0\x9F\x8E\xB5");
    EXPECT_EQ(FirstCharsView("\xC3\xA9\xC3\xA9", 1), "\xC3\xA9");
}

TEST(CharCount, CountsCodePoints) {
    EXPECT_EQ(CharCount(""), 0u);
    EXPECT_EQ(CharCount("abc"), 3u);
    EXPECT_EQ(CharCount("\xC3\xA9\xE2\x99\xAA\xF0\x9F\x8E\xB5"), 3u);
}

} // namespace
} // namespace fw

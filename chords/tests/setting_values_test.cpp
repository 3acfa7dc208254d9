#include "chords/setting_values.h"
#include "tests/support/case_name.h"

#include <gtest/gtest.h>

#include <string>

namespace fw {
namespace {

struct IntegerSetting {
    std::string text;
    int defaultValue;
    int value;
};

class SettingIntegers : public ::testing::TestWithParam<IntegerSetting> {};

TEST_P(SettingIntegers, ReadWithTheHexRule) {
    const IntegerSetting& c = GetParam();
    EXPECT_EQ(ReadSettingIntegerText(c.text, c.defaultValue), c.value) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Table, SettingIntegers,
    ::testing::Values(
        IntegerSetting{"12", 7, 12}, IntegerSetting{"-1", 7, -1}, IntegerSetting{"0x1F", 7, 31},
        IntegerSetting{"0X1f", 7, 31}, IntegerSetting{"$1F", 7, 31}, IntegerSetting{"0xFF", 7, 255},
        IntegerSetting{"0xFFFF00", 0, 16776960}, IntegerSetting{"16776960", 0, 16776960},
        IntegerSetting{"0", 7, 0}, IntegerSetting{"00", 7, 0}, IntegerSetting{"012", 7, 12},
        // Not integers: the default.
        IntegerSetting{"12 ", 7, 7}, IntegerSetting{"abc", 7, 7}, IntegerSetting{"", 7, 7},
        IntegerSetting{"yes", 1, 1}, IntegerSetting{"0x", 7, 7}, IntegerSetting{"0X", 7, 7},
        IntegerSetting{"0x-5", 7, 7}, IntegerSetting{" 0x1F", 7, 7}, IntegerSetting{"x1F", 7, 7},
        IntegerSetting{"1x1F", 7, 7}, IntegerSetting{"0x7FFFFFFF", 7, 7},
        IntegerSetting{"2147483647", 7, 7}),
    [](const auto& info) { return fw::cases::IndexedCaseName(info.index, info.param.text); });

TEST(ReadSettingBoolText, NonZeroIsTrue) {
    EXPECT_TRUE(ReadSettingBoolText("1", false));
    EXPECT_TRUE(ReadSettingBoolText("-5", false));
    EXPECT_TRUE(ReadSettingBoolText("0x10", false));
    EXPECT_FALSE(ReadSettingBoolText("0", true));
    EXPECT_TRUE(ReadSettingBoolText("yes", true));
    EXPECT_FALSE(ReadSettingBoolText("yes", false));
    EXPECT_FALSE(ReadSettingBoolText("", false));
}

TEST(Low8Bits, KeepsTheLowByte) {
    EXPECT_EQ(Low8Bits(300), 44);
    EXPECT_EQ(Low8Bits(5), 5);
    EXPECT_EQ(Low8Bits(255), 255);
    EXPECT_EQ(Low8Bits(256), 0);
    EXPECT_EQ(Low8Bits(-1), 255);
    EXPECT_EQ(Low8Bits(-2147483647 - 1), 0);
}

} // namespace
} // namespace fw

#include "chords/patch_names.h"
#include "tests/support/case_name.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace fw {
namespace {

struct PatchCase {
    int program; // counted from 0
    std::string text;
};

class PatchEntries : public ::testing::TestWithParam<PatchCase> {};

TEST_P(PatchEntries, MatchTheInstrumentList) {
    EXPECT_EQ(PatchName(GetParam().program), GetParam().text);
}

// The nineteen entries in the program's own spelling, and a few standard ones.
INSTANTIATE_TEST_SUITE_P(
    OwnSpellings, PatchEntries,
    ::testing::Values(
        PatchCase{0, "  1 Acoustic Grand"}, PatchCase{1, "  2 Bright Acoustic"},
        PatchCase{2, "  3 Electric Grand"}, PatchCase{3, "  4 Honky-Tonk"},
        PatchCase{7, "  8 Clav"}, PatchCase{21, " 22 Accordian"},
        PatchCase{23, " 24 Tango Accordian"}, PatchCase{24, " 25 Acoustic Guitar(nylon)"},
        PatchCase{25, " 26 Acoustic Guitar(steel)"}, PatchCase{26, " 27 Electric Guitar(jazz)"},
        PatchCase{27, " 28 Electric Guitar(clean)"}, PatchCase{28, " 29 Electric Guitar(muted)"},
        PatchCase{31, " 32 Guitar Harmonics"}, PatchCase{33, " 34 Electric Bass(finger)"},
        PatchCase{34, " 35 Electric Bass(pick)"}, PatchCase{46, " 47 Orchestral Strings"},
        PatchCase{77, " 78 Skakuhachi"}, PatchCase{87, " 88 Lead 8 (bass+lead)"},
        PatchCase{109, "110 Bagpipe"}),
    [](const auto& info) { return "Program" + fw::cases::NumberName(info.param.program); });

INSTANTIATE_TEST_SUITE_P(
    Standard, PatchEntries,
    ::testing::Values(PatchCase{4, "  5 Electric Piano 1"}, PatchCase{8, "  9 Celesta"},
                      PatchCase{40, " 41 Violin"}, PatchCase{56, " 57 Trumpet"},
                      PatchCase{80, " 81 Lead 1 (square)"}, PatchCase{99, "100 FX 4 (atmosphere)"},
                      PatchCase{104, "105 Sitar"}, PatchCase{105, "106 Banjo"},
                      PatchCase{110, "111 Fiddle"}, PatchCase{127, "128 Gunshot"}),
    [](const auto& info) { return "Program" + fw::cases::NumberName(info.param.program); });

INSTANTIATE_TEST_SUITE_P(OutOfRange, PatchEntries,
                         ::testing::Values(PatchCase{-1, ""}, PatchCase{128, ""},
                                           PatchCase{255, ""}, PatchCase{-2147483647, ""}),
                         [](const auto& info) {
                             return "Program" + fw::cases::NumberName(info.param.program);
                         });

TEST(PatchNames, NumberedFrom1RightAlignedInThreeCharacters) {
    std::set<std::string> names;
    for (int program = 0; program < PatchCount; ++program) {
        const std::string text = PatchName(program);
        ASSERT_GT(text.size(), 4u);
        char number[4];
        std::snprintf(number, sizeof number, "%3d", program + 1);
        EXPECT_EQ(text.substr(0, 3), number) << text;
        EXPECT_EQ(text[3], ' ') << text;
        EXPECT_NE(text[4], ' ') << text;
        EXPECT_EQ(text.back() == ' ', false) << text;
        names.insert(text.substr(4));
    }
    EXPECT_EQ(names.size(), 128u) << "every instrument name appears once";
    EXPECT_EQ(PatchName(BanjoPatch), "106 Banjo");
}

} // namespace
} // namespace fw

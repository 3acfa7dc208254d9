#include "chords/chord_parser.h"
#include "sound/chord_player.h"
#include "tests/support/case_name.h"

#include <gtest/gtest.h>

#include <array>

namespace fw {
namespace {

struct TempoRow {
    int tempo;
    // W .W H .H Q .Q E .E S .S T .T F .F, then the hammer step
    std::array<int, 15> ms;
};

constexpr std::array<const char*, 14> DurationTexts = {"W",  ".W", "H",  ".H", "Q",  ".Q", "E",
                                                       ".E", "S",  ".S", "T",  ".T", "F",  ".F"};

class DurationTable : public testing::TestWithParam<TempoRow> {};

TEST_P(DurationTable, EveryDurationAndTheHammerStep) {
    const TempoRow& row = GetParam();
    const int whole = WholeNoteMs(row.tempo);
    for (std::size_t i = 0; i < DurationTexts.size(); ++i)
        EXPECT_EQ(DurationValue(DurationTexts[i], whole), row.ms[i]) << DurationTexts[i];
    EXPECT_EQ(HammerStepMs(row.tempo), row.ms[14]);
}

INSTANTIATE_TEST_SUITE_P(
    Tempos, DurationTable,
    testing::Values(
        TempoRow{60,
                 {4000, 6000, 2000, 3000, 1000, 1500, 500, 750, 250, 375, 125, 187, 62, 93, 62}},
        TempoRow{100, {2400, 3600, 1200, 1800, 600, 900, 300, 450, 150, 225, 75, 112, 37, 55, 37}},
        TempoRow{120, {2000, 3000, 1000, 1500, 500, 750, 250, 375, 125, 187, 62, 93, 31, 46, 31}},
        TempoRow{500, {480, 720, 240, 360, 120, 180, 60, 90, 30, 45, 15, 22, 7, 10, 7}}),
    [](const auto& info) { return "Tempo" + std::to_string(info.param.tempo); });

TEST(WholeNoteMs, BothDivisionsTruncate) {
    EXPECT_EQ(WholeNoteMs(120), 2000);
    EXPECT_EQ(WholeNoteMs(7), 34284);
    EXPECT_EQ(WholeNoteMs(1), 240000);
}

TEST(WholeNoteMs, TempoBelowOneCountsAsOne) {
    EXPECT_EQ(WholeNoteMs(0), WholeNoteMs(1));
    EXPECT_EQ(WholeNoteMs(-5), WholeNoteMs(1));
}

TEST(HammerStepMs, FollowsTheTempoDownToTheSlowest) {
    EXPECT_EQ(HammerStepMs(1), 3750);
    EXPECT_EQ(HammerStepMs(7), 535);
}

} // namespace
} // namespace fw

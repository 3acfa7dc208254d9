// Spacing of engraved tablature: room by duration on a flattened scale, never less than the ink
// needs, rows of whole measures justified evenly.

#include "export/tab_spacing.h"

#include "export/tab_meter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace fw {
namespace {

constexpr int Eighth = TabWholeTicks / 8;

SpacingRules Rules() {
    SpacingRules rules;
    rules.eighth = 10;
    rules.gap = 2;
    rules.leadIn = 5;
    return rules;
}

// A measure of `count` notes of `ticks`, each `ink` wide.
SpacedMeasure Notes(int count, int ticks, double ink = 6) {
    SpacedMeasure measure;
    measure.columns.assign(static_cast<std::size_t>(count), {ticks, ink / 2, ink / 2, 0});
    return measure;
}

TEST(Spacing, LongerNotesGetRoomOnAFlattenedScale) {
    const SpacingRules rules = Rules();
    EXPECT_NEAR(IdealRoom(4 * Eighth, rules) / IdealRoom(Eighth, rules), 1.6, 0.05) << "half";
    EXPECT_GT(IdealRoom(2 * Eighth, rules), IdealRoom(Eighth, rules));
    EXPECT_LT(IdealRoom(Eighth / 2, rules), IdealRoom(Eighth, rules));
    EXPECT_EQ(IdealRoom(0, rules), IdealRoom(2 * Eighth, rules)) << "unknown reads as a quarter";
}

TEST(Spacing, InkKeepsNeighboursApart) {
    SpacedMeasure measure = Notes(3, Eighth / 4, 30); // wide numbers on sixty-fourths
    measure.columns[1].targetStep = 12;               // a hammer-on target to its right
    const LaidMeasure laid = LayOutMeasure(measure, Rules(), 1);
    ASSERT_EQ(laid.columnX.size(), 3u);
    EXPECT_GE(laid.columnX[0], 15 + 2);
    EXPECT_DOUBLE_EQ(laid.targetX[1], laid.columnX[1] + 12);
    EXPECT_EQ(laid.targetX[0], -1);
    EXPECT_DOUBLE_EQ(laid.columnX[1] - laid.columnX[0], 30 + 2);
    EXPECT_DOUBLE_EQ(laid.columnX[2] - laid.columnX[1], 12 + 30 + 2);
    EXPECT_DOUBLE_EQ(laid.width, MeasureWidth(measure, Rules()));
}

// Sixteen measures of eight eighths where a little over four fit a row: four rows of four,
// every row but the last justified, all with the same spacing.
TEST(Spacing, RowsOfWholeMeasuresAreJustifiedEvenly) {
    std::vector<SpacedMeasure> measures(16, Notes(8, Eighth));
    measures.front().opening = 15; // a time signature
    const double natural = MeasureWidth(measures[1], Rules());
    const double rowWidth = natural * 4.6;
    const std::vector<LaidRow> rows = LayOutRows(measures, Rules(), rowWidth);
    ASSERT_EQ(rows.size(), 4u);
    std::size_t next = 0;
    for (const LaidRow& row : rows) {
        EXPECT_EQ(row.measures.size(), 4u);
        for (const LaidMeasure& measure : row.measures)
            EXPECT_EQ(measure.measure, next++);
        const LaidMeasure& end = row.measures.back();
        EXPECT_NEAR(end.x + end.width, rowWidth, 1e-6);
        EXPECT_NEAR(row.stretch / rows.front().stretch, 1, 0.1);
    }
}

struct LastRowCase {
    const char* name;
    int measures;   // of 8 eighths, 4 to a row
    bool justified; // the last row is stretched to the full width
};

class LastRow : public ::testing::TestWithParam<LastRowCase> {};

TEST_P(LastRow, KeepsTheSpacingAboveUnlessNearlyFull) {
    const LastRowCase& c = GetParam();
    const std::vector<SpacedMeasure> measures(static_cast<std::size_t>(c.measures),
                                              Notes(8, Eighth));
    const double rowWidth = MeasureWidth(measures[0], Rules()) * 4.5;
    const std::vector<LaidRow> rows = LayOutRows(measures, Rules(), rowWidth);
    const LaidRow& last = rows.back();
    EXPECT_EQ(std::abs(last.width - rowWidth) < 1e-6, c.justified);
    if (!c.justified && rows.size() > 1) {
        EXPECT_DOUBLE_EQ(last.stretch, rows.front().stretch);
    }
    if (rows.size() == 1 && !c.justified) {
        EXPECT_DOUBLE_EQ(last.stretch, 1) << "a lone row keeps its natural spacing";
    }
}

INSTANTIATE_TEST_SUITE_P(Table, LastRow,
                         ::testing::Values(LastRowCase{"OneMeasureAlone", 1, false},
                                           LastRowCase{"ShortLastRow", 6, false},
                                           LastRowCase{"FullLastRow", 8, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Spacing, AMeasureWiderThanARowStandsAloneSqueezed) {
    const std::vector<SpacedMeasure> measures = {Notes(2, Eighth), Notes(40, Eighth),
                                                 Notes(2, Eighth)};
    const std::vector<LaidRow> rows = LayOutRows(measures, Rules(), 100);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].measures.size(), 1u);
    EXPECT_NEAR(rows[1].width, 100, 1e-6);
    EXPECT_LE(rows[1].measures[0].columnX.back(), 100);
}

} // namespace
} // namespace fw

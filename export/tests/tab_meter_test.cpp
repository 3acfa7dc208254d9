// The meter of a song and measures cut by it: "* Time:" lines, the beam span of each meter, and
// measures that close when their durations fill the meter.

#include "export/tab_builder.h"
#include "export/tab_meter.h"

#include "tab_test_support.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace fw {
namespace {

using test::ParseLines;

// --- The meter of a song (its texts are read by the one parser in chords/) ---------------

struct CommentsCase {
    const char* name;
    std::vector<std::string> lines;
    Meter meter;
};

void PrintTo(const CommentsCase& c, std::ostream* os) {
    *os << c.name;
}

class MeterComments : public ::testing::TestWithParam<CommentsCase> {};

TEST_P(MeterComments, FindTheMeterLikeTheTitle) {
    EXPECT_EQ(MeterFromComments(GetParam().lines), GetParam().meter);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MeterComments,
    ::testing::Values(
        CommentsCase{"NoneIsFourFour", {"G, 0, 0, 0, 0, 0, Q"}, Meter{4, 4}},
        CommentsCase{"AnyLetterCase", {"*time:3/4"}, Meter{3, 4}},
        CommentsCase{"LaterLineWins", {"* Time: 3/4", "* Time: 6/8"}, Meter{6, 8}},
        // "Playing time: 3 minutes" holds the marker but no meter: it does not undo the 2/4.
        CommentsCase{"LineWithoutAMeterIsPassedOver",
                     {"* Time: 2/4", "* Playing time: 3 minutes"},
                     Meter{2, 4}},
        CommentsCase{"NotACommentLine", {" * Time: 3/4"}, Meter{4, 4}}),
    [](const ::testing::TestParamInfo<CommentsCase>& info) {
        return std::string(info.param.name);
    });

TEST(Meter, MeasureAndBeamLengths) {
    EXPECT_EQ((Meter{4, 4}.MeasureTicks()), TabWholeTicks);
    EXPECT_EQ((Meter{3, 4}.MeasureTicks()), TabWholeTicks * 3 / 4);
    EXPECT_EQ((Meter{4, 4}.BeamTicks()), TabWholeTicks / 4);
    EXPECT_EQ((Meter{2, 2}.BeamTicks()), TabWholeTicks / 2);
    EXPECT_EQ((Meter{6, 8}.BeamTicks()), TabWholeTicks * 3 / 8);
    EXPECT_EQ((Meter{2, 8}.BeamTicks()), TabWholeTicks / 4);
    // Every duration is a whole number of ticks, dotted sixty-fourths too.
    EXPECT_EQ(DurationTicks(".F"), TabWholeTicks / 64 * 3 / 2);
    EXPECT_EQ(DurationTicks(".F") * 2, TabWholeTicks / 64 * 3);
}

// --- Measures from the meter ------------------------------------------------------------------

std::vector<std::string> Notes(int count, const std::string& duration) {
    return std::vector<std::string>(static_cast<std::size_t>(count),
                                    "G, 0, x, 0, x, 2, " + duration);
}

std::vector<std::string> Joined(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> lines;
    for (const auto& part : parts)
        lines.insert(lines.end(), part.begin(), part.end());
    return lines;
}

struct BarsCase {
    const char* name;
    std::vector<std::string> lines;
    std::vector<int> chordsPerMeasure;
};

void PrintTo(const BarsCase& c, std::ostream* os) {
    *os << c.name;
}

class MeterBars : public ::testing::TestWithParam<BarsCase> {};

TEST_P(MeterBars, CloseWhenTheDurationsFillTheMeter) {
    const BarsCase& c = GetParam();
    std::vector<TabItem> items =
        BuildTabItems(ParseLines(c.lines), c.lines, {TabBars::Meter, MeterFromComments(c.lines)});
    const int measures = AssignMeasureSizes(items);
    std::vector<int> sizes;
    for (const TabMeasure& measure : NonEmptyMeasures(items)) {
        const auto chords = MeasureChords(items, measure);
        sizes.push_back(static_cast<int>(chords.size()));
        EXPECT_FALSE(IsTruncated(chords, TabBars::Meter));
        for (const TabItem& chord : chords)
            EXPECT_FALSE(chord.IsTerminator);
    }
    EXPECT_EQ(sizes, c.chordsPerMeasure);
    EXPECT_EQ(measures, static_cast<int>(c.chordsPerMeasure.size()));
    ASSERT_FALSE(items.empty());
    EXPECT_TRUE(items.back().IsTerminator) << "the last measure is closed";
}

INSTANTIATE_TEST_SUITE_P(
    Table, MeterBars,
    ::testing::Values(
        BarsCase{"ThirtyEighths", Notes(30, "E"), {8, 8, 8, 6}},
        BarsCase{"ThirtyEightEighths", Notes(38, "E"), {8, 8, 8, 8, 6}},
        BarsCase{"ExactFillMakesNoEmptyMeasure", Notes(16, "E"), {8, 8}},
        // Blank lines and comments are passed over: the measure runs on through them.
        BarsCase{"BlankLinesIgnored",
                 Joined({Notes(3, "Q"), {"", "", "* a comment"}, Notes(3, "Q")}),
                 {4, 2}},
        // Q + Q fill half a 4/4 measure; the whole note crosses the bar line, is not split,
        // and the next measure starts after it.
        BarsCase{"CrossingNoteEndsItsMeasure",
                 Joined({Notes(2, "Q"), Notes(1, "W"), Notes(4, "Q")}),
                 {3, 4}},
        BarsCase{"ThreeFourFromTheComment", Joined({{"* Time: 3/4"}, Notes(7, "Q")}), {3, 3, 1}},
        BarsCase{"DottedValues", Joined({{"* Time: 6/8"}, Notes(4, ".Q")}), {2, 2}},
        // 64 sixty-fourths in one 4/4 measure: far past the 24-chord cap, and not truncated.
        BarsCase{"NoChordCap", Notes(70, "F"), {64, 6}},
        BarsCase{"RestsCount", Joined({Notes(2, "H"), {"Rest, x, x, x, x, x, W"}}), {2, 1}}),
    [](const ::testing::TestParamInfo<BarsCase>& info) { return std::string(info.param.name); });

TEST(MeterBarsColumns, HaveNoCapButBlankLineMeasuresKeepIt) {
    const std::vector<std::string> lines = Notes(30, "S");
    const std::vector<ChordEntry> entries = ParseLines(lines);
    std::vector<TabItem> meter = BuildTabItems(entries, lines, {TabBars::Meter, Meter{}});
    AssignMeasureSizes(meter);
    const auto first = MeasureChords(meter, NonEmptyMeasures(meter).at(0));
    EXPECT_EQ(first.size(), 16u);
    EXPECT_EQ(ColumnCount(first, TabBars::Meter), 17);

    std::vector<TabItem> blank = BuildTabItems(entries, lines);
    AssignMeasureSizes(blank);
    const auto all = MeasureChords(blank, NonEmptyMeasures(blank).at(0));
    EXPECT_EQ(ColumnCount(all, TabBars::BlankLines), MaxMeasureChords);
    EXPECT_TRUE(IsTruncated(all, TabBars::BlankLines));
    EXPECT_FALSE(IsTruncated(all, TabBars::Meter));
}

// Blank-line measures are cut exactly as before, and the items keep the chord names.
TEST(BlankLineBars, TheDefaultRuleIsTheBlankLines) {
    const std::vector<std::string> lines = {"G, 0, 0, 0, 0, 0, Q", "", "C7, 1, 1, 1, 1, 1, W"};
    const std::vector<ChordEntry> entries = ParseLines(lines);
    std::vector<TabItem> items = BuildTabItems(entries, lines, TabBarRule{});
    ASSERT_EQ(items.size(), 4u);
    EXPECT_TRUE(items[1].IsTerminator);
    EXPECT_TRUE(items[3].IsTerminator);
    EXPECT_EQ(items[0].Name, "G");
    EXPECT_EQ(items[2].Name, "C7");
}

} // namespace
} // namespace fw

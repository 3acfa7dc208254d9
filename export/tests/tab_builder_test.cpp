// Cutting chord lists into measures: terminators, blank runs, comments, hammer-on columns, the
// chord cap.

#include "export/tab_builder.h"

#include "tab_test_support.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace fw {
namespace {

using test::Chord;
using test::ItemsOf;
using test::ParseLines;

// An item as "measure.position/size", with "T" for a terminator: "1.3/3T".
std::string Describe(const TabItem& item) {
    return std::to_string(item.MeasureNumber) + "." + std::to_string(item.Position) + "/" +
           std::to_string(item.MeasureSize) + (item.IsTerminator ? "T" : "");
}

std::vector<std::string> Repeated(const std::string& line, int count) {
    return std::vector<std::string>(static_cast<std::size_t>(count), line);
}

struct BuilderCase {
    const char* name;
    std::vector<std::string> lines;
    std::vector<std::string> items; // Describe() of every item, in order
    std::vector<int> columns;       // ColumnCount of each non-empty measure
};

void PrintTo(const BuilderCase& c, std::ostream* os) {
    *os << c.name;
}

class Builder : public ::testing::TestWithParam<BuilderCase> {};

TEST_P(Builder, MakesItemsMeasuresAndColumns) {
    const BuilderCase& c = GetParam();
    std::vector<TabItem> items = BuildTabItems(ParseLines(c.lines), c.lines);
    const int nonEmpty = AssignMeasureSizes(items);
    std::vector<std::string> described;
    for (const TabItem& item : items)
        described.push_back(Describe(item));
    EXPECT_EQ(described, c.items);

    std::vector<int> columns;
    for (const TabMeasure& measure : NonEmptyMeasures(items))
        columns.push_back(ColumnCount(MeasureChords(items, measure)));
    EXPECT_EQ(columns, c.columns);
    EXPECT_EQ(nonEmpty, static_cast<int>(c.columns.size()));
}

std::vector<std::string> Joined(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The items of a list that is one measure of `chords` chords.
std::vector<std::string> OneMeasure(int chords) {
    // Appended piece by piece: GCC 12 at -O3 takes "literal" + std::string for an
    // overlapping copy (a false -Wrestrict).
    std::string size = "/";
    size += std::to_string(chords + 1);
    std::vector<std::string> items;
    for (int p = 1; p <= chords + 1; ++p) {
        std::string item = "1.";
        item += std::to_string(p) + size + (p == chords + 1 ? "T" : "");
        items.push_back(item);
    }
    return items;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Builder,
    ::testing::Values(
        // The worked example: a title comment, two chords, a blank, a chord with a hammer-on and
        // no blank line after the last.
        BuilderCase{"WorkedExample",
                    {"* Title: Example", "G, 0, 0, 0, 0, 0, Q", "C, 0, 2, 0, 1, 2, Q", "",
                     "D7, x, 0, 2-4, 1, 12, E"},
                    {"1.1/3", "1.2/3", "1.3/3T", "2.1/2", "2.2/2T"},
                    {3, 3}},
        BuilderCase{"EmptyList", {}, {"1.1/1T"}, {}},
        BuilderCase{"OnlyComments", {"* a", "*b"}, {"1.1/1T"}, {}},
        BuilderCase{"FinalBlankLineClosesTheMeasureAndTheBlankEntryMakesAnEmptyOne",
                    {Chord(0), ""},
                    {"1.1/2", "1.2/2T", "2.1/1T"},
                    {2}},
        BuilderCase{"ConsecutiveBlankLinesMakeNoMeasure",
                    {Chord(0), "", "", " \t", Chord(1)},
                    {"1.1/2", "1.2/2T", "2.1/1T", "3.1/1T", "4.1/2", "4.2/2T"},
                    {2, 2}},
        BuilderCase{
            "LeadingBlankLines", {"", "", Chord(2)}, {"1.1/1T", "2.1/1T", "3.1/2", "3.2/2T"}, {2}},
        BuilderCase{"CommentsInsideAMeasureTakeNoPlace",
                    {Chord(0), "* verse", Chord(1), "*", Chord(2)},
                    {"1.1/4", "1.2/4", "1.3/4", "1.4/4T"},
                    {4}},
        BuilderCase{"CommentAfterBlankLine",
                    {Chord(0), "", "* chorus", Chord(3)},
                    {"1.1/2", "1.2/2T", "2.1/2", "2.2/2T"},
                    {2, 2}},
        BuilderCase{"RestTakesAColumn",
                    {"R, x, x, x, x, x, Q", Chord(0)},
                    {"1.1/3", "1.2/3", "1.3/3T"},
                    {3}},
        BuilderCase{"HammerOnsAddAColumnPerString",
                    {"H, 0-2, 2-4, x, 1-3, 0, E", Chord(0)},
                    {"1.1/3", "1.2/3", "1.3/3T"},
                    {6}},
        BuilderCase{
            "PullOffCountsLikeAHammerOn", {"P, 0, 0, 0, 0, 4-2, S"}, {"1.1/2", "1.2/2T"}, {3}},
        BuilderCase{
            "TwentyThreeChordsFillTheMeasure", Repeated(Chord(0), 23), OneMeasure(23), {24}},
        BuilderCase{"TwentyTwoChordsLeaveRoomForOne", Repeated(Chord(0), 22), OneMeasure(22), {23}},
        BuilderCase{"HammerOnsReachTheCap",
                    Joined({Repeated(Chord(0), 20), {"H, 0-1, 0-1, 0-1, 0-1, 0, Q"}}),
                    OneMeasure(21),
                    {24}},
        BuilderCase{"TwentyFiveChordsAreCappedAt24", Repeated(Chord(0), 25), OneMeasure(25), {24}}),
    [](const ::testing::TestParamInfo<BuilderCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace fw

namespace fw {
namespace {

TEST(BuilderItems, CopyTheEntryFieldsOfChordLines) {
    const std::vector<std::string> lines = {"* Title: x", "D7, x, 10-12, 2, 1, 0, .h"};
    const std::vector<TabItem> items = BuildTabItems(ParseLines(lines), lines);
    ASSERT_EQ(items.size(), 2u);
    const TabItem& d7 = items[0];
    EXPECT_EQ(d7.Fret, (FretArray{0, 0, 1, 2, 10, -1}));
    EXPECT_EQ(d7.HammerFret, (FretArray{0, -1, -1, -1, 12, -1}));
    EXPECT_EQ(d7.HammerNote[4], 50 + 12);
    EXPECT_EQ(d7.HammerNote[1], NoNote);
    EXPECT_EQ(d7.Duration, ".h");
    EXPECT_TRUE(d7.HasHammerOn());
    EXPECT_EQ(d7.HammerOnCount(), 1);
    EXPECT_FALSE(d7.IsRest());
    EXPECT_TRUE(items[1].IsTerminator);
}

TEST(BuilderItems, ARestPlaysNoString) {
    const std::vector<TabItem> items = ItemsOf({"Rest, x, x, x, x, x, W", Chord(3)});
    EXPECT_TRUE(items[0].IsRest());
    EXPECT_FALSE(items[1].IsRest());
    EXPECT_FALSE(items[0].HasHammerOn());
}

TEST(BuilderMeasures, MeasureChordsExcludeTheTerminator) {
    const std::vector<TabItem> items = ItemsOf({Chord(1), Chord(2), "", "", Chord(3)});
    const std::vector<TabMeasure> measures = NonEmptyMeasures(items);
    ASSERT_EQ(measures.size(), 2u);
    const auto first = MeasureChords(items, measures[0]);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].Fret[1], 1);
    EXPECT_EQ(first[1].Fret[1], 2);
    const auto second = MeasureChords(items, measures[1]);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].Fret[1], 3);
    EXPECT_FALSE(IsTruncated(first));
}

TEST(BuilderMeasures, MoreThan24ChordsAreTruncated) {
    std::vector<std::string> lines(25, Chord(0));
    const std::vector<TabItem> items = ItemsOf(lines);
    const auto chords = MeasureChords(items, NonEmptyMeasures(items).at(0));
    EXPECT_TRUE(IsTruncated(chords));
    lines.pop_back();
    const std::vector<TabItem> fewer = ItemsOf(lines);
    EXPECT_FALSE(IsTruncated(MeasureChords(fewer, NonEmptyMeasures(fewer).at(0))));
}

struct DrawnColumnsCase {
    const char* name;
    std::vector<std::string> lines; // one measure
    int ascii;                      // ColumnCount, for the text
    int drawn;                      // DrawnColumnCount, for graphic tablature
};

void PrintTo(const DrawnColumnsCase& c, std::ostream* os) {
    *os << c.name;
}

class DrawnColumns : public ::testing::TestWithParam<DrawnColumnsCase> {};

// Graphic tablature gives a chord with hammer-ons one column for all its targets, and is not
// capped, so that every target it draws stays inside its measure; the text keeps its count.
TEST_P(DrawnColumns, OneColumnPerChordAndPerHammeredChord) {
    const std::vector<TabItem> items = ItemsOf(GetParam().lines);
    const std::vector<TabMeasure> measures = NonEmptyMeasures(items);
    ASSERT_EQ(measures.size(), 1u);
    EXPECT_EQ(ColumnCount(MeasureChords(items, measures[0])), GetParam().ascii);
    EXPECT_EQ(DrawnColumnCount(MeasureChords(items, measures[0])), GetParam().drawn);
}

const std::string Hammered = "H, x, x, x, x, 0-2, S";

INSTANTIATE_TEST_SUITE_P(
    Table, DrawnColumns,
    ::testing::Values(DrawnColumnsCase{"OneChord", {Chord(0)}, 2, 2},
                      DrawnColumnsCase{"RestsCount", {"R, x, x, x, x, x, Q", Chord(0)}, 3, 3},
                      DrawnColumnsCase{"OneHammerOn", {Hammered, Chord(0)}, 4, 4},
                      DrawnColumnsCase{"ThreeTargetsShareOneColumn",
                                       {"H, 0-2, 2-4, x, 1-3, 0, E", Chord(0)},
                                       6,
                                       4},
                      DrawnColumnsCase{"TwentyThreePlainChords", Repeated(Chord(0), 23), 24, 24},
                      DrawnColumnsCase{"ThirteenHammerOns", Repeated(Hammered, 13), 24, 27},
                      DrawnColumnsCase{"TwentyFourHammerOns", Repeated(Hammered, 24), 24, 49},
                      // Chords after the 24th are not drawn and take no column.
                      DrawnColumnsCase{"ThirtyHammerOns", Repeated(Hammered, 30), 24, 49}),
    [](const ::testing::TestParamInfo<DrawnColumnsCase>& info) {
        return std::string(info.param.name);
    });

} // namespace
} // namespace fw

namespace fw {
namespace {

// The structure fields of the chord items, one text per chord: "|:" repeat start, ":|N" repeat
// end, "[N" ending begins, "]" ending ends, "M3/4" meter, "3.1".."3.3" triplet place ("!" last
// of its group), "p" pickup; then "T" for every terminator.
std::string StructureOf(const std::vector<TabItem>& items) {
    std::string text;
    for (const TabItem& item : items) {
        if (item.IsTerminator) {
            text += "T ";
            continue;
        }
        std::string mark = "c";
        if (item.RepeatStart)
            mark += "|:";
        if (item.EndingNumber != 0)
            mark += "[" + std::to_string(item.EndingNumber);
        if (item.MeterBeats != 0)
            mark += "M" + std::to_string(item.MeterBeats) + "/" + std::to_string(item.MeterUnit);
        if (item.TripletPlace != 0)
            mark += "3." + std::to_string(item.TripletPlace) + (item.TripletLast ? "!" : "");
        if (item.InPickup)
            mark += "p";
        if (item.EndingLast)
            mark += "]";
        if (item.RepeatEndCount != 0)
            mark += ":|" + std::to_string(item.RepeatEndCount);
        text += mark + " ";
    }
    return text;
}

TEST(TabBuilderStructure, RepeatsEndingsAndTripletsAtBlankLines) {
    const std::vector<std::string> lines = {"* Repeat: start",    test::Chord(0),
                                            "* Ending: 1",        test::Chord(1, "E3"),
                                            test::Chord(2, "E3"), test::Chord(3, "E3"),
                                            "* Repeat: end x3",   "* Ending: 2",
                                            test::Chord(4),       "",
                                            test::Chord(5)};
    EXPECT_EQ(StructureOf(test::ItemsOf(lines)), "c|: T c[13.1 c3.2 c3.3!]:|3 T c[2] T c T ");
}

TEST(TabBuilderStructure, MeterChangesAndPickupCutMeasures) {
    const std::vector<std::string> lines = {
        "* Time: 3/4", "* Pickup: 1/4",     test::Chord(0),     test::Chord(1, ".H"),
        "* Time: 2/4", test::Chord(2, "H"), test::Chord(3, "H")};
    std::vector<TabItem> items =
        BuildTabItems(test::ParseLines(lines), lines, {TabBars::Meter, Meter{3, 4}});
    EXPECT_EQ(StructureOf(items), "cM3/4p T c T cM2/4 T c T ");
}

TEST(TabBuilderStructure, PlainSongHasNoStructure) {
    const std::vector<std::string> lines = {"* Verse", test::Chord(0), "", test::Chord(1)};
    EXPECT_EQ(StructureOf(test::ItemsOf(lines)), "c T c T ");
}

} // namespace
} // namespace fw

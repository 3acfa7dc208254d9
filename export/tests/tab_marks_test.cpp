// What tablature writes beside the frets, and rows of measures: neck numbers for the 5th
// string, h and p, string names, chord names where the chord changes, rows by width.

#include "export/tab_marks.h"
#include "export/tab_rows.h"

#include "tab_test_support.h"

#include "chords/tuning.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace fw {
namespace {

struct FretCase {
    const char* name;
    int string;
    int fret;
    bool neck;
    int shown;
};

void PrintTo(const FretCase& c, std::ostream* os) {
    *os << c.name;
}

class FifthStringFrets : public ::testing::TestWithParam<FretCase> {};

TEST_P(FifthStringFrets, AreNumberedAsChosen) {
    const FretCase& c = GetParam();
    EXPECT_EQ(ShownFret(c.string, c.fret, c.neck), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FifthStringFrets,
    ::testing::Values(FretCase{"OpenStaysOpen", 5, 0, true, 0},
                      FretCase{"FirstFretIsSixth", 5, 1, true, 6},
                      // D5 on the 5th string: its own 7th fret, the neck's 12th.
                      FretCase{"DFiveIsTwelve", 5, 7, true, 12},
                      FretCase{"HighestFret", 5, MaxFret, true, MaxFret + 5},
                      FretCase{"NotPlayedStaysNotPlayed", 5, NoFret, true, NoFret},
                      FretCase{"OtherStringsUnchanged", 1, 7, true, 7},
                      FretCase{"OwnNutIsThePlainForm", 5, 7, false, 7}),
    [](const ::testing::TestParamInfo<FretCase>& info) { return std::string(info.param.name); });

TEST(HammerMarks, SlashOrHAndPByDirection) {
    EXPECT_EQ(HammerMark(0, 2, false), '/');
    EXPECT_EQ(HammerMark(4, 2, false), '/');
    EXPECT_EQ(HammerMark(0, 2, true), 'h');
    EXPECT_EQ(HammerMark(4, 2, true), 'p');
    EXPECT_EQ(HammerMark(3, 3, true), 'h'); // not a pull-off
}

struct NamesCase {
    const char* name;
    int code;
    std::vector<std::string> strings; // strings 1 to 5
};

void PrintTo(const NamesCase& c, std::ostream* os) {
    *os << c.name;
}

class StringNames : public ::testing::TestWithParam<NamesCase> {};

TEST_P(StringNames, FollowTheTuning) {
    const std::array<std::string, 6> names = StaffStringNames(GetParam().code);
    EXPECT_EQ(std::vector<std::string>(names.begin() + 1, names.end()), GetParam().strings);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StringNames,
    ::testing::Values(NamesCase{"OpenG", 55555, {"D", "B", "G", "D", "g"}},
                      NamesCase{"OpenD", 45435, {"D", "A", "F#", "D", "f#"}},
                      NamesCase{"GMinor", 55545, {"D", "Bb", "G", "D", "g"}},
                      NamesCase{"DamagedCodeIsOpenG", 12, {"D", "B", "G", "D", "g"}},
                      NamesCase{"UnnamedNoteGivesNone", 55505, {"", "", "", "", ""}}),
    [](const ::testing::TestParamInfo<NamesCase>& info) { return std::string(info.param.name); });

TEST(ChordNames, AreShownWhereTheChordChanges) {
    const std::vector<TabItem> items =
        test::ItemsOf({"G, 0, 0, 0, 0, 0, E", "G, 0, 0, 0, 0, 0, E", "Chord, 1, 1, 1, 1, 1, E",
                       "Rest, x, x, x, x, x, E", "rest, x, x, x, x, x, E", "C, 0, 2, 0, 1, 2, E",
                       "  G , 0, 0, 0, 0, 0, E", "CHORD, 0, 0, 0, 0, 0, E"});
    ChordNameChanges changes;
    std::vector<std::string> shown;
    for (const TabItem& item : items)
        shown.emplace_back(changes.Label(item));
    EXPECT_EQ(shown, (std::vector<std::string>{"G", "", "", "", "", "C", "G", "", ""}));
    EXPECT_FALSE(IsChordName(" chord "));
    EXPECT_FALSE(IsChordName(""));
    EXPECT_TRUE(IsChordName("Chord7"));
}

TEST(ChordNames, LoseTheDictionaryPosition) {
    const std::vector<TabItem> items = test::ItemsOf(
        {"Am7 (1), 0, 2, 0, 1, 0, E", "Am7 (5), 0, 5, 5, 5, 7, E", "D/F# (12), 0, 4, 2, 3, 4, E"});
    ChordNameChanges changes;
    std::vector<std::string> shown;
    for (const TabItem& item : items)
        shown.emplace_back(changes.Label(item));
    EXPECT_EQ(shown, (std::vector<std::string>{"Am7", "", "D/F#", ""}));
    for (const char* kept : {"(1)", "G (x)", "C (123)", "Em(2)"})
        EXPECT_EQ(ShownChordName(kept), kept);
}

// --- Rows -------------------------------------------------------------------------------------

std::vector<std::string> Described(const std::vector<TabRow>& rows) {
    std::vector<std::string> text;
    for (const TabRow& row : rows)
        text.push_back(std::to_string(row.first) + "+" + std::to_string(row.count) + "#" +
                       std::to_string(row.measureNumber));
    return text;
}

TEST(Rows, BlankLineMeasuresGoTwoToARow) {
    EXPECT_EQ(Described(PairedRows(5)), (std::vector<std::string>{"0+2#1", "2+2#3", "4+1#5"}));
    EXPECT_TRUE(PairedRows(0).empty());
    const std::vector<double> widths = {10, 500, 10};
    EXPECT_EQ(Described(TabRows(widths, 79, TabBars::BlankLines)),
              (std::vector<std::string>{"0+2#1", "2+1#3"}));
}

TEST(Rows, MeterMeasuresFillARowByWidth) {
    const std::vector<double> widths = {30, 30, 30, 50, 90, 10};
    EXPECT_EQ(Described(TabRows(widths, 80, TabBars::Meter)),
              (std::vector<std::string>{"0+2#1", "2+2#3", "4+1#5", "5+1#6"}));
    EXPECT_TRUE(ShowsMeasureNumbers(TabBars::Meter));
    EXPECT_FALSE(ShowsMeasureNumbers(TabBars::BlankLines));
}

TEST(Rows, AreStretchedToTheRowWidthExceptAShortLastRow) {
    const std::vector<double> widths = {30, 10, 90, 20, 70};
    EXPECT_EQ(JustifiedWidths(widths, {0, 2, 1}, 80, false), (std::vector<double>{60, 20}));
    // Too wide for a row: left as it is.
    EXPECT_EQ(JustifiedWidths(widths, {2, 1, 3}, 80, false), (std::vector<double>{90}));
    // A last row a quarter full keeps its widths; one seven eighths full is stretched.
    EXPECT_EQ(JustifiedWidths(widths, {3, 1, 4}, 80, true), (std::vector<double>{20}));
    EXPECT_EQ(JustifiedWidths(widths, {4, 1, 5}, 80, true), (std::vector<double>{80}));
}

} // namespace
} // namespace fw

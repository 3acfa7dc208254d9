// ASCII tablature in the chosen forms: neck numbers with their tuning-line suffix, h and p,
// string and chord names, rows of meter measures headed by their numbers; the default options
// give the plain text byte for byte, and the forms read back to the song.

#include "export/ascii_tab.h"
#include "export/ascii_tab_reader.h"
#include "export/tab_marks.h"

#include "tab_test_support.h"

#include "chords/text_file.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace fw {
namespace {

using test::ParseLines;

const AsciiTabTitles Titles{"G Tuning - G D G B D", "T", ""};
constexpr std::size_t HeaderLines = 6;

std::vector<TabItem> Cut(const std::vector<std::string>& lines, TabBars bars) {
    std::vector<TabItem> items =
        BuildTabItems(ParseLines(lines), lines, {bars, MeterFromComments(lines)});
    AssignMeasureSizes(items);
    return items;
}

// The lines after the header.
std::vector<std::string> Body(const std::vector<std::string>& lines, const TabOptions& options,
                              int tuning = ReferenceTuningCode) {
    const AsciiTab tab = BuildAsciiTab(Cut(lines, options.bars), Titles, options, tuning);
    return {tab.lines.begin() + HeaderLines, tab.lines.end()};
}

TabOptions With(void (*set)(TabOptions&)) {
    TabOptions options;
    set(options);
    return options;
}

struct FormCase {
    const char* name;
    std::vector<std::string> lines;
    TabOptions options;
    int tuning;
    std::vector<std::string> body; // the block(s) after the header
};

void PrintTo(const FormCase& c, std::ostream* os) {
    *os << c.name;
}

class Forms : public ::testing::TestWithParam<FormCase> {};

TEST_P(Forms, WriteTheBlock) {
    const FormCase& c = GetParam();
    EXPECT_EQ(Body(c.lines, c.options, c.tuning), c.body);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Forms,
    ::testing::Values(
        // D5 on the 5th string is its own 7th fret, the neck's 12th; open strings stay 0.
        FormCase{"NeckFrets",
                 {"D, 7, 0, 0, 0, 0, Q"},
                 With([](TabOptions& o) { o.neckFrets = true; }),
                 ReferenceTuningCode,
                 {"|-------------0------------|", "|-------------0------------|",
                  "|-------------0------------|", "|-------------0------------|",
                  "|------------12------------|", "", ""}},
        FormCase{"NeckFretsOfAHammerOn",
                 {"H, 0-2, x, x, x, x, Q"},
                 With([](TabOptions& o) { o.neckFrets = true; }),
                 ReferenceTuningCode,
                 {"|---------------------|", "|---------------------|", "|---------------------|",
                  "|---------------------|", "|---------0/7---------|", "", ""}},
        // The cells keep their widths: "0h2" and "4p2" where the plain form has "0/2".
        FormCase{"HammerOnAndPullOffLetters",
                 {"H, 0, 0-2, x, 4-2, x, E"},
                 With([](TabOptions& o) { o.letterMarks = true; }),
                 ReferenceTuningCode,
                 {"|-----------------|", "|-------4p2-------|", "|-----------------|",
                  "|-------0h2-------|", "|-------0---------|", "", ""}},
        FormCase{"StringNamesPaddedToOneWidth",
                 {"A, 0, 0, 0, 0, 0, Q"},
                 With([](TabOptions& o) { o.stringNames = true; }),
                 45435,
                 {"D |-------------0------------|", "A |-------------0------------|",
                  "F#|-------------0------------|", "D |-------------0------------|",
                  "f#|-------------0------------|", "", ""}},
        // The names stand over the fret digits, where the durations stand below; the second G
        // and the unnamed chord show none.
        FormCase{"ChordNamesWhereTheChordChanges",
                 {"G, 0, 0, 0, 0, 0, Q", "G, 0, 0, 0, 0, 0, Q", "C, 0, 2, 0, 1, 2, Q",
                  "Chord, 0, 0, 0, 0, 0, Q"},
                 With([](TabOptions& o) {
                     o.chordNames = true;
                     o.stringNames = true;
                     o.rhythm = TabRhythm::Letters;
                 }),
                 ReferenceTuningCode,
                 {"        G             C", "D|------0------0------2------0-----|",
                  "B|------0------0------1------0-----|", "G|------0------0------0------0-----|",
                  "D|------0------0------2------0-----|", "g|------0------0------0------0-----|",
                  "        Q      Q      Q      Q      ", ""}},
        // ASCII has no stems: they are written as the duration letters.
        FormCase{"StemsAreLettersInAscii",
                 {"G, 0, 0, 0, 0, 0, .E"},
                 With([](TabOptions& o) { o.rhythm = TabRhythm::Stems; }),
                 ReferenceTuningCode,
                 {"|-------------0------------|", "|-------------0------------|",
                  "|-------------0------------|", "|-------------0------------|",
                  "|-------------0------------|", "              .E             ", ""}}),
    [](const ::testing::TestParamInfo<FormCase>& info) { return std::string(info.param.name); });

TEST(AsciiForms, NeckFretsMarkTheTuningLine) {
    const std::vector<TabItem> items = Cut({"D, 7, 0, 0, 0, 0, Q"}, TabBars::BlankLines);
    EXPECT_EQ(BuildAsciiTab(items, Titles, TabOptions{}).lines[1], "G Tuning - G D G B D");
    TabOptions neck;
    neck.neckFrets = true;
    EXPECT_EQ(BuildAsciiTab(items, Titles, neck).lines[1],
              "G Tuning - G D G B D  (5th string at neck frets)");
}

// Default options are the plain tablature: the same text as the two forms of before.
TEST(AsciiForms, DefaultOptionsAreThePlainText) {
    const std::vector<std::string> lines = {
        "G, 0, 0, 0, 0, 0, Q", "C, 0, 2-4, 0, 1, 2, E", "", "Rest, x, x, x, x, x, H", "",
        "D, 7, 0, 0, 0, 0, W"};
    const std::vector<TabItem> items = Cut(lines, TabBars::BlankLines);
    TabOptions letters;
    letters.rhythm = TabRhythm::Letters;
    EXPECT_EQ(BuildAsciiTab(items, Titles, TabOptions{}).lines,
              BuildAsciiTab(items, Titles, false).lines);
    EXPECT_EQ(BuildAsciiTab(items, Titles, letters).lines,
              BuildAsciiTab(items, Titles, true).lines);
}

// --- Measures from the meter ------------------------------------------------------------------

std::vector<std::string> Eighths(int count) {
    return std::vector<std::string>(static_cast<std::size_t>(count), "G, 0, x, 0, x, 2, E");
}

TEST(AsciiMeterRows, FillByWidthAndStartWithTheMeasureNumber) {
    TabOptions meter;
    meter.bars = TabBars::Meter;
    const AsciiTab tab = BuildAsciiTab(Cut(Eighths(38), TabBars::Meter), Titles, meter);
    EXPECT_FALSE(tab.truncated);
    // Measures of eight eighths are 35 characters wide: two to a row of 80, the last alone.
    ASSERT_EQ(tab.blocks, 3);
    ASSERT_EQ(tab.lines.size(), HeaderLines + 3 * 8);
    const std::string eight = "---2---2---2---2---2---2---2---2--|";
    EXPECT_EQ(tab.lines[HeaderLines], "1");
    EXPECT_EQ(tab.lines[HeaderLines + 1], "|" + eight + eight);
    EXPECT_EQ(tab.lines[HeaderLines + 8], "3");
    EXPECT_EQ(tab.lines[HeaderLines + 16], "5");
    EXPECT_EQ(tab.lines[HeaderLines + 17], "|----2----2----2----2----2----2---|");
}

TEST(AsciiMeterRows, AWideMeasureStandsAlone) {
    TabOptions meter;
    meter.bars = TabBars::Meter;
    meter.chordNames = true;
    std::vector<std::string> lines(32, "G, 0, x, 0, x, 2, S");
    const AsciiTab tab = BuildAsciiTab(Cut(lines, TabBars::Meter), Titles, meter);
    ASSERT_EQ(tab.blocks, 2);
    // The measure number and then the chord name over the first fret digit.
    EXPECT_EQ(tab.lines[HeaderLines], "1  G");
    EXPECT_EQ(tab.lines[HeaderLines + 8], "2");
    EXPECT_EQ(tab.lines[HeaderLines + 1].size(), 51u);
}

// Measures of the meter hold any number of chords: 64 sixty-fourths are all written.
TEST(AsciiMeterRows, AreNeverTruncated) {
    TabOptions meter;
    meter.bars = TabBars::Meter;
    std::vector<std::string> lines(64, "G, 0, x, 0, x, 2, F");
    const AsciiTab tab = BuildAsciiTab(Cut(lines, TabBars::Meter), Titles, meter);
    EXPECT_FALSE(tab.truncated);
    ASSERT_EQ(tab.blocks, 1);
    std::string cells;
    for (int i = 0; i < 64; ++i)
        cells += "-2";
    EXPECT_EQ(tab.lines[HeaderLines + 1], "|" + cells + "|");
}

// Crowded names are moved right so that they never touch.
TEST(AsciiChordNames, NeverTouch) {
    std::vector<std::string> lines;
    for (int i = 0; i < 24; ++i)
        lines.push_back((i % 2 ? "Am7" : "D") + std::string(", 0, 0, 0, 0, 0, S"));
    TabOptions names;
    names.chordNames = true;
    const AsciiTab tab = BuildAsciiTab(Cut(lines, TabBars::BlankLines), Titles, names);
    // The cells touch (24 chords), so each name is pushed one space past the one before.
    std::string expected = " ";
    for (int i = 0; i < 24; ++i)
        expected += i % 2 ? " Am7" : " D";
    EXPECT_EQ(tab.lines[HeaderLines], expected);
}

// --- Reading the forms back -------------------------------------------------------------------

// The chord lines of a reading, comments and blank lines left out.
std::vector<std::string> ChordLines(const std::vector<std::string>& lines) {
    std::vector<std::string> chords;
    for (const std::string& line : lines) {
        const ParsedLine parsed = ParseChordText(line, 0);
        if (parsed.isChord()) {
            std::string frets;
            for (int k = 5; k >= 1; --k)
                frets += std::to_string(parsed.entry.Fret[k]) + "/" +
                         std::to_string(parsed.entry.HammerFret[k]) + " ";
            chords.push_back(frets + parsed.entry.Duration);
        }
    }
    return chords;
}

TEST(AsciiForms, AllFormsReadBackToTheSong) {
    const std::vector<std::string> song = {
        "D, 7, 0, 0, 0, 0, Q", "H, 0, 0-2, x, 4-2, x, E",  "Slide, 2-4, 0, 0, 0, 0, E", "",
        "G, 0, 0, 0, 0, 0, H", "Up, 12-17, 10, x, x, x, H"};
    TabOptions forms;
    forms.neckFrets = true;
    forms.letterMarks = true;
    forms.stringNames = true;
    forms.chordNames = true;
    forms.rhythm = TabRhythm::Letters;
    const AsciiTab tab = BuildAsciiTab(Cut(song, TabBars::BlankLines), Titles, forms);
    const std::string text = JoinLinesCrLf(tab.lines);
    EXPECT_NE(text.find("-0h2-"), std::string::npos) << text;
    EXPECT_NE(text.find("-4p2-"), std::string::npos) << text;
    EXPECT_EQ(ChordLines(ReadAsciiTab(text).lines), ChordLines(song)) << text;
}

} // namespace
} // namespace fw

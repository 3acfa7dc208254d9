// Reading ASCII banjo tablature: web-style tabs written by hand with the chord lines each must
// give, this program's own tablature with its duration line, tuning lines, the nearest duration,
// and text that holds no tablature.

#include "export/ascii_tab_reader.h"
#include "export/tab_staff.h"

#include "chords/tuning.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace fw {
namespace {

std::string Join(const std::vector<std::string>& lines, const char* end = "\n") {
    std::string text;
    for (const std::string& line : lines)
        text += line + end;
    return text;
}

// --- Web-style tabs -------------------------------------------------------------------------

struct TabCase {
    const char* name;
    std::vector<std::string> text;
    std::vector<std::string> lines;
    int droppedMarks = 0;
    std::optional<int> tuning = std::nullopt; // named by the tab
};

void PrintTo(const TabCase& c, std::ostream* os) {
    *os << c.name;
}

class WebTab : public ::testing::TestWithParam<TabCase> {};

TEST_P(WebTab, GivesTheChordLines) {
    const TabCase& c = GetParam();
    const TabReading reading = ReadAsciiTab(Join(c.text));
    EXPECT_EQ(reading.lines, c.lines);
    EXPECT_EQ(reading.droppedMarks, c.droppedMarks);
    EXPECT_EQ(reading.tuningCode, c.tuning);
}

TEST_P(WebTab, ReadsTheSameWithWindowsLineEnds) {
    const TabCase& c = GetParam();
    EXPECT_EQ(ReadAsciiTab(Join(c.text, "\r\n")).lines, c.lines);
}

// Columns are counted from 0; a measure's durations follow the gaps between its columns, the
// last column's gap being the dashes to the closing bar (at least the gap before it), over the
// measure as a whole note.
INSTANTIATE_TEST_SUITE_P(
    Table, WebTab,
    ::testing::Values(
        // Four evenly spaced notes between two bars: quarters.
        TabCase{"NoLabelsEvenQuarters",
                {"|--0--2--0--2--|", "|--------------|", "|--------------|", "|--------------|",
                 "|--------------|"},
                {"Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 2, Q", "Chord, x, x, x, x, 0, Q",
                 "Chord, x, x, x, x, 2, Q", ""}},
        // Labels d B G D g; columns 3 (2h4), 7, 9, 13, 15; closing bar at 17: gaps 4 2 4 2 2,
        // nearest Q E Q E E, which does not fill 4/4: of the closest fills, the longer first.
        TabCase{"LabelsHammerOnUnevenSpacing",
                {"d|-----------0---|", "B|-------0-------|", "G|-2h4-----------|",
                 "D|---------------|", "g|-----0-------0-|"},
                {"Chord, x, x, 2-4, x, x, .Q", "Chord, 0, x, x, x, x, E", "Chord, x, x, x, 0, x, Q",
                 "Chord, x, x, x, x, 0, E", "Chord, 0, x, x, x, x, E", ""},
                0,
                55555},
        // A pull-off, a slide with "/", and the drone: columns 2, 7, 11, bar at 14: gaps 5 4 4,
        // nearest .Q Q Q, which does not fill 4/4: the closest that does, the longer first.
        TabCase{"PullOffAndSlide",
                {"|-------------|", "|-3p1---------|", "|------2/4----|", "|-------------|",
                 "|----------0--|"},
                {"Chord, x, x, x, 3-1, x, .Q", "Chord, x, x, 2-4, x, x, .Q",
                 "Chord, 0, x, x, x, x, Q", ""}},
        TabCase{"SlideWithS",
                {"|------|", "|------|", "|-2s4--|", "|------|", "|------|"},
                {"Chord, x, x, 2-4, x, x, W", ""}},
        // Two-digit frets are one number; the drone's neck fret 7 is its fret 2.
        TabCase{"TwoDigitFretsAndTheDroneAtTheSeventhFret",
                {"|--10----12--|", "|--------10--|", "|------------|", "|------------|",
                 "|--7---------|"},
                {"Chord, 2, x, x, x, 10, H", "Chord, x, x, x, 10, 12, H", ""}},
        // A drone fret of 1 to 5 is no neck fret: read from the string's own nut; 7 is still 2.
        TabCase{"DroneFretTwoReadFromItsOwnNut",
                {"|----------|", "|----------|", "|----------|", "|----------|", "|--2----7--|"},
                {"Chord, 2, x, x, x, x, H", "Chord, 2, x, x, x, x, H", ""}},
        // No bar lines: the common gap is an eighth, eight to a measure.
        TabCase{"NoBarLines",
                {"-0-1-2-3-4-5-6-7-8-9-", "---------------------", "---------------------",
                 "---------------------", "---------------------"},
                {"Chord, x, x, x, x, 0, E", "Chord, x, x, x, x, 1, E", "Chord, x, x, x, x, 2, E",
                 "Chord, x, x, x, x, 3, E", "Chord, x, x, x, x, 4, E", "Chord, x, x, x, x, 5, E",
                 "Chord, x, x, x, x, 6, E", "Chord, x, x, x, x, 7, E", "",
                 "Chord, x, x, x, x, 8, E", "Chord, x, x, x, x, 9, E", ""}},
        // Words around the staffs stay as comments; the chord names above name the chords.
        TabCase{"ChordNamesAboveAndLyricsBetween",
                {"Boil Them Cabbage Down", "", "   G           C", "d|-0-----------2---|",
                 "B|-0-----------1---|", "G|-0-----------0---|", "D|-----------------|",
                 "g|-----------------|", "Boil them cabbage down, boys", "", "d|-0---------------|",
                 "B|-----------------|", "G|-----------------|", "D|-----------------|",
                 "g|-----------------|", "", "=================="},
                {"* Boil Them Cabbage Down", "G, x, x, 0, 0, 0, H", "C, x, x, 0, 1, 2, H", "",
                 "* Boil them cabbage down, boys", "Chord, x, x, x, x, 0, W", ""},
                0,
                55555},
        // Two measures: the bar between them ends the first.
        TabCase{"TwoMeasures",
                {"|--0--0--|--2-----|", "|--------|--------|", "|--------|--------|",
                 "|--------|--------|", "|--------|--------|"},
                {"Chord, x, x, x, x, 0, H", "Chord, x, x, x, x, 0, H", "",
                 "Chord, x, x, x, x, 2, W", ""}},
        // A bend with its target, a muted note and a vibrato are left out and counted.
        TabCase{"BendMutedNoteAndVibratoLeftOut",
                {"|--7b9--x--5~~--|", "|---------------|", "|---------------|", "|---------------|",
                 "|---------------|"},
                {"Chord, x, x, x, x, 7, H", "Chord, x, x, x, x, 5, H", ""},
                3},
        // String numbers from the top 5 to 1: the drone is written on top.
        TabCase{
            "StringNumbersFifthStringOnTop",
            {"5|-0------|", "4|--------|", "3|----2---|", "2|--------|", "1|------3-|"},
            {"Chord, 0, x, x, x, x, H", "Chord, x, x, 2, x, x, Q", "Chord, x, x, x, x, 3, Q", ""}},
        // Labels g D G B d from the top: upside down too.
        TabCase{"LetterLabelsFifthStringOnTop",
                {"g|-0------|", "D|--------|", "G|--------|", "B|--------|", "d|--------|"},
                {"Chord, 0, x, x, x, x, W", ""},
                0,
                55555},
        // Dashes and bars copied from a web page as typographic characters, tabs as spaces.
        TabCase{"TypographicDashes",
                {"\t|\u2013\u20130\u2013\u2013|", "\t|\u2013\u2013\u2013\u2013\u2013|",
                 "\t|\u2013\u2013\u2013\u2013\u2013|", "\t\u2502\u2500\u2500\u2500\u2500\u2500|",
                 "\t|-----|"},
                {"Chord, x, x, x, x, 0, W", ""}},
        // A repeat count after the last bar repeats the staff.
        TabCase{"RepeatRemark",
                {"|--0--|  (x2)", "|-----|", "|-----|", "|-----|", "|-----|"},
                {"* Repeat: start", "Chord, x, x, x, x, 0, W", "* Repeat: end x2", ""}},
        // A song plays a repeat 2 to 99 times: "x1" is the plain repeat, x150 the most there is.
        TabCase{"RepeatRemarkOnce",
                {"|--0--|  x1", "|-----|", "|-----|", "|-----|", "|-----|"},
                {"* Repeat: start", "Chord, x, x, x, x, 0, W", "* Repeat: end", ""}},
        TabCase{"RepeatRemarkBeyondTheLargest",
                {"|--0--|  x150", "|-----|", "|-----|", "|-----|", "|-----|"},
                {"* Repeat: start", "Chord, x, x, x, x, 0, W", "* Repeat: end x99", ""}},
        // Words that would be a marker with a value no song takes are kept as plain words.
        TabCase{"WordsLikeAMalformedMarker",
                {"Time: 0/4   Capo: 13", "*Time:", "|--0--|", "|-----|", "|-----|", "|-----|",
                 "|-----|"},
                {"* \"Time: 0/4   Capo: 13\"", "* \"Time:\"", "Chord, x, x, x, x, 0, W", ""}},
        // An underline of dashes right above a staff is no string of it.
        TabCase{"UnderlinedTitleRightAboveTheStaff",
                {"Title", "-----", "|--0--|", "|-----|", "|-----|", "|-----|", "|-----|"},
                {"* Title", "Chord, x, x, x, x, 0, W", ""}},
        // One pick sounds one hammer-on or pull-off: the rest of the chain is left out.
        TabCase{
            "HammerThenPullOff",
            {"|-----------|", "|-----------|", "|--2h4p2----|", "|-----------|", "|-----------|"},
            {"Chord, x, x, 2-4, x, x, W", ""},
            1},
        // Six lines make guitar tablature: kept as comments, nothing read.
        TabCase{
            "SixStringsAreNotABanjo",
            {"e|--0--|", "B|--1--|", "G|--0--|", "D|--2--|", "A|--3--|", "E|-----|"},
            {"* e|--0--|", "* B|--1--|", "* G|--0--|", "* D|--2--|", "* A|--3--|", "* E|-----|"}}),
    [](const ::testing::TestParamInfo<TabCase>& info) { return std::string(info.param.name); });

// --- This program's own tablature -----------------------------------------------------------

const std::string Pad8(8, '-');
const std::string Space8(8, ' ');

// The worked example of the tablature writer, with its header and duration line.
const std::vector<std::string> OwnExample = {
    "",
    "G Tuning - G D G B D",
    "",
    std::string(37, ' ') + "Example",
    std::string(40, ' '),
    "",
    "|---------0---------2--------|--------12-----------|",
    "|---------0---------1--------|---------1-----------|",
    "|---------0---------0--------|---------2/4---------|",
    "|---------0---------2--------|---------0-----------|",
    "|---------0---------0--------|---------------------|",
    "          Q         Q                  E            ",
    "",
};

TEST(OwnTablature, WorkedExampleReadsBackWithItsTitle) {
    const TabReading reading = ReadAsciiTab(Join(OwnExample, "\r\n"));
    EXPECT_EQ(reading.lines, (std::vector<std::string>{"* G Tuning - G D G B D", "* Title: Example",
                                                       "G, 0, 0, 0, 0, 0, Q", "C, 0, 2, 0, 1, 2, Q",
                                                       "", "Chord, x, 0, 2-4, 1, 12, E", ""}));
    EXPECT_EQ(reading.tuningCode, 55555);
    EXPECT_TRUE(reading.ownNumbering);
}

// One measure: a chord and a rest (three columns, pad 8), then one with 24 chords whose cells
// touch (pad 0): "-2" then "13" reads "-213".
TEST(OwnTablature, RestsFromTheDurationLineAndTouchingCells) {
    std::string dense = "|";
    std::string denseDurations = " ";
    for (int i = 0; i < 12; ++i) {
        dense += "-213";
        denseDurations += " T T";
    }
    const std::string empty24 = "|" + std::string(48, '-') + "|";
    const std::vector<std::string> text = {
        "Custom Tuning - G C G C D",
        "",
        "",
        "",
        "|" + Pad8 + "-0" + Pad8 + "--" + Pad8 + "|",
        "|" + Pad8 + "--" + Pad8 + "--" + Pad8 + "|",
        "|" + Pad8 + "--" + Pad8 + "--" + Pad8 + "|",
        "|" + Pad8 + "--" + Pad8 + "--" + Pad8 + "|",
        "|" + Pad8 + "-3" + Pad8 + "--" + Pad8 + "|",
        " " + Space8 + " Q" + Space8 + " .e" + Space8 + " ",
        "",
        dense + "|",
        empty24,
        empty24,
        empty24,
        empty24,
        denseDurations + " ",
    };
    const TabReading reading = ReadAsciiTab(Join(text));
    std::vector<std::string> expected = {"* Custom Tuning - G C G C D", "Chord, 3, x, x, x, 0, Q",
                                         "Rest, x, x, x, x, x, .e", ""};
    for (int i = 0; i < 12; ++i) {
        expected.push_back("Chord, x, x, x, x, 2, T");
        expected.push_back("Chord, x, x, x, x, 13, T");
    }
    expected.emplace_back();
    EXPECT_EQ(reading.lines, expected);
    EXPECT_EQ(reading.tuningCode, 53565);
}

// The tuning line says how the 5th string is numbered: with its suffix as on the neck (7 is the
// string's own 2), without it from the string's own nut. Hammer-ons written with letters.
TEST(OwnTablature, TuningLineSaysHowTheFifthStringIsNumbered) {
    const auto text = [](const std::string& tuningLine) {
        const std::string none = "|" + Pad8 + "-----" + Pad8 + "|";
        return std::vector<std::string>{
            tuningLine,
            "",
            "|" + Pad8 + "-0h2-" + Pad8 + "|",
            none,
            none,
            none,
            "|" + Pad8 + "-7---" + Pad8 + "|",
            " " + Space8 + " Q   " + Space8 + " ",
        };
    };
    const TabReading neck =
        ReadAsciiTab(Join(text("G Tuning - G D G B D" + std::string(NeckFretsSuffix))));
    EXPECT_FALSE(neck.ownNumbering);
    EXPECT_EQ(neck.tuningCode, 55555);
    EXPECT_EQ(neck.lines[1], "Chord, 2, x, x, x, 0-2, Q");
    const TabReading own = ReadAsciiTab(Join(text("G Tuning - G D G B D")));
    EXPECT_TRUE(own.ownNumbering);
    EXPECT_EQ(own.lines[1], "Chord, 7, x, x, x, 0-2, Q");
    EXPECT_EQ(ImportNotice(own), "");
}

// Without the duration line a rest leaves no mark, and spacing gives the durations.
TEST(OwnTablature, WithoutDurationLineRestsAreNotMadeUp) {
    const std::vector<std::string> text = {
        "|" + Pad8 + "-0" + Pad8 + "--" + Pad8 + "|", "|" + Pad8 + "--" + Pad8 + "--" + Pad8 + "|",
        "|" + Pad8 + "--" + Pad8 + "--" + Pad8 + "|", "|" + Pad8 + "--" + Pad8 + "--" + Pad8 + "|",
        "|" + Pad8 + "--" + Pad8 + "--" + Pad8 + "|", "",
    };
    EXPECT_EQ(ReadAsciiTab(Join(text)).lines,
              (std::vector<std::string>{"Chord, x, x, x, x, 0, W", ""}));
}

// --- Text that is no banjo tablature ----------------------------------------------------------

struct NoTabCase {
    const char* name;
    std::string text;
};

void PrintTo(const NoTabCase& c, std::ostream* os) {
    *os << c.name;
}

class NoTablature : public ::testing::TestWithParam<NoTabCase> {};

TEST_P(NoTablature, HasNoChordLine) {
    const TabReading reading = ReadAsciiTab(GetParam().text);
    EXPECT_EQ(reading.chordLines, 0);
    for (const std::string& line : reading.lines)
        EXPECT_TRUE(line.empty() || line[0] == '*') << line;
}

INSTANTIATE_TEST_SUITE_P(
    Table, NoTablature,
    ::testing::Values(NoTabCase{"Empty", ""},
                      NoTabCase{"Prose", "Here is how I play it.\nSlowly -- then faster.\n"},
                      NoTabCase{"ChordLinesOfASong", "G, 0, 0, 0, 0, 0, Q\nC, 0, 2, 0, 1, 2, Q\n"},
                      NoTabCase{"FourLines", "|--0--|\n|--1--|\n|--2--|\n|--3--|\n"},
                      NoTabCase{"StaffWithoutNotes",
                                "|-----|\n|-----|\n|-----|\n|-----|\n|-----|\n"},
                      NoTabCase{"BinaryBytes", std::string("\0\xff\x01|--\n", 7)}),
    [](const ::testing::TestParamInfo<NoTabCase>& info) { return std::string(info.param.name); });

// --- Tuning lines and durations -------------------------------------------------------------

// Every five-digit code's status text names that code again.
TEST(TuningLine, EveryCodeReadsBackFromItsStatusText) {
    for (int code = 10000; code <= 99999; ++code) {
        const std::optional<int> read = TuningCodeOfStatusText(TuningStatusText(code));
        ASSERT_EQ(read, code) << TuningStatusText(code);
    }
}

struct TuningLineCase {
    const char* name;
    std::string text;
    std::optional<int> code;
};

void PrintTo(const TuningLineCase& c, std::ostream* os) {
    *os << c.name;
}

class TuningLine : public ::testing::TestWithParam<TuningLineCase> {};

TEST_P(TuningLine, NamesItsCode) {
    EXPECT_EQ(TuningCodeOfStatusText(GetParam().text), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TuningLine,
    ::testing::Values(
        TuningLineCase{"FixedWithSpaces", "  G Minor Tuning - G D G Bb D ", 55545},
        TuningLineCase{"Custom", "Custom Tuning - Ab C# G B Eb", 64556},
        TuningLineCase{"EarlierDTuningCaption", "D Tuning - F# D G C D", 45435},
        TuningLineCase{"CustomWithAnUnknownName", "Custom Tuning - Ab C# G H Eb", std::nullopt},
        TuningLineCase{"CustomWithFourNames", "Custom Tuning - G D G B", std::nullopt},
        TuningLineCase{"CustomWithSixNames", "Custom Tuning - G D G B D D", std::nullopt},
        TuningLineCase{"WithAccelerator", "&G Tuning - G D G B D", std::nullopt},
        TuningLineCase{"WebTuningLine", "Tuning: gDGBD", std::nullopt}),
    [](const ::testing::TestParamInfo<TuningLineCase>& info) {
        return std::string(info.param.name);
    });

struct NearestCase {
    const char* name;
    double fraction;
    const char* duration;
};

void PrintTo(const NearestCase& c, std::ostream* os) {
    *os << c.name;
}

class Nearest : public ::testing::TestWithParam<NearestCase> {};

TEST_P(Nearest, Duration) {
    EXPECT_EQ(tabstaff::NearestDuration(GetParam().fraction), GetParam().duration);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Nearest,
    ::testing::Values(NearestCase{"Whole", 1.0, "W"}, NearestCase{"MoreThanDottedWhole", 3.0, ".W"},
                      NearestCase{"Third", 1.0 / 3, ".Q"}, NearestCase{"Fifth", 0.2, ".E"},
                      NearestCase{"TieQuarterDottedEighthTakesPlain", 0.21875, "Q"},
                      NearestCase{"Sixth", 1.0 / 6, ".E"}, NearestCase{"Tiny", 0.001, "F"},
                      NearestCase{"DottedSixteenth", 0.09, ".S"}),
    [](const ::testing::TestParamInfo<NearestCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace fw

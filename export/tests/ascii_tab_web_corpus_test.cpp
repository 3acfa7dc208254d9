// More banjo tabs as people post them: rhythm rows above the staff or written as fractions,
// string labels padded after the letter, staffs of strings 1 to 4 only, waltzes with a pickup.
// Each gives its chord lines, tuning and one notice; tabs for other instruments give none.

#include "export/ascii_tab_reader.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace fw {
namespace {

struct CorpusCase {
    const char* name;
    std::vector<std::string> text;
    std::vector<std::string> lines; // the chord lines and comments read
    std::optional<int> tuning;
    std::string notice;
};

void PrintTo(const CorpusCase& c, std::ostream* os) {
    *os << c.name;
}

std::string Text(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

class WebCorpus : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(WebCorpus, ReadsAsAPlayerDoes) {
    const CorpusCase& c = GetParam();
    const TabReading reading = ReadAsciiTab(Text(c.text));
    EXPECT_EQ(reading.lines, c.lines);
    EXPECT_EQ(reading.tuningCode, c.tuning);
    EXPECT_EQ(ImportNotice(reading), c.notice);
}

const std::string OpenG = "The tab names no tuning: open G (g D G B D) assumed.";
const std::string FourLines =
    "1 staff of four lines read as strings 1 to 4: the 5th string is not played.";
const std::string Bar = "|------------------|";

INSTANTIATE_TEST_SUITE_P(
    Table, WebCorpus,
    ::testing::Values(
        // "D |" and "A |" beside "F#|": the pinch stays one chord.
        CorpusCase{"LabelsPaddedAfterTheLetter",
                   {"D |--0---0---0---0-|", "A |--2-------------|", "F#|--0-------------|",
                    "D |------0---------|", "f#|------0---0-----|"},
                   {"Bm, x, x, 0, 2, 0, Q", "Chord, 0, 0, x, x, 0, Q", "Chord, 0, x, x, x, 0, Q",
                    "Chord, x, x, x, x, 0, Q", ""},
                   45435,
                   ""},
        // The letters above give the rhythm, whatever the spacing says.
        CorpusCase{"RhythmLettersAbove",
                   {"   Q   E E Q   E E", "|--0---0-0-0---0-0-|", Bar, Bar, Bar, Bar},
                   {"Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 0, E", "Chord, x, x, x, x, 0, E",
                    "Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 0, E", "Chord, x, x, x, x, 0, E",
                    ""},
                   std::nullopt,
                   OpenG},
        CorpusCase{
            "RhythmLettersAboveInLowerCase",
            {"   h       q   q", "|--0-------0---0---|", Bar, Bar, Bar, Bar},
            {"Chord, x, x, x, x, 0, h", "Chord, x, x, x, x, 0, q", "Chord, x, x, x, x, 0, q", ""},
            std::nullopt,
            OpenG},
        CorpusCase{"RhythmRowWithTriplets",
                   {"|--0---0---0-0-0---|", Bar, Bar, Bar, Bar, "   Q   Q   E3 E3 E3"},
                   {"Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 0, Q",
                    "Chord, x, x, x, x, 0, E3", "Chord, x, x, x, x, 0, E3",
                    "Chord, x, x, x, x, 0, E3", ""},
                   std::nullopt,
                   OpenG},
        CorpusCase{"RhythmFractionsBelow",
                   {"|--0---0---0---0---|", Bar, Bar, Bar, Bar, "   1/4 1/8 1/8 1/2"},
                   {"Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 0, E", "Chord, x, x, x, x, 0, E",
                    "Chord, x, x, x, x, 0, H", ""},
                   std::nullopt,
                   OpenG},
        // An A part with first and second endings over the staff; the marks of repeats become
        // the song's markers.
        CorpusCase{"RepeatWithTwoEndings",
                   {"            1.         2.", "|:-0---0---|-2---2---:|-3---3---|",
                    "|:---------|---------:|---------|", "|:---------|---------:|---------|",
                    "|:---------|---------:|---------|", "|:---------|---------:|---------|"},
                   {"* Repeat: start", "Chord, x, x, x, x, 0, H", "Chord, x, x, x, x, 0, H", "",
                    "* Ending: 1", "Chord, x, x, x, x, 2, H", "Chord, x, x, x, x, 2, H",
                    "* Repeat: end", "", "* Ending: 2", "Chord, x, x, x, x, 3, H",
                    "Chord, x, x, x, x, 3, H", ""},
                   std::nullopt,
                   OpenG},
        // Every note has the same room: two notes of a waltz measure are a half and a quarter,
        // and the short first measure a pickup of one beat.
        CorpusCase{"WaltzWithAPickup",
                   {"Down in the Valley - 3/4 time", "D|---|-0---0---|-----0---|-0-------|",
                    "B|-0-|---------|-1-------|---------|", "G|---|---------|---------|---------|",
                    "D|---|---------|---------|---------|", "g|---|---------|---------|---------|"},
                   {"* Down in the Valley - 3/4 time", "* Time: 3/4", "* Pickup: 1/4",
                    "Chord, x, x, x, 0, x, Q", "", "Chord, x, x, x, x, 0, H",
                    "Chord, x, x, x, x, 0, Q", "", "Chord, x, x, x, 1, x, H",
                    "Chord, x, x, x, x, 0, Q", "", "Chord, x, x, x, x, 0, .H", ""},
                   55555,
                   "Durations guessed to fill 3/4 where the spacing did not: measures 1 and 2."},
        CorpusCase{
            "FourLinesLabelledStringsOneToFour",
            {"D|--0-----------|", "B|--1-----------|", "G|--0-----------|", "D|--2-----------|"},
            {"Cadd9, x, 2, 0, 1, 0, W", ""},
            55555,
            FourLines + " The labels name strings 1 to 4 only: open G (g D G B D) assumed."},
        CorpusCase{
            "FourLinesOfDoubleC",
            {"D|--0-----------|", "C|--0-----------|", "G|--0-----------|", "C|--0-----------|"},
            {"Csus2, x, 0, 0, 0, 0, W", ""},
            53565,
            FourLines + " The labels name strings 1 to 4 only: Double C - G C G C D "
                        "assumed."},
        CorpusCase{"FourLinesUnlabelledBesideABanjoTitle",
                   {"Boil Them Cabbage (banjo)", "|--0---0---0---0-|", "|----------------|",
                    "|----------------|", "|----------------|"},
                   {"* Boil Them Cabbage (banjo)", "Chord, x, x, x, x, 0, Q",
                    "Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 0, Q",
                    ""},
                   std::nullopt,
                   OpenG + " " + FourLines}),
    [](const ::testing::TestParamInfo<CorpusCase>& info) { return std::string(info.param.name); });

// Staffs of other instruments are no banjo tablature: six lines, a bass's G D A E, four lines
// without labels where nothing speaks of a banjo.
TEST(WebCorpus, OtherInstrumentsAreLeftOut) {
    const std::vector<std::vector<std::string>> tabs = {
        {"e|--0--|", "B|--1--|", "G|--0--|", "D|--2--|", "A|--3--|", "E|-----|"},
        {"G|--0--|", "D|--2--|", "A|--3--|", "E|-----|"},
        {"|--0--|", "|--2--|", "|--3--|", "|-----|"},
    };
    for (const std::vector<std::string>& tab : tabs)
        EXPECT_EQ(ReadAsciiTab(Text(tab)).chordLines, 0) << Text(tab);
}

} // namespace
} // namespace fw

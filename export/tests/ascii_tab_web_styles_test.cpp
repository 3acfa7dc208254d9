// Banjo tabs written in the styles people post them in: each must give its notes on the right
// strings, its tuning and meter, its durations, and one notice of what was assumed, read as
// something else or left out.

#include "export/ascii_tab_reader.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace fw {
namespace {

struct StyleCase {
    const char* name;
    std::vector<std::string> text;
    std::vector<std::string> lines;
    std::optional<int> tuning;
    std::string notice;
};

void PrintTo(const StyleCase& c, std::ostream* os) {
    *os << c.name;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

class WebStyle : public ::testing::TestWithParam<StyleCase> {};

TEST_P(WebStyle, ReadsNotesTuningRhythmAndSaysWhatItAssumed) {
    const StyleCase& c = GetParam();
    const TabReading reading = ReadAsciiTab(Joined(c.text));
    EXPECT_EQ(reading.lines, c.lines);
    EXPECT_EQ(reading.tuningCode, c.tuning);
    EXPECT_EQ(ImportNotice(reading), c.notice);
}

const std::string OpenG = "The tab names no tuning: open G (g D G B D) assumed.";
const std::string Empty = "|----------------|";

// Single notes, which the chord namer leaves unnamed, keep the expected lines readable.
INSTANTIATE_TEST_SUITE_P(
    Table, WebStyle,
    ::testing::Values(
        StyleCase{"TuningHeaderWithNotesAndName",
                  {"Tuning: gCGCD (Double C)", "|--0---2---0---2-|", Empty, Empty,
                   "|----------------|", Empty},
                  {"* Tuning: gCGCD (Double C)", "Chord, x, x, x, x, 0, Q",
                   "Chord, x, x, x, x, 2, Q", "Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 2, Q",
                   ""},
                  53565,
                  ""},
        StyleCase{"LabelsDoubleCTopStringFirst",
                  {"D|--0---0---0---0-|", "C|----------------|", "G|----------------|",
                   "C|----------------|", "g|----------------|"},
                  {"Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 0, Q",
                   "Chord, x, x, x, x, 0, Q", ""},
                  53565,
                  ""},
        StyleCase{"LabelsATuningFifthStringOnTop",
                  {"a |--0-------------|", "E |----------------|", "A |----------------|",
                   "c#|----------------|", "e |----------0-----|"},
                  {"Chord, 0, x, x, x, x, H", "Chord, x, x, x, x, 0, H", ""},
                  77777,
                  ""},
        // "c#|" is one wider than "e|": each line starts after its label.
        StyleCase{"LabelsOfDifferentWidths",
                  {"e|--0---0---0---0-|", "c#|----------------|", "A|----------------|",
                   "E|----------------|", "a|----------------|"},
                  {"Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 0, Q",
                   "Chord, x, x, x, x, 0, Q", ""},
                  77777,
                  ""},
        StyleCase{"NamedOpenDAndCompactNotes",
                  {"Old Joe Clark - open D", "|--0---0---0---0-|", Empty, Empty, Empty, Empty, "",
                   "aEAC#E", "|--0---0---0---0-|", Empty, Empty, Empty, Empty},
                  {"* Old Joe Clark - open D", "Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 0, Q",
                   "Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 0, Q", "", "* aEAC#E",
                   "Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 0, Q",
                   "Chord, x, x, x, x, 0, Q", ""},
                  45435,
                  ""},
        // No bar lines: the common gap of two columns is an eighth; quarters have four.
        StyleCase{"NoBarLinesEighthsAndQuarters",
                  {"-0-0-0---0-0-0---0-0-0---0-0-0---", "---------------------------------",
                   "---------------------------------", "---------------------------------",
                   "---------------------------------"},
                  {"Chord, x, x, x, x, 0, E", "Chord, x, x, x, x, 0, E", "Chord, x, x, x, x, 0, Q",
                   "Chord, x, x, x, x, 0, E", "Chord, x, x, x, x, 0, E", "Chord, x, x, x, x, 0, Q",
                   "", "Chord, x, x, x, x, 0, E", "Chord, x, x, x, x, 0, E",
                   "Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 0, E", "Chord, x, x, x, x, 0, E",
                   "Chord, x, x, x, x, 0, Q", ""},
                  std::nullopt,
                  OpenG},
        // Bars only at the two ends of a line of sixteen eighths: two measures of 4/4.
        StyleCase{"BarsOnlyAtTheEndsOfTwoMeasures",
                  {"|-0-1-2-3-4-5-6-7-0-1-2-3-4-5-6-7-|", "|---------------------------------|",
                   "|---------------------------------|", "|---------------------------------|",
                   "|---------------------------------|"},
                  {"Chord, x, x, x, x, 0, E", "Chord, x, x, x, x, 1, E", "Chord, x, x, x, x, 2, E",
                   "Chord, x, x, x, x, 3, E", "Chord, x, x, x, x, 4, E", "Chord, x, x, x, x, 5, E",
                   "Chord, x, x, x, x, 6, E", "Chord, x, x, x, x, 7, E", "",
                   "Chord, x, x, x, x, 0, E", "Chord, x, x, x, x, 1, E", "Chord, x, x, x, x, 2, E",
                   "Chord, x, x, x, x, 3, E", "Chord, x, x, x, x, 4, E", "Chord, x, x, x, x, 5, E",
                   "Chord, x, x, x, x, 6, E", "Chord, x, x, x, x, 7, E", ""},
                  std::nullopt,
                  OpenG},
        // A pickup of two eighths before two full measures stays two eighths, and says so.
        StyleCase{"PickupMeasure",
                  {"|-0-0-|-0-0-0-0-0-0-0-0-|-2-2-2-2-2-2-2-2-|",
                   "|-----|-----------------|-----------------|",
                   "|-----|-----------------|-----------------|",
                   "|-----|-----------------|-----------------|",
                   "|-----|-----------------|-----------------|"},
                  {"* Pickup: 1/4",
                   "Chord, x, x, x, x, 0, E",
                   "Chord, x, x, x, x, 0, E",
                   "",
                   "Chord, x, x, x, x, 0, E",
                   "Chord, x, x, x, x, 0, E",
                   "Chord, x, x, x, x, 0, E",
                   "Chord, x, x, x, x, 0, E",
                   "Chord, x, x, x, x, 0, E",
                   "Chord, x, x, x, x, 0, E",
                   "Chord, x, x, x, x, 0, E",
                   "Chord, x, x, x, x, 0, E",
                   "",
                   "Chord, x, x, x, x, 2, E",
                   "Chord, x, x, x, x, 2, E",
                   "Chord, x, x, x, x, 2, E",
                   "Chord, x, x, x, x, 2, E",
                   "Chord, x, x, x, x, 2, E",
                   "Chord, x, x, x, x, 2, E",
                   "Chord, x, x, x, x, 2, E",
                   "Chord, x, x, x, x, 2, E",
                   ""},
                  std::nullopt,
                  OpenG},
        // A waltz: three quarters, then a half and a quarter, and the meter is written.
        StyleCase{"ThreeFourFromTheHeader",
                  {"Time: 3/4", "|--0---0---0---|--0-------0---|",
                   "|--------------|--------------|", "|--------------|--------------|",
                   "|--------------|--------------|", "|--------------|--------------|"},
                  {"* Time: 3/4", "Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 0, Q",
                   "Chord, x, x, x, x, 0, Q", "", "Chord, x, x, x, x, 0, H",
                   "Chord, x, x, x, x, 0, Q", ""},
                  std::nullopt,
                  OpenG},
        StyleCase{"SixEightFromABareFraction",
                  {"Irish jig 6/8", "|-0-0-0-0-0-0-|", "|-------------|", "|-------------|",
                   "|-------------|", "|-------------|"},
                  {"* Irish jig 6/8", "* Time: 6/8", "Chord, x, x, x, x, 0, E",
                   "Chord, x, x, x, x, 0, E", "Chord, x, x, x, x, 0, E", "Chord, x, x, x, x, 0, E",
                   "Chord, x, x, x, x, 0, E", "Chord, x, x, x, x, 0, E", ""},
                  std::nullopt,
                  OpenG},
        // Six evenly spaced notes cannot be six equal plain values of 4/4: quarter triplets.
        StyleCase{"EvenlySpacedSixInFourFour",
                  {"|--0--0--0--0--0--0--|", "|--------------------|", "|--------------------|",
                   "|--------------------|", "|--------------------|"},
                  {"Chord, x, x, x, x, 0, Q3", "Chord, x, x, x, x, 0, Q3",
                   "Chord, x, x, x, x, 0, Q3", "Chord, x, x, x, x, 0, Q3",
                   "Chord, x, x, x, x, 0, Q3", "Chord, x, x, x, x, 0, Q3", ""},
                  std::nullopt,
                  OpenG + " Durations guessed to fill 4/4 where the spacing did not: measure 1."},
        // A count line under the staff and a fingering line above it stay as comments.
        StyleCase{"CountAndFingeringLines",
                  {"  T   I   M   T", "|--0---0---0---0---|", "|------------------|",
                   "|------------------|", "|------------------|", "|------------------|",
                   "   1---2---3---4---"},
                  {"* T   I   M   T", "Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 0, Q",
                   "Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 0, Q", "", "* 1---2---3---4---"},
                  std::nullopt,
                  OpenG},
        // Web tabs number the 5th string as on the neck: 7 is its 2nd fret, 12 its 7th; a 2 is
        // no neck fret there and is read from the string's own nut.
        StyleCase{"FifthStringAtNeckFrets",
                  {"|----------------|", "|----------------|", "|----------------|",
                   "|----------------|", "|--7---0---12--2-|"},
                  {"Chord, 2, x, x, x, x, Q", "Chord, 0, x, x, x, x, Q", "Chord, 7, x, x, x, x, Q",
                   "Chord, 2, x, x, x, x, Q", ""},
                  std::nullopt,
                  OpenG + " 1 5th-string fret of 1 to 5, below the neck's 6th fret, read from the "
                          "string's own nut."},
        // A column ruler glued above the staff.
        StyleCase{"RulerAbove",
                  {"0----5----10---15---", "|--0---0---0---0---|", "|------------------|",
                   "|------------------|", "|------------------|", "|------------------|"},
                  {"* 0----5----10---15---", "Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 0, Q",
                   "Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 0, Q", ""},
                  std::nullopt,
                  OpenG},
        // A count line glued between two staffs parts them.
        StyleCase{"CountLineBetweenTwoStaffs",
                  {"|--0---0---0---0---|", "|------------------|", "|------------------|",
                   "|------------------|", "|------------------|", "   1---2---3---4---",
                   "|--2---2---2---2---|", "|------------------|", "|------------------|",
                   "|------------------|", "|------------------|"},
                  {"Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 0, Q", "Chord, x, x, x, x, 0, Q",
                   "Chord, x, x, x, x, 0, Q", "", "* 1---2---3---4---", "Chord, x, x, x, x, 2, Q",
                   "Chord, x, x, x, x, 2, Q", "Chord, x, x, x, x, 2, Q", "Chord, x, x, x, x, 2, Q",
                   ""},
                  std::nullopt,
                  OpenG},
        StyleCase{"HammerThenPullOffOnOnePick",
                  {"|--0h2p0---0---|", "|--------------|", "|--------------|", "|--------------|",
                   "|--------------|"},
                  {"Chord, x, x, x, x, 0-2, H", "Chord, x, x, x, x, 0, H", ""},
                  std::nullopt,
                  OpenG + " 1 hammer-on or pull-off after the first on one pick left out."},
        // Repeat signs and a repeat count touching the last bar: markers of the repeats, the
        // second one from the end of the first.
        StyleCase{"RepeatCountAndSigns",
                  {"|:-0---0---:|-2---2---|x2", "|:---------:|---------|",
                   "|:---------:|---------|", "|:---------:|---------|", "|:---------:|---------|"},
                  {"* Repeat: start", "Chord, x, x, x, x, 0, H", "Chord, x, x, x, x, 0, H",
                   "* Repeat: end", "", "Chord, x, x, x, x, 2, H", "Chord, x, x, x, x, 2, H",
                   "* Repeat: end x2", ""},
                  std::nullopt,
                  OpenG},
        // Chord names over the chords they start; a two-string pinch keeps its given name.
        StyleCase{"ChordNamesAbove",
                  {"Key: G", "   G       C   D7", "|--0---0---1---2---|", "|------------------|",
                   "|------------------|", "|------------------|", "|------------------|"},
                  {"* Key: G", "G, x, x, x, x, 0, Q", "G, x, x, x, x, 0, Q", "C, x, x, x, x, 1, Q",
                   "D7, x, x, x, x, 2, Q", ""},
                  std::nullopt,
                  OpenG},
        // Slides, a bend, a choke and vibrato are named; the drone at the neck's 7th fret is 2.
        StyleCase{"SlidesBendsChokesVibrato",
                  {"|--2/4---7b9---10ch--5~~-|", "|------------------------|",
                   "|--------4\\2-------------|", "|------------------------|",
                   "|--7---------------------|"},
                  {"Chord, 2, x, x, x, 2-4, Q", "Chord, x, x, 4-2, x, 7, Q",
                   "Chord, x, x, x, x, 10, Q", "Chord, x, x, x, x, 5, Q", ""},
                  std::nullopt,
                  OpenG + " 2 slides read as hammer-ons. 1 bend, 1 choke and 1 vibrato left out."}),
    [](const ::testing::TestParamInfo<StyleCase>& info) { return std::string(info.param.name); });

// Pasted into a song, the song keeps its tuning: the notice says when the tab names another one
// and assumes nothing when it names none.
TEST(ImportNotice, PasteSaysTheSongKeepsItsTuning) {
    const TabReading doubleC =
        ReadAsciiTab("Tuning: gCGCD\n|--0--|\n|-----|\n|-----|\n|-----|\n|-----|\n");
    EXPECT_EQ(ImportNotice(doubleC, 55555),
              "The tab is in Double C - G C G C D; the song keeps its tuning.");
    EXPECT_EQ(ImportNotice(doubleC, 53565), "");
    const TabReading none = ReadAsciiTab("|--0--|\n|-----|\n|-----|\n|-----|\n|-----|\n");
    EXPECT_EQ(ImportNotice(none, 53565), "");
}

} // namespace
} // namespace fw

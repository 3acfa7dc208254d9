// The ASCII tablature this program writes, in every combination of its forms, reads back to the
// chord lines it came from: notes, hammer-ons, durations, rests, measures and the chord names it
// printed. Random songs, seeded: a failure names its forms and its seed. FRETWICK_ROUND_TRIP_SONGS
// sets how many songs each combination takes (a few by default, to keep the run short).

#include "export/ascii_tab.h"
#include "export/ascii_tab_reader.h"
#include "export/tab_marks.h"

#include "random_songs.h"
#include "tab_test_support.h"

#include "chords/chord_parser.h"
#include "chords/text_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace fw {
namespace {

constexpr unsigned DefaultSongs = 12;

unsigned SongsPerForm() {
    const char* value = std::getenv("FRETWICK_ROUND_TRIP_SONGS");
    const int count = value ? std::atoi(value) : 0;
    return count > 0 ? static_cast<unsigned>(count) : DefaultSongs;
}

// What a column must give back; the name and the duration only where the tablature shows them.
std::string ColumnText(const std::string& name, const FretArray& fret, const FretArray& hammer,
                       const std::string& duration) {
    std::string text = name + ":";
    for (int k = 5; k >= 1; --k)
        text += std::to_string(fret[k]) + "/" + std::to_string(hammer[k]) + " ";
    return text + duration;
}

using Measures = std::vector<std::vector<std::string>>;

struct Expected {
    Measures measures;
    bool namesShown = false;
};

// The measures as the tablature shows them. A chord's name is the last name printed at or before
// it ("Chord" before the first), a rest's "Rest"; without durations rests leave no column.
Expected ExpectedOf(const std::vector<TabItem>& items, const TabOptions& forms) {
    Expected expected;
    ChordNameChanges changes;
    std::string name = "Chord";
    for (const TabMeasure& measure : NonEmptyMeasures(items)) {
        expected.measures.emplace_back();
        for (const TabItem& item : MeasureChords(items, measure)) {
            if (const std::string_view shown = changes.Label(item); !shown.empty()) {
                name = std::string(shown);
                expected.namesShown = true;
            }
            if (item.IsRest() && !forms.ShowsRhythm())
                continue;
            expected.measures.back().push_back(
                ColumnText(item.IsRest() ? "Rest" : name, item.Fret, item.HammerFret,
                           forms.ShowsRhythm() ? item.Duration : ""));
        }
        if (expected.measures.back().empty())
            expected.measures.pop_back();
    }
    return expected;
}

Measures MeasuresRead(const std::vector<std::string>& lines, const TabOptions& forms, bool names) {
    Measures measures(1);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ParsedLine parsed = ParseChordText(lines[i], static_cast<int>(i));
        EXPECT_TRUE(parsed.ok()) << lines[i] << ": " << parsed.error;
        const LineKind kind = KindOf(parsed.entry);
        if (kind == LineKind::Blank && !measures.back().empty())
            measures.emplace_back();
        if (kind != LineKind::Chord)
            continue;
        const bool rest = parsed.entry.Fret == AllNoFrets();
        if (rest && !forms.ShowsRhythm())
            continue;
        measures.back().push_back(ColumnText(names ? parsed.entry.Name : "", parsed.entry.Fret,
                                             parsed.entry.HammerFret,
                                             forms.ShowsRhythm() ? parsed.entry.Duration : ""));
    }
    if (measures.back().empty())
        measures.pop_back();
    return measures;
}

Measures WithoutNames(Measures measures) {
    for (auto& measure : measures)
        for (std::string& column : measure)
            column.erase(0, column.find(':'));
    return measures;
}

TabOptions FormsOf(int bits) {
    TabOptions forms;
    forms.rhythm = static_cast<TabRhythm>(bits % 3);
    bits /= 3;
    forms.bars = bits & 1 ? TabBars::Meter : TabBars::BlankLines;
    forms.neckFrets = (bits & 2) != 0;
    forms.letterMarks = (bits & 4) != 0;
    forms.chordNames = (bits & 8) != 0;
    forms.stringNames = (bits & 16) != 0;
    return forms;
}

std::string FormsName(int bits) {
    const TabOptions forms = FormsOf(bits);
    std::string name =
        std::string(TabRhythmWord(forms.rhythm)) + "_" + std::string(TabBarsWord(forms.bars));
    if (forms.neckFrets)
        name += "_neckFrets";
    if (forms.letterMarks)
        name += "_hp";
    if (forms.chordNames)
        name += "_chordNames";
    if (forms.stringNames)
        name += "_stringNames";
    return name;
}

// The song's structure as the tablature items carry it: repeats, endings, meters.
std::vector<std::string> StructureOf(const std::vector<std::string>& lines,
                                     const TabOptions& forms) {
    std::vector<std::string> signs;
    for (const TabItem& item :
         BuildTabItems(test::ParseLines(lines), lines, {forms.bars, MeterFromComments(lines)}))
        if (!item.IsTerminator && !item.IsRest())
            signs.push_back(std::string(item.RepeatStart ? "|:" : "") + " " +
                            std::to_string(item.RepeatEndCount) + " " +
                            std::to_string(item.EndingNumber) + " " +
                            std::to_string(item.MeterBeats) + "/" + std::to_string(item.MeterUnit));
    return signs;
}

// Writes `song` in `forms`, reads it back and checks the chord lines (and, with `structure`, the
// markers), the tuning and, with durations, that the notice says nothing.
void CheckRoundTrip(const test::Song& song, const TabOptions& forms, unsigned seed,
                    bool structure) {
    std::vector<TabItem> items = BuildTabItems(test::ParseLines(song.lines), song.lines,
                                               {forms.bars, MeterFromComments(song.lines)});
    AssignMeasureSizes(items);
    const AsciiTab tab = BuildAsciiTab(
        items, {TuningStatusText(song.tuning), song.title, song.subtitle}, forms, song.tuning);
    if (tab.truncated)
        return; // chords past the cap are not written, so they cannot come back
    const std::string text = JoinLinesCrLf(tab.lines);
    const std::string listing = "seed " + std::to_string(seed) + "\n" + text;
    const TabReading reading = ReadAsciiTab(text);
    const Expected expected = ExpectedOf(items, forms);
    const bool names = forms.chordNames && expected.namesShown;
    const Measures read = MeasuresRead(reading.lines, forms, names);
    ASSERT_EQ(names ? read : WithoutNames(read),
              names ? expected.measures : WithoutNames(expected.measures))
        << listing;
    ASSERT_EQ(reading.tuningCode, song.tuning) << listing;
    if (structure) {
        ASSERT_EQ(StructureOf(reading.lines, forms), StructureOf(song.lines, forms)) << listing;
    } else if (forms.ShowsRhythm()) {
        ASSERT_EQ(ImportNotice(reading), "") << listing;
    }
}

class EveryForm : public ::testing::TestWithParam<int> {};

TEST_P(EveryForm, ReadsBackToTheChordLines) {
    for (unsigned seed = 1; seed <= SongsPerForm(); ++seed)
        CheckRoundTrip(test::SongMaker(seed * 7919U + 13U).Make(true), FormsOf(GetParam()), seed,
                       false);
}

// Songs with repeats, endings, meter changes and triplets: the chord lines and their markers
// come back, in the forms with durations and measures at blank lines. (Without durations a
// marker on a rest moves to a chord; with bars from the meter the reading is not yet exact, nor
// with chord names, which a triplet's "3" can push right past other chords.)
TEST_P(EveryForm, ReadsBackTheSongsStructure) {
    const TabOptions forms = FormsOf(GetParam());
    if (!forms.ShowsRhythm() || forms.bars != TabBars::BlankLines || forms.chordNames)
        GTEST_SKIP() << "not read back exactly yet";
    for (unsigned seed = 1; seed <= SongsPerForm(); ++seed)
        CheckRoundTrip(test::SongMaker(seed * 104729U + 7U).Make(true, true), forms, seed, true);
}

INSTANTIATE_TEST_SUITE_P(Combinations, EveryForm, ::testing::Range(0, 3 * 32),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return FormsName(info.param);
                         });

} // namespace
} // namespace fw

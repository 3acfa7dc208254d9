// The ASCII tablature this program writes reads back to the song it came from: over many random
// songs (seeded, so a failure can be repeated from the seed in its message) and over the
// hand-written tablature files of the writer's own tests.

#include "export/ascii_tab.h"
#include "export/ascii_tab_reader.h"

#include "random_songs.h"
#include "tab_test_support.h"
#include "tab_text_rewrites.h"

#include "chords/chord_parser.h"
#include "chords/song_file.h"
#include "chords/text_file.h"
#include "chords/tuning.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace fw {
namespace {

using test::Song;
using test::SongMaker;

// --- What must come back ----------------------------------------------------------------------

struct Column {
    FretArray fret;
    FretArray hammer;
    std::string duration;
    bool operator==(const Column&) const = default;
};
using Measures = std::vector<std::vector<Column>>;

void PrintTo(const Column& c, std::ostream* os) {
    for (int s = 5; s >= 1; --s) {
        *os << c.fret[s];
        if (c.hammer[s] >= 0)
            *os << '-' << c.hammer[s];
        *os << ',';
    }
    *os << c.duration;
}

bool IsRest(const Column& c) {
    return c.fret == AllNoFrets();
}

// The measures of editor lines: runs of chord lines between blank lines, comments passed over.
// Without durations, rests and the durations themselves are left out.
Measures MeasuresOf(const std::vector<std::string>& lines, bool withDurations) {
    Measures measures(1);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ParsedLine parsed = ParseChordText(lines[i], static_cast<int>(i));
        EXPECT_TRUE(parsed.ok()) << lines[i] << ": " << parsed.error;
        const LineKind kind = KindOf(parsed.entry);
        if (kind == LineKind::Blank && !measures.back().empty())
            measures.emplace_back();
        if (kind != LineKind::Chord)
            continue;
        Column column{parsed.entry.Fret, parsed.entry.HammerFret,
                      withDurations ? parsed.entry.Duration : std::string()};
        if (withDurations || !IsRest(column))
            measures.back().push_back(column);
    }
    if (measures.back().empty())
        measures.pop_back();
    return measures;
}

// The forms of the tablature: with or without the duration line, the 5th string numbered from
// its own nut or as on the neck (its tuning line then says so), hammer-ons written "/4-" or with
// the letters h and p ("h4-", "p2-"), the cells as wide as ever.
struct Form {
    const char* name;
    bool durations;
    bool neckFrets;
    bool letters;
};

void PrintTo(const Form& f, std::ostream* os) {
    *os << f.name;
}

std::string TablatureOf(const Song& song, const Form& form) {
    std::vector<ChordEntry> entries = test::ParseLines(song.lines);
    if (form.neckFrets)
        for (ChordEntry& entry : entries) {
            entry.Fret[5] = test::NeckFret(entry.Fret[5]);
            entry.HammerFret[5] = test::NeckFret(entry.HammerFret[5]);
        }
    std::vector<TabItem> items = BuildTabItems(entries, song.lines);
    AssignMeasureSizes(items);
    std::string tuningLine = TuningStatusText(song.tuning);
    if (form.neckFrets)
        tuningLine += NeckFretsSuffix;
    AsciiTab tab = BuildAsciiTab(items, {tuningLine, song.title, song.subtitle}, form.durations);
    if (form.letters)
        test::HammerOnLetters(tab.lines);
    return JoinLinesCrLf(tab.lines);
}

std::string TablatureOf(const Song& song, bool durations) {
    return TablatureOf(song, Form{"", durations, false, false});
}

std::string Listing(const std::string& text) {
    return "\n--- tablature ---\n" + text + "--- end ---";
}

constexpr unsigned FirstSeed = 1;
constexpr unsigned Songs = 400;

class AsciiRoundTrip : public ::testing::TestWithParam<Form> {};

// With the duration line: frets, hammer-ons, durations (as written, letter case too), rests and
// measures all come back. Without it: frets, hammer-ons and measures; rests leave no mark. The
// tuning line names the song's tuning, and nothing is reported left out or read differently.
TEST_P(AsciiRoundTrip, GivesBackTheSong) {
    const Form& form = GetParam();
    for (unsigned seed = FirstSeed; seed < FirstSeed + Songs; ++seed) {
        const Song song = SongMaker(seed).Make();
        const std::string tab = TablatureOf(song, form);
        if (form.letters) {
            ASSERT_EQ(tab.find('/'), std::string::npos) << "seed " << seed << Listing(tab);
        }
        const TabReading reading = ReadAsciiTab(tab);
        ASSERT_EQ(MeasuresOf(reading.lines, form.durations), MeasuresOf(song.lines, form.durations))
            << "seed " << seed << Listing(tab);
        ASSERT_EQ(reading.tuningCode, song.tuning) << "seed " << seed;
        ASSERT_EQ(reading.ownNumbering, !form.neckFrets) << "seed " << seed;
        ASSERT_EQ(ImportNotice(reading), "") << "seed " << seed << Listing(tab);
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, AsciiRoundTrip,
                         ::testing::Values(Form{"Durations", true, false, false},
                                           Form{"NoDurations", false, false, false},
                                           Form{"DurationsNeckFrets", true, true, false},
                                           Form{"NoDurationsNeckFrets", false, true, false},
                                           Form{"DurationsLetters", true, false, true},
                                           Form{"NoDurationsLetters", false, false, true},
                                           Form{"DurationsNeckFretsLetters", true, true, true},
                                           Form{"NoDurationsNeckFretsLetters", false, true, true}),
                         [](const ::testing::TestParamInfo<Form>& info) {
                             return std::string(info.param.name);
                         });

// With the line for chord names above every staff: frets, hammer-ons, durations and measures
// come back, and the tuning.
TEST(AsciiRoundTrip, ChordNameLinesGiveBackTheSong) {
    TabOptions forms;
    forms.rhythm = TabRhythm::Letters;
    forms.chordNames = true;
    for (unsigned seed = FirstSeed; seed < FirstSeed + Songs; ++seed) {
        const Song song = SongMaker(seed).Make();
        std::vector<TabItem> items = BuildTabItems(test::ParseLines(song.lines), song.lines);
        AssignMeasureSizes(items);
        const std::string tab = JoinLinesCrLf(
            BuildAsciiTab(items, {TuningStatusText(song.tuning), song.title, song.subtitle}, forms,
                          song.tuning)
                .lines);
        const TabReading reading = ReadAsciiTab(tab);
        ASSERT_EQ(MeasuresOf(reading.lines, true), MeasuresOf(song.lines, true))
            << "seed " << seed << Listing(tab);
        ASSERT_EQ(reading.tuningCode, song.tuning) << "seed " << seed;
    }
}

// The titles come back as the comment lines the tablature takes its titles from.
TEST(AsciiTitles, ComeBackAsTitleComments) {
    Song song;
    song.lines = {test::Chord(1)};
    song.title = "Soldier's Joy";
    song.subtitle = "old-time";
    const TabReading reading = ReadAsciiTab(TablatureOf(song, true));
    ASSERT_GE(reading.lines.size(), 3U);
    EXPECT_EQ(reading.lines[1], "* Title: Soldier's Joy");
    EXPECT_EQ(reading.lines[2], "* Sub: old-time");
}

// --- The writer's hand-written tablature files --------------------------------------------------

struct FileCase {
    const char* name;
    const char* song;
    const char* tab;
    bool durations;
};

void PrintTo(const FileCase& c, std::ostream* os) {
    *os << c.name;
}

class TabFile : public ::testing::TestWithParam<FileCase> {};

std::string FileText(const std::filesystem::path& path) {
    std::string text;
    std::string error;
    EXPECT_TRUE(ReadTextFile(path, text, error)) << error;
    return text;
}

TEST_P(TabFile, ReadsBackToItsSong) {
    const FileCase& c = GetParam();
    const std::filesystem::path dir = std::filesystem::path(FRETWICK_EXPORT_TEST_DIR) / "golden";
    const std::vector<std::string> fileLines = SplitLines(FileText(dir / c.song));
    const SongHeader header = ReadSongHeader(fileLines);
    const std::vector<std::string> songLines = SongEditorLines(fileLines, header);
    const TabReading reading = ReadAsciiTab(FileText(dir / c.tab));
    EXPECT_EQ(MeasuresOf(reading.lines, c.durations), MeasuresOf(songLines, c.durations));
    EXPECT_EQ(reading.tuningCode, header.tuning);
}

INSTANTIATE_TEST_SUITE_P(
    Files, TabFile,
    ::testing::Values(FileCase{"WorkedExample", "example.fwk", "example_durations.tab", true},
                      FileCase{"WorkedExampleNoDurations", "example.fwk", "example.tab", false},
                      FileCase{"CrippleCreek", "cripple_creek.fwk", "cripple_creek_durations.tab",
                               true}),
    [](const ::testing::TestParamInfo<FileCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace fw

// ASCII tablature: the header, the cells of a measure, blocks of two measures, and whole songs
// compared byte for byte with tablature written by hand.

#include "export/ascii_tab.h"

#include "tab_test_support.h"

#include "chords/song_file.h"
#include "chords/text_file.h"
#include "chords/tuning.h"
#include "export/tab_titles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace fw {
namespace {

using test::Chord;
using test::ItemsOf;

// --- The header -----------------------------------------------------------------------------

struct HeaderCase {
    const char* name;
    std::string title;
    std::string subtitle;
    std::string titleLine;
    std::string subtitleLine;
};

void PrintTo(const HeaderCase& c, std::ostream* os) {
    *os << c.name;
}

class Header : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(Header, CentresTitleAndSubtitleOnColumn40) {
    const HeaderCase& c = GetParam();
    const std::vector<std::string> lines =
        AsciiHeader({"G Tuning - G D G B D", c.title, c.subtitle});
    EXPECT_EQ(lines, (std::vector<std::string>{"", "G Tuning - G D G B D", "", c.titleLine,
                                               c.subtitleLine, ""}));
}

const std::string Spaces40 = "                                        ";
const std::string Title79(79, 'T');
const std::string Title80(80, 'T');
const std::string Title81(81, 'T');

INSTANTIATE_TEST_SUITE_P(
    Table, Header,
    ::testing::Values(HeaderCase{"OddLength", "Example", "",
                                 "                                     Example", Spaces40},
                      HeaderCase{"EvenLength", "Banjo", "Sub",
                                 "                                      Banjo",
                                 "                                       Sub"},
                      HeaderCase{"EmptyTitleIsFortySpaces", "", "", Spaces40, Spaces40},
                      HeaderCase{"Title79GetsOneSpace", Title79, "", " " + Title79, Spaces40},
                      HeaderCase{"Title80GetsNone", Title80, "", Title80, Spaces40},
                      HeaderCase{"Title81GetsNone", Title81, "", Title81, Spaces40},
                      // Centring counts characters: "Café Bleu" is 9 characters in 10 bytes.
                      HeaderCase{"CharactersNotBytes", "Caf\xC3\xA9 Bleu", "",
                                 "                                    Caf\xC3\xA9 Bleu", Spaces40}),
    [](const ::testing::TestParamInfo<HeaderCase>& info) { return std::string(info.param.name); });

// --- One measure ----------------------------------------------------------------------------

struct MeasureCase {
    const char* name;
    std::vector<std::string> lines;    // one measure
    std::vector<std::string> expected; // string 1 .. string 5, then the duration line
    bool truncated;
};

void PrintTo(const MeasureCase& c, std::ostream* os) {
    *os << c.name;
}

class Measure : public ::testing::TestWithParam<MeasureCase> {};

TEST_P(Measure, StartsABlockWithItsCells) {
    const MeasureCase& c = GetParam();
    const std::vector<TabItem> items = ItemsOf(c.lines);
    AsciiBlock block;
    const bool truncated =
        AppendAsciiMeasure(block, MeasureChords(items, NonEmptyMeasures(items).at(0)), true);
    const std::vector<std::string> got = {block.lines[1], block.lines[2], block.lines[3],
                                          block.lines[4], block.lines[5], block.lines[0]};
    EXPECT_EQ(got, c.expected);
    EXPECT_EQ(truncated, c.truncated);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Measure,
    ::testing::Values(
        // n = 2, pad = 12: one chord in the middle of 28 characters.
        MeasureCase{"OneChord",
                    {"G, 0, 1, 2, 3, 4, H"},
                    {"|-------------4------------|", "|-------------3------------|",
                     "|-------------2------------|", "|-------------1------------|",
                     "|-------------0------------|", "              H             "},
                    false},
        MeasureCase{"RestIsDashesWithItsDuration",
                    {"R, x, x, x, x, x, Q"},
                    {"|--------------------------|", "|--------------------------|",
                     "|--------------------------|", "|--------------------------|",
                     "|--------------------------|", "              Q             "},
                    false},
        // Two-digit frets take both characters of the cell.
        MeasureCase{"TwoDigitFrets",
                    {"C, 10, 11, 12, 21, 22, E"},
                    {"|------------22------------|", "|------------21------------|",
                     "|------------12------------|", "|------------11------------|",
                     "|------------10------------|", "              E             "},
                    false},
        // n = 2 + 2 hammer-ons = 4, pad = 6; one extra column of three characters.
        MeasureCase{"HammerOnsOnTwoStrings",
                    {"H, 0, 2-4, 0, 10-12, 9, .Q"},
                    {"|-------9---------|", "|------10/12------|", "|-------0---------|",
                     "|-------2/4-------|", "|-------0---------|", "        .Q          "},
                    false},
        // Duration texts of up to five characters shift only the duration line.
        MeasureCase{"LongDurationShiftsOnlyItsLine",
                    {"A, 0, 0, 0, 0, 0, .e", "B, 1, 1, 1, 1, 1, W"},
                    {"|---------0---------1--------|", "|---------0---------1--------|",
                     "|---------0---------1--------|", "|---------0---------1--------|",
                     "|---------0---------1--------|", "          .e         W         "},
                    false},
        MeasureCase{"TwentyFourChordsHaveNoPadding",
                    std::vector<std::string>(24, "c, 1, 2, 3, 4, 5, S"),
                    {"|-5-5-5-5-5-5-5-5-5-5-5-5-5-5-5-5-5-5-5-5-5-5-5-5|",
                     "|-4-4-4-4-4-4-4-4-4-4-4-4-4-4-4-4-4-4-4-4-4-4-4-4|",
                     "|-3-3-3-3-3-3-3-3-3-3-3-3-3-3-3-3-3-3-3-3-3-3-3-3|",
                     "|-2-2-2-2-2-2-2-2-2-2-2-2-2-2-2-2-2-2-2-2-2-2-2-2|",
                     "|-1-1-1-1-1-1-1-1-1-1-1-1-1-1-1-1-1-1-1-1-1-1-1-1|",
                     "  S S S S S S S S S S S S S S S S S S S S S S S S "},
                    false}),
    [](const ::testing::TestParamInfo<MeasureCase>& info) { return std::string(info.param.name); });

TEST(AsciiMeasure, TheTwentyFifthChordIsDroppedAndTheMeasureClosed) {
    std::vector<std::string> lines(24, "c, 1, 2, 3, 4, 5, S");
    lines.push_back("Dropped, 7, 7, 7, 7, 7, W");
    const std::vector<TabItem> items = ItemsOf(lines);
    AsciiBlock block;
    EXPECT_TRUE(
        AppendAsciiMeasure(block, MeasureChords(items, NonEmptyMeasures(items).at(0)), true));
    EXPECT_EQ(block.lines[1], "|-5-5-5-5-5-5-5-5-5-5-5-5-5-5-5-5-5-5-5-5-5-5-5-5|");
    EXPECT_EQ(block.lines[0], "  S S S S S S S S S S S S S S S S S S S S S S S S ");
}

TEST(AsciiMeasure, TheSecondMeasureSharesTheFirstOnesBar) {
    const std::vector<TabItem> items = ItemsOf({Chord(1), "", Chord(2)});
    const std::vector<TabMeasure> measures = NonEmptyMeasures(items);
    AsciiBlock block;
    AppendAsciiMeasure(block, MeasureChords(items, measures[0]), true);
    AppendAsciiMeasure(block, MeasureChords(items, measures[1]), false);
    EXPECT_EQ(block.lines[3], "|-------------1------------|-------------2------------|");
    // A new block starts again from its bar.
    AppendAsciiMeasure(block, MeasureChords(items, measures[1]), true);
    EXPECT_EQ(block.lines[3], "|-------------2------------|");
    EXPECT_EQ(block.lines[0], "              Q             ");
}

// --- Whole texts ----------------------------------------------------------------------------

TEST(AsciiTab, OddMeasureCountEndsWithAOneMeasureBlock) {
    const AsciiTab tab =
        BuildAsciiTab(ItemsOf({Chord(1), "", Chord(2), "", Chord(3)}), {"T", "x", ""}, false);
    EXPECT_EQ(tab.blocks, 2);
    EXPECT_FALSE(tab.truncated);
    ASSERT_EQ(tab.lines.size(), 6u + 7u + 7u);
    EXPECT_EQ(tab.lines[6], "|-------------1------------|-------------2------------|");
    EXPECT_EQ(tab.lines[13], "|-------------3------------|");
    EXPECT_EQ(tab.lines[18], ""); // the duration line, off
    EXPECT_EQ(tab.lines[19], "");
}

TEST(AsciiTab, NoMeasureGivesOnlyTheHeader) {
    const AsciiTab tab = BuildAsciiTab(ItemsOf({"* nothing", "", ""}), {"T", "x", ""}, true);
    EXPECT_EQ(tab.lines, AsciiHeader({"T", "x", ""}));
    EXPECT_EQ(tab.blocks, 0);
}

TEST(AsciiTab, TruncationIsReportedForAnyMeasure) {
    std::vector<std::string> lines = {Chord(0), ""};
    for (int i = 0; i < 30; ++i)
        lines.push_back(Chord(1));
    const AsciiTab tab = BuildAsciiTab(ItemsOf(lines), {"T", "x", ""}, true);
    EXPECT_TRUE(tab.truncated);
    EXPECT_EQ(tab.blocks, 1);
}

// --- Hand-written songs and their tablature -------------------------------------------------

struct GoldenCase {
    const char* name;
    const char* song;
    const char* tab;
    bool durations;
};

void PrintTo(const GoldenCase& c, std::ostream* os) {
    *os << c.name;
}

class Golden : public ::testing::TestWithParam<GoldenCase> {};

std::string ReadBytes(const std::filesystem::path& path) {
    std::string text;
    std::string error;
    EXPECT_TRUE(ReadTextFile(path, text, error)) << error;
    return text;
}

// The song read as the program opens it; the titles as the window finds them without the
// titles box: from the comment lines, the file name standing in for a missing title.
TEST_P(Golden, SongGivesTheHandWrittenTablature) {
    const GoldenCase& c = GetParam();
    const std::filesystem::path dir = std::filesystem::path(FRETWICK_EXPORT_TEST_DIR) / "golden";
    const std::filesystem::path song = dir / c.song;
    const std::vector<std::string> fileLines = SplitLines(ReadBytes(song));
    const SongHeader header = ReadSongHeader(fileLines);
    const std::vector<std::string> lines = SongEditorLines(fileLines, header);

    std::vector<TabItem> items = BuildTabItems(test::ParseLines(lines), lines);
    AssignMeasureSizes(items);
    AsciiTabTitles titles{TuningStatusText(header.tuning), TitleFromComments(lines),
                          SubtitleFromComments(lines)};
    if (titles.title.empty())
        titles.title = DefaultTabTitle(song.string());
    const AsciiTab tab = BuildAsciiTab(items, titles, c.durations);
    EXPECT_EQ(JoinLinesCrLf(tab.lines), ReadBytes(dir / c.tab));
}

INSTANTIATE_TEST_SUITE_P(
    Files, Golden,
    ::testing::Values(GoldenCase{"WorkedExample", "example.fwk", "example_durations.tab", true},
                      GoldenCase{"WorkedExampleNoDurations", "example.fwk", "example.tab", false},
                      GoldenCase{"CrippleCreek", "cripple_creek.fwk", "cripple_creek_durations.tab",
                                 true},
                      GoldenCase{"CrowdedMeasure", "crowded.fwk", "crowded.tab", false}),
    [](const ::testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace fw

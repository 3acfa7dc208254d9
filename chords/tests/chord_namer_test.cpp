#include "chords/chord_namer.h"

#include "chords/chord_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fw {
namespace {

std::vector<std::string> Texts(const std::vector<ChordSymbol>& symbols) {
    std::vector<std::string> texts;
    for (const ChordSymbol& s : symbols)
        texts.push_back(s.text);
    return texts;
}

// The notes of a chord line in open G, through the parser.
std::vector<int> LinePitches(const std::string& line) {
    const ParsedLine parsed = ParseChordText(line, 0);
    EXPECT_TRUE(parsed.isChord()) << line << ": " << parsed.error;
    return SoundingPitches(parsed.entry, {0, 0, 0, 0, 0, 0});
}

struct NamingCase {
    const char* name;
    std::string line;                // frets in open G, strings 5 to 1
    std::vector<std::string> expect; // every candidate, best first
};

class ChordNaming : public ::testing::TestWithParam<NamingCase> {};

TEST_P(ChordNaming, GivesTheCandidatesBestFirst) {
    EXPECT_EQ(Texts(NameChord(LinePitches(GetParam().line))), GetParam().expect);
}

// Worked out by hand from the open G strings g' (67), D (50), G (55), B (59), d (62).
INSTANTIATE_TEST_SUITE_P(
    Table, ChordNaming,
    ::testing::Values(
        // g D G B D: the lowest note is the fifth.
        NamingCase{"OpenStrumIsGOverD", "N, 0, 0, 0, 0, 0, Q", {"G/D"}},
        NamingCase{"GWithRootInTheBass", "N, x, x, 0, 0, 0, Q", {"G"}},
        // E G C E: C major with E lowest.
        NamingCase{"CFirstPosition", "N, x, 2, 0, 1, 2, Q", {"C/E"}},
        NamingCase{"DOverFSharp", "N, x, 4, 2, 3, 4, Q", {"D/F#"}},
        NamingCase{"DWithOpenFourth", "N, x, 0, 2, 3, 4, Q", {"D"}},
        // C E A C with the drone's G: C6 and Am7 share their notes; the root in the bass wins.
        NamingCase{"SixthBeforeMinorSeventh", "N, 0, 10, 9, 10, 10, Q", {"C6", "Am7/C"}},
        NamingCase{"MinorSeventhBeforeSixth", "N, x, 7, 5, 5, 5, Q", {"Am7", "C6/A"}},
        // Without the G, C E A is C6 with its fifth left out, or A minor over C.
        NamingCase{"CompleteMinorOverIncompleteSixth", "N, x, 10, 9, 10, 10, Q", {"C6", "Am/C"}},
        NamingCase{"DSeventh", "N, x, 0, 2, 1, 4, Q", {"D7"}},
        NamingCase{"SeventhWithoutFifth", "N, x, x, 0, 0, 3, Q", {"G7"}},
        NamingCase{"EMinorSeventhAndGSixth", "N, x, 2, 0, 0, 0, Q", {"Em7", "G6/E"}},
        // dim7 is symmetrical: four roots, the one in the bass first.
        NamingCase{"DiminishedSeventh",
                   "N, x, 2, 3, 2, 5, Q",
                   {"Edim7", "C#dim7/E", "Gdim7/E", "Bbdim7/E"}},
        NamingCase{"Augmented", "N, x, 1, 0, 0, 1, Q", {"Ebaug", "Gaug/Eb", "Baug/Eb"}},
        NamingCase{"MinorSixthAndHalfDiminished", "N, x, 0, 2, 0, 3, Q", {"Dm6", "Bm7b5/D"}},
        // D G C: D7sus4 without its fifth, or G sus4 over D.
        NamingCase{"SuspendedFourth", "N, x, 0, 0, 1, 0, Q", {"D7sus4", "Gsus4/D"}},
        NamingCase{"NinthWithSeventhInTheBass", "N, 0, 3, 2, 0, 3, Q", {"G9/F"}},
        NamingCase{"TwoPitchClassesNameNothing", "N, 0, 0, 0, x, 0, Q", {}},
        NamingCase{"ANoteOutsideEveryChord", "N, x, 0, 1, 2, 3, Q", {}},
        NamingCase{"NothingPlayed", "N, x, x, x, x, x, Q", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChordNaming, AnyOrderAndRepeatsGiveTheSameNames) {
    const std::vector<int> a = {60, 64, 67, 72};
    const std::vector<int> b = {76, 67, 60, 64, 79};
    EXPECT_EQ(Texts(NameChord(a)), Texts(NameChord(b)));
    EXPECT_EQ(Texts(NameChord(a)), std::vector<std::string>{"C"});
}

TEST(ChordNaming, ASymbolCarriesItsParts) {
    const std::vector<int> pitches = {57, 60, 64, 67}; // A C E G
    const auto names = NameChord(pitches);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[1].root, 0);
    EXPECT_EQ(names[1].quality, ChordQuality::Sixth);
    EXPECT_EQ(names[1].bass, 9);
    EXPECT_EQ(names[0].bass, -1);
}

// The ringing note of a hammer-on is its target; the tuning shifts each string.
TEST(SoundingPitches, UseTheHammerOnTargetAndTheTuning) {
    const ParsedLine parsed = ParseChordText("N, 0, x, 0-2, 1, 2, Q", 0);
    ASSERT_TRUE(parsed.isChord()) << parsed.error;
    EXPECT_EQ(SoundingPitches(parsed.entry, {0, 0, 0, 0, 0, 0}),
              (std::vector<int>{64, 60, 57, 67}));
    // The old C Tuning code 52555: string 4 three semitones down, to B; it is not played here.
    EXPECT_EQ(SoundingPitches(parsed.entry, {0, 0, 0, 0, -3, 0}),
              (std::vector<int>{64, 60, 57, 67}));
    // G minor tuning (55545): string 2 a semitone lower.
    EXPECT_EQ(SoundingPitches(parsed.entry, {0, 0, -1, 0, 0, 0}),
              (std::vector<int>{64, 59, 57, 67}));
}

struct SymbolCase {
    const char* name;
    std::string text;
    bool valid;
    int root = 0;
    ChordQuality quality = ChordQuality::Major;
    int bass = -1;
    int position = -1;
    std::string symbol = {};
};

class SymbolReading : public ::testing::TestWithParam<SymbolCase> {};

TEST_P(SymbolReading, ReadsRootQualityBassAndPosition) {
    const SymbolCase& c = GetParam();
    const auto symbol = ParseChordSymbol(c.text);
    ASSERT_EQ(symbol.has_value(), c.valid);
    if (!c.valid)
        return;
    EXPECT_EQ(symbol->root, c.root);
    EXPECT_EQ(symbol->quality, c.quality);
    EXPECT_EQ(symbol->bass, c.bass);
    EXPECT_EQ(symbol->position, c.position);
    EXPECT_EQ(symbol->text, c.symbol);
}

using Q = ChordQuality;
INSTANTIATE_TEST_SUITE_P(
    Table, SymbolReading,
    ::testing::Values(
        SymbolCase{"Major", "G", true, 7, Q::Major, -1, -1, "G"},
        SymbolCase{"Minor", "Am", true, 9, Q::Minor, -1, -1, "Am"},
        SymbolCase{"MajorSeventhNotMinor", "Cmaj7", true, 0, Q::MajorSeventh, -1, -1, "Cmaj7"},
        SymbolCase{"HalfDiminishedNotMinorSeventh", "F#m7b5", true, 6, Q::HalfDiminished, -1, -1,
                   "F#m7b5"},
        SymbolCase{"MinorSixth", "Ebm6", true, 3, Q::MinorSixth, -1, -1, "Ebm6"},
        SymbolCase{"SeventhSus", "D7sus4 (5)", true, 2, Q::SeventhSus4, -1, 5, "D7sus4"},
        SymbolCase{"Diminished", "Bbdim7", true, 10, Q::Diminished7, -1, -1, "Bbdim7"},
        SymbolCase{"Augmented", "Abaug (8)", true, 8, Q::Augmented, -1, 8, "Abaug"},
        SymbolCase{"Ninth", "C9 (12)", true, 0, Q::Ninth, -1, 12, "C9"},
        SymbolCase{"Slash", "D/F#", true, 2, Q::Major, 6, -1, "D/F#"},
        SymbolCase{"SlashWithPosition", "Am7/G (5)", true, 9, Q::MinorSeventh, 7, 5, "Am7/G"},
        SymbolCase{"FlatOfC", "Cb", true, 11, Q::Major, -1, -1, "Cb"},
        SymbolCase{"SharpOfB", "B#m", true, 0, Q::Minor, -1, -1, "B#m"},
        SymbolCase{"LowerCaseRoot", "g", false}, SymbolCase{"NoRoot", "m7", false},
        SymbolCase{"UnknownQuality", "Gsus2", false},
        SymbolCase{"TrailingWords", "G (hammer-on)", false},
        SymbolCase{"EmptyPosition", "G ()", false},
        SymbolCase{"NoSpaceBeforePosition", "G(5)", false}, SymbolCase{"BadBass", "G/H", false},
        SymbolCase{"Empty", "", false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace fw

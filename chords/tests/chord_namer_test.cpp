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
    std::vector<std::string> expect; // every candidate, best first, "name inversions" on
    std::string plain = {};          // the first name with the option off, when it differs
};

void PrintTo(const NamingCase& c, std::ostream* os) {
    *os << c.name << " (" << c.line << ")";
}

class ChordNaming : public ::testing::TestWithParam<NamingCase> {};

TEST_P(ChordNaming, GivesTheCandidatesBestFirst) {
    const NamingCase& c = GetParam();
    EXPECT_EQ(Texts(NameChord(LinePitches(c.line), {true})), c.expect);
    const std::vector<std::string> plain = Texts(NameChord(LinePitches(c.line)));
    ASSERT_EQ(plain.size(), c.expect.size());
    if (!plain.empty()) {
        EXPECT_EQ(plain.front(), c.plain.empty() ? c.expect.front() : c.plain);
    }
    for (const std::string& name : plain)
        EXPECT_EQ(name.find('/') == std::string::npos || name.find("6/9") != std::string::npos,
                  true)
            << name << ": no slash bass unless asked for";
}

// Worked out by hand from the open G strings g' (67), D (50), G (55), B (59), d (62).
INSTANTIATE_TEST_SUITE_P(
    Table, ChordNaming,
    ::testing::Values(
        // g D G B D: the lowest note is the fifth; a banjo player calls it G.
        NamingCase{"OpenStrumIsG", "N, 0, 0, 0, 0, 0, Q", {"G/D"}, "G"},
        NamingCase{"GWithRootInTheBass", "N, x, x, 0, 0, 0, Q", {"G"}},
        // E G C E: C major with E lowest.
        NamingCase{"CFirstPosition", "N, x, 2, 0, 1, 2, Q", {"C/E"}, "C"},
        NamingCase{"DOverFSharp", "N, x, 4, 2, 3, 4, Q", {"D/F#"}, "D"},
        NamingCase{"DWithOpenFourth", "N, x, 0, 2, 3, 4, Q", {"D"}},
        // D A C: the banjo's D7 on the open 4th string, without its third.
        NamingCase{"DSeventhWithoutThird", "N, x, 0, 2, 1, 0, Q", {"D7"}},
        // C Eb G Eb: a complete C minor beats an Eb6 without its fifth.
        NamingCase{"MinorTriadNotSixth", "N, x, 1, 0, 1, 1, Q", {"Cm/Eb", "Eb6"}, "Cm"},
        // D G B A: G with an added ninth; G9 would need an F.
        NamingCase{"AddedNinth", "N, x, 0, 0, 0, 7, Q", {"Gadd9/D"}, "Gadd9"},
        // C E A C with the drone's G: C6 and Am7 share their notes; the root in the bass wins.
        NamingCase{"SixthBeforeMinorSeventh", "N, 0, 10, 9, 10, 10, Q", {"C6", "Am7/C"}},
        NamingCase{"MinorSeventhBeforeSixth", "N, x, 7, 5, 5, 5, Q", {"Am7", "C6/A"}},
        // Without the G, C E A is a complete A minor over C, or C6 without its fifth.
        NamingCase{
            "CompleteMinorOverIncompleteSixth", "N, x, 10, 9, 10, 10, Q", {"Am/C", "C6"}, "Am"},
        NamingCase{"DSeventh", "N, x, 0, 2, 1, 4, Q", {"D7"}},
        NamingCase{"SeventhWithoutFifth", "N, x, x, 0, 0, 3, Q", {"G7"}},
        // E G B D: neither root is lowest... E is: Em7, and G6 with its sixth in the bass.
        NamingCase{"EMinorSeventhAndGSixth", "N, x, 2, 0, 0, 0, Q", {"Em7", "G6/E"}},
        // Eb F Ab C: neither root lowest; Ab6 has its fifth in the bass, Fm7 its seventh.
        NamingCase{
            "FifthInTheBassBeforeSeventh", "N, x, 1, 1, 1, 3, Q", {"Ab6/Eb", "Fm7/Eb"}, "Ab6"},
        // dim7 is symmetrical: four roots, the one in the bass first.
        NamingCase{"DiminishedSeventh",
                   "N, x, 2, 3, 2, 5, Q",
                   {"Edim7", "Bbdim7/E", "C#dim7/E", "Gdim7/E"}},
        // The bass spelled from each root: D# is the third of B and the augmented fifth of G.
        NamingCase{"Augmented", "N, x, 1, 0, 0, 1, Q", {"Ebaug", "Gaug/D#", "Baug/D#"}},
        NamingCase{"MinorSixthAndHalfDiminished", "N, x, 0, 2, 0, 3, Q", {"Dm6", "Bm7b5/D"}},
        // D G C: complete G sus4 (D its fifth) or C sus2, before a D7sus4 without its fifth.
        NamingCase{
            "SuspendedFourth", "N, x, 0, 0, 1, 0, Q", {"Gsus4/D", "Csus2/D", "D7sus4"}, "Gsus4"},
        // G D A: a suspended second over its root, or a D sus4 with its fifth lowest.
        NamingCase{"SuspendedSecond", "N, x, 5, 2, 3, 0, Q", {"Gsus2", "Dsus4/G", "A7sus4/G"}},
        NamingCase{"NinthWithSeventhInTheBass", "N, 0, 3, 2, 0, 3, Q", {"G9/F"}, "G9"},
        // G B D F Ab: G7 with a flat ninth; B D F Ab alone would be a dim7.
        NamingCase{"SeventhFlatNine", "N, 0, 9, 7, 6, 6, Q", {"G7b9/B"}, "G7b9"},
        // G B F A# over the drone: a sharp ninth.
        NamingCase{"SeventhSharpNine", "N, 0, 9, 10, 11, 12, Q", {"G7#9/B"}, "G7#9"},
        // B E F G: the seventh and the thirteenth without fifth or ninth.
        NamingCase{"Thirteenth", "N, x, 9, 9, 6, 5, Q", {"G13/B"}, "G13"},
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
    const auto names = NameChord(pitches, {true});
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
        SymbolCase{"SuspendedSecond", "Gsus2", true, 7, Q::Sus2, -1, -1, "Gsus2"},
        SymbolCase{"SixNineIsNoSlash", "Bb6/9 (3)", true, 10, Q::SixNine, -1, 3, "Bb6/9"},
        SymbolCase{"SixOverA", "C6/A", true, 0, Q::Sixth, 9, -1, "C6/A"},
        SymbolCase{"MinorMajorSeventh", "Cm(maj7) (3)", true, 0, Q::MinorMajorSeventh, -1, 3,
                   "Cm(maj7)"},
        SymbolCase{"FlatNine", "E7b9", true, 4, Q::SeventhFlatNine, -1, -1, "E7b9"},
        SymbolCase{"SharpNine", "E7#9/G#", true, 4, Q::SeventhSharpNine, 8, -1, "E7#9/G#"},
        SymbolCase{"Thirteenth", "A13", true, 9, Q::Thirteenth, -1, -1, "A13"},
        SymbolCase{"UnknownQuality", "Gsus3", false},
        SymbolCase{"TrailingWords", "G (hammer-on)", false},
        SymbolCase{"EmptyPosition", "G ()", false},
        SymbolCase{"NoSpaceBeforePosition", "G(5)", false}, SymbolCase{"BadBass", "G/H", false},
        SymbolCase{"Empty", "", false},
        // The other ways players write a quality.
        SymbolCase{"Dim", "Bdim", true, 11, Q::Diminished, -1, -1, "Bdim"},
        SymbolCase{"Degree", "B°", true, 11, Q::Diminished, -1, -1, "B°"},
        SymbolCase{"LetterO7", "Co7", true, 0, Q::Diminished7, -1, -1, "Co7"},
        SymbolCase{"Plus", "C+", true, 0, Q::Augmented, -1, -1, "C+"},
        SymbolCase{"SusIsSus4", "Gsus", true, 7, Q::Sus4, -1, -1, "Gsus"},
        SymbolCase{"CapitalM7", "FM7", true, 5, Q::MajorSeventh, -1, -1, "FM7"},
        SymbolCase{"Triangle", "FΔ7", true, 5, Q::MajorSeventh, -1, -1, "FΔ7"},
        SymbolCase{"Min", "Amin/G", true, 9, Q::Minor, 7, -1, "Amin/G"},
        SymbolCase{"Dash7", "E-7", true, 4, Q::MinorSeventh, -1, -1, "E-7"},
        SymbolCase{"Slashed", "Bø", true, 11, Q::HalfDiminished, -1, -1, "Bø"},
        SymbolCase{"Add11", "Dadd11", true, 2, Q::Add4, -1, -1, "Dadd11"},
        SymbolCase{"MinorAdd9", "Emadd9", true, 4, Q::MinorAdd9, -1, -1, "Emadd9"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace fw

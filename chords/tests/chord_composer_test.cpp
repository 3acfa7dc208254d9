#include "chords/chord_composer.h"
#include "tests/support/case_name.h"

#include "chords/chord_parser.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace fw {
namespace {

FretArray Frets(int s5, int s4, int s3, int s2, int s1) {
    return {0, s1, s2, s3, s4, s5};
}

struct ComposeCase {
    FretArray frets;
    FretArray hammers;
    std::string duration;
    std::string text;
};

class ComposedLines : public ::testing::TestWithParam<ComposeCase> {};

TEST_P(ComposedLines, MatchAndParseBack) {
    const ComposeCase& c = GetParam();
    const std::string text = ComposeChordText(c.frets, c.hammers, c.duration);
    EXPECT_EQ(text, c.text);
    const ParsedLine parsed = ParseChordText(text, 0);
    ASSERT_TRUE(parsed.isChord()) << parsed.error;
    EXPECT_EQ(parsed.entry.Name, "Chord");
    EXPECT_EQ(parsed.entry.Fret, c.frets);
}

const FretArray None = AllNoFrets();

INSTANTIATE_TEST_SUITE_P(
    Table, ComposedLines,
    ::testing::Values(ComposeCase{Frets(-1, 2, 0, 1, 2), None, " S", "Chord, x, 2, 0, 1, 2, S"},
                      ComposeCase{Frets(-1, 2, 0, 1, 2), Frets(-1, 4, -1, -1, -1), " S",
                                  "Chord, x, 2-4, 0, 1, 2, S"},
                      ComposeCase{None, None, " S", "Chord, x, x, x, x, x, S"},
                      ComposeCase{Frets(0, 0, 0, 0, 0), None, " .Q", "Chord, 0, 0, 0, 0, 0, .Q"},
                      ComposeCase{Frets(17, 22, 0, 0, 4), Frets(-1, -1, -1, -1, 2), " W",
                                  "Chord, 17, 22, 0, 0, 4-2, W"},
                      // A hammer-on target on a string that is not played is dropped.
                      ComposeCase{Frets(-1, 0, 0, 0, 0), Frets(5, -1, -1, -1, -1), "\t.e ",
                                  "Chord, x, 0, 0, 0, 0, .e"}),
    [](const auto& info) { return fw::cases::IndexedCaseName(info.index, info.param.text); });

TEST(ComposeChordText, DropsTheTargetOfAStringNotPlayed) {
    const ParsedLine parsed =
        ParseChordText(ComposeChordText(Frets(-1, 0, 0, 0, 0), Frets(5, -1, -1, -1, -1), " S"), 0);
    EXPECT_EQ(parsed.entry.HammerFret, AllNoFrets());
}

// Every frets/hammer-ons combination a fretboard can produce parses back to itself.
TEST(ComposeChordText, RoundTripsThroughTheParser) {
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> fret(-1, MaxFret);
    std::uniform_int_distribution<int> target(0, MaxFret);
    std::uniform_int_distribution<int> coin(0, 2);
    const std::vector<std::string> durations = {" S", " .Q", " W", " .f", " h"};
    for (int round = 0; round < 2000; ++round) {
        FretArray frets = AllNoFrets();
        FretArray hammers = AllNoFrets();
        for (int s = 1; s <= 5; ++s) {
            frets[s] = fret(random);
            if (frets[s] != NoFret && coin(random) == 0)
                hammers[s] = target(random);
        }
        const std::string& duration = durations[static_cast<std::size_t>(round) % durations.size()];
        const ParsedLine parsed = ParseChordText(ComposeChordText(frets, hammers, duration), 0);
        ASSERT_TRUE(parsed.isChord()) << parsed.error;
        EXPECT_EQ(parsed.entry.Fret, frets);
        EXPECT_EQ(parsed.entry.HammerFret, hammers);
        EXPECT_EQ(parsed.entry.Duration, duration.substr(1));
    }
}

TEST(InsertChordText, KeepsTheDurationsLeadingSpace) {
    EXPECT_EQ(InsertChordText("Rest", " S"), "Rest , x, x, x, x, x, S");
    EXPECT_EQ(InsertChordText("Chord", " .Q"), "Chord , x, x, x, x, x, .Q");
    const ParsedLine parsed = ParseChordText(InsertChordText("Rest", " S"), 0);
    ASSERT_TRUE(parsed.isChord());
    EXPECT_EQ(parsed.entry.Name, "Rest");
    EXPECT_EQ(parsed.entry.Note, AllNoNotes());
}

TEST(EmptyChordText, IsAChordWithNoStringPlayed) {
    EXPECT_EQ(EmptyChordText(" S"), "Chord , x, x, x, x, x, S");
    EXPECT_EQ(EmptyChordText(" .T"), "Chord , x, x, x, x, x, .T");
    EXPECT_LE(EmptyChordText(" .Q").size(), 27u);
    EXPECT_TRUE(ParseChordText(EmptyChordText(DefaultCurrentDuration), 0).isChord());
}

TEST(FillDurationTicks, SetsChordEntriesOnly) {
    std::vector<ChordEntry> entries;
    for (const char* line : {"G, 0, 0, 0, 0, 0, Q", "*comment", "", "C, x, 2, 0, 1, 2, .e",
                             "Rest , x, x, x, x, x, S"}) {
        entries.push_back(ParseChordText(line, 0).entry);
        entries.back().DurationTicks = -7;
    }
    FillDurationTicks(entries, 384);
    EXPECT_EQ(entries[0].DurationTicks, 96);
    EXPECT_EQ(entries[1].DurationTicks, -7);
    EXPECT_EQ(entries[2].DurationTicks, -7);
    EXPECT_EQ(entries[3].DurationTicks, 72);
    EXPECT_EQ(entries[4].DurationTicks, 24);
    FillDurationTicks(entries, 2000);
    EXPECT_EQ(entries[0].DurationTicks, 500);
}

} // namespace
} // namespace fw

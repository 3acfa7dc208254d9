#include "export/midi_file_writer.h"
#include "tests/support/case_name.h"

#include "chords/text_rules.h"
#include "midi_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace fw {
namespace {

using test::ChordEventsHex;
using test::Hex;
using test::NoOffsets;
using test::Song;

TEST(MidiFileTest, OneGChordAtTempo120IsTheWholeFileByteForByte) {
    const MidiBytes file = BuildMidiFile(Song({"G, 0, 0, 0, 0, 0, Q"}), 120, 105, NoOffsets);
    EXPECT_EQ(Hex(file),
              Hex({"4D 54 68 64 00 00 00 06 00 01 00 02 00 60", "4D 54 72 6B 00 00 00 16",
                   "00 C0 69 00 FF 58 04 04 02 18 08 00 FF 51 03 07 A1 20 00 FF 2F 00",
                   "4D 54 72 6B 00 00 00 2F 00 FF 03 08 46 72 65 74 77 69 63 6B", "00 90 3E 7F",
                   "00 3B 7F", "00 37 7F", "00 32 7F", "00 43 7F", "60 3E 00", "00 37 00",
                   "00 32 00", "00 43 00", "00 3B 00", "00 FF 2F 00"}));
}

TEST(MidiFileTest, LaterChordsUseRunningStatus) {
    const MidiBytes file =
        BuildMidiFile(Song({"G, 0, 0, 0, 0, 0, Q", "C, x, 2, 0, 1, 2, .E"}), 120, 105, NoOffsets);
    EXPECT_EQ(ChordEventsHex(file),
              Hex({"00 90 3E 7F", "00 3B 7F", "00 37 7F", "00 32 7F", "00 43 7F", "60 3E 00",
                   "00 37 00", "00 32 00", "00 43 00", "00 3B 00", // G
                   "00 40 7F", "00 3C 7F", "00 37 7F", "00 34 7F", "48 40 00", "00 37 00",
                   "00 34 00", "00 3C 00"}));
}

TEST(MidiFileTest, FirstChordWithoutString1StartsWithASilentMiddleC) {
    const MidiBytes file = BuildMidiFile(Song({"C, 0, 0, 0, 1, x, Q"}), 120, 0, NoOffsets);
    EXPECT_EQ(ChordEventsHex(file),
              Hex({"00 90 3C 00", "00 3C 7F", "00 37 7F", "00 32 7F", "00 43 7F", "60 3C 00",
                   "00 37 00", "00 32 00", "00 43 00", "00 3C 00"}));
}

TEST(MidiFileTest, RestLineHasOnlySilentEventsAndStillTakesItsLength) {
    const MidiBytes first = BuildMidiFile(Song({"Rest , x, x, x, x, x, Q"}), 120, 0, NoOffsets);
    EXPECT_EQ(ChordEventsHex(first), Hex({"00 90 3C 00", "60 3C 00", "00 3C 00"}));

    const MidiBytes later = BuildMidiFile(
        Song({"Rest , x, x, x, x, x, Q", "Rest , x, x, x, x, x, H"}), 120, 0, NoOffsets);
    EXPECT_EQ(ChordEventsHex(later), Hex({"00 90 3C 00", "60 3C 00", "00 3C 00", // first rest
                                          "00 3C 00", "81 40 3C 00", "00 3C 00"}));
}

TEST(MidiFileTest, CommentAndBlankLinesProduceNoBytesAndNoDelay) {
    const MidiBytes plain =
        BuildMidiFile(Song({"G, 0, 0, 0, 0, 0, Q", "D, x, 0, 2, 3, 4, E"}), 120, 105, NoOffsets);
    const MidiBytes mixed = BuildMidiFile(Song({"*Verse 1", "", "G, 0, 0, 0, 0, 0, Q", "  \t",
                                                "*chorus", "D, x, 0, 2, 3, 4, E", "*end"}),
                                          120, 105, NoOffsets);
    EXPECT_EQ(Hex(mixed), Hex(plain));
}

TEST(MidiFileTest, AChordLineNamedLikeACommentIsSkippedToo) {
    // " *A, ..." parses as a chord named "*A"; entries are told apart by their names.
    const MidiBytes file =
        BuildMidiFile(Song({" *A, 0, 0, 0, 0, 0, Q", "G, 0, 0, 0, 0, 0, Q"}), 120, 0, NoOffsets);
    const MidiBytes alone = BuildMidiFile(Song({"G, 0, 0, 0, 0, 0, Q"}), 120, 0, NoOffsets);
    EXPECT_EQ(Hex(file), Hex(alone));
}

TEST(MidiFileTest, WithoutChordsTheNoteTrackHoldsOnlyItsNameAndEnd) {
    const MidiBytes file = BuildMidiFile(Song({"*just words", ""}), 120, 0, NoOffsets);
    EXPECT_EQ(Hex(file, 44), "4D 54 72 6B 00 00 00 10 00 FF 03 08 46 72 65 74 77 69 63 6B "
                             "00 FF 2F 00");
}

TEST(MidiFileTest, TrackLengthFieldsCountTheBytesThatFollowThem) {
    const MidiBytes file = BuildMidiFile(
        Song({"G, 0, 0, 0, 0, 0, Q", "Slide, 0, 2-4, 0, 0, 0, H", "*x", "P, x, x, x, x, 4-2, .q",
              "Rest , x, x, x, x, x, W", "H, 1-3, 0-2, 2-4, 3-1, 0-7, .W"}),
        37, 12, {0, 1, -1, 2, -2, 4});
    EXPECT_EQ(test::Word32At(file, 4), 6u);
    EXPECT_EQ(test::Word32At(file, 18), 22u);
    EXPECT_EQ(Hex(file, 44, 48), "4D 54 72 6B");
    EXPECT_EQ(test::Word32At(file, 48), file.size() - 52);
    EXPECT_EQ(Hex(file, file.size() - 4), "00 FF 2F 00");
}

TEST(MidiFileTest, DurationTicksOfTheEntriesAreNotUsed) {
    std::vector<ChordEntry> song = Song({"G, 0, 0, 0, 0, 0, Q"});
    song[0].DurationTicks = 1000;
    const MidiBytes file = BuildMidiFile(song, 120, 0, NoOffsets);
    EXPECT_EQ(Hex(file, 64 + 16, 64 + 19), "60 3E 00");
}

TEST(MidiFileTest, TuningOffsetsShiftStruckNotesAndHammerTargets) {
    // Offsets of strings 1..5: 0, -2, -1, 0, -1.
    const std::array<int, 6> offsets{0, 0, -2, -1, 0, -1};
    const MidiBytes file =
        BuildMidiFile(Song({"G, 0, 0, 0, 0, 0, Q", "H, 0, x, 0, 2-4, x, Q"}), 120, 0, offsets);
    EXPECT_EQ(ChordEventsHex(file),
              Hex({"00 90 3E 7F", "00 39 7F", "00 36 7F", "00 32 7F", "00 42 7F", "60 3E 00",
                   "00 36 00", "00 32 00", "00 42 00", "00 39 00", // G sounding 62 57 54 50 66
                   // strings 3 and 5 ring the chord; string 2 strikes 61 - 2, then 63 - 2
                   "00 36 7F", "00 42 7F", "00 3B 7F", "06 3B 00", "06 3D 7F", "06 3D 00",
                   "4E 36 00", "00 42 00"}));
}

struct PatchCase {
    int patch;
    std::uint8_t written;
};

class PatchTest : public ::testing::TestWithParam<PatchCase> {};

TEST_P(PatchTest, ProgramChangeCarriesThePatch) {
    const MidiBytes file =
        BuildMidiFile(Song({"G, 0, 0, 0, 0, 0, Q"}), 120, GetParam().patch, NoOffsets);
    EXPECT_EQ(file[22 + 1], 0xC0);
    EXPECT_EQ(file[22 + 2], GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Patches, PatchTest,
                         ::testing::Values(PatchCase{0, 0}, PatchCase{105, 105},
                                           PatchCase{127, 127}, PatchCase{128, 127},
                                           PatchCase{-5, 0}),
                         [](const auto& info) {
                             return "Patch" + fw::cases::NumberName(info.param.patch);
                         });

struct TempoCase {
    int tempo;
    std::string tempoBytes;
    int gap;
};

class TempoTest : public ::testing::TestWithParam<TempoCase> {};

TEST_P(TempoTest, TempoEventAndHammerGapFollowTheTempo) {
    const TempoCase& c = GetParam();
    EXPECT_EQ(HammerGap(c.tempo), c.gap);
    const MidiBytes file = BuildMidiFile(Song({"G, 0, 0, 0, 0, 0, Q"}), c.tempo, 0, NoOffsets);
    EXPECT_EQ(Hex(file, 33, 40), "00 FF 51 03 " + c.tempoBytes);
}

// Tempos 1 to 3 would need more than three bytes (60000000 div 3 = 20000000); they are written
// as 0xFFFFFF, the slowest tempo the file can state, and not cut to their low 24 bits.
INSTANTIATE_TEST_SUITE_P(
    Tempos, TempoTest,
    ::testing::Values(TempoCase{120, "07 A1 20", 6}, TempoCase{60, "0F 42 40", 12},
                      TempoCase{90, "0A 2C 2A", 8}, TempoCase{500, "01 D4 C0", 1},
                      TempoCase{4, "E4 E1 C0", 187}, TempoCase{3, "FF FF FF", 250},
                      TempoCase{2, "FF FF FF", 375}, TempoCase{1, "FF FF FF", 750},
                      // Out of range: the nearer end of 1..500.
                      TempoCase{0, "FF FF FF", 750}, TempoCase{-40, "FF FF FF", 750},
                      TempoCase{900, "01 D4 C0", 1}),
    [](const auto& info) { return "Tempo" + fw::cases::NumberName(info.param.tempo); });

TEST(TempoMicrosecondsTest, ClampsToTwentyFourBits) {
    EXPECT_EQ(TempoMicroseconds(120), 500000u);
    EXPECT_EQ(TempoMicroseconds(4), 15000000u);
    EXPECT_EQ(TempoMicroseconds(3), 0xFFFFFFu);
    EXPECT_EQ(TempoMicroseconds(1), 0xFFFFFFu);
}

TEST(MidiFileTest, Tempos60And120DifferOnlyInTempoBytesAndHammerGaps) {
    const auto song = Song({"G, 0, 0, 0, 0, 0, Q", "H, x, x, x, x, 0-2, Q"});
    const MidiBytes slow = BuildMidiFile(song, 60, 0, NoOffsets);
    const MidiBytes fast = BuildMidiFile(song, 120, 0, NoOffsets);
    EXPECT_EQ(Hex(slow, 37, 40), "0F 42 40");
    EXPECT_EQ(Hex(fast, 37, 40), "07 A1 20");
    EXPECT_EQ(Hex(slow, 40),
              Hex(fast, 40, 64) + " " +
                  Hex({"00 90 3E 7F", "00 3B 7F", "00 37 7F", "00 32 7F", "00 43 7F", "60 3E 00",
                       "00 37 00", "00 32 00", "00 43 00", "00 3B 00", "00 3E 7F", "0C 3E 00",
                       "0C 40 7F", "0C 40 00", "3C 3C 00", "00 FF 2F 00"}));
    EXPECT_EQ(Hex(fast, 64 + 31),
              Hex({"00 3E 7F", "06 3E 00", "06 40 7F", "06 40 00", "4E 3C 00", "00 FF 2F 00"}));
}

struct DurationCase {
    std::string text;
    int ticks;
};

class DurationTest : public ::testing::TestWithParam<DurationCase> {};

TEST_P(DurationTest, ChordLastsItsDurationInTicksWhateverTheLetterCase) {
    const DurationCase& c = GetParam();
    MidiBytes expected;
    NoteOffEvent(expected, 62, static_cast<std::uint32_t>(c.ticks));
    for (const std::string& text : {c.text, UpperCase(c.text)}) {
        const MidiBytes file =
            BuildMidiFile(Song({"D, x, x, x, x, 0, " + text}), 120, 0, NoOffsets);
        EXPECT_EQ(Hex(file, 68, file.size() - 7), Hex(expected)) << text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Durations, DurationTest,
    ::testing::Values(DurationCase{"w", 384}, DurationCase{".w", 576}, DurationCase{"h", 192},
                      DurationCase{".h", 288}, DurationCase{"q", 96}, DurationCase{".q", 144},
                      DurationCase{"e", 48}, DurationCase{".e", 72}, DurationCase{"s", 24},
                      DurationCase{".s", 36}, DurationCase{"t", 12}, DurationCase{".t", 18},
                      DurationCase{"f", 6}, DurationCase{".f", 9}),
    [](const auto& info) { return fw::cases::IndexedCaseName(info.index, info.param.text); });

TEST(MidiFileTest, DottedQuarterInLowerCaseIs144Ticks) {
    const MidiBytes file = BuildMidiFile(Song({"D, x, x, x, x, 0, .q"}), 120, 0, NoOffsets);
    EXPECT_EQ(ChordEventsHex(file), Hex({"00 90 3E 7F", "81 10 3E 00", "00 3C 00"}));
}

struct ChordCase {
    std::string name;
    std::string line;
    int tempo;
    std::string events;
    HammerOnSound sound = HammerOnSound::Quick;
};

class LaterChordTest : public ::testing::TestWithParam<ChordCase> {};

TEST_P(LaterChordTest, WritesItsEventsInOrder) {
    const ChordCase& c = GetParam();
    MidiBytes out;
    const ChordEntry entry = test::Chord(c.line);
    const int count = ChordEvents(out, entry, DurationValue(entry.Duration, MidiWholeNoteTicks),
                                  HammerGap(c.tempo), NoOffsets, false, c.sound);
    EXPECT_EQ(Hex(out), c.events);
    EXPECT_EQ(count, static_cast<int>(out.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Chords, LaterChordTest,
    ::testing::Values(
        // A hammered string strikes at 0, stops at g, sounds its target from 2g to 3g; a
        // silent middle C takes the chord to its 96 ticks.
        ChordCase{"HammerOnString1", "H, x, x, x, x, 0-2, Q", 120,
                  Hex({"00 3E 7F", "06 3E 00", "06 40 7F", "06 40 00", "4E 3C 00"})},
        // A pull-off sounds its start fret (66) first and the lower target (64) after it.
        ChordCase{"PullOffString1", "P, x, x, x, x, 4-2, Q", 120,
                  Hex({"00 42 7F", "06 42 00", "06 40 7F", "06 40 00", "4E 3C 00"})},
        ChordCase{"PullOffString3", "P, x, x, 3-1, x, x, E", 120,
                  Hex({"00 3A 7F", "06 3A 00", "06 38 7F", "06 38 00", "1E 3C 00"})},
        // The other strings ring the whole chord and stop with it.
        ChordCase{"HammerOnString2WithOthers", "H, 0, 0, 0, 0-1, 0, Q", 120,
                  Hex({"00 3E 7F", "00 37 7F", "00 32 7F", "00 43 7F", "00 3B 7F", "06 3B 00",
                       "06 3C 7F", "06 3C 00", "4E 3E 00", "00 37 00", "00 32 00", "00 43 00"})},
        // D < 3g: the chord takes its three steps, 18 ticks, and nothing follows them.
        ChordCase{"ShortHammerOnTakesItsSteps", "H, x, x, 0-2, x, x, T", 120,
                  Hex({"00 37 7F", "06 37 00", "06 39 7F", "06 39 00"})},
        // Tempo 500, g = 1: 3 steps and 3 more ticks to the sixty-fourth's 6.
        ChordCase{"HammerOnString3AtTempo500", "H, x, x, 0-2, x, x, F", 500,
                  Hex({"00 37 7F", "01 37 00", "01 39 7F", "01 39 00", "03 3C 00"})},
        ChordCase{"ShortHammerOnEqualToThreeGaps", "H, x, x, x, x, 0-2, .T", 120,
                  Hex({"00 3E 7F", "06 3E 00", "06 40 7F", "06 40 00"})},
        // D < 3g (24 < 36 at tempo 60): string 3 rings all 36 ticks, ending after the target.
        ChordCase{"ShortHammerOnBelowThreeGaps", "H, x, x, 0, x, 0-2, S", 60,
                  Hex({"00 37 7F", "00 3E 7F", "0C 3E 00", "0C 40 7F", "0C 40 00", "00 37 00"})},
        ChordCase{"HammerOnAtTempo500", "H, x, x, x, x, 0-2, Q", 500,
                  Hex({"00 3E 7F", "01 3E 00", "01 40 7F", "01 40 00", "5D 3C 00"})},
        // Ringing: the target follows after one step and rings to the end (192 - 6 = 186).
        ChordCase{"RingingHammerOn", "H, x, x, 0-2, x, x, H", 120,
                  Hex({"00 37 7F", "06 37 00", "00 39 7F", "81 3A 39 00"}), HammerOnSound::Ring},
        // D < 2g: the ringing chord lasts its two steps, 12 ticks.
        ChordCase{"ShortRingingHammerOnWithOthers", "H, 0, 0, 0, 0-1, 0, F", 120,
                  Hex({"00 3E 7F", "00 37 7F", "00 32 7F", "00 43 7F", "00 3B 7F", "06 3B 00",
                       "00 3C 7F", "06 3C 00", "00 3E 00", "00 37 00", "00 32 00", "00 43 00"}),
                  HammerOnSound::Ring},
        ChordCase{"Rest", "Rest , x, x, x, x, x, Q", 120,
                  Hex({"00 3C 00", "60 3C 00", "00 3C 00"})},
        ChordCase{"WholeNote", "G, 0, 0, 0, 0, 0, W", 120,
                  Hex({"00 3E 7F", "00 3B 7F", "00 37 7F", "00 32 7F", "00 43 7F", "83 00 3E 00",
                       "00 37 00", "00 32 00", "00 43 00", "00 3B 00"})}),
    [](const auto& info) { return info.param.name; });

TEST(ChordEventsTest, FirstChordCarriesTheNoteOnStatus) {
    MidiBytes out;
    const int count =
        ChordEvents(out, test::Chord("H, x, x, x, x, 0-2, Q"), 96, 6, NoOffsets, true);
    EXPECT_EQ(Hex(out), Hex({"00 90 3E 7F", "06 3E 00", "06 40 7F", "06 40 00", "4E 3C 00"}));
    EXPECT_EQ(count, 16);
}

} // namespace
} // namespace fw

// The note track of small songs against event lists worked out by hand from the file's rules,
// not from the writer: each event is (delta, status, note, velocity), status 0x90 where the
// first chord states it and 0 where running status applies. A hammer-on chord sounds as the live
// player plays it: the other strings ring the whole chord, a hammered string sounds its start
// fret from 0 to g and its target from 2g to 3g, and the chord lasts its duration, or 3g when
// that is longer; a silent middle C fills a chord whose last note ends early.

#include "export/midi_file_writer.h"

#include "midi_test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace fw {
namespace {

struct Event {
    std::uint32_t delta;
    std::uint8_t status; // 0: running status, no status byte written
    std::uint8_t note;
    std::uint8_t velocity;
};

// Encodes the events by hand: the delta as a variable-length quantity (deltas here stay below
// 16384, so one or two bytes), then the status when given, the note and the velocity.
MidiBytes Encode(const std::vector<Event>& events) {
    MidiBytes out;
    for (const Event& e : events) {
        if (e.delta >= 128)
            out.push_back(static_cast<std::uint8_t>(0x80 | (e.delta >> 7)));
        out.push_back(static_cast<std::uint8_t>(e.delta & 0x7F));
        if (e.status != 0)
            out.push_back(e.status);
        out.push_back(e.note);
        out.push_back(e.velocity);
    }
    return out;
}

struct ModelCase {
    std::string name;
    std::vector<std::string_view> lines;
    int tempo;
    std::vector<Event> events;
};

class MidiHandModelTest : public ::testing::TestWithParam<ModelCase> {};

TEST_P(MidiHandModelTest, NoteTrackMatchesTheEventsWorkedOutByHand) {
    const ModelCase& c = GetParam();
    std::vector<ChordEntry> song;
    for (std::string_view line : c.lines)
        song.push_back(test::Chord(line));
    const MidiBytes file = BuildMidiFile(song, c.tempo, 0, test::NoOffsets);
    EXPECT_EQ(test::ChordEventsHex(file), test::Hex(Encode(c.events)));
    EXPECT_EQ(test::Word32At(file, 48), file.size() - 52);
}

constexpr std::uint8_t On = 0x7F;
constexpr std::uint8_t S = 0x90;

// Open G pitches: string 1 D 62, string 2 B 59, string 3 G 55, string 4 D 50, string 5 g 67.
const std::vector<Event> GChordEighthLater{
    {0, 0, 62, On}, {0, 0, 59, On}, {0, 0, 55, On}, {0, 0, 50, On}, {0, 0, 67, On},
    {48, 0, 62, 0}, {0, 0, 55, 0},  {0, 0, 50, 0},  {0, 0, 67, 0},  {0, 0, 59, 0}};

INSTANTIATE_TEST_SUITE_P(
    Songs, MidiHandModelTest,
    ::testing::Values(
        // Tempo 120, g = 6. String 2 hammered 59 -> 61, then a silent middle C at 96, so the
        // G after it starts on beat 2.
        ModelCase{"HammerOnString2ThenG",
                  {"H, x, x, x, 0-2, x, Q", "G, 0, 0, 0, 0, 0, E"},
                  120,
                  [] {
                      std::vector<Event> e{{0, S, 59, On},
                                           {6, 0, 59, 0},
                                           {6, 0, 61, On},
                                           {6, 0, 61, 0},
                                           {78, 0, 60, 0}};
                      e.insert(e.end(), GChordEighthLater.begin(), GChordEighthLater.end());
                      return e;
                  }()},
        // A pull-off on string 1 from 66 to 64: 66 first; 48 - 18 = 30 ticks of silence.
        ModelCase{"PullOffString1ThenD",
                  {"P, x, x, x, x, 4-2, E", "D, x, x, x, x, 0, E"},
                  120,
                  {{0, S, 66, On},
                   {6, 0, 66, 0},
                   {6, 0, 64, On},
                   {6, 0, 64, 0},
                   {30, 0, 60, 0},
                   {0, 0, 62, On},
                   {48, 0, 62, 0},
                   {0, 0, 60, 0}}},
        // Tempo 60, g = 12. The short g string pulls off 69 -> 67: 36 ticks, then 12 silent.
        ModelCase{"PullOffString5AtTempo60ThenG",
                  {"P, 2-0, x, x, x, x, E", "G, 0, 0, 0, 0, 0, E"},
                  60,
                  [] {
                      std::vector<Event> e{{0, S, 69, On},
                                           {12, 0, 69, 0},
                                           {12, 0, 67, On},
                                           {12, 0, 67, 0},
                                           {12, 0, 60, 0}};
                      e.insert(e.end(), GChordEighthLater.begin(), GChordEighthLater.end());
                      return e;
                  }()},
        // Tempo 60: a thirty-second (12 ticks) cannot hold three steps of 12; the chord takes
        // its steps, 36 ticks, before the rest.
        ModelCase{"TooShortHammerOnString3ThenRest",
                  {"H, x, x, 0-2, x, x, T", "R, x, x, x, x, x, Q"},
                  60,
                  {{0, S, 55, On},
                   {12, 0, 55, 0},
                   {12, 0, 57, On},
                   {12, 0, 57, 0},
                   {0, 0, 60, 0},
                   {96, 0, 60, 0},
                   {0, 0, 60, 0}}},
        // Tempo 90, g = 8. String 1 hammers 62 -> 64 and string 4 pulls off 52 -> 50, step by
        // step together; 96 - 24 = 72 silent ticks end the chord.
        ModelCase{"HammerOnString1AndPullOffString4AtTempo90ThenG",
                  {"HP, x, 2-0, x, x, 0-2, Q", "G, 0, 0, 0, 0, 0, E"},
                  90,
                  [] {
                      std::vector<Event> e{{0, S, 62, On}, {0, 0, 52, On}, {8, 0, 62, 0},
                                           {0, 0, 52, 0},  {8, 0, 64, On}, {0, 0, 50, On},
                                           {8, 0, 64, 0},  {0, 0, 50, 0},  {72, 0, 60, 0}};
                      e.insert(e.end(), GChordEighthLater.begin(), GChordEighthLater.end());
                      return e;
                  }()},
        // Without hammer-ons nothing changed: a dotted eighth C, then a half-note rest (192
        // ticks, two delta bytes 81 40).
        ModelCase{"NoHammerOnCThenRest",
                  {"C, x, 2, 0, 1, 2, .E", "R, x, x, x, x, x, H"},
                  120,
                  {{0, S, 64, On},
                   {0, 0, 60, On},
                   {0, 0, 55, On},
                   {0, 0, 52, On},
                   {72, 0, 64, 0},
                   {0, 0, 55, 0},
                   {0, 0, 52, 0},
                   {0, 0, 60, 0},
                   {0, 0, 60, 0},
                   {192, 0, 60, 0},
                   {0, 0, 60, 0}}}),
    [](const auto& info) { return info.param.name; });

} // namespace
} // namespace fw

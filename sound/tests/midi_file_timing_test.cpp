// The timing scan of MIDI files: lengths over tempo changes, and the damaged files the
// synthesizer's player would refuse. Every file is written out byte by byte here.

#include "sound/midi_file_timing.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace fw {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes Header(int format, int tracks, int division) {
    return {'M',
            'T',
            'h',
            'd',
            0,
            0,
            0,
            6,
            0,
            static_cast<std::uint8_t>(format),
            static_cast<std::uint8_t>(tracks >> 8),
            static_cast<std::uint8_t>(tracks),
            static_cast<std::uint8_t>(division >> 8),
            static_cast<std::uint8_t>(division)};
}

// A chunk with the length of `events` written in front of them.
Bytes Chunk(const char (&id)[5], const Bytes& events) {
    const auto n = static_cast<std::uint32_t>(events.size());
    Bytes chunk = {static_cast<std::uint8_t>(id[0]),   static_cast<std::uint8_t>(id[1]),
                   static_cast<std::uint8_t>(id[2]),   static_cast<std::uint8_t>(id[3]),
                   static_cast<std::uint8_t>(n >> 24), static_cast<std::uint8_t>(n >> 16),
                   static_cast<std::uint8_t>(n >> 8),  static_cast<std::uint8_t>(n)};
    chunk.insert(chunk.end(), events.begin(), events.end());
    return chunk;
}

Bytes Track(const Bytes& events) {
    return Chunk("MTrk", events);
}

const Bytes EndOfTrack = {0x00, 0xFF, 0x2F, 0x00};
// A quarter note (96 ticks) of middle C, then the end of the track.
const Bytes QuarterNote = {0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00};
// Tempo 60 (1,000,000 microseconds per quarter note) at tick 0.
const Bytes Tempo60 = {0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40};

struct LengthCase {
    std::string name;
    Bytes file;
    long long ticks;
    long long ms;
};

void PrintTo(const LengthCase& c, std::ostream* os) {
    *os << c.name;
}

class MidiFileLength : public testing::TestWithParam<LengthCase> {};

TEST_P(MidiFileLength, IsTheLastEndOfTrackAtTheFilesTempos) {
    const LengthCase& c = GetParam();
    const std::optional<MidiFileTiming> timing = MidiFileTiming::Scan(c.file);
    ASSERT_TRUE(timing.has_value());
    EXPECT_EQ(timing->LengthTicks(), c.ticks);
    EXPECT_EQ(timing->LengthMs(), c.ms);
}

INSTANTIATE_TEST_SUITE_P(
    Files, MidiFileLength,
    testing::Values(
        // 96 ticks at the default 500,000 microseconds per quarter note.
        LengthCase{"QuarterAtDefaultTempo", Cat({Header(0, 1, 96), Track(QuarterNote)}), 96, 500},
        LengthCase{"EmptyTrack", Cat({Header(0, 1, 96), Track(EndOfTrack)}), 0, 0},
        // A tempo track as the program writes it and a note track: tempo 60 makes it a second.
        LengthCase{"TempoTrackAndNoteTrack",
                   Cat({Header(1, 2, 96), Track(Cat({Tempo60, EndOfTrack})), Track(QuarterNote)}),
                   96, 1000},
        // Half a second at 120, then a quarter at 60 from tick 96: 500 + 1000.
        LengthCase{"TempoChangeHalfway",
                   Cat({Header(1, 2, 96),
                        Track({0x60, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, 0x00, 0xFF, 0x2F, 0x00}),
                        Track({0x00, 0x90, 0x3C, 0x64, 0x81, 0x40, 0x80, 0x3C, 0x00, 0x00, 0xFF,
                               0x2F, 0x00})}),
                   192, 1500},
        // The longest track decides, wherever it stands; the end-of-track delta counts too.
        LengthCase{"LongestTrackCounts",
                   Cat({Header(1, 3, 96), Track(QuarterNote), Track({0x83, 0x00, 0xFF, 0x2F, 0x00}),
                        Track(EndOfTrack)}),
                   384, 2000},
        // Running status: the second note-on and the note-offs repeat the status byte.
        LengthCase{
            "RunningStatus",
            Cat({Header(0, 1, 96), Track({0x00, 0x90, 0x3C, 0x64, 0x00, 0x40, 0x64, 0x60, 0x3C,
                                          0x00, 0x00, 0x40, 0x00, 0x00, 0xFF, 0x2F, 0x00})}),
            96, 500},
        // Program change and channel pressure carry one data byte; system exclusive a length.
        LengthCase{
            "OneByteMessagesAndSysEx",
            Cat({Header(0, 1, 480), Track({0x00, 0xC0, 0x69, 0x00, 0xD0, 0x10, 0x00, 0xF0, 0x03,
                                           0x7E, 0x7F, 0xF7, 0x83, 0x60, 0xFF, 0x2F, 0x00})}),
            480, 500},
        // A chunk of another kind between the tracks is passed over.
        LengthCase{"ForeignChunkSkipped",
                   Cat({Header(1, 1, 96), Chunk("XFIH", {1, 2, 3}), Track(QuarterNote)}), 96, 500},
        // A track without an end-of-track event ends with its chunk.
        LengthCase{"NoEndOfTrackEvent",
                   Cat({Header(0, 1, 96), Track({0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x00})}),
                   96, 500},
        // A 2-byte delta time: 0x81 0x00 is 128 ticks at division 128, one quarter note.
        LengthCase{"TwoByteDelta", Cat({Header(0, 1, 128), Track({0x81, 0x00, 0xFF, 0x2F, 0x00})}),
                   128, 500}),
    [](const testing::TestParamInfo<LengthCase>& info) { return info.param.name; });

struct DamagedCase {
    std::string name;
    Bytes file;
};

void PrintTo(const DamagedCase& c, std::ostream* os) {
    *os << c.name;
}

class DamagedMidiFile : public testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedMidiFile, IsRefused) {
    bool smpte = true;
    EXPECT_FALSE(MidiFileTiming::Scan(GetParam().file, &smpte).has_value());
    // Only the sound file in SMPTE frames is refused for its timing alone.
    EXPECT_EQ(smpte, GetParam().name == "SmpteDivision");
}

Bytes Truncated(Bytes file, std::size_t drop) {
    file.resize(file.size() - drop);
    return file;
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedMidiFile,
    testing::Values(
        DamagedCase{"Empty", {}},
        DamagedCase{"NotAMidiFile", {'R', 'I', 'F', 'F', 0, 0, 0, 4, 'W', 'A', 'V', 'E'}},
        DamagedCase{"HeaderOnlyHalf", Truncated(Header(0, 1, 96), 4)},
        DamagedCase{
            "HeaderLengthEight",
            Cat({{'M', 'T', 'h', 'd', 0, 0, 0, 8, 0, 0, 0, 1, 0, 96, 0, 0}, Track(EndOfTrack)})},
        DamagedCase{"FormatThree", Cat({Header(3, 1, 96), Track(EndOfTrack)})},
        DamagedCase{"NoTracks", Header(1, 0, 96)},
        DamagedCase{"TooManyTracks", Header(1, MaxPlayerTracks + 1, 96)},
        DamagedCase{"SmpteDivision", Cat({Header(0, 1, 0xE728), Track(EndOfTrack)})},
        DamagedCase{"SmpteDivisionAndCutTrack",
                    Truncated(Cat({Header(0, 1, 0xE728), Track(QuarterNote)}), 3)},
        DamagedCase{"DivisionZero", Cat({Header(0, 1, 0), Track(EndOfTrack)})},
        DamagedCase{"FileCutInsideTheTrack",
                    Truncated(Cat({Header(0, 1, 96), Track(QuarterNote)}), 3)},
        DamagedCase{"SecondTrackMissing", Cat({Header(1, 2, 96), Track(QuarterNote)})},
        DamagedCase{"DataByteWithoutStatus",
                    Cat({Header(0, 1, 96), Track({0x00, 0x3C, 0x64, 0x00, 0xFF, 0x2F, 0x00})})},
        DamagedCase{"DeltaOfFiveBytes", Cat({Header(0, 1, 96), Track({0x81, 0x81, 0x81, 0x81, 0x00,
                                                                      0xFF, 0x2F, 0x00})})},
        DamagedCase{"SystemCommonStatus", Cat({Header(0, 1, 96), Track({0x00, 0xF2, 0x00, 0x00,
                                                                        0x00, 0xFF, 0x2F, 0x00})})},
        DamagedCase{"ShortTempo", Cat({Header(0, 1, 96), Track({0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1,
                                                                0x00, 0xFF, 0x2F, 0x00})})},
        DamagedCase{"NoteCutAtTrackEnd", Cat({Header(0, 1, 96), Track({0x00, 0x90, 0x3C})})},
        DamagedCase{"MetaLongerThanTrack",
                    Cat({Header(0, 1, 96), Track({0x00, 0xFF, 0x03, 0x10, 'a', 'b'})})},
        DamagedCase{"NonAsciiChunkId",
                    Cat({Header(1, 1, 96), Chunk("\xC3\xA9xx", {}), Track(EndOfTrack)})}),
    [](const testing::TestParamInfo<DamagedCase>& info) { return info.param.name; });

TEST(MidiFileTiming, TicksToMsFollowsEachTempoFromItsTick) {
    // 120 until tick 96, 60 until tick 192, then 240 (250,000 microseconds).
    const Bytes file =
        Cat({Header(1, 1, 96), Track({0x60, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, 0x60, 0xFF, 0x51,
                                      0x03, 0x03, 0xD0, 0x90, 0x83, 0x00, 0xFF, 0x2F, 0x00})});
    const std::optional<MidiFileTiming> timing = MidiFileTiming::Scan(file);
    ASSERT_TRUE(timing.has_value());
    const std::pair<long long, long long> table[] = {
        {-5, 0}, {0, 0}, {48, 250}, {96, 500}, {144, 1000}, {192, 1500}, {288, 1750}, {576, 2500}};
    for (const auto& [tick, ms] : table)
        EXPECT_EQ(timing->TicksToMs(tick), ms) << "tick " << tick;
    EXPECT_EQ(timing->LengthTicks(), 576);
}

} // namespace
} // namespace fw

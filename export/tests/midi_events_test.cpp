#include "export/midi_events.h"
#include "tests/support/case_name.h"

#include "midi_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace fw {
namespace {

using test::Hex;

struct VarLenCase {
    std::uint32_t value;
    std::string bytes;
};

class VarLenTest : public ::testing::TestWithParam<VarLenCase> {};

TEST_P(VarLenTest, WritesSevenBitGroupsMostSignificantFirst) {
    MidiBytes out{0xAA}; // bytes already there stay in front
    const int count = WriteVarLen(out, GetParam().value);
    EXPECT_EQ(Hex(out), "AA " + GetParam().bytes);
    EXPECT_EQ(count, static_cast<int>(out.size()) - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Values, VarLenTest,
    ::testing::Values(VarLenCase{0, "00"}, VarLenCase{1, "01"}, VarLenCase{127, "7F"},
                      VarLenCase{128, "81 00"}, VarLenCase{144, "81 10"},
                      VarLenCase{0x2000, "C0 00"}, VarLenCase{0x3FFF, "FF 7F"},
                      VarLenCase{0x4000, "81 80 00"}, VarLenCase{0x1FFFFF, "FF FF 7F"},
                      VarLenCase{0x200000, "81 80 80 00"}, VarLenCase{0x08000000, "C0 80 80 00"},
                      VarLenCase{0x0FFFFFFF, "FF FF FF 7F"},
                      // Beyond what a MIDI file can hold: the largest value.
                      VarLenCase{0x10000000, "FF FF FF 7F"}, VarLenCase{0xFFFFFFFF, "FF FF FF 7F"}),
    [](const auto& info) { return "Value" + std::to_string(info.param.value); });

struct EncoderCase {
    std::string name;
    std::function<int(MidiBytes&)> write;
    std::string bytes;
};

class EncoderTest : public ::testing::TestWithParam<EncoderCase> {};

TEST_P(EncoderTest, AppendsItsBytesAndReturnsTheirCount) {
    MidiBytes out{0x55};
    const int count = GetParam().write(out);
    EXPECT_EQ(Hex(out), "55 " + GetParam().bytes);
    EXPECT_EQ(count, static_cast<int>(out.size()) - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Events, EncoderTest,
    ::testing::Values(
        EncoderCase{"Byte", [](MidiBytes& o) { return WriteByte(o, 0x9C); }, "9C"},
        EncoderCase{"Word16", [](MidiBytes& o) { return WriteWord16(o, 0x0102); }, "01 02"},
        EncoderCase{"Word32", [](MidiBytes& o) { return WriteWord32(o, 0x0A0B0C0D); },
                    "0A 0B 0C 0D"},
        EncoderCase{"ChunkId", [](MidiBytes& o) { return WriteChunkId(o, "MTrk"); }, "4D 54 72 6B"},
        EncoderCase{"NoteOnWithStatus", [](MidiBytes& o) { return NoteOnWithStatus(o, 62, 127); },
                    "00 90 3E 7F"},
        EncoderCase{"SilentNoteOnWithStatus",
                    [](MidiBytes& o) { return NoteOnWithStatus(o, 60, 0); }, "00 90 3C 00"},
        EncoderCase{"NoteOn", [](MidiBytes& o) { return NoteOnEvent(o, 59); }, "00 3B 7F"},
        EncoderCase{"NoteOff", [](MidiBytes& o) { return NoteOffEvent(o, 62, 96); }, "60 3E 00"},
        EncoderCase{"NoteOffLongDelta", [](MidiBytes& o) { return NoteOffEvent(o, 64, 576); },
                    "84 40 40 00"},
        EncoderCase{"TrackName", [](MidiBytes& o) { return TrackNameEvent(o, "Fretwick"); },
                    "00 FF 03 08 46 72 65 74 77 69 63 6B"},
        EncoderCase{"EmptyTrackName", [](MidiBytes& o) { return TrackNameEvent(o, ""); },
                    "00 FF 03 00"},
        EncoderCase{"ProgramChange", [](MidiBytes& o) { return ProgramChangeEvent(o, 105); },
                    "00 C0 69"},
        EncoderCase{"ProgramTooHigh", [](MidiBytes& o) { return ProgramChangeEvent(o, 300); },
                    "00 C0 7F"},
        EncoderCase{"ProgramTooLow", [](MidiBytes& o) { return ProgramChangeEvent(o, -1); },
                    "00 C0 00"},
        EncoderCase{"TimeSignature", [](MidiBytes& o) { return TimeSignatureEvent(o); },
                    "00 FF 58 04 04 02 18 08"},
        EncoderCase{"Tempo", [](MidiBytes& o) { return TempoEvent(o, 500000); },
                    "00 FF 51 03 07 A1 20"},
        EncoderCase{"TempoTooSlow", [](MidiBytes& o) { return TempoEvent(o, 20000000); },
                    "00 FF 51 03 FF FF FF"},
        EncoderCase{"EndOfTrack", [](MidiBytes& o) { return EndOfTrackEvent(o); }, "00 FF 2F 00"}),
    [](const auto& info) { return info.param.name; });

TEST(TrackNameEventTest, CutsALongNameSoItsLengthFitsOneDataByte) {
    MidiBytes out;
    const int count = TrackNameEvent(out, std::string(200, 'a'));
    ASSERT_EQ(out.size(), 4u + 127u);
    EXPECT_EQ(count, 131);
    EXPECT_EQ(out[3], 127);
    EXPECT_EQ(out.back(), 'a');
}

} // namespace
} // namespace fw

#include "sound_fixture.h"
#include "tests/support/case_name.h"

#include "sound/midi_port.h"

#include <gmock/gmock.h>

namespace fw::test {
namespace {

using testing::ElementsAre;
using Kind = RecordingOutput::Kind;

// --- Message bytes -----------------------------------------------------------------------------

struct ByteCase {
    const char* what;
    std::uint8_t channel;
    int octave;
    std::uint32_t noteOn62;
    std::uint32_t noteOff62;
    std::uint32_t programChange0; // patch 105, offset 0
    std::uint32_t programChange1; // patch 105, offset 1
};

class MessageBytes : public testing::TestWithParam<ByteCase> {};

TEST_P(MessageBytes, NoteOnNoteOffAndBothProgramChanges) {
    const ByteCase& c = GetParam();
    SoundFixture f;
    f.settings.Channel = c.channel;
    f.settings.Octave = c.octave;
    f.settings.Patch = 105;
    ASSERT_EQ(f.port.OpenMidiPort(), "");
    f.port.NoteOn(62);
    f.port.NoteOff(62);
    f.port.SelectPatch();
    EXPECT_THAT(f.Packed(),
                ElementsAre(c.noteOn62, c.noteOff62, c.programChange0, c.programChange1));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, MessageBytes,
    testing::Values(
        ByteCase{"channel 0", 0, 0, 0x007F3E91, 0x00003E81, 0x000069C0, 0x000069C1},
        ByteCase{"channel 9 (drums)", 9, 0, 0x007F3E9A, 0x00003E8A, 0x000069C9, 0x000069CA},
        // Channel 16: the note channel wraps to channel 1 and the messages keep their kind.
        ByteCase{"channel 15", 15, 0, 0x007F3E90, 0x00003E80, 0x000069CF, 0x000069C0},
        ByteCase{"octave up", 0, 12, 0x007F4A91, 0x00004A81, 0x000069C0, 0x000069C1},
        ByteCase{"octave down", 0, -12, 0x007F3291, 0x00003281, 0x000069C0, 0x000069C1}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
        return name;
    });

TEST(MessageBytes, ChannelFifteenNeverProducesOtherMessageKinds) {
    SoundFixture f;
    f.settings.Channel = 15;
    ASSERT_EQ(f.port.OpenMidiPort(), "");
    f.port.NoteOn(62);
    f.port.NoteOff(62);
    f.port.ProgramChange(0, 1);
    for (std::uint32_t m : f.Packed())
        EXPECT_NE(m & 0xF0, 0xA0u) << std::hex << m;
    EXPECT_EQ(f.Packed()[0] & 0xFF, 0x90u);
    EXPECT_EQ(f.Packed()[1] & 0xFF, 0x80u);
    EXPECT_EQ(f.Packed()[2] & 0xFF, 0xC0u);
}

TEST(MessageBytes, SettingsAreReadAtEveryMessage) {
    SoundFixture f;
    ASSERT_EQ(f.port.OpenMidiPort(), "");
    f.port.NoteOn(62);
    f.settings.Channel = 3;
    f.settings.Octave = 12;
    f.port.NoteOn(62);
    f.settings.Patch = 0;
    f.port.SelectPatch();
    EXPECT_THAT(f.Packed(), ElementsAre(0x007F3E91u, 0x007F4A94u, 0x000000C3u, 0x000000C4u));
}

TEST(MessageBytes, SendShortMessageAddsTheChannelToAnyStatus) {
    SoundFixture f;
    f.settings.Channel = 2;
    ASSERT_EQ(f.port.OpenMidiPort(), "");
    f.port.SendShortMessage(0xB1, 7, 100);
    EXPECT_THAT(f.Packed(), ElementsAre(0x006407B3u));
}

TEST(MessageBytes, NothingIsSentWhileClosed) {
    SoundFixture f;
    f.port.NoteOn(62);
    f.port.NoteOff(62);
    f.port.SelectPatch();
    f.port.SendShortMessage(0x91, 1, 2);
    EXPECT_TRUE(f.device.Events().empty());
}

// --- Opening and closing -----------------------------------------------------------------------

struct OpenCase {
    int code;
    const char* text;
};

class OpenErrors : public testing::TestWithParam<OpenCase> {};

TEST_P(OpenErrors, ResultCodeBecomesItsTextAndThePortStaysClosed) {
    const OpenCase& c = GetParam();
    EXPECT_EQ(MidiOpenErrorText(c.code), c.text);

    SoundFixture f;
    f.device.FailOpensWith(c.code);
    EXPECT_EQ(f.port.OpenMidiPort(), c.text);
    EXPECT_EQ(f.port.IsOpen(), c.code == MidiResultOk);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, OpenErrors,
    testing::Values(OpenCase{0, ""},
                    OpenCase{2, "The specified device identifier is out of range."},
                    OpenCase{4, "The MIDI device is already in use."},
                    OpenCase{7, "The system is unable to allocate or lock memory."},
                    OpenCase{11, "The specified pointer or structure is invalid."},
                    OpenCase{68, "No MIDI port was found."}, OpenCase{1, "Error"},
                    OpenCase{5, "Error"}, OpenCase{-3, "Error"}),
    [](const auto& info) { return "Code" + fw::cases::NumberName(info.param.code); });

TEST(OpenMidiPort, OpensTheSettingsDevice) {
    SoundFixture f;
    f.settings.Device = 1;
    ASSERT_EQ(f.port.OpenMidiPort(), "");
    f.settings.Device = 5; // out of range for the two recorded ports
    f.port.CloseMidiPort();
    EXPECT_EQ(f.port.OpenMidiPort(), "The specified device identifier is out of range.");
    std::vector<int> opened;
    for (const auto& e : f.device.Events()) {
        if (e.kind == Kind::Open)
            opened.push_back(e.device);
    }
    EXPECT_THAT(opened, ElementsAre(1, 5));
}

TEST(OpenMidiPort, OpeningAnOpenPortKeepsIt) {
    SoundFixture f;
    ASSERT_EQ(f.port.OpenMidiPort(), "");
    EXPECT_EQ(f.port.OpenMidiPort(), "");
    EXPECT_TRUE(f.port.IsOpen());
    EXPECT_EQ(f.device.Count(Kind::Open), 1);
}

TEST(CloseMidiPort, AfterAFailedOpenTouchesNothing) {
    SoundFixture f;
    f.device.FailOpensWith(MidiResultAllocated);
    EXPECT_EQ(f.port.OpenMidiPort(), "The MIDI device is already in use.");
    f.port.CloseMidiPort();
    EXPECT_EQ(f.device.Count(Kind::Close), 0);
    EXPECT_EQ(f.device.Count(Kind::Open), 1);
}

TEST(CloseMidiPort, TwiceClosesOnce) {
    SoundFixture f;
    ASSERT_EQ(f.port.OpenMidiPort(), "");
    f.port.CloseMidiPort();
    f.port.CloseMidiPort();
    EXPECT_EQ(f.device.Count(Kind::Close), 1);
    EXPECT_FALSE(f.port.IsOpen());
}

// --- Soundings ---------------------------------------------------------------------------------

std::vector<Kind> OpenCloseSendKinds(const RecordingOutput& device) {
    std::vector<Kind> kinds;
    for (const auto& e : device.Events()) {
        if (e.kind == Kind::Open || e.kind == Kind::Close || e.kind == Kind::Send)
            kinds.push_back(e.kind);
    }
    return kinds;
}

TEST(Soundings, TwoPreviewsInARowOpenAndCloseTwice) {
    SoundFixture f;
    const ChordEntry g = Chord("G, 0, 0, 0, 0, 0, Q");
    PreviewChord(f.port, f.player, g.Note, g.HammerNote);
    PreviewChord(f.port, f.player, g.Note, g.HammerNote);
    const std::vector<Kind> one = {Kind::Open, Kind::Send, Kind::Send, Kind::Send, Kind::Send,
                                   Kind::Send, Kind::Send, Kind::Send, Kind::Send, Kind::Send,
                                   Kind::Send, Kind::Send, Kind::Send, Kind::Close};
    std::vector<Kind> two = one;
    two.insert(two.end(), one.begin(), one.end());
    EXPECT_EQ(OpenCloseSendKinds(f.device), two);
    EXPECT_FALSE(f.port.IsOpen());
}

TEST(Soundings, FailedOpenKeepsTheTimingAndSendsNothing) {
    SoundFixture f;
    f.device.FailOpensWith(MidiResultAllocated);
    const ChordEntry g = Chord("G, 0, 0, 0, 0, 0, W");
    EXPECT_EQ(f.port.AcquirePort(), "The MIDI device is already in use.");
    f.port.SelectPatch();
    f.player.PlayChord(g.Note, g.HammerNote, 2000, true);
    f.port.ReleasePort();
    EXPECT_EQ(Ms(f.clock.Now()), 2000);
    EXPECT_EQ(f.device.Count(Kind::Send), 0);
    EXPECT_EQ(f.device.Count(Kind::Close), 0);
}

TEST(Soundings, AcquireShowsTheBusyCursorAroundTheOpen) {
    SoundFixture f;
    std::vector<std::string> log;
    f.port.BusyCursor = [&](bool busy) {
        log.push_back(std::string(busy ? "busy" : "normal") +
                      " opens=" + std::to_string(f.device.Count(Kind::Open)));
    };
    EXPECT_EQ(f.port.AcquirePort(), "");
    EXPECT_THAT(log, ElementsAre("busy opens=0", "normal opens=1"));
}

TEST(Soundings, AcquireWithoutACursorHookStillOpens) {
    SoundFixture f;
    EXPECT_EQ(f.port.AcquirePort(), "");
    EXPECT_TRUE(f.port.IsOpen());
    f.port.ReleasePort();
    EXPECT_FALSE(f.port.IsOpen());
}

TEST(Soundings, ExternalMidiModeKeepsThePortOpenForTheRun) {
    SoundFixture f;
    f.port.SetExternalMidiActive(true);
    bool cursorShown = false;
    f.port.BusyCursor = [&](bool) { cursorShown = true; };
    ASSERT_EQ(f.port.OpenMidiPort(), ""); // at the first activation
    f.port.SelectPatch();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(f.port.AcquirePort(), "");
        f.port.SelectPatch();
        f.port.NoteOn(62);
        f.port.ReleasePort();
    }
    EXPECT_TRUE(f.port.IsOpen());
    EXPECT_FALSE(cursorShown);
    EXPECT_EQ(f.device.Count(Kind::Open), 1);
    EXPECT_EQ(f.device.Count(Kind::Close), 0);
    f.port.CloseMidiPort(); // at shutdown
    EXPECT_EQ(f.device.Count(Kind::Close), 1);
}

TEST(Soundings, ExternalMidiModeAfterAFailedOpenStaysSilent) {
    SoundFixture f;
    f.port.SetExternalMidiActive(true);
    f.device.FailOpensWith(MidiResultNoDevice);
    EXPECT_EQ(f.port.OpenMidiPort(), "No MIDI port was found.");
    EXPECT_EQ(f.port.AcquirePort(), "");
    f.port.NoteOn(62);
    EXPECT_EQ(f.device.Count(Kind::Open), 1);
    EXPECT_EQ(f.device.Count(Kind::Send), 0);
}

// --- Device names ------------------------------------------------------------------------------

TEST(DeviceNames, CountLeavesOutTheBuiltInSynth) {
    SoundFixture f;
    EXPECT_EQ(f.port.MidiOutDeviceCount(), 2);
}

struct NameCase {
    int id;
    const char* name;
    bool asked; // whether the device was asked for the name
};

class DeviceNames : public testing::TestWithParam<NameCase> {};

TEST_P(DeviceNames, NameAndWhetherTheDeviceWasAsked) {
    const NameCase& c = GetParam();
    SoundFixture f;
    EXPECT_EQ(f.port.MidiOutDeviceName(c.id), c.name);
    EXPECT_EQ(f.device.Count(Kind::NameQuery), c.asked ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Ids, DeviceNames,
                         testing::Values(NameCase{-1, "Fretwick Synthesizer", true},
                                         NameCase{0, "Port A", true}, NameCase{1, "Port B", true},
                                         NameCase{2, "", false}, NameCase{7, "", false},
                                         // Below the count, so the device is asked; it knows none.
                                         NameCase{-2, "", true}),
                         [](const auto& info) {
                             return "Id" + fw::cases::NumberName(info.param.id);
                         });

} // namespace
} // namespace fw::test

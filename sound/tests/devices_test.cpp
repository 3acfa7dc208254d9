#include "sound/audio_driver.h"
#include "sound/port_output.h"
#include "sound/recording_output.h"
#include "sound/short_message.h"
#include "sound/soundfont.h"
#include "sound/synth_output.h"
#include "sound/system_output.h"
#include "sound/virtual_play_clock.h"
#include "tests/support/case_name.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fw {
namespace {

// --- Short messages ----------------------------------------------------------------------------

TEST(ShortMessage, PackAndUnpackAreInverse) {
    constexpr std::uint32_t packed = PackShortMessage(0x91, 62, 127);
    static_assert(packed == 0x007F3E91);
    const ShortMessage m = UnpackShortMessage(packed);
    EXPECT_EQ(m.status, 0x91);
    EXPECT_EQ(m.Kind(), 0x90);
    EXPECT_EQ(m.Channel(), 1);
    EXPECT_EQ(m.data1, 62);
    EXPECT_EQ(m.data2, 127);
}

TEST(ShortMessage, UnpackIgnoresTheTopByte) {
    EXPECT_EQ(UnpackShortMessage(0xFF003E81).data2, 0);
}

struct LengthCase {
    std::uint8_t status;
    int length;
};

class MessageLength : public testing::TestWithParam<LengthCase> {};

TEST_P(MessageLength, ByStatus) {
    EXPECT_EQ(ShortMessageLength(GetParam().status), GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, MessageLength,
    testing::Values(LengthCase{0x80, 3}, LengthCase{0x9F, 3}, LengthCase{0xA3, 3},
                    LengthCase{0xB0, 3}, LengthCase{0xC0, 2}, LengthCase{0xC1, 2},
                    LengthCase{0xDF, 2}, LengthCase{0xE5, 3}, LengthCase{0xF0, 0},
                    LengthCase{0xF1, 2}, LengthCase{0xF2, 3}, LengthCase{0xF3, 2},
                    LengthCase{0xF8, 1}, LengthCase{0xFE, 1}, LengthCase{0x3E, 0},
                    LengthCase{0x00, 0}),
    [](const auto& info) {
        return "Status" + fw::cases::HexName(std::string(1, static_cast<char>(info.param.status)));
    });

// --- Soundfont search --------------------------------------------------------------------------

class SoundFontSearch : public testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("fretwick_sf_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "_" + testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // A file that starts as a soundfont (or as `head` says).
    std::string Make(const std::string& name, const std::string& head = {"RIFF\0\0\0\0sfbk", 12}) {
        const auto path = dir_ / name;
        std::ofstream(path, std::ios::binary) << head;
        return path.string();
    }
    std::string Missing(const std::string& name) const { return (dir_ / name).string(); }

    std::filesystem::path dir_;
};

TEST_F(SoundFontSearch, ThePreferredFileComesFirst) {
    const std::string mine = Make("mine.sf2");
    const std::string standard = Make("standard.sf2");
    EXPECT_EQ(FindSoundFont(mine, {standard}), mine);
}

TEST_F(SoundFontSearch, AMissingPreferredFileFallsBackToTheListInOrder) {
    const std::string second = Make("second.sf2");
    const std::string third = Make("third.sf2");
    EXPECT_EQ(FindSoundFont(Missing("gone.sf2"), {Missing("first.sf2"), second, third}), second);
    EXPECT_EQ(FindSoundFont("", {third, second}), third);
}

TEST_F(SoundFontSearch, OnlySoundBanksCount) {
    const std::string text = Make("notes.sf2", "just some text");
    const std::string wave = Make("sound.sf2", std::string("RIFF\0\0\0\0WAVE", 12));
    const std::string shortFile = Make("short.sf2", "RIFF");
    const std::string dls = Make("bank.dls", std::string("RIFF\0\0\0\0DLS ", 12));
    EXPECT_EQ(FindSoundFont(text, {wave, shortFile, dls}), dls);
}

TEST_F(SoundFontSearch, AFolderIsNotASoundFont) {
    EXPECT_EQ(FindSoundFont(dir_.string(), {dir_.string()}), "");
}

TEST_F(SoundFontSearch, NothingFoundGivesTheEmptyText) {
    EXPECT_EQ(FindSoundFont("", {Missing("a.sf2"), Missing("b.sf2")}), "");
    EXPECT_EQ(FindSoundFont("", {}), "");
}

TEST(StandardSoundFonts, SearchOrder) {
    EXPECT_EQ(StandardSoundFonts(),
              (std::vector<std::string>{"/usr/share/sounds/sf2/default-GM.sf2",
                                        "/usr/share/sounds/sf2/FluidR3_GM.sf2",
                                        "/usr/share/sounds/sf2/TimGM6mb.sf2"}));
}

// --- Recording device --------------------------------------------------------------------------

TEST(RecordingOutput, BehavesAsOneDeviceAtATimeAndKeepsTimes) {
    VirtualPlayClock clock;
    RecordingOutput device(&clock, {"Only port"});
    EXPECT_EQ(device.Open(1), MidiResultBadDeviceId);
    EXPECT_EQ(device.Open(-2), MidiResultBadDeviceId);
    EXPECT_EQ(device.Open(0), MidiResultOk);
    EXPECT_EQ(device.Open(-1), MidiResultAllocated);
    clock.Advance(std::chrono::milliseconds(7));
    device.Send(0x007F3E91);
    device.Close();
    EXPECT_FALSE(device.IsOpen());
    device.FailOpensWith(MidiResultNoMemory);
    EXPECT_EQ(device.Open(-1), MidiResultNoMemory);
    EXPECT_FALSE(device.IsOpen());

    const auto& events = device.Events();
    ASSERT_EQ(events.size(), 7u);
    EXPECT_EQ(events[4].kind, RecordingOutput::Kind::Send);
    EXPECT_EQ(events[4].time, std::chrono::milliseconds(7));
    EXPECT_EQ(events[4].device, 0);
    EXPECT_EQ(events[4].message, 0x007F3E91u);
    EXPECT_EQ(events[6].result, MidiResultNoMemory);
    EXPECT_EQ(device.Count(RecordingOutput::Kind::Open), 5);
}

// --- Audio output ------------------------------------------------------------------------------

TEST(AudioDriverOrder, JackOnlyWithARunningServerAndLast) {
    const std::vector<std::string> usual = {"pipewire", "pulseaudio", "alsa", "sdl2"};
    EXPECT_EQ(AudioDriverOrder(false), usual);
    std::vector<std::string> withJack = usual;
    withJack.push_back("jack");
    EXPECT_EQ(AudioDriverOrder(true), withJack);
}

// --- Device rules that hold with or without sound hardware -------------------------------------

TEST(PortOutput, IdsOutsideThePortsAreOutOfRangeAndQuiet) {
    testing::internal::CaptureStderr();
    PortOutput ports;
    const int count = ports.DeviceCount();
    // Every counted port can be named: the count is the ports there are, not a guess.
    for (int id = 0; id < count; ++id)
        EXPECT_NE(ports.DeviceName(id), "") << "port " << id;
    EXPECT_EQ(ports.DeviceName(count), "");
    EXPECT_EQ(ports.DeviceName(-1), "");
    EXPECT_EQ(ports.Open(count), MidiResultBadDeviceId);
    EXPECT_EQ(ports.Open(-1), MidiResultBadDeviceId);
    ports.Send(0x007F3E91); // not open: ignored
    ports.Close();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(SynthOutput, IsDeviceMinusOneOnly) {
    SynthOutput synth;
    EXPECT_EQ(synth.DeviceCount(), 0);
    EXPECT_EQ(synth.DeviceName(-1), "Fretwick Synthesizer");
    EXPECT_EQ(synth.DeviceName(0), "");
    EXPECT_EQ(synth.Open(0), MidiResultBadDeviceId);
    synth.Send(0x007F3E91); // not open: ignored
    synth.Close();
}

// With sound the synth opens; without, it says so. Either way quietly, and the same each time.
TEST(SynthOutput, ReopensWithTheSameResultAndNoNoise) {
    testing::internal::CaptureStderr();
    SynthOutput synth;
    synth.Prepare();
    static_cast<void>(synth.Problem()); // waits for the loading, so the open says how it went
    const int first = synth.Open(-1);
    if (first == MidiResultOk) {
        EXPECT_EQ(synth.Problem(), "");
        EXPECT_EQ(synth.Open(-1), MidiResultAllocated);
        synth.Close();
        EXPECT_EQ(synth.Open(-1), MidiResultOk);
        synth.Close();
    } else {
        EXPECT_TRUE(first == MidiResultNoDevice || first == MidiResultError) << first;
        EXPECT_NE(synth.Problem(), "");
        EXPECT_EQ(synth.Open(-1), first);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(SystemOutput, NamesTheSynthAndRejectsUnknownIds) {
    testing::internal::CaptureStderr();
    SystemOutput system;
    const int count = system.DeviceCount();
    EXPECT_EQ(system.DeviceName(-1), "Fretwick Synthesizer");
    EXPECT_EQ(system.DeviceName(count), "");
    EXPECT_EQ(system.Open(count), MidiResultBadDeviceId);
    EXPECT_EQ(system.Open(-2), MidiResultBadDeviceId);
    system.Close(); // nothing open: nothing to do
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

} // namespace
} // namespace fw

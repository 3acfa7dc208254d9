// The program's MIDI file player with its own synthesizer and audio output, on a machine
// without sound: the sound servers and ALSA are pointed at nothing, and the audio output is
// SDL's "dummy" driver, which consumes the audio at its real pace. Nothing here depends on how
// fast the machine is: the waits are generous and only check that something happens.

#include "sound/fluid_midi_file_player.h"

#include "export/midi_file_writer.h"
#include "export/tests/midi_test_support.h"
#include "export/tests/temp_folder.h"
#include "many_notes_midi.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>

#include <unistd.h>

namespace fw {
namespace {

// Sets environment variables for the life of the object, then puts back what was there.
class ScopedEnvironment {
public:
    explicit ScopedEnvironment(const std::map<std::string, std::string>& values) {
        for (const auto& [name, value] : values) {
            const char* old = std::getenv(name.c_str());
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
            ::setenv(name.c_str(), value.c_str(), 1);
        }
    }
    ~ScopedEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

// No sound server and no ALSA card can be reached; SDL uses `sdlDriver`.
std::map<std::string, std::string> NoSoundExcept(const std::string& sdlDriver) {
    return {{"PULSE_SERVER", "unix:/nonexistent/pulse"},
            {"PIPEWIRE_REMOTE", "/nonexistent/pipewire"},
            {"ALSA_CARD", "NoSuchCard"},
            {"JACK_DEFAULT_SERVER", "no-such-server"},
            {"SDL_AUDIODRIVER", sdlDriver}};
}

// Every test's player is gone (and with it SDL's audio part) before the next test sets the
// environment SDL reads when its audio part starts.

// Waits (without a fixed pace) until `done` holds, for at most a minute.
bool Eventually(const std::function<bool()>& done) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TEST(FluidMidiFilePlayer, LoadsItsSoundsInTheBackgroundAndPlaysAFile) {
    ScopedEnvironment environment(NoSoundExcept("dummy"));
    test::TempFolder folder;
    const std::string path = folder / "tune.MID";
    const MidiBytes bytes = BuildMidiFile(
        test::Song({"G, 0, 0, 0, 0, 0, W", "C, 2, 1, 2, 0, 0, W"}), 120, 105, test::NoOffsets);
    test::WriteText(path, std::string(bytes.begin(), bytes.end()));
    const std::string damaged = folder / "damaged.mid";
    test::WriteText(damaged, "MThd");

    FluidMidiFilePlayer player;
    EXPECT_FALSE(player.IsOpen());
    EXPECT_EQ(player.Mode(), PlayerMode::Stopped);
    player.Prepare();
    ASSERT_TRUE(Eventually([&] { return player.IsReady(); }));

    ASSERT_EQ(player.Open(QString()), "");
    EXPECT_TRUE(player.IsOpen());
    EXPECT_EQ(player.Position().lengthMs, 0);
    player.Play(); // no file: nothing
    EXPECT_EQ(player.Mode(), PlayerMode::Stopped);

    const QString tune = QString::fromStdString(path);
    ASSERT_EQ(player.Open(tune), "");
    EXPECT_EQ(player.Position().lengthMs, 4000); // two whole notes at 120
    player.SeekToStart();
    player.Play();
    EXPECT_EQ(player.Mode(), PlayerMode::Playing);
    // The audio output asks for the sound, and with it playback moves on.
    EXPECT_TRUE(Eventually([&] { return player.Position().positionMs > 0; }));

    EXPECT_EQ(player.Open(QString::fromStdString(damaged)),
              "Not a MIDI file: " + QString::fromStdString(damaged));
    EXPECT_EQ(player.Mode(), PlayerMode::Playing); // the loaded file plays on

    player.Pause();
    EXPECT_EQ(player.Mode(), PlayerMode::Paused);
    ASSERT_TRUE(player.Resume());
    EXPECT_EQ(player.Mode(), PlayerMode::Playing);
    player.Stop();
    EXPECT_EQ(player.Mode(), PlayerMode::Stopped);
    EXPECT_FALSE(player.Resume());

    player.Close();
    EXPECT_FALSE(player.IsOpen());
    EXPECT_EQ(player.Position().lengthMs, 0);
    player.Play(); // closed: nothing
    EXPECT_EQ(player.Mode(), PlayerMode::Stopped);

    // Given back and made again.
    player.Release();
    EXPECT_FALSE(player.IsReady());
    EXPECT_EQ(player.Open(tune), "");
    EXPECT_TRUE(player.IsReady());
}

// The resident memory of this process, in MiB.
double ResidentMiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1 << 20);
}

// Replaying frees each old player, whichever output renders: ALSA's null device takes a
// render function of ours (on any machine); SDL's output renders the synth by itself and is
// stopped while a player is replaced.
struct ReplayOutput {
    const char* name;
    bool alsaNull; // else SDL's dummy output
};

class ReplayingFreesEachOldPlayer : public ::testing::TestWithParam<ReplayOutput> {};

TEST_P(ReplayingFreesEachOldPlayer, ThroughTheOutput) {
    test::TempFolder folder;
    std::map<std::string, std::string> values = NoSoundExcept("dummy");
    if (GetParam().alsaNull) {
        const std::string alsaConfig = folder / "asound.conf";
        std::ofstream(alsaConfig) << "pcm.!default { type null }\n";
        values = NoSoundExcept("no-such-driver");
        values["ALSA_CONFIG_PATH"] = alsaConfig;
        values.erase("ALSA_CARD");
    }
    ScopedEnvironment environment(values);
    const std::string path = folder / "many.mid";
    std::ofstream(path, std::ios::binary) << test::ManyNotesMidi(200'000); // 400,001 events
    FluidMidiFilePlayer player;
    ASSERT_EQ(player.Open(QString::fromStdString(path)), "");
    const auto press = [&player] {
        player.SeekToStart();
        player.Play();
        // Playing from the start once the audio output has had the player read its file.
        ASSERT_TRUE(Eventually([&] { return player.Position().positionMs > 0; }));
    };
    press();
    const double loaded = ResidentMiB();
    for (int i = 0; i < 10; ++i)
        press();
    EXPECT_EQ(player.Mode(), PlayerMode::Playing);
    // A player kept for every press would hold about 20 MiB each.
    EXPECT_LT(ResidentMiB() - loaded, 15.0);
}

INSTANTIATE_TEST_SUITE_P(Outputs, ReplayingFreesEachOldPlayer,
                         ::testing::Values(ReplayOutput{"AlsaNullDevice", true},
                                           ReplayOutput{"SdlDummy", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FluidMidiFilePlayer, WithoutAudioOutputSaysSoAndStaysClosed) {
    ScopedEnvironment environment(NoSoundExcept("no-such-driver"));
    FluidMidiFilePlayer player;
    player.Prepare();
    ASSERT_TRUE(Eventually([&] { return player.IsReady(); }));
    EXPECT_EQ(player.Open(QString()), "No audio output was found.");
    EXPECT_FALSE(player.IsOpen());
    player.Play();
    player.Pause();
    EXPECT_FALSE(player.Resume());
    EXPECT_EQ(player.Mode(), PlayerMode::Stopped);
}

TEST(FluidMidiFilePlayer, ReleasingWhileTheSoundsLoadLeavesThePlayerUsable) {
    ScopedEnvironment environment(NoSoundExcept("no-such-driver"));
    FluidMidiFilePlayer player;
    player.Prepare();
    player.Release(); // whatever the loading thread is doing, this returns
    EXPECT_FALSE(player.IsReady());
    player.Prepare();
    ASSERT_TRUE(Eventually([&] { return player.IsReady(); }));
    EXPECT_EQ(player.Open(QString()), "No audio output was found.");
}

} // namespace
} // namespace fw

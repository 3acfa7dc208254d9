// The file player's memory: replaying a big file frees the player it replaces instead of keeping
// every one ever made, and a file whose events would pass the budget is refused by size.

#include "sound/fluid_file_playback.h"
#include "sound/fluid_support.h"
#include "sound/midi_file_timing.h"

#include "export/tests/temp_folder.h"
#include "many_notes_midi.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <memory>

#include <unistd.h>

namespace fw {
namespace {

// The resident memory of this process, in MiB.
double ResidentMiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1 << 20);
}

class PlayerMemory : public testing::Test {
protected:
    void SetUp() override {
        loaded = MakeLoadedSynth("", 44100);
        ASSERT_EQ(loaded.error, "");
    }
    QString WriteManyNotes(std::uint32_t notes) {
        const std::string path = folder / "many.mid";
        std::ofstream(path, std::ios::binary) << test::ManyNotesMidi(notes);
        return QString::fromStdString(path);
    }
    // Renders a few blocks: the player reads its file at its first turn.
    static void RenderSome(FluidFilePlayback& playback) {
        std::array<float, 256> left{}, right{};
        for (int i = 0; i < 8; ++i)
            ASSERT_TRUE(playback.Render(256, left.data(), right.data()));
    }

    test::TempFolder folder;
    LoadedSynth loaded;
};

TEST_F(PlayerMemory, ReplayingABigFileCostsNothing) {
    FluidFilePlayback playback(loaded.synth.get());
    ASSERT_EQ(playback.Load(WriteManyNotes(200'000)), QString()); // 1.4 MB, 400,001 events
    playback.Play();
    RenderSome(playback);
    const double loadedMiB = ResidentMiB();
    for (int press = 0; press < 20; ++press) {
        // The window's Play: to the start, then play.
        playback.SeekToStart();
        playback.Play();
        RenderSome(playback);
        ASSERT_EQ(playback.Mode(), PlayerMode::Playing) << "press " << press;
    }
    // Each player kept would hold about 20 MiB of parsed events.
    EXPECT_LT(ResidentMiB() - loadedMiB, 15.0);
}

TEST_F(PlayerMemory, AFileOverTheBudgetIsRefusedWithItsSize) {
    FluidFilePlayback playback(loaded.synth.get(), 10 << 20);
    const QString path = WriteManyNotes(200'000);
    EXPECT_EQ(playback.Load(path).toStdString(),
              "The MIDI file is too big to play: " + path.toStdString() +
                  " has 400,001 events, which need about 21 MiB; the MIDI player holds at most "
                  "10 MiB.");
    EXPECT_FALSE(playback.HasFile());
    FluidFilePlayback roomy(loaded.synth.get(), 30 << 20);
    EXPECT_EQ(roomy.Load(path), QString());
}

TEST(MidiFileTimingEvents, CountsEveryEventOfEveryTrack) {
    const std::string file = test::ManyNotesMidi(1000);
    const std::optional<MidiFileTiming> timing = MidiFileTiming::Scan(
        std::span(reinterpret_cast<const std::uint8_t*>(file.data()), file.size()));
    ASSERT_TRUE(timing);
    EXPECT_EQ(timing->Events(), 2001);
    EXPECT_EQ(timing->LengthTicks(), 10'000);
}

} // namespace
} // namespace fw

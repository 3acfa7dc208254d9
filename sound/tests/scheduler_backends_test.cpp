// The schedulers behind a play: FluidSynth's sequencer, driven here by rendering the audio by
// hand with no audio output, and the playback thread of the external ports.

#include "sound/fluid_scheduler.h"
#include "sound/fluid_support.h"
#include "sound/recording_output.h"
#include "sound/short_message.h"
#include "sound/thread_scheduler.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <optional>

namespace fw {
namespace {

using namespace std::chrono_literals;
using testing::ElementsAre;

constexpr int SampleRate = 44100;
constexpr int Block = 64; // the synthesizer's own block size

class SequencerTest : public testing::Test {
protected:
    void SetUp() override {
        // The soundfont package is a test dependency: without it this test fails.
        loaded = MakeLoadedSynth("", SampleRate);
        ASSERT_EQ(loaded.error, "");
        std::string error;
        scheduler = FluidScheduler::Make(loaded.synth.get(), &error);
        ASSERT_TRUE(scheduler) << error;
        ASSERT_EQ(fluid_synth_program_change(loaded.synth.get(), 1, 105), FLUID_OK);
    }

    // Renders one block; true when any sample is audible. The effects leave a trace far
    // below hearing (about -100 dB) even when no note sounds.
    bool RenderBlock() {
        std::array<float, Block> left{}, right{};
        EXPECT_EQ(fluid_synth_write_float(loaded.synth.get(), Block, left.data(), 0, 1,
                                          right.data(), 0, 1),
                  FLUID_OK);
        bool sound = false;
        for (int i = 0; i < Block; ++i) {
            const std::size_t k = static_cast<std::size_t>(i);
            if (std::abs(left[k]) > 1e-4f || std::abs(right[k]) > 1e-4f) {
                if (firstSound < 0)
                    firstSound = frames + i;
                sound = true;
            }
        }
        frames += Block;
        return sound;
    }

    // Renders until `ms` of audio have been made; returns the first frame of the first block
    // after which `sounding` (true: some voice, false: none) held, or -1.
    long long RenderUntil(long long ms, std::optional<bool> sounding = std::nullopt) {
        long long changedAt = -1;
        while (frames < ms * SampleRate / 1000) {
            const long long start = frames;
            RenderBlock();
            if (changedAt < 0 && sounding && (Voices() > 0) == *sounding)
                changedAt = start;
        }
        return changedAt;
    }

    int Voices() { return fluid_synth_get_active_voice_count(loaded.synth.get()); }

    // Voices whose note is still held: not yet let go by a note-off. A released voice fades
    // out over the instrument's release.
    int HeldVoices() {
        std::array<fluid_voice_t*, 256> voices{};
        fluid_synth_get_voicelist(loaded.synth.get(), voices.data(),
                                  static_cast<int>(voices.size()), -1);
        int held = 0;
        for (fluid_voice_t* voice : voices)
            held += voice && fluid_voice_is_on(voice) ? 1 : 0;
        return held;
    }

    LoadedSynth loaded;
    // Destroyed before the synth.
    std::unique_ptr<FluidScheduler> scheduler;
    long long frames = 0;
    long long firstSound = -1; // the first frame that is not silent
};

TEST_F(SequencerTest, NotesSoundAtTheirSampleTimeAndNotBefore) {
    scheduler->Schedule(100ms, PackShortMessage(0x91, 62, 127));
    scheduler->Schedule(300ms, PackShortMessage(0x81, 62, 0));
    EXPECT_EQ(scheduler->Pending(), 2u);
    EXPECT_EQ(RenderUntil(99, true), -1) << "nothing before its time";
    EXPECT_EQ(Voices(), 0);
    EXPECT_EQ(firstSound, -1);
    // The note starts at the block nearest its sample time (4410): the one from 4416.
    const long long onset = RenderUntil(120, true);
    EXPECT_EQ(onset, 4416);
    // and is heard as its attack rises, within a few milliseconds.
    EXPECT_GE(firstSound, onset);
    EXPECT_LT(firstSound, onset + 4 * Block);
    EXPECT_GE(scheduler->Now(), PlayTime(119ms));
    EXPECT_LE(scheduler->Now(), PlayTime(120ms));
    EXPECT_EQ(scheduler->Pending(), 1u);
    EXPECT_GT(HeldVoices(), 0);
    // Let go at 300 ms.
    RenderUntil(299);
    EXPECT_GT(HeldVoices(), 0);
    RenderUntil(302);
    EXPECT_EQ(HeldVoices(), 0);
    EXPECT_EQ(scheduler->Pending(), 0u);
}

// Times that fall at different places within a block: each note starts at the block nearest
// its exact sample time, never more than half a block away.
class SequencerOnsetTest : public SequencerTest, public testing::WithParamInterface<int> {};

TEST_P(SequencerOnsetTest, NoteStartsWithinHalfABlockOfItsTime) {
    const int ms = GetParam();
    scheduler->Schedule(std::chrono::milliseconds(ms), PackShortMessage(0x91, 62, 127));
    const long long onset = RenderUntil(ms + 10, true);
    const double exact = ms * SampleRate / 1000.0;
    EXPECT_EQ(onset % Block, 0);
    EXPECT_LE(std::abs(static_cast<double>(onset) - exact), Block / 2.0) << onset;
}

INSTANTIATE_TEST_SUITE_P(Times, SequencerOnsetTest, testing::Values(0, 1, 100, 101, 102, 250, 1003),
                         [](const testing::TestParamInfo<int>& info) {
                             return "At" + std::to_string(info.param) + "ms";
                         });

TEST_F(SequencerTest, StopRemovesEveryEventAndLeavesNoVoiceSounding) {
    bool late = false;
    for (int chord = 0; chord < 8; ++chord) {
        const auto start = std::chrono::milliseconds(250 * chord);
        for (int key : {62, 59, 55, 50, 67})
            scheduler->Schedule(start, PackShortMessage(0x91, key, 127));
        for (int key : {62, 59, 55, 50, 67})
            scheduler->Schedule(start + 250ms, PackShortMessage(0x81, key, 0));
    }
    scheduler->Schedule(100ms, PackShortMessage(0x99, 37, 100)); // a click that is never let go
    scheduler->ScheduleCallback(1900ms, [&late] { late = true; });
    RenderUntil(400);
    EXPECT_GT(HeldVoices(), 0);
    const int sounding = Voices();
    scheduler->CancelAll();
    EXPECT_EQ(scheduler->Pending(), 0u);
    // Every note is let go in the very next block, and no scheduled note ever starts again:
    // the voices only fade out.
    RenderBlock();
    EXPECT_EQ(HeldVoices(), 0);
    int most = Voices();
    while (frames < 2500LL * SampleRate / 1000) {
        RenderBlock();
        most = std::max(most, Voices());
    }
    EXPECT_LE(most, sounding);
    EXPECT_EQ(HeldVoices(), 0);
    EXPECT_FALSE(late);
}

// The sequencer keeps no order among events of one time; a chord's strings must still reach
// the synth as they were scheduled, string 1 to string 5, and a second chord's after them.
TEST_F(SequencerTest, NotesOfOneTimeReachTheSynthInTheOrderScheduled) {
    const std::vector<int> keys{62, 59, 55, 50, 67, 64, 60, 57, 52, 69};
    for (std::size_t i = 0; i < keys.size(); ++i)
        scheduler->Schedule(i < 5 ? 50ms : 51ms, PackShortMessage(0x91, keys[i], 127));
    RenderUntil(80);
    std::array<fluid_voice_t*, 256> voices{};
    fluid_synth_get_voicelist(loaded.synth.get(), voices.data(), static_cast<int>(voices.size()),
                              -1);
    std::vector<std::pair<unsigned int, int>> started; // voice id (counts up), key
    for (fluid_voice_t* voice : voices) {
        if (voice)
            started.emplace_back(fluid_voice_get_id(voice), fluid_voice_get_key(voice));
    }
    std::sort(started.begin(), started.end());
    std::vector<int> order;
    for (const auto& [id, key] : started) {
        if (std::find(order.begin(), order.end(), key) == order.end())
            order.push_back(key);
    }
    EXPECT_EQ(order, keys);
}

TEST_F(SequencerTest, CallbacksRunInTimeOrderWhileRendering) {
    std::vector<long long> ran;
    for (long long ms : {300, 100, 200})
        scheduler->ScheduleCallback(std::chrono::milliseconds(ms),
                                    [&ran, ms, this] { ran.push_back(ms); });
    RenderUntil(150);
    EXPECT_THAT(ran, ElementsAre(100));
    RenderUntil(400);
    EXPECT_THAT(ran, ElementsAre(100, 200, 300));
}

// Waits, with a generous bound, for a flag set on the playback thread.
struct Signal {
    std::mutex mutex;
    std::condition_variable changed;
    bool set = false;
    void Set() {
        std::lock_guard lock(mutex);
        set = true;
        changed.notify_all();
    }
    bool Wait() {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 10s, [this] { return set; });
    }
};

TEST(PlaybackThread, SendsInTimeOrderThenInTheOrderScheduled) {
    RecordingOutput device;
    ASSERT_EQ(device.Open(BuiltInSynthDevice), MidiResultOk);
    Signal done;
    {
        ThreadScheduler scheduler(device);
        const PlayTime now = scheduler.Now();
        scheduler.Schedule(now + 30ms, PackShortMessage(0x81, 62, 0));
        scheduler.Schedule(now + 10ms, PackShortMessage(0x91, 62, 127));
        scheduler.Schedule(now + 10ms, PackShortMessage(0x91, 59, 127));
        scheduler.Schedule(now - 5ms, PackShortMessage(0xC1, 105, 0)); // already due
        scheduler.Schedule(now + 30ms, PackShortMessage(0x81, 59, 0));
        scheduler.ScheduleCallback(now + 30ms, [&done] { done.Set(); });
        ASSERT_TRUE(done.Wait());
        EXPECT_EQ(scheduler.Pending(), 0u);
    }
    EXPECT_THAT(device.Packed(),
                ElementsAre(0x000069C1u, 0x007F3E91u, 0x007F3B91u, 0x00003E81u, 0x00003B81u));
}

TEST(PlaybackThread, CancelAllTurnsOffWhatSoundsAndDropsTheRest) {
    RecordingOutput device;
    ASSERT_EQ(device.Open(BuiltInSynthDevice), MidiResultOk);
    Signal started;
    ThreadScheduler scheduler(device);
    const PlayTime now = scheduler.Now();
    scheduler.Schedule(now, PackShortMessage(0x91, 62, 127));
    scheduler.Schedule(now, PackShortMessage(0x99, 75, 127));
    scheduler.ScheduleCallback(now, [&started] { started.Set(); });
    scheduler.Schedule(now + 60s, PackShortMessage(0x81, 62, 0));
    scheduler.Schedule(now + 60s, PackShortMessage(0x91, 64, 127));
    ASSERT_TRUE(started.Wait());
    scheduler.CancelAll();
    EXPECT_EQ(scheduler.Pending(), 0u);
    EXPECT_THAT(device.Packed(), ElementsAre(0x007F3E91u, 0x007F4B99u, 0x00003E81u, 0x00004B89u));
}

} // namespace
} // namespace fw

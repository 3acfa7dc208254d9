// The live built-in synthesizer's sample rate: the rate its audio output starts at, the
// fallback when no output takes the higher rate, the output latency at each rate, and where
// the sequencer's notes land at 96 kHz.

#include "sound/audio_driver.h"
#include "sound/fluid_scheduler.h"
#include "sound/fluid_support.h"
#include "sound/short_message.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace fw {
namespace {

using namespace std::chrono_literals;

// A synth at `rate` without a soundfont: enough for a driver to start, and quick to make.
LoadedSynth BareSynth(double rate) {
    LoadedSynth loaded;
    loaded.settings.reset(new_fluid_settings());
    if (!loaded.settings ||
        fluid_settings_setnum(loaded.settings.get(), "synth.sample-rate", rate) != FLUID_OK)
        loaded.error = "settings";
    else
        loaded.synth.reset(new_fluid_synth(loaded.settings.get()));
    return loaded;
}

double RateOf(fluid_settings_t* settings) {
    double rate = 0;
    EXPECT_EQ(fluid_settings_getnum(settings, "synth.sample-rate", &rate), FLUID_OK);
    return rate;
}

struct FallbackCase {
    const char* name;
    std::set<double> synthRefusedAt;   // the synth cannot be made at these rates
    std::set<double> driverStartsAt;   // an audio output takes these rates
    std::vector<double> expectedTries; // the rates the synth was made at, in order
    double expectedRate;               // of the synth kept; 0 for none
    bool expectedDriver;
};

class LiveSynthFallback : public testing::TestWithParam<FallbackCase> {};

TEST_P(LiveSynthFallback, KeepsTheFirstRateAnOutputTakes) {
    const FallbackCase& c = GetParam();
    // SDL's dummy audio output needs no sound card; a refused rate gets no driver at all.
    ASSERT_EQ(setenv("SDL_AUDIODRIVER", "dummy", 1), 0);
    std::vector<double> tries;
    int driversAsked = 0;
    LiveSynth live = StartLiveSynth(
        [&](double rate) {
            tries.push_back(rate);
            if (c.synthRefusedAt.count(rate)) {
                LoadedSynth refused;
                refused.error = "The synthesizer could not be started.";
                return refused;
            }
            // With the soundfont: a synth that holds one must go before its settings.
            return MakeLoadedSynth("", rate);
        },
        [&](fluid_settings_t* settings, fluid_synth_t* synth) -> FluidDriverPtr {
            ++driversAsked;
            if (!c.driverStartsAt.count(RateOf(settings)))
                return nullptr;
            return StartAudioDriver(settings, synth, {"sdl2"});
        },
        [&](double rate) { return c.driverStartsAt.count(rate) > 0; });
    EXPECT_EQ(tries, c.expectedTries);
    EXPECT_EQ(live.sampleRate, c.expectedRate);
    EXPECT_EQ(live.driver != nullptr, c.expectedDriver);
    EXPECT_EQ(live.loaded.synth != nullptr, c.expectedRate != 0);
    EXPECT_EQ(live.loaded.error.empty(), c.expectedRate != 0) << live.loaded.error;
    if (live.loaded.settings && live.loaded.synth) {
        EXPECT_EQ(RateOf(live.loaded.settings.get()), c.expectedRate);
    }
    EXPECT_LE(driversAsked, static_cast<int>(tries.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Rates, LiveSynthFallback,
    testing::Values(
        FallbackCase{"OutputTakesTheLiveRate", {}, {96000, 44100}, {96000}, 96000, true},
        FallbackCase{"OutputTakesOnlyTheUsualRate", {}, {44100}, {96000, 44100}, 44100, true},
        FallbackCase{"NoOutputKeepsTheFirstSynth", {}, {}, {96000}, 96000, false},
        FallbackCase{
            "SynthRefusesTheLiveRate", {96000}, {96000, 44100}, {96000, 44100}, 44100, true},
        FallbackCase{
            "SynthRefusedAtEveryRate", {96000, 44100}, {96000, 44100}, {96000, 44100}, 0, false}),
    [](const testing::TestParamInfo<FallbackCase>& info) { return std::string(info.param.name); });

struct PeriodCase {
    int rate;
    int period;
};

class AudioPeriod : public testing::TestWithParam<PeriodCase> {};

// The period is asked of the driver for the synth's own rate: the latency stays near 17 ms.
TEST_P(AudioPeriod, KeepsTheLatencyInTimeAtAnyRate) {
    const PeriodCase& c = GetParam();
    EXPECT_EQ(AudioPeriodSizeAt(c.rate), c.period);
    EXPECT_EQ(AudioPeriodSizeAt(c.rate) % FluidScheduler::BlockFrames, 0);
    const double latencyMs = 1000.0 * AudioPeriodSizeAt(c.rate) * AudioPeriods / c.rate;
    EXPECT_GT(latencyMs, 14.0);
    EXPECT_LE(latencyMs, 20.0);

    LoadedSynth loaded = BareSynth(c.rate);
    ASSERT_TRUE(loaded.synth);
    EXPECT_EQ(StartAudioDriver(loaded.settings.get(), loaded.synth.get(), {"no-such-driver"}),
              nullptr);
    int asked = 0;
    ASSERT_EQ(fluid_settings_getint(loaded.settings.get(), "audio.period-size", &asked), FLUID_OK);
    EXPECT_EQ(asked, c.period);
}

INSTANTIATE_TEST_SUITE_P(Rates, AudioPeriod,
                         testing::Values(PeriodCase{44100, 256}, PeriodCase{48000, 256},
                                         PeriodCase{88200, 512}, PeriodCase{96000, 576}),
                         [](const testing::TestParamInfo<PeriodCase>& info) {
                             return "At" + std::to_string(info.param.rate) + "Hz";
                         });

struct OnsetCase {
    const char* name;
    int rate;
    long long us;       // the note's time
    long long expected; // the first frame of the block that sounds it
};

class SequencerOnsetAtRate : public testing::TestWithParam<OnsetCase> {};

// The sequencer counts whole milliseconds, so at 96 kHz (blocks of 2/3 ms) every third block
// is out of its reach: a note goes to the nearest block it can reach.
TEST_P(SequencerOnsetAtRate, NoteStartsAtTheNearestReachableBlock) {
    const OnsetCase& c = GetParam();
    // The soundfont package is a test dependency: without it this test fails.
    LoadedSynth loaded = MakeLoadedSynth("", c.rate);
    ASSERT_EQ(loaded.error, "");
    std::string error;
    std::unique_ptr<FluidScheduler> scheduler = FluidScheduler::Make(loaded.synth.get(), &error);
    ASSERT_TRUE(scheduler) << error;
    scheduler->Schedule(PlayTime(c.us), PackShortMessage(0x90, 62, 127));
    std::array<float, FluidScheduler::BlockFrames> left{}, right{};
    long long onset = -1;
    for (long long frames = 0; onset < 0 && frames < (c.us + 20000) * c.rate / 1000000;
         frames += FluidScheduler::BlockFrames) {
        ASSERT_EQ(fluid_synth_write_float(loaded.synth.get(), FluidScheduler::BlockFrames,
                                          left.data(), 0, 1, right.data(), 0, 1),
                  FLUID_OK);
        if (fluid_synth_get_active_voice_count(loaded.synth.get()) > 0)
            onset = frames;
    }
    EXPECT_EQ(onset, c.expected);
    // Never further off than a third of a millisecond at 96 kHz for a whole millisecond.
    if (c.rate == 96000 && c.us % 1000 == 0) {
        EXPECT_LE(std::llabs(onset * 1000000 / c.rate - c.us), 334);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Times, SequencerOnsetAtRate,
    testing::Values(OnsetCase{"At0ms96k", 96000, 0, 0},
                    // An even millisecond is a block start; an odd one is 1/3 ms before one.
                    OnsetCase{"At2ms96k", 96000, 2000, 192},
                    OnsetCase{"At1ms96k", 96000, 1000, 128},
                    OnsetCase{"At101ms96k", 96000, 101000, 9728},
                    // Between reachable blocks: the nearer one, not the one before.
                    OnsetCase{"At900us96k", 96000, 900, 128},
                    OnsetCase{"At1700us96k", 96000, 1700, 192},
                    // At 44.1 kHz every block is reachable: the nearest block.
                    OnsetCase{"At100ms44k", 44100, 100000, 4416}),
    [](const testing::TestParamInfo<OnsetCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace fw

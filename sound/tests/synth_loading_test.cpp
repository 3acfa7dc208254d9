// The built-in synthesizer while its soundfont loads, and the audio driver's life.

#include "sound/audio_driver.h"
#include "sound/fluid_support.h"
#include "sound/short_message.h"
#include "sound/synth_output.h"

#include <SDL.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <future>

namespace fw {
namespace {

// SDL's dummy audio driver needs no sound card, so the SDL path runs on any machine.
void UseSdlDummyAudio() {
    ASSERT_EQ(setenv("SDL_AUDIODRIVER", "dummy", 1), 0);
}

TEST(SynthLoading, OpenNeverWaitsForTheSoundfontAndKeepsTheInstrument) {
    UseSdlDummyAudio();
    std::promise<void> release;
    std::shared_future<void> gate = release.get_future().share();
    SynthOutput synth({}, [gate] { gate.wait(); });
    synth.Prepare();

    // Loading is held back: an open must still return at once (a generous limit keeps a
    // loaded machine from failing the test; a waiting open would never return).
    auto opened = std::async(std::launch::async, [&synth] { return synth.Open(-1); });
    const bool returned = opened.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    if (!returned)
        release.set_value();
    ASSERT_TRUE(returned) << "Open waited for the loading";
    EXPECT_EQ(opened.get(), MidiResultOk);
    EXPECT_EQ(synth.CurrentProgram(0), -1) << "nothing is loaded yet";

    // The instrument chosen meanwhile is what the first notes after loading play.
    synth.Send(PackShortMessage(0xC0, 40, 0));
    synth.Send(PackShortMessage(0xC1, 105, 0));
    synth.Send(PackShortMessage(0x91, 62, 127)); // lost: nothing can sound yet
    release.set_value();
    ASSERT_EQ(synth.Problem(), "") << "this test needs a soundfont and SDL's dummy audio";
    synth.Send(PackShortMessage(0x81, 62, 0));
    EXPECT_EQ(synth.CurrentProgram(0), 40);
    EXPECT_EQ(synth.CurrentProgram(1), 105);
    EXPECT_EQ(synth.CurrentProgram(2), 0) << "an untouched channel keeps the default";
    synth.Close();

    // Once loaded, the open reports how loading went, as before.
    EXPECT_EQ(synth.Open(-1), MidiResultOk);
    synth.Send(PackShortMessage(0xC0, 24, 0));
    EXPECT_EQ(synth.CurrentProgram(0), 24);
    synth.Close();
}

TEST(AudioDriver, SdlAudioIsShutDownWithItsDriver) {
    UseSdlDummyAudio();
    LoadedSynth loaded = MakeLoadedSynth({}, 44100.0);
    ASSERT_EQ(loaded.error, "");
    ASSERT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    {
        FluidDriverPtr driver =
            StartAudioDriver(loaded.settings.get(), loaded.synth.get(), {"sdl2"});
        ASSERT_NE(driver, nullptr) << "SDL's dummy audio driver should always start";
        EXPECT_NE(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    }
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u) << "SDL audio outlived the synthesizer's driver";
}

TEST(AudioDriver, NoWorkingDriverLeavesSdlAudioAlone) {
    LoadedSynth loaded = MakeLoadedSynth({}, 44100.0);
    ASSERT_EQ(loaded.error, "");
    EXPECT_EQ(StartAudioDriver(loaded.settings.get(), loaded.synth.get(), {"no-such-driver"}),
              nullptr);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
}

} // namespace
} // namespace fw

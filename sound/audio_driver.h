#pragma once
// Choosing the audio output of the built-in synthesizer.

#include "fluid_support.h"

#include <functional>
#include <string>
#include <vector>

namespace fw {

// Output latency asked of every audio driver: 3 periods of 256 frames, 17.4 ms at 44.1 kHz.
constexpr int AudioPeriodSize = 256;
constexpr int AudioPeriods = 3;
static_assert(AudioPeriodSize * AudioPeriods * 1000 <= 20 * 44100, "output latency over 20 ms");

// The period asked for at `sampleRate`: as long in time as AudioPeriodSize at 44.1 kHz, to the
// nearest whole number of the synth's 64-frame blocks, so that the output latency stays near
// 17 ms at any rate (256 frames at 44.1 kHz, 576 at 96 kHz: 18 ms). Never under one block.
constexpr int AudioPeriodSizeAt(double sampleRate) {
    const int blocks = static_cast<int>(AudioPeriodSize * sampleRate / 44100.0 / 64.0 + 0.5);
    return 64 * (blocks < 1 ? 1 : blocks);
}

// The live built-in synthesizer's sample rate. FluidSynth starts a scheduled note at the start
// of one of its 64-frame blocks, counted in whole milliseconds: at 96 kHz a note on a whole
// millisecond starts at most a third of a millisecond off its time (at 44.1 kHz up to 0.73 ms).
constexpr double LiveSynthSampleRate = 96000.0;
// The rate tried when no audio output starts at LiveSynthSampleRate.
constexpr double FallbackSynthSampleRate = 44100.0;
static_assert(AudioPeriodSizeAt(LiveSynthSampleRate) * AudioPeriods * 1000 <=
                  20 * LiveSynthSampleRate,
              "output latency over 20 ms");

// FluidSynth audio drivers to try, in order: pipewire, pulseaudio, alsa, sdl2, and jack only
// when a JACK server is running (creating that driver blocks for seconds without one).
std::vector<std::string> AudioDriverOrder(bool jackServerRunning);

// Whether a JACK server of this user is running, judged by its socket files
// (JACK_DEFAULT_SERVER or "default").
bool JackServerRunning();

// Starts the first driver of AudioDriverOrder that works for `synth` made from `settings`, with
// the latency above where the driver allows it. Null when none works (no sound on this
// machine). Slow on some machines: call it off the GUI thread.
FluidDriverPtr StartAudioDriver(fluid_settings_t* settings, fluid_synth_t* synth);
// The same over the drivers named in `order` (FluidSynth's names), in that order.
FluidDriverPtr StartAudioDriver(fluid_settings_t* settings, fluid_synth_t* synth,
                                const std::vector<std::string>& order);
// The same with a render function of our own: the driver calls `render(data, ...)` for every
// period instead of rendering a synth itself. Null when no driver in AudioDriverOrder takes one.
FluidDriverPtr StartAudioDriver(fluid_settings_t* settings, fluid_audio_func_t render, void* data);

// The live built-in synthesizer with its audio output running, or why it has none.
struct LiveSynth {
    LoadedSynth loaded;    // the synth, or the error that left none
    FluidDriverPtr driver; // null when no audio output started
    double sampleRate = 0; // the rate of the synth in `loaded`; 0 without one
};
// Makes a synth at a sample rate (MakeLoadedSynth with the soundfont, in the program).
using LiveSynthMaker = std::function<LoadedSynth(double sampleRate)>;
// Starts an audio output for a synth made from `settings` (StartAudioDriver, in the program).
using LiveDriverStarter = std::function<FluidDriverPtr(fluid_settings_t*, fluid_synth_t*)>;

// Whether an audio output starts at a sample rate (a bare synth, without a soundfont, is made
// for it and freed again).
using AudioOutputProbe = std::function<bool(double sampleRate)>;
bool AudioOutputStartsAt(double sampleRate);

// Makes the synth at LiveSynthSampleRate and starts its output. When the synth cannot be made,
// or its output does not start while `probe` finds one at FallbackSynthSampleRate, that synth
// is freed and made again at the fallback rate (a synth's rate is fixed once made). A machine
// with no audio output at either rate keeps the first synth, made once, without a driver. When
// no synth can be made, the result holds none and the error `make` gave.
LiveSynth StartLiveSynth(const LiveSynthMaker& make, const LiveDriverStarter& start,
                         const AudioOutputProbe& probe = AudioOutputStartsAt);

} // namespace fw

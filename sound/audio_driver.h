#pragma once
// Choosing the audio output of the built-in synthesizer.

#include "fluid_support.h"

#include <string>
#include <vector>

namespace fw {

// Output latency asked of every audio driver: 3 periods of 256 frames, 17.4 ms at 44.1 kHz.
constexpr int AudioPeriodSize = 256;
constexpr int AudioPeriods = 3;
static_assert(AudioPeriodSize * AudioPeriods * 1000 <= 20 * 44100, "output latency over 20 ms");

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

} // namespace fw

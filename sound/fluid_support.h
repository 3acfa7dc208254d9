#pragma once
// What the built-in synthesizer and the audio renderer share on top of FluidSynth: owning
// pointers, a synth with its soundfont, quiet logging, and playing a packed message.

#include <fluidsynth.h>

#include <cstdint>
#include <memory>
#include <string>

namespace fw {

struct FluidSettingsDeleter {
    void operator()(fluid_settings_t* p) const { delete_fluid_settings(p); }
};
struct FluidSynthDeleter {
    void operator()(fluid_synth_t* p) const { delete_fluid_synth(p); }
};
// An audio driver started on SDL needed SDL's audio part started first; that part is shut
// down again right after the driver, so nothing of SDL outlives the synthesizer.
struct FluidDriverDeleter {
    bool quitSdlAudio = false;
    void operator()(fluid_audio_driver_t* p) const;
};
using FluidSettingsPtr = std::unique_ptr<fluid_settings_t, FluidSettingsDeleter>;
using FluidSynthPtr = std::unique_ptr<fluid_synth_t, FluidSynthDeleter>;
using FluidDriverPtr = std::unique_ptr<fluid_audio_driver_t, FluidDriverDeleter>;

// Keeps FluidSynth's own messages off stderr, except fatal ones. Safe to call often and from
// any thread; acts once.
void QuietFluidSynthLog();

// A synth with a soundfont loaded. Either `error` is empty and both pointers are set, or
// `error` says what failed.
struct LoadedSynth {
    FluidSettingsPtr settings;
    FluidSynthPtr synth;
    std::string error;
};

// Finds the soundfont (preferredSoundFont first, then the standard ones), and makes settings
// at `sampleRate` and a synth with that soundfont. The settings may still be changed for an
// audio driver. Errors: "No soundfont was found.", "The soundfont could not be loaded: <path>",
// "The synthesizer could not be started.".
LoadedSynth MakeLoadedSynth(const std::string& preferredSoundFont, double sampleRate);

// Whether a note still sounds as held on the synth: a voice not yet let go by its note-off. A
// let-go voice only fades out (with some instruments for seconds, far below hearing).
bool AnyVoiceHeld(fluid_synth_t* synth);

// Plays a packed short message (status | data1 << 8 | data2 << 16) on the synth: note-on,
// note-off, key and channel pressure, controller, program change, pitch bend. Returns false
// for other messages and when the synth refuses the values.
bool ApplyShortMessage(fluid_synth_t* synth, std::uint32_t message);

} // namespace fw

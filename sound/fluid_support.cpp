#include "fluid_support.h"

#include "short_message.h"
#include "soundfont.h"

#include <array>
#include <mutex>

namespace fw {

namespace {

void DropMessage(int, const char*, void*) {}

} // namespace

void QuietFluidSynthLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        // The previous handlers returned here are FluidSynth's defaults; nothing to keep.
        for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, DropMessage, nullptr);
    });
}

LoadedSynth MakeLoadedSynth(const std::string& preferredSoundFont, double sampleRate) {
    QuietFluidSynthLog();
    LoadedSynth result;
    const std::string path = FindSoundFont(preferredSoundFont);
    if (path.empty()) {
        result.error = "No soundfont was found.";
        return result;
    }
    result.settings.reset(new_fluid_settings());
    if (!result.settings ||
        fluid_settings_setnum(result.settings.get(), "synth.sample-rate", sampleRate) != FLUID_OK) {
        result.error = "The synthesizer could not be started.";
        return result;
    }
    result.synth.reset(new_fluid_synth(result.settings.get()));
    if (!result.synth) {
        result.error = "The synthesizer could not be started.";
        return result;
    }
    if (fluid_synth_sfload(result.synth.get(), path.c_str(), 1) == FLUID_FAILED) {
        result.synth.reset();
        result.error = "The soundfont could not be loaded: " + path;
    }
    return result;
}

bool AnyVoiceHeld(fluid_synth_t* synth) {
    if (fluid_synth_get_active_voice_count(synth) <= 0)
        return false;
    std::array<fluid_voice_t*, 256> voices{};
    fluid_synth_get_voicelist(synth, voices.data(), static_cast<int>(voices.size()), -1);
    for (fluid_voice_t* voice : voices) {
        if (voice != nullptr && fluid_voice_is_on(voice))
            return true;
    }
    return false;
}

bool ApplyShortMessage(fluid_synth_t* synth, std::uint32_t message) {
    const ShortMessage m = UnpackShortMessage(message);
    const int channel = m.Channel();
    int result = FLUID_FAILED;
    switch (m.Kind()) {
    case 0x80:
        result = fluid_synth_noteoff(synth, channel, m.data1);
        break;
    case 0x90:
        // Velocity 0 is a note-off; FluidSynth treats it so.
        result = fluid_synth_noteon(synth, channel, m.data1, m.data2);
        break;
    case 0xA0:
        result = fluid_synth_key_pressure(synth, channel, m.data1, m.data2);
        break;
    case 0xB0:
        result = fluid_synth_cc(synth, channel, m.data1, m.data2);
        break;
    case 0xC0:
        result = fluid_synth_program_change(synth, channel, m.data1);
        break;
    case 0xD0:
        result = fluid_synth_channel_pressure(synth, channel, m.data1);
        break;
    case 0xE0:
        result = fluid_synth_pitch_bend(synth, channel, m.data1 | (m.data2 << 7));
        break;
    default:
        break;
    }
    return result == FLUID_OK;
}

} // namespace fw

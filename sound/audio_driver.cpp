#include "audio_driver.h"

#include "quiet_alsa.h"

#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <utility>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

namespace fw {

std::vector<std::string> AudioDriverOrder(bool jackServerRunning) {
    std::vector<std::string> order = {"pipewire", "pulseaudio", "alsa", "sdl2"};
    if (jackServerRunning)
        order.push_back("jack");
    return order;
}

bool JackServerRunning() {
#if defined(__unix__) || defined(__APPLE__)
    const char* env = std::getenv("JACK_DEFAULT_SERVER");
    const std::string server = env && *env ? env : "default";
    const std::string uid = std::to_string(getuid());
    std::error_code error;
    for (const char* dir : {"/dev/shm", "/tmp"}) {
        const std::filesystem::path base(dir);
        // One layout per JACK generation: a socket per server, or a folder per user.
        if (std::filesystem::exists(base / ("jack_" + server + "_" + uid + "_0"), error) ||
            std::filesystem::exists(base / ("jack-" + uid) / server, error))
            return true;
    }
#endif
    return false;
}

namespace {

using DriverMaker = std::function<fluid_audio_driver_t*(fluid_settings_t*)>;

// Shuts SDL's audio part down, and SDL itself once nothing else of it runs: SDL keeps a little
// memory from every start until SDL_Quit, which would add up over many plays.
void QuitSdlAudio() {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
        SDL_Quit();
}

// SDL's audio driver needs SDL's audio part started by the program first; the driver's
// deleter shuts it down again.
FluidDriverPtr StartSdlDriver(fluid_settings_t* settings, const DriverMaker& make) {
    FluidDriverPtr driver;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        driver = FluidDriverPtr(make(settings), FluidDriverDeleter{true});
        if (!driver)
            QuitSdlAudio();
    }
    // SDL keeps its error text per thread and frees it only for its own threads; the sound
    // engines start drivers on short-lived threads of ours, so a failed start would leave it.
    SDL_TLSCleanup();
    return driver;
}

FluidDriverPtr StartFirstDriver(fluid_settings_t* settings, const DriverMaker& make,
                                const std::vector<std::string>& order) {
    QuietFluidSynthLog();
    QuietAlsaErrors();
    // The period is set in time, not in frames: a synth at a higher rate gets as much latency.
    double rate = 0;
    if (fluid_settings_getnum(settings, "synth.sample-rate", &rate) != FLUID_OK || rate <= 0)
        rate = 44100.0;
    const std::pair<const char*, int> latency[] = {{"audio.period-size", AudioPeriodSizeAt(rate)},
                                                   {"audio.periods", AudioPeriods}};
    for (const auto& [key, value] : latency) {
        if (fluid_settings_setint(settings, key, value) != FLUID_OK)
            break; // the drivers keep their default sizes: only more latency
    }
    for (const std::string& name : order) {
        if (fluid_settings_setstr(settings, "audio.driver", name.c_str()) != FLUID_OK)
            continue;
        FluidDriverPtr driver =
            name == "sdl2" ? StartSdlDriver(settings, make) : FluidDriverPtr(make(settings));
        if (driver)
            return driver;
    }
    return nullptr;
}

} // namespace

void FluidDriverDeleter::operator()(fluid_audio_driver_t* p) const {
    delete_fluid_audio_driver(p);
    if (quitSdlAudio)
        QuitSdlAudio();
}

FluidDriverPtr StartAudioDriver(fluid_settings_t* settings, fluid_synth_t* synth) {
    return StartAudioDriver(settings, synth, AudioDriverOrder(JackServerRunning()));
}

FluidDriverPtr StartAudioDriver(fluid_settings_t* settings, fluid_synth_t* synth,
                                const std::vector<std::string>& order) {
    return StartFirstDriver(
        settings, [synth](fluid_settings_t* s) { return new_fluid_audio_driver(s, synth); }, order);
}

FluidDriverPtr StartAudioDriver(fluid_settings_t* settings, fluid_audio_func_t render, void* data) {
    return StartFirstDriver(
        settings,
        [render, data](fluid_settings_t* s) { return new_fluid_audio_driver2(s, render, data); },
        AudioDriverOrder(JackServerRunning()));
}

bool AudioOutputStartsAt(double sampleRate) {
    const FluidSettingsPtr settings(new_fluid_settings());
    if (!settings ||
        fluid_settings_setnum(settings.get(), "synth.sample-rate", sampleRate) != FLUID_OK)
        return false;
    const FluidSynthPtr synth(new_fluid_synth(settings.get()));
    return synth && StartAudioDriver(settings.get(), synth.get()) != nullptr;
}

LiveSynth StartLiveSynth(const LiveSynthMaker& make, const LiveDriverStarter& start,
                         const AudioOutputProbe& probe) {
    LiveSynth live;
    for (const double rate : {LiveSynthSampleRate, FallbackSynthSampleRate}) {
        // A synth without an output is remade at the fallback rate only when an output would
        // start there: loading the soundfont again buys nothing on a machine without sound.
        if (live.loaded.synth && !probe(rate))
            break;
        // The synth of a failed try goes first: two soundfonts are never held at once. A synth
        // must go before its settings, which a move assignment would delete first.
        live.driver.reset();
        live.loaded.synth.reset();
        live.loaded.settings.reset();
        live.sampleRate = 0;
        LoadedSynth made = make(rate);
        live.loaded.error = std::move(made.error);
        live.loaded.settings = std::move(made.settings);
        live.loaded.synth = std::move(made.synth);
        if (!live.loaded.error.empty() || !live.loaded.synth || !live.loaded.settings) {
            if (live.loaded.error.empty())
                live.loaded.error = "The synthesizer could not be started.";
            live.loaded.synth.reset();
            continue;
        }
        live.sampleRate = rate;
        live.driver = start(live.loaded.settings.get(), live.loaded.synth.get());
        if (live.driver)
            break;
    }
    return live;
}

} // namespace fw

#include "synth_output.h"

#include "audio_driver.h"
#include "fluid_support.h"

#include <thread>

namespace fw {

// Everything the loading thread makes. Members are destroyed in reverse order: the audio
// driver stops before the synth goes.
struct SynthOutput::Engine {
    std::thread loader;
    LoadedSynth loaded;
    FluidDriverPtr driver;
    int openResult = MidiResultError;

    void Load(const std::string& preferredSoundFont) {
        loaded = MakeLoadedSynth(preferredSoundFont, 44100.0);
        if (!loaded.error.empty())
            return;
        driver = StartAudioDriver(loaded.settings.get(), loaded.synth.get());
        openResult = driver ? MidiResultOk : MidiResultNoDevice;
    }

    ~Engine() {
        if (loader.joinable())
            loader.join();
    }
};

SynthOutput::SynthOutput(std::string preferredSoundFont)
    : preferredSoundFont_(std::move(preferredSoundFont)) {}

SynthOutput::~SynthOutput() = default;

void SynthOutput::Prepare() {
    if (engine_)
        return;
    engine_ = std::make_unique<Engine>();
    engine_->loader =
        std::thread([engine = engine_.get(), path = preferredSoundFont_] { engine->Load(path); });
}

SynthOutput::Engine& SynthOutput::Ready() {
    Prepare();
    if (engine_->loader.joinable())
        engine_->loader.join();
    return *engine_;
}

std::string SynthOutput::Problem() {
    const Engine& engine = Ready();
    if (!engine.loaded.error.empty())
        return engine.loaded.error;
    return engine.driver ? std::string() : "No audio output was found.";
}

std::string SynthOutput::DeviceName(int id) {
    return id == BuiltInSynthDevice ? BuiltInSynthName : std::string();
}

int SynthOutput::Open(int id) {
    if (id != BuiltInSynthDevice)
        return MidiResultBadDeviceId;
    if (open_)
        return MidiResultAllocated;
    const int result = Ready().openResult;
    open_ = result == MidiResultOk;
    return result;
}

void SynthOutput::Send(std::uint32_t message) {
    if (!open_)
        return;
    // A message the synthesizer refuses (a note-off for a note that is not sounding, say) is
    // of no consequence.
    static_cast<void>(ApplyShortMessage(engine_->loaded.synth.get(), message));
}

void SynthOutput::Close() {
    if (!open_)
        return;
    open_ = false;
    fluid_synth_t* synth = engine_->loaded.synth.get();
    // Released notes fade out naturally; cutting them dead is the fallback, and when even
    // that is refused there is nothing left to try.
    if (fluid_synth_all_notes_off(synth, -1) != FLUID_OK)
        static_cast<void>(fluid_synth_all_sounds_off(synth, -1));
}

} // namespace fw

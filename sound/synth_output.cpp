#include "synth_output.h"

#include "audio_driver.h"
#include "fluid_scheduler.h"
#include "fluid_support.h"
#include "idle_audio_output.h"
#include "short_message.h"

#include <atomic>
#include <thread>

namespace fw {

namespace {

// A scheduler that the synth's idle watcher counts while it lives: a play may be silent for a
// while (a long rest) and still needs the output.
class CountedScheduler : public PlaybackScheduler {
public:
    CountedScheduler(std::unique_ptr<PlaybackScheduler> inner, std::atomic<int>& count)
        : inner_(std::move(inner)), count_(count) {
        ++count_;
    }
    ~CountedScheduler() override {
        inner_.reset();
        --count_;
    }
    PlayTime Now() const override { return inner_->Now(); }
    void Schedule(PlayTime at, std::uint32_t message) override { inner_->Schedule(at, message); }
    void ScheduleCallback(PlayTime at, std::function<void()> callback) override {
        inner_->ScheduleCallback(at, std::move(callback));
    }
    void CancelAll() override { inner_->CancelAll(); }
    std::size_t Pending() const override { return inner_->Pending(); }

private:
    std::unique_ptr<PlaybackScheduler> inner_;
    std::atomic<int>& count_;
};

// The audio driver the settings were left at by the driver that started.
std::string DriverName(fluid_settings_t* settings) {
    char* name = nullptr;
    if (fluid_settings_dupstr(settings, "audio.driver", &name) != FLUID_OK || name == nullptr)
        return {};
    std::string text(name);
    fluid_free(name);
    return text;
}

} // namespace

// Everything the loading thread makes. Members are destroyed in reverse order: the audio
// driver stops before the synth goes.
struct SynthOutput::Engine {
    std::thread loader;
    std::atomic<bool> done{false}; // set by the loader once everything below is in place
    LoadedSynth loaded;
    FluidDriverPtr driver; // null while closed for being idle
    int openResult = MidiResultError;
    std::atomic<int> schedulers{0};
    // Closes the driver when nothing has sounded for a while; goes first, before the driver.
    std::unique_ptr<IdleAudioOutput> idle;

    void Load(const std::string& preferredSoundFont, std::chrono::milliseconds idleAfter) {
        // A higher rate gives scheduled notes a finer grid; an output that will not take it
        // gets a synth at the usual rate instead.
        LiveSynth live =
            StartLiveSynth([&preferredSoundFont](
                               double rate) { return MakeLoadedSynth(preferredSoundFont, rate); },
                           [](fluid_settings_t* settings, fluid_synth_t* synth) {
                               return StartAudioDriver(settings, synth);
                           });
        // Both are empty before: nothing is deleted in the wrong order.
        loaded.error = std::move(live.loaded.error);
        loaded.settings = std::move(live.loaded.settings);
        loaded.synth = std::move(live.loaded.synth);
        driver = std::move(live.driver);
        if (loaded.error.empty())
            openResult = driver ? MidiResultOk : MidiResultNoDevice;
        if (driver) {
            // Opened again with the driver that worked, without trying the others first.
            const std::vector<std::string> order{DriverName(loaded.settings.get())};
            idle = std::make_unique<IdleAudioOutput>(
                [this, order] {
                    driver = StartAudioDriver(loaded.settings.get(), loaded.synth.get(), order);
                    return driver != nullptr;
                },
                [this] { driver.reset(); },
                [this] { return schedulers.load() > 0 || AnyVoiceHeld(loaded.synth.get()); },
                idleAfter);
        }
        done.store(true, std::memory_order_release);
    }

    ~Engine() {
        if (loader.joinable())
            loader.join();
    }
};

SynthOutput::SynthOutput(std::string preferredSoundFont, std::function<void()> beforeLoading)
    : preferredSoundFont_(std::move(preferredSoundFont)), beforeLoading_(std::move(beforeLoading)) {
    pendingPrograms_.fill(-1);
}

SynthOutput::~SynthOutput() = default;

void SynthOutput::Prepare() {
    if (engine_)
        return;
    engine_ = std::make_unique<Engine>();
    engine_->loader = std::thread([engine = engine_.get(), path = preferredSoundFont_,
                                   before = beforeLoading_, idleAfter = idleAfter_] {
        if (before)
            before();
        engine->Load(path, idleAfter);
    });
}

SynthOutput::Engine& SynthOutput::Ready() {
    Prepare();
    if (engine_->loader.joinable())
        engine_->loader.join();
    return *engine_;
}

bool SynthOutput::Loaded() {
    if (!engine_ || !engine_->done.load(std::memory_order_acquire))
        return false;
    Ready(); // the thread has finished: joining it costs nothing
    return true;
}

std::string SynthOutput::Problem() {
    const Engine& engine = Ready();
    if (!engine.loaded.error.empty())
        return engine.loaded.error;
    return engine.openResult == MidiResultNoDevice ? "No audio output was found." : std::string();
}

std::string SynthOutput::DeviceName(int id) {
    return id == BuiltInSynthDevice ? BuiltInSynthName : std::string();
}

int SynthOutput::Open(int id) {
    if (id != BuiltInSynthDevice)
        return MidiResultBadDeviceId;
    if (open_)
        return MidiResultAllocated;
    Prepare();
    // While the soundfont is still loading the window must not wait for it: the device opens
    // at once and sounds as soon as loading has finished.
    const int result = Loaded() ? engine_->openResult : MidiResultOk;
    open_ = result == MidiResultOk;
    WakeOutput();
    return result;
}

void SynthOutput::Send(std::uint32_t message) {
    if (!open_)
        return;
    if (!Loaded()) {
        // Notes sent before the synthesizer exists are lost, but the instrument is kept for
        // the notes that follow.
        const ShortMessage parts = UnpackShortMessage(message);
        if (parts.Kind() == 0xC0)
            pendingPrograms_[parts.Channel()] = parts.data1;
        return;
    }
    if (engine_->openResult != MidiResultOk)
        return; // opened while loading, and loading found no way to sound
    WakeOutput();
    fluid_synth_t* synth = engine_->loaded.synth.get();
    ApplyPendingPrograms();
    // A message the synthesizer refuses (a note-off for a note that is not sounding, say) is
    // of no consequence.
    static_cast<void>(ApplyShortMessage(synth, message));
}

void SynthOutput::Close() {
    if (!open_)
        return;
    open_ = false;
    if (!Loaded() || engine_->openResult != MidiResultOk)
        return;
    fluid_synth_t* synth = engine_->loaded.synth.get();
    // Released notes fade out naturally; cutting them dead is the fallback, and when even
    // that is refused there is nothing left to try.
    if (fluid_synth_all_notes_off(synth, -1) != FLUID_OK)
        static_cast<void>(fluid_synth_all_sounds_off(synth, -1));
}

void SynthOutput::ApplyPendingPrograms() {
    fluid_synth_t* synth = engine_->loaded.synth.get();
    for (std::size_t channel = 0; channel < pendingPrograms_.size(); ++channel) {
        if (pendingPrograms_[channel] < 0)
            continue;
        static_cast<void>(fluid_synth_program_change(synth, static_cast<int>(channel),
                                                     pendingPrograms_[channel]));
        pendingPrograms_[channel] = -1;
    }
}

std::unique_ptr<PlaybackScheduler> SynthOutput::MakeScheduler() {
    if (!Loaded() || engine_->openResult != MidiResultOk)
        return nullptr;
    ApplyPendingPrograms();
    WakeOutput();
    std::unique_ptr<PlaybackScheduler> scheduler =
        FluidScheduler::Make(engine_->loaded.synth.get(), nullptr);
    if (!scheduler)
        return nullptr;
    return std::make_unique<CountedScheduler>(std::move(scheduler), engine_->schedulers);
}

void SynthOutput::WakeOutput() {
    if (Loaded() && engine_->idle)
        static_cast<void>(engine_->idle->Wake());
}

bool SynthOutput::OutputRunning() {
    return Loaded() && engine_->idle && engine_->idle->IsOpen();
}

int SynthOutput::CurrentProgram(int channel) {
    if (!Loaded() || !engine_->loaded.synth)
        return -1;
    int font = 0, bank = 0, preset = 0;
    if (fluid_synth_get_program(engine_->loaded.synth.get(), channel, &font, &bank, &preset) !=
        FLUID_OK)
        return -1;
    return preset;
}

} // namespace fw

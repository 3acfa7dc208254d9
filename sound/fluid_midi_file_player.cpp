#include "fluid_midi_file_player.h"

#include "audio_driver.h"
#include "fluid_file_playback.h"
#include "fluid_support.h"
#include "idle_audio_output.h"

#include <atomic>
#include <thread>

namespace fw {

// Everything the loading thread makes. Members are destroyed in reverse order: the audio
// driver stops before the playback it renders, and that goes before the synth.
struct FluidMidiFilePlayer::Engine {
    std::thread loader;
    std::atomic<bool> done{false};
    LoadedSynth loaded;
    std::unique_ptr<FluidFilePlayback> playback;
    FluidDriverPtr driver;  // null while closed for being idle
    bool ownDriver = false; // the synth renders itself (SDL): stopped and started by the playback
    QString problem;
    // Closes the driver while no file plays and nothing rings; goes first, before the driver.
    std::unique_ptr<IdleAudioOutput> idle;

    void Load(const std::string& preferredSoundFont) {
        loaded = MakeLoadedSynth(preferredSoundFont, 44100.0);
        if (!loaded.error.empty()) {
            problem = QString::fromStdString(loaded.error);
        } else {
            playback = std::make_unique<FluidFilePlayback>(loaded.synth.get());
            // Rendered through the playback, so that a replaced file player is freed at once.
            driver = StartAudioDriver(loaded.settings.get(), &FluidFilePlayback::RenderForDriver,
                                      playback.get());
            if (!driver) {
                // A driver that renders the synth itself (SDL takes no render function): it
                // is stopped whenever a player is made or freed.
                driver = StartAudioDriver(loaded.settings.get(), loaded.synth.get());
                ownDriver = driver != nullptr;
                if (driver)
                    playback->RenderedByOwnDriver(
                        [this] { driver.reset(); },
                        [this] {
                            driver = StartAudioDriver(loaded.settings.get(), loaded.synth.get());
                            return driver != nullptr;
                        });
            }
            if (!driver)
                problem = QStringLiteral("No audio output was found.");
            else if (!ownDriver)
                idle = std::make_unique<IdleAudioOutput>(
                    [this] {
                        driver =
                            StartAudioDriver(loaded.settings.get(),
                                             &FluidFilePlayback::RenderForDriver, playback.get());
                        return driver != nullptr;
                    },
                    [this] { driver.reset(); },
                    [this] {
                        return playback->Mode() == PlayerMode::Playing ||
                               AnyVoiceHeld(loaded.synth.get());
                    },
                    IdleAudioOutput::DefaultIdleAfter);
        }
        done = true;
    }

    ~Engine() {
        if (loader.joinable())
            loader.join();
    }
};

FluidMidiFilePlayer::FluidMidiFilePlayer(std::string preferredSoundFont)
    : preferredSoundFont_(std::move(preferredSoundFont)) {}

FluidMidiFilePlayer::~FluidMidiFilePlayer() = default;

void FluidMidiFilePlayer::DropFinishedRetired() {
    std::erase_if(retired_,
                  [](const std::unique_ptr<Engine>& engine) { return engine->done.load(); });
}

void FluidMidiFilePlayer::Prepare() {
    DropFinishedRetired();
    if (engine_)
        return;
    engine_ = std::make_unique<Engine>();
    engine_->loader =
        std::thread([engine = engine_.get(), path = preferredSoundFont_] { engine->Load(path); });
}

bool FluidMidiFilePlayer::IsReady() {
    return engine_ && engine_->done;
}

QString FluidMidiFilePlayer::DeviceProblem() {
    return IsReady() ? engine_->problem : QString();
}

void FluidMidiFilePlayer::Release() {
    Close();
    DropFinishedRetired();
    if (!engine_)
        return;
    // Joining a thread that is still loading would block the caller; it finishes on its own.
    if (!engine_->done)
        retired_.push_back(std::move(engine_));
    engine_.reset();
}

FluidMidiFilePlayer::Engine& FluidMidiFilePlayer::Ready() {
    Prepare();
    if (engine_->loader.joinable())
        engine_->loader.join();
    return *engine_;
}

QString FluidMidiFilePlayer::Open(const QString& path) {
    Engine& engine = Ready();
    if (!engine.problem.isEmpty())
        return engine.problem;
    if (path.isEmpty()) {
        engine.playback->Unload();
    } else if (QString error = engine.playback->Load(path); !error.isEmpty()) {
        return error;
    }
    open_ = true;
    return {};
}

void FluidMidiFilePlayer::Close() {
    if (!open_)
        return;
    open_ = false;
    engine_->playback->Unload();
}

void FluidMidiFilePlayer::Wake() {
    if (engine_ && engine_->idle)
        static_cast<void>(engine_->idle->Wake());
}

void FluidMidiFilePlayer::Play() {
    if (!open_)
        return;
    Wake();
    engine_->playback->Play();
}

void FluidMidiFilePlayer::Stop() {
    if (open_)
        engine_->playback->Stop();
}

void FluidMidiFilePlayer::Pause() {
    if (open_)
        engine_->playback->Pause();
}

bool FluidMidiFilePlayer::Resume() {
    if (!open_)
        return false;
    Wake();
    return engine_->playback->Resume();
}

void FluidMidiFilePlayer::SeekToStart() {
    if (open_)
        engine_->playback->SeekToStart();
}

PlayerMode FluidMidiFilePlayer::Mode() {
    return open_ ? engine_->playback->Mode() : PlayerMode::Stopped;
}

PlayerPosition FluidMidiFilePlayer::Position() {
    return open_ ? engine_->playback->Position() : PlayerPosition{};
}

} // namespace fw

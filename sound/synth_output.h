#pragma once
// The built-in synthesizer, device -1: FluidSynth with a General MIDI soundfont, playing
// through the machine's audio output.

#include "midi_output.h"
#include "playback_scheduler.h"

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace fw {

class SynthOutput : public MidiOutput {
public:
    // `preferredSoundFont` (a setting; may be empty) is tried before the standard soundfonts.
    // `beforeLoading` (may be empty) runs on the loading thread before anything is loaded;
    // tests hold the loading back with it.
    explicit SynthOutput(std::string preferredSoundFont = {},
                         std::function<void()> beforeLoading = {});
    ~SynthOutput() override;
    SynthOutput(const SynthOutput&) = delete;
    SynthOutput& operator=(const SynthOutput&) = delete;

    // Starts loading the soundfont and choosing the audio output on a background thread, so
    // that neither delays the program's start. Later calls do nothing. Open does it itself
    // when it was not done.
    void Prepare();

    // The synthesizer is device -1 only: no counted devices.
    int DeviceCount() override { return 0; }
    // BuiltInSynthName for -1, the empty text otherwise.
    std::string DeviceName(int id) override;
    // Opens device -1. MidiResultBadDeviceId for another id, MidiResultAllocated when already
    // open, MidiResultError when no soundfont could be loaded, MidiResultNoDevice when the
    // machine has no audio output. Never waits for the loading: while it still runs the open
    // succeeds, and the messages sent meanwhile are dropped except program changes, which are
    // kept and applied before the first message after loading (so a play started early plays
    // its own instrument). Opening costs next to nothing: the synthesizer stays alive, and an
    // audio output closed at rest starts again within a few milliseconds.
    int Open(int id) override;
    void Send(std::uint32_t message) override;
    // Releases every sounding note on every channel; the synthesizer stays ready.
    void Close() override;

    // After this long without a sound the audio output is closed (no stream stays open on the
    // sound server); the next sounding opens it again. Set before Prepare.
    void SetIdleCloseAfter(std::chrono::milliseconds idleAfter) { idleAfter_ = idleAfter; }
    // Whether the audio output runs now (false while loading, without one, or closed at rest).
    bool OutputRunning();

    // Why the synthesizer cannot sound (waits for Prepare to finish); empty when it can.
    std::string Problem();

    // The program (from 0) that `channel` (0..15) plays; -1 while loading or without a synth.
    int CurrentProgram(int channel);

    // A scheduler on the synthesizer's own sequencer, timed by the audio it renders; null while
    // the soundfont is still loading (never waits for it) or when the synthesizer cannot sound.
    // Instruments chosen while loading are applied first. It must be destroyed before this.
    std::unique_ptr<PlaybackScheduler> MakeScheduler();

private:
    struct Engine;
    Engine& Ready();             // prepared and finished (waits for the loading)
    bool Loaded();               // the loading has finished (never waits)
    void ApplyPendingPrograms(); // once loaded: the instruments chosen while loading
    void WakeOutput();           // something is about to sound: the output must run

    std::string preferredSoundFont_;
    std::function<void()> beforeLoading_;
    std::chrono::milliseconds idleAfter_{10000};
    std::unique_ptr<Engine> engine_;
    bool open_ = false;
    std::array<int, 16> pendingPrograms_{}; // per channel, -1 for none
};

} // namespace fw

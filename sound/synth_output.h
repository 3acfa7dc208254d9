#pragma once
// The built-in synthesizer, device -1: FluidSynth with a General MIDI soundfont, playing
// through the machine's audio output.

#include "midi_output.h"

#include <memory>
#include <string>

namespace fw {

class SynthOutput : public MidiOutput {
public:
    // `preferredSoundFont` (a setting; may be empty) is tried before the standard soundfonts.
    explicit SynthOutput(std::string preferredSoundFont = {});
    ~SynthOutput() override;
    SynthOutput(const SynthOutput&) = delete;
    SynthOutput& operator=(const SynthOutput&) = delete;

    // Starts loading the soundfont and choosing the audio output on a background thread, so
    // that neither delays the program's start. Later calls do nothing. Open does it itself
    // when it was not done, and waits for it to finish.
    void Prepare();

    // The synthesizer is device -1 only: no counted devices.
    int DeviceCount() override { return 0; }
    // BuiltInSynthName for -1, the empty text otherwise.
    std::string DeviceName(int id) override;
    // Opens device -1. MidiResultBadDeviceId for another id, MidiResultAllocated when already
    // open, MidiResultError when no soundfont could be loaded, MidiResultNoDevice when the
    // machine has no audio output. After the first open, opening costs next to nothing: the
    // synthesizer and its audio output stay alive.
    int Open(int id) override;
    void Send(std::uint32_t message) override;
    // Releases every sounding note on every channel; the synthesizer stays ready.
    void Close() override;

    // Why the synthesizer cannot sound (waits for Prepare to finish); empty when it can.
    std::string Problem();

private:
    struct Engine;
    Engine& Ready(); // prepared and finished

    std::string preferredSoundFont_;
    std::unique_ptr<Engine> engine_;
    bool open_ = false;
};

} // namespace fw

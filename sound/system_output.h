#pragma once
// The program's MIDI output: device -1 is the built-in synthesizer, devices 0..n-1 the
// machine's external MIDI ports.

#include "port_output.h"
#include "synth_output.h"

#include <memory>

namespace fw {

class SystemOutput : public MidiOutput {
public:
    explicit SystemOutput(std::string preferredSoundFont = {});

    // The built-in synthesizer, for its Prepare() at start-up.
    SynthOutput& Synth() { return synth_; }

    // The external ports.
    int DeviceCount() override;
    // BuiltInSynthName for -1, a port's name for 0..n-1, otherwise the empty text.
    std::string DeviceName(int id) override;
    // -1 opens the synthesizer, 0..n-1 a port (see their Open for the codes); another id gives
    // MidiResultBadDeviceId, and MidiResultAllocated while a device is open.
    int Open(int id) override;
    void Send(std::uint32_t message) override;
    void Close() override;

    // The scheduler a play of the open device runs on: the synthesizer's own sequencer when
    // the synthesizer is open and can sound, otherwise a playback thread sending through this
    // output (which drops the messages while nothing is open). The device must stay open,
    // and this output untouched by other threads, until the scheduler is destroyed.
    std::unique_ptr<PlaybackScheduler> MakeScheduler();

private:
    SynthOutput synth_;
    PortOutput ports_;
    MidiOutput* open_ = nullptr; // the device that is open, if any
};

} // namespace fw

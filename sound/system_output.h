#pragma once
// The program's MIDI output: device -1 is the built-in synthesizer, devices 0..n-1 the
// machine's external MIDI ports.

#include "port_output.h"
#include "synth_output.h"

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

private:
    SynthOutput synth_;
    PortOutput ports_;
    MidiOutput* open_ = nullptr; // the device that is open, if any
};

} // namespace fw

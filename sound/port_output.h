#pragma once
// The machine's external MIDI output ports (ALSA sequencer on Linux), devices 0..n-1.
// Nothing is asked of the MIDI system before the first call; a machine without one simply has
// no ports, and its library's errors never reach stderr or the caller as exceptions.

#include "midi_output.h"

#include <memory>
#include <string>

namespace fw {

class PortOutput : public MidiOutput {
public:
    PortOutput();
    ~PortOutput() override;
    PortOutput(const PortOutput&) = delete;
    PortOutput& operator=(const PortOutput&) = delete;

    // Number of output ports now; 0 without a MIDI system.
    int DeviceCount() override;
    // The port's name; empty for an id that is not a port, or a name that cannot be read.
    std::string DeviceName(int id) override;
    // Connects to port `id`. MidiResultBadDeviceId for an id that is not a port,
    // MidiResultAllocated when a port is already open, MidiResultNoDevice when the MIDI system
    // finds no port, MidiResultNoMemory, MidiResultInvalidParam, or MidiResultError.
    int Open(int id) override;
    // Sends the message with its proper length (two bytes for program change).
    void Send(std::uint32_t message) override;
    void Close() override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace fw

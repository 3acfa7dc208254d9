#pragma once
// One MIDI output service: the devices it offers, and one open device at a time.
// The port logic, the chord player and the play engine talk only to this interface; the
// built-in synthesizer, the external MIDI ports and the recording device used by the tests
// sit behind it.

#include <cstdint>
#include <string>

namespace fw {

// Device number of the built-in synthesizer, the default device.
constexpr int BuiltInSynthDevice = -1;
constexpr const char* BuiltInSynthName = "Fretwick Synthesizer";

// Result codes of MidiOutput::Open. Any other non-zero code is a failure of another kind.
constexpr int MidiResultOk = 0;
constexpr int MidiResultError = 1;         // unspecified failure
constexpr int MidiResultBadDeviceId = 2;   // device number out of range
constexpr int MidiResultAllocated = 4;     // device already in use
constexpr int MidiResultNoMemory = 7;      // out of memory
constexpr int MidiResultInvalidParam = 11; // invalid parameter
constexpr int MidiResultNoDevice = 68;     // no MIDI port / no sound output

class MidiOutput {
public:
    virtual ~MidiOutput() = default;

    // Number of external devices, numbered 0..count-1. The built-in synthesizer (device -1)
    // is not counted. Never negative; 0 when the MIDI system is missing.
    virtual int DeviceCount() = 0;

    // Product name of device `id` (-1 for the built-in synthesizer). The empty text when the
    // device does not exist or its name cannot be read.
    virtual std::string DeviceName(int id) = 0;

    // Opens device `id` for output. Returns MidiResultOk, or one of the codes above (or
    // another non-zero code) on failure, in which case nothing is open. Only one device is
    // open at a time: opening while a device is open gives MidiResultAllocated.
    virtual int Open(int id) = 0;

    // Sends one channel message packed as status | data1 << 8 | data2 << 16 to the open
    // device. Does nothing when no device is open. Delivery failures are not reported.
    virtual void Send(std::uint32_t message) = 0;

    // Closes the open device and leaves nothing sounding on it. Does nothing when none is open.
    virtual void Close() = 0;
};

} // namespace fw

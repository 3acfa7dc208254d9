#pragma once
// The MIDI port: opens the chosen output device, sends note-on, note-off and program change
// on the chosen channel, and closes it again. All sounding goes through one MidiPort.

#include "midi_output.h"

#include <cstdint>
#include <functional>
#include <string>

namespace fw {

// The MIDI settings the port reads at every call; owned by the main window.
struct MidiPortSettings {
    int Device = BuiltInSynthDevice; // -1 the built-in synthesizer, 0..n-1 external devices
    std::uint8_t Channel = 0;        // selected channel 0..15; notes go out on the next one
    int Octave = 0;                  // -12, 0 or 12, added to every key
    std::uint8_t Patch = 105;        // General MIDI program from 0 (105: Banjo)
};

// The user-facing text for an Open result code: empty for 0, a fixed sentence for the known
// codes (2, 4, 7, 11, 68) and "Error" for any other code.
std::string MidiOpenErrorText(int resultCode);

class MidiPort {
public:
    // Both must outlive the port.
    MidiPort(MidiOutput& output, const MidiPortSettings& settings);

    // Opens settings.Device. Returns the empty text on success, otherwise the error text of the
    // result and the port stays closed. Opening a port that is already open changes nothing
    // and returns the empty text.
    std::string OpenMidiPort();
    // Closes the device when the port is open; otherwise does nothing.
    void CloseMidiPort();
    bool IsOpen() const { return isOpen_; }
    // The result code of the last open that reached the device (MidiResultOk before any).
    int LastOpenResult() const { return lastOpenResult_; }

    // When open, sends status (with Channel added to its channel nibble, which stays within
    // 0..15) and the two data bytes; otherwise does nothing.
    void SendShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    // Note-on, velocity 127, on channel Channel + 1; the key gets Octave added (low 8 bits).
    void NoteOn(int key);
    // Note-off (0x8n), velocity 0, same channel and key rule as NoteOn.
    void NoteOff(int key);
    // Program change on channel Channel + offset (offset 0 or 1).
    void ProgramChange(std::uint8_t patch, int offset);

    // The packed messages SendShortMessage, NoteOn and NoteOff would send now (whether or not
    // the port is open), for sending later through a scheduler.
    std::uint32_t ChannelMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) const;
    std::uint32_t NoteOnMessage(int key) const;
    std::uint32_t NoteOffMessage(int key) const;

    // Number of external devices (the built-in synthesizer not counted).
    int MidiOutDeviceCount();
    // Name of device `id`: -1 or 0..count-1 are asked of the output; any other id gives the
    // empty text without asking. The empty text too when the output cannot name it.
    std::string MidiOutDeviceName(int id);

    // Around every sounding. In External MIDI mode AcquirePort and ReleasePort do nothing
    // (the port stays open for the whole run); otherwise AcquirePort opens the port, with the
    // busy cursor shown meanwhile, and returns the open's error text, and ReleasePort closes it.
    std::string AcquirePort();
    void ReleasePort();
    // Program change to Patch on the selected channel and on the note channel. A Patch above
    // 127 (a song may say 255) is sent as 127, as the MIDI file writer writes it.
    void SelectPatch();

    // External MIDI mode for this run; set once at start-up.
    void SetExternalMidiActive(bool active) { externalMidiActive_ = active; }
    bool ExternalMidiActive() const { return externalMidiActive_; }

    // Called with true before AcquirePort opens the device and with false after; the program
    // shows and restores the hourglass cursor with it. May be empty.
    std::function<void(bool busy)> BusyCursor;

private:
    MidiOutput& output_;
    const MidiPortSettings& settings_;
    bool isOpen_ = false;
    int lastOpenResult_ = MidiResultOk;
    bool externalMidiActive_ = false;
};

} // namespace fw

#include "midi_port.h"

#include "short_message.h"

#include "chords/patch_names.h"

namespace fw {

std::string MidiOpenErrorText(int resultCode) {
    switch (resultCode) {
    case MidiResultOk:
        return {};
    case MidiResultBadDeviceId:
        return "The specified device identifier is out of range.";
    case MidiResultAllocated:
        return "The MIDI device is already in use.";
    case MidiResultNoMemory:
        return "The system is unable to allocate or lock memory.";
    case MidiResultInvalidParam:
        return "The specified pointer or structure is invalid.";
    case MidiResultNoDevice:
        return "No MIDI port was found.";
    default:
        return "Error";
    }
}

MidiPort::MidiPort(MidiOutput& output, const MidiPortSettings& settings)
    : output_(output), settings_(settings) {}

std::string MidiPort::OpenMidiPort() {
    if (isOpen_)
        return {};
    const int result = output_.Open(settings_.Device);
    lastOpenResult_ = result;
    isOpen_ = result == MidiResultOk;
    return MidiOpenErrorText(result);
}

void MidiPort::CloseMidiPort() {
    if (!isOpen_)
        return;
    output_.Close();
    isOpen_ = false;
}

std::uint32_t MidiPort::ChannelMessage(std::uint8_t status, std::uint8_t data1,
                                       std::uint8_t data2) const {
    // The channel is added inside the low nibble only, so a channel past 16 wraps to channel 1
    // instead of turning the message into another kind.
    const auto channel = static_cast<std::uint8_t>((status + settings_.Channel) & 0x0F);
    return PackShortMessage(static_cast<std::uint8_t>((status & 0xF0) | channel), data1, data2);
}

std::uint32_t MidiPort::NoteOnMessage(int key) const {
    return ChannelMessage(0x91, static_cast<std::uint8_t>(key + settings_.Octave), 127);
}

std::uint32_t MidiPort::NoteOffMessage(int key) const {
    return ChannelMessage(0x81, static_cast<std::uint8_t>(key + settings_.Octave), 0);
}

void MidiPort::SendShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    if (isOpen_)
        output_.Send(ChannelMessage(status, data1, data2));
}

void MidiPort::NoteOn(int key) {
    if (isOpen_)
        output_.Send(NoteOnMessage(key));
}

void MidiPort::NoteOff(int key) {
    if (isOpen_)
        output_.Send(NoteOffMessage(key));
}

void MidiPort::ProgramChange(std::uint8_t patch, int offset) {
    SendShortMessage(static_cast<std::uint8_t>(0xC0 | (offset & 0x0F)), patch, 0);
}

int MidiPort::MidiOutDeviceCount() {
    return output_.DeviceCount();
}

std::string MidiPort::MidiOutDeviceName(int id) {
    if (id != BuiltInSynthDevice && id >= MidiOutDeviceCount())
        return {};
    return output_.DeviceName(id);
}

std::string MidiPort::AcquirePort() {
    if (externalMidiActive_)
        return {};
    if (BusyCursor)
        BusyCursor(true);
    std::string error = OpenMidiPort();
    if (BusyCursor)
        BusyCursor(false);
    return error;
}

void MidiPort::ReleasePort() {
    if (!externalMidiActive_)
        CloseMidiPort();
}

void MidiPort::SelectPatch() {
    const auto patch = static_cast<std::uint8_t>(PlayablePatch(settings_.Patch));
    ProgramChange(patch, 0);
    ProgramChange(patch, 1);
}

} // namespace fw

#include "recording_output.h"

#include <algorithm>

namespace fw {

RecordingOutput::RecordingOutput(const PlayClock* clock, std::vector<std::string> deviceNames)
    : clock_(clock), names_(std::move(deviceNames)) {}

void RecordingOutput::Record(Kind kind, int device, std::uint32_t message, int result) {
    events_.push_back({kind, clock_ ? clock_->Now() : PlayTime{0}, device, message, result});
}

int RecordingOutput::DeviceCount() {
    Record(Kind::CountQuery, 0);
    return static_cast<int>(names_.size());
}

std::string RecordingOutput::DeviceName(int id) {
    Record(Kind::NameQuery, id);
    if (id == BuiltInSynthDevice)
        return BuiltInSynthName;
    if (id < 0 || id >= static_cast<int>(names_.size()))
        return {};
    return names_[static_cast<std::size_t>(id)];
}

int RecordingOutput::Open(int id) {
    int result = failCode_;
    if (result == MidiResultOk && openDevice_)
        result = MidiResultAllocated;
    else if (result == MidiResultOk &&
             (id < BuiltInSynthDevice || id >= static_cast<int>(names_.size())))
        result = MidiResultBadDeviceId;
    if (result == MidiResultOk)
        openDevice_ = id;
    Record(Kind::Open, id, 0, result);
    return result;
}

void RecordingOutput::Send(std::uint32_t message) {
    Record(Kind::Send, openDevice_.value_or(-2), message);
}

void RecordingOutput::Close() {
    Record(Kind::Close, openDevice_.value_or(-2));
    openDevice_.reset();
}

std::vector<RecordingOutput::Event> RecordingOutput::Messages() const {
    std::vector<Event> sends;
    std::copy_if(events_.begin(), events_.end(), std::back_inserter(sends),
                 [](const Event& e) { return e.kind == Kind::Send; });
    return sends;
}

std::vector<std::uint32_t> RecordingOutput::Packed() const {
    std::vector<std::uint32_t> packed;
    for (const Event& e : events_)
        if (e.kind == Kind::Send)
            packed.push_back(e.message);
    return packed;
}

std::vector<int> RecordingOutput::NoteOnKeys(std::size_t skip) const {
    const std::vector<std::uint32_t> sent = Packed();
    std::vector<int> keys;
    for (std::size_t i = skip; i < sent.size(); ++i)
        if ((sent[i] & 0xF0) == 0x90 && ((sent[i] >> 16) & 0xFF) != 0)
            keys.push_back(static_cast<int>((sent[i] >> 8) & 0xFF));
    return keys;
}

int RecordingOutput::Count(Kind kind) const {
    return static_cast<int>(std::count_if(events_.begin(), events_.end(),
                                          [kind](const Event& e) { return e.kind == kind; }));
}

} // namespace fw

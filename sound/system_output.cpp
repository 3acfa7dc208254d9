#include "system_output.h"

#include "thread_scheduler.h"

namespace fw {

SystemOutput::SystemOutput(std::string preferredSoundFont)
    : synth_(std::move(preferredSoundFont)) {}

int SystemOutput::DeviceCount() {
    return ports_.DeviceCount();
}

std::string SystemOutput::DeviceName(int id) {
    if (id == BuiltInSynthDevice)
        return synth_.DeviceName(id);
    return ports_.DeviceName(id);
}

int SystemOutput::Open(int id) {
    if (open_)
        return MidiResultAllocated;
    MidiOutput* device = id == BuiltInSynthDevice ? static_cast<MidiOutput*>(&synth_) : &ports_;
    const int result = device->Open(id);
    if (result == MidiResultOk)
        open_ = device;
    return result;
}

void SystemOutput::Send(std::uint32_t message) {
    if (open_)
        open_->Send(message);
}

void SystemOutput::Close() {
    if (!open_)
        return;
    open_->Close();
    open_ = nullptr;
}

std::unique_ptr<PlaybackScheduler> SystemOutput::MakeScheduler() {
    if (open_ == &synth_) {
        if (std::unique_ptr<PlaybackScheduler> sequencer = synth_.MakeScheduler())
            return sequencer;
    }
    return std::make_unique<ThreadScheduler>(*this);
}

} // namespace fw

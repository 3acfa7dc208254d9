#include "recording_scheduler.h"

namespace fw {

struct RecordingScheduler::State {
    MidiOutput* output;      // null once the scheduler is gone
    unsigned generation = 0; // moves on at every CancelAll: older actions do nothing
    std::size_t pending = 0;
    SoundingNotes notes;
};

RecordingScheduler::RecordingScheduler(VirtualPlayClock& clock, MidiOutput& output)
    : clock_(clock), state_(std::make_shared<State>()) {
    state_->output = &output;
}

RecordingScheduler::~RecordingScheduler() {
    state_->output = nullptr;
}

void RecordingScheduler::Schedule(PlayTime at, std::uint32_t message) {
    ++state_->pending;
    clock_.At(at, [state = state_, generation = state_->generation, message] {
        if (!state->output || generation != state->generation)
            return;
        --state->pending;
        state->notes.Sent(message);
        state->output->Send(message);
    });
}

void RecordingScheduler::ScheduleCallback(PlayTime at, std::function<void()> callback) {
    ++state_->pending;
    clock_.At(at,
              [state = state_, generation = state_->generation, callback = std::move(callback)] {
                  if (!state->output || generation != state->generation)
                      return;
                  --state->pending;
                  callback();
              });
}

void RecordingScheduler::CancelAll() {
    ++state_->generation;
    state_->pending = 0;
    state_->notes.ReleaseAll([this](std::uint32_t off) { state_->output->Send(off); });
}

std::size_t RecordingScheduler::Pending() const {
    return state_->pending;
}

} // namespace fw

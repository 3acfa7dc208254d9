#pragma once
// A scheduler on the virtual clock for tests: each message is sent to the output it is given
// (usually a RecordingOutput on the same clock) when a wait or an Advance of the clock passes
// its time, so a whole play runs instantly with exact times.

#include "midi_output.h"
#include "playback_scheduler.h"
#include "virtual_play_clock.h"

#include <memory>

namespace fw {

class RecordingScheduler : public PlaybackScheduler {
public:
    // Both must outlive the scheduler.
    RecordingScheduler(VirtualPlayClock& clock, MidiOutput& output);
    ~RecordingScheduler() override;

    PlayTime Now() const override { return clock_.Now(); }
    void Schedule(PlayTime at, std::uint32_t message) override;
    void ScheduleCallback(PlayTime at, std::function<void()> callback) override;
    // The note-offs for the sounding notes are sent at the clock's time.
    void CancelAll() override;
    std::size_t Pending() const override;

private:
    struct State;
    VirtualPlayClock& clock_;
    // Shared with the clock's actions, which may outlive the scheduler.
    std::shared_ptr<State> state_;
};

} // namespace fw

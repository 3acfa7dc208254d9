#pragma once
// Sending MIDI messages at times set ahead, so that a play keeps its time whatever the window
// does meanwhile. Three schedulers sit behind this interface: the built-in synthesizer's own
// sequencer (fluid_scheduler.h, timed by the samples it renders), a playback thread for the
// external ports (thread_scheduler.h), and one on the virtual clock for tests
// (recording_scheduler.h).

#include "play_clock.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>

namespace fw {

class PlaybackScheduler {
public:
    virtual ~PlaybackScheduler() = default;

    // The scheduler's own time, on the same scale as the times given to Schedule.
    virtual PlayTime Now() const = 0;

    // Sends the packed message (status | data1 << 8 | data2 << 16) at `at`. Messages for the
    // same time go out in the order they were scheduled. A time already past sends as soon as
    // possible. Callable from the thread that owns the scheduler only.
    virtual void Schedule(PlayTime at, std::uint32_t message) = 0;

    // Runs `callback` once at `at`, in time order with the messages (after the messages
    // scheduled before it for the same time), on the scheduler's own thread: the synthesizer's
    // audio thread, the playback thread, or the caller of the virtual clock's waits. The
    // callback must be quick and must not call back into the scheduler.
    virtual void ScheduleCallback(PlayTime at, std::function<void()> callback) = 0;

    // Stop: drops every message and callback not yet due, then turns off every note that is
    // sounding through the scheduler, so nothing hangs. When it returns, nothing scheduled
    // before it will be sent any more.
    virtual void CancelAll() = 0;

    // Messages and callbacks scheduled and not yet sent or run.
    virtual std::size_t Pending() const = 0;
};

// The notes a scheduler has turned on and not yet off, by channel and key, so that Stop can
// turn off exactly those, with true note-off messages.
class SoundingNotes {
public:
    // Follows one message as sent.
    void Sent(std::uint32_t message);
    // The note-off messages (velocity 0) for every sounding note, channel 0 first and keys
    // upwards; forgets them.
    template <typename Send> void ReleaseAll(Send send) {
        for (std::size_t channel = 0; channel < on_.size(); ++channel) {
            for (std::size_t key = 0; key < 128; ++key) {
                if (on_[channel].test(key))
                    send(static_cast<std::uint32_t>(0x80 | channel) |
                         static_cast<std::uint32_t>(key) << 8);
            }
            on_[channel].reset();
        }
    }
    bool Any() const;

private:
    std::array<std::bitset<128>, 16> on_{};
};

} // namespace fw

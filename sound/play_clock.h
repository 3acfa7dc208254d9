#pragma once
// The clock that sounding runs on: what time it is, and waiting until a deadline. The real
// clock lives in steady_play_clock.h; tests use the virtual clock of virtual_play_clock.h, on
// which a whole song plays instantly with exact times.

#include <chrono>
#include <functional>

namespace fw {

// A point in time on a PlayClock, counted from the clock's own origin.
using PlayTime = std::chrono::microseconds;

// Reads the stop flag of a play; called from the thread that plays.
using StopCheck = std::function<bool()>;

class PlayClock {
public:
    virtual ~PlayClock() = default;

    virtual PlayTime Now() const = 0;

    // Returns when Now() has reached `deadline`, or earlier as soon as `stopRequested()` is true
    // (it is read once on entry and while waiting). With `pumpMessages` the program's pending
    // events run during the wait (they are what can set the stop flag); without it no event runs.
    // A deadline that has passed returns at once. `stopRequested` must be callable.
    virtual void WaitUntil(PlayTime deadline, bool pumpMessages,
                           const StopCheck& stopRequested) = 0;
};

} // namespace fw

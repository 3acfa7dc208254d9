#pragma once
// A clock for tests: waits take no real time, they move the clock to their deadline. Actions
// can be scheduled at a time (pressing Stop at 2000 ms, say); they run during the wait that
// passes their time, in time order, as an event would, whether or not the wait pumps.

#include "play_clock.h"

#include <functional>
#include <vector>

namespace fw {

class VirtualPlayClock : public PlayClock {
public:
    explicit VirtualPlayClock(PlayTime start = PlayTime{0}) : now_(start) {}

    PlayTime Now() const override { return now_; }
    void WaitUntil(PlayTime deadline, bool pumpMessages, const StopCheck& stopRequested) override;

    // Moves the clock forward by `by` without a wait (time spent elsewhere); due actions run.
    void Advance(PlayTime by);

    // Runs `action` once the clock reaches `at`. Actions at the same time run in the order
    // they were added; an action whose time has already passed runs at the next wait.
    void At(PlayTime at, std::function<void()> action);

    struct Wait {
        PlayTime from;     // clock at the call
        PlayTime deadline; // as asked
        PlayTime end;      // clock on return
        bool pumped;
    };
    // Every WaitUntil call so far, in order.
    const std::vector<Wait>& Waits() const { return waits_; }

private:
    struct Action {
        PlayTime at;
        std::function<void()> run;
    };
    // Runs the first action if it is due by `upTo`, moving the clock to its time.
    bool RunNextActionUpTo(PlayTime upTo);

    PlayTime now_;
    std::vector<Action> actions_; // sorted by time, stable
    std::vector<Wait> waits_;
};

} // namespace fw

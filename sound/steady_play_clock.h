#pragma once
// The real clock: std::chrono::steady_clock in microseconds. Waits do not spin: an unpumped
// wait sleeps until its deadline; a pumped wait lets events run (through the event pump it is
// given) until shortly before the deadline and sleeps the last stretch, so the deadline is met
// to a fraction of a millisecond at almost no processor cost.

#include "play_clock.h"

namespace fw {

// Lets the program's events run, at least the pending ones, and then keeps doing so until
// the clock reaches `until` or `stopRequested()` is true, whichever comes first. It may return
// somewhat before `until`, never much after it.
using EventPump = std::function<void(PlayTime until, const StopCheck& stopRequested)>;

class SteadyPlayClock : public PlayClock {
public:
    // How long before a pumped wait's deadline the event pump is left for a plain sleep.
    static constexpr PlayTime PumpMargin{2000};

    // Without a pump, pumped waits behave as unpumped ones.
    explicit SteadyPlayClock(EventPump pump = {}) : pump_(std::move(pump)) {}

    PlayTime Now() const override { return SteadyNow(); }
    void WaitUntil(PlayTime deadline, bool pumpMessages, const StopCheck& stopRequested) override;

    // steady_clock's reading in microseconds since its epoch.
    static PlayTime SteadyNow();

private:
    EventPump pump_;
};

} // namespace fw

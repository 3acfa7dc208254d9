#include "steady_play_clock.h"

#include <thread>

namespace fw {

PlayTime SteadyPlayClock::SteadyNow() {
    return std::chrono::duration_cast<PlayTime>(
        std::chrono::steady_clock::now().time_since_epoch());
}

void SteadyPlayClock::WaitUntil(PlayTime deadline, bool pumpMessages,
                                const StopCheck& stopRequested) {
    if (pumpMessages && pump_) {
        // A pending event may be the one that stops the play, so it runs even when little
        // or no time is left.
        pump_(std::max(SteadyNow(), deadline - PumpMargin), stopRequested);
    }
    if (stopRequested() || deadline <= SteadyNow())
        return;
    std::this_thread::sleep_until(std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(deadline)));
}

} // namespace fw

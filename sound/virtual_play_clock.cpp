#include "virtual_play_clock.h"

#include <algorithm>

namespace fw {

bool VirtualPlayClock::RunNextActionUpTo(PlayTime upTo) {
    if (actions_.empty() || actions_.front().at > upTo)
        return false;
    Action action = std::move(actions_.front());
    actions_.erase(actions_.begin());
    now_ = std::max(now_, action.at);
    action.run();
    return true;
}

void VirtualPlayClock::WaitUntil(PlayTime deadline, bool pumpMessages,
                                 const StopCheck& stopRequested) {
    const PlayTime from = now_;
    // What is already due runs first, as pending events would; then the flag is looked at.
    bool stopped = false;
    while (!stopped && RunNextActionUpTo(now_))
        stopped = stopRequested();
    stopped = stopped || stopRequested();
    while (!stopped && RunNextActionUpTo(deadline))
        stopped = stopRequested();
    if (!stopped)
        now_ = std::max(now_, deadline);
    waits_.push_back({from, deadline, now_, pumpMessages});
}

void VirtualPlayClock::Advance(PlayTime by) {
    const PlayTime target = now_ + by;
    while (RunNextActionUpTo(target)) {
    }
    now_ = std::max(now_, target);
}

void VirtualPlayClock::At(PlayTime at, std::function<void()> action) {
    const auto pos = std::upper_bound(actions_.begin(), actions_.end(), at,
                                      [](PlayTime t, const Action& a) { return t < a.at; });
    actions_.insert(pos, Action{at, std::move(action)});
}

} // namespace fw

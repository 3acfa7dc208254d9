#include "idle_audio_output.h"

#include <algorithm>

namespace fw {

namespace {
using Clock = std::chrono::steady_clock;
// While the output is open it is looked at this often: a wake-up a second costs nothing.
constexpr std::chrono::milliseconds LookEvery{1000};
} // namespace

IdleAudioOutput::IdleAudioOutput(std::function<bool()> open, std::function<void()> close,
                                 std::function<bool()> busy, std::chrono::milliseconds idleAfter)
    : openOutput_(std::move(open)), closeOutput_(std::move(close)), busy_(std::move(busy)),
      idleAfter_(std::max(idleAfter, std::chrono::milliseconds(1))), lastSound_(Clock::now()),
      watcher_([this] { Watch(); }) {}

IdleAudioOutput::~IdleAudioOutput() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    watcher_.join();
}

bool IdleAudioOutput::Wake() {
    std::lock_guard lock(mutex_);
    lastSound_ = Clock::now();
    if (!isOpen_) {
        isOpen_ = openOutput_();
        changed_.notify_all(); // the watcher sleeps while the output is closed
    }
    return isOpen_;
}

bool IdleAudioOutput::IsOpen() const {
    std::lock_guard lock(mutex_);
    return isOpen_;
}

int IdleAudioOutput::IdleCloses() const {
    std::lock_guard lock(mutex_);
    return idleCloses_;
}

void IdleAudioOutput::Watch() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (!isOpen_) {
            // Closed: nothing to watch until Wake opens it again.
            changed_.wait(lock, [this] { return stopping_ || isOpen_; });
            continue;
        }
        const Clock::time_point now = Clock::now();
        if (busy_())
            lastSound_ = now;
        const Clock::time_point due = lastSound_ + idleAfter_;
        if (now >= due) {
            closeOutput_();
            isOpen_ = false;
            ++idleCloses_;
            continue;
        }
        changed_.wait_until(lock, std::min(due, now + LookEvery));
    }
}

} // namespace fw

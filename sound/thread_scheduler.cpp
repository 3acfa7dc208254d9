#include "thread_scheduler.h"

#include "steady_play_clock.h"

namespace fw {

namespace {

std::chrono::steady_clock::time_point SteadyPoint(PlayTime t) {
    return std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(t));
}

} // namespace

ThreadScheduler::ThreadScheduler(MidiOutput& output) : output_(output) {
    thread_ = std::thread([this] { Run(); });
}

ThreadScheduler::~ThreadScheduler() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        queue_.clear();
    }
    wake_.notify_all();
    thread_.join();
}

PlayTime ThreadScheduler::Now() const {
    return SteadyPlayClock::SteadyNow();
}

void ThreadScheduler::Add(PlayTime at, Item item) {
    bool earliest = false;
    {
        std::lock_guard lock(mutex_);
        const auto key = std::make_pair(at, nextOrder_++);
        earliest = queue_.empty() || key < queue_.begin()->first;
        queue_.emplace(key, std::move(item));
    }
    // Only a new first deadline changes what the thread waits for.
    if (earliest)
        wake_.notify_all();
}

void ThreadScheduler::Schedule(PlayTime at, std::uint32_t message) {
    Add(at, Item{message, {}});
}

void ThreadScheduler::ScheduleCallback(PlayTime at, std::function<void()> callback) {
    Add(at, Item{0, std::move(callback)});
}

void ThreadScheduler::CancelAll() {
    // Holding the lock waits out a message being sent and keeps the thread from sending more.
    std::lock_guard lock(mutex_);
    queue_.clear();
    notes_.ReleaseAll([this](std::uint32_t off) { output_.Send(off); });
}

std::size_t ThreadScheduler::Pending() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

void ThreadScheduler::Run() {
    std::unique_lock lock(mutex_);
    while (!quit_) {
        if (queue_.empty()) {
            wake_.wait(lock);
            continue;
        }
        const PlayTime due = queue_.begin()->first.first;
        const PlayTime now = SteadyPlayClock::SteadyNow();
        if (due > now) {
            if (due - now > SteadyPlayClock::PumpMargin) {
                // Woken early by an earlier message, by Stop, or by the end.
                wake_.wait_until(lock, SteadyPoint(due - SteadyPlayClock::PumpMargin));
            } else {
                // The last stretch is slept without the lock, as the program's waits do;
                // what was cancelled meanwhile is seen after it.
                lock.unlock();
                std::this_thread::sleep_until(SteadyPoint(due));
                lock.lock();
            }
            continue;
        }
        // Everything due goes out back to back, so a chord's strings start together.
        while (!queue_.empty() && queue_.begin()->first.first <= now) {
            Item item = std::move(queue_.begin()->second);
            queue_.erase(queue_.begin());
            if (item.callback) {
                item.callback();
            } else {
                notes_.Sent(item.message);
                output_.Send(item.message);
            }
        }
    }
}

} // namespace fw

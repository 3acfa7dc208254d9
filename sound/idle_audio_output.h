#pragma once
// An audio output that is open only while there is something to hear. After a stretch in which
// nothing has sounded it is closed, so that the sound server renders no silence for us and the
// machine can rest; the next sounding opens it again before its first note.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace fw {

class IdleAudioOutput {
public:
    // How long nothing must have sounded before the output is closed.
    static constexpr std::chrono::milliseconds DefaultIdleAfter{10000};

    // `open` starts the output and says whether it runs; `close` stops it; `busy` says whether
    // something sounds or is about to (notes held, a play scheduled). All three are
    // called on the watching thread or the caller of Wake, never at the same time. The output
    // is running when this is made (it was just started). `idleAfter` below 1 ms counts as 1 ms.
    IdleAudioOutput(std::function<bool()> open, std::function<void()> close,
                    std::function<bool()> busy, std::chrono::milliseconds idleAfter);
    // Stops watching; the output is left as it is (its owner stops it).
    ~IdleAudioOutput();
    IdleAudioOutput(const IdleAudioOutput&) = delete;
    IdleAudioOutput& operator=(const IdleAudioOutput&) = delete;

    // Something is about to sound: opens the output when it was closed and starts the idle
    // stretch again. Returns whether the output runs.
    bool Wake();
    bool IsOpen() const;
    // How many times the output was closed for being idle.
    int IdleCloses() const;

private:
    void Watch();

    std::function<bool()> openOutput_;
    std::function<void()> closeOutput_;
    std::function<bool()> busy_;
    const std::chrono::milliseconds idleAfter_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool isOpen_ = true;
    bool stopping_ = false;
    int idleCloses_ = 0;
    std::chrono::steady_clock::time_point lastSound_;
    std::thread watcher_; // last: starts once everything above is in place
};

} // namespace fw

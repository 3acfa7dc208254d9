#pragma once
// The scheduler for the external MIDI ports: a playback thread of its own sends each message
// at its deadline on the steady clock, with the program's usual waits (a wait on new work
// until shortly before the deadline, then a plain sleep until it), whatever the window's
// thread is doing.

#include "midi_output.h"
#include "playback_scheduler.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

namespace fw {

class ThreadScheduler : public PlaybackScheduler {
public:
    // `output` must outlive the scheduler and be open while messages are due; its Send is
    // called from the playback thread only, and nothing else may use it meanwhile.
    explicit ThreadScheduler(MidiOutput& output);
    // Drops what is pending (without sending note-offs: call CancelAll first for that) and
    // ends the thread.
    ~ThreadScheduler() override;
    ThreadScheduler(const ThreadScheduler&) = delete;
    ThreadScheduler& operator=(const ThreadScheduler&) = delete;

    // The steady clock, in microseconds since its epoch.
    PlayTime Now() const override;
    void Schedule(PlayTime at, std::uint32_t message) override;
    void ScheduleCallback(PlayTime at, std::function<void()> callback) override;
    // Waits for a message being sent right now, then sends the note-offs from the caller's
    // thread while the playback thread is held.
    void CancelAll() override;
    std::size_t Pending() const override;

private:
    struct Item {
        std::uint32_t message = 0;
        std::function<void()> callback; // set for a callback, else the message is sent
    };
    void Run();
    void Add(PlayTime at, Item item);

    MidiOutput& output_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    // By time, then by the order they were scheduled in.
    std::map<std::pair<PlayTime, std::uint64_t>, Item> queue_;
    std::uint64_t nextOrder_ = 0;
    SoundingNotes notes_;
    bool quit_ = false;
    std::thread thread_;
};

} // namespace fw

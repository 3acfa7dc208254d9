#pragma once
// The built-in synthesizer's scheduler: FluidSynth's own sequencer, with the synth as its
// client, timed by the samples the synth renders. Once scheduled, a note sounds on time
// however busy the program's threads are. Times are the sequencer's milliseconds, counted
// from the sequencer's creation in rendered audio. The sequencer keeps no order among events of
// the same time, so the messages of one time travel together as one event and reach the synth
// in the order they were scheduled: a chord's strings 1 to 5.

#include "playback_scheduler.h"

#include <fluidsynth.h>

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace fw {

class FluidScheduler : public PlaybackScheduler {
public:
    // A scheduler for `synth`, which must outlive it. Null when FluidSynth refuses to make the
    // sequencer or to register the synth or the scheduler with it; then `error` (may be null)
    // says so.
    static std::unique_ptr<FluidScheduler> Make(fluid_synth_t* synth, std::string* error);
    ~FluidScheduler() override;
    FluidScheduler(const FluidScheduler&) = delete;
    FluidScheduler& operator=(const FluidScheduler&) = delete;

    // The synth renders in blocks of this many frames, and a scheduled event takes effect at
    // the start of a block.
    static constexpr int BlockFrames = 64;

    // The sequencer's time: the synth's rendered audio in whole milliseconds.
    PlayTime Now() const override;
    // Note-on, note-off, program change and controller messages are scheduled; other kinds
    // are ignored. An event sounds from the start of the block nearest its time that the
    // sequencer's whole milliseconds can reach: within half a block (0.73 ms at 44.1 kHz) when
    // blocks last a millisecond or more; at 96 kHz within a third of a millisecond for a time
    // on a whole millisecond, and within 0.67 ms for any time.
    void Schedule(PlayTime at, std::uint32_t message) override;
    void ScheduleCallback(PlayTime at, std::function<void()> callback) override;
    // Removes every scheduled event and releases every note on every channel of the synth;
    // heard from the next block the audio output renders.
    void CancelAll() override;
    std::size_t Pending() const override;

private:
    FluidScheduler(fluid_synth_t* synth, fluid_sequencer_t* sequencer);
    static void OnEvent(unsigned int time, fluid_event_t* event, fluid_sequencer_t* sequencer,
                        void* data);
    // What is due at one time, in the order it was scheduled: a message, or a callback.
    struct Item {
        std::uint32_t message = 0;
        std::function<void()> callback;
    };
    struct Batch {
        unsigned int tick = 0;
        std::vector<Item> items;
    };
    // Adds the item to the batch of `tick` not yet sent, or starts one with its own event.
    void Add(unsigned int tick, Item item);
    // The sequencer tick that makes an event take effect at the reachable block nearest `at`
    // in a synth at `sampleRate` (a whole number of frames a second).
    static unsigned int TickAt(PlayTime at, long long sampleRate);
    // The first frame of the block in which an event at `tick` takes effect.
    static long long OnsetFrameOfTick(unsigned int tick, long long sampleRate);

    fluid_synth_t* synth_;
    fluid_sequencer_t* sequencer_;
    long long sampleRate_ = 44100;
    fluid_seq_id_t synthClient_ = -1;
    fluid_seq_id_t selfClient_ = -1;
    // Batches waiting for their timer event, by number, and the number of each time's batch
    // not yet sent; run on the audio thread.
    mutable std::mutex mutex_;
    std::map<std::uintptr_t, Batch> batches_;
    std::map<unsigned int, std::uintptr_t> openBatch_;
    std::uintptr_t nextBatch_ = 1;
    // When each scheduled event is due, for Pending.
    mutable std::multiset<unsigned int> due_;
};

} // namespace fw

#include "fluid_scheduler.h"

#include "fluid_support.h"
#include "short_message.h"

#include <algorithm>
#include <cmath>

namespace fw {

namespace {

struct EventDeleter {
    void operator()(fluid_event_t* e) const { delete_fluid_event(e); }
};
using EventPtr = std::unique_ptr<fluid_event_t, EventDeleter>;

} // namespace

std::unique_ptr<FluidScheduler> FluidScheduler::Make(fluid_synth_t* synth, std::string* error) {
    QuietFluidSynthLog();
    const auto fail = [error](const char* text) {
        if (error)
            *error = text;
        return nullptr;
    };
    if (!synth)
        return fail("The synthesizer is not ready.");
    // Without the system timer the sequencer's time is the synth's rendered audio.
    fluid_sequencer_t* sequencer = new_fluid_sequencer2(0);
    if (!sequencer)
        return fail("The sequencer could not be started.");
    std::unique_ptr<FluidScheduler> scheduler(new FluidScheduler(synth, sequencer));
    double rate = 0;
    if (fluid_settings_getnum(fluid_synth_get_settings(synth), "synth.sample-rate", &rate) !=
            FLUID_OK ||
        rate < 8000)
        return fail("The sequencer could not be started.");
    scheduler->sampleRate_ = std::llround(rate);
    scheduler->synthClient_ = fluid_sequencer_register_fluidsynth(sequencer, synth);
    scheduler->selfClient_ = fluid_sequencer_register_client(
        sequencer, "Fretwick play", &FluidScheduler::OnEvent, scheduler.get());
    if (scheduler->synthClient_ == FLUID_FAILED || scheduler->selfClient_ == FLUID_FAILED)
        return fail("The sequencer could not be started.");
    return scheduler;
}

FluidScheduler::FluidScheduler(fluid_synth_t* synth, fluid_sequencer_t* sequencer)
    : synth_(synth), sequencer_(sequencer) {}

FluidScheduler::~FluidScheduler() {
    // Unregisters both clients: the synth's timer stops driving the sequencer, and no
    // callback of ours runs any more.
    delete_fluid_sequencer(sequencer_);
}

long long FluidScheduler::OnsetFrameOfTick(unsigned int tick, long long sampleRate) {
    // The synth runs the sequencer at the start of every block b with the time rendered so
    // far in whole milliseconds, floor(1000 * 64 * b / rate); an event is sent in the first
    // block whose time has reached its tick.
    const long long perBlock = 1000LL * BlockFrames; // a block's milliseconds times the rate
    const long long block = (static_cast<long long>(tick) * sampleRate + perBlock - 1) / perBlock;
    return block * BlockFrames;
}

unsigned int FluidScheduler::TickAt(PlayTime at, long long sampleRate) {
    // When a block lasts less than a millisecond, two blocks can share a time and the second
    // is out of reach; of the ticks around `at`, the one whose block starts nearest it wins
    // (the later on a tie: a note is rather late than early).
    const long long us = std::max<long long>(at.count(), 0);
    const long long ms = us / 1000;
    // The nearest reachable block is less than a block and a millisecond away.
    const long long span = 2 + (1000LL * BlockFrames + sampleRate - 1) / sampleRate;
    unsigned int best = 0;
    long long bestError = -1;
    for (long long tick = std::max<long long>(ms - span, 0); tick <= ms + span; ++tick) {
        // Both times in microseconds times the rate, to stay in whole numbers.
        const long long onset =
            OnsetFrameOfTick(static_cast<unsigned int>(tick), sampleRate) * 1000000LL;
        const long long error = std::llabs(onset - us * sampleRate);
        if (bestError < 0 || error <= bestError) {
            bestError = error;
            best = static_cast<unsigned int>(tick);
        }
    }
    return best;
}

PlayTime FluidScheduler::Now() const {
    return std::chrono::milliseconds(fluid_sequencer_get_tick(sequencer_));
}

void FluidScheduler::Add(unsigned int tick, Item item) {
    std::uintptr_t number = 0;
    {
        std::lock_guard lock(mutex_);
        due_.insert(tick);
        if (const auto open = openBatch_.find(tick); open != openBatch_.end()) {
            batches_[open->second].items.push_back(std::move(item));
            return;
        }
        number = nextBatch_++;
        Batch& batch = batches_[number];
        batch.tick = tick;
        batch.items.push_back(std::move(item));
        openBatch_[tick] = number;
    }
    // The sequencer is called without our lock: its audio thread takes that lock in OnEvent
    // while holding the sequencer's own.
    EventPtr event(new_fluid_event());
    bool sent = false;
    if (event) {
        fluid_event_set_source(event.get(), -1);
        fluid_event_set_dest(event.get(), selfClient_);
        fluid_event_timer(event.get(), reinterpret_cast<void*>(number));
        // Absolute time; an event already due is sent at the next block.
        sent = fluid_sequencer_send_at(sequencer_, event.get(), tick, 1) == FLUID_OK;
    }
    if (!sent) {
        std::lock_guard lock(mutex_);
        if (const auto it = batches_.find(number); it != batches_.end()) {
            for (std::size_t i = 0; i < it->second.items.size(); ++i)
                due_.erase(due_.find(tick));
            batches_.erase(it);
        }
        openBatch_.erase(tick);
    }
}

void FluidScheduler::Schedule(PlayTime at, std::uint32_t message) {
    const ShortMessage m = UnpackShortMessage(message);
    switch (m.Kind()) {
    case 0x80:
    case 0x90:
    case 0xB0:
    case 0xC0:
        Add(TickAt(at, sampleRate_),
            {PackShortMessage(m.status, static_cast<std::uint8_t>(m.data1 & 0x7F),
                              static_cast<std::uint8_t>(m.data2 & 0x7F)),
             {}});
        break;
    default:
        break; // other kinds are not played
    }
}

void FluidScheduler::ScheduleCallback(PlayTime at, std::function<void()> callback) {
    Add(TickAt(at, sampleRate_), {0, std::move(callback)});
}

void FluidScheduler::OnEvent(unsigned int, fluid_event_t* event, fluid_sequencer_t*, void* data) {
    auto* self = static_cast<FluidScheduler*>(data);
    if (fluid_event_get_type(event) != FLUID_SEQ_TIMER)
        return; // the unregistering notice at the end
    Batch batch;
    {
        std::lock_guard lock(self->mutex_);
        const auto it =
            self->batches_.find(reinterpret_cast<std::uintptr_t>(fluid_event_get_data(event)));
        if (it == self->batches_.end())
            return;
        batch = std::move(it->second);
        self->batches_.erase(it);
        self->openBatch_.erase(batch.tick);
    }
    for (Item& item : batch.items) {
        if (item.callback)
            item.callback();
        else
            static_cast<void>(ApplyShortMessage(self->synth_, item.message));
    }
}

void FluidScheduler::CancelAll() {
    fluid_sequencer_remove_events(sequencer_, -1, -1, -1);
    {
        std::lock_guard lock(mutex_);
        batches_.clear();
        openBatch_.clear();
        due_.clear();
    }
    // Released notes fade out as they would at their own note-off; when the synth refuses,
    // cutting them dead is what is left.
    if (fluid_synth_all_notes_off(synth_, -1) != FLUID_OK)
        static_cast<void>(fluid_synth_all_sounds_off(synth_, -1));
}

std::size_t FluidScheduler::Pending() const {
    const unsigned int now = fluid_sequencer_get_tick(sequencer_);
    std::lock_guard lock(mutex_);
    // An event is sent once the sequencer's time has reached it.
    due_.erase(due_.begin(), due_.upper_bound(now));
    return due_.size();
}

} // namespace fw

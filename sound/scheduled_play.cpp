#include "scheduled_play.h"

#include "chord_events.h"
#include "chord_player.h"
#include "chords/chord_parser.h"

#include <algorithm>

namespace fw {

namespace {
using std::chrono::milliseconds;
} // namespace

ScheduledPlay::ScheduledPlay(PlaybackScheduler& scheduler, const MidiPort& port,
                             std::vector<ChordEntry> entries, const ScheduledPlayOptions& options,
                             PlayTime lead)
    : scheduler_(scheduler), port_(port), entries_(std::move(entries)), options_(options),
      lead_(lead), tempo_(std::clamp(options.Tempo, 1, 500)), next_(options.First) {
    options_.First = std::max(options_.First, 0);
    options_.Last = std::min(options_.Last, static_cast<int>(entries_.size()) - 1);
    options_.SongTempo = std::clamp(options_.SongTempo, 1, 500);
    StartPass();
}

void ScheduledPlay::StartPass() {
    next_ = options_.First;
    span_ = 0;
    markerTempo_ = 0;
    meter_ = options_.Meter;
    // After a pickup the metronome's first accent falls on the measure after it.
    const int measure = MeasureTicks(meter_);
    passTicks_ = options_.PickupTicks > 0 && options_.PickupTicks < measure
                     ? measure - options_.PickupTicks
                     : 0;
    if (!options_.Spans.empty()) {
        next_ = static_cast<int>(options_.Spans.front().first);
        markerTempo_ = options_.Spans.front().tempo;
        meter_ = options_.Spans.front().meter;
    }
}

int ScheduledPlay::NextLine() {
    if (options_.Spans.empty())
        return next_ > options_.Last ? -1 : next_++;
    while (span_ < options_.Spans.size() && next_ >= static_cast<int>(options_.Spans[span_].end)) {
        if (++span_ == options_.Spans.size())
            return -1;
        const SoundingSpan& span = options_.Spans[span_];
        next_ = static_cast<int>(span.first);
        // A jump back to a repeat's start brings back its tempo and meter.
        markerTempo_ = span.tempo;
        if (!(span.meter == meter_)) {
            meter_ = span.meter;
            passTicks_ = 0;
        }
    }
    if (span_ >= options_.Spans.size())
        return -1;
    return next_ < static_cast<int>(entries_.size()) ? next_++ : -1;
}

void ScheduledPlay::Send(PlayTime at, std::uint32_t message) {
    if (port_.IsOpen())
        scheduler_.Schedule(at, message);
}

void ScheduledPlay::ScheduleClick(PlayTime at, bool accent, int beatMs) {
    Send(at, ClickOnMessage(accent));
    Send(at + milliseconds(std::max(1, std::min(ClickLengthMs, beatMs / 2))),
         ClickOffMessage(accent));
}

void ScheduledPlay::Start(PlayTime delay) {
    if (started_)
        return;
    started_ = true;
    cursor_ = scheduler_.Now() + std::max(delay, PlayTime{0});
    const int clicks =
        std::clamp(options_.Practice.CountInMeasures, 0, 2) * std::max(options_.Meter.beats, 1);
    const int beatMs = BeatMs(CurrentTempo(), options_.Meter);
    for (int k = 0; k < clicks; ++k) {
        ScheduleClick(cursor_, k % std::max(options_.Meter.beats, 1) == 0, beatMs);
        cursor_ += milliseconds(beatMs);
    }
    Pump();
}

int ScheduledPlay::CurrentTempo() const {
    return TrainerTempo(tempo_, options_.Practice, options_.Loop ? pass_ : 0);
}

void ScheduledPlay::SetTempo(int tempo) {
    tempo_ = std::clamp(tempo, 1, 500);
}

bool ScheduledPlay::ScheduleNextChord() {
    for (;;) {
        int line = NextLine();
        if (line < 0) {
            // A pass over a range without a chord that takes time would loop without end.
            if (!options_.Loop || !passHadTime_)
                return false;
            ++pass_;
            StartPass();
            passHadTime_ = false;
            line = NextLine();
            if (line < 0)
                return false;
        }
        const ChordEntry& entry = entries_[static_cast<std::size_t>(line)];
        if (KindOf(entry) != LineKind::Chord) {
            BeatMeter meter = meter_;
            if (!options_.Spans.empty() && ApplyTempoOrMeter(entry.Name, markerTempo_, meter) &&
                !(meter == meter_)) {
                // A new meter starts its first measure here.
                meter_ = meter;
                passTicks_ = 0;
            }
            continue;
        }
        const int base = CurrentTempo();
        const int tempo = markerTempo_ > 0
                              ? std::clamp(static_cast<int>(static_cast<long long>(markerTempo_) *
                                                            base / options_.SongTempo),
                                           1, 500)
                              : base;
        const ChordEvents chord = ChordEventList(entry.Note, entry.HammerNote,
                                                 DurationValue(entry.Duration, WholeNoteMs(tempo)),
                                                 HammerStepMs(tempo), options_.TuningOffset);
        const PlayTime start = cursor_;
        for (const ChordEvent& event : chord.events) {
            Send(start + milliseconds(event.atMs),
                 event.on ? port_.NoteOnMessage(event.key) : port_.NoteOffMessage(event.key));
        }
        // The beats inside the chord, spread over the time it sounds: a beat on the chord's
        // start clicks exactly with it.
        const int ticks = DurationValue(entry.Duration, WholeNoteTicks);
        if (options_.Practice.Metronome && ticks > 0) {
            const int beat = BeatTicks(meter_);
            const int measure = MeasureTicks(meter_);
            const int beatMs = BeatMs(tempo, meter_);
            for (int b = (passTicks_ + beat - 1) / beat * beat; b < passTicks_ + ticks; b += beat) {
                const long long offset =
                    static_cast<long long>(b - passTicks_) * chord.lengthMs / ticks;
                ScheduleClick(start + milliseconds(offset), b % measure == 0, beatMs);
            }
        }
        passTicks_ += ticks;
        passHadTime_ = passHadTime_ || chord.lengthMs > 0;
        sounding_.push_back({start, line});
        if (OnChordScheduled)
            OnChordScheduled(start, line);
        cursor_ += milliseconds(chord.lengthMs);
        return true;
    }
}

void ScheduledPlay::Pump() {
    if (!started_ || stopped_ || ended_)
        return;
    const PlayTime horizon = scheduler_.Now() + lead_;
    while (cursor_ <= horizon) {
        if (!ScheduleNextChord()) {
            ended_ = true;
            if (OnFinished)
                scheduler_.ScheduleCallback(cursor_, OnFinished);
            break;
        }
    }
}

void ScheduledPlay::Stop() {
    stopped_ = true;
    scheduler_.CancelAll();
}

int ScheduledPlay::PlayingLine() {
    const PlayTime now = scheduler_.Now();
    while (!sounding_.empty() && sounding_.front().start <= now) {
        lastLine_ = sounding_.front().line;
        sounding_.pop_front();
    }
    return lastLine_;
}

bool ScheduledPlay::Finished() const {
    return stopped_ || (ended_ && scheduler_.Now() >= cursor_);
}

} // namespace fw

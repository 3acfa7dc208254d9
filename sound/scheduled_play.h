#pragma once
// A range play scheduled ahead: the chords of a play list from `first` to `last`, once or in
// a loop, with the count-in, the metronome and the speed trainer, put on a PlaybackScheduler
// a little ahead of time. The thread that owns it (the window's) only calls Pump now and then
// and follows: the notes keep their time on the scheduler, whatever that thread is doing.
// Every chord plays the same events in the same order as the blocking chord player.

#include "chords/beat_meter.h"
#include "chords/chord_entry.h"
#include "chords/song_structure.h"
#include "midi_port.h"
#include "playback_scheduler.h"
#include "practice.h"

#include <array>
#include <deque>
#include <functional>
#include <vector>

namespace fw {

struct ScheduledPlayOptions {
    int First = 0;
    int Last = -1; // inclusive; a range without a chord line plays nothing
    bool Loop = false;
    int Tempo = 120;                   // the base tempo, 1..500
    std::array<int, 6> TuningOffset{}; // semitones per string 1..5
    PracticeSettings Practice;
    BeatMeter Meter;
    // The song's sounding order (chords/song_structure.h) for a song with structure markers:
    // when not empty, the play walks these spans instead of First..Last (a loop starts them
    // again), each chord at the tempo and meter in force where it sounds. A marker tempo T
    // plays at T * Tempo / SongTempo, so the tempo box and the trainer scale every tempo alike.
    std::vector<SoundingSpan> Spans;
    int SongTempo = 120;
    int PickupTicks = 0; // in WholeNoteTicks: the metronome's first measure is this short
};

class ScheduledPlay {
public:
    // How far ahead of the scheduler's time chords are scheduled by default. A tempo change
    // reaches the chords that start later than this.
    static constexpr PlayTime DefaultLead{100000};

    // `scheduler` and `port` must outlive the play. The port gives the note messages their
    // channel and octave; while it is not open no message is scheduled, and the play keeps its
    // time in silence. `entries` is the play list (entry i is line i; comment and blank lines
    // take no time).
    ScheduledPlay(PlaybackScheduler& scheduler, const MidiPort& port,
                  std::vector<ChordEntry> entries, const ScheduledPlayOptions& options,
                  PlayTime lead = DefaultLead);

    // Schedules the count-in (all of it, at the first pass's tempo) from the scheduler's time
    // now plus `delay`, and the chords due within the lead. Call once. A short delay (a few
    // milliseconds) lets the first chord land on time on a scheduler whose clock runs on
    // while it is being scheduled; without it the first chord may sound one block late.
    void Start(PlayTime delay = PlayTime{0});

    // Schedules every chord (and its clicks) that starts before the scheduler's time plus the
    // lead. Call it often, at least a few times per lead.
    void Pump();

    // The new base tempo (1..500) holds from the next chord not yet scheduled; chords already
    // scheduled keep theirs. The trainer's percentages apply to it.
    void SetTempo(int tempo);

    // Stop: nothing scheduled is sent any more and every note is turned off. Finished() is
    // true from now on.
    void Stop();

    // The entry whose chord sounds at the scheduler's time now; -1 before the first chord
    // (during the count-in). After the end, the last chord played.
    int PlayingLine();
    // The tempo chords are scheduled at now: the base tempo, or the trainer's for this pass.
    int CurrentTempo() const;
    // The pass being scheduled, 0 for the first.
    int Pass() const { return pass_; }
    int BaseTempo() const { return tempo_; }
    // Stopped, or the range has ended (without Loop) and its last chord is over.
    bool Finished() const;
    // When the last chord scheduled so far ends, on the scheduler's clock.
    PlayTime ScheduledUntil() const { return cursor_; }

    // Runs on the scheduler's thread when the play ends by itself (not after Stop).
    std::function<void()> OnFinished;
    // Runs on the calling thread (in Start or Pump) after a chord's messages are scheduled,
    // with its start and its entry.
    std::function<void(PlayTime start, int line)> OnChordScheduled;

private:
    struct Sounding {
        PlayTime start;
        int line;
    };
    bool ScheduleNextChord(); // false when the range has ended
    // The next line of the pass, or -1 when the pass has ended.
    int NextLine();
    void StartPass();
    void ScheduleClick(PlayTime at, bool accent, int beatMs);
    void Send(PlayTime at, std::uint32_t message);

    PlaybackScheduler& scheduler_;
    const MidiPort& port_;
    std::vector<ChordEntry> entries_;
    ScheduledPlayOptions options_;
    PlayTime lead_;
    int tempo_;
    int pass_ = 0;
    int next_;                 // the next entry to look at
    std::size_t span_ = 0;     // with Spans: the span `next_` is in
    int markerTempo_ = 0;      // with Spans: the tempo marker in force (0: the song's)
    BeatMeter meter_;          // the meter in force
    int passTicks_ = 0;        // musical position in the pass, in WholeNoteTicks
    bool passHadTime_ = false; // the pass so far has a chord that takes time
    PlayTime cursor_{0};       // where the next chord starts
    bool started_ = false;
    bool ended_ = false;
    bool stopped_ = false;
    std::deque<Sounding> sounding_; // chords scheduled, oldest first
    int lastLine_ = -1;
};

} // namespace fw

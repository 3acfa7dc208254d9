#pragma once
// The chord player: sounds one chord through the MIDI port (struck strings together, hammer-ons
// as quick grace notes, the chord held for its length, then silenced), and the timing rules of
// live playback.

#include "chords/chord_entry.h"
#include "midi_port.h"
#include "play_clock.h"

#include <array>

namespace fw {

// The main window's values the player reads at every call.
struct ChordPlayerState {
    std::array<int, 6> TuningOffset{}; // semitones from the reference tuning, strings 1..5
    int Tempo = 120;                   // quarter notes per minute, 1..500
    bool StopRequested = false;        // set (by an event during a pumped wait) to stop a play
    HammerOnSound HammerOns = HammerOnSound::Quick; // how hammer-on targets sound
};

// Length of a whole note in milliseconds: 4 * ((60000000 / tempo) / 1000), truncating.
// A tempo below 1 counts as 1.
int WholeNoteMs(int tempo);
// Length of one hammer-on step: half a thirty-second note, truncating.
int HammerStepMs(int tempo);

// Length of a previewed chord.
constexpr int PreviewMs = 250;

class ChordPlayer {
public:
    // A chord that would start more than this long before now starts now instead, so a play
    // held up (a slow trace, a stalled machine) resumes in time rather than rushing to catch up.
    static constexpr PlayTime MaxCatchUp{50000};

    // All three must outlive the player. The port must be open and the patch selected before
    // chords are played (a closed port drops the notes; the timing is kept).
    ChordPlayer(MidiPort& port, PlayClock& clock, const ChordPlayerState& state);

    // Sounds a chord: notes and hammerNotes are indexed by string 1..5, NoNote for none. Returns
    // when the chord is over: after durationMs, or its hammer steps when longer, or soon
    // after StopRequested is set, with every note it started turned off again. With
    // pumpMessages, events run during its waits.
    void PlayChord(const NoteArray& notes, const NoteArray& hammerNotes, int durationMs,
                   bool pumpMessages);

    // The same, for a chord scheduled to start at `start`, normally the end of the previous
    // chord as this function returned it: every wait ends at an absolute deadline, so a long
    // play does not drift. A start in the future, or more than MaxCatchUp ago, counts as now.
    // Returns the chord's end (its last deadline), or the clock's time when it was stopped.
    PlayTime PlayChordFrom(PlayTime start, const NoteArray& notes, const NoteArray& hammerNotes,
                           int durationMs, bool pumpMessages);

    // Lets ms milliseconds pass (events run with pumpMessages); ends early when StopRequested
    // is set. A wait of 0 or fewer milliseconds returns at once without running events.
    void WaitMs(int ms, bool pumpMessages);

    PlayTime Now() const { return clock_.Now(); }

private:
    // Moves `cursor` on by ms (when ms > 0) and waits until it.
    void WaitStep(PlayTime& cursor, int ms, bool pumpMessages);

    MidiPort& port_;
    PlayClock& clock_;
    const ChordPlayerState& state_;
};

// Sounds a chord for PreviewMs without letting events run: AcquirePort, SelectPatch, the chord,
// ReleasePort. An open that fails leaves the preview silent with its timing unchanged.
void PreviewChord(MidiPort& port, ChordPlayer& player, const NoteArray& notes,
                  const NoteArray& hammerNotes);

} // namespace fw

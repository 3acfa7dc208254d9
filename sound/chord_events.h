#pragma once
// What a chord sends and when, as a list: the struck strings together, hammer-ons as quick
// grace notes, and every note turned off again. The blocking chord player walks this list
// with its waits; the schedulers put it on a timeline ahead of time. One list, so both play
// the same messages in the same order.

#include "chords/chord_entry.h"

#include <array>
#include <vector>

namespace fw {

struct ChordEvent {
    int atMs; // from the chord's start; never decreasing along the list
    bool on;  // note-on, else note-off
    int key;  // the sounding key: the written note plus the string's tuning offset
    bool operator==(const ChordEvent&) const = default;
};

struct ChordEvents {
    std::vector<ChordEvent> events;
    int lengthMs = 0; // when the chord is over: its duration, or the hammer steps if longer
    // Where the chord's steps begin, in order, ending with lengthMs: {0, lengthMs}, or with a
    // hammer-on {0, h, 2h, 3h, lengthMs} (ringing: {0, h, lengthMs}). Every event is at one of
    // them; the blocking player waits to each in turn, even to one without an event (a hammer-on on
    // an unplayed string still takes its steps).
    std::vector<int> stepsMs;
};

// The events of a chord: notes and hammerNotes are indexed by string 1..5, NoNote for none;
// tuningOffset by string too. Strings go in index order in every step. Without a hammer-on
// (on any string, played or not) the played strings sound from 0 to durationMs. With one, the
// strings without a hammer-on sound from 0 to max(durationMs, 3h); each hammered string sounds
// its start fret from 0 to h and its target from 2h to 3h (h = hammerStepMs). With
// HammerOnSound::Ring the target sounds from h to the chord's end instead, and the chord lasts
// max(durationMs, 2h). A duration of 0 or less counts as 0.
ChordEvents ChordEventList(const NoteArray& notes, const NoteArray& hammerNotes, int durationMs,
                           int hammerStepMs, const std::array<int, 6>& tuningOffset,
                           HammerOnSound sound = HammerOnSound::Quick);

} // namespace fw

#include "chord_events.h"

#include <algorithm>

namespace fw {

ChordEvents ChordEventList(const NoteArray& notes, const NoteArray& hammerNotes, int durationMs,
                           int hammerStepMs, const std::array<int, 6>& tuningOffset,
                           HammerOnSound sound) {
    ChordEvents chord;
    chord.events.reserve(20);
    const auto played = [&](int s) { return notes[s] != NoNote; };
    const auto hammered = [&](int s) { return hammerNotes[s] != NoNote; };
    // Adds an event at `atMs` for every played string that has (or has not) a hammer-on.
    const auto forStrings = [&](bool withHammer, int atMs, bool on, const NoteArray& keys) {
        for (int s = 1; s <= 5; ++s) {
            if (played(s) && hammered(s) == withHammer)
                chord.events.push_back({atMs, on, keys[s] + tuningOffset[s]});
        }
    };
    bool hasHammer = false;
    for (int s = 1; s <= 5; ++s)
        hasHammer = hasHammer || hammered(s);

    const int duration = std::max(durationMs, 0);
    forStrings(false, 0, true, notes);
    if (!hasHammer) {
        chord.lengthMs = duration;
        chord.stepsMs = {0, chord.lengthMs};
    } else {
        const int h = std::max(hammerStepMs, 0);
        forStrings(true, 0, true, notes);
        forStrings(true, h, false, notes);
        if (sound == HammerOnSound::Ring) {
            // The target follows the strike at once and rings with the other strings.
            chord.lengthMs = std::max(duration, 2 * h);
            forStrings(true, h, true, hammerNotes);
            forStrings(true, chord.lengthMs, false, hammerNotes);
            chord.stepsMs = {0, h, chord.lengthMs};
        } else {
            forStrings(true, 2 * h, true, hammerNotes);
            forStrings(true, 3 * h, false, hammerNotes);
            chord.lengthMs = std::max(duration, 3 * h);
            chord.stepsMs = {0, h, 2 * h, 3 * h, chord.lengthMs};
        }
    }
    forStrings(false, chord.lengthMs, false, notes);
    return chord;
}

} // namespace fw

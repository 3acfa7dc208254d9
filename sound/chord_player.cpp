#include "chord_player.h"

#include "chord_events.h"
#include "chords/chord_parser.h"

#include <algorithm>

namespace fw {

int WholeNoteMs(int tempo) {
    return 4 * ((60000000 / std::max(tempo, 1)) / 1000);
}

int HammerStepMs(int tempo) {
    return DurationValue("T", WholeNoteMs(tempo)) / 2;
}

ChordPlayer::ChordPlayer(MidiPort& port, PlayClock& clock, const ChordPlayerState& state)
    : port_(port), clock_(clock), state_(state) {}

void ChordPlayer::WaitStep(PlayTime& cursor, int ms, bool pumpMessages) {
    if (ms <= 0)
        return;
    cursor += std::chrono::milliseconds(ms);
    if (cursor > clock_.Now())
        clock_.WaitUntil(cursor, pumpMessages, [this] { return state_.StopRequested; });
}

void ChordPlayer::WaitMs(int ms, bool pumpMessages) {
    PlayTime cursor = clock_.Now();
    WaitStep(cursor, ms, pumpMessages);
}

void ChordPlayer::PlayChord(const NoteArray& notes, const NoteArray& hammerNotes, int durationMs,
                            bool pumpMessages) {
    PlayChordFrom(clock_.Now(), notes, hammerNotes, durationMs, pumpMessages);
}

PlayTime ChordPlayer::PlayChordFrom(PlayTime start, const NoteArray& notes,
                                    const NoteArray& hammerNotes, int durationMs,
                                    bool pumpMessages) {
    const PlayTime now = clock_.Now();
    PlayTime cursor = (start > now || start < now - MaxCatchUp) ? now : start;
    const ChordEvents chord =
        ChordEventList(notes, hammerNotes, durationMs, HammerStepMs(state_.Tempo),
                       state_.TuningOffset, state_.HammerOns);
    // Each wait ends where the previous one did plus the step: the steps add up exactly to
    // the chord's length. After Stop the waits end at once and the rest is still sent.
    auto event = chord.events.begin();
    int atMs = 0;
    for (const int stepMs : chord.stepsMs) {
        WaitStep(cursor, stepMs - atMs, pumpMessages);
        atMs = std::max(atMs, stepMs);
        for (; event != chord.events.end() && event->atMs <= stepMs; ++event) {
            if (event->on)
                port_.NoteOn(event->key);
            else
                port_.NoteOff(event->key);
        }
    }
    return state_.StopRequested ? clock_.Now() : cursor;
}

void PreviewChord(MidiPort& port, ChordPlayer& player, const NoteArray& notes,
                  const NoteArray& hammerNotes) {
    port.AcquirePort();
    port.SelectPatch();
    player.PlayChord(notes, hammerNotes, PreviewMs, false);
    port.ReleasePort();
}

} // namespace fw

#include "chord_player.h"

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

    const auto played = [&](int s) { return notes[s] != NoNote; };
    const auto hammered = [&](int s) { return hammerNotes[s] != NoNote; };
    const auto key = [&](std::uint8_t note, int s) { return note + state_.TuningOffset[s]; };
    // Sends `send` for every played string that has (or has not) a hammer-on, string 1 first.
    const auto forStrings = [&](bool withHammer, auto send) {
        for (int s = 1; s <= 5; ++s) {
            if (played(s) && hammered(s) == withHammer)
                send(s);
        }
    };

    bool hasHammer = false;
    for (int s = 1; s <= 5; ++s)
        hasHammer = hasHammer || hammered(s);

    forStrings(false, [&](int s) { port_.NoteOn(key(notes[s], s)); });
    if (!hasHammer) {
        WaitStep(cursor, durationMs, pumpMessages);
    } else {
        const int h = HammerStepMs(state_.Tempo);
        forStrings(true, [&](int s) { port_.NoteOn(key(notes[s], s)); });
        WaitStep(cursor, h, pumpMessages);
        forStrings(true, [&](int s) { port_.NoteOff(key(notes[s], s)); });
        WaitStep(cursor, h, pumpMessages);
        forStrings(true, [&](int s) { port_.NoteOn(key(hammerNotes[s], s)); });
        WaitStep(cursor, h, pumpMessages);
        forStrings(true, [&](int s) { port_.NoteOff(key(hammerNotes[s], s)); });
        if (3 * h < durationMs)
            WaitStep(cursor, durationMs - 3 * h, pumpMessages);
    }
    forStrings(false, [&](int s) { port_.NoteOff(key(notes[s], s)); });
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

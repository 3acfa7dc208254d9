#pragma once
// Practice playback: the count-in, the metronome's clicks and the speed trainer's tempos.
// The clicks are General MIDI percussion sent only while playing live; they are never part
// of a MIDI file, a WAV file or any other export.

#include "chords/beat_meter.h"

#include <cstdint>

namespace fw {

// The General MIDI percussion channel (channel 10).
constexpr int ClickChannel = 9;
// A side stick on every beat, claves (louder) on the first beat of a measure.
constexpr int ClickKey = 37;
constexpr int AccentClickKey = 75;
constexpr int ClickVelocity = 96;
constexpr int AccentClickVelocity = 127;
// How long a click is held; at most half a beat.
constexpr int ClickLengthMs = 30;

// Musical positions are counted in ticks of a whole note; every duration, dotted sixty-fourths
// included, is a whole number of them.
constexpr int WholeNoteTicks = 384;

struct PracticeSettings {
    int CountInMeasures = 0; // 0 (off), 1 or 2 measures of clicks before the first chord
    bool Metronome = false;  // a click on every beat
    bool Trainer = false;    // the speed trainer (it acts when the play loops)
    int TrainerStartPercent = 60;
    int TrainerStepPercent = 5;
    int TrainerTargetPercent = 100;
    bool operator==(const PracticeSettings&) const = default;
};

// The tempo of pass `pass` (0 for the first) at the base `tempo`: with the trainer off, the
// tempo itself; with it on, start% of it, plus step% after every pass, rising no further than
// target% (or start%, when the target is lower). Rounded to the nearest whole tempo and kept
// within 1..500; percentages below 1 count as 1, negative steps as 0.
int TrainerTempo(int tempo, const PracticeSettings& practice, int pass);

// One beat of the meter in milliseconds at `tempo`, as the chord lengths are reckoned:
// WholeNoteMs(tempo) divided by the meter's unit, truncating.
int BeatMs(int tempo, const BeatMeter& meter);
// A beat and a measure in WholeNoteTicks.
int BeatTicks(const BeatMeter& meter);
int MeasureTicks(const BeatMeter& meter);

// The click messages on the percussion channel.
std::uint32_t ClickOnMessage(bool accent);
std::uint32_t ClickOffMessage(bool accent);

} // namespace fw

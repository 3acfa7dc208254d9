#pragma once
// Rendering a chord list to audio: the same chord player that plays live, on a clock whose
// waits produce the samples, through the built-in synthesizer's soundfont. Needs no audio
// device and runs much faster than real time.

#include "chords/chord_entry.h"

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace fw {

struct RenderSettings {
    std::string SoundFont;             // tried first when not empty, then the standard ones
    std::uint8_t Patch = 105;          // General MIDI program from 0
    std::array<int, 6> TuningOffset{}; // semitones per string 1..5
    int Tempo = 120;                   // quarter notes per minute
    // The tempo of each chord entry in turn, for a song whose tempo changes; empty: Tempo.
    std::vector<int> ChordTempos;
};

constexpr int RenderSampleRate = 44100;
// Rendered after the last chord, fading out, so that its release ends softly.
constexpr int RenderTailMs = 300;

// The audio bytes a WAV file holds: its sizes are 32-bit, and the header takes 36 of them.
constexpr long long MaxWavDataBytes = 0xFFFFFFFFLL - 36;

// How long a chord entry sounds at `tempo`, as the chord player plays it (its duration, and
// for a chord with a hammer-on at least the three hammer-on steps); 0 for a comment or a blank.
long long SoundingMs(const ChordEntry& entry, int tempo);

// Empty when chords sounding `chordsMs` in all, with the fade-out tail, fit in a WAV file of
// RenderSampleRate 16-bit stereo; otherwise "The song is too long for a WAV file: it lasts
// 694:26:40, and a WAV file holds at most 6:45:47." (hours, minutes, seconds).
std::string TooLongForWav(long long chordsMs);

// Renders the chord entries (comment and blank entries take no time; a chord lasts its
// Duration at settings.Tempo, as in a play) as a 16-bit stereo 44.1 kHz WAV file into `out`,
// which must be seekable. Channel 0 and octave 0, as a play on default settings. Returns the
// empty text on success, otherwise what failed ("No soundfont was found.", "The soundfont
// could not be loaded: <path>", "The synthesizer could not be started.", "The audio could
// not be rendered.", "The audio file could not be written.", or TooLongForWav's text, given
// before anything is rendered).
std::string RenderChordsToWav(const std::vector<ChordEntry>& entries,
                              const RenderSettings& settings, std::ostream& out);

} // namespace fw

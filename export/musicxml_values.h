#pragma once
// Time and pitch as MusicXML states them: note lengths in divisions of a quarter note, the
// written note values (type and dots) that make up a length, and pitches spelled as step,
// alteration and octave.

#include <array>
#include <cstddef>
#include <string_view>

namespace fw {

// Divisions per quarter note. 32 makes every duration text and its dotted form a whole number:
// a sixty-fourth note is 2, a dotted sixty-fourth 3, a whole note 128.
constexpr int MusicXmlDivisions = 32;
constexpr int MusicXmlMeasureLength = 4 * MusicXmlDivisions; // 4/4, as in the MIDI file

// One written note value: its length in divisions, its MusicXML type and its number of dots.
struct NoteValue {
    int duration;
    std::string_view type; // "whole", "half", ..., "128th"
    int dots;
    bool operator==(const NoteValue&) const = default;
};

// The length of a duration text ("Q", ".e", ...) in divisions; 0 for an invalid text.
int DurationDivisions(std::string_view durationText);

// The written values that together last `length` divisions, longest first: at most four, each
// at most a whole note. A length that is itself a plain or dotted value gives that one value;
// any other length is filled greedily with the longest value that fits (120 gives a dotted half
// and a dotted eighth). Values go down to a 128th note (1 division), so every length of 1 to
// MusicXmlMeasureLength can be written. A longer length is taken as MusicXmlMeasureLength (the
// writer splits lengths at barlines first); a length of 0 or less gives nothing.
struct NoteValues {
    std::array<NoteValue, 4> values{};
    std::size_t count = 0;
    std::size_t size() const { return count; }
    const NoteValue& operator[](std::size_t i) const { return values[i]; }
    const NoteValue* begin() const { return values.data(); }
    const NoteValue* end() const { return values.data() + count; }
};
NoteValues NoteValuesFor(int length);

// A MIDI pitch spelled for a staff without key signature, with the names banjo players read in
// tunings: C, C#, D, Eb, E, F, F#, G, Ab, A, Bb, B. Middle C (60) is C in octave 4.
struct SpelledPitch {
    char step;  // 'A' to 'G'
    int alter;  // -1, 0 or +1
    int octave; // MIDI 0 to 11 is octave -1
    bool operator==(const SpelledPitch&) const = default;
};
SpelledPitch SpellPitch(int midiPitch);

} // namespace fw

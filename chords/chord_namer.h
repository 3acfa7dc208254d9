#pragma once
// Naming chords: which chord symbols a set of sounding notes spells, best first, and reading a
// chord symbol back ("C7", "F#m7b5/E", "Bbmaj7 (6)"). Pure functions.

#include "chord_entry.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// The qualities the program names, in order of preference when one set of notes spells
// several chords over the same bass.
enum class ChordQuality {
    Major,
    Minor,
    Seventh,
    MinorSeventh,
    MajorSeventh,
    Sixth,
    MinorSixth,
    Ninth,
    Sus4,
    SeventhSus4,
    Diminished7,
    Augmented,
    HalfDiminished,
};

struct QualityRule {
    ChordQuality quality;
    const char* suffix; // written after the root: "", "m", "7", ..., "m7b5"
    unsigned tones;     // the chord's intervals above the root, bit n = n semitones
    unsigned optional;  // the intervals that may be left out (a perfect fifth)
};

// One rule per quality, in the order of ChordQuality.
const std::array<QualityRule, 13>& QualityRules();
const QualityRule& RuleOf(ChordQuality quality);

// Pitch class names, C = 0: "C", "C#", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B".
const char* PitchClassName(int pitchClass);

struct ChordSymbol {
    int root = 0; // pitch class 0..11
    ChordQuality quality = ChordQuality::Major;
    int bass = -1;     // pitch class of a slash bass; -1 when there is none
    int position = -1; // the "(n)" after the symbol; -1 when there is none
    std::string text;  // the symbol as the namer writes it: root, suffix, "/" bass
};

// Every chord symbol the notes spell, best first. `pitches` are MIDI note numbers (any order,
// repeats allowed); the lowest is the bass. A symbol fits when every note is a tone of the
// chord, its root is sounding and every tone but an optional fifth is there; when the bass is
// not the root, the symbol gets "/" and the bass. At least three different pitch classes are
// needed; fewer, or notes that fit no quality, give no symbols. Ranking: the root in the bass
// first, then fewer left-out tones, then the order of QualityRules(), then the lower root.
// So C E G A over C gives "C6" before "Am7/C".
std::vector<ChordSymbol> NameChord(std::span<const int> pitches);

// The notes a parsed chord line rings with, shifted by the tuning's per-string `offsets`
// (index = string 1..5): the hammer-on target where a string has one, else the fretted note.
std::vector<int> SoundingPitches(const ChordEntry& entry, const std::array<int, 6>& offsets);

// Reads a chord symbol: a root "A" to "G" with an optional "#" or "b", a quality suffix of
// QualityRules() (none for major), optionally "/" and a bass note, optionally a space and a
// position in parentheses, e.g. "C7 (8)". Returns nothing for any other text. `text` of the
// result is the symbol without the position, spelled as written.
std::optional<ChordSymbol> ParseChordSymbol(std::string_view text);

} // namespace fw

#pragma once
// Naming chords: which chord symbols a set of sounding notes spells, best first, and reading a
// chord symbol back ("C7", "F#m7b5/E", "Bbmaj7 (6)", "G6/9"). Pure functions.

#include "chord_entry.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// The qualities the program names. The first thirteen are those of the shipped dictionary.
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
    Sus2,
    Add9,
    SixNine,
    MinorMajorSeventh,
    MinorNinth,
    SeventhFlatNine,
    SeventhSharpNine,
    Thirteenth,
    Diminished,
    Add4,
    MinorAdd9,
};

inline constexpr std::size_t QualityCount = 24;

struct QualityRule {
    ChordQuality quality;
    const char* suffix; // written after the root: "", "m", "7", ..., "m7b5", "6/9", "m(maj7)"
    unsigned tones;     // the chord's intervals above the root, bit n = n semitones
    unsigned optional;  // the intervals that may be left out (a perfect fifth; a 13th's ninth)
    int tier;           // how plain the chord is: 0 triads, 1 four tones, 2 five, 3 the 13th
};

// One rule per quality, in the order of ChordQuality, which is also the order of preference
// between two readings that tie on everything else.
const std::array<QualityRule, QualityCount>& QualityRules();
const QualityRule& RuleOf(ChordQuality quality);

// Pitch class names, C = 0: "C", "C#", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B",
// the spelling of the shipped dictionary (Bb rather than A#, F# rather than Gb).
const char* PitchClassName(int pitchClass);

// A chord's root as players write it: the names above, except G# for the minor chords
// ("G#m", "G#m7") and D# and G# for the diminished triad and m7b5 ("G#dim").
std::string RootName(int root, ChordQuality quality);

// The note `pitchClass` spelled from a chord's root: the letter the interval's degree gives
// (a major third above B is D#, a minor third above F# is A), with one sharp or flat at most;
// where the degree's letter would need two, the plain name of PitchClassName.
std::string NoteNameFrom(int root, ChordQuality quality, int pitchClass);

// How many of `rule`'s tones above `root` the pitch-class set `classes` (bit n = pitch class n)
// leaves out; nothing when the set does not spell the chord: a note outside it, the root or a
// tone that may not be left out missing.
std::optional<int> MissingTones(const QualityRule& rule, int root, unsigned classes);

struct ChordSymbol {
    int root = 0; // pitch class 0..11
    ChordQuality quality = ChordQuality::Major;
    int bass = -1;     // pitch class of a slash bass; -1 when there is none
    int position = -1; // the "(n)" after the symbol; -1 when there is none
    std::string text;  // the symbol as the namer writes it: root, suffix, "/" bass
    int missing = 0;   // tones of the chord the notes leave out (set by NameChord)
};

struct NamingOptions {
    // Add "/" and the bass when the lowest note is not the root ("C/E"). Off: on a banjo the
    // 4th string is seldom a real bass, and players write "C" for x-2-0-1-2.
    bool nameInversions = false;
};

// Every chord symbol the notes spell, best first. `pitches` are MIDI note numbers (any order,
// repeats allowed); the lowest is the bass. A symbol fits when every note is a tone of the
// chord, its root is sounding and every tone it may not leave out is there. At least three
// different pitch classes are needed; fewer, or notes that fit no quality, give no symbols.
// Ranking: fewer left-out tones, then the plainer chord (QualityRule::tier), then the root in
// the bass, then the order of QualityRules(), then the lower root. So C Eb G over Eb is "Cm"
// (complete) before "Eb6" (no fifth), and C E G A over C is "C6" before "Am7".
std::vector<ChordSymbol> NameChord(std::span<const int> pitches, NamingOptions options = {});

// The names of a parsed chord line as a banjo player gives them, best first: its sounding
// pitches (SoundingPitches) named by NameChord, except that an open 5th string whose note is
// not a tone of the chord the other strings name is a drone and is left out of the name
// ("0, 0, 2, 1, 0" is D7, not D7sus4). The drone takes part only when the other strings name
// nothing, or when it is a tone of their chord; even then an added fourth is never read from
// it alone. Ctrl+K, the command line and the tablature importer all name chords here.
std::vector<ChordSymbol> NameChordLine(const ChordEntry& entry, const std::array<int, 6>& offsets,
                                       NamingOptions options = {});

// The notes a parsed chord line rings with, shifted by the tuning's per-string `offsets`
// (index = string 1..5): the hammer-on target where a string has one, else the fretted note.
std::vector<int> SoundingPitches(const ChordEntry& entry, const std::array<int, 6>& offsets);

// Reads a chord symbol: a root "A" to "G" with an optional "#" or "b", a quality suffix of
// QualityRules() (none for major) or one of its usual spellings (dim, °, o, aug, +, sus for
// sus4, M7 and Δ7 for maj7, min and - for m, ø for m7b5, add11 for add4, madd9),
// optionally "/" and a bass note, optionally a space and a position in parentheses, e.g.
// "C7 (8)". Returns nothing for any other text. `text` of the result is the symbol without
// the position, spelled as written.
std::optional<ChordSymbol> ParseChordSymbol(std::string_view text);

// The symbol's text as the namer spells it: root (RootName), suffix and "/" bass spelled from
// the root (NoteNameFrom): "A#m" gives "Bbm", B7 over D# "B7/D#", Abm7 "G#m7".
std::string SymbolText(int root, ChordQuality quality, int bass = -1);

} // namespace fw

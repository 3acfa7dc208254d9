#pragma once
// Chord shapes for any tuning: where on the neck a named chord can be played. The same chord
// theory as the namer (chord_namer.h): every shape listed spells the chord asked for. Pure.

#include "chord_entry.h"
#include "chord_namer.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

inline constexpr int ShapeTopFret = 15;   // the highest fret a shape stops
inline constexpr int ShapeHandSpan = 4;   // the frets one hand covers (lowest to highest)
inline constexpr int MovableFromFret = 3; // from here up the neck, movable forms come first
inline constexpr std::size_t TeacherShapeCount = 12; // the shapes listed unless all are asked for

struct ChordShape {
    FretArray fret = AllNoFrets(); // index = string 1..5; NoFret for a string not played
    int position = 0;              // lowest stopped fret of strings 1 to 4; 0 when none is
    int ringing = 0;               // strings that sound, the 5th included
    int span = 0;                  // highest minus lowest stopped fret of strings 1 to 4
    int missing = 0;               // tones of the chord left out (a fifth, say)
};

// Every playable shape of `chord` (root, quality and, for a slash chord, the bass) in the
// tuning whose per-string semitone offsets are `offsets` (index = string 1..5, as from
// TuningOffsets). A shape:
//  - stops strings 1 to 4 at frets 1..ShapeTopFret within ShapeHandSpan frets, or leaves them
//    open; at least three of them sound, and one is left out only when no tone of the chord
//    lies on it within the hand;
//  - rings the 5th string open when its note belongs to the chord, else leaves it out;
//  - sounds only chord tones, the root and the third (or a suspended chord's second or fourth)
//    and every tone the chord may not leave out, at least three different notes; a fifth may
//    be missing;
//  - for a slash chord, has the bass as its lowest note.
// Best first: lower position; then, from MovableFromFret up, the movable forms with strings 1
// to 4 all stopped; then shapes whose 2nd and 3rd strings both sound; then more strings
// ringing, then a smaller span, then fewer missing tones, then the root lowest, then lower
// frets from the 4th string up. So Bb in open G starts with the barre x, 3, 3, 3, 3. `chord`'s
// position, when it has one (>= 0), keeps only the shapes at that position. No shapes for a
// chord that cannot be played this way.
std::vector<ChordShape> ChordShapes(const ChordSymbol& chord, const std::array<int, 6>& offsets);

// The chord line of a shape, named as the dictionary names its entries: the symbol as the
// namer spells it, a space and the position in parentheses, then the frets of strings 5 to 1
// and a quarter note: "Cm (3), 0, 5, 3, 4, 5, Q".
std::string ChordShapeLine(const ChordSymbol& chord, const ChordShape& shape);

} // namespace fw

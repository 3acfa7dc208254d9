#pragma once
// A compact chord diagram as banjo chord charts draw it: the five strings upright, string 5 at
// the left and string 1 at the right, four frets down from the nut (or from the shape's
// position, with the fret number beside the first), a dot on every stopped string, and "o" or
// "x" above the open and the unplayed strings. The 5th string is drawn from its own nut at the
// 5th fret, so a diagram near the main nut shows it only from there down.

#include "chords/chord_entry.h"

#include <QRectF>

class QPainter;

namespace fw {

inline constexpr int DiagramFrets = 4;       // fret rows shown
inline constexpr int FifthStringNutFret = 5; // the 5th string begins at this fret of the neck

// The first fret row a diagram of `frets` shows: 1 (the nut drawn) when every stopped fret lies
// within the first DiagramFrets frets, else the lowest stopped fret of strings 1 to 4.
int DiagramFirstFret(const FretArray& frets);

// Draws the diagram of `frets` (index = string 1..5; NoFret for a string not played) inside
// `box`, in the painter's pen colour, scaled to the box. The painter's state is kept.
void DrawChordDiagram(QPainter& painter, const QRectF& box, const FretArray& frets);

} // namespace fw

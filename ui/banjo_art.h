#pragma once
// The program's artwork, drawn with QPainter so that it is crisp at any size: a five-string
// banjo (pot with its head, neck with frets, peghead and the fifth-string peg) and the title
// card of the splash window.

#include <QRectF>
#include <QString>

class QPainter;

namespace fw {

// Draws the banjo with its pot centred on `potCentre`, the pot `potRadius` pixels in radius and
// the neck pointing along `angleDegrees` (0 = to the right, negative = up and to the right).
// The whole instrument is about 4.4 pot radii long. The painter's state is kept.
void DrawBanjo(QPainter& painter, QPointF potCentre, double potRadius, double angleDegrees);

// Draws the banjo as large as it fits inside `box`, turned by `angleDegrees`.
void DrawBanjoFitted(QPainter& painter, const QRectF& box, double angleDegrees);

// Draws the splash window's title card into `rect`: the program name "Fretwick", a banjo, a
// line saying what the program is for, and "Version " + `version`.
void DrawTitleCard(QPainter& painter, const QRectF& rect, const QString& version);

} // namespace fw

#pragma once
// The neck picture `imgAllFrets`: a five-string banjo neck seen from the player, drawn with
// QPainter so it is crisp at any scale. Nut and headstock at the left, string 1 at the top,
// frets running right; the fret wires lie between the marker columns, the strings on the marker
// rows, and the short fifth string starts at the fifth fret with its peg below the neck inside
// the peg rectangle (see fretboard_geometry.h).

#include <QPixmap>
#include <QRectF>
#include <QSize>

#include <array>

class QPainter;

namespace fw {

// Paints the picture with its top-left corner at the painter's origin, covering
// PictureRect.size() logical pixels. Leaves the painter's state as it found it.
void PaintNeckPicture(QPainter& painter);

// The picture rendered for a device pixel ratio (1 for plain screens); logical size
// PictureRect.size().
QPixmap RenderNeckPicture(qreal devicePixelRatio);

// The pearl buttons of the headstock's tuning pegs in picture coordinates, index = string
// (1 and 2 above the headstock, 3 and 4 below it; index 0 unused). All lie inside the picture.
std::array<QRectF, 5> HeadstockPegButtons();

} // namespace fw

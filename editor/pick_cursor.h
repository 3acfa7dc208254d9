#pragma once
// The pick cursor shown over the fret markers: a tortoiseshell plectrum whose tip is the hot spot.

#include <QCursor>
#include <QPixmap>
#include <QPoint>

namespace fw {

// Logical size of the cursor picture and its hot spot (the tip of the pick, top left).
constexpr int PickCursorSize = 32;
constexpr QPoint PickCursorHotSpot{3, 3};

// The picture, PickCursorSize square in logical pixels, transparent around the pick.
QPixmap PickCursorPixmap(qreal devicePixelRatio);

// The cursor made from that picture with its hot spot.
QCursor PickCursor(qreal devicePixelRatio);

} // namespace fw

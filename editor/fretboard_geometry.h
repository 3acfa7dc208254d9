#pragma once
// Where everything on the fretboard lies. All rectangles and points are in layout coordinates
// (the fretboard at 100%, as the main window's client area had it) unless a name says
// "picture": the neck picture sits at (21, 4) and the 115 fret markers form a grid of 5 rows
// (strings 1..5, top to bottom) by 23 positions (0 = the open string at the nut .. MaxFret).
// The view scales NeckArea uniformly to its size (NeckTransform). Pure functions, no widgets.

#include "chords/chord_entry.h"

#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringView>
#include <QTransform>

#include <optional>

namespace fw {

constexpr int StringCount = 5;
constexpr int PositionCount = MaxFret + 1;
constexpr int MarkerCount = StringCount * PositionCount;

// The short fifth string begins at the fifth fret: its fret values are shifted by this much to
// give marker positions, and its positions below it exist but are disabled.
constexpr int FifthStringShift = 5;

// The neck picture `imgAllFrets` and the black frame `shpNeckRect` 2 pixels around it.
constexpr QRect PictureRect{21, 4, 576, 123};
constexpr QRect NeckFrameRect{PictureRect.left() - 2, PictureRect.top() - 2,
                              PictureRect.width() + 4, PictureRect.height() + 4};

// The part of the layout that the fretboard view shows: from the left edge of the open-string
// markers (one pixel left of the frame) to the frame's right edge, and the frame's height.
constexpr QRect NeckArea{18, NeckFrameRect.top(), NeckFrameRect.right() + 1 - 18,
                         NeckFrameRect.height()};

// Layout coordinates <-> view coordinates for a view of some size: NeckArea scaled by one factor
// in both directions (so nothing is stretched), as large as fits, centred in the view. Every
// marker, label and click area goes through the same mapping, so markers stay on their strings
// and frets at any size.
class NeckTransform {
public:
    NeckTransform() = default; // scale 1, NeckArea's top-left at the view's origin
    static NeckTransform Fit(QSizeF viewSize);

    qreal scale() const { return scale_; }
    QPointF toView(QPointF layout) const { return (layout - area_) * scale_ + margin_; }
    QRectF toView(const QRectF& layout) const {
        return {toView(layout.topLeft()), layout.size() * scale_};
    }
    // The layout pixel under a view point (pixel [x, x + 1) of the layout holds x).
    QPoint toLayout(QPointF view) const;
    // The painter transform that draws layout coordinates into the view.
    QTransform transform() const;
    // Where NeckArea lies in the view.
    QRectF neckRect() const { return toView(QRectF(NeckArea)); }

private:
    qreal scale_ = 1.0;
    QPointF area_{NeckArea.topLeft()};
    QPointF margin_{0, 0};
};

// The view height that shows NeckArea at the full view width (rounded to whole pixels).
int NeckHeightForWidth(int width);
// The view width that shows NeckArea at the full view height.
int NeckWidthForHeight(int height);

// Marker shapes as the MarkerShape setting stores them.
enum MarkerShapeKind { ShapeRectangle = 0, ShapeSquare = 1, ShapeEllipse = 4, ShapeCircle = 5 };

struct MarkerId {
    int string = 0;   // 1..5
    int position = 0; // 0..MaxFret
    friend bool operator==(const MarkerId&, const MarkerId&) = default;
};

// True for string 1..5 and position 0..MaxFret.
bool IsMarkerId(int string, int position);

// Left edge and width of the marker column of a position (0..MaxFret); the same for every row.
int MarkerColumnLeft(int position);
int MarkerColumnWidth(int position);

// The marker rectangle: row `string - 1` spans y = 18 + 12 * row .. +10 (11 pixels high).
// An empty rectangle for an invalid id.
QRect MarkerRect(int string, int position);

// False only for string 5 positions below the fifth fret, which never show anything.
bool MarkerEnabled(int string, int position);

// The marker name "DOT_s%.2d_f%.2d" of (string, position), e.g. "DOT_s05_f22".
QString MarkerName(int string, int position);

// The inverse of MarkerName: the string (row + 1) and position of a well-formed name of an
// existing marker, nothing for any other text.
std::optional<MarkerId> ParseMarkerName(QStringView name);

// Fret value -> marker position: string 5 adds FifthStringShift, the others are unchanged.
// NoFret stays NoFret. The result may lie outside 0..MaxFret.
int MarkerPosition(int string, int fret);
// Marker position -> fret value (string 5 subtracts FifthStringShift). NoFret stays NoFret.
int FretAtPosition(int string, int position);

// The enabled marker whose rectangle contains the point, if any.
std::optional<MarkerId> EnabledMarkerAt(QPoint point);

// The tuning peg of string 5: the picture points with 150 < x < 190 and 60 < y < 120 in picture
// coordinates. Takes a client point.
bool InPegRect(QPoint point);

// What a mouse press at a point lands on: an enabled marker first, else the peg rectangle.
struct FretboardHit {
    enum Kind { Nothing, Marker, Peg } kind = Nothing;
    MarkerId marker; // valid for Marker only
};
FretboardHit HitTest(QPoint point);

// Centre line (y) of a string's marker row, in continuous coordinates (pixel rows are [y, y+1)).
qreal StringCentreY(int string);

// x of the fret wire at the right of `position` (0..MaxFret; 0 is the nut), centred in the gap
// between that marker column and the next; the last wire sits as far right of the last column.
qreal FretWireX(int position);

// The area a marker of the given shape covers inside its rectangle: a rectangle or ellipse fills
// it; a square or circle is the largest one centred in it. Unknown shapes draw as a circle.
QRectF MarkerShapeRect(const QRect& rect, int shape);

} // namespace fw

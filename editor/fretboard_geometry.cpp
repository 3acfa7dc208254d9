#include "fretboard_geometry.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace fw {

namespace {

// Marker columns: three groups of equal widths; the left edges step 36 after positions 0..4,
// 38 after 5, 25 after 6..11 (26 after 9), 24 after 12 and 18 after 13..21.
constexpr std::array<int, PositionCount> ColumnLefts = {
    18,  54,  90,  126, 162, 198,                      // positions 0..5
    236, 261, 286, 311, 337, 362, 387,                 // positions 6..12
    411, 429, 447, 465, 483, 501, 519, 537, 555, 573}; // positions 13..22

constexpr int RowTop = PictureRect.top() + 14; // top of row 0
constexpr int RowPitch = 12;
constexpr int RowHeight = 11;

// The peg rectangle's exclusive bounds in picture coordinates.
constexpr int PegLeft = 150, PegRight = 190, PegTop = 60, PegBottom = 120;

// Parses exactly two decimal digits at `at`, or -1.
int TwoDigits(QStringView text, qsizetype at) {
    if (at + 2 > text.size() || !text[at].isDigit() || !text[at + 1].isDigit())
        return -1;
    return text[at].digitValue() * 10 + text[at + 1].digitValue();
}

} // namespace

bool IsMarkerId(int string, int position) {
    return string >= 1 && string <= StringCount && position >= 0 && position <= MaxFret;
}

int MarkerColumnLeft(int position) {
    return position >= 0 && position <= MaxFret ? ColumnLefts[std::size_t(position)] : 0;
}

int MarkerColumnWidth(int position) {
    if (position < 0 || position > MaxFret)
        return 0;
    if (position <= 5)
        return 30;
    return position <= 12 ? 15 : 10;
}

QRect MarkerRect(int string, int position) {
    if (!IsMarkerId(string, position))
        return {};
    return {MarkerColumnLeft(position), RowTop + RowPitch * (string - 1),
            MarkerColumnWidth(position), RowHeight};
}

bool MarkerEnabled(int string, int position) {
    return IsMarkerId(string, position) && !(string == StringCount && position < FifthStringShift);
}

QString MarkerName(int string, int position) {
    return QString::asprintf("DOT_s%.2d_f%.2d", string, position);
}

std::optional<MarkerId> ParseMarkerName(QStringView name) {
    // "DOT_s" + 2 digits + "_f" + 2 digits
    if (name.size() != 11 || !name.startsWith(u"DOT_s") || name.mid(7, 2) != u"_f")
        return std::nullopt;
    const int string = TwoDigits(name, 5);
    const int position = TwoDigits(name, 9);
    if (!IsMarkerId(string, position))
        return std::nullopt;
    return MarkerId{string, position};
}

int MarkerPosition(int string, int fret) {
    return string == StringCount && fret != NoFret ? fret + FifthStringShift : fret;
}

int FretAtPosition(int string, int position) {
    return string == StringCount && position != NoFret ? position - FifthStringShift : position;
}

std::optional<MarkerId> EnabledMarkerAt(QPoint point) {
    const int row = (point.y() - RowTop) / RowPitch;
    if (point.y() < RowTop || row >= StringCount)
        return std::nullopt;
    const int string = row + 1;
    for (int position = 0; position <= MaxFret; ++position) {
        if (MarkerRect(string, position).contains(point))
            return MarkerEnabled(string, position) ? std::optional(MarkerId{string, position})
                                                   : std::nullopt;
    }
    return std::nullopt;
}

bool InPegRect(QPoint point) {
    const QPoint p = point - PictureRect.topLeft();
    return p.x() > PegLeft && p.x() < PegRight && p.y() > PegTop && p.y() < PegBottom;
}

FretboardHit HitTest(QPoint point) {
    if (const auto marker = EnabledMarkerAt(point))
        return {FretboardHit::Marker, *marker};
    if (InPegRect(point))
        return {FretboardHit::Peg, {}};
    return {};
}

qreal StringCentreY(int string) {
    return RowTop + RowPitch * (string - 1) + RowHeight / 2.0;
}

qreal FretWireX(int position) {
    const auto right = [](int p) { return MarkerColumnLeft(p) + MarkerColumnWidth(p); };
    if (position < MaxFret)
        return (right(position) + MarkerColumnLeft(position + 1)) / 2.0;
    return right(MaxFret) + (MarkerColumnLeft(MaxFret) - right(MaxFret - 1)) / 2.0;
}

NeckTransform NeckTransform::Fit(QSizeF viewSize) {
    NeckTransform t;
    if (viewSize.width() <= 0 || viewSize.height() <= 0)
        return t;
    t.scale_ = std::min(viewSize.width() / NeckArea.width(), viewSize.height() / NeckArea.height());
    const QSizeF shown = QSizeF(NeckArea.size()) * t.scale_;
    t.margin_ =
        QPointF((viewSize.width() - shown.width()) / 2, (viewSize.height() - shown.height()) / 2);
    return t;
}

QPoint NeckTransform::toLayout(QPointF view) const {
    const QPointF layout = (view - margin_) / scale_ + area_;
    return {int(std::floor(layout.x())), int(std::floor(layout.y()))};
}

QTransform NeckTransform::transform() const {
    QTransform t;
    t.translate(margin_.x(), margin_.y());
    t.scale(scale_, scale_);
    t.translate(-area_.x(), -area_.y());
    return t;
}

int NeckHeightForWidth(int width) {
    return int(std::lround(qreal(width) * NeckArea.height() / NeckArea.width()));
}

int NeckWidthForHeight(int height) {
    return int(std::lround(qreal(height) * NeckArea.width() / NeckArea.height()));
}

QRectF MarkerShapeRect(const QRect& rect, int shape) {
    if (shape == ShapeRectangle || shape == ShapeEllipse)
        return QRectF(rect);
    const qreal side = std::min(rect.width(), rect.height());
    QRectF square(0, 0, side, side);
    square.moveCenter(QRectF(rect).center());
    return square;
}

} // namespace fw

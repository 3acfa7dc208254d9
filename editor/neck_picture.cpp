#include "neck_picture.h"

#include "fretboard_geometry.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>
#include <cmath>
#include <cstdint>

namespace fw {

namespace {

// Everything below is in picture coordinates.
constexpr qreal BoardTop = 11.5;
constexpr qreal NarrowBottom = 63.5; // below string 4, from the nut to the fifth-string bulge
constexpr qreal WideBottom = 76.0;   // below string 5
constexpr qreal BulgeStart = 134.0;  // where the lower edge starts to widen
constexpr qreal BulgeEnd = 166.0;    // where it reaches its full width

// The fifth-string tuning peg, centred in the peg rectangle.
constexpr qreal FifthPegX = 170.0;
constexpr QRectF FifthPegButton{157.0, 87.0, 26.0, 29.0};

// Headstock tuner posts: strings 1 and 2 go to pegs at the top, 3 and 4 to pegs at the bottom.
// The open-string markers sit on the nut, so only the end of the headstock next to the nut
// shows; the posts and pegs are packed into it.
constexpr std::array<QPointF, 5> HeadPost = {QPointF(), QPointF(6.5, 15.0), QPointF(2.0, 27.0),
                                             QPointF(2.0, 48.0), QPointF(6.5, 60.0)};
// The headstock's top edge at its left end, low enough for the top pegs' buttons to fit
// between it and the picture's edge.
constexpr qreal HeadTopLeft = 10.5;
// Where each headstock peg's shaft leaves the headstock edge; the outer pegs sit a little in
// from the picture's left edge so that their buttons show whole.
constexpr std::array<QPointF, 5> HeadPegBase = {QPointF(), QPointF(9.0, 11.0), QPointF(3.0, 10.5),
                                                QPointF(3.0, 75.5), QPointF(9.0, 68.5)};
// The pegs' buttons seen edge on from above the headstock: narrow ovals.
constexpr qreal PegButtonWidth = 6.0;

// String gauges in pixels, strings 1..5 (4 is the wound D).
constexpr std::array<qreal, 6> Gauge = {0, 1.05, 1.25, 1.45, 1.9, 0.95};

qreal PictureX(qreal clientX) {
    return clientX - PictureRect.left();
}
qreal PictureY(qreal clientY) {
    return clientY - PictureRect.top();
}

qreal ColumnCentreX(int position) {
    return PictureX(MarkerColumnLeft(position) + MarkerColumnWidth(position) / 2.0);
}
// The nut lies under the open-string markers (position 0): an open string is played there.
qreal NutX() {
    return ColumnCentreX(0);
}
qreal BoardEndX() {
    return PictureX(FretWireX(MaxFret)) + 5.0;
}
qreal StringY(int string) {
    return PictureY(StringCentreY(string));
}
// The fifth string's own nut, under its open-string marker (at the fifth fret's position).
qreal FifthNutX() {
    return ColumnCentreX(FifthStringShift);
}

// A small deterministic generator, so the grain is the same on every run and every platform.
class Grain {
public:
    explicit Grain(std::uint32_t seed) : state_(seed) {}
    qreal next() { // uniform in [0, 1)
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return (state_ & 0xFFFFFF) / qreal(0x1000000);
    }
    qreal between(qreal low, qreal high) { return low + (high - low) * next(); }

private:
    std::uint32_t state_;
};

QPainterPath FingerboardPath() {
    const qreal end = BoardEndX();
    QPainterPath path;
    path.moveTo(NutX(), BoardTop);
    path.lineTo(end - 2.5, BoardTop);
    path.quadTo(end, BoardTop, end, BoardTop + 2.5);
    path.lineTo(end, WideBottom - 2.5);
    path.quadTo(end, WideBottom, end - 2.5, WideBottom);
    path.lineTo(BulgeEnd, WideBottom);
    path.cubicTo(BulgeStart + 16, WideBottom, BulgeStart + 14, NarrowBottom, BulgeStart,
                 NarrowBottom);
    path.lineTo(NutX(), NarrowBottom);
    path.closeSubpath();
    return path;
}

QPainterPath HeadstockPath() {
    const qreal nut = NutX() + 0.5;
    QPainterPath path;
    path.moveTo(nut, BoardTop);
    path.cubicTo(nut - 9, BoardTop, nut - 14, HeadTopLeft, -2.0, HeadTopLeft);
    path.lineTo(-2.0, 78.0);
    path.cubicTo(nut - 14, 77.0, nut - 9, NarrowBottom, nut, NarrowBottom);
    path.closeSubpath();
    return path;
}

void PaintBackground(QPainter& p) {
    const QRectF area(QPointF(0, 0), QSizeF(PictureRect.size()));
    QLinearGradient fill(0, 0, 0, area.height());
    fill.setColorAt(0.0, QColor(0x23, 0x22, 0x26));
    fill.setColorAt(1.0, QColor(0x0b, 0x0b, 0x0d));
    p.fillRect(area, fill);
}

// The frosted head and the chrome hoop of the pot at the right, under the end of the board.
void PaintPot(QPainter& p) {
    const QPointF centre(PictureRect.width() + 262.0, 44.0);
    const qreal radius = 268.0;
    QRadialGradient head(centre, radius);
    head.setColorAt(0.96, QColor(0xe4, 0xdd, 0xcb));
    head.setColorAt(1.0, QColor(0xb9, 0xb0, 0x9a));
    p.setPen(Qt::NoPen);
    p.setBrush(head);
    p.drawEllipse(centre, radius, radius);

    QRadialGradient hoop(centre, radius + 6);
    hoop.setColorAt(radius / (radius + 6), QColor(0x5d, 0x60, 0x66));
    hoop.setColorAt((radius + 2.5) / (radius + 6), QColor(0xf2, 0xf4, 0xf7));
    hoop.setColorAt(1.0, QColor(0x4a, 0x4c, 0x52));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(hoop), 5.0));
    p.drawEllipse(centre, radius + 3, radius + 3);
}

void PaintNeckShadow(QPainter& p, const QPainterPath& neck) {
    p.setPen(Qt::NoPen);
    for (int i = 3; i >= 1; --i) {
        p.setBrush(QColor(0, 0, 0, 45));
        p.drawPath(neck.translated(0.6 * i, 1.2 * i));
    }
}

void PaintGrain(QPainter& p, const QRectF& area, std::uint32_t seed) {
    Grain grain(seed);
    for (int i = 0; i < 150; ++i) {
        const qreal y0 = grain.between(area.top(), area.bottom());
        const qreal x0 = grain.between(area.left() - 60, area.right());
        const qreal length = grain.between(60, 260);
        const qreal amplitude = grain.between(0.2, 1.1);
        const qreal phase = grain.between(0, 6.28);
        const bool light = grain.next() < 0.45;
        const int alpha = int(grain.between(14, 42));
        QPainterPath line;
        line.moveTo(x0, y0);
        for (qreal x = 8; x <= length; x += 8)
            line.lineTo(x0 + x, y0 + amplitude * std::sin(phase + x / 37.0) + x * 0.004);
        p.setPen(QPen(light ? QColor(0x8a, 0x62, 0x48, alpha) : QColor(0x0a, 0x05, 0x02, alpha),
                      grain.between(0.5, 1.3)));
        p.drawPath(line);
    }
}

// Dark, slightly reddish ebony with a faint sheen along the middle.
void PaintWood(QPainter& p, const QPainterPath& shape, std::uint32_t seed) {
    const QRectF area = shape.boundingRect();
    QLinearGradient fill(0, area.top(), 0, area.bottom());
    fill.setColorAt(0.0, QColor(0x2e, 0x1d, 0x14));
    fill.setColorAt(0.35, QColor(0x3d, 0x27, 0x1b));
    fill.setColorAt(0.6, QColor(0x33, 0x21, 0x17));
    fill.setColorAt(1.0, QColor(0x1f, 0x13, 0x0c));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(shape);

    p.save();
    p.setClipPath(shape);
    PaintGrain(p, area, seed);
    p.restore();
}

// Ivory binding along the edges of the board.
void PaintBinding(QPainter& p, const QPainterPath& shape) {
    p.save();
    p.setClipPath(shape);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xe9, 0xdf, 0xc6), 3.0));
    p.drawPath(shape);
    p.setPen(QPen(QColor(0, 0, 0, 70), 0.8));
    p.drawPath(shape);
    p.restore();
}

QColor PearlColour(int alpha) {
    return QColor(0xee, 0xf1, 0xf0, alpha);
}

void PaintPearlDiamond(QPainter& p, QPointF centre, qreal width, qreal height) {
    QPainterPath diamond;
    diamond.moveTo(centre.x() - width / 2, centre.y());
    diamond.lineTo(centre.x(), centre.y() - height / 2);
    diamond.lineTo(centre.x() + width / 2, centre.y());
    diamond.lineTo(centre.x(), centre.y() + height / 2);
    diamond.closeSubpath();
    QLinearGradient shine(centre.x() - width / 2, centre.y() - height / 2, centre.x() + width / 2,
                          centre.y() + height / 2);
    shine.setColorAt(0.0, PearlColour(215));
    shine.setColorAt(0.45, QColor(0xd2, 0xea, 0xee, 185));
    shine.setColorAt(1.0, QColor(0xee, 0xdc, 0xee, 200));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawPath(diamond);
}

void PaintPearlDot(QPainter& p, QPointF centre, qreal radius) {
    QRadialGradient shine(centre - QPointF(radius / 3, radius / 3), radius * 1.4);
    shine.setColorAt(0.0, PearlColour(220));
    shine.setColorAt(1.0, QColor(0xc8, 0xdc, 0xe2, 180));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawEllipse(centre, radius, radius);
}

// Position inlays in the fret spaces, between the string rows so markers never hide them fully:
// diamonds at the usual frets, a pair of dots at the twelfth.
void PaintInlays(QPainter& p) {
    const qreal between23 = (StringY(2) + StringY(3)) / 2;
    for (int position : {3, 5, 7, 10, 15, 17, 19, 22}) {
        const qreal x = ColumnCentreX(position);
        const qreal width = std::min(16.0, MarkerColumnWidth(position) * 0.8);
        PaintPearlDiamond(p, QPointF(x, between23), width, 9.0);
    }
    const qreal x12 = ColumnCentreX(12);
    PaintPearlDot(p, QPointF(x12, (StringY(1) + StringY(2)) / 2), 3.2);
    PaintPearlDot(p, QPointF(x12, (StringY(3) + StringY(4)) / 2), 3.2);
}

void PaintFretWires(QPainter& p, const QPainterPath& board) {
    p.save();
    p.setClipPath(board);
    p.setPen(Qt::NoPen);
    for (int position = 1; position <= MaxFret; ++position) {
        const qreal x = PictureX(FretWireX(position));
        const QRectF wire(x - 1.2, BoardTop, 2.4, WideBottom - BoardTop);
        p.fillRect(wire.translated(1.3, 0), QColor(0, 0, 0, 90)); // shadow towards the body
        QLinearGradient metal(wire.left(), 0, wire.right(), 0);
        metal.setColorAt(0.0, QColor(0x7b, 0x7f, 0x86));
        metal.setColorAt(0.45, QColor(0xf4, 0xf6, 0xf8));
        metal.setColorAt(1.0, QColor(0x8d, 0x91, 0x98));
        p.fillRect(wire, metal);
    }
    p.restore();
}

void PaintBone(QPainter& p, const QRectF& piece) {
    QLinearGradient bone(piece.left(), 0, piece.right(), 0);
    bone.setColorAt(0.0, QColor(0xcf, 0xc4, 0xa6));
    bone.setColorAt(0.4, QColor(0xf7, 0xf1, 0xe0));
    bone.setColorAt(1.0, QColor(0xb5, 0xa9, 0x8c));
    p.setPen(QPen(QColor(0, 0, 0, 80), 0.6));
    p.setBrush(bone);
    p.drawRoundedRect(piece, 1.0, 1.0);
}

void PaintNuts(QPainter& p) {
    const qreal nut = NutX();
    PaintBone(p, QRectF(nut - 2.6, BoardTop - 0.5, 5.2, NarrowBottom - BoardTop + 1.0));
    // The fifth string rests on a small nut at its own fifth fret.
    const qreal y = StringY(5);
    PaintBone(p, QRectF(FifthNutX() - 2.0, y - 3.0, 4.0, 6.0));
}

QColor Chrome(qreal t) {
    const int v = int(0x6a + (0xf0 - 0x6a) * t);
    return QColor(v, v + 2, v + 6);
}

// A tuning peg seen from above: a chrome shaft out of the neck edge and a pearl button.
void PaintPeg(QPainter& p, QPointF base, const QRectF& button) {
    const bool down = button.center().y() > base.y();
    const qreal shaftEnd = down ? button.top() + 2 : button.bottom() - 2;
    const qreal thick = button.width() * 0.34; // the shaft, and the bushing twice as wide
    QRectF shaft(base.x() - thick / 2, std::min(base.y(), shaftEnd), thick,
                 std::abs(shaftEnd - base.y()));
    QLinearGradient metal(shaft.left(), 0, shaft.right(), 0);
    metal.setColorAt(0.0, Chrome(0.2));
    metal.setColorAt(0.5, Chrome(1.0));
    metal.setColorAt(1.0, Chrome(0.3));
    p.setPen(Qt::NoPen);
    p.fillRect(shaft, metal);
    const QRectF bushing(base.x() - thick, down ? base.y() - 1 : base.y() - 3, 2 * thick, 4);
    p.setBrush(metal);
    p.drawRoundedRect(bushing, 1.2, 1.2);

    p.setBrush(QColor(0, 0, 0, 90));
    p.drawEllipse(button.translated(1.0, 1.6));
    QRadialGradient pearl(button.center() - QPointF(button.width() / 4, button.height() / 4),
                          button.width() * 0.9);
    pearl.setColorAt(0.0, QColor(0xff, 0xfc, 0xf2));
    pearl.setColorAt(0.5, QColor(0xe5, 0xdc, 0xc8));
    pearl.setColorAt(1.0, QColor(0xa8, 0x9c, 0x82));
    p.setPen(QPen(QColor(0x5a, 0x50, 0x40), 0.8));
    p.setBrush(pearl);
    p.drawEllipse(button);
}

void PaintPegs(QPainter& p) {
    // Headstock: the buttons of strings 1 and 2 above it, of strings 3 and 4 below it.
    const auto buttons = HeadstockPegButtons();
    for (int string = 1; string <= 4; ++string)
        PaintPeg(p, HeadPegBase[std::size_t(string)], buttons[std::size_t(string)]);
    PaintPeg(p, QPointF(FifthPegX, WideBottom), FifthPegButton);
}

void PaintPost(QPainter& p, QPointF centre, qreal radius) {
    QRadialGradient metal(centre - QPointF(radius / 3, radius / 3), radius * 1.5);
    metal.setColorAt(0.0, Chrome(1.0));
    metal.setColorAt(1.0, Chrome(0.1));
    p.setPen(QPen(QColor(0, 0, 0, 120), 0.6));
    p.setBrush(metal);
    p.drawEllipse(centre, radius, radius);
}

void PaintString(QPainter& p, const QPainterPath& path, int string) {
    const qreal gauge = Gauge[std::size_t(string)];
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 120), gauge + 0.6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path.translated(0.7, 1.6));
    const bool wound = string == 4;
    p.setPen(QPen(wound ? QColor(0xb4, 0x98, 0x66) : QColor(0xc4, 0xc8, 0xce), gauge, Qt::SolidLine,
                  Qt::RoundCap));
    p.drawPath(path);
    p.setPen(QPen(wound ? QColor(0xf0, 0xdc, 0xa8, 200) : QColor(0xff, 0xff, 0xff, 200),
                  gauge * 0.4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path.translated(0, -gauge * 0.2));
}

void PaintStrings(QPainter& p) {
    const qreal right = PictureRect.width() + 1.0;
    for (int string = 1; string <= 4; ++string) {
        const qreal y = StringY(string);
        QPainterPath path;
        path.moveTo(HeadPost[std::size_t(string)]);
        path.lineTo(NutX() - 2.0, y);
        path.lineTo(right, y);
        PaintString(p, path, string);
        PaintPost(p, HeadPost[std::size_t(string)], 2.6);
    }
    const QPointF fifthPost(FifthPegX, StringY(5));
    QPainterPath fifth;
    fifth.moveTo(fifthPost);
    fifth.lineTo(right, fifthPost.y());
    PaintString(p, fifth, 5);
    PaintPost(p, fifthPost, 2.6);
}

} // namespace

std::array<QRectF, 5> HeadstockPegButtons() {
    constexpr qreal half = PegButtonWidth / 2;
    return {QRectF(), QRectF(HeadPegBase[1].x() - half, 0.5, PegButtonWidth, 9),
            QRectF(HeadPegBase[2].x() - half, 0.5, PegButtonWidth, 9),
            QRectF(HeadPegBase[3].x() - half, 84, PegButtonWidth, 15),
            QRectF(HeadPegBase[4].x() - half, 78, PegButtonWidth, 15)};
}

void PaintNeckPicture(QPainter& painter) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(QRectF(QPointF(0, 0), QSizeF(PictureRect.size())));

    PaintBackground(painter);
    PaintPot(painter);
    const QPainterPath board = FingerboardPath();
    const QPainterPath headstock = HeadstockPath();
    PaintNeckShadow(painter, board.united(headstock));
    PaintPegs(painter);
    PaintWood(painter, headstock, 0x5eed1234u);
    PaintBinding(painter, headstock);
    PaintWood(painter, board, 0x0b0a4d5eu);
    PaintBinding(painter, board);
    PaintInlays(painter);
    PaintFretWires(painter, board);
    PaintNuts(painter);
    PaintStrings(painter);

    painter.restore();
}

QPixmap RenderNeckPicture(qreal devicePixelRatio) {
    const QSize size = PictureRect.size();
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::black);
    QPainter painter(&pixmap);
    PaintNeckPicture(painter);
    return pixmap;
}

} // namespace fw

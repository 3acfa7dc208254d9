#include "pick_cursor.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace fw {

namespace {

// A classic plectrum: a rounded triangle with a broad rounded top, tip pointing to the hot spot.
QPainterPath PickOutline() {
    const QPointF tip(PickCursorHotSpot);
    QPainterPath path;
    path.moveTo(tip);
    path.cubicTo(QPointF(tip.x() + 8, tip.y() - 1), QPointF(23, 6), QPointF(27, 12));
    path.cubicTo(QPointF(31, 19), QPointF(26, 28), QPointF(19, 29));
    path.cubicTo(QPointF(12, 31), QPointF(5, 27), QPointF(3.5, 20));
    path.cubicTo(QPointF(2, 13), QPointF(tip.x() - 1, tip.y() + 7), tip);
    path.closeSubpath();
    return path;
}

} // namespace

QPixmap PickCursorPixmap(qreal devicePixelRatio) {
    QPixmap pixmap(QSize(PickCursorSize, PickCursorSize) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);

    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath pick = PickOutline();

    QLinearGradient shell(4, 4, 28, 28);
    shell.setColorAt(0.0, QColor(0xe0, 0x9a, 0x3a));
    shell.setColorAt(0.5, QColor(0xa8, 0x52, 0x1c));
    shell.setColorAt(1.0, QColor(0x5c, 0x26, 0x0c));
    p.setPen(Qt::NoPen);
    p.setBrush(shell);
    p.drawPath(pick);

    // Tortoiseshell mottling: soft dark flecks, wider across than along.
    p.save();
    p.setClipPath(pick);
    struct Fleck {
        QPointF centre;
        qreal rx, ry;
    };
    for (const Fleck& f : {Fleck{{17, 14}, 5.0, 2.2}, Fleck{{23, 22}, 3.5, 1.8},
                           Fleck{{10, 21}, 3.0, 2.0}, Fleck{{16, 26}, 4.0, 1.6}}) {
        QRadialGradient fleck(f.centre, f.rx);
        fleck.setColorAt(0.0, QColor(0x3a, 0x16, 0x06, 110));
        fleck.setColorAt(1.0, QColor(0x3a, 0x16, 0x06, 0));
        p.setBrush(fleck);
        p.drawEllipse(f.centre, f.rx, f.ry);
    }
    QRadialGradient gloss(QPointF(13, 10), 9);
    gloss.setColorAt(0.0, QColor(255, 255, 255, 110));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(gloss);
    p.drawEllipse(QPointF(13, 10), 9, 6);
    p.restore();

    // A thin dark edge and a light rim keep it visible on any background.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xff, 0xf4, 0xe0, 200), 2.2));
    p.drawPath(pick);
    p.setPen(QPen(QColor(0x20, 0x0c, 0x02), 1.0));
    p.drawPath(pick);
    return pixmap;
}

QCursor PickCursor(qreal devicePixelRatio) {
    return QCursor(PickCursorPixmap(devicePixelRatio), PickCursorHotSpot.x(),
                   PickCursorHotSpot.y());
}

} // namespace fw

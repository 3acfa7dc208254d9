#include "note_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace fw {

namespace {
constexpr int IconSize = 32;

int FlagCount(QChar letter) {
    switch (letter.toLatin1()) {
    case 'E':
        return 1;
    case 'S':
        return 2;
    case 'T':
        return 3;
    case 'F':
        return 4;
    default:
        return 0;
    }
}
} // namespace

QIcon NoteValueIcon(QChar letter, const QColor& ink) {
    QPixmap pixmap(IconSize * 2, IconSize * 2);
    pixmap.setDevicePixelRatio(2.0);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const bool hollow = letter == QLatin1Char('W') || letter == QLatin1Char('H');
    const bool stem = letter != QLatin1Char('W');

    // The head: a tilted ellipse, hollow for whole and half notes.
    const QPointF head(13.0, 24.0);
    p.save();
    p.translate(head);
    p.rotate(-20);
    QPainterPath headPath;
    headPath.addEllipse(QPointF(0, 0), 6.0, 4.2);
    if (hollow) {
        QPainterPath inner;
        inner.addEllipse(QPointF(0, 0), 3.6, 2.0);
        headPath = headPath.subtracted(inner);
    }
    p.fillPath(headPath, ink);
    p.restore();

    if (stem) {
        const double stemX = head.x() + 5.4;
        p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(stemX, head.y() - 1.5), QPointF(stemX, 4.0));
        const int flags = FlagCount(letter);
        for (int f = 0; f < flags; ++f) {
            const double y = 4.0 + f * 4.5;
            QPainterPath flag;
            flag.moveTo(stemX, y);
            flag.cubicTo(stemX + 3.0, y + 2.5, stemX + 8.0, y + 3.5, stemX + 7.0, y + 9.0);
            flag.cubicTo(stemX + 6.5, y + 5.5, stemX + 3.0, y + 4.5, stemX, y + 3.2);
            flag.closeSubpath();
            p.fillPath(flag, ink);
        }
    }
    return QIcon(pixmap);
}

QIcon ArrowIcon(bool right, const QColor& ink) {
    QPixmap pixmap(IconSize * 2, IconSize * 2);
    pixmap.setDevicePixelRatio(2.0);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    const double dir = right ? 1.0 : -1.0;
    const double cx = IconSize / 2.0;
    arrow.moveTo(cx - dir * 9, 12);
    arrow.lineTo(cx + dir * 1, 12);
    arrow.lineTo(cx + dir * 1, 7);
    arrow.lineTo(cx + dir * 10, 16);
    arrow.lineTo(cx + dir * 1, 25);
    arrow.lineTo(cx + dir * 1, 20);
    arrow.lineTo(cx - dir * 9, 20);
    arrow.closeSubpath();
    p.fillPath(arrow, ink);
    return QIcon(pixmap);
}

} // namespace fw

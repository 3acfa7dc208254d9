#include "chord_diagram.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace fw {

int DiagramFirstFret(const FretArray& frets) {
    int lowest = 0;
    int highest = 0;
    for (int string = 1; string <= 4; ++string) {
        const int fret = frets[string];
        if (fret <= 0)
            continue;
        lowest = lowest == 0 ? fret : std::min(lowest, fret);
        highest = std::max(highest, fret);
    }
    return highest <= DiagramFrets ? 1 : lowest;
}

void DrawChordDiagram(QPainter& painter, const QRectF& box, const FretArray& frets) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = painter.pen().color();

    // The grid takes the box less a band above for the o/x marks and a band at the left for
    // the fret number; string spacing and fret spacing follow from that.
    const double markBand = box.height() * 0.17;
    const double numberBand = box.width() * 0.22;
    const QRectF grid(box.left() + numberBand, box.top() + markBand,
                      box.width() - numberBand - box.width() * 0.06,
                      box.height() - markBand - box.height() * 0.04);
    const double stringGap = grid.width() / 4;
    const double fretGap = grid.height() / DiagramFrets;
    const double line = std::max(1.0, grid.width() / 60);
    const auto stringX = [&](int string) { return grid.left() + (5 - string) * stringGap; };

    const int first = DiagramFirstFret(frets);
    painter.setPen(QPen(ink, line, Qt::SolidLine, Qt::FlatCap));
    for (int row = 0; row <= DiagramFrets; ++row) {
        const double y = grid.top() + row * fretGap;
        painter.drawLine(QPointF(grid.left(), y), QPointF(grid.right(), y));
    }
    if (first == 1) {
        // The nut: a heavy bar over the strings.
        const double nut = std::max(2.5 * line, fretGap * 0.14);
        painter.fillRect(QRectF(grid.left() - line / 2, grid.top() - nut, grid.width() + line, nut),
                         ink);
    }
    for (int string = 1; string <= 4; ++string)
        painter.drawLine(QPointF(stringX(string), grid.top()),
                         QPointF(stringX(string), grid.bottom()));
    // The 5th string starts at its own nut by the 5th fret, as on the neck: below a diagram
    // that ends above it, it is not drawn at all.
    const double fifthNut = grid.top() + (FifthStringNutFret - first + 1) * fretGap;
    if (fifthNut < grid.bottom()) {
        const double from = std::max(fifthNut, grid.top());
        painter.drawLine(QPointF(stringX(5), from), QPointF(stringX(5), grid.bottom()));
        if (fifthNut >= grid.top()) {
            const double nut = std::max(2.5 * line, fretGap * 0.14);
            painter.fillRect(
                QRectF(stringX(5) - stringGap * 0.3, fifthNut - nut / 2, stringGap * 0.6, nut),
                ink);
        }
    }

    QFont font = painter.font();
    font.setPixelSize(std::max(6, static_cast<int>(fretGap * 0.62)));
    painter.setFont(font);
    if (first > 1)
        painter.drawText(QRectF(box.left(), grid.top(), numberBand - stringGap * 0.25, fretGap),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(first));

    const double markSize = std::min(stringGap, markBand) * 0.62;
    const double dot = std::min(stringGap, fretGap) * 0.68;
    for (int string = 1; string <= 5; ++string) {
        const int fret = frets[string];
        const double x = stringX(string);
        if (fret <= 0) {
            // Above the grid (and above the nut): o for an open string, x for one not played.
            const QRectF mark(x - markSize / 2, box.top() + (markBand - markSize) / 2 - line,
                              markSize, markSize);
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(ink, line * 1.2));
            if (fret == 0) {
                painter.drawEllipse(mark);
            } else {
                painter.drawLine(mark.topLeft(), mark.bottomRight());
                painter.drawLine(mark.topRight(), mark.bottomLeft());
            }
            continue;
        }
        // 0-based row between two fret lines; the 5th string counts its frets from its nut.
        const int row = fret + (string == 5 ? FifthStringNutFret : 0) - first;
        if (row < 0 || row >= DiagramFrets)
            continue;
        const QPointF centre(x, grid.top() + (row + 0.5) * fretGap);
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        painter.drawEllipse(centre, dot / 2, dot / 2);
    }
    painter.restore();
}

} // namespace fw

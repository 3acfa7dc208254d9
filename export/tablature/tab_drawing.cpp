#include "tab_drawing.h"

#include "chords/text_rules.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <array>

namespace fw {

void WriteText(QPainter& painter, int x, int y, const QString& text) {
    painter.drawText(x, y + painter.fontMetrics().ascent(), text);
}

TabCanvas::TabCanvas(QPainter& painter, const TabGeometry& geometry, const TabDrawOptions& options,
                     TabDevice device)
    : painter_(painter), geometry_(geometry), options_(options),
      numberFont_(TabNumberFont(device, options.boldNumbers)), letterFont_(TabNumberFont(device)) {
    painter_.setPen(QPen(Qt::black, geometry.LineWidth));
}

void TabCanvas::DrawStaff(int x0, int y0, int w) {
    const int s = geometry_.LineSpacing;
    const int h = geometry_.StaffHeight;
    painter_.drawLine(x0, y0, x0, y0 + h);
    painter_.drawLine(x0 + w - 1, y0, x0 + w - 1, y0 + h);
    for (int i = 0; i <= 4; ++i)
        painter_.drawLine(x0, y0 + i * s, x0 + w, y0 + i * s);
}

// Numbers are drawn over the staff, each on a small white patch, so that the string line stops
// on both sides of the number instead of running through it.
void TabCanvas::WriteNumber(int x, int lineY, int value) {
    const QString text = QString::number(value);
    const QFontMetrics metrics = painter_.fontMetrics();
    const int top = lineY - metrics.height() / 2;
    const int gap = std::max(1, geometry_.LineSpacing / 15);
    const QRect ink = metrics.boundingRect(text).translated(x, top + metrics.ascent());
    painter_.fillRect(ink.adjusted(-gap, -gap, gap, gap), Qt::white);
    WriteText(painter_, x, top, text);
}

int TabCanvas::DrawMeasure(std::span<const TabItem> measureChords, int w, int y0, int x0) {
    const int s = geometry_.LineSpacing;
    const int h = geometry_.StaffHeight;
    const int c = w / (ColumnCount(measureChords) + 1);
    DrawStaff(x0, y0, w);

    const QFont savedFont = painter_.font();
    int x = x0;
    int reached = y0;
    int count = 0;
    for (const TabItem& item : measureChords) {
        if (++count > MaxMeasureChords) {
            truncated_ = true;
            break;
        }
        x += c;
        if (item.IsRest())
            continue;
        if (options_.showDurations) {
            painter_.setFont(letterFont_);
            WriteText(painter_, x, y0 + h + geometry_.DurationGap,
                      QString::fromStdString(item.Duration));
        }
        painter_.setFont(numberFont_);
        std::array<int, 6> startX{};
        std::array<bool, 6> started{};
        for (int k = 1; k <= 5; ++k) {
            if (item.Fret[k] != NoFret) {
                WriteNumber(x, y0 + (k - 1) * s, item.Fret[k]);
                startX[k] = x;
                started[k] = true;
            }
        }
        reached = y0 + 5 * s;
        if (!item.HasHammerOn())
            continue;
        x += c;
        const QFontMetrics metrics = painter_.fontMetrics();
        const int halfTwo = metrics.horizontalAdvance(QLatin1Char('2')) / 2;
        for (int k = 1; k <= 5; ++k) {
            if (item.HammerFret[k] == NoFret)
                continue;
            const int lineY = y0 + (k - 1) * s;
            WriteNumber(x, lineY, item.HammerFret[k]);
            if (!started[k])
                continue;
            // The upper middle of the ellipse between the two numbers, from the radial through
            // its box's top right corner round to the one through its top left: a slur.
            const int top = lineY - metrics.height() / 2;
            const QRect box(QPoint(startX[k] + halfTwo, top), QPoint(x + halfTwo, lineY));
            painter_.save();
            painter_.setRenderHint(QPainter::Antialiasing);
            painter_.drawArc(
                QRectF(box.left(), box.top(), box.right() - box.left(), box.bottom() - box.top()),
                45 * 16, 90 * 16);
            painter_.restore();
        }
    }
    painter_.setFont(savedFont);
    return reached;
}

void DrawAllMeasures(TabCanvas& canvas, std::span<const TabItem> items,
                     std::span<const TabMeasure> measures, int firstRow, int lastRow) {
    const TabGeometry& g = canvas.geometry();
    for (int row = std::max(firstRow, 0); row <= lastRow; ++row) {
        for (int side = 0; side < 2; ++side) {
            const std::size_t index = static_cast<std::size_t>(row) * 2 + side;
            if (index >= measures.size())
                return;
            canvas.DrawMeasure(MeasureChords(items, measures[index]), g.MeasureWidth(),
                               g.RowTop(row), g.MeasureLeft(side == 1));
        }
    }
}

void DrawScreenTitles(QPainter& painter, const TabGeometry& geometry, const TabTexts& texts) {
    const QFont savedFont = painter.font();
    const int W = geometry.UsableWidth;
    const int L = geometry.LeftMargin;
    painter.setFont(TabTuningFont(TabDevice::Screen));
    WriteText(painter, 5, geometry.TitleTop, texts.tuning);

    painter.setFont(TabTitleFont());
    const QFontMetrics title = painter.fontMetrics();
    const int titleWidth = title.horizontalAdvance(texts.title);
    const int titleY = 25;
    WriteText(painter, titleWidth < W + L ? W / 2 - titleWidth / 2 : 0, titleY, texts.title);

    if (!Trim(texts.subtitle.toStdString()).empty()) {
        const int y = titleY + title.height() + title.height() / 4;
        painter.setFont(TabSubtitleFont(TabDevice::Screen));
        const int width = painter.fontMetrics().horizontalAdvance(texts.subtitle);
        WriteText(painter, (W + L) / 2 - width / 2, y, texts.subtitle);
    }
    painter.setFont(savedFont);
}

} // namespace fw

#include "tab_drawing.h"

#include "chords/text_rules.h"

#include <QFontMetrics>
#include <QGlyphRun>
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
    const QFontMetrics numbers(numberFont_, painter_.device());
    numberAscent_ = numbers.ascent();
    numberHeight_ = numbers.height();
    halfTwo_ = numbers.horizontalAdvance(QLatin1Char('2')) / 2;
    letterAscent_ = QFontMetrics(letterFont_, painter_.device()).ascent();
    QFont devicePixels = numberFont_;
    devicePixels.setPixelSize(
        std::max(1, qRound(numberFont_.pointSizeF() * painter_.device()->logicalDpiY() / 72.0)));
    numberGlyphs_ = QRawFont::fromFont(devicePixels);
}

const TabCanvas::NumberShape& TabCanvas::ShapeOf(int value) {
    const std::size_t index = static_cast<std::size_t>(std::max(value, 0));
    if (index >= shapes_.size())
        shapes_.resize(index + 1);
    NumberShape& shape = shapes_[index];
    if (shape.text.isEmpty()) {
        shape.text = QString::number(value);
        shape.ink = QFontMetrics(numberFont_, painter_.device()).boundingRect(shape.text);
        if (numberGlyphs_.isValid()) {
            shape.glyphs = numberGlyphs_.glyphIndexesForString(shape.text);
            qreal offset = 0;
            for (const QPointF& advance : numberGlyphs_.advancesForGlyphIndexes(shape.glyphs)) {
                shape.offsets.push_back(offset);
                offset += advance.x();
            }
        }
    }
    return shape;
}

void TabCanvas::DrawStaff(int x0, int y0, int w) {
    const int s = geometry_.LineSpacing;
    const int h = geometry_.StaffHeight;
    painter_.drawLine(x0, y0, x0, y0 + h);
    painter_.drawLine(x0 + w - 1, y0, x0 + w - 1, y0 + h);
    for (int i = 0; i <= 4; ++i)
        painter_.drawLine(x0, y0 + i * s, x0 + w, y0 + i * s);
}

// The measure is laid out first and then drawn in passes, each with one font: the staff; the
// numbers, each over the staff on a small white patch so that the string line stops on both
// sides of it; the duration letters; the arcs.
int TabCanvas::DrawMeasure(std::span<const TabItem> measureChords, int w, int y0, int x0) {
    const int s = geometry_.LineSpacing;
    const int h = geometry_.StaffHeight;
    const int c = w / (DrawnColumnCount(measureChords) + 1);
    numbers_.clear();
    letters_.clear();
    arcs_.clear();

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
        if (options_.showDurations)
            letters_.push_back({x, &item.Duration});
        std::array<int, 6> startX{};
        std::array<bool, 6> started{};
        for (int k = 1; k <= 5; ++k) {
            if (item.Fret[k] != NoFret) {
                numbers_.push_back({x, y0 + (k - 1) * s, item.Fret[k]});
                startX[k] = x;
                started[k] = true;
            }
        }
        reached = y0 + 5 * s;
        if (!item.HasHammerOn())
            continue;
        x += c;
        for (int k = 1; k <= 5; ++k) {
            if (item.HammerFret[k] == NoFret)
                continue;
            const int lineY = y0 + (k - 1) * s;
            numbers_.push_back({x, lineY, item.HammerFret[k]});
            if (!started[k])
                continue;
            // The upper middle of the ellipse between the two numbers, from the radial through
            // its box's top right corner round to the one through its top left: a slur.
            const int top = lineY - numberHeight_ / 2;
            const int left = startX[k] + halfTwo_;
            arcs_.emplace_back(left, top, x + halfTwo_ - left, lineY - top);
        }
    }

    DrawStaff(x0, y0, w);
    const QFont savedFont = painter_.font();
    const int gap = std::max(1, s / 15);
    if (!numbers_.empty()) {
        painter_.setFont(numberFont_);
        runGlyphs_.clear();
        runPositions_.clear();
        for (const PlacedNumber& number : numbers_) {
            const NumberShape& shape = ShapeOf(number.value);
            const int baseline = number.lineY - numberHeight_ / 2 + numberAscent_;
            painter_.fillRect(
                shape.ink.translated(number.x, baseline).adjusted(-gap, -gap, gap, gap), Qt::white);
            if (shape.glyphs.isEmpty()) { // no glyphs for the font: as plain text
                painter_.drawText(number.x, baseline, shape.text);
                continue;
            }
            for (qsizetype i = 0; i < shape.glyphs.size(); ++i) {
                runGlyphs_.push_back(shape.glyphs[i]);
                runPositions_.push_back(QPointF(number.x + shape.offsets[i], baseline));
            }
        }
        if (!runGlyphs_.isEmpty()) {
            QGlyphRun run;
            run.setRawFont(numberGlyphs_);
            run.setGlyphIndexes(runGlyphs_);
            run.setPositions(runPositions_);
            painter_.drawGlyphRun(QPointF(0, 0), run);
        }
    }
    if (!letters_.empty()) {
        painter_.setFont(letterFont_);
        const int baseline = y0 + h + geometry_.DurationGap + letterAscent_;
        for (const PlacedLetter& letter : letters_)
            painter_.drawText(letter.x, baseline, QString::fromStdString(*letter.text));
    }
    painter_.setFont(savedFont);
    if (!arcs_.empty()) {
        painter_.save();
        painter_.setRenderHint(QPainter::Antialiasing);
        for (const QRectF& arc : arcs_)
            painter_.drawArc(arc, 45 * 16, 90 * 16);
        painter_.restore();
    }
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

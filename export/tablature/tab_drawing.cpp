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
    digitsWidth_ = numbers.horizontalAdvance(QStringLiteral("88"));
    smallFont_ = TabNumberFont(device);
    smallFont_.setPointSizeF(smallFont_.pointSizeF() * 0.85);
    const QFontMetrics small(smallFont_, painter_.device());
    smallHeight_ = small.height();
    smallAscent_ = small.ascent();
}

const TabCanvas::NumberShape& TabCanvas::ShapeOf(int value) {
    const std::size_t index = static_cast<std::size_t>(std::max(value, 0));
    if (index >= shapes_.size())
        shapes_.resize(index + 1);
    NumberShape& shape = shapes_[index];
    if (shape.text.isEmpty()) {
        shape.text = QString::number(value);
        shape.ink = QFontMetrics(numberFont_, metrics_ ? metrics_ : painter_.device())
                        .boundingRect(shape.text);
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

void TabCanvas::PlaceChord(const TabItem& item, int x, int targetX, int y0, bool centred) {
    const int s = geometry_.LineSpacing;
    const auto left = [&](int at, int value) {
        return centred ? at - ShapeOf(value).ink.center().x() : at;
    };
    std::array<int, 6> startX{};
    std::array<int, 6> startRight{};
    std::array<bool, 6> started{};
    for (int k = 1; k <= 5; ++k) {
        if (item.Fret[k] == NoFret)
            continue;
        const int value = Shown(k, item.Fret[k]);
        const int at = left(x, value);
        numbers_.push_back({at, y0 + (k - 1) * s, value});
        startX[k] = at;
        startRight[k] = at + ShapeOf(value).ink.right();
        started[k] = true;
    }
    if (!item.HasHammerOn())
        return;
    for (int k = 1; k <= 5; ++k) {
        if (item.HammerFret[k] == NoFret)
            continue;
        const int lineY = y0 + (k - 1) * s;
        const int value = Shown(k, item.HammerFret[k]);
        const int at = left(targetX, value);
        numbers_.push_back({at, lineY, value});
        if (!started[k])
            continue;
        if (options_.forms.letterMarks)
            marks_.push_back({(startRight[k] + at) / 2, lineY,
                              HammerMark(item.Fret[k], item.HammerFret[k], true)});
        // The upper middle of the ellipse between the two numbers, from the radial through
        // its box's top right corner round to the one through its top left: a slur.
        const int top = lineY - numberHeight_ / 2;
        const int from = startX[k] + halfTwo_;
        arcs_.emplace_back(from, top, at + halfTwo_ - from, lineY - top);
    }
}

// The measure is laid out first and then drawn in passes, each with one font: the staff; the
// numbers, each over the staff on a small white patch so that the string line stops on both
// sides of it; the duration letters; the arcs.
int TabCanvas::DrawMeasure(std::span<const TabItem> measureChords, int w, int y0, int x0) {
    const int s = geometry_.LineSpacing;
    numbers_.clear();
    letters_.clear();
    arcs_.clear();
    marks_.clear();
    names_.clear();
    const bool capped = options_.forms.bars == TabBars::BlankLines;
    if (capped && IsTruncated(measureChords)) {
        truncated_ = true;
        measureChords = measureChords.first(MaxMeasureChords);
    }
    int reached = y0;
    RhythmMeasure layout;
    if (options_.Stems()) {
        const RhythmSpacing spacing = Spacing();
        layout = LayoutRhythm(measureChords, options_.meter, spacing);
        StretchRhythm(layout, w, spacing);
        for (const RhythmColumn& column : layout.columns) {
            const TabItem& item = measureChords[column.chord];
            const int x = x0 + qRound(column.x);
            if (!ChordLabel(item).isEmpty())
                names_.push_back({x, ChordLabel(item)});
            if (item.IsRest())
                continue;
            PlaceChord(item, x, column.targetX < 0 ? x : x0 + qRound(column.targetX), y0, true);
            reached = y0 + 5 * s;
        }
    } else {
        // Measures cut by the meter show every chord, so their columns are counted uncapped.
        int drawn = DrawnColumnCount(measureChords);
        if (!capped) {
            drawn = static_cast<int>(measureChords.size()) + 1;
            for (const TabItem& item : measureChords)
                drawn += item.HasHammerOn() ? 1 : 0;
        }
        const int c = w / (drawn + 1);
        int x = x0;
        for (const TabItem& item : measureChords) {
            x += c;
            if (!ChordLabel(item).isEmpty())
                names_.push_back({x, ChordLabel(item)});
            if (item.IsRest())
                continue;
            if (options_.Letters())
                letters_.push_back({x, &item.Duration});
            const int target = item.HasHammerOn() ? x + c : x;
            PlaceChord(item, x, target, y0, false);
            reached = y0 + 5 * s;
            x = target;
        }
    }

    PaintPlaced(x0, y0, w, options_.Stems() ? &layout : nullptr);
    return reached;
}

void TabCanvas::PaintPlaced(int x0, int y0, int w, const RhythmMeasure* rhythm) {
    const int s = geometry_.LineSpacing;
    const int h = geometry_.StaffHeight;
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
        for (const PlacedLetter& letter : letters_) {
            const QString text = QString::fromStdString(*letter.text);
            // Engraved, a letter stands centred under its column as the numbers do.
            const int x = engraved_ ? letter.x - painter_.fontMetrics().horizontalAdvance(text) / 2
                                    : letter.x;
            painter_.drawText(x, baseline, text);
        }
    }
    if (!marks_.empty() || !names_.empty()) {
        painter_.setFont(smallFont_);
        const QFontMetrics small = painter_.fontMetrics();
        const QFontMetrics markMetrics(engraved_ ? markFont_ : smallFont_, painter_.device());
        if (engraved_ && !marks_.empty())
            painter_.setFont(markFont_);
        for (const PlacedMark& mark : marks_) {
            const QString text(QLatin1Char(mark.mark));
            const QRect ink = markMetrics.boundingRect(text);
            const int x = mark.x - ink.center().x();
            // Engraved, the letter sits just above the top of its arc, clear of the string.
            const int baseline =
                engraved_ ? mark.lineY - numberHeight_ / 2 - s / 8 - markMetrics.descent()
                          : mark.lineY - smallHeight_ / 2 + smallAscent_;
            painter_.fillRect(ink.translated(x, baseline).adjusted(-gap, -gap, gap, gap),
                              Qt::white);
            painter_.drawText(x, baseline, text);
        }
        painter_.setFont(smallFont_);
        // Names stand above the numbers of the top string (and engraved, above the h and p
        // letters there) and never run into each other or into the measure number at the start
        // of the row.
        const int baseline = y0 - numberHeight_ / 2 - 2 * gap - small.descent() - MarkRoom();
        int floor = nameFloor_;
        for (const PlacedName& name : names_) {
            const int x =
                std::max(options_.Stems() || engraved_ ? name.x - halfTwo_ : name.x, floor);
            painter_.drawText(x, baseline, name.text);
            floor =
                x + small.horizontalAdvance(name.text) + small.horizontalAdvance(QLatin1Char(' '));
        }
    }
    // Engraved, names keep clear of those of the measure before in the row.
    if (!engraved_)
        nameFloor_ = 0;
    painter_.setFont(savedFont);
    if (rhythm)
        DrawRhythm(*rhythm, y0, x0);
    if (!arcs_.empty()) {
        painter_.save();
        painter_.setRenderHint(QPainter::Antialiasing);
        for (const QRectF& arc : arcs_)
            painter_.drawArc(arc, 45 * 16, 90 * 16);
        painter_.restore();
    }
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

// Engraved tablature: columns spaced by duration (SpacingRules, LayOutRows), numbers centred on
// them, rows of as many measures as fit, the time signature at the start and the final double
// bar line at the end. Everything is measured in EngravingDpi units on one reference device, so
// the layout does not depend on the device it is painted on.
#include "tab_drawing.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace fw {

namespace {

// A blank image of EngravingDpi to the inch: where engraved text is measured.
const QPaintDevice* ReferenceDevice() {
    static const QImage image = [] {
        QImage reference(1, 1, QImage::Format_RGB32);
        const int dotsPerMetre = qRound(EngravingDpi / 0.0254);
        reference.setDotsPerMeterX(dotsPerMetre);
        reference.setDotsPerMeterY(dotsPerMetre);
        return reference;
    }();
    return &image;
}

} // namespace

QFont TabCanvas::Sized(QFont font) const {
    // Pixels of EngravingDpi: the same size on every device the painter maps them to.
    font.setPixelSize(std::max(1, qRound(font.pointSizeF() * EngravingDpi / 72.0)));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

int TabCanvas::TextWidth(const QFont& font, const QString& text) const {
    return QFontMetrics(font, metrics_).horizontalAdvance(text);
}

TabCanvas::TabCanvas(QPainter& painter, const TabGeometry& geometry, const TabDrawOptions& options)
    : painter_(painter), geometry_(geometry), options_(options) {
    engraved_ = true;
    metrics_ = ReferenceDevice();
    numberFont_ = Sized(TabNumberFont(TabDevice::Printer, options.boldNumbers));
    letterFont_ = Sized(TabNumberFont(TabDevice::Printer));
    painter_.setPen(QPen(Qt::black, geometry.LineWidth));
    const QFontMetrics numbers(numberFont_, metrics_);
    numberAscent_ = numbers.ascent();
    numberHeight_ = numbers.height();
    halfTwo_ = numbers.horizontalAdvance(QLatin1Char('2')) / 2;
    letterAscent_ = QFontMetrics(letterFont_, metrics_).ascent();
    numberGlyphs_ = QRawFont::fromFont(numberFont_);
    digitsWidth_ = numbers.horizontalAdvance(QStringLiteral("88"));
    QFont small = TabNumberFont(TabDevice::Printer);
    small.setPointSizeF(small.pointSizeF() * 0.85);
    smallFont_ = Sized(small);
    const QFontMetrics smallMetrics(smallFont_, metrics_);
    smallHeight_ = smallMetrics.height();
    smallAscent_ = smallMetrics.ascent();
    // h and p are small, as engravers set them over a slur.
    QFont mark = TabNumberFont(TabDevice::Printer);
    mark.setPointSizeF(mark.pointSizeF() * 0.65);
    markFont_ = Sized(mark);
    // The figures of the time signature, one over the other in the two halves of the staff, as
    // large as their line boxes allow without meeting (text readers see them as two words).
    meterFont_ = numberFont_;
    meterFont_.setBold(true);
    meterFont_.setPixelSize(std::max(1, geometry.LineSpacing * 7 / 4));
}

int TabCanvas::MarkRoom() const {
    if (!engraved_ || !options_.forms.letterMarks)
        return 0;
    return QFontMetrics(markFont_, metrics_).height() + geometry_.LineSpacing / 8;
}

SpacingRules TabCanvas::Rules() const {
    const double s = geometry_.LineSpacing;
    SpacingRules rules;
    rules.eighth = 0.85 * s;
    rules.gap = 0.15 * s;
    rules.leadIn = 0.45 * s;
    return rules;
}

std::optional<Meter> TabCanvas::OpeningMeter(std::span<const TabItem> measureChords,
                                             bool first) const {
    if (!measureChords.empty() && measureChords.front().MeterBeats > 0)
        return Meter{measureChords.front().MeterBeats, measureChords.front().MeterUnit};
    if (first)
        return options_.meter;
    return std::nullopt;
}

int TabCanvas::TimeSignatureWidth(const Meter& meter) const {
    const QString figures = QString::number(std::max(meter.beats, meter.unit));
    return TextWidth(meterFont_, figures) + geometry_.LineSpacing * 4 / 5;
}

SpacedMeasure TabCanvas::SpacedOf(std::span<const TabItem> measureChords, bool first,
                                  bool last) const {
    const double s = geometry_.LineSpacing;
    const QFontMetrics numbers(numberFont_, metrics_);
    const auto half = [&](int string, int fret) {
        return numbers.boundingRect(QString::number(Shown(string, fret))).width() / 2.0 + s / 15;
    };
    const RhythmMeasure rhythm = options_.Stems()
                                     ? LayoutRhythm(measureChords, options_.meter, RhythmSpacing{})
                                     : RhythmMeasure{};
    SpacedMeasure spaced;
    for (std::size_t i = 0; i < measureChords.size(); ++i) {
        const TabItem& item = measureChords[i];
        SpacedColumn column;
        column.ticks = DurationTicks(item.Duration);
        if (item.IsRest()) {
            column.left = column.right = 0.5 * s; // the rest sign under the staff
        } else {
            for (int k = 1; k <= 5; ++k) {
                if (item.Fret[k] == NoFret)
                    continue;
                column.left = std::max(column.left, half(k, item.Fret[k]));
                column.right = std::max(column.right, half(k, item.Fret[k]));
            }
            if (item.HasHammerOn()) {
                double right = 0;
                for (int k = 1; k <= 5; ++k) {
                    if (item.HammerFret[k] == NoFret)
                        continue;
                    const double start = item.Fret[k] == NoFret ? 0 : half(k, item.Fret[k]);
                    // Room for the arc between the start and its target.
                    column.targetStep =
                        std::max(column.targetStep, start + 0.2 * s + half(k, item.HammerFret[k]));
                    right = std::max(right, half(k, item.HammerFret[k]));
                }
                column.right = right;
            }
        }
        if (options_.Letters())
            column.right = std::max(
                column.right, TextWidth(letterFont_, QString::fromStdString(item.Duration)) / 2.0);
        if (!rhythm.columns.empty()) {
            const RhythmColumn& note = rhythm.columns[i];
            // A flag or a dot stands right of the stem.
            if (note.flags > 0 || note.value.dotted)
                column.right =
                    std::max(column.right, column.targetStep + (note.flags > 0 ? 0.9 : 0.7) * s) -
                    column.targetStep;
        }
        spaced.columns.push_back(column);
    }
    if (const std::optional<Meter> meter = OpeningMeter(measureChords, first))
        spaced.opening = TimeSignatureWidth(*meter);
    // A repeat's bar lines and dots.
    if (!measureChords.empty() && measureChords.front().RepeatStart)
        spaced.opening += 0.9 * s;
    if (!measureChords.empty() && measureChords.back().RepeatEndCount > 0)
        spaced.closing = 0.9 * s;
    else if (last)
        spaced.closing = 0.5 * s; // the thick line of the final bar
    return spaced;
}

std::vector<PlacedRow> TabCanvas::EngravedRows(std::span<const TabItem> items,
                                               std::span<const TabMeasure> measures, int left,
                                               int rowWidth) {
    std::vector<SpacedMeasure> spaced;
    spaced.reserve(measures.size());
    for (std::size_t i = 0; i < measures.size(); ++i)
        spaced.push_back(
            SpacedOf(MeasureChords(items, measures[i]), i == 0, i + 1 == measures.size()));
    std::vector<PlacedRow> rows;
    for (const LaidRow& laid : LayOutRows(spaced, Rules(), rowWidth)) {
        PlacedRow row;
        row.measureNumber = static_cast<int>(laid.measures.front().measure) + 1;
        for (const LaidMeasure& measure : laid.measures) {
            PlacedMeasure placed;
            placed.measure = measure.measure;
            const double x0 = left + measure.x;
            placed.x = static_cast<int>(std::lround(x0));
            placed.width = static_cast<int>(std::lround(x0 + measure.width)) - placed.x + 1;
            for (std::size_t c = 0; c < measure.columnX.size(); ++c) {
                placed.columnX.push_back(static_cast<int>(std::lround(x0 + measure.columnX[c])));
                placed.targetX.push_back(measure.targetX[c] < 0 ? -1
                                                                : static_cast<int>(std::lround(
                                                                      x0 + measure.targetX[c])));
            }
            row.measures.push_back(std::move(placed));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

void TabCanvas::DrawEngravedMeasure(std::span<const TabItem> measureChords,
                                    const PlacedMeasure& placed, int y0, bool first, bool last) {
    numbers_.clear();
    letters_.clear();
    arcs_.clear();
    marks_.clear();
    names_.clear();
    RhythmMeasure layout;
    if (options_.Stems())
        layout = LayoutRhythm(measureChords, options_.meter, RhythmSpacing{});
    for (std::size_t i = 0; i < measureChords.size() && i < placed.columnX.size(); ++i) {
        const TabItem& item = measureChords[i];
        const int x = placed.columnX[i];
        if (i < layout.columns.size()) {
            layout.columns[i].x = x - placed.x;
            layout.columns[i].targetX = placed.targetX[i] < 0 ? -1 : placed.targetX[i] - placed.x;
        }
        if (!ChordLabel(item).isEmpty())
            names_.push_back({x, ChordLabel(item)});
        if (item.IsRest())
            continue;
        if (options_.Letters())
            letters_.push_back({x, &item.Duration});
        PlaceChord(item, x, placed.targetX[i] < 0 ? x : placed.targetX[i], y0, true);
    }
    PaintPlaced(placed.x, y0, placed.width, options_.Stems() ? &layout : nullptr);
    const int s = geometry_.LineSpacing;
    int openingX = placed.x;
    if (!measureChords.empty() && measureChords.front().RepeatStart)
        openingX += 9 * s / 10;
    if (const std::optional<Meter> meter = OpeningMeter(measureChords, first))
        DrawTimeSignature(*meter, openingX, y0);
    DrawStructure(measureChords, placed, y0);
    const bool repeatEnd = !measureChords.empty() && measureChords.back().RepeatEndCount > 0;
    if (last && !repeatEnd) {
        // The final bar: a thin line, then a thick one ending the staff.
        const int right = placed.x + placed.width - 1;
        const int thick = std::max(2, s / 5);
        painter_.fillRect(QRect(right - thick + 1, y0, thick, geometry_.StaffHeight + 1),
                          Qt::black);
        const int thin = right - thick - std::max(2, s / 5);
        painter_.drawLine(thin, y0, thin, y0 + geometry_.StaffHeight);
    }
}

void TabCanvas::DrawTimeSignature(const Meter& meter, int x, int y0) {
    const int s = geometry_.LineSpacing;
    const QFont savedFont = painter_.font();
    painter_.setFont(meterFont_);
    const QFontMetrics metrics(meterFont_, metrics_);
    const QString upper = QString::number(meter.beats);
    const QString lower = QString::number(meter.unit);
    const int centre =
        x + s / 3 + TextWidth(meterFont_, upper.size() > lower.size() ? upper : lower) / 2;
    // Each figure stands centred in its half of the staff, over a white patch that stops the
    // string lines around it.
    for (const auto& [text, middle] : {std::pair{upper, y0 + s}, std::pair{lower, y0 + 3 * s}}) {
        const QRect ink = metrics.boundingRect(text);
        const int left = centre - ink.width() / 2 - ink.left();
        const int baseline = middle - ink.top() - ink.height() / 2;
        painter_.fillRect(ink.translated(left, baseline).adjusted(-s / 10, 0, s / 10, 0),
                          Qt::white);
        painter_.drawText(left, baseline, text);
    }
    painter_.setFont(savedFont);
}

void TabCanvas::DrawStructure(std::span<const TabItem> measureChords, const PlacedMeasure& placed,
                              int y0) {
    if (measureChords.empty())
        return;
    const int s = geometry_.LineSpacing;
    const int h = geometry_.StaffHeight;
    const int thick = std::max(2, s / 5);
    const double dot = std::max(1.5, s / 7.0);
    const auto dots = [&](double x) {
        painter_.save();
        painter_.setRenderHint(QPainter::Antialiasing);
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(Qt::black);
        // In the two spaces either side of the middle line.
        painter_.drawEllipse(QPointF(x, y0 + 1.5 * s), dot, dot);
        painter_.drawEllipse(QPointF(x, y0 + 2.5 * s), dot, dot);
        painter_.restore();
    };
    const QFont savedFont = painter_.font();
    painter_.setFont(smallFont_);
    const QFontMetrics small(smallFont_, metrics_);
    if (measureChords.front().RepeatStart) {
        // Thick, thin, then the dots: the repeat starts here.
        painter_.fillRect(QRect(placed.x, y0, thick, h + 1), Qt::black);
        const int thin = placed.x + thick + thick;
        painter_.drawLine(thin, y0, thin, y0 + h);
        dots(thin + thick + dot);
    }
    const TabItem& closing = measureChords.back();
    if (closing.RepeatEndCount > 0) {
        // The dots, thin, then thick: back to the start; "x3" over it when played more than twice.
        const int right = placed.x + placed.width - 1;
        painter_.fillRect(QRect(right - thick + 1, y0, thick, h + 1), Qt::black);
        const int thin = right - 2 * thick;
        painter_.drawLine(thin, y0, thin, y0 + h);
        dots(thin - thick - dot);
        if (closing.RepeatEndCount > 2) {
            const QString times = QStringLiteral("x%1").arg(closing.RepeatEndCount);
            painter_.drawText(right - small.horizontalAdvance(times),
                              y0 - numberHeight_ / 2 - small.descent(), times);
        }
    }
    // An ending's bracket over its measures: a hook and its number at its start, a hook at its
    // end, a line between, above the chord names.
    int endingNumber = 0;
    for (const TabItem& item : measureChords)
        endingNumber = std::max(endingNumber, item.EndingNumber);
    const bool inEnding = endingNumber > 0 || InEnding(measureChords.front());
    if (inEnding) {
        const int top = y0 - RoomAbove();
        const int left = measureChords.front().EndingNumber > 0 ? placed.x + s / 5 : placed.x;
        const bool ends = std::any_of(measureChords.begin(), measureChords.end(),
                                      [](const TabItem& item) { return item.EndingLast; });
        const int right = placed.x + placed.width - 1 - (ends ? s / 5 : 0);
        painter_.drawLine(left, top, right, top);
        if (measureChords.front().EndingNumber > 0) {
            painter_.drawLine(left, top, left, top + smallHeight_);
            painter_.drawText(left + s / 4, top + smallHeight_ / 6 + small.ascent(),
                              QStringLiteral("%1.").arg(measureChords.front().EndingNumber));
        }
        if (ends)
            painter_.drawLine(right, top, right, top + smallHeight_);
    }
    // A 3 under each triplet group's beam, centred on its notes.
    if (options_.Stems()) {
        int from = -1;
        for (std::size_t i = 0; i < measureChords.size() && i < placed.columnX.size(); ++i) {
            const TabItem& item = measureChords[i];
            if (item.TripletPlace == 0)
                continue;
            if (from < 0 || item.TripletPlace == 1)
                from = placed.columnX[i];
            if (item.TripletLast || item.TripletPlace == 3) {
                const int centre = (from + placed.columnX[i]) / 2;
                const int below = y0 + h + numberHeight_ / 2 + s / 5 + 5 * s / 2 + s / 5;
                const QString three = QStringLiteral("3");
                painter_.drawText(centre - small.horizontalAdvance(three) / 2,
                                  below + small.ascent(), three);
                from = -1;
            }
        }
    }
    painter_.setFont(savedFont);
}

bool TabCanvas::InEnding(const TabItem& chord) const {
    // Whether an ending's bracket is open at `chord`: walked back to its start, no bracket's end
    // stands between.
    if (song_.empty() || &chord < song_.data() || &chord >= song_.data() + song_.size())
        return false;
    for (const TabItem* item = &chord; item >= song_.data(); --item) {
        if (item != &chord && item->EndingLast)
            return false;
        if (item->EndingNumber > 0)
            return true;
    }
    return false;
}

} // namespace fw

// The forms of graphic tablature beyond the plain drawing: rows planned by the widths their
// measures need, string names and measure numbers at the start of a row, chord names above the
// staff, and the rhythm as stems, flags, beams, dots and rest signs below it.
#include "tab_drawing.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace fw {

void TabCanvas::SetSong(std::span<const TabItem> items) {
    song_ = items;
    labels_.clear();
    hasEndings_ = std::any_of(items.begin(), items.end(),
                              [](const TabItem& item) { return item.EndingNumber > 0; });
    hasTriplets_ = std::any_of(items.begin(), items.end(),
                               [](const TabItem& item) { return item.TripletPlace > 0; });
    if (!options_.forms.chordNames)
        return;
    labels_.reserve(items.size());
    ChordNameChanges changes;
    for (const TabItem& item : items)
        labels_.emplace_back(item.IsTerminator ? std::string_view() : changes.Label(item));
}

QString TabCanvas::ChordLabel(const TabItem& chord) const {
    if (labels_.empty() || song_.empty() || &chord < song_.data() ||
        &chord >= song_.data() + song_.size())
        return {};
    return QString::fromStdString(labels_[static_cast<std::size_t>(&chord - song_.data())]);
}

double TabCanvas::MinColumnWidth() const {
    return digitsWidth_ + geometry_.LineSpacing * 2 / 3;
}

RhythmSpacing TabCanvas::Spacing() const {
    RhythmSpacing spacing;
    spacing.minWidth = MinColumnWidth();
    spacing.leadIn = MinColumnWidth();
    return spacing;
}

double TabCanvas::NaturalWidth(std::span<const TabItem> measureChords) const {
    if (options_.Stems())
        return LayoutRhythm(measureChords, options_.meter, Spacing()).width;
    int columns = static_cast<int>(measureChords.size()) + 1;
    for (const TabItem& item : measureChords)
        columns += item.HasHammerOn() ? 1 : 0;
    // Numbers stand at the left of their columns: a column as wide as the narrowest one.
    return (columns + 1) * MinColumnWidth();
}

int TabCanvas::RoomAbove() const {
    // Ending brackets stand over everything else above the staff.
    const int endings =
        engraved_ && hasEndings_ ? smallHeight_ * 3 / 2 + geometry_.LineSpacing / 3 : 0;
    if (!options_.forms.chordNames && !ShowsMeasureNumbers(options_.forms.bars))
        return endings;
    return smallHeight_ + geometry_.LineSpacing / 3 + MarkRoom() + endings;
}

int TabCanvas::RowPitch() const {
    const TabGeometry& g = geometry_;
    int pitch = g.RowHeight();
    if (options_.Stems())
        pitch = std::max(pitch, g.StaffHeight + numberHeight_ + 16 * g.LineSpacing / 5);
    if (engraved_ && hasTriplets_) // the 3 under a triplet's beam
        pitch += smallHeight_;
    return pitch + RoomAbove();
}

namespace {

// The widest string name and a gap after it: the staves start that far right.
int StringGutter(const QFont& font, const QPaintDevice* device,
                 const std::array<std::string, 6>& names, int lineSpacing) {
    const QFontMetrics metrics(font, device);
    int widest = 0;
    for (int k = 1; k <= 5; ++k)
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(names[k])));
    return widest == 0 ? 0 : widest + lineSpacing / 2;
}

} // namespace

std::vector<PlacedRow> TabCanvas::PlanRows(std::span<const TabItem> items,
                                           std::span<const TabMeasure> measures) {
    const TabGeometry& g = geometry_;
    const int gutter = options_.forms.stringNames
                           ? StringGutter(engraved_ ? smallFont_ : letterFont_,
                                          metrics_ ? metrics_ : painter_.device(),
                                          StaffStringNames(options_.tuningCode), g.LineSpacing)
                           : 0;
    if (engraved_)
        return EngravedRows(items, measures, g.LeftMargin + gutter, g.UsableWidth - gutter);
    std::vector<PlacedRow> rows;
    if (!options_.Stems() && options_.forms.bars == TabBars::BlankLines) {
        // Two measures to a row, as the plain drawing has them; string names move them right.
        const int width = gutter == 0 ? g.MeasureWidth() : (g.UsableWidth - gutter) / 2;
        const auto left = [&](bool right) {
            return gutter == 0 ? g.MeasureLeft(right)
                               : g.LeftMargin + gutter + (right ? width - 1 : 0);
        };
        for (const TabRow& row : PairedRows(measures.size())) {
            PlacedRow placed;
            placed.measureNumber = row.measureNumber;
            for (std::size_t i = 0; i < row.count; ++i)
                placed.measures.push_back({row.first + i, left(i == 1), width, {}, {}});
            rows.push_back(std::move(placed));
        }
        return rows;
    }
    std::vector<double> widths;
    widths.reserve(measures.size());
    for (const TabMeasure& measure : measures)
        widths.push_back(NaturalWidth(MeasureChords(items, measure)));
    const double rowWidth = g.UsableWidth - gutter;
    const std::vector<TabRow> planned = RowsByFullness(widths, rowWidth);
    for (std::size_t r = 0; r < planned.size(); ++r) {
        const TabRow& row = planned[r];
        std::vector<double> drawn = JustifiedWidths(widths, row, rowWidth, r + 1 == planned.size());
        // A measure wider than the page is squeezed onto it rather than cut off at its edge.
        for (double& width : drawn)
            width = std::min(width, rowWidth);
        PlacedRow placed;
        placed.measureNumber = row.measureNumber;
        double x = g.LeftMargin + gutter;
        for (std::size_t i = 0; i < row.count; ++i) {
            const int left = static_cast<int>(std::lround(x));
            x += drawn[i];
            // Neighbours share their bar line.
            placed.measures.push_back(
                {row.first + i, left, static_cast<int>(std::lround(x)) - left + 1, {}, {}});
        }
        rows.push_back(std::move(placed));
    }
    return rows;
}

void TabCanvas::DrawRow(std::span<const TabItem> items, std::span<const TabMeasure> measures,
                        const PlacedRow& row, int y0) {
    if (row.measures.empty())
        return;
    const int s = geometry_.LineSpacing;
    const QFont savedFont = painter_.font();
    const int staffLeft = row.measures.front().x;
    nameFloor_ = 0;
    if (options_.forms.stringNames) {
        // Engraved, in the small font: its line box fits between two string lines.
        painter_.setFont(engraved_ ? smallFont_ : letterFont_);
        const QFontMetrics metrics = painter_.fontMetrics();
        const std::array<std::string, 6> names = StaffStringNames(options_.tuningCode);
        for (int k = 1; k <= 5; ++k) {
            const QString name = QString::fromStdString(names[k]);
            const int lineY = y0 + (k - 1) * s;
            // Right-aligned before the staff, centred on its line.
            const int x = staffLeft - s / 3 - metrics.horizontalAdvance(name);
            painter_.drawText(x, lineY - metrics.height() / 2 + metrics.ascent(), name);
        }
    }
    if (ShowsMeasureNumbers(options_.forms.bars)) {
        painter_.setFont(smallFont_);
        const QFontMetrics small = painter_.fontMetrics();
        const QString number = QString::number(row.measureNumber);
        const int gap = std::max(1, s / 15);
        const int baseline = y0 - numberHeight_ / 2 - 2 * gap - small.descent() - MarkRoom();
        painter_.drawText(staffLeft, baseline, number);
        nameFloor_ =
            staffLeft + small.horizontalAdvance(number) + small.horizontalAdvance(QLatin1Char(' '));
    }
    painter_.setFont(savedFont);
    for (const PlacedMeasure& placed : row.measures) {
        const std::span<const TabItem> chords = MeasureChords(items, measures[placed.measure]);
        if (engraved_)
            DrawEngravedMeasure(chords, placed, y0, placed.measure == 0,
                                placed.measure + 1 == measures.size());
        else
            DrawMeasure(chords, placed.width, y0, placed.x);
    }
}

void TabCanvas::DrawRhythm(const RhythmMeasure& layout, int y0, int x0) {
    const int s = geometry_.LineSpacing;
    const double top = y0 + geometry_.StaffHeight + numberHeight_ / 2.0 + s / 5.0;
    const double length = 2.5 * s;
    const double bottom = top + length;
    const double stemWidth = std::max(1.0, s / 16.0);
    const double beamWidth = std::max(3.0, s / 4.0);
    const double beamStep = beamWidth + std::max(2.0, s / 6.0);
    const double dotRadius = std::max(1.5, s / 9.0);
    const auto stemX = [&](const RhythmColumn& column) { return x0 + std::round(column.x); };

    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(Qt::black);
    for (const RhythmColumn& column : layout.columns) {
        const double x = stemX(column);
        if (column.rest) {
            DrawRest(column.value, static_cast<int>(x), static_cast<int>(top),
                     static_cast<int>(bottom));
            if (column.value.dotted)
                painter_.drawEllipse(QPointF(x + 0.6 * s, top + length * 0.45), dotRadius,
                                     dotRadius);
            continue;
        }
        if (column.stem) {
            // A half note's stem is half as long, so that it reads apart from a quarter's.
            const double end = column.value.value == NoteValue::Half ? top + length / 2 : bottom;
            painter_.drawRect(QRectF(std::round(x - stemWidth / 2), top, stemWidth, end - top));
        }
        for (int f = 0; f < column.flags; ++f) {
            // Flags of a stem that points down curl up and to the right from its end.
            const double y = bottom - f * beamStep;
            QPainterPath flag;
            flag.moveTo(x, y);
            flag.cubicTo(x + 0.2 * s, y - 0.3 * s, x + 0.8 * s, y - 0.5 * s, x + 0.7 * s,
                         y - 1.1 * s);
            flag.cubicTo(x + 0.7 * s, y - 0.7 * s, x + 0.2 * s, y - 0.5 * s, x, y - beamWidth);
            flag.closeSubpath();
            painter_.drawPath(flag);
        }
        if (column.value.dotted) {
            const double dx = column.flags > 0 ? 0.95 * s : 0.45 * s;
            painter_.drawEllipse(QPointF(x + dx, top + length * 0.45), dotRadius, dotRadius);
        }
    }
    for (const BeamGroup& group : layout.groups) {
        for (const BeamSegment& segment : group.segments) {
            const double y = bottom - beamWidth - (segment.level - 1) * beamStep;
            double from = std::round(stemX(layout.columns[segment.from]) - stemWidth / 2);
            double to = std::round(stemX(layout.columns[segment.to]) - stemWidth / 2) + stemWidth;
            if (segment.stub != 0) {
                const double stub = std::min(0.8 * s, MinColumnWidth() / 2);
                if (segment.stub > 0)
                    to = from + stub;
                else
                    from = to - stub;
            }
            painter_.drawRect(QRectF(from, y, to - from, beamWidth));
        }
    }
    painter_.restore();
}

void TabCanvas::DrawRest(const RhythmValue& value, int x, int top, int bottom) {
    const int s = geometry_.LineSpacing;
    const double middle = (top + bottom) / 2.0;
    const double u = s * 0.3;
    switch (value.value) {
    case NoteValue::Whole:
    case NoteValue::Half: {
        // A block hanging from a short line (whole) or sitting on one (half).
        const bool whole = value.value == NoteValue::Whole;
        const double line = whole ? middle - u : middle + u;
        const double block = whole ? line : line - 1.3 * u;
        painter_.drawRect(
            QRectF(x - 1.6 * u, line - std::max(0.5, s / 30.0), 3.2 * u, std::max(1.0, s / 15.0)));
        painter_.drawRect(QRectF(x - 1.1 * u, block, 2.2 * u, 1.3 * u));
        return;
    }
    case NoteValue::Quarter: {
        QPainterPath rest;
        rest.moveTo(x - 0.4 * u, middle - 3.2 * u);
        rest.lineTo(x + 0.9 * u, middle - 1.7 * u);
        rest.lineTo(x - 0.5 * u, middle - 0.2 * u);
        rest.lineTo(x + 0.8 * u, middle + 1.2 * u);
        rest.quadTo(x - 1.3 * u, middle + 0.6 * u, x - 0.1 * u, middle + 3.0 * u);
        QPen pen(Qt::black, std::max(1.5, 0.5 * u), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter_.strokePath(rest, pen);
        return;
    }
    default:
        break;
    }
    // Eighth and shorter: a slanting stroke with one hook per flag.
    const int hooks = std::max(1, value.BeamCount());
    const double step = 1.6 * u;
    const double upper = middle - 2.2 * u;
    const double lower = upper + hooks * step + 2.2 * u;
    const double slant = 0.35;
    QPen pen(Qt::black, std::max(1.2, 0.35 * u), Qt::SolidLine, Qt::RoundCap);
    const double topX = x + 0.6 * u + hooks * step * slant;
    painter_.strokePath(
        [&] {
            QPainterPath stroke;
            stroke.moveTo(topX, upper);
            stroke.lineTo(topX - (lower - upper) * slant, lower);
            for (int i = 0; i < hooks; ++i) {
                const double y = upper + i * step;
                const double sx = topX - i * step * slant;
                stroke.moveTo(sx, y);
                stroke.quadTo(sx - 0.8 * u, y + 0.9 * u, sx - 1.8 * u, y + 0.3 * u);
            }
            return stroke;
        }(),
        pen);
    for (int i = 0; i < hooks; ++i) {
        const double y = upper + i * step;
        const double sx = topX - i * step * slant;
        painter_.drawEllipse(QPointF(sx - 1.8 * u, y + 0.2 * u), 0.55 * u, 0.55 * u);
    }
}

} // namespace fw

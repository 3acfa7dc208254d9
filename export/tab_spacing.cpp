#include "tab_spacing.h"

#include "tab_meter.h"

#include <algorithm>
#include <cmath>

namespace fw {

namespace {

constexpr int EighthTicks = TabWholeTicks / 8;
// Rows are never spread wider than this many times the natural spacing to even them out.
constexpr double MaxStretch = 64;

// The least room after column i: its ink, a gap, and the next column's ink (or the bar line).
double Rod(const SpacedMeasure& measure, std::size_t i, const SpacingRules& rules) {
    const SpacedColumn& column = measure.columns[i];
    const double next = i + 1 < measure.columns.size() ? measure.columns[i + 1].left : 0;
    return column.targetStep + column.right + rules.gap + next;
}

double LeadIn(const SpacedMeasure& measure, const SpacingRules& rules) {
    const double ink = measure.columns.empty() ? 0 : measure.columns.front().left + rules.gap;
    return measure.opening + std::max(rules.leadIn, ink);
}

double RowWidth(std::span<const SpacedMeasure> measures, const SpacingRules& rules,
                double stretch) {
    double width = 0;
    for (const SpacedMeasure& measure : measures)
        width += MeasureWidth(measure, rules, stretch);
    return width;
}

// The stretch at which `measures` fill `width` (at least 1): rooms only grow with the stretch,
// so the row's width does too, and halving the interval finds it.
double StretchToFill(std::span<const SpacedMeasure> measures, const SpacingRules& rules,
                     double width) {
    double low = 0;
    double high = 2;
    for (int i = 0; i < 40 && RowWidth(measures, rules, high) < width; ++i)
        high *= 2;
    for (int i = 0; i < 60; ++i) {
        const double middle = (low + high) / 2;
        (RowWidth(measures, rules, middle) < width ? low : high) = middle;
    }
    return low;
}

} // namespace

double IdealRoom(int ticks, const SpacingRules& rules) {
    const int length = ticks > 0 ? ticks : TabWholeTicks / 4;
    return rules.eighth * std::pow(static_cast<double>(length) / EighthTicks, rules.exponent);
}

double MeasureWidth(const SpacedMeasure& measure, const SpacingRules& rules, double stretch) {
    double width = LeadIn(measure, rules) + measure.closing;
    for (std::size_t i = 0; i < measure.columns.size(); ++i)
        width +=
            std::max(stretch * IdealRoom(measure.columns[i].ticks, rules), Rod(measure, i, rules));
    return width;
}

LaidMeasure LayOutMeasure(const SpacedMeasure& measure, const SpacingRules& rules, double stretch) {
    LaidMeasure laid;
    double x = LeadIn(measure, rules);
    for (std::size_t i = 0; i < measure.columns.size(); ++i) {
        const SpacedColumn& column = measure.columns[i];
        laid.columnX.push_back(x);
        laid.targetX.push_back(column.targetStep > 0 ? x + column.targetStep : -1);
        x += std::max(stretch * IdealRoom(column.ticks, rules), Rod(measure, i, rules));
    }
    laid.width = x + measure.closing;
    return laid;
}

namespace {

// The measures each row takes, greedily, when every measure is as wide as at `stretch`.
std::vector<std::size_t> RowCounts(std::span<const SpacedMeasure> measures,
                                   const SpacingRules& rules, double rowWidth, double stretch) {
    std::vector<std::size_t> counts;
    double used = 0;
    for (const SpacedMeasure& measure : measures) {
        const double width = MeasureWidth(measure, rules, stretch);
        if (counts.empty() || used + width > rowWidth) {
            counts.push_back(0);
            used = 0;
        }
        ++counts.back();
        used += width;
    }
    return counts;
}

} // namespace

std::vector<LaidRow> LayOutRows(std::span<const SpacedMeasure> measures, const SpacingRules& rules,
                                double rowWidth) {
    // The fewest rows are those the natural widths fill greedily. Of the spacings that keep that
    // many rows, the widest is taken: rows are then about equally full, so that justifying them
    // stretches each by nearly the same factor and a song reads evenly from row to row (a first
    // row made short by the time signature does not leave the rows under it looser).
    // No row but the last may then hold fewer measures than the fullest fill put in every row.
    const auto leastFull = [](const std::vector<std::size_t>& counts) {
        return counts.size() < 2 ? 0 : *std::min_element(counts.begin(), counts.end() - 1);
    };
    const std::vector<std::size_t> greedy = RowCounts(measures, rules, rowWidth, 1);
    const std::size_t fewest = greedy.size();
    const std::size_t least = leastFull(greedy);
    const auto keepsRows = [&](double stretch) {
        const std::vector<std::size_t> counts = RowCounts(measures, rules, rowWidth, stretch);
        return counts.size() == fewest && leastFull(counts) >= least;
    };
    double low = 1;
    double high = 2;
    while (high < MaxStretch && keepsRows(high)) {
        low = high;
        high *= 2;
    }
    for (int i = 0; i < 30; ++i) {
        const double middle = (low + high) / 2;
        (keepsRows(middle) ? low : high) = middle;
    }
    const std::vector<std::size_t> counts = RowCounts(measures, rules, rowWidth, low);

    std::vector<LaidRow> rows;
    std::size_t first = 0;
    double stretches = 0; // of the justified rows, for the spacing of a short last row
    for (const std::size_t count : counts) {
        const std::span<const SpacedMeasure> own = measures.subspan(first, count);
        LaidRow row;
        bool justified = true;
        if (first + count == measures.size()) {
            // The last row keeps the spacing of the rows above it (its natural spacing when it
            // is the only row) unless that nearly fills it.
            const std::size_t above = rows.size();
            row.stretch = above == 0 ? 1 : stretches / static_cast<double>(above);
            justified = RowWidth(own, rules, row.stretch) >= rules.lastRowFill * rowWidth;
        }
        if (justified)
            row.stretch = StretchToFill(own, rules, rowWidth);
        stretches += row.stretch;
        double x = 0;
        for (std::size_t i = 0; i < count; ++i) {
            LaidMeasure laid = LayOutMeasure(own[i], rules, row.stretch);
            laid.measure = first + i;
            laid.x = x;
            x += laid.width;
            row.measures.push_back(std::move(laid));
        }
        // Justified rows end exactly at the row's end, whatever the last halving left over; a
        // measure wider than a row is squeezed onto it.
        const double scale = x > rowWidth || justified ? rowWidth / x : 1;
        if (scale != 1) {
            for (LaidMeasure& laid : row.measures) {
                laid.x *= scale;
                laid.width *= scale;
                for (double& at : laid.columnX)
                    at *= scale;
                for (double& at : laid.targetX)
                    at = at < 0 ? at : at * scale;
            }
            x = rowWidth;
        }
        row.width = x;
        rows.push_back(std::move(row));
        first += count;
    }
    return rows;
}

} // namespace fw

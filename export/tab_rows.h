#pragma once
// Rows of tablature: which measures stand side by side. Measures cut at blank lines go two to a
// row; measures cut by the meter fill each row as far as their widths allow, and every row is
// headed by the number of its first measure. Pure C++, in any unit of width: characters for the
// ASCII text, pixels for the drawing.

#include "tab_options.h"

#include <cstddef>
#include <span>
#include <vector>

namespace fw {

struct TabRow {
    std::size_t first = 0; // index of the row's first measure among the measures shown
    std::size_t count = 0; // measures in the row, at least 1
    int measureNumber = 1; // the number of its first measure: first + 1
};

// Two measures to a row, the last row holding one when their number is odd.
std::vector<TabRow> PairedRows(std::size_t measureCount);

// As many measures to a row as fit in `rowWidth` given their natural `widths`, in order; a
// measure wider than a row stands alone in its row.
std::vector<TabRow> RowsByFullness(std::span<const double> widths, double rowWidth);

// The rows for measures cut by `bars`: PairedRows for blank lines, RowsByFullness for the meter.
std::vector<TabRow> TabRows(std::span<const double> widths, double rowWidth, TabBars bars);

// Whether rows are headed by measure numbers: when the measures come from the meter.
inline bool ShowsMeasureNumbers(TabBars bars) {
    return bars == TabBars::Meter;
}

// The widths the measures of `row` are drawn at: their natural widths stretched in proportion
// so that the row fills `rowWidth`. The last row of a song is stretched only when it is at least
// `lastRowFill` full already (a short last row keeps its natural widths); a row wider than
// `rowWidth` (one measure too wide) keeps its natural width.
std::vector<double> JustifiedWidths(std::span<const double> widths, const TabRow& row,
                                    double rowWidth, bool lastRow, double lastRowFill = 0.75);

} // namespace fw

#include "tab_rows.h"

#include <algorithm>

namespace fw {

std::vector<TabRow> PairedRows(std::size_t measureCount) {
    std::vector<TabRow> rows;
    for (std::size_t first = 0; first < measureCount; first += 2)
        rows.push_back(
            {first, std::min<std::size_t>(2, measureCount - first), static_cast<int>(first) + 1});
    return rows;
}

std::vector<TabRow> RowsByFullness(std::span<const double> widths, double rowWidth) {
    std::vector<TabRow> rows;
    double used = 0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        if (rows.empty() || used + widths[i] > rowWidth) {
            rows.push_back({i, 0, static_cast<int>(i) + 1});
            used = 0;
        }
        ++rows.back().count;
        used += widths[i];
    }
    return rows;
}

std::vector<TabRow> TabRows(std::span<const double> widths, double rowWidth, TabBars bars) {
    return bars == TabBars::Meter ? RowsByFullness(widths, rowWidth) : PairedRows(widths.size());
}

std::vector<double> JustifiedWidths(std::span<const double> widths, const TabRow& row,
                                    double rowWidth, bool lastRow, double lastRowFill) {
    const std::span<const double> own = widths.subspan(row.first, row.count);
    std::vector<double> result(own.begin(), own.end());
    double natural = 0;
    for (double w : own)
        natural += w;
    if (natural <= 0 || natural >= rowWidth || (lastRow && natural < lastRowFill * rowWidth))
        return result;
    const double scale = rowWidth / natural;
    for (double& w : result)
        w *= scale;
    return result;
}

} // namespace fw

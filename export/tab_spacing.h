#pragma once
// Spacing of tablature as engravers set it: every note column is followed by room that grows
// with its duration on a flattened scale (a half note about 1.6 times an eighth, not 4 times),
// never less than the ink of the neighbours needs; rows hold as many whole measures as fit and,
// but for the last, are justified by stretching every duration's room by one factor, so equal
// durations stand equally far apart across a row. Pure C++ in any unit of width; the drawing
// measures the ink and paints what this places, and a tab-staff editor can place the same way.

#include <cstddef>
#include <span>
#include <vector>

namespace fw {

// One note column as the spacing sees it: its duration and how far its ink reaches.
struct SpacedColumn {
    int ticks = 0;         // its duration (TabWholeTicks to a whole note); 0 reads as a quarter
    double left = 0;       // ink left of the column's x
    double right = 0;      // ink right of the column's x (or of its targets' x)
    double targetStep = 0; // hammer-on targets stand this far right of x; 0 when it has none
};

// One measure: its columns and the signs at its bar lines.
struct SpacedMeasure {
    std::vector<SpacedColumn> columns;
    double opening = 0; // signs after the opening bar line: a time signature, a repeat's dots
    double closing = 0; // signs before the closing bar line: a repeat's dots
};

struct SpacingRules {
    double eighth = 1;         // the room after an eighth note at the natural spacing
    double exponent = 0.34;    // room grows as (duration / eighth) to this power
    double gap = 0.2;          // least white between the ink of two neighbours
    double leadIn = 0.5;       // least room from the opening bar line's signs to the first x
    double lastRowFill = 0.85; // a last row at least this full is justified too
};

// The room after a column of `ticks` at the natural spacing.
double IdealRoom(int ticks, const SpacingRules& rules);

// Where one measure's columns stand, from the measure's left bar line.
struct LaidMeasure {
    std::size_t measure = 0; // index into the measures laid out
    double x = 0;            // its left bar line, from the row's left
    double width = 0;        // to its right bar line
    std::vector<double> columnX;
    std::vector<double> targetX; // -1 for a column without targets
};

struct LaidRow {
    std::vector<LaidMeasure> measures;
    double stretch = 1; // the factor every duration's room was multiplied by
    double width = 0;   // the row's drawn width: the full width, or less for a short last row
};

// The width of a measure when every duration's room is multiplied by `stretch` (rooms never
// shrink below what the ink needs).
double MeasureWidth(const SpacedMeasure& measure, const SpacingRules& rules, double stretch = 1);

// Places one measure at `stretch`.
LaidMeasure LayOutMeasure(const SpacedMeasure& measure, const SpacingRules& rules, double stretch);

// Lays `measures` out in rows `rowWidth` wide: each row takes as many whole measures as fit at
// their natural widths (a measure wider than a row stands alone and is squeezed to fit). Every
// row but the last is justified to `rowWidth` by the one stretch that fills it; the last keeps
// its natural spacing unless it is at least `lastRowFill` full. Measures keep their order.
std::vector<LaidRow> LayOutRows(std::span<const SpacedMeasure> measures, const SpacingRules& rules,
                                double rowWidth);

} // namespace fw

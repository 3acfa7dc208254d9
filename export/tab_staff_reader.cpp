// Reading a staff in this program's own layout cell by cell, and the nearest duration.

#include "tab_staff.h"

#include <algorithm>
#include <cmath>

namespace fw::tabstaff {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Durations of a measure from the spacing of its columns: each chord lasts until the next, the
// last until the closing bar (or, when the closing dashes are fewer, as long as the chord before
// it), and the measure is a whole note.
void DurationsFromSpacing(ReadMeasure& measure, std::size_t measureEnd) {
    std::vector<double> gaps;
    for (std::size_t i = 0; i + 1 < measure.size(); ++i)
        gaps.push_back(static_cast<double>(measure[i + 1].column - measure[i].column));
    const std::size_t lastColumn = measure.back().column;
    double last = measureEnd > lastColumn ? static_cast<double>(measureEnd - lastColumn) : 1.0;
    if (!gaps.empty())
        last = std::max(last, gaps.back());
    gaps.push_back(last);
    double total = 0;
    for (const double gap : gaps)
        total += gap;
    for (std::size_t i = 0; i < measure.size(); ++i)
        measure[i].duration = NearestDuration(gaps[i] / total);
}

std::size_t ChordCount(const std::vector<ReadMeasure>& measures) {
    std::size_t count = 0;
    for (const ReadMeasure& measure : measures)
        count += measure.size();
    return count;
}

// --- This program's own layout ----------------------------------------------------------------

// The room a measure's cells and padding share, and the padding rule of the tablature writer.
constexpr int MeasureRoom = 38;
constexpr int MaxMeasureColumns = 24;

// The highest fret a cell of string `k` may hold: the 5th string's frets can be written as on
// the neck, five higher.
int HighestFret(int k) {
    return k == 5 ? MaxFret + FifthStringNeckOffset : MaxFret;
}

// The mark in front of a hammer-on target: "/" or, written with letters, "h" or "p".
bool IsTargetMark(char c) {
    return c == '/' || c == 'h' || c == 'p';
}

// A fret cell: "--" (not played), "-7", "12".
std::optional<int> FretCell(std::string_view cell, int highest = MaxFret) {
    if (cell == "--")
        return NoFret;
    if (cell[0] == '-' && IsDigit(cell[1]))
        return cell[1] - '0';
    if (cell[0] >= '1' && cell[0] <= '9' && IsDigit(cell[1])) {
        const int fret = (cell[0] - '0') * 10 + (cell[1] - '0');
        if (fret <= highest)
            return fret;
    }
    return std::nullopt;
}

// A hammer-on target cell: "---" (none), "/4-", "/12", or with letters "h4-", "p2-", "h12".
std::optional<int> TargetCell(std::string_view cell, int highest) {
    if (cell == "---")
        return NoFret;
    if (!IsTargetMark(cell[0]))
        return std::nullopt;
    if (IsDigit(cell[1]) && cell[2] == '-')
        return cell[1] - '0';
    const std::optional<int> fret = FretCell(cell.substr(1, 2), highest);
    if (fret && *fret >= 10)
        return fret;
    return std::nullopt;
}

using Rows = std::array<std::string_view, 5>;

bool AllDashes(const Rows& rows, std::size_t from, std::size_t to) {
    for (const std::string_view row : rows)
        for (std::size_t i = from; i < to; ++i)
            if (row[i] != '-')
                return false;
    return true;
}

// The cells of a measure's inside laid out with `pad` dashes around every cell.
std::optional<ReadMeasure> CellsWithPad(const Rows& rows, std::size_t pad, std::size_t offset) {
    const std::size_t width = rows[0].size();
    if (pad > width || !AllDashes(rows, 0, pad))
        return std::nullopt;
    ReadMeasure cells;
    int hammerOns = 0;
    std::size_t pos = pad;
    while (pos < width) {
        if (pos + 2 > width)
            return std::nullopt;
        ReadChord chord;
        chord.column = offset + pos + 1;
        bool hammered = false;
        for (int k = 1; k <= 5; ++k) {
            const std::optional<int> fret = FretCell(rows[k - 1].substr(pos, 2), HighestFret(k));
            if (!fret)
                return std::nullopt;
            chord.fret[k] = *fret;
            hammered = hammered || (pos + 2 < width && IsTargetMark(rows[k - 1][pos + 2]));
        }
        pos += 2;
        if (hammered) {
            if (pos + 3 > width)
                return std::nullopt;
            for (int k = 1; k <= 5; ++k) {
                const std::optional<int> target =
                    TargetCell(rows[k - 1].substr(pos, 3), HighestFret(k));
                if (!target || (*target != NoFret && chord.fret[k] == NoFret))
                    return std::nullopt;
                chord.hammer[k] = *target;
                hammerOns += *target != NoFret ? 1 : 0;
            }
            pos += 3;
        }
        if (pos + pad > width || !AllDashes(rows, pos, pos + pad))
            return std::nullopt;
        pos += pad;
        cells.push_back(chord);
    }
    const int columns = std::min(MaxMeasureColumns, static_cast<int>(cells.size()) + 1 + hammerOns);
    if (cells.empty() || static_cast<std::size_t>((MeasureRoom - columns) / (columns + 1)) != pad)
        return std::nullopt;
    return cells;
}

// Every way the inside of a measure reads as cells.
std::vector<ReadMeasure> OwnLayoutMeasures(const Rows& rows, std::size_t offset) {
    std::vector<ReadMeasure> readings;
    // The writer pads with at most (MeasureRoom - 2) div 3 dashes (a measure of one chord).
    constexpr std::size_t MaxPad = (MeasureRoom - 2) / 3;
    for (std::size_t pad = 0; pad <= std::min(MaxPad, rows[0].size()); ++pad)
        if (std::optional<ReadMeasure> cells = CellsWithPad(rows, pad, offset))
            readings.push_back(std::move(*cells));
    return readings;
}

// The reading whose cells stand exactly over `marks`, with the marks' texts as durations.
std::optional<ReadMeasure> ReadingUnder(std::vector<ReadMeasure> readings,
                                        const std::vector<DurationMark>& marks) {
    for (ReadMeasure& cells : readings) {
        const bool fits = cells.size() == marks.size() &&
                          std::equal(cells.begin(), cells.end(), marks.begin(),
                                     [](const ReadChord& c, const DurationMark& m) {
                                         return c.column == m.column;
                                     });
        if (!fits)
            continue;
        for (std::size_t i = 0; i < cells.size(); ++i)
            cells[i].duration = marks[i].text;
        return std::move(cells);
    }
    return std::nullopt;
}

} // namespace

std::string NearestDuration(double fraction) {
    struct Value {
        const char* text;
        double length;
    };
    static constexpr std::array<Value, 14> Values = {{
        {"W", 1.0},
        {".W", 1.5},
        {"H", 0.5},
        {".H", 0.75},
        {"Q", 0.25},
        {".Q", 0.375},
        {"E", 0.125},
        {".E", 0.1875},
        {"S", 0.0625},
        {".S", 0.09375},
        {"T", 0.03125},
        {".T", 0.046875},
        {"F", 0.015625},
        {".F", 0.0234375},
    }};
    constexpr double Tie = 1e-9;
    const Value* best = &Values[0];
    for (const Value& value : Values) {
        const double distance = std::abs(fraction - value.length);
        const double bestDistance = std::abs(fraction - best->length);
        const bool plain = value.text[0] != '.';
        if (distance < bestDistance - Tie ||
            (std::abs(distance - bestDistance) <= Tie && plain && best->text[0] == '.'))
            best = &value;
    }
    return best->text;
}

std::optional<StaffReading> ReadOwnLayoutStaff(const std::array<StaffLine, 5>& lines,
                                               const std::vector<DurationMark>* durations) {
    const StaffLine& top = lines[0];
    for (const StaffLine& line : lines) {
        // String names, padded to one width, stand before the opening bars.
        if (line.label.empty() != top.label.empty() || !line.remark.empty() ||
            line.begin != top.begin || line.end != top.end || line.end - line.begin < 2 ||
            line.text[line.begin] != '|' || line.text[line.end - 1] != '|')
            return std::nullopt;
    }
    std::vector<std::size_t> bars;
    for (std::size_t i = top.begin; i < top.end; ++i)
        if (top.text[i] == '|')
            bars.push_back(i);
    for (const StaffLine& line : lines)
        for (std::size_t i = top.begin; i < top.end; ++i)
            if ((line.text[i] == '|') != std::binary_search(bars.begin(), bars.end(), i))
                return std::nullopt;

    StaffReading reading;
    reading.durationLineUsed = durations != nullptr;
    for (std::size_t b = 0; b + 1 < bars.size(); ++b) {
        Rows rows;
        for (std::size_t k = 0; k < 5; ++k)
            rows[k] =
                std::string_view(lines[k].text).substr(bars[b] + 1, bars[b + 1] - bars[b] - 1);
        // Repeat bars: "|:" opens a repeat, ":|" closes one, in all five lines.
        std::size_t offset = bars[b] + 1;
        const auto allHave = [&](bool front) {
            return std::all_of(rows.begin(), rows.end(), [&](std::string_view row) {
                return !row.empty() && (front ? row.front() : row.back()) == ':';
            });
        };
        if (allHave(true)) {
            for (std::string_view& row : rows)
                row.remove_prefix(1);
            ++offset;
            reading.repeats.push_back({bars[b], "|:", true});
        }
        if (allHave(false)) {
            for (std::string_view& row : rows)
                row.remove_suffix(1);
            reading.repeats.push_back({bars[b + 1], ":|", false});
        }
        std::vector<ReadMeasure> readings = OwnLayoutMeasures(rows, offset);
        if (readings.empty())
            return std::nullopt;
        if (durations) {
            std::vector<DurationMark> under;
            for (const DurationMark& mark : *durations)
                if (mark.column > bars[b] && mark.column < bars[b + 1])
                    under.push_back(mark);
            std::optional<ReadMeasure> cells = ReadingUnder(std::move(readings), under);
            if (!cells)
                return std::nullopt;
            reading.measures.push_back(std::move(*cells));
            continue;
        }
        // Without the duration line a rest leaves no mark of its own: the reading with the
        // fewest cells makes up none.
        ReadMeasure measure;
        for (const ReadChord& chord : *std::min_element(
                 readings.begin(), readings.end(),
                 [](const ReadMeasure&a, const ReadMeasure&b) { return a.size() < b.size(); }))
            if (!chord.IsRest())
                measure.push_back(chord);
        if (measure.empty())
            continue;
        DurationsFromSpacing(measure, bars[b + 1]);
        reading.measures.push_back(std::move(measure));
    }
    if (durations && ChordCount(reading.measures) != durations->size())
        return std::nullopt;
    return reading;
}

} // namespace fw::tabstaff

// Reading a staff of ASCII tablature into measures of note columns: any staff by its notes,
// marks and bars, and this program's own layout cell by cell.

#include "tab_staff.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace fw::tabstaff {

namespace {

// A staff without bar lines is cut into measures of this many chords (a 4/4 measure of
// eighths), so that tablature of the imported song shows every chord.
constexpr std::size_t ChordsPerUnbarredMeasure = 8;
constexpr char UnbarredDuration = 'E'; // an eighth

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The marks that join a fret to the next: hammer-on, pull-off and slides.
bool IsLink(char c) {
    return std::string_view("hHpPsS/\\").find(c) != std::string_view::npos;
}

// The marks the program cannot play: bends, releases, vibrato and muted notes.
bool IsDroppedMark(char c) {
    return std::string_view("bBrR~xX").find(c) != std::string_view::npos;
}

// A fret at `pos`: two digits when they make a fret of 10 to MaxFret, else one digit.
int ReadFret(const std::string& s, std::size_t& pos, std::size_t end) {
    const int first = s[pos] - '0';
    if (first != 0 && pos + 1 < end && IsDigit(s[pos + 1])) {
        const int two = first * 10 + (s[pos + 1] - '0');
        if (two <= MaxFret) {
            pos += 2;
            return two;
        }
    }
    pos += 1;
    return first;
}

struct Note {
    int string = 0;
    int fret = NoFret;
    int target = NoFret;
    std::size_t start = 0; // first column of the fret
    std::size_t end = 0;   // last column of the fret
};

// The notes and bars of one staff line; counts the marks left out.
void ScanLine(const StaffLine& line, std::size_t begin, int string, std::vector<Note>& notes,
              std::vector<std::size_t>& bars, int& dropped) {
    const std::string& s = line.text;
    std::size_t pos = begin;
    while (pos < line.end) {
        const char c = s[pos];
        if (IsDigit(c)) {
            Note note;
            note.string = string;
            note.start = pos;
            note.fret = ReadFret(s, pos, line.end);
            note.end = pos - 1;
            // A second link after a target ("2h4p2") starts no hammer-on: its fret is a note.
            if (pos + 1 < line.end && IsLink(s[pos]) && IsDigit(s[pos + 1])) {
                ++pos;
                note.target = ReadFret(s, pos, line.end);
            }
            notes.push_back(note);
            continue;
        }
        if (c == '|') {
            bars.push_back(pos);
        } else if (IsDroppedMark(c)) {
            ++dropped;
            // A bend's or release's fret ("7b9r7") is not a note; a run of "~~~" is one mark.
            while (pos + 1 < line.end && (IsDigit(s[pos + 1]) || (c == '~' && s[pos + 1] == c)))
                ++pos;
        }
        ++pos;
    }
}

// String numbers of the five lines, top to bottom.
std::array<int, 5> StringOrder(const std::array<StaffLine, 5>& lines, bool& digitLabels) {
    std::array<int, 5> order{1, 2, 3, 4, 5};
    digitLabels =
        std::all_of(lines.begin(), lines.end(), [](const StaffLine& l) { return l.digitLabel; });
    if (digitLabels) {
        for (std::size_t i = 0; i < 5; ++i)
            order[i] = lines[i].label[0] - '0';
        std::array<int, 5> sorted = order;
        std::sort(sorted.begin(), sorted.end());
        if (sorted == std::array<int, 5>{1, 2, 3, 4, 5})
            return order;
        digitLabels = false;
        return {1, 2, 3, 4, 5};
    }
    // The fifth string written on top: g D G B D from the top down.
    static constexpr std::array<char, 5> Upside = {'G', 'D', 'G', 'B', 'D'};
    bool upside = true;
    for (std::size_t i = 0; i < 5; ++i)
        upside = upside && lines[i].label.size() == 1 && (lines[i].label[0] & ~0x20) == Upside[i];
    if (upside)
        order = {5, 4, 3, 2, 1};
    return order;
}

// Notes struck together: frets whose columns overlap, one per string.
std::vector<ReadChord> GroupChords(std::vector<Note> notes) {
    std::stable_sort(notes.begin(), notes.end(),
                     [](const Note& a, const Note& b) { return a.start < b.start; });
    std::vector<ReadChord> chords;
    std::size_t reach = 0;
    for (const Note& note : notes) {
        const bool joins =
            !chords.empty() && note.start <= reach && chords.back().fret[note.string] == NoFret;
        if (!joins) {
            chords.emplace_back();
            chords.back().column = note.start;
            reach = note.end;
        }
        chords.back().fret[note.string] = note.fret;
        chords.back().hammer[note.string] = note.target;
        reach = std::max(reach, note.end);
    }
    return chords;
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

void AssignInOrder(std::vector<ReadMeasure>& measures, const std::vector<DurationMark>& marks) {
    std::size_t next = 0;
    for (ReadMeasure& measure : measures)
        for (ReadChord& chord : measure)
            chord.duration = marks[next++].text;
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

// A fret cell: "--" (not played), "-7", "12".
std::optional<int> FretCell(std::string_view cell) {
    if (cell == "--")
        return NoFret;
    if (cell[0] == '-' && IsDigit(cell[1]))
        return cell[1] - '0';
    if (cell[0] >= '1' && cell[0] <= '9' && IsDigit(cell[1])) {
        const int fret = (cell[0] - '0') * 10 + (cell[1] - '0');
        if (fret <= MaxFret)
            return fret;
    }
    return std::nullopt;
}

// A hammer-on target cell: "---" (none), "/4-", "/12".
std::optional<int> TargetCell(std::string_view cell) {
    if (cell == "---")
        return NoFret;
    if (cell[0] != '/')
        return std::nullopt;
    if (IsDigit(cell[1]) && cell[2] == '-')
        return cell[1] - '0';
    const std::optional<int> fret = FretCell(cell.substr(1, 2));
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
            const std::optional<int> fret = FretCell(rows[k - 1].substr(pos, 2));
            if (!fret)
                return std::nullopt;
            chord.fret[k] = *fret;
            hammered = hammered || (pos + 2 < width && rows[k - 1][pos + 2] == '/');
        }
        pos += 2;
        if (hammered) {
            if (pos + 3 > width)
                return std::nullopt;
            for (int k = 1; k <= 5; ++k) {
                const std::optional<int> target = TargetCell(rows[k - 1].substr(pos, 3));
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
        if (!line.label.empty() || !line.remark.empty() || line.begin != top.begin ||
            line.end != top.end || line.end - line.begin < 2 || line.text[line.begin] != '|' ||
            line.text[line.end - 1] != '|')
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
        std::vector<ReadMeasure> readings = OwnLayoutMeasures(rows, bars[b] + 1);
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

StaffReading ReadStaff(const std::array<StaffLine, 5>& lines,
                       const std::vector<DurationMark>* durations) {
    StaffReading reading;
    bool digitLabels = false;
    const std::array<int, 5> order = StringOrder(lines, digitLabels);

    std::vector<Note> notes;
    std::map<std::size_t, int> barVotes;
    std::size_t lineEnd = 0;
    for (std::size_t i = 0; i < 5; ++i) {
        const StaffLine& line = lines[i];
        // A string number that is not a label is a fret.
        const std::size_t begin =
            line.digitLabel && !digitLabels ? line.begin - line.label.size() : line.begin;
        std::vector<std::size_t> bars;
        ScanLine(line, begin, order[i], notes, bars, reading.droppedMarks);
        for (const std::size_t bar : bars)
            ++barVotes[bar];
        lineEnd = std::max(lineEnd, line.end);
    }
    // A bar line is a column most of the strings draw a bar in.
    std::vector<std::size_t> bars;
    for (const auto& [column, votes] : barVotes)
        if (votes >= 3)
            bars.push_back(column);

    std::vector<ReadChord> chords = GroupChords(std::move(notes));
    if (chords.empty())
        return reading;

    const bool useDurations = durations && durations->size() == chords.size();
    if (bars.size() < 2) {
        for (std::size_t i = 0; i < chords.size(); ++i) {
            if (i % ChordsPerUnbarredMeasure == 0)
                reading.measures.emplace_back();
            chords[i].duration.assign(1, UnbarredDuration);
            reading.measures.back().push_back(chords[i]);
        }
    } else {
        std::size_t currentSegment = bars.size() + 1;
        for (const ReadChord& chord : chords) {
            const auto segment = static_cast<std::size_t>(
                std::upper_bound(bars.begin(), bars.end(), chord.column) - bars.begin());
            if (segment != currentSegment)
                reading.measures.emplace_back();
            currentSegment = segment;
            reading.measures.back().push_back(chord);
        }
        for (ReadMeasure& measure : reading.measures) {
            const auto segment = static_cast<std::size_t>(
                std::upper_bound(bars.begin(), bars.end(), measure.front().column) - bars.begin());
            DurationsFromSpacing(measure, segment < bars.size() ? bars[segment] : lineEnd);
        }
    }
    if (useDurations) {
        AssignInOrder(reading.measures, *durations);
        reading.durationLineUsed = true;
    }
    return reading;
}

} // namespace fw::tabstaff

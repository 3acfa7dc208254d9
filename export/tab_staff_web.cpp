// Reading any staff of ASCII tablature as people write it: its notes, marks and bars, then its
// rhythm from the spacing within the meter.

#include "tab_rhythm.h"
#include "tab_staff.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace fw::tabstaff {

namespace {

constexpr int EighthLength = 8;    // in sixty-fourths
constexpr std::size_t FewGaps = 4; // fewer gaps than this: the tab's common gap is the eighth
constexpr std::size_t DefaultGap = 2;
constexpr int SnapLength = 8; // a pickup or an ending read by its width: whole eighths

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHammerLink(char c) {
    return c == 'h' || c == 'H' || c == 'p' || c == 'P';
}

bool IsSlideLink(char c) {
    return c == '/' || c == '\\' || c == 's' || c == 'S';
}

bool IsLink(char c) {
    return IsHammerLink(c) || IsSlideLink(c);
}

// A fret at `pos`: two digits when they make a fret of 10 to `highest`, else one digit.
int ReadFret(const std::string& s, std::size_t& pos, std::size_t end, int highest) {
    const int first = s[pos] - '0';
    if (first != 0 && pos + 1 < end && IsDigit(s[pos + 1])) {
        const int two = first * 10 + (s[pos + 1] - '0');
        if (two <= highest) {
            pos += 2;
            return two;
        }
    }
    pos += 1;
    return first;
}

void SkipDigits(const std::string& s, std::size_t& pos, std::size_t end) {
    while (pos < end && IsDigit(s[pos]))
        ++pos;
}

struct Note {
    int string = 0;
    int fret = NoFret;
    int target = NoFret;
    std::size_t start = 0; // first column of the fret
    std::size_t end = 0;   // last column of the fret
};

// A repeat count right after a bar: "x2", "X3" followed by the end, a space or a bar.
bool IsRepeatCount(const StaffLine& line, std::size_t pos) {
    const std::string& s = line.text;
    if (pos == 0 || (s[pos] != 'x' && s[pos] != 'X'))
        return false;
    const bool afterBar = s[pos - 1] == '|' || (s[pos - 1] == ':' && pos >= 2 && s[pos - 2] == '|');
    std::size_t q = pos + 1;
    SkipDigits(s, q, line.end);
    return afterBar && q > pos + 1 && (q >= line.end || s[q] == ' ' || s[q] == '|');
}

struct LineScan {
    std::vector<std::size_t> bars;
    std::vector<RepeatMark> repeats;
};

// The notes, bars and repeat marks of one staff line; counts the marks it cannot take over.
LineScan ScanLine(const StaffLine& line, std::size_t begin, int string, std::vector<Note>& notes,
                  TabMarkCounts& marks) {
    LineScan scan;
    const std::string& s = line.text;
    const int highest = string == 5 ? MaxFret + FifthStringNeckOffset : MaxFret;
    std::size_t pos = begin;
    while (pos < line.end) {
        const char c = s[pos];
        if (IsDigit(c)) {
            Note note;
            note.string = string;
            note.start = pos;
            note.fret = ReadFret(s, pos, line.end, highest);
            note.end = pos - 1;
            bool linked = false;
            while (pos + 1 < line.end && IsLink(s[pos]) && IsDigit(s[pos + 1])) {
                const char link = s[pos];
                ++pos;
                const int fret = ReadFret(s, pos, line.end, highest);
                if (linked) {
                    // One pick sounds one hammer-on or pull-off here; the rest of a chain goes.
                    ++marks.chainedLinks;
                    continue;
                }
                linked = true;
                note.target = fret;
                if (IsSlideLink(link))
                    ++marks.slides;
            }
            notes.push_back(note);
            continue;
        }
        if (c == '|') {
            scan.bars.push_back(pos);
            if (pos + 1 < line.end && s[pos + 1] == ':')
                scan.repeats.push_back({pos, "|:", true});
            if (pos > begin && s[pos - 1] == ':')
                scan.repeats.push_back({pos, ":|", false});
        } else if (IsRepeatCount(line, pos)) {
            const std::size_t from = pos;
            ++pos;
            SkipDigits(s, pos, line.end);
            const std::size_t bar = s[from - 1] == '|' ? from - 1 : from - 2;
            scan.repeats.push_back({bar, s.substr(from, pos - from), false});
            continue;
        } else if (IsSlideLink(c) && pos + 1 < line.end && IsDigit(s[pos + 1])) {
            ++marks.slidesIntoNotes; // a slide into a note from no fret: the note is played
        } else if ((c == 'c' || c == 'C') && pos + 1 < line.end && (s[pos + 1] | 0x20) == 'h') {
            ++marks.chokes;
            pos += 2;
            SkipDigits(s, pos, line.end); // the choke's pitch is no note
            continue;
        } else if (c == 'b' || c == 'B' || c == 'r' || c == 'R') {
            ++(c == 'b' || c == 'B' ? marks.bends : marks.releases);
            ++pos;
            SkipDigits(s, pos, line.end); // a bend's or release's fret ("7b9r7") is no note
            continue;
        } else if (c == '~') {
            ++marks.vibrato;
            while (pos + 1 < line.end && s[pos + 1] == '~')
                ++pos;
        } else if (c == 'x' || c == 'X') {
            ++marks.mutedNotes;
        }
        ++pos;
    }
    return scan;
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
    // Note names that only make a tuning with the fifth string on top: g D G B D from the top.
    std::array<std::string, 5> labels;
    for (std::size_t i = 0; i < 5; ++i)
        labels[i] = lines[i].digitLabel ? std::string() : lines[i].label;
    bool fifthOnTop = false;
    if (TuningCodeOfLabels(labels, fifthOnTop) && fifthOnTop)
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

// The segment (0 before the first bar) a column lies in.
std::size_t SegmentOf(const std::vector<std::size_t>& bars, std::size_t column) {
    return static_cast<std::size_t>(std::upper_bound(bars.begin(), bars.end(), column) -
                                    bars.begin());
}

// Gaps of a run of chords: each to the next, the last to `end`, but at least an eighth (or the
// gap before it, when shorter): "-0|" ends on an eighth, not a sixteenth.
std::vector<std::size_t> RunGaps(const std::vector<ReadChord>& run, std::size_t end,
                                 std::size_t eighth) {
    std::vector<std::size_t> gaps;
    for (std::size_t i = 0; i + 1 < run.size(); ++i)
        gaps.push_back(run[i + 1].column - run[i].column);
    std::size_t last = end > run.back().column ? end - run.back().column : 1;
    last = std::max(last, gaps.empty() ? eighth : std::min(eighth, gaps.back()));
    gaps.push_back(last);
    return gaps;
}

// Durations of chords timed by the common gap as an eighth, grouped into measures of the
// meter; a measure the lengths overfill is filled by FillMeasure.
void GroupByMeter(std::vector<ReadChord> run, const std::vector<std::size_t>& gaps,
                  std::size_t unit, int measure64, bool compound, StaffReading& reading) {
    std::vector<int> lengths;
    for (const std::size_t gap : gaps)
        lengths.push_back(
            NearestLength(static_cast<double>(gap) / static_cast<double>(unit) * EighthLength));
    std::size_t first = 0;
    int used = 0;
    for (std::size_t i = 0; i < run.size(); ++i) {
        used += lengths[i];
        if (used < measure64 && i + 1 < run.size())
            continue;
        ReadMeasure measure(run.begin() + static_cast<std::ptrdiff_t>(first),
                            run.begin() + static_cast<std::ptrdiff_t>(i + 1));
        if (used > measure64) {
            const std::vector<double> spaces(gaps.begin() + static_cast<std::ptrdiff_t>(first),
                                             gaps.begin() + static_cast<std::ptrdiff_t>(i + 1));
            const FilledMeasure filled = FillMeasure(spaces, measure64, compound);
            for (std::size_t k = 0; k < measure.size(); ++k)
                measure[k].duration = filled.durations[k];
            ++reading.filledMeasures;
            reading.guessed.push_back(reading.measures.size());
        } else {
            for (std::size_t k = 0; k < measure.size(); ++k)
                measure[k].duration = *DurationOfLength(lengths[first + k]);
        }
        reading.measures.push_back(std::move(measure));
        first = i + 1;
        used = 0;
    }
}

void FillOne(std::vector<ReadChord> run, const std::vector<std::size_t>& gaps, int measure64,
             bool compound, StaffReading& reading) {
    const FilledMeasure filled =
        FillMeasure(std::vector<double>(gaps.begin(), gaps.end()), measure64, compound);
    for (std::size_t k = 0; k < run.size(); ++k)
        run[k].duration = filled.durations[k];
    if (filled.fill != Fill::Spacing) {
        ++reading.filledMeasures;
        reading.guessed.push_back(reading.measures.size());
    }
    reading.measures.push_back(std::move(run));
}

std::size_t Total(const std::vector<std::size_t>& gaps) {
    std::size_t total = 0;
    for (const std::size_t gap : gaps)
        total += gap;
    return total;
}

void AssignInOrder(std::vector<ReadMeasure>& measures, const std::vector<DurationMark>& marks) {
    std::size_t next = 0;
    for (ReadMeasure& measure : measures)
        for (ReadChord& chord : measure)
            chord.duration = marks[next++].text;
}

// Labels of different widths ("e|" over "c#|") push their lines apart: the staff starts right
// after every label, so the lines are lined up there.
std::array<StaffLine, 5> LinedUp(std::array<StaffLine, 5> lines) {
    std::size_t start = 0;
    for (const StaffLine& line : lines) {
        if (line.label.empty())
            return lines;
        start = std::max(start, line.begin);
    }
    for (StaffLine& line : lines) {
        const std::size_t shift = start - line.begin;
        line.text.insert(0, shift, ' ');
        line.begin += shift;
        line.end += shift;
    }
    return lines;
}

} // namespace

StaffScan ScanStaff(const std::array<StaffLine, 5>& unaligned) {
    const std::array<StaffLine, 5> lines = LinedUp(unaligned);
    StaffScan scan;
    bool digitLabels = false;
    const std::array<int, 5> order = StringOrder(lines, digitLabels);

    std::vector<Note> notes;
    std::map<std::size_t, int> barVotes;
    std::vector<RepeatMark> repeats;
    scan.begin = lines[0].begin;
    for (std::size_t i = 0; i < 5; ++i) {
        const StaffLine& line = lines[i];
        // A string number that is not a label is a fret.
        const std::size_t begin =
            line.digitLabel && !digitLabels ? line.text.find_first_not_of(' ') : line.begin;
        LineScan lineScan = ScanLine(line, begin, order[i], notes, scan.marks);
        for (const std::size_t bar : lineScan.bars)
            ++barVotes[bar];
        repeats.insert(repeats.end(), lineScan.repeats.begin(), lineScan.repeats.end());
        scan.end = std::max(scan.end, line.end);
        scan.begin = std::min(scan.begin, begin);
    }
    // A bar line is a column most of the strings draw a bar in.
    for (const auto& [column, votes] : barVotes)
        if (votes >= 3)
            scan.bars.push_back(column);
    // One mark per bar and text, in column order; signs only at bar lines.
    std::set<std::pair<std::size_t, std::string>> seen;
    std::stable_sort(repeats.begin(), repeats.end(),
                     [](const RepeatMark& a, const RepeatMark& b) { return a.column < b.column; });
    for (const RepeatMark& mark : repeats) {
        const bool atBar = std::binary_search(scan.bars.begin(), scan.bars.end(), mark.column);
        if ((atBar || !mark.opens) && seen.insert({mark.column, mark.text}).second)
            scan.repeats.push_back(mark);
    }
    scan.chords = GroupChords(std::move(notes));
    return scan;
}

std::vector<std::size_t> ChordGaps(const StaffScan& scan) {
    std::vector<std::size_t> gaps;
    for (std::size_t i = 0; i + 1 < scan.chords.size(); ++i)
        if (SegmentOf(scan.bars, scan.chords[i].column) ==
            SegmentOf(scan.bars, scan.chords[i + 1].column))
            gaps.push_back(scan.chords[i + 1].column - scan.chords[i].column);
    return gaps;
}

StaffReading ReadStaff(const StaffScan& scan, const std::vector<DurationMark>* durations,
                       const RhythmFrame& frame) {
    StaffReading reading;
    reading.marks = scan.marks;
    reading.droppedMarks = scan.marks.LeftOut();
    reading.repeats = scan.repeats;
    const std::vector<ReadChord>& chords = scan.chords;
    if (chords.empty())
        return reading;
    const std::vector<std::size_t>& bars = scan.bars;
    const int measure64 = frame.meter.Length64();

    // Runs of chords between bars.
    std::vector<std::vector<ReadChord>> runs;
    std::vector<std::size_t> runSegment;
    for (const ReadChord& chord : chords) {
        const std::size_t segment = SegmentOf(bars, chord.column);
        if (runs.empty() || runSegment.back() != segment) {
            runs.emplace_back();
            runSegment.push_back(segment);
        }
        runs.back().push_back(chord);
    }
    auto runEnd = [&](std::size_t r) {
        return runSegment[r] < bars.size() ? bars[runSegment[r]] : scan.end;
    };

    if (durations && durations->size() == chords.size()) {
        if (runs.size() > 1) {
            reading.measures.assign(runs.begin(), runs.end());
        } else {
            // No bar inside: measures of the meter by the durations themselves.
            int used = 0;
            for (std::size_t i = 0; i < chords.size(); ++i) {
                if (reading.measures.empty() || used >= measure64) {
                    reading.measures.emplace_back();
                    used = 0;
                }
                reading.measures.back().push_back(chords[i]);
                used += std::max(1, LengthOfDuration((*durations)[i].text));
            }
        }
        AssignInOrder(reading.measures, *durations);
        reading.durationLineUsed = true;
        return reading;
    }

    const std::vector<std::size_t> staffGaps = ChordGaps(scan);
    std::optional<std::size_t> unit = CommonGap(staffGaps);
    if (staffGaps.size() < FewGaps && frame.tabGap)
        unit = frame.tabGap;
    const std::size_t eighth = unit.value_or(DefaultGap);
    const double measureUnits = static_cast<double>(measure64) / EighthLength;
    const bool compound = frame.meter.unit == 8 && frame.meter.beats % 3 == 0;

    if (runs.size() == 1) {
        // No bar between notes: the common gap is an eighth.
        const std::vector<std::size_t> gaps = RunGaps(runs[0], runEnd(0), eighth);
        const bool betweenBars = runSegment[0] > 0 && runSegment[0] < bars.size();
        const double units = static_cast<double>(Total(gaps)) / static_cast<double>(eighth);
        if (betweenBars && units < measureUnits * 1.5)
            FillOne(runs[0], gaps, measure64, compound, reading);
        else
            GroupByMeter(runs[0], gaps, eighth, measure64, compound, reading);
        return reading;
    }
    // The width of a whole measure: the middle width of the runs between two bars.
    std::vector<std::size_t> widths;
    for (std::size_t r = 0; r < runs.size(); ++r)
        if (runSegment[r] > 0 && runSegment[r] < bars.size())
            widths.push_back(bars[runSegment[r]] - bars[runSegment[r] - 1]);
    std::sort(widths.begin(), widths.end());
    // The room from a whole measure's first note to its closing bar: the dashes before the
    // first note are the same in every measure, whatever its length.
    std::vector<std::size_t> rooms;
    for (std::size_t r = 0; r < runs.size(); ++r)
        if (runSegment[r] > 0 && runSegment[r] < bars.size())
            rooms.push_back(runEnd(r) - runs[r].front().column);
    std::sort(rooms.begin(), rooms.end());
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const std::vector<std::size_t> gaps = RunGaps(runs[r], runEnd(r), eighth);
        // A run before the first bar or after the last, and the tab's first and last measures,
        // may be part of a measure: a pickup or an ending, when it is less than half as wide as
        // the others (or, without others, spans less than half a measure of eighths).
        const bool edge = runSegment[r] == 0 || runSegment[r] == bars.size() ||
                          (r == 0 && frame.firstStaff) || (r + 1 == runs.size() && frame.lastStaff);
        const std::size_t from = runSegment[r] == 0 ? scan.begin : bars[runSegment[r] - 1];
        const auto width = static_cast<double>(runEnd(r) - std::min(from, runEnd(r)));
        const bool part = widths.size() >= 2
                              ? width < static_cast<double>(widths[widths.size() / 2]) / 2
                              : width / static_cast<double>(eighth) < measureUnits / 2 &&
                                    (runSegment[r] == 0 || runSegment[r] == bars.size());
        if (edge && part && widths.size() >= 2) {
            // A pickup or an ending is as long as its share of a whole measure's room.
            const auto whole = static_cast<double>(rooms[rooms.size() / 2]);
            const auto room = static_cast<double>(runEnd(r) - runs[r].front().column);
            const int length = std::max(
                SnapLength,
                static_cast<int>(std::lround(room / whole * measure64 / SnapLength)) * SnapLength);
            FillOne(runs[r], gaps, length, compound, reading);
            if (r == 0 && frame.firstStaff)
                reading.pickup64 = length;
        } else if (edge && part) {
            GroupByMeter(runs[r], gaps, eighth, measure64, compound, reading);
        } else {
            FillOne(runs[r], gaps, measure64, compound, reading);
        }
    }
    return reading;
}

} // namespace fw::tabstaff

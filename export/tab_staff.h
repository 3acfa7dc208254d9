#pragma once
// The staffs of ASCII banjo tablature as people write them on web pages and in e-mails, and as
// this program writes them: recognising a text line as one string of a staff, recognising the
// duration line under a staff, and reading a staff of five lines into measures of note columns.
// Pure C++; the tablature reader (ascii_tab_reader.h) puts the pieces together.

#include "chords/chord_entry.h"
#include "tab_header.h"
#include "tab_mark_counts.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fw::tabstaff {

// The 5th string starts at the neck's fifth fret: neck fret n is its own fret n - 5.
inline constexpr int FifthStringNeckOffset = 5;

// A text line that reads as one string of a staff.
struct StaffLine {
    std::string text;        // tabs expanded, look-alike dashes, bars and spaces made ASCII
    std::size_t begin = 0;   // first column after the string label
    std::size_t end = 0;     // end of the staff; a remark after the last bar is not part of it
    std::string label;       // "d", "G", "F#", "3"...; empty without one
    bool digitLabel = false; // the label is a string number, which counts only when all five
                             // lines of the staff carry one (else it is a fret)
    std::string remark;      // "x2" in "|--0--|  x2"; empty without one
};

// The line as a staff line, or nothing. A staff line is an optional string label (a note name
// such as "d", "G", "F#", or a string number 1 to 5, followed by a bar, a colon or a dash), then
// only dashes, bars, digits, the technique marks h p s / \ b r ~ x and c (of a choke "ch";
// either case for the letters), parentheses, colons, stars, dots and spaces, with at least three
// dashes. Text after the last bar that follows a space and holds a letter or a parenthesis is a
// remark, and so is a repeat count touching it ("|x2", "|2x").
std::optional<StaffLine> ReadStaffLine(std::string_view line);

// The count of a repeat count ("x2", "2x", "(x3)", "X 2"), or nothing for any other text.
std::optional<int> RepeatCountOf(std::string_view text);

// A count line or a ruler read as a staff line: "1---2---3---4---" (numbers counting 1, 2, 3 ...
// up to 3 to 12 and starting again at 1) or "0----5----10---15" (rising by one step from 0 or
// 1), at least three numbers and nothing else but dashes, bars, dots and spaces.
bool IsCountLine(const StaffLine& line);

// One text of a duration line, as written, and the column of the staff it stands under. The
// writer puts each text one column after its fret cell starts, and every dotted text pushes the
// rest of the line one column to the right; `column` takes those shifts off again.
struct DurationMark {
    std::string text;
    std::size_t column = 0;
};

// A rhythm row: the duration line this program writes under a staff, or one written above or
// below a staff on the web: only duration texts (W H Q E S T F in either case, "." in front for
// dotted or "3" after for a triplet) or fractions of a whole note ("1/4", "1/8", dotted "1/4." or
// ".1/4", read as their duration texts) separated by spaces, at least one. Returns the texts in
// order, or nothing for any other line.
std::optional<std::vector<DurationMark>> ReadDurationLine(std::string_view line);

// One note column: the notes struck together, with their hammer-on targets.
struct ReadChord {
    FretArray fret = AllNoFrets();   // index = string 1..5, -1 = not played; string 5 as written
    FretArray hammer = AllNoFrets(); // -1 = no hammer-on
    std::string duration;            // a duration text
    std::size_t column = 0;          // where the column stands in its line

    bool IsRest() const;
};
using ReadMeasure = std::vector<ReadChord>;

// A repeat sign or count in a staff: "|:" opens, ":|" closes, "x2" after a bar counts.
struct RepeatMark {
    std::size_t column = 0; // the bar it belongs to
    std::string text;       // "|:", ":|", "x2"
    bool opens = false;     // stands before the measure after it, else after the one before
};

struct StaffReading {
    std::vector<ReadMeasure> measures; // measures with at least one column, in order
    int droppedMarks = 0;              // marks left out (marks.LeftOut())
    TabMarkCounts marks;               // marks read as something else or left out
    bool durationLineUsed = false;     // the durations came from the duration line
    int filledMeasures = 0;            // measures whose durations were chosen to fill the meter
    std::vector<std::size_t> guessed;  // their indexes in `measures`
    std::vector<RepeatMark> repeats;   // in column order
    int pickup64 = 0; // the length of the pickup the first measure is, in sixty-fourths; 0: none
};

// A staff in this program's own layout: a bar at the start and the end of every line, the same
// bars in all five lines, and between bars an equal run of dashes around every cell (a fret cell
// "--", "-7" or "12", and for a chord with hammer-ons a target cell "---", "/4-" or "/12", or
// written with letters "h4-", "p2-", "h12") as the tablature writer spaces them. Because the
// layout is known, cells that touch ("-213" is 2 then 13) and rests (cells of dashes only) are
// read exactly. The 5th string's frets are returned as written (up to MaxFret + 5, for a tab
// numbered as on the neck). Returns nothing when the staff is not in that layout or, given
// `durations`, when they do not stand one under each cell (a run of dashes can often be cut
// into cells more than one way; the durations tell which). Without `durations` the rest cells
// are left out and durations come from the spacing.
std::optional<StaffReading> ReadOwnLayoutStaff(const std::array<StaffLine, 5>& lines,
                                               const std::vector<DurationMark>* durations);

// Any staff's notes, marks and bars before its rhythm is worked out.
struct StaffScan {
    std::vector<ReadChord> chords; // in column order, without durations
    std::vector<std::size_t> bars; // columns most strings draw a bar in
    std::size_t begin = 0;         // first column after the labels
    std::size_t end = 0;           // end of the longest line
    TabMarkCounts marks;
    std::vector<RepeatMark> repeats;
};

// Scans any staff: five lines top to bottom (string 1 on top, unless labels name a tuning only
// when read with string 5 on top, or string numbers say otherwise). Each column holding at least
// one fret is a chord; a two-digit fret is one number in one column (on string 5 up to
// MaxFret + 5). "2h4" and "4p2" are a hammer-on and a pull-off; the slides "2/4", "2s4" and
// "4\2" are read as hammer-ons and counted; a chain on one pick ("0h2p0") keeps its first
// hammer-on or pull-off and counts the rest; bends, releases, chokes ("ch"), vibrato and muted
// notes are counted and left out. "|:" and ":|" at a bar and a count "x2" right after a bar
// are repeat marks, not notes.
StaffScan ScanStaff(const std::array<StaffLine, 5>& lines);

// The gaps between neighbouring chords of a staff that no bar separates.
std::vector<std::size_t> ChordGaps(const StaffScan& scan);

// What the rhythm of a staff is worked out within.
struct RhythmFrame {
    Meter meter;                       // 4/4 unless the tab names one
    std::optional<std::size_t> tabGap; // the tab's common gap, for staffs with few notes
    bool firstStaff = false;           // the tab's first staff: it may open with a pickup
    bool lastStaff = false;            // the tab's last staff: it may end before the meter
};

// The measures of a scanned staff with their durations:
// - from `durations` when given with one text per chord, in order;
// - otherwise from the spacing. Between bars, each measure is filled by FillMeasure (a run of
//   notes before the first or after the last bar, or the first measure of the tab's first staff
//   or the last of its last staff, that spans less than half a measure is a pickup or an
//   ending, as long as its share of a whole measure's width in whole eighths, or timed like
//   unbarred notes when the staff has no whole measures; the tab's first such part is its
//   pickup). Evenly spaced notes take plain values over dotted ones (see FillMeasure), except in
//   6/8, 9/8 and 12/8. A staff without bars inside it takes its common gap (the
//   tab's when the staff has fewer than four gaps) as an eighth and groups its notes into
//   measures of the meter; when its notes span no more than one measure and stand between two
//   bars, they fill that measure.
// A rest is never made up.
StaffReading ReadStaff(const StaffScan& scan, const std::vector<DurationMark>* durations,
                       const RhythmFrame& frame);

// The nearest duration text ("W", ".H", "Q", ... "F") to `fraction` of a whole note; on a tie
// the plain value.
std::string NearestDuration(double fraction);

} // namespace fw::tabstaff

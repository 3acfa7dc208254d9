#pragma once
// The staffs of ASCII banjo tablature as people write them on web pages and in e-mails, and as
// this program writes them: recognising a text line as one string of a staff, recognising the
// duration line under a staff, and reading a staff of five lines into measures of note columns.
// Pure C++; the tablature reader (ascii_tab_reader.h) puts the pieces together.

#include "chords/chord_entry.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fw::tabstaff {

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
// only dashes, bars, digits, the technique marks h p s / \ b r ~ x (either case for h p s b r
// x), parentheses, colons, stars, dots and spaces, with at least three dashes. Text after the
// last bar that follows a space and holds a letter or a parenthesis is a remark.
std::optional<StaffLine> ReadStaffLine(std::string_view line);

// One text of a duration line, as written, and the column of the staff it stands under. The
// writer puts each text one column after its fret cell starts, and every dotted text pushes the
// rest of the line one column to the right; `column` takes those shifts off again.
struct DurationMark {
    std::string text;
    std::size_t column = 0;
};

// The duration line this program writes under a staff: only duration texts (W H Q E S T F in
// either case, "." in front for dotted) separated by spaces, at least one. Returns the texts in
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

struct StaffReading {
    std::vector<ReadMeasure> measures; // measures with at least one column, in order
    int droppedMarks = 0;              // bends, releases, vibrato and muted notes left out
    bool durationLineUsed = false;     // the durations came from the duration line
};

// A staff in this program's own layout: a bar at the start and the end of every line, the same
// bars in all five lines, and between bars an equal run of dashes around every cell (a fret cell
// "--", "-7" or "12", and for a chord with hammer-ons a target cell "---", "/4-" or "/12") as
// the tablature writer spaces them. Because the layout is known, cells that touch ("-213" is 2
// then 13) and rests (cells of dashes only) are read exactly. Returns nothing when the staff is
// not in that layout or, given `durations`, when they do not stand one under each cell (a run of
// dashes can often be cut into cells more than one way; the durations tell which). Without
// `durations` the rest cells are left out and durations come from the spacing.
std::optional<StaffReading> ReadOwnLayoutStaff(const std::array<StaffLine, 5>& lines,
                                               const std::vector<DurationMark>* durations);

// Reads any staff: five lines top to bottom (string 1 on top, unless the labels read g D G B D
// from the top, or string numbers say otherwise). Each column holding at least one fret is a
// chord; a two-digit fret is one number in one column. "2h4", "2s4", "2/4" and "4p2" (and a
// slide down "4\2") are hammer-ons from the first fret to the second; the marks the program
// cannot play are counted and left out. Measures run between bar lines. Durations: from
// `durations` when given with one text per chord, in order; otherwise from the spacing of the
// columns in each measure, the measure being a whole note; a staff without bar lines gets "E"
// for every chord and is cut into measures of eight chords. A rest is never made up.
StaffReading ReadStaff(const std::array<StaffLine, 5>& lines,
                       const std::vector<DurationMark>* durations);

// The nearest duration text ("W", ".H", "Q", ... "F") to `fraction` of a whole note; on a tie
// the plain value.
std::string NearestDuration(double fraction);

} // namespace fw::tabstaff

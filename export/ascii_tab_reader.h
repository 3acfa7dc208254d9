#pragma once
// Reading ASCII banjo tablature (a tab copied from a web page, a forum or an e-mail, or the
// ASCII tablature this program writes) into chord lines: one chord line per note column, a
// blank line after every measure, and comment lines for the words around the staffs.
//
//   Cripple Creek                      * Cripple Creek
//   d|--0-----0--|--------|            Chord, 0, x, x, x, 0, E
//   B|-----0-----|--1-----|     ->     ...
//
// A pure function over text, with no side effects: whatever the text holds, it returns a
// reading (possibly with no chord line) and never throws or reads outside the text.

#include "chords/tuning.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// What the program says when a text holds no staff with a note on it.
inline constexpr std::string_view NoBanjoTablatureFound = "No banjo tablature found in the text.";

struct TabReading {
    // Editor lines: for each staff its measures, each a run of chord lines followed by a blank
    // line; the lines of words before, between and after the staffs as comment lines ("* " and
    // the trimmed text) in their places. Every chord and comment line parses without error.
    std::vector<std::string> lines;
    int chordLines = 0;            // 0: no banjo tablature found
    int staffs = 0;                // staffs of five lines found (with or without notes)
    int droppedMarks = 0;          // bends, releases, vibrato and muted notes left out
    std::optional<int> tuningCode; // the tuning named by this program's own tuning line
    bool ownNumbering = false;     // string 5 read with this program's fret numbers
};

// Reads `text` (UTF-8, any line ends).
// - Staffs are runs of five staff lines (a run of ten or fifteen is two or three staffs; runs
//   of other lengths are tablature for another instrument and are kept as comment lines). The
//   top line is string 1 and the bottom line string 5, unless string labels say otherwise.
// - Each note column becomes a chord line; "2h4", "2/4", "2s4" give the hammer-on "2-4",
//   "4p2" the pull-off "4-2"; bends, releases, vibrato and muted notes are counted in
//   `droppedMarks` and left out.
// - String 5: when the text holds this program's tuning line (as its ASCII tablature writes
//   it) or any string-5 fret of 1 to 5, its frets are this program's numbers; otherwise they
//   are the neck's frets as banjo tablature writes them (0, then 6 and up), and neck fret n
//   above 5 becomes n - 5.
// - Durations come from the duration line under a staff (its texts in order; a text under a
//   column of dashes only is a rest line), or else from the spacing (see tab_staff.h).
// - This program's title and subtitle lines under its tuning line become "* Title: " and
//   "* Sub: " comment lines, which its tablature reads back.
// - Chord lines are named by the chord namer in the tablature's tuning (`tuningCode`, else
//   `tuning`) with its best name, "Chord" when it names nothing; rest lines are named "Rest".
TabReading ReadAsciiTab(std::string_view text, int tuning = ReferenceTuningCode);

// The tuning code whose status text (TuningStatusText) is `text` once trimmed, or nothing.
std::optional<int> TuningCodeOfStatusText(std::string_view text);

// The notice for marks left out: "Left out 3 marks the program cannot play (bends, releases,
// vibrato, muted notes)." ("1 mark" for one).
std::string DroppedMarksNotice(int count);

} // namespace fw

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
#include "tab_mark_counts.h"
#include "tab_marks.h"

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
    // the trimmed text) in their places; "* Time: 3/4" before the first staff when the tab names
    // a meter other than 4/4, "* Pickup: 1/4" when its first measure is short, and "* Capo: 2"
    // when it names a capo. Every chord and comment line parses without error.
    std::vector<std::string> lines;
    int chordLines = 0;               // 0: no banjo tablature found
    int staffs = 0;                   // staffs of five lines found (with or without notes)
    int droppedMarks = 0;             // marks left out (marks.LeftOut())
    TabMarkCounts marks;              // marks read as something else or left out
    std::optional<int> tuningCode;    // the tuning the tab names; nothing: it names none
    std::string meter;                // the meter the tab names ("3/4"); empty: none, 4/4 is used
    int capo = 0;                     // the capo the tab names ("capo 2"); 0: none
    bool ownNumbering = false;        // string 5 read with this program's fret numbers
    int filledMeasures = 0;           // measures whose durations were chosen to fill the meter
    std::vector<int> guessedMeasures; // their numbers: 1 the first whole measure, 0 a pickup
    int fourLineStaffs = 0;           // staffs of strings 1 to 4 only, read with string 5 not played
    bool fifthStringGuessed = false;  // the tuning comes from the labels of strings 1 to 4
};

// Reads `text` (UTF-8, any line ends).
// - Staffs are runs of five staff lines (a run of ten or fifteen is two or three staffs). A
//   count line ("1---2---3---4---") or a rule of dashes at either end of a run that is not whole
//   staffs is kept as a comment. A run of four lines (or of whole staffs of four) is strings 1
//   to 4 of a banjo, read with the 5th string not played, when the labels name strings 1 to 4
//   (note names a banjo's strings 1 to 4 are tuned to, "D B G D" from the top, or the numbers
//   1 to 4), or, without labels, when the words before the first staff say "banjo" or name a
//   tuning. Runs of other lengths are tablature for another instrument and are kept as comment
//   lines. The top line is string 1 and the bottom line string 5, unless
//   string labels say otherwise.
// - Each note column becomes a chord line; "2h4", "2/4", "2s4" give the hammer-on "2-4", "4p2"
//   the pull-off "4-2"; slides are counted; a chain on one pick keeps its first link; bends,
//   releases, chokes, vibrato and muted notes are counted and left out (see `marks`).
// - Repeat signs and counts become the song's markers: "|:" a "* Repeat: start" before the
//   measure after it, ":|" (with a count "x3" or "3x" at that bar: "* Repeat: end x3") a
//   "* Repeat: end" after the measure before it; a count after a whole staff repeats the staff.
//   Ending signs above a staff ("1.", "2.", "[1.", "1.___") start "* Ending: 1" ... at the
//   measure under them.
// - String 5: a tab with this program's tuning line (as its ASCII tablature writes it, without
//   NeckFretsSuffix) holds this program's fret numbers. Every other tab numbers it as on the
//   neck: fret n above 5 is n - 5, 0 stays 0, and 1 to 5, which the neck does not have there,
//   are read as this program's numbers and counted in `marks.lowFifthFrets`.
// - Tuning: this program's tuning line, else a line before the first staff naming one
//   ("Tuning: gCGCD", "Double C"), else the first staff's five note-name string labels.
// - Meter: a fraction such as "3/4" or "Time: 6/8" before the first staff, else 4/4.
// - Capo: "capo 2", "Capo on 2nd fret" before the first staff (or ", Capo 2" after this
//   program's tuning line) gives the line "* Capo: 2" before the first staff, unless the tab
//   has that line already; chords are then named at the pitch they sound.
// - Durations come from the duration line under a staff (its texts in order; a text under a
//   column of dashes only is a rest line), or else from the spacing within the meter (see
//   tab_staff.h).
// - This program's title and subtitle lines under its tuning line become "* Title: " and
//   "* Sub: " comment lines, which its tablature reads back.
// - Chord lines are named by a line of chord names right above their staff, else by the chord
//   namer in the tablature's tuning (`tuningCode`, else `tuning`) with its best name, "Chord"
//   when it names nothing; rest lines are named "Rest".
TabReading ReadAsciiTab(std::string_view text, int tuning = ReferenceTuningCode);

// The tuning code whose status text (TuningStatusText) is `text` once trimmed, or nothing.
std::optional<int> TuningCodeOfStatusText(std::string_view text);

// One short message of what the reading assumed, read as something else and left out, for the
// import's notice and the command line's stderr; empty when there is nothing to say.
// `keptTuning`: for a paste into a song, the song's tuning, which stays; without it the song
// takes the tab's tuning, open G when the tab names none, which the message then says.
std::string ImportNotice(const TabReading& reading, std::optional<int> keptTuning = std::nullopt);

} // namespace fw

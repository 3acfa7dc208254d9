#pragma once
// ASCII tablature: the chord list as plain text, two measures side by side per block, one
// text line per string (string 1 on top) and a line of duration letters below them.
//
//   |---------0---------2--------|--------12-----------|
//   |---------0---------1--------|---------1-----------|
//   |---------0---------0--------|---------2/4---------|
//   |---------0---------2--------|---------0-----------|
//   |---------0---------0--------|---------------------|
//             Q         Q                  E
//
// Chosen forms (TabOptions) add to it: a line above each staff with the chord names where the
// chord changes and, for measures cut by the meter, the number of the row's first measure;
// string names in front of the staff lines; neck numbers for the 5th string; "h" and "p" marks.
//
//   5   G                 C
//   D|--0-------0-------|--2-----...
//
// Pure C++; the tablature window shows these lines and saves them with CR LF after each.

#include "chords/tuning.h"
#include "tab_builder.h"
#include "tab_options.h"

#include <array>
#include <span>
#include <string>
#include <vector>

namespace fw {

// The texts above the tablature.
struct AsciiTabTitles {
    std::string tuningText; // the tuning as the status bar shows it
    std::string title;      // the caller has already put the default title in for an empty one
    std::string subtitle;
};

// The lines of the block being built: index 1..5 the strings, index 0 the duration line, and
// the line above the staff for chord names and the measure number (written only when a chosen
// form asks for it).
struct AsciiBlock {
    std::array<std::string, 6> lines;
    std::string top;
};

// The finished text.
struct AsciiTab {
    std::vector<std::string> lines;
    bool truncated = false; // a measure had more than MaxMeasureChords chords
    int blocks = 0;         // blocks: rows of measures (two to a row for blank-line measures)
};

// Text lines of ASCII tablature are meant for a page of this many characters: measures cut by
// the meter fill a row up to it.
inline constexpr int AsciiRowWidth = 80;

// The header lines: an empty line, the tuning text, an empty line, the title and the subtitle
// each centred (40 - length div 2 spaces in front, none when that is 0 or less; an empty
// subtitle gives 40 spaces), an empty line. Lengths count characters, not bytes.
std::vector<std::string> AsciiHeader(const AsciiTabTitles& titles);

// Appends a measure to the block. With `startNewLine` the block is first begun again (each
// string line "|", the duration line " "). Returns true when the measure had more than
// MaxMeasureChords chords: those after the last shown are dropped, the measure is closed
// normally.
bool AppendAsciiMeasure(AsciiBlock& block, std::span<const TabItem> measureChords,
                        bool startNewLine);

// The whole text: the header, then a block for every two non-empty measures (the last block
// may hold one), each block's five string lines, then the duration line when `showDurations`
// is set or an empty line when not, then an empty line. `items` have been through
// AssignMeasureSizes.
AsciiTab BuildAsciiTab(std::span<const TabItem> items, const AsciiTabTitles& titles,
                       bool showDurations);

// The whole text in the forms of `options`; the default options give the text above without
// durations, byte for byte. `items` have been through AssignMeasureSizes (cut with the same
// `options.bars`). `tuningCode` names the strings when `options.stringNames` is set.
// - The tuning line ends with NeckFretsSuffix when `options.neckFrets` is set.
// - Rhythm letters or stems: the duration line under each staff (ASCII has no stems).
// - Measures cut by the meter: rows filled up to AsciiRowWidth characters (a wider measure
//   stands alone), each measure as wide as the plain form makes it, with no cap on its chords
//   (never truncated); the line above each staff starts with the number of its first measure.
// - Chord names: in the line above the staff, each over the fret column of the chord where the
//   name changes (ChordNameChanges), moved right when the text before it would touch it.
// - String names: each staff line starts with its string's name, padded to one width.
// A block holds the line above the staff (only with chord names or meter measures), the five
// string lines, the duration line or an empty line, and an empty line.
AsciiTab BuildAsciiTab(std::span<const TabItem> items, const AsciiTabTitles& titles,
                       const TabOptions& options, int tuningCode = ReferenceTuningCode);

// The warning shown (window) or printed (command line) when a measure lost notes because the
// chords were not separated by enough blank lines.
inline constexpr const char* TruncationWarningText =
    "Truncation Warning: Tablature is missing notes because there were not enough blank lines "
    "separating chords.";

} // namespace fw

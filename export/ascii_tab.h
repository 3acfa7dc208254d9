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
// Pure C++; the tablature window shows these lines and saves them with CR LF after each.

#include "tab_builder.h"

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

// The six lines of the block being built: index 1..5 the strings, index 0 the duration line.
struct AsciiBlock {
    std::array<std::string, 6> lines;
};

// The finished text.
struct AsciiTab {
    std::vector<std::string> lines;
    bool truncated = false; // a measure had more than MaxMeasureChords chords
    int blocks = 0;         // blocks of two measures (the last may hold one)
};

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

} // namespace fw

#pragma once
// Chord lists for the tablature tests: editor lines parsed the way the program parses them.

#include "chords/chord_parser.h"
#include "export/tab_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fw::test {

// The entries of `lines` plus the blank entry after the last line; every line must parse.
inline std::vector<ChordEntry> ParseLines(const std::vector<std::string>& lines) {
    std::vector<ChordEntry> entries;
    for (std::size_t i = 0; i <= lines.size(); ++i) {
        ParsedLine parsed = ParseChordText(i < lines.size() ? lines[i] : "", static_cast<int>(i));
        EXPECT_TRUE(parsed.ok()) << "line " << i << ": " << parsed.error;
        entries.push_back(std::move(parsed.entry));
    }
    return entries;
}

// Items with their measure sizes assigned.
inline std::vector<TabItem> ItemsOf(const std::vector<std::string>& lines) {
    std::vector<TabItem> items = BuildTabItems(ParseLines(lines), lines);
    AssignMeasureSizes(items);
    return items;
}

// A chord line with the same fret on every string and the given duration.
inline std::string Chord(int fret, const std::string& duration = "Q") {
    const std::string f = std::to_string(fret);
    return "c, " + f + ", " + f + ", " + f + ", " + f + ", " + f + ", " + duration;
}

} // namespace fw::test

#pragma once
// A line of chord names written above a staff ("G        C        D7"): each name names the
// chord columns that start under it, up to the next name. Pure C++.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fw::tabstaff {

struct PlacedName {
    std::size_t column = 0; // where the name starts (tabs expanded to every eighth column)
    std::string name;
    // Where a sign or a measure number stands that ends one space before the name (a writer
    // may have pushed the name there); npos when none does.
    std::size_t afterSign = std::string::npos;
};

// True when `word` looks like a chord: a root A to G, an optional "#" or "b", then a quality
// made of m, min, maj, M, dim, aug, sus, add, +, numbers and altered numbers ("b5", "#9"), at
// most six parts, and an optional bass "/F#".
bool LooksLikeChordName(std::string_view word);

// The names of a line holding only chord names (and bars or dashes between them), at least one;
// nothing for any other line.
std::optional<std::vector<PlacedName>> ReadChordNameLine(std::string_view line);

// The number of an ending sign over a staff: "1.", "2.", also "[1.", "|2." or "1.____"; nothing
// for any other word.
std::optional<int> EndingNumber(std::string_view word);

// The line above a staff: chord names as ReadChordNameLine reads them, or with `anyWords` every
// word a name (this program's own tablature names chords as their lines do), after an optional
// measure number as the first word. With `signs`, the signs of the structure go there: ending
// signs ("1.", "2."), meters ("3/4"), repeat counts ("x3"); a triplet's "3" is passed over. An
// empty list for a line holding only a measure number or signs; nothing for any other line.
// The signs of a song's structure above a staff, each at its column.
struct StructureSigns {
    std::vector<PlacedName> endings; // "1." ... as "1"
    std::vector<PlacedName> meters;  // "3/4"
    std::vector<PlacedName> counts;  // a repeat count "x3" as "3"
};

std::optional<std::vector<PlacedName>> ReadStaffTopLine(std::string_view line, bool anyWords,
                                                        StructureSigns* signs);

// The name over a chord column: the last name starting at or before it; empty before the first.
std::string NameOver(const std::vector<PlacedName>& names, std::size_t column);

} // namespace fw::tabstaff

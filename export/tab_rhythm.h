#pragma once
// Durations of tablature read without a duration line: from the spacing of the note columns,
// within the meter. Pure C++. Lengths are counted in sixty-fourth notes.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fw::tabstaff {

// The duration text of a length in sixty-fourths ("Q" for 16, ".E" for 12), or nothing when no
// single duration (plain or dotted, whole to sixty-fourth) has that length.
std::optional<std::string> DurationOfLength(int length64);

// The length in sixty-fourths of a duration text ("Q", ".e"...); 0 for any other text.
int LengthOfDuration(std::string_view text);

// How a measure's durations were found.
enum class Fill {
    Spacing,     // the nearest durations to the spacing fill the measure exactly
    EqualValues, // all notes got one value
    DottedPairs, // pairs of a dotted value and its short partner
    Closest,     // the durations nearest the spacing that fill it
    PlainValues, // evenly spaced notes whose even value would be dotted: plain values instead
    Triplets,    // evenly spaced notes in threes, three in the time of two: "E3", "Q3"...
    NotFilled,   // nothing fills it (more notes than sixty-fourths): the nearest durations
};

struct FilledMeasure {
    std::vector<std::string> durations;
    Fill fill = Fill::Spacing;
};

// Durations for notes that share a measure of `measure64` sixty-fourths, the space of note i
// being `gaps[i]` (any unit; the gaps make up the whole measure). When the durations nearest to
// the spacing do not add up to the measure, the simplest that do are taken: one value for all
// when the spacing is nearly even, dotted pairs (".E S", or "S .E") when it alternates long and
// short, else one value for all, else the values closest to the spacing.
// Evenly spaced notes whose nearest values fill the measure but are dotted get plain values that
// fill it instead, longer ones first (a waltz's two notes are "H Q", not ".Q .Q"), unless the meter
// is `compound` (6/8, 9/8, 12/8), whose beat is dotted. Evenly spaced notes in threes that no
// plain value fills the measure with are triplets of a value up to a quarter ("Q3" six times in
// 4/4) when they fill it.
FilledMeasure FillMeasure(const std::vector<double>& gaps, int measure64, bool compound = false);

// The smallest gap between note columns that is common (at least a quarter of all gaps and
// at least two of them; else the most frequent), or nothing without gaps.
std::optional<std::size_t> CommonGap(const std::vector<std::size_t>& gaps);

// The nearest single duration's length to `length64` sixty-fourths (at least one).
int NearestLength(double length64);

} // namespace fw::tabstaff

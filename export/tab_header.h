#pragma once
// What the words of a web tab say about how to read it: the tuning (from string labels or a
// header line such as "Tuning: gCGCD (Double C)") and the meter ("Time: 3/4"). Pure C++.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace fw::tabstaff {

// A time signature: `beats` notes of 1/`unit` per measure.
struct Meter {
    int beats = 4;
    int unit = 4;

    // The measure's length in sixty-fourth notes.
    int Length64() const { return 64 * beats / unit; }
    bool IsCommonTime() const { return beats == 4 && unit == 4; }
    std::string Text() const { return std::to_string(beats) + "/" + std::to_string(unit); }
    bool operator==(const Meter&) const = default;
};

// The tuning code of five note names for strings 5 to 1 ("g", "C", "G", "C", "D" gives 53565),
// or nothing when a name is no note name or lies more than four semitones from the string's
// open G tuning note (g D G B D), which no tuning code can hold.
std::optional<int> TuningCodeOfNames(const std::array<std::string, 5>& string5To1);

// The tuning named by five string labels, top line first. Top line string 1 (D) is tried first,
// then top line string 5 (g); `fifthOnTop` says which one named a tuning.
std::optional<int> TuningCodeOfLabels(const std::array<std::string, 5>& topToBottom,
                                      bool& fifthOnTop);

// The tuning a text line names: five note names written together or apart, string 5 first
// ("gCGCD", "aEAC#E", "g D G B D"; apart only on a line that says "tuning"), or the name of a
// tuning banjo players use ("Double C", "open D", "G modal", "sawmill", "Double D", "open A").
// Note names win over a name on the same line.
std::optional<int> TuningCodeOfHeaderLine(std::string_view line);

// The meter a text line names: "3/4", "Time: 6/8", "(2/4 time)". A fraction with a count of 1
// to 12 over 2, 4, 8 or 16, standing on its own (not part of a date or a longer number).
std::optional<Meter> MeterOfHeaderLine(std::string_view line);

} // namespace fw::tabstaff

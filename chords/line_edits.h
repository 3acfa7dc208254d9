#pragma once
// The line transformations behind the editor commands: rewriting a line's duration, renaming
// its chord, and transposing it by one fret. Each takes and returns line texts or fret arrays;
// finding the current line and writing it back is the editor's part.

#include "chord_entry.h"

#include <optional>
#include <string>
#include <string_view>

namespace fw {

// Highest fret transposing up may reach on each string: 17 on the short fifth string,
// MaxFret on the others. Index = string number.
inline constexpr std::array<int, 6> TransposeLimit = {0, MaxFret, MaxFret, MaxFret, MaxFret, 17};

// The duration text a duration button sets: " " + letter, or " ." + letter when dotted, or
// " " + letter + "3" for a triplet value (a triplet is never dotted: triplet wins).
std::string DurationTextFor(char letter, bool dotted, bool triplet = false);

// Removes characters from the end of `line` until its last character is a comma, then appends
// `duration` as it is: "G,0,0,0,0,0,Q" with " E" gives "G,0,0,0,0,0, E". The name and string
// values stay as typed. A line without any comma becomes `duration` alone.
std::string WithDuration(std::string_view line, std::string_view duration);

// The line renamed from the name box: the box text as typed, followed by the line from its
// first comma, trimmed: box "G7", line "G, 0, 0, 0, 0, 0, Q" gives "G7, 0, 0, 0, 0, 0, Q".
// A box text that is empty after trimming leaves the line as it is. The new name is not
// checked: one holding a comma or reading as a number makes the line a line in error.
std::string RenamedLine(std::string_view line, std::string_view boxText);

struct FretsAndHammers {
    FretArray frets;
    FretArray hammers;
};

// One fret down on every played string. A string at fret 0 stops being played, and a
// hammer-on whose target falls below 0 (or whose string stops) is dropped.
FretsAndHammers TransposeDown(const FretArray& frets, const FretArray& hammers);

// One fret up on every played string, and on its hammer-on target. A fret beyond the string's
// TransposeLimit stops the string; a target beyond it (or on a stopped string) is dropped.
FretsAndHammers TransposeUp(const FretArray& frets, const FretArray& hammers);

enum class TransposeDirection { Down, Up };

// The whole command on one line: nothing (leave the line alone) for a comment, blank or
// erroneous line and for a chord with no string played; otherwise the line recomposed from the
// transposed frets, named "Chord" with `currentDuration`. "G, 0, 0, 0, 0, 0, Q" up with " S"
// gives "Chord, 1, 1, 1, 1, 1, S".
std::optional<std::string> TransposedLine(std::string_view line, TransposeDirection direction,
                                          std::string_view currentDuration);

} // namespace fw

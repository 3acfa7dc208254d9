#pragma once
// Composing chord-line texts from chord data: the inverse of the parser. Every composed chord
// line is valid and parses back to the frets and hammer-ons it was made from. The editor side
// puts these texts into lines; nothing here touches an editor.

#include "chord_entry.h"

#include <string>
#include <string_view>
#include <vector>

namespace fw {

// The name every composed or rewritten chord line gets.
inline constexpr std::string_view ComposedChordName = "Chord";

// The duration written into new lines at start-up, after New and after opening a song.
inline constexpr std::string_view DefaultCurrentDuration = " S";

// "Chord, " then, for strings 5 down to 1, "x, " (not played; a hammer-on target is then
// dropped), "3, " or "2-4, ", then `currentDuration` trimmed: "Chord, x, 2-4, 0, 1, 2, S".
std::string ComposeChordText(const FretArray& frets, const FretArray& hammers,
                             std::string_view currentDuration);

// The same with another chord name (without a comma): "G7, x, 0, 0, 0, 3, Q".
std::string ComposeNamedChordText(std::string_view name, const FretArray& frets,
                                  const FretArray& hammers, std::string_view duration);

// A new line with no string played: name + " , x, x, x, x, x," + `currentDuration` as it is,
// leading space included: "Rest , x, x, x, x, x, S".
std::string InsertChordText(std::string_view name, std::string_view currentDuration);

// "Chord , x, x, x, x, x," + `currentDuration` as it is (at most 27 characters).
std::string EmptyChordText(std::string_view currentDuration);

// Sets DurationTicks := DurationValue(Duration, whole) on every chord entry; comment and blank
// entries keep their old value.
void FillDurationTicks(std::vector<ChordEntry>& entries, int whole);

} // namespace fw

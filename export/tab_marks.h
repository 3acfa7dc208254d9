#pragma once
// What tablature writes beside the frets, shared by the ASCII text and the drawing: the 5th
// string's numbers as on the neck, the marks of hammer-ons and pull-offs, the names of the
// strings, and the chord names above the staff. Pure C++.

#include "tab_builder.h"

#include <array>
#include <string>
#include <string_view>

namespace fw {

// The 5th string starts at the neck's 5th fret: its own fret n > 0 is the neck's fret n + 5.
inline constexpr int FifthStringNeckOffset = 5;

// What the tuning line of ASCII tablature ends with when the 5th string is numbered as on the
// neck; the tablature reader reads numbers from the 5th string's own nut when it is missing.
inline constexpr std::string_view NeckFretsSuffix = "  (5th string at neck frets)";

// The fret written for `fret` on string `string` (1..5): with `neckFrets`, a 5th-string fret
// above 0 is the neck's fret (2 is written 7); every other fret, and -1 (not played), as it is.
int ShownFret(int string, int fret, bool neckFrets);

// The mark between a hammer-on's start fret and its target: "/" in the plain form; with
// `letterMarks` "p" when the target is below the start (a pull-off), else "h".
char HammerMark(int start, int target, bool letterMarks);

// The names of the strings in the tuning `tuningCode`, index 1..5 (string 1 first): the note
// names of the tuning text, the short 5th string in lower case ("D", "B", "G", "D", "g" in open
// G). A damaged code is read as open G. A tuning with a string the note names do not name
// (a digit 0, "?") gets five empty names: the staff is written without them.
std::array<std::string, 6> StaffStringNames(int tuningCode);

// True for a chord line's name that names a chord: not empty once trimmed, and not "Chord" or
// "Rest" (in any letter case), which the program writes for unnamed and silent lines.
bool IsChordName(std::string_view name);

// The chord name a player reads above the staff: the line's name trimmed and without the
// position the chord dictionary writes after it ("Am7 (1)" is "Am7"; "(1)" alone stays).
std::string_view ShownChordName(std::string_view name);

// Walks the chords of a song in order and says which chord names stand above the staff: a name
// is shown where it changes, so a roll of eight notes named "G" shows "G" once. Names are
// compared and shown as ShownChordName gives them, so "Am7 (1)" then "Am7 (5)" shows "Am7" once.
class ChordNameChanges {
public:
    // The name to show above `chord`, or the empty view. Rests and unnamed chords show nothing
    // and do not end the run of the name before them.
    std::string_view Label(const TabItem& chord);

private:
    std::string last_;
};

} // namespace fw

#pragma once
// Chords from the command line, without a display:
//   fretwick --name-chord FRETS [--tuning CODE] [--inversions]
//       FRETS are a chord line's five fret fields, strings 5 to 1 ("x, 1, 0, 1, 1"; a hammer-on
//       "0-2" rings its target). Prints the best name in the tuning; "No chord name found" and
//       exit 1 when the notes spell no chord. --inversions adds the slash bass ("C/E").
//   fretwick --chord-shapes NAME [--tuning CODE] [--all]
//       NAME is a chord symbol ("Cm", "G7", "D/F#", "Am7 (5)" for one position). Prints one
//       chord line per playable shape, best first, the first 12 unless --all is given; exit 1
//       for a name that is no chord symbol or a chord without a shape.
// CODE is a TuningCode: five digits, strings 5 to 1, each the string's shift plus 5 (55555 is
// open G, the default). A bad code or a bad argument is a usage error (exit 2).

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace fw {

// The TuningCode `text` spells: exactly five digits, the first not 0; nothing otherwise.
std::optional<int> ReadTuningCode(const std::string& text);

// Runs --name-chord or --chord-shapes (`tool`) on the arguments after it. Returns the exit
// status; usage errors are reported on `err` with the text of `usage`.
int RunChordTool(const std::string& tool, const std::vector<std::string>& arguments,
                 std::ostream& out, std::ostream& err, const char* usage);

} // namespace fw

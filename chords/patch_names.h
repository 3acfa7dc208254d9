#pragma once
// The General MIDI level 1 instrument names as the instrument list shows them: the program
// number counted from 1, right-aligned in three characters, a space and the name, e.g.
// "  1 Acoustic Grand", "106 Banjo". Nineteen names keep the program's own historic spellings
// ("Accordian", "Skakuhachi", "Orchestral Strings" for program 47, ...), which song files and
// settings written by older versions store as captions.

#include <array>
#include <string>

namespace fw {

inline constexpr int PatchCount = 128;
inline constexpr int BanjoPatch = 105; // program 106, counted from 0

// Entry n - 1 is the text of program n (1..128).
const std::array<const char*, PatchCount>& PatchNames();

// The text of `program` counted from 0 (0..127); the empty text for any other value.
std::string PatchName(int program);

// `patch` brought into 0..127, the program numbers MIDI can carry: a value outside goes to the
// nearer end (a song's "*Info 2:-1" reads 255 and plays program 127). The live output and the
// MIDI file both use it, so a song sounds the same played and exported.
constexpr int PlayablePatch(int patch) {
    return patch < 0 ? 0 : patch > PatchCount - 1 ? PatchCount - 1 : patch;
}

} // namespace fw

#pragma once
// A parsed chord line. Arrays are indexed by string number 1..5 (index 0 is unused):
// string 1 is the D string (reference pitch 62), string 5 the short drone string (67).

#include <array>
#include <cstdint>
#include <string>

namespace fw {

constexpr int MaxFret = 22;    // highest fret position the neck shows
constexpr int NoFret = -1;     // string not played / no hammer-on
constexpr std::uint8_t NoNote = 255;

using FretArray = std::array<int, 6>;
using NoteArray = std::array<std::uint8_t, 6>;

// Reference pitches (open G tuning) of strings 1..5.
constexpr std::array<int, 6> OpenPitch = {0, 62, 59, 55, 50, 67};

// The letter each string is called by in messages, strings 1..5.
constexpr std::array<const char*, 6> StringLetter = {"", "D", "B", "G", "D", "G"};

struct ChordEntry {
    std::string Name;
    FretArray Fret{0, -1, -1, -1, -1, -1};
    NoteArray Note{255, 255, 255, 255, 255, 255};
    NoteArray HammerNote{255, 255, 255, 255, 255, 255};
    FretArray HammerFret{0, -1, -1, -1, -1, -1};
    std::string Duration;
    int DurationTicks = 0;
};

// How a hammered string sounds after its strike. Quick: the start fret for one step, a step of
// silence, the target for one step, then the string is still. Ring: the target follows the
// start fret after one step and rings to the end of the chord, as on the banjo.
enum class HammerOnSound { Quick, Ring };

inline FretArray AllNoFrets() { return {0, -1, -1, -1, -1, -1}; }
inline NoteArray AllNoNotes() { return {255, 255, 255, 255, 255, 255}; }

} // namespace fw

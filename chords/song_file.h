#pragma once
// Song files (".fwk"): four info lines, then the editor's lines.
//
//   *Info 1:<free text>
//   *Info 2:<patch, the General MIDI program counted from 0>
//   *Info 3:<TuningCode>
//   *Info 4:<tempo in beats per minute>
//   <editor lines>
//
// The info lines start with "*", so a file whose header is incomplete still loads: its info
// lines then stay in the editor as comment lines.

#include <string>
#include <string_view>
#include <vector>

namespace fw {

inline constexpr int SongHeaderLines = 4;
inline constexpr int DefaultPatch = 105; // Banjo: the value before any song is read
inline constexpr int DefaultTuning = 55555;
inline constexpr int DefaultTempo = 120;
inline constexpr int InvalidPatchValue = 25; // "*Info 2:" followed by something not a number
inline constexpr int MinTempo = 1;
inline constexpr int MaxTempo = 500;
inline constexpr std::string_view DefaultSongInfoText = "Fretwick song";

// What the first four lines of a song say. A setting whose marker is missing keeps the value
// it had before loading, which is the default here (patch 105, tuning 55555, tempo 120).
struct SongHeader {
    bool hasPatch = false;      // line 2 starts with "*Info 2:"
    int patch = DefaultPatch;   // low 8 bits of the value; 25 when it is not an integer
    bool hasTuning = false;     // line 3 starts with "*Info 3:"
    int tuning = DefaultTuning; // the value as written; 55555 when it is not an integer
    bool hasTempo = false;      // line 4 starts with "*Info 4:"
    int tempo = DefaultTempo;   // clamped to 1..500; 120 when it is not an integer
    // All four markers were found: the four info lines are removed from the editor.
    bool headerComplete = false;
};

// Reads the header from a file's lines. Each marker is the first 8 characters of its own line,
// compared case-sensitively ("*INFO 2:" is not one, nor is "*Info 3:" on line 2); the value is
// characters 9 to 28 of the line, trimmed and read with ReadInteger.
SongHeader ReadSongHeader(const std::vector<std::string>& lines);

// The lines the editor shows after loading: all lines when the header is incomplete, else all
// but the first four.
std::vector<std::string> SongEditorLines(const std::vector<std::string>& lines,
                                         const SongHeader& header);

// The text of a song file: the four info lines ("*Info 1:" + `infoText`, with any line break
// in it turned into a space; then patch, tuning and tempo in decimal) followed by the editor's
// lines, each ended by CR LF. Reading it back with SplitLines and ReadSongHeader gives the same
// lines, and the same patch (0..255), tuning and tempo (1..500). Loading should therefore put
// the SplitLines lines into the editor as its lines: then a document that ends with an empty
// line keeps it, and one that does not never gains one, however often it is saved and opened.
std::string SongFileText(const std::vector<std::string>& lines, int patch, int tuning, int tempo,
                         std::string_view infoText = DefaultSongInfoText);

} // namespace fw

#pragma once
// The chord lines the benchmarks build their long songs from: plain chords, hammer-ons,
// pull-offs, rests, a comment and a blank line (a measure every twelve lines), repeated; and
// parsing a song's lines as the editor does.

#include "chords/chord_parser.h"

#include <array>
#include <string>
#include <vector>

namespace fw::bench {

inline const std::array<const char*, 12>& SongMixLines() {
    static const std::array<const char*, 12> lines = {
        "G, 0, 0, 0, 0, 0, Q",
        "C, x, 2, 0, 1, 2, .e",
        "*Verse",
        "Slide, 0, 2-4, 0, 0, 0, H",
        "D7, 0, 0, 2, 1, 0, S",
        "Pull, 0, 0, 0, 0, 4-2, S",
        "",
        "Em,x,2,0,0,0,Q",
        "Rest , x, x, x, x, x, S",
        "H, 0, 0, 0, 0-1, 0-2, E",
        "G,0,0,0,0,22,W",
        "Am7, x, 2, 2, 1, 2, .T",
    };
    return lines;
}

// The entries of `lines` plus the blank entry after the last line, as the editor parses them.
inline std::vector<ChordEntry> ParseSongLines(const std::vector<std::string>& lines) {
    std::vector<ChordEntry> entries;
    entries.reserve(lines.size() + 1);
    for (std::size_t i = 0; i <= lines.size(); ++i)
        entries.push_back(
            ParseChordText(i < lines.size() ? lines[i] : "", static_cast<int>(i)).entry);
    return entries;
}

} // namespace fw::bench

#pragma once
// The chord lines the benchmarks build their long songs from: plain chords, hammer-ons,
// pull-offs, rests, a comment and a blank line (a measure every twelve lines), repeated.

#include <array>

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

} // namespace fw::bench

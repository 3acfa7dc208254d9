#pragma once
// A song file read the way the program opens it, for the tools that export it without a
// window: the chord entries of its editor lines with the song's patch, tuning and tempo.

#include "chords/chord_entry.h"

#include <string>
#include <vector>

namespace fw {

struct SongForExport {
    std::vector<std::string> lines;  // the editor's lines, without the song's info lines
    std::vector<ChordEntry> entries; // one per editor line, plus the blank one after the last
    std::vector<std::string> errors; // the parser's texts, in line order; entries is then empty
    int patch = 105;
    int tuning = 55555;
    std::array<int, 6> tuningOffsets{};
    int tempo = 120;
};

// Reads and parses the song at `path`. Returns false with `error` set when the file cannot be
// read; lines in error are listed in `song.errors`.
bool ReadSongForExport(const std::string& path, SongForExport& song, std::string& error);

} // namespace fw

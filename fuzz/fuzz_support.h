#pragma once
// Shared pieces of the fuzz targets: a property check that stops the run with a message, and a
// song made from raw bytes the way the program opens a file.

#include "chords/chord_parser.h"
#include "chords/song_file.h"
#include "chords/text_file.h"
#include "chords/tuning.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace fw::fuzz {

// A broken property is a finding: print what broke and abort, so libFuzzer saves the input.
#define FUZZ_CHECK(condition, what)                                                                \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "Property broken at %s:%d: %s\n", __FILE__, __LINE__, what);      \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A song read from a file's bytes: the editor's lines, their entries (plus the blank one after
// the last line) and the header's settings. `clean` is false when a line is in error.
struct FuzzSong {
    std::vector<std::string> lines;
    std::vector<ChordEntry> entries;
    bool clean = true;
    int patch = DefaultPatch;
    int tempo = DefaultTempo;
    std::array<int, 6> offsets{};
};

inline FuzzSong SongFromBytes(std::string_view bytes) {
    FuzzSong song;
    const std::vector<std::string> fileLines = SplitLines(DecodeText(bytes));
    const SongHeader header = ReadSongHeader(fileLines);
    song.patch = header.patch;
    song.tempo = header.tempo;
    song.offsets = TuningOffsets(RepairedTuningCode(header.tuning));
    song.lines = SongEditorLines(fileLines, header);
    for (std::size_t i = 0; i <= song.lines.size(); ++i) {
        const std::string_view line = i < song.lines.size() ? std::string_view(song.lines[i]) : "";
        ParsedLine parsed = ParseChordText(line, static_cast<int>(i));
        song.clean = song.clean && parsed.ok();
        song.entries.push_back(std::move(parsed.entry));
    }
    return song;
}

// The number of notes a chord entry strikes: its played strings and its hammer-on targets.
inline int StruckNotes(const ChordEntry& entry) {
    int notes = 0;
    for (int s = 1; s <= 5; ++s)
        notes += (entry.Note[s] != NoNote) + (entry.HammerNote[s] != NoNote);
    return notes;
}

} // namespace fw::fuzz

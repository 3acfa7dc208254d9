#pragma once
// Helpers shared by the MIDI writer tests: songs from chord-line texts and readable bytes.

#include "chords/chord_parser.h"
#include "export/midi_events.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace fw::test {

// Offset of the first chord event in a file: header (14), tempo track (8 + 22), note track
// chunk head (8) and its name event (12).
constexpr std::size_t FirstChordEventAt = 64;

// Open G: every tuning offset 0.
constexpr std::array<int, 6> NoOffsets{0, 0, 0, 0, 0, 0};

// Parses each text as an editor line and adds the blank entry that follows the last line.
inline std::vector<ChordEntry> Song(std::initializer_list<std::string_view> lines) {
    std::vector<ChordEntry> entries;
    int index = 0;
    for (std::string_view line : lines) {
        ParsedLine parsed = ParseChordText(line, index++);
        EXPECT_TRUE(parsed.ok()) << parsed.error;
        entries.push_back(parsed.entry);
    }
    entries.push_back(ParseChordText("", index).entry);
    return entries;
}

inline ChordEntry Chord(std::string_view line) {
    ParsedLine parsed = ParseChordText(line, 0);
    EXPECT_TRUE(parsed.isChord()) << line << ": " << parsed.error;
    return parsed.entry;
}

// "00 90 3E 7F" for the bytes from `begin` to `end`.
inline std::string Hex(const MidiBytes& bytes, std::size_t begin = 0,
                       std::size_t end = std::string::npos) {
    std::string text;
    end = std::min(end, bytes.size());
    for (std::size_t i = begin; i < end; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", bytes[i]);
        if (!text.empty())
            text += ' ';
        text += hex;
    }
    return text;
}

// Joins hex groups written as separate texts, as the events are listed: {"00 3E 7F", "06 3E 00"}.
inline std::string Hex(std::initializer_list<std::string_view> groups) {
    std::string text;
    for (std::string_view group : groups) {
        if (!text.empty())
            text += ' ';
        text += group;
    }
    return text;
}

// The chord events of a whole file: everything between the track name and the end of track.
inline std::string ChordEventsHex(const MidiBytes& file) {
    return Hex(file, FirstChordEventAt, file.size() - 4);
}

inline std::uint32_t Word32At(const MidiBytes& bytes, std::size_t at) {
    return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
           (std::uint32_t{bytes[at + 2]} << 8) | std::uint32_t{bytes[at + 3]};
}

} // namespace fw::test

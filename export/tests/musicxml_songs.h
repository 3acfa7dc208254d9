#pragma once
// Songs for the MusicXML tests, each with what the song file would give the export: its editor
// lines, tempo, patch, tuning and file name. Four of them have golden files, checked by hand.

#include "export/musicxml_writer.h"

#include "chords/chord_parser.h"
#include "chords/tuning.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace fw::test {

struct ScoreCase {
    const char* label;
    std::vector<std::string> lines;
    int tempo = 120;
    int patch = 105;
    int tuning = 55555;
    const char* songPath = "";
    const char* golden = nullptr; // file name under tests/golden, when there is one
};

// The entries of the lines (plus the blank entry after the last) and the score made of them.
// `song.entries` points into `entries`, so the pair moves but is never copied.
struct ScoreInput {
    ScoreInput() = default;
    ScoreInput(ScoreInput&&) = default;
    ScoreInput(const ScoreInput&) = delete;
    std::vector<ChordEntry> entries;
    MusicXmlSong song;
};

inline ScoreInput MakeScore(const ScoreCase& c) {
    ScoreInput input;
    int index = 0;
    for (const std::string& line : c.lines) {
        ParsedLine parsed = ParseChordText(line, index++);
        EXPECT_TRUE(parsed.ok()) << parsed.error;
        input.entries.push_back(parsed.entry);
    }
    input.entries.push_back(ParseChordText("", index).entry);
    input.song.entries = input.entries;
    input.song.tempo = c.tempo;
    input.song.patch = c.patch;
    input.song.tuningOffsets = TuningOffsets(c.tuning);
    SetTitlesFromLines(input.song, c.lines, c.songPath);
    return input;
}

// Every duration, at odd places in the measure, with hammer-ons and pull-offs on every string,
// rests, and chords across one and across two barlines.
inline std::vector<std::string> LongSong() {
    static const char* const durations[] = {"Q",  ".E", "S",  ".W", "T",  "F",  ".F", "E",
                                            ".S", "H",  ".T", "W",  ".Q", ".H", "S"};
    static const char* const shapes[] = {"0, 0, 0, 0, 0",   "x, 2, 0, 1, 2",   "0-2, x, x, x, 0",
                                         "x, 2-4, x, x, x", "x, x, x, x, x",   "3, 0, 2-0, 1, 0",
                                         "x, x, x, 3-1, x", "7, x, x, x, 2-5", "x, 5, 4, 3-3, x",
                                         "0, 0, x, x, 22"};
    std::vector<std::string> lines{"* Title: Long Song", "*Sub: every length"};
    for (int i = 0; i < 45; ++i) {
        std::string line = "C"; // appended, not "C" + ...: GCC 12 -O3 warns falsely there
        line += std::to_string(i) + ", " + shapes[i % 10] + ", " + durations[i % 15];
        lines.push_back(line);
        if (i % 7 == 3)
            lines.push_back(i % 2 ? "" : "* a comment between chords");
    }
    return lines;
}

inline std::vector<ScoreCase> ScoreCases() {
    return {
        {"worked_example",
         {"* Title: Worked Example", "* Sub: Banjo & Friends", "G, 0, 0, 0, 0, 0, Q",
          "C, x, 2, 0, 1, 2, H", "", "Rest, x, x, x, x, x, Q"},
         120,
         105,
         55555,
         "/songs/worked.fwk",
         "worked_example.musicxml"},
        {"hammer_time",
         {"Slide, 0-2, 2-4, x, x, 4-2, H", "G, 0, x, x, 0, 0, H"},
         90,
         33,
         55555,
         "/home/me/Hammer Time.fwk",
         "hammer_time.musicxml"},
        {"ties_and_dots",
         {"*title: Ties <&> Dots", "A, x, x, x, x, 0, .H", "B, x, x, x, 1, x, .Q",
          "Rest, x, x, x, x, x, .E", "F, 3, x, x, x, x, .W"},
         60,
         105,
         64556,
         "ties.fwk",
         "ties_and_dots.musicxml"},
        // A hammer-on chord across a barline: its start frets tied over it, the hammered
        // string slurred to its target, the other strings tied on under the target.
        {"held_strings",
         {"* Title: Held Strings", "Rest, x, x, x, x, x, .H", "C, x, 2, 0-2, 1, 2, W"},
         120,
         105,
         55555,
         "held.fwk",
         "held_strings.musicxml"},
        {"long_song_d_tuning", LongSong(), 140, 105, 45435, "long.fwk"},
        {"long_song_slow_c_tuning", LongSong(), 47, 24, 53555, "long.fwk"},
    };
}

inline void PrintTo(const ScoreCase& c, std::ostream* out) {
    *out << c.label;
}

inline std::string CaseName(const ::testing::TestParamInfo<ScoreCase>& info) {
    return info.param.label;
}

} // namespace fw::test

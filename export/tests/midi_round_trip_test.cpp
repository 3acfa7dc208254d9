// Reads a written file back with an independent MIDI reader (Python's mido) and checks what a
// sequencer would see: the tracks, the program, the tempo, and every note with its times.

#include "export/midi_file_writer.h"

#include "chords/song_file.h"
#include "chords/text_file.h"
#include "chords/tuning.h"

#include "midi_test_support.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#ifndef FRETWICK_EXPORT_TEST_DIR
#error "FRETWICK_EXPORT_TEST_DIR must name the folder of read_midi.py"
#endif

namespace fw {
namespace {

constexpr const char* Python = "/usr/bin/python3";

bool MidoAvailable() {
    const std::string command = std::string(Python) + " -c 'import mido' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// Runs the reader on `path`; returns its output lines, or fails the test.
std::vector<std::string> ReadBack(const std::string& path) {
    const std::string command =
        std::string(Python) + " '" FRETWICK_EXPORT_TEST_DIR "/read_midi.py' '" + path + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "could not run " << command;
        return {};
    }
    std::string output;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        output += buffer;
    const int status = ::pclose(pipe);
    EXPECT_EQ(status, 0) << output;
    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

struct Sounding {
    int pitch;
    int start;
    int end;
    bool operator==(const Sounding&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Sounding& s) {
    return out << s.pitch << "@" << s.start << "-" << s.end;
}

// Pairs each note-on with velocity above 0 with the next velocity-0 event of its pitch, in the
// order the notes start. Every note must have ended by the end of the track.
std::vector<Sounding> NotesOfTrack1(const std::vector<std::string>& lines, int& endTick) {
    std::vector<Sounding> notes;
    std::map<int, std::size_t> open; // pitch -> index in notes
    endTick = -1;
    for (const std::string& line : lines) {
        std::istringstream in(line);
        int track = 0, tick = 0;
        std::string kind;
        in >> track >> tick >> kind;
        if (track != 1)
            continue;
        if (kind == "end_of_track")
            endTick = tick;
        if (kind != "note_on")
            continue;
        int channel = -1, pitch = 0, velocity = 0;
        in >> channel >> pitch >> velocity;
        EXPECT_EQ(channel, 0) << line;
        if (velocity > 0) {
            EXPECT_EQ(velocity, 127) << line;
            EXPECT_FALSE(open.contains(pitch)) << "restruck while sounding: " << line;
            open[pitch] = notes.size();
            notes.push_back({pitch, tick, -1});
        } else if (auto it = open.find(pitch); it != open.end()) {
            notes[it->second].end = tick;
            open.erase(it);
        }
    }
    EXPECT_TRUE(open.empty()) << open.size() << " notes never end";
    return notes;
}

TEST(MidiRoundTripTest, AnIndependentReaderSeesTheSong) {
    // The reader is a required tool (python3-mido in scripts/deps.sh): without it the test fails.
    ASSERT_TRUE(MidoAvailable()) << Python << " cannot import mido; install python3-mido";
    test::TempFolder folder;
    const std::string path = folder / "song.mid";
    const auto song = test::Song({
        "*Intro",
        "G, 0, 0, 0, 0, 0, Q", // 96 ticks
        "",
        "C, x, 2, 0, 1, 2, .E",      // 72
        "Rest , x, x, x, x, x, S",   // 24
        "Slide, 0, 2-3, 0, 0, 0, H", // hammer-on on string 4, the others ring 192 ticks
        "Pull, x, x, x, x, 4-2, .q", // pull-off on string 1, then silence to 144 ticks
        "D7, x, 0, 2, 1, 0, w",      // 384
        "*end",
    });
    // Tuning 45435: strings 1..5 shifted by 0, -2, -1, 0, -1.
    const std::array<int, 6> offsets{0, 0, -2, -1, 0, -1};
    std::string error;
    ASSERT_TRUE(WriteMidiFile(path, song, 90, 33, offsets, error)) << error;

    const std::vector<std::string> lines = ReadBack(path);
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], "file 1 96 2");
    EXPECT_EQ(lines[1], "0 0 program_change 0 33");
    EXPECT_EQ(lines[2], "0 0 time_signature 4 4 24 8");
    EXPECT_EQ(lines[3], "0 0 set_tempo 666666");
    EXPECT_EQ(lines[4], "0 0 end_of_track");
    EXPECT_EQ(lines[5], "1 0 track_name Fretwick");

    int endTick = 0;
    const std::vector<Sounding> notes = NotesOfTrack1(lines, endTick);
    const std::vector<Sounding> expected{
        {62, 0, 96},    {57, 0, 96},    {54, 0, 96},    {50, 0, 96},    {66, 0, 96}, // G
        {64, 96, 168},  {58, 96, 168},  {54, 96, 168},  {52, 96, 168},               // C
        {62, 192, 384}, {57, 192, 384}, {54, 192, 384}, {66, 192, 384}, {52, 192, 200},
        {53, 208, 216},                                                 // Slide
        {66, 384, 392}, {64, 400, 408},                                 // Pull: 66 first
        {62, 528, 912}, {58, 528, 912}, {56, 528, 912}, {50, 528, 912}, // D7
    };
    EXPECT_EQ(notes, expected);
    EXPECT_EQ(endTick, 912);
}

struct OnsetCase {
    std::string name;
    int tempo;
};

class MidiChordOnsetTest : public ::testing::TestWithParam<OnsetCase> {};

// Every chord, with or without a hammer-on or pull-off, starts at the sum of the durations
// before it: its start frets sound there, its targets sound inside its length, and all its
// notes have stopped when the next chord starts.
TEST_P(MidiChordOnsetTest, EveryChordStartsAtTheSumOfTheDurationsBeforeIt) {
    ASSERT_TRUE(MidoAvailable()) << Python << " cannot import mido; install python3-mido";
    const std::vector<std::string_view> lines{
        "G, 0, 0, 0, 0, 0, E",         "Slide, 0, 2-4, 0, 0, 0, E", "Pull, x, x, x, x, 4-2, E",
        "Low, x, 3-1, x, x, x, .E",    "Two, 0, 2-4, 0, 0-2, 0, Q", "Rest, x, x, x, x, x, S",
        "HP, x, 0-2, x, x, 2-0, Q",    "C, x, 2, 0, 1, 2, .Q",      "Fifth, 2-0, x, x, x, x, H",
        "Both, x, x, 2-0, x, 0-2, .E", "D, x, 0, 2, 3, 4, W",
    };
    test::TempFolder folder;
    const std::string path = folder / "onsets.mid";
    std::vector<ChordEntry> song;
    for (std::string_view line : lines)
        song.push_back(test::Chord(line));
    std::string error;
    ASSERT_TRUE(WriteMidiFile(path, song, GetParam().tempo, 0, test::NoOffsets, error)) << error;

    int endTick = 0;
    const std::vector<Sounding> notes = NotesOfTrack1(ReadBack(path), endTick);
    std::size_t next = 0; // notes are listed in the order they start
    int start = 0;
    for (const ChordEntry& chord : song) {
        const int length = DurationValue(chord.Duration, MidiWholeNoteTicks);
        std::multiset<int> struck, targets, sounded, hammered;
        for (int k = 1; k <= 5; ++k) {
            if (chord.Note[k] != NoNote)
                struck.insert(chord.Note[k]);
            if (chord.HammerNote[k] != NoNote)
                targets.insert(chord.HammerNote[k]);
        }
        for (; next < notes.size() && notes[next].start < start + length; ++next) {
            const Sounding& note = notes[next];
            EXPECT_GE(note.start, start) << chord.Name << " " << note;
            EXPECT_LE(note.end, start + length) << chord.Name << " " << note;
            (note.start == start ? sounded : hammered).insert(note.pitch);
        }
        EXPECT_EQ(sounded, struck) << chord.Name << " at tick " << start;
        EXPECT_EQ(hammered, targets) << chord.Name << " at tick " << start;
        start += length;
    }
    EXPECT_EQ(next, notes.size());
    EXPECT_EQ(endTick, start);
}

INSTANTIATE_TEST_SUITE_P(Tempos, MidiChordOnsetTest,
                         ::testing::Values(OnsetCase{"Tempo60", 60}, OnsetCase{"Tempo90", 90},
                                           OnsetCase{"Tempo120", 120}, OnsetCase{"Tempo500", 500}),
                         [](const auto& info) { return info.param.name; });

// What a player hears from each chord, worked out from the rules of a chord: without a hammer-on
// every played string sounds the whole chord; with one the other strings ring the whole chord,
// a hammered string sounds its start fret from 0 to g and its target from 2g to 3g (ringing:
// from g to the end), and the chord lasts its duration, or its steps when they are longer.
std::vector<Sounding> HeardNotes(const std::vector<ChordEntry>& song, int tempo,
                                 const std::array<int, 6>& offsets, HammerOnSound sound,
                                 int& endTick) {
    const int g = HammerGap(tempo);
    const bool ring = sound == HammerOnSound::Ring;
    std::vector<Sounding> notes;
    int start = 0;
    for (const ChordEntry& chord : song) {
        if (KindOf(chord) != LineKind::Chord)
            continue;
        const int d = DurationValue(chord.Duration, MidiWholeNoteTicks);
        bool hammer = false;
        for (int k = 1; k <= 5; ++k)
            hammer = hammer || chord.HammerNote[k] != NoNote;
        const int length = hammer ? std::max(d, (ring ? 2 : 3) * g) : d;
        for (int k = 1; k <= 5; ++k) {
            if (chord.Note[k] == NoNote)
                continue;
            const int pitch = chord.Note[k] + offsets[k];
            if (chord.HammerNote[k] == NoNote) {
                notes.push_back({pitch, start, start + length});
                continue;
            }
            const int target = chord.HammerNote[k] + offsets[k];
            notes.push_back({pitch, start, start + g});
            notes.push_back(ring ? Sounding{target, start + g, start + length}
                                 : Sounding{target, start + 2 * g, start + 3 * g});
        }
        start += length;
    }
    endTick = start;
    return notes;
}

// Every start and end of a note as (tick, pitch, start or end), sorted: two strings in unison
// share one key, so which start an end belongs to is left open. An end without a sounding note
// of its pitch (the silent middle C that fills a chord) is no note's end.
using NoteEdge = std::tuple<int, int, bool>;

std::vector<NoteEdge> EdgesOfTrack1(const std::vector<std::string>& lines, int& endTick) {
    std::vector<NoteEdge> edges;
    std::map<int, int> open; // pitch -> notes sounding
    for (const std::string& line : lines) {
        std::istringstream in(line);
        int track = 0, tick = 0, channel = 0, pitch = 0, velocity = 0;
        std::string kind;
        in >> track >> tick >> kind >> channel >> pitch >> velocity;
        if (track == 1 && kind == "end_of_track")
            endTick = tick;
        if (track != 1 || kind != "note_on")
            continue;
        if (velocity > 0)
            ++open[pitch];
        else if (open[pitch] > 0)
            --open[pitch];
        else
            continue;
        edges.emplace_back(tick, pitch, velocity > 0);
    }
    std::sort(edges.begin(), edges.end());
    return edges;
}

std::vector<NoteEdge> EdgesOf(const std::vector<Sounding>& notes) {
    std::vector<NoteEdge> edges;
    for (const Sounding& note : notes) {
        edges.emplace_back(note.start, note.pitch, true);
        edges.emplace_back(note.end, note.pitch, false);
    }
    std::sort(edges.begin(), edges.end());
    return edges;
}

struct GoldenSongCase {
    std::string name;
    std::string file;
    HammerOnSound sound;
};

class MidiGoldenSongTest : public ::testing::TestWithParam<GoldenSongCase> {};

// The songs of the golden folder, exported as the program exports them, read back note by note.
TEST_P(MidiGoldenSongTest, EveryNoteStartsAndEndsAsThePlayerPlaysIt) {
    ASSERT_TRUE(MidoAvailable()) << Python << " cannot import mido; install python3-mido";
    const GoldenSongCase& c = GetParam();
    std::string text, error;
    ASSERT_TRUE(ReadTextFile(FRETWICK_EXPORT_TEST_DIR "/golden/" + c.file, text, error)) << error;
    const std::vector<std::string> fileLines = SplitLines(text);
    const SongHeader header = ReadSongHeader(fileLines);
    std::vector<ChordEntry> song;
    int index = 0;
    for (const std::string& line : SongEditorLines(fileLines, header))
        song.push_back(ParseChordText(line, index++).entry);
    const std::array<int, 6> offsets = TuningOffsets(header.tuning);
    test::TempFolder folder;
    const std::string path = folder / "golden.mid";
    ASSERT_TRUE(WriteMidiFile(path, song, header.tempo, header.patch, offsets, error, c.sound))
        << error;

    int endTick = 0, heardEnd = 0;
    const std::vector<NoteEdge> edges = EdgesOfTrack1(ReadBack(path), endTick);
    const std::vector<Sounding> heard = HeardNotes(song, header.tempo, offsets, c.sound, heardEnd);
    ASSERT_EQ(edges.size(), 2 * heard.size());
    EXPECT_EQ(edges, EdgesOf(heard));
    EXPECT_EQ(endTick, heardEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Songs, MidiGoldenSongTest,
    ::testing::Values(GoldenSongCase{"CrippleCreek", "cripple_creek.fwk", HammerOnSound::Quick},
                      GoldenSongCase{"CrippleCreekRinging", "cripple_creek.fwk",
                                     HammerOnSound::Ring},
                      GoldenSongCase{"Example", "example.fwk", HammerOnSound::Quick},
                      GoldenSongCase{"ExampleRinging", "example.fwk", HammerOnSound::Ring},
                      GoldenSongCase{"Crowded", "crowded.fwk", HammerOnSound::Quick}),
    [](const auto& info) { return info.param.name; });

} // namespace
} // namespace fw

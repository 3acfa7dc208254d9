// Reads a written file back with an independent MIDI reader (Python's mido) and checks what a
// sequencer would see: the tracks, the program, the tempo, and every note with its times.

#include "export/midi_file_writer.h"

#include "midi_test_support.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
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
        "Slide, 0, 2-4, 0, 0, 0, H", // hammer-on on string 4: 8 + 168 + 8
        "Pull, x, x, x, x, 4-2, .q", // pull-off on string 1: 8 + 8 + 120 + 8
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
        {62, 192, 200}, {57, 192, 368}, {54, 192, 200}, {52, 192, 200}, {66, 192, 200},
        {54, 368, 376},                                                 // Slide
        {64, 376, 384}, {66, 384, 392},                                 // Pull
        {62, 520, 904}, {58, 520, 904}, {56, 520, 904}, {50, 520, 904}, // D7
    };
    EXPECT_EQ(notes, expected);
    EXPECT_EQ(endTick, 904);
}

} // namespace
} // namespace fw

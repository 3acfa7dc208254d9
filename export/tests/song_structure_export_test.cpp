// A song with structure markers and triplets through every export: the MIDI file read back
// with an independent reader (mido), the MusicXML checked for its repeat, ending, meter, tempo
// and tuplet elements and parsed by Python's XML parser, and the ASCII signs.

#include "export/ascii_tab.h"
#include "export/midi_file_writer.h"
#include "export/musicxml_writer.h"

#include "midi_test_support.h"
#include "tab_test_support.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fw {
namespace {

// A 3/4 tune with a pickup, an A part with two endings and a repeated B part with triplets,
// slower from the B part on.
const std::vector<std::string> Waltz = {"* Time: 3/4",
                                        "* Pickup: 1/4",
                                        "D, x, x, x, x, 0, Q",
                                        "* Repeat: start",
                                        "G, 0, 0, 0, 0, 0, Q",
                                        "G, x, x, 0, x, x, Q",
                                        "G, x, x, x, 0, x, Q",
                                        "",
                                        "C, x, 2, 0, 1, 2, .H",
                                        "* Ending: 1",
                                        "D7, x, 0, 2, 1, 0, H",
                                        "D, x, x, x, x, 4, Q",
                                        "* Repeat: end",
                                        "* Ending: 2",
                                        "G, 0, 0, 0, 0, 0, .H",
                                        "",
                                        "* Tempo: 90",
                                        "* Repeat: start",
                                        "Em, x, 2, 0, 0, 2, E3",
                                        "Em, x, x, 0, x, x, E3",
                                        "Em, x, x, x, 0, x, E3",
                                        "C, x, 2, 0, 1, 2, H",
                                        "",
                                        "G, 0, 0, 0, 0, 0, .H",
                                        "* Repeat: end"};

std::string RunCommand(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return output;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        output += buffer;
    EXPECT_EQ(::pclose(pipe), 0) << command << "\n" << output;
    return output;
}

TEST(SongStructureExport, MidiPlaysRepeatsEndingsAndTheTempoChange) {
    test::TempFolder folder;
    const std::string path = folder / "waltz.mid";
    std::string error;
    ASSERT_TRUE(WriteMidiFile(path, test::ParseLines(Waltz), 120, 105, test::NoOffsets, error));
    const std::string events =
        RunCommand("/usr/bin/python3 '" FRETWICK_EXPORT_TEST_DIR "/read_midi.py' '" + path + "'");
    EXPECT_NE(events.find("0 0 time_signature 3 4 24 8\n"), std::string::npos) << events;
    EXPECT_NE(events.find("0 0 set_tempo 500000\n0 1824 set_tempo 666666\n"), std::string::npos);
    // The onsets of the chords: pickup, A with ending 1, A again with ending 2, B twice.
    std::string onsets;
    std::istringstream in(events);
    int last = -1;
    for (std::string line; std::getline(in, line);) {
        int track = 0, tick = 0, note = 0, velocity = 0, channel = 0;
        char kind[32] = {};
        if (std::sscanf(line.c_str(), "%d %d %31s %d %d %d", &track, &tick, kind, &channel, &note,
                        &velocity) == 6 &&
            track == 1 && std::string(kind) == "note_on" && velocity > 0 && tick != last) {
            onsets += std::to_string(tick) + " ";
            last = tick;
        }
    }
    EXPECT_EQ(onsets, "0 96 192 288 384 672 864 960 1056 1152 1248 1536 1824 1856 1888 1920 2112 "
                      "2400 2432 2464 2496 2688 ");
    EXPECT_NE(events.find("1 2976 end_of_track"), std::string::npos);
}

TEST(SongStructureExport, MusicXmlHasRepeatsEndingsMeterTempoAndTuplets) {
    const std::vector<ChordEntry> entries = test::ParseLines(Waltz);
    MusicXmlSong song{entries, 120, 105, test::NoOffsets, 0, "Waltz", {}};
    const std::string xml = BuildMusicXml(song);
    const auto count = [&xml](const std::string& what) {
        int n = 0;
        for (std::size_t at = xml.find(what); at != std::string::npos; at = xml.find(what, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("<measure number=\"0\" implicit=\"yes\">"), 1);
    EXPECT_EQ(count("<time><beats>3</beats><beat-type>4</beat-type></time>"), 1);
    EXPECT_EQ(count("<repeat direction=\"forward\"/>"), 2);
    EXPECT_EQ(count("<repeat direction=\"backward\"/>"), 2);
    EXPECT_EQ(count("<ending number=\"1\" type=\"start\">1.</ending>"), 1);
    EXPECT_EQ(count("<ending number=\"1\" type=\"stop\"/>"), 1);
    EXPECT_EQ(count("<ending number=\"2\" type=\"discontinue\"/>"), 1);
    EXPECT_EQ(count("<sound tempo=\"90\"/>"), 1);
    EXPECT_EQ(count("<per-minute>90</per-minute>"), 1);
    EXPECT_EQ(count("<tuplet type=\"start\" bracket=\"yes\"/>"), 1);
    EXPECT_EQ(count("<tuplet type=\"stop\"/>"), 1);
    EXPECT_EQ(count("<divisions>96</divisions>"), 1);
    test::TempFolder folder;
    const std::string path = folder / "waltz.musicxml";
    std::ofstream(path) << xml;
    EXPECT_EQ(
        RunCommand(
            "/usr/bin/python3 -c 'import sys, xml.dom.minidom as m; "
            "print(len(m.parse(sys.argv[1]).getElementsByTagName(\"time-modification\")))' '" +
            path + "'"),
        "6\n"); // three triplet chords of two notes each
}

TEST(SongStructureExport, AsciiTablatureShowsRepeatsEndingsAndTriplets) {
    std::vector<TabItem> items = BuildTabItems(test::ParseLines(Waltz), Waltz);
    AssignMeasureSizes(items);
    const AsciiTab tab = BuildAsciiTab(items, {"Tuning", "Waltz", ""}, false);
    std::string text;
    for (const std::string& line : tab.lines)
        text += line + "\n";
    EXPECT_NE(text.find("3/4"), std::string::npos) << text;
    EXPECT_NE(text.find("|:"), std::string::npos) << text;
    EXPECT_NE(text.find(":|"), std::string::npos) << text;
    EXPECT_NE(text.find("1."), std::string::npos) << text;
    EXPECT_NE(text.find("2."), std::string::npos) << text;
}

} // namespace
} // namespace fw

// Reads exported scores back with programs the project did not write: Python's XML parser
// checks that each file is well-formed and holds the expected staff, strings and frets, and
// MuseScore 3 (Debian's musescore3) imports each file, validating it against its MusicXML
// schema, and turns it into a MIDI file whose notes (read with mido) must be the song's: every
// chord's pitches at the chord's onset and for its length, a hammer-on's target from the middle
// of its chord. Every song is converted in one run
// of MuseScore. A missing tool fails the test.

#include "export/musicxml_writer.h"

#include "musicxml_songs.h"
#include "temp_folder.h"

#include "chords/chord_parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#ifndef FRETWICK_EXPORT_TEST_DIR
#error "FRETWICK_EXPORT_TEST_DIR must name the folder of read_musicxml.py"
#endif

namespace fw {
namespace {

constexpr const char* Python = "/usr/bin/python3";
constexpr int Divisions = 32; // per quarter note, as the files state
constexpr int Measure = 4 * Divisions;

// A note as the song asks for it, times in divisions.
struct ExpectedNote {
    int onset;
    int end;
    int pitch;
    int string;
    int fret;
};

int WrittenFret(int string, int fret) {
    return string == 5 && fret > 0 ? fret + 5 : fret;
}

// Every played string starts at its chord's onset. In a chord with hammered strings the
// hammered ones sound their start fret for the first half of the chord (the larger half of an
// odd length) and their target for the rest; the other strings ring for the whole chord.
std::vector<ExpectedNote> ExpectedNotes(const MusicXmlSong& song) {
    std::vector<ExpectedNote> notes;
    int time = 0;
    for (const ChordEntry& entry : song.entries) {
        if (KindOf(entry) != LineKind::Chord)
            continue;
        const int length = DurationValue(entry.Duration, Measure);
        const int picked = length - length / 2;
        for (int k = 1; k <= 5; ++k) {
            if (entry.Note[k] == NoNote)
                continue;
            const int struck = entry.Note[k] + song.tuningOffsets[k];
            const int fret = WrittenFret(k, entry.Fret[k]);
            if (entry.HammerNote[k] == NoNote) {
                notes.push_back({time, time + length, struck, k, fret});
                continue;
            }
            notes.push_back({time, time + picked, struck, k, fret});
            notes.push_back({time + picked, time + length,
                             entry.HammerNote[k] + song.tuningOffsets[k], k,
                             WrittenFret(k, entry.HammerFret[k])});
        }
        time += length;
    }
    return notes;
}

// The reader's output lines for one song, split into words, by their first word.
using Lines = std::multimap<std::string, std::vector<std::string>>;

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

class MusicXmlReadBackTest : public ::testing::TestWithParam<test::ScoreCase> {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<test::TempFolder>();
        std::string command = std::string(Python) +
                              " '" FRETWICK_EXPORT_TEST_DIR "/read_musicxml.py' '" +
                              folder_->path().string() + "'";
        for (const test::ScoreCase& c : test::ScoreCases()) {
            const test::ScoreInput input = test::MakeScore(c);
            std::string error;
            if (!WriteMusicXmlFile(*folder_ / (std::string(c.label) + ".musicxml"), input.song,
                                   error))
                ADD_FAILURE() << error;
            command += std::string(" ") + c.label;
        }
        command += " 2>&1";
        FILE* pipe = ::popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr) << command;
        char buffer[4096];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
            output_ += buffer;
        status_ = ::pclose(pipe);
        std::istringstream in(output_);
        for (std::string line; std::getline(in, line);) {
            std::vector<std::string> words = Words(line);
            if (words.empty())
                continue;
            const std::string kind = words[0];
            if (kind == "mscore" || kind == "mscore-exit") {
                mscore_.push_back(line);
                continue;
            }
            if (words.size() < 2)
                continue;
            const std::string name = words[1];
            words.erase(words.begin(), words.begin() + 2);
            lines_[name].emplace(kind, std::move(words));
        }
    }
    static void TearDownTestSuite() { folder_.reset(); }

    static const Lines& Of(const std::string& name) { return lines_[name]; }
    static std::vector<std::vector<std::string>> All(const Lines& lines, const std::string& kind) {
        std::vector<std::vector<std::string>> found;
        auto [begin, end] = lines.equal_range(kind);
        for (auto it = begin; it != end; ++it)
            found.push_back(it->second);
        return found;
    }

    static inline std::unique_ptr<test::TempFolder> folder_;
    static inline std::string output_;
    static inline int status_ = -1;
    static inline std::vector<std::string> mscore_;
    static inline std::map<std::string, Lines> lines_;
};

TEST_P(MusicXmlReadBackTest, MuseScoreImportsTheFileWithoutComplaint) {
    ASSERT_EQ(status_, 0) << output_;
    ASSERT_FALSE(mscore_.empty()) << output_;
    EXPECT_EQ(mscore_.back(), "mscore-exit 0");
    const std::string file = std::string(GetParam().label) + ".musicxml";
    bool converted = false;
    for (const std::string& line : mscore_) {
        if (line.find(file) == std::string::npos)
            continue;
        converted = converted || line.find("convert <") != std::string::npos;
        EXPECT_EQ(line.find("is not a valid MusicXML file"), std::string::npos) << line;
        EXPECT_EQ(line.find("rror"), std::string::npos) << line;
    }
    EXPECT_TRUE(converted) << output_;
}

TEST_P(MusicXmlReadBackTest, AnXmlParserFindsTheBanjoStaff) {
    const test::ScoreInput input = test::MakeScore(GetParam());
    const Lines& lines = Of(GetParam().label);
    ASSERT_FALSE(lines.contains("xml")) << All(lines, "xml").front().back();
    ASSERT_TRUE(lines.contains("root")) << output_;
    EXPECT_EQ(All(lines, "root").front(), (std::vector<std::string>{"score-partwise", "3.1"}));
    EXPECT_EQ(All(lines, "part").front(),
              (std::vector<std::string>{"Banjo", std::to_string(GetParam().patch + 1)}));
    EXPECT_EQ(All(lines, "staff").front(), (std::vector<std::string>{"TAB", "5", "32", "4", "4"}));
    const std::string tempo = std::to_string(GetParam().tempo);
    EXPECT_EQ(All(lines, "tempo").front(), (std::vector<std::string>{tempo, tempo}));

    // Line 1 is the bottom line, the short fifth string; string 1 is on top.
    std::map<int, int> openPitchOfString;
    for (const auto& tuning : All(lines, "tuning"))
        openPitchOfString[6 - std::stoi(tuning[0])] = std::stoi(tuning[1]);
    ASSERT_EQ(openPitchOfString.size(), 5u);
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(openPitchOfString[k], OpenPitch[k] + input.song.tuningOffsets[k]) << k;

    for (const auto& measure : All(lines, "measure"))
        EXPECT_EQ(measure[1], std::to_string(Measure))
            << "measure " << measure[0] << " is not full";
}

TEST_P(MusicXmlReadBackTest, EveryNoteSitsOnItsStringAndFret) {
    const test::ScoreInput input = test::MakeScore(GetParam());
    const Lines& lines = Of(GetParam().label);
    std::map<int, int> openPitchOfString;
    for (const auto& tuning : All(lines, "tuning"))
        openPitchOfString[6 - std::stoi(tuning[0])] = std::stoi(tuning[1]);

    // Notes as the file has them, a tied chain as one note from its first onset to its end.
    using Key = std::tuple<int, int, int, int, int>; // onset, string, pitch, fret, end
    std::vector<Key> written;
    std::map<int, std::size_t> openChain; // string -> index in written
    for (const auto& note : All(lines, "note")) {
        const int onset = std::stoi(note[0]);
        EXPECT_EQ(note[1], "note") << "no grace notes";
        const int pitch = std::stoi(note[2]), string = std::stoi(note[3]);
        const int fret = std::stoi(note[4]), duration = std::stoi(note[6]);
        const std::string& ties = note[5];
        const int neckOffset = string == 5 && fret > 0 ? 5 : 0;
        EXPECT_EQ(pitch, openPitchOfString[string] + fret - neckOffset)
            << "string " << string << " fret " << fret << " at " << onset;
        if (ties.starts_with("stop")) {
            ASSERT_TRUE(openChain.contains(string)) << "a tie ends where none started";
            Key& chain = written[openChain[string]];
            EXPECT_EQ(std::get<2>(chain), pitch);
            EXPECT_EQ(std::get<4>(chain), onset) << "the tied note does not follow on";
            std::get<4>(chain) = onset + duration;
        } else {
            written.emplace_back(onset, string, pitch, fret, onset + duration);
        }
        if (ties.ends_with("start"))
            openChain[string] = ties == "start" ? written.size() - 1 : openChain[string];
        else
            openChain.erase(string);
    }
    std::vector<Key> expected;
    for (const ExpectedNote& n : ExpectedNotes(input.song))
        expected.emplace_back(n.onset, n.string, n.pitch, n.fret, n.end);
    std::sort(written.begin(), written.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(written, expected);
}

TEST_P(MusicXmlReadBackTest, MuseScorePlaysTheSongsNotesAtTheirTimes) {
    const test::ScoreInput input = test::MakeScore(GetParam());
    const Lines& lines = Of(GetParam().label);
    ASSERT_TRUE(lines.contains("midi")) << "MuseScore wrote no MIDI file\n" << output_;
    const int ticksPerQuarter = std::stoi(All(lines, "midi").front()[0]);
    ASSERT_EQ(ticksPerQuarter % Divisions, 0);
    const int scale = ticksPerQuarter / Divisions;

    const auto tempos = All(lines, "miditempo");
    ASSERT_EQ(tempos.size(), 1u);
    const double microseconds = 60e6 / GetParam().tempo;
    EXPECT_NEAR(std::stod(tempos.front()[0]), microseconds, 1.0);

    struct Played {
        int on, off, pitch;
        bool matched = false;
    };
    std::vector<Played> played;
    for (const auto& note : All(lines, "midinote"))
        played.push_back({std::stoi(note[0]), std::stoi(note[1]), std::stoi(note[2])});

    // Every string of a chord, hammered or not, sounds at the chord's onset; a hammer-on
    // target at the middle of its chord. Every note lasts to where the song ends it (MuseScore
    // ends notes a tick or two early).
    for (const ExpectedNote& n : ExpectedNotes(input.song)) {
        const int onset = n.onset * scale, end = n.end * scale;
        const auto fits = [&](const Played& p) {
            if (p.matched || p.pitch != n.pitch)
                return false;
            return p.on == onset && p.off <= end && p.off >= end - 2;
        };
        const auto found = std::find_if(played.begin(), played.end(), fits);
        if (found == played.end()) {
            ADD_FAILURE() << "note " << n.pitch << " on string " << n.string << " at tick " << onset
                          << " to " << end << " is not played";
            continue;
        }
        found->matched = true;
    }
    for (const Played& p : played)
        EXPECT_TRUE(p.matched) << "MuseScore plays an extra note " << p.pitch << " at " << p.on;
}

INSTANTIATE_TEST_SUITE_P(Songs, MusicXmlReadBackTest, ::testing::ValuesIn(test::ScoreCases()),
                         test::CaseName);

} // namespace
} // namespace fw

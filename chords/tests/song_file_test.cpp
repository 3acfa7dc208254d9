#include "chords/song_file.h"
#include "tests/support/case_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fw {
namespace {

using Lines = std::vector<std::string>;

struct HeaderCase {
    const char* about;
    Lines lines;
    bool hasPatch;
    int patch;
    bool hasTuning;
    int tuning;
    bool hasTempo;
    int tempo;
    bool headerComplete;
};

class SongHeaders : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(SongHeaders, ReadLikeLoading) {
    const HeaderCase& c = GetParam();
    const SongHeader header = ReadSongHeader(c.lines);
    EXPECT_EQ(header.hasPatch, c.hasPatch) << c.about;
    EXPECT_EQ(header.patch, c.patch) << c.about;
    EXPECT_EQ(header.hasTuning, c.hasTuning) << c.about;
    EXPECT_EQ(header.tuning, c.tuning) << c.about;
    EXPECT_EQ(header.hasTempo, c.hasTempo) << c.about;
    EXPECT_EQ(header.tempo, c.tempo) << c.about;
    EXPECT_EQ(header.headerComplete, c.headerComplete) << c.about;
    const Lines editor = SongEditorLines(c.lines, header);
    if (c.headerComplete)
        EXPECT_EQ(editor, Lines(c.lines.begin() + 4, c.lines.end())) << c.about;
    else
        EXPECT_EQ(editor, c.lines) << c.about;
}

const std::string Chord = "G, 0, 0, 0, 0, 0, Q";

INSTANTIATE_TEST_SUITE_P(
    Table, SongHeaders,
    ::testing::Values(HeaderCase{"complete",
                                 {"*Info 1:x", "*Info 2:105", "*Info 3:52555", "*Info 4:90", Chord},
                                 true,
                                 105,
                                 true,
                                 52555,
                                 true,
                                 90,
                                 true},
                      HeaderCase{"no tempo line",
                                 {"*Info 1:x", "*Info 2:105", "*Info 3:52555", Chord},
                                 true,
                                 105,
                                 true,
                                 52555,
                                 false,
                                 120,
                                 false},
                      HeaderCase{"patch not a number",
                                 {"*Info 1:", "*Info 2:abc", "*Info 3:55555", "*Info 4:120"},
                                 true,
                                 25,
                                 true,
                                 55555,
                                 true,
                                 120,
                                 true},
                      HeaderCase{"tempo 0",
                                 {"*Info 1:", "*Info 2:1", "*Info 3:55555", "*Info 4:0"},
                                 true,
                                 1,
                                 true,
                                 55555,
                                 true,
                                 1,
                                 true},
                      HeaderCase{"tempo 900",
                                 {"*Info 1:", "*Info 2:1", "*Info 3:55555", "*Info 4:900"},
                                 true,
                                 1,
                                 true,
                                 55555,
                                 true,
                                 500,
                                 true},
                      HeaderCase{"tempo negative",
                                 {"*Info 1:", "*Info 2:1", "*Info 3:55555", "*Info 4:-5"},
                                 true,
                                 1,
                                 true,
                                 55555,
                                 true,
                                 1,
                                 true},
                      HeaderCase{"markers are case-sensitive",
                                 {"*Info 1:", "*INFO 2:40", "*Info 3:55555", "*Info 4:100"},
                                 false,
                                 105,
                                 true,
                                 55555,
                                 true,
                                 100,
                                 false},
                      HeaderCase{"a marker counts on its own line only",
                                 {"*Info 1:", "*Info 3:52555", "*Info 2:40", "*Info 4:100"},
                                 false,
                                 105,
                                 false,
                                 55555,
                                 true,
                                 100,
                                 false},
                      HeaderCase{"no first marker",
                                 {"*Info 0:", "*Info 2:40", "*Info 3:64556", "*Info 4:100"},
                                 true,
                                 40,
                                 true,
                                 64556,
                                 true,
                                 100,
                                 false},
                      HeaderCase{"marker without its colon",
                                 {"*Info 1", "*Info 2:40", "*Info 3:64556", "*Info 4:1"},
                                 true,
                                 40,
                                 true,
                                 64556,
                                 true,
                                 1,
                                 false},
                      HeaderCase{"spaces around values",
                                 {"*Info 1:", "*Info 2: 40 ", "*Info 3:\t64556", "*Info 4: 120"},
                                 true,
                                 40,
                                 true,
                                 64556,
                                 true,
                                 120,
                                 true},
                      HeaderCase{"patch keeps its low 8 bits",
                                 {"*Info 1:", "*Info 2:300", "*Info 3:55555", "*Info 4:60"},
                                 true,
                                 44,
                                 true,
                                 55555,
                                 true,
                                 60,
                                 true},
                      HeaderCase{"patch -1",
                                 {"*Info 1:", "*Info 2:-1", "*Info 3:55555", "*Info 4:60"},
                                 true,
                                 255,
                                 true,
                                 55555,
                                 true,
                                 60,
                                 true},
                      HeaderCase{"hexadecimal values",
                                 {"*Info 1:", "*Info 2:$69", "*Info 3:$D903", "*Info 4:$5A"},
                                 true,
                                 105,
                                 true,
                                 55555,
                                 true,
                                 90,
                                 true},
                      HeaderCase{"tuning not a number",
                                 {"*Info 1:", "*Info 2:105", "*Info 3:G D G B D", "*Info 4:90"},
                                 true,
                                 105,
                                 true,
                                 55555,
                                 true,
                                 90,
                                 true},
                      HeaderCase{"tuning 2147483647 is not a number",
                                 {"*Info 1:", "*Info 2:105", "*Info 3:2147483647", "*Info 4:90"},
                                 true,
                                 105,
                                 true,
                                 55555,
                                 true,
                                 90,
                                 true},
                      HeaderCase{"tuning kept as written",
                                 {"*Info 1:", "*Info 2:105", "*Info 3:123", "*Info 4:90"},
                                 true,
                                 105,
                                 true,
                                 123,
                                 true,
                                 90,
                                 true},
                      // The value is characters 9 to 28: twenty characters after the marker.
                      HeaderCase{"value within 20 characters",
                                 {"*Info 1:", "*Info 2:105", "*Info 3:55555",
                                  "*Info 4:" + std::string(18, ' ') + "90"},
                                 true,
                                 105,
                                 true,
                                 55555,
                                 true,
                                 90,
                                 true},
                      HeaderCase{"value cut after 20 characters",
                                 {"*Info 1:", "*Info 2:105", "*Info 3:55555",
                                  "*Info 4:" + std::string(19, ' ') + "90"},
                                 true,
                                 105,
                                 true,
                                 55555,
                                 true,
                                 9,
                                 true},
                      HeaderCase{"value beyond 20 characters",
                                 {"*Info 1:", "*Info 2:105", "*Info 3:55555",
                                  "*Info 4:" + std::string(20, ' ') + "90"},
                                 true,
                                 105,
                                 true,
                                 55555,
                                 true,
                                 120,
                                 true},
                      HeaderCase{"only the header",
                                 {"*Info 1:", "*Info 2:105", "*Info 3:55555", "*Info 4:120"},
                                 true,
                                 105,
                                 true,
                                 55555,
                                 true,
                                 120,
                                 true},
                      HeaderCase{"empty file", {}, false, 105, false, 55555, false, 120, false},
                      HeaderCase{
                          "one line", {"*Info 1:x"}, false, 105, false, 55555, false, 120, false},
                      HeaderCase{"a song without header",
                                 {Chord, "", "*Verse"},
                                 false,
                                 105,
                                 false,
                                 55555,
                                 false,
                                 120,
                                 false}),
    [](const auto& info) { return fw::cases::IndexedCaseName(info.index, info.param.about); });

TEST(SongFileText, WritesTheHeaderAndEveryLineWithCrLf) {
    EXPECT_EQ(SongFileText({"G, 0, 0, 0, 0, 0, Q", "", "*Verse"}, 105, 52555, 90),
              "*Info 1:Fretwick song\r\n*Info 2:105\r\n*Info 3:52555\r\n*Info 4:90\r\n"
              "G, 0, 0, 0, 0, 0, Q\r\n\r\n*Verse\r\n");
    EXPECT_EQ(SongFileText({}, 0, 64556, 500, "x"),
              "*Info 1:x\r\n*Info 2:0\r\n*Info 3:64556\r\n*Info 4:500\r\n");
}

TEST(SongFileText, KeepsTheInfoTextOnItsLine) {
    EXPECT_EQ(SongFileText({}, 1, 55555, 120, "two\r\nlines\r"),
              "*Info 1:two  lines \r\n*Info 2:1\r\n*Info 3:55555\r\n*Info 4:120\r\n");
}

} // namespace
} // namespace fw

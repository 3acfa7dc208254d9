#include "chords/song_check.h"
#include "tests/support/case_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fw {
namespace {

using Errors = std::vector<std::string>;

const std::string Header = "*Info 1:x\r\n*Info 2:105\r\n*Info 3:55555\r\n*Info 4:120\r\n";

struct CheckCase {
    const char* about;
    std::string text;
    Errors errors;
};

class SongChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(SongChecks, NumberLinesAsTheEditorShowsThem) {
    EXPECT_EQ(CheckSongText(GetParam().text), GetParam().errors) << GetParam().about;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SongChecks,
    ::testing::Values(
        CheckCase{"empty text", "", {}}, CheckCase{"only a header", Header, {}},
        CheckCase{
            "a clean song", Header + "*Verse\r\nG, 0, 0, 0, 0, 0, Q\r\n\r\nC,x,2,0,1,2,.e\r\n", {}},
        // Line index 0 is the first line after a complete header.
        CheckCase{"errors after a header",
                  Header + "G, 0, 0, 0, 0, 0, Q\r\nG, 0, 0\r\n*ok\r\nG, 0, 0, 23, 0, 0, Q\r\n",
                  {"Line 2    Not enough commas.",
                   "Line 4    Fret Number for G string (\"23\") must be lower than 23."}},
        // An incomplete header stays in the editor: its lines are counted as comments.
        CheckCase{"incomplete header",
                  "*Info 1:x\r\n*Info 2:105\r\n*Info 3:55555\r\n7, 0, 0, 0, 0, 0, Q\r\n",
                  {"Line 4    Number not allowed for chord name."}},
        CheckCase{"no header",
                  "G, 0, 0, 0, 0, 0, quarter",
                  {"Line 1    \"quart\" invalid. (W)hole,(H)alf,Q,E,S,T,F"}},
        // The line ends do not change the numbering; neither does a final line break.
        CheckCase{"LF line ends",
                  "*Info 1:x\n*Info 2:105\n*Info 3:55555\n*Info 4:120\n\nG\n",
                  {"Line 2    Not enough commas."}},
        CheckCase{"CR line ends without a final break",
                  "*Info 1:x\r*Info 2:105\r*Info 3:55555\r*Info 4:120\r\rG",
                  {"Line 2    Not enough commas."}},
        CheckCase{
            "blank lines at the end", Header + "G\r\n\r\n\r\n", {"Line 1    Not enough commas."}},
        CheckCase{"errors in order",
                  Header + "a,b\r\n,0,0,0,0,0,Q\r\nG,0,0,0,0,0,Q,\r\n G,0,a,0,0,0,Q",
                  {"Line 1    Not enough commas.", "Line 2    Chord name required.",
                   "Line 3    Too many commas.",
                   "Line 4    Fret number for D string (\"a\") not a number."}}),
    [](const auto& info) { return fw::cases::IndexedCaseName(info.index, info.param.about); });

} // namespace
} // namespace fw

namespace fw {
namespace {

struct WalkCase {
    const char* name;
    std::string text;
    std::vector<std::string> lines; // the editor lines, in order
    int tempo;                      // the header's tempo
};

void PrintTo(const WalkCase& c, std::ostream* out) {
    *out << c.name;
}

class WalkingASong : public ::testing::TestWithParam<WalkCase> {};

// The command-line tools walk a song line by line instead of splitting it: they must see the
// lines and the header the editor gets.
TEST_P(WalkingASong, VisitsTheEditorLinesInOrder) {
    const WalkCase& c = GetParam();
    std::vector<std::string> seen;
    const std::size_t count = ForEachEditorLine(c.text, [&](std::string_view line, std::size_t i) {
        EXPECT_EQ(i, seen.size());
        seen.emplace_back(line);
    });
    EXPECT_EQ(seen, c.lines);
    EXPECT_EQ(count, c.lines.size());
    EXPECT_EQ(ReadSongHeaderOfText(c.text).tempo, c.tempo);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WalkingASong,
    ::testing::Values(
        WalkCase{"Empty", "", {}, 120},
        WalkCase{"OnlyAHeader", "*Info 1:\r\n*Info 2:1\r\n*Info 3:55555\r\n*Info 4:90\r\n", {}, 90},
        WalkCase{"HeaderAndLines",
                 "*Info 1:\n*Info 2:1\n*Info 3:55555\n*Info 4:90\nG, 0, 0, 0, 0, 0, Q\n\n*c",
                 {"G, 0, 0, 0, 0, 0, Q", "", "*c"},
                 90},
        WalkCase{"IncompleteHeaderStays",
                 "*Info 1:\r*Info 2:1\r*Info 4:90\rx",
                 {"*Info 1:", "*Info 2:1", "*Info 4:90", "x"},
                 120}, // the tempo marker counts only on line 4
        WalkCase{"FewerLinesThanAHeader", "a\r\nb", {"a", "b"}, 120},
        WalkCase{"UnicodeSeparators",
                 "*Info 1:\xE2\x80\xA8*Info 2:1\xE2\x80\xA9*Info 3:1\r\n*Info 4:7\r\n\xE2\x80\xA8q",
                 {"", "q"},
                 7}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace fw

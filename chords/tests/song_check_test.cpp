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

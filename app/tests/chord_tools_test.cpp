// fretwick --name-chord and --chord-shapes: names and shapes in the tuning asked for, and clear
// errors with the documented exit statuses.

#include "command_line_runs.h"

#include "app/chord_tools.h"

#include <QString>

#include <gtest/gtest.h>

#include <sstream>

namespace fw::testing {
namespace {

struct ChordToolCase {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string out;        // standard output exactly, when `firstLine` is false
    std::string err = {};   // a text standard error holds ("" for none at all)
    bool firstLine = false; // compare only the first line of standard output
};

void PrintTo(const ChordToolCase& c, std::ostream* os) {
    *os << c.name;
}

class ChordTool : public ::testing::TestWithParam<ChordToolCase> {};

TEST_P(ChordTool, PrintsAndExitsAsDocumented) {
    const ChordToolCase& c = GetParam();
    const ToolRun run = Tool(c.args);
    EXPECT_EQ(run.status, c.status) << run.err;
    if (c.firstLine) {
        EXPECT_EQ(run.out.substr(0, run.out.find('\n') + 1), c.out);
    } else {
        EXPECT_EQ(run.out, c.out);
    }
    if (c.err.empty()) {
        EXPECT_EQ(run.err, "");
    } else {
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChordTool,
    ::testing::Values(
        // The standard C minor shape, once named Eb6.
        ChordToolCase{"MinorShape", {"--name-chord", "x, 1, 0, 1, 1"}, 0, "Cm\n"},
        ChordToolCase{"OpenStrum", {"--name-chord", "0, 0, 0, 0, 0"}, 0, "G\n"},
        ChordToolCase{"Inversion", {"--name-chord", "x,2,0,1,2", "--inversions"}, 0, "C/E\n"},
        ChordToolCase{
            "InDoubleC", {"--name-chord", "0, 0, 0, 0, 2", "--tuning", "53565"}, 0, "C\n"},
        ChordToolCase{"TuningFirst",
                      {"--tuning", "45435", "--name-chord", "0,0,0,0,0"},
                      2,
                      "",
                      "unknown option --tuning"},
        ChordToolCase{"OpenD", {"--name-chord", "0,0,0,0,0", "--tuning", "45435"}, 0, "D\n"},
        ChordToolCase{"HammerOnTarget", {"--name-chord", "x, 2, 0-2, 1, 2"}, 0, "Am\n"},
        ChordToolCase{"NoChord", {"--name-chord", "x, 0, 1, 2, 3"}, 1, "No chord name found\n"},
        ChordToolCase{
            "NothingPlayed", {"--name-chord", "x, x, x, x, x"}, 1, "No chord name found\n"},
        ChordToolCase{"TooFewFrets",
                      {"--name-chord", "x, 1, 0, 1"},
                      2,
                      "",
                      "bad frets \"x, 1, 0, 1\": Not enough commas."},
        ChordToolCase{"NotFrets", {"--name-chord", "Cm"}, 2, "", "bad frets"},
        ChordToolCase{"NoFrets", {"--name-chord"}, 2, "", "--name-chord needs the frets"},
        ChordToolCase{"BadTuning",
                      {"--name-chord", "0,0,0,0,0", "--tuning", "5555"},
                      2,
                      "",
                      "bad tuning code \"5555\""},
        ChordToolCase{"LettersForTuning",
                      {"--chord-shapes", "C", "--tuning", "gdgbd"},
                      2,
                      "",
                      "bad tuning code"},
        ChordToolCase{
            "TuningWithoutCode", {"--chord-shapes", "C", "--tuning"}, 2, "", "--tuning needs"},
        ChordToolCase{"ShapesInDoubleC",
                      {"--chord-shapes", "C", "--tuning", "53565"},
                      0,
                      "C (2), 0, 0, 0, 0, 2, Q\n",
                      "",
                      true},
        ChordToolCase{"ShapesInOpenD",
                      {"--chord-shapes", "D", "--tuning", "45435"},
                      0,
                      "D (0), 0, 0, 0, 0, 0, Q\n",
                      "",
                      true},
        ChordToolCase{
            "ShapesInOpenG", {"--chord-shapes", "Cm"}, 0, "Cm (1), 0, 1, 0, 1, 1, Q\n", "", true},
        ChordToolCase{
            "OnePosition", {"--chord-shapes", "C (5)"}, 0, "C (5), 0, 5, 5, 5, 5, Q\n", "", true},
        ChordToolCase{"UnknownChord", {"--chord-shapes", "H7"}, 1, "", "unknown chord name \"H7\""},
        ChordToolCase{"UnknownQuality", {"--chord-shapes", "Cmaj13"}, 1, "", "m7b5"},
        ChordToolCase{"NoShapeThere",
                      {"--chord-shapes", "C (0)"},
                      1,
                      "",
                      "no playable shape of C (0) in tuning 55555"},
        ChordToolCase{"TwoNames", {"--chord-shapes", "C", "G"}, 2, "", "takes one chord name"},
        ChordToolCase{"InversionsOnlyForNames",
                      {"--chord-shapes", "C", "--inversions"},
                      2,
                      "",
                      "unknown option --inversions for --chord-shapes"}),
    [](const auto& info) { return std::string(info.param.name); });

// Every line --chord-shapes prints names itself back through --name-chord, in the same tuning,
// as the chord asked for or a reading of the same notes.
TEST(ChordTool, ShapesNameBackInTheirTuning) {
    const ToolRun shapes = Tool({"--chord-shapes", "Cadd9", "--tuning", "53565"});
    ASSERT_EQ(shapes.status, 0) << shapes.err;
    std::istringstream lines(shapes.out);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ASSERT_EQ(line.rfind("Cadd9 (", 0), 0u) << line;
        const std::string frets =
            line.substr(line.find(", ") + 2, line.rfind(", Q") - line.find(", ") - 2);
        const ToolRun named = Tool({"--name-chord", frets, "--tuning", "53565"});
        EXPECT_EQ(named.status, 0) << line;
        EXPECT_FALSE(named.out.empty()) << line;
        count += named.out == "Cadd9\n" ? 1 : 0;
    }
    EXPECT_GT(count, 0);
}

TEST(ChordTool, HelpListsBothTools) {
    const std::string help = Tool({"--help"}).out;
    EXPECT_NE(help.find("--name-chord \"x, 1, 0, 1, 1\" [--tuning CODE]"), std::string::npos);
    EXPECT_NE(help.find("--chord-shapes NAME [--tuning CODE]"), std::string::npos);
}

struct CodeCase {
    const char* name;
    std::string text;
    std::optional<int> code;
};

class TuningCodeReading : public ::testing::TestWithParam<CodeCase> {};

TEST_P(TuningCodeReading, TakesFiveDigitsOnly) {
    EXPECT_EQ(ReadTuningCode(GetParam().text), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Cases, TuningCodeReading,
                         ::testing::Values(CodeCase{"OpenG", "55555", 55555},
                                           CodeCase{"ZeroIsMinusFive", "50505", 50505},
                                           CodeCase{"Short", "5555", std::nullopt},
                                           CodeCase{"Long", "555555", std::nullopt},
                                           CodeCase{"LeadingZero", "05555", std::nullopt},
                                           CodeCase{"Sign", "+5555", std::nullopt},
                                           CodeCase{"Empty", "", std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

// The real program, with no display at all.
TEST(ChordTool, RunsWithoutADisplay) {
    const ToolRun run = Binary({QStringLiteral("--name-chord"), QStringLiteral("x, 1, 0, 1, 1")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Cm\n");
    const ToolRun none = Binary({QStringLiteral("--chord-shapes"), QStringLiteral("Xm")});
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("unknown chord name"), std::string::npos) << none.err;
}

} // namespace
} // namespace fw::testing

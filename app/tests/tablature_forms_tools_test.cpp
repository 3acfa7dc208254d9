// The tablature forms on the command line: each option's mark in the written tablature, bars from
// the meter without truncation, usage errors for wrong values, and the PDF receiving the forms.

#include "command_line_runs.h"
#include "main_window_fixture.h"

#include "export/tablature/tests/pdf_tools.h"
#include "windows/frm_tab.h"

#include <ostream>
#include <sstream>

namespace fw::testing {
namespace {

const QByteArray FormsSong = "* Title: Forms\r\n"
                             "G, 0, 0, 0, 0, 0, Q\r\n"
                             "D5, 7, 0, 0, 0, 0, Q\r\n"
                             "H, 0, 0-2, x, 4-2, x, E\r\n"
                             "\r\n"
                             "Chord, 0, 0, 0, 0, 0, H\r\n";

class TabForms : public MainWindowTest {
protected:
    std::string Path(const char* name) {
        return dir.filePath(QString::fromLatin1(name)).toStdString();
    }

    // Writes `song`, runs --export-tab on it with `options` and returns the tablature.
    std::string ExportTab(const QByteArray& song, const std::vector<std::string>& options,
                          ToolRun* run = nullptr) {
        const QString path = WriteFile(QStringLiteral("song.fwk"), song);
        std::vector<std::string> args = {"--export-tab", path.toStdString(), Path("out.tab")};
        args.insert(args.end(), options.begin(), options.end());
        const ToolRun result = Tool(args);
        EXPECT_EQ(result.status, 0) << result.err;
        if (run)
            *run = result;
        return ReadAll(dir.filePath(QStringLiteral("out.tab"))).toStdString();
    }
};

struct MarkCase {
    const char* name;
    std::vector<std::string> options;
    std::vector<const char*> present;
    std::vector<const char*> absent;
};

void PrintTo(const MarkCase& c, std::ostream* os) {
    *os << c.name;
}

class TabFormMarks : public TabForms, public ::testing::WithParamInterface<MarkCase> {};

TEST_P(TabFormMarks, AreWritten) {
    const MarkCase& c = GetParam();
    const std::string tab = ExportTab(FormsSong, c.options);
    for (const char* text : c.present)
        EXPECT_NE(tab.find(text), std::string::npos) << text << " in\n" << tab;
    for (const char* text : c.absent)
        EXPECT_EQ(tab.find(text), std::string::npos) << text << " in\n" << tab;
}

INSTANTIATE_TEST_SUITE_P(
    Options, TabFormMarks,
    ::testing::Values(
        MarkCase{"Plain", {}, {"-4/2-", "-0/2-", "-7-"}, {"12", "0h2", "(5th"}},
        // D5 on the 5th string, its own 7th fret, is the neck's 12th.
        MarkCase{"NeckFrets",
                 {"--neck-frets"},
                 {"G Tuning - G D G B D  (5th string at neck frets)\r\n", "--12--"},
                 {"-7-"}},
        MarkCase{"HammerOnAndPullOffLetters", {"--hp"}, {"-0h2-", "-4p2-"}, {"/"}},
        MarkCase{"ChordNames", {"--chord-names"}, {"G     D5    H"}, {"Chord"}},
        MarkCase{"StringNames", {"--string-names"}, {"\r\nD|--", "\r\nB|--", "\r\ng|--"}, {}},
        MarkCase{"RhythmLetters", {"--rhythm", "letters"}, {" Q "}, {}},
        MarkCase{"RhythmJoinedWithEquals", {"--rhythm=letters"}, {" Q "}, {}},
        MarkCase{"StemsAreLettersInAscii", {"--rhythm", "stems"}, {" Q "}, {}},
        MarkCase{"RhythmNone", {"--rhythm", "none"}, {}, {" Q "}},
        MarkCase{"BarsBlankIsThePlainForm", {"--bars", "blank"}, {"-0/2-"}, {}}),
    [](const ::testing::TestParamInfo<MarkCase>& info) { return std::string(info.param.name); });

// --rhythm letters is --durations: the same bytes.
TEST_F(TabForms, RhythmLettersIsDurations) {
    EXPECT_EQ(ExportTab(FormsSong, {"--rhythm", "letters"}), ExportTab(FormsSong, {"--durations"}));
    EXPECT_EQ(ExportTab(FormsSong, {"--durations", "--rhythm", "letters"}),
              ExportTab(FormsSong, {"--durations"}));
}

// The chords between the bars of every staff's first string line.
std::vector<int> ChordsPerMeasure(const std::string& tab) {
    std::vector<int> counts;
    std::istringstream lines(tab);
    std::string line;
    int lineInBlock = 0;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] != '|') {
            lineInBlock = 0;
            continue;
        }
        if (++lineInBlock != 1)
            continue;
        int chords = 0;
        for (std::size_t i = 1; i < line.size(); ++i) {
            if (line[i] == '|') {
                counts.push_back(chords);
                chords = 0;
            } else if (line[i] >= '0' && line[i] <= '9') {
                ++chords;
            }
        }
    }
    return counts;
}

QByteArray Eighths(int count, const QByteArray& head = {}) {
    QByteArray song = head;
    for (int i = 0; i < count; ++i)
        song += "G, 0, x, 0, x, 2, E\r\n";
    return song;
}

struct MeterCase {
    const char* name;
    QByteArray song;
    std::vector<int> chords;
};

void PrintTo(const MeterCase& c, std::ostream* os) {
    *os << c.name;
}

class TabFormMeter : public TabForms, public ::testing::WithParamInterface<MeterCase> {};

// A song without blank lines is cut by its meter, every chord kept and no warning given.
TEST_P(TabFormMeter, CutsMeasuresWithoutTruncation) {
    ToolRun run;
    const std::string tab = ExportTab(GetParam().song, {"--bars", "meter"}, &run);
    EXPECT_EQ(ChordsPerMeasure(tab), GetParam().chords) << tab;
    EXPECT_EQ(run.err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Songs, TabFormMeter,
    ::testing::Values(MeterCase{"ThirtyEighths", Eighths(30), {8, 8, 8, 6}},
                      MeterCase{"ThirtyEightEighths", Eighths(38), {8, 8, 8, 8, 6}},
                      MeterCase{"ThreeFour", Eighths(14, "* Time: 3/4\r\n"), {6, 6, 2}},
                      // Blank lines are ignored.
                      MeterCase{"BlankLinesIgnored", Eighths(3) + "\r\n\r\n" + Eighths(7), {8, 2}}),
    [](const ::testing::TestParamInfo<MeterCase>& info) { return std::string(info.param.name); });

TEST_F(TabForms, BlankLineBarsStillTruncateALongMeasure) {
    ToolRun run;
    const std::string tab = ExportTab(Eighths(30), {}, &run);
    EXPECT_EQ(ChordsPerMeasure(tab), std::vector<int>{24});
    EXPECT_EQ(run.err, std::string(TruncationWarningText) + "\n");
}

struct UsageCase {
    const char* name;
    std::vector<std::string> options;
    const char* message;
};

void PrintTo(const UsageCase& c, std::ostream* os) {
    *os << c.name;
}

class TabFormUsage : public TabForms, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(TabFormUsage, IsAClearErrorAndWritesNothing) {
    const UsageCase& c = GetParam();
    const QString song = WriteFile(QStringLiteral("song.fwk"), FormsSong);
    for (const char* tool : {"--export-tab", "--export-pdf"}) {
        std::vector<std::string> args = {tool, song.toStdString(), Path("out")};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const ToolRun run = Tool(args);
        EXPECT_EQ(run.status, 2) << tool;
        std::string message = c.message;
        if (message.rfind("TOOL", 0) == 0)
            message.replace(0, 4, tool);
        EXPECT_EQ(run.err.rfind("fretwick: " + message + "\n", 0), 0u) << tool << ": " << run.err;
        EXPECT_NE(run.err.find("--rhythm none|letters|stems"), std::string::npos);
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("out")))) << tool;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Options, TabFormUsage,
    ::testing::Values(
        UsageCase{"UnknownRhythm",
                  {"--rhythm", "dots"},
                  "--rhythm takes none, letters or stems, not \"dots\""},
        UsageCase{"EmptyRhythm", {"--rhythm="}, "--rhythm takes none, letters or stems, not \"\""},
        UsageCase{"MissingRhythm", {"--rhythm"}, "--rhythm needs a value: none, letters or stems"},
        UsageCase{"UnknownBars", {"--bars=lines"}, "--bars takes blank or meter, not \"lines\""},
        UsageCase{"MissingBars", {"--bars"}, "--bars needs a value: blank or meter"},
        UsageCase{"DurationsAgainstNone",
                  {"--durations", "--rhythm", "none"},
                  "--durations and --rhythm none disagree"},
        UsageCase{"TwoRhythms",
                  {"--rhythm", "stems", "--rhythm=letters"},
                  "--rhythm stems and --rhythm letters disagree"},
        UsageCase{"FlagWithAValue", {"--hp=yes"}, "TOOL does not take --hp=yes"}),
    [](const ::testing::TestParamInfo<UsageCase>& info) { return std::string(info.param.name); });

TEST_F(TabForms, HelpListsTheForms) {
    const std::string help = Tool({"--help"}).out;
    for (const char* form : {"[FORMS]", "--rhythm none|letters|stems", "--bars blank|meter",
                             "--neck-frets", "--hp", "--chord-names", "--string-names"})
        EXPECT_NE(help.find(form), std::string::npos) << form;
}

// The PDF receives the forms: neck numbers and their tuning line, measures from the meter.
TEST_F(TabForms, PdfReceivesTheForms) {
    const QString song = WriteFile(QStringLiteral("song.fwk"), FormsSong);
    const QString pdf = dir.filePath(QStringLiteral("forms.pdf"));
    ToolRun run = Tool({"--export-pdf", song.toStdString(), pdf.toStdString(), "--neck-frets",
                        "--hp", "--chord-names", "--string-names", "--rhythm", "stems"});
    ASSERT_EQ(run.status, 0) << run.err;
    const QString text = test::PdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("(5th string at neck frets)"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("12"))) << text.toStdString();

    const QString eighths = WriteFile(QStringLiteral("eighths.fwk"), Eighths(30));
    run = Tool({"--export-pdf", eighths.toStdString(), pdf.toStdString(), "--bars", "meter"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    run = Tool({"--export-pdf", eighths.toStdString(), pdf.toStdString()});
    EXPECT_EQ(run.err, std::string(TruncationWarningText) + "\n");
}

} // namespace
} // namespace fw::testing

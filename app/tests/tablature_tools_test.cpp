// Tablature from the command line: the hand-written golden tablature byte for byte, the same
// bytes as the window's Save, refusals, and PDF files from the real binary without a display.

#include "command_line_runs.h"
#include "main_window_fixture.h"

#include "app/command_line.h"
#include "export/tablature/tests/pdf_tools.h"
#include "windows/frm_tab.h"

#include <QRegularExpression>

#include <ostream>
#include <sstream>

namespace fw::testing {
namespace {

const QString GoldenDir = QStringLiteral(FRETWICK_SOURCE_DIR "/export/tests/golden");

class TabTools : public MainWindowTest {
protected:
    std::string Out(const QString& name) { return dir.filePath(name).toStdString(); }
};

struct GoldenCase {
    const char* name;
    const char* song;
    const char* tab;
    bool durations;
};

void PrintTo(const GoldenCase& c, std::ostream* os) {
    *os << c.name;
}

class TabToolGolden : public TabTools, public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(TabToolGolden, WritesTheHandWrittenTablature) {
    const GoldenCase& c = GetParam();
    std::vector<std::string> args = {"--export-tab", (GoldenDir + "/" + c.song).toStdString(),
                                     Out(QStringLiteral("out.tab"))};
    if (c.durations)
        args.push_back("--durations");
    const ToolRun run = Tool(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadAll(dir.filePath(QStringLiteral("out.tab"))), ReadAll(GoldenDir + "/" + c.tab));
}

INSTANTIATE_TEST_SUITE_P(
    Files, TabToolGolden,
    ::testing::Values(GoldenCase{"WorkedExample", "example.fwk", "example_durations.tab", true},
                      GoldenCase{"WorkedExampleNoDurations", "example.fwk", "example.tab", false},
                      GoldenCase{"CrippleCreekInDTuning", "cripple_creek.fwk",
                                 "cripple_creek_durations.tab", true},
                      GoldenCase{"CrowdedMeasure", "crowded.fwk", "crowded.tab", false}),
    [](const ::testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.name); });

TEST_F(TabTools, TruncationIsWarnedOnStandardErrorAndTheFileStillWritten) {
    const ToolRun run = Tool(
        {"--export-tab", (GoldenDir + "/crowded.fwk").toStdString(), Out(QStringLiteral("c.tab"))});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, std::string(TruncationWarningText) + "\n");
    EXPECT_EQ(ReadAll(dir.filePath(QStringLiteral("c.tab"))), ReadAll(GoldenDir + "/crowded.tab"));
}

struct RefusalCase {
    const char* name;
    const char* song; // nullptr: no such file
    int status;
    const char* out;
    const char* err; // the start of standard error
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class TabToolRefusals : public TabTools, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(TabToolRefusals, WriteNothing) {
    const RefusalCase& c = GetParam();
    const QString song = c.song ? WriteFile(QStringLiteral("s.fwk"), c.song)
                                : dir.filePath(QStringLiteral("missing.fwk"));
    for (const char* tool : {"--export-tab", "--export-pdf"}) {
        const ToolRun run = Tool({tool, song.toStdString(), Out(QStringLiteral("out"))});
        EXPECT_EQ(run.status, c.status) << tool;
        EXPECT_EQ(run.out, c.out) << tool;
        EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << tool << ": " << run.err;
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("out")))) << tool;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Songs, TabToolRefusals,
    ::testing::Values(
        RefusalCase{"NoChordLine",
                    "*Info 1:\r\n*Info 2:105\r\n*Info 3:55555\r\n*Info 4:90\r\n"
                    "* only a comment\r\n\r\n",
                    1, "", "Can't create tab. No chords defined in editor.\n"},
        RefusalCase{"EmptySong", "", 1, "", "Can't create tab. No chords defined in editor.\n"},
        RefusalCase{"LineErrors", "G, 0, 0, 0, 0, 0, Q\nbroken\nC, 0, 0, 0, 0, 0, Z\n", 1,
                    "Line 2    Not enough commas.\n"
                    "Line 3    \"Z\" invalid. (W)hole,(H)alf,Q,E,S,T,F\n",
                    ""},
        RefusalCase{"Unreadable", nullptr, 2, "", "fretwick: "}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST_F(TabTools, WrongArgumentsAreUsageErrors) {
    const std::string song = (GoldenDir + "/example.fwk").toStdString();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--export-tab", song},
          {"--export-tab", song, Out(QStringLiteral("a")), Out(QStringLiteral("b"))},
          {"--export-tab", song, Out(QStringLiteral("a")), "--bold"},
          {"--export-pdf", song, Out(QStringLiteral("a")), "--colour"},
          {"--export-pdf"}}) {
        const ToolRun run = Tool(args);
        EXPECT_EQ(run.status, 2) << args.size();
        EXPECT_NE(run.err.find("Usage:"), std::string::npos);
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("a"))));
    const std::string help = Tool({"--help"}).out;
    EXPECT_NE(help.find("--export-tab SONG.fwk OUT.tab [--durations]"), std::string::npos);
    EXPECT_NE(help.find("--export-pdf SONG.fwk OUT.pdf"), std::string::npos);
}

TEST_F(TabTools, AnOutputThatCannotBeWrittenIsExit2) {
    const ToolRun run = Tool({"--export-tab", (GoldenDir + "/example.fwk").toStdString(),
                              Out(QStringLiteral("no/such/folder/x.tab"))});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("x.tab"), std::string::npos);
}

TEST_F(TabTools, FlagsMayStandAnywhereAfterTheTool) {
    const ToolRun run =
        Tool({"--export-tab", "--durations", (GoldenDir + "/example.fwk").toStdString(),
              Out(QStringLiteral("e.tab"))});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(ReadAll(dir.filePath(QStringLiteral("e.tab"))),
              ReadAll(GoldenDir + "/example_durations.tab"));
}

// The window's Save with TabPrompt off writes what the tool writes.
TEST_F(TabTools, TheWindowSavesTheSameBytesAsTheTool) {
    ResetSettingsFile(QStringLiteral("TabPrompt=0\nShowTabNoteDurations=1\n"));
    const QString song = dir.filePath(QStringLiteral("Cripple Creek.fwk"));
    ASSERT_TRUE(QFile::copy(GoldenDir + "/cripple_creek.fwk", song));
    const ToolRun run =
        Tool({"--export-tab", song.toStdString(), Out(QStringLiteral("tool.tab")), "--durations"});
    ASSERT_EQ(run.status, 0);

    TfrmMain& window = Start({song});
    ASSERT_FALSE(window.settings().TabPrompt);
    const QString saved = dir.filePath(QStringLiteral("window.tab"));
    dialogs.AnswerModal([](QDialog& dialog) {
        auto& tab = dynamic_cast<TfrmTab&>(dialog);
        tab.btnSaveClick();
        tab.reject();
    });
    dialogs.AnswerSaveFile(saved);
    window.ASCIItab1Click();
    EXPECT_EQ(ReadAll(saved), ReadAll(dir.filePath(QStringLiteral("tool.tab"))));
    EXPECT_EQ(ReadAll(saved), ReadAll(GoldenDir + "/cripple_creek_durations.tab"));
}

// --- PDF from the real binary, without a display ---------------------------------------------

QByteArray NineteenMeasures() {
    QByteArray song = "*Info 1:x\r\n*Info 2:105\r\n*Info 3:45435\r\n*Info 4:120\r\n"
                      "* Title: Nineteen Measures\r\n* Sub: for the printer\r\n";
    for (int i = 1; i <= 19; ++i)
        song += "m, 0, 0, 0, 0, " + QByteArray::number(i) + ", Q\r\n\r\n";
    return song;
}

struct PlatformCase {
    const char* name;
    const char* platform; // QT_QPA_PLATFORM, "" for unset
};

void PrintTo(const PlatformCase& c, std::ostream* os) {
    *os << c.name;
}

class PdfWithoutDisplay : public TabTools, public ::testing::WithParamInterface<PlatformCase> {};

TEST_P(PdfWithoutDisplay, NineteenMeasuresOnTwoA4Pages) {
    const QString song = WriteFile(QStringLiteral("nineteen.fwk"), NineteenMeasures());
    const QString pdf = dir.filePath(QStringLiteral("nineteen.pdf"));
    const ToolRun run = Binary({QStringLiteral("--export-pdf"), song, pdf},
                               QString::fromLatin1(GetParam().platform));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const QString info = test::RunPdfTool(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))))
        << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("(A4)"))) << info.toStdString();
    const QString text = test::PdfText(pdf);
    for (const char* expected :
         {"Page: 1", "Page: 2", "Nineteen Measures", "for the printer", "D Tuning - F# D F# A D"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(expected)))
            << expected << " in " << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Platforms, PdfWithoutDisplay,
                         ::testing::Values(PlatformCase{"Unset", ""},
                                           PlatformCase{"Offscreen", "offscreen"},
                                           PlatformCase{"Minimal", "minimal"},
                                           PlatformCase{"XcbWithoutServer", "xcb"}),
                         [](const ::testing::TestParamInfo<PlatformCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(TabTools, PdfOnLetterPaperWithBoldNumbersAndLetters) {
    const QString pdf = dir.filePath(QStringLiteral("letter.pdf"));
    const ToolRun run = Tool({"--export-pdf", (GoldenDir + "/cripple_creek.fwk").toStdString(),
                              pdf.toStdString(), "--letter", "--bold", "--durations"});
    ASSERT_EQ(run.status, 0) << run.err;
    const QString info = test::RunPdfTool(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.contains(QStringLiteral("612 x 792 pts (letter)"))) << info.toStdString();
    const QString text = test::PdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral(".E"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Cripple Creek")));
}

TEST_F(TabTools, TheRealBinaryWritesTabWithoutADisplay) {
    const QString out = dir.filePath(QStringLiteral("bin.tab"));
    const ToolRun run =
        Binary({QStringLiteral("--export-tab"), GoldenDir + "/example.fwk", out, "--durations"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadAll(out), ReadAll(GoldenDir + "/example_durations.tab"));
}

} // namespace
} // namespace fw::testing

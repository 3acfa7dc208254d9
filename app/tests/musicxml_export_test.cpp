// Special > MusicXML File and fretwick --export-musicxml: the same score from the window and from
// the command line, the refusals, the save dialog and failed writes.

#include "export_test_support.h"

#include <QMenu>

namespace fw::testing {
namespace {

// Tuning 64556 (strings 5 to 1 shifted +1, -1, 0, 0, +1), tempo 75, patch 24.
const char* const SongText = "*Info 1:tools\r\n*Info 2:24\r\n*Info 3:64556\r\n*Info 4:75\r\n"
                             "* Title: Salt Creek\r\n*Sub: in A\r\nG, 0, 0, 0, 0, 0, Q\r\n"
                             "Slide, 0, 2-4, 0, 0, 0, .H\r\n\r\nPull, 2, x, x, x, 4-2, W\r\n";

class MusicXmlExport : public ExportTest {
protected:
    bool SaveDialogShown() const {
        for (const DialogCall& call : dialogs.Log())
            if (call.kind == DialogKind::SaveFile)
                return true;
        return false;
    }
};

TEST_F(MusicXmlExport, TheMenuAndTheCommandLineWriteTheSameScore) {
    const QString song = WriteSong(QStringLiteral("salt.fwk"), SongText);
    const QString fromTool = dir.filePath(QStringLiteral("tool.musicxml"));
    const Run run = Tool({"--export-musicxml", song.toStdString(), fromTool.toStdString()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");

    TfrmMain& window = Start({song});
    const QString fromMenu = dir.filePath(QStringLiteral("menu.musicxml"));
    dialogs.AnswerSaveFile(fromMenu);
    window.ui().SaveAsMusicXmlFile1->trigger();
    ASSERT_TRUE(SaveDialogShown());
    const DialogCall& save = dialogs.Log().back();
    EXPECT_EQ(save.file.title, QStringLiteral("Save As MusicXML"));
    EXPECT_EQ(save.file.fileName, QStringLiteral("salt.musicxml"));
    EXPECT_EQ(save.file.filter, QStringLiteral("MusicXML files (*.musicxml);;All Files (*)"));
    EXPECT_TRUE(save.file.confirmOverwrite);

    const QByteArray score = ReadAll(fromMenu);
    EXPECT_EQ(score, ReadAll(fromTool));
    EXPECT_TRUE(score.contains("<work-title>Salt Creek</work-title>"));
    EXPECT_TRUE(
        score.contains("<credit-words justify=\"center\" valign=\"top\">in A</credit-words>"));
    EXPECT_TRUE(score.contains("<sound tempo=\"75\"/>"));
    EXPECT_TRUE(score.contains("<midi-program>25</midi-program>"));
    // String 5 tuned up to A flat; its line value 2 is neck fret 7.
    EXPECT_TRUE(score.contains("<staff-tuning line=\"1\"><tuning-step>A</tuning-step>"
                               "<tuning-alter>-1</tuning-alter><tuning-octave>4</tuning-octave>"));
    EXPECT_TRUE(score.contains("<string>5</string><fret>7</fret>"));
    EXPECT_EQ(window.settings().LastDir, dir.path() + QLatin1Char('/'));
    EXPECT_FALSE(window.document().Modified()) << "an export does not change the song";
}

TEST_F(MusicXmlExport, TheItemFollowsMidiFileWithF7) {
    TfrmMain& window = Start();
    const QList<QAction*> items = window.ui().mnuSpecial->actions();
    const qsizetype midi = items.indexOf(window.ui().SaveAsMidiFile1);
    ASSERT_GE(midi, 0);
    ASSERT_LT(midi + 1, items.size());
    EXPECT_EQ(items[midi + 1], window.ui().SaveAsMusicXmlFile1);
    EXPECT_EQ(window.ui().SaveAsMusicXmlFile1->text(), QStringLiteral("Music&XML File..."));
    EXPECT_EQ(window.ui().SaveAsMusicXmlFile1->text().remove(QLatin1Char('&')),
              QStringLiteral("MusicXML File..."));
    EXPECT_EQ(window.ui().SaveAsMusicXmlFile1->shortcut(), QKeySequence(Qt::Key_F7));
}

TEST_F(MusicXmlExport, AnUntitledSongHasNoTitleAndIsOfferedAsUntitled) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    const QString out = dir.filePath(QStringLiteral("untitled.musicxml"));
    dialogs.AnswerSaveFile(out);
    window.SaveAsMusicXmlFile1Click();
    ASSERT_TRUE(SaveDialogShown());
    // Not the bare ".musicxml", which would be saved as a hidden file.
    EXPECT_EQ(dialogs.Log().back().file.fileName, QStringLiteral("Untitled.musicxml"));
    const QByteArray score = ReadAll(out);
    ASSERT_FALSE(score.isEmpty());
    EXPECT_FALSE(score.contains("<work-title>"));
}

TEST_F(MusicXmlExport, RefusesAListWithErrorsOrWithoutChords) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\nbroken"));
    window.SaveAsMusicXmlFile1Click();
    SetText(QStringLiteral("* only a comment\n\n*Title: nothing"));
    window.SaveAsMusicXmlFile1Click();
    EXPECT_EQ(Messages(),
              (QStringList{
                  QStringLiteral("Line 2    Not enough commas."),
                  QStringLiteral("Fix errors before creating a musicxml file."),
                  QStringLiteral("Can't create musicxml file. No chords defined in editor."),
              }));
    EXPECT_FALSE(SaveDialogShown()) << "no file dialog for a refused export";
}

TEST_F(MusicXmlExport, CancelWritesNothingAndKeepsTheLastFolder) {
    TfrmMain& window = Start();
    window.settings().LastDir = QStringLiteral("/kept/");
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    dialogs.AnswerSaveFile(std::nullopt);
    window.SaveAsMusicXmlFile1Click();
    EXPECT_TRUE(SaveDialogShown());
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(window.settings().LastDir, QStringLiteral("/kept/"));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(MusicXmlExport, AFailedWriteIsReportedAndTheOldFileKept) {
    TfrmMain& window = Start();
    window.settings().LastDir = QStringLiteral("/kept/");
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    // A folder stands where the file should go: the rename over it fails.
    const QString blocked = dir.filePath(QStringLiteral("score.musicxml"));
    ASSERT_TRUE(QDir().mkpath(blocked + QStringLiteral("/inside")));
    dialogs.AnswerSaveFile(blocked);
    window.SaveAsMusicXmlFile1Click();
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages().front().contains(QStringLiteral("score.musicxml")))
        << Messages().front().toStdString();
    EXPECT_TRUE(QFileInfo(blocked + QStringLiteral("/inside")).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{QStringLiteral("score.musicxml")})
        << "no temporary file is left behind";
    EXPECT_EQ(window.settings().LastDir, QStringLiteral("/kept/"));
}

struct ToolCase {
    const char* label;
    std::vector<std::string> args; // "SONG" and "OUT" stand for the files of the test
    const char* song;
    int status;
    const char* out;
    const char* err; // a part of the error output
};

void PrintTo(const ToolCase& c, std::ostream* os) {
    *os << c.label;
}

class MusicXmlTool : public MusicXmlExport, public ::testing::WithParamInterface<ToolCase> {};

TEST_P(MusicXmlTool, RefusesWithoutWritingAFile) {
    const ToolCase& c = GetParam();
    const std::string song = WriteSong(QStringLiteral("song.fwk"), c.song).toStdString();
    const std::string out = dir.filePath(QStringLiteral("out.musicxml")).toStdString();
    std::vector<std::string> args = c.args;
    for (std::string& arg : args)
        arg = arg == "SONG" ? song : arg == "OUT" ? out : arg;
    const Run run = Tool(args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.out);
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MusicXmlTool,
    ::testing::Values(
        ToolCase{"line_errors_as_check_prints_them",
                 {"--export-musicxml", "SONG", "OUT"},
                 "G, 0, 0, 0, 0, 0, Q\r\nx\r\nG, 0, 0, 23, 0, 0, Q\r\n",
                 1,
                 "Line 2    Not enough commas.\n"
                 "Line 3    Fret Number for G string (\"23\") must be lower than 23.\n",
                 ""},
        ToolCase{"no_chord_lines",
                 {"--export-musicxml", "SONG", "OUT"},
                 "*Info 1:\r\n*Info 2:105\r\n*Info 3:55555\r\n*Info 4:120\r\n* just words\r\n",
                 1,
                 "",
                 "Can't create musicxml file. No chords defined in editor."},
        ToolCase{"missing_operand",
                 {"--export-musicxml", "SONG"},
                 "",
                 2,
                 "",
                 "--export-musicxml takes a song file and a MusicXML file"},
        ToolCase{"unwritable_target",
                 {"--export-musicxml", "SONG", "/nonexistent-folder/out.musicxml"},
                 "G, 0, 0, 0, 0, 0, Q\r\n",
                 2,
                 "",
                 "out.musicxml"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(MusicXmlExport, HelpNamesTheTool) {
    EXPECT_NE(Tool({"--help"}).out.find("--export-musicxml SONG.fwk OUT.musicxml"),
              std::string::npos);
}

} // namespace
} // namespace fw::testing

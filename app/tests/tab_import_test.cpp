// Importing ASCII banjo tablature: Edit > Paste Tablature with a clipboard set by the test, File >
// Import ASCII Tablature... through the scripted dialogs, and fretwick --import-tab.

#include "command_line_runs.h"
#include "main_window_fixture.h"

#include "app/command_line.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QTest>

#include <sstream>

namespace fw::testing {
namespace {

// One note on string 1, a whole measure.
const QString OneNoteTab = QStringLiteral("|--0--|\n|-----|\n|-----|\n|-----|\n|-----|\n");
const QString OneNoteLine = QStringLiteral("Chord, x, x, x, x, 0, W");
const QString NoTablature = QStringLiteral("No banjo tablature found in the text.");

// Two measures of a hammer-on and a G chord under labels, a title and a bend.
const QString WebTab = QStringLiteral("Soldier's Joy\n"
                                      "d|-------0--|--0--|\n"
                                      "B|-------0--|-----|\n"
                                      "G|--2h4--0--|-----|\n"
                                      "D|----------|-----|\n"
                                      "g|----------|--7b9|\n");
const QString WebTabLines = QStringLiteral("* Soldier's Joy\n"
                                           "Chord, x, x, 2-4, x, x, H\n"
                                           "G, x, x, 0, 0, 0, H\n"
                                           "\n"
                                           "Chord, 2, x, x, x, 0, W\n");
// The labels name open G, so only the bend is reported.
const QString BendNotice = QStringLiteral("1 bend left out.");

class TabImport : public MainWindowTest {
protected:
    QString Selected() const { return main->ui().RichEdit1->textCursor().selectedText(); }
};

// --- Paste Tablature --------------------------------------------------------------------------

struct PasteCase {
    const char* name;
    QString text;
    int caretLine;
    QString result;
    QString selected; // the inserted lines, without the blank lines that keep measures apart
};

void PrintTo(const PasteCase& c, std::ostream* os) {
    *os << c.name;
}

class PasteTablature : public TabImport, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(PasteTablature, InsertsAfterTheCurrentLineSelectsAndPlaysNothing) {
    const PasteCase& c = GetParam();
    TfrmMain& window = Start();
    SetText(c.text);
    Caret(c.caretLine);
    QApplication::clipboard()->setText(OneNoteTab);
    const std::size_t sentBefore = Sent().size();

    window.PasteTablature1Click();

    EXPECT_EQ(Text(), c.result);
    EXPECT_EQ(Selected(), c.selected);
    // The caret stands at the start of what was read, which the view shows.
    EXPECT_EQ(window.ui().RichEdit1->textCursor().position(),
              window.ui().RichEdit1->textCursor().selectionStart());
    EXPECT_TRUE(window.document().Modified());
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(Sent().size(), sentBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PasteTablature,
    ::testing::Values(
        PasteCase{"AfterTheLastChordStartsAMeasure", QStringLiteral("G, 0, 0, 0, 0, 0, Q"), 0,
                  QStringLiteral("G, 0, 0, 0, 0, 0, Q\n\n") + OneNoteLine, OneNoteLine},
        PasteCase{"BeforeAChordEndsTheMeasure", QStringLiteral("* intro\nG, 0, 0, 0, 0, 0, Q"), 0,
                  QStringLiteral("* intro\n") + OneNoteLine +
                      QStringLiteral("\n\nG, 0, 0, 0, 0, 0, Q"),
                  OneNoteLine},
        PasteCase{"BetweenMeasuresNeedsNoBlankLine",
                  QStringLiteral("A, 0, 0, 0, 0, 0, Q\n\nB, 1, 1, 1, 1, 1, Q"), 1,
                  QStringLiteral("A, 0, 0, 0, 0, 0, Q\n\n") + OneNoteLine +
                      QStringLiteral("\n\nB, 1, 1, 1, 1, 1, Q"),
                  OneNoteLine},
        PasteCase{"CaretOnTheLineAfterTheLastBreak", QStringLiteral("* a\n"), 1,
                  QStringLiteral("* a\n") + OneNoteLine + QStringLiteral("\n"), OneNoteLine},
        PasteCase{"EmptyDocument", QString(), 0, OneNoteLine + QStringLiteral("\n"), OneNoteLine}),
    [](const ::testing::TestParamInfo<PasteCase>& info) { return std::string(info.param.name); });

TEST_F(TabImport, PasteSelectsEveryLineReadAndWarnsOfMarksLeftOut) {
    TfrmMain& window = Start();
    SetText(QString());
    QApplication::clipboard()->setText(WebTab);
    window.PasteTablature1Click();
    EXPECT_EQ(Text(), WebTabLines);
    // A selection's line breaks read as the paragraph separator.
    QString lines = WebTabLines.chopped(1);
    EXPECT_EQ(Selected(), lines.replace(QLatin1Char('\n'), QChar(0x2029)));
    ASSERT_EQ(dialogs.Log().size(), 1U);
    EXPECT_EQ(dialogs.Log()[0].text, BendNotice);
    EXPECT_EQ(dialogs.Log()[0].icon, MessageIcon::Warning);
}

TEST_F(TabImport, PasteIsOneUndoStep) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    Caret(0);
    QApplication::clipboard()->setText(OneNoteTab);
    window.PasteTablature1Click();
    window.Undo1Click();
    EXPECT_EQ(Text(), QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
}

struct RefusedCase {
    const char* name;
    QString clipboard;
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.name;
}

class PasteRefused : public TabImport, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(PasteRefused, SaysSoAndChangesNothing) {
    TfrmMain& window = Start();
    const QString text = QStringLiteral("* keep\nG, 0, 0, 0, 0, 0, Q");
    SetText(text);
    window.lines().setSelection(3, 4);
    QApplication::clipboard()->setText(GetParam().clipboard);
    window.PasteTablature1Click();
    EXPECT_EQ(Text(), text);
    EXPECT_FALSE(window.document().Modified());
    EXPECT_EQ(window.lines().selectionStart(), 3);
    EXPECT_EQ(window.lines().selectionLength(), 4);
    ASSERT_EQ(dialogs.Log().size(), 1U);
    EXPECT_EQ(dialogs.Log()[0].text, NoTablature);
    EXPECT_EQ(dialogs.Log()[0].icon, MessageIcon::Error);
    EXPECT_FALSE(window.ui().RichEdit1->document()->isUndoAvailable());
}

INSTANTIATE_TEST_SUITE_P(
    Table, PasteRefused,
    ::testing::Values(
        RefusedCase{"EmptyClipboard", QString()},
        RefusedCase{"Prose", QStringLiteral("Play it slow -- then fast.")},
        RefusedCase{"ChordLines", QStringLiteral("G, 0, 0, 0, 0, 0, Q\n")},
        RefusedCase{"GuitarTab", QStringLiteral("e|-0-|\nB|-1-|\nG|-0-|\nD|-2-|\nA|-3-|\nE|---|")}),
    [](const ::testing::TestParamInfo<RefusedCase>& info) { return std::string(info.param.name); });

// The keyboard reaches the command from the editor.
TEST_F(TabImport, CtrlShiftVInTheEditorPastesTablature) {
    TfrmMain& window = Start();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    SetText(QString());
    QApplication::clipboard()->setText(OneNoteTab);
    window.ui().RichEdit1->setFocus();
    QTest::keyClick(window.ui().RichEdit1, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Text(), OneNoteLine + QStringLiteral("\n"));
}

TEST_F(TabImport, MenuItems) {
    TfrmMain& window = Start();
    EXPECT_TRUE(window.ui().mnuEdit->actions().contains(window.ui().PasteTablature1));
    EXPECT_EQ(window.ui().PasteTablature1->text().remove(QLatin1Char('&')),
              QStringLiteral("Paste Tablature"));
    EXPECT_EQ(window.ui().PasteTablature1->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+Shift+V")));
    EXPECT_TRUE(window.ui().mnuFile->actions().contains(window.ui().ImportAsciiTab1));
    EXPECT_EQ(window.ui().ImportAsciiTab1->text().remove(QLatin1Char('&')),
              QStringLiteral("Import ASCII Tablature..."));
}

// --- Import ASCII Tablature -------------------------------------------------------------------

// This program's own tablature in a custom tuning: the tuning line selects the tuning.
// A measure of one chord: 12 dashes on either side of its cell.
const QByteArray OwnTab = "\r\nCustom Tuning - G C G C D\r\n\r\n"
                          "                                     My Tune\r\n"
                          "                                        \r\n\r\n"
                          "|-------------0------------|\r\n"
                          "|--------------------------|\r\n"
                          "|--------------------------|\r\n"
                          "|--------------------------|\r\n"
                          "|--------------------------|\r\n"
                          "              Q              \r\n\r\n";
const QString OwnTabLines = QStringLiteral("* Custom Tuning - G C G C D\n* Title: My Tune\n"
                                           "Chord, x, x, x, x, 0, Q\n");

TEST_F(TabImport, ImportOpensANewUntitledSongInTheTablaturesTuning) {
    TfrmMain& window = Start();
    const QString path = WriteFile(QStringLiteral("MY TUNE.TAB"), OwnTab);
    dialogs.AnswerOpenFile(path);
    window.ImportAsciiTab1Click();
    EXPECT_EQ(Text(), OwnTabLines);
    EXPECT_EQ(window.document().Tuning(), 53565);
    // Double C is a Tuning menu item of its own now.
    EXPECT_EQ(window.statusPanel(1), QStringLiteral("Double C - G C G C D"));
    EXPECT_TRUE(window.currentSongPath().isEmpty());
    EXPECT_TRUE(window.document().Modified());
    EXPECT_EQ(window.settings().LastDir, dir.path());
    ASSERT_EQ(dialogs.Log().size(), 1U);
    EXPECT_EQ(dialogs.Log()[0].kind, DialogKind::OpenFile);
    EXPECT_EQ(dialogs.Log()[0].file.title, QStringLiteral("Import ASCII Tablature"));
}

TEST_F(TabImport, ImportAsksToSaveChangesFirst) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    window.document().setModified(true);
    dialogs.AnswerMessage(DialogAnswer::Cancel);
    window.ImportAsciiTab1Click();
    EXPECT_EQ(Text(), QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    ASSERT_EQ(dialogs.Log().size(), 1U);
    EXPECT_EQ(dialogs.Log()[0].text, QStringLiteral(" Save changes?"));

    dialogs.ClearLog();
    dialogs.AnswerMessage(DialogAnswer::No);
    dialogs.AnswerOpenFile(WriteFile(QStringLiteral("t.txt"), WebTab.toUtf8()));
    window.ImportAsciiTab1Click();
    EXPECT_EQ(Text(), WebTabLines);
    ASSERT_EQ(dialogs.Log().size(), 3U);
    EXPECT_EQ(dialogs.Log()[2].text, BendNotice);
}

struct ImportRefusedCase {
    const char* name;
    const char* file; // nullptr: the file does not exist
    QString message;  // empty: the file's read error, naming the file
};

void PrintTo(const ImportRefusedCase& c, std::ostream* os) {
    *os << c.name;
}

class ImportRefused : public TabImport, public ::testing::WithParamInterface<ImportRefusedCase> {};

TEST_P(ImportRefused, LeavesTheSongAsItWas) {
    const ImportRefusedCase& c = GetParam();
    const QString song = WriteFile(QStringLiteral("song.fwk"),
                                   "*Info 1:x\r\n*Info 2:105\r\n*Info 3:55565\r\n*Info 4:90\r\n"
                                   "G, 0, 0, 0, 0, 0, Q\r\n");
    TfrmMain& window = Start({song});
    const QString path = c.file ? WriteFile(QStringLiteral("in.tab"), c.file)
                                : dir.filePath(QStringLiteral("missing.tab"));
    dialogs.AnswerOpenFile(path);
    window.ImportAsciiTab1Click();
    EXPECT_EQ(Text(), QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    EXPECT_EQ(window.currentSongPath(), song);
    EXPECT_EQ(window.document().Tuning(), 55565);
    EXPECT_EQ(window.tempo(), 90);
    EXPECT_FALSE(window.document().Modified());
    ASSERT_EQ(Messages().size(), 1);
    if (c.message.isEmpty())
        EXPECT_TRUE(Messages()[0].contains(QStringLiteral("missing.tab")))
            << Messages()[0].toStdString();
    else
        EXPECT_EQ(Messages()[0], c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ImportRefused,
    ::testing::Values(ImportRefusedCase{"NotTablature", "Dear banjo friends,\nhello.\n",
                                        QStringLiteral("No banjo tablature found in the text.")},
                      ImportRefusedCase{"EmptyFile", "",
                                        QStringLiteral("No banjo tablature found in the text.")},
                      ImportRefusedCase{"MissingFile", nullptr, QString()}),
    [](const ::testing::TestParamInfo<ImportRefusedCase>& info) {
        return std::string(info.param.name);
    });

// --- fretwick --import-tab --------------------------------------------------------------------

TEST_F(TabImport, CommandLineWritesASongFile) {
    const QString in = WriteFile(QStringLiteral("in.tab"), OwnTab);
    const QString out = dir.filePath(QStringLiteral("out.fwk"));
    const ToolRun run = Tool({"--import-tab", in.toStdString(), out.toStdString()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(ReadAll(out), QByteArray("*Info 1:Fretwick song\r\n*Info 2:105\r\n*Info 3:53565\r\n"
                                       "*Info 4:120\r\n* Custom Tuning - G C G C D\r\n"
                                       "* Title: My Tune\r\nChord, x, x, x, x, 0, Q\r\n\r\n"));
}

TEST_F(TabImport, CommandLineWarnsOfMarksLeftOut) {
    const QString in = WriteFile(QStringLiteral("in.txt"), WebTab.toUtf8());
    const QString out = dir.filePath(QStringLiteral("out.fwk"));
    const ToolRun run = Tool({"--import-tab", in.toStdString(), out.toStdString()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "fretwick: " + BendNotice.toStdString() + "\n");
    EXPECT_TRUE(ReadAll(out).endsWith("Chord, 2, x, x, x, 0, W\r\n\r\n"));
}

// A tab naming its tuning gets it; one naming none is read in open G, which stderr says.
TEST_F(TabImport, CommandLineTakesTheTuningTheTabNames) {
    const QString in =
        WriteFile(QStringLiteral("in.tab"), "Tuning: gCGCD (Double C)\n" + OneNoteTab.toUtf8());
    const QString out = dir.filePath(QStringLiteral("out.fwk"));
    const ToolRun run = Tool({"--import-tab", in.toStdString(), out.toStdString()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(ReadAll(out).contains("*Info 3:53565\r\n"));

    const QString plain = WriteFile(QStringLiteral("plain.tab"), OneNoteTab.toUtf8());
    const ToolRun assumed = Tool({"--import-tab", plain.toStdString(), out.toStdString()});
    EXPECT_EQ(assumed.status, 0);
    EXPECT_EQ(assumed.err, "fretwick: The tab names no tuning: open G (g D G B D) assumed.\n");
    EXPECT_TRUE(ReadAll(out).contains("*Info 3:55555\r\n"));
}

TEST_F(TabImport, CommandLineRefusesTextWithoutTablatureAndWritesNothing) {
    const QString in = WriteFile(QStringLiteral("in.txt"), "just words\n");
    const QString out = dir.filePath(QStringLiteral("out.fwk"));
    const ToolRun run = Tool({"--import-tab", in.toStdString(), out.toStdString()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "fretwick: No banjo tablature found in the text.\n");
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_EQ(Tool({"--import-tab", in.toStdString()}).status, 2);
}

TEST_F(TabImport, TheRealBinaryImportsWithoutADisplay) {
    const QString in = WriteFile(QStringLiteral("in.tab"), OneNoteTab.toUtf8());
    const QString out = dir.filePath(QStringLiteral("out.fwk"));
    const ToolRun run = Binary({QStringLiteral("--import-tab"), in, out});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(ReadAll(out).endsWith(OneNoteLine.toUtf8() + "\r\n\r\n"));
}

} // namespace
} // namespace fw::testing

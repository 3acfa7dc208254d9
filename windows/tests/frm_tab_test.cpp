// The tablature window driven through scripted dialogs: both modes, titles, the truncation
// warning once per opening, Save with its forced extension, failures, keys and printing.

#include "windows/frm_tab.h"

#include "export/tablature/tab_printing.h"
#include "export/tablature/tests/pdf_tools.h"
#include "export/tablature/tests/tab_test_support.h"

#include "ui/scripted_dialog_service.h"
#include "ui/tests/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>

namespace fw {
namespace {

using test::ReadAll;

const QString Tuning = QStringLiteral("G Tuning - G D G B D");

class TabWindow : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedDialogService dialogs;
    TfrmTab window{dialogs};
    TabSettings settings{false, false, false, QString(), {}};

    TabSource Source(const std::vector<std::string>& lines, const QString& songPath = {}) {
        return {lines, test::ParseLines(lines), songPath, Tuning};
    }
    void Open(TabMode mode, const std::vector<std::string>& lines, const QString& songPath = {},
              std::optional<ConfirmedTitles> titles = std::nullopt) {
        window.Open(mode, Source(lines, songPath), settings, titles);
    }
    QStringList Messages() const { return dialogs.MessageTexts(); }
    static std::vector<std::string> Crowded() {
        return std::vector<std::string>(26, "c, 0, 0, 0, 0, 1, S");
    }
};

const std::vector<std::string> Example = {"* Title: Example", "G, 0, 0, 0, 0, 0, Q",
                                          "C, 0, 2, 0, 1, 2, Q", "", "D7, x, 0, 2-4, 1, 12, E"};

TEST_F(TabWindow, AsciiModeShowsTheTextViewAndSave) {
    Open(TabMode::Ascii, Example, QStringLiteral("/songs/example.fwk"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("ASCII Tablature"));
    EXPECT_FALSE(window.Memo1->isHidden());
    EXPECT_FALSE(window.btnSave->isHidden());
    EXPECT_TRUE(window.btnPrint->isHidden());
    EXPECT_TRUE(window.scrlTab->isHidden());
    EXPECT_EQ(window.btnSave->geometry().topLeft(), QPoint(13, 5));
    EXPECT_EQ(window.btnExit->geometry().topLeft(), QPoint(99, 5));
    EXPECT_EQ(window.size(), QSize(628, 415));
    const QStringList lines = window.Memo1->toPlainText().split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 12);
    EXPECT_EQ(lines[1], Tuning);
    EXPECT_EQ(lines[3], QString(37, QLatin1Char(' ')) + QStringLiteral("Example"));
    EXPECT_EQ(lines[6], QStringLiteral("|---------0---------2--------|--------12-----------|"));
    EXPECT_EQ(lines[11], QString()) << "durations off";
    EXPECT_TRUE(window.Memo1->isReadOnly());
    EXPECT_EQ(window.Memo1->textCursor().position(), 0);
    EXPECT_TRUE(window.Memo1->font().fixedPitch() || QFontInfo(window.Memo1->font()).fixedPitch());
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(TabWindow, GraphicModeShowsThePaintAreaAndPrint) {
    Open(TabMode::Graphic, Example);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tablature"));
    EXPECT_FALSE(window.scrlTab->isHidden());
    EXPECT_FALSE(window.btnPrint->isHidden());
    EXPECT_TRUE(window.btnSave->isHidden());
    EXPECT_TRUE(window.Memo1->isHidden());
    EXPECT_EQ(window.btnPrint->geometry().topLeft(), QPoint(13, 5));
    EXPECT_EQ(window.PaintBox1->size(), QSize(593, 90 + 80));
    EXPECT_EQ(window.document().measures.size(), 2u);
}

// Ctrl+P prints graphic tablature; the text view has no Print button and ignores it.
TEST_F(TabWindow, CtrlPPrintsGraphicTablatureOnly) {
    for (TabMode mode : {TabMode::Graphic, TabMode::Ascii}) {
        Open(mode, Example);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        const std::size_t before = dialogs.Log().size();
        dialogs.AnswerPrint(false);
        QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
        const bool printed =
            dialogs.Log().size() > before && dialogs.Log().back().kind == DialogKind::Print;
        EXPECT_EQ(printed, mode == TabMode::Graphic);
        window.hide();
    }
}

struct TitlesCase {
    const char* name;
    TabMode mode;
    std::vector<std::string> lines;
    QString songPath;
    std::optional<ConfirmedTitles> confirmed;
    QString title;          // the window's title
    QString subtitle;       // the window's subtitle
    QString asciiTitleLine; // ASCII mode: the header's title line, trimmed
};

void PrintTo(const TitlesCase& c, std::ostream* os) {
    *os << c.name;
}

class WindowTitles : public TabWindow, public ::testing::WithParamInterface<TitlesCase> {};

TEST_P(WindowTitles, ComeFromTheBoxOrTheCommentLines) {
    const TitlesCase& c = GetParam();
    Open(c.mode, c.lines, c.songPath, c.confirmed);
    EXPECT_EQ(window.document().texts.title, c.title);
    EXPECT_EQ(window.document().texts.subtitle, c.subtitle);
    if (c.mode == TabMode::Ascii) {
        EXPECT_EQ(QString::fromStdString(window.asciiLines().at(3)).trimmed(), c.asciiTitleLine);
    }
}

const std::vector<std::string> Plain = {"G, 0, 0, 0, 0, 0, Q"};
const std::vector<std::string> Titled = {"* Title: Old Joe Clark", "*sub: reel",
                                         "G, 0, 0, 0, 0, 0, Q"};

INSTANTIATE_TEST_SUITE_P(
    Table, WindowTitles,
    ::testing::Values(TitlesCase{"CommentLines", TabMode::Graphic, Titled, "/s/x.fwk", std::nullopt,
                                 "Old Joe Clark", "reel", ""},
                      TitlesCase{"FileNameStandsIn", TabMode::Graphic, Plain, "/s/Sally Ann.fwk",
                                 std::nullopt, "Sally Ann", "", ""},
                      TitlesCase{"UntitledSongHasNoTitle", TabMode::Graphic, Plain, "",
                                 std::nullopt, "", "", ""},
                      TitlesCase{"ConfirmedInTheBox", TabMode::Graphic, Titled, "/s/x.fwk",
                                 ConfirmedTitles{"Edited", "by hand"}, "Edited", "by hand", ""},
                      TitlesCase{"GraphicKeepsAClearedTitleEmpty", TabMode::Graphic, Titled,
                                 "/s/x.fwk", ConfirmedTitles{"", "sub"}, "", "sub", ""},
                      TitlesCase{"AsciiPutsTheFileNameForAClearedTitle", TabMode::Ascii, Titled,
                                 "/s/x.fwk", ConfirmedTitles{"", "sub"}, "", "sub", "x"},
                      TitlesCase{"AsciiFromCommentLines", TabMode::Ascii, Titled, "/s/x.fwk",
                                 std::nullopt, "Old Joe Clark", "reel", "Old Joe Clark"}),
    [](const ::testing::TestParamInfo<TitlesCase>& info) { return std::string(info.param.name); });

TEST_F(TabWindow, AsciiTruncationWarnsOnceAtOpening) {
    Open(TabMode::Ascii, Crowded());
    EXPECT_EQ(Messages(), QStringList{QString::fromLatin1(TruncationWarningText)});
    EXPECT_EQ(dialogs.Log().back().icon, MessageIcon::Warning);
    window.show();
    QTest::qWait(20);
    window.hide();
    EXPECT_EQ(Messages().size(), 1);
    // The next opening warns again.
    Open(TabMode::Ascii, Crowded());
    EXPECT_EQ(Messages().size(), 2);
}

TEST_F(TabWindow, GraphicTruncationWarnsOnceAfterTheFirstPaint) {
    Open(TabMode::Graphic, Crowded());
    EXPECT_TRUE(Messages().isEmpty()) << "not before the window is painted";
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.PaintBox1->repaint();
    QTest::qWait(20);
    window.PaintBox1->repaint();
    window.PaintBox1->repaint();
    QTest::qWait(20);
    EXPECT_EQ(Messages(), QStringList{QString::fromLatin1(TruncationWarningText)});
    window.hide();
}

TEST_F(TabWindow, NoWarningWithoutAnOverfullMeasure) {
    Open(TabMode::Graphic, std::vector<std::string>(24, "c, 0, 0, 0, 0, 1, S"));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.PaintBox1->repaint();
    QTest::qWait(20);
    EXPECT_TRUE(Messages().isEmpty());
    window.hide();
}

TEST_F(TabWindow, SaveForcesTheTabExtensionAndWritesCrLf) {
    settings.lastDir = QStringLiteral("/last/folder/");
    Open(TabMode::Ascii, Example, dir.filePath(QStringLiteral("Example.fwk")));
    const QString typed = dir.filePath(QStringLiteral("mine.txt"));
    dialogs.AnswerSaveFile(typed);
    window.btnSave->click();

    const DialogCall& call = dialogs.Log().back();
    EXPECT_EQ(call.kind, DialogKind::SaveFile);
    EXPECT_EQ(call.file.title, QStringLiteral("Save As ASCII Tablature"));
    EXPECT_EQ(call.file.directory, dir.path()); // the song's folder, not the last one
    EXPECT_EQ(call.file.fileName, QStringLiteral("Example.tab"));
    EXPECT_EQ(call.file.filter, QStringLiteral("Tab files (*.tab);;All Files (*)"));
    EXPECT_TRUE(call.file.confirmOverwrite);

    EXPECT_FALSE(QFile::exists(typed));
    const QByteArray written = ReadAll(dir.filePath(QStringLiteral("mine.tab")));
    QByteArray expected;
    for (const std::string& line : window.asciiLines())
        expected += QByteArray::fromStdString(line) + "\r\n";
    EXPECT_EQ(written, expected);
    EXPECT_TRUE(written.startsWith("\r\nG Tuning - G D G B D\r\n\r\n"));
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(TabWindow, UntitledSongOffersUntitledInTheLastFolder) {
    settings.lastDir = dir.path();
    Open(TabMode::Ascii, Example);
    dialogs.AnswerSaveFile(std::nullopt);
    window.btnSaveClick();
    EXPECT_EQ(dialogs.Log().back().file.fileName, QStringLiteral("Untitled.tab"));
    EXPECT_EQ(dialogs.Log().back().file.directory, dir.path());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 0);
}

TEST_F(TabWindow, AFailedWriteIsReportedAndTheTextStays) {
    Open(TabMode::Ascii, Example);
    const QString before = window.Memo1->toPlainText();
    dialogs.AnswerSaveFile(dir.filePath(QStringLiteral("missing/folder/x.tab")));
    window.btnSaveClick();
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].contains(QStringLiteral("x.tab"))) << Messages()[0].toStdString();
    EXPECT_EQ(dialogs.Log().back().icon, MessageIcon::Error);
    EXPECT_EQ(window.Memo1->toPlainText(), before);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing/folder/x.tab"))));
}

TEST_F(TabWindow, AFileOnlyTheForcedExtensionHitsIsNotReplacedWithoutAsking) {
    const QString existing = dir.filePath(QStringLiteral("song.tab"));
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("keep me");
    }
    Open(TabMode::Ascii, Example);
    dialogs.AnswerSaveFile(dir.filePath(QStringLiteral("song.txt")));
    dialogs.AnswerMessage(DialogAnswer::No);
    window.btnSaveClick();
    EXPECT_EQ(ReadAll(existing), QByteArray("keep me"));
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].contains(QStringLiteral("already exists")));

    dialogs.AnswerSaveFile(dir.filePath(QStringLiteral("song.txt")));
    dialogs.AnswerMessage(DialogAnswer::Yes);
    window.btnSaveClick();
    EXPECT_TRUE(ReadAll(existing).startsWith("\r\nG Tuning"));
}

TEST_F(TabWindow, EscapeClosesFromAnyControl) {
    Open(TabMode::Ascii, Example);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.btnSave->setFocus();
    QTest::keyClick(window.btnSave, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Rejected);
}

TEST_F(TabWindow, ArrowAndPageKeysScrollTheGraphicPage) {
    Open(TabMode::Graphic, test::NumberedMeasures(40));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QScrollBar* bar = window.scrlTab->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 200);
    EXPECT_EQ(bar->value(), 0);
    QTest::keyClick(window.btnExit, Qt::Key_Down);
    EXPECT_EQ(bar->value(), 10);
    QTest::keyClick(window.btnExit, Qt::Key_PageDown);
    EXPECT_EQ(bar->value(), 60);
    QTest::keyClick(window.btnExit, Qt::Key_PageUp);
    EXPECT_EQ(bar->value(), 10);
    // Up from near the top reaches the top rather than stopping short of it.
    bar->setValue(5);
    QTest::keyClick(window.btnExit, Qt::Key_Up);
    EXPECT_EQ(bar->value(), 0);
    // Down at the end stays at the end.
    bar->setValue(bar->maximum());
    QTest::keyClick(window.btnExit, Qt::Key_Down);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(window.isVisible());
    window.hide();
}

TEST_F(TabWindow, ArrowKeysScrollTheTextViewByLines) {
    std::vector<std::string> lines;
    for (const std::string& line : test::NumberedMeasures(60))
        lines.push_back(line);
    Open(TabMode::Ascii, lines);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QScrollBar* bar = window.Memo1->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 20);
    QTest::keyClick(window.Memo1, Qt::Key_Down);
    EXPECT_EQ(bar->value(), 1);
    const int page = bar->value();
    QTest::keyClick(window.Memo1, Qt::Key_PageDown);
    EXPECT_GT(bar->value(), page);
    QTest::keyClick(window.Memo1, Qt::Key_Up);
    QTest::keyClick(window.Memo1, Qt::Key_PageUp);
    QTest::keyClick(window.Memo1, Qt::Key_PageUp);
    EXPECT_EQ(bar->value(), 0);
    window.hide();
}

TEST_F(TabWindow, PrintCancelledPrintsNothing) {
    Open(TabMode::Graphic, Example);
    dialogs.AnswerPrint(false);
    window.btnPrint->click();
    EXPECT_EQ(dialogs.Log().back().kind, DialogKind::Print);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 0);
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(TabWindow, PrintToAPdfFile) {
    Open(TabMode::Graphic, test::NumberedMeasures(19), QStringLiteral("/s/Nineteen.fwk"));
    const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
    dialogs.AnswerPrintToFile(pdf);
    window.btnPrintClick();
    EXPECT_EQ(test::PdfPageCount(pdf), 2);
    const QString text = test::PdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Nineteen")));
    EXPECT_TRUE(text.contains(QStringLiteral("Page: 2")));
    EXPECT_TRUE(text.contains(Tuning));
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(TabWindow, PrinterThatCannotStartIsReported) {
    Open(TabMode::Graphic, Example);
    dialogs.AnswerPrintToFile(dir.filePath(QStringLiteral("no/such/folder/x.pdf")));
    window.btnPrintClick();
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].startsWith(QStringLiteral("Can't print")));
}

// A right-to-left subtitle is shown as it is saved: its centring spaces first, on the left,
// and the text after them, not pushed to the view's other side.
TEST_F(TabWindow, ARightToLeftSubtitleStandsWhereTheSavedFileHasIt) {
    const std::string hebrew = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D"; // four letters
    Open(TabMode::Ascii, {"* Title: Shalom", "* Sub: " + hebrew, "G, 0, 0, 0, 0, 0, Q"});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const auto& lines = window.asciiLines();
    const auto at = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(hebrew) != std::string::npos;
    });
    ASSERT_NE(at, lines.end());
    const int lineNumber = static_cast<int>(at - lines.begin());
    const int leading = static_cast<int>(at->find(hebrew)); // spaces before the text
    ASSERT_GT(leading, 10);

    QTextCursor cursor(window.Memo1->document()->findBlockByNumber(lineNumber));
    const int lineStart = window.Memo1->cursorRect(cursor).left();
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, leading);
    const int textStart = window.Memo1->cursorRect(cursor).left();
    const int space = window.Memo1->fontMetrics().horizontalAdvance(QLatin1Char(' '));
    EXPECT_LT(lineStart, 2 * space) << "the line starts at the view's left edge";
    EXPECT_NEAR(textStart - lineStart, leading * space, space) << "the spaces come first";
    window.hide();
}

TEST_F(TabWindow, PrintToFileOffersTheSongsFileName) {
    Open(TabMode::Graphic, Example, QStringLiteral("/songs/Reuben | Train: 45?.fwk"),
         ConfirmedTitles{QStringLiteral("Reuben / Train 45"), QString()});
    const QString pdf = dir.filePath(QStringLiteral("named.pdf"));
    dialogs.AnswerPrintToFile(pdf);
    window.btnPrintClick();
    // The print job's document name, which print dialogs offer as the file name, is the PDF's
    // title.
    const QString info = test::RunPdfTool(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.contains(QStringLiteral("Reuben _ Train_ 45_.fwk"))) << info.toStdString();
    EXPECT_TRUE(test::PdfText(pdf).contains(QStringLiteral("Reuben / Train 45")));
}

} // namespace
} // namespace fw

namespace fw {
namespace {

// Twenty bars of eighth notes cut by the meter, drawn with stems.
std::vector<std::string> EighthBars(int bars) {
    std::vector<std::string> lines = {"* Time: 4/4"};
    for (int i = 0; i < bars * 8; ++i)
        lines.push_back(i % 3 == 0 ? "G, x, x, 0-2, x, x, E" : "G, 0, x, x, x, 10, E");
    return lines;
}

class EngravedWindow : public ::testing::Test {
protected:
    ScriptedDialogService dialogs;
    TfrmTab window{dialogs};
    TabSettings settings{false, true, false, QString(), {TabRhythm::Stems, TabBars::Meter}};

    void Open(int bars) {
        const std::vector<std::string> lines = EighthBars(bars);
        window.Open(TabMode::Graphic, {lines, test::ParseLines(lines), {}, QStringLiteral("G")},
                    settings, std::nullopt);
    }
};

// The page view lays out at the page's width with the same canvas as print: its rows start at
// the measures the PDF's rows start at.
TEST_F(EngravedWindow, PageViewBreaksRowsWhereThePdfDoes) {
    Open(20);
    window.SetPageView(true);
    const TabDocument& document = window.document();
    std::vector<int> shown;
    for (const PlacedRow& row :
         EngravedScreenRows(document, window.PaintBox1->view(), window.PaintBox1->logicalDpiX()))
        shown.push_back(row.measureNumber);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rows.pdf"));
    QPdfWriter writer(path);
    writer.setPageLayout(PdfPageLayout(false));
    writer.setResolution(EngravingDpi);
    QPainter painter(&writer);
    const PrintOutcome printed = PrintTablature(painter, writer, document.items, document.measures,
                                                document.texts, document.options);
    painter.end();
    ASSERT_GE(printed.rowStarts.size(), 3u);
    EXPECT_EQ(shown, printed.rowStarts);
    // The measure numbers heading the printed rows are there for a reader of the PDF.
    const QString text = test::PdfText(path);
    for (int number : printed.rowStarts)
        EXPECT_TRUE(text.contains(QString::number(number))) << number;
}

TEST_F(EngravedWindow, ZoomKeysWheelAndFitWidth) {
    Open(4);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.resize(1500, 600);
    QCoreApplication::processEvents();
    const int wide = window.PaintBox1->width();
    EXPECT_GT(wide, 1300) << "laid out at the window's width";
    const int tall = window.PaintBox1->height();
    QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(window.zoomPercent(), 125);
    EXPECT_GT(window.PaintBox1->height(), tall) << "bigger, so fewer measures to a row";
    QTest::keyClick(&window, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(window.zoomPercent(), 100);
    QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(window.scrlTab->viewport(), &wheel);
    EXPECT_EQ(window.zoomPercent(), 80);
    window.SetPageView(true);
    window.btnFitWidth->click();
    EXPECT_NEAR(window.PaintBox1->width(), window.scrlTab->viewport()->width() - 24, 3)
        << "the page fills the window";
    EXPECT_GT(window.zoomPercent(), 100);
}

} // namespace
} // namespace fw

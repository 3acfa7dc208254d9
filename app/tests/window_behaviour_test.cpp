// The main window as a desktop program: the neck across the top at any size with nothing
// overlapping, the title and its modified mark, the usual shortcuts, where file dialogs start,
// every paste path, the status after an edit, the remembered window and last song, the tempo
// box, and closing during a play.

#include "main_window_fixture.h"

#include "app/main_layout.h"
#include "editor/fretboard_view.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>
#include <QStatusBar>
#include <QTextCursor>

#include <functional>

namespace fw::testing {
namespace {

// --- Layout ------------------------------------------------------------------------------------

struct SizeCase {
    const char* name;
    QSize window;
};

const SizeCase WindowSizes[] = {
    {"W1280x720", {1280, 690}}, // a maximised window under a 30-pixel panel
    {"W1600x1000", {1600, 970}},
    {"W2560x1440", {2560, 1410}},
    {"Smallest", {760, 560}},
};

class MainLayoutAt : public MainWindowTest, public ::testing::WithParamInterface<SizeCase> {};

// The neck spans the width above the chord list, three quarters of it at least (more where
// the height allows), keeps its proportions, and nothing overlaps or leaves the window.
TEST_P(MainLayoutAt, NeckAcrossTheTopAndNothingOverlaps) {
    TfrmMain& window = StartShown();
    window.resize(GetParam().window);
    QCoreApplication::processEvents();
    const MainControls& ui = window.ui();
    const QRect neck = ui.fretboard->geometry();
    const int client = ui.client->width();
    EXPECT_GE(neck.width(), 0.70 * window.width()) << neck.width();
    EXPECT_NEAR(neck.height(), ui.fretboard->heightForWidth(neck.width()), 1);
    EXPECT_GE(neck.height(), 127);
    EXPECT_LE(neck.height(), std::max(127.0, 0.3 * window.height() + 1));
    EXPECT_NEAR(neck.center().x(), client / 2, 1) << "centred";

    const std::pair<const char*, QWidget*> parts[] = {{"fretboard", ui.fretboard},
                                                      {"btnNewChord", ui.btnNewChord},
                                                      {"grpEditControls", ui.grpEditControls},
                                                      {"RichEdit1", ui.RichEdit1},
                                                      {"grpPlayControls", ui.grpPlayControls},
                                                      {"pnlPlayButtons", ui.pnlPlayButtons}};
    for (const auto& [name, widget] : parts) {
        EXPECT_TRUE(ui.client->rect().contains(widget->geometry())) << name;
        for (const auto& [other, otherWidget] : parts) {
            if (widget != otherWidget) {
                EXPECT_FALSE(widget->geometry().intersects(otherWidget->geometry()))
                    << name << " overlaps " << other;
            }
        }
    }
    // One line under the neck for the Edit group, the chord list and New Chord: no dead gap.
    EXPECT_EQ(ui.grpEditControls->y(), ui.RichEdit1->y());
    EXPECT_EQ(ui.btnNewChord->y(), ui.RichEdit1->y());
    EXPECT_LE(ui.RichEdit1->y() - neck.bottom(), LayoutMargin + 1);
    EXPECT_GE(ui.RichEdit1->width(), 150);
}

// A click on string 1 at fret 5, where the scaled neck draws that fret, composes fret 5.
TEST_P(MainLayoutAt, AClickOnTheScaledNeckComposesThatFret) {
    TfrmMain& window = StartShown();
    window.resize(GetParam().window);
    QCoreApplication::processEvents();
    FretboardView* view = window.fretboard();
    const QPointF at = view->transform().toView(QRectF(MarkerRect(1, 5)).center());
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, at.toPoint());
    EXPECT_EQ(Text(), QStringLiteral("Chord, x, x, x, x, 5, S"));
    EXPECT_EQ(view->markerState(1, 5), MarkerState::Note);
}

INSTANTIATE_TEST_SUITE_P(Sizes, MainLayoutAt, ::testing::ValuesIn(WindowSizes),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Title, shortcuts and file dialogs ----------------------------------------------------------

TEST_F(MainWindowTest, ANewSongIsUntitledAndShowsItsUnsavedChanges) {
    TfrmMain& window = StartShown();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Fretwick - Untitled[*]"));
    EXPECT_FALSE(window.isWindowModified());
    QTest::keyClicks(window.ui().RichEdit1, QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    EXPECT_TRUE(window.isWindowModified());
    const QString path = dir.filePath(QStringLiteral("creek.fwk"));
    ASSERT_TRUE(window.SaveSongTo(path));
    window.document().setPath(path);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Fretwick - creek.fwk[*]"));
    EXPECT_FALSE(window.isWindowModified());
}

struct ShortcutCase {
    const char* name;
    const char* keys;
    DialogKind dialog; // what the keys open
    const char* title;
};

class ShortcutAliases : public MainWindowTest,
                        public ::testing::WithParamInterface<ShortcutCase> {};

// The desktop's usual keys work beside the program's own; Ctrl+A stays Save As.
TEST_P(ShortcutAliases, OpenTheirCommand) {
    TfrmMain& window = StartShown();
    dialogs.AnswerSaveFile(std::nullopt);
    QTest::keySequence(window.ui().RichEdit1, QKeySequence(QString::fromLatin1(GetParam().keys)));
    ASSERT_FALSE(dialogs.Log().empty());
    EXPECT_EQ(dialogs.Log().back().kind, GetParam().dialog);
    EXPECT_EQ(dialogs.Log().back().file.title, QString::fromLatin1(GetParam().title));
    EXPECT_EQ(dialogs.Log().back().file.fileName, QStringLiteral("Untitled.fwk"));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ShortcutAliases,
    ::testing::Values(ShortcutCase{"CtrlShiftS", "Ctrl+Shift+S", DialogKind::SaveFile, "Save As"},
                      ShortcutCase{"CtrlA", "Ctrl+A", DialogKind::SaveFile, "Save As"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, CtrlQExitsAndSelectAllIsInTheEditMenu) {
    TfrmMain& window = StartShown();
    EXPECT_TRUE(window.ui().Exit1->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Q"))));
    EXPECT_TRUE(window.ui().mnuEdit->actions().contains(window.ui().SelectAll1));
    QTest::keySequence(window.ui().RichEdit1, QKeySequence(QStringLiteral("Ctrl+Q")));
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.isVisible());
}

// Exports of a new song offer "Untitled" with a lower-case extension in the last folder used,
// those of a saved song its own name in its own folder.
TEST_F(MainWindowTest, ExportDialogsStartAtTheSongWithItsName) {
    ResetSettingsFile(QStringLiteral("LastDir=%1\n").arg(dir.path()));
    TfrmMain& window = StartShown();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    dialogs.AnswerSaveFile(std::nullopt);
    window.SaveAsMidiFile1Click();
    ASSERT_FALSE(dialogs.Log().empty());
    EXPECT_EQ(dialogs.Log().back().file.fileName, QStringLiteral("Untitled.mid"));
    EXPECT_EQ(dialogs.Log().back().file.directory, dir.path());

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("songs")));
    window.document().setPath(dir.filePath(QStringLiteral("songs/Creek.fwk")));
    dialogs.AnswerSaveFile(std::nullopt);
    window.SaveAsMusicXmlFile1Click();
    EXPECT_EQ(dialogs.Log().back().file.fileName, QStringLiteral("Creek.musicxml"));
    EXPECT_EQ(dialogs.Log().back().file.directory, dir.filePath(QStringLiteral("songs")));
    dialogs.AnswerSaveFile(std::nullopt);
    window.SaveAsMidiFile1Click();
    EXPECT_EQ(dialogs.Log().back().file.fileName, QStringLiteral("Creek.mid"));
}

// --- Paste, status and recent files ------------------------------------------------------------

// Ctrl+V, Edit > Paste and the pop-up menu's Paste all make real lines of the separators that
// word processors and web pages put in copied text.
TEST_F(MainWindowTest, EveryPastePathMakesRealLinesOfSeparators) {
    TfrmMain& window = StartShown();
    const QString copied = QStringLiteral("G, 0, 0, 0, 0, 0, Q") + QChar(QChar::LineSeparator) +
                           QStringLiteral("C, x, 2, 0, 1, 2, H") +
                           QChar(QChar::ParagraphSeparator) + QStringLiteral("* end");
    const std::pair<const char*, std::function<void()>> paths[] = {
        {"Ctrl+V", [&] { QTest::keySequence(window.ui().RichEdit1, QKeySequence::Paste); }},
        {"Edit > Paste", [&] { window.ui().Paste1->trigger(); }},
        {"pop-up Paste", [&] { window.ui().Paste2->trigger(); }},
    };
    for (const auto& [name, paste] : paths) {
        SetText(QString());
        QApplication::clipboard()->setText(copied);
        paste();
        EXPECT_EQ(Text(), QStringLiteral("G, 0, 0, 0, 0, 0, Q\nC, x, 2, 0, 1, 2, H\n* end"))
            << name;
        EXPECT_EQ(window.lines().lineCount(), 3) << name;
        QCoreApplication::processEvents();
        EXPECT_FALSE(window.statusPanel(0).contains(QStringLiteral("Error"))) << name;
    }
}

// Deleting the line in error from the menu (no key, no click in the list) clears the error.
TEST_F(MainWindowTest, TheStatusFollowsAnEditThatRemovesTheLineInError) {
    TfrmMain& window = StartShown();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\nG, 0, 0, 0, 0, 0, 0, 0, Q"));
    Caret(1);
    window.ShowLineStatus(1);
    ASSERT_TRUE(window.statusPanel(0).contains(QStringLiteral("***Error***")));
    // From the end of the first line to the end: the line in error and the break before it.
    QTextCursor cursor(window.ui().RichEdit1->document());
    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    window.ui().RichEdit1->setTextCursor(cursor);
    window.ui().Delete1->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(Text(), QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    EXPECT_FALSE(window.statusPanel(0).contains(QStringLiteral("***Error***")))
        << window.statusPanel(0).toStdString();
}

TEST_F(MainWindowTest, ASongOpenedByARelativePathIsRememberedAbsolute) {
    const QString song = WriteFile(QStringLiteral("a.fwk"), "G, 0, 0, 0, 0, 0, Q\r\n");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    TfrmMain& window = Start({QStringLiteral("a.fwk")});
    QDir::setCurrent(before);
    EXPECT_EQ(window.settings().RecentFile[0], song);
    EXPECT_EQ(window.currentSongPath(), song);
}

// --- Remembered window and last song ------------------------------------------------------------

TEST_F(MainWindowTest, SizePlaceAndMaximisedStateAreKept) {
    {
        TfrmMain& window = StartShown();
        window.setGeometry(QRect(10, 30, 780, 600));
        QCoreApplication::processEvents();
        window.close();
    }
    main.reset();
    QSettings file(SettingsFilePath(), QSettings::IniFormat);
    EXPECT_EQ(file.value(QStringLiteral("Options/WindowWidth")).toString(), QStringLiteral("780"));
    EXPECT_EQ(file.value(QStringLiteral("Options/WindowHeight")).toString(), QStringLiteral("600"));
    EXPECT_EQ(file.value(QStringLiteral("Options/WindowMaximized")).toString(),
              QStringLiteral("0"));
    TfrmMain& again = Start();
    EXPECT_EQ(again.geometry(), QRect(10, 30, 780, 600));

    // A place on a screen that has gone: the size comes back, not the place.
    main.reset();
    ResetSettingsFile(QStringLiteral("WindowLeft=-5000\nWindowTop=40\nWindowWidth=1000\n"
                                     "WindowHeight=700\nWindowMaximized=1\n"));
    TfrmMain& elsewhere = Start();
    EXPECT_EQ(elsewhere.size(), QSize(800, 700)) << "cut to the primary screen's width";
    EXPECT_NE(elsewhere.x(), -5000);
    EXPECT_TRUE(elsewhere.windowState() & Qt::WindowMaximized);
}

// A window saved larger than the screen it comes back on (a smaller or more magnified one)
// fits inside the screen's free area, on that screen, status bar and Play buttons included.
TEST_F(MainWindowTest, ARestoredWindowFitsOnItsScreen) {
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    ResetSettingsFile(QStringLiteral("WindowLeft=%1\nWindowTop=%2\nWindowWidth=%3\n"
                                     "WindowHeight=%4\n")
                          .arg(available.left() + 100)
                          .arg(available.top() + 40)
                          .arg(available.width() + 200)
                          .arg(available.height() + 100));
    TfrmMain& window = StartShown();
    window.FormActivate();
    EXPECT_TRUE(available.contains(window.frameGeometry()))
        << window.frameGeometry().width() << "x" << window.frameGeometry().height();
    const QWidget* buttons = window.ui().pnlPlayButtons;
    EXPECT_TRUE(available.contains(QRect(buttons->mapToGlobal(QPoint(0, 0)), buttons->size())));
}

TEST_F(MainWindowTest, TheLastSongOpensAtStartOnlyWhenAskedFor) {
    const QString song = WriteFile(QStringLiteral("last.fwk"), "C, x, 2, 0, 1, 2, H\r\n");
    for (const bool asked : {false, true}) {
        main.reset();
        ResetSettingsFile(QStringLiteral("OpenLastSong=%1\n[Recent]\nRecentFile0=%2\n")
                              .arg(asked ? 1 : 0)
                              .arg(song));
        TfrmMain& window = Start();
        window.FormActivate();
        EXPECT_EQ(window.currentSongPath(), asked ? song : QString()) << asked;
        EXPECT_EQ(Text(), asked ? QStringLiteral("C, x, 2, 0, 1, 2, H") : QString()) << asked;
        EXPECT_FALSE(window.document().Modified());
    }
}

// --- Tempo box and closing during a play --------------------------------------------------------

TEST_F(MainWindowTest, TheTempoBoxAndTheScrollBarMoveTogether) {
    TfrmMain& window = StartShown();
    QSpinBox* box = window.ui().spnTempo;
    EXPECT_EQ(box->value(), 120);
    window.ui().scrlTempo->setValue(96);
    EXPECT_EQ(box->value(), 96);
    box->setValue(200);
    EXPECT_EQ(window.ui().scrlTempo->value(), 200);
    EXPECT_EQ(window.tempo(), 200);
    EXPECT_EQ(window.ui().lblTempo->text(), QStringLiteral("200"));
    EXPECT_EQ(box->minimum(), 1);
    EXPECT_EQ(box->maximum(), 500);
    EXPECT_TRUE(window.document().Modified());
    // Typed, it takes effect on Enter.
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("75"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(window.tempo(), 75);
}

TEST_F(MainWindowTest, ClosingDuringAPlayStopsItAndCloses) {
    TfrmMain& window = StartShown();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    window.ui().chkLoop->setChecked(true);
    window.document().setModified(true);
    dialogs.AnswerMessage(DialogAnswer::No); // don't save
    clock.At(std::chrono::milliseconds(100), [&] { window.close(); });
    clock.At(std::chrono::milliseconds(60000), [&] { window.playSession().StopRequested = true; });
    window.playSession().PlayButtonPressed();
    EXPECT_LT(clock.Now(), std::chrono::milliseconds(1000)) << "the close stopped the play";
    for (int i = 0; i < 500 && window.isVisible(); ++i)
        QTest::qWait(10);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(Messages().size(), 1) << "asked about the unsaved changes";
}

} // namespace
} // namespace fw::testing

// The details of the main window a player meets at the keyboard and with the mouse: the keys
// after a play, the line number in the status bar, Enter in the name box.

#include "main_window_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include <functional>

namespace fw::testing {
namespace {

using std::chrono::milliseconds;

using WindowDetails = MainWindowTest;

// A play started from the keyboard: its F2 is released while the play runs (and, for the
// second case, Escape stops it). The next keys reach the editor as before the play.
struct KeysAfterPlayCase {
    const char* label;
    bool escapeStops;
};

void PrintTo(const KeysAfterPlayCase& c, std::ostream* os) {
    *os << c.label;
}

class KeysAfterAPlay : public WindowDetails,
                       public ::testing::WithParamInterface<KeysAfterPlayCase> {};

TEST_P(KeysAfterAPlay, ReachTheEditor) {
    TfrmMain& window = StartShown();
    QPlainTextEdit* editor = window.ui().RichEdit1;
    SetText(QStringLiteral("A, 0, 0, 0, 0, 0, Q\nG, 0, 0, 0, 0, 0, Q"));
    Caret(0);
    editor->moveCursor(QTextCursor::StartOfLine);
    clock.At(clock.Now() + milliseconds(100), [editor] { QTest::keyRelease(editor, Qt::Key_F2); });
    if (GetParam().escapeStops)
        clock.At(clock.Now() + milliseconds(300),
                 [editor] { QTest::keyClick(editor, Qt::Key_Escape); });
    QTest::keyPress(editor, Qt::Key_F2);
    ASSERT_FALSE(window.IsPlaying());

    QTest::keyClicks(editor, QStringLiteral("ZY"));
    EXPECT_TRUE(Text().startsWith(QStringLiteral("ZYA,"))) << Text().toStdString();
    QTest::keyClick(editor, Qt::Key_Down);
    EXPECT_EQ(window.CurrentLineIndex(), 1);
}

const KeysAfterPlayCase KeysAfterPlayCases[] = {{"play_ends", false}, {"escape_stops", true}};

INSTANTIATE_TEST_SUITE_P(Plays, KeysAfterAPlay, ::testing::ValuesIn(KeysAfterPlayCases),
                         [](const auto& info) { return std::string(info.param.label); });

// The line number follows the caret at once, wherever a command puts it.
TEST_F(WindowDetails, TheLineNumberFollowsTheCaretAtOnce) {
    TfrmMain& window = StartShown();
    QPlainTextEdit* editor = window.ui().RichEdit1;
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\nC, x, 2, 0, 1, 2, Q"));
    const auto shown = [&] {
        return window.statusPanel(2) ==
               QStringLiteral("Line %1").arg(editor->textCursor().blockNumber() + 1);
    };
    QTest::keyClick(editor, Qt::Key_End, Qt::ControlModifier);
    QTest::mouseClick(window.ui().btnNewChord, Qt::LeftButton);
    EXPECT_EQ(editor->textCursor().blockNumber(), 2);
    EXPECT_TRUE(shown()) << "New Chord at the end: " << window.statusPanel(2).toStdString();
    QTest::keyClick(editor, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::mouseClick(window.ui().btnNewChord, Qt::LeftButton);
    EXPECT_EQ(editor->textCursor().blockNumber(), 4);
    EXPECT_TRUE(shown()) << "Enter, New Chord: " << window.statusPanel(2).toStdString();
}

// Enter in the name box renames the line and returns to the chord list.
TEST_F(WindowDetails, EnterInTheNameBoxRenamesAndReturnsToTheList) {
    TfrmMain& window = StartShown();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    Caret(0);
    window.ShowLineStatus(0);
    QLineEdit* name = window.ui().edtName;
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Gmaj"));
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_TRUE(Text().startsWith(QStringLiteral("Gmaj,"))) << Text().toStdString();
    EXPECT_EQ(QApplication::focusWidget(), window.ui().RichEdit1);
}

// The note button of the current duration shows pressed, and Dotted ticked for a dotted one,
// from the start, after every choice and after New.
TEST_F(WindowDetails, TheCurrentDurationShows) {
    TfrmMain& window = StartShown();
    const auto pressed = [&] {
        QString letters;
        for (QToolButton* button : window.ui().durationButtons)
            if (button->isChecked())
                letters += button->property("durationLetter").toString();
        return (window.ui().chkDotted->isChecked() ? QStringLiteral(".") : QString()) + letters;
    };
    const auto button = [&](QChar letter) {
        for (QToolButton* b : window.ui().durationButtons)
            if (b->property("durationLetter").toString() == letter)
                return b;
        return static_cast<QToolButton*>(nullptr);
    };
    EXPECT_EQ(pressed(), QStringLiteral("S"));
    QTest::mouseClick(button(QLatin1Char('E')), Qt::LeftButton);
    EXPECT_EQ(pressed(), QStringLiteral("E"));
    QTest::mouseClick(window.ui().chkDotted, Qt::LeftButton);
    QTest::mouseClick(button(QLatin1Char('Q')), Qt::LeftButton);
    EXPECT_EQ(pressed(), QStringLiteral(".Q"));
    QTest::mouseClick(button(QLatin1Char('Q')), Qt::LeftButton);
    EXPECT_EQ(pressed(), QStringLiteral(".Q")) << "a second click keeps it pressed";
    window.New1Click();
    EXPECT_EQ(pressed(), QStringLiteral("S"));
}

// A line error in the status bar goes with its song, however the next one comes.
struct NextSongCase {
    const char* label;
    std::function<void(TfrmMain&, ScriptedDialogService&, const QString&)> open;
};

void PrintTo(const NextSongCase& c, std::ostream* os) {
    *os << c.label;
}

class NextSong : public WindowDetails, public ::testing::WithParamInterface<NextSongCase> {};

TEST_P(NextSong, ClearsTheErrorOfTheSongBefore) {
    TfrmMain& window = StartShown();
    const QString path =
        WriteFile(QStringLiteral("next.fwk"), QByteArrayLiteral("* A comment first\r\n"));
    SetText(QStringLiteral("G, 0, 0, bad"));
    window.ShowLineStatus(0);
    ASSERT_TRUE(window.statusPanel(0).contains(QStringLiteral("***Error***")));
    GetParam().open(window, dialogs, path);
    EXPECT_EQ(window.statusPanel(0).trimmed(), QString());
}

const NextSongCase NextSongCases[] = {
    {"new", [](TfrmMain& w, ScriptedDialogService&, const QString&) { w.New1Click(); }},
    {"open",
     [](TfrmMain& w, ScriptedDialogService& d, const QString& path) {
         d.AnswerOpenFile(path);
         w.Open1Click();
     }},
    {"recent_file",
     [](TfrmMain& w, ScriptedDialogService&, const QString& path) { w.OpenRecentFile(path); }},
};

INSTANTIATE_TEST_SUITE_P(Ways, NextSong, ::testing::ValuesIn(NextSongCases),
                         [](const auto& info) { return std::string(info.param.label); });

// The Practice button says what is on.
TEST_F(WindowDetails, ThePracticeButtonSaysWhatIsOn) {
    TfrmMain& window = StartShown();
    const auto reads = [&] { return window.ui().btnPractice->text().remove(QLatin1Char('&')); };
    EXPECT_EQ(reads(), QStringLiteral("Practice"));
    window.ui().actCountIn[1]->trigger();
    window.ui().actMetronome->trigger();
    window.ui().spnTrainerStart->setValue(70);
    window.ui().actTrainer->trigger();
    EXPECT_EQ(reads(), QStringLiteral("Practice: count-in, metronome, trainer 70\u2192100%"));
    window.ui().actCountIn[0]->trigger();
    window.ui().actTrainer->trigger();
    EXPECT_EQ(reads(), QStringLiteral("Practice: metronome"));
    window.ui().actMetronome->trigger();
    EXPECT_EQ(reads(), QStringLiteral("Practice"));
}

// A song file dropped on the chord list or the name box opens, as it does on the neck; a drop
// of other text still goes into the list.
TEST_F(WindowDetails, ASongDroppedOnATextBoxOpens) {
    TfrmMain& window = StartShown();
    const QString song = QStringLiteral("C, x, 2, 0, 1, 2, Q");
    const QString path = WriteFile(QStringLiteral("dropped.FWK"), song.toUtf8());
    const auto drop = [](QWidget* target, const QMimeData& data) {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
        return enter.isAccepted() && drop.isAccepted();
    };
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(path)});
    for (QWidget* target :
         {window.ui().RichEdit1->viewport(), static_cast<QWidget*>(window.ui().edtName)}) {
        SCOPED_TRACE(target->objectName().toStdString());
        SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
        window.document().setPath(QString());
        EXPECT_TRUE(drop(target, file));
        EXPECT_EQ(Text().trimmed(), song);
        EXPECT_EQ(window.document().path(), path);
        EXPECT_FALSE(window.document().Modified());
    }
    QMimeData words;
    words.setText(QStringLiteral("* dropped words"));
    SetText(QString());
    EXPECT_TRUE(drop(window.ui().RichEdit1->viewport(), words));
    EXPECT_EQ(Text(), QStringLiteral("* dropped words"));
}

} // namespace
} // namespace fw::testing

// Playing the chord list on the virtual clock: each option and its message, errors that stop a
// play before it starts, looping until Stop, the controls, and the step buttons.

#include "main_window_fixture.h"

#include "editor/fretboard_view.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

namespace fw::testing {
namespace {

using std::chrono::milliseconds;

class PlayEngine : public MainWindowTest {
protected:
    void Option(int option) { main->playOptionGroup->button(option)->setChecked(true); }
    // Times (ms) of the note-on messages with key `key`.
    std::vector<long> OnsetsOf(int key) const {
        std::vector<long> times;
        for (const auto& event : output.Messages())
            if ((event.message & 0xF0) == 0x90 && ((event.message >> 8) & 0xFF) == unsigned(key) &&
                ((event.message >> 16) & 0xFF) != 0)
                times.push_back(static_cast<long>(
                    std::chrono::duration_cast<milliseconds>(event.time).count()));
        return times;
    }
};

struct MessageCase {
    const char* label;
    const char* text;
    int option;
    int selectionStart;
    int selectionLength;
    const char* message;
};

class PlayMessages : public PlayEngine, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(PlayMessages, SayWhyNothingPlays) {
    const MessageCase& c = GetParam();
    TfrmMain& window = Start();
    SetText(QString::fromUtf8(c.text));
    window.lines().setSelection(c.selectionStart, c.selectionLength);
    Option(c.option);
    window.PlayButtonPressed();
    EXPECT_EQ(Messages(), QStringList{QString::fromUtf8(c.message)});
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(window.btnPlay->text(), QStringLiteral("Play"));
    EXPECT_TRUE(window.grpEditControls->isEnabled()) << "the controls are never left disabled";
}

INSTANTIATE_TEST_SUITE_P(
    Options, PlayMessages,
    ::testing::Values(
        MessageCase{"empty", "", 0, 0, 0, "No chords to play - no lines in editor."},
        MessageCase{"all_comments", "* one\n* two", 0, 0, 0, "No chords to play in editor."},
        MessageCase{"from_cursor", "G, 0, 0, 0, 0, 0, Q\n* end", 1, 20, 0,
                    "No chords to play from cursor."},
        MessageCase{"highlighted_nothing", "G, 0, 0, 0, 0, 0, Q", 2, 0, 0,
                    "Play Highlighted option is selected with no lines highlighted."},
        MessageCase{"highlighted_blank", "\n\n\nG, 0, 0, 0, 0, 0, Q", 2, 0, 2,
                    "No chords to play in highlighted lines."},
        MessageCase{"current_comment", "* verse\nG, 0, 0, 0, 0, 0, Q", 3, 0, 0,
                    "Play Current Line option is selected and current line is not a chord "
                    "definition."}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(PlayEngine, AParseErrorStopsThePlayWithTheLineSelected) {
    TfrmMain& window = Start();
    SetText(QStringLiteral(
        "G, 0, 0, 0, 0, 0, Q\n* a\n\nC, x, 2, 0, 1, 2, Q\nbad, 1\nG, 0, 0, 0, 0, 0, Q"));
    window.PlayButtonPressed();
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("Line 5    Not enough commas.")});
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(window.CurrentLineIndex(), 4);
    EXPECT_EQ(window.lines().selectionLength(), 6);
    EXPECT_EQ(window.btnPlay->text(), QStringLiteral("Play"));
}

TEST_F(PlayEngine, AllPlaysEachChordForItsLengthAtTheTempo) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\n* between\nC, x, 2, 0, 1, 2, H"));
    window.PlayButtonPressed();
    EXPECT_EQ(OnsetsOf(62), (std::vector<long>{0}));
    EXPECT_EQ(OnsetsOf(64), (std::vector<long>{500})) << "the comment takes no time";
    EXPECT_EQ(clock.Now(), milliseconds(1500));
    EXPECT_EQ(output.Count(RecordingOutput::Kind::Open), 1);
    EXPECT_EQ(output.Count(RecordingOutput::Kind::Close), 1);
    EXPECT_FALSE(output.IsOpen());
    // The patch goes out on the selected channel and on the note channel first.
    ASSERT_GE(Sent().size(), 2u);
    EXPECT_EQ(Sent()[0], 0x000069C0u);
    EXPECT_EQ(Sent()[1], 0x000069C1u);
}

TEST_F(PlayEngine, ControlsAreDisabledDuringAPlayAndRestoredAfter) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    bool editDisabled = false, playStop = false, stopVisible = false, fileMenuOff = false;
    clock.At(milliseconds(100), [&] {
        editDisabled = !window.grpEditControls->isEnabled() && !window.btnNewChord->isEnabled();
        playStop = window.btnPlay->text() == QStringLiteral("Stop");
        stopVisible = window.Stop1->isVisible() && !window.Start1->isVisible();
        fileMenuOff = !window.mnuFile->menuAction()->isEnabled();
    });
    window.PlayButtonPressed();
    EXPECT_TRUE(editDisabled);
    EXPECT_TRUE(playStop);
    EXPECT_TRUE(stopVisible);
    EXPECT_TRUE(fileMenuOff);
    EXPECT_TRUE(window.grpEditControls->isEnabled());
    EXPECT_TRUE(window.mnuFile->menuAction()->isEnabled());
    EXPECT_TRUE(window.Start1->isVisible());
    EXPECT_EQ(window.btnPlay->text(), QStringLiteral("Play"));
}

TEST_F(PlayEngine, LoopRepeatsUntilStop) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("* intro\nG, 0, 0, 0, 0, 0, Q"));
    Caret(1);
    Option(1);
    window.chkLoop->setChecked(true);
    clock.At(milliseconds(2250), [&] { window.PlayButtonPressed(); });
    window.PlayButtonPressed();
    EXPECT_EQ(OnsetsOf(62), (std::vector<long>{0, 500, 1000, 1500, 2000}));
    EXPECT_EQ(window.btnPlay->text(), QStringLiteral("Play"));
    EXPECT_FALSE(window.StopRequested);
    // Every note that started was turned off.
    int on = 0, off = 0;
    for (std::uint32_t message : Sent()) {
        if ((message & 0xF0) == 0x90)
            ++on;
        if ((message & 0xF0) == 0x80)
            ++off;
    }
    EXPECT_EQ(on, off);
}

TEST_F(PlayEngine, StopHalfwayThroughAWholeNoteSendsTheNoteOffsAtOnce) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, W"));
    window.setTempo(60);
    clock.At(milliseconds(2000), [&] { window.PlayButtonPressed(); });
    window.PlayButtonPressed();
    const auto messages = output.Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().time, milliseconds(2000));
    EXPECT_EQ(messages.back().message & 0xF0, 0x80u);
}

TEST_F(PlayEngine, DebugSelectsTheLineBeingPlayed) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\nC, x, 2, 0, 1, 2, Q\n* end"));
    window.chkTrace->setChecked(true);
    window.PlayButtonPressed();
    EXPECT_EQ(window.CurrentLineIndex(), 1);
    EXPECT_EQ(window.lines().selectionLength(), 19);
}

TEST_F(PlayEngine, WithoutDebugTheSelectionStays) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\nC, x, 2, 0, 1, 2, Q"));
    window.lines().setSelection(3, 4);
    window.PlayButtonPressed();
    EXPECT_EQ(window.lines().selectionStart(), 3);
    EXPECT_EQ(window.lines().selectionLength(), 4);
}

TEST_F(PlayEngine, CurrentLinePlaysOneChordAndPutsTheCaretBack) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\nC, x, 2, 0, 1, 2, H"));
    window.lines().setSelection(25, 0);
    Option(3);
    window.PlayButtonPressed();
    EXPECT_EQ(OnsetsOf(64), (std::vector<long>{0}));
    EXPECT_EQ(clock.Now(), milliseconds(1000));
    EXPECT_EQ(window.lines().selectionStart(), 20) << "the caret goes to the line's start";
}

TEST_F(PlayEngine, HighlightedPlaysTheSelectedLines) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\nC, x, 2, 0, 1, 2, Q\nD, 0, 0, 2, 3, 4, Q"));
    // From inside line 1 through the break after it.
    window.lines().setSelection(22, 18);
    Option(2);
    window.PlayButtonPressed();
    EXPECT_TRUE(OnsetsOf(67).empty()) << "G of line 0 is not played";
    EXPECT_EQ(OnsetsOf(64).size(), 1u);
    EXPECT_EQ(clock.Now(), milliseconds(500));
}

TEST_F(PlayEngine, TheTuningShiftsTheSoundingKeys) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, x, x, x, x, Q"));
    window.ApplyTuning(65555);
    window.PlayButtonPressed();
    EXPECT_EQ(NoteOnKeys(), (std::vector<int>{68}));
}

TEST_F(PlayEngine, StepForwardPlaysAndMovesToTheNextChord) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("* intro\nG, 0, 0, 0, 0, 0, Q\n\nC, x, 2, 0, 1, 2, Q"));
    Caret(0);
    window.StepForward();
    EXPECT_EQ(NoteOnKeys(), (std::vector<int>{62, 59, 55, 50, 67}));
    EXPECT_EQ(window.CurrentLineIndex(), 3);
    const std::size_t before = Sent().size();
    window.StepForward();
    EXPECT_EQ(NoteOnKeys(before), (std::vector<int>{64, 60, 55, 52}));
    EXPECT_EQ(window.CurrentLineIndex(), 3) << "the last chord stays highlighted";
    window.StepForward();
    EXPECT_TRUE(Messages().isEmpty()) << "pressing again plays it again";
}

TEST_F(PlayEngine, StepBackWithOnlyCommentsAboveSaysSo) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("* a\n* b\nG, 0, 0, 0, 0, 0, Q"));
    Caret(1);
    window.StepBack();
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("Can't step back from this line")});
    Caret(2);
    window.StepBack();
    EXPECT_EQ(NoteOnKeys().size(), 5u);
}

TEST_F(PlayEngine, EscapeAndF2StopAPlayFromTheKeyboard) {
    TfrmMain& window = Start();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, W\nC, x, 2, 0, 1, 2, W"));
    window.RichEdit1->setFocus();
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_F2}) {
        const auto start = clock.Now();
        clock.At(start + milliseconds(250), [&] { QTest::keyClick(window.RichEdit1, key); });
        window.PlayButtonPressed();
        EXPECT_EQ(clock.Now() - start, milliseconds(250)) << "key " << key;
        EXPECT_EQ(window.btnPlay->text(), QStringLiteral("Play"));
    }
    // Idle, Escape does nothing and F2 starts a play.
    QTest::keyClick(window.RichEdit1, Qt::Key_Escape);
    EXPECT_EQ(NoteOnKeys().size(), 10u);
    const auto idle = clock.Now();
    QTest::keyClick(window.RichEdit1, Qt::Key_F2);
    EXPECT_EQ(clock.Now() - idle, milliseconds(4000));
}

TEST_F(PlayEngine, ChangingTheTempoMarksTheDocumentModified) {
    TfrmMain& window = Start();
    window.setTempo(90);
    EXPECT_TRUE(window.Modified);
    EXPECT_EQ(window.lblTempo->text(), QStringLiteral("90"));
}

} // namespace
} // namespace fw::testing

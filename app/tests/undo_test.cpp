// Undo and Redo: typing and every command that changes lines can be taken back, each command as
// one step, from the keyboard (Ctrl+Z; Ctrl+Y and Ctrl+Shift+Z) and the Edit menu, whose items
// follow what the editor can really undo and redo.

#include "main_window_fixture.h"

#include "editor/fretboard_view.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include <functional>

namespace fw::testing {
namespace {

class Undo : public MainWindowTest {
protected:
    void Keys(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(main->ui().RichEdit1, key, modifiers);
    }
    void CtrlZ() { Keys(Qt::Key_Z, Qt::ControlModifier); }
};

struct UndoCase {
    const char* label;
    const char* before;
    int line; // the caret's line, whose status is shown
    std::function<void(TfrmMain&)> command;
    const char* after;
};

void PrintTo(const UndoCase& c, std::ostream* os) {
    *os << c.label;
}

class UndoingACommand : public Undo, public ::testing::WithParamInterface<UndoCase> {};

TEST_P(UndoingACommand, TakesItBackInOneStepAndRedoesIt) {
    const UndoCase& c = GetParam();
    TfrmMain& window = StartShown();
    SetText(QString::fromUtf8(c.before));
    Caret(c.line);
    window.ShowLineStatus(c.line);
    window.ui().RichEdit1->setFocus();
    c.command(window);
    ASSERT_EQ(Text(), QString::fromUtf8(c.after));

    CtrlZ();
    EXPECT_EQ(Text(), QString::fromUtf8(c.before)) << "one Ctrl+Z takes the whole command back";
    Keys(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Text(), QString::fromUtf8(c.after)) << "Ctrl+Y";
    window.ui().Undo1->trigger();
    EXPECT_EQ(Text(), QString::fromUtf8(c.before)) << "Edit > Undo";
    Keys(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Text(), QString::fromUtf8(c.after)) << "Ctrl+Shift+Z";
}

const UndoCase UndoCases[] = {
    {"typing", "G, 0, 0, 0, 0, 0, Q", 0,
     [](TfrmMain& w) { QTest::keyClicks(w.ui().RichEdit1, "* "); }, "* G, 0, 0, 0, 0, 0, Q"},
    {"neck_click_on_a_blank_line", "", 0,
     [](TfrmMain& w) { emit w.fretboard()->markerPressed(3, 2, Qt::LeftButton); },
     "Chord, x, x, 2, x, x, S"},
    {"neck_click_below_a_comment", "* Verse", 0,
     [](TfrmMain& w) { emit w.fretboard()->markerPressed(1, 0, Qt::LeftButton); },
     "* Verse\nChord, x, x, x, x, 0, S"},
    {"hammer_on", "Chord, x, x, 2, x, x, S", 0,
     [](TfrmMain& w) { emit w.fretboard()->markerPressed(3, 4, Qt::RightButton); },
     "Chord, x, x, 2-4, x, x, S"},
    {"transpose_up", "G, 0, 0, 0, 0, 0, Q", 0, [](TfrmMain& w) { w.btnShiftRightClick(); },
     "Chord, 1, 1, 1, 1, 1, S"},
    {"transpose_down", "C, x, 2, 0, 1, 2, Q", 0, [](TfrmMain& w) { w.btnShiftLeftClick(); },
     "Chord, x, 1, x, 0, 1, S"},
    {"duration", "G, 0, 0, 0, 0, 0, Q", 0,
     [](TfrmMain& w) { w.DurationClick(QStringLiteral("H")); }, "G, 0, 0, 0, 0, 0, H"},
    {"rename", "G, 0, 0, 0, 0, 0, Q", 0,
     [](TfrmMain& w) {
         w.ui().edtName->setText(QStringLiteral("G7"));
         w.edtNameExit();
     },
     "G7, 0, 0, 0, 0, 0, Q"},
    {"delete", "A\nB\nC", 1, [](TfrmMain& w) { w.btnDeleteClick(); }, "A\nC"},
    {"clear", "G, 0, 0, 0, 0, 0, Q", 0, [](TfrmMain& w) { w.btnClearClick(); },
     "Chord, x, x, x, x, x, S"},
    {"duplicate", "G, 0, 0, 0, 0, 0, Q\n* end", 0, [](TfrmMain& w) { w.btnDupClick(); },
     "G, 0, 0, 0, 0, 0, Q\nG, 0, 0, 0, 0, 0, Q\n* end"},
    {"rest", "G, 0, 0, 0, 0, 0, Q", 0, [](TfrmMain& w) { w.btnRestClick(); },
     "G, 0, 0, 0, 0, 0, Q\nRest , x, x, x, x, x, S"},
    {"new_chord", "A\nB", 0, [](TfrmMain& w) { w.btnNewChordClick(); }, "A\n\nB"},
    {"paste", "abc", 0,
     [](TfrmMain& w) {
         QApplication::clipboard()->setText(QStringLiteral("xyz"));
         w.lines().setSelection(0, 3);
         w.Paste1Click();
     },
     "xyzabc"},
    {"dictionary_pick", "G, 0, 0, 0, 0, 0, Q", 0,
     [](TfrmMain& w) { w.cboDictionaryChange(QStringLiteral("D, 0, 0, 2, 3, 4, Q")); },
     "G, 0, 0, 0, 0, 0, Q\nD, 0, 0, 2, 3, 4, Q"},
    {"edit_delete", "abcdef", 0,
     [](TfrmMain& w) {
         w.lines().setSelection(1, 2);
         w.Delete1Click();
     },
     "adef"},
};

INSTANTIATE_TEST_SUITE_P(Commands, UndoingACommand, ::testing::ValuesIn(UndoCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(Undo, StepsBackThroughSeveralCommandsInTurn) {
    TfrmMain& window = StartShown();
    SetText(QString());
    emit window.fretboard()->markerPressed(3, 2, Qt::LeftButton);
    emit window.fretboard()->markerPressed(1, 0, Qt::LeftButton);
    window.DurationClick(QStringLiteral("Q"));
    ASSERT_EQ(Text(), QStringLiteral("Chord, x, x, 2, x, 0, Q"));
    CtrlZ();
    EXPECT_EQ(Text(), QStringLiteral("Chord, x, x, 2, x, 0, S"));
    CtrlZ();
    EXPECT_EQ(Text(), QStringLiteral("Chord, x, x, 2, x, x, S"));
    CtrlZ();
    EXPECT_EQ(Text(), QString());
    EXPECT_EQ(window.fretboard()->markerState(3, 2), MarkerState::Hidden)
        << "the neck shows the line as it is after the undo";
}

TEST_F(Undo, TheEditMenuFollowsWhatCanBeUndoneAndRedone) {
    TfrmMain& window = StartShown();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    window.Edit1Click();
    EXPECT_FALSE(window.ui().Undo1->isEnabled()) << "a fresh document has nothing to undo";
    EXPECT_FALSE(window.ui().Redo1->isEnabled());
    window.btnClearClick();
    window.Edit1Click();
    EXPECT_TRUE(window.ui().Undo1->isEnabled());
    EXPECT_FALSE(window.ui().Redo1->isEnabled());
    window.ui().Undo1->trigger();
    window.Edit1Click();
    EXPECT_FALSE(window.ui().Undo1->isEnabled());
    EXPECT_TRUE(window.ui().Redo1->isEnabled());
    EXPECT_EQ(window.ui().Redo1->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
}

TEST_F(Undo, OpeningASongStartsAFreshHistory) {
    TfrmMain& window = StartShown();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    window.btnClearClick();
    window.settings().Prompts = false;
    window.New1Click();
    CtrlZ();
    EXPECT_EQ(Text(), QString()) << "New cannot be undone into the old song";
}

} // namespace
} // namespace fw::testing

// The edit group's commands and the Edit menu, on a real editor.

#include "main_window_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

namespace fw::testing {
namespace {

enum class Command { Up, Down, Half, DottedHalf, Eighth, Rest, Dup, Clear, Delete, NewLine };

struct CommandCase {
    const char* label;
    const char* before;
    int line; // the caret's line
    Command command;
    const char* after;
};

class EditorCommands : public MainWindowTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(EditorCommands, RewriteTheDocument) {
    const CommandCase& c = GetParam();
    TfrmMain& window = Start();
    SetText(QString::fromUtf8(c.before));
    Caret(c.line);
    switch (c.command) {
    case Command::Up:
        window.btnShiftRightClick();
        break;
    case Command::Down:
        window.btnShiftLeftClick();
        break;
    case Command::Half:
        window.DurationClick(QStringLiteral("H"));
        break;
    case Command::DottedHalf:
        window.ui().chkDotted->setChecked(true);
        window.DurationClick(QStringLiteral("H"));
        break;
    case Command::Eighth:
        window.DurationClick(QStringLiteral("E"));
        break;
    case Command::Rest:
        window.btnRestClick();
        break;
    case Command::Dup:
        window.btnDupClick();
        break;
    case Command::Clear:
        window.btnClearClick();
        break;
    case Command::Delete:
        window.btnDeleteClick();
        break;
    case Command::NewLine:
        window.btnNewChordClick();
        break;
    }
    EXPECT_EQ(Text(), QString::fromUtf8(c.after));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, EditorCommands,
    ::testing::Values(
        CommandCase{"up_open", "G, 0, 0, 0, 0, 0, Q", 0, Command::Up, "Chord, 1, 1, 1, 1, 1, S"},
        CommandCase{"down_open", "G, 0, 0, 0, 0, 0, Q", 0, Command::Down,
                    "Chord, x, x, x, x, x, S"},
        CommandCase{"up_c", "C, x, 2, 0, 1, 2, Q", 0, Command::Up, "Chord, x, 3, 1, 2, 3, S"},
        CommandCase{"down_hammer", "Slide, 0, 2-4, 0, 0, 0, H", 0, Command::Down,
                    "Chord, x, 1-3, x, x, x, S"},
        CommandCase{"up_limits", "G, 17, 22, 0, 0, 0, Q", 0, Command::Up,
                    "Chord, x, x, 1, 1, 1, S"},
        CommandCase{"up_drops_target", "G, x, 5-22, x, x, x, Q", 0, Command::Up,
                    "Chord, x, 6, x, x, x, S"},
        CommandCase{"rest_unchanged", "N.C., x, x, x, x, x, Q", 0, Command::Up,
                    "N.C., x, x, x, x, x, Q"},
        CommandCase{"comment_untouched", "* x", 0, Command::Up, "* x"},
        CommandCase{"half", "G, 0, 0, 0, 0, 0, Q", 0, Command::Half, "G, 0, 0, 0, 0, 0, H"},
        CommandCase{"dotted_half", "G, 0, 0, 0, 0, 0, Q", 0, Command::DottedHalf,
                    "G, 0, 0, 0, 0, 0, .H"},
        CommandCase{"eighth_tight", "G,0,0,0,0,0,Q", 0, Command::Eighth, "G,0,0,0,0,0, E"},
        CommandCase{"half_trailing_spaces", "G, 0, 0, 0, 0, 0, Q    ", 0, Command::Half,
                    "G, 0, 0, 0, 0, 0, H"},
        CommandCase{"duration_on_error", "G, 0, 0", 0, Command::Half, "G, 0, 0"},
        CommandCase{"rest_after_final_break", "G, 0, 0, 0, 0, 0, Q\n", 1, Command::Rest,
                    "G, 0, 0, 0, 0, 0, Q\nRest , x, x, x, x, x, S\n"},
        CommandCase{"rest_after_first", "A\nB\nC", 0, Command::Rest,
                    "A\nRest , x, x, x, x, x, S\nB\nC"},
        CommandCase{"rest_after_last", "A\nB\nC", 2, Command::Rest,
                    "A\nB\nC\nRest , x, x, x, x, x, S"},
        CommandCase{"dup", "G, 0, 0, 0, 0, 0, Q\n* end", 0, Command::Dup,
                    "G, 0, 0, 0, 0, 0, Q\nG, 0, 0, 0, 0, 0, Q\n* end"},
        CommandCase{"dup_comment", "* end", 0, Command::Dup, "* end"},
        CommandCase{"clear", "G, 0, 0, 0, 0, 0, Q", 0, Command::Clear, "Chord, x, x, x, x, x, S"},
        CommandCase{"clear_error_line", "G, 0, 0, 0, 0, a, Q", 0, Command::Clear,
                    "Chord, x, x, x, x, x, S"},
        CommandCase{"clear_comment", "* end", 0, Command::Clear, "* end"},
        CommandCase{"delete_comment", "* a\nG, 0, 0, 0, 0, 0, Q", 0, Command::Delete,
                    "G, 0, 0, 0, 0, 0, Q"},
        CommandCase{"delete_last", "A\nB", 1, Command::Delete, "A"},
        CommandCase{"delete_after_final_break", "A\n", 1, Command::Delete, "A\n"},
        CommandCase{"new_line", "A\nB", 0, Command::NewLine, "A\n\nB"},
        CommandCase{"new_line_at_end", "A\n", 1, Command::NewLine, "A\n\n"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(MainWindowTest, DottedAloneChangesNothingAndTheNextButtonWritesADottedValue) {
    TfrmMain& window = Start();
    window.show();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    Caret(0);
    QTest::mouseClick(window.ui().chkDotted, Qt::LeftButton, {}, QPoint(8, 12));
    ASSERT_TRUE(window.ui().chkDotted->isChecked());
    EXPECT_EQ(Text(), QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    window.DurationClick(QStringLiteral("Q"));
    EXPECT_EQ(window.currentDuration(), QStringLiteral(" .Q"));
    window.btnRestClick();
    EXPECT_EQ(Text(), QStringLiteral("G, 0, 0, 0, 0, 0, .Q\nRest , x, x, x, x, x, .Q"));
}

TEST_F(MainWindowTest, RenameWorksOnTheLastChordShownEvenFromAComment) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\n* verse"));
    window.ShowLineStatus(0);
    Caret(1);
    window.ShowLineStatus(1);
    EXPECT_EQ(window.ui().edtName->text(), QString());
    window.ui().edtName->setText(QStringLiteral("G7"));
    window.edtNameExit();
    EXPECT_EQ(Text(), QStringLiteral("G7, 0, 0, 0, 0, 0, Q\n* verse"));
}

TEST_F(MainWindowTest, PasteGoesInFrontOfTheSelection) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("abc"));
    window.lines().setSelection(0, 3);
    QApplication::clipboard()->setText(QStringLiteral("xyz"));
    window.Paste1Click();
    EXPECT_EQ(Text(), QStringLiteral("xyzabc"));
}

TEST_F(MainWindowTest, EditMenuStatesFollowSelectionAndClipboard) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("abc"));
    QApplication::clipboard()->clear();
    window.lines().setSelection(0, 0);
    window.Edit1Click();
    EXPECT_FALSE(window.ui().Copy1->isEnabled());
    EXPECT_FALSE(window.ui().Cut1->isEnabled());
    EXPECT_FALSE(window.ui().Delete1->isEnabled());
    EXPECT_TRUE(window.ui().SelectAll1->isEnabled());
    window.lines().setSelection(0, 2);
    QApplication::clipboard()->setText(QStringLiteral("x"));
    window.Edit1Click();
    EXPECT_TRUE(window.ui().Copy1->isEnabled());
    EXPECT_TRUE(window.ui().Cut1->isEnabled());
    EXPECT_TRUE(window.ui().Delete1->isEnabled());
    EXPECT_TRUE(window.ui().Paste1->isEnabled());
}

TEST_F(MainWindowTest, CtrlAInTheEditorIsSaveAsNotSelectAll) {
    TfrmMain& window = Start();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    window.ui().RichEdit1->setFocus();
    QTest::keyClick(window.ui().RichEdit1, Qt::Key_A, Qt::ControlModifier);
    ASSERT_FALSE(dialogs.Log().empty());
    EXPECT_EQ(dialogs.Log().back().kind, DialogKind::SaveFile);
    EXPECT_EQ(window.lines().selectionLength(), 0);
}

TEST_F(MainWindowTest, DeleteRemovesTheSelectionWithoutTouchingTheClipboard) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("abcdef"));
    QApplication::clipboard()->setText(QStringLiteral("keep"));
    window.lines().setSelection(1, 2);
    window.Delete1Click();
    EXPECT_EQ(Text(), QStringLiteral("adef"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("keep"));
}

} // namespace
} // namespace fw::testing

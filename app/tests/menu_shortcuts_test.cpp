// The Edit menu's shortcuts act on the state at the moment of the key press. The menu shows its
// items greyed out while they have nothing to work on, but what it showed the last time it was
// opened must not change what a key does later (a disabled item would hand its key to the
// editor, whose own Ctrl+V replaces the selection and whose Ctrl+Del deletes a word).

#include "main_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>

#include <functional>

namespace fw::testing {
namespace {

struct ShortcutCase {
    const char* label;
    std::function<void()> beforeMenu; // the state while the Edit menu is open
    const char* text;
    int selectionStart, selectionLength; // at the key press
    std::function<void()> beforeKey;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* after;
    const char* clipboard; // afterwards
};

void PrintTo(const ShortcutCase& c, std::ostream* os) {
    *os << c.label;
}

class EditShortcuts : public MainWindowTest, public ::testing::WithParamInterface<ShortcutCase> {};

TEST_P(EditShortcuts, ActOnTheStateAtTheKeyPress) {
    const ShortcutCase& c = GetParam();
    TfrmMain& window = Start();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    SetText(QString::fromUtf8(c.text));
    window.lines().setSelection(0, 0);
    c.beforeMenu();
    window.ui().mnuEdit->popup(window.mapToGlobal(QPoint(20, 20)));
    window.ui().mnuEdit->hide();

    window.lines().setSelection(c.selectionStart, c.selectionLength);
    c.beforeKey();
    window.ui().RichEdit1->setFocus();
    QTest::keyClick(window.ui().RichEdit1, c.key, c.modifiers);
    EXPECT_EQ(Text(), QString::fromUtf8(c.after));
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8(c.clipboard));
}

void ClipboardEmpty() {
    QApplication::clipboard()->clear();
}
void ClipboardHolds() {
    QApplication::clipboard()->setText(QStringLiteral("xyz"));
}
void Nothing() {}

const ShortcutCase ShortcutCases[] = {
    // The menu opened with an empty clipboard; by the key press it holds text.
    {"paste_goes_in_front_of_the_selection", ClipboardEmpty, "abc def", 0, 3, ClipboardHolds,
     Qt::Key_V, Qt::ControlModifier, "xyzabc def", "xyz"},
    // The menu opened with nothing selected; by the key press two letters are.
    {"delete_removes_the_selection_not_a_word", ClipboardHolds, "abc def", 4, 2, Nothing,
     Qt::Key_Delete, Qt::ControlModifier, "abc f", "xyz"},
    {"delete_without_a_selection_changes_nothing", ClipboardHolds, "abc def", 0, 0, Nothing,
     Qt::Key_Delete, Qt::ControlModifier, "abc def", "xyz"},
    {"cut_takes_the_selection", ClipboardEmpty, "abc def", 0, 4, Nothing, Qt::Key_X,
     Qt::ControlModifier, "def", "abc "},
    {"copy_takes_the_selection", ClipboardEmpty, "abc def", 4, 3, Nothing, Qt::Key_C,
     Qt::ControlModifier, "abc def", "def"},
    {"paste_with_an_empty_clipboard_keeps_the_selection", ClipboardHolds, "abc def", 0, 3,
     ClipboardEmpty, Qt::Key_V, Qt::ControlModifier, "abc def", ""},
};

INSTANTIATE_TEST_SUITE_P(Keys, EditShortcuts, ::testing::ValuesIn(ShortcutCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(MainWindowTest, UndoByKeyWorksAfterTheMenuShowedNothingToUndo) {
    TfrmMain& window = Start();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    window.ui().mnuEdit->popup(window.mapToGlobal(QPoint(20, 20)));
    EXPECT_FALSE(window.ui().Undo1->isEnabled()) << "the open menu shows there is nothing to undo";
    window.ui().mnuEdit->hide();
    Caret(0);
    window.btnClearClick();
    QTest::keyClick(window.ui().RichEdit1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(), QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
}

} // namespace
} // namespace fw::testing

// Find (Ctrl+F) and Find Next (F3) in the chord list, through the scripted dialogs: the user
// types into the real "Find Text" dialog and presses its buttons.

#include "main_window_fixture.h"

#include "windows/frm_find.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>

#include <optional>

namespace fw::testing {
namespace {

// Four lines, starting at 0, 20, 41 and 66.
const QString Song = QStringLiteral("C, 2, 1, 2, 0, 0, Q\n"
                                    "Am, 2, 1, 2, 2, 0, Q\n"
                                    "* G7 then G and C7 again\n"
                                    "G, 0, 0, 0, 0, 0, H");

// Where the `nth` (from 1) occurrence of `needle` starts in Song, counted as plain text (in
// any letter case when asked), without regard to words: the expectations name occurrences as
// a reader of Song counts them.
int Pos(const QString& needle, int nth = 1, Qt::CaseSensitivity cs = Qt::CaseSensitive) {
    int at = -1;
    for (int i = 0; i < nth; ++i)
        at = static_cast<int>(Song.indexOf(needle, at + 1, cs));
    return at;
}
int PosAnyCase(const QString& needle, int nth) {
    return Pos(needle, nth, Qt::CaseInsensitive);
}

enum class Kind { Find, FindNext };

// One command and what the editor's selection and the message boxes show after it.
struct Step {
    Kind kind;
    std::optional<QString> typed = std::nullopt; // typed into the box (Find only)
    bool wholeWord = false;
    bool matchCase = false;
    bool ok = true; // OK, or Cancel
    int start = 0;  // the selection afterwards
    int length = 0;
    QString message = {}; // the message box shown, if any
};

struct FindCase {
    const char* name;
    int selectionStart;
    int selectionLength;
    std::vector<Step> steps;
};

void PrintTo(const FindCase& c, std::ostream* os) {
    *os << c.name;
}

QString NotFound(const QString& text) {
    return QStringLiteral("Search string \"") + text + QStringLiteral("\" not found");
}

class FindSequences : public MainWindowTest, public ::testing::WithParamInterface<FindCase> {};

TEST_P(FindSequences, SelectWhatTheySayAndReportMisses) {
    const FindCase& c = GetParam();
    TfrmMain& window = Start();
    SetText(Song);
    window.lines().setSelection(c.selectionStart, c.selectionLength);
    int number = 0;
    for (const Step& step : c.steps) {
        ++number;
        dialogs.ClearLog();
        if (step.kind == Kind::Find) {
            dialogs.AnswerModal([&step](QDialog& dialog) {
                auto& find = static_cast<Tfrmfind&>(dialog);
                if (step.typed)
                    find.Edit1->setText(*step.typed);
                find.chkWholeWord->setChecked(step.wholeWord);
                find.chkMatchCase->setChecked(step.matchCase);
                (step.ok ? find.btnOK : find.btnCancel)->click();
            });
            window.Find1Click();
        } else {
            window.FindNext1Click();
        }
        EXPECT_EQ(dialogs.PendingAnswers(), 0u) << "step " << number;
        EXPECT_EQ(window.lines().selectionStart(), step.start) << "step " << number;
        EXPECT_EQ(window.lines().selectionLength(), step.length) << "step " << number;
        const QStringList expected =
            step.message.isEmpty() ? QStringList() : QStringList{step.message};
        EXPECT_EQ(Messages(), expected) << "step " << number;
        for (const DialogCall& call : dialogs.Log()) {
            if (call.kind == DialogKind::Message) {
                EXPECT_EQ(call.icon, MessageIcon::Information) << "step " << number;
            }
        }
    }
}

const QString Am = QStringLiteral("Am");

INSTANTIATE_TEST_SUITE_P(
    Cases, FindSequences,
    ::testing::Values(
        // The search starts after the caret: earlier occurrences do not count.
        FindCase{"CaretAfterLastOccurrence",
                 Pos("Am") + 5,
                 0,
                 {{Kind::Find, Am, false, false, true, Pos("Am") + 5, 0, NotFound(Am)}}},
        FindCase{"LowerCaseFindsCapital",
                 0,
                 0,
                 {{Kind::Find, QStringLiteral("am"), false, false, true, Pos("Am"), 2}}},
        FindCase{"MatchCaseRefusesCapital",
                 0,
                 0,
                 {{Kind::Find, QStringLiteral("am"), false, true, true, 0, 0,
                   NotFound(QStringLiteral("am"))}}},
        // "G7" is not the word "G"; the G with a space on each side is.
        FindCase{"WholeWordSkipsG7",
                 20,
                 0,
                 {{Kind::Find, QStringLiteral("G"), true, false, true, Pos("G", 2), 1}}},
        FindCase{"WithoutWholeWordG7Counts",
                 20,
                 0,
                 {{Kind::Find, QStringLiteral("G"), false, false, true, Pos("G7"), 1}}},
        // A digit is part of a word too: "C7" is a word, and "C" is not found inside it.
        FindCase{"WholeWordAndDigits",
                 1,
                 0,
                 {{Kind::Find, QStringLiteral("C"), true, false, true, 1, 0,
                   NotFound(QStringLiteral("C"))},
                  {Kind::Find, QStringLiteral("C7"), true, false, true, Pos("C7"), 2}}},
        // F3 steps down through the occurrences ("G7", "G", "again", "G,"); past the last the
        // selection collapses to the start of that match, so the next F3 finds it again.
        FindCase{"RepeatedFindNextStepsDown",
                 0,
                 0,
                 {{Kind::Find, QStringLiteral("g"), false, false, true, PosAnyCase("g", 1), 1},
                  {Kind::FindNext, std::nullopt, false, false, true, PosAnyCase("g", 2), 1},
                  {Kind::FindNext, std::nullopt, false, false, true, PosAnyCase("g", 3), 1},
                  {Kind::FindNext, std::nullopt, false, false, true, PosAnyCase("g", 4), 1},
                  {Kind::FindNext, std::nullopt, false, false, true, PosAnyCase("g", 4), 0,
                   NotFound(QStringLiteral("g"))},
                  {Kind::FindNext, std::nullopt, false, false, true, PosAnyCase("g", 4), 1}}},
        // A match that starts right where the selection ends is found.
        FindCase{"MatchRightAfterTheSelection",
                 Pos("Am") - 1,
                 1,
                 {{Kind::Find, Am, false, false, true, Pos("Am"), 2}}},
        // Cancel: nothing searched, nothing said, the selection as it was.
        FindCase{"CancelKeepsTheSelection",
                 3,
                 5,
                 {{Kind::Find, QStringLiteral("Q"), false, false, false, 3, 5}}},
        // A cancelled dialog keeps the text typed into it, and F3 looks for that.
        FindCase{"CancelledTextStillDrivesFindNext",
                 0,
                 0,
                 {{Kind::Find, QStringLiteral("Q"), false, false, false, 0, 0},
                  {Kind::FindNext, std::nullopt, false, false, true, Pos("Q"), 1}}},
        // An empty text finds nothing, says so, and leaves the selection alone.
        FindCase{"EmptyTextFindsNothing",
                 3,
                 2,
                 {{Kind::Find, QString(), false, false, true, 3, 2, NotFound(QString())}}},
        // The options are read at each search, also by F3.
        FindCase{"FindNextUsesTheBoxesAsLeft",
                 0,
                 0,
                 {{Kind::Find, QStringLiteral("am"), false, true, true, 0, 0,
                   NotFound(QStringLiteral("am"))},
                  {Kind::FindNext, std::nullopt, false, false, true, 0, 0,
                   NotFound(QStringLiteral("am"))}}}),
    [](const ::testing::TestParamInfo<FindCase>& info) { return std::string(info.param.name); });

// What the box holds when the dialog opens over a selection.
struct TakeOverCase {
    const char* name;
    int start;
    int length;
    bool takenOver;
};

void PrintTo(const TakeOverCase& c, std::ostream* os) {
    *os << c.name;
}

class SelectionTakeOver : public MainWindowTest,
                          public ::testing::WithParamInterface<TakeOverCase> {};

TEST_P(SelectionTakeOver, OnlyShortOneLineSelectionsBecomeTheSearchText) {
    const TakeOverCase& c = GetParam();
    TfrmMain& window = Start();
    // Line 0 is 39 characters long.
    SetText(QStringLiteral("* 0123456789012345678901234567890123456\nAm, 2, 1, 2, 2, 0, Q"));
    // An earlier search left "old" in the box.
    dialogs.AnswerModal([](QDialog& dialog) {
        static_cast<Tfrmfind&>(dialog).Edit1->setText(QStringLiteral("old"));
        static_cast<Tfrmfind&>(dialog).btnCancel->click();
    });
    window.Find1Click();

    window.lines().setSelection(c.start, c.length);
    QString shown, selectedInBox;
    dialogs.AnswerModal([&](QDialog& dialog) {
        auto& find = static_cast<Tfrmfind&>(dialog);
        shown = find.Edit1->text();
        selectedInBox = find.Edit1->selectedText();
        find.btnCancel->click();
    });
    window.Find1Click();
    const QString expected = c.takenOver ? Text().mid(c.start, c.length) : QStringLiteral("old");
    EXPECT_EQ(shown, expected);
    // The whole box is selected, ready to be typed over.
    EXPECT_EQ(selectedInBox, expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SelectionTakeOver,
                         ::testing::Values(TakeOverCase{"OneCharacter", 2, 1, true},
                                           TakeOverCase{"TwentyNine", 2, 29, true},
                                           TakeOverCase{"Thirty", 2, 30, false},
                                           TakeOverCase{"Empty", 5, 0, false},
                                           // "56\nAm": five characters over a line break.
                                           TakeOverCase{"OverALineBreak", 37, 5, false}),
                         [](const ::testing::TestParamInfo<TakeOverCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(MainWindowTest, FindNextBeforeAnySearchOpensTheDialog) {
    TfrmMain& window = Start();
    SetText(Song);
    window.FindNext1Click(); // the default answer closes it as Escape would
    ASSERT_EQ(dialogs.Log().size(), 1u);
    EXPECT_EQ(dialogs.Log()[0].kind, DialogKind::Modal);
    EXPECT_EQ(dialogs.Log()[0].dialogName, QStringLiteral("frmfind"));
    EXPECT_EQ(dialogs.Log()[0].text, QStringLiteral("Find Text"));
}

TEST_F(MainWindowTest, FindCommandsAreOnTheirKeysAndEnabled) {
    TfrmMain& window = Start();
    EXPECT_TRUE(window.ui().Find1->isEnabled());
    EXPECT_TRUE(window.ui().FindNext1->isEnabled());
    EXPECT_EQ(window.ui().Find1->shortcut(), QKeySequence(QStringLiteral("Ctrl+F")));
    EXPECT_EQ(window.ui().FindNext1->shortcut(), QKeySequence(Qt::Key_F3));
}

TEST_F(MainWindowTest, TheFindDialogIsMadeOnceAndKeepsItsOptions) {
    TfrmMain& window = Start();
    SetText(Song);
    dialogs.AnswerModal([](QDialog& dialog) {
        auto& find = static_cast<Tfrmfind&>(dialog);
        EXPECT_TRUE(find.btnOK->isDefault());
        EXPECT_EQ(find.windowTitle(), QStringLiteral("Find Text"));
        EXPECT_EQ(find.Label1->text(), QStringLiteral("Text to find:"));
        find.Edit1->setText(QStringLiteral("g"));
        find.chkMatchCase->setChecked(true);
        find.btnOK->click();
    });
    window.Find1Click();
    Tfrmfind* first = window.ui().frmfind;
    ASSERT_NE(first, nullptr);

    window.lines().setSelection(0, 0);
    bool caseKept = false;
    dialogs.AnswerModal([&caseKept](QDialog& dialog) {
        caseKept = static_cast<Tfrmfind&>(dialog).chkMatchCase->isChecked();
        static_cast<Tfrmfind&>(dialog).btnCancel->click();
    });
    window.Find1Click();
    EXPECT_EQ(window.ui().frmfind, first);
    EXPECT_TRUE(caseKept);
}

TEST_F(MainWindowTest, AFoundChordShowsOnTheFretboardAndTheFocusReturns) {
    TfrmMain& window = Start();
    SetText(Song);
    window.lines().setSelection(0, 0);
    window.ShowLineStatus(0);
    window.ui().edtName->setFocus();
    dialogs.AnswerModal([](QDialog& dialog) {
        static_cast<Tfrmfind&>(dialog).Edit1->setText(QStringLiteral("Am"));
        static_cast<Tfrmfind&>(dialog).btnOK->click();
    });
    window.Find1Click();
    EXPECT_EQ(window.ui().edtName->text(), QStringLiteral("Am"));
    EXPECT_EQ(window.statusPanel(2), QStringLiteral("Line 2"));
    EXPECT_EQ(window.focusWidget(), window.ui().RichEdit1);
}

} // namespace
} // namespace fw::testing

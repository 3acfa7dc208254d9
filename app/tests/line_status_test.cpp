// The labels, the name box and the status bar follow the current line.

#include "main_window_fixture.h"
#include "tests/support/case_name.h"

#include "editor/fretboard_view.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace fw::testing {
namespace {

QString ChordLabel(TfrmMain& window) {
    return window.fretboard()->chordName();
}

struct StatusCase {
    const char* line;
    bool chord;
    const char* label;
    const char* name;
};

class LineStatus : public MainWindowTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(LineStatus, NamesTheLine) {
    const StatusCase& c = GetParam();
    TfrmMain& window = Start();
    SetText(QString::fromUtf8(c.line));
    EXPECT_EQ(window.ShowLineStatus(0), c.chord);
    EXPECT_EQ(ChordLabel(window), QString::fromUtf8(c.label));
    EXPECT_EQ(window.ui().edtName->text(), QString::fromUtf8(c.name));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, LineStatus,
    ::testing::Values(StatusCase{"G7, 0, 0, 0, 0, 0, Q", true, "G7", "G7"},
                      StatusCase{"* Verse", false, "No Chord  -  Comment Line", ""},
                      StatusCase{"   \t ", false, "No Chord  -  Blank Line", ""},
                      StatusCase{"", false, "No Chord  -  Blank Line", ""},
                      StatusCase{" *Verse", false, "(Error in line.)", ""},
                      StatusCase{" *A, 0, 0, 0, 0, 0, Q", false, "No Chord  -  Comment Line", ""}),
    [](const auto& info) { return fw::cases::IndexedCaseName(info.index, info.param.line); });

TEST_F(MainWindowTest, ErrorsShowInTheFirstPanelAndCommentsKeepIt) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\n\n G\n* note\nG, 0, 0, 0, 0, 0, Q"));
    window.ShowLineStatus(2);
    const QString error = QStringLiteral("   ***Error***   Line 3    Not enough commas.");
    EXPECT_EQ(window.statusPanel(0), error);
    window.ShowLineStatus(3);
    EXPECT_EQ(window.statusPanel(0), error) << "a comment line keeps panel 0";
    window.ShowLineStatus(1);
    EXPECT_EQ(window.statusPanel(0), error) << "a blank line keeps panel 0";
    window.ShowLineStatus(4);
    EXPECT_EQ(window.statusPanel(0), QString());
}

TEST_F(MainWindowTest, TheLineAfterAFinalBreakIsBlankAndCounted) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\nC, x, 2, 0, 1, 2, Q\n"));
    Caret(2);
    EXPECT_EQ(window.statusPanel(2), QStringLiteral("Line 3"));
    EXPECT_FALSE(window.ShowLineStatus(window.CurrentLineIndex()));
    EXPECT_EQ(ChordLabel(window), QStringLiteral("No Chord  -  Blank Line"));
}

TEST_F(MainWindowTest, LastSelectedLineSkipsAnEmptyLineAtTheSelectionEnd) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("A\nB\n\nC"));
    // From the start through the break of the empty line 2.
    window.lines().setSelection(0, 5);
    EXPECT_EQ(window.LastSelectedLineIndex(), 1);
    window.lines().setSelection(0, 3);
    EXPECT_EQ(window.LastSelectedLineIndex(), 1);
    window.lines().setSelection(0, 0);
    EXPECT_EQ(window.LastSelectedLineIndex(), 0);
}

TEST_F(MainWindowTest, EveryChangeMarksTheDocumentModified) {
    TfrmMain& window = Start();
    ASSERT_FALSE(window.document().Modified());
    window.show();
    window.ui().RichEdit1->setFocus();
    QTest::keyClicks(window.ui().RichEdit1, QStringLiteral("G"));
    EXPECT_TRUE(window.document().Modified());
}

TEST_F(MainWindowTest, KeyReleaseRefreshesAndCursorKeysSoundWhenAsked) {
    TfrmMain& window = Start();
    window.show();
    window.settings().CursorPlays = true;
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\nC, x, 2, 0, 1, 2, Q"));
    Caret(0);
    window.ui().RichEdit1->setFocus();
    QTest::keyClick(window.ui().RichEdit1, Qt::Key_Right);
    EXPECT_TRUE(Sent().empty()) << "left and right never sound";
    QTest::keyClick(window.ui().RichEdit1, Qt::Key_Down);
    EXPECT_EQ(ChordLabel(window), QStringLiteral("C"));
    EXPECT_EQ(NoteOnKeys(), (std::vector<int>{64, 60, 55, 52}));
}

TEST_F(MainWindowTest, CursorUpOntoALineInErrorShowsTheBoxOnce) {
    TfrmMain& window = Start();
    window.show();
    window.settings().CursorPlays = true;
    SetText(QStringLiteral("G, 0, 0\nC, x, 2, 0, 1, 2, Q"));
    Caret(1);
    window.ui().RichEdit1->setFocus();
    QTest::keyClick(window.ui().RichEdit1, Qt::Key_Up);
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("Line 1    Not enough commas.")});
    EXPECT_TRUE(Sent().empty());
}

} // namespace
} // namespace fw::testing

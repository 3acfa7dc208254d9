// What a player working with the keyboard meets: Tab leaves the chord list instead of typing a
// tab into it and reaches every control in turn, tempo included; and taking a command back
// leaves the caret on the line the command changed, not at the top of a long song.

#include "main_window_fixture.h"

#include "editor/fretboard_view.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>

#include <functional>

namespace fw::testing {
namespace {

using KeyboardAndCaret = MainWindowTest;

TEST_F(KeyboardAndCaret, TabLeavesTheChordListAndReachesEveryControlInTurn) {
    TfrmMain& window = StartShown();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    ASSERT_EQ(QApplication::focusWidget(), window.ui().RichEdit1);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(Text(), QStringLiteral("G, 0, 0, 0, 0, 0, Q")) << "Tab typed into the chord list";
    EXPECT_NE(QApplication::focusWidget(), window.ui().RichEdit1)
        << "Tab kept the focus in the list";

    QList<QWidget*> visited;
    for (int i = 0; i < 60 && QApplication::focusWidget() != window.ui().RichEdit1; ++i) {
        visited << QApplication::focusWidget();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(QApplication::focusWidget(), window.ui().RichEdit1) << "Tab never came back round";
    const QList<QWidget*> wanted = {window.ui().edtName,   window.ui().cboDictionary,
                                    window.ui().scrlTempo, window.ui().spnTempo,
                                    window.ui().btnPlay,   window.ui().btnNewChord};
    for (QWidget* control : wanted)
        EXPECT_TRUE(visited.contains(control)) << control->objectName().toStdString();

    // The tempo is set from the keyboard once Tab has reached it.
    window.ui().scrlTempo->setFocus();
    const int tempo = window.ui().scrlTempo->value();
    QTest::keyClick(window.ui().scrlTempo, Qt::Key_Right);
    EXPECT_EQ(window.ui().scrlTempo->value(), tempo + window.ui().scrlTempo->singleStep())
        << "Right: faster";
    QTest::keyClick(window.ui().scrlTempo, Qt::Key_Left);
    QTest::keyClick(window.ui().scrlTempo, Qt::Key_Left);
    EXPECT_EQ(window.ui().scrlTempo->value(), tempo - window.ui().scrlTempo->singleStep())
        << "Left: slower";
}

struct CaretCase {
    const char* label;
    std::function<void(TfrmMain&)> command;
};

void PrintTo(const CaretCase& c, std::ostream* os) {
    *os << c.label;
}

class CaretAfterUndo : public KeyboardAndCaret, public ::testing::WithParamInterface<CaretCase> {};

constexpr int SongLines = 40;
constexpr int CaretLine = 30;

QString LongSong() {
    QStringList lines;
    for (int i = 0; i < SongLines; ++i)
        lines << QStringLiteral("G%1, 0, 0, 0, 0, 0, Q").arg(i);
    return lines.join(QLatin1Char('\n'));
}

TEST_P(CaretAfterUndo, StaysOnTheLineTheCommandChanged) {
    TfrmMain& window = StartShown();
    SetText(LongSong());
    Caret(CaretLine);
    window.ShowLineStatus(CaretLine);
    window.ui().RichEdit1->setFocus();
    GetParam().command(window);
    ASSERT_NE(Text(), LongSong());

    QTest::keyClick(window.ui().RichEdit1, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(Text(), LongSong());
    EXPECT_GE(window.CurrentLineIndex(), CaretLine) << "Ctrl+Z sent the caret away";
    EXPECT_LE(window.CurrentLineIndex(), CaretLine + 1) << "Ctrl+Z sent the caret away";
}

const CaretCase CaretCases[] = {
    {"neck_click", [](TfrmMain& w) { emit w.fretboard()->markerPressed(3, 2, Qt::LeftButton); }},
    {"dictionary_pick",
     [](TfrmMain& w) { w.cboDictionaryChange(QStringLiteral("D, 0, 0, 2, 3, 4, Q")); }},
    {"duplicate", [](TfrmMain& w) { w.btnDupClick(); }},
    {"rest", [](TfrmMain& w) { w.btnRestClick(); }},
    {"delete", [](TfrmMain& w) { w.btnDeleteClick(); }},
    {"paste_tablature",
     [](TfrmMain& w) {
         QApplication::clipboard()->setText(QStringLiteral("D|--0--2--|\n"
                                                           "B|--1--3--|\n"
                                                           "G|--2--0--|\n"
                                                           "D|--0--0--|\n"
                                                           "g|--0--0--|\n"));
         w.PasteTablature1Click();
     }},
};

INSTANTIATE_TEST_SUITE_P(Commands, CaretAfterUndo, ::testing::ValuesIn(CaretCases),
                         [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace fw::testing

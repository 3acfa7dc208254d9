// The chord-list editor keeps every line break an ordinary one, whatever the keyboard or the
// clipboard offers.

#include "editor/chord_text_edit.h"

#include <QMimeData>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

namespace fw {
namespace {

// The lines as the document holds them (its blocks), each as it is, separators included.
QStringList Blocks(const QPlainTextEdit& edit) {
    QStringList lines;
    for (QTextBlock block = edit.document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

struct KeyCase {
    const char* label;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

class LineBreakKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(LineBreakKeys, StartAnOrdinaryLine) {
    ChordTextEdit edit;
    edit.setPlainText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    edit.moveCursor(QTextCursor::End);
    QTest::keyClick(&edit, GetParam().key, GetParam().modifiers);
    QTest::keyClicks(&edit, QStringLiteral("C, x, 2, 0, 1, 2, H"));
    EXPECT_EQ(Blocks(edit), (QStringList{QStringLiteral("G, 0, 0, 0, 0, 0, Q"),
                                         QStringLiteral("C, x, 2, 0, 1, 2, H")}));
    EXPECT_FALSE(edit.toPlainText().contains(QChar::LineSeparator));
    // One undo step takes the break away again, as for Enter.
    edit.undo();
    edit.undo();
    EXPECT_EQ(Blocks(edit), QStringList{QStringLiteral("G, 0, 0, 0, 0, 0, Q")});
}

INSTANTIATE_TEST_SUITE_P(
    Keys, LineBreakKeys,
    ::testing::Values(KeyCase{"Return", Qt::Key_Return, Qt::NoModifier},
                      KeyCase{"ShiftReturn", Qt::Key_Return, Qt::ShiftModifier},
                      KeyCase{"ShiftEnter", Qt::Key_Enter, Qt::ShiftModifier | Qt::KeypadModifier}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ChordTextEdit, ShiftEnterChangesNothingWhenReadOnly) {
    ChordTextEdit edit;
    edit.setPlainText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    edit.setReadOnly(true);
    QTest::keyClick(&edit, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
}

// insertFromMimeData is what paste and drop both call.
class PastingEdit : public ChordTextEdit {
public:
    using ChordTextEdit::insertFromMimeData;
};

struct PasteCase {
    const char* label;
    QString pasted;
    QStringList lines;
};

class PastedSeparators : public ::testing::TestWithParam<PasteCase> {};

TEST_P(PastedSeparators, BecomeLineBreaks) {
    PastingEdit edit;
    QMimeData data;
    data.setText(GetParam().pasted);
    edit.insertFromMimeData(&data);
    EXPECT_EQ(Blocks(edit), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PastedSeparators,
    ::testing::Values(PasteCase{"LineSeparator",
                                QStringLiteral("G, 0, 0, 0, 0, 0, Q\u2028C, x, 2, 0, 1, 2, H"),
                                {QStringLiteral("G, 0, 0, 0, 0, 0, Q"),
                                 QStringLiteral("C, x, 2, 0, 1, 2, H")}},
                      PasteCase{"ParagraphSeparator",
                                QStringLiteral("a\u2029b\u2029"),
                                {QStringLiteral("a"), QStringLiteral("b"), QString()}},
                      PasteCase{"Mixed",
                                QStringLiteral("a\u2028\nb"),
                                {QStringLiteral("a"), QString(), QStringLiteral("b")}},
                      PasteCase{"NoSeparator",
                                QStringLiteral("* Caf\u00e9 \u2014 verse"),
                                {QStringLiteral("* Caf\u00e9 \u2014 verse")}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(WithPlainLineBreaks, ReplacesOnlyTheTwoSeparators) {
    EXPECT_EQ(WithPlainLineBreaks(QStringLiteral("x\u2028y\u2029z\u2027\u202a")),
              QStringLiteral("x\ny\nz\u2027\u202a"));
    EXPECT_EQ(WithPlainLineBreaks(QString()), QString());
}

} // namespace
} // namespace fw

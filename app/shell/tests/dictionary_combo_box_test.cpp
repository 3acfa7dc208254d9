// The chord dictionary's box: wheel steps and arrow keys never pick, typing narrows the list,
// Enter or a click picks exactly one entry, and the lists are as wide as the longest entry.

#include "ui/dictionary_combo_box.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace fw {
namespace {

QStringList ShippedDictionary() {
    QFile file(QStringLiteral(":/fretwick/BCHORDS.DCT"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList entries = QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"));
    if (!entries.isEmpty() && entries.back().isEmpty())
        entries.pop_back();
    return entries;
}

// Keys go where the platform sends them: to an open popup first.
QWidget* KeyTarget(QWidget* fallback) {
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup;
    return fallback;
}

void Type(DictionaryComboBox& box, const QString& text) {
    for (const QChar c : text)
        QTest::keyClick(KeyTarget(&box), c.toLatin1());
}

void Press(DictionaryComboBox& box, Qt::Key key) {
    QTest::keyClick(KeyTarget(&box), key);
}

class DictionaryBox : public ::testing::Test {
protected:
    void SetUp() override {
        entries = ShippedDictionary();
        ASSERT_EQ(entries.size(), 332);
        auto* layout = new QVBoxLayout(&window);
        box = new DictionaryComboBox(&window);
        box->addItems(entries);
        box->setCurrentIndex(-1);
        layout->addWidget(box);
        other = new QLineEdit(&window);
        layout->addWidget(other);
        window.resize(200, 80);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        box->setFocus();
        picks = std::make_unique<QSignalSpy>(box, &DictionaryComboBox::entryPicked);
    }
    void TearDown() override {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    }

    QStringList Picked() const {
        QStringList texts;
        for (const QList<QVariant>& call : *picks)
            texts << call.at(0).toString();
        return texts;
    }

    QWidget window;
    QStringList entries;
    DictionaryComboBox* box = nullptr;
    QLineEdit* other = nullptr;
    std::unique_ptr<QSignalSpy> picks;
};

TEST_F(DictionaryBox, WheelStepsOverTheClosedBoxNeverPick) {
    box->setCurrentIndex(0);
    const QPoint centre = box->rect().center();
    // Over the text part and over the arrow, both directions, the way a mouse wheel sends them.
    const QList<QWidget*> targets = {box->lineEdit(), box};
    for (QWidget* target : targets) {
        for (const int delta : {-120, -120, -120, 120, 120}) {
            const QPoint at = target->mapFrom(box, centre);
            QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &wheel);
        }
    }
    EXPECT_EQ(Picked(), QStringList());
    EXPECT_EQ(box->currentIndex(), 0) << "the wheel stepped through the entries";
}

TEST_F(DictionaryBox, ArrowKeysOnTheClosedBoxOpenTheListWithoutPicking) {
    box->setCurrentIndex(3);
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_PageUp}) {
        QTest::keyClick(box, key);
        EXPECT_TRUE(box->view()->isVisible()) << "the list opens on " << key;
        box->hidePopup();
    }
    EXPECT_EQ(Picked(), QStringList());
    EXPECT_EQ(box->currentIndex(), 3);
}

TEST_F(DictionaryBox, TypingNarrowsTheListInAnyLetterCaseAndEnterPicksTheFirst) {
    Type(*box, QStringLiteral("am7"));
    const QStringList am7 = {QStringLiteral("Am7 (1), 0, 2, 2, 1, 2, Q"),
                             QStringLiteral("Am7 (5), 0, 7, 5, 5, 5, Q"),
                             QStringLiteral("Am7b5 (1), 0, 1, 2, 1, 1, Q"),
                             QStringLiteral("Am7b5 (7), 0, 7, 8, 8, 10, Q")};
    EXPECT_EQ(box->filteredEntries(), am7);
    // What the open filter list shows.
    QAbstractItemView* list = box->findChild<QCompleter*>()->popup();
    ASSERT_TRUE(list->isVisible());
    ASSERT_EQ(list->model()->rowCount(), am7.size());
    for (int row = 0; row < am7.size(); ++row)
        EXPECT_EQ(list->model()->index(row, 0).data().toString(), am7[row]);
    EXPECT_EQ(Picked(), QStringList()) << "typing alone picks nothing";

    Press(*box, Qt::Key_Return);
    EXPECT_EQ(Picked(), QStringList{am7[0]});
    EXPECT_EQ(box->currentText(), am7[0]) << "the picked entry stays shown";
    EXPECT_EQ(box->lineEdit()->cursorPosition(), 0) << "from the start of its name";
    EXPECT_EQ(box->lineEdit()->selectedText(), am7[0]) << "typing replaces it";
    EXPECT_FALSE(list->isVisible());
}

TEST_F(DictionaryBox, ArrowsInTheFilterListChooseTheEntryEnterPicksIt) {
    Type(*box, QStringLiteral("D7 ("));
    const QStringList d7 = box->filteredEntries();
    ASSERT_GE(d7.size(), 3);
    for (const QString& entry : d7)
        EXPECT_TRUE(entry.startsWith(QStringLiteral("D7 ("))) << entry.toStdString();
    Press(*box, Qt::Key_Down);
    Press(*box, Qt::Key_Down);
    Press(*box, Qt::Key_Return);
    EXPECT_EQ(Picked(), QStringList{d7[1]}) << "one pick, the second entry";
}

TEST_F(DictionaryBox, AClickInTheFilterListPicksThatEntry) {
    Type(*box, QStringLiteral("bbmaj7"));
    QAbstractItemView* list = box->findChild<QCompleter*>()->popup();
    ASSERT_TRUE(list->isVisible());
    ASSERT_GE(list->model()->rowCount(), 2);
    const QModelIndex second = list->model()->index(1, 0);
    const QString wanted = second.data().toString();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(second).center());
    EXPECT_EQ(Picked(), QStringList{wanted});
}

TEST_F(DictionaryBox, AClickInTheOpenListPicksThatEntry) {
    box->showPopup();
    QAbstractItemView* list = box->view();
    ASSERT_TRUE(list->isVisible());
    const QModelIndex row = list->model()->index(2, 0);
    list->scrollTo(row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(row).center());
    EXPECT_EQ(Picked(), QStringList{entries[2]});
}

TEST_F(DictionaryBox, LeavingTheBoxOrTypingWhatNothingHoldsPicksNothing) {
    // An entry typed out in full, then the focus moves on.
    Type(*box, entries[5]);
    ASSERT_EQ(box->filteredEntries(), QStringList{entries[5]});
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Picked(), QStringList()) << "leaving the box picked the typed entry";

    box->setFocus(Qt::TabFocusReason);
    box->lineEdit()->clear();
    Type(*box, QStringLiteral("zzz"));
    Press(*box, Qt::Key_Return);
    EXPECT_EQ(Picked(), QStringList());
}

TEST_F(DictionaryBox, TheListsShowWholeEntries) {
    const QFontMetrics metrics(box->view()->font());
    int longest = 0;
    for (const QString& entry : entries)
        longest = std::max(longest, metrics.horizontalAdvance(entry));
    box->showPopup();
    EXPECT_GE(box->view()->viewport()->width(), longest) << "the open list cuts entries short";
    box->hidePopup();

    Type(*box, QStringLiteral("7b5"));
    QAbstractItemView* list = box->findChild<QCompleter*>()->popup();
    ASSERT_TRUE(list->isVisible());
    EXPECT_GE(list->viewport()->width(), longest) << "the filter list cuts entries short";
}

} // namespace
} // namespace fw

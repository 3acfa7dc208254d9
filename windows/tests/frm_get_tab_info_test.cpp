// The titles box: its texts, filling from the chord list at every showing, OK and Cancel.

#include "windows/frm_get_tab_info.h"

#include "ui/scripted_dialog_service.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace fw {
namespace {

TEST(TitlesBox, CaptionTextsAndHints) {
    TfrmGetTabInfo box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Tablature "));
    EXPECT_EQ(box.objectName(), QStringLiteral("frmGetTabInfo"));
    QStringList texts;
    for (const QLabel* label : box.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("Enter titles for tablature")));
    EXPECT_TRUE(texts.contains(QStringLiteral(
        "These titles will print at the top of the tablature. To pre-load them, include "
        "' * Title: ' and ' *Sub: ' lines in your files.")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Title:")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Sub:")));
    EXPECT_EQ(box.edtTitle->toolTip(),
              QStringLiteral("Title to be printed on tablature. File name is used by default."));
    EXPECT_EQ(box.edtSub->toolTip(),
              QStringLiteral("Subtitle to be printed on tablature. File name is used by default."));
    EXPECT_EQ(box.btnOK->text(), QStringLiteral("OK"));
    EXPECT_TRUE(box.btnOK->isDefault());
    EXPECT_EQ(box.btnCancel->text(), QStringLiteral("Cancel"));
}

TEST(TitlesBox, EveryShowingReadsTheChordListAfresh) {
    ScriptedDialogService dialogs;
    TfrmGetTabInfo box;
    QString seenTitle, seenSub;
    auto look = [&](QDialog&) {
        seenTitle = box.edtTitle->text();
        seenSub = box.edtSub->text();
        box.edtTitle->setText(QStringLiteral("typed over"));
        box.btnCancel->click();
    };

    box.SetSong({"* Title: Cripple Creek", "* Sub: in G", "G, 0, 0, 0, 0, 0, Q"},
                QStringLiteral("cripple"));
    dialogs.AnswerModal(look);
    EXPECT_EQ(dialogs.ShowModal(box), QDialog::Rejected);
    EXPECT_EQ(seenTitle, QStringLiteral("Cripple Creek"));
    EXPECT_EQ(seenSub, QStringLiteral("in G"));

    // No title line: the file name; what was typed last time is gone.
    box.SetSong({"G, 0, 0, 0, 0, 0, Q"}, QStringLiteral("Sally Goodin"));
    dialogs.AnswerModal(look);
    dialogs.ShowModal(box);
    EXPECT_EQ(seenTitle, QStringLiteral("Sally Goodin"));
    EXPECT_EQ(seenSub, QString());

    // An untitled song without a title line: both empty.
    box.SetSong({"G, 0, 0, 0, 0, 0, Q"}, QString());
    dialogs.AnswerModal(look);
    dialogs.ShowModal(box);
    EXPECT_EQ(seenTitle, QString());
}

TEST(TitlesBox, OkKeepsWhatWasTyped) {
    ScriptedDialogService dialogs;
    TfrmGetTabInfo box;
    box.SetSong({"* Title: Old", "G, 0, 0, 0, 0, 0, Q"}, QStringLiteral("song"));
    dialogs.AnswerModal([&](QDialog&) {
        box.edtTitle->setText(QStringLiteral("New title"));
        box.edtSub->setText(QStringLiteral("New sub"));
        QTest::keyClick(box.edtSub, Qt::Key_Return); // Enter presses OK
    });
    EXPECT_EQ(dialogs.ShowModal(box), QDialog::Accepted);
    EXPECT_EQ(box.Title(), QStringLiteral("New title"));
    EXPECT_EQ(box.Subtitle(), QStringLiteral("New sub"));
}

TEST(TitlesBox, EscapeCancels) {
    ScriptedDialogService dialogs;
    TfrmGetTabInfo box;
    box.SetSong({"G, 0, 0, 0, 0, 0, Q"}, QStringLiteral("song"));
    dialogs.AnswerModal([&](QDialog&) { QTest::keyClick(box.edtTitle, Qt::Key_Escape); });
    EXPECT_EQ(dialogs.ShowModal(box), QDialog::Rejected);
}

} // namespace
} // namespace fw

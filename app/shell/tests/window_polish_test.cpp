// Windows as a new user meets them: texts shown as written, the About box's version line, and
// a help window that can always be closed.

#include "ui/tests/widget_checks.h"

#include "ui/qt_dialog_service.h"
#include "windows/frm_about.h"
#include "windows/help_window.h"
#include "windows/small_windows.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <gtest/gtest.h>

namespace fw {
namespace {

// What a QLabel paints for its text: markup only when its format says so.
bool ShowsAsMarkup(const QLabel& label) {
    return label.textFormat() == Qt::RichText ||
           (label.textFormat() == Qt::AutoText && Qt::mightBeRichText(label.text()));
}

TEST(PlainText, MessageBoxesShowTheTextAsWritten) {
    const QString text = QStringLiteral("Line 1    \"<b>X</b>\" invalid.  Two  spaces.");
    QString shown;
    bool markup = true;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(label, nullptr);
        shown = label->text();
        markup = ShowsAsMarkup(*label);
        box->button(QMessageBox::Ok)->click();
    });
    QtDialogService dialogs;
    dialogs.Message(text, MessageIcon::Error, MessageButtons::Ok);
    EXPECT_EQ(shown, text);
    EXPECT_FALSE(markup) << "a message quoting the user's text was read as markup";
}

TEST(PlainText, TheNoSoundMessageShowsTheErrorAsWritten) {
    TfrmNoSoundMessage message(QStringLiteral("<i>Port</i> is <b>busy</b>"));
    for (const QLabel* label : message.findChildren<QLabel*>())
        EXPECT_FALSE(ShowsAsMarkup(*label)) << label->objectName().toStdString();
    EXPECT_EQ(message.lblOpenError->text(), QStringLiteral("<i>Port</i> is <b>busy</b>"));
}

TEST(About, TheVersionReadsWithOneSpace) {
    TfrmAbout about;
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    const auto* caption = about.findChild<QLabel*>(QStringLiteral("lblVersionCaption"));
    ASSERT_NE(caption, nullptr);
    const QFontMetrics metrics(caption->font());
    // From the end of the text "Version" to the start of "1.0": one space.
    const int textEnd = caption->x() + metrics.horizontalAdvance(caption->text());
    const int gap = about.lblVersion->x() - textEnd;
    EXPECT_LE(std::abs(gap - metrics.horizontalAdvance(QLatin1Char(' '))), 1)
        << "gap of " << gap << " pixels";
}

class HelpClosing : public ::testing::TestWithParam<bool> {};

TEST_P(HelpClosing, CloseAndEscapeHideTheWindow) {
    QWidget owner;
    ShowHelpContents(&owner);
    HelpWindow& help = HelpWindowOf(&owner);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
    ASSERT_NE(help.btnClose, nullptr);
    EXPECT_EQ(help.btnClose->text(), QStringLiteral("Close"));
    if (GetParam())
        help.btnClose->click();
    else
        QTest::keyClick(help.brwTopic, Qt::Key_Escape);
    EXPECT_FALSE(help.isVisible());
    // The next help command shows the same window again.
    ShowHelpFinder(&owner);
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(owner.findChildren<HelpWindow*>().size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Ways, HelpClosing, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "CloseButton" : "Escape"; });

} // namespace
} // namespace fw

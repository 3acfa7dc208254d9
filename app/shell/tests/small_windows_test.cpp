// The splash window, the About box, the welcome dialog and the sound-error dialog: their
// texts, names, results and looks.

#include "tests/support/case_name.h"
#include "ui/tests/widget_checks.h"

#include "windows/small_windows.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTest>

#include <gtest/gtest.h>

namespace fw {
namespace {

QString TextOf(const QWidget& window, const char* name) {
    const auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

QPoint ScreenCentre() {
    return QApplication::primaryScreen()->availableGeometry().center();
}

// True when the window's frame is centred on the screen, give or take a pixel.
bool IsCentred(const QWidget& window) {
    const QPoint offset = window.frameGeometry().center() - ScreenCentre();
    return std::abs(offset.x()) <= 1 && std::abs(offset.y()) <= 1;
}

TEST(Splash, IsABorderlessCentredTitleCard) {
    TfrmSplash splash;
    splash.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
    EXPECT_EQ(splash.size(), QSize(561, 296));
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(IsCentred(splash));
    EXPECT_GT(test::SampledColours(splash), 200) << "a drawn picture, not a plain fill";
    test::SaveShot(splash, QStringLiteral("splash"));
}

TEST(About, ShowsNameAndVersionAndClosesWithOk) {
    TfrmAbout about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(TextOf(about, "lblProductName"), QStringLiteral("Fretwick"));
    EXPECT_TRUE(about.lblVersion->text().isEmpty()) << "set when the box is shown";
    EXPECT_EQ(about.btnOK->text(), QStringLiteral("OK"));
    EXPECT_TRUE(about.btnOK->isDefault());
    auto* logo = about.findChild<QWidget*>(QStringLiteral("imgLogo"));
    ASSERT_NE(logo, nullptr);

    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    EXPECT_EQ(about.lblVersion->text(), QStringLiteral("1.0"));
    EXPECT_GT(test::SampledColours(*logo), 50) << "the logo is drawn";
    EXPECT_TRUE(IsCentred(about));
    EXPECT_EQ(test::CutOffTexts(about), "");
    test::SaveShot(about, QStringLiteral("about"));
    QTest::keyClick(&about, Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible()) << "OK is also the cancel button";
    about.show();
    about.btnOK->click();
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST(About, FixedSize) {
    TfrmAbout about;
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    EXPECT_EQ(about.minimumSize(), about.maximumSize());
}

TEST(Welcome, AsksAboutGettingStarted) {
    TfrmNewUserMessage welcome;
    EXPECT_EQ(welcome.windowTitle(), QStringLiteral("Welcome"));
    EXPECT_EQ(TextOf(welcome, "lblTitle"), QStringLiteral("Welcome to Fretwick"));
    EXPECT_EQ(TextOf(welcome, "lblQuestion"),
              QStringLiteral("Would you like to see the 'Getting Started' help topic?"));
    EXPECT_EQ(welcome.btnYes->text(), QStringLiteral("Yes"));
    EXPECT_EQ(welcome.btnNo->text(), QStringLiteral("No"));
    welcome.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&welcome));
    EXPECT_TRUE(IsCentred(welcome));
    EXPECT_EQ(welcome.minimumSize(), welcome.maximumSize());
    EXPECT_EQ(test::CutOffTexts(welcome), "");
    test::SaveShot(welcome, QStringLiteral("welcome"));
}

struct WelcomeAnswer {
    const char* how;
    int result;
};

class WelcomeAnswerTest : public ::testing::TestWithParam<WelcomeAnswer> {};

TEST_P(WelcomeAnswerTest, GivesSixForYesAndSevenOtherwise) {
    TfrmNewUserMessage welcome;
    welcome.show();
    const std::string how = GetParam().how;
    if (how == "Yes")
        welcome.btnYes->click();
    else if (how == "No")
        welcome.btnNo->click();
    else if (how == "Enter")
        QTest::keyClick(&welcome, Qt::Key_Return);
    else if (how == "Escape")
        QTest::keyClick(&welcome, Qt::Key_Escape);
    else
        welcome.close();
    EXPECT_FALSE(welcome.isVisible());
    EXPECT_EQ(welcome.result(), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Answers, WelcomeAnswerTest,
                         ::testing::Values(WelcomeAnswer{"Yes", 6}, WelcomeAnswer{"No", 7},
                                           WelcomeAnswer{"Enter", 6}, WelcomeAnswer{"Escape", 7},
                                           WelcomeAnswer{"close box", 7}),
                         [](const auto& info) { return fw::cases::CaseName(info.param.how); });

TEST(NoSound, ShowsTheErrorBetweenItsTwoFixedTexts) {
    TfrmNoSoundMessage message(QStringLiteral("The MIDI device is already in use."));
    EXPECT_EQ(message.windowTitle(), QStringLiteral("Error opening sound device"));
    EXPECT_EQ(TextOf(message, "lblHeading"),
              QStringLiteral("There was an error opening  the MIDI device/Sound card:"));
    const auto* heading = message.findChild<QLabel*>(QStringLiteral("lblHeading"));
    ASSERT_NE(heading, nullptr);
    EXPECT_TRUE(heading->font().bold());
    EXPECT_EQ(message.lblOpenError->text(), QStringLiteral("The MIDI device is already in use."));
    EXPECT_EQ(TextOf(message, "lblWithoutSound"),
              QStringLiteral("Program will function without sound."));
    for (const QLabel* label : message.findChildren<QLabel*>())
        EXPECT_TRUE(label->alignment() & Qt::AlignHCenter) << label->objectName().toStdString();
    EXPECT_EQ(message.btnOK->text(), QStringLiteral("OK"));
    message.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&message));
    EXPECT_TRUE(IsCentred(message));
    EXPECT_EQ(test::CutOffTexts(message), "");
    test::SaveShot(message, QStringLiteral("no_sound"));
    message.btnOK->click();
    EXPECT_EQ(message.result(), QDialog::Accepted);
}

TEST(NoSound, ALongErrorWrapsWithoutBeingCut) {
    TfrmNoSoundMessage message;
    message.SetOpenError(QStringLiteral(
        "The built-in synthesizer could not load the soundfont "
        "/usr/share/sounds/sf2/a-very-long-folder-name/FluidR3_GM.sf2: the file is damaged or "
        "is not a soundfont at all, and no other soundfont was found."));
    message.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&message));
    EXPECT_EQ(test::CutOffTexts(message), "");
    test::SaveShot(message, QStringLiteral("no_sound_long"));
}

} // namespace
} // namespace fw

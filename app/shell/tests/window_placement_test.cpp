// Where windows open: centred on the window they belong to and always inside the free part of
// the screen, whatever the size of the screen.

#include "ui/qt_dialog_service.h"
#include "ui/window_placement.h"
#include "windows/help_window.h"

#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace fw {
namespace {

struct FitCase {
    const char* name;
    QRect frame;
    QRect expected;
};

const QRect Available(0, 0, 1280, 690); // a 1280 x 720 screen with a 30-pixel panel

class FitInsideTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitInsideTest, MovesAndCutsTheFrameIntoTheScreen) {
    EXPECT_EQ(FitInside(GetParam().frame, Available), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, FitInsideTest,
    ::testing::Values(FitCase{"Inside", {100, 100, 400, 300}, {100, 100, 400, 300}},
                      FitCase{"BelowTheBottom", {100, 500, 400, 300}, {100, 390, 400, 300}},
                      FitCase{"RightOfTheEdge", {1100, 10, 400, 300}, {880, 10, 400, 300}},
                      FitCase{"AboveAndLeft", {-50, -20, 400, 300}, {0, 0, 400, 300}},
                      // The help window on a 720-pixel screen: cut to the free height.
                      FitCase{"TallerThanTheScreen", {200, 50, 900, 652}, {200, 38, 900, 652}},
                      FitCase{"LargerThanTheScreen", {-10, -10, 1400, 800}, {0, 0, 1280, 690}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CentredFrame, CentresOnTheOwnerThenKeepsInside) {
    const QMargins decoration(1, 30, 1, 1);
    // Centred over the owner, the title bar counted.
    EXPECT_EQ(CentredFrame({400, 270}, decoration, {200, 100, 800, 500}, Available),
              QRect(399, 199, 402, 301));
    // An owner in the bottom-right corner: the window stays on the screen.
    EXPECT_EQ(CentredFrame({400, 270}, decoration, {1000, 500, 280, 190}, Available),
              QRect(878, 389, 402, 301));
    // Taller than the free area: cut to it.
    EXPECT_EQ(CentredFrame({900, 980}, decoration, {0, 0, 1280, 690}, Available).height(), 690);
}

TEST(ReachableOnScreens, OnlyWhereAScreenStillShowsTheTitleBar) {
    const QList<QRect> two = {QRect(0, 0, 1920, 1050), QRect(1920, 0, 1280, 1024)};
    const QList<QRect> one = {QRect(0, 0, 1920, 1050)};
    const std::tuple<const char*, QRect, QList<QRect>, bool> cases[] = {
        {"on the first screen", {100, 80, 1100, 800}, one, true},
        {"on the second screen", {2200, 100, 900, 700}, two, true},
        {"second screen gone", {2200, 100, 900, 700}, one, false},
        {"title bar above the screen", {100, -500, 900, 700}, two, false},
        {"partly off the right edge", {1200, 100, 900, 700}, one, true},
        {"never saved", {}, one, false},
    };
    for (const auto& [name, geometry, screens, expected] : cases)
        EXPECT_EQ(ReachableOnScreens(geometry, screens), expected) << name;
}

QRect ScreenArea() {
    return QApplication::primaryScreen()->availableGeometry();
}

TEST(CentreOnParent, AHelpWindowOpensInsideTheScreenOverItsOwner) {
    const QRect screen = ScreenArea();
    for (QPoint ownerAt : {screen.topLeft(), screen.bottomRight() - QPoint(300, 200)}) {
        QMainWindow owner;
        owner.setGeometry(QRect(ownerAt, QSize(300, 200)));
        owner.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
        ShowHelpContents(&owner);
        HelpWindow& help = HelpWindowOf(&owner);
        EXPECT_TRUE(screen.contains(help.frameGeometry()))
            << help.frameGeometry().x() << "," << help.frameGeometry().y();
        help.close();
    }
}

TEST(CentreOnParent, ADialogIsCentredOnItsParent) {
    QMainWindow owner;
    owner.setGeometry(ScreenArea().adjusted(50, 40, -300, -200));
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    QDialog dialog(&owner);
    dialog.resize(200, 100);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    CentreOnParent(dialog);
    const QPoint offset = dialog.frameGeometry().center() - owner.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2)
        << "dialog " << dialog.frameGeometry().x() << "," << dialog.frameGeometry().y() << " "
        << dialog.frameGeometry().width() << "x" << dialog.frameGeometry().height() << " owner "
        << owner.frameGeometry().x() << "," << owner.frameGeometry().y() << " "
        << owner.frameGeometry().width() << "x" << owner.frameGeometry().height();
}

// Message boxes and file dialogs belong to the window the user works in: a modal dialog in
// front of the main window, else the main window itself.
TEST(QtDialogService, DialogsBelongToTheWindowInFront) {
    QtDialogService dialogs;
    QMainWindow main;
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    EXPECT_EQ(dialogs.DialogParent(), &main);
    QDialog player(&main);
    player.setModal(true);
    player.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&player));
    EXPECT_EQ(dialogs.DialogParent(), &player);
    player.hide();
}

} // namespace
} // namespace fw

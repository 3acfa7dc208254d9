// The main window as a new user meets it: texts shown as written, a status bar that shows a
// whole error, the keyboard in the editor from the start, a neck nothing covers, and a word in
// the status bar when playing is silent.

#include "main_window_fixture.h"

#include "editor/fretboard_view.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

namespace fw::testing {
namespace {

bool ShowsAsMarkup(const QLabel& label) {
    return label.textFormat() == Qt::RichText ||
           (label.textFormat() == Qt::AutoText && Qt::mightBeRichText(label.text()));
}

// Every label of the window that holds `text` shows it as written.
void ExpectPlainWherever(const TfrmMain& window, const QString& text) {
    int holders = 0;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->text().contains(text))
            continue;
        ++holders;
        EXPECT_FALSE(ShowsAsMarkup(*label)) << label->objectName().toStdString();
    }
    EXPECT_GT(holders, 0) << "no label shows " << text.toStdString();
}

TEST_F(MainWindowTest, ChordNamesAndErrorsShowAsWritten) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("<b>G</b>, 0, 0, 0, 0, 0, Q\nG, 0, 0, 0, 0, 0, <i>Q"));
    EXPECT_TRUE(window.ShowLineStatus(0));
    // The neck draws the name with QPainter::drawText, which never reads markup.
    EXPECT_EQ(window.fretboard()->chordName(), QStringLiteral("<b>G</b>"));
    EXPECT_FALSE(window.ShowLineStatus(1));
    EXPECT_EQ(
        window.statusPanel(0),
        QStringLiteral("   ***Error***   Line 2    \"<i>Q\" invalid. (W)hole,(H)alf,Q,E,S,T,F"));
    ExpectPlainWherever(window, QStringLiteral("\"<i>Q\""));
}

TEST_F(MainWindowTest, ASongFileNameShowsAsWritten) {
    const QString path = dir.filePath(QStringLiteral("<b>tune.fwk"));
    QFile song(path);
    ASSERT_TRUE(song.open(QIODevice::WriteOnly));
    song.write("G, 0, 0, 0, 0, 0, Q\r\n");
    song.close();
    TfrmMain& window = Start({path});
    ExpectPlainWherever(window, QStringLiteral("<b>tune.fwk"));
}

TEST_F(MainWindowTest, TheFirstStatusPanelTakesTheSpareWidthAndTellsAllOnHover) {
    TfrmMain& window = Start();
    window.resize(1400, 800);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QLabel* errors = window.ui().statusPanels[0];
    QLabel* tuning = window.ui().statusPanels[1];
    QLabel* line = window.ui().statusPanels[2];
    EXPECT_EQ(tuning->width(), 195);
    EXPECT_LT(line->width(), 160) << "the line number fits its text";
    EXPECT_GE(line->width(), line->fontMetrics().horizontalAdvance(QStringLiteral("Line 99999")));
    EXPECT_GT(errors->width(), 1400 - 195 - 160 - 60) << "panel 0 takes the rest";

    // An error is cut at the panel's edge when the window is narrow, but never widens the
    // window; all of it is in the tool tip.
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, XXXXX"));
    EXPECT_FALSE(window.ShowLineStatus(0));
    EXPECT_EQ(
        errors->toolTip(),
        QStringLiteral("   ***Error***   Line 1    \"XXXXX\" invalid. (W)hole,(H)alf,Q,E,S,T,F"));
    errors->setText(errors->text() + QString(300, QLatin1Char('X'))); // longer than any screen
    window.resize(window.minimumSize());
    QCoreApplication::processEvents();
    EXPECT_EQ(window.size(), window.minimumSize());
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    EXPECT_TRUE(window.ShowLineStatus(0));
    EXPECT_EQ(errors->toolTip(), QString()) << "no tool tip for an empty panel";
}

TEST_F(MainWindowTest, TypingRightAfterTheStartGoesIntoTheEditor) {
    TfrmMain& window = Start();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(QApplication::focusWidget(), window.ui().RichEdit1);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    EXPECT_EQ(Text(), QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
}

class NeckSpace : public MainWindowTest, public ::testing::WithParamInterface<QSize> {};

TEST_P(NeckSpace, NoControlCoversTheNeck) {
    TfrmMain& window = Start();
    window.resize(GetParam());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    const QRect neck = window.fretboard()->geometry();
    for (const QWidget* child :
         window.ui().client->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child == window.fretboard() || !child->isVisible())
            continue;
        EXPECT_FALSE(child->geometry().intersects(neck))
            << child->objectName().toStdString() << " covers the neck at " << window.width() << "x"
            << window.height();
        EXPECT_TRUE(window.ui().client->rect().contains(child->geometry()))
            << child->objectName().toStdString() << " is cut off";
    }
    EXPECT_GE(window.ui().btnNewChord->width(), window.ui().btnNewChord->minimumSizeHint().width());
}

INSTANTIATE_TEST_SUITE_P(Sizes, NeckSpace,
                         ::testing::Values(QSize(760, 520), QSize(100, 100), QSize(800, 560),
                                           QSize(870, 640), QSize(1600, 1000)),
                         [](const auto& info) {
                             return std::to_string(info.param.width()) + "x" +
                                    std::to_string(info.param.height());
                         });

struct SilentCase {
    const char* label;
    int openResult; // what the output answers to every open
    int device;     // the Device setting
    const char* notice;
};

class SilentSounding : public MainWindowTest, public ::testing::WithParamInterface<SilentCase> {};

TEST_P(SilentSounding, IsToldOnceInTheStatusBar) {
    const SilentCase& c = GetParam();
    output.FailOpensWith(c.openResult);
    TfrmMain& window = Start();
    window.settings().Device = c.device;
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\nC, x, 2, 0, 1, 2, H"));
    Caret(0);
    window.playSession().PlayButtonPressed();
    EXPECT_EQ(window.statusPanel(0), QString::fromUtf8(c.notice));
    EXPECT_TRUE(Messages().isEmpty()) << "no message box: playing silently is allowed";
    EXPECT_EQ(clock.Now(), std::chrono::milliseconds(1500)) << "the play kept its time";

    // Once per run: the next play leaves panel 0 to the line status.
    window.playSession().PlayButtonPressed();
    EXPECT_EQ(window.statusPanel(0), QString());
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, SilentSounding,
    ::testing::Values(SilentCase{"NoAudioOutput", MidiResultNoDevice, BuiltInSynthDevice,
                                 "No audio output found: playing silently. See Help > Sound."},
                      SilentCase{"NoSoundfont", MidiResultError, BuiltInSynthDevice,
                                 "No soundfont found: playing silently. See Help > Sound."},
                      SilentCase{"Sound", MidiResultOk, BuiltInSynthDevice, ""},
                      SilentCase{"ExternalPortBusy", MidiResultAllocated, 0, ""}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(MainWindowTest, ASilentPreviewIsToldAfterTheLineStatus) {
    output.FailOpensWith(MidiResultNoDevice);
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    Caret(0);
    window.composer().PlaceOrRemoveNote(1, 2); // a neck click: preview, then the line is rewritten
    QCoreApplication::processEvents();
    EXPECT_EQ(window.statusPanel(0),
              QStringLiteral("No audio output found: playing silently. See Help > Sound."));
    window.composer().PlaceOrRemoveNote(2, 3);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.statusPanel(0), QString());
}

} // namespace
} // namespace fw::testing

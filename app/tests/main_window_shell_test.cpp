// The window shell: menus and shortcuts, the empty document, the command line, closing.

#include "main_window_fixture.h"
#include "tests/support/case_name.h"

#include "editor/fretboard_view.h"
#include "windows/help_window.h"
#include "windows/small_windows.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusTipEvent>

namespace fw::testing {
namespace {

struct MenuItemCase {
    const char* name;
    const char* caption;
    const char* shortcut;
};

class MenuItems : public MainWindowTest, public ::testing::WithParamInterface<MenuItemCase> {};

TEST_P(MenuItems, HaveTheirCaptionAndShortcut) {
    TfrmMain& window = Start();
    const MenuItemCase& c = GetParam();
    auto* item = window.findChild<QAction*>(QString::fromLatin1(c.name));
    ASSERT_NE(item, nullptr) << c.name;
    EXPECT_EQ(item->text(), QString::fromUtf8(c.caption));
    EXPECT_EQ(item->shortcut(), QKeySequence(QString::fromLatin1(c.shortcut)));
}

INSTANTIATE_TEST_SUITE_P(
    MainMenu, MenuItems,
    ::testing::Values(
        MenuItemCase{"New1", "&New", "Ctrl+N"}, MenuItemCase{"Open1", "&Open...", "Ctrl+O"},
        MenuItemCase{"Save1", "&Save...", "Ctrl+S"},
        MenuItemCase{"SaveAs1", "Save &As...", "Ctrl+A"}, MenuItemCase{"Print1", "&Print...", ""},
        MenuItemCase{"Options1", "S&ettings...", ""}, MenuItemCase{"Exit1", "E&xit", "Ctrl+Q"},
        MenuItemCase{"Undo1", "&Undo", "Ctrl+Z"}, MenuItemCase{"Cut1", "Cu&t", "Ctrl+X"},
        MenuItemCase{"Copy1", "&Copy", "Ctrl+C"}, MenuItemCase{"Paste1", "&Paste", "Ctrl+V"},
        MenuItemCase{"Delete1", "&Delete", "Ctrl+Del"},
        MenuItemCase{"SelectAll1", "Select &All", ""}, MenuItemCase{"Find1", "&Find...", "Ctrl+F"},
        MenuItemCase{"FindNext1", "Find &Next", "F3"}, MenuItemCase{"Tab1", "&Tablature...", "F4"},
        MenuItemCase{"ASCIItab1", "&ASCII Tablature...", "F5"},
        MenuItemCase{"SaveAsMidiFile1", "&Midi File...", "F6"},
        MenuItemCase{"MidiPlayer1", "M&idi Player...", ""}, MenuItemCase{"Start1", "&Start", "F2"},
        MenuItemCase{"Stop1", "&Stop", "F2"},
        MenuItemCase{"AcousticNylonStringGuitar1", "&Banjo", ""},
        MenuItemCase{"GTuning1", "&G Tuning - G D G B D", ""},
        MenuItemCase{"CTuning1", "&C Tuning - G C G B D", ""},
        MenuItemCase{"GMinorTuning1", "G Minor Tuning - G D G Bb D", ""},
        MenuItemCase{"DTuning1", "&D Tuning - F# D F# A D", ""},
        MenuItemCase{"GModalTuning1", "&G Modal Tuning - G D G C D", ""},
        MenuItemCase{"DoubleCTuning1", "Double C - G C G C D", ""},
        MenuItemCase{"DoubleDTuning1", "Double D - A D A D E", ""},
        MenuItemCase{"Usertuning1", "&Custom Tuning - G D G B D", ""},
        MenuItemCase{"Contents1", "&Contents", "F1"}, MenuItemCase{"Topics1", "&Topics", ""},
        MenuItemCase{"About1", "&About...", ""}, MenuItemCase{"Cut2", "Cut", ""},
        MenuItemCase{"Copy2", "Copy", ""}, MenuItemCase{"Paste2", "Paste", ""}),
    [](const auto& info) { return fw::cases::CaseName(info.param.name); });

TEST_F(MainWindowTest, StartsWithAnEmptyDocument) {
    TfrmMain& window = Start();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Fretwick - Untitled[*]"));
    EXPECT_EQ(Text(), QString());
    EXPECT_EQ(window.tempo(), 120);
    EXPECT_EQ(window.ui().lblTempo->text(), QStringLiteral("120"));
    EXPECT_EQ(window.settings().Patch, 105);
    EXPECT_TRUE(window.ui().AcousticNylonStringGuitar1->isChecked());
    EXPECT_TRUE(window.ui().tuningItems[0]->isChecked());
    EXPECT_EQ(window.document().Tuning(), 55555);
    EXPECT_EQ(window.currentDuration(), QStringLiteral(" S"));
    EXPECT_FALSE(window.document().Modified());
    EXPECT_EQ(window.statusPanel(1), QStringLiteral("G Tuning - G D G B D"));
    EXPECT_EQ(window.statusPanel(2), QStringLiteral("Line 1"));
    EXPECT_FALSE(window.ui().Stop1->isVisible());
    for (QAction* recent : window.ui().mnuFilename)
        EXPECT_FALSE(recent->isVisible());
}

TEST_F(MainWindowTest, NewResetsInstrumentTuningAndTempoWhateverWasChosen) {
    TfrmMain& window = Start();
    window.ui().MIDIPatch1->trigger();
    window.ui().tuningItems[3]->trigger();
    window.setTempo(200);
    window.ui().chkLoop->setChecked(true);
    ASSERT_TRUE(window.document().Modified());
    dialogs.AnswerMessage(DialogAnswer::No);
    window.New1Click();
    EXPECT_TRUE(window.ui().AcousticNylonStringGuitar1->isChecked());
    EXPECT_TRUE(window.ui().tuningItems[0]->isChecked());
    EXPECT_EQ(window.tempo(), 120);
    EXPECT_FALSE(window.ui().chkLoop->isChecked());
    EXPECT_FALSE(window.document().Modified());
    EXPECT_EQ(Messages(), QStringList{QStringLiteral(" Save changes?")});
}

TEST_F(MainWindowTest, InstrumentMenuSetsThePatchFromItsTag) {
    TfrmMain& window = Start();
    window.ui().MIDIPatch1->trigger(); // default user patch "  1 Acoustic Grand", tag 1
    EXPECT_EQ(window.settings().Patch, 0);
    EXPECT_TRUE(window.document().Modified());
    window.ui().AcousticNylonStringGuitar1->trigger();
    EXPECT_EQ(window.settings().Patch, 105);
}

struct ArgumentCase {
    const char* label;
    QStringList (*arguments)(const QString& folder);
    bool opens;
};

class CommandLine : public MainWindowTest, public ::testing::WithParamInterface<ArgumentCase> {};

TEST_P(CommandLine, OpensOnlyAnExistingSongJoinedFromFiveArguments) {
    const QString folder = dir.path();
    QFile song(folder + QStringLiteral("/my  banjo song.fwk"));
    ASSERT_TRUE(song.open(QIODevice::WriteOnly));
    song.write(
        "*Info 1:x\r\n*Info 2:105\r\n*Info 3:52555\r\n*Info 4:90\r\nG, 0, 0, 0, 0, 0, Q\r\n");
    song.close();
    QFile sixPieces(folder + QStringLiteral("/a b c d e f.fwk"));
    ASSERT_TRUE(sixPieces.open(QIODevice::WriteOnly));
    sixPieces.close();
    QFile other(folder + QStringLiteral("/notes.txt"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("G, 0, 0, 0, 0, 0, Q\r\n");
    other.close();

    TfrmMain& window = Start(GetParam().arguments(folder));
    if (GetParam().opens) {
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Fretwick - my  banjo song.fwk[*]"));
        EXPECT_EQ(Text(), QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
        EXPECT_EQ(window.tempo(), 90);
        EXPECT_EQ(window.document().Tuning(), 52555);
        EXPECT_FALSE(window.document().Modified());
        EXPECT_EQ(window.settings().RecentFile[0], folder + QStringLiteral("/my  banjo song.fwk"));
        EXPECT_TRUE(window.ui().mnuFilename[0]->isVisible());
    } else {
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Fretwick - Untitled[*]"));
        EXPECT_EQ(Text(), QString());
    }
    EXPECT_TRUE(Messages().isEmpty()) << "the command line is never complained about";
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLine,
    ::testing::Values(
        ArgumentCase{"quoted",
                     [](const QString& f) { return QStringList{f + "/my  banjo song.fwk"}; }, true},
        // Two spaces in an unquoted path arrive as three arguments (one of them empty).
        ArgumentCase{"unquoted",
                     [](const QString& f) {
                         return QStringList{f + "/my", "", "banjo song.fwk"};
                     },
                     true},
        ArgumentCase{
            "more than five pieces",
            [](const QString& f) { return QStringList{f + "/a", "b", "c", "d", "e", "f.fwk"}; },
            false},
        ArgumentCase{"missing", [](const QString& f) { return QStringList{f + "/missing.fwk"}; },
                     false},
        ArgumentCase{"another extension",
                     [](const QString& f) { return QStringList{f + "/notes.txt"}; }, false}),
    [](const auto& info) {
        std::string name = info.param.label;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST_F(MainWindowTest, CloseWithChangesAndPromptsOffDoesNotAsk) {
    TfrmMain& window = Start();
    window.settings().Prompts = false;
    window.ui().RichEdit1->setPlainText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    ASSERT_TRUE(window.document().Modified());
    QCloseEvent event;
    QCoreApplication::sendEvent(&window, &event);
    EXPECT_TRUE(event.isAccepted());
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(MainWindowTest, CloseWithChangesIsRefusedWhenTheQuestionIsCancelled) {
    TfrmMain& window = Start();
    window.ui().RichEdit1->setPlainText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    dialogs.AnswerMessage(DialogAnswer::Cancel);
    QCloseEvent event;
    QCoreApplication::sendEvent(&window, &event);
    EXPECT_FALSE(event.isAccepted());
    EXPECT_EQ(Messages(), QStringList{QStringLiteral(" Save changes?")});
}

TEST_F(MainWindowTest, HintsGoToTheFirstStatusPanel) {
    TfrmMain& window = Start();
    QStatusTipEvent tip(QStringLiteral("Play chords."));
    QCoreApplication::sendEvent(&window, &tip);
    EXPECT_EQ(window.statusPanel(0), QStringLiteral(" Play chords."));
    window.setStatusHints(false);
    QStatusTipEvent other(QStringLiteral("Step play forward."));
    QCoreApplication::sendEvent(&window, &other);
    EXPECT_EQ(window.statusPanel(0), QStringLiteral(" Play chords."));
}

} // namespace
} // namespace fw::testing

namespace fw::testing {
namespace {

class FirstShowing : public MainWindowTest {
protected:
    void ShowAndSettle(TfrmMain& window) {
        window.show();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
};

TEST_F(FirstShowing, WelcomesANewUserOnceAndOpensGettingStartedOnYes) {
    ResetSettingsFile(QStringLiteral("Welcomed=0\n"));
    TfrmMain& window = Start();
    dialogs.AnswerModal(TfrmNewUserMessage::Yes);
    ShowAndSettle(window);
    EXPECT_EQ(ModalDialogs(), std::vector<QString>{QStringLiteral("frmNewUserMessage")});
    EXPECT_EQ(HelpWindowOf(&window).CurrentTopicId(), QStringLiteral("getting_started"));
    window.hide();
    ShowAndSettle(window);
    EXPECT_EQ(ModalDialogs().size(), 1u) << "a second activation does not welcome again";
    EXPECT_TRUE(window.settings().Welcomed);
}

TEST_F(FirstShowing, ExternalMidiOpensThePortOnceAndReportsAFailure) {
    ResetSettingsFile(QStringLiteral("[Midi]\nExternalMIDI=1\n"));
    output.FailOpensWith(MidiResultAllocated);
    TfrmMain& window = Start();
    QString shownError;
    dialogs.AnswerModal([&shownError](QDialog& dialog) {
        shownError = dialog.findChild<QLabel*>(QStringLiteral("lblOpenError"))->text();
    });
    ShowAndSettle(window);
    EXPECT_EQ(ModalDialogs(), std::vector<QString>{QStringLiteral("frmNoSoundMessage")});
    EXPECT_EQ(shownError, QStringLiteral("The MIDI device is already in use."));
    EXPECT_EQ(output.Count(RecordingOutput::Kind::Open), 1);

    // Soundings neither open nor close the port in this mode, and still take their time.
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    window.playSession().PlayButtonPressed();
    EXPECT_EQ(output.Count(RecordingOutput::Kind::Open), 1);
    EXPECT_EQ(clock.Now(), std::chrono::milliseconds(500));
}

} // namespace
} // namespace fw::testing

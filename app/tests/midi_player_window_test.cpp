// The Midi Player window over a recording player: when the device opens and closes, what Open
// does with the chosen name, Pause/Resume, the errors it shows, and what it displays.

#include "main_window_fixture.h"

#include "app/extension_case.h"
#include "windows/frm_midi_player.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>

namespace fw::testing {
namespace {

// A dialog service whose file dialog takes the focus away from the window that opened it, as
// the real one does, before it answers.
class FocusTakingDialogs : public ScriptedDialogService {
public:
    std::optional<QString> OpenFile(const FileDialogRequest& request) override {
        QWidget other;
        other.setWindowTitle(QStringLiteral("Open"));
        other.show();
        other.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&other));
        return ScriptedDialogService::OpenFile(request);
    }
};

class PlayerWindowTest : public ::testing::Test {
protected:
    TfrmMidiPlayer& Window() {
        if (!window)
            window = std::make_unique<TfrmMidiPlayer>(player, dialogs, [this] { return lastDir; });
        return *window;
    }

    // Makes an (empty) file in the temporary folder and returns its path.
    QString Touch(const QString& name) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        return path;
    }

    // The window opens the device and loads `name` through Open.
    void LoadThroughOpen(const QString& name) {
        dialogs.AnswerOpenFile(Touch(name));
        Window().BitBtnOpenClick();
    }

    QStringList Messages() const {
        QStringList texts;
        for (const DialogCall& call : dialogs.Log()) {
            if (call.kind == DialogKind::Message) {
                EXPECT_EQ(call.icon, MessageIcon::Error) << call.text.toStdString();
                texts << call.text;
            }
        }
        return texts;
    }

    QTemporaryDir dir;
    QString lastDir = QStringLiteral("/music/songs");
    RecordingFilePlayer player;
    FocusTakingDialogs dialogs;
    std::unique_ptr<TfrmMidiPlayer> window;
};

// --- The device follows the window's activation ------------------------------------------------

TEST_F(PlayerWindowTest, ActivationOpensAndDeactivationCloses) {
    lastDir = dir.path();
    TfrmMidiPlayer& w = Window();
    w.FormActivate();
    EXPECT_TRUE(player.IsOpen());
    w.FormActivate(); // already active: nothing more
    w.FormDeactivate();
    EXPECT_FALSE(player.IsOpen());
    EXPECT_EQ(player.Log(), QStringList({"Open", "Close"}));
}

TEST_F(PlayerWindowTest, ReactivationReopensTheLoadedFileWithoutPlaying) {
    TfrmMidiPlayer& w = Window();
    w.FormActivate();
    LoadThroughOpen(QStringLiteral("song.mid"));
    const QString path = dir.filePath(QStringLiteral("song.mid"));
    EXPECT_EQ(player.Mode(), PlayerMode::Playing);
    player.ClearLog();

    w.FormDeactivate(); // switching to another program stops it
    w.FormActivate();   // coming back reopens the file, not playing
    EXPECT_EQ(player.Log(), QStringList({"Close", "Open " + path}));
    EXPECT_EQ(player.Mode(), PlayerMode::Stopped);
    EXPECT_EQ(w.Label1->text(), path);
    EXPECT_EQ(w.FileName(), path);
}

TEST_F(PlayerWindowTest, TheOpenDialogsOwnDeactivationLeavesTheNewFilePlaying) {
    TfrmMidiPlayer& w = Window();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QCoreApplication::processEvents(); // the showing's own activation
    ASSERT_TRUE(player.IsOpen());
    player.ClearLog();

    // The file dialog takes the focus; then the window is active again.
    LoadThroughOpen(QStringLiteral("tune.mid"));
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QCoreApplication::processEvents();
    const QString path = dir.filePath(QStringLiteral("tune.mid"));
    EXPECT_EQ(player.Log(), QStringList({"Open " + path, "SeekToStart", "Play"}));
    EXPECT_EQ(player.Mode(), PlayerMode::Playing);
    EXPECT_EQ(w.lblState->text(), QStringLiteral("Playing"));
}

TEST_F(PlayerWindowTest, SwitchingToAnotherWindowStopsAndComingBackReopens) {
    TfrmMidiPlayer& w = Window();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    LoadThroughOpen(QStringLiteral("tune.mid"));
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QCoreApplication::processEvents();
    player.ClearLog();

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(player.Log(), QStringList({"Close"}));
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(player.Log(),
              QStringList({"Close", "Open " + dir.filePath(QStringLiteral("tune.mid"))}));
    EXPECT_EQ(player.Mode(), PlayerMode::Stopped);
}

TEST_F(PlayerWindowTest, ClosingTheWindowClosesTheDeviceAndGivesBackItsSounds) {
    TfrmMidiPlayer& w = Window();
    w.show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(player.IsOpen());
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(player.IsOpen());
    ASSERT_GE(player.Log().size(), 2);
    EXPECT_EQ(player.Log().back(), QStringLiteral("Release"));
    EXPECT_EQ(player.Log().front(), QStringLiteral("Prepare"));
}

TEST_F(PlayerWindowTest, WhileTheSoundsLoadTheDeviceOpensLaterAndPlaysWhatOpenChose) {
    player.ready = false;
    TfrmMidiPlayer& w = Window();
    w.FormActivate();
    EXPECT_FALSE(player.IsOpen());
    EXPECT_EQ(w.lblState->text(), QStringLiteral("Loading sounds..."));
    EXPECT_FALSE(w.BitBtnPlay->isEnabled());
    LoadThroughOpen(QStringLiteral("early.mid"));
    EXPECT_FALSE(player.IsOpen());
    w.TimerTick(); // still loading
    EXPECT_FALSE(player.IsOpen());

    player.ready = true;
    w.TimerTick();
    const QString path = dir.filePath(QStringLiteral("early.mid"));
    EXPECT_EQ(player.Log(), QStringList({"Prepare", "Open " + path, "SeekToStart", "Play"}));
    EXPECT_EQ(w.lblState->text(), QStringLiteral("Playing"));
    EXPECT_TRUE(w.BitBtnPlay->isEnabled());
    EXPECT_EQ(w.Label1->text(), path);
}

TEST_F(PlayerWindowTest, AFileRefusedOnceTheSoundsAreThereIsNotTakenOver) {
    player.ready = false;
    TfrmMidiPlayer& w = Window();
    w.FormActivate();
    const QString bad = Touch(QStringLiteral("bad.mid"));
    player.openErrors[bad] = "Not a MIDI file: " + bad;
    dialogs.AnswerOpenFile(bad);
    w.BitBtnOpenClick();
    player.ready = true;
    w.TimerTick();
    EXPECT_EQ(Messages(), QStringList{"Not a MIDI file: " + bad});
    EXPECT_EQ(w.FileName(), QString());
    EXPECT_EQ(w.Label1->text(), QString());
    EXPECT_EQ(w.lblState->text(), QStringLiteral("Stopped"));
    EXPECT_TRUE(w.BitBtnPlay->isEnabled());
}

TEST_F(PlayerWindowTest, SwitchingAwayWhileTheSoundsLoadDropsWhatWaited) {
    player.ready = false;
    TfrmMidiPlayer& w = Window();
    w.FormActivate();
    LoadThroughOpen(QStringLiteral("early.mid"));
    w.FormDeactivate();
    player.ready = true;
    w.TimerTick();
    EXPECT_FALSE(player.IsOpen());
    w.FormActivate(); // back: the device opens, without the file that was never loaded
    EXPECT_EQ(player.Log(), QStringList({"Prepare", "Open"}));
    EXPECT_EQ(w.FileName(), QString());
}

// --- Open: the chosen name, the ".mid" rule and the letter-case mend ---------------------------

struct OpenCase {
    const char* name;
    QStringList present;   // files in the folder
    const char* chosen;    // what the file dialog returns
    const char* opened;    // the file the device gets; empty: none
    const char* missing;   // the name the "doesn't exist!" message gives; empty: no message
    const char* kind = ""; // instead: what that name is ("a folder"), which the message says
};

void PrintTo(const OpenCase& c, std::ostream* os) {
    *os << c.name;
}

class OpenChoice : public PlayerWindowTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenChoice, OpensTheMidFileOfThatName) {
    const OpenCase& c = GetParam();
    for (const QString& name : c.present) {
        if (name.endsWith(QLatin1Char('/')))
            ASSERT_TRUE(QDir(dir.path()).mkdir(name.chopped(1)));
        else if (name.endsWith(QLatin1Char('|')))
            ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath(name.chopped(1))).constData(), 0600),
                      0);
        else
            Touch(name);
    }
    TfrmMidiPlayer& w = Window();
    w.FormActivate();
    player.ClearLog();
    dialogs.AnswerOpenFile(dir.filePath(QString::fromUtf8(c.chosen)));
    w.BitBtnOpenClick();

    const QString opened = QString::fromUtf8(c.opened);
    if (opened.isEmpty()) {
        EXPECT_EQ(player.Log(), QStringList());
        EXPECT_EQ(w.FileName(), QString());
    } else {
        const QString path = dir.filePath(opened);
        EXPECT_EQ(player.Log(), QStringList({"Open " + path, "SeekToStart", "Play"}));
        EXPECT_EQ(w.Label1->text(), path);
    }
    const QString missing = QString::fromUtf8(c.missing);
    QStringList expected;
    if (!missing.isEmpty() && *c.kind)
        expected << "Opening \"" + dir.filePath(missing) + "\" failed: it is " +
                        QString::fromUtf8(c.kind) + ", not a file.";
    else if (!missing.isEmpty())
        expected << QDir::toNativeSeparators(dir.filePath(missing)) + " doesn't exist!";
    EXPECT_EQ(Messages(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OpenChoice,
    ::testing::Values(
        OpenCase{"Mid", {"song.mid"}, "song.mid", "song.mid", ""},
        OpenCase{"NoExtension", {"song.mid"}, "song", "song.mid", ""},
        OpenCase{"MidiChosenMidPresent", {"song.mid", "song.MIDI"}, "song.MIDI", "song.mid", ""},
        // Only "song.MIDI" exists: "song.mid" is asked for, and the message names it.
        OpenCase{"MidiAlone", {"song.MIDI"}, "song.MIDI", "", "song.mid"},
        // Files exported as "<song>.MID" open although the name asked for is "song.mid".
        OpenCase{"UpperCaseExtensionAlone", {"SONG.MID"}, "SONG.MID", "SONG.MID", ""},
        OpenCase{"TypedLowerFileUpper", {"song.MID"}, "song.mid", "song.MID", ""},
        OpenCase{"MixedCase", {"song.Mid"}, "song.txt", "song.Mid", ""},
        OpenCase{"ExactCaseFirst", {"song.mid", "song.MID"}, "song.MID", "song.mid", ""},
        // Only the extension's case is forgiven, not the name's.
        OpenCase{"NameCaseCounts", {"Song.mid"}, "song.mid", "", "song.mid"},
        OpenCase{"DotsInTheName", {"my.song.mid"}, "my.song.MIDI", "my.song.mid", ""},
        // A folder or a named pipe of that name is named for what it is.
        OpenCase{"AFolderIsNoFile", {"song.mid/"}, "song.mid", "", "song.mid", "a folder"},
        OpenCase{"ANamedPipeIsNoFile", {"song.mid|"}, "song", "", "song.mid", "a named pipe"},
        OpenCase{"Nothing", {}, "song.mid", "", "song.mid"}),
    [](const ::testing::TestParamInfo<OpenCase>& info) { return std::string(info.param.name); });

TEST_F(PlayerWindowTest, OpenAsksInLastDirForMidiFilesAndNeverChangesIt) {
    lastDir = dir.path(); // an existing folder: a missing one gives the home folder
    TfrmMidiPlayer& w = Window();
    w.FormActivate();
    w.BitBtnOpenClick(); // cancelled by default
    ASSERT_EQ(dialogs.Log().size(), 1u);
    const FileDialogRequest& request = dialogs.Log()[0].file;
    EXPECT_EQ(request.directory, dir.path());
    EXPECT_EQ(request.filter, QStringLiteral("MIDI files (*.mid *.MID *.midi)"));
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("mid"));
    EXPECT_EQ(player.Log(), QStringList({"Open"})); // cancelling does nothing
    EXPECT_EQ(lastDir, dir.path());
}

TEST_F(PlayerWindowTest, AFileTheDeviceRefusesKeepsTheLoadedOnePlaying) {
    TfrmMidiPlayer& w = Window();
    w.FormActivate();
    LoadThroughOpen(QStringLiteral("good.mid"));
    const QString good = dir.filePath(QStringLiteral("good.mid"));
    const QString bad = Touch(QStringLiteral("bad.mid"));
    player.openErrors[bad] = "Not a MIDI file: " + bad;
    player.ClearLog();

    dialogs.AnswerOpenFile(bad);
    w.BitBtnOpenClick();
    EXPECT_EQ(Messages(), QStringList{"Not a MIDI file: " + bad});
    EXPECT_EQ(player.Log(), QStringList({"Open " + bad}));
    EXPECT_EQ(player.LoadedFile(), good);
    EXPECT_EQ(player.Mode(), PlayerMode::Playing);
    EXPECT_EQ(w.Label1->text(), good);
    EXPECT_EQ(w.FileName(), good);
}

TEST_F(PlayerWindowTest, AFailedOpenAtActivationIsShownOnceWithThePlayersText) {
    player.openErrors[QString()] = QStringLiteral("No audio output was found.");
    TfrmMidiPlayer& w = Window();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QCoreApplication::processEvents();
    // The message box's own activation changes do not retry (and show it again).
    w.FormActivate();
    QCoreApplication::processEvents();
    EXPECT_EQ(Messages(), QStringList{"No audio output was found."});
    EXPECT_FALSE(player.IsOpen());
    EXPECT_TRUE(w.isVisible()); // the window stays open
}

// Without audio output the device can play nothing. That is said once, on the state line, and
// never in a message box; a chosen file is still taken and shown, and Play says the same.
TEST_F(PlayerWindowTest, NoAudioOutputIsALineInTheWindowNotABox) {
    const QString problem = QStringLiteral("No audio output was found.");
    player.deviceProblem = problem;
    TfrmMidiPlayer& w = Window();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.FormActivate();
    QCoreApplication::processEvents();
    EXPECT_EQ(w.lblState->text(), problem);
    EXPECT_EQ(w.Label1->text(), QString()); // drawn as "No file loaded"

    LoadThroughOpen(QStringLiteral("song.mid"));
    const QString song = dir.filePath(QStringLiteral("song.mid"));
    EXPECT_EQ(w.FileName(), song);
    EXPECT_EQ(w.Label1->text(), song);
    w.BitBtnPlayClick();
    EXPECT_EQ(w.lblState->text(), problem);
    w.BitBtnPauseClick();
    w.FormDeactivate();
    w.FormActivate();
    EXPECT_EQ(w.lblState->text(), problem);
    EXPECT_EQ(Messages(), QStringList());
    EXPECT_FALSE(player.IsOpen());
    w.hide();
}

// --- Play, Stop, Pause/Resume ------------------------------------------------------------------

enum class Before { Closed, NoFile, Stopped, Playing, Paused };

struct PauseCase {
    const char* name;
    Before start;
    bool resumeWorks;
    PlayerMode after;
    QStringList orders; // what the device gets from the press
    QString message;    // the error shown, if any
};

void PrintTo(const PauseCase& c, std::ostream* os) {
    *os << c.name;
}

class PauseResume : public PlayerWindowTest, public ::testing::WithParamInterface<PauseCase> {};

TEST_P(PauseResume, ActsOnTheDevicesMode) {
    const PauseCase& c = GetParam();
    player.resumeWorks = c.resumeWorks;
    TfrmMidiPlayer& w = Window();
    if (c.start != Before::Closed)
        w.FormActivate();
    if (c.start >= Before::Stopped)
        LoadThroughOpen(QStringLiteral("song.mid"));
    if (c.start == Before::Stopped)
        w.BitBtnStopClick();
    if (c.start == Before::Paused)
        player.Pause();
    player.ClearLog();

    w.BitBtnPauseClick();
    EXPECT_EQ(player.Log(), c.orders);
    EXPECT_EQ(player.Mode(), c.after);
    EXPECT_EQ(Messages(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PauseResume,
    ::testing::Values(
        PauseCase{"PlayingPauses", Before::Playing, true, PlayerMode::Paused, {"Pause"}, {}},
        PauseCase{"PausedResumes", Before::Paused, true, PlayerMode::Playing, {"Resume"}, {}},
        // A resume that fails plays from where it stands.
        PauseCase{"FailedResumePlays",
                  Before::Paused,
                  false,
                  PlayerMode::Playing,
                  {"Resume", "Play"},
                  {}},
        PauseCase{"StoppedDoesNothing", Before::Stopped, true, PlayerMode::Stopped, {}, {}},
        PauseCase{"NoFileDoesNothing", Before::NoFile, true, PlayerMode::Stopped, {}, {}},
        PauseCase{"ClosedDeviceIsAnError",
                  Before::Closed,
                  true,
                  PlayerMode::Stopped,
                  {},
                  QStringLiteral("No MCI device open")}),
    [](const ::testing::TestParamInfo<PauseCase>& info) { return std::string(info.param.name); });

TEST_F(PlayerWindowTest, PlayStartsOverAndStopStops) {
    TfrmMidiPlayer& w = Window();
    w.FormActivate();
    LoadThroughOpen(QStringLiteral("song.mid"));
    player.lengthMs = 5000;
    player.positionMs = 3000;
    player.ClearLog();
    w.BitBtnStopClick();
    EXPECT_EQ(w.lblState->text(), QStringLiteral("Stopped"));
    EXPECT_EQ(w.lblPosition->text(), QStringLiteral("0:03 / 0:05"));
    w.BitBtnPlayClick();
    EXPECT_EQ(player.Log(), QStringList({"Stop", "SeekToStart", "Play"}));
    EXPECT_EQ(player.Position().positionMs, 0);
    EXPECT_EQ(w.lblState->text(), QStringLiteral("Playing"));
}

// --- What the window shows ---------------------------------------------------------------------

TEST(FormatPlayTime, MinutesAndTwoDigitSeconds) {
    const std::pair<long long, const char*> table[] = {
        {0, "0:00"},     {999, "0:00"},     {1000, "0:01"},     {59999, "0:59"}, {60000, "1:00"},
        {75000, "1:15"}, {600000, "10:00"}, {4503000, "75:03"}, {-2000, "0:00"}};
    for (const auto& [ms, text] : table)
        EXPECT_EQ(FormatPlayTime(ms), QString::fromLatin1(text)) << ms;
}

TEST_F(PlayerWindowTest, PositionBarAndStateFollowTheDevice) {
    TfrmMidiPlayer& w = Window();
    EXPECT_EQ(w.lblPosition->text(), QStringLiteral("0:00 / 0:00"));
    EXPECT_EQ(w.lblState->text(), QStringLiteral("Stopped"));
    EXPECT_EQ(w.Label1->text(), QString());
    w.FormActivate();
    LoadThroughOpen(QStringLiteral("song.mid"));
    player.lengthMs = 125000;
    player.positionMs = 75400;
    w.TimerTick();
    EXPECT_EQ(w.lblPosition->text(), QStringLiteral("1:15 / 2:05"));
    EXPECT_EQ(w.prgPosition->maximum(), 125000);
    EXPECT_EQ(w.prgPosition->value(), 75400);
    EXPECT_EQ(w.lblState->text(), QStringLiteral("Playing"));
    w.BitBtnPauseClick();
    EXPECT_EQ(w.lblState->text(), QStringLiteral("Paused"));
    player.Resume();
    player.FinishPlaying();
    w.TimerTick();
    EXPECT_EQ(w.lblState->text(), QStringLiteral("Stopped"));
    EXPECT_EQ(w.prgPosition->value(), w.prgPosition->maximum());
    EXPECT_EQ(w.lblPosition->text(), QStringLiteral("2:05 / 2:05"));
}

TEST_F(PlayerWindowTest, AFixedWindowWithoutCloseBoxAndALongPathThatDoesNotWidenIt) {
    TfrmMidiPlayer& w = Window();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Midi Player"));
    EXPECT_FALSE(w.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(w.BitBtnOK->isDefault());
    const QStringList captions = {w.BitBtnOpen->text(), w.BitBtnPlay->text(), w.BitBtnStop->text(),
                                  w.BitBtnPause->text(), w.BitBtnOK->text()};
    EXPECT_EQ(captions, QStringList({"Open", "Play", "Stop", "Pause/Resume", "OK"}));
    w.show();
    const QSize before = w.size();
    const QString folders =
        QString(120, QLatin1Char('x')) + QLatin1Char('/') + QString(120, QLatin1Char('y'));
    ASSERT_TRUE(QDir(dir.path()).mkpath(folders));
    LoadThroughOpen(folders + QStringLiteral("/song.mid"));
    ASSERT_EQ(w.Label1->text().size(), dir.path().size() + 251);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.size(), before);
    EXPECT_EQ(w.Label1->toolTip(), w.Label1->text());
}

// --- From the main window ----------------------------------------------------------------------

TEST_F(MainWindowTest, MidiPlayerMenuItemShowsTheKeptWindow) {
    TfrmMain& window = Start();
    ASSERT_TRUE(window.ui().MidiPlayer1->isEnabled());
    EXPECT_EQ(window.ui().MidiPlayer1->statusTip(), QStringLiteral("Play any midi file"));
    EXPECT_EQ(window.ui().MidiPlayer1->text(), QStringLiteral("M&idi Player..."));
    const QString song = dir.filePath(QStringLiteral("song.mid"));
    QFile(song).open(QIODevice::WriteOnly);
    dialogs.AnswerModal([](QDialog& dialog) {
        QCoreApplication::processEvents(); // the showing counts as an activation
        static_cast<TfrmMidiPlayer&>(dialog).BitBtnOpenClick();
        static_cast<TfrmMidiPlayer&>(dialog).BitBtnOK->click();
    });
    dialogs.AnswerOpenFile(song);
    window.MidiPlayer1Click();
    ASSERT_EQ(dialogs.Log().size(), 2u);
    EXPECT_EQ(dialogs.Log()[1].kind, DialogKind::Modal);
    EXPECT_EQ(dialogs.Log()[1].text, QStringLiteral("Midi Player"));
    EXPECT_EQ(dialogs.Log()[1].answer, QString::number(QDialog::Accepted));
    EXPECT_FALSE(filePlayer.IsOpen()); // closing stopped it

    // Shown again: the same window, with the same file, opened and not playing.
    TfrmMidiPlayer* first = window.ui().frmMidiPlayer;
    filePlayer.ClearLog();
    dialogs.AnswerModal([](QDialog&) { QCoreApplication::processEvents(); });
    window.MidiPlayer1Click();
    EXPECT_EQ(window.ui().frmMidiPlayer, first);
    EXPECT_EQ(first->FileName(), song);
    EXPECT_EQ(filePlayer.Log(), QStringList({"Prepare", "Open " + song, "Close", "Release"}));
}

} // namespace
} // namespace fw::testing

// Linux behaviour of songs and sound: extensions in any letter case, line breaks the editor
// and the tools agree on, byte order marks, the tunings' codes, patches out of range, and
// exports that refuse a song without chords.

#include "command_line_runs.h"
#include "main_window_fixture.h"

#include "app/command_line.h"
#include "app/song_paths.h"
#include "chords/tuning.h"
#include "editor/fretboard_view.h"

#include <QAction>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

namespace fw::testing {
namespace {

const char* const Header = "*Info 1:\r\n*Info 2:105\r\n*Info 3:55555\r\n*Info 4:77\r\n";

class LinuxSongs : public MainWindowTest {};

struct OpenCase {
    const char* label;
    std::vector<const char*> files; // written with a header of tempo 77
    const char* chosen;             // what the open dialog returns
    const char* opened;             // the file opened, or "" for the error box
};

class OpenAnyCase : public LinuxSongs, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenAnyCase, FindsTheSongWhateverTheExtensionsLetterCase) {
    const OpenCase& c = GetParam();
    TfrmMain& window = Start();
    for (const char* name : c.files)
        WriteFile(QString::fromUtf8(name), Header);
    dialogs.AnswerOpenFile(dir.filePath(QString::fromUtf8(c.chosen)));
    window.Open1Click();
    if (*c.opened == '\0') {
        EXPECT_EQ(Messages(), QStringList{QDir::toNativeSeparators(SongPathFor(
                                              dir.filePath(QString::fromUtf8(c.chosen)))) +
                                          QStringLiteral(" doesn't exist!")});
        EXPECT_EQ(window.tempo(), 120);
        return;
    }
    const QString opened = dir.filePath(QString::fromUtf8(c.opened));
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(window.tempo(), 77);
    EXPECT_EQ(window.currentSongPath(), opened);
    EXPECT_EQ(window.settings().RecentFile[0], opened);
}

INSTANTIATE_TEST_SUITE_P(
    Names, OpenAnyCase,
    ::testing::Values(
        OpenCase{"UpperCaseChosen", {"SONG.FWK"}, "SONG.FWK", "SONG.FWK"},
        OpenCase{"MixedCaseChosen", {"Tune.Fwk"}, "Tune.Fwk", "Tune.Fwk"},
        OpenCase{"OtherFileNamesUpperCaseSong", {"song.FWK", "song.txt"}, "song.txt", "song.FWK"},
        OpenCase{"LowerCasePreferredForOtherFile", {"a.FWK", "a.fwk", "a.txt"}, "a.txt", "a.fwk"},
        OpenCase{"ChosenSongWinsOverItsTwin", {"b.FWK", "b.fwk"}, "b.FWK", "b.FWK"},
        OpenCase{"BaseNameCaseStillCounts", {"SONG.fwk"}, "song.txt", ""},
        OpenCase{"Missing", {"other.FWK"}, "song.FWK", ""}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(LinuxSongs, ARecentSongRenamedToAnotherExtensionCaseStillOpens) {
    TfrmMain& window = Start();
    const QString renamed = WriteFile(QStringLiteral("tune.FWK"), Header);
    window.OpenRecentFile(dir.filePath(QStringLiteral("tune.fwk")));
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(window.tempo(), 77);
    EXPECT_EQ(window.currentSongPath(), renamed);
    window.OpenRecentFile(dir.filePath(QStringLiteral("gone.fwk")));
    EXPECT_EQ(Messages(),
              QStringList{dir.filePath(QStringLiteral("gone.fwk")) + " doesn't exist!"});
}

// The editor, --check and the MIDI export all see the same lines, whatever line breaks the
// file or the keyboard used.
TEST_F(LinuxSongs, UnicodeLineBreaksAreLinesForTheEditorAndEveryTool) {
    const QString song =
        WriteFile(QStringLiteral("seps.fwk"), QByteArray(Header) + "G, 0, 0, 0, 0, 0, Q\xE2\x80\xA8"
                                                                   "C, x, 2, 0, 1, 2\xE2\x80\xA9"
                                                                   "D, 0, 0, 2, 3, 2, Q\r\n");
    TfrmMain& window = Start({song});
    EXPECT_EQ(window.lines().lineCount(), 3);
    EXPECT_EQ(window.lines().lineText(1), QStringLiteral("C, x, 2, 0, 1, 2"));
    const ToolRun check = Tool({"--check", song.toStdString()});
    EXPECT_EQ(check.status, 1);
    EXPECT_EQ(check.out, "Line 2    Not enough commas.\n");
    EXPECT_FALSE(window.ShowLineStatus(1));
    EXPECT_EQ(window.statusPanel(0),
              QStringLiteral("   ***Error***   Line 2    Not enough commas."));
}

TEST_F(LinuxSongs, ShiftEnterInTheMainEditorSavesTwoLines) {
    TfrmMain& window = Start();
    window.ui().RichEdit1->setFocus();
    QTest::keyClicks(window.ui().RichEdit1, QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    QTest::keyClick(window.ui().RichEdit1, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(window.ui().RichEdit1, QStringLiteral("C, x, 2, 0, 1, 2, H"));
    EXPECT_EQ(window.lines().lineCount(), 2);
    EXPECT_EQ(window.statusPanel(2), QStringLiteral("Line 2"));
    const QString path = dir.filePath(QStringLiteral("typed.fwk"));
    ASSERT_TRUE(window.SaveSongTo(path));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().endsWith("G, 0, 0, 0, 0, 0, Q\r\nC, x, 2, 0, 1, 2, H\r\n"));
    EXPECT_EQ(Tool({"--check", path.toStdString()}).status, 0);
}

TEST_F(LinuxSongs, AByteOrderMarkBeforeWindows1252TextKeepsTheHeader) {
    const QString song =
        WriteFile(QStringLiteral("bom.fwk"), "\xEF\xBB\xBF*Info 1:Caf\xE9\r\n*Info 2:40\r\n"
                                             "*Info 3:55565\r\n*Info 4:90\r\n* Caf\xE9\r\n");
    TfrmMain& window = Start();
    window.OpenRecentFile(song);
    EXPECT_EQ(Text(), QStringLiteral("* Caf\u00e9"));
    EXPECT_EQ(window.tempo(), 90);
    EXPECT_EQ(window.settings().Patch, 40);
    EXPECT_EQ(window.document().Tuning(), 55565);
}

TEST_F(LinuxSongs, TheOldCTuningCodeKeepsItsSoundAsACustomTuning) {
    TfrmMain& window = Start();
    window.OpenRecentFile(WriteFile(QStringLiteral("old.fwk"),
                                    "*Info 1:\r\n*Info 2:105\r\n*Info 3:52555\r\n*Info 4:120\r\n"
                                    "G, 0, 0, 0, 0, 0, Q\r\n"));
    EXPECT_EQ(window.document().Tuning(), 52555);
    EXPECT_TRUE(window.ui().tuningItems[UserTuningIndex]->isChecked());
    EXPECT_EQ(window.ui().tuningItems[UserTuningIndex]->text(), QStringLiteral("&Custom Tuning - G B G B D"));
    EXPECT_EQ(window.statusPanel(1), QStringLiteral("Custom Tuning - G B G B D"));
    window.playSession().PlayButtonPressed();
    EXPECT_EQ(NoteOnKeys(), (std::vector<int>{62, 59, 55, 47, 67})) << "string 4 still sounds B";

    // The C Tuning item now sounds the notes it names.
    window.ui().tuningItems[1]->trigger();
    EXPECT_EQ(window.document().Tuning(), 53555);
    EXPECT_EQ(window.statusPanel(1), QStringLiteral("C Tuning - G C G B D"));
    const std::size_t before = Sent().size();
    window.playSession().PlayButtonPressed();
    EXPECT_EQ(NoteOnKeys(before), (std::vector<int>{62, 59, 55, 48, 67}));
    window.ui().tuningItems[3]->trigger();
    EXPECT_EQ(window.statusPanel(1), QStringLiteral("D Tuning - F# D F# A D"));
}

TEST_F(LinuxSongs, APatchAbove127PlaysAndShowsAsProgram128) {
    TfrmMain& window = Start();
    window.OpenRecentFile(WriteFile(QStringLiteral("patch.fwk"),
                                    "*Info 1:\r\n*Info 2:-1\r\n*Info 3:55555\r\n*Info 4:120\r\n"
                                    "G, 0, 0, 0, 0, 0, Q\r\n"));
    EXPECT_EQ(window.settings().Patch, 127);
    EXPECT_TRUE(window.ui().MIDIPatch1->isChecked());
    EXPECT_EQ(window.ui().MIDIPatch1->text(), QStringLiteral("128 Gunshot"));
    EXPECT_EQ(window.ui().MIDIPatch1->data().toInt(), 128);
    window.playSession().PlayButtonPressed();
    const std::vector<std::uint32_t> sent = Sent();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[0], 0x00007FC0u);
    EXPECT_EQ(sent[1], 0x00007FC1u);
}

TEST_F(LinuxSongs, ThePortNeverSendsAProgramAbove127) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    window.settings().Patch = 200; // as a hand-edited settings file could leave it
    window.playSession().PlayButtonPressed();
    ASSERT_GE(Sent().size(), 2u);
    EXPECT_EQ(Sent()[0], 0x00007FC0u);
}

// The second press of a quick pair arrives as a double-click; it must still act.
TEST_F(LinuxSongs, EveryPressOnPlayActs) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    window.show();
    const QPoint centre = window.ui().btnPlay->rect().center();
    const QPointF global = window.ui().btnPlay->mapToGlobal(QPointF(centre));
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(centre), global, Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(window.ui().btnPlay, &event);
    }
    // On the virtual clock each play ends within its press: two presses, two plays.
    EXPECT_EQ(output.Count(RecordingOutput::Kind::Open), 2);
    EXPECT_EQ(NoteOnKeys(), (std::vector<int>{62, 59, 55, 50, 67, 62, 59, 55, 50, 67}));
}

struct ChordlessCase {
    const char* label;
    const char* tool;
    const char* body; // after a complete header
};

class ChordlessExports : public LinuxSongs, public ::testing::WithParamInterface<ChordlessCase> {};

TEST_P(ChordlessExports, AreRefusedLikeTheMenuDoesWithoutAFile) {
    const ChordlessCase& c = GetParam();
    const QString song =
        WriteFile(QStringLiteral("chordless.fwk"), QByteArray(Header) + QByteArray(c.body));
    const QString out = dir.filePath(QStringLiteral("out.file"));
    const ToolRun run = Tool({c.tool, song.toStdString(), out.toStdString()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Can't create midi file. No chords defined in editor.\n");
    EXPECT_FALSE(QFile::exists(out));
}

INSTANTIATE_TEST_SUITE_P(
    Songs, ChordlessExports,
    ::testing::Values(ChordlessCase{"MidiEmpty", "--export-midi", ""},
                      ChordlessCase{"MidiComments", "--export-midi", "* verse\r\n\r\n* chorus\r\n"},
                      ChordlessCase{"MidiBlankLines", "--export-midi", "\r\n   \r\n\t\r\n"},
                      ChordlessCase{"WavEmpty", "--export-wav", ""},
                      ChordlessCase{"WavComments", "--export-wav", "* only words\r\n"}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace fw::testing

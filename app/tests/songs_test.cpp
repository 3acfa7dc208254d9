// Songs: loading with the header rules, the save question, Save and Open round trips, and
// saves that fail without losing anything.

#include "main_window_fixture.h"

#include "chords/atomic_write.h"
#include "chords/patch_names.h"
#include "chords/tuning.h"
#include "chords/tests/unprivileged_user.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QLabel>
#include <QScrollBar>

#include <random>

#include <csignal>
#include <sys/resource.h>

namespace fw::testing {
namespace {

class Songs : public MainWindowTest {};

struct LoadCase {
    const char* label;
    const char* file;
    const char* text; // the editor afterwards
    int patch;
    int tuning;
    int tempo;
    bool banjoChecked;
};

class LoadingSongs : public Songs, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadingSongs, ReadTheHeader) {
    const LoadCase& c = GetParam();
    TfrmMain& window = Start();
    window.OpenRecentFile(WriteFile(QStringLiteral("song.fwk"), QByteArray(c.file)));
    EXPECT_EQ(Text(), QString::fromUtf8(c.text));
    EXPECT_EQ(window.settings().Patch, c.patch);
    EXPECT_EQ(window.document().Tuning(), c.tuning);
    EXPECT_EQ(window.tempo(), c.tempo);
    EXPECT_EQ(window.ui().lblTempo->text(), QString::number(c.tempo));
    EXPECT_EQ(window.ui().AcousticNylonStringGuitar1->isChecked(), c.banjoChecked);
    EXPECT_FALSE(window.document().Modified());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Fretwick - song.fwk[*]"));
}

INSTANTIATE_TEST_SUITE_P(
    Headers, LoadingSongs,
    ::testing::Values(
        LoadCase{
            "complete",
            "*Info 1:x\r\n*Info 2:105\r\n*Info 3:52555\r\n*Info 4:90\r\nG, 0, 0, 0, 0, 0, Q\r\n",
            "G, 0, 0, 0, 0, 0, Q", 105, 52555, 90, true},
        LoadCase{"three_lines", "*Info 1:x\n*Info 2:105\n*Info 3:52555\nG, 0, 0, 0, 0, 0, Q\n",
                 "*Info 1:x\n*Info 2:105\n*Info 3:52555\nG, 0, 0, 0, 0, 0, Q", 105, 52555, 120,
                 true},
        LoadCase{"patch_not_a_number", "*Info 1:\n*Info 2:abc\n*Info 3:55555\n*Info 4:120\n", "",
                 25, 55555, 120, false},
        LoadCase{"tempo_zero", "*Info 1:\n*Info 2:105\n*Info 3:55555\n*Info 4:0\n", "", 105, 55555,
                 1, true},
        LoadCase{"tempo_too_fast", "*Info 1:\n*Info 2:105\n*Info 3:55555\n*Info 4: 900\n", "", 105,
                 55555, 500, true},
        LoadCase{"marker_case", "*Info 1:\n*INFO 2:40\n*Info 3:55555\n*Info 4:100\n",
                 "*Info 1:\n*INFO 2:40\n*Info 3:55555\n*Info 4:100", 105, 55555, 100, true},
        LoadCase{"user_tuning",
                 "*Info 1:\r*Info 2:105\r*Info 3:64556\r*Info 4:120\rC, x, 2, 0, 1, 2, Q",
                 "C, x, 2, 0, 1, 2, Q", 105, 64556, 120, true},
        LoadCase{"windows_1252",
                 "*Info 1:\r\n*Info 2:105\r\n*Info 3:55555\r\n*Info 4:120\r\n* Caf\xe9\r\n",
                 "* Caf\xc3\xa9", 105, 55555, 120, true}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(Songs, APatchOtherThanBanjoNamesTheUserItem) {
    TfrmMain& window = Start();
    window.OpenRecentFile(
        WriteFile(QStringLiteral("p.fwk"), "*Info 1:\n*Info 2:abc\n*Info 3:55555\n*Info 4:120\n"));
    EXPECT_TRUE(window.ui().MIDIPatch1->isChecked());
    EXPECT_EQ(window.ui().MIDIPatch1->text(), QString::fromStdString(PatchName(25)));
    EXPECT_EQ(window.ui().MIDIPatch1->data().toInt(), 26);
    EXPECT_EQ(window.settings().MenuPatchTag, 26);
}

TEST_F(Songs, AUserTuningSongPutsItsCodeOnTheUserItem) {
    TfrmMain& window = Start();
    window.OpenRecentFile(
        WriteFile(QStringLiteral("t.fwk"), "*Info 1:\n*Info 2:105\n*Info 3:64556\n*Info 4:120\n"));
    EXPECT_TRUE(window.ui().tuningItems[UserTuningIndex]->isChecked());
    EXPECT_EQ(window.ui().tuningItems[UserTuningIndex]->text(), QStringLiteral("&Custom Tuning - Ab C# G B Eb"));
    EXPECT_EQ(window.statusPanel(1), QStringLiteral("Custom Tuning - Ab C# G B Eb"));
    EXPECT_EQ(window.document().TuningOffset(), (std::array<int, 6>{0, 1, 0, 0, -1, 1}));
    window.ui().tuningItems[0]->trigger();
    window.ui().tuningItems[UserTuningIndex]->trigger();
    EXPECT_EQ(window.document().Tuning(), 64556)
        << "choosing the user item again reapplies the song's tuning";
}

TEST_F(Songs, OpenForcesTheSongExtensionAndRefusesTheDictionary) {
    TfrmMain& window = Start();
    const QString song =
        WriteFile(QStringLiteral("song.fwk"), "*Info 1:\n*Info 2:105\n*Info 3:55555\n*Info 4:77\n");
    dialogs.AnswerOpenFile(dir.filePath(QStringLiteral("song.txt")));
    window.Open1Click();
    EXPECT_EQ(window.tempo(), 77);
    EXPECT_EQ(window.settings().RecentFile[0], song);
    EXPECT_EQ(window.settings().LastDir, dir.path());

    dialogs.AnswerOpenFile(dir.filePath(QStringLiteral("other.txt")));
    window.Open1Click();
    dialogs.AnswerOpenFile(dir.filePath(QStringLiteral("bchords.dct")));
    window.Open1Click();
    EXPECT_EQ(
        Messages(),
        (QStringList{QDir::toNativeSeparators(dir.filePath(QStringLiteral("other.fwk"))) +
                         QStringLiteral(" doesn't exist!"),
                     QStringLiteral("BCHORDS.DCT can't be edited while Fretwick is running.")}));
    EXPECT_EQ(dialogs.Log().back().buttons, MessageButtons::CancelOnly);
    EXPECT_EQ(window.tempo(), 77) << "nothing else changed";
}

TEST_F(Songs, RecentFilesShowEachPathOnce) {
    TfrmMain& window = Start();
    const QString a = WriteFile(QStringLiteral("a.fwk"), "");
    const QString b = WriteFile(QStringLiteral("b.fwk"), "");
    for (const QString& path : {a, b, a}) {
        dialogs.AnswerOpenFile(path);
        window.Open1Click();
    }
    EXPECT_EQ(window.settings().RecentFile, (std::array<QString, 3>{a, b, a}));
    EXPECT_TRUE(window.ui().mnuFilename[0]->isVisible());
    EXPECT_TRUE(window.ui().mnuFilename[1]->isVisible());
    EXPECT_FALSE(window.ui().mnuFilename[2]->isVisible());
    QFile::remove(b);
    window.ui().mnuFilename[1]->trigger();
    EXPECT_EQ(Messages().back(), b + QStringLiteral(" doesn't exist!"));
}

TEST_F(Songs, CancellingTheQuestionKeepsTheWork) {
    TfrmMain& window = Start();
    window.ui().RichEdit1->setPlainText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    dialogs.AnswerMessage(DialogAnswer::Cancel);
    window.New1Click();
    EXPECT_EQ(Text(), QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    EXPECT_TRUE(window.document().Modified());
}

TEST_F(Songs, DroppingOpensOnlyTheFirstSong) {
    TfrmMain& window = Start();
    const QString first = WriteFile(QStringLiteral("first.fwk"),
                                    "*Info 1:\n*Info 2:105\n*Info 3:55555\n*Info 4:61\n");
    const QString second = WriteFile(QStringLiteral("second.fwk"),
                                     "*Info 1:\n*Info 2:105\n*Info 3:55555\n*Info 4:62\n");
    window.DropFiles({first, second});
    EXPECT_EQ(window.tempo(), 61);
    EXPECT_EQ(window.settings().RecentFile[0], first);
    window.DropFiles({dir.filePath(QStringLiteral("missing.fwk"))});
    window.DropFiles({WriteFile(QStringLiteral("x.txt"), "")});
    EXPECT_EQ(window.tempo(), 61);
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(Songs, SaveAsWritesTheHeaderAndEditorLinesWithCrLf) {
    TfrmMain& window = Start();
    window.ui().RichEdit1->setPlainText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\n* Verse"));
    window.setTempo(96);
    dialogs.AnswerSaveFile(dir.filePath(QStringLiteral("written")));
    window.SaveAs1Click();
    const QString path = dir.filePath(QStringLiteral("written.fwk"));
    EXPECT_EQ(ReadAll(path), QByteArray("*Info 1:Fretwick song\r\n*Info 2:105\r\n*Info 3:55555\r\n"
                                        "*Info 4:96\r\nG, 0, 0, 0, 0, 0, Q\r\n* Verse\r\n"));
    EXPECT_FALSE(window.document().Modified());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Fretwick - written.fwk[*]"));
}

TEST_F(Songs, RandomSongsSurviveSaveAndOpen) {
    TfrmMain& window = Start();
    std::mt19937 random(20261207);
    const std::vector<QString> pieces = {QStringLiteral("G, 0, 0, 0, 0, 0, Q"),
                                         QStringLiteral("C,x,2,0,1,2,.e"),
                                         QStringLiteral("Slide in , 0 , 2-4 , 0 , 0 , 0 , H"),
                                         QStringLiteral("* Vers\u00e9 \u266a"),
                                         QStringLiteral(""),
                                         QStringLiteral("   \t"),
                                         QStringLiteral("Rest , x, x, x, x, x, S"),
                                         QStringLiteral("G, 0, 0, 0, 0, 4-2, S"),
                                         QStringLiteral("bad line"),
                                         QStringLiteral("*Info 2:99")};
    const std::array<int, 6> tunings = {55555, 52555, 45435, 64556, 19991, 55565};
    for (int round = 0; round < 25; ++round) {
        QStringList lines;
        const int count = static_cast<int>(random() % 12);
        for (int i = 0; i < count; ++i)
            lines << pieces[random() % pieces.size()];
        QString text = lines.join(QLatin1Char('\n'));
        if (random() % 2)
            text += QLatin1Char('\n');
        const int patch = static_cast<int>(random() % 128);
        const int tuning = tunings[random() % tunings.size()];
        const int tempo = 1 + static_cast<int>(random() % 500);

        window.ui().RichEdit1->setPlainText(text);
        window.settings().Patch = static_cast<std::uint8_t>(patch);
        window.ApplyTuning(tuning);
        window.setTempo(tempo);
        const QString path = dir.filePath(QStringLiteral("round%1.fwk").arg(round));
        ASSERT_TRUE(window.SaveSongTo(path));
        window.settings().Prompts = false;
        window.New1Click();
        window.OpenRecentFile(path);
        EXPECT_EQ(Text(), text) << "round " << round;
        EXPECT_EQ(window.settings().Patch, patch);
        EXPECT_EQ(window.document().Tuning(), tuning);
        EXPECT_EQ(window.tempo(), tempo);
        EXPECT_FALSE(window.document().Modified());
    }
}

// Refused access is checked as an ordinary user, also when the tests run as the superuser.
TEST_F(Songs, AReadOnlySongIsNotReplacedAndTheUserIsTold) {
    TfrmMain& window = Start();
    test::OwnForTestUser(dir.path().toStdString());
    const QString path = WriteFile(QStringLiteral("old.fwk"), "old contents");
    test::OwnForTestUser(path.toStdString());
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    window.ui().RichEdit1->setPlainText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    bool saved = true;
    {
        test::AsUnprivilegedUser user;
        ASSERT_TRUE(user.Active());
        saved = window.SaveSongTo(path);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadAll(path), QByteArray("old contents"));
    EXPECT_TRUE(window.document().Modified());
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("Saving \"%1\" failed: Permission denied. "
                                                     "\"%1\" was not changed.")
                                          .arg(path)});
}

TEST_F(Songs, ASongInAFolderThatTakesNoNewFilesIsSavedInPlace) {
    TfrmMain& window = Start();
    test::OwnForTestUser(dir.path().toStdString());
    const QString path = WriteFile(QStringLiteral("old.fwk"), "old contents");
    test::OwnForTestUser(path.toStdString());
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    // The rewrite keeps a copy of the old song in a folder of the user's own until it is done.
    QTemporaryDir backups;
    test::OwnForTestUser(backups.path().toStdString());
    SetSaveBackupFolder(backups.path().toStdString());
    window.ui().RichEdit1->setPlainText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    bool saved = false;
    {
        test::AsUnprivilegedUser user;
        ASSERT_TRUE(user.Active());
        saved = window.SaveSongTo(path);
    }
    SetSaveBackupFolder({});
    EXPECT_TRUE(QDir(backups.path()).isEmpty()) << "the copy goes once the song is saved";
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(saved) << Messages().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(ReadAll(path), QByteArray("*Info 1:Fretwick song\r\n*Info 2:105\r\n*Info 3:55555\r\n"
                                        "*Info 4:120\r\nG, 0, 0, 0, 0, 0, Q\r\n"));
    EXPECT_FALSE(window.document().Modified());
}

TEST_F(Songs, SavingASongThatIsALinkKeepsTheLink) {
    TfrmMain& window = Start();
    const QString real = WriteFile(QStringLiteral("real.fwk"), "old contents");
    const QString link = dir.filePath(QStringLiteral("link.fwk"));
    ASSERT_TRUE(QFile::link(real, link));
    window.OpenRecentFile(link);
    window.ui().RichEdit1->setPlainText(QStringLiteral("C, x, 2, 0, 1, 2, Q"));
    window.Save1Click();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadAll(real), QByteArray("*Info 1:Fretwick song\r\n*Info 2:105\r\n*Info 3:55555\r\n"
                                        "*Info 4:120\r\nC, x, 2, 0, 1, 2, Q\r\n"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Fretwick - link.fwk[*]"));
}

// A full disk, as seen by the program: writes beyond a size limit fail.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*previous_)(int) = nullptr;
};

TEST_F(Songs, ASaveThatRunsOutOfDiskKeepsTheOldFile) {
    TfrmMain& window = Start();
    const QString path = WriteFile(QStringLiteral("full.fwk"), "old contents");
    QString text;
    for (int i = 0; i < 200; ++i)
        text += QStringLiteral("G, 0, 0, 0, 0, 0, Q\n");
    window.ui().RichEdit1->setPlainText(text);
    bool saved = true;
    {
        FileSizeLimit limit(1024);
        saved = window.SaveSongTo(path);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadAll(path), QByteArray("old contents"));
    EXPECT_TRUE(window.document().Modified());
    EXPECT_EQ(Messages().size(), 1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1) << "no temporary file left";
}

TEST_F(Songs, AnsweringYesToTheQuestionButFailingToSaveKeepsTheWork) {
    TfrmMain& window = Start();
    window.ui().RichEdit1->setPlainText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    dialogs.AnswerMessage(DialogAnswer::Yes);
    // The save dialog is cancelled: nothing was written, so New must not throw the work away.
    dialogs.AnswerSaveFile(std::nullopt);
    window.New1Click();
    EXPECT_EQ(Text(), QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
}

} // namespace
} // namespace fw::testing

// The recovery copy of an unsaved song: written by the timer only after a change, removed on
// save, New and a clean exit, and offered at the next start after a crash.

#include "recovery_fixture.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace fw::testing {
namespace {

TEST_F(Recovery, TheFolderIsUnderTheStateHomeAndTheIntervalTwoSeconds) {
    EXPECT_EQ(DefaultRecoveryFolder(),
              qEnvironmentVariable("XDG_STATE_HOME") + QStringLiteral("/Fretwick/recovery"));
    Start();
    EXPECT_EQ(main->recovery().interval(), std::chrono::milliseconds(2000));
    // A name of this run's own, so that programs running at once keep their copies apart.
    EXPECT_EQ(QFileInfo(CopyPath()).path(), Folder());
    const QRegularExpression name(
        QStringLiteral("^unsaved-%1-[0-9a-f]{8}\\.fwk$").arg(QCoreApplication::applicationPid()));
    EXPECT_TRUE(name.match(FileName(CopyPath())).hasMatch()) << FileName(CopyPath()).toStdString();
}

TEST_F(Recovery, NoCopyIsWrittenWithoutAChange) {
    Start();
    main->recovery().Tick();
    EXPECT_EQ(FolderFiles(), QStringList());
}

TEST_F(Recovery, ACopyIsWrittenAfterAChangeAndOnlyAgainAfterTheNextOne) {
    Start();
    Type(QStringLiteral("G D\nC"));
    main->setTempo(87);
    main->recovery().Tick();
    // The copy and the lock that tells other programs this one still runs.
    EXPECT_EQ(FolderFiles(), CopyAndLock(CopyPath()));
    const std::optional<RecoveredSong> song = ReadCopy(CopyPath());
    ASSERT_TRUE(song);
    EXPECT_EQ(song->path, QString());
    const std::vector<std::string> lines = SplitLines(song->songText);
    const SongHeader header = ReadSongHeader(lines);
    EXPECT_TRUE(header.headerComplete);
    EXPECT_EQ(header.tempo, 87);
    EXPECT_EQ(SongEditorLines(lines, header), (std::vector<std::string>{"G D", "C"}));

    // Nothing changed since: the next step writes nothing.
    ASSERT_TRUE(QFile::remove(CopyPath()));
    main->recovery().Tick();
    EXPECT_FALSE(QFileInfo::exists(CopyPath()));
    main->setTempo(90); // a setting alone is a change too
    main->recovery().Tick();
    EXPECT_TRUE(QFileInfo::exists(CopyPath()));
}

TEST_F(Recovery, TheTimerWritesTheCopyWithoutBeingAsked) {
    const QString folder = dir.filePath(QStringLiteral("timer"));
    bool modified = true;
    SongRecovery recovery(folder,
                          {[&] { return modified; }, [] { return QStringLiteral("1"); },
                           [] {
                               return RecoveredSong{QStringLiteral("/a.fwk"), "x\r\n", {}};
                           }},
                          std::chrono::milliseconds(0));
    QCoreApplication::processEvents();
    EXPECT_TRUE(QFileInfo::exists(recovery.copyPath()));
}

// The copy follows the last change by two seconds; typing that goes on is copied 30 seconds
// after its first change; a big song's copies are 30 seconds apart.
TEST_F(Recovery, TheCopyFollowsTheLastChangeByTwoSeconds) {
    int revision = 0;
    std::string padding;
    SongRecovery recovery(
        Folder(),
        {[] { return true; }, [&] { return QString::number(revision); },
         [&] {
             return RecoveredSong{
                 {}, "* revision " + std::to_string(revision) + "\r\n" + padding, {}};
         }},
        DefaultRecoveryInterval);
    SongRecovery::Clock::time_point now;
    recovery.Now = [&] { return now; };
    const auto pollAt = [&](int tenths) {
        now = SongRecovery::Clock::time_point(std::chrono::milliseconds(100 * tenths));
        recovery.Poll();
        const std::optional<RecoveredSong> copy = ReadCopy(recovery.copyPath());
        const std::string text = copy ? copy->songText : std::string();
        const auto at = text.find("revision ");
        return at == std::string::npos ? -1 : std::stoi(text.substr(at + 9));
    };
    revision = 1;
    EXPECT_EQ(pollAt(0), -1);
    EXPECT_EQ(pollAt(19), -1);
    EXPECT_EQ(pollAt(20), 1) << "two seconds after the change";
    for (int t = 100; t < 400; t += 10) { // a change every second from 10 s on
        ++revision;
        EXPECT_EQ(pollAt(t), 1) << "at " << t / 10 << " s";
    }
    EXPECT_EQ(pollAt(400), revision) << "30 seconds after the first change";
    padding.assign(static_cast<std::size_t>(RecoveryBigSongBytes), '*');
    ++revision;
    pollAt(700);
    EXPECT_EQ(pollAt(720), revision) << "a big song's first copy";
    const int big = revision++;
    pollAt(730);
    EXPECT_EQ(pollAt(1010), big) << "a big song waits 30 seconds after its last copy";
    EXPECT_EQ(pollAt(1020), revision);
}

enum class Ending { Save, SaveAs, New, CloseAfterSaving, CloseDeclining };

struct EndingCase {
    const char* name;
    Ending ending;
};

void PrintTo(const EndingCase& c, std::ostream* os) {
    *os << c.name;
}

class RecoveryCopyRemoved : public Recovery, public ::testing::WithParamInterface<EndingCase> {};

TEST_P(RecoveryCopyRemoved, When) {
    const QString songPath = dir.filePath(QStringLiteral("song.fwk"));
    Start();
    Type(QStringLiteral("G"));
    main->recovery().Tick();
    ASSERT_TRUE(QFileInfo::exists(CopyPath()));
    switch (GetParam().ending) {
    case Ending::Save:
        ASSERT_TRUE(main->SaveSongTo(songPath));
        break;
    case Ending::SaveAs:
        dialogs.AnswerSaveFile(songPath);
        main->SaveAs1Click();
        break;
    case Ending::New:
        dialogs.AnswerMessage(DialogAnswer::No); // do not save the changes
        main->New1Click();
        break;
    case Ending::CloseAfterSaving:
        dialogs.AnswerMessage(DialogAnswer::Yes);
        dialogs.AnswerSaveFile(songPath);
        EXPECT_TRUE(main->close());
        break;
    case Ending::CloseDeclining:
        dialogs.AnswerMessage(DialogAnswer::No);
        EXPECT_TRUE(main->close());
        break;
    }
    // This run's copy and its lock are gone, and nothing else was ever there.
    EXPECT_EQ(FolderFiles(), QStringList());
    EXPECT_EQ(dialogs.PendingAnswers(), 0U);
}

INSTANTIATE_TEST_SUITE_P(Table, RecoveryCopyRemoved,
                         ::testing::Values(EndingCase{"Save", Ending::Save},
                                           EndingCase{"SaveAs", Ending::SaveAs},
                                           EndingCase{"New", Ending::New},
                                           EndingCase{"CloseAfterSaving", Ending::CloseAfterSaving},
                                           EndingCase{"CloseDeclining", Ending::CloseDeclining}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Recovery, AFailedSaveKeepsTheCopy) {
    Start();
    Type(QStringLiteral("G"));
    main->recovery().Tick();
    EXPECT_FALSE(main->SaveSongTo(dir.filePath(QStringLiteral("no/such/folder/song.fwk"))));
    EXPECT_TRUE(QFileInfo::exists(CopyPath()));
}

TEST_F(Recovery, YesOpensTheCopyAsAModifiedSongWithItsPathAndSettings) {
    const QString songPath = dir.filePath(QStringLiteral("my\nsong.fwk"));
    PlaceCopy(CrashedCopy(songPath));
    dialogs.AnswerMessage(DialogAnswer::Yes);
    Start();
    main->FormActivate();
    EXPECT_EQ(Messages(), QStringList{Question(QStringLiteral("my\nsong.fwk"))});
    EXPECT_EQ(Text(), QStringLiteral("G D\n* verse\nC"));
    EXPECT_EQ(main->currentSongPath(), songPath);
    EXPECT_EQ(main->settings().Patch, 20);
    EXPECT_EQ(main->document().Tuning(), 57675);
    EXPECT_EQ(main->tempo(), 77);
    EXPECT_TRUE(main->document().Modified());
    // The recovered text is this run's copy at once, so a second crash loses nothing either,
    // and the claimed copy is gone: exactly one copy is left.
    EXPECT_EQ(FolderFiles(), CopyAndLock(CopyPath()));
    const std::optional<RecoveredSong> copy = ReadCopy(CopyPath());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->path, songPath);
    EXPECT_EQ(copy->songText, ParseRecoveryFile(CrashedCopy(songPath).toStdString())->songText);
    // No file is there any more: the path stays one that Save asks about.
    EXPECT_EQ(copy->identity, QStringLiteral("-"));
}

TEST_F(Recovery, AnUntitledSongIsOfferedUnderThatName) {
    PlaceCopy(CrashedCopy(QString()));
    dialogs.AnswerMessage(DialogAnswer::Yes);
    Start();
    main->FormActivate();
    EXPECT_EQ(Messages(), QStringList{Question(QStringLiteral("Untitled"))});
    EXPECT_EQ(main->currentSongPath(), QString());
    EXPECT_TRUE(main->document().Modified());
}

TEST_F(Recovery, NoDeletesTheCopyAndKeepsTheEmptyDocument) {
    PlaceCopy(CrashedCopy(QStringLiteral("/songs/reel.fwk")));
    dialogs.AnswerMessage(DialogAnswer::No);
    Start();
    main->FormActivate();
    EXPECT_EQ(Messages(), QStringList{Question(QStringLiteral("reel.fwk"))});
    EXPECT_EQ(FolderFiles(), QStringList());
    EXPECT_EQ(Text(), QString());
    EXPECT_FALSE(main->document().Modified());
}

TEST_F(Recovery, TheOfferComesAfterTheWelcome) {
    ResetSettingsFile(QStringLiteral("Welcomed=0\n"));
    PlaceCopy(CrashedCopy(QStringLiteral("/songs/reel.fwk")));
    dialogs.AnswerMessage(DialogAnswer::No);
    Start();
    main->FormActivate();
    ASSERT_EQ(dialogs.Log().size(), 2U);
    EXPECT_EQ(dialogs.Log()[0].kind, DialogKind::Modal);
    EXPECT_EQ(dialogs.Log()[1].kind, DialogKind::Message);
}

struct DamagedCase {
    const char* name;
    QByteArray bytes;
};

void PrintTo(const DamagedCase& c, std::ostream* os) {
    *os << c.name;
}

class DamagedRecoveryCopy : public Recovery, public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(DamagedRecoveryCopy, IsNotOfferedAndChangesNothing) {
    PlaceCopy(GetParam().bytes);
    Start();
    main->FormActivate();
    EXPECT_EQ(Messages(), QStringList());
    EXPECT_EQ(Text(), QString());
    EXPECT_FALSE(main->document().Modified());
    // Left on disk as it was, and not held: the claim on it was dropped.
    EXPECT_EQ(FolderFiles(), QStringList{FileName(LeftOverPath())});
    EXPECT_EQ(ReadAll(LeftOverPath()), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DamagedRecoveryCopy,
    ::testing::Values(DamagedCase{"Empty", QByteArray()},
                      DamagedCase{"Binary", QByteArray("\x00\xff\xfe\x01garbage\x00", 12)},
                      DamagedCase{"AnotherFile", QByteArray("*Info 1:song\r\nG\r\n")},
                      DamagedCase{"MarkerOnly", QByteArray("Fretwick recovery copy 1\n")},
                      DamagedCase{"NoPathLineEnd",
                                  QByteArray("Fretwick recovery copy 1\n%2Fa.fwk")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Recovery, AFolderInPlaceOfTheCopyIsNotReadNorOffered) {
    ASSERT_TRUE(QDir().mkpath(LeftOverPath()));
    Start();
    main->FormActivate();
    EXPECT_EQ(Messages(), QStringList());
    EXPECT_EQ(Text(), QString());
}

} // namespace
} // namespace fw::testing

// Recovery copies of several programs in one folder: each program keeps and removes only its
// own copy; a copy is offered only when its program no longer runs, newest first, and claimed
// by one program at a time.

#include "recovery_fixture.h"

namespace fw::testing {
namespace {

TEST_F(Recovery, TwoProgramsKeepTheirCopiesApart) {
    const std::unique_ptr<SongRecovery> first = OtherProgram("first\r\n");
    const std::unique_ptr<SongRecovery> second = OtherProgram("second\r\n");
    ASSERT_NE(first->copyPath(), second->copyPath());
    EXPECT_EQ(FolderFiles().size(), 4U); // two copies, two locks
    EXPECT_EQ(ReadCopy(first->copyPath())->songText, "first\r\n");
    EXPECT_EQ(ReadCopy(second->copyPath())->songText, "second\r\n");
    // A running program's copy is not left over, for the other or for a third starting now.
    EXPECT_EQ(ClaimedPath(first->ClaimLeftOver()), QString());
    EXPECT_EQ(ClaimedPath(second->ClaimLeftOver()), QString());
    const std::unique_ptr<SongRecovery> third = OtherProgram("third\r\n");
    EXPECT_EQ(ClaimedPath(third->ClaimLeftOver()), QString());
    EXPECT_TRUE(third->Discard());

    // A clean exit of the first removes its own copy and lock only.
    EXPECT_TRUE(first->Discard());
    EXPECT_EQ(FolderFiles(), CopyAndLock(second->copyPath()));
    EXPECT_EQ(ReadCopy(second->copyPath())->songText, "second\r\n");
    EXPECT_EQ(ClaimedPath(first->ClaimLeftOver()), QString());
}

TEST_F(Recovery, AWindowStartedBesideARunningProgramNeitherOffersNorTouchesItsCopy) {
    const std::unique_ptr<SongRecovery> other = OtherProgram("G\r\n");
    const QByteArray before = ReadAll(other->copyPath());
    Start();
    main->FormActivate();
    Type(QStringLiteral("C"));
    main->recovery().Tick();
    dialogs.AnswerMessage(DialogAnswer::No); // do not save the changes
    EXPECT_TRUE(main->close());
    main.reset();
    EXPECT_EQ(Messages().size(), 1); // only whether to save the changes
    EXPECT_EQ(Messages().filter(QStringLiteral("closed unexpectedly")), QStringList());
    EXPECT_EQ(FolderFiles(), CopyAndLock(other->copyPath()));
    EXPECT_EQ(ReadAll(other->copyPath()), before);
}

enum class Owner { LegacyWithoutLock, NoLock, FinishedProgram, LiveLock, RunningProgram };

struct OwnerCase {
    const char* name;
    Owner owner;
    bool offered;
};

void PrintTo(const OwnerCase& c, std::ostream* os) {
    *os << c.name;
}

class LeftOverOwner : public Recovery, public ::testing::WithParamInterface<OwnerCase> {};

TEST_P(LeftOverOwner, DecidesWhetherTheCopyIsOffered) {
    QString copy = LeftOverPath();
    std::unique_ptr<QLockFile> liveLock;
    std::unique_ptr<SongRecovery> running;
    switch (GetParam().owner) {
    case Owner::LegacyWithoutLock: // what this program wrote before copies had owners
        copy = LeftOverPath(QStringLiteral("unsaved-song.fwk"));
        PlaceCopy(CrashedCopy(QStringLiteral("/songs/reel.fwk")), copy);
        break;
    case Owner::NoLock:
        PlaceCopy(CrashedCopy(QStringLiteral("/songs/reel.fwk")), copy);
        break;
    case Owner::FinishedProgram:
        PlaceCopy(CrashedCopy(QStringLiteral("/songs/reel.fwk")), copy);
        PlaceLockOf(FinishedProgramPid(), copy);
        break;
    case Owner::LiveLock: // held by this test's process, however old the lock file is
        PlaceCopy(CrashedCopy(QStringLiteral("/songs/reel.fwk")), copy);
        liveLock = MakeRecoveryLock(copy);
        ASSERT_TRUE(liveLock->tryLock(0));
        {
            QFile lockFile(RecoveryLockPath(copy));
            ASSERT_TRUE(lockFile.open(QIODevice::ReadOnly));
            ASSERT_TRUE(lockFile.setFileTime(QDateTime::currentDateTimeUtc().addDays(-30),
                                             QFileDevice::FileModificationTime));
        }
        break;
    case Owner::RunningProgram:
        running = OtherProgram(CrashedCopy(QStringLiteral("/songs/reel.fwk")).toStdString());
        copy = running->copyPath();
        break;
    }
    const QStringList filesBefore = FolderFiles();
    const QByteArray copyBefore = ReadAll(copy);
    const QByteArray lockBefore = ReadAll(RecoveryLockPath(copy));
    dialogs.AnswerMessage(DialogAnswer::No);
    Start();
    main->FormActivate();
    if (GetParam().offered) {
        EXPECT_EQ(Messages(), QStringList{Question(QStringLiteral("reel.fwk"))});
        EXPECT_EQ(FolderFiles(), QStringList()); // No removed the copy and any lock it had
    } else {
        EXPECT_EQ(Messages(), QStringList());
        EXPECT_EQ(FolderFiles(), filesBefore);
        EXPECT_EQ(ReadAll(copy), copyBefore);
        EXPECT_EQ(ReadAll(RecoveryLockPath(copy)), lockBefore);
        EXPECT_EQ(dialogs.PendingAnswers(), 1U);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, LeftOverOwner,
    ::testing::Values(OwnerCase{"LegacyCopyWithoutLock", Owner::LegacyWithoutLock, true},
                      OwnerCase{"CopyWithoutLock", Owner::NoLock, true},
                      OwnerCase{"LockOfAFinishedProgram", Owner::FinishedProgram, true},
                      OwnerCase{"OldLockOfALiveOwner", Owner::LiveLock, false},
                      OwnerCase{"CopyOfARunningProgram", Owner::RunningProgram, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Two copies left by crashed runs: the older's name sorts first, so only the times can put the
// newer first.
struct OrderCase {
    const char* name;
    std::vector<DialogAnswer> answers;
    QStringList offered; // names of the songs offered, in order
    QString text;        // the chord list afterwards
    bool olderCopyWaits; // the older copy is still on disk for the next start
};

void PrintTo(const OrderCase& c, std::ostream* os) {
    *os << c.name;
}

class TwoLeftOverCopies : public Recovery, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(TwoLeftOverCopies, AreOfferedNewestFirst) {
    const QString older = LeftOverPath(QStringLiteral("unsaved-1-00000001.fwk"));
    PlaceCopy(CrashedCopy(QStringLiteral("/songs/older.fwk"), {"A"}), older, 2);
    PlaceLockOf(FinishedProgramPid(), older);
    PlaceCopy(CrashedCopy(QStringLiteral("/songs/newer.fwk"), {"B"}),
              LeftOverPath(QStringLiteral("unsaved-9-00000009.fwk")), 1);
    for (const DialogAnswer answer : GetParam().answers)
        dialogs.AnswerMessage(answer);
    Start();
    main->FormActivate();
    QStringList questions;
    for (const QString& name : GetParam().offered)
        questions << Question(name);
    EXPECT_EQ(Messages(), questions);
    EXPECT_EQ(dialogs.PendingAnswers(), 0U);
    EXPECT_EQ(Text(), GetParam().text);
    EXPECT_EQ(main->document().Modified(), !GetParam().text.isEmpty());
    QStringList left;
    if (GetParam().olderCopyWaits)
        left << CopyAndLock(older);
    if (main->document().Modified()) // the recovered song's own copy, written at once
        left << CopyAndLock(CopyPath());
    left.sort();
    EXPECT_EQ(FolderFiles(), left);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TwoLeftOverCopies,
    ::testing::Values(OrderCase{"NoToBoth",
                                {DialogAnswer::No, DialogAnswer::No},
                                {QStringLiteral("newer.fwk"), QStringLiteral("older.fwk")},
                                QString(),
                                false},
                      OrderCase{"YesToTheNewer",
                                {DialogAnswer::Yes},
                                {QStringLiteral("newer.fwk")},
                                QStringLiteral("B"),
                                true},
                      OrderCase{"NoThenYesToTheOlder",
                                {DialogAnswer::No, DialogAnswer::Yes},
                                {QStringLiteral("newer.fwk"), QStringLiteral("older.fwk")},
                                QStringLiteral("A"),
                                false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Recovery, ADamagedNewerCopyIsSkippedForAnOlderGoodOne) {
    const QString damaged = LeftOverPath(QStringLiteral("unsaved-9-00000009.fwk"));
    PlaceCopy(QByteArray("Fretwick recovery copy 1\n"), damaged, 1);
    PlaceCopy(CrashedCopy(QStringLiteral("/songs/reel.fwk")), LeftOverPath(), 2);
    dialogs.AnswerMessage(DialogAnswer::No);
    Start();
    main->FormActivate();
    EXPECT_EQ(Messages(), QStringList{Question(QStringLiteral("reel.fwk"))});
    EXPECT_EQ(FolderFiles(), QStringList{FileName(damaged)});
}

TEST_F(Recovery, ALeftOverCopyIsClaimedByOneProgramAtATime) {
    PlaceCopy(CrashedCopy(QStringLiteral("/songs/reel.fwk")));
    const std::unique_ptr<SongRecovery> first = OtherProgram("first\r\n");
    const std::unique_ptr<SongRecovery> second = OtherProgram("second\r\n");
    std::unique_ptr<ClaimedCopy> claim = first->ClaimLeftOver();
    ASSERT_NE(claim, nullptr);
    EXPECT_EQ(claim->path(), LeftOverPath());
    EXPECT_EQ(claim->song().path, QStringLiteral("/songs/reel.fwk"));
    EXPECT_EQ(ClaimedPath(second->ClaimLeftOver()), QString());
    // The first offers it no further (as after a failed No): the copy waits for the next one.
    claim.reset();
    EXPECT_EQ(ClaimedPath(first->ClaimLeftOver()), QString());
    claim = second->ClaimLeftOver();
    ASSERT_NE(claim, nullptr);
    EXPECT_EQ(claim->path(), LeftOverPath());
}

TEST_F(Recovery, AnAdoptedCopyWaitsUntilThisRunsOwnIsWritten) {
    PlaceCopy(CrashedCopy(QStringLiteral("/songs/reel.fwk")));
    const std::string text = CrashedCopy(QStringLiteral("/songs/reel.fwk")).toStdString();
    int revision = 1;
    SongRecovery recovery(Folder(),
                          {[] { return true; }, [&] { return QString::number(revision); },
                           [] {
                               return RecoveredSong{QStringLiteral("/songs/reel.fwk"), "G\r\n", {}};
                           }},
                          DefaultRecoveryInterval);
    // A folder where this run's copy belongs: it cannot be written.
    ASSERT_TRUE(QDir().mkpath(recovery.copyPath()));
    recovery.Adopt(recovery.ClaimLeftOver());
    EXPECT_EQ(ReadAll(LeftOverPath()).toStdString(), text);
    const std::unique_ptr<SongRecovery> other = OtherProgram("x\r\n");
    EXPECT_EQ(ClaimedPath(other->ClaimLeftOver()), QString()); // still held
    EXPECT_TRUE(other->Discard());
    ASSERT_TRUE(QDir().rmdir(recovery.copyPath()));
    recovery.Tick();
    EXPECT_EQ(FolderFiles(), CopyAndLock(recovery.copyPath()));
    EXPECT_TRUE(recovery.Discard());
    EXPECT_EQ(FolderFiles(), QStringList());
}

} // namespace
} // namespace fw::testing

// Paths stay absolute: a song named on the command line by a relative path goes into the
// document, the recent files and the recovery copy as an absolute path. A recovered song is
// saved back over its path without asking only when that path still names the song's own file;
// a relative path (left by an older version), a file gone or a file replaced since asks Save As.
// A save that a killed run left half written in place is put back at the next start. A copy
// that cannot be written is told in the status bar, once; locks dead programs left are removed.

#include "recovery_fixture.h"

#include "chords/save_journal.h"

#include <QCoreApplication>
#include <QDir>
#include <QStatusBar>

#include <sys/stat.h>
#include <unistd.h>

namespace fw::testing {
namespace {

// Runs in `folder` until it goes out of scope.
class WorkingFolder {
public:
    explicit WorkingFolder(const QString& folder) : m_before(QDir::currentPath()) {
        EXPECT_TRUE(QDir::setCurrent(folder));
    }
    ~WorkingFolder() { QDir::setCurrent(m_before); }

private:
    QString m_before;
};

TEST_F(Recovery, ARelativeSongPathIsKeptAbsolute) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("files")));
    const QString song = WriteFile(QStringLiteral("files/a.fwk"), "G, 0, 0, 0, 0, 0, Q\r\n");
    {
        WorkingFolder in(dir.path());
        Start({QStringLiteral("files/a.fwk")});
    }
    const QString absolute = QFileInfo(song).absoluteFilePath();
    EXPECT_EQ(main->currentSongPath(), absolute);
    EXPECT_EQ(main->settings().RecentFile[0], absolute);
    Type(QStringLiteral("C"));
    main->recovery().Tick();
    const std::optional<RecoveredSong> copy = ReadCopy(CopyPath());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->path, absolute);
    EXPECT_EQ(copy->identity, FileIdentity(absolute));
}

enum class Then { Relative, Missing, Replaced, CopiedOver, Same, OlderCopy };

struct PathCase {
    const char* name;
    Then then;
    bool savesWithoutAsking;
};

class RecoveredPath : public Recovery, public ::testing::WithParamInterface<PathCase> {};

TEST_P(RecoveredPath, IsSavedOverOnlyWhenItStillNamesTheSong) {
    const PathCase& c = GetParam();
    const QString songPath = dir.filePath(QStringLiteral("a.fwk"));
    const QByteArray original = "*Info 1:\r\n*Info 2:105\r\n*Info 3:55555\r\n*Info 4:120\r\nC\r\n";
    const std::string songText = SongFileText({"G D", "* verse"}, 20, 57675, 77);
    RecoveredSong recovered{songPath, songText, {}};
    if (c.then != Then::Missing)
        WriteFile(QStringLiteral("a.fwk"), original);
    if (c.then == Then::Same || c.then == Then::Replaced || c.then == Then::CopiedOver)
        recovered.identity = FileIdentity(songPath);
    if (c.then == Then::CopiedOver) {
        // "cp other.fwk a.fwk": the same inode, other bytes.
        QFile file(songPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(original + "D\r\n");
    }
    if (c.then == Then::Replaced) {
        // Another program saved a new file in its place (a new file renamed over it).
        WriteFile(QStringLiteral("new.fwk"), original);
        ASSERT_TRUE(QFile::remove(songPath));
        ASSERT_TRUE(QFile::rename(dir.filePath(QStringLiteral("new.fwk")), songPath));
        ASSERT_NE(FileIdentity(songPath), recovered.identity);
    }
    if (c.then == Then::Relative)
        recovered.path = QStringLiteral("a.fwk"); // started elsewhere: names an unrelated file
    PlaceCopy(QByteArray::fromStdString(RecoveryFileText(recovered)));

    WorkingFolder in(dir.path());
    dialogs.AnswerMessage(DialogAnswer::Yes);
    dialogs.AnswerSaveFile(std::nullopt); // the user cancels Save As, if asked
    Start();
    main->FormActivate();
    ASSERT_EQ(Text(), QStringLiteral("G D\n* verse"));
    main->Save1Click();

    bool asked = false;
    for (const DialogCall& call : dialogs.Log())
        asked = asked || call.kind == DialogKind::SaveFile;
    EXPECT_EQ(asked, !c.savesWithoutAsking);
    if (c.savesWithoutAsking) {
        EXPECT_EQ(ReadAll(songPath), QByteArray::fromStdString(songText));
        EXPECT_FALSE(main->document().Modified());
    } else {
        EXPECT_EQ(QFileInfo::exists(songPath), c.then != Then::Missing);
        if (c.then != Then::Missing) {
            EXPECT_EQ(ReadAll(songPath),
                      c.then == Then::CopiedOver ? original + "D\r\n" : original);
        }
        EXPECT_TRUE(main->document().Modified());
        // A second crash keeps the path unconfirmed.
        main->recovery().Tick();
        const std::optional<RecoveredSong> copy = ReadCopy(CopyPath());
        ASSERT_TRUE(copy);
        EXPECT_FALSE(RecoveredPathHoldsSong(*copy));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, RecoveredPath,
                         ::testing::Values(PathCase{"Relative", Then::Relative, false},
                                           PathCase{"Missing", Then::Missing, false},
                                           PathCase{"Replaced", Then::Replaced, false},
                                           PathCase{"CopiedOver", Then::CopiedOver, false},
                                           PathCase{"SameFile", Then::Same, true},
                                           PathCase{"OlderCopyOfAnExistingFile", Then::OlderCopy,
                                                    true}),
                         [](const auto& info) { return std::string(info.param.name); });

enum class After { Nothing, Rewritten, CopiedOver };

struct InterruptedCase {
    const char* name;
    After after;
    DialogAnswer answer; // to the question about a changed file
    bool putBack;
};

class InterruptedSaveAtStart : public Recovery,
                               public ::testing::WithParamInterface<InterruptedCase> {
protected:
    // Leaves `song` as a rewrite in place killed after `written` bytes of `fresh` went over `old`:
    // the backup copy and its note in the recovery folder, as a program no longer running left
    // them.
    static QString LeaveHalfWritten(const QString& song, const QByteArray& old,
                                    const QByteArray& fresh, int written) {
        const QString copy = Folder() + QStringLiteral("/%1.saving-%2-1")
                                            .arg(QFileInfo(song).fileName())
                                            .arg(FinishedProgramPid());
        PlaceCopy(old, copy);
        QFile file(song);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(fresh.left(written) + old.mid(written));
        file.close();
        struct stat info {};
        EXPECT_EQ(::stat(QFile::encodeName(song).constData(), &info), 0);
        save::SaveJournal journal;
        EXPECT_EQ(journal.Create((copy + QStringLiteral(".target")).toStdString(),
                                 song.toStdString(), info),
                  0);
        save::JournalRecord record = journal.record();
        record.stage = save::JournalStage::Rewriting;
        record.oldSize = static_cast<std::uint64_t>(old.size());
        record.written = static_cast<std::uint64_t>(written);
        record.hash.Add(fresh.constData(), static_cast<std::size_t>(written));
        EXPECT_EQ(journal.Update(record), 0);
        return copy;
    }
};

// The song named on the command line was being rewritten in place when its program was killed.
// It is put back before it is read, and only when nothing wrote to it since; a changed file is
// overwritten only when the user says so, and both versions are kept either way.
TEST_P(InterruptedSaveAtStart, IsPutBackBeforeTheSongIsReadOnlyWhenUnchanged) {
    const InterruptedCase& c = GetParam();
    const QByteArray old = "*Info 1:\r\n*Info 2:105\r\n*Info 3:55555\r\n*Info 4:120\r\nG\r\nC\r\n";
    const QByteArray fresh = "*Info 1:\r\n*Info 2:105\r\n*Info 3:55555\r\n*Info 4:120\r\nD7\r\n";
    const QByteArray theirs = "*Info 1:\r\n*Info 2:105\r\n*Info 3:55555\r\n*Info 4:120\r\nAm\r\n";
    const QString song = QFileInfo(WriteFile(QStringLiteral("reel.fwk"), old)).absoluteFilePath();
    const QString copy = LeaveHalfWritten(song, old, fresh, fresh.size() - 3);
    if (c.after == After::Rewritten) { // the same file, written again by another program
        QFile file(song);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(theirs);
    } else if (c.after == After::CopiedOver) { // another file put in its place
        WriteFile(QStringLiteral("other.fwk"), theirs);
        ASSERT_TRUE(QFile::remove(song));
        ASSERT_TRUE(QFile::copy(dir.filePath(QStringLiteral("other.fwk")), song));
    }
    dialogs.AnswerMessage(c.answer);
    Start({song});
    const QByteArray kept = c.after == After::Nothing ? fresh : theirs;
    EXPECT_EQ(ReadAll(song), c.putBack ? old : kept);
    // The editor holds what is on disk now, never the half-written text.
    EXPECT_EQ(Text(), SongDocument::EditorTextOf((c.putBack ? old : theirs).toStdString()));
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_FALSE(QFileInfo::exists(copy + QStringLiteral(".target")));
    if (c.after == After::Nothing) {
        EXPECT_EQ(Messages(), QStringList{QStringLiteral("Saving \"%1\" was interrupted. Its "
                                                         "content before that save has been "
                                                         "put back.")
                                              .arg(song)});
        return;
    }
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].startsWith(
        QStringLiteral("Saving \"%1\" was interrupted, and the file has changed since.")
            .arg(song)));
    // The version not in place is kept in the recovery folder.
    const QString keptPath = Folder() + (c.putBack ? QStringLiteral("/reel.fwk.changed-1")
                                                   : QStringLiteral("/reel.fwk.before-save-1"));
    EXPECT_EQ(ReadAll(keptPath), c.putBack ? theirs : old);
}

INSTANTIATE_TEST_SUITE_P(
    Table, InterruptedSaveAtStart,
    ::testing::Values(
        InterruptedCase{"Unchanged", After::Nothing, DialogAnswer::Yes, true},
        InterruptedCase{"RewrittenKept", After::Rewritten, DialogAnswer::No, false},
        InterruptedCase{"RewrittenPutBack", After::Rewritten, DialogAnswer::Yes, true},
        InterruptedCase{"CopiedOverKept", After::CopiedOver, DialogAnswer::No, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Recovery, ACopyThatCannotBeWrittenIsToldOnceInTheStatusBar) {
    // A file where the folder should be: no copy can be written (as when the disk is full).
    QDir().mkpath(QFileInfo(Folder()).path());
    WriteFile(QStringLiteral("x"), "x");
    ASSERT_TRUE(QFile::copy(dir.filePath(QStringLiteral("x")), Folder()));
    struct RemoveAtEnd {
        ~RemoveAtEnd() { QFile::remove(Folder()); }
    } removeAtEnd;
    Start();
    Type(QStringLiteral("G"));
    main->recovery().Tick();
    EXPECT_TRUE(main->statusBar()->currentMessage().startsWith(
        QStringLiteral("The unsaved song could not be copied for recovery: ")))
        << main->statusBar()->currentMessage().toStdString();
    main->statusBar()->clearMessage();
    Type(QStringLiteral("C"));
    main->recovery().Tick();
    EXPECT_EQ(main->statusBar()->currentMessage(), QString());
    main.reset();
}

TEST_F(Recovery, LocksLeftWithoutACopyByDeadProgramsAreRemoved) {
    ASSERT_TRUE(QDir().mkpath(Folder()));
    const QString dead = LeftOverPath(QStringLiteral("unsaved-1-dead.fwk"));
    const QString alive = LeftOverPath(QStringLiteral("unsaved-2-alive.fwk"));
    PlaceLockOf(FinishedProgramPid(), dead);
    PlaceLockOf(QCoreApplication::applicationPid(), alive); // a running owner
    Start();
    main->FormActivate();
    EXPECT_FALSE(QFileInfo::exists(RecoveryLockPath(dead)));
    EXPECT_TRUE(QFileInfo::exists(RecoveryLockPath(alive)));
    EXPECT_TRUE(Messages().isEmpty());
}

} // namespace
} // namespace fw::testing

#pragma once
// Recovery copies as crashed, running and finished programs leave them in the state folder, for
// the tests of the recovery copy and of the offer at start.

#include "main_window_fixture.h"

#include "app/song_recovery.h"
#include "chords/song_file.h"
#include "chords/text_file.h"

#include <QDateTime>
#include <QLockFile>
#include <QProcess>

#include <memory>

namespace fw::testing {

class Recovery : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        QDir(Folder()).removeRecursively();
    }
    void TearDown() override {
        main.reset(); // its clean exit removes its copy and lock before the folder goes
        QDir(Folder()).removeRecursively();
    }

    static QString Folder() { return DefaultRecoveryFolder(); }
    // A left-over copy's path; the default name is one an earlier run could have had.
    static QString LeftOverPath(const QString& name = QStringLiteral("unsaved-4242-0badc0de.fwk")) {
        return Folder() + QLatin1Char('/') + name;
    }
    // This run's own copy.
    QString CopyPath() const { return main->recovery().copyPath(); }

    // Writes a left-over copy; `age` in hours back sets its modification time.
    static void PlaceCopy(const QByteArray& bytes, const QString& path = LeftOverPath(),
                          int age = 0) {
        ASSERT_TRUE(QDir().mkpath(Folder()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
        if (age != 0) {
            ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-3600 * age),
                                         QFileDevice::FileModificationTime));
        }
    }
    // A copy as a crashed run leaves it: song text with patch 20, a user tuning and tempo 77.
    static QByteArray CrashedCopy(const QString& songPath,
                                  const std::vector<std::string>& lines = {"G D", "* verse", "C"}) {
        const std::string song = SongFileText(lines, 20, 57675, 77);
        return QByteArray::fromStdString(RecoveryFileText({songPath, song, {}}));
    }

    // The process id of a program that has finished, so no process has it now.
    static qint64 FinishedProgramPid() {
        QProcess shell;
        shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("echo $$")});
        EXPECT_TRUE(shell.waitForFinished(-1));
        return shell.readAllStandardOutput().trimmed().toLongLong();
    }
    // The lock a killed program with process id `pid` left beside `copyPath`: a real lock file's
    // bytes with that pid in the place of this program's.
    static void PlaceLockOf(qint64 pid, const QString& copyPath) {
        QTemporaryDir scratch;
        QLockFile real(scratch.filePath(QStringLiteral("real.lock")));
        ASSERT_TRUE(real.tryLock(0));
        QByteArray bytes = ReadAll(scratch.filePath(QStringLiteral("real.lock")));
        real.unlock();
        bytes = QByteArray::number(pid) + bytes.mid(bytes.indexOf('\n'));
        QFile file(RecoveryLockPath(copyPath));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        qint64 owner = 0;
        QString host;
        QString app;
        ASSERT_TRUE(QLockFile(RecoveryLockPath(copyPath)).getLockInfo(&owner, &host, &app));
        ASSERT_EQ(owner, pid);
    }

    // The names of the files in the recovery folder, sorted.
    static QStringList FolderFiles() {
        return QDir(Folder()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }
    // The names of a copy and of its lock, as FolderFiles() lists them.
    static QStringList CopyAndLock(const QString& path) {
        return {FileName(path), FileName(RecoveryLockPath(path))};
    }
    // The copy at `path` read back; nothing when it cannot be read or is damaged.
    static std::optional<RecoveredSong> ReadCopy(const QString& path) {
        std::string text;
        std::string error;
        if (!ReadTextFile(path.toStdString(), text, error))
            return std::nullopt;
        return ParseRecoveryFile(text);
    }
    // A recovery copy of its own as another program would keep it, written at once.
    static std::unique_ptr<SongRecovery> OtherProgram(const std::string& songText) {
        auto other = std::make_unique<SongRecovery>(
            Folder(),
            SongRecovery::Source{
                [] { return true; }, [] { return QStringLiteral("1"); },
                [songText] {
                    return RecoveredSong{QStringLiteral("/other.fwk"), songText, {}};
                }},
            DefaultRecoveryInterval);
        other->Tick();
        return other;
    }

    // The path of a claimed copy; empty when nothing was claimed.
    static QString ClaimedPath(const std::unique_ptr<ClaimedCopy>& claim) {
        return claim ? claim->path() : QString();
    }

    // Types at the end of the chord list, as the keyboard would.
    void Type(const QString& text) {
        main->ui().RichEdit1->moveCursor(QTextCursor::End);
        main->ui().RichEdit1->insertPlainText(text);
    }
    static QString Question(const QString& name) {
        return QStringLiteral("Fretwick closed unexpectedly. Recover the unsaved song '%1'?")
            .arg(name);
    }
    static QString FileName(const QString& path) { return QFileInfo(path).fileName(); }
};

} // namespace fw::testing

#include "recovery_copy.h"

#include "chords/text_file.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <sys/stat.h>

namespace fw {

namespace {
constexpr std::string_view Marker = "Fretwick recovery copy 1";

// The copies in `folder`, newest first; copies of the same age by name, so the order is the
// same at every start.
QFileInfoList CopiesNewestFirst(const QString& folder) {
    QFileInfoList copies = QDir(folder).entryInfoList({QStringLiteral("unsaved-*.fwk")},
                                                      QDir::Files | QDir::Hidden, QDir::Name);
    std::stable_sort(copies.begin(), copies.end(), [](const QFileInfo& a, const QFileInfo& b) {
        return a.lastModified() > b.lastModified();
    });
    return copies;
}
} // namespace

std::string RecoveryFileText(const RecoveredSong& song) {
    std::string text(Marker);
    text += '\n';
    text += song.path.toUtf8().toPercentEncoding().toStdString();
    if (!song.identity.isEmpty())
        text += ' ' + song.identity.toStdString();
    text += '\n';
    text += song.songText;
    return text;
}

std::optional<RecoveredSong> ParseRecoveryFile(const std::string& text) {
    const std::size_t markerEnd = text.find('\n');
    if (markerEnd == std::string::npos || std::string_view(text).substr(0, markerEnd) != Marker)
        return std::nullopt;
    const std::size_t pathEnd = text.find('\n', markerEnd + 1);
    if (pathEnd == std::string::npos)
        return std::nullopt;
    // A percent-encoded path holds no space: one there starts the identity.
    std::string pathLine = text.substr(markerEnd + 1, pathEnd - markerEnd - 1);
    RecoveredSong song;
    if (const std::size_t space = pathLine.find(' '); space != std::string::npos) {
        song.identity = QString::fromStdString(pathLine.substr(space + 1));
        pathLine.resize(space);
    }
    const QByteArray encoded = QByteArray::fromStdString(pathLine);
    song.path = QString::fromUtf8(QByteArray::fromPercentEncoding(encoded));
    song.songText = text.substr(pathEnd + 1);
    return song;
}

QString FileIdentity(const QString& path) {
    struct stat st {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0 ||
        !S_ISREG(st.st_mode))
        return {};
    // The device and inode alone miss a file copied over the song (same inode) or put in its
    // place (an inode reused at once): its size or modification time differs.
    return QStringLiteral("%1:%2:%3:%4.%5")
        .arg(static_cast<qulonglong>(st.st_dev))
        .arg(static_cast<qulonglong>(st.st_ino))
        .arg(static_cast<qlonglong>(st.st_size))
        .arg(static_cast<qlonglong>(st.st_mtim.tv_sec))
        .arg(static_cast<qlonglong>(st.st_mtim.tv_nsec), 9, 10, QLatin1Char('0'));
}

bool RecoveredPathHoldsSong(const RecoveredSong& song) {
    if (song.path.isEmpty() || QFileInfo(song.path).isRelative())
        return false;
    const QString now = FileIdentity(song.path);
    if (now.isEmpty())
        return false;
    return song.identity.isEmpty() || song.identity == now;
}

bool RemoveRecoveryFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    return QFile::remove(path);
}

QString RecoveryLockPath(const QString& copyPath) {
    return copyPath + QStringLiteral(".lock");
}

std::unique_ptr<QLockFile> MakeRecoveryLock(const QString& copyPath) {
    auto lock = std::make_unique<QLockFile>(RecoveryLockPath(copyPath));
    // The owner holds the lock for as long as it runs, which may be days: only a dead owner
    // makes it stale, never its age.
    lock->setStaleLockTime(0);
    return lock;
}

void RemoveStaleLocks(const QString& folder) {
    const QFileInfoList locks = QDir(folder).entryInfoList({QStringLiteral("unsaved-*.fwk.lock")},
                                                           QDir::Files | QDir::Hidden);
    for (const QFileInfo& info : locks) {
        const QString lockPath = info.absoluteFilePath();
        const QString copyPath = lockPath.chopped(5); // without ".lock"
        if (QFileInfo::exists(copyPath) || QFileInfo(copyPath).isSymLink())
            continue; // a copy's lock: claimed, or left alone, with its copy
        if (info.size() == 0) {
            if (info.lastModified().secsTo(QDateTime::currentDateTime()) > StaleEmptyLockAgeSeconds)
                QFile::remove(lockPath);
            continue;
        }
        // Taken only when its owner is dead; then let go, which removes it.
        std::unique_ptr<QLockFile> lock = MakeRecoveryLock(copyPath);
        if (lock->tryLock(0))
            lock->unlock();
    }
}

ClaimedCopy::ClaimedCopy(QString path, RecoveredSong song, std::unique_ptr<QLockFile> lock)
    : m_path(std::move(path)), m_song(std::move(song)), m_lock(std::move(lock)) {}

bool ClaimedCopy::Remove() {
    // The copy goes first: a lock without its copy is harmless, a copy without its lock would
    // be claimed by another program while this one still deletes it.
    if (!RemoveRecoveryFile(m_path))
        return false;
    m_lock->unlock();
    return true;
}

std::unique_ptr<ClaimedCopy> ClaimLeftOverCopy(const QString& folder, QSet<QString>& passedOver) {
    for (const QFileInfo& info : CopiesNewestFirst(folder)) {
        const QString path = info.absoluteFilePath();
        if (passedOver.contains(path))
            continue;
        std::unique_ptr<QLockFile> lock = MakeRecoveryLock(path);
        if (!lock->tryLock(0))
            continue; // its owner still runs, or the folder takes no lock: not ours to touch
        passedOver.insert(path);
        // Read only once claimed: until then a running owner may still be writing it.
        std::string text;
        std::string error;
        if (!ReadTextFile(path.toStdString(), text, error))
            continue;
        std::optional<RecoveredSong> song = ParseRecoveryFile(text);
        if (!song)
            continue;
        return std::make_unique<ClaimedCopy>(path, std::move(*song), std::move(lock));
    }
    return nullptr;
}

} // namespace fw

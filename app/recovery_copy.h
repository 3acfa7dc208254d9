#pragma once
// One recovery copy on disk: its bytes, its lock, and claiming a copy that a run which ended
// without saving or declining left behind.

#include <QLockFile>
#include <QSet>
#include <QString>

#include <memory>
#include <optional>
#include <string>

namespace fw {

// What a recovery copy holds: the song file's text (its info lines carry the patch, tuning and
// tempo), the path the song had (empty for an untitled song) and the identity of the file at
// that path when the song was read or saved (FileIdentity; empty when not known, as in copies
// of older versions, "-" when the path was never confirmed as the song's own).
struct RecoveredSong {
    QString path;
    std::string songText;
    QString identity;
};

// The identity of the file at `path` (its device, inode, size and modification time), so that
// a file replaced, copied over or removed since is told apart from the one the song was read
// from or saved to; empty when there is no such file. An identity recorded by an earlier
// version (device and inode only) never matches: such a song asks where to save.
QString FileIdentity(const QString& path);

// True when saving the recovered song over its path may go ahead without asking: the path is
// absolute and still names the very file the song came from (for an older copy without an
// identity, a regular file). A relative path, a missing file or another file there is not.
bool RecoveredPathHoldsSong(const RecoveredSong& song);

// The file's bytes: a marker line, the percent-encoded path on its own line (a Linux path may
// hold a line break) followed by a space and the identity when there is one, then the song
// file's text.
std::string RecoveryFileText(const RecoveredSong& song);
// Reads RecoveryFileText's output back; nothing when the marker or the path line is missing.
std::optional<RecoveredSong> ParseRecoveryFile(const std::string& text);

// Removes the file at `path` if there is one (a dangling link too); true when none is left.
bool RemoveRecoveryFile(const QString& path);
// The lock file beside a copy.
QString RecoveryLockPath(const QString& copyPath);
// A lock on a copy that only a dead owner makes stale, however long it has been held.
std::unique_ptr<QLockFile> MakeRecoveryLock(const QString& copyPath);

// Removes the locks in `folder` that have no copy beside them and whose owner no longer runs
// (a run killed before its first copy reached a full disk leaves one): a lock that names a dead
// process, or an empty one (its owner could not even write it) older than StaleEmptyLockAgeSeconds.
// A lock a running program holds is never touched.
void RemoveStaleLocks(const QString& folder);
inline constexpr int StaleEmptyLockAgeSeconds = 600;

// A left-over copy this run has claimed by taking its lock, so that no other program offers it
// at the same time. Dropping the claim without Remove() releases the lock and leaves the copy
// for the next start.
class ClaimedCopy {
public:
    ClaimedCopy(QString path, RecoveredSong song, std::unique_ptr<QLockFile> lock);
    const QString& path() const { return m_path; }
    const RecoveredSong& song() const { return m_song; }
    // Removes the copy, then its lock. False, with the claim kept, when the copy is still there.
    bool Remove();

private:
    QString m_path;
    RecoveredSong m_song;
    std::unique_ptr<QLockFile> m_lock;
};

// Claims the newest copy in `folder` (by modification time, named unsaved-*.fwk) that is not in
// `passedOver` and whose lock can be taken: its owner is no longer running, or it has no lock.
// A copy whose owner still runs is neither read nor touched. A damaged or unreadable copy is
// added to `passedOver` and left on disk with its lock released. Every copy claimed is added to
// `passedOver` too, so a copy is claimed at most once per run. Nothing when no copy is left.
std::unique_ptr<ClaimedCopy> ClaimLeftOverCopy(const QString& folder, QSet<QString>& passedOver);

} // namespace fw

#pragma once
// A recovery copy of the song being edited, so that a song typed and never saved survives a
// crash or a killed process. While the song has unsaved changes a timer writes its text (with
// its path, patch, tuning and tempo) to this run's own file in the state folder, once the song
// has been still for a short while after a change (2 seconds), or 30 seconds after the first
// change not yet copied while the typing goes on; a song whose copy passed 1 MB, or a copy that
// could not be written, waits 30 seconds between writes. The typing path never touches the
// disk. Saving, New and a clean exit remove this run's copy and nothing else.
//
// Several programs may run at once and share the folder: each writes its own copy
// (unsaved-<pid>-<random>.fwk) and holds a lock file beside it (<copy>.lock) for as long as the
// copy exists. A copy whose lock can be taken, because its owner is no longer running or it has
// no lock at all, was left by a run that ended without saving or declining: a left-over copy.

#include "recovery_copy.h"

#include <QLockFile>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace fw {

// How long the song stays still after a change before it is copied.
inline constexpr std::chrono::milliseconds DefaultRecoveryInterval{2000};
// The longest a change waits while the typing goes on, and the least time between two copies of
// a big song (or after a copy that failed).
inline constexpr std::chrono::milliseconds RecoveryMaxWait{30000};
// A copy larger than this is a big song's.
inline constexpr qint64 RecoveryBigSongBytes = 1024 * 1024;

// $XDG_STATE_HOME/Fretwick/recovery, or ~/.local/state/Fretwick/recovery when XDG_STATE_HOME is
// unset or not absolute.
QString DefaultRecoveryFolder();

class SongRecovery : public QObject {
    Q_OBJECT
public:
    struct Source {
        std::function<bool()> modified; // the song has unsaved changes
        std::function<QString()> stamp; // differs whenever the song or its settings changed
        std::function<RecoveredSong()> song;
    };

    using Clock = std::chrono::steady_clock;

    // Picks this run's copy name and starts the timer at once; `folder` is made and the lock
    // taken at the first write. `interval` is how long the song stays still after a change
    // before it is copied.
    SongRecovery(QString folder, Source source, std::chrono::milliseconds interval,
                 QObject* parent = nullptr);

    // This run's copy, unique to it among the programs running now and the copies left over.
    QString copyPath() const;
    std::chrono::milliseconds interval() const { return m_quiet; }
    // The time Poll goes by; tests set their own.
    std::function<Clock::time_point()> Now = [] { return Clock::now(); };

    // One step of the timer: notes a change it has not seen, and writes the copy (as Tick) once
    // the song has been still for the interval, or RecoveryMaxWait after the first change not yet
    // copied; a big song's copy and a copy after a failure wait RecoveryMaxWait after the last
    // attempt.
    void Poll();

    // One timer step: writes the copy when the song is modified and changed since the last
    // copy. The lock is taken before the first copy is written; a copy whose lock cannot be
    // taken is not written. A copy that cannot be written is reported on stderr and by
    // copyFailed once per failure streak (the user is typing; a box every 30 seconds would not
    // help) and tried again at the next step.
    void Tick();
    // Removes this run's copy, then its lock (after a save, New, or a clean exit), and an adopted
    // copy still waiting for this run's first one. Never touches another program's copy. True
    // when none of these copies is left.
    bool Discard();

    // Claims the newest left-over copy not yet claimed in this run, skipping damaged copies
    // (left on disk, unclaimed) and copies whose owner still runs (never read nor touched).
    // Nothing when no such copy is left. The first call also removes the locks that programs
    // no longer running left without a copy (RemoveStaleLocks).
    std::unique_ptr<ClaimedCopy> ClaimLeftOver();
    // The recovered song is now this run's modified document: writes this run's copy at once
    // and only then removes the claimed one. When this run's copy cannot be written the claimed
    // copy is kept, its lock held, until this run's copy is written or discarded.
    void Adopt(std::unique_ptr<ClaimedCopy> copy);

signals:
    // The copy could not be written (a full disk, a folder that cannot be made); `reason` is
    // a sentence. Once per failure streak.
    void copyFailed(const QString& reason);

private:
    bool WriteCopy(const QString& stamp);
    bool RemoveAdopted();

    QString m_folder;
    QString m_copyName;
    Source m_source;
    QTimer m_timer;
    std::unique_ptr<QLockFile> m_lock;
    QString m_lastStamp;
    bool m_reportedFailure = false;
    bool m_sweptLocks = false;
    // What Poll saw: the stamp, when it last changed, when the first change not yet copied was
    // seen, and when a copy was last tried (with its size and outcome).
    std::chrono::milliseconds m_quiet;
    QString m_seenStamp;
    Clock::time_point m_changedAt;
    Clock::time_point m_firstChangeAt;
    Clock::time_point m_triedAt;
    bool m_waitAfterTry = false;
    qint64 m_copyBytes = 0;
    std::unique_ptr<ClaimedCopy> m_adopted;
    QSet<QString> m_passedOver; // left-over copies claimed or skipped in this run
};

} // namespace fw

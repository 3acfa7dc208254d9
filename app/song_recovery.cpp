#include "song_recovery.h"

#include "chords/text_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

namespace fw {

namespace {
// The process id keeps the names of the programs running now apart; the random part keeps this
// run's copy from landing on a copy left by an earlier run that had the same process id.
QString NewCopyName() {
    return QStringLiteral("unsaved-%1-%2.fwk")
        .arg(QCoreApplication::applicationPid())
        .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}
} // namespace

QString DefaultRecoveryFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/Fretwick/recovery");
}

SongRecovery::SongRecovery(QString folder, Source source, std::chrono::milliseconds interval,
                           QObject* parent)
    : QObject(parent), m_folder(std::move(folder)), m_copyName(NewCopyName()),
      m_source(std::move(source)), m_lock(MakeRecoveryLock(copyPath())), m_quiet(interval) {
    m_passedOver.insert(QFileInfo(copyPath()).absoluteFilePath());
    // A look at the document's stamp costs next to nothing: looking often keeps the copy close
    // behind the interval.
    m_timer.setInterval(std::min(interval / 4, std::chrono::milliseconds(500)));
    connect(&m_timer, &QTimer::timeout, this, [this] { Poll(); });
    m_timer.start();
}

QString SongRecovery::copyPath() const {
    return m_folder + QLatin1Char('/') + m_copyName;
}

void SongRecovery::Tick() {
    if (!m_source.modified())
        return;
    const QString stamp = m_source.stamp();
    if (stamp != m_lastStamp)
        WriteCopy(stamp);
}

void SongRecovery::Poll() {
    if (!m_source.modified())
        return;
    const QString stamp = m_source.stamp();
    if (stamp == m_lastStamp)
        return;
    const Clock::time_point now = Now();
    if (stamp != m_seenStamp) {
        if (m_seenStamp == m_lastStamp || m_seenStamp.isEmpty())
            m_firstChangeAt = now;
        m_seenStamp = stamp;
        m_changedAt = now;
    }
    if (now - m_changedAt < m_quiet && now - m_firstChangeAt < RecoveryMaxWait)
        return;
    if ((m_waitAfterTry || m_copyBytes > RecoveryBigSongBytes) && now - m_triedAt < RecoveryMaxWait)
        return;
    m_triedAt = now;
    m_waitAfterTry = !WriteCopy(stamp);
}

bool SongRecovery::WriteCopy(const QString& stamp) {
    std::string error;
    if (!QDir().mkpath(m_folder)) {
        error = "Cannot make the folder " + m_folder.toStdString();
    } else if (!m_lock->isLocked() && !m_lock->tryLock(0)) {
        // Without its lock the copy would look left over to every other program.
        error = "Cannot lock " + RecoveryLockPath(copyPath()).toStdString();
    } else {
        const std::string text = RecoveryFileText(m_source.song());
        m_copyBytes = static_cast<qint64>(text.size());
        if (WriteFileAtomically(copyPath().toStdString(), text, error)) {
            m_lastStamp = stamp;
            m_reportedFailure = false;
            RemoveAdopted();
            return true;
        }
    }
    if (!m_reportedFailure) {
        qWarning("The recovery copy was not written: %s", error.c_str());
        emit copyFailed(QString::fromStdString(error));
    }
    m_reportedFailure = true;
    return false;
}

bool SongRecovery::RemoveAdopted() {
    if (m_adopted && m_adopted->Remove())
        m_adopted.reset();
    return !m_adopted;
}

bool SongRecovery::Discard() {
    // The next change after this is copied again, even when it restores an earlier stamp.
    m_lastStamp.clear();
    m_seenStamp.clear();
    const bool adoptedGone = RemoveAdopted();
    // The lock is kept while the copy is still there, so no other program takes it for a
    // left-over copy while this one runs.
    if (!RemoveRecoveryFile(copyPath()))
        return false;
    m_lock->unlock();
    return adoptedGone;
}

std::unique_ptr<ClaimedCopy> SongRecovery::ClaimLeftOver() {
    if (!m_sweptLocks) {
        m_sweptLocks = true;
        RemoveStaleLocks(m_folder);
    }
    return ClaimLeftOverCopy(m_folder, m_passedOver);
}

void SongRecovery::Adopt(std::unique_ptr<ClaimedCopy> copy) {
    m_adopted = std::move(copy);
    WriteCopy(m_source.stamp());
}

} // namespace fw

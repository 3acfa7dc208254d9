#include "song_recovery.h"

#include "chords/text_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

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
      m_source(std::move(source)), m_lock(MakeRecoveryLock(copyPath())) {
    m_passedOver.insert(QFileInfo(copyPath()).absoluteFilePath());
    m_timer.setInterval(interval);
    connect(&m_timer, &QTimer::timeout, this, [this] { Tick(); });
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

bool SongRecovery::WriteCopy(const QString& stamp) {
    std::string error;
    if (!QDir().mkpath(m_folder)) {
        error = "Cannot make the folder " + m_folder.toStdString();
    } else if (!m_lock->isLocked() && !m_lock->tryLock(0)) {
        // Without its lock the copy would look left over to every other program.
        error = "Cannot lock " + RecoveryLockPath(copyPath()).toStdString();
    } else if (WriteFileAtomically(copyPath().toStdString(), RecoveryFileText(m_source.song()),
                                   error)) {
        m_lastStamp = stamp;
        m_reportedFailure = false;
        RemoveAdopted();
        return true;
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

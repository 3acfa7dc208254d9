#include "song_recovery.h"

#include "chords/text_file.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace fw {

namespace {
constexpr std::string_view Marker = "Fretwick recovery copy 1";
const QString CopyName = QStringLiteral("unsaved-song.fwk");
} // namespace

std::string RecoveryFileText(const RecoveredSong& song) {
    std::string text(Marker);
    text += '\n';
    text += song.path.toUtf8().toPercentEncoding().toStdString();
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
    const QByteArray encoded =
        QByteArray::fromStdString(text.substr(markerEnd + 1, pathEnd - markerEnd - 1));
    RecoveredSong song;
    song.path = QString::fromUtf8(QByteArray::fromPercentEncoding(encoded));
    song.songText = text.substr(pathEnd + 1);
    return song;
}

QString DefaultRecoveryFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/Fretwick/recovery");
}

SongRecovery::SongRecovery(QString folder, Source source, std::chrono::milliseconds interval,
                           QObject* parent)
    : QObject(parent), m_folder(std::move(folder)), m_source(std::move(source)) {
    m_timer.setInterval(interval);
    connect(&m_timer, &QTimer::timeout, this, [this] { Tick(); });
    m_timer.start();
}

QString SongRecovery::copyPath() const {
    return m_folder + QLatin1Char('/') + CopyName;
}

void SongRecovery::Tick() {
    if (!m_source.modified())
        return;
    const QString stamp = m_source.stamp();
    if (stamp == m_lastStamp)
        return;
    std::string error;
    if (!QDir().mkpath(m_folder)) {
        error = "Cannot make the folder " + m_folder.toStdString();
    } else if (WriteFileAtomically(copyPath().toStdString(), RecoveryFileText(m_source.song()),
                                   error)) {
        m_lastStamp = stamp;
        m_reportedFailure = false;
        return;
    }
    if (!m_reportedFailure)
        qWarning("The recovery copy was not written: %s", error.c_str());
    m_reportedFailure = true;
}

bool SongRecovery::Discard() {
    // The next change after this is copied again, even when it restores an earlier stamp.
    m_lastStamp.clear();
    const QFileInfo info(copyPath());
    if (!info.exists() && !info.isSymLink())
        return true;
    return QFile::remove(copyPath());
}

std::optional<RecoveredSong> SongRecovery::LeftOver() const {
    std::string text;
    std::string error;
    if (!QFileInfo::exists(copyPath()) || !ReadTextFile(copyPath().toStdString(), text, error))
        return std::nullopt;
    return ParseRecoveryFile(text);
}

} // namespace fw

#include "recording_file_player.h"

namespace fw {

void RecordingFilePlayer::Prepare() {
    log_ << QStringLiteral("Prepare");
}

void RecordingFilePlayer::Release() {
    log_ << QStringLiteral("Release");
    Close();
}

QString RecordingFilePlayer::Open(const QString& path) {
    log_ << (path.isEmpty() ? QStringLiteral("Open") : QStringLiteral("Open ") + path);
    if (!deviceProblem.isEmpty())
        return deviceProblem;
    if (const auto error = openErrors.constFind(path); error != openErrors.constEnd())
        return *error;
    open_ = true;
    file_ = path;
    mode_ = PlayerMode::Stopped;
    positionMs = 0;
    return {};
}

void RecordingFilePlayer::Close() {
    if (!open_)
        return;
    log_ << QStringLiteral("Close");
    open_ = false;
    file_.clear();
    mode_ = PlayerMode::Stopped;
}

void RecordingFilePlayer::Play() {
    log_ << QStringLiteral("Play");
    if (!Playable())
        return;
    if (positionMs >= lengthMs && mode_ == PlayerMode::Stopped)
        positionMs = 0; // played to the end before: from the start
    mode_ = PlayerMode::Playing;
}

void RecordingFilePlayer::Stop() {
    log_ << QStringLiteral("Stop");
    if (Playable())
        mode_ = PlayerMode::Stopped;
}

void RecordingFilePlayer::Pause() {
    log_ << QStringLiteral("Pause");
    if (Playable() && mode_ == PlayerMode::Playing)
        mode_ = PlayerMode::Paused;
}

bool RecordingFilePlayer::Resume() {
    log_ << QStringLiteral("Resume");
    if (!Playable() || mode_ != PlayerMode::Paused || !resumeWorks)
        return false;
    mode_ = PlayerMode::Playing;
    return true;
}

void RecordingFilePlayer::SeekToStart() {
    log_ << QStringLiteral("SeekToStart");
    if (!Playable())
        return;
    mode_ = PlayerMode::Stopped;
    positionMs = 0;
}

void RecordingFilePlayer::FinishPlaying() {
    mode_ = PlayerMode::Stopped;
    positionMs = lengthMs;
}

PlayerPosition RecordingFilePlayer::Position() {
    if (!Playable())
        return {};
    return {positionMs, lengthMs};
}

} // namespace fw

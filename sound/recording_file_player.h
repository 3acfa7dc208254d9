#pragma once
// A MIDI file player that plays nothing and records every order it gets, for the tests of the
// player window. It keeps a mode and a position as a real player would, and its answers
// (readiness, failures to open, resume) are set by the test.

#include "midi_file_player.h"

#include <QMap>
#include <QString>
#include <QStringList>

namespace fw {

class RecordingFilePlayer : public MidiFilePlayer {
public:
    // Orders received, in order: "Prepare", "Release", "Open <path>" ("Open" without a file),
    // "Close", "Play", "Stop", "Pause", "Resume", "SeekToStart".
    const QStringList& Log() const { return log_; }
    void ClearLog() { log_.clear(); }

    // Whether Prepare has finished; true from the start unless a test says otherwise.
    bool ready = true;
    // Open of these paths fails with the text given; the empty path is the device alone.
    QMap<QString, QString> openErrors;
    // The device cannot open at all: every Open fails with this text, and DeviceProblem
    // says it once the device is ready.
    QString deviceProblem;
    // Whether Resume succeeds when paused.
    bool resumeWorks = true;
    // The length reported for a loaded file, and the position a test moves playback to.
    long long lengthMs = 0;
    long long positionMs = 0;
    // Playback reaches the end of the file: the mode becomes Stopped at the end position.
    void FinishPlaying();

    QString LoadedFile() const { return file_; }

    void Prepare() override;
    bool IsReady() override { return ready; }
    QString DeviceProblem() override { return ready ? deviceProblem : QString(); }
    void Release() override;
    QString Open(const QString& path) override;
    void Close() override;
    bool IsOpen() const override { return open_; }
    void Play() override;
    void Stop() override;
    void Pause() override;
    bool Resume() override;
    void SeekToStart() override;
    PlayerMode Mode() override { return mode_; }
    PlayerPosition Position() override;

private:
    bool Playable() const { return open_ && !file_.isEmpty(); }

    QStringList log_;
    bool open_ = false;
    QString file_;
    PlayerMode mode_ = PlayerMode::Stopped;
};

} // namespace fw

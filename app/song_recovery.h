#pragma once
// A recovery copy of the song being edited, so that a song typed and never saved survives a
// crash or a killed process. While the song has unsaved changes a timer writes its text (with
// its path, patch, tuning and tempo) to one file in the state folder, at most once per interval
// and only when something changed since the last copy; the typing path never touches the disk.
// Saving, New and a clean exit remove the copy, so a copy found at start-up was left by a run
// that ended without either.

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace fw {

inline constexpr std::chrono::milliseconds DefaultRecoveryInterval{30000};

// What a recovery copy holds: the song file's text (its info lines carry the patch, tuning and
// tempo) and the path the song had, empty for an untitled song.
struct RecoveredSong {
    QString path;
    std::string songText;
};

// The file's bytes: a marker line, the percent-encoded path on its own line (a Linux path may
// hold a line break), then the song file's text.
std::string RecoveryFileText(const RecoveredSong& song);
// Reads RecoveryFileText's output back; nothing when the marker or the path line is missing.
std::optional<RecoveredSong> ParseRecoveryFile(const std::string& text);

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

    // Starts the timer at once; `folder` is made at the first write.
    SongRecovery(QString folder, Source source, std::chrono::milliseconds interval,
                 QObject* parent = nullptr);

    QString copyPath() const;
    std::chrono::milliseconds interval() const { return m_timer.intervalAsDuration(); }

    // One timer step: writes the copy when the song is modified and changed since the last
    // copy. A copy that cannot be written is reported on stderr once per failure streak (the
    // user is typing; a box every 30 seconds would not help) and tried again at the next step.
    void Tick();
    // Removes the copy (after a save, New, or a clean exit). True when no copy is left.
    bool Discard();
    // The copy a previous run left, when there is a readable, undamaged one.
    std::optional<RecoveredSong> LeftOver() const;

private:
    QString m_folder;
    Source m_source;
    QTimer m_timer;
    QString m_lastStamp;
    bool m_reportedFailure = false;
};

} // namespace fw

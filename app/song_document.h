#pragma once
// The song being edited: its text, the file it came from, whether it has unsaved changes, its
// patch, tuning and tempo, reading and atomic saving, and the recovery copy that keeps an
// unsaved song safe from a crash. No widget: the main window shows the text in its editor and
// keeps its controls in step through the signals.

#include "song_recovery.h"

#include <QObject>
#include <QString>

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

class QTextDocument;

namespace fw {

class SongDocument : public QObject {
    Q_OBJECT
public:
    // `patch` is where the song's patch lives: the program's patch setting, which the settings
    // dialog changes too and which is remembered for the next run.
    explicit SongDocument(std::uint8_t& patch, QObject* parent = nullptr);

    // The chord list, one line per block; every edit of it marks the song modified.
    QTextDocument* textDocument() const { return m_text; }

    QString path() const { return m_path; }
    QString fileName() const; // the path's file name, empty for an untitled song
    // The song is now the file at `path` (just read or saved), kept as an absolute path so that
    // a later change of the working folder never points it elsewhere; empty for untitled.
    void setPath(const QString& path);
    // The file name of the path, "Untitled" for a song never saved.
    QString displayName() const;
    // A recovered song's former path, when it no longer names the song's own file (relative,
    // gone or replaced): shown and offered by Save As, but never saved over without asking.
    void setUnconfirmedPath(const QString& path);
    // False while the path is one set by setUnconfirmedPath: Save has to ask where to save.
    bool pathConfirmed() const { return m_pathConfirmed; }

    bool Modified() const { return m_modified; }
    void setModified(bool modified);

    std::uint8_t Patch() const { return m_patch; }
    void setPatch(std::uint8_t patch) { m_patch = patch; }

    // The tuning code (five digits, one per string) and each string's sounding offset from the
    // reference tuning: the tuning's shift plus the capo. A code of fewer than five digits or
    // a negative one is read as the reference.
    int Tuning() const { return m_tuning; }
    const std::array<int, 6>& TuningOffset() const;
    void setTuning(int code);

    // The capo of the song's "* Capo: N" line (the first one; 0 without one or when it is
    // malformed), read again after every change of the text.
    int Capo() const;
    // Writes the capo into the text: updates the first capo line, or inserts "* Capo: N" as
    // the first line; capo 0 without a capo line changes nothing. `capo` is 0..MaxCapo.
    void setCapo(int capo);

    int tempo() const { return m_tempo; }
    void setTempo(int tempo) { m_tempo = tempo; }

    // Reads a song file's text; false, with the reason in `error`, when it cannot be read.
    static bool ReadFile(const QString& path, std::string& text, QString& error);
    // The editor's text of a decoded song text: its lines after a complete header, joined by LF.
    static QString EditorTextOf(std::string_view songText);
    // The song file's text for the current lines, patch, tuning and tempo.
    std::string SongText() const;
    // Writes the song atomically; on success the song takes `path`, is no longer modified and
    // its recovery copy is removed. False, with the reason in `error`, when it could not be
    // written (the file on disk is then as it was).
    bool SaveTo(const QString& path, QString& error);

    // Starts keeping the recovery copy in `folder` (empty: DefaultRecoveryFolder()), which also
    // becomes the folder of the backup copies of saves rewritten in place (SetSaveBackupFolder).
    void StartRecovery(const QString& folder, std::chrono::milliseconds interval);
    // The recovery copy's keeper; only after StartRecovery.
    SongRecovery& recovery() { return *m_recovery; }

signals:
    void pathChanged(const QString& path);
    void modifiedChanged(bool modified);
    // The song's capo changed (its line was typed, edited or removed, or a song was loaded).
    void capoChanged(int capo);

private:
    QTextDocument* m_text;
    QString m_path;
    QString m_identity; // FileIdentity of the path when it was set
    bool m_pathConfirmed = true;
    bool m_modified = false;
    std::uint8_t& m_patch;
    void RefreshCapo() const;
    void AnnounceCapo();

    int m_tuning = 55555;
    mutable std::array<int, 6> m_tuningOffset{};
    mutable int m_capo = 0;
    mutable bool m_capoStale = false; // the text changed since the capo was read
    int m_announcedCapo = 0;
    int m_tempo = 120;
    SongRecovery* m_recovery = nullptr;
};

} // namespace fw

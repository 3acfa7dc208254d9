#pragma once
// The Special menu's file exports of the chord list: a MIDI file, a MusicXML score with banjo
// tablature and a WAV file rendered through the built-in synthesizer. Each checks the list first
// (errors and a list without chords are refused with the command's own text), asks where to save,
// named after the song, writes atomically, reports a failed write, and keeps the chosen folder as
// LastDir after a successful one.

#include <QString>

#include <optional>

namespace fw {

class DialogService;
class LineEditor;
class PlaySession;
class SongDocument;
struct Settings;

class SongExports {
public:
    SongExports(PlaySession& play, SongDocument& document, const LineEditor& lines,
                DialogService& dialogs, Settings& settings);

    void SaveAsMidiFile();
    void SaveAsMusicXmlFile();
    // The chords as the --export-wav tool renders them: the song's patch, tuning and tempo.
    void SaveAsWavFile();

private:
    bool ReadyToExport(const QString& fixErrorsMessage, const QString& noChordsMessage);
    std::optional<QString> AskExportPath(const QString& title, const QString& extension,
                                         const QString& filter, const QString& defaultSuffix);
    void RememberLastDir(const QString& chosenFile);
    void ShowError(const QString& text);

    PlaySession& m_play;
    SongDocument& m_document;
    const LineEditor& m_lines;
    DialogService& m_dialogs;
    Settings& m_settings;
};

} // namespace fw

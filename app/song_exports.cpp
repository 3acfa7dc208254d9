#include "song_exports.h"
#include "play_session.h"
#include "song_document.h"
#include "ui/qt_text.h"

#include "app/shell/file_dialog_start.h"
#include "app/shell/settings.h"
#include "editor/line_editor.h"
#include "export/midi_file_writer.h"
#include "export/musicxml_writer.h"
#include "sound/wav_render.h"
#include "ui/dialog_service.h"
#include "ui/wait_cursor.h"

#include <QDir>
#include <QFileInfo>

#include <string>
#include <vector>

namespace fw {

SongExports::SongExports(PlaySession& play, SongDocument& document, const LineEditor& lines,
                         DialogService& dialogs, Settings& settings)
    : m_play(play), m_document(document), m_lines(lines), m_dialogs(dialogs), m_settings(settings) {
}

void SongExports::ShowError(const QString& text) {
    m_dialogs.Message(text, MessageIcon::Error, MessageButtons::Ok);
}

bool SongExports::ReadyToExport(const QString& fixErrorsMessage, const QString& noChordsMessage) {
    if (!m_play.BuildChordList(fixErrorsMessage, true))
        return false;
    if (!m_play.HasChordLine(0, static_cast<int>(m_play.EntryList.size()) - 1)) {
        ShowError(noChordsMessage);
        return false;
    }
    return true;
}

void SongExports::RememberLastDir(const QString& chosenFile) {
    m_settings.LastDir =
        QDir::toNativeSeparators(QFileInfo(chosenFile).absolutePath() + QLatin1Char('/'));
}

std::optional<QString> SongExports::AskExportPath(const QString& title, const QString& extension,
                                                  const QString& filter,
                                                  const QString& defaultSuffix) {
    FileDialogRequest request;
    request.title = title;
    // The song's folder (else the last one, else home) and the song's name, "Untitled" for a
    // new song, with a lower-case extension: a bare ".mid" would be saved as a hidden file.
    request.directory = DialogStartFolder(m_document.path(), m_settings.LastDir);
    request.fileName = SuggestedFileName(m_document.path(), extension);
    request.filter = filter;
    request.defaultSuffix = defaultSuffix;
    request.confirmOverwrite = true;
    return m_dialogs.SaveFile(request);
}

void SongExports::SaveAsMidiFile() {
    if (!ReadyToExport(QStringLiteral("Fix errors before creating a midi file."),
                       QStringLiteral("Can't create midi file. No chords defined in editor.")))
        return;
    m_play.FillDurationTicks(MidiWholeNoteTicks);

    const std::optional<QString> chosen =
        AskExportPath(QStringLiteral("Save As Midi"), QStringLiteral(".MID"),
                      QStringLiteral("Midi files (*.mid);;All Files (*)"), QStringLiteral("mid"));
    if (!chosen)
        return;
    std::string error;
    if (!WriteMidiFile(ToStd(*chosen), m_play.EntryList, m_document.tempo(), m_document.Patch(),
                       m_document.TuningOffset(), error,
                       m_settings.HammerOnsRing ? HammerOnSound::Ring : HammerOnSound::Quick)) {
        ShowError(FromStd(error));
        return;
    }
    RememberLastDir(*chosen);
}

void SongExports::SaveAsMusicXmlFile() {
    if (!ReadyToExport(QStringLiteral("Fix errors before creating a musicxml file."),
                       QStringLiteral("Can't create musicxml file. No chords defined in editor.")))
        return;

    const std::optional<QString> chosen = AskExportPath(
        QStringLiteral("Save As MusicXML"), QStringLiteral(".musicxml"),
        QStringLiteral("MusicXML files (*.musicxml);;All Files (*)"), QStringLiteral("musicxml"));
    if (!chosen)
        return;

    // The song as it stands now: the dialog cannot change the editor, the tempo or the tuning.
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(m_lines.lineCount()));
    for (int i = 0; i < m_lines.lineCount(); ++i)
        lines.push_back(ToStd(m_lines.lineText(i)));
    MusicXmlSong song;
    song.entries = m_play.EntryList;
    song.tempo = m_document.tempo();
    song.patch = m_document.Patch();
    song.tuningOffsets = m_document.TuningOffset();
    song.capo = m_document.Capo();
    SetTitlesFromLines(song, lines, ToStd(m_document.path()));

    std::string error;
    if (!WriteMusicXmlFile(ToStd(*chosen), song, error)) {
        ShowError(FromStd(error));
        return;
    }
    RememberLastDir(*chosen);
}

void SongExports::SaveAsWavFile() {
    if (!ReadyToExport(QStringLiteral("Fix errors before creating a wav file."),
                       QStringLiteral("Can't create wav file. No chords defined in editor.")))
        return;
    const std::optional<QString> chosen =
        AskExportPath(QStringLiteral("Save As WAV"), QStringLiteral(".wav"),
                      QStringLiteral("WAV files (*.wav);;All Files (*)"), QStringLiteral("wav"));
    if (!chosen)
        return;

    // Only the chords sound; comments and blank lines take no time.
    std::vector<ChordEntry> chords;
    for (const ChordEntry& entry : m_play.EntryList)
        if (KindOf(entry) == LineKind::Chord)
            chords.push_back(entry);
    RenderSettings settings;
    settings.Patch = m_document.Patch();
    settings.TuningOffset = m_document.TuningOffset();
    settings.Tempo = m_document.tempo();
    std::string error;
    {
        WaitCursor busy;
        error = WriteChordsWavFile(ToStd(*chosen), chords, settings);
    }
    if (!error.empty()) {
        ShowError(FromStd(error));
        return;
    }
    RememberLastDir(*chosen);
}

} // namespace fw

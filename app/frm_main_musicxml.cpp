// Special > MusicXML File: the chord list as a score with banjo tablature.

#include "frm_main.h"
#include "qt_text.h"

#include "app/shell/settings.h"
#include "export/musicxml_writer.h"

#include <string>
#include <vector>

namespace fw {

void TfrmMain::SaveAsMusicXmlFile1Click() {
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
    song.entries = EntryList;
    song.tempo = tempo();
    song.patch = settings().Patch;
    song.tuningOffsets = TuningOffset;
    SetTitlesFromLines(song, lines, ToStd(m_songPath));

    std::string error;
    if (!WriteMusicXmlFile(ToStd(*chosen), song, error)) {
        showError(FromStd(error));
        return;
    }
    RememberLastDir(*chosen);
}

} // namespace fw

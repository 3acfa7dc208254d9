#include "song_for_export.h"

#include "chords/chord_parser.h"
#include "chords/song_check.h"
#include "chords/song_file.h"
#include "chords/text_file.h"
#include "chords/tuning.h"

namespace fw {

bool ReadSongForExport(const std::string& path, SongForExport& song, std::string& error) {
    std::string text;
    if (!ReadTextFile(path, text, error))
        return false;
    const std::vector<std::string> fileLines = SplitLines(text);
    const SongHeader header = ReadSongHeader(fileLines);
    song.patch = header.patch;
    song.tuning = RepairedTuningCode(header.tuning);
    song.tuningOffsets = TuningOffsets(song.tuning);
    song.tempo = header.tempo;

    song.entries.clear();
    song.lines.clear();
    song.errors = CheckSongText(text);
    if (!song.errors.empty())
        return true;
    song.lines = SongEditorLines(fileLines, header);
    const std::vector<std::string>& lines = song.lines;
    for (std::size_t i = 0; i <= lines.size(); ++i) {
        const std::string_view line = i < lines.size() ? std::string_view(lines[i]) : "";
        song.entries.push_back(ParseChordText(line, static_cast<int>(i)).entry);
    }
    return true;
}

} // namespace fw

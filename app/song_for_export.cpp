#include "song_for_export.h"

#include "chords/chord_parser.h"
#include "chords/song_check.h"
#include "chords/text_file.h"
#include "chords/tuning.h"

namespace fw {

bool ReadSongForExport(const std::string& path, SongForExport& song, std::string& error) {
    std::string text;
    if (!ReadTextFile(path, text, error))
        return false;
    const SongHeader header = ReadSongHeaderOfText(text);
    song.patch = header.patch;
    song.tuning = RepairedTuningCode(header.tuning);
    song.tuningOffsets = TuningOffsets(song.tuning);
    song.tempo = header.tempo;

    song.entries.clear();
    song.lines.clear();
    song.errors = CheckSongText(text);
    if (!song.errors.empty())
        return true;
    // The editor's lines and their entries come straight from views into the text, each list
    // made once at its size: a big song takes no list of the file's lines on the way.
    const std::size_t count = ForEachEditorLine(text, [](std::string_view, std::size_t) {});
    song.lines.reserve(count);
    song.entries.reserve(count + 1);
    ForEachEditorLine(text, [&song](std::string_view line, std::size_t index) {
        song.lines.emplace_back(line);
        song.entries.push_back(ParseChordText(line, static_cast<int>(index)).entry);
    });
    // The blank line an editor shows after the last line.
    song.entries.push_back(ParseChordText("", static_cast<int>(count)).entry);
    return true;
}

} // namespace fw

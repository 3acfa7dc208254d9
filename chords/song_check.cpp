#include "song_check.h"

#include "chord_parser.h"
#include "song_file.h"
#include "text_file.h"

namespace fw {

std::vector<std::string> CheckSongText(std::string_view decodedText) {
    const std::vector<std::string> fileLines = SplitLines(decodedText);
    const std::vector<std::string> lines = SongEditorLines(fileLines, ReadSongHeader(fileLines));
    std::vector<std::string> errors;
    ChordEntry entry;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string error = ParseChordText(lines[i], static_cast<int>(i), MaxFret, entry);
        if (!error.empty())
            errors.push_back(std::move(error));
    }
    return errors;
}

} // namespace fw

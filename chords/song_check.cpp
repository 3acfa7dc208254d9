#include "song_check.h"

#include "capo.h"
#include "chord_parser.h"
#include "text_file.h"

namespace fw {

namespace {

// The first lines of a text, as many as a header has.
std::vector<std::string> HeaderLines(LineCursor& cursor) {
    std::vector<std::string> lines;
    for (std::string_view line; lines.size() < SongHeaderLines && cursor.Next(line);)
        lines.emplace_back(line);
    return lines;
}

} // namespace

SongHeader ReadSongHeaderOfText(std::string_view decodedText) {
    LineCursor cursor(decodedText);
    return ReadSongHeader(HeaderLines(cursor));
}

std::size_t ForEachEditorLine(std::string_view decodedText,
                              const std::function<void(std::string_view, std::size_t)>& visit) {
    LineCursor cursor(decodedText);
    const std::vector<std::string> first = HeaderLines(cursor);
    std::size_t index = 0;
    if (!ReadSongHeader(first).headerComplete)
        for (const std::string& line : first)
            visit(line, index++);
    for (std::string_view line; cursor.Next(line);)
        visit(line, index++);
    return index;
}

bool ForEachCheckedLine(std::string_view decodedText,
                        const std::function<void(const std::string&)>& onError,
                        const std::function<void(std::string_view, const ChordEntry&)>& onEntry) {
    bool clean = true;
    ChordEntry entry;
    ForEachEditorLine(decodedText, [&](std::string_view line, std::size_t index) {
        std::string error = ParseChordText(line, static_cast<int>(index), MaxFret, entry);
        if (error.empty())
            error = CapoLineError(line, static_cast<int>(index));
        if (!error.empty()) {
            onError(error);
            clean = false;
        } else if (clean) {
            onEntry(line, entry);
        }
    });
    return clean;
}

std::vector<std::string> CheckSongText(std::string_view decodedText) {
    std::vector<std::string> errors;
    ForEachCheckedLine(
        decodedText, [&errors](const std::string& error) { errors.push_back(error); },
        [](std::string_view, const ChordEntry&) {});
    return errors;
}

} // namespace fw

#include "song_file.h"

#include "setting_values.h"
#include "text_file.h"
#include "text_rules.h"

#include <algorithm>
#include <optional>

namespace fw {

namespace {

constexpr std::string_view Markers[SongHeaderLines] = {
    "*Info 1:", "*Info 2:", "*Info 3:", "*Info 4:"};

// Line `n` (1..4) starts with its marker.
bool HasMarker(const std::vector<std::string>& lines, int n) {
    return lines.size() >= static_cast<std::size_t>(n) &&
           std::string_view(lines[n - 1]).substr(0, 8) == Markers[n - 1];
}

// The integer in characters 9 to 28 of a marker line.
std::optional<int> MarkerValue(std::string_view line) {
    return ReadInteger(TrimView(FirstCharsView(line.substr(8), 20)));
}

} // namespace

SongHeader ReadSongHeader(const std::vector<std::string>& lines) {
    SongHeader header;
    header.hasPatch = HasMarker(lines, 2);
    if (header.hasPatch)
        header.patch = Low8Bits(MarkerValue(lines[1]).value_or(InvalidPatchValue));
    header.hasTuning = HasMarker(lines, 3);
    if (header.hasTuning)
        header.tuning = MarkerValue(lines[2]).value_or(DefaultTuning);
    header.hasTempo = HasMarker(lines, 4);
    if (header.hasTempo)
        header.tempo = std::clamp(MarkerValue(lines[3]).value_or(DefaultTempo), MinTempo, MaxTempo);
    header.headerComplete =
        HasMarker(lines, 1) && header.hasPatch && header.hasTuning && header.hasTempo;
    return header;
}

std::vector<std::string> SongEditorLines(const std::vector<std::string>& lines,
                                         const SongHeader& header) {
    if (!header.headerComplete)
        return lines;
    return {lines.begin() + SongHeaderLines, lines.end()};
}

std::string SongFileText(const std::vector<std::string>& lines, int patch, int tuning, int tempo,
                         std::string_view infoText) {
    std::string info(Markers[0]);
    info += infoText;
    std::replace_if(
        info.begin(), info.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');

    std::vector<std::string> fileLines;
    fileLines.reserve(lines.size() + SongHeaderLines);
    fileLines.push_back(std::move(info));
    fileLines.push_back(std::string(Markers[1]) + std::to_string(patch));
    fileLines.push_back(std::string(Markers[2]) + std::to_string(tuning));
    fileLines.push_back(std::string(Markers[3]) + std::to_string(tempo));
    fileLines.insert(fileLines.end(), lines.begin(), lines.end());
    return JoinLinesCrLf(fileLines);
}

} // namespace fw

#include "capo.h"

#include "text_file.h"

#include <algorithm>

namespace fw {

namespace {

bool IsSpace(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char a = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] + 32) : text[i];
        if (a != prefix[i])
            return false;
    }
    return true;
}

constexpr std::string_view CapoRange = "Capo must be a fret from 0 to 12.";

} // namespace

std::optional<CapoMarker> ReadCapoMarker(std::string_view line) {
    if (line.empty() || line.front() != '*')
        return std::nullopt;
    std::string_view rest = Trimmed(line.substr(1));
    if (!StartsWithNoCase(rest, "capo:"))
        return std::nullopt;
    const std::string_view value = Trimmed(rest.substr(5));
    CapoMarker marker;
    const bool digits =
        !value.empty() && value.size() <= 2 &&
        std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
    const int fret = digits ? std::stoi(std::string(value)) : -1;
    if (fret < 0 || fret > MaxCapo)
        marker.error = CapoRange;
    else
        marker.capo = fret;
    return marker;
}

std::string CapoLineError(std::string_view line, int lineIndex) {
    const std::optional<CapoMarker> marker = ReadCapoMarker(line);
    if (!marker || marker->error.empty())
        return {};
    return "Line " + std::to_string(lineIndex + 1) + "    " + marker->error;
}

std::string CapoMarkerLine(int capo) {
    return "* Capo: " + std::to_string(capo);
}

std::array<int, 6> CapoOffsets(std::array<int, 6> offsets, int capo) {
    for (int s = 1; s <= 5; ++s)
        offsets[static_cast<std::size_t>(s)] += capo;
    return offsets;
}

std::string CapoStatusText(int capo) {
    return capo > 0 ? ", capo " + std::to_string(capo) : std::string();
}

std::optional<int> CapoOfHeaderText(std::string_view line) {
    const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    for (std::size_t at = 0; at + 4 <= line.size(); ++at) {
        if (!StartsWithNoCase(line.substr(at), "capo") || (at > 0 && letter(line[at - 1])))
            continue;
        std::size_t i = at + 4;
        if (i < line.size() && letter(line[i]))
            continue; // "capos", "capodastro"
        // Up to three short words ("on", "at the", "fret") and punctuation before the number.
        int words = 0;
        while (i < line.size() && !(line[i] >= '0' && line[i] <= '9')) {
            if (letter(line[i]) && (i == 0 || !letter(line[i - 1])) && ++words > 3)
                break;
            if (!letter(line[i]) && line[i] != ' ' && line[i] != ':' && line[i] != '-' &&
                line[i] != '\t' && line[i] != '=')
                break;
            ++i;
        }
        std::size_t end = i;
        while (end < line.size() && end - i < 3 && line[end] >= '0' && line[end] <= '9')
            ++end;
        if (end == i || end - i > 2 || (end < line.size() && line[end] >= '0' && line[end] <= '9'))
            continue;
        const int fret = std::stoi(std::string(line.substr(i, end - i)));
        if (fret >= 1 && fret <= MaxCapo)
            return fret;
    }
    return std::nullopt;
}

std::string TabCapoText(int capo) {
    return capo > 0 ? ", Capo " + std::to_string(capo) : std::string();
}

int SongCapoOfText(std::string_view decodedText) {
    return SongCapo([decodedText](const auto& visit) {
        LineCursor cursor(decodedText);
        for (std::string_view line; cursor.Next(line);)
            if (!visit(line))
                return;
    });
}

} // namespace fw

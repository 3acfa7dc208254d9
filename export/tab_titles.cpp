#include "tab_titles.h"

#include "chords/chord_parser.h"
#include "chords/text_rules.h"

#include <filesystem>

namespace fw {

namespace {

// Titles longer than this are cut; a line of the chord list is never that long in practice.
constexpr std::size_t MaxTitleChars = 999;

std::string TextAfterMarker(std::span<const std::string> lines, std::string_view marker) {
    std::string result;
    for (const std::string& line : lines) {
        if (!IsCommentLine(line))
            continue;
        // Upper-casing touches a to z only, so positions in the upper-cased text are positions
        // in the line itself.
        const std::size_t p = UpperCase(line).find(marker);
        if (p == std::string::npos)
            continue;
        const std::string_view rest = std::string_view(line).substr(p + marker.size());
        result = Trim(FirstCharsView(rest, MaxTitleChars));
    }
    return result;
}

} // namespace

std::string TitleFromComments(std::span<const std::string> lines) {
    return TextAfterMarker(lines, "TITLE:");
}

std::string SubtitleFromComments(std::span<const std::string> lines) {
    return TextAfterMarker(lines, "SUB:");
}

std::string DefaultTabTitle(std::string_view songPath) {
    if (songPath.empty())
        return {};
    return std::filesystem::path(songPath).stem().string();
}

std::string PrintDocumentName(std::string_view songPath) {
    std::string name = std::filesystem::path(songPath).filename().string();
    if (Trim(name).empty() || name == "." || name == "..")
        return "Untitled";
    for (char& ch : name) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x20 || byte == 0x7F ||
            std::string_view("/\\:*?\"<>|").find(ch) != std::string_view::npos)
            ch = '_';
    }
    return name;
}

} // namespace fw

#include "text_bounds.h"

#include "regular_file.h"
#include "text_file.h"

namespace fw {

std::string TextBoundsError(std::string_view text, const TextBounds& bounds) {
    LineCursor cursor(text);
    std::size_t lines = 0;
    for (std::string_view line; cursor.Next(line);) {
        ++lines;
        // Only a line of more bytes than the limit can have more characters than it.
        if (line.size() <= bounds.maxLineCharacters)
            continue;
        std::size_t characters = 0;
        for (const char c : line)
            characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (characters > bounds.maxLineCharacters)
            return "line " + GroupedNumber(lines) + " has " + GroupedNumber(characters) +
                   " characters; the editor holds at most " +
                   GroupedNumber(bounds.maxLineCharacters) + " characters in a line";
    }
    if (lines > bounds.maxLines)
        return "it has " + GroupedNumber(lines) + " lines; the editor holds at most " +
               GroupedNumber(bounds.maxLines) + " lines";
    return {};
}

bool ReadBoundedTextFile(const std::filesystem::path& path, std::string& text, std::string& error,
                         const TextBounds& bounds) {
    if (!ReadTextFile(path, text, error))
        return false;
    if (const std::string over = TextBoundsError(text, bounds); !over.empty()) {
        std::string().swap(text);
        error = "Opening \"" + path.string() + "\" failed: " + over + ".";
        return false;
    }
    return true;
}

} // namespace fw

#include "text_bounds.h"

#include "regular_file.h"
#include "text_file.h"

namespace fw {

namespace {
std::string LineTooLong(std::size_t line, std::size_t characters, const TextBounds& bounds) {
    return "line " + GroupedNumber(line) + " has " + GroupedNumber(characters) +
           " characters; the editor holds at most " + GroupedNumber(bounds.maxLineCharacters) +
           " characters in a line";
}
} // namespace

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
            return LineTooLong(lines, characters, bounds);
    }
    if (lines > bounds.maxLines)
        return "it has " + GroupedNumber(lines) + " lines; the editor holds at most " +
               GroupedNumber(bounds.maxLines) + " lines";
    return {};
}

std::string TextBoundsError(std::u16string_view text, const TextBounds& bounds) {
    std::size_t lines = 0;
    std::size_t characters = 0;
    bool open = false; // a line has begun and not yet ended
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\n' || c == u'\r' || c == u'\u2028' || c == u'\u2029') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            ++lines;
            characters = 0;
            open = false;
            continue;
        }
        open = true;
        // A low surrogate completes a character its high surrogate already counted.
        if (c < 0xDC00 || c > 0xDFFF || i == 0 || text[i - 1] < 0xD800 || text[i - 1] > 0xDBFF)
            ++characters;
        if (characters > bounds.maxLineCharacters) {
            std::size_t total = characters;
            for (std::size_t j = i + 1; j < text.size(); ++j) {
                const char16_t d = text[j];
                if (d == u'\n' || d == u'\r' || d == u'\u2028' || d == u'\u2029')
                    break;
                total += d < 0xDC00 || d > 0xDFFF || text[j - 1] < 0xD800 || text[j - 1] > 0xDBFF;
            }
            return LineTooLong(lines + 1, total, bounds);
        }
    }
    if (open)
        ++lines;
    if (lines > bounds.maxLines)
        return "it has " + GroupedNumber(lines) + " lines; the editor holds at most " +
               GroupedNumber(bounds.maxLines) + " lines";
    return {};
}

std::string NotEnoughMemoryToOpen(const std::filesystem::path& path) {
    return "There is not enough memory to open \"" + path.string() + "\".";
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

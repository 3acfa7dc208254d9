#pragma once
// How much text the editor can hold: a line far longer than any chord line, or more lines than
// fit the editor's memory budget, is refused before any of it is shown, with the figure named.
// Songs, imported tablature and pasted tablature are all checked the same way.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace fw {

// The longest line the editor takes, in characters; a chord line has a few dozen.
inline constexpr std::size_t MaxLineCharacters = 100'000;
// The most lines the editor takes, within its memory budget.
inline constexpr std::size_t MaxTextLines = 2'000'000;

struct TextBounds {
    std::size_t maxLineCharacters = MaxLineCharacters;
    std::size_t maxLines = MaxTextLines;
};

// Empty when the UTF-8 text fits the bounds, else the reason, to follow "failed: " or stand as
// a sentence of its own: "line 3 has 150,000,000 characters; the editor holds at most 100,000
// characters in a line" or "it has 10,000,000 lines; the editor holds at most 2,000,000 lines".
// Lines are cut as SplitLines cuts them, characters are Unicode code points; the first line
// over the limit is named, counted from 1. The text is walked once and not copied.
std::string TextBoundsError(std::string_view text, const TextBounds& bounds = {});

// The same for UTF-16 text (the clipboard's, a paste), with the same line breaks and counting
// code points, so that nothing is converted before it is known to fit.
std::string TextBoundsError(std::u16string_view text, const TextBounds& bounds = {});

// "There is not enough memory to open "<path>"." for a read that ran out of memory.
std::string NotEnoughMemoryToOpen(const std::filesystem::path& path);

// ReadTextFile, then the bounds: a file over them is refused with
// "Opening "<path>" failed: <TextBoundsError>." and `text` is left empty.
bool ReadBoundedTextFile(const std::filesystem::path& path, std::string& text, std::string& error,
                         const TextBounds& bounds = {});

} // namespace fw

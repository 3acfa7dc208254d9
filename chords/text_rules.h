#pragma once
// The text rules every part of the program shares: trimming, upper-casing, reading integers
// and cutting texts to a number of characters. Texts are UTF-8; "characters" are code points.

#include <optional>
#include <string>
#include <string_view>

namespace fw {

// Removes every character of code 0 to 32 (space, tab, control characters) from both ends.
std::string Trim(std::string_view text);

// The same trimming as a view into `text`, for hot paths that must not allocate.
std::string_view TrimView(std::string_view text);

// Upper-cases the letters a to z only; every other byte is kept as it is.
std::string UpperCase(std::string_view text);

// Reads an integer text: optional leading spaces, an optional sign, then decimal digits or "$"
// and hexadecimal digits, nothing after them, within the signed 32-bit range. Returns nothing
// for any other text, for the empty text, and for 2147483647, which the program has always used
// to mean "not a number".
std::optional<int> ReadInteger(std::string_view text);

// Reads a marker's number: decimal digits with an optional sign, spaces around them allowed,
// nothing else. Returns nothing for any other text and for numbers outside int's range.
std::optional<int> ReadWholeNumber(std::string_view text);

// The first `count` characters (code points) of a UTF-8 text; the whole text when shorter.
std::string FirstChars(std::string_view text, std::size_t count);

// The same cut as a view into `text`.
std::string_view FirstCharsView(std::string_view text, std::size_t count);

// Number of characters (code points) in a UTF-8 text.
std::size_t CharCount(std::string_view text);

} // namespace fw

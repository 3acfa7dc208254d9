#pragma once
// Reading and writing text files. Files are read as UTF-8 (or UTF-16 with a byte order mark),
// falling back to Windows-1252 for files written by older versions, with CR LF, LF or CR line ends;
// they are written as UTF-8 with CR LF, atomically, so that a failed or interrupted save never
// leaves a half-written file in place of the old one.

#include "atomic_write.h"

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// UTF-8 text from file bytes. Bytes that start with a UTF-16 byte order mark (FF FE little-endian,
// FE FF big-endian) are read as UTF-16, a lone surrogate or an odd last byte giving U+FFFD.
// Otherwise a leading UTF-8 byte order mark is dropped first; the rest is kept as it is when it
// is valid UTF-8, otherwise read as Windows-1252 and converted to UTF-8.
// The five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the
// control characters of the same code, as Windows itself converts them.
std::string DecodeText(std::string_view bytes);
// The same, reusing the bytes' own storage when they are valid UTF-8.
std::string DecodeTextMoved(std::string&& bytes);

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// The lines of a UTF-8 text, each without its line break. CR LF, LF, CR, U+2028 (line
// separator) and U+2029 (paragraph separator) each end a line, so that every reader sees the
// lines the editor shows. A final line break ends the last line and does not start a further
// one; the empty text has no lines.
std::vector<std::string> SplitLines(std::string_view text);

// Walks the lines of a text exactly as SplitLines cuts them, without copying them: for big
// files, where a vector of every line would take several times the text's own memory.
class LineCursor {
public:
    explicit LineCursor(std::string_view text) : text_(text) {}
    // Sets `line` to the next line (a view into the text) and returns true; false after the last.
    bool Next(std::string_view& line);

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

// Every line followed by CR LF: the inverse of SplitLines, SplitLines(JoinLinesCrLf(lines))
// gives `lines` back for any lines that hold no line break themselves.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

// Reads a whole file and decodes it with DecodeText. Only a regular file of at most
// MaxTextFileBytes is read (see ReadRegularFile). On failure returns false and sets `error` to a
// sentence naming the file and the reason.
bool ReadTextFile(const std::filesystem::path& path, std::string& text, std::string& error);

} // namespace fw

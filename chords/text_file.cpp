#include "text_file.h"

#include "regular_file.h"

#include <cstdint>
#include <string>

namespace fw {

namespace {

// The code points of Windows-1252 bytes 0x80 to 0x9F; every other byte is its own code point.
constexpr std::uint16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// UTF-8 from UTF-16 bytes after their byte order mark. A surrogate without its partner and an
// odd last byte become U+FFFD, so that nothing of the file is silently dropped.
std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    const auto unit = [bytes, bigEndian](std::size_t at) -> std::uint32_t {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        return bigEndian ? (first << 8U) | second : (second << 8U) | first;
    };
    std::string text;
    text.reserve(bytes.size() / 2 * 3 / 2);
    std::size_t at = 0;
    for (; at + 1 < bytes.size(); at += 2) {
        const std::uint32_t u = unit(at);
        if (u >= 0xD800 && u <= 0xDBFF && at + 3 < bytes.size()) {
            const std::uint32_t low = unit(at + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(text, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                at += 2;
                continue;
            }
        }
        AppendUtf8(text, u >= 0xD800 && u <= 0xDFFF ? 0xFFFD : u);
    }
    if (at < bytes.size())
        AppendUtf8(text, 0xFFFD);
    return text;
}

// The byte order of a text that starts with a UTF-16 byte order mark.
enum class Utf16Mark { None, LittleEndian, BigEndian };

Utf16Mark Utf16MarkOf(std::string_view bytes) {
    if (bytes.substr(0, 2) == "\xFF\xFE")
        return Utf16Mark::LittleEndian;
    if (bytes.substr(0, 2) == "\xFE\xFF")
        return Utf16Mark::BigEndian;
    return Utf16Mark::None;
}

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int more = 0;
        unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            if (c == 0xE0)
                low = 0xA0; // no overlong forms
            if (c == 0xED)
                high = 0x9F; // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            if (c == 0xF0)
                low = 0x90;
            if (c == 0xF4)
                high = 0x8F; // nothing above U+10FFFF
        } else {
            return false;
        }
        if (end - p <= more)
            return false;
        if (p[1] < low || p[1] > high)
            return false;
        for (int i = 2; i <= more; ++i)
            if ((p[i] & 0xC0) != 0x80)
                return false;
        p += more + 1;
    }
    return true;
}

std::string DecodeText(std::string_view bytes) {
    // Notepad's "Unicode": UTF-16 with its byte order mark.
    if (const Utf16Mark mark = Utf16MarkOf(bytes); mark != Utf16Mark::None)
        return DecodeUtf16(bytes.substr(2), mark == Utf16Mark::BigEndian);
    // A leading UTF-8 byte order mark goes whichever way the rest is read: an editor may have
    // put it before text in another encoding, and left in place it would hide the song header.
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 2);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        AppendUtf8(text, c >= 0x80 && c <= 0x9F ? Cp1252High[c - 0x80] : c);
    }
    return text;
}

std::string DecodeTextMoved(std::string&& bytes) {
    // Valid UTF-8, by far the usual case, is kept in place: no second copy of a big file.
    if (Utf16MarkOf(bytes) != Utf16Mark::None)
        return DecodeText(std::string_view(bytes));
    const bool bom = std::string_view(bytes).substr(0, 3) == "\xEF\xBB\xBF";
    if (!IsValidUtf8(std::string_view(bytes).substr(bom ? 3 : 0)))
        return DecodeText(std::string_view(bytes));
    if (bom)
        bytes.erase(0, 3);
    return std::move(bytes);
}

namespace {
// The length of the line break that starts at `i`, or 0: CR LF, LF, CR, and the Unicode line
// and paragraph separators U+2028 and U+2029 (E2 80 A8, E2 80 A9), which some editors and web
// pages put where a line ends.
std::size_t LineBreakAt(std::string_view text, std::size_t i) {
    switch (text[i]) {
    case '\r':
        return i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
    case '\n':
        return 1;
    case '\xE2':
        return text.substr(i, 3) == "\xE2\x80\xA8" || text.substr(i, 3) == "\xE2\x80\xA9" ? 3 : 0;
    default:
        return 0;
    }
}
} // namespace

bool LineCursor::Next(std::string_view& line) {
    for (std::size_t i = at_; i < text_.size(); ++i) {
        const std::size_t breakLength = LineBreakAt(text_, i);
        if (breakLength == 0)
            continue;
        line = text_.substr(at_, i - at_);
        at_ = i + breakLength;
        return true;
    }
    if (at_ >= text_.size())
        return false;
    line = text_.substr(at_);
    at_ = text_.size();
    return true;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    LineCursor cursor(text);
    for (std::string_view line; cursor.Next(line);)
        lines.emplace_back(line);
    return lines;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

bool ReadTextFile(const std::filesystem::path& path, std::string& text, std::string& error) {
    std::string bytes;
    if (!ReadRegularFile(path, bytes, error))
        return false;
    text = DecodeTextMoved(std::move(bytes));
    return true;
}

} // namespace fw

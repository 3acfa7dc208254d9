// Songs saved as UTF-16 (with a byte order mark) read as the text they hold, and texts too big
// for the editor (a line far longer than any chord line, or millions of lines) are refused with
// the figure named.

#include "chords/song_check.h"
#include "chords/song_file.h"
#include "chords/text_bounds.h"
#include "chords/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace fw {
namespace {

namespace fs = std::filesystem;

// The UTF-16 bytes of the given code units, after a byte order mark.
std::string Utf16(std::u16string_view units, bool bigEndian, bool mark = true) {
    std::string bytes;
    auto put = [&](char16_t u) {
        const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    };
    if (mark)
        put(u'\uFEFF');
    for (const char16_t u : units)
        put(u);
    return bytes;
}

struct DecodeCase {
    const char* label;
    std::string bytes;
    std::string text; // UTF-8
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << c.label;
}

class UnicodeSongs : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(UnicodeSongs, DecodeToTheirText) {
    EXPECT_EQ(DecodeText(GetParam().bytes), GetParam().text);
    EXPECT_EQ(DecodeTextMoved(std::string(GetParam().bytes)), GetParam().text);
}

const std::u16string Song = u"*Info 1:Caf\u00E9\r\n*Info 2:105\r\n*Info 3:53555\r\n*Info "
                            u"4:90\r\nG, 0, 0, 0, 0, 0, Q\r\n";
const std::string SongUtf8 = "*Info 1:Caf\xC3\xA9\r\n*Info 2:105\r\n*Info 3:53555\r\n*Info "
                             "4:90\r\nG, 0, 0, 0, 0, 0, Q\r\n";

INSTANTIATE_TEST_SUITE_P(
    Encodings, UnicodeSongs,
    ::testing::Values(
        DecodeCase{"utf16_little_endian", Utf16(Song, false), SongUtf8},
        DecodeCase{"utf16_big_endian", Utf16(Song, true), SongUtf8},
        DecodeCase{"utf8_with_mark", "\xEF\xBB\xBF" + SongUtf8, SongUtf8},
        DecodeCase{"utf16_mark_alone", "\xFF\xFE", ""},
        DecodeCase{"surrogate_pair", Utf16(u"\U0001D11E x", false), "\xF0\x9D\x84\x9E x"},
        DecodeCase{"lone_high_surrogate",
                   Utf16(u"a\xD834"
                         u"b",
                         true),
                   "a\xEF\xBF\xBD"
                   "b"},
        DecodeCase{"lone_low_surrogate", Utf16(u"\xDD1E", false), "\xEF\xBF\xBD"},
        DecodeCase{"high_surrogate_at_the_end", Utf16(u"a\xD834", false), "a\xEF\xBF\xBD"},
        DecodeCase{"odd_last_byte", Utf16(u"ab", false) + "c", "ab\xEF\xBF\xBD"},
        DecodeCase{"nul_kept", Utf16(std::u16string(u"a\0b", 3), false), std::string("a\0b", 3)}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(UnicodeSongs, AUtf16SongLoadsItsHeaderAndItsChords) {
    for (const bool bigEndian : {false, true}) {
        const std::string text = DecodeText(Utf16(Song, bigEndian));
        const SongHeader header = ReadSongHeaderOfText(text);
        EXPECT_TRUE(header.headerComplete);
        EXPECT_EQ(header.tuning, 53555);
        EXPECT_EQ(header.tempo, 90);
        EXPECT_TRUE(CheckSongText(text).empty());
        // Saved again, it is UTF-8 like every song.
        EXPECT_EQ(SongFileText(SongEditorLines(SplitLines(text), header), header.patch,
                               header.tuning, header.tempo, "Caf\xC3\xA9"),
                  SongUtf8);
    }
}

// --- Bounds -----------------------------------------------------------------------------------

struct BoundsCase {
    const char* label;
    std::string text;
    const char* error;
};

void PrintTo(const BoundsCase& c, std::ostream* os) {
    *os << c.label;
}

class EditorBounds : public ::testing::TestWithParam<BoundsCase> {};

// UTF-16 of a UTF-8 text (well-formed, as the table's are).
std::u16string ToUtf16(std::string_view utf8) {
    std::u16string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const int length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? b : length == 2 ? b & 0x1F : length == 3 ? b & 0x0F : b & 0x07;
        for (int k = 1; k < length; ++k)
            c = (c << 6) |
                (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3F);
        i += static_cast<std::size_t>(length);
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

TEST_P(EditorBounds, RefuseWhatTheEditorCannotHold) {
    // Small bounds keep the table fast; the real ones are checked below.
    EXPECT_EQ(TextBoundsError(GetParam().text, TextBounds{10, 5}), GetParam().error);
    // The clipboard's UTF-16 text is measured the same way.
    EXPECT_EQ(TextBoundsError(std::u16string_view(ToUtf16(GetParam().text)), TextBounds{10, 5}),
              GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EditorBounds,
    ::testing::Values(
        BoundsCase{"empty", "", ""}, BoundsCase{"at_both_limits", "0123456789\n\n\n\nabc\r\n", ""},
        BoundsCase{"ten_two_byte_characters",
                   "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"
                   "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9",
                   ""},
        BoundsCase{"ten_four_byte_characters",
                   "\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80"
                   "\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80"
                   "\xF0\x9F\x98\x80\xF0\x9F\x98\x80",
                   ""},
        BoundsCase{"eleven_four_byte_characters",
                   "\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80"
                   "\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80"
                   "\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\n",
                   "line 1 has 11 characters; the editor holds at most 10 characters in a line"},
        BoundsCase{"long_second_line", "G\r\n01234567890\r\n0123456789012",
                   "line 2 has 11 characters; the editor holds at most 10 characters in a line"},
        BoundsCase{"long_last_line_without_break", "a\rb\r0123456789012345",
                   "line 3 has 16 characters; the editor holds at most 10 characters in a line"},
        BoundsCase{"six_lines", "a\nb\nc\nd\ne\nf\n",
                   "it has 6 lines; the editor holds at most 5 lines"},
        BoundsCase{"six_empty_lines_of_every_break", "\r\n\n\r\xE2\x80\xA8\xE2\x80\xA9\n",
                   "it has 6 lines; the editor holds at most 5 lines"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(EditorBounds, TheRealLimitsNameTheirFigures) {
    EXPECT_EQ(TextBoundsError(std::string(150'000, 'x')),
              "line 1 has 150,000 characters; the editor holds at most 100,000 characters in a "
              "line");
    EXPECT_EQ(TextBoundsError(std::string(100'000, 'x')), "");
    EXPECT_EQ(TextBoundsError(std::string(2'000'000, '\n')), "");
    EXPECT_EQ(TextBoundsError(std::string(2'000'001, '\n')),
              "it has 2,000,001 lines; the editor holds at most 2,000,000 lines");
}

TEST(EditorBounds, AFileOverThemIsRefusedByName) {
    const fs::path file = fs::temp_directory_path() / ("fw-bounds-" + std::to_string(getpid()));
    std::ofstream(file, std::ios::binary) << std::string(3'000'000, '\n');
    std::string text = "before", error;
    EXPECT_FALSE(ReadBoundedTextFile(file, text, error));
    EXPECT_EQ(error, "Opening \"" + file.string() +
                         "\" failed: it has 3,000,000 lines; the editor holds at most 2,000,000 "
                         "lines.");
    EXPECT_TRUE(text.empty());
    std::ofstream(file, std::ios::binary) << Utf16(Song, false);
    EXPECT_TRUE(ReadBoundedTextFile(file, text, error)) << error;
    EXPECT_EQ(text, SongUtf8);
    fs::remove(file);
}

} // namespace
} // namespace fw

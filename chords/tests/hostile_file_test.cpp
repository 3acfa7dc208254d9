// Files nobody meant to open: every kind of path and every kind of content a song, a
// dictionary or a tool may be pointed at. Only regular files are read, at once and never
// waited on; a file too large for the editor is refused with its size named; binary content
// reads as text whose lines are in error, without a crash.

#include "chords/chord_dictionary.h"
#include "chords/regular_file.h"
#include "chords/song_check.h"
#include "chords/text_file.h"
#include "tests/support/case_name.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace fw {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class TempFolder {
public:
    TempFolder() {
        path_ = fs::temp_directory_path() / ("fretwick_hostile_" + std::to_string(::getpid()));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

fs::path WriteBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

// A file of `size` bytes that takes no room on disk.
fs::path SparseFile(const fs::path& path, std::uintmax_t size) {
    WriteBytes(path, "");
    fs::resize_file(path, size);
    return path;
}

fs::path Fifo(const fs::path& path) {
    EXPECT_EQ(::mkfifo(path.c_str(), 0644), 0);
    return path;
}

// A listening Unix socket; it stays bound while the test runs.
fs::path Socket(const fs::path& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    return path;
}

struct HostileCase {
    const char* name;
    std::function<fs::path(const fs::path& folder)> make;
    // The error's text after "Opening "<path>" failed: ", or empty when the file is read.
    std::string refusal;
    std::uint64_t maxBytes = MaxTextFileBytes;
};

void PrintTo(const HostileCase& c, std::ostream* out) {
    *out << c.name;
}

class HostileFiles : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileFiles, AreReadOnlyWhenRegularAndSmallEnough) {
    const HostileCase& c = GetParam();
    TempFolder folder;
    const fs::path path = c.make(folder.path());
    std::string bytes = "left over", error;
    const bool read = ReadRegularFile(path, bytes, error, c.maxBytes);
    if (c.refusal.empty()) {
        EXPECT_TRUE(read) << error;
        return;
    }
    EXPECT_FALSE(read);
    EXPECT_EQ(bytes, "");
    EXPECT_EQ(error, "Opening \"" + path.string() + "\" failed: " + c.refusal + ".");
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostileFiles,
    ::testing::Values(
        HostileCase{"Missing", [](const fs::path& f) { return f / "none.fwk"; },
                    "No such file or directory"},
        HostileCase{"Folder",
                    [](const fs::path& f) {
                        fs::create_directory(f / "x.fwk");
                        return f / "x.fwk";
                    },
                    "it is a folder, not a file"},
        HostileCase{"NamedPipeWithoutWriter", [](const fs::path& f) { return Fifo(f / "x.fwk"); },
                    "it is a named pipe, not a file"},
        HostileCase{"Socket", [](const fs::path& f) { return Socket(f / "x.fwk"); },
                    "it is a socket, not a file"},
        HostileCase{"NullDevice", [](const fs::path&) { return fs::path("/dev/null"); },
                    "it is a device, not a file"},
        HostileCase{"EndlessDevice", [](const fs::path&) { return fs::path("/dev/zero"); },
                    "it is a device, not a file"},
        HostileCase{"LinkToAPipe",
                    [](const fs::path& f) {
                        Fifo(f / "pipe");
                        fs::create_symlink(f / "pipe", f / "x.fwk");
                        return f / "x.fwk";
                    },
                    "it is a named pipe, not a file"},
        HostileCase{"OverTheEditorsLimit",
                    [](const fs::path& f) { return SparseFile(f / "x.fwk", 200'000'001); },
                    "it is 200,000,001 bytes; the editor holds at most 200,000,000 characters"},
        HostileCase{"AtASmallLimit",
                    [](const fs::path& f) { return WriteBytes(f / "x.fwk", "1234567890"); }, "",
                    10},
        HostileCase{"OverASmallLimit",
                    [](const fs::path& f) { return WriteBytes(f / "x.fwk", "12345678901"); },
                    "it is 11 bytes; the editor holds at most 10 characters", 10},
        HostileCase{"Empty", [](const fs::path& f) { return WriteBytes(f / "x.fwk", ""); }, ""},
        HostileCase{"Binary",
                    [](const fs::path& f) {
                        return WriteBytes(f / "x.fwk", std::string("\x7F"
                                                                   "ELF\0\0\x01\xFF",
                                                                   8));
                    },
                    ""}),
    [](const auto& info) { return std::string(info.param.name); });

// A file is read whole, NUL bytes and all.
TEST(HostileFiles, ReadsAFileAtTheLimitWhole) {
    TempFolder folder;
    const fs::path path = SparseFile(folder.path() / "big.fwk", 1'000'000);
    std::string bytes, error;
    ASSERT_TRUE(ReadRegularFile(path, bytes, error)) << error;
    EXPECT_EQ(bytes, std::string(1'000'000, '\0'));
}

// Every reader goes through the same gate: the song reader and the dictionary reader refuse a
// named pipe with the same message, instead of waiting for a writer forever.
TEST(HostileFiles, SongAndDictionaryReadersRefuseANamedPipe) {
    TempFolder folder;
    const fs::path pipe = Fifo(folder.path() / "BCHORDS.DCT");
    const std::string expected =
        "Opening \"" + pipe.string() + "\" failed: it is a named pipe, not a file.";
    std::string text, error;
    EXPECT_FALSE(ReadTextFile(pipe, text, error));
    EXPECT_EQ(error, expected);
    DictionaryEntries entries = {"kept"};
    error.clear();
    EXPECT_FALSE(ReadDictionaryFile(pipe, entries, error));
    EXPECT_EQ(error, expected);
    EXPECT_EQ(entries, DictionaryEntries{"kept"});
}

struct ContentCase {
    std::string name;
    std::string bytes;
    std::vector<std::string> errors; // what checking the song reports
};

void PrintTo(const ContentCase& c, std::ostream* out) {
    *out << c.name;
}

class HostileContent : public ::testing::TestWithParam<ContentCase> {};

// Binary content reads as text: lines that are not chord lines are reported as lines in error.
TEST_P(HostileContent, GivesLinesInError) {
    TempFolder folder;
    const fs::path path = WriteBytes(folder.path() / "x.fwk", GetParam().bytes);
    std::string text, error;
    ASSERT_TRUE(ReadTextFile(path, text, error)) << error;
    EXPECT_TRUE(IsValidUtf8(text));
    EXPECT_EQ(CheckSongText(text), GetParam().errors);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostileContent,
    ::testing::Values(
        ContentCase{"NulBytesOnly", std::string(5, '\0'), {}},
        ContentCase{"NulInAChordLine", "G, 0, 0\0, 0, 0, 0, Q\r\nG, 0, 0, 0, 0, 0, Q\r\n"s, {}},
        ContentCase{
            "NulInTheName", "\0x, 0, 0, 0, 0, 0, Q\r\nG\0"s, {"Line 2    Not enough commas."}},
        ContentCase{"ExecutableHeader",
                    "\x7F"
                    "ELF\x02\x01\x01\0\0\0\n\x01\x02,\x03"s,
                    {"Line 1    Not enough commas.", "Line 2    Not enough commas."}},
        ContentCase{"Windows1252Garbage",
                    "\x80\x81\x82,\x83,\x84,\x85,\x86,\x87,\xFF\r\n",
                    {"Line 1    Fret number for G string (\"\xC6\x92\") not a number."}},
        ContentCase{"OneHugeLine", std::string(1'000'000, ','), {"Line 1    Too many commas."}}),
    [](const auto& info) { return info.param.name; });

} // namespace
} // namespace fw

#include "chords/text_file.h"
#include "tests/support/case_name.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#ifndef _WIN32
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace fw {
namespace {

namespace fs = std::filesystem;

struct Utf8Case {
    std::string bytes;
    bool valid;
};

class Utf8Validity : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Validity, FollowsTheWellFormedTable) {
    EXPECT_EQ(IsValidUtf8(GetParam().bytes), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Utf8Validity,
    ::testing::Values(Utf8Case{"", true}, Utf8Case{"plain ASCII", true},
                      Utf8Case{"caf\xC3\xA9", true}, Utf8Case{"\xE2\x99\xAA", true},
                      Utf8Case{"\xF0\x9F\x8E\xB5", true}, Utf8Case{"\xF4\x8F\xBF\xBF", true},
                      Utf8Case{"\xED\x9F\xBF", true}, Utf8Case{"\xEF\xBB\xBF", true},
                      Utf8Case{"caf\xE9", false},          // Windows-1252 e-acute
                      Utf8Case{"\x80", false},             // lone continuation byte
                      Utf8Case{"\xC0\x80", false},         // overlong NUL
                      Utf8Case{"\xC1\xBF", false},         // overlong
                      Utf8Case{"\xE0\x80\xAF", false},     // overlong
                      Utf8Case{"\xF0\x80\x80\xAF", false}, // overlong
                      Utf8Case{"\xED\xA0\x80", false},     // surrogate
                      Utf8Case{"\xF4\x90\x80\x80", false}, // above U+10FFFF
                      Utf8Case{"\xF5\x80\x80\x80", false}, Utf8Case{"\xFF", false},
                      Utf8Case{"\xC3", false}, // cut short
                      Utf8Case{"\xE2\x99", false}, Utf8Case{"\xE2\x41\x41", false}),
    [](const auto& info) {
        return cases::HexName(info.param.bytes) + (info.param.valid ? "_Valid" : "_Invalid");
    });

TEST(DecodeText, KeepsValidUtf8AndDropsItsByteOrderMark) {
    EXPECT_EQ(DecodeText("*Caf\xC3\xA9 \xE2\x99\xAA"), "*Caf\xC3\xA9 \xE2\x99\xAA");
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF*Info 1:x\r\n"), "*Info 1:x\r\n");
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF"), "");
    EXPECT_EQ(DecodeText(""), "");
    // Only one leading mark is removed.
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF\xEF\xBB\xBFx"), "\xEF\xBB\xBFx");
}

// Windows-1252 bytes 0x80 to 0x9F as UTF-8; the five undefined bytes keep their own code.
const char* const Cp1252High[32] = {
    "\u20AC", "\u0081", "\u201A", "\u0192", "\u201E", "\u2026", "\u2020", "\u2021",
    "\u02C6", "\u2030", "\u0160", "\u2039", "\u0152", "\u008D", "\u017D", "\u008F",
    "\u0090", "\u2018", "\u2019", "\u201C", "\u201D", "\u2022", "\u2013", "\u2014",
    "\u02DC", "\u2122", "\u0161", "\u203A", "\u0153", "\u009D", "\u017E", "\u0178"};

std::string ExpectedCp1252(unsigned char byte) {
    if (byte < 0x80)
        return std::string(1, static_cast<char>(byte));
    if (byte <= 0x9F)
        return Cp1252High[byte - 0x80];
    // 0xA0..0xFF are U+00A0..U+00FF: two bytes, C2 or C3 then the low six bits.
    return {static_cast<char>(0xC0 | (byte >> 6)), static_cast<char>(0x80 | (byte & 0x3F))};
}

TEST(DecodeText, FallsBackToWindows1252ForEveryByte) {
    std::string bytes;
    std::string expected;
    for (int b = 0; b < 256; ++b) {
        bytes += static_cast<char>(b);
        expected += ExpectedCp1252(static_cast<unsigned char>(b));
    }
    EXPECT_EQ(DecodeText(bytes), expected);
}

TEST(DecodeText, Windows1252ExamplesOneByOne) {
    EXPECT_EQ(DecodeText("*Caf\xE9"), "*Caf\xC3\xA9");
    EXPECT_EQ(DecodeText("\x80 5"), "\xE2\x82\xAC 5");
    EXPECT_EQ(DecodeText("\x93quoted\x94"), "\xE2\x80\x9Cquoted\xE2\x80\x9D");
    EXPECT_EQ(DecodeText("\x81"), "\xC2\x81");
    EXPECT_EQ(DecodeText("\xFF"), "\xC3\xBF");
}

TEST(DecodeText, DropsTheByteOrderMarkBeforeWindows1252Text) {
    // The rest is not UTF-8, so it is read byte by byte; the mark is still no text.
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF\xE9"), "\xC3\xA9");
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF*Info 1:Caf\xE9\r\n*Info 2:105\r\n"),
              "*Info 1:Caf\xC3\xA9\r\n*Info 2:105\r\n");
    // Only a leading mark is one: a later one is read as the three Windows-1252 characters.
    EXPECT_EQ(DecodeText("\xE9\xEF\xBB\xBF"), "\xC3\xA9\xC3\xAF\xC2\xBB\xC2\xBF");
}

struct SplitCase {
    const char* label;
    std::string text;
    std::vector<std::string> lines;
};

class LineSplits : public ::testing::TestWithParam<SplitCase> {};

TEST_P(LineSplits, AcceptEveryLineEnd) {
    EXPECT_EQ(SplitLines(GetParam().text), GetParam().lines);
}

using Lines = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(
    Table, LineSplits,
    ::testing::Values(SplitCase{"Empty", "", {}}, SplitCase{"NoBreak", "a", {"a"}},
                      SplitCase{"FinalCrLf", "a\r\n", {"a"}}, SplitCase{"FinalLf", "a\n", {"a"}},
                      SplitCase{"FinalCr", "a\r", {"a"}}, SplitCase{"CrLf", "a\r\nb", {"a", "b"}},
                      SplitCase{"Lf", "a\nb\n", {"a", "b"}}, SplitCase{"Cr", "a\rb\r", {"a", "b"}},
                      SplitCase{"EmptyLastLine", "a\r\n\r\n", {"a", ""}},
                      SplitCase{"OnlyCrLf", "\r\n", {""}}, SplitCase{"TwoLf", "\n\n", {"", ""}},
                      SplitCase{"LfThenCr", "\n\r", {"", ""}},
                      SplitCase{"CrThenCrLf", "a\r\r\nb", {"a", "", "b"}},
                      SplitCase{"LfThenCrLf", "a\n\r\nb", {"a", "", "b"}},
                      SplitCase{"Mixed", "x\r\ny\nz\rw", {"x", "y", "z", "w"}},
                      SplitCase{"KeepsSpaces", " a \t\r\n\tb ", {" a \t", "\tb "}},
                      // The Unicode line and paragraph separators end lines like any other break.
                      SplitCase{"LineSeparator",
                                "G, 0, 0, 0, 0, 0, Q\xE2\x80\xA8"
                                "C, x, 2, 0, 1, 2, H",
                                {"G, 0, 0, 0, 0, 0, Q", "C, x, 2, 0, 1, 2, H"}},
                      SplitCase{"ParagraphSeparator",
                                "a\xE2\x80\xA9"
                                "b\xE2\x80\xA9",
                                {"a", "b"}},
                      SplitCase{"SeparatorThenCrLf", "a\xE2\x80\xA8\r\nb", {"a", "", "b"}},
                      // Other characters that start with the same byte stay in their line.
                      SplitCase{"OtherE280Characters",
                                "\xE2\x80\x94\xE2\x80\xAA\xE2\x99\xAA",
                                {"\xE2\x80\x94\xE2\x80\xAA\xE2\x99\xAA"}},
                      SplitCase{"CutShortSeparator", "a\xE2\x80", {"a\xE2\x80"}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(JoinLinesCrLf, EndsEveryLine) {
    EXPECT_EQ(JoinLinesCrLf({}), "");
    EXPECT_EQ(JoinLinesCrLf({""}), "\r\n");
    EXPECT_EQ(JoinLinesCrLf({"a", "b"}), "a\r\nb\r\n");
    EXPECT_EQ(JoinLinesCrLf({"a", ""}), "a\r\n\r\n");
}

TEST(JoinLinesCrLf, IsTheInverseOfSplitLines) {
    std::mt19937 random(7);
    const std::vector<std::string> pieces = {"",   " ",  "G, 0, 0, 0, 0, 0, Q",
                                             "*x", "\t", "\xC3\xA9"};
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> count(0, 8);
    for (int round = 0; round < 500; ++round) {
        Lines lines(static_cast<std::size_t>(count(random)));
        for (std::string& line : lines)
            line = pieces[pick(random)];
        EXPECT_EQ(SplitLines(JoinLinesCrLf(lines)), lines);
    }
}

// A fresh folder per test, removed afterwards.
class FileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() / ("fretwick_text_file_" + std::string(info->name()) +
                                               "_" + std::to_string(std::random_device{}()));
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    static std::string Contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void Put(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& item : fs::directory_iterator(folder_))
            names.push_back(item.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder_;
};

TEST_F(FileTest, ReadTextFileDecodes) {
    Put(folder_ / "old.fwk", "*Caf\xE9\r\nG, 0, 0, 0, 0, 0, Q\r\n");
    std::string text, error;
    ASSERT_TRUE(ReadTextFile(folder_ / "old.fwk", text, error)) << error;
    EXPECT_EQ(text, "*Caf\xC3\xA9\r\nG, 0, 0, 0, 0, 0, Q\r\n");
    EXPECT_EQ(error, "");
}

TEST_F(FileTest, ReadTextFileReportsAMissingFile) {
    std::string text = "kept", error;
    const fs::path missing = folder_ / "missing.fwk";
    EXPECT_FALSE(ReadTextFile(missing, text, error));
    EXPECT_EQ(error, "Opening \"" + missing.string() + "\" failed: No such file or directory.");
    EXPECT_EQ(text, "kept");
}

TEST_F(FileTest, ReadTextFileReportsAFolder) {
    std::string text, error;
    EXPECT_FALSE(ReadTextFile(folder_, text, error));
    EXPECT_NE(error.find(folder_.string()), std::string::npos) << error;
    EXPECT_NE(error.find("failed: it is a folder, not a file."), std::string::npos) << error;
}

TEST_F(FileTest, WriteCreatesANewFile) {
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(folder_ / "new.fwk", "abc\r\n", error)) << error;
    EXPECT_EQ(Contents(folder_ / "new.fwk"), "abc\r\n");
    EXPECT_EQ(Names(), std::vector<std::string>{"new.fwk"});
}

TEST_F(FileTest, WriteReplacesAndKeepsPermissions) {
    const fs::path target = folder_ / "song.fwk";
    Put(target, std::string(10000, 'o'));
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(target, "new", error)) << error;
    EXPECT_EQ(Contents(target), "new");
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Names(), std::vector<std::string>{"song.fwk"});
}

TEST_F(FileTest, WriteEmptyContents) {
    const fs::path target = folder_ / "empty.txt";
    Put(target, "old");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(target, "", error)) << error;
    EXPECT_EQ(Contents(target), "");
}

TEST_F(FileTest, WriteIntoAMissingFolderFailsCleanly) {
    const fs::path target = folder_ / "no such folder" / "song.fwk";
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(target, "abc", error));
    EXPECT_EQ(
        error.rfind("Creating the temporary file \"" + (folder_ / "no such folder").string(), 0),
        0u)
        << error;
    EXPECT_NE(error.find("failed: No such file or directory. \"" + target.string() +
                         "\" was not changed."),
              std::string::npos)
        << error;
    EXPECT_TRUE(Names().empty());
}

TEST_F(FileTest, WriteOverAFolderIsRefusedAndCleansUp) {
    const fs::path target = folder_ / "taken";
    fs::create_directory(target);
    Put(target / "inside.txt", "keep");
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(target, "abc", error));
    EXPECT_EQ(error, "Saving \"" + target.string() + "\" failed: it is a folder, not a file. \"" +
                         target.string() + "\" was not changed.");
    EXPECT_EQ(Names(), std::vector<std::string>{"taken"});
    EXPECT_EQ(Contents(target / "inside.txt"), "keep");
}

#ifndef _WIN32
// Runs in a child process: saves 100,000 bytes under a 4,096-byte file size limit, prints the
// error and exits with 0 when the save reported its failure.
[[noreturn]] void SaveUnderASizeLimit(const fs::path& target) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = 4096;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::string error;
    const bool written = WriteFileAtomically(target, std::string(100000, 'n'), error);
    std::fprintf(stderr, "%s\n", error.c_str());
    _exit(written ? 1 : 0);
}

// A write that fails half-way (here: the file size limit) leaves the old file as it was and
// no temporary file behind. Run in a child process, which alone gets the limit.
TEST_F(FileTest, AFailedWriteLeavesTheOldFile) {
    const fs::path target = folder_ / "song.fwk";
    const std::string old(50000, 'o');
    Put(target, old);
    EXPECT_EXIT(SaveUnderASizeLimit(target), ::testing::ExitedWithCode(0),
                "Writing the temporary file .* failed: File too large\\. ");
    EXPECT_EQ(Contents(target), old);
    EXPECT_EQ(Names(), std::vector<std::string>{"song.fwk"});
}
#endif

TEST_F(FileTest, WrittenSongTextReadsBack) {
    const std::string text = "*Info 1:Caf\xC3\xA9\r\nG, 0, 0, 0, 0, 0, Q\r\n";
    std::string error, read;
    ASSERT_TRUE(WriteFileAtomically(folder_ / "a.fwk", text, error)) << error;
    ASSERT_TRUE(ReadTextFile(folder_ / "a.fwk", read, error)) << error;
    EXPECT_EQ(read, text);
}

} // namespace
} // namespace fw

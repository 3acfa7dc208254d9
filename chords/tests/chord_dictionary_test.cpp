#include "chords/chord_dictionary.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fw {
namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::string>;

struct ReadCase {
    const char* name;
    std::string bytes;
    Entries entries;
};

class DictionaryReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(DictionaryReading, GivesTheEntries) {
    EXPECT_EQ(ParseDictionaryText(GetParam().bytes), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DictionaryReading,
    ::testing::Values(
        ReadCase{"CrLf",
                 "G, 0, 0, 0, 0, 0, Q\r\nC, 0, 2, 0, 1, 2, Q\r\n",
                 {"G, 0, 0, 0, 0, 0, Q", "C, 0, 2, 0, 1, 2, Q"}},
        ReadCase{"LfOnly",
                 "G, 0, 0, 0, 0, 0, Q\nC, 0, 2, 0, 1, 2, Q\n",
                 {"G, 0, 0, 0, 0, 0, Q", "C, 0, 2, 0, 1, 2, Q"}},
        ReadCase{"LoneCr",
                 "G, 0, 0, 0, 0, 0, Q\rC, 0, 2, 0, 1, 2, Q\r",
                 {"G, 0, 0, 0, 0, 0, Q", "C, 0, 2, 0, 1, 2, Q"}},
        ReadCase{"MixedEnds", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        ReadCase{"NoFinalEnd", "a\r\nb", {"a", "b"}},
        ReadCase{"FinalEndAddsNoEntry", "a\r\n", {"a"}},
        ReadCase{"EmptyLinesAreEntries", "a\r\n\r\n\r\nb\r\n", {"a", "", "", "b"}},
        ReadCase{"EmptyLastLineBeforeFinalEnd", "a\r\n\r\n", {"a", ""}},
        ReadCase{"OnlyALineEnd", "\r\n", {""}},
        ReadCase{"CrCrLfIsTwoLines", "a\r\r\nb", {"a", "", "b"}}, ReadCase{"EmptyFile", "", {}},
        ReadCase{"NulEndsTheText", "a\r\nb\0c\r\nd\r\n", {"a", "b"}},
        ReadCase{"NulAtTheStart", std::string("\0a\r\n", 4), {}},
        ReadCase{"NulAfterALineEnd", std::string("a\r\n\0b\r\n", 7), {"a"}},
        ReadCase{"Windows1252", "Caf\xE9, 0, 0, 0, 0, 0, Q\r\n", {"Caf\xC3\xA9, 0, 0, 0, 0, 0, Q"}},
        ReadCase{
            "Utf8ByteOrderMark", "\xEF\xBB\xBFG, 0, 0, 0, 0, 0, Q\r\n", {"G, 0, 0, 0, 0, 0, Q"}}),
    [](const auto& info) { return std::string(info.param.name); });

// A string literal with an embedded NUL needs its length.
TEST(DictionaryReading, NulInTheMiddleOfALine) {
    const std::string bytes("G, 0, 0\0, 0, 0, 0, Q\r\nC\r\n", 24);
    EXPECT_EQ(ParseDictionaryText(bytes), Entries{"G, 0, 0"});
}

struct WriteCase {
    const char* name;
    Entries entries;
    std::string bytes;
};

class DictionaryWriting : public ::testing::TestWithParam<WriteCase> {};

TEST_P(DictionaryWriting, EndsEveryEntryWithCrLf) {
    EXPECT_EQ(DictionaryFileText(GetParam().entries), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DictionaryWriting,
    ::testing::Values(WriteCase{"Two", {"a", "b"}, "a\r\nb\r\n"},
                      WriteCase{"EmptyEntries", {"", "a", ""}, "\r\na\r\n\r\n"},
                      WriteCase{"NoEntries", {}, ""},
                      WriteCase{"NulLeftOut", {std::string("a\0b", 3)}, "ab\r\n"},
                      WriteCase{"LineBreaksInsideBecomeSpaces", {"a\rb\nc"}, "a b c\r\n"},
                      // Found by fuzzing: an entry with a Unicode line separator read back as
                      // two entries.
                      WriteCase{"UnicodeSeparatorsBecomeSpaces",
                                {"a\xE2\x80\xA8"
                                 "b\xE2\x80\xA9"
                                 "c\xE2\x80\xAA"},
                                "a b c\xE2\x80\xAA\r\n"},
                      // Found by fuzzing: a first entry starting with U+FEFF lost it on reading,
                      // which drops a byte order mark.
                      WriteCase{"FirstEntryStartingWithAByteOrderMark",
                                {"\xEF\xBB\xBF"
                                 "a",
                                 "\xEF\xBB\xBF"
                                 "b"},
                                "\xEF\xBB\xBF\xEF\xBB\xBF"
                                "a\r\n\xEF\xBB\xBF"
                                "b\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// Entries that start with U+FEFF read back as they were written.
TEST(DictionaryFile, FuzzFoundEntriesReadBackUnchanged) {
    for (const Entries& entries : {Entries{"\xEF\xBB\xBF"}, Entries{"\xEF\xBB\xBF\xEF\xBB\xBF"
                                                                    "G, 0, 0, 0, 0, 0, Q",
                                                                    ""}})
        EXPECT_EQ(ParseDictionaryText(DictionaryFileText(entries)), entries);
}

// Whatever is written reads back as the same entries, empty ones included.
TEST(DictionaryFile, RoundTripsThroughTheFile) {
    const fs::path dir = fs::temp_directory_path() / ("fw_dct_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path path = dir / "BCHORDS.DCT";
    const Entries entries = {"G, 0, 0, 0, 0, 0, Q", "", "Caf\xC3\xA9, x, 2, 0, 1, 2, Q", ""};
    std::string error;
    ASSERT_TRUE(WriteDictionaryFile(path, entries, error)) << error;
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(bytes, "G, 0, 0, 0, 0, 0, Q\r\n\r\nCaf\xC3\xA9, x, 2, 0, 1, 2, Q\r\n\r\n");
    Entries back;
    ASSERT_TRUE(ReadDictionaryFile(path, back, error)) << error;
    EXPECT_EQ(back, entries);
    fs::remove_all(dir);
}

TEST(DictionaryFile, AMissingFileIsAnErrorAndLeavesTheEntries) {
    Entries entries = {"kept"};
    std::string error;
    EXPECT_FALSE(ReadDictionaryFile("/nonexistent/folder/BCHORDS.DCT", entries, error));
    EXPECT_NE(error.find("BCHORDS.DCT"), std::string::npos) << error;
    EXPECT_EQ(entries, Entries{"kept"});
}

TEST(DictionaryFile, AFolderThatIsMissingOnWritingIsAnError) {
    std::string error;
    EXPECT_FALSE(WriteDictionaryFile("/nonexistent/folder/BCHORDS.DCT", {"a"}, error));
    EXPECT_FALSE(error.empty());
}

// A stand-in for the user's collation: letters compared without case, ties by the raw text.
bool CaseBlindLess(const std::string& a, const std::string& b) {
    const auto lower = [](std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return s;
    };
    return lower(a) < lower(b);
}

TEST(DictionarySorting, KeepsEntriesThatDifferOnlyInCaseTogetherInTheirOrder) {
    Entries entries = {"gm, 0", "C, 0", "Gm, 1", "a, 2", "GM, 3", "B, 4", ""};
    SortEntries(entries, CaseBlindLess);
    EXPECT_EQ(entries, (Entries{"", "a, 2", "B, 4", "C, 0", "gm, 0", "Gm, 1", "GM, 3"}));
}

struct InsertCase {
    const char* name;
    std::string text;
    std::size_t position;
};

class SortedInsertion : public ::testing::TestWithParam<InsertCase> {};

TEST_P(SortedInsertion, GoesToItsSortedPlace) {
    const Entries sorted = {"A, 0", "c, 1", "C, 2", "E, 3"};
    EXPECT_EQ(SortedInsertPosition(sorted, GetParam().text, CaseBlindLess), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SortedInsertion,
    ::testing::Values(InsertCase{"First", "", 0}, InsertCase{"BeforeAll", "0", 0},
                      InsertCase{"Between", "b", 1}, InsertCase{"AfterEqualsInAnyCase", "C, 1", 2},
                      InsertCase{"Last", "z", 4}, InsertCase{"LowerCaseBetween", "d", 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SortedInsertion, IntoAnEmptyList) {
    EXPECT_EQ(SortedInsertPosition({}, "x", CaseBlindLess), 0u);
}

} // namespace
} // namespace fw

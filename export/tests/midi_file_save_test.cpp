#include "export/midi_file_writer.h"

#include "midi_test_support.h"
#include "temp_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fw {
namespace {

using test::ReadAll;
using test::TempFolder;
using test::WriteText;
using ::testing::HasSubstr;

const std::vector<ChordEntry>& ShortSong() {
    static const std::vector<ChordEntry> song =
        test::Song({"G, 0, 0, 0, 0, 0, Q", "H, x, x, x, x, 0-2, E"});
    return song;
}

constexpr std::array<int, 6> SomeOffsets{0, 1, 0, -1, 0, 2};

std::string Built() {
    const MidiBytes bytes = BuildMidiFile(ShortSong(), 100, 33, SomeOffsets);
    return {bytes.begin(), bytes.end()};
}

TEST(WriteMidiFileTest, WritesTheBuiltBytesToANewFile) {
    TempFolder folder;
    const std::string path = folder / "song.mid";
    std::string error;
    ASSERT_TRUE(WriteMidiFile(path, ShortSong(), 100, 33, SomeOffsets, error)) << error;
    EXPECT_EQ(ReadAll(path), Built());
    EXPECT_EQ(test::EntryCount(folder.path()), 1u); // no temporary file left behind
}

TEST(WriteMidiFileTest, ReplacesAnExistingFile) {
    TempFolder folder;
    const std::string path = folder / "song.mid";
    WriteText(path, std::string(5000, 'o'));
    std::string error;
    ASSERT_TRUE(WriteMidiFile(path, ShortSong(), 100, 33, SomeOffsets, error)) << error;
    EXPECT_EQ(ReadAll(path), Built());
    EXPECT_EQ(test::EntryCount(folder.path()), 1u);
}

TEST(WriteMidiFileTest, MissingFolderIsReportedAndNothingIsMade) {
    TempFolder folder;
    const std::string path = folder / "no such folder/song.mid";
    std::string error;
    EXPECT_FALSE(WriteMidiFile(path, ShortSong(), 120, 0, test::NoOffsets, error));
    EXPECT_THAT(error, HasSubstr("No such file or directory"));
    EXPECT_EQ(test::EntryCount(folder.path()), 0u);
}

TEST(WriteMidiFileTest, PathUnderAFileIsReportedAndTheFileKept) {
    TempFolder folder;
    WriteText(folder / "song.mid", "old song");
    const std::string path = folder / "song.mid/inner.mid";
    std::string error;
    EXPECT_FALSE(WriteMidiFile(path, ShortSong(), 120, 0, test::NoOffsets, error));
    EXPECT_THAT(error, HasSubstr("Not a directory"));
    EXPECT_EQ(ReadAll(folder / "song.mid"), "old song");
}

TEST(WriteMidiFileTest, FailedWriteLeavesTheOldFileAndNoTemporary) {
    TempFolder folder;
    const std::string path = folder / "song.mid";
    WriteText(path, "old song");
    // A file size limit of 4 bytes makes the write itself fail, for the superuser too.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    const bool written = WriteMidiFile(path, ShortSong(), 120, 0, test::NoOffsets, error);
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &saved), 0);
    std::signal(SIGXFSZ, savedSignal);

    EXPECT_FALSE(written);
    EXPECT_THAT(error, HasSubstr(path));
    EXPECT_THAT(error, HasSubstr("File too large"));
    EXPECT_EQ(ReadAll(path), "old song");
    EXPECT_EQ(test::EntryCount(folder.path()), 1u);
}

TEST(WriteMidiFileTest, ReadOnlyFolderLeavesTheOldFileIntact) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser may write into read-only folders";
    TempFolder folder;
    const std::string path = folder / "song.mid";
    WriteText(path, "old song");
    ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
    std::string error;
    EXPECT_FALSE(WriteMidiFile(path, ShortSong(), 120, 0, test::NoOffsets, error));
    EXPECT_THAT(error, HasSubstr("Permission denied"));
    EXPECT_EQ(ReadAll(path), "old song");
    EXPECT_EQ(test::EntryCount(folder.path()), 1u);
}

} // namespace
} // namespace fw

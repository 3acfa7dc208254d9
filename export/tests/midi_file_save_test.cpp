#include "export/midi_file_writer.h"

#include "chords/atomic_write.h"
#include "chords/tests/unprivileged_user.h"
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

const std::vector<ChordEntry>& OneGChord() {
    static const std::vector<ChordEntry> song = test::Song({"G, 0, 0, 0, 0, 0, Q"});
    return song;
}

// One G chord at tempo 120 with the Banjo patch, byte for byte: the header, the tempo track
// (program 105, 4/4, 500000 microseconds a quarter) and the note track with five strings struck
// together and released after a quarter note (96 ticks).
const std::string GoldenOneGChord =
    test::Hex({"4D 54 68 64 00 00 00 06 00 01 00 02 00 60", "4D 54 72 6B 00 00 00 16",
               "00 C0 69 00 FF 58 04 04 02 18 08 00 FF 51 03 07 A1 20 00 FF 2F 00",
               "4D 54 72 6B 00 00 00 2F 00 FF 03 08 46 72 65 74 77 69 63 6B", "00 90 3E 7F",
               "00 3B 7F", "00 37 7F", "00 32 7F", "00 43 7F", "60 3E 00", "00 37 00", "00 32 00",
               "00 43 00", "00 3B 00", "00 FF 2F 00"});

std::string HexOfFile(const std::string& path) {
    const std::string bytes = ReadAll(path);
    return test::Hex(MidiBytes(bytes.begin(), bytes.end()));
}

TEST(WriteMidiFileTest, WritesTheSongToANewFile) {
    TempFolder folder;
    const std::string path = folder / "song.mid";
    std::string error;
    ASSERT_TRUE(WriteMidiFile(path, OneGChord(), 120, 105, test::NoOffsets, error)) << error;
    EXPECT_EQ(HexOfFile(path), GoldenOneGChord);
    EXPECT_EQ(test::EntryCount(folder.path()), 1u); // no temporary file left behind
}

TEST(WriteMidiFileTest, ReplacesAnExistingFile) {
    TempFolder folder;
    const std::string path = folder / "song.mid";
    WriteText(path, std::string(5000, 'o'));
    std::string error;
    ASSERT_TRUE(WriteMidiFile(path, OneGChord(), 120, 105, test::NoOffsets, error)) << error;
    EXPECT_EQ(HexOfFile(path), GoldenOneGChord);
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

// Refused access is checked as an ordinary user, also when the tests run as the superuser.
TEST(WriteMidiFileTest, AReadOnlyFileIsRefusedAndKept) {
    TempFolder folder;
    test::OwnForTestUser(folder.path());
    const std::string path = folder / "song.mid";
    WriteText(path, "old song");
    test::OwnForTestUser(path);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    std::string error;
    bool written = true;
    {
        test::AsUnprivilegedUser user;
        ASSERT_TRUE(user.Active());
        written = WriteMidiFile(path, ShortSong(), 120, 0, test::NoOffsets, error);
    }
    EXPECT_FALSE(written);
    EXPECT_THAT(error, HasSubstr("Permission denied"));
    EXPECT_EQ(ReadAll(path), "old song");
    EXPECT_EQ(test::EntryCount(folder.path()), 1u);
}

TEST(WriteMidiFileTest, AFileInAReadOnlyFolderIsWrittenInPlace) {
    TempFolder folder;
    test::OwnForTestUser(folder.path());
    const std::string path = folder / "song.mid";
    WriteText(path, "old song");
    test::OwnForTestUser(path);
    ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
    // The rewrite in place keeps a copy of the old file in a folder of the user's own.
    TempFolder backups;
    test::OwnForTestUser(backups.path());
    const std::filesystem::path savedBackups = SaveBackupFolder();
    SetSaveBackupFolder(backups.path());
    std::string error;
    bool written = false;
    {
        test::AsUnprivilegedUser user;
        ASSERT_TRUE(user.Active());
        written = WriteMidiFile(path, OneGChord(), 120, 105, test::NoOffsets, error);
    }
    SetSaveBackupFolder(savedBackups);
    EXPECT_TRUE(written) << error;
    EXPECT_EQ(HexOfFile(path), GoldenOneGChord);
    EXPECT_EQ(test::EntryCount(folder.path()), 1u);
}

} // namespace
} // namespace fw

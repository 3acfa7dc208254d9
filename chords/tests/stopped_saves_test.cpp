// A save stopped by a signal cleans up before the signal ends the program; a save into one of
// the program's open streams (standard output, /dev/fd/N) writes into the stream as it is; and
// what dead programs left without anything to put back is removed.

#include "chords/atomic_write.h"
#include "chords/save_interrupts.h"

#include "save_folder_fixture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fw {
namespace {

namespace fs = std::filesystem;

using StoppedSaves = test::SaveFolderTest;

struct StopCase {
    const char* label;
    bool hardLinked; // rewritten in place
    int signal;
};

class StoppedSave : public StoppedSaves, public ::testing::WithParamInterface<StopCase> {};

// Saves a long text over `song` and is stopped by `signal` half-way.
[[noreturn]] void SaveAndStop(const fs::path& song, int signal) {
    StopSavesCleanlyOnSignals();
    std::string error;
    WriteFileAtomicallyFrom(
        song,
        [signal](std::ostream& out) {
            for (int chunk = 0; chunk < 8; ++chunk) {
                out << std::string(std::size_t{1} << 20, 'n');
                if (chunk == 3)
                    std::raise(signal);
            }
            return true;
        },
        error);
    _exit(0); // not reached: the signal ends the program once the save has cleaned up
}

TEST_P(StoppedSave, LeavesTheOldFileAndNothingElse) {
    const StopCase& c = GetParam();
    const fs::path song = folder_ / "song.fwk";
    const std::string old(3'000'000, 'o');
    std::ofstream(song, std::ios::binary) << old;
    if (c.hardLinked)
        fs::create_hard_link(song, folder_ / "link.fwk");
    EXPECT_EXIT(SaveAndStop(song, c.signal), ::testing::KilledBySignal(c.signal), "");
    EXPECT_EQ(Contents(song), old);
    EXPECT_EQ(Names().size(), c.hardLinked ? 2U : 1U) << "a temporary file was left";
    EXPECT_TRUE(Names(backups_).empty()) << "the backup copy or its note was left";
}

INSTANTIATE_TEST_SUITE_P(Signals, StoppedSave,
                         ::testing::Values(StopCase{"in_place_ctrl_c", true, SIGINT},
                                           StopCase{"in_place_terminated", true, SIGTERM},
                                           StopCase{"new_file_terminated", false, SIGTERM},
                                           StopCase{"in_place_hang_up", true, SIGHUP}),
                         [](const auto& info) { return std::string(info.param.label); });

struct StreamCase {
    const char* label;
    const char* path; // %d: the stream's descriptor
    bool append;
};

class OpenStreams : public StoppedSaves, public ::testing::WithParamInterface<StreamCase> {};

// `{ echo HEADER; fretwick ... /dev/stdout; echo FOOTER; } > g.txt` and `... >> log`.
TEST_P(OpenStreams, AreWrittenIntoNeverReplaced) {
    const StreamCase& c = GetParam();
    const fs::path log = folder_ / "g.txt";
    std::ofstream(log, std::ios::binary) << "HEADER\n";
    const int fd = ::open(log.c_str(), O_WRONLY | (c.append ? O_APPEND : 0));
    ASSERT_GE(fd, 0);
    if (!c.append) {
        ASSERT_EQ(::lseek(fd, 7, SEEK_SET), 7);
    }
    const ino_t inode = Info(log).st_ino;
    // The standard-output names write into descriptor 1: the file takes its place meanwhile.
    const bool standard = std::string(c.path).find("%d") == std::string::npos;
    const int saved = standard ? ::dup(1) : -1;
    if (standard)
        ::dup2(fd, 1);
    char target[64];
    std::snprintf(target, sizeof target, c.path, fd);
    std::string error;
    const bool written = WriteFileAtomically(target, "tab\n", error);
    if (standard) {
        ::dup2(saved, 1);
        ::close(saved);
    }
    ASSERT_TRUE(written) << error;
    ASSERT_EQ(::write(fd, "FOOTER\n", 7), 7);
    ::close(fd);
    EXPECT_EQ(Contents(log), "HEADER\ntab\nFOOTER\n");
    EXPECT_EQ(Info(log).st_ino, inode);
}

INSTANTIATE_TEST_SUITE_P(Names, OpenStreams,
                         ::testing::Values(StreamCase{"dash", "-", false},
                                           StreamCase{"dev_stdout", "/dev/stdout", false},
                                           StreamCase{"dev_stdout_appending", "/dev/stdout", true},
                                           StreamCase{"dev_fd", "/dev/fd/%d", false},
                                           StreamCase{"proc_self_fd_appending", "/proc/self/fd/%d",
                                                      true}),
                         [](const auto& info) { return std::string(info.param.label); });

// A kill while the backup copy was made leaves a copy without its note: removed at the next
// look, unless its program still runs.
TEST_F(StoppedSaves, CopiesOfDeadProgramsWithoutANoteAreRemoved) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string dead = "song.fwk.saving-" + std::to_string(child) + "-3";
    const std::string alive = "song.fwk.saving-" + std::to_string(::getpid()) + "-4";
    const std::string noteOnly = "tune.fwk.saving-" + std::to_string(child) + "-5.target";
    for (const std::string& name : {dead, alive, noteOnly, std::string("song.fwk.saving-x")})
        std::ofstream(backups_ / name) << "partial";
    EXPECT_TRUE(FindInterruptedSaves().empty());
    EXPECT_EQ(Names(backups_), (std::vector<std::string>{alive, "song.fwk.saving-x"}));
}

} // namespace
} // namespace fw

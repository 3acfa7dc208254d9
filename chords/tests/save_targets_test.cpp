// What a save does to what it saves over: devices and named pipes are written into, folders,
// sockets and disks are refused, another user's file, a group we are not in and hard links are
// kept by a rewrite in place behind a backup copy, stale temporary files of killed saves are
// removed, and a save killed at any moment leaves the old bytes or the new ones (a rewrite in
// place once its copy is put back).

#include "chords/atomic_write.h"

#include "save_folder_fixture.h"
#include "unprivileged_user.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fw {
namespace {

namespace fs = std::filesystem;

using SaveTargets = test::SaveFolderTest;

// --- Targets that are not regular files -----------------------------------------------------

struct TargetCase {
    const char* label;
    // Makes the target in `folder` and returns its path; an empty path skips the case.
    std::function<fs::path(const fs::path& folder)> make;
    const char* error; // empty: saved
};

void PrintTo(const TargetCase& c, std::ostream* os) {
    *os << c.label;
}

class NonRegularTargets : public SaveTargets, public ::testing::WithParamInterface<TargetCase> {};

TEST_P(NonRegularTargets, AreWrittenIntoOrRefusedButNeverReplaced) {
    const TargetCase& c = GetParam();
    const fs::path target = c.make(folder_);
    if (target.empty())
        GTEST_SKIP() << "needs the superuser";
    struct stat before {};
    ASSERT_EQ(::stat(target.c_str(), &before), 0);
    std::string error;
    const bool saved = WriteFileAtomically(target, "new song\r\n", error);
    EXPECT_EQ(saved, *c.error == '\0') << error;
    if (*c.error) {
        EXPECT_EQ(error, "Saving \"" + target.string() + "\" failed: " + c.error + ". \"" +
                             target.string() + "\" was not changed.");
    }
    const struct stat after = Info(target);
    EXPECT_EQ(after.st_mode, before.st_mode) << "still the same kind of thing";
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_rdev, before.st_rdev);
    for (const std::string& name : Names(target.parent_path()))
        EXPECT_EQ(name.find(".tmp-"), std::string::npos) << name;
}

fs::path Socket(const fs::path& folder) {
    const fs::path path = folder / "socket";
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    return path;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, NonRegularTargets,
    ::testing::Values(TargetCase{"folder",
                                 [](const fs::path& folder) {
                                     fs::create_directory(folder / "taken");
                                     return folder / "taken";
                                 },
                                 "it is a folder, not a file"},
                      TargetCase{"socket", Socket, "it is a socket, not a file"},
                      TargetCase{"block_device",
                                 [](const fs::path& folder) {
                                     const fs::path disk = folder / "disk";
                                     return ::mknod(disk.c_str(), S_IFBLK | 0600, makedev(7, 0)) ==
                                                    0
                                                ? disk
                                                : fs::path();
                                 },
                                 "it is a block device (a disk), not a file"},
                      TargetCase{"null_device",
                                 [](const fs::path&) { return fs::path("/dev/null"); }, ""},
                      TargetCase{"link_to_null_device",
                                 [](const fs::path& folder) {
                                     fs::create_symlink("/dev/null", folder / "out");
                                     return folder / "out";
                                 },
                                 ""}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(SaveTargets, AFullDeviceReportsTheFailure) {
    std::string error;
    EXPECT_FALSE(WriteFileAtomically("/dev/full", "x", error));
    EXPECT_EQ(error, "Writing \"/dev/full\" failed: No space left on device.");
}

TEST_F(SaveTargets, ANamedPipeIsWrittenIntoForItsReader) {
    const fs::path pipe = folder_ / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::string got;
    // The reader starts a little after the save, as in a shell pipeline.
    std::thread reader([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        got = Contents(pipe);
    });
    std::string error;
    const std::string bytes(300000, 'm'); // more than the pipe holds at once
    EXPECT_TRUE(WriteFileAtomically(pipe, bytes, error)) << error;
    reader.join();
    EXPECT_EQ(got, bytes);
    EXPECT_TRUE(S_ISFIFO(Info(pipe).st_mode));
}

TEST_F(SaveTargets, ANamedPipeWithoutAReaderIsRefusedWithoutHanging) {
    const fs::path pipe = folder_ / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(pipe, "x", error));
    EXPECT_EQ(error, "Opening \"" + pipe.string() +
                         "\" for writing failed: no program reads from the named pipe.");
    EXPECT_TRUE(S_ISFIFO(Info(pipe).st_mode));
}

TEST_F(SaveTargets, AReaderThatGoesAwayIsAnErrorNotTheEndOfTheProgram) {
    const fs::path pipe = folder_ / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::thread reader([&] {
        const int fd = ::open(pipe.c_str(), O_RDONLY);
        char some[10];
        EXPECT_GT(::read(fd, some, sizeof some), 0);
        ::close(fd);
    });
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(pipe, std::string(4'000'000, 'm'), error));
    reader.join();
    EXPECT_EQ(error, "Writing \"" + pipe.string() + "\" failed: Broken pipe.");
}

// --- Identity: owner, group and links ---------------------------------------------------------

struct IdentityCase {
    const char* label;
    int mode;
    bool rootOwns;  // the song belongs to the superuser (else to the test user)
    bool rootGroup; // its group is the superuser's group (else the test user's)
    bool hardLink;  // a second name links to it
    bool replaced;  // a new file takes its name (else it is rewritten in place)
};

void PrintTo(const IdentityCase& c, std::ostream* os) {
    *os << c.label;
}

class SavesKeepIdentity : public SaveTargets, public ::testing::WithParamInterface<IdentityCase> {};

TEST_P(SavesKeepIdentity, OfTheFileTheUserSaves) {
    const IdentityCase& c = GetParam();
    if ((c.rootOwns || c.rootGroup) && ::geteuid() != 0)
        GTEST_SKIP() << "needs the superuser to prepare another user's file";
    const fs::path song = folder_ / "song.fwk";
    std::ofstream(song, std::ios::binary) << "old song";
    ASSERT_EQ(::chown(song.c_str(), c.rootOwns ? 0 : test::TestUserId(),
                      c.rootGroup ? 0 : test::TestGroupId()),
              0);
    ASSERT_EQ(::chmod(song.c_str(), static_cast<mode_t>(c.mode)), 0);
    if (c.hardLink)
        fs::create_hard_link(song, folder_ / "other name.fwk");
    const struct stat before = Info(song);
    std::string error;
    bool saved = false;
    {
        test::AsUnprivilegedUser user;
        ASSERT_TRUE(user.Active());
        saved = WriteFileAtomically(song, "new song", error);
    }
    ASSERT_TRUE(saved) << error;
    const struct stat after = Info(song);
    EXPECT_EQ(Contents(song), "new song");
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_nlink, before.st_nlink);
    EXPECT_EQ(after.st_ino != before.st_ino, c.replaced);
    if (c.hardLink) {
        EXPECT_EQ(Contents(folder_ / "other name.fwk"), "new song");
    }
    EXPECT_TRUE(Names(backups_).empty()) << "the backup copy goes once the song is written";
}

INSTANTIATE_TEST_SUITE_P(
    Owners, SavesKeepIdentity,
    ::testing::Values(IdentityCase{"own_song", 0644, false, false, false, true},
                      IdentityCase{"superusers_shared_song", 0666, true, true, false, false},
                      IdentityCase{"group_we_are_not_in", 0660, false, true, false, false},
                      IdentityCase{"hard_linked", 0644, false, false, true, false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(SaveTargets, NoBackupCopyMeansNoRewrite) {
    const fs::path song = folder_ / "song.fwk";
    std::ofstream(song, std::ios::binary) << "old song";
    fs::create_hard_link(song, folder_ / "other.fwk");
    SetSaveBackupFolder(folder_ / "song.fwk" / "cannot be a folder");
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(song, "new song", error));
    EXPECT_NE(error.find("it has to be rewritten in place, and no copy of the old file could be "
                         "kept in"),
              std::string::npos)
        << error;
    EXPECT_EQ(Contents(song), "old song");
}

// --- Temporary files of killed saves ------------------------------------------------------------

TEST_F(SaveTargets, StaleTemporaryFilesOfOursGoAtTheNextSave) {
    const auto age = [](const fs::path& path, std::chrono::hours hours) {
        std::ofstream(path) << "left over";
        fs::last_write_time(path, fs::file_time_type::clock::now() - hours);
    };
    age(folder_ / ".song.fwk.tmp-0123456789abcdef", std::chrono::hours(25));  // stale: goes
    age(folder_ / ".other.mid.tmp-fedcba9876543210", std::chrono::hours(48)); // stale: goes
    age(folder_ / ".song.fwk.tmp-00000000000000ff", std::chrono::hours(1));   // may be in use
    age(folder_ / ".song.fwk.tmp-notours", std::chrono::hours(48));           // not our name
    age(folder_ / "song.fwk.tmp-0123456789abcdef", std::chrono::hours(48));   // not hidden
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(folder_ / "song.fwk", "new", error)) << error;
    EXPECT_EQ(Names(folder_),
              (std::vector<std::string>{".song.fwk.tmp-00000000000000ff", ".song.fwk.tmp-notours",
                                        "song.fwk", "song.fwk.tmp-0123456789abcdef"}));
}

// --- Killed saves -------------------------------------------------------------------------------

// Saves `bytes` over `song` again and again until killed.
[[noreturn]] void SaveUntilKilled(const fs::path& song, const std::string& bytes, bool asUser) {
    if (asUser) {
        test::AsUnprivilegedUser user;
        for (;;) {
            std::string error;
            if (!WriteFileAtomically(song, bytes, error))
                _exit(3);
        }
    }
    for (;;) {
        std::string error;
        if (!WriteFileAtomically(song, bytes, error))
            _exit(3);
    }
}

struct KillCase {
    const char* label;
    bool inPlace; // the folder takes no new files
};

void PrintTo(const KillCase& c, std::ostream* os) {
    *os << c.label;
}

class KilledSaves : public SaveTargets, public ::testing::WithParamInterface<KillCase> {};

TEST_P(KilledSaves, LeaveTheOldBytesOrTheNewOnes) {
    const fs::path song = folder_ / "song.fwk";
    const std::string old(6'000'000, 'o');
    const std::string fresh(7'000'000, 'n');
    const std::string shorter(5'000'000, 's');
    std::mt19937 random(26);
    int sawNew = 0;
    int restored = 0;
    for (int kill = 0; kill < 12; ++kill) {
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
        for (const std::string& name : Names(folder_))
            fs::remove(folder_ / name);
        for (const std::string& name : Names(backups_))
            fs::remove(backups_ / name);
        std::ofstream(song, std::ios::binary) << old;
        test::OwnForTestUser(song);
        if (GetParam().inPlace)
            fs::permissions(folder_, static_cast<fs::perms>(0555));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            SaveUntilKilled(song, kill % 2 ? fresh : shorter, GetParam().inPlace);
        // The child saves again and again: a kill this late still lands part-way through a
        // save, and on a busy machine some save has finished.
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + random() % 300));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the save failed before it was killed";
        const std::string& saved = kill % 2 ? fresh : shorter;
        // Someone writes the file after the kill: it is never put back over that.
        const bool changed = kill % 3 == 2;
        const std::string theirs = "written after the kill";
        if (changed)
            std::ofstream(song, std::ios::binary) << theirs;
        // A rewrite in place cut short is put back from its copy, as the next start does.
        const std::vector<InterruptedSave> interrupted = FindInterruptedSaves();
        EXPECT_TRUE(GetParam().inPlace || interrupted.empty());
        for (const InterruptedSave& save : interrupted) {
            EXPECT_EQ(save.file, song) << "kill " << kill;
            std::string error;
            const RestoreResult result = RestoreInterruptedSave(save, error);
            if (changed)
                EXPECT_NE(result, RestoreResult::Restored) << "kill " << kill;
            else
                EXPECT_TRUE(result == RestoreResult::Restored || result == RestoreResult::Untouched)
                    << "kill " << kill << ": " << static_cast<int>(result) << " " << error;
            restored += result == RestoreResult::Restored;
        }
        const std::string now = Contents(song);
        if (changed)
            EXPECT_EQ(now, theirs) << "kill " << kill;
        else
            EXPECT_TRUE(now == old || now == saved)
                << "kill " << kill << ": " << now.size() << " bytes";
        sawNew += !changed && now != old;
        for (const std::string& name : Names(folder_))
            EXPECT_EQ(name, "song.fwk") << "kill " << kill << " left a temporary file";
    }
    EXPECT_GT(sawNew, 0) << "no save ever finished: the kills came too early to show anything";
    RecordProperty("restored", restored);
}

INSTANTIATE_TEST_SUITE_P(Paths, KilledSaves,
                         ::testing::Values(KillCase{"new_file_and_rename", false},
                                           KillCase{"rewrite_in_place", true}),
                         [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace fw

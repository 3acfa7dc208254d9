// Saving respects the file being replaced: links stay links, owner, group and permission bits
// are kept, a read-only file is refused, a folder that takes no new files is written in place,
// and names as long as the system allows still save. Refused access is checked as an ordinary
// user even when the tests run as the superuser.

#include "chords/text_file.h"

#include "save_folder_fixture.h"
#include "unprivileged_user.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>

namespace fw {
namespace {

namespace fs = std::filesystem;

using SaveTest = test::SaveFolderTest;

// --- Refused access, as an ordinary user ------------------------------------------------------

struct AccessCase {
    const char* label;
    int songMode;   // -1: no song there yet
    int folderMode; // of the folder that holds it
    bool saved;
    const char* reason; // in the error when not saved
};

void PrintTo(const AccessCase& c, std::ostream* os) {
    *os << c.label;
}

class SavingWithAccess : public SaveTest, public ::testing::WithParamInterface<AccessCase> {};

TEST_P(SavingWithAccess, FollowsWhatTheUserMayWrite) {
    const AccessCase& c = GetParam();
    const fs::path song = folder_ / "song.fwk";
    if (c.songMode >= 0)
        Put(song, "old song", static_cast<fs::perms>(c.songMode));
    fs::permissions(folder_, static_cast<fs::perms>(c.folderMode));
    std::string error;
    bool saved = false;
    {
        test::AsUnprivilegedUser user;
        ASSERT_TRUE(user.Active());
        saved = WriteFileAtomically(song, "new song", error);
    }
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
    EXPECT_EQ(saved, c.saved) << error;
    if (c.saved) {
        EXPECT_EQ(Contents(song), "new song");
        EXPECT_EQ(error, "");
    } else {
        EXPECT_NE(error.find(std::string("failed: ") + c.reason + "."), std::string::npos) << error;
        EXPECT_NE(error.find("\"" + song.string() + "\" was not changed."), std::string::npos)
            << error;
        if (c.songMode >= 0) {
            EXPECT_EQ(Contents(song), "old song");
        }
    }
    if (c.songMode >= 0) {
        EXPECT_EQ(Names(), std::vector<std::string>{"song.fwk"}) << "no temporary file left";
        EXPECT_EQ(Info(song).st_mode & 07777, static_cast<unsigned>(c.songMode));
    } else {
        EXPECT_EQ(Names(), std::vector<std::string>{}) << "nothing was made";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, SavingWithAccess,
    ::testing::Values(
        AccessCase{"writable_song", 0644, 0755, true, ""},
        AccessCase{"read_only_song", 0444, 0755, false, "Permission denied"},
        AccessCase{"no_rights_at_all", 0000, 0755, false, "Permission denied"},
        // No temporary file can be made beside it: the song is rewritten in place.
        AccessCase{"read_only_folder", 0640, 0555, true, ""},
        AccessCase{"read_only_folder_and_song", 0444, 0555, false, "Permission denied"},
        AccessCase{"new_song_in_read_only_folder", -1, 0555, false, "Permission denied"}),
    [](const auto& info) { return std::string(info.param.label); });

// A write in place that fails half-way puts the old bytes back. Runs in a child process, which
// alone gets the file size limit.
[[noreturn]] void SaveInPlaceUnderASizeLimit(const fs::path& song) {
    std::signal(SIGXFSZ, SIG_IGN);
    bool written = true;
    std::string error;
    {
        test::AsUnprivilegedUser user;
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = 4096;
        setrlimit(RLIMIT_FSIZE, &limit);
        written = WriteFileAtomically(song, std::string(100000, 'n'), error);
    }
    std::fprintf(stderr, "%s\n", error.c_str());
    _exit(written ? 1 : 0);
}

TEST_F(SaveTest, AFailedWriteInPlacePutsTheOldSongBack) {
    const fs::path song = folder_ / "song.fwk";
    const std::string old(3000, 'o');
    Put(song, old, static_cast<fs::perms>(0644));
    fs::permissions(folder_, static_cast<fs::perms>(0555));
    EXPECT_EXIT(SaveInPlaceUnderASizeLimit(song), ::testing::ExitedWithCode(0),
                "Writing .*song.fwk\" failed: File too large\\. .* was not changed\\.");
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
    EXPECT_EQ(Contents(song), old);
    EXPECT_EQ(Names(), std::vector<std::string>{"song.fwk"});
    // Put back, the file is whole: its copy and note are not left to pile up.
    EXPECT_EQ(std::distance(fs::directory_iterator(backups_), fs::directory_iterator()), 0);
}

// --- What the replaced file keeps ---------------------------------------------------------------

struct ModeCase {
    const char* label;
    int mode;
};

void PrintTo(const ModeCase& c, std::ostream* os) {
    *os << c.label;
}

class SavingKeepsTheMode : public SaveTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(SavingKeepsTheMode, OfTheOldFile) {
    const fs::path song = folder_ / "song.fwk";
    Put(song, "old", static_cast<fs::perms>(GetParam().mode));
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(song, "new", error)) << error;
    EXPECT_EQ(Contents(song), "new");
    EXPECT_EQ(Info(song).st_mode & 07777, static_cast<unsigned>(GetParam().mode));
}

INSTANTIATE_TEST_SUITE_P(Modes, SavingKeepsTheMode,
                         ::testing::Values(ModeCase{"private", 0600}, ModeCase{"group", 0640},
                                           ModeCase{"shared", 0664}, ModeCase{"script", 0755},
                                           ModeCase{"owner_only_all", 0700},
                                           ModeCase{"others_only", 0604}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(SaveTest, TheOwnerAndGroupStayWhereTheProcessMaySetThem) {
    // As the superuser the song belongs to someone else, who keeps it; an ordinary user saves
    // their own song, which stays theirs.
    const fs::path song = folder_ / "song.fwk";
    Put(song, "old", static_cast<fs::perms>(0640));
    const struct stat before = Info(song);
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(song, "new", error)) << error;
    const struct stat after = Info(song);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(after.st_uid, test::TestUserId());
    EXPECT_NE(after.st_ino, before.st_ino) << "replaced by a new file, not written in place";
}

// --- Symbolic links ------------------------------------------------------------------------------

struct LinkCase {
    const char* label;
    std::vector<std::pair<const char*, const char*>> links; // name in songs/ -> link text
    const char* real; // the file that gets the bytes, relative to the test's root
    bool realExists;  // before the save
};

void PrintTo(const LinkCase& c, std::ostream* os) {
    *os << c.label;
}

class SavingThroughLinks : public SaveTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(SavingThroughLinks, ReplacesTheFileTheLinkPointsTo) {
    const LinkCase& c = GetParam();
    fs::create_directory(root_ / "real");
    const fs::path real = root_ / c.real;
    if (c.realExists)
        Put(real, "old", static_cast<fs::perms>(0640));
    for (const auto& [name, to] : c.links)
        fs::create_symlink(to, folder_ / name);
    const fs::path song = folder_ / c.links.front().first;

    std::string error;
    ASSERT_TRUE(WriteFileAtomically(song, "new song", error)) << error;
    EXPECT_EQ(Contents(real), "new song");
    for (const auto& [name, to] : c.links) {
        ASSERT_TRUE(fs::is_symlink(folder_ / name)) << name << " is still a link";
        EXPECT_EQ(fs::read_symlink(folder_ / name).string(), to);
    }
    if (c.realExists) {
        EXPECT_EQ(Info(real).st_mode & 07777, 0640u);
    }
    std::vector<std::string> inReal;
    for (const auto& item : fs::directory_iterator(root_ / "real"))
        inReal.push_back(item.path().filename().string());
    EXPECT_EQ(inReal, std::vector<std::string>{fs::path(c.real).filename().string()})
        << "no temporary file left beside the real song";
}

INSTANTIATE_TEST_SUITE_P(
    Links, SavingThroughLinks,
    ::testing::Values(
        LinkCase{"relative", {{"song.fwk", "../real/song.fwk"}}, "real/song.fwk", true},
        LinkCase{"chain",
                 {{"a.fwk", "b.fwk"}, {"b.fwk", "../real/target.fwk"}},
                 "real/target.fwk",
                 true},
        LinkCase{
            "to_a_song_not_yet_written", {{"song.fwk", "../real/new.fwk"}}, "real/new.fwk", false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(SaveTest, AnAbsoluteLinkIsFollowedToo) {
    fs::create_directory(root_ / "real");
    Put(root_ / "real" / "song.fwk", "old", static_cast<fs::perms>(0644));
    fs::create_symlink(root_ / "real" / "song.fwk", folder_ / "song.fwk");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(folder_ / "song.fwk", "new", error)) << error;
    EXPECT_TRUE(fs::is_symlink(folder_ / "song.fwk"));
    EXPECT_EQ(Contents(root_ / "real" / "song.fwk"), "new");
}

TEST_F(SaveTest, ALoopOfLinksIsRefused) {
    fs::create_symlink("b.fwk", folder_ / "a.fwk");
    fs::create_symlink("a.fwk", folder_ / "b.fwk");
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(folder_ / "a.fwk", "new", error));
    EXPECT_NE(error.find("Too many levels of symbolic links"), std::string::npos) << error;
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.fwk", "b.fwk"}));
    EXPECT_TRUE(fs::is_symlink(folder_ / "a.fwk"));
}

// --- Long names ----------------------------------------------------------------------------------

struct NameCase {
    const char* label;
    std::string name;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.label;
}

std::string Repeated(const std::string& piece, std::size_t times, const std::string& end) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text + end;
}

class SavingLongNames : public SaveTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(SavingLongNames, StillSaveAndReplace) {
    const fs::path song = folder_ / GetParam().name;
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(song, "first", error)) << error;
    ASSERT_TRUE(WriteFileAtomically(song, "second", error)) << error;
    EXPECT_EQ(Contents(song), "second");
    EXPECT_EQ(Names(), std::vector<std::string>{GetParam().name});
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, SavingLongNames,
    ::testing::Values(NameCase{"at_the_limit", Repeated("a", 251, ".fwk")},
                      NameCase{"one_below", Repeated("b", 250, ".fwk")},
                      NameCase{"where_the_old_suffix_ran_over", Repeated("c", 230, ".fwk")},
                      // 2-byte characters: the temporary name is cut between characters.
                      NameCase{"accented_at_the_limit", Repeated("\xC3\xA9", 125, "x.fwk")},
                      NameCase{"short", "s.fwk"}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace fw

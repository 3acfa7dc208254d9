#pragma once
// A temporary songs folder owned by the test user (for the tests that save as an ordinary
// user even when run as the superuser), with a folder of its own for the backup copies a
// rewrite in place keeps, and small readers of what a save left behind.

#include "chords/atomic_write.h"

#include "unprivileged_user.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <stdlib.h>
#include <sys/stat.h>

namespace fw::test {

class SaveFolderTest : public ::testing::Test {
protected:
    using path = std::filesystem::path;

    void SetUp() override {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / "fw-save-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        // The root stays the superuser's; the songs folder is the test user's.
        fs::permissions(root_, static_cast<fs::perms>(0755));
        folder_ = root_ / "songs";
        backups_ = root_ / "backups";
        fs::create_directory(folder_);
        fs::create_directory(backups_);
        OwnForTestUser(folder_);
        OwnForTestUser(backups_);
        SetSaveBackupFolder(backups_);
    }
    void TearDown() override {
        namespace fs = std::filesystem;
        std::error_code ignored;
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(root_, ignored);
        SetSaveBackupFolder({});
    }

    static std::string Contents(const path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Writes `bytes` to `file` with `mode`, owned by the test user.
    static void Put(const path& file, const std::string& bytes, std::filesystem::perms mode) {
        std::ofstream(file, std::ios::binary) << bytes;
        std::filesystem::permissions(file, mode);
        OwnForTestUser(file);
    }
    // The names in `folder` (the songs folder when none is given), sorted.
    static std::vector<std::string> Names(const path& folder) {
        std::vector<std::string> names;
        for (const auto& item : std::filesystem::directory_iterator(folder))
            names.push_back(item.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> Names() const { return Names(folder_); }
    static struct stat Info(const path& file) {
        struct stat info {};
        EXPECT_EQ(::stat(file.c_str(), &info), 0) << file;
        return info;
    }

    path root_, folder_, backups_;
};

} // namespace fw::test

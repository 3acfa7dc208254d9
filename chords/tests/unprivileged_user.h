#pragma once
// Tests of refused access must really be refused, also where the tests run as the superuser
// (CI does), who may read and write any file. While an AsUnprivilegedUser lives, the process's
// effective user and group are "nobody" (65534), with no supplementary groups, so the system's
// permission checks apply again; the superuser's rights come back when it ends. For an ordinary
// user it changes nothing: their own checks already apply.
//
// Files a test prepares for such a user must belong to that user: OwnForTestUser hands a file
// or folder over (a no-op for an ordinary user).

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include <grp.h>
#include <pwd.h>
#include <sys/types.h>
#include <unistd.h>

namespace fw::test {

inline uid_t TestUserId() {
    if (::geteuid() != 0)
        return ::geteuid();
    const passwd* nobody = ::getpwnam("nobody");
    return nobody ? nobody->pw_uid : 65534;
}

inline gid_t TestGroupId() {
    if (::geteuid() != 0)
        return ::getegid();
    const passwd* nobody = ::getpwnam("nobody");
    return nobody ? nobody->pw_gid : 65534;
}

// Gives `path` to the user the unprivileged part of a test runs as.
inline void OwnForTestUser(const std::filesystem::path& path) {
    if (::geteuid() == 0) {
        ASSERT_EQ(::lchown(path.c_str(), TestUserId(), TestGroupId()), 0) << path;
    }
}

class AsUnprivilegedUser {
public:
    AsUnprivilegedUser() {
        if (::geteuid() != 0)
            return;
        const int count = ::getgroups(0, nullptr);
        groups_.resize(static_cast<std::size_t>(count > 0 ? count : 0));
        if (count > 0 && ::getgroups(count, groups_.data()) < 0)
            groups_.clear();
        // Groups first: once the user is nobody, the right to change them is gone.
        dropped_ = ::setgroups(0, nullptr) == 0 && ::setegid(TestGroupId()) == 0 &&
                   ::seteuid(TestUserId()) == 0;
        EXPECT_TRUE(dropped_) << "the superuser's rights could not be given up for this test";
        wasRoot_ = true;
    }
    ~AsUnprivilegedUser() {
        if (!wasRoot_)
            return;
        const bool back = ::seteuid(0) == 0 && ::setegid(0) == 0 &&
                          ::setgroups(groups_.size(), groups_.data()) == 0;
        EXPECT_TRUE(back) << "the superuser's rights did not come back";
    }
    AsUnprivilegedUser(const AsUnprivilegedUser&) = delete;
    AsUnprivilegedUser& operator=(const AsUnprivilegedUser&) = delete;

    // False when the rights could not be given up; the test has already failed then.
    bool Active() const { return !wasRoot_ || dropped_; }

private:
    std::vector<gid_t> groups_;
    bool wasRoot_ = false;
    bool dropped_ = false;
};

} // namespace fw::test

#include "atomic_write.h"

#include "save_interrupts.h"
#include "save_steps.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <sstream>
#include <streambuf>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <climits>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fw {

namespace save {

std::string Concat(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (const std::string_view part : parts)
        text.append(part);
    return text;
}

std::string Quoted(const std::filesystem::path& path) {
    return Concat({"\"", path.string(), "\""});
}

std::string Reason(int errorNumber) {
    return std::generic_category().message(errorNumber);
}

} // namespace save

using save::Concat;
using save::Quoted;
using save::Reason;

namespace {

std::mutex backupFolderMutex;
std::filesystem::path backupFolder;

} // namespace

void SetSaveBackupFolder(std::filesystem::path folder) {
    const std::lock_guard<std::mutex> lock(backupFolderMutex);
    backupFolder = std::move(folder);
}

std::filesystem::path SaveBackupFolder() {
    {
        const std::lock_guard<std::mutex> lock(backupFolderMutex);
        if (!backupFolder.empty())
            return backupFolder;
    }
    std::filesystem::path state;
    if (const char* xdg = std::getenv("XDG_STATE_HOME"); xdg && *xdg == '/')
        state = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        state = std::filesystem::path(home) / ".local" / "state";
    else
        state = std::filesystem::temp_directory_path();
    return state / "Fretwick" / "recovery";
}

namespace {

constexpr std::size_t TemporarySuffixLength = 22; // ".", ".tmp-" and 16 hex digits

// The longest file name the folder allows, in bytes.
std::size_t NameMax([[maybe_unused]] const std::filesystem::path& folder) {
#ifndef _WIN32
    const long max = pathconf(folder.empty() ? "." : folder.string().c_str(), _PC_NAME_MAX);
    if (max > 0)
        return static_cast<std::size_t>(max);
#endif
    return 255;
}

// `name` cut to at most `bytes` bytes without splitting a UTF-8 sequence.
std::string CutAtCharacter(const std::string& name, std::size_t bytes) {
    if (name.size() <= bytes)
        return name;
    std::size_t end = bytes;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
        --end;
    return name.substr(0, end);
}

// A name for the temporary file beside the target: ".<name>.tmp-<hex>", the name cut short when
// the whole would pass the folder's limit on name length. Uniqueness is checked by creating the
// file exclusively; this only makes clashes unlikely.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& target, unsigned attempt) {
    static std::atomic<std::uint64_t> counter{0};
    const auto now =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::uint64_t mix = now ^ (counter.fetch_add(1) * 0x9E3779B97F4A7C15ULL) ^ attempt;
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(mix));
    const std::size_t max = NameMax(target.parent_path());
    const std::size_t room = max > TemporarySuffixLength ? max - TemporarySuffixLength : 1;
    std::filesystem::path temporary = target;
    temporary.replace_filename(
        Concat({".", CutAtCharacter(target.filename().string(), room), ".tmp-", suffix}));
    return temporary;
}

// A stream buffer that hands its text on in chunks of a megabyte, keeping the reason of the
// first failure; after one, nothing more is handed on.
class ChunkStreamBuffer : public std::streambuf {
public:
    explicit ChunkStreamBuffer(const save::Put& put) : put_(put), buffer_(std::size_t{1} << 20) {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }
    int failure() const { return failure_; }

protected:
    int_type overflow(int_type ch) override {
        if (sync() != 0)
            return traits_type::eof();
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }
    int sync() override {
        const auto size = static_cast<std::size_t>(pptr() - pbase());
        if (failure_ == 0 && size > 0)
            failure_ = put_(pbase(), size);
        setp(buffer_.data(), buffer_.data() + buffer_.size());
        return failure_ == 0 ? 0 : -1;
    }

private:
    const save::Put& put_;
    std::vector<char> buffer_;
    int failure_ = 0;
};

#ifndef _WIN32

// Is `name` one of our temporary names, ".<anything>.tmp-<16 hex digits>"?
bool IsTemporaryName(const std::string& name) {
    constexpr std::size_t hex = 16;
    if (name.size() < TemporarySuffixLength + 1 || name[0] != '.')
        return false;
    const std::size_t tmp = name.size() - hex - 5;
    if (name.compare(tmp, 5, ".tmp-") != 0)
        return false;
    for (std::size_t i = name.size() - hex; i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

// Removes the temporary files of killed saves: ours by name and by owner, and old enough that
// no save still running can be writing them.
void RemoveStaleTemporaries(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::directory_iterator it(folder.empty() ? "." : folder, ec);
    const auto limit = std::chrono::system_clock::now() - StaleTemporaryAge;
    const auto limitSeconds = std::chrono::system_clock::to_time_t(limit);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::filesystem::path& item = it->path();
        if (!IsTemporaryName(item.filename().string()))
            continue;
        struct stat info {};
        if (lstat(item.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid() &&
            info.st_mtime < limitSeconds)
            unlink(item.c_str());
    }
}

// The file a path names once symbolic links are followed: saving through a link replaces the
// file it points to and leaves the link in place. A link to a file that does not exist yet
// names that file. Returns false with errno set for a loop of links or a link that cannot be
// read.
bool FollowLinks(std::filesystem::path& path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return true; // a missing file is simply created
        std::string to(static_cast<std::size_t>(PATH_MAX), '\0');
        const ssize_t length = readlink(path.c_str(), to.data(), to.size());
        if (length < 0)
            return false;
        to.resize(static_cast<std::size_t>(length));
        const std::filesystem::path next(to);
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    errno = ELOOP;
    return false;
}

// 0 when the process may write the existing file, otherwise the error an open for writing gives
// (EACCES for a read-only file). The open neither creates nor truncates anything.
int WriteAccess(const std::filesystem::path& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    close(fd);
    return 0;
}

// What a target that is not a regular file is refused with; empty for one that is written
// straight into (a character device, a named pipe).
const char* RefusedKind(mode_t mode) {
    if (S_ISDIR(mode))
        return "it is a folder, not a file";
    if (S_ISSOCK(mode))
        return "it is a socket, not a file";
    if (S_ISBLK(mode))
        return "it is a block device (a disk), not a file";
    if (S_ISCHR(mode) || S_ISFIFO(mode))
        return "";
    return "it is not a file";
}

// The new file beside the target: unnamed (O_TMPFILE) where the file system allows it, so that
// a killed save leaves nothing behind; otherwise a hidden temporary name, created exclusively.
struct NewFile {
    int fd = -1;
    std::filesystem::path named; // empty for an unnamed file
    std::filesystem::path tried; // the last name tried, for the message
    int error = 0;
};

NewFile CreateBeside(const std::filesystem::path& target) {
    NewFile made;
    const std::filesystem::path folder = target.parent_path();
    // Also where unnamed files work: a save killed between naming its file and the rename.
    RemoveStaleTemporaries(folder);
#ifdef O_TMPFILE
    made.fd = open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (made.fd >= 0)
        return made;
#endif
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        made.tried = TemporaryPathFor(target, attempt);
        made.fd =
            open(made.tried.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOCTTY, 0666);
        if (made.fd >= 0) {
            made.named = made.tried;
            return made;
        }
        made.error = errno;
        if (made.error != EEXIST)
            break;
    }
    return made;
}

// Gives the unnamed file a name beside the target. Through /proc any user may link it; the
// AT_EMPTY_PATH form needs a privilege, so it is only the second try.
int LinkUnnamed(int fd, const std::filesystem::path& target, std::filesystem::path& named) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        named = TemporaryPathFor(target, attempt);
        if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, named.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return 0;
        const int failure = errno;
        if (failure == EEXIST)
            continue;
        if (linkat(fd, "", AT_FDCWD, named.c_str(), AT_EMPTY_PATH) == 0)
            return 0;
        if (errno != EEXIST)
            return failure;
    }
    return EEXIST;
}

// Gives the new file the old one's owner and group where the process may set them (an ordinary
// user may only pick one of their own groups; only the superuser gives a file away). Returns
// whether the file now has both.
bool TakeOwnerAndGroup(int fd, const struct stat& old) {
    struct stat now {};
    if (fstat(fd, &now) != 0)
        return false;
    if (now.st_gid != old.st_gid && fchown(fd, static_cast<uid_t>(-1), old.st_gid)) {
        // Not one of our groups: checked below.
    }
    if (now.st_uid != old.st_uid && fchown(fd, old.st_uid, static_cast<gid_t>(-1))) {
        // Not the superuser: checked below.
    }
    return fstat(fd, &now) == 0 && now.st_uid == old.st_uid && now.st_gid == old.st_gid;
}

bool MayWriteInPlace(int createErrno) {
    return createErrno == EACCES || createErrno == EPERM || createErrno == ENAMETOOLONG;
}

// The descriptor a path names when it is one of the program's open streams: "-" (standard
// output), /dev/stdout, /dev/stderr, /dev/stdin, /dev/fd/N, /proc/self/fd/N and /proc/<our
// process id>/fd/N; otherwise -1.
int OpenStreamOf(const std::filesystem::path& path) {
    const std::string text = path.string();
    if (text == "-" || text == "/dev/stdout")
        return 1;
    if (text == "/dev/stderr")
        return 2;
    if (text == "/dev/stdin")
        return 0;
    const std::string own = "/proc/" + std::to_string(getpid()) + "/fd/";
    for (const std::string_view prefix :
         {std::string_view("/dev/fd/"), std::string_view("/proc/self/fd/"),
          std::string_view(own)}) {
        if (text.size() <= prefix.size() || text.compare(0, prefix.size(), prefix) != 0 ||
            text.find_first_not_of("0123456789", prefix.size()) != std::string::npos ||
            text.size() - prefix.size() > 9)
            continue;
        return std::stoi(text.substr(prefix.size()));
    }
    return -1;
}

bool WriteAtomically(const std::filesystem::path& path, const save::Content& content,
                     std::string& error) {
    const std::string unchanged = Concat({" ", Quoted(path), " was not changed."});

    // An open stream is written into as it is: replacing the file behind it would lose what the
    // stream held before (a header, a log appended to).
    if (const int stream = OpenStreamOf(path); stream >= 0)
        return save::WriteIntoOpenStream(stream, path, content, error);

    // What the path names in the end, links followed by the system itself: a link such as
    // /dev/stdout leads to a pipe that has no name to follow by hand.
    struct stat named {};
    if (stat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode)) {
        const char* refused = RefusedKind(named.st_mode);
        if (*refused) {
            error = Concat({"Saving ", Quoted(path), " failed: ", refused, ".", unchanged});
            return false;
        }
        return save::WriteStraight(path, S_ISFIFO(named.st_mode), content, error);
    }

    std::filesystem::path target = path;
    if (!FollowLinks(target)) {
        const int linkErrno = errno;
        error = Concat(
            {"Following the link ", Quoted(path), " failed: ", Reason(linkErrno), ".", unchanged});
        return false;
    }
    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        // Changed under us since the first look: never replace what is not a regular file.
        error = Concat({"Saving ", Quoted(path), " failed: it is not a file.", unchanged});
        return false;
    }
    if (exists) {
        // A file the user may not write is refused, not silently replaced by a new one.
        if (const int accessErrno = WriteAccess(target); accessErrno != 0) {
            error =
                Concat({"Saving ", Quoted(path), " failed: ", Reason(accessErrno), ".", unchanged});
            return false;
        }
        // A new file would take this name away from the file's other links.
        if (old.st_nlink > 1)
            return save::SaveInPlace(path, target, content, error);
    }

    NewFile made = CreateBeside(target);
    if (made.fd < 0) {
        // A folder that takes no new files, while the file itself may be written.
        if (exists && MayWriteInPlace(made.error))
            return save::SaveInPlace(path, target, content, error);
        error = Concat({"Creating the temporary file ", Quoted(made.tried),
                        " failed: ", Reason(made.error), ".", unchanged});
        return false;
    }
    auto discard = [&made] {
        close(made.fd);
        if (!made.named.empty())
            unlink(made.named.c_str());
    };
    // Another user's file that we may write: a new file would be ours, so it is rewritten.
    if (exists && !TakeOwnerAndGroup(made.fd, old)) {
        discard();
        return save::SaveInPlace(path, target, content, error);
    }

    const std::filesystem::path shown = made.named.empty() ? target.parent_path() : made.named;
    auto fail = [&](std::string_view step, int reason, std::string_view after) {
        discard();
        error = Concat({step, " the temporary file ", made.named.empty() ? "in " : "",
                        Quoted(shown), after, " failed: ", Reason(reason), ".", unchanged});
        return false;
    };
    if (const int writeErrno = save::FillDescriptor(made.fd, content); writeErrno != 0)
        return fail("Writing", writeErrno, "");
    if (fsync(made.fd) != 0) {
        const int syncErrno = errno;
        return fail("Syncing", syncErrno, " to disk");
    }
    // After the owner: a change of owner clears the set-user-ID bits.
    if (exists && fchmod(made.fd, old.st_mode & 07777) != 0) {
        const int modeErrno = errno;
        return fail("Setting the permissions of", modeErrno, "");
    }
    if (made.named.empty()) {
        if (const int linkErrno = LinkUnnamed(made.fd, target, made.named); linkErrno != 0) {
            made.named.clear();
            return fail("Naming", linkErrno, "");
        }
    }
    const int closed = close(made.fd);
    const int closeErrno = errno;
    made.fd = -1;
    if (closed != 0) {
        unlink(made.named.c_str());
        error = Concat({"Closing the temporary file ", Quoted(made.named),
                        " failed: ", Reason(closeErrno), ".", unchanged});
        return false;
    }
    if (rename(made.named.c_str(), target.c_str()) != 0) {
        const int renameErrno = errno;
        unlink(made.named.c_str());
        error = Concat({"Renaming the temporary file ", Quoted(made.named), " to ", Quoted(target),
                        " failed: ", Reason(renameErrno), ".", unchanged});
        return false;
    }
    save::SyncFolder(target.parent_path());
    return true;
}

#else

// Elsewhere: a named temporary file, flushed, committed and renamed over the target.
bool WriteAtomically(const std::filesystem::path& path, const save::Content& content,
                     std::string& error) {
    const std::string unchanged = Concat({" ", Quoted(path), " was not changed."});
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        error = Concat({"Saving ", Quoted(path), " failed: it is not a file.", unchanged});
        return false;
    }
    std::filesystem::path temporary;
    std::FILE* file = nullptr;
    int openErrno = 0;
    for (unsigned attempt = 0; attempt < 100 && !file; ++attempt) {
        temporary = TemporaryPathFor(path, attempt);
        file = std::fopen(temporary.string().c_str(), "wbx");
        openErrno = errno;
        if (!file && openErrno != EEXIST)
            break;
    }
    if (!file) {
        error = Concat({"Creating the temporary file ", Quoted(temporary),
                        " failed: ", Reason(openErrno), ".", unchanged});
        return false;
    }
    int failure = content.fill([file](const char* data, std::size_t size) {
        return std::fwrite(data, 1, size, file) == size ? 0 : (errno != 0 ? errno : EIO);
    });
    if (failure == 0 && (std::fflush(file) != 0 || _commit(_fileno(file)) != 0))
        failure = errno;
    if (std::fclose(file) != 0 && failure == 0)
        failure = errno;
    if (failure == 0) {
        if (std::filesystem::exists(status))
            std::filesystem::permissions(temporary, status.permissions(), ec);
        std::filesystem::rename(temporary, path, ec);
        if (!ec)
            return true;
        failure = ec.value();
    }
    std::filesystem::remove(temporary, ec);
    error = Concat({"Writing the temporary file ", Quoted(temporary), " failed: ", Reason(failure),
                    ".", unchanged});
    return false;
}

#endif

} // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string& error) {
    const save::Content content{[bytes](const save::Put& put) {
        // In chunks: a signal or a failure is seen at least every megabyte.
        constexpr std::size_t chunk = std::size_t{1} << 20;
        for (std::size_t at = 0; at < bytes.size(); at += chunk)
            if (const int failure = put(bytes.data() + at, std::min(chunk, bytes.size() - at)))
                return failure;
        return 0;
    }};
    const save::SavingScope saving;
    return WriteAtomically(path, content, error);
}

bool WriteFileAtomicallyFrom(const std::filesystem::path& path,
                             const std::function<bool(std::ostream&)>& write, std::string& error) {
    const save::Content content{[&write](const save::Put& put) {
        ChunkStreamBuffer buffer(put);
        std::ostream out(&buffer);
        const bool written = write(out) && out && buffer.pubsync() == 0;
        if (buffer.failure() != 0)
            return buffer.failure();
        return written ? 0 : EIO;
    }};
    const save::SavingScope saving;
    return WriteAtomically(path, content, error);
}

} // namespace fw

// The two saves that cannot go through a new file and a rename: rewriting a regular file in
// place behind a backup copy, and writing straight into a device or a named pipe.

#include "atomic_write.h"
#include "save_steps.h"

#ifndef _WIN32

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fw::save {

int FillDescriptor(int fd, const Content& content) {
    // The stream works on a second descriptor of the same open file: closing it leaves `fd`
    // open, and both share the offset.
    const int copy = dup(fd);
    if (copy < 0)
        return errno;
    std::FILE* file = fdopen(copy, "wb");
    if (!file) {
        const int openErrno = errno;
        close(copy);
        return openErrno;
    }
    errno = 0;
    int failure = content.fill(file);
    if (std::fflush(file) != 0 && failure == 0)
        failure = errno != 0 ? errno : EIO;
    if (std::fclose(file) != 0 && failure == 0)
        failure = errno != 0 ? errno : EIO;
    return failure;
}

void SyncFolder(const std::filesystem::path& folder) {
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

namespace {

// Copies everything `from` holds, from its start, to the current offset of `to`. Returns 0 or
// the errno of the failure.
int CopyAll(int from, int to) {
    std::vector<char> buffer(1 << 20);
    for (off_t at = 0;;) {
        const ssize_t got = pread(from, buffer.data(), buffer.size(), at);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (got == 0)
            return 0;
        at += got;
        for (ssize_t put = 0; put < got;) {
            const ssize_t wrote =
                write(to, buffer.data() + put, static_cast<std::size_t>(got - put));
            if (wrote < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            put += wrote;
        }
    }
}

// A name for the backup copy of `target` that no other save uses: "<name>.saving-<pid>-<n>",
// the name cut to leave room for the rest.
std::filesystem::path BackupPathFor(const std::filesystem::path& folder,
                                    const std::filesystem::path& target, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    std::string name = target.filename().string();
    if (name.size() > 160) {
        std::size_t end = 160;
        while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
            --end;
        name.resize(end);
    }
    return folder / Concat({name, ".saving-", std::to_string(getpid()), "-",
                            std::to_string(counter.fetch_add(1) + attempt)});
}

// Makes a complete copy of the open file `fd` in the backup folder, on disk before it returns.
// Returns 0 with `backup` naming the copy, or the errno of the failure (nothing is left then).
int KeepCopy(int fd, const std::filesystem::path& target, std::filesystem::path& backup) {
    const std::filesystem::path folder = SaveBackupFolder();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec)
        return ec.value();
    int copy = -1;
    for (unsigned attempt = 0; attempt < 100 && copy < 0; ++attempt) {
        backup = BackupPathFor(folder, target, attempt);
        copy = open(backup.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOCTTY, 0600);
        if (copy < 0 && errno != EEXIST)
            return errno;
    }
    if (copy < 0)
        return EEXIST;
    int failure = CopyAll(fd, copy);
    if (failure == 0 && fsync(copy) != 0)
        failure = errno;
    if (close(copy) != 0 && failure == 0)
        failure = errno;
    if (failure != 0) {
        unlink(backup.c_str());
        return failure;
    }
    SyncFolder(folder);
    return 0;
}

// Puts the backup's bytes back into the open file. Returns whether it all worked.
bool WriteBack(int fd, const std::filesystem::path& backup) {
    const int from = open(backup.c_str(), O_RDONLY | O_CLOEXEC);
    if (from < 0)
        return false;
    struct stat info {};
    const bool restored = fstat(from, &info) == 0 && lseek(fd, 0, SEEK_SET) == 0 &&
                          CopyAll(from, fd) == 0 && ftruncate(fd, info.st_size) == 0 &&
                          fsync(fd) == 0;
    close(from);
    return restored;
}

} // namespace

bool SaveInPlace(const std::filesystem::path& path, const std::filesystem::path& target,
                 const Content& content, std::string& error) {
    const std::string unchanged = Concat({" ", Quoted(path), " was not changed."});
    // Writing through the open file keeps its owner, group, permissions and links.
    const int fd = open(target.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int openErrno = errno;
        error = Concat({"Opening ", Quoted(target), " for writing failed: ", Reason(openErrno), ".",
                        unchanged});
        return false;
    }
    std::filesystem::path backup;
    if (const int copyErrno = KeepCopy(fd, target, backup); copyErrno != 0) {
        close(fd);
        error = Concat({"Saving ", Quoted(path), " failed: it has to be rewritten in place, and ",
                        "no copy of the old file could be kept in ", Quoted(SaveBackupFolder()),
                        ": ", Reason(copyErrno), ".", unchanged});
        return false;
    }
    // New bytes over the old ones, then the rest cut off: the file never goes through empty.
    int failure = lseek(fd, 0, SEEK_SET) == 0 ? FillDescriptor(fd, content) : errno;
    if (failure == 0) {
        const off_t end = lseek(fd, 0, SEEK_CUR);
        if (end < 0 || ftruncate(fd, end) != 0 || fsync(fd) != 0)
            failure = errno;
    }
    if (failure == 0) {
        if (close(fd) == 0) {
            unlink(backup.c_str());
            SyncFolder(backup.parent_path());
            return true;
        }
        failure = errno;
        error = Concat({"Closing ", Quoted(target), " failed: ", Reason(failure), ". ",
                        "A copy of the old file is kept as ", Quoted(backup), "."});
        return false;
    }
    const bool restored = WriteBack(fd, backup);
    close(fd);
    error = Concat({"Writing ", Quoted(target), " failed: ", Reason(failure), ". ",
                    restored ? Concat({Quoted(path), " was not changed; a copy of the old file is "
                                                     "kept as "})
                             : Concat({Quoted(path), " may be damaged; the old file is kept as "}),
                    Quoted(backup), "."});
    return false;
}

bool WriteStraight(const std::filesystem::path& path, bool namedPipe, const Content& content,
                   std::string& error) {
    // A named pipe is opened without waiting for a reader, then given a few seconds to get one
    // (a reader started together with the save); a window must never hang on it.
    const int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC | (namedPipe ? O_NONBLOCK : 0);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    int fd = -1;
    for (;;) {
        fd = open(path.c_str(), flags);
        if (fd >= 0)
            break;
        const int openErrno = errno;
        if (openErrno == EINTR)
            continue;
        if (namedPipe && openErrno == ENXIO && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        error = Concat({"Opening ", Quoted(path), " for writing failed: ",
                        namedPipe && openErrno == ENXIO ? "no program reads from the named pipe"
                                                        : Reason(openErrno),
                        "."});
        return false;
    }
    if (namedPipe) {
        const int now = fcntl(fd, F_GETFL);
        if (now >= 0)
            fcntl(fd, F_SETFL, now & ~O_NONBLOCK);
    }
    // A reader that goes away must give an error, not end the program: SIGPIPE is held back on
    // this thread while writing, and the one a closed pipe raises is taken away again.
    sigset_t pipeSignal, before, pending;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &before);
    sigpending(&pending);
    const bool wasPending = sigismember(&pending, SIGPIPE) == 1;
    int failure = FillDescriptor(fd, content);
    if (failure == EPIPE && !wasPending) {
        const timespec none{};
        sigtimedwait(&pipeSignal, nullptr, &none);
    }
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    if (close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure != 0) {
        error = Concat({"Writing ", Quoted(path), " failed: ", Reason(failure), "."});
        return false;
    }
    return true;
}

} // namespace fw::save

#endif

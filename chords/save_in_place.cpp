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
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
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

} // namespace

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

namespace {

// The note beside a backup copy that names the file it belongs to: while it exists, the file may
// be half rewritten, and the copy holds its old bytes.
std::filesystem::path NoteFor(const std::filesystem::path& backup) {
    std::filesystem::path note = backup;
    note += ".target";
    return note;
}

// Writes the note, on disk before it returns. Returns 0 or the errno of the failure.
int WriteNote(const std::filesystem::path& backup, const std::filesystem::path& target) {
    std::error_code ec;
    const std::string text = std::filesystem::absolute(target, ec).string();
    if (ec)
        return ec.value();
    const std::filesystem::path note = NoteFor(backup);
    const int fd = open(note.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0)
        return errno;
    int failure = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size())
                      ? 0
                      : (errno != 0 ? errno : EIO);
    if (failure == 0 && fsync(fd) != 0)
        failure = errno;
    if (close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure != 0)
        unlink(note.c_str());
    else
        SyncFolder(note.parent_path());
    return failure;
}

} // namespace

// The rewrite is on disk: first the note goes (the file is whole again), then the copy.
void Finish(const std::filesystem::path& backup) {
    unlink(NoteFor(backup).c_str());
    SyncFolder(backup.parent_path());
    unlink(backup.c_str());
}

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
    int copyErrno = KeepCopy(fd, target, backup);
    if (copyErrno == 0 && (copyErrno = WriteNote(backup, target)) != 0)
        unlink(backup.c_str());
    if (copyErrno != 0) {
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
        const int closed = close(fd);
        failure = errno;
        Finish(backup);
        if (closed == 0)
            return true;
        error = Concat({"Closing ", Quoted(target), " failed: ", Reason(failure), "."});
        return false;
    }
    const bool restored = WriteBack(fd, backup);
    close(fd);
    // Restored, the file is whole; otherwise the note stays, and the next start puts it back.
    if (restored)
        unlink(NoteFor(backup).c_str());
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

namespace fw {

std::vector<InterruptedSave> FindInterruptedSaves() {
    std::vector<InterruptedSave> found;
    std::error_code ec;
    std::filesystem::directory_iterator it(SaveBackupFolder(), ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::filesystem::path note = it->path();
        const std::string name = note.filename().string();
        const std::size_t saving = name.rfind(".saving-");
        if (note.extension() != ".target" || saving == std::string::npos)
            continue;
        // "<name>.saving-<pid>-<n>.target": a program still running may still be saving.
        const long pid = std::strtol(name.c_str() + saving + 8, nullptr, 10);
        if (pid <= 0 || kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)
            continue;
        std::filesystem::path copy = note;
        copy.replace_extension();
        std::ifstream in(note, std::ios::binary);
        std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!file.empty() && std::filesystem::is_regular_file(copy, ec))
            found.push_back({file, copy});
        ec.clear();
    }
    return found;
}

bool RestoreInterruptedSave(const InterruptedSave& save, std::string& error) {
    using save::Concat;
    using save::Quoted;
    const int fd = open(save.file.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0 || !save::WriteBack(fd, save.copy)) {
        const int failure = errno;
        if (fd >= 0)
            close(fd);
        error = Concat({"Putting back ", Quoted(save.file), " failed: ", save::Reason(failure),
                        ". Its old bytes are kept as ", Quoted(save.copy), "."});
        return false;
    }
    close(fd);
    save::Finish(save.copy);
    return true;
}

} // namespace fw

#else

namespace fw {

// Elsewhere every save goes through a new file and a rename: none is ever cut short in place.
std::vector<InterruptedSave> FindInterruptedSaves() {
    return {};
}

bool RestoreInterruptedSave(const InterruptedSave& save, std::string& error) {
    error = "Putting back \"" + save.file.string() + "\" failed: not supported here.";
    return false;
}

} // namespace fw

#endif

// The two saves that cannot go through a new file and a rename: rewriting a regular file in
// place behind a backup copy, and writing straight into a device or a named pipe.

#include "atomic_write.h"
#include "save_interrupts.h"
#include "save_journal.h"
#include "save_steps.h"

#ifndef _WIN32

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fw::save {

namespace {

// Where a save's stream goes: straight to a descriptor at its offset, or, for a rewrite in
// place, to the file from its start, each chunk first kept in the save's note.
struct Sink {
    int fd = -1;
    SaveJournal* journal = nullptr;
    int failure = 0;
};

int WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t wrote = write(fd, data, size);
        if (wrote < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += wrote;
        size -= static_cast<std::size_t>(wrote);
    }
    return 0;
}

int WriteJournaled(Sink& sink, const char* data, std::size_t size) {
    JournalRecord next = sink.journal->record();
    if (const int failure = sink.journal->Pending(data, size); failure != 0)
        return failure;
    if (lseek(sink.fd, static_cast<off_t>(next.written), SEEK_SET) < 0)
        return errno;
    if (const int failure = WriteAll(sink.fd, data, size); failure != 0)
        return failure;
    next.written += size;
    next.hash.Add(data, size);
    next.pending = 0;
    return sink.journal->Update(next);
}

int SinkPut(Sink& sink, const char* data, std::size_t size) {
    if (sink.failure == 0 && StopRequested())
        sink.failure = EINTR; // stopped by a signal: the save cleans up and the signal ends us
    if (sink.failure == 0)
        sink.failure =
            sink.journal ? WriteJournaled(sink, data, size) : WriteAll(sink.fd, data, size);
    return sink.failure;
}

int FillSink(Sink& sink, const Content& content) {
    const int failure = content.fill(
        [&sink](const char* data, std::size_t size) { return SinkPut(sink, data, size); });
    return sink.failure != 0 ? sink.failure : failure;
}

} // namespace

int FillDescriptor(int fd, const Content& content) {
    Sink sink;
    sink.fd = fd;
    return FillSink(sink, content);
}

void SyncFolder(const std::filesystem::path& folder) {
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

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

namespace {

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

// Makes an empty file for the backup copy of `target` in the backup folder, under a name no
// other save uses. Returns its descriptor with `backup` naming it, or -1 with errno set.
int MakeCopyFile(const std::filesystem::path& target, std::filesystem::path& backup) {
    const std::filesystem::path folder = SaveBackupFolder();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        errno = ec.value();
        return -1;
    }
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        backup = BackupPathFor(folder, target, attempt);
        const int copy =
            open(backup.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOCTTY, 0600);
        if (copy >= 0 || errno != EEXIST)
            return copy;
    }
    errno = EEXIST;
    return -1;
}

// Makes a complete copy of the open file `fd` in the backup folder, its note first (so that a
// copy cut short is known for one), both on disk before it returns. Returns 0 with `backup`
// naming the copy, or the errno of the failure (nothing is left then).
int KeepCopy(int fd, const std::filesystem::path& target, const struct stat& info,
             SaveJournal& journal, std::filesystem::path& backup) {
    const int copy = MakeCopyFile(target, backup);
    if (copy < 0)
        return errno;
    int failure = journal.Create(NoteFor(backup), target, info);
    if (failure == 0)
        failure = CopyAll(fd, copy);
    if (failure == 0 && fsync(copy) != 0)
        failure = errno;
    if (close(copy) != 0 && failure == 0)
        failure = errno;
    if (failure == 0) {
        JournalRecord rewriting = journal.record();
        rewriting.stage = JournalStage::Rewriting;
        failure = journal.Update(rewriting);
    }
    if (failure != 0) {
        journal.Close();
        Finish(backup);
        return failure;
    }
    SyncFolder(backup.parent_path());
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

std::filesystem::path NoteFor(const std::filesystem::path& backup) {
    std::filesystem::path note = backup;
    note += ".target";
    return note;
}

// The file is whole again (or was never touched): first the note goes, then the copy.
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
    struct stat info {};
    if (fd < 0 || fstat(fd, &info) != 0) {
        const int openErrno = errno;
        if (fd >= 0)
            close(fd);
        error = Concat({"Opening ", Quoted(target), " for writing failed: ", Reason(openErrno), ".",
                        unchanged});
        return false;
    }
    std::filesystem::path backup;
    SaveJournal journal;
    if (const int copyErrno = KeepCopy(fd, target, info, journal, backup); copyErrno != 0) {
        close(fd);
        error = Concat({"Saving ", Quoted(path), " failed: it has to be rewritten in place, and ",
                        "no copy of the old file could be kept in ", Quoted(SaveBackupFolder()),
                        ": ", Reason(copyErrno), ".", unchanged});
        return false;
    }
    // New bytes over the old ones, then the rest cut off: the file never goes through empty.
    Sink sink;
    sink.fd = fd;
    sink.journal = &journal;
    int failure = FillSink(sink, content);
    if (failure == 0) {
        JournalRecord cutting = journal.record();
        cutting.stage = JournalStage::Cutting;
        failure = journal.Update(cutting);
    }
    if (failure == 0 &&
        (ftruncate(fd, static_cast<off_t>(journal.record().written)) != 0 || fsync(fd) != 0))
        failure = errno;
    journal.Close();
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
    // Put back, the file is whole and the copy has done its work; otherwise the note stays, and
    // the next start puts it back.
    if (restored)
        Finish(backup);
    const std::string reason = failure == EINTR && StopRequested()
                                   ? std::string("the program was stopped")
                                   : Reason(failure);
    error = Concat({"Writing ", Quoted(target), " failed: ", reason, ". ",
                    restored ? Concat({Quoted(path), " was not changed."})
                             : Concat({Quoted(path), " may be damaged; the old file is kept as ",
                                       Quoted(backup), "."})});
    return false;
}

// Writes the content into the open stream `fd` at its offset (at its end for one opened to
// append). A reader that goes away must give an error, not end the program: SIGPIPE is held back
// on this thread while writing, and the one a closed pipe raises is taken away again.
int FillGuardingPipe(int fd, const Content& content) {
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
    return failure;
}

bool WriteIntoOpenStream(int fd, const std::filesystem::path& path, const Content& content,
                         std::string& error) {
    // What the program printed before goes first, in its order.
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    int failure = fcntl(fd, F_GETFD) < 0 ? errno : FillGuardingPipe(fd, content);
    if (failure == 0 && fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
        failure = errno;
    if (failure != 0) {
        error = Concat({"Writing ", Quoted(path), " failed: ", Reason(failure), "."});
        return false;
    }
    return true;
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
    int failure = FillGuardingPipe(fd, content);
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

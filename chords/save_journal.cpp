#include "save_journal.h"

#ifndef _WIN32

#include "save_steps.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace fw::save {

namespace {

constexpr std::string_view Magic = "Fretwick save note 2 ";
constexpr std::size_t HeaderSize = 256;

int PutAll(int fd, const char* data, std::size_t size, std::uint64_t at) {
    while (size > 0) {
        const ssize_t wrote = pwrite(fd, data, size, static_cast<off_t>(at));
        if (wrote < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += wrote;
        size -= static_cast<std::size_t>(wrote);
        at += static_cast<std::uint64_t>(wrote);
    }
    return 0;
}

// Reads up to `size` bytes at `at`; the count read, or -1.
ssize_t GetSome(int fd, char* data, std::size_t size, std::uint64_t at) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = pread(fd, data + got, size - got, static_cast<off_t>(at + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(got);
}

std::string Header(const JournalRecord& r, std::uint64_t pathLength) {
    char text[HeaderSize];
    std::memset(text, ' ', sizeof text);
    const int length = std::snprintf(text, sizeof text,
                                     "%.*s%d %" PRIu64 " %" PRIu64 " %" PRIu64 " %" PRIu64
                                     " %016" PRIx64 " %016" PRIx64 " %" PRIu64 " %" PRIu64,
                                     static_cast<int>(Magic.size()), Magic.data(),
                                     static_cast<int>(r.stage), r.device, r.inode, r.oldSize,
                                     r.written, r.hash.a, r.hash.b, r.pending, pathLength);
    text[length] = ' ';
    text[HeaderSize - 1] = '\n';
    return std::string(text, HeaderSize);
}

// Closes both descriptors when it goes out of scope.
struct TwoFiles {
    int file = -1;
    int copy = -1;
    ~TwoFiles() {
        if (file >= 0)
            close(file);
        if (copy >= 0)
            close(copy);
    }
};

} // namespace

void PrefixHash::Add(const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        a = (a ^ byte) * 1099511628211ULL;
        b = ((b ^ byte) * 0x9E3779B97F4A7C15ULL);
        b ^= b >> 29;
    }
}

SaveJournal::~SaveJournal() {
    Close();
}

void SaveJournal::Close() {
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
}

int SaveJournal::Create(const std::filesystem::path& note, const std::filesystem::path& target,
                        const struct stat& info) {
    std::error_code ec;
    const std::string path = std::filesystem::absolute(target, ec).string();
    if (ec)
        return ec.value();
    m_record = JournalRecord{};
    m_record.device = static_cast<std::uint64_t>(info.st_dev);
    m_record.inode = static_cast<std::uint64_t>(info.st_ino);
    m_record.oldSize = static_cast<std::uint64_t>(info.st_size);
    m_chunkAt = HeaderSize + path.size();
    m_fd = open(note.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC | O_NOCTTY, 0600);
    if (m_fd < 0)
        return errno;
    const std::string text = Header(m_record, path.size()) + path;
    int failure = PutAll(m_fd, text.data(), text.size(), 0);
    if (failure == 0 && fsync(m_fd) != 0)
        failure = errno;
    if (failure != 0) {
        Close();
        unlink(note.c_str());
        return failure;
    }
    SyncFolder(note.parent_path());
    return 0;
}

int SaveJournal::Update(const JournalRecord& record) {
    m_record = record;
    // One write of one block: a kill leaves the old record or the new one.
    const std::string text = Header(record, m_chunkAt - HeaderSize);
    return PutAll(m_fd, text.data(), text.size(), 0);
}

int SaveJournal::Pending(const char* data, std::size_t size) {
    if (const int failure = PutAll(m_fd, data, size, m_chunkAt); failure != 0)
        return failure;
    JournalRecord next = m_record;
    next.pending = size;
    return Update(next);
}

bool ReadJournal(const std::filesystem::path& note, JournalNote& read) {
    const int fd = open(note.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    std::string text;
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t got = GetSome(fd, buffer.data(), buffer.size(), text.size());
        if (got <= 0) {
            close(fd);
            if (got < 0)
                return false;
            break;
        }
        text.append(buffer.data(), static_cast<std::size_t>(got));
    }
    read = JournalNote{};
    if (text.compare(0, Magic.size(), Magic) != 0) {
        // An earlier version's note: the bare path, nothing known about the save's progress.
        read.target = text;
        return !text.empty();
    }
    if (text.size() < HeaderSize)
        return false;
    JournalRecord& r = read.record;
    int stage = -1;
    std::uint64_t pathLength = 0;
    const std::string header = text.substr(Magic.size(), HeaderSize - Magic.size());
    if (std::sscanf(header.c_str(),
                    "%d %" SCNu64 " %" SCNu64 " %" SCNu64 " %" SCNu64 " %" SCNx64 " %" SCNx64
                    " %" SCNu64 " %" SCNu64,
                    &stage, &r.device, &r.inode, &r.oldSize, &r.written, &r.hash.a, &r.hash.b,
                    &r.pending, &pathLength) != 9 ||
        stage < 0 || stage > 2 || HeaderSize + pathLength > text.size() ||
        HeaderSize + pathLength + r.pending > text.size())
        return false;
    r.stage = static_cast<JournalStage>(stage);
    read.target = text.substr(HeaderSize, pathLength);
    read.chunk = text.substr(HeaderSize + pathLength, r.pending);
    read.hasRecord = true;
    return !read.target.empty();
}

FileState CheckInterruptedFile(const JournalNote& note, const std::filesystem::path& copy) {
    if (!note.hasRecord)
        return FileState::Changed;
    const JournalRecord& r = note.record;
    struct stat now {};
    if (stat(note.target.c_str(), &now) != 0 || !S_ISREG(now.st_mode) ||
        static_cast<std::uint64_t>(now.st_dev) != r.device ||
        static_cast<std::uint64_t>(now.st_ino) != r.inode)
        return FileState::Changed;
    if (r.stage == JournalStage::Copying)
        return FileState::Untouched;
    TwoFiles files;
    files.file = open(note.target.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    files.copy = open(copy.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    struct stat old {};
    if (files.file < 0 || files.copy < 0 || fstat(files.copy, &old) != 0 ||
        static_cast<std::uint64_t>(old.st_size) != r.oldSize || fstat(files.file, &now) != 0)
        return FileState::Changed;
    const auto size = static_cast<std::uint64_t>(now.st_size);
    if (size < r.written)
        return FileState::Changed;

    // The new bytes in place.
    std::vector<char> mine(1 << 20);
    std::vector<char> theirs(1 << 20);
    PrefixHash hash;
    for (std::uint64_t at = 0; at < r.written;) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(mine.size(), r.written - at));
        if (GetSome(files.file, mine.data(), want, at) != static_cast<ssize_t>(want))
            return FileState::Changed;
        hash.Add(mine.data(), want);
        at += want;
    }
    if (!(hash == r.hash))
        return FileState::Changed;
    if (r.stage == JournalStage::Cutting && size == r.written)
        return FileState::AsLeft;
    // Before the cut the file never shrinks: it holds at least the old file's length.
    if (size < r.oldSize)
        return FileState::Changed;

    // Then as much of the pending chunk as reached the file.
    std::uint64_t at = r.written;
    if (!note.chunk.empty() && at < size) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(note.chunk.size(), size - at));
        std::vector<char> placed(want);
        if (GetSome(files.file, placed.data(), want, at) != static_cast<ssize_t>(want))
            return FileState::Changed;
        const auto ends = std::mismatch(placed.begin(), placed.end(), note.chunk.begin());
        at += static_cast<std::uint64_t>(ends.first - placed.begin());
    }
    // Then the old bytes, to the end.
    while (at < size) {
        if (at >= r.oldSize)
            return FileState::Changed;
        const std::size_t want = static_cast<std::size_t>(
            std::min<std::uint64_t>(mine.size(), std::min(size, r.oldSize) - at));
        if (GetSome(files.file, mine.data(), want, at) != static_cast<ssize_t>(want) ||
            GetSome(files.copy, theirs.data(), want, at) != static_cast<ssize_t>(want) ||
            std::memcmp(mine.data(), theirs.data(), want) != 0)
            return FileState::Changed;
        at += want;
    }
    return FileState::AsLeft;
}

} // namespace fw::save

#endif

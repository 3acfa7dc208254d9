#include "regular_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fw {

namespace {

std::string Quoted(const std::filesystem::path& path) {
    std::string text = "\"";
    text += path.string();
    text += '"';
    return text;
}

std::string Failed(const char* step, const std::filesystem::path& path, const std::string& why) {
    std::string text = step;
    text += ' ';
    text += Quoted(path);
    text += " failed: ";
    text += why;
    text += '.';
    return text;
}

// What a file over the limit is refused with: "it is 250,000,000 bytes; the editor holds at
// most 200,000,000 characters".
struct SizeLimit {
    std::uint64_t maxBytes;
    std::string_view holder;
    std::string_view unit;

    std::string TooLarge(std::uint64_t size) const {
        std::string text = "it is ";
        text += GroupedNumber(size);
        text += " bytes; ";
        text += holder;
        text += " holds at most ";
        text += GroupedNumber(maxBytes);
        text += ' ';
        text += unit;
        return text;
    }
};

#ifndef _WIN32
// What a file that is not a regular file is, for the message.
const char* KindOfSpecialFile(mode_t mode) {
    if (S_ISDIR(mode))
        return "it is a folder, not a file";
    if (S_ISFIFO(mode))
        return "it is a named pipe, not a file";
    if (S_ISSOCK(mode))
        return "it is a socket, not a file";
    return "it is a device, not a file";
}
#endif

} // namespace

std::string GroupedNumber(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, 1, ',');
    return digits;
}

#ifndef _WIN32
std::string SpecialFileError(const std::filesystem::path& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode))
        return {};
    return Failed("Opening", path, KindOfSpecialFile(info.st_mode));
}

bool ReadRegularFile(const std::filesystem::path& path, std::string& bytes, std::string& error,
                     std::uint64_t maxBytes, std::string_view holder, std::string_view unit) {
    const SizeLimit limit{maxBytes, holder, unit};
    bytes.clear();
    // O_NONBLOCK: opening a named pipe must not wait for a writer. It is cleared again before
    // reading, which only ever happens for a regular file.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int openErrno = errno;
        // A socket cannot be opened at all (ENXIO); say what it is rather than the system's
        // puzzling reason.
        error = SpecialFileError(path);
        if (error.empty())
            error = Failed("Opening", path, std::generic_category().message(openErrno));
        return false;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        const int statErrno = errno;
        close(fd);
        error = Failed("Opening", path, std::generic_category().message(statErrno));
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        close(fd);
        error = Failed("Opening", path, KindOfSpecialFile(info.st_mode));
        return false;
    }
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size > maxBytes) {
        close(fd);
        error = Failed("Opening", path, limit.TooLarge(size));
        return false;
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0)
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);

    // One allocation of the file's size: a big song must not take twice its size while it is
    // read. A file that shrinks meanwhile gives what it holds; one that grows is read on to its
    // end, within the limit.
    bytes.resize(static_cast<std::size_t>(size));
    std::size_t have = 0;
    char more[65536];
    for (;;) {
        const bool inPlace = have < bytes.size();
        char* const into = inPlace ? bytes.data() + have : more;
        const std::size_t room = inPlace ? bytes.size() - have : sizeof more;
        const ssize_t got = read(fd, into, room);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int readErrno = errno;
            close(fd);
            bytes.clear();
            error = Failed("Reading", path, std::generic_category().message(readErrno));
            return false;
        }
        if (got == 0)
            break;
        if (!inPlace)
            bytes.append(more, static_cast<std::size_t>(got));
        have += static_cast<std::size_t>(got);
        if (have > maxBytes) {
            close(fd);
            bytes.clear();
            error = Failed("Opening", path, limit.TooLarge(have) + " or more");
            return false;
        }
    }
    close(fd);
    bytes.resize(have);
    return true;
}
#else
std::string SpecialFileError(const std::filesystem::path& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status) || std::filesystem::is_regular_file(status))
        return {};
    return Failed("Opening", path,
                  std::filesystem::is_directory(status) ? "it is a folder, not a file"
                                                        : "it is a device, not a file");
}

bool ReadRegularFile(const std::filesystem::path& path, std::string& bytes, std::string& error,
                     std::uint64_t maxBytes, std::string_view holder, std::string_view unit) {
    const SizeLimit limit{maxBytes, holder, unit};
    bytes.clear();
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!ec && !std::filesystem::is_regular_file(status)) {
        error = Failed("Opening", path,
                       std::filesystem::is_directory(status) ? "it is a folder, not a file"
                                                             : "it is a device, not a file");
        return false;
    }
    std::FILE* file = std::fopen(path.string().c_str(), "rb");
    if (!file) {
        const int openErrno = errno;
        error = Failed("Opening", path, std::generic_category().message(openErrno));
        return false;
    }
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, got);
        if (bytes.size() > maxBytes) {
            std::fclose(file);
            const std::uint64_t size = bytes.size();
            bytes.clear();
            error = Failed("Opening", path, limit.TooLarge(size) + " or more");
            return false;
        }
    }
    const bool failed = std::ferror(file) != 0;
    const int readErrno = errno;
    std::fclose(file);
    if (failed) {
        bytes.clear();
        error = Failed("Reading", path, std::generic_category().message(readErrno));
        return false;
    }
    return true;
}
#endif

} // namespace fw

#include "text_file.h"

#include "regular_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <sstream>
#include <streambuf>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fw {

namespace {

// The code points of Windows-1252 bytes 0x80 to 0x9F; every other byte is its own code point.
constexpr std::uint16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Joins texts by appending; g++ 12 at -O3 reports false -Wrestrict warnings on chains of "+".
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

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int more = 0;
        unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            if (c == 0xE0)
                low = 0xA0; // no overlong forms
            if (c == 0xED)
                high = 0x9F; // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            if (c == 0xF0)
                low = 0x90;
            if (c == 0xF4)
                high = 0x8F; // nothing above U+10FFFF
        } else {
            return false;
        }
        if (end - p <= more)
            return false;
        if (p[1] < low || p[1] > high)
            return false;
        for (int i = 2; i <= more; ++i)
            if ((p[i] & 0xC0) != 0x80)
                return false;
        p += more + 1;
    }
    return true;
}

std::string DecodeText(std::string_view bytes) {
    // A leading UTF-8 byte order mark goes whichever way the rest is read: an editor may have
    // put it before text in another encoding, and left in place it would hide the song header.
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 2);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        AppendUtf8(text, c >= 0x80 && c <= 0x9F ? Cp1252High[c - 0x80] : c);
    }
    return text;
}

std::string DecodeTextMoved(std::string&& bytes) {
    // Valid UTF-8, by far the usual case, is kept in place: no second copy of a big file.
    const bool bom = std::string_view(bytes).substr(0, 3) == "\xEF\xBB\xBF";
    if (!IsValidUtf8(std::string_view(bytes).substr(bom ? 3 : 0)))
        return DecodeText(std::string_view(bytes));
    if (bom)
        bytes.erase(0, 3);
    return std::move(bytes);
}

namespace {
// The length of the line break that starts at `i`, or 0: CR LF, LF, CR, and the Unicode line
// and paragraph separators U+2028 and U+2029 (E2 80 A8, E2 80 A9), which some editors and web
// pages put where a line ends.
std::size_t LineBreakAt(std::string_view text, std::size_t i) {
    switch (text[i]) {
    case '\r':
        return i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
    case '\n':
        return 1;
    case '\xE2':
        return text.substr(i, 3) == "\xE2\x80\xA8" || text.substr(i, 3) == "\xE2\x80\xA9" ? 3 : 0;
    default:
        return 0;
    }
}
} // namespace

bool LineCursor::Next(std::string_view& line) {
    for (std::size_t i = at_; i < text_.size(); ++i) {
        const std::size_t breakLength = LineBreakAt(text_, i);
        if (breakLength == 0)
            continue;
        line = text_.substr(at_, i - at_);
        at_ = i + breakLength;
        return true;
    }
    if (at_ >= text_.size())
        return false;
    line = text_.substr(at_);
    at_ = text_.size();
    return true;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    LineCursor cursor(text);
    for (std::string_view line; cursor.Next(line);)
        lines.emplace_back(line);
    return lines;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

bool ReadTextFile(const std::filesystem::path& path, std::string& text, std::string& error) {
    std::string bytes;
    if (!ReadRegularFile(path, bytes, error))
        return false;
    text = DecodeTextMoved(std::move(bytes));
    return true;
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

int SyncToDisk(std::FILE* file) {
#ifdef _WIN32
    return _commit(_fileno(file));
#else
    return fsync(fileno(file));
#endif
}

// Makes the rename itself durable. The file is already in place, so a failure here is not
// reported: the save has happened.
void SyncFolder([[maybe_unused]] const std::filesystem::path& folder) {
#ifndef _WIN32
    const int fd = open(folder.empty() ? "." : folder.string().c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
#endif
}

// The file a path names once symbolic links are followed: saving through a link replaces the
// file it points to and leaves the link in place. A link to a file that does not exist yet
// names that file. Returns false with errno set for a loop of links or a link that cannot be
// read.
bool FollowLinks(std::filesystem::path& path) {
#ifndef _WIN32
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
#else
    (void)path;
    return true;
#endif
}

// What is known of the file about to be replaced.
struct ExistingFile {
    bool regular = false;
#ifndef _WIN32
    struct stat info {};
#else
    std::filesystem::perms perms = std::filesystem::perms::none;
#endif
};

ExistingFile Examine(const std::filesystem::path& path) {
    ExistingFile existing;
#ifndef _WIN32
    existing.regular = stat(path.c_str(), &existing.info) == 0 && S_ISREG(existing.info.st_mode);
#else
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    existing.regular = !ec && std::filesystem::is_regular_file(status);
    existing.perms = status.permissions();
#endif
    return existing;
}

// 0 when the process may write the existing file, otherwise the error an open for writing gives
// (EACCES for a read-only file). The open neither creates nor truncates anything.
int WriteAccess([[maybe_unused]] const std::filesystem::path& path) {
#ifndef _WIN32
    const int fd = open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    close(fd);
#endif
    return 0;
}

// Gives the new file the old one's owner, group and permission bits. The owner and the group are
// kept where the process may set them (an ordinary user may only pick one of their own groups;
// only the superuser gives a file away); they are set first because a change of owner clears
// the set-user-ID bits. Returns 0 or the errno of a failed permission change.
int CopyOwnerAndMode([[maybe_unused]] std::FILE* file, const ExistingFile& old,
                     [[maybe_unused]] const std::filesystem::path& temporary) {
#ifndef _WIN32
    const int fd = fileno(file);
    struct stat now {};
    if (fstat(fd, &now) == 0) {
        if (now.st_gid != old.info.st_gid && fchown(fd, static_cast<uid_t>(-1), old.info.st_gid)) {
            // Not one of our groups: the file keeps ours.
        }
        if (now.st_uid != old.info.st_uid && fchown(fd, old.info.st_uid, static_cast<gid_t>(-1))) {
            // Not the superuser: the file is ours.
        }
    }
    return fchmod(fd, old.info.st_mode & 07777) == 0 ? 0 : errno;
#else
    std::error_code ec;
    std::filesystem::permissions(temporary, old.perms, ec);
    return ec.value();
#endif
}

bool WriteAll(std::FILE* file, std::string_view bytes) {
    return (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size()) &&
           std::fflush(file) == 0;
}

// For a file whose folder takes no new files: rewrites the file itself, as editors do. It is
// not atomic, so the old bytes are kept and written back when the new ones cannot be.
bool WriteInPlace(const std::filesystem::path& path, const std::filesystem::path& target,
                  std::string_view bytes, std::string& error) {
    std::string old;
    {
        std::FILE* in = std::fopen(target.string().c_str(), "rb");
        if (!in) {
            const int openErrno = errno;
            error = Concat({"Opening ", Quoted(target), " failed: ", Reason(openErrno), ". ",
                            Quoted(path), " was not changed."});
            return false;
        }
        char buffer[65536];
        std::size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0)
            old.append(buffer, got);
        const bool failed = std::ferror(in) != 0;
        const int readErrno = errno;
        std::fclose(in);
        if (failed) {
            error = Concat({"Reading ", Quoted(target), " failed: ", Reason(readErrno), ". ",
                            Quoted(path), " was not changed."});
            return false;
        }
    }
    std::FILE* file = std::fopen(target.string().c_str(), "r+b");
    if (!file) {
        const int openErrno = errno;
        error = Concat({"Opening ", Quoted(target), " for writing failed: ", Reason(openErrno),
                        ". ", Quoted(path), " was not changed."});
        return false;
    }
    // Truncating through the open file keeps its owner, group, permissions and links.
    auto rewrite = [file](std::string_view data) {
        std::rewind(file);
#ifndef _WIN32
        if (ftruncate(fileno(file), 0) != 0)
            return false;
#endif
        return WriteAll(file, data) && SyncToDisk(file) == 0;
    };
    if (rewrite(bytes)) {
        if (std::fclose(file) == 0)
            return true;
        const int closeErrno = errno;
        error = Concat({"Closing ", Quoted(target), " failed: ", Reason(closeErrno), "."});
        return false;
    }
    const int writeErrno = errno;
    const bool restored = rewrite(old);
    std::fclose(file);
    error = Concat({"Writing ", Quoted(target), " failed: ", Reason(writeErrno), ". ",
                    restored ? Concat({Quoted(path), " was not changed."})
                             : Concat({Quoted(path), " may be damaged."})});
    return false;
}

bool MayWriteInPlace(int createErrno) {
    return createErrno == EACCES || createErrno == EPERM || createErrno == ENAMETOOLONG;
}

} // namespace

namespace {

// A stream buffer that writes through to a C file, keeping the reason of the first failure.
class FileStreamBuffer : public std::streambuf {
public:
    explicit FileStreamBuffer(std::FILE* file) : file_(file) {}
    int failure() const { return failure_; }

protected:
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        const auto wanted = static_cast<std::size_t>(count);
        const std::size_t wrote = std::fwrite(text, 1, wanted, file_);
        if (wrote != wanted && failure_ == 0)
            failure_ = errno != 0 ? errno : EIO;
        return static_cast<std::streamsize>(wrote);
    }
    int_type overflow(int_type ch) override {
        if (traits_type::eq_int_type(ch, traits_type::eof()))
            return traits_type::not_eof(ch);
        const char c = traits_type::to_char_type(ch);
        return xsputn(&c, 1) == 1 ? ch : traits_type::eof();
    }

private:
    std::FILE* file_;
    int failure_ = 0;
};

// How a file's new content is made: `fill` writes it to the open temporary file and returns 0
// or the reason it failed; `whole` gives it as one text, for the rare rewrite in place.
struct FileContent {
    std::function<int(std::FILE*)> fill;
    std::function<std::string()> whole;
};

bool WriteAtomically(const std::filesystem::path& path, const FileContent& content,
                     std::string& error) {
    const std::string unchanged = Concat({" ", Quoted(path), " was not changed."});

    std::filesystem::path target = path;
    if (!FollowLinks(target)) {
        const int linkErrno = errno;
        error = Concat(
            {"Following the link ", Quoted(path), " failed: ", Reason(linkErrno), ".", unchanged});
        return false;
    }
    const ExistingFile existing = Examine(target);
    // A file the user may not write is refused, not silently replaced by a new one.
    if (existing.regular) {
        if (const int accessErrno = WriteAccess(target); accessErrno != 0) {
            error =
                Concat({"Saving ", Quoted(path), " failed: ", Reason(accessErrno), ".", unchanged});
            return false;
        }
    }

    std::filesystem::path temporary;
    std::FILE* file = nullptr;
    int openErrno = 0;
    for (unsigned attempt = 0; attempt < 100 && !file; ++attempt) {
        temporary = TemporaryPathFor(target, attempt);
        file = std::fopen(temporary.string().c_str(), "wbx");
        openErrno = errno;
        if (!file && openErrno != EEXIST)
            break;
    }
    if (!file) {
        // A folder that takes no new files, while the file itself may be written.
        if (existing.regular && MayWriteInPlace(openErrno))
            return WriteInPlace(path, target, content.whole(), error);
        error = Concat({"Creating the temporary file ", Quoted(temporary),
                        " failed: ", Reason(openErrno), ".", unchanged});
        return false;
    }

    // Every failure from here on closes and removes the temporary file. errno is read right
    // after each failing call, before any text is built.
    auto fail = [&](std::string_view step, const std::string& reason, std::string_view after) {
        if (file)
            std::fclose(file);
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        error = Concat({step, " the temporary file ", Quoted(temporary), after, " failed: ", reason,
                        ".", unchanged});
        return false;
    };

    if (const int writeErrno = content.fill(file); writeErrno != 0)
        return fail("Writing", Reason(writeErrno), "");
    if (std::fflush(file) != 0) {
        const int flushErrno = errno;
        return fail("Flushing", Reason(flushErrno), "");
    }
    if (SyncToDisk(file) != 0) {
        const int syncErrno = errno;
        return fail("Syncing", Reason(syncErrno), " to disk");
    }
    if (existing.regular) {
        if (const int modeErrno = CopyOwnerAndMode(file, existing, temporary); modeErrno != 0)
            return fail("Setting the permissions of", Reason(modeErrno), "");
    }
    const int closed = std::fclose(file);
    const int closeErrno = errno;
    file = nullptr;
    if (closed != 0)
        return fail("Closing", Reason(closeErrno), "");

    std::error_code ec;
    std::filesystem::rename(temporary, target, ec);
    if (ec)
        return fail("Renaming", ec.message(), Concat({" to ", Quoted(target)}));
    SyncFolder(target.parent_path());
    return true;
}

} // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string& error) {
    const FileContent content{[bytes](std::FILE* file) {
                                  const bool written =
                                      bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(),
                                                                   file) == bytes.size();
                                  return written ? 0 : (errno != 0 ? errno : EIO);
                              },
                              [bytes] { return std::string(bytes); }};
    return WriteAtomically(path, content, error);
}

bool WriteFileAtomicallyFrom(const std::filesystem::path& path,
                             const std::function<bool(std::ostream&)>& write, std::string& error) {
    const FileContent content{[&write](std::FILE* file) {
                                  FileStreamBuffer buffer(file);
                                  std::ostream out(&buffer);
                                  errno = 0;
                                  if (write(out) && out && buffer.failure() == 0)
                                      return 0;
                                  return buffer.failure() != 0 ? buffer.failure() : EIO;
                              },
                              [&write] {
                                  std::ostringstream out;
                                  write(out);
                                  return out.str();
                              }};
    return WriteAtomically(path, content, error);
}

} // namespace fw

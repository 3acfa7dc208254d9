#pragma once
// The kinds of path a user may point the program at, by mistake or from a damaged disk, shared
// by the table tests of every place that reads a file: a folder, a named pipe nobody writes to,
// a socket, a file over the editor's limit and binary garbage. Each is made at a path the test
// chooses; the first four must be refused at once, the last read as lines in error.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace fw::hostile {

// Writes `bytes` to `path`; "" or why it failed.
inline std::string WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return out ? "" : "cannot write " + path.string();
}

// A file of `size` bytes that takes no room on disk.
inline std::string MakeSparseFile(const std::filesystem::path& path, std::uintmax_t size) {
    if (std::string why = WriteBytes(path, ""); !why.empty())
        return why;
    std::error_code ec;
    std::filesystem::resize_file(path, size, ec);
    return ec ? ec.message() : "";
}

inline std::string MakeFolder(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::create_directory(path, ec) ? "" : "cannot make folder " + path.string();
}

inline std::string MakeNamedPipe(const std::filesystem::path& path) {
    return ::mkfifo(path.c_str(), 0644) == 0 ? "" : "cannot make named pipe " + path.string();
}

// A bound Unix socket; it stays bound while the test process runs.
inline std::string MakeSocket(const std::filesystem::path& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return "cannot make socket " + path.string();
    return "";
}

// The start of a program file: NUL bytes, bytes that are no UTF-8, a CR LF and a CR, so two
// lines, neither a chord line ("Not enough commas.").
inline constexpr std::string_view BinaryBytes{"\x7F"
                                              "ELF\x02\x01\0\0\r\n\xFF\xFE,\0,\x01",
                                              16};

struct FileKind {
    const char* name;
    // Makes the thing at the path; "" or why it could not be made.
    std::string (*make)(const std::filesystem::path& path);
    // What the refusal says after "Opening "<path>" failed: "; empty when the file is read.
    const char* refusal;
    bool regular;
};

inline const FileKind Kinds[] = {
    {"Folder", MakeFolder, "it is a folder, not a file", false},
    {"NamedPipe", MakeNamedPipe, "it is a named pipe, not a file", false},
    {"Socket", MakeSocket, "it is a socket, not a file", false},
    {"OverTheLimit", [](const std::filesystem::path& p) { return MakeSparseFile(p, 200'000'001); },
     "it is 200,000,001 bytes; the editor holds at most 200,000,000 characters", true},
    {"Binary", [](const std::filesystem::path& p) { return WriteBytes(p, BinaryBytes); }, "", true},
};

inline constexpr int KindCount = static_cast<int>(std::size(Kinds));

// The whole refusal for a kind made at `path`, as the program words it; "" for one it reads.
inline std::string Refusal(const FileKind& kind, const std::filesystem::path& path) {
    if (!*kind.refusal)
        return "";
    return "Opening \"" + path.string() + "\" failed: " + kind.refusal + ".";
}

} // namespace fw::hostile

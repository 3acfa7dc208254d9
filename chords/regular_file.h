#pragma once
// Reading a whole file safely, whatever the path names: only regular files are read, so a
// named pipe, a device, a socket or a folder is refused at once instead of blocking or never
// ending, and a file too large for the editor is refused before it is read.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace fw {

// The editor holds at most this many characters; a file of more bytes than that is refused.
// (Counting bytes is the cautious reading: a UTF-8 file never has more characters than bytes.)
inline constexpr std::uint64_t MaxTextFileBytes = 200'000'000;

// Reads the bytes of the file at `path` into `bytes` (replacing what it held). On failure
// returns false, leaves `bytes` empty and sets `error` to a sentence naming the file and why:
// - "Opening "<path>" failed: <system reason>." when it cannot be opened;
// - "Opening "<path>" failed: it is a folder, not a file." (or a named pipe, a device, a
//   socket) for anything but a regular file; a named pipe is never waited on;
// - "Opening "<path>" failed: it is 250,000,000 bytes; the editor holds at most 200,000,000
//   characters." for a file over `maxBytes`, also when it grows past it while being read
//   ("<holder> holds at most <maxBytes> <unit>" names the limit);
// - "Reading "<path>" failed: <system reason>." when reading fails.
bool ReadRegularFile(const std::filesystem::path& path, std::string& bytes, std::string& error,
                     std::uint64_t maxBytes = MaxTextFileBytes,
                     std::string_view holder = "the editor", std::string_view unit = "characters");

// The error ReadRegularFile gives for a path that names a folder, a named pipe, a device or a
// socket, found without opening it; empty for a regular file and for a path that names nothing.
std::string SpecialFileError(const std::filesystem::path& path);

// A number with a comma between each group of three digits: 250000000 gives "250,000,000".
std::string GroupedNumber(std::uint64_t value);

} // namespace fw

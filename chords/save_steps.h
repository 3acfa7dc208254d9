#pragma once
// The steps the atomic writer (atomic_write.cpp) shares with its two other ways of saving: the
// rewrite in place behind a backup copy (save_in_place.cpp) and writing straight into a device
// or a named pipe (save_in_place.cpp too). Internal to chords/.

#include <cstdio>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace fw::save {

// Joins texts by appending; g++ 12 at -O3 reports false -Wrestrict warnings on chains of "+".
std::string Concat(std::initializer_list<std::string_view> parts);
std::string Quoted(const std::filesystem::path& path);
std::string Reason(int errorNumber);

// Hands bytes of the new content on to where they go; returns 0 or the errno of the failure.
using Put = std::function<int(const char* data, std::size_t size)>;

// How a file's new content is made: `fill` hands all of it to the `put` it is given, in
// chunks, and returns 0 or the errno of the first failure (after which it stops).
struct Content {
    std::function<int(const Put&)> fill;
};

#ifndef _WIN32
// Writes the content at the descriptor's current offset and flushes it; the descriptor stays
// open and its offset ends after the content. Returns 0 or the errno of the failure.
int FillDescriptor(int fd, const Content& content);

// Copies everything `from` holds, from its start, to the current offset of `to`. Returns 0 or
// the errno of the failure.
int CopyAll(int from, int to);

// Forces a folder's entries to disk; failures are not reported (the file is already there).
void SyncFolder(const std::filesystem::path& folder);

// Rewrites the regular file `target` (what `path` names) in place, behind a complete copy of
// its old bytes in SaveBackupFolder(): see WriteFileAtomically.
bool SaveInPlace(const std::filesystem::path& path, const std::filesystem::path& target,
                 const Content& content, std::string& error);

// Puts the bytes of the backup copy back into the open file `fd` and forces them to disk.
bool WriteBack(int fd, const std::filesystem::path& backup);
// The note beside a backup copy: while it exists, the file it names may be half rewritten,
// and the copy holds its old bytes (save_journal.h).
std::filesystem::path NoteFor(const std::filesystem::path& backup);
// Removes the backup copy of a finished rewrite, its note first.
void Finish(const std::filesystem::path& backup);

// Writes into the stream the program already has open as `fd` (its standard output for "-",
// "/dev/stdout", "/dev/fd/1" ...), at the stream's offset: never reopened, replaced or cut, so
// what the stream held before stays, and a stream opened to append is appended to.
bool WriteIntoOpenStream(int fd, const std::filesystem::path& path, const Content& content,
                         std::string& error);

// Writes into the character device or named pipe `path` names, as it is.
bool WriteStraight(const std::filesystem::path& path, bool namedPipe, const Content& content,
                   std::string& error);
#endif

} // namespace fw::save

#pragma once
// The note a rewrite in place keeps beside its backup copy, and the check that a file it names
// is still exactly what the cut-short save left. Internal to chords/.
//
// The note records how far the rewrite got: the new bytes surely in place at the start of the
// file (their length and two hashes of them), and the chunk being written after them (its
// bytes are kept in the note before they go into the file). So whatever moment the program was
// killed at, the file it left is the new bytes in place, then some of that chunk, then the old
// bytes; a file that is anything else was changed by someone since and is never overwritten
// without asking.

#ifndef _WIN32

#include <cstdint>
#include <filesystem>
#include <string>

#include <sys/stat.h>

namespace fw::save {

// Two hashes of the bytes from the start of a file, grown as bytes are added.
struct PrefixHash {
    std::uint64_t a = 14695981039346656037ULL; // FNV-1a
    std::uint64_t b = 0x243F6A8885A308D3ULL;   // a multiply-rotate mix
    void Add(const char* data, std::size_t size);
    bool operator==(const PrefixHash&) const = default;
};

enum class JournalStage : int {
    Copying = 0,   // the backup copy is being made: the file is not touched yet
    Rewriting = 1, // new bytes go into the file from its start
    Cutting = 2,   // every new byte is in place; the file may already be cut to their length
};

struct JournalRecord {
    JournalStage stage = JournalStage::Copying;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t oldSize = 0; // of the file before the save, as in the backup copy
    std::uint64_t written = 0; // new bytes surely in place from the start of the file
    PrefixHash hash;           // of those bytes
    std::uint64_t pending = 0; // bytes of the chunk after them, which may be partly in place
};

// The note of one rewrite in place, open for its updates.
class SaveJournal {
public:
    SaveJournal() = default;
    SaveJournal(const SaveJournal&) = delete;
    SaveJournal& operator=(const SaveJournal&) = delete;
    ~SaveJournal();

    // Creates the note `note` for the file `target` described by `info`, on disk before it
    // returns, in stage Copying. Returns 0 or the errno of the failure (no note is left then).
    int Create(const std::filesystem::path& note, const std::filesystem::path& target,
               const struct stat& info);
    // Rewrites the record; 0 or the errno of the failure.
    int Update(const JournalRecord& record);
    // Keeps the chunk about to be written after record().written, then records it as pending.
    int Pending(const char* data, std::size_t size);
    const JournalRecord& record() const { return m_record; }
    // Closes the note (it stays on disk).
    void Close();

private:
    int m_fd = -1;
    std::uint64_t m_chunkAt = 0; // where the pending chunk starts in the note
    JournalRecord m_record;
};

// A note read back: the file it names and, for notes of this kind, its record and chunk.
struct JournalNote {
    std::filesystem::path target;
    bool hasRecord = false; // false for the bare path an earlier version wrote
    JournalRecord record;
    std::string chunk;
};
bool ReadJournal(const std::filesystem::path& note, JournalNote& read);

// What the file named by a note is now.
enum class FileState {
    AsLeft,    // exactly what the cut-short save left (or the old file): safe to put back
    Untouched, // the save was stopped before it wrote anything: nothing to put back
    Changed,   // anything else, or not known: never overwritten without asking
};
FileState CheckInterruptedFile(const JournalNote& note, const std::filesystem::path& copy);

} // namespace fw::save

#endif

#pragma once
// The chord dictionary file BCHORDS.DCT: one entry per line, each meant to be a chord line.
// Entries are kept as written; they are checked only when the user picks one.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

using DictionaryEntries = std::vector<std::string>;

// The entries of a dictionary file's bytes. A NUL byte ends the text; the rest is decoded like
// every text file (UTF-8, else Windows-1252). CR LF, a lone CR and a lone LF each end a line;
// an empty line is an empty entry, except that a final line end adds none.
DictionaryEntries ParseDictionaryText(std::string_view bytes);

// The file's text: every entry followed by CR LF, the last one included. NUL characters are
// left out (on reading one would end the text); CR, LF, U+2028 and U+2029 inside an entry
// become spaces, so that every entry reads back as one entry. When the first entry starts with
// U+FEFF the text starts with a byte order mark, which reading drops, so the entry stays whole.
std::string DictionaryFileText(const DictionaryEntries& entries);

// The largest dictionary file read: some 400,000 chord lines, far more than anyone picks from,
// and few enough to fill the drop-down list at start-up without a wait.
inline constexpr std::uint64_t MaxDictionaryBytes = 10'000'000;

// Reads the file at `path` (a regular file only, see ReadRegularFile) and parses it with
// ParseDictionaryText. On failure returns false, leaves `entries` alone and sets `error` to a
// sentence naming the file and the reason; a file over MaxDictionaryBytes gives "Opening
// "<path>" failed: it is 12,000,000 bytes; a chord dictionary holds at most 10,000,000 bytes.".
// When `cutAtNul` is given, it says whether a NUL byte ended the text, so that the file holds
// more than `entries`.
bool ReadDictionaryFile(const std::filesystem::path& path, DictionaryEntries& entries,
                        std::string& error, bool* cutAtNul = nullptr);

// Replaces the file at `path` atomically with DictionaryFileText(entries). On failure returns
// false, the old file is untouched and `error` says why.
bool WriteDictionaryFile(const std::filesystem::path& path, const DictionaryEntries& entries,
                         std::string& error);

// An ordering of entry texts ("a comes before b"); the program passes the user's collation.
using EntryLess = std::function<bool(const std::string& a, const std::string& b)>;

// Sorts the entries by `less`, keeping the order of entries it counts as equal.
void SortEntries(DictionaryEntries& entries, const EntryLess& less);

// Where `text` goes in entries sorted by `less`: after every entry that is not after it, so
// equal entries keep the order in which they were added.
std::size_t SortedInsertPosition(const DictionaryEntries& entries, const std::string& text,
                                 const EntryLess& less);

} // namespace fw

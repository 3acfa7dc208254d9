#include "chord_dictionary.h"

#include "regular_file.h"
#include "text_file.h"

#include <algorithm>

namespace fw {

namespace {
constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";
} // namespace

DictionaryEntries ParseDictionaryText(std::string_view bytes) {
    const std::size_t nul = bytes.find('\0');
    if (nul != std::string_view::npos)
        bytes = bytes.substr(0, nul);
    return SplitLines(DecodeText(bytes));
}

std::string DictionaryFileText(const DictionaryEntries& entries) {
    std::string text;
    // Reading drops one byte order mark at the start of the file: a first entry that itself
    // starts with U+FEFF gets one in front, so that it reads back whole.
    if (!entries.empty() && entries.front().starts_with(Utf8ByteOrderMark))
        text = Utf8ByteOrderMark;
    for (const std::string& entry : entries) {
        for (std::size_t i = 0; i < entry.size(); ++i) {
            const char c = entry[i];
            if (c == '\0')
                continue;
            // U+2028 and U+2029 end lines when read, like CR and LF.
            const std::string_view rest = std::string_view(entry).substr(i, 3);
            if (rest == "\xE2\x80\xA8" || rest == "\xE2\x80\xA9") {
                text += ' ';
                i += 2;
                continue;
            }
            text += (c == '\r' || c == '\n') ? ' ' : c;
        }
        text += "\r\n";
    }
    return text;
}

bool ReadDictionaryFile(const std::filesystem::path& path, DictionaryEntries& entries,
                        std::string& error, bool* cutAtNul) {
    std::string bytes;
    if (!ReadRegularFile(path, bytes, error, MaxDictionaryBytes, "a chord dictionary", "bytes"))
        return false;
    entries = ParseDictionaryText(bytes);
    if (cutAtNul)
        *cutAtNul = bytes.find('\0') != std::string::npos;
    return true;
}

bool WriteDictionaryFile(const std::filesystem::path& path, const DictionaryEntries& entries,
                         std::string& error) {
    return WriteFileAtomically(path, DictionaryFileText(entries), error);
}

void SortEntries(DictionaryEntries& entries, const EntryLess& less) {
    std::stable_sort(entries.begin(), entries.end(), less);
}

std::size_t SortedInsertPosition(const DictionaryEntries& entries, const std::string& text,
                                 const EntryLess& less) {
    return static_cast<std::size_t>(std::upper_bound(entries.begin(), entries.end(), text, less) -
                                    entries.begin());
}

} // namespace fw

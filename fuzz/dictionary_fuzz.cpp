// The dictionary reader over raw bytes, and its writer over any entries: what is written reads
// back as the same entries, and reading is stable.

#include "fuzz_support.h"

#include "chords/chord_dictionary.h"

using namespace fw;
using namespace fw::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = AsText(data, size);
    const DictionaryEntries entries = ParseDictionaryText(bytes);
    for (const std::string& entry : entries)
        FUZZ_CHECK(IsValidUtf8(entry), "an entry is valid UTF-8");
    FUZZ_CHECK(ParseDictionaryText(DictionaryFileText(entries)) == entries,
               "read entries are written and read back unchanged");

    // Any entries the program might hold (here: the bytes cut at each 0x01, as UTF-8): each
    // written entry reads back as exactly one entry.
    DictionaryEntries held;
    std::string current;
    for (const char c : DecodeText(bytes)) {
        if (c == '\x01') {
            held.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    held.push_back(current);
    const DictionaryEntries back = ParseDictionaryText(DictionaryFileText(held));
    FUZZ_CHECK(back.size() == held.size(), "every written entry reads back as one entry");
    return 0;
}

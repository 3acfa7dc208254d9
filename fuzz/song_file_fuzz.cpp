// The song reader over raw bytes: decoding always gives valid UTF-8 (UTF-16 of either byte order
// alike), the editor's bounds name the first line too long or the number of lines,
// lines hold no line break,
// the lines and the header survive being saved and read again, and checking the text finds
// exactly the lines the parser rejects.

#include "fuzz_support.h"

#include "chords/regular_file.h"
#include "chords/song_check.h"
#include "chords/text_bounds.h"

using namespace fw;
using namespace fw::fuzz;

namespace {

bool HoldsLineBreak(std::string_view line) {
    return line.find_first_of("\r\n") != std::string_view::npos ||
           line.find("\xE2\x80\xA8") != std::string_view::npos ||
           line.find("\xE2\x80\xA9") != std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = AsText(data, size);
    const std::string text = DecodeText(bytes);
    FUZZ_CHECK(IsValidUtf8(text), "decoded text is valid UTF-8");
    if (IsValidUtf8(bytes) && bytes.substr(0, 3) != "\xEF\xBB\xBF")
        FUZZ_CHECK(text == bytes, "valid UTF-8 is kept as it is");

    // The same code units in the other byte order, behind the other mark, read the same.
    if (bytes.size() >= 2 &&
        (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")) {
        std::string swapped(bytes);
        for (std::size_t i = 0; i + 1 < swapped.size(); i += 2)
            std::swap(swapped[i], swapped[i + 1]);
        FUZZ_CHECK(DecodeText(swapped) == text, "UTF-16 reads alike in either byte order");
    }

    const std::vector<std::string> fileLines = SplitLines(text);
    for (const std::string& line : fileLines)
        FUZZ_CHECK(!HoldsLineBreak(line), "a split line holds no line break");

    // The bounds, small enough for fuzzed inputs to pass them.
    const TextBounds bounds{40, 20};
    std::string over;
    for (std::size_t i = 0; i < fileLines.size() && over.empty(); ++i) {
        std::size_t characters = 0;
        for (const char c : fileLines[i])
            characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (characters > bounds.maxLineCharacters)
            over = "line " + GroupedNumber(i + 1) + " has " + GroupedNumber(characters) +
                   " characters; the editor holds at most 40 characters in a line";
    }
    if (over.empty() && fileLines.size() > bounds.maxLines)
        over = "it has " + GroupedNumber(fileLines.size()) +
               " lines; the editor holds at most 20 lines";
    FUZZ_CHECK(TextBoundsError(text, bounds) == over, "the bounds name the first excess");
    FUZZ_CHECK(SplitLines(JoinLinesCrLf(fileLines)) == fileLines, "joined lines split back");

    const SongHeader header = ReadSongHeader(fileLines);
    FUZZ_CHECK(header.patch >= 0 && header.patch <= 255, "the patch is eight bits");
    FUZZ_CHECK(header.tempo >= MinTempo && header.tempo <= MaxTempo, "the tempo is in range");
    const std::vector<std::string> lines = SongEditorLines(fileLines, header);

    // Saved and opened again: the same editor lines and settings. The first line of the file
    // serves as the info text, as any text may.
    const std::string info = fileLines.empty() ? std::string() : fileLines.front();
    const std::string saved = SongFileText(lines, header.patch, header.tuning, header.tempo, info);
    const std::vector<std::string> savedLines = SplitLines(DecodeText(saved));
    const SongHeader savedHeader = ReadSongHeader(savedLines);
    FUZZ_CHECK(savedHeader.headerComplete, "a saved song has its header");
    FUZZ_CHECK(savedHeader.patch == header.patch, "the patch survives saving");
    FUZZ_CHECK(savedHeader.tuning == header.tuning, "the tuning survives saving");
    FUZZ_CHECK(savedHeader.tempo == header.tempo, "the tempo survives saving");
    FUZZ_CHECK(SongEditorLines(savedLines, savedHeader) == lines, "the lines survive saving");

    // Walking the text line by line, as the command-line tools do, sees the same header and
    // the same editor lines as splitting it.
    const SongHeader walkedHeader = ReadSongHeaderOfText(text);
    FUZZ_CHECK(walkedHeader.headerComplete == header.headerComplete &&
                   walkedHeader.patch == header.patch && walkedHeader.tuning == header.tuning &&
                   walkedHeader.tempo == header.tempo,
               "the walked header is the split one");
    std::vector<std::string> walked;
    const std::size_t visited = ForEachEditorLine(text, [&](std::string_view line, std::size_t i) {
        FUZZ_CHECK(i == walked.size(), "lines are visited in order");
        walked.emplace_back(line);
    });
    FUZZ_CHECK(visited == walked.size() && walked == lines, "the walked lines are the split ones");

    // Checking the song reports one error for each line the parser rejects, in line order.
    const std::vector<std::string> errors = CheckSongText(text);
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (ParsedLine parsed = ParseChordText(lines[i], static_cast<int>(i)); !parsed.ok())
            expected.push_back(std::move(parsed.error));
    FUZZ_CHECK(errors == expected, "the check reports the parser's errors");
    return 0;
}

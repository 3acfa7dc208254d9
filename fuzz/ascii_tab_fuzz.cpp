// ASCII tablature over any song the reader accepts: every block's five string lines have one
// length, start and end with a bar line and hold only tablature characters; there is a block
// for every two measures with chords, and truncation is reported exactly when a measure holds
// more chords than tablature shows.

#include "fuzz_support.h"

#include "export/ascii_tab.h"

using namespace fw;
using namespace fw::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzSong song = SongFromBytes(AsText(data, size));
    if (!song.clean)
        return 0;
    std::vector<TabItem> items = BuildTabItems(song.entries, song.lines);
    const int measureCount = AssignMeasureSizes(items);
    const std::vector<TabMeasure> measures = NonEmptyMeasures(items);
    FUZZ_CHECK(static_cast<int>(measures.size()) == measureCount, "measures counted once");
    bool anyTruncated = false;
    for (const TabMeasure& measure : measures) {
        const auto chords = MeasureChords(items, measure);
        FUZZ_CHECK(!chords.empty(), "a measure holds a chord");
        FUZZ_CHECK(items[measure.terminator].IsTerminator, "a measure ends at a terminator");
        FUZZ_CHECK(ColumnCount(chords) <= MaxMeasureChords, "columns are capped");
        anyTruncated = anyTruncated || IsTruncated(chords);
    }

    const AsciiTab tab = BuildAsciiTab(items, {"G Tuning - G D G B D", "Title", "Sub"}, true);
    FUZZ_CHECK(tab.truncated == anyTruncated, "truncation reported when it happens");
    FUZZ_CHECK(tab.blocks == (measureCount + 1) / 2, "a block per two measures");
    const std::size_t header = 6;
    FUZZ_CHECK(tab.lines.size() == header + 7 * static_cast<std::size_t>(tab.blocks),
               "seven lines per block after the header");
    for (int b = 0; b < tab.blocks; ++b) {
        const std::size_t first = header + 7 * static_cast<std::size_t>(b);
        const std::size_t width = tab.lines[first].size();
        for (std::size_t k = first; k < first + 5; ++k) {
            const std::string& line = tab.lines[k];
            FUZZ_CHECK(line.size() == width, "the string lines of a block have one length");
            FUZZ_CHECK(line.size() >= 2 && line.front() == '|' && line.back() == '|',
                       "a string line starts and ends with a bar line");
            FUZZ_CHECK(line.find_first_not_of("|-/0123456789") == std::string::npos,
                       "a string line holds only tablature characters");
        }
        FUZZ_CHECK(tab.lines[first + 6].empty(), "an empty line after each block");
    }
    return 0;
}

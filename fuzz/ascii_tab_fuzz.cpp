// ASCII tablature over any song the reader accepts: every block's five string lines have one
// length, start and end with a bar line and hold only tablature characters; there is a block
// for every two measures with chords, and truncation is reported exactly when a measure holds
// more chords than tablature shows. With measures cut by the meter and every other form: no
// truncation, every chord in a measure, string lines of one length per block, and a rhythm
// layout with a column per chord, in order, and beams inside their measure.

#include "fuzz_support.h"

#include "export/ascii_tab.h"
#include "export/rhythm_layout.h"

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

    const TabBarRule rule{TabBars::Meter, MeterFromComments(song.lines)};
    std::vector<TabItem> cut = BuildTabItems(song.entries, song.lines, rule);
    AssignMeasureSizes(cut);
    std::size_t chords = 0;
    for (const TabItem& item : cut)
        chords += item.IsTerminator ? 0 : 1;
    std::size_t inMeasures = 0;
    for (const TabMeasure& measure : NonEmptyMeasures(cut)) {
        const auto measureChords = MeasureChords(cut, measure);
        inMeasures += measureChords.size();
        const RhythmMeasure rhythm = LayoutRhythm(measureChords, rule.meter, RhythmSpacing{});
        FUZZ_CHECK(rhythm.columns.size() == measureChords.size(), "a column per chord");
        for (std::size_t i = 1; i < rhythm.columns.size(); ++i)
            FUZZ_CHECK(rhythm.columns[i].x > rhythm.columns[i - 1].x, "columns in order");
        for (const BeamGroup& group : rhythm.groups) {
            FUZZ_CHECK(group.first < group.last && group.last < rhythm.columns.size(),
                       "a beam joins two columns or more of its measure");
            for (const BeamSegment& segment : group.segments)
                FUZZ_CHECK(segment.from >= group.first && segment.to <= group.last &&
                               segment.from <= segment.to,
                           "a beam stays in its group");
        }
    }
    FUZZ_CHECK(inMeasures == chords, "measures of the meter hold every chord");

    TabOptions forms;
    forms.bars = TabBars::Meter;
    forms.rhythm = TabRhythm::Letters;
    forms.neckFrets = forms.letterMarks = forms.chordNames = forms.stringNames = true;
    const AsciiTab formed = BuildAsciiTab(cut, {"G Tuning - G D G B D", "Title", "Sub"}, forms);
    FUZZ_CHECK(!formed.truncated, "measures of the meter are never truncated");
    FUZZ_CHECK(formed.lines.size() == header + 8 * static_cast<std::size_t>(formed.blocks),
               "eight lines per block after the header");
    for (int b = 0; b < formed.blocks; ++b) {
        const std::size_t first = header + 8 * static_cast<std::size_t>(b) + 1;
        for (std::size_t k = first; k < first + 5; ++k) {
            FUZZ_CHECK(formed.lines[k].size() == formed.lines[first].size(),
                       "the string lines of a block have one length");
            FUZZ_CHECK(formed.lines[k].back() == '|', "a string line ends with a bar line");
        }
    }
    return 0;
}

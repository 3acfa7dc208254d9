// The ASCII tablature importer over any text: every line it gives parses without error and its
// count of chord lines is right. And over any song the reader accepts: importing the ASCII
// tablature the program writes gives the song's chords back, fret for fret, hammer-on for
// hammer-on, in order.

#include "fuzz_support.h"

#include "export/ascii_tab.h"
#include "export/ascii_tab_reader.h"
#include "export/tests/tab_text_rewrites.h"

using namespace fw;
using namespace fw::fuzz;
using fw::test::HammerOnLetters;
using fw::test::NeckFret;

namespace {

struct Chord {
    FretArray frets;
    FretArray hammers;
    bool operator==(const Chord&) const = default;
};

std::vector<Chord> ChordsOfLines(const std::vector<std::string>& lines) {
    std::vector<Chord> chords;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ParsedLine parsed = ParseChordText(lines[i], static_cast<int>(i));
        FUZZ_CHECK(parsed.ok(), "every imported line parses");
        if (parsed.isChord())
            chords.push_back({parsed.entry.Fret, parsed.entry.HammerFret});
    }
    return chords;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = AsText(data, size);
    const TabReading any = ReadAsciiTab(DecodeText(bytes));
    FUZZ_CHECK(static_cast<int>(ChordsOfLines(any.lines).size()) == any.chordLines,
               "the chord lines are counted");

    const FuzzSong song = SongFromBytes(bytes);
    if (!song.clean)
        return 0;
    std::vector<TabItem> items = BuildTabItems(song.entries, song.lines);
    AssignMeasureSizes(items);
    const AsciiTab tab = BuildAsciiTab(items, {"G Tuning - G D G B D", "Title", ""}, true);
    if (tab.truncated)
        return 0; // chords past the cap are not written, so they cannot come back
    std::vector<Chord> written;
    for (const TabMeasure& measure : NonEmptyMeasures(items))
        for (const TabItem& item : MeasureChords(items, measure))
            written.push_back({item.Fret, item.HammerFret});
    const TabReading back = ReadAsciiTab(JoinLinesCrLf(tab.lines));
    FUZZ_CHECK(ChordsOfLines(back.lines) == written, "imported tablature gives the chords back");

    std::vector<ChordEntry> neck = song.entries;
    for (ChordEntry& entry : neck) {
        entry.Fret[5] = NeckFret(entry.Fret[5]);
        entry.HammerFret[5] = NeckFret(entry.HammerFret[5]);
    }
    std::vector<TabItem> neckItems = BuildTabItems(neck, song.lines);
    AssignMeasureSizes(neckItems);
    AsciiTab neckTab = BuildAsciiTab(
        neckItems, {"G Tuning - G D G B D" + std::string(NeckFretsSuffix), "Title", ""}, true);
    HammerOnLetters(neckTab.lines);
    const TabReading neckBack = ReadAsciiTab(JoinLinesCrLf(neckTab.lines));
    FUZZ_CHECK(ChordsOfLines(neckBack.lines) == written,
               "neck frets and h/p letters give the chords back");
    return 0;
}

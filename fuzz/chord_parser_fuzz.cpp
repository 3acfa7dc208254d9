// The chord-line parser over any text: it never fails to answer, its entries agree with
// themselves, and a chord line composed again from its entry parses to the same chord.

#include "fuzz_support.h"

#include "chords/chord_composer.h"
#include "chords/text_rules.h"

using namespace fw;
using namespace fw::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line = AsText(data, size);
    const ParsedLine parsed = ParseChordText(line, 0);
    if (!parsed.ok()) {
        FUZZ_CHECK(parsed.error.rfind("Line 1    ", 0) == 0, "an error names its line");
        return 0;
    }
    const ChordEntry& entry = parsed.entry;
    switch (KindOf(entry)) {
    case LineKind::Comment:
        // A chord line whose name starts with "*" after leading blanks (" *G, 0, ...") is a
        // valid line that every consumer then takes for a comment, as the names alone decide.
        if (!IsCommentLine(line)) {
            FUZZ_CHECK(CountCommas(line) == 6 && entry.Name.front() == '*',
                       "only a line starting with * is a comment");
            return 0;
        }
        FUZZ_CHECK(line.substr(0, entry.Name.size()) == entry.Name, "a comment keeps its text");
        FUZZ_CHECK(CharCount(entry.Name) <= 80, "a comment name holds at most 80 characters");
        return 0;
    case LineKind::Blank:
        FUZZ_CHECK(TrimView(line).empty(), "only an empty line is blank");
        return 0;
    case LineKind::Chord:
        break;
    }
    FUZZ_CHECK(CountCommas(line) == 6, "a chord line has six commas");
    FUZZ_CHECK(DurationValue(entry.Duration, 384) > 0, "a valid duration");
    for (int s = 1; s <= 5; ++s) {
        FUZZ_CHECK(entry.Fret[s] >= NoFret && entry.Fret[s] <= MaxFret, "a fret in range");
        FUZZ_CHECK(entry.Note[s] ==
                       (entry.Fret[s] == NoFret ? NoNote : entry.Fret[s] + OpenPitch[s]),
                   "the note follows the fret");
        const bool hammered = entry.HammerFret[s] != NoFret;
        FUZZ_CHECK(!hammered || entry.Fret[s] != NoFret, "a hammer-on starts on a played string");
        FUZZ_CHECK(entry.HammerFret[s] >= NoFret && entry.HammerFret[s] <= MaxFret,
                   "a hammer-on target in range");
        FUZZ_CHECK(entry.HammerNote[s] == (hammered ? entry.HammerFret[s] + OpenPitch[s] : NoNote),
                   "the hammer-on note follows its fret");
    }

    // Composed again, the line parses to the same frets, hammer-ons and duration.
    const std::string composed = ComposeChordText(entry.Fret, entry.HammerFret, entry.Duration);
    const ParsedLine again = ParseChordText(composed, 0);
    FUZZ_CHECK(again.isChord(), "a composed line is a valid chord line");
    FUZZ_CHECK(again.entry.Fret == entry.Fret, "the frets survive composing");
    FUZZ_CHECK(again.entry.HammerFret == entry.HammerFret, "the hammer-ons survive composing");
    FUZZ_CHECK(again.entry.Note == entry.Note, "the notes survive composing");
    FUZZ_CHECK(again.entry.Duration == entry.Duration, "the duration survives composing");
    return 0;
}

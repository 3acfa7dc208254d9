#pragma once
// The structure of a song, written into its chord list as comment-line markers so that older
// readers keep them as plain comments:
//
//   * Repeat: start          a repeated section begins below this line
//   * Repeat: end [xN]       the section above is played N times (twice without xN); with no
//                            start, it repeats from the line after the previous repeat's end,
//                            or from the song's beginning
//   * Ending: N              ending N begins below this line. An ending inside a repeat runs to
//                            the next ending or the repeat's end and is played on pass N only;
//                            an ending after the repeat's end is played on the last pass and
//                            runs to the next blank line or marker
//   * Time: 6/8              the meter from this line on (the first one is the song's meter)
//   * Tempo: 90              the tempo from this line on (before the first one: the song's)
//   * Pickup: 1/4            the song starts with a pickup (anacrusis) of that length
//
// Keywords are matched in any letter case, with spaces allowed around the colon and after the
// "*". Any other comment stays a plain comment. Pure C++.

#include "beat_meter.h"
#include "chord_entry.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

enum class MarkerKind { RepeatStart, RepeatEnd, Ending, Time, Tempo, Pickup };

struct SongMarker {
    MarkerKind kind = MarkerKind::RepeatStart;
    std::size_t line = 0; // editor line index of the marker, from 0
    int count = 0;        // RepeatEnd: times played (2..99); Ending: its number (1..99)
    BeatMeter meter;      // Time
    int tempo = 0;        // Tempo: beats per minute, 1..500
    int pickupNum = 0;    // Pickup: the length as a fraction of a whole note, num/den
    int pickupDen = 1;
    std::size_t until = 0; // Ending: its bracket covers the lines (line, until)
    bool operator==(const SongMarker&) const = default;
};

// What one line says as a marker.
struct MarkerReading {
    std::optional<SongMarker> marker; // set for a well-formed marker (its `line` is 0)
    std::string error;                // set for a malformed marker: "Repeat: sideways" ...
    bool isMarker() const { return marker.has_value(); }
};

// Reads a comment line ("* Repeat: end x3") as a marker. A line that is no comment, or a
// comment whose first word is not a marker keyword followed by ":", gives neither a marker nor
// an error. A marker keyword with a value it cannot take gives the error text without a line
// prefix, e.g. "Malformed marker \"* Time: 0/4\": meter must be like 3/4."
MarkerReading ReadMarker(std::string_view line);

struct RepeatSection;

// The markers of a song in line order, collected line by line so that a song of any size can
// be read without keeping its lines. Malformed markers are left out (ReadMarker reports them).
class SongStructure {
public:
    // Adds line `index` (indexes must rise); a line that is no marker is passed over.
    void AddLine(std::string_view line, std::size_t index);
    // The markers of a list of lines (or of the Names of parsed entries, via the template).
    static SongStructure OfLines(std::span<const std::string> lines);
    static SongStructure OfEntries(std::span<const ChordEntry> entries);

    const std::vector<SongMarker>& markers() const { return markers_; }
    // True when the song has no marker that changes its sounding order, meter or tempo: it
    // then plays, in line order, exactly as a song without markers.
    bool plain() const { return markers_.empty(); }
    bool hasRepeats() const;
    // The song's meter (the first Time marker; 4/4 without one) and its pickup in ticks of a
    // whole note of `whole` ticks (0 without a pickup).
    BeatMeter firstMeter() const;
    int pickupTicks(int whole) const;

    // The repeated sections as they are drawn, in line order.
    std::vector<RepeatSection> sections() const;

private:
    std::vector<SongMarker> markers_;
    std::size_t openEnding_ = 0;  // 1 + index of the ending marker whose bracket is still open
    bool afterRepeatEnd_ = false; // the last repeat marker was an end
    bool endingAfterEnd_ = false; // the open ending follows a repeat's end
};

// A repeated section. Its lines are [first, endLine]; the "* Repeat: start" line is `first`
// when the section has one. `endings` are the ending markers of the section, both those inside
// it (they run to the next marker) and those after its end (they run to the next blank line or
// marker), in line order, each with its `until`.
struct RepeatSection {
    std::size_t first = 0;
    bool startMarked = false;
    std::size_t endLine = 0;
    int count = 2;
    std::vector<SongMarker> endings;
};

// One stretch of consecutive lines [first, end) played as one go, in sounding order.
struct SoundingSpan {
    std::size_t first = 0;
    std::size_t end = 0;
    int pass = 1;    // which time through the enclosing repeat (1 outside repeats)
    int tempo = 0;   // the tempo marker in force at `first` (0: the song's own tempo)
    BeatMeter meter; // the meter in force at `first`
    bool operator==(const SoundingSpan&) const = default;
};

// The sounding order of a song of `lineCount` lines: the stretches of lines as they are played,
// repeats and endings written out. Marker lines are inside the stretches (they sound nothing).
// A song without markers gives one span over every line. Empty for `lineCount` 0.
// `startLine` (clamped to the song) plays from that line on: a start inside a repeated section
// plays the rest of the song from there, taking the repeat once (not again from its start).
std::vector<SoundingSpan> SoundingOrder(const SongStructure& structure, std::size_t lineCount,
                                        std::size_t startLine = 0);

// One sounding chord line: its line index, its length in ticks, the pass through its repeat,
// and the tempo (0: the song's) and meter in force where it sounds.
struct SoundingLine {
    std::size_t line = 0;
    int ticks = 0;
    int pass = 1;
    int tempo = 0;
    BeatMeter meter;
};

// Walks the spans over `entries` (one parsed entry per editor line) and lists their chord lines
// with their lengths in ticks of a whole note of `whole` ticks. Tempo and meter markers met
// inside a span take effect from there on.
std::vector<SoundingLine> SoundingLines(std::span<const ChordEntry> entries,
                                        std::span<const SoundingSpan> spans, int whole);

// A marker's effect on a walk in line order: sets the new tempo or meter when `text` (a line or
// a comment entry's Name) is a Tempo or Time marker and returns true; false for any other text.
bool ApplyTempoOrMeter(std::string_view text, int& tempo, BeatMeter& meter);

} // namespace fw

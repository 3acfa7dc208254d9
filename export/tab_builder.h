#pragma once
// The tablature builder: cuts the chord list into measures of tab items. A measure is the run
// of chord lines between two blank lines of the editor, or, when bars come from the meter, the
// run of chords whose durations fill a measure of it; comment lines take no place in it.
// Tablature shows two measures side by side per row; each chord takes one column of its
// measure, and a chord with hammer-ons a second column for the hammer-on targets.
// Pure C++: shared by the ASCII text, the drawing on screen and printing.

#include "chords/chord_entry.h"
#include "tab_meter.h"
#include "tab_options.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fw {

// A measure shows at most this many chords; the rest are dropped with a warning.
inline constexpr int MaxMeasureChords = 24;

// One editor line that is not a comment line, or the blank entry after the last line.
struct TabItem {
    FretArray Fret = AllNoFrets();       // index 1..5 = string; -1 = not played
    FretArray HammerFret = AllNoFrets(); // -1 = no hammer-on on that string
    NoteArray HammerNote = AllNoNotes(); // 255 = no hammer-on on that string
    std::string Duration;                // as written in the line, e.g. "Q" or ".E"
    std::string Name;                    // the chord line's name, e.g. "G" or "Chord"
    bool IsTerminator = false;           // closes its measure: a blank line, or the end of a
                                         // measure of the meter
    int MeasureNumber = 0;               // 1 for the first measure
    int Position = 0;                    // 1-based place in the measure, terminator included
    int MeasureSize = 0;                 // the terminator's Position, once it has been seen

    // The song's structure, from its marker lines (chords/song_structure.h); every field keeps
    // its default in a song without markers. All are set on chord items only.
    bool RepeatStart = false; // a "|:" stands before this chord ("* Repeat: start" above it)
    int RepeatEndCount = 0;   // a ":|" stands after this chord, played this many times (2..99)
    int EndingNumber = 0;     // ending N begins with this chord ("* Ending: N" above it)
    bool EndingLast = false;  // the bracket of the ending this chord is in ends after it
    int MeterBeats = 0;       // the meter from this chord on ("* Time:" above it); 0: no change
    int MeterUnit = 0;
    int TripletPlace = 0;     // a triplet value: its place 1..3 in its group of three; 0: none
    bool TripletLast = false; // the last chord of its triplet group (a group may be cut short)
    bool InPickup = false;    // in the song's pickup measure (bars from the meter only)

    // True when at least one string has a hammer-on target.
    bool HasHammerOn() const;
    // Number of strings with a hammer-on target.
    int HammerOnCount() const;
    // True when no string is played (a rest).
    bool IsRest() const;
};

// A measure with at least one chord: its chord items are items[first, terminator), the item at
// `terminator` closes it.
struct TabMeasure {
    std::size_t first = 0;
    std::size_t terminator = 0;
};

// Where the builder closes measures: at blank lines, or when the durations fill `meter`.
struct TabBarRule {
    TabBars bars = TabBars::BlankLines;
    Meter meter;
};

// Makes the items of a chord list one line at a time, as BuildTabItems does, for a reader that
// walks a big song's lines without keeping them. Marker lines set the structure fields of the
// chord items after them; a repeat or ending marker also closes an open measure, for repeat
// signs and endings stand at bar lines. With bars from the meter, a "* Time:" line changes the
// meter from there on and "* Pickup:" makes the first measure that long.
class TabItemsBuilder {
public:
    TabItemsBuilder() = default;
    explicit TabItemsBuilder(const TabBarRule& rule) : rule_(rule) {}
    void Reserve(std::size_t lines) { items_.reserve(lines); }
    // Adds the item of one editor line, parsed without error into `entry`. With bars from the
    // meter, blank lines make no item; a chord whose duration fills the measure (or crosses its
    // end, for it is never split) is followed by a terminator, and the next measure starts
    // after it.
    void Add(const ChordEntry& entry, std::string_view line);
    // The items. With bars from the meter, a measure the last chords left open is closed by a
    // terminator; with bars at blank lines the caller adds the blank entry after the last line.
    std::vector<TabItem> Take();

private:
    void CloseMeasure();
    void AddMarker(std::string_view line);
    void CloseEnding();
    void CloseTriplets();
    TabItem* LastChord();

    TabBarRule rule_;
    std::vector<TabItem> items_;
    int measure_ = 1;
    int position_ = 0;
    int filled_ = 0; // ticks of the open measure, with bars from the meter
    // The song's structure as its marker lines pass.
    bool repeatStartPending_ = false;
    int endingPending_ = 0;
    std::size_t endingFirst_ = 0; // 1 + index of the first chord of the open ending
    bool endingAfterEnd_ = false; // the open ending follows a repeat's end
    bool afterRepeatEnd_ = false;
    Meter meterPending_;
    bool meterChanged_ = false;
    int pickupTicks_ = 0; // with bars from the meter: the first measure's length
    bool anyChord_ = false;
    int tripletTicks_ = 0; // ticks of the open triplet group
    int tripletSpan_ = 0;  // the ticks it fills when full: three of its first value
    int tripletPlace_ = 0;
};

// Makes the items of a chord list: `entries` holds the parsed editor lines, one more than
// `lines` (the blank entry after the last line). Line i past the end of `lines` reads as an
// empty line. Comment lines make no item; a line that is empty once trimmed makes a terminator
// and starts the next measure. The caller has parsed every line without error.
std::vector<TabItem> BuildTabItems(std::span<const ChordEntry> entries,
                                   std::span<const std::string> lines);
// The same with measures closed by `rule`.
std::vector<TabItem> BuildTabItems(std::span<const ChordEntry> entries,
                                   std::span<const std::string> lines, const TabBarRule& rule);

// Sets MeasureSize on every item of every measure closed by a terminator, and returns the
// number of measures with at least one chord. Consecutive blank lines make measures of size 1,
// which hold no chord and are not counted.
int AssignMeasureSizes(std::vector<TabItem>& items);

// The measures with at least one chord, in list order (after AssignMeasureSizes).
std::vector<TabMeasure> NonEmptyMeasures(std::span<const TabItem> items);

// The chord items of a measure.
std::span<const TabItem> MeasureChords(std::span<const TabItem> items, const TabMeasure& measure);

// The number of parts, less one, a measure is divided into: the measure's size (its chords
// plus one) plus the number of hammer-on targets over all its chords, at most MaxMeasureChords.
// Both the ASCII text and the drawing divide a measure into ColumnCount + 1 equal parts.
int ColumnCount(std::span<const TabItem> measureChords);
// The same for tablature written with `bars`: measures cut by the meter have no cap.
int ColumnCount(std::span<const TabItem> measureChords, TabBars bars);

// The number of parts, less one, graphic tablature divides a measure into: one column for each
// chord it shows (at most MaxMeasureChords), one more for each of those chords that has a
// hammer-on (its targets share that column), and one after the last. Uncapped, so that every
// target stays inside its measure; the ASCII text keeps ColumnCount.
int DrawnColumnCount(std::span<const TabItem> measureChords);

// True when a measure holds more chords than tablature shows.
bool IsTruncated(std::span<const TabItem> measureChords);

// The same for tablature written with `bars`: measures cut by the meter are never truncated.
bool IsTruncated(std::span<const TabItem> measureChords, TabBars bars);

} // namespace fw

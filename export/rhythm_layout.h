#pragma once
// The rhythm of a measure as stems under the staff: where each chord's column stands (spacing
// that follows duration, with a minimum width so that numbers never touch), which notes share a
// beam (grouped by the beat: eighths in pairs within a quarter, sixteenths in fours), which get
// flags, dots and rest signs. Pure C++ in any unit of width; the drawing scales it to pixels.

#include "tab_builder.h"
#include "tab_meter.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace fw {

enum class NoteValue { Whole, Half, Quarter, Eighth, Sixteenth, ThirtySecond, SixtyFourth };

struct RhythmValue {
    NoteValue value = NoteValue::Quarter;
    bool dotted = false;
    int ticks = TabWholeTicks / 4; // whole = TabWholeTicks, dotted values included

    // Flags of the value alone, and beams when it is beamed: 0 for a quarter and longer, 1 for
    // an eighth, up to 4 for a sixty-fourth.
    int BeamCount() const;
    bool operator==(const RhythmValue&) const = default;
};

// The value of a duration text ("Q", ".e"); nothing for any other text.
std::optional<RhythmValue> RhythmValueOf(std::string_view duration);

struct RhythmSpacing {
    double minWidth = 1; // the narrowest column: a two-digit fret and a gap on either side
    double growth = 0.5; // extra width, in minWidths, for each doubling above a sixteenth
    double leadIn = 1;   // room between the opening bar and the first column
};

// The width of a column of `ticks`: minWidth for a sixteenth and shorter, then growing by
// `growth` minWidths for each doubling (eighth 1.5, quarter 2, half 2.5, whole 3 at the
// default growth).
double RhythmColumnWidth(int ticks, const RhythmSpacing& spacing);

struct RhythmColumn {
    std::size_t chord = 0; // index of the chord among the measure's chords
    double x = 0;          // where its numbers and its stem stand, from the measure's left
    double width = 0;      // room from x to the next column (or to the closing bar)
    double targetX = -1;   // where its hammer-on targets stand, which share its stem; -1: none
    int start = 0;         // its onset in ticks from the start of the measure
    RhythmValue value;     // a chord with a duration text the program does not know is a quarter
    bool rest = false;     // no string played: a rest sign of its value instead of a stem
    bool stem = false;     // a stem below the staff: every note but a whole note
    int flags = 0;         // flags on the stem of a note shorter than a quarter that has no beam
    int beams = 0;         // beams through the stem of a beamed note
    int group = -1;        // index of its beam group, or -1
};

// One beam of a group at `level` (1 the outer beam, 2 the sixteenth beam, ...) joining the stems
// of columns `from` to `to`. A note that has more beams than both of its neighbours gets a short
// stub (`from` == `to`) pointing at `stub`: -1 to the left, +1 to the right; 0 for a full beam.
struct BeamSegment {
    int level = 1;
    std::size_t from = 0;
    std::size_t to = 0;
    int stub = 0;
};

// Columns first..last (indexes into RhythmMeasure::columns) beamed together.
struct BeamGroup {
    std::size_t first = 0;
    std::size_t last = 0;
    std::vector<BeamSegment> segments;
};

struct RhythmMeasure {
    std::vector<RhythmColumn> columns; // one per chord, in order
    std::vector<BeamGroup> groups;
    double width = 0; // natural width: the lead-in and every column's width
};

// Lays out the chords of one measure. Notes shorter than a quarter are beamed with the notes
// next to them that start in the same span of the meter's BeamTicks() and end inside it; a rest
// or a longer note breaks a beam, and a note left alone gets flags. A stub points right on the
// first note of its group and left on any other. A chord with a hammer-on takes at least two
// minimum widths so that its target has room; the target stands one minimum width after it.
RhythmMeasure LayoutRhythm(std::span<const TabItem> measureChords, const Meter& meter,
                           const RhythmSpacing& spacing);

// Stretches (or squeezes) a measure to `width`: the lead-in keeps its size, every column's x,
// width and target move in proportion. A measure with no column, or a width not above the
// lead-in, is left as it is.
void StretchRhythm(RhythmMeasure& measure, double width, const RhythmSpacing& spacing);

} // namespace fw

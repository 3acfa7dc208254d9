#include "rhythm_layout.h"

#include "chords/chord_parser.h"

#include <algorithm>
#include <cmath>

namespace fw {

namespace {

constexpr int SixteenthTicks = TabWholeTicks / 16;

// A column that can take a beam: a note, not a rest, shorter than a quarter.
bool Beamable(const RhythmColumn& column) {
    return !column.rest && column.value.BeamCount() > 0;
}

// The beams of one group, level by level: runs of two or more notes with at least that many
// beams get a full beam, a lone note a stub.
void AddSegments(BeamGroup& group, const std::vector<RhythmColumn>& columns) {
    int deepest = 0;
    for (std::size_t i = group.first; i <= group.last; ++i)
        deepest = std::max(deepest, columns[i].beams);
    for (int level = 1; level <= deepest; ++level) {
        std::size_t i = group.first;
        while (i <= group.last) {
            if (columns[i].beams < level) {
                ++i;
                continue;
            }
            std::size_t j = i;
            while (j + 1 <= group.last && columns[j + 1].beams >= level)
                ++j;
            const int stub = i != j ? 0 : (i == group.first ? +1 : -1);
            group.segments.push_back({level, i, j, stub});
            i = j + 1;
        }
    }
}

void GroupBeams(RhythmMeasure& measure, const Meter& meter) {
    std::vector<RhythmColumn>& columns = measure.columns;
    const int span = std::max(1, meter.BeamTicks());
    std::size_t i = 0;
    while (i < columns.size()) {
        const RhythmColumn& head = columns[i];
        const int spanEnd = (head.start / span + 1) * span;
        if (!Beamable(head) || head.start + head.value.ticks > spanEnd) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j + 1 < columns.size() && Beamable(columns[j + 1]) &&
               columns[j + 1].start + columns[j + 1].value.ticks <= spanEnd)
            ++j;
        if (j > i) {
            BeamGroup group{i, j, {}};
            for (std::size_t k = i; k <= j; ++k) {
                columns[k].group = static_cast<int>(measure.groups.size());
                columns[k].beams = columns[k].value.BeamCount();
            }
            AddSegments(group, columns);
            measure.groups.push_back(std::move(group));
        }
        i = j + 1;
    }
    for (RhythmColumn& column : columns)
        if (column.stem && column.group < 0)
            column.flags = column.value.BeamCount();
}

} // namespace

int RhythmValue::BeamCount() const {
    switch (value) {
    case NoteValue::Eighth:
        return 1;
    case NoteValue::Sixteenth:
        return 2;
    case NoteValue::ThirtySecond:
        return 3;
    case NoteValue::SixtyFourth:
        return 4;
    default:
        return 0;
    }
}

std::optional<RhythmValue> RhythmValueOf(std::string_view duration) {
    const int ticks = DurationTicks(duration);
    if (ticks == 0)
        return std::nullopt;
    RhythmValue result;
    result.dotted = duration.front() == '.';
    result.ticks = ticks;
    // A triplet value ("E3") is drawn as the value it is three of in the time of two.
    const bool triplet = duration.back() == '3';
    const int plain = triplet ? ticks * 3 / 2 : result.dotted ? ticks * 2 / 3 : ticks;
    static constexpr NoteValue Values[] = {
        NoteValue::Whole,     NoteValue::Half,         NoteValue::Quarter,    NoteValue::Eighth,
        NoteValue::Sixteenth, NoteValue::ThirtySecond, NoteValue::SixtyFourth};
    int length = TabWholeTicks;
    for (NoteValue value : Values) {
        if (plain == length) {
            result.value = value;
            return result;
        }
        length /= 2;
    }
    return std::nullopt;
}

double RhythmColumnWidth(int ticks, const RhythmSpacing& spacing) {
    const double doublings = std::log2(static_cast<double>(std::max(ticks, 1)) / SixteenthTicks);
    return spacing.minWidth * (1 + spacing.growth * std::max(0.0, doublings));
}

RhythmMeasure LayoutRhythm(std::span<const TabItem> measureChords, const Meter& meter,
                           const RhythmSpacing& spacing) {
    RhythmMeasure measure;
    measure.columns.reserve(measureChords.size());
    double x = spacing.leadIn;
    int start = 0;
    for (std::size_t i = 0; i < measureChords.size(); ++i) {
        const TabItem& chord = measureChords[i];
        RhythmColumn& column = measure.columns.emplace_back();
        column.chord = i;
        column.x = x;
        column.start = start;
        column.value = RhythmValueOf(chord.Duration).value_or(RhythmValue{});
        column.rest = chord.IsRest();
        column.stem = !column.rest && column.value.value != NoteValue::Whole;
        column.width = RhythmColumnWidth(column.value.ticks, spacing);
        if (!column.rest && chord.HasHammerOn()) {
            column.targetX = x + spacing.minWidth;
            column.width = std::max(column.width, 2 * spacing.minWidth);
        }
        x += column.width;
        start += column.value.ticks;
    }
    measure.width = x;
    GroupBeams(measure, meter);
    return measure;
}

void StretchRhythm(RhythmMeasure& measure, double width, const RhythmSpacing& spacing) {
    const double natural = measure.width - spacing.leadIn;
    const double wanted = width - spacing.leadIn;
    if (measure.columns.empty() || natural <= 0 || wanted <= 0)
        return;
    const double scale = wanted / natural;
    const auto moved = [&](double at) { return spacing.leadIn + (at - spacing.leadIn) * scale; };
    for (RhythmColumn& column : measure.columns) {
        if (column.targetX >= 0)
            column.targetX = moved(column.targetX);
        column.x = moved(column.x);
        column.width *= scale;
    }
    measure.width = width;
}

} // namespace fw

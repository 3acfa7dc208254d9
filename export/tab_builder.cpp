#include "tab_builder.h"

#include "chords/chord_parser.h"
#include "chords/text_rules.h"

#include <algorithm>

namespace fw {

bool TabItem::HasHammerOn() const {
    return HammerOnCount() > 0;
}

int TabItem::HammerOnCount() const {
    int count = 0;
    for (int k = 1; k <= 5; ++k)
        if (HammerNote[k] != NoNote)
            ++count;
    return count;
}

bool TabItem::IsRest() const {
    for (int k = 1; k <= 5; ++k)
        if (Fret[k] != NoFret)
            return false;
    return true;
}

void TabItemsBuilder::CloseMeasure() {
    TabItem& item = items_.emplace_back();
    item.MeasureNumber = measure_;
    item.Position = ++position_;
    item.IsTerminator = true;
    ++measure_;
    position_ = 0;
    filled_ = 0;
}

void TabItemsBuilder::Add(const ChordEntry& entry, std::string_view line) {
    if (IsCommentLine(line))
        return;
    const bool blank = TrimView(line).empty();
    if (blank) {
        if (rule_.bars == TabBars::BlankLines)
            CloseMeasure();
        return;
    }
    TabItem& item = items_.emplace_back();
    item.Fret = entry.Fret;
    item.HammerFret = entry.HammerFret;
    item.HammerNote = entry.HammerNote;
    item.Duration = entry.Duration;
    item.Name = entry.Name;
    item.MeasureNumber = measure_;
    item.Position = ++position_;
    if (rule_.bars == TabBars::Meter) {
        filled_ += DurationTicks(entry.Duration);
        if (filled_ >= rule_.meter.MeasureTicks())
            CloseMeasure();
    }
}

std::vector<TabItem> TabItemsBuilder::Take() {
    if (rule_.bars == TabBars::Meter && position_ > 0)
        CloseMeasure();
    return std::move(items_);
}

std::vector<TabItem> BuildTabItems(std::span<const ChordEntry> entries,
                                   std::span<const std::string> lines) {
    return BuildTabItems(entries, lines, TabBarRule{});
}

std::vector<TabItem> BuildTabItems(std::span<const ChordEntry> entries,
                                   std::span<const std::string> lines, const TabBarRule& rule) {
    TabItemsBuilder builder(rule);
    builder.Reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        builder.Add(entries[i], i < lines.size() ? std::string_view(lines[i]) : "");
    return builder.Take();
}

// The items of one measure are contiguous and end with its terminator, so one pass sets every
// size (the items after the last terminator, if any, belong to no closed measure).
int AssignMeasureSizes(std::vector<TabItem>& items) {
    int nonEmpty = 0;
    std::size_t first = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!items[i].IsTerminator)
            continue;
        const int size = items[i].Position;
        for (std::size_t j = first; j <= i; ++j)
            items[j].MeasureSize = size;
        if (size > 1)
            ++nonEmpty;
        first = i + 1;
    }
    return nonEmpty;
}

std::vector<TabMeasure> NonEmptyMeasures(std::span<const TabItem> items) {
    std::vector<TabMeasure> measures;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const TabItem& item = items[i];
        if (item.IsTerminator && item.MeasureSize > 1)
            measures.push_back({i + 1 - static_cast<std::size_t>(item.MeasureSize), i});
    }
    return measures;
}

std::span<const TabItem> MeasureChords(std::span<const TabItem> items, const TabMeasure& measure) {
    return items.subspan(measure.first, measure.terminator - measure.first);
}

int ColumnCount(std::span<const TabItem> measureChords) {
    if (measureChords.size() >= static_cast<std::size_t>(MaxMeasureChords))
        return MaxMeasureChords;
    int columns = static_cast<int>(measureChords.size()) + 1;
    for (const TabItem& item : measureChords) {
        columns += item.HammerOnCount();
        if (columns >= MaxMeasureChords)
            return MaxMeasureChords;
    }
    return columns;
}

int DrawnColumnCount(std::span<const TabItem> measureChords) {
    const auto shown = measureChords.first(
        std::min(measureChords.size(), static_cast<std::size_t>(MaxMeasureChords)));
    int columns = static_cast<int>(shown.size()) + 1;
    for (const TabItem& item : shown)
        columns += item.HasHammerOn() ? 1 : 0;
    return columns;
}

int ColumnCount(std::span<const TabItem> measureChords, TabBars bars) {
    if (bars == TabBars::BlankLines)
        return ColumnCount(measureChords);
    int columns = static_cast<int>(measureChords.size()) + 1;
    for (const TabItem& item : measureChords)
        columns += item.HammerOnCount();
    return columns;
}

bool IsTruncated(std::span<const TabItem> measureChords) {
    return measureChords.size() > static_cast<std::size_t>(MaxMeasureChords);
}

bool IsTruncated(std::span<const TabItem> measureChords, TabBars bars) {
    return bars == TabBars::BlankLines && IsTruncated(measureChords);
}

} // namespace fw

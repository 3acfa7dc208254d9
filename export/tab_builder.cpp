#include "tab_builder.h"

#include "chords/chord_parser.h"
#include "chords/song_structure.h"
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
    CloseTriplets();
    TabItem& item = items_.emplace_back();
    item.MeasureNumber = measure_;
    item.Position = ++position_;
    item.IsTerminator = true;
    ++measure_;
    position_ = 0;
    filled_ = 0;
}

TabItem* TabItemsBuilder::LastChord() {
    for (auto it = items_.rbegin(); it != items_.rend(); ++it)
        if (!it->IsTerminator)
            return &*it;
    return nullptr;
}

void TabItemsBuilder::CloseEnding() {
    if (endingFirst_ != 0 && endingFirst_ <= items_.size())
        if (TabItem* last = LastChord(); last && last >= &items_[endingFirst_ - 1])
            last->EndingLast = true;
    endingFirst_ = 0;
    endingPending_ = 0;
}

void TabItemsBuilder::CloseTriplets() {
    if (tripletTicks_ > 0)
        if (TabItem* last = LastChord())
            last->TripletLast = true;
    tripletTicks_ = 0;
}

void TabItemsBuilder::AddMarker(std::string_view line) {
    const MarkerReading reading = ReadMarker(line);
    if (!reading.marker)
        return;
    const SongMarker& marker = *reading.marker;
    CloseEnding();
    switch (marker.kind) {
    case MarkerKind::RepeatStart:
    case MarkerKind::RepeatEnd:
    case MarkerKind::Ending:
        if (position_ > 0)
            CloseMeasure();
        break;
    default:
        break;
    }
    switch (marker.kind) {
    case MarkerKind::RepeatStart:
        repeatStartPending_ = true;
        afterRepeatEnd_ = false;
        break;
    case MarkerKind::RepeatEnd:
        if (TabItem* last = LastChord())
            last->RepeatEndCount = marker.count;
        afterRepeatEnd_ = true;
        break;
    case MarkerKind::Ending:
        endingPending_ = marker.count;
        endingAfterEnd_ = afterRepeatEnd_;
        break;
    case MarkerKind::Time:
        meterPending_ = Meter{marker.meter.beats, marker.meter.unit};
        meterChanged_ = true;
        if (rule_.bars == TabBars::Meter)
            rule_.meter = meterPending_;
        break;
    case MarkerKind::Tempo:
        break;
    case MarkerKind::Pickup:
        if (!anyChord_ && rule_.bars == TabBars::Meter)
            pickupTicks_ = TabWholeTicks / marker.pickupDen * marker.pickupNum;
        break;
    }
}

void TabItemsBuilder::Add(const ChordEntry& entry, std::string_view line) {
    if (IsCommentLine(line)) {
        AddMarker(line);
        return;
    }
    const bool blank = TrimView(line).empty();
    if (blank) {
        // A blank line ends the bracket of an ending after its repeat's end.
        if (endingFirst_ != 0 && endingAfterEnd_)
            CloseEnding();
        if (rule_.bars == TabBars::BlankLines)
            CloseMeasure();
        return;
    }
    const int ticks = DurationTicks(entry.Duration);
    const bool triplet = !entry.Duration.empty() && entry.Duration.back() == '3';
    if (!triplet)
        CloseTriplets();
    TabItem& item = items_.emplace_back();
    if (triplet) {
        if (tripletTicks_ == 0) {
            tripletSpan_ = ticks * 3;
            tripletPlace_ = 0;
        }
        tripletTicks_ += ticks;
        item.TripletPlace = ++tripletPlace_;
    }
    if (repeatStartPending_)
        item.RepeatStart = true;
    repeatStartPending_ = false;
    if (endingPending_ != 0) {
        item.EndingNumber = endingPending_;
        endingFirst_ = items_.size();
        endingPending_ = 0;
    }
    if (meterChanged_) {
        item.MeterBeats = meterPending_.beats;
        item.MeterUnit = meterPending_.unit;
        meterChanged_ = false;
    }
    anyChord_ = true;
    item.Fret = entry.Fret;
    item.HammerFret = entry.HammerFret;
    item.HammerNote = entry.HammerNote;
    item.Duration = entry.Duration;
    item.Name = entry.Name;
    item.MeasureNumber = measure_;
    item.Position = ++position_;
    if (triplet && tripletTicks_ >= tripletSpan_) {
        // Three in the time of two of the group's first value: the group is full.
        item.TripletLast = true;
        tripletTicks_ = 0;
    }
    if (rule_.bars == TabBars::Meter) {
        item.InPickup = pickupTicks_ > 0 && measure_ == 1;
        filled_ += ticks;
        const int length =
            pickupTicks_ > 0 && measure_ == 1 ? pickupTicks_ : rule_.meter.MeasureTicks();
        if (filled_ >= length)
            CloseMeasure();
    }
}

std::vector<TabItem> TabItemsBuilder::Take() {
    CloseTriplets();
    CloseEnding();
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

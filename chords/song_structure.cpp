#include "song_structure.h"

#include "chord_parser.h"
#include "text_rules.h"

#include <algorithm>
#include <charconv>

namespace fw {

namespace {

constexpr int MaxRepeatCount = 99;
constexpr int MaxEndingNumber = 99;
constexpr int MaxMarkerTempo = 500;

bool PowerOfTwo(int value) {
    return value >= 1 && value <= 64 && (value & (value - 1)) == 0;
}

// "x3", "x 3", "3x" or "3" after "end"; nothing for anything else.
std::optional<int> RepeatCount(std::string_view text) {
    text = TrimView(text);
    if (!text.empty() && (text.front() == 'X' || text.front() == 'x'))
        text.remove_prefix(1);
    else if (!text.empty() && (text.back() == 'X' || text.back() == 'x'))
        text.remove_suffix(1);
    return ReadWholeNumber(text);
}

std::string Invalid(std::string_view written, std::string_view hint) {
    std::string message = "\"";
    message += FirstCharsView(written, 40);
    message += "\" invalid. ";
    message += hint;
    return message;
}

} // namespace

MarkerReading ReadMarker(std::string_view line) {
    MarkerReading reading;
    if (!IsCommentLine(line))
        return reading;
    const std::string_view body = TrimView(line.substr(1));
    const std::size_t colon = body.find(':');
    if (colon == std::string_view::npos)
        return reading;
    const std::string keyword = UpperCase(TrimView(body.substr(0, colon)));
    const std::string_view value = TrimView(body.substr(colon + 1));
    const std::string upperValue = UpperCase(value);
    SongMarker marker;
    if (keyword == "REPEAT") {
        if (upperValue == "START") {
            marker.kind = MarkerKind::RepeatStart;
        } else if (upperValue.starts_with("END")) {
            marker.kind = MarkerKind::RepeatEnd;
            const std::string_view rest = std::string_view(upperValue).substr(3);
            const std::optional<int> count =
                TrimView(rest).empty() ? std::optional<int>(2) : RepeatCount(rest);
            if (!count || *count < 2 || *count > MaxRepeatCount) {
                reading.error = Invalid(body, "Repeat: start, Repeat: end or Repeat: end x3");
                return reading;
            }
            marker.count = *count;
        } else {
            reading.error = Invalid(body, "Repeat: start, Repeat: end or Repeat: end x3");
            return reading;
        }
    } else if (keyword == "ENDING") {
        std::string_view number = value;
        if (!number.empty() && number.back() == '.')
            number.remove_suffix(1);
        const std::optional<int> n = ReadWholeNumber(number);
        if (!n || *n < 1 || *n > MaxEndingNumber) {
            reading.error = Invalid(body, "Ending: 1, Ending: 2 ...");
            return reading;
        }
        marker.kind = MarkerKind::Ending;
        marker.count = *n;
    } else if (keyword == "TIME") {
        const std::optional<BeatMeter> meter = ParseBeatMeter(value);
        if (!meter) {
            reading.error = Invalid(body, "Time: 3/4, 6/8, C ...");
            return reading;
        }
        marker.kind = MarkerKind::Time;
        marker.meter = *meter;
    } else if (keyword == "TEMPO") {
        const std::optional<int> tempo = ReadWholeNumber(value);
        if (!tempo || *tempo < 1 || *tempo > MaxMarkerTempo) {
            reading.error = Invalid(body, "Tempo: 1 to 500");
            return reading;
        }
        marker.kind = MarkerKind::Tempo;
        marker.tempo = *tempo;
    } else if (keyword == "PICKUP") {
        const std::size_t slash = value.find('/');
        const std::optional<int> num = slash == std::string_view::npos
                                           ? std::nullopt
                                           : ReadWholeNumber(value.substr(0, slash));
        const std::optional<int> den = slash == std::string_view::npos
                                           ? std::nullopt
                                           : ReadWholeNumber(value.substr(slash + 1));
        if (!num || !den || !PowerOfTwo(*den) || *num < 1 || *num >= *den) {
            reading.error = Invalid(body, "Pickup: 1/4, 1/8, 3/8 ...");
            return reading;
        }
        marker.kind = MarkerKind::Pickup;
        marker.pickupNum = *num;
        marker.pickupDen = *den;
    } else {
        return reading;
    }
    reading.marker = marker;
    return reading;
}

void SongStructure::AddLine(std::string_view line, std::size_t index) {
    if (!IsCommentLine(line)) {
        // A blank line closes an ending that follows its repeat's end.
        if (openEnding_ != 0 && endingAfterEnd_ && TrimView(line).empty()) {
            markers_[openEnding_ - 1].until = index;
            openEnding_ = 0;
        }
        if (openEnding_ != 0)
            markers_[openEnding_ - 1].until = index + 1;
        return;
    }
    MarkerReading reading = ReadMarker(line);
    if (!reading.marker) {
        if (openEnding_ != 0)
            markers_[openEnding_ - 1].until = index + 1;
        return;
    }
    SongMarker marker = *reading.marker;
    marker.line = index;
    // Every marker closes the open ending.
    openEnding_ = 0;
    if (marker.kind == MarkerKind::RepeatStart)
        afterRepeatEnd_ = false;
    if (marker.kind == MarkerKind::RepeatEnd)
        afterRepeatEnd_ = true;
    if (marker.kind == MarkerKind::Ending) {
        marker.until = index + 1;
        endingAfterEnd_ = afterRepeatEnd_;
        openEnding_ = markers_.size() + 1;
    }
    markers_.push_back(marker);
}

SongStructure SongStructure::OfLines(std::span<const std::string> lines) {
    SongStructure structure;
    for (std::size_t i = 0; i < lines.size(); ++i)
        structure.AddLine(lines[i], i);
    return structure;
}

SongStructure SongStructure::OfEntries(std::span<const ChordEntry> entries) {
    SongStructure structure;
    for (std::size_t i = 0; i < entries.size(); ++i)
        structure.AddLine(entries[i].Name, i);
    return structure;
}

bool SongStructure::hasRepeats() const {
    return std::any_of(markers_.begin(), markers_.end(),
                       [](const SongMarker& m) { return m.kind == MarkerKind::RepeatEnd; });
}

BeatMeter SongStructure::firstMeter() const {
    for (const SongMarker& m : markers_)
        if (m.kind == MarkerKind::Time)
            return m.meter;
    return {};
}

int SongStructure::pickupTicks(int whole) const {
    for (const SongMarker& m : markers_)
        if (m.kind == MarkerKind::Pickup)
            return whole / m.pickupDen * m.pickupNum;
    return 0;
}

std::vector<RepeatSection> SongStructure::sections() const {
    std::vector<RepeatSection> sections;
    std::size_t floor = 0;
    std::optional<std::size_t> start;
    std::vector<SongMarker> pending; // endings since the last repeat marker
    bool afterEnd = false;           // the last repeat marker was an end
    for (const SongMarker& m : markers_) {
        switch (m.kind) {
        case MarkerKind::RepeatStart:
            pending.clear();
            start = m.line;
            afterEnd = false;
            break;
        case MarkerKind::Ending:
            // An ending after a section's end (no start since) belongs to that section.
            if (afterEnd && !sections.empty()) {
                sections.back().endings.push_back(m);
                break;
            }
            pending.push_back(m);
            break;
        case MarkerKind::RepeatEnd: {
            RepeatSection section;
            section.first = start.value_or(floor);
            section.startMarked = start.has_value();
            section.endLine = m.line;
            section.count = m.count;
            for (SongMarker ending : pending) {
                if (ending.line < section.first)
                    continue;
                ending.until = std::min(ending.until, m.line);
                section.endings.push_back(ending);
            }
            pending.clear();
            sections.push_back(std::move(section));
            start.reset();
            floor = m.line + 1;
            afterEnd = true;
            break;
        }
        default:
            break;
        }
    }
    return sections;
}

namespace {

// The tempo and meter in force at `line`: those of the markers above it.
void StateAt(const SongStructure& structure, std::size_t line, int& tempo, BeatMeter& meter) {
    tempo = 0;
    meter = structure.firstMeter();
    for (const SongMarker& m : structure.markers()) {
        if (m.line >= line)
            break;
        if (m.kind == MarkerKind::Tempo)
            tempo = m.tempo;
        if (m.kind == MarkerKind::Time)
            meter = m.meter;
    }
}

} // namespace

std::vector<SoundingSpan> SoundingOrder(const SongStructure& structure, std::size_t lineCount,
                                        std::size_t startLine) {
    std::vector<SoundingSpan> spans;
    if (lineCount == 0)
        return spans;
    std::size_t cursor = std::min(startLine, lineCount - 1);
    auto emit = [&](std::size_t first, std::size_t end, int pass) {
        end = std::min(end, lineCount);
        if (first >= end)
            return;
        SoundingSpan span{first, end, pass, 0, {}};
        StateAt(structure, first, span.tempo, span.meter);
        spans.push_back(span);
    };
    for (const RepeatSection& section : structure.sections()) {
        if (section.endLine < cursor)
            continue;
        std::vector<const SongMarker*> inside;
        for (const SongMarker& ending : section.endings)
            if (ending.line < section.endLine)
                inside.push_back(&ending);
        const std::size_t bodyEnd = inside.empty() ? section.endLine + 1 : inside.front()->line;
        if (cursor > section.first) {
            // Started inside the section: its rest once, as on the last pass, without
            // the endings of earlier passes.
            if (cursor < bodyEnd) {
                emit(cursor, bodyEnd, section.count);
                for (const SongMarker* ending : inside)
                    if (ending->count == section.count)
                        emit(ending->line, ending->until, section.count);
            } else {
                emit(cursor, section.endLine + 1, section.count);
            }
            cursor = section.endLine + 1;
            continue;
        }
        emit(cursor, section.first, 1);
        for (int pass = 1; pass <= section.count; ++pass) {
            emit(section.first, bodyEnd, pass);
            for (const SongMarker* ending : inside)
                if (ending->count == pass)
                    emit(ending->line, ending->until, pass);
        }
        cursor = section.endLine + 1;
    }
    emit(cursor, lineCount, 1);
    return spans;
}

std::vector<SoundingLine> SoundingLines(std::span<const ChordEntry> entries,
                                        std::span<const SoundingSpan> spans, int whole) {
    std::vector<SoundingLine> lines;
    for (const SoundingSpan& span : spans) {
        int tempo = span.tempo;
        BeatMeter meter = span.meter;
        for (std::size_t i = span.first; i < span.end && i < entries.size(); ++i) {
            const ChordEntry& entry = entries[i];
            if (KindOf(entry) != LineKind::Chord) {
                ApplyTempoOrMeter(entry.Name, tempo, meter);
                continue;
            }
            lines.push_back({i, DurationValue(entry.Duration, whole), span.pass, tempo, meter});
        }
    }
    return lines;
}

bool ApplyTempoOrMeter(std::string_view text, int& tempo, BeatMeter& meter) {
    if (!IsCommentLine(text))
        return false;
    const MarkerReading reading = ReadMarker(text);
    if (!reading.marker)
        return false;
    if (reading.marker->kind == MarkerKind::Tempo) {
        tempo = reading.marker->tempo;
        return true;
    }
    if (reading.marker->kind == MarkerKind::Time) {
        meter = reading.marker->meter;
        return true;
    }
    return false;
}

} // namespace fw

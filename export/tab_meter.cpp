#include "tab_meter.h"

#include "chords/chord_parser.h"
#include "chords/text_rules.h"

#include <algorithm>
#include <charconv>

namespace fw {

namespace {

constexpr int MaxBeats = 64;

bool IsMeterUnit(int unit) {
    return unit >= 1 && unit <= 64 && (unit & (unit - 1)) == 0;
}

std::optional<int> NumberOf(std::string_view text) {
    text = TrimView(text);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

} // namespace

int Meter::BeamTicks() const {
    const int unitTicks = TabWholeTicks / unit;
    if (unit >= 8)
        return beats % 3 == 0 ? 3 * unitTicks : std::max(unitTicks, TabWholeTicks / 4);
    return unitTicks;
}

std::optional<Meter> ParseMeter(std::string_view text) {
    const std::string upper = UpperCase(TrimView(text));
    if (upper == "C")
        return Meter{4, 4};
    if (upper == "C|")
        return Meter{2, 2};
    const std::size_t slash = upper.find('/');
    if (slash == std::string::npos)
        return std::nullopt;
    const std::optional<int> beats = NumberOf(std::string_view(upper).substr(0, slash));
    const std::optional<int> unit = NumberOf(std::string_view(upper).substr(slash + 1));
    if (!beats || !unit || *beats < 1 || *beats > MaxBeats || !IsMeterUnit(*unit))
        return std::nullopt;
    return Meter{*beats, *unit};
}

Meter MeterFromComments(std::span<const std::string> lines) {
    static constexpr std::string_view Marker = "TIME:";
    Meter meter;
    for (const std::string& line : lines) {
        if (!IsCommentLine(line))
            continue;
        // Upper-casing touches a to z only, so positions carry over to the line itself.
        const std::size_t p = UpperCase(line).find(Marker);
        if (p == std::string::npos)
            continue;
        if (const std::optional<Meter> found =
                ParseMeter(std::string_view(line).substr(p + Marker.size())))
            meter = *found;
    }
    return meter;
}

int DurationTicks(std::string_view duration) {
    return DurationValue(duration, TabWholeTicks);
}

} // namespace fw

#include "beat_meter.h"

#include "chord_parser.h"
#include "text_rules.h"

namespace fw {

std::optional<BeatMeter> ParseBeatMeter(std::string_view text) {
    const std::string upper = UpperCase(TrimView(text));
    if (upper == "C")
        return BeatMeter{4, 4};
    if (upper == "C|")
        return BeatMeter{2, 2};
    const std::size_t slash = upper.find('/');
    if (slash == std::string::npos)
        return std::nullopt;
    const std::optional<int> beats = ReadWholeNumber(std::string_view(upper).substr(0, slash));
    const std::optional<int> unit = ReadWholeNumber(std::string_view(upper).substr(slash + 1));
    const bool unitOk = unit && *unit >= 1 && *unit <= 64 && (*unit & (*unit - 1)) == 0;
    if (!beats || *beats < 1 || *beats > 64 || !unitOk)
        return std::nullopt;
    return BeatMeter{*beats, *unit};
}

BeatMeter BeatMeterOfLines(std::span<const std::string> lines) {
    static constexpr std::string_view Marker = "TIME:";
    BeatMeter meter;
    for (const std::string& line : lines) {
        if (!IsCommentLine(line))
            continue;
        // Upper-casing changes a to z only, so positions carry over to the line.
        const std::size_t at = UpperCase(line).find(Marker);
        if (at == std::string::npos)
            continue;
        if (const auto found = ParseBeatMeter(std::string_view(line).substr(at + Marker.size())))
            meter = *found;
    }
    return meter;
}

} // namespace fw

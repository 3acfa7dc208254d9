#include "tab_meter.h"

#include "chords/beat_meter.h"
#include "chords/chord_parser.h"

#include <algorithm>

namespace fw {

int Meter::BeamTicks() const {
    const int unitTicks = TabWholeTicks / unit;
    if (unit >= 8)
        return beats % 3 == 0 ? 3 * unitTicks : std::max(unitTicks, TabWholeTicks / 4);
    return unitTicks;
}

// One reading of meters for the whole program: the playback's, in chords/.
std::optional<Meter> ParseMeter(std::string_view text) {
    if (const std::optional<BeatMeter> meter = ParseBeatMeter(text))
        return Meter{meter->beats, meter->unit};
    return std::nullopt;
}

Meter MeterFromComments(std::span<const std::string> lines) {
    const BeatMeter meter = BeatMeterOfLines(lines);
    return Meter{meter.beats, meter.unit};
}

int DurationTicks(std::string_view duration) {
    return DurationValue(duration, TabWholeTicks);
}

} // namespace fw

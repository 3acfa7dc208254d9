#include "practice.h"

#include "chord_player.h"
#include "short_message.h"

#include <algorithm>

namespace fw {

int TrainerTempo(int tempo, const PracticeSettings& practice, int pass) {
    if (!practice.Trainer)
        return tempo;
    const long long start = std::max(practice.TrainerStartPercent, 1);
    const long long step = std::max(practice.TrainerStepPercent, 0);
    const long long top = std::max<long long>(practice.TrainerTargetPercent, start);
    const long long percent = std::min(start + step * std::max(pass, 0), top);
    const long long scaled = (static_cast<long long>(tempo) * percent + 50) / 100;
    return static_cast<int>(std::clamp<long long>(scaled, 1, 500));
}

int BeatMs(int tempo, const BeatMeter& meter) {
    return WholeNoteMs(tempo) / std::max(meter.unit, 1);
}

int BeatTicks(const BeatMeter& meter) {
    return WholeNoteTicks / std::clamp(meter.unit, 1, 64);
}

int MeasureTicks(const BeatMeter& meter) {
    return std::max(meter.beats, 1) * BeatTicks(meter);
}

std::uint32_t ClickOnMessage(bool accent) {
    return PackShortMessage(0x90 | ClickChannel, accent ? AccentClickKey : ClickKey,
                            accent ? AccentClickVelocity : ClickVelocity);
}

std::uint32_t ClickOffMessage(bool accent) {
    return PackShortMessage(0x80 | ClickChannel, accent ? AccentClickKey : ClickKey, 0);
}

} // namespace fw

#include "playback_scheduler.h"

#include "short_message.h"

#include <algorithm>

namespace fw {

void SoundingNotes::Sent(std::uint32_t message) {
    const ShortMessage m = UnpackShortMessage(message);
    const std::size_t key = m.data1 & 0x7F;
    if (m.Kind() == 0x90 && m.data2 > 0)
        on_[m.Channel()].set(key);
    else if (m.Kind() == 0x80 || m.Kind() == 0x90)
        on_[m.Channel()].reset(key);
}

bool SoundingNotes::Any() const {
    return std::any_of(on_.begin(), on_.end(), [](const auto& keys) { return keys.any(); });
}

} // namespace fw

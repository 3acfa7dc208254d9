#pragma once
// The meter a song is played in, for the metronome and the count-in: written into the chord
// list as a comment line such as "* Time: 3/4", 4/4 when none says otherwise. Pure C++.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace fw {

struct BeatMeter {
    int beats = 4; // beats in a measure, 1..64
    int unit = 4;  // the note value of one beat: 1, 2, 4, 8, 16, 32 or 64
    bool operator==(const BeatMeter&) const = default;
};

// "3/4", " 6 / 8 ", "C" (4/4) or "C|" (2/2); nothing for any other text.
std::optional<BeatMeter> ParseBeatMeter(std::string_view text);

// The meter of a chord list: the last comment line holding "TIME:" (any letter case) whose
// rest reads as a meter. A comment whose rest is no meter ("* Playing time: 3 minutes") is
// passed over. 4/4 when no line gives one.
BeatMeter BeatMeterOfLines(std::span<const std::string> lines);

} // namespace fw

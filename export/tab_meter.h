#pragma once
// The meter of a song, written into the chord list as a comment line ("* Time: 3/4"), and the
// lengths tablature measures rhythm in. Pure C++.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace fw {

// Lengths in ticks of a whole note. 384 = 64 x 6, so that every duration text, dotted
// sixty-fourths included, is a whole number of ticks.
inline constexpr int TabWholeTicks = 384;

struct Meter {
    int beats = 4; // the upper figure
    int unit = 4;  // the lower figure: 1, 2, 4, 8, 16, 32 or 64

    // The length of a full measure.
    int MeasureTicks() const { return beats * (TabWholeTicks / unit); }
    // The span notes are beamed within: a dotted quarter in 6/8, 9/8, 12/8 (and 3/8), a quarter
    // in other eighth and sixteenth meters, else one beat (a quarter in 3/4, a half in 2/2).
    int BeamTicks() const;
    bool operator==(const Meter&) const = default;
};

// The meter in a text such as "3/4", "6 / 8", "C" (4/4) or "C|" (2/2), trimmed. The upper
// figure is 1 to 64, the lower one of 1, 2, 4, 8, 16, 32, 64. Nothing for any other text.
std::optional<Meter> ParseMeter(std::string_view text);

// The meter written in the chord list: of the comment lines whose upper-cased text holds
// "TIME:", found as titles are found, the last one whose rest of the line reads as a meter wins;
// a line whose rest is no meter ("* Playing time: 3 minutes") is passed over. 4/4 when no line
// gives one.
Meter MeterFromComments(std::span<const std::string> lines);

// The length of a duration text ("Q", ".E", any letter case) in ticks; 0 for any other text.
int DurationTicks(std::string_view duration);

} // namespace fw

#pragma once
// How tablature is written: the forms a player can choose beyond the plain tablature, carried
// from the command line and the settings to the ASCII text and the drawing. Every default gives
// the plain tablature byte for byte: no rhythm, measures between blank lines, the 5th string
// numbered from its own nut, hammer-ons written with "/", no names. Pure C++.

#include <optional>
#include <string>
#include <string_view>

namespace fw {

// What stands under the staff for the rhythm.
enum class TabRhythm {
    None,    // nothing
    Letters, // the duration texts as written ("Q", ".E")
    Stems,   // stems, flags, beams, dots and rest signs (graphic tablature; ASCII writes letters)
};

// Where measures end.
enum class TabBars {
    BlankLines, // at the blank lines of the chord list
    Meter,      // when the chords' durations fill the meter (`* Time: 3/4`); blank lines ignored
};

struct TabOptions {
    TabRhythm rhythm = TabRhythm::None;
    TabBars bars = TabBars::BlankLines;
    bool neckFrets = false;   // the 5th string numbered as on the neck: 0, 6, 7, 8 ...
    bool letterMarks = false; // hammer-ons and pull-offs as "0h2" and "4p2" instead of "0/2"
    bool chordNames = false;  // chord names above the staff where the chord changes
    bool stringNames = false; // the tuning's note names at the start of every staff line

    bool ShowsRhythm() const { return rhythm != TabRhythm::None; }
    bool operator==(const TabOptions&) const = default;
};

// The words the command line and the settings use: "none", "letters", "stems"; "blank",
// "meter". The readers take exactly these words (in any letter case) and give nothing for
// anything else.
std::string_view TabRhythmWord(TabRhythm rhythm);
std::optional<TabRhythm> TabRhythmFromWord(std::string_view word);
std::string_view TabBarsWord(TabBars bars);
std::optional<TabBars> TabBarsFromWord(std::string_view word);

} // namespace fw

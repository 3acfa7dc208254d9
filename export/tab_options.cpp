#include "tab_options.h"

#include "chords/text_rules.h"

namespace fw {

std::string_view TabRhythmWord(TabRhythm rhythm) {
    switch (rhythm) {
    case TabRhythm::None:
        return "none";
    case TabRhythm::Letters:
        return "letters";
    case TabRhythm::Stems:
        return "stems";
    }
    return "none";
}

std::optional<TabRhythm> TabRhythmFromWord(std::string_view word) {
    for (TabRhythm rhythm : {TabRhythm::None, TabRhythm::Letters, TabRhythm::Stems})
        if (UpperCase(word) == UpperCase(TabRhythmWord(rhythm)))
            return rhythm;
    return std::nullopt;
}

std::string_view TabBarsWord(TabBars bars) {
    return bars == TabBars::Meter ? "meter" : "blank";
}

std::optional<TabBars> TabBarsFromWord(std::string_view word) {
    for (TabBars bars : {TabBars::BlankLines, TabBars::Meter})
        if (UpperCase(word) == UpperCase(TabBarsWord(bars)))
            return bars;
    return std::nullopt;
}

} // namespace fw

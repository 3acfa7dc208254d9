#include "chord_composer.h"

#include "chord_parser.h"
#include "text_rules.h"

namespace fw {

std::string ComposeChordText(const FretArray& frets, const FretArray& hammers,
                             std::string_view currentDuration) {
    return ComposeNamedChordText(ComposedChordName, frets, hammers, currentDuration);
}

std::string ComposeNamedChordText(std::string_view name, const FretArray& frets,
                                  const FretArray& hammers, std::string_view currentDuration) {
    std::string text(name);
    text += ", ";
    for (int s = 5; s >= 1; --s) {
        if (frets[s] == NoFret) {
            text += "x";
        } else {
            text += std::to_string(frets[s]);
            if (hammers[s] != NoFret) {
                text += '-';
                text += std::to_string(hammers[s]);
            }
        }
        text += ", ";
    }
    text += TrimView(currentDuration);
    return text;
}

std::string InsertChordText(std::string_view name, std::string_view currentDuration) {
    std::string text(name);
    text += " , x, x, x, x, x,";
    text += currentDuration;
    return text;
}

std::string EmptyChordText(std::string_view currentDuration) {
    return InsertChordText(ComposedChordName, currentDuration);
}

void FillDurationTicks(std::vector<ChordEntry>& entries, int whole) {
    for (ChordEntry& entry : entries)
        if (KindOf(entry) == LineKind::Chord)
            entry.DurationTicks = DurationValue(entry.Duration, whole);
}

} // namespace fw

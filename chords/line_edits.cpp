#include "line_edits.h"

#include "chord_composer.h"
#include "chord_parser.h"
#include "text_rules.h"

namespace fw {

std::string DurationTextFor(char letter, bool dotted, bool triplet) {
    std::string text = dotted && !triplet ? " ." : " ";
    text += letter;
    if (triplet)
        text += '3';
    return text;
}

std::string WithDuration(std::string_view line, std::string_view duration) {
    const std::size_t comma = line.rfind(',');
    std::string text(comma == std::string_view::npos ? std::string_view{}
                                                     : line.substr(0, comma + 1));
    text += duration;
    return text;
}

std::string RenamedLine(std::string_view line, std::string_view boxText) {
    if (TrimView(boxText).empty())
        return std::string(line);
    const std::size_t comma = line.find(',');
    std::string text(boxText);
    if (comma != std::string_view::npos)
        text += TrimView(line.substr(comma));
    return text;
}

FretsAndHammers TransposeDown(const FretArray& frets, const FretArray& hammers) {
    FretsAndHammers result{frets, hammers};
    for (int s = 1; s <= 5; ++s) {
        int& fret = result.frets[s];
        int& hammer = result.hammers[s];
        if (fret == NoFret)
            continue;
        --fret;
        --hammer;
        if (hammer < 0 || fret == NoFret)
            hammer = NoFret;
    }
    return result;
}

FretsAndHammers TransposeUp(const FretArray& frets, const FretArray& hammers) {
    FretsAndHammers result{frets, hammers};
    for (int s = 1; s <= 5; ++s) {
        int& fret = result.frets[s];
        int& hammer = result.hammers[s];
        if (fret == NoFret)
            continue;
        ++fret;
        if (hammer != NoFret)
            ++hammer;
        if (fret > TransposeLimit[s])
            fret = NoFret;
        if (hammer > TransposeLimit[s] || fret == NoFret)
            hammer = NoFret;
    }
    return result;
}

std::optional<std::string> TransposedLine(std::string_view line, TransposeDirection direction,
                                          std::string_view currentDuration) {
    const ParsedLine parsed = ParseChordText(line, 0);
    if (!parsed.isChord())
        return std::nullopt;
    const ChordEntry& entry = parsed.entry;
    bool anyPlayed = false;
    for (int s = 1; s <= 5; ++s)
        anyPlayed = anyPlayed || entry.Fret[s] != NoFret;
    if (!anyPlayed)
        return std::nullopt;
    const FretsAndHammers moved = direction == TransposeDirection::Down
                                      ? TransposeDown(entry.Fret, entry.HammerFret)
                                      : TransposeUp(entry.Fret, entry.HammerFret);
    return ComposeChordText(moved.frets, moved.hammers, currentDuration);
}

} // namespace fw

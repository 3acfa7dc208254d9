#include "musicxml_values.h"

#include "chords/chord_parser.h"

#include <algorithm>
#include <array>

namespace fw {

namespace {

// Every value a length can be made of, longest first. A dotted whole note (192) is longer than
// a 4/4 measure, so a length that reaches it has always been split at a barline already.
constexpr std::array<NoteValue, 14> WrittenValues = {{
    {128, "whole", 0},
    {96, "half", 1},
    {64, "half", 0},
    {48, "quarter", 1},
    {32, "quarter", 0},
    {24, "eighth", 1},
    {16, "eighth", 0},
    {12, "16th", 1},
    {8, "16th", 0},
    {6, "32nd", 1},
    {4, "32nd", 0},
    {3, "64th", 1},
    {2, "64th", 0},
    {1, "128th", 0},
}};

struct PitchName {
    char step;
    int alter;
};

constexpr std::array<PitchName, 12> PitchNames = {{
    {'C', 0},
    {'C', 1},
    {'D', 0},
    {'E', -1},
    {'E', 0},
    {'F', 0},
    {'F', 1},
    {'G', 0},
    {'A', -1},
    {'A', 0},
    {'B', -1},
    {'B', 0},
}};

} // namespace

int DurationDivisions(std::string_view durationText) {
    return DurationValue(durationText, MusicXmlMeasureLength);
}

NoteValues NoteValuesFor(int length) {
    NoteValues result;
    length = std::min(length, MusicXmlMeasureLength);
    for (const NoteValue& value : WrittenValues)
        while (length >= value.duration) {
            result.values[result.count++] = value;
            length -= value.duration;
        }
    return result;
}

SpelledPitch SpellPitch(int midiPitch) {
    // Floor division, so that a pitch below 0 (which no chord line can make) still spells.
    const int octave = (midiPitch >= 0 ? midiPitch / 12 : (midiPitch - 11) / 12) - 1;
    const PitchName name = PitchNames[static_cast<std::size_t>(midiPitch - (octave + 1) * 12)];
    return {name.step, name.alter, octave};
}

} // namespace fw

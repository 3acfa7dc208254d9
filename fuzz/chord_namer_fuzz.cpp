// The chord namer: every symbol it gives for any notes names exactly those notes (root
// sounding, every note a chord tone, every tone it may not leave out present), reads back as
// the same chord, and the symbols come fewest left-out tones first, then the plainer chord; a
// slash bass only when asked for. Any text read as a symbol reads the same again from the
// symbol's own text. Chord shapes for any symbol text in any tuning: each shape parses back as
// a chord line, keeps to one hand and the drone rule, and the namer offers the chord for it.

#include "fuzz_support.h"

#include "chords/chord_namer.h"
#include "chords/chord_parser.h"
#include "chords/chord_shapes.h"
#include "chords/tuning.h"

#include <algorithm>
#include <bit>

using namespace fw;
using namespace fw::fuzz;

namespace {

int PitchClass(int pitch) {
    return ((pitch % 12) + 12) % 12;
}

void CheckNaming(std::span<const std::uint8_t> data, bool inversions) {
    std::vector<int> pitches;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2)
        pitches.push_back(static_cast<std::int16_t>(data[i] << 8 | data[i + 1]));
    unsigned classes = 0;
    for (const int p : pitches)
        classes |= 1u << PitchClass(p);
    const std::vector<ChordSymbol> symbols = NameChord(pitches, {inversions});
    if (std::popcount(classes) < 3)
        FUZZ_CHECK(symbols.empty(), "fewer than three pitch classes name no chord");
    if (symbols.empty())
        return;
    const int bass = PitchClass(*std::min_element(pitches.begin(), pitches.end()));
    int lastMissing = -1, lastTier = -1;
    for (const ChordSymbol& symbol : symbols) {
        const QualityRule& rule = RuleOf(symbol.quality);
        unsigned tones = 0, required = 0;
        for (int i = 0; i < 12; ++i) {
            if (rule.tones & (1u << i))
                tones |= 1u << PitchClass(symbol.root + i);
            if ((rule.tones & ~rule.optional) & (1u << i))
                required |= 1u << PitchClass(symbol.root + i);
        }
        FUZZ_CHECK((classes & ~tones) == 0, "every note is a chord tone");
        FUZZ_CHECK((classes & required) == required, "every required tone sounds");
        FUZZ_CHECK(classes & (1u << symbol.root), "the root sounds");
        FUZZ_CHECK(symbol.bass == (bass == symbol.root || !inversions ? -1 : bass),
                   "the slash names the bass, and only when asked for");
        FUZZ_CHECK(symbol.missing == std::popcount(tones & ~classes), "the left-out tones");
        FUZZ_CHECK(symbol.missing > lastMissing ||
                       (symbol.missing == lastMissing && rule.tier >= lastTier),
                   "fewest left-out tones first, then the plainer chord");
        lastTier = symbol.missing == lastMissing ? std::max(lastTier, rule.tier) : rule.tier;
        lastMissing = symbol.missing;
        const std::optional<ChordSymbol> read = ParseChordSymbol(symbol.text);
        FUZZ_CHECK(read.has_value(), "a symbol reads back");
        FUZZ_CHECK(read->root == symbol.root && read->quality == symbol.quality &&
                       read->bass == symbol.bass && read->text == symbol.text,
                   "a symbol reads back as the same chord");
    }
}

void CheckReading(std::string_view text) {
    const std::optional<ChordSymbol> symbol = ParseChordSymbol(text);
    if (!symbol)
        return;
    FUZZ_CHECK(symbol->root >= 0 && symbol->root < 12, "a root pitch class");
    FUZZ_CHECK(symbol->bass >= -1 && symbol->bass < 12, "a bass pitch class");
    FUZZ_CHECK(symbol->position >= -1 && symbol->position < 100, "a position of two digits");
    FUZZ_CHECK(text.substr(0, symbol->text.size()) == symbol->text, "the symbol as written");
    const std::optional<ChordSymbol> again = ParseChordSymbol(symbol->text);
    FUZZ_CHECK(again && again->root == symbol->root && again->quality == symbol->quality &&
                   again->bass == symbol->bass && again->position == -1,
               "the symbol's text reads as the same chord");
}

// The first five bytes a tuning code's digits (1 to 9, as the settings dialog makes them), the
// rest a chord symbol.
void CheckShapes(std::span<const std::uint8_t> data) {
    if (data.size() < 5)
        return;
    int code = 0;
    for (std::size_t i = 0; i < 5; ++i)
        code = code * 10 + 1 + data[i] % 9;
    const std::optional<ChordSymbol> chord =
        ParseChordSymbol(AsText(data.data() + 5, data.size() - 5));
    if (!chord)
        return;
    const std::array<int, 6> offsets = TuningOffsets(code);
    for (const ChordShape& shape : ChordShapes(*chord, offsets)) {
        const std::string line = ChordShapeLine(*chord, shape);
        const ParsedLine parsed = ParseChordText(line, 0);
        FUZZ_CHECK(parsed.isChord() && parsed.entry.Fret == shape.fret,
                   "a shape's line parses back");
        FUZZ_CHECK(shape.position >= 0 && shape.position <= ShapeTopFret, "a position on the neck");
        FUZZ_CHECK(shape.span >= 0 && shape.span < ShapeHandSpan, "one hand");
        FUZZ_CHECK(chord->position < 0 || shape.position == chord->position, "the position asked");
        const std::vector<ChordSymbol> names =
            NameChord(SoundingPitches(parsed.entry, offsets), {true});
        FUZZ_CHECK(std::any_of(names.begin(), names.end(),
                               [&](const ChordSymbol& n) {
                                   return n.root == chord->root && n.quality == chord->quality &&
                                          (chord->bass < 0 || n.bass < 0 || n.bass == chord->bass);
                               }),
                   "the namer offers the chord asked for");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    switch (data[0] % 4) {
    case 0:
        CheckReading(AsText(data + 1, size - 1));
        break;
    case 1:
    case 3:
        CheckNaming({data + 1, size - 1}, data[0] % 4 == 3);
        break;
    default:
        CheckShapes({data + 1, size - 1});
    }
    return 0;
}

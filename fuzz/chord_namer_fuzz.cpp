// The chord namer: every symbol it gives for any notes names exactly those notes (root
// sounding, every note a chord tone, every tone but an optional fifth present), reads back as
// the same chord, and the symbols come root-in-the-bass first. Any text read as a symbol reads
// the same again from the symbol's own text.

#include "fuzz_support.h"

#include "chords/chord_namer.h"

#include <algorithm>
#include <bit>

using namespace fw;
using namespace fw::fuzz;

namespace {

int PitchClass(int pitch) {
    return ((pitch % 12) + 12) % 12;
}

void CheckNaming(std::span<const std::uint8_t> data) {
    std::vector<int> pitches;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2)
        pitches.push_back(static_cast<std::int16_t>(data[i] << 8 | data[i + 1]));
    unsigned classes = 0;
    for (const int p : pitches)
        classes |= 1u << PitchClass(p);
    const std::vector<ChordSymbol> symbols = NameChord(pitches);
    if (std::popcount(classes) < 3)
        FUZZ_CHECK(symbols.empty(), "fewer than three pitch classes name no chord");
    if (symbols.empty())
        return;
    const int bass = PitchClass(*std::min_element(pitches.begin(), pitches.end()));
    bool slashSeen = false;
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
        FUZZ_CHECK(symbol.bass == (bass == symbol.root ? -1 : bass), "the slash names the bass");
        slashSeen = slashSeen || symbol.bass >= 0;
        FUZZ_CHECK(!slashSeen || symbol.bass >= 0, "root-in-the-bass symbols come first");
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    if (data[0] & 1)
        CheckNaming({data + 1, size - 1});
    else
        CheckReading(AsText(data + 1, size - 1));
    return 0;
}

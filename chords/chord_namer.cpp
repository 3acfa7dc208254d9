#include "chord_namer.h"

#include <algorithm>
#include <bit>
#include <tuple>

namespace fw {

namespace {

constexpr unsigned Bits(std::initializer_list<int> intervals) {
    unsigned bits = 0;
    for (const int i : intervals)
        bits |= 1u << i;
    return bits;
}

constexpr unsigned Fifth = 1u << 7;

// Only a perfect fifth may be left out: a diminished or augmented fifth is what makes the
// chord, and without it a dim7 or m7b5 reads as another chord.
const std::array<QualityRule, 13> Rules = {{
    {ChordQuality::Major, "", Bits({0, 4, 7}), Fifth},
    {ChordQuality::Minor, "m", Bits({0, 3, 7}), Fifth},
    {ChordQuality::Seventh, "7", Bits({0, 4, 7, 10}), Fifth},
    {ChordQuality::MinorSeventh, "m7", Bits({0, 3, 7, 10}), Fifth},
    {ChordQuality::MajorSeventh, "maj7", Bits({0, 4, 7, 11}), Fifth},
    {ChordQuality::Sixth, "6", Bits({0, 4, 7, 9}), Fifth},
    {ChordQuality::MinorSixth, "m6", Bits({0, 3, 7, 9}), Fifth},
    {ChordQuality::Ninth, "9", Bits({0, 2, 4, 7, 10}), Fifth},
    {ChordQuality::Sus4, "sus4", Bits({0, 5, 7}), Fifth},
    {ChordQuality::SeventhSus4, "7sus4", Bits({0, 5, 7, 10}), Fifth},
    {ChordQuality::Diminished7, "dim7", Bits({0, 3, 6, 9}), 0},
    {ChordQuality::Augmented, "aug", Bits({0, 4, 8}), 0},
    {ChordQuality::HalfDiminished, "m7b5", Bits({0, 3, 6, 10}), 0},
}};

constexpr std::array<const char*, 12> Names = {"C",  "C#", "D",  "Eb", "E",  "F",
                                               "F#", "G",  "Ab", "A",  "Bb", "B"};

int Mod12(int n) {
    return ((n % 12) + 12) % 12;
}

// Intervals of a pitch-class set, bit n = pc n, seen from `root`.
unsigned Rotate(unsigned pcs, int root) {
    return ((pcs >> root) | (pcs << (12 - root))) & 0xFFFu;
}

// "C" -> 0, "C#" -> 1, "Db" -> 1, "B#" -> 0; the length read through `used`.
std::optional<int> ReadNote(std::string_view text, std::size_t& used) {
    static constexpr std::array<int, 7> Letters = {9, 11, 0, 2, 4, 5, 7}; // A..G
    if (text.empty() || text[0] < 'A' || text[0] > 'G')
        return std::nullopt;
    int pc = Letters[static_cast<std::size_t>(text[0] - 'A')];
    used = 1;
    if (text.size() > 1 && (text[1] == '#' || text[1] == 'b')) {
        pc += text[1] == '#' ? 1 : -1;
        used = 2;
    }
    return Mod12(pc);
}

} // namespace

const std::array<QualityRule, 13>& QualityRules() {
    return Rules;
}

const QualityRule& RuleOf(ChordQuality quality) {
    return Rules[static_cast<std::size_t>(quality)];
}

const char* PitchClassName(int pitchClass) {
    return Names[static_cast<std::size_t>(Mod12(pitchClass))];
}

std::vector<ChordSymbol> NameChord(std::span<const int> pitches) {
    std::vector<ChordSymbol> found;
    if (pitches.empty())
        return found;
    unsigned pcs = 0;
    for (const int p : pitches)
        pcs |= 1u << Mod12(p);
    if (std::popcount(pcs) < 3)
        return found;
    const int bass = Mod12(*std::min_element(pitches.begin(), pitches.end()));

    struct Ranked {
        int slash, missing, quality, root;
        ChordSymbol symbol;
    };
    std::vector<Ranked> ranked;
    for (int root = 0; root < 12; ++root) {
        if (!(pcs & (1u << root)))
            continue;
        const unsigned intervals = Rotate(pcs, root);
        for (const QualityRule& rule : Rules) {
            const unsigned required = rule.tones & ~rule.optional;
            if ((intervals & ~rule.tones) || (intervals & required) != required)
                continue;
            ChordSymbol symbol;
            symbol.root = root;
            symbol.quality = rule.quality;
            symbol.bass = bass == root ? -1 : bass;
            symbol.text = std::string(Names[static_cast<std::size_t>(root)]) + rule.suffix;
            if (symbol.bass >= 0)
                symbol.text += std::string("/") + Names[static_cast<std::size_t>(bass)];
            ranked.push_back({symbol.bass >= 0 ? 1 : 0, std::popcount(rule.tones & ~intervals),
                              static_cast<int>(rule.quality), root, std::move(symbol)});
        }
    }
    std::sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
        return std::tie(a.slash, a.missing, a.quality, a.root) <
               std::tie(b.slash, b.missing, b.quality, b.root);
    });
    for (Ranked& r : ranked)
        found.push_back(std::move(r.symbol));
    return found;
}

std::vector<int> SoundingPitches(const ChordEntry& entry, const std::array<int, 6>& offsets) {
    std::vector<int> pitches;
    for (int s = 1; s <= 5; ++s) {
        const std::uint8_t note =
            entry.HammerNote[s] != NoNote ? entry.HammerNote[s] : entry.Note[s];
        if (note != NoNote)
            pitches.push_back(note + offsets[static_cast<std::size_t>(s)]);
    }
    return pitches;
}

std::optional<ChordSymbol> ParseChordSymbol(std::string_view text) {
    ChordSymbol symbol;
    std::size_t used = 0;
    const auto root = ReadNote(text, used);
    if (!root)
        return std::nullopt;
    symbol.root = *root;
    std::string_view rest = text.substr(used);

    // The longest suffix that matches: "m7b5" before "m7" before "m".
    std::size_t best = 0;
    bool matched = false;
    for (const QualityRule& rule : Rules) {
        const std::string_view suffix = rule.suffix;
        if (rest.starts_with(suffix) && (!matched || suffix.size() > best)) {
            best = suffix.size();
            symbol.quality = rule.quality;
            matched = true;
        }
    }
    rest.remove_prefix(best);

    if (rest.starts_with('/')) {
        const auto bass = ReadNote(rest.substr(1), used);
        if (!bass)
            return std::nullopt;
        symbol.bass = *bass;
        rest.remove_prefix(1 + used);
    }
    symbol.text.assign(text.substr(0, text.size() - rest.size()));

    if (rest.starts_with(" (") && rest.ends_with(')') && rest.size() > 3) {
        const std::string_view digits = rest.substr(2, rest.size() - 3);
        if (digits.size() > 2 ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        symbol.position = std::stoi(std::string(digits));
        rest = {};
    }
    if (!rest.empty())
        return std::nullopt;
    return symbol;
}

} // namespace fw

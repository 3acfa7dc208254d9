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

constexpr unsigned Ninth = 1u << 2;
constexpr unsigned MajorThird = 1u << 4;

// A perfect fifth may be left out, a 13th may leave out its ninth too, and a dominant seventh
// its third (the banjo's D7, x-0-2-1-0, sounds D A C); a diminished or
// augmented fifth is what makes the chord, and without it a dim7 or m7b5 reads as another one.
// The tier says how plain a chord is: readings that leave out as many tones prefer the plainer
// chord, so a sus4 triad is not read as an incomplete 7sus4 nor a minor triad as a sixth.
const std::array<QualityRule, QualityCount> Rules = {{
    {ChordQuality::Major, "", Bits({0, 4, 7}), Fifth, 0},
    {ChordQuality::Minor, "m", Bits({0, 3, 7}), Fifth, 0},
    {ChordQuality::Seventh, "7", Bits({0, 4, 7, 10}), Fifth | MajorThird, 1},
    {ChordQuality::MinorSeventh, "m7", Bits({0, 3, 7, 10}), Fifth, 1},
    {ChordQuality::MajorSeventh, "maj7", Bits({0, 4, 7, 11}), Fifth, 1},
    {ChordQuality::Sixth, "6", Bits({0, 4, 7, 9}), Fifth, 1},
    {ChordQuality::MinorSixth, "m6", Bits({0, 3, 7, 9}), Fifth, 1},
    {ChordQuality::Ninth, "9", Bits({0, 2, 4, 7, 10}), Fifth, 2},
    {ChordQuality::Sus4, "sus4", Bits({0, 5, 7}), Fifth, 0},
    {ChordQuality::SeventhSus4, "7sus4", Bits({0, 5, 7, 10}), Fifth, 1},
    {ChordQuality::Diminished7, "dim7", Bits({0, 3, 6, 9}), 0, 1},
    {ChordQuality::Augmented, "aug", Bits({0, 4, 8}), 0, 0},
    {ChordQuality::HalfDiminished, "m7b5", Bits({0, 3, 6, 10}), 0, 1},
    {ChordQuality::Sus2, "sus2", Bits({0, 2, 7}), Fifth, 0},
    {ChordQuality::Add9, "add9", Bits({0, 2, 4, 7}), Fifth, 1},
    {ChordQuality::SixNine, "6/9", Bits({0, 2, 4, 7, 9}), Fifth, 2},
    {ChordQuality::MinorMajorSeventh, "m(maj7)", Bits({0, 3, 7, 11}), Fifth, 1},
    {ChordQuality::MinorNinth, "m9", Bits({0, 2, 3, 7, 10}), Fifth, 2},
    {ChordQuality::SeventhFlatNine, "7b9", Bits({0, 1, 4, 7, 10}), Fifth, 2},
    {ChordQuality::SeventhSharpNine, "7#9", Bits({0, 3, 4, 7, 10}), Fifth, 2},
    {ChordQuality::Thirteenth, "13", Bits({0, 2, 4, 7, 9, 10}), Fifth | Ninth, 3},
    {ChordQuality::Diminished, "dim", Bits({0, 3, 6}), 0, 0},
    {ChordQuality::Add4, "add4", Bits({0, 4, 5, 7}), Fifth, 1},
    {ChordQuality::MinorAdd9, "m(add9)", Bits({0, 2, 3, 7}), Fifth, 1},
}};

// Other ways players write a quality; the longest suffix that matches wins.
struct Spelling {
    const char* text;
    ChordQuality quality;
};
constexpr std::array<Spelling, 24> Spellings = {{
    {"°", ChordQuality::Diminished},
    {"o", ChordQuality::Diminished},
    {"°7", ChordQuality::Diminished7},
    {"o7", ChordQuality::Diminished7},
    {"+", ChordQuality::Augmented},
    {"sus", ChordQuality::Sus4},
    {"M7", ChordQuality::MajorSeventh},
    {"Δ7", ChordQuality::MajorSeventh},
    {"Δ", ChordQuality::MajorSeventh},
    {"min", ChordQuality::Minor},
    {"-", ChordQuality::Minor},
    {"min7", ChordQuality::MinorSeventh},
    {"-7", ChordQuality::MinorSeventh},
    {"min6", ChordQuality::MinorSixth},
    {"-6", ChordQuality::MinorSixth},
    {"ø", ChordQuality::HalfDiminished},
    {"ø7", ChordQuality::HalfDiminished},
    {"add11", ChordQuality::Add4},
    {"madd9", ChordQuality::MinorAdd9},
    {"mM7", ChordQuality::MinorMajorSeventh},
    {"mmaj7", ChordQuality::MinorMajorSeventh},
    {"69", ChordQuality::SixNine},
    {"maj", ChordQuality::Major},
    {"7sus", ChordQuality::SeventhSus4},
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

const std::array<QualityRule, QualityCount>& QualityRules() {
    return Rules;
}

const QualityRule& RuleOf(ChordQuality quality) {
    return Rules[static_cast<std::size_t>(quality)];
}

const char* PitchClassName(int pitchClass) {
    return Names[static_cast<std::size_t>(Mod12(pitchClass))];
}

std::string RootName(int root, ChordQuality quality) {
    const int pc = Mod12(root);
    const unsigned tones = RuleOf(quality).tones;
    const bool minor = (tones & Bits({3})) && !(tones & Bits({4}));
    const bool diminished =
        quality == ChordQuality::Diminished || quality == ChordQuality::HalfDiminished;
    if (minor && pc == 8 && quality != ChordQuality::Diminished7)
        return "G#";
    if (diminished && pc == 3)
        return "D#";
    return PitchClassName(pc);
}

std::string NoteNameFrom(int root, ChordQuality quality, int pitchClass) {
    static constexpr std::array<int, 7> Naturals = {0, 2, 4, 5, 7, 9, 11}; // C D E F G A B
    const std::string rootName = RootName(root, quality);
    const int rootLetter = (rootName[0] - 'C' + 7) % 7;
    const unsigned tones = RuleOf(quality).tones;
    const int interval = Mod12(pitchClass - root);
    // Letters above the root for each interval; a tritone is a flat fifth in a chord that has
    // one, else a sharp fourth; eight semitones an augmented fifth, else a flat sixth.
    static constexpr std::array<int, 12> Steps = {0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 6, 6};
    int steps = Steps[static_cast<std::size_t>(interval)];
    if (interval == 6 && (tones & Bits({6})))
        steps = 4;
    if (interval == 8 && !(tones & Bits({8})))
        steps = 5;
    const int letter = (rootLetter + steps) % 7;
    int shift = Mod12(pitchClass - Naturals[static_cast<std::size_t>(letter)]);
    if (shift > 6)
        shift -= 12;
    // Two accidentals, and the white-key spellings Fb, Cb, E# and B# that players avoid, fall
    // back to the plain name.
    const bool whiteKey = (shift == -1 && (letter == 0 || letter == 3)) ||
                          (shift == 1 && (letter == 2 || letter == 6));
    if (shift < -1 || shift > 1 || whiteKey)
        return PitchClassName(pitchClass);
    return std::string(1, "CDEFGAB"[letter]) + (shift == 1 ? "#" : shift == -1 ? "b" : "");
}

namespace {

// How natural the bass is for a reading, `interval` semitones above its root: the root, then
// the fifth (the banjo's open 4th string under a G chord), then the third or the note that
// stands for it in a suspended chord, then any other tone.
int BassRank(const QualityRule& rule, int interval) {
    if (interval == 0)
        return 0;
    if (interval >= 6 && interval <= 8)
        return 1;
    const bool suspended = !(rule.tones & Bits({3, 4}));
    if (interval == 3 || interval == 4 || (suspended && (interval == 2 || interval == 5)))
        return 2;
    return 3;
}

} // namespace

std::optional<int> MissingTones(const QualityRule& rule, int root, unsigned classes) {
    const unsigned intervals = Rotate(classes & 0xFFFu, Mod12(root));
    const unsigned required = rule.tones & ~rule.optional;
    if ((intervals & ~rule.tones) || (intervals & required) != required)
        return std::nullopt;
    return std::popcount(rule.tones & ~intervals);
}

std::string SymbolText(int root, ChordQuality quality, int bass) {
    std::string text = RootName(root, quality);
    text += RuleOf(quality).suffix;
    if (bass >= 0)
        text += "/" + NoteNameFrom(root, quality, bass);
    return text;
}

std::vector<ChordSymbol> NameChord(std::span<const int> pitches, NamingOptions options) {
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
        int missing, tier, bass, quality, root;
        ChordSymbol symbol;
    };
    std::vector<Ranked> ranked;
    for (int root = 0; root < 12; ++root) {
        if (!(pcs & (1u << root)))
            continue;
        for (const QualityRule& rule : Rules) {
            const std::optional<int> missing = MissingTones(rule, root, pcs);
            if (!missing)
                continue;
            ChordSymbol symbol;
            symbol.root = root;
            symbol.quality = rule.quality;
            symbol.bass = bass == root || !options.nameInversions ? -1 : bass;
            symbol.text = SymbolText(root, rule.quality, symbol.bass);
            symbol.missing = *missing;
            ranked.push_back({*missing, rule.tier, BassRank(rule, Mod12(bass - root)),
                              static_cast<int>(rule.quality), root, std::move(symbol)});
        }
    }
    std::sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
        return std::tie(a.missing, a.tier, a.bass, a.quality, a.root) <
               std::tie(b.missing, b.tier, b.bass, b.quality, b.root);
    });
    for (Ranked& r : ranked)
        found.push_back(std::move(r.symbol));
    return found;
}

std::vector<ChordSymbol> NameChordLine(const ChordEntry& entry, const std::array<int, 6>& offsets,
                                       NamingOptions options) {
    const std::vector<int> all = SoundingPitches(entry, offsets);
    const bool openFifth = entry.Fret[5] == 0 && entry.HammerNote[5] == NoNote;
    if (!openFifth)
        return NameChord(all, options);
    ChordEntry fretted = entry;
    fretted.Note[5] = NoNote;
    fretted.HammerNote[5] = NoNote;
    const std::vector<int> others = SoundingPitches(fretted, offsets);
    std::vector<ChordSymbol> names = NameChord(others, options);
    const int drone = Mod12(OpenPitch[5] + offsets[5]);
    if (!names.empty() &&
        !(RuleOf(names.front().quality).tones & (1u << Mod12(drone - names.front().root))))
        return names;
    unsigned fretClasses = 0;
    for (const int p : others)
        fretClasses |= 1u << Mod12(p);
    names = NameChord(all, options);
    // An added fourth that only the open drone sounds is no chord tone but the drone itself.
    std::erase_if(names, [&](const ChordSymbol& symbol) {
        return symbol.quality == ChordQuality::Add4 && drone == Mod12(symbol.root + 5) &&
               !(fretClasses & (1u << drone));
    });
    return names;
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
    const auto consider = [&](std::string_view suffix, ChordQuality quality) {
        if (rest.starts_with(suffix) && (!matched || suffix.size() > best)) {
            best = suffix.size();
            symbol.quality = quality;
            matched = true;
        }
    };
    for (const QualityRule& rule : Rules)
        consider(rule.suffix, rule.quality);
    for (const Spelling& spelling : Spellings)
        consider(spelling.text, spelling.quality);
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

// The dictionary shipped with the program, proved entry by entry: each line must sound exactly
// the chord its name says in the open G tuning, and be playable by one hand.

#include "chords/chord_dictionary.h"
#include "chords/chord_namer.h"
#include "chords/chord_parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fw {
namespace {

const DictionaryEntries& Shipped() {
    static const DictionaryEntries entries = [] {
        DictionaryEntries read;
        std::string error;
        if (!ReadDictionaryFile(FRETWICK_SHIPPED_DICTIONARY, read, error))
            ADD_FAILURE() << error;
        return read;
    }();
    return entries;
}

constexpr std::array<int, 6> OpenG = {0, 0, 0, 0, 0, 0};

// The lowest fret the hand stops on strings 1 to 4; 0 when they are all open or not played.
int LowestFret(const ChordEntry& entry) {
    int lowest = 0;
    for (int s = 1; s <= 4; ++s)
        if (entry.Fret[s] > 0 && (lowest == 0 || entry.Fret[s] < lowest))
            lowest = entry.Fret[s];
    return lowest;
}

class ShippedEntry : public ::testing::TestWithParam<std::string> {};

TEST_P(ShippedEntry, SoundsTheChordItsNameSays) {
    const std::string& line = GetParam();
    const ParsedLine parsed = ParseChordText(line, 0);
    ASSERT_TRUE(parsed.isChord()) << line << ": " << parsed.error;
    const ChordEntry& entry = parsed.entry;
    EXPECT_EQ(entry.Duration, "Q") << line;
    for (int s = 1; s <= 5; ++s)
        EXPECT_EQ(entry.HammerFret[s], NoFret) << line << ": no hammer-ons in the dictionary";

    const auto symbol = ParseChordSymbol(entry.Name);
    ASSERT_TRUE(symbol.has_value()) << line << ": the name is not a chord symbol";

    // Every note a chord tone, the root and every tone but a perfect fifth sounding, and the
    // bass of a slash chord lowest: exactly when the namer offers this root and quality.
    const std::vector<int> pitches = SoundingPitches(entry, OpenG);
    const auto names = NameChord(pitches, {.nameInversions = true});
    const auto fits = std::find_if(names.begin(), names.end(), [&](const ChordSymbol& n) {
        return n.root == symbol->root && n.quality == symbol->quality;
    });
    std::string offered;
    for (const auto& n : names)
        offered += " " + n.text;
    ASSERT_TRUE(fits != names.end()) << line << ": the notes spell only" << offered;
    if (symbol->bass >= 0) {
        EXPECT_EQ(fits->bass, symbol->bass) << line << ": the named bass is not the lowest note";
    }
    // The namer lets a seventh chord leave out its third; the dictionary leaves out at most a
    // perfect fifth.
    QualityRule fifthOnly = RuleOf(symbol->quality);
    fifthOnly.optional &= 1u << 7;
    unsigned classes = 0;
    for (const int p : pitches)
        classes |= 1u << (p % 12);
    EXPECT_TRUE(MissingTones(fifthOnly, symbol->root, classes).has_value())
        << line << ": a tone besides the fifth is left out";

    // A full chord: at least three of strings 1 to 4 sound.
    int sounding = 0;
    for (int s = 1; s <= 4; ++s)
        sounding += entry.Fret[s] != NoFret ? 1 : 0;
    EXPECT_GE(sounding, 3) << line;

    // The drone string is open (a chord tone, checked above) or not played.
    EXPECT_TRUE(entry.Fret[5] == 0 || entry.Fret[5] == NoFret) << line;

    // One hand: the stopped frets of strings 1 to 4 lie within four frets.
    int low = MaxFret, high = 0;
    for (int s = 1; s <= 4; ++s)
        if (entry.Fret[s] > 0) {
            low = std::min(low, entry.Fret[s]);
            high = std::max(high, entry.Fret[s]);
        }
    if (high > 0) {
        EXPECT_LE(high - low, 3) << line << ": the hand would span " << high - low + 1 << " frets";
    }

    // A position, when given, is the lowest stopped fret.
    if (symbol->position >= 0) {
        EXPECT_EQ(symbol->position, LowestFret(entry)) << line;
    }
}

std::string CaseName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = "Line" + std::to_string(info.index + 1) + "_";
    for (const char c : info.param.substr(0, info.param.find(',')))
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += c;
        else if (c == '#')
            name += "sharp";
        else if (c == '/')
            name += "over";
    return name;
}

INSTANTIATE_TEST_SUITE_P(BCHORDS, ShippedEntry, ::testing::ValuesIn(Shipped()), CaseName);

TEST(ShippedDictionary, HoldsAtLeastTwoHundredDistinctEntries) {
    const auto& entries = Shipped();
    EXPECT_GE(entries.size(), 200u);
    const std::set<std::string> distinct(entries.begin(), entries.end());
    EXPECT_EQ(distinct.size(), entries.size()) << "an entry is there twice";
    std::set<std::string> names;
    for (const auto& line : entries)
        names.insert(ParseChordText(line, 0).entry.Name);
    EXPECT_EQ(names.size(), entries.size()) << "two entries share a name";
}

// A symbol with several voicings names each by its position; a single voicing has none.
TEST(ShippedDictionary, PositionsTellVoicingsApart) {
    std::map<std::string, std::vector<int>> positions;
    for (const auto& line : Shipped()) {
        const auto symbol = ParseChordSymbol(ParseChordText(line, 0).entry.Name);
        ASSERT_TRUE(symbol.has_value()) << line;
        positions[symbol->text].push_back(symbol->position);
    }
    for (const auto& [text, list] : positions) {
        if (list.size() == 1) {
            EXPECT_EQ(list[0], -1) << text << " has one voicing but names a position";
            continue;
        }
        for (const int p : list) {
            EXPECT_GE(p, 0) << text << " has several voicings, one without a position";
        }
    }
}

// The qualities the dictionary holds; the namer knows more (sus2, add9, 6/9, m(maj7), m9, 7b9,
// 7#9, 13), which the chord shapes window finds in any tuning.
constexpr std::size_t DictionaryQualities = 13;

// The positions (lowest stopped fret) at which the rules allow each chord at all, frets 0 to
// 15, with at least three of strings 1 to 4 sounding: map from (root, quality) to positions.
std::map<std::pair<int, ChordQuality>, std::set<int>> PlayablePositions() {
    std::map<std::pair<int, ChordQuality>, std::set<int>> playable;
    constexpr int Muted = -1, Top = 15;
    std::array<int, 5> f{}; // strings 1..4 at f[1..4]
    for (f[1] = Muted; f[1] <= Top; ++f[1])
        for (f[2] = Muted; f[2] <= Top; ++f[2])
            for (f[3] = Muted; f[3] <= Top; ++f[3])
                for (f[4] = Muted; f[4] <= Top; ++f[4]) {
                    int low = Top + 1, high = 0, sounding = 0, position = 0;
                    unsigned pcs = 0;
                    for (int s = 1; s <= 4; ++s) {
                        if (f[s] == Muted)
                            continue;
                        ++sounding;
                        pcs |= 1u << ((OpenPitch[s] + f[s]) % 12);
                        if (f[s] > 0) {
                            low = std::min(low, f[s]);
                            high = std::max(high, f[s]);
                        }
                    }
                    if (sounding < 3 || (high > 0 && high - low > 3))
                        continue;
                    position = high > 0 ? low : 0;
                    for (const bool drone : {false, true}) {
                        const unsigned all = drone ? pcs | (1u << (OpenPitch[5] % 12)) : pcs;
                        for (int root = 0; root < 12; ++root) {
                            if (!(all & (1u << root)))
                                continue;
                            const unsigned intervals =
                                ((all >> root) | (all << (12 - root))) & 0xFFFu;
                            for (std::size_t q = 0; q < DictionaryQualities; ++q) {
                                const QualityRule& rule = QualityRules()[q];
                                const unsigned required = rule.tones & ~rule.optional;
                                if (!(intervals & ~rule.tones) &&
                                    (intervals & required) == required)
                                    playable[{root, rule.quality}].insert(position);
                            }
                        }
                    }
                }
    return playable;
}

// Every root of the twelve in every quality: a low voicing (within the first five frets, or
// the lowest the rules allow) and one up the neck, at least three frets higher (wherever the
// rules allow one).
TEST(ShippedDictionary, CoversEveryRootAndQualityLowAndUpTheNeck) {
    std::map<std::pair<int, ChordQuality>, std::vector<int>> found;
    for (const auto& line : Shipped()) {
        const ParsedLine parsed = ParseChordText(line, 0);
        const auto symbol = ParseChordSymbol(parsed.entry.Name);
        if (symbol && symbol->bass < 0)
            found[{symbol->root, symbol->quality}].push_back(LowestFret(parsed.entry));
    }
    const auto playable = PlayablePositions();
    for (int root = 0; root < 12; ++root) {
        for (std::size_t q = 0; q < DictionaryQualities; ++q) {
            const QualityRule& rule = QualityRules()[q];
            const std::string chord = std::string(PitchClassName(root)) + rule.suffix;
            const auto possible = playable.find({root, rule.quality});
            ASSERT_NE(possible, playable.end()) << chord << " cannot be played at all";
            const auto& frets = found[{root, rule.quality}];
            if (frets.empty()) {
                ADD_FAILURE() << chord << " is missing";
                continue;
            }
            const auto [low, high] = std::minmax_element(frets.begin(), frets.end());
            EXPECT_LE(*low, std::max(5, *possible->second.begin()))
                << chord << " has no low voicing";
            if (*possible->second.rbegin() >= *low + 3) {
                EXPECT_GE(*high, *low + 3) << chord << " has no voicing up the neck";
            }
        }
    }
}

} // namespace
} // namespace fw

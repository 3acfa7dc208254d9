// Chord shapes in any tuning: the first shapes players expect, the shipped dictionary's shapes
// found again in open G, and every listed shape named by the namer as the chord asked for.

#include "chords/chord_dictionary.h"
#include "chords/chord_namer.h"
#include "chords/chord_parser.h"
#include "chords/chord_shapes.h"
#include "chords/tuning.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace fw {
namespace {

ChordSymbol Chord(const std::string& name) {
    const std::optional<ChordSymbol> symbol = ParseChordSymbol(name);
    EXPECT_TRUE(symbol.has_value()) << name;
    return symbol.value_or(ChordSymbol{});
}

std::vector<std::string> Lines(const std::string& name, int tuning, std::size_t count) {
    const ChordSymbol chord = Chord(name);
    std::vector<std::string> lines;
    for (const ChordShape& shape : ChordShapes(chord, TuningOffsets(tuning)))
        if (lines.size() < count)
            lines.push_back(ChordShapeLine(chord, shape));
    return lines;
}

struct FirstShapeCase {
    const char* name;
    std::string chord;
    int tuning;
    std::vector<std::string> first; // the first lines, best first
};

void PrintTo(const FirstShapeCase& c, std::ostream* os) {
    *os << c.name;
}

class FirstShapes : public ::testing::TestWithParam<FirstShapeCase> {};

TEST_P(FirstShapes, ListTheShapesPlayersReachForFirst) {
    const FirstShapeCase& c = GetParam();
    if (c.first.empty()) {
        EXPECT_TRUE(ChordShapes(Chord(c.chord), TuningOffsets(c.tuning)).empty());
    } else {
        EXPECT_EQ(Lines(c.chord, c.tuning, c.first.size()), c.first);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FirstShapes,
    ::testing::Values(
        // Double C, g C G C D: the open strings hold a D, so C needs the first string's E.
        FirstShapeCase{"DoubleCC", "C", 53565, {"C (2), 0, 0, 0, 0, 2, Q"}},
        // Open D, f# D F# A D: the open strum is D.
        FirstShapeCase{"OpenDD", "D", 45435, {"D (0), 0, 0, 0, 0, 0, Q"}},
        FirstShapeCase{"OpenGG", "G", 55555, {"G (0), 0, 0, 0, 0, 0, Q"}},
        // The dictionary's first C: C (1), 0, 2, 0, 1, 2; the drone's G is C's fifth.
        FirstShapeCase{"OpenGC", "C", 55555, {"C (1), 0, 2, 0, 1, 2, Q"}},
        // The minor needs its Eb: the standard x-1-0-1-1 shape with the drone's fifth.
        FirstShapeCase{"OpenGCm", "Cm", 55555, {"Cm (1), 0, 1, 0, 1, 1, Q"}},
        FirstShapeCase{"OpenGD7", "D7", 55555, {"D7 (1), x, 0, 2, 1, 4, Q"}},
        // G modal, g D G C D: the open strings are G sus4.
        FirstShapeCase{"GModalGsus4", "Gsus4", 55565, {"Gsus4 (0), 0, 0, 0, 0, 0, Q"}},
        FirstShapeCase{"GMinorGm", "Gm", 55545, {"Gm (0), 0, 0, 0, 0, 0, Q"}},
        // A slash chord keeps its bass lowest; a spelling the namer does not use is respelled.
        FirstShapeCase{"SlashBass", "D/F#", 55555, {"D/F# (2), x, 4, 2, 3, 0, Q"}},
        FirstShapeCase{"Respelled", "A#", 55555, {"Bb (3), x, 3, 3, 3, 3, Q"}},
        // Up the neck the four-string barre comes before a shape with an open string.
        // The usual spellings: a diminished triad, aug, sus for sus4, the degree sign.
        FirstShapeCase{"Dim", "Bdim", 55555, {"Bdim (3), x, 3, 4, 3, 3, Q"}},
        FirstShapeCase{"Plus", "C+", 55555, {"Caug (1), x, 2, 1, 1, 2, Q"}},
        FirstShapeCase{"Sus", "Gsus", 55555, {"Gsus4 (1), 0, 0, 0, 1, 0, Q"}},
        FirstShapeCase{"Degree", "B°", 55555, {"Bdim (3), x, 3, 4, 3, 3, Q"}},
        // The drone's g is no added fourth of D: the 4th is stopped.
        FirstShapeCase{"AddedFourth", "Dadd4", 55555, {"Dadd4 (2), 0, 4, 2, 3, 5, Q"}},
        FirstShapeCase{
            "BarreFirst", "Bb", 55555, {"Bb (3), x, 3, 3, 3, 3, Q", "Bb (3), x, 0, 3, 3, 3, Q"}},
        // A position asked for keeps only the shapes there.
        FirstShapeCase{"AtAPosition", "Cm (8)", 55555, {"Cm (8), 0, 10, 8, 8, 10, Q"}},
        FirstShapeCase{"AddedNinth", "Gadd9", 55555, {"Gadd9 (2), 0, 0, 2, 0, 0, Q"}},
        // Open D's open strings make no C; in G the open strings are a G chord, not C.
        FirstShapeCase{"AtAPositionWithoutShapes", "C (0)", 55555, {}},
        FirstShapeCase{"SlashBassThatCannotBeLowest", "G/F#", 55555, {}},
        FirstShapeCase{"OpenDPositionOne", "C (1)", 45435, {"C (1), x, 2, 1, 3, 2, Q"}}),
    [](const auto& info) { return std::string(info.param.name); });

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

TEST(ChordShapes, FindTheShippedDictionarysShapesInOpenG) {
    std::size_t found = 0;
    std::cout << "Dictionary shapes the list leaves out:\n";
    for (const std::string& line : Shipped()) {
        const ParsedLine parsed = ParseChordText(line, 0);
        ASSERT_TRUE(parsed.isChord()) << line;
        ChordSymbol chord = Chord(parsed.entry.Name);
        chord.position = -1;
        const std::vector<ChordShape> shapes = ChordShapes(chord, TuningOffsets(55555));
        const bool listed = std::any_of(shapes.begin(), shapes.end(), [&](const ChordShape& s) {
            return s.fret == parsed.entry.Fret;
        });
        found += listed ? 1 : 0;
        if (!listed)
            std::cout << "  " << line << "\n";
    }
    std::cout << found << " of " << Shipped().size() << " listed\n";
    EXPECT_GE(found * 10, Shipped().size() * 9);
}

// Which reading the namer gave instead of the chord asked for, or nothing when the namer has no
// defence for it. `asked` is the namer's own candidate for the chord asked for.
std::string Alternative(const ChordSymbol& asked, const ChordSymbol& first) {
    const auto classes = [](const ChordSymbol& s) {
        unsigned c = 0;
        for (int i = 0; i < 12; ++i)
            if (RuleOf(s.quality).tones & (1u << i))
                c |= 1u << ((s.root + i) % 12);
        return c;
    };
    if (classes(asked) == classes(first))
        return "the same notes";
    if (first.missing < asked.missing)
        return "a reading that leaves out fewer tones";
    if (first.missing == asked.missing && RuleOf(first.quality).tier < RuleOf(asked.quality).tier)
        return "a plainer chord";
    if (first.missing == asked.missing && RuleOf(first.quality).tier == RuleOf(asked.quality).tier)
        return "the lowest note a more natural bass";
    return {};
}

// Every root in every quality in the Tuning menu's tunings: the namer offers the chord asked
// for for every shape, and names it so first unless it defends another reading.
TEST(ChordShapes, AreNamedAsTheChordAskedFor) {
    std::map<std::string, int> alternatives;
    int named = 0, total = 0;
    for (const int tuning : {55555, 53555, 55545, 45435, 55565, 53565}) {
        const std::array<int, 6> offsets = TuningOffsets(tuning);
        for (int root = 0; root < 12; ++root)
            for (const QualityRule& rule : QualityRules()) {
                ChordSymbol chord;
                chord.root = root;
                chord.quality = rule.quality;
                chord.text = SymbolText(root, rule.quality);
                for (const ChordShape& shape : ChordShapes(chord, offsets)) {
                    ++total;
                    const std::string line = ChordShapeLine(chord, shape);
                    const ParsedLine parsed = ParseChordText(line, 0);
                    ASSERT_TRUE(parsed.isChord()) << line << ": " << parsed.error;
                    EXPECT_EQ(parsed.entry.Fret, shape.fret) << line;
                    const std::vector<ChordSymbol> names =
                        NameChord(SoundingPitches(parsed.entry, offsets));
                    const auto asked =
                        std::find_if(names.begin(), names.end(), [&](const ChordSymbol& s) {
                            return s.root == root && s.quality == rule.quality;
                        });
                    ASSERT_NE(asked, names.end()) << tuning << " " << line;
                    EXPECT_EQ(asked->missing, shape.missing) << tuning << " " << line;
                    if (asked == names.begin()) {
                        ++named;
                        continue;
                    }
                    const std::string why = Alternative(*asked, names.front());
                    EXPECT_FALSE(why.empty())
                        << tuning << " " << line << " is named " << names.front().text;
                    ++alternatives[why];
                }
            }
    }
    std::cout << named << " of " << total << " shapes named as asked; the others:\n";
    for (const auto& [why, count] : alternatives)
        std::cout << "  " << count << " " << why << "\n";
    EXPECT_GT(total, 10000);
    EXPECT_GT(named * 2, total);
}

TEST(ChordShapes, KeepToTheHandAndTheDrone) {
    for (const int tuning : {55555, 45435, 53565}) {
        const std::array<int, 6> offsets = TuningOffsets(tuning);
        for (int root = 0; root < 12; ++root) {
            ChordSymbol chord;
            chord.root = root;
            chord.quality = ChordQuality::Seventh;
            const unsigned tones = [&] {
                unsigned c = 0;
                for (int i = 0; i < 12; ++i)
                    if (RuleOf(chord.quality).tones & (1u << i))
                        c |= 1u << ((root + i) % 12);
                return c;
            }();
            const bool drone = (tones >> ((OpenPitch[5] + offsets[5]) % 12)) & 1u;
            const std::vector<ChordShape> shapes = ChordShapes(chord, offsets);
            ASSERT_FALSE(shapes.empty()) << tuning << " " << root;
            for (std::size_t i = 0; i < shapes.size(); ++i) {
                const ChordShape& s = shapes[i];
                EXPECT_EQ(s.fret[5], drone ? 0 : NoFret);
                int low = 99, high = 0, ringing = 0;
                for (int string = 1; string <= 4; ++string) {
                    const int f = s.fret[static_cast<std::size_t>(string)];
                    ringing += f != NoFret ? 1 : 0;
                    if (f > 0) {
                        low = std::min(low, f);
                        high = std::max(high, f);
                    }
                }
                EXPECT_GE(ringing, 3);
                EXPECT_LE(high, ShapeTopFret);
                if (high > 0) {
                    EXPECT_LT(high - low, ShapeHandSpan);
                    EXPECT_EQ(s.position, low);
                }
                if (i > 0) {
                    // Up the neck, strings 1 to 4 all stopped first; then 2nd and 3rd sounding.
                    const auto key = [](const ChordShape& c) {
                        const bool stopped = std::all_of(c.fret.begin() + 1, c.fret.begin() + 5,
                                                         [](int f) { return f > 0; });
                        const bool movable = c.position < MovableFromFret || stopped;
                        const bool mutedInner = c.fret[2] == NoFret || c.fret[3] == NoFret;
                        return std::make_tuple(c.position, !movable, mutedInner, -c.ringing,
                                               c.span);
                    };
                    EXPECT_LE(key(shapes[i - 1]), key(s))
                        << "ranked by position, movable form, inner strings, strings ringing, "
                           "then span";
                }
            }
        }
    }
}

} // namespace
} // namespace fw

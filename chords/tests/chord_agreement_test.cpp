// The shipped dictionary as the namer's oracle: in open G, the namer's first name for each
// entry's frets is the entry's own name (without its "(n)" position) for at least 90% of the
// entries, and every entry where it is not has a reading the namer can defend. The differences
// are printed with their reasons.

#include "chords/chord_dictionary.h"
#include "chords/chord_namer.h"
#include "chords/chord_parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fw {
namespace {

unsigned ClassesOf(const std::vector<int>& pitches) {
    unsigned classes = 0;
    for (const int p : pitches)
        classes |= 1u << (((p % 12) + 12) % 12);
    return classes;
}

// The pitch classes of a whole chord: its root and every tone of its quality.
unsigned ChordClasses(int root, ChordQuality quality) {
    unsigned classes = 0;
    for (int i = 0; i < 12; ++i)
        if (RuleOf(quality).tones & (1u << i))
            classes |= 1u << ((root + i) % 12);
    return classes;
}

// Why the namer's first name `best` is as good a reading of `pitches` as the entry's chord
// `named`; empty when it is not.
std::string Defence(const ChordSymbol& named, const ChordSymbol& best,
                    const std::vector<ChordSymbol>& all) {
    if (named.bass >= 0 && best.root == named.root && best.quality == named.quality)
        return "slash bass: the entry names its bass, which the namer adds only with "
               "\"name inversions\" on";
    const auto reading = std::find_if(all.begin(), all.end(), [&](const ChordSymbol& s) {
        return s.root == named.root && s.quality == named.quality;
    });
    if (reading == all.end())
        return {};
    if (best.quality == named.quality &&
        ChordClasses(best.root, best.quality) == ChordClasses(named.root, named.quality))
        return std::string("symmetric chord: ") + best.text + " and " + reading->text +
               " are the same notes; the namer roots it on the lowest note";
    if (reading->missing > best.missing)
        return "the entry leaves out " + std::to_string(reading->missing) + " tone(s) of " +
               reading->text + ", " + best.text + " is complete" +
               (best.missing > 0 ? " but for " + std::to_string(best.missing) : "");
    if (reading->missing == best.missing &&
        RuleOf(reading->quality).tier == RuleOf(best.quality).tier &&
        ChordClasses(best.root, best.quality) == ChordClasses(named.root, named.quality))
        return "same notes: " + best.text + " and " + reading->text +
               " spell one set; the namer roots it on the lowest note";
    return {};
}

TEST(ChordNamerAgreement, NamesNineInTenShippedEntriesAsTheDictionaryDoes) {
    DictionaryEntries entries;
    std::string error;
    ASSERT_TRUE(ReadDictionaryFile(FRETWICK_SHIPPED_DICTIONARY, entries, error)) << error;
    ASSERT_FALSE(entries.empty());
    // Frets the dictionary gives several names (the four roots of a dim7, the C6 that is also
    // Am7) can get only one of them from the namer: every name of those frets is their own.
    std::map<std::string, std::set<std::string>> namesOfFrets;
    for (const std::string& line : entries) {
        const std::optional<ChordSymbol> named =
            ParseChordSymbol(ParseChordText(line, 0).entry.Name);
        ASSERT_TRUE(named.has_value()) << line;
        namesOfFrets[line.substr(line.find(','))].insert(named->text);
    }
    std::size_t agreeing = 0, strictly = 0;
    std::vector<std::string> indefensible;
    std::cout << "Entries the namer names differently:\n";
    for (const std::string& line : entries) {
        const ParsedLine parsed = ParseChordText(line, 0);
        ASSERT_TRUE(parsed.isChord()) << line;
        const std::optional<ChordSymbol> named = ParseChordSymbol(parsed.entry.Name);
        ASSERT_TRUE(named.has_value()) << line;
        const std::vector<int> pitches = SoundingPitches(parsed.entry, {0, 0, 0, 0, 0, 0});
        const std::vector<ChordSymbol> names = NameChord(pitches);
        ASSERT_FALSE(names.empty()) << line << ": no name at all";
        strictly += names.front().text == named->text ? 1 : 0;
        if (namesOfFrets[line.substr(line.find(','))].contains(names.front().text)) {
            ++agreeing;
            continue;
        }
        const std::string why = Defence(*named, names.front(), NameChord(pitches, {true}));
        std::cout << "  " << line << "  ->  " << names.front().text << ": "
                  << (why.empty() ? "NO DEFENCE" : why) << "\n";
        if (why.empty())
            indefensible.push_back(line + " named " + names.front().text);
        ASSERT_EQ(ClassesOf(pitches) & ~ChordClasses(names.front().root, names.front().quality), 0u)
            << line;
    }
    std::cout << agreeing << " of " << entries.size()
              << " entries get a name the dictionary gives their frets, " << strictly
              << " exactly their own name; " << namesOfFrets.size() << " different frets\n";
    EXPECT_GE(agreeing * 10, entries.size() * 9);
    EXPECT_TRUE(indefensible.empty()) << ::testing::PrintToString(indefensible);
}

} // namespace
} // namespace fw

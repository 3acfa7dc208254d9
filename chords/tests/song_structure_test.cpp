#include "chords/chord_parser.h"
#include "chords/song_structure.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fw {
namespace {

struct MarkerCase {
    const char* name;
    const char* line;
    bool marker;
    bool error;
};
struct ReadMarkerTest : testing::TestWithParam<MarkerCase> {};

TEST_P(ReadMarkerTest, Reads) {
    const MarkerReading reading = ReadMarker(GetParam().line);
    EXPECT_EQ(reading.isMarker(), GetParam().marker);
    EXPECT_EQ(!reading.error.empty(), GetParam().error) << reading.error;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadMarkerTest,
    testing::Values(MarkerCase{"RepeatStart", "* Repeat: start", true, false},
                    MarkerCase{"SpacesAndCase", "*repeat :  END x3", true, false},
                    MarkerCase{"CountAfter", "* Repeat: end 4x", true, false},
                    MarkerCase{"Sideways", "* Repeat: sideways", false, true},
                    MarkerCase{"CountOne", "* Repeat: end x1", false, true},
                    MarkerCase{"Ending", "* Ending: 2", true, false},
                    MarkerCase{"EndingWord", "* Ending: two", false, true},
                    MarkerCase{"Time", "* Time: 6/8", true, false},
                    MarkerCase{"TimeZero", "* Time: 0/4", false, true},
                    MarkerCase{"Tempo", "* Tempo: 90", true, false},
                    MarkerCase{"TempoTooFast", "* Tempo: 501", false, true},
                    MarkerCase{"Pickup", "* Pickup: 1/4", true, false},
                    MarkerCase{"PickupWhole", "* Pickup: 4/4", false, true},
                    MarkerCase{"PlainComment", "* Verse 1", false, false},
                    MarkerCase{"OtherKeyword", "* Playing time: 3 minutes", false, false},
                    MarkerCase{"NotAComment", " * Tempo: x", false, false}),
    [](const testing::TestParamInfo<MarkerCase>& info) { return std::string(info.param.name); });

TEST(ChordParserMarkers, MalformedMarkerIsALineError) {
    EXPECT_EQ(ParseChordText("* Time: 0/4", 2).error,
              "Line 3    \"Time: 0/4\" invalid. Time: 3/4, 6/8, C ...");
    EXPECT_TRUE(ParseChordText("* Time: 3/4", 2).ok());
}

struct DurationCase {
    const char* name;
    const char* text;
    int ticks;
};
struct TripletDurationTest : testing::TestWithParam<DurationCase> {};

TEST_P(TripletDurationTest, Length) {
    EXPECT_EQ(DurationValue(GetParam().text, 384), GetParam().ticks);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TripletDurationTest,
    testing::Values(DurationCase{"Eighth", "E3", 32}, DurationCase{"Quarter", "q3", 64},
                    DurationCase{"Sixteenth", "S3", 16}, DurationCase{"ThirtySecond", "T3", 8},
                    DurationCase{"Half", "H3", 128}, DurationCase{"Dotted", ".E3", 0},
                    DurationCase{"OtherDigit", "E5", 0}),
    [](const testing::TestParamInfo<DurationCase>& info) { return std::string(info.param.name); });

TEST(ChordParserMarkers, DottedTripletIsAnError) {
    EXPECT_EQ(ParseChordText("G, 0, 0, 0, 0, 0, .E3", 0).error,
              "Line 1    \".E3\" invalid. A triplet cannot be dotted.");
    EXPECT_TRUE(ParseChordText("G, 0, 0, 0, 0, 0, E3", 0).ok());
}

// The lines of a song whose chord lines are named by letter, each a quarter note.
std::vector<ChordEntry> Entries(const std::vector<std::string>& lines) {
    std::vector<ChordEntry> entries;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string text = lines[i].size() == 1 ? lines[i] + ", 0, 0, 0, 0, 0, Q" : lines[i];
        entries.push_back(ParseChordText(text, static_cast<int>(i)).entry);
    }
    return entries;
}

// The chord names in sounding order, each with its pass ("A1 B1 A2 C2").
std::string Order(const std::vector<std::string>& lines, std::size_t start = 0) {
    const std::vector<ChordEntry> entries = Entries(lines);
    const SongStructure structure = SongStructure::OfEntries(entries);
    const std::vector<SoundingSpan> spans = SoundingOrder(structure, entries.size(), start);
    std::string order;
    for (const SoundingLine& line : SoundingLines(entries, spans, 384)) {
        if (!order.empty())
            order += ' ';
        order += entries[line.line].Name + std::to_string(line.pass);
    }
    return order;
}

struct OrderCase {
    const char* name;
    std::vector<std::string> lines;
    std::size_t start;
    const char* order;
};
struct SoundingOrderTest : testing::TestWithParam<OrderCase> {};

TEST_P(SoundingOrderTest, Plays) {
    EXPECT_EQ(Order(GetParam().lines, GetParam().start), GetParam().order);
}

const std::vector<std::string> TwoParts = {
    "P", "* Repeat: start", "A", "* Ending: 1",   "B", "* Repeat: end", "* Ending: 2", "C",
    " ", "* Repeat: start", "D", "* Repeat: end", "E"};

INSTANTIATE_TEST_SUITE_P(
    Songs, SoundingOrderTest,
    testing::Values(OrderCase{"NoMarkers", {"A", "* Verse", "B"}, 0, "A1 B1"},
                    OrderCase{"RepeatFromBeginning", {"A", "* Repeat: end", "B"}, 0, "A1 A2 B1"},
                    OrderCase{"ThreeTimes",
                              {"A", "* Repeat: start", "B", "* Repeat: end x3"},
                              0,
                              "A1 B1 B2 B3"},
                    OrderCase{"EndWithoutStartAfterEnd",
                              {"A", "* Repeat: end", "B", "* Repeat: end"},
                              0,
                              "A1 A2 B1 B2"},
                    OrderCase{"TwoEndingsAndRepeatedB", TwoParts, 0, "P1 A1 B1 A2 C1 D1 D2 E1"},
                    OrderCase{"FromCursorInsideRepeat", TwoParts, 2, "A2 C1 D1 D2 E1"},
                    OrderCase{"FromCursorInFirstEnding", TwoParts, 4, "B2 C1 D1 D2 E1"},
                    OrderCase{"ThreeEndings",
                              {"* Repeat: start", "A", "* Ending: 1", "B", "* Ending: 2", "C",
                               "* Repeat: end x3", "* Ending: 3", "D"},
                              0,
                              "A1 B1 A2 C2 A3 D1"}),
    [](const testing::TestParamInfo<OrderCase>& info) { return std::string(info.param.name); });

TEST(SongStructure, TempoAndMeterFollowTheLines) {
    const std::vector<ChordEntry> entries =
        Entries({"* Time: 3/4", "* Pickup: 1/4", "* Repeat: start", "A", "* Tempo: 90",
                 "* Time: 6/8", "B", "* Repeat: end"});
    const SongStructure structure = SongStructure::OfEntries(entries);
    EXPECT_EQ(structure.firstMeter(), (BeatMeter{3, 4}));
    EXPECT_EQ(structure.pickupTicks(384), 96);
    const auto spans = SoundingOrder(structure, entries.size());
    const auto lines = SoundingLines(entries, spans, 384);
    ASSERT_EQ(lines.size(), 4u);
    // The second time through starts again in 3/4 at the song's tempo.
    EXPECT_EQ(lines[1].tempo, 90);
    EXPECT_EQ(lines[1].meter, (BeatMeter{6, 8}));
    EXPECT_EQ(lines[2].tempo, 0);
    EXPECT_EQ(lines[2].meter, (BeatMeter{3, 4}));
    EXPECT_EQ(lines[2].pass, 2);
}

TEST(SongStructure, SectionsKnowTheirEndings) {
    const SongStructure structure = SongStructure::OfEntries(Entries(TwoParts));
    const std::vector<RepeatSection> sections = structure.sections();
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].first, 1u);
    EXPECT_EQ(sections[0].endLine, 5u);
    ASSERT_EQ(sections[0].endings.size(), 2u);
    EXPECT_EQ(sections[0].endings[0].until, 5u); // ending 1 runs to the repeat's end
    EXPECT_EQ(sections[0].endings[1].until, 8u); // the last ending runs to the blank line
    EXPECT_TRUE(sections[1].endings.empty());
}

} // namespace
} // namespace fw

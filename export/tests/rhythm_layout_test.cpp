// The rhythm of a measure as stems: note values of duration texts, spacing by duration with a
// minimum width, beams grouped by the beat of the meter, flags, stubs, rests and stretching.

#include "export/rhythm_layout.h"

#include "tab_test_support.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace fw {
namespace {

// A measure from duration texts; "r" in front makes a rest ("rQ").
std::vector<TabItem> MeasureOf(const std::vector<std::string>& durations) {
    std::vector<std::string> lines;
    for (const std::string& d : durations)
        lines.push_back(d[0] == 'r' ? "Rest, x, x, x, x, x, " + d.substr(1)
                                    : "G, 0, x, 0, x, 2, " + d);
    std::vector<TabItem> items = test::ItemsOf(lines);
    items.pop_back(); // the terminator
    return items;
}

struct ValueCase {
    const char* name;
    const char* text;
    std::optional<RhythmValue> value;
};

void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << c.name;
}

class Values : public ::testing::TestWithParam<ValueCase> {};

TEST_P(Values, OfDurationTexts) {
    EXPECT_EQ(RhythmValueOf(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Values,
    ::testing::Values(ValueCase{"Quarter", "Q", RhythmValue{NoteValue::Quarter, false, 96}},
                      ValueCase{"DottedEighthLowerCase", ".e",
                                RhythmValue{NoteValue::Eighth, true, 72}},
                      ValueCase{"SixtyFourth", "F", RhythmValue{NoteValue::SixtyFourth, false, 6}},
                      ValueCase{"DottedWhole", ".W", RhythmValue{NoteValue::Whole, true, 576}},
                      ValueCase{"Unknown", "X", std::nullopt},
                      ValueCase{"DotAlone", ".", std::nullopt}),
    [](const ::testing::TestParamInfo<ValueCase>& info) { return std::string(info.param.name); });

// --- Beams and flags --------------------------------------------------------------------------

// "0-1 2-3": the beam groups; "1:0-3 2:1<": the segments (level:from-to, "<" or ">" a stub).
std::string Groups(const RhythmMeasure& m) {
    std::ostringstream text;
    for (const BeamGroup& g : m.groups)
        text << (text.tellp() > 0 ? " " : "") << g.first << "-" << g.last;
    return text.str();
}

std::string Segments(const RhythmMeasure& m) {
    std::ostringstream text;
    for (const BeamGroup& g : m.groups)
        for (const BeamSegment& s : g.segments) {
            text << (text.tellp() > 0 ? " " : "") << s.level << ":" << s.from;
            if (s.stub != 0)
                text << (s.stub < 0 ? "<" : ">");
            else
                text << "-" << s.to;
        }
    return text.str();
}

// One letter per column: "-" no stem (whole note or rest), "s" a beamed stem, a digit the flags.
std::string Stems(const RhythmMeasure& m) {
    std::string text;
    for (const RhythmColumn& c : m.columns)
        text += !c.stem ? '-' : c.group >= 0 ? 's' : static_cast<char>('0' + c.flags);
    return text;
}

struct BeamCase {
    const char* name;
    Meter meter;
    std::vector<std::string> durations;
    std::string groups;
    std::string segments;
    std::string stems;
};

void PrintTo(const BeamCase& c, std::ostream* os) {
    *os << c.name;
}

class Beams : public ::testing::TestWithParam<BeamCase> {};

TEST_P(Beams, FollowTheBeat) {
    const BeamCase& c = GetParam();
    const RhythmMeasure m = LayoutRhythm(MeasureOf(c.durations), c.meter, RhythmSpacing{});
    EXPECT_EQ(Groups(m), c.groups);
    EXPECT_EQ(Segments(m), c.segments);
    EXPECT_EQ(Stems(m), c.stems);
}

const Meter FourFour{4, 4};

INSTANTIATE_TEST_SUITE_P(
    Table, Beams,
    ::testing::Values(
        BeamCase{"EighthsInPairs",
                 FourFour,
                 {"E", "E", "E", "E", "E", "E", "E", "E"},
                 "0-1 2-3 4-5 6-7",
                 "1:0-1 1:2-3 1:4-5 1:6-7",
                 "ssssssss"},
        BeamCase{"SixteenthsInFours",
                 FourFour,
                 {"S", "S", "S", "S", "S", "S", "S", "S"},
                 "0-3 4-7",
                 "1:0-3 2:0-3 1:4-7 2:4-7",
                 "ssssssss"},
        BeamCase{"DottedEighthAndSixteenth",
                 FourFour,
                 {".E", "S", ".E", "S"},
                 "0-1 2-3",
                 "1:0-1 2:1< 1:2-3 2:3<",
                 "ssss"},
        BeamCase{
            "SixteenthAndDottedEighth", FourFour, {"S", ".E", "H"}, "0-1", "1:0-1 2:0>", "ss0"},
        BeamCase{"EighthAndTwoSixteenths",
                 FourFour,
                 {"E", "S", "S", "Q", "H"},
                 "0-2",
                 "1:0-2 2:1-2",
                 "sss00"},
        // An eighth next to quarters has no partner in its beat: it gets a flag.
        BeamCase{"LoneEighthsGetFlags", FourFour, {"E", "Q", "E", "Q", "Q"}, "", "", "10100"},
        BeamCase{"LoneSixteenthGetsTwoFlags", FourFour, {"S", ".Q"}, "", "", "20"},
        // A rest breaks the beam and has no stem.
        BeamCase{"RestBreaksTheBeam", FourFour, {"E", "rE", "E", "E"}, "2-3", "1:2-3", "1-ss"},
        // The second eighth starts a new beat: the eighths of different beats are not joined.
        BeamCase{"NoBeamAcrossTheBeat",
                 FourFour,
                 {"Q", "E", "E", "E", "Q", "E"},
                 "1-2",
                 "1:1-2",
                 "0ss101"},
        BeamCase{"SixEightInThrees",
                 Meter{6, 8},
                 {"E", "E", "E", "E", "E", "E"},
                 "0-2 3-5",
                 "1:0-2 1:3-5",
                 "ssssss"},
        BeamCase{"CutTimeInFours",
                 Meter{2, 2},
                 {"E", "E", "E", "E", "E", "E", "E", "E"},
                 "0-3 4-7",
                 "1:0-3 1:4-7",
                 "ssssssss"},
        BeamCase{"ThirtySecondsInEights",
                 FourFour,
                 {"T", "T", "T", "T", "T", "T", "T", "T"},
                 "0-7",
                 "1:0-7 2:0-7 3:0-7",
                 "ssssssss"},
        BeamCase{"WholeHasNoStemHalfHasOne", FourFour, {"W", "H", "rQ"}, "", "", "-0-"}),
    [](const ::testing::TestParamInfo<BeamCase>& info) { return std::string(info.param.name); });

// --- Spacing ----------------------------------------------------------------------------------

TEST(RhythmSpacing, FollowsDurationWithAMinimumWidth) {
    const RhythmSpacing spacing{10, 0.5, 4};
    EXPECT_DOUBLE_EQ(RhythmColumnWidth(DurationTicks("F"), spacing), 10);
    EXPECT_DOUBLE_EQ(RhythmColumnWidth(DurationTicks("T"), spacing), 10);
    EXPECT_DOUBLE_EQ(RhythmColumnWidth(DurationTicks("S"), spacing), 10);
    EXPECT_DOUBLE_EQ(RhythmColumnWidth(DurationTicks("E"), spacing), 15);
    EXPECT_DOUBLE_EQ(RhythmColumnWidth(DurationTicks("Q"), spacing), 20);
    EXPECT_DOUBLE_EQ(RhythmColumnWidth(DurationTicks("H"), spacing), 25);
    EXPECT_DOUBLE_EQ(RhythmColumnWidth(DurationTicks("W"), spacing), 30);
    const double dotted = RhythmColumnWidth(DurationTicks(".Q"), spacing);
    EXPECT_GT(dotted, 20);
    EXPECT_LT(dotted, 25);
}

TEST(RhythmSpacing, PlacesColumnsAfterTheLeadIn) {
    const RhythmSpacing spacing{10, 0.5, 4};
    std::vector<TabItem> chords = MeasureOf({"Q", "S", "E", "rH"});
    // A hammer-on on the sixteenth: its target needs a column of its own.
    chords[1].HammerFret[1] = 4;
    chords[1].HammerNote[1] = 66;
    const RhythmMeasure m = LayoutRhythm(chords, FourFour, spacing);
    ASSERT_EQ(m.columns.size(), 4u);
    EXPECT_DOUBLE_EQ(m.columns[0].x, 4);
    EXPECT_DOUBLE_EQ(m.columns[1].x, 24);
    EXPECT_DOUBLE_EQ(m.columns[1].targetX, 34);
    EXPECT_DOUBLE_EQ(m.columns[1].width, 20);
    EXPECT_DOUBLE_EQ(m.columns[2].x, 44);
    EXPECT_DOUBLE_EQ(m.columns[3].x, 59);
    EXPECT_DOUBLE_EQ(m.width, 84);
    EXPECT_EQ(m.columns[3].start, 96 + 24 + 48);
    EXPECT_TRUE(m.columns[3].rest);
    EXPECT_EQ(m.columns[0].targetX, -1);
    // The sixteenth and the eighth share the second beat: one beam, a stub on the sixteenth.
    EXPECT_EQ(Segments(m), "1:1-2 2:1>");
}

TEST(RhythmSpacing, StretchKeepsTheLeadInAndProportions) {
    const RhythmSpacing spacing{10, 0.5, 4};
    std::vector<TabItem> chords = MeasureOf({"Q", "S"});
    chords[1].HammerFret[1] = 4;
    chords[1].HammerNote[1] = 66;
    RhythmMeasure m = LayoutRhythm(chords, FourFour, spacing);
    ASSERT_DOUBLE_EQ(m.width, 44);
    StretchRhythm(m, 84, spacing);
    EXPECT_DOUBLE_EQ(m.width, 84);
    EXPECT_DOUBLE_EQ(m.columns[0].x, 4);
    EXPECT_DOUBLE_EQ(m.columns[0].width, 40);
    EXPECT_DOUBLE_EQ(m.columns[1].x, 44);
    EXPECT_DOUBLE_EQ(m.columns[1].targetX, 64);

    RhythmMeasure empty = LayoutRhythm({}, FourFour, spacing);
    StretchRhythm(empty, 100, spacing);
    EXPECT_DOUBLE_EQ(empty.width, 4);
}

} // namespace
} // namespace fw

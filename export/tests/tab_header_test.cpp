// The words of a web tab: the tunings and meters its lines name, and which words are chord names.

#include "export/tab_chord_names.h"
#include "export/tab_header.h"
#include "export/tab_rhythm.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace fw::tabstaff {
namespace {

struct HeaderCase {
    const char* name;
    const char* line;
    std::optional<int> tuning;
    std::optional<Meter> meter;
};

void PrintTo(const HeaderCase& c, std::ostream* os) {
    *os << c.name;
}

class HeaderLine : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderLine, NamesItsTuningAndMeter) {
    EXPECT_EQ(TuningCodeOfHeaderLine(GetParam().line), GetParam().tuning);
    EXPECT_EQ(MeterOfHeaderLine(GetParam().line), GetParam().meter);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HeaderLine,
    ::testing::Values(
        HeaderCase{"NotesBeatTheName", "Tuning: gCGCD (Double C)", 53565, std::nullopt},
        HeaderCase{"SharpInCompactNotes", "aEAC#E", 77777, std::nullopt},
        HeaderCase{"FlatInCompactNotes", "Tuning gDGBbD", 55545, std::nullopt},
        HeaderCase{"NotesApartAfterTuning", "tuning - g D G C D", 55565, std::nullopt},
        HeaderCase{"NotesApartWithoutTheWordAreWords", "a b c d e", std::nullopt, std::nullopt},
        HeaderCase{"DoubleCByName", "Double C", 53565, std::nullopt},
        HeaderCase{"OpenDInATitle", "Old Joe Clark (open D)", 45435, std::nullopt},
        HeaderCase{"GModal", "G modal, capo 2", 55565, std::nullopt},
        HeaderCase{"Sawmill", "Sawmill tuning", 55565, std::nullopt},
        HeaderCase{"WordsOfFiveNoteLettersOutOfReach", "Faded added", std::nullopt, std::nullopt},
        HeaderCase{"KeyIsNoTuning", "Key of G", std::nullopt, std::nullopt},
        HeaderCase{"TimeSignature", "Time: 3/4", std::nullopt, Meter{3, 4}},
        HeaderCase{"BareFraction", "Jig 6/8 (fast)", std::nullopt, Meter{6, 8}},
        HeaderCase{"DateIsNoMeter", "posted 12/8/2020", std::nullopt, std::nullopt},
        HeaderCase{"SlideIsNoMeter", "play 2/4h5 there", std::nullopt, std::nullopt},
        HeaderCase{"OddUnitIsNoMeter", "3/5", std::nullopt, std::nullopt}),
    [](const ::testing::TestParamInfo<HeaderCase>& info) { return std::string(info.param.name); });

TEST(Labels, NameATuningEitherWayUp) {
    bool fifthOnTop = true;
    EXPECT_EQ(TuningCodeOfLabels({"D", "C", "G", "C", "g"}, fifthOnTop), 53565);
    EXPECT_FALSE(fifthOnTop);
    EXPECT_EQ(TuningCodeOfLabels({"g", "D", "G", "B", "D"}, fifthOnTop), 55555);
    EXPECT_TRUE(fifthOnTop);
    EXPECT_EQ(TuningCodeOfLabels({"E", "A", "D", "G", "B"}, fifthOnTop), std::nullopt);
}

TEST(ChordNames, LookLikeChords) {
    for (const char* name : {"G", "F#m7", "C/G", "Bb", "Am7b5", "Dsus4", "E7#9", "Cmaj7", "D+"})
        EXPECT_TRUE(LooksLikeChordName(name)) << name;
    for (const char* name : {"Go", "Dim", "H", "Boil", "G/", "x2", "Gmmmmmmm"})
        EXPECT_FALSE(LooksLikeChordName(name)) << name;
    EXPECT_FALSE(ReadChordNameLine("G   C   and D").has_value());
    const auto names = ReadChordNameLine("  G  |  D7");
    ASSERT_TRUE(names.has_value());
    ASSERT_EQ(names->size(), 2U);
    EXPECT_EQ((*names)[1].column, 8U);
    EXPECT_EQ(NameOver(*names, 1), "");
    EXPECT_EQ(NameOver(*names, 7), "G");
    EXPECT_EQ(NameOver(*names, 8), "D7");
}

struct FillCase {
    const char* name;
    std::vector<double> gaps;
    int measure64;
    std::vector<std::string> durations;
    Fill fill;
};

void PrintTo(const FillCase& c, std::ostream* os) {
    *os << c.name;
}

class Filling : public ::testing::TestWithParam<FillCase> {};

TEST_P(Filling, FillsTheMeasure) {
    const FilledMeasure filled = FillMeasure(GetParam().gaps, GetParam().measure64);
    EXPECT_EQ(filled.durations, GetParam().durations);
    EXPECT_EQ(filled.fill, GetParam().fill);
}

// In 6/8 the beat is a dotted quarter: two even notes stay dotted quarters.
TEST(Filling, CompoundMeterKeepsDottedBeats) {
    EXPECT_EQ(FillMeasure({1, 1}, 48, true).durations, (std::vector<std::string>{".Q", ".Q"}));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Filling,
    ::testing::Values(
        FillCase{"SpacingFits", {4, 2, 2, 8}, 64, {"Q", "E", "E", "H"}, Fill::Spacing},
        FillCase{
            "UnevenFourAreQuarters", {3, 5, 4, 4}, 64, {"Q", "Q", "Q", "Q"}, Fill::EqualValues},
        FillCase{"ThreeInThreeFour", {3, 4, 5}, 48, {"Q", "Q", "Q"}, Fill::EqualValues},
        // Nearest Q .E Q .E (56): the spacing alternates, so dotted pairs.
        FillCase{"DottedPairs", {5, 3, 5, 3}, 64, {".Q", "E", ".Q", "E"}, Fill::DottedPairs},
        FillCase{
            "DottedPairsShortFirst", {3, 5, 3, 5}, 64, {"E", ".Q", "E", ".Q"}, Fill::DottedPairs},
        FillCase{"SixEvenInFourFour",
                 {1, 1, 1, 1, 1, 1},
                 64,
                 {"Q3", "Q3", "Q3", "Q3", "Q3", "Q3"},
                 Fill::Triplets},
        FillCase{"ThreeEvenInAQuarter", {1, 1, 1}, 16, {"E3", "E3", "E3"}, Fill::Triplets},
        FillCase{"TwoEvenInAWaltz", {1, 1}, 48, {"H", "Q"}, Fill::PlainValues}),
    [](const ::testing::TestParamInfo<FillCase>& info) { return std::string(info.param.name); });

TEST(CommonGap, IsTheSmallestCommonOne) {
    EXPECT_EQ(CommonGap({2, 2, 4, 2, 4, 4, 2, 8}), 2U);
    EXPECT_EQ(CommonGap({4, 4, 4, 1}), 4U);
    EXPECT_EQ(CommonGap({}), std::nullopt);
}

} // namespace
} // namespace fw::tabstaff

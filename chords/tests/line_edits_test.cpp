#include "chords/line_edits.h"
#include "tests/support/case_name.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace fw {
namespace {

FretArray Frets(int s5, int s4, int s3, int s2, int s1) {
    return {0, s1, s2, s3, s4, s5};
}

TEST(DurationTextFor, PlainAndDotted) {
    EXPECT_EQ(DurationTextFor('Q', false), " Q");
    EXPECT_EQ(DurationTextFor('Q', true), " .Q");
    EXPECT_EQ(DurationTextFor('F', true), " .F");
}

struct DurationCase {
    std::string line;
    std::string duration;
    std::string result;
};

class DurationRewrites : public ::testing::TestWithParam<DurationCase> {};

TEST_P(DurationRewrites, KeepEverythingUpToTheLastComma) {
    EXPECT_EQ(WithDuration(GetParam().line, GetParam().duration), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DurationRewrites,
    ::testing::Values(DurationCase{"G, 0, 0, 0, 0, 0, Q", " H", "G, 0, 0, 0, 0, 0, H"},
                      DurationCase{"G, 0, 0, 0, 0, 0, Q", " .H", "G, 0, 0, 0, 0, 0, .H"},
                      DurationCase{"G,0,0,0,0,0,Q", " E", "G,0,0,0,0,0, E"},
                      DurationCase{"G, 0, 0, 0, 0, 0, Q    ", " H", "G, 0, 0, 0, 0, 0, H"},
                      DurationCase{"Slide in , 0 , 2-4 , 0 , 0 , 0 , .w\t", " S",
                                   "Slide in , 0 , 2-4 , 0 , 0 , 0 , S"},
                      DurationCase{"G, 0, 0, 0, 0, 0,", " Q", "G, 0, 0, 0, 0, 0, Q"},
                      DurationCase{"no comma", " Q", " Q"}),
    [](const auto& info) {
        return fw::cases::IndexedCaseName(info.index, info.param.line + " " + info.param.duration);
    });

struct RenameCase {
    std::string line;
    std::string box;
    std::string result;
};

class Renames : public ::testing::TestWithParam<RenameCase> {};

TEST_P(Renames, PutTheBoxTextBeforeTheFirstComma) {
    EXPECT_EQ(RenamedLine(GetParam().line, GetParam().box), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Renames,
    ::testing::Values(RenameCase{"G, 0, 0, 0, 0, 0, Q", "G7", "G7, 0, 0, 0, 0, 0, Q"},
                      // The box text is kept as typed; the rest of the line is trimmed.
                      RenameCase{"  G  , 0, 0, 0, 0, 0, Q  ", " G maj ",
                                 " G maj , 0, 0, 0, 0, 0, Q"},
                      RenameCase{"G,0,0,0,0,0,Q", "Am", "Am,0,0,0,0,0,Q"},
                      // An empty box leaves the line alone.
                      RenameCase{"G, 0, 0, 0, 0, 0, Q", "", "G, 0, 0, 0, 0, 0, Q"},
                      RenameCase{"G, 0, 0, 0, 0, 0, Q", " \t ", "G, 0, 0, 0, 0, 0, Q"},
                      // No check on the name: a comma or a number makes a line in error later.
                      RenameCase{"G, 0, 0, 0, 0, 0, Q", "A,B", "A,B, 0, 0, 0, 0, 0, Q"},
                      RenameCase{"G, 0, 0, 0, 0, 0, Q", "7", "7, 0, 0, 0, 0, 0, Q"}),
    [](const auto& info) {
        return fw::cases::IndexedCaseName(info.index, info.param.line + " " + info.param.box);
    });

TEST(TransposeDown, OpenStringsStopAndLowTargetsDrop) {
    const FretsAndHammers moved = TransposeDown(Frets(0, 2, 0, 1, 5), Frets(-1, 4, -1, 0, 1));
    EXPECT_EQ(moved.frets, Frets(-1, 1, -1, 0, 4));
    EXPECT_EQ(moved.hammers, Frets(-1, 3, -1, -1, 0));
}

TEST(TransposeDown, UnplayedStringsKeepEverything) {
    const FretsAndHammers moved =
        TransposeDown(Frets(-1, -1, -1, -1, -1), Frets(3, -1, -1, -1, -1));
    EXPECT_EQ(moved.frets, AllNoFrets());
    EXPECT_EQ(moved.hammers, Frets(3, -1, -1, -1, -1));
}

TEST(TransposeUp, LimitsAre17OnString5And22Elsewhere) {
    const FretsAndHammers moved = TransposeUp(Frets(16, 21, 22, 5, 0), Frets(17, 22, -1, 22, 3));
    EXPECT_EQ(moved.frets, Frets(17, 22, -1, 6, 1));
    EXPECT_EQ(moved.hammers, Frets(-1, -1, -1, -1, 4));
}

TEST(TransposeUp, AStringAtItsLimitStopsWithItsHammerOn) {
    const FretsAndHammers moved = TransposeUp(Frets(17, 0, 0, 0, 0), Frets(3, -1, -1, -1, -1));
    EXPECT_EQ(moved.frets, Frets(-1, 1, 1, 1, 1));
    EXPECT_EQ(moved.hammers, AllNoFrets());
}

struct TransposeCase {
    std::string line;
    TransposeDirection direction;
    std::optional<std::string> result;
};

class TransposedLines : public ::testing::TestWithParam<TransposeCase> {};

TEST_P(TransposedLines, AreRecomposed) {
    EXPECT_EQ(TransposedLine(GetParam().line, GetParam().direction, " S"), GetParam().result)
        << GetParam().line;
}

constexpr auto Up = TransposeDirection::Up;
constexpr auto Down = TransposeDirection::Down;

INSTANTIATE_TEST_SUITE_P(
    Table, TransposedLines,
    ::testing::Values(TransposeCase{"G, 0, 0, 0, 0, 0, Q", Up, "Chord, 1, 1, 1, 1, 1, S"},
                      TransposeCase{"G, 0, 0, 0, 0, 0, Q", Down, "Chord, x, x, x, x, x, S"},
                      TransposeCase{"C, x, 2, 0, 1, 2, Q", Up, "Chord, x, 3, 1, 2, 3, S"},
                      TransposeCase{"Slide, 0, 2-4, 0, 0, 0, H", Down, "Chord, x, 1-3, x, x, x, S"},
                      TransposeCase{"G, 17, 22, 0, 0, 0, Q", Up, "Chord, x, x, 1, 1, 1, S"},
                      TransposeCase{"N.C., x, x, x, x, x, Q", Up, std::nullopt},
                      TransposeCase{"N.C., x, x, x, x, x, Q", Down, std::nullopt},
                      // A hammer-on whose target would pass the last fret is dropped.
                      TransposeCase{"G, x, 5-22, x, x, x, Q", Up, "Chord, x, 6, x, x, x, S"},
                      TransposeCase{"G, x, 1-0, x, x, x, Q", Down, "Chord, x, 0, x, x, x, S"},
                      // Comment, blank and erroneous lines are left alone.
                      TransposeCase{"*Verse", Up, std::nullopt},
                      TransposeCase{"   ", Down, std::nullopt},
                      TransposeCase{"G, 0, 0, 0, 0, 0, QQ", Up, std::nullopt}),
    [](const auto& info) { return fw::cases::IndexedCaseName(info.index, info.param.line); });

TEST(TransposedLine, UsesTheCurrentDuration) {
    EXPECT_EQ(TransposedLine("G, 0, 0, 0, 0, 0, Q", Up, " .E"), "Chord, 1, 1, 1, 1, 1, .E");
}

} // namespace
} // namespace fw

#include "chords/beat_meter.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace fw {
namespace {

struct MeterText {
    const char* name;
    const char* text;
    std::optional<BeatMeter> meter;
};
struct ParseBeatMeterTest : testing::TestWithParam<MeterText> {};

TEST_P(ParseBeatMeterTest, Reads) {
    EXPECT_EQ(ParseBeatMeter(GetParam().text), GetParam().meter);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseBeatMeterTest,
    testing::Values(MeterText{"ThreeFour", "3/4", BeatMeter{3, 4}},
                    MeterText{"SpacesAround", "  6 / 8 ", BeatMeter{6, 8}},
                    MeterText{"CommonTime", "c", BeatMeter{4, 4}},
                    MeterText{"CutTime", "C|", BeatMeter{2, 2}},
                    MeterText{"TwelveSixteen", "12/16", BeatMeter{12, 16}},
                    MeterText{"UnitNotAPowerOfTwo", "3/5", std::nullopt},
                    MeterText{"UnitTooSmall", "4/128", std::nullopt},
                    MeterText{"NoBeats", "0/4", std::nullopt},
                    MeterText{"TooManyBeats", "65/4", std::nullopt},
                    MeterText{"Words", "3 minutes", std::nullopt},
                    MeterText{"TrailingText", "3/4 swing", std::nullopt},
                    MeterText{"Empty", "", std::nullopt}),
    [](const testing::TestParamInfo<MeterText>& info) { return std::string(info.param.name); });

struct LinesCase {
    const char* name;
    std::vector<std::string> lines;
    BeatMeter meter;
};
struct BeatMeterOfLinesTest : testing::TestWithParam<LinesCase> {};

TEST_P(BeatMeterOfLinesTest, Finds) {
    EXPECT_EQ(BeatMeterOfLines(GetParam().lines), GetParam().meter);
}

INSTANTIATE_TEST_SUITE_P(
    Songs, BeatMeterOfLinesTest,
    testing::Values(
        LinesCase{"NoneIsFourFour", {"G, 0, 0, 0, 0, 0, Q"}, BeatMeter{4, 4}},
        LinesCase{"CommentLine", {"* Time: 3/4", "G, 0, 0, 0, 0, 0, Q"}, BeatMeter{3, 4}},
        LinesCase{"AnyCase", {"*time:6/8"}, BeatMeter{6, 8}},
        LinesCase{"LastOneWins", {"* Time: 3/4", "G, 0, 0, 0, 0, 0, Q", "* Time: 2/4"},
                  BeatMeter{2, 4}},
        LinesCase{"NotAMeterIsPassedOver",
                  {"* Time: 3/4", "* Playing time: 3 minutes"},
                  BeatMeter{3, 4}},
        LinesCase{"OnlyCommentsCount", {"Time: 3/4, 0, 0, 0, 0, 0, Q"}, BeatMeter{4, 4}}),
    [](const testing::TestParamInfo<LinesCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace fw

// The capo line of a song and the capo a tablature header names.
#include "chords/capo.h"

#include <gtest/gtest.h>

#include <string>

namespace fw {
namespace {

struct CapoCase {
    const char* name;
    const char* line;
    int capo;           // the song line's capo, or the header's (0: none)
    bool error = false; // a malformed capo line
};

class CapoLine : public ::testing::TestWithParam<CapoCase> {};

TEST_P(CapoLine, ReadsTheFretOrTheLineError) {
    const CapoCase& c = GetParam();
    EXPECT_EQ(SongCapoOfText(c.line), c.capo);
    EXPECT_EQ(CapoLineError(c.line, 2),
              c.error ? "Line 3    Capo must be a fret from 0 to 12." : "");
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CapoLine,
    ::testing::Values(CapoCase{"Plain", "* Capo: 2", 2}, CapoCase{"Tight", "*capo:12", 12},
                      CapoCase{"PastTwelve", "* Capo: 13", 0, true},
                      CapoCase{"NotANumber", "* Capo: x", 0, true},
                      CapoCase{"Empty", "* Capo:", 0, true},
                      CapoCase{"NoColonIsAComment", "* Capo 2", 0},
                      CapoCase{"FirstLineDecides", "* Intro\n* Capo: 3\n* Capo: 4", 3},
                      CapoCase{"ChordLine", "Capo: 2, 0, 0, 0, 0, 0, Q", 0}),
    [](const auto& info) { return std::string(info.param.name); });

class CapoInTabHeader : public ::testing::TestWithParam<CapoCase> {};

TEST_P(CapoInTabHeader, FindsTheFret) {
    EXPECT_EQ(CapoOfHeaderText(GetParam().line).value_or(0), GetParam().capo);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, CapoInTabHeader,
    ::testing::Values(CapoCase{"Short", "capo 2", 2}, CapoCase{"Ordinal", "Capo on 2nd fret", 2},
                      CapoCase{"AtThe", "Tuning: gDGBD, capo at the 4th fret", 4},
                      CapoCase{"TooHigh", "CAPO 14", 0}, CapoCase{"NoNumber", "No capo", 0},
                      CapoCase{"PartOfAWord", "Capodastro 2", 0},
                      CapoCase{"FarAway", "capo is not used in this tune of 1923", 0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace fw

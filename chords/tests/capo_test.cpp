// The capo line of a song and the capo a tablature header names.
#include "chords/capo.h"

#include <gtest/gtest.h>

#include <string>

namespace fw {
namespace {

struct MarkerCase {
    const char* name;
    const char* line;
    bool marker;
    int capo = 0;
    bool error = false;
};

class CapoMarkerReading : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(CapoMarkerReading, ReadsTheFretOrTheError) {
    const MarkerCase& c = GetParam();
    const auto marker = ReadCapoMarker(c.line);
    ASSERT_EQ(marker.has_value(), c.marker);
    if (!marker)
        return;
    EXPECT_EQ(marker->capo, c.capo);
    EXPECT_EQ(!marker->error.empty(), c.error);
}

INSTANTIATE_TEST_SUITE_P(Lines, CapoMarkerReading,
                         ::testing::Values(MarkerCase{"Plain", "* Capo: 2", true, 2},
                                           MarkerCase{"NoSpaces", "*capo:12", true, 12},
                                           MarkerCase{"ZeroIsNoCapo", "* Capo: 0 ", true, 0},
                                           MarkerCase{"PastTwelve", "* Capo: 13", true, 0, true},
                                           MarkerCase{"NotANumber", "* Capo: x", true, 0, true},
                                           MarkerCase{"Empty", "* Capo:", true, 0, true},
                                           MarkerCase{"Negative", "* Capo: -1", true, 0, true},
                                           MarkerCase{"NoColonIsAComment", "* Capo 2", false},
                                           MarkerCase{"OtherComment", "* Time: 3/4", false},
                                           MarkerCase{"ChordLine", "Capo: 2, 0, 0, 0, 0, 0, Q",
                                                      false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CapoMarkerReading, AMalformedLineIsALineError) {
    EXPECT_EQ(CapoLineError("* Capo: 13", 2), "Line 3    Capo must be a fret from 0 to 12.");
    EXPECT_EQ(CapoLineError("* Capo: 3", 2), "");
    EXPECT_EQ(CapoLineError("* Verse", 2), "");
}

TEST(SongCapo, TheFirstCapoLineDecides) {
    EXPECT_EQ(SongCapoOfText("* Intro\nG, 0, 0, 0, 0, 0, Q\n* Capo: 2\n* Capo: 4\n"), 2);
    EXPECT_EQ(SongCapoOfText("G, 0, 0, 0, 0, 0, Q\n"), 0);
    EXPECT_EQ(SongCapoOfText("* Capo: 13\n* Capo: 4\n"), 0);
    EXPECT_EQ(CapoMarkerLine(5), "* Capo: 5");
    EXPECT_EQ(CapoOffsets({0, 0, -1, 0, 0, 1}, 2), (std::array<int, 6>{0, 2, 1, 2, 2, 3}));
    EXPECT_EQ(CapoStatusText(2), ", capo 2");
    EXPECT_EQ(TabCapoText(0), "");
}

struct HeaderCase {
    const char* name;
    const char* line;
    int capo; // 0: none named
};

class CapoInTabHeader : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(CapoInTabHeader, FindsTheFret) {
    EXPECT_EQ(CapoOfHeaderText(GetParam().line).value_or(0), GetParam().capo);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, CapoInTabHeader,
    ::testing::Values(HeaderCase{"Short", "capo 2", 2}, HeaderCase{"Colon", "Capo: 3", 3},
                      HeaderCase{"Ordinal", "Capo on 2nd fret", 2},
                      HeaderCase{"AtThe", "Tuning: gDGBD, capo at the 4th fret", 4},
                      HeaderCase{"Upper", "CAPO 7", 7}, HeaderCase{"NoNumber", "No capo", 0},
                      HeaderCase{"TooHigh", "capo 14", 0},
                      HeaderCase{"PartOfAWord", "Capodastro 2", 0},
                      HeaderCase{"FarAway", "capo is not used in this tune of 1923", 0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace fw

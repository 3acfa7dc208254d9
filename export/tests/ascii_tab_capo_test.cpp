// A capo named in a tablature's header becomes the song's capo line, and the chords are named
// at the pitch they sound.
#include "export/ascii_tab_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace fw {
namespace {

const char* const Staff = "D|-0---0-|\nB|-0---0-|\nG|-0---0-|\nD|-0---0-|\ng|-0---0-|\n";

bool Holds(const TabReading& reading, const std::string& line) {
    return std::find(reading.lines.begin(), reading.lines.end(), line) != reading.lines.end();
}

TEST(TabCapo, AWebHeaderGivesTheCapoLineAndSoundingNames) {
    const TabReading reading =
        ReadAsciiTab(std::string("Cripple Creek\nCapo on 2nd fret\n") + Staff);
    EXPECT_EQ(reading.capo, 2);
    EXPECT_TRUE(Holds(reading, "* Capo: 2"));
    // The open G strum sounds A with the capo at 2.
    const auto chord =
        std::find_if(reading.lines.begin(), reading.lines.end(),
                     [](const std::string& l) { return l.find(", 0, 0") != l.npos; });
    ASSERT_NE(chord, reading.lines.end());
    EXPECT_EQ(chord->substr(0, 2), "A,") << *chord;
}

TEST(TabCapo, ThisProgramsTuningLineKeepsItsTuningAndCapo) {
    const TabReading reading =
        ReadAsciiTab(std::string("G Tuning - G D G B D, Capo 3\n\n") + Staff);
    EXPECT_EQ(reading.tuningCode, 55555);
    EXPECT_EQ(reading.capo, 3);
    EXPECT_TRUE(Holds(reading, "* Capo: 3"));
}

TEST(TabCapo, ACapoLineInTheTabIsNotWrittenTwiceAndNoCapoWritesNone) {
    const TabReading reading = ReadAsciiTab(std::string("Capo: 4\n") + Staff);
    EXPECT_EQ(std::count(reading.lines.begin(), reading.lines.end(), "* Capo: 4"), 1);
    EXPECT_EQ(ReadAsciiTab(Staff).capo, 0);
}

} // namespace
} // namespace fw

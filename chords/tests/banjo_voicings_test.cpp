// Everyday banjo voicings in the common tunings, named as a player names them: the open 5th
// string drones unless it is a tone of the fretted chord.
#include "chords/chord_namer.h"
#include "chords/chord_parser.h"
#include "chords/tuning.h"

#include <gtest/gtest.h>

#include <string>

namespace fw {
namespace {

struct Voicing {
    const char* name;
    int tuning;
    const char* frets;     // strings 5 to 1
    const char* expect;    // the first name, slash chords off
    const char* bass = ""; // the first name with slash chords on, when it differs
};

std::string FirstName(const Voicing& v, bool inversions) {
    const ParsedLine parsed = ParseChordText(std::string("N, ") + v.frets + ", Q", 0);
    EXPECT_TRUE(parsed.isChord()) << parsed.error;
    const auto names = NameChordLine(parsed.entry, TuningOffsets(v.tuning), {inversions});
    return names.empty() ? "(none)" : names.front().text;
}

class BanjoVoicing : public ::testing::TestWithParam<Voicing> {};

TEST_P(BanjoVoicing, IsNamedAsAPlayerNamesIt) {
    const Voicing& v = GetParam();
    EXPECT_EQ(FirstName(v, false), v.expect);
    if (*v.bass) {
        EXPECT_EQ(FirstName(v, true), v.bass);
    }
}

constexpr int G = 55555, DoubleC = 53565, OpenD = 45435, Modal = 55565;

INSTANTIATE_TEST_SUITE_P(
    Tunings, BanjoVoicing,
    ::testing::Values(
        // Open G: the drone cases players name from the fretted strings.
        Voicing{"G_DWithDrone", G, "0, 0, 2, 3, 4", "D"},
        Voicing{"G_D7WithDrone", G, "0, 0, 2, 1, 0", "D7"},
        Voicing{"G_E7WithDrone", G, "0, 2, 1, 0, 0", "E7"},
        Voicing{"G_FWithDrone", G, "0, 3, 2, 1, 3", "F"},
        Voicing{"G_BmWithDrone", G, "0, 4, 4, 3, 4", "Bm"},
        Voicing{"G_AWithDrone", G, "0, 2, 2, 2, 2", "A"},
        Voicing{"G_AmWithDrone", G, "0, 2, 2, 1, 2", "Am"},
        Voicing{"G_BbWithDrone", G, "0, 3, 3, 3, 3", "Bb"},
        Voicing{"G_DBarreWithDrone", G, "0, 7, 7, 7, 7", "D"},
        Voicing{"G_Open", G, "0, 0, 0, 0, 0", "G"}, Voicing{"G_C", G, "0, 2, 0, 1, 2", "C"},
        Voicing{"G_CBarre", G, "0, 5, 5, 5, 5", "C"}, Voicing{"G_G7", G, "0, 0, 0, 0, 3", "G7"},
        Voicing{"G_Em", G, "0, 2, 0, 0, 2", "Em"}, Voicing{"G_Gm", G, "0, 0, 3, 3, 5", "Gm"},
        Voicing{"G_A7", G, "0, 2, 2, 2, 5", "A7"}, Voicing{"G_Cm", G, "0, 1, 0, 1, 1", "Cm"},
        Voicing{"G_DimTriad", G, "x, x, 4, 3, 3", "Bdim"},
        Voicing{"G_Dadd4Fretted", G, "x, 4, 2, 3, 5", "Dadd4"},
        Voicing{"G_AmAdd9", G, "x, 7, 5, 0, 2", "Am(add9)"},
        Voicing{"G_EmAdd9", G, "x, 2, 0, 0, 4", "Em(add9)"},
        // Roots and basses spelled as players write them.
        Voicing{"G_B7OverDSharp", G, "x, 1, 2, 0, 1", "B7", "B7/D#"},
        Voicing{"G_GSharpMinorSeventh", G, "x, 1, 1, 0, 4", "G#m7", "G#m7/D#"},
        Voicing{"G_CSharpMinor", G, "x, 2, 6, 5, 6", "C#m", "C#m/E"},
        Voicing{"G_FSharpMinor", G, "x, 4, 2, 2, 4", "F#m"},
        Voicing{"G_EFlat", G, "x, 1, 3, 4, 5", "Eb"},
        Voicing{"G_AFlat", G, "x, 1, 1, 1, 1", "Ab", "Ab/Eb"},
        // Double C, g C G C D.
        Voicing{"DoubleC_C", DoubleC, "0, 0, 0, 0, 2", "C"},
        Voicing{"DoubleC_FWithDrone", DoubleC, "0, 5, 2, 0, 3", "F"},
        Voicing{"DoubleC_G", DoubleC, "0, 7, 7, 7, 9", "G"},
        Voicing{"DoubleC_AmWithDrone", DoubleC, "0, 4, 2, 0, 2", "Am"},
        Voicing{"DoubleC_D7WithDrone", DoubleC, "0, 2, 2, 0, 4", "D7"},
        Voicing{"DoubleC_BbWithDrone", DoubleC, "0, 2, 3, 5, 0", "Bb"},
        Voicing{"DoubleC_DmWithDrone", DoubleC, "0, 2, 2, 5, 0", "Dm"},
        Voicing{"DoubleC_C7", DoubleC, "0, 0, 3, 0, 2", "C7"},
        Voicing{"DoubleC_AWithDrone", DoubleC, "0, 4, 2, 1, 2", "A"},
        // Open D, f# D F# A D.
        Voicing{"OpenD_Open", OpenD, "0, 0, 0, 0, 0", "D"},
        Voicing{"OpenD_GWithDrone", OpenD, "0, 5, 5, 5, 5", "G"},
        Voicing{"OpenD_AWithDrone", OpenD, "0, 7, 7, 7, 7", "A"},
        Voicing{"OpenD_Bm", OpenD, "0, 4, 0, 2, 0", "Bm"},
        Voicing{"OpenD_EmWithDrone", OpenD, "0, 2, 1, 2, 2", "Em"},
        Voicing{"OpenD_D7", OpenD, "0, 0, 0, 3, 0", "D7"},
        Voicing{"OpenD_FSharpMinor", OpenD, "0, 4, 7, 0, 4", "F#m"},
        Voicing{"OpenD_Dsus4WithDrone", OpenD, "0, 0, 1, 0, 0", "Dsus4"},
        Voicing{"OpenD_Dadd4", OpenD, "0, 0, 1, 0, 4", "Dadd4"},
        // G modal, g D G C D.
        Voicing{"Modal_Open", Modal, "0, 0, 0, 0, 0", "Gsus4"},
        Voicing{"Modal_G", Modal, "0, 0, 4, 2, 0", "G"},
        Voicing{"Modal_C", Modal, "0, 2, 0, 0, 2", "C"},
        Voicing{"Modal_FWithDrone", Modal, "0, 3, 2, 0, 3", "F"},
        Voicing{"Modal_DWithDrone", Modal, "0, 0, 2, 2, 4", "D"},
        Voicing{"Modal_D7WithDrone", Modal, "0, 0, 2, 0, 4", "D7"},
        Voicing{"Modal_AmWithDrone", Modal, "0, 2, 2, 0, 2", "Am"},
        Voicing{"Modal_DmWithDrone", Modal, "0, 0, 2, 2, 3", "Dm"},
        Voicing{"Modal_Gm", Modal, "0, 5, 3, 2, 5", "Gm"},
        Voicing{"Modal_BbWithDrone", Modal, "0, 3, 3, 2, 3", "Bb"}),
    [](const auto& info) { return std::string(info.param.name); });

// The drone names the chord only when the fretted strings name nothing, and never as the
// added fourth it would make.
TEST(BanjoVoicing, TheDroneNamesOnlyWhatTheFrettedStringsCannot) {
    EXPECT_EQ(FirstName({"", G, "0, 0, x, 1, x", ""}, false), "Gsus4");  // D C: no name alone
    EXPECT_EQ(FirstName({"", G, "0, 4, x, x, 0", ""}, false), "(none)"); // F# D g: not Dadd4
    EXPECT_EQ(FirstName({"", G, "7, 0, 2, 3, 4", ""}, false), "D"); // a stopped 5th is no drone
}

} // namespace
} // namespace fw

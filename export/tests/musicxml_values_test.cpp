// Note lengths, written note values and pitch spelling of the MusicXML export, and the escaping
// of user text for XML.

#include "export/musicxml_values.h"
#include "export/xml_text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

namespace fw {
namespace {

struct DurationCase {
    const char* text;
    int divisions;
};

void PrintTo(const DurationCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class DurationDivisionsTest : public ::testing::TestWithParam<DurationCase> {};

TEST_P(DurationDivisionsTest, EveryTextIsAWholeNumberOfDivisions) {
    EXPECT_EQ(DurationDivisions(GetParam().text), GetParam().divisions);
}

// A quarter note is 32 divisions; the dotted sixty-fourth (3) is the smallest odd length.
INSTANTIATE_TEST_SUITE_P(
    Texts, DurationDivisionsTest,
    ::testing::Values(DurationCase{"W", 128}, DurationCase{".W", 192}, DurationCase{"H", 64},
                      DurationCase{".H", 96}, DurationCase{"Q", 32}, DurationCase{".Q", 48},
                      DurationCase{"E", 16}, DurationCase{".E", 24}, DurationCase{"S", 8},
                      DurationCase{".S", 12}, DurationCase{"T", 4}, DurationCase{".T", 6},
                      DurationCase{"F", 2}, DurationCase{".F", 3}, DurationCase{".e", 24},
                      DurationCase{"X", 0}),
    [](const auto& info) {
        std::string name = info.param.text;
        if (name.front() == '.')
            name = "dotted_" + name.substr(1);
        return name + (std::islower(static_cast<unsigned char>(name.back())) ? "_lower" : "");
    });

struct ValuesCase {
    const char* label;
    int length;
    std::vector<NoteValue> values;
};

void PrintTo(const ValuesCase& c, std::ostream* out) {
    *out << c.label;
}

class NoteValuesTest : public ::testing::TestWithParam<ValuesCase> {};

TEST_P(NoteValuesTest, LengthsBecomeWrittenValues) {
    const ValuesCase& c = GetParam();
    const NoteValues values = NoteValuesFor(c.length);
    ASSERT_EQ(values.size(), c.values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(values[i].duration, c.values[i].duration) << i;
        EXPECT_EQ(values[i].type, c.values[i].type) << i;
        EXPECT_EQ(values[i].dots, c.values[i].dots) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, NoteValuesTest,
    ::testing::Values(ValuesCase{"whole", 128, {{128, "whole", 0}}},
                      ValuesCase{"dotted_half", 96, {{96, "half", 1}}},
                      ValuesCase{"dotted_sixty_fourth", 3, {{3, "64th", 1}}},
                      ValuesCase{"one_division_is_a_128th", 1, {{1, "128th", 0}}},
                      // What is left of a measure after a sixteenth and a dotted sixteenth.
                      ValuesCase{"rest_of_measure_108", 108, {{96, "half", 1}, {12, "16th", 1}}},
                      ValuesCase{"seven", 7, {{6, "32nd", 1}, {1, "128th", 0}}},
                      ValuesCase{"half_and_sixteenth", 72, {{64, "half", 0}, {8, "16th", 0}}},
                      ValuesCase{"longer_than_a_measure_is_cut_to_one", 200, {{128, "whole", 0}}},
                      ValuesCase{"nothing_for_zero", 0, {}},
                      ValuesCase{"nothing_for_negative", -5, {}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(NoteValuesSums, EveryLengthOfAMeasureAddsUpWithinOneMeasure) {
    for (int length = 1; length <= 128; ++length) {
        const NoteValues values = NoteValuesFor(length);
        int sum = 0;
        for (const NoteValue& value : values) {
            sum += value.duration;
            // A written value's length follows from its type and dots.
            const int plain = value.dots == 1 ? value.duration * 2 / 3 : value.duration;
            EXPECT_EQ(plain & (plain - 1), 0) << length << ": " << value.type;
        }
        EXPECT_EQ(sum, length);
        EXPECT_LE(values.size(), 4u) << "a length of " << length << " takes too many notes";
    }
}

struct PitchCase {
    int midi;
    SpelledPitch pitch;
};

void PrintTo(const PitchCase& c, std::ostream* out) {
    *out << "MIDI " << c.midi;
}

class SpellPitchTest : public ::testing::TestWithParam<PitchCase> {};

TEST_P(SpellPitchTest, SpellsAsBanjoTuningsNameNotes) {
    EXPECT_EQ(SpellPitch(GetParam().midi), GetParam().pitch);
}

INSTANTIATE_TEST_SUITE_P(Pitches, SpellPitchTest,
                         ::testing::Values(PitchCase{60, {'C', 0, 4}}, PitchCase{61, {'C', 1, 4}},
                                           PitchCase{63, {'E', -1, 4}}, PitchCase{66, {'F', 1, 4}},
                                           PitchCase{68, {'A', -1, 4}}, PitchCase{70, {'B', -1, 4}},
                                           PitchCase{59, {'B', 0, 3}}, PitchCase{50, {'D', 0, 3}},
                                           PitchCase{67, {'G', 0, 4}}, PitchCase{0, {'C', 0, -1}},
                                           PitchCase{-1, {'B', 0, -2}},
                                           PitchCase{127, {'G', 0, 9}}),
                         [](const auto& info) {
                             const int midi = info.param.midi;
                             return midi < 0 ? "minus_" + std::to_string(-midi)
                                             : "midi_" + std::to_string(midi);
                         });

struct EscapeCase {
    const char* label;
    std::string text;
    std::string escaped;
};

void PrintTo(const EscapeCase& c, std::ostream* out) {
    *out << c.label;
}

class XmlEscapedTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(XmlEscapedTest, TextIsAlwaysWellFormed) {
    EXPECT_EQ(XmlEscaped(GetParam().text), GetParam().escaped);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, XmlEscapedTest,
    ::testing::Values(
        EscapeCase{"plain", "Cripple Creek", "Cripple Creek"},
        EscapeCase{"markup_characters", "<a & \"b\" 'c'>",
                   "&lt;a &amp; &quot;b&quot; &apos;c&apos;&gt;"},
        EscapeCase{"entity_text_escaped_again", "&amp;", "&amp;amp;"},
        EscapeCase{"utf8_kept", "Banjo \xC3\xA9t\xC3\xA9 \xE2\x99\xAA",
                   "Banjo \xC3\xA9t\xC3\xA9 \xE2\x99\xAA"},
        EscapeCase{"controls_dropped_tab_kept", std::string("a\x01\tb\x1F") + '\0' + "c", "a\tbc"},
        EscapeCase{"noncharacters_dropped", "x\xEF\xBF\xBEy\xEF\xBF\xBFz", "xyz"},
        EscapeCase{"bad_bytes_replaced",
                   "a\xFF"
                   "b\xC3",
                   "a\xEF\xBF\xBD"
                   "b\xEF\xBF\xBD"},
        EscapeCase{"overlong_replaced", "\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        EscapeCase{"surrogate_replaced", "\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        EscapeCase{"four_byte_kept", "\xF0\x9F\x8E\xB5", "\xF0\x9F\x8E\xB5"}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace fw

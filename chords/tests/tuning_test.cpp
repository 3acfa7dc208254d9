#include "chords/tuning.h"

#include "chords/chord_entry.h"

#include <gtest/gtest.h>

#include <string>

namespace fw {
namespace {

// Offsets written in line order, string 5 first.
std::array<int, 6> Offsets(int s5, int s4, int s3, int s2, int s1) {
    return {0, s1, s2, s3, s4, s5};
}

struct FixedCase {
    int index;
    const char* name;
    std::string caption;
    int code;
    std::string status;
    std::array<int, 6> openPitch; // strings 1..5 after the offsets
};

class FixedTuningItems : public ::testing::TestWithParam<FixedCase> {};

TEST_P(FixedTuningItems, MatchTheMenu) {
    const FixedCase& c = GetParam();
    const TuningMenuItem& item = FixedTunings[static_cast<std::size_t>(c.index)];
    EXPECT_STREQ(item.name, c.name);
    EXPECT_EQ(item.caption, c.caption);
    EXPECT_EQ(item.tag, c.code);
    EXPECT_EQ(TuningIndex(c.code), c.index);
    EXPECT_EQ(StatusTuningText(item.caption), c.status);
    const auto offsets = TuningOffsets(c.code);
    for (int s = 1; s <= 5; ++s)
        EXPECT_EQ(OpenPitch[s] + offsets[s], c.openPitch[s]) << "string " << s;
}

// The pitches follow the tag, even where the caption names other notes.
INSTANTIATE_TEST_SUITE_P(Table, FixedTuningItems,
                         ::testing::Values(FixedCase{0,
                                                     "GTuning1",
                                                     "&G Tuning - G D G B D",
                                                     55555,
                                                     "G Tuning - G D G B D",
                                                     {0, 62, 59, 55, 50, 67}},
                                           FixedCase{1,
                                                     "CTuning1",
                                                     "&C Tuning - G C G B D",
                                                     53555,
                                                     "C Tuning - G C G B D",
                                                     {0, 62, 59, 55, 48, 67}},
                                           FixedCase{2,
                                                     "GMinorTuning1",
                                                     "G Minor Tuning - G D G Bb D",
                                                     55545,
                                                     "G Minor Tuning - G D G Bb D",
                                                     {0, 62, 58, 55, 50, 67}},
                                           FixedCase{3,
                                                     "DTuning1",
                                                     "&D Tuning - F# D F# A D",
                                                     45435,
                                                     "D Tuning - F# D F# A D",
                                                     {0, 62, 57, 54, 50, 66}},
                                           FixedCase{4,
                                                     "GModalTuning1",
                                                     "&G Modal Tuning - G D G C D",
                                                     55565,
                                                     "G Modal Tuning - G D G C D",
                                                     {0, 62, 60, 55, 50, 67}},
                                           FixedCase{5,
                                                     "DoubleCTuning1",
                                                     "Double C - G C G C D",
                                                     53565,
                                                     "Double C - G C G C D",
                                                     {0, 62, 60, 55, 48, 67}},
                                           FixedCase{6,
                                                     "DoubleDTuning1",
                                                     "Double D - A D A D E",
                                                     75787,
                                                     "Double D - A D A D E",
                                                     {0, 64, 62, 57, 50, 69}}),
                         [](const auto& info) { return std::string(info.param.name); });

// A fixed item's caption names exactly the notes its code sounds, as the custom tuning's
// caption for the same code does.
TEST(FixedTunings, CaptionsNameTheNotesThatSound) {
    for (const TuningMenuItem& item : FixedTunings) {
        const std::string caption = item.caption;
        const std::string custom = UserTuningCaption(item.tag);
        EXPECT_EQ(caption.substr(caption.find(" - ")), custom.substr(custom.find(" - ")))
            << item.name;
    }
}

// The old C Tuning code is no fixed item any more: a song that carries it keeps its sound
// and shows as the custom tuning that names it.
TEST(TuningIndex, TheOldCTuningCodeIsACustomTuning) {
    EXPECT_EQ(TuningIndex(52555), UserTuningIndex);
    EXPECT_EQ(UserTuningCaption(52555), "&Custom Tuning - G B G B D");
    EXPECT_EQ(StatusTuningText(UserTuningCaption(52555)), "Custom Tuning - G B G B D");
    EXPECT_EQ(TuningOffsets(52555), Offsets(0, -3, 0, 0, 0));
}

TEST(TuningIndex, AnyOtherCodeIsTheUserItem) {
    EXPECT_EQ(UserTuningIndex, 8);
    for (int code : {64556, 55556, 555550, 0, -55555, 12345, 52555})
        EXPECT_EQ(TuningIndex(code), UserTuningIndex) << code;
}

TEST(TuningOffsets, DigitMinusFivePerString) {
    EXPECT_EQ(TuningOffsets(55555), Offsets(0, 0, 0, 0, 0));
    EXPECT_EQ(TuningOffsets(45435), Offsets(-1, 0, -1, -2, 0));
    EXPECT_EQ(TuningOffsets(64556), Offsets(1, -1, 0, 0, 1));
    EXPECT_EQ(TuningOffsets(19999), Offsets(-4, 4, 4, 4, 4));
    EXPECT_EQ(TuningOffsets(50505), Offsets(0, -5, 0, -5, 0));
}

TEST(TuningOffsets, ALongerCodeUsesItsFirstFiveDigits) {
    EXPECT_EQ(TuningOffsets(645561), Offsets(1, -1, 0, 0, 1));
    EXPECT_EQ(TuningOffsets(2147483646), Offsets(-3, -4, -1, 2, -1)); // "21474"
    EXPECT_EQ(UserTuningCaption(645569), "&Custom Tuning - Ab C# G B Eb");
}

// A code with fewer than five digits, or a negative one, is repaired to 55555: its digits
// cannot be read per string.
TEST(RepairedTuningCode, ShortAndNegativeCodesBecomeTheReference) {
    for (int code : {0, 5, 5555, 9999, -1, -55555, -2147483647 - 1})
        EXPECT_EQ(RepairedTuningCode(code), 55555) << code;
    for (int code : {10000, 55555, 64556, 123456})
        EXPECT_EQ(RepairedTuningCode(code), code) << code;
    EXPECT_EQ(TuningOffsets(5555), Offsets(0, 0, 0, 0, 0));
    EXPECT_EQ(TuningOffsets(-64556), Offsets(0, 0, 0, 0, 0));
    EXPECT_EQ(UserTuningCaption(-64556), "&Custom Tuning - G D G B D");
    EXPECT_EQ(TuningDigits(42), "55555");
}

struct CaptionCase {
    int code;
    std::string caption;
};

class UserCaptions : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(UserCaptions, NameEachDigitByItsString) {
    EXPECT_EQ(UserTuningCaption(GetParam().code), GetParam().caption);
}

INSTANTIATE_TEST_SUITE_P(Table, UserCaptions,
                         ::testing::Values(CaptionCase{55555, "&Custom Tuning - G D G B D"},
                                           CaptionCase{53555, "&Custom Tuning - G C G B D"},
                                           CaptionCase{64556, "&Custom Tuning - Ab C# G B Eb"},
                                           CaptionCase{11111, "&Custom Tuning - Eb Bb Eb G Bb"},
                                           CaptionCase{99999, "&Custom Tuning - B F# B D# F#"},
                                           CaptionCase{28374, "&Custom Tuning - E F F C# C#"},
                                           CaptionCase{50505, "&Custom Tuning - G ? G ? D"},
                                           CaptionCase{10000, "&Custom Tuning - Eb ? ? ? ?"}),
                         [](const auto& info) { return std::to_string(info.param.code); });

TEST(UserTuningCaption, DefaultCaptionIsTheReferenceTuning) {
    EXPECT_EQ(UserTuningCaption(ReferenceTuningCode), DefaultUserTuningCaption);
}

TEST(StatusTuningText, RemovesTheFirstAmpersandOnly) {
    EXPECT_EQ(StatusTuningText("&G Tuning - G D G B D"), "G Tuning - G D G B D");
    EXPECT_EQ(StatusTuningText("Custom &Tuning & more"), "Custom Tuning & more");
    EXPECT_EQ(StatusTuningText("G Minor Tuning - G D G Bb D"), "G Minor Tuning - G D G Bb D");
    EXPECT_EQ(StatusTuningText("&&x"), "&x");
    EXPECT_EQ(StatusTuningText(""), "");
    const std::string longTail(150, 'y');
    EXPECT_EQ(StatusTuningText("ab&" + longTail), "ab" + longTail.substr(0, 100));
}

TEST(TuningStatusText, OfACodeAsTheStatusBarShowsIt) {
    EXPECT_EQ(TuningStatusText(55555), "G Tuning - G D G B D");
    EXPECT_EQ(TuningStatusText(45435), "D Tuning - F# D F# A D");
    EXPECT_EQ(TuningStatusText(55545), "G Minor Tuning - G D G Bb D");
    EXPECT_EQ(TuningStatusText(64556), "Custom Tuning - Ab C# G B Eb");
    EXPECT_EQ(TuningStatusText(53555), "C Tuning - G C G B D");
    EXPECT_EQ(TuningStatusText(52555), "Custom Tuning - G B G B D"); // the old C Tuning code
    EXPECT_EQ(TuningStatusText(123), "G Tuning - G D G B D"); // damaged: the reference tuning
}

TEST(NoteNames, TablesByStringColumn) {
    const std::array<const char*, 10> s53 = {"?", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"};
    const std::array<const char*, 10> s41 = {"?", "Bb", "B", "C", "C#", "D", "Eb", "E", "F", "F#"};
    const std::array<const char*, 10> s2 = {"?", "G", "Ab", "A", "Bb", "B", "C", "C#", "D", "D#"};
    for (int d = 0; d <= 9; ++d) {
        EXPECT_STREQ(TuningNoteName(5, d), s53[d]);
        EXPECT_STREQ(TuningNoteName(3, d), s53[d]);
        EXPECT_STREQ(TuningNoteName(4, d), s41[d]);
        EXPECT_STREQ(TuningNoteName(1, d), s41[d]);
        EXPECT_STREQ(TuningNoteName(2, d), s2[d]);
    }
    EXPECT_STREQ(TuningNoteName(0, 5), "?");
    EXPECT_STREQ(TuningNoteName(2, 10), "?");
}

TEST(DialogStringNames, NineEntriesPerString) {
    const std::array<std::string, 9> s53 = {"Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"};
    const std::array<std::string, 9> s41 = {"Bb", "B", "C", "C#", "D", "Eb", "E", "F", "F#"};
    // The dialog's string-2 list is written with sharps, unlike the caption names.
    const std::array<std::string, 9> s2 = {"G", "G#", "A", "A#", "B", "C", "C#", "D", "D#"};
    for (std::size_t p = 0; p < 9; ++p) {
        EXPECT_EQ(DialogStringNames(5)[p], s53[p]);
        EXPECT_EQ(DialogStringNames(3)[p], s53[p]);
        EXPECT_EQ(DialogStringNames(4)[p], s41[p]);
        EXPECT_EQ(DialogStringNames(1)[p], s41[p]);
        EXPECT_EQ(DialogStringNames(2)[p], s2[p]);
    }
    // Position 4 of every list is the reference note (digit 5).
    EXPECT_STREQ(DialogStringNames(2)[4], "B");
}

} // namespace
} // namespace fw

#include "chords/chord_parser.h"
#include "tests/support/case_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fw {
namespace {

// Arrays written in line order, string 5 first, as a chord line lists them.
FretArray Frets(int s5, int s4, int s3, int s2, int s1) {
    return {0, s1, s2, s3, s4, s5};
}
NoteArray Notes(int s5, int s4, int s3, int s2, int s1) {
    auto n = [](int v) { return static_cast<std::uint8_t>(v); };
    return {255, n(s1), n(s2), n(s3), n(s4), n(s5)};
}
const FretArray NoHammers = AllNoFrets();
const NoteArray NoHammerNotes = AllNoNotes();

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

struct ChordCase {
    std::string line;
    std::string name;
    FretArray fret;
    NoteArray note;
    FretArray hammerFret;
    NoteArray hammerNote;
    std::string duration;
};

class ValidChordLines : public ::testing::TestWithParam<ChordCase> {};

TEST_P(ValidChordLines, ParseIntoTheEntry) {
    const ChordCase& c = GetParam();
    const ParsedLine parsed = ParseChordText(c.line, 0);
    ASSERT_EQ(parsed.error, "") << c.line;
    EXPECT_EQ(parsed.entry.Name, c.name);
    EXPECT_EQ(parsed.entry.Fret, c.fret);
    EXPECT_EQ(parsed.entry.Note, c.note);
    EXPECT_EQ(parsed.entry.HammerFret, c.hammerFret);
    EXPECT_EQ(parsed.entry.HammerNote, c.hammerNote);
    EXPECT_EQ(parsed.entry.Duration, c.duration);
}

const std::string Name100 = Repeat("A", 100);
const std::string Utf8Name100 = Repeat("\xC3\xA9", 100); // 100 x "é", two bytes each

INSTANTIATE_TEST_SUITE_P(
    Table, ValidChordLines,
    ::testing::Values(
        ChordCase{"G, 0, 0, 0, 0, 0, Q", "G", Frets(0, 0, 0, 0, 0), Notes(67, 50, 55, 59, 62),
                  NoHammers, NoHammerNotes, "Q"},
        ChordCase{"C,x,2,0,1,2,.e", "C", Frets(-1, 2, 0, 1, 2), Notes(255, 52, 55, 60, 64),
                  NoHammers, NoHammerNotes, ".e"},
        ChordCase{"Slide in , 0 , 2-4 , 0 , 0 , 0 , H", "Slide in", Frets(0, 2, 0, 0, 0),
                  Notes(67, 52, 55, 59, 62), Frets(-1, 4, -1, -1, -1),
                  Notes(255, 54, 255, 255, 255), "H"},
        // A pull-off: the target below the start fret.
        ChordCase{"G, 0, 0, 0, 0, 4-2, S", "G", Frets(0, 0, 0, 0, 4), Notes(67, 50, 55, 59, 66),
                  Frets(-1, -1, -1, -1, 2), Notes(255, 255, 255, 255, 64), "S"},
        ChordCase{"G,0,0,0,0,22,W", "G", Frets(0, 0, 0, 0, 22), Notes(67, 50, 55, 59, 84),
                  NoHammers, NoHammerNotes, "W"},
        // A star after a space does not make a comment: a chord named "*A".
        ChordCase{" *A, 0, 0, 0, 0, 0, Q", "*A", Frets(0, 0, 0, 0, 0), Notes(67, 50, 55, 59, 62),
                  NoHammers, NoHammerNotes, "Q"},
        // Leading spaces of a hammer-on part are skipped.
        ChordCase{"G, 0, 2- 4, 0, 0, 0, Q", "G", Frets(0, 2, 0, 0, 0), Notes(67, 52, 55, 59, 62),
                  Frets(-1, 4, -1, -1, -1), Notes(255, 54, 255, 255, 255), "Q"},
        // A hammer-on to -1 has no target: stored as no hammer-on, the start fret sounds.
        ChordCase{"G, 0, 2--1, 0, 0, 0, Q", "G", Frets(0, 2, 0, 0, 0), Notes(67, 52, 55, 59, 62),
                  NoHammers, NoHammerNotes, "Q"},
        // Spaces and tabs around the commas are free.
        ChordCase{"\tG7 \t,\t0 ,0\t,  1,\tx ,  0\t,\t.q \t", "G7", Frets(0, 0, 1, -1, 0),
                  Notes(67, 50, 56, 255, 62), NoHammers, NoHammerNotes, ".q"},
        // 2147483647 reads as "not a number", so it is a valid chord name.
        ChordCase{"2147483647, 0, 0, 0, 0, 0, Q", "2147483647", Frets(0, 0, 0, 0, 0),
                  Notes(67, 50, 55, 59, 62), NoHammers, NoHammerNotes, "Q"},
        // "$1G" is not hexadecimal, so it is a name.
        ChordCase{"$1G, 0, 0, 0, 0, 0, Q", "$1G", Frets(0, 0, 0, 0, 0), Notes(67, 50, 55, 59, 62),
                  NoHammers, NoHammerNotes, "Q"},
        // Hexadecimal frets, any letter case.
        ChordCase{"Hex, $0, $a, $16, $F, $C, E", "Hex", Frets(0, 10, 22, 15, 12),
                  Notes(67, 60, 77, 74, 74), NoHammers, NoHammerNotes, "E"},
        // A plus sign, also on both parts of a hammer-on, and leading zeros.
        ChordCase{"Plus, +3, +2-+4, 007, 0-0, x, T", "Plus", Frets(3, 2, 7, 0, -1),
                  Notes(70, 52, 62, 59, 255), Frets(-1, 4, -1, 0, -1), Notes(255, 54, 255, 59, 255),
                  "T"},
        // Upper-case X, every duration letter case, a dotted sixty-fourth.
        ChordCase{"N.C., X, x, X, x, X, .f", "N.C.", Frets(-1, -1, -1, -1, -1),
                  Notes(255, 255, 255, 255, 255), NoHammers, NoHammerNotes, ".f"},
        // A name of 100 characters is cut to 79 without error.
        ChordCase{Name100 + ", 0, 0, 0, 0, 0, Q", Name100.substr(0, 79), Frets(0, 0, 0, 0, 0),
                  Notes(67, 50, 55, 59, 62), NoHammers, NoHammerNotes, "Q"},
        // Characters are code points: 79 two-byte characters are kept whole.
        ChordCase{Utf8Name100 + ", 0, 0, 0, 0, 0, Q", Utf8Name100.substr(0, 158),
                  Frets(0, 0, 0, 0, 0), Notes(67, 50, 55, 59, 62), NoHammers, NoHammerNotes, "Q"},
        // The name is cut before the integer test: 79 of 100 digits overflow, so it is a name.
        ChordCase{Repeat("1", 100) + ", 0, 0, 0, 0, 0, Q", Repeat("1", 79), Frets(0, 0, 0, 0, 0),
                  Notes(67, 50, 55, 59, 62), NoHammers, NoHammerNotes, "Q"},
        // Inner spaces of the name are kept; the trailing ones are trimmed.
        ChordCase{"  Slide  in  , 0, 0, 0, 0, 0, W ", "Slide  in", Frets(0, 0, 0, 0, 0),
                  Notes(67, 50, 55, 59, 62), NoHammers, NoHammerNotes, "W"},
        // The highest start and target fret, a hammer-on to the same fret.
        ChordCase{"Top, 22-0, 0-22, 3-3, 0, 0, H", "Top", Frets(22, 0, 3, 0, 0),
                  Notes(89, 50, 58, 59, 62), Frets(0, 22, 3, -1, -1), Notes(67, 72, 58, 255, 255),
                  "H"}),
    [](const auto& info) { return fw::cases::IndexedCaseName(info.index, info.param.line); });

struct ErrorCase {
    std::string line;
    std::string message; // after the "Line 1    " prefix
};

class LinesInError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(LinesInError, ReportTheFirstError) {
    const ErrorCase& c = GetParam();
    EXPECT_EQ(ParseChordText(c.line, 0).error, "Line 1    " + c.message) << c.line;
}

const std::string Invalid = " invalid. (W)hole,(H)alf,Q,E,S,T,F";

INSTANTIATE_TEST_SUITE_P(
    Table, LinesInError,
    ::testing::Values(
        ErrorCase{" *Verse", "Not enough commas."},
        ErrorCase{"G, 0, 0, 0, 0, Q", "Not enough commas."},
        ErrorCase{"G, 0, 0, 0, 0, 0, Q,", "Too many commas."},
        ErrorCase{", 0, 0, 0, 0, 0, Q", "Chord name required."},
        ErrorCase{" \t , 0, 0, 0, 0, 0, Q", "Chord name required."},
        ErrorCase{"7, 0, 0, 0, 0, 0, Q", "Number not allowed for chord name."},
        ErrorCase{"$1F, 0, 0, 0, 0, 0, Q", "Number not allowed for chord name."},
        ErrorCase{"+7, 0, 0, 0, 0, 0, Q", "Number not allowed for chord name."},
        ErrorCase{"-0, 0, 0, 0, 0, 0, Q", "Number not allowed for chord name."},
        ErrorCase{"-2147483648, 0, 0, 0, 0, 0, Q", "Number not allowed for chord name."},
        ErrorCase{"G, 0, a, 0, 0, 0, Q", "Fret number for D string (\"a\") not a number."},
        ErrorCase{"G, -1, 0, 0, 0, 0, Q", "Hammer-on for G string (\"-1\") not a number."},
        ErrorCase{"G, 0, 0, 23, 0, 0, Q",
                  "Fret Number for G string (\"23\") must be lower than 23."},
        ErrorCase{"G, 0, 2 -4, 0, 0, 0, Q", "Hammer-on for D string (\"2 -4\") not a number."},
        ErrorCase{"G, 0, 2--5, 0, 0, 0, Q",
                  "Hammer-on for D string (\"2--5\") must be higher than -2."},
        ErrorCase{"G, 0, 2-30, 0, 0, 0, Q",
                  "Hammer-on for D string (\"2-30\") must be lower than 23."},
        ErrorCase{"G, 0, 0, 0, 0, 0, X", "\"X\"" + Invalid},
        ErrorCase{"G, 0, 0, 0, 0, 0, quarter", "\"quart\"" + Invalid},
        ErrorCase{"G, 0, 0, 0, 0, 0,", "\"\"" + Invalid},
        // Only the first error counts, in line order.
        ErrorCase{"G, a, b, 0, 0, 0, Q", "Fret number for G string (\"a\") not a number."},
        ErrorCase{"G, 2-4, a, 0, 0, 0, Q", "Fret number for D string (\"a\") not a number."},
        ErrorCase{"G, 0, 0, 0, 0, 0, Z,", "Too many commas."},
        // Each string's letter.
        ErrorCase{"G, 0, 0, 0, z, 0, Q", "Fret number for B string (\"z\") not a number."},
        ErrorCase{"G, 0, 0, 0, 0, 99, Q",
                  "Fret Number for D string (\"99\") must be lower than 23."},
        // A start fret out of range gets the fret message, before the hammer-on checks.
        ErrorCase{"G, 30-2, 0, 0, 0, 0, Q",
                  "Fret Number for G string (\"30-2\") must be lower than 23."},
        ErrorCase{"G, 0, 0, 0, 0, 2-23, Q",
                  "Hammer-on for D string (\"2-23\") must be lower than 23."},
        // Integer texts: no "0x", nothing out of range, nothing after the digits.
        ErrorCase{"G, 0x1F, 0, 0, 0, 0, Q", "Fret number for G string (\"0x1F\") not a number."},
        ErrorCase{"G, 2147483647, 0, 0, 0, 0, Q",
                  "Fret number for G string (\"2147483647\") not a number."},
        ErrorCase{"G, 2147483648, 0, 0, 0, 0, Q",
                  "Fret number for G string (\"2147483648\") not a number."},
        ErrorCase{"G, $7FFFFFFF, 0, 0, 0, 0, Q",
                  "Fret number for G string (\"$7FFFFFFF\") not a number."},
        ErrorCase{"G, 2147483646, 0, 0, 0, 0, Q",
                  "Fret Number for G string (\"2147483646\") must be lower than 23."},
        ErrorCase{"G, $17, 0, 0, 0, 0, Q",
                  "Fret Number for G string (\"$17\") must be lower than 23."},
        ErrorCase{"G, $, 0, 0, 0, 0, Q", "Fret number for G string (\"$\") not a number."},
        ErrorCase{"G, 5 5, 0, 0, 0, 0, Q", "Fret number for G string (\"5 5\") not a number."},
        ErrorCase{"G, X2, 0, 0, 0, 0, Q", "Fret number for G string (\"X2\") not a number."},
        ErrorCase{"G, +, 0, 0, 0, 0, Q", "Fret number for G string (\"+\") not a number."},
        ErrorCase{"G, , 0, 0, 0, 0, Q", "Fret number for G string (\"\") not a number."},
        ErrorCase{"G, 2-, 0, 0, 0, 0, Q", "Hammer-on for G string (\"2-\") not a number."},
        ErrorCase{"G, -, 0, 0, 0, 0, Q", "Hammer-on for G string (\"-\") not a number."},
        ErrorCase{"G, x-2, 0, 0, 0, 0, Q", "Hammer-on for G string (\"x-2\") not a number."},
        ErrorCase{"G, 2-4-6, 0, 0, 0, 0, Q", "Hammer-on for G string (\"2-4-6\") not a number."},
        // Duration texts: exact letters, one optional leading dot, shown cut to 5 characters.
        ErrorCase{"G, 0, 0, 0, 0, 0, Q.", "\"Q.\"" + Invalid},
        ErrorCase{"G, 0, 0, 0, 0, 0, ..Q", "\"..Q\"" + Invalid},
        ErrorCase{"G, 0, 0, 0, 0, 0, . Q", "\". Q\"" + Invalid},
        ErrorCase{"G, 0, 0, 0, 0, 0, .", "\".\"" + Invalid},
        ErrorCase{"G, 0, 0, 0, 0, 0, \xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9",
                  "\"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\"" + Invalid}),
    [](const auto& info) { return fw::cases::IndexedCaseName(info.index, info.param.line); });

TEST(ChordParser, MessagePrefixCountsLinesFromOne) {
    EXPECT_EQ(ParseChordText("G", 11).error, "Line 12    Not enough commas.");
    EXPECT_EQ(ParseChordText("G", 0).error, "Line 1    Not enough commas.");
}

TEST(ChordParser, UpperLimitFollowsMaxFret) {
    EXPECT_EQ(ParseChordText("G,0,0,0,0,13,Q", 0, 12).error,
              "Line 1    Fret Number for D string (\"13\") must be lower than 13.");
    EXPECT_TRUE(ParseChordText("G,0,0,0,0,12,Q", 0, 12).ok());
}

TEST(ChordParser, CommentLinesKeepTheLineAsWrittenCutTo80) {
    EXPECT_EQ(ParseChordText("*Verse 1", 0).entry.Name, "*Verse 1");
    EXPECT_EQ(ParseChordText("*Verse 1 \t ", 0).entry.Name, "*Verse 1 \t ");
    const std::string longComment = std::string("*").append(Repeat("c", 99));
    EXPECT_EQ(ParseChordText(longComment, 0).entry.Name, longComment.substr(0, 80));
    // 80 code points, not 80 bytes.
    const std::string utf8Comment = std::string("*").append(Repeat("\xE2\x99\xAA", 99)); // "♪"
    const ParsedLine parsed = ParseChordText(utf8Comment, 0);
    EXPECT_TRUE(parsed.ok());
    EXPECT_EQ(parsed.entry.Name, utf8Comment.substr(0, 1 + 79 * 3));
    EXPECT_EQ(KindOf(parsed.entry), LineKind::Comment);
    // Commas do not matter in a comment.
    EXPECT_TRUE(ParseChordText("*a,b,c", 0).ok());
}

TEST(ChordParser, BlankLinesBecomeOneSpace) {
    for (const std::string line : {"", " ", "\t", " \t \r", "\x01\x1F "}) {
        const ParsedLine parsed = ParseChordText(line, 0);
        EXPECT_TRUE(parsed.ok());
        EXPECT_EQ(parsed.entry.Name, " ");
        EXPECT_EQ(KindOf(parsed.entry), LineKind::Blank);
    }
}

TEST(ChordParser, CommentAndBlankLinesWriteOnlyTheName) {
    ChordEntry entry = ParseChordText("Slide, 0, 2-4, 0, 0, 0, H", 0).entry;
    entry.DurationTicks = 77;
    const ChordEntry before = entry;
    for (const std::string line : {"*comment", "   "}) {
        EXPECT_EQ(ParseChordText(line, 0, MaxFret, entry), "");
        EXPECT_EQ(entry.Fret, before.Fret);
        EXPECT_EQ(entry.Note, before.Note);
        EXPECT_EQ(entry.HammerFret, before.HammerFret);
        EXPECT_EQ(entry.HammerNote, before.HammerNote);
        EXPECT_EQ(entry.Duration, before.Duration);
        EXPECT_EQ(entry.DurationTicks, 77);
    }
}

TEST(ChordParser, AReusedEntryLosesEarlierHammerOns) {
    ChordEntry entry;
    ASSERT_EQ(ParseChordText("A, 0, 2-4, 0, 0, 1-3, Q", 0, MaxFret, entry), "");
    ASSERT_EQ(ParseChordText("B, 0, 0, 0, 0, 0, Q", 1, MaxFret, entry), "");
    EXPECT_EQ(entry.HammerFret, AllNoFrets());
    EXPECT_EQ(entry.HammerNote, AllNoNotes());
    EXPECT_EQ(entry.Name, "B");
}

TEST(ChordParser, KindOfEntries) {
    EXPECT_TRUE(ParseChordText("G, 0, 0, 0, 0, 0, Q", 0).isChord());
    EXPECT_FALSE(ParseChordText("*c", 0).isChord());
    EXPECT_FALSE(ParseChordText("", 0).isChord());
    EXPECT_FALSE(ParseChordText("G, 0", 0).isChord());
    // Entries are classified by their name, so the "*A" chord counts as a comment.
    EXPECT_EQ(KindOf(ParseChordText(" *A, 0, 0, 0, 0, 0, Q", 0).entry), LineKind::Comment);
}

TEST(IsCommentLine, NeedsTheStarFirst) {
    EXPECT_TRUE(IsCommentLine("*"));
    EXPECT_TRUE(IsCommentLine("* Title: x"));
    EXPECT_FALSE(IsCommentLine(" *x"));
    EXPECT_FALSE(IsCommentLine("\t*x"));
    EXPECT_FALSE(IsCommentLine(""));
    EXPECT_FALSE(IsCommentLine("x*"));
}

TEST(CountCommas, CountsEveryComma) {
    EXPECT_EQ(CountCommas(""), 0);
    EXPECT_EQ(CountCommas(",,,"), 3);
    EXPECT_EQ(CountCommas("G, 0, 0, 0, 0, 0, Q"), 6);
}

struct DurationCase {
    std::string text;
    int at1000;
    int at384;
};

class DurationValues : public ::testing::TestWithParam<DurationCase> {};

TEST_P(DurationValues, MatchTheTable) {
    const DurationCase& c = GetParam();
    EXPECT_EQ(DurationValue(c.text, 1000), c.at1000) << c.text;
    EXPECT_EQ(DurationValue(c.text, 384), c.at384) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, DurationValues,
    ::testing::Values(
        DurationCase{"W", 1000, 384}, DurationCase{".W", 1500, 576}, DurationCase{"H", 500, 192},
        DurationCase{".H", 750, 288}, DurationCase{"Q", 250, 96}, DurationCase{".Q", 375, 144},
        DurationCase{"E", 125, 48}, DurationCase{".E", 187, 72}, DurationCase{"S", 62, 24},
        DurationCase{".S", 93, 36}, DurationCase{"T", 31, 12}, DurationCase{".T", 46, 18},
        DurationCase{"F", 15, 6}, DurationCase{".F", 22, 9}, DurationCase{"q", 250, 96},
        DurationCase{".e", 187, 72}, DurationCase{"", 0, 0}, DurationCase{".", 0, 0},
        DurationCase{"X", 0, 0}, DurationCase{"QQ", 0, 0}, DurationCase{" Q", 0, 0},
        DurationCase{"Q ", 0, 0}, DurationCase{"..Q", 0, 0}, DurationCase{"Q.", 0, 0}),
    [](const auto& info) { return fw::cases::IndexedCaseName(info.index, info.param.text); });

TEST(DurationValue, AtTempo120AQuarterLasts500Ms) {
    EXPECT_EQ(DurationValue("Q", 2000), 500);
}

} // namespace
} // namespace fw

#pragma once
// Tunings: the five-digit TuningCode (one digit per string, strings 5 to 1, each the string's
// shift from open G plus 5), the Tuning menu's fixed items, the user tuning's caption and the
// note names that describe a tuning.

#include <array>
#include <string>
#include <string_view>

namespace fw {

inline constexpr int ReferenceTuningCode = 55555; // open G, every offset 0

struct TuningMenuItem {
    const char* name;    // the menu item's object name
    const char* caption; // with its "&" accelerator marker
    int tag;             // its TuningCode
};

// The Tuning menu's fixed items at indexes 0 to 6 (the two double tunings of clawhammer
// players after the five classic ones); index 7 is a separator and index 8 the user tuning
// item. Every caption names the notes its code sounds. Songs store the code, so a
// song saved with the old C Tuning code 52555 (which sounds G B G B D) keeps its sound and
// now shows as the custom tuning "Custom Tuning - G B G B D".
inline constexpr std::array<TuningMenuItem, 7> FixedTunings = {{
    {"GTuning1", "&G Tuning - G D G B D", 55555},
    {"CTuning1", "&C Tuning - G C G B D", 53555},
    {"GMinorTuning1", "G Minor Tuning - G D G Bb D", 55545},
    {"DTuning1", "&D Tuning - F# D F# A D", 45435},
    {"GModalTuning1", "&G Modal Tuning - G D G C D", 55565},
    {"DoubleCTuning1", "Double C - G C G C D", 53565},
    {"DoubleDTuning1", "Double D - A D A D E", 75787},
}};
inline constexpr int TuningSeparatorIndex = 7;
inline constexpr int UserTuningIndex = 8;
inline constexpr std::string_view DefaultUserTuningCaption = "&Custom Tuning - G D G B D";

// The menu index of a code: 0 to 6 for the fixed tunings' codes, UserTuningIndex for any other.
int TuningIndex(int code);

// A code with fewer than five digits, or a negative one, can only come from a damaged song
// file or settings value; it is repaired to the reference tuning 55555. Every other code is
// returned as it is (one with more than five digits is read by its first five).
int RepairedTuningCode(int code);

// The five digits of the repaired code, strings 5 to 1 (the first five of a longer code).
std::string TuningDigits(int code);

// Semitone offsets of strings 1..5 (index = string number, index 0 unused): digit - 5.
std::array<int, 6> TuningOffsets(int code);

// Note names of a TuningCode digit (index = digit 0..9; 0 is "?") for each string's column.
inline constexpr std::array<const char*, 10> NoteNamesStrings5And3 = {"?", "Eb", "E", "F",  "F#",
                                                                      "G", "Ab", "A", "Bb", "B"};
inline constexpr std::array<const char*, 10> NoteNamesStrings4And1 = {"?", "Bb", "B", "C", "C#",
                                                                      "D", "Eb", "E", "F", "F#"};
inline constexpr std::array<const char*, 10> NoteNamesString2 = {"?", "G", "Ab", "A", "Bb",
                                                                 "B", "C", "C#", "D", "D#"};

// The name of `digit` (0..9) on string `stringNumber` (1..5); "?" for anything else.
const char* TuningNoteName(int stringNumber, int digit);

// The settings dialog's list for string `stringNumber` (1..5; any other number gets the list of
// strings 5 and 3): nine names, position p being digit p + 1. The same names as the tables
// above, except the string-2 list, which uses sharps: "G", "G#", "A", "A#", "B", "C", "C#",
// "D", "D#".
const std::array<const char*, 9>& DialogStringNames(int stringNumber);

// "&Custom Tuning - " + the five note names, strings 5 to 1: 53555 gives
// "&Custom Tuning - G C G B D".
std::string UserTuningCaption(int code);

// The status bar's tuning text: the caption with its first "&" removed (everything before it
// and at most 100 characters after it); a caption without "&" is shown whole.
std::string StatusTuningText(std::string_view caption);

// The status bar's tuning text once `code` is applied: the fixed item's caption for the codes of
// the fixed tunings, the user tuning's caption from the code for every other, each without its
// "&". A damaged code (fewer than five digits, negative) is read as the reference tuning.
std::string TuningStatusText(int code);

} // namespace fw

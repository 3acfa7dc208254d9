#pragma once
// The chord-line language: classifying a line, parsing it into a ChordEntry, and the lengths
// of duration texts. Pure functions; nothing here raises.

#include "chord_entry.h"

#include <string>
#include <string_view>

namespace fw {

// True when the trimmed text is not empty and the text as written starts with "*".
// A "*" after a space or tab does not make a comment.
bool IsCommentLine(std::string_view text);

// Number of "," characters in the text.
int CountCommas(std::string_view text);

// Length of a duration text (W H Q E S T F, "." in front for dotted, any letter case) given the
// length of a whole note; divisions truncate and a dotted value is v + v / 2. A "3" after the
// letter makes a triplet value, v * 2 / 3 ("E3" is 32 ticks when a whole is 384); a dotted
// triplet (".E3") is no value. 0 for any other text.
int DurationValue(std::string_view text, int whole);

// What kind of line a successfully parsed entry stands for.
enum class LineKind { Chord, Comment, Blank };
LineKind KindOf(const ChordEntry& entry);

// Parses one line. `lineIndex` (from 0) is only used for the "Line n    " prefix of messages.
// Returns the empty text when the line is valid (chord, comment or blank), otherwise the first
// error found. A comment line that is a song-structure marker with a value it cannot take
// ("* Time: 0/4", see song_structure.h) is in error too. For comment and blank lines only
// `entry.Name` is written; the other fields keep what they held. After an error the entry is partly
// filled and must not be used.
std::string ParseChordText(std::string_view line, int lineIndex, int maxFret, ChordEntry& entry);

// Convenience: a fresh entry and its error text.
struct ParsedLine {
    ChordEntry entry;
    std::string error;
    bool ok() const { return error.empty(); }
    bool isChord() const { return ok() && KindOf(entry) == LineKind::Chord; }
};
ParsedLine ParseChordText(std::string_view line, int lineIndex, int maxFret = MaxFret);

} // namespace fw

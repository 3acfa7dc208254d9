#pragma once
// Titles of tablature: a title and a subtitle can be written into the chord list as comment
// lines ("* Title: My Song", "* Sub: Arranged for banjo"); the song's file name stands in
// for a missing title. Pure functions over the editor's lines.

#include <span>
#include <string>
#include <string_view>

namespace fw {

// The title written in the chord list: of the comment lines whose upper-cased text holds
// "TITLE:", the last one wins (even when nothing follows its marker); its title is the rest of
// the line after the first "TITLE:", at most 999 characters, trimmed, in the line's own letter
// case. Empty when no comment line holds the marker. A line that starts with a space is not a
// comment line.
std::string TitleFromComments(std::span<const std::string> lines);

// The same for the subtitle, with the marker "SUB:".
std::string SubtitleFromComments(std::span<const std::string> lines);

// The title used when the chord list names none: the song's file name without its folder and
// its extension ("/songs/Cripple Creek.fwk" gives "Cripple Creek"); empty for an untitled song
// (an empty path).
std::string DefaultTabTitle(std::string_view songPath);

// The document name a print job gets, which print dialogs offer as the name of the file when
// printing to a file: the song's file name without its folder ("Reuben.fwk"), "Untitled" for
// an untitled song. Characters a file name may not hold on common systems (/ \ : * ? " < > |
// and control characters) become "_", so the offered name never points into a folder.
std::string PrintDocumentName(std::string_view songPath);

} // namespace fw

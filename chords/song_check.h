#pragma once
// Checking a whole song text without an editor: the error of every chord line, numbered as the
// editor numbers its lines after the song is opened. The text is walked line by line, never
// copied, so that a song of millions of lines is checked in little more memory than its text.

#include "chord_entry.h"
#include "song_file.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// `decodedText` is a file's text after DecodeText. A complete four-line "*Info 1:".."*Info 4:"
// header is skipped exactly as loading skips it, so line index 0 is the first line after it
// (an incomplete header stays, and counts as comment lines). Every line is parsed with
// MaxFret; the result holds the parser's error texts ("Line 3    Too many commas.") in line
// order, and is empty for a song without errors. The empty line an editor shows after a final
// line break parses as blank, so leaving it out changes nothing here.
std::vector<std::string> CheckSongText(std::string_view decodedText);

// Parses every editor line of a song text as CheckSongText does, in one pass: `onError` gets
// the error text of each line in error, in line order, and `onEntry` each line that parsed
// with its entry, up to the first line in error (a song with one cannot be used, so nothing
// after it is handed on). Returns true when no line is in error.
bool ForEachCheckedLine(std::string_view decodedText,
                        const std::function<void(const std::string&)>& onError,
                        const std::function<void(std::string_view, const ChordEntry&)>& onEntry);

// The header of a song text, read from its first four lines only.
SongHeader ReadSongHeaderOfText(std::string_view decodedText);

// Calls `visit(line, index)` for every editor line of a song text, in order, the index counted
// from 0 as the editor numbers its lines after loading (a complete header is left out). The
// lines are views into `decodedText`. Returns the number of lines visited.
std::size_t ForEachEditorLine(std::string_view decodedText,
                              const std::function<void(std::string_view, std::size_t)>& visit);

} // namespace fw

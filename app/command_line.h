#pragma once
// The command-line tools, which need no display: checking songs and exporting them.
//   fretwick --check SONG            prints every line error; exit 0 clean, 1 errors, 2 unreadable
//   fretwick --export-midi SONG OUT  writes the MIDI file the Special menu would write
//   fretwick --export-wav SONG OUT   renders the song through the built-in synthesizer
//   fretwick --export-musicxml SONG OUT  writes the score with banjo tablature; a song without
//                                        chord lines is refused (exit 1, no file)
//   fretwick --export-tab SONG OUT   writes ASCII tablature (tab_tools.h)
//   fretwick --export-pdf SONG OUT   writes graphic tablature as a PDF file (tab_tools.h)
//   fretwick --name-chord FRETS [--tuning CODE] [--inversions]  names a chord (chord_tools.h)
//   fretwick --chord-shapes NAME [--tuning CODE]   lists a chord's shapes (chord_tools.h)
//   fretwick --help, --version
// An export of a song with line errors (exit 1, the errors on standard output) or without a
// single chord line (exit 1, the menu's message on standard error) writes no file.
// A song with a line of more than 100,000 characters is refused by every tool (exit 2, the
// figure named); one of more than 2,000,000 lines by the tools that keep something for every
// line (MusicXML, tablature, PDF, --import-tab), as the editor refuses it. Running out of memory
// ends a tool with "fretwick: not enough memory to ..." and exit 2, never an exception.
// An output that is a device or a named pipe is written into (so /dev/stdout works); a folder,
// a socket or a block device is refused (exit 2).

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace fw {

// Runs the tool the arguments (after the program name) ask for and returns its exit status.
// Returns nothing when the arguments are not a tool's, so the program starts its window
// (a song path, or no arguments). An argument starting with "--" that names no tool is a
// usage error: exit status 2 with a message on `err`.
std::optional<int> RunCommandLineTool(const std::vector<std::string>& args, std::ostream& out,
                                      std::ostream& err);

} // namespace fw

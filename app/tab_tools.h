#pragma once
// Tablature from the command line, without a display:
//   fretwick --export-tab SONG.fwk OUT.tab [--durations]
//   fretwick --export-pdf SONG.fwk OUT.pdf [--durations] [--bold] [--letter]
// The titles come from the song's comment lines, the file name standing in for a missing
// title; the tuning text is that of the song's tuning.

#include <iosfwd>
#include <string>
#include <vector>

namespace fw {

struct TabToolOptions {
    std::string song;
    std::string output;
    bool durations = false; // the duration line (tab) or letters (PDF), as ShowTabNoteDurations
    bool bold = false;      // PDF: bold numbers, as TabFont
    bool letter = false;    // PDF: US Letter paper instead of A4
};

// Reads the arguments after --export-tab or --export-pdf (`tool`): two operands and the tool's
// flags, in any order. Returns the empty text when they are right, else what is wrong.
std::string ReadTabToolOptions(const std::string& tool, const std::vector<std::string>& arguments,
                               TabToolOptions& options);

// Both tools print line errors on `out` as --check prints them (exit 1, nothing written); an
// unreadable song or an output that cannot be written is exit 2; a song without chord lines is
// refused on `err` (exit 1, nothing written). A measure of more than 24 chords prints the
// truncation warning on `err` and the file is still written (exit 0).

// Writes the ASCII tablature the window's Save writes for the song when TabPrompt is off.
int ExportTab(const TabToolOptions& options, std::ostream& out, std::ostream& err);

// Writes the graphic tablature as Print prints it, paginated, to a PDF file.
int ExportPdf(const TabToolOptions& options, std::ostream& out, std::ostream& err);

} // namespace fw

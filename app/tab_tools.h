#pragma once
// Tablature from the command line, without a display:
//   fretwick --export-tab SONG.fwk OUT.tab [--durations] [TABLATURE FORMS]
//   fretwick --export-pdf SONG.fwk OUT.pdf [--durations] [--bold] [--letter] [TABLATURE FORMS]
// The forms, each off by default so that the output is the plain tablature:
//   --rhythm none|letters|stems  (--durations is --rhythm letters)
//   --bars blank|meter           measures at blank lines, or from the song's "* Time:" meter
//   --neck-frets  --hp  --chord-names  --string-names
// The titles come from the song's comment lines, the file name standing in for a missing
// title; the tuning text is that of the song's tuning.

#include "export/tab_options.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace fw {

struct TabToolOptions {
    std::string song;
    std::string output;
    TabOptions forms;    // rhythm, bars, neck frets, h/p, names
    bool bold = false;   // PDF: bold numbers, as TabFont
    bool letter = false; // PDF: US Letter paper instead of A4
};

// The lines --help shows for the tablature forms.
extern const char* const TabFormsUsage;

// Reads the arguments after --export-tab or --export-pdf (`tool`): two operands and the tool's
// flags, in any order; a value follows its option ("--rhythm stems") or is joined to it with
// "=" ("--rhythm=stems"). Returns the empty text when they are right, else what is wrong: an
// unknown option, a missing or unknown value, or two rhythm choices that differ
// ("--durations" with "--rhythm none").
std::string ReadTabToolOptions(const std::string& tool, const std::vector<std::string>& arguments,
                               TabToolOptions& options);

// Both tools print line errors on `out` as --check prints them (exit 1, nothing written); an
// unreadable song or an output that cannot be written is exit 2; a song without chord lines is
// refused on `err` (exit 1, nothing written). A measure of more than 24 chords prints the
// truncation warning on `err` and the file is still written (exit 0).

// Writes the ASCII tablature the window's Save writes for the song when TabPrompt is off, in
// the chosen forms. With bars from the meter no measure is truncated.
int ExportTab(const TabToolOptions& options, std::ostream& out, std::ostream& err);

// Writes the graphic tablature as Print prints it, paginated, to a PDF file. The measures are
// cut as the forms say and the 5th string is numbered as they say; --rhythm letters draws the
// duration letters, --rhythm stems stems, beams and rest signs.
int ExportPdf(const TabToolOptions& options, std::ostream& out, std::ostream& err);

} // namespace fw

#pragma once
// The capo of a song: the comment line "* Capo: 2" (a fret from 0 to 12). Chord lines keep
// their frets as written, counted from the capo; everything that sounds adds the capo to all
// five strings (the 5th string is taken to be spiked or tuned up by as much). Pure.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace fw {

inline constexpr int MaxCapo = 12;

struct CapoMarker {
    int capo = 0;      // the fret, 0..MaxCapo; 0 when the marker is malformed
    std::string error; // empty when the marker is well formed, else why it is not
};

// Whether `line` is a capo marker: "*", optional spaces, "Capo:" (any letter case), then the
// value. Nothing for every other line, comments included. A marker whose value is not a whole
// number from 0 to 12 ("* Capo: 13", "* Capo: x") carries the error "Capo must be a fret from
// 0 to 12." and capo 0.
std::optional<CapoMarker> ReadCapoMarker(std::string_view line);

// The error of a malformed capo marker in the parser's form, "Line 3    Capo must be a fret
// from 0 to 12."; empty for a well-formed marker and for any other line. `lineIndex` counts
// from 0.
std::string CapoLineError(std::string_view line, int lineIndex);

// The marker line for `capo`: "* Capo: 2".
std::string CapoMarkerLine(int capo);

// A song's capo from its lines, walked by `forEachLine(visit)` (visit(line) for each line in
// order, returning false to stop): the first capo marker decides; 0 without one or when it
// is malformed.
template <typename ForEachLine> int SongCapo(ForEachLine&& forEachLine) {
    int capo = 0;
    forEachLine([&capo](std::string_view line) {
        const std::optional<CapoMarker> marker = ReadCapoMarker(line);
        if (!marker)
            return true;
        capo = marker->capo;
        return false;
    });
    return capo;
}

// The sounding offsets of strings 1..5: the tuning's `offsets` with `capo` added to each.
std::array<int, 6> CapoOffsets(std::array<int, 6> offsets, int capo);

// The status bar's capo text after the tuning: ", capo 2"; empty for no capo.
std::string CapoStatusText(int capo);

// The tablature's capo text after the tuning: ", Capo 2"; empty for no capo.
std::string TabCapoText(int capo);

// The capo a line of words names, as tablature headers write it: "capo 2", "Capo: 3", "Capo on
// 2nd fret", "capo at the 4th fret" (any letter case; "capo" as a word, then up to three
// words, then a fret 1 to 12 with an optional "st", "nd", "rd" or "th"). Nothing when the line
// names no capo, or a fret outside 1..12.
std::optional<int> CapoOfHeaderText(std::string_view line);

// The capo of a decoded song text (its lines after the header, as SongCapo reads them).
int SongCapoOfText(std::string_view decodedText);

} // namespace fw

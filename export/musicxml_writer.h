#pragma once
// The chord list as a MusicXML 3.1 score (score-partwise, UTF-8, with its DOCTYPE) that
// notation programs open with the banjo tablature intact: one part "Banjo" on one five-line
// tablature staff tuned to the song's tuning, 4/4 at the song's tempo.
//
// What is written, chord by chord, in line order:
// - every played string is a note with its exact sounding pitch (the line's fret on the string
//   in the song's tuning) and its string and fret; string 1 is the top line of the tab. The
//   short fifth string's fret is written as the neck fret banjo tablature uses (a line value
//   above 0 plus 5: "2" on string 5 is fret 7), while its pitch stays exact;
// - a chord with hammered strings ("2-4") is picked whole at its start frets on its beat and
//   held for the first half of its length (the larger half when it is odd); then each hammered
//   string sounds its target for the rest, joined to its start note by a slur and a hammer-on
//   (target above or equal) or pull-off (target below) mark, while the other strings are tied
//   over and ring on;
// - a line with no string played is a rest;
// - measures are filled by time; a chord that crosses a barline is split there and tied, a rest
//   split; the last measure is filled up with rests and closed with a final barline. A list
//   without chords gives one measure of rest;
// - comment and blank lines write nothing (titles come in separately), except the song's
//   structure markers (chords/song_structure.h): "* Time:" gives the meter (the first one from
//   the start, later ones a <time> change), "* Tempo:" a metronome mark and <sound tempo> where
//   it falls, "* Pickup:" a short first measure numbered 0, "* Repeat:" repeat barlines and
//   "* Ending:" ending brackets. Repeat signs, endings and meter changes stand at barlines, so
//   their marker ends the measure it falls in. Triplet values ("E3") are written with a 3:2
//   time modification and a tuplet bracket over each group of three, in divisions three times
//   finer. A song without markers and triplets is written in 4/4 as always.

#include "chords/chord_entry.h"

#include <array>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace fw {

struct MusicXmlSong {
    std::span<const ChordEntry> entries; // one per editor line; comments and blanks are skipped
    int tempo = 120;                     // quarter notes per minute, brought into 1..500
    int patch = 105;                    // MIDI program 0..127 (written 1-based, as MusicXML counts)
    std::array<int, 6> tuningOffsets{}; // semitone shift of strings 1..5 from open G; [0] unused
    std::string title;                  // the work title; none is written when empty
    std::string subtitle;               // a subtitle credit; none is written when empty
};

// Sets the song's title and subtitle the way tablature takes them: from the chord list's
// "TITLE:" and "SUB:" comment lines, with the song file's name (without folder and extension)
// as the title when no line names one; an untitled song (empty path) then has no title.
void SetTitlesFromLines(MusicXmlSong& song, std::span<const std::string> lines,
                        std::string_view songPath);

// Writes the score to `out`, in pieces as it goes. Returns false when the stream failed.
bool WriteMusicXml(std::ostream& out, const MusicXmlSong& song);

// The whole score as one text.
std::string BuildMusicXml(const MusicXmlSong& song);

// Writes the score to `path` through a temporary file renamed over it, in pieces as it goes
// (WriteFileAtomicallyFrom). Returns true on success; on failure (a step of the write fails)
// returns false, leaves any file at `path` as it was and puts a message naming the file, the
// failed step and the reason into `error`.
bool WriteMusicXmlFile(const std::string& path, const MusicXmlSong& song, std::string& error);

} // namespace fw

#pragma once
// The chord list as a Standard MIDI File: format 1, 96 ticks per quarter note, a tempo track
// (program change, 4/4 time signature, tempo) and one note track named "Fretwick" that holds
// every chord in line order on channel 1. Chord lengths come from each entry's Duration
// (a whole note is 384 ticks); the entries' DurationTicks are neither read nor changed.

#include "chords/chord_entry.h"
#include "export/midi_events.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace fw {

constexpr int TicksPerQuarter = 96;
constexpr int MidiWholeNoteTicks = 4 * TicksPerQuarter;
constexpr int MinMidiTempo = 1;
constexpr int MaxMidiTempo = 500;

// Microseconds per quarter note for the tempo event: 60000000 div tempo, limited to
// MaxTempoMicroseconds because the event holds only three bytes. Tempos 1 to 3 (20000000 and
// more) therefore all give 0xFFFFFF, the slowest tempo a MIDI file can state. A tempo outside
// 1..500 is first brought to the nearer end of that range.
std::uint32_t TempoMicroseconds(int tempo);

// The pause in ticks between the two notes of a hammer-on: the milliseconds of a thirty-second
// note at the tempo, div 10 (tempo 120 gives 6, 60 gives 12, 500 gives 1, 1 gives 750).
// A tempo outside 1..500 is first brought to the nearer end of that range.
int HammerGap(int tempo);

// Appends the note-track events of one chord entry: its onsets, its hammer-ons and the
// note-offs that give it its length of `durationTicks` (a negative length counts as 0). Every
// string sounds its start fret first and its hammer-on or pull-off target one `hammerGap`
// later. A chord with a hammer-on lasts exactly `durationTicks` when that is longer than its
// gaps (two gaps, three when string 1 is hammered), else just its gaps.
// `firstChord` says whether this is the first chord of the track, which carries the note-on status
// byte; later chords rely on running status. `tuningOffsets[1..5]` are added to the strings'
// pitches in eight bits. Returns the number of bytes appended.
int ChordEvents(MidiBytes& out, const ChordEntry& entry, int durationTicks, int hammerGap,
                const std::array<int, 6>& tuningOffsets, bool firstChord);

// The complete file. `entries` is one entry per editor line, in line order; comment and blank
// entries (told apart by Name alone) produce no bytes. A song with structure markers
// (chords/song_structure.h) is written in its sounding order, repeats and endings in full (MIDI
// has no repeats); the tempo track then states the song's meter ("* Time:") at its start and
// every meter and tempo change where it sounds. A song without markers gives the file of its
// chords in line order with a 4/4 time signature, as always. `tempo` is in beats per minute
// (1..500), `patch` the MIDI program (0..127) and `tuningOffsets[1..5]` the semitone shift of
// strings 1..5 (index 0 is unused). Out-of-range tempos and patches are brought to the nearer end
// of their range. Never fails.
MidiBytes BuildMidiFile(std::span<const ChordEntry> entries, int tempo, int patch,
                        const std::array<int, 6>& tuningOffsets);

// Builds the same file chord by chord, for songs too big to hold as a list of entries: Add for
// each entry in line order, then Finish once. BuildMidiFile(entries, ...) is exactly that.
class MidiFileBuilder {
public:
    // `expectedEntries` only sizes the buffer up front.
    MidiFileBuilder(int tempo, int patch, const std::array<int, 6>& tuningOffsets,
                    std::size_t expectedEntries = 0);
    // Appends the chord's events; comment and blank entries add nothing.
    void Add(const ChordEntry& entry);
    // The meter or tempo from the end of the chords added so far on. A change to what is in
    // force already writes nothing; one at the start replaces the file's opening meter or tempo.
    void SetMeter(int beats, int unit);
    void SetTempo(int tempo);
    // Closes the note track and hands over the bytes; the builder is then spent.
    MidiBytes Finish();

private:
    struct Change {
        std::uint32_t tick = 0;
        bool tempo = false; // else a meter
        int value = 0;      // tempo, or beats
        int unit = 0;
    };
    MidiBytes out_;
    std::vector<Change> changes_;
    std::uint32_t tick_ = 0;
    int patch_ = 0;
    int tempo_ = 0;
    int meterBeats_ = 4;
    int meterUnit_ = 4;
    std::size_t tempoTrackAt_ = 0;
    std::size_t lengthAt_ = 0;
    int gap_ = 0;
    bool firstChord_ = true;
    std::array<int, 6> offsets_;
};

// Writes MIDI file bytes to `path` atomically, as WriteMidiFile does.
bool WriteMidiBytes(const std::string& path, const MidiBytes& bytes, std::string& error);

// Builds the file as BuildMidiFile does and writes it to `path` through a temporary file that is
// renamed over it. Returns true on success. On failure returns false, leaves any existing file
// at `path` as it was, removes the temporary file and puts a message into `error` that names
// the file, the step that failed and why.
bool WriteMidiFile(const std::string& path, std::span<const ChordEntry> entries, int tempo,
                   int patch, const std::array<int, 6>& tuningOffsets, std::string& error);

} // namespace fw

// The MIDI file writer over any song the reader accepts: the bytes are a well-formed format 1
// Standard MIDI File with two tracks, and it holds one note for every string a chord strikes
// and every hammer-on target, each of them ended.

#include "fuzz_support.h"
#include "smf_reader.h"

#include "export/midi_file_writer.h"

using namespace fw;
using namespace fw::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzSong song = SongFromBytes(AsText(data, size));
    if (!song.clean)
        return 0;
    const MidiBytes bytes = BuildMidiFile(song.entries, song.tempo, song.patch, song.offsets);
    const SmfSummary smf = ReadSmf(bytes);
    if (!smf.error.empty()) {
        std::fprintf(stderr, "%s\n", smf.error.c_str());
        FUZZ_CHECK(false, "the file is a well-formed Standard MIDI File");
    }
    FUZZ_CHECK(smf.format == 1 && smf.tracks == 2 && smf.division == TicksPerQuarter,
               "format 1, two tracks, 96 ticks per quarter");
    long notes = 0;
    for (const ChordEntry& entry : song.entries)
        if (KindOf(entry) == LineKind::Chord)
            notes += StruckNotes(entry);
    FUZZ_CHECK(smf.noteOns == notes, "one note for every struck string and hammer-on target");
    FUZZ_CHECK(smf.noteOffs >= smf.noteOns, "every note is ended");
    return 0;
}

#include "midi_file_writer.h"

#include "chords/chord_parser.h"
#include "chords/song_structure.h"
#include "chords/text_file.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace fw {

namespace {

constexpr std::uint8_t MiddleC = 60; // stands in for string 1 or 2 when it is not played
constexpr std::uint8_t FullVelocity = 127;
constexpr char TrackName[] = "Fretwick";

int ClampTempo(int tempo) {
    return std::clamp(tempo, MinMidiTempo, MaxMidiTempo);
}

// Overwrites the four bytes at `at` with `value`, high byte first.
void PatchWord32(MidiBytes& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

// Starts a track chunk with a zero length and returns where the length field is.
std::size_t BeginTrack(MidiBytes& out) {
    WriteChunkId(out, "MTrk");
    const std::size_t lengthAt = out.size();
    WriteWord32(out, 0);
    return lengthAt;
}

void EndTrack(MidiBytes& out, std::size_t lengthAt, std::uint32_t length) {
    PatchWord32(out, lengthAt, length);
}

void WriteHeaderChunk(MidiBytes& out, std::uint16_t division) {
    WriteChunkId(out, "MThd");
    WriteWord32(out, 6);
    WriteWord16(out, 1); // format 1: tracks played together
    WriteWord16(out, 2); // tempo track and note track
    WriteWord16(out, division);
}

void WriteTempoTrack(MidiBytes& out, int tempo, int patch) {
    const std::size_t lengthAt = BeginTrack(out);
    int length = ProgramChangeEvent(out, patch);
    length += TimeSignatureEvent(out);
    length += TempoEvent(out, TempoMicroseconds(tempo));
    length += EndOfTrackEvent(out);
    EndTrack(out, lengthAt, static_cast<std::uint32_t>(length));
}

} // namespace

std::uint32_t TempoMicroseconds(int tempo) {
    // Below tempo 4 the exact value no longer fits the three tempo bytes; the slowest tempo
    // the file can state is the closest honest answer.
    const auto exact = static_cast<std::uint32_t>(60000000 / ClampTempo(tempo));
    return std::min(exact, MaxTempoMicroseconds);
}

int HammerGap(int tempo) {
    const int wholeNoteMs = (60000000 / ClampTempo(tempo) / 1000) * 4;
    return DurationValue("T", wholeNoteMs) / 10;
}

int ChordEvents(MidiBytes& out, const ChordEntry& entry, int durationTicks, int hammerGap,
                const std::array<int, 6>& tuningOffsets, bool firstChord) {
    // Each string sounds its start fret first and its target after the gap, as written: a
    // target below the start fret is a pull-off and must sound after it, as the live player
    // sounds it.
    const NoteArray& struck = entry.Note;
    const NoteArray& target = entry.HammerNote;
    bool hammer = false;
    for (int k = 1; k <= 5; ++k)
        hammer = hammer || target[k] != NoNote;

    auto present = [](std::uint8_t note) { return note != NoNote; };
    auto sounding = [&](int k, std::uint8_t note) {
        return static_cast<std::uint8_t>(note + tuningOffsets[k]);
    };
    const auto gap = static_cast<std::uint32_t>(hammerGap);
    const auto duration = static_cast<std::uint32_t>(std::max(durationTicks, 0));

    int count = 0;
    std::uint8_t held = MiddleC;
    if (!present(struck[1]))
        count += firstChord ? NoteOnWithStatus(out, MiddleC, 0) : NoteOffEvent(out, MiddleC, 0);
    else {
        held = sounding(1, struck[1]);
        count += firstChord ? NoteOnWithStatus(out, held, FullVelocity) : NoteOnEvent(out, held);
    }
    for (int k = 2; k <= 5; ++k)
        if (present(struck[k]))
            count += NoteOnEvent(out, sounding(k, struck[k]));
    count += NoteOffEvent(out, held, hammer ? gap : duration);

    if (present(target[1])) {
        count += NoteOnEvent(out, sounding(1, target[1]));
        count += NoteOffEvent(out, sounding(1, target[1]), gap);
    }
    const std::uint8_t middle = present(struck[2]) ? sounding(2, struck[2]) : MiddleC;
    for (int k = 3; k <= 5; ++k)
        if (present(struck[k]))
            count += NoteOffEvent(out, sounding(k, struck[k]), 0);
    // A hammer-on chord spends one gap before its targets, one after them and, when string 1
    // is hammered, one more on that string's target; the rest of its length comes here, so the
    // chord lasts exactly its duration whenever that leaves room for the gaps.
    const std::uint32_t gaps = (present(target[1]) ? 3 : 2) * gap;
    const std::uint32_t rest = hammer && duration > gaps ? duration - gaps : 0;
    count += NoteOffEvent(out, middle, rest);

    if (hammer) {
        const std::uint8_t last = present(target[1]) ? sounding(1, target[1]) : MiddleC;
        for (int k = 2; k <= 5; ++k)
            if (present(target[k]))
                count += NoteOnEvent(out, sounding(k, target[k]));
        count += NoteOffEvent(out, last, gap);
        for (int k = 2; k <= 5; ++k)
            if (present(target[k]))
                count += NoteOffEvent(out, sounding(k, target[k]), 0);
    }
    return count;
}

MidiFileBuilder::MidiFileBuilder(int tempo, int patch, const std::array<int, 6>& tuningOffsets,
                                 std::size_t expectedEntries)
    : gap_(HammerGap(tempo)), offsets_(tuningOffsets) {
    patch_ = patch;
    tempo_ = tempo;
    // About 30 bytes for a typical five-string chord.
    out_.reserve(64 + expectedEntries * 32);
    WriteHeaderChunk(out_, TicksPerQuarter);
    tempoTrackAt_ = out_.size();
    WriteTempoTrack(out_, tempo, patch);
    lengthAt_ = BeginTrack(out_);
    TrackNameEvent(out_, TrackName);
}

void MidiFileBuilder::Add(const ChordEntry& entry) {
    if (KindOf(entry) != LineKind::Chord)
        return;
    const int ticks = DurationValue(entry.Duration, MidiWholeNoteTicks);
    ChordEvents(out_, entry, ticks, gap_, offsets_, firstChord_);
    firstChord_ = false;
    // A hammer-on chord lasts at least its gaps (see ChordEvents).
    bool hammer = false;
    for (int k = 1; k <= 5; ++k)
        hammer = hammer || entry.HammerNote[k] != NoNote;
    const int gaps = (entry.HammerNote[1] != NoNote ? 3 : 2) * gap_;
    tick_ += static_cast<std::uint32_t>(hammer ? std::max(ticks, gaps) : std::max(ticks, 0));
}

void MidiFileBuilder::SetMeter(int beats, int unit) {
    int lastBeats = meterBeats_;
    int lastUnit = meterUnit_;
    for (const Change& change : changes_)
        if (!change.tempo) {
            lastBeats = change.value;
            lastUnit = change.unit;
        }
    if (beats == lastBeats && unit == lastUnit && !changes_.empty())
        return;
    changes_.push_back({tick_, false, beats, unit});
}

void MidiFileBuilder::SetTempo(int tempo) {
    int last = tempo_;
    for (const Change& change : changes_)
        if (change.tempo)
            last = change.value;
    if (tempo == last)
        return;
    changes_.push_back({tick_, true, tempo, 0});
}

MidiBytes MidiFileBuilder::Finish() {
    if (!changes_.empty()) {
        // The tempo track again, with the song's opening meter and tempo and every change.
        MidiBytes track;
        const std::size_t lengthAt = BeginTrack(track);
        ProgramChangeEvent(track, patch_);
        int beats = meterBeats_;
        int unit = meterUnit_;
        int tempo = tempo_;
        for (const Change& change : changes_) {
            if (change.tick != 0)
                break;
            (change.tempo ? tempo : beats) = change.value;
            if (!change.tempo)
                unit = change.unit;
        }
        TimeSignatureEvent(track, 0, beats, unit);
        TempoEvent(track, TempoMicroseconds(tempo));
        std::uint32_t at = 0;
        for (const Change& change : changes_) {
            if (change.tick == 0)
                continue;
            const bool same =
                change.tempo ? change.value == tempo : change.value == beats && change.unit == unit;
            if (same)
                continue;
            if (change.tempo) {
                tempo = change.value;
                TempoEvent(track, change.tick - at, TempoMicroseconds(tempo));
            } else {
                beats = change.value;
                unit = change.unit;
                TimeSignatureEvent(track, change.tick - at, beats, unit);
            }
            at = change.tick;
        }
        EndOfTrackEvent(track);
        EndTrack(track, lengthAt, static_cast<std::uint32_t>(track.size() - lengthAt - 4));
        // The plain tempo track is 8 + 4 + 3 + 8 + 7 + 4 bytes.
        const std::size_t plainLength = lengthAt_ - 4 - tempoTrackAt_;
        out_.erase(out_.begin() + static_cast<std::ptrdiff_t>(tempoTrackAt_),
                   out_.begin() + static_cast<std::ptrdiff_t>(tempoTrackAt_ + plainLength));
        out_.insert(out_.begin() + static_cast<std::ptrdiff_t>(tempoTrackAt_), track.begin(),
                    track.end());
        lengthAt_ = lengthAt_ - plainLength + track.size();
        changes_.clear();
    }
    EndOfTrackEvent(out_);
    EndTrack(out_, lengthAt_, static_cast<std::uint32_t>(out_.size() - lengthAt_ - 4));
    return std::move(out_);
}

MidiBytes BuildMidiFile(std::span<const ChordEntry> entries, int tempo, int patch,
                        const std::array<int, 6>& tuningOffsets) {
    MidiFileBuilder builder(tempo, patch, tuningOffsets, entries.size());
    const SongStructure structure = SongStructure::OfEntries(entries);
    if (structure.plain()) {
        for (const ChordEntry& entry : entries)
            builder.Add(entry);
        return builder.Finish();
    }
    const BeatMeter first = structure.firstMeter();
    builder.SetMeter(first.beats, first.unit);
    for (const SoundingSpan& span : SoundingOrder(structure, entries.size())) {
        // A jump back to a repeat's start brings back the meter and tempo in force there.
        builder.SetMeter(span.meter.beats, span.meter.unit);
        builder.SetTempo(span.tempo != 0 ? span.tempo : tempo);
        for (std::size_t i = span.first; i < span.end; ++i) {
            const ChordEntry& entry = entries[i];
            if (KindOf(entry) == LineKind::Chord) {
                builder.Add(entry);
                continue;
            }
            int markerTempo = 0;
            BeatMeter meter = span.meter;
            if (ApplyTempoOrMeter(entry.Name, markerTempo, meter)) {
                if (markerTempo != 0)
                    builder.SetTempo(markerTempo);
                else
                    builder.SetMeter(meter.beats, meter.unit);
            }
        }
    }
    return builder.Finish();
}

bool WriteMidiBytes(const std::string& path, const MidiBytes& bytes, std::string& error) {
    const std::string_view data(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return WriteFileAtomically(path, data, error);
}

bool WriteMidiFile(const std::string& path, std::span<const ChordEntry> entries, int tempo,
                   int patch, const std::array<int, 6>& tuningOffsets, std::string& error) {
    return WriteMidiBytes(path, BuildMidiFile(entries, tempo, patch, tuningOffsets), error);
}

} // namespace fw

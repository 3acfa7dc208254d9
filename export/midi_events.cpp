#include "midi_events.h"

#include "chords/patch_names.h"

#include <algorithm>
#include <initializer_list>

namespace fw {

namespace {

constexpr std::uint8_t NoteOnStatus = 0x90;  // channel 1
constexpr std::uint8_t ProgramStatus = 0xC0; // channel 1
constexpr std::uint8_t MetaEvent = 0xFF;
constexpr std::uint8_t MetaTrackName = 0x03;
constexpr std::uint8_t MetaEndOfTrack = 0x2F;
constexpr std::uint8_t MetaTempo = 0x51;
constexpr std::uint8_t MetaTimeSignature = 0x58;
constexpr std::uint8_t FullVelocity = 0x7F;
constexpr std::size_t MaxTrackNameLength = 127;

int WriteBytes(MidiBytes& out, std::initializer_list<std::uint8_t> bytes) {
    out.insert(out.end(), bytes);
    return static_cast<int>(bytes.size());
}

} // namespace

int WriteByte(MidiBytes& out, std::uint8_t value) {
    out.push_back(value);
    return 1;
}

int WriteWord16(MidiBytes& out, std::uint16_t value) {
    return WriteBytes(out,
                      {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)});
}

int WriteWord32(MidiBytes& out, std::uint32_t value) {
    return WriteBytes(
        out, {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
              static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)});
}

int WriteChunkId(MidiBytes& out, const char (&id)[5]) {
    out.insert(out.end(), id, id + 4);
    return 4;
}

int WriteVarLen(MidiBytes& out, std::uint32_t value) {
    value = std::min(value, MaxVarLen);
    // Collect the 7-bit groups lowest first, each shifted in below the ones before it; every
    // group but the lowest carries the continuation bit.
    std::uint32_t buffer = value & 0x7F;
    while ((value >>= 7) != 0) {
        buffer <<= 8;
        buffer |= 0x80 | (value & 0x7F);
    }
    int count = 0;
    while (true) {
        const auto byte = static_cast<std::uint8_t>(buffer);
        count += WriteByte(out, byte);
        if ((byte & 0x80) == 0)
            return count;
        buffer >>= 8;
    }
}

int NoteOnWithStatus(MidiBytes& out, std::uint8_t note, std::uint8_t velocity) {
    return WriteBytes(out, {0x00, NoteOnStatus, note, velocity});
}

int NoteOnEvent(MidiBytes& out, std::uint8_t note) {
    return WriteBytes(out, {0x00, note, FullVelocity});
}

int NoteOffEvent(MidiBytes& out, std::uint8_t note, std::uint32_t delta) {
    return WriteVarLen(out, delta) + WriteBytes(out, {note, 0x00});
}

int TrackNameEvent(MidiBytes& out, std::string_view text) {
    const std::string_view name = text.substr(0, MaxTrackNameLength);
    WriteBytes(out, {0x00, MetaEvent, MetaTrackName, static_cast<std::uint8_t>(name.size())});
    out.insert(out.end(), name.begin(), name.end());
    return static_cast<int>(name.size()) + 4;
}

int ProgramChangeEvent(MidiBytes& out, int patch) {
    return WriteBytes(out, {0x00, ProgramStatus, static_cast<std::uint8_t>(PlayablePatch(patch))});
}

int TimeSignatureEvent(MidiBytes& out) {
    return WriteBytes(out, {0x00, MetaEvent, MetaTimeSignature, 0x04, 0x04, 0x02, 0x18, 0x08});
}

int TimeSignatureEvent(MidiBytes& out, std::uint32_t delta, int beats, int unit) {
    std::uint8_t power = 0;
    while (power < 6 && (1 << power) < unit)
        ++power;
    return WriteVarLen(out, delta) +
           WriteBytes(out,
                      {MetaEvent, MetaTimeSignature, 0x04,
                       static_cast<std::uint8_t>(std::clamp(beats, 1, 255)), power, 0x18, 0x08});
}

int TempoEvent(MidiBytes& out, std::uint32_t delta, std::uint32_t microsecondsPerQuarter) {
    const std::uint32_t value = std::min(microsecondsPerQuarter, MaxTempoMicroseconds);
    return WriteVarLen(out, delta) +
           WriteBytes(out,
                      {MetaEvent, MetaTempo, 0x03, static_cast<std::uint8_t>(value >> 16),
                       static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)});
}

int TempoEvent(MidiBytes& out, std::uint32_t microsecondsPerQuarter) {
    const std::uint32_t value = std::min(microsecondsPerQuarter, MaxTempoMicroseconds);
    return WriteBytes(out,
                      {0x00, MetaEvent, MetaTempo, 0x03, static_cast<std::uint8_t>(value >> 16),
                       static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)});
}

int EndOfTrackEvent(MidiBytes& out) {
    return WriteBytes(out, {0x00, MetaEvent, MetaEndOfTrack, 0x00});
}

} // namespace fw

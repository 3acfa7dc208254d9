#pragma once
// Byte encoders for Standard MIDI Files. Each appends its bytes to the end of `out` and returns
// how many bytes it appended, so a caller can sum the length of a track as it goes. Multi-byte
// numbers are big-endian. Every note event is on channel 1.

#include <cstdint>
#include <string_view>
#include <vector>

namespace fw {

using MidiBytes = std::vector<std::uint8_t>;

// The largest number a variable-length quantity may hold in a MIDI file (four bytes).
constexpr std::uint32_t MaxVarLen = 0x0FFFFFFF;

// The largest number three tempo bytes can hold.
constexpr std::uint32_t MaxTempoMicroseconds = 0xFFFFFF;

// Appends one byte. Returns 1.
int WriteByte(MidiBytes& out, std::uint8_t value);

// Appends a 16-bit number, high byte first. Returns 2.
int WriteWord16(MidiBytes& out, std::uint16_t value);

// Appends a 32-bit number, high byte first. Returns 4.
int WriteWord32(MidiBytes& out, std::uint32_t value);

// Appends a four-character chunk identifier such as "MThd". The array type lets only
// identifiers of exactly four characters compile. Returns 4.
int WriteChunkId(MidiBytes& out, const char (&id)[5]);

// Appends `value` as a variable-length quantity: seven bits per byte, most significant group
// first, bit 7 set on every byte but the last. Values above MaxVarLen are written as MaxVarLen.
// Returns the number of bytes, 1 to 4 (1 for values below 128).
int WriteVarLen(MidiBytes& out, std::uint32_t value);

// Delta 0, note-on status for channel 1, then `note` and `velocity`: 00 90 nn vv. Returns 4.
int NoteOnWithStatus(MidiBytes& out, std::uint8_t note, std::uint8_t velocity);

// Delta 0 and a note-on under running status at full velocity: 00 nn 7F. Returns 3.
int NoteOnEvent(MidiBytes& out, std::uint8_t note);

// `delta`, then a note-on with velocity 0 under running status: delta nn 00.
// Returns the length of the delta plus 2.
int NoteOffEvent(MidiBytes& out, std::uint8_t note, std::uint32_t delta);

// Delta 0 and a track name meta event: 00 FF 03, one length byte, the text. A text longer than
// 127 bytes is cut to its first 127 so that the length stays one byte. Returns the text length
// written plus 4.
int TrackNameEvent(MidiBytes& out, std::string_view text);

// Delta 0, program change on channel 1: 00 C0 pp. `patch` outside 0..127 is brought to the
// nearer end of that range. Returns 3.
int ProgramChangeEvent(MidiBytes& out, int patch);

// Delta 0, time signature 4/4, 24 MIDI clocks per click, 8 thirty-second notes per quarter:
// 00 FF 58 04 04 02 18 08. Returns 8.
int TimeSignatureEvent(MidiBytes& out);

// `delta`, then a time signature of `beats`/`unit` (unit a power of two, 1..64), 24 MIDI clocks
// per click, 8 thirty-second notes per quarter: dd FF 58 04 nn uu 18 08 with uu = log2(unit).
// Returns the length of the delta plus 7.
int TimeSignatureEvent(MidiBytes& out, std::uint32_t delta, int beats, int unit);

// `delta`, then set tempo: FF 51 03 and `microsecondsPerQuarter` as three bytes (limited as
// TempoEvent limits it). Returns the length of the delta plus 6.
int TempoEvent(MidiBytes& out, std::uint32_t delta, std::uint32_t microsecondsPerQuarter);

// Delta 0, set tempo: 00 FF 51 03 and `microsecondsPerQuarter` as three bytes. A value above
// MaxTempoMicroseconds is written as MaxTempoMicroseconds. Returns 7.
int TempoEvent(MidiBytes& out, std::uint32_t microsecondsPerQuarter);

// Delta 0, end of track: 00 FF 2F 00. Returns 4.
int EndOfTrackEvent(MidiBytes& out);

} // namespace fw

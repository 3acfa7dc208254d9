#pragma once
// The timing of a Standard MIDI File: whether the synthesizer's file player can load it, how
// long it plays, and where a tick falls in time. The player itself reads the file lazily and
// reports nothing about it, so the window learns these facts here, before handing it over.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace fw {

// The most tracks the synthesizer's file player takes in one file.
constexpr int MaxPlayerTracks = 128;

class MidiFileTiming {
public:
    // Reads the header and every track of `bytes`. Nothing when the bytes are not a file the
    // player can load: no "MThd" header of length 6, a format above 2, no tracks or more than
    // MaxPlayerTracks, a division of 0 or in SMPTE frames, a track that runs past the end of
    // the bytes, an event with an unknown status or no running status to use, a delta time
    // longer than four bytes. Chunks of other kinds between tracks are skipped.
    // `smpte`, when given, is set to whether the refusal is only for the division in SMPTE
    // frames: the file is sound otherwise, the player just cannot time it.
    static std::optional<MidiFileTiming> Scan(std::span<const std::uint8_t> bytes,
                                              bool* smpte = nullptr);

    int Division() const { return division_; }
    // The tick of the last event of the longest track (its end-of-track event).
    long long LengthTicks() const { return lengthTicks_; }
    // How many events the tracks hold, end-of-track events included: what the player makes an
    // object of each.
    long long Events() const { return events_; }
    // LengthTicks in milliseconds.
    long long LengthMs() const { return TicksToMs(lengthTicks_); }
    // The time of `tick` from the start, following every tempo change of every track (500,000
    // microseconds per quarter note until the first). Ticks below 0 count as 0.
    long long TicksToMs(long long tick) const;

private:
    struct TempoChange {
        long long tick;
        std::uint32_t microsPerQuarter;
    };
    int division_ = 96;
    long long lengthTicks_ = 0;
    long long events_ = 0;
    std::vector<TempoChange> tempos_; // sorted by tick
};

} // namespace fw

#include "midi_file_timing.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace fw {

namespace {

constexpr std::uint32_t DefaultMicrosPerQuarter = 500000;

// Reads bytes of a span forward; every read says whether the bytes were there.
class Reader {
public:
    Reader(std::span<const std::uint8_t> bytes, std::size_t end) : bytes_(bytes), end_(end) {}

    std::size_t Position() const { return pos_; }
    void Seek(std::size_t pos) { pos_ = pos; }
    bool AtEnd() const { return pos_ >= end_; }

    bool Byte(std::uint8_t& out) {
        if (pos_ >= end_)
            return false;
        out = bytes_[pos_++];
        return true;
    }
    bool Peek(std::uint8_t& out) const {
        if (pos_ >= end_)
            return false;
        out = bytes_[pos_];
        return true;
    }
    bool Skip(std::uint64_t count) {
        if (count > end_ - pos_)
            return false;
        pos_ += static_cast<std::size_t>(count);
        return true;
    }
    bool BigEndian(int size, std::uint32_t& out) {
        out = 0;
        for (int i = 0; i < size; ++i) {
            std::uint8_t b = 0;
            if (!Byte(b))
                return false;
            out = (out << 8) | b;
        }
        return true;
    }
    // A variable-length quantity of at most four bytes, as the player reads them.
    bool VariableLength(std::uint32_t& out) {
        out = 0;
        for (int i = 0; i < 4; ++i) {
            std::uint8_t b = 0;
            if (!Byte(b))
                return false;
            out = (out << 7) | (b & 0x7F);
            if ((b & 0x80) == 0)
                return true;
        }
        return false;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t end_;
    std::size_t pos_ = 0;
};

struct TrackScan {
    long long endTick = 0;
    long long events = 0;
    std::vector<std::pair<long long, std::uint32_t>> tempos; // tick, microseconds per quarter
};

// Reads one track's events up to its end-of-track event or the end of its chunk. The running
// status follows every status byte, meta and system exclusive ones too, as the player does.
bool ScanTrack(Reader& in, TrackScan& track) {
    long long tick = 0;
    std::uint8_t running = 0;
    while (!in.AtEnd()) {
        std::uint32_t delta = 0;
        if (!in.VariableLength(delta))
            return false;
        tick += delta;
        ++track.events;
        std::uint8_t status = 0;
        if (!in.Peek(status))
            return false;
        if (status < 0x80) {
            if (running < 0x80)
                return false; // a data byte with no status to repeat
            status = running;
        } else {
            in.Skip(1);
        }
        running = status;
        if (status == 0xFF) {
            std::uint8_t type = 0;
            std::uint32_t length = 0;
            if (!in.Byte(type) || !in.VariableLength(length))
                return false;
            if (type == 0x2F) { // end of track
                track.endTick = tick;
                return in.Skip(length);
            }
            if (type == 0x51) { // tempo
                std::uint32_t micros = 0;
                if (length != 3 || !in.BigEndian(3, micros))
                    return false;
                track.tempos.emplace_back(tick, micros);
                continue;
            }
            if (!in.Skip(length))
                return false;
        } else if (status == 0xF0 || status == 0xF7) {
            std::uint32_t length = 0;
            if (!in.VariableLength(length) || !in.Skip(length))
                return false;
        } else if (status > 0xF0) {
            return false; // no other system message belongs in a file
        } else {
            const int kind = status & 0xF0;
            if (!in.Skip(kind == 0xC0 || kind == 0xD0 ? 1 : 2))
                return false;
        }
    }
    track.endTick = tick;
    return true;
}

bool IsAsciiId(std::uint32_t id) {
    for (int shift = 0; shift < 32; shift += 8) {
        if (((id >> shift) & 0x80) != 0)
            return false;
    }
    return true;
}

} // namespace

std::optional<MidiFileTiming> MidiFileTiming::Scan(std::span<const std::uint8_t> bytes,
                                                   bool* smpte) {
    if (smpte)
        *smpte = false;
    Reader in(bytes, bytes.size());
    std::uint32_t id = 0, headerLength = 0, format = 0, tracks = 0, division = 0;
    if (!in.BigEndian(4, id) || id != 0x4D546864 /* MThd */ || !in.BigEndian(4, headerLength) ||
        headerLength != 6 || !in.BigEndian(2, format) || !in.BigEndian(2, tracks) ||
        !in.BigEndian(2, division))
        return std::nullopt;
    if (format > 2 || tracks == 0 || tracks > MaxPlayerTracks || division == 0)
        return std::nullopt;
    // A division with the top bit set counts SMPTE frames, which the player cannot time. The
    // tracks are still read, to tell such a file from a damaged one.
    const bool smpteDivision = (division & 0x8000) != 0;

    MidiFileTiming timing;
    timing.division_ = smpteDivision ? 96 : static_cast<int>(division);
    for (std::uint32_t found = 0; found < tracks;) {
        std::uint32_t length = 0;
        if (!in.BigEndian(4, id) || !IsAsciiId(id) || !in.BigEndian(4, length))
            return std::nullopt;
        if (id != 0x4D54726B /* MTrk */) {
            if (!in.Skip(length))
                return std::nullopt;
            continue;
        }
        const std::size_t end = in.Position() + length;
        if (length > bytes.size() - in.Position())
            return std::nullopt; // the track runs past the end of the file
        Reader track(bytes, end);
        track.Seek(in.Position());
        TrackScan scan;
        if (!ScanTrack(track, scan))
            return std::nullopt;
        timing.lengthTicks_ = std::max(timing.lengthTicks_, scan.endTick);
        timing.events_ += scan.events;
        for (const auto& [tick, micros] : scan.tempos)
            timing.tempos_.push_back({tick, micros});
        in.Seek(end);
        ++found;
    }
    if (smpteDivision) {
        if (smpte)
            *smpte = true;
        return std::nullopt;
    }
    std::stable_sort(timing.tempos_.begin(), timing.tempos_.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    return timing;
}

long long MidiFileTiming::TicksToMs(long long tick) const {
    tick = std::max(tick, 0LL);
    double micros = 0;
    long long at = 0;
    std::uint32_t tempo = DefaultMicrosPerQuarter;
    for (const TempoChange& change : tempos_) {
        if (change.tick >= tick)
            break;
        micros += static_cast<double>(change.tick - at) * tempo / division_;
        at = change.tick;
        tempo = change.microsPerQuarter;
    }
    micros += static_cast<double>(tick - at) * tempo / division_;
    const double ms = std::round(micros / 1000.0);
    constexpr double limit = static_cast<double>(std::numeric_limits<long long>::max() / 2);
    return static_cast<long long>(std::min(ms, limit));
}

} // namespace fw

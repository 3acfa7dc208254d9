#pragma once
// A big MIDI file for memory tests and the replay benchmark: one track of `notes` short notes
// (note-on with its status byte, note-off as running-status velocity 0), 7 bytes a note, so
// 700,000 notes make a file of about 5 MB.

#include <cstdint>
#include <string>

namespace fw::test {

inline std::string ManyNotesMidi(std::uint32_t notes) {
    std::string track;
    track.reserve(static_cast<std::size_t>(notes) * 7 + 4);
    for (std::uint32_t i = 0; i < notes; ++i) {
        const char key = static_cast<char>(48 + i % 24);
        track += {'\x00', '\x90', key, '\x40'}; // at once, note on
        track += {'\x0A', key, '\x00'};         // 10 ticks later, off
    }
    track += {'\x00', '\xFF', '\x2F', '\x00'};
    std::string file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, static_cast<char>(0xE0)};
    file += "MTrk";
    const auto length = static_cast<std::uint32_t>(track.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        file += static_cast<char>((length >> shift) & 0xFF);
    return file + track;
}

} // namespace fw::test

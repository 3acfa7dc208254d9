#pragma once
// A MIDI port and a chord player over a recording device on a virtual clock, and readable
// forms of what the device received.

#include "chords/chord_parser.h"
#include "sound/chord_player.h"
#include "sound/midi_port.h"
#include "sound/recording_output.h"
#include "sound/virtual_play_clock.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string_view>
#include <vector>

namespace fw::test {

// A note message as the tests write it: when, note-on or note-off, which key.
struct Note {
    long long ms;
    bool on;
    int key;
    bool operator==(const Note&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Note& n) {
    return os << (n.on ? "on " : "off ") << n.key << " @" << n.ms;
}

inline long long Ms(PlayTime t) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(t).count();
}

struct SoundFixture {
    VirtualPlayClock clock;
    RecordingOutput device{&clock, {"Port A", "Port B"}};
    MidiPortSettings settings;
    MidiPort port{device, settings};
    ChordPlayerState state;
    ChordPlayer player{port, clock, state};

    // The note messages received so far (program changes left out).
    std::vector<Note> Notes() const {
        std::vector<Note> notes;
        for (const auto& e : device.Messages()) {
            const int kind = static_cast<int>(e.message & 0xF0);
            if (kind == 0x90 || kind == 0x80)
                notes.push_back(
                    {Ms(e.time), kind == 0x90, static_cast<int>((e.message >> 8) & 0xFF)});
        }
        return notes;
    }

    // The packed messages received so far.
    std::vector<std::uint32_t> Packed() const { return device.Packed(); }
};

// A chord line that must parse.
inline ChordEntry Chord(std::string_view line) {
    ParsedLine parsed = ParseChordText(line, 0);
    EXPECT_TRUE(parsed.ok()) << line << ": " << parsed.error;
    return parsed.entry;
}

} // namespace fw::test

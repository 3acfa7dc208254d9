#pragma once
// Packing and reading the three-byte channel messages that go to a MidiOutput.

#include <cstdint>

namespace fw {

// status | data1 << 8 | data2 << 16, bits 24..31 zero.
constexpr std::uint32_t PackShortMessage(std::uint8_t status, std::uint8_t data1,
                                         std::uint8_t data2) {
    return static_cast<std::uint32_t>(status) | static_cast<std::uint32_t>(data1) << 8 |
           static_cast<std::uint32_t>(data2) << 16;
}

struct ShortMessage {
    std::uint8_t status = 0;
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;

    std::uint8_t Kind() const { return status & 0xF0; }    // 0x80 note-off ... 0xE0 pitch bend
    std::uint8_t Channel() const { return status & 0x0F; } // 0..15
};

constexpr ShortMessage UnpackShortMessage(std::uint32_t message) {
    return {static_cast<std::uint8_t>(message & 0xFF),
            static_cast<std::uint8_t>((message >> 8) & 0xFF),
            static_cast<std::uint8_t>((message >> 16) & 0xFF)};
}

// Number of bytes a message with this status byte has on the wire: 2 for program change
// (0xCn) and channel pressure (0xDn), 3 for the other channel messages, 1 for system real-time
// bytes, and 0 for status bytes that cannot start a short message (system exclusive and
// values below 0x80).
int ShortMessageLength(std::uint8_t status);

} // namespace fw

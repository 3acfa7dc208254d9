#pragma once
// A small, strict reader of Standard MIDI Files, written apart from the program's writer so
// that the MIDI fuzz target can check the writer's bytes against the file format itself.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace fw::fuzz {

struct SmfSummary {
    int format = -1;
    int tracks = 0;
    int division = 0;
    long noteOns = 0;  // note-ons with a velocity above 0
    long noteOffs = 0; // note-offs, and note-ons with velocity 0
    std::string error; // empty when the file is well formed
};

// Reads the whole file: the header chunk, then every track chunk, each a list of delta times
// and events (channel messages with or without running status, meta and SysEx events) that
// ends with an end-of-track event exactly at the end of its chunk.
inline SmfSummary ReadSmf(std::span<const std::uint8_t> bytes) {
    SmfSummary summary;
    std::size_t at = 0;
    auto fail = [&](const char* why) {
        summary.error = why;
        return summary;
    };
    auto word = [&](std::size_t n, std::uint32_t& value) {
        if (bytes.size() - at < n)
            return false;
        value = 0;
        for (std::size_t i = 0; i < n; ++i)
            value = value << 8 | bytes[at++];
        return true;
    };
    auto chunkId = [&](const char* id) {
        if (bytes.size() - at < 4)
            return false;
        for (int i = 0; i < 4; ++i)
            if (bytes[at + i] != static_cast<std::uint8_t>(id[i]))
                return false;
        at += 4;
        return true;
    };

    std::uint32_t length = 0, format = 0, tracks = 0, division = 0;
    if (!chunkId("MThd") || !word(4, length) || length != 6)
        return fail("no MThd chunk of length 6");
    if (!word(2, format) || !word(2, tracks) || !word(2, division))
        return fail("short header");
    summary.format = static_cast<int>(format);
    summary.division = static_cast<int>(division);
    for (std::uint32_t t = 0; t < tracks; ++t) {
        if (!chunkId("MTrk") || !word(4, length))
            return fail("missing MTrk chunk");
        if (bytes.size() - at < length)
            return fail("track longer than the file");
        const std::size_t end = at + length;
        std::uint8_t status = 0;
        bool ended = false;
        while (at < end) {
            if (ended)
                return fail("events after end of track");
            // Delta time: at most four bytes.
            int deltaBytes = 0;
            for (;;) {
                if (at >= end || ++deltaBytes > 4)
                    return fail("bad delta time");
                if ((bytes[at++] & 0x80) == 0)
                    break;
            }
            if (at >= end)
                return fail("delta without event");
            std::uint8_t byte = bytes[at];
            if (byte == 0xFF) {
                if (end - at < 3)
                    return fail("short meta event");
                const std::uint8_t type = bytes[at + 1];
                const std::uint8_t metaLength = bytes[at + 2]; // our writer uses one-byte lengths
                if (metaLength & 0x80)
                    return fail("long meta length");
                at += 3;
                if (end - at < metaLength)
                    return fail("meta event past the track");
                at += metaLength;
                if (type == 0x2F)
                    ended = true;
                status = 0; // a meta event cancels running status
                continue;
            }
            if (byte == 0xF0 || byte == 0xF7)
                return fail("unexpected SysEx");
            if (byte & 0x80) {
                status = byte;
                ++at;
            } else if (status == 0) {
                return fail("running status without a status byte");
            }
            const int kind = status & 0xF0;
            const int dataBytes = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
            if (static_cast<int>(end - at) < dataBytes)
                return fail("short channel message");
            for (int i = 0; i < dataBytes; ++i)
                if (bytes[at + i] & 0x80)
                    return fail("data byte with bit 7 set");
            if (kind == 0x90 && bytes[at + 1] > 0)
                ++summary.noteOns;
            else if (kind == 0x90 || kind == 0x80)
                ++summary.noteOffs;
            at += dataBytes;
        }
        if (!ended)
            return fail("track without end of track");
        ++summary.tracks;
    }
    if (at != bytes.size())
        return fail("bytes after the last track");
    return summary;
}

} // namespace fw::fuzz

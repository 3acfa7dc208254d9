#pragma once
// A MIDI output that sounds nothing and records everything it is asked to do, with the time
// of a clock it is given. The tests and the playback benchmark check message order and
// timing with it.

#include "midi_output.h"
#include "play_clock.h"

#include <optional>
#include <string>
#include <vector>

namespace fw {

class RecordingOutput : public MidiOutput {
public:
    enum class Kind { Open, Send, Close, CountQuery, NameQuery };
    struct Event {
        Kind kind;
        PlayTime time; // the clock's time, or 0 without a clock
        int device;    // Open, NameQuery: the id asked for; Send, Close: the open device or -2
        std::uint32_t message; // Send: the packed message
        int result;            // Open: the code returned
    };

    // `clock` (may be null) must outlive the recorder. The recorder offers the external
    // devices named by `deviceNames`, and the built-in synthesizer as device -1.
    explicit RecordingOutput(const PlayClock* clock = nullptr,
                             std::vector<std::string> deviceNames = {});

    // Every later Open fails with `code`, until set back to MidiResultOk.
    void FailOpensWith(int code) { failCode_ = code; }

    int DeviceCount() override;
    std::string DeviceName(int id) override;
    int Open(int id) override;
    void Send(std::uint32_t message) override;
    void Close() override;

    bool IsOpen() const { return openDevice_.has_value(); }
    const std::vector<Event>& Events() const { return events_; }
    // The Send events only, in order.
    std::vector<Event> Messages() const;
    // The packed messages sent, in order.
    std::vector<std::uint32_t> Packed() const;
    // The keys of the note-on messages (velocity above 0) among the sent messages after the
    // first `skip`, in order.
    std::vector<int> NoteOnKeys(std::size_t skip = 0) const;
    int Count(Kind kind) const;
    // Makes room for n events, so that recording allocates nothing while timing is measured.
    void Reserve(std::size_t n) { events_.reserve(n); }

private:
    void Record(Kind kind, int device, std::uint32_t message = 0, int result = 0);

    const PlayClock* clock_;
    std::vector<std::string> names_;
    int failCode_ = MidiResultOk;
    std::optional<int> openDevice_;
    std::vector<Event> events_;
};

} // namespace fw

#include "port_output.h"

#include "quiet_alsa.h"
#include "short_message.h"

#include <rtmidi/RtMidi.h>

#include <optional>

#ifdef __linux__
#include <alsa/asoundlib.h>
#endif

namespace fw {

namespace {

int ResultCodeFor(RtMidiError::Type type) {
    switch (type) {
    case RtMidiError::NO_DEVICES_FOUND:
        return MidiResultNoDevice;
    case RtMidiError::INVALID_DEVICE:
        return MidiResultBadDeviceId;
    case RtMidiError::MEMORY_ERROR:
        return MidiResultNoMemory;
    case RtMidiError::INVALID_PARAMETER:
        return MidiResultInvalidParam;
    case RtMidiError::INVALID_USE:
        return MidiResultAllocated;
    default:
        return MidiResultError;
    }
}

// Whether the MIDI system can be reached at all. RtMidi reports a missing ALSA sequencer by
// printing and throwing from its constructor; asking ALSA first avoids both.
bool MidiSystemPresent() {
#ifdef __linux__
    QuietAlsaErrors();
    snd_seq_t* seq = nullptr;
    if (snd_seq_open(&seq, "default", SND_SEQ_OPEN_OUTPUT, SND_SEQ_NONBLOCK) < 0)
        return false;
    return snd_seq_close(seq) == 0;
#else
    return true;
#endif
}

constexpr RtMidi::Api PortApi =
#ifdef __linux__
    RtMidi::LINUX_ALSA;
#else
    RtMidi::UNSPECIFIED;
#endif

} // namespace

struct PortOutput::Impl {
    std::unique_ptr<RtMidiOut> midi;
    bool tried = false;
    bool open = false;
    // The last error RtMidi reported through its callback (it then throws nothing).
    std::optional<RtMidiError::Type> lastError;

    static void OnError(RtMidiError::Type type, const std::string&, void* self) {
        static_cast<Impl*>(self)->lastError = type;
    }

    RtMidiOut* Midi() {
        if (!tried) {
            tried = true;
            if (MidiSystemPresent()) {
                try {
                    midi = std::make_unique<RtMidiOut>(PortApi, "Fretwick");
                    midi->setErrorCallback(&Impl::OnError, this);
                } catch (const RtMidiError&) {
                    midi.reset();
                }
            }
        }
        return midi.get();
    }

    int Count() {
        RtMidiOut* m = Midi();
        if (!m)
            return 0;
        try {
            return static_cast<int>(m->getPortCount());
        } catch (const RtMidiError&) {
            return 0;
        }
    }
};

PortOutput::PortOutput() : impl_(std::make_unique<Impl>()) {}

PortOutput::~PortOutput() {
    Close();
}

int PortOutput::DeviceCount() {
    return impl_->Count();
}

std::string PortOutput::DeviceName(int id) {
    if (id < 0 || id >= impl_->Count())
        return {};
    impl_->lastError.reset();
    try {
        std::string name = impl_->midi->getPortName(static_cast<unsigned>(id));
        return impl_->lastError ? std::string() : name;
    } catch (const RtMidiError&) {
        return {};
    }
}

int PortOutput::Open(int id) {
    if (impl_->open)
        return MidiResultAllocated;
    if (id < 0 || id >= impl_->Count())
        return MidiResultBadDeviceId;
    impl_->lastError.reset();
    try {
        impl_->midi->openPort(static_cast<unsigned>(id), "Fretwick Output");
    } catch (const RtMidiError& error) {
        return ResultCodeFor(error.getType());
    }
    if (impl_->lastError && *impl_->lastError != RtMidiError::WARNING &&
        *impl_->lastError != RtMidiError::DEBUG_WARNING)
        return ResultCodeFor(*impl_->lastError);
    if (!impl_->midi->isPortOpen())
        return MidiResultError;
    impl_->open = true;
    return MidiResultOk;
}

void PortOutput::Send(std::uint32_t message) {
    if (!impl_->open)
        return;
    const ShortMessage m = UnpackShortMessage(message);
    const int length = ShortMessageLength(m.status);
    if (length == 0)
        return;
    const unsigned char bytes[3] = {m.status, m.data1, m.data2};
    try {
        impl_->midi->sendMessage(bytes, static_cast<std::size_t>(length));
    } catch (const RtMidiError&) {
        // A failed send is not reported.
    }
}

void PortOutput::Close() {
    if (!impl_->open)
        return;
    impl_->open = false;
    try {
        impl_->midi->closePort();
    } catch (const RtMidiError&) {
        // The connection is gone either way.
    }
}

} // namespace fw

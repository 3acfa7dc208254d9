#include "wav_render.h"

#include "chord_player.h"
#include "chords/chord_parser.h"
#include "fluid_support.h"
#include "midi_port.h"
#include "wav_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace fw {

namespace {

// The render synth as a MIDI device: its only device is the built-in one.
class RenderOutput : public MidiOutput {
public:
    explicit RenderOutput(fluid_synth_t* synth) : synth_(synth) {}
    int DeviceCount() override { return 0; }
    std::string DeviceName(int id) override {
        return id == BuiltInSynthDevice ? BuiltInSynthName : std::string();
    }
    int Open(int id) override {
        return id == BuiltInSynthDevice ? MidiResultOk : MidiResultBadDeviceId;
    }
    void Send(std::uint32_t message) override {
        // A refused message (a note-off for a silent note) changes nothing in the output.
        static_cast<void>(ApplyShortMessage(synth_, message));
    }
    void Close() override {}

private:
    fluid_synth_t* synth_;
};

// A clock that counts rendered frames: waiting until a deadline renders the audio up to it.
class RenderClock : public PlayClock {
public:
    RenderClock(fluid_synth_t* synth, WavWriter& wav) : synth_(synth), wav_(wav) {}

    PlayTime Now() const override { return PlayTime(frames_ * 1000000 / RenderSampleRate); }

    void WaitUntil(PlayTime deadline, bool, const StopCheck&) override {
        const long long target = FrameAt(deadline);
        while (failure_.empty() && frames_ < target) {
            const int n = static_cast<int>(std::min<long long>(target - frames_, BlockFrames));
            if (fluid_synth_write_s16(synth_, n, block_.data(), 0, 2, block_.data(), 1, 2) !=
                FLUID_OK) {
                failure_ = "The audio could not be rendered.";
                break;
            }
            ApplyFade(n);
            if (!wav_.Write(block_.data(), static_cast<std::size_t>(n) * 2)) {
                failure_ = "The audio file could not be written.";
            }
            frames_ += n;
        }
    }

    // From now on the output fades out linearly, reaching silence at `end`.
    void FadeOutUntil(PlayTime end) {
        fadeStart_ = frames_;
        fadeEnd_ = FrameAt(end);
    }

    // What went wrong while rendering; empty when nothing did.
    const std::string& Failure() const { return failure_; }

private:
    static constexpr int BlockFrames = 4096;

    static long long FrameAt(PlayTime t) {
        return (t.count() * RenderSampleRate + 500000) / 1000000;
    }

    // Scales the n frames in the block that start at frames_ by the fade-out.
    void ApplyFade(int n) {
        if (fadeEnd_ <= fadeStart_)
            return;
        const double length = static_cast<double>(fadeEnd_ - fadeStart_);
        for (int i = 0; i < n; ++i) {
            const double gain = std::clamp((fadeEnd_ - frames_ - i) / length, 0.0, 1.0);
            for (int c = 0; c < 2; ++c) {
                std::int16_t& sample = block_[static_cast<std::size_t>(2 * i + c)];
                sample = static_cast<std::int16_t>(std::lround(sample * gain));
            }
        }
    }

    fluid_synth_t* synth_;
    WavWriter& wav_;
    std::array<std::int16_t, BlockFrames * 2> block_{};
    long long frames_ = 0;
    long long fadeStart_ = 0;
    long long fadeEnd_ = 0;
    std::string failure_;
};

// "6:45:47": hours, minutes and seconds (rounded down).
std::string HoursMinutesSeconds(long long ms) {
    const long long seconds = ms / 1000;
    char text[40];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

} // namespace

long long SoundingMs(const ChordEntry& entry, int tempo) {
    if (KindOf(entry) != LineKind::Chord)
        return 0;
    const long long duration = std::max(0, DurationValue(entry.Duration, WholeNoteMs(tempo)));
    const bool hammer = std::any_of(entry.HammerNote.begin() + 1, entry.HammerNote.end(),
                                    [](std::uint8_t note) { return note != NoNote; });
    // A chord with a hammer-on lasts at least its three hammer-on steps.
    return hammer ? std::max(duration, 3LL * HammerStepMs(tempo)) : duration;
}

std::string TooLongForWav(long long chordsMs) {
    const long long ms = chordsMs + RenderTailMs;
    const long long maxMs = MaxWavDataBytes / (RenderSampleRate * 4LL) * 1000;
    if (ms <= maxMs)
        return {};
    return "The song is too long for a WAV file: it lasts " + HoursMinutesSeconds(ms) +
           ", and a WAV file holds at most " + HoursMinutesSeconds(maxMs) + ".";
}

std::string RenderChordsToWav(const std::vector<ChordEntry>& entries,
                              const RenderSettings& settings, std::ostream& out) {
    // Refused before anything is rendered: the format cannot hold it, and rendering it would
    // take hours and all the memory there is.
    long long chordsMs = 0;
    std::size_t chord = 0;
    const auto tempoOf = [&settings](std::size_t k) {
        return k < settings.ChordTempos.size() ? settings.ChordTempos[k] : settings.Tempo;
    };
    for (const ChordEntry& entry : entries)
        chordsMs += SoundingMs(entry, tempoOf(chord++));
    if (std::string tooLong = TooLongForWav(chordsMs); !tooLong.empty())
        return tooLong;
    LoadedSynth loaded = MakeLoadedSynth(settings.SoundFont, RenderSampleRate);
    if (!loaded.error.empty())
        return loaded.error;

    WavWriter wav(out, RenderSampleRate, 2);
    RenderOutput output(loaded.synth.get());
    const MidiPortSettings portSettings{BuiltInSynthDevice, 0, 0, settings.Patch};
    MidiPort port(output, portSettings);
    RenderClock clock(loaded.synth.get(), wav);
    const ChordPlayerState state{settings.TuningOffset, settings.Tempo, false};
    ChordPlayer player(port, clock, state);

    if (!port.OpenMidiPort().empty())
        return "The synthesizer could not be started.";
    port.SelectPatch();
    PlayTime cursor = clock.Now();
    chord = 0;
    for (const ChordEntry& entry : entries) {
        const int whole = WholeNoteMs(tempoOf(chord++));
        if (KindOf(entry) != LineKind::Chord)
            continue;
        cursor = player.PlayChordFrom(cursor, entry.Note, entry.HammerNote,
                                      DurationValue(entry.Duration, whole), false);
    }
    port.CloseMidiPort();
    const PlayTime end = cursor + std::chrono::milliseconds(RenderTailMs);
    clock.FadeOutUntil(end);
    clock.WaitUntil(end, false, [] { return false; });

    if (!clock.Failure().empty())
        return clock.Failure();
    if (!wav.Finish())
        return "The audio file could not be written.";
    return {};
}

} // namespace fw

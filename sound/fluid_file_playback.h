#pragma once
// One MIDI file played through a synthesizer by the synthesizer's own file player. The audio
// comes from an audio driver that calls RenderForDriver, or from Render (tests, benchmarks):
// both render under this object's lock, so a file player that is replaced (every Play after
// the end, every seek to the start, every Load) is freed at once, and its memory given back to
// the system when it was big. When the synth is rendered by a driver of its own
// (RenderedByOwnDriver), that driver is stopped while a player is made or freed and started
// again after, so that replaying costs nothing whatever the driver.

#include "midi_file_player.h"
#include "midi_file_timing.h"

#include <fluidsynth.h>

#include <QString>

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace fw {

// The largest MIDI file read; a song of millions of notes is still far smaller.
inline constexpr std::uint64_t MaxMidiFileBytes = 200'000'000;
// The memory a loaded file may take in the player: its bytes twice (ours and the player's
// copy) and an object of about PlayerBytesPerEvent for each of its events.
inline constexpr std::uint64_t MidiPlayerMemoryBudget = 1024ULL << 20;
inline constexpr std::uint64_t PlayerBytesPerEvent = 48;

// The memory the player takes for a file of `fileBytes` bytes and `events` events.
std::uint64_t MidiPlayerMemoryOf(std::uint64_t fileBytes, std::uint64_t events);

class FluidFilePlayback {
public:
    // `synth` (with a soundfont loaded) must outlive this object; nothing may render it any
    // more when this object is destroyed.
    // A file whose player would take more than `memoryBudget` (see MidiPlayerMemoryOf) is
    // refused by Load.
    explicit FluidFilePlayback(fluid_synth_t* synth,
                               std::uint64_t memoryBudget = MidiPlayerMemoryBudget);
    ~FluidFilePlayback();
    FluidFilePlayback(const FluidFilePlayback&) = delete;
    FluidFilePlayback& operator=(const FluidFilePlayback&) = delete;

    // Reads the MIDI file at `path` and makes it the loaded file, at its start and not playing.
    // On failure the loaded file stays as it was (even playing) and the text says what failed:
    // the reader's sentence for a file that cannot be read, a folder, a named pipe, a device or
    // a socket (never waited on) and a file over MaxMidiFileBytes (see ReadRegularFile: "Opening
    // "<path>" failed: it is a named pipe, not a file."); "Not a MIDI file: <path>" (also for
    // a damaged one); "The MIDI file uses SMPTE timing, which the player cannot play: <path>"
    // (a sound file timed in frames, which the synthesizer's file player does not do); "The MIDI
    // file could not be loaded: <path>" (the synthesizer refused it); "The MIDI file is too big
    // to play: <path> has 30,000,000 events, which need about 1,450 MiB; the MIDI player holds
    // at most 1,024 MiB." (over the memory budget).
    QString Load(const QString& path);
    // Stops and forgets the loaded file.
    void Unload();
    bool HasFile();

    // The orders of MidiFilePlayer, on the loaded file; without one they do nothing.
    void Play();
    void Stop();
    void Pause();
    bool Resume();
    void SeekToStart();
    PlayerMode Mode();
    PlayerPosition Position();

    // Renders `frames` frames of stereo audio into `left` and `right` (overwriting them),
    // moving playback on by that much, as an audio driver does. False when the synthesizer
    // fails. Only without an audio driver on the synth.
    bool Render(int frames, float* left, float* right);

    // An audio driver's render function (new_fluid_audio_driver2) with `data` this object:
    // clears the driver's buffers and renders the synth into them.
    static int RenderForDriver(void* data, int frames, int effectCount, float* effects[],
                               int outputCount, float* outputs[]);
    // The synth is rendered by a driver that does not go through this object (one that takes
    // no render function, as SDL's): `stop` stops that driver, so that nothing renders the
    // synth, and `start` starts it again (false when it could not). Players are then made and
    // freed between the two, never while the driver's thread runs the synth.
    void RenderedByOwnDriver(std::function<void()> stop, std::function<bool()> start);

private:
    // All with mutex_ held.
    fluid_player_t* MakePlayer(const std::vector<std::uint8_t>& bytes);
    void ReplacePlayer(fluid_player_t* player);
    void Retire(fluid_player_t* player);
    bool Ended() const;

    fluid_synth_t* synth_;
    std::mutex mutex_;
    std::vector<std::uint8_t> bytes_;
    std::optional<MidiFileTiming> timing_;
    fluid_player_t* player_ = nullptr;
    // Stops the synth's own driver for as long as it lives (RenderedByOwnDriver).
    class DriverPause;
    std::function<void()> stopDriver_;
    std::function<bool()> startDriver_;
    std::uint64_t memoryBudget_;
    bool halted_ = false; // stopped by an order, not by reaching the end of the file
    bool paused_ = false;
};

} // namespace fw

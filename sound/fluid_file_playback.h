#pragma once
// One MIDI file played through a synthesizer by the synthesizer's own file player. The audio
// comes from an audio driver rendering the synth on its own thread, or from Render (tests).
// The file player may be ordered about while the synth renders, but not deleted: players that
// are replaced are stopped and kept until this object goes, which must be after the driver.

#include "midi_file_player.h"
#include "midi_file_timing.h"

#include <fluidsynth.h>

#include <QString>

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace fw {

// The largest MIDI file read; a song of millions of notes is still far smaller.
inline constexpr std::uint64_t MaxMidiFileBytes = 200'000'000;

class FluidFilePlayback {
public:
    // `synth` (with a soundfont loaded) must outlive this object; nothing may render it any
    // more when this object is destroyed.
    explicit FluidFilePlayback(fluid_synth_t* synth);
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
    // file could not be loaded: <path>" (the synthesizer refused it).
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

private:
    // All with mutex_ held.
    fluid_player_t* MakePlayer(const std::vector<std::uint8_t>& bytes);
    void ReplacePlayer(fluid_player_t* player);
    bool Ended() const;

    fluid_synth_t* synth_;
    std::mutex mutex_;
    std::vector<std::uint8_t> bytes_;
    std::optional<MidiFileTiming> timing_;
    fluid_player_t* player_ = nullptr;
    std::vector<fluid_player_t*> retired_; // stopped, deleted with this object
    bool halted_ = false; // stopped by an order, not by reaching the end of the file
    bool paused_ = false;
};

} // namespace fw

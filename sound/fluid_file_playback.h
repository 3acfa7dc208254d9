#pragma once
// One MIDI file played through a synthesizer by the synthesizer's own file player. Whoever
// produces the audio (an audio driver, or a test rendering to memory) calls Render, which holds
// the same lock as every order given here: the file player must not be made, changed or
// deleted while the synthesizer renders.

#include "midi_file_player.h"
#include "midi_file_timing.h"

#include <fluidsynth.h>

#include <QString>

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace fw {

class FluidFilePlayback {
public:
    // `synth` (with a soundfont loaded) must outlive this object, and nothing else may render
    // it while this object exists.
    explicit FluidFilePlayback(fluid_synth_t* synth);
    ~FluidFilePlayback();
    FluidFilePlayback(const FluidFilePlayback&) = delete;
    FluidFilePlayback& operator=(const FluidFilePlayback&) = delete;

    // Reads the MIDI file at `path` and makes it the loaded file, at its start and not playing.
    // On failure the loaded file stays as it was (even playing) and the text says what failed:
    // "The MIDI file could not be read: <path>", "Not a MIDI file: <path>" (also for a damaged
    // one), "The MIDI file could not be loaded: <path>" (the synthesizer refused it).
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
    // moving playback on by that much. False when the synthesizer fails.
    bool Render(int frames, float* left, float* right);

    // An audio driver's render function; `data` is the FluidFilePlayback.
    static int AudioCallback(void* data, int len, int nfx, float* fx[], int nout, float* out[]);

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
    bool halted_ = false; // stopped by an order, not by reaching the end of the file
    bool paused_ = false;
};

} // namespace fw

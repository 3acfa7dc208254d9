#pragma once
// The device behind the MIDI file player window: something that plays a whole MIDI file on
// its own, in the background, while the window only gives orders and asks where it is. The
// program uses the synthesizer's file player (FluidMidiFilePlayer); the window's tests use
// RecordingFilePlayer.

#include <QString>

namespace fw {

enum class PlayerMode { Stopped, Playing, Paused };

// Where playback is, in milliseconds from the start of the loaded file, and the file's length.
struct PlayerPosition {
    long long positionMs = 0;
    long long lengthMs = 0;
};

class MidiFilePlayer {
public:
    virtual ~MidiFilePlayer() = default;

    // Starts making the device ready (its sounds and audio output) in the background, without
    // blocking. Does nothing when that has started already.
    virtual void Prepare() = 0;
    // Whether what Prepare started has finished, well or not. Open is only quick after that.
    virtual bool IsReady() = 0;
    // Why the device cannot open at all, whatever the file (no soundfont, no audio output), in
    // the words Open uses for it; empty when it can, and until Prepare has finished.
    virtual QString DeviceProblem() = 0;
    // Gives back what Prepare made (memory, the audio output). The device must be closed. A
    // later Prepare makes it again.
    virtual void Release() = 0;

    // Opens the device, with the MIDI file at `path` loaded when `path` is not empty,
    // positioned at its start and not playing; a device that is open already is given the new
    // file. Returns the empty text on success, otherwise the player's own text of what failed;
    // then the device is as it was before the call (open with its file when it was open).
    // Waits for Prepare to finish when it has not.
    virtual QString Open(const QString& path) = 0;
    // Stops playback and closes the device. Nothing when it is closed.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // The following do nothing while the device is closed or without a loaded file. Their
    // failures are not reported.
    // Starts playing from the current position (from the start after the file has ended).
    virtual void Play() = 0;
    // Stops playing, keeping the position.
    virtual void Stop() = 0;
    // Stops playing so that Resume carries on from the same place.
    virtual void Pause() = 0;
    // Carries on after Pause. False when the device was not paused or could not resume.
    virtual bool Resume() = 0;
    // Stops playing and moves to the start of the file; returns when the move is done.
    virtual void SeekToStart() = 0;

    // Stopped while the device is closed.
    virtual PlayerMode Mode() = 0;
    // Zeros while the device is closed or has no file.
    virtual PlayerPosition Position() = 0;
};

} // namespace fw

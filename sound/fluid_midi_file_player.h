#pragma once
// The MIDI file player of the program: the synthesizer's own file player on a synthesizer and
// audio output of its own, apart from the built-in synthesizer of the main window, which it
// never touches. Its sounds are loaded on a background thread. Its audio output is closed while
// nothing has sounded for a while, and opened again when a file plays.

#include "midi_file_player.h"

#include <memory>
#include <string>
#include <vector>

namespace fw {

class FluidMidiFilePlayer : public MidiFilePlayer {
public:
    // `preferredSoundFont` (a setting; may be empty) is tried before the standard soundfonts.
    explicit FluidMidiFilePlayer(std::string preferredSoundFont = {});
    ~FluidMidiFilePlayer() override;
    FluidMidiFilePlayer(const FluidMidiFilePlayer&) = delete;
    FluidMidiFilePlayer& operator=(const FluidMidiFilePlayer&) = delete;

    void Prepare() override;
    bool IsReady() override;
    QString DeviceProblem() override;
    void Release() override;

    // Besides the texts of FluidFilePlayback::Load, a device that cannot be made gives "No
    // soundfont was found.", "The soundfont could not be loaded: <path>", "The synthesizer
    // could not be started." or "No audio output was found.".
    QString Open(const QString& path) override;
    void Close() override;
    bool IsOpen() const override { return open_; }

    void Play() override;
    void Stop() override;
    void Pause() override;
    bool Resume() override;
    void SeekToStart() override;
    PlayerMode Mode() override;
    PlayerPosition Position() override;

private:
    struct Engine;
    Engine& Ready(); // prepared and finished
    void DropFinishedRetired();
    void Wake(); // a file is about to sound: the audio output must run

    std::string preferredSoundFont_;
    std::unique_ptr<Engine> engine_;
    // Engines released while still loading; they are freed once their thread has finished.
    std::vector<std::unique_ptr<Engine>> retired_;
    bool open_ = false;
};

} // namespace fw

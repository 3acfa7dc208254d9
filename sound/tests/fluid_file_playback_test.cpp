// The synthesizer's file player as the MIDI player window uses it, without a sound card: a
// file written by the program's own MIDI writer is rendered into memory through the same
// render function the audio driver calls.

#include "sound/fluid_file_playback.h"
#include "sound/fluid_support.h"
#include "sound/soundfont.h"

#include "export/midi_file_writer.h"
#include "export/tests/midi_test_support.h"
#include "export/tests/temp_folder.h"

#include <gtest/gtest.h>

#include <QFile>

#include <sys/stat.h>

#include <array>
#include <cmath>

namespace fw {
namespace {

constexpr int SampleRate = 44100;
constexpr int Block = 64; // the synthesizer's own block size

class FilePlayback : public testing::Test {
protected:
    void SetUp() override {
        // The soundfont package is a test dependency: without it this test fails.
        loaded = MakeLoadedSynth("", SampleRate);
        ASSERT_EQ(loaded.error, "");
        playback = std::make_unique<FluidFilePlayback>(loaded.synth.get());
    }

    QString Write(const std::string& name, const MidiBytes& bytes) {
        const std::string path = folder / name;
        test::WriteText(path, std::string(bytes.begin(), bytes.end()));
        return QString::fromStdString(path);
    }

    // Renders `ms` milliseconds (whole blocks); returns the sum of squares of the samples.
    double RenderMs(long long ms) {
        double energy = 0;
        for (long long frames = ms * SampleRate / 1000; frames > 0; frames -= Block)
            energy += RenderBlock();
        return energy;
    }

    double RenderBlock() {
        std::array<float, Block> left{}, right{};
        EXPECT_TRUE(playback->Render(Block, left.data(), right.data()));
        double energy = 0;
        for (int i = 0; i < Block; ++i)
            energy += left[static_cast<std::size_t>(i)] * left[static_cast<std::size_t>(i)] +
                      right[static_cast<std::size_t>(i)] * right[static_cast<std::size_t>(i)];
        return energy;
    }

    // Renders until the player stops by itself (at most `limitMs`): the frames rendered.
    long long RenderToEnd(long long limitMs, double& energy) {
        long long frames = 0;
        energy = 0;
        while (playback->Mode() == PlayerMode::Playing && frames < limitMs * SampleRate / 1000) {
            energy += RenderBlock();
            frames += Block;
        }
        return frames;
    }

    test::TempFolder folder;
    LoadedSynth loaded;
    std::unique_ptr<FluidFilePlayback> playback;
};

// Four chords and a comment: quarter, quarter, half and dotted quarter, 5.5 beats at tempo 120
// (500 ms a beat): 2750 ms.
std::vector<ChordEntry> FourChords() {
    return test::Song({"G, 0, 0, 0, 0, 0, Q", "C, 2, 1, 2, 0, 0, Q", "* a comment",
                       "D7, 0, 1, 0, 2, 0, H", "G, 5, 4, 5, 5, 0, .Q"});
}
constexpr long long FourChordsMs = 2750;

TEST_F(FilePlayback, PlaysAWrittenSongForItsLengthAndNotSilently) {
    const QString path = Write("song.mid", BuildMidiFile(FourChords(), 120, 105, test::NoOffsets));
    ASSERT_EQ(playback->Load(path), "");
    EXPECT_EQ(playback->Position().lengthMs, FourChordsMs);
    EXPECT_EQ(playback->Mode(), PlayerMode::Stopped);

    playback->Play();
    EXPECT_EQ(playback->Mode(), PlayerMode::Playing);
    double energy = 0;
    const long long frames = RenderToEnd(10 * FourChordsMs, energy);
    const long long renderedMs = frames * 1000 / SampleRate;
    EXPECT_NEAR(static_cast<double>(renderedMs), static_cast<double>(FourChordsMs), 50.0);
    EXPECT_EQ(playback->Mode(), PlayerMode::Stopped);
    // Far from silence: an RMS above 0.01 (-40 dBFS) over the whole song.
    EXPECT_GT(std::sqrt(energy / static_cast<double>(2 * frames)), 0.01);
    EXPECT_EQ(playback->Position().positionMs, FourChordsMs);
}

TEST_F(FilePlayback, PauseHoldsThePlaceAndResumeCarriesOnFromIt) {
    ASSERT_EQ(
        playback->Load(Write("song.mid", BuildMidiFile(FourChords(), 120, 105, test::NoOffsets))),
        "");
    EXPECT_FALSE(playback->Resume()); // not paused
    playback->Play();
    RenderMs(1000);
    playback->Pause();
    EXPECT_EQ(playback->Mode(), PlayerMode::Paused);
    const long long pausedAt = playback->Position().positionMs;
    EXPECT_NEAR(static_cast<double>(pausedAt), 1000.0, 20.0);

    // Paused: time passes, playback does not, and the released notes die away.
    RenderMs(3000);
    EXPECT_EQ(playback->Position().positionMs, pausedAt);
    EXPECT_LT(RenderMs(100), 1e-6);

    ASSERT_TRUE(playback->Resume());
    EXPECT_EQ(playback->Mode(), PlayerMode::Playing);
    RenderMs(500);
    EXPECT_NEAR(static_cast<double>(playback->Position().positionMs),
                static_cast<double>(pausedAt + 500), 20.0);
    double energy = 0;
    const long long frames = RenderToEnd(10 * FourChordsMs, energy);
    EXPECT_NEAR(static_cast<double>(frames * 1000 / SampleRate),
                static_cast<double>(FourChordsMs - pausedAt - 500), 50.0);
}

TEST_F(FilePlayback, StopKeepsThePositionAndPlayAfterTheEndStartsAgain) {
    ASSERT_EQ(
        playback->Load(Write("song.mid", BuildMidiFile(FourChords(), 120, 105, test::NoOffsets))),
        "");
    playback->Play();
    RenderMs(600);
    playback->Stop();
    EXPECT_EQ(playback->Mode(), PlayerMode::Stopped);
    playback->Pause(); // not playing: nothing
    EXPECT_EQ(playback->Mode(), PlayerMode::Stopped);
    EXPECT_FALSE(playback->Resume());
    RenderMs(200);
    EXPECT_NEAR(static_cast<double>(playback->Position().positionMs), 600.0, 20.0);

    playback->Play();
    double energy = 0;
    RenderToEnd(10 * FourChordsMs, energy);
    ASSERT_EQ(playback->Mode(), PlayerMode::Stopped);

    // After the end, Play plays the whole song again.
    playback->Play();
    EXPECT_EQ(playback->Mode(), PlayerMode::Playing);
    EXPECT_EQ(playback->Position().positionMs, 0);
    const long long frames = RenderToEnd(10 * FourChordsMs, energy);
    EXPECT_NEAR(static_cast<double>(frames * 1000 / SampleRate), static_cast<double>(FourChordsMs),
                50.0);
    EXPECT_GT(energy, 1.0);
}

TEST_F(FilePlayback, SeekToStartStopsAndGoesBackToTheBeginning) {
    ASSERT_EQ(
        playback->Load(Write("song.mid", BuildMidiFile(FourChords(), 120, 105, test::NoOffsets))),
        "");
    playback->Play();
    RenderMs(1500);
    playback->SeekToStart();
    EXPECT_EQ(playback->Mode(), PlayerMode::Stopped);
    EXPECT_EQ(playback->Position().positionMs, 0);
    playback->Play();
    double energy = 0;
    const long long frames = RenderToEnd(10 * FourChordsMs, energy);
    EXPECT_NEAR(static_cast<double>(frames * 1000 / SampleRate), static_cast<double>(FourChordsMs),
                50.0);
}

TEST_F(FilePlayback, ADamagedFileGivesThePlayersErrorAndKeepsTheLoadedOne) {
    const QString good = Write("good.mid", BuildMidiFile(FourChords(), 120, 105, test::NoOffsets));
    MidiBytes cut = BuildMidiFile(FourChords(), 120, 105, test::NoOffsets);
    cut.resize(cut.size() - 10); // the note track ends inside a chord
    const QString damaged = Write("cut.mid", cut);
    const QString text = Write("notes.mid", MidiBytes{'h', 'e', 'l', 'l', 'o'});
    MidiBytes frames = BuildMidiFile(FourChords(), 120, 105, test::NoOffsets);
    frames[12] = 0xE7; // -25 frames per second,
    frames[13] = 0x28; // 40 ticks per frame: sound, but timed in SMPTE frames
    const QString smpte = Write("frames.mid", frames);
    const QString missing = QString::fromStdString(folder / "missing.mid");

    ASSERT_EQ(playback->Load(good), "");
    playback->Play();
    RenderMs(300);
    EXPECT_EQ(playback->Load(damaged), "Not a MIDI file: " + damaged);
    EXPECT_EQ(playback->Load(text), "Not a MIDI file: " + text);
    EXPECT_EQ(playback->Load(smpte),
              "The MIDI file uses SMPTE timing, which the player cannot play: " + smpte);
    EXPECT_EQ(playback->Load(missing),
              "Opening \"" + missing + "\" failed: No such file or directory.");
    // A named pipe is refused at once, never opened (opening it would wait for a writer).
    const std::filesystem::path pipe = folder / "pipe.mid";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const QString pipeError = playback->Load(QString::fromStdString(pipe));
    EXPECT_TRUE(pipeError.contains(QStringLiteral("named pipe"))) << pipeError.toStdString();
    // What was playing plays on.
    EXPECT_EQ(playback->Mode(), PlayerMode::Playing);
    EXPECT_EQ(playback->Position().lengthMs, FourChordsMs);
    EXPECT_GT(RenderMs(300), 0.0);
}

TEST_F(FilePlayback, UnloadSilencesAndForgetsTheFile) {
    ASSERT_EQ(
        playback->Load(Write("song.mid", BuildMidiFile(FourChords(), 120, 105, test::NoOffsets))),
        "");
    playback->Play();
    RenderMs(200);
    playback->Unload();
    EXPECT_FALSE(playback->HasFile());
    EXPECT_EQ(playback->Mode(), PlayerMode::Stopped);
    EXPECT_EQ(playback->Position().lengthMs, 0);
    playback->Play(); // nothing loaded: nothing happens
    EXPECT_EQ(playback->Mode(), PlayerMode::Stopped);
    // The notes stop at once; only the reverb's echo dies away.
    const double echo = RenderMs(500);
    RenderMs(2500);
    EXPECT_LT(RenderMs(500), echo / 1000);
    EXPECT_LT(RenderMs(100), 1e-6);
}

TEST_F(FilePlayback, LoadingAnotherFileReplacesThePlayingOne) {
    ASSERT_EQ(
        playback->Load(Write("first.mid", BuildMidiFile(FourChords(), 120, 105, test::NoOffsets))),
        "");
    playback->Play();
    RenderMs(1000);
    // One whole note at tempo 60: 4000 ms.
    const QString second = Write(
        "second.mid", BuildMidiFile(test::Song({"G, 0, 0, 0, 0, 0, W"}), 60, 105, test::NoOffsets));
    ASSERT_EQ(playback->Load(second), "");
    EXPECT_EQ(playback->Mode(), PlayerMode::Stopped);
    EXPECT_EQ(playback->Position().positionMs, 0);
    EXPECT_EQ(playback->Position().lengthMs, 4000);
    // The first file's notes stop with it; only the reverb's echo is left.
    RenderMs(2000);
    EXPECT_LT(RenderMs(500), 1e-3);
    playback->Play();
    double energy = 0;
    const long long frames = RenderToEnd(40000, energy);
    EXPECT_NEAR(static_cast<double>(frames * 1000 / SampleRate), 4000.0, 50.0);
    EXPECT_GT(energy, 1.0);
}

} // namespace
} // namespace fw

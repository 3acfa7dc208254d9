// The MIDI player's memory when a big file is replayed: a 5 MB file of 700,000 notes is loaded
// into the synthesizer's real file player, rendered by a thread of our own in real time (the
// null audio driver: no sound card needed), and Play is pressed 20 times as the window presses
// it (to the start, then play). Budget: under 20 MiB of growth.
//
// Last line: midi player replay: load=<MiB> after20=<MiB> (resident memory after loading and
// after the 20 presses).

#include "sound/fluid_file_playback.h"
#include "sound/fluid_support.h"
#include "sound/tests/many_notes_midi.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include <unistd.h>

namespace {

using namespace fw;

constexpr int SampleRate = 44100;
constexpr int Period = 256;

double ResidentMiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1 << 20);
}

} // namespace

int main() {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("fretwick-replay-bench-" + std::to_string(getpid()) + ".mid");
    const std::string bytes = test::ManyNotesMidi(700'000);
    std::ofstream(file, std::ios::binary) << bytes;

    LoadedSynth loaded = MakeLoadedSynth("", SampleRate);
    if (!loaded.error.empty()) {
        std::fprintf(stderr, "midi player replay: %s\n", loaded.error.c_str());
        return 1;
    }
    FluidFilePlayback playback(loaded.synth.get());
    // The null audio driver: one period at a time, in real time, as a sound card asks for it.
    std::atomic<bool> running{true};
    std::thread audio([&] {
        std::array<float, Period> left{}, right{};
        auto next = std::chrono::steady_clock::now();
        while (running) {
            playback.Render(Period, left.data(), right.data());
            next += std::chrono::microseconds(1'000'000LL * Period / SampleRate);
            std::this_thread::sleep_until(next);
        }
    });
    const auto settle = [] { std::this_thread::sleep_for(std::chrono::milliseconds(400)); };

    if (const QString error = playback.Load(QString::fromStdString(file.string()));
        !error.isEmpty()) {
        std::fprintf(stderr, "midi player replay: %s\n", error.toUtf8().constData());
        running = false;
        audio.join();
        return 1;
    }
    playback.Play();
    settle(); // the player reads its file at its first turn
    const double load = ResidentMiB();
    for (int press = 0; press < 20; ++press) {
        playback.SeekToStart();
        playback.Play();
        settle();
    }
    const double after20 = ResidentMiB();
    running = false;
    audio.join();
    std::filesystem::remove(file);
    std::printf("midi player replay: %.1f MB file, %s\n", bytes.size() / 1e6,
                playback.Mode() == PlayerMode::Playing ? "playing" : "NOT PLAYING");
    std::printf("midi player replay: load=%.0f after20=%.0f\n", load, after20);
    return after20 - load < 20 ? 0 : 1;
}

// The first note after the built-in synth's audio output was closed at rest: the synth sounds
// a chord (as a preview does), is left alone until its output closes, then a preview is
// "clicked" and the time until the chord is heard on the sound server's null sink is measured,
// by recording that sink's monitor with parec. Run by scripts/bench with PULSE_SERVER set to a
// private server whose only output is the null sink named by FRETWICK_NULL_SINK; without it the
// program says so and does nothing.
//
// Prints: first-note=<ms> closed-after=<s> (or the reason it could not measure).

#include "chords/chord_parser.h"
#include "sound/chord_player.h"
#include "sound/midi_port.h"
#include "sound/steady_play_clock.h"
#include "sound/synth_output.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

using namespace fw;
using Clock = std::chrono::steady_clock;

long long Nanoseconds(Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

// Reads the null sink's monitor until stopped, noting when the first loud sample arrives after
// `armed` was set.
struct MonitorReader {
    std::atomic<bool> armed{false};
    std::atomic<bool> stop{false};
    std::atomic<long long> heardAtNs{-1};
    std::atomic<int> loudest{0};
    FILE* pipe = nullptr;

    void Run() {
        std::int16_t samples[64];
        while (!stop && std::fread(samples, sizeof samples, 1, pipe) == 1) {
            if (!armed || heardAtNs >= 0)
                continue;
            for (const std::int16_t s : samples) {
                loudest = std::max(loudest.load(), std::abs(static_cast<int>(s)));
                if (s > 300 || s < -300) {
                    heardAtNs = Nanoseconds(Clock::now());
                    break;
                }
            }
        }
    }
};

} // namespace

int main() {
    const char* sink = std::getenv("FRETWICK_NULL_SINK");
    if (sink == nullptr || std::getenv("PULSE_SERVER") == nullptr) {
        std::puts("idle audio bench: FRETWICK_NULL_SINK and PULSE_SERVER are not set");
        return 0;
    }
    SynthOutput synth;
    synth.Prepare();
    if (const std::string problem = synth.Problem(); !problem.empty()) {
        std::printf("first-note=none (%s)\n", problem.c_str());
        return 1;
    }
    MidiPortSettings settings;
    MidiPort port(synth, settings);
    SteadyPlayClock clock;
    ChordPlayerState state;
    ChordPlayer player(port, clock, state);
    const ChordEntry g = ParseChordText("G, 0, 0, 0, 0, 0, Q", 0).entry;

    MonitorReader reader;
    const std::string command = std::string("parec --raw --format=s16le --channels=1 "
                                            "--rate=48000 --latency-msec=2 -d ") +
                                sink + ".monitor";
    reader.pipe = ::popen(command.c_str(), "r");
    if (reader.pipe == nullptr) {
        std::puts("first-note=none (parec could not be started)");
        return 1;
    }
    std::thread reading([&reader] { reader.Run(); });
    // A preview "clicked" now; the milliseconds until it is heard on the null sink, or -1.
    const auto measure = [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500)); // the recording settles
        reader.heardAtNs = -1;
        reader.armed = true;
        const Clock::time_point click = Clock::now();
        PreviewChord(port, player, g.Note, g.HammerNote);
        for (int i = 0; i < 200 && reader.heardAtNs < 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        reader.armed = false;
        const long long heard = reader.heardAtNs;
        return heard < 0 ? -1.0 : static_cast<double>(heard - Nanoseconds(click)) / 1e6;
    };
    // With the output running, for comparison (the recording takes a moment to start).
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const double warm = measure();

    // Left alone, the output closes once nothing has sounded for its idle stretch.
    const Clock::time_point quietFrom = Clock::now();
    while (synth.OutputRunning() && Clock::now() - quietFrom < std::chrono::seconds(30))
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const double closedAfter = std::chrono::duration<double>(Clock::now() - quietFrom).count();
    if (synth.OutputRunning()) {
        std::puts("first-note=none (the output did not close at rest)");
        std::fflush(stdout);
        std::quick_exit(1);
    }
    const double cold = measure();
    if (cold < 0) {
        std::printf("first-note=none (nothing was heard: loudest sample %d)\n",
                    reader.loudest.load());
        std::fflush(stdout);
        std::quick_exit(1);
    }
    std::printf("first-note=%.1f (with the output running: %.1f ms; closed after %.1f s at rest)\n",
                cold, warm, closedAfter);
    std::fflush(stdout);
    // parec keeps recording until killed; the script ends it with the server.
    std::quick_exit(0);
}

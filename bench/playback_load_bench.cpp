// Playback under load: 1,000 chords at tempo 500 scheduled ahead on the built-in synthesizer's
// sequencer, while the main thread is kept busy in bursts as a window repainting and
// following the playing line would keep it. A render thread stands in for the audio output:
// it renders the synth's audio in the synth's blocks of 64 frames, a period of 256 frames at a
// time, paced by the steady clock as a sound card asks for it. Each chord's onset is read at
// the synth's clock (the first frame of the block that sounds it) and compared with the
// chord's place in the schedule. Budgets: p99 under 500 us, worst under 1 ms, under 3% of one
// core for the play itself (the bursts of simulated window work are not counted).
//
// Last line: playback under load: p50=<us> p99=<us> worst=<us> cpu=<percent>

#include "chords/chord_parser.h"
#include "sound/chord_player.h"
#include "sound/fluid_scheduler.h"
#include "sound/fluid_support.h"
#include "sound/midi_port.h"
#include "sound/recording_output.h"
#include "sound/scheduled_play.h"
#include "sound/short_message.h"
#include "sound/steady_play_clock.h"

#include <QCoreApplication>
#include <QTimer>

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace fw;
using namespace std::chrono_literals;

constexpr int ChordCount = 1000;
constexpr int Tempo = 500;
constexpr int SampleRate = 44100;
constexpr int Block = 64;   // FluidSynth's block
constexpr int Period = 256; // what the audio output asks for at a time

std::vector<ChordEntry> Chords() {
    const char* pattern[] = {"G, 0, 0, 0, 0, 0, T", "C, x, 2, 0, 1, 2, S",
                             "Slide, 0, 2-4, 0, 0, 0, F", "D, x, 3, 2, 0, 0, E"};
    std::vector<ChordEntry> chords;
    for (int i = 0; i < ChordCount; ++i)
        chords.push_back(ParseChordText(pattern[i % 4], 0).entry);
    return chords;
}

double ThreadCpuUs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

double ProcessCpuUs() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return (r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1e6 + r.ru_utime.tv_usec + r.ru_stime.tv_usec;
}

// Renders the synth's audio in real time on its own thread, as an audio output would.
class RenderThread {
public:
    explicit RenderThread(fluid_synth_t* synth) : synth_(synth), thread_([this] { Run(); }) {}
    ~RenderThread() {
        quit_ = true;
        thread_.join();
    }
    // The first frame of the block being rendered now: the synth's clock.
    long long BlockStart() const { return blockStart_.load(std::memory_order_relaxed); }
    double CpuUs() const { return cpu_.load(); }

private:
    void Run() {
        std::array<float, Block> left{}, right{};
        const auto start = std::chrono::steady_clock::now();
        long long frames = 0;
        while (!quit_) {
            for (int i = 0; i < Period / Block; ++i) {
                blockStart_.store(frames, std::memory_order_relaxed);
                if (fluid_synth_write_float(synth_, Block, left.data(), 0, 1, right.data(), 0, 1) !=
                    FLUID_OK)
                    std::printf("render failed\n");
                frames += Block;
            }
            cpu_.store(ThreadCpuUs());
            std::this_thread::sleep_until(start +
                                          std::chrono::microseconds(frames * 1000000 / SampleRate));
        }
    }

    fluid_synth_t* synth_;
    std::atomic<long long> blockStart_{0};
    std::atomic<double> cpu_{0};
    std::atomic<bool> quit_{false};
    std::thread thread_;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    LoadedSynth loaded = MakeLoadedSynth("", SampleRate);
    if (!loaded.error.empty()) {
        std::printf("playback under load: %s\n", loaded.error.c_str());
        return 1;
    }
    std::string error;
    std::unique_ptr<FluidScheduler> scheduler = FluidScheduler::Make(loaded.synth.get(), &error);
    if (!scheduler) {
        std::printf("playback under load: %s\n", error.c_str());
        return 1;
    }
    RenderThread render(loaded.synth.get());

    // The port only shapes the messages; the sequencer sends them.
    RecordingOutput unused;
    const MidiPortSettings portSettings;
    MidiPort port(unused, portSettings);
    if (!port.OpenMidiPort().empty())
        return 1;
    ScheduledPlayOptions options;
    options.Last = ChordCount - 1;
    options.Tempo = Tempo;
    ScheduledPlay play(*scheduler, port, Chords(), options);

    // Each chord's onset: a callback scheduled right after its notes runs in the block that
    // sounds them and reads the synth's clock there.
    std::mutex mutex;
    std::vector<std::pair<PlayTime, long long>> onsets; // scheduled time, frame sounded
    onsets.reserve(ChordCount);
    // Chords the main thread scheduled only after their time: it was held up for longer than
    // the lead (on a machine busy with other programs).
    int scheduledLate = 0;
    play.OnChordScheduled = [&](PlayTime start, int) {
        if (scheduler->Now() >= start)
            ++scheduledLate;
        scheduler->ScheduleCallback(start, [&, start] {
            std::lock_guard lock(mutex);
            onsets.emplace_back(start, render.BlockStart());
        });
    };
    const double cpuBefore = ProcessCpuUs();
    const double renderBefore = render.CpuUs();
    double loadCpu = 0;
    const PlayTime wallStart = SteadyPlayClock::SteadyNow();
    play.Start(10ms);
    QTimer pump;
    pump.setTimerType(Qt::PreciseTimer);
    QObject::connect(&pump, &QTimer::timeout, [&] {
        play.Pump();
        (void)play.PlayingLine();
        if (play.Finished())
            app.quit();
    });
    pump.start(5);
    // Window work: a burst of 8 ms every 16 ms, as a repaint of the neck and a long editor.
    QTimer load;
    QObject::connect(&load, &QTimer::timeout, [&] {
        const double before = ThreadCpuUs();
        const PlayTime until = SteadyPlayClock::SteadyNow() + 8ms;
        volatile unsigned spin = 0;
        while (SteadyPlayClock::SteadyNow() < until)
            spin = spin + 1;
        loadCpu += ThreadCpuUs() - before;
    });
    load.start(16);
    app.exec();
    const double wallUs = static_cast<double>((SteadyPlayClock::SteadyNow() - wallStart).count());
    // The render thread stands in for the audio output, which renders all the time whether
    // or not a play runs: its share is shown on its own.
    const double renderUs = render.CpuUs() - renderBefore;
    const double cpuUs = ProcessCpuUs() - cpuBefore - loadCpu - renderUs;

    std::lock_guard lock(mutex);
    if (onsets.size() != ChordCount) {
        std::printf("playback under load: %zu onsets of %d chords\n", onsets.size(), ChordCount);
        return 1;
    }
    // The sequencer's time 0 is the first frame it rendered.
    std::vector<long long> lateness;
    for (const auto& [at, frame] : onsets)
        lateness.push_back(frame * 1000000 / SampleRate - at.count());
    std::sort(lateness.begin(), lateness.end());
    // A block lasts 1451 us: an onset further off than half of it was scheduled too late.
    const long long halfBlockUs = 1000000LL * FluidScheduler::BlockFrames / SampleRate / 2 + 1;
    const auto tooLate = std::count_if(lateness.begin(), lateness.end(),
                                       [&](long long us) { return us > halfBlockUs; });
    std::printf("%d chords at tempo %d, %.3f s; earliest onset %lld us; %ld onsets beyond half "
                "a block, %d chords scheduled after their time; audio rendering %.2f%% of a core\n",
                ChordCount, Tempo, wallUs / 1e6, lateness.front(), static_cast<long>(tooLate),
                scheduledLate, 100.0 * renderUs / wallUs);
    std::printf("playback under load: p50=%lld p99=%lld worst=%lld cpu=%.2f\n",
                lateness[lateness.size() / 2], lateness[lateness.size() * 99 / 100],
                lateness.back(), 100.0 * cpuUs / wallUs);
    return 0;
}

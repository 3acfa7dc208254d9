// Live playback timing: 1,000 short chords played on the real clock into the recording
// device, once with plain sleeping waits (previews) and once with pumped waits running a Qt
// event loop (a play). Each message's time is compared with its schedule, which is the same
// chords played on the virtual clock. Budgets: onset lateness p99 under 500 us, drift after
// 1,000 chords under 1 ms, under 2% of one core.
//
// Last line: playback: p50=<us> p99=<us> max=<us> drift=<ms> cpu=<percent> (the pumped run).

#include "chords/chord_parser.h"
#include "sound/chord_player.h"
#include "sound/qt_event_pump.h"
#include "sound/recording_output.h"
#include "sound/steady_play_clock.h"
#include "sound/synth_output.h"
#include "sound/virtual_play_clock.h"

#include <QCoreApplication>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace fw;

constexpr int ChordCount = 1000;
constexpr int Tempo = 500; // the fastest: the shortest waits

std::vector<ChordEntry> Chords() {
    const char* pattern[] = {"G, 0, 0, 0, 0, 0, T", "C, x, 2, 0, 1, 2, S",
                             "Slide, 0, 2-4, 0, 0, 0, F", "Rest, x, x, x, x, x, F"};
    std::vector<ChordEntry> chords;
    for (int i = 0; i < ChordCount; ++i)
        chords.push_back(ParseChordText(pattern[i % 4], 0).entry);
    return chords;
}

struct Run {
    std::vector<PlayTime> messageTimes; // from the start of the play
    PlayTime end{0};                    // when the last chord returned, from the start
    double cpuPercent = 0;
};

// Plays the chords back to back, each starting where the previous one ended.
Run Play(PlayClock& clock, const std::vector<ChordEntry>& chords, bool pump) {
    RecordingOutput device(&clock);
    device.Reserve(chords.size() * 12);
    const MidiPortSettings settings;
    MidiPort port(device, settings);
    ChordPlayerState state;
    state.Tempo = Tempo;
    ChordPlayer player(port, clock, state);
    if (!port.OpenMidiPort().empty())
        return {};
    const int whole = WholeNoteMs(Tempo);

    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const PlayTime start = clock.Now();
    PlayTime cursor = start;
    for (const ChordEntry& chord : chords)
        cursor = player.PlayChordFrom(cursor, chord.Note, chord.HammerNote,
                                      DurationValue(chord.Duration, whole), pump);
    const PlayTime end = clock.Now();
    rusage after{};
    getrusage(RUSAGE_SELF, &after);

    Run run;
    for (const auto& e : device.Messages())
        run.messageTimes.push_back(e.time - start);
    run.end = end - start;
    const auto cpuUs = [](const rusage& r) {
        return (r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1e6 + r.ru_utime.tv_usec +
               r.ru_stime.tv_usec;
    };
    const double wallUs = static_cast<double>((end - start).count());
    run.cpuPercent = wallUs > 0 ? 100.0 * (cpuUs(after) - cpuUs(before)) / wallUs : 0;
    return run;
}

// Prints the figures of a real run against the schedule; false when a message is missing.
bool Report(const char* label, const Run& real, const Run& schedule) {
    if (real.messageTimes.size() != schedule.messageTimes.size() || real.messageTimes.empty()) {
        std::printf("%s: the real run sent %zu messages, the schedule %zu\n", label,
                    real.messageTimes.size(), schedule.messageTimes.size());
        return false;
    }
    std::vector<long long> lateness;
    for (std::size_t i = 0; i < real.messageTimes.size(); ++i)
        lateness.push_back((real.messageTimes[i] - schedule.messageTimes[i]).count());
    std::sort(lateness.begin(), lateness.end());
    const std::size_t n = lateness.size();
    const double drift = static_cast<double>((real.end - schedule.end).count()) / 1000.0;
    std::printf("%s: p50=%lld p99=%lld max=%lld drift=%.3f cpu=%.2f\n", label, lateness[n / 2],
                lateness[n * 99 / 100], lateness[n - 1], drift, real.cpuPercent);
    return true;
}

// The built-in synthesizer's first open (waiting for the soundfont) and the reopens that the
// per-sounding mode does around every preview (budget: under 5 ms each).
void ReportSynthOpens() {
    SynthOutput synth;
    const PlayTime start = SteadyPlayClock::SteadyNow();
    synth.Prepare();
    const std::string problem = synth.Problem(); // waits for the loading
    const int result = synth.Open(BuiltInSynthDevice);
    const PlayTime prepared = SteadyPlayClock::SteadyNow();
    PlayTime slowest{0};
    for (int i = 0; i < 100; ++i) {
        synth.Close();
        const PlayTime before = SteadyPlayClock::SteadyNow();
        const int again = synth.Open(BuiltInSynthDevice);
        slowest = std::max(slowest, SteadyPlayClock::SteadyNow() - before);
        if (again != result)
            std::printf("synth: reopen gave %d after %d\n", again, result);
    }
    synth.Close();
    std::printf("synth: open result %d (%s), first open %.1f ms, slowest reopen %lld us\n", result,
                result == MidiResultOk ? "sound" : problem.c_str(),
                static_cast<double>((prepared - start).count()) / 1000.0,
                static_cast<long long>(slowest.count()));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // Something for the event loop to do besides waiting, as a window would have.
    QTimer ticker;
    int ticks = 0;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(10);

    ReportSynthOpens();
    const std::vector<ChordEntry> chords = Chords();
    VirtualPlayClock virtualClock;
    const Run schedule = Play(virtualClock, chords, true);
    std::printf("%d chords at tempo %d, %zu messages, %.3f s each run\n", ChordCount, Tempo,
                schedule.messageTimes.size(), static_cast<double>(schedule.end.count()) / 1e6);

    SteadyPlayClock sleeping;
    const bool unpumpedOk = Report("unpumped", Play(sleeping, chords, false), schedule);

    SteadyPlayClock pumping(QtEventPump());
    const bool pumpedOk = Report("playback", Play(pumping, chords, true), schedule);
    return unpumpedOk && pumpedOk && ticks > 0 ? 0 : 1;
}

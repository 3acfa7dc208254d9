// Playback under load, through the real main window: a 1,000-chord song at tempo 500 played
// with the Play button on the built-in synthesizer's sequencer, with Debug on (the editor
// follows the playing line), while a timer forces a repaint of the neck and of the editor
// every 16 ms. The synthesizer is a real FluidSynth synth at the live rate (96 kHz; `--rate
// 44100` runs the fallback rate); a render thread stands in for the audio output (no sound
// card): it renders the synth's 64-frame blocks one output period at a time, paced by the
// steady clock as a sound card asks for them.
//
// Each note-on time is measured at the synth's clock: the window's scheduler is wrapped in a
// scheduler that, after the notes of each new onset time, schedules a callback for the same
// time; the callback runs in the block that sounds the notes and reads that block's first
// frame. An onset's error is the distance of that frame's time from the onset's scheduled
// time, early or late: p50, p99 and worst are of that distance (the earliest and the latest
// onset are shown on the line before).
//
// CPU of the play: the process's CPU time over the play (user and system, every thread) less
// the render thread's own CPU time (read from its thread clock: the audio output renders all
// the time, play or not) less the CPU time of the forced repaints (the GUI thread's clock read
// around each forced repaint() pair), as a share of the play's wall time; less the same share
// measured over 5 s of the window standing idle under the same forced repaints just before the
// play (the repaint timer waking the event loop, and whatever an idle window does, are not the
// play's). What is left is the play's: the play session's loop and its waits, scheduling, the
// line selection, neck markers and chord name it shows and every paint those cause, and the
// event handling they add. The line before the last shows both shares and the paints the play
// causes, by widget. Budgets: p99 under 500 us, worst under 1 ms, cpu under 3% of one core.
//
// Last line: playback under load: p50=<us> p99=<us> worst=<us> cpu=<percent>

#include "offscreen_home.h"

#include "app/main_sound.h"
#include "app/play_session.h"
#include "editor/fretboard_view.h"
#include "sound/audio_driver.h"
#include "sound/fluid_scheduler.h"
#include "sound/fluid_support.h"
#include "sound/qt_event_pump.h"
#include "sound/recording_output.h"
#include "sound/short_message.h"
#include "sound/steady_play_clock.h"
#include "ui/scripted_dialog_service.h"
#include "windows/frm_main.h"
#include "windows/main_controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <pthread.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace fw;
using namespace std::chrono_literals;

constexpr int ChordCount = 1000;
constexpr int Tempo = 500;
constexpr int Block = FluidScheduler::BlockFrames;

std::string SongText() {
    const char* pattern[] = {"G, 0, 0, 0, 0, 0, T", "C, x, 2, 0, 1, 2, S",
                             "Slide, 0, 2-4, 0, 0, 0, F", "D, x, 3, 2, 0, 0, E"};
    std::string text;
    for (int i = 0; i < ChordCount; ++i)
        text += std::string(pattern[i % 4]) + "\n";
    return text;
}

double CpuUs(clockid_t clock) {
    timespec t{};
    if (clock_gettime(clock, &t) != 0)
        return 0;
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
    RenderThread(fluid_synth_t* synth, int sampleRate)
        : synth_(synth), rate_(sampleRate), period_(AudioPeriodSizeAt(sampleRate)),
          thread_([this] { Run(); }) {}
    ~RenderThread() {
        quit_ = true;
        thread_.join();
    }
    // The first frame of the block being rendered now: the synth's clock.
    long long BlockStart() const { return blockStart_.load(std::memory_order_relaxed); }
    // The render thread's CPU time so far.
    double CpuUs() {
        clockid_t clock{};
        return pthread_getcpuclockid(thread_.native_handle(), &clock) == 0 ? ::CpuUs(clock) : 0;
    }
    int Period() const { return period_; }
    bool Failed() const { return failed_.load(); }
    // Runs `f` between two blocks, with the frames rendered so far.
    template <typename F> void BetweenBlocks(F f) {
        std::lock_guard lock(blockMutex_);
        f(framesRendered_);
    }

private:
    void Run() {
        std::array<float, Block> left{}, right{};
        const auto start = std::chrono::steady_clock::now();
        long long frames = 0;
        while (!quit_) {
            for (int i = 0; i < period_ / Block; ++i) {
                std::lock_guard lock(blockMutex_);
                blockStart_.store(frames, std::memory_order_relaxed);
                if (fluid_synth_write_float(synth_, Block, left.data(), 0, 1, right.data(), 0, 1) !=
                    FLUID_OK)
                    failed_ = true;
                frames += Block;
                framesRendered_ = frames;
            }
            std::this_thread::sleep_until(start +
                                          std::chrono::microseconds(frames * 1000000 / rate_));
        }
    }

    fluid_synth_t* synth_;
    const int rate_;
    const int period_;
    std::mutex blockMutex_;
    long long framesRendered_ = 0; // under blockMutex_
    std::atomic<long long> blockStart_{0};
    std::atomic<bool> failed_{false};
    std::atomic<bool> quit_{false};
    std::thread thread_;
};

// What the measuring scheduler saw, kept past the play (the window destroys its scheduler).
struct Onsets {
    std::mutex mutex;
    std::vector<std::pair<PlayTime, long long>> sounded; // scheduled time, frame sounded
    long long origin = -1; // the frame the sequencer counts its time from
    int requested = 0;     // onsets whose callback was scheduled
    int scheduledLate = 0; // onsets scheduled only after their time had passed
};

// The window's scheduler: the synth's sequencer, with a reading of the synth's clock after the
// notes of every new note-on time.
class MeasuringScheduler : public PlaybackScheduler {
public:
    MeasuringScheduler(std::unique_ptr<FluidScheduler> inner, RenderThread& render, Onsets& onsets)
        : inner_(std::move(inner)), render_(render), onsets_(onsets) {}

    PlayTime Now() const override { return inner_->Now(); }
    void Schedule(PlayTime at, std::uint32_t message) override {
        inner_->Schedule(at, message);
        const ShortMessage m = UnpackShortMessage(message);
        if (m.Kind() != 0x90 || m.data2 == 0 || at == lastMeasured_)
            return;
        lastMeasured_ = at;
        const bool late = inner_->Now() >= at;
        {
            std::lock_guard lock(onsets_.mutex);
            ++onsets_.requested;
            onsets_.scheduledLate += late ? 1 : 0;
        }
        inner_->ScheduleCallback(at, [this, at] {
            const long long frame = render_.BlockStart();
            std::lock_guard lock(onsets_.mutex);
            onsets_.sounded.emplace_back(at, frame);
        });
    }
    void ScheduleCallback(PlayTime at, std::function<void()> callback) override {
        inner_->ScheduleCallback(at, std::move(callback));
    }
    void CancelAll() override { inner_->CancelAll(); }
    std::size_t Pending() const override { return inner_->Pending(); }

private:
    std::unique_ptr<FluidScheduler> inner_;
    RenderThread& render_;
    Onsets& onsets_;
    PlayTime lastMeasured_{-1};
};

// Counts the CPU time the GUI thread spends painting widgets outside the forced repaints:
// the paints the play itself causes (the playing line selected, the neck's markers).
class PaintMeteredApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        if (event->type() != QEvent::Paint || forced)
            return QApplication::notify(receiver, event);
        const double before = CpuUs(CLOCK_THREAD_CPUTIME_ID);
        const bool result = QApplication::notify(receiver, event);
        const double spent = CpuUs(CLOCK_THREAD_CPUTIME_ID) - before;
        byClass[receiver->metaObject()->className()] += spent;
        paintCpu += spent;
        return result;
    }
    bool forced = false; // inside a forced repaint
    double paintCpu = 0; // outside them
    std::map<std::string, double> byClass;
};

// The main window over a recording port on the steady clock, its range plays scheduled on the
// synth's sequencer, as the program wires it.
struct Window {
    ScriptedDialogService dialogs;
    SteadyPlayClock clock{QtEventPump()};
    RecordingOutput output{&clock};
    MainSound sound{output, clock};
    TfrmMain window{Deps()};

private:
    MainWindowDeps Deps() {
        MainWindowDeps deps;
        deps.dialogs = &dialogs;
        deps.sound = &sound;
        return deps;
    }
};

int Fail(const std::string& why) {
    std::printf("playback under load: %s\n", why.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    int rate = static_cast<int>(LiveSynthSampleRate);
    if (argc == 3 && std::strcmp(argv[1], "--rate") == 0)
        rate = std::atoi(argv[2]);
    if (rate < 8000 || rate > 96000) {
        std::fprintf(stderr, "usage: %s [--rate 8000..96000]\n", argv[0]);
        return 2;
    }
    QTemporaryDir home;
    UseOffscreenHome(home);
    int qtArgc = 1;
    PaintMeteredApplication app(qtArgc, argv);

    LoadedSynth loaded = MakeLoadedSynth("", rate);
    if (!loaded.error.empty())
        return Fail(loaded.error);
    RenderThread render(loaded.synth.get(), rate);
    Onsets onsets;
    std::string schedulerError;

    Window bench;
    TfrmMain& window = bench.window;
    bench.sound.makeScheduler = [&]() -> std::unique_ptr<PlaybackScheduler> {
        std::unique_ptr<FluidScheduler> fluid;
        // Made between two blocks, so that the sequencer's time 0 is a known frame.
        render.BetweenBlocks([&](long long frames) {
            fluid = FluidScheduler::Make(loaded.synth.get(), &schedulerError);
            std::lock_guard lock(onsets.mutex);
            onsets.origin = frames;
        });
        if (!fluid)
            return nullptr;
        return std::make_unique<MeasuringScheduler>(std::move(fluid), render, onsets);
    };
    bench.sound.scheduleStartDelay = 10ms; // as the program has it

    window.show();
    window.LoadSongText(SongText());
    window.setTempo(Tempo);
    window.ui().chkTrace->setChecked(true); // Debug: the editor follows the playing line
    window.ui().playOptionGroup->button(0)->setChecked(true); // play the whole song
    QCoreApplication::processEvents();
    if (window.lines().lineCount() < ChordCount)
        return Fail("the song did not load");

    // The window's own work beyond the play: the neck and the editor repainted every 16 ms.
    double repaintCpu = 0;
    int repaints = 0;
    QTimer repaintTimer;
    QObject::connect(&repaintTimer, &QTimer::timeout, [&] {
        const double before = CpuUs(CLOCK_THREAD_CPUTIME_ID);
        app.forced = true;
        window.fretboard()->repaint();
        window.ui().RichEdit1->viewport()->repaint();
        app.forced = false;
        repaintCpu += CpuUs(CLOCK_THREAD_CPUTIME_ID) - before;
        ++repaints;
    });
    repaintTimer.start(16);

    // The CPU of a stretch of time, less the render thread's and the forced repaints'.
    struct Stretch {
        double wallUs = 0, processUs = 0, renderUs = 0, repaintUs = 0;
        double Rest() const { return processUs - renderUs - repaintUs; }
        double Percent(double us) const { return 100.0 * us / wallUs; }
    };
    const auto measure = [&](const auto& run) {
        const double cpuBefore = ProcessCpuUs();
        const double renderBefore = render.CpuUs();
        const double repaintBefore = repaintCpu;
        const PlayTime wallStart = SteadyPlayClock::SteadyNow();
        run();
        Stretch stretch;
        stretch.wallUs = static_cast<double>((SteadyPlayClock::SteadyNow() - wallStart).count());
        stretch.renderUs = render.CpuUs() - renderBefore;
        stretch.processUs = ProcessCpuUs() - cpuBefore;
        stretch.repaintUs = repaintCpu - repaintBefore;
        return stretch;
    };
    // The window standing idle under the forced repaints: what the repaints cost beyond their
    // own paint calls (their timer waking the event loop) and what an idle window does anyway.
    const Stretch idle = measure([] {
        QEventLoop wait;
        QTimer::singleShot(5000, &wait, &QEventLoop::quit);
        wait.exec();
    });
    app.paintCpu = 0;
    app.byClass.clear();
    const int repaintsBefore = repaints;
    const Stretch played = measure([&] {
        window.playSession().PlayButtonPressed(); // returns when the play has ended
    });
    repaintTimer.stop();
    const double wallUs = played.wallUs;
    const double cpuPercent = played.Percent(played.Rest()) - idle.Percent(idle.Rest());
    window.document().setModified(false); // closing without the save question

    if (render.Failed())
        return Fail("the synth failed to render");
    if (!schedulerError.empty())
        return Fail(schedulerError);
    if (!bench.dialogs.MessageTexts().isEmpty())
        return Fail("the window showed a message: " +
                    bench.dialogs.MessageTexts().front().toStdString());
    std::lock_guard lock(onsets.mutex);
    if (onsets.requested == 0 || static_cast<int>(onsets.sounded.size()) != onsets.requested)
        return Fail(std::to_string(onsets.sounded.size()) + " onsets sounded of " +
                    std::to_string(onsets.requested));
    std::vector<long long> lateness, error;
    for (const auto& [at, frame] : onsets.sounded) {
        // Rounded to the nearest microsecond, either way.
        const long long scaled = (frame - onsets.origin) * 1000000 - at.count() * rate;
        lateness.push_back((scaled + (scaled < 0 ? -rate / 2 : rate / 2)) / rate);
        error.push_back(std::llabs(lateness.back()));
    }
    std::sort(error.begin(), error.end());
    const auto [earliest, latest] = std::minmax_element(lateness.begin(), lateness.end());
    std::printf("%d chords at tempo %d through the main window, %d Hz, period %d frames: "
                "%.3f s, %zu onsets (earliest %lld us, latest %lld us), %d scheduled after "
                "their time; %d forced repaints %.2f%% of a core; audio rendering %.2f%% of a "
                "core; process %.2f%% of a core\n",
                ChordCount, Tempo, rate, render.Period(), wallUs / 1e6, lateness.size(), *earliest,
                *latest, onsets.scheduledLate, repaints - repaintsBefore,
                played.Percent(played.repaintUs), played.Percent(played.renderUs),
                played.Percent(played.processUs));
    std::printf("process less rendering and forced repaints: %.2f%% of a core while playing, "
                "%.2f%% standing idle for %.1f s; the play adds %.2f%%\n",
                played.Percent(played.Rest()), idle.Percent(idle.Rest()), idle.wallUs / 1e6,
                cpuPercent);
    std::printf("paints the play causes: %.2f%% of a core (", 100.0 * app.paintCpu / wallUs);
    for (const auto& [name, us] : app.byClass)
        std::printf(" %s %.2f%%", name.c_str(), 100.0 * us / wallUs);
    std::printf(" )\n");
    std::printf("playback under load: p50=%lld p99=%lld worst=%lld cpu=%.2f\n",
                error[error.size() / 2], error[error.size() * 99 / 100], error.back(), cpuPercent);
    return 0;
}

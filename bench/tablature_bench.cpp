// Tablature: ASCII tablature of a 100,000-line song (budget: well under a second), painting one
// screen of graphic tablature deep inside it, and one run of the real program's --export-tab and
// --export-pdf on a 1,000-chord song (budget: well under 100 ms each, the whole process).

#include "bench_song.h"
#include "offscreen_home.h"

#include "chords/chord_parser.h"
#include "chords/song_file.h"
#include "export/ascii_tab.h"
#include "export/tablature/tab_paint_area.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int SongLines = 100000;

std::vector<std::string> SongText(int count) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    const auto& mix = fw::bench::SongMixLines();
    for (int i = 0; i < count; ++i)
        lines.emplace_back(mix[static_cast<std::size_t>(i) % mix.size()]);
    return lines;
}

const fw::AsciiTabTitles Titles{"G Tuning - G D G B D", "A Long Song", "for the benchmark"};

// From the parsed lines to the text: items, measure sizes, header and blocks.
void BM_AsciiTab100kLines(benchmark::State& state) {
    const std::vector<std::string> lines = SongText(SongLines);
    const std::vector<fw::ChordEntry> entries = fw::bench::ParseSongLines(lines);
    std::size_t textLines = 0;
    for (auto _ : state) {
        std::vector<fw::TabItem> items = fw::BuildTabItems(entries, lines);
        fw::AssignMeasureSizes(items);
        const fw::AsciiTab tab = fw::BuildAsciiTab(items, Titles, true);
        textLines = tab.lines.size();
        benchmark::DoNotOptimize(tab.lines.data());
    }
    state.counters["text_lines"] = static_cast<double>(textLines);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * SongLines);
}
BENCHMARK(BM_AsciiTab100kLines)->Unit(benchmark::kMillisecond);

// The same with every line parsed first, as the menu command does.
void BM_ParseAndAsciiTab100kLines(benchmark::State& state) {
    const std::vector<std::string> lines = SongText(SongLines);
    for (auto _ : state) {
        const std::vector<fw::ChordEntry> entries = fw::bench::ParseSongLines(lines);
        std::vector<fw::TabItem> items = fw::BuildTabItems(entries, lines);
        fw::AssignMeasureSizes(items);
        const fw::AsciiTab tab = fw::BuildAsciiTab(items, Titles, true);
        benchmark::DoNotOptimize(tab.lines.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * SongLines);
}
BENCHMARK(BM_ParseAndAsciiTab100kLines)->Unit(benchmark::kMillisecond);

// One window's worth (593 x 400) of graphic tablature painted deep inside the long song: what a
// scroll step costs, however long the song.
void BM_PaintOneScreenDeepInside100kLines(benchmark::State& state) {
    const std::vector<std::string> lines = SongText(SongLines);
    fw::TabDocument document;
    document.items = fw::BuildTabItems(fw::bench::ParseSongLines(lines), lines);
    fw::AssignMeasureSizes(document.items);
    document.measures = fw::NonEmptyMeasures(document.items);
    document.texts = {"G Tuning - G D G B D", "A Long Song", ""};
    document.options = {false, true};
    const QSize size(fw::ScreenPaintWidth,
                     fw::ScreenPaintHeight(static_cast<int>(document.measures.size())));
    const QRect exposed(0, size.height() / 2, size.width(), 400);
    QImage image(size.width(), 400, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.translate(0, -exposed.top());
        fw::PaintTablature(painter, document, size, exposed);
    }
    state.counters["paint_height_px"] = static_cast<double>(size.height());
}
BENCHMARK(BM_PaintOneScreenDeepInside100kLines)->Unit(benchmark::kMicrosecond);

// --- The command-line tools, as a shell loop over many songs runs them ------------------------

std::filesystem::path ProgramPath() {
    // The benchmarks live in build/bench; the program in build/app.
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "app" /
           "fretwick";
}

// A song of 1,000 chords, four to a measure.
std::filesystem::path ThousandChordSong() {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "fretwick-bench-1000.fwk";
    std::vector<std::string> lines = {"* Title: A Thousand Chords", "* Sub: four to a measure"};
    for (int i = 0; i < 1000; ++i) {
        if (i > 0 && i % 4 == 0)
            lines.emplace_back();
        lines.emplace_back(i % 9 == 0 ? "Slide, 0, 2-4, 0, 0, 0, E"
                                      : "G, 0, " + std::to_string(i % 12) + ", 0, 1, 2, Q");
    }
    std::ofstream(path, std::ios::binary) << fw::SongFileText(lines, 105, 55555, 120);
    return path;
}

// Runs the program once with `arguments`; returns its exit status.
int RunProgram(const std::vector<std::string>& arguments) {
    const std::string program = ProgramPath().string();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void RunTool(benchmark::State& state, const char* tool, const char* extension) {
    const std::string song = ThousandChordSong().string();
    const std::string out =
        (std::filesystem::temp_directory_path() / (std::string("fretwick-bench-out") + extension))
            .string();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const int status = RunProgram({tool, song, out, "--durations"});
        const auto end = std::chrono::steady_clock::now();
        if (status != 0) {
            state.SkipWithError("the program failed");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["output_bytes"] = static_cast<double>(std::filesystem::file_size(out));
}

void BM_CommandLineExportTab1000Chords(benchmark::State& state) {
    RunTool(state, "--export-tab", ".tab");
}
BENCHMARK(BM_CommandLineExportTab1000Chords)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_CommandLineExportPdf1000Chords(benchmark::State& state) {
    RunTool(state, "--export-pdf", ".pdf");
}
BENCHMARK(BM_CommandLineExportPdf1000Chords)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // Painting needs fonts, which need a GUI application; no display is used.
    QTemporaryDir home;
    UseOffscreenHome(home);
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

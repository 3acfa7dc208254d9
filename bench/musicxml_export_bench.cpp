// MusicXML export: a 1,000-chord song (budget well under 100 ms, also measured through the
// command line, file written) and a 100,000-line song (well under a second) with plain chords,
// hammer-ons, pull-offs, rests, dotted values that cross barlines, comments and blank lines.

#include "bench_song.h"

#include "app/command_line.h"
#include "chords/chord_parser.h"
#include "chords/text_file.h"
#include "export/musicxml_writer.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::array<const char*, 12>& Lines() {
    static const std::array<const char*, 12> lines = {
        "G, 0, 0, 0, 0, 0, Q",
        "C, x, 2, 0, 1, 2, .e",
        "*Verse",
        "Slide, 0, 2-4, 0, 0, 0, H",
        "D7, 0, 0, 2, 1, 0, S",
        "Pull, 0, 0, 0, 0, 4-2, S",
        "",
        "Em,x,2,0,0,0,.Q",
        "Rest , x, x, x, x, x, S",
        "H, 0-2, 0, 0, 0-1, 0-2, E",
        "G,3,0,0,0,22,.W",
        "Am7, x, 2, 2, 1, 2, .T",
    };
    return lines;
}

std::vector<std::string> SongLines(int count) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count) + 1);
    lines.emplace_back("* Title: Benchmark");
    for (int i = 1; i < count; ++i)
        lines.emplace_back(Lines()[static_cast<std::size_t>(i) % Lines().size()]);
    return lines;
}

// 1,000 chord lines among comments and blank lines.
constexpr int ThousandChordLines = 1000 * 12 / 10;

void BuildScore(benchmark::State& state, int lineCount) {
    const std::vector<std::string> lines = SongLines(lineCount);
    const std::vector<fw::ChordEntry> entries = fw::bench::ParseSongLines(lines);
    fw::MusicXmlSong song;
    song.entries = entries;
    song.tuningOffsets = {0, 1, 0, 0, -1, 1};
    fw::SetTitlesFromLines(song, lines, "bench.fwk");
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = fw::BuildMusicXml(song);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["file_bytes"] = static_cast<double>(bytes);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * lineCount);
}

void BM_BuildMusicXml1000Chords(benchmark::State& state) {
    BuildScore(state, ThousandChordLines);
}
BENCHMARK(BM_BuildMusicXml1000Chords)->Unit(benchmark::kMillisecond);

void BM_BuildMusicXml100kLines(benchmark::State& state) {
    BuildScore(state, 100000);
}
BENCHMARK(BM_BuildMusicXml100kLines)->Unit(benchmark::kMillisecond);

// fretwick --export-musicxml on a 1,000-chord song file: read, check, parse, write atomically.
void BM_CommandLine1000Chords(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "fretwick-musicxml-bench";
    std::filesystem::create_directories(folder);
    std::vector<std::string> file{"*Info 1:bench", "*Info 2:105", "*Info 3:55555", "*Info 4:120"};
    for (const std::string& line : SongLines(ThousandChordLines))
        file.push_back(line);
    const std::string songPath = (folder / "song.fwk").string();
    const std::string outPath = (folder / "song.musicxml").string();
    std::string error;
    if (!fw::WriteFileAtomically(songPath, fw::JoinLinesCrLf(file), error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        std::ostringstream out, err;
        const auto status =
            fw::RunCommandLineTool({"--export-musicxml", songPath, outPath}, out, err);
        if (status != 0) {
            state.SkipWithError(err.str().c_str());
            break;
        }
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_CommandLine1000Chords)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

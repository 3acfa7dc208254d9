// MIDI export of a 100,000-line song (plain chords, hammer-ons, pull-offs, rests, comments and
// blank lines) to the bytes of the file. The budget is well under a second in a Release build;
// the figure is the time per iteration.

#include "bench_song.h"

#include "chords/chord_parser.h"
#include "export/midi_file_writer.h"

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

namespace {

constexpr int SongLines = 100000;

const std::array<const char*, 12>& Lines() {
    return fw::bench::SongMixLines();
}

// One entry per editor line, plus the blank entry that follows the last line, as the export
// command collects them.
std::vector<fw::ChordEntry> ParseSong() {
    const auto& lines = Lines();
    std::vector<fw::ChordEntry> song;
    song.reserve(SongLines + 1);
    for (int i = 0; i < SongLines; ++i)
        song.push_back(fw::ParseChordText(lines[i % lines.size()], i).entry);
    song.push_back(fw::ParseChordText("", SongLines).entry);
    return song;
}

constexpr std::array<int, 6> Offsets{0, 0, -2, -1, 0, -1};

void BM_BuildMidiFile100kLines(benchmark::State& state) {
    const std::vector<fw::ChordEntry> song = ParseSong();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const fw::MidiBytes file = fw::BuildMidiFile(song, 120, 105, Offsets);
        bytes = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    state.counters["file_bytes"] = static_cast<double>(bytes);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * SongLines);
}
BENCHMARK(BM_BuildMidiFile100kLines)->Unit(benchmark::kMillisecond);

// The whole export command short of the disk: parse every line, then build the file.
void BM_ParseAndBuildMidiFile100kLines(benchmark::State& state) {
    for (auto _ : state) {
        const std::vector<fw::ChordEntry> song = ParseSong();
        const fw::MidiBytes file = fw::BuildMidiFile(song, 120, 105, Offsets);
        benchmark::DoNotOptimize(file.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * SongLines);
}
BENCHMARK(BM_ParseAndBuildMidiFile100kLines)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

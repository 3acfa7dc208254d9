// Throughput of the chord-line parser over a mix of typical song lines: plain chords, chords
// with hammer-ons, comments and blank lines. The budget is 5 million lines per second on one
// core in a Release build; the figure is the items_per_second counter.

#include "chords/chord_parser.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

const std::vector<std::string>& TypicalLines() {
    static const std::vector<std::string> lines = {
        "* Title: Cripple Creek",
        "G, 0, 0, 0, 0, 0, Q",
        "G, 0, 0, 0, 0, 0, E",
        "C, x, 2, 0, 1, 2, .e",
        "Slide in , 0 , 2-4 , 0 , 0 , 0 , H",
        "D7, 0, 0, 2, 1, 0, S",
        "G, 0, 0, 0, 0, 4-2, S",
        "",
        "*Verse 1",
        "Em,x,2,0,0,0,Q",
        "Chord, x, 2-4, 0, 1, 2, S",
        "Rest , x, x, x, x, x, S",
        "G,0,0,0,0,22,W",
        "Am7, x, 2, 2, 1, 2, E",
        "   ",
        "Chord, 5, 5, 4, 3, 0, T",
    };
    return lines;
}

// The hot path as the play engine and the exports use it: one entry reused for every line.
void BM_ParseTypicalLines(benchmark::State& state) {
    const auto& lines = TypicalLines();
    fw::ChordEntry entry;
    std::size_t errors = 0;
    for (auto _ : state) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string error =
                fw::ParseChordText(lines[i], static_cast<int>(i), fw::MaxFret, entry);
            errors += error.empty() ? 0 : 1;
            benchmark::DoNotOptimize(entry);
        }
    }
    if (errors != 0)
        state.SkipWithError("a typical line did not parse");
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * lines.size()));
}
BENCHMARK(BM_ParseTypicalLines);

// The convenience form, which makes a fresh entry for every line.
void BM_ParseTypicalLinesFreshEntry(benchmark::State& state) {
    const auto& lines = TypicalLines();
    for (auto _ : state) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            auto parsed = fw::ParseChordText(lines[i], static_cast<int>(i));
            benchmark::DoNotOptimize(parsed);
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * lines.size()));
}
BENCHMARK(BM_ParseTypicalLinesFreshEntry);

// Lines in error build their message texts; they are rare in practice.
void BM_ParseErrorLines(benchmark::State& state) {
    const std::vector<std::string> lines = {
        "G, 0, 0, 0, 0, Q",
        "G, 0, a, 0, 0, 0, Q",
        "G, 0, 0, 23, 0, 0, Q",
        "G, 0, 0, 0, 0, 0, quarter",
    };
    fw::ChordEntry entry;
    for (auto _ : state) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            auto error = fw::ParseChordText(lines[i], static_cast<int>(i), fw::MaxFret, entry);
            benchmark::DoNotOptimize(error);
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * lines.size()));
}
BENCHMARK(BM_ParseErrorLines);

} // namespace

BENCHMARK_MAIN();

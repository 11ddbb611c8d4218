// What keeping a best costs when a game ends: the run's copy taken from
// the recorder (closed at its last frame line), and a game weighed into a
// full table on disk with its recording (two durable writes and the folder
// flushes, under the lock). Sizes: a ten-minute run (about 400 kB) and a
// run of about four hours (10 MB).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "bests/best_store.h"
#include "replay/replay_file.h"

namespace {

std::string runOfBytes(std::size_t bytes) {
    std::string run;
    while (run.size() < bytes) {
        run += "c 640 384\ng 3c888889\n";
    }
    return run;
}

void BM_KeptCopyOfRun(benchmark::State& state) {
    std::unique_ptr<ReplayRecorder> recorder = ReplayRecorder::inMemory();
    recorder->write(runOfBytes(static_cast<std::size_t>(state.range(0))));
    recorder->write("k 87 25 1 0\n");  // a frame not yet ended: cut off by the copy
    for (auto _ : state) {
        benchmark::DoNotOptimize(recorder->keptCopy());
    }
}
BENCHMARK(BM_KeptCopyOfRun)->Arg(400 << 10)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

void BM_WeighPlacedGame(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "quorland_bench_bests";
    std::filesystem::remove_all(folder);
    BestStore store(folder.string());
    const std::string run = runOfBytes(static_cast<std::size_t>(state.range(0)));
    int score = 0;
    for (auto _ : state) {
        // Every game beats the last: it places, and the tenth place's recording goes.
        store.weigh({++score, 7, "2026-12-09T10:00:00Z", "river", "", 0}, true, run);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WeighPlacedGame)->Arg(400 << 10)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

}  // namespace

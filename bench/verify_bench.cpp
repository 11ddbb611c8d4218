// The referee's speed and memory: the real binary checks generated replays
// with `--verify`, one process per run, start-up included, as a board's
// verifier runs it. A two-minute run (7,200 frames at 60 Hz, a hop left or
// right every half second on the start row) must go at 3,000 times real
// time or more within 64 MB; an 8 MB file (about 3.5 hours of such frames)
// within 256 MB. `quorland --version`, a process that does nothing, is the
// start-up baseline of the same run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/run_verdict.h"
#include "replay/replay_format.h"

extern char** environ;

namespace {

constexpr float kFrameSeconds = 1.0f / 60.0f;

// A replay of `frames` game frames on the shipped settings, seed 7.
std::string generatedRun(int frames) {
    ReplayHeader header{"1.0.0", 7, {}, kShippedCamera, {}, {}};
    std::string text = formatReplayHeader(header) + formatInputEvent(mouseButtonEvent(0, 1, 0)) +
                       formatInputEvent(mouseButtonEvent(0, 0, 0)) + "m\n";
    RecordedFrame frame;
    frame.gameFrame = true;
    frame.deltaTime = kFrameSeconds;
    const std::string frameEnd = formatFrameEnd(frame);
    for (int i = 0; i < frames; ++i) {
        if (i % 30 == 29) {
            const int key = (i / 30) % 2 == 0 ? 65 : 68;  // A, then D: back and forth
            text +=
                formatInputEvent(keyEvent(key, 0, 1, 0)) + formatInputEvent(keyEvent(key, 0, 0, 0));
        }
        text += frameEnd;
    }
    return text + formatReplayEnd(static_cast<std::size_t>(frames) + 1);
}

std::string writeRun(const std::string& name, int frames) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary) << generatedRun(frames);
    return path.string();
}

struct ProcessCost {
    double seconds = 0.0;     // wall time, spawn to exit
    double cpuSeconds = 0.0;  // user and system
    double peakMegabytes = 0.0;
    bool ok = false;  // exited with 0
};

ProcessCost runGame(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv{QUORLAND_BINARY};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (std::string& argument : argv) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    ProcessCost cost;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    if (posix_spawn(&pid, pointers[0], &actions, nullptr, pointers.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        cost.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cost.cpuSeconds =
            static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
            static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        cost.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
        cost.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    posix_spawn_file_actions_destroy(&actions);
    return cost;
}

void measure(benchmark::State& state, const std::vector<std::string>& arguments,
             double recordedSeconds) {
    double peakMegabytes = 0.0;
    double cpu = 0.0;
    double wall = 0.0;
    for (auto _ : state) {
        const ProcessCost cost = runGame(arguments);
        if (!cost.ok) {
            state.SkipWithError("the game did not exit with 0");
            return;
        }
        state.SetIterationTime(cost.seconds);
        wall += cost.seconds;
        cpu += cost.cpuSeconds;
        peakMegabytes = std::max(peakMegabytes, cost.peakMegabytes);
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["peak_mb"] = peakMegabytes;
    state.counters["cpu_ms"] = cpu / runs * 1000.0;
    if (recordedSeconds > 0.0) {
        // Real time over the mean wall time of the runs.
        state.counters["speedup"] = recordedSeconds * runs / wall;
    }
}

void BM_ProcessStartupBaseline(benchmark::State& state) {
    measure(state, {"--version"}, 0.0);
}
BENCHMARK(BM_ProcessStartupBaseline)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_VerifyTwoMinuteRun(benchmark::State& state) {
    static const std::string path = writeRun("quorland_bench_two_minutes.replay", 7200);
    measure(state, {"--verify", path}, 7200.0 * static_cast<double>(kFrameSeconds));
}
BENCHMARK(BM_VerifyTwoMinuteRun)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_VerifyEightMegabyteFile(benchmark::State& state) {
    // 11 bytes a frame line, with the hops' key lines: just under 8 MB.
    static const std::string path = writeRun("quorland_bench_eight_megabytes.replay", 700000);
    measure(state, {"--verify", path}, 0.0);
    state.counters["file_mb"] =
        static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0);
}
BENCHMARK(BM_VerifyEightMegabyteFile)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

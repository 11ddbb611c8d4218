// What recording adds to a frame: the lines of one busy frame (a key press,
// the cursor, the frame line) formatted and written to a real file with the
// end-of-frame flush, as FrameInput does when recording. The timedemos of
// scripts/measure-replay.sh compare whole frames with and without it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

#include "replay/replay_file.h"

namespace {

void BM_RecordBusyFrame(benchmark::State& state) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "quorland_bench_record.replay";
    std::unique_ptr<ReplayRecorder> recorder = ReplayRecorder::create(file.string());
    if (!recorder) {
        state.SkipWithError("cannot create the recording");
        return;
    }
    const InputEvent key = keyEvent(87, 25, 1, 0);
    RecordedFrame frame;
    frame.gameFrame = true;
    frame.deltaTime = 1.0f / 60.0f;
    int x = 0;
    for (auto _ : state) {
        recorder->write(formatInputEvent(key));
        recorder->write(formatCursor({++x % 1280, 384}));
        recorder->write(formatFrameEnd(frame), true);
    }
    recorder.reset();
    std::filesystem::remove(file);
}
BENCHMARK(BM_RecordBusyFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

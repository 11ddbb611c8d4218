// A game frame on the real scene (200 rows, seed 1, the player at the start).
//
// BM_GameFrameSubmission64x64: the CPU cost of submitting one game frame
// through the real frame code (clear, player and camera update, drawWorld,
// drawHud) against the minimal baseline, the same frame's OpenGL calls
// replayed from a recorded list (gl_replay.h). The framebuffer is 64x64 so
// that rasterising costs next to nothing; each side starts with an idle
// pipeline (glFinish, untimed) and its time ends when its last call returns,
// before the glFinish that drains it. The two sides alternate in every
// iteration; the counters are the medians of each side and their ratio.
// Every iteration also times the frame with view culling off (unculled_us;
// culling_speedup is unculled / culled, unculled_draws its draw count).
//
// With QUORLAND_BENCH_DUMP_CALLS=PATH the recorded frame (every call and
// the bits of every value) is written to PATH, for comparing two builds.
//
// BM_FullGameFrame1280x768: a whole frame at the game's size with 4x
// multisampling, the buffer swap and the finished picture included, drawn
// alternately with the shipped shaders and with flat colour (the three lit
// programs' fragment stages replaced by bench/flat_color.frag, which writes
// baseColor). frame_ms and fps are the shipped frame's medians, flat_ms the
// flat one's. shading_ratio is the median over adjacent pairs of shipped /
// flat CPU time of the whole process (the driver rasterises on its own
// threads), wall_ratio the same for wall-clock time. Under other work a
// frame's wall time swings with the share of the cores it gets, its CPU time
// much less, so shading_ratio is the figure that holds on a loaded machine.
//
// BM_HudText: drawHud of a frame in play (one renderText, the score).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "app/frame_loop.h"
#include "bench_game.h"
#include "game/game_state.h"
#include "gl_replay.h"

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

void frameWith(ViewCulling culling) {
    beginGameFrame();
    drawWorld(*benchGame().scene, 1.0f, culling);
    drawHud(*benchGame().scene);
}

void realFrame() {
    frameWith(ViewCulling::On);
}

// The same frame with every row, tree and log submitted, seen or not.
void unculledFrame() {
    frameWith(ViewCulling::Off);
}

template <typename Work>
double secondsOf(Work&& work) {
    glFinish();
    const auto start = Clock::now();
    work();
    const std::chrono::duration<double> elapsed = Clock::now() - start;
    glFinish();
    return elapsed.count();
}

bool haveGame(benchmark::State& state) {
    if (benchGame().scene == nullptr) {
        state.SkipWithError("no OpenGL context");
        return false;
    }
    return true;
}

void BM_GameFrameSubmission64x64(benchmark::State& state) {
    if (!haveGame(state)) {
        return;
    }
    useFramebufferSize(64, 64);
    const GlReplay baseline = GlReplay::record(realFrame);
    // The library may call this function several times; the first frame of
    // the process is the one that is the same from build to build.
    static bool dumped = false;
    const char* path = std::getenv("QUORLAND_BENCH_DUMP_CALLS");
    if (path != nullptr && !dumped) {
        baseline.writeCalls(path);
        dumped = true;
    }
    const auto baselineFrame = [&baseline] {
        clearToSky();
        baseline.replay();
    };
    for (int warmUp = 0; warmUp < 3; ++warmUp) {
        secondsOf(realFrame);
        secondsOf(baselineFrame);
    }
    std::vector<double> real;
    std::vector<double> minimal;
    std::vector<double> unculled;
    bool realFirst = true;
    for (auto _ : state) {
        double seconds = 0.0;
        if (realFirst) {
            seconds = secondsOf(realFrame);
            minimal.push_back(secondsOf(baselineFrame));
        } else {
            minimal.push_back(secondsOf(baselineFrame));
            seconds = secondsOf(realFrame);
        }
        unculled.push_back(secondsOf(unculledFrame));
        real.push_back(seconds);
        state.SetIterationTime(seconds);
        realFirst = !realFirst;
    }
    const double realMedian = median(real);
    const double minimalMedian = median(minimal);
    state.counters["frame_us"] = realMedian * 1e6;
    state.counters["baseline_us"] = minimalMedian * 1e6;
    state.counters["ratio"] = minimalMedian > 0.0 ? realMedian / minimalMedian : 0.0;
    state.counters["draws"] = static_cast<double>(baseline.drawCount());
    state.counters["gl_calls"] = static_cast<double>(baseline.callCount() + 2);
    // Culling's gain: the frame with culling off, timed in the same
    // iterations, against the frame as the game draws it.
    const double unculledMedian = median(unculled);
    state.counters["unculled_us"] = unculledMedian * 1e6;
    state.counters["culling_speedup"] = realMedian > 0.0 ? unculledMedian / realMedian : 0.0;
    state.counters["unculled_draws"] =
        static_cast<double>(GlReplay::record(unculledFrame).drawCount());
}
BENCHMARK(BM_GameFrameSubmission64x64)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The scene's three lit programs' flat-colour variants: each pair's own
// vertex stage with the flat fragment stage. swap() puts them under the
// materials' shared pointers; a second swap() puts the shipped ones back.
class FlatShading {
  public:
    explicit FlatShading(Scene& scene) : scene_(scene) {}
    void swap() {
        scene_.colorShader->swap(color_);
        scene_.riverShader->swap(river_);
        scene_.textureShader->swap(texture_);
    }

  private:
    static constexpr const char* kFlat = "bench/flat_color.frag";
    Scene& scene_;
    Shader color_{"assets/shaders/basicColor.vert", kFlat};
    Shader river_{"assets/shaders/river.vert", kFlat};
    Shader texture_{"assets/shaders/basicTexture.vert", kFlat};
};

// What one frame cost: wall-clock seconds, and CPU seconds of every thread
// of the process (the calling thread and the driver's rasteriser threads).
struct FrameCost {
    double wall = 0.0;
    double cpu = 0.0;
};

double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

FrameCost fullFrameCost() {
    const double cpuStart = processCpuSeconds();
    const auto start = Clock::now();
    realFrame();
    glfwSwapBuffers(benchGame().window);
    glFinish();
    const std::chrono::duration<double> elapsed = Clock::now() - start;
    return {elapsed.count(), processCpuSeconds() - cpuStart};
}

FrameCost flatFrameCost(FlatShading& flat) {
    flat.swap();
    const FrameCost cost = fullFrameCost();
    flat.swap();
    return cost;
}

// Shipped and flat frames by turns, the order swapped every iteration so
// that a load that rises or falls weighs on both alike.
void BM_FullGameFrame1280x768(benchmark::State& state) {
    if (!haveGame(state)) {
        return;
    }
    useFramebufferSize(1280, 768);
    FlatShading flat(*benchGame().scene);
    for (int warmUp = 0; warmUp < 2; ++warmUp) {  // the driver compiles each variant on first use
        fullFrameCost();
        flatFrameCost(flat);
    }
    std::vector<double> shipped;
    std::vector<double> flatColour;
    std::vector<double> wallRatios;
    std::vector<double> cpuRatios;
    bool shippedFirst = true;
    for (auto _ : state) {
        FrameCost shippedCost;
        FrameCost flatCost;
        if (shippedFirst) {
            shippedCost = fullFrameCost();
            flatCost = flatFrameCost(flat);
        } else {
            flatCost = flatFrameCost(flat);
            shippedCost = fullFrameCost();
        }
        shipped.push_back(shippedCost.wall);
        flatColour.push_back(flatCost.wall);
        wallRatios.push_back(shippedCost.wall / flatCost.wall);
        cpuRatios.push_back(shippedCost.cpu / flatCost.cpu);
        state.SetIterationTime(shippedCost.wall);
        shippedFirst = !shippedFirst;
    }
    const double frame = median(shipped);
    state.counters["frame_ms"] = frame * 1e3;
    state.counters["fps"] = frame > 0.0 ? 1.0 / frame : 0.0;
    state.counters["flat_ms"] = median(flatColour) * 1e3;
    state.counters["wall_ratio"] = median(wallRatios);
    state.counters["shading_ratio"] = median(cpuRatios);
}
BENCHMARK(BM_FullGameFrame1280x768)->UseManualTime()->MinTime(3.0)->Unit(benchmark::kMillisecond);

void BM_HudText(benchmark::State& state) {
    if (!haveGame(state)) {
        return;
    }
    useFramebufferSize(64, 64);
    score = 12;
    for (auto _ : state) {
        const double seconds = secondsOf([] { drawHud(*benchGame().scene); });
        state.SetIterationTime(seconds);
    }
    score = 0;
}
BENCHMARK(BM_HudText)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

// Start-up work: generating the 200-row world (meshes built and uploaded)
// on the real materials, and the mesh generators on their own.
//
// The scene's own world is set aside while the benchmark builds and drops
// its worlds, and put back afterwards, so the frame benchmarks still draw it.
#include <benchmark/benchmark.h>

#include <utility>

#include "bench_game.h"
#include "game/world.h"
#include "render/mesh_generators.h"

namespace {

// Moves the process-wide trees and logs aside for as long as it lives.
class WorldAside {
  public:
    WorldAside() { swapWorld(); }
    ~WorldAside() {
        releaseWorld();
        swapWorld();
    }
    WorldAside(const WorldAside&) = delete;
    WorldAside& operator=(const WorldAside&) = delete;

  private:
    void swapWorld() {
        std::swap(trees_, treeParts);
        std::swap(positions_, treePositions);
        std::swap(logs_, logs);
    }
    GeometryList trees_;
    std::vector<glm::vec3> positions_;
    std::vector<LogEntry> logs_;
};

void BM_GenerateWorld200Rows(benchmark::State& state) {
    if (benchGame().scene == nullptr) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    const Scene& scene = *benchGame().scene;
    WorldAside aside;
    for (auto _ : state) {
        GeometryList river;
        GeometryList grass;
        GeometryList darkGrey;
        GeometryList lightGrey;
        setWorldSeed(1);
        generateWorld(200, river, grass, darkGrey, lightGrey, scene.riverMaterial,
                      scene.grassMaterial, scene.darkGreyMaterial, scene.lightGreyMaterial,
                      scene.logMaterial, scene.trunkMaterial, scene.crownMaterial);
        glFinish();
        state.PauseTiming();
        river.clear();
        grass.clear();
        darkGrey.clear();
        lightGrey.clear();
        releaseWorld();
        glFinish();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GenerateWorld200Rows)->Unit(benchmark::kMillisecond);

void BM_CreateStripGeometry(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(createStripGeometry(100.0f, 1.0f));
    }
}
BENCHMARK(BM_CreateStripGeometry)->Unit(benchmark::kMicrosecond);

void BM_CreateBoxGeometry(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(createBoxGeometry(100.0f, 1.0f, 1.0f));
    }
}
BENCHMARK(BM_CreateBoxGeometry)->Unit(benchmark::kMicrosecond);

}  // namespace

// Start-up work: the whole scene set-up (shaders, textures, materials, the
// world, the marker, the camera), generating the 200-row world (meshes built
// and uploaded) on the real materials, and the mesh generators on their own.
//
// Each iteration starts, as start-up does, on memory the process has not
// touched yet: what the previous iteration freed is handed back to the
// system (malloc_trim), so its pages fault in again. Without that, the
// figure depends on what ran before (the allocator keeps freed memory once
// large blocks have come and gone) and drops to about a third.
//
// The scene's own world is set aside while the benchmark builds and drops
// its worlds, and put back afterwards, so the frame benchmarks still draw it.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <iostream>
#include <sstream>
#include <utility>

#include "app/startup_settings.h"
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
    useFramebufferSize(1280, 768);  // the game's window while it starts
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
        malloc_trim(0);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GenerateWorld200Rows)->Unit(benchmark::kMillisecond);

// The scene set-up as start-up runs it, its console lines discarded; the
// driver's shader cache is warm after the first build.
void BM_BuildScene(benchmark::State& state) {
    if (benchGame().scene == nullptr) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    useFramebufferSize(1280, 768);
    const StartupSettings settings = readStartupSettings(CommandLineOptions{});
    WorldAside aside;
    std::ostringstream discarded;
    std::streambuf* console = std::cout.rdbuf(discarded.rdbuf());
    for (auto _ : state) {
        setWorldSeed(1);
        std::unique_ptr<Scene> scene = buildScene(settings.camera);
        glFinish();
        state.PauseTiming();
        releaseScene(scene);
        glFinish();
        discarded.str("");
        malloc_trim(0);
        state.ResumeTiming();
    }
    std::cout.rdbuf(console);
}
BENCHMARK(BM_BuildScene)->Unit(benchmark::kMillisecond);

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

// Writing a 1280x768 screenshot: the game's table-driven writer against one
// formatted write per pixel, on the same picture in the same run. Both write
// to a real temporary file; the bytes are compared before timing starts, and
// the counter "speedup" reports how many times faster the game's writer is.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "framework/screenshot.h"

namespace {

constexpr std::uint32_t kWidth = 1280;
constexpr std::uint32_t kHeight = 768;

const std::vector<std::uint8_t>& picture() {
    static const std::vector<std::uint8_t> pixels = [] {
        std::vector<std::uint8_t> values(std::size_t{kWidth} * kHeight * 3);
        std::mt19937 random(42);
        for (auto& value : values) {
            value = static_cast<std::uint8_t>(random());
        }
        return values;
    }();
    return pixels;
}

// One formatted write per pixel, rows top first.
void writePpmNaive(std::FILE* file, const std::uint8_t* pixels, std::uint32_t width,
                   std::uint32_t height) {
    std::fprintf(file, "P3\n%d %d\n%d\n", static_cast<int>(width), static_cast<int>(height), 255);
    for (std::uint32_t i = 0; i < height; ++i) {
        const std::uint8_t* row = pixels + std::size_t{height - 1 - i} * width * 3;
        for (std::uint32_t x = 0; x < width; ++x) {
            std::fprintf(file, "%3d %3d %3d ", row[3 * x], row[3 * x + 1], row[3 * x + 2]);
        }
        std::fprintf(file, "\n");
    }
}

using Writer = void (*)(std::FILE*, const std::uint8_t*, std::uint32_t, std::uint32_t);

std::string bytesOf(Writer writer) {
    std::FILE* file = std::tmpfile();
    writer(file, picture().data(), kWidth, kHeight);
    std::string text(static_cast<std::size_t>(std::ftell(file)), '\0');
    std::rewind(file);
    text.resize(std::fread(text.data(), 1, text.size(), file));
    std::fclose(file);
    return text;
}

double secondsPerWrite(Writer writer, int repetitions) {
    std::FILE* file = std::tmpfile();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repetitions; ++i) {
        std::rewind(file);
        writer(file, picture().data(), kWidth, kHeight);
        std::fflush(file);
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::fclose(file);
    return elapsed.count() / repetitions;
}

void BM_ScreenshotWrite1280x768(benchmark::State& state) {
    if (bytesOf(&writePpm) != bytesOf(&writePpmNaive)) {
        state.SkipWithError("the writers' bytes differ");
        return;
    }
    for (auto _ : state) {
        std::FILE* file = std::tmpfile();
        writePpm(file, picture().data(), kWidth, kHeight);
        std::fclose(file);
    }
    const double fast = secondsPerWrite(&writePpm, 5);
    const double naive = secondsPerWrite(&writePpmNaive, 3);
    state.counters["naive_ms"] = naive * 1e3;
    state.counters["table_ms"] = fast * 1e3;
    state.counters["speedup"] = naive / fast;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytesOf(&writePpm).size()));
}
BENCHMARK(BM_ScreenshotWrite1280x768)->Unit(benchmark::kMillisecond);

void BM_ScreenshotWriteNaive1280x768(benchmark::State& state) {
    for (auto _ : state) {
        std::FILE* file = std::tmpfile();
        writePpmNaive(file, picture().data(), kWidth, kHeight);
        std::fclose(file);
    }
}
BENCHMARK(BM_ScreenshotWriteNaive1280x768)->Unit(benchmark::kMillisecond);

}  // namespace

// The sound's costs, on OpenAL Soft's loopback device (the same library and
// calls as a real device, with no hardware needed and rendering on demand).
//
// BM_AudioFrameWork: what the sound adds to the main thread in one frame,
// against the 64x64 game frame submission measured in the same iterations
// (the two alternate). A frame normally has no events; the busiest has
// three (landing, point, splash), which is what is timed: deliverGameEvents
// of three events, each a play on the pool. ratio = audio / frame (budget
// 1 %); idle_ns is a frame without events.
//
// BM_SoundStartup: the start-up work the sound adds once a device is open:
// rendering every effect, making the buffers and the sources (budget 50 ms;
// scripts/measure-startup.sh --sound times the whole process too).
//
// BM_EventToFirstSample: from the frame in which an event is handed over to
// the first sample of its sound, with the device mixing in blocks of one
// frame (800 samples at 48 kHz): first_sample_ms. A real device adds its
// own output buffering (OpenAL Soft's mixing period and queue).
#include <AL/alext.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "app/frame_loop.h"
#include "audio/game_sound.h"
#include "bench_game.h"
#include "game/game_events.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRate = 48000;

AlDevice openLoopback() {
    const auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
        alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    return AlDevice(open != nullptr ? open(nullptr) : nullptr);
}

const ALCint kLoopbackAttributes[] = {
    ALC_FREQUENCY,  kRate, ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT,
    ALC_FLOAT_SOFT, 0};

std::unique_ptr<SoundPlayer> loopbackPlayer() {
    return SoundPlayer::create(openLoopback(), kLoopbackAttributes);
}

void renderFrames(ALCdevice* device, std::vector<float>& stereo, std::size_t frames) {
    static const auto render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(
        alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    stereo.resize(frames * 2);
    render(device, stereo.data(), static_cast<ALCsizei>(frames));
}

double median(std::vector<double> values) {
    std::nth_element(values.begin(),
                     values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

template <typename Work>
double secondsOf(Work&& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void submitFrame() {
    glFinish();
    beginGameFrame();
    drawWorld(*benchGame().scene, 1.0f);
    drawHud(*benchGame().scene);
}

void BM_AudioFrameWork(benchmark::State& state) {
    std::unique_ptr<SoundPlayer> player = loopbackPlayer();
    if (!player || benchGame().scene == nullptr) {
        state.SkipWithError(!player ? "no loopback device" : "no OpenGL context");
        return;
    }
    useFramebufferSize(64, 64);
    GameSound sound(std::move(player));
    std::vector<float> mixed;
    const auto busiestFrame = [&sound] {
        gameEvents.push(GameEvent::LandedOnGround);
        gameEvents.push(GameEvent::NewFurthestRow, 7);
        gameEvents.push(GameEvent::FellIntoRiver);
        deliverGameEvents(&sound);
    };
    std::vector<double> audio;
    std::vector<double> idle;
    std::vector<double> frame;
    for (auto _ : state) {
        frame.push_back(secondsOf(submitFrame));
        glFinish();
        audio.push_back(secondsOf(busiestFrame));
        idle.push_back(secondsOf([&sound] { deliverGameEvents(&sound); }));
        renderFrames(sound.player().device(), mixed, 800);  // the mixer's share, off the clock
        state.SetIterationTime(audio.back());
    }
    const double audioMedian = median(audio);
    const double frameMedian = median(frame);
    state.counters["audio_us"] = audioMedian * 1e6;
    state.counters["idle_ns"] = median(idle) * 1e9;
    state.counters["frame_us"] = frameMedian * 1e6;
    state.counters["ratio"] = frameMedian > 0.0 ? audioMedian / frameMedian : 0.0;
}
BENCHMARK(BM_AudioFrameWork)->UseManualTime()->Iterations(200)->Unit(benchmark::kMicrosecond);

void BM_SoundStartup(benchmark::State& state) {
    for (auto _ : state) {
        std::unique_ptr<SoundPlayer> player = loopbackPlayer();
        if (!player) {
            state.SkipWithError("no loopback device");
            return;
        }
        state.PauseTiming();
        player.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SoundStartup)->Unit(benchmark::kMillisecond);

void BM_EventToFirstSample(benchmark::State& state) {
    std::unique_ptr<SoundPlayer> player = loopbackPlayer();
    if (!player) {
        state.SkipWithError("no loopback device");
        return;
    }
    GameSound sound(std::move(player));
    std::vector<float> mixed;
    std::vector<double> delays;
    for (auto _ : state) {
        renderFrames(sound.player().device(), mixed, kRate);  // everything before has ended
        gameEvents.push(GameEvent::HopStarted);
        deliverGameEvents(&sound);
        std::size_t first = 0;
        for (std::size_t block = 0; first == 0 && block < 60; ++block) {
            renderFrames(sound.player().device(), mixed, 800);
            for (std::size_t i = 0; i < 800; ++i) {
                if (mixed[2 * i] != 0.0f || mixed[2 * i + 1] != 0.0f) {
                    first = block * 800 + i + 1;
                    break;
                }
            }
        }
        delays.push_back(static_cast<double>(first - 1) * 1000.0 / kRate);
    }
    state.counters["first_sample_ms"] = median(delays);
}
BENCHMARK(BM_EventToFirstSample)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace

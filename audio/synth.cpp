#include "audio/synth.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <mutex>

#define STB_HEXWAVE_STATIC
#define STB_HEXWAVE_IMPLEMENTATION
#include <stb/stb_hexwave.h>

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr int kBlepWidth = 32;
constexpr int kBlepOversample = 16;
constexpr std::size_t kChunk = 64;  // samples per frequency step of a slide

// hexwave's tables, in memory of our own so that it never allocates.
std::array<float, 4 * kBlepWidth*(kBlepOversample + 1)> blepTables;

void initialiseHexwave() {
    static std::once_flag once;
    std::call_once(once, [] { hexwave_init(kBlepWidth, kBlepOversample, blepTables.data()); });
}

// The noise generator: xorshift32, its own sequence, never the world's.
class Noise {
  public:
    explicit Noise(std::uint32_t seed) : state_(seed == 0 ? 1u : seed) {}
    float next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<float>(state_) / 2147483648.0f - 1.0f;
    }

  private:
    std::uint32_t state_;
};

// Frequency in Hz at sample `index` of `count`: exponential from start to end.
double frequencyAt(const VoiceShape& shape, std::size_t index, std::size_t count) {
    const double progress =
        count > 1 ? static_cast<double>(index) / static_cast<double>(count - 1) : 0.0;
    return shape.startHz * std::pow(static_cast<double>(shape.endHz) / shape.startHz, progress);
}

void hexwaveOscillator(const VoiceShape& shape, int sampleRate, std::vector<float>& out) {
    initialiseHexwave();
    HexWave wave;
    // reflect 1, peak 0: half height 1 is a square, 0 a saw.
    hexwave_create(&wave, 1, 0.0f, shape.waveform == Waveform::Square ? 1.0f : 0.0f, 0.0f);
    for (std::size_t at = 0; at < out.size(); at += kChunk) {
        const std::size_t n = std::min(kChunk, out.size() - at);
        const double hz = frequencyAt(shape, at, out.size());
        hexwave_generate_samples(out.data() + at, static_cast<int>(n), &wave,
                                 static_cast<float>(hz / sampleRate));
    }
}

void sineOscillator(const VoiceShape& shape, int sampleRate, std::vector<float>& out) {
    double phase = 0.0;  // cycles
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<float>(std::sin(kTwoPi * phase));
        phase += frequencyAt(shape, i, out.size()) / sampleRate;
        phase -= std::floor(phase);
    }
}

// Sample and hold: a new random value `frequency` times per second.
void noiseOscillator(const VoiceShape& shape, int sampleRate, std::vector<float>& out) {
    Noise noise(shape.noiseSeed);
    double phase = 1.0;
    float held = 0.0f;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (phase >= 1.0) {
            held = noise.next();
            phase -= std::floor(phase);
        }
        out[i] = held;
        phase += frequencyAt(shape, i, out.size()) / sampleRate;
    }
}

void lowPass(float cutOffHz, int sampleRate, std::vector<float>& samples) {
    if (cutOffHz <= 0.0f) {
        return;
    }
    const float alpha =
        1.0f - static_cast<float>(std::exp(-kTwoPi * cutOffHz / static_cast<double>(sampleRate)));
    float state = 0.0f;
    for (float& sample : samples) {
        state += alpha * (sample - state);
        sample = state;
    }
}

}  // namespace

float voiceSeconds(const VoiceShape& shape) {
    return shape.attack + shape.sustain + shape.decay;
}

std::size_t voiceSampleCount(const VoiceShape& shape, int sampleRate) {
    return static_cast<std::size_t>(
        std::lround(voiceSeconds(shape) * static_cast<float>(sampleRate)));
}

float envelopeAt(const VoiceShape& shape, float seconds) {
    if (seconds <= 0.0f) {
        return 0.0f;
    }
    if (seconds < shape.attack) {
        return seconds / shape.attack;
    }
    const float decayStart = shape.attack + shape.sustain;
    if (seconds <= decayStart) {
        return 1.0f;
    }
    if (seconds >= voiceSeconds(shape)) {
        return 0.0f;
    }
    const float left = 1.0f - (seconds - decayStart) / shape.decay;
    return left <= 0.0f ? 0.0f : left * left;
}

std::vector<float> synthesize(const VoiceShape& shape, int sampleRate) {
    assert(sampleRate > 0 && shape.startHz > 0.0f && shape.endHz > 0.0f);
    assert(shape.attack > 0.0f && shape.decay > 0.0f);
    std::vector<float> samples(voiceSampleCount(shape, sampleRate));
    switch (shape.waveform) {
        case Waveform::Square:
        case Waveform::Saw:
            hexwaveOscillator(shape, sampleRate, samples);
            break;
        case Waveform::Sine:
            sineOscillator(shape, sampleRate, samples);
            break;
        case Waveform::Noise:
            noiseOscillator(shape, sampleRate, samples);
            break;
    }
    lowPass(shape.lowPassHz, sampleRate, samples);
    // The envelope's last point lies on the last sample, so the voice ends at 0.
    const float secondsPerSample =
        samples.size() > 1 ? voiceSeconds(shape) / static_cast<float>(samples.size() - 1) : 0.0f;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const float gain =
            shape.level * envelopeAt(shape, static_cast<float>(i) * secondsPerSample);
        samples[i] = std::clamp(samples[i] * gain, -1.0f, 1.0f);
    }
    return samples;
}

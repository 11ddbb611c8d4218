#include "audio/effects.h"

#include <array>

namespace {

// waveform, start Hz, end Hz, attack s, sustain s, decay s, level, low-pass Hz, noise seed
const std::array<VoiceShape, kEffectCount> kEffects{{
    {Waveform::Square, 660.0f, 990.0f, 0.004f, 0.030f, 0.046f, 0.30f, 5000.0f, 1},   // Click
    {Waveform::Square, 300.0f, 620.0f, 0.005f, 0.020f, 0.085f, 0.28f, 3500.0f, 1},   // Hop
    {Waveform::Noise, 900.0f, 300.0f, 0.002f, 0.004f, 0.064f, 0.45f, 1200.0f, 7},    // LandGround
    {Waveform::Sine, 420.0f, 300.0f, 0.002f, 0.008f, 0.120f, 0.55f, 0.0f, 1},        // LandLog
    {Waveform::Sine, 880.0f, 1320.0f, 0.004f, 0.060f, 0.150f, 0.40f, 0.0f, 1},       // Point
    {Waveform::Saw, 140.0f, 110.0f, 0.004f, 0.060f, 0.100f, 0.30f, 1800.0f, 1},      // Blocked
    {Waveform::Noise, 6000.0f, 500.0f, 0.010f, 0.120f, 0.420f, 0.55f, 2500.0f, 11},  // Splash
    {Waveform::Saw, 440.0f, 110.0f, 0.010f, 0.500f, 0.400f, 0.30f, 2200.0f, 1},      // GameOver
    {Waveform::Square, 880.0f, 440.0f, 0.004f, 0.040f, 0.080f, 0.22f, 3000.0f, 1},   // Pause
    {Waveform::Square, 440.0f, 880.0f, 0.004f, 0.040f, 0.081f, 0.22f, 3000.0f, 1},   // Resume
}};

}  // namespace

const VoiceShape& effectShape(Effect effect) {
    return kEffects[static_cast<std::size_t>(effect)];
}

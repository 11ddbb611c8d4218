// The game's small synthesizer: one voice, rendered ahead of time.
//
// Every sound of the game is one oscillator (band-limited square or saw,
// sine, or noise) whose frequency slides from a start to an end value, shaped
// by an attack-sustain-decay envelope and softened by a one-pole low-pass
// filter. The parameters of each sound are plain data (audio/effects.h holds
// the table); synthesize() is a pure function of them and the sample rate,
// so the same table always gives the same samples. It runs once per sound at
// start-up, never while playing.
#pragma once

#include <cstdint>
#include <vector>

enum class Waveform : std::uint8_t { Square, Saw, Sine, Noise };

struct VoiceShape {
    Waveform waveform = Waveform::Sine;
    float startHz = 440.0f;       // frequency at the first sample (noise: new values per second)
    float endHz = 440.0f;         // at the last sample; the slide is exponential in between
    float attack = 0.005f;        // seconds from silence to full level (linear)
    float sustain = 0.0f;         // seconds at full level
    float decay = 0.1f;           // seconds from full level back to silence (quadratic)
    float level = 0.5f;           // peak amplitude, 0 .. 1
    float lowPassHz = 0.0f;       // cut-off of the one-pole low-pass; 0: no filter
    std::uint32_t noiseSeed = 1;  // the noise generator's start (never 0)
};

// Seconds the voice lasts: attack + sustain + decay.
float voiceSeconds(const VoiceShape& shape);

// Number of samples synthesize() returns at `sampleRate` samples per second.
std::size_t voiceSampleCount(const VoiceShape& shape, int sampleRate);

// The voice as mono float samples in [-1, 1], starting and ending at 0.
std::vector<float> synthesize(const VoiceShape& shape, int sampleRate);

// The amplitude envelope at `seconds` into the voice, 0 .. 1.
float envelopeAt(const VoiceShape& shape, float seconds);

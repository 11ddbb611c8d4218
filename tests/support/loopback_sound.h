// The game's sound player on OpenAL Soft's loopback device: rendered on
// demand, in-process and sample-exactly, so a test hears what the game plays.
//
// Output is 48 kHz stereo float with the output limiter off, so a sound
// asked for before a render call starts in that call's first samples.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "audio/sound_player.h"

class LoopbackSound {
  public:
    static constexpr int kRate = 48000;

    LoopbackSound();
    bool ok() const { return player_ != nullptr; }
    SoundPlayer& player() { return *player_; }

    // Renders the next `frames` frames; returns them as one value per frame
    // (the larger magnitude of the two channels), and keeps them in heard().
    std::vector<float> render(std::size_t frames);
    const std::vector<float>& heard() const { return heard_; }

  private:
    std::unique_ptr<SoundPlayer> player_;
    std::vector<float> heard_;
};

// Sample indices where sound starts after silence: the first sample above
// `threshold` after at least `quietGap` samples at or below it (the first
// sound of all counts as one).
std::vector<std::size_t> soundOnsets(const std::vector<float>& samples, float threshold = 1e-3f,
                                     std::size_t quietGap = 480);

// Sample indices where a sound starts, after silence or over a quieter one:
// where the next 64 samples carry 16 times the energy of the loudest 64 of
// the 1024 before (and are audible). Found within 64 samples of the start;
// starts less than 1024 samples apart count as one.
std::vector<std::size_t> loudnessOnsets(const std::vector<float>& samples);

// Sum of squared samples over [from, to).
double energyOf(const std::vector<float>& samples, std::size_t from, std::size_t to);

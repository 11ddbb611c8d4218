#include "support/loopback_sound.h"

#include <AL/alext.h>

#include <algorithm>
#include <cmath>

LoopbackSound::LoopbackSound() {
    const auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
        alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    if (open == nullptr) {
        return;
    }
    const ALCint attributes[] = {ALC_FREQUENCY,
                                 kRate,
                                 ALC_FORMAT_CHANNELS_SOFT,
                                 ALC_STEREO_SOFT,
                                 ALC_FORMAT_TYPE_SOFT,
                                 ALC_FLOAT_SOFT,
                                 ALC_OUTPUT_LIMITER_SOFT,
                                 ALC_FALSE,
                                 ALC_HRTF_SOFT,
                                 ALC_FALSE,
                                 0};
    player_ = SoundPlayer::create(AlDevice(open(nullptr)), attributes);
}

std::vector<float> LoopbackSound::render(std::size_t frames) {
    static const auto renderSamples = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(
        alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    std::vector<float> stereo(frames * 2);
    renderSamples(player_->device(), stereo.data(), static_cast<ALCsizei>(frames));
    std::vector<float> mono(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        mono[i] = std::max(std::abs(stereo[2 * i]), std::abs(stereo[2 * i + 1]));
    }
    heard_.insert(heard_.end(), mono.begin(), mono.end());
    return mono;
}

std::vector<std::size_t> soundOnsets(const std::vector<float>& samples, float threshold,
                                     std::size_t quietGap) {
    std::vector<std::size_t> onsets;
    std::size_t quiet = quietGap;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) <= threshold) {
            ++quiet;
            continue;
        }
        if (quiet >= quietGap) {
            onsets.push_back(i);
        }
        quiet = 0;
    }
    return onsets;
}

double energyOf(const std::vector<float>& samples, std::size_t from, std::size_t to) {
    double sum = 0.0;
    for (std::size_t i = from; i < std::min(to, samples.size()); ++i) {
        sum += static_cast<double>(samples[i]) * samples[i];
    }
    return sum;
}

std::vector<std::size_t> loudnessOnsets(const std::vector<float>& samples) {
    constexpr std::size_t kWindow = 64;
    constexpr std::size_t kLookBack = 16;  // windows
    constexpr double kRise = 16.0;
    constexpr double kAudible = kWindow * 1e-6;  // an amplitude of 1e-3
    std::vector<double> prefix(samples.size() + 1, 0.0);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        prefix[i + 1] = prefix[i] + static_cast<double>(samples[i]) * samples[i];
    }
    const auto energy = [&prefix](std::size_t from) {
        return prefix[from + kWindow] - prefix[from];
    };
    std::vector<std::size_t> onsets;
    for (std::size_t i = 0; i + kWindow <= samples.size(); ++i) {
        double before = 0.0;
        for (std::size_t k = 1; k <= kLookBack && k * kWindow <= i; ++k) {
            before = std::max(before, energy(i - k * kWindow));
        }
        const double now = energy(i);
        if (now > kAudible && now > kRise * before) {
            onsets.push_back(i);
            i += kLookBack * kWindow;
        }
    }
    return onsets;
}

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

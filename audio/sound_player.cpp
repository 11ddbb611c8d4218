#include "audio/sound_player.h"

#include <algorithm>
#include <cmath>
#include <vector>

std::vector<ALshort> effectPcm(Effect effect) {
    const std::vector<float> samples = synthesize(effectShape(effect), kEffectSampleRate);
    std::vector<ALshort> pcm(samples.size());
    std::transform(samples.begin(), samples.end(), pcm.begin(), [](float sample) {
        return static_cast<ALshort>(std::lround(sample * 32767.0f));
    });
    return pcm;
}

std::unique_ptr<SoundPlayer> SoundPlayer::create(AlDevice device, const ALCint* contextAttributes) {
    if (!device) {
        return nullptr;
    }
    std::unique_ptr<SoundPlayer> player(new SoundPlayer());
    player->device_ = std::move(device);
    player->context_ = AlContext(alcCreateContext(player->device_.get(), contextAttributes));
    if (!player->context_ || alcMakeContextCurrent(player->context_.get()) != ALC_TRUE) {
        return nullptr;
    }
    for (std::size_t i = 0; i < kEffectCount; ++i) {
        AlBuffer buffer = makeAlBuffer();
        if (!buffer) {
            return nullptr;
        }
        const std::vector<ALshort> pcm = effectPcm(static_cast<Effect>(i));
        alBufferData(buffer.get(), AL_FORMAT_MONO16, pcm.data(),
                     static_cast<ALsizei>(pcm.size() * sizeof(ALshort)), kEffectSampleRate);
        player->buffers_[i] = std::move(buffer);
    }
    for (AlSource& source : player->sources_) {
        source = makeAlSource();
        if (!source) {
            return nullptr;
        }
        // Every sound is heard as it is, wherever the listener is.
        alSourcei(source.get(), AL_SOURCE_RELATIVE, AL_TRUE);
    }
    if (alGetError() != AL_NO_ERROR) {
        return nullptr;
    }
    return player;
}

SoundPlayer::~SoundPlayer() = default;

std::size_t SoundPlayer::pickSource() const {
    std::size_t oldestIdle = kSourceCount;
    std::size_t oldest = 0;
    for (std::size_t i = 0; i < kSourceCount; ++i) {
        ALint state = AL_STOPPED;
        alGetSourcei(sources_[i].get(), AL_SOURCE_STATE, &state);
        const bool idle = state != AL_PLAYING;
        if (idle && (oldestIdle == kSourceCount || startedAt_[i] < startedAt_[oldestIdle])) {
            oldestIdle = i;
        }
        if (startedAt_[i] < startedAt_[oldest]) {
            oldest = i;
        }
    }
    return oldestIdle != kSourceCount ? oldestIdle : oldest;
}

void SoundPlayer::play(Effect effect, float pitch) {
    const std::size_t index = pickSource();
    const ALuint source = sources_[index].get();
    alSourceStop(source);
    alSourcei(source, AL_BUFFER,
              static_cast<ALint>(buffers_[static_cast<std::size_t>(effect)].get()));
    alSourcef(source, AL_PITCH, pitch);
    alSourcePlay(source);
    startedAt_[index] = ++plays_;
}

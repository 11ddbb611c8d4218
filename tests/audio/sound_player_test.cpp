// The sound player on OpenAL Soft's loopback device: a sound asked for in a
// frame starts at that frame's first sample, sounds as its effect and ends
// when the effect does; a full pool takes over the oldest source.
#include "audio/sound_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "support/loopback_sound.h"

namespace {

constexpr std::size_t kFrame = 800;  // one frame at 60 frames per second, 48 kHz

double pcmEnergy(Effect effect) {
    double sum = 0.0;
    for (ALshort sample : effectPcm(effect)) {
        const double value = sample / 32767.0;
        sum += value * value;
    }
    return sum;
}

std::size_t firstSound(Effect effect) {
    const std::vector<ALshort> pcm = effectPcm(effect);
    return static_cast<std::size_t>(
        std::find_if(pcm.begin(), pcm.end(), [](ALshort sample) { return sample != 0; }) -
        pcm.begin());
}

TEST(SoundPlayer, ASoundAskedForInAFrameStartsAtThatFramesSample) {
    LoopbackSound sound;
    ASSERT_TRUE(sound.ok()) << "OpenAL Soft's loopback device is missing";
    for (int frame = 0; frame < 30; ++frame) {
        if (frame == 4) {
            sound.player().play(Effect::Hop);
        }
        if (frame == 20) {
            sound.player().play(Effect::Splash);
        }
        sound.render(kFrame);
    }
    const std::vector<float>& heard = sound.heard();
    const std::vector<std::size_t> onsets = soundOnsets(heard, 1e-7f);
    ASSERT_EQ(onsets.size(), 2u);
    // Exactly where the effect's own first sound lies, counted from the
    // frame's first sample (the band-limited oscillator starts a few samples
    // in).
    EXPECT_EQ(onsets[0], 4 * kFrame + firstSound(Effect::Hop));
    EXPECT_EQ(onsets[1], 20 * kFrame + firstSound(Effect::Splash));
    EXPECT_EQ(energyOf(heard, 0, 4 * kFrame), 0.0);

    // As long as the effect, then silence, with the effect's energy (scaled
    // by the output's panning gain, which differs a little with the sound's
    // spectrum).
    const std::size_t hopLength = effectPcm(Effect::Hop).size();
    const double hop = energyOf(heard, 4 * kFrame, 20 * kFrame);
    EXPECT_EQ(energyOf(heard, 4 * kFrame + hopLength, 20 * kFrame), 0.0);
    EXPECT_GT(energyOf(heard, 4 * kFrame + hopLength - 200, 4 * kFrame + hopLength), 0.0);
    const double gain = hop / pcmEnergy(Effect::Hop);
    EXPECT_GT(gain, 0.2);
    EXPECT_LT(gain, 1.01);
    const double splash = energyOf(heard, 20 * kFrame, heard.size());
    EXPECT_NEAR(splash / pcmEnergy(Effect::Splash), gain, gain * 0.5);
}

TEST(SoundPlayer, AFasterPitchPlaysTheEffectShorter) {
    LoopbackSound sound;
    ASSERT_TRUE(sound.ok());
    sound.player().play(Effect::Point, 1.5f);
    sound.render(kFrame * 30);
    const std::vector<float>& heard = sound.heard();
    const auto last = std::find_if(heard.rbegin(), heard.rend(), [](float v) { return v > 1e-7f; });
    const auto length = static_cast<double>(heard.rend() - last);
    const double expected = static_cast<double>(effectPcm(Effect::Point).size()) / 1.5;
    EXPECT_NEAR(length, expected, expected * 0.02);
}

TEST(SoundPlayer, AFullPoolTakesOverTheSourceStartedLongestAgo) {
    LoopbackSound sound;
    ASSERT_TRUE(sound.ok());
    sound.player().play(Effect::GameOver);  // long: still playing below
    sound.render(kFrame);
    for (std::size_t i = 0; i < SoundPlayer::kSourceCount; ++i) {
        sound.player().play(Effect::Click);  // the last one finds every source busy
    }
    sound.render(LoopbackSound::kRate);
    const std::vector<float>& heard = sound.heard();
    const std::size_t clickEnd = kFrame + effectPcm(Effect::Click).size();
    EXPECT_GT(energyOf(heard, clickEnd - 400, clickEnd), 0.0);
    // The long sound was the one taken over: nothing sounds after the clicks.
    EXPECT_EQ(energyOf(heard, clickEnd, heard.size()), 0.0);
}

}  // namespace

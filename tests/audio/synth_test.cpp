// The synthesizer and the effect table: every effect comes out the same
// twice, as long as its row says, shaped by its envelope, within [-1, 1],
// and starting and ending at silence (no click); the events' sounds.
#include "audio/synth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "audio/effects.h"
#include "audio/game_sound.h"
#include "game/classic_rand.h"

namespace {

constexpr int kRate = kEffectSampleRate;

std::vector<Effect> allEffects() {
    std::vector<Effect> effects;
    for (std::size_t i = 0; i < kEffectCount; ++i) {
        effects.push_back(static_cast<Effect>(i));
    }
    return effects;
}

// Peak absolute sample of [from, to).
float peak(const std::vector<float>& samples, std::size_t from, std::size_t to) {
    float result = 0.0f;
    for (std::size_t i = from; i < std::min(to, samples.size()); ++i) {
        result = std::max(result, std::abs(samples[i]));
    }
    return result;
}

class EffectTest : public ::testing::TestWithParam<Effect> {};

TEST_P(EffectTest, ComesOutTheSameTwiceAsLongAsItsRowSays) {
    const VoiceShape& shape = effectShape(GetParam());
    const std::vector<float> first = synthesize(shape, kRate);
    const std::vector<float> second = synthesize(shape, kRate);
    EXPECT_EQ(first, second);
    const double seconds = static_cast<double>(shape.attack) + shape.sustain + shape.decay;
    EXPECT_EQ(first.size(), static_cast<std::size_t>(std::lround(seconds * kRate)));
    EXPECT_EQ(first.size(), voiceSampleCount(shape, kRate));
}

TEST_P(EffectTest, StaysWithinFullScaleAndStartsAndEndsAtSilence) {
    const std::vector<float> samples = synthesize(effectShape(GetParam()), kRate);
    ASSERT_GT(samples.size(), 100u);
    EXPECT_LE(peak(samples, 0, samples.size()), 1.0f);
    EXPECT_EQ(samples.front(), 0.0f);
    EXPECT_EQ(samples.back(), 0.0f);
    // The first and last millisecond rise from and fall to silence smoothly.
    EXPECT_LT(peak(samples, 0, 8), 0.05f);
    EXPECT_LT(peak(samples, samples.size() - 8, samples.size()), 0.05f);
    EXPECT_FALSE(std::any_of(samples.begin(), samples.end(),
                             [](float sample) { return std::isnan(sample); }));
}

// The sound is loud where the envelope is high and fades with it: the peak
// of each tenth of the voice stays under the envelope's largest value in it
// (times the level and a little for the oscillators' overshoot), and the
// loudest tenth lies where the envelope is full.
TEST_P(EffectTest, FollowsItsEnvelope) {
    const VoiceShape& shape = effectShape(GetParam());
    const std::vector<float> samples = synthesize(shape, kRate);
    const std::size_t tenth = samples.size() / 10;
    const float secondsPerSample = voiceSeconds(shape) / static_cast<float>(samples.size() - 1);
    float loudest = 0.0f;
    float envelopeAtLoudest = 0.0f;
    for (std::size_t part = 0; part < 10; ++part) {
        float envelope = 0.0f;
        for (std::size_t i = part * tenth; i < (part + 1) * tenth; ++i) {
            envelope =
                std::max(envelope, envelopeAt(shape, static_cast<float>(i) * secondsPerSample));
        }
        const float level = peak(samples, part * tenth, (part + 1) * tenth);
        EXPECT_LE(level, envelope * shape.level * 1.25f + 1e-6f) << "tenth " << part;
        if (level > loudest) {
            loudest = level;
            envelopeAtLoudest = envelope;
        }
    }
    EXPECT_GT(loudest, shape.level * 0.3f);
    EXPECT_GT(envelopeAtLoudest, 0.5f);
}

INSTANTIATE_TEST_SUITE_P(Effects, EffectTest, ::testing::ValuesIn(allEffects()),
                         [](const ::testing::TestParamInfo<Effect>& effect) {
                             return "Effect" + std::to_string(static_cast<int>(effect.param));
                         });

TEST(Synth, EnvelopeRisesHoldsAndFallsAsTheRowSays) {
    VoiceShape shape;
    shape.attack = 0.1f;
    shape.sustain = 0.2f;
    shape.decay = 0.4f;
    EXPECT_EQ(envelopeAt(shape, 0.0f), 0.0f);
    EXPECT_FLOAT_EQ(envelopeAt(shape, 0.05f), 0.5f);
    EXPECT_FLOAT_EQ(envelopeAt(shape, 0.1f), 1.0f);
    EXPECT_FLOAT_EQ(envelopeAt(shape, 0.3f), 1.0f);
    EXPECT_FLOAT_EQ(envelopeAt(shape, 0.5f), 0.25f);
    EXPECT_NEAR(envelopeAt(shape, 0.7f), 0.0f, 1e-6f);
    EXPECT_EQ(envelopeAt(shape, 0.8f), 0.0f);
    EXPECT_FLOAT_EQ(voiceSeconds(shape), 0.7f);
}

TEST(Synth, EachWaveformSoundsAtItsFrequency) {
    for (Waveform waveform : {Waveform::Square, Waveform::Saw, Waveform::Sine}) {
        VoiceShape shape{waveform, 480.0f, 480.0f, 0.001f, 0.5f, 0.001f, 0.5f, 0.0f, 1};
        const std::vector<float> samples = synthesize(shape, kRate);
        int crossings = 0;
        for (std::size_t i = 1000; i + 1 < 1000 + kRate / 4; ++i) {
            crossings += (samples[i] < 0.0f) != (samples[i + 1] < 0.0f) ? 1 : 0;
        }
        // 480 Hz for a quarter second: 120 cycles, two crossings each.
        EXPECT_NEAR(crossings, 240, 4) << static_cast<int>(waveform);
    }
}

TEST(Synth, NoiseHasItsOwnSequenceAndLeavesTheWorldsGeneratorAlone) {
    resetClassicRand();
    const int expected = classicRand();
    resetClassicRand();
    VoiceShape shape{Waveform::Noise, 8000.0f, 8000.0f, 0.001f, 0.05f, 0.001f, 0.5f, 0.0f, 3};
    const std::vector<float> a = synthesize(shape, kRate);
    EXPECT_EQ(classicRand(), expected);
    shape.noiseSeed = 4;
    EXPECT_NE(synthesize(shape, kRate), a);
}

TEST(Synth, EveryEffectHasALengthOfItsOwn) {
    std::set<std::size_t> lengths;
    for (Effect effect : allEffects()) {
        lengths.insert(voiceSampleCount(effectShape(effect), kRate));
    }
    EXPECT_EQ(lengths.size(), kEffectCount);
}

TEST(EventSounds, EachEventHasItsEffectAndThePointRisesWithTheScoreUpToACap) {
    const auto effectOf = [](GameEvent event) { return soundOf({event, 0}).effect; };
    EXPECT_EQ(effectOf(GameEvent::GameStarted), Effect::Click);
    EXPECT_EQ(effectOf(GameEvent::HopStarted), Effect::Hop);
    EXPECT_EQ(effectOf(GameEvent::LandedOnGround), Effect::LandGround);
    EXPECT_EQ(effectOf(GameEvent::LandedOnLog), Effect::LandLog);
    EXPECT_EQ(effectOf(GameEvent::HopBlocked), Effect::Blocked);
    EXPECT_EQ(effectOf(GameEvent::FellIntoRiver), Effect::Splash);
    EXPECT_EQ(effectOf(GameEvent::CarriedAway), Effect::Splash);
    EXPECT_EQ(effectOf(GameEvent::GameOver), Effect::GameOver);
    EXPECT_EQ(effectOf(GameEvent::Paused), Effect::Pause);
    EXPECT_EQ(effectOf(GameEvent::Resumed), Effect::Resume);
    EXPECT_EQ(soundOf({GameEvent::HopStarted, 0}).pitch, 1.0f);
    const auto pointPitch = [](int score) {
        const EventSound sound = soundOf({GameEvent::NewFurthestRow, score});
        EXPECT_EQ(sound.effect, Effect::Point);
        return sound.pitch;
    };
    EXPECT_EQ(pointPitch(1), 1.0f);
    EXPECT_FLOAT_EQ(pointPitch(2), 1.0f + kPointPitchStep);
    EXPECT_GT(pointPitch(10), pointPitch(9));
    EXPECT_EQ(pointPitch(1000), kPointPitchCap);
    EXPECT_EQ(pointPitch(100000), kPointPitchCap);
}

}  // namespace

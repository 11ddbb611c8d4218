// The game's sound effects: one table row of synthesizer parameters each.
//
// Every effect is made from its row alone (audio/synth.h), once, at
// start-up. Lengths differ from effect to effect, so a buffer's length tells
// which effect it holds (the browser test relies on it).
#pragma once

#include <cstddef>

#include "audio/synth.h"

enum class Effect : std::size_t {
    Click,       // a game starts
    Hop,         // a hop leaves the ground
    LandGround,  // a soft knock: grass, grey ground
    LandLog,     // a hollow, higher knock: wood
    Point,       // a new furthest row; played faster as the score rises
    Blocked,     // a tree is in the way
    Splash,      // into the river
    GameOver,    // the sinking has ended
    Pause,
    Resume,
};

constexpr std::size_t kEffectCount = static_cast<std::size_t>(Effect::Resume) + 1;

// Sample rate of the rendered effects, samples per second.
constexpr int kEffectSampleRate = 48000;

// The parameter row of `effect`.
const VoiceShape& effectShape(Effect effect);

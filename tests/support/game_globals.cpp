#include "support/game_globals.h"

#include <gtest/gtest.h>

#include "game/classic_rand.h"
#include "game/game_state.h"
#include "game/hopping.h"

void resetGameGlobals() {
    resetGameState();
    resetClassicRand();
}

std::string jumpFrom(const glm::vec3& from, const glm::vec3& direction) {
    gameState = Playing;
    playerPosition = from;
    testing::internal::CaptureStdout();
    tryJump(direction);
    return testing::internal::GetCapturedStdout();
}

#include "support/game_globals.h"

#include <gtest/gtest.h>

#include "game/classic_rand.h"
#include "game/game_events.h"
#include "game/game_state.h"
#include "game/hopping.h"

void resetGameGlobals() {
    gameState = Menu;
    score = 0;
    playerPosition = glm::vec3(0.0f);
    playerDrawPosition = glm::vec3(0.0f);
    isJumping = false;
    jumpTimer = 0.0f;
    jumpStart = glm::vec3(0.0f);
    jumpTarget = glm::vec3(0.0f);
    isSinking = false;
    sinkTimer = 0.0f;
    furthestZ = 0;
    deltaTime = 0.0f;
    windowWidth = 1280;
    windowHeight = 768;
    zoom = 20.0f;
    leftMouseDown = false;
    rightMouseDown = false;
    debugMode = false;
    renderWireframe = false;
    renderBackfaceCulling = false;
    renderNormals = false;
    renderTexcoords = false;
    resetClassicRand();
    gameEvents.clear();
}

std::string jumpFrom(const glm::vec3& from, const glm::vec3& direction) {
    gameState = Playing;
    playerPosition = from;
    testing::internal::CaptureStdout();
    tryJump(direction);
    return testing::internal::GetCapturedStdout();
}

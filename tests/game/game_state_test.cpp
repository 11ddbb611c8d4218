// The game variables' start-up values, checked in a fresh process (a death
// test re-runs the binary), since other tests in this one change them.
#include "game/game_state.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

bool allAtStartUpValues() {
    const glm::vec3 origin(0.0f);
    return gameState == Menu && score == 0 && playerPosition == origin &&
           playerDrawPosition == origin && !isJumping && jumpTimer == 0.0f && jumpStart == origin &&
           jumpTarget == origin && !isSinking && sinkTimer == 0.0f && furthestZ == 0 &&
           deltaTime == 0.0f && windowWidth == 1280 && windowHeight == 768 && zoom == 20.0f &&
           !leftMouseDown && !rightMouseDown && !debugMode && !renderWireframe &&
           !renderBackfaceCulling && !renderNormals && !renderTexcoords;
}

TEST(GameStateTest, FreshProcessStartsOnTheStartScreenWithEverythingAtItsInitialValue) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(allAtStartUpValues() ? 0 : 1), ::testing::ExitedWithCode(0), "");
    static_assert(sizeof(GameState) == 4 && Menu == 0 && Playing == 1 && Paused == 2 &&
                  GameOver == 3);
}

}  // namespace

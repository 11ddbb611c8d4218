// Mouse buttons and scrolling turned into game state.
#include "view/input_callbacks.h"

#include <GL/glew.h>  // before GLFW, which would pull in the system GL header
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "game/game_events.h"
#include "game/game_state.h"
#include "support/game_globals.h"

namespace {

class InputCallbacksTest : public ::testing::Test {
  protected:
    void SetUp() override { resetGameGlobals(); }
    void TearDown() override { resetGameGlobals(); }
    static void mouse(int button, int action) { mouseButtonCallback(nullptr, button, action, 0); }
};

TEST_F(InputCallbacksTest, LeftClickOnTheStartScreenStartsWithoutMarkingTheButtonHeld) {
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    EXPECT_EQ(gameState, Playing);
    EXPECT_FALSE(leftMouseDown);
    ASSERT_EQ(gameEvents.size(), 1u);
    EXPECT_EQ(gameEvents[0].event, GameEvent::GameStarted);
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    EXPECT_TRUE(leftMouseDown);
    EXPECT_EQ(gameState, Playing);
    EXPECT_EQ(gameEvents.size(), 1u);  // only the click that starts a game is one
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE);
    EXPECT_FALSE(leftMouseDown);
}

TEST_F(InputCallbacksTest, ClicksOutsideTheStartScreenOnlySetTheButtonFlags) {
    for (GameState state : {Playing, Paused, GameOver}) {
        resetGameGlobals();
        gameState = state;
        mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
        mouse(GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS);
        EXPECT_EQ(gameState, state);
        EXPECT_TRUE(leftMouseDown);
        EXPECT_TRUE(rightMouseDown);
        mouse(GLFW_MOUSE_BUTTON_RIGHT, GLFW_RELEASE);
        EXPECT_FALSE(rightMouseDown);
        EXPECT_TRUE(leftMouseDown);
    }
}

TEST_F(InputCallbacksTest, RightButtonWorksOnTheStartScreenAndOtherButtonsDoNothing) {
    mouse(GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS);
    EXPECT_TRUE(rightMouseDown);
    EXPECT_EQ(gameState, Menu);
    mouse(GLFW_MOUSE_BUTTON_MIDDLE, GLFW_PRESS);
    mouse(GLFW_MOUSE_BUTTON_LEFT, GLFW_REPEAT);
    EXPECT_EQ(gameState, Menu);
    EXPECT_FALSE(leftMouseDown);
}

TEST_F(InputCallbacksTest, ScrollingZoomsByHalfAUnitPerNotchInDebugModeOnly) {
    scrollCallback(nullptr, 0.0, 1.0);
    EXPECT_EQ(zoom, 20.0f);
    debugMode = true;
    scrollCallback(nullptr, 5.0, 1.0);
    EXPECT_EQ(zoom, 19.5f);
    scrollCallback(nullptr, 0.0, -3.0);
    EXPECT_EQ(zoom, 21.0f);
    scrollCallback(nullptr, 0.0, 44.0);
    EXPECT_EQ(zoom, -1.0f);
}

}  // namespace

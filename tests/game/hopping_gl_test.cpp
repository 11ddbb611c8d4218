// Hopping with real logs (drift before the tree test) and the keys that
// reach the window or the GL state: ESC on the start screen, F1 and F2.
#include "game/hopping.h"

#include <gtest/gtest.h>

#include <string>

#include "game/game_state.h"
#include "render/picture_state.h"
#include "support/game_globals.h"
#include "support/log_fixture.h"

namespace {

using HopFromLogTest = RiverTest;

TEST_F(HopFromLogTest, OneFrameOfDriftBeforeTheHopCanLandOnATreeCell) {
    addLog(2.0f, 0.0f, 3.5f, 1.0f);
    treePositions = {{3, -0.5f, 1}};
    deltaTime = 0.05f;
    EXPECT_EQ(jumpFrom({2.39f, 0, 0}, {0, 0, 1}),
              "jumping now from: (-2.565, 0, 0) to: (-3, 0, 1)\n");
    EXPECT_FLOAT_EQ(playerPosition.x, 2.565f);
    EXPECT_EQ(jumpStart, playerPosition);
    EXPECT_EQ(jumpTarget, glm::vec3(3, 0, 1));
}

TEST_F(HopFromLogTest, BlockedHopStillDriftsButARefusedTargetDoesNot) {
    addLog(0.0f, 0.0f, 2.5f, -1.0f);
    treePositions = {{0, -0.5f, 1}};
    deltaTime = 0.1f;
    EXPECT_EQ(jumpFrom({0, 0, 0}, {0, 0, 1}), "Blocked by tree at (0, 1)\n");
    EXPECT_FLOAT_EQ(playerPosition.x, -0.25f);
    EXPECT_FALSE(isJumping);

    logs.clear();
    addLog(0.0f, 500.0f, 2.5f, -1.0f);
    EXPECT_EQ(jumpFrom({0, 0, 500}, {0, 0, 1}), "");
    EXPECT_EQ(playerPosition, glm::vec3(0, 0, 500));
}

TEST_F(HopFromLogTest, OnlyTheFirstLogUnderThePlayerCarriesIt) {
    addLog(10.0f, 0.0f, 3.5f, 1.0f);   // 1.3 away in x: not under the player
    addLog(8.7f, 0.5f, 3.5f, 1.0f);    // 0.5 away in z: not under the player
    addLog(7.5f, 0.49f, 2.5f, -1.0f);  // under
    addLog(8.5f, 0.0f, 3.5f, 1.0f);    // under, but later in the list
    deltaTime = 0.2f;
    EXPECT_EQ(jumpFrom({8.7f, 0, 0}, {-1, 0, 0}),
              "jumping now from: (-8.2, 0, 0) to: (-7, 0, 0)\n");
}

using DebugKeyTest = RiverTest;

TEST_F(DebugKeyTest, EscapeOnTheStartScreenAsksTheRunToEnd) {
    keyCallback(window_, GLFW_KEY_ESCAPE, 0, GLFW_REPEAT, 0);
    EXPECT_FALSE(quitRequested);
    keyCallback(window_, GLFW_KEY_ESCAPE, 0, GLFW_PRESS, 0);
    EXPECT_TRUE(quitRequested);
    EXPECT_EQ(gameState, Menu);
    quitRequested = false;
}

// The key asks; the renderer sets the polygon mode when the poll is over.
TEST_F(DebugKeyTest, F1TogglesWireframeAndThePolygonMode) {
    debugMode = true;
    GLint mode[2] = {};
    keyCallback(window_, GLFW_KEY_F1, 0, GLFW_PRESS, 0);
    EXPECT_TRUE(renderWireframe);
    applyPictureRequests();
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_LINE);
    keyCallback(window_, GLFW_KEY_F1, 0, GLFW_REPEAT, 0);
    EXPECT_TRUE(renderWireframe);
    EXPECT_TRUE(pictureRequests.empty());
    keyCallback(window_, GLFW_KEY_F1, 0, GLFW_PRESS, 0);
    EXPECT_FALSE(renderWireframe);
    applyPictureRequests();
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_FILL);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(DebugKeyTest, F2TogglesBackfaceCullingAndTheCullFaceState) {
    debugMode = true;
    keyCallback(window_, GLFW_KEY_F2, 0, GLFW_PRESS, 0);
    EXPECT_TRUE(renderBackfaceCulling);
    applyPictureRequests();
    EXPECT_EQ(glIsEnabled(GL_CULL_FACE), GL_TRUE);
    // Two presses in one poll: both requests are carried out, in order.
    keyCallback(window_, GLFW_KEY_F2, 0, GLFW_PRESS, 0);
    keyCallback(window_, GLFW_KEY_F2, 0, GLFW_PRESS, 0);
    ASSERT_EQ(pictureRequests.size(), 2u);
    EXPECT_FALSE(pictureRequests[0].on);
    applyPictureRequests();
    EXPECT_TRUE(renderBackfaceCulling);
    EXPECT_EQ(glIsEnabled(GL_CULL_FACE), GL_TRUE);
    keyCallback(window_, GLFW_KEY_F2, 0, GLFW_PRESS, 0);
    applyPictureRequests();
    EXPECT_EQ(glIsEnabled(GL_CULL_FACE), GL_FALSE);
}

}  // namespace

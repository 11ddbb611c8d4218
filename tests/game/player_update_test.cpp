// The player update away from the river: the hidden player in GameOver,
// the hop arc and landing, scoring, sinking, and paused frames.
#include "game/player_update.h"

#include <GL/glew.h>  // before GLFW, which would pull in the system GL header
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>
#include <string>

#include "game/game_state.h"
#include "game/hopping.h"
#include "support/game_globals.h"

namespace {

const std::vector<std::shared_ptr<Geometry>> noRiverRows;

glm::vec3 translationOf(const glm::mat4& matrix) {
    return glm::vec3(matrix[3]);
}

class PlayerUpdateTest : public ::testing::Test {
  protected:
    void SetUp() override { resetGameGlobals(); }
    void TearDown() override { resetGameGlobals(); }

    static void startHop(const glm::vec3& from, const glm::vec3& to) {
        gameState = Playing;
        playerPosition = from;
        jumpStart = from;
        jumpTarget = to;
        jumpTimer = 0.0f;
        isJumping = true;
    }
    // One frame of `seconds`; returns what it printed.
    static std::string frame(float seconds, glm::mat4* matrix = nullptr) {
        deltaTime = seconds;
        testing::internal::CaptureStdout();
        const glm::mat4 result = updatePlayer(noRiverRows);
        if (matrix != nullptr) {
            *matrix = result;
        }
        return testing::internal::GetCapturedStdout();
    }
};

TEST_F(PlayerUpdateTest, GameOverHidesThePlayerAndFreezesEverything) {
    gameState = GameOver;
    isJumping = true;
    jumpTarget = {0, 0, 1};
    isSinking = true;
    sinkTimer = 0.4f;
    glm::mat4 matrix(1.0f);
    EXPECT_EQ(frame(1.0f, &matrix), "");
    EXPECT_EQ(matrix, glm::mat4(-1.0f));
    EXPECT_EQ(matrix[3][0], 0.0f);
    EXPECT_EQ(sinkTimer, 0.4f);
    EXPECT_EQ(jumpTimer, 0.0f);
    EXPECT_TRUE(isJumping);
    EXPECT_EQ(gameState, GameOver);
}

TEST_F(PlayerUpdateTest, HopFollowsAnArcOfHeightOneAndAHalf) {
    startHop({2, 0, 4}, {2, 0, 5});
    glm::mat4 matrix(1.0f);
    EXPECT_EQ(frame(0.0f, &matrix), "");
    EXPECT_EQ(translationOf(matrix), glm::vec3(2, 0, 4));
    EXPECT_EQ(frame(0.15f, &matrix), "");
    EXPECT_EQ(translationOf(matrix), glm::vec3(2, 1.5f, 4.5f));
    EXPECT_EQ(playerDrawPosition, glm::vec3(2, 1.5f, 4.5f));
    EXPECT_EQ(playerPosition, glm::vec3(2, 0, 4));
    EXPECT_TRUE(isJumping);
    EXPECT_EQ(frame(0.15f, &matrix), "player at : (-2, 0, 5)\nScore: 1\n");
    EXPECT_EQ(translationOf(matrix), glm::vec3(2, 0, 5));
    EXPECT_EQ(playerPosition, glm::vec3(2, 0, 5));
    EXPECT_FALSE(isJumping);
}

TEST_F(PlayerUpdateTest, OneLongFrameLandsTheWholeHop) {
    startHop({0, 0, 0}, {1, 0, 0});
    glm::mat4 matrix(1.0f);
    EXPECT_EQ(frame(2.0f, &matrix), "player at : (-1, 0, 0)\n");
    EXPECT_EQ(translationOf(matrix), glm::vec3(1, 0, 0));
    EXPECT_EQ(playerDrawPosition, glm::vec3(1, 0, 0));
    EXPECT_FALSE(isJumping);
}

TEST_F(PlayerUpdateTest, LandingTakesTheTargetCellAtGroundLevel) {
    startHop({2.565f, 0, 0}, {3, 0.25f, 1});
    EXPECT_EQ(frame(0.3f), "player at : (-3, 0, 1)\nScore: 1\n");
    EXPECT_EQ(playerPosition, glm::vec3(3, 0, 1));
}

TEST_F(PlayerUpdateTest, OnePointPerNewFurthestRowAndNoneGoingBack) {
    const struct {
        float z;
        std::string printed;
        int score;
        int furthest;
    } landings[] = {
        {1, "player at : (-0, 0, 1)\nScore: 1\n", 1, 1},
        {0, "player at : (-0, 0, 0)\n", 1, 1},
        {1, "player at : (-0, 0, 1)\n", 1, 1},
        {2, "player at : (-0, 0, 2)\nScore: 2\n", 2, 2},
        {9, "player at : (-0, 0, 9)\nScore: 3\n", 3, 9},
        {-4, "player at : (-0, 0, -4)\n", 3, 9},
    };
    for (const auto& landing : landings) {
        startHop(playerPosition, {0, 0, landing.z});
        EXPECT_EQ(frame(0.3f), landing.printed);
        EXPECT_EQ(score, landing.score);
        EXPECT_EQ(furthestZ, landing.furthest);
    }
}

TEST_F(PlayerUpdateTest, SinkingLowersThePlayerAndEndsTheGameAfterOneAndAHalfSeconds) {
    gameState = Playing;
    playerPosition = {4, 0, 6};
    isSinking = true;
    glm::mat4 matrix(1.0f);
    EXPECT_EQ(frame(0.5f, &matrix), "");
    EXPECT_EQ(translationOf(matrix), glm::vec3(4, -1, 6));
    frame(0.5f, &matrix);
    EXPECT_EQ(translationOf(matrix), glm::vec3(4, -2, 6));
    EXPECT_EQ(gameState, Playing);
    EXPECT_TRUE(isSinking);
    frame(0.5f, &matrix);
    EXPECT_EQ(translationOf(matrix), glm::vec3(4, -3, 6));
    EXPECT_EQ(gameState, GameOver);
    EXPECT_FALSE(isSinking);
    EXPECT_EQ(sinkTimer, 1.5f);
}

TEST_F(PlayerUpdateTest, AHopStartedWhileSinkingWaitsForTheSinkingToEnd) {
    gameState = Playing;
    isSinking = true;
    sinkTimer = 1.0f;
    isJumping = true;
    jumpTarget = {0, 0, 1};
    frame(0.4f);
    EXPECT_EQ(jumpTimer, 0.0f);
    EXPECT_TRUE(isJumping);
    EXPECT_EQ(gameState, Playing);
}

TEST_F(PlayerUpdateTest, PausedFramesChangeNothing) {
    startHop({0, 0, 0}, {0, 0, 1});
    frame(0.1f);
    const glm::vec3 drawnBefore = playerDrawPosition;
    gameState = Paused;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(frame(0.0f), "");
    }
    EXPECT_EQ(jumpTimer, 0.1f);
    EXPECT_EQ(playerDrawPosition, drawnBefore);
    EXPECT_TRUE(isJumping);

    isJumping = false;
    isSinking = true;
    sinkTimer = 1.4f;
    frame(0.0f);
    EXPECT_EQ(sinkTimer, 1.4f);
    EXPECT_EQ(gameState, Paused);
}

TEST_F(PlayerUpdateTest, AHopPendingThroughGameOverLandsInTheNextGame) {
    startHop({0, 0, 3}, {0, 0, 4});
    furthestZ = 5;
    score = 5;
    gameState = GameOver;
    frame(1.0f);
    EXPECT_TRUE(isJumping);
    keyCallback(nullptr, GLFW_KEY_ESCAPE, 0, GLFW_PRESS, 0);
    EXPECT_EQ(gameState, Menu);
    gameState = Playing;  // the start click
    EXPECT_EQ(frame(4.0f), "player at : (-0, 0, 4)\nScore: 1\n");
    EXPECT_EQ(playerPosition, glm::vec3(0, 0, 4));
}

TEST_F(PlayerUpdateTest, StandingOffTheLogsStaysPut) {
    gameState = Playing;
    playerPosition = {-7, 0, 12};
    glm::mat4 matrix(1.0f);
    EXPECT_EQ(frame(0.5f, &matrix), "");
    EXPECT_EQ(matrix, glm::translate(glm::mat4(1.0f), glm::vec3(-7, 0, 12)));
}

}  // namespace

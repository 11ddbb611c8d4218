// The player update with real logs and river rows: riding, being carried
// away, and the water test on landing.
#include "game/player_update.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>
#include <string>

#include "game/game_events.h"
#include "game/game_state.h"
#include "support/log_fixture.h"

namespace {

class RiverLandingTest : public RiverTest {
  protected:
    void SetUp() override {
        RiverTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        gameState = Playing;
        riverRows = {makeRiverRow(-3.0f), makeRiverRow(1.0f)};
    }
    void TearDown() override {
        riverRows.clear();
        RiverTest::TearDown();
    }
    std::string frame(float seconds, glm::mat4* matrix = nullptr) {
        deltaTime = seconds;
        testing::internal::CaptureStdout();
        const glm::mat4 result = updatePlayer(riverRows);
        if (matrix != nullptr) {
            *matrix = result;
        }
        return testing::internal::GetCapturedStdout();
    }
    // The events recorded since the last call, as (event, value); the queue is emptied.
    static std::vector<std::pair<GameEvent, int>> takeEvents() {
        std::vector<std::pair<GameEvent, int>> events;
        for (std::size_t i = 0; i < gameEvents.size(); ++i) {
            events.emplace_back(gameEvents[i].event, gameEvents[i].value);
        }
        gameEvents.clear();
        return events;
    }
    static void hopTo(const glm::vec3& target) {
        jumpStart = playerPosition;
        jumpTarget = target;
        jumpTimer = 0.0f;
        isJumping = true;
    }

    std::vector<std::shared_ptr<Geometry>> riverRows;
};

TEST_F(RiverLandingTest, LandingWithinOnePointThreeOfALogIsSafeAndBeyondFallsIn) {
    addLog(1.29f, 1.0f, 2.5f, 1.0f);
    hopTo({0, 0, 1});
    glm::mat4 matrix(1.0f);
    EXPECT_EQ(frame(0.3f, &matrix), "player at : (-0, 0, 1)\nScore: 1\n");
    EXPECT_FALSE(isSinking);
    using Events = std::vector<std::pair<GameEvent, int>>;
    EXPECT_EQ(takeEvents(), (Events{{GameEvent::LandedOnLog, 0}, {GameEvent::NewFurthestRow, 1}}));

    logs.clear();
    addLog(-1.3f, 1.0f, 2.5f, 1.0f);
    playerPosition = {0, 0, 0};
    furthestZ = 0;
    score = 0;
    hopTo({0, 0, 1});
    // A new furthest row scores even when the landing then falls in.
    EXPECT_EQ(frame(0.3f, &matrix),
              "player at : (-0, 0, 1)\nScore: 1\nYou fell into the river...\n");
    EXPECT_TRUE(isSinking);
    EXPECT_EQ(sinkTimer, 0.0f);
    EXPECT_EQ(matrix, glm::translate(glm::mat4(1.0f), glm::vec3(0, 0, 1)));
    EXPECT_EQ(score, 1);
    EXPECT_EQ(gameState, Playing);
    EXPECT_EQ(takeEvents(), (Events{{GameEvent::LandedOnGround, 0},
                                    {GameEvent::NewFurthestRow, 1},
                                    {GameEvent::FellIntoRiver, 0}}));
}

TEST_F(RiverLandingTest, OnlyTheLandingFrameTestsTheWater) {
    playerPosition = {0, 0, 0.6f};  // standing half over the river row at z = 1
    EXPECT_EQ(frame(0.1f), "");
    hopTo({0, 0, 2});
    EXPECT_EQ(frame(0.1f), "");  // in flight over the water
    EXPECT_FALSE(isSinking);
    EXPECT_EQ(frame(0.2f), "player at : (-0, 0, 2)\nScore: 1\n");  // grass beyond
    EXPECT_FALSE(isSinking);
    playerPosition = {0, 0, 0};
    hopTo({0, 0, -3});
    EXPECT_EQ(frame(0.3f), "player at : (-0, 0, -3)\nYou fell into the river...\n");
}

TEST_F(RiverLandingTest, StandingPlayerRidesTheFirstLogUnderIt) {
    addLog(0.5f, 1.0f, 3.5f, -1.0f);
    addLog(1.0f, 1.0f, 2.5f, 1.0f);
    playerPosition = {0, 0, 1};
    glm::mat4 matrix(1.0f);
    EXPECT_EQ(frame(0.2f, &matrix), "");
    EXPECT_FLOAT_EQ(playerPosition.x, -0.7f);
    EXPECT_EQ(matrix, glm::translate(glm::mat4(1.0f), playerPosition));
    // The logs do not move here (the frame loop moves them); from -0.7 the
    // first log is still within reach.
    frame(0.2f);
    EXPECT_FLOAT_EQ(playerPosition.x, -1.4f);
    frame(0.2f);  // 1.9 from the first log, 2.4 from the second: off both
    EXPECT_FLOAT_EQ(playerPosition.x, -1.4f);
}

TEST_F(RiverLandingTest, CarriedPastFiveHundredStartsSinking) {
    addLog(499.5f, 1.0f, 2.5f, 1.0f);
    playerPosition = {499.5f, 0, 1};
    EXPECT_EQ(frame(0.1f), "");
    EXPECT_FLOAT_EQ(playerPosition.x, 499.75f);
    EXPECT_EQ(frame(0.2f), "You got carried away by the log!\n");
    EXPECT_FLOAT_EQ(playerPosition.x, 500.25f);
    EXPECT_TRUE(isSinking);
    EXPECT_EQ(sinkTimer, 0.0f);
    using Events = std::vector<std::pair<GameEvent, int>>;
    EXPECT_EQ(takeEvents(), (Events{{GameEvent::CarriedAway, 0}}));
    EXPECT_EQ(frame(1.0f), "");
    EXPECT_TRUE(takeEvents().empty());
    EXPECT_EQ(frame(0.5f), "");
    EXPECT_EQ(gameState, GameOver);
    EXPECT_EQ(takeEvents(), (Events{{GameEvent::GameOver, 0}}));
}

TEST_F(RiverLandingTest, PausedFramesDoNotCarryThePlayer) {
    addLog(0.0f, 1.0f, 3.5f, 1.0f);
    playerPosition = {0, 0, 1};
    gameState = Paused;
    frame(0.0f);
    EXPECT_EQ(playerPosition, glm::vec3(0, 0, 1));
}

}  // namespace

// Log drift with its strict wrap rule, and game-frame timing with pause.
#include "app/frame_step.h"

#include <gtest/gtest.h>

#include "game/game_state.h"

namespace {

TEST(LogDrift, MovesByDirectionTimesSpeedTimesFrameTime) {
    EXPECT_FLOAT_EQ(driftLogX(10.0f, 1.0f, 2.5f, 0.2f), 10.5f);
    EXPECT_FLOAT_EQ(driftLogX(10.0f, -1.0f, 3.5f, 0.2f), 9.3f);
    EXPECT_FLOAT_EQ(driftLogX(10.0f, 1.0f, 3.5f, 0.0f), 10.0f);
}

TEST(LogDrift, WrapsStrictlyPastTheEdgesToTheOtherEdge) {
    EXPECT_FLOAT_EQ(driftLogX(55.0f, 1.0f, 1.0f, 0.01f), -55.0f);
    EXPECT_FLOAT_EQ(driftLogX(54.0f, 1.0f, 1.0f, 1.0f), 55.0f);  // exactly 55 stays
    EXPECT_FLOAT_EQ(driftLogX(-54.0f, -1.0f, 1.0f, 1.0f), -55.0f);
    EXPECT_FLOAT_EQ(driftLogX(-55.0f, -1.0f, 2.5f, 0.1f), 55.0f);
    // Not by the overshoot: a long frame still lands on the edge.
    EXPECT_FLOAT_EQ(driftLogX(0.0f, 1.0f, 3.5f, 100.0f), -55.0f);
}

TEST(LogDrift, LogsGeneratedBeyondTheEdgesAllLandOnTheOppositeEdge) {
    for (float x : {70.0f, 90.0f, 110.0f, 130.0f}) {
        EXPECT_FLOAT_EQ(driftLogX(-x, 1.0f, 2.5f, 0.016f), 55.0f);
    }
}

class FrameClockTest : public ::testing::Test {
  protected:
    void TearDown() override {
        gameState = Menu;
        deltaTime = 0.0f;
    }
};

TEST_F(FrameClockTest, MeasuresFromThePreviousGameFrameAndSumsRiverTime) {
    gameState = Playing;
    FrameClock clock;
    clock.lastFrameTime = 1.0f;
    clock.endGameFrame(1.25f);
    EXPECT_FLOAT_EQ(deltaTime, 0.25f);
    clock.endGameFrame(1.75f);
    EXPECT_FLOAT_EQ(deltaTime, 0.5f);
    EXPECT_FLOAT_EQ(clock.riverTime, 0.75f);
    EXPECT_FLOAT_EQ(clock.lastFrameTime, 1.75f);
}

TEST_F(FrameClockTest, PausedFramesMeasureZeroButKeepTheClockRunning) {
    gameState = Paused;
    FrameClock clock;
    clock.lastFrameTime = 2.0f;
    clock.endGameFrame(3.0f);
    EXPECT_FLOAT_EQ(deltaTime, 0.0f);
    EXPECT_FLOAT_EQ(clock.riverTime, 0.0f);
    gameState = Playing;
    clock.endGameFrame(3.5f);
    EXPECT_FLOAT_EQ(deltaTime, 0.5f);  // not 1.5: the paused second was consumed
    EXPECT_FLOAT_EQ(clock.riverTime, 0.5f);
}

TEST_F(FrameClockTest, ARecordedFrameTimeIsUsedBitForBitAndStillZeroWhilePaused) {
    gameState = Playing;
    FrameClock clock;
    clock.lastFrameTime = 5.0f;
    const float recorded = 0.0166666675f;
    clock.useFrameTime(recorded);
    EXPECT_EQ(deltaTime, recorded);
    EXPECT_EQ(clock.riverTime, recorded);
    EXPECT_EQ(clock.lastFrameTime, 5.0f);  // the clock is not read
    gameState = Paused;
    clock.useFrameTime(0.25f);
    EXPECT_EQ(deltaTime, 0.0f);
    EXPECT_EQ(clock.riverTime, recorded);
}

}  // namespace

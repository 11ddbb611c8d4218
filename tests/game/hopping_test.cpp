// Key table, screen-state machine and the hop rules that need no logs:
// bounds, trees, rounding and the console lines.
#include "game/hopping.h"

#include <GL/glew.h>  // before GLFW, which would pull in the system GL header
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/game_events.h"
#include "game/game_state.h"
#include "game/world.h"
#include "support/game_globals.h"

namespace {

class HoppingTest : public ::testing::Test {
  protected:
    void SetUp() override { resetAll(); }
    void TearDown() override { resetAll(); }
    static void resetAll() {
        resetGameGlobals();
        treePositions.clear();
    }
    static void press(int key) { keyCallback(nullptr, key, 0, GLFW_PRESS, 0); }
    // The events recorded since the last call, in order; the queue is emptied.
    static std::vector<GameEvent> takeEvents() {
        std::vector<GameEvent> events;
        for (std::size_t i = 0; i < gameEvents.size(); ++i) {
            events.push_back(gameEvents[i].event);
        }
        gameEvents.clear();
        return events;
    }
};

// ---- movement keys ----

TEST_F(HoppingTest, EveryMovementKeyHopsOneUnitInItsDirection) {
    const struct {
        int key;
        glm::vec3 target;
    } bindings[] = {
        {GLFW_KEY_W, {0, 0, 1}},    {GLFW_KEY_UP, {0, 0, 1}},    {GLFW_KEY_SPACE, {0, 0, 1}},
        {GLFW_KEY_S, {0, 0, -1}},   {GLFW_KEY_DOWN, {0, 0, -1}}, {GLFW_KEY_A, {1, 0, 0}},
        {GLFW_KEY_LEFT, {1, 0, 0}}, {GLFW_KEY_D, {-1, 0, 0}},    {GLFW_KEY_RIGHT, {-1, 0, 0}},
    };
    for (const auto& binding : bindings) {
        resetAll();
        gameState = Playing;
        testing::internal::CaptureStdout();
        press(binding.key);
        testing::internal::GetCapturedStdout();
        EXPECT_TRUE(isJumping) << binding.key;
        EXPECT_EQ(jumpTarget, binding.target) << binding.key;
    }
}

TEST_F(HoppingTest, MovementActsOnPressAndRepeatButNotReleaseOrOutsidePlaying) {
    gameState = Playing;
    keyCallback(nullptr, GLFW_KEY_W, 0, GLFW_RELEASE, 0);
    EXPECT_FALSE(isJumping);
    testing::internal::CaptureStdout();
    keyCallback(nullptr, GLFW_KEY_W, 0, GLFW_REPEAT, 0);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(isJumping);

    for (GameState state : {Menu, Paused, GameOver}) {
        resetAll();
        gameState = state;
        press(GLFW_KEY_W);
        keyCallback(nullptr, GLFW_KEY_W, 0, GLFW_REPEAT, 0);
        EXPECT_FALSE(isJumping) << state;
    }
}

TEST_F(HoppingTest, MovementStillStartsAHopWhileSinking) {
    gameState = Playing;
    isSinking = true;
    testing::internal::CaptureStdout();
    press(GLFW_KEY_W);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(isJumping);
}

// ---- state and debug keys ----

TEST_F(HoppingTest, EscapeTogglesPauseOnPressOnly) {
    gameState = Playing;
    press(GLFW_KEY_ESCAPE);
    EXPECT_EQ(gameState, Paused);
    keyCallback(nullptr, GLFW_KEY_ESCAPE, 0, GLFW_REPEAT, 0);
    keyCallback(nullptr, GLFW_KEY_ESCAPE, 0, GLFW_RELEASE, 0);
    EXPECT_EQ(gameState, Paused);
    press(GLFW_KEY_ESCAPE);
    EXPECT_EQ(gameState, Playing);
    keyCallback(nullptr, GLFW_KEY_ESCAPE, 0, GLFW_REPEAT, 0);
    EXPECT_EQ(gameState, Playing);
    EXPECT_FALSE(isJumping);
    EXPECT_EQ(takeEvents(), (std::vector<GameEvent>{GameEvent::Paused, GameEvent::Resumed}));
}

TEST_F(HoppingTest, EscapeFromGameOverResetsOnlyPositionsFurthestRowAndScore) {
    gameState = GameOver;
    playerPosition = {3, 0, 7};
    playerDrawPosition = {3, 1, 6.5f};
    furthestZ = 7;
    score = 9;
    isJumping = true;
    jumpTimer = 0.1f;
    jumpStart = {3, 0, 6};
    jumpTarget = {3, 0, 7};
    isSinking = true;
    sinkTimer = 0.7f;
    debugMode = true;
    zoom = 12.0f;
    press(GLFW_KEY_ESCAPE);
    EXPECT_EQ(gameState, Menu);
    EXPECT_TRUE(takeEvents().empty());
    EXPECT_EQ(playerPosition, glm::vec3(0.0f));
    EXPECT_EQ(playerDrawPosition, glm::vec3(0.0f));
    EXPECT_EQ(furthestZ, 0);
    EXPECT_EQ(score, 0);
    EXPECT_TRUE(isJumping);
    EXPECT_EQ(jumpTimer, 0.1f);
    EXPECT_EQ(jumpStart, glm::vec3(3, 0, 6));
    EXPECT_EQ(jumpTarget, glm::vec3(3, 0, 7));
    EXPECT_TRUE(isSinking);
    EXPECT_EQ(sinkTimer, 0.7f);
    EXPECT_TRUE(debugMode);
    EXPECT_EQ(zoom, 12.0f);
}

TEST_F(HoppingTest, DebugKeyTogglesInEveryStateAndGatesTheDeveloperKeys) {
    for (GameState state : {Menu, Playing, Paused, GameOver}) {
        resetAll();
        gameState = state;
        press(GLFW_KEY_K);
        press(GLFW_KEY_F1);
        press(GLFW_KEY_F2);
        EXPECT_EQ(gameState, state);
        EXPECT_FALSE(renderWireframe);
        EXPECT_FALSE(renderBackfaceCulling);
        keyCallback(nullptr, GLFW_KEY_C, 0, GLFW_REPEAT, 0);
        EXPECT_FALSE(debugMode);
        press(GLFW_KEY_C);
        EXPECT_TRUE(debugMode);
        press(GLFW_KEY_K);
        EXPECT_EQ(gameState, GameOver);
        press(GLFW_KEY_C);
        EXPECT_FALSE(debugMode);
    }
}

TEST_F(HoppingTest, KillKeyLeavesAHopOrSinkingPending) {
    gameState = Playing;
    debugMode = true;
    isJumping = true;
    isSinking = true;
    press(GLFW_KEY_K);
    EXPECT_EQ(gameState, GameOver);
    EXPECT_TRUE(isJumping);
    EXPECT_TRUE(isSinking);
    ASSERT_EQ(gameEvents.size(), 1u);
    EXPECT_EQ(gameEvents[0].value, kEndedByKey);  // not the sinking's end
    EXPECT_EQ(takeEvents(), std::vector<GameEvent>{GameEvent::GameOver});
}

// ---- hop rules ----

TEST_F(HoppingTest, AHopInFlightRefusesAnotherSilently) {
    isJumping = true;
    jumpTarget = {0, 0, 1};
    EXPECT_EQ(jumpFrom({0, 0, 0}, {1, 0, 0}), "");
    EXPECT_EQ(jumpTarget, glm::vec3(0, 0, 1));
}

TEST_F(HoppingTest, TargetsUpToFiveHundredAreAllowedAndBeyondRefusedSilently) {
    EXPECT_EQ(jumpFrom({499, 0, 0}, {1, 0, 0}),
              "jumping now from: (-499, 0, 0) to: (-500, 0, 0)\n");
    isJumping = false;
    EXPECT_EQ(jumpFrom({0, 0, -499}, {0, 0, -1}),
              "jumping now from: (-0, 0, -499) to: (-0, 0, -500)\n");
    isJumping = false;
    for (const auto& [from, direction] :
         std::vector<std::pair<glm::vec3, glm::vec3>>{{{500, 0, 0}, {1, 0, 0}},
                                                      {{-500, 0, 3}, {-1, 0, 0}},
                                                      {{2, 0, 500}, {0, 0, 1}},
                                                      {{2, 0, -500}, {0, 0, -1}}}) {
        EXPECT_EQ(jumpFrom(from, direction), "");
        EXPECT_FALSE(isJumping);
        EXPECT_EQ(playerPosition, from);
    }
}

TEST_F(HoppingTest, TreeCloserThanSixTenthsToTheTargetBlocks) {
    treePositions = {{0.59f, -0.5f, 1.0f}};
    EXPECT_EQ(jumpFrom({0, 0, 0}, {0, 0, 1}), "Blocked by tree at (0.59, 1)\n");
    EXPECT_FALSE(isJumping);
    EXPECT_EQ(takeEvents(), std::vector<GameEvent>{GameEvent::HopBlocked});

    treePositions = {{0.6f, -0.5f, 1.0f}, {0.0f, -0.5f, 1.6f}};
    EXPECT_EQ(jumpFrom({0, 0, 0}, {0, 0, 1}), "jumping now from: (-0, 0, 0) to: (-0, 0, 1)\n");
    EXPECT_TRUE(isJumping);
    EXPECT_EQ(takeEvents(), std::vector<GameEvent>{GameEvent::HopStarted});
    // A hop in flight refuses another without an event.
    EXPECT_EQ(jumpFrom({0, 0, 0}, {0, 0, 1}), "");
    EXPECT_TRUE(takeEvents().empty());
}

TEST_F(HoppingTest, TheEventQueueKeepsItsOrderAndDropsWhatDoesNotFit) {
    for (std::size_t i = 0; i < GameEventQueue::kCapacity + 3; ++i) {
        gameEvents.push(i % 2 == 0 ? GameEvent::HopStarted : GameEvent::NewFurthestRow,
                        static_cast<int>(i));
    }
    ASSERT_EQ(gameEvents.size(), GameEventQueue::kCapacity);
    EXPECT_EQ(gameEvents[1].event, GameEvent::NewFurthestRow);
    EXPECT_EQ(gameEvents[GameEventQueue::kCapacity - 1].value,
              static_cast<int>(GameEventQueue::kCapacity - 1));

    struct Heard : GameEventListener {
        std::vector<int> values;
        int frames = 0;
        void hear(const GameEventRecord& record) override { values.push_back(record.value); }
        void endFrame() override { ++frames; }
    } heard;
    deliverGameEvents(&heard);
    EXPECT_EQ(heard.values.size(), GameEventQueue::kCapacity);
    EXPECT_EQ(heard.values.front(), 0);
    EXPECT_EQ(heard.frames, 1);
    EXPECT_EQ(gameEvents.size(), 0u);
    deliverGameEvents(&heard);  // a frame without events still ends
    EXPECT_EQ(heard.frames, 2);
    gameEvents.push(GameEvent::Paused);
    deliverGameEvents(nullptr);  // nobody listens: the queue is still emptied
    EXPECT_EQ(gameEvents.size(), 0u);
}

TEST_F(HoppingTest, OnlyTheFirstBlockingTreeIsReportedWithItsStoredX) {
    treePositions = {{5, -0.5f, 0}, {-3, -0.5f, 7}, {-3, -0.5f, 7}};
    EXPECT_EQ(jumpFrom({-4, 0, 7}, {1, 0, 0}), "Blocked by tree at (-3, 7)\n");
}

TEST_F(HoppingTest, TreeOnTheStartCellDoesNotHoldThePlayer) {
    treePositions = {{0, -0.5f, 0}};
    jumpFrom({0, 0, 0}, {0, 0, 1});
    EXPECT_TRUE(isJumping);
}

TEST_F(HoppingTest, HopRecordsItsStartAndRoundsTheTargetHalfAwayFromZero) {
    EXPECT_EQ(jumpFrom({0.5f, 0, 0}, {0, 0, 1}), "jumping now from: (-0.5, 0, 0) to: (-1, 0, 1)\n");
    EXPECT_EQ(jumpStart, glm::vec3(0.5f, 0, 0));
    EXPECT_EQ(jumpTarget, glm::vec3(1, 0, 1));
    EXPECT_EQ(jumpTimer, 0.0f);

    isJumping = false;
    jumpTimer = 0.2f;
    EXPECT_EQ(jumpFrom({-2.5f, 0, 4}, {0, 0, -1}), "jumping now from: (2.5, 0, 4) to: (3, 0, 3)\n");
    EXPECT_EQ(jumpTarget, glm::vec3(-3, 0, 3));
    EXPECT_EQ(jumpTimer, 0.0f);

    isJumping = false;
    EXPECT_EQ(jumpFrom({1.2345678f, 0, 10}, {-1, 0, 0}),
              "jumping now from: (-1.23457, 0, 10) to: (-0, 0, 10)\n");
}

}  // namespace

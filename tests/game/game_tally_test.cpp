#include "game/game_tally.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using E = GameEvent;

struct TallyCase {
    const char* name;
    std::vector<GameEventRecord> events;
    std::vector<GameResult> games;
    bool inGame;
};

const std::vector<TallyCase> kCases = {
    {"NoClickNoGame", {{E::NewFurthestRow, 3}, {E::GameOver, 0}}, {}, false},
    {"RunningGameIsUnfinished",
     {{E::GameStarted, 0}, {E::NewFurthestRow, 1}, {E::NewFurthestRow, 2}},
     {{2, GameOutcome::Unfinished}},
     true},
    {"FallThenSinkIsRiver",
     {{E::GameStarted, 0}, {E::NewFurthestRow, 1}, {E::FellIntoRiver, 0}, {E::GameOver, 0}},
     {{1, GameOutcome::River}},
     false},
    {"CarriedThenSinkIsCarried",
     {{E::GameStarted, 0}, {E::CarriedAway, 0}, {E::GameOver, 0}},
     {{0, GameOutcome::Carried}},
     false},
    {"DebugKeyIsEndedEvenWhileSinking",
     {{E::GameStarted, 0}, {E::FellIntoRiver, 0}, {E::GameOver, kEndedByKey}},
     {{0, GameOutcome::Ended}},
     false},
    // The sinking that K cut short goes on and ends the next game.
    {"LeftOverSinkingEndsTheNextGameAsItsKind",
     {{E::GameStarted, 0},
      {E::CarriedAway, 0},
      {E::GameOver, kEndedByKey},
      {E::GameStarted, 0},
      {E::NewFurthestRow, 1},
      {E::GameOver, 0}},
     {{0, GameOutcome::Ended}, {1, GameOutcome::Carried}},
     false},
    {"SinkingIntoAnEndedGameOverChangesNothing",
     {{E::GameStarted, 0}, {E::GameOver, kEndedByKey}, {E::GameOver, 0}},
     {{0, GameOutcome::Ended}},
     false},
};

class GameTallyTest : public testing::TestWithParam<TallyCase> {};

TEST_P(GameTallyTest, CountsEachGameWithItsScoreAndEnd) {
    GameTally tally;
    for (const GameEventRecord& record : GetParam().events) {
        tally.hear(record);
    }
    EXPECT_EQ(tally.games(), GetParam().games);
    EXPECT_EQ(tally.inGame(), GetParam().inGame);
}

INSTANTIATE_TEST_SUITE_P(Events, GameTallyTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<TallyCase>& tallyCase) {
                             return std::string(tallyCase.param.name);
                         });

TEST(GameTallyBestTest, IsTheHighestScoreOrZero) {
    GameTally tally;
    EXPECT_EQ(tally.best(), 0);
    for (const GameEventRecord& record : {GameEventRecord{E::GameStarted, 0},
                                          {E::NewFurthestRow, 4},
                                          {E::GameOver, kEndedByKey},
                                          {E::GameStarted, 0},
                                          {E::NewFurthestRow, 2}}) {
        tally.hear(record);
    }
    EXPECT_EQ(tally.best(), 4);
    EXPECT_STREQ(outcomeName(GameOutcome::Carried), "carried");
}

}  // namespace

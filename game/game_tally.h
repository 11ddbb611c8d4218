// The games of a run as they happened: one entry per game, with its final
// score and how it ended.
//
// Built from the game events alone (it is a listener like the sound), so
// whatever plays a run, a window or none, tallies it the same way: the
// referee's verdict on a replay and the player's kept bests both read it.
// A game starts with the start screen's click and ends with GameOver; the
// way it ended is the last sinking's kind, or the debug key.
#pragma once

#include <vector>

#include "game/game_events.h"

enum class GameOutcome {
    River,       // fell into the water and sank
    Carried,     // a log carried the player past the edge, then they sank
    Ended,       // the debug key ended it
    Unfinished,  // still going (or sinking) when the run stopped
};

// "river", "carried", "ended" or "unfinished".
const char* outcomeName(GameOutcome outcome);

struct GameResult {
    int score = 0;
    GameOutcome outcome = GameOutcome::Unfinished;

    bool operator==(const GameResult& other) const {
        return score == other.score && outcome == other.outcome;
    }
};

class GameTally : public GameEventListener {
  public:
    void hear(const GameEventRecord& record) override;

    // Every game so far, in order; the last one Unfinished while it goes on.
    const std::vector<GameResult>& games() const { return games_; }
    bool inGame() const { return inGame_; }
    // The highest score of any game, 0 when there is none.
    int best() const;

  private:
    std::vector<GameResult> games_;
    bool inGame_ = false;
    // The kind of the last sinking: a sinking goes on across the debug key
    // and may end the next game, which then ends as that sinking's kind.
    GameOutcome sinking_ = GameOutcome::River;
};

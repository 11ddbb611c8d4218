#include "game/game_tally.h"

#include <algorithm>

const char* outcomeName(GameOutcome outcome) {
    switch (outcome) {
        case GameOutcome::River:
            return "river";
        case GameOutcome::Carried:
            return "carried";
        case GameOutcome::Ended:
            return "ended";
        case GameOutcome::Unfinished:
            return "unfinished";
    }
    return "unfinished";
}

void GameTally::hear(const GameEventRecord& record) {
    switch (record.event) {
        case GameEvent::GameStarted:
            games_.push_back({});
            inGame_ = true;
            break;
        case GameEvent::NewFurthestRow:
            if (inGame_) {
                games_.back().score = record.value;
            }
            break;
        case GameEvent::FellIntoRiver:
            sinking_ = GameOutcome::River;
            break;
        case GameEvent::CarriedAway:
            sinking_ = GameOutcome::Carried;
            break;
        case GameEvent::GameOver:
            if (inGame_) {
                games_.back().outcome = record.value == kEndedByKey ? GameOutcome::Ended : sinking_;
                inGame_ = false;
            }
            break;
        default:
            break;
    }
}

int GameTally::best() const {
    int best = 0;
    for (const GameResult& game : games_) {
        best = std::max(best, game.score);
    }
    return best;
}

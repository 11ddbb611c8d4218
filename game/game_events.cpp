#include "game/game_events.h"

GameEventQueue gameEvents;

void GameEventQueue::push(GameEvent event, int value) {
    if (count_ < kCapacity) {
        events_[count_++] = GameEventRecord{event, value};
    }
}

void deliverGameEvents(GameEventListener* listener) {
    if (listener != nullptr) {
        for (std::size_t i = 0; i < gameEvents.size(); ++i) {
            listener->hear(gameEvents[i]);
        }
        listener->endFrame();
    }
    gameEvents.clear();
}

void ListenerPair::hear(const GameEventRecord& record) {
    for (GameEventListener* listener : pair_) {
        if (listener != nullptr) {
            listener->hear(record);
        }
    }
}

void ListenerPair::endFrame() {
    for (GameEventListener* listener : pair_) {
        if (listener != nullptr) {
            listener->endFrame();
        }
    }
}

// What happened in the game this frame, as the rules saw it.
//
// The rules and the input callbacks only change game state; whoever wants to
// react to what happened (the sound) must not be called from inside them.
// So they record each event in a small fixed queue instead, and the frame
// loop hands the queue's contents on once per frame and empties it. The
// queue never allocates: a frame records a handful of events at most, and
// an event beyond the capacity is dropped.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

enum class GameEvent : std::uint8_t {
    GameStarted,     // the left click on the start screen
    HopStarted,      // a hop left the ground
    LandedOnGround,  // a hop landed on grass, grey ground or water
    LandedOnLog,     // a hop landed on a log
    NewFurthestRow,  // a point; value: the new score
    HopBlocked,      // a tree stood at the target
    FellIntoRiver,   // the sinking starts: a landing in the water
    CarriedAway,     // the sinking starts: a log carried the player past the edge
    GameOver,        // the game ended; value: kEndedByKey for the debug key, else 0 (sunk)
    Paused,
    Resumed,
};

struct GameEventRecord {
    GameEvent event = GameEvent::GameStarted;
    int value = 0;  // the score for NewFurthestRow, the way GameOver came, else 0
};

// GameOver's value when the debug key ended the game rather than the sinking.
constexpr int kEndedByKey = 1;

class GameEventQueue {
  public:
    static constexpr std::size_t kCapacity = 16;

    // Appends an event; dropped when the queue is full.
    void push(GameEvent event, int value = 0);
    std::size_t size() const { return count_; }
    const GameEventRecord& operator[](std::size_t index) const { return events_[index]; }
    void clear() { count_ = 0; }

  private:
    std::array<GameEventRecord, kCapacity> events_{};
    std::size_t count_ = 0;
};

// The game's one queue, filled by the rules and emptied by the frame loop.
extern GameEventQueue gameEvents;

// Receives the events of a frame, in the order they happened.
class GameEventListener {
  public:
    virtual ~GameEventListener() = default;
    virtual void hear(const GameEventRecord& record) = 0;
    // After the frame's events (called every frame, with or without events).
    virtual void endFrame() {}
};

// Two listeners hearing the same events in turn, either of them null (the
// sound and the player's bests share the frame loop's one listener).
class ListenerPair : public GameEventListener {
  public:
    ListenerPair(GameEventListener* first, GameEventListener* second) : pair_{first, second} {}
    void hear(const GameEventRecord& record) override;
    void endFrame() override;

  private:
    GameEventListener* pair_[2];
};

// Hands every queued event to `listener` (when not null) and empties the queue.
void deliverGameEvents(GameEventListener* listener);

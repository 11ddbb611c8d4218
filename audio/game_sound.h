// The game's sound: it listens to the game's events and plays the effect of
// each, on the player's sound device when one could be opened.
//
// The rules never call it; the frame loop hands it each frame's events
// (game/game_events.h). Opening the device is the only step that can fail,
// and a failure is silent: the game then runs without a listener, exactly as
// a game without sound.
#pragma once

#include <memory>

#include "audio/sound_player.h"
#include "game/game_events.h"

// A new furthest row is played this much faster per point beyond the first,
// up to kPointPitchCap.
constexpr float kPointPitchStep = 0.03f;
constexpr float kPointPitchCap = 1.6f;

// The effect an event sounds as, and how fast it is played.
struct EventSound {
    Effect effect;
    float pitch;
};
EventSound soundOf(const GameEventRecord& record);

class GameSound : public GameEventListener {
  public:
    explicit GameSound(std::unique_ptr<SoundPlayer> player) : player_(std::move(player)) {}

    // The default device of the platform with every effect loaded, or null
    // when there is none (or it fails); the libraries' own complaints are
    // kept off the terminal.
    static std::unique_ptr<GameSound> openDefaultDevice();

    void hear(const GameEventRecord& record) override;

    SoundPlayer& player() { return *player_; }

  private:
    std::unique_ptr<SoundPlayer> player_;
};

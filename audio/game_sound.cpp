#include "audio/game_sound.h"

#include <algorithm>

#include "framework/platform.h"

EventSound soundOf(const GameEventRecord& record) {
    switch (record.event) {
        case GameEvent::GameStarted:
            return {Effect::Click, 1.0f};
        case GameEvent::HopStarted:
            return {Effect::Hop, 1.0f};
        case GameEvent::LandedOnGround:
            return {Effect::LandGround, 1.0f};
        case GameEvent::LandedOnLog:
            return {Effect::LandLog, 1.0f};
        case GameEvent::NewFurthestRow: {
            const float rise = kPointPitchStep * static_cast<float>(std::max(record.value - 1, 0));
            return {Effect::Point, std::min(1.0f + rise, kPointPitchCap)};
        }
        case GameEvent::HopBlocked:
            return {Effect::Blocked, 1.0f};
        case GameEvent::FellIntoRiver:
        case GameEvent::CarriedAway:
            return {Effect::Splash, 1.0f};
        case GameEvent::GameOver:
            return {Effect::GameOver, 1.0f};
        case GameEvent::Paused:
            return {Effect::Pause, 1.0f};
        case GameEvent::Resumed:
            return {Effect::Resume, 1.0f};
    }
    return {Effect::Click, 1.0f};
}

std::unique_ptr<GameSound> GameSound::openDefaultDevice() {
    platformQuietSoundLibraries();
    std::unique_ptr<SoundPlayer> player = SoundPlayer::create(AlDevice(alcOpenDevice(nullptr)));
    return player ? std::make_unique<GameSound>(std::move(player)) : nullptr;
}

void GameSound::hear(const GameEventRecord& record) {
    if (platformSoundMuted()) {
        return;
    }
    const EventSound sound = soundOf(record);
    player_->play(sound.effect, sound.pitch);
}

#include "app/frame_step.h"

#include "game/game_state.h"

float driftLogX(float x, float direction, float speed, float frameSeconds) {
    float next = direction * speed * frameSeconds + x;
    if (next > kLogWrapX) {
        next = -kLogWrapX;
    } else if (next < -kLogWrapX) {
        next = kLogWrapX;
    }
    return next;
}

void FrameClock::endGameFrame(float now) {
    const float elapsed = now - lastFrameTime;
    lastFrameTime = now;
    useFrameTime(elapsed);
}

void FrameClock::useFrameTime(float seconds) {
    deltaTime = gameState == Paused ? 0.0f : seconds;
    riverTime += deltaTime;
}

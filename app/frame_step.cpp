#include "app/frame_step.h"

#include "game/game_state.h"
#include "game/world.h"

float driftLogX(float x, float direction, float speed, float frameSeconds) {
    float next = direction * speed * frameSeconds + x;
    if (next > kLogWrapX) {
        next = -kLogWrapX;
    } else if (next < -kLogWrapX) {
        next = kLogWrapX;
    }
    return next;
}

void driftLogs(float frameSeconds) {
    for (LogEntry& log : logs) {
        Geometry& geometry = *log.geometry;
        geometry.setTranslationX(
            driftLogX(geometry.getModelMatrix()[3].x, log.direction, log.speed, frameSeconds));
    }
}

void FrameClock::endGameFrame(float now) {
    const float elapsed = now - lastFrameTime;
    lastFrameTime = now;
    useFrameTime(elapsed);
}

void FrameClock::useFrameTime(float seconds) {
    frameTime = seconds;
    deltaTime = gameState == Paused ? 0.0f : seconds;
    riverTime += deltaTime;
}

#include "game/player_update.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <iostream>

#include "game/game_events.h"
#include "game/game_state.h"
#include "game/world.h"

namespace {

constexpr float hopDuration = 0.3f;   // seconds
constexpr float hopArcFactor = 6.0f;  // height 6 (p - p^2): 1.5 at mid-hop
constexpr float sinkDuration = 1.5f;  // seconds
constexpr float sinkSpeed = 2.0f;     // units per second downwards
constexpr float carriedAwayBound = 500.0f;
constexpr float onRiverRowDepth = 0.5f;  // |z - row z| below this: on that river row

glm::mat4 translation(const glm::vec3& offset) {
    return glm::translate(glm::mat4(1.0f), offset);
}

void startSinking(GameEvent how) {
    gameEvents.push(how);
    isSinking = true;
    sinkTimer = 0.0f;
}

glm::mat4 sink() {
    sinkTimer += deltaTime;
    if (sinkTimer >= sinkDuration) {
        gameState = GameOver;
        isSinking = false;
        gameEvents.push(GameEvent::GameOver);
    }
    return translation({playerPosition.x, -sinkSpeed * sinkTimer, playerPosition.z});
}

// A standing player rides the first log under them.
glm::mat4 stand() {
    if (const LogEntry* log = findLogUnder(playerPosition)) {
        playerPosition.x += log->direction * log->speed * deltaTime;
        if (playerPosition.x < -carriedAwayBound || playerPosition.x > carriedAwayBound) {
            std::cout << "You got carried away by the log!" << std::endl;
            startSinking(GameEvent::CarriedAway);
        }
    }
    return translation(playerPosition);
}

// Ends the hop on its target; true when a log lies under the landing cell.
bool land() {
    playerPosition = glm::vec3(jumpTarget.x, 0.0f, jumpTarget.z);
    isJumping = false;
    std::cout << "player at : (" << -playerPosition.x << ", " << playerPosition.y << ", "
              << playerPosition.z << ")" << std::endl;
    const bool onLog = findLogUnder(playerPosition) != nullptr;
    gameEvents.push(onLog ? GameEvent::LandedOnLog : GameEvent::LandedOnGround);
    if (playerPosition.z > static_cast<float>(furthestZ)) {
        score += 1;
        furthestZ = static_cast<int>(playerPosition.z);  // truncated toward zero
        std::cout << "Score: " << score << std::endl;
        gameEvents.push(GameEvent::NewFurthestRow, score);
    }
    return onLog;
}

glm::mat4 hop(const std::vector<std::shared_ptr<Geometry>>& riverRows) {
    jumpTimer += deltaTime;
    float progress = jumpTimer / hopDuration;
    const bool landed = progress >= 1.0f;
    bool onLog = false;
    if (landed) {
        onLog = land();
        progress = 1.0f;
    }
    playerDrawPosition = glm::vec3(jumpTarget.x * progress + (1.0f - progress) * jumpStart.x,
                                   hopArcFactor * (progress - progress * progress),
                                   jumpTarget.z * progress + (1.0f - progress) * jumpStart.z);
    const glm::mat4 drawMatrix = translation(playerDrawPosition);
    if (!landed) {
        return drawMatrix;
    }
    // The water test runs only in the frame a hop lands, against the landing cell.
    for (const auto& row : riverRows) {
        if (std::abs(playerPosition.z - row->getModelMatrix()[3].z) < onRiverRowDepth) {
            if (onLog) {
                return drawMatrix;
            }
            std::cout << "You fell into the river..." << std::endl;
            startSinking(GameEvent::FellIntoRiver);
            return translation(playerPosition);
        }
    }
    return drawMatrix;
}

}  // namespace

glm::mat4 updatePlayer(const std::vector<std::shared_ptr<Geometry>>& riverRows) {
    if (gameState == GameOver) {
        return glm::mat4(-1.0f);
    }
    if (isSinking) {
        return sink();
    }
    if (!isJumping) {
        return stand();
    }
    return hop(riverRows);
}

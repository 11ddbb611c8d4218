#include "game/hopping.h"

#include <GLFW/glfw3.h>

#include <cmath>
#include <iostream>

#include "game/game_events.h"
#include "game/game_state.h"
#include "game/picture_requests.h"
#include "game/world.h"

namespace {

constexpr float worldBound = 500.0f;       // hop targets stay within ±500 in x and z
constexpr float treeBlockDistance = 0.6f;  // a tree closer than this to the target blocks

const glm::vec3 forward(0.0f, 0.0f, 1.0f);
const glm::vec3 back(0.0f, 0.0f, -1.0f);
const glm::vec3 left(1.0f, 0.0f, 0.0f);  // +x lies to the left of a player facing +z
const glm::vec3 right(-1.0f, 0.0f, 0.0f);

bool outsideBounds(float value) {
    return value < -worldBound || value > worldBound;
}

// The hop direction bound to `key`, or null for a key that does not move.
const glm::vec3* movementDirection(int key) {
    switch (key) {
        case GLFW_KEY_W:
        case GLFW_KEY_UP:
        case GLFW_KEY_SPACE:
            return &forward;
        case GLFW_KEY_S:
        case GLFW_KEY_DOWN:
            return &back;
        case GLFW_KEY_A:
        case GLFW_KEY_LEFT:
            return &left;
        case GLFW_KEY_D:
        case GLFW_KEY_RIGHT:
            return &right;
        default:
            return nullptr;
    }
}

void handleEscape() {
    switch (gameState) {
        case Playing:
            gameState = Paused;
            gameEvents.push(GameEvent::Paused);
            break;
        case Paused:
            gameState = Playing;
            gameEvents.push(GameEvent::Resumed);
            break;
        case GameOver:
            gameState = Menu;
            playerPosition = glm::vec3(0.0f);
            playerDrawPosition = glm::vec3(0.0f);
            furthestZ = 0;
            score = 0;
            break;
        case Menu:
            quitRequested = true;
            break;
    }
}

// State and debug keys; called for presses only.
void handlePress(int key) {
    if (key == GLFW_KEY_ESCAPE) {
        handleEscape();
    } else if (key == GLFW_KEY_C) {
        debugMode = !debugMode;
    } else if (!debugMode) {
        return;
    } else if (key == GLFW_KEY_K) {
        gameState = GameOver;
        gameEvents.push(GameEvent::GameOver, kEndedByKey);
    } else if (key == GLFW_KEY_F1) {
        renderWireframe = !renderWireframe;
        pictureRequests.push_back({PictureRequest::Kind::Wireframe, 0, 0, renderWireframe});
    } else if (key == GLFW_KEY_F2) {
        renderBackfaceCulling = !renderBackfaceCulling;
        pictureRequests.push_back(
            {PictureRequest::Kind::BackfaceCulling, 0, 0, renderBackfaceCulling});
    }
}

// One frame of drift from the first log under the player, if any.
void driftWithLog() {
    if (const LogEntry* log = findLogUnder(playerPosition)) {
        playerPosition.x += log->direction * log->speed * deltaTime;
    }
}

// Prints and returns true when a tree stands within reach of the target.
bool blockedByTree(float targetX, float targetZ) {
    for (const glm::vec3& tree : treePositions) {
        const float dx = targetX - tree.x;
        const float dz = targetZ - tree.z;
        if (std::sqrt(dx * dx + dz * dz) < treeBlockDistance) {
            std::cout << "Blocked by tree at (" << tree.x << ", " << tree.z << ")" << std::endl;
            gameEvents.push(GameEvent::HopBlocked);
            return true;
        }
    }
    return false;
}

}  // namespace

void keyCallback(GLFWwindow* /*window*/, int key, int /*scancode*/, int action, int /*mods*/) {
    if (action == GLFW_PRESS) {
        handlePress(key);
    }
    if (gameState != Playing || (action != GLFW_PRESS && action != GLFW_REPEAT)) {
        return;
    }
    if (const glm::vec3* direction = movementDirection(key)) {
        tryJump(*direction);
    }
}

void tryJump(const glm::vec3& direction) {
    if (isJumping) {
        return;
    }
    // Bounds and trees are tested on the target before the log drift.
    const float targetX = playerPosition.x + direction.x;
    const float targetZ = playerPosition.z + direction.z;
    if (outsideBounds(targetX) || outsideBounds(targetZ)) {
        return;
    }
    driftWithLog();
    if (blockedByTree(targetX, targetZ)) {
        return;
    }
    jumpStart = playerPosition;
    // std::round rounds halfway cases away from zero.
    jumpTarget =
        glm::vec3(std::round(playerPosition.x + direction.x), playerPosition.y + direction.y,
                  std::round(playerPosition.z + direction.z));
    jumpTimer = 0.0f;
    isJumping = true;
    gameEvents.push(GameEvent::HopStarted);
    std::cout << "jumping now from: (" << -jumpStart.x << ", " << jumpStart.y << ", " << jumpStart.z
              << ") to: (" << -jumpTarget.x << ", " << jumpTarget.y << ", " << jumpTarget.z << ")"
              << std::endl;
}

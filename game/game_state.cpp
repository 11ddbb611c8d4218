#include "game/game_state.h"

#include "game/game_events.h"
#include "game/picture_requests.h"

GameState gameState = Menu;
int score = 0;
glm::vec3 playerPosition(0.0f, 0.0f, 0.0f);
glm::vec3 playerDrawPosition(0.0f, 0.0f, 0.0f);
bool isJumping = false;
float jumpTimer = 0.0f;
glm::vec3 jumpStart(0.0f, 0.0f, 0.0f);
glm::vec3 jumpTarget(0.0f, 0.0f, 0.0f);
bool isSinking = false;
float sinkTimer = 0.0f;
int furthestZ = 0;
float deltaTime = 0.0f;
int windowWidth = 1280;
int windowHeight = 768;
float zoom = 20.0f;
bool leftMouseDown = false;
bool rightMouseDown = false;
bool debugMode = false;
bool quitRequested = false;

bool renderWireframe = false;
bool renderBackfaceCulling = false;
bool renderNormals = false;
bool renderTexcoords = false;

std::vector<PictureRequest> pictureRequests;

void resetGameState() {
    gameState = Menu;
    score = 0;
    playerPosition = glm::vec3(0.0f);
    playerDrawPosition = glm::vec3(0.0f);
    isJumping = false;
    jumpTimer = 0.0f;
    jumpStart = glm::vec3(0.0f);
    jumpTarget = glm::vec3(0.0f);
    isSinking = false;
    sinkTimer = 0.0f;
    furthestZ = 0;
    deltaTime = 0.0f;
    windowWidth = 1280;
    windowHeight = 768;
    zoom = 20.0f;
    leftMouseDown = false;
    rightMouseDown = false;
    debugMode = false;
    quitRequested = false;
    renderWireframe = false;
    renderBackfaceCulling = false;
    renderNormals = false;
    renderTexcoords = false;
    gameEvents.clear();
    pictureRequests.clear();
}

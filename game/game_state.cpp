#include "game/game_state.h"

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

bool renderWireframe = false;
bool renderBackfaceCulling = false;
bool renderNormals = false;
bool renderTexcoords = false;

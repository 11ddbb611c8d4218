// The game's shared state: one instance of each variable for the whole run.
//
// The frame loop, the input callbacks and the rules all read and write these
// directly. They are plain globals on purpose: GLFW delivers input through
// free-function callbacks, everything runs on one thread, and callbacks only
// run inside the frame loop's event poll, so nothing changes while a frame is
// being drawn.
#pragma once

#include <glm/vec3.hpp>

enum GameState : int { Menu = 0, Playing = 1, Paused = 2, GameOver = 3 };

extern GameState gameState;           // screen state; starts on the start screen
extern int score;                     // one point per new furthest row
extern glm::vec3 playerPosition;      // committed grid position (x moves while riding a log)
extern glm::vec3 playerDrawPosition;  // drawn position during a hop, arc height included
extern bool isJumping;                // a hop is in flight
extern float jumpTimer;               // seconds into the current hop
extern glm::vec3 jumpStart;           // where the current hop started
extern glm::vec3 jumpTarget;          // where it lands (whole-number x and z)
extern bool isSinking;                // the fall-into-water animation runs
extern float sinkTimer;               // seconds into that animation
extern int furthestZ;                 // largest z landed on in this game
extern float deltaTime;               // seconds of the previous game frame; 0 while paused
extern int windowWidth;               // window size in pixels: settings, then resizes
extern int windowHeight;
extern float zoom;  // camera distance from its orbit centre
extern bool leftMouseDown;
extern bool rightMouseDown;
extern bool debugMode;      // free camera and developer keys
extern bool quitRequested;  // Esc on the start screen: the run ends after this frame

// Renderer flags: read from the renderer settings at start-up; the first two
// are toggled by the debug keys F1 and F2. Normals and texcoords are stored
// and have no effect on rendering.
extern bool renderWireframe;
extern bool renderBackfaceCulling;
extern bool renderNormals;
extern bool renderTexcoords;

// Puts every variable above back to its start-up value and empties the
// queues of game events and picture requests, for a new run in the same process (the page plays
// one replay after another).
void resetGameState();

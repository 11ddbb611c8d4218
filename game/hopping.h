// Keyboard control: the key table of the game and the start of a hop.
//
// keyCallback is the window's GLFW key callback, so it runs inside the frame
// loop's event poll. It changes the screen state (Esc on the start screen
// sets quitRequested), toggles the debug flags (recording the picture
// requests F1 and F2 stand for) and, for movement keys, asks tryJump for a hop. tryJump only
// decides whether a hop may start and records its end points; the player update animates and lands
// it.
#pragma once

#include <glm/vec3.hpp>

struct GLFWwindow;

// GLFW key callback; scancode and modifier bits are ignored. State and debug
// keys act on presses only, movement keys on presses and repeats.
void keyCallback(GLFWwindow* window, int key, int scancode, int action, int mods);

// Starts a hop by one grid unit along `direction` (a unit vector on the
// ground, y = 0) unless a hop is in flight, the target leaves -500 ... 500
// in x or z, or a tree stands within 0.6 of the target. A player riding a
// log first drifts by one frame of the log's motion, even if then blocked.
void tryJump(const glm::vec3& direction);

// The mouse, scroll and window callbacks: GLFW events turned into game state.
//
// They run inside the frame loop's event poll and only set the globals of
// game/game_state.h (and record picture requests); the frame loop and the camera read them
// afterwards.
#pragma once

struct GLFWwindow;

// Left press on the start screen starts the game (without marking the
// button held); otherwise presses and releases of the left and right
// buttons set and clear leftMouseDown / rightMouseDown. Modifiers ignored.
void mouseButtonCallback(GLFWwindow* window, int button, int action, int mods);

// In debug mode, zoom -= yOffset * 0.5 (scrolling up brings the camera
// closer); no limits. Otherwise nothing.
void scrollCallback(GLFWwindow* window, double xOffset, double yOffset);

// Asks for the viewport of the new framebuffer size (a picture request) and
// stores the size in windowWidth / windowHeight, 0 x 0 (minimised) included.
void framebufferSizeCallback(GLFWwindow* window, int width, int height);

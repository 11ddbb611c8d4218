// The game as the benchmarks see it: one hidden window with the game's
// context (OpenGL 4.3 core, debug, 4x multisampling) and the real scene,
// built once per process by buildScene from the real asset files.
//
// Benchmarks share the one scene, since the world's trees and logs live in
// process-wide lists and a second scene would add to them. Each benchmark
// asks for the framebuffer size it needs; nothing else of the window is
// touched, and the game's input callbacks are not installed.
#pragma once

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "app/scene.h"

struct BenchGame {
    GLFWwindow* window = nullptr;
    Scene* scene = nullptr;  // owned by the BenchGame, released at exit
};

// The process's game, created on first use; null members (and the reason
// printed once) when no context could be made, e.g. without a display.
BenchGame& benchGame();

// Resizes the hidden window to width x height pixels and makes the viewport
// and the game's windowWidth / windowHeight follow, as a resize event would.
void useFramebufferSize(int width, int height);

// What a game frame does before drawWorld, less the event poll: the sky
// clear, the player update, the camera update (cursor at 0, 0, which
// outside debug mode is ignored) and the logs' drift.
void beginGameFrame();

// The sky clear alone, as the first call of every game frame.
void clearToSky();

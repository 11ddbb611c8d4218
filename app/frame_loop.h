// The frame loop: the start screen, or a game frame (world, HUD, overlays),
// until the window is asked to close or the headless screenshot is written.
#pragma once

#include <GLFW/glfw3.h>

#include "app/command_line.h"
#include "app/scene.h"

void runFrameLoop(GLFWwindow* window, const CommandLineOptions& options, Scene& scene);

// When a replay's frames are due: the recorded game time at which each
// press of a key was played, for tests that watch a replay in real time.
#pragma once

#include <string>
#include <vector>

// Seconds of recorded game-frame time, summed from the file's first frame
// to the end of each frame in which `key` (a GLFW key code) was pressed.
std::vector<double> recordedPressTimes(const std::string& replayPath, int key);

// The whole run of the game: start-up, the scene, the frame loop, shutdown.
#pragma once

// Returns the process exit code: 0 after a normal end, 1 after a start-up
// failure or a headless screenshot that could not be written (printed, then
// one character awaited on standard input).
int runGame(int argc, char** argv);

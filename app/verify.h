// `--verify FILE`: the game as its own referee. A replay file is played
// through the game's own frame loop, callbacks and rules with no window, no
// OpenGL and no sound, as fast as the rules run, and the run is judged.
#pragma once

#include <string>

#include "app/run_verdict.h"
#include "replay/replay_format.h"

// Plays `replay` (named `name` in its lines) through the rules with no
// window, printing the commentary, and judges it. The game state must be
// fresh, as at start-up; the world it builds is released again.
RunVerdict verifyRun(const std::string& name, Replay replay);

// Prints the lines `--replay FILE` prints after start-up, up to the end of
// the recorded frames (there is no live take-over), then the verdict as one
// line of JSON (app/run_verdict.h); returns 0. A file the replay reader
// refuses gets its "ERROR: " line and 1, without waiting for input.
int verifyReplay(const std::string& path);

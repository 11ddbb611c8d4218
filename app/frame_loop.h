// The frame loop: the start screen, or a game frame (world, HUD, overlays),
// until the window is asked to close or the headless screenshot is written.
#pragma once

#include "app/command_line.h"
#include "app/frame_host.h"
#include "app/frame_input.h"
#include "app/scene.h"
#include "game/game_events.h"

// `host` is the window the frames go to, or none (then nothing is drawn
// and the rules run alone); `input` gives each frame its events, cursor and
// frame time (live or replayed), and may hold a frame back until its time. Once per frame, right
// after its rules have run (the player update, or a start-screen frame's poll), the game events of
// the frame go to `listener` (the sound; none when null). False only when the headless screenshot
// could not be written (its message is already printed). Returns when the loop ends on the desktop;
// in the browser the page's animation frames run it and this call does not return.
bool runFrameLoop(FrameHost& host, const CommandLineOptions& options, Scene& scene,
                  FrameInput& input, GameEventListener* listener = nullptr);

// The drawing of one game frame, split out of the loop so that it can be
// driven without the event poll, the player and camera updates and the swap
// (the benchmarks do). A game frame calls drawWorld after the camera update
// and drawHud after the frame time is measured.

// Whether the world passes skip the rows, trees and logs that lie wholly
// outside the camera's view volume (they would not show anyway). Off is the
// benchmarks' and tests' reference.
enum class ViewCulling { On, Off };

// The player, the marker and the grass, tree, river, log and grey passes,
// with the camera as last updated and the logs where they have drifted to
// (a game frame drifts them, driftLogs, before it draws). riverTime: seconds of game time so far,
// sent to the river shader.
void drawWorld(Scene& scene, float riverTime, ViewCulling culling = ViewCulling::On);

// The score, "DEBUG MODE" in debug mode, and the pause or game-over pair.
void drawHud(Scene& scene);

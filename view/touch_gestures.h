// Touch gestures as the controls they stand for (view/control_mapping.h).
//
// The page reports raw gestures (framework/platform.h); the frame's poll
// turns each into a press and its release at once, judged by the screen it
// meets, so a tap does what a pad's South button does and a swipe what the
// d-pad does. The page's buttons act only on the screens that show them:
// Pause / Resume in a game and while paused, the start-screen button on the
// game-over screen. Pure logic, the same in both builds; only the page
// reports gestures.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framework/platform.h"
#include "game/game_state.h"
#include "view/control_mapping.h"

// The press and release `gesture` stands for on the screen `state`, or none.
std::vector<ControlEvent> gestureEvents(TouchGesture gesture, GameState state);

// The gesture the page names: "tap", "swipe-up", "swipe-down", "swipe-left",
// "swipe-right", "pause-button", "start-screen-button" or "page-hidden";
// none for any other text.
std::optional<TouchGesture> touchGestureNamed(const std::string& name);

// The page's touch button that shows on the screen `state`: "pause",
// "resume" (the pause button while paused), "start-screen" or "" (none).
const char* touchButtonShown(GameState state);

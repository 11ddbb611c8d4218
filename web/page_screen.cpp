// What the page's touch buttons follow: the game says which of them shows
// on the screen it shows now (view/touch_gestures.h), so the page keeps no
// copy of the game's screens.
#include <emscripten.h>

#include "game/game_state.h"
#include "view/touch_gestures.h"

// "pause", "resume", "start-screen" or "" (none); the page asks each frame.
extern "C" EMSCRIPTEN_KEEPALIVE const char* quorland_touch_button() {
    return touchButtonShown(gameState);
}

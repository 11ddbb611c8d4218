// Touch gestures from the page (web/touch.js), queued until the frame's
// poll takes them (framework/platform.h). The page only says what a finger
// did; what that means on the screen shown is the game's
// (view/touch_gestures.h), decided when the poll takes it.
#include <emscripten.h>

#include <optional>
#include <utility>
#include <vector>

#include "framework/platform.h"
#include "view/touch_gestures.h"

namespace {

std::vector<TouchGesture> queuedGestures;  // reported since the last poll, oldest first

}  // namespace

std::vector<TouchGesture> takePlatformGestures() {
    return std::exchange(queuedGestures, {});
}

// Called by the page with a gesture's name (touchGestureNamed); another
// name is ignored.
extern "C" EMSCRIPTEN_KEEPALIVE void quorland_touch_gesture(const char* name) {
    if (const std::optional<TouchGesture> gesture = touchGestureNamed(name)) {
        queuedGestures.push_back(*gesture);
    }
}

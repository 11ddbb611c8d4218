// The window size the page asks a run to start with (framework/platform.h):
// on a phone held upright, the canvas's size, so that the picture fills the
// screen. Set once before the first run; a replay keeps its recorded size.
#include <emscripten.h>

#include <optional>

#include "framework/platform.h"

namespace {

std::optional<PlatformWindowSize> askedSize;

}  // namespace

std::optional<PlatformWindowSize> platformStartWindowSize() {
    return askedSize;
}

// Called by the page (web/layout.js) before the game starts, in CSS pixels;
// a side under 1 leaves the size to the window settings.
extern "C" EMSCRIPTEN_KEEPALIVE void quorland_set_window_size(int width, int height) {
    askedSize.reset();
    if (width >= 1 && height >= 1) {
        askedSize = PlatformWindowSize{width, height};
    }
}

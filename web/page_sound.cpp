// The page's mute button (web/sound.js) and the browser's sound libraries
// (framework/platform.h).
#include <emscripten.h>

#include "framework/platform.h"

namespace {

bool soundMuted = false;  // set by the page's mute button

}  // namespace

// Called by the page: 1 silences every sound from now on, 0 lets them play again.
extern "C" EMSCRIPTEN_KEEPALIVE void quorland_set_muted(int muted) {
    soundMuted = muted != 0;
}

// The browser's OpenAL prints nothing when the page has no audio.
void platformQuietSoundLibraries() {}

bool platformSoundMuted() {
    return soundMuted;
}

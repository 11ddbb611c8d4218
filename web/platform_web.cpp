// The browser side of the platform boundary (framework/platform.h), built
// only by the WebAssembly build.
//
// The page owns the loop: each animation frame runs one iteration of the
// game's frame. Assets live in the page's packed file system under
// /quorland, where the game believes its executable to be, so the usual
// asset search finds them. Shaders are converted to GLSL ES 3.00, and
// textures are decoded to RGBA, since WebGL 2 cannot mip-map a compressed
// level. WebGL has no polygon mode either: wireframe stays off. Pads are
// read through the joystick API, in the browser's "standard" layout only;
// the page asks which screen the game shows, to know what a touch means.
// The page's mute button reaches the sound through quorland_set_muted.
#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstring>

#include "framework/console.h"
#include "framework/platform.h"
#include "game/game_state.h"
#include "render/glsl_es.h"

namespace {

// Where the page's file system holds the project: assets/ lies beside it.
constexpr const char* kVirtualExecutable = "/quorland/quorland";

std::function<bool()> frameIteration;
bool firstFrameDone = false;

void runOneFrame() {
    const bool goOn = frameIteration();
    if (!firstFrameDone) {
        firstFrameDone = true;
        emscripten_run_script("if (Module.onGameReady) Module.onGameReady();");
    }
    if (!goOn) {
        emscripten_cancel_main_loop();
        emscripten_run_script("if (Module.onGameEnded) Module.onGameEnded();");
    }
}

}  // namespace

std::string runningExecutablePath(std::size_t bufferSize) {
    const std::string path = kVirtualExecutable;
    return path.size() < bufferSize ? path : "";
}

void runPlatformLoop(const std::function<bool()>& iteration) {
    frameIteration = iteration;
    // 0 frames per second: one iteration per animation frame. Simulating an
    // infinite loop leaves this call by unwinding without returning, so the
    // caller's locals (the scene, the clock) stay alive for the frames.
    emscripten_set_main_loop(runOneFrame, 0, 1);
}

std::string platformShaderSource(const std::string& desktopSource) {
    return toGlslEs300(desktopSource);
}

bool platformTakesCompressedTextures() {
    return false;
}

// WebGL has no polygon mode; the game calls this for wireframe (F1 in debug
// mode) and keeps drawing filled polygons after one note.
extern "C" void glPolygonMode(GLenum /*face*/, GLenum mode) {
    static bool noted = false;
    if (mode == GL_LINE && !noted) {
        noted = true;
        printLine("Wireframe is not available in the browser; polygons stay filled.");
    }
}

namespace {

// Whether the browser lays the pad out in its "standard" mapping, the only
// one whose button numbers mean something here.
bool hasStandardLayout(int slot) {
    EmscriptenGamepadEvent status;
    return emscripten_sample_gamepad_data() == EMSCRIPTEN_RESULT_SUCCESS &&
           emscripten_get_gamepad_status(slot, &status) == EMSCRIPTEN_RESULT_SUCCESS &&
           std::strcmp(status.mapping, "standard") == 0;
}

// The standard layout's numbers for the controls of PadButton, in its order.
constexpr int kStandardButtons[PadButtonCount] = {0, 8, 9, 12, 13, 14, 15};
constexpr int kStandardButtonCount = 16;

}  // namespace

PadReading readPlatformPad(int slot) {
    PadReading pad;
    if (slot < GLFW_JOYSTICK_1 || slot > GLFW_JOYSTICK_LAST || slot >= kPadSlots ||
        glfwJoystickPresent(slot) == GLFW_FALSE) {
        return pad;
    }
    int buttonCount = 0;
    int axisCount = 0;
    const unsigned char* buttons = glfwGetJoystickButtons(slot, &buttonCount);
    const float* axes = glfwGetJoystickAxes(slot, &axisCount);
    pad.presence = PadReading::Presence::Unmapped;
    if (buttons == nullptr || axes == nullptr || buttonCount < kStandardButtonCount ||
        axisCount < 2 || !hasStandardLayout(slot)) {
        return pad;
    }
    pad.presence = PadReading::Presence::Mapped;
    for (int i = 0; i < PadButtonCount; ++i) {
        pad.buttons[i] = buttons[kStandardButtons[i]] != 0;
    }
    pad.stickX = axes[0];
    pad.stickY = axes[1];
    return pad;
}

// For the page's touch controls: the screen the game shows, as GameState
// numbers (0 start screen, 1 playing, 2 paused, 3 game over).
extern "C" EMSCRIPTEN_KEEPALIVE int quorland_screen_state() {
    return gameState;
}

namespace {

bool soundMuted = false;  // set by the page's mute button

}  // namespace

// Called by the page (web/sound.js): 1 silences every sound from now on, 0
// lets them play again.
extern "C" EMSCRIPTEN_KEEPALIVE void quorland_set_muted(int muted) {
    soundMuted = muted != 0;
}

// The browser's OpenAL prints nothing when the page has no audio.
void platformQuietSoundLibraries() {}

bool platformSoundMuted() {
    return soundMuted;
}

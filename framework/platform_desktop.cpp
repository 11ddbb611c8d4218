// The desktop side of the platform boundary (framework/platform.h): Linux
// paths, a plain while loop, desktop GLSL, S3TC textures as they are,
// GLFW's gamepads, no touch, the window settings' size, and OpenAL Soft
// kept quiet.
#include <dlfcn.h>
#include <unistd.h>

// GLEW before GLFW, which would otherwise pull in the system GL header.
#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <utility>
#include <vector>

#include "framework/platform.h"

std::string runningExecutablePath(std::size_t bufferSize) {
    std::vector<char> buffer(bufferSize);
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) {
        return "";
    }
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

void runPlatformLoop(const std::function<bool()>& iteration) {
    while (iteration()) {
    }
}

// The desktop's bests are files in the player's folder (app/best_keeping.h).
bool platformKeepBest(const PlatformBestGame& /*game*/,
                      const std::optional<std::string>& /*recording*/) {
    return false;
}

bool platformSleep(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    return true;
}

std::string platformShaderSource(const std::string& desktopSource) {
    return desktopSource;
}

bool platformTakesCompressedTextures() {
    return true;
}

static_assert(kPadSlots <= GLFW_JOYSTICK_LAST + 1, "every pad slot is a GLFW joystick id");

PadReading readPlatformPad(int slot) {
    PadReading pad;
    // Debian's GLFW asserts on ids outside its range: such an id stops here.
    if (!isPadSlot(slot) || glfwJoystickPresent(slot) == GLFW_FALSE) {
        return pad;
    }
    GLFWgamepadstate state;
    if (glfwGetGamepadState(slot, &state) == GLFW_FALSE) {
        pad.presence = PadReading::Presence::Unmapped;
        return pad;
    }
    pad.presence = PadReading::Presence::Mapped;
    const int buttons[PadButtonCount] = {
        GLFW_GAMEPAD_BUTTON_A,         GLFW_GAMEPAD_BUTTON_BACK,      GLFW_GAMEPAD_BUTTON_START,
        GLFW_GAMEPAD_BUTTON_DPAD_UP,   GLFW_GAMEPAD_BUTTON_DPAD_DOWN, GLFW_GAMEPAD_BUTTON_DPAD_LEFT,
        GLFW_GAMEPAD_BUTTON_DPAD_RIGHT};
    for (int i = 0; i < PadButtonCount; ++i) {
        pad.buttons[i] = state.buttons[buttons[i]] == GLFW_PRESS;
    }
    pad.stickX = state.axes[GLFW_GAMEPAD_AXIS_LEFT_X];
    pad.stickY = state.axes[GLFW_GAMEPAD_AXIS_LEFT_Y];
    return pad;
}

namespace {

// ALSA's error handler type (alsa/error.h), declared here so that the game
// neither links libasound nor needs its headers: it is only loaded, if
// installed, to be told to be quiet.
using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int error,
                                  const char* format, ...);
using AlsaSetErrorHandler = int (*)(AlsaErrorHandler);

void dropAlsaMessage(const char* /*file*/, int /*line*/, const char* /*function*/, int /*error*/,
                     const char* /*format*/, ...) {}

}  // namespace

void platformQuietSoundLibraries() {
    static bool quiet = false;
    if (quiet) {
        return;
    }
    quiet = true;
    // OpenAL Soft reads its log level when it first starts, which is the
    // first OpenAL call; 0 logs nothing. A level the player set stays.
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    // ALSA prints through one process-wide handler. OpenAL Soft loads the
    // same library later; it stays loaded for the process's life, so the
    // handler stays in force.
    if (void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL)) {
        if (void* set = dlsym(alsa, "snd_lib_error_set_handler")) {
            reinterpret_cast<AlsaSetErrorHandler>(set)(dropAlsaMessage);
        }
    }
}

std::vector<TouchGesture> takePlatformGestures() {
    return {};
}

std::optional<PlatformWindowSize> platformStartWindowSize() {
    return std::nullopt;
}

bool platformSoundMuted() {
    return false;
}

bool platformNextRun(std::vector<std::string>& /*arguments*/) {
    static bool first = true;
    return std::exchange(first, false);
}

void platformWaitAfterFatal(const std::string& /*message*/) {
    std::getchar();
}

// The browser side of the platform boundary (framework/platform.h), built
// only by the WebAssembly build.
//
// The page owns the loop: each animation frame runs one iteration of the
// game's frame; the loop awaits the next one (Asyncify), so a run returns
// when it ends, as on the desktop, and the page can start another (a replay
// it was given) in the same process. Assets live in the page's packed file system under
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
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "framework/console.h"
#include "framework/platform.h"
#include "game/game_state.h"
#include "render/glsl_es.h"
#include "replay/replay_file.h"

namespace {

// Where the page's file system holds the project: assets/ lies beside it.
constexpr const char* kVirtualExecutable = "/quorland/quorland";

// The page's callbacks, each optional. (Plain JavaScript tokens only: the
// preprocessor hands the bodies over token by token.)
// clang-format off
EM_JS(void, notifyGameReady, (), {
    if (Module.onGameReady) Module.onGameReady();
});
EM_JS(void, notifyGameEnded, (), {
    if (Module.onGameEnded) Module.onGameEnded();
});
EM_JS(void, notifyFatalMessage, (const char* message), {
    if (Module.onFatalMessage) Module.onFatalMessage(UTF8ToString(message));
});

// Each run starts waiting for the display; a timedemo's swap interval of 0
// (kept by the browser library as the main loop's timing mode) stops that:
// it only yields to the page's events (a message, which unlike a timeout
// is not held back to 4 ms).
EM_JS(void, resetFrameTiming, (), {
    Browser.mainLoop.timingMode = 1;
});
EM_ASYNC_JS(void, waitForNextFrame, (), {
    await new Promise(function(resolve) {
        if (Browser.mainLoop.timingMode == 0) {
            var channel = new MessageChannel();
            channel.port1.onmessage = function() { resolve(); };
            channel.port2.postMessage(0);
        } else {
            requestAnimationFrame(resolve);
        }
    });
});
EM_ASYNC_JS(void, waitForQueuedRun, (), {
    await new Promise(function(resolve) { Module.quorlandWake = resolve; });
});
EM_JS(void, wakeForQueuedRun, (), {
    var wake = Module.quorlandWake;
    Module.quorlandWake = null;
    if (wake) wake();
});
// clang-format on

}  // namespace

std::string runningExecutablePath(std::size_t bufferSize) {
    const std::string path = kVirtualExecutable;
    return path.size() < bufferSize ? path : "";
}

void runPlatformLoop(const std::function<bool()>& iteration) {
    bool first = true;
    while (iteration()) {
        if (std::exchange(first, false)) {
            notifyGameReady();
        }
        waitForNextFrame();
    }
}

std::string platformShaderSource(const std::string& desktopSource) {
    return toGlslEs300(desktopSource);
}

bool platformSleep(double /*seconds*/) {
    return false;
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

static_assert(kPadSlots <= GLFW_JOYSTICK_LAST + 1, "every pad slot is a GLFW joystick id");

PadReading readPlatformPad(int slot) {
    PadReading pad;
    if (!isPadSlot(slot) || glfwJoystickPresent(slot) == GLFW_FALSE) {
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

// Runs and the page's replays. Every run records to kRecordingPath; a replay
// the page gives is kept under its own name in kReplayFolder, the folder the
// runs start in, so that the game names it exactly as the desktop names a
// file given by its name.
namespace {

constexpr const char* kRecordingPath = "/recording.replay";
constexpr const char* kReplayFolder = "/replays";

std::optional<std::vector<std::string>> queuedRun;  // the next run's arguments
bool runStarted = false;
std::string handedOver;  // the last text handed to the page, alive until the next

const char* handOver(std::string text) {
    handedOver = std::move(text);
    return handedOver.c_str();
}

}  // namespace

bool platformNextRun(std::vector<std::string>& arguments) {
    if (runStarted) {
        if (!queuedRun) {
            notifyGameEnded();
        }
        while (!queuedRun) {
            waitForQueuedRun();
        }
    }
    mkdir(kReplayFolder, 0755);
    chdir(kReplayFolder);
    if (queuedRun) {
        arguments = std::move(*queuedRun);
        queuedRun.reset();
    }
    arguments.insert(arguments.end(), {"--record", kRecordingPath});
    runStarted = true;
    resetFrameTiming();
    return true;
}

void platformWaitAfterFatal(const std::string& message) {
    notifyFatalMessage(message.c_str());
}

extern "C" {

// The largest replay file the page may hand over (it checks the size first).
EMSCRIPTEN_KEEPALIVE double quorland_max_replay_bytes() {
    return static_cast<double>(kMaxReplayBytes);
}

// Starts the replay `name` from its `size` bytes (a timedemo when `timedemo`
// is not 0): it ends the run in progress and plays in the next, as
// "--replay NAME" on the desktop. Returns "" then, or the desktop's "ERROR: "
// line for that file, and the run in progress goes on: `bytes` null means
// the page could not read the file; over kMaxReplayBytes it is not looked at.
EMSCRIPTEN_KEEPALIVE const char* quorland_start_replay(const char* name, const char* bytes,
                                                       double size, int timedemo) {
    if (size > static_cast<double>(kMaxReplayBytes)) {
        return handOver(tooLargeReplayLine(name));
    }
    const std::string fileName = name;
    if (bytes == nullptr || fileName.empty() || fileName.find('/') != std::string::npos ||
        fileName == "." || fileName == "..") {
        return handOver(unreadableReplayLine(name));
    }
    const std::string text(bytes, static_cast<std::size_t>(size));
    const ReplayParse parse = parseReplay(text);
    if (!parse.replay) {
        return handOver(badReplayLine(name, parse.error));
    }
    mkdir(kReplayFolder, 0755);
    const std::string path = std::string(kReplayFolder) + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const bool written =
        file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (file != nullptr) {
        std::fclose(file);
    }
    if (!written) {
        return handOver(unreadableReplayLine(name));
    }
    queuedRun =
        std::vector<std::string>{"quorland", timedemo != 0 ? "--timedemo" : "--replay", name};
    if (GLFWwindow* window = glfwGetCurrentContext()) {
        glfwSetWindowShouldClose(window, GLFW_TRUE);  // the run in progress ends after its frame
    }
    wakeForQueuedRun();
    return handOver("");
}

// The current run's recording as a complete replay file (closed for the
// frames so far), or the last run's when none is in progress.
EMSCRIPTEN_KEEPALIVE const char* quorland_take_recording() {
    if (const ReplayRecorder* recorder = ReplayRecorder::current()) {
        return handOver(recorder->closedCopy());
    }
    bool tooLarge = false;
    return handOver(readReplayBytes(kRecordingPath, tooLarge).value_or(""));
}

}  // extern "C"

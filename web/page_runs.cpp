// The page's runs and the frame loop in the page (framework/platform.h).
//
// The page owns the loop: each animation frame runs one iteration of the
// game's frame; the loop awaits the next one (Asyncify), so a run returns
// when it ends, as on the desktop, and the page can start another (a replay
// it was given) in the same process. Every run records to
// kPageRecordingPath. The page hears of a run's first frame, of its end and
// of a fatal path's message through its optional callbacks.
#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <emscripten.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <utility>

#include "framework/platform.h"
#include "web/page_runs.h"

namespace {

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

std::optional<std::vector<std::string>> queuedRun;  // the next run's arguments
bool runStarted = false;

}  // namespace

void runPlatformLoop(const std::function<bool()>& iteration) {
    bool first = true;
    while (iteration()) {
        if (std::exchange(first, false)) {
            notifyGameReady();
        }
        waitForNextFrame();
    }
}

// The page cannot hold its thread: the frame is tried again at the next
// animation frame.
bool platformSleep(double /*seconds*/) {
    return false;
}

const char* handOver(std::string text) {
    static std::string handedOver;  // the last text handed to the page, alive until the next
    handedOver = std::move(text);
    return handedOver.c_str();
}

void queuePageRun(std::vector<std::string> arguments) {
    queuedRun = std::move(arguments);
    if (GLFWwindow* window = glfwGetCurrentContext()) {
        glfwSetWindowShouldClose(window, GLFW_TRUE);  // the run in progress ends after its frame
    }
    wakeForQueuedRun();
}

bool platformNextRun(std::vector<std::string>& arguments) {
    if (runStarted) {
        if (!queuedRun) {
            notifyGameEnded();
        }
        while (!queuedRun) {
            waitForQueuedRun();
        }
    }
    mkdir(kPageReplayFolder, 0755);
    chdir(kPageReplayFolder);
    if (queuedRun) {
        arguments = std::move(*queuedRun);
        queuedRun.reset();
    }
    arguments.insert(arguments.end(), {"--record", kPageRecordingPath});
    runStarted = true;
    resetFrameTiming();
    return true;
}

void platformWaitAfterFatal(const std::string& message) {
    notifyFatalMessage(message.c_str());
}

#include "app/game_app.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/best_keeping.h"
#include "app/command_line.h"
#include "app/diagnostics.h"
#include "app/frame_host.h"
#include "app/frame_input.h"
#include "app/frame_loop.h"
#include "app/framework.h"
#include "app/scene.h"
#include "app/startup_settings.h"
#include "app/verify.h"
#include "audio/game_sound.h"
#include "bests/utc_date.h"
#include "framework/console.h"
#include "framework/platform.h"
#include "framework/settings_reader.h"
#include "game/game_state.h"
#include "game/hopping.h"
#include "game/world.h"
#include "render/picture_state.h"
#include "replay/replay_file.h"
#include "view/input_callbacks.h"

namespace {

// Every start-up failure ends the same way: GLFW down, the reason printed,
// the console kept open until the player types one character.
int failStartup(const std::string& reason) {
    glfwTerminate();
    printFatalLine("ERROR: " + reason);
    waitForOneCharacter();
    return 1;
}

GLFWwindow* createWindow(const WindowSettings& window) {
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, GLFW_TRUE);
    glfwWindowHint(GLFW_REFRESH_RATE, window.refreshRate);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    glfwWindowHint(GLFW_SAMPLES, 4);
    GLFWmonitor* monitor = window.fullscreen ? glfwGetPrimaryMonitor() : nullptr;
    // GLFW reports a size of 0 as its invalid-value error and returns null,
    // but a build with assertions aborts on a negative size before it gets
    // that far; passing 0 instead lets a negative setting fail the same way.
    const int width = std::max(windowWidth, 0);
    const int height = std::max(windowHeight, 0);
    return glfwCreateWindow(width, height, window.title.c_str(), monitor, nullptr);
}

// Driver messages arrive inside the call that caused them, so a message can
// be traced to its call.
void installDebugOutput() {
    if (glDebugMessageCallback == nullptr) {
        return;
    }
    glDebugMessageCallback(debugMessageCallback, nullptr);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
}

void applyFixedGlState(const RendererSettings& renderer) {
    glClearColor(0.53f, 0.8f, 0.98f, 1.0f);
    if (renderer.depthTest) {
        glEnable(GL_DEPTH_TEST);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    if (renderBackfaceCulling) {
        glEnable(GL_CULL_FACE);
    }
    if (renderWireframe) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    }
}

void installInputCallbacks(GLFWwindow* window) {
    glfwSetKeyCallback(window, keyCallback);
    glfwSetMouseButtonCallback(window, mouseButtonCallback);
    glfwSetScrollCallback(window, scrollCallback);
    glfwSetFramebufferSizeCallback(window, framebufferSizeCallback);
}

// The system may grant a window of another size than the settings ask for
// (an X server keeps 16 bits of each side; a window manager has its rules),
// and says so with no resize event. The game takes the framebuffer it
// really got, as a resize would, before anything is placed by the size: the
// camera's aspect ratio, the HUD, the screenshot. A granted size changes
// nothing, not even the viewport.
void adoptGrantedFramebufferSize(GLFWwindow* window) {
    int width = 0;
    int height = 0;
    glfwGetFramebufferSize(window, &width, &height);
    if (width != windowWidth || height != windowHeight) {
        framebufferSizeCallback(window, width, height);
        applyPictureRequests();
    }
}

// What a run is played from: the command line and the settings files (with
// the window size the platform asks for, if any), or a replay file. A replay's settings are the
// recorded ones: the files are not read, and the lines their reading printed while recording (the
// only start-up lines settings cause) are printed again, so both runs say the same.
struct RunSetup {
    StartupSettings settings;
    std::uint32_t seed = 0;  // the world's, whether given, drawn or recorded
    std::optional<ReplaySource> replay;
};

RunSetup setUpRun(const CommandLineOptions& options) {
    RunSetup run;
    if (!options.hasReplayFile) {
        run.settings = readStartupSettings(options);
        if (const std::optional<PlatformWindowSize> size = platformStartWindowSize()) {
            run.settings.window.width = size->width;  // recorded as the run's window
            run.settings.window.height = size->height;
        }
        run.seed = options.daily     ? dailySeed(utcNow())
                   : options.hasSeed ? options.seed
                                     : newWorldSeed();
        return run;
    }
    ReplayLoad load = loadReplay(options.replayFile);
    if (!load.replay) {
        printFatalLine(load.error);
        exitAfterKeypress();
    }
    run.replay = ReplaySource{options.replayFile, std::move(*load.replay),
                              options.timedemo ? ReplayMode::Timedemo : ReplayMode::Watch,
                              !options.runHeadless};
    const ReplayHeader& header = run.replay->replay.header;
    run.settings = {header.window, header.camera, header.renderer, header.missingSettings};
    for (const std::string& path : header.missingSettings) {
        printLine(missingSettingsMessage(path));
    }
    run.seed = header.seed;
    return run;
}

// Opens the recording and writes its header: to the file "--record"
// names (null when it cannot be written), else in memory when the run's
// games may be kept as bests, else none.
std::unique_ptr<ReplayRecorder> startRecording(const CommandLineOptions& options,
                                               const RunSetup& run) {
    std::unique_ptr<ReplayRecorder> recorder;
    if (options.hasRecordFile) {
        recorder = ReplayRecorder::create(options.recordFile);
    } else if (mayKeepBests(options)) {
        recorder = ReplayRecorder::inMemory();
    }
    if (recorder) {
        const StartupSettings& settings = run.settings;
        recorder->write(
            formatReplayHeader({gameVersion(), run.seed, settings.window, settings.camera,
                                settings.renderer, settings.missingFiles}),
            true);
    }
    return recorder;
}

// Opens the sound device (unless the options say not to), builds the
// scene, plays until the window closes (or the headless screenshot is
// written, or a timedemo ends) and releases the scene while the context
// lives. False when the headless screenshot could not be written.
bool play(GLFWwindow* window, const CommandLineOptions& options, RunSetup& run,
          ReplayRecorder* recorder) {
    // Silently none when there is no device: the game plays on without sound.
    std::unique_ptr<GameSound> sound =
        wantsSound(options) ? GameSound::openDefaultDevice() : nullptr;
    setWorldSeed(run.seed);
    std::unique_ptr<Scene> scene = buildScene(run.settings.camera);
    const std::unique_ptr<FrameHost> host = makeWindowHost(window);
    FrameInput input(*host, std::move(run.replay), recorder);
    std::unique_ptr<BestKeeping> bests =
        keepBests(options, input, recorder, run.seed);  // null when not kept
    ListenerPair listeners(sound.get(), bests.get());
    const bool finished = runFrameLoop(*host, options, *scene, input, &listeners);
    input.finish();
    if (bests) {
        bests->finishRun();
    }
    releaseScene(scene);
    return finished;
}

}  // namespace

int runGame(int argc, char** argv) {
    if (asksForVersion(argc, argv)) {
        printLine(versionLine());
        return 0;
    }
    if (const std::optional<std::string> file = fileToVerify(argc, argv)) {
        return verifyReplay(*file);
    }
    printLine(":::::: WELCOME TO QUORLAND ::::::");
    CommandLineOptions options;
    parseCommandLine(options, argc, argv);
    if (options.showHelp) {
        printLine(commandLineUsage());
        return 0;
    }
    if (options.showScores) {
        printBests();
        return 0;
    }

    RunSetup run = setUpRun(options);
    std::unique_ptr<ReplayRecorder> recorder = startRecording(options, run);
    if (options.hasRecordFile && !recorder) {
        return failStartup(recordFileError(options.recordFile));
    }
    const StartupSettings& settings = run.settings;
    adoptSettings(settings.window, settings.renderer);

    glfwSetErrorCallback(errorCallback);
    if (glfwInit() != GLFW_TRUE) {
        return failStartup("Failed to init GLFW");
    }
    printLine("GLFW was initialized.");

    GLFWwindow* window = createWindow(settings.window);
    if (window == nullptr) {
        return failStartup("Failed to create window");
    }
    glfwSetWindowAspectRatio(window, 16, 9);
    glfwMakeContextCurrent(window);

    glewExperimental = GL_TRUE;
    const GLenum glewResult = glewInit();
    if (glewResult != GLEW_OK) {
        return failStartup(std::string("Failed to init GLEW: ") +
                           reinterpret_cast<const char*>(glewGetErrorString(glewResult)));
    }
    printLine("GLEW was initialized.");
    installDebugOutput();

    if (!initFramework()) {
        return failStartup("Failed to init framework");
    }
    printLine("Framework was initialized.");
    installInputCallbacks(window);
    adoptGrantedFramebufferSize(window);
    applyFixedGlState(settings.renderer);

    const bool finished = play(window, options, run, recorder.get());

    destroyFramework();
    glfwTerminate();
    if (!finished) {
        // A headless run without its screenshot has failed: a script that
        // runs the game must not be told otherwise.
        waitForOneCharacter();
        return 1;
    }
    return 0;
}

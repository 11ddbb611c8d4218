#include "bench_game.h"

#include <iostream>
#include <memory>

#include "app/frame_step.h"
#include "app/framework.h"
#include "app/startup_settings.h"
#include "game/game_state.h"
#include "game/player_update.h"
#include "game/world.h"

namespace {

constexpr int kStartWidth = 64;
constexpr int kStartHeight = 64;

// Same hints as the game's window, but hidden.
GLFWwindow* createHiddenWindow() {
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, GLFW_TRUE);
    glfwWindowHint(GLFW_SAMPLES, 4);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    return glfwCreateWindow(kStartWidth, kStartHeight, "quorland bench", nullptr, nullptr);
}

bool startContext(BenchGame& game) {
    if (glfwInit() != GLFW_TRUE) {
        std::cout << "bench: GLFW could not start (no display?)" << std::endl;
        return false;
    }
    game.window = createHiddenWindow();
    if (game.window == nullptr) {
        std::cout << "bench: no OpenGL 4.3 context" << std::endl;
        return false;
    }
    glfwMakeContextCurrent(game.window);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK || !initFramework()) {
        std::cout << "bench: GLEW or the framework could not start" << std::endl;
        game.window = nullptr;
        return false;
    }
    return true;
}

// The scene lives until exit; it is released while the context still lives.
std::unique_ptr<Scene>& ownedScene() {
    static std::unique_ptr<Scene> scene;
    return scene;
}

void releaseAtExit() {
    if (ownedScene()) {
        releaseScene(ownedScene());
        destroyFramework();
    }
    glfwTerminate();
}

BenchGame makeBenchGame() {
    BenchGame game;
    if (!startContext(game)) {
        return game;
    }
    windowWidth = kStartWidth;
    windowHeight = kStartHeight;
    const StartupSettings settings = readStartupSettings(CommandLineOptions{});
    glEnable(GL_DEPTH_TEST);  // the renderer settings' default; no culling, filled
    setWorldSeed(1);
    ownedScene() = buildScene(settings.camera);
    game.scene = ownedScene().get();
    std::atexit(releaseAtExit);
    gameState = Playing;
    deltaTime = 1.0f / 60.0f;  // logs drift as in a 60 Hz game
    return game;
}

}  // namespace

BenchGame& benchGame() {
    static BenchGame game = makeBenchGame();
    return game;
}

void useFramebufferSize(int width, int height) {
    BenchGame& game = benchGame();
    glfwSetWindowSize(game.window, width, height);
    // The drawable takes the new size at the next buffer swap.
    glfwSwapBuffers(game.window);
    glfwPollEvents();
    glViewport(0, 0, width, height);
    windowWidth = width;
    windowHeight = height;
    glFinish();
}

void clearToSky() {
    glClearColor(0.53f, 0.8f, 0.98f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void beginGameFrame() {
    Scene& scene = *benchGame().scene;
    clearToSky();
    scene.playerMesh->setModelMatrix(updatePlayer(scene.riverRows));
    glm::vec3 target = isJumping ? playerDrawPosition : playerPosition;
    target.y = 0.0f;
    scene.camera->update(0, 0, zoom, leftMouseDown, rightMouseDown, debugMode, target);
    driftLogs(deltaTime);
}

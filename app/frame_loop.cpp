#include "app/frame_loop.h"

#include <glm/gtc/matrix_transform.hpp>
#include <string>

#include "app/frame_step.h"
#include "framework/platform.h"
#include "framework/screenshot.h"
#include "game/game_state.h"
#include "game/player_update.h"
#include "render/text.h"

namespace {

const glm::vec3 kSkyColor(0.53f, 0.8f, 0.98f);
const glm::vec3 kMenuColor(0.69f, 0.0f, 0.69f);
const glm::vec3 kSubtitleColor(0.33f, 0.33f, 0.33f);
const glm::vec2 kFlowDirection(1.0f, 0.0f);

void clearTo(const glm::vec3& color) {
    glClearColor(color.r, color.g, color.b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void drawText(Scene& scene, const std::string& text, float x, float y, const glm::vec3& color) {
    renderText(text, x, y, color.r, color.g, color.b, windowWidth, windowHeight, *scene.textShader,
               scene.textVertexArray.get(), scene.textVertexBuffer.get());
}

// A title and a line under it, placed by the font's measures: a quarter of
// the free space from the top left, which the doubled glyphs turn into half.
void drawTextPair(Scene& scene, const std::string& first, const std::string& second,
                  const glm::vec3& firstColor) {
    const int firstWidth = textWidth(first);
    const int firstHeight = textHeight(first);
    const int secondWidth = textWidth(second);
    drawText(scene, first, static_cast<float>(windowWidth - firstWidth) * 0.25f,
             static_cast<float>(windowHeight - firstHeight) * 0.25f, firstColor);
    drawText(scene, second, static_cast<float>(windowWidth - secondWidth) * 0.25f,
             static_cast<float>(firstHeight) +
                 static_cast<float>(windowHeight - firstHeight) * 0.25f + 10.0f,
             kSubtitleColor);
}

void drawMenuFrame(GLFWwindow* window, Scene& scene) {
    clearTo(kMenuColor);
    drawTextPair(scene, "QUORLAND", "Click to START", glm::vec3(1.0f));
    glfwSwapBuffers(window);
    glfwPollEvents();
}

glm::vec3 followTarget() {
    glm::vec3 target = isJumping ? playerDrawPosition : playerPosition;
    target.y = 0.0f;
    return target;
}

void updateCamera(GLFWwindow* window, Camera& camera) {
    double cursorX = 0.0;
    double cursorY = 0.0;
    glfwGetCursorPos(window, &cursorX, &cursorY);
    camera.update(static_cast<int>(cursorX), static_cast<int>(cursorY), zoom, leftMouseDown,
                  rightMouseDown, debugMode, followTarget());
}

// Draws every row of one list with the shader of `material`.
void drawRows(const GeometryList& rows, Material& material, const glm::mat4& viewProjection) {
    Shader* shader = material.getShader();
    shader->use();
    for (const std::shared_ptr<Geometry>& row : rows) {
        shader->setUniform("viewProjMatrix", viewProjection);
        row->draw();
    }
}

void drawTrees(const glm::mat4& viewProjection) {
    for (const std::shared_ptr<Geometry>& part : treeParts) {
        Shader* shader = part->getMaterial()->getShader();
        shader->use();
        shader->setUniform("viewProjMatrix", viewProjection);
        part->draw();
    }
}

// The camera does not change during the pass, so its matrix and position
// are read once and sent again for every row.
void drawRiver(Scene& scene, const glm::mat4& viewProjection, float riverTime) {
    const glm::vec3 viewPosition = scene.camera->getPosition();
    Shader* shader = scene.riverMaterial->getShader();
    shader->use();
    for (const std::shared_ptr<Geometry>& row : scene.riverRows) {
        shader->setUniform("time", riverTime);
        shader->setUniform("flowDir", kFlowDirection);
        shader->setUniform("viewProjMatrix", viewProjection);
        shader->setUniform("viewPos", viewPosition);
        row->draw();
    }
}

// Moves each log by one frame of drift (wrapping at the edges) and draws it.
void driftAndDrawLogs(Scene& scene, const glm::mat4& viewProjection) {
    Shader* shader = scene.logMaterial->getShader();
    for (LogEntry& log : logs) {
        const glm::vec3 at(log.geometry->getModelMatrix()[3]);
        const float x = driftLogX(at.x, log.direction, log.speed, deltaTime);
        log.geometry->setModelMatrix(glm::translate(glm::mat4(1.0f), glm::vec3(x, at.y, at.z)));
        shader->use();
        shader->setUniform("viewProjMatrix", viewProjection);
        log.geometry->draw();
    }
}

// One frame in Playing, Paused or GameOver. Returns false when the loop
// should end (the headless screenshot has been written).
bool drawGameFrame(GLFWwindow* window, const CommandLineOptions& options, Scene& scene,
                   FrameClock& clock) {
    clearTo(kSkyColor);
    glfwPollEvents();
    scene.playerMesh->setModelMatrix(updatePlayer(scene.riverRows));
    updateCamera(window, *scene.camera);
    drawWorld(scene, clock.riverTime);
    clock.endGameFrame(static_cast<float>(glfwGetTime()));
    drawHud(scene);
    if (options.runHeadless) {
        // Read the back buffer before the swap, while it surely holds this frame.
        saveScreenshot(options.hasFilename ? options.filename : "screenshot",
                       static_cast<std::uint32_t>(windowWidth),
                       static_cast<std::uint32_t>(windowHeight));
        glfwSwapBuffers(window);
        return false;
    }
    glfwSwapBuffers(window);
    return true;
}

}  // namespace

void drawWorld(Scene& scene, float riverTime) {
    const glm::mat4 viewProjection = scene.camera->getViewProjectionMatrix();
    scene.playerMesh->draw();
    scene.originMarker->draw();
    drawRows(scene.grassRows, *scene.grassMaterial, viewProjection);
    drawTrees(viewProjection);
    drawRiver(scene, viewProjection, riverTime);
    driftAndDrawLogs(scene, viewProjection);
    drawRows(scene.darkGreyRows, *scene.grassMaterial, viewProjection);
    drawRows(scene.lightGreyRows, *scene.grassMaterial, viewProjection);
}

void drawHud(Scene& scene) {
    drawText(scene, "Score: " + std::to_string(score), 20.0f, 30.0f, glm::vec3(0.0f));
    if (debugMode) {
        drawText(scene, "DEBUG MODE", 80.0f, 30.0f, glm::vec3(1.0f, 0.0f, 0.0f));
    }
    if (gameState == Paused) {
        drawTextPair(scene, "PAUSED", "Press ESC to resume", glm::vec3(0.0f));
    }
    if (gameState == GameOver) {
        drawTextPair(scene, "GAME OVER!", "Press ESC to exit to the Menu", glm::vec3(0.0f));
    }
}

void runFrameLoop(GLFWwindow* window, const CommandLineOptions& options, Scene& scene) {
    FrameClock clock;
    clock.lastFrameTime = static_cast<float>(glfwGetTime());
    // One iteration per call: the platform drives it (a while loop on the
    // desktop, one call per animation frame in the browser).
    runPlatformLoop([&]() {
        if (glfwWindowShouldClose(window) == GLFW_TRUE) {
            return false;
        }
        if (gameState == Menu) {
            drawMenuFrame(window, scene);
            return true;
        }
        return drawGameFrame(window, options, scene, clock);
    });
}

#include "app/frame_loop.h"

#include <glm/gtc/matrix_transform.hpp>
#include <string>

#include "app/frame_step.h"
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

// Reads the back buffer, so call it before the swap, while it surely holds
// this frame.
void saveHeadlessScreenshot(const CommandLineOptions& options) {
    saveScreenshot(options.hasFilename ? options.filename : "screenshot",
                   static_cast<std::uint32_t>(windowWidth),
                   static_cast<std::uint32_t>(windowHeight));
}

// Returns false when the loop should end (a replay's last frame is done).
bool drawMenuFrame(GLFWwindow* window, const CommandLineOptions& options, Scene& scene,
                   FrameInput& input) {
    clearTo(kMenuColor);
    drawTextPair(scene, "QUORLAND", "Click to START", glm::vec3(1.0f));
    const bool lastFrame = options.runHeadless && input.isScreenshotFrame(false);
    if (lastFrame) {
        saveHeadlessScreenshot(options);
    }
    glfwSwapBuffers(window);
    input.poll();
    return input.endFrame(false) && !lastFrame;
}

glm::vec3 followTarget() {
    glm::vec3 target = isJumping ? playerDrawPosition : playerPosition;
    target.y = 0.0f;
    return target;
}

void updateCamera(FrameInput& input, Camera& camera) {
    const CursorPosition cursor = input.cursor();
    camera.update(cursor.x, cursor.y, zoom, leftMouseDown, rightMouseDown, debugMode,
                  followTarget());
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
// should end (the headless screenshot has been written, or a replay's last
// frame is done).
bool drawGameFrame(GLFWwindow* window, const CommandLineOptions& options, Scene& scene,
                   FrameClock& clock, FrameInput& input) {
    clearTo(kSkyColor);
    input.poll();
    scene.playerMesh->setModelMatrix(updatePlayer(scene.riverRows));
    updateCamera(input, *scene.camera);
    drawWorld(scene, clock.riverTime);
    input.measureFrameTime(clock);
    drawHud(scene);
    const bool lastFrame = options.runHeadless && input.isScreenshotFrame(true);
    if (lastFrame) {
        saveHeadlessScreenshot(options);
    }
    glfwSwapBuffers(window);
    return input.endFrame(true) && !lastFrame;
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

void runFrameLoop(GLFWwindow* window, const CommandLineOptions& options, Scene& scene,
                  FrameInput& input) {
    FrameClock clock;
    clock.lastFrameTime = static_cast<float>(glfwGetTime());
    while (glfwWindowShouldClose(window) == GLFW_FALSE) {
        if (gameState == Menu) {
            if (!drawMenuFrame(window, options, scene, input)) {
                break;
            }
        } else if (!drawGameFrame(window, options, scene, clock, input)) {
            break;
        }
    }
}

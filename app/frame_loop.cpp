#include "app/frame_loop.h"

#include <string>

#include "app/frame_step.h"
#include "framework/platform.h"
#include "framework/screenshot.h"
#include "game/game_state.h"
#include "game/player_update.h"
#include "render/picture_state.h"
#include "render/text.h"
#include "render/view_volume.h"

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

// A start-screen frame up to (not including) the buffer swap; its poll
// comes after the swap.
void drawMenuFrame(Scene& scene) {
    clearTo(kMenuColor);
    drawTextPair(scene, "QUORLAND", "Click to START", glm::vec3(1.0f));
}

glm::vec3 followTarget() {
    glm::vec3 target = isJumping ? playerDrawPosition : playerPosition;
    target.y = 0.0f;
    return target;
}

void updateCamera(FrameInput& input, Camera& camera) {
    const CursorPosition cursor = input.cursor();
    camera.fitWindow(windowWidth, windowHeight);
    camera.update(cursor.x, cursor.y, zoom, leftMouseDown, rightMouseDown, debugMode,
                  followTarget());
}

// This frame's camera as the world passes use it.
struct PassView {
    glm::mat4 viewProjection;
    ViewVolume volume;  // what the camera may see; everything with culling off

    bool mayShow(const Geometry& object) const {
        return volume.mayContain(object.getWorldBounds());
    }
};

// Draws every row of one list that the camera may see, with the shader of
// `material`.
void drawRows(const GeometryList& rows, Material& material, const PassView& view) {
    Shader* shader = material.getShader();
    shader->use();
    for (const std::shared_ptr<Geometry>& row : rows) {
        if (view.mayShow(*row)) {
            shader->setUniform("viewProjMatrix", view.viewProjection);
            row->draw();
        }
    }
}

// Makes the shader of the object's own material current, sends it this
// frame's view-projection and draws the object.
void drawWithViewProjection(Geometry& object, const glm::mat4& viewProjection) {
    Shader* shader = object.getMaterial()->getShader();
    shader->use();
    shader->setUniform("viewProjMatrix", viewProjection);
    object.draw();
}

void drawTrees(const PassView& view) {
    for (const std::shared_ptr<Geometry>& part : treeParts) {
        if (view.mayShow(*part)) {
            drawWithViewProjection(*part, view.viewProjection);
        }
    }
}

// The camera does not change during the pass, so its matrix and position
// are read once and sent again for every row.
void drawRiver(Scene& scene, const PassView& view, float riverTime) {
    const glm::vec3 viewPosition = scene.camera->getPosition();
    Shader* shader = scene.riverMaterial->getShader();
    shader->use();
    for (const std::shared_ptr<Geometry>& row : scene.riverRows) {
        if (!view.mayShow(*row)) {
            continue;
        }
        shader->setUniform("time", riverTime);
        shader->setUniform("flowDir", kFlowDirection);
        shader->setUniform("viewProjMatrix", view.viewProjection);
        shader->setUniform("viewPos", viewPosition);
        row->draw();
    }
}

void drawLogs(const PassView& view) {
    for (LogEntry& log : logs) {
        if (view.mayShow(*log.geometry)) {
            drawWithViewProjection(*log.geometry, view.viewProjection);
        }
    }
}

// What one run of the loop works with.
struct FrameParts {
    FrameHost& host;
    Scene& scene;
    FrameInput& input;
    GameEventListener* listener;
    FrameClock clock;
};

// The poll, then what it asked of the picture, carried out at once.
void pollInput(FrameParts& frame) {
    frame.input.poll();
    if (frame.host.draws()) {
        applyPictureRequests();
    } else {
        pictureRequests.clear();
    }
}

// One frame in Playing, Paused or GameOver, up to (not including) the
// buffer swap. Its events are heard as soon as the rules have run, while
// the frame that shows them is drawn. Without a picture the same steps run
// in the same order, and only the drawing is left out.
void runGameFrame(FrameParts& frame) {
    Scene& scene = frame.scene;
    const bool drawing = frame.host.draws();
    if (drawing) {
        clearTo(kSkyColor);
    }
    pollInput(frame);
    scene.playerMesh->setModelMatrix(updatePlayer(scene.riverRows));
    deliverGameEvents(frame.listener);
    updateCamera(frame.input, *scene.camera);
    driftLogs(deltaTime);
    if (drawing) {
        drawWorld(scene, frame.clock.riverTime);
    }
    frame.input.measureFrameTime(frame.clock);
    if (drawing) {
        drawHud(scene);
    }
}

// A watched replay shows no frame before its recorded time. False when the
// platform cannot wait here (the page): the iteration is tried again later.
bool waitUntilDue(FrameParts& frame) {
    const std::optional<double> due = frame.input.dueTime();
    const double wait = due ? *due - frame.host.now() : 0.0;
    return wait <= 0.0 || platformSleep(wait);
}

// Read from the back buffer before the swap, while it surely holds this frame.
bool saveHeadlessScreenshot(const CommandLineOptions& options) {
    return saveScreenshot(options.hasFilename ? options.filename : "screenshot",
                          static_cast<std::uint32_t>(windowWidth),
                          static_cast<std::uint32_t>(windowHeight));
}

}  // namespace

void drawWorld(Scene& scene, float riverTime, ViewCulling culling) {
    const glm::mat4 viewProjection = scene.camera->getViewProjectionMatrix();
    const PassView view{viewProjection, culling == ViewCulling::On ? ViewVolume::of(viewProjection)
                                                                   : ViewVolume::everything()};
    // Sent here too, so that the very first game frame (the headless
    // screenshot) shows the player and the cube never lags the camera.
    drawWithViewProjection(*scene.playerMesh, viewProjection);
    drawWithViewProjection(*scene.originMarker, viewProjection);
    drawRows(scene.grassRows, *scene.grassMaterial, view);
    drawTrees(view);
    drawRiver(scene, view, riverTime);
    drawLogs(view);
    drawRows(scene.darkGreyRows, *scene.grassMaterial, view);
    drawRows(scene.lightGreyRows, *scene.grassMaterial, view);
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

bool runFrameLoop(FrameHost& host, const CommandLineOptions& options, Scene& scene,
                  FrameInput& input, GameEventListener* listener) {
    FrameParts frame{host, scene, input, listener, FrameClock{}};
    frame.clock.lastFrameTime = static_cast<float>(host.now());
    bool finished = true;
    // One iteration per call, false to end the loop: the platform drives it
    // (a while loop on the desktop, one call per animation frame in the
    // browser).
    runPlatformLoop([&]() {
        if (host.closing()) {
            return false;
        }
        if (!waitUntilDue(frame)) {
            return true;
        }
        const bool gameFrame = gameState != Menu;
        if (gameFrame) {
            runGameFrame(frame);
        } else if (host.draws()) {
            drawMenuFrame(scene);
        }
        // Headless: the first game frame, or a replay's last recorded frame.
        const bool lastFrame = options.runHeadless && input.isScreenshotFrame(gameFrame);
        finished = !lastFrame || saveHeadlessScreenshot(options);
        host.swapBuffers();
        if (!gameFrame) {
            pollInput(frame);  // a start-screen frame polls after its swap
            deliverGameEvents(listener);
        }
        return input.endFrame(gameFrame) && !lastFrame;
    });
    return finished;
}

// One game frame's drawing on the real scene (real shaders, a 40-row world):
// every object drawn once, pass by pass in the frame's order, each with its
// pass uniforms on the pass's shader and then its own draw; view culling,
// which may drop only draws and must not change a pixel; the HUD; and where
// the start screen's and the overlays' centred texts land.
#include "app/frame_loop.h"

#include <gtest/gtest.h>

#include <array>
#include <glm/gtc/type_ptr.hpp>
#include <sstream>
#include <tuple>

#include "app/frame_step.h"
#include "game/game_state.h"
#include "game/hopping.h"
#include "game/world.h"
#include "render/picture_state.h"
#include "render/text.h"
#include "render/view_volume.h"
#include "support/game_globals.h"
#include "support/gl_call_log.h"
#include "support/gl_context.h"
#include "support/render_helpers.h"

namespace {

using Lines = std::vector<std::string>;

class FrameLoopTest : public GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        resetGameGlobals();
        setWorldSeed(3);
        testing::internal::CaptureStdout();  // the "Read shader: " lines
        scene_ = buildScene(CameraSettings{}, 40);
        testing::internal::GetCapturedStdout();
        scene_->camera->update(0, 0, zoom, false, false, false, glm::vec3(0.0f));
    }
    void TearDown() override {
        releaseScene(scene_);
        resetGameGlobals();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    // A uniform line as the call log writes it, or nothing when the shader
    // has no such active uniform (the setter then makes no call).
    static void expectUniform(Lines& lines, Shader& shader, const std::string& line) {
        const std::string name = line.substr(line.find(' ') + 1);
        if (shader.getUniformLocation(name.substr(0, name.find(' '))) != -1) {
            lines.push_back(line);
        }
    }

    template <typename... Values>
    static std::string text(const Values&... values) {
        std::ostringstream out;
        ((out << values << ' '), ...);
        std::string line = out.str();
        line.pop_back();
        return line;
    }

    // drawWorld's calls with the logs where they are now, each row, tree and
    // log only where `view` may show it (the player and marker always).
    Lines expectedWorldCalls(const ViewVolume& view, float riverTime) const {
        const glm::vec3 one(1.0f);
        Shader& color = *scene_->colorShader;
        Shader& river = *scene_->riverShader;
        const std::string viewProj = "uniformMatrix4fv viewProjMatrix";
        const auto shows = [&view](const Geometry& object) {
            return view.mayContain(object.getWorldBounds());
        };
        Lines expected;
        // An object whose own shader is made current and sent the matrix. The
        // player and the marker are among them: this scene's shaders have
        // never been sent one, as in the game's first frame.
        const auto drawnAlone = [&](const Geometry& object, const glm::vec3& baseColor) {
            expected.push_back(text("useProgram", color.programHandle()));
            expectUniform(expected, color, viewProj);
            expectDraw(expected, object, baseColor, one, 1);
        };
        const auto rowPass = [&](const GeometryList& rows, const glm::vec3& baseColor) {
            expected.push_back(text("useProgram", color.programHandle()));
            for (const auto& row : rows) {
                if (shows(*row)) {
                    expectUniform(expected, color, viewProj);
                    expectDraw(expected, *row, baseColor, one, 1);
                }
            }
        };
        drawnAlone(*scene_->playerMesh, {1, 1, 0});
        drawnAlone(*scene_->originMarker, {1, 0, 0});
        rowPass(scene_->grassRows, {0.1f, 0.8f, 0.1f});
        for (std::size_t i = 0; i < treeParts.size(); ++i) {
            if (shows(*treeParts[i])) {
                drawnAlone(*treeParts[i],
                           i % 2 == 0 ? glm::vec3(0.4f, 0.25f, 0.1f) : glm::vec3(0.1f, 0.6f, 0.1f));
            }
        }
        expected.push_back(text("useProgram", river.programHandle()));
        const glm::vec3 eye = scene_->camera->getPosition();
        for (const auto& row : scene_->riverRows) {
            if (shows(*row)) {
                expectUniform(expected, river, text("uniform1f time", riverTime));
                expectUniform(expected, river, viewProj);
                expectUniform(expected, river, text("uniform3f viewPos", eye.x, eye.y, eye.z));
                expectDraw(expected, *row, {1, 1, 0.1f}, {0.2f, 0.5f, 1}, 5);
            }
        }
        for (const LogEntry& log : logs) {
            if (shows(*log.geometry)) {
                drawnAlone(*log.geometry, {0.55f, 0.27f, 0.07f});
            }
        }
        rowPass(scene_->darkGreyRows, glm::vec3(0.3f));
        rowPass(scene_->lightGreyRows, glm::vec3(0.5f));
        return expected;
    }

    // Geometry::draw's lines, the vertex array's name replaced by "*".
    static void expectDraw(Lines& lines, const Geometry& geometry, const glm::vec3& color,
                           const glm::vec3& coefficients, float alpha) {
        Shader& shader = *geometry.getMaterial()->getShader();
        lines.push_back(text("useProgram", shader.programHandle()));
        expectUniform(lines, shader, "uniformMatrix4fv modelMatrix");
        expectUniform(lines, shader, "uniformMatrix3fv normalMatrix");
        expectUniform(
            lines, shader,
            text("uniform3f materialCoefficients", coefficients.x, coefficients.y, coefficients.z));
        expectUniform(lines, shader, text("uniform1f specularAlpha", alpha));
        expectUniform(lines, shader, text("uniform3f baseColor", color.x, color.y, color.z));
        lines.push_back("bindVertexArray *");
        lines.push_back("bindVertexArray 0");
    }

    std::unique_ptr<Scene> scene_;
};

// The loop runs one start screen: its first text upload asks the window to
// close, which the loop tests before the next iteration.
PFNGLBUFFERDATAPROC realBufferData = nullptr;
void closingBufferData(GLenum target, GLsizeiptr size, const void* data, GLenum usage) {
    glfwSetWindowShouldClose(testWindow(), GLFW_TRUE);
    realBufferData(target, size, data, usage);
}
void runOneMenuFrame(Scene& scene) {
    gameState = Menu;
    const GlFunctionOverride<PFNGLBUFFERDATAPROC> closing(__glewBufferData, closingBufferData);
    realBufferData = closing.original();
    const std::unique_ptr<FrameHost> host = makeWindowHost(testWindow());
    FrameInput liveInput(*host, std::nullopt, nullptr);
    runFrameLoop(*host, CommandLineOptions{}, scene, liveInput);
    glfwSetWindowShouldClose(testWindow(), GLFW_FALSE);
}

// A centred pair as drawn: the first text's measured box (w x h font units,
// read as pixels) is centred on the window's centre; the second is centred
// across the same way and starts h + 10 units (2h + 20 pixels) below the
// first, h being the first text's height.
void expectCentredPair(const std::string& first, const PixelBox& firstBox,
                       const std::string& second, const PixelBox& secondBox) {
    const float centreX = static_cast<float>(windowWidth) / 2.0f;
    const float firstTop =
        static_cast<float>(windowHeight) / 2.0f - static_cast<float>(textHeight(first)) / 2.0f;
    EXPECT_NEAR(firstBox.left, centreX - static_cast<float>(textWidth(first)) / 2.0f, 1.0f)
        << first;
    EXPECT_NEAR(firstBox.top, firstTop, 1.0f) << first;
    EXPECT_NEAR(secondBox.left, centreX - static_cast<float>(textWidth(second)) / 2.0f, 1.0f)
        << second;
    EXPECT_NEAR(secondBox.top, firstTop + 2.0f * static_cast<float>(textHeight(first)) + 20.0f,
                1.0f)
        << second;
}

Lines withoutArrayNames(const Lines& lines) {
    Lines result;
    for (const std::string& line : lines) {
        const bool namedArray =
            line.rfind("bindVertexArray ", 0) == 0 && line != "bindVertexArray 0";
        result.push_back(namedArray ? "bindVertexArray *" : line);
    }
    return result;
}

TEST_F(FrameLoopTest, DrawWorldDrawsEveryObjectOncePassByPass) {
    ASSERT_FALSE(scene_->riverRows.empty());
    ASSERT_FALSE(treeParts.empty());
    const Lines expected = expectedWorldCalls(ViewVolume::everything(), 2.5f);
    GlCallLog log;
    drawWorld(*scene_, 2.5f, ViewCulling::Off);
    EXPECT_EQ(withoutArrayNames(log.lines()), expected);
    const glm::mat4 viewProjection = scene_->camera->getViewProjectionMatrix();
    const float* sent = glm::value_ptr(viewProjection);
    EXPECT_EQ(log.matrix("viewProjMatrix"), std::vector<float>(sent, sent + 16));
}

// From ahead of the start the rows, trees and logs behind the camera drop
// out; every other call stays, in its order, and every log has drifted.
TEST_F(FrameLoopTest, DrawWorldWithCullingSkipsOnlyWhatTheCameraCannotSee) {
    scene_->camera->update(0, 0, zoom, false, false, false, glm::vec3(0.0f, 0.0f, 12.0f));
    const ViewVolume view = ViewVolume::of(scene_->camera->getViewProjectionMatrix());
    std::vector<float> driftedX;
    for (const LogEntry& entry : logs) {
        driftedX.push_back(
            driftLogX(entry.geometry->getModelMatrix()[3].x, entry.direction, entry.speed, 1.0f));
    }
    deltaTime = 1.0f;
    driftLogs(deltaTime);
    GlCallLog log;
    drawWorld(*scene_, 1.0f);
    // The logs are culled where they have drifted to.
    const Lines expected = expectedWorldCalls(view, 1.0f);
    EXPECT_EQ(withoutArrayNames(log.lines()), expected);
    EXPECT_LT(expected.size(), expectedWorldCalls(ViewVolume::everything(), 1.0f).size());
    ASSERT_EQ(driftedX.size(), logs.size());
    std::size_t culledLogs = 0;
    for (std::size_t i = 0; i < logs.size(); ++i) {
        EXPECT_EQ(logs[i].geometry->getModelMatrix()[3].x, driftedX[i]) << "log " << i;
        culledLogs += view.mayContain(logs[i].geometry->getWorldBounds()) ? 0 : 1;
    }
    EXPECT_GT(culledLogs, 0u);
}

TEST_F(FrameLoopTest, DrawHudDrawsTheScoreAndTheOverlaysOfTheState) {
    const auto texts = [this] {
        GlCallLog log;
        drawHud(*scene_);
        return static_cast<std::size_t>(
            std::count(log.lines().begin(), log.lines().end(), "bindVertexArray 0"));
    };
    gameState = Playing;
    EXPECT_EQ(texts(), 1u);
    debugMode = true;
    EXPECT_EQ(texts(), 2u);
    debugMode = false;
    gameState = Paused;
    EXPECT_EQ(texts(), 3u);
    gameState = GameOver;
    EXPECT_EQ(texts(), 3u);
}

TEST_F(FrameLoopTest, CentredTextsSitOnTheWindowCentreAtTwoSizes) {
    const std::array<int, 3> white{255, 255, 255};
    const std::array<int, 3> black{0, 0, 0};
    const std::array<int, 3> grey{84, 84, 84};  // 0.33
    for (const auto& [width, height] : {std::pair(800, 600), std::pair(1280, 720)}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        windowWidth = width;
        windowHeight = height;
        const OffscreenTarget target(width, height);
        runOneMenuFrame(*scene_);
        const PpmImage menu = target.pixels();
        const std::vector<PixelBox> titles = boxesOfColor(menu, white);
        const std::vector<PixelBox> subtitles = boxesOfColor(menu, grey);
        ASSERT_EQ(titles.size(), 1u);
        ASSERT_EQ(subtitles.size(), 1u);
        expectCentredPair("QUORLAND", titles[0], "Click to START", subtitles[0]);

        for (const auto& [state, first, second] :
             {std::tuple(Paused, "PAUSED", "Press ESC to resume"),
              std::tuple(GameOver, "GAME OVER!", "Press ESC to exit to the Menu")}) {
            gameState = state;
            glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
            drawHud(*scene_);
            const PpmImage overlay = target.pixels();
            const std::vector<PixelBox> firsts = boxesOfColor(overlay, black);
            const std::vector<PixelBox> seconds = boxesOfColor(overlay, grey);
            ASSERT_EQ(firsts.size(), 2u) << first;  // the score, then the first text
            ASSERT_EQ(seconds.size(), 1u) << second;
            expectCentredPair(first, firsts[1], second, seconds[0]);
        }
    }
}

// Debug mode's F2 turns face culling on; the HUD must look the same.
TEST_F(FrameLoopTest, APausedDebugFrameKeepsItsHudWithBackfaceCullingOn) {
    windowWidth = 640;
    windowHeight = 360;
    const OffscreenTarget target(windowWidth, windowHeight);
    gameState = Paused;
    debugMode = true;
    const auto hud = [this, &target] {
        glClearColor(0.53f, 0.8f, 0.98f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        drawHud(*scene_);
        return target.pixels();
    };
    const PpmImage unculled = hud();
    keyCallback(window_, GLFW_KEY_F2, 0, GLFW_PRESS, 0);
    applyPictureRequests();
    ASSERT_TRUE(glIsEnabled(GL_CULL_FACE));
    const PpmImage culled = hud();
    glDisable(GL_CULL_FACE);

    EXPECT_TRUE(culled.rgb == unculled.rgb) << "culling changed the HUD";
    // The middle of each text's first stroke, in the text's colour.
    const auto firstStroke = [&culled](const std::string& text, float x, float y) {
        const std::vector<float> v = buildTextVertices(text, x, y);
        return culled.at(static_cast<int>((v[0] + v[4]) / 2), static_cast<int>((v[1] + v[5]) / 2));
    };
    EXPECT_EQ(firstStroke("Score: 0", 20, 30), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(firstStroke("DEBUG MODE", 80, 30), (std::vector<int>{255, 0, 0}));
}

// Culling may not change a single pixel: the same world drawn with it on and
// off from the start camera, orbited, panned, zoomed in close, far out,
// through the centre (zoom 0, a NaN view) and past it, and following a
// player further along.
TEST_F(FrameLoopTest, CullingLeavesEveryPixelAsItWas) {
    struct Pose {
        const char* name;
        float yaw;       // radians
        float pitch;     // radians
        float zoom;      // world units
        glm::ivec2 pan;  // cursor pixels dragged with the right button
        glm::vec3 target;
    };
    const Pose poses[] = {
        {"start", 3.14159f, -0.6f, 20, {0, 0}, {0, 0, 0}},
        {"orbited", 1.2f, -0.3f, 20, {0, 0}, {0, 0, 0}},
        {"from above", 3.14159f, -1.5f, 35, {0, 0}, {0, 0, 4}},
        {"panned", 2.6f, -0.4f, 12, {500, -300}, {0, 0, 0}},
        {"close", 2.5f, -1.4f, 4, {0, 0}, {0, 0, 0}},
        {"far out", 0.5f, -0.9f, 70, {0, 0}, {0, 0, 0}},
        {"zoom 0", 3.14159f, -0.6f, 0, {0, 0}, {0, 0, 0}},
        {"past the centre", 3.14159f, -0.6f, -15, {0, 0}, {0, 0, 0}},
        {"further along", 3.14159f, -0.6f, 20, {0, 0}, {3, 0, 14}},
    };
    windowWidth = 320;
    windowHeight = 192;
    const OffscreenTarget target(windowWidth, windowHeight, true);
    glEnable(GL_DEPTH_TEST);
    deltaTime = 0.0f;  // the logs stay put between the two pictures
    glClearColor(0.53f, 0.8f, 0.98f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const PpmImage sky = target.pixels();
    const auto picture = [this, &target](ViewCulling culling) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawWorld(*scene_, 1.0f, culling);
        return target.pixels();
    };
    for (const Pose& pose : poses) {
        SCOPED_TRACE(pose.name);
        scene_->camera.emplace(60.0f, 320.0f / 192.0f, 0.1f, 100.0f);
        scene_->camera->setYaw(pose.yaw);
        scene_->camera->setPitch(pose.pitch);
        scene_->camera->update(pose.pan.x, pose.pan.y, pose.zoom, false, true, true, pose.target);
        const PpmImage all = picture(ViewCulling::Off);
        const PpmImage culled = picture(ViewCulling::On);
        if (pose.zoom != 0.0f) {
            EXPECT_NE(all.rgb, sky.rgb) << "nothing of the world in the picture";
        }
        std::size_t differing = 0;
        for (std::size_t i = 0; i < all.rgb.size(); ++i) {
            differing += all.rgb[i] != culled.rgb[i] ? 1 : 0;
        }
        EXPECT_EQ(differing, 0u);
    }
    glDisable(GL_DEPTH_TEST);
}

}  // namespace

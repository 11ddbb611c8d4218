// One game frame's drawing on the real scene (real shaders, a 40-row world):
// every object drawn once, pass by pass in the frame's order, each with its
// pass uniforms on the pass's shader and then its own draw; and the HUD.
#include "app/frame_loop.h"

#include <gtest/gtest.h>

#include <glm/gtc/type_ptr.hpp>
#include <sstream>

#include "game/game_state.h"
#include "game/hopping.h"
#include "game/world.h"
#include "render/text.h"
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
    const glm::vec3 one(1.0f);
    Shader& color = *scene_->colorShader;
    Shader& river = *scene_->riverShader;
    const std::string viewProj = "uniformMatrix4fv viewProjMatrix";
    Lines expected;
    // The player and the marker get this frame's matrix too: this scene's
    // shaders have never been sent one, as in the game's first frame.
    for (const Geometry* object : {scene_->playerMesh.get(), scene_->originMarker.get()}) {
        expected.push_back(text("useProgram", color.programHandle()));
        expectUniform(expected, color, viewProj);
        expectDraw(expected, *object,
                   object == scene_->playerMesh.get() ? glm::vec3(1, 1, 0) : glm::vec3(1, 0, 0),
                   one, 1);
    }
    expected.push_back(text("useProgram", color.programHandle()));
    for (const auto& row : scene_->grassRows) {
        expectUniform(expected, color, viewProj);
        expectDraw(expected, *row, {0.1f, 0.8f, 0.1f}, one, 1);
    }
    for (std::size_t i = 0; i < treeParts.size(); ++i) {
        expected.push_back(text("useProgram", color.programHandle()));
        expectUniform(expected, color, viewProj);
        expectDraw(expected, *treeParts[i],
                   i % 2 == 0 ? glm::vec3(0.4f, 0.25f, 0.1f) : glm::vec3(0.1f, 0.6f, 0.1f), one, 1);
    }
    expected.push_back(text("useProgram", river.programHandle()));
    const glm::vec3 eye = scene_->camera->getPosition();
    for (const auto& row : scene_->riverRows) {
        expectUniform(expected, river, "uniform1f time 2.5");
        expectUniform(expected, river, viewProj);
        expectUniform(expected, river, text("uniform3f viewPos", eye.x, eye.y, eye.z));
        expectDraw(expected, *row, {1, 1, 0.1f}, {0.2f, 0.5f, 1}, 5);
    }
    for (const LogEntry& log : logs) {
        expected.push_back(text("useProgram", color.programHandle()));
        expectUniform(expected, color, viewProj);
        expectDraw(expected, *log.geometry, {0.55f, 0.27f, 0.07f}, one, 1);
    }
    for (const auto* rows : {&scene_->darkGreyRows, &scene_->lightGreyRows}) {
        expected.push_back(text("useProgram", color.programHandle()));
        for (const auto& row : *rows) {
            expectUniform(expected, color, viewProj);
            expectDraw(expected, *row,
                       rows == &scene_->darkGreyRows ? glm::vec3(0.3f) : glm::vec3(0.5f), one, 1);
        }
    }
    ASSERT_FALSE(scene_->riverRows.empty());
    ASSERT_FALSE(treeParts.empty());

    GlCallLog log;
    drawWorld(*scene_, 2.5f);
    EXPECT_EQ(withoutArrayNames(log.lines()), expected);
    const glm::mat4 viewProjection = scene_->camera->getViewProjectionMatrix();
    const float* sent = glm::value_ptr(viewProjection);
    EXPECT_EQ(log.matrix("viewProjMatrix"), std::vector<float>(sent, sent + 16));
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

}  // namespace

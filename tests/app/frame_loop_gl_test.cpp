// One game frame's drawing on the real scene (real shaders, a 40-row world):
// every object drawn once, pass by pass in the frame's order, each with its
// pass uniforms on the pass's shader and then its own draw; the HUD; and
// where the start screen's and the overlays' centred texts land.
#include "app/frame_loop.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <tuple>

#include "game/game_state.h"
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
    runFrameLoop(testWindow(), CommandLineOptions{}, scene);
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
    const glm::vec3 one(1.0f);
    Shader& color = *scene_->colorShader;
    Shader& river = *scene_->riverShader;
    const std::string viewProj = "uniformMatrix4fv viewProjMatrix";
    Lines expected;
    expectDraw(expected, *scene_->playerMesh, {1, 1, 0}, one, 1);
    expectDraw(expected, *scene_->originMarker, {1, 0, 0}, one, 1);
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
        const std::vector<PixelBox> titles = boxesOfColor(width, height, white);
        const std::vector<PixelBox> subtitles = boxesOfColor(width, height, grey);
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
            const std::vector<PixelBox> firsts = boxesOfColor(width, height, black);
            const std::vector<PixelBox> seconds = boxesOfColor(width, height, grey);
            ASSERT_EQ(firsts.size(), 2u) << first;  // the score, then the first text
            ASSERT_EQ(seconds.size(), 1u) << second;
            expectCentredPair(first, firsts[1], second, seconds[0]);
        }
    }
}

}  // namespace

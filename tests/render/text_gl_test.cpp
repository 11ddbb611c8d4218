// HUD text against a real context: the calls renderText makes, the state it
// leaves, and where the glyphs land in window pixels.
#include "render/text.h"

#include <gtest/gtest.h>

#include <glm/gtc/type_ptr.hpp>

#include "support/gl_call_log.h"
#include "support/gl_context.h"
#include "support/render_helpers.h"

namespace {

using Lines = std::vector<std::string>;

class TextTest : public GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        shader_ = makeTextTestShader(folder_);
        glGenVertexArrays(1, &vertexArray_);
        glGenBuffers(1, &vertexBuffer_);
    }
    void TearDown() override {
        glDeleteBuffers(1, &vertexBuffer_);
        glDeleteVertexArrays(1, &vertexArray_);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    GLint bufferSize() {
        glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
        GLint size = -1;
        glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        return size;
    }

    ScratchFolder folder_ = ScratchFolder::besideTestExecutable();
    std::shared_ptr<Shader> shader_;
    GLuint vertexArray_ = 0;
    GLuint vertexBuffer_ = 0;
};

TEST_F(TextTest, UploadsTheTrianglesAndUnbindsBufferThenVertexArray) {
    GlCallLog log;
    renderText("PAUSED", 20, 30, 1.0f, 0.5f, 0.25f, 1280, 720, *shader_, vertexArray_,
               vertexBuffer_);
    const std::string buffer = std::to_string(vertexBuffer_);
    EXPECT_EQ(
        log.lines(),
        (Lines{"useProgram " + std::to_string(shader_->programHandle()),
               "uniformMatrix4fv uProjection", "uniform3f uColor 1 0.5 0.25",
               "bindVertexArray " + std::to_string(vertexArray_), "bindBuffer ARRAY " + buffer,
               "bufferData ARRAY " + std::to_string(26 * 6 * 2 * 4) + " DYNAMIC",
               "enableVertexAttribArray 0", "vertexAttribPointer 0 2 FLOAT 0 8 0",
               "bindBuffer ARRAY 0", "bindVertexArray 0"}));
    const glm::mat4 projection = textProjection(1280, 720);
    const float* expected = glm::value_ptr(projection);
    EXPECT_EQ(log.matrix("uProjection"), std::vector<float>(expected, expected + 16));
    EXPECT_EQ(bufferSize(), 26 * 6 * 2 * 4);
}

TEST_F(TextTest, LeavesTheShaderCurrentAndEveryOtherStateAsItWas) {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    renderText("Score: 3", 5, 5, 1, 1, 1, 640, 360, *shader_, vertexArray_, vertexBuffer_);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint polygonMode[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    EXPECT_EQ(polygonMode[0], GL_LINE);
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), static_cast<GLint>(shader_->programHandle()));
    EXPECT_EQ(glInteger(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_EQ(glInteger(GL_ARRAY_BUFFER_BINDING), 0);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
}

TEST_F(TextTest, EmptyTextReSpecifiesTheBufferWithNoBytes) {
    renderText("PAUSED", 0, 0, 1, 1, 1, 640, 360, *shader_, vertexArray_, vertexBuffer_);
    GlCallLog log;
    renderText("", 0, 0, 1, 1, 1, 640, 360, *shader_, vertexArray_, vertexBuffer_);
    EXPECT_EQ(log.lines()[5], "bufferData ARRAY 0 DYNAMIC");
    EXPECT_EQ(bufferSize(), 0);
}

TEST_F(TextTest, GlyphsLandAtTwiceTheFontCoordinatesFromTheTopLeft) {
    constexpr int kWidth = 160;
    constexpr int kHeight = 60;
    const OffscreenTarget target(kWidth, kHeight);
    renderText("PAUSED", 10, 5, 0, 1, 0, kWidth, kHeight, *shader_, vertexArray_, vertexBuffer_);
    std::vector<std::uint8_t> pixels(kWidth * kHeight * 4);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    // The measured box, doubled: x from 20 to 20 + 2 * width, y from 10 to 34
    // (window rows counted from the top).
    const int right = 20 + 2 * textWidth("PAUSED");
    int lit = 0;
    int minX = kWidth, maxX = -1, minY = kHeight, maxY = -1;
    for (int row = 0; row < kHeight; ++row) {
        const int windowY = kHeight - 1 - row;
        for (int x = 0; x < kWidth; ++x) {
            const std::uint8_t* p = &pixels[static_cast<std::size_t>((row * kWidth + x) * 4)];
            if (p[1] == 255 && p[0] == 0) {
                ++lit;
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, windowY);
                maxY = std::max(maxY, windowY);
            } else {
                ASSERT_EQ(p[1], 0) << x << "," << windowY;
            }
        }
    }
    EXPECT_GT(lit, 100);
    EXPECT_EQ(minX, 20);  // "P" starts with its stem
    EXPECT_LT(maxX, right);
    EXPECT_EQ(minY, 10);
    EXPECT_LT(maxY, 34);
}

}  // namespace

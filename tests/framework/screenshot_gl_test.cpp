// Screenshots of real rendering: a coloured box drawn off-screen and read
// back through saveScreenshot lands top row first with exact pixels, at an
// odd width; the file name and the unwritable-file message.
#include "framework/screenshot.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <glm/gtc/matrix_transform.hpp>
#include <sstream>

#include "render/geometry.h"
#include "support/gl_context.h"
#include "support/render_helpers.h"

namespace {

struct Ppm {
    std::string magic;
    int width = 0;
    int height = 0;
    int maximum = 0;
    std::vector<int> values;  // r, g, b per pixel, top row first
};

Ppm parsePpm(const std::string& text) {
    Ppm ppm;
    std::istringstream stream(text);
    stream >> ppm.magic >> ppm.width >> ppm.height >> ppm.maximum;
    int value = 0;
    while (stream >> value) {
        ppm.values.push_back(value);
    }
    return ppm;
}

class ScreenshotTest : public GlTest {
  protected:
    void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }
    ScratchFolder assets_ = ScratchFolder::besideTestExecutable();
    ScratchFolder output_ = ScratchFolder::inTemp();
};

TEST_F(ScreenshotTest, ABoxOverTheTopHalfIsWrittenTopRowFirst) {
    constexpr int kWidth = 37;  // 111 bytes a row: not a multiple of 4
    constexpr int kHeight = 20;
    const OffscreenTarget target(kWidth, kHeight);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);  // OpenGL's default; the writer must set 1
    // A flat box 2 wide and 1 high centred at y = 0.5 covers the top half of
    // clip space.
    const auto material =
        Material::create(makeWorldTestShader(assets_), {1.0f, 0.2f, 0.0f}, {1, 1, 1}, 1.0f);
    Geometry box(glm::translate(glm::mat4(1.0f), glm::vec3(0, 0.5f, 0)), createBoxGeometry(2, 1, 0),
                 material);
    box.draw();

    const std::string name = output_.file("frame");
    saveScreenshot(name, kWidth, kHeight);
    const std::string text = readWholeFile(name + ".ppm");
    ASSERT_EQ(text.rfind("P3\n37 20\n255\n", 0), 0u);
    const Ppm ppm = parsePpm(text);
    ASSERT_EQ(ppm.values.size(), static_cast<std::size_t>(kWidth * kHeight * 3));
    for (int row = 0; row < kHeight; ++row) {
        const bool top = row < kHeight / 2;
        for (int column = 0; column < kWidth; ++column) {
            const int* p = &ppm.values[static_cast<std::size_t>((row * kWidth + column) * 3)];
            ASSERT_EQ(p[0], top ? 255 : 0) << row << "," << column;
            ASSERT_EQ(p[1], top ? 51 : 0) << row << "," << column;
            ASSERT_EQ(p[2], 0) << row << "," << column;
        }
    }
}

TEST_F(ScreenshotTest, TheNameGetsPpmAppendedInTheWorkingDirectory) {
    const OffscreenTarget target(3, 2);
    const std::string previous = std::filesystem::current_path().string();
    std::filesystem::current_path(output_.path());
    EXPECT_TRUE(saveScreenshot("shot", 3, 2));
    std::filesystem::current_path(previous);
    EXPECT_EQ(readWholeFile(output_.file("shot.ppm")),
              "P3\n3 2\n255\n"
              "  0   0   0   0   0   0   0   0   0 \n"
              "  0   0   0   0   0   0   0   0   0 \n");
}

TEST_F(ScreenshotTest, AFileThatCannotBeCreatedCostsOneLine) {
    const OffscreenTarget target(4, 4);
    const std::string name = output_.file("missing-folder/shot");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(saveScreenshot(name, 4, 4));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Unable to write screenshot file [" + name + ".ppm]\n");
    EXPECT_FALSE(std::filesystem::exists(name + ".ppm"));
}

}  // namespace

// A framebuffer resize sets the viewport and the stored window size.
#include "view/input_callbacks.h"

#include <gtest/gtest.h>

#include <array>

#include "game/game_state.h"
#include "render/picture_state.h"
#include "support/game_globals.h"
#include "support/gl_context.h"

namespace {

class FramebufferSizeTest : public GlTest {
  protected:
    void TearDown() override {
        glViewport(0, 0, 64, 64);
        resetGameGlobals();
    }
    static std::array<GLint, 4> viewport() {
        std::array<GLint, 4> values{};
        glGetIntegerv(GL_VIEWPORT, values.data());
        return values;
    }
};

TEST_F(FramebufferSizeTest, ResizeSetsTheViewportAndStoresTheSizeZeroIncluded) {
    framebufferSizeCallback(window_, 800, 600);
    applyPictureRequests();
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 800, 600}));
    EXPECT_EQ(windowWidth, 800);
    EXPECT_EQ(windowHeight, 600);
    framebufferSizeCallback(window_, 0, 0);
    applyPictureRequests();
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 0, 0}));
    EXPECT_EQ(windowWidth, 0);
    EXPECT_EQ(windowHeight, 0);
}

}  // namespace

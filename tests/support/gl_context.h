// A real OpenGL 4.3 core debug context for tests, in a hidden window.
//
// One window per test process, created on first use and kept until exit.
// Death tests re-run the test binary (threadsafe style), so a child makes
// its own context rather than sharing the parent's X connection.
#pragma once

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

// The process's test window with its context current, or null when no
// context could be made (no display).
GLFWwindow* testWindow();

// One integer of OpenGL state, such as GL_CURRENT_PROGRAM.
GLint glInteger(GLenum what);

class GlTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite();
    void SetUp() override;
    GLFWwindow* window_ = nullptr;
};

// Replaces one GLEW function pointer for the life of the object, so a test
// can count or record the calls our code makes.
template <typename Pointer>
class GlFunctionOverride {
  public:
    GlFunctionOverride(Pointer& slot, Pointer replacement) : slot_(slot), saved_(slot) {
        slot_ = replacement;
    }
    ~GlFunctionOverride() { slot_ = saved_; }
    GlFunctionOverride(const GlFunctionOverride&) = delete;
    GlFunctionOverride& operator=(const GlFunctionOverride&) = delete;
    Pointer original() const { return saved_; }

  private:
    Pointer& slot_;
    Pointer saved_;
};

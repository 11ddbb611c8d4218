#include "support/gl_context.h"

#include <cstdlib>

namespace {

GLFWwindow* createTestWindow() {
    if (glfwInit() != GLFW_TRUE) {
        return nullptr;
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, GLFW_TRUE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(64, 64, "quorland tests", nullptr, nullptr);
    if (window == nullptr) {
        return nullptr;
    }
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        return nullptr;
    }
    // GLEW may leave a harmless GL_INVALID_ENUM behind on core contexts.
    while (glGetError() != GL_NO_ERROR) {
    }
    return window;
}

}  // namespace

GLFWwindow* testWindow() {
    static GLFWwindow* window = createTestWindow();
    return window;
}

void GlTest::SetUpTestSuite() {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
}

void GlTest::SetUp() {
    window_ = testWindow();
    ASSERT_NE(window_, nullptr) << "no OpenGL context: is DISPLAY set?";
    glfwMakeContextCurrent(window_);
}

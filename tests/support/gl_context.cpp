#include "support/gl_context.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

void reportGlfwError(int code, const char* description) {
    std::fprintf(stderr, "GLFW error %d: %s\n", code, description);
}

// One try at GLFW, a hidden window with the game's context and GLEW; null
// (with GLFW shut down again) when any step fails.
GLFWwindow* tryCreateTestWindow() {
    if (glfwInit() != GLFW_TRUE) {
        return nullptr;
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, GLFW_TRUE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(64, 64, "quorland tests", nullptr, nullptr);
    if (window != nullptr) {
        glfwMakeContextCurrent(window);
        glewExperimental = GL_TRUE;
        const GLenum result = glewInit();
        if (result == GLEW_OK) {
            return window;
        }
        std::fprintf(stderr, "GLEW: %s\n",
                     reinterpret_cast<const char*>(glewGetErrorString(result)));
    }
    glfwTerminate();
    return nullptr;
}

GLFWwindow* createTestWindow() {
    glfwSetErrorCallback(reportGlfwError);
    // A busy X server now and then refuses a connection or a context; a few
    // tries ride that out, and what went wrong is printed.
    GLFWwindow* window = nullptr;
    for (int attempt = 0; attempt < 5 && window == nullptr; ++attempt) {
        if (attempt > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        }
        window = tryCreateTestWindow();
    }
    if (window != nullptr) {
        // GLEW may leave a harmless GL_INVALID_ENUM behind on core contexts.
        while (glGetError() != GL_NO_ERROR) {
        }
    }
    return window;
}

}  // namespace

GLint glInteger(GLenum what) {
    GLint value = 0;
    glGetIntegerv(what, &value);
    return value;
}

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

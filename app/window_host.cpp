// The two sides a run can be played on: the game's GLFW window, and none.
#include <GLFW/glfw3.h>

#include <chrono>

#include "app/frame_host.h"

namespace {

LiveEventSink& sinkOf(GLFWwindow* window) {
    return *static_cast<LiveEventSink*>(glfwGetWindowUserPointer(window));
}

// The forwarding callbacks: each hands GLFW's arguments on as an event.
void forwardKey(GLFWwindow* window, int key, int scancode, int action, int mods) {
    sinkOf(window).onLiveEvent(keyEvent(key, scancode, action, mods));
}
void forwardMouseButton(GLFWwindow* window, int button, int action, int mods) {
    sinkOf(window).onLiveEvent(mouseButtonEvent(button, action, mods));
}
void forwardScroll(GLFWwindow* window, double xOffset, double yOffset) {
    sinkOf(window).onLiveEvent(scrollEvent(xOffset, yOffset));
}
void forwardFramebufferSize(GLFWwindow* window, int width, int height) {
    sinkOf(window).onLiveEvent(framebufferSizeEvent(width, height));
}
void forwardClose(GLFWwindow* window) {
    sinkOf(window).onLiveEvent(closeEvent());
}

class WindowHost : public FrameHost {
  public:
    explicit WindowHost(GLFWwindow* window) : window_(window) {}

    bool draws() const override { return true; }
    GLFWwindow* window() const override { return window_; }
    double now() override { return glfwGetTime(); }
    void pollEvents() override { glfwPollEvents(); }
    CursorPosition cursor() override {
        double x = 0.0;
        double y = 0.0;
        glfwGetCursorPos(window_, &x, &y);
        return {static_cast<int>(x), static_cast<int>(y)};
    }
    PadReading pad(int slot) override { return readPlatformPad(slot); }
    bool closeRequested() const override { return glfwWindowShouldClose(window_) == GLFW_TRUE; }
    void requestClose() override { glfwSetWindowShouldClose(window_, GLFW_TRUE); }
    void swapBuffers() override { glfwSwapBuffers(window_); }
    void forwardEventsTo(LiveEventSink& sink) override {
        glfwSetWindowUserPointer(window_, &sink);
        glfwSetKeyCallback(window_, forwardKey);
        glfwSetMouseButtonCallback(window_, forwardMouseButton);
        glfwSetScrollCallback(window_, forwardScroll);
        glfwSetFramebufferSizeCallback(window_, forwardFramebufferSize);
        glfwSetWindowCloseCallback(window_, forwardClose);
    }
    void stopWaitingForTheDisplay() override { glfwSwapInterval(0); }

  private:
    GLFWwindow* window_;
};

class NoWindowHost : public FrameHost {
  public:
    bool draws() const override { return false; }
    GLFWwindow* window() const override { return nullptr; }
    double now() override {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    }
    void pollEvents() override {}
    CursorPosition cursor() override { return {}; }
    PadReading pad(int /*slot*/) override { return {}; }
    bool closeRequested() const override { return closeRequested_; }
    void requestClose() override { closeRequested_ = true; }
    void swapBuffers() override {}
    void forwardEventsTo(LiveEventSink& /*sink*/) override {}
    void stopWaitingForTheDisplay() override {}

  private:
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
    bool closeRequested_ = false;
};

}  // namespace

std::unique_ptr<FrameHost> makeWindowHost(GLFWwindow* window) {
    return std::make_unique<WindowHost>(window);
}

std::unique_ptr<FrameHost> makeNoWindowHost() {
    return std::make_unique<NoWindowHost>();
}

#include "view/input_callbacks.h"

#include <GLFW/glfw3.h>

#include "game/game_events.h"
#include "game/game_state.h"
#include "game/picture_requests.h"

namespace {

constexpr float zoomPerNotch = 0.5f;  // world units per scroll notch

}  // namespace

void mouseButtonCallback(GLFWwindow* /*window*/, int button, int action, int /*mods*/) {
    const bool pressed = action == GLFW_PRESS;
    if (!pressed && action != GLFW_RELEASE) {
        return;
    }
    if (button == GLFW_MOUSE_BUTTON_LEFT) {
        if (pressed && gameState == Menu) {
            gameState = Playing;
            gameEvents.push(GameEvent::GameStarted);
        } else {
            leftMouseDown = pressed;
        }
    } else if (button == GLFW_MOUSE_BUTTON_RIGHT) {
        rightMouseDown = pressed;
    }
}

void scrollCallback(GLFWwindow* /*window*/, double /*xOffset*/, double yOffset) {
    if (debugMode) {
        zoom -= static_cast<float>(yOffset) * zoomPerNotch;
    }
}

void framebufferSizeCallback(GLFWwindow* /*window*/, int width, int height) {
    pictureRequests.push_back({PictureRequest::Kind::Viewport, width, height, false});
    windowHeight = height;
    windowWidth = width;
}

#include "view/control_mapping.h"

#include <GLFW/glfw3.h>

namespace {

ControlEvent keyPress(int key) {
    return {ControlEvent::Kind::Key, key, GLFW_PRESS};
}

}  // namespace

std::optional<ControlEvent> controlPress(Control control, GameState state) {
    const ControlEvent click{ControlEvent::Kind::MouseButton, GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS};
    const ControlEvent escape = keyPress(GLFW_KEY_ESCAPE);
    switch (control) {
        case Control::South:
            return state == Menu ? click : state == GameOver ? escape : keyPress(GLFW_KEY_W);
        case Control::Start:
            return state == Menu ? click : escape;
        case Control::Back:
            if (state == Menu) {
                return escape;
            }
            return std::nullopt;
        case Control::Up:
            return keyPress(GLFW_KEY_W);
        case Control::Down:
            return keyPress(GLFW_KEY_S);
        case Control::Left:
            return keyPress(GLFW_KEY_A);
        case Control::Right:
            return keyPress(GLFW_KEY_D);
        case Control::Gone:
            if (state == Playing) {
                return escape;
            }
            return std::nullopt;
    }
    return std::nullopt;
}

ControlEvent releaseOf(ControlEvent press) {
    press.action = GLFW_RELEASE;
    return press;
}

// Pads in the browser (framework/platform.h): read through the joystick API
// of the browser's window library, in the browser's "standard" layout only
// (buttons 0 south, 8 back, 9 start, 12 to 15 the d-pad; axes 0 and 1 the
// left stick), the only one whose numbers mean something here.
#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <emscripten/html5.h>

#include <cstring>

#include "framework/platform.h"

namespace {

// Whether the browser lays the pad out in its "standard" mapping.
bool hasStandardLayout(int slot) {
    EmscriptenGamepadEvent status;
    return emscripten_sample_gamepad_data() == EMSCRIPTEN_RESULT_SUCCESS &&
           emscripten_get_gamepad_status(slot, &status) == EMSCRIPTEN_RESULT_SUCCESS &&
           std::strcmp(status.mapping, "standard") == 0;
}

// The standard layout's numbers for the controls of PadButton, in its order.
constexpr int kStandardButtons[PadButtonCount] = {0, 8, 9, 12, 13, 14, 15};
constexpr int kStandardButtonCount = 16;

}  // namespace

static_assert(kPadSlots <= GLFW_JOYSTICK_LAST + 1, "every pad slot is a GLFW joystick id");

PadReading readPlatformPad(int slot) {
    PadReading pad;
    if (!isPadSlot(slot) || glfwJoystickPresent(slot) == GLFW_FALSE) {
        return pad;
    }
    int buttonCount = 0;
    int axisCount = 0;
    const unsigned char* buttons = glfwGetJoystickButtons(slot, &buttonCount);
    const float* axes = glfwGetJoystickAxes(slot, &axisCount);
    pad.presence = PadReading::Presence::Unmapped;
    if (buttons == nullptr || axes == nullptr || buttonCount < kStandardButtonCount ||
        axisCount < 2 || !hasStandardLayout(slot)) {
        return pad;
    }
    pad.presence = PadReading::Presence::Mapped;
    for (int i = 0; i < PadButtonCount; ++i) {
        pad.buttons[i] = buttons[kStandardButtons[i]] != 0;
    }
    pad.stickX = axes[0];
    pad.stickY = axes[1];
    return pad;
}

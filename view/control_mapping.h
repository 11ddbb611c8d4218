// What a device's controls stand for on each screen: the one place that
// says which key or click a gamepad button, a direction or a touch gesture
// means.
//
// Devices have no rules of their own: each press becomes the key or click
// it stands for and goes through the game's input callbacks, so the
// commentary is the keyboard's and a recording holds plain key and click
// events. The pad mapping (view/gamepad_mapping.h) and the touch gestures
// (view/touch_gestures.h) both ask controlPress at poll time, with the
// screen the events will meet:
// - South is a left click on the start screen, Esc on the game-over screen
//   and W otherwise;
// - Start is a left click on the start screen and Esc otherwise;
// - Back is Esc on the start screen only;
// - the directions are W, S, A and D on every screen (only a game in play
//   acts on them);
// - Gone (the device went away: a pad unplugged, the page hidden) is Esc in
//   a game in play, which pauses it, and nothing elsewhere.
#pragma once

#include <optional>

#include "game/game_state.h"

struct ControlEvent {
    enum class Kind { Key, MouseButton };
    Kind kind = Kind::Key;
    int code = 0;    // GLFW key or mouse button
    int action = 0;  // GLFW_PRESS, GLFW_REPEAT or GLFW_RELEASE

    bool operator==(const ControlEvent& other) const {
        return kind == other.kind && code == other.code && action == other.action;
    }
};

enum class Control { South, Start, Back, Up, Down, Left, Right, Gone };

// The press `control` stands for on the screen `state`, or none.
std::optional<ControlEvent> controlPress(Control control, GameState state);

// The release that ends `press` (the same key or button).
ControlEvent releaseOf(ControlEvent press);

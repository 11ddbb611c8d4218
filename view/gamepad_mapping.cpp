#include "view/gamepad_mapping.h"

// GLEW before GLFW, which would otherwise pull in the system GL header.
#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <cmath>
#include <optional>

namespace {

PadEvent keyOf(int key, int action) {
    return {PadEvent::Kind::Key, key, action};
}

// What pressing `button` means on the screen `state`; nothing for the
// d-pad (handled as directions) and for Back outside the start screen.
std::optional<PadEvent> pressOf(int button, GameState state) {
    const PadEvent click{PadEvent::Kind::MouseButton, GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS};
    const PadEvent escape = keyOf(GLFW_KEY_ESCAPE, GLFW_PRESS);
    switch (button) {
        case PadSouth:
            return state == Menu       ? click
                   : state == GameOver ? escape
                                       : keyOf(GLFW_KEY_W, GLFW_PRESS);
        case PadStart:
            return state == Menu ? click : escape;
        case PadBack:
            if (state == Menu) {
                return escape;
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

PadEvent released(PadEvent event) {
    event.action = GLFW_RELEASE;
    return event;
}

}  // namespace

std::vector<PadEvent> GamepadMapping::update(const std::vector<PadReading>& pads, double now,
                                             GameState state) {
    std::vector<PadEvent> events;
    const auto mapped = [&pads](int slot) {
        return slot >= 0 && static_cast<std::size_t>(slot) < pads.size() &&
               pads[static_cast<std::size_t>(slot)].presence == PadReading::Presence::Mapped;
    };
    if (slot_ >= 0 && !mapped(slot_)) {
        disconnect(state, events);
    }
    if (slot_ < 0) {
        for (int slot = 0; slot < static_cast<int>(pads.size()); ++slot) {
            if (mapped(slot)) {
                connect(slot, pads[static_cast<std::size_t>(slot)]);
                break;
            }
        }
        return events;  // a pad starts from what it holds now
    }
    const PadReading& pad = pads[static_cast<std::size_t>(slot_)];
    updateButtons(pad, state, events);
    updateDirection(pad, now, events);
    return events;
}

void GamepadMapping::connect(int slot, const PadReading& pad) {
    slot_ = slot;
    for (int i = 0; i < PadButtonCount; ++i) {
        down_[i] = pad.buttons[i];
        sent_[i] = false;
    }
    held_ = None;
    held_ = wantedDirection(pad);
    directionSent_ = false;
}

void GamepadMapping::disconnect(GameState state, std::vector<PadEvent>& events) {
    for (int i = 0; i < PadButtonCount; ++i) {
        if (sent_[i]) {
            events.push_back(released(pressed_[i]));
        }
        down_[i] = sent_[i] = false;
    }
    if (held_ != None && directionSent_) {
        events.push_back(keyOf(directionKey(held_), GLFW_RELEASE));
    }
    held_ = None;
    directionSent_ = false;
    if (state == Playing) {
        events.push_back(keyOf(GLFW_KEY_ESCAPE, GLFW_PRESS));
        events.push_back(keyOf(GLFW_KEY_ESCAPE, GLFW_RELEASE));
    }
    slot_ = -1;
}

void GamepadMapping::updateButtons(const PadReading& pad, GameState state,
                                   std::vector<PadEvent>& events) {
    for (int i : {PadSouth, PadBack, PadStart}) {
        if (pad.buttons[i] && !down_[i]) {
            if (const std::optional<PadEvent> press = pressOf(i, state)) {
                events.push_back(*press);
                pressed_[i] = *press;
                sent_[i] = true;
            }
        } else if (!pad.buttons[i] && down_[i] && sent_[i]) {
            events.push_back(released(pressed_[i]));
            sent_[i] = false;
        }
        down_[i] = pad.buttons[i];
    }
}

void GamepadMapping::updateDirection(const PadReading& pad, double now,
                                     std::vector<PadEvent>& events) {
    const Direction wanted = wantedDirection(pad);
    if (wanted != held_) {
        if (held_ != None && directionSent_) {
            events.push_back(keyOf(directionKey(held_), GLFW_RELEASE));
        }
        held_ = wanted;
        directionSent_ = wanted != None;
        if (directionSent_) {
            events.push_back(keyOf(directionKey(wanted), GLFW_PRESS));
            nextRepeat_ = now + kPadRepeatDelay;
        }
    } else if (held_ != None && directionSent_ && now >= nextRepeat_) {
        // One repeat per frame at most: a slow frame does not make a burst.
        events.push_back(keyOf(directionKey(held_), GLFW_REPEAT));
        nextRepeat_ += kPadRepeatInterval;
        if (nextRepeat_ <= now) {
            nextRepeat_ = now + kPadRepeatInterval;
        }
    }
}

GamepadMapping::Direction GamepadMapping::wantedDirection(const PadReading& pad) const {
    // How far the stick leans toward each direction, in Direction order.
    const float lean[4] = {-pad.stickY, pad.stickY, -pad.stickX, pad.stickX};
    const int dpad[4] = {PadUp, PadDown, PadLeft, PadRight};
    if (held_ != None && (pad.buttons[dpad[held_]] || lean[held_] > kStickRelease)) {
        return held_;  // a held direction stays while anything still holds it
    }
    for (int d = Forward; d <= Right; ++d) {
        if (pad.buttons[dpad[d]]) {
            return static_cast<Direction>(d);
        }
    }
    const float across = std::fabs(pad.stickX);
    const float along = std::fabs(pad.stickY);
    if (std::fmax(across, along) <= kStickDeadZone) {
        return None;
    }
    if (along >= across) {
        return pad.stickY < 0.0f ? Forward : Back;
    }
    return pad.stickX < 0.0f ? Left : Right;
}

int GamepadMapping::directionKey(Direction direction) {
    const int keys[4] = {GLFW_KEY_W, GLFW_KEY_S, GLFW_KEY_A, GLFW_KEY_D};
    return keys[direction];
}

#include "view/gamepad_mapping.h"

#include <GLFW/glfw3.h>

#include <cmath>
#include <optional>

namespace {

// The pad's buttons and directions as the controls they are.
constexpr Control kButtonControls[PadButtonCount] = {Control::South, Control::Back, Control::Start,
                                                     Control::Up,    Control::Down, Control::Left,
                                                     Control::Right};
constexpr Control kDirectionControls[4] = {Control::Up, Control::Down, Control::Left,
                                           Control::Right};

ControlEvent repeatOf(ControlEvent press) {
    press.action = GLFW_REPEAT;
    return press;
}

}  // namespace

std::vector<ControlEvent> GamepadMapping::update(const std::vector<PadReading>& pads, double now,
                                                 GameState state) {
    std::vector<ControlEvent> events;
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
    updateDirection(pad, now, state, events);
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

void GamepadMapping::disconnect(GameState state, std::vector<ControlEvent>& events) {
    for (int i = 0; i < PadButtonCount; ++i) {
        if (sent_[i]) {
            events.push_back(releaseOf(pressed_[i]));
        }
        down_[i] = sent_[i] = false;
    }
    if (held_ != None && directionSent_) {
        events.push_back(releaseOf(directionPress_));
    }
    held_ = None;
    directionSent_ = false;
    if (const std::optional<ControlEvent> gone = controlPress(Control::Gone, state)) {
        events.push_back(*gone);
        events.push_back(releaseOf(*gone));
    }
    slot_ = -1;
}

void GamepadMapping::updateButtons(const PadReading& pad, GameState state,
                                   std::vector<ControlEvent>& events) {
    for (int i : {PadSouth, PadBack, PadStart}) {
        if (pad.buttons[i] && !down_[i]) {
            if (const std::optional<ControlEvent> press = controlPress(kButtonControls[i], state)) {
                events.push_back(*press);
                pressed_[i] = *press;
                sent_[i] = true;
            }
        } else if (!pad.buttons[i] && down_[i] && sent_[i]) {
            events.push_back(releaseOf(pressed_[i]));
            sent_[i] = false;
        }
        down_[i] = pad.buttons[i];
    }
}

void GamepadMapping::updateDirection(const PadReading& pad, double now, GameState state,
                                     std::vector<ControlEvent>& events) {
    const Direction wanted = wantedDirection(pad);
    if (wanted != held_) {
        if (held_ != None && directionSent_) {
            events.push_back(releaseOf(directionPress_));
        }
        held_ = wanted;
        const std::optional<ControlEvent> press =
            wanted == None ? std::nullopt : controlPress(kDirectionControls[wanted], state);
        directionSent_ = press.has_value();
        if (press) {
            directionPress_ = *press;
            events.push_back(*press);
            nextRepeat_ = now + kPadRepeatDelay;
        }
    } else if (held_ != None && directionSent_ && now >= nextRepeat_) {
        // One repeat per frame at most: a slow frame does not make a burst.
        events.push_back(repeatOf(directionPress_));
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

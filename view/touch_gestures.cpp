#include "view/touch_gestures.h"

namespace {

struct GestureRule {
    TouchGesture gesture;
    const char* name;  // as the page reports it
    Control control;
};

const GestureRule kGestureRules[] = {
    {TouchGesture::Tap, "tap", Control::South},
    {TouchGesture::SwipeUp, "swipe-up", Control::Up},
    {TouchGesture::SwipeDown, "swipe-down", Control::Down},
    {TouchGesture::SwipeLeft, "swipe-left", Control::Left},
    {TouchGesture::SwipeRight, "swipe-right", Control::Right},
    {TouchGesture::PauseButton, "pause-button", Control::Start},
    {TouchGesture::StartScreenButton, "start-screen-button", Control::Start},
    {TouchGesture::PageHidden, "page-hidden", Control::Gone},
};

// Whether the page shows the button `gesture` on the screen `state`; true
// for the gestures that are not buttons.
bool buttonShows(TouchGesture gesture, GameState state) {
    switch (gesture) {
        case TouchGesture::PauseButton:
            return state == Playing || state == Paused;
        case TouchGesture::StartScreenButton:
            return state == GameOver;
        default:
            return true;
    }
}

}  // namespace

std::vector<ControlEvent> gestureEvents(TouchGesture gesture, GameState state) {
    for (const GestureRule& rule : kGestureRules) {
        if (rule.gesture != gesture || !buttonShows(gesture, state)) {
            continue;
        }
        if (const std::optional<ControlEvent> press = controlPress(rule.control, state)) {
            return {*press, releaseOf(*press)};
        }
    }
    return {};
}

std::optional<TouchGesture> touchGestureNamed(const std::string& name) {
    for (const GestureRule& rule : kGestureRules) {
        if (name == rule.name) {
            return rule.gesture;
        }
    }
    return std::nullopt;
}

const char* touchButtonShown(GameState state) {
    if (buttonShows(TouchGesture::PauseButton, state)) {
        return state == Paused ? "resume" : "pause";
    }
    return buttonShows(TouchGesture::StartScreenButton, state) ? "start-screen" : "";
}

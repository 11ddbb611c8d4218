// Gamepads and touch gestures turned into key and click events: the one
// mapping of controls on each screen, the pads frame by frame from their
// states, and the page's gestures.
#include "view/gamepad_mapping.h"

#include <GL/glew.h>  // before GLFW, which would pull in the system GL header
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <glm/vec2.hpp>
#include <optional>
#include <string>

#include "view/control_mapping.h"
#include "view/touch_gestures.h"

namespace {

using Events = std::vector<ControlEvent>;

ControlEvent key(int code, int action) {
    return {ControlEvent::Kind::Key, code, action};
}
ControlEvent click(int action) {
    return {ControlEvent::Kind::MouseButton, GLFW_MOUSE_BUTTON_LEFT, action};
}

PadReading mappedPad() {
    PadReading pad;
    pad.presence = PadReading::Presence::Mapped;
    return pad;
}

class GamepadMappingTest : public ::testing::Test {
  protected:
    GamepadMappingTest() : pads_(kPadSlots) {
        pads_[0] = mappedPad();
        frame();  // the connect
    }

    // One frame `seconds` after the previous one.
    Events frame(double seconds = 1.0 / 60.0, GameState state = Playing) {
        now_ += seconds;
        return mapping_.update(pads_, now_, state);
    }
    PadReading& pad(int slot = 0) { return pads_[static_cast<std::size_t>(slot)]; }
    void stick(float x, float y) {
        pad().stickX = x;
        pad().stickY = y;
    }

    GamepadMapping mapping_;
    std::vector<PadReading> pads_;
    double now_ = 100.0;
};

TEST_F(GamepadMappingTest, TheDpadPressesHoldsWithTheKeyboardsRepeatsAndReleases) {
    pad().buttons[PadUp] = true;
    EXPECT_EQ(frame(), (Events{key(GLFW_KEY_W, GLFW_PRESS)}));
    // Nothing until the keyboard's delay has passed since the press ...
    EXPECT_EQ(frame(0.3), Events{});
    EXPECT_EQ(frame(0.35), Events{});
    EXPECT_EQ(frame(0.02), (Events{key(GLFW_KEY_W, GLFW_REPEAT)}));  // 0.67 s after the press
    // ... then one repeat every 0.04 s.
    EXPECT_EQ(frame(0.02), Events{});
    EXPECT_EQ(frame(0.02), (Events{key(GLFW_KEY_W, GLFW_REPEAT)}));
    EXPECT_EQ(frame(0.02), Events{});
    EXPECT_EQ(frame(0.02), (Events{key(GLFW_KEY_W, GLFW_REPEAT)}));
    // A slow frame brings one repeat, not a burst.
    EXPECT_EQ(frame(0.5), (Events{key(GLFW_KEY_W, GLFW_REPEAT)}));
    EXPECT_EQ(frame(0.03), Events{});
    EXPECT_EQ(frame(0.02), (Events{key(GLFW_KEY_W, GLFW_REPEAT)}));
    pad().buttons[PadUp] = false;
    EXPECT_EQ(frame(), (Events{key(GLFW_KEY_W, GLFW_RELEASE)}));
    EXPECT_EQ(frame(1.0), Events{});
}

TEST_F(GamepadMappingTest, EachDpadDirectionIsItsKey) {
    const std::pair<PadButton, int> bindings[] = {
        {PadUp, GLFW_KEY_W}, {PadDown, GLFW_KEY_S}, {PadLeft, GLFW_KEY_A}, {PadRight, GLFW_KEY_D}};
    for (const auto& [button, code] : bindings) {
        pad().buttons[button] = true;
        EXPECT_EQ(frame(), (Events{key(code, GLFW_PRESS)})) << code;
        pad().buttons[button] = false;
        EXPECT_EQ(frame(), (Events{key(code, GLFW_RELEASE)})) << code;
    }
}

TEST_F(GamepadMappingTest, TheStickPressesPastTheDeadZoneAndReleasesInTheCentre) {
    stick(0.0f, -0.5f);  // on the edge of the dead zone: nothing
    EXPECT_EQ(frame(), Events{});
    stick(0.0f, -0.51f);
    EXPECT_EQ(frame(), (Events{key(GLFW_KEY_W, GLFW_PRESS)}));
    stick(0.0f, -0.4f);  // easing off, but not back in the centre: still held
    EXPECT_EQ(frame(), Events{});
    EXPECT_EQ(frame(0.7), (Events{key(GLFW_KEY_W, GLFW_REPEAT)}));
    stick(0.0f, -0.3f);
    EXPECT_EQ(frame(), (Events{key(GLFW_KEY_W, GLFW_RELEASE)}));
    const std::pair<glm::vec2, int> leans[] = {
        {{0.0f, 0.9f}, GLFW_KEY_S}, {{-0.9f, 0.0f}, GLFW_KEY_A}, {{0.9f, 0.0f}, GLFW_KEY_D}};
    for (const auto& [lean, code] : leans) {
        stick(lean.x, lean.y);
        EXPECT_EQ(frame(), (Events{key(code, GLFW_PRESS)})) << code;
        stick(0.0f, 0.0f);
        EXPECT_EQ(frame(), (Events{key(code, GLFW_RELEASE)})) << code;
    }
}

TEST_F(GamepadMappingTest, ADiagonalStickIsOneHopAlongTheLargerAxis) {
    stick(-0.6f, -0.7f);
    EXPECT_EQ(frame(), (Events{key(GLFW_KEY_W, GLFW_PRESS)}));
    // Rolling toward the other axis keeps the direction while it still leans that way.
    stick(-0.7f, -0.6f);
    EXPECT_EQ(frame(), Events{});
    stick(0.0f, 0.0f);
    EXPECT_EQ(frame(), (Events{key(GLFW_KEY_W, GLFW_RELEASE)}));
    stick(0.8f, 0.7f);
    EXPECT_EQ(frame(), (Events{key(GLFW_KEY_D, GLFW_PRESS)}));
    // Swung round to another direction: the old one is released, the new one pressed.
    stick(0.1f, 0.9f);
    EXPECT_EQ(frame(), (Events{key(GLFW_KEY_D, GLFW_RELEASE), key(GLFW_KEY_S, GLFW_PRESS)}));
}

TEST_F(GamepadMappingTest, TheDpadAndTheStickTogetherHoldOneDirection) {
    pad().buttons[PadLeft] = true;
    stick(0.0f, -1.0f);
    EXPECT_EQ(frame(), (Events{key(GLFW_KEY_A, GLFW_PRESS)}));
    pad().buttons[PadLeft] = false;  // the stick still holds a direction: now W
    EXPECT_EQ(frame(), (Events{key(GLFW_KEY_A, GLFW_RELEASE), key(GLFW_KEY_W, GLFW_PRESS)}));
}

TEST_F(GamepadMappingTest, TheButtonsMeanWhatTheScreenMakesOfThem) {
    struct Case {
        PadButton button;
        GameState state;
        Events pressAndRelease;
    };
    const ControlEvent escape = key(GLFW_KEY_ESCAPE, GLFW_PRESS);
    const Case cases[] = {
        {PadSouth, Menu, {click(GLFW_PRESS), click(GLFW_RELEASE)}},
        {PadSouth, Playing, {key(GLFW_KEY_W, GLFW_PRESS), key(GLFW_KEY_W, GLFW_RELEASE)}},
        {PadSouth, Paused, {key(GLFW_KEY_W, GLFW_PRESS), key(GLFW_KEY_W, GLFW_RELEASE)}},
        {PadSouth, GameOver, {escape, key(GLFW_KEY_ESCAPE, GLFW_RELEASE)}},
        {PadStart, Menu, {click(GLFW_PRESS), click(GLFW_RELEASE)}},
        {PadStart, Playing, {escape, key(GLFW_KEY_ESCAPE, GLFW_RELEASE)}},
        {PadStart, Paused, {escape, key(GLFW_KEY_ESCAPE, GLFW_RELEASE)}},
        {PadStart, GameOver, {escape, key(GLFW_KEY_ESCAPE, GLFW_RELEASE)}},
        {PadBack, Menu, {escape, key(GLFW_KEY_ESCAPE, GLFW_RELEASE)}},
        {PadBack, Playing, {}},
        {PadBack, GameOver, {}},
    };
    for (const Case& c : cases) {
        pad().buttons[c.button] = true;
        Events events = frame(1.0, c.state);
        // Held: no repeats. The release matches the press, whatever the screen is by then.
        const Events held = frame(1.0, c.state);
        pad().buttons[c.button] = false;
        for (const ControlEvent& event : frame(1.0, Playing)) {
            events.push_back(event);
        }
        EXPECT_EQ(events, c.pressAndRelease) << c.button << " on screen " << c.state;
        EXPECT_EQ(held, Events{});
    }
}

TEST_F(GamepadMappingTest, BackHeldIntoTheStartScreenDoesNotQuit) {
    pad().buttons[PadBack] = true;
    EXPECT_EQ(frame(0.1, GameOver), Events{});
    EXPECT_EQ(frame(0.1, Menu), Events{});
    pad().buttons[PadBack] = false;
    EXPECT_EQ(frame(0.1, Menu), Events{});
}

TEST_F(GamepadMappingTest, AnUnplugDuringAHopPausesTheGame) {
    pad().buttons[PadSouth] = true;
    EXPECT_EQ(frame(), (Events{key(GLFW_KEY_W, GLFW_PRESS)}));
    pad().buttons[PadSouth] = false;
    EXPECT_EQ(frame(), (Events{key(GLFW_KEY_W, GLFW_RELEASE)}));
    pad().presence = PadReading::Presence::Absent;
    EXPECT_EQ(frame(),
              (Events{key(GLFW_KEY_ESCAPE, GLFW_PRESS), key(GLFW_KEY_ESCAPE, GLFW_RELEASE)}));
    EXPECT_EQ(mapping_.drivingSlot(), -1);
    EXPECT_EQ(frame(), Events{});
}

TEST_F(GamepadMappingTest, AnUnplugWithADirectionHeldReleasesIt) {
    stick(0.9f, 0.0f);
    EXPECT_EQ(frame(), (Events{key(GLFW_KEY_D, GLFW_PRESS)}));
    pad() = PadReading();
    EXPECT_EQ(frame(), (Events{key(GLFW_KEY_D, GLFW_RELEASE), key(GLFW_KEY_ESCAPE, GLFW_PRESS),
                               key(GLFW_KEY_ESCAPE, GLFW_RELEASE)}));
    EXPECT_EQ(frame(1.0), Events{});  // no repeats from a pad that is gone
}

TEST_F(GamepadMappingTest, AnUnplugOutsideAGameOnlyReleases) {
    for (GameState state : {Menu, Paused, GameOver}) {
        pad() = mappedPad();
        frame(0.1, state);
        pad().buttons[PadDown] = true;
        EXPECT_EQ(frame(0.1, state), (Events{key(GLFW_KEY_S, GLFW_PRESS)}));
        pad().presence = PadReading::Presence::Absent;
        EXPECT_EQ(frame(0.1, state), (Events{key(GLFW_KEY_S, GLFW_RELEASE)})) << state;
    }
}

TEST_F(GamepadMappingTest, AConnectDuringAPauseSendsNothingUntilAPress) {
    pad() = PadReading();
    frame(0.1, Paused);
    ASSERT_EQ(mapping_.drivingSlot(), -1);
    // It arrives with Start and a direction already held: neither counts.
    pad() = mappedPad();
    pad().buttons[PadStart] = true;
    stick(0.0f, -1.0f);
    EXPECT_EQ(frame(0.1, Paused), Events{});
    EXPECT_EQ(mapping_.drivingSlot(), 0);
    EXPECT_EQ(frame(1.0, Paused), Events{});
    pad().buttons[PadStart] = false;
    stick(0.0f, 0.0f);
    EXPECT_EQ(frame(0.1, Paused), Events{});
    pad().buttons[PadStart] = true;
    EXPECT_EQ(frame(0.1, Paused), (Events{key(GLFW_KEY_ESCAPE, GLFW_PRESS)}));
}

TEST_F(GamepadMappingTest, TheFirstPadDrivesAndAnotherTakesOverWhenItGoes) {
    pads_[3] = mappedPad();
    pads_[3].buttons[PadUp] = true;
    EXPECT_EQ(frame(), Events{});  // slot 3 is not the driving pad
    pad().buttons[PadUp] = true;
    EXPECT_EQ(frame(), (Events{key(GLFW_KEY_W, GLFW_PRESS)}));
    pad() = PadReading();
    EXPECT_EQ(frame(), (Events{key(GLFW_KEY_W, GLFW_RELEASE), key(GLFW_KEY_ESCAPE, GLFW_PRESS),
                               key(GLFW_KEY_ESCAPE, GLFW_RELEASE)}));
    EXPECT_EQ(mapping_.drivingSlot(), 3);
    pads_[3].buttons[PadUp] = false;
    pads_[3].buttons[PadStart] = true;
    EXPECT_EQ(frame(0.1, Paused), (Events{key(GLFW_KEY_ESCAPE, GLFW_PRESS)}));
}

TEST_F(GamepadMappingTest, APadWithoutAKnownLayoutIsIgnored) {
    pad() = PadReading();
    frame();
    pads_[1].presence = PadReading::Presence::Unmapped;
    pads_[1].buttons[PadSouth] = true;  // whatever it claims
    EXPECT_EQ(frame(), Events{});
    EXPECT_EQ(frame(), Events{});
    EXPECT_EQ(mapping_.drivingSlot(), -1);
}

constexpr GameState kScreens[] = {Menu, Playing, Paused, GameOver};

// The one mapping: what each control stands for on each screen.
TEST(ControlMapping, EachControlIsOneKeyOrClickOrNothingOnEachScreen) {
    const std::optional<ControlEvent> none;
    const ControlEvent leftClick = click(GLFW_PRESS);
    const ControlEvent escape = key(GLFW_KEY_ESCAPE, GLFW_PRESS);
    const ControlEvent w = key(GLFW_KEY_W, GLFW_PRESS);
    struct Row {
        Control control;
        std::optional<ControlEvent> onScreen[4];  // in kScreens order
    };
    const Row rows[] = {
        {Control::South, {leftClick, w, w, escape}},
        {Control::Start, {leftClick, escape, escape, escape}},
        {Control::Back, {escape, none, none, none}},
        {Control::Up, {w, w, w, w}},
        {Control::Down,
         {key(GLFW_KEY_S, GLFW_PRESS), key(GLFW_KEY_S, GLFW_PRESS), key(GLFW_KEY_S, GLFW_PRESS),
          key(GLFW_KEY_S, GLFW_PRESS)}},
        {Control::Left,
         {key(GLFW_KEY_A, GLFW_PRESS), key(GLFW_KEY_A, GLFW_PRESS), key(GLFW_KEY_A, GLFW_PRESS),
          key(GLFW_KEY_A, GLFW_PRESS)}},
        {Control::Right,
         {key(GLFW_KEY_D, GLFW_PRESS), key(GLFW_KEY_D, GLFW_PRESS), key(GLFW_KEY_D, GLFW_PRESS),
          key(GLFW_KEY_D, GLFW_PRESS)}},
        {Control::Gone, {none, escape, none, none}},
    };
    for (const Row& row : rows) {
        for (int screen = 0; screen < 4; ++screen) {
            EXPECT_EQ(controlPress(row.control, kScreens[screen]), row.onScreen[screen])
                << static_cast<int>(row.control) << " on screen " << kScreens[screen];
        }
    }
    EXPECT_EQ(releaseOf(leftClick), click(GLFW_RELEASE));
}

// A gesture is the press and release of the control it stands for; the
// page's buttons act only where they show.
TEST(TouchGestures, EachGestureIsItsControlTappedOnTheScreensThatShowIt) {
    const auto tapped = [](Control control, GameState state) {
        const std::optional<ControlEvent> press = controlPress(control, state);
        return press ? Events{*press, releaseOf(*press)} : Events{};
    };
    struct Row {
        const char* name;
        Control control;
        bool acts[4];  // in kScreens order
    };
    const Row rows[] = {
        {"tap", Control::South, {true, true, true, true}},
        {"swipe-up", Control::Up, {true, true, true, true}},
        {"swipe-down", Control::Down, {true, true, true, true}},
        {"swipe-left", Control::Left, {true, true, true, true}},
        {"swipe-right", Control::Right, {true, true, true, true}},
        {"pause-button", Control::Start, {false, true, true, false}},
        {"start-screen-button", Control::Start, {false, false, false, true}},
        {"page-hidden", Control::Gone, {true, true, true, true}},
    };
    for (const Row& row : rows) {
        const std::optional<TouchGesture> gesture = touchGestureNamed(row.name);
        ASSERT_TRUE(gesture) << row.name;
        for (int screen = 0; screen < 4; ++screen) {
            const Events expected =
                row.acts[screen] ? tapped(row.control, kScreens[screen]) : Events{};
            EXPECT_EQ(gestureEvents(*gesture, kScreens[screen]), expected)
                << row.name << " on screen " << kScreens[screen];
        }
    }
    EXPECT_FALSE(touchGestureNamed("Tap"));
    EXPECT_FALSE(touchGestureNamed(""));
    // On the game-over screen a tap leaves it, as the pad's South does.
    EXPECT_EQ(gestureEvents(TouchGesture::Tap, GameOver),
              (Events{key(GLFW_KEY_ESCAPE, GLFW_PRESS), key(GLFW_KEY_ESCAPE, GLFW_RELEASE)}));
    const std::string shown[] = {touchButtonShown(Menu), touchButtonShown(Playing),
                                 touchButtonShown(Paused), touchButtonShown(GameOver)};
    EXPECT_EQ(shown[0], "");
    EXPECT_EQ(shown[1], "pause");
    EXPECT_EQ(shown[2], "resume");
    EXPECT_EQ(shown[3], "start-screen");
}

TEST(PlatformPad, ASlotOutsideTheRangeIsAbsentWithoutAskingGlfw) {
    // GLFW is not even initialised: asking it about these would abort.
    for (int slot : {-1, kPadSlots, GLFW_JOYSTICK_LAST + 1, 1 << 20}) {
        EXPECT_EQ(readPlatformPad(slot).presence, PadReading::Presence::Absent) << slot;
    }
}

}  // namespace

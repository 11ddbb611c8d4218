// Gamepads as the keyboard and mouse they stand for.
//
// Each frame the pads' states (framework/platform.h) go in and the key and
// click events they mean come out; the caller delivers those through the
// game's own input callbacks, so the commentary is the keyboard's and a
// recording holds plain key and click events. The mapping is pure logic on
// states and times (no GLFW calls), the same in both builds, so it is
// tested frame by frame:
// - the d-pad and the left stick are W, S, A and D: one direction at a time
//   (the larger stick axis decides), pressed when the stick leaves the dead
//   zone, repeated while held at the keyboard's delay and rate, released
//   back in the centre;
// - South, Start and Back mean what view/control_mapping.h makes of them on
//   the screen of the press; a release ends what its press sent;
// - the first pad connected drives; when it goes, whatever it held is
//   released and it counts as gone (a game in play pauses); a pad connects
//   with its controls at rest, so whatever it holds then waits for a new
//   press.
#pragma once

#include <vector>

#include "framework/platform.h"
#include "game/game_state.h"
#include "view/control_mapping.h"

// The keyboard's timing, as X servers repeat a held key.
constexpr double kPadRepeatDelay = 0.66;     // seconds from the press to the first repeat
constexpr double kPadRepeatInterval = 0.04;  // seconds between repeats (25 per second)
// The stick presses a direction beyond this (on its larger axis) and holds
// it while that direction's own component stays beyond kStickRelease.
constexpr float kStickDeadZone = 0.5f;
constexpr float kStickRelease = 0.35f;

class GamepadMapping {
  public:
    // One frame: `pads` holds every slot's reading (index = slot), `now` is
    // the clock in seconds, `state` the screen state the events will meet.
    std::vector<ControlEvent> update(const std::vector<PadReading>& pads, double now,
                                     GameState state);

    // The slot of the pad that drives, or -1.
    int drivingSlot() const { return slot_; }

  private:
    enum Direction { None = -1, Forward, Back, Left, Right };

    void connect(int slot, const PadReading& pad);
    void disconnect(GameState state, std::vector<ControlEvent>& events);
    void updateButtons(const PadReading& pad, GameState state, std::vector<ControlEvent>& events);
    void updateDirection(const PadReading& pad, double now, GameState state,
                         std::vector<ControlEvent>& events);
    Direction wantedDirection(const PadReading& pad) const;

    int slot_ = -1;
    // Per button: held as of the last frame; whether its press sent an
    // event, and which (its release sends the same with GLFW_RELEASE). A
    // button held since the connect sent nothing and waits for a new press.
    bool down_[PadButtonCount] = {};
    bool sent_[PadButtonCount] = {};
    ControlEvent pressed_[PadButtonCount];
    Direction held_ = None;        // as of the last frame
    bool directionSent_ = false;   // its press was sent (not held since the connect)
    ControlEvent directionPress_;  // what held_'s press sent, when directionSent_
    double nextRepeat_ = 0.0;      // clock time of the next repeat of held_
};

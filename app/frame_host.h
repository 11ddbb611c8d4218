// Where a run's frames go and its live input comes from: the game's window,
// or no window at all.
//
// The frame loop and the frame input ask this object, at the points where
// they would otherwise ask the window system, for the clock, the event
// poll, the cursor, the pads, the close flag and the buffer swap. The
// window answers through GLFW (app/window_host.cpp). No window is the
// referee's side: a replay checked from its file alone, with no display,
// no OpenGL and no sound; it has no live input, draws nothing and ends when
// the recorded frames do. Either way the rules run through the same loop,
// callbacks and steps, so a checked run cannot drift from a played one.
#pragma once

#include <memory>

#include "framework/platform.h"
#include "game/game_state.h"
#include "replay/replay_format.h"

struct GLFWwindow;

// Takes every live event in place of the game's own callbacks, while a run
// is recorded or replayed (app/frame_input.h).
class LiveEventSink {
  public:
    virtual ~LiveEventSink() = default;
    virtual void onLiveEvent(const InputEvent& event) = 0;
};

class FrameHost {
  public:
    virtual ~FrameHost() = default;

    // Whether frames are drawn: without a picture there is no context, and
    // no OpenGL call may be made.
    virtual bool draws() const = 0;
    // The window the callbacks are called with; null without one.
    virtual GLFWwindow* window() const = 0;
    virtual double now() = 0;  // seconds on the host's clock
    // Runs the live input callbacks (or hands the events to the sink).
    virtual void pollEvents() = 0;
    virtual CursorPosition cursor() = 0;  // window pixels, truncated
    virtual PadReading pad(int slot) = 0;
    virtual bool closeRequested() const = 0;  // the window was asked to close
    virtual void requestClose() = 0;
    virtual void swapBuffers() = 0;
    // From now on, live events go to `sink` (which must outlive the host's use).
    virtual void forwardEventsTo(LiveEventSink& sink) = 0;
    // Swaps never wait for the display again (a timedemo).
    virtual void stopWaitingForTheDisplay() = 0;

    // The run ends before its next frame: the window asked to close, or Esc
    // on the start screen.
    bool closing() const { return quitRequested || closeRequested(); }
};

// The game's window: GLFW's clock, events, cursor, pads and swap.
std::unique_ptr<FrameHost> makeWindowHost(GLFWwindow* window);
// No window: no live input, nothing drawn, a close flag of its own.
std::unique_ptr<FrameHost> makeNoWindowHost();

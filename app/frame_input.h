// Where a frame's input and time come from: the live window, or a replay,
// and whether they are recorded.
//
// The frame loop asks this object, at the points where it used to ask GLFW,
// for the frame's events (the poll), the cursor the camera reads and the
// frame time. Live, that is GLFW itself. Replaying, the recorded events go
// through the game's own input callbacks in the recorded order and the
// recorded frame times replace the clock; live keyboard and mouse input is
// dropped while recorded frames remain (a close request still counts), and
// when they run out the game goes on live. Recording writes down whatever
// the game received, live or replayed, so a replay can itself be recorded.
// The callbacks stay the game's free functions: only when recording or
// replaying are they reached through small forwarding callbacks installed
// here. Gamepads and then the page's touch gestures are read in the poll
// too, after GLFW's events: the key and click events they stand for
// (view/gamepad_mapping.h, view/touch_gestures.h) count as live events like
// any other, so they are recorded, and dropped while a replay has recorded
// frames left.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "app/frame_step.h"
#include "framework/platform.h"
#include "replay/replay_file.h"
#include "replay/replay_format.h"
#include "view/gamepad_mapping.h"

struct GLFWwindow;

struct ReplaySource {
    std::string name;  // the file, as named on the command line
    Replay replay;
    bool timedemo = false;  // play as fast as possible, report the frame times, then stop
};

class FrameInput {
  public:
    // Live input when `source` is empty; recorded to `recorder` when given.
    FrameInput(GLFWwindow* window, std::optional<ReplaySource> source, ReplayRecorder* recorder);
    FrameInput(const FrameInput&) = delete;
    FrameInput& operator=(const FrameInput&) = delete;

    // This frame's event poll: the input callbacks run inside it.
    void poll();
    // The cursor position the camera reads in a game frame.
    CursorPosition cursor();
    // Sets this game frame's deltaTime (and the river time) on `clock`.
    void measureFrameTime(FrameClock& clock);
    // Whether a headless run writes its screenshot in this frame: the first
    // game frame live, the last recorded frame in a replay.
    bool isScreenshotFrame(bool gameFrame) const;
    // Ends the frame. False when the run should stop now: a timedemo or a
    // headless replay whose recorded frames are used up.
    bool endFrame(bool gameFrame);
    // After the loop: the recording's closing line, the timedemo's report.
    void finish();

    // A live event from GLFW's callbacks (only installed when needed).
    void onLiveEvent(const InputEvent& event);

  private:
    bool replaying() const { return source_ && next_ < source_->replay.frames.size(); }
    void deliver(const InputEvent& event);
    void deliverLiveEvents();  // the held live events, in order, then none
    void pollPads();
    void pollGestures();  // the page's touch gestures, after the pads
    void takeControlEvents(const std::vector<ControlEvent>& events);  // as live events
    void stopReplaying(const std::string& reason);
    void record(const std::string& line) const;

    GLFWwindow* window_;
    std::optional<ReplaySource> source_;
    ReplayRecorder* recorder_;  // null when not recording
    std::size_t next_ = 0;      // index of the recorded frame being played
    std::size_t frameCount_ = 0;
    CursorPosition replayCursor_;                    // as of the last recorded "c" line
    std::optional<CursorPosition> recordedCursor_;   // as last written to the recording
    std::optional<float> takeOverTime_;              // glfwGetTime when the replay ended
    std::chrono::steady_clock::time_point started_;  // timedemo: loop start
    std::chrono::steady_clock::time_point lastFrameEnd_;
    std::vector<double> frameMilliseconds_;  // timedemo: wall time of each frame
    std::vector<InputEvent> liveEvents_;     // arrived since the last poll, in order
    GamepadMapping pads_;
    std::vector<PadReading> padReadings_ = std::vector<PadReading>(kPadSlots);
};

// The timedemo's closing line for the given wall times of its frames.
std::string timedemoReport(const std::vector<double>& frameMilliseconds, double seconds);

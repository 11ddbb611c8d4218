// Where a frame's input and time come from: the live window, or a replay,
// and whether they are recorded.
//
// The frame loop asks this object for the frame's events (the poll), the
// cursor the camera reads and the frame time. Live, they come from the
// frame host (the window; app/frame_host.h). Replaying, the recorded events go
// through the game's own input callbacks in the recorded order and the
// recorded frame times replace the clock; live keyboard and mouse input is
// dropped while recorded frames remain (a close request still counts), and
// when they run out the game goes on live. Recording writes down whatever
// the game received, live or replayed, so a replay can itself be recorded.
// The callbacks stay the game's free functions: only when recording or
// replaying does the host forward live events here instead. A replay is
// watched at the pace it was recorded (each game frame no earlier than its
// recorded times add up to), timed as fast as possible, or checked with no
// window, where it simply ends with its frames. Gamepads are read in the poll too, after GLFW's
// events: the key and click events they stand for (view/gamepad_mapping.h) count as live events
// like any other, so they are recorded, and dropped while a replay has recorded frames left.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "app/frame_host.h"
#include "app/frame_step.h"
#include "framework/platform.h"
#include "replay/replay_file.h"
#include "replay/replay_format.h"
#include "view/gamepad_mapping.h"

enum class ReplayMode {
    Watch,     // at the recorded pace, then live
    Timedemo,  // as fast as possible, report the frame times, then stop
    Verify,    // no window: as fast as possible, stop with the frames
};

struct ReplaySource {
    std::string name;  // the file, as named on the command line
    Replay replay;
    ReplayMode mode = ReplayMode::Watch;
    // Watch only: hold each game frame until its recorded time. Off for a
    // headless replay, which nobody sees or hears before its screenshot.
    bool paced = true;
};

class FrameInput : public LiveEventSink {
  public:
    // Live input when `source` is empty; recorded to `recorder` when given.
    FrameInput(FrameHost& host, std::optional<ReplaySource> source, ReplayRecorder* recorder);
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
    // Host-clock seconds before which the next frame may not be shown (a
    // watched replay's next timed game frame), or none.
    std::optional<double> dueTime() const;
    // Ends the frame. False when the run should stop now: a timedemo, a
    // checked replay or a headless replay whose recorded frames are used up
    // (or out of step, but for a watched one).
    bool endFrame(bool gameFrame);
    // Whether the replay played to its end without falling out of step.
    bool inStep() const { return inStep_; }
    // After the loop: the recording's closing line, the timedemo's report.
    void finish();

    // A live event from the host (only forwarded when needed).
    void onLiveEvent(const InputEvent& event) override;

  private:
    bool replaying() const { return source_ && next_ < source_->replay.frames.size(); }
    void deliver(const InputEvent& event);
    void deliverLiveEvents();  // the held live events, in order, then none
    void pollPads();
    void stopReplaying(const std::string& reason);
    void record(const std::string& line) const;
    bool stopsWithTheFrames() const { return source_->mode != ReplayMode::Watch; }
    void pace(const RecordedFrame& frame);

    FrameHost& host_;
    std::optional<ReplaySource> source_;
    ReplayRecorder* recorder_;  // null when not recording
    std::size_t next_ = 0;      // index of the recorded frame being played
    std::size_t frameCount_ = 0;
    CursorPosition replayCursor_;                   // as of the last recorded "c" line
    std::optional<CursorPosition> recordedCursor_;  // as last written to the recording
    std::optional<float> takeOverTime_;             // host clock when the replay ended
    float measuredTime_ = 0.0f;  // this game frame's time, paused or not, seconds
    bool inStep_ = true;
    double paceStart_ = 0.0;  // host clock at the last frame without a recorded time
    double paceSum_ = 0.0;    // recorded seconds of the timed frames since
    std::chrono::steady_clock::time_point started_;  // timedemo: loop start
    std::chrono::steady_clock::time_point lastFrameEnd_;
    std::vector<double> frameMilliseconds_;  // timedemo: wall time of each frame
    std::vector<InputEvent> liveEvents_;     // arrived since the last poll, in order
    GamepadMapping pads_;
    std::vector<PadReading> padReadings_ = std::vector<PadReading>(kPadSlots);
};

// The timedemo's closing line for the given wall times of its frames.
std::string timedemoReport(const std::vector<double>& frameMilliseconds, double seconds);

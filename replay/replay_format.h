// The replay file: what a run's course depends on, as versioned text lines.
//
// A recording holds the world seed, the settings that shape play and
// picture, and per frame every input event of that frame's poll, the cursor
// position the camera read (only when it changed) and the frame time the
// game used. Floats are stored as their bit patterns in hex, so a replay
// uses exactly the recorded values. Every line stands alone, so a file can
// be written as the run goes and still be read when the run was killed: the
// closing line tells a finished recording from a cut-off one. The format is
// documented in docs/replays.md; this module holds the values and writes
// them as lines (replay/replay_reader.h reads them back), with no GLFW or
// file access, so it can be tested and fuzzed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/settings_types.h"

// Bumped whenever a line changes meaning; a reader refuses other versions.
constexpr int kReplayFormatVersion = 1;
constexpr const char* kReplayMagic = "QUORLAND-REPLAY";

// One event of a frame's poll, in the order the poll delivered it.
struct InputEvent {
    enum class Kind { Key, MouseButton, Scroll, FramebufferSize, Close };
    Kind kind = Kind::Close;
    int key = 0;  // Key: GLFW key code, scancode, action, modifier bits
    int scancode = 0;
    int action = 0;        // Key and MouseButton
    int mods = 0;          // Key and MouseButton
    int button = 0;        // MouseButton
    double xOffset = 0.0;  // Scroll
    double yOffset = 0.0;
    int width = 0;  // FramebufferSize, pixels
    int height = 0;

    bool operator==(const InputEvent& other) const;
};

// The events as GLFW's callbacks give them.
InputEvent keyEvent(int key, int scancode, int action, int mods);
InputEvent mouseButtonEvent(int button, int action, int mods);
InputEvent scrollEvent(double xOffset, double yOffset);
InputEvent framebufferSizeEvent(int width, int height);
InputEvent closeEvent();

// The cursor as the camera reads it: window pixels, truncated toward zero.
struct CursorPosition {
    int x = 0;
    int y = 0;
    bool operator==(const CursorPosition& other) const { return x == other.x && y == other.y; }
    bool operator!=(const CursorPosition& other) const { return !(*this == other); }
};

struct RecordedFrame {
    std::vector<InputEvent> events;
    bool gameFrame = false;                // false: a start-screen frame (no time, no cursor)
    std::optional<CursorPosition> cursor;  // game frames: set when the cursor moved
    float deltaTime = 0.0f;                // game frames: seconds, as the game used it
};

// The start of a recording: everything read before the first frame.
struct ReplayHeader {
    std::string gameVersion;
    std::uint32_t seed = 0;
    WindowSettings window;
    CameraSettings camera;
    RendererSettings renderer;
    std::vector<std::string> missingSettings;  // settings files not found, paths as given
};

struct Replay {
    ReplayHeader header;
    std::vector<RecordedFrame> frames;
    bool finished = false;  // the closing line was there
};

// Text fields (a title, a path) keep the bytes 0x21 to 0x7e except '%';
// every other byte becomes '%' and two upper-case hex digits.
std::string escapeReplayText(const std::string& text);

// The lines a recorder writes, each ended with a line feed.
std::string formatReplayHeader(const ReplayHeader& header);
std::string formatInputEvent(const InputEvent& event);
std::string formatCursor(const CursorPosition& cursor);
std::string formatFrameEnd(const RecordedFrame& frame);
std::string formatReplayEnd(std::size_t frameCount);

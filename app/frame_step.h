// The parts of a game frame that are plain arithmetic: frame timing and the
// drift of a log, kept apart from the drawing so they can be tested alone.
#pragma once

// A log is put back at the other side once it passes this x (world units).
constexpr float kLogWrapX = 55.0f;

// x after one frame of drift, wrapped: past +55 (strictly) it goes to -55,
// past -55 to +55 - not by the distance it overshot.
float driftLogX(float x, float direction, float speed, float frameSeconds);

// Moves every log of the world by one frame of drift (its translation's x),
// in list order; a game frame does this after the camera update.
void driftLogs(float frameSeconds);

// Game-frame time. Time is measured only in game frames, so the first frame
// after a stay on the start screen spans the whole stay.
struct FrameClock {
    float lastFrameTime = 0.0f;  // host clock at the end of the previous game frame, seconds
    float riverTime = 0.0f;      // sum of all frame times, seconds; drives the water
    float frameTime = 0.0f;      // the last game frame's time, paused or not, seconds

    // Sets deltaTime to the time since the previous game frame (0 while
    // paused) and advances the river time by it.
    void endGameFrame(float now);
    // Uses `seconds` (a replay's recorded frame time) as this frame's
    // deltaTime, 0 while paused as always, and advances the river time by it.
    // Either way, frameTime keeps the time the frame took.
    void useFrameTime(float seconds);
};

// The platform boundary: the few things the desktop and the browser do
// differently, behind one small interface.
//
// Everything else in the game is the same code on both. Exactly one
// implementation is linked: framework/platform_desktop.cpp in the desktop
// build, the modules of web/*.cpp in the browser build. The browser build adds
// two stand-in headers of its own (web/include/GL/glew.h for what GLEW would
// report on WebGL 2, web/include/INIReader.h for the settings reader), so
// that the code that includes them stays unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Full path of the running executable, or "" when the platform cannot say or
// the path needs `bufferSize` characters or more (it may have been cut).
std::string runningExecutablePath(std::size_t bufferSize);

// Runs `iteration` once per frame until it returns false. The desktop loops
// here and returns; the browser hands the iteration to its animation frames
// and this call does not return (the caller's locals stay alive for them).
void runPlatformLoop(const std::function<bool()>& iteration);

// Waits `seconds` before the next frame, when the platform can: the desktop
// sleeps and returns true; the page cannot hold its thread and returns false
// at once, and the frame is tried again at the next animation frame.
bool platformSleep(double seconds);

// The shader text the platform's OpenGL takes, made from a desktop GLSL
// source: the same text on the desktop, GLSL ES 3.00 in the browser.
std::string platformShaderSource(const std::string& desktopSource);

// Whether block-compressed texture levels can be uploaded as they are and
// mip-mapped by OpenGL; when not, they are decoded to RGBA first.
bool platformTakesCompressedTextures();

// Gamepads. The platform reads a pad's state in the layout the game uses;
// view/gamepad_mapping.h turns it into the key and click events it stands
// for. The desktop asks GLFW's gamepad API (its built-in mappings); the
// browser asks the joystick API on the browser's "standard" layout.

// Pad slots 0 ... kPadSlots - 1, each a GLFW joystick id on both platforms;
// a slot outside them never reaches GLFW (which aborts on an id beyond its
// last).
constexpr int kPadSlots = 16;
constexpr bool isPadSlot(int slot) {
    return slot >= 0 && slot < kPadSlots;
}

// The controls the game uses, in the order of PadReading::buttons.
enum PadButton : int {
    PadSouth = 0,  // A / Cross
    PadBack,       // Back / Select
    PadStart,
    PadUp,  // the d-pad
    PadDown,
    PadLeft,
    PadRight,
    PadButtonCount
};

struct PadReading {
    enum class Presence { Absent, Unmapped, Mapped };
    Presence presence = Presence::Absent;  // Unmapped: present, but its layout is unknown
    bool buttons[PadButtonCount] = {};     // held; all false unless Mapped
    float stickX = 0.0f;                   // left stick, -1 (left) ... 1 (right)
    float stickY = 0.0f;                   // left stick, -1 (pushed away) ... 1 (pulled back)
};

// The pad in `slot` as of the last event poll; Absent outside 0 ... kPadSlots - 1.
PadReading readPlatformPad(int slot);

// Touch. The browser's page reports what a finger did on the canvas and its
// touch buttons, and when the page was hidden; the game queues these and
// turns them into key and click events in the frame's poll
// (view/touch_gestures.h). Touch is not a pad slot.
enum class TouchGesture {
    Tap,
    SwipeUp,  // away from the player holding the phone
    SwipeDown,
    SwipeLeft,
    SwipeRight,
    PauseButton,        // the page's Pause / Resume button
    StartScreenButton,  // the page's button back to the start screen
    PageHidden,         // another tab, a locked phone
};

// The gestures reported since the last call, oldest first; none on the desktop.
std::vector<TouchGesture> takePlatformGestures();

// The window size a run asks for in place of the window settings', in
// pixels: the page's canvas on a phone held upright. None on the desktop,
// and none when the page leaves the size to the settings. A replay keeps
// its recorded size whatever this says.
struct PlatformWindowSize {
    int width = 0;
    int height = 0;
};
std::optional<PlatformWindowSize> platformStartWindowSize();

// Sound. OpenAL is the same API on both platforms (OpenAL Soft on the
// desktop, the toolchain's OpenAL on Web Audio in the browser); what differs
// is kept here.

// Called before the first OpenAL call: the sound libraries say nothing on
// the terminal (a machine without a sound device is normal, not news). The
// desktop turns OpenAL Soft's log off (unless the player has set its log
// level) and gives ALSA an error handler that drops its messages.
void platformQuietSoundLibraries();

// Whether the player has silenced the sound for now: the page's mute button
// in the browser; never on the desktop (--mute opens no device there).
bool platformSoundMuted();

// Runs and stops. The desktop plays one run per process; the page may play
// several in turn (a replay it is given ends the run in progress and starts
// its own), and has no console input to wait on.

// The command line of the next run. The first call gets the program's own
// `arguments` and leaves them as they are on the desktop (true); the page
// may put a replay in their place and adds its recording. Later calls come
// after a run has ended: false on the desktop; the page reports the end and
// waits until it is given a replay.
bool platformNextRun(std::vector<std::string>& arguments);

// The player's bests. The desktop keeps them as files in the player's
// folder (bests/best_store.h); the page keeps them in the browser's own
// storage and writes no file. A game that ended and is to be weighed:
struct PlatformBestGame {
    int score = 0;           // points
    std::uint32_t seed = 0;  // the world's
    std::string when;        // UTC, "2026-12-09T13:06:48Z"
    std::string ending;      // "river", "carried", "ended" or "unfinished"
    int index = 0;           // the game's place in the recording's games, from 0
    bool chosenCourse = false;
};
// True when the platform took `game` with `recording` (the run up to the
// game's end, none when too long to keep) into its own keeping: the page
// does; the desktop returns false and the game weighs it in its folder.
bool platformKeepBest(const PlatformBestGame& game, const std::optional<std::string>& recording);

// A fatal path's stop after its `message` (its lines, "\n" between them) is
// printed: the desktop waits until one character can be read from standard
// input; the page shows the message and returns at once.
void platformWaitAfterFatal(const std::string& message);

// A gamepad end to end: the real binary finds a pad through GLFW (a fake
// evdev device preloaded into it, tests/fake_gamepad/) and is played with
// it; the course for a fixed seed prints exactly what the same moves print
// from the keyboard, and the recording of the pad game replays to it.
#include <fcntl.h>
#include <linux/input.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "support/game_session.h"
#include "support/scratch_folder.h"

namespace {

using Lines = std::vector<std::string>;

// A course whose rows at z = 0 and z = 1 are ground, so that the hops below
// land the same whatever the frame times.
const std::string kSeed = "7";
// What the four hops below print there.
const Lines kFourHops = {"jumping now from: (-0, 0, 0) to: (-0, 0, 1)",
                         "player at : (-0, 0, 1)",
                         "Score: 1",
                         "jumping now from: (-0, 0, 1) to: (1, 0, 1)",
                         "player at : (1, 0, 1)",
                         "jumping now from: (1, 0, 1) to: (-0, 0, 1)",
                         "player at : (-0, 0, 1)",
                         "jumping now from: (-0, 0, 1) to: (-0, 0, 0)",
                         "player at : (-0, 0, 0)"};

bool showsMenu(const PpmImage& image) {
    return pixelIs(image, 5, 5, kMenuPixel);
}
bool showsSky(const PpmImage& image) {
    return pixelIs(image, 5, 5, kSkyPixel);
}

// The pad's side of the named pipe the preloaded device reads from.
class FakePad {
  public:
    FakePad() : folder_(ScratchFolder::inTemp()) {
        const std::string pipe = folder_.file("event0");
        if (mkfifo(pipe.c_str(), 0600) == 0) {
            // Read and write: opening never waits for the game, and the game
            // never sees the pipe's end.
            fd_ = open(pipe.c_str(), O_RDWR | O_NONBLOCK);
        }
    }
    ~FakePad() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    FakePad(const FakePad&) = delete;
    FakePad& operator=(const FakePad&) = delete;

    bool ok() const { return fd_ >= 0; }
    // The environment that gives the game this pad.
    std::vector<std::string> environment() const {
        return {std::string("LD_PRELOAD=") + FAKE_GAMEPAD_LIBRARY,
                "FAKE_GAMEPAD_DIR=" + folder_.path().string()};
    }
    // One change of a button (EV_KEY) or an axis (EV_ABS), then the report.
    void send(int type, int code, int value) const {
        write(static_cast<std::uint16_t>(type), static_cast<std::uint16_t>(code), value);
        write(EV_SYN, SYN_REPORT, 0);
    }

  private:
    void write(std::uint16_t type, std::uint16_t code, int value) const {
        input_event event{};
        event.type = type;
        event.code = code;
        event.value = value;
        EXPECT_EQ(::write(fd_, &event, sizeof event), static_cast<ssize_t>(sizeof event));
    }

    ScratchFolder folder_;
    int fd_ = -1;
};

// A move made on either device: `press` starts it, `release` ends it.
struct Move {
    std::string key;  // the keyboard's (xdotool) key
    int type;         // the pad's event type, code, pressed and rest values
    int code;
    int pressed;
    int rest;
};

// Forward (d-pad), right and left (stick), back (d-pad).
const Move kHops[] = {{"w", EV_ABS, ABS_HAT0Y, -1, 0},
                      {"d", EV_ABS, ABS_X, 32767, 0},
                      {"a", EV_ABS, ABS_X, -32768, 0},
                      {"s", EV_ABS, ABS_HAT0Y, 1, 0}};

class GamepadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(keyboard_.displayOk() && padSession_.displayOk()) << "Xvfb did not start";
        ASSERT_TRUE(pad_.ok()) << "no pipe for the pad";
    }

    // Waits for what a hop attempt prints first: its start or the tree in
    // the way. True when it is a hop, which is then waited for to land.
    static void waitForHopStart(ChildProcess& game) {
        for (;;) {
            const std::optional<std::string> line = game.waitForLineStartingWith("", 30s);
            ASSERT_TRUE(line) << "the move did nothing";
            if (line->rfind("Blocked by tree at (", 0) == 0) {
                return;
            }
            if (line->rfind("jumping now from: (", 0) == 0) {
                ASSERT_TRUE(game.waitForLineStartingWith("player at : (", 30s));
                return;
            }
        }
    }

    // A capture equal to one taken a second before it (a loaded machine
    // may take a few frames to show the pause), or nothing.
    static std::optional<PpmImage> stillScreen(const GameSession& session) {
        std::optional<PpmImage> previous = session.captureScreen();
        for (int attempt = 0; attempt < 30 && previous; ++attempt) {
            std::this_thread::sleep_for(1s);
            std::optional<PpmImage> current = session.captureScreen();
            if (current && current->rgb == previous->rgb) {
                return current;
            }
            previous = std::move(current);
        }
        return std::nullopt;
    }

    // Reads past every line printed so far.
    static void skipPrintedLines(ChildProcess& game) {
        while (game.waitForLineStartingWith("", 300ms)) {
        }
    }

    GameSession keyboard_;
    GameSession padSession_;
    FakePad pad_;
};

TEST_F(GamepadTest, APadPlaysTheKeyboardsGameAndItsRecordingReplays) {
    // The keyboard: start, four hops, pause and resume, the debug game over,
    // back to the start screen and quit.
    ASSERT_TRUE(keyboard_.start({"--seed", kSeed}));
    ASSERT_TRUE(keyboard_.waitForScreen(showsMenu, 30s));
    keyboard_.click();
    ASSERT_TRUE(keyboard_.waitForScreen(showsSky, 30s));
    for (const Move& hop : kHops) {
        keyboard_.key(hop.key);
        waitForHopStart(keyboard_.game());
    }
    for (const char* key : {"Escape", "Escape", "c", "k", "Escape", "Escape"}) {
        keyboard_.key(key);
    }
    ASSERT_EQ(keyboard_.game().waitForExit(60s), 0);
    // The page's tests expect these lines for the same moves (web/touch_test.py).
    const Lines& played = keyboard_.game().lines();
    const auto firstHop = std::find(played.begin(), played.end(), kFourHops.front());
    ASSERT_GE(played.end() - firstHop, static_cast<long>(kFourHops.size()));
    EXPECT_EQ(Lines(firstHop, firstHop + static_cast<long>(kFourHops.size())), kFourHops);

    // The pad, with the debug keys still on the keyboard; recorded.
    const std::string recording = padSession_.sandbox().workingDirectory() + "/pad.replay";
    ASSERT_TRUE(padSession_.start({"--seed", kSeed, "--record", recording}, pad_.environment()));
    ChildProcess& game = padSession_.game();
    ASSERT_TRUE(padSession_.waitForScreen(showsMenu, 30s));
    pad_.send(EV_KEY, BTN_A, 1);  // South starts
    ASSERT_TRUE(padSession_.waitForScreen(showsSky, 30s)) << "South should start a game";
    pad_.send(EV_KEY, BTN_A, 0);
    for (const Move& hop : kHops) {
        skipPrintedLines(game);  // a landing may still have its score line to come
        // Released as soon as the game took it: held longer, it would repeat.
        pad_.send(hop.type, hop.code, hop.pressed);
        const std::optional<std::string> first = game.waitForLineStartingWith("", 30s);
        pad_.send(hop.type, hop.code, hop.rest);
        ASSERT_TRUE(first) << "no hop from the pad's " << hop.key;
        if (first->rfind("jumping now from: (", 0) == 0) {
            ASSERT_TRUE(game.waitForLineStartingWith("player at : (", 30s));
        }
    }
    // Buttons are held until the game shows it took them: the pad is read
    // once a frame, and frames are slow here.
    pad_.send(EV_KEY, BTN_START, 1);  // Start pauses: the picture comes to a stop
    const std::optional<PpmImage> paused = stillScreen(padSession_);
    pad_.send(EV_KEY, BTN_START, 0);
    ASSERT_TRUE(paused) << "Start should pause the game";
    std::this_thread::sleep_for(2s);  // a frame to see Start released
    pad_.send(EV_KEY, BTN_START, 1);  // and resumes it
    ASSERT_TRUE(padSession_.waitForScreen(
        [&paused](const PpmImage& image) { return image.rgb != paused->rgb; }, 30s))
        << "Start again should resume the game";
    pad_.send(EV_KEY, BTN_START, 0);
    padSession_.key("c");
    padSession_.key("k");
    pad_.send(EV_KEY, BTN_A, 1);  // South leaves the game-over screen
    ASSERT_TRUE(padSession_.waitForScreen(showsMenu, 30s)) << "South should show the start screen";
    pad_.send(EV_KEY, BTN_A, 0);
    std::this_thread::sleep_for(2s);   // a frame to see South released
    pad_.send(EV_KEY, BTN_SELECT, 1);  // Back quits
    ASSERT_EQ(game.waitForExit(60s), 0) << "Back on the start screen should quit";
    EXPECT_EQ(game.lines(), keyboard_.game().lines());

    // The recording holds the pad's game as key and click events: it plays
    // back to the same lines, while the pad, still there and hopping
    // forward and back all along, is ignored as long as the replay lasts.
    ChildProcess replay({padSession_.sandbox().binary(), "--replay", recording},
                        padSession_.sandbox().workingDirectory(), padSession_.displayName(),
                        pad_.environment());
    std::atomic<bool> replaying{true};
    std::thread mashing([this, &replaying] {
        for (int value = -1; replaying; value = value == -1 ? 1 : -1) {
            pad_.send(EV_ABS, ABS_HAT0Y, value);
            std::this_thread::sleep_for(150ms);
            pad_.send(EV_ABS, ABS_HAT0Y, 0);
            std::this_thread::sleep_for(150ms);
        }
    });
    const std::optional<int> code = replay.waitForExit(120s);
    replaying = false;
    mashing.join();
    ASSERT_EQ(code, 0);
    EXPECT_EQ(replay.lines(), game.lines());
}

}  // namespace

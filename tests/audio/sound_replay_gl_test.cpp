// The golden replays heard through OpenAL Soft's loopback device: the real
// frame loop plays each one with the game's sound listening, and every frame
// renders as much sound as the frame lasted. A sound must start in every
// frame whose console lines announce a hop, a landing, a point or a splash,
// and in the frames where the screen changes state (the click that starts
// the game, the end of the sinking, pause and resume), at that frame's first
// sample; nowhere else may one start. Each frame's sound is rendered when the
// loop hands the frame's events over, right after the rules ran.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <sstream>

#include "app/frame_loop.h"
#include "audio/game_sound.h"
#include "game/game_state.h"
#include "game/world.h"
#include "replay/replay_file.h"
#include "support/console_capture.h"
#include "support/game_globals.h"
#include "support/gl_context.h"
#include "support/loopback_sound.h"
#include "support/scratch_folder.h"

namespace {

using Lines = std::vector<std::string>;

// What one frame said and how long it lasted in samples.
struct HeardFrame {
    std::size_t firstSample = 0;
    Lines lines;
    bool stateChanged = false;
};

// The game's listener, its sound rendered frame by frame, and what each
// frame printed.
class RecordingListener : public GameEventListener {
  public:
    RecordingListener(LoopbackSound& loopback, std::ostringstream& console)
        : loopback_(loopback), console_(console) {}

    void hear(const GameEventRecord& record) override {
        const EventSound sound = soundOf(record);
        loopback_.player().play(sound.effect, sound.pitch);
    }
    void endFrame() override {
        HeardFrame frame;
        frame.firstSample = loopback_.heard().size();
        std::istringstream lines(console_.str());
        for (std::string line; std::getline(lines, line);) {
            frame.lines.push_back(line);
        }
        console_.str("");
        frame.stateChanged = gameState != lastState_;
        lastState_ = gameState;
        frames.push_back(frame);
        // At least a tenth of a second (start-screen and paused frames take
        // no game time), so that the frame's sounds stand apart from the
        // next frame's.
        const float seconds = std::max(deltaTime, 0.1f);
        loopback_.render(static_cast<std::size_t>(seconds * LoopbackSound::kRate));
    }

    std::vector<HeardFrame> frames;

  private:
    LoopbackSound& loopback_;
    std::ostringstream& console_;
    GameState lastState_ = Menu;
};

bool announcesASound(const std::string& line) {
    for (const char* prefix :
         {"jumping now from: ", "player at : ", "Score: ", "You fell into the river..."}) {
        if (line.rfind(prefix, 0) == 0) {
            return true;
        }
    }
    return false;
}

Lines fileLines(const std::string& path) {
    std::istringstream text(readWholeFile(path));
    Lines lines;
    for (std::string line; std::getline(text, line);) {
        lines.push_back(line);
    }
    return lines;
}

class SoundReplayTest : public GlTest, public ::testing::WithParamInterface<const char*> {
  protected:
    void TearDown() override {
        // The replay's forwarding callbacks point at its input, now gone.
        glfwSetKeyCallback(window_, nullptr);
        glfwSetMouseButtonCallback(window_, nullptr);
        glfwSetScrollCallback(window_, nullptr);
        glfwSetFramebufferSizeCallback(window_, nullptr);
        glfwSetWindowCloseCallback(window_, nullptr);
        glfwSetWindowUserPointer(window_, nullptr);
        glfwSetWindowShouldClose(window_, GLFW_FALSE);
        resetGameGlobals();
    }
};

TEST_P(SoundReplayTest, SoundsStartExactlyInTheFramesThatAnnounceThem) {
    const std::string base = std::string(QUORLAND_SOURCE_DIR) + "/tests/replays/" + GetParam();
    resetGameGlobals();
    LoopbackSound loopback;
    ASSERT_TRUE(loopback.ok()) << "OpenAL Soft's loopback device is missing";
    std::ostringstream console;
    RecordingListener listener(loopback, console);
    ReplayLoad load = loadReplay(base + ".replay");
    ASSERT_TRUE(load.replay) << load.error;
    {
        std::streambuf* const saved = std::cout.rdbuf(console.rdbuf());
        Replay replay = std::move(*load.replay);
        setWorldSeed(replay.header.seed);
        std::unique_ptr<Scene> scene = buildScene(replay.header.camera);
        console.str("");
        const std::unique_ptr<FrameHost> host = makeWindowHost(window_);
        FrameInput input(*host, ReplaySource{base, std::move(replay), ReplayMode::Timedemo},
                         nullptr);
        runFrameLoop(*host, CommandLineOptions{}, *scene, input, &listener);
        releaseScene(scene);
        std::cout.rdbuf(saved);
    }
    // The run is the golden one: its lines after the start-up are the transcript's.
    Lines played;
    for (const HeardFrame& frame : listener.frames) {
        played.insert(played.end(), frame.lines.begin(), frame.lines.end());
    }
    ASSERT_EQ(played, linesAfterStartup(fileLines(base + ".transcript")));

    const std::vector<std::size_t> onsets = loudnessOnsets(loopback.heard());
    std::size_t next = 0;
    int announced = 0;
    for (std::size_t f = 0; f < listener.frames.size(); ++f) {
        const HeardFrame& frame = listener.frames[f];
        const std::size_t end = f + 1 < listener.frames.size() ? listener.frames[f + 1].firstSample
                                                               : loopback.heard().size();
        const bool expected = frame.stateChanged ||
                              std::any_of(frame.lines.begin(), frame.lines.end(), announcesASound);
        std::vector<std::size_t> here;
        // The detector may place a start up to a window early.
        for (; next < onsets.size() && onsets[next] + 64 < end; ++next) {
            here.push_back(onsets[next]);
        }
        if (!expected) {
            EXPECT_TRUE(here.empty()) << "frame " << f << ": a sound at sample " << here.front();
            continue;
        }
        announced += frame.lines.empty() ? 0 : 1;
        ASSERT_EQ(here.size(), 1u) << "frame " << f << " (from sample " << frame.firstSample << ")";
        // At the frame's first sample, within the detector's window.
        EXPECT_GE(here.front() + 64, frame.firstSample) << "frame " << f;
        EXPECT_LE(here.front(), frame.firstSample + 64) << "frame " << f;
        EXPECT_GT(energyOf(loopback.heard(), frame.firstSample, frame.firstSample + 4800), 1.0)
            << "frame " << f;
    }
    EXPECT_GT(announced, 2);
}

INSTANTIATE_TEST_SUITE_P(Goldens, SoundReplayTest, ::testing::Values("fall", "log_ride"),
                         [](const ::testing::TestParamInfo<const char*>& golden) {
                             return std::string(golden.param);
                         });

}  // namespace

// Replays end to end: the golden games in tests/replays/ play back to their
// transcripts and final frames, a game recorded with real key presses plays
// back (and times) to the same transcript, and bad files stop the game
// before any window opens.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "replay/replay_format.h"
#include "support/console_capture.h"
#include "support/game_session.h"
#include "support/scratch_folder.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kBanner = ":::::: WELCOME TO QUORLAND ::::::";

std::string goldenPath(const std::string& name, const std::string& extension) {
    return std::string(QUORLAND_SOURCE_DIR) + "/tests/replays/" + name + extension;
}

Lines linesOf(const std::string& text) {
    Lines lines;
    std::size_t start = 0;
    for (std::size_t feed; (feed = text.find('\n', start)) != std::string::npos; start = feed + 1) {
        lines.push_back(text.substr(start, feed - start));
    }
    return lines;
}

// The share of pixels whose colour differs by more than a little in any channel.
double differingShare(const PpmImage& a, const PpmImage& b) {
    std::size_t differing = 0;
    for (std::size_t i = 0; i + 2 < a.rgb.size(); i += 3) {
        for (std::size_t c = 0; c < 3; ++c) {
            if (std::abs(static_cast<int>(a.rgb[i + c]) - static_cast<int>(b.rgb[i + c])) > 24) {
                ++differing;
                break;
            }
        }
    }
    return static_cast<double>(differing) / static_cast<double>(a.rgb.size() / 3);
}

class ReplayTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(display_.ok()) << "Xvfb did not start"; }

    std::unique_ptr<ChildProcess> startGame(const std::vector<std::string>& arguments,
                                            const std::string& display) {
        std::vector<std::string> argv{sandbox_.binary()};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return std::make_unique<ChildProcess>(argv, sandbox_.workingDirectory(), display);
    }

    // The lines the game printed with `arguments`, once it exited with 0.
    std::optional<Lines> linesOfCleanExit(const std::vector<std::string>& arguments,
                                          const std::string& display,
                                          std::chrono::seconds timeout) {
        std::unique_ptr<ChildProcess> game = startGame(arguments, display);
        const std::optional<int> code = game->waitForExit(timeout);
        EXPECT_EQ(code, 0);
        return code == 0 ? std::optional<Lines>(game->lines()) : std::nullopt;
    }

    // Checks `replay` with no display at all.
    std::optional<Lines> verify(const std::string& replay) {
        return linesOfCleanExit({"--verify", replay}, "", 60s);
    }

    // Plays `replay` headless.
    std::optional<Lines> replayHeadless(const std::string& replay, const std::string& shot) {
        return linesOfCleanExit({"--replay", replay, "--run_headless", "--filename", shot},
                                display_.name(), 300s);
    }

    // The seconds from the first to the last of `hops` hop lines of
    // `replay` played with `mode`, as they arrive; none when they do not.
    std::optional<double> hopSpan(const std::string& mode, const std::string& replay, int hops) {
        std::unique_ptr<ChildProcess> game = startGame({mode, replay}, display_.name());
        const auto hopLine = [&game] {
            return game->waitForLineStartingWith("jumping now from: ", 120s).has_value();
        };
        if (!hopLine()) {
            return std::nullopt;
        }
        const auto first = std::chrono::steady_clock::now();
        for (int hop = 1; hop < hops; ++hop) {
            if (!hopLine()) {
                return std::nullopt;
            }
        }
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - first).count();
    }

    std::optional<PpmImage> screenshot(const std::string& shot) const {
        return parsePpm(readWholeFile(sandbox_.workingDirectory() + "/" + shot + ".ppm"));
    }

    VirtualDisplay display_;
    GameSandbox sandbox_;
};

class GoldenReplayTest : public ReplayTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(GoldenReplayTest, PlaysBackToItsTranscriptAndFinalFrame) {
    const std::string name = GetParam();
    const std::optional<Lines> lines = replayHeadless(goldenPath(name, ".replay"), "final");
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, linesOf(readWholeFile(goldenPath(name, ".transcript"))));

    const std::string reference = sandbox_.workingDirectory() + "/reference.ppm";
    ASSERT_EQ(runCommand({"convert", goldenPath(name, ".png"), "-depth", "8", reference}, "", 60s),
              0);
    const std::optional<PpmImage> expected = parsePpm(readWholeFile(reference));
    const std::optional<PpmImage> actual = screenshot("final");
    ASSERT_TRUE(expected && actual);
    ASSERT_EQ(actual->width, expected->width);
    ASSERT_EQ(actual->height, expected->height);
    // The same build on the same machine gives the same pixels; a little
    // room is left for another driver's rounding.
    EXPECT_LE(differingShare(*actual, *expected), 0.005)
        << "renew the reference frames with scripts/record-goldens.sh if the picture changed";
}

// A number field of a verdict line, or -1.
long verdictNumber(const std::string& verdict, const std::string& key) {
    const std::string field = "\"" + key + "\":";
    const std::size_t at = verdict.find(field);
    if (at == std::string::npos) {
        return -1;
    }
    const std::size_t digits = at + field.size();
    const std::size_t end = verdict.find_first_not_of("0123456789", digits);
    return end == digits ? -1 : std::stol(verdict.substr(digits, end - digits));
}

TEST_P(GoldenReplayTest, VerifiesWithoutADisplayToItsTranscriptAndVerdict) {
    const std::string name = GetParam();
    const std::string text = readWholeFile(goldenPath(name, ".replay"));
    const std::optional<Lines> lines = verify(goldenPath(name, ".replay"));
    ASSERT_TRUE(lines);
    ASSERT_FALSE(lines->empty());
    const Lines transcript =
        linesAfterStartup(linesOf(readWholeFile(goldenPath(name, ".transcript"))));
    EXPECT_EQ(Lines(lines->begin(), lines->end() - 1), transcript);
    long best = 0;
    for (const std::string& line : transcript) {
        best = line.rfind("Score: ", 0) == 0 ? std::stol(line.substr(7)) : best;
    }
    const std::string& verdict = lines->back();
    EXPECT_EQ(verdictNumber(verdict, "seed"), 7) << verdict;
    EXPECT_EQ(verdictNumber(verdict, "frames"), std::stol(text.substr(text.rfind("\nend ") + 5)))
        << verdict;
    EXPECT_EQ(verdictNumber(verdict, "best"), best) << verdict;
    EXPECT_NE(verdict.find(R"("finished":true,"in_step":true,)"), std::string::npos) << verdict;
    EXPECT_NE(verdict.find(R"("format":1,"recorded_by":"1.0","rules":1,"version":"1.0.0"})"),
              std::string::npos)
        << verdict;
}

INSTANTIATE_TEST_SUITE_P(Goldens, GoldenReplayTest,
                         ::testing::Values("drift_edge", "fall", "log_ride", "pause_orbit"),
                         [](const ::testing::TestParamInfo<const char*>& golden) {
                             return std::string(golden.param);
                         });

TEST_F(ReplayTest, AGameRecordedWithRealKeysReplaysAndTimesToTheSameTranscript) {
    const std::string file = sandbox_.workingDirectory() + "/played.replay";
    Lines recorded;
    {
        GameSession session;
        ASSERT_TRUE(session.displayOk());
        // The replay runs in another sandbox that has this file: it must
        // still print the line that its absence caused here.
        session.sandbox().removeAsset("assets/settings/renderer_standard.ini");
        ASSERT_TRUE(session.start({"--record", file, "--seed", "7"}));
        ASSERT_TRUE(session.waitForScreen(
            [](const PpmImage& image) { return pixelIs(image, 5, 5, kMenuPixel); }, 30s));
        session.click();
        ASSERT_TRUE(session.waitForScreen(
            [](const PpmImage& image) { return pixelIs(image, 5, 5, kSkyPixel); }, 30s));
        session.key("w");
        ASSERT_TRUE(session.game().waitForLine("Score: 1", 30s));
        for (const char* key : {"Up", "Escape", "Escape", "c", "k", "Escape", "Escape"}) {
            session.key(key);
        }
        ASSERT_EQ(session.game().waitForExit(60s), 0);
        recorded = session.game().lines();
    }
    ASSERT_GE(recorded.size(), 2u);
    EXPECT_EQ(recorded[1],
              "ERROR: Failed to load 'assets/settings/renderer_standard.ini'. Using default "
              "values instead.");
    const Lines fileLines = linesOf(readWholeFile(file));
    ASSERT_FALSE(fileLines.empty());
    const std::string closing = fileLines.back();
    ASSERT_EQ(closing.rfind("end ", 0), 0u);

    std::unique_ptr<ChildProcess> replay = startGame({"--replay", file}, display_.name());
    ASSERT_EQ(replay->waitForExit(120s), 0);
    EXPECT_EQ(replay->lines(), recorded);

    std::unique_ptr<ChildProcess> timedemo = startGame({"--timedemo", file}, display_.name());
    ASSERT_EQ(timedemo->waitForExit(120s), 0);
    Lines timed = timedemo->lines();
    ASSERT_FALSE(timed.empty());
    const std::string report = timed.back();
    timed.pop_back();
    EXPECT_EQ(timed, recorded);
    EXPECT_EQ(report.rfind("Timedemo: " + closing.substr(4) + " frames in ", 0), 0u) << report;
    EXPECT_NE(report.find(" frames/s; frame times median "), std::string::npos) << report;
}

// A small window's game of `frames` game frames of `seconds` each, hopping
// left and right on the start row (seed 7 has no tree in the way) in every
// frame after the first.
std::string hoppingGame(int frames, float seconds) {
    ReplayHeader header{"1.0", 7, {}, {}, {}, {}};
    header.window.width = 320;
    header.window.height = 192;
    RecordedFrame gameFrame;
    gameFrame.gameFrame = true;
    gameFrame.deltaTime = seconds;
    std::string text = formatReplayHeader(header) + formatInputEvent(mouseButtonEvent(0, 1, 0)) +
                       formatInputEvent(mouseButtonEvent(0, 0, 0)) + "m\n" +
                       formatCursor({160, 96}) + formatFrameEnd(gameFrame);
    for (int frame = 1; frame < frames; ++frame) {
        const int key = frame % 2 == 1 ? 65 : 68;  // A, D
        text += formatInputEvent(keyEvent(key, 0, 1, 0)) +
                formatInputEvent(keyEvent(key, 0, 0, 0)) + formatFrameEnd(gameFrame);
    }
    return text + formatReplayEnd(static_cast<std::size_t>(frames) + 1);
}

// Each game frame is held until the recorded times add up to it. A frame
// drawn late lets the next one follow at once (the schedule is the
// recording's, not the gaps'), so the span of the hops may come short of
// the recorded one by at most the first hop's delay: a frame of drawing.
TEST_F(ReplayTest, AReplayKeepsItsRecordedPaceAndATimedemoDoesNot) {
    const ScratchFolder folder = ScratchFolder::inTemp();
    const int hops = 5;
    const float seconds = 0.6f;
    const std::string replay = folder.write("hops.replay", hoppingGame(hops + 1, seconds));
    const double recorded = (hops - 1) * static_cast<double>(seconds);  // 2.4 s
    const std::optional<double> paced = hopSpan("--replay", replay, hops);
    ASSERT_TRUE(paced);
    EXPECT_GE(*paced, recorded - 0.35);
    EXPECT_LE(*paced, recorded + 1.0);
    // As fast as the frames draw: a small window takes far less than 0.6 s.
    const std::optional<double> timed = hopSpan("--timedemo", replay, hops);
    ASSERT_TRUE(timed);
    EXPECT_LT(*timed, *paced - 1.0);
}

// A game of `playing` frames, then Esc and `paused` frames, then Esc and
// `resumed` frames, each of 0.05 s, cut after frame `last` of the game.
std::string pauseGame(int last) {
    ReplayHeader header{"1.0", 7, {}, {}, {}, {}};
    header.window.width = 640;
    header.window.height = 360;
    const InputEvent press = mouseButtonEvent(0, 1, 0);
    const InputEvent escape = keyEvent(256, 9, 1, 0);
    RecordedFrame gameFrame;
    gameFrame.gameFrame = true;
    gameFrame.deltaTime = 0.05f;
    std::string text =
        formatReplayHeader(header) + formatInputEvent(press) + "m\n" + formatCursor({320, 180});
    for (int frame = 0; frame <= last; ++frame) {
        if (frame == 6 || frame == 14) {
            text += formatInputEvent(escape);
        }
        text += formatFrameEnd(gameFrame);
    }
    return text + formatReplayEnd(static_cast<std::size_t>(last) + 2);
}

TEST_F(ReplayTest, PauseFreezesTheWorldExactlyAndEscapeResumesIt) {
    // Frames 0 to 5 play, 6 to 13 are paused (Esc in frame 6), 14 on play again.
    const ScratchFolder folder = ScratchFolder::inTemp();
    std::map<int, PpmImage> shots;
    for (const int last : {3, 5, 7, 13, 16}) {
        const std::string name = "frame" + std::to_string(last);
        ASSERT_TRUE(replayHeadless(folder.write(name + ".replay", pauseGame(last)), name));
        std::optional<PpmImage> shot = screenshot(name);
        ASSERT_TRUE(shot);
        shots[last] = std::move(*shot);
    }
    EXPECT_NE(shots[3].rgb, shots[5].rgb) << "the river and logs move while playing";
    EXPECT_NE(shots[5].rgb, shots[7].rgb) << "the pause pair appears";
    EXPECT_EQ(shots[7].rgb, shots[13].rgb) << "nothing moves while paused";
    EXPECT_NE(shots[13].rgb, shots[16].rgb) << "the world moves again after resuming";
}

// A debug-camera drag of 0.05 s frames: C, the left button pressed (unless
// `dragging` is false), the cursor moving over three frames and then
// standing still for `still` frames of no time, so that only the camera
// could change the picture in them. A recording writes no cursor line while
// the cursor stands still; `repeatCursor` writes the same line again instead.
std::string dragGame(int still, bool repeatCursor, bool dragging = true) {
    ReplayHeader header{"1.0", 7, {}, {}, {}, {}};
    header.window.width = 640;
    header.window.height = 360;
    RecordedFrame gameFrame;
    gameFrame.gameFrame = true;
    gameFrame.deltaTime = 0.05f;
    const std::string frameEnd = formatFrameEnd(gameFrame);
    std::string text = formatReplayHeader(header) + formatInputEvent(mouseButtonEvent(0, 1, 0)) +
                       formatInputEvent(mouseButtonEvent(0, 0, 0)) + "m\n" +
                       formatCursor({320, 180}) + frameEnd;
    text += formatInputEvent(keyEvent(67, 54, 1, 0)) + formatInputEvent(keyEvent(67, 54, 0, 0)) +
            frameEnd;
    text += (dragging ? formatInputEvent(mouseButtonEvent(0, 1, 0)) : "") + frameEnd;
    const CursorPosition last{410, 200};
    for (const CursorPosition& at : {CursorPosition{340, 185}, CursorPosition{370, 195}, last}) {
        text += formatCursor(at) + frameEnd;
    }
    RecordedFrame stillFrame = gameFrame;
    stillFrame.deltaTime = 0.0f;
    for (int frame = 0; frame < still; ++frame) {
        text += (repeatCursor ? formatCursor(last) : "") + formatFrameEnd(stillFrame);
    }
    return text + formatReplayEnd(static_cast<std::size_t>(7 + still));
}

// A frame is drawn before its time is taken, so the logs and the river of
// the first still frame still move; after it only the camera could.
TEST_F(ReplayTest, ADragWhoseCursorStandsStillKeepsItsLastPosition) {
    const ScratchFolder folder = ScratchFolder::inTemp();
    const std::vector<std::pair<std::string, std::string>> games{
        {"stopped", dragGame(1, true)},
        {"still", dragGame(4, false)},
        {"repeated", dragGame(4, true)},
        {"undragged", dragGame(1, true, false)}};
    std::map<std::string, PpmImage> shots;
    for (const auto& [name, text] : games) {
        ASSERT_TRUE(replayHeadless(folder.write(name + ".replay", text), name));
        std::optional<PpmImage> shot = screenshot(name);
        ASSERT_TRUE(shot);
        shots[name] = std::move(*shot);
    }
    EXPECT_GT(differingShare(shots["stopped"], shots["undragged"]), 0.1)
        << "the drag turns the camera";
    EXPECT_TRUE(shots["still"].rgb == shots["repeated"].rgb)
        << "frames without a cursor line read the last recorded position; "
        << differingShare(shots["still"], shots["repeated"]) << " of the pixels differ";
    EXPECT_TRUE(shots["still"].rgb == shots["stopped"].rgb)
        << "the camera stays where the drag left it while the cursor stands still; "
        << differingShare(shots["still"], shots["stopped"]) << " of the pixels differ";
}

TEST_F(ReplayTest, ACutOffRecordingPlaysItsWholeFramesAndSaysSo) {
    const std::string golden = readWholeFile(goldenPath("fall", ".replay"));
    const std::size_t cut = golden.find("\ng ", golden.size() / 3);
    ASSERT_NE(cut, std::string::npos);
    const ScratchFolder folder = ScratchFolder::inTemp();
    const std::string file =
        folder.write("cut.replay", golden.substr(0, cut + 4));  // "g" and a digit
    const std::size_t wholeFrames = linesOf(golden.substr(0, cut + 1)).size() -
                                    linesOf(formatReplayHeader(ReplayHeader())).size();
    const std::optional<Lines> lines = replayHeadless(file, "cut");
    ASSERT_TRUE(lines);
    ASSERT_FALSE(lines->empty());
    const Lines transcript = linesOf(readWholeFile(goldenPath("fall", ".transcript")));
    const Lines before(lines->begin(), lines->end() - 1);
    ASSERT_LE(before.size(), transcript.size());
    EXPECT_EQ(before, Lines(transcript.begin(), transcript.begin() + before.size()));
    EXPECT_EQ(lines->back().rfind("Replay '" + file + "' was cut off: it stops after frame ", 0),
              0u)
        << lines->back();
    EXPECT_LE(std::stoul(lines->back().substr(lines->back().rfind(' ') + 1)), wholeFrames);
    EXPECT_TRUE(screenshot("cut"));

    // The referee prints the same lines, then says the file was not finished.
    const std::optional<Lines> verified = verify(file);
    ASSERT_TRUE(verified);
    ASSERT_EQ(verified->size(), linesAfterStartup(*lines).size() + 1);
    EXPECT_EQ(Lines(verified->begin(), verified->end() - 1), linesAfterStartup(*lines));
    EXPECT_NE(verified->back().find(R"("finished":false,"in_step":true,)"), std::string::npos)
        << verified->back();
}

TEST_F(ReplayTest, BadFilesStopTheGameBeforeAnyWindowOpens) {
    const ScratchFolder folder = ScratchFolder::inTemp();
    const std::string header = formatReplayHeader(ReplayHeader{"1.0", 7, {}, {}, {}, {}});
    const std::string badVersion = folder.write("v2.replay", "QUORLAND-REPLAY 2 1.0\n");
    const std::string badKey = folder.write("key.replay", header + "m\nk 999 25 1 0\n");
    const std::string missing = folder.file("nope.replay");
    const std::string huge = folder.write("huge.replay", "QUORLAND-REPLAY 1 1.0\n");
    std::filesystem::resize_file(huge, (64u << 20) + 1);  // sparse: only a reader reads it
    const std::string unwritable = folder.file("no/such/folder/out.replay");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--replay", missing}, "ERROR: Cannot read replay file '" + missing + "'"},
        {{"--timedemo", folder.path().string()},
         "ERROR: Cannot read replay file '" + folder.path().string() + "'"},
        {{"--replay", badVersion},
         "ERROR: Replay file '" + badVersion +
             "' line 1: format version '2' is not supported (this game reads version 1)"},
        {{"--replay", badKey}, "ERROR: Replay file '" + badKey + "' line 7: unknown key 999"},
        {{"--record", unwritable}, "ERROR: Cannot write replay file '" + unwritable + "'"},
        {{"--replay", huge},
         "ERROR: Replay file '" + huge + "' is larger than 67108864 bytes, too large for a replay"},
    };
    for (const auto& [arguments, message] : cases) {
        // No display at all: a game that got as far as GLFW would say so.
        std::unique_ptr<ChildProcess> game = startGame(arguments, "");
        EXPECT_EQ(game->waitForExit(30s), 1) << message;
        EXPECT_EQ(game->lines(), (Lines{kBanner, message}));
        if (arguments[0] == "--record") {
            continue;
        }
        // The referee refuses the same files the same way, with no banner.
        std::unique_ptr<ChildProcess> referee = startGame({"--verify", arguments[1]}, "");
        EXPECT_EQ(referee->waitForExit(30s), 1) << message;
        EXPECT_EQ(referee->lines(), (Lines{message}));
    }
}

}  // namespace

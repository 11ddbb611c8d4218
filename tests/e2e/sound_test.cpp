// Sound end to end: the real binary plays a golden replay with OpenAL Soft's
// wave writer as its device (configured for the test through ALSOFT_CONF)
// and the written sound is compared with the moments the console announces;
// --mute writes nothing; and without any usable sound device the game says
// exactly what a muted one says, with nothing at all on standard error.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <thread>

#include "support/child_process.h"
#include "support/game_sandbox.h"
#include "support/loopback_sound.h"
#include "support/scratch_folder.h"

namespace {

using Clock = std::chrono::steady_clock;
using Lines = std::vector<std::string>;

std::string goldenPath(const std::string& name, const std::string& extension) {
    return std::string(QUORLAND_SOURCE_DIR) + "/tests/replays/" + name + extension;
}

Lines linesStartingWith(const std::string& path, const std::string& prefix) {
    Lines result;
    const std::string text = readWholeFile(path);
    std::size_t start = 0;
    for (std::size_t feed; (feed = text.find('\n', start)) != std::string::npos; start = feed + 1) {
        const std::string line = text.substr(start, feed - start);
        if (line.rfind(prefix, 0) == 0) {
            result.push_back(line);
        }
    }
    return result;
}

// A plain 16-bit PCM WAV file as one value per frame (the largest magnitude
// of its channels, full scale 1); empty when the file is not one.
std::vector<float> readWave(const std::string& path, int& rate) {
    const std::string bytes = readWholeFile(path);
    const auto u16 = [&bytes](std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[at])) |
               static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 1])) << 8;
    };
    if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
        return {};
    }
    unsigned channels = 0;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string id = bytes.substr(at, 4);
        const std::size_t size = u16(at + 4) | static_cast<std::size_t>(u16(at + 6)) << 16;
        if (id == "fmt ") {
            channels = u16(at + 10);
            rate = static_cast<int>(u16(at + 12) | u16(at + 14) << 16);
            if (u16(at + 22) != 16) {
                return {};
            }
        } else if (id == "data" && channels > 0) {
            std::vector<float> frames;
            for (std::size_t p = at + 8; p + 2 * channels <= bytes.size(); p += 2 * channels) {
                float loudest = 0.0f;
                for (unsigned c = 0; c < channels; ++c) {
                    const auto value = static_cast<std::int16_t>(u16(p + 2 * c));
                    loudest = std::max(loudest, std::abs(static_cast<float>(value)) / 32768.0f);
                }
                frames.push_back(loudest);
            }
            return frames;
        }
        at += 8 + size + (size % 2);
    }
    return {};
}

// Sets an environment variable for the game processes started while it lives.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() { unsetenv(name_); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    const char* name_;
};

class SoundTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(display_.ok()) << "Xvfb did not start"; }

    // The game with its standard error going to `stderrFile` alone. The
    // shell passes the sanitizer run's preloads on to the game, as the
    // tests' own game processes get them (tests/support/child_process.cpp).
    std::unique_ptr<ChildProcess> startGame(const std::vector<std::string>& arguments,
                                            const std::string& stderrFile) {
        std::vector<std::string> argv{"/bin/sh",
                                      "-c",
                                      "err=\"$1\"; shift; "
                                      "if [ -n \"${QUORLAND_GAME_PRELOAD:-}\" ]; then export "
                                      "LD_PRELOAD=\"$QUORLAND_GAME_PRELOAD\"; fi; "
                                      "exec \"$@\" 2>\"$err\"",
                                      "sh",
                                      stderrFile,
                                      sandbox_.binary()};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return std::make_unique<ChildProcess>(argv, sandbox_.workingDirectory(), display_.name());
    }

    void key(const std::string& name) const {
        runCommand({"xdotool", "key", name}, display_.name());
        std::this_thread::sleep_for(100ms);
    }

    // Plays the golden "fall" to its splash, waits for the sinking to end,
    // then leaves with Esc twice (game over, start screen). The lines, once
    // the game exited with 0.
    Lines playFallAndLeave(const std::vector<std::string>& extra, const std::string& stderrFile) {
        std::vector<std::string> arguments{"--replay", goldenPath("fall", ".replay")};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        std::unique_ptr<ChildProcess> game = startGame(arguments, stderrFile);
        EXPECT_TRUE(game->waitForLine("You fell into the river...", 180s));
        std::this_thread::sleep_for(2500ms);
        key("Escape");
        key("Escape");
        EXPECT_EQ(game->waitForExit(60s), 0);
        return game->lines();
    }

    VirtualDisplay display_;
    GameSandbox sandbox_;
    ScratchFolder scratch_ = ScratchFolder::inTemp();
};

TEST_F(SoundTest, AReplayIsHeardRightAfterEachHopLineAndNotBeforeTheClick) {
    const std::string wave = scratch_.file("out.wav");
    ScopedEnvironment conf("ALSOFT_CONF", scratch_.write("alsoft.conf",
                                                         "[general]\ndrivers = wave\n"
                                                         "sample-type = int16\nfrequency = 48000\n"
                                                         "dither = false\n[wave]\nfile = " +
                                                             wave + "\n"));
    std::unique_ptr<ChildProcess> game =
        startGame({"--replay", goldenPath("fall", ".replay")}, scratch_.file("stderr"));
    ASSERT_TRUE(game->waitForLineStartingWith("Read shader: ", 60s));
    const Clock::time_point start = Clock::now();
    std::vector<double> hops;  // seconds after the first shader line
    for (const std::string& line :
         linesStartingWith(goldenPath("fall", ".transcript"), "jumping now from: ")) {
        ASSERT_TRUE(game->waitForLine(line, 120s)) << line;
        hops.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    ASSERT_EQ(hops.size(), 4u);
    ASSERT_TRUE(game->waitForLine("You fell into the river...", 60s));
    std::this_thread::sleep_for(2500ms);
    key("Escape");
    key("Escape");
    ASSERT_EQ(game->waitForExit(60s), 0);
    EXPECT_EQ(readWholeFile(scratch_.file("stderr")), "");

    int rate = 0;
    const std::vector<float> heard = readWave(wave, rate);
    ASSERT_EQ(rate, 48000);
    ASSERT_GT(heard.size(), static_cast<std::size_t>(hops.back() * rate));
    const std::vector<std::size_t> onsets = loudnessOnsets(heard);
    ASSERT_FALSE(onsets.empty());
    // The click starts the first sound; nothing before it, nothing else
    // until the first hop.
    ASSERT_GE(onsets.size(), hops.size() + 1);
    EXPECT_EQ(energyOf(heard, 0, onsets.front()), 0.0);
    // The wave file starts when the device opens, a moment before the first
    // shader line that the hop times count from (the sounds are made in
    // between): the first hop's sound sets the offset between the two clocks.
    const double offset = static_cast<double>(onsets[1]) / rate - hops.front();
    // The replay keeps its pace (about half a second between hops), so each
    // hop is a sound of its own, heard within 100 ms of its line.
    for (std::size_t i = 1; i < hops.size(); ++i) {
        const bool heardThen = std::any_of(onsets.begin(), onsets.end(), [&](std::size_t onset) {
            const double at = static_cast<double>(onset) / rate - offset;
            return at >= hops[i] - 0.05 && at <= hops[i] + 0.1;
        });
        EXPECT_TRUE(heardThen) << "no sound within 100 ms after the hop line at " << hops[i]
                               << " s";
    }
}

TEST_F(SoundTest, MuteWritesNoSoundAndPrintsWhatASoundedRunPrints) {
    const std::string wave = scratch_.file("out.wav");
    ScopedEnvironment conf(
        "ALSOFT_CONF",
        scratch_.write("alsoft.conf", "[general]\ndrivers = wave\n[wave]\nfile = " + wave + "\n"));
    const Lines muted = playFallAndLeave({"--mute"}, scratch_.file("stderr"));
    EXPECT_FALSE(std::filesystem::exists(wave));
    EXPECT_EQ(readWholeFile(scratch_.file("stderr")), "");
    EXPECT_EQ(muted, playFallAndLeave({}, scratch_.file("stderr")));
    EXPECT_TRUE(std::filesystem::exists(wave));
}

// This machine, like CI, has no sound hardware: the default device cannot
// be opened, which OpenAL Soft and ALSA would otherwise report on stderr.
TEST_F(SoundTest, WithoutAUsableDeviceTheGameSaysExactlyWhatAMutedOneSays) {
    const std::string errors = scratch_.file("stderr");
    const Lines sounded = playFallAndLeave({}, errors);
    EXPECT_EQ(readWholeFile(errors), "");
    EXPECT_EQ(sounded, playFallAndLeave({"--mute"}, errors));
    EXPECT_EQ(readWholeFile(errors), "");

    const auto headless = [&](const std::vector<std::string>& extra) {
        std::vector<std::string> arguments{"--replay", goldenPath("fall", ".replay"),
                                           "--run_headless", "--filename", "shot"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        std::unique_ptr<ChildProcess> game = startGame(arguments, errors);
        const std::optional<int> code = game->waitForExit(300s);
        EXPECT_EQ(readWholeFile(errors), "");
        return std::make_pair(code, game->lines());
    };
    const auto withSound = headless({});
    EXPECT_EQ(withSound.first, 0);
    EXPECT_EQ(withSound, headless({"--mute"}));
}

}  // namespace

// The playable game end to end: the real binary on a private X server,
// driven with xdotool and watched through its console and screen captures.
#include <gtest/gtest.h>

#include <fstream>
#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include "app/startup_settings.h"
#include "game/game_state.h"
#include "support/game_session.h"
#include "support/scratch_folder.h"
#include "view/camera.h"

namespace {

using Lines = std::vector<std::string>;

// A course whose first row ahead of the start (z = 1) is open ground.
const std::string kSeed = "7";

bool showsMenu(const PpmImage& image) {
    return pixelIs(image, 5, 5, kMenuPixel);
}
bool showsSky(const PpmImage& image) {
    return pixelIs(image, 5, 5, kSkyPixel);
}

// Where the middle of the top face of the player's cube (at the start, the
// unit cube around the origin) lands in a width x height window, by the
// game's own camera settings: window pixels, y growing downward.
glm::ivec2 playerTopOnScreen(int width, int height) {
    const CameraSettings settings = readStartupSettings(CommandLineOptions{}).camera;
    Camera camera(settings.fov, static_cast<float>(width) / static_cast<float>(height),
                  settings.nearPlane, settings.farPlane);
    camera.setYaw(settings.yaw);
    camera.setPitch(settings.pitch);
    camera.update(0, 0, zoom, false, false, false, glm::vec3(0.0f));
    const glm::vec4 clip = camera.getViewProjectionMatrix() * glm::vec4(0.0f, 0.5f, 0.0f, 1.0f);
    const float x = (clip.x / clip.w + 1.0f) * 0.5f * static_cast<float>(width);
    const float y = (1.0f - clip.y / clip.w) * 0.5f * static_cast<float>(height);
    return {static_cast<int>(x), static_cast<int>(y)};
}

// Lit yellow: strong red and green, little blue.
bool isYellow(const std::vector<int>& rgb) {
    return rgb[0] >= 150 && rgb[1] >= 150 && rgb[2] <= 100;
}

// "Score: 0" is drawn in black from window pixel (40, 60), glyphs 24 pixels high.
bool showsScoreInPlace(const PpmImage& image) {
    for (int y = 60; y < 84; ++y) {
        for (int x = 40; x < 64; ++x) {
            if (pixelIs(image, x, y, {0, 0, 0})) {
                return true;
            }
        }
    }
    return false;
}

class GameplayTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(session_.displayOk()) << "Xvfb did not start"; }

    // Starts the game and leaves its start screen with a click.
    void startPlaying(const std::vector<std::string>& arguments) {
        ASSERT_TRUE(session_.start(arguments));
        ASSERT_TRUE(session_.waitForScreen(showsMenu, 30s)) << "no start screen";
        session_.click();
        ASSERT_TRUE(session_.waitForScreen(showsSky, 30s)) << "no game frame";
    }

    GameSession session_;
};

TEST_F(GameplayTest, ASeededForwardHopPrintsItsLinesAndScores) {
    startPlaying({"--seed", kSeed});
    session_.key("w");
    ASSERT_TRUE(session_.game().waitForLine("Score: 1", 30s));
    const Lines& lines = session_.game().lines();
    const Lines tail(lines.end() - 3, lines.end());
    EXPECT_EQ(tail, (Lines{"jumping now from: (-0, 0, 0) to: (-0, 0, 1)", "player at : (-0, 0, 1)",
                           "Score: 1"}));
}

TEST_F(GameplayTest, AnUnseededHopDoesWhatItSays) {
    startPlaying({});
    session_.key("Up");
    ChildProcess& game = session_.game();
    const std::optional<std::string> hop = game.waitForLineStartingWith("jumping now from: ", 15s);
    if (!hop) {
        // The only thing that can stop the first hop is a tree on its cell.
        ASSERT_FALSE(game.lines().empty());
        EXPECT_EQ(game.lines().back(), "Blocked by tree at (0, 1)");
        return;
    }
    EXPECT_EQ(*hop, "jumping now from: (-0, 0, 0) to: (-0, 0, 1)");
    EXPECT_TRUE(game.waitForLine("player at : (-0, 0, 1)", 30s));
    EXPECT_TRUE(game.waitForLine("Score: 1", 30s));
}

TEST_F(GameplayTest, DebugKillThenEscapeToTheMenuAndEscapeToQuit) {
    startPlaying({"--seed", kSeed});
    session_.key("c");
    session_.key("k");
    session_.key("Escape");
    ASSERT_TRUE(session_.waitForScreen(showsMenu, 30s))
        << "GAME OVER! then ESC should show the menu";
    session_.key("Escape");
    EXPECT_EQ(session_.game().waitForExit(30s), 0);
}

TEST_F(GameplayTest, HeadlessRunWritesTheFirstGameFrameAndExits) {
    ASSERT_TRUE(session_.start({"--run_headless", "--seed", kSeed}));
    ASSERT_TRUE(session_.waitForScreen(showsMenu, 30s));
    session_.click();
    ASSERT_EQ(session_.game().waitForExit(60s), 0);

    const std::string text =
        readWholeFile(session_.sandbox().workingDirectory() + "/screenshot.ppm");
    ASSERT_EQ(text.rfind("P3\n1280 768\n255\n", 0), 0u);
    const std::vector<std::string> rows = [&text] {
        std::vector<std::string> result;
        std::size_t start = text.find("255\n") + 4;
        for (std::size_t end; (end = text.find('\n', start)) != std::string::npos;
             start = end + 1) {
            result.push_back(text.substr(start, end - start));
        }
        return result;
    }();
    ASSERT_EQ(rows.size(), 768u);
    for (const std::string& row : rows) {
        ASSERT_EQ(row.size(), 1280u * 12u);
    }
    const std::optional<PpmImage> image = parsePpm(text);
    ASSERT_TRUE(image);
    EXPECT_TRUE(pixelIs(*image, 0, 0, kSkyPixel));
    EXPECT_TRUE(showsScoreInPlace(*image));
    // The first frame shows the player where the camera puts it.
    const glm::ivec2 player = playerTopOnScreen(1280, 768);
    for (int dy = -3; dy <= 3; ++dy) {
        for (int dx = -3; dx <= 3; ++dx) {
            EXPECT_TRUE(isYellow(image->at(player.x + dx, player.y + dy)))
                << "no player at " << player.x + dx << "," << player.y + dy;
        }
    }
}

TEST_F(GameplayTest, AFilenameValueIsExaminedAsAnOptionToo) {
    ASSERT_TRUE(session_.start({"--filename", "--run_headless"}));
    ASSERT_TRUE(session_.waitForScreen(showsMenu, 30s));
    session_.click();
    ASSERT_EQ(session_.game().waitForExit(60s), 0);
    const std::string text =
        readWholeFile(session_.sandbox().workingDirectory() + "/--run_headless.ppm");
    EXPECT_EQ(text.rfind("P3\n1280 768\n255\n", 0), 0u);
}

// What a headless game with the given window settings printed and wrote.
struct HeadlessRun {
    Lines lines;
    std::string header;  // the screenshot's first three lines
    std::optional<PpmImage> image;
};

std::optional<HeadlessRun> playHeadless(const std::string& windowSettings) {
    GameSession session;
    session.sandbox().writeAsset("assets/settings/window.ini", windowSettings);
    if (!session.start({"--run_headless", "--seed", kSeed}) ||
        !session.waitForScreen(showsMenu, 30s)) {
        ADD_FAILURE() << "no start screen with " << windowSettings;
        return std::nullopt;
    }
    session.click();
    const std::optional<int> code = session.game().waitForExit(60s);
    if (code != 0) {
        ADD_FAILURE() << "headless game with " << windowSettings << " ended without exit code 0";
        return std::nullopt;
    }
    HeadlessRun run;
    run.lines = session.game().lines();
    const std::string shot = session.sandbox().workingDirectory() + "/screenshot.ppm";
    std::ifstream file(shot, std::ios::binary);
    for (std::string line; run.header.size() < 64 && std::getline(file, line);) {
        run.header += line + "\n";
        if (line == "255") {
            break;
        }
    }
    // A file of the asked width would be hundreds of megabytes: only a
    // screenshot of the expected size is read whole.
    if (run.header == "P3\n640 360\n255\n") {
        run.image = parsePpm(readWholeFile(shot));
    }
    return run;
}

// X keeps 16 bits of each side of a window, so a width of 65536 + 640 gets
// a window 640 pixels wide. The game plays in the window it got: the same
// lines and the same first frame, HUD included, as in a window that was
// asked for at 640 x 360.
TEST(GameplayWindowSize, AWidthTheDisplayCannotGrantIsPlayedAtTheWidthGranted) {
    const std::optional<HeadlessRun> asked = playHeadless("[window]\nwidth = 640\nheight = 360\n");
    const std::optional<HeadlessRun> granted =
        playHeadless("[window]\nwidth = 66176\nheight = 360\n");
    ASSERT_TRUE(asked && granted);
    ASSERT_EQ(asked->header, "P3\n640 360\n255\n");
    ASSERT_EQ(granted->header, "P3\n640 360\n255\n") << "the screenshot has the window's size";
    EXPECT_EQ(granted->lines, asked->lines);
    ASSERT_TRUE(asked->image && granted->image);
    EXPECT_TRUE(showsScoreInPlace(*granted->image));
    EXPECT_EQ(granted->image->rgb, asked->image->rgb)
        << "the picture and the HUD as in a window asked for at the granted size";
}

TEST(GameplayFailure, AMissingShaderFileEndsTheGameWithItsLine) {
    VirtualDisplay display;
    GameSandbox sandbox;
    sandbox.removeAsset("assets/shaders/river.frag");
    ChildProcess game({sandbox.binary()}, sandbox.workingDirectory(), display.name());
    EXPECT_EQ(game.waitForExit(60s), 1);
    const Lines& lines = game.lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "Read shader: assets/shaders/river.vert");
    EXPECT_EQ(lines.back(), "Could not find shader file: assets/shaders/river.frag");
}

TEST(GameplayFailure, AMissingTextureEndsTheGameAlthoughNothingIsDrawnWithIt) {
    VirtualDisplay display;
    GameSandbox sandbox;
    sandbox.removeAsset("assets/textures/wood_texture.dds");
    ChildProcess game({sandbox.binary()}, sandbox.workingDirectory(), display.name());
    EXPECT_EQ(game.waitForExit(60s), 1);
    ASSERT_FALSE(game.lines().empty());
    EXPECT_EQ(game.lines().back(), "Could not find texture file: assets/textures/wood_texture.dds");
}

}  // namespace

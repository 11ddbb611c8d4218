// Bad input to the real binary: broken settings, shader and texture files,
// absurd settings values, odd option values and a camera zoomed through its
// centre. The game either carries on (with defaults where a value is
// unusable) or stops with its usual lines and exit code 1; it never crashes.
// Carrying on means playing: game frames replace the start screen, a hop
// prints its lines and its score shows in the HUD.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <thread>

#include "render/text.h"
#include "support/game_session.h"
#include "support/scratch_folder.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kBanner = ":::::: WELCOME TO QUORLAND ::::::";

bool showsMenu(const PpmImage& image) {
    return pixelIs(image, 5, 5, kMenuPixel);
}
bool showsSky(const PpmImage& image) {
    return pixelIs(image, 5, 5, kSkyPixel);
}
// A game frame, whatever the camera makes of the world: not the start screen.
bool leftTheMenu(const PpmImage& image) {
    return !showsMenu(image);
}

// The HUD's score text as shown: the pixels of the band its doubled font
// box covers at window pixel (40, 60), taken from the left edge (a window
// narrower than the game thinks squeezes the HUD towards it); empty when
// none of them is dark enough to be the text's black over the sky.
std::vector<std::uint8_t> scoreOnScreen(const PpmImage& image) {
    std::vector<std::uint8_t> band;
    bool dark = false;
    for (int y = 60; y < 60 + 2 * textHeight("Score: 0"); ++y) {
        for (int x = 0; x < 40 + 2 * textWidth("Score: 0"); ++x) {
            const std::vector<int> pixel = image.at(x, y);
            dark = dark || pixel[0] + pixel[1] + pixel[2] < 300;
            band.insert(band.end(), pixel.begin(), pixel.end());
        }
    }
    return dark ? band : std::vector<std::uint8_t>{};
}

// A course whose first row ahead of the start (z = 1) is open ground.
const std::string kSeed = "7";

std::string junk(std::size_t size) {
    std::string bytes;
    for (std::size_t i = 0; i < size; ++i) {
        bytes += static_cast<char>((i * 131 + (i >> 3)) % 256);
    }
    return bytes;
}

class BadInputTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(session_.displayOk()) << "Xvfb did not start"; }

    const GameSandbox& sandbox() const { return session_.sandbox(); }

    // Runs the game without touching it; its exit code once it ends by itself.
    std::optional<int> runToExit(const std::vector<std::string>& arguments = {}) {
        std::vector<std::string> argv{sandbox().binary()};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        game_ = std::make_unique<ChildProcess>(argv, sandbox().workingDirectory(),
                                               session_.displayName());
        return game_->waitForExit(90s);
    }
    const Lines& lines() const { return game_->lines(); }

    // Starts a game from the menu: true once a game frame shows.
    bool startPlaying(const std::vector<std::string>& arguments = {},
                      const std::function<bool(const PpmImage&)>& gameFrame = showsSky) {
        if (!session_.start(arguments) || !session_.waitForScreen(showsMenu, 30s)) {
            return false;
        }
        session_.click();
        return session_.waitForScreen(gameFrame, 30s);
    }

    // On the seeded course, in Playing: a hop forward prints its lines, and
    // the score it earns replaces the one the HUD showed before.
    void hopForwardShows() {
        std::vector<std::uint8_t> before;
        ASSERT_TRUE(session_.waitForScreen(
            [&before](const PpmImage& image) {
                before = scoreOnScreen(image);
                return !before.empty();
            },
            30s))
            << "no score in the HUD";
        session_.key("w");
        ChildProcess& game = session_.game();
        EXPECT_TRUE(game.waitForLine("jumping now from: (-0, 0, 0) to: (-0, 0, 1)", 30s));
        EXPECT_TRUE(game.waitForLine("player at : (-0, 0, 1)", 30s));
        EXPECT_TRUE(game.waitForLine("Score: 1", 30s));
        EXPECT_TRUE(session_.waitForScreen(
            [&before](const PpmImage& image) {
                const std::vector<std::uint8_t> now = scoreOnScreen(image);
                return !now.empty() && now != before;
            },
            30s))
            << "the HUD still shows the old score";
    }

    // Hops a little, loses through debug mode and quits from the start
    // screen: the exit code.
    std::optional<int> loseAndQuit() {
        for (const char* name : {"w", "a", "d", "c", "k", "Escape"}) {
            session_.key(name);
        }
        if (!session_.waitForScreen(showsMenu, 30s)) {
            return std::nullopt;
        }
        session_.key("Escape");
        return session_.game().waitForExit(30s);
    }

    std::string windowGeometry() const {
        ChildProcess query({"xdotool", "search", "--name", "^QUORLAND$", "getwindowgeometry"}, "",
                           session_.displayName());
        return query.waitForLineStartingWith("  Geometry: ", 10s).value_or("no window");
    }

    GameSession session_;
    std::unique_ptr<ChildProcess> game_;
};

TEST_F(BadInputTest, JunkNulBytesAndEndlessLinesInSettingsMeanDefaultsSilently) {
    sandbox().writeAsset("assets/settings/window.ini", junk(4096));
    sandbox().writeAsset("assets/settings/camera_front_up.ini",
                         std::string("[camera]\nfov = 70\0\0\0\n\0\n", 20));
    sandbox().writeAsset("assets/settings/renderer_standard.ini",
                         "[renderer]\nwireframe = " + std::string(10000, 'x') + "\n" +
                             std::string(10000, '[') + "\n");
    ASSERT_TRUE(session_.start());
    ASSERT_TRUE(session_.game().waitForLine("Framework was initialized.", 30s));
    const Lines& lines = session_.game().lines();
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 4),
              (Lines{kBanner, "GLFW was initialized.", "GLEW was initialized.",
                     "Framework was initialized."}));
    EXPECT_EQ(windowGeometry(), "  Geometry: 1280x768");
}

// GLFW reports a size of 0 itself; a negative one would trip an assertion
// inside GLFW (SIGABRT), so it is handed over as 0 and fails the same way.
TEST_F(BadInputTest, NegativeSizesFailWindowCreationLikeZero) {
    for (const char* setting : {"width = -5", "height = -5", "width = -2147483648"}) {
        SCOPED_TRACE(setting);
        sandbox().writeAsset("assets/settings/window.ini",
                             std::string("[window]\n") + setting + "\n");
        EXPECT_EQ(runToExit(), 1);
        ASSERT_EQ(lines().size(), 4u);
        EXPECT_EQ(lines()[1], "GLFW was initialized.");
        EXPECT_EQ(lines()[2].rfind("GLFW error 65540: ", 0), 0u) << lines()[2];
        EXPECT_EQ(lines()[3], "ERROR: Failed to create window");
    }
}

// The X server cannot make a window this wide; whatever it makes of the
// request, the game plays on.
TEST_F(BadInputTest, AWidthOfOneHundredThousandDoesNotCrash) {
    sandbox().writeAsset("assets/settings/window.ini", "[window]\nwidth = 100000\n");
    ASSERT_TRUE(startPlaying({"--seed", kSeed}));
    hopForwardShows();
    EXPECT_EQ(loseAndQuit(), 0);
}

// The world's picture may be anything (nothing at all with fov 0), but game
// frames replace the start screen and the HUD still shows the score.
TEST_F(BadInputTest, DegenerateCameraSettingsStillPlay) {
    for (const char* camera :
         {"fov = 0", "fov = 180", "near = 5\nfar = 5", "near = 10\nfar = 1", "fov = 1e300"}) {
        SCOPED_TRACE(camera);
        sandbox().writeAsset("assets/settings/camera_front_up.ini",
                             std::string("[camera]\n") + camera + "\n");
        ASSERT_TRUE(startPlaying({"--seed", kSeed}, leftTheMenu));
        hopForwardShows();
        EXPECT_EQ(loseAndQuit(), 0);
    }
}

// Zoom has no limits: the eye passes through the orbit centre (zoom 0, an
// undefined view) and out the other side; the game keeps running.
TEST_F(BadInputTest, ZoomDrivenToZeroAndBelowKeepsPlaying) {
    ASSERT_TRUE(startPlaying({"--seed", kSeed}));
    session_.key("c");
    for (int notch = 0; notch < 60; ++notch) {  // 20 - 60 * 0.5 = -10, through 0 at notch 40
        runCommand({"xdotool", "click", "4"}, session_.displayName());
        if (notch == 39) {
            std::this_thread::sleep_for(500ms);  // a few frames at zoom 0
        }
    }
    session_.key("c");  // debug off, so that losing below turns it on again
    hopForwardShows();
    EXPECT_EQ(loseAndQuit(), 0);
}

// A headless run that could not write its one screenshot has failed: the
// line, then the fatal path (stdin is /dev/null, so the wait ends at once).
TEST_F(BadInputTest, HeadlessScreenshotNamesThatCannotBeWrittenAreReportedAndFail) {
    std::filesystem::create_directory(sandbox().workingDirectory() + "/folder.ppm");
    const std::string longName(10000, 'n');
    for (const std::string& name :
         {std::string("folder"), std::string("no/such/folder/shot"), longName}) {
        SCOPED_TRACE(name.substr(0, 20));
        ASSERT_TRUE(session_.start({"--run_headless", "--filename", name}));
        ASSERT_TRUE(session_.waitForScreen(showsMenu, 30s));
        session_.click();
        EXPECT_EQ(session_.game().waitForExit(60s), 1);
        EXPECT_EQ(session_.game().lines().back(),
                  "Unable to write screenshot file [" + name + ".ppm]");
    }
}

TEST_F(BadInputTest, BrokenShaderFilesEndTheGameWithTheirLines) {
    struct Case {
        std::string file;
        std::function<void(const GameSandbox&)> spoil;
        std::string lastLinePrefix;
    };
    const auto link = [](const GameSandbox& box) {
        box.removeAsset("assets/shaders/river.vert");
        std::filesystem::create_symlink("/proc/self/mem", box.root() / "assets/shaders/river.vert");
    };
    const auto folder = [](const GameSandbox& box) {
        box.removeAsset("assets/shaders/river.vert");
        std::filesystem::create_directory(box.root() / "assets/shaders/river.vert");
    };
    const std::vector<Case> cases{
        {"empty", [](const GameSandbox& box) { box.writeAsset("assets/shaders/river.vert", ""); },
         "Failed to compile shader: assets/shaders/river.vert"},
        {"garbage",
         [](const GameSandbox& box) { box.writeAsset("assets/shaders/river.vert", junk(5000)); },
         "Failed to compile shader: assets/shaders/river.vert"},
        {"read error", link, "Unable to load file["},
        {"folder", folder, "Could not find shader file: assets/shaders/river.vert"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        GameSandbox box;
        c.spoil(box);
        ChildProcess game({box.binary()}, box.workingDirectory(), session_.displayName());
        EXPECT_EQ(game.waitForExit(90s), 1);
        bool found = false;
        for (const std::string& line : game.lines()) {
            found = found || (line.rfind(c.lastLinePrefix, 0) == 0 &&
                              line.find("river.vert") != std::string::npos);
        }
        EXPECT_TRUE(found) << "no line starting with " << c.lastLinePrefix;
    }
}

TEST_F(BadInputTest, BrokenTexturesAreReportedAndTheGamePlaysOn) {
    sandbox().writeAsset("assets/textures/wood_texture.dds", junk(3000));
    const std::string tiles =
        readWholeFile((sandbox().root() / "assets/textures/tiles_diffuse.dds").string());
    sandbox().writeAsset("assets/textures/tiles_diffuse.dds", tiles.substr(0, 1000));
    ASSERT_TRUE(startPlaying());
    EXPECT_TRUE(session_.game().waitForLine("Unable to load DDS image file from path[" +
                                                sandbox().root().string() +
                                                "/assets/textures/wood_texture.dds]",
                                            10s));
    EXPECT_EQ(loseAndQuit(), 0);
}

}  // namespace

// Start-up of the real binary under a private X server: the console lines in
// order, settings fallbacks, start-up failures and their exit codes.
#include <gtest/gtest.h>

#include "support/child_process.h"
#include "support/game_sandbox.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kBanner = ":::::: WELCOME TO QUORLAND ::::::";

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(display_.ok()) << "Xvfb did not start"; }

    ChildProcess startGame(const std::vector<std::string>& arguments = {}) {
        std::vector<std::string> argv{sandbox_.binary()};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return ChildProcess(argv, sandbox_.workingDirectory(), display_.name());
    }

    // The geometry line of the window titled `title`, e.g. "  Geometry: 1280x768".
    std::string windowGeometry(const std::string& title) {
        ChildProcess query(
            {"xdotool", "search", "--sync", "--name", "^" + title + "$", "getwindowgeometry"}, "",
            display_.name());
        return query.waitForLineStartingWith("  Geometry: ", 10s).value_or("no window");
    }

    VirtualDisplay display_;
    GameSandbox sandbox_;
};

TEST_F(StartupTest, PrintsTheStartupLinesInOrderAndOpensTheConfiguredWindow) {
    ChildProcess game = startGame();
    ASSERT_TRUE(game.waitForLine("Read shader: assets/shaders/basicColor.frag", 30s));
    const Lines startLines(game.lines().begin(), game.lines().begin() + 4);
    EXPECT_EQ(startLines, (Lines{kBanner, "GLFW was initialized.", "GLEW was initialized.",
                                 "Framework was initialized."}));
    const Lines shaderLines(game.lines().begin() + 4, game.lines().end());
    EXPECT_EQ(
        shaderLines,
        (Lines{"Read shader: assets/shaders/score.vert", "Read shader: assets/shaders/score.frag",
               "Read shader: assets/shaders/river.vert", "Read shader: assets/shaders/river.frag",
               "Read shader: assets/shaders/basicTexture.vert",
               "Read shader: assets/shaders/basicTexture.frag",
               "Read shader: assets/shaders/basicColor.vert",
               "Read shader: assets/shaders/basicColor.frag"}));
    EXPECT_EQ(windowGeometry("QUORLAND"), "  Geometry: 1280x768");
}

TEST_F(StartupTest, MissingSettingsFilesFallBackToDefaultsWithOneLineEach) {
    sandbox_.removeAsset("assets/settings/window.ini");
    sandbox_.removeAsset("assets/settings/camera_front_up.ini");
    sandbox_.removeAsset("assets/settings/renderer_standard.ini");
    ChildProcess game = startGame();
    ASSERT_TRUE(game.waitForLine("Framework was initialized.", 30s));
    const Lines expected{
        kBanner,
        "ERROR: Failed to load 'assets/settings/window.ini'. Using default values instead.",
        "ERROR: Failed to load 'assets/settings/camera_front_up.ini'. Using default values "
        "instead.",
        "ERROR: Failed to load 'assets/settings/renderer_standard.ini'. Using default values "
        "instead.",
        "GLFW was initialized.",
    };
    EXPECT_EQ(Lines(game.lines().begin(), game.lines().begin() + 5), expected);
    EXPECT_EQ(windowGeometry("QUORLAND"), "  Geometry: 1280x768");
}

TEST_F(StartupTest, SettingsPathsFromTheCommandLineAreNamedAsGiven) {
    sandbox_.writeAsset("assets/settings/window.ini",
                        "[Window]\nWIDTH = 0x320\nheight=450\ntitle=Q2\n");
    ChildProcess game = startGame({"--init_camera", "nowhere/camera.ini", "--init_renderer",
                                   "assets/settings/renderer_standard.ini"});
    ASSERT_TRUE(game.waitForLine("Framework was initialized.", 30s));
    EXPECT_EQ(game.lines().at(1),
              "ERROR: Failed to load 'nowhere/camera.ini'. Using default values instead.");
    EXPECT_EQ(game.lines().at(2), "GLFW was initialized.");
    EXPECT_EQ(windowGeometry("Q2"), "  Geometry: 800x450");
}

TEST_F(StartupTest, ZeroWidthFailsWindowCreationAfterGlfwReportsIt) {
    sandbox_.writeAsset("assets/settings/window.ini", "[window]\nwidth = 0\n");
    ChildProcess game = startGame();
    EXPECT_EQ(game.waitForExit(30s), 1);
    ASSERT_EQ(game.lines().size(), 4u);
    EXPECT_EQ(game.lines()[1], "GLFW was initialized.");
    EXPECT_EQ(game.lines()[2].rfind("GLFW error 65540: ", 0), 0u) << game.lines()[2];
    EXPECT_EQ(game.lines()[3], "ERROR: Failed to create window");
}

TEST_F(StartupTest, HelpPrintsUsageAndExitsBeforeAnyWindow) {
    ChildProcess game = startGame({"--help"});
    EXPECT_EQ(game.waitForExit(30s), 0);
    ASSERT_GE(game.lines().size(), 3u);
    EXPECT_EQ(game.lines()[0], kBanner);
    EXPECT_EQ(game.lines()[1], "Usage: quorland [options]");
    for (const std::string& line : game.lines()) {
        EXPECT_NE(line, "GLFW was initialized.");
    }
}

TEST_F(StartupTest, VersionIsTheOnlyLineAndComesBeforeAnyWindow) {
    ChildProcess game = startGame({"--run_headless", "--version"});
    EXPECT_EQ(game.waitForExit(30s), 0);
    EXPECT_EQ(game.lines(), (Lines{"quorland 1.0.0"}));
}

}  // namespace

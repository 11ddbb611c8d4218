// The Debian package as a player gets it: the files it holds, the libraries
// it depends on, what lintian and appstreamcli say about it, and the game in
// it unpacked into a scratch root (dpkg-deb -x, nothing installed on the
// machine) and run headless from a working folder elsewhere, both directly
// and through the /usr/games link the menu entry's command resolves to.
// The package is built once, by the CTest fixture "package_build".
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>

#include "support/child_process.h"
#include "support/scratch_folder.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kDeb = QUORLAND_DEB_FILE;

// Every file and link of the package (folders left out), as dpkg lists them.
const Lines kPackageFiles{
    "usr/games/quorland -> ../lib/games/quorland/quorland",
    "usr/lib/games/quorland/assets -> ../../../share/games/quorland/assets",
    "usr/lib/games/quorland/quorland",
    "usr/share/applications/org.quorland.quorland.desktop",
    "usr/share/doc/quorland/changelog.gz",
    "usr/share/doc/quorland/copyright",
    "usr/share/games/quorland/assets/settings/camera_front_up.ini",
    "usr/share/games/quorland/assets/settings/renderer_standard.ini",
    "usr/share/games/quorland/assets/settings/window.ini",
    "usr/share/games/quorland/assets/shaders/basicColor.frag",
    "usr/share/games/quorland/assets/shaders/basicColor.vert",
    "usr/share/games/quorland/assets/shaders/basicTexture.frag",
    "usr/share/games/quorland/assets/shaders/basicTexture.vert",
    "usr/share/games/quorland/assets/shaders/river.frag",
    "usr/share/games/quorland/assets/shaders/river.vert",
    "usr/share/games/quorland/assets/shaders/score.frag",
    "usr/share/games/quorland/assets/shaders/score.vert",
    "usr/share/games/quorland/assets/textures/tiles_diffuse.dds",
    "usr/share/games/quorland/assets/textures/wood_texture.dds",
    "usr/share/icons/hicolor/128x128/apps/quorland.png",
    "usr/share/icons/hicolor/16x16/apps/quorland.png",
    "usr/share/icons/hicolor/24x24/apps/quorland.png",
    "usr/share/icons/hicolor/256x256/apps/quorland.png",
    "usr/share/icons/hicolor/32x32/apps/quorland.png",
    "usr/share/icons/hicolor/48x48/apps/quorland.png",
    "usr/share/icons/hicolor/64x64/apps/quorland.png",
    "usr/share/man/man6/quorland.6.gz",
    "usr/share/metainfo/org.quorland.quorland.metainfo.xml",
};

// The output lines of a short command, and whether it exited with 0.
struct CommandResult {
    bool ok = false;
    Lines lines;
};

CommandResult run(const std::vector<std::string>& argv, const std::string& display = "",
                  const std::string& workingDirectory = "") {
    ChildProcess process(argv, workingDirectory, display);
    const std::optional<int> code = process.waitForExit(120s);
    return {code == 0, process.lines()};
}

class PackageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(kDeb)) << kDeb << " missing: run scripts/package.sh";
    }

    // Unpacks the package into the scratch root; returns the root.
    const std::filesystem::path& unpack() {
        EXPECT_TRUE(run({"dpkg-deb", "-x", kDeb, root_.path().string()}).ok);
        return root_.path();
    }

    // Runs `launcher` headless from a working folder outside the package
    // and the source tree: one click, one screenshot, exit code 0.
    void playHeadless(const std::filesystem::path& launcher) {
        ASSERT_TRUE(display_.ok()) << "Xvfb did not start";
        ChildProcess game({launcher.string(), "--run_headless"}, work_.path().string(),
                          display_.name());
        ASSERT_EQ(
            runCommand({"xdotool", "search", "--sync", "--onlyvisible", "--name", "^QUORLAND$"},
                       display_.name(), 60s),
            0)
            << "no window; output: " << ::testing::PrintToString(game.lines());
        ASSERT_TRUE(game.waitForLine("Read shader: assets/shaders/basicColor.frag", 60s));
        runCommand({"xdotool", "mousemove", "200", "200"}, display_.name());
        runCommand({"xdotool", "click", "1"}, display_.name());
        ASSERT_EQ(game.waitForExit(120s), 0);
        const Lines& lines = game.lines();
        ASSERT_GE(lines.size(), 12u);
        EXPECT_EQ(Lines(lines.begin(), lines.begin() + 5),
                  (Lines{":::::: WELCOME TO QUORLAND ::::::", "GLFW was initialized.",
                         "GLEW was initialized.", "Framework was initialized.",
                         "Read shader: assets/shaders/score.vert"}));
        for (const std::string& line : lines) {
            EXPECT_EQ(line.find("ERROR"), std::string::npos) << line;
        }
        const std::string shot = readWholeFile(work_.file("screenshot.ppm"));
        EXPECT_EQ(shot.rfind("P3\n1280 768\n255\n", 0), 0u) << shot.substr(0, 40);
    }

    ScratchFolder root_ = ScratchFolder::inTemp();
    ScratchFolder work_ = ScratchFolder::inTemp();
    VirtualDisplay display_;
};

TEST_F(PackageTest, HoldsTheGameItsDataAndTheDesktopFilesAndNothingElse) {
    const CommandResult listing = run({"dpkg-deb", "--contents", kDeb});
    ASSERT_TRUE(listing.ok);
    Lines files;
    for (const std::string& line : listing.lines) {
        const std::size_t name = line.find(" ./");
        if (line.front() != 'd' && name != std::string::npos) {
            files.push_back(line.substr(name + 3));
        }
    }
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, kPackageFiles);

    const std::string desktop =
        readWholeFile((unpack() / "usr/share/applications/org.quorland.quorland.desktop").string());
    EXPECT_NE(desktop.find("\nExec=quorland\n"), std::string::npos);
    EXPECT_NE(desktop.find("\nCategories=Game;ArcadeGame;\n"), std::string::npos);
}

TEST_F(PackageTest, DependsOnExactlyTheLibrariesTheGameLinks) {
    const CommandResult depends = run({"dpkg-deb", "--field", kDeb, "Depends"});
    ASSERT_TRUE(depends.ok);
    ASSERT_EQ(depends.lines.size(), 1u);
    std::set<std::string> names;
    std::istringstream fields(depends.lines.front());
    for (std::string field; std::getline(fields, field, ',');) {
        std::istringstream words(field);
        std::string name;
        words >> name;
        names.insert(name);
    }
    EXPECT_EQ(names,
              (std::set<std::string>{"libc6", "libgcc-s1", "libglew2.2", "libglfw3", "libglx0",
                                     "libinireader0", "libopenal1", "libopengl0", "libstdc++6"}))
        << depends.lines.front();
}

TEST_F(PackageTest, LintianFindsNoErrorsOrWarnings) {
    const CommandResult lintian = run({"lintian", "--fail-on", "error,warning", kDeb});
    EXPECT_TRUE(lintian.ok) << ::testing::PrintToString(lintian.lines);
    for (const std::string& line : lintian.lines) {
        EXPECT_NE(line.rfind("E: ", 0), 0u) << line;
        EXPECT_NE(line.rfind("W: ", 0), 0u) << line;
    }
}

TEST_F(PackageTest, MetainfoIsValidForSoftwareCentres) {
    const std::filesystem::path metainfo =
        unpack() / "usr/share/metainfo/org.quorland.quorland.metainfo.xml";
    const CommandResult validation =
        run({"appstreamcli", "validate", "--no-net", metainfo.string()});
    EXPECT_TRUE(validation.ok) << ::testing::PrintToString(validation.lines);
}

TEST_F(PackageTest, InstalledGameFindsItsDataFromAnyWorkingFolder) {
    const std::filesystem::path game = unpack() / "usr/lib/games/quorland/quorland";
    EXPECT_EQ(run({game.string(), "--version"}).lines, (Lines{"quorland 1.0.0"}));
    playHeadless(game);
}

TEST_F(PackageTest, TheUsrGamesLinkStartsTheSameGame) {
    playHeadless(unpack() / "usr/games/quorland");
}

}  // namespace

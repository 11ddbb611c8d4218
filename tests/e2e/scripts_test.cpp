// The developer scripts of scripts/ end the way their work did: each runs
// from a copy of the project tree (the built game, its assets, the scripts)
// on a private X server, with a failing stand-in for ImageMagick's convert
// first on the PATH, as on a machine where another package owns that name.
// Nothing is built here: the scripts run against the binary under test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "support/child_process.h"
#include "support/game_sandbox.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const std::string kPngSignature = "\x89PNG\r\n\x1a\n";

bool contains(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class ScriptsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The sanitized game needs the preloads that only the tests' own
        // game processes are given; these scripts start the game themselves.
        if (std::getenv("QUORLAND_GAME_PRELOAD") != nullptr) {
            GTEST_SKIP() << "scripts are not run against the sanitized game";
        }
        ASSERT_TRUE(display_.ok()) << "Xvfb did not start";
        fs::copy(fs::path(QUORLAND_SOURCE_DIR) / "scripts", sandbox_.root() / "scripts",
                 fs::copy_options::recursive);
        sandbox_.writeAsset("stand-ins/convert",
                            "#!/bin/sh\necho 'convert: a stand-in, not ImageMagick' >&2\nexit 1\n");
        fs::permissions(sandbox_.root() / "stand-ins/convert", fs::perms::owner_exec,
                        fs::perm_options::add);
    }

    // Starts scripts/`script` of the copy with the stand-in first on the PATH.
    std::unique_ptr<ChildProcess> run(const std::string& script,
                                      const std::vector<std::string>& arguments = {}) {
        const char* path = std::getenv("PATH");
        std::vector<std::string> argv{
            "env", "PATH=" + (sandbox_.root() / "stand-ins").string() + ":" + (path ? path : ""),
            "bash", (sandbox_.root() / "scripts" / script).string()};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return std::make_unique<ChildProcess>(argv, sandbox_.workingDirectory(), display_.name());
    }

    std::string built(const std::string& name) const {
        return (sandbox_.root() / "build" / name).string();
    }

    VirtualDisplay display_;
    GameSandbox sandbox_;
};

// The PNG copy comes from ImageMagick itself, whatever `convert` the PATH
// finds first; the file is the one the game was named to write.
TEST_F(ScriptsTest, HeadlessShotCopiesTheGamesFileToPngWhateverConvertComesFirst) {
    std::unique_ptr<ChildProcess> script =
        run("headless-shot.sh", {"--seed", "7", "--filename", "shot"});
    ASSERT_EQ(script->waitForExit(120s), 0);
    ASSERT_FALSE(script->lines().empty());
    EXPECT_EQ(readWholeFile(built("shot.ppm")).rfind("P3\n1280 768\n255\n", 0), 0u);
    if (!fs::exists("/usr/bin/convert-im6.q16") && !fs::exists("/usr/bin/convert")) {
        EXPECT_EQ(script->lines().back(),
                  "Wrote " + built("shot.ppm") + " (no PNG copy: ImageMagick is not installed)");
        return;
    }
    EXPECT_EQ(script->lines().back(), "Wrote " + built("shot.ppm") + " and " + built("shot.png"));
    EXPECT_EQ(readWholeFile(built("shot.png")).substr(0, 8), kPngSignature);
}

// A copy that cannot be made costs one line and no failure.
TEST_F(ScriptsTest, APngCopyThatCannotBeMadeIsOneLine) {
    const std::string missing = built("missing.ppm");
    ChildProcess copy({"bash", "-c",
                       ". '" + (sandbox_.root() / "scripts/lib/common.sh").string() +
                           "' && write_png_copy '" + missing + "' out.png; echo \"status $?\""},
                      sandbox_.workingDirectory(), "");
    EXPECT_EQ(copy.waitForExit(30s), 0);
    const std::string reason =
        fs::exists("/usr/bin/convert-im6.q16") || fs::exists("/usr/bin/convert")
            ? "ImageMagick's convert could not read " + missing + " or write out.png"
            : "ImageMagick is not installed";
    EXPECT_EQ(copy.lines(), (Lines{reason, "status 1"}));
}

TEST_F(ScriptsTest, MakeTexturesUsesImageMagickWhateverConvertComesFirst) {
    if (!fs::exists("/usr/bin/convert-im6.q16") && !fs::exists("/usr/bin/convert")) {
        GTEST_SKIP() << "ImageMagick is not installed";
    }
    const std::vector<std::string> textures{"wood_texture.dds", "tiles_diffuse.dds"};
    for (const std::string& texture : textures) {
        sandbox_.removeAsset("assets/textures/" + texture);
    }
    std::unique_ptr<ChildProcess> script = run("make-textures.sh");
    ASSERT_EQ(script->waitForExit(120s), 0);
    for (const std::string& texture : textures) {
        SCOPED_TRACE(texture);
        const std::string made =
            readWholeFile((sandbox_.root() / "assets/textures" / texture).string());
        EXPECT_EQ(made.substr(0, 4), "DDS ");
        EXPECT_EQ(made.size(),
                  fs::file_size(fs::path(QUORLAND_SOURCE_DIR) / "assets/textures" / texture));
    }
}

// A game that fails before its window opens (a width of 0 cannot be
// created) ends every script that waits for the window at once, with the
// game's own message and, where the script passes it on, its exit code.
struct EarlyFailure {
    const char* script;
    std::vector<std::string> arguments;
    bool showsGameLine;  // the game's own failure line reaches the script's output
};

class ScriptsEarlyFailureTest : public ScriptsTest,
                                public ::testing::WithParamInterface<EarlyFailure> {};

TEST_P(ScriptsEarlyFailureTest, EndsAtOnceSayingTheGameEndedBeforeItsWindow) {
    sandbox_.writeAsset("assets/settings/window.ini", "[window]\nwidth = 0\n");
    const EarlyFailure& c = GetParam();
    std::unique_ptr<ChildProcess> script = run(c.script, c.arguments);
    // Far less than any of the scripts' waits for a window.
    EXPECT_EQ(script->waitForExit(20s), 1);
    EXPECT_TRUE(contains(script->lines(),
                         std::string(c.script) + ": the game ended before its window appeared"));
    if (c.showsGameLine) {
        EXPECT_TRUE(contains(script->lines(), "ERROR: Failed to create window"))
            << ::testing::PrintToString(script->lines());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, ScriptsEarlyFailureTest,
    ::testing::Values(EarlyFailure{"headless-shot.sh", {}, true},
                      EarlyFailure{"make-icon.sh", {}, true}, EarlyFailure{"soak.sh", {"5"}, true},
                      EarlyFailure{"measure-startup.sh", {"1"}, true},
                      // memcheck sets its own window size: a game that fails at once.
                      EarlyFailure{"memcheck.sh", {"/bin/false"}, false}),
    [](const ::testing::TestParamInfo<EarlyFailure>& failure) {
        std::string name = failure.param.script;
        name = name.substr(0, name.find('.'));
        name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
        return name;
    });

}  // namespace

// The referee's verdict line: its tables (versions to rules, the shipped
// settings) against the real settings files, and the exact JSON.
#include "app/run_verdict.h"

#include <gtest/gtest.h>

#include "app/startup_settings.h"

namespace {

ReplayHeader headerWith(const StartupSettings& settings) {
    return ReplayHeader{"1.0", 7, settings.window, settings.camera, settings.renderer, {}};
}

TEST(RunVerdict, TheShippedSettingsAreTheFilesTheGameReadsAtAnyWindowSize) {
    testing::internal::CaptureStdout();
    StartupSettings shipped = readStartupSettings(CommandLineOptions{});
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(usesShippedSettings(headerWith(shipped)));
    shipped.window.width = 390;
    shipped.window.height = 640;
    EXPECT_TRUE(usesShippedSettings(headerWith(shipped)));
    StartupSettings wider = shipped;
    wider.camera.fov = 90.0f;
    EXPECT_FALSE(usesShippedSettings(headerWith(wider)));
    StartupSettings culled = shipped;
    culled.renderer.backfaceCulling = true;
    EXPECT_FALSE(usesShippedSettings(headerWith(culled)));
    EXPECT_FALSE(usesShippedSettings(headerWith(StartupSettings{})));  // the defaults are not
}

TEST(RunVerdict, EveryVersionSoFarPlaysByTheFirstRules) {
    EXPECT_EQ(rulesOfVersion("1.0"), 1);
    EXPECT_EQ(rulesOfVersion("1.0.0"), 1);
    EXPECT_EQ(rulesOfVersion("2.0"), std::nullopt);
    EXPECT_EQ(rulesOfVersion(""), std::nullopt);
}

TEST(RunVerdict, TheLineIsOneJsonObjectInAFixedOrder) {
    Replay replay;
    replay.header.gameVersion = "0.9";
    replay.header.seed = 4294967295u;
    replay.frames.resize(3);
    replay.frames[1].gameFrame = true;
    replay.frames[1].deltaTime = 0.25f;
    replay.frames[2].gameFrame = true;
    replay.frames[2].deltaTime = 0.5f;
    RunVerdict verdict = verdictOfFile(replay);
    verdict.inStep = false;
    verdict.games = {{3, GameOutcome::Carried}, {0, GameOutcome::Unfinished}};
    verdict.best = 3;
    EXPECT_EQ(verdictJson(verdict),
              R"({"seed":4294967295,"frames":3,"finished":false,"in_step":false,)"
              R"("seconds":0.75,"longest_frame":0.5,"games":[{"score":3,"outcome":"carried"},)"
              R"({"score":0,"outcome":"unfinished"}],"best":3,"debug":false,)"
              R"("standard_settings":false,"format":1,"recorded_by":"0.9","rules":null,)"
              R"("version":"1.0.0"})");
}

}  // namespace
